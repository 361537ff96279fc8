// Concrete items of the game (a sword, a stack of arrows, a torch, a key, a potion, gold) and the list of a
// level's items. The list owns every item of the level; its 1-based positions are the items' ids, and
// squares, piles, chests, stores and creatures refer to items by id only.
#pragma once

#include "core/Damage.h"
#include "core/Effects.h"
#include "core/SaveStream.h"
#include "core/SlotList.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

// Item types the item code treats specially (the names of Item_Type_Name).
enum : uint8_t {
    Item_Type_None = 0,
    Item_Type_Ammo = 1,
    Item_Type_Misc = 11,
    Item_Type_Gold = 21,
};

// Consumption types the inventory looks items up by (the names of Consumption_Type_Names).
enum : uint8_t {
    Consumption_Health = 2,
    Consumption_Mana = 3,
};

class TItem {
public:
    uint16_t Id = 0; // position in the level's item list
    std::string Name;
    std::string Description;
    std::string Class_Name; // items of one class stack, whatever their names or effects
    std::string Item_Group;
    uint8_t Item_Type = Item_Type_Misc;
    uint16_t Item_Level = 0;
    std::string Weapon_Type;
    std::string Picture; // picture file name
    TDamage Damage;
    std::string Use_Sound;
    uint16_t Event_Id = 0;        // module event triggers refer to the item by it
    std::string Ammo_Type;        // the kind of ammunition this item is
    std::string Ammo_Required;    // the kind of ammunition this weapon fires
    uint16_t Weight = 0;          // one unit; Total_Weight gives the stack's
    uint8_t Hands = 0;            // hands required
    uint8_t Consumption_Type = 0; // Consumption_Health and Consumption_Mana are the potions
    uint16_t Consumption_Value = 0;
    uint16_t Defense_Rating = 0;
    std::string Key_Group;  // the lock group this key opens; empty for anything but a key
    int32_t Gold_Value = 0; // one unit
    uint8_t Light_Radius = 0;
    uint16_t Light_Turns = 0; // seconds of light left; 0: the light never burns down
    uint16_t Quantity = 0;    // units in the stack; 0 counts as one unit
    uint16_t Max_Stack = 0;   // 0: does not stack
    TAttributes_List Attributes;
    TRequirements Requirements;
    TEffect_List Effects;
    TString_List Spell_Names; // spells the item carries (scrolls, wands), parallel to Spell_Levels
    TWordList Spell_Levels;
    int16_t Picture_Index = 0; // sheet cell the map assigns for drawing; not saved

    // Copies every field, the id and the owned lists included.
    void Assign(const TItem& other);

    // The item record. Raises EStream_Read_Error on a broken stream, and when the spell names and spell
    // levels read differ in length: a scroll whose level list is short would cast at a level read from
    // past the end.
    void Save_To_Stream(TStream_Writer& writer) const;
    bool Load_From_Stream(TStream_Reader& reader);

    // The equipment kind of its item type (Item_Type_Equip_Slot); 0 for items that are never worn.
    uint8_t Equip_Slot_Kind() const;

    void Set_Picture_Index(int16_t index) { Picture_Index = index; }
    // Its picture cell at x, y of the target buffer (centred: in the middle of a map square's floor), and
    // for a stack of more than one its quantity, dark and then white one pixel up and to the left.
    void Draw(int32_t surface, int32_t x, bool centred, int32_t y) const;
    void Set_Max_Stack(uint16_t n) { Max_Stack = n; }

    // Quantity - n, held at 0.
    void Use_Quantity(int32_t n);
    // Quantity + n, held at Max_Stack (so an item that does not stack ends at 0).
    void Add_Quantity(int32_t n);

    // The sum of the effect type in its effect list.
    int32_t Effect_Total(int32_t effect_type) const;
    // Appends its effects to the list.
    void Add_Effects(TEffect_List& list) const;

    // Gold_Value for each unit (0 units count as one), raised by a positive "Gold Value" effect percent.
    // Computed in 64 bits and held to the 32-bit range: a large stack of a costly item must not wrap to a
    // negative price.
    int32_t Value() const;
    // The stack's weight: Weight for each unit (fewer than 2 units count as one). Wraps at 16 bits, as the
    // creature's load field that sums it is 16-bit.
    uint16_t Total_Weight() const;

    // A light (Light_Radius and Light_Turns above 0) burns one second; true when it has just gone out.
    bool Burn_Light();
};

// The items of one level in 1-based positions; a position may be empty. Id = position.
class TItem_List {
public:
    // Ids and the saved count are 16-bit.
    static constexpr int Max_Items = TSlot_List<TItem>::Max_Slots;

    // A name kept, saved and copied with the list (the map records the item class file it was made from).
    const std::string& List_Name() const { return Slots_.Name(); }
    void Set_List_Name(std::string name) { Slots_.Set_Name(std::move(name)); }

    // The item at the position; null for 0, beyond the count, or an empty position.
    TItem* Item(uint16_t id) const { return Slots_.Get(id); }
    // Positions, empty ones included.
    int Count() const { return Slots_.Count(); }

    // Stores a copy of the item. With id 0 the copy is appended; otherwise it replaces position id, which
    // must exist. The copy's Id becomes its position, which is returned. With no item the position is made
    // empty (an empty position is appended for 0). Returns 0, storing nothing, when the position does not
    // exist or the list already holds Max_Items positions.
    uint16_t Put(const TItem* item, uint16_t id);
    // Put into the lowest empty position, else appended; returns the id (0 when the list is full).
    uint16_t Add(const TItem* item);
    // Frees the item and leaves its position empty; a position beyond the count is ignored.
    void Delete_At(uint16_t position);
    // Delete_At the last position whose item carries the id.
    void Delete_Id(uint16_t id);
    // Frees every item and removes every position.
    void Clear() { Slots_.Clear(); }
    void Clear_All() { Clear(); }
    // Copies the name and every position in order; empty positions stay empty, so every item keeps its id.
    void Assign(const TItem_List& other);

    // Position count (word), the name, then per position a presence flag and the item's record.
    void Save_To_Stream(TStream_Writer& writer) const;
    // Clears the list and reads the same layout; absent positions stay empty and each item lands at its old
    // position with Id = position. False when an item record was not usable (its position is left empty);
    // a broken stream raises EStream_Read_Error.
    bool Load_From_Stream(TStream_Reader& reader);

private:
    TSlot_List<TItem> Slots_;
};

// The item list that ids resolve through: the current map's. The map sets it when it becomes current and
// clears it when it goes; tests install a bare list. Not owned; null when there is none.
TItem_List* Current_Item_List();
void Set_Current_Item_List(TItem_List* list);

// The item of the id in the current item list; null for id 0, an id that names no item, or no list.
TItem* Find_Item(uint16_t id);
// Deletes the item with the id from the current item list (Delete_Id); nothing when there is no list.
void Delete_Current_Item(uint16_t id);
