// The frame's floor and hot loops: whole-page copies beside memcpy of the same bytes, keyed sheet cells
// (the map view draws about a thousand per frame), text through SDL2_ttf, and frame dumps.
#include "core/GlobalFuncs.h"
#include "media/DisplayFont.h"
#include "media/DisplayGxFont.h"
#include "media/FrameDump.h"
#include "media/GfxDevice.h"
#include "platform/DisplayBackend.h"
#include "platform/sdl/SdlBackends.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <vector>

namespace {

// The library on the headless screen at a depth, with slot 0 open.
struct TLibrary {
    explicit TLibrary(int32_t bits) {
        plat::Install_Display_Backend(std::make_unique<plat::THeadless_Display>());
        Gx_Dd_Setup(800, 600, bits, Gx_Flag_Flip_Chain);
        Ok = gx_vbinit() == 0;
        gx_vbdepth(bits);
        gx_vbopen(0);
    }
    ~TLibrary() {
        Gx_Shutdown();
        plat::Install_Display_Backend(nullptr);
    }
    bool Ok = false;
};

constexpr int64_t Page_Bytes = 800 * 600 * 4;

void BM_Copy_Buffer_Four_Pages(benchmark::State& state) {
    TLibrary library(32);
    int32_t pages[4];
    for (int32_t& page : pages) page = gx_vballoc(800, 600);
    for (auto _ : state)
        for (int32_t page : pages) Gx_Copy_Buffer(page, 0);
    state.SetBytesProcessed(state.iterations() * 4 * Page_Bytes);
}
BENCHMARK(BM_Copy_Buffer_Four_Pages)->Unit(benchmark::kMicrosecond);

void BM_Memcpy_Four_Pages(benchmark::State& state) {
    std::vector<uint8_t> target(Page_Bytes), sources[4];
    for (auto& source : sources) source.assign(Page_Bytes, 1);
    for (auto _ : state) {
        for (auto& source : sources) std::memcpy(target.data(), source.data(), Page_Bytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 4 * Page_Bytes);
}
BENCHMARK(BM_Memcpy_Four_Pages)->Unit(benchmark::kMicrosecond);

// A 1080 x 1080 sheet of 54 x 54 cells, half of each cell transparent, copied cell by cell over the page
// the way the map view staggers its squares.
void BM_Keyed_Cell(benchmark::State& state) {
    const auto bits = static_cast<int32_t>(state.range(0));
    TLibrary library(bits);
    const int32_t sheet = gx_vballoc(1080, 1080);
    gx_vbopen(sheet);
    for (int32_t cell = 0; cell < 400; ++cell) {
        const int32_t cx = cell % 20 * 54, cy = cell / 20 * 54;
        Gx_Set_Color(Gx_Rgb_To_Color(40 + cell % 200, 90, 160));
        for (int32_t row = 0; row < 54; ++row) {
            const int32_t half = row < 27 ? row : 53 - row;
            Gx_Fill_Rect(cx + 27 - half, cx + 26 + half, cy + row, cy + row);
        }
    }
    gx_vbopen(0);
    int32_t n = 0;
    for (auto _ : state) {
        const int32_t cell = n % 400, square = n % 150;
        const int32_t x = square % 15 * 54 - 27 * (square / 15 % 2), y = square / 15 * 27 + 53;
        Gx_Copy_Rect_Transparent(cell % 20 * 54, cell % 20 * 54 + 53, cell / 20 * 54, cell / 20 * 54 + 53, x,
                                 y, sheet, 0);
        ++n;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Keyed_Cell)->Arg(16)->Arg(32)->Unit(benchmark::kNanosecond);

// Text through the real raster: the game's style 1 (DejaVu Sans at 13 pixels where the face is missing).
struct TText_Library : TLibrary {
    TText_Library() : TLibrary(32) {
        auto text = plat::Make_Sdl_Text();
        Ok = Ok && text;
        if (!text) return;
        plat::Install_Text_Backend(std::move(text));
        Set_Base_Folder(std::filesystem::temp_directory_path().string());
        Load_External_Resources();
        Begin_Text(0);
        Set_Font(1);
        Set_Text_Color(255, 255, 255);
    }
    ~TText_Library() {
        if (!Ok) return;
        End_Text(0);
        Free_External_Resources();
        plat::Install_Text_Backend(nullptr);
    }
};

void BM_Text_Cyrillic_Line(benchmark::State& state) {
    TText_Library library;
    if (!library.Ok) return state.SkipWithError("SDL2_ttf cannot start");
    const std::string line = "Сундук открыт: внутри три зелья и мечи!!"; // 40 characters
    Set_Text_Justify(1, 5);
    for (auto _ : state) Draw_Text(20, 20, line);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Text_Cyrillic_Line)->Unit(benchmark::kMicrosecond);

void BM_Text_Wrapped_Paragraph(benchmark::State& state) {
    TText_Library library;
    if (!library.Ok) return state.SkipWithError("SDL2_ttf cannot start");
    const std::string paragraph =
        "Старый страж подземелья открыл сундук: внутри лежали три зелья лечения, ржавый меч, кошель с "
        "золотом и свиток, исписанный мелким почерком. Он велел вам спуститься ниже, туда, где живут "
        "тени, и вернуться с фонарём, пока не погас последний факел у ворот.";
    for (auto _ : state) benchmark::DoNotOptimize(Draw_Text_Wrapped(20, 100, 320, 400, paragraph));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Text_Wrapped_Paragraph)->Unit(benchmark::kMicrosecond);

void BM_Frame_Dump(benchmark::State& state) {
    TLibrary library(static_cast<int32_t>(state.range(0)));
    Gx_Set_Color(Gx_Rgb_To_Color(30, 60, 90));
    Gx_Fill_Page();
    const std::string path = (std::filesystem::temp_directory_path() / "murk_media_bench_frame.bmp").string();
    for (auto _ : state) benchmark::DoNotOptimize(Dump_Buffer(0, path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_Frame_Dump)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);

} // namespace
