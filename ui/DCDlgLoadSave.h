// The load/save box: ten slots, each a toggle and the description of the game saved there. One slot at a
// time is chosen; in save mode its description may be typed over. OK saves into or loads from the chosen
// slot and, when that worked, closes with Succeeded set; a failure leaves the box open (the reason has been
// shown in the message box). Cancel and Escape close with Succeeded false.
//
// Saving writes the game into the current-game folder first and copies it into the slot only when the
// whole save worked, so a failed save keeps the slot's last good game; loading goes through the slot
// operations, which leave the running game untouched when the slot is empty or its game cannot be read.
// The item on the cursor goes back to the player before either, so no item is left in no place.
#pragma once

#include "ui/DCDlgPicture.h"
#include "ui/DCEditText.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TDC_Dlg_Load_Save : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Slot_Count = 10;

    TDC_Dlg_Load_Save();

    // Called right after creation; a box in neither mode shows no title and saves or loads nothing.
    void Set_Load_Mode();
    void Set_Save_Mode();
    bool Get_Succeeded() const { return Succeeded; }

    // Chooses the slot of the toggle with that name ("Opt n").
    void Slot_Click(const std::string& name);
    // Saves into or loads from slot n by the mode; true when it worked.
    bool Do_Slot(int32_t n);

    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    TDC_Button_Toggle& Slot_Toggle(int32_t n) { return *Toggles_[static_cast<std::size_t>(n - 1)]; }
    TDC_EditText& Slot_Field(int32_t n) { return *Fields_[static_cast<std::size_t>(n - 1)]; }

    TDC_Button OK_Button, Cancel_Button;
    bool Load_Mode = false;
    bool Save_Mode = false;
    bool Succeeded = false;

private:
    void OK_Click();
    bool Save_Slot(int32_t n);
    bool Load_Slot_Game(int32_t n);

    std::array<std::unique_ptr<TDC_Button_Toggle>, Slot_Count> Toggles_;
    std::array<std::unique_ptr<TDC_EditText>, Slot_Count> Fields_;
};
