// The procedural pictures: isometric terrain layers and creatures in 54 x 54 cells, items in 32 x 32 cells,
// the frame sheets of the display effects, and the interface's dialog backgrounds, button and icon sheets.
#pragma once

#include "tools/media/Canvas.h"
#include "tools/media/Lettering.h"
#include "tools/media/Manifest.h"

#include <vector>

namespace murk_media {

constexpr int Square_Size = 54; // one map-sheet cell: a terrain layer, a creature or a portrait
constexpr int Item_Size = 32;   // one item-sheet cell

// One picture entry; throws std::runtime_error for an unknown recipe.
TCanvas Draw_Picture(const TEntry& entry, const TLettering& lettering);

// An effect sheet: every entry is one strip of frames (x, y, w, h, frames, perline) in the same file; the
// sheet is as large as its strips need.
TCanvas Draw_Effect_Sheet(const std::vector<const TEntry*>& strips);

} // namespace murk_media
