#include "core/DataFileParser.h"

#include "core/TextCodec.h"
#include "platform/PathLayer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

bool Contains(std::string_view line, std::string_view marker) {
    return line.find(marker) != std::string_view::npos;
}

char Ascii_Upper_Char(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Ascii_Lower_Char(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// FNV-1a over the name folded to ASCII lower case: names that differ only in case hash alike.
uint32_t Folded_Hash(std::string_view name) {
    uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(Ascii_Lower_Char(c));
        hash *= 16777619u;
    }
    return hash;
}

int Hex_Digit_Value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::string_view Next_Data_Line(std::string_view text, size_t& pos) {
    const char* start = text.data() + pos;
    const size_t rest = text.size() - pos;
    const void* found = std::memchr(start, '\n', rest);
    if (!found) {
        // The last line has no line end of its own.
        pos = text.size();
        return std::string_view(start, rest);
    }
    size_t length = static_cast<size_t>(static_cast<const char*>(found) - start);
    pos += length + 1;
    if (length > 0 && start[length - 1] == '\r') --length;
    return std::string_view(start, length);
}

std::vector<std::string> Split_Data_Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < text.size();) lines.emplace_back(Next_Data_Line(text, pos));
    return lines;
}

std::string_view Trim_Data_View(std::string_view text) {
    // Compared as unsigned bytes: the bytes of a UTF-8 sequence are 0x80 or above and must stay.
    auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && is_blank(text[first])) ++first;
    while (last > first && is_blank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string Trim_Data(const std::string& text) {
    return std::string(Trim_Data_View(text));
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

bool Ascii_Equal_No_Case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && Ascii_Lower_Char(a[i]) != Ascii_Lower_Char(b[i])) return false;
    return true;
}

void TData_Record::Clear() {
    Fields_.clear();
    Hashes_.clear();
    std::fill(Slots_.begin(), Slots_.end(), 0u);
}

size_t TData_Record::Find_Index(std::string_view name, uint32_t hash) const {
    if (Slots_.empty()) return Fields_.size();
    const size_t mask = Slots_.size() - 1;
    for (size_t slot = hash & mask; Slots_[slot] != 0; slot = (slot + 1) & mask) {
        const size_t index = Slots_[slot] - 1;
        if (Hashes_[index] == hash && Ascii_Equal_No_Case(Fields_[index].Name, name)) return index;
    }
    return Fields_.size();
}

void TData_Record::Grow_Slots() {
    // Rebuilt from the hashes kept per field; the table stays at most half full so a probe ends soon.
    Slots_.assign(Slots_.empty() ? 64 : Slots_.size() * 2, 0u);
    const size_t mask = Slots_.size() - 1;
    for (size_t index = 0; index < Hashes_.size(); ++index) {
        size_t slot = Hashes_[index] & mask;
        while (Slots_[slot] != 0) slot = (slot + 1) & mask;
        Slots_[slot] = static_cast<uint32_t>(index + 1);
    }
}

bool TData_Record::Add(std::string_view name, std::string_view value) {
    const uint32_t hash = Folded_Hash(name);
    if (Find_Index(name, hash) != Fields_.size()) return false;
    TData_Field& field = Fields_.emplace_back();
    field.Name.assign(name.data(), name.size());
    field.Value.assign(value.data(), value.size());
    Hashes_.push_back(hash);
    if (Fields_.size() * 2 > Slots_.size()) {
        Grow_Slots(); // places the new field too
    } else {
        const size_t mask = Slots_.size() - 1;
        size_t slot = hash & mask;
        while (Slots_[slot] != 0) slot = (slot + 1) & mask;
        Slots_[slot] = static_cast<uint32_t>(Fields_.size());
    }
    return true;
}

const TData_Field* TData_Record::Find(std::string_view name) const {
    const size_t index = Find_Index(name, Folded_Hash(name));
    return index < Fields_.size() ? &Fields_[index] : nullptr;
}

TData_File_Parser::TData_File_Parser(const std::string& file_name, TString_List& error_list)
    : Error_List_(error_list) {
    std::string bytes;
    if (!plat::Read_File(file_name, bytes))
        throw EData_File_Error("cannot read data file \"" + file_name + "\"");
    // The one copy of the file the reader keeps; every line and field is a view into it.
    Text_ = std::move(bytes);
    Decode_Data_Text_In_Place(Text_);
    Find_Begin();
}

TData_File_Parser::TData_File_Parser(std::string_view bytes, TString_List& error_list)
    : Error_List_(error_list), Text_(bytes) {
    Decode_Data_Text_In_Place(Text_);
    Find_Begin();
}

bool TData_File_Parser::Ends_Data(std::string_view line) const {
    return Contains(line, "*END*") || !Has_Further_Line();
}

void TData_File_Parser::Find_Begin() {
    // Header lines are only tested, never split into fields, so nothing from the header can be
    // offered again as a field at the end of data. Past the last line the reader sees empty lines, so a
    // file that ends early (even inside the two lines skipped after "*BEGIN*") reaches the end test
    // instead of reading on forever.
    bool found = false;
    for (;;) {
        const std::string_view line =
            Has_Further_Line() ? Next_Data_Line(Text_, Next_Line_) : std::string_view();
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
        for (int skipped = 0; skipped < 2 && Has_Further_Line(); ++skipped) Next_Data_Line(Text_, Next_Line_);
    } else {
        Error_List_.push_back("Cannot find *BEGIN*");
    }
}

void TData_File_Parser::Read_Line() {
    const std::string_view line = Has_Further_Line() ? Next_Data_Line(Text_, Next_Line_) : std::string_view();
    // The last line of a file is never parsed, "*END*" or not: a file without "*END*" loses its last
    // line, as it always has, and files are written with that in mind. The field name and value keep
    // what the previous line gave.
    if (Ends_Data(line)) {
        End_ = true;
        return;
    }
    const size_t assign = line.find(":=");
    if (assign != std::string_view::npos) {
        Field_Name_ = Trim_Data_View(line.substr(0, assign));
        Field_Value_ = Trim_Data_View(line.substr(assign + 2));
    } else {
        Field_Name_ = Contains(line, "//") ? std::string_view("//") : std::string_view();
        Field_Value_ = std::string_view();
    }
}

bool TData_File_Parser::Read_Record(TData_Record& record) {
    record.Clear();
    if (End_) return false;
    for (;;) {
        Read_Line();
        // At the end of data the previous field is offered again; it is either already in the record
        // (and ignored as a duplicate) or empty (and never stored).
        if (!Field_Name_.empty()) record.Add(Field_Name_, Field_Value_);
        if (Field_Name_.empty() || End_) break;
    }
    return !record.Empty();
}

bool TData_File_Parser::Read_Record(std::vector<TData_Field>& fields) {
    const bool has_fields = Read_Record(Scratch_);
    fields = Scratch_.Fields();
    return has_fields;
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
