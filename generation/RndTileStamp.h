// Terrain helpers of the map generator: the symbol tables that turn category names into terrain ids of the
// current map, the stamping of a tile's symbols onto the map with its locks and traps, the marking of
// terrain categories over the whole map for the finishing steps, and plain fills.
#pragma once

#include "core/SaveStream.h"
#include "generation/RndClassTile.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The style a terrain must have to be stamped; every dig resets it to 0 before it builds the tables.
uint8_t Terrain_Style_Filter();
void Set_Terrain_Style_Filter(uint8_t style);

// Builds the symbol tables from the current map's terrain list: every category of each terrain whose
// Style equals the filter (a terrain of another style is never matched). Forgets the candidates found for
// the previous tables.
void Build_Terrain_Symbol_Tables();
void Free_Terrain_Symbol_Tables();

// The terrain ids, in id order, that carry every category of the list (compared in ASCII lower case). An
// empty list, or one holding an empty name, matches nothing. Found once per list while the tables stand:
// a dig asks for the same few lists thousands of times.
const std::vector<uint16_t>& Terrain_Symbol_Candidates(const TString_List& categories);
// One of the candidates, drawn with Random_Range(1, count); 0 (and no draw) when there is none. single
// tells whether there was exactly one.
uint16_t Match_Terrain_Symbols(const TString_List& categories, bool& single);
inline uint16_t Match_Terrain_Symbols(const TString_List& categories) {
    bool single = false;
    return Match_Terrain_Symbols(categories, single);
}

// A mark per square of the map, addressed 1..200 like the squares.
class TTerrain_Mark_Grid {
public:
    TTerrain_Mark_Grid() : Marks_(200 * 200, 0) {}
    uint8_t Get(int32_t x, int32_t y) const {
        return x >= 1 && x <= 200 && y >= 1 && y <= 200 ? Marks_[Index(x, y)] : 0;
    }
    void Set(int32_t x, int32_t y, uint8_t mark) {
        if (x >= 1 && x <= 200 && y >= 1 && y <= 200) Marks_[Index(x, y)] = mark;
    }
    void Clear() { Marks_.assign(Marks_.size(), 0); }

private:
    static size_t Index(int32_t x, int32_t y) { return static_cast<size_t>((x - 1) * 200 + (y - 1)); }
    std::vector<uint8_t> Marks_;
};

// For each non-empty name k: grid k marks (1) every square whose terrain carries category k in the symbol
// tables; the grid of an empty name is left as it is.
void Mark_Terrain_Grids(const std::array<std::string, 4>& names, std::array<TTerrain_Mark_Grid, 4>& grids);

// The tile's area on the map when its top-left square is x, y: the settings' tile size, or the tile's own
// rows when no settings are loaded.
int32_t Tile_Area_Width(const TTile_Class& tile);
int32_t Tile_Area_Height(const TTile_Class& tile);

// Writes the tile's symbols onto the current map with its top-left square at x, y. The first identifier
// whose symbol starts with a character claims it; an identifier whose categories match one terrain only
// keeps that terrain for the rest of the tile, one with several draws again on every square. Squares of a
// character no identifier claims, or whose categories match nothing, keep their terrain.
void Stamp_Tile(const TTile_Class& tile, int32_t x, int32_t y);

// The lock (or trap) groups of a chance group: name n with the percent chance n, in pairs.
struct TTerrain_Group_Chances {
    TString_List Names;
    std::vector<int32_t> Percents;
};

// Over the tile's area at x, y: a square whose terrain's lock group occurs in the tile's "Locked Terrain
// Groups" text and stands among the chance group's names is locked when its percent wins a roll, with a key
// group drawn from the terrain's list (an empty key name, which no key opens, when the list is empty).
void Lock_Tile_Squares(const TTile_Class& tile, int32_t x, int32_t y, const TTerrain_Group_Chances& locks);
// The same with the trap groups; a trapped square records the map's trap group name.
void Trap_Tile_Squares(const TTile_Class& tile, int32_t x, int32_t y, const std::string& trap_name,
                       const TTerrain_Group_Chances& traps);

// A rectangle of squares, both ends included.
struct TSquare_Rect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};
void Fill_Map_Terrain(uint16_t terrain_id);
// Nothing when Right < Left or Bottom < Top; squares outside the map are skipped.
void Fill_Rect_Terrain(const TSquare_Rect& rect, uint16_t terrain_id);

inline int32_t Gen_Max_Int(int32_t a, int32_t b) {
    return a > b ? a : b;
}
