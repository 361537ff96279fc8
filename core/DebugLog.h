// The debug log: start-up and settings lines appended to "log/MK_Log.txt" in the program folder.
#pragma once

#include <functional>
#include <string>

struct TGame_Settings;

// Writes one line when logging is on and the unit is one of "General", "DlgMain", "Struct",
// "GameSettings" (exact letter case). Other units are dropped: many routines log, few are kept.
void Log(const std::string& unit_name, const std::string& message);
// Sees every line offered to Log, before the unit filter and the settings' switch: most units' lines are
// never written, yet their exact text is part of what a routine does. Tests watch through it; empty stops.
using TLog_Observer = std::function<void(const std::string& unit_name, const std::string& message)>;
void Set_Log_Observer(TLog_Observer observer);

// The banner of a new run, logged under "General".
void Log_New_Execution();

// The settings the log's switch reads; null means logging is on (the settings are not loaded yet).
void Set_Log_Settings(const TGame_Settings* settings);

// The log file of the program folder.
std::string Log_File_Path();
