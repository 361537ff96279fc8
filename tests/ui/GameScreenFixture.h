// The game screen's tests: the graphics library headless at 32 bits with coded interface sheets (every
// sheet pixel has its own colour, so a probe of the page tells which cell landed where), the world model's
// cells and texts recorded instead of drawn, a current map of open floor and the game options.
#pragma once

#include "core/GameOptions.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Terrain.h"
#include "media/DisplayFont.h"
#include "tests/media/DisplayFixture.h"
#include "ui/DCGameScreen.h"

#include <memory>
#include <string>
#include <vector>

class TGame_Screen_Test : public TDisplay_Test {
protected:
    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(32);
        Write_Coded_Interface();
        Display_Obj = &Make_Display();
        Display_Obj->Load_Graphics();
        Load_External_Resources();
        World = std::make_shared<TRecording_Display_Sink>();
        Install_Display_Sink(World);
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Map->Universal_Light = true;
        Floor = Add_Terrain("floor", Vision_Normal, 1);
        Wall = Add_Terrain("wall", 0, 2);
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y) Map->Get_Square(x, y)->Terrain_Id = Floor;
        Create_Game_Options();
        Clear_Page();
    }
    void TearDown() override {
        Install_Display_Sink(nullptr);
        Free_Game_Options();
        Free_External_Resources();
        TDisplay_Test::TearDown();
    }

    // A terrain whose layer-1 picture is the cell given, so the recorded draws tell the terrains apart.
    uint16_t Add_Terrain(const std::string& name, uint8_t vision, int16_t cell) {
        TTerrain terrain;
        terrain.Name = name;
        terrain.Movement_Flags = Movement_Land;
        terrain.Vision_Flags = vision;
        terrain.Picture_L1 = name + ".bmp";
        terrain.Picture_Index_L1 = cell;
        return Map->Terrain_List.Add(terrain);
    }
    TMonster* Add_Creature(int32_t x, int32_t y, const std::string& name) {
        TMonster creature;
        creature.Name = name;
        creature.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        TMonster* stored = Map->Monster_List.Add_Monster(creature);
        Map->Place_Monster(*stored);
        return stored;
    }
    TMonster* Add_Player(int32_t x, int32_t y) {
        TMonster* player = Add_Creature(x, y, "Hero");
        Set_Player(player);
        return player;
    }
    // Recorded world-model draws of one kind ("Terrain(" ...), taken out of the record.
    std::vector<std::string> Take_World(const std::string& prefix = "") {
        std::vector<std::string> kept;
        for (const std::string& call : World->Calls)
            if (call.rfind(prefix, 0) == 0) kept.push_back(call);
        World->Calls.clear();
        return kept;
    }
    // The page pixel, and the colour a coded sheet's pixel has once loaded.
    uint32_t Page(int32_t x, int32_t y) { return Raw(0, x, y) & 0xFFFFFF; }
    static uint32_t Sheet_Pixel(int32_t sheet, int32_t x, int32_t y) { return Code(sheet, x, y); }
    static uint32_t Rgb(int32_t r, int32_t g, int32_t b) { return Gx_Rgb_To_Color(r, g, b) & 0xFFFFFF; }

    TDisplay_Object* Display_Obj = nullptr;
    std::shared_ptr<TRecording_Display_Sink> World;
    TMap* Map = nullptr;
    uint16_t Floor = 0, Wall = 0;
    TGame_Screen_View View;
};
