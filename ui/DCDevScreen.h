// What the two developer screens share: the command-line switches that start them instead of the main
// menu, the isometric view of a 15 x 15 window of the current map (the game screen's cell maths, drawn
// without sight, light or a player), the square under a point of that view, and the folder listings
// their file lists are filled from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The switches read from the command line: "-" and the word, in any ASCII letter case.
struct TDev_Screen_Switches {
    bool Map_Gen = false;  // "-mapgen"
    bool Tile_Gen = false; // "-tilegen"
    bool Width_2 = false;  // "-width2": the tile editor's area is 30 squares wide
    bool Height_2 = false; // "-height2": ... and 30 high
};
TDev_Screen_Switches Dev_Screen_Switches(const std::vector<std::string>& arguments);

// Which developer screen the command line starts; the map generator wins when both are asked for.
enum class TDev_Screen { None, Map_Gen, Tile_Gen };
TDev_Screen Dev_Screen_Of(const TDev_Screen_Switches& switches);

// The first square of the view window may lie anywhere from 1 to 185 on both axes.
constexpr int32_t Dev_View_First = 1;
constexpr int32_t Dev_View_Last = 185;
// Both screens open with the window at the corner of the tile editor's area.
constexpr int32_t Dev_View_Start = 12;
int32_t Clamp_Dev_View(int32_t value);

// The view of the window whose top-left square is view_x, view_y: every cell of the 31 rows of 15 whose
// square lies on the map and in the window is marked seen and drawn with all its layers, items and
// creature, then with the cell outline. Nothing while the display object suppresses drawing or without a
// display object or a map.
void Draw_Dev_View(int32_t page, int32_t view_x, int32_t view_y);

// The square under page point x, y of that view: lower rows first (they are drawn in front), the first
// cell whose 54 x 54 box holds the point, whose floor diamond covers it and whose square lies in the
// window. False when there is none.
bool Dev_View_Square_At(int32_t x, int32_t y, int32_t view_x, int32_t view_y, int32_t& map_x, int32_t& map_y);

// The names of a folder's entries (files and folders) that contain the text, letter case as written,
// sorted by name. Nothing when the folder cannot be read.
std::vector<std::string> Folder_Entries_Containing(const std::string& folder, const std::string& text);
