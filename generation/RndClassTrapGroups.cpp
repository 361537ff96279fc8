#include "generation/RndClassTrapGroups.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/Path.h"

namespace {

TTrap_Group_Table& Trap_Groups() {
    static TTrap_Group_Table table;
    return table;
}

// The amount of one effect at a levels above the first. Percent is Trunc((a x per level + 100) / 100 x
// amount) computed exactly in integers, as the per-level growth of requirements and spells is, so one
// per-level table reads alike everywhere: 7 % a level at level 3 on 50 gives 57.
int32_t Scaled_Amount(uint16_t kind, int32_t amount, int64_t a, uint16_t per_level) {
    switch (kind) {
    case Amount_Number: return Clamp_To_Int32(amount + a * per_level);
    case Amount_Percent: return Clamp_To_Int32(Scale_By_Percent(amount, a * per_level + 100));
    default: return amount;
    }
}

} // namespace

TModule_Trap_Group_Spec_Trap* TModule_Trap_Group::Get_Trap_Type(int32_t i) const {
    if (i < 1 || i > static_cast<int32_t>(Trap_Types.size())) return nullptr;
    return Trap_Types[static_cast<size_t>(i) - 1].get();
}

int32_t Trap_Group_Count() {
    return static_cast<int32_t>(Trap_Groups().size());
}

TModule_Trap_Group* Get_Trap_Group(int32_t index) {
    if (index < 1 || index > Trap_Group_Count()) return nullptr;
    return Trap_Groups()[static_cast<size_t>(index) - 1].get();
}

TModule_Trap_Group* Find_Trap_Group(const std::string& name) {
    TModule_Trap_Group* found = nullptr;
    for (const auto& group : Trap_Groups())
        if (group->Name == name) found = group.get();
    return found;
}

void Free_Trap_Groups() {
    Trap_Groups().clear();
}

bool Load_Trap_Groups() {
    Free_Trap_Groups();
    // Without path settings there is no module to read from: no trap groups.
    if (!Path_Settings()) return false;
    const std::string file_name = Path_Settings()->Get_TrapGroups_File();
    TTrap_Group_Data_File_Loader loader(file_name, Trap_Groups());
    return loader.Execute_Load_And_Report("Trap Groups Data File Errors: ");
}

TModule_Trap_Group_Spec_Trap* Pick_Random_Trap(const TModule_Trap_Group* group) {
    if (group == nullptr || group->Number_Of_Trap_Types < 1) return nullptr;
    return group->Get_Trap_Type(Random_Range(1, group->Number_Of_Trap_Types));
}

void Scale_Trap_To_Level(TModule_Trap_Group_Spec_Trap& trap, int32_t level) {
    const int64_t a = static_cast<int64_t>(level) - 1;
    const int32_t damage_growth = Clamp_To_Int32(a * trap.Damage_Per_Level);
    // The minimum is raised first and held at the old maximum: a trap read as 5..10 with 2 per level
    // reaches 10..16 at level 4, not 11..16.
    trap.Damage.Add_Min(damage_growth);
    trap.Damage.Add_Max(damage_growth);

    for (int32_t j = 1; j <= trap.Effects.Get_Count(); ++j) {
        // The three lists are kept as long as the effect list by the loader; a trap built otherwise may
        // lack entries, and its effect then keeps its amounts.
        if (j > trap.Per_Level_Modifier_Types.Count() || j > trap.Min_Amounts_Per_Level.Count() ||
            j > trap.Max_Amounts_Per_Level.Count())
            continue;
        const uint16_t kind = trap.Per_Level_Modifier_Types.Get(j);
        trap.Effects.Set_Amounts(
            j, Scaled_Amount(kind, trap.Effects.Get_Min_Amount(j), a, trap.Min_Amounts_Per_Level.Get(j)),
            Scaled_Amount(kind, trap.Effects.Get_Max_Amount(j), a, trap.Max_Amounts_Per_Level.Get(j)));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Loader

void TTrap_Group_Data_File_Loader::Process_Record(int32_t /*record_number*/) {
    // Records arrive numbered 1, 2, ... without gaps, so appending makes record r entry r. The entry exists
    // before its keys are read: a record that fails halfway still holds its place.
    Table_.push_back(std::make_unique<TModule_Trap_Group>());
    TModule_Trap_Group& group = *Table_.back();

    std::string value;
    if (Get_Field_Value("Trap Group Name", value, true)) group.Name = value;
    Set_Record_Name(group.Name);
    if (Get_Field_Value("Number Of Trap Types", value, true)) group.Number_Of_Trap_Types = Str_To_Word(value);

    for (int32_t i = 1; i <= group.Number_Of_Trap_Types; ++i) {
        group.Trap_Types.push_back(std::make_unique<TModule_Trap_Group_Spec_Trap>());
        Read_Trap_Type(*group.Trap_Types.back(), "Trap Type " + std::to_string(i) + " ");
    }
}

void TTrap_Group_Data_File_Loader::Read_Trap_Type(TModule_Trap_Group_Spec_Trap& trap,
                                                  const std::string& prefix) {
    const TField_Reader reader = Field_Reader();
    trap.Damage.Read_From_Data_File(prefix, reader);
    std::string value;
    if (Get_Field_Value(prefix + "Damage Amount Per Level Modifier", value, true))
        trap.Damage_Per_Level = Str_To_Word(value);
    std::vector<int32_t> effect_numbers;
    trap.Effects.Read_From_Data_File(prefix, reader, &effect_numbers);
    Read_Effect_Level_Modifiers(prefix, effect_numbers, reader, trap.Per_Level_Modifier_Types,
                                trap.Min_Amounts_Per_Level, trap.Max_Amounts_Per_Level);
}
