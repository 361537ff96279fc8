// The tile editor: the designer loads a terrain file of a module, paints its terrains onto the area of
// the current map that starts at square 12, 12 (15 or, with "-width2" / "-height2", 30 squares a side),
// and saves the area as tile records, one file "Tile_<n>.txt" per 15 x 15 section in the program folder.
// A saved tile file can be loaded back onto the area. Ctrl+F1..F10 keep the area's terrains in ten memory
// slots; F1..F10 put a slot back.
#pragma once

#include "ui/DCDlgPicture.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TDC_Dlg_Select_Module;
class TDC_Dlg_SelectFile;
class TDC_List;
class TDC_Text_Button;

// The area's first square on both axes.
constexpr int32_t Tile_Area_First = 12;

class TDC_Dlg_TileGen : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 800;
    static constexpr int32_t Dialog_Height = 600;
    static constexpr int32_t Memory_Slot_Count = 10;

    // The area's size comes from the command line.
    TDC_Dlg_TileGen();
    ~TDC_Dlg_TileGen() override;

    void Kill_Child_Control(const std::string& name) override;
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) override;
    void Handle_KeyDown(uint16_t& key, int32_t shift) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    void Button_Click(const std::string& name);
    // The selected terrain file of the module's tile folder into the current map's terrain list.
    void Load_Terrain();
    // Writes the area as one file per 15 x 15 section; false when nothing or not everything was written.
    bool Save_Tiles();
    // Reads a tile file of the program folder onto the area; squares outside the area are skipped.
    void Load_Tile(const std::string& file_name);

    int32_t View_X() const { return View_X_; }
    int32_t View_Y() const { return View_Y_; }
    int32_t Area_Width() const { return Area_Width_; }
    int32_t Area_Height() const { return Area_Height_; }
    TDC_List& File_List() { return *File_List_; }
    TDC_List& Terrain_List() { return *Terrain_List_; }
    TDC_Dlg_Select_Module* Module_Chooser() { return Module_Chooser_.get(); }
    TDC_Dlg_SelectFile* File_Chooser() { return File_Chooser_.get(); }

private:
    void Paint(int32_t x, int32_t y, uint16_t terrain);
    void Pick_Terrain(int32_t x, int32_t y);
    void Copy_To_Slot(int32_t slot);
    void Copy_From_Slot(int32_t slot);
    void Draw_Terrain_Line(int32_t page, int32_t line, bool selected, int32_t top, int32_t left);
    void Open_Module_Chooser();
    void Open_File_Chooser();

    std::unique_ptr<TDC_Text_Button> Load_Terrain_Button;
    std::unique_ptr<TDC_Text_Button> Choose_Module_Button;
    std::unique_ptr<TDC_Text_Button> Load_Tile_Button;
    std::unique_ptr<TDC_Text_Button> Save_Tile_Button;
    std::unique_ptr<TDC_List> File_List_;
    std::unique_ptr<TDC_List> Terrain_List_;
    std::unique_ptr<TDC_Dlg_Select_Module> Module_Chooser_;
    std::unique_ptr<TDC_Dlg_SelectFile> File_Chooser_;
    int32_t View_X_, View_Y_;
    int32_t Area_Width_, Area_Height_;
    // Terrain ids of the area, [x][y] from its first square.
    using TArea = std::vector<std::vector<uint16_t>>;
    std::array<TArea, Memory_Slot_Count> Slots_;
};
