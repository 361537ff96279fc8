// The developer screens' tests: the front-end fixture with the shipped interface sheets (the floor diamond
// of the tile mask among them) and the screens' own pictures, an empty current map whose terrains the test
// adds, and the page point of a square in the view.
#pragma once

#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Terrain.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassTile.h"
#include "tests/ui/FrontEndFixture.h"
#include "ui/DCGameScreen.h"

#include <filesystem>
#include <string>
#include <vector>

class TDev_Screen_Test : public TFront_End_Test {
protected:
    void SetUp() override {
        TFront_End_Test::SetUp();
        std::vector<std::string> pictures = {"Dlg_MapGen.bmp", "Dlg_Quests.bmp", "Dlg_SelectModule.bmp"};
        for (const char* sheet : Interface_File_Names) pictures.push_back(sheet);
        for (const std::string& picture : pictures) Copy_Shipped("Pictures/SysPics/" + picture);
        Display_Object()->Load_Graphics();
        Install_Current_Map(std::make_unique<TMap>());
        Set_Program_Arguments({});
    }
    void TearDown() override {
        Set_Program_Arguments({});
        Free_Tile_Classes();
        Free_Module_Class();
        TFront_End_Test::TearDown();
    }

    // A file or folder of the program folder the build assembles, copied into the test's own.
    void Copy_Shipped(const std::string& relative) {
        const std::filesystem::path to = std::filesystem::path(Folder.Path()) / relative;
        std::filesystem::create_directories(to.parent_path());
        std::filesystem::copy(std::filesystem::path(MURK_RUNTIME_DIR) / relative, to,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }

    // Terrains 1..n of the current map, named T1..Tn, with the categories given.
    void Add_Terrains(const std::vector<std::string>& categories) {
        TTerrain_List& list = Current_Map()->Terrain_List;
        for (const std::string& c : categories) {
            TTerrain terrain;
            terrain.Name = "T" + std::to_string(list.Count() + 1);
            terrain.Set_Categories(c);
            list.Add(terrain);
        }
    }
    uint16_t& Terrain_At(int32_t x, int32_t y) { return Current_Map()->Get_Square(x, y)->Terrain_Id; }
    // Every square's terrain, x-major.
    std::vector<uint16_t> Map_Terrains() {
        std::vector<uint16_t> ids;
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y) ids.push_back(Terrain_At(x, y));
        return ids;
    }

    // A page point on the floor diamond of the square's cell in the view at view_x, view_y: the middle of
    // the tile mask, which no neighbouring cell's diamond covers.
    bool Square_Point(int32_t map_x, int32_t map_y, int32_t view_x, int32_t view_y, int32_t& x, int32_t& y) {
        int64_t sum_x = 0, sum_y = 0, count = 0;
        const TDisplay_Object& display = *Display_Object();
        for (int32_t px = 0; px < Map_Cell_Side; ++px)
            for (int32_t py = 0; py < Map_Cell_Side; ++py)
                if (display.Is_Point_In_Tile_Mask(px, py)) sum_x += px, sum_y += py, ++count;
        if (count == 0) return false;
        for (int32_t n = 1; n <= Game_View_Rows; ++n)
            for (int32_t i = 1; i <= Game_View_Columns; ++i) {
                int32_t cx = 0, cy = 0, left = 0, top = 0;
                if (!View_Cell_To_Map(i, n, view_x, view_y, cx, cy) || cx != map_x || cy != map_y) continue;
                View_Cell_Position(i, n, left, top);
                x = left + static_cast<int32_t>(sum_x / count);
                y = top + static_cast<int32_t>(sum_y / count);
                return true;
            }
        return false;
    }
};
