// Text decoding for files from outside: data files may be UTF-8 or Windows-1251; the program holds UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

bool Is_Valid_Utf8(std::string_view bytes);
std::string Cp1251_To_Utf8(std::string_view bytes);
// Valid UTF-8 is kept as it is (a leading byte-order mark is dropped); anything else is read as
// Windows-1251 and converted.
std::string Decode_Data_Text(std::string_view bytes);
// The same on a buffer of its own: valid UTF-8 stays where it is, without a copy.
void Decode_Data_Text_In_Place(std::string& text);
// Number of characters (code points) of a UTF-8 text; a stray byte counts as one character.
size_t Utf8_Length(std::string_view text);
// The code point of the UTF-8 sequence at pos (pos < text.size()), moving pos past it. A byte that does not
// start a well-formed sequence gives U+FFFD and is skipped alone, so the bytes after it are read afresh.
char32_t Next_Utf8_Code_Point(std::string_view text, size_t& pos);
// Appends the UTF-8 encoding of one code point.
void Append_Utf8(std::string& out, char32_t code_point);
// Alphabetical order of two UTF-8 texts without regard to letter case: Latin A-Z, Cyrillic А-Я and Ё fold
// to lower case, and ё sorts right after е as in the alphabet; everything else by code point. Negative when
// a comes first, 0 when they are equal so, positive when b comes first.
int Compare_Text_No_Case(std::string_view a, std::string_view b);
