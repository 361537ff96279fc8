// The contact sheet: every picture the recipes make, laid out on one image with its name, so that a change
// to the art is seen at a glance. Small pictures are shown twice their size; the transparent colour shows
// as a grey checker.
#pragma once

#include "tools/media/Canvas.h"
#include "tools/media/Lettering.h"

#include <string>
#include <vector>

namespace murk_media {

struct TNamed_Picture {
    std::string Path; // in the program folder, for example "Pictures/Items/Dagger.bmp"
    TCanvas Picture;
};

TCanvas Contact_Sheet(const std::vector<TNamed_Picture>& pictures, const TLettering& lettering);

} // namespace murk_media
