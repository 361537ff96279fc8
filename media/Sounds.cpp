#include "media/Sounds.h"

#include "core/DebugLog.h"
#include "core/GameSettings.h"
#include "core/GlobalFuncs.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Path.h"
#include "media/DSWaveFiles.h"
#include "platform/PathLayer.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

const char* const Unit = "Sounds";
constexpr int32_t Volume_Per_Square = 100;
constexpr int32_t Volume_Per_Blocking_Square = 1500;

std::shared_ptr<TSounds> Installed_Sounds;

bool Effects_On() {
    const TGame_Settings* settings = Game_Settings();
    return Machine_Options().Play_Sounds && settings && settings->Allow_Sound;
}
bool Music_On() {
    const TGame_Settings* settings = Game_Settings();
    return Machine_Options().Play_Music && settings && settings->Allow_Music;
}
bool Use_DirectSound() {
    const TGame_Settings* settings = Game_Settings();
    return settings && settings->Use_DirectSound;
}

std::string Sound_Path(const std::string& file_name) {
    const TPath_Settings* paths = Path_Settings();
    return paths ? paths->Get_Sound_File(file_name) : std::string();
}

// Only plain 8- and 16-bit PCM plays; its frames must be what the format says they are.
bool Is_Playable(const TWave_Format& format) {
    if (format.Format_Tag != Wave_Format_Pcm) return false;
    if (format.Bits_Per_Sample != 8 && format.Bits_Per_Sample != 16) return false;
    if (format.Channels == 0 || format.Samples_Per_Second == 0) return false;
    return format.Block_Align == format.Channels * (format.Bits_Per_Sample / 8);
}

} // namespace

int32_t Sound_Pan_For_Angle(int32_t g) {
    if (g <= 45) return 50 * g - 2250;
    if (g < 225) return 50 * (90 - std::abs(135 - g));
    return -50 * (90 - std::abs(315 - g));
}

TSounds::TSounds(std::shared_ptr<plat::TAudio_Backend> backend) : Backend_(std::move(backend)) {
    Backend_->Set_Music_Handler(
        [this](bool successful) {
            Sound_Music_Notify(successful ? MCI_NOTIFY_SUCCESSFUL : MCI_NOTIFY_ABORTED);
        },
        this);
}

TSounds::~TSounds() {
    Backend_->Clear_Music_Handler(this);
}

void TSounds::Sound_Intialize_Sound_System() {
    Log(Unit, "Sound_Intialize_Sound_System - Start");
    if (Use_DirectSound()) {
        Ring_Position_ = 0;
        Default_Volume_ = 0;
        Log(Unit, "  SoundBase_Initialize_DirectSound");
        SoundBase_Initialize_DirectSound();
        for (int slot = 1; slot <= Sound_Ring_Slots; ++slot) Backend_->Free_Channel(slot);
        Music_Device_ = 0;
        Music_Busy_ = 0;
    } else {
        Backend_->Open();
    }
    Log(Unit, "Sound_Intialize_Sound_System - End");
}

void TSounds::Sound_Free_Sound_System() {
    Log(Unit, "Sound_Free_Sound_System - Start");
    if (Use_DirectSound()) {
        for (int slot = 1; slot <= Sound_Ring_Slots; ++slot) Backend_->Free_Channel(slot);
        Log(Unit, "  SoundBase_Free_DirectSound");
    }
    // The music is closed whatever the settings, so nothing plays on after shut-down.
    if (Music_Device_ != 0) {
        Log(Unit, "  MCISendCommand(MCI_CLOSE)");
        Close_Music_Device();
    }
    SoundBase_Free_DirectSound();
}

bool TSounds::SoundBase_Initialize_DirectSound() {
    for (int slot = 1; slot <= Sound_Ring_Slots; ++slot) Backend_->Free_Channel(slot);
    Backend_->Open();
    return true;
}

bool TSounds::SoundBase_Free_DirectSound() {
    Backend_->Close();
    return true;
}

bool TSounds::Load_Wave_Buffer(const std::string& path, int slot) {
    TWave_Handle handle;
    TWave_Format_Record format;
    TMmio_Chunk riff, data;
    if (Wave_Open_File(path, handle, format, riff) != 0) return false;
    if (Wave_Start_Data_Read(*handle, data, riff) != 0 || !Is_Playable(*format) || data.Size == 0) {
        Wave_Close_Read_File(handle, format);
        return false;
    }
    plat::TPcm_Sound sound;
    sound.Channels = format->Channels;
    sound.Samples_Per_Second = format->Samples_Per_Second;
    sound.Bits_Per_Sample = format->Bits_Per_Sample;
    uint32_t read = 0;
    int32_t code = 0;
    try {
        sound.Samples.resize(data.Size);
        code = Wave_Read_File(*handle, data.Size, sound.Samples.data(), read, data);
    } catch (const std::bad_alloc&) {
        code = Wave_Error_No_Memory;
    }
    Wave_Close_Read_File(handle, format);
    if (code != 0) return false;
    return Backend_->Load_Channel(slot, sound, path);
}

void TSounds::Sound_Play(const std::string& file_name) {
    if (Use_DirectSound())
        Sound_Play_Buffer(file_name, Default_Volume_, 0);
    else
        Sound_Play_Wave(file_name, true);
}

void TSounds::Sound_Play_Wave(const std::string& file_name, bool asynchronous) {
    if (!Effects_On()) return;
    // The plain channel holds one sound: loading the next halts the last.
    Backend_->Free_Channel(plat::Audio_Plain_Channel);
    if (!Load_Wave_Buffer(Sound_Path(file_name), plat::Audio_Plain_Channel)) return;
    Backend_->Play_Channel(plat::Audio_Plain_Channel, 0, 0);
    if (!asynchronous) Backend_->Wait_Channel(plat::Audio_Plain_Channel);
}

void TSounds::Sound_Play_Buffer(const std::string& file_name, int32_t volume, int32_t pan) {
    if (!Effects_On()) return;
    Ring_Position_ = Ring_Position_ + 1;
    if (Ring_Position_ > Sound_Ring_Slots) Ring_Position_ = 1;
    Backend_->Free_Channel(Ring_Position_);
    if (!Load_Wave_Buffer(Sound_Path(file_name), Ring_Position_)) return;
    Backend_->Play_Channel(Ring_Position_, volume, pan);
}

void TSounds::Sound_Play_At(const std::string& file_name, int source_x, int source_y, int listener_x,
                            int listener_y) {
    // Both plays test both gates, "Allow Sound" among them, before anything sounds.
    if (!Use_DirectSound()) {
        Sound_Play_Wave(file_name, true);
        return;
    }
    // In 64 bits: positions are whatever the caller passes, and the floor below keeps the result in range.
    const int64_t range = TMap::Get_Range(source_x, source_y, listener_x, listener_y);
    int64_t volume = Default_Volume_;
    if (range != 0) volume += Volume_Per_Square - Volume_Per_Square * range;
    if (const TMap* map = Current_Map())
        volume -= int64_t(Volume_Per_Blocking_Square) *
                  map->Count_Blocking_On_Line(source_x, source_y, listener_x, listener_y);
    int32_t pan = 0;
    if (source_x != listener_x || source_y != listener_y)
        pan = Sound_Pan_For_Angle(Angle_Between(listener_x, listener_y, source_x, source_y));
    Sound_Play_Buffer(file_name, static_cast<int32_t>(std::max<int64_t>(volume, Sound_Volume_Silent)), pan);
}

void TSounds::Close_Music_Device() {
    Backend_->Music_Close();
    Music_Device_ = 0;
}

void TSounds::Sound_Start_Music(const std::string& file_name) {
    Log(Unit, "Sound_Start_Music(" + file_name + ") - Start");
    if (Music_On()) {
        const TPath_Settings* paths = Path_Settings();
        const std::string path = paths ? paths->Get_Music_File(file_name) : std::string();
        Music_Busy_ = 1;
        if (Music_Device_ != 0) Close_Music_Device();
        if (!path.empty() && plat::Is_Regular_File(path)) {
            Log(Unit, "  MCISendCommand(MCI_OPEN)");
            if (Backend_->Music_Open(path)) Music_Device_ = ++Last_Device_;
            // Times are kept in milliseconds already; the command stays for the log's sake.
            Log(Unit, "  MCISendCommand(MCI_SET)");
            Log(Unit, "  MCISendCommand(MCI_PLAY)");
            if (Music_Device_ != 0) Backend_->Music_Play();
        }
        Music_Busy_ = 0;
    }
    Log(Unit, "Sound_Start_Music - End");
}

void TSounds::Sound_Stop_Music() {
    Log(Unit, "Sound_Stop_Music - Start");
    Music_Busy_ = 1;
    Close_Music_Device();
    Music_Busy_ = 0;
}

void TSounds::Sound_Music_Notify(uint32_t notification) {
    if (Music_Busy_ != 0 || notification != MCI_NOTIFY_SUCCESSFUL) return;
    Music_Busy_ = 1;
    if (Music_Device_ != 0) Backend_->Music_Play();
    Music_Busy_ = 0;
}

TSounds& Sounds() {
    if (!Installed_Sounds) Install_Sounds(std::make_shared<TSounds>(plat::Audio_Backend()));
    return *Installed_Sounds;
}

bool Sounds_Installed() {
    return Installed_Sounds != nullptr;
}

void Install_Sounds(std::shared_ptr<TSounds> sounds) {
    Installed_Sounds = std::move(sounds);
    Install_Sound_Sink(Installed_Sounds);
}
