#include "core/Struct.h"

#include "core/CharClass.h"
#include "core/DebugLog.h"
#include "core/DisplayEffects.h"
#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/GameSettings.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "core/WorldEvents.h"

namespace {
const char* const Unit = "Struct";
}

void Create_Primary_Global_Structs() {
    Log(Unit, "Create_Primary_Global_Structs - Start");
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    Create_Game_Settings();
    Log(Unit, "Create_Primary_Global_Structs - End");
}

void Load_Primary_Global_Structs() {
    Log(Unit, "Load_Primary_Global_Structs - Start");
    Load_Game_Settings();
    Log(Unit, "Load_Primary_Global_Structs - End");
}

void Free_Primary_Global_Structs() {
    Log(Unit, "Free_Primary_Global_Structs - Start");
    Install_Path_Settings(nullptr);
    Free_Game_Settings();
    Log(Unit, "Free_Primary_Global_Structs - End");
}

void Create_Global_Structs() {
    Log(Unit, "Create_Global_Structs - Start");
    Install_Current_Map(std::make_unique<TMap>());
    Install_Module(std::make_unique<TModule>());
    Connect_Module_Events();
    Create_Game_Options();
    Install_Sprites_List(std::make_unique<TSprites_List>());
    Log(Unit, "Create_Global_Structs - End");
}

bool Load_Global_Structs() {
    Log(Unit, "Load_Global_Structs - Start");
    Load_Display_Effects();
    Reload_Class_Info();
    const bool spells = Load_Master_Spells();
    Log(Unit, "Load_Global_Structs - End");
    return spells;
}

void Free_Global_Structs() {
    Log(Unit, "Free_Global_Structs - Start");
    Install_Current_Map(nullptr);
    World_Events::Install(nullptr);
    Install_Module(nullptr);
    Free_Game_Options();
    Free_Master_Spells();
    Free_Class_Info();
    Free_Display_Effects();
    Install_Sprites_List(nullptr);
    Log(Unit, "Free_Global_Structs - End");
}

bool Reload_Global_Data() {
    Log(Unit, "Reload_Global_Data - Start");
    Load_Display_Effects();
    Reload_Class_Info();
    Load_Master_Spells();
    const bool settings = Load_Game_Settings();
    Log(Unit, "Reload_Global_Data - End");
    return settings;
}
