// The map's per-frame work and its file: the field of view and the lighting the game screen computes for
// every drawn frame, and the map record written and read back on every change of map and every save.
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Monster.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

constexpr int32_t Viewer = 100; // the player's square on both axes

// A dungeon-like map: floor with scattered walls, a lit torch every six squares along the corridors and a
// few creatures carrying lights near the player.
std::unique_ptr<TMap> Lit_Dungeon() {
    auto map = std::make_unique<TMap>();
    TTerrain floor, wall, torch;
    floor.Movement_Flags = torch.Movement_Flags = Movement_Land | Movement_Air;
    floor.Vision_Flags = torch.Vision_Flags = Vision_Normal;
    torch.Light_Radius = 3;
    const uint16_t floor_id = map->Terrain_List.Add(floor);
    const uint16_t wall_id = map->Terrain_List.Add(wall);
    const uint16_t torch_id = map->Terrain_List.Add(torch);
    std::mt19937 random(7);
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            uint16_t id = random() % 8 == 0 ? wall_id : floor_id;
            if (x % 6 == 0 && y % 6 == 0) id = torch_id;
            map->Get_Square(x, y)->Terrain_Id = id;
        }
    for (int n = 0; n < 4; ++n) {
        TMonster creature;
        creature.Set_Position(static_cast<uint8_t>(Viewer - 3 + 2 * n), static_cast<uint8_t>(Viewer + 1));
        TMonster* stored = map->Monster_List.Add_Monster(creature);
        stored->Light_Radius = 2;
        map->Place_Monster(*stored);
    }
    return map;
}

void BM_Field_Of_View_And_Lighting(benchmark::State& state) {
    const auto map = Lit_Dungeon();
    const int32_t origin = Viewer - View_Centre_Offset;
    for (auto _ : state) {
        map->Update_Field_Of_View(origin, origin, Vision_Normal);
        map->Update_Lighting(origin, origin, Vision_Normal);
        benchmark::DoNotOptimize(map->Get_Light_Level(7, 7));
    }
}
BENCHMARK(BM_Field_Of_View_And_Lighting)->Unit(benchmark::kMicrosecond);

// A populated level, installed as the current map so that squares find their items and piles: 500 items
// (400 on the floor in piles of four on 100 squares, 20 in locked and trapped chests,
// 80 carried by the first 80 of 200 creatures). The terrain list is not part of the record.
TMap* Populated_Map() {
    Install_Current_Map(Lit_Dungeon());
    TMap* map = Current_Map();
    std::mt19937 random(11);
    for (int n = 0; n < 500; ++n) {
        TItem item;
        item.Name = "Item " + std::to_string(n);
        item.Description = "A thing found in the barrow";
        item.Picture = "item" + std::to_string(n % 40) + ".bmp";
        item.Damage.Set(1, 6, 1, 0);
        item.Effects.Add_Effect(static_cast<uint8_t>(1 + n % 70), 1, 5);
        map->Item_List.Add(&item);
    }
    map->Monster_List.Clear();
    for (int n = 0; n < 200; ++n) {
        TMonster creature;
        creature.Name = "Creature " + std::to_string(n);
        creature.Picture = "monster" + std::to_string(n % 20) + ".bmp";
        creature.Set_Position(static_cast<uint8_t>(1 + random() % 200),
                              static_cast<uint8_t>(1 + random() % 200));
        creature.Talk_Topics = {"name"};
        creature.Talk_Texts = {"I guard the barrow."};
        creature.Natural_Attacks.Add_Attack("Bite", 50, 500, 2, 5, 1, 0);
        TMonster* stored = map->Monster_List.Add_Monster(creature);
        map->Place_Monster(*stored);
        if (n < 80) stored->Add_Item(map->Item_List.Item(static_cast<uint16_t>(421 + n)));
    }
    for (int n = 1; n <= 400; n += 2) {
        TMap_Square* square = map->Get_Square(1 + n % 200, 1 + (n * 7) % 200);
        square->Drop_Item(map->Item_List.Item(static_cast<uint16_t>(n)));
        square->Drop_Item(map->Item_List.Item(static_cast<uint16_t>(n + 1)));
    }
    for (int n = 0; n < 20; ++n) {
        TWordList chest;
        chest.Add(static_cast<uint16_t>(401 + n));
        map->Add_Chest(chest, 10 + n, 10);
        map->Set_Lock("Crypt Key", 10 + n, 10, true);
        map->Set_Trap("Darts", 10 + n, 11, true);
    }
    return map;
}

// The record in memory: the writer and reader are what a save and a map change use; the disk adds only the
// file system's own time.
void BM_Map_File_Save_And_Load(benchmark::State& state) {
    Set_Last_File_Version("1.06");
    const TMap* map = Populated_Map();
    TMap read;
    for (auto _ : state) {
        TStream_Writer w;
        map->Save(w);
        TStream_Reader r(w.Bytes());
        benchmark::DoNotOptimize(read.Load(r, "1.map"));
    }
    TStream_Writer w;
    map->Save(w);
    state.counters["bytes"] = static_cast<double>(w.Size());
    state.counters["piles"] = static_cast<double>(map->Item_Pile_Length());
    Remove_Current_Map();
}
BENCHMARK(BM_Map_File_Save_And_Load)->Unit(benchmark::kMillisecond);

} // namespace
