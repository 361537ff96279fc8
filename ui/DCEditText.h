// A one-line text field: letters, digits, blanks, "," and "." typed through their virtual keys, Backspace
// taking the last character off, and a caret that blinks while frames are drawn.
#pragma once

#include "ui/DisplayClass.h"

#include <cstdint>
#include <string>

// Virtual keys the field knows.
constexpr uint16_t Vk_Back = 8;
constexpr uint16_t Vk_Space = 32;
constexpr uint16_t Vk_Comma = 188;
constexpr uint16_t Vk_Period = 190;

class TDC_EditText : public TDisplay_Class {
public:
    TDC_EditText();

    void Set_Text_Color(int32_t red, int32_t green, int32_t blue);
    // Named and placed, not modal.
    void Set_Position(const std::string& name, int32_t left, int32_t top, int32_t width, int32_t height);

    // Only while enabled; the text has no length limit.
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;

    std::string Text; // UTF-8: a saved description may hold any script
    int32_t Text_Red = 255, Text_Green = 255, Text_Blue = 255;
    bool Caret_Shown = false;
    uint32_t Caret_Time = 0; // the millisecond tick count of the last flip
};

// The text without its last character: a whole UTF-8 sequence, so no broken byte is left behind.
std::string Without_Last_Character(const std::string& text);
