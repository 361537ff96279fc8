#include "ui/DCDlgOverviewMap.h"

#include "core/Clock.h"
#include "core/MapMain.h"
#include "core/MapSquare.h"
#include "core/Monster.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"

TDC_Dlg_Overview_Map::TDC_Dlg_Overview_Map()
    : TDC_Dlg_Picture("TDC_Dlg_Overview_Map", "Dlg_OverviewMap.bmp", 459, 515, true),
      Blink_Time_(Get_Ticks()) {
    Add_Close_Button(406, 462);
}

void TDC_Dlg_Overview_Map::Handle_KeyDown(uint16_t& key, int32_t shift) {
    if (key == Vk_M) {
        Close();
        return;
    }
    TDC_Dlg_Picture::Handle_KeyDown(key, shift);
}

void TDC_Dlg_Overview_Map::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    const TMap* map = Current_Map();
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + Get_Width() / 2, Top + 33, map ? map->Name : std::string());
    End_Text(page);
    Draw_Squares(page);
    // Unsigned difference: a clock that wrapped since the last flip still counts the time between.
    const uint32_t now = Get_Ticks();
    if (now - Blink_Time_ > Blink_Ms) {
        Blink_Time_ = now;
        Blink_On_ = !Blink_On_;
    }
}

void TDC_Dlg_Overview_Map::Draw_Squares(int32_t page) {
    TMap* map = Current_Map();
    const TMonster* player = Player();
    if (!map || !player || gx_vbopen(page) != 0) return;
    // Forty thousand blocks go straight into the locked page; every block is clipped to it.
    const bool locked = Gx_Lock() != nullptr;
    const int32_t left = Left + Map_Left, top = Top + Map_Top;
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            const TMap_Square* square = map->Get_Square(x, y);
            if (!square || !square->Is_Seen()) continue;
            Gx_Set_Color(TDisplay_Object::Get_Color_From_RGB(square->Get_Map_Color()));
            const int32_t bx = left + 2 * (x - 1), by = top + 2 * (y - 1);
            Gx_Fill_Rect(bx, bx + 1, by, by + 1);
        }
    if (Blink_On_) {
        Gx_Set_Color(Gx_Rgb_To_Color(255, 0, 0));
        const int32_t px = left + 2 * (player->X - 1), py = top + 2 * (player->Y - 1);
        Gx_Fill_Rect(px, px + 3, py, py + 3);
    }
    if (locked) Gx_Unlock();
}
