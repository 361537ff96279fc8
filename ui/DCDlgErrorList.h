// The error-list box: the errors of a data file under two headings, in a scrolling list of wrapped lines.
#pragma once

#include "core/SaveStream.h"
#include "ui/DCDlgPicture.h"
#include "ui/DCList.h"

#include <string>

class TDC_Dlg_ErrorList : public TDC_Dlg_Picture {
public:
    TDC_Dlg_ErrorList();
    // Appends the first heading, the second heading, then every line, in that order.
    void Set_Errors(const TString_List& lines, const std::string& first_heading,
                    const std::string& second_heading);
    void Reposition() override;

    TDC_List Error_List;
};
