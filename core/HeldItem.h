// The item on the mouse cursor. While held it is in the map's item list but in no slot and on no square,
// and its weight still counts toward the load of the creature that carries it. The inventory window sets
// and clears it; the world model only reads it.
#pragma once

#include <cstdint>

class TItem;

// The held item's id in the current item list; 0 when nothing is held.
uint16_t Held_Item_Id();
void Set_Held_Item_Id(uint16_t id);
// The held item resolved through the current item list; null when nothing is held or the id no longer
// names an item (a stale id must not reach the weight sum).
TItem* Get_Held_Item();

// ---------------------------------------------------------------------------------------------------------
// Placing the held item into the player's slots (1..10 worn, 11..90 the backpack). The inventory window
// and the equipment panel call these with the slot under the mouse; they never draw.

struct TCallback_Set;

// The bit of a mouse press's shift state that says the left button is down.
constexpr int32_t Shift_Left_Button = 8;

// Whether an item is on the cursor; a held id that no longer names an item counts as nothing.
bool Is_Holding_Item();
// Puts the item on the cursor, replacing what was held; null empties the cursor.
void Set_Held_Item(TItem* item);
// Takes the held item off the cursor and returns it; null when nothing is held.
TItem* Take_Held_Item();

// Whether the item may go into the player's slot: false without a player, without an item or for a slot
// outside 1..90. The slot must take the item's kind, the hands must be free for it, and in a slot where
// the item acts (every worn slot, and the backpack for glyphs and orbs) the player must meet its
// requirements at the item's level. A stack in the slot with room that the item may join takes it
// whatever the rest says.
bool Can_Place_Item(const TItem* item, int32_t slot);

// Puts the held item into the player's slot when it may go there. Onto a stack it may join, as many units
// as fit go over (an item of quantity 0 counts as one unit); what is left stays on the cursor, and an item
// with nothing left is deleted. Otherwise the held item and the slot's item change places. When the slot
// does not take the held item after all, the held item stays on the cursor and the slot's item goes back
// to the player (its slot, else the backpack, else his square), so neither is ever lost.
void Put_Down_Held_Item(int32_t slot);

// A mouse press on one of the player's slots. With the left button down in the shift state: puts the held
// item down there, or picks the slot's item up onto the cursor. The spell buttons are refreshed after any
// press; nothing at all happens without a player.
void Inventory_Slot_Click(int32_t button, int32_t shift, int32_t slot, const TCallback_Set& callbacks);

// Gives the item on the cursor back to the player before a save, an export or a load: into his backpack
// (Add_To_Backpack, which may stack it), else onto his square. The item is never lost: when neither takes
// it (no player, no map, a pile the map does not hold) it stays on the cursor. True when the cursor is
// empty afterwards.
bool Release_Held_Item();
