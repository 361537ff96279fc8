// The rules of creating items and creatures from their classes: how the chances of an upgrade grow with the
// starting level, how a unique item takes its modifiers and its name, how an upgrade prices the item and a
// stack is filled; the effect totals each scaled value of a creature takes, its experience bonus, the random
// items it carries, its talk topics, and what happens to its items when the map cannot take it.
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassUniqueNames.h"
#include "tests/support/CoreTestSupport.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

enum : uint8_t {
    Fx_Dexterity = 11,
    Fx_Strength = 49,
    Fx_Monster_Increase_Health = 33,
    Fx_Monster_Increase_Attack_Ability = 34,
    Fx_Monster_Increase_Defense_Ability = 35,
    Fx_Monster_Increase_Min_Damage = 36,
    Fx_Monster_Increase_Max_Damage = 37,
    Fx_Monster_Increase_Move_Speed = 38,
};

// A modifier record for the modifiers file: one effect (or none), worth percent and amount.
TKeys Modifier(const std::string& description, const std::string& kind, const std::string& types,
               const std::string& effect, int percent = 0, int amount = 0) {
    TKeys keys = {{"Description", description},
                  {"Item Gold Value Percent Increase", std::to_string(percent)},
                  {"Item Gold Value Amount Increase", std::to_string(amount)},
                  {"Item Level Min", "1"},
                  {"Item Level Max", "20"},
                  {"Item Types", types},
                  {"Modifier Type", kind},
                  {"Number of Effects", effect.empty() ? "0" : "1"}};
    if (!effect.empty())
        keys.insert(keys.end(),
                    {{"Effect 1 Type", effect}, {"Effect 1 Min Amount", "1"}, {"Effect 1 Max Amount", "1"}});
    keys.push_back({"Number of Requirements", "0"});
    return keys;
}

// A unique names record for levels 1..10.
TKeys Unique_Entry(int modifiers, const std::vector<std::string>& names) {
    TKeys keys = {{"Level Min", "1"},
                  {"Level Max", "10"},
                  {"Number of Modifiers", std::to_string(modifiers)},
                  {"Number of Names", std::to_string(names.size())}};
    for (size_t n = 0; n < names.size(); ++n) keys.push_back({"Name " + std::to_string(n + 1), names[n]});
    return keys;
}

class CreationRules : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Install_Current_Map(std::make_unique<TMap>());
        Create_Game_Options().Start_Level = 1;
    }
    void TearDown() override {
        Free_Item_Modifiers();
        Free_Unique_Names();
        Free_Monster_Rand_Items_Carried();
        Free_Game_Options();
        Install_Current_Map(nullptr);
        TProgram_Folder_Test::TearDown();
    }
    void Load_Modifiers(const std::vector<TKeys>& modifiers) {
        std::vector<TKeys> records = {{{"Item Value Amount Multiplier", "5"}}};
        records.insert(records.end(), modifiers.begin(), modifiers.end());
        ASSERT_TRUE(Load_Item_Modifiers(Folder.Write("mods.txt", Data_File_Text(records))));
    }
    void Load_Unique(const std::vector<TKeys>& entries) {
        ASSERT_TRUE(Load_Unique_Names(Folder.Write("unique.txt", Data_File_Text(entries))));
    }
    TItem_Class& Item_Class(const std::string& name, uint8_t type, int32_t gold = 100) {
        TItem_Class c;
        c.Class_Name = c.Name = name;
        c.Item_Type = type;
        c.Base_Gold_Value = gold;
        c.Can_Be_Magic = true;
        Items.Add_Class(c);
        return *Items.Get_Class(Items.Get_Count());
    }
    const TItem* Create(const TItem_Class& c, int magic, int unique = 0, double magic_per_level = 0,
                        double unique_per_level = 0, int stack = 0) {
        return Find_Item(Create_Item_From_Class(&c, 3, 4, false, 1, 1, magic, unique, magic_per_level,
                                                unique_per_level, stack));
    }
    // The names of what the creature carries, in slot order.
    static std::vector<std::string> Carried(const TMonster& m) {
        std::vector<std::string> names;
        for (int32_t n = 1; n <= m.Inventory.Count(); ++n)
            names.push_back(m.Inventory.Contents().Item(n)->Name);
        return names;
    }
    int Live_Items() const {
        int live = 0;
        const TItem_List& items = Current_Map()->Item_List;
        for (int id = 1; id <= items.Count(); ++id) live += items.Item(static_cast<uint16_t>(id)) != nullptr;
        return live;
    }

    TItem_Class_List Items;
    TCurrent_Item_Class_List_Guard Current_Items{Items};
    TMonster_Class_List Monsters;
    TCurrent_Monster_Class_List_Guard Current_Monsters{Monsters};
};

// The seed whose draws, after the given ones, roll the wanted number.
template <typename TDraws> uint64_t Seed_For(int32_t roll, TDraws draws_before) {
    for (uint64_t seed = 1;; ++seed) {
        Seed_Random(seed);
        draws_before();
        if (Random_Range(1, 100) == roll) return seed;
    }
}

// -------------------------------------------------------------------------------------------------------
// Items

TEST_F(CreationRules, UpgradeChancesGrowWithTheStartingLevel) {
    Load_Modifiers({Modifier("Gilded", "Prefix", "Weapon", "Strength")});
    Load_Unique({Unique_Entry(1, {"Grimfang"})});
    const TItem_Class& blade = Item_Class("Blade", 20);
    struct TCase {
        const char* What;
        uint16_t Start_Level;
        int Unique;
        double Unique_Per_Level;
        int Magic;
        double Magic_Per_Level;
        int Chance;      // the highest roll that upgrades
        bool Magic_Roll; // the chance is the magic one, rolled second
    };
    // Each chance is its own plus Trunc((starting level - 1) x its per-level chance).
    // clang-format off
    const TCase cases[] = {
        {"unique at starting level 5", 5, 10, 10.5, 0, 0, 52, false},
        {"unique at starting level 0: toward zero", 0, 60, 7.5, 0, 0, 53, false},
        {"unique at starting level 1: no per-level part", 1, 40, 99, 0, 0, 40, false},
        {"magic at starting level 5", 5, 0, 0, 5, 2.25, 14, true},
        {"magic at starting level 0", 0, 0, 0, 30, 4.5, 26, true},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Game_Options()->Start_Level = c.Start_Level;
        for (const int roll : {c.Chance, c.Chance + 1}) {
            // The level is drawn first, then the unique roll, then (when not unique) the magic roll.
            Seed_Random(Seed_For(roll, [&] {
                Random_Range(1, 1);
                if (c.Magic_Roll) Random_Range(1, 100);
            }));
            const TItem* item = Create(blade, c.Magic, c.Unique, c.Magic_Per_Level, c.Unique_Per_Level);
            ASSERT_NE(item, nullptr);
            const std::string upgraded = c.Magic_Roll ? "Gilded Blade" : "Grimfang Blade";
            EXPECT_EQ(item->Name, roll <= c.Chance ? upgraded : "Blade") << roll;
        }
    }
}

TEST_F(CreationRules, AUniqueItemTakesEachModifierOnceAndItsNameOnlyWithOne) {
    struct TCase {
        const char* What;
        std::vector<TKeys> Entries;
        std::vector<TKeys> Modifiers;
        std::string Name;
        std::vector<int> Effects; // the item's effect types, sorted
    };
    const TKeys strength = Modifier("Strong", "Prefix", "Weapon", "Strength");
    const TKeys dexterity = Modifier("Deft", "Prefix", "Weapon", "Dexterity");
    const TKeys empty = Modifier("Dull", "Prefix", "Weapon", "");
    // clang-format off
    const TCase cases[] = {
        {"an entry asking for no modifiers is never the one chosen",
         {Unique_Entry(0, {"Dust"}), Unique_Entry(1, {"Grimfang"})}, {strength}, "Grimfang Blade", {Fx_Strength}},
        {"two of two: each once", {Unique_Entry(2, {"Grimfang"})}, {strength, dexterity}, "Grimfang Blade",
         {Fx_Dexterity, Fx_Strength}},
        {"modifiers without effects: no name", {Unique_Entry(1, {"Grimfang"})}, {empty}, "Blade", {}},
        {"one of two applied is enough for the name", {Unique_Entry(2, {"Grimfang"})}, {empty, strength},
         "Grimfang Blade", {Fx_Strength}},
    };
    // clang-format on
    const TItem_Class& blade = Item_Class("Blade", 20);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Load_Modifiers(c.Modifiers);
        Load_Unique(c.Entries);
        for (uint64_t seed = 1; seed <= 30; ++seed) {
            Seed_Random(seed);
            const TItem* item = Create(blade, 0, 100);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->Name, c.Name) << seed;
            std::vector<int> effects;
            for (int32_t n = 1; n <= item->Effects.Get_Count(); ++n)
                effects.push_back(item->Effects.Get_Effect_Type(n));
            std::sort(effects.begin(), effects.end());
            EXPECT_EQ(effects, c.Effects) << seed;
        }
    }
}

TEST_F(CreationRules, AnItemTypeWithoutANameSuitsNoModifier) {
    // Every text holds the empty name: a type the table does not name must not match every modifier.
    Load_Modifiers({Modifier("Gilded", "Prefix", "Weapon, Shield", "Strength")});
    for (const auto& [type, suits] : {std::pair{20, true}, std::pair{16, true}, std::pair{3, false},
                                      std::pair{24, false}, std::pair{255, false}}) {
        TItem item;
        item.Item_Type = static_cast<uint8_t>(type);
        item.Item_Level = 1;
        TWordList eligible;
        Get_Item_Modifiers_For_Item(item, eligible);
        EXPECT_EQ(eligible.Count(), suits ? 1 : 0) << type;
    }
    EXPECT_EQ(Create(Item_Class("Relic", 24), 100)->Name, "Relic");
}

TEST_F(CreationRules, AnUpgradeReprices) {
    struct TCase {
        const char* What;
        int Percent, Amount; // of the one modifier; the multiplier is 5
        int32_t Gold;
        uint16_t Stack; // found in stacks of exactly this many; 0: not in stacks
        int32_t Gold_After;
    };
    // clang-format off
    const TCase cases[] = {
        {"no percent: the price stays, the amount too", 0, 4, 100, 0, 100},
        {"a percent", 50, 0, 100, 0, 150},
        {"a percent, then the amount", 50, 4, 100, 0, 170},
        {"toward zero", 25, 0, 99, 0, 123},
        // The stack counts in both steps: 100 x 3 x 1.5 = 450 a unit, then 450 x 3 + 20.
        {"a stack is priced whole, twice", 50, 4, 100, 3, 1370},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Load_Modifiers({Modifier("Gilded", "Prefix", "Weapon", "Strength", c.Percent, c.Amount)});
        TItem_Class& k = Item_Class("Blade", 20, c.Gold);
        k.Random_Min_Found = k.Random_Max_Found = c.Stack;
        k.Maximum_Stacked = 10;
        const TItem* item = Create(k, 100);
        ASSERT_EQ(item->Name, "Gilded Blade");
        EXPECT_EQ(item->Gold_Value, c.Gold_After);
    }
}

TEST_F(CreationRules, AStackIsFilledOnlyFromItsFoundBounds) {
    struct TCase {
        const char* What;
        uint16_t Min_Found, Max_Found, Max_Stacked;
        int Stack_Amount;
        uint16_t Quantity, Max_Stack;
    };
    const uint16_t plain = TItem().Quantity;
    // clang-format off
    const TCase cases[] = {
        {"a rolled stack", 4, 4, 100, 0, 4, 100},
        {"an amount of 1", 4, 4, 100, 1, 1, 100},
        {"an amount replaces the roll and widens the stack", 4, 4, 100, 120, 120, 120},
        {"a wide stack stays wide", 4, 4, 200, 120, 120, 200},
        {"no lower bound: the amount is not used", 0, 4, 100, 120, plain, 100},
        {"no upper bound: the amount is not used", 4, 0, 100, 120, plain, 100},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TItem_Class& k = Item_Class("Gold", 21);
        k.Random_Min_Found = c.Min_Found;
        k.Random_Max_Found = c.Max_Found;
        k.Maximum_Stacked = c.Max_Stacked;
        const TItem* item = Create(k, 0, 0, 0, 0, c.Stack_Amount);
        EXPECT_EQ((std::vector<int>{item->Quantity, item->Max_Stack}),
                  (std::vector<int>{c.Quantity, c.Max_Stack}));
    }
}

// -------------------------------------------------------------------------------------------------------
// Creatures

TEST_F(CreationRules, EachScaledValueTakesItsOwnEffectTotal) {
    struct TCase {
        const char* What;
        uint8_t Effect;           // 50 % of it; 0 none
        std::vector<int> Changed; // life, attack, defence, damage min, damage max, move delay, bonus
    };
    // Life 10, attack 20, defence 30, a claw of 4..10, the default speed of 500 ms; level 1, Average.
    // clang-format off
    const TCase cases[] = {
        {"no effects: the bonus of 30 all the same", 0, {10, 20, 30, 4, 10, 500, 30}},
        {"health", Fx_Monster_Increase_Health, {15, 20, 30, 4, 10, 500, 30}},
        {"attack", Fx_Monster_Increase_Attack_Ability, {10, 30, 30, 4, 10, 500, 30}},
        {"defence", Fx_Monster_Increase_Defense_Ability, {10, 20, 45, 4, 10, 500, 30}},
        {"minimum damage", Fx_Monster_Increase_Min_Damage, {10, 20, 30, 6, 10, 500, 30}},
        {"maximum damage", Fx_Monster_Increase_Max_Damage, {10, 20, 30, 4, 15, 500, 30}},
        {"move speed: a longer delay", Fx_Monster_Increase_Move_Speed, {10, 20, 30, 4, 10, 750, 30}},
        {"heavy blows and hides keep their size", 0, {10, 200, 300, 100, 200, 500, 30}},
    };
    // clang-format on
    Game_Options()->Difficulty = 2;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster_Class k;
        k.Name = "Wight";
        k.Health_Min = k.Health_Max = 10;
        const bool heavy = c.Changed[3] == 100;
        k.Attack_Min = k.Attack_Max = heavy ? 200 : 20;
        k.Defense_Min = k.Defense_Max = heavy ? 300 : 30;
        k.Natural_Attacks.Add_Attack("Claw", 100, 0, heavy ? 100 : 4, heavy ? 200 : 10, 1, 0);
        if (c.Effect) k.Effects.Add_Effect(c.Effect, 50, 50);
        const TMonster* m = Current_Map()->Monster_List.Get_Monster(
            Create_Monster_From_Class(&k, 10, 12, 1, 1, 1, 1, "all", 0));
        ASSERT_NE(m, nullptr);
        const TDamage& claw = *m->Natural_Attacks.Get_Damage(1);
        EXPECT_EQ((std::vector<int>{m->Max_Life, m->Attack, m->Defense, claw.Min, claw.Max, m->Move_Delay,
                                    m->Experience_Bonus}),
                  c.Changed);
    }
}

TEST_F(CreationRules, RandomItemsCarried) {
    Item_Class("Gem", 18);
    Item_Class("Helm", 9);
    struct TEntry {
        int32_t Base, Per_Level;
        TString_List Names;
    };
    struct TCase {
        const char* What;
        std::vector<TEntry> Entries;
        uint16_t Level;
        std::set<std::string> Carried; // over the seeds
    };
    // clang-format off
    const TCase cases[] = {
        {"a sure chance", {{100, 0, {"Gem"}}}, 1, {"Gem"}},
        {"no chance", {{0, 0, {"Gem"}}}, 5, {}},
        {"the chance per level above the first", {{-100, 100, {"Gem"}}}, 2, {}},
        {"two levels above the first", {{-100, 100, {"Gem"}}}, 3, {"Gem"}},
        {"no names: nothing", {{100, 0, {}}}, 1, {}},
        {"every entry gives its own", {{100, 0, {"Gem"}}, {100, 0, {"Helm"}}}, 1, {"Gem", "Helm"}},
        {"one name of the entry's at random", {{100, 0, {"Gem", "Helm"}}}, 1, {"Gem", "Helm"}},
    };
    // clang-format on
    TMonster_Class k;
    k.Name = "Wight";
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Free_Monster_Rand_Items_Carried();
        for (const TEntry& e : c.Entries) {
            TModule_Monster_Rand_Items_Carried entry;
            entry.Base_Chance = e.Base;
            entry.Chance_Per_Monster_Level = e.Per_Level;
            entry.Item_Class_Names = e.Names;
            Add_Monster_Rand_Items_Carried(entry);
        }
        std::set<std::string> carried;
        for (uint64_t seed = 1; seed <= 20; ++seed) {
            Seed_Random(seed);
            const TMonster* m = Current_Map()->Monster_List.Get_Monster(
                Create_Monster_From_Class(&k, 10, 12, c.Level, c.Level, 1, 1, "all", 0));
            ASSERT_NE(m, nullptr);
            const std::vector<std::string> names = Carried(*m);
            // One item an entry at most.
            EXPECT_LE(names.size(), c.Entries.size());
            carried.insert(names.begin(), names.end());
            Current_Map()->Remove_Monster(m->Id);
            Current_Map()->End_Tick();
        }
        EXPECT_EQ(carried, c.Carried);
    }
}

TEST_F(CreationRules, TalkTopicsKeepTheirPairs) {
    // Topic 1 is whole, 2 lacks its text, 3 its name, 4 both: a half stays with an empty other half.
    const TKeys record = {{"Name", "Hermit"},
                          {"Number of Talk Topics", "4"},
                          {"Talk Topic 1 Name", "Quest"},
                          {"Talk Topic 1 Text", "Go north"},
                          {"Talk Topic 2 Name", "Village"},
                          {"Talk Topic 3 Text", "Hello"}};
    TString_List errors;
    Monsters.Load_From_File(Folder.Write("m.txt", Data_File_Text({{{"Comment", "-"}}, record})), &errors);
    ASSERT_EQ(Monsters.Get_Count(), 1);
    const TMonster_Class& hermit = *Monsters.Get_Class(1);
    EXPECT_EQ(hermit.Talk_Topics, (TString_List{"Quest", "Village", ""}));
    EXPECT_EQ(hermit.Talk_Texts, (TString_List{"Go north", "", "Hello"}));
    // Every missing half is reported.
    for (const std::string key :
         {"Talk Topic 2 Text", "Talk Topic 3 Name", "Talk Topic 4 Name", "Talk Topic 4 Text"})
        EXPECT_NE(std::find(errors.begin(), errors.end(), Missing_Field_Line(key, "Hermit", 2)), errors.end())
            << key;
    // A creature takes them in pairs.
    const TMonster* m = Current_Map()->Monster_List.Get_Monster(
        Create_Monster_From_Class(&hermit, 10, 12, 1, 1, 1, 1, "all", 0));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Talk_Topics, hermit.Talk_Topics);
    EXPECT_EQ(m->Talk_Texts, hermit.Talk_Texts);
}

TEST_F(CreationRules, ACreatureTheMapCannotTakeLeavesNoItemsBehind) {
    Item_Class("Gem", 18);
    TMonster_Class k;
    k.Name = "Wight";
    k.Items_Carried = {{"Gem", 100}, {"Gem", 100}, {"Gem", 100}};
    TMonster_List& list = Current_Map()->Monster_List;
    const TMonster filler;
    while (list.Get_Count() < TMonster_List::Max_Monsters) ASSERT_NE(list.Add_Monster(filler), nullptr);
    EXPECT_EQ(Create_Monster_From_Class(&k, 10, 12, 1, 1, 1, 1, "all", 0), 0);
    EXPECT_EQ(Live_Items(), 0);
    EXPECT_EQ(Current_Map()->Get_Square(10, 12)->Monster_Id, 0);
    // With room again, the same creature carries its three.
    list.Remove_Monster(7);
    const TMonster* m = list.Get_Monster(Create_Monster_From_Class(&k, 10, 12, 1, 1, 1, 1, "all", 0));
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Id, 7);
    EXPECT_EQ(Live_Items(), 3);
}

// Modifiers and unique names each serve a band of item levels, both ends included.
TEST_F(CreationRules, LevelBandsIncludeBothEnds) {
    TKeys banded = Modifier("Gilded", "Prefix", "Weapon", "Strength");
    banded = With(banded, {{"Item Level Min", "3"}, {"Item Level Max", "5"}});
    Load_Modifiers({banded});
    Load_Unique({With(Unique_Entry(1, {"Grimfang"}), {{"Level Min", "3"}, {"Level Max", "5"}})});
    TItem_Class& blade = Item_Class("Blade", 20);
    for (const auto& [level, inside] : {std::pair{2, false}, {3, true}, {5, true}, {6, false}}) {
        TItem item;
        item.Item_Type = 20;
        item.Item_Level = static_cast<uint16_t>(level);
        TWordList eligible;
        Get_Item_Modifiers_For_Item(item, eligible);
        EXPECT_EQ(eligible.Count(), inside ? 1 : 0) << level;
        // A unique item of that level takes the entry's name only within the band.
        const TItem* unique =
            Find_Item(Create_Item_From_Class(&blade, 3, 4, false, level, level, 0, 100, 0, 0, 0));
        EXPECT_EQ(unique->Name, inside ? "Grimfang Blade" : "Blade") << level;
    }
}

TEST_F(CreationRules, TheFirstItemOfAMapLandsOnItsSquare) {
    TItem_Class& gem = Item_Class("Gem", 18);
    ASSERT_EQ(Current_Map()->Item_List.Count(), 0);
    const uint16_t id = Create_Item_From_Class(&gem, 5, 6, true, 1, 1, 0, 0, 0, 0, 0);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(Current_Map()->Get_Square(5, 6)->Get_Top_Item(), Find_Item(id));
}

TEST_F(CreationRules, CreatureChancesAtTheirBoundaries) {
    Item_Class("Gem", 18);
    TMonster_Modifier_Class fierce;
    fierce.Name = "Fierce";
    fierce.Monster_Level_Min = 1;
    fierce.Monster_Level_Max = 10;
    fierce.Effects.Add_Effect(Fx_Strength, 1, 1);
    Add_Monster_Modifier(fierce);
    struct TCase {
        const char* What;
        int Modifier_Chance;
        uint16_t Carry_Chance;
        int Gold_Chance; // per level; the creature is level 2
        int Chance;      // the highest roll that works
    };
    // The draws before each roll: the new creature's move timer, the level, the modifier roll, life, attack
    // and defence, then each carried item's roll, then the gold roll.
    enum { Modifier_Roll, Carry_Roll, Gold_Roll };
    const struct {
        TCase Case;
        int Roll;
    } cases[] = {
        {{"modifiers at 40", 40, 0, 0, 40}, Modifier_Roll},
        {{"a carried item at 40", 0, 40, 0, 40}, Carry_Roll},
        {{"gold at 30 a level: below 60", 0, 0, 30, 59}, Gold_Roll},
    };
    for (const auto& [c, which] : cases) {
        SCOPED_TRACE(c.What);
        Monsters.Constants.Gold_Chance_Per_Level = c.Gold_Chance;
        Monsters.Constants.Gold_Minimum_Per_Level = Monsters.Constants.Gold_Maximum_Per_Level = 10;
        Item_Class("Small Gold Stack", 21).Random_Min_Found = 1;
        Items.Get_Class(Items.Get_Count())->Random_Max_Found = 1;
        TMonster_Class k;
        k.Name = "Wight";
        k.Health_Min = k.Health_Max = 10;
        k.Attack_Min = k.Attack_Max = 20;
        k.Defense_Min = k.Defense_Max = 30;
        if (c.Carry_Chance) k.Items_Carried = {{"Gem", c.Carry_Chance}};
        for (const int roll : {c.Chance, c.Chance + 1}) {
            Seed_Random(Seed_For(roll, [&] {
                Random_Range(0, 10); // the new creature's first move timer
                Random_Range(2, 2);
                if (which == Modifier_Roll) return;
                Random_Range(1, 100);
                Random_Range(10, 10);
                Random_Range(20, 20);
                Random_Range(30, 30);
            }));
            const TMonster* m = Current_Map()->Monster_List.Get_Monster(
                Create_Monster_From_Class(&k, 10, 12, 2, 2, 1, 1, "all", c.Modifier_Chance));
            ASSERT_NE(m, nullptr);
            const bool works = roll <= c.Chance;
            const std::vector<std::string> none;
            if (which == Modifier_Roll) {
                EXPECT_EQ(m->Status_Lines.size(), works ? 1u : 0u) << roll;
            } else if (which == Carry_Roll) {
                EXPECT_EQ(Carried(*m), works ? std::vector<std::string>{"Gem"} : none) << roll;
            } else {
                // The amount is per level too: 10 a level at level 2.
                EXPECT_EQ(Carried(*m), works ? std::vector<std::string>{"Small Gold Stack"} : none) << roll;
                if (works) {
                    EXPECT_EQ(m->Inventory.Contents().Item(1)->Quantity, 20);
                }
            }
            Current_Map()->Remove_Monster(m->Id);
            Current_Map()->End_Tick();
        }
    }
    Free_Monster_Modifiers();

    // The amount of gold lies between the minimum and the maximum a level, times the level.
    Monsters.Constants.Gold_Chance_Per_Level = 101;
    Monsters.Constants.Gold_Minimum_Per_Level = 10;
    Monsters.Constants.Gold_Maximum_Per_Level = 25; // at most 50: a small stack
    TMonster_Class k;
    k.Name = "Wight";
    std::set<int> amounts;
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        Seed_Random(seed);
        const TMonster* m = Current_Map()->Monster_List.Get_Monster(
            Create_Monster_From_Class(&k, 10, 12, 2, 2, 1, 1, "all", 0));
        ASSERT_EQ(m->Inventory.Count(), 1);
        amounts.insert(m->Inventory.Contents().Item(1)->Quantity);
        Current_Map()->Remove_Monster(m->Id);
        Current_Map()->End_Tick();
    }
    EXPECT_GE(*amounts.begin(), 20);
    EXPECT_LE(*amounts.rbegin(), 50);
    EXPECT_GT(amounts.size(), 10u);
}

TEST_F(CreationRules, WhatACreatureIsMadeWith) {
    Load_Modifiers({Modifier("Gilded", "Prefix", "Weapon", "Strength")});
    Load_Unique({Unique_Entry(1, {"Grimfang"})});
    Item_Class("Blade", 20);
    TItem_Class& arrows = Item_Class("Arrows", 1);
    arrows.Random_Min_Found = arrows.Random_Max_Found = 7;
    arrows.Maximum_Stacked = 50;
    TMonster_Class k;
    k.Name = "Wight";
    k.Health_Min = k.Health_Max = 10;
    k.Attack_Min = 10;
    k.Attack_Max = 20;
    k.Items_Carried = {{"Blade", 100}, {"Arrows", 100}};
    Monsters.Constants.Base_Attack_Modifier = 2;
    // Carried items are never magic or unique, lie on no square, and a stack keeps its rolled size.
    std::set<int> attacks;
    for (uint64_t seed = 1; seed <= 300; ++seed) {
        Seed_Random(seed);
        const TMonster* m = Current_Map()->Monster_List.Get_Monster(
            Create_Monster_From_Class(&k, 10, 12, 1, 1, 1, 1, "all", 0));
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(Carried(*m), (std::vector<std::string>{"Blade", "Arrows"})) << seed;
        EXPECT_EQ(m->Item_In_Slot(11)->Quantity, 7);
        EXPECT_EQ(Current_Map()->Get_Square(10, 12)->Get_Top_Item(), nullptr);
        // A monster, of no class.
        EXPECT_TRUE(m->Is_Monster());
        attacks.insert(m->Attack);
        Current_Map()->Remove_Monster(m->Id);
        Current_Map()->End_Tick();
        Current_Map()->Item_List.Clear();
    }
    // Attack ranges over its class's minimum to maximum, each times the base modifier.
    EXPECT_EQ(*attacks.begin(), 20);
    EXPECT_EQ(*attacks.rbegin(), 40);
    EXPECT_EQ(Create_Monster_From_Class(nullptr, 10, 12, 1, 1, 1, 1, "all", 0), 0);

    // Without game options a creature is made for Average: no difficulty term.
    Monsters.Constants.Health_Per_Difficulty_Percent = 10;
    Free_Game_Options();
    const TMonster* average =
        Current_Map()->Monster_List.Get_Monster(Create_Monster_From_Class(&k, 10, 12, 1, 1, 1, 1, "all", 0));
    EXPECT_EQ(average->Max_Life, 10);
    Create_Game_Options();

    // Whether effects were added: none to add, some, and none room for.
    TMonster m;
    TEffect_List effects;
    EXPECT_FALSE(Apply_Effects_To_Monster(m, effects, 0));
    effects.Add_Effect(Fx_Strength, 1, 1);
    EXPECT_TRUE(Apply_Effects_To_Monster(m, effects, 0));
    while (m.Permanent_Effects.Get_Count() < TMonster::Max_Effects) m.Add_Permanent_Effect(Fx_Strength, 1, 1);
    EXPECT_FALSE(Apply_Effects_To_Monster(m, effects, 5));
    EXPECT_EQ(m.Experience_Bonus, 5); // the bonus all the same
}

} // namespace
