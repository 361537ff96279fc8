// The game's window over the real SDL backends on SDL's dummy drivers, fed through SDL's own event queue;
// and the program itself replaying a script headless into its program folder's log.
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "platform/DisplayBackend.h"
#include "platform/sdl/SdlBackends.h"
#include "tests/support/TempFolder.h"
#include "ui/DCMain.h"
#include "ui/DlgMain.h"
#include "ui/MainLoop.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

void Write_Program_Folder(const TTemp_Folder& folder) {
    for (const char* name : {"Effects.txt", "Classes.txt", "Spells.txt"}) {
        std::ifstream in(std::string(MURK_SHIPPED_DATA_DIR) + "/Data/" + name, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        folder.Write(std::string("Data/") + name, bytes.str());
    }
    folder.Write("Data/Settings.txt", "Settings\r\n*BEGIN*\r\nGenerate Debug Log := TRUE\r\n*END*\r\n");
    folder.Make_Folder("log");
}

class TEvent_Root : public TDC_Main {
public:
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t, int32_t) override {
        Events.push_back("down " + std::to_string(button) + " " + std::to_string(shift));
    }
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t, int32_t, bool) override {
        Events.push_back("up " + std::to_string(button) + " " + std::to_string(shift));
    }
    void Handle_KeyDown(uint16_t& key, int32_t shift) override {
        Events.push_back("key " + std::to_string(key) + " " + std::to_string(shift));
    }
    std::vector<std::string> Events;
};

TEST(MurkrunSdlSmoke, TheWindowStartsHearsSdlEventsAndClosesOnQuit) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto display = plat::Make_Sdl_Display("Murkhollow");
    if (!display) GTEST_SKIP() << "SDL video cannot start here";
    plat::Install_Display_Backend(std::move(display));
    TTemp_Folder folder;
    Write_Program_Folder(folder);
    Set_Program_Folder_Override(folder.Path());
    Install_Message_Sink(Make_Window_Message_Sink());
    TEvent_Root* root = nullptr;
    {
        TDlg_Main window;
        window.Root_Factory = [&root] {
            auto r = std::make_unique<TEvent_Root>();
            root = r.get();
            return r;
        };
        ASSERT_TRUE(window.FormCreate());
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = SDL_BUTTON_RIGHT;
        e.button.x = e.button.y = 10;
        e.button.clicks = 1;
        SDL_PushEvent(&e);
        e = SDL_Event{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
        SDL_PushEvent(&e);
        // The focus goes while the button is down: the window still hears its release.
        e = SDL_Event{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
        SDL_PushEvent(&e);
        e = SDL_Event{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
        Run_Main_Loop(window);
        EXPECT_TRUE(window.Is_Closed());
        EXPECT_FALSE(window.Application_Active);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->Events, (std::vector<std::string>{"down 1 16", "key 27 16", "up 1 0"}));
    }
    Install_Message_Sink(nullptr);
    Set_Program_Folder_Override("");
    plat::Install_Display_Backend(nullptr);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(MurkrunHeadless, TheProgramReplaysAScriptIntoItsProgramFolder) {
    TTemp_Folder folder;
    Write_Program_Folder(folder);
    folder.Make_Folder("dumps");
    const std::string script = folder.Write("run.script", "start\nrun 200\ndump page.bmp\nshutdown\n");
    const std::string command = std::string(MURKRUN_PROGRAM) + " --headless --base " + folder.Path() +
                                " --script " + script + " --dump-dir " + folder.File("dumps");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(folder.File("dumps/page.bmp")));
    const std::vector<std::string> log = Lines(folder.Read("log/MK_Log.txt"));
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log.front().find(" - New Execution "), std::string::npos);
    EXPECT_NE(log.back().find(" TDlg_Main.FormDestroy - End"), std::string::npos);
    // The stamp's tick count is the virtual clock's.
    EXPECT_NE(log.back().find(" 200 TDlg_Main.FormDestroy - End"), std::string::npos);

    const std::string bad = folder.Write("bad.script", "start\nfly away\n");
    const int status = std::system((std::string(MURKRUN_PROGRAM) + " --headless --base " + folder.Path() +
                                    " --script " + bad + " 2>/dev/null")
                                       .c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(std::system((std::string(MURKRUN_PROGRAM) + " --headless --base 2>/dev/null").c_str()), 0);
}

} // namespace
