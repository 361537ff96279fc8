// Trap groups: named sets of trap types, each a damage with on-hit effects that grow with the level of the
// creature that springs it. The module's trap groups file is loaded only while one trap is sprung: the
// square names its group, one trap type of it is picked and scaled to the creature, and the table is freed
// again, so the scaling of one trap never carries over to the next.
#pragma once

#include "core/Damage.h"
#include "core/DataFileLoader.h"
#include "core/Effects.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Trap type i of a group; every key starts with "Trap Type i ".
struct TModule_Trap_Group_Spec_Trap {
    TDamage Damage; // "... Damage Amount Min/Max", "... Damage Maximum Range", "... Damage Firing FX"
    int32_t Damage_Per_Level = 0; // "... Damage Amount Per Level Modifier"
    TEffect_List Effects;         // "... Number of Effects", "... Effect j ..."
    // One entry per effect of Effects, always as many: Amount_Number, Amount_Percent, or 0 (the file's
    // kind was unusable: the effect keeps its amounts at every level).
    TWordList Per_Level_Modifier_Types;
    TWordList Min_Amounts_Per_Level; // "... Effect j Min Amt Per Level Modifier"
    TWordList Max_Amounts_Per_Level; // "... Effect j Max Amt Per Level Modifier"
};

struct TModule_Trap_Group {
    std::string Name;                 // "Trap Group Name"; squares name their group by it, exactly
    int32_t Number_Of_Trap_Types = 0; // "Number Of Trap Types"
    std::vector<std::unique_ptr<TModule_Trap_Group_Spec_Trap>> Trap_Types; // trap type i is element i - 1

    // Trap type i (from 1); null for any i outside the types read.
    TModule_Trap_Group_Spec_Trap* Get_Trap_Type(int32_t i) const;
};

using TTrap_Group_Table = std::vector<std::unique_ptr<TModule_Trap_Group>>;

// The table: groups 1..Trap_Group_Count(), group r read from record r of the file. Get_Trap_Group gives
// null outside that range.
int32_t Trap_Group_Count();
TModule_Trap_Group* Get_Trap_Group(int32_t index);
// The last group whose name equals the text exactly (letter case counts); null when none.
TModule_Trap_Group* Find_Trap_Group(const std::string& name);

// Frees the table, then reads the module's trap groups file (through the path settings). With errors, shows
// them under "Trap Groups Data File Errors: " and returns false; the table keeps what was read.
bool Load_Trap_Groups();
void Free_Trap_Groups();

// Null when there is no group or it has no trap types; otherwise trap type Random_Range(1, count).
TModule_Trap_Group_Spec_Trap* Pick_Random_Trap(const TModule_Trap_Group* group);

// Changes the trap type itself to the level: with a = level - 1, the damage minimum grows by
// a x Damage_Per_Level (held at the maximum as it stands) and then the maximum; each effect's amounts grow
// by a x its per-level amounts (Number) or by a x its per-level percent (Percent). Level 0 scales down one
// step, level 1 leaves the trap as read.
void Scale_Trap_To_Level(TModule_Trap_Group_Spec_Trap& trap, int32_t level);

// Appends record r of the file as entry r of the table, whatever keys it lacks.
class TTrap_Group_Data_File_Loader : public TData_File_Loader {
public:
    TTrap_Group_Data_File_Loader(const std::string& file_name, TTrap_Group_Table& table)
        : TData_File_Loader(file_name), Table_(table) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_Trap_Type(TModule_Trap_Group_Spec_Trap& trap, const std::string& prefix);

    TTrap_Group_Table& Table_;
};
