#include "core/TextCodec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(TextCodecTest, Utf8ValidationRejectsEveryMalformedForm) {
    struct Case {
        const char* label;
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"ascii", "Long Sword := 12", true},
        {"cyrillic", "Меч", true},
        {"lowest two-byte", "\xC2\x80", true},
        {"lowest three-byte", "\xE0\xA0\x80", true},
        {"last before surrogates", "\xED\x9F\xBF", true},
        {"first after surrogates", "\xEE\x80\x80", true},
        {"lowest four-byte", "\xF0\x90\x80\x80", true},
        {"U+10FFFF", "\xF4\x8F\xBF\xBF", true},
        {"overlong two-byte C0", "\xC0\x80", false},
        {"overlong two-byte C1", "\xC1\xBF", false},
        {"overlong three-byte", "\xE0\x9F\xBF", false},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", false},
        {"surrogate D800", "\xED\xA0\x80", false},
        {"surrogate DFFF", "\xED\xBF\xBF", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
        {"lead F5", "\xF5\x80\x80\x80", false},
        {"byte FF", "\xFF", false},
        {"stray continuation", "a\x80", false},
        {"truncated at end", "ok\xE2\x82", false},
        {"lead followed by ascii",
         "\xD0"
         "A",
         false},
        {"cp1251 word", "\xCC\xE5\xF7", false},
    };
    for (const Case& c : cases) EXPECT_EQ(Is_Valid_Utf8(c.bytes), c.valid) << c.label;
}

TEST(TextCodecTest, Cp1251ConvertsKnownCharacters) {
    struct Case {
        unsigned char byte;
        const char* utf8;
    };
    const Case cases[] = {
        {0x41, "A"},        {0x80, "Ђ"}, {0x88, "€"}, {0x96, "–"}, {0x98, "\xEF\xBF\xBD"},
        {0xA0, "\xC2\xA0"}, {0xA8, "Ё"}, {0xAB, "«"}, {0xB8, "ё"}, {0xB9, "№"},
        {0xBF, "ї"},        {0xC0, "А"}, {0xDF, "Я"}, {0xE0, "а"}, {0xFF, "я"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Cp1251_To_Utf8(std::string(1, static_cast<char>(c.byte))), c.utf8) << int(c.byte);
    EXPECT_EQ(Cp1251_To_Utf8("\xCC\xE5\xF7 := 5\r\n"), "Меч := 5\r\n");
}

TEST(TextCodecTest, Cp1251HighHalfGivesDistinctSingleCharacters) {
    // A slip in the table (a duplicate entry, a broken code point) shows up here without restating it.
    std::set<std::string> seen;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const std::string utf8 = Cp1251_To_Utf8(std::string(1, static_cast<char>(byte)));
        EXPECT_TRUE(Is_Valid_Utf8(utf8)) << byte;
        EXPECT_EQ(Utf8_Length(utf8), 1u) << byte;
        EXPECT_GE(utf8.size(), 2u) << byte;
        EXPECT_TRUE(seen.insert(utf8).second) << "duplicate for " << byte;
    }
}

TEST(TextCodecTest, DecodeKeepsUtf8AndConvertsEverythingElse) {
    EXPECT_EQ(Decode_Data_Text("*BEGIN*\r\n"), "*BEGIN*\r\n");
    EXPECT_EQ(Decode_Data_Text("Имя := Гоблин"), "Имя := Гоблин");
    EXPECT_EQ(Decode_Data_Text("\xEF\xBB\xBFName := Орк"), "Name := Орк");
    EXPECT_EQ(Decode_Data_Text("\xEF\xBB\xBF"), "");
    EXPECT_EQ(Decode_Data_Text("Name := \xCE\xF0\xEA"), "Name := Орк");
    // One invalid byte makes the whole file Windows-1251, UTF-8-looking parts included.
    EXPECT_EQ(Decode_Data_Text("\xD0\x90\xFF"), "Рђя");
}

TEST(TextCodecTest, Utf8LengthCountsCharactersAndStrayBytes) {
    EXPECT_EQ(Utf8_Length(""), 0u);
    EXPECT_EQ(Utf8_Length("Sword"), 5u);
    EXPECT_EQ(Utf8_Length("Привет"), 6u);
    EXPECT_EQ(Utf8_Length("€ and 😀"), 7u);
    EXPECT_EQ(Utf8_Length("\x80"), 1u);
    EXPECT_EQ(Utf8_Length("a\xFF"
                          "b"),
              3u);
    EXPECT_EQ(Utf8_Length("\xE2\x82"), 2u);
    EXPECT_EQ(Utf8_Length("\xC0\x80"), 2u);
}

TEST(TextCodecTest, AppendUtf8EncodesEachRangeBoundary) {
    struct Case {
        char32_t code_point;
        std::string bytes;
    };
    const Case cases[] = {
        {0x00, std::string(1, '\0')},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0xD800, "\xEF\xBF\xBD"},
        {0xDFFF, "\xEF\xBF\xBD"},
        {0x110000, "\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        std::string out = "x";
        Append_Utf8(out, c.code_point);
        EXPECT_EQ(out, "x" + c.bytes) << std::hex << static_cast<uint32_t>(c.code_point);
        EXPECT_TRUE(Is_Valid_Utf8(out));
    }
}

// The order of shop groups: case folds for Latin and Cyrillic, Ё sits between Е and Ж, and a text that
// is the start of another comes first.
TEST(TextCodecTest, CaseBlindCompareFoldsLatinAndCyrillic) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"Sword", "sWORD", 0}, {"abc", "ABD", -1}, {"Z", "a", 1},     {"БРОНЯ", "броня", 0},  {"АЯ", "ая", 0},
        {"Щит", "меч", 1},     {"Ёж", "ёж", 0},    {"Ель", "Ёж", -1}, {"ёж", "Жук", -1},      {"ё", "е", 1},
        {"Меч", "Мечи", -1},   {"мечи", "Меч", 1}, {"", "", 0},       {"zebra", "ангел", -1}, {"[", "a", -1},
        {"Ю", "я", -1},        {"ё", "ж", -1},
    };
    for (const Case& c : cases) {
        const int r = Compare_Text_No_Case(c.a, c.b);
        EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " / " << c.b;
    }
}

} // namespace
