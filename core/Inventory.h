// Lists of item ids (an item pile, a chest's content) and a creature's inventory: its items with the slot
// each occupies. Ids resolve through the current item list; an id that names no item there is skipped by
// every walk, so a stale id left in a pile or an old file never reaches the rules as an item.
#pragma once

#include "core/Effects.h"
#include "core/Item.h"
#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <functional>
#include <string>

// Slots 1..10 are worn (1 helm, 2 amulet, 3 armour, 4 belt, 5 boots, 6 and 7 the hands, 8 and 9 rings,
// 10 gloves); 11..90 are the backpack.
enum : uint8_t {
    First_Equipment_Slot = 1,
    First_Hand_Slot = 6,
    Second_Hand_Slot = 7,
    Last_Equipment_Slot = 10,
    First_Backpack_Slot = 11,
    Last_Backpack_Slot = 90,
};

// Whether an item in the slot counts as equipped: the slot accepts the equipment kind of its item type.
// Glyphs and orbs count only in the backpack, so they act from there; food, potions, scrolls, keys,
// ammunition, treasure and gold never count.
bool Is_Equipped_In_Slot(const TItem& item, int32_t slot);

// Whether the item may join the stack by kind, room aside: the same item class (magic variants of a class
// stack with it), or ammunition of one named kind across classes. Both must be ammunition and the kind must
// not be empty, or a stack of unnamed ammunition would swallow, and delete, any item without an ammo type.
bool Is_Same_Stack_Kind(const TItem& stack, const TItem& item);

// A list of item ids, positions counted from 1.
class TItem_Collection {
public:
    int32_t Count() const { return Ids_.Count(); }
    void Clear() { Ids_.Clear(); }
    // Copies the ids.
    void Assign(const TItem_Collection& other);
    const TWordList& Ids() const { return Ids_; }
    // The id at the index; 0 for an index out of range.
    uint16_t Id(int32_t index) const;

    // The id list as a word list.
    void Save_To_Stream(TStream_Writer& writer) const;
    bool Load_From_Stream(TStream_Reader& reader);

    // Appends the item's id; nothing for no item.
    void Add(const TItem* item);
    // Removes the id at the index; an index out of range is ignored.
    void Delete(int32_t index);
    // The item of the id at the index; null for an index out of range, id 0 or an id naming no item.
    TItem* Item(int32_t index) const;

    // The sum of the items' stack weights.
    int32_t Total_Weight() const;
    // Ammunition kinds compare trimmed and ignoring letter case, as data files write them loosely.
    // Whether some item of the kind has Quantity above 0.
    bool Has_Ammo(const std::string& kind) const;
    // The use sound of the first such item that has one; empty when none.
    std::string Ammo_Sound_File(const std::string& kind) const;
    // The first such item loses one unit; its index, 0 when there is none.
    int32_t Use_Ammo(const std::string& kind);
    // The index of the first item whose Consumption_Type is the kind; 0 when none.
    int32_t Find_Use_Kind(uint8_t kind) const;

    // Items copied into another item list got new ids: every id is looked up once, at the last position
    // of old_ids that holds it, and replaced by new_ids at that position. A replaced id is not looked up
    // again, so (5, 7) -> (7, 9) turns 5 into 7, not 9. Positions beyond the shorter list are not used.
    void Remap_Ids(const TWordList& old_ids, const TWordList& new_ids);

private:
    TWordList Ids_;
};

// A creature's items: Contents and Slots are parallel, the item at position n occupies slot Slots[n].
class TInventory {
public:
    int32_t Count() const { return Contents_.Count(); }
    const TItem_Collection& Contents() const { return Contents_; }
    const TbyteList& Slots() const { return Slots_; }
    // The slot of the item at position n (1..Count); 0 for a position out of range.
    uint8_t Slot_At(int32_t n) const;

    void Assign(const TInventory& other);
    void Clear();
    // The id list (word list), then the slot list (byte list).
    void Save_To_Stream(TStream_Writer& writer) const;
    // Reads the same. Raises EStream_Read_Error, leaving the inventory as it was, when the two lists differ
    // in length: a slot without an item (or the reverse) would shift every later item into the wrong slot.
    bool Load_From_Stream(TStream_Reader& reader);

    // The position of the item in the slot (the last one when several), 0 when none.
    int32_t Find_Slot(int32_t slot) const;
    // The item in the slot, or null.
    TItem* Item_In_Slot(int32_t slot) const;
    // False when there is no item, the slot is not 1..90, or an item is in it; else adds the item there.
    bool Put_In_Slot(TItem* item, int32_t slot);
    // Takes the slot's entry out of both lists. True with its item; false with null when the slot is empty
    // (an entry whose id names no item is removed too, so the slot becomes usable again).
    bool Take_From_Slot(int32_t slot, TItem*& item);

    int32_t Total_Weight() const { return Contents_.Total_Weight(); }

    // Puts the item into the backpack, stacking it onto an item there when one can take the whole
    // quantity; the stacked item is then deleted from the current item list, and the caller must not use
    // it again. False when no stack takes it and all 80 backpack slots are full.
    bool Add_To_Backpack(TItem* item);
    // Whether Add_To_Backpack would succeed.
    bool Has_Room_For(const TItem* item) const;

    bool Has_Ammo(const std::string& kind) const { return Contents_.Has_Ammo(kind); }
    std::string Ammo_Sound_File(const std::string& kind) const { return Contents_.Ammo_Sound_File(kind); }
    // Uses one unit of ammunition of the kind and appends that item's effects to ammo_effects (when given),
    // which the missile carries. When that was the last unit the item leaves the inventory and is deleted
    // from the current item list, so no spent, ownerless item stays in the map. False when there is none.
    bool Use_Ammo(const std::string& kind, TEffect_List* ammo_effects = nullptr);

    // Takes the first item whose Consumption_Type is the kind out of the inventory and returns it; null
    // when none.
    TItem* Take_First_Of_Use_Kind(uint8_t kind);
    // Drinking from a stack of potions uses one unit: apply(item) is called with the first item whose
    // Consumption_Type is the kind (the creature applies its effect there), then one unit is used up. The
    // item leaves the inventory and is deleted from the current item list only when no unit is left.
    // False, calling nothing, when there is no such item.
    bool Use_One_Of_Use_Kind(uint8_t kind, const std::function<void(const TItem&)>& apply);

    void Remap_Ids(const TWordList& old_ids, const TWordList& new_ids) {
        Contents_.Remap_Ids(old_ids, new_ids);
    }

    // Sums over the equipped items only.
    int32_t Equipped_Effect_Total(int32_t effect_type) const;
    int32_t Effect_Total(int32_t effect_type) const { return Equipped_Effect_Total(effect_type); }
    // Appends the effects of every equipped item.
    void Add_Equipped_Effects(TEffect_List& list) const;
    int32_t Armor_Total() const;

    // Uses one key of the group (letter case counts): the last one leaves the inventory and is deleted from
    // the current item list. False when no key of the group is carried.
    bool Use_Key(const std::string& key_group);
    // One second of every equipped light; a light that goes out is used up (a single one leaves the
    // inventory and is deleted from the current item list).
    void Burn_Lights();

private:
    // Removes position n from both lists.
    void Remove_At(int32_t n);
    // Removes position n and deletes its item from the current item list.
    void Remove_And_Delete_At(int32_t n);
    // Uses one unit of the item at position n: a stack of two or more loses a unit, a single unit (or a
    // stack of 0, which counts as one) leaves the inventory and is deleted from the current item list.
    // Whether the item remains.
    bool Use_One_Unit_At(int32_t n);
    // The backpack item the new one can be stacked onto; null when none.
    TItem* Find_Stack_For(const TItem& item) const;
    int32_t First_Free_Backpack_Slot() const;

    TItem_Collection Contents_;
    TbyteList Slots_;
};
