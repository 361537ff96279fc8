// The options over the machine options: seven toggles (sounds, music, the four autosave choices, the frame
// rate display) and the game speed set with two arrows in steps of 10 within 10..200. Nothing changes
// until the dialog closes (close button or Escape; there is no cancel): then every value goes to the
// machine options, the map's music starts or stops, and the options are written to the store.
#pragma once

#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TDC_Dlg_Options : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Toggle_Count = 7;
    // The toggles' captions (their names), in order: sounds, music, no autosave, every minute, every 5
    // minutes, every 20 minutes, frame rate.
    static const std::array<const char*, Toggle_Count>& Toggle_Names();

    TDC_Dlg_Options();

    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;
    // Applies everything, then closes.
    void Close() override;

    TDC_Button_Toggle& Toggle(int32_t n) { return *Toggles_[static_cast<std::size_t>(n - 1)]; }
    int32_t Speed() const { return Speed_; }

    TDC_Button Left_Arrow, Right_Arrow;

private:
    void Toggle_Click(int32_t n);
    void Arrow_Click(int32_t step);
    void Refresh_Arrows();

    std::array<std::unique_ptr<TDC_Button_Toggle>, Toggle_Count> Toggles_;
    int32_t Speed_ = 100;
};
