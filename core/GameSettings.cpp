#include "core/GameSettings.h"

#include "core/DebugLog.h"
#include "core/Messages.h"
#include "core/Path.h"

namespace {
std::unique_ptr<TGame_Settings> Settings;
const char* const Log_Unit = "GameSettings";
} // namespace

TGame_Settings* Game_Settings() {
    return Settings.get();
}

TGame_Settings& Create_Game_Settings() {
    Settings = std::make_unique<TGame_Settings>();
    Set_Log_Settings(Settings.get());
    return *Settings;
}

void Free_Game_Settings() {
    Set_Log_Settings(nullptr);
    Settings.reset();
}

void TGame_Settings_Data_File_Loader::Process_Record(int32_t) {
    Log(Log_Unit, "TGame_Settings_Data_File_Loader.Process_Record - Start");
    Set_Record_Name("Main Record");
    std::string value;
    auto read = [&](const char* key, auto store) {
        if (Get_Field_Value(key, value, true)) store(value);
        Log(Log_Unit, std::string("    ") + key + " = " + value);
    };
    read("Allow Music", [&](const std::string& v) { Settings_.Allow_Music = Str_To_Bool(v); });
    read("Allow Sound", [&](const std::string& v) { Settings_.Allow_Sound = Str_To_Bool(v); });
    read("Use DirectSound", [&](const std::string& v) { Settings_.Use_DirectSound = Str_To_Bool(v); });
    read("Music Song Intro", [&](const std::string& v) { Settings_.Music_Song_Intro = Str_To_Str(v); });
    read("Music Song Death", [&](const std::string& v) { Settings_.Music_Song_Death = Str_To_Str(v); });
    read("Generate Debug Log", [&](const std::string& v) { Settings_.Generate_Debug_Log = Str_To_Bool(v); });
    Log(Log_Unit, "TGame_Settings_Data_File_Loader.Process_Record - End");
}

bool Load_Game_Settings() {
    Log(Log_Unit, "Load_Game_Settings - Start");
    bool result = true;
    TGame_Settings& settings = Game_Settings() ? *Game_Settings() : Create_Game_Settings();
    const std::string path = Path_Settings() ? Path_Settings()->Get_Settings_File() : std::string();
    Log(Log_Unit, "    TGame_Settings_Data_File_Loader.create");
    TGame_Settings_Data_File_Loader loader(path, settings);
    Log(Log_Unit, "    data_loader.Execute_Load");
    loader.Execute_Load();
    if (!loader.Get_Error_List().empty()) {
        Log(Log_Unit, "    data_loader.Get_Error_List.count > 0");
        const std::string heading = "Errors reading file \"" + path + "\".";
        Show_Message("Data File Error", heading);
        Log(Log_Unit, "    Error Msg: " + heading);
        for (const std::string& line : loader.Get_Error_List()) {
            Show_Message("Data File Error", line);
            Log(Log_Unit, "    Error Msg: " + line);
        }
        result = false;
    }
    Log(Log_Unit, "Load_Game_Settings - End");
    return result;
}
