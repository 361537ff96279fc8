#include "tools/media/Canvas.h"
#include "platform/BmpWriter.h"

#include <algorithm>
#include <cmath>

namespace murk_media {

namespace {

bool Same(TRgb a, TRgb b) {
    return a.R == b.R && a.G == b.G && a.B == b.B;
}

} // namespace

TRgb Shade(TRgb c, double factor) {
    auto f = [factor](int v) { return std::clamp(static_cast<int>(std::lround(v * factor)), 0, 255); };
    return {f(c.R), f(c.G), f(c.B)};
}

TRgb Mix(TRgb a, TRgb b, double t) {
    auto f = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return {f(a.R, b.R), f(a.G, b.G), f(a.B, b.B)};
}

TCanvas::TCanvas(int width, int height) : W(width), H(height), Pixels(size_t(width) * height, Key_Color) {}

bool TCanvas::Drawn(int x, int y) const {
    return !Same(Get(x, y), Key_Color);
}

TRgb Visible(TRgb c) {
    c = {std::clamp(c.R, 0, 255), std::clamp(c.G, 0, 255), std::clamp(c.B, 0, 255)};
    // At 16 bits the game keeps the top five (green: six) bits of each channel, then compares with the
    // packed magenta key and keyed copies skip 0: a colour that packs like either would vanish.
    if (c.R >= 248 && c.B >= 248 && c.G < 8) c.G = 8;
    if (c.R < 16 && c.G < 16 && c.B < 16) c = {std::max(c.R, 16), std::max(c.G, 16), std::max(c.B, 16)};
    return c;
}

void TCanvas::Set(int x, int y, TRgb c) {
    if (x < 0 || y < 0 || x >= W || y >= H) return;
    Pixels[y * W + x] = Same(c, Key_Color) ? Key_Color : Visible(c);
}

void TCanvas::Fill_Undrawn(TRgb c) {
    for (TRgb& p : Pixels)
        if (Same(p, Key_Color)) p = c;
}

void TCanvas::Fill_Polygon(const std::vector<TPoint>& p, TRgb c) {
    if (p.size() < 3) return;
    double x0 = p[0].X, x1 = x0, y0 = p[0].Y, y1 = y0;
    for (const TPoint& q : p) {
        x0 = std::min(x0, q.X), x1 = std::max(x1, q.X), y0 = std::min(y0, q.Y), y1 = std::max(y1, q.Y);
    }
    for (int y = std::max(0, int(std::floor(y0))); y <= std::min(H - 1, int(std::ceil(y1))); ++y)
        for (int x = std::max(0, int(std::floor(x0))); x <= std::min(W - 1, int(std::ceil(x1))); ++x) {
            const double px = x + 0.5, py = y + 0.5;
            bool positive = false, negative = false;
            for (size_t i = 0; i < p.size(); ++i) {
                const TPoint& a = p[i];
                const TPoint& b = p[(i + 1) % p.size()];
                const double cross = (b.X - a.X) * (py - a.Y) - (b.Y - a.Y) * (px - a.X);
                positive |= cross > 1e-9;
                negative |= cross < -1e-9;
            }
            if (!(positive && negative)) Set(x, y, c);
        }
}

void TCanvas::Fill_Ellipse(double cx, double cy, double rx, double ry, TRgb c) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = std::max(0, int(cy - ry - 1)); y <= std::min(H - 1, int(cy + ry + 1)); ++y)
        for (int x = std::max(0, int(cx - rx - 1)); x <= std::min(W - 1, int(cx + rx + 1)); ++x) {
            const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) Set(x, y, c);
        }
}

void TCanvas::Line(double x0, double y0, double x1, double y1, double width, TRgb c) {
    const double dx = x1 - x0, dy = y1 - y0, len = std::hypot(dx, dy), r = width / 2.0;
    for (int y = std::max(0, int(std::min(y0, y1) - r - 1));
         y <= std::min(H - 1, int(std::max(y0, y1) + r + 1)); ++y)
        for (int x = std::max(0, int(std::min(x0, x1) - r - 1));
             x <= std::min(W - 1, int(std::max(x0, x1) + r + 1)); ++x) {
            const double px = x + 0.5 - x0, py = y + 0.5 - y0;
            const double t = len > 0 ? std::clamp((px * dx + py * dy) / (len * len), 0.0, 1.0) : 0.0;
            if (std::hypot(px - t * dx, py - t * dy) <= r) Set(x, y, c);
        }
}

void TCanvas::Fill_Rect(double x0, double y0, double x1, double y1, TRgb c) {
    Fill_Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, c);
}

void TCanvas::Grain(TRandom& random, double amount) {
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (Drawn(x, y)) Set(x, y, Shade(Get(x, y), 1.0 + amount * random.Signed()));
}

void TCanvas::Paste(const TCanvas& other, int x, int y) {
    for (int j = 0; j < other.H; ++j)
        for (int i = 0; i < other.W; ++i)
            if (other.Drawn(i, j)) Set(x + i, y + j, other.Get(i, j));
}

std::vector<uint8_t> TCanvas::Bmp_File() const {
    std::vector<uint8_t> bgr(static_cast<std::size_t>(W) * H * 3);
    uint8_t* p = bgr.data();
    for (const TRgb& c : Pixels) {
        *p++ = static_cast<uint8_t>(c.B);
        *p++ = static_cast<uint8_t>(c.G);
        *p++ = static_cast<uint8_t>(c.R);
    }
    return plat::Bmp24_File(W, H, bgr.data(), static_cast<std::size_t>(W) * 3);
}

} // namespace murk_media
