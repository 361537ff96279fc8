// The Barrowdeep module's generator tables: chance groups, monster modifiers, random items carried, monster
// groups and stores read without an error line, and every name in them resolves to something the map has.
#include "core/DataFileParser.h"
#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/MapMain.h"
#include "core/NameTables.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "core/Terrain.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterGroups.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassStore.h"
#include "tests/support/CoreTestSupport.h"

#include <memory>
#include <set>
#include <string>

namespace {

class ShippedGeneratorTables : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Set_Base_Folder(Program); // only read; the fixture puts the base back
        Install_Path_Settings(std::make_unique<TPath_Settings>());
        ASSERT_TRUE(Path_Settings()->Set_Module("Barrowdeep/"));
        // Item classes name their firing effects, monster classes their spells.
        ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells());
    }
    void TearDown() override {
        Set_Store_Restocker(nullptr);
        Free_Chance_Groups();
        Free_Monster_Groups();
        Free_Monster_Modifiers();
        Free_Monster_Rand_Items_Carried();
        Free_Store_Classes();
        Free_Game_Options();
        Install_Current_Map(nullptr);
        Free_Master_Spells();
        Free_Display_Effects();
        TProgram_Folder_Test::TearDown();
    }
    std::string Tile_File(const std::string& map, const std::string& kind) const {
        return Program + "Modules/Barrowdeep/Tiles/" + map + "_" + kind + ".txt";
    }
    // The locked and trapped terrain groups a map's terrain uses.
    std::set<std::string> Terrain_Groups(const std::string& map, bool trapped) const {
        TTerrain_List terrains;
        EXPECT_TRUE(terrains.Load_From_File(Tile_File(map, "Terrain")));
        std::set<std::string> groups;
        for (uint16_t id = 1; id <= terrains.Count(); ++id) {
            const TTerrain& t = *terrains.Terrain(id);
            groups.insert(trapped ? t.Trapped_Terrain_Group : t.Locked_Terrain_Group);
        }
        groups.erase("");
        return groups;
    }
    void Expect_No_Errors(const std::string& what) {
        EXPECT_TRUE(Messages->Error_Lists.empty())
            << what << ": " << Messages->Error_Lists.front().List.front();
        Messages->Error_Lists.clear();
    }

    const std::string Program = std::string(MURK_RUNTIME_DIR) + "/"; // the program folder the build assembles
};

TEST_F(ShippedGeneratorTables, ChanceGroupsServeEveryLockedAndTrappedTerrain) {
    ASSERT_TRUE(Load_Chance_Groups());
    const int32_t first = Find_Chance_Group_Index(1);
    ASSERT_GT(first, 0);
    for (int32_t n = 1; n <= Chance_Group_Count(); ++n) {
        const TModule_Chance_Group& group = *Get_Chance_Group(n);
        int32_t total = 0;
        for (size_t i = 0; i < group.Item_Type_Names.size(); ++i) {
            EXPECT_GE(Find_Code(Item_Type_Names, group.Item_Type_Names[i], 1, 23), 1)
                << group.Item_Type_Names[i];
            total += group.Item_Type_Percents.Get(static_cast<int32_t>(i) + 1);
        }
        EXPECT_LE(total, 100) << "group " << group.Id;
        EXPECT_GT(total, 50) << "group " << group.Id; // most squares offered an item get one
        for (const TWordList* percents :
             {&group.Locked_Terrain_Group_Percents, &group.Trapped_Terrain_Group_Percents})
            for (int32_t i = 1; i <= percents->Count(); ++i) EXPECT_LE(percents->Get(i), 100);
    }
    // Group 1 may serve either map: it locks and traps every group the two terrain files use.
    const TModule_Chance_Group& shared = *Get_Chance_Group(first);
    const std::set<std::string> locks(shared.Locked_Terrain_Group_Names.begin(),
                                      shared.Locked_Terrain_Group_Names.end());
    const std::set<std::string> traps(shared.Trapped_Terrain_Group_Names.begin(),
                                      shared.Trapped_Terrain_Group_Names.end());
    for (const std::string map : {"Village", "Barrow"}) {
        for (const std::string& name : Terrain_Groups(map, false)) EXPECT_TRUE(locks.count(name)) << name;
        for (const std::string& name : Terrain_Groups(map, true)) EXPECT_TRUE(traps.count(name)) << name;
    }
}

TEST_F(ShippedGeneratorTables, GroupsModifiersItemsCarriedAndStoresNameWhatTheMapHas) {
    ASSERT_TRUE(Load_Monster_Modifiers(Path_Settings()->Get_MonsterModifiers_File()));
    ASSERT_NE(Monster_Modifier_Header(), nullptr);
    EXPECT_FALSE(Monster_Modifier_Header()->Rows.empty());
    ASSERT_GT(Monster_Modifier_Count(), 0);
    std::set<std::string> modifiers;
    for (int32_t n = 1; n <= Monster_Modifier_Count(); ++n)
        modifiers.insert(Ascii_Lower(Get_Monster_Modifier(n)->Name));

    int32_t groups = 0;
    for (const std::string map : {"Village", "Barrow"}) {
        TItem_Class_List items;
        ASSERT_TRUE(items.Load_From_File(Tile_File(map, "ItemClasses")));
        TMonster_Class_List monsters;
        ASSERT_TRUE(monsters.Load_From_File(Tile_File(map, "MonsterClasses"), nullptr, true));

        ASSERT_TRUE(Load_Monster_Rand_Items_Carried(Tile_File(map, "RandomItemsCarried"))) << map;
        for (int32_t n = 1; n <= Monster_Rand_Items_Carried_Count(); ++n)
            for (const std::string& name : Get_Monster_Rand_Items_Carried(n)->Item_Class_Names)
                EXPECT_NE(items.Pick_Random_Class(name, "all"), nullptr) << map << " carries " << name;

        // Leader first, once; every member a class of the map; every modifier named in the table or random.
        ASSERT_TRUE(Load_Monster_Groups(Tile_File(map, "MonsterGroups"))) << map;
        groups += Monster_Group_Count();
        for (int32_t n = 1; n <= Monster_Group_Count(); ++n) {
            const TModule_Monster_Group& group = *Get_Monster_Group(n);
            ASSERT_FALSE(group.Members.empty()) << group.Name;
            for (size_t i = 0; i < group.Members.size(); ++i) {
                const TModule_Monster_Group_Monster& member = group.Members[i];
                EXPECT_EQ(member.Is_Leader, i == 0) << group.Name << " member " << i + 1;
                EXPECT_NE(monsters.Pick_Random_Class(member.Class_Name, group.Monster_Group), nullptr)
                    << group.Name << ": " << member.Class_Name;
                for (const std::string& modifier : member.Modifier_Names)
                    EXPECT_TRUE(Ascii_Lower(modifier) == "[random]" || modifiers.count(Ascii_Lower(modifier)))
                        << group.Name << ": " << modifier;
            }
        }

        // Store r carries Store ID r (merchants address their store by it), at most seven item groups of the
        // map's classes, and bounds the right way round.
        ASSERT_TRUE(Load_Store_Classes(map + "_Stores.txt")) << map;
        for (int32_t r = 1; r <= Store_Class_Count(); ++r) {
            const TStore_Class& c = *Get_Store_Class(r);
            EXPECT_EQ(c.Store_Id, r) << c.Store_Name;
            EXPECT_LE(std::set<std::string>(c.Stock_Group_Names.begin(), c.Stock_Group_Names.end()).size(),
                      7u);
            EXPECT_TRUE(c.Buy_Cost_Percent_Min <= c.Buy_Cost_Percent_Max &&
                        c.Sell_Cost_Percent_Min <= c.Sell_Cost_Percent_Max &&
                        c.Item_Min_Level_Offset <= c.Item_Max_Level_Offset)
                << c.Store_Name;
            EXPECT_FALSE(c.Stock_Item_Class_Names.empty()) << c.Store_Name;
            for (const std::string& name : c.Stock_Item_Class_Names)
                EXPECT_NE(items.Pick_Random_Class(name, c.Item_Grouping_Type), nullptr)
                    << c.Store_Name << ": " << name;
        }
        for (int32_t n = 1; n <= monsters.Get_Count(); ++n)
            EXPECT_LE(monsters.Get_Class(n)->Store_Id, Store_Class_Count()) << monsters.Get_Class(n)->Name;
        if (map == "Village") {
            EXPECT_GE(Store_Class_Count(), 1);
        }
    }
    EXPECT_GE(groups, 1);
    Expect_No_Errors("tables");
}

TEST_F(ShippedGeneratorTables, TheVillageStoreStocksFromTheShippedFiles) {
    Install_Current_Map(std::make_unique<TMap>());
    Create_Game_Options().Start_Level = 1;
    auto store = std::make_unique<TStore>();
    store->Init(1, "Village_Stores.txt", "Village_ItemClasses.txt");
    Current_Map()->Add_Store(std::move(store));
    Install_Store_Restocker();
    Current_Map()->Restock_Stores();
    const TStore& stocked = *Current_Map()->Get_Store(1);
    EXPECT_TRUE(stocked.Stocked);
    EXPECT_GT(stocked.Stock_Item_Ids.Count(), 10);
    EXPECT_GT(stocked.Get_Sell_Cost_Modifier(), stocked.Get_Buy_Cost_Modifier()); // the smith makes a profit
    Expect_No_Errors("restock");
}

} // namespace
