#include "generation/RndClassMonsterModifiers.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/Monster.h"
#include "generation/RndClassMonster.h"

#include <memory>

namespace {

struct TModifier_Tables {
    std::vector<std::unique_ptr<TMonster_Modifier_Class>> Modifiers; // modifier n is element n - 1
    std::unique_ptr<TMonster_Modifier_Header_Class> Header;
    std::vector<TModule_Monster_Rand_Items_Carried> Rand_Items_Carried;
};

TModifier_Tables& Tables() {
    static TModifier_Tables tables;
    return tables;
}

// How many modifiers a creature of the level receives: the first header row of its level whose running
// percent sum reaches the roll. One when no row does, and one without a header: a missing or broken
// modifiers file leaves none, and module creation goes on without it.
int32_t Number_Of_Modifiers_For(int32_t level) {
    const int32_t roll = Random_Range(1, 100);
    const TMonster_Modifier_Header_Class* header = Monster_Modifier_Header();
    if (!header) return 1;
    int32_t sum = 0;
    for (const TMonster_Modifier_Chance_Row& row : header->Rows) {
        if (row.Level_Min > level || row.Level_Max < level) continue;
        if (sum + row.Percent >= roll) return row.Number_Of_Modifiers;
        sum += row.Percent;
    }
    return 1;
}

} // namespace

int32_t Monster_Modifier_Count() {
    return static_cast<int32_t>(Tables().Modifiers.size());
}

TMonster_Modifier_Class* Get_Monster_Modifier(int32_t index) {
    if (index < 1 || index > Monster_Modifier_Count()) return nullptr;
    return Tables().Modifiers[static_cast<size_t>(index) - 1].get();
}

uint16_t Add_Monster_Modifier(const TMonster_Modifier_Class& modifier) {
    auto& modifiers = Tables().Modifiers;
    // The eligible lists are word lists, which hold at most 32760 indexes.
    if (modifiers.size() >= static_cast<size_t>(Max_Monster_Modifiers)) return 0;
    modifiers.push_back(std::make_unique<TMonster_Modifier_Class>(modifier));
    modifiers.back()->Index = static_cast<uint16_t>(modifiers.size());
    return modifiers.back()->Index;
}

TMonster_Modifier_Header_Class* Monster_Modifier_Header() {
    return Tables().Header.get();
}

TMonster_Modifier_Header_Class& Create_Monster_Modifier_Header() {
    Tables().Header = std::make_unique<TMonster_Modifier_Header_Class>();
    return *Tables().Header;
}

void Free_Monster_Modifiers() {
    Tables().Modifiers.clear();
    Tables().Header.reset();
}

bool Load_Monster_Modifiers(const std::string& file_name) {
    Free_Monster_Modifiers();
    TMonster_Modifier_Class_Data_File_Loader loader(file_name);
    return loader.Execute_Load_And_Report("Monster Modifier Class Data File Errors: ");
}

int32_t Monster_Rand_Items_Carried_Count() {
    return static_cast<int32_t>(Tables().Rand_Items_Carried.size());
}

const TModule_Monster_Rand_Items_Carried* Get_Monster_Rand_Items_Carried(int32_t n) {
    if (n < 1 || n > Monster_Rand_Items_Carried_Count()) return nullptr;
    return &Tables().Rand_Items_Carried[static_cast<size_t>(n) - 1];
}

void Add_Monster_Rand_Items_Carried(const TModule_Monster_Rand_Items_Carried& entry) {
    Tables().Rand_Items_Carried.push_back(entry);
}

void Free_Monster_Rand_Items_Carried() {
    Tables().Rand_Items_Carried.clear();
}

bool Load_Monster_Rand_Items_Carried(const std::string& file_name) {
    Free_Monster_Rand_Items_Carried();
    TModule_Monster_Rand_Items_Carried_Data_File_Loader loader(file_name);
    return loader.Execute_Load_And_Report("Monster Random Items Carried Data File Errors: ");
}

void Get_Monster_Modifiers_For_Level(int32_t level, TWordList& list) {
    list.Clear();
    for (int32_t n = 1; n <= Monster_Modifier_Count(); ++n) {
        const TMonster_Modifier_Class* modifier = Get_Monster_Modifier(n);
        if (modifier->Monster_Level_Min <= level && level <= modifier->Monster_Level_Max)
            list.Add(static_cast<uint16_t>(n));
    }
}

const TMonster_Modifier_Class* Pick_Monster_Modifier(const std::string& name, int32_t level) {
    TWordList eligible;
    Get_Monster_Modifiers_For_Level(level, eligible);
    if (eligible.Count() == 0) return nullptr;
    if (Ascii_Lower(name) == "[random]")
        return Get_Monster_Modifier(eligible.Get(Random_Range(1, eligible.Count())));
    const TMonster_Modifier_Class* found = nullptr;
    for (int32_t n = 1; n <= eligible.Count(); ++n) {
        const TMonster_Modifier_Class* modifier = Get_Monster_Modifier(eligible.Get(n));
        if (Ascii_Equal_No_Case(modifier->Name, name)) found = modifier;
    }
    return found;
}

void Apply_Random_Monster_Modifiers(TMonster& creature) {
    TWordList eligible;
    Get_Monster_Modifiers_For_Level(creature.Level, eligible);
    const int32_t count = Number_Of_Modifiers_For(creature.Level);
    // Each modifier leaves the eligible list once applied: none is applied twice, and asking for more than
    // there are applies each of them once.
    for (int32_t k = 1; k <= count && eligible.Count() > 0; ++k) {
        const int32_t pick = Random_Range(1, eligible.Count());
        const TMonster_Modifier_Class& modifier = *Get_Monster_Modifier(eligible.Get(pick));
        Apply_Effects_To_Monster(creature, modifier.Effects, modifier.Experience_Bonus_Percent);
        creature.Status_Lines.push_back(modifier.Name);
        eligible.Delete(pick);
    }
}

void Give_Random_Items_Carried(TMonster& creature, const std::string& item_group_filter,
                               int32_t item_level_min, int32_t item_level_max) {
    const int64_t steps = static_cast<int64_t>(creature.Level) - 1;
    for (const TModule_Monster_Rand_Items_Carried& entry : Tables().Rand_Items_Carried) {
        const int64_t chance = entry.Base_Chance + entry.Chance_Per_Monster_Level * steps;
        if (chance < Random_Range(1, 100) || entry.Item_Class_Names.empty()) continue;
        const int32_t pick = Random_Range(1, static_cast<int32_t>(entry.Item_Class_Names.size()));
        Give_Item_To_Monster(creature, entry.Item_Class_Names[static_cast<size_t>(pick) - 1],
                             item_group_filter, 0, item_level_min, item_level_max);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Loaders

void TMonster_Modifier_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    Start_Record();
    if (record_number == 1)
        Read_Header();
    else
        Read_Modifier();
}

void TMonster_Modifier_Class_Data_File_Loader::Read_Header() {
    TMonster_Modifier_Header_Class& header = Create_Monster_Modifier_Header();
    const int32_t groups = Read_Row_Count("Number of Modifier Groups");
    for (int32_t j = 1; j <= groups; ++j) {
        const std::string prefix = "Modifier Group " + std::to_string(j) + " ";
        const uint16_t level_min = Read_Word(prefix + "Level Min");
        const uint16_t level_max = Read_Word(prefix + "Level Max");
        const int32_t chances = Read_Row_Count(prefix + "Number of Chances");
        for (int32_t k = 1; k <= chances; ++k) {
            const std::string chance = prefix + "Chance " + std::to_string(k) + " ";
            const uint16_t percent = Read_Word(chance + "Percent");
            const uint16_t number = Read_Word(chance + "Num Modifiers");
            // A row that can never be chosen, or chooses nothing, is left out.
            if (percent != 0 && number != 0) header.Rows.push_back({level_min, level_max, percent, number});
        }
    }
}

void TMonster_Modifier_Class_Data_File_Loader::Read_Modifier() {
    TMonster_Modifier_Class modifier;
    // A record without its name is named by its number in the error lines, not by the previous modifier.
    Set_Record_Name("");
    Read_Text_Field("Name", modifier.Name);
    Set_Record_Name(modifier.Name);
    modifier.Monster_Level_Min = Read_Word("Monster Level Min");
    modifier.Monster_Level_Max = Read_Word("Monster Level Max");
    std::string value;
    if (Get_Field_Value("Monster Experience Bonus Percent", value, false))
        modifier.Experience_Bonus_Percent = Str_To_Word(value);
    modifier.Effects.Read_From_Data_File("", Field_Reader());
    Add_Monster_Modifier(modifier);
}

void TModule_Monster_Rand_Items_Carried_Data_File_Loader::Process_Record(int32_t /*record_number*/) {
    Start_Record();
    TModule_Monster_Rand_Items_Carried entry;
    std::string value;
    // The base chance's text names the record; without it the record is named by its number, not by the
    // previous record's chance.
    Set_Record_Name("");
    Get_Field_Value("Item Base Chance", value, true);
    entry.Base_Chance = Str_To_Word(value);
    Set_Record_Name(value);
    entry.Chance_Per_Monster_Level = Read_Word("Item Chance Per Monster Level");
    const int32_t count = Read_Row_Count("Number Of Possible Item Classes");
    for (int32_t i = 1; i <= count; ++i)
        if (Get_Field_Value("Item Class " + std::to_string(i) + " Name", value, true))
            entry.Item_Class_Names.push_back(value);
    Add_Monster_Rand_Items_Carried(entry);
}
