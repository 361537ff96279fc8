// Every copy and fill at every depth, from pixels the test writes as raw bytes: 16 bits 5-6-5 and 5-5-5,
// 24 bits B, G, R and 32 bits 0x00RRGGBB.
#include "tests/media/GfxFixture.h"

#include <vector>

namespace {

struct TDepth {
    const char* Name;
    int32_t Bits;
    bool Layout_555;
    uint32_t Magenta;      // Gx_Rgb_To_Color (255, 0, 255)
    uint32_t Sentinel;     // a raw pixel no copy in these tests writes
    uint32_t Darkest;      // the least non-black raw pixel
    uint32_t Packs_To_Key; // 1: (7, 3, 7) packs to black at 5-6-5, (7, 7, 7) at 5-5-5
};

const TDepth Depths[] = {
    {"565", 16, false, 0xF81F, 0xBEEF, 0x0001, 1},
    {"555", 16, true, 0x7C1F, 0x3EEF, 0x0001, 1},
    {"24", 24, false, 0x00FF00FF, 0xABCDEF, 0x010000, 0},
    {"32", 32, false, 0x00FF00FF, 0x00ABCDEF, 0x00000100, 0},
};

void PrintTo(const TDepth& depth, std::ostream* out) {
    *out << depth.Name;
}

class TGfx_Blits : public TGfx_Test, public testing::WithParamInterface<TDepth> {
protected:
    void SetUp() override {
        TGfx_Test::SetUp();
        Start(GetParam().Bits, GetParam().Layout_555);
    }
    uint32_t Mask() const {
        return GetParam().Bits == 16 ? 0xFFFF : GetParam().Bits == 24 ? 0xFFFFFF : 0xFFFFFFFF;
    }
    // A different non-black raw value for every pixel, with every byte in use.
    uint32_t Pattern(int32_t x, int32_t y) const {
        return (uint32_t(x) * 3 + uint32_t(y) * 5 + 1) * 0x010203 & Mask();
    }
    int32_t Sheet_With_Pattern(int32_t w, int32_t h) {
        const int32_t sheet = gx_vballoc(w, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) Put_Raw(sheet, x, y, Pattern(x, y));
        return sheet;
    }
    void Fill_Raw(int32_t handle, uint32_t v) {
        for (int32_t y = 0; y < Surface(handle).Height; ++y)
            for (int32_t x = 0; x < Surface(handle).Width; ++x) Put_Raw(handle, x, y, v);
    }
};

TEST_P(TGfx_Blits, ColoursPackFromTheTopBits) {
    const TDepth& d = GetParam();
    EXPECT_EQ(Gx_Rgb_To_Color(255, 0, 255), d.Magenta);
    EXPECT_EQ(Gx_Rgb_To_Color(255, 255, 255), d.Bits == 16 ? (d.Layout_555 ? 0x7FFFu : 0xFFFFu) : 0xFFFFFFu);
    EXPECT_EQ(Gx_Rgb_To_Color(0x12, 0x34, 0x56),
              d.Bits == 16 ? (d.Layout_555 ? 0x08CAu : 0x11AAu) : 0x123456u);
    if (d.Packs_To_Key)
        EXPECT_EQ(Gx_Rgb_To_Color(7, d.Layout_555 ? 7 : 3, 7), 0u);
    else
        EXPECT_EQ(Gx_Rgb_To_Color(0, 0, 1), 1u);
}

TEST_P(TGfx_Blits, SetPixelFillAndGetPixelWriteTheRawFormat) {
    const TDepth& d = GetParam();
    Gx_Set_Color(d.Magenta);
    Gx_Set_Pixel(3, 4);
    Gx_Fill_Rect(10, 12, 20, 21);
    EXPECT_EQ(Raw(0, 3, 4), d.Magenta);
    for (int32_t y : {20, 21})
        for (int32_t x : {10, 11, 12}) EXPECT_EQ(Raw(0, x, y), d.Magenta) << x << "," << y;
    for (auto [x, y] : {std::pair{9, 20}, {13, 20}, {10, 19}, {10, 22}}) EXPECT_EQ(Raw(0, x, y), 0u);
    if (d.Bits == 24) {
        const uint8_t* p = At(0, 3, 4);
        EXPECT_EQ((std::vector<uint8_t>{p[0], p[1], p[2]}), (std::vector<uint8_t>{0xFF, 0x00, 0xFF}));
        Gx_Set_Color(0x123456);
        Gx_Set_Pixel(0, 0);
        p = At(0, 0, 0);
        EXPECT_EQ((std::vector<uint8_t>{p[0], p[1], p[2], p[3]}),
                  (std::vector<uint8_t>{0x56, 0x34, 0x12, 0}));
    }
    Put_Raw(0, 7, 7, d.Sentinel);
    EXPECT_EQ(Gx_Get_Pixel(7, 7), d.Sentinel);
    Gx_Set_Color(d.Magenta);
    Gx_Fill_Page();
    EXPECT_EQ(Raw(0, 799, 599), d.Magenta);
}

TEST_P(TGfx_Blits, OpaqueCopyPlacesTheBottomRowAtY) {
    const int32_t sheet = Sheet_With_Pattern(54, 54);
    for (int32_t mode : {1, 0}) {
        SCOPED_TRACE(mode);
        Fill_Raw(0, GetParam().Sentinel);
        Gx_Set_Blit_Mode(mode);
        EXPECT_EQ(Gx_Copy_Rect(0, 53, 0, 53, 100, 153, sheet, 0), 0);
        for (int32_t y = 99; y <= 154; ++y)
            for (int32_t x = 99; x <= 154; ++x) {
                const bool inside = x >= 100 && x <= 153 && y >= 100 && y <= 153;
                ASSERT_EQ(Raw(0, x, y), inside ? Pattern(x - 100, y - 100) : GetParam().Sentinel)
                    << x << "," << y;
            }
    }
}

TEST_P(TGfx_Blits, KeyedCopySkipsBlackAndClearsTheTopByte) {
    const TDepth& d = GetParam();
    const int32_t sheet = Sheet_With_Pattern(8, 1);
    Put_Raw(sheet, 1, 0, 0);
    Put_Raw(sheet, 2, 0, d.Darkest);
    Put_Raw(sheet, 3, 0, d.Bits == 32 ? 0xFF000000 : 0); // black with a set top byte is still the key
    if (d.Bits == 32) Put_Raw(sheet, 4, 0, 0xFF123456);
    Put_Raw(sheet, 6, 0, 0);
    // Eight pixels, and five (rows are taken several pixels at a time, the rest one by one).
    for (int32_t width : {8, 5})
        for (int32_t mode : {1, 0}) {
            SCOPED_TRACE(testing::Message() << width << " wide, mode " << mode);
            Fill_Raw(0, d.Sentinel);
            // Pixels around the key at 46 differ from it, so a key pixel kept from anywhere else shows.
            Put_Raw(0, 38, 30, d.Darkest);
            Put_Raw(0, 47, 30, d.Darkest);
            Gx_Set_Blit_Mode(mode);
            EXPECT_EQ(Gx_Copy_Rect_Transparent(0, width - 1, 0, 0, 40, 30, sheet, 0), 0);
            EXPECT_EQ(Raw(0, 40, 30), Pattern(0, 0) & (d.Bits == 32 ? 0x00FFFFFF : Mask()));
            EXPECT_EQ(Raw(0, 41, 30), d.Sentinel);
            EXPECT_EQ(Raw(0, 42, 30), d.Darkest);
            EXPECT_EQ(Raw(0, 43, 30), d.Sentinel);
            EXPECT_EQ(Raw(0, 44, 30), d.Bits == 32 ? 0x00123456 : Pattern(4, 0));
            EXPECT_EQ(Raw(0, 39, 30), d.Sentinel);
            EXPECT_EQ(Raw(0, 46, 30), d.Sentinel);
            EXPECT_EQ(Raw(0, 40 + width, 30), d.Sentinel);
        }
    // A colour that packs to black is transparent too.
    if (d.Packs_To_Key) {
        const int32_t dark = gx_vballoc(4, 1);
        ASSERT_EQ(gx_vbopen(dark), 0);
        Gx_Set_Color(Gx_Rgb_To_Color(7, 3, 7));
        Gx_Fill_Page();
        Put_Raw(0, 60, 30, d.Sentinel);
        Gx_Copy_Rect_Transparent(0, 0, 0, 0, 60, 30, dark, 0);
        EXPECT_EQ(Raw(0, 60, 30), d.Sentinel);
    }
}

TEST_P(TGfx_Blits, CopiesWithinOneBufferReadBeforeTheyWrite) {
    for (bool keyed : {false, true})
        for (auto [dx, dy] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {3, 2}}) {
            SCOPED_TRACE(testing::Message() << keyed << " " << dx << "," << dy);
            const int32_t sheet = Sheet_With_Pattern(16, 16);
            // Rows 4..11, columns 4..11 moved by (dx, dy).
            if (keyed)
                Gx_Copy_Rect_Transparent(4, 11, 4, 11, 4 + dx, 11 + dy, sheet, sheet);
            else
                Gx_Copy_Rect(4, 11, 4, 11, 4 + dx, 11 + dy, sheet, sheet);
            for (int32_t y = 4; y <= 11; ++y)
                for (int32_t x = 4; x <= 11; ++x) {
                    const uint32_t expected =
                        Pattern(x, y) & (keyed && GetParam().Bits == 32 ? 0x00FFFFFF : Mask());
                    ASSERT_EQ(Raw(sheet, x + dx, y + dy), expected) << x << "," << y;
                }
            Gx_Free_Buffer(sheet);
        }
}

TEST_P(TGfx_Blits, WholeBufferCopyNeedsTheSameRowsAndHeight) {
    const int32_t a = Sheet_With_Pattern(800, 600);
    EXPECT_EQ(Gx_Copy_Buffer(a, 0), 0);
    EXPECT_EQ(Surface(0).Pixels, Surface(a).Pixels);
    const int32_t narrow = Sheet_With_Pattern(796, 600);
    Fill_Raw(0, GetParam().Sentinel);
    EXPECT_EQ(Gx_Copy_Buffer(narrow, 0), 0);
    EXPECT_EQ(Gx_Copy_Buffer(a, 300), 0); // no such buffer
    EXPECT_EQ(Raw(0, 0, 0), GetParam().Sentinel);
}

TEST_P(TGfx_Blits, TextColourWidensEachField) {
    const TDepth& d = GetParam();
    struct TCase {
        uint32_t Colour, Rgb;
    };
    const std::vector<TCase> cases =
        d.Bits != 16   ? std::vector<TCase>{{0xFF123456, 0x123456}, {0x00FFFFFF, 0xFFFFFF}}
        : d.Layout_555 ? std::vector<TCase>{{0x7FFF, 0xFFFFFF},
                                            {0xFFFF, 0xFFFFFF},
                                            {0x0421, 0x080808},
                                            {0x7C00, 0xFF0000}}
                       : std::vector<TCase>{
                             {0xFFFF, 0xFFFFFF}, {0x0841, 0x080808}, {0x07E0, 0x00FF00}, {0xF800, 0xFF0000}};
    const TGx_DC dc = Gx_Surface_Get_DC();
    Gx_Select_DC(dc);
    for (const TCase& c : cases) {
        Gx_Set_Color(c.Colour);
        Gx_Move_To(0, 100);
        Gx_Draw_Text("x");
        ASSERT_FALSE(Text->Calls.empty());
        EXPECT_EQ(Text->Calls.back().Rgb, c.Rgb) << std::hex << c.Colour;
    }
    EXPECT_EQ(Text->Calls.size(), cases.size());
}

INSTANTIATE_TEST_SUITE_P(Depths, TGfx_Blits, testing::ValuesIn(Depths),
                         [](const testing::TestParamInfo<TDepth>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
