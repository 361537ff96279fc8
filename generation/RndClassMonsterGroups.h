// Monster groups: bands of creatures the map digger places together around a leader, read from a map's
// monster groups file for the generation of that map.
#pragma once

#include "core/SaveStream.h"
#include "generation/ModuleTableLoader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Member i of a group; every key starts with "Group Monster i ".
struct TModule_Monster_Group_Monster {
    std::string Class_Name;              // "Class Name": a monster class of the map
    bool Is_Leader = false;              // "Is Leader"
    uint16_t Monster_Level_Min_Plus = 0; // "Monster Level Min Plus": added to the map's monster levels
    TString_List Modifier_Names;         // "Modifier j Type": a monster modifier name or "[random]"
};

struct TModule_Monster_Group {
    std::string Name;               // "Group Name"
    uint16_t Follow_Distance = 0;   // "Follow Distance"
    std::string Monster_Group;      // "Monster Group": matched against the map's monster group filter
    std::string Leader_Name_Prefix; // "Leader Name Prefix"
    std::string Leader_Name_Suffix; // "Leader Name Suffix"
    uint16_t Number_In_Group = 0;   // "Number In Group"
    std::vector<TModule_Monster_Group_Monster> Members; // member i is element i - 1

    // The test of the monster classes: an empty or "any" group always matches, and so do the filters "all"
    // and "none"; otherwise either text must contain the other, letter case ignored. An empty filter
    // matches only the empty and "any" groups.
    bool Group_Matches(const std::string& filter) const;
};

using TMonster_Group_Table = std::vector<std::unique_ptr<TModule_Monster_Group>>;

// Groups 1..Monster_Group_Count(), group r read from record r; Get_Monster_Group gives null outside.
int32_t Monster_Group_Count();
TModule_Monster_Group* Get_Monster_Group(int32_t index);

// Frees the table and reads the file as given. Errors are shown under "Monster Groups Data File Errors: "
// and give false; what was read stays.
bool Load_Monster_Groups(const std::string& file_name);
void Free_Monster_Groups();

// Appends record r as group r; "Number In Group" 0 reads no member keys.
class TMonster_Group_Data_File_Loader : public TModule_Table_Loader {
public:
    TMonster_Group_Data_File_Loader(const std::string& file_name, TMonster_Group_Table& table)
        : TModule_Table_Loader(file_name), Table_(table) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_Member(TModule_Monster_Group_Monster& member, const std::string& prefix);

    TMonster_Group_Table& Table_;
};
