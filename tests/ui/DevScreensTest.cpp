// The developer screens driven as the window drives them: switches, the view's picking and limits,
// painting, memory slots, saving and loading tiles, the file chooser, and the map generator's overview,
// module choice and generation.
#include "core/DisplaySeam.h"
#include "core/Messages.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "generation/RndDigTileMap.h"
#include "platform/FileOps.h"
#include "tests/ui/DevScreenFixture.h"
#include "ui/DCDevScreen.h"
#include "ui/DCDlgMapGen.h"
#include "ui/DCDlgSelectFile.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DCDlgTileGen.h"
#include "ui/DCGameScreen.h"
#include "ui/DCList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint16_t Vk_Left = 37, Vk_Up = 38, Vk_Right = 39, Vk_Down = 40, Vk_F3 = 114, Vk_F4 = 115;

TEST(Dev_Screen_Switches, DashAndWordInAnyCaseAndTheGeneratorWins) {
    const struct {
        std::vector<std::string> Arguments;
        TDev_Screen Screen;
        bool Width_2, Height_2;
    } cases[] = {
        {{}, TDev_Screen::None, false, false},
        {{"-MapGen"}, TDev_Screen::Map_Gen, false, false},
        {{"-tilegen", "-MAPGEN"}, TDev_Screen::Map_Gen, false, false},
        {{"-TileGen", "-Width2"}, TDev_Screen::Tile_Gen, true, false},
        {{"-tilegen", "-HEIGHT2"}, TDev_Screen::Tile_Gen, false, true},
        {{"tilegen", "/tilegen", "-tilegens", "--tilegen", "-width"}, TDev_Screen::None, false, false},
        {{"-xilegen", "-napgen", "-qidth2", "-beight2"}, TDev_Screen::None, false, false},
    };
    for (const auto& c : cases) {
        const TDev_Screen_Switches switches = Dev_Screen_Switches(c.Arguments);
        EXPECT_EQ(Dev_Screen_Of(switches), c.Screen) << ::testing::PrintToString(c.Arguments);
        EXPECT_EQ(switches.Width_2, c.Width_2) << ::testing::PrintToString(c.Arguments);
        EXPECT_EQ(switches.Height_2, c.Height_2) << ::testing::PrintToString(c.Arguments);
    }
}

// Where each control of the two screens sits on the 800 x 600 picture: x, y from the corner, width, height.
TEST_F(TDev_Screen_Test, TheControlsSitOnThePicture) {
    using TRect = std::vector<int32_t>;
    const auto layout = [](const TDisplay_Class& d) {
        std::map<std::string, TRect> rects;
        for (int32_t n = 1; n <= d.Child_Count(); ++n) {
            const TDisplay_Class& c = *d.Child(n);
            rects[c.Name] = {c.Left - d.Left, c.Top - d.Top, c.Width, c.Height};
        }
        return rects;
    };
    TDC_Dlg_TileGen tiles;
    Open(tiles, "Dlg TileGen");
    EXPECT_EQ(layout(tiles), (std::map<std::string, TRect>{{"Close Button", {770, 566, 23, 23}},
                                                           {"File List", {10, 10, 220, 200}},
                                                           {"Terrain List", {590, 10, 220, 200}},
                                                           {"Button Load Terrain", {10, 552, 200, 38}},
                                                           {"Button Choose Module", {10, 509, 200, 38}},
                                                           {"Button Load Tile", {566, 509, 200, 38}},
                                                           {"Button Save Tile", {566, 552, 200, 38}}}));
    TDC_Dlg_MapGen maps;
    Open(maps, "Dlg MapGen");
    EXPECT_EQ(layout(maps), (std::map<std::string, TRect>{{"Close Button", {770, 570, 23, 23}},
                                                          {"File List", {10, 10, 200, 200}},
                                                          {"Button Choose Module", {10, 509, 200, 38}},
                                                          {"Button Generate", {10, 552, 200, 38}}}));
    // The file lists take 16 lines, the terrain list a picture's height a line.
    EXPECT_EQ(std::vector<int32_t>({tiles.File_List().Line_Height, tiles.Terrain_List().Line_Height,
                                    maps.File_List().Line_Height}),
              std::vector<int32_t>({12, 54, 12}));
}

class TTile_Gen_Test : public TDev_Screen_Test {
protected:
    std::unique_ptr<TDC_Dlg_TileGen> Open_Tile_Gen(std::vector<std::string> arguments = {}) {
        Set_Program_Arguments(std::move(arguments));
        auto dialog = std::make_unique<TDC_Dlg_TileGen>();
        Open(*dialog, "Dlg TileGen");
        return dialog;
    }
    // A press and release on the square's cell, with the buttons' shift bits a window would add.
    void Press_Square(const TDC_Dlg_TileGen& d, int32_t map_x, int32_t map_y, int32_t button,
                      int32_t shift = 0) {
        int32_t x = 0, y = 0;
        ASSERT_TRUE(Square_Point(map_x, map_y, d.View_X(), d.View_Y(), x, y));
        Root.MouseDown(button, shift | (button == Mouse_Button_Left ? Shift_Left : Shift_Right), x, y);
        Root.MouseUp(button, shift, x, y, false);
    }
    void Drag_Over(const TDC_Dlg_TileGen& d, int32_t map_x, int32_t map_y, int32_t shift) {
        int32_t x = 0, y = 0;
        ASSERT_TRUE(Square_Point(map_x, map_y, d.View_X(), d.View_Y(), x, y));
        Root.MouseMove(shift, x, y);
    }
    void Click_Button(const TDC_Dlg_TileGen& d, const std::string& name) {
        for (int32_t n = 1; n <= d.Child_Count(); ++n)
            if (d.Child(n)->Name == name) return Click(d.Child(n)->Left + 5, d.Child(n)->Top + 5);
        ADD_FAILURE() << "no " << name;
    }
    // The value of the key's line in a written tile file.
    static std::string Value_Of(const std::string& text, const std::string& key) {
        const std::string start = key + std::string(44 - key.size(), ' ') + ":= ";
        const size_t at = text.find(start);
        if (at == std::string::npos) return "(missing)";
        const size_t from = at + start.size();
        return text.substr(from, text.find('\n', from) - from);
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Folder.File(name)); }
};

// Over the middle of each cell's diamond the view answers the cell's square when it lies in the 15 x 15
// window and on the map, and nothing otherwise (the cells of the view's corners, past its edges, off the
// map).
TEST_F(TTile_Gen_Test, EverySquareOfTheWindowIsFoundUnderItsCellAndNoOther) {
    int64_t sum_x = 0, sum_y = 0, count = 0;
    for (int32_t px = 0; px < Map_Cell_Side; ++px)
        for (int32_t py = 0; py < Map_Cell_Side; ++py)
            if (Display_Object()->Is_Point_In_Tile_Mask(px, py)) sum_x += px, sum_y += py, ++count;
    ASSERT_GT(count, 0);
    for (const auto& [view_x, view_y] : {std::pair{12, 12}, std::pair{1, 1}, std::pair{185, 185}}) {
        int32_t found_in_window = 0;
        for (int32_t n = 1; n <= Game_View_Rows; ++n)
            for (int32_t i = 1; i <= Game_View_Columns; ++i) {
                int32_t map_x = 0, map_y = 0, left = 0, top = 0, found_x = 0, found_y = 0;
                const bool on_map = View_Cell_To_Map(i, n, view_x, view_y, map_x, map_y);
                View_Cell_Position(i, n, left, top);
                const bool in_window = on_map && map_x >= view_x && map_x < view_x + 15 && map_y >= view_y &&
                                       map_y < view_y + 15;
                const int32_t x = left + static_cast<int32_t>(sum_x / count),
                              y = top + static_cast<int32_t>(sum_y / count);
                ASSERT_EQ(Dev_View_Square_At(x, y, view_x, view_y, found_x, found_y), in_window)
                    << map_x << "," << map_y << " in the view at " << view_x << "," << view_y;
                if (!in_window) continue;
                EXPECT_EQ(std::pair(found_x, found_y), std::pair(map_x, map_y));
                ++found_in_window;
            }
        EXPECT_EQ(found_in_window, 15 * 15);
        // The top corner of the view.
        int32_t found_x = 0, found_y = 0;
        EXPECT_FALSE(Dev_View_Square_At(30, 150, view_x, view_y, found_x, found_y));
    }
}

// The view draws each square of the window once, in its cell, and marks it seen; nothing else. A display
// object that suppresses drawing, or none at all, draws and finds nothing.
TEST_F(TTile_Gen_Test, TheViewDrawsTheWindowsSquaresInTheirCells) {
    Add_Terrains({"floor"});
    TTerrain& floor = *Current_Map()->Terrain_List.Terrain(1);
    floor.Picture_L1 = "floor.bmp";
    floor.Picture_Index_L1 = 5;
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) Terrain_At(x, y) = 1;
    auto world = std::make_shared<TRecording_Display_Sink>();
    const std::shared_ptr<TDisplay_Sink> before = Install_Display_Sink(world);
    const auto seen = [] {
        std::vector<std::pair<int32_t, int32_t>> squares;
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y)
                if (Current_Map()->Get_Square(x, y)->Is_Seen()) squares.emplace_back(x, y);
        return squares;
    };
    for (const auto& [view_x, view_y] : {std::pair{12, 12}, std::pair{1, 1}, std::pair{185, 185}}) {
        SCOPED_TRACE(std::to_string(view_x) + "," + std::to_string(view_y));
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y) Current_Map()->Get_Square(x, y)->Set_Seen(false);
        TRecording_Display_Sink expected;
        std::vector<std::pair<int32_t, int32_t>> window;
        for (int32_t n = 1; n <= Game_View_Rows; ++n)
            for (int32_t i = 1; i <= Game_View_Columns; ++i) {
                int32_t map_x = 0, map_y = 0, left = 0, top = 0;
                if (!View_Cell_To_Map(i, n, view_x, view_y, map_x, map_y) || map_x < view_x ||
                    map_x >= view_x + 15 || map_y < view_y || map_y >= view_y + 15)
                    continue;
                View_Cell_Position(i, n, left, top);
                expected.Draw_Terrain_Tile(0, left, top, 5);
                window.emplace_back(map_x, map_y);
            }
        std::sort(window.begin(), window.end());
        world->Calls.clear();
        Draw_Dev_View(0, view_x, view_y);
        EXPECT_EQ(world->Calls, expected.Calls);
        EXPECT_EQ(seen(), window);
    }
    Display_Object()->Drawing_Suppressed = 1;
    world->Calls.clear();
    Draw_Dev_View(0, 50, 50);
    Display_Object()->Drawing_Suppressed = 0;
    EXPECT_TRUE(world->Calls.empty());
    EXPECT_FALSE(Current_Map()->Get_Square(50, 50)->Is_Seen());
    Install_Display_Sink(before);
}

TEST_F(TTile_Gen_Test, TheViewStaysOnTheArea) {
    const struct {
        std::vector<std::string> Arguments;
        uint16_t Key;
        int32_t X, Y; // after 20 presses
    } cases[] = {
        {{}, Vk_Right, 12, 12},
        {{}, Vk_Down, 12, 12},
        {{"-width2"}, Vk_Right, 27, 12},
        {{"-width2"}, Vk_Down, 12, 12},
        {{"-height2"}, Vk_Down, 12, 27},
        {{"-width2", "-height2"}, Vk_Left, 12, 12},
        {{"-width2", "-height2"}, Vk_Up, 12, 12},
    };
    for (const auto& c : cases) {
        auto d = Open_Tile_Gen(c.Arguments);
        for (int i = 0; i < 20; ++i) Key(c.Key);
        EXPECT_EQ(std::pair(d->View_X(), d->View_Y()), std::pair(c.X, c.Y))
            << ::testing::PrintToString(c.Arguments) << " key " << c.Key;
        // And back: the lower limit is the area's first square.
        for (int i = 0; i < 20; ++i) Key(c.Key == Vk_Right ? Vk_Left : c.Key == Vk_Down ? Vk_Up : c.Key);
        EXPECT_EQ(std::pair(d->View_X(), d->View_Y()), std::pair(12, 12));
    }
}

TEST_F(TTile_Gen_Test, ButtonsPaintEraseAndPick) {
    Add_Terrains({"floor", "wall", "water"});
    auto d = Open_Tile_Gen();
    d->Terrain_List().Set_Selected_Index(2);
    Press_Square(*d, 12, 12, Mouse_Button_Left);
    EXPECT_EQ(Terrain_At(12, 12), 2);
    Drag_Over(*d, 13, 12, Shift_Left);
    EXPECT_EQ(Terrain_At(13, 12), 2);
    Drag_Over(*d, 14, 12, 0); // no button held
    EXPECT_EQ(Terrain_At(14, 12), 0);

    Terrain_At(20, 21) = 3;
    Press_Square(*d, 20, 21, Mouse_Button_Left, Shift_Ctrl);
    EXPECT_EQ(Terrain_At(20, 21), 3);
    EXPECT_EQ(d->Terrain_List().Get_Selected_Index(), 3);
    EXPECT_EQ(d->Terrain_List().Get_Top_Index(), 3);
    // The first terrain scrolls the list back to the top; an empty square only clears the selection.
    Terrain_At(22, 21) = 1;
    Press_Square(*d, 22, 21, Mouse_Button_Left, Shift_Ctrl);
    EXPECT_EQ(std::pair(d->Terrain_List().Get_Selected_Index(), d->Terrain_List().Get_Top_Index()),
              std::pair(1, 1));
    Press_Square(*d, 23, 21, Mouse_Button_Left, Shift_Ctrl);
    EXPECT_EQ(std::pair(d->Terrain_List().Get_Selected_Index(), d->Terrain_List().Get_Top_Index()),
              std::pair(0, 1));
    EXPECT_EQ(Terrain_At(23, 21), 0);

    Drag_Over(*d, 13, 12, Shift_Right);
    EXPECT_EQ(Terrain_At(13, 12), 0);
    Press_Square(*d, 12, 12, Mouse_Button_Right);
    EXPECT_EQ(Terrain_At(12, 12), 0);
    // Nothing selected paints the empty terrain.
    d->Terrain_List().Set_Selected_Index(0);
    Press_Square(*d, 20, 21, Mouse_Button_Left);
    EXPECT_EQ(Terrain_At(20, 21), 0);
    Terrain_At(21, 21) = 3;
    Drag_Over(*d, 21, 21, Shift_Left);
    EXPECT_EQ(Terrain_At(21, 21), 0);

    // Behind the open file chooser the area takes no paint.
    d->Terrain_List().Set_Selected_Index(1);
    Click_Button(*d, "Button Load Tile");
    ASSERT_NE(d->File_Chooser(), nullptr);
    Press_Square(*d, 19, 19, Mouse_Button_Left);
    EXPECT_EQ(Terrain_At(19, 19), 0);
    Key(27);
    EXPECT_EQ(d->File_Chooser(), nullptr);
    Press_Square(*d, 19, 19, Mouse_Button_Left);
    EXPECT_EQ(Terrain_At(19, 19), 1);
}

TEST_F(TTile_Gen_Test, CtrlFunctionKeysKeepTheAreaAndPlainOnesPutItBack) {
    Add_Terrains({"floor", "wall", "water"});
    auto d = Open_Tile_Gen();
    Terrain_At(12, 12) = 1;
    Terrain_At(26, 26) = 2;
    for (const auto& [x, y] : {std::pair{27, 27}, std::pair{20, 27}, std::pair{27, 20}, std::pair{11, 20}})
        Terrain_At(x, y) = 3; // outside the area
    Key(Vk_F3, Shift_Ctrl);
    Terrain_At(12, 12) = 3;
    Key(Vk_F3);
    EXPECT_EQ(Terrain_At(12, 12), 1);
    EXPECT_EQ(Terrain_At(26, 26), 2);
    Key(Vk_F4); // a slot never filled empties the area
    EXPECT_EQ(Terrain_At(12, 12), 0);
    EXPECT_EQ(Terrain_At(26, 26), 0);
    for (const auto& [x, y] : {std::pair{27, 27}, std::pair{20, 27}, std::pair{27, 20}, std::pair{11, 20}})
        EXPECT_EQ(Terrain_At(x, y), 3) << x << "," << y;

    // F1 to F10 are ten slots of their own; F11 and F12 are none.
    constexpr uint16_t Vk_F1 = 112;
    for (uint16_t k = 0; k < 10; ++k) {
        Terrain_At(12, 12) = static_cast<uint16_t>(k + 1);
        Key(Vk_F1 + k, Shift_Ctrl);
    }
    for (uint16_t key : {uint16_t(Vk_F1 + 10), uint16_t(Vk_F1 + 11)}) {
        Terrain_At(12, 12) = 2;
        Key(key, Shift_Ctrl);
        Terrain_At(12, 12) = 3;
        Key(key);
        EXPECT_EQ(Terrain_At(12, 12), 3) << key;
    }
    for (uint16_t k = 0; k < 10; ++k) {
        Key(Vk_F1 + k);
        EXPECT_EQ(Terrain_At(12, 12), k + 1) << "F" << k + 1;
    }
}

TEST_F(TTile_Gen_Test, ALargeAreaIsSavedAsFourGroupedSectionsSkippingTakenNames) {
    Add_Terrains({"one", "two", "three", "four"});
    Folder.Write("Tile_2.txt", "a designer's own file");
    auto d = Open_Tile_Gen({"-width2", "-height2"});
    for (int32_t sx = 1; sx <= 2; ++sx)
        for (int32_t sy = 1; sy <= 2; ++sy)
            Terrain_At(12 + (sx - 1) * 15, 12 + (sy - 1) * 15) = static_cast<uint16_t>((sx - 1) * 2 + sy);
    Click_Button(*d, "Button Save Tile");

    const struct {
        const char* File;
        const char* X;
        const char* Y;
        const char* Category;
    } expected[] = {{"Tile_1.txt", "1", "1", "one"},
                    {"Tile_3.txt", "1", "2", "two"},
                    {"Tile_4.txt", "2", "1", "three"},
                    {"Tile_5.txt", "2", "2", "four"}};
    for (const auto& e : expected) {
        ASSERT_TRUE(Exists(e.File)) << e.File;
        const std::string text = Folder.Read(e.File);
        EXPECT_EQ(Value_Of(text, "Tile Section Width"), "2") << e.File;
        EXPECT_EQ(Value_Of(text, "Tile Section Height"), "2") << e.File;
        EXPECT_EQ(Value_Of(text, "Tile Section Position X"), e.X) << e.File;
        EXPECT_EQ(Value_Of(text, "Tile Section Position Y"), e.Y) << e.File;
        EXPECT_EQ(Value_Of(text, "Tile Section Group ID"), "1") << e.File;
        EXPECT_EQ(Value_Of(text, "Tile Row 1"), "aNNNNNNNNNNNNNN") << e.File;
        EXPECT_EQ(Value_Of(text, "Identifier 2 Terrain Category"), e.Category) << e.File;
    }
    EXPECT_EQ(Folder.Read("Tile_2.txt"), "a designer's own file");
    EXPECT_FALSE(Exists("Tile_6.txt"));
    EXPECT_TRUE(Messages->Messages.empty());
}

TEST_F(TTile_Gen_Test, ASavedTileLoadsBackThroughTheChooser) {
    // 2 and 3 carry the same categories: a symbol of either reads back as the higher id.
    Add_Terrains({"floor", "stone, wall", "wall, stone", "water"});
    auto d = Open_Tile_Gen();
    const auto painted = [](int32_t x, int32_t y) { return static_cast<uint16_t>((x * 3 + y) % 5); };
    for (int32_t x = 12; x <= 26; ++x)
        for (int32_t y = 12; y <= 26; ++y) Terrain_At(x, y) = painted(x, y);
    EXPECT_TRUE(d->Save_Tiles());
    ASSERT_TRUE(Exists("Tile_1.txt"));
    for (int32_t x = 12; x <= 26; ++x)
        for (int32_t y = 12; y <= 26; ++y) Terrain_At(x, y) = 0;

    Click_Button(*d, "Button Load Tile");
    TDC_Dlg_SelectFile* chooser = d->File_Chooser();
    ASSERT_NE(chooser, nullptr);
    ASSERT_EQ(chooser->File_List().Line_Count(), 1);
    Click(chooser->Left + 43 + 40, chooser->Top + 68 + 5);
    Click(chooser->Left + 271 + 5, chooser->Top + 449 + 5);
    EXPECT_EQ(d->File_Chooser(), nullptr);
    for (int32_t x = 12; x <= 26; ++x)
        for (int32_t y = 12; y <= 26; ++y) {
            const uint16_t want = painted(x, y) == 2 ? 3 : painted(x, y);
            ASSERT_EQ(Terrain_At(x, y), want) << x << "," << y;
        }
    // "N" squares are not set: over a filled area they keep what was there.
    for (int32_t x = 12; x <= 26; ++x)
        for (int32_t y = 12; y <= 26; ++y) Terrain_At(x, y) = 4;
    d->Load_Tile("Tile_1.txt");
    EXPECT_EQ(Terrain_At(12, 14), 4); // painted 0 (50 % 5)
    EXPECT_EQ(Terrain_At(12, 12), 3); // painted 3 (48 % 5)
}

TEST_F(TTile_Gen_Test, OversizedAndGarbageFilesChangeNothingOutsideTheArea) {
    Add_Terrains({"floor", "water"});
    std::string big = "Identifier 1 Symbol := w\nIdentifier 1 Terrain Category := water\n";
    for (int32_t r = 1; r <= 210; ++r)
        big += "Tile Row " + std::to_string(r) + " := " + std::string(210, 'w') + "\n";
    Folder.Write("Big.txt", big);
    static const char garbage[] = "\x00\xff\xfe:=\nTile Row := \x80\x81\nIdentifier Symbol := \xff\n:=";
    Folder.Write("Garbage.txt", std::string(garbage, sizeof garbage - 1));
    Folder.Make_Folder("sub");
    for (const bool wide : {false, true}) {
        Install_Current_Map(std::make_unique<TMap>());
        Add_Terrains({"floor", "water"});
        for (int32_t x = 1; x <= 200; x += 7)
            for (int32_t y = 1; y <= 200; y += 5) Terrain_At(x, y) = 1;
        auto d = Open_Tile_Gen(wide ? std::vector<std::string>{"-width2", "-height2"}
                                    : std::vector<std::string>{});
        const int32_t last = wide ? 41 : 26;
        const std::vector<uint16_t> before = Map_Terrains();
        d->Load_Tile("Garbage.txt");
        EXPECT_EQ(Map_Terrains(), before);
        d->Load_Tile("../Big.txt");
        EXPECT_EQ(Map_Terrains(), before);
        d->Load_Tile("sub/../Big.txt"); // the file is there, but the name leaves the folder on its way
        EXPECT_EQ(Map_Terrains(), before);
        d->Load_Tile("Big.txt");
        for (int32_t x = 1; x <= 200; ++x)
            for (int32_t y = 1; y <= 200; ++y) {
                const bool inside = x >= 12 && x <= last && y >= 12 && y <= last;
                const uint16_t want = inside ? 2 : before[static_cast<size_t>((x - 1) * 200 + y - 1)];
                ASSERT_EQ(Terrain_At(x, y), want) << x << "," << y << (wide ? " wide" : "");
            }
    }
}

TEST_F(TTile_Gen_Test, AFailedSaveIsReportedAndTheEditorGoesOn) {
    Add_Terrains({"floor"});
    const struct {
        const char* Name;
        bool Many_Terrains;
        std::string Text;
    } cases[] = {
        {"unwritable", false, "Unable to save tile file \"" + Folder.File("Tile_1.txt") + "\"."},
        {"too many terrains", true,
         "Unable to save tiles: a 15 x 15 section holds more than 88 different terrains."},
    };
    for (const auto& c : cases) {
        Messages->Messages.clear();
        auto d = Open_Tile_Gen();
        for (int32_t i = 0; i < 100; ++i)
            Terrain_At(12 + i % 15, 12 + i / 15) = c.Many_Terrains ? static_cast<uint16_t>(i + 1) : 1;
        if (!c.Many_Terrains)
            plat::Set_Write_Fault(plat::TWrite_Fault{"Tile_1", plat::TWrite_Step::Write, 10});
        EXPECT_FALSE(d->Save_Tiles()) << c.Name;
        plat::Set_Write_Fault(std::nullopt);
        ASSERT_EQ(Messages->Messages.size(), 1u) << c.Name;
        EXPECT_EQ(Messages->Messages[0].Caption, "Error");
        EXPECT_EQ(Messages->Messages[0].Text, c.Text);
        EXPECT_FALSE(Exists("Tile_1.txt")) << c.Name;
        EXPECT_FALSE(d->Kill);
    }
    // Without a map there is nothing to save.
    auto d = Open_Tile_Gen();
    Install_Current_Map(nullptr);
    EXPECT_FALSE(d->Save_Tiles());
    EXPECT_FALSE(Exists("Tile_1.txt"));
}

TEST_F(TTile_Gen_Test, TheChooserListsTextFilesAndNeedsASelection) {
    for (const char* name : {"b.txt", "A.txt", "c.TXT", "notes.txt.bak", "readme.md"})
        Folder.Write(name, "x");
    Folder.Make_Folder("dir.txt");
    {
        TDC_Dlg_SelectFile chooser;
        Open(chooser, "Dlg Select File");
        EXPECT_EQ(chooser.File_List().Lines, (TString_List{"A.txt", "b.txt"}));
        Click(chooser.Left + 271 + 5, chooser.Top + 449 + 5); // OK with nothing selected
        EXPECT_FALSE(chooser.Kill);
        Click(chooser.Left + 43 + 40, chooser.Top + 68 + 18 + 5);
        Key(81); // Q
        EXPECT_TRUE(chooser.Kill);
        EXPECT_EQ(chooser.Get_File_Name(), "");
        Root.m_Delete_Child_Control(1);
    }
    {
        TDC_Dlg_SelectFile chooser;
        Open(chooser, "Dlg Select File");
        Click(chooser.Left + 43 + 40, chooser.Top + 68 + 18 + 5);
        Click(chooser.Left + 271 + 5, chooser.Top + 449 + 5);
        EXPECT_TRUE(chooser.Kill);
        EXPECT_EQ(chooser.Get_File_Name(), "b.txt");
        Root.m_Delete_Child_Control(1);
    }
    {
        TDC_Dlg_SelectFile chooser;
        Open(chooser, "Dlg Select File");
        Click(chooser.Left + 43 + 40, chooser.Top + 68 + 5);
        Click(chooser.Left + 327 + 5, chooser.Top + 449 + 5); // Cancel
        EXPECT_TRUE(chooser.Kill);
        EXPECT_EQ(chooser.Get_File_Name(), "");
        Root.m_Delete_Child_Control(1);
    }
}

class TMap_Gen_Test : public TDev_Screen_Test {
protected:
    void SetUp() override {
        TDev_Screen_Test::SetUp();
        for (const char* shipped :
             {"Data", "Modules", "Sounds", "Pictures/Terrain", "Pictures/Items", "Pictures/Monsters"})
            Copy_Shipped(shipped);
        Set_Dig_Seed_Source(
            [](int32_t map_index) { return uint64_t{1000} + static_cast<uint64_t>(map_index); });
        Messages->Messages.clear();
        Messages->Error_Lists.clear();
    }
    void TearDown() override {
        Set_Dig_Seed_Source(nullptr);
        TDev_Screen_Test::TearDown();
    }
    // Choose Module, the first module, OK.
    void Choose_First_Module(TDC_Dlg_MapGen& d) {
        Click(d.Left + 10 + 5, d.Top + 600 - 91 + 5);
        TDC_Dlg_Select_Module* chooser = d.Module_Chooser();
        ASSERT_NE(chooser, nullptr);
        Click(chooser->Left + 35 + 40, chooser->Top + 68 + 8);
        Click(chooser->Left + 255 + 5, chooser->Top + 432 + 5);
        ASSERT_EQ(d.Module_Chooser(), nullptr);
    }
    // Line n of the file list, then Generate.
    void Generate_Line(TDC_Dlg_MapGen& d, int32_t n) {
        Click(d.Left + 10 + 40, d.Top + 10 + 12 * (n - 1) + 5);
        Click(d.Left + 10 + 5, d.Top + 600 - 48 + 5);
    }
    int32_t Squares_With_Terrain() {
        int32_t count = 0;
        for (const uint16_t id : Map_Terrains()) count += id > 0 ? 1 : 0;
        return count;
    }
};

TEST_F(TMap_Gen_Test, TheOverviewAndTheArrowsMoveTheWindowWithinTheMap) {
    TDC_Dlg_MapGen d;
    Open(d, "Dlg MapGen");
    EXPECT_EQ(std::pair(d.View_X(), d.View_Y()), std::pair(12, 12));
    const int32_t right = d.Left + 800, top = d.Top;
    const struct {
        int32_t X, Y;
        int32_t View_X, View_Y;
    } clicks[] = {{right - 110, top + 110, 93, 93},  {right - 210, top + 10, 1, 1},
                  {right - 10, top + 210, 185, 185}, {right - 20, top + 30, 183, 13},
                  {right - 211, top + 100, 183, 13}, {right - 100, top + 211, 183, 13},
                  {right - 9, top + 100, 183, 13},   {right - 100, top + 9, 183, 13}};
    for (const auto& c : clicks) {
        Click(c.X, c.Y);
        EXPECT_EQ(std::pair(d.View_X(), d.View_Y()), std::pair(c.View_X, c.View_Y)) << c.X << "," << c.Y;
    }
    // Each arrow moves the window one square.
    const struct {
        uint16_t Key;
        int32_t View_X, View_Y;
    } steps[] = {{Vk_Right, 184, 13}, {Vk_Left, 183, 13}, {Vk_Down, 183, 14}, {Vk_Up, 183, 13}};
    for (const auto& s : steps) {
        Key(s.Key);
        EXPECT_EQ(std::pair(d.View_X(), d.View_Y()), std::pair(s.View_X, s.View_Y)) << s.Key;
    }
    for (int i = 0; i < 3; ++i) Key(Vk_Right);
    for (int i = 0; i < 3; ++i) Key(Vk_Up);
    EXPECT_EQ(std::pair(d.View_X(), d.View_Y()), std::pair(185, 10));
    Click(right - 210, top + 10);
    Key(Vk_Left);
    Key(Vk_Up);
    EXPECT_EQ(std::pair(d.View_X(), d.View_Y()), std::pair(1, 1));
    Key(Vk_Down);
    EXPECT_EQ(std::pair(d.View_X(), d.View_Y()), std::pair(1, 2));
}

// The overview in the top right corner shows each square as one pixel of its terrain's overview colour,
// from (589, 9) for square 0, 0, and the window the view shows as a white 15 x 15 outline.
TEST_F(TMap_Gen_Test, TheOverviewShowsTheMapAndTheWindow) {
    TTerrain moss;
    moss.Overview_Color = 90 + 140 * 256 + 60 * 65536;
    const uint16_t id = Current_Map()->Terrain_List.Add(moss);
    for (const auto& [x, y] : {std::pair{1, 1}, std::pair{200, 200}, std::pair{57, 3}, std::pair{13, 13}})
        Terrain_At(x, y) = id;
    TDC_Dlg_MapGen d;
    Open(d, "Dlg MapGen");
    Frame();
    const int32_t x0 = d.Left + 589, y0 = d.Top + 9;
    const auto pixel = [&](int32_t x, int32_t y) { return Raw(0, x0 + x, y0 + y) & 0xFFFFFF; };
    constexpr uint32_t Moss = 0x5A8C3C, White = 0xFFFFFF, Black = 0;
    const struct {
        int32_t X, Y;
        uint32_t Colour;
    } points[] = {{1, 1, Moss},      {200, 200, Moss}, {57, 3, Moss},   {2, 1, Black},   {1, 2, Black},
                  {199, 200, Black}, {13, 13, Moss},   {12, 12, White}, {26, 12, White}, {12, 26, White},
                  {26, 26, White},   {19, 12, White},  {12, 19, White}, {26, 19, White}, {19, 26, White},
                  {27, 19, Black},   {19, 27, Black},  {11, 19, Black}, {19, 11, Black}, {19, 19, Black}};
    for (const auto& p : points) EXPECT_EQ(pixel(p.X, p.Y), p.Colour) << p.X << "," << p.Y;
}

TEST_F(TMap_Gen_Test, GenerateDigsTheChosenTilesFileAndGivesEverythingBack) {
    TDC_Dlg_MapGen d;
    Open(d, "Dlg MapGen");
    // A chooser left with Escape, or the close of one that is not open, chooses nothing.
    d.Kill_Child_Control("Dlg Select Module");
    Click(d.Left + 10 + 5, d.Top + 600 - 91 + 5);
    ASSERT_NE(d.Module_Chooser(), nullptr);
    d.Kill_Child_Control("Dlg Select File");
    ASSERT_NE(d.Module_Chooser(), nullptr);
    Key(27);
    ASSERT_EQ(d.Module_Chooser(), nullptr);
    EXPECT_EQ(d.File_List().Line_Count(), 0);
    Choose_First_Module(d);
    EXPECT_EQ(d.File_List().Lines, (TString_List{"Barrow_Tiles.txt", "Village_Tiles.txt"}));
    Generate_Line(d, 1);
    EXPECT_GT(Squares_With_Terrain(), 10000);
    EXPECT_EQ(Current_Map()->Terrain_List.File_Name.find("Barrow_Terrain.txt") != std::string::npos, true)
        << Current_Map()->Terrain_List.File_Name;
    EXPECT_EQ(Display_Object()->Drawing_Suppressed, 0);
    EXPECT_GT(Tile_Classes().Count(), 0);
    EXPECT_EQ(Current_Monster_Class_List(), nullptr);
    EXPECT_EQ(Current_Item_Class_List(), nullptr);
    EXPECT_TRUE(Messages->Error_Lists.empty()) << Messages->Error_Lists[0].List.front();
    EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
}

TEST_F(TMap_Gen_Test, AMissingTilesFileDigsNothingAndLeavesTheViewDrawn) {
    TDC_Dlg_MapGen d;
    Open(d, "Dlg MapGen");
    Choose_First_Module(d);
    ASSERT_EQ(d.File_List().Line_Count(), 2);
    std::filesystem::remove(Folder.File("Modules/Barrowdeep/Tiles/Barrow_Tiles.txt"));
    Generate_Line(d, 1);
    EXPECT_EQ(Squares_With_Terrain(), 0);
    EXPECT_EQ(Current_Map()->Terrain_List.Count(), 0);
    EXPECT_EQ(Display_Object()->Drawing_Suppressed, 0);
    EXPECT_EQ(Tile_Classes().Count(), 0);
    EXPECT_EQ(Current_Monster_Class_List(), nullptr);
    EXPECT_EQ(Messages->Error_Lists.size(), 1u);
    // Without a selection Generate does nothing at all.
    d.File_List().Set_Selected_Index(0);
    Messages->Error_Lists.clear();
    d.Generate();
    EXPECT_TRUE(Messages->Error_Lists.empty());
}

} // namespace
