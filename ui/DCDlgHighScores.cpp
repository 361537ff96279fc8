#include "ui/DCDlgHighScores.h"

#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "media/DisplayGxFont.h"

TDC_Dlg_HighScores::TDC_Dlg_HighScores()
    : TDC_Dlg_Picture("TDC_Dlg_HighScores", "Dlg_HighScores.bmp", 696, 552, true) {
    Add_Close_Button(641, 497);
    // A missing or broken file shows what could be read: the table is never an error.
    if (const TPath_Settings* paths = Path_Settings()) Scores.Load(paths->Get_High_Scores_File());
}

void TDC_Dlg_HighScores::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 347, Top + 46, "Рекорды");
    Set_Text_Color(255, 255, 255);
    for (int32_t n = 1; n <= THigh_Scores_List::Entry_Count; ++n) {
        const int32_t y = Top + 95 + 42 * (n - 1);
        Set_Text_Justify(1, 5);
        Draw_Text(Left + 86, y, std::to_string(n) + ".");
        const THigh_Score* entry = Scores.Get(n);
        // The file always holds ten entries; the empty ones were never set.
        if (!entry || *entry == THigh_Score{}) continue;
        Draw_Text(Left + 148, y, entry->Name);
        Draw_Text(Left + 320, y, entry->Class_Name);
        Set_Text_Justify(3, 5);
        if (entry->Level != 0) Draw_Text(Left + 460, y, std::to_string(entry->Level));
        if (entry->Experience > 0) Draw_Text(Left + 598, y, Int_To_Str_Grouped(entry->Experience));
    }
    End_Text(page);
}
