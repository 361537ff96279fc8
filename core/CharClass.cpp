#include "core/CharClass.h"

#include "core/Damage.h"
#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/Path.h"

#include <memory>
#include <vector>

namespace {

constexpr int32_t Spell_Group_Key_Count = 6;

struct TClass_Table {
    std::vector<std::unique_ptr<TClass_Info>> Classes; // [0] holds nothing; a nameless record leaves a hole
    int32_t Count = 0;
};

TClass_Table& Class_Table() {
    static TClass_Table table;
    return table;
}

std::string Class_Name_Of(int32_t index) {
    const TClass_Info* info = Get_Class(index);
    return info != nullptr ? info->Name : "";
}

// The first entry of the list whose name matches and whose value is not 0.
uint16_t Value_For_Spell(const TString_List& names, const TWordList& values, const std::string& name) {
    const std::string wanted = Trimmed_Lower(name);
    const size_t count = names.size() < static_cast<size_t>(values.Count()) ? names.size() : values.Count();
    for (size_t i = 0; i < count; ++i) {
        if (names[i] != wanted) continue;
        const uint16_t value = values.Get(static_cast<int32_t>(i + 1));
        if (value != 0) return value;
    }
    return 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// TClass_Info

int32_t TClass_Info::Get_Experience_For_Level(int32_t level) const {
    const int32_t count = Experience_Table.Count();
    if (count == 0) return 0;
    if (level < 0) level = 0;
    if (level < count) return Experience_Table.Get(level + 1);
    return Clamp_To_Int32(static_cast<int64_t>(Experience_Table.Get(count)) +
                          (static_cast<int64_t>(level) - count + 1) * Experience_Added_Past_Last_Level);
}

uint16_t TClass_Info::Get_Spell_Available_Level(const std::string& name) const {
    return Value_For_Spell(Spell_Names, Spell_Available_Levels, name);
}

uint16_t TClass_Info::Get_Spell_Group(const std::string& name) const {
    return Value_For_Spell(Spell_Names, Spell_Groups, name);
}

std::string TClass_Info::Get_Group_Name(int32_t n) const {
    return n >= 1 && n <= Get_Group_Count() ? Group_Names[n - 1] : "";
}

std::string TClass_Info::Get_Spell_Name(int32_t n) const {
    return n >= 1 && n <= Get_Spell_Count() ? Spell_Names[n - 1] : "";
}

uint16_t TClass_Info::Get_Spell_Group_By_Number(int32_t n) const {
    return n >= 1 && n <= Spell_Groups.Count() ? Spell_Groups.Get(n) : 0;
}

// ---------------------------------------------------------------------------------------------------------
// The class table

TClass_Info* Get_Class(int32_t index) {
    TClass_Table& table = Class_Table();
    if (index < 1 || index > table.Count || index >= static_cast<int32_t>(table.Classes.size()))
        return nullptr;
    return table.Classes[index].get();
}

int32_t Class_Count() {
    return Class_Table().Count;
}

bool Load_Class_Info() {
    // Without path settings there is no file to name: the loader reports that it cannot load it, as every
    // global table does, rather than failing before the load.
    const std::string file_name = Path_Settings() ? Path_Settings()->Get_Classes_File() : std::string();
    TClass_Portrait_Data_File_Loader loader(file_name);
    return loader.Execute_Load_And_Report("Class Portrait Data File Errors: ");
}

void Free_Class_Info() {
    TClass_Table& table = Class_Table();
    table.Classes.clear();
    table.Count = 0;
}

bool Reload_Class_Info() {
    Free_Class_Info();
    return Load_Class_Info();
}

// ---------------------------------------------------------------------------------------------------------
// The loader

void TClass_Portrait_Data_File_Loader::Before_Load() {
    // Requirement texts name classes by index through this table.
    Set_Class_Name_Lookup(Class_Name_Of);
}

void TClass_Portrait_Data_File_Loader::Process_Record(int32_t record_number) {
    std::string value;
    if (!Get_Field_Value("Class Name", value, true)) return;
    Set_Record_Name(value);
    TClass_Table& table = Class_Table();
    table.Count = record_number;
    if (static_cast<int32_t>(table.Classes.size()) < record_number + 1)
        table.Classes.resize(record_number + 1);
    table.Classes[record_number] = std::make_unique<TClass_Info>();
    TClass_Info& info = *table.Classes[record_number];
    info.Index = record_number;
    info.Name = value;

    Read_Text_Field("Short Description", info.Short_Description);
    Read_Text_Field("Long Description", info.Long_Description);
    // The key is spelt without the "r" in every classes file.
    Read_Name_List("Number of Portaits", "Portrait ", " Filename", info.Portraits);
    Read_Base_Values(info);
    Read_Growth_Factors(info);
    Read_Name_List("Num Items Carried", "Item ", " Class", info.Starting_Items);
    Read_Experience(info);
    Read_Spell_Groups(info);
    Read_Class_Spells(info);
}

uint16_t TClass_Portrait_Data_File_Loader::Read_Word(const std::string& key) {
    uint16_t value = 0;
    Read_Word_Field(key, value);
    return value;
}

void TClass_Portrait_Data_File_Loader::Read_Name_List(const std::string& count_key, const std::string& prefix,
                                                      const std::string& suffix, TString_List& list) {
    const int32_t count = Read_Word(count_key);
    std::string value;
    for (int32_t n = 1; n <= count; ++n)
        if (Get_Field_Value(prefix + std::to_string(n) + suffix, value, true)) list.push_back(value);
}

void TClass_Portrait_Data_File_Loader::Read_Base_Values(TClass_Info& info) {
    Read_Word_Field("Base Strength", info.Base_Strength);
    Read_Word_Field("Base Dexterity", info.Base_Dexterity);
    Read_Word_Field("Base Intelligence", info.Base_Intelligence);
    Read_Word_Field("Base Constitution", info.Base_Constitution);
    Read_Word_Field("Base Fire Resistance", info.Base_Fire_Resistance);
    Read_Word_Field("Base Lightning Resistance", info.Base_Lightning_Resistance);
    Read_Word_Field("Base Cold Resistance", info.Base_Cold_Resistance);
    Read_Word_Field("Base Magic Resistance", info.Base_Magic_Resistance);
    Read_Word_Field("Base Poison Resistance", info.Base_Poison_Resistance);
    Read_Word_Field("Base Physical Resistance", info.Base_Physical_Resistance);
    Read_Word_Field("Base Maximum Health", info.Base_Maximum_Health);
    Read_Word_Field("Base Maximum Mana", info.Base_Maximum_Mana);
    Read_Word_Field("Base Maximum Hunger", info.Base_Maximum_Hunger);
    Read_Word_Field("Base Maximum Weight", info.Base_Maximum_Weight);
    Read_Word_Field("Base Movement Speed", info.Base_Movement_Speed);
    // Stored files give the gold as a 16-bit number.
    uint16_t gold = 0;
    if (Read_Word_Field("Starting Gold", gold)) info.Starting_Gold = gold;
    Read_Byte_Field("Characteristic Points Per Level", info.Characteristic_Points_Per_Level);
    Read_Byte_Field("Spell Points Per Level", info.Spell_Points_Per_Level);
}

void TClass_Portrait_Data_File_Loader::Read_Growth_Factors(TClass_Info& info) {
    // Str_To_Real reads "." whatever the process locale, which is left alone.
    Read_Real_Field("Maximum Health - X Per 1 Level", info.Health_Per_Level);
    Read_Real_Field("Maximum Health - X Per 1 Constitution", info.Health_Per_Constitution);
    Read_Real_Field("Maximum Mana - X Per 1 Level", info.Mana_Per_Level);
    Read_Real_Field("Maximum Mana - X Per 1 Intelligence", info.Mana_Per_Intelligence);
    Read_Real_Field("Maximum Hunger - X Per 1 Constitution", info.Hunger_Per_Constitution);
    Read_Real_Field("Maximum Weight - X Per 1 Strength", info.Weight_Per_Strength);
    Read_Real_Field("Attack Rating - X Per 1 Dexterity", info.Attack_Per_Dexterity);
    Read_Real_Field("Defense Rating - X Per 1 Dexterity", info.Defense_Per_Dexterity);
    Read_Real_Field("Minimum Damage Bonus - X Per 1 Strength", info.Min_Damage_Per_Strength);
    Read_Real_Field("Maximum Damage Bonus - X Per 1 Strength", info.Max_Damage_Per_Strength);
    Read_Real_Field("Movement Slowdown - Xms Per 1 Over Weight", info.Slowdown_Ms_Per_Over_Weight);
    Read_Real_Field("Health Pct Regeneration Rate Per Second", info.Health_Regeneration_Pct);
    Read_Real_Field("Mana Pct Regeneration Rate Per Second", info.Mana_Regeneration_Pct);
}

void TClass_Portrait_Data_File_Loader::Read_Experience(TClass_Info& info) {
    Read_Longint_Field("Experience Added Past Last Level", info.Experience_Added_Past_Last_Level);
    std::string value;
    const int32_t count = Read_Word("Number Of Experience Levels");
    for (int32_t n = 1; n <= count; ++n)
        if (Get_Field_Value("Experience For Level " + std::to_string(n), value, true))
            info.Experience_Table.Add(Str_To_Longint(value));
}

void TClass_Portrait_Data_File_Loader::Read_Spell_Groups(TClass_Info& info) {
    // An empty group name adds no group, so the groups after it take lower numbers.
    std::string value;
    for (int32_t n = 1; n <= Spell_Group_Key_Count; ++n)
        if (Get_Field_Value("Spell/Skill Group " + std::to_string(n) + " Name", value, true) &&
            !Trim_Data(value).empty())
            info.Group_Names.push_back(value);
}

void TClass_Portrait_Data_File_Loader::Read_Class_Spells(TClass_Info& info) {
    // The four lists are read by one index everywhere, so a missing key still appends its entry ("" or 0);
    // the missing key is reported and the file counts as failed.
    const int32_t count = Read_Word("Number of Spell/Skills");
    std::string value;
    for (int32_t n = 1; n <= count; ++n) {
        const std::string base = "Spell/Skill " + std::to_string(n);
        Get_Field_Value(base + " Name", value, true);
        info.Spell_Names.push_back(Trimmed_Lower(value));
        info.Spell_Groups.Add(Read_Word(base + " Group"));
        info.Spell_Available_Levels.Add(Read_Word(base + " Available At Level"));
        info.Spell_Starting_Levels.Add(Read_Word(base + " Starting Level"));
    }
}
