#include "ui/DCDlgSpellsAdd.h"

#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"
#include "core/Spells.h"
#include "media/DisplayGxFont.h"
#include "media/GfxDevice.h"
#include "ui/CursorTarget.h"

namespace {

// The grid's first cell, from the dialog's corner.
constexpr int32_t Grid_Left = 231, Grid_Top = 52;

} // namespace

TDC_Dlg_Spells_Add::TDC_Dlg_Spells_Add()
    : TDC_Dlg_Picture("TDC_Dlg_Spells_Add", "Dlg_SpellList.bmp", 619, 307, true) {
    Add_Close_Button(563, 251);
    for (int32_t n = 1; n <= Group_Count; ++n) {
        auto toggle = std::make_unique<TDC_Button_Toggle>();
        toggle->Set_Button_Type(1);
        toggle->Set_Frames(8, 9);
        toggle->Name = "Opt " + std::to_string(n);
        toggle->Set_Visible(true);
        toggle->On_Click = [this](const std::string& name) { Group_Click(name); };
        Add_Child_Control(toggle.get());
        Toggles_[static_cast<std::size_t>(n - 1)] = std::move(toggle);
    }
    if (const TMonster* player = Player())
        for (int32_t n = 1; n <= Group_Count; ++n)
            Group_Names_[static_cast<std::size_t>(n - 1)] = player->Class_Skill_Name(n);
    Group_Click("Opt 1");
}

TDC_Dlg_Spells_Add::~TDC_Dlg_Spells_Add() {
    Clear_Cursor_Target();
    // The spells learnt here join the quick bar where it has room; a player who died has no bar.
    if (TMonster* player = Player()) player->Spells.Fill_Quick_Bar(false, true);
}

void TDC_Dlg_Spells_Add::Reposition() {
    TDC_Dlg_Picture::Reposition();
    for (int32_t n = 1; n <= Group_Count; ++n) Toggle(n).Place(Toggle(n).Name, Left + 18, Top + 20 + 29 * n);
}

void TDC_Dlg_Spells_Add::Group_Click(const std::string& name) {
    if (!Player()) return;
    for (int32_t n = 1; n <= Group_Count; ++n) Toggle(n).Set_On(Toggle(n).Name == name);
    for (int32_t n = 1; n <= Group_Count; ++n)
        if (Toggle(n).Is_On()) Chosen_Group_ = n;
    Build_List();
}

void TDC_Dlg_Spells_Add::Build_List() {
    Spell_Ids_.Clear();
    Learnable_.Clear();
    const TMonster* player = Player();
    if (!player) return;
    TWordList ids, groups;
    player->Class_Spells_Of_Skill(ids, groups);
    for (int32_t n = 1; n <= ids.Count(); ++n) {
        if (groups.Get(n) != Chosen_Group_) continue;
        const TSpell* spell = Get_Master_Spell(ids.Get(n));
        if (!spell) continue;
        Spell_Ids_.Add(ids.Get(n));
        Learnable_.Add(player->Can_Learn_Spell(*spell) ? 1 : 0);
    }
}

int32_t TDC_Dlg_Spells_Add::Entry_At(int32_t x, int32_t y) const {
    for (int32_t j = 1; j <= Grid_Rows_Clickable; ++j)
        for (int32_t i = 1; i <= Grid_Columns; ++i) {
            const int32_t cx = Left + Grid_Left - Cell_Step + Cell_Step * i;
            const int32_t cy = Top + Grid_Top - Cell_Step + Cell_Step * j;
            if (x < cx || x > cx + Cell_Size || y < cy || y > cy + Cell_Size) continue;
            const int32_t entry = (j - 1) * Grid_Columns + i;
            return entry <= Spell_Ids_.Count() ? entry : 0;
        }
    return 0;
}

void TDC_Dlg_Spells_Add::Handle_MouseMove(int32_t, int32_t x, int32_t y) {
    Pointer_X_ = x;
    Pointer_Y_ = y;
    const int32_t entry = Player() ? Entry_At(x, y) : 0;
    if (entry > 0)
        Set_Cursor_Target_Spell(Spell_Ids_.Get(entry));
    else
        Clear_Cursor_Target();
}

void TDC_Dlg_Spells_Add::Handle_MouseDown(int32_t, int32_t shift, int32_t x, int32_t y) {
    if (!(shift & Shift_Left)) return;
    if (const int32_t entry = Entry_At(x, y)) Learn(entry);
}

void TDC_Dlg_Spells_Add::Learn(int32_t entry) {
    TMonster* player = Player();
    if (!player || player->Skill_Points <= 0) return;
    const uint16_t id = Spell_Ids_.Get(entry);
    const TSpell* spell = Get_Master_Spell(id);
    if (!spell) return;
    // The level shown, skill-level bonuses included, is held to the maximum; the point buys a stored level.
    if (player->Spells.Spell_Level(id) >= player->Spell_Maximum_Level(*spell) || Learnable_.Get(entry) != 1)
        return;
    player->Spells.Set_Spell(id, static_cast<uint16_t>(player->Spells.Base_Spell_Level(id) + 1), 100);
    player->Use_Skill_Point();
    Build_List();
    Sound_Play("button.wav");
}

void TDC_Dlg_Spells_Add::Handle_KeyDown(uint16_t& key, int32_t shift) {
    if (key == Vk_S) {
        Close();
        return;
    }
    TDC_Dlg_Picture::Handle_KeyDown(key, shift);
}

void TDC_Dlg_Spells_Add::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    const TMonster* player = Player();
    for (int32_t n = 1; n <= Group_Count; ++n) Toggle(n).Set_Visible(player != nullptr);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 307, Top + 32, "Список умений");
    if (player) {
        Set_Font(2);
        Set_Text_Color(255, 255, 255);
        if (player->Skill_Points > 0)
            Draw_Text(Left + 401, Top + 263,
                      "Доступно " + std::to_string(player->Skill_Points) + ", выберите умения.");
        Set_Font(1);
        Set_Text_Justify(1, 5);
        for (int32_t i = 1; i <= Group_Count; ++i)
            Draw_Text(Left + 56, Top + 24 + 29 * i, Group_Names_[static_cast<std::size_t>(i - 1)]);
    }
    End_Text(page);
    if (player) Draw_Grid(page);
}

void TDC_Dlg_Spells_Add::Draw_Grid(int32_t page) {
    const TMonster* player = Player();
    for (int32_t b = 1; b <= Spell_Ids_.Count(); ++b) {
        const int32_t x = Left + Grid_Left + Cell_Step * ((b - 1) % Grid_Columns);
        const int32_t y = Top + Grid_Top + Cell_Step * ((b - 1) / Grid_Columns);
        if (Mouse_Over && Pointer_X_ >= x && Pointer_X_ <= x + Cell_Size && Pointer_Y_ >= y &&
            Pointer_Y_ <= y + Cell_Size && gx_vbopen(page) == 0) {
            Gx_Set_Color(Gx_Rgb_To_Color(11, 31, 183));
            Gx_Fill_Rect(x, x + Cell_Size - 1, y, y + Cell_Size - 1);
        }
        const uint16_t id = Spell_Ids_.Get(b);
        if (const TSpell* spell = Get_Master_Spell(id))
            spell->Draw_Icon_With_Number(page, x - 3, player->Spells.Spell_Level(id), Learnable_.Get(b),
                                         y - 3);
    }
}
