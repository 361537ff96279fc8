// The module's item modifiers: the magic prefixes and suffixes ("Flaming", "of the Bear") an item may get
// when it is made, each with the effects it adds, what it does to the price and the items it suits.
#pragma once

#include "core/Damage.h"
#include "core/DataFileLoader.h"
#include "core/Effects.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Values of TItem_Modifier_Class::Modifier_Type (the names of Modifier_Type_Names); 0 for an unknown type.
enum : uint8_t {
    Modifier_Type_Prefix = 1,
    Modifier_Type_Suffix = 2,
};

class TItem_Modifier_Class {
public:
    uint16_t Index = 0;      // position in the table, from 1
    std::string Description; // the word the item's name gets
    uint16_t Gold_Value_Percent_Increase = 0;
    uint16_t Gold_Value_Amount_Increase = 0; // multiplied by the table's item value amount multiplier
    uint16_t Item_Level_Min = 0;
    uint16_t Item_Level_Max = 0;
    // The item type names it suits, as written ("Weapon, Shield"); matched as a case-sensitive substring.
    std::string Item_Types;
    uint8_t Modifier_Type = 0;
    TEffect_List Effects;
    TRequirements Requirements;

    void Assign(const TItem_Modifier_Class& other) { *this = other; }
};

// The table: modifiers 1..Item_Modifier_Count(). Get_Item_Modifier gives null for 0 or an index beyond it.
int32_t Item_Modifier_Count();
const TItem_Modifier_Class* Get_Item_Modifier(int32_t index);
// What one unit of a modifier's gold value amount increase is worth; 0 when no file is loaded.
uint16_t Item_Value_Amount_Multiplier();

// Frees the old table and reads the file. Errors are shown under "Item Modifier Class Data File Errors: "
// and give false; the modifiers read stay in the table either way.
bool Load_Item_Modifiers(const std::string& file_name);
// Empties the table and sets the multiplier to 0.
void Free_Item_Modifiers();

// Record 1 holds the multiplier; record r >= 2 is modifier r - 1. Fills the table and multiplier given.
class TItem_Modifier_Class_Data_File_Loader : public TData_File_Loader {
public:
    TItem_Modifier_Class_Data_File_Loader(const std::string& file_name,
                                          std::vector<std::unique_ptr<TItem_Modifier_Class>>& table,
                                          uint16_t& multiplier)
        : TData_File_Loader(file_name), Table_(table), Multiplier_(multiplier) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    std::vector<std::unique_ptr<TItem_Modifier_Class>>& Table_;
    uint16_t& Multiplier_;
};
