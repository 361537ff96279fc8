// The graphics library: one full-screen mode, a table of 256 virtual buffers (drawing surfaces named by a
// handle 0..255; 0 is the back page that frames are drawn into and shown by Gx_Flip), the active buffer
// that every drawing routine works on, colours, fills, copies, text and BMP loading, and the mouse in
// buffer coordinates. Plain functions over one library-wide state, used from the GUI thread only.
//
// Results are 0 for success and small negative numbers for errors unless stated. An invalid handle makes a
// copy or a free do nothing; routines on the active buffer do nothing when no buffer is active, and every
// fill, copy and bitmap load is clipped to its buffers, so nothing from a data file can write outside one.
//
// The screen, text raster and mouse come from the platform backends (plat::Display_Backend(),
// plat::Text_Backend()), chosen once at start-up; buffers are our own surfaces in memory.
#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Flags of Gx_Dd_Setup: a full-screen page with a back page that becomes slot 0; never retry another depth.
constexpr int32_t Gx_Flag_Flip_Chain = 1;
constexpr int32_t Gx_Flag_No_Depth_Retry = 16;

// Flags of gx_showbmp.
constexpr int32_t Gx_Bmp_Ignore_Colour_Table = 1;
constexpr int32_t Gx_Bmp_At_Position = 2; // the image's top-left corner at the current position
constexpr int32_t Gx_Bmp_Keep_File_Colours = 8;

// Results of gx_showbmp.
constexpr int32_t Gx_Bmp_Ok = 0;
constexpr int32_t Gx_Bmp_Cannot_Open = 1;
constexpr int32_t Gx_Bmp_Not_Bmp = 2; // also a bad data offset or a file that ends early
constexpr int32_t Gx_Bmp_Unsupported = 3;
constexpr int32_t Gx_Bmp_Compressed = 4;
constexpr int32_t Gx_Bmp_No_Memory = 5;

// Status codes kept for Gx_Dd_Status (the values a DirectDraw driver gives for the same failures).
constexpr int32_t Gx_Status_Ok = 0;
constexpr int32_t Gx_Status_Out_Of_Memory = static_cast<int32_t>(0x8007000E);
constexpr int32_t Gx_Status_Out_Of_Video_Memory = static_cast<int32_t>(0x8876017C);
constexpr int32_t Gx_Status_Invalid_Params = static_cast<int32_t>(0x80070057);
constexpr int32_t Gx_Status_Unsupported = static_cast<int32_t>(0x80004001);

// A device context: where text goes (a buffer) with the library's current font. 0 is none.
using TGx_DC = int32_t;

// Mode and device.
int32_t Gx_Desktop_Bits();
// 0 = available, negative = not available (answered at once).
int32_t gx_modetest(int32_t width, int32_t height, int32_t bits);
// Stores the request for gx_vbinit; flags masked to 5 bits; below 24 bits the no-retry flag is cleared.
int32_t Gx_Dd_Setup(int32_t width, int32_t height, int32_t bits, int32_t flags);
void gx_setdc(TGx_DC dc);
// Sets the mode (once more at 56 - bits when refused, unless the flags forbid it) and slot 0: 0 or -1.
int32_t gx_vbinit();
int32_t gx_ddusage();
int32_t Gx_Dd_Status();
int32_t Gx_DirectX_Version();
// Ends the mode and releases every slot still held, so later frees are no-ops.
void Gx_Shutdown();

// Virtual buffers.
void gx_vbdepth(int32_t bits); // 16, 24, 32; any other value is 8 bits
void gx_ddmemory(int32_t video);
// Lowest free slot; -1 when all 256 are taken; -2 for a width or height outside 1..16384, a video budget
// exceeded, no memory or no device. The width is rounded up to a multiple of 4.
int32_t gx_vballoc(int32_t width, int32_t height);
// -1 for a handle outside 0..255, -2 for an empty slot; a failed open leaves no buffer active, so what the
// caller draws next goes nowhere instead of into the buffer that was active before.
int32_t gx_vbopen(int32_t handle);
void Gx_Deselect_Buffer();
// Ignored for the active handle and for 256 or more; a negative handle releases every slot, but only while
// no buffer is active. Returns 0.
int32_t Gx_Free_Buffer(int32_t handle);
int32_t Gx_Max_X();
int32_t Gx_Max_Y();

// Presenting and surfaces.
void Gx_Set_Blit_Mode(int32_t mode); // kept; both modes copy by the same rules
int32_t Gx_Flip();
int32_t Gx_Restore_Surfaces(); // surfaces are never lost: 0
void Gx_Flip_To_GDI();
// The active buffer's memory when it is not locked yet (the lock count becomes 1); nullptr otherwise.
uint8_t* Gx_Lock();
void Gx_Unlock();
TGx_DC Gx_Surface_Get_DC();
void Gx_Surface_Release_DC(TGx_DC dc);
void Gx_Select_DC(TGx_DC dc);
TGx_DC Gx_Get_DC();      // the library's own context, bound to no buffer: for measuring
TGx_DC Gx_Selected_DC(); // the context text is drawn through, so a caller may put it back

// Mouse.
int32_t gx_mouseini(); // 1, or -1 without a mouse
void Gx_Mouse_Visible(int32_t visible);
// The pointer in active-buffer coordinates; (-1, -1) outside the buffer or without a mouse.
void Gx_Mouse_Position(int32_t& x, int32_t& y);
int32_t Gx_Window_To_Buffer_X(int32_t x);
int32_t Gx_Window_To_Buffer_Y(int32_t y);

// Colours, position and pixels.
uint32_t Gx_Rgb_To_Color(int32_t r, int32_t g, int32_t b);
int32_t Gx_Nearest_Palette_Index(int32_t r, int32_t g, int32_t b);
void Gx_Set_Color(uint32_t colour);
void Gx_Move_To(int32_t x, int32_t y);
int32_t Gx_Get_X();
void Gx_Set_Pixel(int32_t x, int32_t y);
uint32_t Gx_Get_Pixel(int32_t x, int32_t y); // 0 outside the buffer or without one

// Fills and copies. Rectangles are X1, X2, Y1, Y2, inclusive; copies place the source rectangle with its
// left column at X and its BOTTOM row at Y of the target (callers pass top + height - 1). The pixel size is
// the target's. Transparent copies skip black pixels (32 bits: the low 24 bits) and clear the top byte.
void Gx_Fill_Rect(int32_t x1, int32_t x2, int32_t y1, int32_t y2);
void Gx_Fill_Page();
int32_t Gx_Copy_Rect(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y, int32_t source,
                     int32_t target);
int32_t Gx_Copy_Rect_Transparent(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y,
                                 int32_t source, int32_t target);
// Whole buffers with the same row size in bytes and height; nothing otherwise.
int32_t Gx_Copy_Buffer(int32_t source, int32_t target);

// Text.
void Gx_Select_Stock_Font(int32_t stock_object);
void Gx_Select_Font(int32_t font); // a handle of the text backend
void Gx_Set_Justify(int32_t horizontal, int32_t vertical);
// Draws the UTF-8 string at the current position as justified, then moves the position past it.
void Gx_Draw_Text(std::string_view text);

// Bitmaps.
int32_t gx_showbmp(const std::string& file_name, int32_t flags);
// The same from BMP data in memory.
int32_t gx_showbmp_data(std::span<const uint8_t> data, int32_t flags);
// Updates palette entries first.. from R, G, B triples; clamped to the 256 entries.
void Gx_Set_Palette_Entries(int32_t first, int32_t count, const plat::TRgb8* triples);
// Width and height from a BMP file's header, for sizing a buffer before loading; false when unreadable.
bool Gx_Read_Bmp_Size(const std::string& file_name, int32_t& width, int32_t& height);

// The active handle (-1 for none), so a caller can put back the buffer it found active.
int32_t Gx_Active_Buffer();
// The surface of a slot (nullptr when empty), for frame dumps and tests.
const plat::TSurface* Gx_Buffer_Surface(int32_t handle);
