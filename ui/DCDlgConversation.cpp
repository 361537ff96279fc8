#include "ui/DCDlgConversation.h"

#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "media/DisplayGxFont.h"

TDC_Dlg_Conversation::TDC_Dlg_Conversation()
    : TDC_Dlg_Picture("TDC_Dlg_Conversation", "Dlg_Conversation.bmp", 507, 307, true) {
    Add_Close_Button(455, 255);
    Topic_List.Name = "Topic List";
    Topic_List.Set_Background_Color(55, 55, 55);
    Topic_List.Set_Visible(true);
    Topic_List.On_Click = [this](const std::string&, int32_t line) { Choose_Topic(line); };
    Add_Child_Control(&Topic_List);
}

void TDC_Dlg_Conversation::Set_Monster(uint16_t monster_id) {
    Monster_Id = monster_id;
    Topic_List.Clear();
    if (const TMonster* creature = Creature_By_Id(monster_id))
        for (const std::string& topic : creature->Talk_Topics) Topic_List.Add(topic);
}

void TDC_Dlg_Conversation::Choose_Topic(int32_t n) {
    const TMonster* creature = Creature_By_Id(Monster_Id);
    if (!creature || n < 1 || n > static_cast<int32_t>(creature->Talk_Topics.size())) return;
    // The texts run parallel to the topics; a creature read from a file always has both of equal length.
    const auto index = static_cast<std::size_t>(n - 1);
    Answer_ = index < creature->Talk_Texts.size() ? creature->Talk_Texts[index] : std::string();
    if (creature->Event_Id != 0)
        if (TModule* module = Module())
            module->Events.Fire_Monster_Talked_To_About_Topic(creature->Event_Id, n);
}

void TDC_Dlg_Conversation::Reposition() {
    TDC_Dlg_Picture::Reposition();
    Topic_List.Set_Position("Topic List", Left + 21, Top + 87, 163, 195);
}

void TDC_Dlg_Conversation::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    if (const TMonster* creature = Creature_By_Id(Monster_Id)) {
        creature->Draw(page, Left + 12, Top + 22);
        Begin_Text(page);
        Set_Font(6);
        Set_Text_Color(0, 0, 0);
        Set_Text_Justify(2, 2);
        Draw_Text(Left + 255, Top + 29, "Общение с " + creature->Name);
        End_Text(page);
    }
    Begin_Text(page);
    Set_Font(1);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(1, 4);
    Draw_Text_Wrapped(Left + 232, Top + 60, 242, 188, Answer_);
    End_Text(page);
}
