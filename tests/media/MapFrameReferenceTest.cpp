// The game's own pictures drawn as the map view draws them: a hand-built room of the barrow (floors,
// walls, doors, borders, a chest), items with their quantities, creatures, a burst, a flying bolt and a
// hit mark, the cursor, and a wrapped Russian paragraph in the headless font, over the screen's frame
// picture. Dumped at 16 and 32 bits and compared with the reference pictures by block means.
//
// The reference follows the pictures tools/media makes: when the art changes, look at the new frame
// (build/<preset>/Testing/Temporary/map_view_*.frame.bmp) and rebaseline (see FrameReference.h).
#include "core/Clock.h"
#include "core/EffectSprites.h"
#include "core/Monster.h"
#include "media/DisplayFont.h"
#include "media/DisplayGxFont.h"
#include "media/FrameDump.h"
#include "tests/media/DisplayFixture.h"
#include "tests/support/FrameReference.h"

#include <string>

namespace {

class Map_Frame : public TDisplay_Test, public ::testing::WithParamInterface<int32_t> {
protected:
    std::string Program_Folder() const override { return MURK_RUNTIME_DIR; }
    void SetUp() override {
        TDisplay_Test::SetUp();
        Set_Manual_Clock(1000);
        Seed_Random(1);
    }
    void TearDown() override {
        Free_External_Resources();
        Use_System_Clock();
        TDisplay_Test::TearDown();
    }

    // The terrain kinds of the barrow, by name.
    uint16_t Kind(const std::string& name) {
        for (int32_t id = 1; id <= Map->Terrain_List.Count(); ++id)
            if (const TTerrain* t = Map->Terrain_List.Terrain(id); t && t->Name == name)
                return static_cast<uint16_t>(id);
        ADD_FAILURE() << "no terrain " << name;
        return 0;
    }
    void Put(int32_t x, int32_t y, const std::string& kind, uint8_t border = 0) {
        TMap_Square& square = *Map->Get_Square(x, y);
        square.Terrain_Id = Kind(kind);
        square.Border_Type = border;
    }
    TItem* Drop(int32_t x, int32_t y, const std::string& picture, uint16_t quantity) {
        TItem item;
        item.Picture = picture;
        item.Quantity = quantity;
        TItem* stored = Map->Item_List.Item(Map->Item_List.Add(&item));
        Map->Get_Square(x, y)->Drop_Item(stored);
        return stored;
    }
    TMonster* Creature(int32_t x, int32_t y, const std::string& picture) {
        TMonster creature;
        creature.Set_Pictures(picture, "");
        creature.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        TMonster* stored = Map->Monster_List.Add_Monster(creature);
        Map->Place_Monster(*stored);
        return stored;
    }

    // A room from 96, 96 to 104, 104 with a door north and west, the player in its middle.
    void Build_Map() {
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Map->Name = "Reference Room";
        const std::string tiles =
            std::string(MURK_RUNTIME_DIR) + "/Modules/Barrowdeep/Tiles/Barrow_Terrain.txt";
        ASSERT_TRUE(Map->Terrain_List.Load_From_File(tiles));
        for (int32_t x = 86; x <= 114; ++x)
            for (int32_t y = 86; y <= 114; ++y)
                Put(x, y,
                    (x + 2 * y) % 7 == 0 ? "Cracked Flagstones"
                    : (x * y) % 11 == 0  ? "Mossy Flagstones"
                                         : "Flagstone Floor");
        for (int32_t k = 97; k <= 103; ++k) {
            Put(k, 96, "Dressed Stone Wall (East-West)");
            Put(k, 104, "Dressed Stone Wall (East-West)");
            Put(96, k, "Dressed Stone Wall (North-South)");
            Put(104, k, "Dressed Stone Wall (North-South)");
        }
        Put(96, 96, "Dressed Stone Wall (Corner East-South)");
        Put(104, 96, "Dressed Stone Wall (Corner South-West)");
        Put(96, 104, "Dressed Stone Wall (Corner North-East)");
        Put(104, 104, "Dressed Stone Wall (Corner North-West)");
        Put(100, 96, "Wooden Door (NS, Open)");
        Put(96, 100, "Iron Door (EW)");
        Put(103, 97, "Barrow Chest");
        Put(97, 103, "Barrow Altar");
        Put(102, 103, "Stone Coffin");
        // Rims along the inner side of the walls.
        for (int32_t k = 98; k <= 102; ++k) {
            Map->Get_Square(k, 97)->Border_Type = 1;  // N
            Map->Get_Square(97, k)->Border_Type = 4;  // W
            Map->Get_Square(k, 103)->Border_Type = 3; // S
            Map->Get_Square(103, k)->Border_Type = 2; // E
        }
        Map->Get_Square(97, 97)->Border_Type = 14; // NW
        Map->Get_Square(100, 98)->Border_Type = 12;

        Drop(101, 101, "Gold_Medium.bmp", 125);
        Drop(99, 102, "Long_Sword.bmp", 1);
        Drop(99, 102, "Health_Potion.bmp", 3);
        Drop(99, 102, "Scroll_of_Fireball.bmp", 2);
        Drop(102, 99, "Arrows.bmp", 40);
        Drop(98, 98, "Iron_Helm.bmp", 0);

        Player = Creature(100, 100, "HumanFighter1.bmp");
        Set_Player(Player);
        Creature(102, 101, "Skeleton.bmp");
        Creature(98, 101, "Barrow_Rat.bmp");
        Creature(101, 98, "Wraith.bmp");
        Creature(100, 94, "Ghoul.bmp"); // outside, seen through the open door
    }

    void Add_Sprites() {
        const TCallback_Set none;
        const int32_t burst = Find_Display_Effect("Fire Burst");
        const int32_t bolt = Find_Display_Effect("Firebolt");
        ASSERT_GT(burst, 0);
        ASSERT_GT(bolt, 0);
        Sprites.Add_Static_Sprite(98, 99, none, "", 0, 0, 0, 0, 2, burst, 0);
        Sprites.Add_Moving_Sprite(100, 100, 100, 97, none, "", 0, 0, 0, 0, 2, bolt, 0);
        Sprites.Add_Static_Sprite(102, 101, none, "", 0, 0, 0, 0, 1, 2, 0); // a hit on the skeleton
        // Two updates 150 ms apart: the burst shows its third frame, the bolt has flown some way.
        for (int32_t k = 0; k < 2; ++k) {
            Advance_Manual_Clock(150);
            Sprites.Update();
        }
    }

    // The map view: 31 rows of 15 diamond cells, back to front, the squares of the 15 x 15 window around
    // the player; a square out of sight is drawn only when it was seen, from memory.
    void Draw_Map_View() {
        const int32_t ox = Player->X - 7, oy = Player->Y - 7;
        Map->Update_Field_Of_View(ox, oy, Vision_Normal);
        for (int32_t n = 1; n <= 31; ++n)
            for (int32_t i = 1; i <= 15; ++i) {
                const int32_t left = 52 * i + (n % 2 == 0 ? 26 : 0) - 43, top = 13 * n + 115;
                const int32_t x = i + ox - (n - 1) / 2 + 7, y = i + oy + n / 2 - 9;
                if (x < ox || x > ox + 14 || y < oy || y > oy + 14) continue;
                TMap_Square& square = *Map->Get_Square(x, y);
                const bool visible = Map->Is_Visible(x - ox, y - oy) != 0;
                if (!visible && !square.Is_Seen()) continue;
                square.Draw(0, left, y - Player->Y, x - Player->X, visible, top);
                if (visible) square.Set_Seen(true);
                Sprites.Draw_At_Square(0, x, y, left, top);
            }
    }

    void Draw_Frame() {
        ASSERT_TRUE(Load_Display_Effects());
        Load_External_Resources();
        TDisplay_Object& display = Make_Display();
        display.Load_Graphics();
        Build_Map();
        ASSERT_TRUE(display.Load_Map_Bitmaps(*Map));
        Add_Sprites();

        // The screen's frame picture, then the view, the cursor and a paragraph in the information panel.
        int32_t screen = 0;
        ASSERT_TRUE(
            display.Load_Picture_Buffer("TDC_Main", Path_Settings()->Get_MainUI_Bitmap(), 800, 600, screen));
        Gx_Copy_Rect(0, 799, 0, 599, 0, 599, screen, 0);
        TDisplay_Object::Release_Buffer(screen);
        gx_vbopen(0);
        Draw_Map_View();
        Begin_Text(0);
        Set_Font(3);
        Set_Text_Color(255, 255, 255);
        Draw_Text_Wrapped(565, 12, 221, 40, "Скелет-воин у алтаря");
        Set_Font(1);
        Set_Text_Color(150, 150, 150);
        Draw_Text_Wrapped(565, 52, 221, 80,
                          "Древние кости покрыты инеем, а клинок в его руке источает бледное сияние. "
                          "Неупокоенный страж не знает ни сна, ни пощады.");
        End_Text(0);
        display.Draw_Mouse_Cursor(0, 430, 330, 799, 599);
        EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
    }

    TMap* Map = nullptr;
    TMonster* Player = nullptr;
    TSprites_List Sprites;
};

TEST_P(Map_Frame, MatchesItsReference) {
    Start(GetParam());
    Draw_Frame();
    TFrame frame;
    ASSERT_TRUE(Read_Buffer_Frame(0, frame));
    EXPECT_TRUE(Matches_Reference(frame, "map_view_" + std::to_string(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Depths, Map_Frame, ::testing::Values(16, 32));

} // namespace
