// The graphics library's one state, shared by its device, drawing and bitmap files; nothing outside the
// library includes this.
#pragma once

#include "media/GfxDevice.h"
#include "platform/Surface.h"
#include "platform/TextBackend.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>

struct TGx_Slot {
    std::unique_ptr<plat::TSurface> Surface; // none = free
    bool In_Video_Memory = false;
    uint32_t Generation = 0; // advanced by every allocation, so a context never outlives its buffer
};

// A context bound to a buffer (or to none: the memory context and unknown values draw nothing).
struct TGx_Context {
    int32_t Handle = -1;
    uint32_t Generation = 0;
};

struct TGx_State {
    // Requested mode.
    int32_t Mode_Width = 0, Mode_Height = 0, Mode_Bits = 0, Mode_Flags = 0;
    bool Mode_Set = false;
    bool Flip_Chain = false; // slot 0 is the page Gx_Flip shows

    int32_t Init_Result = -1;
    int32_t Status = Gx_Status_Ok;
    int32_t Interface_Level = 0;
    bool Layout_555 = false;

    std::array<TGx_Slot, 256> Slots;
    int32_t Alloc_Bits = 8;
    bool Alloc_Video = false;
    int64_t Video_Bytes_Used = 0;

    // Active buffer; its size and depth stay as they were when none is active.
    int32_t Active = -1;
    int32_t Active_Width = 0, Active_Height = 0, Active_Bits = 0;
    int32_t Lock_Count = 0;

    int32_t Blit_Mode = 1;
    uint32_t Colour = 0;
    int32_t X = 0, Y = 0;
    int32_t Justify_H = -1, Justify_V = -1;

    TGx_DC Library_DC = 0;
    TGx_DC Memory_DC = 0;
    TGx_DC Next_DC = 1;
    std::map<TGx_DC, TGx_Context> Contexts;
    int32_t Font = 0;
    plat::TFont_Metrics Font_Metrics;

    plat::TPalette Palette{};
    std::array<uint8_t, 256> Remap{};
    std::array<uint16_t, 256> Lookup_16{};
    std::array<uint32_t, 256> Lookup_32{};

    bool Mouse_On = false;
    bool Cursor_Visible = false;
    int32_t Cursor_Width = 0, Cursor_Height = 0;
};

TGx_State& Gx();

// The surface of the active buffer, or nullptr.
plat::TSurface* Gx_Active_Surface();
plat::TSurface* Gx_Slot_Surface(int32_t handle);
// Rebuilds the per-index colours of 16-bit and 24/32-bit buffers from the palette.
void Gx_Rebuild_Lookups();
