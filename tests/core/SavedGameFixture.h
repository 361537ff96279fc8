// A game in play for the save and load tests: a program folder with the shipped global data files, a map
// with the player, a monster and items, the running module of two maps, game options, and a current-game
// folder that already holds the module's other map. The recording sinks of progress, busy cursor and
// display flag are installed.
#pragma once

#include "core/BusyCursorSeam.h"
#include "core/CharClass.h"
#include "core/DisplayEffects.h"
#include "core/DisplayFlagSeam.h"
#include "core/GameOptions.h"
#include "core/GameSettings.h"
#include "core/Module.h"
#include "core/Path.h"
#include "core/ProgressSeam.h"
#include "core/SaveGame.h"
#include "core/SaveSlots.h"
#include "core/Spells.h"
#include "platform/FileOps.h"
#include "tests/core/MapFixture.h"
#include "tests/core/ModuleLayouts.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

class TSaved_Game_Fixture : public TMap_Fixture {
protected:
    using TFiles = std::map<std::string, std::string>;

    void SetUp() override {
        TMap_Fixture::SetUp();
        for (const char* file :
             {"Data/Settings.txt", "Data/Effects.txt", "Data/Spells.txt", "Data/Classes.txt"})
            Folder.Write(file, Shipped(file));
        Folder.Make_Folder("Modules/Vale/Tiles");
        Path_Settings()->Set_Module("Vale/");
        Progress = std::make_shared<TRecording_Progress_Sink>();
        Install_Progress_Sink(Progress);
        Cursor = std::make_shared<TRecording_Busy_Cursor_Sink>();
        Install_Busy_Cursor_Sink(Cursor);
        Display = std::make_shared<TRecording_Display_Flag_Sink>();
        Install_Display_Flag_Sink(Display);

        Map->Name = "Village";
        Map->File_Name = "1.map";
        Hero = Add_Creature(5, 6, "hero");
        Add_Creature(9, 9, "rat");
        TItem* sword = Add_Item("sword");
        Hero->Inventory.Put_In_Slot(sword, 40);
        Map->Get_Square(7, 7)->Item_Field = Add_Item("coin")->Id;
        Set_Player(Hero);
        Install_Module(std::make_unique<TModule>());
        golden::Fill_Sample_Module(*Module());
        Create_Game_Options().Difficulty = 3;
        Game_Options()->Weapon_Sets[1].First_Item_Name = "sword";
        Game_Options()->Weapon_Sets[1].First_Item_Id = sword->Id;
        Current = Folder.Make_Folder("CurrGame");
        Folder.Write("CurrGame/2.map", "the other map");
    }
    void TearDown() override {
        plat::Set_Write_Fault(std::nullopt);
        Install_Progress_Sink(nullptr);
        Install_Busy_Cursor_Sink(nullptr);
        Install_Display_Flag_Sink(nullptr);
        Install_Module(nullptr);
        Free_Game_Options();
        Free_Class_Info();
        Free_Master_Spells();
        Free_Display_Effects();
        Free_Game_Settings();
        TMap_Fixture::TearDown();
    }

    static std::string Shipped(const std::string& relative) {
        std::ifstream in(std::string(MURK_SHIPPED_DATA_DIR) + "/" + relative, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Every file below the folder (relative name -> bytes); nothing when it does not exist.
    TFiles Files(const std::string& relative) const {
        TFiles files;
        const std::string root = Folder.File(relative);
        if (!std::filesystem::exists(root)) return files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(root))
            if (e.is_regular_file())
                files[std::filesystem::relative(e.path(), root).string()] =
                    Folder.Read(std::filesystem::relative(e.path(), Folder.Path()).string());
        return files;
    }
    static std::string Bytes_Of(const std::function<void(TStream_Writer&)>& body) {
        TStream_Writer w;
        body(w);
        const std::vector<uint8_t> bytes = w.Bytes();
        return std::string(bytes.begin(), bytes.end());
    }
    // Whether two byte strings are equal; on a difference, where it begins (the strings are too long to
    // print).
    static ::testing::AssertionResult Same_Bytes(const std::string& actual, const std::string& expected) {
        if (actual == expected) return ::testing::AssertionSuccess();
        size_t at = 0;
        while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
        return ::testing::AssertionFailure() << actual.size() << " bytes, " << expected.size()
                                             << " expected; first difference at byte " << at;
    }
    // Whether two folders hold the same files with the same bytes; names the files that differ.
    static ::testing::AssertionResult Same_Files(const TFiles& actual, const TFiles& expected) {
        std::string differ;
        for (const auto& [name, bytes] : actual)
            if (!expected.count(name) || expected.at(name) != bytes) differ += " " + name;
        for (const auto& [name, bytes] : expected)
            if (!actual.count(name)) differ += " " + name + " (missing)";
        if (differ.empty()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "files that differ:" << differ;
    }
    // The running game as bytes: the map, the module, the player's id, the options, the module name.
    std::string Game_In_Memory() const {
        return Bytes_Of([](TStream_Writer& w) {
            Current_Map()->Save(w);
            Module()->Save(w);
            Write_Word(w, Player() ? Player()->Id : 0);
            Game_Options()->Write(w);
            Write_String(w, Path_Settings()->Get_Module_Name());
        });
    }
    bool Save_Current_Game(const std::string& description = "Before the barrow") {
        return Save_Game(description, *Current_Map(), Player(), Current + "Module.mod", Current + "1.map");
    }

    TMonster* Hero = nullptr;
    std::string Current;
    std::shared_ptr<TRecording_Progress_Sink> Progress;
    std::shared_ptr<TRecording_Busy_Cursor_Sink> Cursor;
    std::shared_ptr<TRecording_Display_Flag_Sink> Display;
};
