// The picture maker's canvas: what it draws must survive the game's loading at 16 bits, where only the top
// five bits of red and blue and the top six (5-5-5: five) of green are kept, keyed copies skip 0, and the
// sheets are turned from magenta to black by comparing packed values.
#include "tools/media/Canvas.h"

#include <gtest/gtest.h>

namespace {

using murk_media::Key_Color;
using murk_media::TCanvas;
using murk_media::TRgb;

bool Same(TRgb a, TRgb b) {
    return a.R == b.R && a.G == b.G && a.B == b.B;
}

} // namespace

TEST(PictureColours, DarkAndNearMagentaColoursAreMovedOffWhatReadsAsTransparent) {
    struct TCase {
        TRgb In, Out;
    };
    constexpr TCase Cases[] = {
        {{0, 0, 0}, {16, 16, 16}},        // black: the keyed copies' transparent colour
        {{15, 15, 15}, {16, 16, 16}},     // packs to 0 at 5-5-5
        {{4, 15, 9}, {16, 16, 16}},       // every channel lifted, not only the sum
        {{16, 0, 0}, {16, 0, 0}},         // keeps a bit of red at every depth
        {{0, 0, 16}, {0, 0, 16}},         // and of blue
        {{0, 16, 0}, {0, 16, 0}},         // and of green
        {{15, 15, 16}, {15, 15, 16}},     // one channel enough
        {{-20, 300, 40}, {0, 255, 40}},   // clamped first
        {{250, 0, 250}, {250, 8, 250}},   // packs like the magenta key
        {{248, 7, 255}, {248, 8, 255}},   // the lowest red and the highest green that still would
        {{255, 7, 248}, {255, 8, 248}},   // the lowest blue
        {{300, 20, 400}, {255, 20, 255}}, // clamped to the key's channels, but green keeps it apart
        {{247, 0, 255}, {247, 0, 255}},   // red below the key's: another colour at 16 bits
        {{255, 0, 247}, {255, 0, 247}},   // blue likewise
        {{255, 8, 255}, {255, 8, 255}},   // green above the key's at both 16-bit layouts
        {{200, 120, 90}, {200, 120, 90}}  // an ordinary colour stays as it is
    };
    for (const TCase& c : Cases) {
        const TRgb got = murk_media::Visible(c.In);
        EXPECT_TRUE(Same(got, c.Out))
            << c.In.R << "," << c.In.G << "," << c.In.B << " gave " << got.R << "," << got.G << "," << got.B;
    }
}

TEST(PictureColours, TheKeyColourErasesAndNothingIsDrawnOutsideTheCanvas) {
    TCanvas canvas(3, 2);
    canvas.Set(1, 0, {90, 80, 70});
    EXPECT_TRUE(canvas.Drawn(1, 0));
    canvas.Set(1, 0, Key_Color); // drawing in the key colour makes the pixel transparent again
    EXPECT_FALSE(canvas.Drawn(1, 0));

    for (const auto& [x, y] : {std::pair{-1, 0}, std::pair{3, 0}, std::pair{0, -1}, std::pair{0, 2},
                               std::pair{3, 1}, std::pair{-1, 1}})
        canvas.Set(x, y, {90, 80, 70});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_FALSE(canvas.Drawn(x, y)) << x << "," << y;

    canvas.Set(2, 1, {10, 10, 10});
    canvas.Fill_Undrawn({0, 0, 0}); // a sheet whose transparent colour is black
    EXPECT_TRUE(Same(canvas.Get(0, 0), {0, 0, 0}));
    EXPECT_TRUE(Same(canvas.Get(2, 1), {16, 16, 16}));
}
