// The status panel, the equipment slots and the root's choice of picture: bars by pixel samples, the face
// cell by its source in the coded misc sheet, the numbers and names from the text recorder.
#include "core/Item.h"
#include "tests/ui/GameScreenFixture.h"

#include <string>
#include <utility>
#include <vector>

namespace {

class Status_Panel : public TGame_Screen_Test {
protected:
    TMonster& Hero() {
        if (!Player()) Add_Player(100, 100);
        return *Player();
    }
};

TEST_F(Status_Panel, BarsFillTheShareOfTheirMaximumAndNeverMore) {
    struct TCase {
        const char* What;
        double Life, Mana;
        uint16_t Max_Life;
        int32_t Max_Mana;
        uint16_t Food, Max_Food, Weight, Max_Weight;
        int32_t Life_Width, Mana_Width, Food_Width, Load_Width;
    };
    const TCase cases[] = {
        {"empty life, no mana at all", 0, 0, 50, 0, 10, 10, 0, 40, 0, 0, 101, 0},
        {"life above its maximum", 60, 12.9, 50, 50, 1, 100, 41, 40, 101, 24, 1, 101},
        {"life below zero", -5, 50, 50, 50, 99, 100, 1, 100, 0, 101, 99, 1},
        {"zero maxima", 10, 10, 0, 0, 5, 0, 5, 0, 0, 0, 0, 0},
    };
    struct TBar_Probe {
        int32_t Top;
        uint32_t Colour;
    };
    for (const TCase& c : cases) {
        Clear_Page();
        TMonster& hero = Hero();
        hero.Life = c.Life;
        hero.Max_Life = c.Max_Life;
        hero.Mana = c.Mana;
        hero.Max_Mana = c.Max_Mana;
        hero.Food = c.Food;
        hero.Max_Food = c.Max_Food;
        hero.Weight = c.Weight;
        hero.Max_Weight = c.Max_Weight;
        Draw_Status_Panel(0);
        const std::pair<TBar_Probe, int32_t> bars[] = {{{15, Rgb(255, 0, 0)}, c.Life_Width},
                                                       {{42, Rgb(0, 0, 255)}, c.Mana_Width},
                                                       {{69, Rgb(0, 203, 0)}, c.Food_Width},
                                                       {{96, Rgb(255, 187, 47)}, c.Load_Width}};
        for (const auto& [bar, width] : bars) {
            const std::string what = std::string(c.What) + ", bar at " + std::to_string(bar.Top);
            // Columns 400 and the bar's last are clear of the centred number over it.
            EXPECT_EQ(Page(400, bar.Top) == bar.Colour, width > 0) << what;
            EXPECT_EQ(Page(400, bar.Top + 12) == bar.Colour, width > 0) << what;
            EXPECT_NE(Page(400, bar.Top + 13), bar.Colour) << what;
            EXPECT_NE(Page(399, bar.Top), bar.Colour) << what;
            if (width > 0) {
                EXPECT_EQ(Page(400 + width - 1, bar.Top), bar.Colour) << what;
            }
            EXPECT_NE(Page(400 + width, bar.Top), bar.Colour) << what;
        }
    }
}

TEST_F(Status_Panel, TheFaceFollowsTheStatusAndTheShareOfLife) {
    struct TCase {
        uint8_t Status;
        double Life;
        uint16_t Max_Life;
        int32_t Face;
    };
    const TCase cases[] = {
        {Status_Normal, 81, 100, 0}, {Status_Normal, 80, 100, 1},
        {Status_Normal, 61, 100, 1}, {Status_Normal, 60, 100, 2},
        {Status_Normal, 41, 100, 2}, {Status_Normal, 40, 100, 3},
        {Status_Normal, 21, 100, 3}, {Status_Normal, 20, 100, 4},
        {Status_Normal, 6, 100, 4},  {Status_Normal, 5, 100, 5},
        {Status_Normal, -3, 100, 5}, {Status_Normal, 10, 0, 5},
        {Status_Panic, 100, 100, 6}, {Status_Poisoned, 1, 100, 7},
        {Status_Blind, 1, 100, 0},   {Status_Allegiance_Changed, 1, 100, 0},
    };
    for (const TCase& c : cases) {
        TMonster& hero = Hero();
        hero.Status = c.Status;
        hero.Life = c.Life;
        hero.Max_Life = c.Max_Life;
        Draw_Status_Panel(0);
        // Face row cells are 23 x 23 from row 71 of the misc sheet.
        EXPECT_EQ(Page(370 + 5, 117 + 7), Sheet_Pixel(Sheet_Misc, 23 * c.Face + 5, 71 + 7))
            << "status " << int(c.Status) << ", life " << c.Life << " of " << c.Max_Life;
    }
}

TEST_F(Status_Panel, NamesAndNumbersInTheirStylesAndColours) {
    TMonster& hero = Hero();
    hero.Name = "Bjorn";
    hero.Class_Name = "Fighter";
    hero.Level = 7;
    hero.Experience = 1234567;
    hero.Gold = 45678;
    hero.Life = 33.9;
    hero.Max_Life = 40;
    hero.Mana = 2.5;
    hero.Max_Mana = 9;
    hero.Food = 300;
    hero.Max_Food = 1000;
    hero.Weight = 12;
    hero.Max_Weight = 120;
    hero.Status = Status_Poisoned;
    Text->Calls.clear();
    Draw_Status_Panel(0);
    std::vector<std::pair<std::string, uint32_t>> texts;
    for (const auto& call : Text->Calls) texts.emplace_back(call.Text, call.Rgb);
    const uint32_t white = 0xFFFFFF, grey = 0x969696;
    // No class record: no next level.
    EXPECT_EQ(texts, (std::vector<std::pair<std::string, uint32_t>>{{"Bjorn", white},
                                                                    {"Fighter", grey},
                                                                    {"7", white},
                                                                    {"1,234,567", white},
                                                                    {"0", white},
                                                                    {"45,678", white},
                                                                    {"33 / 40", white},
                                                                    {"2 / 9", white},
                                                                    {"300 / 1000", white},
                                                                    {"12 / 120", white},
                                                                    {"Отравление", white}}));
    // The name in style 3 (12 points), the numbers in style 2 (9 points).
    ASSERT_EQ(Text->Calls.size(), texts.size());
    EXPECT_EQ(Text->Calls[0].Spec.Points, 12);
    EXPECT_EQ(Text->Calls[2].Spec.Points, 9);
}

TEST_F(Status_Panel, NothingWithoutAPlayerOrWhileDrawingIsSuppressed) {
    Draw_Status_Panel(0);
    Draw_Equipment(0, View);
    EXPECT_FALSE(Page_Has_Pixels());
    EXPECT_TRUE(Text->Calls.empty());
    Hero();
    Display_Obj->Drawing_Suppressed = 1;
    Draw_Status_Panel(0);
    EXPECT_FALSE(Page_Has_Pixels());
    EXPECT_TRUE(Text->Calls.empty());
}

TEST_F(Status_Panel, HudButtonsTellOfPointsToSpendAndChangedQuests) {
    struct TCase {
        int16_t Attribute_Points, Skill_Points;
        uint8_t Quests_Changed;
        int32_t Quests, Statistics, Spells;
    };
    const TCase cases[] = {
        {0, 0, 0, 1, 3, 4}, {2, 0, 0, 1, 5, 4}, {0, 1, 0, 1, 3, 6}, {0, 0, 1, 7, 3, 4}, {-1, -1, 0, 1, 3, 4}};
    for (const TCase& c : cases) {
        TMonster& hero = Hero();
        hero.Attribute_Points = c.Attribute_Points;
        hero.Skill_Points = c.Skill_Points;
        hero.Quests_Changed = c.Quests_Changed;
        const THud_Button_Images images = Hud_Button_Images(hero);
        EXPECT_EQ(images.Quests, c.Quests);
        EXPECT_EQ(images.Statistics, c.Statistics);
        EXPECT_EQ(images.Spells, c.Spells);
    }
}

TEST_F(Status_Panel, EquipmentSlotsShowTheirItemsOverTheBackgroundAndTheRefusedMark) {
    struct TSlot {
        int32_t Slot, X, Y;
    };
    const TSlot slots[] = {{1, 80, 16},   {2, 121, 29}, {3, 80, 61},   {4, 80, 106}, {5, 80, 186},
                           {6, 121, 106}, {7, 39, 106}, {8, 121, 146}, {9, 39, 146}, {10, 16, 65}};
    for (const TSlot& s : slots) {
        int32_t x = -1, y = -1;
        Get_Equipment_Slot_Position(s.Slot, x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(s.X, s.Y)) << "slot " << s.Slot;
    }
    for (const int32_t outside : {0, 11, -1}) {
        int32_t x = -1, y = -1;
        Get_Equipment_Slot_Position(outside, x, y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0)) << outside;
    }

    TMonster& hero = Hero();
    TItem sword;
    sword.Name = "Sword";
    sword.Picture_Index = 4;
    for (const int32_t slot : {6, 10}) {
        TItem* stored = Map->Item_List.Item(Map->Item_List.Add(&sword));
        ASSERT_TRUE(hero.Inventory.Put_In_Slot(stored, slot));
    }
    View.Invalid_Slot = 3;
    Draw_Equipment(0, View);
    // The items through the world model, each over the background drawn first.
    EXPECT_EQ(Take_World(), (std::vector<std::string>{"Item(0, 121, 106, 0, 4)", "Item(0, 16, 65, 0, 4)"}));
    // Direction icon 2 is the general sheet's cell 25 (32 x 32 cells, 11 a row); the refused mark the
    // general sheet's icon at 224, 0.
    const uint32_t background = Sheet_Pixel(Sheet_General, 32 * (25 % 11) + 3, 32 * (25 / 11) + 3);
    const uint32_t refused = Sheet_Pixel(Sheet_General, 224 + 3, 3);
    for (const TSlot& s : slots) {
        const uint32_t expected = s.Slot == 6 || s.Slot == 10 ? background : s.Slot == 3 ? refused : 0;
        EXPECT_EQ(Page(s.X + 3, s.Y + 3), expected) << "slot " << s.Slot;
    }
}

TEST_F(Status_Panel, TheRootDrawsTheFirstScreenThatApplies) {
    using R = TRoot_Drawing;
    struct TCase {
        const char* What;
        TRoot_Screens Screens;
        R Drawing;
    };
    TRoot_Screens error_over_menu;
    error_over_menu.Error_List = error_over_menu.Main_Menu = true;
    TRoot_Screens intro;
    intro.Intro_Or_Developer = intro.Main_Menu = true;
    TRoot_Screens menu;
    menu.Main_Menu = menu.Progress = true;
    TRoot_Screens progress_keeping;
    progress_keeping.Progress = progress_keeping.Front_End_Choice = true;
    TRoot_Screens progress_own = progress_keeping;
    progress_own.Progress_Draws_Own = true;
    TRoot_Screens choice;
    choice.Front_End_Choice = true;
    TRoot_Screens from_menu;
    from_menu.Menu_Dialog_From_Menu = true;
    const TCase cases[] = {
        {"error list first", error_over_menu, R::Black_Page},
        {"intro", intro, R::Black_Page},
        {"menu before progress", menu, R::Menu_Background},
        {"progress keeps the last picture", progress_keeping, R::Nothing},
        {"progress with its own background", progress_own, R::Black_Page},
        {"front-end choice", choice, R::Black_Page},
        {"dialog opened from the menu", from_menu, R::Black_Page},
        {"the game", TRoot_Screens{}, R::Game_Screen},
    };
    for (const TCase& c : cases) EXPECT_EQ(Choose_Root_Drawing(c.Screens), c.Drawing) << c.What;
}

} // namespace
