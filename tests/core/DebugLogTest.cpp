#include "core/DebugLog.h"
#include "core/GameSettings.h"
#include "core/GlobalFuncs.h"
#include "core/Profile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved_Base = Base_Folder();
        Set_Base_Folder(Folder.Path());
        Free_Game_Settings();
    }
    void TearDown() override {
        Free_Game_Settings();
        Set_Run_Profile(TRun_Profile::Game);
        Set_Base_Folder(Saved_Base);
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(Folder.Read("log/MK_Log.txt"));
        std::string line;
        while (std::getline(in, line)) lines.push_back(line);
        return lines;
    }
    TTemp_Folder Folder;
    std::string Saved_Base;
};

} // namespace

TEST_F(DebugLogTest, OnlyTheFourUnitsAreWritten) {
    Folder.Make_Folder("log");
    for (const char* unit :
         {"General", "DlgMain", "Struct", "GameSettings", "Monster", "general", "GENERAL", ""})
        Log(unit, std::string("from ") + unit);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[0].find("from General"), std::string::npos);
    EXPECT_NE(lines[3].find("from GameSettings"), std::string::npos);
}

TEST_F(DebugLogTest, LineFormat) {
    Folder.Make_Folder("log");
    Log("Struct", "Create_Global_Structs - Start");
    const std::string text = Folder.Read("log/MK_Log.txt");
    // "yy.mm.dd hh.mm.ss", the tick count, the message, CR LF.
    const std::string shape = "dd.dd.dd dd.dd.dd ";
    ASSERT_GT(text.size(), shape.size());
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd')
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(text[i]))) << text;
        else
            EXPECT_EQ(text[i], shape[i]) << text;
    }
    size_t p = shape.size();
    const size_t digits_start = p;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p]))) ++p;
    EXPECT_GT(p, digits_start) << text;
    EXPECT_EQ(text.substr(p), " Create_Global_Structs - Start\r\n");
}

TEST_F(DebugLogTest, SwitchFollowsTheSettings) {
    Folder.Make_Folder("log");
    Log("General", "before settings");
    TGame_Settings& settings = Create_Game_Settings();
    Log("General", "settings on");
    settings.Generate_Debug_Log = false;
    Log("General", "settings off");
    Free_Game_Settings(); // the log no longer reads freed settings: it is on again
    Log("General", "after free");
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find("before settings"), std::string::npos);
    EXPECT_NE(lines[1].find("settings on"), std::string::npos);
    EXPECT_NE(lines[2].find("after free"), std::string::npos);
}

TEST_F(DebugLogTest, AppendsAcrossRunsAndNeverCreatesTheFolder) {
    Log("General", "no folder"); // must do no harm
    EXPECT_FALSE(std::ifstream(Folder.File("log")).good());

    Folder.Make_Folder("log");
    Folder.Write("log/MK_Log.txt", "old line\r\n");
    Log_New_Execution();
    Log("General", "first run");
    Log_New_Execution();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "old line\r");
    EXPECT_NE(lines[1].find("***************** /"), std::string::npos);
    EXPECT_NE(lines[1].find(" - New Execution *****************"), std::string::npos);
    EXPECT_NE(lines[3].find("New Execution"), std::string::npos);
}

// Before the program folder is known nothing is written, not even to a "log" folder under the working folder.
TEST_F(DebugLogTest, NothingBeforeTheProgramFolderIsSet) {
    Folder.Make_Folder("log");
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(Folder.Path());
    Set_Base_Folder("");
    Log("General", "too early");
    std::filesystem::current_path(saved);
    EXPECT_FALSE(std::ifstream(Folder.File("log/MK_Log.txt")).good());
}

TEST_F(DebugLogTest, ToolWritesNothing) {
    Folder.Make_Folder("log");
    Set_Run_Profile(TRun_Profile::Tool);
    Log("General", "tool");
    EXPECT_EQ(Folder.Read("log/MK_Log.txt"), "");
}
