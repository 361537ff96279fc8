// Lettering for the pictures: UTF-8 text in one TrueType face at any pixel size, rendered without
// anti-aliasing so that every pixel is either the ink or untouched - a blended edge would mix the ink with
// the magenta key and show as a pink fringe once the game turns the key transparent.
#pragma once

#include "tools/media/Canvas.h"

#include <map>
#include <memory>
#include <string>

namespace murk_media {

enum class TAlign { Left, Centre, Right };

class TLettering {
public:
    // Throws std::runtime_error when the face cannot be opened.
    explicit TLettering(const std::string& font_file);
    ~TLettering();
    TLettering(const TLettering&) = delete;
    TLettering& operator=(const TLettering&) = delete;

    // The width of the text in pixels and the height of a line, at size pixels.
    int Width(const std::string& text, int size) const;
    int Line_Height(int size) const;

    // Draws the text with the middle of its line at y: starting at x, centred on x or ending at x.
    // A shadow other than the key colour is drawn first, one pixel down and right.
    void Draw(TCanvas& canvas, double x, double y, const std::string& text, int size, TRgb ink,
              TAlign align = TAlign::Left, TRgb shadow = Key_Color) const;

private:
    struct TFace;
    TFace& Face(int size) const;

    std::string File;
    mutable std::map<int, std::unique_ptr<TFace>> Faces; // by pixel size, opened on first use
};

// The face the pictures are lettered in: DejaVu Sans Bold, found where the build found it.
const TLettering& Picture_Lettering();

} // namespace murk_media
