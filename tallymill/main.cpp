// Tallymill, the designers' tool: the window when started without report arguments on a display, the
// command line otherwise.
#include "core/GlobalFuncs.h"
#include "core/Profile.h"
#include "tallymill/TallyCommandLine.h"
#include "tallymill/TallySession.h"

#if TALLYMILL_WITH_WINDOW
#include "tallymill/FrmMain.h"
#include "tallymill/WindowPlatform.h"
#endif

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

bool Display_Present() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // English loader messages, English spell targets accepted, no debug log, the options store only read.
    Set_Run_Profile(TRun_Profile::Tool);
    Setup_Global_Vars();
    const std::vector<std::string> args(argv + 1, argv + argc);
#if TALLYMILL_WITH_WINDOW
    TCommand_Line command;
    std::string error;
    if (Parse_Command_Line(args, command, error) && command.Wants_Window() && Display_Present()) {
        std::string reason;
        if (Window_Platform_Starts(reason)) {
            Select_Tool_Base_Folder(command.Game_Path);
            return Run_Tallymill_Window(argc, argv);
        }
        // A display is named but cannot be reached (no X server behind DISPLAY, say): the command line
        // still works, and says why there is no window.
        std::cerr << "tallymill: no window (" << reason << "); running on the command line" << std::endl;
    }
#else
    (void)Display_Present;
#endif
    return Tallymill_Command_Line(args, std::cout, std::cerr);
}
