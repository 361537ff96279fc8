// Module creation: when a new game starts, every map of the current module class is generated in turn,
// the maps are joined through their entrances and written into the current-game folder as "1.map",
// "2.map", ..., and the module itself (its maps, connections, start square, quests and events) as
// "Module.mod". Play then loads those files.
#pragma once

#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>

class TModule;
class TModule_Class;

// The first entry of the entrance lists whose id is code gives x and y; false with x = y = 0 when the
// lists hold none.
bool Find_Location_By_Code(const TWordList& ids, const TWordList& xs, const TWordList& ys, int32_t code,
                           int32_t& x, int32_t& y);

// Joins map map_number, just dug into the current map, to the others: every connection of any map that
// leads into it gets its destination square, every connection of its own gets its source square, and each
// of those squares of the current map is marked as an entrance. A missing entrance, or a connection whose
// destination map is not a map of the module, adds its line to errors.
void Connect_Map_Entrances(const TModule_Class& module_class, int32_t map_number, TModule& module,
                           TString_List& errors, const TWordList& ids, const TWordList& xs,
                           const TWordList& ys);

// Creates the module of the current module class into the current-game folder, reporting through the
// progress sink: 0 at the start, 10 once the module is filled, a share of 80 per map, 90 after the maps,
// 100 at the end. Maps are generated while no error has been collected; a map is written even when its own
// dig added errors. With errors, or when a file cannot be written, the result is false, the errors are
// shown under "Ошибки создания модуля: " and "Module.mod" is not written; map files written so far stay.
bool Create_Module();
