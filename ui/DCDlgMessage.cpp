#include "ui/DCDlgMessage.h"

#include "media/DisplayGxFont.h"

TDC_Dlg_Message::TDC_Dlg_Message() : TDC_Dlg_Picture("TDC_Dlg_Message", "Dlg_Message.bmp", 309, 213, false) {
    Add_Close_Button(255, 160);
}

void TDC_Dlg_Message::Set_Text(const std::string& caption, const std::string& text) {
    Caption = caption;
    Text = text;
}

void TDC_Dlg_Message::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 148, Top + 31, Caption);
    Set_Font(3);
    // Black one pixel down and right under the white text: its shadow.
    Draw_Text_Wrapped(Left + 21, Top + 58, 257, 98, Text);
    Set_Text_Color(255, 255, 255);
    Draw_Text_Wrapped(Left + 20, Top + 57, 257, 98, Text);
    End_Text(page);
}
