// The reader's record index and its one-buffer walk: a look-up in any ASCII letter case finds the first
// field of that name however many fields the record has, and the same records read alike from every
// encoding and line end the data files come in.
#include "core/DataFileLoader.h"
#include "core/DataFileParser.h"
#include "core/TextCodec.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using TPairs = std::vector<std::pair<std::string, std::string>>;

TPairs Pairs_Of(const std::vector<TData_Field>& fields) {
    TPairs pairs;
    for (const TData_Field& f : fields) pairs.emplace_back(f.Name, f.Value);
    return pairs;
}

TEST(DataRecordIndexTest, FindsEveryFieldInAnyCaseAndKeepsTheFirstOfADuplicate) {
    // Enough fields for the index to grow several times, with names alike but for case and digits.
    for (const size_t count : {size_t{1}, size_t{31}, size_t{33}, size_t{300}}) {
        TData_Record record;
        for (int round = 0; round < 2; ++round) { // the second round reuses the cleared record
            record.Clear();
            EXPECT_EQ(record.Find("Key 0"), nullptr);
            for (size_t n = 0; n < count; ++n)
                EXPECT_TRUE(record.Add("Key " + std::to_string(n), "v" + std::to_string(n + round)));
            // A duplicate in other case is refused and changes nothing.
            for (size_t n = 0; n < count; ++n) EXPECT_FALSE(record.Add("KEY " + std::to_string(n), "late"));
            ASSERT_EQ(record.Fields().size(), count);
            for (size_t n = 0; n < count; ++n) {
                for (const std::string& asked : {"key " + std::to_string(n), "kEy " + std::to_string(n)}) {
                    const TData_Field* field = record.Find(asked);
                    ASSERT_NE(field, nullptr) << asked;
                    EXPECT_EQ(field->Name, "Key " + std::to_string(n));
                    EXPECT_EQ(field->Value, "v" + std::to_string(n + round));
                }
            }
            for (const char* missing : {"Key", "Key ", "Key -1", "Key 0 ", "Ke y 0", "", "Key 1000"})
                EXPECT_EQ(record.Find(missing), nullptr) << '"' << missing << '"';
        }
    }
    // Only ASCII letters fold: Cyrillic names in other case are other names, each found as written.
    TData_Record record;
    EXPECT_TRUE(record.Add("Имя", "1"));
    EXPECT_TRUE(record.Add("ИМЯ", "2"));
    EXPECT_TRUE(record.Add("имя", "3"));
    EXPECT_FALSE(record.Add("имя", "4"));
    ASSERT_NE(record.Find("ИМЯ"), nullptr);
    EXPECT_EQ(record.Find("ИМЯ")->Value, "2");
    EXPECT_EQ(record.Find("Имя")->Value, "1");
    EXPECT_EQ(record.Find("иМЯ"), nullptr);
    // The folding ends at the letters: "@" and "[" are no "`" and "{".
    EXPECT_TRUE(record.Add("Az", "5"));
    EXPECT_TRUE(record.Add("@[", "6"));
    ASSERT_NE(record.Find("aZ"), nullptr);
    EXPECT_EQ(record.Find("aZ")->Value, "5");
    EXPECT_EQ(record.Find("`{"), nullptr);
    EXPECT_FALSE(record.Add("AZ", "7"));
    EXPECT_TRUE(record.Add("`{", "8"));
    // Two names of one length whose folded hashes are equal are two fields, each found by its own name only.
    EXPECT_TRUE(record.Add("Field 0335786", "9"));
    EXPECT_TRUE(record.Add("FIELD 1074240", "10"));
    ASSERT_NE(record.Find("field 0335786"), nullptr);
    EXPECT_EQ(record.Find("field 0335786")->Value, "9");
    ASSERT_NE(record.Find("field 1074240"), nullptr);
    EXPECT_EQ(record.Find("field 1074240")->Value, "10");
    EXPECT_EQ(record.Find("Field 1074241"), nullptr);
    EXPECT_EQ(record.Fields().size(), 8u);
    record.Clear();
    EXPECT_TRUE(record.Add("Имя", "1"));
    EXPECT_TRUE(record.Add("ИМЯ", "2"));
    EXPECT_TRUE(record.Add("имя", "3"));
    // Field order is line order, whatever the index does.
    EXPECT_EQ(Pairs_Of(record.Fields()), (TPairs{{"Имя", "1"}, {"ИМЯ", "2"}, {"имя", "3"}}));
}

// Every field of every record, through the loader's own look-up in another letter case.
class TLookup_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;
    std::vector<TPairs> Records;

protected:
    void Process_Record(int32_t) override {
        TPairs looked_up;
        for (const TData_Field& field : Current_Fields()) {
            std::string value;
            const std::string asked = Ascii_Upper(field.Name);
            EXPECT_TRUE(Get_Field_Value(asked, value, true)) << asked;
            looked_up.emplace_back(field.Name, value);
        }
        Records.push_back(looked_up);
    }
};

TEST(DataRecordIndexTest, EncodingsAndLineEndsReadAlike) {
    // The records as the program holds them; the first "Name" of a record wins over a later "NAME".
    const std::vector<std::string> lines = {"Кладбищенские твари",
                                            "*BEGIN*",
                                            "skipped := 1",
                                            "skipped := 2",
                                            "Name := Упырь",
                                            "Description := Бродит\tпо ночам.",
                                            "NAME := Второй",
                                            "Speed :=  5 ",
                                            "",
                                            "name := Крыса",
                                            "// комментарий",
                                            "Speed := 7",
                                            "*END*",
                                            "Name := after the end"};
    const TPairs upyr = {{"Name", "Упырь"}, {"Description", "Бродит\tпо ночам."}, {"Speed", "5"}};
    const TPairs rat = {{"name", "Крыса"}, {"//", ""}, {"Speed", "7"}};

    const auto join = [&](const std::string& end) {
        std::string text;
        for (const std::string& line : lines) text += line + end;
        return text;
    };
    // Windows-1251 bytes of the same text, letter by letter.
    const auto to_cp1251 = [](const std::string& utf8) {
        std::string bytes;
        for (size_t pos = 0; pos < utf8.size();) {
            const char32_t cp = Next_Utf8_Code_Point(utf8, pos);
            bytes.push_back(static_cast<char>(cp >= 0x0410 && cp <= 0x044F ? 0xC0 + (cp - 0x0410) : cp));
        }
        return bytes;
    };
    const std::pair<const char*, std::string> files[] = {
        {"UTF-8, CR LF", join("\r\n")},
        {"UTF-8, LF", join("\n")},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + join("\r\n")},
        {"Windows-1251, CR LF", to_cp1251(join("\r\n"))},
        {"Windows-1251, LF, no line end after the last line",
         to_cp1251(join("\n")).substr(0, to_cp1251(join("\n")).size() - 1)},
    };
    for (const auto& [label, bytes] : files) {
        TTemp_Folder folder;
        TLookup_Loader loader(folder.Write("Data/Creatures.txt", bytes));
        loader.Execute_Load();
        EXPECT_TRUE(loader.Get_Error_List().empty()) << label;
        EXPECT_EQ(loader.Records, (std::vector<TPairs>{upyr, rat})) << label;
    }
    // A CR alone is no line end: it stays inside the line, and is trimmed only at a value's ends.
    TTemp_Folder folder;
    TLookup_Loader loader(folder.Write("Data/Cr.txt", "*BEGIN*\n\n\nA := 1\r2\rB := 3\r\n\n*END*\n"));
    loader.Execute_Load();
    EXPECT_EQ(loader.Records, (std::vector<TPairs>{{{"A", "1\r2\rB := 3"}}}));
}

} // namespace
