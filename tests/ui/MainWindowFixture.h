// A program folder for the main window's tests: the shipped data tables, settings that keep a debug log,
// the empty log folder; and the headless game over it. Roots that record or throw stand in for the game
// screen where a test needs to see what the window hands the root control.
#pragma once

#include "tests/support/TempFolder.h"
#include "ui/DCMain.h"
#include "ui/HeadlessGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// Whether the message and error-list boxes are part of this build.
#if __has_include("ui/DCDlgMessage.h") && __has_include("ui/DCDlgErrorList.h")
constexpr bool Message_Boxes_Built = true;
#else
constexpr bool Message_Boxes_Built = false;
#endif

// Records what reaches it; each throwing flag makes that handler raise.
class TRecording_Root : public TDC_Main {
public:
    void Process_Tick(int32_t counter, double rate) override {
        Counters.push_back(counter);
        Rate = rate;
        if (Throw_In_Tick) throw std::runtime_error("tick fault");
    }
    void Handle_DrawPage(int32_t page) override {
        Frames++;
        if (Throw_In_Frame) throw std::runtime_error("frame fault");
        TDC_Main::Handle_DrawPage(page);
    }
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override {
        Events.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " +
                         std::to_string(x) + " " + std::to_string(y));
        if (Throw_In_Click) throw std::runtime_error("click fault");
    }
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) override {
        Events.push_back("up " + std::to_string(button) + " " + std::to_string(shift) + " " +
                         std::to_string(x) + " " + std::to_string(y) + (outside ? " outside" : ""));
    }
    void Handle_KeyDown(uint16_t& key, int32_t shift) override {
        Events.push_back("key " + std::to_string(key) + " " + std::to_string(shift));
    }
    std::vector<int32_t> Counters;
    double Rate = 0;
    int32_t Frames = 0;
    std::vector<std::string> Events;
    bool Throw_In_Tick = false, Throw_In_Frame = false, Throw_In_Click = false;
};

class TMain_Window_Test : public testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        for (const char* name : {"Effects.txt", "Classes.txt", "Spells.txt"}) {
            std::ifstream in(std::string(MURK_SHIPPED_DATA_DIR) + "/Data/" + name, std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            Folder.Write(std::string("Data/") + name, bytes.str());
        }
        Folder.Write("Data/Settings.txt", "Settings\r\n*BEGIN*\r\nGenerate Debug Log := TRUE\r\n*END*\r\n");
        Folder.Make_Folder("log");
        Game = std::make_unique<HeadlessGame>(Folder.Path());
    }
    void TearDown() override { Game.reset(); }

    // Starts with a recording root; null when start-up failed.
    TRecording_Root* Start_Recording() {
        Root = nullptr;
        Game->Root_Factory = [this] {
            auto root = std::make_unique<TRecording_Root>();
            Root = root.get();
            return root;
        };
        return Game->start() ? Root : nullptr;
    }

    // The lines of one unit, without the unit's prefix.
    std::vector<std::string> Lines_Of(const std::string& unit) const {
        std::vector<std::string> lines;
        const std::string prefix = unit + ": ";
        for (const std::string& line : Game->log())
            if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
        return lines;
    }

    TTemp_Folder Folder;
    std::unique_ptr<HeadlessGame> Game;
    TRecording_Root* Root = nullptr;
};
