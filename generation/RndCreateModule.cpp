#include "generation/RndCreateModule.h"

#include "core/MapMain.h"
#include "core/MapSquare.h"
#include "core/Messages.h"
#include "core/Module.h"
#include "core/Path.h"
#include "core/ProgressSeam.h"
#include "core/SaveGame.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassMonster.h"
#include "generation/RndModuleMap.h"
#include "platform/FileOps.h"

#include <exception>
#include <memory>
#include <string>

namespace {

const char* const Start_Not_Found = "Не удается найти позицию начала модуля.";

// Marks the square of the current map as an entrance; a square off the map has nothing to mark.
void Mark_Entrance(int32_t x, int32_t y) {
    if (TMap* map = Current_Map())
        if (TMap_Square* square = map->Get_Square(x, y)) square->Set_Entrance(true);
}

void Fill_Module(const TModule_Class& c, TModule& module) {
    module.Module_Name = c.Name;
    module.Description = c.Description;
    module.Paragraphs = c.Intro_Paragraphs;
    module.Character_Data_Set = c.Character_Data_Set;
    for (const auto& map_class : c.Maps) {
        TModule_Map map;
        map.Map_Number = static_cast<uint16_t>(map_class->Map_Number);
        map.Display_Name = map_class->Display_Name;
        map.Music_File = map_class->Music_File;
        map.Item_Level_Min = map_class->Item_Level_Min;
        map.Item_Level_Max = map_class->Item_Level_Max;
        map.Monster_Level_Min = map_class->Monster_Level_Min;
        map.Monster_Level_Max = map_class->Monster_Level_Max;
        // The file keeps a byte for each chance: larger values keep their low byte.
        map.Magic_Item_Chance = static_cast<uint8_t>(map_class->Magic_Item_Chance);
        map.Unique_Item_Chance = static_cast<uint8_t>(map_class->Unique_Item_Chance);
        map.Monster_Modifier_Chance = static_cast<uint8_t>(map_class->Monster_Modifier_Chance);
        map.Item_Grouping_Type = map_class->Item_Group_Filter;
        map.Monster_Grouping_Type = map_class->Monster_Group_Filter;
        for (size_t n = 0; n < map_class->Connections.size(); ++n) {
            const TModule_Map_Connections_Class& connection_class = *map_class->Connections[n];
            TModule_Map_Connection connection;
            connection.Connection_Number = static_cast<uint16_t>(n + 1);
            connection.Destination_Map = static_cast<uint16_t>(connection_class.Destination_Map_Number);
            connection.Connection_Type = connection_class.Connection_Type;
            map.Connections.push_back(connection);
        }
        module.Maps.push_back(std::move(map));
    }
}

// Writes the current map, under the map's display name and light, as the map file at path.
bool Save_Map_File(const TModule_Map_Class& map_class, const std::string& path) {
    TWriteable_Map map;
    map.Assign(*Current_Map());
    map.Set_Name(map_class.Display_Name);
    map.Set_Universal_Light(map_class.Universal_Light);
    return Save_File(
        path, [&map](TStream_Writer& w) { Write_Map_File_Body(w, map); }, "Error",
        "Unable to save module file \"" + path + "\".");
}

bool Save_Module_File(const TModule& module, const std::string& folder) {
    const std::string path = folder + "Module.mod";
    return Save_File(
        path, [&module](TStream_Writer& w) { Write_Module_File_Body(w, module); }, "Error",
        "Unable to save module file \"" + path + "\".");
}

// The steps of creation between progress 0 and 90; false when a file could not be written. Errors go into
// the list.
bool Create_Maps_And_Module(const TModule_Class& c, TWriteable_Module& module, TString_List& errors) {
    Fill_Module(c, module);
    Progress_Sink().Set_Progress(10);

    const std::string folder = Path_Settings() ? Path_Settings()->Get_Current_Game_Folder() : std::string();
    std::string folder_error;
    plat::Make_Folders(folder, folder_error);
    if (!Current_Map()) Install_Current_Map(std::make_unique<TMap>());

    TMonster_Class_List monsters;
    TCurrent_Monster_Class_List_Guard monsters_current(monsters);
    TItem_Class_List items;
    TCurrent_Item_Class_List_Guard items_current(items);

    const int32_t map_count = static_cast<int32_t>(c.Maps.size());
    // Without maps there is nothing to share out; beyond 80 maps each gets less than a percent.
    const int32_t step = map_count > 0 ? 80 / map_count : 0;
    int32_t progress = 10;
    bool start_found = false;
    bool written = true;
    TWordList ids, xs, ys;
    for (int32_t i = 1; i <= map_count && errors.empty() && written; ++i) {
        const TModule_Map_Class& map_class = *c.Maps[static_cast<size_t>(i) - 1];
        Progress_Sink().Set_Progress_Caption("Карта " + std::to_string(i) + " - создание области");
        ids.Clear();
        xs.Clear();
        ys.Clear();
        Generate_Module_Map(Generation_Files_Of(map_class), i, errors, ids, xs, ys);
        Connect_Map_Entrances(c, i, module, errors, ids, xs, ys);
        if (i == c.Starting_Map_Number) {
            int32_t x = 0, y = 0;
            if (Find_Location_By_Code(ids, xs, ys, c.Starting_Map_Entrance_Id, x, y)) {
                module.Start_Map = static_cast<uint16_t>(i);
                module.Start_X = static_cast<uint16_t>(x);
                module.Start_Y = static_cast<uint16_t>(y);
                start_found = true;
            } else {
                errors.push_back(Start_Not_Found);
            }
        }
        written = Save_Map_File(map_class, folder + std::to_string(i) + ".map");
        progress += step;
        Progress_Sink().Set_Progress(progress);
    }
    // No map, or a starting map number that names none: the module would start nowhere.
    if (!start_found && errors.empty() && written) errors.push_back(Start_Not_Found);

    module.Set_Current_Map(module.Start_Map, module.Start_X, module.Start_Y);
    module.Quests.Create_From_Classes();
    module.Events.Create_From_Classes();
    Progress_Sink().Set_Progress(90);

    if (!written || !errors.empty()) return written;
    return Save_Module_File(module, folder);
}

} // namespace

bool Find_Location_By_Code(const TWordList& ids, const TWordList& xs, const TWordList& ys, int32_t code,
                           int32_t& x, int32_t& y) {
    x = 0;
    y = 0;
    for (int32_t n = 1; n <= ids.Count(); ++n) {
        if (ids.Get(n) != code) continue;
        x = xs.Get(n);
        y = ys.Get(n);
        return true;
    }
    return false;
}

void Connect_Map_Entrances(const TModule_Class& module_class, int32_t map_number, TModule& module,
                           TString_List& errors, const TWordList& ids, const TWordList& xs,
                           const TWordList& ys) {
    const std::string into = "For Map " + std::to_string(map_number) + ": ";
    // The connections of every map that lead into this one.
    for (const auto& map_class : module_class.Maps) {
        for (size_t n = 0; n < map_class->Connections.size(); ++n) {
            const TModule_Map_Connections_Class& c = *map_class->Connections[n];
            if (c.Destination_Map_Number != map_number) continue;
            int32_t x = 0, y = 0;
            if (!Find_Location_By_Code(ids, xs, ys, c.Destination_Entrance_Id, x, y)) {
                errors.push_back("Error Entrance Not Found  - " + into + "Map " +
                                 std::to_string(map_class->Map_Number) + " Connection " +
                                 std::to_string(n + 1) + " has destination entrance " +
                                 std::to_string(c.Destination_Entrance_Id) + ".");
                continue;
            }
            if (TModule_Map* map = module.Get_Map(map_class->Map_Number))
                if (TModule_Map_Connection* connection = map->Get_Connection(static_cast<int32_t>(n + 1))) {
                    connection->Destination_X = static_cast<uint16_t>(x);
                    connection->Destination_Y = static_cast<uint16_t>(y);
                }
            Mark_Entrance(x, y);
        }
    }
    // This map's own connections.
    const TModule_Map_Class* own = module_class.Get_Map(map_number);
    if (!own) return;
    const int32_t map_count = static_cast<int32_t>(module_class.Maps.size());
    for (size_t n = 0; n < own->Connections.size(); ++n) {
        const TModule_Map_Connections_Class& c = *own->Connections[n];
        const std::string number = std::to_string(n + 1);
        // A connection into no map of the module would be saved leading to square 0, 0 of map 0.
        if (c.Destination_Map_Number < 1 || c.Destination_Map_Number > map_count)
            errors.push_back("Error Destination Map Not Found - Map " + std::to_string(map_number) +
                             " Connection " + number + " has destination map " +
                             std::to_string(c.Destination_Map_Number) + ".");
        int32_t x = 0, y = 0;
        if (!Find_Location_By_Code(ids, xs, ys, c.Entrance_Id, x, y)) {
            errors.push_back("Error Entrance Not Found - " + into + "Connection " + number +
                             " has entrance " + std::to_string(c.Entrance_Id) + ".");
            continue;
        }
        if (TModule_Map* map = module.Get_Map(map_number))
            if (TModule_Map_Connection* connection = map->Get_Connection(static_cast<int32_t>(n + 1))) {
                connection->Entrance_X = static_cast<uint16_t>(x);
                connection->Entrance_Y = static_cast<uint16_t>(y);
            }
        Mark_Entrance(x, y);
    }
}

bool Create_Module() {
    Progress_Sink().Set_Progress_Caption("Формирование модуля");
    Progress_Sink().Set_Progress(0);
    TString_List errors;
    bool written = false;
    std::string module_name;
    try {
        const TModule_Class* c = Module_Class();
        if (!c) throw std::runtime_error("No module class data is loaded.");
        module_name = c->Name;
        auto module = std::make_unique<TWriteable_Module>();
        written = Create_Maps_And_Module(*c, *module, errors);
    } catch (const std::exception& e) {
        // Whatever failed, the game must not start on a half-made module.
        errors.push_back(e.what());
        written = false;
    }
    if (!errors.empty()) Show_Data_File_Errors(errors, "Ошибки создания модуля: ", module_name);
    Progress_Sink().Set_Progress(100);
    return written && errors.empty();
}
