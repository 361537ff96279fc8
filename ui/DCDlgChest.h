// An open chest: its items in a grid of 5 x 3 slots beside the inventory window. A left press on a slot
// takes the item shown there onto the cursor, or puts the held item into the chest when the slot is empty.
// The chest's list on the map changes with every move, so what is taken or put stays when the map is
// saved. Items past the fifteenth are drawn below the grid and cannot be taken.
#pragma once

#include "ui/DCDlgItemSlots.h"

#include <cstdint>

class TDC_Dlg_Chest : public TDC_Dlg_Item_Slots {
public:
    static constexpr int32_t Columns = 5, Rows = 3;

    TDC_Dlg_Chest();

    // Shows a copy of the map's chest at the square (nothing when there is none).
    void Set_Location(int32_t x, int32_t y);
    int32_t Square_X() const { return X_; }
    int32_t Square_Y() const { return Y_; }

    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Handle_DrawPage(int32_t page) override;

protected:
    int32_t Slot_Count() const override { return Columns * Rows; }
    void Slot_Corner(int32_t s, int32_t& x, int32_t& y) const override;

private:
    void Put_Held_Item();
    void Take_Item(int32_t s);

    int32_t X_ = 0, Y_ = 0;
};
