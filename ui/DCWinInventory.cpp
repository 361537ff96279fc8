#include "ui/DCWinInventory.h"

#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Messages.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/SoundSeam.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "ui/CursorTarget.h"

namespace {

// Slot boxes are 33 x 33 on a 40-pixel grid; the first box's corner from the window's.
constexpr int32_t Slot_Pitch = 40;
constexpr int32_t Slot_Side = 33;
constexpr int32_t First_Slot_X = 13;
constexpr int32_t First_Slot_Y = 25;
constexpr int32_t Columns = 4;
constexpr int32_t Rows = 5;

// The tab strip: one 178 x 46 picture per tab, stacked in its bitmap, at the window's bottom. A press
// chooses the tab whose 45-pixel section it falls into.
constexpr int32_t Tab_Strip_Width = 178;
constexpr int32_t Tab_Picture_Height = 46;
constexpr int32_t Tab_Strip_Top = 224;
constexpr int32_t Tab_Strip_Bottom = 270;
constexpr int32_t Tab_Section = 45;

// The slot box's top-left corner of column i, row j (from 1), from the window's corner.
int32_t Slot_X(int32_t column) {
    return First_Slot_X + Slot_Pitch * (column - 1);
}
int32_t Slot_Y(int32_t row) {
    return First_Slot_Y + Slot_Pitch * (row - 1);
}

} // namespace

bool Load_Window_Bitmap(const std::string& buffer_name, const std::string& picture, int32_t& handle) {
    TDisplay_Object* display = Display_Object();
    const TPath_Settings* paths = Path_Settings();
    if (!display || !paths) return false;
    const std::string path = paths->Get_SysPics_Picture(picture);
    int32_t width = 0, height = 0;
    if (!Gx_Read_Bmp_Size(path, width, height) || width <= 0 || height <= 0) {
        Show_Message("Error", "Unable to load bitmap " + path + ".");
        return false;
    }
    if (!display->Alloc_Virtual_Buffer(buffer_name, handle, true, false, height, width)) return false;
    // A window may be made in the middle of a frame: the buffer drawn into stays the active one.
    const int32_t active = Gx_Active_Buffer();
    bool loaded = false;
    if (gx_vbopen(handle) == 0) {
        loaded = gx_showbmp(path, 0) == Gx_Bmp_Ok;
        if (loaded)
            display->Change_All_Pink_To_Black(handle);
        else
            Show_Message("Error", "Unable to load bitmap " + path + ".");
    }
    if (active >= 0)
        gx_vbopen(active);
    else
        Gx_Deselect_Buffer();
    return loaded;
}

TDC_Win_Inventory::TDC_Win_Inventory() {
    Background_Loaded_ = Load_Window_Bitmap("TDC_Win_Inventory", "Win_Inventory.bmp", Background_);
    Tabs_Loaded_ = Load_Window_Bitmap("TDC_Win_Inventory_Tabs", "Win_Inventory_Tabs.bmp", Tabs_);
}

TDC_Win_Inventory::~TDC_Win_Inventory() {
    TDisplay_Object::Release_Buffer(Background_);
    TDisplay_Object::Release_Buffer(Tabs_);
}

bool TDC_Win_Inventory::Slot_At(int32_t x, int32_t y, int32_t& slot) const {
    for (int32_t column = 1; column <= Columns; ++column)
        for (int32_t row = 1; row <= Rows; ++row)
            if (Point_In_Rect(x, y, Left + Slot_X(column), Top + Slot_Y(row), Slot_Side - 1, Slot_Side - 1)) {
                slot = Backpack_Slot_Of(Tab_, column, row);
                return true;
            }
    return false;
}

void TDC_Win_Inventory::Next_Tab() {
    Select_Tab(Tab_ % Inventory_Tab_Count + 1);
}

void TDC_Win_Inventory::Select_Tab(int32_t tab) {
    Tab_ = tab;
    Sound_Play("item_sel.wav");
}

void TDC_Win_Inventory::Handle_MouseMove(int32_t, int32_t x, int32_t y) {
    Refused_Slot_ = 0;
    int32_t slot = 0;
    const TMonster* player = Player();
    if (!player || !Slot_At(x, y, slot)) return;
    if (Is_Holding_Item() && !Can_Place_Item(Get_Held_Item(), slot)) Refused_Slot_ = slot;
    if (const TItem* item = player->Item_In_Slot(slot))
        Set_Cursor_Target_Item(item->Id);
    else
        Clear_Cursor_Target();
}

void TDC_Win_Inventory::Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y) {
    if (Point_In_Rect(x, y, Left, Top + Tab_Strip_Top, Tab_Strip_Width, Tab_Strip_Bottom - Tab_Strip_Top)) {
        Select_Tab((x - Left) / Tab_Section + 1);
        return;
    }
    int32_t slot = 0;
    if (Slot_At(x, y, slot)) Inventory_Slot_Click(button, shift, slot, Callbacks_);
}

void TDC_Win_Inventory::Handle_DrawPage(int32_t page) {
    if (Background_Loaded_)
        Gx_Copy_Rect_Transparent(0, Inventory_Window_Width - 1, 0, Inventory_Window_Height - 1, Left,
                                 Top + Inventory_Window_Height - 1, Background_, page);
    if (Tabs_Loaded_)
        Gx_Copy_Rect(0, Tab_Strip_Width - 1, Tab_Picture_Height * (Tab_ - 1), Tab_Picture_Height * Tab_ - 1,
                     Left, Top + Tab_Strip_Bottom - 1, Tabs_, page);
    const TDisplay_Object* display = Display_Object();
    const TMonster* player = Player();
    if (!display || display->Drawing_Suppressed || !player) return;
    for (int32_t column = 1; column <= Columns; ++column)
        for (int32_t row = 1; row <= Rows; ++row) {
            const int32_t slot = Backpack_Slot_Of(Tab_, column, row);
            const int32_t x = Left + Slot_X(column), y = Top + Slot_Y(row);
            if (slot == Refused_Slot_) display->Draw_Fixed_Icon_1(page, x, y);
            if (const TItem* item = player->Item_In_Slot(slot)) item->Draw(page, x, false, y);
        }
}
