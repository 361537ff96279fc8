// Frames of the front-end dialogs with the shipped pictures, compared with the committed references and
// written under frames/ of the build tree.
#include "core/CharClass.h"
#include "core/Clock.h"
#include "core/DisplayEffects.h"
#include "core/Monster.h"
#include "core/SaveGame.h"
#include "core/Spells.h"
#include "core/Struct.h"
#include "platform/PathLayer.h"
#include "tests/ui/FrontEndData.h"
#include "tests/ui/FrontEndFixture.h"
#include "ui/DCDlgDifficulty.h"
#include "ui/DCDlgIntro.h"
#include "ui/DCDlgMenu.h"
#include "ui/DCDlgProgress.h"
#include "ui/DCDlgSelectCharacter.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DlgMain.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class TFront_End_Frames_Test : public TFront_End_Test {
protected:
    void SetUp() override {
        TFront_End_Test::SetUp();
        Use_Shipped_Media();
    }
};

TEST_F(TFront_End_Frames_Test, Intro) {
    Set_Manual_Clock(0);
    TDC_Dlg_Intro intro;
    Open(intro, "Dlg Intro", false);
    Frame();
    Use_System_Clock();
    EXPECT_TRUE(Page_Matches("intro"));
}

TEST_F(TFront_End_Frames_Test, MenuAndCredits) {
    TDC_Dlg_Menu menu;
    Open(menu, "Dlg Menu");
    Frame();
    EXPECT_TRUE(Page_Matches("menu"));
    menu.ControlButtonClick("Menu Button 5");
    Frame();
    EXPECT_TRUE(Page_Matches("credits"));
}

TEST_F(TFront_End_Frames_Test, SelectModule) {
    Folder.Write("Modules/Barrowdeep/Data/ModuleData.txt",
                 Module_Data_File("Деревня стоит у древнего кургана, и по ночам из-под холма слышен стук.",
                                  "Для героев первого уровня.", "Barrowdeep"));
    Folder.Write("Modules/Marsh/Data/ModuleData.txt", Module_Data_File("Болото.", "Трудно.", "Marsh"));
    TDC_Dlg_Select_Module dialog;
    Open(dialog, "Dlg Select Module");
    Click(dialog.Left + 75, dialog.Top + 68 + 8);
    Frame();
    EXPECT_TRUE(Page_Matches("select_module"));
}

TEST_F(TFront_End_Frames_Test, Difficulty) {
    TDC_Dlg_Difficulty dialog;
    Open(dialog, "Dlg Difficulty");
    Frame();
    EXPECT_TRUE(Page_Matches("difficulty"));
}

TEST_F(TFront_End_Frames_Test, Progress) {
    TDC_Dlg_Progress box;
    Open(box, "Dlg Progress");
    box.Set_Caption("Создание модуля");
    box.Set_Percent(40);
    Frame();
    EXPECT_TRUE(Page_Matches("progress"));
}

class TCharacter_Frames_Test : public TFront_End_Frames_Test {
protected:
    void SetUp() override {
        TFront_End_Frames_Test::SetUp();
        std::filesystem::copy(
            std::filesystem::path(MURK_RUNTIME_DIR) / "Data", std::filesystem::path(Folder.Path()) / "Data",
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        EXPECT_TRUE(Load_Global_Structs());
        ASSERT_GT(Class_Count(), 0);
        ASSERT_TRUE(Display_Object()->Alloc_Map_Buffers());
    }
    void TearDown() override {
        Free_Class_Info();
        Free_Master_Spells();
        Free_Display_Effects();
        TFront_End_Frames_Test::TearDown();
    }
};

TEST_F(TCharacter_Frames_Test, NewCharacter) {
    TMonster target;
    TDC_Dlg_Select_Character dialog;
    dialog.Set_Character(&target);
    Open(dialog, "Dlg Select Character");
    Click(dialog.Left + 344 + 38 + 2, dialog.Top + 220 + 2); // portrait 2
    Type("Brom");
    Root.MouseDown(Mouse_Button_Left, Shift_Left, dialog.Left + 344 + 38 + 2, dialog.Top + 220 + 2);
    Frame();
    EXPECT_TRUE(Page_Matches("char_new"));
}

TEST_F(TCharacter_Frames_Test, ExistingCharacter) {
    TMonster stored;
    Make_New_Character(stored, 1, 1, "Brom");
    stored.Gold = 1234;
    ASSERT_TRUE(Save_Character(stored, Folder.Path() + "Characters/Brom.dat"));
    TDC_Dlg_Select_Character dialog;
    Open(dialog, "Dlg Select Character");
    Click(dialog.Left + 175 + 2, dialog.Top + 79 + 2); // "Opt Existing"
    Click(dialog.Left + 75, dialog.Top + 148 + 8);
    Frame();
    EXPECT_TRUE(Page_Matches("char_existing"));
}

} // namespace
