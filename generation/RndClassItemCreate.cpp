// Item creation and the unique and magic upgrades (the second half of the item class unit).
#include "generation/RndClassItem.h"

#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/NameTables.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassUniqueNames.h"

#include <algorithm>
#include <vector>

namespace {

// Steps 2 and 4 of creation: what the item takes from its class unchanged.
void Copy_Class_Fields(const TItem_Class& c, TItem& item) {
    item.Name = c.Name;
    item.Description = c.Description;
    item.Class_Name = c.Class_Name;
    item.Item_Group = c.Item_Group;
    item.Item_Type = c.Item_Type;
    item.Weapon_Type = c.Weapon_Type;
    item.Event_Id = c.Event_Id;
    item.Picture = c.Picture_File;
    item.Weight = c.Weight;
    item.Hands = c.Hands_Required;
    item.Key_Group = c.Key_Group;
    item.Consumption_Type = c.Consumption_Type;
    item.Light_Radius = c.Light_Radius;
    item.Light_Turns = c.Light_Turns;
    item.Ammo_Type = c.Ammo_Type;
    item.Ammo_Required = c.Ammo_Required;
    item.Use_Sound = c.Use_Sound_File;
    item.Max_Stack = c.Maximum_Stacked;
    item.Damage.Assign(c.Damage);
    item.Effects.Assign(c.Effects);
    item.Requirements.Assign(c.Requirements);
}

// Step 3: a class found in stacks rolls its quantity; a given stack amount (a creature's gold) then
// replaces it and widens the stack to hold it. A class not found in stacks ignores the amount.
void Set_Quantity(const TItem_Class& c, int32_t stack_amount, TItem& item) {
    if (c.Random_Min_Found == 0 || c.Random_Max_Found == 0) return;
    item.Quantity = static_cast<uint16_t>(Random_Range(c.Random_Min_Found, c.Random_Max_Found));
    if (stack_amount <= 0) return;
    const uint16_t amount = Clamp_To_Word(stack_amount);
    if (item.Max_Stack < amount) item.Max_Stack = amount;
    item.Quantity = amount;
}

// Steps 6 and 7: price, consumption, defence and damage scaled to the level.
void Scale_To_Level(const TItem_Class& c, int32_t level, TItem& item) {
    const TItem_Class_Constants& k = Current_Item_Class_Constants();
    item.Gold_Value = Clamp_To_Int32(Calc_Item_Gold_Value(c, level));
    item.Consumption_Value =
        Clamp_To_Word(Calc_Item_Level_Value(level, c.Consumption_Value, k.Consumption_Per_Level_Percent,
                                            k.Consumption_Per_Level_Amount, k.Consumption_Base_Amount));
    item.Defense_Rating =
        Clamp_To_Word(Calc_Item_Level_Value(level, c.Defense_Rating, k.Defense_Per_Level_Percent,
                                            k.Defense_Per_Level_Amount, k.Defense_Base_Amount));
    // The minimum first: Set_Min holds it at the maximum the damage has now, the class's unscaled one.
    item.Damage.Set_Min(Clamp_To_Int32(Calc_Item_Damage_Min(c, level)));
    item.Damage.Set_Max(Clamp_To_Int32(Calc_Item_Damage_Max(c, level)));
}

// Steps 8 to 10: the unique or magic upgrade and the price it brings.
void Upgrade(const TItem_Class& c, int32_t magic_chance, int32_t unique_chance, double magic_chance_per_level,
             double unique_chance_per_level, TItem& item) {
    // The character's starting level as stored: before a character exists it is 0, and the per-level
    // chances then count once against the item.
    const TGame_Options* options = Game_Options();
    const int64_t start_level = options ? options->Start_Level : 0;
    const int64_t unique =
        unique_chance + Trunc_To_Int32(static_cast<double>(start_level - 1) * unique_chance_per_level);
    const int64_t magic =
        magic_chance + Trunc_To_Int32(static_cast<double>(start_level - 1) * magic_chance_per_level);

    uint16_t percent_sum = 0;
    uint16_t amount_sum = 0;
    if (unique >= Random_Range(1, 100) || c.Always_Unique) {
        // A unique class that finds no unique entry stays plain: it gets no magic roll instead.
        Make_Unique_Item(item, percent_sum, amount_sum);
    } else if (magic >= Random_Range(1, 100) && c.Can_Be_Magic) {
        Make_Magic_Item(item, percent_sum, amount_sum);
    }

    if (percent_sum == 0) return;
    // Both steps price through Value, which counts the stack and a "Gold Value" effect: on a magic stack
    // they count twice. Stored prices depend on it.
    item.Gold_Value = Clamp_To_Int32(static_cast<int64_t>(item.Value()) * (percent_sum + 100) / 100);
    item.Gold_Value = Clamp_To_Int32(static_cast<int64_t>(item.Value()) + amount_sum);
}

} // namespace

uint16_t Create_Item_From_Class(const TItem_Class* item_class, int32_t x, int32_t y, bool put_on_square,
                                int32_t level_min, int32_t level_max, int32_t magic_chance,
                                int32_t unique_chance, double magic_chance_per_level,
                                double unique_chance_per_level, int32_t stack_amount) {
    if (!item_class) return 0;
    TItem_List* list = Current_Item_List();
    if (!list) return 0;
    // An item asked for on a square that does not exist would stay in the item list on no square, in no
    // pile and in nobody's pack, for good: make none.
    TMap_Square* square = nullptr;
    if (put_on_square) {
        TMap* map = Current_Map();
        square = map ? map->Get_Square(x, y) : nullptr;
        if (!square) return 0;
    }
    const TItem_Class& c = *item_class;

    // The four debug lines of a creation go to a log unit that is never written; they are not built.
    const int32_t level = Random_Range(level_min, level_max);

    TItem item;
    Copy_Class_Fields(c, item);
    item.Item_Level = Clamp_To_Word(level);
    Set_Quantity(c, stack_amount, item);

    const int32_t spells =
        std::min<int32_t>(static_cast<int32_t>(c.Spell_Names.size()), c.Spell_Levels.Count());
    for (int32_t n = 1; n <= spells; ++n) {
        item.Spell_Names.push_back(c.Spell_Names[static_cast<size_t>(n) - 1]);
        item.Spell_Levels.Add(Clamp_To_Word(static_cast<int64_t>(level) + c.Spell_Levels.Get(n) - 1));
    }

    Scale_To_Level(c, level, item);
    Upgrade(c, magic_chance, unique_chance, magic_chance_per_level, unique_chance_per_level, item);

    const uint16_t id = list->Add(&item);
    if (id == 0 || !square) return id;
    // Dropping onto a square that already holds an item makes a pile of both, so neither is lost.
    if (!square->Drop_Item(list->Item(id))) {
        list->Delete_At(id);
        return 0;
    }
    return id;
}

// ---------------------------------------------------------------------------------------------------------
// Upgrades

void Get_Item_Modifiers_For_Item(const TItem& item, TWordList& list) {
    list.Clear();
    const std::string type_name = Item_Type_Name(item.Item_Type);
    // Every text contains the empty name; an item of no known type suits no modifier.
    if (type_name.empty()) return;
    for (int32_t n = 1; n <= Item_Modifier_Count(); ++n) {
        const TItem_Modifier_Class* modifier = Get_Item_Modifier(n);
        if (modifier->Item_Level_Min <= item.Item_Level && item.Item_Level <= modifier->Item_Level_Max &&
            modifier->Item_Types.find(type_name) != std::string::npos)
            list.Add(static_cast<uint16_t>(n));
    }
}

bool Apply_Item_Modifier(TItem& item, const TItem_Modifier_Class& modifier, bool rename,
                         uint16_t& percent_sum, uint16_t& amount_sum) {
    const int32_t count = modifier.Effects.Get_Count();
    if (count == 0) return false;
    for (int32_t n = 1; n <= count; ++n) {
        const TRolled_Amount amount = modifier.Effects.Roll_Amount(n);
        item.Effects.Add_Effect(modifier.Effects.Get_Effect_Type(n), amount.First, amount.Second);
    }
    percent_sum = static_cast<uint16_t>(percent_sum + modifier.Gold_Value_Percent_Increase);
    amount_sum =
        static_cast<uint16_t>(amount_sum + Item_Value_Amount_Multiplier() *
                                               static_cast<uint32_t>(modifier.Gold_Value_Amount_Increase));
    if (rename) {
        if (modifier.Modifier_Type == Modifier_Type_Prefix)
            item.Name = modifier.Description + " " + item.Name;
        else if (modifier.Modifier_Type == Modifier_Type_Suffix)
            item.Name = item.Name + " " + modifier.Description;
    }
    item.Requirements.Append(modifier.Requirements);
    return true;
}

void Make_Magic_Item(TItem& item, uint16_t& percent_sum, uint16_t& amount_sum) {
    TWordList eligible;
    Get_Item_Modifiers_For_Item(item, eligible);
    if (eligible.Count() == 0) return;
    const int32_t pick = Random_Range(1, eligible.Count());
    Apply_Item_Modifier(item, *Get_Item_Modifier(eligible.Get(pick)), true, percent_sum, amount_sum);
}

void Make_Unique_Item(TItem& item, uint16_t& percent_sum, uint16_t& amount_sum) {
    std::vector<const TUnique_Names_Class*> entries;
    for (int32_t n = 1; n <= Unique_Names_Count(); ++n) {
        const TUnique_Names_Class* entry = Get_Unique_Names(n);
        if (entry->Level_Min <= item.Item_Level && item.Item_Level <= entry->Level_Max &&
            entry->Number_Of_Modifiers != 0)
            entries.push_back(entry);
    }
    if (entries.empty()) return;
    const TUnique_Names_Class& entry =
        *entries[static_cast<size_t>(Random_Range(1, static_cast<int32_t>(entries.size()))) - 1];

    TWordList eligible;
    Get_Item_Modifiers_For_Item(item, eligible);
    if (eligible.Count() < entry.Number_Of_Modifiers) return;
    bool applied = false;
    for (int32_t k = 1; k <= entry.Number_Of_Modifiers; ++k) {
        const int32_t pick = Random_Range(1, eligible.Count());
        if (Apply_Item_Modifier(item, *Get_Item_Modifier(eligible.Get(pick)), false, percent_sum, amount_sum))
            applied = true;
        eligible.Delete(pick);
    }
    // An entry without names leaves the name as it is.
    if (!applied || entry.Names.empty()) return;
    const int32_t name = Random_Range(1, static_cast<int32_t>(entry.Names.size()));
    item.Name = entry.Names[static_cast<size_t>(name) - 1] + " " + item.Name;
}
