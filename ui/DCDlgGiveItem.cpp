#include "ui/DCDlgGiveItem.h"

#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"
#include "media/DisplayGxFont.h"

TDC_Dlg_GiveItem::TDC_Dlg_GiveItem()
    : TDC_Dlg_Item_Slots("TDC_Dlg_GiveItem", "Dlg_GiveItem.bmp", 267, 179, true) {
    Add_Close_Button(213, 125);
}

TDC_Dlg_GiveItem::~TDC_Dlg_GiveItem() {
    for (int32_t n = 1; n <= Shown_.Count(); ++n) Delete_Current_Item(Shown_.Get(n));
}

void TDC_Dlg_GiveItem::Slot_Corner(int32_t s, int32_t& x, int32_t& y) const {
    x = Left + 40 * s + 39;
    y = Top + 73;
}

void TDC_Dlg_GiveItem::Handle_MouseDown(int32_t button, int32_t, int32_t x, int32_t y) {
    if (button != Mouse_Button_Left || !Player() || !Is_Holding_Item()) return;
    const int32_t s = Slot_At(x, y);
    if (s == 0 || Shown_Id(s) != 0) return;
    // An item handed to a creature that is no longer there would be lost for nothing.
    const TMonster* creature = Creature_By_Id(Monster_Id);
    if (!creature) return;
    TItem* item = Take_Held_Item();
    if (item->Event_Id != 0 && creature->Event_Id != 0)
        if (TModule* module = Module())
            module->Events.Fire_Item_Given_To_Monster(item->Event_Id, creature->Event_Id);
    Shown_.Add(item->Id);
    if (TMonster* player = Player()) player->Recalculate_Stats();
    Sound_Play("put_down.wav");
}

void TDC_Dlg_GiveItem::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    if (const TMonster* creature = Creature_By_Id(Monster_Id)) {
        creature->Draw(page, Left + 17, Top + 61);
        Begin_Text(page);
        Set_Font(6);
        Set_Text_Color(0, 0, 0);
        Set_Text_Justify(2, 2);
        Draw_Text(Left + 130, Top + 36, creature->Name);
        End_Text(page);
    }
    Draw_Items(page);
}
