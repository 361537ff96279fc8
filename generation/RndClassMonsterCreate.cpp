// Monster creation: a live creature made from a class on the current map (the second half of the monster
// class unit).
#include "generation/RndClassMonster.h"

#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonsterModifiers.h"

#include <algorithm>

namespace {

// Attack and defence are 16-bit, and every step of their scaling stores its result in that width: an
// intermediate beyond it wraps before the next step, as stored creatures were made.
uint16_t Word(int64_t value) {
    return static_cast<uint16_t>(value);
}

// The game's difficulty as an offset: Easy -1, Average 0, Difficult 1, Hard 2. Average without options.
int32_t Difficulty_Offset() {
    const TGame_Options* options = Game_Options();
    return (options ? options->Difficulty : 2) - 2;
}

// Step 1: what the creature takes from its class unchanged.
void Copy_Class_Fields(const TMonster_Class& c, TMonster& m) {
    m.Name = c.Name;
    m.Description = c.Description;
    m.Picture = c.Picture_File;
    m.Attack_Picture = c.Attack_Picture_File;
    m.Monster_Group = c.Monster_Group;
    m.Is_Unique = c.Is_Unique;
    m.Is_Undead = c.Is_Undead;
    m.Event_Id = static_cast<int16_t>(c.Event_Id);
    m.Movement_Flags = c.Movement_Flags;
    m.Vision_Flags = c.Vision_Flags;
    m.Light_Radius = c.Light_Radius;
    m.Intelligence_Category = c.Intelligence;
    m.Does_Attack = c.Does_Attack;
    m.When_To_Retreat = c.When_To_Retreat;
    m.Response_Range = c.Response_Range;
    m.Movement_Strategy = c.Movement_Strategy;
    m.Store_Id = static_cast<int16_t>(c.Store_Id);
    m.Sound_Death = c.Sound_Death;
    m.Sound_Attack = c.Sound_Attack;
    m.Sound_Growl = c.Sound_Growl;
    m.Corpse_Type = c.Corpse_Type;
    m.Can_Be_Given_Items = c.Can_Be_Given_Items;
}

// Steps 6 and 7: attack or defence ability from the class's range and the file's constants.
uint16_t Scale_Ability(uint16_t min, uint16_t max, int32_t base_modifier, int32_t start,
                       int32_t per_level_percent, int32_t per_level_amount, int32_t effect_total,
                       int32_t per_difficulty_percent, int32_t level, int32_t difficulty) {
    const int64_t steps = static_cast<int64_t>(level) - 1;
    uint16_t a = Word(static_cast<int64_t>(Random_Range(Clamp_To_Int32(int64_t{min} * base_modifier),
                                                        Clamp_To_Int32(int64_t{max} * base_modifier))) +
                      start);
    a = Word(Scale_By_Percent(a, Percent_Factor(steps, per_level_percent)));
    a = Word(a + steps * static_cast<uint16_t>(per_level_amount));
    a = Word(Scale_By_Percent(a, int64_t{effect_total} + 100));
    return Word(Scale_By_Percent(a, Percent_Factor(difficulty, per_difficulty_percent)));
}

// Step 8: the speed table's delay, shortened on the harder difficulties and lengthened by a positive
// "Monster Increase Move Speed" total.
uint16_t Move_Delay_Of(const TMonster_Class& c, const TMonster& m, int32_t difficulty) {
    const TMonster_Class_List* list = Current_Monster_Class_List();
    int64_t delay =
        list ? list->Get_Movement_Speed_Ms(c.Movement_Speed) : TMonster_Class_List::Default_Movement_Speed_Ms;
    if (difficulty > 0 && list)
        delay -= int64_t{difficulty} * list->Movement_Speed_Modifier_Per_Difficulty_Ms;
    delay = Scale_By_Percent(delay, int64_t{m.Permanent_Effects.Monster_Increase_Move_Speed_Total()} + 100);
    // Held to the 16-bit field rather than wrapped: a fast creature shortened below 0 on Hard would wrap to
    // about 65 500 ms and become the slowest of all.
    return static_cast<uint16_t>(std::clamp<int64_t>(delay, 0, 65535));
}

// Step 9: each natural attack scaled to the level. The minimum first: Set_Min holds it at the maximum the
// attack has at that moment, which is still the class's unscaled one.
void Scale_Natural_Attacks(const TMonster_Class_Constants& k, int32_t level, int32_t difficulty,
                           TMonster& m) {
    const int32_t min_bonus = m.Permanent_Effects.Monster_Increase_Min_Damage_Total();
    const int32_t max_bonus = m.Permanent_Effects.Monster_Increase_Max_Damage_Total();
    for (int32_t n = 1; n <= m.Natural_Attacks.Get_Count(); ++n) {
        TDamage* damage = m.Natural_Attacks.Get_Damage(n);
        damage->Set_Min(Clamp_To_Int32(
            Calc_Monster_Damage(level, difficulty, min_bonus, k.Damage_Min_Start, damage->Min)));
        damage->Set_Max(Clamp_To_Int32(
            Calc_Monster_Damage(level, difficulty, max_bonus, k.Damage_Max_Start, damage->Max)));
    }
}

// Step 15: gold in one of the three stack classes named by its amount.
void Give_Gold(const TMonster_Class_Constants& k, int32_t level, const std::string& item_group_filter,
               int32_t item_level_min, int32_t item_level_max, TMonster& m) {
    if (Random_Range(1, 100) >= int64_t{k.Gold_Chance_Per_Level} * level) return;
    const int32_t amount = Random_Range(Clamp_To_Int32(int64_t{k.Gold_Minimum_Per_Level} * level),
                                        Clamp_To_Int32(int64_t{k.Gold_Maximum_Per_Level} * level));
    const char* stack = amount > 500  ? "Large Gold Stack"
                        : amount > 50 ? "Medium Gold Stack"
                                      : "Small Gold Stack";
    Give_Item_To_Monster(m, stack, item_group_filter, amount, item_level_min, item_level_max);
}

// A creature the list could not take leaves its items behind in the item list, on no square and in nobody's
// pack: they go with it.
void Delete_Carried_Items(const TMonster& m) {
    for (int32_t n = m.Inventory.Count(); n >= 1; --n) Delete_Current_Item(m.Inventory.Contents().Id(n));
}

} // namespace

uint16_t Create_Monster_From_Class(const TMonster_Class* monster_class, int32_t x, int32_t y,
                                   int32_t level_min, int32_t level_max, int32_t item_level_min,
                                   int32_t item_level_max, const std::string& item_group_filter,
                                   int32_t modifier_chance) {
    if (!monster_class) return 0;
    TMap* map = Current_Map();
    // A creature made off the map would stand in the list on no square.
    if (!map || !map->Get_Square(x, y)) return 0;
    const TMonster_Class& c = *monster_class;
    const TMonster_Class_Constants& k = Current_Monster_Class_Constants();
    const int32_t d = Difficulty_Offset();

    TWriteable_Monster m;
    Copy_Class_Fields(c, m);
    m.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
    m.Home_X = m.X;
    m.Home_Y = m.Y;
    m.Set_Class(0);

    const int32_t level = Random_Range(level_min, level_max);
    m.Level = static_cast<uint16_t>(level);

    Apply_Effects_To_Monster(m, c.Effects, 30);
    if (modifier_chance >= Random_Range(1, 100) && !c.Is_Unique) Apply_Random_Monster_Modifiers(m);

    const int32_t life = Random_Range(Clamp_To_Int32(Calc_Monster_Health(level, &m, c.Health_Min, d)),
                                      Clamp_To_Int32(Calc_Monster_Health(level, &m, c.Health_Max, d)));
    m.Life = life;
    m.Max_Life = static_cast<uint16_t>(life);

    m.Attack = Scale_Ability(c.Attack_Min, c.Attack_Max, k.Base_Attack_Modifier, k.Attack_Start,
                             k.Attack_Per_Level_Percent, k.Attack_Per_Level_Amount,
                             m.Permanent_Effects.Monster_Increase_Attack_Ability_Total(),
                             k.Attack_Per_Difficulty_Percent, level, d);
    m.Defense = Scale_Ability(c.Defense_Min, c.Defense_Max, k.Base_Defense_Modifier, k.Defense_Start,
                              k.Defense_Per_Level_Percent, k.Defense_Per_Level_Amount,
                              m.Permanent_Effects.Monster_Increase_Defense_Ability_Total(),
                              k.Defense_Per_Difficulty_Percent, level, d);
    m.Set_Move_Delay(Move_Delay_Of(c, m, d));

    m.Natural_Attacks.Assign(c.Natural_Attacks);
    Scale_Natural_Attacks(k, level, d, m);

    m.Base_Resist = static_cast<int16_t>(int64_t{k.Resist_All_Start} +
                                         int64_t{k.Resist_All_Per_Level_Amount} * (level - 1LL));

    const size_t topics = std::min(c.Talk_Topics.size(), c.Talk_Texts.size());
    m.Talk_Topics.assign(c.Talk_Topics.begin(), c.Talk_Topics.begin() + static_cast<std::ptrdiff_t>(topics));
    m.Talk_Texts.assign(c.Talk_Texts.begin(), c.Talk_Texts.begin() + static_cast<std::ptrdiff_t>(topics));

    m.Spells.Assign(c.Spells);
    m.Spells.Scale_Levels(level, k.Spell_Level_Per_Monster_Level);

    for (const TMonster_Items_Carried& item : c.Items_Carried)
        if (item.Chance >= Random_Range(1, 100))
            Give_Item_To_Monster(m, item.Item_Class_Name, item_group_filter, 0, item_level_min,
                                 item_level_max);
    Give_Random_Items_Carried(m, item_group_filter, item_level_min, item_level_max);
    Give_Gold(k, level, item_group_filter, item_level_min, item_level_max, m);

    m.Recalculate_Stats();
    TMonster* stored = map->Monster_List.Add_Monster(m);
    if (!stored) {
        Delete_Carried_Items(m);
        return 0;
    }
    map->Place_Monster(*stored);
    return stored->Id;
}

void Give_Item_To_Monster(TMonster& creature, const std::string& item_class_name,
                          const std::string& item_group_filter, int32_t gold_amount, int32_t item_level_min,
                          int32_t item_level_max) {
    // Summoning makes creatures while no item class list is loaded: they get nothing.
    const TItem_Class_List* classes = Current_Item_Class_List();
    if (!classes) return;
    const TItem_Class* item_class = classes->Pick_Random_Class(item_class_name, item_group_filter);
    if (!item_class) return;
    const uint16_t id = Create_Item_From_Class(item_class, creature.X, creature.Y, false, item_level_min,
                                               item_level_max, 0, 0, 0.0, 0.0, gold_amount);
    TItem* item = Find_Item(id);
    if (!item) return;
    const uint8_t kind = item->Equip_Slot_Kind();
    if (kind != 0)
        for (int32_t slot = First_Equipment_Slot; slot <= Last_Backpack_Slot; ++slot)
            if (Slot_Accepts_Kind_Ex(kind, slot) && !creature.Item_In_Slot(slot) &&
                creature.Put_Item_In_Slot(item, slot))
                return;
    // The item is already in the map's item list: one the creature cannot take would stay there for good,
    // on no square and in nobody's pack.
    if (!creature.Add_Item(item)) Delete_Current_Item(id);
}

bool Apply_Effects_To_Monster(TMonster& creature, const TEffect_List& effects, int32_t experience_bonus) {
    bool added = false;
    for (int32_t n = 1; n <= effects.Get_Count(); ++n) {
        const TRolled_Amount amount = effects.Roll_Amount(n);
        const int32_t before = creature.Permanent_Effects.Get_Count();
        creature.Add_Permanent_Effect(effects.Get_Effect_Type(n), amount.First, amount.Second);
        if (creature.Permanent_Effects.Get_Count() > before) added = true;
    }
    creature.Add_Experience_Bonus(experience_bonus);
    return added;
}
