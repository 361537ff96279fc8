#include "core/DataFileLoader.h"

#include "core/Profile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using TRecord = std::vector<std::pair<std::string, std::string>>;

// Records the hooks it is called through and the fields of every record; a test may add its own work
// per record.
class TRecording_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;

    std::vector<std::string> Calls;
    std::vector<TRecord> Records;
    std::function<void(TRecording_Loader&, int32_t)> On_Record;
    std::function<void()> On_Before;
    std::function<void()> On_After;

protected:
    void Before_Load() override {
        Calls.push_back("before");
        if (On_Before) On_Before();
    }
    void Process_Record(int32_t record_number) override {
        Calls.push_back("record " + std::to_string(record_number));
        TRecord record;
        for (const TData_Field& field : Current_Fields()) record.emplace_back(field.Name, field.Value);
        Records.push_back(record);
        if (On_Record) On_Record(*this, record_number);
    }
    void After_Load() override {
        Calls.push_back("after");
        if (On_After) On_After();
    }
};

class DataFileLoaderTest : public ::testing::Test {
protected:
    void TearDown() override { Set_Run_Profile(TRun_Profile::Game); }

    TTemp_Folder Folder;
};

const std::string Header = "Monster classes\r\n*BEGIN*\r\nKey := Value\r\n-----\r\n";

TEST_F(DataFileLoaderTest, HeaderAndEndOfData) {
    struct Case {
        const char* label;
        std::string text;
        std::vector<std::string> calls;
        std::vector<TRecord> records;
        TString_List errors;
    };
    const std::vector<Case> cases = {
        {"no begin line",
         "Name := A\r\n\r\nName := B\r\n*END*\r\n",
         {"before", "after"},
         {},
         {"Cannot find *BEGIN*"}},
        {"the two lines after begin are skipped even when they hold fields",
         "*BEGIN*\r\nA := skipped\r\nB := skipped\r\nC := 1\r\n\r\nD := 2\r\n*END*\r\n",
         {"before", "record 1", "record 2", "after"},
         {{{"C", "1"}}, {{"D", "2"}}},
         {}},
        {"a record right before end is processed and nothing after end is read",
         Header + "A := 1\r\nB := 2\r\n*END*\r\nC := 3\r\n\r\nD := 4\r\n\r\n",
         {"before", "record 1", "after"},
         {{{"A", "1"}, {"B", "2"}}},
         {}},
        {"the last line is lost without end (final line end)",
         Header + "A := 1\r\nB := 2\r\n",
         {"before", "record 1", "after"},
         {{{"A", "1"}}},
         {}},
        {"the last line is lost without end (no final line end)",
         Header + "A := 1\r\nB := 2",
         {"before", "record 1", "after"},
         {{{"A", "1"}}},
         {}},
        {"a blank last line keeps the field before it",
         Header + "A := 1\r\nB := 2\r\n\r\n",
         {"before", "record 1", "after"},
         {{{"A", "1"}, {"B", "2"}}},
         {}},
        {"two blank lines stop the load",
         Header + "A := 1\r\n\r\n\r\nB := 2\r\n\r\n*END*\r\n",
         {"before", "record 1", "after"},
         {{{"A", "1"}}},
         {}},
        {"an LF-only file reads like a CR LF one",
         "Monster classes\n*BEGIN*\nKey := Value\n-----\nA := 1\nB := 2\n\nC := 3\n*END*\n",
         {"before", "record 1", "record 2", "after"},
         {{{"A", "1"}, {"B", "2"}}, {{"C", "3"}}},
         {}},
    };
    for (const Case& c : cases) {
        TRecording_Loader loader(Folder.Write("Case.txt", c.text));
        loader.Execute_Load();
        EXPECT_EQ(loader.Calls, c.calls) << c.label;
        EXPECT_EQ(loader.Records, c.records) << c.label;
        EXPECT_EQ(loader.Get_Error_List(), c.errors) << c.label;
    }
}

TEST_F(DataFileLoaderTest, MissingFileGivesOnlyTheCannotLoadLine) {
    const std::string path = Folder.File("Missing.txt");
    const std::vector<std::pair<TRun_Profile, std::string>> cases = {
        {TRun_Profile::Game, "Не удаётся загрузить: \"" + path + "\"."},
        {TRun_Profile::Tool, "Unable to load data file: \"" + path + "\"."},
    };
    for (const auto& [profile, line] : cases) {
        Set_Run_Profile(profile);
        TRecording_Loader loader(path);
        loader.Add_Error("stale line from before the load");
        loader.Execute_Load();
        EXPECT_TRUE(loader.Calls.empty());
        EXPECT_EQ(loader.Get_Error_List(), TString_List{line});
    }
}

TEST_F(DataFileLoaderTest, ErrorLinesFollowTheProfileAndTheRecordName) {
    const std::string path = Folder.Write("Monsters.txt", Header + "Level := 3\r\n"
                                                                   "Kind := Cat\r\n"
                                                                   "\r\n"
                                                                   "Name := Orc\r\n"
                                                                   "Level := x\r\n"
                                                                   "\r\n"
                                                                   "LEVEL := 7\r\n"
                                                                   "*END*\r\n");
    struct Case {
        TRun_Profile profile;
        TString_List errors;
    };
    const Case cases[] = {
        {TRun_Profile::Game,
         {
             "Не удалось найти поле \"Speed\" в записи 1.",
             "Недопустимое \"Cat\" для Kind в записи \"1\".",
             "Не удалось найти поле \"Speed\" в записи \"Orc\".",
             "Недопустимое \"x\" для Level в записи \"Orc\".",
             "Не удалось найти поле \"Speed\" в записи \"Orc\".",
         }},
        {TRun_Profile::Tool,
         {
             "Could not find field \"Speed\" in record 1.",
             "Unknown value \"Cat\" for Kind in record \"1\".",
             "Could not find field \"Speed\" in record \"Orc\".",
             "Unknown value \"x\" for Level in record \"Orc\".",
             "Could not find field \"Speed\" in record \"Orc\".",
         }},
    };
    for (const Case& c : cases) {
        Set_Run_Profile(c.profile);
        TRecording_Loader loader(path);
        std::vector<std::string> levels;
        loader.On_Record = [&levels](TRecording_Loader& self, int32_t) {
            std::string value;
            // The name stays in force for later records that have none.
            if (self.Get_Field_Value("name", value, false)) self.Set_Record_Name(value);
            // Sub-record readers go through the two callables bound to the loader.
            const TField_Reader reader = self.Field_Reader();
            EXPECT_FALSE(reader.Get_Field_Value("Speed", value, true));
            EXPECT_EQ(value, "");
            EXPECT_FALSE(reader.Get_Field_Value("Optional", value, false));
            if (reader.Get_Field_Value("level", value, true)) {
                levels.push_back(value);
                if (Str_To_Word(value) == 0) reader.Report_Invalid_Value(value, "Level");
            }
            if (self.Get_Field_Value("KIND", value, false)) self.Report_Invalid_Value(value, "Kind");
        };
        loader.Execute_Load();
        EXPECT_EQ(loader.Get_Error_List(), c.errors);
        EXPECT_EQ(levels, (std::vector<std::string>{"3", "x", "7"}));
        EXPECT_EQ(loader.Get_Record_Name(), "Orc");
    }
}

TEST_F(DataFileLoaderTest, AFailureInAHookEndsTheLoadWithTheCannotLoadLine) {
    const std::string path =
        Folder.Write("Items.txt", Header + "A := 1\r\n\r\nA := 2\r\n\r\nA := 3\r\n\r\n*END*\r\n");
    const std::string cannot_load = "Не удаётся загрузить: \"" + path + "\".";
    struct Case {
        const char* label;
        std::function<void(TRecording_Loader&)> arm;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"std::exception in the second record",
         [](TRecording_Loader& l) {
             l.On_Record = [](TRecording_Loader& self, int32_t n) {
                 self.Add_Error("seen " + std::to_string(n));
                 if (n == 2) throw std::runtime_error("bad record");
             };
         },
         {"before", "record 1", "record 2"}},
        {"a non-standard exception in the first record",
         [](TRecording_Loader& l) { l.On_Record = [](TRecording_Loader&, int32_t) { throw 42; }; },
         {"before", "record 1"}},
        {"a failure before the records",
         [](TRecording_Loader& l) { l.On_Before = [] { throw std::logic_error("before"); }; },
         {"before"}},
        {"a failure after the records",
         [](TRecording_Loader& l) { l.On_After = [] { throw "after"; }; },
         {"before", "record 1", "record 2", "record 3", "after"}},
    };
    for (const Case& c : cases) {
        TRecording_Loader loader(path);
        c.arm(loader);
        EXPECT_NO_THROW(loader.Execute_Load()) << c.label;
        EXPECT_EQ(loader.Calls, c.calls) << c.label;
        ASSERT_FALSE(loader.Get_Error_List().empty()) << c.label;
        EXPECT_EQ(loader.Get_Error_List().back(), cannot_load) << c.label;
    }
    // What a record added before the failure stays in the list, ahead of the cannot-load line.
    TRecording_Loader loader(path);
    cases[0].arm(loader);
    loader.Execute_Load();
    EXPECT_EQ(loader.Get_Error_List(), (TString_List{"seen 1", "seen 2", cannot_load}));
    EXPECT_EQ(loader.Records.size(), 2u);
}

TEST_F(DataFileLoaderTest, ReadsAWindows1251File) {
    // "Имя := Гоблин" and "Сила := 5" in Windows-1251, found case-insensitively file name and all.
    const std::string bytes = "*BEGIN*\r\n\r\n\r\n"
                              "\xC8\xEC\xFF := \xC3\xEE\xE1\xEB\xE8\xED\r\n"
                              "\xD1\xE8\xEB\xE0 := 5\r\n"
                              "*END*\r\n";
    Folder.Write("Data/Goblins.txt", bytes);
    TRecording_Loader loader(Folder.File("data/GOBLINS.TXT"));
    loader.On_Record = [](TRecording_Loader& self, int32_t) {
        std::string value;
        if (self.Get_Field_Value("Имя", value, true)) self.Set_Record_Name(value);
        self.Get_Field_Value("Ловкость", value, true);
    };
    loader.Execute_Load();
    EXPECT_EQ(loader.Records, (std::vector<TRecord>{{{"Имя", "Гоблин"}, {"Сила", "5"}}}));
    EXPECT_EQ(loader.Get_Error_List(),
              TString_List{"Не удалось найти поле \"Ловкость\" в записи \"Гоблин\"."});
}

} // namespace
