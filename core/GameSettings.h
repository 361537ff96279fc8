// Settings of the installation or the module, read at start from "Settings.txt" in the "Data" folder.
#pragma once

#include "core/DataFileLoader.h"

#include <cstdint>
#include <memory>
#include <string>

struct TGame_Settings {
    bool Allow_Music = false;
    bool Allow_Sound = false;
    bool Use_DirectSound = false;
    std::string Music_Song_Intro;
    std::string Music_Song_Death;
    uint16_t Color_Depth = 16; // set by the display start-up, not by the file
    bool Generate_Debug_Log = true;
};

// The one program-wide settings object; null until created. Creating and freeing it also switches what
// the debug log reads.
TGame_Settings* Game_Settings();
TGame_Settings& Create_Game_Settings();
void Free_Game_Settings();

// Every record of the file is read as the main record.
class TGame_Settings_Data_File_Loader : public TData_File_Loader {
public:
    TGame_Settings_Data_File_Loader(const std::string& file_name, TGame_Settings& settings)
        : TData_File_Loader(file_name), Settings_(settings) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    TGame_Settings& Settings_;
};

// Loads the settings file (found through the path settings) into the global settings, creating them when
// they do not exist. Errors are shown as one message then one message per line; the result is then false.
bool Load_Game_Settings();
