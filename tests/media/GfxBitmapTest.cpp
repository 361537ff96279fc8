// BMP loading: result codes, refusal of bad headers, placement and clipping, and the pixel conversions,
// from BMP bytes the test writes field by field.
#include "tests/media/GfxFixture.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <string>
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

struct TBmp {
    int32_t Width = 2, Height = 2;
    uint32_t Bits = 24;
    uint32_t Compression = 0;
    std::vector<uint32_t> Table; // 0x00RRGGBB, written B, G, R, 0
    std::vector<uint8_t> Rows;   // as stored: padded, in file order
    int64_t Offset_Change = 0;   // added to the honest data offset
    bool Core = false;           // the 12-byte header

    std::vector<uint8_t> Bytes() const {
        const uint32_t header = Core ? 12 : 40;
        const uint32_t table = uint32_t(Table.size()) * (Core ? 3 : 4);
        std::vector<uint8_t> out = {'B', 'M'};
        Put_32(out, 14 + header + table + uint32_t(Rows.size()));
        Put_32(out, 0);
        Put_32(out, uint32_t(14 + header + table + Offset_Change));
        Put_32(out, header);
        if (Core) {
            Put_16(out, uint32_t(Width));
            Put_16(out, uint32_t(Height));
            Put_16(out, 1);
            Put_16(out, Bits);
        } else {
            Put_32(out, uint32_t(Width));
            Put_32(out, uint32_t(Height));
            Put_16(out, 1);
            Put_16(out, Bits);
            Put_32(out, Compression);
            for (int i = 0; i < 5; ++i) Put_32(out, 0);
        }
        for (uint32_t c : Table) {
            out.push_back(uint8_t(c));
            out.push_back(uint8_t(c >> 8));
            out.push_back(uint8_t(c >> 16));
            if (!Core) out.push_back(0);
        }
        out.insert(out.end(), Rows.begin(), Rows.end());
        return out;
    }
};

// A 2 x 2 24-bit picture: bottom row (1, 2, 3) (4, 5, 6), top row (7, 8, 9) (10, 11, 12) as B, G, R.
TBmp Two_By_Two() {
    TBmp b;
    b.Rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    return b;
}

class TGfx_Bitmaps : public TGfx_Test {
protected:
    int32_t Show(const TBmp& b, int32_t flags = 0) {
        const std::vector<uint8_t> bytes = b.Bytes();
        return gx_showbmp_data(bytes, flags);
    }
    int32_t Buffer(int32_t w, int32_t h, uint32_t fill) {
        const int32_t handle = gx_vballoc(w, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < Surface(handle).Width; ++x) Put_Raw(handle, x, y, fill);
        EXPECT_EQ(gx_vbopen(handle), 0);
        return handle;
    }
};

TEST_F(TGfx_Bitmaps, ResultCodesAndRefusedHeaders) {
    Start(32);
    auto with = [](auto change) {
        TBmp b = Two_By_Two();
        change(b);
        return b;
    };
    struct TCase {
        const char* Name;
        TBmp Bmp;
        int32_t Result;
    } cases[] = {
        {"good", Two_By_Two(), 0},
        {"core header", with([](TBmp& b) { b.Core = true; }), 0},
        {"32 bits", with([](TBmp& b) { b.Bits = 32; }), 3},
        {"16 bits", with([](TBmp& b) { b.Bits = 16; }), 3},
        {"2 bits", with([](TBmp& b) { b.Bits = 2; }), 3},
        {"run-length", with([](TBmp& b) { b.Compression = 1; }), 4},
        {"width 0", with([](TBmp& b) { b.Width = 0; }), 3},
        {"width -2", with([](TBmp& b) { b.Width = -2; }), 3},
        {"height 0", with([](TBmp& b) { b.Height = 0; }), 3},
        {"width 16385", with([](TBmp& b) { b.Width = 16385; }), 3},
        {"height -16385", with([](TBmp& b) { b.Height = -16385; }), 3},
        {"offset inside the header", with([](TBmp& b) { b.Offset_Change = -40; }), 2},
        {"offset past the end", with([](TBmp& b) { b.Offset_Change = 0x7FFFFFF0; }), 2},
        {"rows missing", with([](TBmp& b) { b.Rows.resize(12); }), 2},
        {"huge picture, no rows", with([](TBmp& b) { b.Width = b.Height = 16384; }), 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const int32_t page = Buffer(8, 8, 0);
        EXPECT_EQ(Show(c.Bmp), c.Result);
        Gx_Deselect_Buffer();
        Gx_Free_Buffer(page);
    }
    Buffer(8, 8, 0);
    TBmp indexed;
    indexed.Width = indexed.Height = 1;
    indexed.Bits = 8;
    indexed.Table = {0x010203, 0x040506};
    indexed.Rows = {1, 0, 0, 0};
    std::vector<uint8_t> cut = indexed.Bytes();
    cut.resize(54 + 6); // the file ends inside the colour table
    EXPECT_EQ(gx_showbmp_data(cut, 0), 2);
    EXPECT_EQ(gx_showbmp_data(cut, Gx_Bmp_Ignore_Colour_Table), 2); // and before its rows
    const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_EQ(gx_showbmp_data(text, 0), 2);
    EXPECT_EQ(gx_showbmp_data(std::span<const uint8_t>(), 0), 2);

    TTemp_Folder t;
    EXPECT_EQ(gx_showbmp(t.File("missing.bmp"), 0), 1);
    EXPECT_EQ(gx_showbmp(t.Make_Folder("Folder.bmp"), 0), 1);
    const std::vector<uint8_t> bytes = Two_By_Two().Bytes();
    const std::string path = t.Write("Pictures/Tile.bmp", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(gx_showbmp(t.File("pictures/TILE.BMP"), 0), 0); // found whatever the letter case

    int32_t w = 0, h = 0;
    ASSERT_TRUE(Gx_Read_Bmp_Size(path, w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(2, 2));
    TBmp wide = Two_By_Two();
    wide.Width = 300;
    wide.Height = -20;
    wide.Bits = 32; // measured even though it cannot be loaded
    const std::vector<uint8_t> wide_bytes = wide.Bytes();
    ASSERT_TRUE(
        Gx_Read_Bmp_Size(t.Write("wide.bmp", std::string(wide_bytes.begin(), wide_bytes.end())), w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(300, 20));
    EXPECT_FALSE(Gx_Read_Bmp_Size(t.Write("text.bmp", "hello"), w, h));
}

TEST_F(TGfx_Bitmaps, TwentyFourBitPicturesAtEveryDepth) {
    struct TCase {
        int32_t Bits;
        bool Layout_555;
        uint32_t Fill;
        uint32_t Top_Left, Top_Right, Bottom_Left, Bottom_Right;
    } cases[] = {
        // 32 bits keep each pixel's fourth byte.
        {32, false, 0xAB000000, 0xAB090807, 0xAB0C0B0A, 0xAB030201, 0xAB060504},
        {24, false, 0xABCDEF, 0x090807, 0x0C0B0A, 0x030201, 0x060504},
        // 5-6-5 of (R 9, G 8, B 7) = (1, 2, 0); (12, 11, 10) = (1, 2, 1); (3, 2, 1) = 0; (6, 5, 4) = (0, 1,
        // 0).
        {16, false, 0xFFFF, 0x0840, 0x0841, 0x0000, 0x0020},
        // 5-5-5 of (9, 8, 7) = (1, 1, 0); of (12, 11, 10) = (1, 1, 1).
        {16, true, 0xFFFF, 0x0420, 0x0421, 0x0000, 0x0000},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Bits << (c.Layout_555 ? " 555" : ""));
        TearDown();
        SetUp();
        Start(c.Bits, c.Layout_555);
        const int32_t page = Buffer(4, 3, c.Fill);
        EXPECT_EQ(Show(Two_By_Two()), 0);
        EXPECT_EQ(Raw(page, 0, 0), c.Top_Left);
        EXPECT_EQ(Raw(page, 1, 0), c.Top_Right);
        EXPECT_EQ(Raw(page, 0, 1), c.Bottom_Left);
        EXPECT_EQ(Raw(page, 1, 1), c.Bottom_Right);
        EXPECT_EQ(Raw(page, 2, 0), c.Fill);
        EXPECT_EQ(Raw(page, 0, 2), c.Fill);
    }
}

TEST_F(TGfx_Bitmaps, TopDownPicturesAndTheCoreHeader) {
    Start(24);
    const int32_t page = Buffer(4, 2, 0);
    TBmp b = Two_By_Two();
    b.Height = -2; // the same bytes read top row first
    EXPECT_EQ(Show(b), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x030201u);
    EXPECT_EQ(Raw(page, 1, 1), 0x0C0B0Au);
    b = Two_By_Two();
    b.Core = true;
    EXPECT_EQ(Show(b), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x090807u);
}

TEST_F(TGfx_Bitmaps, IndexedPicturesThroughThePalette) {
    Start(32);
    const int32_t page = Buffer(8, 2, 0);
    TBmp eight;
    eight.Width = 4;
    eight.Height = 1;
    eight.Bits = 8;
    eight.Table = {0x000000, 0x102030, 0x405060};
    eight.Rows = {1, 2, 0, 1};
    EXPECT_EQ(Show(eight), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x102030u);
    EXPECT_EQ(Raw(page, 1, 0), 0x405060u);
    EXPECT_EQ(Raw(page, 2, 0), 0u);

    // Flags 9 ignore the file's colours: the palette installed above stays, and the rows still come from the
    // data offset.
    TBmp other = eight;
    other.Table = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    other.Rows = {2, 1, 1, 2};
    EXPECT_EQ(Show(other, 9), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x405060u);
    EXPECT_EQ(Raw(page, 1, 0), 0x102030u);

    // A core header's table has three bytes an entry.
    TBmp core = eight;
    core.Core = true;
    core.Table = {0x000000, 0x0A0B0C, 0x0D0E0F};
    EXPECT_EQ(Show(core), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x0A0B0Cu);
    EXPECT_EQ(Raw(page, 1, 0), 0x0D0E0Fu);
    EXPECT_EQ(Show(eight), 0);

    // 4- and 1-bit indices use palette entries 10 onward; their tables are installed from 10.
    TBmp four;
    four.Width = 3;
    four.Height = 1;
    four.Bits = 4;
    four.Table = {0x0A0B0C, 0x0D0E0F};
    four.Rows = {0x01, 0x20, 0, 0}; // indices 0, 1, 2
    EXPECT_EQ(Show(four), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x0A0B0Cu);
    EXPECT_EQ(Raw(page, 1, 0), 0x0D0E0Fu);
    EXPECT_EQ(Raw(page, 2, 0), 0u); // entry 12, which no table set (entry 2 is 0x405060)
    TBmp one;
    one.Width = 3;
    one.Height = 1;
    one.Bits = 1;
    one.Table = {0x111111, 0x222222};
    one.Rows = {0b10100000, 0, 0, 0};
    EXPECT_EQ(Show(one), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x222222u);
    EXPECT_EQ(Raw(page, 1, 0), 0x111111u);
    EXPECT_EQ(Raw(page, 2, 0), 0x222222u);
}

TEST_F(TGfx_Bitmaps, IndexedPicturesAtEveryDepthStayInTheirColumns) {
    struct TCase {
        int32_t Bits;
        uint32_t Fill, First, Second;
    } cases[] = {{16, 0xBEEF, 0x1106, 0x2188},
                 {24, 0xABCDEF, 0x102030, 0x203040},
                 {32, 0xFFABCDEF, 0x102030, 0x203040}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Bits);
        TearDown();
        SetUp();
        Start(c.Bits);
        const int32_t page = Buffer(8, 1, c.Fill);
        TBmp b;
        b.Width = 3;
        b.Height = 1;
        b.Bits = 8;
        b.Table = {0x000000, 0x102030, 0x203040};
        b.Rows = {1, 2, 1, 0};
        EXPECT_EQ(Show(b), 0);
        EXPECT_EQ(Raw(page, 0, 0), c.First);
        EXPECT_EQ(Raw(page, 1, 0), c.Second);
        EXPECT_EQ(Raw(page, 2, 0), c.First);
        EXPECT_EQ(Raw(page, 3, 0), c.Fill);
    }
}

TEST_F(TGfx_Bitmaps, ColourTablesStopAtThePaletteAndTheBitCount) {
    Start(32);
    const int32_t page = Buffer(4, 1, 0);
    std::vector<plat::TRgb8> marks(256, plat::TRgb8{1, 2, 3});
    Gx_Set_Palette_Entries(0, 256, marks.data());
    TBmp four;
    four.Width = 1;
    four.Height = 1;
    four.Bits = 4;
    four.Table.assign(20, 0x00FFFFFF); // more entries than four bits address
    four.Rows = {0, 0, 0, 0};
    EXPECT_EQ(Show(four), 0);
    gx_vbopen(page);
    TBmp probe;
    probe.Width = 1;
    probe.Height = 1;
    probe.Bits = 8;
    for (auto [index, expected] : {std::pair{25, 0xFFFFFFu}, {26, 0x010203u}, {9, 0x010203u}}) {
        probe.Rows = {uint8_t(index), 0, 0, 0};
        EXPECT_EQ(Show(probe, 1), 0);
        EXPECT_EQ(Raw(page, 0, 0), expected) << index;
    }
    TBmp eight = probe;
    eight.Table.assign(300, 0x00777777);
    EXPECT_EQ(Show(eight), 0);

    plat::TRgb8 grey[10];
    std::fill(std::begin(grey), std::end(grey), plat::TRgb8{9, 9, 9});
    Gx_Set_Palette_Entries(250, 10, grey); // six stored, the rest past the table ignored
    Gx_Set_Palette_Entries(-1, 10, grey);
    Gx_Set_Palette_Entries(256, 1, grey);
    probe.Rows = {255, 0, 0, 0};
    EXPECT_EQ(Show(probe, 1), 0);
    EXPECT_EQ(Raw(page, 0, 0), 0x090909u);
}

TEST_F(TGfx_Bitmaps, PlacementClipsToTheBuffer) {
    Start(32);
    TBmp big;
    big.Width = big.Height = 60;
    big.Rows.assign(60 * 180, 0x40); // every pixel (64, 64, 64)
    const uint32_t grey = 0x404040;
    struct TCase {
        int32_t X, Y;
        int32_t Drawn_X0, Drawn_X1, Drawn_Y0, Drawn_Y1; // X0 > X1: nothing
    } cases[] = {
        {0, 0, 0, 59, 0, 59},     {90, 0, 90, 99, 0, 59}, {100, 0, 1, 0, 1, 0}, {0, 70, 0, 59, 70, 79},
        {-10, -20, 0, 49, 0, 39}, {-60, 0, 1, 0, 1, 0},   {20, 80, 1, 0, 1, 0}, {120, 0, 1, 0, 1, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X << "," << c.Y);
        const int32_t page = Buffer(100, 80, 0);
        Gx_Move_To(c.X, c.Y);
        EXPECT_EQ(Show(big, Gx_Bmp_At_Position), 0);
        for (int32_t y = 0; y < 80; ++y)
            for (int32_t x = 0; x < 100; ++x) {
                const bool in = x >= c.Drawn_X0 && x <= c.Drawn_X1 && y >= c.Drawn_Y0 && y <= c.Drawn_Y1;
                ASSERT_EQ(Raw(page, x, y), in ? grey : 0u) << x << "," << y;
            }
        Gx_Deselect_Buffer();
        Gx_Free_Buffer(page);
    }
}

TEST_F(TGfx_Bitmaps, RowsDrawnBeforeTheFileEndsStay) {
    Start(24);
    const int32_t page = Buffer(4, 4, 0);
    TBmp b;
    b.Width = 1;
    b.Height = 4;
    b.Rows = {1, 1, 1, 0, 2, 2, 2, 0}; // only the bottom two of four rows
    EXPECT_EQ(Show(b), 2);
    EXPECT_EQ(Raw(page, 0, 3), 0x010101u);
    EXPECT_EQ(Raw(page, 0, 2), 0x020202u);
    EXPECT_EQ(Raw(page, 0, 1), 0u);
}

TEST_F(TGfx_Bitmaps, EveryPictureOfTheProgramFolderLoads) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(MURK_RUNTIME_DIR "/Pictures"))
        if (entry.path().extension() == ".bmp") files.push_back(entry.path().string());
    ASSERT_GT(files.size(), 100u);
    for (int32_t bits : {16, 32}) {
        TearDown();
        SetUp();
        Start(bits);
        for (const std::string& file : files) {
            int32_t w = 0, h = 0;
            ASSERT_TRUE(Gx_Read_Bmp_Size(file, w, h)) << file;
            const int32_t handle = gx_vballoc(w, h);
            ASSERT_GT(handle, 0) << file;
            ASSERT_EQ(gx_vbopen(handle), 0);
            EXPECT_EQ(gx_showbmp(file, 0), 0) << file << " at " << bits;
            Gx_Deselect_Buffer();
            Gx_Free_Buffer(handle);
        }
    }
}

} // namespace
