// Frames out of buffers at every depth, and the block-mean comparison's limits.
#include "tests/media/GfxFixture.h"
#include "tests/support/FrameReference.h"
#include "tests/support/TempFolder.h"

#include "media/FrameDump.h"

#include <fstream>
#include <iterator>

namespace {

using TFrame_Dump = TGfx_Test;

TEST_F(TFrame_Dump, AnySlotAtAnyDepthIsWrittenAsTwentyFourBits) {
    struct TCase {
        int32_t Bits;
        bool Layout_555;
        uint32_t Pixels[4];
        uint8_t Bgr[12];
    } cases[] = {
        {16, false, {0xF800, 0x07E0, 0x001F, 0xFFFF}, {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}},
        {16, true, {0x7C00, 0x03E0, 0x0421, 0x7FFF}, {0, 0, 255, 0, 255, 0, 8, 8, 8, 255, 255, 255}},
        {24, false, {0x123456, 0, 0xFFFFFF, 0x010203}, {0x56, 0x34, 0x12, 0, 0, 0, 255, 255, 255, 3, 2, 1}},
        {32,
         false,
         {0xFF123456, 0, 0x00FFFFFF, 0x010203},
         {0x56, 0x34, 0x12, 0, 0, 0, 255, 255, 255, 3, 2, 1}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Bits);
        TearDown();
        SetUp();
        Start(c.Bits, c.Layout_555);
        const int32_t h = gx_vballoc(3, 1); // four pixels wide
        for (int32_t x = 0; x < 4; ++x) Put_Raw(h, x, 0, c.Pixels[x]);
        TTemp_Folder t;
        ASSERT_TRUE(Dump_Buffer(h, t.File("frame.bmp")));
        const std::string bytes = t.Read("frame.bmp");
        ASSERT_EQ(bytes.size(), 54u + 12u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(uint8_t(bytes[18]), 4); // width
        EXPECT_EQ(uint8_t(bytes[22]), 1); // height
        EXPECT_EQ(uint8_t(bytes[28]), 24);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 54, bytes.end()),
                  std::vector<uint8_t>(c.Bgr, c.Bgr + 12));
    }
    EXPECT_FALSE(Dump_Buffer(200, "/nonexistent/frame.bmp"));
}

// An 800 x 600 grey frame, and a copy with some blocks changed by some amount in one channel.
TFrame Grey() {
    TFrame f;
    f.Width = 800;
    f.Height = 600;
    f.Bgr.assign(800 * 600 * 3, 100);
    return f;
}
TFrame Changed(int32_t blocks, int32_t amount, int32_t channel) {
    TFrame f = Grey();
    for (int32_t b = 0; b < blocks; ++b)
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x)
                f.Bgr[((std::size_t(b / 100) * 8 + y) * 800 + std::size_t(b % 100) * 8 + x) * 3 + channel] =
                    uint8_t(100 + amount);
    return f;
}

TEST(FrameCompare, NinetyFivePercentOfBlocksWithinThirtyTwo) {
    struct TCase {
        int32_t Blocks, Amount, Channel;
        int32_t Matching;
        bool Passed;
    } cases[] = {
        {0, 0, 0, 7500, true},      {7500, 32, 0, 7500, true}, {7500, -32, 2, 7500, true},
        {1, 33, 1, 7499, true},     {375, 33, 2, 7125, true},  {376, 33, 0, 7124, false},
        {376, -33, 1, 7124, false}, {7500, 33, 0, 0, false},
    };
    for (const TCase& c : cases) {
        const TFrame_Comparison r = Compare_Frames(Changed(c.Blocks, c.Amount, c.Channel), Grey());
        EXPECT_EQ(r.Blocks, 7500);
        EXPECT_EQ(r.Blocks_Matching, c.Matching) << c.Blocks << " by " << c.Amount;
        EXPECT_EQ(r.Passed, c.Passed) << c.Blocks << " by " << c.Amount;
    }
    // Means are compared exactly: block (0, 0)'s blue sum raised by 2049 fails, by 2048 (32 x 64) passes.
    TFrame f = Grey();
    for (int32_t x = 0; x < 13; ++x) f.Bgr[(x < 8 ? x : 800 + x - 8) * 3] = 255; // 13 x 155 = 2015
    f.Bgr[(800 + 5) * 3] = 100 + 34;
    EXPECT_EQ(Compare_Frames(f, Grey()).Blocks_Matching, 7499);
    f.Bgr[(800 + 5) * 3] = 100 + 33;
    EXPECT_EQ(Compare_Frames(f, Grey()).Blocks_Matching, 7500);

    // Channels are compared apart: green up and red down in one block is not a match.
    for (int32_t x = 0; x < 8; ++x)
        for (int32_t y = 0; y < 8; ++y) {
            f.Bgr[(std::size_t(y) * 800 + x) * 3 + 1] = 140;
            f.Bgr[(std::size_t(y) * 800 + x) * 3 + 2] = 60;
        }
    EXPECT_EQ(Compare_Frames(f, Grey()).Blocks_Matching, 7499);

    TFrame small = Grey();
    small.Height = 592;
    small.Bgr.resize(800 * 592 * 3);
    EXPECT_FALSE(Compare_Frames(small, Grey()).Passed);
    EXPECT_FALSE(Compare_Frames(small, Grey()).Same_Size);
}

TEST(FrameCompare, DifferenceShowsFailingBlocksInRed) {
    const TFrame d = Difference_Frame(Changed(2, 40, 1), Grey());
    ASSERT_EQ(d.Bgr.size(), 800u * 600 * 3);
    EXPECT_EQ(d.Bgr[0], 0);   // blue: no difference
    EXPECT_EQ(d.Bgr[1], 40);  // green: the difference
    EXPECT_EQ(d.Bgr[2], 255); // red: the block fails
    const std::size_t third_block = 16 * 3, last_row = 7 * 800 * 3, next_row = 8 * 800 * 3;
    EXPECT_EQ(d.Bgr[third_block + 1], 0);
    EXPECT_EQ(d.Bgr[third_block + 2], 0);
    EXPECT_EQ(d.Bgr[last_row + 2], 255); // the failing block's last row is marked ...
    EXPECT_EQ(d.Bgr[next_row + 2], 0);   // ... and the row below it, in the next block row, is not

    TFrame second = Grey(); // only the second block differs: the first stays unmarked
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 8; x < 16; ++x) second.Bgr[(std::size_t(y) * 800 + x) * 3] = 250;
    const TFrame e = Difference_Frame(second, Grey());
    EXPECT_EQ(e.Bgr[2], 0);
    EXPECT_EQ(e.Bgr[7 * 3 + 2], 0);
    EXPECT_EQ(e.Bgr[8 * 3 + 2], 255);
}

TEST(FrameCompare, ReferencePicturesReadBackWhatTheWriterWrote) {
    TFrame f;
    f.Width = 3;
    f.Height = 2;
    f.Bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    TFrame back;
    ASSERT_TRUE(Read_Frame_Bmp(Frame_Bmp_File(f), back));
    EXPECT_EQ(back.Width, 3);
    EXPECT_EQ(back.Height, 2);
    EXPECT_EQ(back.Bgr, f.Bgr);
    EXPECT_FALSE(Read_Frame_Bmp({'B', 'M'}, back));
}

} // namespace
