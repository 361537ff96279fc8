// The message box through which the whole program reports a problem: a caption and a word-wrapped text
// with a one-pixel shadow. Its buffer is allocated without an error box, so a failing allocation while
// reporting an error does not report again.
#pragma once

#include "ui/DCDlgPicture.h"

#include <string>

class TDC_Dlg_Message : public TDC_Dlg_Picture {
public:
    TDC_Dlg_Message();
    // Shown from the next frame.
    void Set_Text(const std::string& caption, const std::string& text);
    void Handle_DrawPage(int32_t page) override;

    std::string Caption;
    std::string Text;
};
