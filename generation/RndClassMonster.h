// Monster classes: the kinds of creatures a level may hold, read from a monster classes file whose first
// record scales the whole file, and the making of a live creature from a class at a rolled level (health,
// attack, defence, move delay and natural attack damage scaled by level and difficulty, spells, talk,
// carried items and gold) on the current map.
#pragma once

#include "core/DataFileLoader.h"
#include "core/Effects.h"
#include "core/MonsterList.h"
#include "core/NameTables.h"
#include "core/Spells.h"
#include "core/TypedLists.h"
#include "generation/ClassList.h"

#include <cstdint>
#include <string>
#include <vector>

class TMonster;

// An item a class may carry, with the percent chance that a new creature has it.
struct TMonster_Items_Carried {
    std::string Item_Class_Name;
    uint16_t Chance = 0;
};

// A name of a file's speed or cast chance table with its amount (milliseconds or percent).
struct TMonster_Named_Amount {
    std::string Name;
    uint16_t Amount = 0;
};

class TMonster_Class {
public:
    TMonster_Class() = default;
    TMonster_Class(const TMonster_Class& other) { Assign(other); }
    TMonster_Class& operator=(const TMonster_Class& other) {
        Assign(other);
        return *this;
    }

    // Copies every field and deep-copies the carried items, the talk lists, effects, spells and attacks.
    void Assign(const TMonster_Class& other);

    int32_t Get_Items_Carried_Count() const { return static_cast<int32_t>(Items_Carried.size()); }

    // Whether a caller's group filter admits the class (Class_Group_Matches): beyond the cases every kind
    // admits, when either text contains the other (letter case ignored).
    bool Group_Matches(const std::string& filter) const;

    uint16_t Index = 0; // position in its list, from 1
    std::string Name;
    std::string Description;
    std::string Picture_File;
    std::string Attack_Picture_File;
    std::string Monster_Group; // matched against the callers' group filters
    uint16_t Event_Id = 0;
    int32_t Appearance_Chance = 0; // "Map Appearance Chance", read by the map digger
    bool Is_Unique = false;
    bool Is_Undead = false;
    uint8_t Movement_Flags = 1; // land 1, air 2, water 4, ethereal 8
    uint8_t Vision_Flags = 1;   // always 1; the creature's vision flags
    uint8_t Light_Radius = 0;
    uint8_t Intelligence = 0; // Intelligence_Category_Names code
    bool Does_Attack = true;
    uint8_t When_To_Retreat = 3;
    uint8_t Response_Range = 2;
    uint8_t Movement_Strategy = 2; // "Stay Put"
    std::string Movement_Speed;    // a name of the list's speed table
    std::string Sound_Death;
    std::string Sound_Attack;
    std::string Sound_Growl;
    uint16_t Weight = 0; // kept; creatures do not take it
    int32_t Health_Min = 0;
    int32_t Health_Max = 0;
    uint16_t Attack_Min = 0;
    uint16_t Attack_Max = 0;
    uint16_t Defense_Min = 0;
    uint16_t Defense_Max = 0;
    uint8_t Corpse_Type = 0;
    bool Can_Be_Given_Items = false;
    std::vector<TMonster_Items_Carried> Items_Carried;
    int32_t Store_Id = 0;
    TString_List Talk_Topics; // parallel to Talk_Texts: the loader keeps them the same length
    TString_List Talk_Texts;
    TEffect_List Effects;
    TSpells_List Spells; // no owner: levels are stored ones
    TNatural_Attacks Natural_Attacks;
};

// The scaling constants of a file's "General Monster Info" record.
struct TMonster_Class_Constants {
    int32_t Base_Health_Modifier = 1;
    int32_t Base_Attack_Modifier = 1;
    int32_t Base_Defense_Modifier = 1;
    int32_t Health_Start = 0;
    int32_t Attack_Start = 0;
    int32_t Defense_Start = 0;
    int32_t Damage_Min_Start = 0;
    int32_t Damage_Max_Start = 0;
    int32_t Health_Per_Level_Percent = 0;
    int32_t Damage_Per_Level_Percent = 0;
    int32_t Attack_Per_Level_Percent = 0;
    int32_t Defense_Per_Level_Percent = 0;
    int32_t Health_Per_Level_Amount = 0;
    int32_t Damage_Per_Level_Amount = 0;
    int32_t Attack_Per_Level_Amount = 0;  // counts as 16 bits
    int32_t Defense_Per_Level_Amount = 0; // counts as 16 bits
    int32_t Health_Per_Difficulty_Percent = 0;
    int32_t Damage_Per_Difficulty_Percent = 0;
    int32_t Attack_Per_Difficulty_Percent = 0;
    int32_t Defense_Per_Difficulty_Percent = 0;
    int32_t Resist_All_Start = 0;
    int32_t Resist_All_Per_Level_Amount = 0;
    int32_t Gold_Chance_Per_Level = 0;
    int32_t Gold_Minimum_Per_Level = 0;
    int32_t Gold_Maximum_Per_Level = 0;
    double Spell_Level_Per_Monster_Level = 0;
};

// Pick_Random_Class compares the classes' Name.
class TMonster_Class_List : public TClass_List<TMonster_Class, &TMonster_Class::Name> {
public:
    static constexpr uint16_t Default_Movement_Speed_Ms = 500;
    static constexpr uint16_t Default_Spell_Cast_Chance = 20;

    TMonster_Class_Constants Constants; // Clear leaves them
    // The file's tables. Clear and a new load leave them as they are: a second file read into the same
    // list appends to them, and its names win, the last match counting.
    std::vector<TMonster_Named_Amount> Movement_Speeds;
    int32_t Movement_Speed_Modifier_Per_Difficulty_Ms = 0;
    std::vector<TMonster_Named_Amount> Spell_Cast_Chances;

    // Reads a monster classes file into this list. The same file name as the last load (letter case
    // counts) is not read again and gives true, even when the file has changed since. Otherwise the classes
    // are cleared and the file read; with errors the result is false and the error lines either replace
    // the contents of error_list or, without one, are shown under "Monster Class Data File Errors: ".
    // Every record read stays in the list as a class either way. Without no_sound_check every sound a class
    // names must be a file of the sounds folder. Spell names and attack effects are looked up in the master
    // spell and display effect tables, which must be loaded first.
    bool Load_From_File(const std::string& file_name, TString_List* error_list = nullptr,
                        bool no_sound_check = false);

    // The amount of the last table entry whose name equals the text exactly; 500 ms and 20 % when none.
    uint16_t Get_Movement_Speed_Ms(const std::string& speed_name) const;
    uint16_t Get_Spell_Cast_Chance(const std::string& chance_name) const;
};

// The current monster class list: the one the formulas and monster creation read. Not owned; null when
// none (the formulas then use the default constants).
TMonster_Class_List* Current_Monster_Class_List();
void Set_Current_Monster_Class_List(TMonster_Class_List* list);
// The current list's constants; the defaults when there is none.
const TMonster_Class_Constants& Current_Monster_Class_Constants();

using TCurrent_Monster_Class_List_Guard =
    TCurrent_Class_List_Guard<TMonster_Class_List, Set_Current_Monster_Class_List>;

// Record 1 ("General Monster Info") sets the list's constants and appends to its tables; every later record
// is one class, added to the list given.
class TMonster_Class_Data_File_Loader : public TData_File_Loader {
public:
    TMonster_Class_Data_File_Loader(const std::string& file_name, TMonster_Class_List& list)
        : TData_File_Loader(file_name), List_(list) {}

    bool No_Sound_Check = false;

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_General_Info();
    // Reads "<count key>" and appends each entry "<prefix>n Name" / "<prefix>n<amount suffix>" whose amount
    // is not 0.
    void Read_Named_Amounts(const std::string& count_key, const std::string& prefix,
                            const std::string& amount_suffix, std::vector<TMonster_Named_Amount>& table);
    void Read_Class(TMonster_Class& c);
    void Read_Behaviour(TMonster_Class& c);
    void Read_Sounds(TMonster_Class& c);
    void Read_Items_Carried(TMonster_Class& c);
    void Read_Spells(TMonster_Class& c);
    void Read_Talk_Topics(TMonster_Class& c);

    TMonster_Class_List& List_;
};

// The scaling formulas, with the constants of the current monster class list. L is the level, D the
// difficulty offset (Easy -1, Average 0, Difficult 1, Hard 2). Every factor is an integer over 100 and every
// step is truncated toward zero; the results are exact and held to the 64-bit range.
// Health: (health start + base x base health modifier) grown per level by percent and by amount, by the
// creature's "Monster Increase Health" percent when a creature is given, and by D x the difficulty percent.
int64_t Calc_Monster_Health(int32_t level, const TMonster* creature, int64_t base, int32_t difficulty);
// Damage: (base + start) grown per level by percent, then by amount and the bonus percent together, then
// by D x the difficulty percent.
int64_t Calc_Monster_Damage(int32_t level, int32_t difficulty, int32_t bonus, int64_t start, int64_t base);

// Makes a creature of the class at (x, y) of the current map, at a level rolled in level_min..level_max
// and the game's difficulty, and returns its id in the map's creature list. Its carried items and gold come
// from the current item class list at a level in item_level_min..item_level_max, admitted by the item
// group filter; with a roll of at most modifier_chance (percent) a class that is not unique also gets the
// module's random modifiers. 0 when no creature was made (no class, no map, a square outside the map, or
// a full creature list).
uint16_t Create_Monster_From_Class(const TMonster_Class* monster_class, int32_t x, int32_t y,
                                   int32_t level_min, int32_t level_max, int32_t item_level_min,
                                   int32_t item_level_max, const std::string& item_group_filter,
                                   int32_t modifier_chance);

// Makes an item of a class of that name (one the filter admits, from the current item class list) and
// gives it to the creature: into the first free slot that takes it, else into the backpack. gold_amount
// above 0 is the size of a gold stack. Nothing without a current item class list or such a class; an item
// the creature has no room for is deleted again.
void Give_Item_To_Monster(TMonster& creature, const std::string& item_class_name,
                          const std::string& item_group_filter, int32_t gold_amount, int32_t item_level_min,
                          int32_t item_level_max);

// Adds every effect of the list, with its amounts rolled, to the creature's own effects, then adds the
// experience bonus (even for an empty list). True when an effect was added.
bool Apply_Effects_To_Monster(TMonster& creature, const TEffect_List& effects, int32_t experience_bonus);
