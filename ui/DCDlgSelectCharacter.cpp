#include "ui/DCDlgSelectCharacter.h"

#include "core/CharClass.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/SaveGame.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/DCButton.h"
#include "ui/DCDlgMessage.h"
#include "ui/DCEditText.h"
#include "ui/DCList.h"
#include "ui/FrontEndLists.h"

#include <cmath>
#include <filesystem>

namespace {

std::unique_ptr<TDC_List> Make_List(const char* name, bool visible,
                                    std::function<void(const std::string&, int32_t)> handler) {
    auto list = std::make_unique<TDC_List>();
    list->Set_Background_Color(55, 55, 55);
    list->Set_Visible(visible);
    list->On_Click = std::move(handler);
    list->Set_Position(name, 37, 110, 273, 305);
    return list;
}

std::string Whole(double value) {
    return std::to_string(static_cast<int64_t>(std::trunc(value)));
}
} // namespace

TDC_Dlg_Select_Character::TDC_Dlg_Select_Character()
    : TDC_Dlg_Picture("TDC_Dlg_Select_Character", "Dlg_SelectCharacter.bmp", Dialog_Width, Dialog_Height,
                      true) {
    if (TDisplay_Object* display = Display_Object(); display && Path_Settings())
        display->Load_Picture_Buffer("f_VB_Char_Layout", Path_Settings()->Get_Win_Char_Bitmap(), Layout_Width,
                                     Layout_Height, Layout_Buffer);
    OK_Button = Make_Dialog_Button("ОК", [this](const std::string& name) { Button_Click(name); });
    Add_Child_Control(OK_Button.get());
    Cancel_Button = Make_Dialog_Button("Отмена", [this](const std::string& name) { Button_Click(name); });
    Add_Child_Control(Cancel_Button.get());
    Delete_Button =
        Make_Dialog_Button("Удалить", [this](const std::string& name) { Delete_Character(name); });
    Delete_Button->Set_Visible(false);
    Add_Child_Control(Delete_Button.get());
    for (auto& slot : Portraits) {
        auto button = std::make_unique<TDC_Button>();
        button->Set_Button_Type(5);
        button->Set_Image_Index(0);
        button->Set_Visible(true);
        button->On_Click = [this](const std::string& name) { Portrait_Click(name); };
        button->Draw_Hook_First = true;
        button->On_Draw = [this](const std::string& name, int32_t page, bool, bool pressed, bool, int32_t,
                                 int32_t, int32_t top,
                                 int32_t left) { Draw_Portrait(name, page, pressed, top, left); };
        Add_Child_Control(button.get());
        slot = std::move(button);
    }
    for (auto* toggle : {&Opt_New, &Opt_Existing}) {
        *toggle = std::make_unique<TDC_Button_Toggle>();
        (*toggle)->Set_Button_Type(1);
        (*toggle)->Set_Frames(8, 9);
        (*toggle)->Set_Visible(true);
        (*toggle)->On_Click = [this](const std::string& name) { Mode_Click(name); };
        Add_Child_Control(toggle->get());
    }
    Opt_New->Set_On(true);
    Opt_Existing->Set_On(false);
    Edit = std::make_unique<TDC_EditText>();
    Edit->Set_Visible(true);
    Add_Child_Control(Edit.get());
    Classes = Make_List("Character Class List", true,
                        [this](const std::string& name, int32_t line) { List_Click(name, line); });
    for (int32_t n = 1; n <= Class_Count(); ++n)
        Classes->Add(Get_Class(n) ? Get_Class(n)->Name : std::string());
    Add_Child_Control(Classes.get());
    Files = Make_List("Character File List", false,
                      [this](const std::string& name, int32_t line) { List_Click(name, line); });
    Add_Child_Control(Files.get());
    Fill_Character_Files();
    Map.Build(Display_Object());
    Classes->Set_Selected_Index(1);
}

TDC_Dlg_Select_Character::~TDC_Dlg_Select_Character() {
    delete Message;
    TDisplay_Object::Release_Buffer(Layout_Buffer);
}

void TDC_Dlg_Select_Character::Reposition() {
    OK_Button->Place("Button 1", Left + 255, Top + 432);
    Cancel_Button->Place("Button 2", Left + 463, Top + 432);
    // The delete button shares the OK button's name; its own handler tells them apart.
    Delete_Button->Place("Button 1", Left + 33, Top + 432);
    for (int32_t i = 1; i <= Portrait_Buttons; ++i)
        Portrait_Button(i).Place("Portrait Button " + std::to_string(i), Left + 344 + 38 * ((i - 1) % 8),
                                 Top + 220 + 38 * ((i - 1) / 8));
    Opt_New->Place("Opt New", Left + 148, Top + 79);
    Opt_Existing->Place("Opt Existing", Left + 175, Top + 79);
    Classes->Set_Position("Character Class List", Left + 35, Top + 148, 277, 276);
    Files->Set_Position("Character File List", Left + 35, Top + 148, 277, 276);
    Edit->Set_Position("Edit Box", Left + 465, Top + 156, 132, 26);
}

bool TDC_Dlg_Select_Character::New_Mode() const {
    return Opt_New->Is_On();
}

int32_t TDC_Dlg_Select_Character::Selected_Class() const {
    const int32_t line = Classes->Get_Selected_Index();
    return line >= 1 && line <= Classes->Line_Count() ? Class_Of_Line(line) : 0;
}

// ---- Handlers ----

void TDC_Dlg_Select_Character::Handle_KeyDown(uint16_t& key, int32_t) {
    if (key == Vk_Escape) Button_Click("Button 2");
}

void TDC_Dlg_Select_Character::Button_Click(const std::string& name) {
    if (name == "Button 1") {
        if (New_Mode())
            Create_New_Character();
        else
            Use_Existing_Character();
    } else if (name == "Button 2") {
        Result = Select_Character_Cancel;
        Set_Kill_Object(1);
    }
}

void TDC_Dlg_Select_Character::Mode_Click(const std::string& name) {
    bool new_mode;
    if (name == "Opt New") {
        if (Opt_New->Is_On())
            Opt_Existing->Set_On(false);
        else
            Opt_New->Set_On(true);
        new_mode = true;
    } else if (name == "Opt Existing") {
        if (Opt_Existing->Is_On())
            Opt_New->Set_On(false);
        else
            Opt_Existing->Set_On(true);
        new_mode = false;
    } else {
        return;
    }
    Classes->Set_Visible(new_mode);
    Edit->Set_Visible(new_mode);
    for (auto& button : Portraits) button->Set_Visible(new_mode);
    Files->Set_Visible(!new_mode);
    Delete_Button->Set_Visible(!new_mode);
}

void TDC_Dlg_Select_Character::List_Click(const std::string& name, int32_t) {
    if (name == "Character Class List") {
        if (Portrait >= 1) Portrait_Button(Portrait).Set_Image_Index(0);
        Portrait = 0;
    } else if (name == "Character File List") {
        Load_Preview();
    }
}

void TDC_Dlg_Select_Character::Portrait_Click(const std::string& name) {
    const int32_t class_index = Selected_Class();
    if (class_index == 0) return;
    const int32_t count = Map.Portrait_Count(class_index);
    for (int32_t i = 1; i <= Portrait_Buttons && i <= count; ++i) {
        if (Portrait_Button(i).Name != name) continue;
        if (Portrait >= 1) Portrait_Button(Portrait).Set_Image_Index(0);
        Portrait = i;
        Portrait_Button(i).Set_Image_Index(1);
    }
}

void TDC_Dlg_Select_Character::Delete_Character(const std::string&) {
    const std::string name = Files->Get_Selected_Text();
    if (name.empty()) return;
    if (const std::optional<std::string> path = Character_File_Path(name)) {
        std::error_code error;
        std::filesystem::remove(*path, error);
    }
    Files->Set_Selected_Index(0);
    Fill_Character_Files();
}

void TDC_Dlg_Select_Character::Fill_Character_Files() {
    Files->Clear();
    if (Path_Settings())
        for (const std::string& name : List_Character_Names(Path_Settings()->Get_Characters_Folder()))
            Files->Add(name);
    if (!Files->Get_Selected_Text().empty())
        Load_Preview();
    else
        Preview_.reset();
}

void TDC_Dlg_Select_Character::Load_Preview() {
    const std::optional<std::string> path = Character_File_Path(Files->Get_Selected_Text());
    if (!Preview_) Preview_ = std::make_unique<TMonster>();
    // A file that does not read leaves no preview: the one shown before is another character, and choosing
    // it would start the game with that one.
    if (!path || !Load_Character(*Preview_, *path)) Preview_.reset();
}

void TDC_Dlg_Select_Character::Create_New_Character() {
    const std::optional<TChoice_Refusal> refusal =
        Check_New_Character(Selected_Class(), Portrait, Edit->Text);
    if (refusal) {
        Show_Refusal(*refusal);
        return;
    }
    Result = Select_Character_New;
    if (Target) Make_New_Character(*Target, Selected_Class(), Portrait, Edit->Text);
    Set_Kill_Object(1);
}

void TDC_Dlg_Select_Character::Use_Existing_Character() {
    const TMonster* chosen = Files->Get_Selected_Text().empty() ? nullptr : Preview_.get();
    const std::optional<TChoice_Refusal> refusal = Check_Existing_Character(chosen);
    if (refusal) {
        Show_Refusal(*refusal);
        return;
    }
    Result = Select_Character_Existing;
    if (Target) Take_Existing_Character(*Target, *chosen);
    Set_Kill_Object(1);
}

void TDC_Dlg_Select_Character::Show_Refusal(const TChoice_Refusal& refusal) {
    if (Message) return;
    Message = new TDC_Dlg_Message();
    Message->Center_On_Screen("General Message", true);
    Message->Set_Text(refusal.Caption, refusal.Text);
    Message->Set_Visible(true);
    Add_Child_Control(Message);
}

void TDC_Dlg_Select_Character::Kill_Child_Control(const std::string& name) {
    if (name != "General Message" || !Message) return;
    TDC_Dlg_Message* box = Message;
    Message = nullptr;
    box->Set_Visible(false);
    delete box;
}

// ---- Drawing ----

void TDC_Dlg_Select_Character::Draw_Portrait(const std::string& name, int32_t page, bool pressed, int32_t top,
                                             int32_t left) {
    const int32_t class_index = Selected_Class();
    TDisplay_Object* display = Display_Object();
    if (class_index == 0 || !display) return;
    for (int32_t i = 1; i <= Portrait_Buttons; ++i) {
        if (Portrait_Button(i).Name != name) continue;
        const int32_t cell = Map.Picture_Cell(class_index, i);
        if (cell < 0) return;
        int32_t dx = 0, dy = 0;
        TDisplay_Object::Get_Default_Offset(dx, dy);
        const int32_t shift = pressed ? 1 : 0;
        display->Draw_Monster_Tile(page, left - dx + shift, top - dy + shift, cell);
        return;
    }
}

void TDC_Dlg_Select_Character::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    if (New_Mode())
        Draw_New_Mode(page);
    else
        Draw_Existing_Mode(page);
}

void TDC_Dlg_Select_Character::Draw_New_Mode(int32_t page) {
    if (TDisplay_Object* display = Display_Object()) display->Draw_Misc_Panel(page, Left + 464, Top + 155, 3);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 174, Top + 127, "Класс персонажа");
    Draw_Text(Left + 496, Top + 47, "Детализация");
    if (const TClass_Info* info = Get_Class(Selected_Class())) {
        Set_Font(1);
        Set_Text_Color(200, 200, 200);
        Draw_Text_Wrapped(Left + 335, Top + 70, 321, 356, info->Short_Description);
    }
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(1, 4);
    Draw_Text(Left + 344, Top + 180, "Имя персонажа:");
    Draw_Text(Left + 344, Top + 219, "Выберите портрет:");
    End_Text(page);
}

void TDC_Dlg_Select_Character::Draw_Existing_Mode(int32_t page) {
    if (Layout_Buffer >= 1 && gx_vbopen(page) == 0)
        Gx_Copy_Rect_Transparent(0, Layout_Width - 1, 0, Layout_Height - 1, Left + 330,
                                 Top + 68 + Layout_Height - 1, Layout_Buffer, page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 174, Top + 127, "Имена персонажей");
    Draw_Text(Left + 496, Top + 47, "Детализация");
    End_Text(page);
    if (Preview_) Draw_Preview(page);
}

void TDC_Dlg_Select_Character::Draw_Preview(int32_t page) {
    const TMonster& c = *Preview_;
    const int32_t x = Left + 330, y = Top + 68;
    if (TDisplay_Object* display = Display_Object()) {
        const int32_t cell = display->Find_Monster_Bitmap(c.Picture);
        if (cell >= 0 && cell < Monster_Cell_Limit) display->Draw_Monster_Tile(page, x - 2, y - 2, cell);
    }
    Begin_Text(page);
    Set_Font(3);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(1, 4);
    Draw_Text(x + 58, y + 28, c.Name);
    Set_Font(1);
    Set_Text_Color(150, 150, 150);
    Draw_Text(x + 58, y + 44, c.Class_Name);

    Set_Font(2);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(3, 4);
    const std::pair<int32_t, std::string> first_column[] = {
        {82, std::to_string(c.Level)},
        {106, Int_To_Str_Grouped(c.Experience)},
        {130, Int_To_Str_Grouped(c.Experience_For_Next_Level())},
        {154, Int_To_Str_Grouped(c.Gold)},
        {186, std::to_string(c.Fire_Resist) + "%"},
        {210, std::to_string(c.Cold_Resist) + "%"},
        {234, std::to_string(c.Lightning_Resist) + "%"},
        {258, std::to_string(c.Magic_Resist) + "%"},
        {282, std::to_string(c.Poison_Resist) + "%"},
    };
    for (const auto& [dy, text] : first_column) Draw_Text(x + 174, y + dy, text);
    Draw_Text(x + 250, y + 82, std::to_string(c.Strength));
    Draw_Text(x + 250, y + 106, std::to_string(c.Intelligence));
    Draw_Text(x + 318, y + 82, std::to_string(c.Dexterity));
    Draw_Text(x + 318, y + 106, std::to_string(c.Constitution));
    Draw_Text(x + 318, y + 135, Whole(c.Life) + " / " + std::to_string(c.Max_Life));
    Draw_Text(x + 318, y + 159, Whole(c.Mana) + " / " + std::to_string(c.Max_Mana));
    Draw_Text(x + 318, y + 183, std::to_string(c.Food) + " / " + std::to_string(c.Max_Food));
    Draw_Text(x + 318, y + 207, std::to_string(c.Weight) + " / " + std::to_string(c.Max_Weight));

    Set_Font(1);
    Set_Text_Color(255, 255, 255);
    const std::string data_set = Game_Options() ? Game_Options()->Character_Data_Set : std::string();
    Draw_Text_Wrapped(Left + 337, Top + 370, 321, 356, Character_Status_Text(c, data_set));
    End_Text(page);
}
