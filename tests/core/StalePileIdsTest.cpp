// A pile may hold ids whose items are gone (a map file written by an older or damaged game): the square
// shows and hands out only items that exist, and a pile left with none is cleared.
#include "core/MapSquare.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Stale_Pile_Ids = TMap_Fixture;

} // namespace

TEST_F(Stale_Pile_Ids, AreSkippedByDisplayAndPickUp) {
    // The pile's items in order; "-" is an item deleted after it was dropped.
    struct TCase {
        std::vector<std::string> Pile;
        const char* Shown; // the top item shown; nullptr for none
        const char* Taken; // what the creature picks up; nullptr for nothing
        const char* Left;  // the single item left on the square; nullptr for none
        bool Still_A_Pile; // the square still holds a pile afterwards
    } cases[] = {
        {{"A", "-"}, "A", "A", nullptr, false},
        {{"-", "A"}, "A", "A", nullptr, false},
        {{"-", "-"}, nullptr, nullptr, nullptr, false},
        {{"-", "A", "-", "B"}, "A", "B", "A", false},
        {{"A", "B", "-"}, "A", "B", "A", false},
        {{"A", "-", "B", "C"}, "A", "C", nullptr, true},
        {{"A", "B"}, "A", "B", "A", false},
    };
    int square_x = 10;
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(square_x));
        TMonster* taker = Add_Creature(square_x, 5);
        TMap_Square& square = *Map->Get_Square(square_x++, 10);
        std::vector<uint16_t> gone;
        for (const std::string& name : c.Pile) {
            TItem* item = Add_Item(name);
            ASSERT_TRUE(square.Drop_Item(item));
            if (name == "-") gone.push_back(item->Id);
        }
        ASSERT_TRUE(square.Is_Pile());
        const uint16_t pile = square.Item_Field;
        for (uint16_t id : gone) Map->Item_List.Delete_Id(id);

        const TItem* shown = square.Get_Top_Item();
        EXPECT_EQ(shown ? shown->Name : "nothing", c.Shown ? c.Shown : "nothing");

        EXPECT_EQ(square.Pick_Up_Item(*taker), c.Taken != nullptr);
        const TItem* taken = taker->Inventory.Contents().Item(1);
        EXPECT_EQ(taken ? taken->Name : "nothing", c.Taken ? c.Taken : "nothing");

        EXPECT_EQ(square.Is_Pile(), c.Still_A_Pile);
        if (c.Still_A_Pile) {
            ASSERT_NE(square.Get_Pile(), nullptr);
            EXPECT_EQ(square.Get_Pile()->Count(), 2); // A and B; the gone id is dropped
            continue;
        }
        EXPECT_EQ(Map->Get_Item_Pile(pile), nullptr); // freed, never left empty
        const TItem* left = square.Get_Top_Item();
        EXPECT_EQ(left ? left->Name : "nothing", c.Left ? c.Left : "nothing");
        if (!c.Left) {
            EXPECT_EQ(square.Item_Field, 0);
        }
    }
}

// A single item whose id is gone is nothing: picking up clears it, so the square is free for drops.
TEST_F(Stale_Pile_Ids, AGoneSingleItemIsClearedByPickUp) {
    TMonster* taker = Add_Creature(5, 5);
    TMap_Square& square = *Map->Get_Square(30, 30);
    TItem* item = Add_Item("ring");
    ASSERT_TRUE(square.Drop_Item(item));
    Map->Item_List.Delete_Id(item->Id);
    EXPECT_EQ(square.Get_Top_Item(), nullptr);
    EXPECT_FALSE(square.Pick_Up_Item(*taker));
    EXPECT_EQ(square.Item_Field, 0);
    EXPECT_FALSE(square.Is_Pile());
}

// A drop onto a pile the map does not have (a stale index) makes the item the square's single item; a
// drop of nothing, or with no map to hold piles, changes nothing.
TEST_F(Stale_Pile_Ids, DropsOntoAMissingPile) {
    TItem* item = Add_Item("ring");
    TMap_Square& square = *Map->Get_Square(40, 40);
    const auto missing_pile = [&square] {
        square.Set_Pile(true);
        square.Item_Field = 9; // the map has no piles
    };
    missing_pile();
    const TMap_Square before = square;
    EXPECT_FALSE(square.Drop_Item(nullptr));
    EXPECT_EQ(square, before);

    std::unique_ptr<TMap> held = Remove_Current_Map();
    EXPECT_FALSE(square.Drop_Item(item));
    EXPECT_EQ(square, before);
    Install_Current_Map(std::move(held));

    ASSERT_TRUE(square.Drop_Item(item));
    EXPECT_FALSE(square.Is_Pile());
    EXPECT_EQ(square.Item_Field, item->Id);
    EXPECT_EQ(square.Get_Top_Item(), item);
}
