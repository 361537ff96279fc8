// The frame loop and the frame: ticks at 50 ms without catching up, frames only while active, faults at
// each boundary logged once a second while the game goes on, the held item at the pointer, the black page
// while drawing is suppressed, the drawing-speed overlay, and the root's Kill closing the window.
#include "tests/ui/MainWindowFixture.h"

#include "core/Clock.h"
#include "core/DisplaySeam.h"
#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "platform/DisplayBackend.h"
#include "ui/DlgMain.h"
#include "ui/MainLoop.h"

#include <algorithm>

namespace {

int32_t Count_Starting(const std::vector<std::string>& lines, const std::string& prefix) {
    return static_cast<int32_t>(std::count_if(lines.begin(), lines.end(),
                                              [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

TEST_F(TMain_Window_Test, TheTickCounterRunsOneToTwentyThenZeroAtRateTwenty) {
    ASSERT_NE(Start_Recording(), nullptr);
    Game->run(1100);
    std::vector<int32_t> expected;
    for (int32_t i = 1; i <= 20; ++i) expected.push_back(i);
    expected.insert(expected.end(), {0, 1});
    EXPECT_EQ(Root->Counters, expected);
    EXPECT_EQ(Root->Rate, 20.0);
}

TEST_F(TMain_Window_Test, OneTickPerPassAndNoCatchUpAfterAStall) {
    ASSERT_NE(Start_Recording(), nullptr);
    const uint64_t t0 = Game->now();
    Main_Loop loop(*Game->window(), t0);
    // Times of successive passes and the ticks counted so far; the next tick's time after each.
    struct TStep {
        uint64_t At;
        size_t Ticks;
        uint64_t Next;
    };
    const std::vector<TStep> steps = {
        {t0 + 49, 0, t0 + 50},
        {t0 + 50, 1, t0 + 100},
        {t0 + 60, 1, t0 + 100},
        // Exactly one period late keeps the rhythm; more than a period late starts again from now.
        {t0 + 150, 2, t0 + 150},
        {t0 + 201, 3, t0 + 251},
        {t0 + 251, 4, t0 + 301},
        {t0 + 2300, 5, t0 + 2350},
        {t0 + 2310, 5, t0 + 2350},
        {t0 + 2350, 6, t0 + 2400},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.At - t0);
        EXPECT_TRUE(loop.pass(s.At));
        EXPECT_EQ(Root->Counters.size(), s.Ticks);
        EXPECT_EQ(loop.Next_Tick, s.Next);
    }
}

TEST_F(TMain_Window_Test, TicksRunWhileInactiveFramesDoNotAndTheLoopSleepsUntilTheNextTick) {
    ASSERT_NE(Start_Recording(), nullptr);
    Game->run(100);
    const int32_t frames = Root->Frames;
    EXPECT_GT(frames, 0);
    Game->display().Events.push_back({plat::TInput_Kind::Deactivate});
    Game->run(500);
    EXPECT_EQ(Root->Frames, frames);
    EXPECT_EQ(Root->Counters.size(), 12u);
    Main_Loop loop(*Game->window(), Game->now());
    EXPECT_EQ(loop.Wait_Time(Game->now() + 20), 30u);
    // Activation draws at once and the frames go on.
    Game->display().Events.push_back({plat::TInput_Kind::Activate});
    Game->run(10);
    EXPECT_EQ(Root->Frames, frames + 2);
    EXPECT_EQ(loop.Wait_Time(Game->now()), 0u); // a frame is due
    Game->run(1000);
    // Without a display that waits for its refresh, about 60 frames a second at the most.
    EXPECT_GE(Root->Frames - frames, 45);
    EXPECT_LE(Root->Frames - frames, 64);
}

TEST_F(TMain_Window_Test, FaultsInTicksFramesAndHandlersAreLoggedOnceASecondAndTheGameGoesOn) {
    ASSERT_NE(Start_Recording(), nullptr);
    Root->Throw_In_Tick = Root->Throw_In_Frame = Root->Throw_In_Click = true;
    Game->run(2000);
    Game->click(100, 100);
    Game->click(110, 100);
    EXPECT_EQ(Root->Counters.size(), 40u);
    EXPECT_GE(Root->Frames, 90);
    EXPECT_EQ(Count_Starting(Game->log(), "General: EXCEPTION in tick: tick fault"), 2);
    EXPECT_EQ(Count_Starting(Game->log(), "General: EXCEPTION in frame: frame fault"), 2);
    EXPECT_EQ(Count_Starting(Game->log(), "General: EXCEPTION in event: click fault"), 1);
    // The release after the failed press still came through.
    EXPECT_EQ(Root->Events.back(), "up 0 0 110 100");
    EXPECT_FALSE(Game->closed());
}

TEST_F(TMain_Window_Test, InputReachesTheRootAsTheWindowHeardIt) {
    ASSERT_NE(Start_Recording(), nullptr);
    Game->press(30, 40, 1);
    Game->release(31, 41, 1);
    Game->key(27, 4);
    EXPECT_TRUE(Game->type("a!"));
    EXPECT_FALSE(Game->type("й"));
    EXPECT_EQ(Root->Events, (std::vector<std::string>{"down 1 16 30 40", "up 1 0 31 41", "key 27 4",
                                                      "key 65 0", "key 49 1"}));
}

TEST_F(TMain_Window_Test, TheHeldItemHangsAtThePointerOnlyAwayFromTheEdge) {
    ASSERT_TRUE(Game->start());
    TItem item;
    item.Set_Picture_Index(7);
    const uint16_t id = Current_Map()->Item_List.Add(&item);
    Set_Held_Item_Id(id);
    auto sink = std::make_shared<TRecording_Display_Sink>();
    std::shared_ptr<TDisplay_Sink> previous = Install_Display_Sink(sink);
    struct TCase {
        int32_t X, Y;
        std::vector<std::string> Calls;
    };
    const std::vector<TCase> cases = {
        {5, 5, {}},
        {15, 300, {}},
        {16, 16, {"Item(0, 0, 0, 0, 7)"}},
        {783, 583, {"Item(0, 767, 567, 0, 7)"}},
        {784, 300, {}},
        {400, 584, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
        Game->move(c.X, c.Y);
        sink->Calls.clear();
        Game->frame();
        EXPECT_EQ(sink->Calls, c.Calls);
    }
    // While the progress box hides the pointer, nothing hangs there.
    Display_Object()->Pointer_Hidden = 1;
    Game->move(100, 100);
    sink->Calls.clear();
    Game->frame();
    EXPECT_TRUE(sink->Calls.empty());
    Install_Display_Sink(previous);
    Set_Held_Item_Id(0);
}

// Draws its page white, so a black page shows the frame did not draw the tree.
class TWhite_Root : public TDC_Main {
public:
    void Handle_DrawPage(int32_t page) override {
        gx_vbopen(page);
        Gx_Set_Color(Gx_Rgb_To_Color(255, 255, 255));
        Gx_Fill_Page();
    }
};

TEST_F(TMain_Window_Test, SuppressedDrawingShowsABlackPage) {
    Game->Root_Factory = [] { return std::make_unique<TWhite_Root>(); };
    ASSERT_TRUE(Game->start());
    Game->move(400, 300);
    for (const uint8_t suppressed : {0, 1, 0}) {
        Display_Object()->Drawing_Suppressed = suppressed;
        const int32_t flips = Game->display().Flip_Count;
        Game->frame();
        EXPECT_EQ(Game->display().Flip_Count, flips + 1);
        gx_vbopen(0);
        EXPECT_EQ(Gx_Get_Pixel(700, 500),
                  suppressed ? Gx_Rgb_To_Color(0, 0, 0) : Gx_Rgb_To_Color(255, 255, 255));
    }
}

TEST_F(TMain_Window_Test, TheSpeedOverlayAveragesBlocksOfFiftyFrames) {
    ASSERT_TRUE(Game->start());
    Machine_Options().Show_Drawing_Speed = true;
    auto overlay_texts = [&] {
        std::vector<std::string> texts;
        for (const TDrawn_Text& t : Game->texts())
            if (t.Drawn.X == 10 && (t.Drawn.Y == 250 || t.Drawn.Y == 260)) texts.push_back(t.Drawn.Text);
        return texts;
    };
    // 8 ms a frame: the first block sums 49 intervals and divides by 50 (392 / 50 = 7).
    for (int32_t frame = 1; frame <= 49; ++frame) {
        Advance_Manual_Clock(8);
        Game->frame();
    }
    const std::vector<std::string> first = overlay_texts();
    EXPECT_EQ(first, std::vector<std::string>(49, "0 ms"));
    Advance_Manual_Clock(8);
    Game->frame();
    EXPECT_EQ(overlay_texts().size(), 51u);
    EXPECT_EQ(overlay_texts()[49], "7 ms");
    EXPECT_EQ(overlay_texts()[50], "142 FPS");
    const TDrawn_Text& last = Game->texts().back();
    EXPECT_EQ(last.Drawn.Style, 1);
    EXPECT_EQ(last.Drawn.Colour, 0xC8C8C8u);
    EXPECT_EQ(last.Drawn.Justify_H, 1);
    EXPECT_EQ(last.Drawn.Justify_V, 5);
    EXPECT_EQ(last.Frame, Game->display().Flip_Count);
    // The next block sums the 50th frame's interval and 49 of 10 ms: 498 / 50.
    for (int32_t frame = 1; frame <= 50; ++frame) {
        Advance_Manual_Clock(10);
        Game->frame();
    }
    EXPECT_EQ(overlay_texts()[overlay_texts().size() - 2], "9 ms");
    EXPECT_EQ(overlay_texts().back(), "111 FPS");
}

TEST_F(TMain_Window_Test, TheRootsKillClosesTheWindowAtTheNextFrame) {
    ASSERT_NE(Start_Recording(), nullptr);
    Game->run(100);
    Root->Set_Kill_Object(1);
    const int32_t flips = Game->display().Flip_Count;
    Game->run(100);
    EXPECT_TRUE(Game->closed());
    EXPECT_EQ(Game->window(), nullptr);
    EXPECT_EQ(Game->display().Flip_Count, flips);
    EXPECT_EQ(Game->log().back(), "DlgMain: TDlg_Main.FormDestroy - End");
}

} // namespace
