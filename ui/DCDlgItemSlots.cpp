#include "ui/DCDlgItemSlots.h"

#include "core/Item.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/CursorTarget.h"

TDC_Dlg_Item_Slots::TDC_Dlg_Item_Slots(const std::string& class_name, const std::string& picture,
                                       int32_t width, int32_t height, bool clear_price)
    : TDC_Dlg_Picture(class_name, picture, width, height, true), Clear_Price_(clear_price) {
    if (TDisplay_Object* display = Display_Object()) display->Item_Window = 1;
    if (Clear_Price_) Clear_Cursor_Tooltip();
}

TDC_Dlg_Item_Slots::~TDC_Dlg_Item_Slots() {
    if (TDisplay_Object* display = Display_Object()) display->Item_Window = 0;
    // A price left behind would show on the inventory's items once the store is gone.
    if (Clear_Price_) Clear_Cursor_Tooltip();
}

int32_t TDC_Dlg_Item_Slots::Slot_At(int32_t x, int32_t y) const {
    for (int32_t s = 1; s <= Slot_Count(); ++s) {
        int32_t sx = 0, sy = 0;
        Slot_Corner(s, sx, sy);
        if (x >= sx && x <= sx + Slot_Size && y >= sy && y <= sy + Slot_Size) return s;
    }
    return 0;
}

TItem* TDC_Dlg_Item_Slots::Item_At(int32_t x, int32_t y) const {
    return Find_Item(Shown_Id(Slot_At(x, y)));
}

void TDC_Dlg_Item_Slots::Handle_MouseMove(int32_t, int32_t x, int32_t y) {
    Mouse_X_ = x;
    Mouse_Y_ = y;
    if (const TItem* item = Item_At(x, y))
        Set_Cursor_Target_Item(item->Id);
    else
        Clear_Cursor_Target();
}

void TDC_Dlg_Item_Slots::Draw_Items(int32_t page) {
    const int32_t hovered = Mouse_Over ? Slot_At(Mouse_X_, Mouse_Y_) : 0;
    for (int32_t s = 1; s <= Shown_.Count(); ++s) {
        const TItem* item = Find_Item(Shown_.Get(s));
        if (!item) continue;
        int32_t x = 0, y = 0;
        Slot_Corner(s, x, y);
        if (s == hovered && gx_vbopen(page) == 0) {
            Gx_Set_Color(TDisplay_Object::Get_Highlight_Color());
            const int32_t right = x + Slot_Size - 1, bottom = y + Slot_Size - 1;
            Gx_Fill_Rect(x, right, y, y);
            Gx_Fill_Rect(x, right, bottom, bottom);
            Gx_Fill_Rect(x, x, y, bottom);
            Gx_Fill_Rect(right, right, y, bottom);
        }
        item->Draw(page, x, false, y);
    }
}
