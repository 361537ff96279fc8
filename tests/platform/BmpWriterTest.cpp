// The BMP writer's bytes, field by field.
#include "platform/BmpWriter.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Header(uint8_t width, uint8_t height, uint8_t image_bytes) {
    const uint8_t file = uint8_t(54 + image_bytes);
    return {'B', 'M', file, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, // file header: size,
                                                              // reserved, data offset
            40, 0, 0, 0, width, 0, 0, 0, height, 0, 0, 0, 1, 0, 24,
            0,                                // info header: size, width, height, planes, bits
            0, 0, 0, 0, image_bytes, 0, 0, 0, // no compression, image size
            0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            0}; // 2835 dots per metre, no colour table
}

TEST(BmpWriter, RowsGoBottomUpPaddedToFourBytes) {
    struct TCase {
        const char* Name;
        int32_t Width, Height;
        std::vector<uint8_t> Bgr;
        std::size_t Stride;
        std::vector<uint8_t> Rows;
    } cases[] = {
        {"one row of two", 2, 1, {1, 2, 3, 4, 5, 6}, 6, {1, 2, 3, 4, 5, 6, 0, 0}},
        {"two rows of one", 1, 2, {9, 9, 9, 7, 7, 7}, 3, {7, 7, 7, 0, 9, 9, 9, 0}},
        {"rows further apart", 1, 2, {9, 8, 7, 0xEE, 6, 5, 4, 0xEE}, 4, {6, 5, 4, 0, 9, 8, 7, 0}},
        {"four pixels need no padding",
         4,
         1,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
         12,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    };
    for (const TCase& c : cases) {
        std::vector<uint8_t> expected = Header(uint8_t(c.Width), uint8_t(c.Height), uint8_t(c.Rows.size()));
        expected.insert(expected.end(), c.Rows.begin(), c.Rows.end());
        EXPECT_EQ(plat::Bmp24_File(c.Width, c.Height, c.Bgr.data(), c.Stride), expected) << c.Name;
    }
}

TEST(BmpWriter, SizesPastSixteenBitsKeepTheirHighBytes) {
    const std::vector<uint8_t> bgr(300 * 3 * 100, 9);
    const std::vector<uint8_t> file = plat::Bmp24_File(300, 100, bgr.data(), 900);
    ASSERT_EQ(file.size(), 54u + 90000u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 2, file.begin() + 6),
              (std::vector<uint8_t>{0xC6, 0x5F, 0x01, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.begin() + 26),
              (std::vector<uint8_t>{0x2C, 0x01, 0, 0, 100, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 34, file.begin() + 38),
              (std::vector<uint8_t>{0x90, 0x5F, 0x01, 0}));
}

} // namespace
