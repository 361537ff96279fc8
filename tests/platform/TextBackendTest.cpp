// The text raster's helpers and the headless raster's metrics, boxes and records.
#include "platform/TextBackend.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBackend, PointsBecomePixelsAtNinetySixDotsPerInch) {
    const std::pair<int32_t, int32_t> cases[] = {{10, 13}, {9, 12}, {12, 16},   {18, 24},  {16, 21},
                                                 {0, 0},   {3, 4},  {-10, -13}, {-12, -16}};
    for (auto [points, pixels] : cases) EXPECT_EQ(plat::Points_To_Pixels(points), pixels) << points;
}

TEST(TextBackend, CharactersAreWholeUtf8Sequences) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"", 0},
        {"abc", 3},
        {"Привет", 6},
        {"ёж!", 3},
        {"\xF0\x9F\x99\x82x", 2},
        {"\xD0", 1}, // a sequence cut short
        {"\xD0"
         "a",
         2},                // a lead byte without its follower
        {"\x80\x80", 2},    // stray followers
        {"a\x80", 2},       // a follower after a one-byte character
        {"€ и 🙂", 5}, // three, two and four bytes
    };
    for (const auto& [text, length] : cases) EXPECT_EQ(plat::Utf8_Length(text), length) << text;
}

TEST(TextBackend, HeadlessPaintsOneClippedBoxPerCharacter) {
    plat::THeadless_Text text;
    text.Char_Width = 4;
    text.Height = 3;
    const int32_t font = text.Open_Font({"Any", 10, false, false});
    EXPECT_EQ(text.Measure(font, "ab ж"), 16);
    EXPECT_EQ(text.Metrics(font).Height, 3);
    EXPECT_EQ(text.Measure(font + 1, "ab"), 0); // no such font
    auto surface = plat::Make_Surface(20, 6, 24, false);
    text.Draw(*surface, font, -2, 4, 0x102030, "a bc"); // clipped at the left and bottom
    text.Draw(*surface, font, 16, 0, 0x102030, "x");
    // Boxes of 3 x 3 from x -2, (a blank at 2,) 6 and 10; and one at 16, rows 0..2.
    const char* expected[] = {"................###.", "................###.", "................###.",
                              "....................", "#.....###.###.......", "#.....###.###......."};
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const plat::TRgb8 c = plat::Pixel_Rgb(*surface, x, y);
            EXPECT_EQ(c == (plat::TRgb8{0x10, 0x20, 0x30}), expected[y][x] == '#') << x << "," << y;
        }
    ASSERT_EQ(text.Calls.size(), 2u);
    EXPECT_EQ(text.Calls[0].Text, "a bc");
    EXPECT_EQ(text.Calls[0].Spec.Face, "Any");
    EXPECT_EQ(text.Calls[0].Surface, surface.get());

    text.Height = 0; // lines are never flat, so wrapping always moves on
    EXPECT_EQ(text.Metrics(font).Height, 1);
    text.Readable_Files = {"/fonts/a.ttf"};
    EXPECT_TRUE(text.Add_Font_File("/fonts/a.ttf"));
    EXPECT_FALSE(text.Add_Font_File("/fonts/b.ttf"));
}

} // namespace
