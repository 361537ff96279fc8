#include "ui/DCDlgOptions.h"

#include "core/MachineOptions.h"
#include "core/Module.h"
#include "media/DisplayGxFont.h"
#include "media/Sounds.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int32_t Speed_Step = 10;
// Toggles 3..6 are the autosave choices, of which exactly one is on.
constexpr int32_t First_Autosave = 3;
constexpr int32_t Last_Autosave = 6;

// The machine option each toggle shows, in toggle order.
std::array<bool*, TDC_Dlg_Options::Toggle_Count> Option_Fields(TMachine_Options& o) {
    return {&o.Play_Sounds,
            &o.Play_Music,
            &o.Dont_Autosave,
            &o.Autosave_Every_Minute,
            &o.Autosave_Every_5_Minutes,
            &o.Autosave_Every_20_Minutes,
            &o.Show_Drawing_Speed};
}

} // namespace

const std::array<const char*, TDC_Dlg_Options::Toggle_Count>& TDC_Dlg_Options::Toggle_Names() {
    static const std::array<const char*, Toggle_Count> names = {"Звуки",
                                                                "Музыка",
                                                                "Без автосохранения",
                                                                "Сохранения ежеминутно",
                                                                "Сохранения через 5 минут",
                                                                "Сохранения через 20 минут",
                                                                "Число кадров в секунду"};
    return names;
}

TDC_Dlg_Options::TDC_Dlg_Options() : TDC_Dlg_Picture("TDC_Dlg_Options", "Dlg_GameMenu.bmp", 307, 410, true) {
    Add_Close_Button(253, 357);
    const auto fields = Option_Fields(Machine_Options());
    for (int32_t n = 1; n <= Toggle_Count; ++n) {
        auto toggle = std::make_unique<TDC_Button_Toggle>();
        toggle->Set_Button_Type(1);
        toggle->Set_Frames(8, 9);
        toggle->Set_On(*fields[static_cast<std::size_t>(n - 1)]);
        toggle->Name = Toggle_Names()[static_cast<std::size_t>(n - 1)];
        toggle->Set_Visible(true);
        toggle->On_Click = [this, n](const std::string&) { Toggle_Click(n); };
        Add_Child_Control(toggle.get());
        Toggles_[static_cast<std::size_t>(n - 1)] = std::move(toggle);
    }
    // A stored value outside the range (an options file edited by hand) is brought back into it.
    Speed_ = Clamp_Game_Speed_Percent(Machine_Options().Game_Speed_Modified_Percent);
    for (auto [arrow, name, image, step] : {std::tuple{&Left_Arrow, "Left Arrow", 5, -Speed_Step},
                                            std::tuple{&Right_Arrow, "Right Arrow", 6, Speed_Step}}) {
        arrow->Set_Button_Type(1);
        arrow->Set_Image_Index(image);
        arrow->Name = name;
        arrow->Set_Visible(true);
        arrow->On_Click = [this, step = step](const std::string&) { Arrow_Click(step); };
        Add_Child_Control(arrow);
    }
    Refresh_Arrows();
}

void TDC_Dlg_Options::Reposition() {
    TDC_Dlg_Picture::Reposition();
    for (int32_t n = 1; n <= Toggle_Count; ++n) Toggle(n).Place(Toggle(n).Name, Left + 18, Top + 29 + 26 * n);
    Left_Arrow.Place("Left Arrow", Left + 18, Top + 237);
    Right_Arrow.Place("Right Arrow", Left + 190, Top + 237);
}

void TDC_Dlg_Options::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + Get_Width() / 2, Top + 33, "Опции");
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(1, 2);
    for (int32_t n = 1; n <= Toggle_Count; ++n)
        Draw_Text(Toggle(n).Left + 34, Toggle(n).Top + 14, Toggle(n).Name);
    Draw_Text(Left_Arrow.Left + 34, Left_Arrow.Top + 14, "Скорость: " + std::to_string(Speed_) + "%");
    End_Text(page);
}

void TDC_Dlg_Options::Toggle_Click(int32_t n) {
    // An autosave choice switched on switches the other three off.
    if (n >= First_Autosave && n <= Last_Autosave && Toggle(n).Is_On())
        for (int32_t other = First_Autosave; other <= Last_Autosave; ++other)
            if (other != n) Toggle(other).Set_On(false);
    bool any = false;
    for (int32_t k = First_Autosave; k <= Last_Autosave; ++k) any = any || Toggle(k).Is_On();
    // None left on means no autosave.
    if (!any) Toggle(First_Autosave).Set_On(true);
}

void TDC_Dlg_Options::Arrow_Click(int32_t step) {
    // Clamped at each step: a stored speed off the grid of tens (15) must not step out of the range.
    Speed_ = std::clamp(Speed_ + step, Min_Game_Speed_Percent, Max_Game_Speed_Percent);
    Refresh_Arrows();
}

void TDC_Dlg_Options::Refresh_Arrows() {
    Left_Arrow.Enabled = Speed_ > Min_Game_Speed_Percent;
    Right_Arrow.Enabled = Speed_ < Max_Game_Speed_Percent;
}

void TDC_Dlg_Options::Close() {
    TMachine_Options& options = Machine_Options();
    const auto fields = Option_Fields(options);
    for (int32_t n = 1; n <= Toggle_Count; ++n) *fields[static_cast<std::size_t>(n - 1)] = Toggle(n).Is_On();
    options.Game_Speed_Modified_Percent = Speed_;
    if (options.Play_Music) {
        const TModule* module = Module();
        Sounds().Sound_Start_Music(module ? module->Get_Current_Map_Music() : std::string());
    } else {
        Sounds().Sound_Stop_Music();
    }
    Save_Machine_Options();
    TDC_Dlg_Picture::Close();
}
