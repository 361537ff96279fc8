// The backpack window of the game screen: four tabs of 20 slots (4 columns, 5 rows) over the player's
// backpack slots 11..90, with the tab strip at its bottom. Hovering a slot names its item in the
// information panel and marks a slot the held item may not go into; a press on a slot picks its item up
// or puts the held item down (the world logic of core/HeldItem); a press on the tab strip chooses a tab.
//
// The game screen places it at (0, 224) under the name "Win Inventory", gives it its callback set, shows
// and hides it, and asks for the next tab on its hot key. The tab chosen stays while the window is hidden.
#pragma once

#include "core/Callbacks.h"
#include "ui/DisplayClass.h"

#include <cstdint>
#include <string>

constexpr int32_t Inventory_Window_Width = 189;
constexpr int32_t Inventory_Window_Height = 281;
constexpr int32_t Inventory_Tab_Count = 4;

// The backpack slot of column i (1..4), row j (1..5) on tab t (1..4): tab 1 holds 11..30 row by row, tab 2
// 31..50, tab 3 51..70, tab 4 71..90.
constexpr int32_t Backpack_Slot_Of(int32_t tab, int32_t column, int32_t row) {
    return column + 4 * row + 20 * tab - 14;
}

// A picture of "Pictures/SysPics/" (a module's copy wins) in a buffer of the picture's own size, magenta
// turned black. A picture that cannot be read shows "Unable to load bitmap <path>." and leaves nothing to
// draw (false); the window that asked goes on without it. The active buffer stays the active one.
bool Load_Window_Bitmap(const std::string& buffer_name, const std::string& picture, int32_t& handle);

class TDC_Win_Inventory : public TDisplay_Class {
public:
    TDC_Win_Inventory();
    ~TDC_Win_Inventory() override;

    int32_t Get_Width() override { return Inventory_Window_Width; }
    int32_t Get_Height() override { return Inventory_Window_Height; }
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Handle_DrawPage(int32_t page) override;

    // The game screen's callbacks, copied: a press on a slot refreshes the spell buttons through them.
    void Set_Callbacks(const TCallback_Set& callbacks) { Callbacks_ = callbacks; }
    // The backpack slot of the current tab under the page point; false between and outside the slots.
    bool Slot_At(int32_t x, int32_t y, int32_t& slot) const;
    // The tab after the current one, the first after the last, with the selection sound.
    void Next_Tab();

    int32_t Current_Tab() const { return Tab_; }
    // The slot under the mouse that refuses the held item; 0 none.
    int32_t Refused_Slot() const { return Refused_Slot_; }

private:
    void Select_Tab(int32_t tab);

    int32_t Background_ = 0;
    int32_t Tabs_ = 0;
    bool Background_Loaded_ = false;
    bool Tabs_Loaded_ = false;
    TCallback_Set Callbacks_;
    int32_t Refused_Slot_ = 0;
    int32_t Tab_ = 1;
};
