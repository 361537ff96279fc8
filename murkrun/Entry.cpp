#include "murkrun/Entry.h"

#include "core/DebugLog.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "media/Sounds.h"
#include "platform/AudioBackend.h"
#include "platform/DisplayBackend.h"
#include "platform/PathLayer.h"
#include "platform/TextBackend.h"
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlBackends.h"
#include "ui/DCMainScreen.h"
#include "ui/DlgMain.h"
#include "ui/HeadlessGame.h"
#include "ui/MainLoop.h"

#include <cstdio>
#include <memory>

namespace {

// The game screen's controller is the program's root control, with every dialog built so far real.
std::unique_ptr<TDC_Main> Make_Game_Root() {
    return std::make_unique<TDC_Main_Screen>();
}

int Usage() {
    std::fprintf(stderr, "usage: murkrun [--headless --base DIR --script FILE [--dump-dir DIR]] [ARG...]\n");
    return 2;
}

int Run_Headless(const std::string& base, const std::string& script_path, const std::string& dump_dir) {
    std::string script;
    if (!plat::Read_File(script_path, script)) {
        std::fprintf(stderr, "murkrun: cannot read the script %s\n", script_path.c_str());
        return 1;
    }
    HeadlessGame game(base);
    // The dialogs not built yet are stand-ins; a script answers them with the result its command names
    // ("click 400 247 result=1"), which real dialogs ignore.
    game.Root_Factory = [&game] {
        auto factory = std::make_unique<TDialog_Factory>();
        factory->Next_Result = [&game] { return Result_Option(game.Command_Options); };
        return std::make_unique<TDC_Main_Screen>(std::move(factory));
    };
    std::string error;
    if (!game.Run_Script(script, dump_dir, error)) {
        std::fprintf(stderr, "murkrun: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int Run_Window(const std::vector<std::string>& args) {
    auto display = plat::Make_Sdl_Display("Murkhollow");
    if (!display) {
        std::fprintf(stderr, "murkrun: the screen cannot be opened (SDL video).\n");
        return 1;
    }
    plat::Install_Display_Backend(std::move(display));
    if (auto text = plat::Make_Sdl_Text()) plat::Install_Text_Backend(std::move(text));
    plat::Install_Audio_Backend(std::make_shared<plat::TSdl_Audio_Backend>());
    Install_Message_Sink(Make_Window_Message_Sink());
    Set_Program_Arguments(args);
    int code = 0;
    {
        TDlg_Main window;
        window.Root_Factory = Make_Game_Root;
        if (window.FormCreate())
            Run_Main_Loop(window);
        else
            code = 1;
        window.FormDestroy();
    }
    Install_Sounds(nullptr);
    plat::Install_Audio_Backend(nullptr);
    plat::Install_Text_Backend(nullptr);
    plat::Install_Display_Backend(nullptr);
    return code;
}

} // namespace

int Murkrun_Main(const std::vector<std::string>& args) {
    if (args.empty() || args[0] != "--headless") {
        // The banner goes first into the program folder's log, before anything else of the run.
        Set_Base_Folder(plat::Executable_Folder());
        Log_New_Execution();
        return Run_Window(args);
    }
    // A scripted run logs its banner at its "start", as the program would.
    std::string base, script, dump_dir;
    for (size_t i = 1; i < args.size(); ++i) {
        if (i + 1 >= args.size()) return Usage();
        const std::string& name = args[i];
        const std::string& value = args[++i];
        if (name == "--base")
            base = value;
        else if (name == "--script")
            script = value;
        else if (name == "--dump-dir")
            dump_dir = value;
        else
            return Usage();
    }
    if (base.empty() || script.empty()) return Usage();
    return Run_Headless(base, script, dump_dir);
}
