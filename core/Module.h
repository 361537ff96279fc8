// The adventure being played: its name and introduction, its maps with their level ranges and chances, the
// connections (entrances) between the maps, where the player starts and which map he is on, and the
// module's quests and events. Module creation writes it as "Module.mod" into the current-game folder;
// starting or loading a game reads it back.
#pragma once

#include "core/ModuleEvents.h"
#include "core/ModuleQuests.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Connection types (the names of Connection_Type_Names).
enum : uint8_t {
    Connection_Two_Way_Always = 1,
    Connection_Two_Way_Destination_Initiated = 2,
    Connection_Two_Way_Source_Initiated = 3,
    Connection_One_Way_Only = 4,
};

class TModule_Map_Connection {
public:
    uint16_t Connection_Number = 0; // 1-based within its map
    uint16_t Destination_Map = 0;   // the number of the map it leads to
    uint16_t Entrance_X = 0, Entrance_Y = 0;
    uint16_t Destination_X = 0, Destination_Y = 0;
    uint8_t Connection_Type = 0;
    bool Used = false;

    void Clear() { *this = TModule_Map_Connection(); }
    // The six words, the type (byte), Used.
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);
    bool operator==(const TModule_Map_Connection&) const = default;
};

class TModule_Map {
public:
    uint16_t Map_Number = 0; // its file is this number followed by ".map"
    std::string Display_Name;
    std::string Music_File;
    uint16_t Item_Level_Min = 0, Item_Level_Max = 0;
    uint16_t Monster_Level_Min = 0, Monster_Level_Max = 0;
    uint8_t Magic_Item_Chance = 0, Unique_Item_Chance = 0, Monster_Modifier_Chance = 0; // percents
    std::string Item_Grouping_Type;
    std::string Monster_Grouping_Type;
    std::vector<TModule_Map_Connection> Connections; // connection n at element n - 1

    uint16_t Connection_Count() const { return static_cast<uint16_t>(Connections.size()); }
    // Connection n; null for 0 or beyond the count.
    TModule_Map_Connection* Get_Connection(int32_t n);
    void Clear_Connections() { Connections.clear(); }
    // The number, the two names, the four levels (words), the three chances (bytes), the two grouping
    // types, the connection count (word) and each connection.
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);
    bool operator==(const TModule_Map&) const = default;
};

class TModule {
public:
    TModule();
    virtual ~TModule() = default;
    // The quest and event lists know each other through this object: it is neither copied nor moved.
    TModule(const TModule&) = delete;
    TModule& operator=(const TModule&) = delete;

    std::string Module_Name; // the heading of the introduction
    std::string Description;
    TString_List Paragraphs; // the introduction; Paragraph_Count is its size
    std::string Character_Data_Set;
    uint16_t Start_Map = 0, Start_X = 0, Start_Y = 0;
    // Current_Map is the map's position in Maps (1-based), which module creation keeps equal to its number.
    uint16_t Current_Map = 0, Current_X = 0, Current_Y = 0;
    std::string Source_Folder; // the folder the module was last read from; not saved
    std::string File_Name;     // the file name the module was last read under
    TModule_Quests_List Quests;
    TModule_Events_List Events;
    std::vector<TModule_Map> Maps; // map n at element n - 1; Map_Count is its size

    uint16_t Paragraph_Count() const { return static_cast<uint16_t>(Paragraphs.size()); }
    uint16_t Map_Count() const { return static_cast<uint16_t>(Maps.size()); }
    // Map n; null for 0 or beyond the count (map numbers come from files).
    TModule_Map* Get_Map(int32_t n);
    const TModule_Map* Get_Map(int32_t n) const;

    // Name, description, the paragraphs (count and texts), the character data set, start and current
    // positions (six words), the map count and each map, File_Name, the quests, the events.
    void Save(TStream_Writer& w) const;
    // Reads the same into this module (paragraphs, maps, quests and events are emptied first). The file
    // name stored in the file is never used: File_Name becomes file_name. A broken stream raises
    // EStream_Read_Error and leaves the module partly read; readers of whole files read into a new module.
    bool Load(TStream_Reader& r, const std::string& file_name);
    void Free_Maps() { Maps.clear(); }
    void Set_Current_Map(uint16_t map_position, uint16_t x, uint16_t y);
    void Set_Source_Folder(const std::string& folder) { Source_Folder = folder; }
    // The music of the map at position Current_Map; empty when Current_Map is outside 1..Map_Count (it
    // comes from the file).
    std::string Get_Current_Map_Music() const;
    // Takes everything another module holds, quests and events included; outcomes this module had queued
    // are dropped, as a module read anew has none.
    void Take_From(TModule& other);
};

// The module that module creation fills; it adds nothing.
class TWriteable_Module : public TModule {};

// The running module: created at start-up, replaced by a loaded game, installed by tests. Null when none.
TModule* Module();
void Install_Module(std::unique_ptr<TModule> module);
std::unique_ptr<TModule> Remove_Module();

// Lets a creature's death reach the running module's events: installs the world's death hook, which fires
// the module's "Monster Killed" events with the creature's event id (nothing while no module is installed).
void Connect_Module_Events();
