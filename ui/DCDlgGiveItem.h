// Handing items to a creature: four slots beside the inventory window. A left press on an empty slot with
// an item on the cursor gives it: the module's events are told when both the item and the creature carry
// event ids, and the item cannot be taken back. When the dialog is freed the given items leave the map's
// item list: they belong to nobody any more, and must not stay in the map file.
#pragma once

#include "ui/DCDlgItemSlots.h"

#include <cstdint>

class TDC_Dlg_GiveItem : public TDC_Dlg_Item_Slots {
public:
    static constexpr int32_t Slots = 4;

    TDC_Dlg_GiveItem();
    ~TDC_Dlg_GiveItem() override;

    void Set_Monster(uint16_t monster_id) { Monster_Id = monster_id; }
    uint16_t Get_Monster_ID() const { return Monster_Id; }

    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Handle_DrawPage(int32_t page) override;

protected:
    int32_t Slot_Count() const override { return Slots; }
    void Slot_Corner(int32_t s, int32_t& x, int32_t& y) const override;

private:
    uint16_t Monster_Id = 0;
};
