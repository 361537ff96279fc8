// The map generator after a dig of the shipped module, the tile editor with painted terrains, and the file
// chooser, drawn with the shipped pictures and the headless fixed-metric font and compared with their
// reference pictures by block means.
#include "generation/RndDigTileMap.h"
#include "tests/ui/DevScreenFixture.h"
#include "ui/DCDlgMapGen.h"
#include "ui/DCDlgSelectFile.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DCDlgTileGen.h"
#include "ui/DCList.h"

#include <gtest/gtest.h>

namespace {

class TDev_Screen_Frames : public TDev_Screen_Test {
protected:
    void SetUp() override {
        TDev_Screen_Test::SetUp();
        for (const char* shipped :
             {"Data", "Modules", "Sounds", "Pictures/Terrain", "Pictures/Items", "Pictures/Monsters"})
            Copy_Shipped(shipped);
        Set_Dig_Seed_Source([](int32_t) { return uint64_t{4242}; });
    }
    void TearDown() override {
        Set_Dig_Seed_Source(nullptr);
        TDev_Screen_Test::TearDown();
    }
    // Choose Module (its button at the screen's left, 91 above the bottom), the first module, OK.
    template <typename TScreen> void Choose_First_Module(TScreen& screen) {
        Click(screen.Left + 15, screen.Top + 600 - 86);
        TDC_Dlg_Select_Module* chooser = screen.Module_Chooser();
        ASSERT_NE(chooser, nullptr);
        Click(chooser->Left + 75, chooser->Top + 76);
        Click(chooser->Left + 260, chooser->Top + 437);
        ASSERT_EQ(screen.Module_Chooser(), nullptr);
    }
};

TEST_F(TDev_Screen_Frames, MapGeneratorAfterADig) {
    TDC_Dlg_MapGen screen;
    Open(screen, "Dlg MapGen");
    Choose_First_Module(screen);
    Click(screen.Left + 50, screen.Top + 15); // Barrow_Tiles.txt
    Click(screen.Left + 15, screen.Top + 600 - 43);
    ASSERT_EQ(Display_Object()->Drawing_Suppressed, 0);
    Click(screen.Left + 800 - 110, screen.Top + 110); // the window to the middle of the map
    Frame();
    const auto* title = Drawn("Генератор карт");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::vector<uint32_t>({uint32_t(Centre_X(*title) - screen.Left),
                                     uint32_t(Centre_Y(*title) - screen.Top), title->Rgb}),
              std::vector<uint32_t>({400, 33, 0xFFFFFF}));
    EXPECT_TRUE(Page_Matches("mapgen"));
}

TEST_F(TDev_Screen_Frames, TileEditorWithPaintedTerrains) {
    TDC_Dlg_TileGen screen;
    Open(screen, "Dlg TileGen");
    Choose_First_Module(screen);
    ASSERT_EQ(screen.File_List().Lines, (TString_List{"Barrow_Terrain.txt", "Village_Terrain.txt"}));
    // Nothing is chosen in the new list: Load Terrain loads nothing yet. A close of a chooser that is not
    // open is nothing either.
    Click(screen.Left + 15, screen.Top + 600 - 43);
    EXPECT_EQ(Current_Map()->Terrain_List.Count(), 0);
    screen.Kill_Child_Control("Dlg Select Module");
    screen.Kill_Child_Control("Dlg Select File");
    EXPECT_EQ(screen.File_List().Line_Count(), 2);
    Click(screen.Left + 50, screen.Top + 15);
    Click(screen.Left + 15, screen.Top + 600 - 43); // Button Load Terrain
    const int32_t count = Current_Map()->Terrain_List.Count();
    ASSERT_GE(count, 3);
    EXPECT_EQ(screen.Terrain_List().Get_Selected_Index(), 0);
    ASSERT_EQ(screen.Terrain_List().Line_Count(), count);
    for (int32_t x = 12; x <= 26; ++x)
        for (int32_t y = 12; y <= 26; ++y)
            Terrain_At(x, y) = static_cast<uint16_t>(x == 12 || y == 12 || x == 26 || y == 26 ? 2 : 1);
    Terrain_At(19, 19) = 3;
    Click(screen.Left + 800 - 150, screen.Top + 10 + 54 + 20); // terrain line 2
    ASSERT_EQ(screen.Terrain_List().Get_Selected_Index(), 2);
    Root.MouseMove(0, 400, 590); // off the lists: the selection shows, not the hover band
    Frame();
    // The title white and centred at (400, 33); the terrain names right of their pictures, 30 below the
    // line's top, the selected one in the highlight colour.
    const auto* title = Drawn("Редактор ячеек");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(std::vector<uint32_t>({uint32_t(Centre_X(*title) - screen.Left),
                                     uint32_t(Centre_Y(*title) - screen.Top), title->Rgb}),
              std::vector<uint32_t>({400, 33, 0xFFFFFF}));
    const TDC_List& terrains = screen.Terrain_List();
    for (int32_t line = 1; line <= 2; ++line) {
        const std::string& full = Current_Map()->Terrain_List.Terrain(line)->Name;
        const auto* name = Drawn(full.substr(0, full.find(' ') + 1)); // word by word, each with its space
        ASSERT_NE(name, nullptr) << line;
        EXPECT_EQ(
            std::vector<uint32_t>(
                {uint32_t(name->X - terrains.Left), uint32_t(name->Y - terrains.Top), name->Rgb}),
            std::vector<uint32_t>({60, uint32_t(54 * (line - 1) + 30), line == 2 ? 0x0B1FB7u : 0xFFFFFFu}))
            << line;
    }
    EXPECT_TRUE(Page_Matches("tilegen"));
}

TEST_F(TDev_Screen_Frames, FileChooser) {
    for (const char* name : {"Tile_1.txt", "Tile_2.txt", "Village_Rooms.txt"}) Folder.Write(name, "x");
    TDC_Dlg_SelectFile chooser;
    Open(chooser, "Dlg Select File");
    Click(chooser.Left + 83, chooser.Top + 68 + 18 + 5);
    Root.MouseMove(0, chooser.Left + 20, chooser.Top + 20); // off the list: the selection shows
    Frame();
    EXPECT_NE(Drawn("Выбор файла"), nullptr);
    EXPECT_TRUE(Page_Matches("select_file"));
}

} // namespace
