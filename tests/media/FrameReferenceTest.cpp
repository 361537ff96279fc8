// One frame drawn with every primitive (fills, pixels, opaque and keyed copies, a loaded picture, wrapped
// text in the headless font) at every depth, compared with the reference picture by block means.
#include "tests/support/FrameReference.h"
#include "tests/media/GfxFixture.h"
#include "tests/support/TempFolder.h"

#include "core/GlobalFuncs.h"
#include "media/DisplayFont.h"
#include "media/DisplayGxFont.h"
#include "media/FrameDump.h"

#include <vector>

namespace {

// A 16 x 16 24-bit picture: red across, green down, blue constant.
std::vector<uint8_t> Gradient_Bmp() {
    std::vector<uint8_t> b = {'B', 'M', 0x36, 3,  0, 0, 0, 0, 0, 0,  54, 0, 0, 0, 40, 0, 0, 0, 16,
                              0,   0,   0,    16, 0, 0, 0, 1, 0, 24, 0,  0, 0, 0, 0,  0, 3, 0, 0};
    b.resize(54, 0);
    for (int32_t row = 15; row >= 0; --row) // bottom row first
        for (int32_t x = 0; x < 16; ++x) {
            b.push_back(160);
            b.push_back(uint8_t(row * 16));
            b.push_back(uint8_t(x * 16));
        }
    return b;
}

void Draw_Primitives() {
    ASSERT_EQ(gx_vbopen(0), 0);
    Gx_Set_Color(Gx_Rgb_To_Color(20, 30, 60));
    Gx_Fill_Page();
    const int32_t bands[][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},     {255, 255, 0},
                                {0, 255, 255}, {255, 0, 255}, {128, 128, 128}, {255, 255, 255}};
    for (int32_t i = 0; i < 8; ++i) {
        Gx_Set_Color(Gx_Rgb_To_Color(bands[i][0], bands[i][1], bands[i][2]));
        Gx_Fill_Rect(i * 100, i * 100 + 99, 0, 39);
    }
    Gx_Set_Color(Gx_Rgb_To_Color(255, 255, 255));
    for (int32_t x = 0; x < 800; x += 4) Gx_Set_Pixel(x, 44);

    // A sheet cell: a diamond of stacked bars on black, drawn keyed over a grey panel and opaque beside it.
    const int32_t sheet = gx_vballoc(54, 54);
    ASSERT_EQ(gx_vbopen(sheet), 0);
    for (int32_t row = 0; row < 27; ++row) {
        const int32_t half = row < 13 ? row * 2 : (26 - row) * 2;
        Gx_Set_Color(Gx_Rgb_To_Color(200, 120 + row * 4, 40));
        Gx_Fill_Rect(27 - half, 26 + half, 27 + row, 27 + row);
    }
    ASSERT_EQ(gx_vbopen(0), 0);
    Gx_Set_Color(Gx_Rgb_To_Color(90, 90, 90));
    Gx_Fill_Rect(0, 799, 60, 200);
    for (int32_t k = 0; k < 12; ++k)
        Gx_Copy_Rect_Transparent(0, 53, 0, 53, 20 + k * 64, 60 + 53 + (k % 2) * 40, sheet, 0);
    Gx_Copy_Rect(0, 53, 0, 53, 20, 300, sheet, 0);
    Gx_Copy_Rect(0, 53, 0, 53, 780, 599, sheet, 0); // clipped at the right and bottom

    const std::vector<uint8_t> picture = Gradient_Bmp();
    for (int32_t k = 0; k < 4; ++k) {
        Gx_Move_To(100 + k * 24, 260);
        ASSERT_EQ(gx_showbmp_data(picture, Gx_Bmp_At_Position), 0);
    }

    Begin_Text(0);
    Set_Font(1);
    Set_Text_Color(255, 255, 255);
    Draw_Text_Wrapped(300, 240, 300, 200,
                      "Сундук открыт: внутри лежат три зелья лечения, старый меч и кошель с золотом.");
    Set_Text_Color(255, 220, 120);
    Set_Text_Justify(2, 2);
    Draw_Text(400, 500, "Murkhollow");
    End_Text(0);
}

TEST_F(TGfx_Test, PrimitivesFrameMatchesItsReferenceAtEveryDepth) {
    TTemp_Folder folder;
    Set_Base_Folder(folder.Path());
    const std::pair<int32_t, bool> depths[] = {{16, false}, {16, true}, {24, false}, {32, false}};
    for (auto [bits, layout_555] : depths) {
        SCOPED_TRACE(testing::Message() << bits << (layout_555 ? " 555" : ""));
        TearDown();
        SetUp();
        Start(bits, layout_555);
        Load_External_Resources();
        Draw_Primitives();
        Free_External_Resources();
        TFrame frame;
        ASSERT_TRUE(Read_Buffer_Frame(0, frame));
        EXPECT_TRUE(Matches_Reference(frame, "primitives"));
    }
}

} // namespace
