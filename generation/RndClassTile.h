// Tile classes: the square pieces of terrain symbols a level is dug from. A map's tiles file holds one
// settings record (the layout rules of the whole map) and one record per tile; the tile editor writes the
// same format. Rotatable tiles gain turned copies when the file is read, so growth can close or open any
// side with the tiles the designer drew once.
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Sides of a tile or a cell: 1 north, 2 east, 3 south, 4 west (the numbers of Side_North .. Side_West).
// A side set holds one byte per side, byte k - 1 for side k: a tile's four connection types.
using TSide_Set = std::array<uint8_t, 4>;

// "N", "E", "S", "W" for 1..4; "" for anything else.
std::string Side_Name(int32_t side);
// Byte k of the set; 0 for a side outside 1..4.
uint8_t Side_Flag(const TSide_Set& sides, int32_t side);
bool Sides_All_Set(const TSide_Set& sides);
void Sides_Clear(TSide_Set& sides);

// A terrain symbol of a tile: the character (only the first one counts) and the categories a terrain must
// carry to be stamped for it, lower-cased.
struct TTile_Class_Symbol {
    std::string Symbol;
    TString_List Categories;
};

// A named place. For starting and group tile locations X, Y is a cell of the layout grid, 0, 0 any cell;
// for entrances, specific monsters and specific items it is a square inside the tile, from 1.
struct TTile_Class_Specific_Location {
    std::string Name;
    uint8_t X = 0;
    uint8_t Y = 0;
};

class TTile_Class {
public:
    std::string Name;             // "Tile Name"
    TSide_Set Connection_Types{}; // N, E, S, W: 0 closed, any other value a kind the neighbour must match
    int32_t Max_Per_Level = 0;    // counted down on every placement; at 0 growth no longer picks it
    int32_t Max_Per_Module = 0;   // counted down the same way
    bool Allow_Random_Monsters = false;
    bool Allow_Wandering_Monsters = false; // kept and copied; nothing reads it
    TString_List Monster_Placement_Categories;
    bool Allow_Random_Items = false;
    TString_List Item_Placement_Categories;
    bool Can_Be_Rotated = false;
    int32_t Weight = 0; // "Tile Percent Chance Per Dungeon Level": the weight in the growth pick
    // A tile with a group ID above 0 is the piece at Section_X, Section_Y (from 1) of a section of
    // Section_Width x Section_Height cells.
    int32_t Section_Width = 0, Section_Height = 0, Section_X = 0, Section_Y = 0, Section_Group = 0;
    // Rows of characters (code points), row r at element r - 1; a row of the wrong length is not kept.
    std::vector<std::u32string> Rows;
    std::vector<TTile_Class_Symbol> Identifiers; // its own, then the file's global identifiers
    std::vector<TTile_Class_Specific_Location> Specific_Monsters; // class name, square in the tile
    std::vector<TTile_Class_Specific_Location> Specific_Items;
    std::string Locked_Terrain_Groups;  // free text in which terrain lock group names are searched
    std::string Trapped_Terrain_Groups; // the same for trap groups
    int32_t Rotation = 0;               // 0 as read; 1, 2, 3 for the copies turned 90, 180, 270 degrees

    // Copies what a turned copy shares with its tile: everything but the specific monsters and items, the
    // lock and trap group texts and the rotation, which the copy has none of or sets itself.
    void Assign(const TTile_Class& other);
    // Row r (from 1) as UTF-8; "" outside the rows kept.
    std::string Row_Text(int32_t r) const;
};

// One tile group location: a percent chance and the tiles it places.
struct TTile_Group_Location {
    uint16_t Chance = 0;
    std::vector<TTile_Class_Specific_Location> Tiles;
};

// The settings record of a tiles file. The values a fresh object holds are those of a file that says
// nothing else.
class TTile_Class_Info {
public:
    uint16_t Tile_Square_Width = 0;
    uint16_t Tile_Square_Height = 0;
    TString_List Fill_Categories;        // "Fill Level With Terrain Category"
    TString_List Fill_Border_Categories; // "Fill Level Border With Terrain Category"
    bool Change_Door_Directions = true;
    bool Change_Generic_Walls = true;
    bool Add_Black_Border = true;
    TString_List Black_Border_Ceiling_Categories;
    TString_List Black_Border_Wall_Categories;
    bool Set_Third_Layer_Visibility = false; // kept; nothing reads it
    bool Tiles_Allowed_In_Border = false;
    bool Allow_Connection_Off_Map = false;
    bool Require_Start_Connections = true; // "Require connection between starting points"
    uint16_t Increased_Border_Size = 0;
    uint16_t Percent_To_Fill = 85; // "Percent of map to fill"
    uint16_t Tiles_To_Resize = 5;  // "Number of tiles to change to resize"
    std::vector<TTile_Class_Specific_Location> Specific_Tile_Locations;
    std::vector<TTile_Group_Location> Tile_Groups;
    std::vector<TTile_Class_Specific_Location> Tile_Entrances; // entrance e is element e - 1
};

// The tile table: tile i (from 1) is element i - 1, with the settings of the file it came from.
struct TTile_Table {
    std::vector<std::unique_ptr<TTile_Class>> Tiles;
    std::unique_ptr<TTile_Class_Info> Info; // null when no file, or one without settings, was read

    int32_t Count() const { return static_cast<int32_t>(Tiles.size()); }
    // Tile i; null for 0 and beyond the count (cells and callers hold indexes).
    TTile_Class* Get(int32_t i) const {
        return i >= 1 && i <= Count() ? Tiles[static_cast<size_t>(i) - 1].get() : nullptr;
    }
    void Clear() {
        Tiles.clear();
        Info.reset();
    }
};

// The program's one tile table; the digger counts its maxima down, so a table serves one dig.
TTile_Table& Tile_Classes();
// Frees the table, then reads the file of that name from the module's "Tiles/" folder. With errors, shows
// them under "Ошибки файлов данных класса: " with the path (or puts them into error_list) and returns false;
// the table keeps what was read.
bool Load_Tile_Classes(const std::string& file_name, TString_List* error_list = nullptr);
void Free_Tile_Classes();

// The grid a rotatable tile turns on: rotation is defined for tiles of 17 rows of 17 squares only.
constexpr int32_t Rotatable_Tile_Size = 17;
// The layout grid needs 6 x 6 cells at least: the starting tile goes to cell (6, 6), and named tiles at
// random cells 2 .. count - 2.
constexpr int32_t Minimum_Layout_Cells = 6;

// Record 1 is the settings, record r >= 2 tile r - 1. After the last record every tile gets the file's
// global identifiers and every rotatable tile its turned copies.
class TTile_Class_Data_File_Loader : public TData_File_Loader {
public:
    TTile_Class_Data_File_Loader(const std::string& file_name, TTile_Table& table)
        : TData_File_Loader(file_name), Table_(table) {}

protected:
    void Before_Load() override;
    void Process_Record(int32_t record_number) override;
    void After_Load() override;

private:
    void Read_Settings();
    void Read_Tile();
    // A location's square inside the tile: outside the tile it is reported under its key.
    void Check_Square(const TTile_Class_Specific_Location& location, const std::string& prefix);
    void Read_Symbols(const std::string& count_key, const std::string& prefix,
                      const std::string& symbol_suffix, const std::string& category_suffix,
                      std::vector<TTile_Class_Symbol>& symbols);
    void Add_Rotated_Tiles(const TTile_Class& tile);

    TTile_Table& Table_;
    std::vector<TTile_Class_Symbol> Global_Identifiers_; // held only while loading
};
