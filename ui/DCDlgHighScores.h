// The high-score table: ten numbered rows read from the high-score file when the dialog is made; a row
// without an entry shows only its number, a level of 0 and an experience not above 0 are left out.
#pragma once

#include "core/HighScores.h"
#include "ui/DCDlgPicture.h"

class TDC_Dlg_HighScores : public TDC_Dlg_Picture {
public:
    TDC_Dlg_HighScores();
    void Handle_DrawPage(int32_t page) override;

    THigh_Scores_List Scores;
};
