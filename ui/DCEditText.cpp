#include "ui/DCEditText.h"

#include "core/Clock.h"
#include "media/DisplayGxFont.h"
#include "media/GfxDevice.h"
#include "platform/TextBackend.h"

namespace {

// The caret flips when more than this many milliseconds have passed since the last flip.
constexpr uint32_t Caret_Period = 500;

// The character a key gives, or none (empty).
std::string Key_Character(uint16_t key, bool shift) {
    static const char Shifted_Digits[] = ")!@#$%^&*(";
    if (key == Vk_Comma) return ",";
    if (key == Vk_Period) return ".";
    if (key == Vk_Space) return " ";
    if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(shift ? key : key - 'A' + 'a'));
    if (key >= '0' && key <= '9')
        return std::string(1, shift ? Shifted_Digits[key - '0'] : static_cast<char>(key));
    return {};
}

} // namespace

std::string Without_Last_Character(const std::string& text) {
    std::size_t last = 0;
    for (std::size_t at = 0; at < text.size(); at += plat::Utf8_Char_Bytes(text, at)) last = at;
    return text.substr(0, last);
}

TDC_EditText::TDC_EditText() : Caret_Time(Get_Ticks()) {}

void TDC_EditText::Set_Text_Color(int32_t red, int32_t green, int32_t blue) {
    Text_Red = red;
    Text_Green = green;
    Text_Blue = blue;
}

void TDC_EditText::Set_Position(const std::string& name, int32_t left, int32_t top, int32_t width,
                                int32_t height) {
    TDisplay_Class::Set_Position(name, left, top, width, height, false);
}

void TDC_EditText::Handle_KeyDown(uint16_t& key, int32_t shift) {
    if (!Enabled) return;
    if (key == Vk_Back) {
        Text = Without_Last_Character(Text);
        return;
    }
    Text += Key_Character(key, (shift & Shift_Key) != 0);
}

void TDC_EditText::Handle_DrawPage(int32_t page) {
    const uint32_t now = Get_Ticks();
    if (now - Caret_Time > Caret_Period) {
        Caret_Shown = !Caret_Shown;
        Caret_Time = now;
    }
    Begin_Text(page);
    Set_Font(3);
    ::Set_Text_Color(Text_Red, Text_Green, Text_Blue);
    Set_Text_Justify(1, 2);
    Draw_Text(Left + 3, Top + Height / 2 + 1, Text);
    // Drawing moved the position past the text's end.
    const int32_t end = Gx_Get_X();
    if (Caret_Shown && Enabled) {
        Gx_Set_Color(Gx_Rgb_To_Color(255, 255, 255));
        Gx_Fill_Rect(end + 1, end + 1, Top + 2, Top + Height - 3);
    }
    End_Text(page);
}
