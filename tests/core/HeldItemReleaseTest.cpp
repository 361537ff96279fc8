#include "core/HeldItem.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Held_Item_Release : public TMap_Fixture {};

// Where the item on the cursor goes before a save: the backpack, else the player's square; never lost.
TEST_F(Held_Item_Release, BackpackElseSquareElseTheCursor) {
    struct TCase {
        const char* Name;
        bool With_Player;
        int Backpack_Filled; // backpack slots taken before
        bool Off_Map;        // the player stands on no square of the map
        bool Released;
        const char* Where; // "backpack", "square" or "cursor"
    };
    const std::vector<TCase> cases = {
        {"room in the backpack", true, 0, false, true, "backpack"},
        {"one slot left", true, 79, false, true, "backpack"},
        {"backpack full", true, 80, false, true, "square"},
        {"off the map, room in the backpack", true, 0, true, true, "backpack"},
        {"off the map, backpack full", true, 80, true, false, "cursor"},
        {"no player", false, 0, false, false, "cursor"},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Fill(Add_Terrain("floor", Movement_Land, Vision_Normal));
        TMonster* player = Add_Creature(5, 5, "hero");
        for (int n = 0; n < t.Backpack_Filled; ++n)
            ASSERT_TRUE(player->Inventory.Put_In_Slot(Add_Item("stone " + std::to_string(n)), 11 + n));
        Set_Player(t.With_Player ? player : nullptr);
        if (t.Off_Map) player->X = 0;
        TItem* gem = Add_Item("gem");
        Set_Held_Item(gem);
        EXPECT_EQ(Release_Held_Item(), t.Released);
        const std::string where = player->Inventory.Contents().Ids().IndexOf(gem->Id) > 0 ? "backpack"
                                  : Map->Get_Square(5, 5)->Get_Top_Item() == gem          ? "square"
                                  : Held_Item_Id() == gem->Id                             ? "cursor"
                                                                                          : "lost";
        EXPECT_EQ(where, t.Where);
        EXPECT_EQ(Held_Item_Id(), t.Released ? 0 : gem->Id);
        Set_Held_Item_Id(0);
    }
    // An empty cursor, or an id that names nothing, releases at once.
    Set_Held_Item_Id(999);
    EXPECT_TRUE(Release_Held_Item());
    EXPECT_EQ(Held_Item_Id(), 0);
}

} // namespace
