// The device half of the graphics library: the mode, the buffer table, the active buffer, presenting,
// locks and contexts, and the mouse.
#include "media/GfxDevice.h"
#include "media/GfxState.h"
#include "platform/DisplayBackend.h"

#include <new>

namespace {

constexpr int32_t Max_Buffer_Side = 16384;

void Release_Slot(TGx_State& g, int32_t handle) {
    TGx_Slot& slot = g.Slots[handle];
    if (slot.Surface && slot.In_Video_Memory)
        g.Video_Bytes_Used -= static_cast<int64_t>(slot.Surface->Pixels.size());
    slot.Surface.reset();
    slot.In_Video_Memory = false;
}

void Release_All_Slots(TGx_State& g) {
    for (int32_t h = 0; h < 256; ++h) Release_Slot(g, h);
}

bool Set_Mode(TGx_State& g, int32_t bits) {
    const int32_t result = plat::Display_Backend().Set_Mode(g.Mode_Width, g.Mode_Height, bits);
    if (result != 0) g.Status = result;
    return result == 0;
}

} // namespace

TGx_State& Gx() {
    static TGx_State state;
    return state;
}

plat::TSurface* Gx_Slot_Surface(int32_t handle) {
    if (handle < 0 || handle > 255) return nullptr;
    return Gx().Slots[handle].Surface.get();
}

plat::TSurface* Gx_Active_Surface() {
    return Gx_Slot_Surface(Gx().Active);
}

const plat::TSurface* Gx_Buffer_Surface(int32_t handle) {
    return Gx_Slot_Surface(handle);
}

int32_t Gx_Active_Buffer() {
    return Gx().Active;
}

int32_t Gx_Desktop_Bits() {
    const int32_t bits = plat::Display_Backend().Desktop_Bits();
    return bits == 15 ? 16 : bits;
}

int32_t gx_modetest(int32_t width, int32_t height, int32_t bits) {
    return plat::Display_Backend().Test_Mode(width, height, bits);
}

int32_t Gx_Dd_Setup(int32_t width, int32_t height, int32_t bits, int32_t flags) {
    TGx_State& g = Gx();
    g.Mode_Width = width;
    g.Mode_Height = height;
    g.Mode_Bits = bits;
    g.Mode_Flags = flags & 0x1F;
    if (bits < 24) g.Mode_Flags &= ~Gx_Flag_No_Depth_Retry;
    return 0;
}

void gx_setdc(TGx_DC dc) {
    Gx().Library_DC = dc;
}

int32_t gx_vbinit() {
    TGx_State& g = Gx();
    Gx_Select_Stock_Font(plat::Stock_Oem_Fixed_Font);

    Release_All_Slots(g);
    for (int32_t i = 0; i < 256; ++i) g.Remap[i] = static_cast<uint8_t>(i);
    g.Active = -1;
    g.Lock_Count = 0;
    g.Alloc_Bits = 8;
    g.Justify_H = g.Justify_V = -1;
    g.X = g.Y = 0;
    g.Colour = 0;
    g.Init_Result = -1;
    g.Interface_Level = 7;
    g.Alloc_Video = false;

    // The windowed device (depth 0) is never asked for, and has no stand-in.
    if (g.Mode_Bits == 0) {
        g.Status = Gx_Status_Unsupported;
        return -1;
    }
    if (!Set_Mode(g, g.Mode_Bits)) {
        if (g.Mode_Flags & Gx_Flag_No_Depth_Retry) return -1;
        g.Mode_Flags |= Gx_Flag_No_Depth_Retry;
        g.Mode_Bits = 56 - g.Mode_Bits; // 24 <-> 32; 16 asks for 40, which no screen has
        if (!Set_Mode(g, g.Mode_Bits)) return -1;
    }
    g.Mode_Set = true;
    g.Status = Gx_Status_Ok;
    gx_vbdepth(g.Mode_Bits);
    g.Layout_555 = g.Mode_Bits == 16 && plat::Display_Backend().Layout_555();

    g.Flip_Chain = g.Mode_Flags & Gx_Flag_Flip_Chain;
    if (g.Flip_Chain) {
        try {
            g.Slots[0].Surface = plat::Make_Surface(g.Mode_Width, g.Mode_Height, g.Mode_Bits, g.Layout_555);
        } catch (const std::bad_alloc&) {
            g.Status = Gx_Status_Out_Of_Memory;
            return -1;
        }
        g.Slots[0].Surface->Palette = &g.Palette;
        g.Slots[0].Generation++;
    }
    g.Init_Result = 0;
    g.Memory_DC = g.Next_DC++;
    g.Contexts[g.Memory_DC] = TGx_Context{};
    return 0;
}

int32_t gx_ddusage() {
    return Gx().Init_Result;
}

int32_t Gx_Dd_Status() {
    return Gx().Status;
}

int32_t Gx_DirectX_Version() {
    return Gx().Interface_Level;
}

void Gx_Shutdown() {
    TGx_State& g = Gx();
    if (g.Mode_Set) plat::Display_Backend().Close_Mode();
    Release_All_Slots(g);
    // Everything else goes back to how it was before the first gx_vbinit.
    g = TGx_State{};
}

void gx_vbdepth(int32_t bits) {
    Gx().Alloc_Bits = bits == 16 || bits == 24 || bits == 32 ? bits : 8;
}

void gx_ddmemory(int32_t video) {
    Gx().Alloc_Video = video != 0;
}

int32_t gx_vballoc(int32_t width, int32_t height) {
    TGx_State& g = Gx();
    int32_t handle = 0;
    while (handle < 256 && g.Slots[handle].Surface) ++handle;
    if (handle == 256) return -1;
    if (!g.Mode_Set) {
        g.Status = Gx_Status_Unsupported;
        return -2;
    }
    // Sizes come from picture headers: a wrong one must fail here, not overflow the buffer's size.
    if (width <= 0 || height <= 0 || width > Max_Buffer_Side || height > Max_Buffer_Side) {
        g.Status = Gx_Status_Invalid_Params;
        return -2;
    }
    const int32_t rounded = (width + 3) & ~3;
    const int64_t bytes = int64_t{rounded} * height * plat::Bytes_Per_Pixel(g.Alloc_Bits);
    if (g.Alloc_Video) {
        const int64_t budget = plat::Display_Backend().Video_Memory_Budget();
        if (budget >= 0 && g.Video_Bytes_Used + bytes > budget) {
            g.Status = Gx_Status_Out_Of_Video_Memory;
            return -2;
        }
    }
    TGx_Slot& slot = g.Slots[handle];
    try {
        slot.Surface = plat::Make_Surface(rounded, height, g.Alloc_Bits, g.Layout_555);
    } catch (const std::bad_alloc&) {
        g.Status = Gx_Status_Out_Of_Memory;
        return -2;
    }
    slot.Surface->Palette = &g.Palette;
    slot.In_Video_Memory = g.Alloc_Video;
    if (g.Alloc_Video) g.Video_Bytes_Used += bytes;
    slot.Generation++;
    g.Status = Gx_Status_Ok;
    return handle;
}

int32_t gx_vbopen(int32_t handle) {
    TGx_State& g = Gx();
    if (handle < 0 || handle > 255) {
        Gx_Deselect_Buffer();
        return -1;
    }
    const plat::TSurface* surface = g.Slots[handle].Surface.get();
    if (!surface) {
        Gx_Deselect_Buffer();
        return -2;
    }
    g.Active = handle;
    g.Active_Width = surface->Width;
    g.Active_Height = surface->Height;
    g.Active_Bits = surface->Bits;
    Gx_Rebuild_Lookups();
    return 0;
}

void Gx_Deselect_Buffer() {
    Gx().Active = -1;
}

int32_t Gx_Free_Buffer(int32_t handle) {
    TGx_State& g = Gx();
    if (handle < 0) {
        if (g.Active < 0) Release_All_Slots(g);
        return 0;
    }
    if (handle > 255 || handle == g.Active) return 0;
    Release_Slot(g, handle);
    return 0;
}

int32_t Gx_Max_X() {
    return Gx().Active_Width - 1;
}

int32_t Gx_Max_Y() {
    return Gx().Active_Height - 1;
}

void Gx_Set_Blit_Mode(int32_t mode) {
    Gx().Blit_Mode = mode;
}

int32_t Gx_Flip() {
    TGx_State& g = Gx();
    if (g.Mode_Set && g.Flip_Chain && g.Slots[0].Surface)
        plat::Display_Backend().Present(*g.Slots[0].Surface);
    return 0;
}

int32_t Gx_Restore_Surfaces() {
    return 0;
}

void Gx_Flip_To_GDI() {}

uint8_t* Gx_Lock() {
    TGx_State& g = Gx();
    plat::TSurface* surface = Gx_Active_Surface();
    if (!surface || g.Lock_Count != 0) return nullptr;
    g.Lock_Count = 1;
    return surface->Pixels.data();
}

void Gx_Unlock() {
    TGx_State& g = Gx();
    if (g.Active >= 0 && g.Lock_Count > 0) g.Lock_Count--;
}

TGx_DC Gx_Surface_Get_DC() {
    TGx_State& g = Gx();
    if (!Gx_Active_Surface()) return 0;
    const TGx_DC dc = g.Next_DC++;
    g.Contexts[dc] = TGx_Context{g.Active, g.Slots[g.Active].Generation};
    return dc;
}

void Gx_Surface_Release_DC(TGx_DC dc) {
    TGx_State& g = Gx();
    if (g.Active < 0) return;
    if (dc != g.Memory_DC) g.Contexts.erase(dc);
    if (g.Lock_Count > 0) g.Lock_Count--;
}

void Gx_Select_DC(TGx_DC dc) {
    Gx().Library_DC = dc;
}

TGx_DC Gx_Get_DC() {
    return Gx().Memory_DC;
}

TGx_DC Gx_Selected_DC() {
    return Gx().Library_DC;
}

int32_t gx_mouseini() {
    TGx_State& g = Gx();
    if (!plat::Display_Backend().Mouse_Present()) {
        g.Mouse_On = false;
        return -1;
    }
    g.Cursor_Width = 32;
    g.Cursor_Height = 32;
    g.Mouse_On = true;
    g.Cursor_Visible = true;
    return 1;
}

void Gx_Mouse_Visible(int32_t visible) {
    TGx_State& g = Gx();
    if (!g.Mouse_On || (visible != 0) == g.Cursor_Visible) return;
    g.Cursor_Visible = visible != 0;
    plat::Display_Backend().Show_Cursor(g.Cursor_Visible);
}

void Gx_Mouse_Position(int32_t& x, int32_t& y) {
    TGx_State& g = Gx();
    x = y = -1;
    int32_t cx = 0, cy = 0;
    if (!g.Mouse_On || g.Active < 0 || !plat::Display_Backend().Mouse_Position(cx, cy)) return;
    const int32_t bx = Gx_Window_To_Buffer_X(cx), by = Gx_Window_To_Buffer_Y(cy);
    if (bx < 0 || by < 0 || bx >= g.Active_Width || by >= g.Active_Height) return;
    x = bx;
    y = by;
}

namespace {
int32_t Window_To_Buffer(int32_t c, int32_t buffer_size, bool vertical) {
    const plat::TClient_Rect r = plat::Display_Backend().Client_Rect();
    const int32_t client = vertical ? r.Height : r.Width;
    if (r.Left != 0 || r.Top != 0 || client <= 0) return -1;
    return static_cast<int32_t>(int64_t{c} * buffer_size / client);
}
} // namespace

int32_t Gx_Window_To_Buffer_X(int32_t x) {
    return Window_To_Buffer(x, Gx().Active_Width, false);
}

int32_t Gx_Window_To_Buffer_Y(int32_t y) {
    return Window_To_Buffer(y, Gx().Active_Height, true);
}
