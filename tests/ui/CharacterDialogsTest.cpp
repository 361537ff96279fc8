// The statistics, the skill list and the quick-bar editor over a new shipped Fighter (three skill groups:
// Оружие with Sword Mastery and Archery, Стойкость with Toughness and Stone Skin, Магия with Heal and Cure
// Poison), driven by clicks as the player would, the player's record checked after.
#include "core/Effects.h"
#include "tests/ui/PlayerDialogsFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCDlgSpellsAdd.h"
#include "ui/DCDlgSpellsSelect.h"
#include "ui/DCDlgStatistics.h"

#include <algorithm>
#include <functional>

namespace {

bool Contains(const std::vector<TShown_Text>& shown, const TShown_Text& text) {
    return std::find(shown.begin(), shown.end(), text) != shown.end();
}

std::vector<int> Words(const TWordList& list) {
    std::vector<int> out;
    for (int32_t n = 1; n <= list.Count(); ++n) out.push_back(list.Get(n));
    return out;
}

class Character_Dialogs : public TPlayer_Dialog_Test {};

// ---------------------------------------------------------------------------------------------------------
// Statistics

TEST_F(Character_Dialogs, StatisticsShowThePlayersValuesAtTheirPlaces) {
    Hero->Attribute_Points = 3;
    Hero->Life = 41.9;
    Hero->Status = Status_Poisoned;
    auto& dialog = Owner.Open<TDC_Dlg_Statistics>("Statistics Dlg");
    Frame();
    const std::vector<TShown_Text> shown = Shown();
    const int32_t l = dialog.Left, t = dialog.Top;
    constexpr uint32_t Peach = 0xFFCB97, White = 0xFFFFFF;
    const TMonster& h = *Hero;
    const auto pair = [](int64_t a, int64_t b) { return std::to_string(a) + " / " + std::to_string(b); };
    const std::vector<TShown_Text> expected = {
        At("Статистика", l + 167, t + 34, 2, 2, 6, 0),
        At("Доступно 3, выберите параметры.", l + 152, t + 370, 2, 2, 2, White),
        At(std::to_string(h.Strength), l + 209, t + 76, 3, 4, 2, Peach),
        At(std::to_string(h.Intelligence), l + 209, t + 101, 3, 4, 2, Peach),
        At(std::to_string(h.Dexterity), l + 209, t + 126, 3, 4, 2, Peach),
        At(std::to_string(h.Constitution), l + 209, t + 151, 3, 4, 2, Peach),
        At(pair(41, h.Max_Life), l + 148, t + 192, 3, 4, 2, Peach),
        At(pair(static_cast<int64_t>(h.Mana), h.Max_Mana), l + 148, t + 217, 3, 4, 2, Peach),
        At(pair(h.Food, h.Max_Food), l + 148, t + 242, 3, 4, 2, Peach),
        At(pair(h.Weight, h.Max_Weight), l + 148, t + 267, 3, 4, 2, Peach),
        At(std::to_string(h.Attack), l + 80, t + 292, 3, 4, 2, Peach),
        At(std::to_string(h.Defense), l + 80, t + 317, 3, 4, 2, Peach),
        At(h.Hit_Chance_Text(), l + 122, t + 292, 2, 4, 2, Peach),
        At(h.Miss_Chance_Text(), l + 122, t + 317, 2, 4, 2, Peach),
        At(h.Damage_Text(), l + 148, t + 342, 3, 4, 2, Peach),
        At(std::to_string(h.Fire_Resist) + "%", l + 295, t + 192, 3, 4, 2, Peach),
        At(std::to_string(h.Cold_Resist) + "%", l + 295, t + 217, 3, 4, 2, Peach),
        At(std::to_string(h.Lightning_Resist) + "%", l + 295, t + 242, 3, 4, 2, Peach),
        At(std::to_string(h.Magic_Resist) + "%", l + 295, t + 267, 3, 4, 2, Peach),
        At(std::to_string(h.Poison_Resist) + "%", l + 295, t + 292, 3, 4, 2, Peach),
        At("Отравление", l + 196, t + 317, 1, 4, 2, Peach),
    };
    for (const TShown_Text& text : expected) EXPECT_TRUE(Contains(shown, text)) << text;
    // The Fighter's cold and poison resistances are 5: the two are told apart only by their places.
    EXPECT_EQ(h.Cold_Resist, 5);
    EXPECT_EQ(shown.size(), expected.size());
}

TEST_F(Character_Dialogs, EachPlusButtonSpendsAPointOnItsAttributeUntilNoneIsLeft) {
    using TBase = std::function<int16_t(const TMonster&)>;
    struct TCase {
        int32_t Button;
        TBase Raised;
    };
    const TCase cases[] = {
        {1, [](const TMonster& m) { return m.Base_Strength; }},
        {2, [](const TMonster& m) { return m.Base_Intelligence; }},
        {3, [](const TMonster& m) { return m.Base_Dexterity; }},
        {4, [](const TMonster& m) { return m.Base_Constitution; }},
    };
    const auto bases = [](const TMonster& m) {
        return std::vector<int>{m.Base_Strength, m.Base_Intelligence, m.Base_Dexterity, m.Base_Constitution};
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Button);
        Hero->Attribute_Points = 2;
        auto& dialog = Owner.Open<TDC_Dlg_Statistics>("Statistics Dlg");
        const int16_t before = c.Raised(*Hero);
        std::vector<int> others = bases(*Hero);
        Click_On(dialog.Plus_Button(c.Button));
        EXPECT_EQ(c.Raised(*Hero), before + 1);
        EXPECT_EQ(Hero->Attribute_Points, 1);
        for (int32_t n = 1; n <= 4; ++n) EXPECT_TRUE(dialog.Plus_Button(n).Visible);
        Click_On(dialog.Plus_Button(c.Button));
        EXPECT_EQ(c.Raised(*Hero), before + 2);
        EXPECT_EQ(Hero->Attribute_Points, 0);
        // The last point hides all four at once; a click where they were raises nothing more.
        for (int32_t n = 1; n <= 4; ++n) EXPECT_FALSE(dialog.Plus_Button(n).Visible) << n;
        Click_On(dialog.Plus_Button(c.Button));
        EXPECT_EQ(c.Raised(*Hero), before + 2);
        others[static_cast<std::size_t>(c.Button - 1)] += 2;
        EXPECT_EQ(bases(*Hero), others);
        Frame();
        for (const TShown_Text& text : Shown()) EXPECT_EQ(text.Text.find("Доступно"), std::string::npos);
        Key(27);
    }
    // The raise reaches the effective value the dialog shows.
    EXPECT_EQ(Hero->Strength, 18);
}

TEST_F(Character_Dialogs, StatisticsWithoutPointsHideThePlusButtons) {
    Hero->Attribute_Points = 0;
    auto& dialog = Owner.Open<TDC_Dlg_Statistics>("Statistics Dlg");
    for (int32_t n = 1; n <= 4; ++n) EXPECT_FALSE(dialog.Plus_Button(n).Visible);
    // Points gained while it is open (a level up) show the buttons at the next frame.
    Hero->Attribute_Points = 5;
    Frame();
    for (int32_t n = 1; n <= 4; ++n) EXPECT_TRUE(dialog.Plus_Button(n).Visible);
    EXPECT_EQ(dialog.Plus_Button(3).Left, dialog.Left + 220);
    EXPECT_EQ(dialog.Plus_Button(3).Top, dialog.Top + 105);
}

// ---------------------------------------------------------------------------------------------------------
// The skill list

TEST_F(Character_Dialogs, TheSkillListShowsTheChosenGroupsSpellsWithTheirMarks) {
    auto& dialog = Owner.Open<TDC_Dlg_Spells_Add>("Spells Add Dlg");
    const uint16_t sword = Spell_Id("Sword Mastery"), archery = Spell_Id("Archery"),
                   toughness = Spell_Id("Toughness"), stone = Spell_Id("Stone Skin"), heal = Spell_Id("Heal"),
                   cure = Spell_Id("Cure Poison");
    struct TCase {
        const char* Toggle;
        std::vector<int> Spells, Marks;
    };
    // Cure Poison comes at level 3 and Heal at 6: the level-1 Fighter cannot learn them.
    const TCase cases[] = {
        {"Opt 1", {sword, archery}, {1, 1}},   {"Opt 2", {toughness, stone}, {1, 1}},
        {"Opt 3", {heal, cure}, {0, 0}},       {"Opt 6", {}, {}},
        {"Opt 2", {toughness, stone}, {1, 1}}, {"Opt 5", {}, {}},
    };
    EXPECT_EQ(dialog.Chosen_Group(), 1);
    // The six toggles are small square buttons down the left side, under their names.
    for (int32_t n = 1; n <= TDC_Dlg_Spells_Add::Group_Count; ++n)
        EXPECT_EQ(std::vector<int>({dialog.Toggle(n).Left - dialog.Left, dialog.Toggle(n).Top - dialog.Top,
                                    dialog.Toggle(n).Button_Type, dialog.Toggle(n).Width}),
                  std::vector<int>({18, 20 + 29 * n, 1, dialog.Close_Button()->Width}))
            << n;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Toggle);
        const int32_t n = c.Toggle[4] - '0';
        Click_On(dialog.Toggle(n));
        EXPECT_EQ(dialog.Chosen_Group(), n);
        for (int32_t k = 1; k <= TDC_Dlg_Spells_Add::Group_Count; ++k)
            EXPECT_EQ(dialog.Toggle(k).Is_On(), k == n);
        EXPECT_EQ(Words(dialog.Shown_Spells()), c.Spells);
        EXPECT_EQ(Words(dialog.Learnable()), c.Marks);
    }
    // A second click on the chosen toggle keeps it chosen.
    Click_On(dialog.Toggle(5));
    EXPECT_TRUE(dialog.Toggle(5).Is_On());

    Click_On(dialog.Toggle(1));
    Hero->Skill_Points = 2;
    Shown();
    Frame();
    const std::vector<TShown_Text> shown = Shown();
    const int32_t l = dialog.Left, t = dialog.Top;
    for (const TShown_Text& text : {
             At("Список умений", l + 307, t + 32, 2, 2, 6, 0),
             At("Доступно 2, выберите умения.", l + 401, t + 263, 2, 2, 2, 0xFFFFFF),
             At("Оружие", l + 56, t + 53, 1, 5, 1, 0xFFFFFF),
             At("Стойкость", l + 56, t + 82, 1, 5, 1, 0xFFFFFF),
             At("Магия", l + 56, t + 111, 1, 5, 1, 0xFFFFFF),
             // Each picture carries the player's level at its lower right: 1 in Sword Mastery, 0 in Archery.
             At("1", l + 231 - 3 + 37, t + 52 - 3 + 40, 3, 4, 3, 0xFFFFFF),
             At("0", l + 271 - 3 + 37, t + 52 - 3 + 40, 3, 4, 3, 0xFFFFFF),
         })
        EXPECT_TRUE(Contains(shown, text)) << text;
}

TEST_F(Character_Dialogs, ALeftClickLearnsASkillOnlyWhenAllowed) {
    const uint16_t sword = Spell_Id("Sword Mastery"), archery = Spell_Id("Archery"), heal = Spell_Id("Heal");
    struct TCase {
        const char* What;
        int32_t Group, Column; // the entry clicked: column of the first row
        int32_t Points;
        std::function<void(TMonster&)> Prepare;
        int32_t Button;
        uint16_t Spell;
        int32_t Stored_After, Points_After;
    };
    const auto none = [](TMonster&) {};
    // clang-format off
    const TCase cases[] = {
        {"a known skill", 1, 1, 1, none, Mouse_Button_Left, sword, 2, 0},
        {"a new skill", 1, 2, 2, none, Mouse_Button_Left, archery, 1, 1},
        {"no points", 1, 1, 0, none, Mouse_Button_Left, sword, 1, 0},
        {"not learnable yet", 3, 1, 1, none, Mouse_Button_Left, heal, 0, 1},
        {"at its maximum", 1, 1, 1, [=](TMonster& m) { m.Spells.Set_Spell(sword, 10, 100); }, Mouse_Button_Left,
         sword, 10, 1},
        // The bonus of "Skill Levels" brings the shown level to the maximum: the stored 9 stays.
        {"at its maximum with a bonus", 1, 1, 1,
         [=](TMonster& m) { m.Spells.Set_Spell(sword, 9, 100); m.Add_Permanent_Effect(Effect_Skill_Levels, 1, 1); },
         Mouse_Button_Left, sword, 9, 1},
        {"below it with a bonus", 1, 1, 1,
         [=](TMonster& m) { m.Spells.Set_Spell(sword, 8, 100); m.Add_Permanent_Effect(Effect_Skill_Levels, 1, 1); },
         Mouse_Button_Left, sword, 9, 0},
        {"the right button", 1, 1, 1, none, Mouse_Button_Right, sword, 1, 1},
        {"beside the cell", 1, 10, 1, none, Mouse_Button_Left, sword, 1, 1},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Renew_Hero();
        Hero->Skill_Points = static_cast<int16_t>(c.Points);
        c.Prepare(*Hero);
        auto& dialog = Owner.Open<TDC_Dlg_Spells_Add>("Spells Add Dlg");
        Click_On(dialog.Toggle(c.Group));
        Played();
        Click_In(231 + 40 * (c.Column - 1) + 16, 52 + 16, c.Button);
        EXPECT_EQ(Hero->Spells.Base_Spell_Level(c.Spell), c.Stored_After);
        EXPECT_EQ(Hero->Skill_Points, c.Points_After);
        const bool learnt = c.Points_After < c.Points;
        EXPECT_EQ(Played(), learnt ? std::vector<std::string>{"button.wav"} : std::vector<std::string>{});
        // The list is built again: the level and the mark are those after learning.
        if (learnt) {
            const int32_t index = dialog.Shown_Spells().IndexOf(c.Spell);
            EXPECT_EQ(dialog.Learnable().Get(index),
                      Hero->Can_Learn_Spell(*Get_Master_Spell(c.Spell)) ? 1 : 0);
        }
        Key(27);
    }
}

TEST_F(Character_Dialogs, OnlyTheFirstFiveRowsOfTheGridTakeClicks) {
    // Fifty entries in the first group, all Sword Mastery: rows 6 and beyond are drawn but cannot be chosen.
    TClass_Info& fighter = *Get_Class(Fighter);
    for (int32_t n = 0; n < 48; ++n) {
        fighter.Spell_Names.push_back("sword mastery");
        fighter.Spell_Groups.Add(1);
        fighter.Spell_Available_Levels.Add(1);
        fighter.Spell_Starting_Levels.Add(0);
    }
    Hero->Skill_Points = 5;
    auto& dialog = Owner.Open<TDC_Dlg_Spells_Add>("Spells Add Dlg");
    ASSERT_EQ(dialog.Shown_Spells().Count(), 50);
    const uint16_t sword = Spell_Id("Sword Mastery");
    struct TCase {
        int32_t X, Y; // from the dialog's corner
        int32_t Entry;
    };
    const TCase cases[] = {
        {231, 52, 1},       {263, 84, 1},   {264, 52, 0},        {230, 52, 0},  {231 + 320, 52, 9},
        {231 + 353, 52, 0}, {231, 212, 37}, {231 + 40, 244, 38}, {231, 252, 0}, {231 + 40, 260, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
        EXPECT_EQ(dialog.Entry_At(dialog.Left + c.X, dialog.Top + c.Y), c.Entry);
    }
    Click_In(231 + 10, 252 + 10);
    EXPECT_EQ(Hero->Skill_Points, 5);
    Click_In(231 + 10, 212 + 10);
    EXPECT_EQ(Hero->Skill_Points, 4);
    EXPECT_EQ(Hero->Spells.Base_Spell_Level(sword), 2);
}

TEST_F(Character_Dialogs, TheSkillListPointsAtItsSpellsAndFillsTheQuickBarOnClosing) {
    Hero->Level = 3;
    Hero->Skill_Points = 1;
    auto& dialog = Owner.Open<TDC_Dlg_Spells_Add>("Spells Add Dlg");
    Click_On(dialog.Toggle(3));
    const int32_t x = dialog.Left + 271 + 5, y = dialog.Top + 52 + 5;
    Owner.MouseMove(0, x, y);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_Spell);
    EXPECT_EQ(Cursor_Target().Spell_Id, Spell_Id("Cure Poison"));
    Owner.MouseMove(0, dialog.Left + 400, dialog.Top + 200);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_None);
    Click(x, y);
    ASSERT_EQ(Hero->Spells.Spell_Level(Spell_Id("Cure Poison")), 1);
    // The starting Stone Skin holds the first slot; the second is empty.
    uint8_t kind = 0;
    uint16_t value = 0;
    Hero->Spells.Get_Quick_Slot(1, kind, value);
    EXPECT_EQ(std::vector<int>({kind, value}), std::vector<int>({Quick_Slot_Spell, Spell_Id("Stone Skin")}));
    Hero->Spells.Get_Quick_Slot(2, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Empty);
    Owner.MouseMove(0, x, y);
    Key(Vk_S);
    EXPECT_EQ(Owner.Closed, std::vector<std::string>{"Spells Add Dlg"});
    // The new castable spell joins the quick bar; the pointer no longer names it.
    Hero->Spells.Get_Quick_Slot(2, kind, value);
    EXPECT_EQ(std::vector<int>({kind, value}), std::vector<int>({Quick_Slot_Spell, Spell_Id("Cure Poison")}));
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_None);
}

// ---------------------------------------------------------------------------------------------------------
// The quick-bar editor

TEST_F(Character_Dialogs, ThreeSkillGroupsGiveFourPagesTheLastOfScrolls) {
    Hero->Spells.Set_Spell(Spell_Id("Heal"), 2, 100);
    Hero->Spells.Set_Spell(Spell_Id("Stone Skin"), 1, 100);
    Give_Scroll(30, "Scroll of Light");
    auto& dialog = Owner.Open<TDC_Dlg_Spells_Select>("Spells Select Dlg");
    EXPECT_EQ(dialog.Page_Count(), 4);
    struct TCase {
        int32_t Page;
        const char* Title;
        int32_t Kind;
        std::vector<int> Entries;
        bool Left_On, Right_On;
    };
    // Sword Mastery (page 1) and Toughness (page 2) are passive and never listed.
    const TCase cases[] = {
        {1, "Оружие", 1, {}, false, true},
        {2, "Стойкость", 1, {Spell_Id("Stone Skin")}, true, true},
        {3, "Магия", 1, {Spell_Id("Heal")}, true, true},
        {4, "Свитки", 2, {30}, true, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Page);
        if (c.Page > 1) Click_On(dialog.Right_Arrow);
        EXPECT_EQ(dialog.Page(), c.Page);
        EXPECT_EQ(dialog.Content_Kind(), c.Kind);
        EXPECT_EQ(Words(dialog.Entries()), c.Entries);
        EXPECT_EQ(dialog.Left_Arrow.Enabled, c.Left_On);
        EXPECT_EQ(dialog.Right_Arrow.Enabled, c.Right_On);
        Shown();
        Frame();
        EXPECT_TRUE(Contains(Shown(), At(c.Title, dialog.Left + 146, dialog.Top + 366, 2, 2, 2, 0xFFFFFF)));
    }
    // The disabled right arrow turns no further; the left one goes back.
    Click_On(dialog.Right_Arrow);
    EXPECT_EQ(dialog.Page(), 4);
    Click_On(dialog.Left_Arrow);
    EXPECT_EQ(dialog.Page(), 3);
    EXPECT_EQ(Words(dialog.Levels()), std::vector<int>{2});
}

TEST_F(Character_Dialogs, ThirteenEntriesAreShownOnTwoSubPages) {
    // Scrolls in thirteen slots, the first an equipment slot and the last the last backpack slot.
    const std::vector<int> slots = {5, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 90};
    for (const int slot : slots) Give_Scroll(slot, "Scroll " + std::to_string(slot));
    TItem weapon;
    weapon.Name = "Sword";
    weapon.Item_Type = 6;
    Hero->Inventory.Put_In_Slot(Map->Item_List.Item(Map->Item_List.Add(&weapon)), 40);
    auto& dialog = Owner.Open<TDC_Dlg_Spells_Select>("Spells Select Dlg");
    for (int32_t n = 1; n < 4; ++n) Click_On(dialog.Right_Arrow);
    EXPECT_EQ(Words(dialog.Entries()), slots);
    EXPECT_EQ(Words(dialog.Levels()), std::vector<int>(13, 0));
    EXPECT_FALSE(dialog.Page_Marker_Left.Visible);
    EXPECT_TRUE(dialog.Page_Marker_Right.Visible);
    // The twelfth cell shows slot 21, the thirteenth entry waits on the next sub-page.
    int32_t x = 0, y = 0;
    TDC_Dlg_Spells_Select::Entry_Cell(12, x, y);
    EXPECT_EQ(dialog.Entry_At(dialog.Left + x + 38, dialog.Top + y + 38), 12);
    Click_On(dialog.Page_Marker_Right);
    EXPECT_EQ(dialog.Sub_Page(), 2);
    EXPECT_TRUE(dialog.Page_Marker_Left.Visible);
    EXPECT_FALSE(dialog.Page_Marker_Right.Visible);
    TDC_Dlg_Spells_Select::Entry_Cell(1, x, y);
    EXPECT_EQ(dialog.Entry_At(dialog.Left + x, dialog.Top + y), 13);
    TDC_Dlg_Spells_Select::Entry_Cell(2, x, y);
    EXPECT_EQ(dialog.Entry_At(dialog.Left + x, dialog.Top + y), 0);
    Click_On(dialog.Page_Marker_Left);
    EXPECT_EQ(dialog.Sub_Page(), 1);
    // Turning the page starts the next one at its first sub-page.
    Click_On(dialog.Page_Marker_Right);
    Click_On(dialog.Left_Arrow);
    EXPECT_EQ(dialog.Sub_Page(), 1);
    EXPECT_FALSE(dialog.Page_Marker_Left.Visible);
    EXPECT_FALSE(dialog.Page_Marker_Right.Visible);
}

TEST_F(Character_Dialogs, TheEntryCellsLieWhereThePictureShowsThem) {
    const int xs[] = {54, 96, 54, 96, 54, 96, 161, 203, 161, 203, 161, 203};
    const int ys[] = {176, 183, 217, 224, 258, 265, 183, 176, 224, 217, 265, 258};
    for (int32_t k = 1; k <= 12; ++k) {
        int32_t x = 0, y = 0;
        TDC_Dlg_Spells_Select::Entry_Cell(k, x, y);
        EXPECT_EQ(std::vector<int>({x, y}), std::vector<int>({xs[k - 1], ys[k - 1]})) << k;
    }
    auto& dialog = Owner.Open<TDC_Dlg_Spells_Select>("Spells Select Dlg");
    const std::vector<std::pair<int, int>> slots = {{49, 74},  {89, 74},  {129, 74},  {169, 74},  {209, 74},
                                                    {49, 114}, {89, 114}, {129, 114}, {169, 114}, {209, 114}};
    for (int32_t n = 1; n <= 10; ++n) {
        EXPECT_EQ(dialog.Slot_Button(n).Name, "Spell Button " + std::to_string(n));
        EXPECT_EQ(
            std::make_pair(dialog.Slot_Button(n).Left - dialog.Left, dialog.Slot_Button(n).Top - dialog.Top),
            slots[static_cast<std::size_t>(n - 1)]);
    }
}

TEST_F(Character_Dialogs, AChosenSlotTakesTheEntryClickedWithAnyButton) {
    const uint16_t heal = Spell_Id("Heal");
    Hero->Spells.Set_Spell(heal, 1, 100);
    TItem* scroll = Give_Scroll(33, "Scroll of Light");
    auto& dialog = Owner.Open<TDC_Dlg_Spells_Select>("Spells Select Dlg");
    Click_On(dialog.Right_Arrow);
    Click_On(dialog.Right_Arrow);
    int32_t x = 0, y = 0;
    TDC_Dlg_Spells_Select::Entry_Cell(1, x, y);
    const auto slot = [this](int32_t n) {
        uint8_t kind = 0;
        uint16_t value = 0;
        Hero->Spells.Get_Quick_Slot(n, kind, value);
        return std::vector<int>{kind, value};
    };
    // Before a slot is chosen, a click on Heal changes nothing.
    std::vector<std::vector<int>> before;
    for (int32_t n = 1; n <= 10; ++n) before.push_back(slot(n));
    Click_In(x + 5, y + 5);
    for (int32_t n = 1; n <= 10; ++n) EXPECT_EQ(slot(n), before[static_cast<size_t>(n - 1)]) << n;
    Owner.MouseMove(0, dialog.Left + x + 5, dialog.Top + y + 5);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_Spell);
    EXPECT_EQ(Cursor_Target().Spell_Id, heal);

    Click_On(dialog.Slot_Button(10));
    EXPECT_EQ(dialog.Chosen_Slot(), 10);
    EXPECT_EQ(dialog.Slot_Button(10).Container_Style, 2);
    EXPECT_EQ(dialog.Slot_Button(1).Container_Style, 1);
    Click_In(x + 5, y + 5, Mouse_Button_Right);
    EXPECT_EQ(slot(10), std::vector<int>({Quick_Slot_Spell, heal}));
    EXPECT_EQ(dialog.Slot_Button(10).Content, heal);

    // Slot 10, then the scroll: the quick bar names its backpack slot.
    Click_On(dialog.Right_Arrow);
    Click_In(x + 38, y + 38);
    EXPECT_EQ(slot(10), std::vector<int>({Quick_Slot_Scroll, 33}));
    EXPECT_EQ(dialog.Slot_Button(10).Content_Kind, Spell_Button_Item);
    EXPECT_EQ(dialog.Slot_Button(10).Content, 33);
    Owner.MouseMove(0, dialog.Left + x + 5, dialog.Top + y + 5);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_Item);
    EXPECT_EQ(Cursor_Target().Item_Id, scroll->Id);
    Owner.MouseMove(0, dialog.Left + 150, dialog.Top + 20);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_None);

    // Another slot takes the mark; the chosen one stays until the dialog closes.
    Click_On(dialog.Slot_Button(3));
    EXPECT_EQ(dialog.Slot_Button(10).Container_Style, 1);
    EXPECT_EQ(dialog.Slot_Button(3).Container_Style, 2);
    Click_In(x + 50, y - 20);
    EXPECT_EQ(slot(3), std::vector<int>({0, 0}));
    Key(Vk_B);
    EXPECT_EQ(Owner.Closed, std::vector<std::string>{"Spells Select Dlg"});
}

} // namespace
