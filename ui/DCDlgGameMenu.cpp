#include "ui/DCDlgGameMenu.h"

#include "media/DisplayGxFont.h"

const std::array<const char*, TDC_Dlg_Game_Menu::Entry_Count>& TDC_Dlg_Game_Menu::Entry_Names() {
    static const std::array<const char*, Entry_Count> names = {"Загрузить", "Сохранить", "Экспортировать",
                                                               "Опции",     "Рекорды",   "Выйти"};
    return names;
}

TDC_Dlg_Game_Menu::TDC_Dlg_Game_Menu()
    : TDC_Dlg_Picture("TDC_Dlg_Game_Menu", "Dlg_GameMenu.bmp", 307, 410, true) {
    Add_Close_Button(253, 357);
    static constexpr int32_t Images[Entry_Count] = {2, 3, 6, 1, 0, 4};
    for (int32_t n = 1; n <= Entry_Count; ++n) {
        auto button = std::make_unique<TDC_Button>();
        button->Set_Button_Type(4);
        button->Set_Image_Index(Images[n - 1]);
        button->Name = Entry_Names()[static_cast<std::size_t>(n - 1)];
        button->Set_Visible(true);
        button->On_Click = [this, n](const std::string&) {
            Result = n;
            Close();
        };
        Add_Child_Control(button.get());
        Entries_[static_cast<std::size_t>(n - 1)] = std::move(button);
    }
}

void TDC_Dlg_Game_Menu::Reposition() {
    TDC_Dlg_Picture::Reposition();
    for (int32_t n = 1; n <= Entry_Count; ++n) Entry(n).Place(Entry(n).Name, Left + 24, Top + 13 + 44 * n);
}

void TDC_Dlg_Game_Menu::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + Get_Width() / 2, Top + 33, "Меню игры");
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(1, 2);
    for (int32_t n = 1; n <= Entry_Count; ++n)
        Draw_Text(Entry(n).Left + 50, Entry(n).Top + 20, Entry(n).Name);
    End_Text(page);
}

void TDC_Dlg_Game_Menu::Handle_KeyDown(uint16_t& key, int32_t shift) {
    // G opened the menu and closes it again, without a choice.
    if (key == Vk_G) {
        Result = 0;
        Close();
        return;
    }
    TDC_Dlg_Picture::Handle_KeyDown(key, shift);
}
