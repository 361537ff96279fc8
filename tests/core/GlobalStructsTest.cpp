// The program-wide objects are created, loaded, reloaded and freed in their order, with their log lines;
// the loads answer with the result the game relies on.
#include "core/CharClass.h"
#include "core/DebugLog.h"
#include "core/DisplayEffects.h"
#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/GameSettings.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "core/Struct.h"
#include "core/WorldEvents.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Shipped(const std::string& relative) {
    std::ifstream in(std::string(MURK_SHIPPED_DATA_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class Global_Structs : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Saved_Paths = Remove_Path_Settings();
        Folder.Make_Folder("log");
        for (const char* file :
             {"Data/Settings.txt", "Data/Effects.txt", "Data/Spells.txt", "Data/Classes.txt"})
            Folder.Write(file, Shipped(file));
    }
    void TearDown() override {
        Free_Global_Structs();
        Free_Primary_Global_Structs();
        Install_Path_Settings(std::move(Saved_Paths));
        TProgram_Folder_Test::TearDown();
    }
    // The log's messages in order (the date, time and tick count cut off).
    std::vector<std::string> Log_Messages() const {
        std::vector<std::string> messages;
        std::istringstream in(Folder.Read("log/MK_Log.txt"));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::istringstream fields(line);
            std::string date, time, ticks, rest;
            fields >> date >> time >> ticks;
            std::getline(fields >> std::ws, rest);
            messages.push_back(rest);
        }
        return messages;
    }
    std::unique_ptr<TPath_Settings> Saved_Paths;
};

TEST_F(Global_Structs, CreatedLoadedAndFreedInOrderWithTheirLogLines) {
    Create_Primary_Global_Structs();
    ASSERT_NE(Path_Settings(), nullptr);
    ASSERT_NE(Game_Settings(), nullptr);
    Load_Primary_Global_Structs();
    Create_Global_Structs();
    EXPECT_NE(Current_Map(), nullptr);
    ASSERT_NE(Module(), nullptr);
    EXPECT_NE(Game_Options(), nullptr);
    EXPECT_NE(Sprites_List(), nullptr);
    EXPECT_TRUE(Load_Global_Structs());
    EXPECT_GT(Display_Effect_Count(), 0);
    EXPECT_GT(Class_Count(), 0);
    EXPECT_GT(Master_Spell_Count(), 0);

    // The module created is the one a creature's death reaches.
    TModule_Event event;
    event.Enabled = true;
    event.Triggers.push_back({Trigger_Monster_Killed, 0, 0, 0, 77, 0, 0, 0, 0});
    TModule_Event_Result end;
    end.Result_Type = Result_End_Game;
    event.Results.push_back(end);
    Module()->Events.Events.push_back(event);
    World_Events::Monster_Killed(77);
    EXPECT_EQ(Module()->Events.Get_Return_Result_Count(), 1);

    Free_Global_Structs();
    EXPECT_EQ(Current_Map(), nullptr);
    EXPECT_EQ(Module(), nullptr);
    EXPECT_EQ(Game_Options(), nullptr);
    EXPECT_EQ(Sprites_List(), nullptr);
    EXPECT_EQ(Display_Effect_Count(), 0);
    EXPECT_EQ(Class_Count(), 0);
    EXPECT_EQ(Master_Spell_Count(), 0);
    World_Events::Monster_Killed(77); // no module: nothing, no crash
    Free_Primary_Global_Structs();
    EXPECT_EQ(Path_Settings(), nullptr);
    EXPECT_EQ(Game_Settings(), nullptr);

    const std::vector<std::string> struct_lines = {
        "Create_Primary_Global_Structs - Start", "Create_Primary_Global_Structs - End",
        "Load_Primary_Global_Structs - Start",   "Load_Primary_Global_Structs - End",
        "Create_Global_Structs - Start",         "Create_Global_Structs - End",
        "Load_Global_Structs - Start",           "Load_Global_Structs - End",
        "Free_Global_Structs - Start",           "Free_Global_Structs - End",
        "Free_Primary_Global_Structs - Start",   "Free_Primary_Global_Structs - End"};
    std::vector<std::string> logged;
    for (const std::string& m : Log_Messages())
        if (m.find("Global_Structs - ") != std::string::npos) logged.push_back(m);
    EXPECT_EQ(logged, struct_lines);
}

TEST_F(Global_Structs, LoadsAnswerWithTheSpellsOrTheSettingsAndModulesOverrideTheTables) {
    Create_Primary_Global_Structs();
    Create_Global_Structs();
    const int32_t shipped_spells = [] {
        Load_Master_Spells();
        return Master_Spell_Count();
    }();

    // A failing classes file leaves the spells' answer.
    Folder.Write("Data/Classes.txt", Data_File_Text({{{"Class Name", "Broken"}}}, "Classes"));
    Messages->Error_Lists.clear();
    EXPECT_TRUE(Load_Global_Structs());
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Class_Count(), 1); // as far as it was filled

    // The module's own spells file takes over on a reload, whose answer is the settings'.
    Folder.Write("Modules/Vale/Data/Spells.txt", Data_File_Text({{{"Name", "Only"}}}, "Spells"));
    ASSERT_TRUE(Path_Settings()->Set_Module("Vale/"));
    EXPECT_TRUE(Reload_Global_Data());
    EXPECT_EQ(Master_Spell_Count(), 1);
    EXPECT_FALSE(Load_Global_Structs());

    Folder.Write("Data/Settings.txt", "no header here");
    EXPECT_FALSE(Reload_Global_Data());
    ASSERT_TRUE(Path_Settings()->Set_Module(""));
    Reload_Global_Data();
    EXPECT_EQ(Master_Spell_Count(), shipped_spells);
}

} // namespace
