// Start-up: from the program's start to the first frame that draws the main menu, each run in a fresh
// process over the headless backends, with the virtual clock jumped over the intro's waits; and the two
// loads that weigh most in it, the data tables and the sprite sheets, each on its own.
#include "core/Clock.h"
#include "core/GlobalFuncs.h"
#include "core/Struct.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "platform/DisplayBackend.h"
#include "ui/DCMainScreen.h"
#include "ui/DialogFactory.h"
#include "ui/HeadlessGame.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The child's work: start-up, then passes until "Dlg Menu" exists and one frame has drawn it. Between
// passes the clock jumps half a second, so the intro's timed waits cost a few passes, not 5 s of frames.
bool Start_To_Menu() {
    HeadlessGame game(MURK_RUNTIME_DIR);
    game.Root_Factory = [] { return std::make_unique<TDC_Main_Screen>(std::make_unique<TDialog_Factory>()); };
    if (!game.start()) return false;
    for (int32_t pass = 0; pass < 100 && !game.closed(); ++pass) {
        game.run(10);
        if (game.find("Dlg Menu")) {
            game.frame();
            return true;
        }
        Advance_Manual_Clock(500);
    }
    return false;
}

void BM_Startup_To_Menu(benchmark::State& state) {
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) _exit(Start_To_Menu() ? 0 : 1);
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            return state.SkipWithError("start-up did not reach the main menu");
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
    }
}
BENCHMARK(BM_Startup_To_Menu)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

// The program folder's settings and the objects the data tables fill, as start-up makes them.
struct TData_Scope {
    TData_Scope() {
        Set_Base_Folder(MURK_RUNTIME_DIR);
        Create_Primary_Global_Structs();
        Load_Primary_Global_Structs();
        Create_Global_Structs();
    }
    ~TData_Scope() {
        Free_Global_Structs();
        Free_Primary_Global_Structs();
    }
};

void BM_Load_Global_Structs(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        {
            TData_Scope scope;
            state.ResumeTiming();
            if (!Load_Global_Structs()) return state.SkipWithError("the data tables did not load");
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Load_Global_Structs)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Load_Graphics(benchmark::State& state) {
    TData_Scope data;
    plat::Install_Display_Backend(std::make_unique<plat::THeadless_Display>());
    Gx_Dd_Setup(800, 600, 32, Gx_Flag_Flip_Chain);
    if (gx_vbinit() != 0) return state.SkipWithError("no headless screen");
    gx_vbdepth(32);
    for (auto _ : state) {
        state.PauseTiming();
        Install_Display_Object(std::make_unique<TDisplay_Object>());
        state.ResumeTiming();
        Display_Object()->Load_Graphics();
        state.PauseTiming();
        Install_Display_Object(nullptr);
        state.ResumeTiming();
    }
    Gx_Shutdown();
    plat::Install_Display_Backend(nullptr);
}
BENCHMARK(BM_Load_Graphics)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
