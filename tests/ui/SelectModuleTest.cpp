// The module choice alone under a root control: the listed entries, what a click on a line reads, OK and
// Cancel.
#include "core/CharClass.h"
#include "core/GameOptions.h"
#include "core/Path.h"
#include "core/Struct.h"
#include "tests/ui/FrontEndData.h"
#include "tests/ui/FrontEndFixture.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DCList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TSelect_Module_Test : public TFront_End_Test {
protected:
    void SetUp() override {
        TFront_End_Test::SetUp();
        Folder.Write("Modules/b/Data/ModuleData.txt", "no records here\r\n");
        Folder.Write("Modules/A/Data/ModuleData.txt",
                     Module_Data_File("Курган у деревни.", "Для новичков.", "SetA"));
        Folder.Write("Modules/A/Data/Classes.txt", Data_File_Text({Front_Class("Ranger", 1, 10, 5, "Bash")}));
        Folder.Write("Modules/file", "a plain file");
        Folder.Write("Modules/.hidden/Data/ModuleData.txt", Module_Data_File("x", "y", "z"));
        Folder.Write("Data/Classes.txt", Front_Classes_File());
    }
    void TearDown() override {
        Free_Class_Info();
        TFront_End_Test::TearDown();
    }
    // A click on line n of the list (16 pixels a line from its top).
    void Click_Line(TDC_Dlg_Select_Module& dialog, int32_t n) {
        Click(dialog.Left + 35 + 40, dialog.Top + 68 + 16 * (n - 1) + 8);
    }
    void Click_OK(TDC_Dlg_Select_Module& dialog) { Click(dialog.Left + 255 + 1, dialog.Top + 432 + 1); }
};

TEST_F(TSelect_Module_Test, ListsFoldersAndFilesSortedIgnoringCase) {
    TDC_Dlg_Select_Module dialog;
    Open(dialog, "Dlg Select Module");
    TDC_List& list = dialog.Module_List();
    ASSERT_EQ(list.Line_Count(), 3);
    Frame();
    const std::vector<std::string> drawn = Drawn_Texts();
    for (const char* entry : {"A", "b", "file"}) EXPECT_NE(Drawn(entry), nullptr) << entry;
    EXPECT_LT(Drawn("A")->Y, Drawn("b")->Y);
    EXPECT_LT(Drawn("b")->Y, Drawn("file")->Y);
    EXPECT_EQ(list.Get_Selected_Index(), 0);
    const auto* left_title = Drawn("       Доступные модули       ");
    const auto* right_title = Drawn(" Детализация  ");
    ASSERT_NE(left_title, nullptr);
    ASSERT_NE(right_title, nullptr);
    EXPECT_EQ(Centre_X(*left_title), dialog.Left + 171);
    EXPECT_EQ(Centre_Y(*left_title), dialog.Top + 47);
    EXPECT_EQ(Centre_X(*right_title), dialog.Left + 495);
}

TEST_F(TSelect_Module_Test, OKWithoutALineDoesNothing) {
    TDC_Dlg_Select_Module dialog;
    Open(dialog, "Dlg Select Module");
    Click_OK(dialog);
    EXPECT_FALSE(dialog.Kill);
    EXPECT_EQ(dialog.Get_Result(), 0);
}

TEST_F(TSelect_Module_Test, ALineIsReadAtOnceAndABrokenOneKeepsThePreviousTexts) {
    TDC_Dlg_Select_Module dialog;
    Open(dialog, "Dlg Select Module");
    Click_Line(dialog, 1);
    EXPECT_EQ(Path_Settings()->Get_Module_Name(), "A/");
    EXPECT_EQ(dialog.Description(), "Курган у деревни.");
    EXPECT_EQ(dialog.Difficulty_Description(), "Для новичков.");
    EXPECT_EQ(dialog.Character_Data_Set(), "SetA");
    Frame();
    const auto* description = Drawn("Курган ");
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->X, dialog.Left + 338);
    EXPECT_EQ(description->Rgb, 0xFFFFFFu);

    Click_Line(dialog, 2); // "b": its data file has no record
    EXPECT_EQ(Path_Settings()->Get_Module_Name(), "b/");
    EXPECT_EQ(dialog.Description(), "Курган у деревни.");
    EXPECT_EQ(dialog.Character_Data_Set(), "SetA");
    EXPECT_FALSE(dialog.Kill);

    // OK takes the selected module with the data set last read.
    Click_OK(dialog);
    EXPECT_TRUE(dialog.Kill);
    EXPECT_EQ(dialog.Get_Result(), Select_Module_OK);
    EXPECT_EQ(dialog.Get_Module_Name(), "b");
    EXPECT_EQ(Game_Options()->Character_Data_Set, "SetA");
}

TEST_F(TSelect_Module_Test, OKMakesTheModuleDataTakeOver) {
    ASSERT_TRUE(Load_Class_Info());
    ASSERT_EQ(Get_Class(1)->Name, "Fighter");
    TDC_Dlg_Select_Module dialog;
    Open(dialog, "Dlg Select Module");
    Click_Line(dialog, 1);
    Click_OK(dialog);
    EXPECT_EQ(dialog.Get_Result(), Select_Module_OK);
    EXPECT_EQ(dialog.Get_Module_Name(), "A");
    EXPECT_EQ(Path_Settings()->Get_Module_Name(), "A/");
    EXPECT_EQ(Game_Options()->Character_Data_Set, "SetA");
    ASSERT_NE(Get_Class(1), nullptr);
    EXPECT_EQ(Get_Class(1)->Name, "Ranger");
}

TEST_F(TSelect_Module_Test, CancelAndEscape) {
    for (const bool escape : {false, true}) {
        TDC_Dlg_Select_Module dialog;
        Open(dialog, "Dlg Select Module");
        Click_Line(dialog, 1);
        if (escape)
            Key(27);
        else
            Click(dialog.Left + 463 + 1, dialog.Top + 432 + 1);
        EXPECT_TRUE(dialog.Kill);
        EXPECT_EQ(dialog.Get_Result(), Select_Module_Cancel);
        EXPECT_EQ(Game_Options()->Character_Data_Set, "");
        if (dialog.Parent) dialog.Parent->Remove_Child_Control(&dialog);
    }
}

} // namespace
