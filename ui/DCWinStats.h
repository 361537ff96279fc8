// The statistics window of the game screen: the player's attributes, attack and defence with his hit and
// miss chances, his damage and his resistances (the physical one is not shown) over a picture that carries
// the labels. Hovering a field names it in the information panel through its help entry.
//
// The game screen places it at (195, 147) under the name "Win Stats" and shows and hides it.
#pragma once

#include "ui/DisplayClass.h"

#include <cstdint>

constexpr int32_t Stats_Window_Width = 304;
constexpr int32_t Stats_Window_Height = 172;

// The help entry of the field under the point x, y taken from the window's corner; 0 outside every field.
// Fields share their borders: a point on one belongs to the field of the lower entry.
int32_t Stats_Help_Id_At(int32_t x, int32_t y);

class TDC_Win_Stats : public TDisplay_Class {
public:
    TDC_Win_Stats();
    ~TDC_Win_Stats() override;

    int32_t Get_Width() override { return Stats_Window_Width; }
    int32_t Get_Height() override { return Stats_Window_Height; }
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_DrawPage(int32_t page) override;

private:
    int32_t Background_ = 0;
    bool Background_Loaded_ = false;
};
