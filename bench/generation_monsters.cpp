// Monster creation from the shipped monster classes of both Barrowdeep maps, with each map's item classes
// current so carried items and gold are made too: 1,000 creatures per iteration at levels 1..10 on Hard;
// "per_monster" is the time of one creation. The module's modifier tables are empty here.
#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Monsters_Per_Iteration = 1000;

// The shipped data beside this source file's folder.
std::string Shipped_Folder() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "data").string() + "/";
}

struct TMap_Classes {
    TMonster_Class_List Monsters;
    TItem_Class_List Items;
};

void BM_Create_Monsters_From_Shipped_Classes(benchmark::State& state) {
    const std::string shipped = Shipped_Folder();
    Set_Base_Folder(shipped);
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    if (!Load_Display_Effects() || !Load_Master_Spells())
        throw std::runtime_error("cannot load the effects and spells of " + shipped);
    Create_Game_Options().Difficulty = 4;

    std::vector<std::unique_ptr<TMap_Classes>> maps;
    std::vector<std::pair<TMap_Classes*, const TMonster_Class*>> classes;
    for (const char* map : {"Village", "Barrow"}) {
        maps.push_back(std::make_unique<TMap_Classes>());
        TMap_Classes& m = *maps.back();
        const std::string tiles = shipped + "Modules/Barrowdeep/Tiles/" + std::string(map);
        TString_List errors;
        Set_Current_Monster_Class_List(&m.Monsters);
        // The sounds are not part of the data folder: no sound check.
        if (!m.Monsters.Load_From_File(tiles + "_MonsterClasses.txt", &errors, true) ||
            !m.Items.Load_From_File(tiles + "_ItemClasses.txt", &errors))
            throw std::runtime_error(errors.empty() ? map : errors.front());
        for (int32_t n = 1; n <= m.Monsters.Get_Count(); ++n)
            classes.emplace_back(&m, m.Monsters.Get_Class(n));
    }

    Install_Current_Map(std::make_unique<TMap>());
    TMap& map = *Current_Map();
    Seed_Random(7);
    for (auto _ : state) {
        for (int n = 0; n < Monsters_Per_Iteration; ++n) {
            const auto& [lists, monster_class] = classes[static_cast<size_t>(n) % classes.size()];
            Set_Current_Monster_Class_List(&lists->Monsters);
            Set_Current_Item_Class_List(&lists->Items);
            benchmark::DoNotOptimize(Create_Monster_From_Class(monster_class, 2 + n % 190, 2 + n / 190 * 7, 1,
                                                               10, 1, 10, "all", 20));
        }
        state.PauseTiming();
        map.Clear(false);
        map.End_Tick();
        state.ResumeTiming();
    }
    state.counters["per_monster"] =
        benchmark::Counter(static_cast<double>(Monsters_Per_Iteration),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);

    Install_Current_Map(nullptr);
    Set_Current_Monster_Class_List(nullptr);
    Set_Current_Item_Class_List(nullptr);
    Free_Game_Options();
    Free_Master_Spells();
    Free_Display_Effects();
    Install_Path_Settings(nullptr);
}
BENCHMARK(BM_Create_Monsters_From_Shipped_Classes)->Unit(benchmark::kMillisecond);

} // namespace
