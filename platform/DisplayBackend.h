// The screen behind the graphics library: the full-screen mode, showing a finished page, the mouse and
// the budget of "video memory". The real backend is one SDL2 window scaled to the logical screen; the
// headless one records what it is asked and takes its answers from the test.
#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace plat {

// What the window hears, already in the program's terms: buttons left 0, right 1, middle 2; the shift state
// as bits (Shift key 1, Alt 2, Ctrl 4, left button 8, right button 16, middle button 32, double click 64);
// keys as virtual-key codes; positions on the logical screen.
enum class TInput_Kind {
    Mouse_Move,
    Mouse_Down,
    Mouse_Up,
    Key_Down,
    Activate,   // the program became the active one
    Deactivate, // it lost the focus
    Paint,      // the window must be drawn again
    Quit,       // the window is to close
};

constexpr int32_t Shift_Key = 1;
constexpr int32_t Shift_Alt = 2;
constexpr int32_t Shift_Ctrl = 4;
constexpr int32_t Shift_Left = 8;
constexpr int32_t Shift_Right = 16;
constexpr int32_t Shift_Middle = 32;
constexpr int32_t Shift_Double = 64;

constexpr int32_t Button_Left = 0;
constexpr int32_t Button_Right = 1;
constexpr int32_t Button_Middle = 2;

struct TInput_Event {
    TInput_Kind Kind = TInput_Kind::Mouse_Move;
    int32_t Button = 0;
    int32_t Shift = 0;
    int32_t X = 0, Y = 0;
    uint16_t Key = 0;
    bool operator==(const TInput_Event&) const = default;
};

// The client rectangle in the coordinates mouse positions are given in.
struct TClient_Rect {
    int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};

class TDisplay_Backend {
public:
    virtual ~TDisplay_Backend() = default;

    // Colour depth of the desktop (15 reported as 16).
    virtual int32_t Desktop_Bits() = 0;
    // 0 when the full-screen mode can be set, negative when it cannot. Answers at once; nothing changes.
    virtual int32_t Test_Mode(int32_t width, int32_t height, int32_t bits) = 0;
    // Makes the window show a width x height screen of that depth: 0, or a negative failure code.
    virtual int32_t Set_Mode(int32_t width, int32_t height, int32_t bits) = 0;
    // The 16-bit layout of the mode set: 5-5-5 instead of 5-6-5.
    virtual bool Layout_555() = 0;
    // Shows the page (the mode's size and depth) once.
    virtual void Present(const TSurface& page) = 0;
    // Ends the mode; the window stays until the backend goes.
    virtual void Close_Mode() = 0;

    virtual bool Mouse_Present() = 0;
    virtual void Show_Cursor(bool visible) = 0;
    // The system's busy pointer over the window while a file is read or written (the game draws its own
    // pointer only between frames); off puts back the pointer Show_Cursor chose.
    virtual void Set_Busy_Cursor(bool busy) = 0;
    // The pointer in client coordinates (it may lie outside the client rectangle); false when unknown.
    virtual bool Mouse_Position(int32_t& x, int32_t& y) = 0;
    virtual TClient_Rect Client_Rect() = 0;

    // Bytes of buffers that may be placed in video memory; negative when there is no limit.
    virtual int64_t Video_Memory_Budget() = 0;

    // ---- The window's input ----
    // The next event of the window, without waiting; false when none is queued.
    virtual bool Next_Event(TInput_Event&) { return false; }
    // Sleeps until an event is queued or the time has passed (the events stay queued).
    virtual void Wait_Event(int32_t) {}
    // Whether showing a page waits for the display's refresh, so the frame loop needs no cap of its own.
    virtual bool Synchronised() { return false; }
    // A message box with an OK button of the platform's own, shown over the game and waited for.
    virtual void Message_Box(const std::string&, const std::string&) {}
};

// The screen-space mapping of a logical screen scaled into a window with bars at two sides: the largest
// scale that fits, centred. False when the window or screen has no area.
bool Window_To_Logical(int32_t window_width, int32_t window_height, int32_t logical_width,
                       int32_t logical_height, double x, double y, double& logical_x, double& logical_y);

// Headless: every mode at 8, 16, 24 and 32 bits is available unless the test refuses its depth; the mouse is
// where the test puts it, in window coordinates; presented pages are counted and the last one kept.
class THeadless_Display : public TDisplay_Backend {
public:
    int32_t Desktop_Bits() override { return Desktop_Depth; }
    int32_t Test_Mode(int32_t width, int32_t height, int32_t bits) override;
    int32_t Set_Mode(int32_t width, int32_t height, int32_t bits) override;
    bool Layout_555() override { return Use_555; }
    void Present(const TSurface& page) override;
    void Close_Mode() override { Mode_Set = false; }
    bool Mouse_Present() override { return Has_Mouse; }
    void Show_Cursor(bool visible) override;
    void Set_Busy_Cursor(bool busy) override { Busy_Cursor_Calls.push_back(busy); }
    bool Mouse_Position(int32_t& x, int32_t& y) override;
    TClient_Rect Client_Rect() override;
    int64_t Video_Memory_Budget() override { return Video_Budget; }
    bool Next_Event(TInput_Event& event) override;
    void Message_Box(const std::string& caption, const std::string& text) override;

    // Set by the test.
    std::deque<TInput_Event> Events; // delivered in order by Next_Event
    std::set<int32_t> Refused_Test_Depths;
    std::set<int32_t> Refused_Set_Depths;
    bool Use_555 = false;
    int32_t Desktop_Depth = 32;
    bool Has_Mouse = true;
    int32_t Window_Width = 800, Window_Height = 600; // the window the logical screen is scaled into
    double Mouse_X = 0, Mouse_Y = 0;                 // window coordinates
    int32_t Client_Left = 0, Client_Top = 0;
    int64_t Video_Budget = -1;

    // Recorded.
    bool Mode_Set = false;
    int32_t Mode_Width = 0, Mode_Height = 0, Mode_Bits = 0;
    std::vector<int32_t> Set_Mode_Requests; // the depth of every Set_Mode, in order
    int32_t Flip_Count = 0;
    TSurface Last_Frame;
    bool Cursor_Visible = true;
    int32_t Cursor_Changes = 0;
    std::vector<bool> Busy_Cursor_Calls; // every Set_Busy_Cursor, in order
    std::vector<std::string> Boxes;      // each message box as "caption: text"
};

// The backend in use; a headless one unless the program installed its own at start-up.
TDisplay_Backend& Display_Backend();
void Install_Display_Backend(std::unique_ptr<TDisplay_Backend> backend);

} // namespace plat
