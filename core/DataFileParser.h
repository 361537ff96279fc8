// Reader of the text data files every piece of content comes from: a header up to the line holding
// "*BEGIN*" and two more lines, then records of "name := value" lines, until "*END*" or the last line.
#pragma once

#include "core/SaveStream.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The data file cannot be opened or read.
class EData_File_Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One field of a record, in line order.
struct TData_Field {
    std::string Name;
    std::string Value;
};

// The fields of one record in line order, with an index of their names folded to lower case: a look-up
// hashes the asked name once and compares with the one or two fields in its slot, instead of comparing
// every field ignoring case.
class TData_Record {
public:
    void Clear();
    // Adds the field unless the record already has one of that name ignoring ASCII case: the first line
    // with a name wins. False when the field was a duplicate.
    bool Add(std::string_view name, std::string_view value);
    // The field whose name equals the name ignoring ASCII case; nullptr when there is none.
    const TData_Field* Find(std::string_view name) const;
    const std::vector<TData_Field>& Fields() const { return Fields_; }
    bool Empty() const { return Fields_.empty(); }

private:
    size_t Find_Index(std::string_view name, uint32_t hash) const; // Fields_.size() when missing
    void Grow_Slots();

    std::vector<TData_Field> Fields_;
    std::vector<uint32_t> Hashes_; // the folded name's hash of each field
    // Open addressing over the hashes: 0 is an empty slot, n a field's index + 1. Never more than half full.
    std::vector<uint32_t> Slots_;
};

class TData_File_Parser {
public:
    // Reads the whole file into one buffer (resolved case-insensitively when the exact path is missing;
    // UTF-8 or Windows-1251) and searches the header. Raises EData_File_Error when the file cannot be read.
    // Adds "Cannot find *BEGIN*" to the error list when the header has no such line.
    TData_File_Parser(const std::string& file_name, TString_List& error_list);
    // The same over the bytes of a file already in memory.
    TData_File_Parser(std::string_view bytes, TString_List& error_list);
    // The fields are views into the parser's own buffer: a copy or a move would leave them behind.
    TData_File_Parser(const TData_File_Parser&) = delete;
    TData_File_Parser& operator=(const TData_File_Parser&) = delete;

    // Reads the next record into the record (cleared first). Field names are unique within a record
    // ignoring ASCII case: the first line with a name wins. Returns true when the record has a field.
    bool Read_Record(TData_Record& record);
    // The same into a plain list of fields.
    bool Read_Record(std::vector<TData_Field>& fields);
    bool End() const { return End_; }

private:
    void Find_Begin();
    void Read_Line();
    bool Has_Further_Line() const { return Next_Line_ < Text_.size(); }
    // Whether the line just read ends the data: it holds "*END*" or is the file's last line.
    bool Ends_Data(std::string_view line) const;

    TString_List& Error_List_;
    std::string Text_;     // the whole file, as UTF-8
    size_t Next_Line_ = 0; // offset of the next line in Text_
    bool End_ = false;
    std::string_view Field_Name_; // views into Text_
    std::string_view Field_Value_;
    TData_Record Scratch_; // for the plain-list form of Read_Record
};

// The line of text that starts at pos, without its line end, moving pos past the line end: CR LF and LF
// both end a line. pos < text.size().
std::string_view Next_Data_Line(std::string_view text, size_t& pos);

// Splits a text into lines the way data files are read: CR LF and LF both end a line; the last line is the
// one after which no byte follows (a final line end adds no empty line).
std::vector<std::string> Split_Data_Lines(const std::string& text);

// Removes every character of code 32 or lower from both ends.
std::string Trim_Data(const std::string& text);
std::string_view Trim_Data_View(std::string_view text);

// ASCII-only case folding; other bytes (UTF-8 sequences) stand as they are.
std::string Ascii_Upper(std::string text);
std::string Ascii_Lower(std::string text);
bool Ascii_Equal_No_Case(std::string_view a, std::string_view b);
// The text trimmed and folded to lower case: the form names from data files are compared in.
std::string Trimmed_Lower(const std::string& text);
// Whether a name from a data file names something: not empty and not "none" (trimmed, any letter case).
bool Names_Something(const std::string& text);

// Conversions of field values. They never fail: unusable text gives 0 (or false).
// Integers: optional sign, then decimal digits or "$" and hexadecimal digits.
bool Str_To_Bool(const std::string& text);       // "TRUE" or "YES", ignoring ASCII case
uint16_t Str_To_Word(const std::string& text);   // 0..65535, else 0
uint8_t Str_To_Byte(const std::string& text);    // 0..255, else 0
int32_t Str_To_Longint(const std::string& text); // -2147483647..2147483647, else 0
double Str_To_Real(const std::string& text);     // "." whatever the locale; inf and nan give 0
inline const std::string& Str_To_Str(const std::string& text) {
    return text;
}
// The integer value of a text when it is an integer that fits 64 bits.
bool Parse_Data_Integer(const std::string& text, int64_t& value);
