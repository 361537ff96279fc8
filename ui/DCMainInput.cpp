#include "ui/DCMainInput.h"

#include "core/GameOptions.h"
#include "core/HeldItem.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"
#include "ui/CursorTarget.h"
#include "ui/DCGameScreen.h"
#include "ui/DCMainTick.h"
#include "ui/DisplayClass.h"

#include <array>
#include <cctype>

namespace {

// The equipment panel in the top-left corner, edges included.
constexpr int32_t Panel_Right = 176;
constexpr int32_t Panel_Bottom = 232;
// The portrait: the held item dropped here is drunk or eaten.
constexpr int32_t Portrait_Left = 32, Portrait_Right = 64, Portrait_Top = 21, Portrait_Bottom = 53;
constexpr int32_t Slot_Box_Size = 32;

constexpr uint8_t Item_Type_Potion = 12;
constexpr uint8_t Consumption_Food = 1;

// The status labels and the help entries they show.
struct TLabel {
    int32_t Left, Right, Top, Bottom, Help_Id;
};
constexpr std::array<TLabel, 9> Status_Labels = {{
    {180, 315, 48, 71, 24},
    {180, 315, 73, 96, 25},
    {180, 315, 98, 121, 26},
    {180, 315, 123, 146, 27},
    {370, 505, 9, 32, 28},
    {370, 505, 36, 59, 29},
    {370, 505, 63, 86, 30},
    {370, 505, 90, 113, 31},
    {370, 505, 117, 140, 32},
}};

bool In_Equipment_Panel(int32_t x, int32_t y) {
    return x >= 0 && x <= Panel_Right && y >= 0 && y <= Panel_Bottom;
}

bool On_Portrait(int32_t x, int32_t y) {
    return x >= Portrait_Left && x <= Portrait_Right && y >= Portrait_Top && y <= Portrait_Bottom;
}

// The dialog each HUD button opens.
struct THud_Button {
    const char* Button;
    const char* Dialog;
};
constexpr std::array<THud_Button, 6> Hud_Buttons = {{
    {"Main Control Button 1", "Game Menu"},
    {"Main Control Button 2", "Quests Dlg"},
    {"Main Control Button 3", "Overview Map"},
    {"Main Control Button 4", "Statistics Dlg"},
    {"Main Control Button 5", "Spells Add Dlg"},
    {"Button Spell Sel", "Spells Select Dlg"},
}};

// The hot keys that press a HUD button; each is consumed.
struct THot_Key {
    uint16_t Key;
    const char* Button;
};
constexpr std::array<THot_Key, 6> Button_Keys = {{
    {Key_G, "Main Control Button 1"},
    {Key_Q, "Main Control Button 2"},
    {Key_M, "Main Control Button 3"},
    {Key_C, "Main Control Button 4"},
    {Key_S, "Main Control Button 5"},
    {Key_B, "Button Spell Sel"},
}};

// The number in the last two characters of a control's name, blanks trimmed; 0 when there is none.
int32_t Trailing_Number(const std::string& name) {
    const std::string tail = name.size() >= 2 ? name.substr(name.size() - 2) : name;
    int32_t n = 0;
    bool digits = false;
    for (const char c : tail) {
        if (c == ' ') {
            if (digits) return 0;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        n = n * 10 + (c - '0');
        digits = true;
    }
    return n;
}

// The last of the player's slots 1..90 holding an item of that name and id; 0 when none.
int32_t Find_Set_Item(const TMonster& player, const std::string& name, uint16_t id) {
    int32_t found = 0;
    for (int32_t slot = First_Equipment_Slot; slot <= Last_Backpack_Slot; ++slot) {
        const TItem* item = player.Item_In_Slot(slot);
        if (item && item->Name == name && item->Id == id) found = slot;
    }
    return found;
}

// The two slots exchange what they hold (either may be empty). Recalling a set checks neither the
// requirements nor the hands: the set was worn like that when it was stored.
void Swap_Slots(TMonster& player, int32_t a, int32_t b) {
    if (a == b) return;
    TItem* in_a = nullptr;
    TItem* in_b = nullptr;
    player.Remove_Item_From_Slot(a, in_a);
    player.Remove_Item_From_Slot(b, in_b);
    if (in_b) player.Put_Item_In_Slot(in_b, a);
    if (in_a) player.Put_Item_In_Slot(in_a, b);
}

// The slot's item goes into the backpack; an empty slot needs no room. When the backpack has none the
// item stays in its slot and the result is false.
bool Move_To_Backpack(TMonster& player, int32_t slot) {
    TItem* item = nullptr;
    if (!player.Remove_Item_From_Slot(slot, item)) return true;
    if (player.Add_Item(item)) return true;
    player.Put_Item_In_Slot(item, slot);
    return false;
}

} // namespace

int32_t Status_Label_Help_Id(int32_t x, int32_t y) {
    for (const TLabel& label : Status_Labels)
        if (x >= label.Left && x <= label.Right && y >= label.Top && y <= label.Bottom) return label.Help_Id;
    return 0;
}

int32_t Equipment_Slot_At(int32_t x, int32_t y) {
    for (int32_t slot = First_Equipment_Slot; slot <= Last_Equipment_Slot; ++slot) {
        int32_t left = 0, top = 0;
        Get_Equipment_Slot_Position(slot, left, top);
        if (TDisplay_Class::Point_In_Rect(x, y, left, top, Slot_Box_Size, Slot_Box_Size)) return slot;
    }
    return 0;
}

TDC_Main_Input::TDC_Main_Input(TGame_Screen_Host& host, TDC_Main_Tick& tick, TGame_Screen_View& view)
    : Host_(host), Tick_(tick), View_(view) {}

// ---------------------------------------------------------------------------------------------------------
// The mouse

void TDC_Main_Input::Handle_MouseMove(int32_t /*shift*/, int32_t x, int32_t y) {
    if (In_Equipment_Panel(x, y)) {
        Equipment_Hover(x, y);
    } else if (const int32_t help_id = Status_Label_Help_Id(x, y)) {
        Set_Cursor_Target_Button(help_id);
    } else {
        Map_Hover(x, y);
    }
}

void TDC_Main_Input::Equipment_Hover(int32_t x, int32_t y) {
    View_.Invalid_Slot = 0;
    const TMonster* player = Player();
    if (!player) return;
    const int32_t slot = Equipment_Slot_At(x, y);
    if (const TItem* item = player->Item_In_Slot(slot))
        Set_Cursor_Target_Item(item->Id);
    else
        Clear_Cursor_Target();
    if (slot != 0 && Is_Holding_Item() && !Can_Place_Item(Get_Held_Item(), slot)) View_.Invalid_Slot = slot;
}

void TDC_Main_Input::Map_Hover(int32_t x, int32_t y) {
    int32_t map_x = 0, map_y = 0;
    const TMap* map = Current_Map();
    const TMap_Square* square =
        map && Tick_.Screen_To_Map(x, y, true, map_x, map_y) ? map->Get_Square(map_x, map_y) : nullptr;
    if (!square || !square->Is_Seen()) {
        Clear_Cursor_Target();
        return;
    }
    // What stands on the square is named before what lies there, and what lies there before the floor.
    if (square->Monster_Id != 0)
        Set_Cursor_Target_Monster(square->Monster_Id);
    else if (square->Is_Pile())
        Set_Cursor_Target_Pile(map_x, map_y);
    else if (square->Item_Field != 0)
        Set_Cursor_Target_Item(square->Item_Field);
    else
        Set_Cursor_Target_Cell(map_x, map_y);
}

void TDC_Main_Input::Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) {
    Tick_.Left_Button_Held = button == Mouse_Button_Left;
    Right_Button_Held = button == Mouse_Button_Right;
    if (In_Equipment_Panel(x, y)) {
        // A chest, store or give-item dialog pauses the game but works with the player's slots.
        if (!Host_.Is_Paused() || Host_.Is_Item_Window_Open()) Equipment_Click(button, shift, x, y);
    } else if (!Host_.Is_Paused()) {
        Map_Click(shift, x, y);
    }
}

void TDC_Main_Input::Equipment_Click(int32_t button, int32_t shift, int32_t x, int32_t y) {
    if (On_Portrait(x, y) && (shift & Shift_Left) && Is_Holding_Item()) {
        Feed_Held_Item();
        return;
    }
    if (const int32_t slot = Equipment_Slot_At(x, y))
        Inventory_Slot_Click(button, shift, slot, Tick_.Callbacks());
}

void TDC_Main_Input::Feed_Held_Item() {
    TMonster* player = Player();
    if (!player) return;
    TItem* item = Take_Held_Item();
    // One unit is used; what is left of a stack goes back onto the cursor.
    bool left = true;
    if (item->Item_Type == Item_Type_Potion)
        left = player->Drink(item);
    else if (item->Consumption_Type == Consumption_Food)
        left = player->Eat(item);
    if (!left) return;
    Set_Held_Item(item);
    // The held item weighs on the player again.
    player->Recalculate_Stats();
}

void TDC_Main_Input::Map_Click(int32_t shift, int32_t x, int32_t y) {
    int32_t map_x = 0, map_y = 0;
    if (!Tick_.Screen_To_Map(x, y, true, map_x, map_y) || Tick_.Walking || !Player()) return;
    if (shift & Shift_Right) {
        Tick_.Pending_Command = Command_Act;
        Tick_.Target_X = map_x;
        Tick_.Target_Y = map_y;
    } else if (shift & Shift_Left) {
        if (Is_Holding_Item()) {
            Drop_Held_Item();
            return;
        }
        Tick_.Pending_Command = Command_Walk;
        Tick_.Target_X = map_x;
        Tick_.Target_Y = map_y;
    }
}

void TDC_Main_Input::Drop_Held_Item() {
    TMonster* player = Player();
    TMap* map = Current_Map();
    TItem* item = Take_Held_Item();
    TMap_Square* square = map ? map->Get_Square(player->X, player->Y) : nullptr;
    if (square && square->Drop_Item(item)) {
        Sound_Play("itemdrop.wav");
    } else {
        Set_Held_Item(item);
    }
    // On the floor it no longer weighs on him.
    player->Recalculate_Stats();
}

void TDC_Main_Input::Handle_MouseUp(int32_t, int32_t, int32_t, int32_t, bool) {
    Tick_.Left_Button_Held = false;
    Right_Button_Held = false;
}

// ---------------------------------------------------------------------------------------------------------
// The keys

bool TDC_Main_Input::Handle_KeyDown(uint16_t key, int32_t shift) {
    if (!Player()) return false;
    if (key == Key_I) {
        // The inventory goes on working beside a store, chest or talk: items move between the two.
        Window_Toggle_Click("Drop Inventory");
        return true;
    }
    // A talk, store, chest or give-item dialog pauses the game without being modal; no other hot key may
    // open another dialog or unpause the game under it.
    if (Host_.Is_Creature_Dialog_Open()) return false;
    if (key >= Key_F1 && key <= Key_F10) {
        Spell_Button_Click("Spell Button " + std::to_string(key - Key_F1 + 1));
        return false;
    }
    if (key == Key_F11) {
        Drink_Health();
        return false;
    }
    if (key == Key_F12) {
        Drink_Mana();
        return false;
    }
    for (const THot_Key& hot : Button_Keys)
        if (key == hot.Key) {
            Control_Button_Click(hot.Button);
            return true;
        }
    if (key == Key_R) {
        Window_Toggle_Click("Drop Stats");
        return true;
    }
    if (key == Key_T) {
        Host_.Inventory_Next_Tab();
        return false;
    }
    if (key == Key_Space) {
        Toggle_User_Pause();
        return false;
    }
    if (key >= Key_1 && key <= Key_5) {
        const int32_t n = key - Key_1 + 1;
        if (shift & Shift_Ctrl)
            Store_Weapon_Set(n);
        else
            Recall_Weapon_Set(n);
    }
    return false;
}

void TDC_Main_Input::Toggle_User_Pause() {
    // The game takes the player's own pause as it now is, over whatever a dialog had set.
    View_.User_Pause = !View_.User_Pause;
    Host_.Set_Paused(View_.User_Pause);
}

// ---------------------------------------------------------------------------------------------------------
// The HUD

void TDC_Main_Input::Control_Button_Click(const std::string& name) {
    // The game menu unpauses when it closes, which would set the game running under the open dialog.
    if (name == Hud_Buttons[0].Button && Host_.Is_Creature_Dialog_Open()) return;
    for (const THud_Button& button : Hud_Buttons)
        if (name == button.Button) {
            Host_.Open_Game_Dialog_Named(button.Dialog);
            return;
        }
}

void TDC_Main_Input::Window_Toggle_Click(const std::string& name) {
    if (name == "Drop Inventory")
        Host_.Toggle_Game_Window("Win Inventory");
    else if (name == "Drop Stats")
        Host_.Toggle_Game_Window("Win Stats");
}

void TDC_Main_Input::Drink_Health() {
    TMonster* player = Player();
    if (player && !Host_.Is_Store_Dialog_Open()) player->Drink_Health_Potion();
}

void TDC_Main_Input::Drink_Mana() {
    TMonster* player = Player();
    if (player && !Host_.Is_Store_Dialog_Open()) player->Drink_Mana_Potion();
}

void TDC_Main_Input::Spell_Button_Click(const std::string& name) {
    TMonster* player = Player();
    if (!player) return;
    const int32_t n = Trailing_Number(name);
    int32_t selected = player->Spells.Get_Selected_Slot() == n ? 0 : n;
    uint8_t kind = Quick_Slot_Empty;
    uint16_t value = 0;
    player->Spells.Get_Quick_Slot(selected, kind, value);
    if (kind == Quick_Slot_Empty) selected = 0;
    player->Spells.Set_Selected_Slot(selected);
    Host_.Update_Spell_Buttons();
}

// ---------------------------------------------------------------------------------------------------------
// Weapon sets

void TDC_Main_Input::Store_Weapon_Set(int32_t n) {
    const TMonster* player = Player();
    TGame_Options* options = Game_Options();
    if (!player || !options || n < 1 || n > TGame_Options::Weapon_Set_Count) return;
    TWeapon_Set& set = options->Weapon_Sets[static_cast<size_t>(n - 1)];
    const TItem* first = player->Item_In_Slot(First_Hand_Slot);
    const TItem* second = player->Item_In_Slot(Second_Hand_Slot);
    set.First_Item_Name = first ? first->Name : Weapon_Set_Empty;
    set.First_Item_Id = first ? first->Id : 0;
    set.Second_Item_Name = second ? second->Name : Weapon_Set_Empty;
    set.Second_Item_Id = second ? second->Id : 0;
    set.Spell_Slot = player->Spells.Get_Selected_Slot();
}

void TDC_Main_Input::Recall_Weapon_Set(int32_t n) {
    TMonster* player = Player();
    const TGame_Options* options = Game_Options();
    if (!player || !options || n < 1 || n > TGame_Options::Weapon_Set_Count) return;
    const TWeapon_Set& set = options->Weapon_Sets[static_cast<size_t>(n - 1)];
    const auto first = [&] { return Find_Set_Item(*player, set.First_Item_Name, set.First_Item_Id); };
    const auto second = [&] { return Find_Set_Item(*player, set.Second_Item_Name, set.Second_Item_Id); };
    const bool first_empty = set.First_Item_Name == Weapon_Set_Empty;
    const bool second_empty = set.Second_Item_Name == Weapon_Set_Empty;
    // Each item's slot is looked up again just before it moves: the move before may have carried it
    // elsewhere (out of the other hand, or into the backpack).
    if (first() != 0 && second() != 0) {
        Swap_Slots(*player, First_Hand_Slot, first());
        Swap_Slots(*player, Second_Hand_Slot, second());
    } else if (first() != 0 && second_empty) {
        if (Move_To_Backpack(*player, Second_Hand_Slot) && first() != 0)
            Swap_Slots(*player, First_Hand_Slot, first());
    } else if (first_empty && second() != 0) {
        if (Move_To_Backpack(*player, First_Hand_Slot) && second() != 0)
            Swap_Slots(*player, Second_Hand_Slot, second());
    } else if (first_empty && second_empty) {
        Move_To_Backpack(*player, First_Hand_Slot);
        Move_To_Backpack(*player, Second_Hand_Slot);
    }
    // A slot from a save may be out of range or name an emptied quick-bar slot; selecting it would send
    // every right click on a creature to a cast of nothing.
    int32_t spell_slot = set.Spell_Slot;
    uint8_t kind = Quick_Slot_Empty;
    uint16_t value = 0;
    player->Spells.Get_Quick_Slot(spell_slot, kind, value);
    if (kind == Quick_Slot_Empty) spell_slot = 0;
    player->Spells.Set_Selected_Slot(spell_slot);
    player->Recalculate_Stats();
    Host_.Update_Spell_Buttons();
}
