// Writing and reading back a level's item list and a creature's inventory, as every map save and load does:
// a few thousand items of mixed kinds (weapons with requirements and effects, stacks of ammunition,
// potions, scrolls with spells), some positions left empty by items that were picked up or used.
#include "core/Inventory.h"
#include "core/Item.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Item_Count = 4000;

TItem Random_Item(std::mt19937& random, int n) {
    TItem item;
    item.Item_Type = static_cast<uint8_t>(1 + random() % 23);
    item.Class_Name = "Class " + std::to_string(random() % 200);
    item.Name = "Предмет " + std::to_string(n);
    item.Description = (n % 10 == 0) ? std::string(300, 'd') : "Обычный предмет";
    item.Item_Group = "Group";
    item.Item_Level = static_cast<uint16_t>(random() % 50);
    item.Weapon_Type = "Sword";
    item.Picture = "item" + std::to_string(random() % 100) + ".bmp";
    item.Damage.Set(static_cast<uint16_t>(random() % 10), static_cast<uint16_t>(10 + random() % 20), 1, 0);
    item.Use_Sound = "swing.wav";
    item.Ammo_Type = item.Item_Type == Item_Type_Ammo ? "arrow" : "";
    item.Weight = static_cast<uint16_t>(random() % 200);
    item.Consumption_Type = static_cast<uint8_t>(random() % 13);
    item.Consumption_Value = static_cast<uint16_t>(random() % 100);
    item.Defense_Rating = static_cast<uint16_t>(random() % 40);
    item.Gold_Value = static_cast<int32_t>(random() % 5000);
    item.Quantity = static_cast<uint16_t>(1 + random() % 20);
    item.Max_Stack = 20;
    for (int k = static_cast<int>(random() % 4); k > 0; --k)
        item.Effects.Add_Effect(static_cast<uint8_t>(1 + random() % 77), static_cast<int32_t>(random() % 10),
                                static_cast<int32_t>(10 + random() % 10));
    if (random() % 3 == 0) {
        item.Requirements.Types.Add(3);
        item.Requirements.Amounts.Add(20);
        item.Requirements.Per_Level_Kinds.Add(1);
        item.Requirements.Per_Level_Amounts.Add(2);
    }
    if (item.Item_Type == 15) {
        item.Spell_Names.push_back("fireball");
        item.Spell_Levels.Add(static_cast<uint16_t>(1 + random() % 5));
    }
    return item;
}

struct TBench_Level {
    TItem_List Items;
    TInventory Inventory;
};

// Built once; the benchmarks time only the stream.
TBench_Level& Level() {
    static TBench_Level level = [] {
        TBench_Level made;
        std::mt19937 random(1110);
        made.Items.Set_List_Name("Items.txt");
        for (int n = 1; n <= Item_Count; ++n) {
            const TItem item = Random_Item(random, n);
            // About one position in twenty is empty.
            made.Items.Put(random() % 20 == 0 ? nullptr : &item, 0);
        }
        Set_Current_Item_List(&made.Items);
        for (int slot = 1, id = 1; slot <= Last_Backpack_Slot && id <= made.Items.Count(); ++id)
            if (made.Inventory.Put_In_Slot(made.Items.Item(static_cast<uint16_t>(id)), slot)) ++slot;
        Set_Current_Item_List(nullptr);
        return made;
    }();
    return level;
}

void Write_Level(TStream_Writer& w) {
    Level().Items.Save_To_Stream(w);
    Level().Inventory.Save_To_Stream(w);
}

void BM_Item_List_Round_Trip(benchmark::State& state) {
    TStream_Writer probe;
    Write_Level(probe);
    const size_t size = probe.Size();
    TItem_List items;
    TInventory inventory;
    for (auto _ : state) {
        TStream_Writer w;
        Write_Level(w);
        // The reader owns its bytes: the copy is the price of reading from memory, and is timed.
        TStream_Reader r(w.Bytes());
        benchmark::DoNotOptimize(items.Load_From_Stream(r));
        benchmark::DoNotOptimize(inventory.Load_From_Stream(r));
    }
    const int64_t rounds = static_cast<int64_t>(state.iterations());
    state.SetItemsProcessed(rounds * Level().Items.Count());
    state.SetBytesProcessed(rounds * static_cast<int64_t>(size) * 2); // written and read
    state.counters["stream_MB"] = static_cast<double>(size) / 1e6;
    state.counters["positions"] = Level().Items.Count();
    state.counters["carried"] = Level().Inventory.Count();
}
BENCHMARK(BM_Item_List_Round_Trip)->Unit(benchmark::kMillisecond);

void BM_Item_List_Write(benchmark::State& state) {
    size_t size = 0;
    Level();
    for (auto _ : state) {
        TStream_Writer w;
        Write_Level(w);
        size = w.Size();
        benchmark::DoNotOptimize(w.Size());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * Level().Items.Count());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_Item_List_Write)->Unit(benchmark::kMillisecond);

void BM_Item_List_Read(benchmark::State& state) {
    TStream_Writer w;
    Write_Level(w);
    const std::vector<uint8_t>& bytes = w.Bytes();
    TItem_List items;
    TInventory inventory;
    for (auto _ : state) {
        state.PauseTiming();
        TStream_Reader r(bytes);
        state.ResumeTiming();
        benchmark::DoNotOptimize(items.Load_From_Stream(r));
        benchmark::DoNotOptimize(inventory.Load_From_Stream(r));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * Level().Items.Count());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_Item_List_Read)->Unit(benchmark::kMillisecond);

} // namespace
