// Item classes: the kinds of items the generator can make, read from an item classes file whose first
// record scales the whole file, and the making of a concrete item from a class at a rolled level (scaled
// price, consumption value, defence and damage, then perhaps a unique or magic upgrade).
#pragma once

#include "core/Damage.h"
#include "core/DataFileLoader.h"
#include "core/Effects.h"
#include "core/NameTables.h"
#include "core/TypedLists.h"
#include "generation/ClassList.h"

#include <cstdint>
#include <string>

class TItem;
class TItem_Modifier_Class;

class TItem_Class {
public:
    uint16_t Index = 0;     // position in its list, from 1
    std::string Class_Name; // what callers ask for; several classes may share one
    std::string Name;       // the name its items get
    std::string Description;
    std::string Item_Group; // matched against the callers' group filters
    uint8_t Item_Type = 11; // Item_Type_Name code
    std::string Weapon_Type;
    uint16_t Event_Id = 0;
    std::string Picture_File;
    uint16_t Item_Level_Min = 0;
    TDamage Damage;
    std::string Use_Sound_File;
    std::string Ammo_Type;
    std::string Ammo_Required;
    bool Random_Appearance = false; // only such classes are candidates for a level's random items
    int32_t Base_Gold_Value = 0;
    uint16_t Weight = 0;
    uint8_t Hands_Required = 0;
    uint8_t Consumption_Type = 0;
    uint16_t Consumption_Value = 0;
    int32_t Defense_Rating = 0;
    uint8_t Light_Radius = 0;
    uint16_t Light_Turns = 0;
    uint16_t Maximum_Stacked = 0;
    uint16_t Random_Min_Found = 0; // with both bounds above 0 a new item's quantity is rolled between them
    uint16_t Random_Max_Found = 0;
    bool Can_Be_Magic = false;
    bool Always_Unique = false;
    std::string Key_Group;
    TRequirements Requirements;
    TEffect_List Effects;
    TString_List Spell_Names; // parallel to Spell_Levels
    TWordList Spell_Levels;

    void Assign(const TItem_Class& other) { *this = other; }

    // Whether a caller's group filter admits the class (Class_Group_Matches): beyond the cases every kind
    // admits, when the filter contains the group (letter case ignored). Only that direction counts:
    // "weapons, armour" admits the group "armour", the filter "arm" does not.
    bool Group_Matches(const std::string& filter) const;
};

// The scaling constants of a file's "General Item Info" record.
struct TItem_Class_Constants {
    int32_t Gold_Value_Per_Level_Percent = 0;
    int32_t Consumption_Per_Level_Percent = 0;
    int32_t Defense_Per_Level_Percent = 0;
    int32_t Damage_Min_Per_Level_Percent = 0;
    int32_t Damage_Max_Per_Level_Percent = 0;
    int32_t Gold_Value_Per_Level_Amount = 0;
    int32_t Consumption_Per_Level_Amount = 0;
    int32_t Defense_Per_Level_Amount = 0;
    int32_t Damage_Min_Per_Level_Amount = 0;
    int32_t Damage_Max_Per_Level_Amount = 0;
    int32_t Gold_Value_Base_Amount = 0;
    int32_t Consumption_Base_Amount = 0;
    int32_t Defense_Base_Amount = 0;
    int32_t Damage_Min_Base_Amount = 0;
    int32_t Damage_Max_Base_Amount = 0;
};

// Pick_Random_Class compares the classes' Class_Name.
class TItem_Class_List : public TClass_List<TItem_Class, &TItem_Class::Class_Name> {
public:
    TItem_Class_Constants Constants; // Clear leaves them

    // Reads an item classes file into this list. The same file name as the last load (letter case counts)
    // is not read again and gives true, even when the file has changed since. Otherwise the classes are
    // cleared and the file read; with errors the result is false and the error lines either replace the
    // contents of error_list or, without one, are shown under "Item Class Data File Errors: ". Every class
    // read stays in the list either way.
    bool Load_From_File(const std::string& file_name, TString_List* error_list = nullptr);
};

// The current item class list: the one the formulas and item creation read. Not owned; null when none.
TItem_Class_List* Current_Item_Class_List();
void Set_Current_Item_Class_List(TItem_Class_List* list);
// The current list's constants; all 0 when there is none.
const TItem_Class_Constants& Current_Item_Class_Constants();

using TCurrent_Item_Class_List_Guard =
    TCurrent_Class_List_Guard<TItem_Class_List, Set_Current_Item_Class_List>;

// Record 1 ("General Item Info") sets the list's constants; every later record is one class, added to the
// list given.
class TItem_Class_Data_File_Loader : public TData_File_Loader {
public:
    TItem_Class_Data_File_Loader(const std::string& file_name, TItem_Class_List& list)
        : TData_File_Loader(file_name), List_(list) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_Constants();
    void Read_Class(TItem_Class& item_class);

    TItem_Class_List& List_;
};

// The scaling formulas, with the constants of the current item class list (all 0 when there is none). L
// is the item level; each is Trunc((base + base amount + (L - 1) x amount) x ((L - 1) x percent + 100) /
// 100), computed exactly and held to the 64-bit range; the caller stores the result in its field's width.
int64_t Calc_Item_Gold_Value(const TItem_Class& item_class, int32_t level);
int64_t Calc_Item_Damage_Min(const TItem_Class& item_class, int32_t level);
int64_t Calc_Item_Damage_Max(const TItem_Class& item_class, int32_t level);
int64_t Calc_Item_Level_Value(int32_t level, int32_t base, int32_t percent, int32_t amount,
                              int32_t base_amount);

// Makes an item of the class in the current item list (the current map's) and returns its id; 0 when no
// item was made (no class, no item list, or a full list). The level is rolled in level_min..level_max. With
// put_on_square the item is also dropped on the current map's square (x, y). A stack_amount above 0 sets
// the quantity of a class that is found in stacks (gold carried by a creature). The chances are percents;
// the per-level chances grow them for each starting character level above 1.
uint16_t Create_Item_From_Class(const TItem_Class* item_class, int32_t x, int32_t y, bool put_on_square,
                                int32_t level_min, int32_t level_max, int32_t magic_chance,
                                int32_t unique_chance, double magic_chance_per_level,
                                double unique_chance_per_level, int32_t stack_amount);

// The upgrade steps. The two sums collect what the applied modifiers do to the price; like the stored
// counters they are 16-bit and wrap.
// The modifiers (their table indexes, in table order) whose level band holds the item's level and whose
// item types contain the name of the item's type.
void Get_Item_Modifiers_For_Item(const TItem& item, TWordList& list);
// Adds the modifier's rolled effects and requirements to the item and its price changes to the sums, and
// with rename puts its description before (prefix) or after (suffix) the name. A modifier without effects
// changes nothing and gives false.
bool Apply_Item_Modifier(TItem& item, const TItem_Modifier_Class& modifier, bool rename,
                         uint16_t& percent_sum, uint16_t& amount_sum);
// One eligible modifier chosen at random, applied with rename; nothing when none is eligible.
void Make_Magic_Item(TItem& item, uint16_t& percent_sum, uint16_t& amount_sum);
// A unique names entry for the item's level, and as many eligible modifiers as it asks for (applied without
// rename); the item stays plain when there is no entry or too few modifiers. When a modifier applied, one
// of the entry's names is put in front of the item's name.
void Make_Unique_Item(TItem& item, uint16_t& percent_sum, uint16_t& amount_sum);
