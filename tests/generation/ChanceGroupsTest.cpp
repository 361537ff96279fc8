// Chance groups: the loader's paired lists and reports, the item type table and its rolls.
#include "generation/RndClassChanceGroups.h"

#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using TPairs = std::vector<std::pair<std::string, std::string>>;

// A group record: the id, then each list as "Number Of <count>" and its name/percent pairs; a value of
// "<drop>" leaves that key out.
TKeys Group(const std::string& id, const TPairs& item_types, const TPairs& locks = {},
            const TPairs& traps = {}) {
    TKeys keys = {{"Chance Group ID", id}};
    const auto add = [&keys](const std::string& count_key, const std::string& row, const TPairs& pairs) {
        keys.emplace_back(count_key, std::to_string(pairs.size()));
        for (size_t i = 0; i < pairs.size(); ++i) {
            const std::string p = row + std::to_string(i + 1) + " ";
            if (pairs[i].first != "<drop>") keys.emplace_back(p + "Name", pairs[i].first);
            if (pairs[i].second != "<drop>") keys.emplace_back(p + "Percent Chance", pairs[i].second);
        }
    };
    add("Number Of Item Types", "Item Type ", item_types);
    add("Number Of Locked Terrain Groups", "Locked Terrain Group ", locks);
    add("Number Of Trapped Terrain Groups", "Trapped Terrain Group ", traps);
    return keys;
}

std::vector<int> Words(const TWordList& list) {
    std::vector<int> values;
    for (int32_t i = 1; i <= list.Count(); ++i) values.push_back(list.Get(i));
    return values;
}

class ChanceGroups : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
    }
    void TearDown() override {
        Free_Chance_Groups();
        TProgram_Folder_Test::TearDown();
    }
    bool Load(const std::vector<TKeys>& records) {
        Folder.Write("Modules/Test/Data/ChanceGroups.txt", Data_File_Text(records));
        return Load_Chance_Groups();
    }
};

TEST_F(ChanceGroups, ListsStayPairedAndEveryFaultIsReported) {
    TKeys no_id = Group("3", {{"Gold", "10"}});
    no_id.erase(no_id.begin());
    TKeys huge = Group("4", {});
    huge[1].second = "60000"; // more rows than the record has keys
    ASSERT_FALSE(Load({Group("7", {{"Gold", "20"}, {"Weapon", "<drop>"}, {"<drop>", "5"}}, {{"Doors", "50"}},
                             {{"<drop>", "<drop>"}}),
                       Group("7", {{"Gold", "70"}, {"Weapon", "60"}}), no_id, huge}));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Chance Groups Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].File_Name, Path_Settings()->Get_ChanceGroups_File());
    EXPECT_EQ(Messages->Error_Lists[0].List,
              TString_List({Missing_Field_Line("Item Type 2 Percent Chance", "7", 1),
                            Missing_Field_Line("Item Type 3 Name", "7", 1),
                            Missing_Field_Line("Trapped Terrain Group 1 Name", "7", 1),
                            Missing_Field_Line("Trapped Terrain Group 1 Percent Chance", "7", 1),
                            Invalid_Value_Line("2", "Number Of Item Types", "7", 2),
                            Missing_Field_Line("Chance Group ID", "", 3),
                            Invalid_Value_Line("60000", "Number Of Item Types", "4", 4)}));

    ASSERT_EQ(Chance_Group_Count(), 4);
    const TModule_Chance_Group& first = *Get_Chance_Group(1);
    EXPECT_EQ(first.Item_Type_Names, TString_List({"Gold", "Weapon", ""}));
    EXPECT_EQ(Words(first.Item_Type_Percents), std::vector<int>({20, 0, 5}));
    EXPECT_EQ(first.Locked_Terrain_Group_Names, TString_List({"Doors"}));
    EXPECT_EQ(Words(first.Locked_Terrain_Group_Percents), std::vector<int>({50}));
    EXPECT_EQ(first.Trapped_Terrain_Group_Names, TString_List({""}));
    EXPECT_EQ(Words(first.Trapped_Terrain_Group_Percents), std::vector<int>({0}));
    EXPECT_EQ(Get_Chance_Group(3)->Item_Type_Names, TString_List({"Gold"}));
    EXPECT_TRUE(Get_Chance_Group(4)->Item_Type_Names.empty());

    // The last group of an id is the map's; ids no group has, and indexes outside the table, give nothing.
    EXPECT_EQ(Find_Chance_Group_Index(7), 2);
    EXPECT_EQ(Find_Chance_Group_Index(0), 3); // the record without its id
    EXPECT_EQ(Find_Chance_Group_Index(4), 4);
    EXPECT_EQ(Find_Chance_Group_Index(8), 0);
    EXPECT_EQ(Get_Chance_Group(0), nullptr);
    EXPECT_EQ(Get_Chance_Group(5), nullptr);

    Messages->Error_Lists.clear();
    EXPECT_TRUE(Load({Group("2", {{"Gold", "100"}})})); // exactly 100 is fine; the old table is gone
    EXPECT_EQ(Chance_Group_Count(), 1);
    EXPECT_TRUE(Messages->Error_Lists.empty());

    Install_Path_Settings(nullptr); // no module to read from
    EXPECT_FALSE(Load_Chance_Groups());
    EXPECT_EQ(Chance_Group_Count(), 0);
}

TEST_F(ChanceGroups, TypeTableListsTypesInCodeOrderAndNeverOverflows) {
    struct TCase {
        TPairs Entries;
        std::vector<std::pair<int, int>> Runs; // (type code, slots) from slot 0; the rest 0
    };
    const std::vector<TCase> cases = {
        {{{"Gold", "20"}, {"Weapon", "30"}}, {{20, 30}, {21, 20}}},
        {{{"gold", "50"}, {"Weapon", "10"}}, {{20, 10}}},                      // letter case counts
        {{{"Gold", "70"}, {"Weapon", "60"}}, {{20, 60}, {21, 40}}},            // 130: the first 100 slots
        {{{"Ring", "10"}, {"Ammo", "5"}, {"Ring", "30"}}, {{1, 5}, {13, 30}}}, // the last entry of a name
        {{{"None", "50"}, {"Orb", "100"}}, {{23, 100}}},                       // "None" is no type
        {{{"Ammo", "1"}, {"Orb", "99"}}, {{1, 1}, {23, 99}}},
        {{}, {}},
    };
    TModule_Chance_Group group;
    group.Item_Type_Table.fill(9); // a rebuilt table starts from nothing
    for (const TCase& c : cases) {
        group.Item_Type_Names.clear();
        group.Item_Type_Percents.Clear();
        for (const auto& [name, percent] : c.Entries) {
            group.Item_Type_Names.push_back(name);
            group.Item_Type_Percents.Add(static_cast<uint16_t>(std::stoi(percent)));
        }
        Build_Item_Type_Table(group);
        std::vector<int> expected;
        for (const auto& [code, slots] : c.Runs)
            expected.insert(expected.end(), static_cast<size_t>(slots), code);
        expected.resize(Item_Type_Table_Size, 0);
        EXPECT_EQ(std::vector<int>(group.Item_Type_Table.begin(), group.Item_Type_Table.end()), expected)
            << c.Entries.size() << " entries";
    }
}

TEST_F(ChanceGroups, RollsGiveEachTypeItsPercent) {
    // Slot 0 and slot 99 both come up: a one-slot type at either end appears about once in a hundred.
    TModule_Chance_Group group;
    group.Item_Type_Names = {"Ammo", "Weapon", "Orb"};
    for (uint16_t percent : {1, 30, 1}) group.Item_Type_Percents.Add(percent);
    Build_Item_Type_Table(group);
    group.Item_Type_Table[99] = 23; // the Orb moved to the last slot
    group.Item_Type_Table[31] = 0;
    std::vector<int> counts(24, 0);
    for (int n = 0; n < 20000; ++n) ++counts[Roll_Item_Type(group)];
    EXPECT_NEAR(counts[20], 6000, 400);
    EXPECT_NEAR(counts[0], 13600, 500);
    EXPECT_GT(counts[1], 120);
    EXPECT_GT(counts[23], 120);
    EXPECT_EQ(counts[1] + counts[20] + counts[23] + counts[0], 20000);
}

} // namespace
