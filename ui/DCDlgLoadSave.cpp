#include "ui/DCDlgLoadSave.h"

#include "core/HeldItem.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/SaveGame.h"
#include "core/SaveSlots.h"
#include "media/DisplayGxFont.h"
#include "media/Sounds.h"
#include "platform/PathLayer.h"

#include <tuple>

namespace {

const std::string Toggle_Prefix = "Opt ";

void Show_Chosen(TDC_EditText& field, bool chosen, bool editable) {
    if (chosen)
        field.Set_Text_Color(255, 255, 255);
    else
        field.Set_Text_Color(150, 150, 150);
    field.Enabled = chosen && editable;
}

} // namespace

TDC_Dlg_Load_Save::TDC_Dlg_Load_Save()
    : TDC_Dlg_Picture("TDC_Dlg_Load_Save", "Dlg_LoadSave.bmp", 307, 410, true) {
    Load_Machine_Options();
    for (auto [button, name, image] :
         {std::tuple{&OK_Button, "OK Button", 0}, std::tuple{&Cancel_Button, "Cancel Button", 1}}) {
        button->Set_Button_Type(8);
        button->Set_Image_Index(image);
        button->Name = name;
        button->Set_Visible(true);
        Add_Child_Control(button);
    }
    OK_Button.On_Click = [this](const std::string&) { OK_Click(); };
    Cancel_Button.On_Click = [this](const std::string&) { Close(); };
    const TPath_Settings* paths = Path_Settings();
    for (int32_t n = 1; n <= Slot_Count; ++n) {
        const std::string description =
            paths ? Read_Save_Description(paths->Get_Save_Slot_Folder(n)) : std::string();
        auto toggle = std::make_unique<TDC_Button_Toggle>();
        toggle->Set_Button_Type(1);
        toggle->Set_Frames(8, 9);
        toggle->Name = Toggle_Prefix + std::to_string(n);
        toggle->Set_Visible(true);
        toggle->On_Click = [this](const std::string& name) { Slot_Click(name); };
        auto field = std::make_unique<TDC_EditText>();
        field->Name = "Edit Box " + std::to_string(n);
        field->Text = description;
        Show_Chosen(*field, false, false);
        field->Set_Visible(true);
        Add_Child_Control(toggle.get());
        Add_Child_Control(field.get());
        Toggles_[static_cast<std::size_t>(n - 1)] = std::move(toggle);
        Fields_[static_cast<std::size_t>(n - 1)] = std::move(field);
    }
}

void TDC_Dlg_Load_Save::Set_Load_Mode() {
    Load_Mode = true;
    Save_Mode = false;
}

void TDC_Dlg_Load_Save::Set_Save_Mode() {
    Save_Mode = true;
    Load_Mode = false;
}

void TDC_Dlg_Load_Save::Reposition() {
    TDC_Dlg_Picture::Reposition();
    OK_Button.Place("OK Button", Left + 172, Top + 359);
    Cancel_Button.Place("Cancel Button", Left + 225, Top + 359);
    for (int32_t n = 1; n <= Slot_Count; ++n) {
        TDC_Button_Toggle& toggle = Slot_Toggle(n);
        toggle.Place(toggle.Name, Left + 18, Top + 41 + 29 * n);
        Slot_Field(n).Set_Position(Slot_Field(n).Name, Left + 54, toggle.Top + 4, 219, 17);
    }
}

void TDC_Dlg_Load_Save::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    if (!Save_Mode && !Load_Mode) return;
    Begin_Text(page);
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + Get_Width() / 2, Top + 43, Save_Mode ? "Сохранить" : "Загрузить");
    End_Text(page);
}

void TDC_Dlg_Load_Save::Slot_Click(const std::string& name) {
    for (int32_t n = 1; n <= Slot_Count; ++n) {
        const bool chosen = Slot_Toggle(n).Name == name;
        // The chosen toggle stays on even when the click flipped it off.
        Slot_Toggle(n).Set_On(chosen);
        Show_Chosen(Slot_Field(n), chosen, Save_Mode);
    }
}

void TDC_Dlg_Load_Save::OK_Click() {
    for (int32_t n = 1; n <= Slot_Count; ++n)
        if (Slot_Toggle(n).Is_On()) Succeeded = Do_Slot(n);
    if (Succeeded) Close();
}

bool TDC_Dlg_Load_Save::Do_Slot(int32_t n) {
    if (Save_Mode) return Save_Slot(n);
    if (Load_Mode) return Load_Slot_Game(n);
    return false;
}

bool TDC_Dlg_Load_Save::Save_Slot(int32_t n) {
    TMap* map = Current_Map();
    const TModule* module = Module();
    const TPath_Settings* paths = Path_Settings();
    if (!map || !module || !paths) return false;
    // The item on the cursor is in no slot and on no square: the save would leave it out.
    Release_Held_Item();
    const std::string folder = paths->Get_Current_Game_Folder();
    if (!Save_Game(Slot_Field(n).Text, *map, Player(), folder + plat::Base_Name(module->File_Name),
                   folder + plat::Base_Name(map->File_Name)))
        return false;
    // Only a game saved whole replaces the slot, and only a slot replaced becomes the last one saved.
    if (!Store_Slot(n)) return false;
    Machine_Options().Last_Saved_Game_Slot = n;
    Save_Machine_Options();
    return true;
}

bool TDC_Dlg_Load_Save::Load_Slot_Game(int32_t n) {
    // A load frees whatever the cursor held: it goes back to the player of the game being left.
    Release_Held_Item();
    if (!Load_Slot(n)) return false;
    if (const TModule* module = Module()) Sounds().Sound_Start_Music(module->Get_Current_Map_Music());
    return true;
}
