// The module's text: a caption and paragraphs in a box, turned a box at a time with the up and down
// buttons. It is shown when a module starts (the introduction) and when a module event asks for it. Closes
// on its close button and Escape.
#pragma once

#include "core/SaveStream.h"
#include "ui/DCDlgPicture.h"

#include <cstdint>
#include <string>

class TDC_Dlg_Module_Text : public TDC_Dlg_Picture {
public:
    // The text box, from the dialog's corner; a page turn moves the text by the box's height.
    static constexpr int32_t Box_Left = 60, Box_Top = 80, Box_Width = 335, Box_Height = 340;

    TDC_Dlg_Module_Text();

    // The caption and a copy of the lines (the caller keeps its list).
    void Set_Text(const std::string& caption, const TString_List& lines);

    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    const std::string& Caption() const { return Caption_; }
    const TString_List& Lines() const { return Lines_; }
    int32_t Scroll_Offset() const { return Offset_; }
    bool End_Shown() const { return End_Shown_; }

    TDC_Button Up_Button, Down_Button;

private:
    void Scroll_Up();
    void Scroll_Down();

    std::string Caption_;
    TString_List Lines_;
    int32_t Offset_ = 0; // pixels of the text above the box
    bool End_Shown_ = false;
};
