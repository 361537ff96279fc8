// The overview map of the current level: every square the player has seen as a 2 x 2 block of its
// terrain's overview colour, and the player's square as a red mark that blinks every half second. Closes
// on its close button, Escape and M.
#pragma once

#include "ui/DCDlgPicture.h"

#include <cstdint>

constexpr uint16_t Vk_M = 77;

class TDC_Dlg_Overview_Map : public TDC_Dlg_Picture {
public:
    // The map area's corner, from the dialog's corner, and the blink period.
    static constexpr int32_t Map_Left = 24, Map_Top = 54;
    static constexpr uint32_t Blink_Ms = 500;

    TDC_Dlg_Overview_Map();

    void Handle_DrawPage(int32_t page) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;

    bool Blink_On() const { return Blink_On_; }

private:
    void Draw_Squares(int32_t page);

    uint32_t Blink_Time_ = 0; // the clock's milliseconds at the last flip (at creation before the first)
    bool Blink_On_ = false;
};
