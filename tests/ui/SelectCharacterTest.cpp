// The character choice alone under a root control, driven by clicks and typed keys: the checks of a new
// character in order, the portraits of a class, stored characters shown, refused, taken up and deleted.
#include "core/CharClass.h"
#include "core/GameOptions.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/SaveGame.h"
#include "core/Spells.h"
#include "tests/ui/FrontEndData.h"
#include "tests/ui/FrontEndFixture.h"
#include "ui/DCButton.h"
#include "ui/DCDlgMessage.h"
#include "ui/DCDlgSelectCharacter.h"
#include "ui/DCEditText.h"
#include "ui/DCList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class TSelect_Character_Test : public TFront_End_Test {
protected:
    void SetUp() override {
        TFront_End_Test::SetUp();
        Folder.Write("Data/Classes.txt", Front_Classes_File());
        Folder.Write("Data/Spells.txt", Front_Spells_File());
        // Every portrait but the Mage's second has a picture of its own colour.
        for (const auto& [name, colour] :
             std::vector<std::pair<std::string, uint32_t>>{{"Fighter_1.bmp", 0x102030},
                                                           {"Fighter_2.bmp", 0x203040},
                                                           {"Fighter_3.bmp", 0x304050},
                                                           {"Mage_1.bmp", 0x405060}})
            Write_Picture("Pictures/Monsters/" + name, 54, 54, [colour](int32_t, int32_t) { return colour; });
        ASSERT_TRUE(Load_Master_Spells());
        ASSERT_TRUE(Load_Class_Info());
        ASSERT_TRUE(Display_Object()->Alloc_Map_Buffers());
        std::filesystem::create_directories(Folder.Path() + "Characters");
    }
    void TearDown() override {
        Free_Class_Info();
        Free_Master_Spells();
        TFront_End_Test::TearDown();
    }

    // A stored character of the Fighter class.
    void Store(const std::string& file_name, uint8_t state, int32_t gold, int32_t experience,
               const std::string& data_set = "") {
        TMonster character;
        Make_New_Character(character, 1, 2, file_name.substr(0, file_name.find('.')));
        character.Gold = gold;
        character.Experience = experience;
        character.Character_State = state;
        character.Module_Name = data_set;
        ASSERT_TRUE(Save_Character(character, Folder.Path() + "Characters/" + file_name));
    }

    void Open_Dialog(TDC_Dlg_Select_Character& dialog) {
        dialog.Set_Character(&Target);
        Open(dialog, "Dlg Select Character");
    }
    void Click_OK(TDC_Dlg_Select_Character& d) { Click(d.Left + 255 + 1, d.Top + 432 + 1); }
    void Click_Portrait(TDC_Dlg_Select_Character& d, int32_t i) {
        Click(d.Left + 344 + 38 * ((i - 1) % 8) + 2, d.Top + 220 + 38 * ((i - 1) / 8) + 2);
    }
    void Click_Line(TDC_Dlg_Select_Character& d, int32_t n) {
        Click(d.Left + 35 + 40, d.Top + 148 + 16 * (n - 1) + 8);
    }
    void Click_Existing(TDC_Dlg_Select_Character& d) { Click(d.Left + 175 + 2, d.Top + 79 + 2); }
    void Click_New(TDC_Dlg_Select_Character& d) { Click(d.Left + 148 + 2, d.Top + 79 + 2); }
    void Click_Delete(TDC_Dlg_Select_Character& d) { Click(d.Left + 33 + 1, d.Top + 432 + 1); }
    // The caption and text of the open message box; empty without one.
    static std::string Message_Caption(const TDC_Dlg_Select_Character& d) {
        return d.Message_Box() ? d.Message_Box()->Caption : std::string();
    }
    static std::string Message_Text(const TDC_Dlg_Select_Character& d) {
        return d.Message_Box() ? d.Message_Box()->Text : std::string();
    }

    TMonster Target;
};

TEST_F(TSelect_Character_Test, NewCharacterChecksByClicksAndKeys) {
    Folder.Write("Characters/Bob.dat", "x");
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    EXPECT_EQ(dialog.Left, 52);
    EXPECT_EQ(dialog.Top, 48);
    EXPECT_EQ(dialog.Selected_Class(), 1); // class line 1 is selected at creation

    Click_OK(dialog);
    EXPECT_EQ(Message_Caption(dialog), "Портрет персонажа");
    EXPECT_EQ(Message_Text(dialog), "Выберите портрет вашего персонажа.");
    Key(27); // closes the box, not the dialog
    EXPECT_EQ(dialog.Message_Box(), nullptr);
    EXPECT_FALSE(dialog.Kill);

    Click_Portrait(dialog, 3);
    EXPECT_EQ(dialog.Selected_Portrait(), 3);
    Click_OK(dialog);
    EXPECT_EQ(Message_Caption(dialog), "Имя персонажа");
    EXPECT_EQ(Message_Text(dialog), "Введите имя вашего персонажа.");
    Key(27);

    Type("bob");
    EXPECT_EQ(dialog.Name_Field().Text, "bob");
    Click_OK(dialog);
    EXPECT_EQ(Message_Text(dialog), "Персонаж с таким именем уже существует.");
    Frame();
    EXPECT_NE(Drawn("Имя персонажа"), nullptr); // the box is drawn, over the dialog
    // While the box is open it takes every key: the name does not change.
    Type("x");
    EXPECT_EQ(dialog.Name_Field().Text, "bob");
    Key(27);

    Type("by");
    Click_OK(dialog);
    EXPECT_EQ(dialog.Message_Box(), nullptr);
    EXPECT_TRUE(dialog.Kill);
    EXPECT_EQ(dialog.Get_Result(), Select_Character_New);
    EXPECT_EQ(Target.Name, "bobby");
    EXPECT_EQ(Target.Class_Name, "Fighter");
    EXPECT_EQ(Target.Picture, "Fighter_3.bmp");
    EXPECT_EQ(Target.Gold, 7);
    EXPECT_EQ(Target.Level, 1);
    EXPECT_EQ(Target.Spells.Count(), 1);
    EXPECT_FALSE(std::filesystem::exists(Folder.Path() + "Characters/bobby.dat")); // nothing written yet
}

TEST_F(TSelect_Character_Test, WithoutClassesOKAsksForAClassAndEscapeTwiceCancels) {
    Free_Class_Info();
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    EXPECT_EQ(dialog.Class_List().Line_Count(), 0);
    EXPECT_EQ(dialog.Selected_Class(), 0);
    Frame(); // no class, no portraits: nothing to draw and nothing breaks
    Click_Portrait(dialog, 1);
    EXPECT_EQ(dialog.Selected_Portrait(), 0);
    Click_OK(dialog);
    EXPECT_EQ(Message_Caption(dialog), "Класс персонажа");
    EXPECT_EQ(Message_Text(dialog), "Выберите класс персонажа из списка.");
    Key(27);
    EXPECT_FALSE(dialog.Kill);
    Key(27);
    EXPECT_TRUE(dialog.Kill);
    EXPECT_EQ(dialog.Get_Result(), Select_Character_Cancel);
}

TEST_F(TSelect_Character_Test, PortraitsOfAClass) {
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    struct TCase {
        int32_t click, selected;
    };
    // The Fighter has three portraits: buttons past them select nothing and keep the choice.
    const std::vector<TCase> cases = {{4, 0}, {40, 0}, {2, 2}, {9, 2}, {3, 3}, {1, 1}};
    for (const TCase& c : cases) {
        Click_Portrait(dialog, c.click);
        EXPECT_EQ(dialog.Selected_Portrait(), c.selected) << c.click;
        for (int32_t i = 1; i <= 40; ++i)
            EXPECT_EQ(dialog.Portrait_Button(i).Image_Index, i == c.selected ? 1 : 0) << c.click << " " << i;
    }
    // Another class clears the choice.
    Click_Line(dialog, 2);
    EXPECT_EQ(dialog.Selected_Class(), 2);
    EXPECT_EQ(dialog.Selected_Portrait(), 0);
    EXPECT_EQ(dialog.Portrait_Button(1).Image_Index, 0);
}

TEST_F(TSelect_Character_Test, PortraitPicturesAreDrawnOnlyForTheClassPortraits) {
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    const TPortrait_Map& map = dialog.Portrait_Map();
    EXPECT_EQ(map.Portrait_Count(1), 3);
    EXPECT_EQ(map.Portrait_Count(2), 2);
    EXPECT_GE(map.Picture_Cell(1, 1), 0);
    EXPECT_EQ(map.Picture_Cell(1, 4), -1);
    Frame();
    // Each portrait's picture fills its button's middle; button 4 shows only the button's own face.
    const uint32_t face = Gx_Rgb_To_Color(71, 71, 71);
    const auto middle = [&](int32_t i) {
        return Raw(0, dialog.Left + 344 + 38 * (i - 1) + 19, dialog.Top + 220 + 19);
    };
    EXPECT_EQ(middle(1), Gx_Rgb_To_Color(0x10, 0x20, 0x30));
    EXPECT_EQ(middle(3), Gx_Rgb_To_Color(0x30, 0x40, 0x50));
    EXPECT_EQ(middle(4), face);
    Click_Line(dialog, 2);
    Frame(); // the Mage's second portrait has no picture file: nothing is drawn for it
    EXPECT_EQ(middle(1), Gx_Rgb_To_Color(0x40, 0x50, 0x60));
    EXPECT_EQ(middle(2), face);
    EXPECT_EQ(middle(3), face);
}

TEST_F(TSelect_Character_Test, NewModeTexts) {
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    Frame();
    const auto* title = Drawn("Класс персонажа");
    const auto* detail = Drawn("Детализация");
    const auto* name_label = Drawn("Имя персонажа:");
    const auto* portrait_label = Drawn("Выберите портрет:");
    ASSERT_TRUE(title && detail && name_label && portrait_label);
    EXPECT_EQ(Centre_X(*title), dialog.Left + 174);
    EXPECT_EQ(Centre_Y(*title), dialog.Top + 127);
    EXPECT_EQ(Centre_X(*detail), dialog.Left + 496);
    EXPECT_EQ(name_label->X, dialog.Left + 344);
    EXPECT_EQ(Bottom_Y(*name_label), dialog.Top + 180);
    EXPECT_EQ(Bottom_Y(*portrait_label), dialog.Top + 219);
    const auto* description = Drawn("Fighter ");
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->X, dialog.Left + 335);
    EXPECT_EQ(description->Rgb, 0xC8C8C8u);
    EXPECT_EQ(Drawn("Имена персонажей"), nullptr);
}

TEST_F(TSelect_Character_Test, StoredCharactersAreListedWithoutTheirEnding) {
    Store("Zed.dat", Character_Available, 5, 0);
    Store("anna.DAT", Character_Available, 5, 0);
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    EXPECT_FALSE(dialog.File_List().Visible);
    Click_Existing(dialog);
    EXPECT_FALSE(dialog.New_Mode());
    EXPECT_TRUE(dialog.File_List().Visible);
    EXPECT_FALSE(dialog.Class_List().Visible);
    EXPECT_FALSE(dialog.Portrait_Button(1).Visible);
    ASSERT_EQ(dialog.File_List().Line_Count(), 2);
    EXPECT_EQ(dialog.File_List().Lines[0], "anna");
    EXPECT_EQ(dialog.File_List().Lines[1], "Zed");
    EXPECT_EQ(dialog.Preview(), nullptr);
    // OK with no line asks for one.
    Click_OK(dialog);
    EXPECT_EQ(Message_Caption(dialog), "Select Character");
    Key(27);
    // Clicking "Opt Existing" again keeps the mode; "Opt New" goes back.
    Click_Existing(dialog);
    EXPECT_FALSE(dialog.New_Mode());
    Click_New(dialog);
    EXPECT_TRUE(dialog.New_Mode());
    EXPECT_TRUE(dialog.Class_List().Visible);
    EXPECT_FALSE(dialog.File_List().Visible);
}

TEST_F(TSelect_Character_Test, StoredCharacterStates) {
    struct TCase {
        uint8_t state;
        bool taken;
        int32_t gold, experience;
    };
    const std::vector<TCase> cases = {
        {Character_In_Use, false, 0, 0},
        {Character_Dead, true, 3, 0},
        {Character_Available, true, 7, 90},
    };
    for (const TCase& c : cases) {
        Store("Ann.dat", c.state, 7, 90);
        TMonster target;
        TDC_Dlg_Select_Character dialog;
        dialog.Set_Character(&target);
        Open(dialog, "Dlg Select Character");
        Click_Existing(dialog);
        Click_Line(dialog, 1);
        ASSERT_NE(dialog.Preview(), nullptr);
        EXPECT_EQ(dialog.Preview()->Name, "Ann");
        Click_OK(dialog);
        EXPECT_EQ(dialog.Kill, c.taken) << int{c.state};
        if (c.taken) {
            EXPECT_EQ(dialog.Get_Result(), Select_Character_Existing);
            EXPECT_EQ(target.Name, "Ann");
            EXPECT_EQ(target.Gold, c.gold);
            EXPECT_EQ(target.Experience, c.experience);
            EXPECT_EQ(target.Character_State, Character_Available);
        } else {
            EXPECT_EQ(Message_Caption(dialog), "Character Unavailable");
            EXPECT_EQ(target.Name, "");
        }
        if (dialog.Parent) dialog.Parent->Remove_Child_Control(&dialog);
    }
}

TEST_F(TSelect_Character_Test, StoredCharacterPreview) {
    Store("Ann.dat", Character_Dead, 12345, 2500, "Other");
    Game_Options()->Character_Data_Set = "Barrow";
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    Click_Existing(dialog);
    Click_Line(dialog, 1);
    Frame();
    const int32_t x = dialog.Left + 330, y = dialog.Top + 68;
    const auto* title = Drawn("Имена персонажей");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(Centre_X(*title), dialog.Left + 174);
    const auto* name = Drawn("Ann");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->X, x + 58);
    EXPECT_EQ(Bottom_Y(*name), y + 28);
    const auto* class_name = Drawn("Fighter");
    ASSERT_NE(class_name, nullptr);
    EXPECT_EQ(Bottom_Y(*class_name), y + 44);
    EXPECT_EQ(class_name->Rgb, 0x969696u);
    const auto* gold = Drawn(Int_To_Str_Grouped(12345));
    ASSERT_NE(gold, nullptr);
    EXPECT_EQ(Right_X(*gold), x + 174);
    EXPECT_EQ(Bottom_Y(*gold), y + 154);
    const TMonster& preview = *dialog.Preview();
    const auto* life =
        Drawn(std::to_string(static_cast<int32_t>(preview.Life)) + " / " + std::to_string(preview.Max_Life));
    ASSERT_NE(life, nullptr);
    EXPECT_EQ(Right_X(*life), x + 318);
    EXPECT_EQ(Bottom_Y(*life), y + 135);
    const auto* fire = Drawn(std::to_string(preview.Fire_Resist) + "%");
    ASSERT_NE(fire, nullptr);
    EXPECT_EQ(Bottom_Y(*fire), y + 186);
    // The other data set only informs.
    const auto* note = Drawn("Персонаж ");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->X, dialog.Left + 337);
    EXPECT_NE(Drawn("набора "), nullptr);
    Click_OK(dialog);
    EXPECT_EQ(dialog.Get_Result(), Select_Character_Existing);
}

TEST_F(TSelect_Character_Test, DeleteLeavesNoSelectionAndNoPreview) {
    Store("Ann.dat", Character_Available, 5, 0);
    Store("Bea.dat", Character_Available, 5, 0);
    TDC_Dlg_Select_Character dialog;
    Open_Dialog(dialog);
    Click_Existing(dialog);
    Click_Line(dialog, 1);
    ASSERT_NE(dialog.Preview(), nullptr);
    Click_Delete(dialog);
    EXPECT_FALSE(dialog.Kill); // the delete button shares OK's name but not its handler
    EXPECT_FALSE(std::filesystem::exists(Folder.Path() + "Characters/Ann.dat"));
    EXPECT_TRUE(std::filesystem::exists(Folder.Path() + "Characters/Bea.dat"));
    EXPECT_EQ(dialog.File_List().Line_Count(), 1);
    EXPECT_EQ(dialog.File_List().Get_Selected_Index(), 0);
    EXPECT_EQ(dialog.Preview(), nullptr);
    Click_Delete(dialog); // nothing selected: nothing deleted
    EXPECT_TRUE(std::filesystem::exists(Folder.Path() + "Characters/Bea.dat"));
}

} // namespace
