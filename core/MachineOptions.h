// Options that belong to the computer and the player, kept in the per-user options store under
// "Software/Brannoch/Murkhollow", and the game-speed scaling of delays.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TMachine_Options {
    std::string Game_Path;
    int32_t Last_Saved_Game_Slot = 0;
    bool Play_Sounds = true;
    bool Play_Music = true;
    bool Show_Drawing_Speed = false;
    bool Dont_Autosave = true;
    bool Autosave_Every_Minute = false;
    bool Autosave_Every_5_Minutes = false;
    bool Autosave_Every_20_Minutes = false;
    int32_t Game_Speed_Modified_Percent = 100; // kept within 10..200
};

// The one program-wide record.
TMachine_Options& Machine_Options();

// The key's levels in the store.
const std::vector<std::string>& Machine_Options_Key();

// Reads the store. Without the key or without "Last Saved Game Slot", and on any failure (a missing
// integer, a value of the wrong kind), everything but Game_Path falls back to its default; Game_Path keeps
// what it had, or the stored path when that was read before the failure.
void Load_Machine_Options();
// Writes every value (creating the key's levels); nothing when the key cannot be opened.
void Save_Machine_Options();
// Writes only "Game Path" and sets Game_Path; Game_Path is unchanged when the store cannot be written.
void Set_Game_Path(const std::string& path);

constexpr int32_t Min_Game_Speed_Percent = 10;
constexpr int32_t Max_Game_Speed_Percent = 200;
int32_t Clamp_Game_Speed_Percent(int32_t percent);

// A base delay in milliseconds at the chosen speed (a larger percent gives shorter delays), truncated.
int32_t Game_Speed_Scale_Delay(int32_t delay);
// A value scaled up by the speed, truncated.
int32_t Game_Speed_Scale_Up(int32_t value);
double Game_Speed_Scale_Delay_Real(double value);
