#include "ui/DCDlgDead.h"

#include "core/CharClass.h"
#include "core/GameSettings.h"
#include "core/GlobalFuncs.h"
#include "core/HighScores.h"
#include "core/Path.h"
#include "media/DisplayGxFont.h"
#include "media/Sounds.h"

std::string Class_Name_Of(int32_t class_number) {
    const TClass_Info* info = Get_Class(class_number);
    return info ? info->Name : std::string();
}

TDC_Dlg_Dead::TDC_Dlg_Dead() : TDC_Dlg_Picture("TDC_Dlg_Dead", "Dlg_Dead.bmp", 460, 572, true) {
    Add_Close_Button(395, 507);
    if (const TGame_Settings* settings = Game_Settings())
        Sounds().Sound_Start_Music(settings->Music_Song_Death);
}

void TDC_Dlg_Dead::Set_Death_Info(const std::string& name, int32_t class_number, uint16_t level,
                                  int32_t experience, const std::string& killer_name, uint16_t killer_level,
                                  const std::string& effect_name) {
    Character_Name = name;
    Class_Number = class_number;
    Level = level;
    Experience = experience;
    Killer_Name = killer_name;
    Killer_Level = killer_level;
    Effect_Name = effect_name;
    const TPath_Settings* paths = Path_Settings();
    if (!paths) return;
    const std::string file = paths->Get_High_Scores_File();
    THigh_Scores_List scores;
    scores.Load(file);
    New_Record = scores.Add(name, Class_Name_Of(class_number), level, experience);
    scores.Save(file);
}

std::string TDC_Dlg_Dead::Death_Text() const {
    std::string text = Character_Name + ", смерть пришла. " + "Был достигнут уровень " +
                       std::to_string(Level) + " и " + Int_To_Str_Grouped(Experience) +
                       " опыта заработано специализацией " + Class_Name_Of(Class_Number) + ". ";
    if (Effect_Name.empty())
        text += "Вас убил противник, уровня " + std::to_string(Killer_Level) + ", " + Killer_Name + ".";
    else
        text += "Вас убил эффект от " + Effect_Name + ".";
    if (New_Record) text += " Установлен новый рекорд!";
    return text;
}

void TDC_Dlg_Dead::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 224, Top + 47, "Death");
    Set_Font(5);
    Set_Text_Justify(1, 5);
    Draw_Text_Wrapped(Left + 51, Top + 341, 342, 136, Death_Text());
    End_Text(page);
}
