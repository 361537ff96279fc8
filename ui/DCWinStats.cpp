#include "ui/DCWinStats.h"

#include "core/MapMain.h"
#include "core/Monster.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/CursorTarget.h"
#include "ui/DCWinInventory.h"

#include <string>

namespace {

// A field of the picture and its help entry; bounds inclusive, from the window's corner.
struct TStats_Field {
    int32_t Help_Id;
    int32_t Left, Right, Top, Bottom;
};
constexpr TStats_Field Fields[] = {
    {12, 12, 78, 14, 37},   {13, 12, 78, 37, 60},   {14, 80, 146, 14, 37},   {15, 80, 146, 37, 60},
    {16, 12, 146, 60, 83},  {17, 12, 146, 83, 106}, {18, 12, 146, 106, 129}, {19, 150, 284, 14, 37},
    {20, 150, 284, 37, 60}, {21, 150, 284, 60, 83}, {22, 150, 284, 83, 106}, {23, 150, 284, 106, 129},
};

// Justification codes of the values: right-aligned or centred on x, the bottom at y.
constexpr int32_t Justify_Centre = 2;
constexpr int32_t Justify_Right = 3;
constexpr int32_t Justify_Bottom = 4;

} // namespace

int32_t Stats_Help_Id_At(int32_t x, int32_t y) {
    for (const TStats_Field& f : Fields)
        if (x >= f.Left && x <= f.Right && y >= f.Top && y <= f.Bottom) return f.Help_Id;
    return 0;
}

TDC_Win_Stats::TDC_Win_Stats() {
    Background_Loaded_ = Load_Window_Bitmap("TDC_Win_Stats", "Win_Stats.bmp", Background_);
}

TDC_Win_Stats::~TDC_Win_Stats() {
    TDisplay_Object::Release_Buffer(Background_);
}

void TDC_Win_Stats::Handle_MouseMove(int32_t, int32_t x, int32_t y) {
    if (const int32_t help_id = Stats_Help_Id_At(x - Left, y - Top))
        Set_Cursor_Target_Button(help_id);
    else
        Clear_Cursor_Target();
}

void TDC_Win_Stats::Handle_DrawPage(int32_t page) {
    if (Background_Loaded_)
        Gx_Copy_Rect(0, Stats_Window_Width - 1, 0, Stats_Window_Height - 1, Left,
                     Top + Stats_Window_Height - 1, Background_, page);
    const TDisplay_Object* display = Display_Object();
    const TMonster* player = Player();
    if (!display || display->Drawing_Suppressed || !player) return;
    const TMonster& p = *player;
    Begin_Text(page);
    Set_Text_Color(255, 203, 151);
    Set_Font(2);
    const auto value = [this](int32_t x, int32_t y, int32_t justify, const std::string& text) {
        Set_Text_Justify(justify, Justify_Bottom);
        Draw_Text(Left + x, Top + y, text);
    };
    const auto percent = [](uint16_t resist) { return std::to_string(resist) + "%"; };
    value(71, 36, Justify_Right, std::to_string(p.Strength));
    value(71, 59, Justify_Right, std::to_string(p.Intelligence));
    value(140, 36, Justify_Right, std::to_string(p.Dexterity));
    value(140, 59, Justify_Right, std::to_string(p.Constitution));
    value(71, 82, Justify_Right, std::to_string(p.Attack));
    value(111, 82, Justify_Centre, p.Hit_Chance_Text());
    value(71, 105, Justify_Right, std::to_string(p.Defense));
    value(111, 105, Justify_Centre, p.Miss_Chance_Text());
    value(140, 128, Justify_Right, p.Damage_Text());
    value(278, 36, Justify_Right, percent(p.Fire_Resist));
    value(278, 59, Justify_Right, percent(p.Cold_Resist));
    value(278, 82, Justify_Right, percent(p.Lightning_Resist));
    value(278, 105, Justify_Right, percent(p.Magic_Resist));
    value(278, 128, Justify_Right, percent(p.Poison_Resist));
    End_Text(page);
}
