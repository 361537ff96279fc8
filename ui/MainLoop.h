// The frame loop of the one window, the same for the real screen and the headless one: each pass takes
// the window's events, runs at most one timer tick and draws at most one frame.
//
//  - Ticks: one when now >= the next tick's time, which then moves on by 50 ms, or to now + 50 when the
//    loop fell more than a period behind (a stall gives one tick, not a burst: 20 a second at any refresh
//    rate). Ticks run whether or not the program is active.
//  - Frames: while the program is active and started; without a display that waits for its refresh, at
//    most one frame every 16 ms.
//  - An exception in an event, a tick or a frame is logged (TDlg_Main::Run_Guarded) and the next pass runs.
#pragma once

#include <cstdint>

class TDlg_Main;

constexpr uint64_t Tick_Period_Ms = 50;
constexpr uint64_t Frame_Period_Ms = 16;

class Main_Loop {
public:
    // The first tick comes one period after now.
    Main_Loop(TDlg_Main& window, uint64_t now);

    // One pass at the time now (milliseconds); false once the window has closed.
    bool pass(uint64_t now);
    // How long the real loop may sleep waiting for events before the next pass: until the next tick while
    // the program is inactive or not started, else until the next frame or tick, whichever is first.
    uint64_t Wait_Time(uint64_t now) const;

    uint64_t Next_Tick = 0;
    uint64_t Next_Frame = 0;

private:
    void Take_Events();
    TDlg_Main& Window;
};

// The real program's loop: passes at the system's time, sleeping between them, until the window closes.
void Run_Main_Loop(TDlg_Main& window);
