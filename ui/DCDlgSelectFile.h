// The tile editor's file chooser: the text files of the program folder in a list; OK gives the selected
// name, Cancel, Q or Escape give none.
#pragma once

#include "ui/DCDlgPicture.h"

#include <cstdint>
#include <memory>
#include <string>

class TDC_List;

class TDC_Dlg_SelectFile : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 427;
    static constexpr int32_t Dialog_Height = 515;

    TDC_Dlg_SelectFile();
    ~TDC_Dlg_SelectFile() override;

    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;
    // Cancel: no file.
    void Close() override;

    void Button_Click(const std::string& name);

    // The chosen file name; empty for none.
    const std::string& Get_File_Name() const { return File_Name; }
    TDC_List& File_List() { return *List; }

private:
    void Draw_Line(int32_t page, const std::string& text, bool selected, int32_t top, int32_t left);

    std::unique_ptr<TDC_Button> OK_Button;
    std::unique_ptr<TDC_Button> Cancel_Button;
    std::unique_ptr<TDC_List> List;
    std::string File_Name;
};
