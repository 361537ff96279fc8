// A small RGB drawing surface for the procedural pictures, and its BMP file (written by the program's one
// BMP writer). Everything not drawn stays magenta (255, 0, 255), the key colour the game turns into its
// transparent black when it loads a sheet.
#pragma once

#include "tools/media/Manifest.h"

#include <cstdint>
#include <vector>

namespace murk_media {

constexpr TRgb Key_Color{255, 0, 255};

// The colour clamped to 0..255 and moved off every value that would read as transparent once the game
// has packed it to 16 bits (5-6-5 or 5-5-5): black or too dark to keep a bit, or the magenta key.
TRgb Visible(TRgb c);

TRgb Shade(TRgb c, double factor);
TRgb Mix(TRgb a, TRgb b, double t);

struct TPoint {
    double X, Y;
};

class TCanvas {
public:
    TCanvas(int width, int height);
    int Width() const { return W; }
    int Height() const { return H; }
    TRgb Get(int x, int y) const { return Pixels[y * W + x]; }
    bool Drawn(int x, int y) const;

    // Drawn pixels never come out as a colour that would read as transparent (Visible); drawing in the key
    // colour itself makes the pixel transparent again (a hole in a ring).
    void Set(int x, int y, TRgb c);
    void Fill_Polygon(const std::vector<TPoint>& points, TRgb c); // convex, either winding
    void Fill_Ellipse(double cx, double cy, double rx, double ry, TRgb c);
    void Line(double x0, double y0, double x1, double y1, double width, TRgb c);
    void Fill_Rect(double x0, double y0, double x1, double y1, TRgb c);
    // Lightens or darkens drawn pixels by a per-pixel random amount, for texture.
    void Grain(TRandom& random, double amount);
    // Copies another canvas's drawn pixels to (x, y).
    void Paste(const TCanvas& other, int x, int y);
    // Writes c into every pixel not drawn, for a sheet whose transparent colour is not magenta; the last
    // step of a picture, as the canvas then no longer tells drawn pixels apart.
    void Fill_Undrawn(TRgb c);

    std::vector<uint8_t> Bmp_File() const;

private:
    int W, H;
    std::vector<TRgb> Pixels;
};

} // namespace murk_media
