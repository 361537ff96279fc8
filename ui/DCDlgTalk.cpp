#include "ui/DCDlgTalk.h"

#include "core/MapMain.h"
#include "core/Monster.h"

namespace {

const char* const Caption_Talk = "Общение";
const char* const Caption_Trade = "Торговать";
const char* const Caption_Give = "Передать";
const char* const Caption_Cancel = "Отмена";

} // namespace

TDC_Dlg_Talk::TDC_Dlg_Talk() : TDC_Dlg_Picture("TDC_Dlg_Talk", "Dlg_Talk.bmp", 267, 179, true) {
    for (int32_t n = 1; n <= Button_Count; ++n) {
        auto button = std::make_unique<TDC_Text_Button>();
        button->Set_Button_Type(9);
        button->Set_Image_Index(0);
        button->Font_Style = 1;
        button->Caption_Y_Offset = 2;
        button->Name = "Button " + std::to_string(n);
        button->Set_Visible(true);
        button->On_Click = [this, n](const std::string&) { Button_Click(n); };
        Add_Child_Control(button.get());
        Buttons_[static_cast<std::size_t>(n - 1)] = std::move(button);
    }
    Button(Button_Count).Set_Text(Caption_Cancel);
}

void TDC_Dlg_Talk::Set_Monster(uint16_t monster_id) {
    Monster_Id = monster_id;
    for (int32_t n = 1; n < Button_Count; ++n) Button(n).Set_Text("");
    const TMonster* creature = Creature_By_Id(monster_id);
    if (!creature) return;
    const TMap* map = Current_Map();
    int32_t next = 1;
    if (!creature->Talk_Topics.empty()) Button(next++).Set_Text(Caption_Talk);
    // A store number that names no store of this map (data made for another map) offers no trade: the
    // store dialog could neither show nor take anything.
    if (map && map->Get_Store(creature->Store_Id)) Button(next++).Set_Text(Caption_Trade);
    if (creature->Can_Be_Given_Items) Button(next++).Set_Text(Caption_Give);
}

int32_t TDC_Dlg_Talk::Get_Store_Number() const {
    const TMonster* creature = Creature_By_Id(Monster_Id);
    return creature ? creature->Store_Id : 0;
}

void TDC_Dlg_Talk::Reposition() {
    TDC_Dlg_Picture::Reposition();
    for (int32_t n = 1; n <= Button_Count; ++n) Button(n).Place(Button(n).Name, Left + 16, Top + 27 * n - 10);
}

void TDC_Dlg_Talk::Close() {
    Choice = Talk_Choice_None;
    TDC_Dlg_Picture::Close();
}

void TDC_Dlg_Talk::Button_Click(int32_t n) {
    if (n == Button_Count) {
        Close();
        return;
    }
    const std::string& caption = Button(n).Caption;
    if (caption == Caption_Talk)
        Choice = Talk_Choice_Talk;
    else if (caption == Caption_Trade)
        Choice = Talk_Choice_Trade;
    else if (caption == Caption_Give)
        Choice = Talk_Choice_Give;
    else
        return;
    TDC_Dlg_Picture::Close();
}
