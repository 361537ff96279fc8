// The main menu: new game, resume, load, high scores, credits and quit. The credits replace the menu's
// buttons with the names of the people who made the game until "Назад" brings the menu back.
#pragma once

#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TDC_Text_Button;

// What the menu closed with.
enum : int32_t {
    Menu_None = 0,
    Menu_New_Game = 1,
    Menu_Resume = 2,
    Menu_Load = 3,
    Menu_High_Scores = 4,
    Menu_Quit = 6,
};

// The credits: the five headings and the people named under them.
struct TCredit {
    const char* Heading;
    const char* Name;
};
inline constexpr std::array<TCredit, 5> Credits = {{
    {"Дизайн", "Agnes Holloway"},
    {"Реализация ", "Tomas Brandt"},
    {"Графика", "Mirela Kovac"},
    {"    Звуки    ", "Oskar Lindqvist"},
    {"Музыка", "Ines Varga"},
}};

class TDC_Dlg_Menu : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 270;
    static constexpr int32_t Dialog_Height = 560;
    static constexpr int32_t Button_Count = 6;

    TDC_Dlg_Menu();
    ~TDC_Dlg_Menu() override;

    void Handle_DrawPage(int32_t page) override;
    // Takes no keys: Escape does not close it.
    void Handle_KeyDown(uint16_t&, int32_t) override {}
    void Reposition() override;

    void ControlButtonClick(const std::string& name);
    void Show_Credits(bool show);

    // 1..4 or 6 once closed by a choice; 0 while open and when the menu could not open.
    int32_t Get_Menu_Result() const { return Result; }
    bool Credits_Shown() const { return Credits_Shown_; }
    TDC_Text_Button& Button(int32_t n) { return *Buttons[static_cast<std::size_t>(n - 1)]; }

private:
    std::array<std::unique_ptr<TDC_Text_Button>, Button_Count> Buttons;
    int32_t Result = Menu_None;
    bool Credits_Shown_ = false;
};
