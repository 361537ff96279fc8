// Where the display object's cell routines take their pixels from and where they put them, probed on the
// page: every sheet pixel carries its own colour, so the page shows the source rectangle of each copy.
#include "tests/media/DisplayFixture.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

class Display_Cells : public TDisplay_Test {
protected:
    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(32);
        Write_Coded_Interface();
        Object = &Make_Display();
        Object->Load_Graphics();
        ASSERT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;

        // Map cells 0..21 of terrain and creatures, then the fifteen borders after the terrain pictures,
        // and item cells 0..31, each the coded part of its sheet.
        TString_List terrain, monsters, items;
        for (int32_t k = 0; k < 22; ++k) terrain.push_back("t" + std::to_string(k) + ".bmp");
        monsters = terrain;
        Object->Add_Border_Bitmap_Names(terrain);
        for (int32_t k = 0; k < 32; ++k) items.push_back("i" + std::to_string(k) + ".bmp");
        Write_Cells("Pictures/Terrain/", terrain, Coded_Terrain, 54, 20);
        Write_Cells("Pictures/Monsters/", monsters, Coded_Monster, 54, 20);
        Write_Cells("Pictures/Items/", items, Coded_Item, 32, 30);
        Object->Set_Terrain_Bitmap_Names(terrain);
        ASSERT_EQ(Object->Load_Terrain_Bitmaps(terrain, nullptr, true), 1);
        Object->Set_Monster_Bitmap_Names(monsters);
        ASSERT_EQ(Object->Load_Monster_Bitmaps(monsters, nullptr, true, true), 1);
        Object->Set_Item_Bitmap_Names(items);
        ASSERT_EQ(Object->Load_Item_Bitmaps(items, nullptr, true), 1);
        Write_Coded("Pictures/SysPics/fx.bmp", Coded_Extra);
        ASSERT_TRUE(Object->Load_Extra_Bitmap(1, "fx.bmp"));
    }

    void Write_Cells(const std::string& folder, const TString_List& names, int32_t sheet, int32_t side,
                     int32_t per_row) {
        for (int32_t k = 0; k < static_cast<int32_t>(names.size()); ++k)
            Write_Coded(folder + names[static_cast<std::size_t>(k)], sheet, side * (k % per_row),
                        side * (k / per_row), side, side);
    }

    TDisplay_Object* Object = nullptr;
};

struct TCell_Case {
    const char* What;
    std::function<void(TDisplay_Object&)> Draw;
    int32_t Sheet = 0; // where the pixels come from
    int32_t Source_X = 0, Source_Y = 0;
    int32_t Width = 0, Height = 0; // 0: nothing is drawn
    int32_t X = 100, Y = 100;      // where the rectangle's top-left pixel lands
};

TEST_F(Display_Cells, EachRoutineCopiesItsSourceRectangleToItsPlace) {
    using D = TDisplay_Object;
    const std::vector<TCell_Case> cases = {
        {"terrain cell 21", [](D& d) { d.Draw_Terrain_Tile(0, 100, 100, 21); }, Coded_Terrain, 54, 54, 54,
         54},
        {"terrain cell -1", [](D& d) { d.Draw_Terrain_Tile(0, 100, 100, -1); }},
        {"monster cell 21", [](D& d) { d.Draw_Monster_Tile(0, 100, 100, 21); }, Coded_Monster, 54, 54, 54,
         54},
        {"item cell 31", [](D& d) { d.Draw_Item_Tile(0, 100, 100, false, 31); }, Coded_Item, 32, 32, 32, 32},
        {"item cell 31 centred", [](D& d) { d.Draw_Item_Tile(0, 100, 100, true, 31); }, Coded_Item, 32, 32,
         32, 32, 111, 116},
        // Borders follow the 22 terrain pictures: type 12 is position 34, cell 33.
        {"border 12", [](D& d) { d.Draw_Border_Tile(0, 100, 100, 12); }, Coded_Terrain, 702, 54, 54, 54},
        {"border 1", [](D& d) { d.Draw_Border_Tile(0, 100, 100, 1); }, Coded_Terrain, 108, 54, 54, 54},
        {"border 15", [](D& d) { d.Draw_Border_Tile(0, 100, 100, 15); }, Coded_Terrain, 864, 54, 54, 54},
        // Cell 1590728640 lies 2^32 + 32 rows down: it must not wrap around to row 32.
        {"terrain cell past 32 bits", [](D& d) { d.Draw_Terrain_Tile(0, 100, 100, 1590728640); }},
        {"border 0", [](D& d) { d.Draw_Border_Tile(0, 100, 100, 0); }},
        {"border 16", [](D& d) { d.Draw_Border_Tile(0, 100, 100, 16); }},
        {"border 255", [](D& d) { d.Draw_Border_Tile(0, 100, 100, 255); }},
        {"general icon 13", [](D& d) { d.Draw_General_Icon(0, 100, 100, true, 13); }, Sheet_General, 64, 32,
         32, 32},
        {"cursor at 790", [](D& d) { d.Draw_Mouse_Cursor(0, 790, 100, 799, 599); }, Sheet_General, 128, 0, 9,
         32, 790, 100},
        {"cursor at the bottom", [](D& d) { d.Draw_Mouse_Cursor(0, 300, 580, 799, 599); }, Sheet_General, 128,
         0, 32, 19, 300, 580},
        {"cursor at 798", [](D& d) { d.Draw_Mouse_Cursor(0, 798, 100, 799, 599); }, Sheet_General, 128, 0, 1,
         32, 798, 100},
        {"cursor at the right edge", [](D& d) { d.Draw_Mouse_Cursor(0, 799, 100, 799, 599); }},
        {"small icon 0", [](D& d) { d.Draw_Small_Icon(0, 100, 100, 0); }, Sheet_General, 160, 0, 17, 17},
        {"small icon 2", [](D& d) { d.Draw_Small_Icon(0, 100, 100, 2); }, Sheet_General, 224, 0, 17, 17},
        {"fixed icon 1", [](D& d) { d.Draw_Fixed_Icon_1(0, 100, 100); }, Sheet_General, 224, 0, 32, 32},
        {"secret marker", [](D& d) { d.Draw_Secret_Marker(0, 100, 100, false); }, Sheet_General, 256, 0, 32,
         32},
        {"secret marker centred", [](D& d) { d.Draw_Secret_Marker(0, 100, 100, true); }, Sheet_General, 256,
         0, 32, 32, 111, 116},
        {"fixed icon 3 centred", [](D& d) { d.Draw_Fixed_Icon_3(0, 100, 100, true); }, Sheet_General, 288, 0,
         32, 32, 111, 113},
        {"fixed icon 3", [](D& d) { d.Draw_Fixed_Icon_3(0, 100, 100, false); }, Sheet_General, 288, 0, 32,
         32},
        {"misc panel 1", [](D& d) { d.Draw_Misc_Panel(0, 100, 100, 1); }, Sheet_Misc, 0, 0, 134, 20},
        {"misc panel 2", [](D& d) { d.Draw_Misc_Panel(0, 100, 100, 2); }, Sheet_Misc, 0, 20, 111, 23},
        {"misc panel 3", [](D& d) { d.Draw_Misc_Panel(0, 100, 100, 3); }, Sheet_Misc, 0, 43, 134, 28},
        {"misc panel 0", [](D& d) { d.Draw_Misc_Panel(0, 100, 100, 0); }},
        {"misc panel 4", [](D& d) { d.Draw_Misc_Panel(0, 100, 100, 4); }},
        {"misc icon row 3", [](D& d) { d.Draw_Misc_Icon_Row(0, 100, 100, 3); }, Sheet_Misc, 69, 71, 23, 23},
        {"misc icon 0", [](D& d) { d.Draw_Misc_Icon(0, 100, 100, 0); }, Sheet_Misc, 0, 94, 23, 23},
        {"misc icon 10", [](D& d) { d.Draw_Misc_Icon(0, 100, 100, 10); }, Sheet_Misc, 46, 117, 23, 23},
        {"gen tile 4", [](D& d) { d.Draw_Gen_Tile(0, 100, 100, 4); }, Sheet_Gen_Tiles, 216, 0, 54, 54},
        {"highlight tile", [](D& d) { d.Draw_Highlight_Tile(0, 100, 100); }, Sheet_Gen_Tiles, 270, 0, 54, 54},
        {"damage cell 5", [](D& d) { d.Draw_Damage_FX_Cell(0, 100, 100, 5); }, Sheet_Damage_FX, 64, 32, 32,
         32},
        {"spell container 0, 0", [](D& d) { d.Draw_Spell_Container(0, 100, 100, 0, 0); },
         Sheet_Spell_Containers, 0, 0, 38, 38},
        {"spell container 2, 3", [](D& d) { d.Draw_Spell_Container(0, 100, 100, 2, 3); },
         Sheet_Spell_Containers, 114, 76, 38, 38},
        {"spell icon 19", [](D& d) { d.Draw_Spell_Icon(0, 100, 100, 0, 19); }, Sheet_Spells, 38, 38, 38, 38},
        {"spell icon 19 hover", [](D& d) { d.Draw_Spell_Icon(0, 100, 100, 1, 19); }, Sheet_Spells, 38, 38, 38,
         38},
        {"spell icon 19 pressed", [](D& d) { d.Draw_Spell_Icon(0, 100, 100, 2, 19); }, Sheet_Spells, 38, 38,
         38, 38, 102, 102},
        {"button disabled", [](D& d) { d.Draw_Button(0, 100, 100, true, true, true, 2, 3); },
         Sheet_Main_Round_Buttons, 153, 153, 51, 51},
        {"button pressed", [](D& d) { d.Draw_Button(0, 100, 100, false, true, true, 2, 3); },
         Sheet_Main_Round_Buttons, 153, 102, 51, 51},
        {"button hover", [](D& d) { d.Draw_Button(0, 100, 100, false, false, true, 2, 3); },
         Sheet_Main_Round_Buttons, 153, 51, 51, 51},
        {"button normal", [](D& d) { d.Draw_Button(0, 100, 100, false, false, false, 2, 3); },
         Sheet_Main_Round_Buttons, 153, 0, 51, 51},
        {"window button", [](D& d) { d.Draw_Button(0, 100, 100, false, false, false, 1, 2); },
         Sheet_Window_Buttons, 46, 0, 23, 23},
        {"arrow button", [](D& d) { d.Draw_Button(0, 100, 100, false, false, true, 3, 1); },
         Sheet_Small_Arrow_Buttons, 18, 28, 18, 28},
        {"blank named button", [](D& d) { d.Draw_Button(0, 100, 100, false, true, false, 9, 0); },
         Sheet_Blank_Named_Square_Buttons, 0, 46, 224, 23},
        {"spell container button", [](D& d) { d.Draw_Button(0, 100, 100, false, true, false, 10, 1); },
         Sheet_Spell_Containers, 38, 76, 38, 38},
        {"button type 0", [](D& d) { d.Draw_Button(0, 100, 100, false, false, false, 0, 0); }},
        {"button type 11", [](D& d) { d.Draw_Button(0, 100, 100, false, false, false, 11, 0); }},
        // Directions 1..10 are cells 24, 25, 30, 26, 22, 31, 29, 27, 28, 23 (11 to a row); others cell 20.
        {"direction 1", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 1); }, Sheet_General, 64, 64, 32, 32},
        {"direction 2", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 2); }, Sheet_General, 96, 64, 32, 32},
        {"direction 3", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 3); }, Sheet_General, 256, 64, 32, 32},
        {"direction 4", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 4); }, Sheet_General, 128, 64, 32, 32},
        {"direction 5", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 5); }, Sheet_General, 0, 64, 32, 32},
        {"direction 6", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 6); }, Sheet_General, 288, 64, 32, 32},
        {"direction 7", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 7); }, Sheet_General, 224, 64, 32, 32},
        {"direction 8", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 8); }, Sheet_General, 160, 64, 32, 32},
        {"direction 9", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 9); }, Sheet_General, 192, 64, 32, 32},
        {"direction 10", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 10); }, Sheet_General, 32, 64, 32, 32},
        {"direction 0", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 0); }, Sheet_General, 288, 32, 32, 32},
        {"direction 11", [](D& d) { d.Draw_Direction_Icon(0, 100, 100, 11); }, Sheet_General, 288, 32, 32,
         32},
        {"damage frame 2, 1 centred", [](D& d) { d.Draw_Damage_FX_Frame(0, 100, 100, true, 2, 1); },
         Sheet_Damage_FX, 32, 64, 32, 32, 111, 109},
        {"damage frame 1, 2", [](D& d) { d.Draw_Damage_FX_Frame(0, 100, 100, false, 1, 2); }, Sheet_Damage_FX,
         64, 32, 32, 32},
        {"damage frame 0, 0", [](D& d) { d.Draw_Damage_FX_Frame(0, 100, 100, false, 0, 0); }, Sheet_Damage_FX,
         0, 0, 32, 32},
        {"damage frame -1, 1", [](D& d) { d.Draw_Damage_FX_Frame(0, 100, 100, true, -1, 1); }},
        {"damage frame 0, -1", [](D& d) { d.Draw_Damage_FX_Frame(0, 100, 100, true, 0, -1); }},
        {"extra bitmap", [](D& d) { d.Draw_Extra_Bitmap(0, 100, 100, 1, 32, 64, 32, 32, false); },
         Coded_Extra, 32, 64, 32, 32},
        {"extra bitmap centred", [](D& d) { d.Draw_Extra_Bitmap(0, 100, 100, 1, 32, 64, 32, 32, true); },
         Coded_Extra, 32, 64, 32, 32, 111, 109},
        // (54 - 33) / 2 = 10 and (54 - 31) / 2 - 2 = 9: halves truncate.
        {"extra bitmap odd", [](D& d) { d.Draw_Extra_Bitmap(0, 100, 100, 1, 0, 0, 33, 31, true); },
         Coded_Extra, 0, 0, 33, 31, 110, 109},
        {"extra bitmap 0", [](D& d) { d.Draw_Extra_Bitmap(0, 100, 100, 0, 0, 0, 32, 32, false); }},
        {"extra bitmap 2", [](D& d) { d.Draw_Extra_Bitmap(0, 100, 100, 2, 0, 0, 32, 32, false); }},
        // Cells and positions come from data; none may reach outside a buffer or wrap around.
        {"terrain cell 400", [](D& d) { d.Draw_Terrain_Tile(0, 0, 0, 400); }},
        {"terrain cell 2^31 - 1", [](D& d) { d.Draw_Terrain_Tile(0, 0, 0, 2147483647); }},
        {"item at 2^31 - 8", [](D& d) { d.Draw_Item_Tile(0, 2147483640, 2147483640, true, 0); }},
        {"misc icon row 2^31 - 1", [](D& d) { d.Draw_Misc_Icon_Row(0, 0, 0, 2147483647); }},
        {"small icon -1", [](D& d) { d.Draw_Small_Icon(0, 0, 0, -1); }},
        {"spell container -1, 0", [](D& d) { d.Draw_Spell_Container(0, 0, 0, -1, 0); }},
        {"button -1", [](D& d) { d.Draw_Button(0, 0, 0, false, false, false, 2, -1); }},
        {"damage frame past 32 bits",
         [](D& d) { d.Draw_Damage_FX_Frame(0, 0, 0, false, 2147483647, 2147483647); }},
        {"extra bitmap at 2^31 - 1",
         [](D& d) { d.Draw_Extra_Bitmap(0, 0, 0, 1, 2147483647, 0, 32, 32, true); }},
    };
    // While drawing is suppressed only these draw.
    const std::set<std::string> unsuppressed = {"general icon 13", "cursor at 790", "cursor at the bottom",
                                                "cursor at 798"};
    for (const TCell_Case& c : cases)
        for (uint8_t suppressed : {0, 1}) {
            SCOPED_TRACE(std::string(c.What) + (suppressed ? ", suppressed" : ""));
            Object->Drawing_Suppressed = suppressed;
            Clear_Page();
            c.Draw(*Object);
            const bool drawn = !suppressed || unsuppressed.count(c.What) > 0;
            int32_t pixels = 0;
            const plat::TSurface& page = Surface(0);
            for (int32_t y = 0; y < page.Height; ++y)
                for (int32_t x = 0; x < page.Width; ++x) pixels += Raw(0, x, y) != 0;
            ASSERT_EQ(pixels, drawn ? c.Width * c.Height : 0);
            for (int32_t j = 0; drawn && j < c.Height; ++j)
                for (int32_t i = 0; i < c.Width; ++i)
                    ASSERT_EQ(Raw(0, c.X + i, c.Y + j), Code(c.Sheet, c.Source_X + i, c.Source_Y + j))
                        << i << "," << j;
        }
}

TEST_F(Display_Cells, BordersNeedTheirPlaceInTheTerrainSheet) {
    Object->Border_Slots.Clear();
    Clear_Page();
    Object->Draw_Border_Tile(0, 100, 100, 1);
    EXPECT_FALSE(Page_Has_Pixels());
}

TEST_F(Display_Cells, TheMaskCoversWhatTheFloorCellCovers) {
    // Cell 4 of these gen tiles is covered all over.
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{53, 0}, std::pair{0, 53}, std::pair{53, 53}})
        EXPECT_TRUE(Object->Is_Point_In_Tile_Mask(x, y)) << x << "," << y;
    for (const auto& [x, y] : {std::pair{54, 0}, std::pair{0, 54}, std::pair{-1, 0}, std::pair{0, -1}})
        EXPECT_FALSE(Object->Is_Point_In_Tile_Mask(x, y)) << x << "," << y;
}

TEST_F(Display_Cells, TheCursorNeedsItsFlag) {
    Object->Cursor_Enabled = 0;
    Clear_Page();
    Object->Draw_Mouse_Cursor(0, 40, 0, 799, 599);
    EXPECT_FALSE(Page_Has_Pixels());
}

TEST_F(Display_Cells, ButtonSizesAndColours) {
    const int32_t sizes[][3] = {{1, 23, 23},  {2, 51, 51},  {3, 18, 28},  {4, 38, 38},
                                {5, 38, 38},  {6, 200, 38}, {7, 200, 51}, {8, 51, 23},
                                {9, 224, 23}, {10, 38, 38}, {0, 0, 0},    {11, 0, 0}};
    for (const auto& s : sizes) {
        int32_t w = -1, h = -1;
        TDisplay_Object::Get_Button_Size(s[0], w, h);
        EXPECT_EQ(w, s[1]) << s[0];
        EXPECT_EQ(h, s[2]) << s[0];
    }
    // Colour values of the 32-bit page are 0x00RRGGBB.
    EXPECT_EQ(TDisplay_Object::Get_Color_From_RGB(0x332211), 0x112233u);
    EXPECT_EQ(TDisplay_Object::Get_Highlight_Color(), 0x0B1FB7u);
    EXPECT_EQ(TDisplay_Object::Get_Green_Color(), 0x00FF00u);
    EXPECT_EQ(TDisplay_Object::Get_White_Color(), 0xFFFFFFu);
    EXPECT_EQ(TDisplay_Object::Get_Black_Color(), 0u);
    EXPECT_EQ(TDisplay_Object::Get_Pink_Color(), 0xFF00FFu);
    EXPECT_EQ(TDisplay_Object::Get_Peach_Color(), 0xFFCB97u);
    EXPECT_EQ(TDisplay_Object::Get_Red_Color(), 0xFF0000u);
    int32_t x = 0, y = 0;
    TDisplay_Object::Get_Default_Offset(x, y);
    EXPECT_EQ(x * 100 + y, 707);
}

TEST_F(Display_Cells, OpaqueIconsCarryTheirBlackPixels) {
    // A general sheet with black at each cell's top-left pixel, over a white page.
    Write_Picture("Pictures/SysPics/gen.bmp", 352, 96,
                  [](int32_t x, int32_t y) { return x % 32 == 0 && y % 32 == 0 ? 0u : 0x808080u; });
    Object->Load_Graphics();
    gx_vbopen(0);
    Gx_Set_Color(0xFFFFFF);
    Gx_Fill_Page();
    Object->Draw_Direction_Icon(0, 100, 100, 5); // opaque: cell 22
    Object->Draw_General_Icon(0, 200, 100, false, 22);
    Object->Draw_General_Icon(0, 300, 100, true, 22);
    Object->Draw_Fixed_Icon_1(0, 400, 100); // keyed, like every cell but opaque icons
    EXPECT_EQ(Raw(0, 100, 100), 0u);
    EXPECT_EQ(Raw(0, 101, 100), 0x808080u);
    EXPECT_EQ(Raw(0, 200, 100), 0u);
    EXPECT_EQ(Raw(0, 300, 100), 0xFFFFFFu); // the keyed copy leaves the page
    EXPECT_EQ(Raw(0, 400, 100), 0xFFFFFFu);
    EXPECT_EQ(Raw(0, 401, 100), 0x808080u);
}

} // namespace
