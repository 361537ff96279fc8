// The game without a screen, sound card or keyboard, for every screen test and for scripted runs of the
// program: the real start-up, frame loop and shut-down over the headless backends, a virtual clock that
// drives Get_Ticks and the log, a fixed random seed, injected mouse and keys, and records of what was
// drawn, played, shown and logged.
//
// Scripts (murkrun --headless) hold one command a line, the driver's own calls:
//   start [ARG...]     run MS     frame     tick [N]     shutdown
//   move X Y     press X Y [BUTTON]     release X Y [BUTTON]     click X Y [BUTTON]
//   key VK [SHIFT]     type TEXT     dump FILE
//   approach TARGET     act TARGET     fight TARGET     (a scripted player's moves, ui/HeadlessPlayer.h;
//   TARGET is "creature NAME", "item NAME", "chest", "entrance [N]" or "square X Y")
// Blank lines and lines starting with "#" are skipped; words of the form name=value are kept for the
// command (Command_Options) and are otherwise ignored.
#pragma once

#include "media/DisplayGxFont.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace plat {
class THeadless_Display;
class THeadless_Audio_Backend;
class THeadless_Text;
} // namespace plat
class TDisplay_Class;
class TDC_Main;
class TDlg_Main;
class Main_Loop;

// One string drawn, with the number of the frame it went into (frames shown before it, plus one).
struct TDrawn_Text {
    int32_t Frame = 0;
    TText_Drawn Drawn;
};

class HeadlessGame {
public:
    // Installs the headless backends, an in-memory options store, the virtual clock at 0 and the seed.
    // base: the program folder (with its Data, Pictures, log ... folders).
    explicit HeadlessGame(const std::string& base, uint64_t seed = 1);
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // Start-up with the command-line arguments; false when it failed (the window is then closed and shut
    // down). Set display() refusals before calling.
    bool start(const std::vector<std::string>& args = {});
    // Passes of 10 virtual ms until ms have passed or the window closed.
    void run(int64_t ms);
    // One frame now (as the window's paint does).
    void frame();
    // n timer events now, without moving the clock.
    void tick(int32_t n = 1);
    // Shut-down, once; also done by the destructor.
    void shutdown();
    bool closed() const;

    // Input, each handled by one pass of the loop at the current time. The mouse position is also where
    // Gx_Mouse_Position reads it. Buttons: 0 left, 1 right, 2 middle.
    void move(int32_t x, int32_t y);
    void press(int32_t x, int32_t y, int32_t button = 0);
    void release(int32_t x, int32_t y, int32_t button = 0);
    void click(int32_t x, int32_t y, int32_t button = 0);
    void key(uint16_t vk, int32_t shift = 0);
    // Keys for the characters: letters (capitals with Shift), digits, blank, "," and "."; the shifted
    // digits "!@#$%^&*()" with Shift. False at a character without a key (nothing more is typed).
    bool type(const std::string& text);

    // The control tree, a line per control: two blanks of indent per level, the class, the name in quotes,
    // left,top width x height, and the flags V(isible) E(nabled) M(odal) T(op) K(ill), "-" for one not set.
    std::vector<std::string> tree() const;
    // The first control of that name, depth first from the root; null when none.
    TDisplay_Class* find(const std::string& name) const;
    const std::vector<TDrawn_Text>& texts() const { return Texts; }
    // The sound device's calls ("load C PATH", "play C VOLUME PAN", "music open PATH" ...).
    const std::vector<std::string>& sounds() const;
    // Platform message boxes, "caption: text".
    const std::vector<std::string>& boxes() const;
    // The lines the log file would get, "unit: message", without stamps.
    const std::vector<std::string>& log() const { return Log_Lines; }
    // The back page as a 24-bit BMP; false when there is none or the file cannot be written.
    bool dump(const std::string& path) const;

    // Runs a script (see above); dumps go into dump_dir. False, with the line in error, at a line that is
    // not a command.
    bool Run_Script(const std::string& script, const std::string& dump_dir, std::string& error);

    plat::THeadless_Display& display() { return *Display; }
    plat::THeadless_Audio_Backend& audio() { return *Audio; }
    plat::THeadless_Text& text() { return *Text; }
    TDlg_Main* window() { return Window.get(); }
    uint64_t now() const;
    // The root control's class for start-up (the window's own when empty).
    std::function<std::unique_ptr<TDC_Main>()> Root_Factory;
    // The name=value words of the script command being run.
    std::map<std::string, std::string> Command_Options;

private:
    void Pass();
    void Input(int32_t kind, int32_t button, int32_t x, int32_t y, uint16_t key, int32_t shift);

    plat::THeadless_Display* Display = nullptr; // owned by the platform layer
    std::shared_ptr<plat::THeadless_Audio_Backend> Audio;
    plat::THeadless_Text* Text = nullptr; // owned by the platform layer
    std::unique_ptr<TDlg_Main> Window;
    std::unique_ptr<Main_Loop> Loop;
    std::vector<TDrawn_Text> Texts;
    std::vector<std::string> Log_Lines;
    int32_t Held_Buttons = 0;
    std::string Base_Path;
};
