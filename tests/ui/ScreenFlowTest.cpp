// The game screen controller's screen flow over stand-in dialogs: the front end to a running game, every
// way back to the menu, the developer switches, dialogs opened once, a fresh character for every choice,
// the world stopped after death, the resume notice and the export message.
#include "core/GameOptions.h"
#include "core/HeldItem.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SaveGame.h"
#include "core/SaveSlots.h"
#include "tests/ui/GameRootFixture.h"
#include "ui/DCDlgMessage.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Every file of the folder with its bytes.
std::map<std::string, std::string> Folder_Bytes(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().filename().string()] = bytes.str();
    }
    return files;
}

// The creatures of the current map other than the player, by id, with their squares.
std::map<uint16_t, std::pair<int, int>> Creature_Squares() {
    std::map<uint16_t, std::pair<int, int>> squares;
    TMap* map = Current_Map();
    for (int32_t id = 1; map && id <= map->Monster_List.Get_Count(); ++id)
        if (const TMonster* creature = map->Monster_List.Get_Monster(static_cast<size_t>(id)))
            squares[creature->Id] = {creature->X, creature->Y};
    return squares;
}

class ScreenFlow : public TGame_Root_Test {};

TEST_F(ScreenFlow, FrontEndCancelsReturnToTheMenuWithoutAModule) {
    // Each row: the dialogs closed in order with their results; where the flow ends.
    struct TRow {
        std::vector<std::pair<std::string, int32_t>> Closes;
        std::string Open_After;
    };
    const std::vector<TRow> rows = {
        {{{"Dlg Menu", Menu_New_Game}}, "Dlg Select Module"},
        {{{"Dlg Menu", Menu_New_Game}, {"Dlg Select Module", 2}}, "Dlg Menu"},
        {{{"Dlg Menu", Menu_New_Game}, {"Dlg Select Module", 1}}, "Dlg Difficulty"},
        {{{"Dlg Menu", Menu_New_Game}, {"Dlg Select Module", 1}, {"Dlg Difficulty", 5}}, "Dlg Menu"},
        {{{"Dlg Menu", Menu_New_Game}, {"Dlg Select Module", 1}, {"Dlg Difficulty", 4}},
         "Dlg Select Character"},
        {{{"Dlg Menu", Menu_New_Game},
          {"Dlg Select Module", 1},
          {"Dlg Difficulty", 2},
          {"Dlg Select Character", 3}},
         "Dlg Menu"},
        {{{"Dlg Menu", Menu_Load}}, "Save Game Dlg"},
        {{{"Dlg Menu", Menu_Load}, {"Save Game Dlg", 0}}, "Dlg Menu"},
        {{{"Dlg Menu", Menu_High_Scores}, {"High Scores Dlg", 0}}, "Dlg Menu"},
        {{{"Dlg Menu", 5}}, ""},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        Prepare();
        Start_To_Menu();
        for (const auto& [name, result] : rows[i].Closes) Close(name, result);
        for (const char* name : {"Dlg Menu", "Dlg Select Module", "Dlg Difficulty", "Dlg Select Character",
                                 "Save Game Dlg", "High Scores Dlg"})
            EXPECT_EQ(Count_Of(name), name == rows[i].Open_After ? 1 : 0) << name;
        if (rows[i].Open_After == "Dlg Menu") {
            EXPECT_EQ(Path_Settings()->Get_Module_Name(), "");
            EXPECT_FALSE(Root->Opened_From_Menu);
        }
        EXPECT_EQ(Player(), nullptr);
    }
}

TEST_F(ScreenFlow, NewGameRunsFromTheMenuToTheShownGameScreen) {
    Start_To_Menu();
    EXPECT_EQ(Game->find("Dlg Intro"), nullptr);
    ASSERT_NE(Game->find("Main Control Button 1"), nullptr);
    EXPECT_FALSE(Game->find("Main Control Button 1")->Visible);
    Start_New_Game();
    // The module text over the new map: paused, the world not yet running.
    ASSERT_NE(Game->find("Dlg Module Text"), nullptr);
    EXPECT_FALSE(Game->find("Dlg Module Text")->Modal);
    EXPECT_EQ(Game->find("Dlg Progress"), nullptr);
    EXPECT_TRUE(Root->Is_Paused());
    EXPECT_FALSE(Root->Is_World_Running());
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->Name, "Hero");
    EXPECT_TRUE(fs::exists(Folder->File("CurrGame/Module.mod")));
    Game->key(27);
    EXPECT_EQ(Game->find("Dlg Module Text"), nullptr);
    EXPECT_FALSE(Root->Is_Paused());
    EXPECT_TRUE(Root->Is_World_Running());
    EXPECT_TRUE(Root->Is_Game_Started());
    for (const char* name :
         {"Main Control Button 1", "Spell Button 10", "Drop Inventory", "Drink Mana Button"})
        EXPECT_TRUE(Game->find(name)->Visible) << name;
    EXPECT_FALSE(Game->find("Win Inventory")->Visible);
    Game->click(20, 209);
    EXPECT_TRUE(Game->find("Win Inventory")->Visible);
    Game->click(20, 209);
    EXPECT_FALSE(Game->find("Win Inventory")->Visible);
    EXPECT_TRUE(Game->boxes().empty());
}

TEST_F(ScreenFlow, DeveloperSwitchesOpenOneToolInsteadOfTheMenu) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows = {
        {{"-mapgen", "-tilegen"}, "Dlg MapGen"},
        {{"-tilegen", "-MapGen"}, "Dlg MapGen"},
        {{"-TILEGEN"}, "Dlg TileGen"},
        {{"tilegen"}, "Dlg Menu"},
        {{}, "Dlg Menu"},
    };
    for (const auto& [args, expected] : rows) {
        SCOPED_TRACE(expected);
        Prepare();
        Start_To_Menu(args);
        for (const char* name : {"Dlg MapGen", "Dlg TileGen", "Dlg Menu"})
            EXPECT_EQ(Count_Of(name), name == expected ? 1 : 0) << name;
        EXPECT_EQ(Root->Is_Tool_Mode(), expected != "Dlg Menu");
    }
}

TEST_F(ScreenFlow, ClosingADeveloperToolEndsTheProgram) {
    Start_To_Menu({"-mapgen"});
    Game->key(27);
    Game->run(20);
    EXPECT_TRUE(Game->closed());
}

TEST_F(ScreenFlow, ADialogAlreadyOpenIsNotOpenedAgain) {
    Start_To_Menu();
    Root->Open_Main_Menu();
    Root->Open_Main_Menu();
    EXPECT_EQ(Count_Of("Dlg Menu"), 1);
    Start_New_Game();
    Game->key(27);
    const TDeath_Details details;
    Root->Open_Death_Dialog(details);
    Root->Open_Death_Dialog(details);
    EXPECT_EQ(Count_Of("Dlg Dead"), 1);
    EXPECT_TRUE(Game->find("Dlg Dead")->Modal);
}

TEST_F(ScreenFlow, EveryCharacterChoiceStartsFromAFreshCharacter) {
    Start_To_Menu();
    Start_New_Game();
    Game->key(27);
    TMonster* first = Root->Template_Character();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name, "Hero");
    first->Experience = 900;
    Root->Tick().Show_Death({});
    Game->key(27);
    Close("Dlg Menu", Menu_New_Game);
    Close("Dlg Select Module", 1);
    Close("Dlg Difficulty", 1);
    ASSERT_NE(Game->find("Dlg Select Character"), nullptr);
    EXPECT_EQ(Root->Template_Character()->Name, "");
    EXPECT_EQ(Root->Template_Character()->Experience, 0);
}

TEST_F(ScreenFlow, AfterDeathTheWorldStandsStillAndTheMenuOpensOnce) {
    Start_To_Menu();
    Start_New_Game();
    Game->key(27);
    ASSERT_TRUE(Root->Is_World_Running());
    Root->Tick().Show_Death({});
    // The death screen does not pause: the world still runs under it.
    EXPECT_FALSE(Root->Is_Paused());
    Game->key(27);
    EXPECT_EQ(Count_Of("Dlg Menu"), 1);
    EXPECT_FALSE(Root->Is_World_Running());
    EXPECT_FALSE(Game->find("Main Control Button 1")->Visible);
    const auto before = Creature_Squares();
    const int32_t clock = Root->Tick().Autosave_Clock;
    Game->tick(200);
    EXPECT_EQ(Creature_Squares(), before);
    EXPECT_EQ(Root->Tick().Autosave_Clock, clock);
    // A second death report opens no second menu.
    Root->Tick().Show_Death({});
    Game->key(27);
    EXPECT_EQ(Count_Of("Dlg Menu"), 1);
}

TEST_F(ScreenFlow, ResumeTriesOnlyASlotThatHoldsAGame) {
    const std::vector<int32_t> slots = {0, 11, -1, 3};
    for (int32_t slot : slots) {
        SCOPED_TRACE(slot);
        Prepare();
        Folder->Write("CurrGame/keep.bin", std::string("\x01\x02\x00\x03", 4));
        Start_To_Menu();
        Machine_Options().Last_Saved_Game_Slot = slot;
        const auto before = Folder_Bytes(Folder->File("CurrGame"));
        Close("Dlg Menu", Menu_Resume);
        ASSERT_NE(Root->Message_Dlg, nullptr);
        EXPECT_EQ(Count_Of("Message Dlg"), 1);
        EXPECT_EQ(Count_Of("Dlg Menu"), 1);
        EXPECT_EQ(Folder_Bytes(Folder->File("CurrGame")), before);
        EXPECT_FALSE(Root->Is_World_Running());
    }
}

TEST_F(ScreenFlow, ResumeLoadsTheSlotAndClearsWhatWasPending) {
    Start_To_Menu();
    Start_New_Game();
    Game->key(27);
    ASSERT_NE(Player(), nullptr);
    const int32_t saved_x = Player()->X, saved_y = Player()->Y;
    const std::string map_path = Folder->File("CurrGame/") + Current_Map()->File_Name;
    ASSERT_TRUE(
        Save_Game("resume me", *Current_Map(), Player(), Folder->File("CurrGame/Module.mod"), map_path));
    ASSERT_TRUE(Store_Slot(4));
    Root->Tick().Show_Death({});
    Game->key(27);
    Machine_Options().Last_Saved_Game_Slot = 4;
    Root->Tick().Pending_Command = Command_Walk;
    Root->Tick().Target_X = 5;
    Root->Tick().Left_Button_Held = true;
    Root->Input().Right_Button_Held = true;
    Close("Dlg Menu", Menu_Resume);
    EXPECT_EQ(Count_Of("Dlg Menu"), 0);
    EXPECT_EQ(Root->Message_Dlg, nullptr);
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->X, saved_x);
    EXPECT_EQ(Player()->Y, saved_y);
    EXPECT_TRUE(Root->Is_World_Running());
    EXPECT_EQ(Root->Tick().Pending_Command, Command_None);
    EXPECT_EQ(Root->Tick().Target_X, 0);
    EXPECT_FALSE(Root->Tick().Left_Button_Held);
    EXPECT_FALSE(Root->Input().Right_Button_Held);
}

TEST_F(ScreenFlow, ExportTellsOfSuccessOnlyWhenTheFileWasWritten) {
    // Each row: the player's name; whether the characters folder is blocked by a plain file; the caption
    // of the one message then shown ("" none); whether the character file exists.
    struct TRow {
        std::string Name;
        bool Blocked;
        std::string Caption;
        bool Written;
    };
    const std::vector<TRow> rows = {
        {"Hero", false, "Экспорт персонажа", true},
        {"Hero", true, "Error", false},
        {"../Hero", false, "", false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name + (row.Blocked ? " blocked" : ""));
        Prepare();
        if (row.Blocked) {
            fs::remove_all(Folder->File("Characters"));
            Folder->Write("Characters", "not a folder");
        }
        Start_To_Menu();
        Start_New_Game();
        Game->key(27);
        ASSERT_NE(Player(), nullptr);
        Player()->Name = row.Name;
        Root->Export_Character();
        if (row.Caption.empty()) {
            EXPECT_EQ(Root->Message_Dlg, nullptr);
        } else {
            ASSERT_NE(Root->Message_Dlg, nullptr);
            EXPECT_EQ(Root->Message_Dlg->Caption, row.Caption);
        }
        EXPECT_EQ(fs::is_regular_file(Folder->File("Characters/Hero.dat")), row.Written);
    }
}

TEST_F(ScreenFlow, GameMenuQuitClosesTheWindowOnTheNextFrame) {
    Start_To_Menu();
    Start_New_Game();
    Game->key(27);
    Root->Open_Game_Dialog(TDialog_Kind::Game_Menu);
    EXPECT_TRUE(Root->Is_Paused());
    EXPECT_TRUE(Game->find("Game Menu")->Modal);
    Close("Game Menu", Game_Menu_Quit);
    EXPECT_FALSE(Root->Is_Paused());
    EXPECT_FALSE(Game->closed());
    Game->frame();
    EXPECT_TRUE(Game->closed());
}

} // namespace
