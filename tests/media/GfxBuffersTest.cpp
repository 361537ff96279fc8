// The buffer table, the mode and its depth retry, the active buffer, contexts and the mouse.
#include "tests/media/GfxFixture.h"

#include <vector>

namespace {

using TGfx_Buffers = TGfx_Test;

// The main window's start-up and shut-down calls, in their order, with 16 bits refused by the mode test.
TEST_F(TGfx_Buffers, StartUpAndShutDownSequence) {
    Display->Refused_Test_Depths = {16};
    int32_t depth = 16;
    while (gx_modetest(800, 600, depth) < 0 && depth < 32) depth += 8;
    ASSERT_EQ(depth, 24);
    EXPECT_EQ(Gx_Dd_Setup(800, 600, depth, 1), 0);
    gx_setdc(0);
    ASSERT_EQ(gx_vbinit(), 0);
    ASSERT_EQ(gx_vbopen(0), 0);
    Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
    Gx_Fill_Page();
    Gx_Flip();
    EXPECT_GE(gx_ddusage(), 0);
    EXPECT_EQ(Gx_DirectX_Version(), 7);
    gx_vbdepth(depth);
    ASSERT_EQ(gx_vbopen(0), 0);
    Gx_Select_DC(Gx_Get_DC());
    EXPECT_EQ(gx_mouseini(), 1);
    Gx_Mouse_Visible(0);
    EXPECT_FALSE(Display->Cursor_Visible);
    EXPECT_EQ(Display->Flip_Count, 1);
    EXPECT_EQ(Display->Last_Frame.Bits, 24);
    const int32_t sheet = gx_vballoc(54, 54);
    EXPECT_EQ(Gx_Buffer_Surface(sheet)->Bits, 24);

    Gx_Mouse_Visible(1);
    EXPECT_TRUE(Display->Cursor_Visible);
    Gx_Deselect_Buffer();
    Gx_Shutdown();
    EXPECT_EQ(Gx_Free_Buffer(sheet), 0); // the owners free their buffers afterwards: nothing is left to free
    EXPECT_EQ(Gx_Buffer_Surface(sheet), nullptr);
}

TEST_F(TGfx_Buffers, AllocationRoundsWidthTakesLowestSlotAndRefusesBadSizes) {
    Start(32);
    const int32_t first = gx_vballoc(53, 10);
    EXPECT_EQ(first, 1); // slot 0 is the back page
    ASSERT_EQ(gx_vbopen(first), 0);
    EXPECT_EQ(Gx_Max_X(), 55);
    EXPECT_EQ(Gx_Max_Y(), 9);
    EXPECT_EQ(Gx_Buffer_Surface(first)->Pitch, 56 * 4);
    EXPECT_EQ(Gx_Buffer_Surface(0)->Width, 800);

    struct TCase {
        int32_t Width, Height, Result;
    } cases[] = {{0, 10, -2},    {10, 0, -2},   {-4, 10, -2}, {16385, 1, -2},
                 {1, 16385, -2}, {16384, 1, 2}, {1, 16384, 3}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
        EXPECT_EQ(gx_vballoc(c.Width, c.Height), c.Result);
        if (c.Result < 0) {
            EXPECT_EQ(Gx_Dd_Status(), Gx_Status_Invalid_Params);
        }
    }
    ASSERT_EQ(Gx_Free_Buffer(2), 0);
    ASSERT_EQ(Gx_Free_Buffer(3), 0);

    // Fill the table: slots 2..255, then -1; a freed slot is the next one given.
    for (int32_t expected = 2; expected < 256; ++expected) ASSERT_EQ(gx_vballoc(8, 8), expected);
    EXPECT_EQ(gx_vballoc(8, 8), -1);
    EXPECT_EQ(gx_vbopen(255), 0);
    EXPECT_NE(Gx_Buffer_Surface(255), nullptr);
    Gx_Free_Buffer(0); // not the active one: released like any other
    EXPECT_EQ(Gx_Buffer_Surface(0), nullptr);
    EXPECT_EQ(gx_vballoc(8, 8), 0);
    EXPECT_EQ(gx_vbopen(0), 0);
    Gx_Free_Buffer(255);
    EXPECT_EQ(gx_vballoc(8, 8), 255);
    Gx_Free_Buffer(77);
    EXPECT_EQ(gx_vballoc(8, 8), 77);
}

TEST_F(TGfx_Buffers, NewBuffersAreBlackAtTheAllocationDepth) {
    Start(16);
    EXPECT_EQ(Gx_Buffer_Surface(0)->Bits, 16);
    for (int32_t bits : {8, 24, 32, 16, 15}) {
        gx_vbdepth(bits);
        const int32_t h = gx_vballoc(3, 2);
        ASSERT_GT(h, 0);
        const plat::TSurface& s = *Gx_Buffer_Surface(h);
        EXPECT_EQ(s.Bits, bits == 15 ? 8 : bits);
        EXPECT_EQ(s.Pitch, 4 * plat::Bytes_Per_Pixel(s.Bits));
        EXPECT_EQ(s.Pixels, std::vector<uint8_t>(std::size_t(s.Pitch) * 2, 0));
    }
}

TEST_F(TGfx_Buffers, FailedOpenLeavesNothingActiveSoNothingIsDrawn) {
    Start(32);
    const int32_t sheet = gx_vballoc(16, 16);
    for (int32_t bad : {256, -1, 5}) {
        SCOPED_TRACE(bad);
        ASSERT_EQ(gx_vbopen(sheet), 0);
        EXPECT_EQ(gx_vbopen(bad), bad == 5 ? -2 : -1);
        EXPECT_EQ(Gx_Active_Buffer(), -1);
        Gx_Set_Color(0x00FFFFFF);
        Gx_Fill_Rect(0, 15, 0, 15);
        Gx_Fill_Page();
        Gx_Set_Pixel(1, 1);
        const uint8_t bmp[] = {'B', 'M'}; // not even a whole header: only an active buffer would look
        EXPECT_EQ(gx_showbmp_data(bmp, 0), Gx_Bmp_Ok);
        EXPECT_EQ(Gx_Get_Pixel(1, 1), 0u);
        EXPECT_EQ(Raw(sheet, 1, 1), 0u);
        EXPECT_EQ(Raw(0, 1, 1), 0u);
    }
}

TEST_F(TGfx_Buffers, FreeingKeepsTheActiveBufferAndReleasesAllOnlyWhenNoneIsActive) {
    Start(32);
    const int32_t a = gx_vballoc(8, 8), b = gx_vballoc(8, 8);
    ASSERT_EQ(gx_vbopen(a), 0);
    EXPECT_EQ(Gx_Free_Buffer(a), 0);   // the active one: ignored
    EXPECT_EQ(Gx_Free_Buffer(256), 0); // out of the table: ignored
    EXPECT_EQ(Gx_Free_Buffer(-1), 0);  // a buffer is active: ignored
    EXPECT_NE(Gx_Buffer_Surface(a), nullptr);
    EXPECT_NE(Gx_Buffer_Surface(b), nullptr);
    EXPECT_NE(Gx_Buffer_Surface(0), nullptr);
    ASSERT_EQ(gx_vbopen(0), 0); // the page active: still refused
    EXPECT_EQ(Gx_Free_Buffer(-1), 0);
    EXPECT_NE(Gx_Buffer_Surface(a), nullptr);
    Gx_Deselect_Buffer();
    EXPECT_EQ(Gx_Free_Buffer(-1), 0);
    for (int32_t h : {0, a, b}) EXPECT_EQ(Gx_Buffer_Surface(h), nullptr);
}

TEST_F(TGfx_Buffers, ShutdownReleasesEverySlotSoLaterFreesAreHarmless) {
    Start(24);
    const int32_t a = gx_vballoc(8, 8);
    ASSERT_EQ(gx_vbopen(a), 0);
    Gx_Shutdown();
    EXPECT_EQ(Gx_Buffer_Surface(a), nullptr);
    EXPECT_EQ(Gx_Buffer_Surface(0), nullptr);
    EXPECT_EQ(Gx_Active_Buffer(), -1);
    EXPECT_FALSE(Display->Mode_Set);
    EXPECT_EQ(Gx_Free_Buffer(a), 0);
    EXPECT_EQ(gx_vballoc(8, 8), -2); // no device until the next gx_vbinit
}

TEST_F(TGfx_Buffers, InitRetriesOnceAtTheOtherDepth) {
    struct TCase {
        int32_t Bits;
        std::set<int32_t> Refused;
        int32_t Flags;
        int32_t Result;
        std::vector<int32_t> Requests;
        int32_t Final_Bits;
    } cases[] = {
        {24, {24}, 1, 0, {24, 32}, 32},
        {32, {32}, 1, 0, {32, 24}, 24},
        {16, {16}, 1, -1, {16, 40}, 0},
        {24, {24, 32}, 1, -1, {24, 32}, 0},
        {24, {24}, 1 | 16, -1, {24}, 0},     // the no-retry flag
        {16, {16}, 1 | 16, -1, {16, 40}, 0}, // the no-retry flag is cleared below 24 bits
        {0, {}, 1, -1, {}, 0},               // the windowed device is not provided
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Bits);
        TearDown();
        SetUp();
        Display->Refused_Set_Depths = c.Refused;
        Gx_Dd_Setup(800, 600, c.Bits, c.Flags);
        EXPECT_EQ(gx_vbinit(), c.Result);
        EXPECT_EQ(gx_ddusage(), c.Result);
        EXPECT_EQ(Display->Set_Mode_Requests, c.Requests);
        if (c.Result != 0) {
            EXPECT_NE(Gx_Dd_Status(), 0);
            EXPECT_EQ(Gx_Buffer_Surface(0), nullptr);
            continue;
        }
        EXPECT_EQ(Gx_DirectX_Version(), 7);
        EXPECT_EQ(Gx_Buffer_Surface(0)->Bits, c.Final_Bits);
        EXPECT_EQ(Display->Mode_Bits, c.Final_Bits);
        const int32_t h = gx_vballoc(4, 4); // the allocation depth follows the mode set
        EXPECT_EQ(Gx_Buffer_Surface(h)->Bits, c.Final_Bits);
    }
}

TEST_F(TGfx_Buffers, WithoutTheFlipChainThereIsNoPage) {
    Gx_Dd_Setup(800, 600, 32, 0);
    ASSERT_EQ(gx_vbinit(), 0);
    EXPECT_EQ(Gx_Buffer_Surface(0), nullptr);
    const int32_t h = gx_vballoc(4, 4);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(Gx_Buffer_Surface(h)->Bits, 32);
    ASSERT_EQ(gx_vbopen(h), 0);
    Put_Raw(h, 3, 3, 0x00FFFFFF);
    Gx_Fill_Page(); // the current colour starts black
    EXPECT_EQ(Raw(h, 3, 3), 0u);
    EXPECT_EQ(Gx_Flip(), 0);
    EXPECT_EQ(Display->Flip_Count, 0);
}

TEST_F(TGfx_Buffers, ModeTestAnswersFromTheBackend) {
    Display->Refused_Test_Depths = {16};
    EXPECT_EQ(gx_modetest(800, 600, 16), -1);
    EXPECT_EQ(gx_modetest(800, 600, 24), 0);
    EXPECT_EQ(gx_modetest(800, 600, 32), 0);
    EXPECT_EQ(gx_modetest(800, 600, 8), 0);
    EXPECT_EQ(gx_modetest(800, 600, 15), -1);
    Display->Desktop_Depth = 15;
    EXPECT_EQ(Gx_Desktop_Bits(), 16);
}

TEST_F(TGfx_Buffers, VideoMemoryIsABudgetAndFreeingGivesItBack) {
    Start(32);
    Display->Video_Budget = 0;
    gx_ddmemory(1);
    EXPECT_EQ(gx_vballoc(8, 8), -2);
    Display->Video_Budget = 2 * 8 * 8 * 4;
    const int32_t a = gx_vballoc(8, 8);
    EXPECT_GT(a, 0);
    EXPECT_GT(gx_vballoc(8, 8), 0);
    EXPECT_EQ(gx_vballoc(8, 8), -2);
    EXPECT_EQ(Gx_Dd_Status(), Gx_Status_Out_Of_Video_Memory);
    gx_ddmemory(0);
    EXPECT_GT(gx_vballoc(8, 8), 0); // system memory has no budget
    Gx_Free_Buffer(a);
    gx_ddmemory(1);
    EXPECT_EQ(gx_vballoc(8, 8), a);
}

TEST_F(TGfx_Buffers, FlipShowsSlotZeroOnce) {
    Start(16, true);
    EXPECT_EQ(Display->Flip_Count, 1); // the black first frame
    Gx_Set_Color(Gx_Rgb_To_Color(255, 0, 255));
    Gx_Set_Pixel(5, 7);
    Gx_Flip();
    EXPECT_EQ(Display->Flip_Count, 2);
    ASSERT_EQ(Display->Last_Frame.Bits, 16);
    EXPECT_TRUE(Display->Last_Frame.Layout_555);
    EXPECT_EQ(Display->Last_Frame.Pixels, Gx_Buffer_Surface(0)->Pixels);
    EXPECT_EQ(Gx_Restore_Surfaces(), 0);
}

TEST_F(TGfx_Buffers, LocksNestOnceAndContextsDrawOnlyWhileTheirBufferLives) {
    Start(32);
    EXPECT_EQ(Gx_Lock(), Surface(0).Pixels.data());
    EXPECT_EQ(Gx_Lock(), nullptr); // nested
    Gx_Unlock();
    EXPECT_NE(Gx_Lock(), nullptr);
    Gx_Unlock();
    // Releasing a context takes back a lock, but never below none.
    Gx_Surface_Release_DC(Gx_Surface_Get_DC());
    EXPECT_NE(Gx_Lock(), nullptr);
    Gx_Surface_Release_DC(Gx_Surface_Get_DC());
    EXPECT_NE(Gx_Lock(), nullptr);
    Gx_Unlock();

    const int32_t page = gx_vballoc(64, 32);
    ASSERT_EQ(gx_vbopen(page), 0);
    const TGx_DC dc = Gx_Surface_Get_DC();
    EXPECT_NE(dc, 0);
    Gx_Select_DC(dc);
    Gx_Set_Justify(-1, 1);
    Gx_Set_Color(0x00FFFFFF);
    Gx_Move_To(0, 0);
    Gx_Draw_Text("A");
    EXPECT_EQ(Raw(page, 0, 0), 0x00FFFFFFu);
    ASSERT_EQ(gx_vbopen(0), 0);
    Gx_Free_Buffer(page);
    EXPECT_EQ(gx_vballoc(64, 32), page); // the same slot, a new buffer: the old context must not reach it
    Gx_Move_To(0, 0);
    Gx_Draw_Text("A");
    EXPECT_EQ(Raw(page, 0, 0), 0u);
    EXPECT_EQ(Text->Calls.size(), 1u);

    Gx_Select_DC(Gx_Get_DC()); // the memory context measures but draws on no buffer
    Gx_Move_To(0, 20);
    Gx_Draw_Text("B");
    EXPECT_EQ(Text->Calls.size(), 1u);
    EXPECT_EQ(Gx_Get_X(), 7);
}

TEST_F(TGfx_Buffers, MouseScalesToTheActiveBuffer) {
    Start(32);
    const int32_t small = gx_vballoc(400, 300);
    struct TCase {
        int32_t Window_W, Window_H;
        double X, Y;
        int32_t Buffer;
        int32_t Client_Left;
        int32_t Expect_X, Expect_Y;
    } cases[] = {
        {800, 600, 0, 0, 0, 0, 0, 0},
        {800, 600, 799, 599, 0, 0, 799, 599},
        {800, 600, 800, 10, 0, 0, -1, -1},
        {800, 600, -0.5, 10, 0, 0, -1, -1},
        {1600, 1200, 799.9, 1199, 0, 0, 399, 599}, // scaled by two
        {1920, 1080, 239, 540, 0, 0, -1, -1},      // the bar left of the 1440-pixel-wide screen
        {1920, 1080, 240, 0, 0, 0, 0, 0},
        {1920, 1080, 1679, 1079, 0, 0, 799, 599},
        {800, 600, 799, 599, small, 0, 399, 299}, // truncating
        {800, 600, 3, 3, small, 0, 1, 1},
        {800, 1200, 10, 299, 0, 0, -1, -1}, // the bar above a screen 600 high
        {800, 1200, 10, 300, 0, 0, 10, 0},
        {0, 0, 10, 10, 0, 0, -1, -1},     // a window without area
        {800, 600, 10, 10, 0, 5, -1, -1}, // a client rectangle not at (0, 0)
    };
    ASSERT_EQ(gx_mouseini(), 1);
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Window_W << " " << c.X << "," << c.Y << " buffer " << c.Buffer);
        Display->Window_Width = c.Window_W;
        Display->Window_Height = c.Window_H;
        Display->Mouse_X = c.X;
        Display->Mouse_Y = c.Y;
        Display->Client_Left = c.Client_Left;
        gx_vbopen(c.Buffer);
        int32_t x = 0, y = 0;
        Gx_Mouse_Position(x, y);
        EXPECT_EQ(x, c.Expect_X);
        EXPECT_EQ(y, c.Expect_Y);
    }
}

TEST(Letterbox, NoMappingWithoutArea) {
    double x = 0, y = 0;
    const int32_t sizes[][4] = {
        {0, 600, 800, 600}, {800, 0, 800, 600}, {800, 600, 0, 600}, {800, 600, 800, 0}, {-1, 600, 800, 600}};
    for (const auto& s : sizes) EXPECT_FALSE(plat::Window_To_Logical(s[0], s[1], s[2], s[3], 5, 5, x, y));
    EXPECT_TRUE(plat::Window_To_Logical(1, 1, 1, 1, 5, 5, x, y));
    EXPECT_EQ(x, 5);
}

TEST_F(TGfx_Buffers, MouseOffOrHiddenCursor) {
    Start(32);
    Display->Has_Mouse = false;
    EXPECT_EQ(gx_mouseini(), -1);
    Display->Mouse_X = Display->Mouse_Y = 10;
    int32_t x = 0, y = 0;
    Gx_Mouse_Position(x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    Gx_Mouse_Visible(0);
    EXPECT_EQ(Display->Cursor_Changes, 0);

    Display->Has_Mouse = true;
    ASSERT_EQ(gx_mouseini(), 1);
    Gx_Mouse_Visible(1); // already visible: nothing asked
    Gx_Mouse_Visible(0);
    Gx_Mouse_Visible(0);
    EXPECT_EQ(Display->Cursor_Changes, 1);
    EXPECT_FALSE(Display->Cursor_Visible);
}

} // namespace
