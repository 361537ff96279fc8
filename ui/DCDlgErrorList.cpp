#include "ui/DCDlgErrorList.h"

TDC_Dlg_ErrorList::TDC_Dlg_ErrorList()
    : TDC_Dlg_Picture("TDC_Dlg_ErrorList", "Dlg_ErrorList.bmp", 338, 348, true) {
    Add_Close_Button(290, 300);
    Error_List.Name = "Error List";
    Error_List.Set_Background_Color(55, 55, 55);
    Error_List.Line_Height = 32;
    Error_List.Wrap = true;
    Error_List.Show_Selection = false;
    Error_List.Show_Hover = false;
    Error_List.Set_Visible(true);
    Add_Child_Control(&Error_List);
}

void TDC_Dlg_ErrorList::Set_Errors(const TString_List& lines, const std::string& first_heading,
                                   const std::string& second_heading) {
    Error_List.Add(first_heading);
    Error_List.Add(second_heading);
    for (const std::string& line : lines) Error_List.Add(line);
}

void TDC_Dlg_ErrorList::Reposition() {
    TDC_Dlg_Picture::Reposition();
    Error_List.Set_Position("Error List", Left + 20, Top + 64, 288, 227);
}
