// The headless driver as screen tests and scripts use it: the tree's lines, finding controls, scripts
// replayed command by command, and the lines a script refuses.
#include "tests/ui/MainWindowFixture.h"

#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "ui/DlgMain.h"
#include "ui/HeadlessPlayer.h"

#include <filesystem>

namespace {

TEST_F(TMain_Window_Test, TheTreeShowsEachControlWithItsPlaceAndFlags) {
    if (!Message_Boxes_Built) GTEST_SKIP() << "the message box is not part of this build";
    ASSERT_TRUE(Game->start());
    Show_Message("Caption", "Text");
    Get_Main_Window()->Enabled = false;
    const std::vector<std::string> tree = Game->tree();
    ASSERT_GE(tree.size(), 2u);
    EXPECT_EQ(tree[0], "TDC_Main \"Main Window\" 0,0 800x600 V----");
    EXPECT_EQ(tree[1], "  TDC_Dlg_Message \"Message Dlg\" 245,193 309x213 VEMT-");
    // The box's own controls one level further in.
    for (size_t i = 2; i < tree.size(); ++i) EXPECT_EQ(tree[i].rfind("    T", 0), 0u) << tree[i];
    Game->find("Message Dlg")->Set_Kill_Object(1);
    EXPECT_EQ(Game->tree()[1], "  TDC_Dlg_Message \"Message Dlg\" 245,193 309x213 VEMTK");
    EXPECT_EQ(Game->find("Nothing"), nullptr);
}

TEST_F(TMain_Window_Test, AScriptDrivesTheGameAndDumpsItsFrames) {
    const std::string dumps = Folder.Make_Folder("dumps");
    std::string error;
    ASSERT_TRUE(Game->Run_Script("# a comment\r\n"
                                 "start -mapgen\n"
                                 "\n"
                                 "run 120\n"
                                 "tick 3\n"
                                 "dump first.bmp\n"
                                 "click 400 247 result=1\n",
                                 dumps, error))
        << error;
    EXPECT_EQ(Program_Arguments(), std::vector<std::string>{"-mapgen"});
    EXPECT_EQ(Game->Command_Options.at("result"), "1");
    EXPECT_EQ(Game->now(), 120u);
    EXPECT_TRUE(std::filesystem::exists(dumps + "first.bmp"));
    EXPECT_EQ(std::filesystem::file_size(dumps + "first.bmp"), 54u + 800u * 600u * 3u);
    ASSERT_TRUE(Game->Run_Script("shutdown\n", dumps, error));
    EXPECT_TRUE(Game->closed());
    EXPECT_EQ(Game->log().back(), "DlgMain: TDlg_Main.FormDestroy - End");
}

TEST_F(TMain_Window_Test, AScriptStopsAtALineThatIsNotACommand) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"run\n", "line 1: run"},
        {"start\nrun ten\n", "line 2: run ten"},
        {"run -5", "line 1: run -5"},
        {"click 10", "line 1: click 10"},
        {"press 1 2 3", "line 1: press 1 2 3"},
        {"key 70000", "line 1: key 70000"},
        {"type ä", "line 1: type ä"},
        {"dump", "line 1: dump"},
        {"jump 1 2", "line 1: jump 1 2"},
    };
    for (const auto& [script, expected] : cases) {
        SCOPED_TRACE(script);
        std::string error;
        EXPECT_FALSE(Game->Run_Script(script, Folder.Path(), error));
        EXPECT_EQ(error, expected);
    }
}

} // namespace

TEST(HeadlessPlayerTarget, ScriptWordsNameOneTargetOrNone) {
    struct TCase {
        std::vector<std::string> Words;
        bool Ok;
        TPlay_Target::TKind Kind;
        std::string Name;
        int32_t X, Y, Number;
    };
    const TCase cases[] = {
        {{"creature", "Village", "Elder"}, true, TPlay_Target::Creature, "Village Elder", 0, 0, 0},
        {{"item", "Barrow", "Relic"}, true, TPlay_Target::Item, "Barrow Relic", 0, 0, 0},
        {{"chest"}, true, TPlay_Target::Chest, "", 0, 0, 0},
        {{"entrance", "2"}, true, TPlay_Target::Entrance, "", 0, 0, 2},
        {{"entrance"}, true, TPlay_Target::Entrance, "", 0, 0, 0},
        {{"square", "12", "200"}, true, TPlay_Target::Square, "", 12, 200, 0},
        {{"creature"}, false, {}, "", 0, 0, 0},
        {{"chest", "big"}, false, {}, "", 0, 0, 0},
        {{"entrance", "0"}, false, {}, "", 0, 0, 0},
        {{"entrance", "x"}, false, {}, "", 0, 0, 0},
        {{"entrance", "1", "2"}, false, {}, "", 0, 0, 0},
        {{"square", "3"}, false, {}, "", 0, 0, 0},
        {{"square", "-1", "4"}, false, {}, "", 0, 0, 0},
        {{"door"}, false, {}, "", 0, 0, 0},
        {{}, false, {}, "", 0, 0, 0},
    };
    for (const TCase& c : cases) {
        TPlay_Target target;
        const bool ok = Parse_Play_Target(c.Words, target);
        EXPECT_EQ(ok, c.Ok) << testing::PrintToString(c.Words);
        if (!ok || !c.Ok) continue;
        EXPECT_EQ(target.Kind, c.Kind);
        EXPECT_EQ(target.Name, c.Name);
        EXPECT_EQ(std::vector<int32_t>({target.X, target.Y, target.Number}),
                  std::vector<int32_t>({c.X, c.Y, c.Number}));
    }
}
