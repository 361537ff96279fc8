// Each in-game dialog drawn over a black page with the program folder's own pictures and button sheets and
// the headless fixed-metric font, compared with its reference picture by block means.
#include "core/MachineOptions.h"
#include "media/FrameDump.h"
#include "media/Sounds.h"
#include "platform/RegistryStore.h"
#include "tests/support/FrameReference.h"
#include "tests/ui/UiFixture.h"
#include "ui/DCDlgDead.h"
#include "ui/DCDlgGameMenu.h"
#include "ui/DCDlgHighScores.h"
#include "ui/DCDlgLoadSave.h"
#include "ui/DCDlgOptions.h"

#include <filesystem>

namespace {

class Game_Dialog_Frames : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        // Only the pictures the dialogs use, copied from the program folder the build assembles, so nothing
        // a dialog writes (slots, scores) lands there.
        std::vector<std::string> pictures = {"Dlg_GameMenu.bmp", "Dlg_LoadSave.bmp", "Dlg_HighScores.bmp",
                                             "Dlg_Dead.bmp"};
        for (const char* sheet : Interface_File_Names) pictures.push_back(sheet);
        std::filesystem::create_directories(Folder.File("Pictures/SysPics"));
        for (const std::string& picture : pictures)
            std::filesystem::copy_file(std::string(MURK_RUNTIME_DIR) + "/Pictures/SysPics/" + picture,
                                       Folder.File("Pictures/SysPics/" + picture));
        Make_Display().Load_Interface_Bitmaps();
        plat::Install_Registry_Store(std::make_unique<plat::TMemory_Registry_Store>());
        Machine_Options() = TMachine_Options{};
        Install_Sounds(std::make_shared<TSounds>(std::make_shared<plat::THeadless_Audio_Backend>()));
    }
    void TearDown() override {
        Install_Sounds(nullptr);
        plat::Install_Registry_Store(nullptr);
        Machine_Options() = TMachine_Options{};
        TUi_Test::TearDown();
    }
    ::testing::AssertionResult Frame_Matches(TDisplay_Class& dialog, const std::string& name) {
        dialog.Center_On_Screen(name, true);
        dialog.Set_Visible(true);
        Clear_Page();
        dialog.Draw(0);
        TFrame frame;
        if (!Read_Buffer_Frame(0, frame)) return ::testing::AssertionFailure() << "no page";
        return Matches_Reference(frame, name);
    }
};

TEST_F(Game_Dialog_Frames, EachDialogMatchesItsReference) {
    {
        TDC_Dlg_Game_Menu menu;
        EXPECT_TRUE(Frame_Matches(menu, "game_menu"));
    }
    {
        Machine_Options().Autosave_Every_5_Minutes = true;
        Machine_Options().Dont_Autosave = false;
        Machine_Options().Game_Speed_Modified_Percent = 10;
        TDC_Dlg_Options options;
        EXPECT_TRUE(Frame_Matches(options, "options"));
    }
    {
        TDC_Dlg_Load_Save box;
        box.Set_Save_Mode();
        box.Slot_Field(2).Text = "Before the barrow";
        box.Slot_Click("Opt 2");
        EXPECT_TRUE(Frame_Matches(box, "load_save"));
    }
    {
        TDC_Dlg_HighScores table;
        table.Scores = THigh_Scores_List{};
        table.Scores.Add("Brann", "Fighter", 12, 1234567);
        table.Scores.Add("Ysolde", "Mage", 4, 950);
        EXPECT_TRUE(Frame_Matches(table, "high_scores"));
    }
    {
        TDC_Dlg_Dead dead;
        dead.Character_Name = "Ayla";
        dead.Level = 5;
        dead.Experience = 12345;
        dead.Killer_Name = "Barrow King";
        dead.Killer_Level = 7;
        EXPECT_TRUE(Frame_Matches(dead, "death"));
    }
    EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
}

} // namespace
