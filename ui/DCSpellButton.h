// A slot of the quick bar: a spell container cell with a spell's picture, or (kind 2) the item in one of
// the player's inventory slots. Under the mouse it makes its spell, its item or its hint the cursor target.
#pragma once

#include "ui/DCButton.h"

#include <cstdint>
#include <string>

// The content kind that names an inventory slot; any other names a master spell.
constexpr int32_t Spell_Button_Item = 2;
constexpr int32_t Spell_Button_Size = 38;

class TItem;

class TDC_Spell_Button : public TDisplay_Class {
public:
    // Container style (1 normal, 2 selected), content kind, content (slot or spell id; 0 empty).
    void Set_Spell(int32_t style, int32_t kind, int32_t content);
    void Set_Hint_Value(int32_t help_id) { Hint = help_id; }

    int32_t Get_Width() override { return Spell_Button_Size; }
    int32_t Get_Height() override { return Spell_Button_Size; }
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) override;
    void Handle_DrawPage(int32_t page) override;

    int32_t Container_Style = 1;
    int32_t Content_Kind = 0;
    int32_t Content = 0;
    int32_t Hint = 0; // help id shown while empty
    TClick_Handler On_Click;

private:
    // The item in the player's slot for kind 2: null without a player, for a slot outside 1..90 or an
    // empty one (the quick bar is still drawn under the death screen, after the player is gone).
    TItem* Slot_Item() const;
};

// Named, at x, y, 38 x 38, not modal.
void Place_Spell_Button(TDC_Spell_Button& button, const std::string& name, int32_t x, int32_t y);
