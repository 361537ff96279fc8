// The module's two tables that refine the creatures the generator makes: monster modifiers (named sets of
// effects with an experience bonus, each for a band of monster levels, and a header of chance rows saying
// how many modifiers a creature receives) and random items carried (lists of item class names with a base
// chance and a chance per monster level). Both tables are empty until a module fills them; empty tables
// change nothing.
#pragma once

#include "core/Effects.h"
#include "core/TypedLists.h"
#include "generation/ModuleTableLoader.h"

#include <cstdint>
#include <string>
#include <vector>

class TMonster;

// A modifier a generated creature may receive.
class TMonster_Modifier_Class {
public:
    uint16_t Index = 0; // position in the table, from 1
    std::string Name;   // shown among the creature's status lines once applied
    uint16_t Monster_Level_Min = 0;
    uint16_t Monster_Level_Max = 0;
    uint16_t Experience_Bonus_Percent = 0;
    TEffect_List Effects;
};

// One chance row of the header: a creature whose level lies in Level_Min..Level_Max gets
// Number_Of_Modifiers modifiers when the roll falls into this row's Percent.
struct TMonster_Modifier_Chance_Row {
    uint16_t Level_Min = 0;
    uint16_t Level_Max = 0;
    uint16_t Percent = 0;
    uint16_t Number_Of_Modifiers = 0;
};

struct TMonster_Modifier_Header_Class {
    std::vector<TMonster_Modifier_Chance_Row> Rows;
};

// One entry of a map's random items carried: with Base_Chance + Chance_Per_Monster_Level x (level - 1)
// percent a new creature gets an item of one of the class names, chosen at random.
struct TModule_Monster_Rand_Items_Carried {
    int32_t Base_Chance = 0;
    int32_t Chance_Per_Monster_Level = 0;
    TString_List Item_Class_Names;
};

// The modifier table: modifiers 1..Monster_Modifier_Count(); null outside that range.
constexpr int32_t Max_Monster_Modifiers = 32760;
int32_t Monster_Modifier_Count();
TMonster_Modifier_Class* Get_Monster_Modifier(int32_t index);
// Appends a copy; its Index becomes its position, which is returned (0, storing nothing, when the table
// already holds Max_Monster_Modifiers).
uint16_t Add_Monster_Modifier(const TMonster_Modifier_Class& modifier);
// The header; null while there is none (a creature then receives one modifier).
TMonster_Modifier_Header_Class* Monster_Modifier_Header();
// A new empty header, replacing any.
TMonster_Modifier_Header_Class& Create_Monster_Modifier_Header();
// Frees every modifier and the header.
void Free_Monster_Modifiers();
// Frees both, then reads the module's monster modifiers file as given: record 1 is the header, record r
// >= 2 modifier r - 1. Errors are shown under "Monster Modifier Class Data File Errors: " and give false;
// what was read stays.
bool Load_Monster_Modifiers(const std::string& file_name);

// The random items carried: entries 1..Monster_Rand_Items_Carried_Count(); null outside that range.
int32_t Monster_Rand_Items_Carried_Count();
const TModule_Monster_Rand_Items_Carried* Get_Monster_Rand_Items_Carried(int32_t n);
void Add_Monster_Rand_Items_Carried(const TModule_Monster_Rand_Items_Carried& entry);
void Free_Monster_Rand_Items_Carried();
// Frees the table, then reads a map's random items carried file as given: record r is entry r. Errors are
// shown under "Monster Random Items Carried Data File Errors: " and give false; what was read stays.
bool Load_Monster_Rand_Items_Carried(const std::string& file_name);

// Clears the list, then appends, in table order, the index of every modifier whose level band holds the
// level.
void Get_Monster_Modifiers_For_Level(int32_t level, TWordList& list);

// A modifier for a creature of the level, among those whose level band holds it: with the name "[random]"
// (any letter case) one of them at random, otherwise the last of them named so, letter case ignored. Null
// when none fits.
const TMonster_Modifier_Class* Pick_Monster_Modifier(const std::string& name, int32_t level);

// The header row the roll falls into decides how many modifiers the creature receives (one when no row of
// its level does, or there is no header); that many different modifiers of its level are applied, each
// with its effects and experience bonus, and named in the creature's status lines.
void Apply_Random_Monster_Modifiers(TMonster& creature);

// For each entry whose chance at the creature's level reaches the roll, one of its item classes, chosen at
// random, is given to the creature (Give_Item_To_Monster).
void Give_Random_Items_Carried(TMonster& creature, const std::string& item_group_filter,
                               int32_t item_level_min, int32_t item_level_max);

// Record 1 becomes the header: its chance rows with both a percent and a number of modifiers. Every later
// record is a modifier, appended to the table.
class TMonster_Modifier_Class_Data_File_Loader : public TModule_Table_Loader {
public:
    using TModule_Table_Loader::TModule_Table_Loader;

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_Header();
    void Read_Modifier();
};

// Every record, the first included, is one entry, appended to the table.
class TModule_Monster_Rand_Items_Carried_Data_File_Loader : public TModule_Table_Loader {
public:
    using TModule_Table_Loader::TModule_Table_Loader;

protected:
    void Process_Record(int32_t record_number) override;
};
