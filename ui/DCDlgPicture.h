// The base of every game dialog: a fixed size, a full-size background picture from the system pictures
// held in a buffer named after the dialog's class, an optional close button, and Escape closing it. The
// picture is copied with its lower-left corner at (Left, Top + height - 1). When the buffer cannot be
// allocated or opened nothing is loaded and nothing of the picture is drawn.
//
// Opening a dialog: create it, place it (Center_On_Screen or Set_Position_At, with its modality), make
// it visible and add it to the parent. It closes itself with Set_Kill_Object(1); the parent's
// Kill_Child_Control then reads its result and frees it.
#pragma once

#include "ui/DCButton.h"

#include <cstdint>
#include <memory>
#include <string>

constexpr uint16_t Vk_Escape = 27;

class TDC_Dlg_Picture : public TDisplay_Class {
public:
    // class_name names the buffer; picture is a file of "Pictures/SysPics/" (a module's copy wins); without
    // show_error a failed allocation is not reported (the message box must not report its own failure).
    TDC_Dlg_Picture(const std::string& class_name, const std::string& picture, int32_t width, int32_t height,
                    bool show_error);
    ~TDC_Dlg_Picture() override;

    int32_t Get_Width() override { return Dialog_Width; }
    int32_t Get_Height() override { return Dialog_Height; }
    // The picture; dialogs draw their texts after calling this.
    void Handle_DrawPage(int32_t page) override;
    // Escape closes.
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    // Places the close button.
    void Reposition() override;

    // What the close button and Escape do; dialogs that apply something on closing override it.
    virtual void Close();

    bool Picture_Loaded() const { return Loaded_; }
    int32_t Picture_Buffer() const { return Buffer_; }
    // What opening the picture's buffer answers (for the log); the buffer active before stays active.
    int32_t Picture_Open_Code() const;
    TDC_Button* Close_Button() { return Close_Button_.get(); }

protected:
    // "Close Button" (type 1, image 0) at x, y from the dialog's corner, a child of the dialog.
    void Add_Close_Button(int32_t x, int32_t y);

private:
    int32_t Dialog_Width, Dialog_Height;
    int32_t Buffer_ = 0;
    bool Loaded_ = false;
    std::unique_ptr<TDC_Button> Close_Button_;
    int32_t Close_X_ = 0, Close_Y_ = 0;
};
