#include "ui/DCDlgDifficulty.h"

#include "core/GameOptions.h"
#include "media/DisplayGxFont.h"
#include "ui/DCButton.h"

namespace {
const std::array<const char*, TDC_Dlg_Difficulty::Button_Count> Captions = {"Лёгкий", "Средний", "Сложно",
                                                                            "Мастер", "Отмена"};
} // namespace

TDC_Dlg_Difficulty::TDC_Dlg_Difficulty()
    : TDC_Dlg_Picture("TDC_Dlg_Difficulty", "Dlg_Difficulty.bmp", Dialog_Width, Dialog_Height, true) {
    for (std::size_t i = 0; i < Buttons.size(); ++i) {
        auto button =
            Make_Dialog_Button(Captions[i], [this](const std::string& name) { Button_Click(name); });
        Add_Child_Control(button.get());
        Buttons[i] = std::move(button);
    }
}

TDC_Dlg_Difficulty::~TDC_Dlg_Difficulty() = default;

void TDC_Dlg_Difficulty::Reposition() {
    const int32_t x = Left + Dialog_Width / 2 - 105;
    for (int32_t n = 1; n <= 4; ++n) Button(n).Place("Button " + std::to_string(n), x, Top + 22 + 45 * n);
    Button(5).Place("Button 5", x, Top + 282);
}

void TDC_Dlg_Difficulty::Handle_KeyDown(uint16_t& key, int32_t) {
    if (key == Vk_Escape) Button_Click("Button 5");
}

void TDC_Dlg_Difficulty::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 131, Top + 33, "Сложность");
    End_Text(page);
}

void TDC_Dlg_Difficulty::Button_Click(const std::string& name) {
    for (int32_t n = 1; n <= 4; ++n)
        if (name == "Button " + std::to_string(n)) {
            Result = n;
            if (TGame_Options* options = Game_Options()) options->Difficulty = static_cast<uint8_t>(n);
            Set_Kill_Object(1);
            return;
        }
    if (name == "Button 5") {
        Result = Difficulty_Cancel;
        Set_Kill_Object(1);
    }
}
