// The display-effect table's load over a generated effects file far larger than any real one: thousands of
// effect records of sixteen keys, read through the path settings the way the game reads them at start-up and
// on every change of module.
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

constexpr int Effect_Count = 20000;

// A program folder holding only Data/Effects.txt, written once for all runs and removed at exit.
class TBench_Effects_Folder {
public:
    TBench_Effects_Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "murk_bench_XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
        Folder_ = pattern + "/";
        std::filesystem::create_directories(Folder_ + "Data");
        std::string text = "Display effects\r\n*BEGIN*\r\n\r\n\r\n";
        text += "Number Of Effect Bitmaps := 4\r\n";
        for (int b = 1; b <= 4; ++b)
            text += "Bitmap " + std::to_string(b) + " Name := FX_Sheet" + std::to_string(b) + ".BMP\r\n";
        for (int e = 1; e <= Effect_Count; ++e) {
            const bool directional = e % 3 == 0;
            text += "\r\nName := Effect " + std::to_string(e) + "\r\n";
            text += std::string("Type := ") + (directional ? "Directional" : "Frames") + "\r\n";
            text += "Bitmap Index := " + std::to_string(e % 4 + 1) + "\r\n";
            text += "Bitmap Square X Offset := 256\r\nBitmap Square Y Offset := 64\r\n";
            text += "Bitmap Start Xpos := 0\r\nBitmap Start Ypos := " + std::to_string(e % 50) + "\r\n";
            text += "Bitmap End Xpos := 0\r\nBitmap End Ypos := " + std::to_string(e % 50) + "\r\n";
            text += "Bitmap Picture Width := 32\r\nBitmap Picture Height := 32\r\n";
            text += directional ? "Total Number Of Frames := 8\r\nFrames Per Line := 8\r\n"
                                : "Total Number Of Frames := 12\r\nFrames Per Line := 4\r\n";
            text += "Animation Loop Count := 1\r\nAnimation Speed := 100\r\n";
            text += std::string("Damage FX At End := ") + (e % 2 ? "TRUE" : "FALSE") + "\r\n";
        }
        text += "*END*\r\n";
        std::ofstream out(Folder_ + "Data/Effects.txt", std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (!out) throw std::runtime_error("cannot write the effects file");
        Size_ = text.size();
    }
    ~TBench_Effects_Folder() {
        std::error_code ec;
        std::filesystem::remove_all(Folder_, ec);
    }

    const std::string& Folder() const { return Folder_; }
    size_t Size() const { return Size_; }

private:
    std::string Folder_;
    size_t Size_ = 0;
};

void BM_Load_Display_Effects(benchmark::State& state) {
    static const TBench_Effects_Folder folder;
    const std::string saved_base = Base_Folder();
    Set_Base_Folder(folder.Folder());
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    auto sink = std::make_shared<TRecording_Message_Sink>();
    Install_Message_Sink(sink);
    int64_t records = 0;
    for (auto _ : state) {
        const bool loaded = Load_Display_Effects();
        if (!loaded || Display_Effect_Count() != Effect_Count) {
            state.SkipWithError("the generated file did not load cleanly");
            break;
        }
        records += Display_Effect_Count() + 1; // the bitmap record too
        benchmark::DoNotOptimize(Get_Display_Effect(Effect_Count)->Speed);
    }
    Free_Display_Effects();
    Install_Message_Sink(nullptr);
    Install_Path_Settings(nullptr);
    Set_Base_Folder(saved_base);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(folder.Size()));
    state.counters["records"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
    state.counters["file_MB"] = static_cast<double>(folder.Size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Load_Display_Effects)->Unit(benchmark::kMillisecond);

} // namespace
