// The window's start-up and shut-down: the steps and their log lines in order, the display-mode test and
// its fall-backs, failures that end the program cleanly, and shut-down freeing only what exists.
#include "tests/ui/MainWindowFixture.h"

#include "core/GameSettings.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "platform/DisplayBackend.h"
#include "ui/DlgMain.h"

#include <algorithm>
#include <set>

namespace {

const std::vector<std::string> Start_Up_Lines = {
    "TDlg_Main.FormCreate - Start",
    "  Setup_Global_Vars",
    "  Create_Primary_Global_Structs",
    "  Load_Primary_Global_Structs",
    "  Init Form Vars",
    "  Testing Modes",
    "  Testing - 800x600 16bit)",
    "  gx_modetest = 0",
    "    (800x600 16bit)",
    "  Set Form Style",
    "  DDSetup",
    "    (DDStatus = 0)",
    "    (DDUsage = -1)",
    "  GetDC",
    "  gx_setdc",
    "  Left, top, visible",
    "  gx_vbinit",
    "  gx_ddusage",
    "  DirectX Version = 7",
    "  gx_vbdepth",
    "  Workspace = gx_vballoc",
    "  OnActivate",
    "  gx_vbopen",
    "  gx_mouseini",
    "  TDisplay_Object.create",
    "  Create_Global_Structs",
    "  TDC_Main.create",
    "  Load_External_Resources",
    "  Load_Global_Structs",
    "  DisplayInv_Init",
    "  tmr_move.enabled := true",
    "  Set_Actions_Disabled(false)",
    "TDlg_Main.FormCreate - End",
};

ptrdiff_t Position(const std::vector<std::string>& lines, const std::string& line) {
    const auto at = std::find(lines.begin(), lines.end(), line);
    return at == lines.end() ? -1 : at - lines.begin();
}

TEST_F(TMain_Window_Test, StartUpLogsItsStepsInOrderAndShutDownEndsTheLog) {
    ASSERT_TRUE(Game->start());
    EXPECT_EQ(Game->log().front().rfind("General: ***************** ", 0), 0u);
    EXPECT_EQ(Lines_Of("DlgMain"), Start_Up_Lines);
    // The global structures' own lines lie between the steps that call them.
    const std::vector<std::pair<std::string, std::string>> inside = {
        {"DlgMain:   Create_Primary_Global_Structs", "Struct: Create_Primary_Global_Structs - End"},
        {"DlgMain:   Load_Primary_Global_Structs", "Struct: Load_Primary_Global_Structs - End"},
        {"DlgMain:   Create_Global_Structs", "Struct: Create_Global_Structs - End"},
        {"DlgMain:   Load_Global_Structs", "Struct: Load_Global_Structs - End"},
    };
    for (const auto& [step, line] : inside) {
        const ptrdiff_t s = Position(Game->log(), step), l = Position(Game->log(), line);
        ASSERT_GE(s, 0) << step;
        ASSERT_GT(l, s) << line;
        EXPECT_EQ(Game->log()[static_cast<size_t>(s + 1)].rfind("Struct: ", 0), 0u) << step;
    }
    EXPECT_TRUE(Game->boxes().empty());
    ASSERT_NE(Game->find("Main Window"), nullptr);
    EXPECT_EQ(Game->tree(), std::vector<std::string>{"TDC_Main \"Main Window\" 0,0 800x600 VE---"});

    Game->shutdown();
    const std::vector<std::string> tail = {
        "DlgMain: TDlg_Main.FormDestroy - Start",    "Struct: Free_Global_Structs - Start",
        "Struct: Free_Global_Structs - End",         "Struct: Free_Primary_Global_Structs - Start",
        "Struct: Free_Primary_Global_Structs - End", "DlgMain: TDlg_Main.FormDestroy - End"};
    ASSERT_GE(Game->log().size(), tail.size());
    EXPECT_EQ(
        std::vector<std::string>(Game->log().end() - static_cast<ptrdiff_t>(tail.size()), Game->log().end()),
        tail);
    EXPECT_EQ(Display_Object(), nullptr);
    EXPECT_EQ(Game_Settings(), nullptr);
    EXPECT_TRUE(Game->display().Cursor_Visible);
}

TEST_F(TMain_Window_Test, TheModeTestFallsBackAndTheDepthSetIsTheOneUsed) {
    struct TCase {
        std::set<int32_t> Refused_Tests, Refused_Sets;
        std::vector<int32_t> Tried; // depths whose test was logged
        int32_t Depth;              // the settings' depth and the page's afterwards; 0 when start-up failed
    };
    const std::vector<TCase> cases = {
        {{}, {}, {16}, 16},
        {{16}, {}, {16, 24}, 24},
        {{16, 24}, {}, {16, 24, 32}, 32},
        // The mode test passes at 24 but the screen takes only 32: the page's depth is the one kept.
        {{16}, {24}, {16, 24}, 32},
        {{16, 24, 32}, {}, {16, 24, 32}, 0},
        // The mode set at 16 has no other depth to fall back to.
        {{}, {16}, {16}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.Tried) + " depth " + std::to_string(c.Depth));
        Game.reset();
        Game = std::make_unique<HeadlessGame>(Folder.Path());
        Game->display().Refused_Test_Depths = c.Refused_Tests;
        Game->display().Refused_Set_Depths = c.Refused_Sets;
        const bool started = Game->start();
        EXPECT_EQ(started, c.Depth != 0);
        std::vector<int32_t> tried;
        for (const std::string& line : Lines_Of("DlgMain"))
            if (line.rfind("  Testing - 800x600 ", 0) == 0) tried.push_back(std::stoi(line.substr(20)));
        EXPECT_EQ(tried, c.Tried);
        if (started) {
            ASSERT_NE(Game_Settings(), nullptr);
            EXPECT_EQ(Game_Settings()->Color_Depth, c.Depth);
            ASSERT_NE(Gx_Buffer_Surface(0), nullptr);
            EXPECT_EQ(Gx_Buffer_Surface(0)->Bits, c.Depth);
            EXPECT_TRUE(Game->boxes().empty());
            continue;
        }
        // A failed start-up creates no root, shows why and still shuts down to its last line.
        EXPECT_TRUE(Game->closed());
        EXPECT_EQ(Position(Game->log(), "DlgMain:   TDC_Main.create"), -1);
        EXPECT_EQ(Position(Game->log(), "Struct: Free_Global_Structs - Start"), -1);
        EXPECT_GE(Position(Game->log(), "Struct: Free_Primary_Global_Structs - Start"), 0);
        EXPECT_EQ(Game->log().back(), "DlgMain: TDlg_Main.FormDestroy - End");
        ASSERT_EQ(Game->boxes().size(), 1u);
        if (c.Refused_Tests.size() == 3)
            EXPECT_EQ(Game->boxes()[0],
                      "Error: Your machine does not support a resolution of 800x600 16bit color.");
        else
            EXPECT_EQ(Game->boxes()[0], "Error: gx_vbinit = -1");
    }
}

TEST_F(TMain_Window_Test, AnExceptionInStartUpIsLoggedShownAndShutDownRuns) {
    Game->Root_Factory = []() -> std::unique_ptr<TDC_Main> { throw std::runtime_error("no root today"); };
    EXPECT_FALSE(Game->start());
    EXPECT_GE(Position(Game->log(), "General: EXCEPTION in start-up: no root today"), 0);
    EXPECT_EQ(Game->boxes(), std::vector<std::string>{"Error: no root today"});
    // What was made before the fault is freed, in order.
    EXPECT_GE(Position(Game->log(), "Struct: Free_Global_Structs - End"), 0);
    EXPECT_EQ(Game->log().back(), "DlgMain: TDlg_Main.FormDestroy - End");
    EXPECT_EQ(Display_Object(), nullptr);
    EXPECT_EQ(Game_Settings(), nullptr);
}

TEST_F(TMain_Window_Test, MessagesReachTheRootWhileItExistsAndTheLogBeforeAndAfter) {
    if (!Message_Boxes_Built) GTEST_SKIP() << "the message boxes are not part of this build";
    Show_Message("Before", "no window yet");
    ASSERT_TRUE(Game->start());
    Show_Message("Ошибка", "Unable to save");
    Show_Message("Second", "dropped while one is open");
    TString_List errors{"line 1", "line 2"};
    Show_Data_File_Errors(errors, "Terrain Data File Errors: ", "a.txt");
    ASSERT_NE(Game->find("Message Dlg"), nullptr);
    ASSERT_NE(Game->find("Error List Dlg"), nullptr);
    EXPECT_EQ(Get_Main_Window()->Child_Count(), 2);
    Game->shutdown();
    Show_Message("After", "the window is gone");
    EXPECT_EQ(Game->boxes(),
              (std::vector<std::string>{"Before: no window yet", "After: the window is gone"}));
    EXPECT_GE(Position(Game->log(), "General: Before: no window yet"), 0);
}

} // namespace
