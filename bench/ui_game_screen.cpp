// One whole game-screen frame as the frame loop draws it at 32 bits: the interface picture, the map view
// of a lit room with items and creatures, the status panel, the equipment and a creature's description,
// with the shipped pictures and the real text raster.
#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "media/DisplayFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "platform/DisplayBackend.h"
#include "platform/TextBackend.h"
#include "platform/sdl/SdlBackends.h"
#include "ui/DCGameScreen.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TGame_Screen_Scene {
    TGame_Screen_Scene() {
        plat::Install_Display_Backend(std::make_unique<plat::THeadless_Display>());
        if (auto text = plat::Make_Sdl_Text()) plat::Install_Text_Backend(std::move(text));
        Set_Base_Folder(MURK_RUNTIME_DIR);
        Install_Path_Settings(std::make_unique<TPath_Settings>());
        Gx_Dd_Setup(800, 600, 32, Gx_Flag_Flip_Chain);
        Ok = gx_vbinit() == 0;
        gx_vbdepth(32);
        Ok = Ok && Load_Display_Effects();
        Load_External_Resources();
        Create_Game_Options();
        Install_Display_Object(std::make_unique<TDisplay_Object>());
        TDisplay_Object& display = *Display_Object();
        display.Load_Graphics();
        Build_Map();
        Ok = Ok && display.Load_Map_Bitmaps(*Current_Map()) &&
             display.Load_Picture_Buffer("TDC_Main", Path_Settings()->Get_MainUI_Bitmap(), 800, 600,
                                         View.Screen_Buffer);
    }
    ~TGame_Screen_Scene() {
        TDisplay_Object::Release_Buffer(View.Screen_Buffer);
        Install_Display_Object(nullptr);
        Set_Player(nullptr);
        Install_Current_Map(nullptr);
        Free_Game_Options();
        Free_Display_Effects();
        Free_External_Resources();
        Install_Path_Settings(nullptr);
        Gx_Shutdown();
        plat::Install_Text_Backend(nullptr);
        plat::Install_Display_Backend(nullptr);
    }

    TMonster* Creature(TMap& map, int32_t x, int32_t y, const std::string& picture) {
        TMonster creature;
        creature.Name = "Скелет";
        creature.Set_Pictures(picture, "");
        creature.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        TMonster* stored = map.Monster_List.Add_Monster(creature);
        map.Place_Monster(*stored);
        return stored;
    }

    // A lit room of the barrow, a few items and creatures, the hero in the middle.
    void Build_Map() {
        Install_Current_Map(std::make_unique<TMap>());
        TMap& map = *Current_Map();
        Ok = Ok && map.Terrain_List.Load_From_File(std::string(MURK_RUNTIME_DIR) +
                                                   "/Modules/Barrowdeep/Tiles/Barrow_Terrain.txt");
        const auto kind = [&](const std::string& name) -> uint16_t {
            for (int32_t id = 1; id <= map.Terrain_List.Count(); ++id)
                if (const TTerrain* t = map.Terrain_List.Terrain(id); t && t->Name == name)
                    return static_cast<uint16_t>(id);
            return 0;
        };
        for (int32_t x = 86; x <= 114; ++x)
            for (int32_t y = 86; y <= 114; ++y) map.Get_Square(x, y)->Terrain_Id = kind("Flagstone Floor");
        for (int32_t k = 96; k <= 104; ++k)
            map.Get_Square(k, 96)->Terrain_Id = kind("Dressed Stone Wall (East-West)");
        for (int32_t k = 0; k < 6; ++k) {
            TItem item;
            item.Picture = "Gold_Medium.bmp";
            item.Quantity = static_cast<uint16_t>(10 + k);
            map.Get_Square(98 + k, 102)->Drop_Item(map.Item_List.Item(map.Item_List.Add(&item)));
        }
        TMonster* hero = Creature(map, 100, 100, "HumanFighter1.bmp");
        hero->Name = "Bjorn";
        hero->Life = hero->Max_Life = 40;
        hero->Max_Mana = 10;
        hero->Max_Food = 1000;
        hero->Max_Weight = 100;
        Set_Player(hero);
        for (int32_t k = 0; k < 4; ++k) Creature(map, 97 + 2 * k, 98, "Skeleton.bmp");
        View.Subject.Kind = 2;
        View.Subject.Creature_Id = map.Get_Square(97, 98)->Monster_Id;
    }

    bool Ok = false;
    TGame_Screen_View View;
};

void BM_Game_Screen_Frame(benchmark::State& state) {
    TGame_Screen_Scene scene;
    if (!scene.Ok) return state.SkipWithError("the program folder's pictures did not load");
    for (auto _ : state) {
        Draw_Game_Screen(0, scene.View);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Game_Screen_Frame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 1000 frames of one scene, each timed on its own: their median and 95th percentile, in microseconds.
void BM_Game_Screen_Frame_Each(benchmark::State& state) {
    TGame_Screen_Scene scene;
    if (!scene.Ok) return state.SkipWithError("the program folder's pictures did not load");
    std::vector<double> times;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        Draw_Game_Screen(0, scene.View);
        benchmark::ClobberMemory();
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count());
    }
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p95_us"] = times[(times.size() * 95 + 99) / 100 - 1];
}
BENCHMARK(BM_Game_Screen_Frame_Each)->Unit(benchmark::kMicrosecond)->Iterations(1000);

// What a frame is measured against: copying four 800 x 600 pages of 32 bits.
void BM_Copy_Four_Pages(benchmark::State& state) {
    constexpr size_t Page_Bytes = 800 * 600 * 4;
    std::vector<uint8_t> from(Page_Bytes * 4, 7), to(Page_Bytes * 4);
    for (auto _ : state) {
        for (size_t page = 0; page < 4; ++page)
            std::memcpy(to.data() + page * Page_Bytes, from.data() + page * Page_Bytes, Page_Bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Copy_Four_Pages)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
