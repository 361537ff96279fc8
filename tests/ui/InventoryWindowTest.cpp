// The backpack window driven through the control tree's dispatch: tab presses, presses on slots that move
// items between the backpack and the cursor, the hover that names an item and marks a refused slot, and
// what is drawn of the player's items.
#include "core/DisplaySeam.h"
#include "core/GlobalFuncs.h"
#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "tests/ui/UiFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCWinInventory.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr uint32_t Background_Rgb = 0x203040;
constexpr int32_t Window_Top = 224;

// The tab picture's band of tab t.
uint32_t Tab_Rgb(int32_t tab) {
    return 0x0000A0u | static_cast<uint32_t>(tab * 40) << 16;
}

// The centre of the slot box of column i, row j (from 1) on the page.
int32_t Slot_Centre_X(int32_t column) {
    return 40 * column - 11;
}
int32_t Slot_Centre_Y(int32_t row) {
    return Window_Top + 40 * row + 1;
}

class Inventory_Window : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        // The background is black (transparent) in its first four columns.
        Write_Picture("Pictures/SysPics/Win_Inventory.bmp", 189, 281,
                      [](int32_t x, int32_t) { return x < 4 ? 0u : Background_Rgb; });
        Write_Picture("Pictures/SysPics/Win_Inventory_Tabs.bmp", 178, 184,
                      [](int32_t, int32_t y) { return Tab_Rgb(y / 46 + 1); });
        Loaded_Display();
        World = std::make_shared<TRecording_Display_Sink>();
        Install_Display_Sink(World);
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        TMonster creature;
        creature.Name = "Hero";
        creature.Set_Position(100, 100);
        Hero = Map->Monster_List.Add_Monster(creature);
        Map->Place_Monster(*Hero);
        Hero->Base_Strength = 10;
        Set_Player(Hero);

        Root.Set_Position("Main Window", 0, 0, Screen_Width, Screen_Height, false);
        Root.Set_Visible(true);
        Window = std::make_unique<TDC_Win_Inventory>();
        Window->Set_Position_At("Win Inventory", 0, Window_Top, false);
        Window->Set_Visible(true);
        TCallback_Set callbacks;
        callbacks.On_Refresh_Spells = [this] { ++Refreshed; };
        Window->Set_Callbacks(callbacks);
        Root.Add_Child_Control(Window.get());
    }
    void TearDown() override {
        Root.Remove_Child_Control(Window.get());
        Window.reset();
        Set_Held_Item_Id(0);
        Install_Display_Sink(nullptr);
        TUi_Test::TearDown();
    }

    // Every unit weighs 3. A glyph (type 23) acts from the backpack, so its requirement counts there.
    TItem* Make(const std::string& name, uint8_t type, uint16_t quantity = 1, uint16_t max_stack = 0,
                bool needs_strength_15 = false) {
        TItem item;
        item.Name = name;
        item.Class_Name = name;
        item.Item_Type = type;
        item.Quantity = quantity;
        item.Max_Stack = max_stack;
        item.Weight = 3;
        item.Item_Level = 1;
        item.Picture_Index = 7;
        if (needs_strength_15) {
            item.Requirements.Types.Add(Requirement_Strength);
            item.Requirements.Amounts.Add(15);
            item.Requirements.Per_Level_Kinds.Add(Amount_Number);
            item.Requirements.Per_Level_Amounts.Add(0);
        }
        return Map->Item_List.Item(Map->Item_List.Add(&item));
    }
    void Put(TItem* item, int32_t slot) {
        ASSERT_TRUE(Hero->Put_Item_In_Slot(item, slot));
        Hero->Recalculate_Stats();
    }
    static std::string Text(const TItem* item) {
        return item ? item->Name + " " + std::to_string(item->Quantity) : "-";
    }
    void Press(int32_t x, int32_t y, int32_t button = Mouse_Button_Left, int32_t shift = Shift_Left) {
        Root.MouseDown(button, shift, x, y);
        Root.MouseUp(button, shift, x, y, false);
    }
    void Draw() {
        World->Calls.clear();
        Root.Draw(0);
    }
    uint32_t Marker_Pixel() const { return Code(Sheet_General, 224, 0); }

    // Every live item is in exactly one backpack slot or on the cursor, and the player's load counts the
    // item on the cursor.
    void Expect_Every_Item_Once(const std::string& where) {
        std::multiset<uint16_t> places, live;
        for (int32_t slot = 11; slot <= 90; ++slot)
            if (const TItem* item = Hero->Item_In_Slot(slot)) places.insert(item->Id);
        if (Held_Item_Id() != 0) places.insert(Held_Item_Id());
        for (uint16_t id = 1; id <= Map->Item_List.Count(); ++id)
            if (Map->Item_List.Item(id)) live.insert(id);
        EXPECT_EQ(places, live) << where;
        EXPECT_EQ(Hero->Inventory.Count() + (Held_Item_Id() != 0), static_cast<int32_t>(live.size()))
            << where;
        const TItem* held = Get_Held_Item();
        EXPECT_EQ(Hero->Weight, Hero->Inventory.Total_Weight() + (held ? held->Total_Weight() : 0)) << where;
    }

    TDisplay_Class Root;
    std::unique_ptr<TDC_Win_Inventory> Window;
    std::shared_ptr<TRecording_Display_Sink> World;
    TMap* Map = nullptr;
    TMonster* Hero = nullptr;
    int32_t Refreshed = 0;
};

TEST_F(Inventory_Window, TabStripAndSlotBoxes) {
    EXPECT_EQ(Window->Current_Tab(), 1);
    struct TPress {
        int32_t X, Y, Tab;
        bool Chosen;
    };
    const TPress presses[] = {
        {135, 464, 4, true}, {0, 448, 1, true},   {45, 494, 2, true},   {90, 470, 3, true},
        {44, 460, 1, true},  {178, 460, 4, true}, {179, 460, 4, false}, // past the strip's right end
        {10, 447, 4, false}, {10, 495, 4, false},                       // above and below it
    };
    for (const TPress& p : presses) {
        Press(p.X, p.Y);
        EXPECT_EQ(Window->Current_Tab(), p.Tab) << p.X << "," << p.Y;
        EXPECT_EQ(Played(), p.Chosen ? std::vector<std::string>{"item_sel.wav"} : std::vector<std::string>{})
            << p.X << "," << p.Y;
        Draw();
        EXPECT_EQ(Page_Pixel(5, Window_Top + 230), Tab_Rgb(p.Tab)) << "the current tab's picture";
    }
    EXPECT_EQ(Refreshed, 0);
    for (const int32_t next : {1, 2, 3, 4, 1}) {
        Window->Next_Tab();
        EXPECT_EQ(Window->Current_Tab(), next);
        EXPECT_EQ(Played(), std::vector<std::string>{"item_sel.wav"});
    }

    // Boxes of 33 x 33 pixels on a 40-pixel grid, both edges inside; the slots follow the tab.
    Window->Next_Tab(); // tab 2
    struct TPoint {
        int32_t X, Y, Slot;
    };
    const TPoint points[] = {
        {13, 249, 31},  {45, 281, 31}, {46, 249, 0},  {53, 249, 32}, {52, 249, 0},
        {12, 249, 0},   {13, 248, 0},  {13, 282, 0},  {13, 289, 35}, {133, 409, 50},
        {165, 441, 50}, {166, 441, 0}, {165, 442, 0}, {93, 329, 41},
    };
    for (const TPoint& p : points) {
        int32_t slot = 0;
        EXPECT_EQ(Window->Slot_At(p.X, p.Y, slot), p.Slot != 0) << p.X << "," << p.Y;
        EXPECT_EQ(slot, p.Slot) << p.X << "," << p.Y;
    }
    Window->Next_Tab();
    Window->Next_Tab();
    int32_t slot = 0;
    ASSERT_TRUE(Window->Slot_At(165, 441, slot));
    EXPECT_EQ(slot, 90);
}

TEST_F(Inventory_Window, PressesMoveItemsThroughTheCursor) {
    Put(Make("Sword", 20), 11);
    Put(Make("Arrows", 1, 15, 20), 12);
    Put(Make("Arrows", 1, 8, 20), 31);
    Played();
    const std::vector<std::string> none, pick = {"pick_up.wav"}, put = {"put_down.wav"},
                                         tab = {"item_sel.wav"};
    struct TStep {
        const char* What;
        int32_t Button, Shift, X, Y;
        int32_t Slot; // checked after the press
        const char *Slot_After, *Held_After;
        std::vector<std::string> Sounds;
        int32_t Refreshed;
    };
    const int32_t L = Mouse_Button_Left, R = Mouse_Button_Right;
    const TStep steps[] = {
        {"pick up the sword", L, Shift_Left, Slot_Centre_X(1), Slot_Centre_Y(1), 11, "-", "Sword 1", pick, 1},
        {"second tab", L, Shift_Left, 50, 470, 11, "-", "Sword 1", tab, 1},
        {"sword into slot 32", L, Shift_Left, Slot_Centre_X(2), Slot_Centre_Y(1), 32, "Sword 1", "-", put, 2},
        {"arrows up", L, Shift_Left, Slot_Centre_X(1), Slot_Centre_Y(1), 31, "-", "Arrows 8", pick, 3},
        {"first tab", L, Shift_Left, 10, 470, 12, "Arrows 15", "Arrows 8", tab, 3},
        {"onto the stack", L, Shift_Left, Slot_Centre_X(2), Slot_Centre_Y(1), 12, "Arrows 20", "Arrows 3",
         none, 4},
        {"right press", R, Shift_Right, Slot_Centre_X(1), Slot_Centre_Y(1), 11, "-", "Arrows 3", none, 5},
        {"into the last slot", L, Shift_Left, Slot_Centre_X(4), Slot_Centre_Y(5), 30, "Arrows 3", "-", put,
         6},
        {"between boxes", L, Shift_Left, 49, Slot_Centre_Y(1), 12, "Arrows 20", "-", none, 6},
    };
    for (const TStep& s : steps) {
        Press(s.X, s.Y, s.Button, s.Shift);
        EXPECT_EQ(Text(Hero->Item_In_Slot(s.Slot)), s.Slot_After) << s.What;
        EXPECT_EQ(Text(Get_Held_Item()), s.Held_After) << s.What;
        EXPECT_EQ(Played(), s.Sounds) << s.What;
        EXPECT_EQ(Refreshed, s.Refreshed) << s.What;
        Expect_Every_Item_Once(s.What);
    }
}

TEST_F(Inventory_Window, HoverNamesItemsAndMarksRefusedSlots) {
    TItem* helm = Make("Helm", 9);
    Put(helm, 11);
    Put(Make("Ring", 13), 31); // on the second tab: not drawn
    TItem* glyph = Make("Glyph", 23, 1, 0, true);
    TItem* heavy = Make("Heavy Helm", 9, 1, 0, true);
    const int32_t empty_x = Slot_Centre_X(2), empty_y = Slot_Centre_Y(1);

    struct TCase {
        const char* What;
        TItem* Held;
        int32_t X, Y;
        int32_t Refused;
        int32_t Target_Kind;
        uint16_t Target_Item;
    };
    const TCase cases[] = {
        {"glyph over an empty slot", glyph, empty_x, empty_y, 12, Cursor_Target_None, 0},
        {"glyph over the helm", glyph, Slot_Centre_X(1), Slot_Centre_Y(1), 11, Cursor_Target_Item, helm->Id},
        {"heavy helm: the backpack takes it", heavy, empty_x, empty_y, 0, Cursor_Target_None, 0},
        {"nothing held", nullptr, Slot_Centre_X(1), Slot_Centre_Y(1), 0, Cursor_Target_Item, helm->Id},
    };
    for (const TCase& c : cases) {
        Set_Held_Item(c.Held);
        Set_Cursor_Target_Spell(3);
        Root.MouseMove(0, c.X, c.Y);
        EXPECT_EQ(Window->Refused_Slot(), c.Refused) << c.What;
        EXPECT_EQ(Cursor_Target().Kind, c.Target_Kind) << c.What;
        EXPECT_EQ(Cursor_Target().Item_Id, c.Target_Item) << c.What;
    }

    // The marker lies under the slot's item; only the current tab's items are drawn.
    Set_Held_Item(glyph);
    Root.MouseMove(0, Slot_Centre_X(1), Slot_Centre_Y(1));
    Clear_Page();
    Draw();
    EXPECT_EQ(Page_Pixel(13, 249), Marker_Pixel());
    EXPECT_EQ(Page_Pixel(53, 249), Background_Rgb);
    EXPECT_EQ(World->Calls, std::vector<std::string>{"Item(0, 13, 249, 0, 7)"});

    // Off the slots the mark goes; the information panel keeps what it had.
    Root.MouseMove(0, 100, Window_Top + 240);
    EXPECT_EQ(Window->Refused_Slot(), 0);
    EXPECT_EQ(Cursor_Target().Item_Id, helm->Id);
    Root.MouseMove(0, Slot_Centre_X(1), Slot_Centre_Y(1));

    // The black of the picture lets the page show through.
    Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 200));
    Gx_Fill_Page();
    Draw();
    EXPECT_EQ(Page_Pixel(2, 300), 0x0000C8u);
    EXPECT_EQ(Page_Pixel(4, 300), Background_Rgb);

    // While drawing is suppressed, or without a player, only the pictures are drawn.
    Display_Object()->Drawing_Suppressed = 1;
    Clear_Page();
    Draw();
    EXPECT_EQ(Page_Pixel(13, 249), Background_Rgb);
    EXPECT_TRUE(World->Calls.empty());
    Display_Object()->Drawing_Suppressed = 0;
    Set_Player(nullptr);
    Draw();
    EXPECT_EQ(Page_Pixel(13, 249), Background_Rgb);
    EXPECT_TRUE(World->Calls.empty());
    Root.MouseMove(0, empty_x, empty_y);
    EXPECT_EQ(Window->Refused_Slot(), 0);
    Press(Slot_Centre_X(1), Slot_Centre_Y(1));
    EXPECT_EQ(Get_Held_Item(), glyph);
    EXPECT_EQ(Refreshed, 0);
}

// Any run of presses on slots and tabs keeps every item in one place and the cursor's weight on the player.
TEST_F(Inventory_Window, RandomPressesKeepEveryItemOnce) {
    Seed_Random(20261209);
    // Every other slot of the four tabs holds something: stacks of two kinds that merge, single items
    // that swap, and glyphs the player is strong enough for (one he is not would stay on the cursor).
    Hero->Base_Strength = 15;
    for (int32_t slot = 11; slot <= 90; slot += 2) {
        switch (slot % 5) {
        case 0: Put(Make("Arrows", 1, static_cast<uint16_t>(slot % 20 + 1), 20), slot); break;
        case 1: Put(Make("Potion", 12, static_cast<uint16_t>(slot % 4 + 1), 5), slot); break;
        case 2: Put(Make("Glyph", 23, 1, 0, true), slot); break;
        default: Put(Make("Sword " + std::to_string(slot), 20), slot); break;
        }
    }
    int32_t moves = 0;
    for (int32_t press = 0; press < 400; ++press) {
        const bool tab = Random_Range(1, 6) == 1;
        const int32_t x = tab ? Random_Range(0, 178) : Random_Range(0, 188);
        const int32_t y = tab ? Random_Range(448, 494) : Random_Range(Window_Top, 447);
        const bool right = Random_Range(1, 10) == 1;
        const uint16_t held_before = Held_Item_Id();
        Press(x, y, right ? Mouse_Button_Right : Mouse_Button_Left, right ? Shift_Right : Shift_Left);
        moves += Held_Item_Id() != held_before;
        Expect_Every_Item_Once("press " + std::to_string(press) + " at " + std::to_string(x) + "," +
                               std::to_string(y));
        if (HasFailure()) return;
    }
    EXPECT_GT(moves, 100);
}

} // namespace
