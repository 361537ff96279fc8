// The program's one window: start-up (which creates every global object and the root control), the frame
// that draws the control tree and shows the page, the 50 ms timer event, the input handed to the root
// control, and shut-down in order. The frame loop (Main_Loop) calls it; the real and headless backends
// differ only in the platform's display backend behind it.
//
// Messages from anywhere in the program reach the root control while it exists; otherwise they are logged,
// written to standard error and shown in a platform message box.
#pragma once

#include "core/SaveStream.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TDC_Main;
class TMessage_Sink;

// Where an exception was caught; each is logged at most once a second.
enum class TBoundary { Tick, Frame, Event, Refresh, Count };

class TDlg_Main {
public:
    TDlg_Main();
    ~TDlg_Main();
    TDlg_Main(const TDlg_Main&) = delete;
    TDlg_Main& operator=(const TDlg_Main&) = delete;

    // Start-up in its thirty steps; false when it failed and the window has closed (shut-down still runs).
    // An exception is logged, shown in a platform box and closes the window.
    bool FormCreate();
    // Shut-down in order, freeing only what start-up made; runs once.
    void FormDestroy();

    // One frame, or closing the window when the root control has set its Kill.
    void Draw_Screen();
    void FormPaint() { Draw_Screen(); }
    void WMActivateApp(bool active);
    void FormMouseMove(int32_t shift, int32_t x, int32_t y);
    void FormMouseDown(int32_t button, int32_t shift, int32_t x, int32_t y);
    void FormMouseUp(int32_t button, int32_t shift, int32_t x, int32_t y);
    void FormKeyDown(uint16_t& key, int32_t shift);
    // One timer event: the counter runs 1..20, 0, ... and the root control ticks at 20 a second.
    void tmr_moveTimer();

    void Show_Message(const std::string& caption, const std::string& text);
    void Show_Error_List(const TString_List& list, const std::string& heading, const std::string& file_name);
    // One frame at once, dispatching no input and no tick: long work shows its progress through it.
    void Refresh_Screen();
    void Set_Actions_Disabled(bool flag);
    TDC_Main* Get_Main_Window() const { return Root.get(); }

    // Runs the work; an exception is logged under "General" (at most once a second per boundary) and the
    // program goes on.
    void Run_Guarded(TBoundary boundary, const std::function<void()>& work);

    void Close() { Closed = true; }
    bool Is_Closed() const { return Closed; }

    // Makes the root control at start-up; the game screen's controller installs its own class here.
    std::function<std::unique_ptr<TDC_Main>()> Root_Factory;

    // ---- State ----
    bool Application_Active = false;
    bool Started = false;
    bool Timer_Enabled = false;
    int32_t Tick_Counter = 0;
    int32_t Workspace = 0;
    int32_t Frame_Count = 0;
    int32_t Frame_Time = 0;
    int32_t Time_Sum = 0;
    uint32_t Last_Time = 0;

private:
    bool Test_Modes(int32_t& depth);
    bool Set_Up_Graphics(int32_t depth);
    void Create_Objects();
    void Draw_Held_Item_Or_Cursor();
    void Draw_Speed_Overlay();
    void Fail(const std::string& text);

    std::unique_ptr<TDC_Main> Root;
    bool Closed = false;
    bool Destroyed = false;
    // What start-up made, so shut-down frees only that.
    bool Made_Primary = false, Made_Display = false, Made_Global = false, Made_Resources = false;
    std::array<int64_t, static_cast<size_t>(TBoundary::Count)> Last_Logged{};
    std::array<bool, static_cast<size_t>(TBoundary::Count)> Logged_Once{};
};

// The one window while it exists (null before and after).
TDlg_Main* Main_Form();
// The program-wide routines of the window; without a window a frame is not drawn and nothing is paused.
void Refresh_Screen();
void Set_Actions_Disabled(bool flag);
TDC_Main* Get_Main_Window();
// The message sink of the program: the root control's boxes while it exists, else the log, standard error
// and a platform box. The window installs it; it stays after the window has gone.
std::shared_ptr<TMessage_Sink> Make_Window_Message_Sink();
// Set at start-up; the intro starts the sound system and its music once and clears it.
bool& Sound_Start_Pending();
