#include "generation/RndClassChanceGroups.h"

#include "core/GlobalFuncs.h"
#include "core/NameTables.h"
#include "core/Path.h"

#include <algorithm>

namespace {

const char* const Item_Types_Count_Key = "Number Of Item Types";

TChance_Group_Table& Chance_Groups() {
    static TChance_Group_Table table;
    return table;
}

} // namespace

int32_t Chance_Group_Count() {
    return static_cast<int32_t>(Chance_Groups().size());
}

TModule_Chance_Group* Get_Chance_Group(int32_t index) {
    if (index < 1 || index > Chance_Group_Count()) return nullptr;
    return Chance_Groups()[static_cast<size_t>(index) - 1].get();
}

int32_t Find_Chance_Group_Index(uint16_t id) {
    int32_t found = 0;
    for (int32_t n = 1; n <= Chance_Group_Count(); ++n)
        if (Get_Chance_Group(n)->Id == id) found = n;
    return found;
}

void Free_Chance_Groups() {
    Chance_Groups().clear();
}

bool Load_Chance_Groups() {
    Free_Chance_Groups();
    // Without path settings there is no module to read from: no chance groups.
    if (!Path_Settings()) return false;
    TChance_Group_Data_File_Loader loader(Path_Settings()->Get_ChanceGroups_File(), Chance_Groups());
    return loader.Execute_Load_And_Report("Chance Groups Data File Errors: ");
}

void Build_Item_Type_Table(TModule_Chance_Group& group) {
    group.Item_Type_Table.fill(0);
    const int32_t entries =
        std::min(static_cast<int32_t>(group.Item_Type_Names.size()), group.Item_Type_Percents.Count());
    int32_t slot = 0;
    for (int code = Item_Type_Names.First + 1; code <= Item_Type_Names.Last; ++code) {
        const std::string name = Item_Type_Name(code);
        int32_t percent = 0;
        for (int32_t i = 1; i <= entries; ++i)
            if (group.Item_Type_Names[static_cast<size_t>(i) - 1] == name)
                percent = group.Item_Type_Percents.Get(i);
        // Percents adding up to more than the table holds are reported by the loader; the table keeps the
        // first 100 slots.
        for (; percent > 0 && slot < Item_Type_Table_Size; --percent)
            group.Item_Type_Table[static_cast<size_t>(slot++)] = static_cast<uint8_t>(code);
    }
}

uint8_t Roll_Item_Type(const TModule_Chance_Group& group) {
    return group.Item_Type_Table[static_cast<size_t>(Random_Range(1, Item_Type_Table_Size) - 1)];
}

// ---------------------------------------------------------------------------------------------------------
// Loader

void TChance_Group_Data_File_Loader::Process_Record(int32_t /*record_number*/) {
    Start_Record();
    // Records arrive numbered 1, 2, ... without gaps, so appending makes record r group r. The group exists
    // before its keys are read: a record that fails halfway still holds its place.
    Table_.push_back(std::make_unique<TModule_Chance_Group>());
    TModule_Chance_Group& group = *Table_.back();

    std::string value;
    // A record without its id is named by its number in the error lines, not by the previous id.
    Set_Record_Name("");
    if (Get_Field_Value("Chance Group ID", value, true)) group.Id = Str_To_Word(value);
    Set_Record_Name(value);

    Read_Pairs(Item_Types_Count_Key, "Item Type ", group.Item_Type_Names, group.Item_Type_Percents);
    int64_t total = 0;
    for (int32_t i = 1; i <= group.Item_Type_Percents.Count(); ++i) total += group.Item_Type_Percents.Get(i);
    if (total > Item_Type_Table_Size) {
        Get_Field_Value(Item_Types_Count_Key, value, false);
        Report_Invalid_Value(value, Item_Types_Count_Key);
    }
    Read_Pairs("Number Of Locked Terrain Groups", "Locked Terrain Group ", group.Locked_Terrain_Group_Names,
               group.Locked_Terrain_Group_Percents);
    Read_Pairs("Number Of Trapped Terrain Groups", "Trapped Terrain Group ",
               group.Trapped_Terrain_Group_Names, group.Trapped_Terrain_Group_Percents);
}

void TChance_Group_Data_File_Loader::Read_Pairs(const std::string& count_key, const std::string& row_key,
                                                TString_List& names, TWordList& percents) {
    const int32_t count = Read_Row_Count(count_key);
    std::string value;
    for (int32_t i = 1; i <= count; ++i) {
        const std::string prefix = row_key + std::to_string(i) + " ";
        Get_Field_Value(prefix + "Name", value, true);
        names.push_back(value);
        percents.Add(Read_Word(prefix + "Percent Chance"));
    }
}
