#include "ui/DCDlgMapGen.h"

#include "core/MapMain.h"
#include "core/Path.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterGroups.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassTile.h"
#include "generation/RndClassUniqueNames.h"
#include "generation/RndDigTileMap.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/DCButton.h"
#include "ui/DCDevScreen.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DCList.h"

#include <optional>

namespace {

constexpr uint16_t Vk_Left = 37, Vk_Up = 38, Vk_Right = 39, Vk_Down = 40;

// Everything a generation loads for its dig, and the drawing it suppresses, given back however it ends: a
// tiles file that fails to load must not leave the view blank for good nor the tables of a half-done run
// behind. The tile classes stay: they are the table just chosen.
class TGenerate_Scope {
public:
    explicit TGenerate_Scope(TDisplay_Object* display) : Display_(display) {
        if (Display_) Display_->Drawing_Suppressed = 1;
    }
    ~TGenerate_Scope() {
        Free_Monster_Groups();
        Free_Monster_Rand_Items_Carried();
        Free_Item_Modifiers();
        Free_Monster_Modifiers();
        Free_Chance_Groups();
        Free_Unique_Names();
        if (Display_) Display_->Drawing_Suppressed = 0;
    }
    TGenerate_Scope(const TGenerate_Scope&) = delete;
    TGenerate_Scope& operator=(const TGenerate_Scope&) = delete;

private:
    TDisplay_Object* Display_;
};

} // namespace

TDC_Dlg_MapGen::TDC_Dlg_MapGen()
    : TDC_Dlg_Picture("TDC_Dlg_MapGen", "Dlg_MapGen.bmp", Dialog_Width, Dialog_Height, true),
      View_X_(Dev_View_Start), View_Y_(Dev_View_Start) {
    Add_Close_Button(770, 570);
    Generate_Button =
        Make_Dialog_Button("Создать карту", [this](const std::string& name) { Button_Click(name); });
    Add_Child_Control(Generate_Button.get());
    Choose_Module_Button =
        Make_Dialog_Button("Выбор модуля", [this](const std::string& name) { Button_Click(name); });
    Add_Child_Control(Choose_Module_Button.get());
    List = std::make_unique<TDC_List>();
    List->Set_Background_Color(20, 20, 20);
    List->Line_Height = 200 / 16;
    List->Set_Visible(true);
    Add_Child_Control(List.get());
}

TDC_Dlg_MapGen::~TDC_Dlg_MapGen() = default;

void TDC_Dlg_MapGen::Reposition() {
    TDC_Dlg_Picture::Reposition();
    List->Set_Position("File List", Left + 10, Top + 10, 200, 200);
    Choose_Module_Button->Place("Button Choose Module", Left + 10, Top + Dialog_Height - 91);
    Generate_Button->Place("Button Generate", Left + 10, Top + Dialog_Height - 48);
}

void TDC_Dlg_MapGen::Button_Click(const std::string& name) {
    if (name == "Button Generate") {
        Generate();
    } else if (name == "Button Choose Module") {
        Open_Modal_Child(*this, Module_Chooser_, "Dlg Select Module");
    }
}

void TDC_Dlg_MapGen::Kill_Child_Control(const std::string& name) {
    if (name != "Dlg Select Module" || !Module_Chooser_) return;
    const int32_t result = Module_Chooser_->Get_Result();
    const std::string module_name = Module_Chooser_->Get_Module_Name();
    Module_Chooser_.reset();
    Module_Chosen(result, module_name);
}

void TDC_Dlg_MapGen::Module_Chosen(int32_t result, const std::string& module_name) {
    TPath_Settings* paths = Path_Settings();
    if (result != Select_Module_OK || !paths) return;
    paths->Set_Module(module_name + "\\");
    Load_Module_Class(paths->Get_ModuleData_File());
    List->Clear();
    List->Set_Selected_Index(0);
    List->Set_Top_Index(1);
    for (const std::string& entry : Folder_Entries_Containing(paths->Get_Tiles_Folder(), "Tiles"))
        List->Add(entry);
}

void TDC_Dlg_MapGen::Generate() {
    const std::string file = List->Get_Selected_Text();
    TMap* map = Current_Map();
    TPath_Settings* paths = Path_Settings();
    if (file.empty() || !map || !paths) return;
    TDisplay_Object* display = Display_Object();
    TGenerate_Scope scope(display);
    if (!Load_Tile_Classes(file)) return;
    const std::string label = file.substr(0, file.find("Tiles"));

    std::optional<TMonster_Class_List> monsters;
    std::optional<TCurrent_Monster_Class_List_Guard> monsters_current;
    if (!Current_Monster_Class_List()) monsters_current.emplace(monsters.emplace());
    std::optional<TItem_Class_List> items;
    std::optional<TCurrent_Item_Class_List_Guard> items_current;
    if (!Current_Item_Class_List()) items_current.emplace(items.emplace());

    TModule_Map_Files files;
    if (const TModule_Class* module = Module_Class()) files = module->Find_Map_By_Tiles_File(file);
    map->Terrain_List.Load_From_File(paths->Get_Tile_File(files.Terrain_File));
    Current_Monster_Class_List()->Load_From_File(paths->Get_Tile_File(files.Monster_Classes_File));
    Current_Item_Class_List()->Load_From_File(paths->Get_Tile_File(files.Item_Classes_File));
    Load_Monster_Rand_Items_Carried(paths->Get_Tile_File(files.Random_Items_Carried_File));
    Load_Monster_Groups(paths->Get_Tile_File(files.Monster_Groups_File));
    Load_Item_Modifiers(paths->Get_ItemModifiers_File());
    Load_Monster_Modifiers(paths->Get_MonsterModifiers_File());
    Load_Chance_Groups();
    Load_Unique_Names(paths->Get_UniqueItemNames_File());

    // The preview shows the map; what the dig reports is for module creation, not for the designer here.
    TWordList entrance_ids, entrance_xs, entrance_ys;
    TString_List errors;
    Dig_Tile_Map(entrance_ids, entrance_xs, entrance_ys, files.Map_Number, label, errors);
    if (display) display->Load_Map_Bitmaps(*map);
}

void TDC_Dlg_MapGen::Handle_MouseDown(int32_t, int32_t, int32_t x, int32_t y) {
    const int32_t right = Left + Dialog_Width;
    if (x < right - 210 || x > right - 10 || y < Top + 10 || y > Top + 210) return;
    View_X_ = Clamp_Dev_View(x - right + 203);
    View_Y_ = Clamp_Dev_View(y - Top - 17);
}

void TDC_Dlg_MapGen::Handle_KeyDown(uint16_t& key, int32_t shift) {
    switch (key) {
    case Vk_Left: View_X_ = Clamp_Dev_View(View_X_ - 1); break;
    case Vk_Right: View_X_ = Clamp_Dev_View(View_X_ + 1); break;
    case Vk_Up: View_Y_ = Clamp_Dev_View(View_Y_ - 1); break;
    case Vk_Down: View_Y_ = Clamp_Dev_View(View_Y_ + 1); break;
    default: TDC_Dlg_Picture::Handle_KeyDown(key, shift); break;
    }
}

void TDC_Dlg_MapGen::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Draw_Dev_View(page, View_X_, View_Y_);
    Draw_Overview(page);
    Begin_Text(page);
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + Dialog_Width / 2, Top + 33, "Генератор карт");
    End_Text(page);
}

void TDC_Dlg_MapGen::Draw_Overview(int32_t page) {
    const TMap* map = Current_Map();
    if (!map || gx_vbopen(page) != 0) return;
    const int32_t x0 = Left + Dialog_Width - 211, y0 = Top + 9;
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            const uint32_t colour = map->Get_Square(x, y)->Get_Map_Color();
            Gx_Set_Color(Gx_Rgb_To_Color(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
            Gx_Set_Pixel(x0 + x, y0 + y);
        }
    // The window the view shows, at the same scale.
    const int32_t left = x0 + View_X_, top = y0 + View_Y_, last = View_Size - 1;
    Gx_Set_Color(Gx_Rgb_To_Color(255, 255, 255));
    Gx_Fill_Rect(left, left + last, top, top);
    Gx_Fill_Rect(left, left + last, top + last, top + last);
    Gx_Fill_Rect(left, left, top, top + last);
    Gx_Fill_Rect(left + last, left + last, top, top + last);
}
