// The character's statistics over the running game: attributes, life, mana, food, load, attack and
// defence with their chances, damage, resistances and status. While the player has unspent attribute
// points a plus button beside each attribute spends one point on it. Closes on its close button, Escape
// and C.
//
// The dialog is open while the world runs, and the player may die under it: every draw and click asks for
// the player anew, and without one only the picture and the title are drawn and only closing works.
#pragma once

#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

constexpr uint16_t Vk_C = 67;

class TDC_Dlg_Statistics : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Plus_Count = 4;

    TDC_Dlg_Statistics();

    void Handle_DrawPage(int32_t page) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Reposition() override;

    // "Plus Button 1".."Plus Button 4": Strength, Intelligence, Dexterity, Constitution.
    TDC_Button& Plus_Button(int32_t n) { return *Plus_Buttons_[static_cast<std::size_t>(n - 1)]; }

private:
    void Plus_Click(int32_t n);
    // The plus buttons are shown only while the player has points to spend.
    void Refresh_Plus_Buttons();
    void Draw_Values();

    std::array<std::unique_ptr<TDC_Button>, Plus_Count> Plus_Buttons_;
};
