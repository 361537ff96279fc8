// The rules of the creature model, each group pinned by one table: what each consumption type does, who may
// learn a spell, which class spells a new character knows, how long each status lasts, when life and mana
// come back, and every term of the statistics' recalculation for the player and for a monster.
#include "core/CharClass.h"
#include "core/GlobalFuncs.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Effect types by their numbers in the data files.
enum : uint8_t {
    Fx_Attack_Ability = 2,
    Fx_Constitution = 6,
    Fx_Defense_Ability = 10,
    Fx_Dexterity = 11,
    Fx_Fire_Resist = 14,
    Fx_Intelligence = 16,
    Fx_Life = 17,
    Fx_Life_Regeneration = 19,
    Fx_Light_Radius = 21,
    Fx_Mana = 27,
    Fx_Mana_Regeneration = 28,
    Fx_Poison_Length_Reduction = 43,
    Fx_Resist_All = 47,
    Fx_Strength = 49,
    Fx_Physical_Resist = 56,
    Fx_Hunger = 69,
    Fx_Weight = 70,
    Fx_Reduce_Movement = 73,
    Fx_Reduce_Attack_Ability = 74,
    Fx_Reduce_Defense_Ability = 75,
    Fx_Reduce_Resist_All = 76,
};

class CreatureRules : public TMap_Fixture {
protected:
    void TearDown() override {
        Free_Class_Info();
        Free_Master_Spells();
        TMap_Fixture::TearDown();
    }
    // Class 1 of the table with every number 0: each test sets what it needs.
    TClass_Info& Blank_Class() {
        Folder.Write("Data/Classes.txt", Data_File_Text({{{"Class Name", "Fighter"}}}, "Classes"));
        Reload_Class_Info(); // the missing keys are reported; the record is reset below
        TClass_Info& c = *Get_Class(1);
        const std::string name = c.Name;
        c = TClass_Info();
        c.Name = name;
        c.Index = 1;
        c.Base_Movement_Speed = 0;
        return c;
    }
    // Master spells with only their names; the tests set the other fields they read.
    void Master_Spells(const std::vector<std::string>& names) {
        std::vector<TKeys> records;
        for (const std::string& name : names) records.push_back({{"Name", name}});
        Folder.Write("Data/Spells.txt", Data_File_Text(records, "Spells"));
        Load_Master_Spells(); // the records lack most keys; the names are what matters
        ASSERT_EQ(Master_Spell_Count(), static_cast<int32_t>(names.size()));
    }
    TItem* Item_Of_Type(uint8_t type) { return Add_Item("thing", type); }
};

// -------------------------------------------------------------------------------------------------------

TEST_F(CreatureRules, EachConsumptionTypeChangesItsOwnField) {
    // What the creature looks like after using the item: food, life, mana, status, timed effects and the
    // time of the first, permanent effects, permanent life and mana, then the four base attributes.
    using TState = std::vector<double>;
    const TState start = {10, 10, 10, Status_Poisoned, 0, 0, 0, 0, 0, 1, 2, 3, 4};
    struct TCase {
        uint8_t Type;
        int32_t Value;
        std::map<int, double> Changed; // position in TState -> value after use
    };
    // clang-format off
    const TCase cases[] = {
        {1, 7, {{0, 17}}},                  // food
        {1, 200, {{0, 100}}},               // never above the maximum
        {2, 7, {{1, 17}}},                  // life
        {2, 200, {{1, 100}}},
        {3, 7, {{2, 17}}},                  // mana
        {3, 200, {{2, 100}}},
        {4, 7, {{3, Status_Normal}}},       // cure poison
        {5, 7, {{4, 2}, {5, 7000}}},        // each effect timed for V seconds
        {5, 0, {}},                         // no time: nothing
        {6, 7, {{6, 2}}},                   // the effects made permanent
        {7, 7, {{7, 7}}},                   // permanent life
        {8, 7, {{8, 7}}},                   // permanent mana
        {9, 7, {{9, 8}}},                   // strength
        {10, 7, {{10, 9}}},                 // intelligence
        {11, 7, {{11, 10}}},                // dexterity
        {12, 7, {{12, 11}}},                // constitution
        {0, 7, {}},
        {13, 7, {}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Type) + " of " + std::to_string(c.Value));
        TMonster m;
        m.Max_Food = 100;
        m.Max_Life = 100;
        m.Max_Mana = 100;
        m.Food = 10;
        m.Life = 10;
        m.Mana = 10;
        m.Status = Status_Poisoned;
        m.Status_Ms = 5000;
        m.Base_Strength = 1;
        m.Base_Intelligence = 2;
        m.Base_Dexterity = 3;
        m.Base_Constitution = 4;
        TItem* item = Item_Of_Type(12);
        item->Consumption_Type = c.Type;
        item->Consumption_Value = static_cast<uint16_t>(c.Value);
        item->Effects.Add_Effect(Fx_Mana, 2, 3);
        item->Effects.Add_Effect(Fx_Life, 4, 5);
        const uint16_t id = item->Id;
        EXPECT_FALSE(m.Use_Item(item));
        EXPECT_EQ(Find_Item(id), nullptr); // the item is used up whatever it did

        TState expected = start;
        for (const auto& [at, value] : c.Changed) expected[static_cast<size_t>(at)] = value;
        const TState after = {double(m.Food),
                              m.Life,
                              m.Mana,
                              double(m.Status),
                              double(m.Timed_Effects.Get_Count()),
                              m.Timed_Effect_Ms.Count() ? double(m.Timed_Effect_Ms.Get(1)) : 0.0,
                              double(m.Permanent_Effects.Get_Count()),
                              double(m.Permanent_Life),
                              double(m.Permanent_Mana),
                              double(m.Base_Strength),
                              double(m.Base_Intelligence),
                              double(m.Base_Dexterity),
                              double(m.Base_Constitution)};
        EXPECT_EQ(after, expected);
        // Effects keep their types and amounts when they are taken over.
        const TEffect_List& taken = c.Type == 5 ? m.Timed_Effects : m.Permanent_Effects;
        if (taken.Get_Count() == 2) {
            EXPECT_EQ((std::vector<int>{taken.Get_Effect_Type(2), taken.Get_Min_Amount(2),
                                        taken.Get_Max_Amount(2)}),
                      (std::vector<int>{Fx_Life, 4, 5}));
        }
    }
}

TEST_F(CreatureRules, WhoMayLearnASpell) {
    TClass_Info& c = Blank_Class();
    c.Spell_Names = {"bolt"};
    c.Spell_Groups.Add(1);
    c.Spell_Available_Levels.Add(0);
    c.Spell_Starting_Levels.Add(0);
    Master_Spells({"Bolt", "Heal"});
    TSpell& bolt = *Get_Master_Spell(1);
    bolt.Maximum_Levels_From_Start = 3;

    struct TCase {
        const char* What;
        bool Player;
        uint16_t Available_At, Level;
        uint16_t Known, Heal_Known; // the creature's levels in Bolt and in Heal
        const char* Requires;
        uint16_t Requires_Level;
        bool Can;
    };
    // clang-format off
    const TCase cases[] = {
        {"below the class's level", true, 4, 3, 0, 0, "", 0, false},
        {"at the class's level", true, 4, 4, 0, 0, "", 0, true},
        {"available at 2 is a level to reach", true, 2, 1, 0, 0, "", 0, false},
        {"available at 1 asks no level", true, 1, 0, 0, 0, "", 0, true},
        {"a monster passes the class test", false, 4, 0, 0, 0, "", 0, true},
        {"below the spell's maximum", true, 1, 1, 2, 0, "", 0, true},
        {"at the spell's maximum", true, 1, 1, 3, 0, "", 0, false},
        {"the other spell too low", true, 1, 1, 0, 1, "Heal", 2, false},
        {"the other spell high enough", true, 1, 1, 0, 2, "Heal", 2, true},
        {"no other spell named", true, 1, 1, 0, 0, "", 5, true},
    };
    // clang-format on
    for (const TCase& k : cases) {
        SCOPED_TRACE(k.What);
        c.Spell_Available_Levels.Put(1, k.Available_At);
        bolt.Required_Spell_Name = k.Requires;
        bolt.Required_Spell_Level = k.Requires_Level;
        TMonster m;
        if (k.Player) m.Set_Class(1);
        m.Level = k.Level;
        if (k.Known) m.Spells.Set_Spell(1, k.Known, 100);
        if (k.Heal_Known) m.Spells.Set_Spell(2, k.Heal_Known, 100);
        EXPECT_EQ(m.Can_Learn_Spell(bolt), k.Can);
    }
}

TEST_F(CreatureRules, ANewCharacterKnowsTheClassSpellsWithAStartingLevel) {
    TClass_Info& c = Blank_Class();
    c.Spell_Names = {"heal", "bolt", "ward"};
    for (const uint16_t group : {4, 5, 6}) c.Spell_Groups.Add(group);
    for (const uint16_t available : {1, 1, 3}) c.Spell_Available_Levels.Add(available);
    for (const uint16_t start : {2, 0, 1}) c.Spell_Starting_Levels.Add(start);
    // Names match in any letter case and around blanks; the last master spell of a name wins.
    Master_Spells({"HEAL", "Bolt", " Ward ", "Zap", "ward"});
    TMonster p;
    p.Set_Class(1);
    p.Learn_Class_Spells();
    std::vector<std::vector<int>> known;
    for (int32_t n = 1; n <= p.Spells.Count(); ++n)
        known.push_back({p.Spells.Spell_Id(n), p.Spells.Stored_Level(n), p.Spells.Cast_Chance(n)});
    EXPECT_EQ(known, (std::vector<std::vector<int>>{{1, 2, 100}, {5, 1, 100}}));

    // Every master spell of a class spell's name, with the class's group of that spell.
    TWordList ids, groups;
    p.Class_Spells_Of_Skill(ids, groups);
    std::vector<int> pairs;
    for (int32_t n = 1; n <= ids.Count(); ++n) pairs.insert(pairs.end(), {ids.Get(n), groups.Get(n)});
    EXPECT_EQ(pairs, (std::vector<int>{1, 4, 2, 5, 3, 6, 5, 6}));
    EXPECT_EQ(p.Spell_Minimum_Level(*Get_Master_Spell(5)), 3);
    EXPECT_EQ(p.Spell_Class_Value(*Get_Master_Spell(2)), 5);
    EXPECT_EQ(p.Spell_Minimum_Level(*Get_Master_Spell(4)), 0); // not a class spell

    // A monster learns nothing.
    TMonster m;
    m.Learn_Class_Spells();
    EXPECT_EQ(m.Spells.Count(), 0);
    // Starting levels for fewer spells than the class names: only those are taught.
    c.Spell_Starting_Levels.Delete(3);
    TMonster q;
    q.Set_Class(1);
    q.Learn_Class_Spells();
    ASSERT_EQ(q.Spells.Count(), 1);
    EXPECT_EQ(q.Spells.Spell_Id(1), 1);
}

TEST_F(CreatureRules, TheClassSkillsAreItsGroupsNotItsSpells) {
    // Three groups and more spells than groups: the skill dialogs page by group.
    TClass_Info& c = Blank_Class();
    c.Group_Names = {"Weapons", "Defence", "Magic"};
    c.Spell_Names = {"heal", "bolt", "ward", "zap", "cure"};
    TMonster p;
    p.Set_Class(1);
    EXPECT_EQ(p.Class_Skill_Count(), 3);
    const std::vector<std::string> names = {p.Class_Skill_Name(0), p.Class_Skill_Name(1),
                                            p.Class_Skill_Name(3), p.Class_Skill_Name(4)};
    EXPECT_EQ(names, (std::vector<std::string>{"", "Weapons", "Magic", ""}));
    TMonster monster;
    EXPECT_EQ(monster.Class_Skill_Count(), 0);
    EXPECT_EQ(monster.Class_Skill_Name(1), "");
}

TEST_F(CreatureRules, StatusLengths) {
    using TSetter = std::function<void(TMonster&)>;
    struct TCase {
        const char* What;
        TSetter Set;
        uint8_t Status;
        int32_t Shortest, Longest; // over many draws, in milliseconds
    };
    const TCase cases[] = {
        {"panic", [](TMonster& m) { m.Set_Panic(5, 9); }, Status_Panic, 10050, 30050},
        {"panic, no amount", [](TMonster& m) { m.Set_Panic(-5, 9); }, Status_Panic, 10000, 30000},
        {"blindness", [](TMonster& m) { m.Set_Blind(3, 9); }, Status_Blind, 10030, 30030},
        {"paralysis", [](TMonster& m) { m.Set_Paralyzed(4, 9); }, Status_Paralyzed, 10040, 20040},
        {"sleep", [](TMonster& m) { m.Set_Asleep(6, 9); }, Status_Asleep, 10060, 30060},
        {"poison of a stronger foe", [](TMonster& m) { m.Poison(3, 9); }, Status_Poisoned, 20060, 40060},
        {"poison of a weaker foe", [](TMonster& m) { m.Poison(-2, 9); }, Status_Poisoned, 20000, 40000},
        {"poison shortened by 5 s",
         [](TMonster& m) {
             m.Add_Permanent_Effect(Fx_Poison_Length_Reduction, 5, 5);
             m.Poison(1, 9);
         },
         Status_Poisoned, 15020, 35020},
        {"allegiance for 12 s", [](TMonster& m) { m.Change_Allegiance(12, 9, 4); }, Status_Allegiance_Changed,
         12000, 12000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        int32_t shortest = INT32_MAX, longest = INT32_MIN;
        for (uint64_t seed = 1; seed <= 300; ++seed) {
            Seed_Random(seed);
            TMonster m;
            m.Status = Status_Blind; // each setter replaces the status there was
            m.Status_Source = 2;
            c.Set(m);
            ASSERT_EQ(m.Status, c.Status);
            // A changed allegiance keeps the source it had; every other status names its cause.
            ASSERT_EQ(m.Status_Source, c.Status == Status_Allegiance_Changed ? 2 : 9);
            ASSERT_EQ((m.Status_Ms - c.Shortest) % 1000, 0) << m.Status_Ms;
            shortest = std::min(shortest, m.Status_Ms);
            longest = std::max(longest, m.Status_Ms);
        }
        EXPECT_EQ(shortest, c.Shortest);
        EXPECT_EQ(longest, c.Longest);
    }
    // The guard a changed allegiance makes: its new leader, at the range given.
    TMonster turned;
    turned.Change_Allegiance(12, 9, 4);
    EXPECT_EQ((std::vector<int>{turned.Leader_Id, turned.Guard_Range, turned.Movement_Strategy}),
              (std::vector<int>{9, 4, Strategy_Guard_Monster}));
    // Poison that would last no time at all changes nothing.
    TMonster resistant;
    resistant.Add_Permanent_Effect(Fx_Poison_Length_Reduction, 40, 40);
    resistant.Set_Blind(0, 2);
    const int32_t blind_for = resistant.Status_Ms;
    resistant.Poison(0, 9);
    EXPECT_EQ((std::vector<int>{resistant.Status, resistant.Status_Ms, resistant.Status_Source}),
              (std::vector<int>{Status_Blind, blind_for, 2}));
}

TEST_F(CreatureRules, WhenLifeAndManaComeBack) {
    struct TCase {
        const char* What;
        bool Player;
        uint8_t Status;
        uint16_t Food;
        double Life, Mana; // of 50 each, regaining 10 % a second
        double Life_After, Mana_After;
    };
    // clang-format off
    const TCase cases[] = {
        {"a monster", false, Status_Normal, 0, 20, 20, 25, 25},
        {"a poisoned monster regains mana only", false, Status_Poisoned, 0, 20, 20, 20, 25},
        {"a fed player", true, Status_Normal, 3, 20, 20, 25, 25},
        {"a starving player regains mana only", true, Status_Normal, 0, 20, 20, 20, 25},
        {"a poisoned player", true, Status_Poisoned, 3, 20, 20, 20, 25},
        {"regaining never passes the maximum", true, Status_Normal, 3, 48, 48, 50, 50},
        // Above the maximum (a lost item gave it) the player keeps what he has; a monster is held to it.
        {"a player above the maximum", true, Status_Normal, 3, 60, 60, 60, 60},
        {"a monster above the maximum", false, Status_Normal, 0, 60, 60, 50, 60},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster m;
        m.Class_Index = c.Player ? 1 : 0; // no class table: nothing else is recalculated
        m.Status = c.Status;
        m.Food = c.Food;
        m.Max_Life = 50;
        m.Max_Mana = 50;
        m.Life = c.Life;
        m.Mana = c.Mana;
        m.Life_Regeneration = 10;
        m.Mana_Regeneration = 10;
        m.Regenerate_Life();
        m.Regenerate_Mana();
        EXPECT_EQ(m.Life, c.Life_After);
        EXPECT_EQ(m.Mana, c.Mana_After);
    }
}

// Every term of the recalculation: one row per term, the term alone set, and which statistics it moves.
TEST_F(CreatureRules, EveryTermOfTheRecalculation) {
    enum TOut {
        Str,
        Dex,
        Int,
        Con,
        Fire,
        Cold,
        Lightning,
        Magic,
        Poison,
        Physical,
        Max_Mana,
        Max_Life,
        Max_Food,
        Max_Weight,
        Attack,
        Defense,
        Delay,
        Life_Regen,
        Mana_Regen,
        Light,
        Out_Count
    };
    const auto statistics = [](const TMonster& m) {
        return std::vector<double>{
            double(m.Strength),         double(m.Dexterity),    double(m.Intelligence),
            double(m.Constitution),     double(m.Fire_Resist),  double(m.Cold_Resist),
            double(m.Lightning_Resist), double(m.Magic_Resist), double(m.Poison_Resist),
            double(m.Physical_Resist),  double(m.Max_Mana),     double(m.Max_Life),
            double(m.Max_Food),         double(m.Max_Weight),   double(m.Attack),
            double(m.Defense),          double(m.Move_Delay),   m.Life_Regeneration,
            m.Mana_Regeneration,        double(m.Light_Radius)};
    };
    using TSetup = std::function<void(TClass_Info&, TMonster&)>;
    const auto effect = [](uint8_t type, int32_t amount) {
        return [=](TClass_Info&, TMonster& m) { m.Add_Permanent_Effect(type, amount, amount); };
    };
    const auto item = [this](uint8_t type, int32_t slot, uint16_t defence, uint8_t light) {
        return [=, this](TClass_Info&, TMonster& m) {
            TItem* it = Add_Item("worn", type);
            it->Defense_Rating = defence;
            it->Light_Radius = light;
            m.Put_Item_In_Slot(it, slot);
        };
    };
    struct TCase {
        const char* What;
        bool Player;
        TSetup Setup;
        std::map<int, double> Changed;
    };
    // The player is level 3 with strength 7, dexterity 11, intelligence 13 and constitution 17.
    // clang-format off
    const TCase cases[] = {
        {"base health", true, [](TClass_Info& c, TMonster&) { c.Base_Maximum_Health = 30; }, {{Max_Life, 30}}},
        {"health per level", true, [](TClass_Info& c, TMonster&) { c.Health_Per_Level = 2.7; }, {{Max_Life, 5}}},
        {"health per constitution", true, [](TClass_Info& c, TMonster&) { c.Health_Per_Constitution = 1.5; }, {{Max_Life, 25}}},
        {"permanent life", true, [](TClass_Info&, TMonster& m) { m.Permanent_Life = 4; }, {{Max_Life, 4}}},
        {"life effect", true, effect(Fx_Life, 6), {{Max_Life, 6}}},
        {"base mana", true, [](TClass_Info& c, TMonster&) { c.Base_Maximum_Mana = 5; }, {{Max_Mana, 5}}},
        {"mana per level", true, [](TClass_Info& c, TMonster&) { c.Mana_Per_Level = 0.8; }, {{Max_Mana, 1}}},
        {"mana per intelligence", true, [](TClass_Info& c, TMonster&) { c.Mana_Per_Intelligence = 0.5; }, {{Max_Mana, 6}}},
        {"permanent mana", true, [](TClass_Info&, TMonster& m) { m.Permanent_Mana = 3; }, {{Max_Mana, 3}}},
        {"mana effect", true, effect(Fx_Mana, 4), {{Max_Mana, 4}}},
        {"hunger per constitution", true, [](TClass_Info& c, TMonster&) { c.Hunger_Per_Constitution = 2.5; }, {{Max_Food, 42}}},
        {"base hunger", true, [](TClass_Info& c, TMonster&) { c.Base_Maximum_Hunger = 100; }, {{Max_Food, 100}}},
        {"hunger effect", true, effect(Fx_Hunger, 9), {{Max_Food, 9}}},
        {"weight per strength", true, [](TClass_Info& c, TMonster&) { c.Weight_Per_Strength = 1.5; }, {{Max_Weight, 10}}},
        {"base weight", true, [](TClass_Info& c, TMonster&) { c.Base_Maximum_Weight = 20; }, {{Max_Weight, 20}}},
        {"weight effect", true, effect(Fx_Weight, 11), {{Max_Weight, 11}}},
        {"attack per dexterity", true, [](TClass_Info& c, TMonster&) { c.Attack_Per_Dexterity = 1.5; }, {{Attack, 16}}},
        {"attack ability less its reduction", true,
         [](TClass_Info& c, TMonster& m) {
             c.Attack_Per_Dexterity = 1;
             m.Add_Permanent_Effect(Fx_Attack_Ability, 3, 3);
             m.Add_Permanent_Effect(Fx_Reduce_Attack_Ability, 5, 5);
         }, {{Attack, 9}}},
        {"attack never below 0", true, effect(Fx_Reduce_Attack_Ability, 5), {}},
        {"defence per dexterity", true, [](TClass_Info& c, TMonster&) { c.Defense_Per_Dexterity = 0.5; }, {{Defense, 5}}},
        {"worn armour", true, item(3, 3, 8, 0), {{Defense, 8}}},
        {"armour in the backpack", true, item(3, 11, 8, 0), {}},
        {"defence ability less its reduction", true,
         [](TClass_Info& c, TMonster& m) {
             c.Defense_Per_Dexterity = 1;
             m.Add_Permanent_Effect(Fx_Defense_Ability, 4, 4);
             m.Add_Permanent_Effect(Fx_Reduce_Defense_Ability, 1, 1);
         }, {{Defense, 14}}},
        {"defence never below 0", true, effect(Fx_Reduce_Defense_Ability, 5), {}},
        {"class speed", true, [](TClass_Info& c, TMonster&) { c.Base_Movement_Speed = 300; }, {{Delay, 300}}},
        {"slowed", true, [](TClass_Info& c, TMonster& m) {
             c.Base_Movement_Speed = 300;
             m.Add_Permanent_Effect(Fx_Reduce_Movement, 50, 50);
         }, {{Delay, 350}}},
        {"class regeneration", true, [](TClass_Info& c, TMonster&) {
             c.Health_Regeneration_Pct = 0.5;
             c.Mana_Regeneration_Pct = 0.25;
         }, {{Life_Regen, 0.5}, {Mana_Regen, 0.25}}},
        {"regeneration effects", true, [](TClass_Info&, TMonster& m) {
             m.Add_Permanent_Effect(Fx_Life_Regeneration, 2, 2);
             m.Add_Permanent_Effect(Fx_Mana_Regeneration, 3, 3);
         }, {{Life_Regen, 2}, {Mana_Regen, 3}}},
        {"class resistances", true, [](TClass_Info& c, TMonster&) {
             c.Base_Fire_Resistance = 10;
             c.Base_Cold_Resistance = 11;
             c.Base_Lightning_Resistance = 12;
             c.Base_Magic_Resistance = 13;
             c.Base_Poison_Resistance = 14;
             c.Base_Physical_Resistance = 15;
         }, {{Fire, 10}, {Cold, 11}, {Lightning, 12}, {Magic, 13}, {Poison, 14}, {Physical, 15}}},
        {"fire resist effect", true, effect(Fx_Fire_Resist, 5), {{Fire, 5}}},
        {"resist all: not physical", true, effect(Fx_Resist_All, 6),
         {{Fire, 6}, {Cold, 6}, {Lightning, 6}, {Magic, 6}, {Poison, 6}}},
        {"reduce resist all, never below 0", true, [](TClass_Info& c, TMonster& m) {
             c.Base_Fire_Resistance = 10;
             m.Add_Permanent_Effect(Fx_Reduce_Resist_All, 2, 2);
         }, {{Fire, 8}}},
        {"physical resist effect", true, effect(Fx_Physical_Resist, 7), {{Physical, 7}}},
        {"light effect", true, effect(Fx_Light_Radius, 2), {{Light, 3}}},
        {"light in the first hand", true, item(20, 6, 0, 2), {{Light, 3}}},
        {"light in the second hand", true, item(20, 7, 0, 4), {{Light, 5}}},
        {"light worn elsewhere", true, item(9, 1, 0, 4), {}},
        {"attribute effects", true, [](TClass_Info&, TMonster& m) {
             m.Add_Permanent_Effect(Fx_Strength, 1, 1);
             m.Add_Permanent_Effect(Fx_Dexterity, 2, 2);
             m.Add_Permanent_Effect(Fx_Intelligence, 3, 3);
             m.Add_Permanent_Effect(Fx_Constitution, 4, 4);
         }, {{Str, 8}, {Dex, 13}, {Int, 16}, {Con, 21}}},
        {"an equipped item's effect", true, [this](TClass_Info&, TMonster& m) {
             TItem* ring = Add_Item("ring", 13);
             ring->Effects.Add_Effect(Fx_Strength, 2, 2);
             m.Put_Item_In_Slot(ring, 8);
         }, {{Str, 9}}},
        {"a carried item's effect does not count", true, [this](TClass_Info&, TMonster& m) {
             TItem* ring = Add_Item("ring", 13);
             ring->Effects.Add_Effect(Fx_Strength, 2, 2);
             m.Put_Item_In_Slot(ring, 20);
         }, {}},
        {"a timed effect", true, [](TClass_Info&, TMonster& m) { m.Add_Timed_Effect(Fx_Strength, 3, 3, 10); },
         {{Str, 10}}},
        {"a passive skill", true, [this](TClass_Info&, TMonster& m) {
             Master_Spells({"Might"});
             TSpell& might = *Get_Master_Spell(1);
             might.Target_Type = 5;
             might.Effects->Add_Effect(Fx_Strength, 4, 4);
             m.Spells.Set_Spell(1, 1, 100);
         }, {{Str, 11}}},
        {"attributes feed the factors", true, [](TClass_Info& c, TMonster& m) {
             c.Health_Per_Constitution = 1;
             c.Weight_Per_Strength = 1;
             m.Add_Permanent_Effect(Fx_Strength, 1, 1);
             m.Add_Permanent_Effect(Fx_Constitution, 4, 4);
         }, {{Str, 8}, {Con, 21}, {Max_Life, 21}, {Max_Weight, 8}}},
        // A monster keeps what creation gave it; only resistances, light and life regeneration follow.
        {"a monster's resistance", false, [](TClass_Info&, TMonster& m) { m.Base_Resist = 20; },
         {{Fire, 20}, {Cold, 20}, {Lightning, 20}, {Magic, 20}, {Poison, 20}, {Physical, 20}}},
        {"a monster's fire resist effect", false, effect(Fx_Fire_Resist, 5), {{Fire, 5}}},
        {"a monster's resist all", false, effect(Fx_Resist_All, 6),
         {{Fire, 6}, {Cold, 6}, {Lightning, 6}, {Magic, 6}, {Poison, 6}}},
        {"a monster's physical resist", false, effect(Fx_Physical_Resist, 7), {{Physical, 7}}},
        {"a monster's light", false, effect(Fx_Light_Radius, 2), {{Light, 2}}},
        {"a monster's torch", false, item(20, 6, 0, 3), {{Light, 3}}},
        {"a monster's life regeneration", false, effect(Fx_Life_Regeneration, 2), {{Life_Regen, 2}}},
        {"a monster's other effects", false, [](TClass_Info&, TMonster& m) {
             for (const uint8_t type : {Fx_Mana, Fx_Life, Fx_Hunger, Fx_Weight, Fx_Attack_Ability,
                                        Fx_Defense_Ability, Fx_Mana_Regeneration})
                 m.Add_Permanent_Effect(type, 5, 5);
         }, {}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TClass_Info& info = Blank_Class();
        TMonster m;
        m.Level = 3;
        m.Base_Strength = 7;
        m.Base_Dexterity = 11;
        m.Base_Intelligence = 13;
        m.Base_Constitution = 17;
        std::vector<double> expected;
        if (c.Player) {
            m.Set_Class(1);
            expected = {7, 11, 13, 17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
        } else {
            m.Max_Mana = 30;
            m.Max_Life = 40;
            m.Max_Food = 20;
            m.Max_Weight = 15;
            m.Attack = 9;
            m.Defense = 8;
            m.Set_Move_Delay(250);
            expected = {7, 11, 13, 17, 0, 0, 0, 0, 0, 0, 30, 40, 20, 15, 9, 8, 250, 0, 0, 0};
        }
        ASSERT_EQ(expected.size(), size_t{Out_Count});
        c.Setup(info, m);
        m.Recalculate_Stats();
        for (const auto& [at, value] : c.Changed) expected[static_cast<size_t>(at)] = value;
        EXPECT_EQ(statistics(m), expected);
    }
}

TEST_F(CreatureRules, ANewCreature) {
    const TMonster m;
    EXPECT_EQ((std::vector<int>{m.Movement_Flags, m.Vision_Flags, m.Does_Attack, m.When_To_Retreat,
                                m.Response_Range, m.Movement_Strategy, m.Class_Index, m.Status}),
              (std::vector<int>{1, 1, true, 3, 2, 2, 0, 0}));
    EXPECT_EQ(m.Sound_Death, "chardie2.wav");
    // Its one natural attack: "Hands", always used, no recharge, 1..4 at range 1, no firing effect.
    ASSERT_EQ(m.Natural_Attacks.Get_Count(), 1);
    const TDamage& hands = *m.Natural_Attacks.Get_Damage(1);
    EXPECT_EQ(m.Natural_Attacks.Get_Name(1), "Hands");
    EXPECT_EQ((std::vector<int>{m.Natural_Attacks.Get_Chance(1), m.Natural_Attacks.Get_Recharge_Time(1),
                                hands.Min, hands.Max, hands.Range, hands.Firing_FX}),
              (std::vector<int>{100, 0, 1, 4, 1, 0}));
    // Its first move comes after 0..500 ms, in steps of 50.
    std::set<int32_t> waits;
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        Seed_Random(seed);
        waits.insert(TMonster().Move_Timer);
    }
    EXPECT_EQ(waits, (std::set<int32_t>{0, 50, 100, 150, 200, 250, 300, 350, 400, 450, 500}));
}

TEST_F(CreatureRules, GoldPointsAndAttributes) {
    using TStep = std::function<void(TMonster&)>;
    struct TCase {
        const char* What;
        TStep Step;
        std::vector<int> After; // gold, bonus, attribute and skill points, base str, int, dex, con
    };
    // From gold 10, bonus 5, one attribute point, no skill points, attributes 1, 2, 3, 4.
    // clang-format off
    const TCase cases[] = {
        {"add gold", [](TMonster& m) { m.Add_Gold(7); }, {17, 5, 1, 0, 1, 2, 3, 4}},
        {"remove gold", [](TMonster& m) { m.Remove_Gold(7); }, {3, 5, 1, 0, 1, 2, 3, 4}},
        {"remove all the gold", [](TMonster& m) { m.Remove_Gold(10); }, {0, 5, 1, 0, 1, 2, 3, 4}},
        {"never below none", [](TMonster& m) { m.Remove_Gold(11); }, {0, 5, 1, 0, 1, 2, 3, 4}},
        {"experience bonus", [](TMonster& m) { m.Add_Experience_Bonus(30); }, {10, 35, 1, 0, 1, 2, 3, 4}},
        {"use an attribute point", [](TMonster& m) { m.Use_Attribute_Point(); }, {10, 5, 0, 0, 1, 2, 3, 4}},
        {"no skill point to use", [](TMonster& m) { m.Use_Skill_Point(); }, {10, 5, 1, 0, 1, 2, 3, 4}},
        {"use a skill point", [](TMonster& m) { m.Skill_Points = 1; m.Use_Skill_Point(); }, {10, 5, 1, 0, 1, 2, 3, 4}},
        {"no attribute point to use", [](TMonster& m) { m.Attribute_Points = 0; m.Use_Attribute_Point(); }, {10, 5, 0, 0, 1, 2, 3, 4}},
        {"raise strength", [](TMonster& m) { m.Raise_Strength(); }, {10, 5, 1, 0, 2, 2, 3, 4}},
        {"raise intelligence", [](TMonster& m) { m.Raise_Intelligence(); }, {10, 5, 1, 0, 1, 3, 3, 4}},
        {"raise dexterity", [](TMonster& m) { m.Raise_Dexterity(); }, {10, 5, 1, 0, 1, 2, 4, 4}},
        {"raise constitution", [](TMonster& m) { m.Raise_Constitution(); }, {10, 5, 1, 0, 1, 2, 3, 5}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        TMonster m;
        m.Gold = 10;
        m.Experience_Bonus = 5;
        m.Attribute_Points = 1;
        m.Base_Strength = 1;
        m.Base_Intelligence = 2;
        m.Base_Dexterity = 3;
        m.Base_Constitution = 4;
        m.Recalculate_Stats();
        c.Step(m);
        EXPECT_EQ(
            (std::vector<int>{m.Gold, m.Experience_Bonus, m.Attribute_Points, m.Skill_Points, m.Base_Strength,
                              m.Base_Intelligence, m.Base_Dexterity, m.Base_Constitution}),
            c.After)
            << c.What;
        // A raised attribute counts at once.
        EXPECT_EQ(
            (std::vector<int>{m.Strength, m.Intelligence, m.Dexterity, m.Constitution}),
            (std::vector<int>{m.Base_Strength, m.Base_Intelligence, m.Base_Dexterity, m.Base_Constitution}))
            << c.What;
    }
}

TEST_F(CreatureRules, CuringEndsAStatusWhole) {
    struct TCase {
        uint8_t Status;
        bool Cured_By_Cure_Poison, Cleared_By_Clear_Status;
    };
    const TCase cases[] = {
        {Status_Panic, false, true},  {Status_Poisoned, true, false},
        {Status_Blind, false, true},  {Status_Paralyzed, false, true},
        {Status_Asleep, false, true}, {Status_Allegiance_Changed, false, false},
    };
    for (const TCase& c : cases) {
        for (const bool cure : {true, false}) {
            TMonster m;
            m.Status = c.Status;
            m.Status_Ms = 4000;
            m.Status_Source = 6;
            cure ? m.Cure_Poison() : m.Clear_Status();
            const bool ends = cure ? c.Cured_By_Cure_Poison : c.Cleared_By_Clear_Status;
            const std::vector<int> ended = {Status_Normal, 0, 0}, kept = {c.Status, 4000, 6};
            EXPECT_EQ((std::vector<int>{m.Status, m.Status_Ms, m.Status_Source}), ends ? ended : kept)
                << int(c.Status) << (cure ? " cure poison" : " clear status");
        }
    }
}

TEST_F(CreatureRules, UsingUpOneUnit) {
    struct TCase {
        const char* What;
        uint16_t Quantity;
        bool In_Backpack;
        bool Left;
        uint16_t Quantity_After;
    };
    const TCase cases[] = {
        {"a single item is gone", 1, true, false, 0},    {"a stack of none counts as one", 0, true, false, 0},
        {"a stack of two leaves one", 2, true, true, 1}, {"a stack of five leaves four", 5, true, true, 4},
        {"an item held in no slot", 1, false, false, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster m;
        m.Max_Food = 100;
        // Another item beside it in the backpack, before it: only the item used may leave.
        TItem* bread = Item_Of_Type(7);
        bread->Class_Name = "bread";
        m.Add_Item(bread);
        TItem* apple = Item_Of_Type(7);
        apple->Class_Name = "apple";
        apple->Consumption_Type = 1;
        apple->Consumption_Value = 3;
        apple->Quantity = c.Quantity;
        apple->Max_Stack = 10;
        if (c.In_Backpack) m.Add_Item(apple);
        const uint16_t id = apple->Id;
        EXPECT_EQ(m.Use_Item(apple), c.Left);
        EXPECT_EQ(m.Food, 3);
        EXPECT_EQ(Find_Item(id) != nullptr, c.Left);
        if (c.Left) {
            EXPECT_EQ(Find_Item(id)->Quantity, c.Quantity_After);
        }
        // The other item stays where it was; the used one leaves its slot with its last unit.
        EXPECT_EQ(m.Item_In_Slot(11), bread);
        EXPECT_EQ(m.Item_In_Slot(12), c.In_Backpack && c.Left ? Find_Item(id) : nullptr);
        EXPECT_EQ(m.Inventory.Count(), c.In_Backpack && c.Left ? 2 : 1);
    }
    TMonster m;
    EXPECT_FALSE(m.Use_Item(nullptr));
}

TEST_F(CreatureRules, PickingUpPutsScrollsOnTheQuickBarButNoSpells) {
    Master_Spells({"Bolt"});
    Get_Master_Spell(1)->Target_Type = 2;
    TMonster m;
    m.Spells.Set_Spell(1, 1, 100);
    TItem* scroll = Item_Of_Type(15);
    scroll->Spell_Names = {"Bolt"};
    scroll->Spell_Levels.Add(1);
    EXPECT_TRUE(m.Pick_Up_Item(scroll));
    std::vector<int> bar;
    for (int32_t n = 1; n <= 10; ++n) {
        uint8_t kind = 0;
        uint16_t value = 0;
        m.Spells.Get_Quick_Slot(n, kind, value);
        bar.insert(bar.end(), {kind, value});
    }
    std::vector<int> expected(20, 0);
    expected[0] = Quick_Slot_Scroll;
    expected[1] = 11;
    EXPECT_EQ(bar, expected);
}

} // namespace
