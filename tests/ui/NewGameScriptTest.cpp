// The new-game script (tests/e2e/new_game.script) run through the headless game over a whole program folder
// with the shipped module, on the real dialogs: intro, menu, module, difficulty, character, the module
// created and its text, the game screen with the world running, a walk by a click on the map, the inventory
// window shown and hidden, a save from the game menu, another walk, the load that brings the player back,
// and the quit. The script runs in sections; at each "# @" mark the test checks the game.
//
// The control tree at three marks and the main window's log lines are compared with text kept in
// tests/reference/new_game_*.tree and new_game_dlgmain.log, the saved game's frame with new_game.bmp, and the
// loaded game's frame with the saved one.
// Rebaselining (after a person has looked at the new frame in build/<preset>/frames/new_game_a.bmp):
//   MURK_REBASELINE=1 build/normal/tests/ui_tests --gtest_filter='NewGameScript.*'
#include "core/DebugLog.h"
#include "core/HighScores.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/SaveGame.h"
#include "core/SaveSlots.h"
#include "core/Terrain.h"
#include "media/DisplayObject.h"
#include "platform/DisplayBackend.h"
#include "tests/support/FrameReference.h"
#include "tests/ui/GameRootFixture.h"
#include "ui/CharacterChoice.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>
#include <vector>

namespace {

const std::string Reference_Dir = std::string(MURK_TEST_DATA_DIR) + "/../reference/";

// The script's sections: the lines before each "# @mark", with the mark's name.
std::vector<std::pair<std::string, std::string>> Sections(const std::string& script) {
    std::vector<std::pair<std::string, std::string>> sections;
    std::istringstream lines(script);
    std::string line, body;
    while (std::getline(lines, line)) {
        if (line.rfind("# @", 0) == 0) {
            sections.emplace_back(line.substr(3), body);
            body.clear();
        } else {
            body += line + "\n";
        }
    }
    return sections;
}

int32_t Distance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return std::max(std::abs(x1 - x2), std::abs(y1 - y2));
}

std::string Read_Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

// The lines equal the committed reference text; with MURK_REBASELINE=1 they become it.
testing::AssertionResult Matches_Text(const std::vector<std::string>& lines, const std::string& name) {
    const std::string path = Reference_Dir + name;
    const std::string text = Joined(lines);
    if (const char* value = std::getenv("MURK_REBASELINE"); value && std::strcmp(value, "1") == 0) {
        std::ofstream(path, std::ios::binary) << text;
        return testing::AssertionSuccess();
    }
    const std::string expected = Read_Text(path);
    if (expected == text) return testing::AssertionSuccess();
    return testing::AssertionFailure() << name << " differs; expected:\n" << expected << "actual:\n" << text;
}

std::pair<int32_t, int32_t> Player_Square() {
    return {Player()->X, Player()->Y};
}

bool Read_Frame(const std::string& path, TFrame& frame) {
    const std::string bytes = Read_Text(path);
    return Read_Frame_Bmp(std::vector<uint8_t>(bytes.begin(), bytes.end()), frame);
}

class NewGameScript : public TGame_Root_Test {
protected:
    // Whether an item of that name is in one of the player's slots.
    static bool Backpack_Holds(const std::string& name) {
        for (int32_t slot = 1; slot <= 90; ++slot)
            if (const TItem* item = Player()->Item_In_Slot(slot); item && item->Name == name) return true;
        return false;
    }
    // Nothing went wrong so far: no platform box, no message or error list, no exception logged.
    void Expect_Clean() {
        EXPECT_TRUE(Game->boxes().empty());
        EXPECT_EQ(Game->find("Message Dlg"), nullptr);
        EXPECT_EQ(Game->find("Error List Dlg"), nullptr);
        for (const std::string& line : Game->log())
            EXPECT_EQ(line.find("EXCEPTION"), std::string::npos) << line;
    }
    // The main window's start-up and shut-down lines with the global structures' lines between them (the
    // structures are made, loaded and freed inside the window's steps), each with its unit.
    std::vector<std::string> Main_Window_Log() const {
        std::vector<std::string> lines;
        for (const std::string& line : Game->log())
            if (line.rfind("DlgMain: ", 0) == 0 || line.rfind("Struct: ", 0) == 0) lines.push_back(line);
        return lines;
    }
};

TEST_F(NewGameScript, PlaysFromTheIntroToSavingLoadingAndQuitting) {
    Module_Name = "Barrowdeep";
    Real_Dialogs = true;
    const std::string script = Read_Text(std::string(MURK_TEST_DATA_DIR) + "/../e2e/new_game.script");
    ASSERT_FALSE(script.empty());
    // The machine offers only 32 bits: the mode test falls through 16 and 24.
    Game->display().Refused_Test_Depths = {16, 24};
    const std::string frames = MURK_BUILD_FRAMES_DIR;
    std::filesystem::create_directories(frames);
    int32_t start_x = 0, start_y = 0, target_x = 0, target_y = 0, saved_x = 0, saved_y = 0;
    for (const auto& [mark, body] : Sections(script)) {
        std::string error;
        ASSERT_TRUE(Game->Run_Script(body, frames, error)) << mark << ": " << error;
        SCOPED_TRACE(mark);
        if (mark == "menu") {
            EXPECT_EQ(Game->find("Dlg Intro"), nullptr);
            ASSERT_EQ(Count_Of("Dlg Menu"), 1);
            EXPECT_NE(dynamic_cast<TDC_Dlg_Menu*>(Game->find("Dlg Menu")), nullptr);
            EXPECT_TRUE(Matches_Text(Game->tree(), "new_game_menu.tree"));
        } else if (mark == "module-text") {
            ASSERT_NE(Game->find("Dlg Module Text"), nullptr);
            EXPECT_TRUE(Root->Is_Paused());
            ASSERT_NE(Player(), nullptr);
            EXPECT_EQ(Player()->Name, "hero");
            EXPECT_EQ(Path_Settings()->Get_Module_Name(), "Barrowdeep/");
        } else if (mark == "game-screen") {
            EXPECT_EQ(Game->find("Dlg Module Text"), nullptr);
            EXPECT_FALSE(Root->Is_Paused());
            EXPECT_TRUE(Root->Is_World_Running());
            EXPECT_TRUE(Game->find("Main Control Button 1")->Visible);
            ASSERT_NE(Player(), nullptr);
            start_x = Player()->X;
            start_y = Player()->Y;
        } else if (mark == "clicked") {
            // The click on the map asked for a walk to a free floor square three squares away.
            EXPECT_EQ(Root->Tick().Pending_Command, Command_Walk);
            target_x = Root->Tick().Target_X;
            target_y = Root->Tick().Target_Y;
            EXPECT_EQ(Distance(start_x, start_y, target_x, target_y), 3);
            EXPECT_TRUE(
                Current_Map()->Is_Free_Here(*Current_Map()->Get_Square(target_x, target_y), Movement_Land));
        } else if (mark == "walked") {
            EXPECT_LT(Distance(Player()->X, Player()->Y, target_x, target_y),
                      Distance(start_x, start_y, target_x, target_y));
            EXPECT_EQ(Root->Tick().Pending_Command, Command_None);
        } else if (mark == "inventory-shown") {
            EXPECT_TRUE(Game->find("Win Inventory")->Visible);
        } else if (mark == "inventory-hidden") {
            EXPECT_FALSE(Game->find("Win Inventory")->Visible);
            EXPECT_TRUE(Matches_Text(Game->tree(), "new_game_walked.tree"));
            saved_x = Player()->X;
            saved_y = Player()->Y;
        } else if (mark == "saved") {
            EXPECT_EQ(Read_Save_Description(Folder->File("Savegames/slot01/")), "e2e");
            // The save showed the busy pointer and put the normal one back.
            const std::vector<bool>& busy = Game->display().Busy_Cursor_Calls;
            ASSERT_FALSE(busy.empty());
            EXPECT_TRUE(busy.front());
            EXPECT_FALSE(busy.back());
            EXPECT_EQ(std::count(busy.begin(), busy.end(), true),
                      std::count(busy.begin(), busy.end(), false));
            EXPECT_EQ(Machine_Options().Last_Saved_Game_Slot, 1);
            EXPECT_EQ(Game->find("Save Game Dlg"), nullptr);
            EXPECT_EQ(Game->find("Game Menu"), nullptr);
            EXPECT_FALSE(Root->Is_Paused());
            TFrame a;
            ASSERT_TRUE(Read_Frame(frames + "/new_game_a.bmp", a));
            EXPECT_TRUE(Matches_Reference(a, "new_game"));
        } else if (mark == "moved") {
            EXPECT_NE(Player_Square(), std::pair(saved_x, saved_y));
        } else if (mark == "loaded") {
            ASSERT_NE(Player(), nullptr);
            EXPECT_EQ(Player_Square(), std::pair(saved_x, saved_y));
            EXPECT_EQ(Game->find("Save Game Dlg"), nullptr);
            EXPECT_FALSE(Root->Is_Paused());
            EXPECT_TRUE(Matches_Text(Game->tree(), "new_game_loaded.tree"));
            TFrame a, b;
            ASSERT_TRUE(Read_Frame(frames + "/new_game_a.bmp", a));
            ASSERT_TRUE(Read_Frame(frames + "/new_game_b.bmp", b));
            const TFrame_Comparison same = Compare_Frames(b, a);
            EXPECT_TRUE(same.Passed) << same.Blocks_Matching << " of " << same.Blocks << " blocks match";
        } else if (mark == "end") {
            EXPECT_TRUE(Game->closed());
            ASSERT_FALSE(Game->log().empty());
            EXPECT_EQ(Game->log().front().rfind("General: *****************", 0), 0u);
            EXPECT_NE(Game->log().front().find(" - New Execution "), std::string::npos);
            EXPECT_TRUE(Matches_Text(Main_Window_Log(), "new_game_dlgmain.log"));
            EXPECT_EQ(Game->log().back(), "DlgMain: TDlg_Main.FormDestroy - End");
        }
        Expect_Clean();
    }
}

// The whole adventure (tests/e2e/module_end.script), by clicks and keys and the scripted player's walks: a
// seasoned character stored before the game starts is chosen, the elder is asked about the barrow and shows
// the quest, the smith sells, a chest gives up an item, the way down leads into the barrow, the king falls
// and drops the relic, the relic is given to the elder, and the module ends in the main menu with the
// character saved. A new character then dies in the barrow: the death screen records the score and the
// high-score table opened from the menu lists it.
TEST_F(NewGameScript, PlaysTheModuleToItsEndAndThenDies) {
    Module_Name = "Barrowdeep";
    Real_Dialogs = true;
    const std::string script = Read_Text(std::string(MURK_TEST_DATA_DIR) + "/../e2e/module_end.script");
    ASSERT_FALSE(script.empty());
    const std::string frames = MURK_BUILD_FRAMES_DIR;
    std::filesystem::create_directories(frames);
    int32_t gold = 0, backpack = 0;
    for (const auto& [mark, body] : Sections(script)) {
        std::string error;
        ASSERT_TRUE(Game->Run_Script(body, frames, error)) << mark << ": " << error;
        SCOPED_TRACE(mark);
        if (mark == "menu") {
            // A fighter of level 20 with the strength and health to go down into the barrow.
            TMonster veteran;
            Make_New_Character(veteran, 1, 1, "veteran");
            veteran.Level = 20;
            veteran.Base_Strength += 200;
            veteran.Base_Dexterity += 200;
            veteran.Base_Constitution += 600;
            veteran.Gold = 100000;
            veteran.Recalculate_Stats();
            veteran.Life = veteran.Max_Life;
            const auto path = Character_File_Path("veteran");
            ASSERT_TRUE(path);
            ASSERT_TRUE(Save_Character(veteran, *path));
        } else if (mark == "village") {
            ASSERT_NE(Player(), nullptr);
            EXPECT_EQ(Player()->Name, "veteran");
            EXPECT_FALSE(Module()->Quests.Get_Quest(1)->Visible);
        } else if (mark == "quest-shown") {
            EXPECT_TRUE(Module()->Quests.Get_Quest(1)->Visible);
            gold = Player()->Gold;
            backpack = Player()->Inventory.Count();
        } else if (mark == "bought") {
            EXPECT_LT(Player()->Gold, gold);
            EXPECT_EQ(Player()->Inventory.Count(), backpack + 1);
            backpack = Player()->Inventory.Count();
        } else if (mark == "chest") {
            EXPECT_GT(Player()->Inventory.Count(), backpack);
        } else if (mark == "barrow") {
            EXPECT_EQ(Module()->Current_Map, 2);
            // The new map's pictures were loaded with drawing held back, and drawing goes on after it.
            ASSERT_NE(Display_Object(), nullptr);
            EXPECT_EQ(Display_Object()->Drawing_Suppressed, 0);
        } else if (mark == "king-dead") {
            ASSERT_NE(Player(), nullptr);
            EXPECT_TRUE(Module()->Quests.Get_Quest(1)->Completed);
            EXPECT_TRUE(Module()->Quests.Get_Quest(2)->Visible);
            EXPECT_FALSE(Module()->Quests.Get_Quest(2)->Completed);
        } else if (mark == "relic") {
            EXPECT_TRUE(Backpack_Holds("Barrow Relic"));
        } else if (mark == "module-done") {
            EXPECT_TRUE(Module()->Quests.Get_Quest(2)->Completed);
            EXPECT_FALSE(Backpack_Holds("Barrow Relic"));
            EXPECT_NE(Game->find("Dlg Module Text"), nullptr);
            gold = Player()->Gold;
        } else if (mark == "module-end") {
            EXPECT_NE(Game->find("Dlg Menu"), nullptr);
            EXPECT_FALSE(Root->Is_World_Running());
            // The character file holds the veteran as he ended: free for another module, with the experience
            // of his kills and quests and the gold he had at the end.
            TMonster saved;
            ASSERT_TRUE(Load_Character(saved, *Character_File_Path("veteran")));
            EXPECT_EQ(saved.Character_State, Character_Available);
            EXPECT_GT(saved.Experience, 0);
            EXPECT_EQ(saved.Gold, gold);
        } else if (mark == "dead") {
            EXPECT_NE(Game->find("Dlg Dead"), nullptr);
            THigh_Scores_List scores;
            ASSERT_TRUE(scores.Load(Path_Settings()->Get_High_Scores_File()));
            ASSERT_NE(scores.Get(1), nullptr);
            EXPECT_EQ(scores.Get(1)->Name, "doomed");
            EXPECT_EQ(scores.Get(1)->Class_Name, "Fighter");
            EXPECT_EQ(scores.Get(1)->Level, 1);
            TFrame dead;
            ASSERT_TRUE(Read_Frame(frames + "/module_end_dead.bmp", dead));
            EXPECT_TRUE(Matches_Reference(dead, "module_end_dead"));
        } else if (mark == "high-scores") {
            EXPECT_EQ(Game->find("Dlg Dead"), nullptr);
            EXPECT_NE(Game->find("High Scores Dlg"), nullptr);
            bool listed = false;
            for (const TDrawn_Text& drawn : Game->texts())
                listed =
                    listed || (drawn.Frame == Game->display().Flip_Count && drawn.Drawn.Text == "doomed");
            EXPECT_TRUE(listed);
            TFrame table;
            ASSERT_TRUE(Read_Frame(frames + "/module_end_high_scores.bmp", table));
            EXPECT_TRUE(Matches_Reference(table, "module_end_high_scores"));
        }
        Expect_Clean();
    }
}

} // namespace
