#include "ui/DCGameScreen.h"

#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/NameTables.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/DCInfoPanel.h"

#include <algorithm>
#include <cmath>

namespace {

// Text justification codes: left-aligned with the bottom at y, and centred on the point.
constexpr int32_t Justify_Left = 1;
constexpr int32_t Justify_Bottom = 4;
constexpr int32_t Justify_Centre = 2;

constexpr int32_t Bar_Left = 400;
constexpr int32_t Bar_Height = 13;
constexpr int32_t Bar_Full_Width = 101;

struct TSlot_Position {
    int32_t X, Y;
};
constexpr TSlot_Position Slot_Positions[10] = {{80, 16},   {121, 29}, {80, 61},   {80, 106}, {80, 186},
                                               {121, 106}, {39, 106}, {121, 146}, {39, 146}, {16, 65}};

// The options the view draws by; a game not yet started draws with the defaults.
const TGame_Options& View_Options() {
    static const TGame_Options defaults;
    const TGame_Options* options = Game_Options();
    return options ? *options : defaults;
}

// A detect-evil mark on a visible, not fully lit square holding a creature within the player's sense.
bool Shows_Evil_Mark(const TMap& map, const TMonster* player, int32_t x, int32_t y, uint8_t visible,
                     uint8_t light) {
    if (!player || !visible || light == 0) return false;
    const TMap_Square* square = map.Get_Square(x, y);
    if (!square || !square->Get_Monster()) return false;
    const int32_t sense = player->Detect_Evil();
    return sense > 0 && sense >= TMap::Get_Range(player->X, player->Y, x, y);
}

// Column i, row n of the view in the window at ox, oy: its square and the square's offset in the window.
bool View_Cell_In_Window(int32_t i, int32_t n, int32_t ox, int32_t oy, int32_t& x, int32_t& y, int32_t& dx,
                         int32_t& dy) {
    if (!View_Cell_To_Map(i, n, ox, oy, x, y)) return false;
    dx = x - ox;
    dy = y - oy;
    return dx >= 0 && dx < View_Size && dy >= 0 && dy < View_Size;
}

void Draw_View_Cell(int32_t page, TMap& map, const TMonster* player, const TGame_Options& options, int32_t x,
                    int32_t y, int32_t dx, int32_t dy, int32_t left, int32_t top) {
    TDisplay_Object& display = *Display_Object();
    if (options.Flag_5) {
        TMap_Square& square = *map.Get_Square(x, y);
        const uint8_t visible = map.Is_Visible(dx, dy);
        if (visible || square.Is_Seen()) {
            const uint8_t light = map.Get_Light_Level(dx, dy);
            // The square's hiding rule looks from the player, who stands in the middle of the window.
            if (!options.Flag_2 || light < Light_Level_Dark)
                square.Draw(page, left, dy - View_Centre_Offset, dx - View_Centre_Offset, visible != 0, top);
            if (visible) square.Set_Seen(true);
            if (TSprites_List* sprites = Sprites_List()) sprites->Draw_At_Square(page, x, y, left, top);
            if (options.Flag_2 && light > 0) display.Draw_Gen_Tile(page, left, top, light - 1);
            if (options.Flag_2 && Shows_Evil_Mark(map, player, x, y, visible, light))
                display.Draw_Fixed_Icon_3(page, left, top, true);
        }
    }
    if (options.Flag_3) display.Draw_Highlight_Tile(page, left, top);
}

void Fill_Bar(int32_t top, int32_t left, int32_t width, int32_t red, int32_t green, int32_t blue) {
    if (width <= 0) return;
    Gx_Set_Color(Gx_Rgb_To_Color(red, green, blue));
    Gx_Fill_Rect(left, left + width - 1, top, top + Bar_Height - 1);
}

void Draw_Text_At(int32_t x, int32_t y, const std::string& text) {
    Draw_Text(x, y, text);
}

std::string Ratio_Text(int64_t value, int64_t maximum) {
    return std::to_string(value) + " / " + std::to_string(maximum);
}

struct TBar {
    int32_t Top;
    double Value, Maximum;
    int32_t Red, Green, Blue;
};

} // namespace

void Get_View_Origin(TGame_Screen_View& view, int32_t& x, int32_t& y) {
    if (const TMonster* player = Player()) {
        view.Origin_X = player->X - View_Centre_Offset;
        view.Origin_Y = player->Y - View_Centre_Offset;
    }
    x = view.Origin_X;
    y = view.Origin_Y;
}

bool View_Cell_To_Map(int32_t i, int32_t n, int32_t origin_x, int32_t origin_y, int32_t& map_x,
                      int32_t& map_y) {
    map_x = i + origin_x - (n - 1) / 2 + 7;
    map_y = i + origin_y + n / 2 - 9;
    return map_x >= 1 && map_x <= Map_Width && map_y >= 1 && map_y <= Map_Height;
}

void View_Cell_Position(int32_t i, int32_t n, int32_t& left, int32_t& top) {
    left = 52 * i + (n % 2 == 0 ? 26 : 0) - 43;
    top = 13 * n + 115;
}

void Get_Equipment_Slot_Position(int32_t slot, int32_t& x, int32_t& y) {
    x = 0;
    y = 0;
    if (slot < 1 || slot > 10) return;
    x = Slot_Positions[slot - 1].X;
    y = Slot_Positions[slot - 1].Y;
}

int32_t Bar_Width(double value, double maximum) {
    if (!(maximum > 0) || std::isnan(value)) return 0;
    const double ratio = std::clamp(value / maximum, 0.0, 1.0);
    return static_cast<int32_t>(std::trunc(ratio * Bar_Full_Width));
}

int32_t Status_Face(uint8_t status, double life, double max_life) {
    switch (status) {
    case Status_Panic: return 6;
    case Status_Poisoned: return 7;
    case Status_Normal: break;
    default: return 0;
    }
    const double p = max_life > 0 ? 100.0 * life / max_life : 0.0;
    if (p > 80) return 0;
    if (p > 60) return 1;
    if (p > 40) return 2;
    if (p > 20) return 3;
    if (p > 5) return 4;
    return 5;
}

THud_Button_Images Hud_Button_Images(const TMonster& player) {
    THud_Button_Images images;
    images.Statistics = player.Attribute_Points > 0 ? 5 : 3;
    images.Spells = player.Skill_Points > 0 ? 6 : 4;
    images.Quests = player.Quests_Changed ? 7 : 1;
    return images;
}

void Draw_Map_View(int32_t page, TGame_Screen_View& view) {
    TDisplay_Object* display = Display_Object();
    TMap* map = Current_Map();
    if (!display || display->Drawing_Suppressed || !map) return;
    TMonster* player = Player();
    const TGame_Options& options = View_Options();
    int32_t ox = 0, oy = 0;
    Get_View_Origin(view, ox, oy);
    if (player) {
        map->Update_Field_Of_View(ox, oy, player->Vision_Flags);
        map->Update_Lighting(ox, oy, player->Vision_Flags);
    }
    int32_t x = 0, y = 0, dx = 0, dy = 0, left = 0, top = 0;
    for (int32_t n = 1; n <= Game_View_Rows; ++n)
        for (int32_t i = 1; i <= Game_View_Columns; ++i) {
            if (!View_Cell_In_Window(i, n, ox, oy, x, y, dx, dy)) continue;
            View_Cell_Position(i, n, left, top);
            Draw_View_Cell(page, *map, player, options, x, y, dx, dy, left, top);
        }
    // The marks once more over everything, so that no cell drawn later in front covers them.
    if (options.Flag_5 && options.Flag_2)
        for (int32_t n = 1; n <= Game_View_Rows; ++n)
            for (int32_t i = 1; i <= Game_View_Columns; ++i) {
                if (!View_Cell_In_Window(i, n, ox, oy, x, y, dx, dy)) continue;
                if (!Shows_Evil_Mark(*map, player, x, y, map->Is_Visible(dx, dy),
                                     map->Get_Light_Level(dx, dy)))
                    continue;
                View_Cell_Position(i, n, left, top);
                display->Draw_Fixed_Icon_3(page, left, top, true);
            }
    if (view.User_Pause && view.Blink) {
        Begin_Text(page);
        Set_Font(4);
        Set_Text_Justify(Justify_Centre, Justify_Centre);
        Set_Text_Color(0, 0, 0);
        Draw_Text(699, 249, "ПАУЗА");
        Set_Text_Color(200, 0, 0);
        Draw_Text(700, 250, "ПАУЗА");
        End_Text(page);
    }
}

void Draw_Status_Panel(int32_t page) {
    TDisplay_Object* display = Display_Object();
    const TMonster* player = Player();
    if (!display || display->Drawing_Suppressed || !player) return;
    const TMonster& p = *player;
    int32_t ox = 0, oy = 0;
    TDisplay_Object::Get_Default_Offset(ox, oy);
    p.Draw(page, 180 - ox, 8 - oy);
    display->Draw_Button(page, 180, 8, false, false, false, 5, 2);

    const double life = std::trunc(p.Life), mana = std::trunc(p.Mana);
    const TBar bars[] = {{15, life, double(p.Max_Life), 255, 0, 0},
                         {42, mana, double(p.Max_Mana), 0, 0, 255},
                         {69, double(p.Food), double(p.Max_Food), 0, 203, 0},
                         {96, double(p.Weight), double(p.Max_Weight), 255, 187, 47}};
    gx_vbopen(page);
    for (const TBar& bar : bars)
        Fill_Bar(bar.Top, Bar_Left, Bar_Width(bar.Value, bar.Maximum), bar.Red, bar.Green, bar.Blue);
    display->Draw_Misc_Icon_Row(page, 370, 117, Status_Face(p.Status, p.Life, p.Max_Life));

    Begin_Text(page);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Draw_Text_At(225, 30, p.Name);
    Set_Font(1);
    Set_Text_Color(150, 150, 150);
    Draw_Text_At(225, 46, p.Class_Name);
    Set_Font(2);
    Set_Text_Color(255, 255, 255);
    Draw_Text_At(212, 69, std::to_string(p.Level));
    Draw_Text_At(212, 94, Int_To_Str_Grouped(p.Experience));
    Draw_Text_At(212, 119, Int_To_Str_Grouped(p.Experience_For_Next_Level()));
    Draw_Text_At(212, 144, Int_To_Str_Grouped(p.Gold));

    Set_Text_Justify(Justify_Centre, Justify_Centre);
    for (const TBar& bar : bars)
        Draw_Text_At(450, bar.Top + 7,
                     Ratio_Text(static_cast<int64_t>(bar.Value), static_cast<int64_t>(bar.Maximum)));
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    Draw_Text_At(403, 137, Name_Of(Status_Names, p.Status));
    End_Text(page);
}

void Draw_Equipment(int32_t page, const TGame_Screen_View& view) {
    TDisplay_Object* display = Display_Object();
    const TMonster* player = Player();
    if (!display || display->Drawing_Suppressed || !player) return;
    for (int32_t slot = 1; slot <= 10; ++slot) {
        int32_t x = 0, y = 0;
        Get_Equipment_Slot_Position(slot, x, y);
        const TItem* item = player->Inventory.Item_In_Slot(slot);
        if (item) display->Draw_Direction_Icon(page, x, y, 2);
        if (slot == view.Invalid_Slot) display->Draw_Fixed_Icon_1(page, x, y);
        if (item) item->Draw(page, x, false, y);
    }
}

void Draw_Game_Screen(int32_t page, TGame_Screen_View& view) {
    if (view.Screen_Buffer >= 1) Gx_Copy_Rect(0, 799, 0, 599, 0, 599, view.Screen_Buffer, page);
    Draw_Map_View(page, view);
    Draw_Status_Panel(page);
    Draw_Equipment(page, view);
    Draw_Info_Panel(page, view);
}

void Draw_Black_Page(int32_t page) {
    gx_vbopen(page);
    Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
    Gx_Fill_Page();
}

void Draw_Menu_Background(int32_t page, int32_t top, int32_t height) {
    Draw_Black_Page(page);
    Begin_Text(page);
    Set_Font(2);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(Justify_Left, Justify_Bottom);
    Draw_Text(10, top + height - 10, "Перевод: 1.00");
    End_Text(page);
}

TRoot_Drawing Choose_Root_Drawing(const TRoot_Screens& s) {
    if (s.Error_List || s.Intro_Or_Developer) return TRoot_Drawing::Black_Page;
    if (s.Main_Menu) return TRoot_Drawing::Menu_Background;
    // Behind a progress box that does not paint its own background the last frame stays: the back page
    // keeps its picture between flips.
    if (s.Progress) return s.Progress_Draws_Own ? TRoot_Drawing::Black_Page : TRoot_Drawing::Nothing;
    if (s.Front_End_Choice || s.Menu_Dialog_From_Menu) return TRoot_Drawing::Black_Page;
    return TRoot_Drawing::Game_Screen;
}
