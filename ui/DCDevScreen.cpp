#include "ui/DCDevScreen.h"

#include "core/MapMain.h"
#include "media/DisplayObject.h"
#include "platform/PathLayer.h"
#include "ui/DCGameScreen.h"

#include <algorithm>
#include <cctype>

namespace {

// The 54 x 54 box a view cell's pictures are drawn in.
constexpr int32_t Cell_Box = Map_Cell_Side;

bool Is_Switch(const std::string& argument, const std::string& word) {
    if (argument.size() != word.size() + 1 || argument[0] != '-') return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(argument[i + 1])) != word[i]) return false;
    return true;
}

// The square of view cell i, n, when it lies on the map and inside the window.
bool Cell_Square(int32_t i, int32_t n, int32_t view_x, int32_t view_y, int32_t& x, int32_t& y) {
    if (!View_Cell_To_Map(i, n, view_x, view_y, x, y)) return false;
    return x >= view_x && x < view_x + View_Size && y >= view_y && y < view_y + View_Size;
}

} // namespace

TDev_Screen_Switches Dev_Screen_Switches(const std::vector<std::string>& arguments) {
    TDev_Screen_Switches switches;
    for (const std::string& argument : arguments) {
        switches.Map_Gen = switches.Map_Gen || Is_Switch(argument, "mapgen");
        switches.Tile_Gen = switches.Tile_Gen || Is_Switch(argument, "tilegen");
        switches.Width_2 = switches.Width_2 || Is_Switch(argument, "width2");
        switches.Height_2 = switches.Height_2 || Is_Switch(argument, "height2");
    }
    return switches;
}

TDev_Screen Dev_Screen_Of(const TDev_Screen_Switches& switches) {
    if (switches.Map_Gen) return TDev_Screen::Map_Gen;
    if (switches.Tile_Gen) return TDev_Screen::Tile_Gen;
    return TDev_Screen::None;
}

int32_t Clamp_Dev_View(int32_t value) {
    return std::clamp(value, Dev_View_First, Dev_View_Last);
}

void Draw_Dev_View(int32_t page, int32_t view_x, int32_t view_y) {
    TDisplay_Object* display = Display_Object();
    TMap* map = Current_Map();
    if (!display || display->Drawing_Suppressed || !map) return;
    int32_t x = 0, y = 0, left = 0, top = 0;
    for (int32_t n = 1; n <= Game_View_Rows; ++n)
        for (int32_t i = 1; i <= Game_View_Columns; ++i) {
            if (!Cell_Square(i, n, view_x, view_y, x, y)) continue;
            View_Cell_Position(i, n, left, top);
            TMap_Square* square = map->Get_Square(x, y);
            if (!square) continue;
            square->Set_Seen(true);
            square->Draw_Plain(page, left, top);
            display->Draw_Highlight_Tile(page, left, top);
        }
}

bool Dev_View_Square_At(int32_t x, int32_t y, int32_t view_x, int32_t view_y, int32_t& map_x,
                        int32_t& map_y) {
    const TDisplay_Object* display = Display_Object();
    if (!display) return false;
    int32_t left = 0, top = 0, cell_x = 0, cell_y = 0;
    for (int32_t n = Game_View_Rows; n >= 1; --n)
        for (int32_t i = 1; i <= Game_View_Columns; ++i) {
            View_Cell_Position(i, n, left, top);
            if (x < left || x >= left + Cell_Box || y < top || y >= top + Cell_Box) continue;
            if (!display->Is_Point_In_Tile_Mask(x - left, y - top)) continue;
            if (!Cell_Square(i, n, view_x, view_y, cell_x, cell_y)) continue;
            map_x = cell_x;
            map_y = cell_y;
            return true;
        }
    return false;
}

std::vector<std::string> Folder_Entries_Containing(const std::string& folder, const std::string& text) {
    std::vector<std::string> entries;
    for (std::string& name : plat::List_Folder(folder))
        if (name.find(text) != std::string::npos) entries.push_back(std::move(name));
    std::sort(entries.begin(), entries.end());
    return entries;
}
