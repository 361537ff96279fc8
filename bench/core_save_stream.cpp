// Writing and reading a save stream of a few megabytes in memory: the mix of values a saved map holds
// (integers of every tag size, names, reals, flags and small lists).
#include "core/SaveStream.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int Record_Count = 40000;

// One record of the kind creatures and items save; the values are drawn once, so the benchmarks time
// only the stream.
struct TBench_Record {
    int32_t Small;  // tag 2
    int32_t Medium; // tag 3
    int32_t Large;  // tag 4
    uint16_t Id;
    uint8_t Slot;
    double Weight;
    bool Flag;
    std::string Name;
    TWordList Effects;
    TLongintList Timers;
    TbyteList Types;
};

const std::vector<TBench_Record>& Records() {
    static const std::vector<TBench_Record> records = [] {
        std::mt19937 random(1102);
        std::vector<TBench_Record> out(Record_Count);
        for (int i = 0; i < Record_Count; ++i) {
            TBench_Record& r = out[i];
            r.Small = static_cast<int32_t>(random() % 256) - 128;
            r.Medium = static_cast<int32_t>(random() % 60000) - 30000;
            r.Large = static_cast<int32_t>(random());
            r.Id = static_cast<uint16_t>(random());
            r.Slot = static_cast<uint8_t>(random());
            r.Weight = static_cast<double>(random() % 100000) / 7.0;
            r.Flag = (random() & 1) != 0;
            r.Name = "Creature " + std::to_string(i);
            // Every fiftieth record carries a description longer than a short string holds.
            if (i % 50 == 0) r.Name += std::string(300, 'd');
            for (int k = static_cast<int>(random() % 6); k > 0; --k)
                r.Effects.Add(static_cast<uint16_t>(random()));
            for (int k = static_cast<int>(random() % 4); k > 0; --k)
                r.Timers.Add(static_cast<int32_t>(random()));
            for (int k = static_cast<int>(random() % 4); k > 0; --k)
                r.Types.Add(static_cast<uint8_t>(random()));
        }
        return out;
    }();
    return records;
}

void Write_Records(TStream_Writer& w) {
    Write_String(w, "1.06");
    for (const TBench_Record& r : Records()) {
        Write_Integer(w, r.Small);
        Write_Integer(w, r.Medium);
        Write_Longint(w, r.Large);
        Write_Word(w, r.Id);
        Write_Byte(w, r.Slot);
        Write_Real(w, r.Weight);
        Write_Boolean(w, r.Flag);
        Write_String(w, r.Name);
        Write_Word_List(w, r.Effects);
        Write_Longint_List(w, r.Timers);
        Write_Byte_List(w, r.Types);
    }
}

// Reads the stream back and folds the values into a number, so nothing read can be optimised away.
uint64_t Read_Records(TStream_Reader& r) {
    uint64_t sum = Read_String(r).size();
    TWordList effects;
    TLongintList timers;
    TbyteList types;
    for (int i = 0; i < Record_Count; ++i) {
        sum += static_cast<uint32_t>(Read_Integer(r));
        sum += static_cast<uint32_t>(Read_Integer(r));
        sum += static_cast<uint32_t>(Read_Longint(r));
        sum += Read_Word(r);
        sum += Read_Byte(r);
        sum += static_cast<uint64_t>(Read_Real(r));
        sum += Read_Boolean(r) ? 1 : 0;
        sum += Read_String(r).size();
        Read_Word_List(r, effects);
        Read_Longint_List(r, timers);
        Read_Byte_List(r, types);
        sum += effects.Count() + timers.Count() + types.Count();
    }
    return sum;
}

void BM_Save_Stream_Write(benchmark::State& state) {
    Records();
    size_t size = 0;
    for (auto _ : state) {
        TStream_Writer w;
        Write_Records(w);
        size = w.Size();
        benchmark::DoNotOptimize(w.Size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
    state.counters["stream_MB"] = static_cast<double>(size) / 1e6;
}
BENCHMARK(BM_Save_Stream_Write)->Unit(benchmark::kMillisecond);

void BM_Save_Stream_Read(benchmark::State& state) {
    TStream_Writer w;
    Write_Records(w);
    const std::vector<uint8_t>& bytes = w.Bytes();
    for (auto _ : state) {
        // The reader owns its bytes; handing it a fresh copy is not part of what is measured.
        state.PauseTiming();
        TStream_Reader r(bytes);
        state.ResumeTiming();
        benchmark::DoNotOptimize(Read_Records(r));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["stream_MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_Save_Stream_Read)->Unit(benchmark::kMillisecond);

} // namespace
