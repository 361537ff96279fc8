#include "ui/DlgMain.h"

#include "core/BusyCursorSeam.h"
#include "core/Clock.h"
#include "core/DebugLog.h"
#include "core/DisplayFlagSeam.h"
#include "core/GameSettings.h"
#include "core/GlobalFuncs.h"
#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MachineOptions.h"
#include "core/Messages.h"
#include "core/ProgressSeam.h"
#include "core/Struct.h"
#include "generation/RndClassStore.h"
#include "media/DisplayFont.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "media/Sounds.h"
#include "platform/DisplayBackend.h"
#include "ui/DCMain.h"
#if __has_include("ui/CursorTarget.h")
#include "ui/CursorTarget.h"
#else
// The cursor target comes with the widgets; until then there is nothing to clear.
inline void Init_Cursor_Target() {}
inline void Done_Cursor_Target() {}
#endif

#include <cstdio>
#include <exception>

namespace {

const char* const Unit = "DlgMain";
constexpr int32_t Screen_W = 800;
constexpr int32_t Screen_H = 600;
constexpr int32_t Tick_Rate = 20;
constexpr int32_t Speed_Block = 50; // frames averaged by the drawing-speed overlay
constexpr int64_t Exception_Log_Interval = 1000;

TDlg_Main* The_Form = nullptr;
bool Sound_Pending = false;

std::string Mode_Text(int32_t depth) {
    return std::to_string(Screen_W) + "x" + std::to_string(Screen_H) + " " + std::to_string(depth) + "bit";
}

// Without the window, or before its root control exists, a message goes to the log, standard error and a
// platform box, so start-up failures are seen.
void Report_Without_Window(const std::string& caption, const std::string& text) {
    Log("General", caption + ": " + text);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    plat::Display_Backend().Message_Box(caption, text);
}

class TWindow_Message_Sink : public TMessage_Sink {
public:
    void Show_Message(const std::string& caption, const std::string& text) override {
        if (The_Form && The_Form->Get_Main_Window())
            The_Form->Show_Message(caption, text);
        else
            Report_Without_Window(caption, text);
    }
    void Show_Error_List(const TString_List& list, const std::string& heading,
                         const std::string& file_name) override {
        if (The_Form && The_Form->Get_Main_Window()) {
            The_Form->Show_Error_List(list, heading, file_name);
            return;
        }
        std::string text = heading + " " + file_name;
        for (const std::string& line : list) text += "\n" + line;
        Report_Without_Window("Error", text);
    }
};

class TWindow_Progress_Sink : public TProgress_Sink {
public:
    void Open_Progress(const std::string& caption) override {
        if (TDC_Main* root = Get_Main_Window()) root->Open_Progress(caption);
    }
    void Set_Progress_Caption(const std::string& caption) override {
        if (TDC_Main* root = Get_Main_Window()) root->Set_Progress_Caption(caption);
    }
    void Set_Progress(int32_t percent) override {
        if (TDC_Main* root = Get_Main_Window()) root->Set_Progress(percent);
    }
    void Close_Progress() override {
        if (TDC_Main* root = Get_Main_Window()) root->Close_Progress();
    }
};

class TWindow_Display_Flag_Sink : public TDisplay_Flag_Sink {
public:
    void Set_Hide_Held_Item(bool hide) override {
        if (TDisplay_Object* display = Display_Object()) display->Pointer_Hidden = hide ? 1 : 0;
    }
    // Drawing stays suspended while the sheets are rebuilt: a progress box that draws a frame meanwhile
    // must not show the map with half its pictures.
    bool Load_Map_Bitmaps(TMap& map) override {
        TDisplay_Object* display = Display_Object();
        if (!display) return true;
        const auto suppressed = display->Drawing_Suppressed;
        display->Drawing_Suppressed = 1;
        const bool loaded = display->Load_Map_Bitmaps(map);
        display->Drawing_Suppressed = suppressed;
        return loaded;
    }
};

// File work shows the system's busy pointer over the window.
class TWindow_Busy_Cursor_Sink : public TBusy_Cursor_Sink {
public:
    void Show_Busy_Cursor() override { plat::Display_Backend().Set_Busy_Cursor(true); }
    void Show_Normal_Cursor() override { plat::Display_Backend().Set_Busy_Cursor(false); }
};

const char* Boundary_Name(TBoundary boundary) {
    switch (boundary) {
    case TBoundary::Tick: return "tick";
    case TBoundary::Frame: return "frame";
    case TBoundary::Event: return "event";
    case TBoundary::Refresh: return "Refresh_Screen";
    default: return "?";
    }
}

} // namespace

TDlg_Main* Main_Form() {
    return The_Form;
}

void Refresh_Screen() {
    if (The_Form) The_Form->Refresh_Screen();
}

void Set_Actions_Disabled(bool flag) {
    if (The_Form) The_Form->Set_Actions_Disabled(flag);
}

TDC_Main* Get_Main_Window() {
    return The_Form ? The_Form->Get_Main_Window() : nullptr;
}

std::shared_ptr<TMessage_Sink> Make_Window_Message_Sink() {
    return std::make_shared<TWindow_Message_Sink>();
}

bool& Sound_Start_Pending() {
    return Sound_Pending;
}

TDlg_Main::TDlg_Main() {
    The_Form = this;
    Root_Factory = [] { return std::make_unique<TDC_Main>(); };
    if (!dynamic_cast<TWindow_Message_Sink*>(&Message_Sink()))
        Install_Message_Sink(std::make_shared<TWindow_Message_Sink>());
    Install_Progress_Sink(std::make_shared<TWindow_Progress_Sink>());
    Install_Display_Flag_Sink(std::make_shared<TWindow_Display_Flag_Sink>());
    Install_Busy_Cursor_Sink(std::make_shared<TWindow_Busy_Cursor_Sink>());
}

TDlg_Main::~TDlg_Main() {
    FormDestroy();
    Install_Progress_Sink(nullptr);
    Install_Display_Flag_Sink(nullptr);
    Install_Busy_Cursor_Sink(nullptr);
    if (The_Form == this) The_Form = nullptr;
}

void TDlg_Main::Fail(const std::string& text) {
    plat::Display_Backend().Message_Box("Error", text);
    Close();
}

bool TDlg_Main::Test_Modes(int32_t& depth) {
    Log(Unit, "  Testing Modes");
    TGame_Settings* settings = Game_Settings();
    depth = settings ? settings->Color_Depth : 16;
    const int32_t first = depth;
    for (;;) {
        Log(Unit, "  Testing - " + Mode_Text(depth) + ")");
        const int32_t result = gx_modetest(Screen_W, Screen_H, depth);
        Log(Unit, "  gx_modetest = " + std::to_string(result));
        Log(Unit, "    (" + Mode_Text(depth) + ")");
        if (result >= 0) break;
        if (depth == 16)
            depth = 24;
        else if (depth == 24)
            depth = 32;
        else {
            Fail("Your machine does not support a resolution of " + Mode_Text(first) + " color.");
            return false;
        }
    }
    if (settings) settings->Color_Depth = static_cast<uint16_t>(depth);
    return true;
}

bool TDlg_Main::Set_Up_Graphics(int32_t depth) {
    Log(Unit, "  Set Form Style");
    Log(Unit, "  DDSetup");
    Gx_Dd_Setup(Screen_W, Screen_H, depth, Gx_Flag_Flip_Chain);
    Log(Unit, "    (DDStatus = " + std::to_string(Gx_Dd_Status()) + ")");
    Log(Unit, "    (DDUsage = " + std::to_string(gx_ddusage()) + ")");
    // The device context and its selection belong to the platform's windows; the library draws text
    // through its own.
    Log(Unit, "  GetDC");
    Log(Unit, "  gx_setdc");
    Log(Unit, "  Left, top, visible");
    Log(Unit, "  gx_vbinit");
    const int32_t init = gx_vbinit();
    if (init != 0) {
        Fail("gx_vbinit = " + std::to_string(init));
        return false;
    }
    gx_vbopen(0);
    Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
    Gx_Fill_Page();
    Gx_Flip();
    Log(Unit, "  gx_ddusage");
    const int32_t usage = gx_ddusage();
    if (usage < 0) {
        Fail("gx_ddusage = " + std::to_string(usage));
        return false;
    }
    Log(Unit, "  DirectX Version = " + std::to_string(Gx_DirectX_Version()));
    Log(Unit, "  gx_vbdepth");
    // The mode set may have fallen back from the depth asked for (24 to 32): the page's own depth is the
    // one every sheet must have.
    if (const plat::TSurface* page = Gx_Buffer_Surface(0)) depth = page->Bits;
    if (TGame_Settings* settings = Game_Settings()) settings->Color_Depth = static_cast<uint16_t>(depth);
    gx_vbdepth(depth);
    Log(Unit, "  Workspace = gx_vballoc");
    Workspace = 0;
    Log(Unit, "  OnActivate");
    Frame_Count = Frame_Time = Time_Sum = 0;
    Last_Time = Get_Ticks();
    Log(Unit, "  gx_vbopen");
    gx_vbopen(Workspace);
    Gx_Select_DC(Gx_Get_DC());
    Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
    Log(Unit, "  gx_mouseini");
    const int32_t mouse = gx_mouseini();
    if (mouse < 0) plat::Display_Backend().Message_Box("Error", "gx_mouseini = " + std::to_string(mouse));
    Gx_Mouse_Visible(0);
    return true;
}

void TDlg_Main::Create_Objects() {
    Log(Unit, "  TDisplay_Object.create");
    auto display = std::make_unique<TDisplay_Object>();
    // Frames show a black page until everything is loaded.
    display->Drawing_Suppressed = 1;
    Install_Display_Object(std::move(display));
    Made_Display = true;
    Log(Unit, "  Create_Global_Structs");
    Made_Global = true;
    Create_Global_Structs();
    // Every map the game loads has its stores stocked anew from the store classes of its module.
    Install_Store_Restocker();
    Log(Unit, "  TDC_Main.create");
    Root = Root_Factory();
    Root->Set_Position("Main Window", 0, 0, Screen_W, Screen_H, false);
    Root->Set_Visible(true);
    Log(Unit, "  Load_External_Resources");
    Made_Resources = true;
    Load_External_Resources();
    Log(Unit, "  Load_Global_Structs");
    Load_Global_Structs();
    Log(Unit, "  DisplayInv_Init");
    Set_Held_Item_Id(0);
    Init_Cursor_Target();
}

bool TDlg_Main::FormCreate() {
    try {
        Log(Unit, "TDlg_Main.FormCreate - Start");
        Log(Unit, "  Setup_Global_Vars");
        Setup_Global_Vars();
        Log(Unit, "  Create_Primary_Global_Structs");
        Made_Primary = true;
        Create_Primary_Global_Structs();
        Log(Unit, "  Load_Primary_Global_Structs");
        Load_Primary_Global_Structs();
        Log(Unit, "  Init Form Vars");
        Sound_Pending = true;
        Application_Active = false;
        Started = false;
        Tick_Counter = 0;
        int32_t depth = 16;
        if (!Test_Modes(depth)) return false;
        if (!Set_Up_Graphics(depth)) return false;
        Create_Objects();
        Log(Unit, "  tmr_move.enabled := true");
        Timer_Enabled = true;
        Log(Unit, "  Set_Actions_Disabled(false)");
        if (TDisplay_Object* display = Display_Object()) display->Drawing_Suppressed = 0;
        Set_Actions_Disabled(false);
        Application_Active = true;
        Started = true;
        Log(Unit, "TDlg_Main.FormCreate - End");
        return true;
    } catch (const std::exception& e) {
        Log("General", std::string("EXCEPTION in start-up: ") + e.what());
        plat::Display_Backend().Message_Box("Error", e.what());
    } catch (...) {
        Log("General", "EXCEPTION in start-up");
        plat::Display_Backend().Message_Box("Error", "Start-up failed.");
    }
    Close();
    return false;
}

void TDlg_Main::FormDestroy() {
    if (Destroyed) return;
    Destroyed = true;
    Closed = true;
    Log(Unit, "TDlg_Main.FormDestroy - Start");
    Gx_Mouse_Visible(1);
    Set_Held_Item_Id(0);
    Done_Cursor_Target();
    Root.reset();
    Gx_Deselect_Buffer();
    Gx_Shutdown();
    if (Sounds_Installed()) Sounds().Sound_Free_Sound_System();
    if (Made_Display) Install_Display_Object(nullptr);
    if (Made_Global) Free_Global_Structs();
    if (Made_Primary) Free_Primary_Global_Structs();
    if (Made_Resources) Free_External_Resources();
    Log(Unit, "TDlg_Main.FormDestroy - End");
}

void TDlg_Main::Draw_Screen() {
    if (Root && Root->Kill) {
        Close();
        return;
    }
    Gx_Set_Blit_Mode(1);
    TDisplay_Object* display = Display_Object();
    if (!display || display->Drawing_Suppressed || !Root) {
        gx_vbopen(Workspace);
        Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
        Gx_Fill_Page();
        Gx_Flip();
        return;
    }
    gx_vbopen(Workspace);
    Gx_Select_DC(Gx_Get_DC());
    Root->Draw(Workspace);
    if (!display->Pointer_Hidden) Draw_Held_Item_Or_Cursor();
    if (Machine_Options().Show_Drawing_Speed) Draw_Speed_Overlay();
    Gx_Flip();
}

void TDlg_Main::Draw_Held_Item_Or_Cursor() {
    gx_vbopen(Workspace);
    int32_t x = -1, y = -1;
    Gx_Mouse_Position(x, y);
    if (x < 0 || x > Screen_W - 1 || y < 0 || y > Screen_H - 1) return;
    if (const TItem* held = Get_Held_Item()) {
        // The item hangs with its centre on the pointer and is not drawn where it would leave the page.
        if (x >= 16 && x <= Screen_W - 17 && y >= 16 && y <= Screen_H - 17)
            held->Draw(Workspace, x - 16, false, y - 16);
        return;
    }
    if (TDisplay_Object* display = Display_Object())
        display->Draw_Mouse_Cursor(Workspace, x, y, Screen_W, Screen_H);
}

void TDlg_Main::Draw_Speed_Overlay() {
    const uint32_t now = Get_Ticks();
    Begin_Text(Workspace);
    Set_Text_Color(200, 200, 200);
    const int32_t elapsed = static_cast<int32_t>(now - Last_Time);
    Frame_Count++;
    if (Frame_Count % Speed_Block == 0) {
        Frame_Time = Time_Sum / Speed_Block;
        Time_Sum = 0;
    }
    const std::string time_text = std::to_string(Frame_Time) + " ms";
    const std::string rate_text = Frame_Time <= 0 ? "" : std::to_string(1000 / Frame_Time) + " FPS";
    Set_Font(1);
    Set_Text_Justify(1, 5);
    Draw_Text(10, 250, time_text);
    if (!rate_text.empty()) Draw_Text(10, 260, rate_text);
    End_Text(Workspace);
    Last_Time = now;
    Time_Sum += elapsed;
}

void TDlg_Main::WMActivateApp(bool active) {
    Application_Active = active;
    if (active && Started) {
        Gx_Restore_Surfaces();
        Draw_Screen();
    }
}

void TDlg_Main::FormMouseMove(int32_t shift, int32_t x, int32_t y) {
    if (Root) Root->MouseMove(shift, x, y);
}

void TDlg_Main::FormMouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) {
    if (Root) Root->MouseDown(button, shift, x, y);
}

void TDlg_Main::FormMouseUp(int32_t button, int32_t shift, int32_t x, int32_t y) {
    if (Root) Root->MouseUp(button, shift, x, y, false);
}

void TDlg_Main::FormKeyDown(uint16_t& key, int32_t shift) {
    if (Root) Root->KeyDown(key, shift);
}

void TDlg_Main::tmr_moveTimer() {
    if (!Timer_Enabled) return;
    Tick_Counter++;
    if (Tick_Counter > Tick_Rate) Tick_Counter = 0;
    if (Root) Root->Process_Tick(Tick_Counter, static_cast<double>(Tick_Rate));
}

void TDlg_Main::Show_Message(const std::string& caption, const std::string& text) {
    if (Root) Root->Show_Message(caption, text);
}

void TDlg_Main::Show_Error_List(const TString_List& list, const std::string& heading,
                                const std::string& file_name) {
    if (Root) Root->Show_Error_List(list, heading, false, file_name);
}

void TDlg_Main::Refresh_Screen() {
    Run_Guarded(TBoundary::Refresh, [this] { Draw_Screen(); });
}

void TDlg_Main::Set_Actions_Disabled(bool flag) {
    if (Root) Root->Set_Paused(flag);
}

void TDlg_Main::Run_Guarded(TBoundary boundary, const std::function<void()>& work) {
    std::string what;
    try {
        work();
        return;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "unknown exception";
    }
    // A fault that repeats every tick or frame would flood the log: one line a second per boundary.
    const size_t b = static_cast<size_t>(boundary);
    const int64_t now = static_cast<int64_t>(Get_Ticks_64());
    if (Logged_Once[b] && now - Last_Logged[b] < Exception_Log_Interval) return;
    Logged_Once[b] = true;
    Last_Logged[b] = now;
    Log("General", std::string("EXCEPTION in ") + Boundary_Name(boundary) + ": " + what);
}
