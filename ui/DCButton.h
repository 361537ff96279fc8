// Picture buttons: a cell of one of the ten button sheets, its row chosen by the state (disabled, pressed,
// under the mouse, plain); the text button with a caption over it and the toggle that flips between two
// pictures. A click is a release over the button with Outside false, whatever button and wherever the
// press was; it sounds "button.wav" and calls the owner's handler with the button's Name.
#pragma once

#include "ui/DisplayClass.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

using TClick_Handler = std::function<void(const std::string& name)>;
// Draws on or under a button's picture: name, page, disabled, pressed, hover, height, width, top, left.
using TButton_Draw_Hook =
    std::function<void(const std::string& name, int32_t page, bool disabled, bool pressed, bool hover,
                       int32_t height, int32_t width, int32_t top, int32_t left)>;

class TDC_Button : public TDisplay_Class {
public:
    // Takes the width and height of the type (1..10; any other gives 0 x 0).
    void Set_Button_Type(int32_t type);
    void Set_Image_Index(int32_t index) { Image_Index = index; }
    void Set_Help_Id(int32_t id) { Help_Id = id; }
    // Named, at x, y with the type's size, not modal.
    void Place(const std::string& name, int32_t x, int32_t y);

    int32_t Get_Width() override { return Button_Width; }
    int32_t Get_Height() override { return Button_Height; }
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) override;
    void Handle_DrawPage(int32_t page) override;

    int32_t Button_Type = 0;
    int32_t Image_Index = 0; // column in the type's sheet
    int32_t Button_Width = 0, Button_Height = 0;
    int32_t Help_Id = 0; // shown by the information panel under the mouse; 0 none
    // The hook draws before the picture, on a filled face, instead of after it.
    bool Draw_Hook_First = false;
    TClick_Handler On_Click;
    TButton_Draw_Hook On_Draw;
};

class TDC_Text_Button : public TDC_Button {
public:
    void Set_Text(const std::string& caption) { Caption = caption; }
    void Handle_DrawPage(int32_t page) override;

    std::string Caption;
    int32_t Font_Style = 4;
    int32_t Caption_Y_Offset = 0;
};

// A visible text button of the dialogs' kind (button type 6, image 0) with the caption; clicks go to
// the handler.
std::unique_ptr<TDC_Text_Button> Make_Dialog_Button(const std::string& caption, TClick_Handler handler);

class TDC_Button_Toggle : public TDC_Button {
public:
    // Both pictures; the toggle shows the off one.
    void Set_Frames(int32_t on_index, int32_t off_index);
    bool Is_On() const { return Image_Index == On_Index; }
    void Set_On(bool on) { Image_Index = on ? On_Index : Off_Index; }
    // A click on an enabled toggle flips it before the handler runs, so the handler sees the new state.
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) override;

    int32_t On_Index = 0, Off_Index = 0;
};
