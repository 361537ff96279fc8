#include "generation/RndClassMonsterModifiers.h"

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

void Get_Monster_Modifiers_For_Level(int32_t level, TWordList& list) {
    list.Clear();
    for (int32_t n = 1; n <= Monster_Modifier_Count(); ++n) {
        const TMonster_Modifier_Class* modifier = Get_Monster_Modifier(n);
        if (modifier->Monster_Level_Min <= level && level <= modifier->Monster_Level_Max)
            list.Add(static_cast<uint16_t>(n));
    }
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
