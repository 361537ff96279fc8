// Module class data: what an adventure is made of. The module's "Data/ModuleData.txt" describes the module
// as a whole and, per map, the files that build it, the generation parameters and how the maps connect.
// One module class is current at a time: the new-game flow loads it before module creation, the selection
// and map-generator screens load it for their own use.
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One connection of a map, listed by its source map ("Map m Conn c ..." keys).
struct TModule_Map_Connections_Class {
    int32_t Source_Map_Number = 0;       // the map that lists it
    int32_t Entrance_Id = 0;             // " Entrance ID"
    int32_t Destination_Map_Number = 0;  // " Destination Map Number"
    int32_t Destination_Entrance_Id = 0; // " Dest Entrance ID"
    uint8_t Connection_Type = 0;         // Connection_Type_Names code 1..4; 0 when the text matched none
};

// One map of the module; every key is "Map m" followed by the words of its comment.
struct TModule_Map_Class {
    int32_t Map_Number = 0;                          // its position m
    std::string Name;                                // " Name"
    std::string Display_Name;                        // " Display Name"
    std::string Tiles_File;                          // " Tiles Filename"
    std::string Terrain_File;                        // " Terrain Filename"
    std::string Item_Classes_File;                   // " Item Classes Filename"
    std::string Monster_Classes_File;                // " Monster Classes Filename"
    std::string Monster_Groups_File;                 // " Monster Groups Filename"
    std::string Random_Items_Carried_File;           // " Monster Random Items Carried Filename"
    std::string Stores_File;                         // " Stores Filename"
    std::string Music_File;                          // " Music Filename"
    bool Universal_Light = true;                     // " Universal Light"; stays true when the key is missing
    uint16_t Chance_Group = 0;                       // " Chance Group": an ID of the chance groups file
    std::string Trap_Group_Name;                     // " Trap Group Name"
    bool Place_Random_Items = false;                 // " Place Random Items"
    std::string Item_Group_Filter;                   // " Item Grouping Type"
    uint16_t Items_Min = 0, Items_Max = 0;           // " Minimum/Maximum Number of Items"
    uint16_t Item_Level_Min = 0, Item_Level_Max = 0; // " Item Level Min/Max"
    uint16_t Magic_Item_Chance = 0;                  // " Chance for Magic Item Percent"
    uint16_t Unique_Item_Chance = 0;                 // " Chance for Unique Item Percent"
    double Magic_Chance_Per_Start_Level = 0;         // " Increase Magic Item Pct Per Char Start Lvl"
    double Unique_Chance_Per_Start_Level = 0;        // " Increase Unique Item Pct Per Char Start Lvl"
    uint16_t Chest_Item_Chance = 0;                  // " Chance for Items in Chest"
    uint16_t Chest_Items_Min = 0, Chest_Items_Max = 0;       // " Minimum/Maximum Number of Items Per Chest"
    bool Place_Random_Monsters = false;                      // " Place Random Monsters"
    std::string Monster_Group_Filter;                        // " Monster Grouping Type"
    uint16_t Monsters_Min = 0, Monsters_Max = 0;             // " Minimum/Maximum Number of Monsters"
    uint16_t Monster_Groups_Min = 0, Monster_Groups_Max = 0; // " Minimum/Maximum Number of Monster Groups"
    uint16_t Monsters_Per_Difficulty = 0;                    // " Increase In Monsters Per Difficulty"
    uint16_t Monster_Groups_Per_Difficulty = 0;              // " Increase In Monster Groups Per Difficulty"
    uint16_t Monster_Level_Min = 0, Monster_Level_Max = 0;   // " Monster Level Min/Max"
    uint16_t Monster_Modifier_Chance = 0;                    // " Chance for Monster Modifier Percent"
    uint16_t Modifier_Chance_Per_Difficulty = 0;             // " Diff Level Incr Monst Mod Percent"
    int32_t Number_Of_Connections = 0;                       // " Number of Connections"
    // Connection c is element c - 1.
    std::vector<std::unique_ptr<TModule_Map_Connections_Class>> Connections;

    // Connection c (from 1); null outside the connections read.
    const TModule_Map_Connections_Class* Get_Connection(int32_t c) const;
};

// The map a tiles file builds and the class files beside it; number 0 and every name empty when none.
struct TModule_Map_Files {
    int32_t Map_Number = 0;
    std::string Terrain_File;
    std::string Item_Classes_File;
    std::string Monster_Classes_File;
    std::string Monster_Groups_File;
    std::string Random_Items_Carried_File;
};

class TModule_Class {
public:
    std::string Name;                       // "Name"
    std::string Description;                // "Description"
    std::string Difficulty_Description;     // "Module Difficulty Description"; empty when absent
    int32_t Number_Of_Intro_Paragraphs = 0; // "Number of Intro Paragraphs"
    TString_List Intro_Paragraphs;          // "Intro Paragraph n", those present
    std::string Character_Data_Set;         // "Character Data Set Identifier"
    int32_t Starting_Map_Number = 0;        // "Starting Map Number"
    int32_t Starting_Map_Entrance_Id = 0;   // "Starting Map Entrance ID"
    int32_t Number_Of_Maps = 0;             // "Number Of Maps"
    std::vector<std::unique_ptr<TModule_Map_Class>> Maps; // map m is element m - 1

    // Map m (from 1); null outside the maps read. Map indexes come from callers and files.
    const TModule_Map_Class* Get_Map(int32_t m) const;
    // The last map whose tiles file names the file (ASCII letter case ignored), with its class files.
    TModule_Map_Files Find_Map_By_Tiles_File(const std::string& tiles_file) const;
};

// Reads the first record of a module data file into the class; later records are not read.
class TModule_Class_Data_File_Loader : public TData_File_Loader {
public:
    TModule_Class_Data_File_Loader(const std::string& file_name, TModule_Class& module_class)
        : TData_File_Loader(file_name), Module_(module_class) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_Map(TModule_Map_Class& map);
    void Read_Connection(TModule_Map_Connections_Class& connection, const std::string& prefix);

    TModule_Class& Module_;
};

// The current module class; null when none is loaded.
TModule_Class* Module_Class();
// Frees the current class, makes a new empty one current and reads the file into it. With errors, shows them
// under "Ошибки модуля в файлах данных: " (or puts them into error_list) and returns false; the partly
// filled class stays current.
bool Load_Module_Class(const std::string& file_name, TString_List* error_list = nullptr);
void Free_Module_Class();
