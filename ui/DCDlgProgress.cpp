#include "ui/DCDlgProgress.h"

#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/DlgMain.h"

#include <algorithm>

TDC_Dlg_Progress::TDC_Dlg_Progress()
    : TDC_Dlg_Picture("TDC_Dlg_Progress", "Dlg_Progress.bmp", Dialog_Width, Dialog_Height, true) {
    if (TDisplay_Object* display = Display_Object()) display->Pointer_Hidden = 1;
}

TDC_Dlg_Progress::~TDC_Dlg_Progress() {
    if (TDisplay_Object* display = Display_Object()) display->Pointer_Hidden = 0;
}

void TDC_Dlg_Progress::Set_Percent(int32_t n) {
    Percent = std::clamp(n, 0, 100);
    Refresh_Screen();
}

void TDC_Dlg_Progress::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(3);
    Set_Text_Color(10, 10, 10);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 168, Top + 48, Caption);
    End_Text(page);
    const int32_t w = Bar_Width();
    if (w > 0 && gx_vbopen(page) == 0) {
        Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 200));
        Gx_Fill_Rect(Left + Bar_Left, Left + Bar_Left + w - 1, Top + Bar_Top, Top + Bar_Bottom);
    }
}

TDC_Dlg_Progress* Open_Progress_Box(TDisplay_Class& parent, const std::string& caption,
                                    bool draw_background) {
    auto* box = new TDC_Dlg_Progress();
    box->Center_On_Screen("Dlg Progress", false);
    box->Set_Draw_Background(draw_background);
    box->Set_Caption(caption);
    box->Set_Visible(true);
    parent.Add_Child_Control(box);
    box->Set_Percent(0);
    return box;
}

void End_Progress_Box(TDC_Dlg_Progress& box) {
    box.Set_Percent(100);
    box.Set_Kill_Object(1);
}
