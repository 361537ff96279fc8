#include "generation/RndModuleMap.h"

#include "core/MapMain.h"
#include "core/Path.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterGroups.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassStore.h"
#include "generation/RndClassTile.h"
#include "generation/RndClassUniqueNames.h"
#include "generation/RndDigTileMap.h"

#include <memory>
#include <optional>

namespace {

// Frees the tables one map's generation loads, however the generation ends: the next map, the restocker
// and the map-generator screen each load their own.
class TMap_Tables_Scope {
public:
    TMap_Tables_Scope() = default;
    TMap_Tables_Scope(const TMap_Tables_Scope&) = delete;
    TMap_Tables_Scope& operator=(const TMap_Tables_Scope&) = delete;
    ~TMap_Tables_Scope() {
        Free_Tile_Classes();
        Free_Store_Classes();
        Free_Chance_Groups();
        Free_Monster_Groups();
        Free_Monster_Rand_Items_Carried();
        Free_Item_Modifiers();
        Free_Monster_Modifiers();
        Free_Unique_Names();
    }
};

std::string Tile_Path(const std::string& name) {
    return Path_Settings() ? Path_Settings()->Get_Tile_File(name) : name;
}

// A class list's load whose error lines are added to the list, not put in its place: the second list's
// errors must not hide the first's.
template <typename TLoad> void Load_Reporting_Into(TString_List& errors, TLoad load) {
    TString_List own;
    if (!load(own)) errors.insert(errors.end(), own.begin(), own.end());
}

} // namespace

TModule_Map_Generation_Files Generation_Files_Of(const TModule_Map_Class& map) {
    return {map.Tiles_File,           map.Terrain_File,        map.Item_Classes_File,
            map.Monster_Classes_File, map.Monster_Groups_File, map.Random_Items_Carried_File,
            map.Stores_File};
}

bool Generate_Module_Map(const TModule_Map_Generation_Files& files, int32_t map_number, TString_List& errors,
                         TWordList& entrance_ids, TWordList& entrance_xs, TWordList& entrance_ys,
                         bool no_sound_check) {
    TMap_Tables_Scope tables;

    // A file the loader refused may hold a tile size of 0, and one without settings says nothing of how to
    // lay the tiles out: neither is dug.
    if (!Load_Tile_Classes(files.Tiles_File) || !Tile_Classes().Info)
        errors.push_back("Unable to load tiles file \"" + Tile_Path(files.Tiles_File) + "\".");

    if (const TPath_Settings* paths = Path_Settings()) {
        Load_Item_Modifiers(paths->Get_ItemModifiers_File());
        Load_Monster_Modifiers(paths->Get_MonsterModifiers_File());
        Load_Chance_Groups();
        Load_Unique_Names(paths->Get_UniqueItemNames_File());
    }
    Load_Monster_Rand_Items_Carried(Tile_Path(files.Random_Items_Carried_File));
    Load_Monster_Groups(Tile_Path(files.Monster_Groups_File));

    if (TMap* map = Current_Map()) map->Terrain_List.Load_From_File(Tile_Path(files.Terrain_File));

    // Module creation makes the two class lists current for all its maps; a caller without them gets lists
    // of its own for this map.
    std::optional<TMonster_Class_List> own_monsters;
    std::optional<TCurrent_Monster_Class_List_Guard> own_monsters_current;
    if (!Current_Monster_Class_List()) own_monsters_current.emplace(own_monsters.emplace());
    std::optional<TItem_Class_List> own_items;
    std::optional<TCurrent_Item_Class_List_Guard> own_items_current;
    if (!Current_Item_Class_List()) own_items_current.emplace(own_items.emplace());

    Load_Reporting_Into(errors, [&](TString_List& own) {
        return Current_Monster_Class_List()->Load_From_File(Tile_Path(files.Monster_Classes_File), &own,
                                                            no_sound_check);
    });
    Load_Reporting_Into(errors, [&](TString_List& own) {
        return Current_Item_Class_List()->Load_From_File(Tile_Path(files.Item_Classes_File), &own);
    });

    Load_Store_Classes(files.Stores_File);

    if (!errors.empty()) return false;
    Dig_Tile_Map(entrance_ids, entrance_xs, entrance_ys, map_number, files.Tiles_File, errors);
    return true;
}
