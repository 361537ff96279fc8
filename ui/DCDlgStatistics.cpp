#include "ui/DCDlgStatistics.h"

#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/NameTables.h"
#include "media/DisplayGxFont.h"

namespace {

// The colour of the statistics' values.
constexpr int32_t Peach_Red = 255, Peach_Green = 203, Peach_Blue = 151;

std::string Pair_Text(int64_t current, int64_t maximum) {
    return std::to_string(current) + " / " + std::to_string(maximum);
}

} // namespace

TDC_Dlg_Statistics::TDC_Dlg_Statistics()
    : TDC_Dlg_Picture("TDC_Dlg_Statistics", "Dlg_Statistics.bmp", 338, 410, true) {
    Add_Close_Button(285, 357);
    for (int32_t n = 1; n <= Plus_Count; ++n) {
        auto button = std::make_unique<TDC_Button>();
        button->Set_Button_Type(1);
        button->Set_Image_Index(2);
        button->Name = "Plus Button " + std::to_string(n);
        button->On_Click = [this, n](const std::string&) { Plus_Click(n); };
        Add_Child_Control(button.get());
        Plus_Buttons_[static_cast<std::size_t>(n - 1)] = std::move(button);
    }
    Refresh_Plus_Buttons();
}

void TDC_Dlg_Statistics::Reposition() {
    TDC_Dlg_Picture::Reposition();
    for (int32_t n = 1; n <= Plus_Count; ++n)
        Plus_Button(n).Place(Plus_Button(n).Name, Left + 220, Top + 30 + 25 * n);
}

void TDC_Dlg_Statistics::Refresh_Plus_Buttons() {
    const TMonster* player = Player();
    const bool shown = player && player->Attribute_Points > 0;
    for (int32_t n = 1; n <= Plus_Count; ++n) Plus_Button(n).Set_Visible(shown);
}

void TDC_Dlg_Statistics::Plus_Click(int32_t n) {
    TMonster* player = Player();
    // A hidden button hears no click; a point spent elsewhere or a player gone leaves nothing to raise.
    if (!player || player->Attribute_Points <= 0) {
        Refresh_Plus_Buttons();
        return;
    }
    player->Use_Attribute_Point();
    switch (n) {
    case 1: player->Raise_Strength(); break;
    case 2: player->Raise_Intelligence(); break;
    case 3: player->Raise_Dexterity(); break;
    default: player->Raise_Constitution(); break;
    }
    Refresh_Plus_Buttons();
}

void TDC_Dlg_Statistics::Handle_KeyDown(uint16_t& key, int32_t shift) {
    if (key == Vk_C) {
        Close();
        return;
    }
    TDC_Dlg_Picture::Handle_KeyDown(key, shift);
}

void TDC_Dlg_Statistics::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    // The buttons follow the player at every frame: he may have died or gained a level since the last.
    Refresh_Plus_Buttons();
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 167, Top + 34, "Статистика");
    Draw_Values();
    End_Text(page);
}

void TDC_Dlg_Statistics::Draw_Values() {
    const TMonster* player = Player();
    if (!player) return;
    const TMonster& p = *player;
    Set_Font(2);
    if (p.Attribute_Points > 0) {
        Set_Text_Color(255, 255, 255);
        Set_Text_Justify(2, 2);
        Draw_Text(Left + 152, Top + 370,
                  "Доступно " + std::to_string(p.Attribute_Points) + ", выберите параметры.");
    }
    Set_Text_Color(Peach_Red, Peach_Green, Peach_Blue);
    const auto right = [this](int32_t x, int32_t y, const std::string& text) {
        Set_Text_Justify(3, 4);
        Draw_Text(Left + x, Top + y, text);
    };
    right(209, 76, std::to_string(p.Strength));
    right(209, 101, std::to_string(p.Intelligence));
    right(209, 126, std::to_string(p.Dexterity));
    right(209, 151, std::to_string(p.Constitution));
    right(148, 192, Pair_Text(static_cast<int64_t>(p.Life), p.Max_Life));
    right(148, 217, Pair_Text(static_cast<int64_t>(p.Mana), p.Max_Mana));
    right(148, 242, Pair_Text(p.Food, p.Max_Food));
    right(148, 267, Pair_Text(p.Weight, p.Max_Weight));
    right(80, 292, std::to_string(p.Attack));
    right(80, 317, std::to_string(p.Defense));
    right(148, 342, p.Damage_Text());
    const uint16_t resistances[] = {p.Fire_Resist, p.Cold_Resist, p.Lightning_Resist, p.Magic_Resist,
                                    p.Poison_Resist};
    for (int32_t i = 0; i < 5; ++i) right(295, 192 + 25 * i, std::to_string(resistances[i]) + "%");
    Set_Text_Justify(2, 4);
    Draw_Text(Left + 122, Top + 292, p.Hit_Chance_Text());
    Draw_Text(Left + 122, Top + 317, p.Miss_Chance_Text());
    Set_Text_Justify(1, 4);
    Draw_Text(Left + 196, Top + 317, Name_Of(Status_Names, p.Status));
}
