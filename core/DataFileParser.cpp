#include "core/DataFileParser.h"

#include "core/TextCodec.h"
#include "platform/PathLayer.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace {

bool Contains(const std::string& line, const char* marker) {
    return line.find(marker) != std::string::npos;
}

char Ascii_Upper_Char(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Ascii_Lower_Char(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int Hex_Digit_Value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::vector<std::string> Split_Data_Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            // The last line has no line end of its own.
            lines.push_back(text.substr(start));
            break;
        }
        size_t length = end - start;
        if (length > 0 && text[end - 1] == '\r') --length;
        lines.push_back(text.substr(start, length));
        start = end + 1;
    }
    return lines;
}

std::string Trim_Data(const std::string& text) {
    // Compared as unsigned bytes: the bytes of a UTF-8 sequence are 0x80 or above and must stay.
    auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && is_blank(text[first])) ++first;
    while (last > first && is_blank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string Ascii_Upper(std::string text) {
    for (char& c : text) c = Ascii_Upper_Char(c);
    return text;
}

std::string Ascii_Lower(std::string text) {
    for (char& c : text) c = Ascii_Lower_Char(c);
    return text;
}

std::string Trimmed_Lower(const std::string& text) {
    return Ascii_Lower(Trim_Data(text));
}

bool Names_Something(const std::string& text) {
    const std::string name = Trimmed_Lower(text);
    return !name.empty() && name != "none";
}

bool Ascii_Equal_No_Case(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && Ascii_Lower_Char(a[i]) != Ascii_Lower_Char(b[i])) return false;
    return true;
}

const TData_Field* Find_Field(const std::vector<TData_Field>& fields, const std::string& name) {
    for (const TData_Field& field : fields)
        if (Ascii_Equal_No_Case(field.Name, name)) return &field;
    return nullptr;
}

TData_File_Parser::TData_File_Parser(const std::string& file_name, TString_List& error_list)
    : Error_List_(error_list) {
    std::string bytes;
    if (!plat::Read_File(file_name, bytes))
        throw EData_File_Error("cannot read data file \"" + file_name + "\"");
    Lines_ = Split_Data_Lines(Decode_Data_Text(bytes));
    Find_Begin();
}

TData_File_Parser::TData_File_Parser(std::string_view bytes, TString_List& error_list)
    : Error_List_(error_list) {
    Lines_ = Split_Data_Lines(Decode_Data_Text(bytes));
    Find_Begin();
}

bool TData_File_Parser::Next_Raw_Line(std::string& line) {
    // Past the last line the reader gives empty lines, so a file that ends early (even inside the two
    // lines skipped after "*BEGIN*") reaches the end test instead of reading on forever.
    if (!Has_Further_Line()) {
        line.clear();
        return false;
    }
    // Each line is read once, so it is moved out rather than copied.
    line = std::move(Lines_[Next_Line_++]);
    return true;
}

bool TData_File_Parser::Ends_Data(const std::string& line) const {
    return Contains(line, "*END*") || !Has_Further_Line();
}

void TData_File_Parser::Find_Begin() {
    // Header lines are only tested, never split into fields, so nothing from the header can be
    // offered again as a field at the end of data.
    bool found = false;
    std::string line;
    for (;;) {
        Next_Raw_Line(line);
        if (Ends_Data(line)) {
            End_ = true;
            break;
        }
        if (Contains(line, "*BEGIN*")) {
            found = true;
            break;
        }
    }
    if (found) {
        // The two lines after "*BEGIN*" are dropped whatever they hold, even fields: the file layout
        // reserves them.
        Next_Raw_Line(line);
        Next_Raw_Line(line);
    } else {
        Error_List_.push_back("Cannot find *BEGIN*");
    }
}

void TData_File_Parser::Read_Line() {
    std::string line;
    Next_Raw_Line(line);
    // The last line of a file is never parsed, "*END*" or not: a file without "*END*" loses its last
    // line, as it always has, and files are written with that in mind. The field name and value keep
    // what the previous line gave.
    if (Ends_Data(line)) {
        End_ = true;
        return;
    }
    const size_t assign = line.find(":=");
    if (assign != std::string::npos) {
        Field_Name_ = Trim_Data(line.substr(0, assign));
        Field_Value_ = Trim_Data(line.substr(assign + 2));
    } else {
        Field_Name_ = Contains(line, "//") ? "//" : "";
        Field_Value_.clear();
    }
}

bool TData_File_Parser::Read_Record(std::vector<TData_Field>& fields) {
    fields.clear();
    if (End_) return false;
    for (;;) {
        Read_Line();
        // At the end of data the previous field is offered again; it is either already in the record
        // (and ignored as a duplicate) or empty (and never stored).
        if (!Field_Name_.empty() && !Find_Field(fields, Field_Name_))
            fields.push_back({Field_Name_, Field_Value_});
        if (Field_Name_.empty() || End_) break;
    }
    return !fields.empty();
}

bool Parse_Data_Integer(const std::string& text, int64_t& value) {
    size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (pos < text.size() && text[pos] == '$') {
        base = 16;
        ++pos;
    }
    if (pos == text.size()) return false;
    // The magnitude may reach 2^63 for a negative number.
    const uint64_t limit = negative ? uint64_t{1} << 63 : uint64_t{std::numeric_limits<int64_t>::max()};
    uint64_t magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = base == 16 ? Hex_Digit_Value(text[pos])
                                     : (text[pos] >= '0' && text[pos] <= '9' ? text[pos] - '0' : -1);
        if (digit < 0) return false;
        if (magnitude > (limit - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) return false;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool Str_To_Bool(const std::string& text) {
    const std::string upper = Ascii_Upper(text);
    return upper == "TRUE" || upper == "YES";
}

uint16_t Str_To_Word(const std::string& text) {
    int64_t value = 0;
    if (!Parse_Data_Integer(text, value) || value < 0 || value > 65535) return 0;
    return static_cast<uint16_t>(value);
}

uint8_t Str_To_Byte(const std::string& text) {
    int64_t value = 0;
    if (!Parse_Data_Integer(text, value) || value < 0 || value > 255) return 0;
    return static_cast<uint8_t>(value);
}

int32_t Str_To_Longint(const std::string& text) {
    // -2147483648 itself is refused, as the data files have always had it.
    int64_t value = 0;
    if (!Parse_Data_Integer(text, value) || value < -2147483647 || value > 2147483647) return 0;
    return static_cast<int32_t>(value);
}

double Str_To_Real(const std::string& text) {
    // Data files write reals with "." on every machine, so the locale's separator must never take
    // part: std::from_chars ignores it (strtod and streams do not).
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-') return 0.0; // "+-1" is not a number
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last || !std::isfinite(value)) return 0.0;
    return value;
}
