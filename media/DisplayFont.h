// The game's fonts: the font files of the program's Fonts folder offered to the text raster, and the six
// text styles every window draws in.
#pragma once

#include "platform/TextBackend.h"

#include <cstdint>

// A font as a style describes it, with the text raster's handle once opened (0 before).
struct TFont_Object {
    plat::TFont_Spec Spec;
    uint32_t Colour = 0; // 0x00RRGGBB
    int32_t Handle = 0;
};

constexpr int32_t Text_Style_Count = 6;
constexpr const char* Text_Style_Face = "GOST 2.304 Bold";

// Offers "goudos.ttf", "goudosb.ttf" and "goudosi.ttf" of the program folder's Fonts folder (a missing file
// is not reported: the face falls back to another) and makes the six style fonts.
void Load_External_Resources();
void Free_External_Resources();
// Face, size in points (1 = 10, 2 = 9, 3 = 12, 4 = 18, 5 = 16, 6 = 12), regular, black; any other style
// leaves the font unchanged.
void Set_Font_Style(int32_t style, TFont_Object& font);
// The style's font; nullptr outside 1..6 or while the fonts are not loaded.
const TFont_Object* Style_Font(int32_t style);
