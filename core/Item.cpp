#include "core/Item.h"

#include "core/GlobalFuncs.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

TItem_List* Current_List = nullptr;

} // namespace

// ---- TItem ----

void TItem::Assign(const TItem& other) {
    if (this == &other) return;
    *this = other;
}

void TItem::Save_To_Stream(TStream_Writer& writer) const {
    Write_Word(writer, Id);
    Write_String(writer, Name);
    Write_String(writer, Description);
    Write_String(writer, Class_Name);
    Write_String(writer, Item_Group);
    Write_Byte(writer, Item_Type);
    Write_Word(writer, Item_Level);
    Write_String(writer, Weapon_Type);
    Write_String(writer, Picture);
    Damage.Save_To_Stream(writer);
    Write_String(writer, Ammo_Type);
    Write_String(writer, Ammo_Required);
    Write_String(writer, Use_Sound);
    Write_Word(writer, Weight);
    Write_Byte(writer, Hands);
    Write_Word(writer, Event_Id);
    Write_Byte(writer, Consumption_Type);
    Write_Word(writer, Consumption_Value);
    Write_Word(writer, Defense_Rating);
    Write_String(writer, Key_Group);
    Write_Integer(writer, Gold_Value);
    Write_Byte(writer, Light_Radius);
    Write_Word(writer, Light_Turns);
    Write_Word(writer, Max_Stack);
    Write_Word(writer, Quantity);
    Attributes.Save_To_Stream(writer);
    Requirements.Save_To_Stream(writer);
    Effects.Write(writer);
    Write_String_List(writer, Spell_Names);
    Write_Word_List(writer, Spell_Levels);
}

bool TItem::Load_From_Stream(TStream_Reader& reader) {
    Id = Read_Word(reader);
    Name = Read_String(reader);
    Description = Read_String(reader);
    Class_Name = Read_String(reader);
    Item_Group = Read_String(reader);
    Item_Type = Read_Byte(reader);
    Item_Level = Read_Word(reader);
    Weapon_Type = Read_String(reader);
    Picture = Read_String(reader);
    bool ok = Damage.Load_From_Stream(reader);
    Ammo_Type = Read_String(reader);
    Ammo_Required = Read_String(reader);
    Use_Sound = Read_String(reader);
    Weight = Read_Word(reader);
    Hands = Read_Byte(reader);
    Event_Id = Read_Word(reader);
    Consumption_Type = Read_Byte(reader);
    Consumption_Value = Read_Word(reader);
    Defense_Rating = Read_Word(reader);
    Key_Group = Read_String(reader);
    Gold_Value = Read_Integer(reader);
    Light_Radius = Read_Byte(reader);
    Light_Turns = Read_Word(reader);
    Max_Stack = Read_Word(reader);
    Quantity = Read_Word(reader);
    ok = Attributes.Load_From_Stream(reader) && ok;
    ok = Requirements.Load_From_Stream(reader) && ok;
    Effects.Read(reader);
    Read_String_List(reader, Spell_Names);
    Read_Word_List(reader, Spell_Levels);
    Require_Equal_Lengths("item spell names and spell levels",
                          {Spell_Names.size(), static_cast<size_t>(Spell_Levels.Count())});
    return ok;
}

uint8_t TItem::Equip_Slot_Kind() const {
    return Item_Type_Equip_Slot(Item_Type);
}

void TItem::Use_Quantity(int32_t n) {
    const int64_t left = static_cast<int64_t>(Quantity) - n;
    Quantity = static_cast<uint16_t>(std::clamp<int64_t>(left, 0, UINT16_MAX));
}

void TItem::Add_Quantity(int32_t n) {
    const int64_t total = static_cast<int64_t>(Quantity) + n;
    Quantity = static_cast<uint16_t>(std::clamp<int64_t>(total, 0, Max_Stack));
}

int32_t TItem::Effect_Total(int32_t effect_type) const {
    return Effects.Total_Amount(effect_type);
}

void TItem::Add_Effects(TEffect_List& list) const {
    list.Append(Effects);
}

int32_t TItem::Value() const {
    const int64_t units = Quantity < 2 ? 1 : Quantity;
    // Held to 32 bits before the percent: the factor is above 1, so a value already out of range stays out
    // of range, and the product then fits 64 bits.
    int64_t value = Clamp_To_Int32(static_cast<int64_t>(Gold_Value) * units);
    const int64_t percent = Effect_Total(Effect_Gold_Value);
    if (percent > 0) value = value * (percent + 100) / 100;
    return static_cast<int32_t>(Clamp_To_Int32(value));
}

uint16_t TItem::Total_Weight() const {
    const uint32_t units = Quantity < 2 ? 1 : Quantity;
    return static_cast<uint16_t>(Weight * units);
}

bool TItem::Burn_Light() {
    if (Light_Radius == 0 || Light_Turns == 0) return false;
    --Light_Turns;
    return Light_Turns == 0;
}

// ---- TItem_List ----

uint16_t TItem_List::Put(const TItem* item, uint16_t id) {
    std::unique_ptr<TItem> copy;
    if (item) {
        copy = std::make_unique<TItem>();
        copy->Assign(*item);
    }
    return Slots_.Put(std::move(copy), id);
}

uint16_t TItem_List::Add(const TItem* item) {
    const size_t hole = Slots_.First_Empty_Slot();
    return Put(item, static_cast<uint16_t>(hole));
}

void TItem_List::Delete_At(uint16_t position) {
    Slots_.Delete(position);
}

void TItem_List::Delete_Id(uint16_t id) {
    const size_t position = Slots_.Find_Id(id);
    if (position != 0) Slots_.Delete(position);
}

void TItem_List::Assign(const TItem_List& other) {
    Slots_.Assign(other.Slots_);
}

void TItem_List::Save_To_Stream(TStream_Writer& writer) const {
    Slots_.Write(writer);
}

bool TItem_List::Load_From_Stream(TStream_Reader& reader) {
    return Slots_.Read(reader);
}

// ---- The current item list ----

TItem_List* Current_Item_List() {
    return Current_List;
}

void Set_Current_Item_List(TItem_List* list) {
    Current_List = list;
}

TItem* Find_Item(uint16_t id) {
    return Current_List ? Current_List->Item(id) : nullptr;
}

void Delete_Current_Item(uint16_t id) {
    if (Current_List && id != 0) Current_List->Delete_Id(id);
}
