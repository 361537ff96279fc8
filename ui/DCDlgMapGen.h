// The map generator's preview: the designer chooses a module and one of its tiles files, and Generate digs
// that map into the current map exactly as module creation would, without saving anything. The view shows
// a 15 x 15 window of the result; the overview beside it shows the whole map one pixel a square, and a
// click there or the arrow keys move the window.
#pragma once

#include "ui/DCDlgPicture.h"

#include <cstdint>
#include <memory>
#include <string>

class TDC_Dlg_Select_Module;
class TDC_List;
class TDC_Text_Button;

class TDC_Dlg_MapGen : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 800;
    static constexpr int32_t Dialog_Height = 600;

    TDC_Dlg_MapGen();
    ~TDC_Dlg_MapGen() override;

    void Kill_Child_Control(const std::string& name) override;
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    void Button_Click(const std::string& name);
    // Digs the map of the selected tiles file into the current map; nothing without a selection.
    void Generate();

    int32_t View_X() const { return View_X_; }
    int32_t View_Y() const { return View_Y_; }
    TDC_List& File_List() { return *List; }
    TDC_Dlg_Select_Module* Module_Chooser() { return Module_Chooser_.get(); }

private:
    void Draw_Overview(int32_t page);
    void Module_Chosen(int32_t result, const std::string& module_name);

    std::unique_ptr<TDC_Text_Button> Generate_Button;
    std::unique_ptr<TDC_Text_Button> Choose_Module_Button;
    std::unique_ptr<TDC_List> List;
    std::unique_ptr<TDC_Dlg_Select_Module> Module_Chooser_;
    int32_t View_X_, View_Y_;
};
