#include "core/MapSquare.h"
#include "core/GlobalFuncs.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

namespace {

using Map_Square = TMap_Fixture;

TEST_F(Map_Square, PileOrderPickUpAndFullBackpack) {
    TMonster* taker = Add_Creature(5, 5);
    TItem* a = Add_Item("A");
    TItem* b = Add_Item("B");
    const uint16_t a_id = a->Id;
    TMap_Square& square = *Map->Get_Square(10, 10);
    ASSERT_TRUE(square.Drop_Item(a) && square.Drop_Item(b));
    const uint16_t pile = square.Item_Field;
    ASSERT_TRUE(square.Is_Pile());
    EXPECT_EQ(Map->Get_Item_Pile(pile)->Item(2), b);
    EXPECT_EQ(square.Get_Top_Item(), a); // the first is shown on top; picking takes the last

    ASSERT_TRUE(square.Pick_Up_Item(*taker));
    EXPECT_EQ(taker->Inventory.Contents().Item(1), b);
    EXPECT_FALSE(square.Is_Pile());
    EXPECT_EQ(square.Item_Field, a_id);
    EXPECT_EQ(Map->Get_Item_Pile(pile), nullptr);

    // A full backpack takes nothing, but gold is always taken (counted, and gone from the item list).
    for (int slot = First_Backpack_Slot + 1; slot <= Last_Backpack_Slot; ++slot) // B is in the first
        ASSERT_TRUE(taker->Inventory.Put_In_Slot(Add_Item("junk"), slot));
    square.Drop_Item(Add_Item("C"));
    const TMap_Square before = square;
    EXPECT_FALSE(square.Pick_Up_Item(*taker));
    EXPECT_EQ(square, before);
    TItem* gold = Add_Item("gold", Item_Type_Gold);
    gold->Gold_Value = 25;
    const uint16_t gold_id = gold->Id;
    square.Drop_Item(gold);
    ASSERT_TRUE(square.Pick_Up_Item(*taker));
    EXPECT_EQ(taker->Gold, 25);
    EXPECT_EQ(Map->Item_List.Item(gold_id), nullptr);
    EXPECT_EQ(Map->Get_Item_Pile(square.Item_Field)->Count(), 2);
}

TEST_F(Map_Square, HidingMatrix) {
    TTerrain* terrain = Map->Terrain_List.Terrain(Floor);
    struct TCase {
        uint8_t Side, Layer;
        bool Visible;
        int Dx, Dy;
        bool Hidden;
    };
    const TCase cases[] = {
        {Side_North, 3, true, 0, -1, true},  {Side_North, 3, true, 0, 0, false},
        {Side_East, 3, true, 1, 0, true},    {Side_East, 3, true, 0, 0, false},
        {Side_South, 2, true, 0, 1, true},   {Side_South, 2, true, 0, 0, false},
        {Side_West, 2, true, -1, 0, true},   {Side_West, 2, true, 0, 0, false},
        {Side_None, 3, true, -7, -7, false}, {Side_None, 3, false, 0, 0, true},
        {Side_East, 2, false, -1, 0, true},  {Side_North, 0, true, 0, -1, false},
        {Side_North, 1, false, 0, 0, false}, {Side_North, 3, true, 0, 1, false},
        {Side_East, 3, true, -1, 0, false},  {Side_South, 2, true, 0, -1, false},
        {Side_West, 2, true, 1, 0, false},
    };
    for (const TCase& c : cases) {
        terrain->Sight_Side_Hidden = c.Side;
        terrain->Sight_Hidden_Layer = c.Layer;
        const TSquare_Hiding expected{c.Hidden && c.Layer == 2, c.Hidden && c.Layer == 3};
        EXPECT_EQ(Map->Get_Square(3, 3)->Hidden_Layers(c.Visible, c.Dx, c.Dy), expected)
            << int(c.Side) << " layer " << int(c.Layer) << " visible " << c.Visible << " " << c.Dx << ","
            << c.Dy;
    }
}

TEST_F(Map_Square, SecretDoorIsRolledForOnce) {
    TTerrain secret_door;
    secret_door.Next_Terrain_Action = Action_Open_Secret;
    const uint16_t secret = Map->Terrain_List.Add(secret_door);
    TMap_Square& lone = *Map->Get_Square(4, 4);
    TMap_Square& hidden = *Map->Get_Square(4, 5);
    lone.Terrain_Id = hidden.Terrain_Id = secret;

    // No player: one draw, no success, and the roll is never made again.
    Seed_Random(9);
    Random_Range(1, 100);
    const int32_t after_one_roll = Random_Range(1, 1000000);
    Seed_Random(9);
    EXPECT_FALSE(lone.Search_Secret_Door({}));
    EXPECT_FALSE(lone.Search_Secret_Door({}));
    EXPECT_EQ(Random_Range(1, 1000000), after_one_roll);

    // A hidden layer 3, or a terrain of another action, makes no search.
    EXPECT_FALSE(hidden.Search_Secret_Door({false, true}));
    EXPECT_FALSE(Map->Get_Square(4, 6)->Search_Secret_Door({}));
    EXPECT_FALSE(hidden.Is_Secret_Searched() || Map->Get_Square(4, 6)->Is_Secret_Searched());

    TMonster* player = Add_Creature(2, 2, "hero");
    player->Add_Permanent_Effect(52, 100, 100); // Detect Secret Doors: finds every door
    Set_Player(player);
    EXPECT_TRUE(hidden.Search_Secret_Door({}));
    player->Permanent_Effects.Clear();
    EXPECT_TRUE(hidden.Search_Secret_Door({})); // the answer stays
}

TEST_F(Map_Square, StaleIdsReadAsNothing) {
    TMonster* taker = Add_Creature(5, 5);
    TItem* item = Add_Item("ring");
    TMap_Square& bad_pile = *Map->Get_Square(20, 20);
    bad_pile.Set_Pile(true);
    bad_pile.Item_Field = 9; // the map has no piles
    EXPECT_EQ(bad_pile.Get_Top_Item(), nullptr);
    EXPECT_FALSE(bad_pile.Pick_Up_Item(*taker));
    ASSERT_TRUE(bad_pile.Drop_Item(item)); // the square takes it as its single item instead
    EXPECT_FALSE(bad_pile.Is_Pile());
    EXPECT_EQ(bad_pile.Get_Top_Item(), item);
    bad_pile.Item_Field = 0;

    TMap_Square& gone_item = *Map->Get_Square(21, 20);
    gone_item.Item_Field = 500;
    EXPECT_FALSE(gone_item.Pick_Up_Item(*taker));
    ASSERT_TRUE(gone_item.Drop_Item(item)); // stored as the single item, not piled onto nothing
    EXPECT_FALSE(gone_item.Is_Pile());
    EXPECT_EQ(gone_item.Get_Top_Item(), item);

    TMap_Square& gone_creature = *Map->Get_Square(22, 20);
    gone_creature.Monster_Id = 77;
    EXPECT_EQ(gone_creature.Get_Monster(), nullptr);
    EXPECT_TRUE(gone_creature.Is_Free(Movement_Land));

    TMap_Square& bare = *Map->Get_Square(5, 5); // the taker's square, without terrain
    bare.Terrain_Id = 999;
    bare.Border_Type = 16;
    taker->Light_Radius = 3;
    EXPECT_FALSE(bare.Lets_Sight_Through(Vision_Normal) || bare.Is_Free(Movement_Land));
    EXPECT_TRUE(bare.Get_Terrain_Categories().empty());
    EXPECT_EQ(bare.Hidden_Layers(false, 0, 0), TSquare_Hiding{});
    EXPECT_EQ(bare.Border_To_Draw(), 0);
    EXPECT_EQ(bare.Get_Light_Radius(), 3);
}

} // namespace
