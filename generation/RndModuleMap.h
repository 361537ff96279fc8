// The generation of one map of a module into the current map: the map's tables are loaded, the map is dug
// and populated from them, and every table is freed again, whatever happens. Module creation runs it for
// each map in turn; the seed catalog and the benchmarks run it on their own.
#pragma once

#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <string>

struct TModule_Map_Class;

// The files of one map, each a name in the module's "Tiles/" folder.
struct TModule_Map_Generation_Files {
    std::string Tiles_File;
    std::string Terrain_File;
    std::string Item_Classes_File;
    std::string Monster_Classes_File;
    std::string Monster_Groups_File;
    std::string Random_Items_Carried_File;
    std::string Stores_File;
};
// The files the module class data names for the map.
TModule_Map_Generation_Files Generation_Files_Of(const TModule_Map_Class& map);

// Generates map map_number of the current module class into the current map:
// 1. the tiles file (a file that fails to load, or gives no settings, adds "Unable to load tiles file "
//    followed by its path in double quotes and ".", and the map is not dug);
// 2. the module's item modifiers, monster modifiers, chance groups and unique item names, then the map's
//    random items carried and monster groups;
// 3. the terrain file into the current map's terrain list;
// 4. the monster classes into the current monster class list and the item classes into the current item
//    class list (made for this call when none is current), their error lines appended to errors;
// 5. the store classes;
// 6. when errors is still empty, the dig, which fills the three entrance lists and appends its own errors;
// 7. every table of steps 1, 2 and 5 freed, also when a step throws.
// Loaders other than the class lists show their own errors. Without no_sound_check every sound a monster
// class names must exist. True when the map was dug.
bool Generate_Module_Map(const TModule_Map_Generation_Files& files, int32_t map_number, TString_List& errors,
                         TWordList& entrance_ids, TWordList& entrance_xs, TWordList& entrance_ys,
                         bool no_sound_check = false);
