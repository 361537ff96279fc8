// The interface pictures: dialog backgrounds, windows and the game screen's frame (panel), button sheets
// (buttons), icon sheets (icons) and the inventory's tab strips (tabs), drawn from a small set of glyphs on
// bevelled stone plates and lettered where the screens that show them write nothing of their own.
#pragma once

#include "tools/media/Canvas.h"
#include "tools/media/Lettering.h"
#include "tools/media/Manifest.h"

namespace murk_media {

void Panel(const TEntry& e, TCanvas& c, TRandom& r, const TLettering& lettering);
void Buttons(const TEntry& e, TCanvas& c, TRandom& r, const TLettering& lettering);
void Icons(const TEntry& e, TCanvas& c, TRandom& r, const TLettering& lettering);
void Tabs(const TEntry& e, TCanvas& c, TRandom& r, const TLettering& lettering);

} // namespace murk_media
