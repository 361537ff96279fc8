// Picking squares under the mouse: the reference floor diamond's mask, and the square's own picture as the
// map view draws it.
#include "core/MapMain.h"
#include "core/Monster.h"
#include "tests/media/DisplayFixture.h"

#include <cstdlib>

namespace {

// The floor diamond of a 54 x 54 cell: 52 x 26 pixels in its lower half.
bool In_Diamond(int32_t x, int32_t y) {
    return std::abs(2 * x - 53) * 13 + std::abs(2 * y - 81) * 26 <= 26 * 26;
}

class Display_Picking : public TDisplay_Test, public ::testing::WithParamInterface<int32_t> {
protected:
    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(GetParam());
        Write_Coded_Interface();
        // The gen-tiles sheet: the diamond in cell 4, magenta around it and in every other cell.
        Write_Picture("Pictures/SysPics/tilegen.bmp", 324, 54, [](int32_t x, int32_t y) {
            return x >= 216 && x < 270 && In_Diamond(x - 216, y) ? 0xFFFFFFu : 0xFF00FFu;
        });
        Write_Picture("Pictures/Terrain/floor.bmp", 54, 54,
                      [](int32_t x, int32_t y) { return In_Diamond(x, y) ? 0x707070u : 0xFF00FFu; });
        // A wall face rising from the diamond's middle to the cell's top.
        Write_Picture("Pictures/Terrain/wall.bmp", 54, 54, [](int32_t x, int32_t y) {
            return x >= 20 && x <= 33 && y <= 45 ? 0x604020u : 0xFF00FFu;
        });
        Write_Picture("Pictures/Monsters/rat.bmp", 54, 54, [](int32_t x, int32_t y) {
            return x >= 5 && x <= 10 && y >= 5 && y <= 10 ? 0x808080u : 0xFF00FFu;
        });
        for (int32_t type = 1; type <= 15; ++type)
            Write_Picture("Pictures/Terrain/" + TDisplay_Object::Get_Border_Bitmap_Name(type), 54, 54,
                          [](int32_t, int32_t) { return 0xFF00FFu; });

        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        TTerrain floor;
        floor.Picture_L1 = "floor.bmp";
        floor.Movement_Flags = Movement_Land;
        floor.Vision_Flags = Vision_Normal;
        const uint16_t floor_id = Map->Terrain_List.Add(floor);
        TTerrain wall = floor;
        wall.Picture_L3 = "wall.bmp";
        wall.Sight_Side_Hidden = Side_South;
        wall.Sight_Hidden_Layer = 3;
        Wall = Map->Terrain_List.Add(wall);
        TTerrain east_wall = wall;
        east_wall.Sight_Side_Hidden = Side_East;
        const uint16_t east = Map->Terrain_List.Add(east_wall);
        TTerrain secret = wall;
        secret.Next_Terrain_Action = Action_Open_Secret;
        Secret = Map->Terrain_List.Add(secret);
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y) Map->Get_Square(x, y)->Terrain_Id = floor_id;
        for (const auto& [x, y] : {std::pair{10, 9}, std::pair{10, 11}, std::pair{30, 30}})
            Map->Get_Square(x, y)->Terrain_Id = Wall;
        Map->Get_Square(10, 8)->Terrain_Id = Secret;
        Map->Get_Square(12, 12)->Terrain_Id = east;
        TMonster rat;
        rat.Set_Pictures("rat.bmp", "");
        rat.Set_Position(11, 10);
        Map->Place_Monster(*Map->Monster_List.Add_Monster(rat));

        Object = &Make_Display();
        Object->Load_Graphics();
        ASSERT_TRUE(Object->Load_Map_Bitmaps(*Map));
        ASSERT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
    }

    TMap* Map = nullptr;
    uint16_t Wall = 0, Secret = 0;
    TDisplay_Object* Object = nullptr;
};

TEST_P(Display_Picking, TheMaskIsTheFloorDiamondOnceMagentaIsBlack) {
    int32_t wrong = 0;
    for (int32_t x = 0; x < 54; ++x)
        for (int32_t y = 0; y < 54; ++y) wrong += Object->Is_Point_In_Tile_Mask(x, y) != In_Diamond(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(Object->Is_Point_In_Tile_Mask(27, 40));
    for (const auto& [x, y] : {std::pair{54, 0}, std::pair{0, 54}, std::pair{-1, 40}, std::pair{27, -1}})
        EXPECT_FALSE(Object->Is_Point_In_Tile_Mask(x, y)) << x << "," << y;
}

TEST_P(Display_Picking, ASquaresPictureDecidesAsTheMapViewDrawsIt) {
    // A point on the wall's face lies above the floor diamond.
    ASSERT_FALSE(Object->Is_Point_In_Tile_Mask(27, 5));
    // No player: nothing hides, whichever side a wall hides from.
    for (const auto& [x, y] : {std::pair{10, 11}, std::pair{12, 12}})
        EXPECT_TRUE(Object->Is_Point_On_Square(27, 5, x, y, *Map)) << x << "," << y;
    // The picture lies at the cell's corner: the face's first column and top row.
    EXPECT_TRUE(Object->Is_Point_On_Square(20, 0, 10, 11, *Map));
    EXPECT_FALSE(Object->Is_Point_On_Square(19, 5, 10, 11, *Map));
    EXPECT_FALSE(Object->Is_Point_On_Square(2, 5, 10, 11, *Map));
    EXPECT_TRUE(Object->Is_Point_On_Square(7, 7, 11, 10, *Map)) << "the creature standing there";
    EXPECT_FALSE(Object->Is_Point_On_Square(27, 5, 11, 10, *Map));

    TMonster* player = Map->Monster_List.Add_Monster(TMonster());
    player->Move_To(10, 10);
    Set_Player(player);
    Map->Update_Field_Of_View(3, 3, Vision_Normal);
    struct TCase {
        int32_t X, Y, Map_X, Map_Y;
        bool Covered;
    };
    const TCase cases[] = {
        {27, 5, 10, 9, true},   // north of the player: the wall shows
        {27, 5, 10, 11, false}, // south: the wall is hidden so the player shows
        {27, 40, 10, 11, true}, // its floor still covers the diamond
        {27, 5, 30, 30, false}, // out of sight: drawn from memory, the wall hidden
        {27, 5, 10, 8, true},   // a secret door, north
        {27, 5, 0, 10, false},  // outside the map
        {54, 5, 10, 9, false},  // outside the cell
        {27, -1, 10, 9, false},
    };
    for (const TCase& c : cases) {
        gx_vbopen(0);
        EXPECT_EQ(Object->Is_Point_On_Square(c.X, c.Y, c.Map_X, c.Map_Y, *Map), c.Covered)
            << c.X << "," << c.Y << " on " << c.Map_X << "," << c.Map_Y;
        EXPECT_EQ(Gx_Active_Buffer(), 0) << "the page stays active";
    }
    Gx_Deselect_Buffer();
    Object->Is_Point_On_Square(27, 5, 10, 9, *Map);
    EXPECT_EQ(Gx_Active_Buffer(), -1);
    // Picking makes no search for the secret door.
    EXPECT_FALSE(Map->Get_Square(10, 8)->Is_Secret_Searched());
}

// The work area may be any buffer the library gives, the first one included.
TEST_P(Display_Picking, TheWorkAreaMayBeTheFirstBuffer) {
    Install_Display_Object(nullptr);
    TDisplay_Object& display = Make_Display();
    display.Load_Interface_Bitmaps();
    ASSERT_EQ(display.Tile_Hit_Buffer, 1);
    display.Alloc_Map_Buffers();
    ASSERT_TRUE(display.Load_Map_Bitmaps(*Map));
    EXPECT_TRUE(display.Is_Point_On_Square(27, 5, 10, 11, *Map));
}

INSTANTIATE_TEST_SUITE_P(Depths, Display_Picking, ::testing::Values(16, 32));

} // namespace
