#include "core/Inventory.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"

#include <cstdint>

namespace {

bool Is_Ammo_Of_Kind(const TItem& item, const std::string& trimmed_kind) {
    return Ascii_Equal_No_Case(Trim_Data(item.Ammo_Type), trimmed_kind);
}

} // namespace

bool Is_Equipped_In_Slot(const TItem& item, int32_t slot) {
    if (slot < First_Equipment_Slot || slot > Last_Backpack_Slot) return false;
    return Slot_Accepts_Kind(item.Equip_Slot_Kind(), slot);
}

bool Is_Same_Stack_Kind(const TItem& stack, const TItem& item) {
    return stack.Class_Name == item.Class_Name ||
           (stack.Item_Type == Item_Type_Ammo && item.Item_Type == Item_Type_Ammo &&
            !item.Ammo_Type.empty() && stack.Ammo_Type == item.Ammo_Type);
}

// ---- TItem_Collection ----

void TItem_Collection::Assign(const TItem_Collection& other) {
    Copy_Word_List(Ids_, other.Ids_);
}

uint16_t TItem_Collection::Id(int32_t index) const {
    if (index < 1 || index > Ids_.Count()) return 0;
    return Ids_.Get(index);
}

void TItem_Collection::Save_To_Stream(TStream_Writer& writer) const {
    Write_Word_List(writer, Ids_);
}

bool TItem_Collection::Load_From_Stream(TStream_Reader& reader) {
    return Read_Word_List(reader, Ids_);
}

void TItem_Collection::Add(const TItem* item) {
    if (item) Ids_.Add(item->Id);
}

void TItem_Collection::Delete(int32_t index) {
    if (index >= 1 && index <= Ids_.Count()) Ids_.Delete(index);
}

TItem* TItem_Collection::Item(int32_t index) const {
    return Find_Item(Id(index));
}

int32_t TItem_Collection::Total_Weight() const {
    int64_t total = 0;
    for (int32_t n = 1; n <= Count(); ++n)
        if (const TItem* item = Item(n)) total += item->Total_Weight();
    return Clamp_To_Int32(total);
}

bool TItem_Collection::Has_Ammo(const std::string& kind) const {
    const std::string wanted = Trim_Data(kind);
    for (int32_t n = 1; n <= Count(); ++n) {
        const TItem* item = Item(n);
        if (item && item->Quantity > 0 && Is_Ammo_Of_Kind(*item, wanted)) return true;
    }
    return false;
}

std::string TItem_Collection::Ammo_Sound_File(const std::string& kind) const {
    const std::string wanted = Trim_Data(kind);
    for (int32_t n = 1; n <= Count(); ++n) {
        const TItem* item = Item(n);
        if (item && item->Quantity > 0 && !item->Use_Sound.empty() && Is_Ammo_Of_Kind(*item, wanted))
            return item->Use_Sound;
    }
    return "";
}

int32_t TItem_Collection::Use_Ammo(const std::string& kind) {
    const std::string wanted = Trim_Data(kind);
    for (int32_t n = 1; n <= Count(); ++n) {
        TItem* item = Item(n);
        if (item && item->Quantity > 0 && Is_Ammo_Of_Kind(*item, wanted)) {
            item->Use_Quantity(1);
            return n;
        }
    }
    return 0;
}

int32_t TItem_Collection::Find_Use_Kind(uint8_t kind) const {
    for (int32_t n = 1; n <= Count(); ++n) {
        const TItem* item = Item(n);
        if (item && item->Consumption_Type == kind) return n;
    }
    return 0;
}

void TItem_Collection::Remap_Ids(const TWordList& old_ids, const TWordList& new_ids) {
    for (int32_t n = 1; n <= Ids_.Count(); ++n) Ids_.Put(n, Remapped_Id(Ids_.Get(n), old_ids, new_ids));
}

// ---- TInventory ----

uint8_t TInventory::Slot_At(int32_t n) const {
    if (n < 1 || n > Slots_.Count()) return 0;
    return Slots_.Get(static_cast<uint16_t>(n));
}

void TInventory::Assign(const TInventory& other) {
    Contents_.Assign(other.Contents_);
    Copy_Byte_List(Slots_, other.Slots_);
}

void TInventory::Clear() {
    Contents_.Clear();
    Slots_.Clear();
}

void TInventory::Save_To_Stream(TStream_Writer& writer) const {
    Contents_.Save_To_Stream(writer);
    Write_Byte_List(writer, Slots_);
}

bool TInventory::Load_From_Stream(TStream_Reader& reader) {
    TItem_Collection contents;
    TbyteList slots;
    contents.Load_From_Stream(reader);
    Read_Byte_List(reader, slots);
    Require_Equal_Lengths("inventory item ids and slots",
                          {static_cast<size_t>(contents.Count()), static_cast<size_t>(slots.Count())});
    Contents_ = std::move(contents);
    Slots_ = std::move(slots);
    return true;
}

int32_t TInventory::Find_Slot(int32_t slot) const {
    for (int32_t n = Slots_.Count(); n >= 1; --n)
        if (Slots_.Get(static_cast<uint16_t>(n)) == slot) return n;
    return 0;
}

TItem* TInventory::Item_In_Slot(int32_t slot) const {
    return Contents_.Item(Find_Slot(slot));
}

bool TInventory::Put_In_Slot(TItem* item, int32_t slot) {
    if (!item || slot < First_Equipment_Slot || slot > Last_Backpack_Slot) return false;
    if (Item_In_Slot(slot)) return false;
    Contents_.Add(item);
    Slots_.Add(static_cast<uint8_t>(slot));
    return true;
}

bool TInventory::Take_From_Slot(int32_t slot, TItem*& item) {
    item = nullptr;
    const int32_t n = Find_Slot(slot);
    if (n == 0) return false;
    item = Contents_.Item(n);
    Remove_At(n);
    return item != nullptr;
}

TItem* TInventory::Find_Stack_For(const TItem& item) const {
    for (int32_t slot = First_Backpack_Slot; slot <= Last_Backpack_Slot; ++slot) {
        TItem* stack = Item_In_Slot(slot);
        // Stacking an item onto itself would delete the item that holds the units.
        if (!stack || stack == &item) continue;
        if (!Is_Same_Stack_Kind(*stack, item) || stack->Max_Stack == 0 || stack->Quantity >= stack->Max_Stack)
            continue;
        if (stack->Max_Stack - stack->Quantity >= item.Quantity) return stack;
    }
    return nullptr;
}

int32_t TInventory::First_Free_Backpack_Slot() const {
    for (int32_t slot = First_Backpack_Slot; slot <= Last_Backpack_Slot; ++slot)
        if (!Item_In_Slot(slot)) return slot;
    return 0;
}

bool TInventory::Add_To_Backpack(TItem* item) {
    if (!item) return false;
    if (TItem* stack = Find_Stack_For(*item)) {
        stack->Add_Quantity(item->Quantity == 0 ? 1 : item->Quantity);
        Delete_Current_Item(item->Id);
        return true;
    }
    const int32_t slot = First_Free_Backpack_Slot();
    if (slot == 0) return false;
    return Put_In_Slot(item, slot);
}

bool TInventory::Has_Room_For(const TItem* item) const {
    if (!item) return false;
    return Find_Stack_For(*item) != nullptr || First_Free_Backpack_Slot() != 0;
}

void TInventory::Remove_At(int32_t n) {
    Contents_.Delete(n);
    Slots_.Delete(static_cast<uint16_t>(n));
}

void TInventory::Remove_And_Delete_At(int32_t n) {
    const uint16_t id = Contents_.Id(n);
    Remove_At(n);
    Delete_Current_Item(id);
}

bool TInventory::Use_One_Unit_At(int32_t n) {
    TItem* item = Contents_.Item(n);
    // A stack of 0 counts as one unit.
    if (item && item->Quantity >= 2) {
        item->Use_Quantity(1);
        return true;
    }
    Remove_And_Delete_At(n);
    return false;
}

bool TInventory::Use_Ammo(const std::string& kind, TEffect_List* ammo_effects) {
    const int32_t n = Contents_.Use_Ammo(kind);
    if (n == 0) return false;
    const TItem* item = Contents_.Item(n);
    if (ammo_effects) item->Add_Effects(*ammo_effects);
    if (item->Quantity == 0) Remove_And_Delete_At(n);
    return true;
}

TItem* TInventory::Take_First_Of_Use_Kind(uint8_t kind) {
    const int32_t n = Contents_.Find_Use_Kind(kind);
    if (n == 0) return nullptr;
    TItem* item = Contents_.Item(n);
    Remove_At(n);
    return item;
}

bool TInventory::Use_One_Of_Use_Kind(uint8_t kind, const std::function<void(const TItem&)>& apply) {
    const int32_t n = Contents_.Find_Use_Kind(kind);
    if (n == 0) return false;
    TItem* item = Contents_.Item(n);
    if (apply) apply(*item);
    Use_One_Unit_At(n);
    return true;
}

int32_t TInventory::Equipped_Effect_Total(int32_t effect_type) const {
    int64_t total = 0;
    for (int32_t n = 1; n <= Count(); ++n) {
        const TItem* item = Contents_.Item(n);
        if (item && Is_Equipped_In_Slot(*item, Slot_At(n))) total += item->Effect_Total(effect_type);
    }
    return Clamp_To_Int32(total);
}

void TInventory::Add_Equipped_Effects(TEffect_List& list) const {
    for (int32_t n = 1; n <= Count(); ++n) {
        const TItem* item = Contents_.Item(n);
        if (item && Is_Equipped_In_Slot(*item, Slot_At(n))) item->Add_Effects(list);
    }
}

int32_t TInventory::Armor_Total() const {
    int32_t total = 0;
    for (int32_t n = 1; n <= Count(); ++n) {
        const TItem* item = Contents_.Item(n);
        if (item && Is_Equipped_In_Slot(*item, Slot_At(n))) total += item->Defense_Rating;
    }
    return total;
}

bool TInventory::Use_Key(const std::string& key_group) {
    for (int32_t n = 1; n <= Count(); ++n) {
        TItem* item = Contents_.Item(n);
        if (!item || item->Key_Group.empty() || item->Key_Group != key_group) continue;
        Use_One_Unit_At(n);
        return true;
    }
    return false;
}

void TInventory::Burn_Lights() {
    int32_t n = 1;
    while (n <= Count()) {
        TItem* item = Contents_.Item(n);
        // A used-up light leaves position n to the next item: look at that one before moving on.
        if (item && Is_Equipped_In_Slot(*item, Slot_At(n)) && item->Burn_Light() && !Use_One_Unit_At(n))
            continue;
        ++n;
    }
}
