// The game menu over the running game: six entries (load, save, export, options, high scores, quit), each a
// square button named by its caption. A click on an entry closes the menu with that entry's number as its
// result; the close button, Escape and G close it with 0. The game screen reads the result when the menu
// is freed and opens what was chosen.
#pragma once

#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

constexpr uint16_t Vk_G = 71;

class TDC_Dlg_Game_Menu : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Entry_Count = 6;
    // The entries' captions, in the order of their results 1..6.
    static const std::array<const char*, Entry_Count>& Entry_Names();

    TDC_Dlg_Game_Menu();

    void Handle_DrawPage(int32_t page) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Reposition() override;

    int32_t Get_Result() const { return Result; }
    TDC_Button& Entry(int32_t n) { return *Entries_[static_cast<std::size_t>(n - 1)]; }

    int32_t Result = 0; // 0 closed without a choice, 1..6 the entry chosen

private:
    std::array<std::unique_ptr<TDC_Button>, Entry_Count> Entries_;
};
