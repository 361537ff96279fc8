// Character classes, read from "Data/Classes.txt": a class gives a new character its statistics, growth
// factors, portraits, starting items, experience table and the spells and skills it may learn, in groups.
// The player's creature stores its class index into this table.
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <string>

class TClass_Info {
public:
    // The experience needed to leave the level: entry level + 1 of the table while there is one, then the
    // last entry plus the added amount for every level beyond. 0 when the table is empty, so a character of
    // such a class never gains a level. Clamped to the 32-bit range.
    int32_t Get_Experience_For_Level(int32_t level) const;
    // For a spell name (trimmed, letter case ignored): the available level or group of the first class spell
    // of that name whose value is not 0; 0 when none.
    uint16_t Get_Spell_Available_Level(const std::string& name) const;
    uint16_t Get_Spell_Group(const std::string& name) const;
    // Entry n from 1; empty when out of range.
    std::string Get_Group_Name(int32_t n) const;
    std::string Get_Spell_Name(int32_t n) const;
    int32_t Get_Group_Count() const { return static_cast<int32_t>(Group_Names.size()); }
    int32_t Get_Spell_Count() const { return static_cast<int32_t>(Spell_Names.size()); }
    // Spell_Groups entry n from 1; 0 when out of range.
    uint16_t Get_Spell_Group_By_Number(int32_t n) const;

    int32_t Index = 0;
    std::string Name;
    std::string Short_Description;
    std::string Long_Description;
    TString_List Portraits; // file names in Pictures/Monsters/
    uint16_t Base_Strength = 0, Base_Dexterity = 0, Base_Intelligence = 0, Base_Constitution = 0;
    uint16_t Base_Fire_Resistance = 0, Base_Lightning_Resistance = 0, Base_Cold_Resistance = 0;
    uint16_t Base_Magic_Resistance = 0, Base_Poison_Resistance = 0, Base_Physical_Resistance = 0;
    uint16_t Base_Maximum_Health = 0, Base_Maximum_Mana = 0, Base_Maximum_Hunger = 0, Base_Maximum_Weight = 0;
    uint16_t Base_Movement_Speed = 100;
    int32_t Starting_Gold = 0;
    uint8_t Characteristic_Points_Per_Level = 0;
    uint8_t Spell_Points_Per_Level = 0;
    double Health_Per_Level = 0;            // "Maximum Health - X Per 1 Level"
    double Health_Per_Constitution = 0;     // "Maximum Health - X Per 1 Constitution"
    double Mana_Per_Level = 0;              // "Maximum Mana - X Per 1 Level"
    double Mana_Per_Intelligence = 0;       // "Maximum Mana - X Per 1 Intelligence"
    double Hunger_Per_Constitution = 0;     // "Maximum Hunger - X Per 1 Constitution"
    double Weight_Per_Strength = 0;         // "Maximum Weight - X Per 1 Strength"
    double Attack_Per_Dexterity = 0;        // "Attack Rating - X Per 1 Dexterity"
    double Defense_Per_Dexterity = 0;       // "Defense Rating - X Per 1 Dexterity"
    double Min_Damage_Per_Strength = 0;     // "Minimum Damage Bonus - X Per 1 Strength"
    double Max_Damage_Per_Strength = 0;     // "Maximum Damage Bonus - X Per 1 Strength"
    double Slowdown_Ms_Per_Over_Weight = 0; // "Movement Slowdown - Xms Per 1 Over Weight"
    double Health_Regeneration_Pct = 0;     // "Health Pct Regeneration Rate Per Second"
    double Mana_Regeneration_Pct = 0;       // "Mana Pct Regeneration Rate Per Second"
    TString_List Starting_Items;            // item class names
    int32_t Experience_Added_Past_Last_Level = 0;
    TLongintList Experience_Table; // entry 1 is for level 0
    TString_List Group_Names;      // the non-empty group names, in key order
    // The class spells: four parallel lists, one entry per "Spell/Skill n" of the record. Names are trimmed
    // and lower-cased.
    TString_List Spell_Names;
    TWordList Spell_Groups;
    TWordList Spell_Available_Levels;
    TWordList Spell_Starting_Levels;
};

// The class table: indexes 1..Class_Count(); an index whose record had no "Class Name" holds nothing.
// Null for 0, for an index out of range and for such a hole.
TClass_Info* Get_Class(int32_t index);
int32_t Class_Count();
// Reads the classes file of the path settings; with errors, shows them under
// "Class Portrait Data File Errors: " and returns false (the classes read stay in the table).
bool Load_Class_Info();
void Free_Class_Info();
// Free_Class_Info, then Load_Class_Info; its result.
bool Reload_Class_Info();

class TClass_Portrait_Data_File_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;

protected:
    // Hands the table's names to requirement texts, which name classes by index.
    void Before_Load() override;
    void Process_Record(int32_t record_number) override;

private:
    // Reads "<count key>" and appends the value of "<prefix> n <suffix>" for n = 1..count when present.
    void Read_Name_List(const std::string& count_key, const std::string& prefix, const std::string& suffix,
                        TString_List& list);
    void Read_Base_Values(TClass_Info& info);
    void Read_Growth_Factors(TClass_Info& info);
    void Read_Experience(TClass_Info& info);
    void Read_Spell_Groups(TClass_Info& info);
    void Read_Class_Spells(TClass_Info& info);
    uint16_t Read_Word(const std::string& key);
};
