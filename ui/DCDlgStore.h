// A creature's store: up to seven goods groups as option toggles (the store's group names, sorted
// alphabetically without regard to letter case and without repeats), the goods of the selected group in a
// grid of 9 x 5 slots, and trading with the cursor beside the inventory window. A left press on goods buys
// them onto the cursor when the player has the price in gold; a press on an empty slot with an item held
// sells it into the selected group. The player buys at the store's sell percentage of an item's value and
// sells at its buy percentage, both truncated. A store number that names no store of the map trades
// nothing. Items with an event id (quest items) cannot be sold.
#pragma once

#include "ui/DCDlgItemSlots.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TStore;

class TDC_Dlg_Store : public TDC_Dlg_Item_Slots {
public:
    static constexpr int32_t Option_Count = 7;
    static constexpr int32_t Columns = 9, Rows = 5;

    TDC_Dlg_Store();

    // The map's store of that number and the creature that keeps it; selects option 1.
    void Set_Store(int32_t store_number, uint16_t monster_id);
    int32_t Get_Store_Number() const { return Store_Number; }
    uint16_t Get_Monster_ID() const { return Monster_Id; }
    // The map's store; null when the number names none.
    TStore* Store() const;

    // Option n (1..7) on, the others off, and the goods of its group shown.
    void Select_Option(int32_t n);
    // The highest-numbered option that is on; 0 for none.
    int32_t Selected_Option();
    const std::string& Caption(int32_t n) const { return Captions_[static_cast<std::size_t>(n - 1)]; }

    // What the player pays for the item, and what he is paid for it.
    int32_t Buying_Price(const TItem& item) const;
    int32_t Selling_Price(const TItem& item) const;

    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    TDC_Button_Toggle& Option(int32_t n) { return *Options_[static_cast<std::size_t>(n - 1)]; }

protected:
    int32_t Slot_Count() const override { return Columns * Rows; }
    void Slot_Corner(int32_t s, int32_t& x, int32_t& y) const override;

private:
    void Sell_Held_Item();
    void Buy(int32_t s);

    std::array<std::unique_ptr<TDC_Button_Toggle>, Option_Count> Options_;
    std::array<std::string, Option_Count> Captions_;
    int32_t Store_Number = 0;
    uint16_t Monster_Id = 0;
};
