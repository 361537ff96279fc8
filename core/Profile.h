// The run-time profile: the game and the designers' tool share one code base and differ only in what this
// switch selects (the language of data-file error lines, the debug log).
#pragma once

enum class TRun_Profile { Game, Tool };

// Set once by each program's main (tests may switch it); the game is the default.
void Set_Run_Profile(TRun_Profile profile);
TRun_Profile Run_Profile();
inline bool Is_Tool_Profile() {
    return Run_Profile() == TRun_Profile::Tool;
}
