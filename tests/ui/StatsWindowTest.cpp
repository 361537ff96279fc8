// The statistics window: the help entry of the field under the mouse, and the player's values drawn over
// the picture in the fixed-metric font.
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "media/DisplayObject.h"
#include "tests/ui/UiFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCWinStats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t L = 195, T = 147;
constexpr uint32_t Peach = 0xFFCB97;

class Stats_Window : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        Write_Picture("Pictures/SysPics/Win_Stats.bmp", 304, 172, [](int32_t, int32_t) { return 0x405060u; });
        Loaded_Display();
        Install_Current_Map(std::make_unique<TMap>());
        TMonster creature;
        creature.Name = "Hero";
        creature.Set_Position(100, 100);
        Hero = Current_Map()->Monster_List.Add_Monster(creature);
        Set_Player(Hero);
        Root.Set_Position("Main Window", 0, 0, Screen_Width, Screen_Height, false);
        Root.Set_Visible(true);
        Window = std::make_unique<TDC_Win_Stats>();
        Window->Set_Position_At("Win Stats", L, T, false);
        Window->Set_Visible(true);
        Root.Add_Child_Control(Window.get());
    }
    void TearDown() override {
        Root.Remove_Child_Control(Window.get());
        Window.reset();
        TUi_Test::TearDown();
    }

    TDisplay_Class Root;
    std::unique_ptr<TDC_Win_Stats> Window;
    TMonster* Hero = nullptr;
};

TEST_F(Stats_Window, HoverGivesTheFieldsHelpEntry) {
    struct TPoint {
        int32_t X, Y, Help_Id; // from the window's corner
    };
    const TPoint points[] = {
        {12, 14, 12},  {78, 37, 12},   {78, 38, 13},   {12, 60, 13},  {79, 20, 0},
        {80, 14, 14},  {146, 37, 14},  {146, 60, 15},  {146, 61, 16}, {12, 83, 16},
        {60, 100, 17}, {12, 106, 17},  {146, 129, 18}, {12, 130, 0},  {11, 14, 0},
        {12, 13, 0},   {147, 50, 0},   {150, 14, 19},  {284, 37, 19}, {200, 50, 20},
        {150, 83, 21}, {284, 106, 22}, {150, 129, 23}, {285, 129, 0}, {200, 150, 0},
    };
    for (const TPoint& p : points) {
        Set_Cursor_Target_Item(9);
        Root.MouseMove(0, L + p.X, T + p.Y);
        EXPECT_EQ(Cursor_Target().Kind, p.Help_Id ? Cursor_Target_Help : Cursor_Target_None)
            << p.X << "," << p.Y;
        EXPECT_EQ(Cursor_Target().Help_Id, p.Help_Id) << p.X << "," << p.Y;
        EXPECT_EQ(Cursor_Target().Item_Id, 0) << p.X << "," << p.Y;
    }
}

TEST_F(Stats_Window, DrawsThePlayersValues) {
    Hero->Strength = 17;
    Hero->Intelligence = 9;
    Hero->Dexterity = 14;
    Hero->Constitution = 12;
    Hero->Level = 3;
    Hero->Attack = 44;
    Hero->Defense = 31;
    Hero->Fire_Resist = 25;
    Hero->Cold_Resist = 0;
    Hero->Lightning_Resist = 5;
    Hero->Magic_Resist = 100;
    Hero->Poison_Resist = 60;
    Hero->Physical_Resist = 77;
    Shown();
    Root.Draw(0);
    EXPECT_EQ(Page_Pixel(L, T), 0x405060u);
    EXPECT_EQ(Page_Pixel(L + 303, T + 171), 0x405060u);
    EXPECT_EQ(Page_Pixel(L + 304, T + 171), 0u);
    const auto at = [](const std::string& text, int32_t x, int32_t y, int32_t h) {
        return At(text, x, y, h, 4, 2, Peach);
    };
    const std::vector<TShown_Text> expected = {
        at("17", 266, 183, 3),
        at("9", 266, 206, 3),
        at("14", 335, 183, 3),
        at("12", 335, 206, 3),
        at("44", 266, 229, 3),
        at(Hero->Hit_Chance_Text(), 306, 229, 2),
        at("31", 266, 252, 3),
        at(Hero->Miss_Chance_Text(), 306, 252, 2),
        at(Hero->Damage_Text(), 335, 275, 3),
        at("25%", 473, 183, 3),
        at("0%", 473, 206, 3),
        at("5%", 473, 229, 3),
        at("100%", 473, 252, 3),
        at("60%", 473, 275, 3),
    };
    std::vector<TShown_Text> shown = Shown();
    // An empty damage text (no weapon) draws nothing the raster sees.
    std::vector<TShown_Text> wanted;
    for (const TShown_Text& t : expected)
        if (t.Text.find_first_not_of(' ') != std::string::npos) wanted.push_back(t);
    EXPECT_EQ(shown, wanted);

    // While drawing is suppressed, or without a player, only the picture.
    Display_Object()->Drawing_Suppressed = 1;
    Root.Draw(0);
    EXPECT_TRUE(Shown().empty());
    Display_Object()->Drawing_Suppressed = 0;
    Set_Player(nullptr);
    Clear_Page();
    Root.Draw(0);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(Page_Pixel(L + 100, T + 100), 0x405060u);
}

// A picture that cannot be read is reported and the window goes on without it.
TEST_F(Stats_Window, MissingPictureIsReported) {
    std::filesystem::remove(Folder.File("Pictures/SysPics/Win_Stats.bmp"));
    TDC_Win_Stats window;
    ASSERT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(Messages->Messages[0].Caption, "Error");
    EXPECT_EQ(Messages->Messages[0].Text,
              "Unable to load bitmap " + Path_Settings()->Get_SysPics_Picture("Win_Stats.bmp") + ".");
    window.Set_Position_At("Win Stats", L, T, false);
    window.Set_Visible(true);
    Clear_Page();
    Set_Player(nullptr);
    window.Draw(0);
    EXPECT_FALSE(Page_Has_Pixels());
}

} // namespace
