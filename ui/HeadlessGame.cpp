#include "ui/HeadlessGame.h"

#include "core/Clock.h"
#include "core/DebugLog.h"
#include "core/GlobalFuncs.h"
#include "core/MachineOptions.h"
#include "core/Messages.h"
#include "generation/RndDigTileMap.h"
#include "media/FrameDump.h"
#include "media/Sounds.h"
#include "platform/AudioBackend.h"
#include "platform/DisplayBackend.h"
#include "platform/RegistryStore.h"
#include "platform/TextBackend.h"
#include "ui/DCMain.h"
#include "ui/DlgMain.h"
#include "ui/HeadlessPlayer.h"
#include "ui/MainLoop.h"

#include <cxxabi.h>

#include <cstdlib>
#include <sstream>
#include <typeinfo>

namespace {

constexpr int64_t Pass_Ms = 10;

bool Is_Logged_Unit(const std::string& unit) {
    return unit == "General" || unit == "DlgMain" || unit == "Struct" || unit == "GameSettings";
}

std::string Class_Name(const TDisplay_Class& control) {
    const char* mangled = typeid(control).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && plain ? plain : mangled;
    std::free(plain);
    return name;
}

void Tree_Lines(const TDisplay_Class& control, int32_t depth, std::vector<std::string>& lines) {
    std::ostringstream line;
    line << std::string(static_cast<size_t>(depth) * 2, ' ') << Class_Name(control) << " \"" << control.Name
         << "\" " << control.Left << "," << control.Top << " " << control.Width << "x" << control.Height
         << " " << (control.Visible ? 'V' : '-') << (control.Enabled ? 'E' : '-')
         << (control.Modal ? 'M' : '-') << (control.On_Top ? 'T' : '-') << (control.Kill ? 'K' : '-');
    lines.push_back(line.str());
    for (int32_t i = 1; i <= control.Child_Count(); ++i)
        if (const TDisplay_Class* child = control.Child(i)) Tree_Lines(*child, depth + 1, lines);
}

TDisplay_Class* Find_Control(TDisplay_Class& control, const std::string& name) {
    if (control.Name == name) return &control;
    for (int32_t i = 1; i <= control.Child_Count(); ++i)
        if (TDisplay_Class* child = control.Child(i))
            if (TDisplay_Class* found = Find_Control(*child, name)) return found;
    return nullptr;
}

// The key and Shift for a character on the keyboard the game reads (by key position, US digits row).
bool Key_For(char c, uint16_t& vk, int32_t& shift) {
    static const std::string Shifted_Digits = ")!@#$%^&*(";
    shift = 0;
    if (c >= 'a' && c <= 'z') {
        vk = static_cast<uint16_t>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
        vk = static_cast<uint16_t>(c);
        shift = plat::Shift_Key;
    } else if (c >= '0' && c <= '9') {
        vk = static_cast<uint16_t>(c);
    } else if (c == ' ') {
        vk = 32;
    } else if (c == ',') {
        vk = 188;
    } else if (c == '.') {
        vk = 190;
    } else if (const size_t at = Shifted_Digits.find(c); c != 0 && at != std::string::npos) {
        vk = static_cast<uint16_t>('0' + at);
        shift = plat::Shift_Key;
    } else {
        return false;
    }
    return true;
}

int32_t Button_Bit(int32_t button) {
    return button == plat::Button_Right    ? plat::Shift_Right
           : button == plat::Button_Middle ? plat::Shift_Middle
                                           : plat::Shift_Left;
}

} // namespace

HeadlessGame::HeadlessGame(const std::string& base, uint64_t seed) {
    auto display = std::make_unique<plat::THeadless_Display>();
    Display = display.get();
    plat::Install_Display_Backend(std::move(display));
    auto text = std::make_unique<plat::THeadless_Text>();
    Text = text.get();
    plat::Install_Text_Backend(std::move(text));
    Audio = std::make_shared<plat::THeadless_Audio_Backend>();
    plat::Install_Audio_Backend(Audio);
    Install_Sounds(nullptr);
    plat::Install_Registry_Store(std::make_unique<plat::TMemory_Registry_Store>());
    Machine_Options() = TMachine_Options{};
    Install_Message_Sink(Make_Window_Message_Sink());
    Set_Manual_Clock(0);
    Seed_Random(seed);
    // The maps of a new game are dug from seeds of this run too, not from the wall clock, so a run of the
    // same script digs the same maps.
    Set_Dig_Seed_Source([seed](int32_t map_index) { return seed * 1000 + static_cast<uint64_t>(map_index); });
    Set_Program_Folder_Override(base);
    Base_Path = base;
    Set_Log_Observer([this](const std::string& unit, const std::string& message) {
        if (Is_Logged_Unit(unit)) Log_Lines.push_back(unit + ": " + message);
    });
    Set_Text_Observer([this](const TText_Drawn& drawn) {
        Texts.push_back({Display->Flip_Count + 1, drawn});
    });
}

HeadlessGame::~HeadlessGame() {
    shutdown();
    Set_Dig_Seed_Source(nullptr);
    Set_Text_Observer(nullptr);
    Set_Log_Observer(nullptr);
    Set_Program_Folder_Override("");
    Set_Program_Arguments({});
    Install_Message_Sink(nullptr);
    Install_Sounds(nullptr);
    plat::Install_Audio_Backend(nullptr);
    plat::Install_Text_Backend(nullptr);
    plat::Install_Display_Backend(nullptr);
    plat::Install_Registry_Store(nullptr);
    Machine_Options() = TMachine_Options{};
    Use_System_Clock();
}

uint64_t HeadlessGame::now() const {
    return Get_Ticks_64();
}

bool HeadlessGame::start(const std::vector<std::string>& args) {
    if (Window) return false;
    Set_Program_Arguments(args);
    Set_Base_Folder(Base_Path);
    Log_New_Execution();
    Window = std::make_unique<TDlg_Main>();
    if (Root_Factory) Window->Root_Factory = Root_Factory;
    const bool started = Window->FormCreate();
    if (!started) {
        shutdown();
        return false;
    }
    Loop = std::make_unique<Main_Loop>(*Window, now());
    return true;
}

void HeadlessGame::Pass() {
    if (!Window || !Loop || Window->Is_Closed()) return;
    if (!Loop->pass(now())) shutdown();
}

void HeadlessGame::run(int64_t ms) {
    for (int64_t passed = 0; passed < ms && !closed(); passed += Pass_Ms) {
        Advance_Manual_Clock(Pass_Ms);
        Pass();
    }
}

void HeadlessGame::frame() {
    if (Window && !Window->Is_Closed())
        Window->Run_Guarded(TBoundary::Frame, [this] { Window->Draw_Screen(); });
    if (Window && Window->Is_Closed()) shutdown();
}

void HeadlessGame::tick(int32_t n) {
    for (int32_t i = 0; i < n && Window && !Window->Is_Closed(); ++i)
        Window->Run_Guarded(TBoundary::Tick, [this] { Window->tmr_moveTimer(); });
}

void HeadlessGame::shutdown() {
    if (!Window) return;
    Loop.reset();
    Window->FormDestroy();
    Window.reset();
}

bool HeadlessGame::closed() const {
    return !Window || Window->Is_Closed();
}

void HeadlessGame::Input(int32_t kind, int32_t button, int32_t x, int32_t y, uint16_t key, int32_t shift) {
    plat::TInput_Event e;
    e.Kind = static_cast<plat::TInput_Kind>(kind);
    e.Button = button;
    e.X = x;
    e.Y = y;
    e.Key = key;
    e.Shift = shift;
    Display->Events.push_back(e);
    Pass();
}

void HeadlessGame::move(int32_t x, int32_t y) {
    Display->Mouse_X = x;
    Display->Mouse_Y = y;
    Input(static_cast<int32_t>(plat::TInput_Kind::Mouse_Move), 0, x, y, 0, Held_Buttons);
}

void HeadlessGame::press(int32_t x, int32_t y, int32_t button) {
    Display->Mouse_X = x;
    Display->Mouse_Y = y;
    Held_Buttons |= Button_Bit(button);
    Input(static_cast<int32_t>(plat::TInput_Kind::Mouse_Down), button, x, y, 0, Held_Buttons);
}

void HeadlessGame::release(int32_t x, int32_t y, int32_t button) {
    Display->Mouse_X = x;
    Display->Mouse_Y = y;
    Held_Buttons &= ~Button_Bit(button);
    Input(static_cast<int32_t>(plat::TInput_Kind::Mouse_Up), button, x, y, 0, Held_Buttons);
}

void HeadlessGame::click(int32_t x, int32_t y, int32_t button) {
    move(x, y);
    press(x, y, button);
    release(x, y, button);
}

void HeadlessGame::key(uint16_t vk, int32_t shift) {
    Input(static_cast<int32_t>(plat::TInput_Kind::Key_Down), 0, 0, 0, vk, shift | Held_Buttons);
}

bool HeadlessGame::type(const std::string& text) {
    for (char c : text) {
        uint16_t vk = 0;
        int32_t shift = 0;
        if (!Key_For(c, vk, shift)) return false;
        key(vk, shift);
    }
    return true;
}

std::vector<std::string> HeadlessGame::tree() const {
    std::vector<std::string> lines;
    if (Window && Window->Get_Main_Window()) Tree_Lines(*Window->Get_Main_Window(), 0, lines);
    return lines;
}

TDisplay_Class* HeadlessGame::find(const std::string& name) const {
    if (!Window || !Window->Get_Main_Window()) return nullptr;
    return Find_Control(*Window->Get_Main_Window(), name);
}

const std::vector<std::string>& HeadlessGame::sounds() const {
    return Audio->Calls;
}

const std::vector<std::string>& HeadlessGame::boxes() const {
    return Display->Boxes;
}

bool HeadlessGame::dump(const std::string& path) const {
    return Dump_Buffer(0, path);
}

bool HeadlessGame::Run_Script(const std::string& script, const std::string& dump_dir, std::string& error) {
    std::istringstream lines(script);
    std::string line;
    int32_t number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string command;
        if (!(words >> command) || command[0] == '#') continue;
        std::vector<std::string> args;
        Command_Options.clear();
        for (std::string word; words >> word;) {
            if (const size_t eq = word.find('='); eq != std::string::npos && eq > 0)
                Command_Options[word.substr(0, eq)] = word.substr(eq + 1);
            else
                args.push_back(word);
        }
        auto number_at = [&](size_t i, int64_t fallback, int64_t& value) {
            if (i >= args.size()) {
                value = fallback;
                return fallback != INT64_MIN;
            }
            char* end = nullptr;
            value = std::strtoll(args[i].c_str(), &end, 10);
            return end && *end == 0 && !args[i].empty();
        };
        int64_t a = 0, b = 0, c = 0;
        bool ok = true;
        if (command == "start") {
            start(args);
        } else if (command == "run") {
            ok = number_at(0, INT64_MIN, a) && a >= 0;
            if (ok) run(a);
        } else if (command == "frame") {
            frame();
        } else if (command == "tick") {
            ok = number_at(0, 1, a) && a >= 0;
            if (ok) tick(static_cast<int32_t>(a));
        } else if (command == "shutdown") {
            shutdown();
        } else if (command == "move" || command == "press" || command == "release" || command == "click") {
            ok = number_at(0, INT64_MIN, a) && number_at(1, INT64_MIN, b) && number_at(2, 0, c) && c >= 0 &&
                 c <= 2;
            const auto x = static_cast<int32_t>(a), y = static_cast<int32_t>(b),
                       button = static_cast<int32_t>(c);
            if (!ok) {
            } else if (command == "move") {
                move(x, y);
            } else if (command == "press") {
                press(x, y, button);
            } else if (command == "release") {
                release(x, y, button);
            } else {
                click(x, y, button);
            }
        } else if (command == "key") {
            ok = number_at(0, INT64_MIN, a) && a >= 0 && a <= 65535 && number_at(1, 0, b);
            if (ok) key(static_cast<uint16_t>(a), static_cast<int32_t>(b));
        } else if (command == "type") {
            const size_t at = line.find("type") + 4;
            std::string text = line.substr(std::min(line.size(), at + 1));
            ok = type(text);
        } else if (command == "approach" || command == "act" || command == "fight") {
            THeadless_Player player(*this);
            TPlay_Target target;
            std::string why;
            ok = Parse_Play_Target(args, target);
            if (ok && command == "approach") ok = player.Approach(target, why);
            if (ok && command == "act") ok = player.Act(target, why);
            if (ok && command == "fight") ok = player.Fight(target, why);
            if (!ok && !why.empty()) {
                error = "line " + std::to_string(number) + ": " + line + ": " + why;
                return false;
            }
        } else if (command == "dump") {
            ok = args.size() == 1 && dump(dump_dir.empty() ? args[0] : dump_dir + "/" + args[0]);
        } else {
            ok = false;
        }
        if (!ok) {
            error = "line " + std::to_string(number) + ": " + line;
            return false;
        }
    }
    return true;
}
