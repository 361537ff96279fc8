#include "core/DataFileParser.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <clocale>
#include <cstdint>
#include <locale>
#include <string>
#include <utility>
#include <vector>

namespace {

using TRecord = std::vector<std::pair<std::string, std::string>>;

struct TParse_Result {
    std::vector<TRecord> records;
    TString_List errors;
};

// Reads every record the way the loader does: until the end of data or a record without fields.
TParse_Result Parse_Text(const std::string& text) {
    TTemp_Folder folder;
    const std::string path = folder.Write("Data/Test.txt", text);
    TParse_Result result;
    TData_File_Parser parser(path, result.errors);
    std::vector<TData_Field> fields;
    for (int guard = 0; guard < 1000; ++guard) {
        const bool has_fields = parser.Read_Record(fields);
        if (has_fields) {
            TRecord record;
            for (const TData_Field& f : fields) record.emplace_back(f.Name, f.Value);
            result.records.push_back(record);
        }
        if (parser.End() || !has_fields) return result;
    }
    ADD_FAILURE() << "the parser never reached the end";
    return result;
}

TEST(DataFileParserTest, SplitsLinesOnCrLfAndLf) {
    using TLines = std::vector<std::string>;
    EXPECT_EQ(Split_Data_Lines(""), TLines{});
    EXPECT_EQ(Split_Data_Lines("a"), TLines{"a"});
    EXPECT_EQ(Split_Data_Lines("a\r\n"), TLines{"a"});
    EXPECT_EQ(Split_Data_Lines("a\n"), TLines{"a"});
    EXPECT_EQ(Split_Data_Lines("a\r\n\r\n"), (TLines{"a", ""}));
    EXPECT_EQ(Split_Data_Lines("a\nb\r\nc"), (TLines{"a", "b", "c"}));
    EXPECT_EQ(Split_Data_Lines("a\rb\n"), TLines{"a\rb"});
}

TEST(DataFileParserTest, TrimRemovesControlCharactersOnlyAtTheEnds) {
    EXPECT_EQ(Trim_Data(" \t\r\x01Sword of  Fire\x1F\r"), "Sword of  Fire");
    EXPECT_EQ(Trim_Data(" \t "), "");
    // UTF-8 bytes are above 127; read as signed chars they would look like control characters.
    EXPECT_EQ(Trim_Data("\tМеч\t"), "Меч");
    EXPECT_EQ(Trim_Data("\xC2\xA0x"), "\xC2\xA0x");
}

TEST(DataFileParserTest, SplitsRecordsIntoFields) {
    const std::string text = "Header\r\n*BEGIN*\r\nskipped\r\nskipped\r\n"
                             "Name := Goblin\r\n"
                             "// a comment inside the record\r\n"
                             "Formula := a := b\r\n"
                             "\tSpaced \t:=\t 12 \t\r\r\n"
                             "NAME := Second Goblin\r\n"
                             "Empty :=\r\n"
                             "\r\n"
                             "Name := Orc\r\n"
                             ":= orphan value\r\n"
                             "// only a comment\r\n"
                             "\r\n"
                             "Kind := Troll\r\n"
                             "plain text line\r\n"
                             "Name := Ogre\r\n"
                             "*END*\r\n";
    const TParse_Result result = Parse_Text(text);
    const std::vector<TRecord> expected = {
        {{"Name", "Goblin"}, {"//", ""}, {"Formula", "a := b"}, {"Spaced", "12"}, {"Empty", ""}},
        {{"Name", "Orc"}},
        {{"//", ""}},
        {{"Kind", "Troll"}},
        {{"Name", "Ogre"}},
    };
    EXPECT_EQ(result.records, expected);
    EXPECT_TRUE(result.errors.empty());
}

TEST(DataFileParserTest, NeverLoopsWhenTheFileEndsEarly) {
    struct Case {
        const char* label;
        std::string text;
        size_t records;
        size_t errors;
    };
    const Case cases[] = {
        {"empty file", "", 0, 1},
        {"end before begin", "*END*\r\n*BEGIN*\r\n\r\n\r\nA := 1\r\n\r\n", 0, 1},
        {"ends inside the skipped lines", "*BEGIN*\r\nonly one", 0, 0},
        {"ends right after the skipped lines", "*BEGIN*\r\na\r\nb\r\n", 0, 0},
    };
    for (const Case& c : cases) {
        const TParse_Result result = Parse_Text(c.text);
        EXPECT_EQ(result.records.size(), c.records) << c.label;
        EXPECT_EQ(result.errors.size(), c.errors) << c.label;
    }
}

TEST(DataFileParserTest, IntegerConversions) {
    struct Case {
        const char* text;
        uint16_t word;
        uint8_t byte;
        int32_t longint;
    };
    const Case cases[] = {
        {"0", 0, 0, 0},
        {"42", 42, 42, 42},
        {"+5", 5, 5, 5},
        {"007", 7, 7, 7},
        {"-1", 0, 0, -1},
        {"255", 255, 255, 255},
        {"256", 256, 0, 256},
        {"65535", 65535, 0, 65535},
        {"70000", 0, 0, 70000},
        {"$FF", 255, 255, 255},
        {"$ff", 255, 255, 255},
        {"$10000", 0, 0, 65536},
        {"-$10", 0, 0, -16},
        {"2147483647", 0, 0, 2147483647},
        {"-2147483647", 0, 0, -2147483647},
        {"-2147483648", 0, 0, 0},
        {"2147483648", 0, 0, 0},
        {"$FFFFFFFF", 0, 0, 0},
        {"99999999999999999999999", 0, 0, 0},
        {"", 0, 0, 0},
        {"abc", 0, 0, 0},
        {"12a", 0, 0, 0},
        {"5.0", 0, 0, 0},
        {"+", 0, 0, 0},
        {"$", 0, 0, 0},
        {"--5", 0, 0, 0},
        {"+-5", 0, 0, 0},
        {"$-5", 0, 0, 0},
        {"$G", 0, 0, 0},
        {"0x10", 0, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Str_To_Word(c.text), c.word) << '"' << c.text << '"';
        EXPECT_EQ(Str_To_Byte(c.text), c.byte) << '"' << c.text << '"';
        EXPECT_EQ(Str_To_Longint(c.text), c.longint) << '"' << c.text << '"';
    }
    int64_t value = 0;
    EXPECT_TRUE(Parse_Data_Integer("-9223372036854775808", value));
    EXPECT_EQ(value, INT64_MIN);
    EXPECT_FALSE(Parse_Data_Integer("9223372036854775808", value));
}

TEST(DataFileParserTest, BooleanAndRealConversions) {
    for (const char* text : {"TRUE", "true", "tRuE", "YES", "yes", "Yes"})
        EXPECT_TRUE(Str_To_Bool(text)) << text;
    for (const char* text : {"1", "", "y", "no", "FALSE", "TRUEX", "on"})
        EXPECT_FALSE(Str_To_Bool(text)) << text;

    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"1.5", 1.5},  {"+2.25", 2.25}, {"-0.5", -0.5}, {"3", 3.0},     {"1e3", 1000.0},
        {".5", 0.5},   {"1,5", 0.0},    {"abc", 0.0},   {"", 0.0},      {"+", 0.0},
        {"++1", 0.0},  {"+-1", 0.0},    {"1.5x", 0.0},  {" 1.5", 0.0},  {"inf", 0.0},
        {"-inf", 0.0}, {"+inf", 0.0},   {"nan", 0.0},   {"1e999", 0.0}, {"$10", 0.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(Str_To_Real(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(Str_To_Str(" as is "), " as is ");
}

// Restores the C locale's numeric category when a test changes it.
class TNumeric_Locale_Guard {
public:
    TNumeric_Locale_Guard() : Saved_(std::setlocale(LC_NUMERIC, nullptr)), Saved_Global_(std::locale()) {}
    ~TNumeric_Locale_Guard() {
        std::setlocale(LC_NUMERIC, Saved_.c_str());
        std::locale::global(Saved_Global_);
    }

private:
    std::string Saved_;
    std::locale Saved_Global_;
};

TEST(DataFileParserTest, RealIgnoresACommaDecimalSeparatorOfTheCLocale) {
    TNumeric_Locale_Guard guard;
    bool comma_locale = false;
    for (const char* name :
         {"de_DE.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8", "de_DE.utf8", "ru_RU.utf8", "de_DE"}) {
        if (std::setlocale(LC_NUMERIC, name) && std::string(std::localeconv()->decimal_point) == ",") {
            comma_locale = true;
            break;
        }
    }
    // None installed: build one into a temporary folder from the system's locale sources.
    TTemp_Folder locales;
    if (!comma_locale) {
        const std::string command =
            "localedef -i de_DE -f UTF-8 " + locales.File("de_DE.UTF-8") + " >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            setenv("LOCPATH", locales.Path().c_str(), 1);
            comma_locale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") &&
                           std::string(std::localeconv()->decimal_point) == ",";
            unsetenv("LOCPATH");
        }
    }
    if (!comma_locale) GTEST_SKIP() << "no locale with a comma decimal separator is available";
    EXPECT_DOUBLE_EQ(Str_To_Real("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(Str_To_Real("1,5"), 0.0);
}

struct TComma_Punct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST(DataFileParserTest, RealIgnoresACommaDecimalSeparatorOfTheGlobalLocale) {
    TNumeric_Locale_Guard guard;
    std::locale::global(std::locale(std::locale::classic(), new TComma_Punct));
    const std::string c_locale_before = std::setlocale(LC_NUMERIC, nullptr);
    EXPECT_DOUBLE_EQ(Str_To_Real("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(Str_To_Real("1,5"), 0.0);
    // Both locales are left as they were.
    EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), c_locale_before);
    EXPECT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), ',');
}

} // namespace
