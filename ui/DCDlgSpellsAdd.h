// The skill list: the class's six skill groups as toggles on the left, and the spells of the chosen group
// as a grid of pictures, each with the player's level in it. While the player has unspent skill points a
// left click on a spell he may learn, below its maximum level, raises it by one level and spends a point.
// Closing refills the quick bar with the spells that are not on it yet. Closes on its close button,
// Escape and S.
//
// The dialog is open while the world runs, and the player may die under it: every draw and click asks for
// the player anew, and without one only the picture and the title are drawn and only closing works.
#pragma once

#include "core/TypedLists.h"
#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

constexpr uint16_t Vk_S = 83;

class TDC_Dlg_Spells_Add : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Group_Count = 6;
    static constexpr int32_t Grid_Columns = 9;
    // Only the first rows of the grid take clicks; entries beyond are drawn but cannot be chosen.
    static constexpr int32_t Grid_Rows_Clickable = 5;
    static constexpr int32_t Cell_Step = 40;
    static constexpr int32_t Cell_Size = 32;

    TDC_Dlg_Spells_Add();
    ~TDC_Dlg_Spells_Add() override;

    void Handle_DrawPage(int32_t page) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Reposition() override;

    // The group toggle handler ("Opt 1".."Opt 6"): that toggle on, the others off, the grid rebuilt.
    void Group_Click(const std::string& name);

    TDC_Button_Toggle& Toggle(int32_t n) { return *Toggles_[static_cast<std::size_t>(n - 1)]; }
    int32_t Chosen_Group() const { return Chosen_Group_; }
    // The grid: master spell ids of the chosen group in class order, and for each whether it may be learnt.
    const TWordList& Shown_Spells() const { return Spell_Ids_; }
    const TWordList& Learnable() const { return Learnable_; }
    // The entry (from 1) whose cell holds the page point, or 0.
    int32_t Entry_At(int32_t x, int32_t y) const;

private:
    void Build_List();
    void Learn(int32_t entry);
    void Draw_Grid(int32_t page);

    std::array<std::unique_ptr<TDC_Button_Toggle>, Group_Count> Toggles_;
    std::array<std::string, Group_Count> Group_Names_;
    int32_t Chosen_Group_ = 0;
    TWordList Spell_Ids_;
    TWordList Learnable_;
    int32_t Pointer_X_ = -1, Pointer_Y_ = -1; // where the last move over the dialog itself was
};
