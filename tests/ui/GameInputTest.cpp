#include "tests/ui/ProbeControl.h"
#include "tests/ui/TickFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCGameScreen.h"
#include "ui/DCMainInput.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using TLayout = std::map<int32_t, std::string>; // slot -> item name

// The page position of the middle of a view cell's floor diamond: the cell's 54 x 54 box is at
// left 52 i + 26 (even rows) - 43, top 13 n + 115, and the floor is its lower part.
std::pair<int32_t, int32_t> Floor_Centre(int32_t i, int32_t n) {
    return {52 * i + (n % 2 == 0 ? 26 : 0) - 43 + 27, 13 * n + 115 + 40};
}

class Game_Input : public TTick_Fixture {
protected:
    void SetUp() override {
        TTick_Fixture::SetUp();
        Hero->Move_To(100, 100); // the view origin is 93, 93
        // Every square's picture is a floor diamond 54 wide and 26 high at the bottom of its cell.
        Host.On_Square = [](int32_t x, int32_t y, int32_t, int32_t) {
            return 13 * std::abs(x - 27) + 27 * std::abs(y - 40) <= 13 * 27;
        };
        Init_Cursor_Target();
    }
    void TearDown() override {
        Done_Cursor_Target();
        TTick_Fixture::TearDown();
    }

    void Press(int32_t button, int32_t x, int32_t y) {
        const int32_t shift = button == Mouse_Button_Left    ? Shift_Left
                              : button == Mouse_Button_Right ? Shift_Right
                                                             : 0;
        Input.Handle_MouseDown(button, shift, x, y);
    }
    void Reset_Command() {
        Tick.Pending_Command = Command_None;
        Tick.Target_X = Tick.Target_Y = 0;
    }
    TItem* Item(const std::string& name, uint8_t type = Item_Type_Misc, uint16_t quantity = 0) {
        TItem* item = Add_Item(name, type);
        item->Quantity = quantity;
        item->Weight = 5;
        return item;
    }
    // Empties the hero's slots and puts the named items where the layout says.
    void Arrange(const TLayout& layout, const std::map<std::string, TItem*>& items) {
        for (int32_t slot = 1; slot <= Last_Backpack_Slot; ++slot) {
            TItem* out = nullptr;
            Hero->Remove_Item_From_Slot(slot, out);
        }
        for (const auto& [slot, name] : layout) ASSERT_TRUE(Hero->Put_Item_In_Slot(items.at(name), slot));
    }
    TLayout Layout(int32_t last_slot = Last_Backpack_Slot) const {
        TLayout layout;
        for (int32_t slot = 1; slot <= last_slot; ++slot)
            if (const TItem* item = Hero->Item_In_Slot(slot)) layout[slot] = item->Name;
        return layout;
    }

    TGame_Screen_View View;
    TDC_Main_Input Input{Host, Tick, View};
};

TEST_F(Game_Input, MapPressesSetTheCommandOrDropTheHeldItemOnThePlayersSquare) {
    const auto [cx, cy] = Floor_Centre(8, 16); // square 101, 100; the hero stands on 100, 100
    TItem* stone = Item("stone");
    struct TCase {
        const char* Name;
        int32_t Button;
        bool Paused, Walking, No_Player, Holding;
        int32_t X, Y;
        int32_t Command;
        bool Dropped;
    };
    const std::vector<TCase> cases = {
        {"left walks", Mouse_Button_Left, false, false, false, false, cx, cy, Command_Walk, false},
        {"right acts", Mouse_Button_Right, false, false, false, false, cx, cy, Command_Act, false},
        {"middle does nothing", Mouse_Button_Middle, false, false, false, false, cx, cy, Command_None, false},
        {"paused", Mouse_Button_Left, true, false, false, false, cx, cy, Command_None, false},
        {"a step being computed", Mouse_Button_Left, false, true, false, false, cx, cy, Command_None, false},
        {"no player", Mouse_Button_Left, false, false, true, false, cx, cy, Command_None, false},
        {"no square under the point", Mouse_Button_Left, false, false, false, false, 700, 112, Command_None,
         false},
        {"left while holding drops", Mouse_Button_Left, false, false, false, true, cx, cy, Command_None,
         true},
        {"right while holding acts", Mouse_Button_Right, false, false, false, true, cx, cy, Command_Act,
         false},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Reset_Command();
        Sounds->Played.clear();
        Map->Get_Square(100, 100)->Item_Field = 0;
        Set_Held_Item(t.Holding ? stone : nullptr);
        Hero->Recalculate_Stats();
        Host.Paused = t.Paused;
        Tick.Walking = t.Walking;
        if (t.No_Player) Set_Player(nullptr);
        Press(t.Button, t.X, t.Y);
        Set_Player(Hero);
        EXPECT_EQ(Tick.Pending_Command, t.Command);
        if (t.Command != Command_None) {
            EXPECT_EQ(std::pair(Tick.Target_X, Tick.Target_Y), std::pair(101, 100));
        }
        EXPECT_EQ(Map->Get_Square(100, 100)->Item_Field, t.Dropped ? stone->Id : 0);
        EXPECT_EQ(Map->Get_Square(101, 100)->Item_Field, 0);
        EXPECT_EQ(Held_Item_Id(), t.Holding && !t.Dropped ? stone->Id : 0);
        EXPECT_EQ(Sounds->Names(),
                  t.Dropped ? std::vector<std::string>{"itemdrop.wav"} : std::vector<std::string>{});
        // The held stone weighs on the hero; dropped, it no longer does.
        EXPECT_EQ(Hero->Weight, t.Holding && !t.Dropped ? 5 : 0);
        EXPECT_EQ(Tick.Left_Button_Held, t.Button == Mouse_Button_Left);
        EXPECT_EQ(Input.Right_Button_Held, t.Button == Mouse_Button_Right);
    }
}

TEST_F(Game_Input, EveryFloorCentreWalksToItsOwnSquareAndOverlappingBoxesPickTheLowerRow) {
    for (int32_t n = 1; n <= Game_View_Rows; ++n)
        for (int32_t i = 1; i <= Game_View_Columns; ++i) {
            const auto [x, y] = Floor_Centre(i, n);
            const int32_t map_x = i + 93 - (n - 1) / 2 + 7, map_y = i + 93 + n / 2 - 9;
            const bool in_window = map_x >= 93 && map_x <= 107 && map_y >= 93 && map_y <= 107;
            Reset_Command();
            Press(Mouse_Button_Left, x, y);
            ASSERT_EQ(Tick.Pending_Command, in_window ? Command_Walk : Command_None) << i << "," << n;
            if (in_window) {
                ASSERT_EQ(std::pair(Tick.Target_X, Tick.Target_Y), std::pair(map_x, map_y)) << i << "," << n;
            }
        }
    // Point 410, 340 lies in the boxes of cell (8, 16) and cell (8, 17); with whole boxes covered, the
    // row drawn in front (17: the hero's own square) wins.
    Host.On_Square = [](int32_t, int32_t, int32_t, int32_t) { return true; };
    Reset_Command();
    Press(Mouse_Button_Right, 410, 340);
    EXPECT_EQ(std::pair(Tick.Target_X, Tick.Target_Y), std::pair(100, 100));
}

TEST_F(Game_Input, AReleaseAnywhereEndsTheHeldWalkButNotAPendingStep) {
    const auto [cx, cy] = Floor_Centre(8, 16);  // 101, 100
    const auto [fx, fy] = Floor_Centre(10, 16); // 103, 102
    Press(Mouse_Button_Left, cx, cy);
    ASSERT_TRUE(Tick.Left_Button_Held);
    Input.Handle_MouseUp(Mouse_Button_Left, 0, -5, 900, true);
    EXPECT_FALSE(Tick.Left_Button_Held);
    // The pointer now rests over another square: with the button let go, it is not walked to.
    Host.Mouse_X = fx;
    Host.Mouse_Y = fy;
    for (int i = 0; i < 6; ++i) Tick.Process_Tick(i, 20.0);
    EXPECT_EQ(std::pair(int(Hero->X), int(Hero->Y)), std::pair(101, 100));
    EXPECT_EQ(Tick.Pending_Command, Command_None);

    Press(Mouse_Button_Right, cx, cy);
    ASSERT_TRUE(Input.Right_Button_Held);
    Input.Handle_MouseUp(Mouse_Button_Right, 0, cx, cy, false);
    EXPECT_FALSE(Input.Right_Button_Held);
}

TEST_F(Game_Input, TheEquipmentPanelWorksWhenRunningOrBesideAnItemDialog) {
    TItem* sword = Item("sword", 20);
    struct TCase {
        const char* Name;
        bool Paused, Item_Window, Works;
    };
    for (const TCase& t : {TCase{"running", false, false, true}, TCase{"paused", true, false, false},
                           TCase{"paused beside a chest", true, true, true}}) {
        SCOPED_TRACE(t.Name);
        Arrange({{6, "sword"}}, {{"sword", sword}});
        Set_Held_Item(nullptr);
        Host.Paused = t.Paused;
        Host.Item_Window = t.Item_Window;
        Press(Mouse_Button_Left, 121 + 32, 106 + 32); // slot 6's far corner
        EXPECT_EQ(Held_Item_Id(), t.Works ? sword->Id : 0);
        EXPECT_EQ(Hero->Item_In_Slot(6), t.Works ? nullptr : sword);
        // The map under the paused game takes nothing.
        Set_Held_Item(nullptr);
        Reset_Command();
        const auto [cx, cy] = Floor_Centre(8, 16);
        Press(Mouse_Button_Left, cx, cy);
        EXPECT_EQ(Tick.Pending_Command, t.Paused ? Command_None : Command_Walk);
    }
}

TEST_F(Game_Input, TheHeldItemOnThePortraitIsDrunkOrEatenOneUnitAtATime) {
    struct TCase {
        const char* Name;
        uint8_t Type, Consumption;
        uint16_t Quantity;
        int32_t Left; // units held afterwards; -1 nothing held and the item is gone
        const char* Sound;
    };
    const std::vector<TCase> cases = {
        {"three potions leave two", 12, 2, 3, 2, "drink.wav"},
        {"the last potion is used up", 12, 2, 1, -1, "drink.wav"},
        {"food is eaten", 7, 1, 2, 1, "eat.wav"},
        {"anything else goes back onto the cursor", 20, 0, 0, 0, nullptr},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TItem* item = Item(t.Name, t.Type, t.Quantity);
        item->Consumption_Type = t.Consumption;
        item->Consumption_Value = 1;
        const uint16_t id = item->Id;
        Set_Held_Item(item);
        Sounds->Played.clear();
        Press(Mouse_Button_Left, 48, 37);
        if (t.Left < 0) {
            EXPECT_FALSE(Is_Holding_Item());
            EXPECT_EQ(Find_Item(id), nullptr);
            EXPECT_EQ(Hero->Weight, 0);
        } else {
            ASSERT_EQ(Held_Item_Id(), id);
            EXPECT_EQ(item->Quantity, t.Left);
            // The held stack still weighs on the hero.
            EXPECT_EQ(Hero->Weight, 5 * std::max(1, t.Left));
        }
        EXPECT_EQ(Sounds->Names(), t.Sound ? std::vector<std::string>{t.Sound} : std::vector<std::string>{});
        Set_Held_Item(nullptr);
    }
    // The portrait's edges belong to it.
    for (auto [x, y, fed] : {std::tuple(32, 21, true), {64, 53, true}, {31, 37, false}, {48, 54, false}}) {
        TItem* potion = Item("potion", 12, 3);
        Set_Held_Item(potion);
        Press(Mouse_Button_Left, x, y);
        EXPECT_EQ(potion->Quantity, fed ? 2 : 3) << x << "," << y;
        EXPECT_EQ(Held_Item_Id(), potion->Id);
    }
}

TEST_F(Game_Input, HoverSetsWhatTheInformationPanelDescribesAndMarksARefusedSlot) {
    TItem* sword = Item("sword", 20);
    ASSERT_TRUE(Hero->Put_Item_In_Slot(sword, 6));
    Set_Held_Item(Item("bread", 7)); // food: no worn slot takes it
    TMonster* rat = Add_Creature(101, 100);
    TItem* a = Item("a");
    TItem* b = Item("b");
    TItem* c = Item("c");
    Map->Get_Square(101, 99)->Drop_Item(a);
    Map->Get_Square(101, 99)->Drop_Item(b); // a pile
    Map->Get_Square(102, 101)->Drop_Item(c);
    for (auto [x, y] : {std::pair(101, 100), {101, 99}, {102, 101}, {100, 99}})
        Map->Get_Square(x, y)->Set_Seen(true);
    const auto at = [](int32_t i, int32_t n) { return Floor_Centre(i, n); };
    struct TCase {
        const char* Name;
        std::pair<int32_t, int32_t> Point;
        int32_t Kind;
        int32_t Value; // item or creature id, x * 1000 + y, or help id
        int32_t Refused;
    };
    const std::vector<TCase> cases = {
        {"worn item", {121, 106}, Cursor_Target_Item, sword->Id, 6},
        {"empty slot refusing the held item", {80 + 32, 16}, Cursor_Target_None, 0, 1},
        {"panel outside the slots", {176, 232}, Cursor_Target_None, 0, 0},
        {"right of the panel", {177, 100}, Cursor_Target_None, 0, 0},
        {"below the panel", {100, 233}, Cursor_Target_None, 0, 0},
        {"label 1", {180, 48}, Cursor_Target_Help, 24, 0},
        {"label 4", {315, 146}, Cursor_Target_Help, 27, 0},
        {"label 5", {370, 9}, Cursor_Target_Help, 28, 0},
        {"label 9", {505, 140}, Cursor_Target_Help, 32, 0},
        {"creature", at(8, 16), Cursor_Target_Creature, rat->Id, 0},
        {"pile", at(8, 15), Cursor_Target_Pile, 101099, 0},
        {"single item", at(9, 16), Cursor_Target_Item, c->Id, 0},
        {"bare square", at(7, 16), Cursor_Target_Square, 100099, 0},
        {"never seen", at(8, 14), Cursor_Target_None, 0, 0},
        {"right of column 1", {316, 72}, Cursor_Target_None, 0, 0},
        {"between labels 1 and 2", {200, 72}, Cursor_Target_None, 0, 0},
        {"between labels 8 and 9", {400, 114}, Cursor_Target_None, 0, 0},
        {"left of column 2", {369, 20}, Cursor_Target_None, 0, 0},
        {"label 2 top", {250, 73}, Cursor_Target_Help, 25, 0},
        {"label 6 bottom", {400, 59}, Cursor_Target_Help, 29, 0},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Set_Cursor_Target_Button(5);
        View.Invalid_Slot = 9;
        Input.Handle_MouseMove(0, t.Point.first, t.Point.second);
        const TCursor_Target& target = Cursor_Target();
        EXPECT_EQ(target.Kind, t.Kind);
        int32_t value = 0;
        switch (target.Kind) {
        case Cursor_Target_Item: value = target.Item_Id; break;
        case Cursor_Target_Creature: value = target.Creature_Id; break;
        case Cursor_Target_Square:
        case Cursor_Target_Pile: value = target.X * 1000 + target.Y; break;
        case Cursor_Target_Help: value = target.Help_Id; break;
        default: break;
        }
        EXPECT_EQ(value, t.Value);
        // Only a move over the panel sets the mark again.
        const bool panel = t.Point.first <= 176 && t.Point.second <= 232;
        EXPECT_EQ(View.Invalid_Slot, panel ? t.Refused : 9);
    }
}

TEST_F(Game_Input, HotKeys) {
    struct TCase {
        const char* Name;
        uint16_t Key;
        int32_t Shift;
        bool Creature_Dialog, No_Player;
        std::vector<std::string> Calls;
        bool Consumed;
    };
    using V = std::vector<std::string>;
    const std::vector<TCase> cases = {
        {"G", Key_G, 0, false, false, V{"open Game Menu"}, true},
        {"Q", Key_Q, 0, false, false, V{"open Quests Dlg"}, true},
        {"M", Key_M, 0, false, false, V{"open Overview Map"}, true},
        {"C", Key_C, 0, false, false, V{"open Statistics Dlg"}, true},
        {"S", Key_S, 0, false, false, V{"open Spells Add Dlg"}, true},
        {"B", Key_B, 0, false, false, V{"open Spells Select Dlg"}, true},
        {"I", Key_I, 0, false, false, V{"toggle Win Inventory"}, true},
        {"R", Key_R, 0, false, false, V{"toggle Win Stats"}, true},
        {"T", Key_T, 0, false, false, V{"next tab"}, false},
        {"F1", Key_F1, 0, false, false, V{"spell buttons"}, false},
        {"F10", Key_F10, 0, false, false, V{"spell buttons"}, false},
        {"Space", Key_Space, 0, false, false, V{"pause"}, false},
        {"F11 drinks", Key_F11, 0, false, false, V{}, false},
        {"1 recalls", Key_1, 0, false, false, V{"spell buttons"}, false},
        {"5 recalls", Key_5, 0, false, false, V{"spell buttons"}, false},
        {"Ctrl+5 stores", Key_5, Shift_Ctrl, false, false, V{}, false},
        {"0", 48, 0, false, false, V{}, false},
        {"6", 54, 0, false, false, V{}, false},
        {"a key of no use", 90, 0, false, false, V{}, false},
        {"G without a player", Key_G, 0, false, true, V{}, false},
        {"G beside a chest", Key_G, 0, true, false, V{}, false},
        {"Space beside a chest", Key_Space, 0, true, false, V{}, false},
        {"F1 beside a chest", Key_F1, 0, true, false, V{}, false},
        {"T beside a chest", Key_T, 0, true, false, V{}, false},
        {"I beside a store", Key_I, 0, true, false, V{"toggle Win Inventory"}, true},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Host.Calls.clear();
        Host.Creature_Dialog = t.Creature_Dialog;
        View.User_Pause = false;
        if (t.No_Player) Set_Player(nullptr);
        EXPECT_EQ(Input.Handle_KeyDown(t.Key, t.Shift), t.Consumed);
        Set_Player(Hero);
        EXPECT_EQ(Host.Calls, t.Calls);
    }
    Host.Creature_Dialog = false;

    // Space sets the game's pause to the toggled user pause, also over a pause a dialog had set.
    Host.Calls.clear();
    Host.Paused = true;
    View.User_Pause = true;
    Input.Handle_KeyDown(Key_Space, 0);
    EXPECT_FALSE(View.User_Pause);
    EXPECT_EQ(Host.Calls, (V{"unpause"}));
    EXPECT_FALSE(Host.Paused);

    // F11 and F12 drink a potion of their kind from the backpack.
    for (auto [key, kind] : {std::pair(Key_F11, uint8_t{2}), std::pair(Key_F12, uint8_t{3})}) {
        TItem* potion = Item("potion", 12, 3);
        potion->Consumption_Type = kind;
        ASSERT_TRUE(Hero->Put_Item_In_Slot(potion, 11));
        Input.Handle_KeyDown(key, 0);
        EXPECT_EQ(potion->Quantity, 2) << key;
        TItem* out = nullptr;
        Hero->Remove_Item_From_Slot(11, out);
    }
}

// The controller passes its key to the input first and keeps a consumed key from its children.
class TInput_Root : public TDisplay_Class {
public:
    explicit TInput_Root(TDC_Main_Input& input) : Input(input) {
        Set_Position("Main Window", 0, 0, Screen_Width, Screen_Height, false);
        Set_Visible(true);
    }
    void Handle_KeyDown(uint16_t& key, int32_t shift) override {
        Key_Consumed = Input.Handle_KeyDown(key, shift);
    }
    TDC_Main_Input& Input;
};

TEST_F(Game_Input, ConsumedKeysNeverReachTheChildren) {
    TJournal journal;
    TInput_Root root(Input);
    TProbe child(journal, "Win Inventory", 0, 224, 100, 100);
    root.Add_Child_Control(&child);
    for (auto [key, reaches] : {std::pair(Key_G, false), {Key_I, false}, {Key_T, true}, {Key_Space, true}}) {
        uint16_t k = key;
        root.KeyDown(k, 0);
        EXPECT_EQ(Take(journal), reaches ? TJournal{"Win Inventory key " + std::to_string(key)} : TJournal{})
            << key;
    }
    root.Remove_Child_Control(&child);
}

TEST_F(Game_Input, WeaponSetsStoreAndRecallTheHands) {
    struct TCase {
        const char* Name;
        TLayout Stored, Before, After;
        bool Full_Backpack = false;
    };
    const std::vector<TCase> cases = {
        {"the items come back from the backpack",
         {{6, "sword"}, {7, "shield"}},
         {{6, "dagger"}, {20, "sword"}, {21, "shield"}},
         {{6, "sword"}, {7, "shield"}, {20, "dagger"}}},
        {"crossed hands",
         {{6, "sword"}, {7, "shield"}},
         {{6, "shield"}, {7, "sword"}},
         {{6, "sword"}, {7, "shield"}}},
        {"both hands stored empty", {}, {{6, "sword"}, {7, "shield"}}, {{11, "sword"}, {12, "shield"}}},
        {"first in the second hand, second stored empty",
         {{6, "sword"}},
         {{6, "dagger"}, {7, "sword"}},
         {{6, "sword"}, {11, "dagger"}}},
        {"first stored empty, second in the backpack",
         {{7, "shield"}},
         {{6, "sword"}, {30, "shield"}},
         {{7, "shield"}, {11, "sword"}}},
        {"an item no longer carried changes nothing",
         {{6, "sword"}, {7, "shield"}},
         {{6, "dagger"}, {7, "shield"}},
         {{6, "dagger"}, {7, "shield"}}},
        {"no room in the backpack keeps the hands",
         {},
         {{6, "sword"}, {7, "shield"}},
         {{6, "sword"}, {7, "shield"}},
         true},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        std::map<std::string, TItem*> items;
        for (const char* name : {"sword", "shield", "dagger"}) items[name] = Item(name, 20);
        Arrange(t.Stored, items);
        Hero->Spells.Set_Quick_Slot(3, Quick_Slot_Spell, 1);
        Hero->Spells.Set_Selected_Slot(3);
        EXPECT_FALSE(Input.Handle_KeyDown(static_cast<uint16_t>(Key_1 + 2), Shift_Ctrl));
        Arrange(t.Before, items);
        if (t.Full_Backpack) {
            for (int32_t slot = First_Backpack_Slot; slot <= Last_Backpack_Slot; ++slot) {
                ASSERT_TRUE(Hero->Put_Item_In_Slot(Item("junk"), slot));
            }
        }
        Hero->Spells.Set_Selected_Slot(0);
        Host.Calls.clear();
        EXPECT_FALSE(Input.Handle_KeyDown(static_cast<uint16_t>(Key_1 + 2), 0));
        EXPECT_EQ(Layout(t.Full_Backpack ? Last_Equipment_Slot : Last_Backpack_Slot), t.After);
        EXPECT_EQ(Hero->Spells.Get_Selected_Slot(), 3);
        EXPECT_EQ(Host.Calls, std::vector<std::string>{"spell buttons"});
    }
    // Only set 3 was written; the last case stored two empty hands.
    const TWeapon_Set& set = Game_Options()->Weapon_Sets[2];
    EXPECT_EQ(set.First_Item_Name, "[Empty]");
    EXPECT_EQ(Game_Options()->Weapon_Sets[1], TWeapon_Set{});
    EXPECT_EQ(Game_Options()->Weapon_Sets[3], TWeapon_Set{});
}

TEST_F(Game_Input, ARecalledSpellSlotMustHoldSomething) {
    struct TCase {
        uint16_t Stored;
        bool Filled;
        int32_t Selected;
    };
    for (const TCase& t : {TCase{4, true, 4}, TCase{4, false, 0}, TCase{11, true, 0}, TCase{0, true, 0},
                           TCase{10, true, 10}}) {
        Hero->Spells.Set_Quick_Slot(t.Stored, t.Filled ? Quick_Slot_Spell : Quick_Slot_Empty, 1);
        TWeapon_Set& set = Game_Options()->Weapon_Sets[4];
        set = TWeapon_Set{"[Empty]", 0, "[Empty]", 0, t.Stored};
        Hero->Spells.Set_Selected_Slot(2);
        Input.Recall_Weapon_Set(5);
        EXPECT_EQ(Hero->Spells.Get_Selected_Slot(), t.Selected) << t.Stored << " " << t.Filled;
        Hero->Spells.Set_Quick_Slot(t.Stored, Quick_Slot_Empty, 0);
    }
    // Sets outside 1..5 are nothing.
    Hero->Spells.Set_Selected_Slot(2);
    Input.Recall_Weapon_Set(6);
    Input.Store_Weapon_Set(0);
    EXPECT_EQ(Hero->Spells.Get_Selected_Slot(), 2);
}

TEST_F(Game_Input, SpellButtonsSelectAndDeselect) {
    Hero->Spells.Set_Quick_Slot(4, Quick_Slot_Spell, 1);
    Hero->Spells.Set_Quick_Slot(10, Quick_Slot_Scroll, 11);
    struct TCase {
        std::vector<std::string> Clicks;
        int32_t Selected;
    };
    for (const TCase& t : {TCase{{"Spell Button 4"}, 4}, TCase{{"Spell Button 4", "Spell Button 4"}, 0},
                           TCase{{"Spell Button 10"}, 10}, TCase{{"Spell Button 4", "Spell Button 5"}, 0},
                           TCase{{"Spell Button 4", "Spell Button x"}, 0}}) {
        Hero->Spells.Set_Selected_Slot(0);
        Host.Calls.clear();
        for (const std::string& name : t.Clicks) Input.Spell_Button_Click(name);
        EXPECT_EQ(Hero->Spells.Get_Selected_Slot(), t.Selected) << t.Clicks.back();
        EXPECT_EQ(Host.Calls.size(), t.Clicks.size());
    }
}

TEST_F(Game_Input, HudButtonsAndDrinks) {
    struct TCase {
        const char* Name;
        bool Creature_Dialog;
        std::vector<std::string> Calls;
    };
    using V = std::vector<std::string>;
    for (const TCase& t : {TCase{"Main Control Button 1", false, V{"open Game Menu"}},
                           TCase{"Main Control Button 1", true, V{}},
                           TCase{"Main Control Button 2", true, V{"open Quests Dlg"}},
                           TCase{"Main Control Button 3", false, V{"open Overview Map"}},
                           TCase{"Main Control Button 4", false, V{"open Statistics Dlg"}},
                           TCase{"Main Control Button 5", false, V{"open Spells Add Dlg"}},
                           TCase{"Button Spell Sel", false, V{"open Spells Select Dlg"}},
                           TCase{"Main Control Button 6", false, V{}},
                           TCase{"Drop Inventory", false, V{"toggle Win Inventory"}},
                           TCase{"Drop Stats", false, V{"toggle Win Stats"}}}) {
        SCOPED_TRACE(t.Name);
        Host.Calls.clear();
        Host.Creature_Dialog = t.Creature_Dialog;
        Input.Control_Button_Click(t.Name);
        Input.Window_Toggle_Click(t.Name);
        EXPECT_EQ(Host.Calls, t.Calls);
    }

    TItem* health = Item("health", 12, 3);
    health->Consumption_Type = 2;
    TItem* mana = Item("mana", 12, 3);
    mana->Consumption_Type = 3;
    ASSERT_TRUE(Hero->Put_Item_In_Slot(health, 11));
    ASSERT_TRUE(Hero->Put_Item_In_Slot(mana, 12));
    struct TDrink {
        bool Store, No_Player;
        uint16_t Left;
    };
    for (const TDrink& d : {TDrink{false, false, 2}, TDrink{true, false, 3}, TDrink{false, true, 3}}) {
        health->Quantity = mana->Quantity = 3;
        Host.Store_Open = d.Store;
        if (d.No_Player) Set_Player(nullptr);
        Input.Drink_Health();
        Input.Drink_Mana();
        Set_Player(Hero);
        EXPECT_EQ(std::pair(health->Quantity, mana->Quantity), std::pair(d.Left, d.Left))
            << d.Store << d.No_Player;
    }
}

} // namespace
