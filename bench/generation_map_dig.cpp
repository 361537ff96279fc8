// The map digger on the shipped Barrowdeep module, seeded as the seed catalog seeds it (seed x 1000 + map).
// BM_Dig_Barrow_Map: the barrow (random creatures, bands, chests, locks, traps) dug from tables loaded once,
// 50 seeds; the tile table is reloaded before every dig outside the timing, since the dig counts its maxima
// down. The time per iteration is the dig alone; "median_ms" and "max_ms" are over the 50 digs.
// BM_Generate_Module: every map generated as module creation does, its files read each time, 10 runs with
// fresh class lists; the counters give the median per map and per run.
#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterGroups.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassStore.h"
#include "generation/RndClassTile.h"
#include "generation/RndClassUniqueNames.h"
#include "generation/RndDigTileMap.h"
#include "generation/RndModuleMap.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Dig_Seeds = 50;
constexpr int Module_Runs = 10;
constexpr int32_t Barrow_Map = 2;

std::string Shipped_Folder() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "data").string() + "/";
}

// The program folder, the module, the tables the monster classes name, a map and a game at difficulty 2 for
// a character who started at level 1.
void Open_Module() {
    Set_Base_Folder(Shipped_Folder());
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    if (!Path_Settings()->Set_Module("Barrowdeep/") || !Load_Display_Effects() || !Load_Master_Spells() ||
        !Load_Module_Class(Path_Settings()->Get_ModuleData_File()))
        throw std::runtime_error("cannot load the Barrowdeep module from " + Shipped_Folder());
    Install_Current_Map(std::make_unique<TMap>());
    TGame_Options& game = Create_Game_Options();
    game.Difficulty = 2;
    game.Start_Level = 1;
}

void Close_Module() {
    Set_Dig_Seed_Source(nullptr);
    Free_Game_Options();
    Install_Current_Map(nullptr);
    Free_Module_Class();
    Free_Master_Spells();
    Free_Display_Effects();
    Install_Path_Settings(nullptr);
}

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_Dig_Barrow_Map(benchmark::State& state) {
    Open_Module();
    const TModule_Map_Class& map = *Module_Class()->Get_Map(Barrow_Map);
    const TPath_Settings& paths = *Path_Settings();
    TMonster_Class_List monsters;
    TCurrent_Monster_Class_List_Guard monsters_current(monsters);
    TItem_Class_List items;
    TCurrent_Item_Class_List_Guard items_current(items);
    Load_Item_Modifiers(paths.Get_ItemModifiers_File());
    Load_Monster_Modifiers(paths.Get_MonsterModifiers_File());
    Load_Chance_Groups();
    Load_Unique_Names(paths.Get_UniqueItemNames_File());
    Load_Monster_Rand_Items_Carried(paths.Get_Tile_File(map.Random_Items_Carried_File));
    Load_Monster_Groups(paths.Get_Tile_File(map.Monster_Groups_File));
    Current_Map()->Terrain_List.Load_From_File(paths.Get_Tile_File(map.Terrain_File));
    TString_List errors;
    if (!monsters.Load_From_File(paths.Get_Tile_File(map.Monster_Classes_File), &errors, true) ||
        !items.Load_From_File(paths.Get_Tile_File(map.Item_Classes_File), &errors) ||
        !Load_Store_Classes(map.Stores_File))
        throw std::runtime_error("cannot load the barrow's tables");

    std::vector<double> digs;
    uint64_t seed = 0;
    TWordList ids, xs, ys;
    for (auto _ : state) {
        seed = seed % Dig_Seeds + 1;
        Load_Tile_Classes(map.Tiles_File);
        Set_Dig_Seed_Source([seed](int32_t m) { return seed * 1000 + static_cast<uint64_t>(m); });
        errors.clear();
        const auto start = std::chrono::steady_clock::now();
        Dig_Tile_Map(ids, xs, ys, Barrow_Map, map.Tiles_File, errors);
        const auto took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        digs.push_back(Milliseconds(took));
        if (!errors.empty()) state.SkipWithError(errors.front().c_str());
    }
    state.counters["median_ms"] = Median(digs);
    state.counters["max_ms"] = digs.empty() ? 0 : *std::max_element(digs.begin(), digs.end());

    Free_Tile_Classes();
    Free_Store_Classes();
    Free_Chance_Groups();
    Free_Monster_Groups();
    Free_Monster_Rand_Items_Carried();
    Free_Item_Modifiers();
    Free_Monster_Modifiers();
    Free_Unique_Names();
    Close_Module();
}
BENCHMARK(BM_Dig_Barrow_Map)->UseManualTime()->Iterations(Dig_Seeds)->Unit(benchmark::kMillisecond);

void BM_Generate_Module(benchmark::State& state) {
    Open_Module();
    const TModule_Class& module = *Module_Class();
    std::vector<std::vector<double>> per_map(static_cast<size_t>(module.Number_Of_Maps) + 1);
    std::vector<double> runs;
    uint64_t seed = 0;
    for (auto _ : state) {
        ++seed;
        Set_Dig_Seed_Source([seed](int32_t m) { return seed * 1000 + static_cast<uint64_t>(m); });
        TMonster_Class_List monsters;
        TCurrent_Monster_Class_List_Guard monsters_current(monsters);
        TItem_Class_List items;
        TCurrent_Item_Class_List_Guard items_current(items);
        double run = 0;
        for (int32_t m = 1; m <= module.Number_Of_Maps; ++m) {
            TString_List errors;
            TWordList ids, xs, ys;
            const auto start = std::chrono::steady_clock::now();
            Generate_Module_Map(Generation_Files_Of(*module.Get_Map(m)), m, errors, ids, xs, ys, true);
            const double took = Milliseconds(std::chrono::steady_clock::now() - start);
            per_map[static_cast<size_t>(m)].push_back(took);
            run += took;
            if (!errors.empty()) state.SkipWithError(errors.front().c_str());
        }
        runs.push_back(run);
    }
    for (int32_t m = 1; m <= module.Number_Of_Maps; ++m)
        state.counters["map" + std::to_string(m) + "_median_ms"] = Median(per_map[static_cast<size_t>(m)]);
    state.counters["total_median_ms"] = Median(runs);
    Close_Module();
}
BENCHMARK(BM_Generate_Module)->Iterations(Module_Runs)->Unit(benchmark::kMillisecond);

} // namespace
