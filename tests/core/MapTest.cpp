#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Level_Map = TMap_Fixture;

struct TCell {
    int I, J, Value;
};

TEST_F(Level_Map, LineOfSightHidesOnlyWhatLiesBehindAWall) {
    // Open ground shows all 225 cells, also at the map's corner where the squares outside count as open.
    for (int origin : {50, -6}) {
        Map->Update_Field_Of_View(origin, origin, Vision_Normal);
        int visible = 0;
        for (int i = -1; i <= View_Size; ++i)
            for (int j = -1; j <= View_Size; ++j) visible += Map->Is_Visible(i, j);
        EXPECT_EQ(visible, 225);
    }
    // The viewer stands at 57, 57 (cell 7, 7). North of him the shadow of a wall widens by one cell on each
    // side per ring; east of him the column pass also hides the cells diagonally behind the wall.
    Set_Terrain(57, 56, Wall);
    Set_Terrain(58, 57, Wall);
    Map->Update_Field_Of_View(50, 50, Vision_Normal);
    for (const TCell& c : {TCell{7, 6, 1},
                           {6, 5, 0},
                           {7, 5, 0},
                           {8, 5, 0},
                           {5, 5, 1},
                           {5, 4, 0},
                           {4, 4, 1},
                           {7, 0, 0},
                           {8, 7, 1},
                           {9, 7, 0},
                           {14, 7, 0},
                           {9, 6, 0},
                           {9, 9, 1},
                           {7, 7, 1},
                           {0, 14, 1}})
        EXPECT_EQ(Map->Is_Visible(c.I, c.J), c.Value) << c.I << "," << c.J;
}

TEST_F(Level_Map, LightingFallsOffWithDistance) {
    Set_Terrain(57, 57, Add_Terrain("lamp", Movement_Land, Vision_Normal, 1)); // the viewer's square; reach 3
    Set_Terrain(48, 57,
                Add_Terrain("brazier", Movement_Land, Vision_Normal, 3)); // left of the window; reach 5
    Add_Creature(57, 50)->Light_Radius = 1;
    Map->Update_Lighting(50, 50, Vision_Normal);
    for (const TCell& c : {TCell{7, 7, 0},
                           {8, 7, 1},
                           {8, 8, 1},
                           {9, 7, 3},
                           {9, 8, 3},
                           {9, 9, 4},
                           {10, 7, 4},
                           {0, 7, 2},
                           {1, 7, 3},
                           {2, 7, 4},
                           {7, 0, 0},
                           {7, 1, 1},
                           {14, 14, 4},
                           {-1, 7, 0},
                           {7, 15, 0}})
        EXPECT_EQ(Map->Get_Light_Level(c.I, c.J), c.Value) << c.I << "," << c.J;

    Set_Terrain(59, 57, Wall); // shades what lies behind it
    Map->Update_Lighting(50, 50, Vision_Normal);
    EXPECT_EQ(Map->Get_Light_Level(9, 7), 3);
    EXPECT_EQ(Map->Get_Light_Level(10, 7), 4);

    Map->Set_Universal_Light(true);
    Map->Update_Lighting(50, 50, Vision_Normal);
    for (int i = 0; i < View_Size; ++i)
        for (int j = 0; j < View_Size; ++j) ASSERT_EQ(Map->Get_Light_Level(i, j), 0);
}

TEST_F(Level_Map, LineWalks) {
    Fill(Wall);
    EXPECT_EQ(Map->Count_Blocking_On_Line(10, 10, 11, 11), 0);
    EXPECT_EQ(Map->Count_Blocking_On_Line(10, 10, 14, 10), 3);
    EXPECT_EQ(Map->Count_Blocking_On_Line(1, 1, 1, 5), 3);
    EXPECT_FALSE(Map->Is_Line_Clear(10, 10, 14, 10));

    Fill(Floor);
    EXPECT_TRUE(Map->Is_Line_Clear(10, 10, 10, 10));
    TMonster* in_the_way = Add_Creature(12, 12);
    EXPECT_FALSE(Map->Is_Line_Clear(10, 10, 14, 14));
    EXPECT_TRUE(Map->Is_Line_Clear(10, 10, 12, 12)); // the target's own square is not in the way
    Map->Remove_Monster(in_the_way->Id);
    EXPECT_TRUE(Map->Is_Line_Clear(10, 10, 14, 14));
    Set_Terrain(12, 10,
                Add_Terrain("glass", Movement_Land, Vision_Normal)); // seen through, not flown through
    EXPECT_FALSE(Map->Is_Line_Clear(10, 10, 14, 10));
    EXPECT_EQ(Map->Count_Blocking_On_Line(10, 10, 14, 10), 0);
}

TEST_F(Level_Map, FreeSquareSearch) {
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        Seed_Random(seed);
        int x = -1, y = -1;
        ASSERT_TRUE(Map->Find_Free_Square_Near(1, 1, x, y));
        EXPECT_TRUE(x >= 1 && x <= 2 && y >= 1 && y <= 2) << x << "," << y;
    }
    Fill(Wall);
    int x = -1, y = -1;
    EXPECT_FALSE(Map->Find_Free_Square_Near(100, 100, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(0, 0));
    Set_Terrain(100, 105, Floor);
    Add_Creature(100, 105);
    Set_Terrain(100, 108, Floor);
    ASSERT_TRUE(Map->Find_Free_Square_Near(100, 100, x, y));
    EXPECT_EQ(std::pair(x, y), std::pair(100, 108));
    EXPECT_FALSE(Map->Find_Free_Square_Near(100, 89, x, y)); // 11 rows away
}

TEST_F(Level_Map, LocksAndTrapsTakeTheLastEntry) {
    Map->Set_Lock("first", 5, 5, true);
    Map->Set_Lock("other", 6, 5, true);
    Map->Set_Lock("second", 5, 5, true);
    Map->Set_Lock("outside", 0, 5, true);
    std::string key = "x";
    EXPECT_TRUE(Map->Get_Lock(5, 5, key));
    EXPECT_EQ(key, "second");
    Map->Set_Lock("", 5, 5, false);
    EXPECT_TRUE(Map->Get_Lock(5, 5, key));
    EXPECT_EQ(key, "first");
    EXPECT_FALSE(Map->Get_Square(5, 5)->Is_Locked());
    EXPECT_TRUE(Map->Get_Square(6, 5)->Is_Locked());
    EXPECT_EQ(Map->Lock_Key_Names(), (TString_List{"first", "other"}));
    EXPECT_FALSE(Map->Get_Lock(7, 7, key));
    EXPECT_EQ(key, "");

    Map->Set_Trap("darts", 5, 5, true);
    Map->Set_Trap("pit", 5, 5, true);
    Map->Set_Trap("", 5, 5, false);
    EXPECT_TRUE(Map->Get_Trap(5, 5, key));
    EXPECT_EQ(key, "darts");
    EXPECT_FALSE(Map->Get_Square(5, 5)->Is_Trapped());
}

TEST_F(Level_Map, PilesReuseTheHighestHoleAndIndexesAreChecked) {
    EXPECT_EQ(Map->New_Item_Pile(), 1);
    EXPECT_EQ(Map->Item_Pile_Length(), 2);
    EXPECT_EQ(Map->New_Item_Pile(), 2);
    EXPECT_EQ(Map->New_Item_Pile(), 3);
    Map->Delete_Item_Pile(2);
    EXPECT_EQ(Map->New_Item_Pile(), 2);
    Map->Delete_Item_Pile(1);
    Map->Delete_Item_Pile(3);
    EXPECT_EQ(Map->New_Item_Pile(), 3);
    EXPECT_FALSE(Map->Delete_Item_Pile(4));
    for (int index : {-1, 0, 1, 4, 70000}) EXPECT_EQ(Map->Get_Item_Pile(index), nullptr) << index;
    for (int index : {-1, 0, 2}) EXPECT_EQ(Map->Get_Store(index), nullptr);
    for (auto [x, y] : {std::pair{0, 1}, {1, 0}, {201, 1}, {1, 201}})
        EXPECT_EQ(Map->Get_Square(x, y), nullptr);
    TMonster nowhere; // X = Y = 0, as a bad record may give
    Map->Place_Monster(nowhere);
}

// Records the order of the creature updates and changes the list during the pass.
class TRecording_Map : public TMap {
public:
    std::vector<std::string> Order;
    std::function<void(TMonster&)> During;

protected:
    void Update_Creature(TMonster& creature, const TCallback_Set& callbacks, double rate) override {
        TMap::Update_Creature(creature, callbacks, rate);
        Order.push_back(creature.Name);
        if (During) During(creature);
    }
};

TEST_F(Level_Map, UpdatePassSkipsRemovedAndDefersAddedCreatures) {
    Install_Current_Map(std::make_unique<TRecording_Map>());
    auto& map = static_cast<TRecording_Map&>(*Current_Map());
    Map = &map;
    Map->Terrain_List.Add(TTerrain());
    for (const char* name : {"a", "b", "c", "d"}) Add_Creature(10 + name[0] - 'a', 10, name);
    map.During = [&](TMonster& creature) {
        if (creature.Name == "a") Map->Remove_Monster(3);    // "c", before its turn
        if (creature.Name == "b") Add_Creature(30, 30, "e"); // refills slot 3, still ahead
        if (creature.Name == "d") {
            Map->Remove_Monster(creature.Id); // dies in its own turn
            EXPECT_EQ(creature.Name, "d");    // and is still there to finish it
            EXPECT_EQ(Map->Get_Square(13, 10)->Monster_Id, 0);
            Add_Creature(31, 30, "f"); // slot 4, already passed
            Add_Creature(32, 30, "g"); // appended beyond the count
        }
    };
    map.Update_Monsters(TCallback_Set(), 20.0);
    EXPECT_EQ(map.Order, (std::vector<std::string>{"a", "b", "e", "d"}));
    EXPECT_EQ(Map->Monster_List.Released_Count(), 2);
    Map->End_Tick();
    EXPECT_EQ(Map->Monster_List.Released_Count(), 0);

    map.During = nullptr;
    map.Order.clear();
    map.Update_Monsters(TCallback_Set(), 20.0);
    EXPECT_EQ(map.Order, (std::vector<std::string>{"a", "b", "e", "f", "g"}));
}

TEST_F(Level_Map, PictureSheetsSkipEmptyNames) {
    TString_List names = {"stale"};
    TMonster* rat = Add_Creature(1, 1, "rat");
    TMonster* bat = Add_Creature(2, 1, "bat");
    bat->Attack_Picture = "rat.bmp";
    TMonster* ghost = Add_Creature(3, 1, "ghost");
    ghost->Picture.clear();
    ghost->Attack_Picture = "wail.bmp";
    Map->Get_Monster_Bitmap_Names(names);
    EXPECT_EQ(names, (TString_List{"rat.bmp", "bat.bmp", "wail.bmp"}));
    auto cells = [](const TMonster* m) {
        return std::vector<int>{m->Picture_Index, m->Attack_Picture_Index};
    };
    EXPECT_EQ(cells(rat), (std::vector<int>{0, -1}));
    EXPECT_EQ(cells(bat), (std::vector<int>{1, 0}));
    EXPECT_EQ(cells(ghost), (std::vector<int>{-1, 2}));

    Add_Item("ring");
    TItem* blank = Add_Item("blank");
    blank->Picture.clear();
    Map->Get_Item_Bitmap_Names(names);
    EXPECT_EQ(names, TString_List{"ring.bmp"});
    EXPECT_EQ(blank->Picture_Index, -1);
}

} // namespace
