#include "generation/RndDigFinish.h"

#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "generation/RndClassTile.h"
#include "generation/RndTileStamp.h"

#include <array>
#include <memory>
#include <string>
#include <utility>

namespace {

// The eight neighbours in the order of the direction bits.
struct TNeighbour_Offset {
    int32_t Dx, Dy;
    uint8_t Dir;
};
constexpr std::array<TNeighbour_Offset, 8> Neighbours = {{{0, -1, Dir_N},
                                                          {1, -1, Dir_NE},
                                                          {1, 0, Dir_E},
                                                          {1, 1, Dir_SE},
                                                          {0, 1, Dir_S},
                                                          {-1, 1, Dir_SW},
                                                          {-1, 0, Dir_W},
                                                          {-1, -1, Dir_NW}}};

// The black border rules in the order they are tried: every direction of the mask must be ceiling.
struct TBorder_Rule {
    uint8_t Mask;
    uint8_t Type;
};
constexpr uint8_t All_Eight = 0xFF;
constexpr std::array<TBorder_Rule, 15> Border_Rules = {{{All_Eight, 12},
                                                        {Dir_W | Dir_SW | Dir_S, 6},
                                                        {Dir_NW | Dir_N | Dir_W, 13},
                                                        {Dir_N | Dir_NE | Dir_E, 10},
                                                        {Dir_E | Dir_S | Dir_SE, 9},
                                                        {Dir_NE | Dir_SW, 11},
                                                        {Dir_NW | Dir_SE, 7},
                                                        {Dir_W, 15},
                                                        {Dir_E, 8},
                                                        {Dir_N, 14},
                                                        {Dir_S, 5},
                                                        {Dir_NW, 4},
                                                        {Dir_NE, 1},
                                                        {Dir_SW, 3},
                                                        {Dir_SE, 2}}};

// The side bits of the four plain sides, which decide wall shapes and door directions.
constexpr uint8_t Side_Bits = Dir_N | Dir_E | Dir_S | Dir_W;

bool Holds(const TString_List& list, const std::string& name) {
    for (const std::string& entry : list)
        if (entry == name) return true;
    return false;
}

TString_List Lower_All(TString_List names) {
    for (std::string& name : names) name = Ascii_Lower(name);
    return names;
}

using TGrids = std::array<TTerrain_Mark_Grid, 4>;

// The grids of the step, marked for the names as the map stands now.
std::unique_ptr<TGrids> Marked(const std::array<std::string, 4>& names) {
    auto grids = std::make_unique<TGrids>();
    Mark_Terrain_Grids(names, *grids);
    return grids;
}

// The direction bits of the neighbours of x, y that the test accepts.
template <typename TTest> uint8_t Neighbour_Mask(int32_t x, int32_t y, TTest test) {
    uint8_t mask = 0;
    for (const TNeighbour_Offset& n : Neighbours)
        if (test(x + n.Dx, y + n.Dy)) mask |= n.Dir;
    return mask;
}

} // namespace

uint8_t Black_Border_Type(uint8_t ceiling_neighbours) {
    for (const TBorder_Rule& rule : Border_Rules)
        if ((ceiling_neighbours & rule.Mask) == rule.Mask) return rule.Type;
    return 0;
}

const char* Wall_Shape_Name(uint8_t wall_sides) {
    switch (wall_sides & Side_Bits) {
    case Dir_N | Dir_E | Dir_S | Dir_W: return "nesw";
    case Dir_N | Dir_W | Dir_E: return "new";
    case Dir_W | Dir_E | Dir_S: return "esw";
    case Dir_N | Dir_W | Dir_S: return "nsw";
    case Dir_N | Dir_E | Dir_S: return "nes";
    case Dir_N | Dir_S: return "ns";
    case Dir_W | Dir_E: return "ew";
    case Dir_E | Dir_S: return "es";
    case Dir_W | Dir_S: return "sw";
    case Dir_N | Dir_E: return "ne";
    case Dir_N | Dir_W: return "nw";
    // A wall end carries the letter of the side it is open to.
    case Dir_S: return "n";
    case Dir_W: return "e";
    case Dir_E: return "w";
    case Dir_N: return "s";
    default: return "";
    }
}

TStyled_Terrain_Finder::TStyled_Terrain_Finder(TString_List required, TString_List excluded)
    : Required_(Lower_All(std::move(required))), Excluded_(Lower_All(std::move(excluded))) {}

uint16_t TStyled_Terrain_Finder::Find(uint16_t terrain_id) {
    if (terrain_id >= Candidates_.size()) Candidates_.resize(static_cast<size_t>(terrain_id) + 1, nullptr);
    const std::vector<uint16_t>*& candidates = Candidates_[terrain_id];
    if (!candidates) {
        TString_List wanted;
        for (const std::string& name : Required_)
            if (!name.empty()) wanted.push_back(name);
        const TMap* map = Current_Map();
        if (const TTerrain* terrain = map ? map->Terrain_List.Terrain(terrain_id) : nullptr)
            for (const std::string& category : terrain->Categories)
                if (!Holds(Required_, category) && !Holds(Excluded_, category)) wanted.push_back(category);
        candidates = &Terrain_Symbol_Candidates(wanted);
    }
    if (candidates->empty()) return 0;
    const int32_t pick = Random_Range(1, static_cast<int32_t>(candidates->size()));
    return (*candidates)[static_cast<size_t>(pick) - 1];
}

uint16_t Find_Styled_Terrain(int32_t x, int32_t y, const TString_List& required,
                             const TString_List& excluded) {
    const TMap* map = Current_Map();
    const TMap_Square* square = map ? map->Get_Square(x, y) : nullptr;
    if (!square) return 0;
    return TStyled_Terrain_Finder(required, excluded).Find(square->Terrain_Id);
}

void Add_Black_Border_To_Walls() {
    const TTile_Class_Info* info = Tile_Classes().Info.get();
    TMap* map = Current_Map();
    if (!map || !info || info->Black_Border_Ceiling_Categories.empty() ||
        info->Black_Border_Wall_Categories.empty())
        return;
    const auto grids = Marked(
        {info->Black_Border_Ceiling_Categories.front(), info->Black_Border_Wall_Categories.front(), "", ""});
    const TTerrain_Mark_Grid& ceiling = (*grids)[0];
    const TTerrain_Mark_Grid& wall = (*grids)[1];
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            uint8_t type = 0;
            if (wall.Get(x, y) && !ceiling.Get(x, y))
                type = Black_Border_Type(Neighbour_Mask(
                    x, y, [&ceiling](int32_t nx, int32_t ny) { return ceiling.Get(nx, ny) != 0; }));
            map->Get_Square(x, y)->Border_Type = type;
        }
}

void Change_Generic_Walls_To_Specific() {
    TMap* map = Current_Map();
    if (!map) return;
    const auto grids = Marked({"ceiling", "wall", "generic", "door"});
    const TTerrain_Mark_Grid& ceiling = (*grids)[0];
    const TTerrain_Mark_Grid& wall = (*grids)[1];
    const TTerrain_Mark_Grid& generic = (*grids)[2];
    const TTerrain_Mark_Grid& door = (*grids)[3];
    // Element 0 is the solid wall; element m the shape of the side mask m.
    std::vector<TStyled_Terrain_Finder> finders;
    finders.emplace_back(TString_List{"wall", "ceiling"}, TString_List{"generic"});
    for (uint8_t mask = 1; mask <= Side_Bits; ++mask)
        finders.emplace_back(TString_List{"wall", Wall_Shape_Name(mask)}, TString_List{"generic"});

    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            if (!wall.Get(x, y) || !generic.Get(x, y) || ceiling.Get(x, y)) continue;
            // A ceiling square counts as ceiling, not as wall; only walls and doors count as wall.
            const auto counts_as_wall = [&](int32_t nx, int32_t ny) {
                return !ceiling.Get(nx, ny) && (wall.Get(nx, ny) || door.Get(nx, ny));
            };
            // The square itself is a wall that is not ceiling, so it always counts.
            const uint8_t mask = Neighbour_Mask(x, y, counts_as_wall);
            const bool solid = mask == All_Eight;
            const uint8_t sides = mask & Side_Bits;
            if (!solid && sides == 0) continue;
            TMap_Square& square = *map->Get_Square(x, y);
            const uint16_t terrain = finders[solid ? 0 : sides].Find(square.Terrain_Id);
            if (terrain != 0) square.Terrain_Id = terrain;
        }
}

void Change_Door_Directions() {
    TMap* map = Current_Map();
    if (!map) return;
    const auto grids = Marked({"door", "wall", "", ""});
    const TTerrain_Mark_Grid& door = (*grids)[0];
    const TTerrain_Mark_Grid& wall = (*grids)[1];
    TStyled_Terrain_Finder solid_wall({"wall", "ceiling"}, {"generic"});
    TStyled_Terrain_Finder door_ns({"door", "ns"}, {"generic", "ew"});
    TStyled_Terrain_Finder door_ew({"door", "ew"}, {"generic", "ns"});

    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            if (!door.Get(x, y)) continue;
            const uint8_t mask =
                Neighbour_Mask(x, y, [&wall](int32_t nx, int32_t ny) { return wall.Get(nx, ny) != 0; });
            const bool self = wall.Get(x, y) != 0;
            TMap_Square& square = *map->Get_Square(x, y);
            uint16_t terrain = 0;
            const uint8_t sides = mask & Side_Bits;
            if (mask == All_Eight && self)
                terrain = solid_wall.Find(square.Terrain_Id);
            else if (sides == (Dir_W | Dir_E))
                terrain = door_ns.Find(square.Terrain_Id);
            else if (sides == (Dir_N | Dir_S))
                terrain = door_ew.Find(square.Terrain_Id);
            if (terrain != 0) square.Terrain_Id = terrain;
        }
}
