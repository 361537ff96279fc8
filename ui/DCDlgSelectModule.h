// The module choice: the entries of the modules folder in a list, and beside it the description and the
// difficulty text of the line last clicked. Clicking a line makes that module current at once; OK makes the
// chosen module's data take over (display effects, classes, spells, settings) and records its character
// data set in the game options.
#pragma once

#include "ui/DCDlgPicture.h"

#include <cstdint>
#include <memory>
#include <string>

class TDC_List;
class TDC_Text_Button;

enum : int32_t {
    Select_Module_OK = 1,
    Select_Module_Cancel = 2,
};

class TDC_Dlg_Select_Module : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 696;
    static constexpr int32_t Dialog_Height = 504;

    TDC_Dlg_Select_Module();
    ~TDC_Dlg_Select_Module() override;

    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    void Module_Selected(const std::string& list_name, int32_t line);
    void Button_Click(const std::string& name);

    // 1 OK, 2 Cancel; 0 while open.
    int32_t Get_Result() const { return Result; }
    // The chosen module's folder name.
    const std::string& Get_Module_Name() const { return Module_Name; }

    const std::string& Description() const { return Description_; }
    const std::string& Difficulty_Description() const { return Difficulty_Description_; }
    const std::string& Character_Data_Set() const { return Character_Data_Set_; }
    TDC_List& Module_List() { return *List; }

private:
    std::unique_ptr<TDC_Text_Button> OK_Button;
    std::unique_ptr<TDC_Text_Button> Cancel_Button;
    std::unique_ptr<TDC_List> List;
    int32_t Result = 0;
    std::string Module_Name;
    // Of the last module read; a module that fails to read leaves the previous one's.
    std::string Description_;
    std::string Difficulty_Description_;
    std::string Character_Data_Set_;
};
