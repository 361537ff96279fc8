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
