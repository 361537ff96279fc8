#include "ui/DCDlgSelectModule.h"

#include "core/GameOptions.h"
#include "core/Path.h"
#include "core/Struct.h"
#include "generation/RndClassModule.h"
#include "media/DisplayGxFont.h"
#include "ui/DCButton.h"
#include "ui/DCList.h"
#include "ui/FrontEndLists.h"

TDC_Dlg_Select_Module::TDC_Dlg_Select_Module()
    : TDC_Dlg_Picture("TDC_Dlg_Select_Module", "Dlg_SelectModule.bmp", Dialog_Width, Dialog_Height, true) {
    OK_Button = Make_Dialog_Button("ОК", [this](const std::string& name) { Button_Click(name); });
    Add_Child_Control(OK_Button.get());
    Cancel_Button = Make_Dialog_Button("Отмена", [this](const std::string& name) { Button_Click(name); });
    Add_Child_Control(Cancel_Button.get());
    List = std::make_unique<TDC_List>();
    List->Set_Background_Color(55, 55, 55);
    List->Set_Visible(true);
    List->On_Click = [this](const std::string& name, int32_t line) { Module_Selected(name, line); };
    if (Path_Settings())
        for (const std::string& entry : List_Module_Entries(Path_Settings()->Get_Modules_Folder()))
            List->Add(entry);
    Add_Child_Control(List.get());
}

TDC_Dlg_Select_Module::~TDC_Dlg_Select_Module() = default;

void TDC_Dlg_Select_Module::Reposition() {
    OK_Button->Place("Button 1", Left + 255, Top + 432);
    Cancel_Button->Place("Button 2", Left + 463, Top + 432);
    List->Set_Position("Module List", Left + 35, Top + 68, 277, 356);
}

void TDC_Dlg_Select_Module::Handle_KeyDown(uint16_t& key, int32_t) {
    if (key == Vk_Escape) Button_Click("Button 2");
}

void TDC_Dlg_Select_Module::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 171, Top + 47, "       Доступные модули       ");
    Draw_Text(Left + 495, Top + 47, " Детализация  ");
    if (!Description_.empty()) {
        Set_Font(1);
        Set_Text_Color(255, 255, 255);
        Set_Text_Justify(1, 4);
        Draw_Text_Wrapped(Left + 338, Top + 72, 327, 230, Description_);
    }
    if (!Difficulty_Description_.empty()) {
        Set_Font(1);
        Set_Text_Color(200, 200, 200);
        Set_Text_Justify(1, 4);
        Draw_Text_Wrapped(Left + 338, Top + 302, 327, 100, Difficulty_Description_);
    }
    End_Text(page);
}

void TDC_Dlg_Select_Module::Module_Selected(const std::string&, int32_t) {
    TPath_Settings* paths = Path_Settings();
    if (!paths) return;
    paths->Set_Module(List->Get_Selected_Text() + "\\");
    if (Load_Module_Class(paths->Get_ModuleData_File())) {
        if (const TModule_Class* module = Module_Class()) {
            Description_ = module->Description;
            Difficulty_Description_ = module->Difficulty_Description;
            Character_Data_Set_ = module->Character_Data_Set;
        }
    }
    Free_Module_Class();
}

void TDC_Dlg_Select_Module::Button_Click(const std::string& name) {
    if (name == "Button 1") {
        if (List->Get_Selected_Index() < 1 || List->Get_Selected_Text().empty()) return;
        Result = Select_Module_OK;
        Module_Name = List->Get_Selected_Text();
        if (TPath_Settings* paths = Path_Settings()) paths->Set_Module(Module_Name + "\\");
        Reload_Global_Data();
        if (TGame_Options* options = Game_Options()) options->Character_Data_Set = Character_Data_Set_;
        Set_Kill_Object(1);
    } else if (name == "Button 2") {
        Result = Select_Module_Cancel;
        Set_Kill_Object(1);
    }
}
