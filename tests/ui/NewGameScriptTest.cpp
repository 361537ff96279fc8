// The new-game script (tests/e2e/new_game.script) run through the headless game over a whole program folder
// with the default module: intro, menu, module, difficulty, character, the module created and its text,
// the game screen with the world running, a walk, the inventory window shown and hidden, shut-down. The
// script runs in sections; at each mark the test checks the game. Where the game screen's own input is not
// there yet, the walk target is set as a click on the map would set it.
#include "core/DebugLog.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Terrain.h"
#include "tests/ui/GameRootFixture.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace {

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

class NewGameScript : public TGame_Root_Test {
protected:
    // Nothing went wrong so far: no platform box, no message or error list, no exception logged.
    void Expect_Clean(const std::string& mark) {
        SCOPED_TRACE(mark);
        EXPECT_TRUE(Game->boxes().empty());
        EXPECT_EQ(Game->find("Message Dlg"), nullptr);
        EXPECT_EQ(Game->find("Error List Dlg"), nullptr);
        for (const std::string& line : Game->log())
            EXPECT_EQ(line.find("EXCEPTION"), std::string::npos) << line;
    }
    // A free floor square 3 squares from the player, as a click on its view cell would give.
    bool Walk_Target(int32_t& x, int32_t& y) {
        const TMonster* player = Player();
        TMap* map = Current_Map();
        if (!player || !map) return false;
        for (int32_t dx = -3; dx <= 3; ++dx)
            for (int32_t dy = -3; dy <= 3; ++dy) {
                x = player->X + dx;
                y = player->Y + dy;
                if (Distance(x, y, player->X, player->Y) != 3 || x < 1 || y < 1 || x > 200 || y > 200)
                    continue;
                if (map->Is_Free_Here(*map->Get_Square(x, y), Movement_Land)) return true;
            }
        return false;
    }
};

TEST_F(NewGameScript, PlaysFromTheIntroToTheGameScreen) {
    Module_Name = "Barrowdeep";
    std::ifstream in(std::string(MURK_TEST_DATA_DIR) + "/../e2e/new_game.script", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream script;
    script << in.rdbuf();
    Game->Root_Factory = [this, factory_of = Game->Root_Factory] {
        auto root = factory_of();
        // The script's own "result=" words answer the stand-ins.
        Root->Factory().Next_Result = [this] { return Result_Option(Game->Command_Options); };
        return root;
    };
    int32_t start_x = 0, start_y = 0, target_x = 0, target_y = 0;
    for (const auto& [mark, body] : Sections(script.str())) {
        std::string error;
        ASSERT_TRUE(Game->Run_Script(body, Folder->Path(), error)) << mark << ": " << error;
        SCOPED_TRACE(mark);
        if (mark == "menu") {
            EXPECT_EQ(Game->find("Dlg Intro"), nullptr);
            EXPECT_EQ(Count_Of("Dlg Menu"), 1);
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
            ASSERT_TRUE(Walk_Target(target_x, target_y));
            start_x = Player()->X;
            start_y = Player()->Y;
            Root->Tick().Pending_Command = Command_Walk;
            Root->Tick().Target_X = target_x;
            Root->Tick().Target_Y = target_y;
        } else if (mark == "walked") {
            ASSERT_NE(Player(), nullptr);
            EXPECT_LT(Distance(Player()->X, Player()->Y, target_x, target_y),
                      Distance(start_x, start_y, target_x, target_y));
            EXPECT_EQ(Root->Tick().Pending_Command, Command_None);
        } else if (mark == "inventory-shown") {
            EXPECT_TRUE(Game->find("Win Inventory")->Visible);
        } else if (mark == "inventory-hidden") {
            EXPECT_FALSE(Game->find("Win Inventory")->Visible);
        } else if (mark == "end") {
            EXPECT_TRUE(std::ifstream(Folder->File("game.bmp")).good());
            ASSERT_FALSE(Game->log().empty());
            EXPECT_EQ(Game->log().back(), "DlgMain: TDlg_Main.FormDestroy - End");
        }
        Expect_Clean(mark);
    }
}

} // namespace
