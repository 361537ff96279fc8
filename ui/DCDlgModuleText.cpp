#include "ui/DCDlgModuleText.h"

#include "media/DisplayGxFont.h"

#include <algorithm>
#include <tuple>

TDC_Dlg_Module_Text::TDC_Dlg_Module_Text()
    : TDC_Dlg_Picture("TDC_Dlg_Module_Text", "Dlg_ModuleText.bmp", 448, 504, true) {
    Add_Close_Button(369, 429);
    for (auto [button, name, image, down] :
         {std::tuple{&Up_Button, "Up Button", 3, false}, std::tuple{&Down_Button, "Down Button", 4, true}}) {
        button->Set_Button_Type(1);
        button->Set_Image_Index(image);
        button->Name = name;
        button->Set_Visible(true);
        button->On_Click = [this, down = down](const std::string&) {
            if (down)
                Scroll_Down();
            else
                Scroll_Up();
        };
        Add_Child_Control(button);
    }
}

void TDC_Dlg_Module_Text::Set_Text(const std::string& caption, const TString_List& lines) {
    Caption_ = caption;
    Lines_ = lines;
}

void TDC_Dlg_Module_Text::Reposition() {
    TDC_Dlg_Picture::Reposition();
    Up_Button.Place("Up Button", Left + 319, Top + 429);
    Down_Button.Place("Down Button", Left + 344, Top + 429);
}

void TDC_Dlg_Module_Text::Scroll_Up() {
    Offset_ = std::max(0, Offset_ - Box_Height);
}

void TDC_Dlg_Module_Text::Scroll_Down() {
    if (!End_Shown_) Offset_ += Box_Height;
}

void TDC_Dlg_Module_Text::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(3);
    Set_Text_Justify(2, 2);
    // A white shadow one pixel lower right under the black caption.
    Set_Text_Color(255, 255, 255);
    Draw_Text(Left + Get_Width() / 2 + 1, Top + 61, Caption_);
    Set_Text_Color(0, 0, 0);
    Draw_Text(Left + Get_Width() / 2, Top + 60, Caption_);
    End_Shown_ = Draw_Text_Lines(Left + Box_Left, Top + Box_Top, Box_Width, Offset_, Lines_, Box_Height);
    End_Text(page);
    Up_Button.Enabled = Offset_ > 0;
    Down_Button.Enabled = !End_Shown_;
}
