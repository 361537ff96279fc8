// The program's entry, apart from main so the smoke test runs it in-process.
#pragma once

#include <string>
#include <vector>

// Logs the new run first, then runs the game with the command-line arguments (after the program name);
// the exit code.
int Murkrun_Main(const std::vector<std::string>& args);
