#include "ui/DCDlgQuests.h"

#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"

TDC_Dlg_Quests::TDC_Dlg_Quests() : TDC_Dlg_Picture("TDC_Dlg_Quests", "Dlg_Quests.bmp", 427, 515, true) {
    Add_Close_Button(354, 449);
    Quest_List.Name = "Quest List";
    Quest_List.Set_Background_Color(55, 55, 55);
    Quest_List.Line_Height = 54;
    Quest_List.Wrap = true;
    Quest_List.Show_Selection = false;
    Quest_List.Show_Hover = false;
    Quest_List.On_Owner_Draw = [this](const std::string&, int32_t line, int32_t page, const std::string&,
                                      bool, int32_t line_height, int32_t width, int32_t top,
                                      int32_t left) { Draw_Line(line, page, line_height, width, top, left); };
    Quest_List.Set_Visible(true);
    Add_Child_Control(&Quest_List);
    if (const TModule* module = Module()) {
        const TModule_Quests_List& quests = module->Quests;
        for (int32_t q = 1; q <= quests.Quest_Count(); ++q)
            if (quests.Get_Quest(q)->Visible) {
                Quest_List.Add("");
                Quest_Numbers_.Add(static_cast<uint16_t>(q));
            }
    }
    if (TMonster* player = Player()) player->Set_Quests_Changed(false);
}

void TDC_Dlg_Quests::Reposition() {
    TDC_Dlg_Picture::Reposition();
    Quest_List.Set_Position("Quest List", Left + 43, Top + 68, 331, 373);
}

void TDC_Dlg_Quests::Handle_KeyDown(uint16_t& key, int32_t shift) {
    if (key == Vk_Q) {
        Close();
        return;
    }
    TDC_Dlg_Picture::Handle_KeyDown(key, shift);
}

void TDC_Dlg_Quests::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 207, Top + 47, "Задачи");
    End_Text(page);
}

void TDC_Dlg_Quests::Draw_Line(int32_t line, int32_t page, int32_t line_height, int32_t width, int32_t top,
                               int32_t left) {
    const TModule* module = Module();
    if (!module || line < 1 || line > Quest_Numbers_.Count()) return;
    // The module may have been replaced under the journal; a number it no longer holds draws nothing.
    const TModule_Quest* quest = module->Quests.Get_Quest(Quest_Numbers_.Get(line));
    if (!quest) return;
    const bool done = quest->Completed;
    if (const TDisplay_Object* display = Display_Object())
        display->Draw_Small_Icon(page, left + 2, top + 2, done ? 1 : 0);
    Begin_Text(page);
    Set_Font(1);
    Set_Text_Justify(1, 4);
    if (done)
        Set_Text_Color(100, 100, 100);
    else
        Set_Text_Color(255, 255, 255);
    Draw_Text_Wrapped(left + 22, top, 210, line_height, quest->Description);
    // A failed quest that was never completed still reads as under way.
    if (done)
        Set_Text_Color(100, 100, 100);
    else
        Set_Text_Color(0, 255, 0);
    Draw_Text_Wrapped(left + 240, top, width - 240, line_height, done ? "Завершено" : "Выполняется");
    End_Text(page);
}
