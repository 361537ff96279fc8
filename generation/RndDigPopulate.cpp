#include "generation/RndDigPopulate.h"

#include "core/DebugLog.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterGroups.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassStore.h"
#include "generation/RndDigFinish.h"

#include <memory>
#include <utility>

namespace {

constexpr int32_t First_Item_Type = 1;
constexpr int32_t Last_Item_Type = 23;

TTerrain_Group_Chances Group_Chances(const TString_List& names, const TWordList& percents) {
    TTerrain_Group_Chances chances;
    chances.Names = names;
    for (int32_t n = 1; n <= percents.Count(); ++n) chances.Percents.push_back(percents.Get(n));
    return chances;
}

const TModule_Chance_Group* Map_Chance_Group(const TDig_Context& dig) {
    return Get_Chance_Group(dig.Params.Chance_Group_Index);
}

// Calls visit(cell x, cell y, tile, left square, top square) for every occupied cell, column by column.
template <typename TVisit> void For_Each_Occupied_Cell(const TDig_Context& dig, TVisit visit) {
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
            const TTile_Class* tile = Tile_Classes().Get(dig.Cell(x, y).Tile);
            if (!tile) continue;
            visit(x, y, *tile, dig.X0 + (x - 1) * Tile_Area_Width(*tile),
                  dig.Y0 + (y - 1) * Tile_Area_Height(*tile));
        }
}

// The squares of the tile's area at sx, sy (columns outer, rows inner) that lie on the map.
template <typename TVisit>
void For_Each_Area_Square(const TTile_Class& tile, int32_t sx, int32_t sy, TVisit visit) {
    TMap* map = Current_Map();
    const int32_t width = Tile_Area_Width(tile), height = Tile_Area_Height(tile);
    for (int32_t c = 0; c < width; ++c)
        for (int32_t r = 0; r < height; ++r)
            if (TMap_Square* square = map->Get_Square(sx + c, sy + r)) visit(sx + c, sy + r, *square);
}

void Collect_Squares(const TTile_Class& tile, int32_t sx, int32_t sy, const TString_List& categories,
                     std::vector<TSquare_Position>& list) {
    const uint16_t terrain = Match_Terrain_Symbols(categories);
    // Categories that match nothing offer no square, not the squares without terrain.
    if (terrain == 0) return;
    For_Each_Area_Square(tile, sx, sy, [&](int32_t x, int32_t y, const TMap_Square& square) {
        if (square.Terrain_Id == terrain) list.push_back({x, y});
    });
}

void Shuffle(std::vector<TSquare_Position>& list) {
    if (list.empty()) return;
    const int32_t count = static_cast<int32_t>(list.size());
    for (int pass = 1; pass <= 3; ++pass)
        for (size_t i = 0; i < list.size(); ++i)
            std::swap(list[i], list[static_cast<size_t>(Random_Range(1, count)) - 1]);
}

uint16_t Create_Map_Item(const TItem_Class* item_class, int32_t x, int32_t y, bool put_on_square,
                         const TDig_Parameters& p) {
    return Create_Item_From_Class(item_class, x, y, put_on_square, p.Item_Level_Min, p.Item_Level_Max,
                                  p.Magic_Item_Chance, p.Unique_Item_Chance, p.Magic_Chance_Per_Start_Level,
                                  p.Unique_Chance_Per_Start_Level, 0);
}

// A class of a random item: the type rolled, then one of its classes evenly; null when the type has none.
const TItem_Class* Pick_Random_Item_Class(const TItem_Type_Classes& classes,
                                          const TModule_Chance_Group* group) {
    const std::vector<const TItem_Class*>& candidates =
        classes[static_cast<size_t>(Roll_Random_Item_Type(group))];
    if (candidates.empty()) return nullptr;
    return candidates[static_cast<size_t>(Random_Range(1, static_cast<int32_t>(candidates.size()))) - 1];
}

std::string Map_Text(const TDig_Context& dig) {
    return " on Map " + std::to_string(dig.Map_Index) + ": " + dig.Map_File_Name + ".";
}

// The square of a tile's own creature or item in the cell.
TSquare_Position Specific_Square(const TDig_Context& dig, const TTile_Class& tile,
                                 const TTile_Class_Specific_Location& location, int32_t cx, int32_t cy) {
    TSquare_Position square;
    Rotate_Tile_Position(dig.X0, dig.Y0, location.X, location.Y, tile.Rotation, cx, cy, square.X, square.Y);
    return square;
}

uint16_t Create_Map_Monster(const TMonster_Class* monster_class, const TSquare_Position& square,
                            const TDig_Parameters& p) {
    return Create_Monster_From_Class(monster_class, square.X, square.Y, p.Monster_Level_Min,
                                     p.Monster_Level_Max, p.Item_Level_Min, p.Item_Level_Max,
                                     p.Item_Group_Filter, p.Monster_Modifier_Chance);
}

const TMonster_Class* Pick_Monster_Class(const std::string& name, const std::string& filter) {
    const TMonster_Class_List* classes = Current_Monster_Class_List();
    return classes ? classes->Pick_Random_Class(name, filter) : nullptr;
}

// One member of a group on its square; the creature made, or null.
TMonster* Create_Group_Member(const TModule_Monster_Group_Monster& member, const TSquare_Position& square,
                              const TDig_Context& dig, TString_List& errors) {
    const TDig_Parameters& p = dig.Params;
    const TMonster_Class* monster_class = Pick_Monster_Class(member.Class_Name, p.Monster_Group_Filter);
    if (!monster_class) {
        errors.push_back("Could not locate monster class \"" + member.Class_Name + "\"" + Map_Text(dig));
        return nullptr;
    }
    const int32_t plus = member.Monster_Level_Min_Plus;
    const uint16_t id = Create_Monster_From_Class(monster_class, square.X, square.Y,
                                                  p.Monster_Level_Min + plus, p.Monster_Level_Max + plus,
                                                  p.Item_Level_Min, p.Item_Level_Max, p.Item_Group_Filter, 0);
    return Creature_By_Id(id);
}

void Apply_Group_Modifiers(const TModule_Monster_Group_Monster& member, TMonster& creature) {
    for (const std::string& type : member.Modifier_Names) {
        const TMonster_Modifier_Class* modifier = Pick_Monster_Modifier(type, creature.Level);
        if (!modifier) continue;
        Apply_Effects_To_Monster(creature, modifier->Effects, modifier->Experience_Bonus_Percent);
        creature.Status_Lines.push_back(modifier->Name);
    }
}

void Place_Monster_Group(const TModule_Monster_Group& group, TDig_Context& dig, TString_List& errors) {
    TMonster* leader = nullptr;
    TSquare_Position leader_square;
    for (const TModule_Monster_Group_Monster& member : group.Members) {
        TSquare_Position square;
        const bool found =
            Find_Free_Square_Near_Leader(leader_square.X, leader_square.Y, dig.Monster_Squares, square);
        // A follower listed before its leader has nobody to follow: it is never made.
        if (!found || (!member.Is_Leader && !leader)) continue;
        TMonster* creature = Create_Group_Member(member, square, dig, errors);
        if (!creature) continue;
        if (member.Is_Leader) {
            leader = creature;
            leader_square = square;
            if (!group.Leader_Name_Prefix.empty())
                creature->Name = group.Leader_Name_Prefix + " " + creature->Name;
            if (!group.Leader_Name_Suffix.empty())
                creature->Name = creature->Name + " " + group.Leader_Name_Suffix;
        } else {
            creature->Set_Leader(static_cast<int16_t>(leader->Id));
            creature->Set_Guard_Range(group.Follow_Distance);
        }
        Apply_Group_Modifiers(member, *creature);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Stamping

void Stamp_Dug_Cells(const TDig_Context& dig, const TTerrain_Group_Chances* locks,
                     const TTerrain_Group_Chances* traps) {
    For_Each_Occupied_Cell(dig, [&](int32_t, int32_t, const TTile_Class& tile, int32_t sx, int32_t sy) {
        Stamp_Tile(tile, sx, sy);
        if (locks) Lock_Tile_Squares(tile, sx, sy, *locks);
        if (traps) Trap_Tile_Squares(tile, sx, sy, dig.Params.Trap_Group_Name, *traps);
    });
}

TTerrain_Group_Chances Chance_Group_Locks(const TModule_Chance_Group& group) {
    return Group_Chances(group.Locked_Terrain_Group_Names, group.Locked_Terrain_Group_Percents);
}

TTerrain_Group_Chances Chance_Group_Traps(const TModule_Chance_Group& group) {
    return Group_Chances(group.Trapped_Terrain_Group_Names, group.Trapped_Terrain_Group_Percents);
}

// ---------------------------------------------------------------------------------------------------------
// Placement squares

void Collect_Placement_Squares(TDig_Context& dig) {
    dig.Monster_Squares.clear();
    dig.Item_Squares.clear();
    if (!Current_Map()) return;
    For_Each_Occupied_Cell(dig, [&](int32_t, int32_t, const TTile_Class& tile, int32_t sx, int32_t sy) {
        if (tile.Allow_Random_Monsters)
            Collect_Squares(tile, sx, sy, tile.Monster_Placement_Categories, dig.Monster_Squares);
        if (tile.Allow_Random_Items)
            Collect_Squares(tile, sx, sy, tile.Item_Placement_Categories, dig.Item_Squares);
    });
    Shuffle(dig.Monster_Squares);
    Shuffle(dig.Item_Squares);
}

bool Pick_Free_Placement_Square(const std::vector<TSquare_Position>& list, size_t& cursor,
                                TSquare_Position& square) {
    const TMap* map = Current_Map();
    if (!map) return false;
    while (cursor < list.size()) {
        const TSquare_Position& candidate = list[cursor++];
        const TMap_Square* here = map->Get_Square(candidate.X, candidate.Y);
        if (here && here->Monster_Id == 0 && here->Item_Field == 0) {
            square = candidate;
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Items

TItem_Type_Classes Build_Random_Item_Classes(const TDig_Parameters& params) {
    TItem_Type_Classes classes;
    const TItem_Class_List* list = Current_Item_Class_List();
    if (!list) return classes;
    for (int32_t n = 1; n <= list->Get_Count(); ++n) {
        const TItem_Class& c = *list->Get_Class(n);
        if (!c.Random_Appearance || c.Item_Level_Min > params.Item_Level_Min ||
            !c.Group_Matches(params.Item_Group_Filter) || c.Item_Type < First_Item_Type ||
            c.Item_Type > Last_Item_Type)
            continue;
        classes[c.Item_Type].push_back(&c);
    }
    return classes;
}

int32_t Roll_Random_Item_Type(const TModule_Chance_Group* group) {
    const int32_t type = group ? Roll_Item_Type(*group) : 0;
    return type >= First_Item_Type && type <= Last_Item_Type ? type
                                                             : Random_Range(First_Item_Type, Last_Item_Type);
}

void Place_Map_Items(TDig_Context& dig, TString_List& errors) {
    const TDig_Parameters& p = dig.Params;
    const TItem_Class_List* list = Current_Item_Class_List();
    For_Each_Occupied_Cell(dig, [&](int32_t cx, int32_t cy, const TTile_Class& tile, int32_t, int32_t) {
        for (const TTile_Class_Specific_Location& item : tile.Specific_Items) {
            const TSquare_Position square = Specific_Square(dig, tile, item, cx, cy);
            const TItem_Class* item_class =
                list ? list->Pick_Random_Class(item.Name, p.Item_Group_Filter) : nullptr;
            if (item_class)
                Create_Map_Item(item_class, square.X, square.Y, true, p);
            else
                errors.push_back("Could not locate item \"" + item.Name + "\"" + Map_Text(dig));
        }
    });
    if (!p.Place_Random_Items) return;

    TMap* map = Current_Map();
    if (map && list) map->Item_List.Set_List_Name(list->File_Name);
    TModule_Chance_Group* group = Get_Chance_Group(p.Chance_Group_Index);
    if (group) Build_Item_Type_Table(*group);
    const TItem_Type_Classes classes = Build_Random_Item_Classes(p);
    const int32_t count = Random_Range(p.Items_Min, p.Items_Max);
    size_t cursor = 0;
    for (int32_t n = 1; n <= count; ++n) {
        TSquare_Position square;
        if (!Pick_Free_Placement_Square(dig.Item_Squares, cursor, square)) break;
        if (const TItem_Class* item_class = Pick_Random_Item_Class(classes, group))
            Create_Map_Item(item_class, square.X, square.Y, true, p);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Creatures

void Place_Map_Monsters(TDig_Context& dig, TString_List& errors) {
    const TDig_Parameters& p = dig.Params;
    TMap* map = Current_Map();
    if (!map) return;
    For_Each_Occupied_Cell(dig, [&](int32_t cx, int32_t cy, const TTile_Class& tile, int32_t, int32_t) {
        for (const TTile_Class_Specific_Location& monster : tile.Specific_Monsters) {
            const TSquare_Position square = Specific_Square(dig, tile, monster, cx, cy);
            const TMonster_Class* monster_class = Pick_Monster_Class(monster.Name, p.Monster_Group_Filter);
            if (!monster_class) {
                errors.push_back("Could not locate monster \"" + monster.Name + "\"" + Map_Text(dig));
                continue;
            }
            // Two creatures on one square would leave the first on no square at all, yet alive in the list.
            const TMap_Square* here = map->Get_Square(square.X, square.Y);
            if (here && here->Monster_Id != 0) {
                Log("General", "Skipped monster \"" + monster.Name + "\" at " + std::to_string(square.X) +
                                   "," + std::to_string(square.Y) + ": the square holds a creature" +
                                   Map_Text(dig));
                continue;
            }
            Create_Map_Monster(monster_class, square, p);
        }
    });
    if (!p.Place_Random_Monsters) return;

    // Every candidate is as likely as the next, whatever its appearance chance.
    std::vector<const TMonster_Class*> candidates;
    if (const TMonster_Class_List* classes = Current_Monster_Class_List())
        for (int32_t n = 1; n <= classes->Get_Count(); ++n) {
            const TMonster_Class* c = classes->Get_Class(n);
            if (c->Appearance_Chance > 0 && c->Group_Matches(p.Monster_Group_Filter)) candidates.push_back(c);
        }
    const int32_t count = Random_Range(p.Monsters_Min, p.Monsters_Max);
    if (candidates.empty()) return;
    size_t cursor = 0;
    for (int32_t n = 1; n <= count; ++n) {
        TSquare_Position square;
        if (!Pick_Free_Placement_Square(dig.Monster_Squares, cursor, square)) break;
        const int32_t pick = Random_Range(1, static_cast<int32_t>(candidates.size()));
        Create_Map_Monster(candidates[static_cast<size_t>(pick) - 1], square, p);
    }
}

void Place_Monster_Groups(TDig_Context& dig, TString_List& errors) {
    const TDig_Parameters& p = dig.Params;
    const int32_t count = Random_Range(p.Monster_Groups_Min, p.Monster_Groups_Max);
    for (int32_t n = 1; n <= count; ++n) {
        std::vector<const TModule_Monster_Group*> candidates;
        for (int32_t g = 1; g <= Monster_Group_Count(); ++g)
            if (Get_Monster_Group(g)->Group_Matches(p.Monster_Group_Filter))
                candidates.push_back(Get_Monster_Group(g));
        if (candidates.empty()) continue;
        const int32_t pick = Random_Range(1, static_cast<int32_t>(candidates.size()));
        Place_Monster_Group(*candidates[static_cast<size_t>(pick) - 1], dig, errors);
    }
}

bool Find_Free_Square_Near_Leader(int32_t leader_x, int32_t leader_y,
                                  const std::vector<TSquare_Position>& list, TSquare_Position& square) {
    const TMap* map = Current_Map();
    if (list.empty() || !map) return false;
    if (leader_x != 0 && leader_y != 0) {
        for (int32_t d = 3; d <= 11; ++d) {
            bool found = false;
            for (int32_t y = leader_y - d; y <= leader_y + d; ++y)
                for (int32_t x = leader_x - d; x <= leader_x + d; ++x) {
                    const TMap_Square* here = map->Get_Square(x, y);
                    if (!here || !map->Is_Free_Here(*here, Movement_Land)) continue;
                    if (Random_Range(1, 3) != 1) continue;
                    square = {x, y};
                    found = true;
                }
            if (found) return true;
        }
        return false;
    }
    const TMap_Square* here = nullptr;
    for (int32_t draw = 1; draw <= 101; ++draw) {
        square = list[static_cast<size_t>(Random_Range(1, static_cast<int32_t>(list.size()))) - 1];
        here = map->Get_Square(square.X, square.Y);
        if (here && here->Monster_Id == 0) return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Stores and chests

void Create_Map_Stores(const std::string& stores_file, const std::string& item_classes_file) {
    TMap* map = Current_Map();
    if (!map) return;
    for (int32_t n = 1; n <= Store_Class_Count(); ++n) {
        auto store = std::make_unique<TStore>();
        store->Init(Get_Store_Class(n)->Store_Id, stores_file, item_classes_file);
        map->Add_Store(std::move(store));
    }
}

void Fill_Map_Chests(const TDig_Context& dig) {
    const TDig_Parameters& p = dig.Params;
    TMap* map = Current_Map();
    if (!map) return;
    const TModule_Chance_Group* group = Map_Chance_Group(dig);
    const TItem_Type_Classes classes = Build_Random_Item_Classes(p);
    For_Each_Occupied_Cell(dig, [&](int32_t, int32_t, const TTile_Class& tile, int32_t sx, int32_t sy) {
        For_Each_Area_Square(tile, sx, sy, [&](int32_t x, int32_t y, const TMap_Square& square) {
            const TTerrain* terrain = map->Terrain_Of(square);
            if (!terrain || !terrain->Display_Chest_Window) return;
            int32_t count = 0;
            if (p.Chest_Items_Min > 0 && p.Chest_Items_Max > 0 && p.Chest_Item_Chance >= Random_Range(1, 100))
                count = Random_Range(p.Chest_Items_Min, p.Chest_Items_Max);
            TWordList ids;
            // No more items than a chest's list can hold: an item made beyond it would belong to nothing.
            for (int32_t n = 1; n <= count && ids.Count() < TWordList::Largest_Capacity; ++n) {
                const TItem_Class* item_class = Pick_Random_Item_Class(classes, group);
                // A full item list answers 0, which names no item: it is not put into the chest.
                const uint16_t id = item_class ? Create_Map_Item(item_class, x, y, false, p) : 0;
                if (id != 0) ids.Add(id);
            }
            map->Add_Chest(ids, x, y);
        });
    });
}

// ---------------------------------------------------------------------------------------------------------
// Border and the whole

void Fill_Outer_Border() {
    const TTile_Class_Info* info = Tile_Classes().Info.get();
    if (!info || info->Fill_Border_Categories.empty()) return;
    const int32_t b = info->Increased_Border_Size;
    const uint16_t terrain = Match_Terrain_Symbols(info->Fill_Border_Categories);
    Fill_Rect_Terrain({1, 1, b + 8, Map_Height}, terrain);
    Fill_Rect_Terrain({1, 1, Map_Width, b + 8}, terrain);
    Fill_Rect_Terrain({192 - b, 1, Map_Width, Map_Height}, terrain);
    Fill_Rect_Terrain({1, 192 - b, Map_Width, Map_Height}, terrain);
}

void Finish_Dug_Map(TDig_Context& dig, TString_List& errors) {
    if (const TModule_Chance_Group* group = Map_Chance_Group(dig)) {
        const TTerrain_Group_Chances locks = Chance_Group_Locks(*group);
        const TTerrain_Group_Chances traps = Chance_Group_Traps(*group);
        Stamp_Dug_Cells(dig, &locks, &traps);
    } else {
        Stamp_Dug_Cells(dig, nullptr, nullptr);
    }

    if (const TTile_Class_Info* info = Tile_Classes().Info.get()) {
        if (info->Add_Black_Border) Add_Black_Border_To_Walls();
        if (info->Change_Generic_Walls) Change_Generic_Walls_To_Specific();
        if (info->Change_Door_Directions) Change_Door_Directions();
    }

    Collect_Placement_Squares(dig);
    Place_Map_Items(dig, errors);
    Place_Map_Monsters(dig, errors);
    Place_Monster_Groups(dig, errors);
    Create_Map_Stores(dig.Params.Stores_File, dig.Params.Item_Classes_File);
    Fill_Map_Chests(dig);
    Fill_Outer_Border();
}
