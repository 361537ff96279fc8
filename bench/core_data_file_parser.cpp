// A full loader run over a generated data file of a few megabytes: thousands of records of twenty
// fields, read the way a class loader reads them.
#include "core/DataFileLoader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

constexpr int Record_Count = 10000;
constexpr int Fields_Per_Record = 20;

// The generated file, written once for all runs and removed at exit.
class TBench_Data_File {
public:
    TBench_Data_File() {
        std::string pattern = (std::filesystem::temp_directory_path() / "murk_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        Folder_ = pattern;
        Path_ = Folder_ + "/MonsterClasses.txt";
        std::string text = "Monster classes\r\n*BEGIN*\r\nName := Value\r\n----------\r\n";
        for (int r = 1; r <= Record_Count; ++r) {
            text += "Name := Creature " + std::to_string(r) + "\r\n";
            text += "// generated record\r\n";
            for (int f = 2; f < Fields_Per_Record; ++f) {
                text += "Field " + std::to_string(f) + "\t:= ";
                text += (f % 3 == 0) ? std::to_string(r * 7 % 1000) + "." + std::to_string(f)
                                     : std::to_string(r + f);
                text += "\r\n";
            }
            text += "\r\n";
        }
        text += "*END*\r\n";
        std::ofstream out(Path_, std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out) throw std::runtime_error("cannot write " + Path_);
        Size_ = text.size();
    }
    ~TBench_Data_File() {
        std::error_code ec;
        std::filesystem::remove_all(Folder_, ec);
    }

    const std::string& Path() const { return Path_; }
    size_t Size() const { return Size_; }

private:
    std::string Folder_;
    std::string Path_;
    size_t Size_ = 0;
};

const TBench_Data_File& Data_File() {
    static const TBench_Data_File file;
    return file;
}

// Looks up every field by name in other letter case and converts it, as real loaders do.
class TBench_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;
    int64_t Records = 0;
    double Sum = 0;

protected:
    void Process_Record(int32_t) override {
        std::string value;
        if (Get_Field_Value("NAME", value, true)) Set_Record_Name(value);
        for (int f = 2; f < Fields_Per_Record; ++f) {
            const std::string key = "field " + std::to_string(f);
            Get_Field_Value(key, value, true);
            Sum += (f % 3 == 0) ? Str_To_Real(value) : Str_To_Longint(value);
        }
        ++Records;
    }
};

void BM_Data_File_Loader_Full_Run(benchmark::State& state) {
    const TBench_Data_File& file = Data_File();
    int64_t records = 0;
    for (auto _ : state) {
        TBench_Loader loader(file.Path());
        loader.Execute_Load();
        if (!loader.Get_Error_List().empty() || loader.Records != Record_Count) {
            state.SkipWithError("the generated file did not load cleanly");
            break;
        }
        records += loader.Records;
        benchmark::DoNotOptimize(loader.Sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.Size()));
    state.counters["records"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
    state.counters["file_MB"] = static_cast<double>(file.Size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Data_File_Loader_Full_Run)->Unit(benchmark::kMillisecond);

// The floor for any reader of the same file: one memchr pass counting its lines, over the bytes already in
// memory. The loader's figure is read beside this one, from the same run.
void BM_Data_File_Memchr_Lines(benchmark::State& state) {
    const TBench_Data_File& file = Data_File();
    std::ifstream in(file.Path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() != file.Size()) {
        state.SkipWithError("the generated file could not be read back");
        return;
    }
    for (auto _ : state) {
        size_t lines = 0;
        const char* at = bytes.data();
        const char* const end = bytes.data() + bytes.size();
        while (const void* found = std::memchr(at, '\n', static_cast<size_t>(end - at))) {
            ++lines;
            at = static_cast<const char*>(found) + 1;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_Data_File_Memchr_Lines)->Unit(benchmark::kMillisecond);

} // namespace
