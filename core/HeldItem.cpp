#include "core/HeldItem.h"

#include "core/Item.h"

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
