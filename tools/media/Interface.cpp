#include "tools/media/Interface.h"
#include "tools/media/Isometric.h"
#include "tools/media/Pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace murk_media {

namespace {

constexpr double Pi = std::numbers::pi;

// ---------------------------------------------------------------------------------------------------------
// Interface pictures: dialog backgrounds, the game screen's frame, button sheets and icon sheets. They are
// drawn from a small set of glyphs (simple shapes in a square box) on bevelled stone panels; the recipe
// lines place them. A glyph is written "shape[.ink][:size[:x:y]]": the ink is a colour name, the box is
// size pixels wide with its top-left corner at x, y (centred in its cell when no place is given).

TRgb Ink(const std::string& name) {
    static const std::map<std::string, TRgb> inks = {
        {"white", {235, 232, 220}},  {"grey", {150, 150, 150}},  {"red", {210, 40, 40}},
        {"blood", {160, 20, 20}},    {"orange", {240, 140, 40}}, {"gold", {230, 190, 60}},
        {"yellow", {245, 235, 110}}, {"green", {70, 190, 70}},   {"poison", {130, 210, 60}},
        {"blue", {60, 110, 230}},    {"ice", {150, 210, 250}},   {"purple", {170, 90, 230}},
        {"bone", {225, 215, 185}},   {"brown", {150, 100, 55}},  {"stone", {130, 125, 118}},
        {"steel", {185, 190, 200}},  {"teal", {60, 190, 180}},   {"dark", {22, 20, 20}},
        {"paper", {200, 182, 142}},  {"pink", {230, 120, 170}},  {"moss", {46, 66, 40}},
        {"faint", {64, 60, 55}},
    };
    const auto it = inks.find(name);
    if (it == inks.end()) throw std::runtime_error("unknown ink " + name);
    return it->second;
}

// A number list in groups of n, as the recipe gives rectangles and grids.
std::vector<std::vector<double>> Groups(const TEntry& e, const std::string& key, size_t n) {
    const std::vector<double> all = e.Numbers(key);
    if (all.size() % n != 0)
        throw std::runtime_error(e.Path + ": " + key + " needs groups of " + std::to_string(n));
    std::vector<std::vector<double>> groups;
    for (size_t i = 0; i < all.size(); i += n) groups.emplace_back(all.begin() + i, all.begin() + i + n);
    return groups;
}

// The square coordinates of a cell pixel: the floor diamond of the 54 x 54 map cell, and the block that a
// full-height wall fills above it.
bool On_Floor(int x, int y) {
    double a, b;
    Floor_Of(x, y, a, b);
    return std::abs(a) <= 0.5 && std::abs(b) <= 0.5;
}

bool In_Block(int x, int y) {
    const double half = 13.0 * (1.0 - std::abs(x + 0.5 - 27.0) / 26.0);
    return half >= 0 && y + 0.5 >= 40.5 - 27.0 - half && y + 0.5 <= 40.5 + half;
}

void Glyph(TCanvas& c, const std::string& shape, double x, double y, double s, TRgb ink) {
    auto pt = [&](double u, double v) { return TPoint{x + u * s, y + v * s}; };
    auto poly = [&](std::initializer_list<std::pair<double, double>> uv, TRgb col) {
        std::vector<TPoint> p;
        for (const auto& [u, v] : uv) p.push_back(pt(u, v));
        c.Fill_Polygon(p, col);
    };
    auto disc = [&](double u, double v, double r, TRgb col) {
        c.Fill_Ellipse(x + u * s, y + v * s, r * s, r * s, col);
    };
    auto oval = [&](double u, double v, double ru, double rv, TRgb col) {
        c.Fill_Ellipse(x + u * s, y + v * s, ru * s, rv * s, col);
    };
    auto line = [&](double u0, double v0, double u1, double v1, double w, TRgb col) {
        c.Line(x + u0 * s, y + v0 * s, x + u1 * s, y + v1 * s, std::max(1.0, w * s), col);
    };
    auto arc = [&](double u, double v, double r, double a0, double a1, double w, TRgb col) {
        for (int k = 0; k < 24; ++k) {
            const double p = a0 + (a1 - a0) * k / 24, q = a0 + (a1 - a0) * (k + 1) / 24;
            line(u + r * std::cos(p), v + r * std::sin(p), u + r * std::cos(q), v + r * std::sin(q), w, col);
        }
    };
    const TRgb dark = Shade(ink, 0.4), light = Mix(ink, {255, 255, 255}, 0.45);
    if (shape == "disc") {
        disc(0.5, 0.5, 0.5, ink);
    } else if (shape == "orb") {
        disc(0.5, 0.5, 0.38, ink);
        disc(0.4, 0.4, 0.14, light);
    } else if (shape == "ring" || shape == "forbid" || shape == "coin") {
        if (shape == "coin") disc(0.5, 0.5, 0.4, ink);
        arc(0.5, 0.5, shape == "coin" ? 0.28 : 0.36, 0, 2 * Pi, shape == "coin" ? 0.05 : 0.12,
            shape == "coin" ? dark : ink);
        if (shape == "forbid") line(0.25, 0.75, 0.75, 0.25, 0.12, ink);
        if (shape == "coin") disc(0.4, 0.38, 0.08, light);
    } else if (shape == "star") {
        std::vector<TPoint> inner;
        for (int k = 0; k < 5; ++k) {
            const double a = -Pi / 2 + k * 2 * Pi / 5;
            inner.push_back(pt(0.5 + 0.19 * std::cos(a + Pi / 5), 0.55 + 0.19 * std::sin(a + Pi / 5)));
            c.Fill_Polygon({pt(0.5 + 0.47 * std::cos(a), 0.55 + 0.47 * std::sin(a)),
                            pt(0.5 + 0.19 * std::cos(a - Pi / 5), 0.55 + 0.19 * std::sin(a - Pi / 5)),
                            pt(0.5 + 0.19 * std::cos(a + Pi / 5), 0.55 + 0.19 * std::sin(a + Pi / 5))},
                           ink);
        }
        c.Fill_Polygon(inner, ink);
    } else if (shape == "heart") {
        disc(0.32, 0.38, 0.2, ink);
        disc(0.68, 0.38, 0.2, ink);
        poly({{0.13, 0.45}, {0.87, 0.45}, {0.5, 0.88}}, ink);
        disc(0.3, 0.34, 0.06, light);
    } else if (shape == "drop") {
        disc(0.5, 0.62, 0.27, ink);
        poly({{0.5, 0.06}, {0.25, 0.56}, {0.75, 0.56}}, ink);
        disc(0.41, 0.62, 0.07, light);
    } else if (shape == "cross") {
        line(0.22, 0.22, 0.78, 0.78, 0.16, ink);
        line(0.78, 0.22, 0.22, 0.78, 0.16, ink);
    } else if (shape == "plus" || shape == "minus") {
        if (shape == "plus") line(0.5, 0.18, 0.5, 0.82, 0.18, ink);
        line(0.18, 0.5, 0.82, 0.5, 0.18, ink);
    } else if (shape == "check") {
        line(0.16, 0.52, 0.4, 0.78, 0.16, ink);
        line(0.4, 0.78, 0.86, 0.22, 0.16, ink);
    } else if (shape == "box" || shape == "tick") { // a toggle: an empty box, or a box with a tick in it
        // The tick is in the ink; the box is bone, tinted by the ink so a disabled button greys both.
        const TRgb frame = shape == "tick" ? Mix(ink, Ink("bone"), 0.75) : ink;
        poly({{0.2, 0.2}, {0.8, 0.2}, {0.8, 0.8}, {0.2, 0.8}}, Shade(frame, 0.25));
        for (const auto& [u0, v0, u1, v1] : std::vector<std::array<double, 4>>{
                 {0.2, 0.2, 0.8, 0.2}, {0.8, 0.2, 0.8, 0.8}, {0.8, 0.8, 0.2, 0.8}, {0.2, 0.8, 0.2, 0.2}})
            line(u0, v0, u1, v1, 0.09, frame);
        if (shape == "tick") {
            line(0.3, 0.5, 0.45, 0.66, 0.13, ink);
            line(0.45, 0.66, 0.9, 0.12, 0.13, ink);
        }
    } else if (shape == "up") {
        poly({{0.5, 0.18}, {0.86, 0.74}, {0.14, 0.74}}, ink);
    } else if (shape == "down") {
        poly({{0.14, 0.26}, {0.86, 0.26}, {0.5, 0.82}}, ink);
    } else if (shape == "left") {
        poly({{0.18, 0.5}, {0.74, 0.14}, {0.74, 0.86}}, ink);
    } else if (shape == "right") {
        poly({{0.82, 0.5}, {0.26, 0.14}, {0.26, 0.86}}, ink);
    } else if (shape == "prev" || shape == "next") {
        const double f = shape == "prev" ? 1 : -1; // mirrored about the middle
        for (const double u : {0.1, 0.45})
            poly({{0.5 - f * (0.5 - u), 0.5}, {0.5 - f * (0.15 - u), 0.22}, {0.5 - f * (0.15 - u), 0.78}},
                 ink);
    } else if (shape == "bars") {
        for (const double v : {0.28, 0.5, 0.72}) line(0.2, v, 0.8, v, 0.12, ink);
    } else if (shape == "scroll") {
        poly({{0.26, 0.2}, {0.74, 0.2}, {0.74, 0.8}, {0.26, 0.8}}, ink);
        oval(0.5, 0.2, 0.3, 0.08, dark);
        oval(0.5, 0.8, 0.3, 0.08, dark);
        for (const double v : {0.38, 0.5, 0.62}) line(0.34, v, 0.66, v, 0.04, dark);
    } else if (shape == "map") {
        arc(0.5, 0.5, 0.4, 0, 2 * Pi, 0.06, dark);
        poly({{0.5, 0.06}, {0.58, 0.5}, {0.5, 0.94}, {0.42, 0.5}}, ink);
        poly({{0.06, 0.5}, {0.5, 0.42}, {0.94, 0.5}, {0.5, 0.58}}, ink);
        poly({{0.5, 0.06}, {0.58, 0.5}, {0.42, 0.5}}, light);
    } else if (shape == "person") {
        disc(0.5, 0.3, 0.17, ink);
        poly({{0.18, 0.92}, {0.26, 0.6}, {0.5, 0.52}, {0.74, 0.6}, {0.82, 0.92}}, ink);
    } else if (shape == "book") {
        poly({{0.08, 0.2}, {0.92, 0.2}, {0.92, 0.86}, {0.08, 0.86}}, ink);
        poly({{0.13, 0.25}, {0.47, 0.29}, {0.47, 0.82}, {0.13, 0.78}}, light);
        poly({{0.53, 0.29}, {0.87, 0.25}, {0.87, 0.78}, {0.53, 0.82}}, light);
        line(0.5, 0.25, 0.5, 0.84, 0.05, dark);
    } else if (shape == "gear") {
        for (int k = 0; k < 8; ++k)
            line(0.5 + 0.2 * std::cos(k * Pi / 4), 0.5 + 0.2 * std::sin(k * Pi / 4),
                 0.5 + 0.42 * std::cos(k * Pi / 4), 0.5 + 0.42 * std::sin(k * Pi / 4), 0.15, ink);
        disc(0.5, 0.5, 0.3, ink);
        disc(0.5, 0.5, 0.11, dark);
    } else if (shape == "door") {
        poly({{0.24, 0.9}, {0.24, 0.3}, {0.5, 0.1}, {0.76, 0.3}, {0.76, 0.9}}, ink);
        line(0.5, 0.16, 0.5, 0.9, 0.04, dark);
        disc(0.64, 0.58, 0.05, light);
    } else if (shape == "save") {
        poly({{0.15, 0.15}, {0.85, 0.15}, {0.85, 0.85}, {0.15, 0.85}}, ink);
        poly({{0.3, 0.15}, {0.7, 0.15}, {0.7, 0.4}, {0.3, 0.4}}, light);
        poly({{0.25, 0.55}, {0.75, 0.55}, {0.75, 0.85}, {0.25, 0.85}}, Mix(ink, {240, 240, 230}, 0.7));
    } else if (shape == "load") { // an open chest with a scroll rising out of it
        poly({{0.12, 0.55}, {0.88, 0.55}, {0.82, 0.9}, {0.18, 0.9}}, Ink("brown"));
        poly({{0.12, 0.55}, {0.88, 0.55}, {0.92, 0.42}, {0.08, 0.42}}, Shade(Ink("brown"), 0.6));
        line(0.15, 0.72, 0.85, 0.72, 0.05, Ink("gold"));
        poly({{0.36, 0.12}, {0.64, 0.12}, {0.64, 0.5}, {0.36, 0.5}}, ink);
        poly({{0.5, 0.02}, {0.74, 0.22}, {0.26, 0.22}}, ink);
        line(0.42, 0.3, 0.58, 0.3, 0.03, dark);
        line(0.42, 0.4, 0.58, 0.4, 0.03, dark);
    } else if (shape == "export") {
        Glyph(c, "person", x, y + 0.1 * s, 0.7 * s, ink);
        poly({{0.96, 0.6}, {0.72, 0.4}, {0.72, 0.8}}, ink);
        line(0.56, 0.6, 0.76, 0.6, 0.12, ink);
    } else if (shape == "potion") {
        disc(0.5, 0.64, 0.28, ink);
        poly({{0.42, 0.2}, {0.58, 0.2}, {0.58, 0.42}, {0.42, 0.42}}, Mix(ink, {230, 230, 230}, 0.5));
        poly({{0.39, 0.1}, {0.61, 0.1}, {0.61, 0.2}, {0.39, 0.2}}, Ink("brown"));
        disc(0.4, 0.56, 0.07, light);
    } else if (shape == "flame") {
        poly({{0.5, 0.05}, {0.8, 0.62}, {0.2, 0.62}}, ink);
        disc(0.5, 0.65, 0.3, ink);
        poly({{0.5, 0.35}, {0.64, 0.7}, {0.36, 0.7}}, light);
        disc(0.5, 0.72, 0.14, light);
    } else if (shape == "shard") {
        poly({{0.5, 0.04}, {0.74, 0.5}, {0.5, 0.96}, {0.26, 0.5}}, ink);
        line(0.5, 0.12, 0.5, 0.88, 0.05, light);
    } else if (shape == "bolt") {
        poly({{0.64, 0.04}, {0.26, 0.56}, {0.56, 0.56}}, ink);
        poly({{0.44, 0.44}, {0.74, 0.44}, {0.36, 0.96}}, ink);
    } else if (shape == "cloud") {
        disc(0.32, 0.58, 0.2, ink);
        disc(0.54, 0.44, 0.25, ink);
        disc(0.72, 0.6, 0.18, ink);
        disc(0.5, 0.66, 0.18, ink);
        disc(0.48, 0.38, 0.08, light);
    } else if (shape == "shield") {
        poly({{0.18, 0.14}, {0.82, 0.14}, {0.82, 0.5}, {0.5, 0.92}, {0.18, 0.5}}, ink);
        line(0.5, 0.18, 0.5, 0.84, 0.05, dark);
        disc(0.5, 0.42, 0.1, light);
    } else if (shape == "paw") {
        disc(0.5, 0.66, 0.2, ink);
        for (const auto& [u, v] :
             std::vector<std::pair<double, double>>{{0.24, 0.4}, {0.41, 0.26}, {0.59, 0.26}, {0.76, 0.4}})
            disc(u, v, 0.09, ink);
    } else if (shape == "sword") {
        line(0.22, 0.78, 0.82, 0.18, 0.1, ink);
        line(0.22, 0.56, 0.44, 0.78, 0.08, Ink("gold"));
        line(0.1, 0.9, 0.26, 0.74, 0.09, Ink("brown"));
    } else if (shape == "bow") {
        arc(0.15, 0.5, 0.45, -1.22, 1.22, 0.08, Ink("brown"));
        line(0.3, 0.08, 0.3, 0.92, 0.02, light);
        line(0.1, 0.5, 0.86, 0.5, 0.04, ink);
        poly({{0.96, 0.5}, {0.8, 0.41}, {0.8, 0.59}}, ink);
    } else if (shape == "eye") {
        oval(0.5, 0.5, 0.44, 0.24, Mix(ink, {255, 255, 255}, 0.7));
        disc(0.5, 0.5, 0.17, ink);
        disc(0.5, 0.5, 0.07, dark);
    } else if (shape == "moon") {
        for (int k = 0; k <= 30; ++k) { // a crescent: discs along a half circle, thickest in the middle
            const double a = Pi / 2 + Pi * k / 30;
            disc(0.55 + 0.33 * std::cos(a), 0.5 + 0.38 * std::sin(a), 0.03 + 0.12 * std::sin(Pi * k / 30),
                 ink);
        }
    } else if (shape == "skull") {
        disc(0.5, 0.42, 0.32, ink);
        poly({{0.32, 0.58}, {0.68, 0.58}, {0.68, 0.86}, {0.32, 0.86}}, ink);
        disc(0.37, 0.45, 0.09, dark);
        disc(0.63, 0.45, 0.09, dark);
        poly({{0.5, 0.56}, {0.45, 0.66}, {0.55, 0.66}}, dark);
        for (const double u : {0.42, 0.5, 0.58}) line(u, 0.74, u, 0.86, 0.03, dark);
    } else if (shape == "hammer") {
        line(0.28, 0.88, 0.58, 0.36, 0.1, Ink("brown"));
        poly({{0.36, 0.14}, {0.86, 0.42}, {0.76, 0.6}, {0.26, 0.32}}, ink);
    } else if (shape == "feather") {
        for (int k = 0; k <= 20; ++k) {
            const double t = k / 20.0;
            disc(0.24 + 0.56 * t, 0.8 - 0.66 * t, 0.03 + 0.12 * std::sin(Pi * t), ink);
        }
        line(0.14, 0.92, 0.5, 0.46, 0.03, dark);
    } else if (shape == "bread") {
        oval(0.5, 0.56, 0.42, 0.26, ink);
        for (const double u : {0.32, 0.5, 0.68}) line(u - 0.05, 0.46, u + 0.05, 0.64, 0.04, dark);
    } else if (shape == "weight") {
        poly({{0.3, 0.36}, {0.7, 0.36}, {0.86, 0.88}, {0.14, 0.88}}, ink);
        arc(0.5, 0.25, 0.12, 0, 2 * Pi, 0.06, ink);
    } else if (shape == "cursor") { // a pointer whose tip is the box's top-left pixel
        const TRgb edge = Ink("dark");
        poly({{0, 0}, {0, 0.76}, {0.56, 0.56}}, edge);
        poly({{0.14, 0.54}, {0.3, 0.47}, {0.47, 0.82}, {0.3, 0.9}}, edge);
        poly({{0.03, 0.08}, {0.03, 0.66}, {0.45, 0.5}}, ink);
        poly({{0.18, 0.55}, {0.28, 0.51}, {0.41, 0.8}, {0.32, 0.84}}, ink);
    } else if (shape == "splat") {
        for (int k = 0; k < 8; ++k) {
            const double a = k * Pi / 4 + 0.3, l = k % 2 ? 0.34 : 0.47;
            poly({{0.5 + l * std::cos(a), 0.5 + l * std::sin(a)},
                  {0.5 + 0.17 * std::cos(a - 0.5), 0.5 + 0.17 * std::sin(a - 0.5)},
                  {0.5 + 0.17 * std::cos(a + 0.5), 0.5 + 0.17 * std::sin(a + 0.5)}},
                 ink);
        }
        disc(0.5, 0.5, 0.22, ink);
        disc(0.5, 0.5, 0.1, light);
    } else if (shape == "tile") { // a slot background filling the box
        c.Fill_Rect(x, y, x + s, y + s, ink);
        c.Fill_Rect(x, y, x + s, y + 1, Shade(ink, 1.4));
        c.Fill_Rect(x, y, x + 1, y + s, Shade(ink, 1.4));
        c.Fill_Rect(x, y + s - 1, x + s, y + s, Shade(ink, 0.6));
        c.Fill_Rect(x + s - 1, y, x + s, y + s, Shade(ink, 0.6));
    } else if (shape.rfind("dir", 0) ==
               0) { // a direction tile: the compass points as the map view shows them
        static const double screen[11][2] = {{0, 0}, {-2, -1}, {0, -1}, {2, -1}, {1, 0}, {2, 1},
                                             {0, 1}, {-2, 1},  {-1, 0}, {0, 0},  {0, 0}};
        const int d = std::stoi(shape.substr(3));
        Glyph(c, "tile", x, y, s, Shade(ink, 0.3));
        const double len = std::hypot(screen[d][0], screen[d][1]);
        if (d >= 1 && d <= 8) {
            const double u = screen[d][0] / len, v = screen[d][1] / len;
            line(0.5 - 0.3 * u, 0.5 - 0.3 * v, 0.5 + 0.2 * u, 0.5 + 0.2 * v, 0.1, ink);
            poly({{0.5 + 0.38 * u, 0.5 + 0.38 * v},
                  {0.5 + 0.14 * u - 0.16 * v, 0.5 + 0.14 * v + 0.16 * u},
                  {0.5 + 0.14 * u + 0.16 * v, 0.5 + 0.14 * v - 0.16 * u}},
                 ink);
        } else if (d == 9 || d == 10) {
            arc(0.5, 0.5, d == 9 ? 0.2 : 0.3, 0, 2 * Pi, 0.08, ink);
        }
    } else if (shape == "helm") { // equipment slot outlines, drawn faint in empty slots (convex parts)
        oval(0.5, 0.46, 0.3, 0.3, ink);
        poly({{0.2, 0.44}, {0.8, 0.44}, {0.8, 0.56}, {0.2, 0.56}}, ink);
        poly({{0.2, 0.5}, {0.37, 0.5}, {0.37, 0.84}, {0.2, 0.8}}, ink);
        poly({{0.63, 0.5}, {0.8, 0.5}, {0.8, 0.8}, {0.63, 0.84}}, ink);
        line(0.5, 0.2, 0.5, 0.68, 0.06, dark);
    } else if (shape == "amulet") {
        arc(0.5, 0.28, 0.26, 0, Pi, 0.05, ink);
        disc(0.5, 0.68, 0.17, ink);
        disc(0.46, 0.64, 0.06, light);
    } else if (shape == "armor") {
        poly({{0.27, 0.2}, {0.73, 0.2}, {0.73, 0.88}, {0.27, 0.88}}, ink);
        poly({{0.08, 0.32}, {0.3, 0.16}, {0.34, 0.3}, {0.18, 0.46}}, ink);
        poly({{0.92, 0.32}, {0.82, 0.46}, {0.66, 0.3}, {0.7, 0.16}}, ink);
        poly({{0.4, 0.19}, {0.6, 0.19}, {0.5, 0.32}}, dark);
    } else if (shape == "belt") {
        poly({{0.06, 0.4}, {0.94, 0.4}, {0.94, 0.6}, {0.06, 0.6}}, ink);
        for (const auto& [u0, v0, u1, v1] : std::vector<std::array<double, 4>>{{0.38, 0.32, 0.62, 0.32},
                                                                               {0.62, 0.32, 0.62, 0.68},
                                                                               {0.62, 0.68, 0.38, 0.68},
                                                                               {0.38, 0.68, 0.38, 0.32}})
            line(u0, v0, u1, v1, 0.07, light);
    } else if (shape == "boots") {
        for (const double o : {0.0, 0.4}) {
            poly({{0.1 + o, 0.14}, {0.32 + o, 0.14}, {0.32 + o, 0.88}, {0.1 + o, 0.88}}, ink);
            poly({{0.3 + o, 0.66}, {0.48 + o, 0.74}, {0.48 + o, 0.88}, {0.3 + o, 0.88}}, ink);
            line(0.1 + o, 0.82, 0.48 + o, 0.82, 0.04, dark);
        }
    } else if (shape == "blade") { // a sword in one ink
        line(0.24, 0.76, 0.84, 0.16, 0.11, ink);
        line(0.16, 0.58, 0.42, 0.84, 0.09, ink);
        line(0.1, 0.9, 0.26, 0.74, 0.09, ink);
    } else if (shape == "glove") {
        poly({{0.26, 0.5}, {0.72, 0.5}, {0.72, 0.9}, {0.3, 0.9}}, ink);
        for (int f = 0; f < 4; ++f)
            line(0.32 + f * 0.12, 0.52, 0.32 + f * 0.12, 0.16 + (f == 0 || f == 3 ? 0.08 : 0), 0.09, ink);
        line(0.26, 0.62, 0.12, 0.42, 0.09, ink);
    } else if (shape == "stars") { // a scatter of stars over the upper half of the box
        for (int k = 0; k < 40; ++k) {
            const double u = ((k * 7919) % 997) / 997.0, v = 0.55 * ((k * 104729) % 991) / 991.0;
            disc(u, v, k % 7 == 0 ? 0.006 : 0.0035, k % 3 ? ink : light);
        }
    } else if (shape == "barrow") { // a grassed burial mound and its doorway, between standing stones
        oval(0.5, 1.02, 0.5, 0.44, Shade(ink, 0.7));
        oval(0.5, 1.04, 0.46, 0.38, ink);
        const TRgb stone = Shade(Ink("stone"), 0.75);
        poly({{0.43, 0.83}, {0.44, 0.66}, {0.56, 0.66}, {0.57, 0.83}}, stone);
        poly({{0.455, 0.83}, {0.46, 0.69}, {0.54, 0.69}, {0.545, 0.83}}, {34, 22, 18});
        poly({{0.42, 0.66}, {0.58, 0.66}, {0.58, 0.63}, {0.42, 0.63}}, Shade(stone, 1.2));
        for (const double u : {0.15, 0.85})
            poly({{u - 0.025, 0.86}, {u - 0.018, 0.68}, {u + 0.012, 0.66}, {u + 0.026, 0.86}}, stone);
    } else if (shape == "floor" || shape == "outline" || shape.rfind("shade", 0) == 0) {
        // Map-cell overlays in a 54 x 54 box: the floor diamond (the picking mask), its outline (the
        // highlight) and darkness as an ordered dither over the square's block, denser for darker light.
        const int level = shape.rfind("shade", 0) == 0 ? std::stoi(shape.substr(5)) : 0;
        static const int bayer[2][2] = {{0, 2}, {3, 1}};
        for (int py = 0; py < Square_Size; ++py)
            for (int px = 0; px < Square_Size; ++px) {
                const bool floor = On_Floor(px, py);
                const bool edge = floor && !(On_Floor(px - 1, py) && On_Floor(px + 1, py) &&
                                             On_Floor(px, py - 1) && On_Floor(px, py + 1));
                if ((shape == "floor" && floor) || (shape == "outline" && edge) ||
                    (level > 0 && In_Block(px, py) && bayer[py % 2][px % 2] < level))
                    c.Set(int(x) + px, int(y) + py, ink);
            }
    } else if (shape.rfind("face", 0) == 0) { // status faces: 0 hale .. 5 dying, 6 panic, 7 poisoned
        const int mood = std::stoi(shape.substr(4));
        disc(0.5, 0.5, 0.46, ink);
        const TRgb feature = Shade(ink, 0.3);
        disc(0.35, 0.4, mood == 6 ? 0.1 : 0.06, feature);
        disc(0.65, 0.4, mood == 6 ? 0.1 : 0.06, feature);
        if (mood == 6) {
            oval(0.5, 0.7, 0.1, 0.13, feature);
        } else {
            const double bend = mood == 7 ? 0 : 0.14 - 0.07 * mood; // smile to frown
            for (int k = 0; k < 8; ++k) {
                const double t0 = -1 + k / 4.0, t1 = t0 + 0.25;
                const double w0 = mood == 7 ? 0.04 * std::sin(t0 * 2 * Pi) : 0,
                             w1 = mood == 7 ? 0.04 * std::sin(t1 * 2 * Pi) : 0;
                line(0.5 + 0.2 * t0, 0.68 + bend * (1 - t0 * t0) - bend + w0, 0.5 + 0.2 * t1,
                     0.68 + bend * (1 - t1 * t1) - bend + w1, 0.06, feature);
            }
        }
    } else if (shape != "-") {
        throw std::runtime_error("unknown glyph " + shape);
    }
}

struct TGlyph {
    std::string Shape;
    TRgb Ink;
    double Size = 0, X = 0, Y = 0;
    bool Placed = false;
};

TGlyph Parse_Glyph(const std::string& token, TRgb ink) {
    const std::vector<std::string> parts = Split(token, ':');
    TGlyph g;
    const size_t dot = parts[0].find('.');
    g.Shape = parts[0].substr(0, dot);
    g.Ink = dot == std::string::npos ? ink : Ink(parts[0].substr(dot + 1));
    if (parts.size() > 1) g.Size = std::stod(parts[1]);
    if (parts.size() > 3) g.X = std::stod(parts[2]), g.Y = std::stod(parts[3]), g.Placed = true;
    return g;
}

// Draws a glyph in the cell at (x, y) of size w x h: at its place in the cell, or centred. Nothing of it
// leaves its square box.
void Place_Glyph(TCanvas& c, const TGlyph& g, double x, double y, double w, double h, double size,
                 double shift) {
    const double s = g.Size > 0 ? g.Size : size;
    const double gx = (g.Placed ? x + g.X : x + (w - s) / 2) + shift,
                 gy = (g.Placed ? y + g.Y : y + (h - s) / 2) + shift;
    const int ox = int(std::floor(gx)), oy = int(std::floor(gy)), side = int(std::ceil(s)) + 1;
    TCanvas box(side, side);
    Glyph(box, g.Shape, gx - ox, gy - oy, s, g.Ink);
    c.Paste(box, ox, oy);
}

// Smooth noise in 0..1: a lattice of fixed values every scale pixels, blended across each cell.
double Value_Noise(double x, double y, double scale, int seed) {
    auto lattice = [seed](int i, int j) {
        uint32_t h = 2166136261u;
        for (const int v : {i, j, seed}) h = (h ^ uint32_t(v)) * 16777619u, h ^= h >> 15;
        return (h % 1000) / 999.0;
    };
    const double fx = x / scale, fy = y / scale;
    const int i = int(std::floor(fx)), j = int(std::floor(fy));
    const double u = fx - i, v = fy - j, su = u * u * (3 - 2 * u), sv = v * v * (3 - 2 * v);
    const double top = lattice(i, j) + (lattice(i + 1, j) - lattice(i, j)) * su;
    const double bottom = lattice(i, j + 1) + (lattice(i + 1, j + 1) - lattice(i, j + 1)) * su;
    return top + (bottom - top) * sv;
}

// The plate's stone: a mottled surface, darker in broad patches, with a fine grain over it.
TRgb Plate_Stone(TRgb base, int x, int y) {
    const double broad = Value_Noise(x, y, 37, 1), fine = Value_Noise(x, y, 5, 2);
    return Shade(base, 0.86 + 0.2 * broad + 0.08 * fine);
}

// The ring of pixels k inside the rectangle, its top and left edges in one colour, bottom and right in
// another.
void Edge_Ring(TCanvas& c, double x, double y, double w, double h, int k, TRgb top_left, TRgb bottom_right) {
    c.Fill_Rect(x + k, y + h - k - 1, x + w - k, y + h - k, bottom_right);
    c.Fill_Rect(x + w - k - 1, y + k, x + w - k, y + h - k, bottom_right);
    c.Fill_Rect(x + k, y + k, x + w - k, y + k + 1, top_left);
    c.Fill_Rect(x + k, y + k, x + k + 1, y + h - k, top_left);
}

// A recessed area: a list, a text box, a bar or an item slot; its rim catches the light at the bottom
// right and falls into shadow at the top left, and the shadow reaches a little way in.
void Inset(TCanvas& c, double x, double y, double w, double h, TRgb fill) {
    c.Fill_Rect(x, y, x + w, y + h, fill);
    Edge_Ring(c, x, y, w, h, 0, Shade(fill, 0.45), Mix(fill, {200, 190, 170}, 0.35));
    Edge_Ring(c, x, y, w, h, 1, Shade(fill, 0.7), fill);
    if (w > 12 && h > 12) Edge_Ring(c, x, y, w, h, 2, Shade(fill, 0.85), fill);
}

// A band of parchment for a dark caption, with a rolled end at each side and a gold stud beyond it.
void Parchment_Band(TCanvas& c, double cx, double cy, double w) {
    const TRgb paper = Ink("paper");
    const double x0 = cx - w / 2, x1 = cx + w / 2;
    c.Fill_Rect(x0 + 1, cy - 11, x1 + 1, cy + 14, Shade(paper, 0.3)); // its shadow on the plate
    for (int y = int(cy - 13); y < int(cy + 13); ++y)
        for (int x = int(x0); x < int(x1); ++x)
            c.Set(x, y,
                  Shade(paper, 0.9 + 0.14 * Value_Noise(x, y, 9, 3) - 0.12 * std::abs(y + 0.5 - cy) / 13));
    Edge_Ring(c, x0, cy - 13, w, 26, 0, Shade(paper, 0.55), Shade(paper, 0.55));
    for (const double side : {-1.0, 1.0}) {
        const double ex = side < 0 ? x0 : x1;
        c.Fill_Ellipse(ex, cy, 4, 13.5, Shade(paper, 0.8));
        c.Fill_Ellipse(ex - side, cy, 1.6, 11, Shade(paper, 0.5));
        c.Fill_Ellipse(ex + side * 11, cy, 3.2, 3.2, Shade(Ink("gold"), 0.55));
        c.Fill_Ellipse(ex + side * 11 - 0.6, cy - 0.6, 2.4, 2.4, Ink("gold"));
    }
}

// A gold stud set into the plate.
void Stud(TCanvas& c, double x, double y, double r) {
    c.Fill_Ellipse(x + 0.7, y + 0.7, r, r, Shade(Ink("gold"), 0.35));
    c.Fill_Ellipse(x, y, r, r, Shade(Ink("gold"), 0.8));
    c.Fill_Ellipse(x - r * 0.3, y - r * 0.3, r * 0.45, r * 0.45, Mix(Ink("gold"), {255, 250, 220}, 0.6));
}

// Lettering on the plate: light ink gets a dark shadow so it reads on stone as on a dark well.
void Letter(TCanvas& c, const TLettering& lettering, double x, double y, const std::string& text, int size,
            TRgb ink, TAlign align) {
    const bool light = ink.R + ink.G + ink.B > 300;
    lettering.Draw(c, x, y, text, size, ink, align, light ? TRgb{16, 14, 12} : Key_Color);
}

// Recipe text: words joined by underscores, as the recipe lines split at spaces.
std::string Words(std::string text) {
    std::replace(text.begin(), text.end(), '_', ' ');
    return text;
}

// A raised panel of any outline (filled even-odd, so it may be concave), its edges lit from the top left.
void Raised(TCanvas& c, const std::vector<TPoint>& p, TRgb base) {
    for (int y = 0; y < c.Height(); ++y) {
        std::vector<double> cuts;
        for (size_t i = 0; i < p.size(); ++i) {
            const TPoint a = p[i], b = p[(i + 1) % p.size()];
            if ((a.Y <= y + 0.5) != (b.Y <= y + 0.5))
                cuts.push_back(a.X + (y + 0.5 - a.Y) * (b.X - a.X) / (b.Y - a.Y));
        }
        std::sort(cuts.begin(), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); i += 2)
            for (int x = std::max(0, int(std::ceil(cuts[i] - 0.5))); x + 0.5 < cuts[i + 1] && x < c.Width();
                 ++x)
                c.Set(x, y, Plate_Stone(base, x, y));
    }
    double area = 0;
    for (size_t i = 0; i < p.size(); ++i)
        area += p[i].X * p[(i + 1) % p.size()].Y - p[(i + 1) % p.size()].X * p[i].Y;
    for (size_t i = 0; i < p.size(); ++i) {
        const TPoint a = p[i], b = p[(i + 1) % p.size()];
        const double len = std::hypot(b.X - a.X, b.Y - a.Y), sign = area > 0 ? 1.0 : -1.0;
        const double nx = sign * (b.Y - a.Y) / len, ny = sign * (a.X - b.X) / len; // outward
        c.Line(a.X - nx, a.Y - ny, b.X - nx, b.Y - ny, 2.0,
               nx + ny < 0 ? Shade(base, 1.45) : Shade(base, 0.5));
    }
}

std::vector<TPoint> Rect_Outline(double x, double y, double w, double h) {
    return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}

} // namespace

// A dialog background, a window or the game screen's frame: raised panels (the whole picture unless
// panels= gives outlines) on the back colour; a whole-picture plate gets a dark outer edge, a bevel, an
// inlaid gold line and a stud in each corner. Then parchment bands for dark captions (title=cx,cy,w; with
// caption=cx,cy,w,Text the plate letters the caption itself), dark wells and parchment wells where the game
// draws lists, slots and texts, glyphs, an outline, and lettering: text=x,y,size,align,ink,Text;... with
// align l, c or r and the text's middle at y.
void Panel(const TEntry& e, TCanvas& c, TRandom& r, const TLettering& lettering) {
    const TRgb base = e.Color("color", {70, 61, 52}), well = e.Color("well", {28, 26, 25});
    const TRgb paper = Ink("paper");
    const double W = c.Width(), H = c.Height();
    if (e.Params.count("back")) c.Fill_Rect(0, 0, W, H, e.Color("back", {8, 8, 10}));
    if (e.Params.count("panels")) {
        for (const std::string& outline : Split(e.Text("panels", ""), ';')) {
            const std::vector<double> v = Parse_Numbers(outline, "panels", e.Line);
            std::vector<TPoint> p;
            for (size_t i = 0; i + 1 < v.size(); i += 2) p.push_back({v[i], v[i + 1]});
            Raised(c, p, base);
        }
    } else {
        Raised(c, Rect_Outline(0, 0, W, H), base);
        Edge_Ring(c, 0, 0, W, H, 0, Shade(base, 0.35), Shade(base, 0.3));
        Edge_Ring(c, 0, 0, W, H, 1, Shade(base, 1.5), Shade(base, 0.5));
        Edge_Ring(c, 0, 0, W, H, 2, Shade(base, 1.25), Shade(base, 0.7));
    }
    // frame=plain: no inlay, for plates whose wells reach to their edges.
    if (!e.Params.count("panels") && e.Text("frame", "ornate") == "ornate") {
        const double inlay = std::min(W, H) > 120 ? 6 : 4;
        Edge_Ring(c, 0, 0, W, H, int(inlay), Shade(Ink("gold"), 0.35), Shade(Ink("gold"), 0.7));
        Edge_Ring(c, 0, 0, W, H, int(inlay) + 1, Shade(Ink("gold"), 0.7), Shade(Ink("gold"), 0.35));
        for (const double x : {inlay + 1.0, W - inlay - 2.0})
            for (const double y : {inlay + 1.0, H - inlay - 2.0}) Stud(c, x, y, 3);
    }
    c.Grain(r, 0.03);
    for (const auto& t : Groups(e, "title", 3)) Parchment_Band(c, t[0], t[1], t[2]);
    for (const std::string& caption : Split(e.Text("caption", ""), ';')) {
        const std::vector<std::string> f = Split(caption, ',');
        if (f.size() != 4) throw std::runtime_error(e.Path + ": caption=cx,cy,w,Text");
        const double cx = Parse_Numbers(f[0], "caption", e.Line)[0],
                     cy = Parse_Numbers(f[1], "caption", e.Line)[0];
        Parchment_Band(c, cx, cy, Parse_Numbers(f[2], "caption", e.Line)[0]);
        Letter(c, lettering, cx, cy, Words(f[3]), 15, {40, 28, 18}, TAlign::Centre);
    }
    for (const auto& k : Groups(e, "light", 4)) Inset(c, k[0], k[1], k[2], k[3], paper);
    for (const auto& k : Groups(e, "dark", 4)) Inset(c, k[0], k[1], k[2], k[3], well);
    for (const auto& g : Groups(e, "grid", 8)) // x, y, w, h, columns, rows, dx, dy
        for (int j = 0; j < g[5]; ++j)
            for (int i = 0; i < g[4]; ++i) Inset(c, g[0] + i * g[6], g[1] + j * g[7], g[2], g[3], well);
    for (const std::string& token : Split(e.Text("glyphs", ""), ','))
        Place_Glyph(c, Parse_Glyph(token, Ink("bone")), 0, 0, W, H, 24, 0);
    const std::vector<double> o = e.Numbers("outline");
    for (size_t i = 0; i + 1 < o.size(); i += 2)
        c.Line(o[i], o[i + 1], o[(i + 2) % o.size()], o[(i + 3) % o.size()], 1.0, Shade(base, 0.8));
    for (const std::string& label : Split(e.Text("text", ""), ';')) {
        const std::vector<std::string> f = Split(label, ',');
        if (f.size() != 6 || f[3].size() != 1 || std::string("lcr").find(f[3]) == std::string::npos)
            throw std::runtime_error(e.Path + ": text=x,y,size,l|c|r,ink,Text");
        const TAlign align = f[3] == "l" ? TAlign::Left : f[3] == "c" ? TAlign::Centre : TAlign::Right;
        Letter(c, lettering, Parse_Numbers(f[0], "text", e.Line)[0], Parse_Numbers(f[1], "text", e.Line)[0],
               Words(f[5]), int(Parse_Numbers(f[2], "text", e.Line)[0]), Ink(f[4]), align);
    }
}

// A button sheet: one column per picture, one row per state (normal, mouse over, pressed, disabled).
void Buttons(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const std::vector<double> cell = e.Numbers("cell");
    const std::string face = e.Text("face", "square");
    const std::vector<std::string> glyphs = Split(e.Text("glyphs", "-"), ','),
                                   faces = Split(e.Text("faces", ""), ',');
    const double w = cell.at(0), h = cell.at(1), size = std::min(w, h) * e.Number("glyph", 0.62);
    if (glyphs.size() * w > c.Width() || 4 * h > c.Height())
        throw std::runtime_error(e.Path + ": cells outside the sheet");
    for (size_t col = 0; col < glyphs.size(); ++col) {
        TRgb tint = e.Color("color", {92, 80, 66});
        if (col < faces.size() && faces[col] != "-") tint = Mix(tint, Ink(faces[col]), 0.55);
        for (int state = 0; state < 4; ++state) {
            const double x = col * w, y = state * h;
            const bool pressed = state == 2, disabled = state == 3;
            TRgb col_face = state == 1 ? Shade(tint, 1.25) : pressed ? Shade(tint, 0.85) : tint;
            if (disabled) col_face = Shade(Mix(tint, {110, 110, 110}, 0.7), 0.7);
            const TRgb lit = Shade(col_face, 1.5), shadow = Shade(col_face, 0.45);
            const TRgb first = pressed ? shadow : lit, second = pressed ? lit : shadow;
            if (face == "round" || face == "rounded") { // a disc, or a bar with round ends
                const double rad = h / 2 - 1, x0 = x + rad + 1, x1 = x + w - rad - 1, cy = y + h / 2;
                for (const auto& [colour, off, shrink] : std::vector<std::tuple<TRgb, double, double>>{
                         {second, 0.8, 0}, {first, -0.8, 0.8}, {col_face, 0, 2.5}}) {
                    c.Fill_Ellipse(x0 + off, cy + off, rad - shrink, rad - shrink, colour);
                    c.Fill_Ellipse(x1 + off, cy + off, rad - shrink, rad - shrink, colour);
                    c.Fill_Rect(x0 + off, cy + off - rad + shrink, x1 + off, cy + off + rad - shrink, colour);
                }
            } else {
                const int thick = face == "frame" ? 4 : face == "socket" ? 3 : 2;
                if (face != "frame") c.Fill_Rect(x, y, x + w, y + h, col_face);
                Edge_Ring(c, x, y, w, h, 0, first, second);
                for (int k = 1; k < thick; ++k)
                    Edge_Ring(c, x, y, w, h, k, k == 1 ? Mix(first, col_face, 0.5) : col_face, col_face);
                if (face == "frame") Edge_Ring(c, x, y, w, h, thick, second, first);
                if (face == "socket") Inset(c, x + 3, y + 3, w - 6, h - 6, Shade(col_face, 0.35));
            }
            TGlyph g = Parse_Glyph(glyphs[col], e.Color("ink", Ink("bone")));
            if (disabled) g.Ink = Mix(g.Ink, {90, 90, 90}, 0.7);
            if (state == 1) g.Ink = Shade(g.Ink, 1.15);
            Place_Glyph(c, g, x, y, w, h, size, pressed ? 1 : 0);
            // Rounded corners: the pixels outside a quarter circle in each corner stay transparent.
            const double round = e.Number("corners", 0);
            for (int j = 0; j < round; ++j)
                for (int i = 0; i < round; ++i)
                    if (std::hypot(round - i - 0.5, round - j - 0.5) > round)
                        for (const auto& [px, py] :
                             std::vector<std::pair<double, double>>{{x + i, y + j},
                                                                    {x + w - 1 - i, y + j},
                                                                    {x + i, y + h - 1 - j},
                                                                    {x + w - 1 - i, y + h - 1 - j}})
                            c.Set(int(px), int(py), Key_Color);
        }
    }
    c.Grain(r, 0.03);
    // A sheet the game loads without turning magenta to black keeps black as its transparent colour.
    if (e.Text("key", "magenta") == "black") c.Fill_Undrawn({0, 0, 0});
}

// An icon sheet: cells of cell= in rows of perrow=, one glyph per cell; back=disc puts each glyph on a
// dark disc of its own colour.
void Icons(const TEntry& e, TCanvas& c, TRandom&, const TLettering&) {
    const std::vector<double> cell = e.Numbers("cell");
    const std::vector<std::string> glyphs = Split(e.Text("glyphs", ""), ',');
    const double w = cell.at(0), h = cell.at(1);
    const int per_row = e.Integer("perrow", 1);
    if (per_row * w > c.Width() || std::ceil(double(glyphs.size()) / per_row) * h > c.Height())
        throw std::runtime_error(e.Path + ": cells outside the sheet");
    for (size_t n = 0; n < glyphs.size(); ++n) {
        const double x = (n % per_row) * w, y = double(n / per_row) * h;
        const TGlyph g = Parse_Glyph(glyphs[n], e.Color("ink", Ink("bone")));
        if (e.Text("back", "none") == "disc" && g.Shape != "-") {
            c.Fill_Ellipse(x + w / 2, y + h / 2, w / 2 - 3, h / 2 - 3, Shade(g.Ink, 0.8));
            c.Fill_Ellipse(x + w / 2, y + h / 2, w / 2 - 5, h / 2 - 5, Shade(g.Ink, 0.3));
        }
        Place_Glyph(c, g, x, y, w, h, std::min(w, h) - 2 * e.Number("margin", 0), 0);
    }
}

// The inventory window's tab strips: strip t shows tab t raised in front of the others, each tab lettered
// with its number.
void Tabs(const TEntry& e, TCanvas& c, TRandom& r, const TLettering& lettering) {
    const TRgb base = e.Color("color", {70, 61, 52});
    const int count = e.Integer("count", 4), h = c.Height() / count, w = e.Integer("tab", 45);
    for (const bool lettered : {false, true}) {
        for (int t = 0; t < count; ++t)
            for (int k = 0; k < count; ++k) {
                const bool front = k == t;
                const double x0 = k * w, x1 = std::min(double(c.Width()), x0 + w - 1),
                             top = t * h + (front ? 0 : 6);
                if (!lettered)
                    Raised(c, Rect_Outline(x0, top, x1 - x0, t * h + h - top),
                           front ? Shade(base, 1.2) : Shade(base, 0.8));
                else
                    Letter(c, lettering, (x0 + x1) / 2, top + (t * h + h - top) / 2, std::to_string(k + 1),
                           front ? 14 : 12, front ? Ink("gold") : Ink("stone"), TAlign::Centre);
            }
        if (!lettered) c.Grain(r, 0.02);
    }
}

} // namespace murk_media
