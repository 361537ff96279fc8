// The 8-bit path: palette-indexed buffers, colours by nearest palette entry, and how a picture's colours
// enter the palette (squeezed into entries 10..245, or as they are).
#include "tests/media/GfxFixture.h"

#include <set>
#include <vector>

namespace {

void Put_16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put_32(std::vector<uint8_t>& out, uint32_t v) {
    Put_16(out, v & 0xFFFF);
    Put_16(out, v >> 16);
}

// An uncompressed indexed BMP; rows given top row first, each already padded.
std::vector<uint8_t> Indexed_Bmp(int32_t width, int32_t height, uint32_t bits,
                                 const std::vector<plat::TRgb8>& table,
                                 const std::vector<uint8_t>& rows_top_first) {
    const uint32_t row_bytes = uint32_t(rows_top_first.size()) / uint32_t(height);
    std::vector<uint8_t> out = {'B', 'M'};
    const uint32_t offset = 54 + uint32_t(table.size()) * 4;
    Put_32(out, offset + uint32_t(rows_top_first.size()));
    Put_32(out, 0);
    Put_32(out, offset);
    Put_32(out, 40);
    Put_32(out, uint32_t(width));
    Put_32(out, uint32_t(height));
    Put_16(out, 1);
    Put_16(out, bits);
    for (int i = 0; i < 6; ++i) Put_32(out, 0);
    for (const plat::TRgb8& c : table) out.insert(out.end(), {c.B, c.G, c.R, 0});
    for (int32_t row = height - 1; row >= 0; --row)
        out.insert(out.end(), rows_top_first.begin() + row * row_bytes,
                   rows_top_first.begin() + (row + 1) * row_bytes);
    return out;
}

class TGfx_Indexed : public TGfx_Test {
protected:
    void SetUp() override {
        TGfx_Test::SetUp();
        Start(8);
        // Entries outside 10..245 carry marks a picture must not change.
        std::vector<plat::TRgb8> marks(256);
        for (int32_t i = 0; i < 256; ++i) marks[i] = {uint8_t(i), 1, 2};
        Gx_Set_Palette_Entries(0, 256, marks.data());
    }
    plat::TRgb8 Entry(int32_t index) const { return (*Surface(0).Palette)[index]; }
    int32_t Load(int32_t width, int32_t height, const std::vector<uint8_t>& bmp, int32_t flags) {
        const int32_t buffer = gx_vballoc(width, height);
        EXPECT_EQ(gx_vbopen(buffer), 0);
        EXPECT_EQ(gx_showbmp_data(bmp, flags), 0);
        return buffer;
    }
};

TEST_F(TGfx_Indexed, ColoursAreNearestPaletteEntriesAndFillsRepeatTheIndex) {
    EXPECT_EQ(Gx_Buffer_Surface(0)->Bits, 8);
    EXPECT_EQ(Gx_Rgb_To_Color(7, 1, 2), 7u);
    EXPECT_EQ(Gx_Rgb_To_Color(7, 3, 3), 7u); // (7, 1, 2) is nearer than (6, 1, 2) or (8, 1, 2)
    plat::TRgb8 twin{200, 1, 2};
    Gx_Set_Palette_Entries(250, 1, &twin); // entries 200 and 250 alike: the lower wins
    EXPECT_EQ(Gx_Nearest_Palette_Index(200, 1, 2), 200);
    Gx_Set_Color(0x12345607); // the index is the low byte
    Gx_Fill_Rect(0, 3, 0, 0);
    EXPECT_EQ(Raw(0, 3, 0), 7u);
    EXPECT_EQ(Gx_Get_Pixel(3, 0), 7u);
    Gx_Flip();
    EXPECT_EQ(Display->Last_Frame.Bits, 8);
    EXPECT_EQ((*Display->Last_Frame.Palette)[7], (plat::TRgb8{7, 1, 2}));
}

TEST_F(TGfx_Indexed, UsedColoursArePackedFromTenAndPixelsRenumbered) {
    const std::vector<plat::TRgb8> table = {{0, 0, 0}, {10, 20, 30}, {40, 50, 60},
                                            {0, 0, 0}, {0, 0, 0},    {70, 80, 90}};
    const int32_t buffer = Load(4, 1, Indexed_Bmp(4, 1, 8, table, {5, 1, 2, 5}), 0);
    EXPECT_EQ(Raw(buffer, 0, 0), 12u);
    EXPECT_EQ(Raw(buffer, 1, 0), 10u);
    EXPECT_EQ(Raw(buffer, 2, 0), 11u);
    EXPECT_EQ(Entry(10), (plat::TRgb8{10, 20, 30}));
    EXPECT_EQ(Entry(11), (plat::TRgb8{40, 50, 60}));
    EXPECT_EQ(Entry(12), (plat::TRgb8{70, 80, 90}));
    EXPECT_EQ(Entry(13), (plat::TRgb8{0, 0, 0})); // cleared up to 245
    EXPECT_EQ(Entry(245), (plat::TRgb8{0, 0, 0}));
    EXPECT_EQ(Entry(9), (plat::TRgb8{9, 1, 2}));
    EXPECT_EQ(Entry(246), (plat::TRgb8{246, 1, 2}));
}

TEST_F(TGfx_Indexed, NoTableNoTrueColourAndNoEntryPastTheEnd) {
    const int32_t plain = Load(4, 1, Indexed_Bmp(4, 1, 8, {}, {3, 4, 250, 9}), 0);
    EXPECT_EQ(Raw(plain, 2, 0), 250u); // without a table nothing is renumbered
    EXPECT_EQ(Entry(10), (plat::TRgb8{10, 1, 2}));

    const uint8_t true_colour[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0,
                                   0,   0,   1,  0, 0, 0, 1, 0, 24, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,
                                   0,   0,   0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 9,  9, 9, 0};
    EXPECT_EQ(gx_showbmp_data(true_colour, 0), 3);

    const plat::TRgb8 grey[10] = {};
    Gx_Set_Palette_Entries(250, 10, grey); // six stored; nothing spills past the palette
    ASSERT_EQ(gx_vbopen(0), 0);
    Gx_Set_Color(1);
    Gx_Set_Pixel(0, 0);
    EXPECT_EQ(Raw(0, 0, 0), 1u);
    EXPECT_EQ(Entry(255), (plat::TRgb8{0, 0, 0}));
}

TEST_F(TGfx_Indexed, KeptOrIgnoredColoursAndSmallIndices) {
    std::vector<plat::TRgb8> table(256);
    for (int32_t i = 0; i < 256; ++i) table[i] = {uint8_t(255 - i), 0, 0};
    const int32_t kept = Load(4, 1, Indexed_Bmp(4, 1, 8, table, {3, 4, 250, 9}), Gx_Bmp_Keep_File_Colours);
    EXPECT_EQ(Raw(kept, 2, 0), 250u); // pixels as in the file
    EXPECT_EQ(Entry(10), table[10]);  // its entries 10..245 installed
    EXPECT_EQ(Entry(245), table[245]);
    EXPECT_EQ(Entry(3), (plat::TRgb8{3, 1, 2}));
    EXPECT_EQ(Entry(250), (plat::TRgb8{250, 1, 2}));

    const int32_t ignored =
        Load(4, 1, Indexed_Bmp(4, 1, 8, {{1, 1, 1}}, {0, 0, 7, 0}), Gx_Bmp_Ignore_Colour_Table);
    EXPECT_EQ(Raw(ignored, 2, 0), 7u);
    EXPECT_EQ(Entry(10), table[10]);

    const int32_t four = Load(4, 1, Indexed_Bmp(4, 1, 4, {{1, 2, 3}, {4, 5, 6}}, {0x01, 0x10, 0, 0}), 0);
    EXPECT_EQ(Raw(four, 0, 0), 10u);
    EXPECT_EQ(Raw(four, 1, 0), 11u);
    EXPECT_EQ(Entry(10), (plat::TRgb8{1, 2, 3}));
    EXPECT_EQ(Entry(11), (plat::TRgb8{4, 5, 6}));
    EXPECT_EQ(Entry(12), table[12]);
}

// 240 colours in use, 236 places: the four nearest pairs merge, the one with fewer pixels into the other
// and, on equal counts, the lower index into the higher.
TEST_F(TGfx_Indexed, TooManyColoursMergeTheNearestPairs) {
    std::vector<plat::TRgb8> table(240);
    for (int32_t i = 0; i < 236; ++i)
        table[i] = {uint8_t(i % 7 * 40), uint8_t(i / 7 % 7 * 40), uint8_t(i / 49 * 40)};
    table[236] = {uint8_t(table[20].R + 1), table[20].G, table[20].B};    // distance 1 from 20
    table[237] = {table[50].R, uint8_t(table[50].G + 2), table[50].B};    // 4 from 50
    table[238] = {table[90].R, table[90].G, uint8_t(table[90].B + 3)};    // 9 from 90
    table[239] = {uint8_t(table[130].R + 4), table[130].G, table[130].B}; // 16 from 130
    std::vector<uint8_t> rows(480);
    for (int32_t i = 0; i < 240; ++i) rows[i] = uint8_t(i);       // top row: every index once
    for (int32_t i = 0; i < 236; ++i) rows[240 + i] = uint8_t(i); // bottom row: the 236 again ...
    rows[476] = rows[477] = rows[478] = 0;
    rows[479] = 239; // ... and 239 twice in all, as many as 130
    const int32_t buffer = Load(240, 2, Indexed_Bmp(240, 2, 8, table, rows), 0);

    // Survivors in index order: 0..235 without 130, then 239; 236..238 went into 20, 50, 90.
    auto number = [](int32_t index) { return index < 130 ? index : index - 1; };
    for (int32_t i = 0; i < 236; ++i) {
        const uint32_t expected = i == 130 ? 10 + 235 : uint32_t(10 + number(i));
        ASSERT_EQ(Raw(buffer, i, 0), expected) << i;
    }
    EXPECT_EQ(Raw(buffer, 236, 0), uint32_t(10 + 20));
    EXPECT_EQ(Raw(buffer, 237, 0), uint32_t(10 + 50));
    EXPECT_EQ(Raw(buffer, 238, 0), uint32_t(10 + 90));
    EXPECT_EQ(Raw(buffer, 239, 0), uint32_t(10 + 235));
    EXPECT_EQ(Entry(10 + 20), table[20]);
    EXPECT_EQ(Entry(10 + 235), table[239]); // the higher index kept its colour
    EXPECT_EQ(Entry(10 + 129), table[129]);
    EXPECT_EQ(Entry(10 + 130), table[131]);
}

// One merge to make and two pairs equally near: the later pair wins only when its second entry has fewer
// pixels than either entry of the first.
TEST_F(TGfx_Indexed, EqualDistancesPreferTheRarerLaterPair) {
    std::vector<plat::TRgb8> table(237);
    for (int32_t i = 0; i < 235; ++i)
        table[i] = {uint8_t(i % 7 * 40), uint8_t(i / 7 % 7 * 40), uint8_t(i / 49 * 40)};
    table[235] = {uint8_t(table[10].R + 1), table[10].G, table[10].B};
    struct TCase {
        const char* Name;
        plat::TRgb8 Colour_236;
        bool Rare_236;        // 236 once (and 235 three times), else both twice
        int32_t Merged, Into; // the pair that merges
    } cases[] = {
        // (30, 236) is as near as (10, 235), later, and 236 rarer than either of 10 and 235.
        {"later and rarer", {uint8_t(table[30].R + 1), table[30].G, table[30].B}, true, 236, 30},
        // As near and later, but no rarer: (10, 235) stays, and on equal counts 10 goes into 235.
        {"later, not rarer", {uint8_t(table[30].R + 1), table[30].G, table[30].B}, false, 10, 235},
        // Farther and rarer: a farther pair never replaces the nearest one.
        {"farther and rarer", {250, 250, 250}, true, 235, 10},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        table[236] = c.Colour_236;
        std::vector<uint8_t> rows(2 * 240, 0);
        for (int32_t i = 0; i < 237; ++i) rows[i] = rows[240 + i] = uint8_t(i); // two pixels each
        if (c.Rare_236) rows[240 + 236] = 235;
        const int32_t buffer = Load(240, 2, Indexed_Bmp(240, 2, 8, table, rows), 0);
        std::set<uint32_t> numbers;
        for (int32_t i = 0; i < 237; ++i) numbers.insert(Raw(buffer, i, 0));
        EXPECT_EQ(numbers.size(), 236u); // exactly one merge
        EXPECT_EQ(Raw(buffer, c.Merged, 0), Raw(buffer, c.Into, 0));
        gx_vbopen(0);
        Gx_Free_Buffer(buffer);
    }
}

} // namespace
