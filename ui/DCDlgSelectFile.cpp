#include "ui/DCDlgSelectFile.h"

#include "core/GlobalFuncs.h"
#include "media/DisplayGxFont.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "platform/FileOps.h"
#include "ui/DCList.h"

namespace {

constexpr uint16_t Vk_Q = 81;
constexpr int32_t Visible_Lines = 18;
constexpr int32_t List_Width = 373, List_Height = 331;
constexpr int32_t Text_Width = 210;

std::unique_ptr<TDC_Button> Make_Button(int32_t image, TDC_Dlg_SelectFile& owner) {
    auto button = std::make_unique<TDC_Button>();
    button->Set_Button_Type(8);
    button->Set_Image_Index(image);
    button->Set_Visible(true);
    button->On_Click = [&owner](const std::string& name) { owner.Button_Click(name); };
    return button;
}

// A file the chooser offers: "*.txt" as a folder pattern would match it, with ".txt" written in lower case.
bool Is_Offered(const std::string& name) {
    if (name.size() < 4 || name.find(".txt") == std::string::npos) return false;
    std::string ending = name.substr(name.size() - 4);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".txt";
}

} // namespace

TDC_Dlg_SelectFile::TDC_Dlg_SelectFile()
    : TDC_Dlg_Picture("TDC_Dlg_SelectFile", "Dlg_Quests.bmp", Dialog_Width, Dialog_Height, true) {
    OK_Button = Make_Button(0, *this);
    Add_Child_Control(OK_Button.get());
    Cancel_Button = Make_Button(1, *this);
    Add_Child_Control(Cancel_Button.get());
    List = std::make_unique<TDC_List>();
    List->Set_Background_Color(55, 55, 55);
    List->Line_Height = List_Height / Visible_Lines;
    List->Set_Visible(true);
    List->On_Owner_Draw = [this](const std::string&, int32_t, int32_t page, const std::string& text,
                                 bool selected, int32_t, int32_t, int32_t top,
                                 int32_t left) { Draw_Line(page, text, selected, top, left); };
    for (const std::string& name : plat::List_Regular_Files(Base_Folder()))
        if (Is_Offered(name)) List->Add(name);
    Add_Child_Control(List.get());
}

TDC_Dlg_SelectFile::~TDC_Dlg_SelectFile() = default;

void TDC_Dlg_SelectFile::Reposition() {
    OK_Button->Place("OK Button", Left + 271, Top + 449);
    Cancel_Button->Place("Cancel Button", Left + 327, Top + 449);
    List->Set_Position("File List", Left + 43, Top + 68, List_Width, List_Height);
}

void TDC_Dlg_SelectFile::Handle_KeyDown(uint16_t& key, int32_t) {
    if (key == Vk_Q || key == Vk_Escape) Close();
}

void TDC_Dlg_SelectFile::Close() {
    File_Name.clear();
    Set_Kill_Object(1);
}

void TDC_Dlg_SelectFile::Button_Click(const std::string& name) {
    if (name == "OK Button") {
        File_Name = List->Get_Selected_Text();
        if (!File_Name.empty()) Set_Kill_Object(1);
    } else if (name == "Cancel Button") {
        Close();
    }
}

void TDC_Dlg_SelectFile::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    Begin_Text(page);
    Set_Font(6);
    Set_Text_Color(0, 0, 0);
    Set_Text_Justify(2, 2);
    Draw_Text(Left + 207, Top + 47, "Выбор файла");
    End_Text(page);
}

void TDC_Dlg_SelectFile::Draw_Line(int32_t page, const std::string& text, bool selected, int32_t top,
                                   int32_t left) {
    // The bar under the line: the highlight colour for the selected file, a dark grey for the others.
    if (gx_vbopen(page) == 0) {
        Gx_Set_Color(selected ? TDisplay_Object::Get_Highlight_Color() : Gx_Rgb_To_Color(35, 35, 35));
        Gx_Fill_Rect(left + 18, left + 22 + Text_Width, top + 1, top + List->Line_Height - 2);
    }
    Begin_Text(page);
    Set_Font(1);
    Set_Text_Color(255, 255, 255);
    Set_Text_Justify(1, 5);
    Draw_Text_Wrapped(left + 22, top + 2, Text_Width, List->Line_Height, text);
    End_Text(page);
}
