#include "ui/DCDlgChest.h"

#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"
#include "media/DisplayGxFont.h"

namespace {

// The last position of the list holding the id; 0 when none.
int32_t Last_Position_Of(const TWordList& list, uint16_t id) {
    for (int32_t n = list.Count(); n >= 1; --n)
        if (list.Get(n) == id) return n;
    return 0;
}

} // namespace

TDC_Dlg_Chest::TDC_Dlg_Chest() : TDC_Dlg_Item_Slots("TDC_Dlg_Chest", "Dlg_Container.bmp", 313, 299, false) {
    Add_Close_Button(265, 249);
}

void TDC_Dlg_Chest::Set_Location(int32_t x, int32_t y) {
    X_ = x;
    Y_ = y;
    Shown_.Clear();
    const TMap* map = Current_Map();
    if (const TWordList* chest = map ? map->Get_Chest(x, y) : nullptr) Shown_ = *chest;
}

void TDC_Dlg_Chest::Slot_Corner(int32_t s, int32_t& x, int32_t& y) const {
    x = Left + 40 * ((s - 1) % Columns) + 56;
    y = Top + 40 * ((s - 1) / Columns) + 103;
}

void TDC_Dlg_Chest::Handle_MouseDown(int32_t button, int32_t, int32_t x, int32_t y) {
    if (button != Mouse_Button_Left || !Player()) return;
    const int32_t s = Slot_At(x, y);
    if (s == 0) return;
    if (Is_Holding_Item()) {
        if (Shown_Id(s) == 0) Put_Held_Item();
    } else if (Find_Item(Shown_Id(s))) {
        Take_Item(s);
    }
}

void TDC_Dlg_Chest::Put_Held_Item() {
    TMap* map = Current_Map();
    if (!map || !Shown_.Can_Add()) return;
    TWordList* chest = map->Get_Chest(X_, Y_);
    // A chest square the map was not stocked with (reached through a terrain change, or outside the dug
    // areas) has no list yet: it gets an empty one, or the item put in would be in no list at all.
    if (!chest && map->Add_Chest(TWordList{}, X_, Y_)) chest = map->Get_Chest(X_, Y_);
    if (!chest || !chest->Can_Add()) return;
    TItem* item = Take_Held_Item();
    chest->Add(item->Id);
    Shown_.Add(item->Id);
    if (TMonster* player = Player()) player->Recalculate_Stats();
    Sound_Play("put_down.wav");
}

void TDC_Dlg_Chest::Take_Item(int32_t s) {
    const uint16_t id = Shown_Id(s);
    Shown_.Delete(s);
    TMap* map = Current_Map();
    if (TWordList* chest = map ? map->Get_Chest(X_, Y_) : nullptr)
        if (const int32_t n = Last_Position_Of(*chest, id)) chest->Delete(n);
    Sound_Play("pick_up.wav");
    Set_Held_Item(Find_Item(id));
    if (TMonster* player = Player()) player->Recalculate_Stats();
}

void TDC_Dlg_Chest::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 150, Top + 32, "Сундук");
    End_Text(page);
    Draw_Items(page);
}
