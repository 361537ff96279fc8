#include "ui/DCButton.h"

#include "core/SoundSeam.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/CursorTarget.h"

#include <utility>

void TDC_Button::Set_Button_Type(int32_t type) {
    Button_Type = type;
    TDisplay_Object::Get_Button_Size(type, Button_Width, Button_Height);
}

void TDC_Button::Place(const std::string& name, int32_t x, int32_t y) {
    Set_Position(name, x, y, Button_Width, Button_Height, false);
}

void TDC_Button::Handle_MouseMove(int32_t, int32_t, int32_t) {
    if (Help_Id > 0) Set_Cursor_Target_Button(Help_Id);
}

void TDC_Button::Handle_MouseUp(int32_t, int32_t, int32_t x, int32_t y, bool outside) {
    if (outside || !Hit_Test(x, y) || !On_Click) return;
    Sound_Play("button.wav");
    On_Click(Name);
}

void TDC_Button::Handle_DrawPage(int32_t page) {
    const bool disabled = !Enabled;
    const auto hook = [&] { On_Draw(Name, page, disabled, Pressed, Mouse_Over, Height, Width, Top, Left); };
    if (On_Draw && Draw_Hook_First) {
        if (gx_vbopen(page) == 0) {
            Gx_Set_Color(Enabled && (Pressed || Mouse_Over) ? TDisplay_Object::Get_Highlight_Color()
                                                            : Gx_Rgb_To_Color(71, 71, 71));
            Gx_Fill_Rect(Left + 2, Left + Width - 3, Top + 2, Top + Height - 3);
        }
        hook();
    }
    // A sheet that is not loaded (a message at start-up, before the pictures) has no face to draw.
    if (const TDisplay_Object* display = Display_Object())
        display->Draw_Button(page, Left, Top, disabled, Pressed, Mouse_Over, Button_Type, Image_Index);
    if (On_Draw && !Draw_Hook_First) hook();
}

std::unique_ptr<TDC_Text_Button> Make_Dialog_Button(const std::string& caption, TClick_Handler handler) {
    auto button = std::make_unique<TDC_Text_Button>();
    button->Set_Button_Type(6);
    button->Set_Image_Index(0);
    button->Set_Text(caption);
    button->Set_Visible(true);
    button->On_Click = std::move(handler);
    return button;
}

void TDC_Text_Button::Handle_DrawPage(int32_t page) {
    TDC_Button::Handle_DrawPage(page);
    const int32_t shift = Pressed ? 1 : 0;
    Begin_Text(page);
    Set_Font(Font_Style);
    Set_Text_Justify(2, 2);
    if (Mouse_Over)
        Set_Text_Color(255, 255, 255);
    else
        Set_Text_Color(155, 155, 155);
    Draw_Text(Left + Width / 2 + shift, Top + Height / 2 + Caption_Y_Offset + shift, Caption);
    End_Text(page);
}

void TDC_Button_Toggle::Set_Frames(int32_t on_index, int32_t off_index) {
    On_Index = on_index;
    Off_Index = off_index;
    Image_Index = off_index;
}

void TDC_Button_Toggle::Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) {
    if (!outside && Hit_Test(x, y) && Enabled) Set_On(!Is_On());
    TDC_Button::Handle_MouseUp(button, shift, x, y, outside);
}
