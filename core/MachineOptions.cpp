#include "core/MachineOptions.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "platform/RegistryStore.h"

#include <cstdint>

namespace {

TMachine_Options Options;

const char* const Key_Game_Path = "Game Path";
const char* const Key_Last_Slot = "Last Saved Game Slot";
const char* const Key_Play_Sounds = "Play Sounds";
const char* const Key_Play_Music = "Play Music";
const char* const Key_Show_Speed = "Show Drawing Speed";
const char* const Key_Dont_Autosave = "Dont Autosave";
const char* const Key_Every_Minute = "Autosave Every Minute";
const char* const Key_Every_5 = "Autosave Every 5 Minutes";
const char* const Key_Every_20 = "Autosave Every 20 Minutes";
const char* const Key_Speed = "Game Speed Modified Percent";

// A missing text reads as empty; a value of the other kind is a failure, like a wrongly typed integer.
bool Read_Text(const plat::TRegistry_Key& key, const char* name, std::string& value) {
    value.clear();
    return !key.Has_Value(name) || key.Read_String(name, value);
}

// Whether the text, lower-cased, is lower_text; false in `ok` when the value is of the other kind.
bool Is_Text(const plat::TRegistry_Key& key, const char* name, const char* lower_text, bool& ok) {
    std::string value;
    if (!Read_Text(key, name, value)) ok = false;
    return Ascii_Lower(value) == lower_text;
}

void Set_Defaults_But_Path() {
    const std::string path = Options.Game_Path;
    Options = TMachine_Options();
    Options.Game_Path = path;
}

// The current percent as the scaling sees it; a value out of range (set by hand in the store) is brought
// back into range rather than dividing by zero or giving negative delays.
long double Speed_Factor() {
    return static_cast<long double>(Clamp_Game_Speed_Percent(Options.Game_Speed_Modified_Percent)) / 100.0L;
}

// Reads the values in the stored order; false at the first failure, with what was read before it kept
// (the defaults then replace all of it but Game_Path).
bool Read_Values(const plat::TRegistry_Key& key) {
    std::string path;
    if (!Read_Text(key, Key_Game_Path, path)) return false;
    Options.Game_Path = path;
    int32_t slot = 0;
    if (!key.Read_Integer(Key_Last_Slot, slot)) return false;
    Options.Last_Saved_Game_Slot = slot;
    bool ok = true;
    Options.Play_Sounds = true;
    Options.Play_Music = true;
    if (Is_Text(key, Key_Play_Music, "false", ok)) Options.Play_Music = false;
    if (Is_Text(key, Key_Play_Sounds, "false", ok)) Options.Play_Sounds = false;
    Options.Show_Drawing_Speed = Is_Text(key, Key_Show_Speed, "true", ok);
    Options.Dont_Autosave = Is_Text(key, Key_Dont_Autosave, "true", ok);
    Options.Autosave_Every_Minute = Is_Text(key, Key_Every_Minute, "true", ok);
    Options.Autosave_Every_5_Minutes = Is_Text(key, Key_Every_5, "true", ok);
    Options.Autosave_Every_20_Minutes = Is_Text(key, Key_Every_20, "true", ok);
    if (!ok) return false;
    if (!Options.Dont_Autosave && !Options.Autosave_Every_Minute && !Options.Autosave_Every_5_Minutes &&
        !Options.Autosave_Every_20_Minutes)
        Options.Dont_Autosave = true;
    int32_t percent = 0;
    if (!key.Read_Integer(Key_Speed, percent)) return false;
    Options.Game_Speed_Modified_Percent = Clamp_Game_Speed_Percent(percent);
    return true;
}

} // namespace

TMachine_Options& Machine_Options() {
    return Options;
}

const std::vector<std::string>& Machine_Options_Key() {
    static const std::vector<std::string> levels = {"Software", "Brannoch", "Murkhollow"};
    return levels;
}

void Load_Machine_Options() {
    std::unique_ptr<plat::TRegistry_Key> key = plat::Registry_Store().Open_Key(Machine_Options_Key(), false);
    bool ok = false;
    if (key && key->Has_Value(Key_Last_Slot)) ok = Read_Values(*key);
    if (key) key->Close();
    if (!ok) Set_Defaults_But_Path();
}

void Save_Machine_Options() {
    std::unique_ptr<plat::TRegistry_Key> key = plat::Registry_Store().Open_Key(Machine_Options_Key(), true);
    if (!key) return;
    auto text = [](bool b) { return std::string(b ? "true" : "false"); };
    key->Write_String(Key_Game_Path, Options.Game_Path);
    key->Write_Integer(Key_Last_Slot, Options.Last_Saved_Game_Slot);
    key->Write_String(Key_Play_Sounds, text(Options.Play_Sounds));
    key->Write_String(Key_Play_Music, text(Options.Play_Music));
    key->Write_String(Key_Show_Speed, text(Options.Show_Drawing_Speed));
    key->Write_String(Key_Dont_Autosave, text(Options.Dont_Autosave));
    key->Write_String(Key_Every_Minute, text(Options.Autosave_Every_Minute));
    key->Write_String(Key_Every_5, text(Options.Autosave_Every_5_Minutes));
    key->Write_String(Key_Every_20, text(Options.Autosave_Every_20_Minutes));
    key->Write_Integer(Key_Speed, Options.Game_Speed_Modified_Percent);
    key->Close();
}

void Set_Game_Path(const std::string& path) {
    std::unique_ptr<plat::TRegistry_Key> key = plat::Registry_Store().Open_Key(Machine_Options_Key(), true);
    if (!key) return;
    key->Write_String(Key_Game_Path, path);
    // The path in memory follows the store: a path that was not stored would be lost at the next start
    // while this run went on using it.
    if (key->Close()) Options.Game_Path = path;
}

int32_t Clamp_Game_Speed_Percent(int32_t percent) {
    if (percent < Min_Game_Speed_Percent) return Min_Game_Speed_Percent;
    if (percent > Max_Game_Speed_Percent) return Max_Game_Speed_Percent;
    return percent;
}

// The three scalings compute in extended precision: at 110 % a delay of 33 ms becomes 29, where double
// arithmetic would give 30, and stored timings depend on it.
int32_t Game_Speed_Scale_Delay(int32_t delay) {
    return Trunc_To_Int32((1.0L / Speed_Factor()) * static_cast<long double>(delay));
}

int32_t Game_Speed_Scale_Up(int32_t value) {
    return Trunc_To_Int32(static_cast<long double>(value) * Speed_Factor());
}

double Game_Speed_Scale_Delay_Real(double value) {
    return static_cast<double>((1.0L / Speed_Factor()) * static_cast<long double>(value));
}
