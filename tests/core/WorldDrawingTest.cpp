// What the world model's pictures ask of the display: the recorder shows each cell and text in order.
#include "core/Clock.h"
#include "core/DisplayEffects.h"
#include "core/DisplaySeam.h"
#include "core/EffectSprites.h"
#include "core/Spells.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TCalls = std::vector<std::string>;

class World_Drawing : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Display = std::make_shared<TRecording_Display_Sink>();
        Install_Display_Sink(Display);
    }
    void TearDown() override {
        Install_Display_Sink(nullptr);
        Set_Player(nullptr);
        TMap_Fixture::TearDown();
    }
    TCalls Take() {
        TCalls calls;
        calls.swap(Display->Calls);
        return calls;
    }
    std::shared_ptr<TRecording_Display_Sink> Display;
};

TEST_F(World_Drawing, AnItemWritesItsQuantityWhenItIsAStack) {
    struct TCase {
        uint16_t Quantity;
        bool Centred;
        int16_t Slot;
        TCalls Expected;
    };
    const TCase cases[] = {
        {0, false, 4, {"Item(3, 10, 20, 0, 4)"}},
        {1, true, 4, {"Item(3, 10, 20, 1, 4)"}},
        {5,
         false,
         4,
         {"Item(3, 10, 20, 0, 4)", "Text_Style(1)", "Text_Justify(3, 4)", "Text_Color(10, 10, 10)",
          "Text(3, 43, 57, \"5\")", "Text_Color(255, 255, 255)", "Text(3, 42, 56, \"5\")"}},
        {12,
         true,
         0,
         {"Item(3, 10, 20, 1, 0)", "Text_Style(1)", "Text_Justify(3, 4)", "Text_Color(10, 10, 10)",
          "Text(3, 52, 71, \"12\")", "Text_Color(255, 255, 255)", "Text(3, 51, 70, \"12\")"}},
        {5, true, -1, {}}, // no picture on the sheet
    };
    for (const TCase& c : cases) {
        TItem item;
        item.Quantity = c.Quantity;
        item.Set_Picture_Index(c.Slot);
        item.Draw(3, 10, c.Centred, 20);
        EXPECT_EQ(Take(), c.Expected) << c.Quantity << " centred " << c.Centred;
    }
}

TEST_F(World_Drawing, SpellIconsStandOnTheirContainers) {
    TSpell plain;
    plain.Picture_Id = 7;
    TSpell unmasked;
    unmasked.Picture_Id = 7;
    unmasked.Picture_Is_Maskable = false;
    TSpell blank;
    blank.Picture_Id = 0;

    plain.Draw_Icon(2, 30, 2, 40);
    EXPECT_EQ(Take(), TCalls({"Spell_Icon(2, 30, 40, 2, 6)"}));
    blank.Draw_Icon(2, 30, 0, 40);
    EXPECT_EQ(Take(), TCalls());
    plain.Draw_Icon_Masked(2, 30, 1, 4, 40);
    EXPECT_EQ(Take(), TCalls({"Spell_Container(2, 30, 40, 1, 4)", "Spell_Icon(2, 30, 40, 1, 6)"}));
    unmasked.Draw_Icon_Masked(2, 30, 1, 4, 40);
    EXPECT_EQ(Take(), TCalls({"Spell_Icon(2, 30, 40, 1, 6)"}));
    blank.Draw_Icon_Masked(2, 30, 0, 3, 40);
    EXPECT_EQ(Take(), TCalls({"Spell_Container(2, 30, 40, 0, 3)"}));
    plain.Draw_Icon_With_Number(2, 30, 12, 0, 40);
    EXPECT_EQ(Take(), TCalls({"Spell_Icon(2, 30, 40, 0, 6)", "Text_Style(3)", "Text_Justify(3, 4)",
                              "Text_Color(255, 255, 255)", "Text(2, 67, 80, \"12\")"}));
}

TEST_F(World_Drawing, TerrainLayersAndTheBorder) {
    TTerrain terrain;
    terrain.Picture_L1 = "floor.bmp";
    terrain.Picture_L2 = "rubble.bmp";
    terrain.Picture_L3 = "wall.bmp";
    terrain.Picture_Index_L1 = 0;
    terrain.Picture_Index_L2 = 2;
    terrain.Picture_Index_L3 = 3;
    struct TCase {
        bool Hide_3, Hide_2;
        uint8_t Border;
        TCalls Expected;
    };
    const TCase cases[] = {
        {false,
         false,
         5,
         {"Terrain(0, 1, 2, 0)", "Border(0, 1, 2, 5)", "Terrain(0, 1, 2, 2)", "Terrain(0, 1, 2, 3)"}},
        {true, false, 0, {"Terrain(0, 1, 2, 0)", "Terrain(0, 1, 2, 2)"}},
        {false, true, 15, {"Terrain(0, 1, 2, 0)", "Border(0, 1, 2, 15)", "Terrain(0, 1, 2, 3)"}},
    };
    for (const TCase& c : cases) {
        terrain.Draw(0, 1, 2, c.Hide_3, c.Hide_2, c.Border);
        EXPECT_EQ(Take(), c.Expected) << c.Hide_3 << c.Hide_2 << int(c.Border);
    }
    // A layer without a name draws nothing, whatever its slot; one without a slot likewise.
    terrain.Picture_L1.clear();
    terrain.Picture_Index_L3 = -1;
    terrain.Draw(0, 1, 2, false, false, 0);
    EXPECT_EQ(Take(), TCalls({"Terrain(0, 1, 2, 2)"}));

    TMonster creature;
    creature.Set_Picture_Indexes(0, 10);
    creature.Draw(0, 5, 6);
    creature.Set_Picture_Indexes(-1, 10);
    creature.Draw(0, 5, 6);
    EXPECT_EQ(Take(), TCalls({"Monster(0, 5, 6, 0)"}));
}

TEST_F(World_Drawing, SquaresDrawTerrainThenItemsInPileOrderThenTheCreature) {
    TTerrain& wall = *Map->Terrain_List.Terrain(Wall);
    wall.Picture_L3 = "wall_top.bmp";
    wall.Sight_Side_Hidden = Side_South;
    wall.Sight_Hidden_Layer = 3;
    TString_List names;
    Map->Get_Terrain_Bitmap_Names(names); // floor 0, wall 1, wall top 2
    // Item 1 alone on a square of its own.
    TItem* ring = Add_Item("ring");
    ring->Set_Picture_Index(3);
    ASSERT_TRUE(Map->Get_Square(11, 10)->Drop_Item(ring));
    Map->Get_Square(11, 10)->Draw_Plain(0, 7, 8);
    EXPECT_EQ(Take(), TCalls({"Terrain(0, 7, 8, 0)", "Item(0, 7, 8, 1, 3)"}));

    TMap_Square& square = *Map->Get_Square(10, 10);
    square.Terrain_Id = Wall;
    square.Border_Type = 3;
    for (uint16_t quantity : {1, 3}) {
        TItem* item = Add_Item("coin");
        item->Quantity = quantity;
        item->Set_Picture_Index(static_cast<int16_t>(7 + quantity));
        ASSERT_TRUE(square.Drop_Item(item));
    }
    Add_Creature(10, 10)->Set_Picture_Indexes(4, 5);

    const TCalls terrain = {"Terrain(0, 100, 200, 1)", "Border(0, 100, 200, 3)", "Terrain(0, 100, 200, 2)"};
    TCalls contents = {"Item(0, 100, 200, 1, 8)", "Item(0, 100, 200, 1, 10)"};
    for (const char* text :
         {"Text_Style(1)", "Text_Justify(3, 4)", "Text_Color(10, 10, 10)", "Text(0, 142, 251, \"3\")",
          "Text_Color(255, 255, 255)", "Text(0, 141, 250, \"3\")", "Monster(0, 100, 200, 4)"})
        contents.push_back(text);

    // Remembered: terrain only, with the sight-hidden layer hidden.
    square.Draw(0, 100, 0, 0, false, 200);
    EXPECT_EQ(Take(), TCalls(terrain.begin(), terrain.begin() + 2));
    // In sight, north of the player: all of it.
    TCalls all = terrain;
    all.insert(all.end(), contents.begin(), contents.end());
    square.Draw(0, 100, -1, 0, true, 200);
    EXPECT_EQ(Take(), all);
    // In sight, south of the player: the wall's top is left out.
    TCalls south = {terrain[0], terrain[1]};
    south.insert(south.end(), contents.begin(), contents.end());
    square.Draw(0, 100, 1, 0, true, 200);
    EXPECT_EQ(Take(), south);
    square.Draw_As_Seen(0, 100, 1, 0, true, 200);
    EXPECT_EQ(Take(), south);
    // The plain picture hides nothing.
    square.Draw_Plain(0, 100, 200);
    EXPECT_EQ(Take(), all);
}

TEST_F(World_Drawing, ASecretDoorShowsItsMarkerOnceFound) {
    TTerrain secret;
    secret.Picture_L1 = "door.bmp";
    secret.Next_Terrain_Action = Action_Open_Secret;
    secret.Picture_Index_L1 = 6;
    secret.Sight_Hidden_Layer = 2; // from memory layer 3 stays: only the missing sight stops the search
    const uint16_t id = Map->Terrain_List.Add(secret);
    TMap_Square& square = *Map->Get_Square(20, 20);
    square.Terrain_Id = id;

    // Picking, the plain picture and drawing from memory never search.
    square.Draw(0, 0, 0, 0, false, 0);
    square.Draw_As_Seen(0, 0, 0, 0, true, 0);
    square.Draw_Plain(0, 0, 0);
    EXPECT_FALSE(square.Is_Secret_Searched());
    Take();

    TMonster* player = Add_Creature(19, 20, "hero");
    player->Add_Permanent_Effect(52, 100, 100); // finds every door
    Set_Player(player);
    square.Draw(0, 5, 0, 1, true, 6);
    EXPECT_TRUE(square.Is_Secret_Found());
    EXPECT_EQ(Take(), TCalls({"Terrain(0, 5, 6, 6)", "Secret_Marker(0, 5, 6, 1)"}));
    square.Draw_As_Seen(0, 5, 0, 1, true, 6);
    EXPECT_EQ(Take(), TCalls({"Terrain(0, 5, 6, 6)", "Secret_Marker(0, 5, 6, 1)"}));
    square.Draw_Plain(0, 5, 6);
    EXPECT_EQ(Take(), TCalls({"Terrain(0, 5, 6, 6)"}));
}

class World_Drawing_Sprites : public World_Drawing {
protected:
    void SetUp() override {
        World_Drawing::SetUp();
        Set_Manual_Clock(1000);
        Install_Test_Display_Effects(Folder, {"Fire"});
    }
    void TearDown() override {
        Free_Display_Effects();
        Use_System_Clock();
        World_Drawing::TearDown();
    }
    TSprites_List List;
};

TEST_F(World_Drawing_Sprites, EachSpriteKindDrawsWhereItIs) {
    const TCallback_Set none;
    List.Add_Static_Sprite(5, 5, none, "", 0, 0, 0, 0, Sprite_Display_Damage_FX, 1, 2);
    List.Add_Static_Sprite(5, 5, none, "", 0, 0, 0, 0, Sprite_Display_Effect, 1, 0);
    List.Add_Static_Sprite(5, 5, none, "", 0, 0, 0, 0, Sprite_Display_Effect, 9, 0); // no such effect
    List.Add_Static_Sprite(5, 5, none, "", 0, 0, 0, 0, Sprite_Display_None, 1, 0);
    List.Add_Static_Sprite(5, 5, none, "", 0, 0, 77, 0, Sprite_Display_Damage_FX, 0, 0); // waiting
    TMonster* rat = Add_Creature(6, 6);
    List.Add_Monster_Sprite(rat->Id, none, "", 0, 0, 0, 0, Sprite_Display_Damage_FX, 2, 3);
    // Flying right from square 5, 7 at 84 / 5 = 16.8 pixels per update: after one, 16 pixels into it.
    List.Add_Moving_Sprite(5, 7, 8, 7, none, "", 0, 0, 0, 0, Sprite_Display_Effect, 1, 0);
    List.Update();

    List.Draw_At_Square(0, 5, 5, 300, 400);
    EXPECT_EQ(Take(), TCalls({"Damage_FX(0, 300, 400, 1, 2, 1)", "Effect_Frame(0, 300, 400, 1, 1)"}));
    List.Draw_At_Square(0, 6, 6, 300, 400);
    EXPECT_EQ(Take(), TCalls({"Damage_FX(0, 300, 400, 1, 3, 2)"}));
    // The offset runs along the view's diagonals: x + 16, y - 16 / 2 - 5; the frame is its direction.
    List.Draw_At_Square(0, 5, 7, 300, 400);
    EXPECT_EQ(Take(), TCalls({"Effect_Frame(0, 316, 387, 1, 2)"}));
    List.Draw_At_Square(0, 6, 7, 300, 400);
    EXPECT_EQ(Take(), TCalls());
    // A creature that moves takes its sprite along.
    rat->Move_To(6, 7);
    List.Draw_At_Square(0, 6, 6, 300, 400);
    List.Draw_At_Square(0, 6, 7, 300, 400);
    EXPECT_EQ(Take(), TCalls({"Damage_FX(0, 300, 400, 1, 3, 2)"}));
}

TEST_F(World_Drawing_Sprites, AFlyingSpritesOffsetAlongBothAxes) {
    const TCallback_Set none;
    // Down and right from 5, 5 to 8, 7: 84 x 56 pixels in Trunc(100.9 / 15) = 6 updates, 14 and 9.33 each.
    List.Add_Missile_Sprite(0, "", TDamage(), 5, 5, 8, 7, "", 0, 0, 0, none, "", 0, 0, 0, 0,
                            Sprite_Display_Damage_FX, 0, 1);
    List.Update();
    // Pos 154, 149.33: square 5, 5 with offsets 14 and 9: x + 14 + 9 + 1, y + 4 - 7 - 5.
    List.Draw_At_Square(0, 5, 5, 300, 400);
    EXPECT_EQ(Take(), TCalls({"Damage_FX(0, 324, 392, 1, 1, 0)"}));
    List.Update();
    // Pos 168, 158.67: square 6, 5 with offsets 0 and 18: x + 0 + 18 + 0, y + 9 - 0 - 5.
    List.Draw_At_Square(0, 6, 5, 300, 400);
    EXPECT_EQ(Take(), TCalls({"Damage_FX(0, 318, 404, 1, 1, 0)"}));
}

} // namespace
