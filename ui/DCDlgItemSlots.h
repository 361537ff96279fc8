// The base of the dialogs that trade items with the cursor beside the inventory window: the store, the
// chest and the give-item dialog. While one exists the display object's item-window flag is set, so the
// game screen's equipment and inventory keep taking presses beside it. Each shows a list of item ids in a
// grid of 32 x 32 slots; the slot under the mouse is framed, and the item under the mouse is the cursor
// target.
#pragma once

#include "core/TypedLists.h"
#include "ui/DCDlgPicture.h"

#include <cstdint>
#include <string>

class TItem;

class TDC_Dlg_Item_Slots : public TDC_Dlg_Picture {
public:
    // Slots are 32 pixels wide and high; their rectangles take one more pixel on each axis.
    static constexpr int32_t Slot_Size = 32;

    // clear_price: the store's price record is cleared now and when the dialog is freed.
    TDC_Dlg_Item_Slots(const std::string& class_name, const std::string& picture, int32_t width,
                       int32_t height, bool clear_price);
    ~TDC_Dlg_Item_Slots() override;

    // The item under the mouse becomes the cursor target; elsewhere the target is cleared.
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;

    // The items shown, slot 1 first.
    const TWordList& Shown_Items() const { return Shown_; }
    // The slot whose rectangle holds the point, among the slots that take presses; 0 for none.
    int32_t Slot_At(int32_t x, int32_t y) const;
    // The existing item shown in the slot under the point; null for none.
    TItem* Item_At(int32_t x, int32_t y) const;

protected:
    // The number of slots that take presses, and the top-left corner of slot s (any s from 1, so items
    // past the grid are drawn below it).
    virtual int32_t Slot_Count() const = 0;
    virtual void Slot_Corner(int32_t s, int32_t& x, int32_t& y) const = 0;

    // Every shown item at its slot; the slot under the mouse first gets the highlight frame.
    void Draw_Items(int32_t page);
    // The shown item of the slot; 0 for a slot past the list.
    uint16_t Shown_Id(int32_t s) const { return s >= 1 && s <= Shown_.Count() ? Shown_.Get(s) : 0; }

    TWordList Shown_;

private:
    bool Clear_Price_;
    int32_t Mouse_X_ = -1, Mouse_Y_ = -1; // the last point the mouse moved to over the dialog
};
