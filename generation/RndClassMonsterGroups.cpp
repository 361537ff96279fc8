#include "generation/RndClassMonsterGroups.h"

#include "generation/ClassList.h"

namespace {

TMonster_Group_Table& Monster_Groups() {
    static TMonster_Group_Table table;
    return table;
}

} // namespace

bool TModule_Monster_Group::Group_Matches(const std::string& filter) const {
    return Class_Group_Matches(Monster_Group, filter, TGroup_Match::Either_Contains_Other);
}

int32_t Monster_Group_Count() {
    return static_cast<int32_t>(Monster_Groups().size());
}

TModule_Monster_Group* Get_Monster_Group(int32_t index) {
    if (index < 1 || index > Monster_Group_Count()) return nullptr;
    return Monster_Groups()[static_cast<size_t>(index) - 1].get();
}

void Free_Monster_Groups() {
    Monster_Groups().clear();
}

bool Load_Monster_Groups(const std::string& file_name) {
    Free_Monster_Groups();
    TMonster_Group_Data_File_Loader loader(file_name, Monster_Groups());
    return loader.Execute_Load_And_Report("Monster Groups Data File Errors: ");
}

// ---------------------------------------------------------------------------------------------------------
// Loader

void TMonster_Group_Data_File_Loader::Process_Record(int32_t /*record_number*/) {
    Start_Record();
    Table_.push_back(std::make_unique<TModule_Monster_Group>());
    TModule_Monster_Group& group = *Table_.back();

    // A record without its name is named by its number in the error lines, not by the previous group.
    Set_Record_Name("");
    Read_Text_Field("Group Name", group.Name);
    Set_Record_Name(group.Name);
    group.Follow_Distance = Read_Word("Follow Distance");
    Read_Text_Field("Monster Group", group.Monster_Group);
    Read_Text_Field("Leader Name Prefix", group.Leader_Name_Prefix);
    Read_Text_Field("Leader Name Suffix", group.Leader_Name_Suffix);
    group.Number_In_Group = static_cast<uint16_t>(Read_Row_Count("Number In Group"));

    group.Members.resize(group.Number_In_Group);
    for (size_t i = 0; i < group.Members.size(); ++i)
        Read_Member(group.Members[i], "Group Monster " + std::to_string(i + 1) + " ");
}

void TMonster_Group_Data_File_Loader::Read_Member(TModule_Monster_Group_Monster& member,
                                                  const std::string& prefix) {
    Read_Text_Field(prefix + "Class Name", member.Class_Name);
    Read_Bool_Field(prefix + "Is Leader", member.Is_Leader);
    member.Monster_Level_Min_Plus = Read_Word(prefix + "Monster Level Min Plus");
    const int32_t count = Read_Row_Count(prefix + "Number of Modifiers");
    std::string value;
    for (int32_t j = 1; j <= count; ++j)
        if (Get_Field_Value(prefix + "Modifier " + std::to_string(j) + " Type", value, true))
            member.Modifier_Names.push_back(value);
}
