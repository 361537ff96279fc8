// A running game for the tests of the game tick: a program folder with a module "Vale" of two maps whose
// terrain file lies in its "Tiles/" folder, the current map 1 with the player, game options, the sprite
// list, the recording progress and display-flag sinks, and a recording game-screen host.
#pragma once

#include "core/DisplayFlagSeam.h"
#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/HeldItem.h"
#include "core/MachineOptions.h"
#include "core/Module.h"
#include "core/Path.h"
#include "core/ProgressSeam.h"
#include "core/SaveGame.h"
#include "platform/FileOps.h"
#include "tests/core/MapFixture.h"
#include "ui/DCMainTick.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

// Records what the tick asks of the screen, one line per call; the state it reads is plain fields.
class TRecording_Host : public TGame_Screen_Host {
public:
    bool Display = true, Paused = false, Tool = false, Started = true, Running = true, Text_Open = false,
         Creature_Dialog = false, Mouse_Inside = true;
    int32_t Mouse_X = 0, Mouse_Y = 0;
    // Picking: the floor diamond of a 54 x 54 cell, and a square's picture as the test says.
    std::function<bool(int32_t, int32_t, int32_t, int32_t)> On_Square = [](int32_t, int32_t, int32_t,
                                                                           int32_t) { return false; };
    std::vector<std::string> Calls;

    bool Display_Exists() const override { return Display; }
    bool Is_Paused() const override { return Paused; }
    bool Is_Tool_Mode() const override { return Tool; }
    bool Is_Game_Started() const override { return Started; }
    bool Is_World_Running() const override { return Running; }
    bool Is_Module_Text_Open() const override { return Text_Open; }
    bool Is_Creature_Dialog_Open() const override { return Creature_Dialog; }
    bool Mouse_Position(int32_t& x, int32_t& y) const override {
        x = Mouse_X;
        y = Mouse_Y;
        return Mouse_Inside;
    }
    bool Is_Point_On_Square(int32_t x, int32_t y, int32_t map_x, int32_t map_y) override {
        return On_Square(x, y, map_x, map_y);
    }
    bool Is_Point_In_Tile_Mask(int32_t x, int32_t y) override {
        return 2 * std::abs(x - 27) + 4 * std::abs(y - 27) <= 54;
    }
    void Set_Paused(bool paused) override {
        Paused = paused;
        Calls.push_back(paused ? "pause" : "unpause");
    }
    void Show_Game_Controls(bool visible) override {
        Calls.push_back(visible ? "controls on" : "controls off");
    }
    void Stop_World() override {
        Running = false;
        Calls.push_back("stop world");
    }
    void Open_Main_Menu() override { Calls.push_back("menu"); }
    void Open_Module_Text(const std::string& title, const TString_List& paragraphs) override {
        Text_Open = true;
        Calls.push_back("text " + title + " (" + std::to_string(paragraphs.size()) + ")");
    }
    void Open_Talk_Dialog(uint16_t id) override { Calls.push_back("talk " + std::to_string(id)); }
    void Open_Chest_Dialog(int32_t x, int32_t y) override {
        Calls.push_back("chest " + std::to_string(x) + "," + std::to_string(y));
    }
    void Free_Non_Pausing_Dialogs() override { Calls.push_back("free non-pausing"); }
    void Hide_Game_Windows() override { Calls.push_back("hide windows"); }
    void Open_Death_Dialog(const TDeath_Details& d) override {
        Calls.push_back("dead " + d.Player_Name + " by " + d.Killer_Name + " L" + std::to_string(d.Level));
    }
    void Update_Spell_Buttons() override { Calls.push_back("spell buttons"); }
    void Play_Music(const std::string& file_name) override { Calls.push_back("music " + file_name); }
    bool Store_Open = false, Item_Window = false;
    void Open_Game_Dialog_Named(const std::string& name) override { Calls.push_back("open " + name); }
    void Toggle_Game_Window(const std::string& name) override { Calls.push_back("toggle " + name); }
    void Inventory_Next_Tab() override { Calls.push_back("next tab"); }
    bool Is_Store_Dialog_Open() const override { return Store_Open; }
    bool Is_Item_Window_Open() const override { return Item_Window; }
    std::tm Local_Time() const override {
        std::tm t{};
        std::tie(t.tm_mday, t.tm_mon, t.tm_year, t.tm_hour, t.tm_min, t.tm_sec) =
            std::tuple{9, 11, 126, 14, 5, 3};
        return t;
    }
};

class TTick_Fixture : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Saved_Machine_Options = Machine_Options();
        Saved_Version = Last_File_Version();
        Set_Last_File_Version("1.06");
        Folder.Write("Modules/Vale/Tiles/Vale_Terrain.txt", Floor_And_Wall_Terrain_File());
        ASSERT_TRUE(Path_Settings()->Set_Module("Vale/"));
        ASSERT_TRUE(Map->Terrain_List.Load_From_File(Path_Settings()->Get_Tile_File("Vale_Terrain.txt")));
        Map->File_Name = "1.map";
        Progress = std::make_shared<TRecording_Progress_Sink>();
        Install_Progress_Sink(Progress);
        Display = std::make_shared<TRecording_Display_Flag_Sink>();
        Install_Display_Flag_Sink(Display);
        Install_Sprites_List(std::make_unique<TSprites_List>());
        Create_Game_Options();
        Install_Module(std::make_unique<TModule>());
        for (uint16_t n = 1; n <= 2; ++n) {
            TModule_Map map;
            map.Map_Number = n;
            map.Music_File = "song" + std::to_string(n) + ".mid";
            Module()->Maps.push_back(map);
        }
        Module()->File_Name = "Module.mod";
        Module()->Set_Current_Map(1, 10, 10);
        Hero = Add_Creature(10, 10, "hero");
        // A character, not a monster, fed for the long runs of the autosave.
        Hero->Class_Index = 1;
        Hero->Max_Food = Hero->Food = 60000;
        Set_Player(Hero);
        Current = Folder.Make_Folder("CurrGame");
    }
    void TearDown() override {
        plat::Set_Write_Fault(std::nullopt);
        Set_Held_Item_Id(0);
        Install_Module(nullptr);
        Free_Game_Options();
        Install_Sprites_List(nullptr);
        Install_Display_Flag_Sink(nullptr);
        Install_Progress_Sink(nullptr);
        Set_Last_File_Version(Saved_Version);
        Machine_Options() = Saved_Machine_Options;
        TMap_Fixture::TearDown();
    }

    // Writes map 2's file: a floor map holding the named items (so items arriving get other ids) and a
    // guard on square x, y.
    void Write_Map_2(const std::vector<std::string>& items, int32_t guard_x, int32_t guard_y) {
        TMap other;
        other.Terrain_List.Load_From_File(Path_Settings()->Get_Tile_File("Vale_Terrain.txt"));
        for (int x = 1; x <= Map_Width; ++x)
            for (int y = 1; y <= Map_Height; ++y) other.Get_Square(x, y)->Terrain_Id = 1;
        for (const std::string& name : items) {
            TItem item;
            item.Name = name;
            other.Item_List.Add(&item);
        }
        TMonster guard;
        guard.Name = "guard";
        guard.Set_Position(static_cast<uint8_t>(guard_x), static_cast<uint8_t>(guard_y));
        TMonster* stored = other.Monster_List.Add_Monster(guard);
        other.Get_Square(guard_x, guard_y)->Monster_Id = stored->Id;
        ASSERT_TRUE(Save_Map(other, Current + "2.map"));
    }

    static TModule_Map_Connection Connection(uint16_t destination, uint16_t ex, uint16_t ey, uint16_t dx,
                                             uint16_t dy, uint8_t type, bool used = false) {
        TModule_Map_Connection c;
        c.Destination_Map = destination;
        c.Entrance_X = ex;
        c.Entrance_Y = ey;
        c.Destination_X = dx;
        c.Destination_Y = dy;
        c.Connection_Type = type;
        c.Used = used;
        return c;
    }

    TRecording_Host Host;
    TDC_Main_Tick Tick{Host};
    TMonster* Hero = nullptr;
    std::string Current;
    std::shared_ptr<TRecording_Progress_Sink> Progress;
    std::shared_ptr<TRecording_Display_Flag_Sink> Display;

private:
    TMachine_Options Saved_Machine_Options;
    std::string Saved_Version;
};
