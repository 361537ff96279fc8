// The real SDL2 backends on SDL's dummy video driver: the mode at each depth, flips, the mouse and text
// rendered by SDL2_ttf with a stand-in (a narrow face, DejaVu at the last) for the game's face. Skipped where
// SDL cannot start.
#include "platform/sdl/SdlBackends.h"
#include "tests/support/TempFolder.h"

#include "core/GlobalFuncs.h"
#include "media/DisplayFont.h"
#include "media/DisplayGxFont.h"
#include "media/GfxDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

class TSdl_Smoke : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void TearDown() override {
        Gx_Shutdown();
        plat::Install_Display_Backend(nullptr);
        plat::Install_Text_Backend(nullptr);
    }
};

TEST_F(TSdl_Smoke, ModeFlipAndMouseAtEveryDepth) {
    auto display = plat::Make_Sdl_Display("Murkhollow");
    if (!display) GTEST_SKIP() << "SDL video cannot start here";
    plat::Install_Display_Backend(std::move(display));
    for (int32_t bits : {8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        EXPECT_EQ(gx_modetest(800, 600, bits), 0);
        Gx_Dd_Setup(800, 600, bits, Gx_Flag_Flip_Chain);
        ASSERT_EQ(gx_vbinit(), 0);
        ASSERT_EQ(gx_vbopen(0), 0);
        Gx_Set_Color(Gx_Rgb_To_Color(40, 80, 120));
        Gx_Fill_Page();
        EXPECT_EQ(Gx_Flip(), 0);
        EXPECT_EQ(gx_mouseini(), 1);
        Gx_Mouse_Visible(0);
        int32_t x = 0, y = 0;
        Gx_Mouse_Position(x, y);
        EXPECT_TRUE((x == -1 && y == -1) || (x >= 0 && x < 800 && y >= 0 && y < 600));
        EXPECT_EQ(Gx_Window_To_Buffer_X(799), 799);
        Gx_Mouse_Visible(1);
        Gx_Shutdown();
    }
}

TEST_F(TSdl_Smoke, TextFallsBackToAStandInFaceAndStaysInItsBox) {
    if (!std::filesystem::exists("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"))
        GTEST_SKIP() << "DejaVu Sans is not installed";
    auto text = plat::Make_Sdl_Text();
    if (!text) GTEST_SKIP() << "SDL2_ttf cannot start here";
    plat::Install_Text_Backend(std::move(text));
    TTemp_Folder folder; // no Fonts folder: the game's face files are missing, silently
    Set_Base_Folder(folder.Path());
    Load_External_Resources();
    for (int32_t style = 1; style <= 6; ++style) ASSERT_NE(Style_Font(style)->Handle, 0) << style;

    for (int32_t bits : {16, 24, 32}) {
        SCOPED_TRACE(bits);
        Gx_Dd_Setup(800, 600, bits, Gx_Flag_Flip_Chain);
        ASSERT_EQ(gx_vbinit(), 0);
        gx_vbdepth(bits);
        const int32_t page = gx_vballoc(300, 100);
        Begin_Text(page);
        Set_Font(1);
        Set_Text_Color(255, 255, 255);
        Set_Text_Justify(1, 5); // top-left at the point
        const std::string line = "Сундук открыт, 42 монеты";
        Draw_Text(20, 30, line);
        End_Text(page);
        const int32_t width = plat::Text_Backend().Measure(Style_Font(1)->Handle, line);
        const int32_t height = plat::Text_Backend().Metrics(Style_Font(1)->Handle).Height;
        EXPECT_GT(width, 100);
        EXPECT_GE(height, 13);
        const plat::TSurface& s = *Gx_Buffer_Surface(page);
        int32_t lit = 0;
        for (int32_t y = 0; y < s.Height; ++y)
            for (int32_t x = 0; x < s.Width; ++x) {
                const plat::TRgb8 c = plat::Pixel_Rgb(s, x, y);
                if (c.R == 0 && c.G == 0 && c.B == 0) continue;
                ++lit;
                EXPECT_TRUE(x >= 20 && x < 20 + width && y >= 30 && y < 30 + height) << x << "," << y;
            }
        EXPECT_GT(lit, 100);
        Gx_Shutdown();
    }
    Free_External_Resources();
}

} // namespace
