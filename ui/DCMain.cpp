#include "ui/DCMain.h"

#include "core/DebugLog.h"
#include "media/GfxDevice.h"
#include "ui/DlgMain.h"

// The two boxes come with the dialog units; until those are part of the build a message is logged.
#if __has_include("ui/DCDlgMessage.h") && __has_include("ui/DCDlgErrorList.h")
#include "ui/DCDlgErrorList.h"
#include "ui/DCDlgMessage.h"
#define MURK_MESSAGE_BOXES 1
#else
#define MURK_MESSAGE_BOXES 0
class TDC_Dlg_Message : public TDisplay_Class {};
class TDC_Dlg_ErrorList : public TDisplay_Class {};
#endif

TDC_Main::TDC_Main() = default;

TDC_Main::~TDC_Main() {
    // The boxes are children; each takes itself out of the array as it goes.
    delete Message_Dlg;
    delete Error_List_Dlg;
}

void TDC_Main::Kill_Child_Control(const std::string& name) {
    // Cleared before the box goes, so a message shown while it is freed opens a new one.
    if (name == "Message Dlg" && Message_Dlg) {
        TDC_Dlg_Message* box = Message_Dlg;
        Message_Dlg = nullptr;
        delete box;
    } else if (name == "Error List Dlg" && Error_List_Dlg) {
        TDC_Dlg_ErrorList* box = Error_List_Dlg;
        Error_List_Dlg = nullptr;
        delete box;
    }
}

void TDC_Main::Handle_DrawPage(int32_t page) {
    if (gx_vbopen(page) != 0) return;
    Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
    Gx_Fill_Page();
}

void TDC_Main::Process_Tick(int32_t, double) {}

void TDC_Main::Set_Paused(bool paused) {
    Paused = paused;
}

void TDC_Main::Show_Message(const std::string& caption, const std::string& text) {
    if (Message_Dlg) return;
#if !MURK_MESSAGE_BOXES
    Log("General", caption + ": " + text);
    return;
#else
    auto* box = new TDC_Dlg_Message();
    box->Center_On_Screen("Message Dlg", true);
    box->Set_Text(caption, text);
    box->Set_On_Top(true);
    box->Set_Visible(true);
    Message_Dlg = box;
    Add_Child_Control(box);
#endif
}

void TDC_Main::Show_Error_List(const TString_List& list, const std::string& heading, bool,
                               const std::string& file_name) {
    if (Error_List_Dlg) return;
#if !MURK_MESSAGE_BOXES
    Log("General", heading + " " + file_name);
    for (const std::string& line : list) Log("General", line);
    return;
#else
    auto* box = new TDC_Dlg_ErrorList();
    box->Center_On_Screen("Error List Dlg", true);
    box->Set_Errors(list, heading, file_name);
    box->Set_On_Top(true);
    box->Set_Visible(true);
    Error_List_Dlg = box;
    Add_Child_Control(box);
#endif
}

void TDC_Main::Open_Progress(const std::string&) {}

void TDC_Main::Set_Progress_Caption(const std::string&) {}

void TDC_Main::Set_Progress(int32_t) {
    Refresh_Screen();
}

void TDC_Main::Close_Progress() {}
