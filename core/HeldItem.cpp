#include "core/HeldItem.h"

#include "core/Callbacks.h"
#include "core/GlobalFuncs.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"

namespace {
uint16_t Held_Id = 0;
} // namespace

uint16_t Held_Item_Id() {
    return Held_Id;
}

void Set_Held_Item_Id(uint16_t id) {
    Held_Id = id;
}

TItem* Get_Held_Item() {
    return Find_Item(Held_Id);
}

// ---------------------------------------------------------------------------------------------------------
// Placing the held item into the player's slots

namespace {

constexpr uint8_t Item_Type_Weapon = 20;

// The other hand of a hand slot; 0 for any other slot.
int32_t Other_Hand(int32_t slot) {
    if (slot == First_Hand_Slot) return Second_Hand_Slot;
    if (slot == Second_Hand_Slot) return First_Hand_Slot;
    return 0;
}

// The item in the slot when the item may join it as a stack with room left; null otherwise.
TItem* Stack_Taking(const TMonster& player, const TItem& item, int32_t slot) {
    TItem* stack = player.Item_In_Slot(slot);
    if (!stack || stack == &item) return nullptr;
    // A stack of maximum 0 does not stack: no quantity is below it.
    if (stack->Quantity >= stack->Max_Stack) return nullptr;
    return Is_Same_Stack_Kind(*stack, item) ? stack : nullptr;
}

// A two-handed item needs the other hand empty, nothing joins a two-handed item, and two weapons are
// wielded together only by a player who has learnt to.
bool Hands_Allow(const TMonster& player, const TItem& item, int32_t slot) {
    const int32_t other_slot = Other_Hand(slot);
    if (other_slot == 0) return true;
    const TItem* other = player.Item_In_Slot(other_slot);
    if (!other) return true;
    if (item.Hands == 2 || other->Hands == 2) return false;
    if (item.Item_Type == Item_Type_Weapon && other->Item_Type == Item_Type_Weapon)
        return player.Has_Two_Weapons();
    return true;
}

// Moves units of the held item onto the stack; an item of quantity 0 still is one unit. The held item
// keeps what did not fit, or is deleted when nothing is left.
void Merge_Onto_Stack(TItem* held, TItem& stack) {
    const int32_t units = held->Quantity == 0 ? 1 : held->Quantity;
    const int32_t before = stack.Quantity;
    stack.Add_Quantity(units);
    const int32_t left = units - (stack.Quantity - before);
    if (left > 0) {
        held->Quantity = static_cast<uint16_t>(left);
        Set_Held_Item(held);
        return;
    }
    Delete_Current_Item(held->Id);
    Sound_Play("put_down.wav");
}

// An item that came out of the slot for a swap that failed goes back to the player: into the slot, else
// the backpack, else onto his square.
void Return_To_Player(TMonster& player, TItem* item, int32_t slot) {
    if (player.Equip_Item(item, slot) || player.Add_Item(item)) return;
    TMap* map = Current_Map();
    TMap_Square* square = map ? map->Get_Square(player.X, player.Y) : nullptr;
    if (square) square->Drop_Item(item);
}

void Swap_Into_Slot(TMonster& player, TItem* held, int32_t slot) {
    TItem* out = nullptr;
    if (player.Item_In_Slot(slot)) player.Remove_Item_From_Slot(slot, out);
    if (!player.Equip_Item(held, slot)) {
        if (out) Return_To_Player(player, out, slot);
        Set_Held_Item(held);
        return;
    }
    Sound_Play("put_down.wav");
    if (out) Set_Held_Item(out);
}

} // namespace

bool Is_Holding_Item() {
    return Get_Held_Item() != nullptr;
}

void Set_Held_Item(TItem* item) {
    Held_Id = item ? item->Id : 0;
}

TItem* Take_Held_Item() {
    TItem* item = Get_Held_Item();
    Held_Id = 0;
    return item;
}

bool Can_Place_Item(const TItem* item, int32_t slot) {
    const TMonster* player = Player();
    if (!player || !item || slot < First_Equipment_Slot || slot > Last_Backpack_Slot) return false;
    if (Stack_Taking(*player, *item, slot)) return true;
    const uint8_t kind = item->Equip_Slot_Kind();
    if (!Slot_Accepts_Kind_Ex(kind, slot)) return false;
    if (!Hands_Allow(*player, *item, slot)) return false;
    // The strict test: where the item acts, the player must be able to use it.
    if (Slot_Accepts_Kind(kind, slot) && !item->Requirements.Is_Met_By(player, item->Item_Level))
        return false;
    return true;
}

void Put_Down_Held_Item(int32_t slot) {
    TItem* held = Take_Held_Item();
    if (!held) return;
    TMonster* player = Player();
    if (!Can_Place_Item(held, slot)) {
        Set_Held_Item(held);
        return;
    }
    if (TItem* stack = Stack_Taking(*player, *held, slot))
        Merge_Onto_Stack(held, *stack);
    else
        Swap_Into_Slot(*player, held, slot);
    // The held item weighs on the player too, so the load is summed once the cursor is settled.
    player->Recalculate_Stats();
}

void Inventory_Slot_Click(int32_t /*button*/, int32_t shift, int32_t slot, const TCallback_Set& callbacks) {
    TMonster* player = Player();
    if (!player) return;
    if (shift & Shift_Left_Button) {
        if (Is_Holding_Item()) {
            Put_Down_Held_Item(slot);
        } else if (player->Item_In_Slot(slot)) {
            TItem* item = nullptr;
            player->Remove_Item_From_Slot(slot, item);
            Set_Held_Item(item);
            player->Recalculate_Stats();
            Sound_Play("pick_up.wav");
        }
    }
    if (callbacks.On_Refresh_Spells) callbacks.On_Refresh_Spells();
}

bool Release_Held_Item() {
    TItem* held = Get_Held_Item();
    if (!held) {
        // A stale id names nothing: the cursor is simply empty.
        Held_Id = 0;
        return true;
    }
    TMonster* player = Player();
    TMap* map = Current_Map();
    if (!player || !map) return false;
    Held_Id = 0;
    if (player->Add_Item(held)) return true;
    TMap_Square* square = map->Get_Square(player->X, player->Y);
    if (square && square->Drop_Item(held)) {
        // Its weight no longer counts toward his load.
        player->Recalculate_Stats();
        return true;
    }
    Held_Id = held->Id;
    return false;
}
