// The difficulty choice after the module choice: four difficulties and Cancel. A choice is stored in the
// game options at once; Cancel (and Escape) leaves the stored difficulty as it was.
#pragma once

#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TDC_Text_Button;

constexpr int32_t Difficulty_Cancel = 5;

class TDC_Dlg_Difficulty : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 266;
    static constexpr int32_t Dialog_Height = 354;
    static constexpr int32_t Button_Count = 5;

    TDC_Dlg_Difficulty();
    ~TDC_Dlg_Difficulty() override;

    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    void Button_Click(const std::string& name);
    // 1..4 the difficulty, 5 Cancel; 0 while open.
    int32_t Get_Result() const { return Result; }
    TDC_Text_Button& Button(int32_t n) { return *Buttons[static_cast<std::size_t>(n - 1)]; }

private:
    std::array<std::unique_ptr<TDC_Text_Button>, Button_Count> Buttons;
    int32_t Result = 0;
};
