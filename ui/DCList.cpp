#include "ui/DCList.h"

#include "core/SoundSeam.h"
#include "media/DisplayGxFont.h"
#include "media/GfxDevice.h"

#include <algorithm>

TDC_List::TDC_List() {
    Button_Up.Set_Button_Type(3);
    Button_Up.Set_Image_Index(1);
    Button_Up.Name = "Button Up";
    Button_Down.Set_Button_Type(3);
    Button_Down.Set_Image_Index(0);
    Button_Down.Name = "Button Down";
    for (TDC_Button* button : {&Button_Up, &Button_Down}) {
        button->Set_Visible(true);
        button->On_Click = [this](const std::string& name) { Scroll(name); };
        Add_Child_Control(button);
    }
    Refresh_Scroll_Buttons();
}

void TDC_List::Set_Position(const std::string& name, int32_t left, int32_t top, int32_t width,
                            int32_t height) {
    TDisplay_Class::Set_Position(name, left, top, width, height, false);
}

void TDC_List::Add(const std::string& text) {
    Lines.push_back(text);
    Refresh_Scroll_Buttons();
}

void TDC_List::Clear() {
    Lines.clear();
    Refresh_Scroll_Buttons();
}

std::string TDC_List::Get_Selected_Text() const {
    if (Selected_Line < 1 || Selected_Line > Line_Count()) return {};
    return Lines[static_cast<std::size_t>(Selected_Line - 1)];
}

void TDC_List::Set_Top_Index(int32_t line) {
    Top_Line = line;
    Refresh_Scroll_Buttons();
}

int32_t TDC_List::Page_Size() const {
    return Height / Step();
}

int32_t TDC_List::Padded_Count() const {
    const int32_t p = Page_Size();
    if (p == 0) return 0;
    return (Line_Count() / p + 1) * p;
}

void TDC_List::Kill_Child_Control(const std::string&) {}

void TDC_List::Scroll(const std::string& button) {
    const int32_t p = Page_Size();
    if (button == "Button Up") {
        Top_Line = std::max(1, Top_Line - p);
    } else {
        Top_Line += p;
        if (Padded_Count() + 1 < p + Top_Line) Top_Line = Padded_Count() - p + 1;
    }
    Refresh_Scroll_Buttons();
}

void TDC_List::Refresh_Scroll_Buttons() {
    Button_Down.Enabled = Top_Line < Padded_Count() - Page_Size() + 1;
    Button_Up.Enabled = Top_Line >= 2;
}

int32_t TDC_List::Line_At(int32_t y) const {
    const int32_t line = (y - Top) / Step() + First_Line();
    return line >= 1 && line <= Line_Count() ? line : 0;
}

void TDC_List::Handle_MouseMove(int32_t, int32_t x, int32_t y) {
    Hover_Line = Hit_Test(x, y) ? Line_At(y) : 0;
}

void TDC_List::Handle_MouseUp(int32_t button, int32_t, int32_t x, int32_t y, bool outside) {
    // Outside is true under a modal box drawn over the list, over the scroll buttons and for a hidden or
    // disabled list: none of those clicks picks a line.
    if (button != Mouse_Button_Left || outside || !Hit_Test(x, y) || Button_Up.Hit_Test(x, y) ||
        Button_Down.Hit_Test(x, y))
        return;
    const int32_t line = Line_At(y);
    if (line == 0) return;
    Selected_Line = line;
    Sound_Play("item_sel.wav");
    if (On_Click) On_Click(Name, line);
}

void TDC_List::Handle_DrawPage(int32_t page) {
    const int32_t h = Step();
    if (gx_vbopen(page) == 0) {
        if (!No_Background) {
            Gx_Set_Color(Gx_Rgb_To_Color(Background.Red, Background.Green, Background.Blue));
            Gx_Fill_Rect(Left, Left + Width - 1, Top, Top + Height - 1);
        }
        if (Mouse_Over && Hover_Line > 0 && Show_Hover) {
            const int64_t band = int64_t{Hover_Line - First_Line()} * h + Top;
            const int64_t y1 = std::max<int64_t>(band, Top);
            const int64_t y2 = std::min<int64_t>(band + h - 1, int64_t{Top} + Height - 1);
            if (y1 <= y2) {
                Gx_Set_Color(Gx_Rgb_To_Color(Hover_Colour.Red, Hover_Colour.Green, Hover_Colour.Blue));
                Gx_Fill_Rect(Left, Left + Width - 1, static_cast<int32_t>(y1), static_cast<int32_t>(y2));
            }
        }
    }
    const int32_t wrap_width = Wrap_Width != 0 ? Wrap_Width : Width - 8;
    const int32_t x = Left + 4;
    // An owner that draws its lines opens its own text page.
    const bool own_text = !On_Owner_Draw;
    if (own_text) Begin_Text(page);
    for (int32_t row = 0; row < Page_Size() + 2; ++row) {
        const int32_t line = First_Line() + row;
        const int64_t y = int64_t{Top} + h + 4 + int64_t{row} * h;
        // Only lines that exist: a short list has nothing below its last line.
        if (line > Line_Count() || y > int64_t{Top} + Height) break;
        const std::string& text = Lines[static_cast<std::size_t>(line - 1)];
        const bool selected = line == Selected_Line;
        const int32_t base = static_cast<int32_t>(y);
        if (On_Owner_Draw) {
            On_Owner_Draw(Name, line, page, text, selected, h, wrap_width, base - h - 4, x - 4);
            continue;
        }
        Set_Font(1);
        const TRgb_Colour& c = selected && Show_Selection ? Selected_Colour : Text_Colour;
        Set_Text_Color(c.Red, c.Green, c.Blue);
        Set_Text_Justify(1, 4);
        if (Wrap)
            Draw_Text_Wrapped(x, base - h - 4, wrap_width, h, text);
        else
            Draw_Text(x, base, text);
    }
    if (own_text) End_Text(page);
}

void TDC_List::Reposition() {
    Button_Up.Place("Button Up", Left + Width - 20, Top + 2);
    Button_Down.Place("Button Down", Left + Width - 20, Top + Height - 30);
    Refresh_Scroll_Buttons();
}
