// The information panel: the lines of an item, a creature, a square and a spell with their colours, the
// background continued once per frame when the lines run long, the help entries with their pictures, and
// what is left out when the player is dead or the thing pointed at is gone.
#include "core/Effects.h"
#include "core/Item.h"
#include "core/Spells.h"
#include "tests/support/CoreTestSupport.h"
#include "tests/ui/GameScreenFixture.h"
#include "ui/DCInfoPanel.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

using TLines = std::vector<std::tuple<int32_t, std::string, uint32_t>>; // x, text, colour

constexpr uint32_t White = 0xFFFFFF, Grey = 0x969696, Pink = 0xFF00FF, Red = 0xFF0000;

// The interface picture's pixel x, y: never black nor magenta.
uint32_t Screen_Code(int32_t x, int32_t y) {
    return 0x200000 + static_cast<uint32_t>(y) * 800 + x;
}

class Info_Panel : public TGame_Screen_Test {
protected:
    void SetUp() override {
        TGame_Screen_Test::SetUp();
        Write_Picture("Pictures/SysPics/ui.bmp", 800, 600, Screen_Code);
        ASSERT_TRUE(Display_Obj->Load_Picture_Buffer("TDC_Main", Folder.Path() + "/Pictures/SysPics/ui.bmp",
                                                     800, 600, View.Screen_Buffer));
        gx_vbopen(0);
    }
    void TearDown() override {
        Free_Master_Spells();
        TDisplay_Object::Release_Buffer(View.Screen_Buffer);
        TGame_Screen_Test::TearDown();
    }
    // The texts drawn since the last call, with their x and colour.
    TLines Take_Texts() {
        TLines lines;
        for (const auto& call : Text->Calls) lines.emplace_back(call.X, call.Text, call.Rgb);
        Text->Calls.clear();
        return lines;
    }
    void Load_Spells(const std::vector<TKeys>& records) {
        Folder.Write("Data/Spells.txt", Data_File_Text(records, "Spells"));
        ASSERT_TRUE(Load_Master_Spells())
            << (Messages->Error_Lists.empty() ? "" : Messages->Error_Lists[0].List[0]);
    }
    static TKeys Spell(const std::string& name, const std::string& target) {
        return {{"Maximum Levels From Start", "10"},
                {"Name", name},
                {"Description", "Пламя"},
                {"Picture ID", "2"},
                {"Picture Is Maskable", "FALSE"},
                {"Mana Cost to Cast", "10"},
                {"Increase In Mana Cost Per Level", "2"},
                {"Maximum Mana Cost", "0"},
                {"Duration", "0"},
                {"Increase In Duration Per Level", "0"},
                {"Maximum Duration", "0"},
                {"Target Type", target},
                {"Requirement Other Spell Name", ""},
                {"Requirement Other Spell Minimum Level", "0"},
                {"Effects Only Apply to Weapon Type", "None"},
                {"Monster Summoned Name", "None"},
                {"Monster Summoned Base Count", "0"},
                {"Monster Summoned Increase Count Per Level", "0"},
                {"Monster Summoned Maximum Count", "0"},
                {"Area Effect Radius", "2"},
                {"Increase In Area Effect Radius Per Level", "0"},
                {"Maximum Area Effect Radius", "0"},
                {"Sound File Cast", "fire.wav"},
                {"Damage Amount Min", "2"},
                {"Damage Amount Max", "6"},
                {"Damage Maximum Range", "8"},
                {"Damage Firing FX", "None"},
                {"Number of Effects", "1"},
                {"Effect 1 Type", "Fire Damage"},
                {"Effect 1 Min Amount", "3"},
                {"Effect 1 Max Amount", "5"},
                {"Effect 1 Per Level Modifier Type", "Number"},
                {"Effect 1 Min Amt Per Level Modifier", "1"},
                {"Effect 1 Max Amt Per Level Modifier", "2"}};
    }
};

TEST_F(Info_Panel, AnItemListsItsPriceDamageArmourWeightRequirementsAndUses) {
    TItem axe;
    axe.Name = "Axe";
    axe.Item_Type = 21;
    axe.Gold_Value = 200;
    axe.Damage.Set(3, 9, 0, 0);
    axe.Defense_Rating = 4;
    axe.Weight = 12;
    axe.Hands = 2;
    axe.Item_Level = 1;
    axe.Requirements.Types.Add(Requirement_Strength);
    axe.Requirements.Amounts.Add(30);
    axe.Requirements.Per_Level_Kinds.Add(Amount_Number);
    axe.Requirements.Per_Level_Amounts.Add(0);
    axe.Consumption_Type = 2;
    axe.Consumption_Value = 15;
    TMonster* hero = Add_Player(100, 100); // strength 0: the requirement is not met
    TPanel_Price price;
    price.Shown = price.Buying = true;
    price.Buy_Percent = 150;
    Draw_Item_Info(0, View, axe, price);
    const std::string requirement = axe.Requirements.Requirement_Text(1, 1);
    ASSERT_FALSE(requirement.empty());
    EXPECT_EQ(Take_Texts(), (TLines{{565, "Axe", White},
                                    {565, "Цена", White},
                                    {680, "300", White},
                                    {565, "Урон  ", White},
                                    {680, "3 - 9", White},
                                    {565, "Защита         ", White},
                                    {680, "4", White},
                                    {565, "Вес   ", White},
                                    {680, "12", White},
                                    {565, "Требование ", White},
                                    {680, "Двуручное ", White},
                                    {565, "Требование ", Red},
                                    {680, requirement, Red},
                                    {565, "+15 жизни    ", Pink}}));
    // The frame and the picture at the panel's corner.
    EXPECT_EQ(Page(520 + 1, 12 + 1), Sheet_Pixel(Sheet_Square_Frame_Buttons, 2 * 38 + 1, 1));

    // Price lines by the store's record, and requirements in white once the player is gone.
    struct TCase {
        bool Shown, Buying, Selling;
        std::string Label, Value;
    };
    const TCase cases[] = {{true, false, true, "Стоимость ", "100"},
                           {true, false, false, "Value", "200"},
                           {false, true, false, "Урон  ", "3 - 9"}};
    axe.Requirements.Types.Add(Requirement_Level); // makes two requirements to colour
    axe.Requirements.Amounts.Add(1);
    axe.Requirements.Per_Level_Kinds.Add(Amount_Number);
    axe.Requirements.Per_Level_Amounts.Add(0);
    Set_Player(nullptr);
    for (const TCase& c : cases) {
        price.Shown = c.Shown;
        price.Buying = c.Buying;
        price.Selling = c.Selling;
        price.Sell_Percent = 50;
        Draw_Item_Info(0, View, axe, price);
        const TLines lines = Take_Texts();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(std::get<1>(lines[1]), c.Label);
        EXPECT_EQ(std::get<1>(lines[2]), c.Value);
        for (const auto& [x, text, colour] : lines)
            if (text == "Требование ") {
                EXPECT_EQ(colour, White) << "no player, nothing unmet";
            }
    }
    (void)hero;
}

TEST_F(Info_Panel, LongPanelsContinueTheirBackgroundOncePerFrame) {
    struct TCase {
        int32_t Y;
        bool Extended_Before;
        bool Copies;
    };
    const TCase cases[] = {{169, false, false}, {170, false, true}, {400, false, true}, {200, true, false}};
    for (const TCase& c : cases) {
        Clear_Page();
        View.Panel_Extended = c.Extended_Before;
        Extend_Info_Panel(c.Y, 0, View);
        EXPECT_EQ(View.Panel_Extended, c.Copies || c.Extended_Before) << c.Y;
        // Rows 114..193 of the picture land on rows 170..249, columns 508..799 as they are.
        const bool copied =
            Page(508, 249) == Screen_Code(508, 193) && Page(799, 170) == Screen_Code(799, 114);
        EXPECT_EQ(copied, c.Copies) << c.Y;
        EXPECT_EQ(Page(507, 249), 0u);
        EXPECT_EQ(Page(508, 250), 0u);
    }
}

TEST_F(Info_Panel, ACreatureShowsItsStripsLifeAndStatusAndAnEmptyScreenBufferIsSafe) {
    TMonster* rat = Add_Creature(101, 100, "Rat");
    rat->Description = "Серая";
    rat->Level = 3;
    rat->Life = 3.7;
    rat->Max_Life = 20;
    rat->Status = Status_Asleep;
    Draw_Creature_Info(0, View, *rat);
    const TLines lines = Take_Texts();
    EXPECT_EQ(lines, (TLines{{575, "Rat", White},
                             {575, "Серая", Grey},
                             {607, "3", White},
                             {std::get<0>(lines.at(3)), "3 / 20", White},
                             {565, "Уснул ", Pink}}));
    // The life bar: 15 of 101 pixels from x 603, inside the life strip copied below the level strip.
    int32_t bar_top = -1;
    for (int32_t y = 0; y < 300 && bar_top < 0; ++y)
        if (Page(603, y) == Rgb(255, 0, 0)) bar_top = y;
    ASSERT_GT(bar_top, 0);
    EXPECT_EQ(Page(603 + 14, bar_top), Rgb(255, 0, 0));
    EXPECT_NE(Page(603 + 15, bar_top), Rgb(255, 0, 0));
    EXPECT_EQ(Page(574, bar_top - 5), Screen_Code(371, 10)); // the strip's top-left
    // The level strip's bottom row shares the level number's line.
    EXPECT_EQ(Page(576, bar_top - 5 - 2), Screen_Code(181, 69));

    TDisplay_Object::Release_Buffer(View.Screen_Buffer);
    Clear_Page();
    rat->Max_Life = 0;
    Draw_Creature_Info(0, View, *rat);
    EXPECT_NE(Page(603, bar_top), Rgb(255, 0, 0));
}

TEST_F(Info_Panel, ASquareNamesItsLockAndTrapInPink) {
    Map->Set_Lock("Bronze Key", 50, 60, true);
    Map->Set_Trap("Spikes", 50, 60, true);
    Draw_Square_Info(0, 50, 60);
    EXPECT_EQ(Take_Texts(),
              (TLines{{580, "Заперто (требует Bronze Key)    ", Pink}, {580, "Ловушка", Pink}}));
    EXPECT_FALSE(Take_World("Terrain(0, 520, 12,").empty());
    Draw_Square_Info(0, 0, 60); // off the map
    EXPECT_TRUE(Take_Texts().empty());
}

TEST_F(Info_Panel, ASpellShowsThePlayersUseOfItOnlyWhileHeLivesAndKnowsIt) {
    Load_Spells({Spell("Firebolt", "Монстр")});
    TMonster* hero = Add_Player(100, 100);
    hero->Level = 5;
    ASSERT_TRUE(hero->Spells.Set_Spell(1, 2, 100));
    Draw_Spell_Info(0, View, 1);
    const TLines known = Take_Texts();
    ASSERT_GE(known.size(), 8u);
    EXPECT_EQ(TLines(known.begin(), known.begin() + 8), (TLines{{565, "Firebolt", White},
                                                                {565, "Пламя", Grey},
                                                                {565, "Уровень    ", White},
                                                                {680, "2", White},
                                                                {565, "Нужно маны  ", White},
                                                                {680, "12", White},
                                                                {565, "Цель  ", White},
                                                                {680, "Монстр", White}}));
    // No duration, an area of 2, and the effect in pink.
    EXPECT_EQ(TLines(known.begin() + 8, known.end() - 1),
              (TLines{{565, "Область    ", White}, {680, "2 ярда ", White}}));
    EXPECT_EQ(std::get<2>(known.back()), Pink);

    struct TCase {
        const char* What;
        bool Alive;
        uint16_t Id;
        size_t Texts;
    };
    const TCase cases[] = {{"dead player: name and description only", false, 1, 2},
                           {"stale spell id", true, 9, 0},
                           {"no spell", true, 0, 0}};
    for (const TCase& c : cases) {
        Set_Player(c.Alive ? hero : nullptr);
        Clear_Page();
        Draw_Spell_Info(0, View, c.Id);
        EXPECT_EQ(Take_Texts().size(), c.Texts) << c.What;
        if (c.Texts == 0) {
            EXPECT_FALSE(Page_Has_Pixels()) << c.What;
        }
    }
}

TEST_F(Info_Panel, HelpEntriesShowTheirPictureTitleTextAndKey) {
    struct TCase {
        int32_t Id;
        int32_t Sheet, Source_X, Source_Y, X; // a probe 5 pixels into the picture, at X, 12
        int32_t Title_X;
        std::string Title, Key;
    };
    const TCase cases[] = {
        {1, Sheet_Main_Round_Buttons, 0, 0, 520, 580, "Меню", "(Кнопка G)"},
        {6, Sheet_Main_Round_Buttons, 8 * 51, 0, 520, 580, "Выбор умений         ", "(Кнопка B)"},
        {7, Sheet_Spell_Containers, 3 * 38, 0, 520, 565, "Зелье Жизни        ", "(Кнопка F11)"},
        {9, Sheet_Spell_Containers, 0, 0, 520, 565, "Приготовить", "(Кнопки F1 - F10) "},
        {11, Sheet_Small_Arrow_Buttons, 0, 28, 540, 565, "Показать Статистику ", "(Кнопка R)"},
        {12, Sheet_Misc, 0, 94, 538, 565, "Сила    ", ""},
        {16, Sheet_Misc, 21 % 8 * 23, 94 + 21 / 8 * 23, 538, 565, "Атака         ", ""},
        {32, Sheet_Misc, 0, 71, 538, 565, "Статус", ""},
    };
    for (const TCase& c : cases) {
        Clear_Page();
        Draw_Button_Help(0, c.Id);
        EXPECT_EQ(Page(c.X + 5, 12 + 5), Sheet_Pixel(c.Sheet, c.Source_X + 5, c.Source_Y + 5)) << c.Id;
        ASSERT_GE(Text->Calls.size(), 2u) << c.Id;
        EXPECT_EQ(Text->Calls.front().Text, c.Title);
        EXPECT_EQ(Text->Calls.front().X, c.Title_X);
        EXPECT_EQ(Text->Calls[1].Rgb, Grey);
        const auto& last = Text->Calls.back();
        if (c.Key.empty()) {
            EXPECT_NE(last.Y + Text->Height, 160) << c.Id;
        } else {
            EXPECT_EQ(last.Text, c.Key);
            EXPECT_EQ(last.Y + Text->Height, 160) << "bottom at 160";
        }
        Text->Calls.clear();
    }
    for (const int32_t outside : {0, 33, -4}) {
        Clear_Page();
        Draw_Button_Help(0, outside);
        EXPECT_TRUE(Text->Calls.empty()) << outside;
        EXPECT_FALSE(Page_Has_Pixels()) << outside;
    }
}

} // namespace

namespace {

TEST_F(Info_Panel, ThePanelDescribesOnlyWhatStillExists) {
    TItem ring;
    ring.Name = "Ring";
    const uint16_t ring_id = Map->Item_List.Add(&ring);
    const uint16_t rat_id = Add_Creature(101, 100, "Rat")->Id;
    Map->Set_Trap("Spikes", 101, 101, true);
    struct TCase {
        const char* What;
        TInfo_Subject Subject;
        bool Drawn;
    };
    const TCase cases[] = {
        {"item", {1, ring_id}, true},
        {"deleted item", {1, static_cast<uint16_t>(ring_id + 5)}, false},
        {"creature", {2, 0, rat_id}, true},
        {"creature gone", {2, 0, static_cast<uint16_t>(rat_id + 1)}, false},
        {"square", {3, 0, 0, 0, 101, 101}, true},
        {"pile", {4, 0, 0, 0, 101, 101}, false},
        {"unknown spell", {5, 0, 0, 7}, false},
        {"help", {6, 0, 0, 0, 0, 0, 3}, true},
        {"help past the table", {6, 0, 0, 0, 0, 0, 33}, false},
        {"nothing", {}, false},
    };
    for (const TCase& c : cases) {
        View.Subject = c.Subject;
        View.Panel_Extended = true; // left from the last frame
        Draw_Info_Panel(0, View);
        EXPECT_EQ(!Take_Texts().empty(), c.Drawn) << c.What;
        EXPECT_FALSE(View.Panel_Extended) << c.What;
    }
}

} // namespace
