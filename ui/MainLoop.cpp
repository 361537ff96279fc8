#include "ui/MainLoop.h"

#include "core/Clock.h"
#include "platform/AudioBackend.h"
#include "platform/DisplayBackend.h"
#include "ui/DlgMain.h"

#include <algorithm>

Main_Loop::Main_Loop(TDlg_Main& window, uint64_t now)
    : Next_Tick(now + Tick_Period_Ms), Next_Frame(now), Window(window) {}

void Main_Loop::Take_Events() {
    // The end of a music play is queued by the sound device's thread; it is handled here, on this one.
    Window.Run_Guarded(TBoundary::Event, [] { plat::Audio_Backend()->Route_Music_Events(); });
    plat::TDisplay_Backend& backend = plat::Display_Backend();
    plat::TInput_Event e;
    while (!Window.Is_Closed() && backend.Next_Event(e)) {
        Window.Run_Guarded(TBoundary::Event, [&] {
            switch (e.Kind) {
            case plat::TInput_Kind::Mouse_Move: Window.FormMouseMove(e.Shift, e.X, e.Y); break;
            case plat::TInput_Kind::Mouse_Down: Window.FormMouseDown(e.Button, e.Shift, e.X, e.Y); break;
            case plat::TInput_Kind::Mouse_Up: Window.FormMouseUp(e.Button, e.Shift, e.X, e.Y); break;
            case plat::TInput_Kind::Key_Down: {
                uint16_t key = e.Key;
                Window.FormKeyDown(key, e.Shift);
                break;
            }
            case plat::TInput_Kind::Activate: Window.WMActivateApp(true); break;
            case plat::TInput_Kind::Deactivate: Window.WMActivateApp(false); break;
            case plat::TInput_Kind::Paint: Window.FormPaint(); break;
            case plat::TInput_Kind::Quit: Window.Close(); break;
            }
        });
    }
}

bool Main_Loop::pass(uint64_t now) {
    Take_Events();
    if (Window.Is_Closed()) return false;
    if (Window.Timer_Enabled && now >= Next_Tick) {
        Window.Run_Guarded(TBoundary::Tick, [this] { Window.tmr_moveTimer(); });
        Next_Tick = now - Next_Tick > Tick_Period_Ms ? now + Tick_Period_Ms : Next_Tick + Tick_Period_Ms;
    }
    if (Window.Is_Closed()) return false;
    if (Window.Application_Active && Window.Started &&
        (plat::Display_Backend().Synchronised() || now >= Next_Frame)) {
        Next_Frame = now + Frame_Period_Ms;
        Window.Run_Guarded(TBoundary::Frame, [this] { Window.Draw_Screen(); });
    }
    return !Window.Is_Closed();
}

uint64_t Main_Loop::Wait_Time(uint64_t now) const {
    const uint64_t tick_wait = Next_Tick > now ? Next_Tick - now : 0;
    if (!Window.Application_Active || !Window.Started) return tick_wait;
    if (plat::Display_Backend().Synchronised()) return 0;
    const uint64_t frame_wait = Next_Frame > now ? Next_Frame - now : 0;
    return std::min(tick_wait, frame_wait);
}

void Run_Main_Loop(TDlg_Main& window) {
    Main_Loop loop(window, Get_Ticks_64());
    while (loop.pass(Get_Ticks_64()))
        plat::Display_Backend().Wait_Event(static_cast<int32_t>(loop.Wait_Time(Get_Ticks_64())));
}
