// The real backends over SDL2: the game's window and screen, and its text raster. Made once at program
// start and installed with plat::Install_Display_Backend and plat::Install_Text_Backend. No SDL type
// leaves these files.
#pragma once

#include "platform/DisplayBackend.h"
#include "platform/TextBackend.h"

#include <memory>
#include <string>

namespace plat {

// Initialises SDL's video and makes the program's one window, hidden until the mode is set (full screen on
// the desktop, scaled to the logical screen with bars where the shapes differ, synchronised to the
// display). nullptr when SDL or the window cannot be had.
std::unique_ptr<TDisplay_Backend> Make_Sdl_Display(const std::string& title);

// SDL2_ttf with fontconfig: a face resolves to a font file the program offered, else to the system's font
// of that family, else to DejaVu Sans; the stock fixed font is DejaVu Sans Mono. nullptr when SDL2_ttf
// cannot start.
std::unique_ptr<TText_Backend> Make_Sdl_Text();

} // namespace plat
