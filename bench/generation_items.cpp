// Item creation from the shipped item classes of both Barrowdeep maps, with the module's modifiers and
// unique names loaded and magic and unique chances high enough that upgrades happen: 10,000 items per
// iteration; "per_item" is the time of one creation.
#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/Path.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassUniqueNames.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Items_Per_Iteration = 10000;

// The shipped data beside this source file's folder.
std::string Shipped_Folder() {
    return (std::filesystem::path(__FILE__).parent_path().parent_path() / "data").string() + "/";
}

void BM_Create_Items_From_Shipped_Classes(benchmark::State& state) {
    const std::string shipped = Shipped_Folder();
    Set_Base_Folder(shipped);
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    if (!Load_Display_Effects()) throw std::runtime_error("cannot load " + shipped + "Data/Effects.txt");
    const std::string module = shipped + "Modules/Barrowdeep/";
    if (!Load_Item_Modifiers(module + "Data/ItemModifiers.txt") ||
        !Load_Unique_Names(module + "Data/UniqueItemNames.txt"))
        throw std::runtime_error("cannot load the module's modifiers");
    Create_Game_Options().Start_Level = 3;

    std::vector<std::unique_ptr<TItem_Class_List>> lists;
    std::vector<std::pair<TItem_Class_List*, const TItem_Class*>> classes;
    for (const char* map : {"Village", "Barrow"}) {
        lists.push_back(std::make_unique<TItem_Class_List>());
        TItem_Class_List& list = *lists.back();
        TString_List errors;
        if (!list.Load_From_File(module + "Tiles/" + map + "_ItemClasses.txt", &errors))
            throw std::runtime_error(errors.empty() ? map : errors.front());
        for (int32_t n = 1; n <= list.Get_Count(); ++n) classes.emplace_back(&list, list.Get_Class(n));
    }

    TItem_List items;
    Set_Current_Item_List(&items);
    Seed_Random(7);
    for (auto _ : state) {
        for (int n = 0; n < Items_Per_Iteration; ++n) {
            const auto& [list, item_class] = classes[static_cast<size_t>(n) % classes.size()];
            Set_Current_Item_Class_List(list);
            benchmark::DoNotOptimize(Create_Item_From_Class(item_class, 0, 0, false, 1, 10, 30, 5, 2.0, 0.5,
                                                            n % 3 == 0 ? 120 : 0));
        }
        state.PauseTiming();
        items.Clear();
        state.ResumeTiming();
    }
    state.counters["per_item"] =
        benchmark::Counter(static_cast<double>(Items_Per_Iteration),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);

    Set_Current_Item_Class_List(nullptr);
    Set_Current_Item_List(nullptr);
    Free_Game_Options();
    Free_Item_Modifiers();
    Free_Unique_Names();
    Free_Display_Effects();
    Install_Path_Settings(nullptr);
}
BENCHMARK(BM_Create_Items_From_Shipped_Classes)->Unit(benchmark::kMillisecond);

} // namespace
