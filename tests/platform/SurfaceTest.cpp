// Pixels of our surfaces by depth, and the nearest palette entry by squared distance.
#include "platform/Surface.h"

#include <gtest/gtest.h>

namespace {

TEST(Surface, PixelsReadAndWriteInTheirFormat) {
    plat::TPalette palette;
    palette.fill({255, 255, 255});
    palette[7] = {1, 2, 3};
    struct TCase {
        int32_t Bits;
        bool Layout_555;
        bool With_Palette;
        std::vector<uint8_t> Bytes; // the pixel at x = 1
        plat::TRgb8 Colour;
    } cases[] = {
        {16, false, false, {0xE0, 0x07}, {0, 255, 0}},
        {16, false, false, {0x1F, 0xF8}, {255, 0, 255}},
        {16, true, false, {0xE0, 0x03}, {0, 255, 0}},
        {24, false, false, {0x56, 0x34, 0x12}, {0x12, 0x34, 0x56}},
        {32, false, false, {0x56, 0x34, 0x12, 0x00}, {0x12, 0x34, 0x56}},
        {8, false, true, {7}, {1, 2, 3}},
        {8, false, false, {7}, {7, 7, 7}}, // without a palette an index reads as grey
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.Bits << (c.Layout_555 ? " 555" : "") << (c.With_Palette ? " palette" : ""));
        auto s = plat::Make_Surface(3, 2, c.Bits, c.Layout_555);
        EXPECT_EQ(s->Pitch, 3 * plat::Bytes_Per_Pixel(c.Bits));
        if (c.With_Palette) s->Palette = &palette;
        std::copy(c.Bytes.begin(), c.Bytes.end(), s->Row(1) + c.Bytes.size());
        EXPECT_EQ(plat::Pixel_Rgb(*s, 1, 1), c.Colour);
        EXPECT_EQ(plat::Pixel_Rgb(*s, 0, 1), (c.Bits == 8 && c.With_Palette ? palette[0] : plat::TRgb8{}));
        auto written = plat::Make_Surface(3, 2, c.Bits, c.Layout_555);
        if (c.With_Palette) written->Palette = &palette;
        if (c.Bits != 8 || c.With_Palette) {
            plat::Put_Rgb(*written, 1, 1, c.Colour);
            EXPECT_EQ(
                std::vector<uint8_t>(written->Row(1) + c.Bytes.size(), written->Row(1) + 2 * c.Bytes.size()),
                c.Bytes);
        }
    }
}

TEST(Surface, NearestPaletteEntryBySquaredDistance) {
    plat::TPalette palette;
    palette.fill({255, 255, 255});
    palette[1] = {0, 0, 0};
    palette[2] = {190, 0, 0};
    palette[3] = {0, 190, 0};
    palette[4] = {0, 0, 190};
    palette[6] = {190, 0, 0}; // the same as 2: the lower index wins
    const std::pair<plat::TRgb8, int32_t> cases[] = {
        {{200, 0, 0}, 2},     {{0, 200, 0}, 3}, {{0, 0, 200}, 4}, {{10, 10, 10}, 1},
        {{255, 255, 255}, 0}, {{100, 0, 0}, 2}, {{90, 0, 0}, 1},  {{95, 0, 0}, 1},
    };
    for (const auto& [colour, index] : cases)
        EXPECT_EQ(plat::Nearest_Palette_Index(palette, colour), index)
            << int(colour.R) << "," << int(colour.G) << "," << int(colour.B);
}

} // namespace
