// The monster modifiers and random items carried files, and picking a modifier by name.
#include "generation/RndClassMonsterModifiers.h"

#include "core/MapMain.h"
#include "core/Monster.h"
#include "generation/RndClassItem.h"
#include "tests/support/CoreTestSupport.h"

#include <map>
#include <memory>

#include <set>
#include <string>
#include <vector>

namespace {

TKeys Modifier(const std::string& name, const std::string& min, const std::string& max) {
    return {{"Name", name},
            {"Monster Level Min", min},
            {"Monster Level Max", max},
            {"Number of Effects", "1"},
            {"Effect 1 Type", "Monster Increase Health"},
            {"Effect 1 Min Amount", "10"},
            {"Effect 1 Max Amount", "10"}};
}

// A header of modifier groups, each (level min, level max, [(percent, number)]).
TKeys Header(const std::vector<std::tuple<int, int, std::vector<std::pair<int, int>>>>& groups) {
    TKeys keys = {{"Number of Modifier Groups", std::to_string(groups.size())}};
    for (size_t j = 0; j < groups.size(); ++j) {
        const std::string p = "Modifier Group " + std::to_string(j + 1) + " ";
        const auto& [min, max, chances] = groups[j];
        keys.insert(keys.end(), {{p + "Level Min", std::to_string(min)},
                                 {p + "Level Max", std::to_string(max)},
                                 {p + "Number of Chances", std::to_string(chances.size())}});
        for (size_t k = 0; k < chances.size(); ++k) {
            const std::string c = p + "Chance " + std::to_string(k + 1) + " ";
            keys.insert(keys.end(), {{c + "Percent", std::to_string(chances[k].first)},
                                     {c + "Num Modifiers", std::to_string(chances[k].second)}});
        }
    }
    return keys;
}

std::vector<int> Row(const TMonster_Modifier_Chance_Row& row) {
    return {row.Level_Min, row.Level_Max, row.Percent, row.Number_Of_Modifiers};
}

class MonsterModifierLoaders : public TProgram_Folder_Test {
protected:
    void TearDown() override {
        Free_Monster_Modifiers();
        Free_Monster_Rand_Items_Carried();
        TProgram_Folder_Test::TearDown();
    }
    std::string Write(const std::string& name, const std::vector<TKeys>& records) {
        return Folder.Write(name, Data_File_Text(records));
    }
};

TEST_F(MonsterModifierLoaders, HeaderKeepsUsableRowsAndEveryLaterRecordIsAModifier) {
    const std::string file =
        Write("Mods.txt", {Header({{1, 4, {{100, 1}, {0, 2}, {50, 0}}}, {5, 9, {{30, 2}}}}),
                           With(Modifier("Fierce", "1", "20"), {{"Monster Experience Bonus Percent", "20"}}),
                           With(Modifier("Hardy", "3", "5"), {{"Number of Effects", "0"}}),
                           With(Modifier("Broken", "2", "2"), {{"Monster Level Max", "<drop>"}})});
    ASSERT_FALSE(Load_Monster_Modifiers(file));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Monster Modifier Class Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].File_Name, file);
    EXPECT_EQ(Messages->Error_Lists[0].List,
              TString_List({Missing_Field_Line("Monster Level Max", "Broken", 4)}));

    ASSERT_NE(Monster_Modifier_Header(), nullptr);
    ASSERT_EQ(Monster_Modifier_Header()->Rows.size(), 2u); // a zero percent or number leaves its row out
    EXPECT_EQ(Row(Monster_Modifier_Header()->Rows[0]), std::vector<int>({1, 4, 100, 1}));
    EXPECT_EQ(Row(Monster_Modifier_Header()->Rows[1]), std::vector<int>({5, 9, 30, 2}));
    ASSERT_EQ(Monster_Modifier_Count(), 3);
    std::vector<std::vector<int>> read;
    for (int32_t n = 1; n <= 3; ++n) {
        const TMonster_Modifier_Class& m = *Get_Monster_Modifier(n);
        read.push_back({m.Index, m.Monster_Level_Min, m.Monster_Level_Max, m.Experience_Bonus_Percent,
                        m.Effects.Get_Count()});
    }
    // The experience bonus may be left out (0).
    EXPECT_EQ(read, (std::vector<std::vector<int>>{{1, 1, 20, 20, 1}, {2, 3, 5, 0, 0}, {3, 2, 0, 0, 1}}));
    EXPECT_EQ(Get_Monster_Modifier(2)->Name, "Hardy");

    EXPECT_EQ(Get_Monster_Modifier(0), nullptr);
    EXPECT_EQ(Get_Monster_Modifier(4), nullptr);

    // Loaded rows decide: the row of 0 modifiers was left out, so the next row of the level gives two.
    Messages->Error_Lists.clear();
    ASSERT_TRUE(Load_Monster_Modifiers(
        Write("Two.txt", {Header({{1, 10, {{100, 0}, {100, 2}}}}), Modifier("A", "1", "10"),
                          Modifier("B", "1", "10"), Modifier("C", "1", "10")})));
    TWriteable_Monster creature;
    creature.Level = 5;
    Apply_Random_Monster_Modifiers(creature);
    EXPECT_EQ(creature.Status_Lines.size(), 2u);

    // A file without records leaves neither header nor modifiers: a new creature gets none.
    ASSERT_TRUE(Load_Monster_Modifiers(Write("Empty.txt", {})));
    EXPECT_EQ(Monster_Modifier_Header(), nullptr);
    EXPECT_EQ(Monster_Modifier_Count(), 0);
    TWriteable_Monster plain;
    plain.Level = 5;
    Apply_Random_Monster_Modifiers(plain);
    EXPECT_TRUE(plain.Status_Lines.empty());
    EXPECT_TRUE(Messages->Error_Lists.empty());
}

TEST_F(MonsterModifierLoaders, RandomItemsCarriedKeepEveryRecord) {
    const std::string file = Write("Carried.txt", {{{"Item Base Chance", "5"},
                                                    {"Item Chance Per Monster Level", "2"},
                                                    {"Number Of Possible Item Classes", "3"},
                                                    {"Item Class 1 Name", "Bread"},
                                                    {"Item Class 2 Name", "Apple"},
                                                    {"Item Class 3 Name", "Torch"}},
                                                   {{"Item Chance Per Monster Level", "1"},
                                                    {"Number Of Possible Item Classes", "2"},
                                                    {"Item Class 1 Name", "Key"}},
                                                   {{"Item Base Chance", "7"},
                                                    {"Item Chance Per Monster Level", "0"},
                                                    {"Number Of Possible Item Classes", "0"}},
                                                   // As many rows as the record has keys may be promised, one
                                                   // more may not.
                                                   {{"Item Base Chance", "8"},
                                                    {"Item Chance Per Monster Level", "0"},
                                                    {"Number Of Possible Item Classes", "3"}},
                                                   {{"Item Base Chance", "9"},
                                                    {"Item Chance Per Monster Level", "0"},
                                                    {"Number Of Possible Item Classes", "4"}}});
    ASSERT_FALSE(Load_Monster_Rand_Items_Carried(file));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Monster Random Items Carried Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].List,
              TString_List({Missing_Field_Line("Item Base Chance", "", 2),
                            Missing_Field_Line("Item Class 2 Name", "", 2),
                            Missing_Field_Line("Item Class 1 Name", "8", 4),
                            Missing_Field_Line("Item Class 2 Name", "8", 4),
                            Missing_Field_Line("Item Class 3 Name", "8", 4),
                            Invalid_Value_Line("4", "Number Of Possible Item Classes", "9", 5)}));
    ASSERT_EQ(Monster_Rand_Items_Carried_Count(), 5); // record r is entry r, the first included
    EXPECT_EQ(Get_Monster_Rand_Items_Carried(0), nullptr);
    EXPECT_EQ(Get_Monster_Rand_Items_Carried(6), nullptr);
    const TModule_Monster_Rand_Items_Carried& first = *Get_Monster_Rand_Items_Carried(1);
    EXPECT_EQ(first.Base_Chance, 5);
    EXPECT_EQ(first.Chance_Per_Monster_Level, 2);
    EXPECT_EQ(first.Item_Class_Names, TString_List({"Bread", "Apple", "Torch"}));
    EXPECT_EQ(Get_Monster_Rand_Items_Carried(2)->Item_Class_Names, TString_List({"Key"}));
    EXPECT_EQ(Get_Monster_Rand_Items_Carried(2)->Base_Chance, 0);
    EXPECT_EQ(Get_Monster_Rand_Items_Carried(3)->Base_Chance, 7);

    Messages->Error_Lists.clear();
    EXPECT_TRUE(Load_Monster_Rand_Items_Carried(Write("None.txt", {})));
    EXPECT_EQ(Monster_Rand_Items_Carried_Count(), 0);
}

TEST_F(MonsterModifierLoaders, PickByNameOrAtRandomAmongTheLevelsModifiers) {
    for (const auto& [name, min, max] :
         {std::tuple{"Fierce", 1, 10}, {"Hardy", 1, 10}, {"fierce", 5, 10}, {"Ancient", 20, 30}}) {
        TMonster_Modifier_Class m;
        m.Name = name;
        m.Monster_Level_Min = static_cast<uint16_t>(min);
        m.Monster_Level_Max = static_cast<uint16_t>(max);
        Add_Monster_Modifier(m);
    }
    struct TCase {
        std::string Name;
        int Level;
        int Expected; // the modifier's index, 0 for none
    };
    for (const TCase& c : {TCase{"Fierce", 3, 1}, TCase{"FIERCE", 7, 3}, // the last of the name, any case
                           TCase{"hardy", 10, 2}, TCase{"Hardy", 11, 0}, TCase{"Ancient", 5, 0},
                           TCase{"Ancient", 20, 4}, TCase{"Nobody", 5, 0}, TCase{"[RANDOM]", 25, 4},
                           TCase{"[random]", 40, 0}, TCase{"random", 5, 0}, TCase{"", 5, 0}}) {
        const TMonster_Modifier_Class* picked = Pick_Monster_Modifier(c.Name, c.Level);
        EXPECT_EQ(picked ? picked->Index : 0, c.Expected) << c.Name << " at " << c.Level;
    }
    // "[random]" draws among the level's modifiers only, each of them in turn.
    std::multiset<int> drawn;
    for (int n = 0; n < 300; ++n) drawn.insert(Pick_Monster_Modifier("[Random]", 6)->Index);
    EXPECT_EQ(std::set<int>(drawn.begin(), drawn.end()), (std::set<int>{1, 2, 3}));
    EXPECT_GT(drawn.count(3), 60u);
}

TEST_F(MonsterModifierLoaders, HeaderRowsCountForTheirLevelBandOnly) {
    for (const char* name : {"A", "B", "C", "D"}) {
        TMonster_Modifier_Class m;
        m.Name = name;
        m.Monster_Level_Min = 1;
        m.Monster_Level_Max = 50;
        Add_Monster_Modifier(m);
    }
    Create_Monster_Modifier_Header().Rows = {{5, 9, 100, 3}};
    // Both ends of the band give the row's three; outside it no row applies and one modifier is given.
    for (auto [level, expected] : {std::pair{4, 1}, {5, 3}, {9, 3}, {10, 1}}) {
        TWriteable_Monster creature;
        creature.Level = level;
        Apply_Random_Monster_Modifiers(creature);
        EXPECT_EQ(creature.Status_Lines.size(), static_cast<size_t>(expected)) << level;
    }
    // The table holds as many modifiers as a list of their indexes can.
    TMonster_Modifier_Class filler;
    while (Monster_Modifier_Count() < Max_Monster_Modifiers - 1) Add_Monster_Modifier(filler);
    EXPECT_EQ(Add_Monster_Modifier(filler), Max_Monster_Modifiers);
    EXPECT_EQ(Add_Monster_Modifier(filler), 0);
    EXPECT_EQ(Monster_Modifier_Count(), Max_Monster_Modifiers);
}

TEST_F(MonsterModifierLoaders, RandomItemsCarriedGoToNewCreaturesByLevel) {
    Install_Current_Map(std::make_unique<TMap>());
    TItem_Class_List items;
    TCurrent_Item_Class_List_Guard current(items);
    for (const char* name : {"Bread", "Apple", "Torch", "Coins"}) {
        TItem_Class c;
        c.Class_Name = c.Name = name;
        c.Item_Type = 7;
        if (c.Name == "Coins") {
            c.Maximum_Stacked = 100;
            c.Random_Min_Found = c.Random_Max_Found = 30;
        }
        items.Add_Class(c);
    }
    // Each entry: base chance, chance per level above the first, item classes.
    const auto add = [](int32_t base, int32_t per_level, TString_List names) {
        TModule_Monster_Rand_Items_Carried entry;
        entry.Base_Chance = base;
        entry.Chance_Per_Monster_Level = per_level;
        entry.Item_Class_Names = std::move(names);
        Add_Monster_Rand_Items_Carried(entry);
    };
    add(0, 10, {"Bread", "Apple"}); // level 1 never, level 6 half the time
    add(100, 0, {});                // a sure entry without classes gives nothing
    add(100, 0, {"Coins"});         // always, a stack of its rolled size
    add(1, 0, {"Torch"});           // now and then
    for (auto [level, low, high] : {std::tuple{1, 0, 0}, {6, 900, 1100}}) {
        std::map<std::string, int> given;
        const int creatures = 2000;
        for (int n = 0; n < creatures; ++n) {
            TWriteable_Monster creature;
            creature.Level = level;
            Give_Random_Items_Carried(creature, "all", 1, 1);
            for (int32_t slot = 1; slot <= 90; ++slot)
                if (const TItem* item = creature.Item_In_Slot(slot)) {
                    ++given[item->Class_Name];
                    EXPECT_TRUE(item->Class_Name != "Coins" || item->Quantity == 30);
                }
        }
        const int food = given["Bread"] + given["Apple"];
        EXPECT_TRUE(food >= low && food <= high) << level << ": " << food;
        EXPECT_TRUE(level == 1 || (given["Bread"] > 300 && given["Apple"] > 300)) << level;
        EXPECT_EQ(given["Coins"], creatures) << level;
        EXPECT_TRUE(given["Torch"] > 5 && given["Torch"] < 45) << level;
        Current_Map()->Item_List.Clear();
    }
    Install_Current_Map(nullptr);
}

} // namespace
