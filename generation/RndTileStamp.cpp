#include "generation/RndTileStamp.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/TextCodec.h"

#include <map>
#include <utility>

namespace {

struct TSymbol_Tables {
    // The categories of terrain id i (element i) when its style passed the filter; empty otherwise.
    std::vector<TString_List> Categories;
    // Candidates per category list, keyed by the list's names joined with a separator no name holds.
    std::map<std::string, std::vector<uint16_t>> Candidates;
};

TSymbol_Tables& Tables() {
    static TSymbol_Tables tables;
    return tables;
}

uint8_t Style_Filter = 0;

bool Holds(const TString_List& list, const std::string& name) {
    for (const std::string& entry : list)
        if (entry == name) return true;
    return false;
}

std::vector<uint16_t> Find_Candidates(const TString_List& categories) {
    std::vector<uint16_t> found;
    TString_List wanted;
    for (const std::string& name : categories) {
        // An empty name names no category; the whole list then matches nothing.
        if (name.empty()) return found;
        wanted.push_back(Ascii_Lower(name));
    }
    // An empty list would be carried by every terrain, walls included.
    if (wanted.empty()) return found;
    const std::vector<TString_List>& table = Tables().Categories;
    for (size_t id = 1; id < table.size(); ++id) {
        if (table[id].empty()) continue;
        bool all = true;
        for (const std::string& name : wanted)
            if (!Holds(table[id], name)) {
                all = false;
                break;
            }
        if (all) found.push_back(static_cast<uint16_t>(id));
    }
    return found;
}

// The identifier claiming each character of a tile: the first whose symbol starts with it.
std::vector<std::pair<char32_t, size_t>> Symbol_Claims(const TTile_Class& tile) {
    std::vector<std::pair<char32_t, size_t>> claims;
    for (size_t k = 0; k < tile.Identifiers.size(); ++k) {
        const std::string& symbol = tile.Identifiers[k].Symbol;
        if (symbol.empty()) continue;
        size_t pos = 0;
        const char32_t c = Next_Utf8_Code_Point(symbol, pos);
        bool claimed = false;
        for (const auto& claim : claims) claimed = claimed || claim.first == c;
        if (!claimed) claims.emplace_back(c, k);
    }
    return claims;
}

// Shared walk of locks and traps: each square of the tile's area whose terrain's group (read by group_of)
// occurs in the tile's text and stands among the chance group's names rolls against its percent; a win
// calls apply with the square and its terrain.
template <typename TGroup_Of, typename TApply>
void Mark_Tile_Squares(const TTile_Class& tile, const std::string& tile_groups, int32_t x, int32_t y,
                       const TTerrain_Group_Chances& chances, TGroup_Of group_of, TApply apply) {
    if (Trim_Data(tile_groups).empty()) return;
    TMap* map = Current_Map();
    if (!map) return;
    const int32_t width = Tile_Area_Width(tile), height = Tile_Area_Height(tile);
    for (int32_t r = 0; r < height; ++r)
        for (int32_t c = 0; c < width; ++c) {
            const TMap_Square* square = map->Get_Square(x + c, y + r);
            if (!square) continue;
            const TTerrain* terrain = map->Terrain_List.Terrain(square->Terrain_Id);
            if (!terrain) continue;
            const std::string& group = group_of(*terrain);
            if (group.empty() || tile_groups.find(group) == std::string::npos) continue;
            size_t p = 0;
            while (p < chances.Names.size() && chances.Names[p] != group) ++p;
            if (p >= chances.Names.size() || p >= chances.Percents.size()) continue;
            if (chances.Percents[p] >= Random_Range(1, 100)) apply(*map, *terrain, x + c, y + r);
        }
}

} // namespace

uint8_t Terrain_Style_Filter() {
    return Style_Filter;
}

void Set_Terrain_Style_Filter(uint8_t style) {
    Style_Filter = style;
}

void Build_Terrain_Symbol_Tables() {
    Free_Terrain_Symbol_Tables();
    const TMap* map = Current_Map();
    if (!map) return;
    const TTerrain_List& terrains = map->Terrain_List;
    TSymbol_Tables& tables = Tables();
    tables.Categories.assign(static_cast<size_t>(terrains.Count()) + 1, TString_List());
    for (uint16_t id = 1; id <= terrains.Count(); ++id) {
        const TTerrain* terrain = terrains.Terrain(id);
        // Every category is kept: a terrain with many of them is still found by its last one.
        if (terrain && terrain->Style == Style_Filter) tables.Categories[id] = terrain->Categories;
    }
}

void Free_Terrain_Symbol_Tables() {
    Tables().Categories.clear();
    Tables().Candidates.clear();
}

const std::vector<uint16_t>& Terrain_Symbol_Candidates(const TString_List& categories) {
    std::string key;
    for (const std::string& name : categories) {
        key += name;
        key += '\x1f';
    }
    auto& cache = Tables().Candidates;
    auto found = cache.find(key);
    if (found == cache.end()) found = cache.emplace(key, Find_Candidates(categories)).first;
    return found->second;
}

uint16_t Match_Terrain_Symbols(const TString_List& categories, bool& single) {
    const std::vector<uint16_t>& candidates = Terrain_Symbol_Candidates(categories);
    single = candidates.size() == 1;
    if (candidates.empty()) return 0;
    const int32_t pick = Random_Range(1, static_cast<int32_t>(candidates.size()));
    return candidates[static_cast<size_t>(pick) - 1];
}

void Mark_Terrain_Grids(const std::array<std::string, 4>& names, std::array<TTerrain_Mark_Grid, 4>& grids) {
    const TMap* map = Current_Map();
    const std::vector<TString_List>& table = Tables().Categories;
    for (size_t k = 0; k < 4; ++k) {
        if (names[k].empty()) continue;
        grids[k].Clear();
        if (!map) continue;
        const std::string name = Ascii_Lower(names[k]);
        std::vector<uint8_t> marked(table.size(), 0);
        for (size_t id = 1; id < table.size(); ++id) marked[id] = Holds(table[id], name) ? 1 : 0;
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y) {
                const uint16_t id = map->Get_Square(x, y)->Terrain_Id;
                grids[k].Set(x, y, id < marked.size() ? marked[id] : 0);
            }
    }
}

int32_t Tile_Area_Width(const TTile_Class& tile) {
    if (const TTile_Class_Info* info = Tile_Classes().Info.get()) return info->Tile_Square_Width;
    size_t width = 0;
    for (const std::u32string& row : tile.Rows) width = row.size() > width ? row.size() : width;
    return static_cast<int32_t>(width);
}

int32_t Tile_Area_Height(const TTile_Class& tile) {
    if (const TTile_Class_Info* info = Tile_Classes().Info.get()) return info->Tile_Square_Height;
    return static_cast<int32_t>(tile.Rows.size());
}

void Stamp_Tile(const TTile_Class& tile, int32_t x, int32_t y) {
    TMap* map = Current_Map();
    if (!map) return;
    const std::vector<std::pair<char32_t, size_t>> claims = Symbol_Claims(tile);
    std::vector<uint16_t> chosen(tile.Identifiers.size(), 0);
    const int32_t width = Tile_Area_Width(tile), height = Tile_Area_Height(tile);
    for (int32_t r = 0; r < height && r < static_cast<int32_t>(tile.Rows.size()); ++r) {
        const std::u32string& row = tile.Rows[static_cast<size_t>(r)];
        for (int32_t c = 0; c < width && c < static_cast<int32_t>(row.size()); ++c) {
            const char32_t symbol = row[static_cast<size_t>(c)];
            size_t k = tile.Identifiers.size();
            for (const auto& claim : claims)
                if (claim.first == symbol) {
                    k = claim.second;
                    break;
                }
            if (k == tile.Identifiers.size()) continue;
            TMap_Square* square = map->Get_Square(x + c, y + r);
            if (!square) continue;
            if (chosen[k] != 0) {
                square->Terrain_Id = chosen[k];
                continue;
            }
            const TString_List& categories = tile.Identifiers[k].Categories;
            if (categories.empty()) continue;
            bool single = false;
            const uint16_t terrain = Match_Terrain_Symbols(categories, single);
            if (terrain == 0) continue;
            square->Terrain_Id = terrain;
            if (single) chosen[k] = terrain;
        }
    }
}

void Lock_Tile_Squares(const TTile_Class& tile, int32_t x, int32_t y, const TTerrain_Group_Chances& locks) {
    Mark_Tile_Squares(
        tile, tile.Locked_Terrain_Groups, x, y, locks,
        [](const TTerrain& terrain) -> const std::string& { return terrain.Locked_Terrain_Group; },
        [](TMap& map, const TTerrain& terrain, int32_t sx, int32_t sy) {
            const TString_List& keys = terrain.Locked_Key_Groups;
            const int32_t pick = Random_Range(1, static_cast<int32_t>(keys.size()));
            // A terrain without key groups still locks; its empty key name is one no key opens.
            const std::string key = pick >= 1 && pick <= static_cast<int32_t>(keys.size())
                                        ? keys[static_cast<size_t>(pick) - 1]
                                        : std::string();
            map.Set_Lock(key, sx, sy, true);
        });
}

void Trap_Tile_Squares(const TTile_Class& tile, int32_t x, int32_t y, const std::string& trap_name,
                       const TTerrain_Group_Chances& traps) {
    Mark_Tile_Squares(
        tile, tile.Trapped_Terrain_Groups, x, y, traps,
        [](const TTerrain& terrain) -> const std::string& { return terrain.Trapped_Terrain_Group; },
        [&trap_name](TMap& map, const TTerrain&, int32_t sx, int32_t sy) {
            map.Set_Trap(trap_name, sx, sy, true);
        });
}

void Fill_Map_Terrain(uint16_t terrain_id) {
    Fill_Rect_Terrain({1, 1, Map_Width, Map_Height}, terrain_id);
}

void Fill_Rect_Terrain(const TSquare_Rect& rect, uint16_t terrain_id) {
    TMap* map = Current_Map();
    if (!map) return;
    const int32_t left = Gen_Max_Int(rect.Left, 1), top = Gen_Max_Int(rect.Top, 1);
    const int32_t right = rect.Right < Map_Width ? rect.Right : Map_Width;
    const int32_t bottom = rect.Bottom < Map_Height ? rect.Bottom : Map_Height;
    for (int32_t x = left; x <= right; ++x)
        for (int32_t y = top; y <= bottom; ++y) map->Get_Square(x, y)->Terrain_Id = terrain_id;
}
