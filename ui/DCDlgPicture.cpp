#include "ui/DCDlgPicture.h"

#include "core/Path.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"

namespace {
// The picture's own colours, whatever its colour table says.
constexpr int32_t Dialog_Picture_Flags = Gx_Bmp_Ignore_Colour_Table | Gx_Bmp_Keep_File_Colours;
} // namespace

TDC_Dlg_Picture::TDC_Dlg_Picture(const std::string& class_name, const std::string& picture, int32_t width,
                                 int32_t height, bool show_error)
    : Dialog_Width(width), Dialog_Height(height) {
    TDisplay_Object* display = Display_Object();
    const TPath_Settings* paths = Path_Settings();
    if (!display || !paths) return;
    if (!display->Alloc_Virtual_Buffer(class_name, Buffer_, show_error, false, height, width)) return;
    // A dialog may be opened in the middle of a frame: the buffer drawn into stays the active one.
    const int32_t active = Gx_Active_Buffer();
    if (gx_vbopen(Buffer_) == 0) {
        gx_showbmp(paths->Get_SysPics_Picture(picture), Dialog_Picture_Flags);
        display->Change_All_Pink_To_Black(Buffer_);
        Loaded_ = true;
    }
    if (active >= 0)
        gx_vbopen(active);
    else
        Gx_Deselect_Buffer();
}

TDC_Dlg_Picture::~TDC_Dlg_Picture() {
    // Only a buffer this dialog got: a failed allocation leaves a negative handle, and freeing that would
    // release every buffer of the program.
    TDisplay_Object::Release_Buffer(Buffer_);
}

int32_t TDC_Dlg_Picture::Picture_Open_Code() const {
    const int32_t active = Gx_Active_Buffer();
    const int32_t code = gx_vbopen(Buffer_);
    if (active >= 0) gx_vbopen(active);
    return code;
}

void TDC_Dlg_Picture::Handle_DrawPage(int32_t page) {
    if (!Loaded_) return;
    Gx_Copy_Rect(0, Dialog_Width - 1, 0, Dialog_Height - 1, Left, Top + Dialog_Height - 1, Buffer_, page);
}

void TDC_Dlg_Picture::Handle_KeyDown(uint16_t& key, int32_t) {
    if (key == Vk_Escape) Close();
}

void TDC_Dlg_Picture::Reposition() {
    if (Close_Button_) Close_Button_->Place("Close Button", Left + Close_X_, Top + Close_Y_);
}

void TDC_Dlg_Picture::Close() {
    Set_Kill_Object(1);
}

void TDC_Dlg_Picture::Add_Close_Button(int32_t x, int32_t y) {
    Close_X_ = x;
    Close_Y_ = y;
    Close_Button_ = std::make_unique<TDC_Button>();
    Close_Button_->Set_Button_Type(1);
    Close_Button_->Set_Image_Index(0);
    Close_Button_->Name = "Close Button";
    Close_Button_->Set_Visible(true);
    Close_Button_->On_Click = [this](const std::string&) { Close(); };
    Add_Child_Control(Close_Button_.get());
}
