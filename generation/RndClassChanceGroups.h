// Chance groups: per group, the mix of item types found on a map and the chances that terrain of a locked
// or trapped terrain group is locked or trapped when a tile is stamped. A map names its chance group by id
// in the module class data; the module's chance groups file is loaded for the generation of each map.
#pragma once

#include "core/TypedLists.h"
#include "generation/ModuleTableLoader.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int32_t Item_Type_Table_Size = 100;

struct TModule_Chance_Group {
    uint16_t Id = 0; // "Chance Group ID"
    // The three pairs of parallel lists are read pair by pair and always have equal lengths: a missing name
    // or percent key appends "" or 0 (and is reported), so a later pair never takes its neighbour's percent.
    TString_List Item_Type_Names; // "Item Type i Name": names of Item_Type_Names, letter case counting
    TWordList Item_Type_Percents; // "Item Type i Percent Chance"
    TString_List Locked_Terrain_Group_Names; // "Locked Terrain Group i Name"
    TWordList Locked_Terrain_Group_Percents; // "Locked Terrain Group i Percent Chance"
    TString_List Trapped_Terrain_Group_Names;
    TWordList Trapped_Terrain_Group_Percents;
    // Filled by Build_Item_Type_Table: each slot an item type code, 0 for none.
    std::array<uint8_t, Item_Type_Table_Size> Item_Type_Table{};
};

using TChance_Group_Table = std::vector<std::unique_ptr<TModule_Chance_Group>>;

// Groups 1..Chance_Group_Count(), group r read from record r; Get_Chance_Group gives null outside.
int32_t Chance_Group_Count();
TModule_Chance_Group* Get_Chance_Group(int32_t index);
// The index of the last group with the id (a later record of the same id replaces an earlier one); 0 when
// none has it.
int32_t Find_Chance_Group_Index(uint16_t id);

// Frees the table and reads the module's chance groups file (through the path settings). Errors are shown
// under "Chance Groups Data File Errors: " and give false; what was read stays.
bool Load_Chance_Groups();
void Free_Chance_Groups();

// Sets every slot to 0, then for each item type code 1..23 in order gives the next p slots that code, p being
// the percent of the group's last item type entry named exactly as the type. The types thus fill the table
// in code order, each as often as its percent; nothing is written past the last slot.
void Build_Item_Type_Table(TModule_Chance_Group& group);
// The slot Random_Range(1, 100) - 1 of the built table: each type comes up with its percent as chance, and
// the remainder gives 0 (no type).
uint8_t Roll_Item_Type(const TModule_Chance_Group& group);

// Appends record r as group r. A group whose item type percents add up to more than the table's 100 slots
// is reported as an invalid "Number Of Item Types".
class TChance_Group_Data_File_Loader : public TModule_Table_Loader {
public:
    TChance_Group_Data_File_Loader(const std::string& file_name, TChance_Group_Table& table)
        : TModule_Table_Loader(file_name), Table_(table) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    // Reads "Number Of <plural>", then "<singular> i Name" and "<singular> i Percent Chance" in pairs.
    void Read_Pairs(const std::string& count_key, const std::string& row_key, TString_List& names,
                    TWordList& percents);

    TChance_Group_Table& Table_;
};
