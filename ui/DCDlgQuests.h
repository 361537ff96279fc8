// The quest journal: every visible quest of the module, in quest order, one line each with its icon, its
// description and whether it is under way or done. Opening it clears the player's "quests changed" mark.
// Closes on its close button, Escape and Q.
#pragma once

#include "core/TypedLists.h"
#include "ui/DCDlgPicture.h"
#include "ui/DCList.h"

#include <cstdint>
#include <string>

constexpr uint16_t Vk_Q = 81;

class TDC_Dlg_Quests : public TDC_Dlg_Picture {
public:
    TDC_Dlg_Quests();

    void Handle_DrawPage(int32_t page) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Reposition() override;

    // The quest number (position in the module's quest list) of each line.
    const TWordList& Quest_Numbers() const { return Quest_Numbers_; }

    TDC_List Quest_List;

private:
    void Draw_Line(int32_t line, int32_t page, int32_t line_height, int32_t width, int32_t top, int32_t left);

    TWordList Quest_Numbers_;
};
