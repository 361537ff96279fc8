// The change of map through a connection: the player, his followers, everything they carry and the item
// on the cursor leave the old map, which is saved to its file, and are put into the map loaded from the
// destination's file under new ids.
#include "ui/DCMainTick.h"

#include "core/DebugLog.h"
#include "core/DisplayFlagSeam.h"
#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/HeldItem.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/ProgressSeam.h"
#include "core/SaveGame.h"

#include <memory>
#include <vector>

std::optional<TConnection_Destination> Find_Connection_Destination(TModule& module, int32_t map, int32_t x,
                                                                   int32_t y) {
    std::optional<TConnection_Destination> found;
    if (TModule_Map* current = module.Get_Map(map)) {
        for (TModule_Map_Connection& connection : current->Connections) {
            if (connection.Entrance_X != x || connection.Entrance_Y != y) continue;
            const uint8_t type = connection.Connection_Type;
            const bool forward = type == Connection_Two_Way_Always ||
                                 type == Connection_Two_Way_Source_Initiated ||
                                 type == Connection_One_Way_Only ||
                                 (type == Connection_Two_Way_Destination_Initiated && connection.Used);
            if (!forward) continue;
            found = TConnection_Destination{connection.Destination_Map, connection.Destination_X,
                                            connection.Destination_Y};
            connection.Used = true;
        }
    }
    if (!found) {
        for (int32_t m = 1; m <= module.Map_Count(); ++m) {
            for (TModule_Map_Connection& connection : module.Get_Map(m)->Connections) {
                if (connection.Destination_Map != map || connection.Destination_X != x ||
                    connection.Destination_Y != y)
                    continue;
                const uint8_t type = connection.Connection_Type;
                const bool back = type == Connection_Two_Way_Always ||
                                  type == Connection_Two_Way_Destination_Initiated ||
                                  (type == Connection_Two_Way_Source_Initiated && connection.Used);
                if (!back) continue;
                found = TConnection_Destination{m, connection.Entrance_X, connection.Entrance_Y};
                connection.Used = true;
            }
        }
    }
    // Maps and squares come from the module file.
    if (!found || found->Map < 1 || found->Map > module.Map_Count()) return std::nullopt;
    if (found->X < 1 || found->X > Map_Width || found->Y < 1 || found->Y > Map_Height) return std::nullopt;
    return found;
}

namespace {

// A creature on its way to another map: a copy of it and of the items of its slots 1..90 in slot order,
// with the ids those items had on the old map.
struct TCarried_Creature {
    std::unique_ptr<TMonster> Creature;
    std::vector<std::unique_ptr<TItem>> Items;
    TWordList Old_Ids;
};

std::unique_ptr<TItem> Copy_Of(const TItem& item) {
    auto copy = std::make_unique<TItem>();
    copy->Assign(item);
    return copy;
}

TCarried_Creature Carry(const TMonster& creature) {
    TCarried_Creature carried;
    carried.Creature = std::make_unique<TMonster>();
    carried.Creature->Assign(creature);
    for (int32_t slot = First_Equipment_Slot; slot <= Last_Backpack_Slot; ++slot) {
        const TItem* item = creature.Item_In_Slot(slot);
        if (!item) continue;
        carried.Items.push_back(Copy_Of(*item));
        carried.Old_Ids.Add(item->Id);
    }
    return carried;
}

void Delete_Carried_Items(const TCarried_Creature& carried, TMap& map) {
    for (int32_t n = 1; n <= carried.Old_Ids.Count(); ++n) map.Item_List.Delete_At(carried.Old_Ids.Get(n));
}

// Adds the carried items to the map and renumbers the arrived creature's inventory; the new ids, in the
// order of the old ones.
TWordList Add_Carried_Items(const TCarried_Creature& carried, TMap& map, TMonster& arrived) {
    TWordList new_ids;
    for (const auto& item : carried.Items) new_ids.Add(map.Item_List.Add(item.get()));
    arrived.Inventory.Remap_Ids(carried.Old_Ids, new_ids);
    arrived.Recalculate_Stats();
    return new_ids;
}

// The progress box for the life of the object, closed however the scope is left.
class TProgress_Scope {
public:
    explicit TProgress_Scope(const std::string& caption) { Progress_Sink().Open_Progress(caption); }
    ~TProgress_Scope() { Progress_Sink().Close_Progress(); }
    TProgress_Scope(const TProgress_Scope&) = delete;
    TProgress_Scope& operator=(const TProgress_Scope&) = delete;
};

std::string Map_File_Path(const std::string& folder, int32_t map) {
    return folder + std::to_string(map) + ".map";
}

} // namespace

bool TDC_Main_Tick::Change_Map() {
    TMonster* player = Player();
    TMap* map = Current_Map();
    TModule* module = Module();
    const TPath_Settings* paths = Path_Settings();
    if (!player || !map || !module || !paths) return false;
    const int32_t from_map = module->Current_Map;
    const int32_t from_x = player->X, from_y = player->Y;
    std::optional<TConnection_Destination> destination =
        Find_Connection_Destination(*module, from_map, from_x, from_y);
    if (!destination) return false;

    TProgress_Scope progress("Загрузка...");
    TGame_Options* options = Game_Options();
    if (options) options->Entry_Level = player->Level;

    // Everyone who leaves, and what they carry, is copied before the old map is saved and replaced.
    TCarried_Creature hero = Carry(*player);
    std::vector<TCarried_Creature> followers;
    for (int32_t id = 1; id <= map->Monster_List.Get_Count(); ++id) {
        const TMonster* creature = map->Monster_List.Get_Monster(static_cast<size_t>(id));
        if (!creature || creature == player || creature->Leader_Id != static_cast<int32_t>(player->Id))
            continue;
        followers.push_back(Carry(*creature));
        map->Remove_Monster(creature->Id);
    }
    std::unique_ptr<TItem> held;
    if (const TItem* item = Take_Held_Item()) {
        held = Copy_Of(*item);
        map->Item_List.Delete_At(item->Id);
    }

    map->Remove_Monster(player->Id);
    Progress_Sink().Set_Progress(10);
    // What left with them must not stay behind in the saved map as items nobody holds.
    Delete_Carried_Items(hero, *map);
    for (const TCarried_Creature& follower : followers) Delete_Carried_Items(follower, *map);
    Set_Player(nullptr);
    player = nullptr;
    Progress_Sink().Set_Progress(20);

    const std::string folder = paths->Get_Current_Game_Folder();
    const bool saved = Save_Map(*map, Map_File_Path(folder, from_map));
    Progress_Sink().Set_Progress(40);
    if (!Load_Map(Map_File_Path(folder, destination->Map), false)) {
        // The player goes back where he stood. A failed load left the old map in play; it is read again
        // from the file just written so it is the map as saved.
        if (saved) Load_Map(Map_File_Path(folder, from_map), false);
        destination = TConnection_Destination{from_map, from_x, from_y};
    }
    Progress_Sink().Set_Progress(60);
    map = Current_Map();

    TMonster* arrived = map->Monster_List.Add_Monster(*hero.Creature);
    if (!arrived) {
        Log("General", "TDC_Main.Change_Map - the creature list of the map is full");
        return false;
    }
    Set_Player(arrived);
    const TWordList new_ids = Add_Carried_Items(hero, *map, *arrived);
    if (options) options->Remap_Ids(hero.Old_Ids, new_ids);
    if (held) Set_Held_Item_Id(map->Item_List.Add(held.get()));

    // A creature already on the arrival square keeps it: recording the player there would unlink it.
    int32_t x = destination->X, y = destination->Y;
    const TMap_Square* arrival = map->Get_Square(x, y);
    if (arrival && map->Monster_On(*arrival)) {
        int32_t free_x = 0, free_y = 0;
        if (map->Find_Free_Square_Near(x, y, free_x, free_y)) {
            x = free_x;
            y = free_y;
        }
    }
    arrived->Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
    map->Place_Monster(*arrived);

    for (const TCarried_Creature& follower : followers) {
        int32_t free_x = 0, free_y = 0;
        if (!map->Find_Free_Square_Near(arrived->X, arrived->Y, free_x, free_y)) {
            Log("General",
                "TDC_Main.Change_Map - no free square near the player for " + follower.Creature->Name);
            continue;
        }
        TMonster* companion = map->Monster_List.Add_Monster(*follower.Creature);
        if (!companion) continue;
        Add_Carried_Items(follower, *map, *companion);
        companion->Set_Position(static_cast<uint8_t>(free_x), static_cast<uint8_t>(free_y));
        map->Place_Monster(*companion);
        companion->Set_Leader(static_cast<int16_t>(arrived->Id));
    }

    Progress_Sink().Set_Progress(70);
    Display_Flag_Sink().Load_Map_Bitmaps(*map);
    module->Set_Current_Map(static_cast<uint16_t>(destination->Map), arrived->X, arrived->Y);
    // Sprites that name creatures by id would name others on this map; pictures on squares run out.
    if (TSprites_List* sprites = Sprites_List()) sprites->Clear_Creature_Sprites();
    Host_.Play_Music(module->Get_Current_Map_Music());
    arrived->Spells.Fill_Quick_Bar(true, false);
    Host_.Update_Spell_Buttons();
    return true;
}
