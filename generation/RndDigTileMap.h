// The map digger: generates one 200 x 200 level into the current map from the loaded tile classes and the
// module class data. It first lays tiles out on a coarse grid of cells, one tile per cell, growing a
// connected layout from the starting tiles; then it stamps the layout into squares and finishes and
// populates the level. The digger is not re-entrant: its working state is one context, reset by every dig
// and kept until the next one, so the layout can be examined after a dig.
#pragma once

#include "core/SaveStream.h"
#include "core/TypedLists.h"
#include "generation/RndClassTile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The generation parameters of the map being dug: the defaults below, replaced by the map's entry of the
// module class data, then grown with the difficulty and the character's starting level.
struct TDig_Parameters {
    std::string Tiles_File, Terrain_File, Item_Classes_File, Monster_Classes_File, Stores_File;
    uint16_t Chance_Group_Id = 1;
    int32_t Chance_Group_Index = 0; // the chance group resolved from the ID; 0 for none
    bool Place_Random_Items = true;
    std::string Item_Group_Filter;
    int32_t Items_Min = 20, Items_Max = 40;
    int32_t Item_Level_Min = 1, Item_Level_Max = 1;
    int32_t Magic_Item_Chance = 0, Unique_Item_Chance = 0;
    double Magic_Chance_Per_Start_Level = 0, Unique_Chance_Per_Start_Level = 0;
    int32_t Chest_Item_Chance = 0, Chest_Items_Min = 0, Chest_Items_Max = 0;
    bool Place_Random_Monsters = true;
    std::string Monster_Group_Filter;
    int32_t Monsters_Min = 20, Monsters_Max = 60;
    int32_t Monster_Groups_Min = 2, Monster_Groups_Max = 4;
    int32_t Monster_Level_Min = 1, Monster_Level_Max = 1;
    int32_t Monster_Modifier_Chance = 0;
    std::string Trap_Group_Name;
};

// One cell of the layout grid.
struct TDig_Cell {
    TSide_Set Sides{};          // the connection types of the tile placed here
    int32_t Tile = 0;           // its index in the tile table; 0 = empty
    bool Can_Be_Changed = true; // the resize and repair steps may replace the tile
    bool Starting = false;      // a starting tile
    int32_t Serial = 0;         // the placement that put it here; pieces of one section share it
};

// A cell's neighbour on a side, and the neighbour's side that faces the cell.
struct TNeighbour_Cell {
    int32_t X = 0, Y = 0;
    int32_t Side = 0;   // the cell's own side 1..4
    int32_t Facing = 0; // 1 <-> 3, 2 <-> 4
};
TNeighbour_Cell Get_Neighbour_Cell(int32_t x, int32_t y, int32_t side);

// A square of the map.
struct TSquare_Position {
    int32_t X = 0, Y = 0;
    bool operator==(const TSquare_Position&) const = default;
};

struct TDig_Context {
    int32_t Map_Index = 0;
    std::string Map_File_Name;
    TDig_Parameters Params;
    int32_t Cells_Across = 0, Cells_Down = 0; // the layout grid: cells 1..across x 1..down
    int32_t Serial = 0;                       // increased before every placement
    int32_t X0 = 0, Y0 = 0;                   // the square where cell (1, 1) begins
    // Picks of the last growth sweep that had candidates but whose roll chose none (a roll of 100 usually
    // does): a cell left empty for this reason is retried only by a later sweep.
    int32_t Last_Sweep_Missed_Picks = 0;
    std::vector<TDig_Cell> Cells; // (across + 1) x (down + 1), x-major; row and column 0 unused
    // The squares where random creatures and items may go, collected from the stamped tiles and shuffled.
    std::vector<TSquare_Position> Monster_Squares, Item_Squares;

    bool In_Grid(int32_t x, int32_t y) const {
        return x >= 1 && x <= Cells_Across && y >= 1 && y <= Cells_Down;
    }
    // Callers keep x, y in the grid.
    TDig_Cell& Cell(int32_t x, int32_t y) { return Cells[Cell_Index(x, y)]; }
    const TDig_Cell& Cell(int32_t x, int32_t y) const { return Cells[Cell_Index(x, y)]; }
    bool Occupied(int32_t x, int32_t y) const { return In_Grid(x, y) && Cell(x, y).Tile != 0; }
    int32_t Occupied_Count() const;
    // Sizes the grid to across x down cells, every one empty, changeable, not starting, serial 0.
    void Reset_Grid(int32_t across, int32_t down);

private:
    size_t Cell_Index(int32_t x, int32_t y) const {
        return static_cast<size_t>(x) * static_cast<size_t>(Cells_Down + 1) + static_cast<size_t>(y);
    }
};

// The digger's one context.
TDig_Context& Dig_Context();

// Where a dig takes the seed of the random generator: the clock unless a source is installed. Tests, the
// seed catalog and the benchmarks install a fixed function of the map index. An empty source restores the
// clock.
using TDig_Seed_Source = std::function<uint64_t(int32_t map_index)>;
void Set_Dig_Seed_Source(TDig_Seed_Source source);

// Digs the map into the current map. The three lists are cleared and receive one entry per tile entrance
// of the layout (entrance number in the tiles file, map x, map y). Problems are appended to errors as
// lines; the dig itself always completes. A map index outside the module class's maps digs with the
// defaults.
void Dig_Tile_Map(TWordList& entrance_ids, TWordList& entrance_xs, TWordList& entrance_ys, int32_t map_index,
                  const std::string& map_file_name, TString_List& errors);

// The steps of the dig, on the context and the tile table.
// Parameters: the defaults, the module class's map when there is one, difficulty and starting level.
void Set_Dig_Parameters(int32_t map_index);
void Place_Starting_Tiles(TString_List& errors);
void Place_Named_Tile(const std::string& name, int32_t x, int32_t y, bool any_tile, TString_List& errors);
void Add_Tiles_To_Empty_Map_Connections();
// required: the sides (non-zero bytes) the new tile must have open.
bool Add_Tile_To_Location(int32_t x, int32_t y, const TSide_Set& required);
void Set_Tile_At_Location(int32_t x, int32_t y, int32_t tile, bool can_be_changed, bool starting,
                          int32_t serial);
int32_t Find_Section_Tile(int32_t group, int32_t position_x, int32_t position_y);
bool Section_Tile_Fits(int32_t tile, int32_t x, int32_t y);
void Resize_Tile_Map();
// Grows the layout until the fill target or 100 rounds.
void Grow_Tile_Map();
void Ensure_Starting_Point_Connections(TString_List& errors, const std::string& map_file_name,
                                       int32_t map_index);
void Clear_Tile_Section(int32_t group, int32_t serial);
void Collect_Tile_Entrances(int32_t x0, int32_t y0, TWordList& entrance_ids, TWordList& entrance_xs,
                            TWordList& entrance_ys);
// The map square of square x, y (from 1) of a tile turned by rotation, placed at cell cx, cy.
void Rotate_Tile_Position(int32_t x0, int32_t y0, int32_t tile_x, int32_t tile_y, int32_t rotation,
                          int32_t cx, int32_t cy, int32_t& map_x, int32_t& map_y);
