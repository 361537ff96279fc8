#include "ui/DCSpellButton.h"

#include "core/DisplaySeam.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"
#include "core/Spells.h"
#include "ui/CursorTarget.h"

void TDC_Spell_Button::Set_Spell(int32_t style, int32_t kind, int32_t content) {
    Container_Style = style;
    Content_Kind = kind;
    Content = content;
}

TItem* TDC_Spell_Button::Slot_Item() const {
    const TMonster* player = Player();
    if (!player || Content < 1 || Content > 90) return nullptr;
    return player->Inventory.Item_In_Slot(Content);
}

void TDC_Spell_Button::Handle_MouseMove(int32_t, int32_t, int32_t) {
    if (Content_Kind == Spell_Button_Item) {
        if (const TItem* item = Slot_Item()) Set_Cursor_Target_Item(item->Id);
    } else if (Content < 1) {
        if (Hint > 0) Set_Cursor_Target_Button(Hint);
    } else if (Get_Master_Spell(Content)) {
        Set_Cursor_Target_Spell(static_cast<uint16_t>(Content));
    }
}

void TDC_Spell_Button::Handle_MouseUp(int32_t, int32_t, int32_t x, int32_t y, bool outside) {
    if (outside || !Hit_Test(x, y) || !On_Click) return;
    Sound_Play("button.wav");
    On_Click(Name);
}

void TDC_Spell_Button::Handle_DrawPage(int32_t page) {
    // Through the display seam, as the items and spells draw themselves.
    TDisplay_Sink& display = Display_Sink();
    const int32_t state = !Enabled ? 3 : Pressed ? 2 : Mouse_Over ? 1 : 0;
    display.Draw_Spell_Container(page, Left, Top, state, Container_Style);
    if (Content_Kind == Spell_Button_Item) {
        const int32_t shift = state == 2 ? 2 : 0;
        if (const TItem* item = Slot_Item()) item->Draw(page, Left + 3 + shift, false, Top + 3 + shift);
    } else if (const TSpell* spell = Get_Master_Spell(Content)) {
        if (spell->Picture_Id >= 1) display.Draw_Spell_Icon(page, Left, Top, state, spell->Picture_Id - 1);
    }
}

void Place_Spell_Button(TDC_Spell_Button& button, const std::string& name, int32_t x, int32_t y) {
    button.Set_Position(name, x, y, Spell_Button_Size, Spell_Button_Size, false);
}
