// A whole program folder for the game screen controller's tests: the shipped data tables and modules (the
// two-map fixture module beside them), the built pictures, sounds and music through links, settings that
// keep a debug log and the empty game folders; the headless game over it with the controller as its root
// and stand-in dialogs that close with the result the test sets (or the real dialogs, with Real_Dialogs).
#pragma once

#include "core/Path.h"
#include "tests/support/TempFolder.h"
#include "ui/DCMainScreen.h"
#include "ui/HeadlessGame.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class TGame_Root_Test : public testing::Test {
protected:
    void SetUp() override { Prepare(); }
    void TearDown() override { Game.reset(); }

    // A new program folder and a new game over it (table rows each start from here).
    void Prepare() {
        namespace fs = std::filesystem;
        Game.reset();
        Folder = std::make_unique<TTemp_Folder>();
        const fs::path shipped = MURK_SHIPPED_DATA_DIR;
        const fs::path runtime = MURK_RUNTIME_DIR;
        fs::copy(shipped / "Data", Folder->Make_Folder("Data"), fs::copy_options::recursive);
        fs::copy(shipped / "Modules", Folder->Make_Folder("Modules"), fs::copy_options::recursive);
        fs::copy(fs::path(MURK_TEST_DATA_DIR) / "modules/TwoMaps", Folder->Make_Folder("Modules/TwoMaps"),
                 fs::copy_options::recursive);
        for (const char* media : {"Pictures", "Sounds", "Music"})
            fs::create_directory_symlink(runtime / media, Folder->File(media));
        fs::remove(Folder->File("Data/Settings.txt"));
        Folder->Write("Data/Settings.txt", "Settings\r\n*BEGIN*\r\nGenerate Debug Log := TRUE\r\n*END*\r\n");
        for (const char* folder : {"log", "CurrGame", "Characters"}) Folder->Make_Folder(folder);
        for (int n = 1; n <= 10; ++n)
            Folder->Make_Folder("Savegames/slot" + std::string(n < 10 ? "0" : "") + std::to_string(n));
        Game = std::make_unique<HeadlessGame>(Folder->Path());
        Game->Root_Factory = [this] {
            auto factory = std::make_unique<TDialog_Factory>();
            if (!Real_Dialogs) factory->Use_Stand_Ins();
            factory->Next_Result = [this] { return Next_Result; };
            factory->Stand_In_Module = Module_Name;
            auto root = std::make_unique<TDC_Main_Screen>(std::move(factory));
            Root = root.get();
            return root;
        };
    }
    // Starts the game and lets the intro play out: the main menu is open.
    void Start_To_Menu(const std::vector<std::string>& args = {}) {
        ASSERT_TRUE(Game->start(args));
        Game->run(5200);
    }
    // Clicks the middle of the open dialog with the result its stand-in closes with.
    void Close(const std::string& name, int32_t result) {
        TDisplay_Class* dialog = Game->find(name);
        ASSERT_NE(dialog, nullptr) << name;
        Next_Result = result;
        Game->click(dialog->Left + dialog->Width / 2, dialog->Top + dialog->Height / 2);
        Next_Result.reset();
    }
    // From the main menu through the module, the difficulty and a new character: the module text is open.
    void Start_New_Game() {
        Close("Dlg Menu", Menu_New_Game);
        Close("Dlg Select Module", 1);
        Close("Dlg Difficulty", 1);
        Close("Dlg Select Character", 1);
    }
    // How many controls of the tree have that name.
    int32_t Count_Of(const std::string& name) const {
        int32_t count = 0;
        for (const std::string& line : Game->tree())
            if (line.find("\"" + name + "\"") != std::string::npos) ++count;
        return count;
    }

    std::unique_ptr<TTemp_Folder> Folder;
    std::unique_ptr<HeadlessGame> Game;
    TDC_Main_Screen* Root = nullptr;
    std::optional<int32_t> Next_Result;
    std::string Module_Name = "TwoMaps";
    bool Real_Dialogs = false;
};
