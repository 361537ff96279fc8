// What the digger does with a finished layout: every occupied cell is stamped into squares with its locks and
// traps, the walls, doors and black borders are finished, the level is populated with items, creatures,
// monster groups, stores and chest contents, and last the outer border is filled. Run by the dig once its
// layout and entrances are known; everything writes the current map.
#pragma once

#include "core/SaveStream.h"
#include "generation/RndDigTileMap.h"
#include "generation/RndTileStamp.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TItem_Class;
struct TModule_Chance_Group;

// Every occupied cell, column by column, stamped at its tile area (the cell's squares from X0, Y0). With
// the chance group's lock and trap groups given, each stamped tile then gets its locks and traps (the traps
// named after the map's trap group).
void Stamp_Dug_Cells(const TDig_Context& dig, const TTerrain_Group_Chances* locks,
                     const TTerrain_Group_Chances* traps);
// The lock and the trap groups of a chance group with their percents, pair by pair.
TTerrain_Group_Chances Chance_Group_Locks(const TModule_Chance_Group& group);
TTerrain_Group_Chances Chance_Group_Traps(const TModule_Chance_Group& group);

// Fills the context's two placement lists: per occupied cell (column by column) whose tile allows random
// creatures (items), the squares of its area (columns outer) whose terrain is the one its placement
// categories drew for the cell; then shuffles each list in three passes.
void Collect_Placement_Squares(TDig_Context& dig);
// The next square of the list from the cursor on that holds neither a creature nor an item; the cursor
// moves past every square looked at. False when the list is used up.
bool Pick_Free_Placement_Square(const std::vector<TSquare_Position>& list, size_t& cursor,
                                TSquare_Position& square);

// The classes random items of each type 1..23 are drawn from (element 0 unused): classes that appear at
// random, from the map's lowest item level on, that the map's item grouping admits, in class order.
using TItem_Type_Classes = std::array<std::vector<const TItem_Class*>, 24>;
TItem_Type_Classes Build_Random_Item_Classes(const TDig_Parameters& params);
// The type of a random item: the chance group's roll when the map has a group, and an even draw of 1..23
// when it has none or the roll gives no type.
int32_t Roll_Random_Item_Type(const TModule_Chance_Group* group);

// The tiles' own items, then (with "Place Random Items") the random items on free item squares. Missing
// classes of the tiles' items are reported to errors.
void Place_Map_Items(TDig_Context& dig, TString_List& errors);
// The tiles' own creatures, then (with "Place Random Monsters") random creatures of the map's grouping on
// free monster squares. A tile creature whose square already holds one is skipped and logged.
void Place_Map_Monsters(TDig_Context& dig, TString_List& errors);
// The monster groups: each a group the map's grouping admits, its leader and then its followers around him.
void Place_Monster_Groups(TDig_Context& dig, TString_List& errors);
// A square for a member of a group. Around a leader (both coordinates above 0): blocks of 3 to 11 squares
// around him, each square inside the map that a walking creature may enter taken with one chance in three,
// the last taken of the first block that gave one. Without a leader: up to 101 draws from the whole list
// until a square without a creature comes up. False with an empty list.
bool Find_Free_Square_Near_Leader(int32_t leader_x, int32_t leader_y,
                                  const std::vector<TSquare_Position>& list, TSquare_Position& square);

// One unstocked store per loaded store class, in order, addressed by its "Store ID" as class index.
void Create_Map_Stores(const std::string& stores_file, const std::string& item_classes_file);
// Every square of a chest terrain in the stamped tiles becomes a chest, holding the items the chance and the
// counts give (none when a count is 0 or below, or the chance roll fails).
void Fill_Map_Chests(const TDig_Context& dig);

// The bands along the map's edges, b + 8 squares wide on the left and top and b + 9 on the right and bottom
// (b the "Increased Border Size"), filled with the terrain the border categories match (0 when none
// does); nothing when the settings name no border categories. The bands stay inside the map however
// large b is.
void Fill_Outer_Border();

// The finishing steps in order: stamping with locks and traps, black border, wall shapes, door directions,
// placement squares, items, creatures, monster groups, stores, chests, the outer border.
void Finish_Dug_Map(TDig_Context& dig, TString_List& errors);
