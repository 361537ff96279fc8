#include "generation/RndDigTileMap.h"

#include "core/DataFileParser.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassModule.h"
#include "generation/RndDigPopulate.h"
#include "generation/RndTileStamp.h"

#include <utility>

namespace {

TDig_Seed_Source& Seed_Source() {
    static TDig_Seed_Source source;
    return source;
}

const TSide_Set No_Sides{};

// The last growth pick: a tile placed, no tile that could go there, or candidates the roll missed.
enum class TPick_Result { Placed, No_Candidate, Missed };

const TTile_Class_Info* Info() {
    return Tile_Classes().Info.get();
}

bool Allow_Off_Map() {
    return Info() && Info()->Allow_Connection_Off_Map;
}

// A section's pieces all exist and fit their cells, with x, y the cell of piece (1, 1). A section of no
// cells would be "placed" without filling the cell, and growth would then try that cell for ever.
bool Section_Fits_At(const TTile_Class& tile, int32_t x, int32_t y) {
    const TDig_Context& dig = Dig_Context();
    if (tile.Section_Width < 1 || tile.Section_Height < 1) return false;
    for (int32_t i = 1; i <= tile.Section_Width; ++i)
        for (int32_t j = 1; j <= tile.Section_Height; ++j) {
            const int32_t cx = x + i - 1, cy = y + j - 1;
            if (!dig.In_Grid(cx, cy) || dig.Occupied(cx, cy)) return false;
            const int32_t piece = Find_Section_Tile(tile.Section_Group, i, j);
            if (piece == 0 || !Section_Tile_Fits(piece, cx, cy)) return false;
        }
    return true;
}

TPick_Result Pick_Tile_For_Location(int32_t x, int32_t y, const TSide_Set& required) {
    TDig_Context& dig = Dig_Context();
    const TTile_Table& table = Tile_Classes();
    // Per side: the exact type a neighbour asks for (-1: anything), and whether the side must be open.
    int32_t exact[4] = {-1, -1, -1, -1};
    for (int32_t side = 1; side <= 4; ++side) {
        const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
        if (dig.In_Grid(n.X, n.Y)) {
            if (dig.Occupied(n.X, n.Y)) exact[side - 1] = Side_Flag(dig.Cell(n.X, n.Y).Sides, n.Facing);
        } else if (!Allow_Off_Map()) {
            exact[side - 1] = 0;
        }
    }

    std::vector<int32_t> candidates;
    int64_t total = 0;
    for (int32_t i = 1; i <= table.Count(); ++i) {
        const TTile_Class& tile = *table.Get(i);
        if (tile.Max_Per_Level == 0 || tile.Max_Per_Module == 0) continue;
        bool fits = true;
        for (size_t k = 0; k < 4 && fits; ++k) {
            const uint8_t type = tile.Connection_Types[k];
            if (required[k] != 0 && type == 0) fits = false;
            if (exact[k] >= 0 && type != exact[k]) fits = false;
        }
        if (!fits || (tile.Section_Group > 0 && !Section_Fits_At(tile, x, y))) continue;
        candidates.push_back(i);
        total += tile.Weight;
    }
    if (candidates.empty() || total <= 0) return TPick_Result::No_Candidate;

    // The running sum is taken in double precision as written; rounding decides the edge picks, so the
    // order of the operations is part of the result.
    const double unit = 100.0 / static_cast<double>(total);
    const int32_t roll = Random_Range(1, 100);
    double running = 0.0;
    int32_t picked = 0;
    for (int32_t i : candidates) {
        running = static_cast<double>(table.Get(i)->Weight) * unit + running;
        if (roll < running) {
            picked = i;
            break;
        }
    }
    if (picked == 0) return TPick_Result::Missed;

    const int32_t serial = ++dig.Serial;
    const TTile_Class& winner = *table.Get(picked);
    if (winner.Section_Group <= 0) {
        Set_Tile_At_Location(x, y, picked, true, false, serial);
    } else {
        // The winner only chose the section: every piece goes to its own cell.
        for (int32_t i = 1; i <= winner.Section_Width; ++i)
            for (int32_t j = 1; j <= winner.Section_Height; ++j)
                if (const int32_t piece = Find_Section_Tile(winner.Section_Group, i, j))
                    Set_Tile_At_Location(x + i - 1, y + j - 1, piece, true, false, serial);
    }
    return TPick_Result::Placed;
}

void Empty_Cell(TDig_Cell& cell) {
    cell.Tile = 0;
    Sides_Clear(cell.Sides);
    cell.Serial = 0;
}

// Empties a cell the repair gives up; a section piece takes its whole section with it.
void Clear_Cell_For_Repair(int32_t x, int32_t y) {
    TDig_Cell& cell = Dig_Context().Cell(x, y);
    const TTile_Class* tile = Tile_Classes().Get(cell.Tile);
    if (tile && tile->Section_Group > 0)
        Clear_Tile_Section(tile->Section_Group, cell.Serial);
    else
        Empty_Cell(cell);
}

// The cells a flood from the cell reaches through the open sides of the cells it has reached.
std::vector<bool> Reached_From(int32_t x, int32_t y) {
    const TDig_Context& dig = Dig_Context();
    const auto index = [&dig](int32_t cx, int32_t cy) {
        return static_cast<size_t>(cx) * static_cast<size_t>(dig.Cells_Down + 1) + static_cast<size_t>(cy);
    };
    std::vector<bool> reached(dig.Cells.size(), false);
    reached[index(x, y)] = true;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int32_t cx = 1; cx <= dig.Cells_Across; ++cx)
            for (int32_t cy = 1; cy <= dig.Cells_Down; ++cy) {
                if (!reached[index(cx, cy)]) continue;
                for (int32_t side = 1; side <= 4; ++side) {
                    if (Side_Flag(dig.Cell(cx, cy).Sides, side) == 0) continue;
                    const TNeighbour_Cell n = Get_Neighbour_Cell(cx, cy, side);
                    if (!dig.Occupied(n.X, n.Y) || reached[index(n.X, n.Y)]) continue;
                    reached[index(n.X, n.Y)] = true;
                    changed = true;
                }
            }
    }
    return reached;
}

// The side of cell a that faces the neighbouring cell b.
int32_t Side_Towards(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    if (bx > ax) return Side_East;
    if (bx < ax) return Side_West;
    return by > ay ? Side_South : Side_North;
}

TSide_Set Only_Side(int32_t side) {
    TSide_Set sides{};
    sides[static_cast<size_t>(side) - 1] = 1;
    return sides;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Context

TNeighbour_Cell Get_Neighbour_Cell(int32_t x, int32_t y, int32_t side) {
    switch (side) {
    case Side_North: return {x, y - 1, Side_North, Side_South};
    case Side_East: return {x + 1, y, Side_East, Side_West};
    case Side_South: return {x, y + 1, Side_South, Side_North};
    case Side_West: return {x - 1, y, Side_West, Side_East};
    default: return {x, y, 0, 0};
    }
}

int32_t TDig_Context::Occupied_Count() const {
    int32_t count = 0;
    for (int32_t x = 1; x <= Cells_Across; ++x)
        for (int32_t y = 1; y <= Cells_Down; ++y) count += Cell(x, y).Tile != 0 ? 1 : 0;
    return count;
}

void TDig_Context::Reset_Grid(int32_t across, int32_t down) {
    Cells_Across = across > 0 ? across : 0;
    Cells_Down = down > 0 ? down : 0;
    Cells.assign(static_cast<size_t>(Cells_Across + 1) * static_cast<size_t>(Cells_Down + 1), TDig_Cell());
}

TDig_Context& Dig_Context() {
    static TDig_Context context;
    return context;
}

void Set_Dig_Seed_Source(TDig_Seed_Source source) {
    Seed_Source() = std::move(source);
}

// ---------------------------------------------------------------------------------------------------------
// The dig

void Dig_Tile_Map(TWordList& entrance_ids, TWordList& entrance_xs, TWordList& entrance_ys, int32_t map_index,
                  const std::string& map_file_name, TString_List& errors) {
    if (Seed_Source())
        Seed_Random(Seed_Source()(map_index));
    else
        Seed_Random_From_Clock();
    Set_Terrain_Style_Filter(0);
    TDig_Context& dig = Dig_Context();
    dig = TDig_Context();
    dig.Map_Index = map_index;
    dig.Map_File_Name = map_file_name;
    Build_Terrain_Symbol_Tables();
    entrance_ids.Clear();
    entrance_xs.Clear();
    entrance_ys.Clear();
    if (TMap* map = Current_Map()) map->Clear(false);

    const TTile_Class_Info* info = Info();
    if (info && !info->Fill_Categories.empty())
        Fill_Map_Terrain(Match_Terrain_Symbols(info->Fill_Categories));

    int32_t across = 0, down = 0;
    if (info && info->Tile_Square_Width > 0 && info->Tile_Square_Height > 0) {
        const int32_t extent = info->Tiles_Allowed_In_Border ? 200 : 184;
        across = extent / info->Tile_Square_Width;
        down = extent / info->Tile_Square_Height;
    }

    Set_Dig_Parameters(map_index);
    // The map's chance group: the last loaded group of the map's ID; none for ID 0. Without one no square is
    // locked or trapped and item types are drawn evenly.
    if (dig.Params.Chance_Group_Id > 0)
        dig.Params.Chance_Group_Index = Find_Chance_Group_Index(dig.Params.Chance_Group_Id);

    dig.Reset_Grid(across, down);
    if (across >= Minimum_Layout_Cells && down >= Minimum_Layout_Cells) {
        Place_Starting_Tiles(errors);
        Grow_Tile_Map();
        if (info->Require_Start_Connections)
            Ensure_Starting_Point_Connections(errors, map_file_name, map_index);
        // Centred on the map, but never from square 0: a layout as wide as the map starts at square 1.
        dig.X0 = Gen_Max_Int((200 - info->Tile_Square_Width * across) / 2, 1);
        dig.Y0 = Gen_Max_Int((200 - info->Tile_Square_Height * down) / 2, 1);
        Collect_Tile_Entrances(dig.X0, dig.Y0, entrance_ids, entrance_xs, entrance_ys);
    } else {
        // A table the loader refused, or none: there is nothing to lay out.
        errors.push_back("Could not lay out tiles on Map " + std::to_string(map_index) + ": " +
                         map_file_name + ".");
    }

    Finish_Dug_Map(dig, errors);
    Free_Terrain_Symbol_Tables();
}

void Set_Dig_Parameters(int32_t map_index) {
    TDig_Parameters& p = Dig_Context().Params;
    p = TDig_Parameters();
    const TModule_Class* module_class = Module_Class();
    const TModule_Map_Class* m = module_class ? module_class->Get_Map(map_index) : nullptr;
    if (m) {
        p.Tiles_File = m->Tiles_File;
        p.Terrain_File = m->Terrain_File;
        p.Item_Classes_File = m->Item_Classes_File;
        p.Monster_Classes_File = m->Monster_Classes_File;
        p.Stores_File = m->Stores_File;
        p.Chance_Group_Id = m->Chance_Group;
        p.Place_Random_Items = m->Place_Random_Items;
        p.Item_Group_Filter = m->Item_Group_Filter;
        p.Items_Min = m->Items_Min;
        p.Items_Max = m->Items_Max;
        p.Item_Level_Min = m->Item_Level_Min;
        p.Item_Level_Max = m->Item_Level_Max;
        p.Magic_Item_Chance = m->Magic_Item_Chance;
        p.Unique_Item_Chance = m->Unique_Item_Chance;
        p.Magic_Chance_Per_Start_Level = m->Magic_Chance_Per_Start_Level;
        p.Unique_Chance_Per_Start_Level = m->Unique_Chance_Per_Start_Level;
        p.Chest_Item_Chance = m->Chest_Item_Chance;
        p.Chest_Items_Min = m->Chest_Items_Min;
        p.Chest_Items_Max = m->Chest_Items_Max;
        p.Place_Random_Monsters = m->Place_Random_Monsters;
        p.Monster_Group_Filter = m->Monster_Group_Filter;
        p.Monsters_Min = m->Monsters_Min;
        p.Monsters_Max = m->Monsters_Max;
        p.Monster_Groups_Min = m->Monster_Groups_Min;
        p.Monster_Groups_Max = m->Monster_Groups_Max;
        p.Monster_Level_Min = m->Monster_Level_Min;
        p.Monster_Level_Max = m->Monster_Level_Max;
        p.Monster_Modifier_Chance = m->Monster_Modifier_Chance;
        p.Trap_Group_Name = m->Trap_Group_Name;

        // Harder games get more monsters, more groups and more modified monsters.
        const int32_t difficulty = Game_Options() ? Game_Options()->Difficulty : 2;
        if (difficulty > 2) {
            const int32_t steps = difficulty - 2;
            if (m->Modifier_Chance_Per_Difficulty != 0)
                p.Monster_Modifier_Chance += m->Modifier_Chance_Per_Difficulty * steps;
            p.Monsters_Min += m->Monsters_Per_Difficulty * steps;
            p.Monsters_Max += m->Monsters_Per_Difficulty * steps;
            p.Monster_Groups_Min += m->Monster_Groups_Per_Difficulty * steps;
            p.Monster_Groups_Max += m->Monster_Groups_Per_Difficulty * steps;
        }
    }

    // A character who started the module at a higher level meets higher levels of items and monsters.
    const int32_t start_level = Game_Options() ? Game_Options()->Start_Level : 0;
    if (start_level != 0) {
        p.Item_Level_Min += start_level - 1;
        p.Item_Level_Max += start_level - 1;
        p.Monster_Level_Min += start_level - 1;
        p.Monster_Level_Max += start_level - 1;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Layout

void Place_Starting_Tiles(TString_List& errors) {
    TDig_Context& dig = Dig_Context();
    const TTile_Table& table = Tile_Classes();
    const TTile_Class_Info* info = Info();
    if (!info) return;

    if (!info->Specific_Tile_Locations.empty()) {
        for (const TTile_Class_Specific_Location& location : info->Specific_Tile_Locations)
            Place_Named_Tile(location.Name, location.X, location.Y, true, errors);
    } else {
        std::vector<int32_t> crossings;
        for (int32_t i = 1; i <= table.Count(); ++i)
            if (Sides_All_Set(table.Get(i)->Connection_Types)) crossings.push_back(i);
        if (!crossings.empty()) {
            const int32_t serial = ++dig.Serial;
            const int32_t pick = Random_Range(1, static_cast<int32_t>(crossings.size()));
            Set_Tile_At_Location(6, 6, crossings[static_cast<size_t>(pick) - 1], true, false, serial);
        }
    }

    // One group at most: the roll falls into the span of chances of the group it picks. A group of chance 0
    // has no span; rolls beyond the sum pick none.
    if (info->Tile_Groups.empty()) return;
    const int32_t roll = Random_Range(1, 100);
    int32_t sum = 0;
    for (const TTile_Group_Location& group : info->Tile_Groups) {
        if (sum < roll && roll <= sum + group.Chance) {
            for (const TTile_Class_Specific_Location& location : group.Tiles)
                Place_Named_Tile(location.Name, location.X, location.Y, false, errors);
            return;
        }
        sum += group.Chance;
    }
}

void Place_Named_Tile(const std::string& name, int32_t x, int32_t y, bool any_tile, TString_List& errors) {
    TDig_Context& dig = Dig_Context();
    const TTile_Table& table = Tile_Classes();
    const std::string wanted = Trimmed_Lower(name);
    std::vector<int32_t> candidates;
    for (int32_t i = 1; i <= table.Count(); ++i) {
        const TTile_Class& tile = *table.Get(i);
        if (Trimmed_Lower(tile.Name) == wanted && (any_tile || tile.Max_Per_Level > 0))
            candidates.push_back(i);
    }
    if (candidates.empty()) {
        errors.push_back("Could not find tile \"" + name + "\".");
        return;
    }
    const int32_t tile =
        candidates[static_cast<size_t>(Random_Range(1, static_cast<int32_t>(candidates.size()))) - 1];

    if (x != 0 || y != 0) {
        if (dig.In_Grid(x, y) && !dig.Occupied(x, y))
            Set_Tile_At_Location(x, y, tile, false, true, ++dig.Serial);
        return;
    }
    for (int32_t attempt = 1; attempt <= 101; ++attempt) {
        const int32_t cx = Random_Range(2, dig.Cells_Across - 2);
        const int32_t cy = Random_Range(2, dig.Cells_Down - 2);
        if (dig.Occupied(cx, cy)) continue;
        bool alone = true;
        for (int32_t side = 1; side <= 4; ++side) {
            const TNeighbour_Cell n = Get_Neighbour_Cell(cx, cy, side);
            if (dig.Occupied(n.X, n.Y)) alone = false;
        }
        if (!alone) continue;
        Set_Tile_At_Location(cx, cy, tile, false, true, ++dig.Serial);
        return;
    }
    errors.push_back("Could not place starting tile \"" + name + "\".");
}

void Set_Tile_At_Location(int32_t x, int32_t y, int32_t tile, bool can_be_changed, bool starting,
                          int32_t serial) {
    TDig_Context& dig = Dig_Context();
    if (!dig.In_Grid(x, y)) return;
    TTile_Class* placed = Tile_Classes().Get(tile);
    TDig_Cell& cell = dig.Cell(x, y);
    cell.Tile = placed ? tile : 0;
    if (placed)
        cell.Sides = placed->Connection_Types;
    else
        Sides_Clear(cell.Sides);
    cell.Can_Be_Changed = can_be_changed;
    cell.Starting = starting;
    cell.Serial = serial;
    if (!placed) return;
    if (placed->Max_Per_Level > 0) --placed->Max_Per_Level;
    if (placed->Max_Per_Module > 0) --placed->Max_Per_Module;
}

void Add_Tiles_To_Empty_Map_Connections() {
    TDig_Context& dig = Dig_Context();
    bool changed = true;
    while (changed) {
        changed = false;
        dig.Last_Sweep_Missed_Picks = 0;
        for (int32_t x = 1; x <= dig.Cells_Across; ++x)
            for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
                if (!dig.Occupied(x, y)) continue;
                for (int32_t side = 1; side <= 4; ++side) {
                    // Read afresh for every side: the cell itself never changes during its own visit.
                    if (Side_Flag(dig.Cell(x, y).Sides, side) == 0) continue;
                    const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
                    if (!dig.In_Grid(n.X, n.Y) || dig.Occupied(n.X, n.Y)) continue;
                    const TPick_Result result = Pick_Tile_For_Location(n.X, n.Y, No_Sides);
                    if (result == TPick_Result::Placed) changed = true;
                    if (result == TPick_Result::Missed) ++dig.Last_Sweep_Missed_Picks;
                }
            }
    }
}

bool Add_Tile_To_Location(int32_t x, int32_t y, const TSide_Set& required) {
    return Pick_Tile_For_Location(x, y, required) == TPick_Result::Placed;
}

int32_t Find_Section_Tile(int32_t group, int32_t position_x, int32_t position_y) {
    const TTile_Table& table = Tile_Classes();
    int32_t found = 0;
    for (int32_t i = 1; i <= table.Count(); ++i) {
        const TTile_Class& tile = *table.Get(i);
        if (tile.Section_Group == group && tile.Section_X == position_x && tile.Section_Y == position_y)
            found = i;
    }
    return found;
}

bool Section_Tile_Fits(int32_t tile, int32_t x, int32_t y) {
    const TDig_Context& dig = Dig_Context();
    const TTile_Class* piece = Tile_Classes().Get(tile);
    if (!piece) return false;
    for (int32_t side = 1; side <= 4; ++side) {
        const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
        // A section never touches the edge of the grid.
        if (!dig.In_Grid(n.X, n.Y)) return false;
        if (!dig.Occupied(n.X, n.Y)) continue;
        const uint8_t facing = Side_Flag(dig.Cell(n.X, n.Y).Sides, n.Facing);
        if (Side_Flag(piece->Connection_Types, side) != facing) return false;
    }
    return true;
}

void Resize_Tile_Map() {
    TDig_Context& dig = Dig_Context();
    const TTile_Class_Info* info = Info();
    if (!info) return;
    std::vector<std::pair<int32_t, int32_t>> candidates;
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
            if (!dig.Occupied(x, y) || !dig.Cell(x, y).Can_Be_Changed) continue;
            const TTile_Class* tile = Tile_Classes().Get(dig.Cell(x, y).Tile);
            if (!tile || tile->Section_Group > 0) continue;
            bool open_neighbour = false;
            for (int32_t side = 1; side <= 4; ++side) {
                const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
                if (dig.In_Grid(n.X, n.Y) && !dig.Occupied(n.X, n.Y)) open_neighbour = true;
            }
            if (open_neighbour) candidates.emplace_back(x, y);
        }
    if (candidates.empty()) return;
    for (int32_t n = 0; n < info->Tiles_To_Resize && !candidates.empty(); ++n) {
        const size_t pick = static_cast<size_t>(Random_Range(1, static_cast<int32_t>(candidates.size()))) - 1;
        // The tile is replaced by one that fits its occupied neighbours; a failed cell may come up again.
        if (Add_Tile_To_Location(candidates[pick].first, candidates[pick].second, No_Sides))
            candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(pick));
    }
}

void Grow_Tile_Map() {
    TDig_Context& dig = Dig_Context();
    const TTile_Class_Info* info = Info();
    if (!info) return;
    const double target = static_cast<double>(dig.Cells_Across * dig.Cells_Down) *
                          (static_cast<double>(info->Percent_To_Fill) / 100.0);
    for (int32_t round = 1; round <= 100; ++round) {
        Add_Tiles_To_Empty_Map_Connections();
        if (static_cast<double>(dig.Occupied_Count()) >= target) return;
        Resize_Tile_Map();
    }
}

void Ensure_Starting_Point_Connections(TString_List& errors, const std::string& map_file_name,
                                       int32_t map_index) {
    TDig_Context& dig = Dig_Context();
    std::vector<std::pair<int32_t, int32_t>> starts;
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y)
            if (dig.Occupied(x, y) && dig.Cell(x, y).Starting) starts.emplace_back(x, y);

    const auto index = [&dig](int32_t x, int32_t y) {
        return static_cast<size_t>(x) * static_cast<size_t>(dig.Cells_Down + 1) + static_cast<size_t>(y);
    };
    for (int32_t round = 1; !starts.empty() && round <= 1001; ++round) {
        const std::vector<bool> reached = Reached_From(starts.front().first, starts.front().second);
        bool all = true;
        for (const auto& [x, y] : starts) all = all && reached[index(x, y)];
        if (all) break;

        // Changeable cells on the edge of the reached part, with a changeable neighbour beyond it.
        std::vector<std::pair<std::pair<int32_t, int32_t>, std::pair<int32_t, int32_t>>> pairs;
        for (int32_t x = 1; x <= dig.Cells_Across && pairs.size() < 50; ++x)
            for (int32_t y = 1; y <= dig.Cells_Down && pairs.size() < 50; ++y) {
                if (!reached[index(x, y)] || !dig.Cell(x, y).Can_Be_Changed) continue;
                for (int32_t side = 1; side <= 4 && pairs.size() < 50; ++side) {
                    const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
                    if (!dig.In_Grid(n.X, n.Y) || reached[index(n.X, n.Y)] ||
                        !dig.Cell(n.X, n.Y).Can_Be_Changed)
                        continue;
                    pairs.push_back({{x, y}, {n.X, n.Y}});
                }
            }
        if (pairs.empty()) {
            errors.push_back("Could not ensure starting point connections on Map " +
                             std::to_string(map_index) + ": " + map_file_name + ".");
            break;
        }
        const auto [inside, outside] =
            pairs[static_cast<size_t>(Random_Range(1, static_cast<int32_t>(pairs.size()))) - 1];
        Clear_Cell_For_Repair(inside.first, inside.second);
        Clear_Cell_For_Repair(outside.first, outside.second);
        Add_Tile_To_Location(
            inside.first, inside.second,
            Only_Side(Side_Towards(inside.first, inside.second, outside.first, outside.second)));
        Add_Tile_To_Location(
            outside.first, outside.second,
            Only_Side(Side_Towards(outside.first, outside.second, inside.first, inside.second)));
        Add_Tiles_To_Empty_Map_Connections();
    }
    Add_Tiles_To_Empty_Map_Connections();
}

void Clear_Tile_Section(int32_t group, int32_t serial) {
    if (group < 1) return;
    TDig_Context& dig = Dig_Context();
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
            TDig_Cell& cell = dig.Cell(x, y);
            const TTile_Class* tile = Tile_Classes().Get(cell.Tile);
            if (tile && cell.Serial == serial && tile->Section_Group == group) Empty_Cell(cell);
        }
}

void Collect_Tile_Entrances(int32_t x0, int32_t y0, TWordList& entrance_ids, TWordList& entrance_xs,
                            TWordList& entrance_ys) {
    const TDig_Context& dig = Dig_Context();
    const TTile_Class_Info* info = Info();
    if (!info) return;
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
            const TTile_Class* tile = Tile_Classes().Get(dig.Cell(x, y).Tile);
            if (!tile) continue;
            for (size_t e = 0; e < info->Tile_Entrances.size(); ++e) {
                const TTile_Class_Specific_Location& entrance = info->Tile_Entrances[e];
                if (entrance.Name != tile->Name) continue;
                // The lists hold at most their capacity; a file naming more entrances loses the rest.
                if (entrance_ids.Count() >= TWordList::Largest_Capacity) return;
                int32_t map_x = 0, map_y = 0;
                Rotate_Tile_Position(x0, y0, entrance.X, entrance.Y, tile->Rotation, x, y, map_x, map_y);
                entrance_ids.Add(static_cast<uint16_t>(e + 1));
                entrance_xs.Add(static_cast<uint16_t>(map_x));
                entrance_ys.Add(static_cast<uint16_t>(map_y));
            }
        }
}

void Rotate_Tile_Position(int32_t x0, int32_t y0, int32_t tile_x, int32_t tile_y, int32_t rotation,
                          int32_t cx, int32_t cy, int32_t& map_x, int32_t& map_y) {
    constexpr int32_t edge = Rotatable_Tile_Size + 1;
    int32_t x = tile_x, y = tile_y;
    if (rotation == 1) x = edge - tile_y, y = tile_x;
    if (rotation == 2) x = edge - tile_x, y = edge - tile_y;
    if (rotation == 3) x = tile_y, y = edge - tile_x;
    const TTile_Class_Info* info = Info();
    const int32_t width = info ? info->Tile_Square_Width : Rotatable_Tile_Size;
    const int32_t height = info ? info->Tile_Square_Height : Rotatable_Tile_Size;
    map_x = x + x0 + (cx - 1) * width - 1;
    map_y = y + y0 + (cy - 1) * height - 1;
}
