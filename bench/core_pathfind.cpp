// Path finding runs once per step of every moving creature near the player, every tick. Three goals on a
// map with scattered walls: a free square 20 squares away (found early), a square held by a creature (the
// search uses all its expansions and falls back), and a square walled in on every side.
#include "core/GameOptions.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/PathFind.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr TSquare_Position Start{100, 100};
constexpr TSquare_Position Goal{120, 100};

enum TGoal_Kind { Goal_Free, Goal_Occupied, Goal_Enclosed };

// Installs a 200 x 200 map, one square in ten a wall, start and goal kept floor.
void Install_Map(TGoal_Kind kind) {
    auto map = std::make_unique<TMap>();
    TTerrain floor, wall;
    floor.Movement_Flags = Movement_Land | Movement_Air;
    floor.Vision_Flags = Vision_Normal;
    const uint16_t floor_id = map->Terrain_List.Add(floor);
    const uint16_t wall_id = map->Terrain_List.Add(wall);
    std::mt19937 random(20240);
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y)
            map->Get_Square(x, y)->Terrain_Id = random() % 10 == 0 ? wall_id : floor_id;
    map->Get_Square(Start.X, Start.Y)->Terrain_Id = floor_id;
    map->Get_Square(Goal.X, Goal.Y)->Terrain_Id = floor_id;
    if (kind == Goal_Enclosed)
        for (int32_t x = Goal.X - 1; x <= Goal.X + 1; ++x)
            for (int32_t y = Goal.Y - 1; y <= Goal.Y + 1; ++y)
                if (x != Goal.X || y != Goal.Y) map->Get_Square(x, y)->Terrain_Id = wall_id;
    for (TSquare_Position at : {Start, Goal}) {
        if (kind != Goal_Occupied && at == Goal) continue;
        TMonster creature;
        creature.Set_Position(static_cast<uint8_t>(at.X), static_cast<uint8_t>(at.Y));
        map->Place_Monster(*map->Monster_List.Add_Monster(creature));
    }
    Install_Current_Map(std::move(map));
    Create_Game_Options().Flag_4 = true;
}

void BM_Find_Path(benchmark::State& state) {
    Install_Map(static_cast<TGoal_Kind>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(Find_Path(Start, Goal, Movement_Land));
    Install_Current_Map(nullptr);
    Free_Game_Options();
}
BENCHMARK(BM_Find_Path)
    ->ArgName("goal_free0_occupied1_enclosed2")
    ->DenseRange(0, 2)
    ->Iterations(10000)
    ->Unit(benchmark::kMicrosecond);

} // namespace
