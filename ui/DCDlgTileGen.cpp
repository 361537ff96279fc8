#include "ui/DCDlgTileGen.h"

#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "generation/RndClassModule.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "platform/FileOps.h"
#include "platform/PathLayer.h"
#include "ui/DCButton.h"
#include "ui/DCDevScreen.h"
#include "ui/DCDlgSelectFile.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DCList.h"
#include "ui/TileRecord.h"

#include <optional>

namespace {

constexpr uint16_t Vk_Left = 37, Vk_Up = 38, Vk_Right = 39, Vk_Down = 40;
constexpr uint16_t Vk_F1 = 112;
constexpr int32_t Terrain_Line_Height = 54;

std::unique_ptr<TDC_List> Make_List(TDC_Dlg_TileGen& owner) {
    auto list = std::make_unique<TDC_List>();
    list->Set_Background_Color(20, 20, 20);
    list->Set_Visible(true);
    owner.Add_Child_Control(list.get());
    return list;
}

std::string Tile_File_Path(int32_t n) {
    return Base_Folder() + "Tile_" + std::to_string(n) + ".txt";
}

} // namespace

TDC_Dlg_TileGen::TDC_Dlg_TileGen()
    : TDC_Dlg_Picture("TDC_Dlg_TileGen", "Dlg_MapGen.bmp", Dialog_Width, Dialog_Height, true),
      View_X_(Tile_Area_First), View_Y_(Tile_Area_First) {
    const TDev_Screen_Switches switches = Dev_Screen_Switches(Program_Arguments());
    Area_Width_ = switches.Width_2 ? 2 * Tile_Section_Size : Tile_Section_Size;
    Area_Height_ = switches.Height_2 ? 2 * Tile_Section_Size : Tile_Section_Size;
    for (TArea& slot : Slots_)
        slot.assign(static_cast<size_t>(Area_Width_),
                    std::vector<uint16_t>(static_cast<size_t>(Area_Height_)));

    Add_Close_Button(770, 566);
    Load_Terrain_Button =
        Make_Dialog_Button("Открыть файл", [this](const std::string& name) { Button_Click(name); });
    Choose_Module_Button =
        Make_Dialog_Button("Выбор модуля", [this](const std::string& name) { Button_Click(name); });
    Load_Tile_Button =
        Make_Dialog_Button("Загрузить", [this](const std::string& name) { Button_Click(name); });
    Save_Tile_Button =
        Make_Dialog_Button("Сохранить", [this](const std::string& name) { Button_Click(name); });
    for (TDC_Text_Button* button : {Load_Terrain_Button.get(), Choose_Module_Button.get(),
                                    Load_Tile_Button.get(), Save_Tile_Button.get()})
        Add_Child_Control(button);
    File_List_ = Make_List(*this);
    File_List_->Line_Height = 200 / 16;
    Terrain_List_ = Make_List(*this);
    Terrain_List_->Line_Height = Terrain_Line_Height;
    Terrain_List_->On_Owner_Draw = [this](const std::string&, int32_t line, int32_t page, const std::string&,
                                          bool selected, int32_t, int32_t, int32_t top, int32_t left) {
        Draw_Terrain_Line(page, line, selected, top, left);
    };
}

TDC_Dlg_TileGen::~TDC_Dlg_TileGen() = default;

void TDC_Dlg_TileGen::Reposition() {
    TDC_Dlg_Picture::Reposition();
    const int32_t right = Left + Dialog_Width, bottom = Top + Dialog_Height;
    File_List_->Set_Position("File List", Left + 10, Top + 10, 220, 200);
    Terrain_List_->Set_Position("Terrain List", right - 210, Top + 10, 220, 200);
    Load_Terrain_Button->Place("Button Load Terrain", Left + 10, bottom - 48);
    Choose_Module_Button->Place("Button Choose Module", Left + 10, bottom - 91);
    Load_Tile_Button->Place("Button Load Tile", right - 234, bottom - 91);
    Save_Tile_Button->Place("Button Save Tile", right - 234, bottom - 48);
}

// ---- Buttons and choosers ----

void TDC_Dlg_TileGen::Button_Click(const std::string& name) {
    if (name == "Button Load Terrain")
        Load_Terrain();
    else if (name == "Button Choose Module")
        Open_Module_Chooser();
    else if (name == "Button Load Tile")
        Open_File_Chooser();
    else if (name == "Button Save Tile")
        Save_Tiles();
}

void TDC_Dlg_TileGen::Open_Module_Chooser() {
    Open_Modal_Child(*this, Module_Chooser_, "Dlg Select Module");
}

void TDC_Dlg_TileGen::Open_File_Chooser() {
    Open_Modal_Child(*this, File_Chooser_, "Dlg Select File");
}

void TDC_Dlg_TileGen::Kill_Child_Control(const std::string& name) {
    if (name == "Dlg Select Module" && Module_Chooser_) {
        const bool chosen = Module_Chooser_->Get_Result() == Select_Module_OK;
        const std::string module_name = Module_Chooser_->Get_Module_Name();
        Module_Chooser_.reset();
        TPath_Settings* paths = Path_Settings();
        if (!chosen || !paths) return;
        paths->Set_Module(module_name + "\\");
        File_List_->Clear();
        File_List_->Set_Selected_Index(0);
        File_List_->Set_Top_Index(1);
        for (const std::string& entry : Folder_Entries_Containing(paths->Get_Tiles_Folder(), "_Terrain"))
            File_List_->Add(entry);
    } else if (name == "Dlg Select File" && File_Chooser_) {
        const std::string file_name = File_Chooser_->Get_File_Name();
        File_Chooser_.reset();
        if (!file_name.empty()) Load_Tile(file_name);
    }
}

void TDC_Dlg_TileGen::Load_Terrain() {
    const std::string file = File_List_->Get_Selected_Text();
    TMap* map = Current_Map();
    const TPath_Settings* paths = Path_Settings();
    if (file.empty() || !map || !paths) return;
    map->Terrain_List.Load_From_File(paths->Get_Tile_File(file));
    if (TDisplay_Object* display = Display_Object()) display->Load_Map_Bitmaps(*map);
    Terrain_List_->Clear();
    Terrain_List_->Set_Selected_Index(0);
    Terrain_List_->Set_Top_Index(1);
    for (int32_t id = 1; id <= map->Terrain_List.Count(); ++id) {
        const TTerrain* terrain = map->Terrain_List.Terrain(id);
        Terrain_List_->Add(terrain ? terrain->Name : std::string());
    }
}

// ---- Painting ----

void TDC_Dlg_TileGen::Paint(int32_t x, int32_t y, uint16_t terrain) {
    int32_t map_x = 0, map_y = 0;
    TMap* map = Current_Map();
    if (!map || !Dev_View_Square_At(x, y, View_X_, View_Y_, map_x, map_y)) return;
    if (TMap_Square* square = map->Get_Square(map_x, map_y)) square->Terrain_Id = terrain;
}

void TDC_Dlg_TileGen::Pick_Terrain(int32_t x, int32_t y) {
    int32_t map_x = 0, map_y = 0;
    const TMap* map = Current_Map();
    if (!map || !Dev_View_Square_At(x, y, View_X_, View_Y_, map_x, map_y)) return;
    const TMap_Square* square = map->Get_Square(map_x, map_y);
    if (!square) return;
    Terrain_List_->Set_Selected_Index(square->Terrain_Id);
    if (square->Terrain_Id >= 1) Terrain_List_->Set_Top_Index(square->Terrain_Id);
}

void TDC_Dlg_TileGen::Handle_MouseMove(int32_t shift, int32_t x, int32_t y) {
    if (shift & Shift_Left)
        Paint(x, y, static_cast<uint16_t>(std::max(0, Terrain_List_->Get_Selected_Index())));
    else if (shift & Shift_Right)
        Paint(x, y, 0);
}

void TDC_Dlg_TileGen::Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) {
    if (button == Mouse_Button_Left && (shift & Shift_Ctrl))
        Pick_Terrain(x, y);
    else if (button == Mouse_Button_Left)
        Paint(x, y, static_cast<uint16_t>(std::max(0, Terrain_List_->Get_Selected_Index())));
    else if (button == Mouse_Button_Right)
        Paint(x, y, 0);
}

// ---- Keys and memory slots ----

void TDC_Dlg_TileGen::Copy_To_Slot(int32_t slot) {
    const TMap* map = Current_Map();
    if (!map) return;
    TArea& area = Slots_[static_cast<size_t>(slot - 1)];
    for (int32_t dx = 0; dx < Area_Width_; ++dx)
        for (int32_t dy = 0; dy < Area_Height_; ++dy)
            area[static_cast<size_t>(dx)][static_cast<size_t>(dy)] =
                map->Get_Square(Tile_Area_First + dx, Tile_Area_First + dy)->Terrain_Id;
}

void TDC_Dlg_TileGen::Copy_From_Slot(int32_t slot) {
    TMap* map = Current_Map();
    if (!map) return;
    const TArea& area = Slots_[static_cast<size_t>(slot - 1)];
    for (int32_t dx = 0; dx < Area_Width_; ++dx)
        for (int32_t dy = 0; dy < Area_Height_; ++dy)
            map->Get_Square(Tile_Area_First + dx, Tile_Area_First + dy)->Terrain_Id =
                area[static_cast<size_t>(dx)][static_cast<size_t>(dy)];
}

void TDC_Dlg_TileGen::Handle_KeyDown(uint16_t& key, int32_t shift) {
    // The window stays inside the area: its first square runs from the area's first to its last less 14.
    const int32_t last_x = Area_Width_ - 3, last_y = Area_Height_ - 3;
    if (key == Vk_Left && View_X_ > Tile_Area_First)
        --View_X_;
    else if (key == Vk_Up && View_Y_ > Tile_Area_First)
        --View_Y_;
    else if (key == Vk_Right && View_X_ < last_x)
        ++View_X_;
    else if (key == Vk_Down && View_Y_ < last_y)
        ++View_Y_;
    else if (key >= Vk_F1 && key < Vk_F1 + Memory_Slot_Count)
        (shift & Shift_Ctrl) ? Copy_To_Slot(key - Vk_F1 + 1) : Copy_From_Slot(key - Vk_F1 + 1);
    else
        TDC_Dlg_Picture::Handle_KeyDown(key, shift);
}

// ---- Drawing ----

void TDC_Dlg_TileGen::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Draw_Dev_View(page, View_X_, View_Y_);
    Begin_Text(page);
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + Dialog_Width / 2, Top + 33, "Редактор ячеек");
    End_Text(page);
}

void TDC_Dlg_TileGen::Draw_Terrain_Line(int32_t page, int32_t line, bool selected, int32_t top,
                                        int32_t left) {
    const TMap* map = Current_Map();
    const TTerrain* terrain = map ? map->Terrain_List.Terrain(line) : nullptr;
    if (!terrain) return;
    terrain->Draw(page, left, top, false, false, 0);
    Begin_Text(page);
    Set_Font(1);
    if (selected) {
        const uint32_t c = TDisplay_Object::Get_Highlight_Color();
        Set_Color_Index(c);
    } else {
        Set_Text_Color(255, 255, 255);
    }
    Set_Text_Justify(1, 5);
    Draw_Text_Wrapped(left + 60, top + 30, Terrain_List_->Width - 60, Terrain_Line_Height - 30,
                      terrain->Name);
    End_Text(page);
}

// ---- Tile files ----

bool TDC_Dlg_TileGen::Save_Tiles() {
    const TMap* map = Current_Map();
    if (!map) return false;
    const int32_t across = Area_Width_ / Tile_Section_Size, down = Area_Height_ / Tile_Section_Size;
    // Every section's text first: a section with too many terrains stops the save before any file exists.
    std::vector<std::string> texts;
    for (int32_t sx = 1; sx <= across; ++sx)
        for (int32_t sy = 1; sy <= down; ++sy) {
            TTile_Section section{};
            const int32_t x0 = Tile_Area_First + (sx - 1) * Tile_Section_Size;
            const int32_t y0 = Tile_Area_First + (sy - 1) * Tile_Section_Size;
            for (int32_t r = 0; r < Tile_Section_Size; ++r)
                for (int32_t c = 0; c < Tile_Section_Size; ++c)
                    section[static_cast<size_t>(r)][static_cast<size_t>(c)] =
                        map->Get_Square(x0 + c, y0 + r)->Terrain_Id;
            std::optional<std::string> text =
                Tile_Record_Text(section, {across, down, sx, sy}, map->Terrain_List);
            if (!text) {
                Show_Message("Error", "Unable to save tiles: a 15 x 15 section holds more than " +
                                          std::to_string(Tile_Symbol_Count) + " different terrains.");
                return false;
            }
            texts.push_back(std::move(*text));
        }
    int32_t n = 0;
    for (const std::string& text : texts) {
        do ++n;
        while (plat::Find_Existing(Tile_File_Path(n)));
        const std::string path = Tile_File_Path(n);
        std::string error;
        if (!plat::Write_File_Atomically(path, text, error)) {
            Show_Message("Error", "Unable to save tile file \"" + path + "\".");
            return false;
        }
    }
    return true;
}

void TDC_Dlg_TileGen::Load_Tile(const std::string& file_name) {
    TMap* map = Current_Map();
    // The chooser offers names of the program folder only; a name that leaves it names nothing.
    if (!map || !plat::Is_Contained_Name(file_name)) return;
    std::string text;
    if (!plat::Read_File(Base_Folder() + file_name, text)) return;
    for (const TTile_Square& square : Read_Tile_Text(text, map->Terrain_List)) {
        // Only the area: a larger tile paints its part, and no row reaches past the map.
        if (square.Column > Area_Width_ || square.Row > Area_Height_) continue;
        if (TMap_Square* target =
                map->Get_Square(Tile_Area_First - 1 + square.Column, Tile_Area_First - 1 + square.Row))
            target->Terrain_Id = square.Terrain;
    }
}
