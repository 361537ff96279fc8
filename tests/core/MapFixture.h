// A current map with a floor and a wall terrain, for the tests of squares and maps.
#pragma once

#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "tests/support/CoreTestSupport.h"

#include <memory>
#include <string>

class TMap_Fixture : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Floor = Add_Terrain("floor", Movement_Land | Movement_Air, Vision_Normal);
        Wall = Add_Terrain("wall", 0, 0);
        Fill(Floor);
    }
    void TearDown() override {
        Set_Store_Restocker(nullptr);
        Install_Current_Map(nullptr);
        TProgram_Folder_Test::TearDown();
    }

    uint16_t Add_Terrain(const std::string& name, uint8_t movement, uint8_t vision, uint8_t light = 0) {
        TTerrain terrain;
        terrain.Movement_Flags = movement;
        terrain.Vision_Flags = vision;
        terrain.Light_Radius = light;
        terrain.Picture_L1 = name + ".bmp";
        return Map->Terrain_List.Add(terrain);
    }
    void Set_Terrain(int x, int y, uint16_t terrain) { Map->Get_Square(x, y)->Terrain_Id = terrain; }
    void Fill(uint16_t terrain) {
        for (int x = 1; x <= Map_Width; ++x)
            for (int y = 1; y <= Map_Height; ++y) Set_Terrain(x, y, terrain);
    }
    TMonster* Add_Creature(int x, int y, const std::string& name = "rat") {
        TMonster creature;
        creature.Name = name;
        creature.Picture = name + ".bmp";
        creature.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        TMonster* stored = Map->Monster_List.Add_Monster(creature);
        Map->Place_Monster(*stored);
        return stored;
    }
    TItem* Add_Item(const std::string& name, uint8_t type = Item_Type_Misc) {
        TItem item;
        item.Name = name;
        item.Item_Type = type;
        item.Picture = name + ".bmp";
        return Map->Item_List.Item(Map->Item_List.Add(&item));
    }

    TMap* Map = nullptr;
    uint16_t Floor = 0, Wall = 0;
};
