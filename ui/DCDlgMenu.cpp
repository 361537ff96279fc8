#include "ui/DCDlgMenu.h"

#include "core/DebugLog.h"
#include "media/DisplayGxFont.h"
#include "media/GfxDevice.h"
#include "ui/DCButton.h"

namespace {
const char* const Unit = "DCDlgMenu";
const std::array<const char*, TDC_Dlg_Menu::Button_Count> Captions = {
    "Новая игра", "Продолжить ", "Загрузить", "  Рекорды  ", "Авторы ", "Выход"};

// The menu shows the picture named for the intro (see the intro).
const char* const Menu_Picture = "Dlg_Intro.bmp";
} // namespace

TDC_Dlg_Menu::TDC_Dlg_Menu()
    : TDC_Dlg_Picture("TDC_Dlg_Menu", Menu_Picture, Dialog_Width, Dialog_Height, true) {
    if (!Picture_Loaded()) {
        Log(Unit, "  ERROR: gx_vbopen = " + std::to_string(Picture_Open_Code()));
        Set_Kill_Object(1);
        return;
    }
    for (std::size_t i = 0; i < Buttons.size(); ++i) {
        auto button = std::make_unique<TDC_Text_Button>();
        button->Set_Button_Type(7);
        button->Set_Image_Index(0);
        button->Set_Text(Captions[i]);
        button->Set_Visible(true);
        button->On_Click = [this](const std::string& name) { ControlButtonClick(name); };
        Add_Child_Control(button.get());
        Buttons[i] = std::move(button);
    }
}

TDC_Dlg_Menu::~TDC_Dlg_Menu() = default;

void TDC_Dlg_Menu::Reposition() {
    for (int32_t n = 1; n <= Button_Count; ++n)
        if (Buttons[static_cast<std::size_t>(n - 1)])
            Button(n).Place("Menu Button " + std::to_string(n), Left + Dialog_Width / 2 - 100,
                            Top + 151 + 51 * n);
}

void TDC_Dlg_Menu::ControlButtonClick(const std::string& name) {
    for (int32_t n = Menu_New_Game; n <= Menu_High_Scores; ++n)
        if (name == "Menu Button " + std::to_string(n)) {
            Result = n;
            Set_Kill_Object(1);
            return;
        }
    if (name == "Menu Button 5") {
        Show_Credits(true);
    } else if (name == "Menu Button 6") {
        if (Credits_Shown_) {
            Show_Credits(false);
        } else {
            Result = Menu_Quit;
            Set_Kill_Object(1);
        }
    }
}

void TDC_Dlg_Menu::Show_Credits(bool show) {
    Credits_Shown_ = show;
    for (int32_t n = 1; n <= Button_Count - 1; ++n)
        if (Buttons[static_cast<std::size_t>(n - 1)]) Button(n).Set_Visible(!show);
    if (Buttons[Button_Count - 1]) Button(Button_Count).Set_Text(show ? "Назад" : "Выход");
}

void TDC_Dlg_Menu::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    if (!Credits_Shown_) return;
    Begin_Text(page);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(2, 2);
    const int32_t x = Left + 129;
    Set_Font(6);
    Draw_Text(x, Top + 199, "Murkhollow");
    for (std::size_t i = 0; i < Credits.size(); ++i) {
        const int32_t y = Top + 229 + 42 * static_cast<int32_t>(i);
        Set_Font(6);
        Draw_Text(x, y, Credits[i].Heading);
        Set_Font(3);
        Draw_Text(x, y + 14, Credits[i].Name);
    }
    End_Text(page);
}
