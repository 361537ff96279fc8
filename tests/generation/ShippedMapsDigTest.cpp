// The Barrowdeep module's maps as shipped: the module data names files that are there and entrances its
// tiles carry; every tile symbol and placement list finds its terrain; every class, store, key and trap group
// the maps name exists; and both maps generate over two hundred seeds without an error line, with closed
// layouts, every entrance on walkable ground of the map and every creature on its square, the village with
// its smith and the barrow with its bands, chests, locked doors and trapped floor.
#include "core/DisplayEffects.h"
#include "core/Monster.h"
#include "core/NameTables.h"
#include "core/Spells.h"
#include "core/TextCodec.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassStore.h"
#include "generation/RndClassTrapGroups.h"
#include "generation/RndModuleMap.h"
#include "generation/RndTileStamp.h"
#include "tests/generation/DiggerTestSupport.h"

#include <filesystem>
#include <set>

namespace {

class ShippedMapsDig : public TDigger_Test {
protected:
    void SetUp() override {
        TDigger_Test::SetUp();
        Set_Base_Folder(std::string(MURK_RUNTIME_DIR) + "/"); // only read; the fixture puts the base back
        Install_Path_Settings(std::make_unique<TPath_Settings>());
        ASSERT_TRUE(Path_Settings()->Set_Module("Barrowdeep/"));
        ASSERT_TRUE(Load_Module_Class(Path_Settings()->Get_ModuleData_File()));
    }
    // The entrance numbers of the map's tiles file.
    std::set<int32_t> Tile_Entrances(const TModule_Map_Class& map) {
        EXPECT_TRUE(Load_Tile_Classes(map.Tiles_File));
        std::set<int32_t> ids;
        for (size_t e = 1; e <= Tile_Classes().Info->Tile_Entrances.size(); ++e)
            ids.insert(static_cast<int32_t>(e));
        return ids;
    }
};

TEST_F(ShippedMapsDig, ModuleDataNamesFilesAndEntrancesThatExist) {
    const TModule_Class& module = *Module_Class();
    ASSERT_EQ(module.Number_Of_Maps, 2);
    EXPECT_TRUE(module.Difficulty_Description.empty());
    int two_way = 0;
    for (int32_t m = 1; m <= module.Number_Of_Maps; ++m) {
        const TModule_Map_Class& map = *module.Get_Map(m);
        SCOPED_TRACE(map.Name);
        // The groups and stores files belong to the groups and stores of the module, read by their own
        // loaders; here the files the digger and creation read.
        for (const std::string& file : {map.Tiles_File, map.Terrain_File, map.Item_Classes_File,
                                        map.Monster_Classes_File, map.Random_Items_Carried_File})
            EXPECT_TRUE(std::filesystem::is_regular_file(Path_Settings()->Get_Tile_File(file))) << file;
        EXPECT_NE(map.Tiles_File.find("Tiles"), std::string::npos);
        EXPECT_EQ(map.Monster_Groups_File, map.Name + "_MonsterGroups.txt");
        EXPECT_EQ(map.Stores_File, map.Name + "_Stores.txt");
        EXPECT_EQ(map.Chance_Group, 1);
        for (const auto& connection : map.Connections) {
            EXPECT_TRUE(Tile_Entrances(map).count(connection->Entrance_Id));
            const TModule_Map_Class* destination = module.Get_Map(connection->Destination_Map_Number);
            ASSERT_NE(destination, nullptr);
            EXPECT_TRUE(Tile_Entrances(*destination).count(connection->Destination_Entrance_Id));
            two_way += connection->Connection_Type == 1 ? 1 : 0;
            // The start is an entrance no connection uses, at either of its ends.
            EXPECT_FALSE(m == module.Starting_Map_Number &&
                         connection->Entrance_Id == module.Starting_Map_Entrance_Id);
            EXPECT_FALSE(connection->Destination_Map_Number == module.Starting_Map_Number &&
                         connection->Destination_Entrance_Id == module.Starting_Map_Entrance_Id);
        }
    }
    EXPECT_EQ(two_way, 1);
    EXPECT_TRUE(
        Tile_Entrances(*module.Get_Map(module.Starting_Map_Number)).count(module.Starting_Map_Entrance_Id));
    EXPECT_TRUE(module.Get_Map(1)->Universal_Light);
    EXPECT_FALSE(module.Get_Map(2)->Universal_Light);
    EXPECT_TRUE(module.Get_Map(2)->Place_Random_Monsters);
}

TEST_F(ShippedMapsDig, EverySymbolAndPlacementFindsItsTerrain) {
    // Monster classes name display effects and spells.
    ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells());
    for (int32_t m = 1; m <= Module_Class()->Number_Of_Maps; ++m) {
        const TModule_Map_Class& map = *Module_Class()->Get_Map(m);
        SCOPED_TRACE(map.Name);
        ASSERT_TRUE(Map->Terrain_List.Load_From_File(Path_Settings()->Get_Tile_File(map.Terrain_File)));
        ASSERT_TRUE(Load_Tile_Classes(map.Tiles_File));
        TMonster_Class_List monsters;
        ASSERT_TRUE(
            monsters.Load_From_File(Path_Settings()->Get_Tile_File(map.Monster_Classes_File), nullptr, true));
        Set_Terrain_Style_Filter(0);
        Build_Terrain_Symbol_Tables();
        const TTile_Class_Info& info = *Tile_Classes().Info;
        EXPECT_EQ(Terrain_Symbol_Candidates(info.Fill_Categories).size(), 1u);
        EXPECT_EQ(Terrain_Symbol_Candidates(info.Fill_Border_Categories).size(), 1u);
        EXPECT_FALSE(Terrain_Symbol_Candidates(info.Black_Border_Ceiling_Categories).empty());
        EXPECT_FALSE(Terrain_Symbol_Candidates(info.Black_Border_Wall_Categories).empty());
        // The words the finishing steps ask for, all of the current style.
        for (const TString_List& words : std::vector<TString_List>{{"wall", "generic"},
                                                                   {"wall", "ceiling"},
                                                                   {"door", "generic", "closed"},
                                                                   {"door", "ns", "open"},
                                                                   {"door", "ew", "closed"}})
            EXPECT_FALSE(Terrain_Symbol_Candidates(words).empty()) << testing::PrintToString(words);
        for (const char* shape :
             {"nesw", "new", "esw", "nsw", "nes", "ns", "ew", "es", "sw", "ne", "nw", "n", "e", "w", "s"})
            EXPECT_FALSE(Terrain_Symbol_Candidates({"wall", shape}).empty()) << shape;

        std::set<std::string> starting;
        for (const auto& location : info.Specific_Tile_Locations) starting.insert(location.Name);
        for (const auto& entrance : info.Tile_Entrances) starting.insert(entrance.Name);
        for (int32_t i = 1; i <= Tile_Classes().Count(); ++i) {
            const TTile_Class& tile = *Tile_Classes().Get(i);
            SCOPED_TRACE(tile.Name);
            for (const auto& identifier : tile.Identifiers)
                EXPECT_FALSE(Terrain_Symbol_Candidates(identifier.Categories).empty()) << identifier.Symbol;
            EXPECT_EQ(Terrain_Symbol_Candidates(tile.Monster_Placement_Categories).size(), 1u);
            EXPECT_EQ(Terrain_Symbol_Candidates(tile.Item_Placement_Categories).size(), 1u);
            // Every character drawn is a symbol of the tile, and none is a blank or a control character
            // (the reader trims those from the ends of a row).
            std::set<std::string> defined;
            for (const auto& identifier : tile.Identifiers) defined.insert(identifier.Symbol.substr(0, 1));
            for (const std::u32string& row : tile.Rows)
                for (char32_t c : row) {
                    EXPECT_GT(static_cast<uint32_t>(c), 32u);
                    std::string symbol;
                    Append_Utf8(symbol, c);
                    EXPECT_TRUE(defined.count(symbol)) << symbol;
                }
            for (const auto& monster : tile.Specific_Monsters)
                EXPECT_NE(monsters.Pick_Random_Class(monster.Name, map.Monster_Group_Filter), nullptr)
                    << monster.Name;
            if (starting.count(tile.Name)) {
                EXPECT_FALSE(tile.Can_Be_Rotated);
                EXPECT_FALSE(tile.Allow_Random_Monsters);
            }
        }
        Free_Terrain_Symbol_Tables();
    }
    Free_Master_Spells();
    Free_Display_Effects();
}

TEST_F(ShippedMapsDig, EveryNameTheMapsUseResolves) {
    ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells());
    ASSERT_TRUE(Load_Chance_Groups());
    ASSERT_TRUE(Load_Trap_Groups());
    for (int32_t m = 1; m <= Module_Class()->Number_Of_Maps; ++m) {
        const TModule_Map_Class& map = *Module_Class()->Get_Map(m);
        SCOPED_TRACE(map.Name);
        EXPECT_GT(Find_Chance_Group_Index(map.Chance_Group), 0);
        ASSERT_TRUE(Load_Tile_Classes(map.Tiles_File));
        TItem_Class_List items;
        ASSERT_TRUE(items.Load_From_File(Path_Settings()->Get_Tile_File(map.Item_Classes_File)));
        TMonster_Class_List monsters;
        ASSERT_TRUE(
            monsters.Load_From_File(Path_Settings()->Get_Tile_File(map.Monster_Classes_File), nullptr, true));
        ASSERT_TRUE(Load_Store_Classes(map.Stores_File));
        // The tiles' own items are classes of the map; every store a creature keeps is one of the map's.
        int32_t merchants = 0;
        for (int32_t i = 1; i <= Tile_Classes().Count(); ++i) {
            const TTile_Class& tile = *Tile_Classes().Get(i);
            for (const auto& item : tile.Specific_Items)
                EXPECT_NE(items.Pick_Random_Class(item.Name, map.Item_Group_Filter), nullptr) << item.Name;
            for (const auto& monster : tile.Specific_Monsters) {
                const TMonster_Class* c = monsters.Pick_Random_Class(monster.Name, map.Monster_Group_Filter);
                ASSERT_NE(c, nullptr) << monster.Name;
                if (c->Store_Id == 0 || tile.Rotation != 0) continue;
                ++merchants;
                ASSERT_LE(c->Store_Id, Store_Class_Count()) << c->Name;
                EXPECT_EQ(Get_Store_Class(c->Store_Id)->Store_Id, c->Store_Id) << c->Name;
            }
        }
        EXPECT_EQ(merchants, Store_Class_Count());
        // Every key a lock asks for is a key item that may turn up at random; trapped terrain springs the
        // map's own trap group.
        TTerrain_List terrains;
        ASSERT_TRUE(terrains.Load_From_File(Path_Settings()->Get_Tile_File(map.Terrain_File)));
        bool trapped = false;
        for (uint16_t id = 1; id <= terrains.Count(); ++id) {
            const TTerrain& t = *terrains.Terrain(id);
            trapped = trapped || !t.Trapped_Terrain_Group.empty();
            for (const std::string& key : t.Locked_Key_Groups) {
                bool found = false;
                for (int32_t n = 1; n <= items.Get_Count(); ++n) {
                    const TItem_Class& c = *items.Get_Class(n);
                    found = found || (c.Key_Group == key && c.Random_Appearance &&
                                      c.Item_Type == Find_Code(Item_Type_Names, "Key") &&
                                      c.Item_Level_Min <= map.Item_Level_Min &&
                                      c.Group_Matches(map.Item_Group_Filter));
                }
                EXPECT_TRUE(found) << t.Name << " asks for " << key;
            }
        }
        if (trapped) {
            EXPECT_NE(Find_Trap_Group(map.Trap_Group_Name), nullptr) << map.Trap_Group_Name;
        }
    }
    Free_Store_Classes();
    Free_Trap_Groups();
    Free_Chance_Groups();
    Free_Master_Spells();
    Free_Display_Effects();
}

TEST_F(ShippedMapsDig, BothMapsGenerateWithoutAnErrorOverTwoHundredSeeds) {
    ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells());
    Create_Game_Options().Start_Level = 1;
    struct TTotals {
        int Open_Ends = 0, Cells = 0, Seeds_With_Leaders = 0, Seeds_With_Locked_Doors = 0, Trapped_Floor = 0;
        int Smiths = 0, Stores = 0, Chests = 0, Creatures = 0;
    };
    std::vector<TTotals> totals(3);
    for (int32_t m = 1; m <= Module_Class()->Number_Of_Maps; ++m) {
        const TModule_Map_Class& map = *Module_Class()->Get_Map(m);
        SCOPED_TRACE(map.Name);
        std::set<int32_t> wanted;
        if (m == Module_Class()->Starting_Map_Number) wanted.insert(Module_Class()->Starting_Map_Entrance_Id);
        for (int32_t s = 1; s <= Module_Class()->Number_Of_Maps; ++s)
            for (const auto& connection : Module_Class()->Get_Map(s)->Connections) {
                if (s == m) wanted.insert(connection->Entrance_Id);
                if (connection->Destination_Map_Number == m)
                    wanted.insert(connection->Destination_Entrance_Id);
            }
        TTotals& total = totals[static_cast<size_t>(m)];
        for (uint64_t seed = 1; seed <= 200; ++seed) {
            Set_Dig_Seed_Source(
                [seed](int32_t map_index) { return seed * 1000 + static_cast<uint64_t>(map_index); });
            TMonster_Class_List monsters;
            TCurrent_Monster_Class_List_Guard monsters_current(monsters);
            TItem_Class_List items;
            TCurrent_Item_Class_List_Guard items_current(items);
            TString_List errors;
            ASSERT_TRUE(Generate_Module_Map(Generation_Files_Of(map), m, errors, Entrance_Ids, Entrance_Xs,
                                            Entrance_Ys, true));
            ASSERT_TRUE(errors.empty()) << seed << ": " << errors.front();

            // Each entrance the module uses is placed once, on ground a creature can walk.
            std::multiset<int32_t> found;
            for (int32_t e = 1; e <= Entrance_Ids.Count(); ++e) {
                found.insert(Entrance_Ids.Get(e));
                const TMap_Square* square = Map->Get_Square(Entrance_Xs.Get(e), Entrance_Ys.Get(e));
                ASSERT_NE(square, nullptr) << seed;
                const TTerrain* terrain = Map->Terrain_List.Terrain(square->Terrain_Id);
                ASSERT_NE(terrain, nullptr) << seed;
                EXPECT_TRUE(terrain->Allows_Movement(Movement_Land)) << seed << " " << terrain->Name;
            }
            for (int32_t id : wanted) EXPECT_EQ(found.count(id), 1u) << seed << " entrance " << id;

            const TDig_Context& dig = Dig_Context();
            total.Cells += dig.Occupied_Count();
            bool open_end = false;
            for (int32_t x = 1; x <= dig.Cells_Across; ++x)
                for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
                    if (!dig.Occupied(x, y)) continue;
                    for (int32_t side = 1; side <= 4; ++side) {
                        const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
                        const uint8_t type = Side_Flag(dig.Cell(x, y).Sides, side);
                        if (dig.Occupied(n.X, n.Y))
                            EXPECT_EQ(type, Side_Flag(dig.Cell(n.X, n.Y).Sides, n.Facing)) << seed;
                        else if (type != 0)
                            open_end = true;
                    }
                }
            if (open_end) {
                ++total.Open_Ends;
                EXPECT_GT(dig.Last_Sweep_Missed_Picks, 0) << seed;
            }
            // The fill and the border leave no square without terrain.
            for (int32_t x = 1; x <= 200; x += 7)
                for (int32_t y = 1; y <= 200; ++y)
                    ASSERT_NE(Map->Get_Square(x, y)->Terrain_Id, 0) << x << "," << y;

            // Every creature stands on the square that records it.
            bool leader = false;
            for (int n = 1; n <= Map->Monster_List.Get_Count(); ++n) {
                const TMonster& c = *Map->Monster_List.Get_Monster(static_cast<size_t>(n));
                EXPECT_EQ(Map->Get_Square(c.X, c.Y)->Monster_Id, c.Id) << seed << " " << c.Name;
                leader = leader || c.Leader_Id != 0;
                total.Smiths += c.Name == "Village Smith" ? 1 : 0;
                ++total.Creatures;
            }
            total.Seeds_With_Leaders += leader ? 1 : 0;
            bool locked_door = false;
            for (int32_t n = 1; n <= Map->Lock_Xs().Count(); ++n)
                locked_door = locked_door || Map->Get_Square(Map->Lock_Xs().Get(n), Map->Lock_Ys().Get(n))
                                                 ->Get_Terrain()
                                                 ->Has_Category("door");
            total.Seeds_With_Locked_Doors += locked_door ? 1 : 0;
            for (int32_t n = 1; n <= Map->Trap_Xs().Count(); ++n)
                total.Trapped_Floor += Map->Get_Square(Map->Trap_Xs().Get(n), Map->Trap_Ys().Get(n))
                                           ->Get_Terrain()
                                           ->Has_Category("floor");
            total.Stores += Map->Store_Count();
            total.Chests += Map->Chest_Count();
        }
        EXPECT_LE(total.Open_Ends, 10);
        EXPECT_GT(total.Cells, 200 * 55); // the fill targets are 65 and 75 percent of 100 cells
    }
    // The village has its smith and his store on every seed, few folk and no bands; the barrow its random
    // creatures, at least one band, chests, locked doors and trapped floor.
    EXPECT_EQ(totals[1].Smiths, 200);
    EXPECT_EQ(totals[1].Stores, 200);
    EXPECT_LT(totals[1].Creatures, 200 * 30);
    EXPECT_EQ(totals[1].Seeds_With_Leaders, 0);
    EXPECT_GE(totals[2].Creatures, 200 * 25);
    EXPECT_EQ(totals[2].Seeds_With_Leaders, 200);
    EXPECT_GT(totals[2].Chests, 200 * 5);
    EXPECT_GE(totals[2].Seeds_With_Locked_Doors, 190);
    EXPECT_GT(totals[2].Trapped_Floor, 200);
    Free_Master_Spells();
    Free_Display_Effects();
}

} // namespace
