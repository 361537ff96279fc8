// The tile editor's files: one tile record of 15 x 15 squares in the tile-file format the tile-class loader
// reads (no settings record, no begin or end line: a designer pastes it into a tiles file), and the
// reading back of such a file onto terrain ids.
//
// Each terrain id of a section gets a symbol in order of first appearance, rows top to bottom and squares
// left to right; the empty terrain 0 is always "N", identifier 1. The symbols after it are "a".."z",
// "A".."Z" without "N", "!".."@" and "{".."~": 88 in all, so a section of more terrains cannot be written.
#pragma once

#include "core/SaveStream.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TTerrain_List;

constexpr int32_t Tile_Section_Size = 15;
constexpr int32_t Tile_Symbol_Count = 88;

// Terrain ids of a section, [row][column], both from 0.
using TTile_Section = std::array<std::array<uint16_t, Tile_Section_Size>, Tile_Section_Size>;

// Symbol k (0 is "N"); '\0' outside 0..87.
char Tile_Symbol(int32_t k);
// The section's terrain ids in symbol order: 0 first, then the others as they first appear.
std::vector<uint16_t> Section_Terrains(const TTile_Section& section);

// Where a section sits in the area: the number of sections across and down, and its place from 1.
struct TTile_Section_Place {
    int32_t Across = 1, Down = 1;
    int32_t X = 1, Y = 1;
};

// The record's text: every key padded with blanks to 44 characters and followed by ":= " and the value,
// lines ended by LF, an empty line last. A terrain id the list does not hold has no categories. Nothing
// when the section needs more than 88 symbols.
std::optional<std::string> Tile_Record_Text(const TTile_Section& section, const TTile_Section_Place& place,
                                            const TTerrain_List& terrains);

// The highest terrain id whose categories hold every one of the categories; 0 when none does or the list
// of categories is empty.
uint16_t Terrain_With_Categories(const TTerrain_List& terrains, const TString_List& categories);

// One square a tile file sets: column and row from 1, and the terrain id (never 0).
struct TTile_Square {
    int32_t Column = 0, Row = 0;
    uint16_t Terrain = 0;
    bool operator==(const TTile_Square&) const = default;
};
// Reads a tile file's text (UTF-8 or Windows-1251, any line ends): every line holding "Identifier" and
// "Symbol" gives a symbol and the next line its categories, a pair kept when both are non-empty; every
// "Tile Row" line with a value is the next row. Squares whose symbol (the last pair with that symbol)
// names no terrain are left out, so "N" squares are never set. Rows and columns are not limited: the
// caller keeps to its area.
std::vector<TTile_Square> Read_Tile_Text(const std::string& text, const TTerrain_List& terrains);
