// What the digger does with a finished layout: every occupied cell is stamped into squares, then the level
// is finished and populated, and last the outer border is filled. Run by the dig once its layout and
// entrances are known.
#pragma once

#include "core/SaveStream.h"
#include "generation/RndDigTileMap.h"
#include "generation/RndTileStamp.h"

#include <string>

// Every occupied cell, column by column, stamped at its tile area (the cell's squares from X0, Y0). With
// the chance group's lock and trap groups given, each stamped tile then gets its locks and traps (the traps
// named after the map's trap group).
void Stamp_Dug_Cells(const TDig_Context& dig, const TTerrain_Group_Chances* locks,
                     const TTerrain_Group_Chances* traps);

// The bands along the map's edges, b + 8 squares wide on the left and top and b + 9 on the right and bottom
// (b the "Increased Border Size"), filled with the terrain the border categories match (0 when none
// does); nothing when the settings name no border categories. The bands stay inside the map however
// large b is.
void Fill_Outer_Border();

// The finishing steps in order: stamping, the level's finishing and population, the outer border.
void Finish_Dug_Map(TDig_Context& dig, TString_List& errors);
