// Copies, fills and pixels clip to their buffers and keep every pixel where it would land unclipped;
// nothing outside the overlap changes (and under AddressSanitizer nothing outside a buffer is touched).
#include "tests/media/GfxFixture.h"

#include <climits>

namespace {

constexpr uint32_t Sentinel = 0x5A5A5A5A;

struct TRegion {
    int32_t X0, X1, Y0, Y1; // inclusive; X0 > X1 for none
    bool Contains(int32_t x, int32_t y) const { return x >= X0 && x <= X1 && y >= Y0 && y <= Y1; }
};
constexpr TRegion None{1, 0, 1, 0};

class TGfx_Clipping : public TGfx_Test, public testing::WithParamInterface<int32_t> {
protected:
    void SetUp() override {
        TGfx_Test::SetUp();
        Start(GetParam());
        Source = gx_vballoc(16, 16);
        Target = gx_vballoc(32, 32);
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 16; ++x) Put_Raw(Source, x, y, Pattern(x, y));
    }
    uint32_t Mask() const { return GetParam() == 16 ? 0xFFFF : 0x00FFFFFF; }
    uint32_t Pattern(int32_t x, int32_t y) const { return (uint32_t(x) + 1) << 8 | (uint32_t(y) + 1); }
    void Reset_Target() {
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 32; ++x) Put_Raw(Target, x, y, Sentinel & Mask());
    }
    int32_t Source = 0, Target = 0;
};

TEST_P(TGfx_Clipping, CopiesDrawOnlyTheOverlap) {
    struct TCase {
        const char* Name;
        int32_t X1, X2, Y1, Y2, X, Y;
        TRegion Drawn;
    } cases[] = {
        {"inside", 0, 15, 0, 15, 8, 23, {8, 23, 8, 23}},
        {"past the right", 0, 15, 0, 15, 24, 23, {24, 31, 8, 23}},
        {"past the top", 0, 15, 0, 15, 0, 7, {0, 15, 0, 7}},
        {"past left and bottom", 0, 15, 0, 15, -8, 35, {0, 7, 20, 31}},
        {"source past its buffer", 8, 23, 8, 23, 0, 15, {0, 7, 0, 7}},
        {"negative cell", -54, -1, -54, -1, 0, 53, None},
        {"partly negative cell", -4, 3, -4, 3, 10, 17, {14, 17, 14, 17}},
        {"right of the target", 0, 15, 0, 15, 32, 15, None},
        {"above the target", 0, 15, 0, 15, 0, -1, None},
        {"left of the target", 0, 15, 0, 15, -16, 15, None},
        {"reversed columns", 15, 0, 0, 15, 0, 15, None},
        {"reversed rows", 0, 15, 15, 0, 0, 15, None},
        {"extreme columns", INT_MIN, INT_MAX, 0, 0, 0, 0, None},
        {"extreme rows", 0, 0, INT_MIN, INT_MAX, 0, 0, None},
        {"extreme target", 0, 15, 0, 15, INT_MAX, INT_MAX, None},
        {"extreme negative target", 0, 15, 0, 15, INT_MIN, INT_MIN, None},
    };
    for (bool keyed : {false, true})
        for (const TCase& c : cases) {
            SCOPED_TRACE(testing::Message() << c.Name << (keyed ? " keyed" : ""));
            Reset_Target();
            if (keyed)
                Gx_Copy_Rect_Transparent(c.X1, c.X2, c.Y1, c.Y2, c.X, c.Y, Source, Target);
            else
                Gx_Copy_Rect(c.X1, c.X2, c.Y1, c.Y2, c.X, c.Y, Source, Target);
            const int64_t top = int64_t{c.Y} - (int64_t{c.Y2} - c.Y1);
            for (int32_t y = 0; y < 32; ++y)
                for (int32_t x = 0; x < 32; ++x) {
                    const uint32_t expected =
                        c.Drawn.Contains(x, y)
                            ? Pattern(int32_t(x - int64_t{c.X} + c.X1), int32_t(y - top + c.Y1))
                            : Sentinel & Mask();
                    ASSERT_EQ(Raw(Target, x, y), expected) << x << "," << y;
                }
        }
}

TEST_P(TGfx_Clipping, FillsAndPixelsStayInside) {
    struct TCase {
        int32_t X1, X2, Y1, Y2;
        TRegion Drawn;
    } cases[] = {
        {-5, 3, -5, 3, {0, 3, 0, 3}}, {30, 40, 30, 40, {30, 31, 30, 31}},          {5, 4, 0, 0, None},
        {0, 0, 9, 8, None},           {INT_MIN, INT_MAX, 31, 31, {0, 31, 31, 31}}, {32, 40, 0, 31, None},
        {0, 31, -9, -1, None},
    };
    ASSERT_EQ(gx_vbopen(Target), 0);
    Gx_Set_Color(Gx_Rgb_To_Color(255, 255, 255));
    const uint32_t white = Gx_Rgb_To_Color(255, 255, 255);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.X1 << ".." << c.X2 << " x " << c.Y1 << ".." << c.Y2);
        Reset_Target();
        Gx_Fill_Rect(c.X1, c.X2, c.Y1, c.Y2);
        for (int32_t y = 0; y < 32; ++y)
            for (int32_t x = 0; x < 32; ++x)
                ASSERT_EQ(Raw(Target, x, y), c.Drawn.Contains(x, y) ? white : Sentinel & Mask())
                    << x << "," << y;
    }
    Reset_Target();
    for (auto [x, y] : {std::pair{-1, 0}, {32, 0}, {0, 32}, {0, -1}, {INT_MIN, INT_MAX}}) {
        Gx_Set_Pixel(x, y);
        EXPECT_EQ(Gx_Get_Pixel(x, y), 0u);
    }
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 32; ++x) ASSERT_EQ(Raw(Target, x, y), Sentinel & Mask());
}

INSTANTIATE_TEST_SUITE_P(Depths, TGfx_Clipping, testing::Values(16, 32));

TEST_F(TGfx_Test, CopiesTakeThePixelSizeOfTheTarget) {
    Start(32);
    gx_vbdepth(16);
    const int32_t words = gx_vballoc(16, 1); // 32 bytes a row: 8 pixels of the 32-bit target
    for (int32_t x = 0; x < 16; ++x) Put_Raw(words, x, 0, 0x1100u + uint32_t(x));
    Gx_Copy_Rect(0, 15, 0, 0, 0, 0, words, 0);
    for (int32_t x = 0; x < 8; ++x)
        EXPECT_EQ(Raw(0, x, 0), (0x1100u + 2 * x) | (0x1100u + 2 * x + 1) << 16) << x;
    EXPECT_EQ(Raw(0, 8, 0), 0u); // past the source's row
}

} // namespace
