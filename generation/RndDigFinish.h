// The digger's finishing of a stamped level: the black border drawn along walls that face the ceiling, the
// generic walls turned into the shape their neighbours give them, and doors turned to face along their wall.
// Each step marks the terrain categories it reads over the whole map first and decides every square from
// those marks, so a square changed early in the step never changes the decision for its neighbours.
#pragma once

#include "core/SaveStream.h"

#include <cstdint>
#include <vector>

// Border types 1..15 of a wall square from the ceiling marks of its eight neighbours, in the order N, NE,
// E, SE, S, SW, W, NW (bit k of the mask for direction k). The first rule whose every direction is ceiling
// gives the type; 0 when no neighbour is ceiling.
enum : uint8_t {
    Dir_N = 1 << 0,
    Dir_NE = 1 << 1,
    Dir_E = 1 << 2,
    Dir_SE = 1 << 3,
    Dir_S = 1 << 4,
    Dir_SW = 1 << 5,
    Dir_W = 1 << 6,
    Dir_NW = 1 << 7,
};
uint8_t Black_Border_Type(uint8_t ceiling_neighbours);

// The wall shape category for the sides that count as wall (Dir_N, Dir_E, Dir_S, Dir_W); "" for none.
const char* Wall_Shape_Name(uint8_t wall_sides);

// A terrain of the current style like the one on the square but with the required categories in place of
// the excluded ones: the required names, then every category of the square's terrain that is neither
// required nor excluded (all compared in lower case). Drawn among the candidates like any terrain symbol; 0
// when none carries them all.
uint16_t Find_Styled_Terrain(int32_t x, int32_t y, const TString_List& required,
                             const TString_List& excluded);

// The same search for many squares of one step: the candidates of each terrain kind are found once, and a
// draw is made on every call that has more than one.
class TStyled_Terrain_Finder {
public:
    TStyled_Terrain_Finder(TString_List required, TString_List excluded);
    uint16_t Find(uint16_t terrain_id);

private:
    TString_List Required_, Excluded_;
    std::vector<const std::vector<uint16_t>*>
        Candidates_; // per terrain id; null until asked (held by the tables)
};

// Every wall square that is not ceiling and has ceiling around it gets the border type its ceiling
// neighbours give; every other square gets 0. Skipped when the settings name no ceiling or no wall
// category.
void Add_Black_Border_To_Walls();
// Every generic wall square that is not ceiling becomes the wall of its shape: "ceiling" when all nine
// squares around it count as wall, otherwise the shape of its wall sides; a square with no wall side, or
// whose styled terrain does not exist, stays as it is.
void Change_Generic_Walls_To_Specific();
// Every door square among walls: inside solid wall it becomes the ceiling wall, between walls on west and
// east the "ns" door, between walls on north and south the "ew" door.
void Change_Door_Directions();
