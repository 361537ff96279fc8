#include "tools/media/Pictures.h"
#include "tools/media/Interface.h"
#include "tools/media/Isometric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <stdexcept>
#include <string>
#include <tuple>

namespace murk_media {

namespace {

constexpr double Pi = std::numbers::pi;

struct TBox {
    double A0, A1, B0, B1, Z0, Z1;
    TRgb Color;
};

// The faces of a box seen from the south-west, each lit as the light falls from the upper left of the
// screen: the top brightest, the south face (toward the lower right) in half light, the west face (toward
// the lower left) in shade.
enum TFace { West_Face, South_Face, Top_Face };
constexpr double Face_Light[] = {0.66, 0.86, 1.14};

// A texture gives the brightness factor of a face point: u runs along the face (b on the west face, a on
// the south face and the top), v up it (the height z, or b on the top).
using TTexture = std::function<double(TFace face, double u, double v)>;

// Every pixel whose centre sees a face of the box, faces found by mapping the pixel back onto each face's
// plane, so a texture follows the face whatever its size.
void Draw_Box(TCanvas& canvas, const TBox& k, const TTexture& texture = {}) {
    // The bounds: the left and right corners, the back corner's top and the front corner's foot.
    const int x0 = std::max(0, int(Iso(k.A0, k.B0).X) - 1);
    const int x1 = std::min(canvas.Width() - 1, int(Iso(k.A1, k.B1).X) + 1);
    const int y0 = std::max(0, int(Iso(k.A1, k.B0, k.Z1).Y) - 1);
    const int y1 = std::min(canvas.Height() - 1, int(Iso(k.A0, k.B1, k.Z0).Y) + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5, py = y + 0.5, s = (px - 27.0) / 26.0;
            auto shade = [&](TFace face, double u, double v) {
                const double f = Face_Light[face] * (texture ? texture(face, u, v) : 1.0);
                canvas.Set(x, y, Shade(k.Color, f));
            };
            // The top at height Z1: floor coordinates of the pixel lifted by Z1.
            const double d = (py + k.Z1 - 40.5) / 13.0, ta = (s - d) / 2.0, tb = (s + d) / 2.0;
            if (ta >= k.A0 && ta <= k.A1 && tb >= k.B0 && tb <= k.B1) {
                shade(Top_Face, ta, tb);
                continue;
            }
            // The south face b = B1: a from the column, z from the row.
            const double sa = s - k.B1, sz = 40.5 + 13.0 * (k.B1 - sa) - py;
            if (sa >= k.A0 && sa <= k.A1 && sz >= k.Z0 && sz <= k.Z1) {
                shade(South_Face, sa, sz);
                continue;
            }
            const double wb = s - k.A0, wz = 40.5 + 13.0 * (wb - k.A0) - py;
            if (wb >= k.B0 && wb <= k.B1 && wz >= k.Z0 && wz <= k.Z1) shade(West_Face, wb, wz);
        }
}

// Boxes drawn back to front (north and east first).
void Draw_Boxes(TCanvas& canvas, std::vector<TBox> boxes, const TTexture& texture = {}) {
    std::stable_sort(boxes.begin(), boxes.end(), [](const TBox& x, const TBox& y) {
        return (x.B0 + x.B1 - x.A0 - x.A1) < (y.B0 + y.B1 - y.A0 - y.A1);
    });
    for (const TBox& k : boxes) Draw_Box(canvas, k, texture);
}

// A rounded upright body (urn, barrel, trunk, well) standing at (a, b).
void Draw_Cylinder(TCanvas& canvas, double a, double b, double radius, double z0, double z1, TRgb c) {
    const TPoint base = Iso(a, b, z0), top = Iso(a, b, z1);
    const double rx = radius * 52.0, ry = radius * 26.0;
    canvas.Fill_Ellipse(base.X, base.Y, rx, ry, Shade(c, 0.8));
    canvas.Fill_Rect(base.X - rx, top.Y, base.X + rx, base.Y, Shade(c, 0.85));
    canvas.Fill_Rect(base.X - rx * 0.2, top.Y, base.X + rx * 0.5, base.Y, Shade(c, 1.0));
    canvas.Fill_Ellipse(top.X, top.Y, rx, ry, Shade(c, 1.15));
}

void Draw_Flame(TCanvas& canvas, double x, double y, double size) {
    canvas.Fill_Polygon({{x - size * 0.5, y}, {x, y - size * 1.6}, {x + size * 0.5, y}}, {240, 120, 20});
    canvas.Fill_Ellipse(x, y - size * 0.2, size * 0.55, size * 0.45, {250, 150, 30});
    canvas.Fill_Ellipse(x, y - size * 0.3, size * 0.25, size * 0.35, {255, 235, 120});
}

// A number in 0..1 fixed by three integers, for textures that must stay put from pixel to pixel.
double Hash_Unit(int a, int b, int c) {
    uint32_t h = 2166136261u;
    for (const int v : {a, b, c}) h = (h ^ uint32_t(v)) * 16777619u, h ^= h >> 13;
    return (h % 10007) / 10006.0;
}

// The surface of a wall or a block of rock: dressed stone in courses, rammed earth, timber boards or rough
// rock. u runs along a face in square widths (29 pixels), v up it in pixels (on the top, b again).
TTexture Masonry(const std::string& style) {
    return [style](TFace face, double u, double v) {
        if (face == Top_Face) { // cap stones, boards seen end on, or the rough top of the earth
            if (style == "stone") {
                const double ga = (u + 0.5) * 4, gb = (v + 0.5) * 4;
                if (ga - std::floor(ga) < 0.12 || gb - std::floor(gb) < 0.12) return 0.72;
                return 0.94 + 0.12 * Hash_Unit(int(ga), int(gb), 7);
            }
            if (style == "timber") return 0.9 + 0.1 * std::sin((u + v) * 60);
            return 0.85 + 0.25 * Hash_Unit(int(u * 40), int(v * 40), 3);
        }
        if (style == "stone") {
            const int course = int(std::floor(v / 6));
            const double along = u * 2.9 + (course % 2) * 0.5; // about ten pixels a stone
            if (v - course * 6 < 1.0 || along - std::floor(along) < 0.1) return 0.6;
            return 0.9 + 0.18 * Hash_Unit(course, int(std::floor(along)), 1) +
                   (v - course * 6 > 4.5 ? 0.06 : 0);
        }
        if (style == "timber") {
            const double board = u * 5.5;
            if (board - std::floor(board) < 0.13) return 0.55;
            return 0.88 + 0.14 * Hash_Unit(int(std::floor(board)), 0, 2) +
                   0.04 * std::sin(v * 0.9 + board * 3);
        }
        if (style == "rock") { // fractured faces: large patches with cracks between
            const double px = u * 29, cell = 7;
            const int i = int(std::floor(px / cell)), j = int(std::floor((v + (i % 2) * 3) / cell));
            const double fx = px / cell - i, fy = (v + (i % 2) * 3) / cell - j;
            if (fx < 0.1 || fy < 0.1) return 0.62;
            return 0.82 + 0.3 * Hash_Unit(i, j, 5) - 0.08 * fy;
        }
        // rammed earth: layers of soil with pebbles and roots
        const double layer = 0.9 + 0.12 * std::sin(v * 0.8 + std::sin(u * 9) * 1.5);
        const double speck = Hash_Unit(int(u * 29), int(v), 4);
        return layer * (speck < 0.06 ? 0.7 : speck > 0.95 ? 1.2 : 1.0);
    };
}

// ---------------------------------------------------------------------------------------------------------
// Terrain: floors (layer 1), walls, doors, objects and scattered overlays.

void Floor(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb base = e.Color("color", {90, 90, 90});
    const std::string pattern = e.Text("pattern", "plain");
    if (pattern == "rock") { // solid rock fills the square to the top
        Draw_Box(c, {-0.5, 0.5, -0.5, 0.5, 0, 27, base}, Masonry("rock"));
        c.Grain(r, 0.06);
        return;
    }
    if (pattern == "stairs") { // steps rising to the north, drawn from the top step down to the front one
        for (int k = 3; k >= 0; --k)
            Draw_Box(c,
                     {-0.5, 0.5, 0.5 - (k + 1) * 0.25, 0.5 - k * 0.25, 0, 3.0 + 4.0 * k,
                      Shade(base, 0.8 + 0.08 * k)},
                     Masonry("stone"));
        c.Grain(r, 0.04);
        return;
    }
    if (pattern == "stairs_down") { // a stone stairwell: steps falling away to the north into the dark
        for (int y = 0; y < c.Height(); ++y)
            for (int x = 0; x < c.Width(); ++x) {
                double a, b;
                Floor_Of(x, y, a, b);
                if (std::abs(a) > 0.5 || std::abs(b) > 0.5) continue;
                if (std::abs(a) > 0.3 || b < -0.4 || b > 0.34) { // the stone kerb round the opening
                    c.Set(x, y, Shade(base, 0.95 + 0.1 * r.Signed() - (std::abs(a) > 0.46 ? 0.2 : 0)));
                    continue;
                }
                const int step = std::clamp(int((0.34 - b) / 0.15), 0, 4);
                const double riser = (0.34 - b) / 0.15 - step;
                c.Set(x, y, Shade(base, (riser < 0.25 ? 0.5 : 0.85) - 0.16 * step));
            }
        return;
    }
    const double cell = pattern == "cobbles" ? 4.0 : 2.0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            double a, b;
            Floor_Of(x, y, a, b);
            if (std::abs(a) > 0.5 || std::abs(b) > 0.5) continue;
            double f = 1.0 + 0.08 * r.Signed();
            TRgb col = base;
            const double ga = (a + 0.5) * cell, gb = (b + 0.5) * cell;
            const double fa = ga - std::floor(ga), fb = gb - std::floor(gb);
            // The stone (or plank) the pixel lies on, hashed only by the patterns that vary per stone.
            const auto stone_here = [&] {
                return Seed_Of(e.Path + std::to_string(int(ga)) + "," + std::to_string(int(gb)));
            };
            if (pattern == "flags" || pattern == "cracked" || pattern == "moss") {
                const uint32_t stone = stone_here();
                f += (static_cast<int>(stone % 21) - 10) / 100.0;
                if (fa < 0.06 || fb < 0.06) f = 0.6;
                if (pattern == "moss" && (stone % 3 == 0) && r.Unit() < 0.5)
                    col = Mix(col, {60, 120, 50}, 0.5);
            } else if (pattern == "cobbles") {
                const uint32_t stone = stone_here();
                const double d = std::hypot(fa - 0.5, fb - 0.5);
                f = d > 0.45 ? 0.55 : 1.15 - d + (static_cast<int>(stone % 11) - 5) / 60.0;
            } else if (pattern == "planks") {
                const double p = (b + 0.5) * 5.0;
                f += (p - std::floor(p) < 0.1) ? -0.35 : 0.05 * std::sin(a * 40.0 + stone_here() % 7);
            } else if (pattern == "earth" || pattern == "road") {
                if (r.Unit() < 0.05) f = pattern == "earth" ? 0.65 : 1.2;
                if (pattern == "road") f += 0.1 * std::cos(b * Pi);
            } else if (pattern == "grass") {
                if (r.Unit() < 0.25) col = Mix(col, {120, 190, 70}, 0.4);
                if (r.Unit() < 0.1) f = 0.75;
            } else if (pattern == "water") {
                f = 0.9 + 0.18 * std::sin((a - b) * 30.0 + std::sin(a * 9.0) * 2.0);
                if (std::abs(a) > 0.45 || std::abs(b) > 0.45) col = Mix(col, {80, 70, 50}, 0.6);
            } else if (pattern == "pit") {
                f = 0.3 + 1.4 * std::max(std::abs(a), std::abs(b));
            } else if (pattern == "mound") {
                f = 1.25 - 0.9 * std::hypot(a + 0.1, b + 0.1);
                if (r.Unit() < 0.2) col = Mix(col, {120, 170, 70}, 0.4);
            } else if (pattern == "entrance") {
                if (std::abs(a) < 0.22 && b > -0.3 && b < 0.25) f = 0.15 + 0.4 * (b + 0.3);
            } else if (pattern == "bridge") {
                const double p = (a + 0.5) * 6.0;
                f += (p - std::floor(p) < 0.12) ? -0.35 : 0.0;
                if (std::abs(b) > 0.38) f = 0.6;
            }
            c.Set(x, y, Shade(col, f));
        }
    if (pattern == "cracked")
        for (int k = 0; k < 3; ++k) {
            double a = r.Range(-0.4, 0.4), b = r.Range(-0.4, 0.4);
            for (int s = 0; s < 4; ++s) {
                const double na = std::clamp(a + r.Range(-0.15, 0.15), -0.45, 0.45);
                const double nb = std::clamp(b + r.Range(-0.15, 0.15), -0.45, 0.45);
                const TPoint p = Iso(a, b), q = Iso(na, nb);
                c.Line(p.X, p.Y, q.X, q.Y, 1.0, Shade(base, 0.45));
                a = na, b = nb;
            }
        }
}

// The sides a wall piece reaches to, from its shape letters: two or more letters name the sides where the
// wall goes on; a single letter names the open end of a wall that goes on to the opposite side.
std::string Wall_Arms(const std::string& shape) {
    if (shape.size() != 1) return shape;
    static const std::map<char, char> opposite = {{'n', 's'}, {'s', 'n'}, {'e', 'w'}, {'w', 'e'}};
    return std::string(1, opposite.at(shape[0]));
}

// A wall piece: a pillar in the middle and an arm toward each side it reaches (shape=pillar: the lone
// pillar; shape=block: the whole square, as solid rock). The base is the lower course, always drawn; the
// top is the rest up to the top of the cell, hidden when it would cover the player.
void Wall(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb base = e.Color("color", {70, 70, 75});
    std::string shape = e.Text("shape", "pillar"), style = e.Text("style", "stone");
    std::transform(shape.begin(), shape.end(), shape.begin(),
                   [](unsigned char ch) { return std::tolower(ch); });
    const bool top = e.Text("part", "top") == "top";
    const double z0 = top ? 9.0 : 0.0, z1 = top ? 27.0 : 9.0, w = 0.2;
    std::vector<TBox> boxes;
    if (shape == "block") {
        boxes.push_back({-0.5, 0.5, -0.5, 0.5, z0, z1, base});
    } else {
        boxes.push_back({-w, w, -w, w, z0, z1, base});
        for (const char side : shape == "pillar" ? std::string() : Wall_Arms(shape)) {
            if (side == 'n')
                boxes.push_back({-w, w, -0.5, -w, z0, z1, base});
            else if (side == 's')
                boxes.push_back({-w, w, w, 0.5, z0, z1, base});
            else if (side == 'e')
                boxes.push_back({w, 0.5, -w, w, z0, z1, base});
            else if (side == 'w')
                boxes.push_back({-0.5, -w, -w, w, z0, z1, base});
            else
                throw std::runtime_error(e.Path + ": unknown wall shape " + shape);
        }
    }
    Draw_Boxes(c, boxes, Masonry(style));
    c.Grain(r, style == "earth" ? 0.08 : 0.04);
}

// Doors, gates, fences and open secret passages. "ns" is a way running north-south through a wall running
// east-west, so the door leaf stands across the way, east to west; "ew" the other way round. The frame is
// as thick and as high as the walls it joins; an open leaf swings back behind the wall line, away from the
// viewer, so the doorway shows clear.
void Door(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb col = e.Color("color", {120, 80, 40});
    const std::string kind = e.Text("kind", "door"), state = e.Text("state", "closed");
    const bool ns = e.Text("axis", "ns") == "ns", low = kind == "gate" || kind == "fence";
    const TRgb frame = e.Color("frame", Shade(col, 0.7));
    const std::string frame_style = e.Text("frame_style", low ? "timber" : "stone");
    // Boxes are built for a leaf running east-west and turned for the other axis.
    auto turn = [ns](TBox k) { return ns ? k : TBox{k.B0, k.B1, k.A0, k.A1, k.Z0, k.Z1, k.Color}; };
    const double height = low ? 14.0 : 27.0, leaf_top = low ? 12.0 : 21.0, t = 0.05, post = low ? 0.06 : 0.2;
    std::vector<TBox> frames, leaves;
    if (kind == "fence") {
        for (const double a : {-0.45, 0.0, 0.45})
            frames.push_back(turn({a - 0.05, a + 0.05, -post, post, 0, height, frame}));
        leaves.push_back(turn({-0.5, 0.5, -0.03, 0.03, 4, 6, col}));
        leaves.push_back(turn({-0.5, 0.5, -0.03, 0.03, 10, 12, col}));
    } else {
        frames.push_back(turn({-0.5, -0.3, -post, post, 0, height, kind == "passage" ? col : frame}));
        frames.push_back(turn({0.3, 0.5, -post, post, 0, height, kind == "passage" ? col : frame}));
        if (!low)
            frames.push_back(
                turn({-0.3, 0.3, -post, post, leaf_top, height, kind == "passage" ? col : frame}));
        if (kind == "passage") {
            // nothing in the opening: the stone that hid it has swung away
        } else if (state == "closed") {
            leaves.push_back(turn({-0.3, 0.3, -t, t, 0, leaf_top, col}));
        } else if (state == "open") { // hinged on the west (north) post, swung back behind the wall line
            leaves.push_back(turn({-0.3, -0.3 + 2 * t, -0.5, -post, 0, leaf_top, col}));
        } else { // broken: splinters left on the hinges and on the floor
            leaves.push_back(turn({-0.3, -0.18, -t, t, 0, leaf_top * 0.6, col}));
            leaves.push_back(turn({0.15, 0.3, -t, t, 0, leaf_top * 0.35, col}));
            leaves.push_back(turn({-0.1, 0.15, 0.1, 0.3, 0, 2, col}));
        }
    }
    // Back to front, each part with its own surface.
    std::vector<std::pair<TBox, bool>> parts; // the box, and whether it is a leaf
    for (const TBox& k : frames) parts.emplace_back(k, false);
    for (const TBox& k : leaves) parts.emplace_back(k, true);
    std::stable_sort(parts.begin(), parts.end(), [](const auto& x, const auto& y) {
        return (x.first.B0 + x.first.B1 - x.first.A0 - x.first.A1) <
               (y.first.B0 + y.first.B1 - y.first.A0 - y.first.A1);
    });
    const TTexture stone = Masonry(kind == "passage" ? "stone" : frame_style);
    // Boards with iron bands, or riveted iron plates.
    const TTexture leaf = [kind](TFace face, double u, double v) {
        if (face == Top_Face) return 1.0;
        if (kind == "iron") {
            const double cu = u * 5 - std::floor(u * 5), cv = v / 6 - std::floor(v / 6);
            if (std::abs(cu - 0.5) < 0.12 && std::abs(cv - 0.5) < 0.15) return 1.45; // rivet
            return cv < 0.08 ? 0.7 : 0.95;
        }
        const double board = u * 7;
        if (board - std::floor(board) < 0.12) return 0.6;
        if (std::abs(v - 5) < 1 || std::abs(v - 16) < 1) return 0.5; // iron bands
        return 0.92 + 0.1 * Hash_Unit(int(std::floor(board)), 1, 9);
    };
    for (const auto& [k, is_leaf] : parts) Draw_Box(c, k, is_leaf ? leaf : stone);
    c.Grain(r, kind == "iron" ? 0.03 : 0.05);
}

// Standing objects on a square.
void Prop(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb col = e.Color("color", {120, 90, 60});
    const std::string shape = e.Text("shape", "block");
    if (shape == "urns") {
        for (const auto& [a, b, h] : std::vector<std::tuple<double, double, double>>{
                 {0.15, -0.2, 14}, {-0.2, -0.05, 11}, {0.15, 0.2, 12}}) {
            const TPoint p = Iso(a, b);
            c.Fill_Ellipse(p.X, p.Y - h * 0.45, 5, h * 0.45, Shade(col, 0.9 + 0.1 * r.Signed()));
            c.Fill_Ellipse(p.X - 1.5, p.Y - h * 0.55, 2, h * 0.25, Shade(col, 1.2));
            c.Fill_Rect(p.X - 2.5, p.Y - h - 2, p.X + 2.5, p.Y - h + 1, Shade(col, 0.7));
        }
    } else if (shape == "altar") {
        Draw_Box(c, {-0.35, 0.35, -0.25, 0.25, 0, 12, col});
        Draw_Box(c, {-0.3, 0.3, -0.05, 0.05, 12, 13, {200, 190, 160}});
        Draw_Flame(c, Iso(-0.2, 0, 13).X, Iso(-0.2, 0, 13).Y, 3);
        Draw_Flame(c, Iso(0.2, 0, 13).X, Iso(0.2, 0, 13).Y, 3);
    } else if (shape == "brazier" || shape == "torchpost" || shape == "hearth") {
        if (shape == "hearth") {
            Draw_Box(c, {-0.4, 0.4, -0.3, 0.3, 0, 18, col});
            const TPoint p = Iso(0, 0.3, 2);
            c.Fill_Rect(p.X - 7, p.Y - 10, p.X + 7, p.Y, {30, 20, 15});
            Draw_Flame(c, p.X, p.Y, 6);
        } else {
            const double h = shape == "brazier" ? 14 : 30;
            const TPoint p = Iso(0, 0), q = Iso(0, 0, h);
            c.Line(p.X, p.Y, q.X, q.Y, 3, Shade(col, 0.5));
            if (shape == "brazier") c.Fill_Ellipse(q.X, q.Y, 8, 3.5, {90, 80, 70});
            Draw_Flame(c, q.X, q.Y - 1, shape == "brazier" ? 7 : 4.5);
        }
    } else if (shape == "chest" || shape == "chest_open" || shape == "coffin" || shape == "coffin_open") {
        const bool coffin = shape.rfind("coffin", 0) == 0, open = shape.find("open") != std::string::npos;
        const TBox body =
            coffin ? TBox{-0.18, 0.18, -0.38, 0.38, 0, 9, col} : TBox{-0.28, 0.28, -0.18, 0.18, 0, 10, col};
        Draw_Box(c, body);
        if (open) {
            c.Fill_Polygon(
                {Iso(body.A0 + 0.04, body.B0 + 0.04, body.Z1), Iso(body.A1 - 0.04, body.B0 + 0.04, body.Z1),
                 Iso(body.A1 - 0.04, body.B1 - 0.04, body.Z1), Iso(body.A0 + 0.04, body.B1 - 0.04, body.Z1)},
                coffin ? TRgb{35, 30, 30} : TRgb{210, 170, 40});
            if (coffin)
                Draw_Box(c, {body.A1 + 0.02, body.A1 + 0.12, body.B0, body.B1, 0, 3, col});
            else
                Draw_Box(c,
                         {body.A0, body.A1, body.B0 - 0.04, body.B0, body.Z1, body.Z1 + 9, Shade(col, 0.9)});
        } else {
            Draw_Box(c, {body.A0, body.A1, body.B0, body.B1, body.Z1, body.Z1 + 3, Shade(col, 0.8)});
            if (!coffin) {
                const TPoint p = Iso(0, body.B1, 8);
                c.Fill_Rect(p.X - 1.5, p.Y - 2, p.X + 1.5, p.Y + 1, {220, 200, 80});
            }
        }
    } else if (shape == "table") {
        for (const double a : {-0.3, 0.3})
            for (const double b : {-0.2, 0.2})
                Draw_Box(c, {a - 0.03, a + 0.03, b - 0.03, b + 0.03, 0, 10, Shade(col, 0.7)});
        Draw_Box(c, {-0.35, 0.35, -0.25, 0.25, 10, 12, col});
    } else if (shape == "bed") {
        Draw_Box(c, {-0.22, 0.22, -0.4, 0.4, 0, 6, col});
        Draw_Box(c, {-0.2, 0.2, -0.05, 0.38, 6, 8, e.Color("accent", {150, 40, 40})});
        Draw_Box(c, {-0.15, 0.15, -0.35, -0.15, 6, 9, {230, 225, 210}});
    } else if (shape == "barrels") {
        for (const auto& [a, b] :
             std::vector<std::pair<double, double>>{{0.15, -0.15}, {-0.18, -0.05}, {0.1, 0.2}}) {
            Draw_Cylinder(c, a, b, 0.14, 0, 14, col);
            const TPoint p = Iso(a, b, 4), q = Iso(a, b, 10);
            c.Line(p.X - 7, p.Y, p.X + 7, p.Y, 1, {60, 60, 60});
            c.Line(q.X - 7, q.Y, q.X + 7, q.Y, 1, {60, 60, 60});
        }
    } else if (shape == "well") {
        Draw_Cylinder(c, 0, 0, 0.3, 0, 9, col);
        const TPoint w = Iso(0, 0, 9);
        c.Fill_Ellipse(w.X, w.Y, 11, 5, {30, 50, 90});
        c.Line(w.X - 13, w.Y, w.X - 13, w.Y - 22, 2, {110, 80, 40});
        c.Line(w.X + 13, w.Y, w.X + 13, w.Y - 22, 2, {110, 80, 40});
        c.Fill_Polygon({{w.X - 17, w.Y - 20}, {w.X, w.Y - 31}, {w.X + 17, w.Y - 20}}, {140, 60, 40});
    } else if (shape == "stone") {
        Draw_Box(c, {-0.12, 0.12, -0.1, 0.1, 0, 36, col});
        c.Grain(r, 0.12);
    } else if (shape == "trunk") {
        Draw_Cylinder(c, 0, 0, 0.1, 0, 20, col);
        c.Grain(r, 0.1);
    } else if (shape == "oak" || shape == "birch" || shape == "forest") {
        const TRgb leaf = e.Color("leaf", {40, 110, 40});
        const int blobs = shape == "forest" ? 14 : 8;
        for (int k = 0; k < blobs; ++k) {
            const double x = 27 + r.Signed() * (shape == "forest" ? 20 : 12);
            const double y = (shape == "forest" ? 24 : 18) + r.Signed() * (shape == "forest" ? 14 : 9);
            c.Fill_Ellipse(x, y, r.Range(6, 10), r.Range(5, 8), Shade(leaf, r.Range(0.75, 1.2)));
        }
        if (shape == "forest")
            for (int k = 0; k < 4; ++k) {
                const double x = 10 + 11 * k + r.Signed() * 2;
                c.Line(x, 50, x, 36, 3, {70, 50, 30});
            }
        c.Grain(r, 0.12);
    } else if (shape == "pine") {
        const TRgb leaf = e.Color("leaf", {30, 80, 40});
        for (int k = 0; k < 4; ++k) {
            const double y = 30 - k * 7.0, w = 16 - k * 3.5;
            c.Fill_Polygon({{27 - w, y}, {27, y - 12}, {27 + w, y}}, Shade(leaf, 0.85 + 0.1 * k));
        }
        c.Grain(r, 0.1);
    } else {
        Draw_Box(c, {-0.3, 0.3, -0.3, 0.3, 0, 12, col});
    }
}

// Small things lying on the floor, drawn over layer 1.
void Scatter(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb col = e.Color("color", {110, 100, 90});
    const std::string shape = e.Text("shape", "rubble");
    const int count = e.Integer("count", 8);
    auto spot = [&r](double edge = 0.38) { return Iso(r.Range(-edge, edge), r.Range(-edge, edge)); };
    if (shape == "rug") {
        c.Fill_Polygon({Iso(-0.32, -0.32), Iso(0.32, -0.32), Iso(0.32, 0.32), Iso(-0.32, 0.32)},
                       Shade(col, 0.7));
        c.Fill_Polygon({Iso(-0.26, -0.26), Iso(0.26, -0.26), Iso(0.26, 0.26), Iso(-0.26, 0.26)}, col);
        c.Fill_Polygon({Iso(-0.1, -0.1), Iso(0.1, -0.1), Iso(0.1, 0.1), Iso(-0.1, 0.1)}, {200, 170, 80});
        return;
    }
    if (shape == "ruts") {
        for (const double b : {-0.15, 0.15}) {
            const TPoint p = Iso(-0.5, b), q = Iso(0.5, b);
            c.Line(p.X, p.Y, q.X, q.Y, 2.5, Shade(col, 0.7));
        }
        return;
    }
    for (int k = 0; k < count; ++k) {
        const TPoint p = spot();
        if (shape == "rubble") {
            const double a = r.Range(-0.3, 0.3), b = r.Range(-0.3, 0.3), s = r.Range(0.06, 0.13);
            Draw_Box(c, {a - s, a + s, b - s, b + s, 0, r.Range(3, 8), Shade(col, r.Range(0.8, 1.2))});
        } else if (shape == "bones" || shape == "ribs") {
            const double angle = r.Range(0, Pi), len = r.Range(4, 8);
            const double dx = std::cos(angle) * len, dy = std::sin(angle) * len * 0.5;
            c.Line(p.X - dx, p.Y - dy, p.X + dx, p.Y + dy, shape == "ribs" ? 1.2 : 1.6, col);
            if (shape == "bones") {
                c.Fill_Ellipse(p.X - dx, p.Y - dy, 1.5, 1.5, col);
                c.Fill_Ellipse(p.X + dx, p.Y + dy, 1.5, 1.5, col);
            }
        } else if (shape == "skull") {
            if (k == 0) {
                const TPoint s = Iso(0, 0);
                c.Fill_Ellipse(s.X, s.Y - 4, 5, 4.5, col);
                c.Fill_Rect(s.X - 3, s.Y - 1, s.X + 3, s.Y + 2, col);
                c.Fill_Ellipse(s.X - 2, s.Y - 4, 1.2, 1.4, {40, 30, 30});
                c.Fill_Ellipse(s.X + 2, s.Y - 4, 1.2, 1.4, {40, 30, 30});
            } else {
                c.Line(p.X - 4, p.Y, p.X + 4, p.Y + 1, 1.5, col);
            }
        } else if (shape == "fungus") {
            c.Line(p.X, p.Y, p.X, p.Y - 3, 1, {200, 220, 190});
            c.Fill_Ellipse(p.X, p.Y - 4, 3, 1.8, col);
            c.Fill_Ellipse(p.X - 0.5, p.Y - 4.5, 1.2, 0.8, Shade(col, 1.4));
        } else if (shape == "roots") {
            double x = p.X, y = p.Y;
            for (int s = 0; s < 4; ++s) {
                const double nx = x + r.Range(-5, 5), ny = y + r.Range(-2, 2);
                c.Line(x, y, nx, ny, 1.2, col);
                x = nx, y = ny;
            }
        } else if (shape == "pebbles") {
            c.Fill_Ellipse(p.X, p.Y, r.Range(1.2, 2.4), r.Range(0.8, 1.5), Shade(col, r.Range(0.8, 1.3)));
        } else if (shape == "tufts" || shape == "flowers") {
            for (int blade = -2; blade <= 2; ++blade)
                c.Line(p.X, p.Y, p.X + blade * 1.2, p.Y - r.Range(3, 6), 1, Shade(col, r.Range(0.8, 1.2)));
            if (shape == "flowers") {
                static const TRgb petals[] = {{230, 60, 60}, {240, 220, 60}, {240, 240, 240}, {170, 90, 220}};
                c.Fill_Ellipse(p.X, p.Y - 5, 1.6, 1.6, petals[r.Next() % 4]);
            }
        }
    }
}

// The darkness the map generator lays on a wall square beside solid rock, over its floor. The letters of
// the name are screen directions: N the top corner of the floor diamond, E the right, S the bottom, W the
// left. Two neighbouring letters darken the edge between those corners (NE the upper right edge, which
// faces the square to the east on the map), two opposite ones both corners, three letters their two edges
// and NSEW the whole rim. The darkness thins out inward in an ordered dither.
void Border(const TEntry& e, TCanvas& c, TRandom&, const TLettering&) {
    std::string sides = e.Text("sides", "");
    const TRgb col = e.Color("color", {18, 16, 16});
    auto has = [&sides](char side) { return sides.find(side) != std::string::npos; };
    for (const char side : sides)
        if (std::string("NESW").find(side) == std::string::npos)
            throw std::runtime_error(e.Path + ": unknown border side " + std::string(1, side));
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            double a, b;
            Floor_Of(x, y, a, b);
            if (std::abs(a) > 0.5 || std::abs(b) > 0.5) continue;
            // How far into the dark band the pixel lies, 0 outside .. 1 at the rim.
            double depth = 0;
            auto band = [&depth](double t, double from, double to) {
                depth = std::max(depth, std::clamp((t - from) / (to - from), 0.0, 1.0));
            };
            const bool ne = has('N') && has('E'), es = has('E') && has('S'), sw = has('S') && has('W'),
                       nw = has('N') && has('W');
            if (ne) band(a, 0.3, 0.5);
            if (es) band(b, 0.3, 0.5);
            if (sw) band(-a, 0.3, 0.5);
            if (nw) band(-b, 0.3, 0.5);
            // A corner on its own, where no edge of the name runs into it.
            if (has('N') && !ne && !nw) band(a - b, 0.5, 0.95);
            if (has('E') && !ne && !es) band(a + b, 0.5, 0.95);
            if (has('S') && !es && !sw) band(b - a, 0.5, 0.95);
            if (has('W') && !sw && !nw) band(-a - b, 0.5, 0.95);
            if (depth > 0 && bayer[y % 4][x % 4] < depth * 20) c.Set(x, y, col);
        }
}

// A dark line around the drawn pixels, so a figure or an item stands out on any ground.
void Outline(TCanvas& c, TRgb ink) {
    TCanvas edge(c.Width(), c.Height());
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            if (c.Drawn(x, y)) continue;
            bool near = false;
            for (const auto& [dx, dy] :
                 {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}}) {
                const int nx = x + dx, ny = y + dy;
                near = near || (nx >= 0 && ny >= 0 && nx < c.Width() && ny < c.Height() && c.Drawn(nx, ny));
            }
            if (near) edge.Set(x, y, ink);
        }
    c.Paste(edge, 0, 0);
}

// Leans a figure: each row moves sideways in proportion to its height above the feet.
void Lean(TCanvas& c, double feet, double per_pixel) {
    TCanvas leant(c.Width(), c.Height());
    for (int y = 0; y < c.Height(); ++y) {
        const int shift = int(std::lround((feet - y) * per_pixel));
        for (int x = 0; x < c.Width(); ++x)
            if (c.Drawn(x, y)) leant.Set(x + shift, y, c.Get(x, y));
    }
    c = leant;
}

// ---------------------------------------------------------------------------------------------------------
// Items: a silhouette per kind of item in a 32 x 32 cell, lying diagonally when long.

void Item_Shape(const TEntry& e, TCanvas& c, TRandom& r) {
    const TRgb col = e.Color("color", {180, 180, 190});
    const TRgb accent = e.Color("accent", {110, 70, 40});
    const std::string shape = e.Text("shape", "box");
    const TRgb dark = Shade(col, 0.6), light = Shade(col, 1.3);
    auto blade = [&](double len, double width) { // a blade from the hilt at the bottom left upward
        const double x0 = 8, y0 = 24, x1 = x0 + len * 0.7, y1 = y0 - len * 0.7;
        c.Line(x0, y0, x1, y1, width, col);
        c.Line(x0 + 1, y0 - 1, x1, y1, 1, light);
        c.Line(x0 - 3, y0 - 3, x0 + 3, y0 + 3, 2.5, accent); // guard
        c.Line(x0, y0, x0 - 4, y0 + 4, 2.5, Shade(accent, 0.8));
    };
    if (shape == "sword")
        blade(e.Number("len", 26), 3.5);
    else if (shape == "dagger")
        blade(e.Number("len", 15), 3);
    else if (shape == "axe" || shape == "mace" || shape == "staff" || shape == "wand" || shape == "torch") {
        const double len = shape == "wand" ? 18 : (shape == "staff" ? 32 : 24);
        const double x1 = 5 + len * 0.7, y1 = 28 - len * 0.7;
        c.Line(5, 28, x1, y1, shape == "wand" ? 2 : 2.5, accent);
        if (shape == "axe") {
            c.Fill_Polygon({{x1 - 2, y1 + 1}, {x1 + 7, y1 - 6}, {x1 + 9, y1 + 4}, {x1 + 2, y1 + 6}}, col);
            if (e.Text("double", "no") == "yes")
                c.Fill_Polygon({{x1 - 1, y1}, {x1 - 9, y1 - 8}, {x1 - 10, y1 + 1}, {x1 - 3, y1 + 4}}, col);
        } else if (shape == "mace") {
            c.Fill_Ellipse(x1, y1, 5, 5, col);
            for (int k = 0; k < 6; ++k)
                c.Line(x1, y1, x1 + 7 * std::cos(k * Pi / 3), y1 + 7 * std::sin(k * Pi / 3), 1.5, dark);
            c.Fill_Ellipse(x1 - 1, y1 - 1, 2, 2, light);
        } else if (shape == "staff" || shape == "wand") {
            c.Fill_Ellipse(x1, y1, 3, 3, col);
            c.Fill_Ellipse(x1 - 1, y1 - 1, 1.2, 1.2, light);
        } else {
            Draw_Flame(c, x1, y1, 5);
        }
    } else if (shape == "bow") {
        for (double t = -1.0; t <= 1.0; t += 0.02) {
            const double x = 9 + 9 * std::cos(t * 1.3), y = 16 + 13 * std::sin(t * 1.3);
            c.Fill_Ellipse(x, y, 1.4, 1.4, accent);
        }
        c.Line(9 + 9 * std::cos(1.3), 16 - 13 * std::sin(1.3), 9 + 9 * std::cos(1.3), 16 + 13 * std::sin(1.3),
               1, {230, 230, 220});
    } else if (shape == "arrows") {
        for (int k = 0; k < 3; ++k) {
            const double o = k * 4.0;
            c.Line(4 + o, 28, 24 + o, 6, 1.3, accent);
            c.Fill_Polygon({{24 + o, 6}, {27 + o, 2}, {22 + o, 4}}, col);
            c.Line(4 + o, 28, 3 + o, 24, 1.5, {220, 220, 220});
        }
    } else if (shape == "helm" || shape == "cap") {
        c.Fill_Ellipse(16, 17, 11, 10, col);
        c.Fill_Rect(4, 17, 28, 25, Shade(col, 0.9));
        if (shape == "helm")
            c.Fill_Rect(14.5, 16, 17.5, 27, dark);
        else
            c.Fill_Rect(3, 22, 29, 25, Shade(col, 0.75));
        c.Fill_Ellipse(12, 12, 3, 2.5, light);
    } else if (shape == "armor" || shape == "robe") {
        const double hem = shape == "robe" ? 30 : 26;
        c.Fill_Polygon({{9, 5}, {23, 5}, {29, 11}, {25, 14}, {24, hem}, {8, hem}, {7, 14}, {3, 11}}, col);
        c.Fill_Polygon({{13, 5}, {19, 5}, {16, 9}}, Shade(col, 0.5));
        if (shape == "robe") c.Fill_Rect(8, 15, 24, 17, accent);
        if (e.Text("rings", "no") == "yes")
            for (int y = 8; y < hem; y += 3)
                for (int x = 6 + (y % 2); x < 26; x += 3) c.Set(x, y, dark);
    } else if (shape == "belt") {
        c.Fill_Rect(2, 13, 30, 19, col);
        c.Fill_Rect(13, 11, 19, 21, accent);
        c.Fill_Rect(15, 13, 17, 19, col);
        if (e.Text("studs", "no") == "yes")
            for (int x = 4; x < 30; x += 4) c.Fill_Ellipse(x, 16, 1, 1, {210, 210, 210});
    } else if (shape == "boots") {
        for (const double o : {0.0, 11.0}) {
            c.Fill_Rect(5 + o, 6, 12 + o, 22, col);
            c.Fill_Polygon({{5 + o, 20}, {12 + o, 20}, {17 + o, 24}, {17 + o, 28}, {5 + o, 28}}, col);
            c.Fill_Rect(5 + o, 26, 17 + o, 28, dark);
        }
    } else if (shape == "gloves") {
        for (const double o : {0.0, 13.0}) {
            c.Fill_Rect(4 + o, 14, 13 + o, 28, col);
            for (int f = 0; f < 4; ++f)
                c.Fill_Rect(4 + o + f * 2.3, 6 + (f == 0 ? 3 : 0), 5.8 + o + f * 2.3, 15, col);
            c.Fill_Rect(4 + o, 25, 13 + o, 28, dark);
        }
    } else if (shape == "shield") {
        if (e.Text("form", "round") == "round") {
            c.Fill_Ellipse(16, 16, 13, 13, dark);
            c.Fill_Ellipse(16, 16, 11, 11, col);
            c.Fill_Ellipse(16, 16, 3.5, 3.5, accent);
        } else {
            c.Fill_Polygon({{4, 4}, {28, 4}, {28, 16}, {16, 30}, {4, 16}}, dark);
            c.Fill_Polygon({{6, 6}, {26, 6}, {26, 15}, {16, 27}, {6, 15}}, col);
            c.Fill_Rect(14.5, 6, 17.5, 26, accent);
        }
    } else if (shape == "ring") {
        c.Fill_Ellipse(16, 18, 8, 8, col);
        c.Fill_Ellipse(16, 18, 5.5, 5.5, Key_Color);
        c.Fill_Ellipse(16, 10, 3.5, 3.5, accent);
    } else if (shape == "amulet" || shape == "torc") {
        for (double t = 0; t < Pi; t += 0.02)
            c.Fill_Ellipse(16 + 11 * std::cos(t), 6 + 12 * std::sin(t), shape == "torc" ? 1.8 : 0.8,
                           shape == "torc" ? 1.8 : 0.8, col);
        if (shape == "amulet") {
            c.Fill_Ellipse(16, 22, 5, 6, accent);
            c.Fill_Ellipse(15, 21, 1.8, 2, Shade(accent, 1.5));
        } else {
            c.Fill_Ellipse(5, 6, 2.5, 2.5, accent);
            c.Fill_Ellipse(27, 6, 2.5, 2.5, accent);
        }
    } else if (shape == "potion") {
        c.Fill_Rect(13, 3, 19, 6, {140, 100, 60});
        c.Fill_Rect(13.5, 6, 18.5, 12, {200, 210, 220});
        c.Fill_Ellipse(16, 20, e.Number("size", 8), e.Number("size", 8) + 1, {200, 210, 220});
        c.Fill_Ellipse(16, 21, e.Number("size", 8) - 1.5, e.Number("size", 8) - 0.5, col);
        c.Fill_Ellipse(13, 18, 1.8, 2.5, {240, 240, 250});
    } else if (shape == "scroll") {
        c.Fill_Rect(7, 7, 25, 25, {225, 210, 170});
        c.Fill_Ellipse(7, 16, 3, 9, {200, 180, 140});
        c.Fill_Ellipse(25, 16, 3, 9, {200, 180, 140});
        for (int y = 11; y <= 19; y += 4) c.Line(11, y, 21, y, 1, {120, 100, 80});
        c.Fill_Ellipse(16, 23, 3.5, 3.5, col); // the seal shows the spell
    } else if (shape == "bread" || shape == "meat" || shape == "apple") {
        if (shape == "apple") {
            c.Fill_Ellipse(16, 18, 9, 9, col);
            c.Line(16, 10, 17, 5, 1.5, {90, 60, 30});
            c.Fill_Ellipse(20, 7, 3, 1.5, {60, 140, 40});
        } else if (shape == "meat") {
            c.Fill_Ellipse(14, 17, 10, 7, col);
            c.Line(22, 20, 29, 25, 2.5, {235, 225, 200});
        } else {
            c.Fill_Ellipse(16, 18, 12, 8, col);
            for (int k = -1; k <= 1; ++k) c.Line(12 + k * 6, 13, 15 + k * 6, 22, 1, Shade(col, 0.7));
        }
        c.Grain(r, 0.08);
    } else if (shape == "key") {
        c.Fill_Ellipse(8, 16, 5, 5, col);
        c.Fill_Ellipse(8, 16, 2, 2, Key_Color);
        c.Line(12, 16, 28, 16, 2.5, col);
        c.Fill_Rect(22, 16, 24, 21, col);
        c.Fill_Rect(26, 16, 28, 20, col);
    } else if (shape == "gold") {
        const int coins = e.Integer("coins", 3);
        for (int k = 0; k < coins; ++k) {
            const double x = 16 + r.Signed() * (4 + coins * 0.6),
                         y = 22 - (k * 14.0 / coins) + r.Signed() * 2;
            c.Fill_Ellipse(x, y, 5, 3, Shade(col, 0.75));
            c.Fill_Ellipse(x, y - 1, 5, 3, col);
            c.Fill_Ellipse(x - 1, y - 1.5, 2, 1, light);
        }
    } else if (shape == "goblet") {
        c.Fill_Polygon({{8, 5}, {24, 5}, {19, 15}, {13, 15}}, col);
        c.Fill_Rect(15, 15, 17, 24, col);
        c.Fill_Ellipse(16, 26, 7, 2.5, col);
        c.Fill_Ellipse(12, 8, 1.5, 2, light);
    } else if (shape == "lantern") {
        c.Fill_Ellipse(16, 5, 4, 3, dark);
        c.Fill_Rect(9, 8, 23, 26, dark);
        c.Fill_Rect(11, 10, 21, 24, {250, 220, 120});
        Draw_Flame(c, 16, 21, 4);
    } else if (shape == "relic") {
        c.Fill_Rect(9, 12, 23, 28, accent);
        c.Fill_Polygon({{16, 2}, {22, 12}, {10, 12}}, col);
        c.Fill_Ellipse(16, 20, 3, 3, col);
    } else {
        c.Fill_Rect(6, 8, 26, 26, col);
    }
}

void Item(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    Item_Shape(e, c, r);
    Outline(c, {22, 18, 18});
}

// ---------------------------------------------------------------------------------------------------------
// Creatures and portraits: a figure per body kind in a 54 x 54 cell, standing on the floor diamond's middle.
// The attack picture has the same figure striking.

// Creatures and portraits: a figure per body kind - humanoids (bones=yes a skeleton, robe=yes robed,
// gait=lurch the stooping walk of the restless dead), ghosts, beasts (quadruped, rat, spider, bat) and
// slimes - standing on the middle of the floor diamond, outlined in dark; pose=attack strikes.
void Creature(const TEntry& e, TCanvas& out, TRandom& r, const TLettering&) {
    TCanvas c(out.Width(), out.Height()); // the figure, outlined before it is set on its shadow
    const TRgb body = e.Color("color", {120, 110, 100});
    const TRgb skin = e.Color("skin", {220, 180, 140});
    const TRgb accent = e.Color("accent", {80, 60, 40});
    const TRgb eyes = e.Color("eyes", {30, 30, 30});
    const std::string kind = e.Text("body", "humanoid"), weapon = e.Text("weapon", "none");
    const bool attack = e.Text("pose", "stand") == "attack";
    const double scale = e.Number("scale", 1.0);
    // Beasts stand a little left of the middle, so the head they thrust forward stays in the cell.
    const double cx = kind == "quadruped" || kind == "rat" ? 24 : 27, feet = 47;
    auto X = [&](double dx) { return cx + dx * scale; };
    auto Y = [&](double dy) { return feet - dy * scale; };
    const bool lurch = e.Text("gait", "upright") == "lurch";
    // A shadow on the floor grounds every figure.
    out.Fill_Ellipse(cx, feet, (kind == "slime" ? 14 : 11) * scale, 4 * scale, {45, 40, 40});
    if (kind == "humanoid" || kind == "ghost") {
        const bool ghost = kind == "ghost";
        const bool skeletal = e.Text("bones", "no") == "yes";
        if (!ghost) { // legs
            c.Line(X(-3), Y(14), X(attack ? -6 : -4), Y(0), 3.5, Shade(body, 0.7));
            c.Line(X(3), Y(14), X(attack ? 7 : 4), Y(0), 3.5, Shade(body, 0.7));
        }
        // torso or robe
        if (ghost || e.Text("robe", "no") == "yes")
            c.Fill_Polygon(
                {{X(-5), Y(29)}, {X(5), Y(29)}, {X(9), Y(ghost ? 4 : 1)}, {X(-9), Y(ghost ? 4 : 1)}}, body);
        else if (skeletal) {
            c.Line(X(0), Y(28), X(0), Y(13), 2, body);
            for (int k = 0; k < 4; ++k) c.Line(X(-5), Y(26 - 3 * k), X(5), Y(26 - 3 * k), 1.3, body);
            c.Fill_Rect(X(-4), Y(15), X(4), Y(12), body);
        } else
            c.Fill_Polygon({{X(-6), Y(29)}, {X(6), Y(29)}, {X(5), Y(13)}, {X(-5), Y(13)}}, body);
        if (ghost) // a ragged hem
            for (int k = -4; k <= 4; k += 2)
                c.Fill_Polygon({{X(k - 1), Y(4)}, {X(k + 1), Y(4)}, {X(k), Y(-1)}}, body);
        // arms: the weapon arm (right) swings forward when striking
        const double arm_w = skeletal ? 1.6 : 3;
        c.Line(X(-6), Y(28), X(lurch ? -10 : -9), Y(lurch ? 9 : 16), arm_w,
               skeletal ? body : Shade(body, 0.85));
        const double hx = attack ? 15 : lurch ? 13 : 9, hy = attack ? 30 : lurch ? 24 : 16;
        c.Line(X(6), Y(28), X(hx), Y(hy), arm_w, skeletal ? body : Shade(body, 0.85));
        if (weapon == "sword" || weapon == "hammer" || weapon == "club") {
            const double tx = attack ? hx + 10 : hx + 3, ty = attack ? hy + 8 : hy + 14;
            c.Line(X(hx), Y(hy), X(tx), Y(ty), weapon == "sword" ? 2 : 2.5,
                   weapon == "sword" ? TRgb{200, 200, 210} : accent);
            if (weapon == "hammer") c.Fill_Rect(X(tx) - 3, Y(ty) - 2, X(tx) + 3, Y(ty) + 2, {120, 120, 130});
        } else if (weapon == "staff") {
            const double top = std::min(hy + 18, 44.0); // raised, but kept inside the cell
            c.Line(X(hx), Y(top - 32), X(hx), Y(top), 2, accent);
            c.Fill_Ellipse(X(hx), Y(top + 1), 2.5, 2.5,
                           attack ? TRgb{160, 255, 160} : e.Color("gem", {120, 160, 255}));
        } else if (weapon == "bow") {
            for (double t = -1.2; t <= 1.2; t += 0.05)
                c.Fill_Ellipse(X(hx + 3 * std::cos(t)), Y(hy + 9 * std::sin(t)), 0.9, 0.9, accent);
            if (attack) c.Line(X(hx - 8), Y(hy), X(hx + 6), Y(hy), 1, {220, 220, 200});
        } else if (weapon == "claws" && attack) {
            for (int k = -1; k <= 1; ++k)
                c.Line(X(hx), Y(hy), X(hx + 4), Y(hy + 2 + 2 * k), 1, {230, 230, 210});
        } else if (weapon == "touch" && attack) {
            c.Fill_Ellipse(X(hx + 2), Y(hy), 3.5, 3.5, e.Color("glow", {150, 220, 255}));
        }
        // head
        c.Fill_Ellipse(X(0), Y(33), 4.5 * scale, 5 * scale, ghost ? Shade(body, 1.2) : skin);
        c.Fill_Ellipse(X(-1.6), Y(34), 1, 1, eyes);
        c.Fill_Ellipse(X(1.6), Y(34), 1, 1, eyes);
        const std::string hat = e.Text("hat", "none");
        if (hat == "crown")
            c.Fill_Polygon({{X(-4), Y(37)},
                            {X(-4), Y(41)},
                            {X(-2), Y(39)},
                            {X(0), Y(42)},
                            {X(2), Y(39)},
                            {X(4), Y(41)},
                            {X(4), Y(37)}},
                           {230, 190, 50});
        else if (hat == "hood")
            c.Fill_Polygon({{X(-5.5), Y(30)}, {X(0), Y(41)}, {X(5.5), Y(30)}, {X(4), Y(37)}, {X(-4), Y(37)}},
                           accent);
        else if (hat == "helm")
            c.Fill_Polygon({{X(-5), Y(34)}, {X(-4.5), Y(38)}, {X(0), Y(40)}, {X(4.5), Y(38)}, {X(5), Y(34)}},
                           {150, 150, 160});
        else if (hat == "hair")
            c.Fill_Polygon({{X(-5), Y(33)}, {X(-4), Y(38)}, {X(0), Y(39)}, {X(4), Y(38)}, {X(5), Y(33)}},
                           accent);
        if (e.Text("beard", "no") == "yes")
            c.Fill_Polygon({{X(-3), Y(31)}, {X(3), Y(31)}, {X(0), Y(25)}}, {200, 200, 200});
    } else if (kind == "quadruped" || kind == "rat") {
        const bool rat = kind == "rat";
        const double lunge = attack ? 4 : 0, h = rat ? 6 : 12, len = rat ? 9 : 13;
        for (const double lx : {-len + 2, -len + 5, len - 5 + lunge, len - 2 + lunge})
            c.Line(X(lx), Y(h), X(lx + (attack ? 1 : 0)), Y(0), rat ? 1.5 : 2.5, Shade(body, 0.75));
        c.Fill_Ellipse(X(lunge * 0.5), Y(h + (rat ? 2 : 4)), len * scale, (rat ? 3.5 : 5.5) * scale, body);
        const double hx = len + lunge + 2, hy = h + (rat ? 3 : 9) - (attack ? 2 : 0);
        c.Fill_Ellipse(X(hx), Y(hy), (rat ? 3.5 : 5) * scale, (rat ? 2.5 : 4) * scale, body);
        c.Fill_Polygon({{X(hx + 3), Y(hy + 2)},
                        {X(hx + (rat ? 8 : 9)), Y(hy - 1)},
                        {X(hx + 3), Y(hy - (attack ? 4 : 2))}},
                       Shade(body, 0.9));
        if (attack)
            c.Fill_Polygon({{X(hx + 3), Y(hy - 1)}, {X(hx + 8), Y(hy - 2)}, {X(hx + 3), Y(hy - 4)}},
                           {150, 30, 30});
        c.Fill_Polygon({{X(hx - 2), Y(hy + 3)}, {X(hx), Y(hy + (rat ? 6 : 9))}, {X(hx + 1), Y(hy + 3)}},
                       Shade(body, 0.7));
        c.Fill_Ellipse(X(hx + 1.5), Y(hy + 1), 1, 1, eyes);
        c.Line(X(-len), Y(h + 4), X(-len - (rat ? 10 : 6)), Y(h + (rat ? 1 : 9)), rat ? 1 : 2.5,
               rat ? skin : Shade(body, 0.9));
    } else if (kind == "spider") {
        const double lift = attack ? 8 : 0;
        for (int side : {-1, 1})
            for (int k = 0; k < 4; ++k) {
                const double kx = side * (6 + k * 1.5), up = (k == 3 && side == 1) ? lift : 0;
                c.Line(X(kx * 0.5), Y(8), X(kx * 1.3), Y(14 + up), 1.5, Shade(body, 0.7));
                c.Line(X(kx * 1.3), Y(14 + up), X(kx * 2.0), Y(up * 0.5), 1.5, Shade(body, 0.7));
            }
        c.Fill_Ellipse(X(-4), Y(9), 8 * scale, 6 * scale, body);
        c.Fill_Ellipse(X(5), Y(8 + lift * 0.3), 4.5 * scale, 3.5 * scale, Shade(body, 1.15));
        c.Fill_Ellipse(X(-4), Y(10), 3, 2, accent);
        for (int k = 0; k < 3; ++k) c.Fill_Ellipse(X(6 + k * 1.2), Y(9 + lift * 0.3), 0.8, 0.8, eyes);
    } else if (kind == "bat") {
        const double wing = attack ? 16 : 6, y0 = 24;
        for (const int side : {-1, 1}) { // each wing as two convex webs
            c.Fill_Polygon(
                {{X(side * 2), Y(y0 + 2)}, {X(side * 16), Y(y0 + wing)}, {X(side * 11), Y(y0 + 1)}},
                Shade(body, 0.85));
            c.Fill_Polygon({{X(side * 2), Y(y0 + 2)}, {X(side * 11), Y(y0 + 1)}, {X(side * 6), Y(y0 - 3)}},
                           Shade(body, 0.75));
        }
        c.Fill_Ellipse(X(0), Y(y0), 3.5 * scale, 5 * scale, body);
        c.Fill_Polygon(
            {{X(-3), Y(y0 + 4)}, {X(-2), Y(y0 + 8)}, {X(0), Y(y0 + 5)}, {X(2), Y(y0 + 8)}, {X(3), Y(y0 + 4)}},
            body);
        c.Fill_Ellipse(X(-1.3), Y(y0 + 3), 0.9, 0.9, eyes);
        c.Fill_Ellipse(X(1.3), Y(y0 + 3), 0.9, 0.9, eyes);
    } else if (kind == "slime") { // a heap of jelly, rearing up and reaching out when it strikes
        const double h = attack ? 20 : 14, w = attack ? 12 : 14;
        c.Fill_Ellipse(X(0), Y(h * 0.45), w * scale, h * 0.55 * scale, Shade(body, 0.75));
        c.Fill_Ellipse(X(-1), Y(h * 0.5), (w - 2) * scale, h * 0.48 * scale, body);
        c.Fill_Rect(X(-w), Y(2), X(w), Y(0), Shade(body, 0.75)); // the flat foot it slides on
        if (attack) c.Line(X(8), Y(h * 0.6), X(19), Y(h * 0.75), 4, body);
        c.Fill_Ellipse(X(-5), Y(h * 0.8), 3 * scale, 2 * scale, Mix(body, {255, 255, 255}, 0.55)); // gloss
        for (const auto& [bx, by] : {std::pair{4.0, 0.3}, std::pair{-3.0, 0.2}, std::pair{7.0, 0.55}})
            c.Fill_Ellipse(X(bx), Y(h * by), 1.2, 1.2, Mix(body, {255, 255, 255}, 0.35)); // bubbles
        for (const double ex : {-3.0, 3.0}) {
            c.Fill_Ellipse(X(ex), Y(h * 0.62), 1.8, 1.8, {230, 230, 210});
            c.Fill_Ellipse(X(ex + 0.5), Y(h * 0.62), 0.9, 0.9, eyes);
        }
    } else {
        throw std::runtime_error(e.Path + ": unknown body " + kind);
    }
    c.Grain(r, 0.06);
    if (lurch) Lean(c, feet, 0.12);
    Outline(c, {22, 18, 18});
    out.Paste(c, 0, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Effect frames. A directional strip holds one frame per flying direction 1..8: direction 1 is up-right on
// the map, which the map view shows straight up, and each next direction turns 45 degrees clockwise on the
// screen. Every missile carries its weight in the head, so the frame's centre of mass points the way it
// flies. The other strips animate from the first frame to the last.

void Effect_Frame(const TEntry& e, TCanvas& c, TRandom& r, int frame, int frames, double ox, double oy,
                  double w, double h) {
    const TRgb col = e.Color("color", {255, 160, 40});
    const TRgb core = Mix(col, {255, 255, 230}, 0.6);
    const std::string style = e.Text("style", "bolt");
    const double cx = ox + w / 2, cy = oy + h / 2, rmax = std::min(w, h) / 2 - 1;
    const double progress = frames > 1 ? double(frame) / (frames - 1) : 1.0;
    const double angle = frame * Pi / 4; // frame 0 (direction 1) up, then clockwise
    const double dx = std::sin(angle), dy = -std::cos(angle), px = -dy, py = dx;
    // A point t radii along the flight and s radii across it.
    auto at = [&](double t, double s = 0) {
        return TPoint{cx + (dx * t + px * s) * rmax, cy + (dy * t + py * s) * rmax};
    };
    if (style == "bolt" || style == "orb") {
        const bool orb = style == "orb";
        for (int k = 8; k >= 1; --k) { // the tail: shrinking, darkening puffs behind the head
            const TPoint p = at(0.3 - k * 0.12, (k % 2 ? 0.05 : -0.05) * (orb ? 0 : 1));
            c.Fill_Ellipse(p.X, p.Y, rmax * (0.3 - k * 0.027), rmax * (0.3 - k * 0.027),
                           Mix(col, {70, 30, 40}, k / 11.0));
        }
        const TPoint head = at(0.38);
        c.Fill_Ellipse(head.X, head.Y, rmax * 0.42, rmax * 0.42, Shade(col, 0.85));
        c.Fill_Ellipse(head.X, head.Y, rmax * 0.32, rmax * 0.32, col);
        const TPoint hot = at(0.45);
        c.Fill_Ellipse(hot.X, hot.Y, rmax * 0.17, rmax * 0.17, core);
        if (orb)
            for (const double side : {-1.0, 1.0}) {
                const TPoint spark = at(0.1, side * 0.45);
                c.Fill_Ellipse(spark.X, spark.Y, 1.2, 1.2, core);
            }
    } else if (style == "shard") { // a splinter of ice, broad behind its point
        c.Fill_Polygon({at(0.95), at(0.35, 0.28), at(-0.3, 0.12), at(-0.3, -0.12), at(0.35, -0.28)},
                       Shade(col, 0.8));
        c.Fill_Polygon({at(0.95), at(0.35, 0.14), at(-0.15, 0), at(0.35, -0.14)}, col);
        c.Line(at(0.82).X, at(0.82).Y, at(0.05).X, at(0.05).Y, 1, core);
        for (const double side : {-1.0, 1.0}) {
            const TPoint flake = at(-0.6, side * 0.12);
            c.Fill_Ellipse(flake.X, flake.Y, 0.9, 0.9, core);
        }
    } else if (style == "zigzag") { // a forked stroke that ends in a ball of light
        const double offsets[] = {0, 0.2, -0.2, 0.2, -0.2, 0};
        TPoint from = at(-0.7);
        for (int k = 1; k < 6; ++k) {
            const TPoint to = at(-0.7 + 1.2 * k / 5.0, offsets[k]);
            c.Line(from.X, from.Y, to.X, to.Y, 2.5, Shade(col, 0.75));
            c.Line(from.X, from.Y, to.X, to.Y, 1, core);
            from = to;
        }
        c.Fill_Ellipse(from.X, from.Y, rmax * 0.38, rmax * 0.38, col);
        c.Fill_Ellipse(from.X, from.Y, rmax * 0.2, rmax * 0.2, core);
    } else if (style == "arrow") { // a broad iron head, a thin shaft and light fletching
        const TRgb feather = {225, 225, 215};
        c.Line(at(-0.7).X, at(-0.7).Y, at(0.5).X, at(0.5).Y, 1.4, col);
        c.Fill_Polygon({at(0.98), at(0.4, 0.32), at(0.4, -0.32)}, {175, 178, 188});
        c.Line(at(0.9).X, at(0.9).Y, at(0.45).X, at(0.45).Y, 1, {225, 228, 235});
        for (const double side : {-1.0, 1.0})
            c.Line(at(-0.7).X, at(-0.7).Y, at(-0.52, side * 0.14).X, at(-0.52, side * 0.14).Y, 1, feather);
    } else if (style == "burst") { // a ball of fire that swells and breaks up
        const double radius = rmax * (0.3 + 0.7 * progress);
        for (int k = 0; k < 18; ++k) {
            const double a = r.Range(0, 2 * Pi), d = radius * r.Unit();
            const double s = rmax * 0.25 * (1.1 - progress * 0.6);
            c.Fill_Ellipse(cx + std::cos(a) * d, cy + std::sin(a) * d, s, s,
                           Mix(col, {120, 40, 10}, progress * r.Unit()));
        }
        if (progress < 0.7)
            c.Fill_Ellipse(cx, cy, radius * 0.4 * (1 - progress), radius * 0.4 * (1 - progress), core);
    } else if (style == "nova") { // a ring of frost that spreads out
        const double radius = rmax * (0.2 + 0.8 * progress), thick = 3.0 + 3.0 * (1 - progress);
        for (int k = 0; k < 48; ++k) {
            const double a = k * 2 * Pi / 48;
            c.Fill_Ellipse(cx + std::cos(a) * radius, cy + std::sin(a) * radius * 0.6, thick, thick * 0.7,
                           (k % 3) ? col : core);
        }
    } else if (style == "cloud") { // puffs of gas that grow and thin
        for (int k = 0; k < 10; ++k) {
            const double a = r.Range(0, 2 * Pi), d = rmax * (0.2 + 0.5 * progress) * r.Unit();
            const double s = rmax * (0.2 + 0.25 * progress);
            c.Fill_Ellipse(cx + std::cos(a) * d, cy + std::sin(a) * d * 0.7, s, s * 0.8,
                           Shade(col, r.Range(0.8, 1.2)));
        }
    } else if (style == "glow") { // rising sparkles round a soft light
        const double s = rmax * (0.3 + 0.3 * std::sin(progress * Pi));
        c.Fill_Ellipse(cx, cy, s, s, Mix(col, {255, 255, 255}, 0.2));
        for (int k = 0; k < 6; ++k) {
            const double x = cx + r.Signed() * rmax * 0.7,
                         y = cy + rmax * 0.7 - progress * rmax * 1.3 + r.Signed() * 4;
            c.Fill_Ellipse(x, y, 1.5, 1.5, core);
        }
    } else if (style == "flash" || style == "spark") { // a star that flares and fades
        const double size =
            rmax * (style == "flash" ? 1.0 - 0.7 * std::abs(progress - 0.3) : 0.9 - 0.7 * progress);
        const int rays = style == "flash" ? 8 : 6;
        for (int k = 0; k < rays; ++k) {
            const double a = k * 2 * Pi / rays + progress;
            c.Line(cx, cy, cx + std::cos(a) * size, cy + std::sin(a) * size, 2, col);
        }
        c.Fill_Ellipse(cx, cy, size * 0.3, size * 0.3, core);
    } else {
        throw std::runtime_error(e.Path + ": unknown effect style " + style);
    }
}

using TDraw = std::function<void(const TEntry&, TCanvas&, TRandom&, const TLettering&)>;

struct TRecipe_Kind {
    TDraw Draw;
    int Size; // 0: the picture's size is its size= parameter
};

const std::map<std::string, TRecipe_Kind>& Recipes() {
    static const std::map<std::string, TRecipe_Kind> recipes = {
        {"floor", {Floor, Square_Size}},
        {"wall", {Wall, Square_Size}},
        {"door", {Door, Square_Size}},
        {"prop", {Prop, Square_Size}},
        {"scatter", {Scatter, Square_Size}},
        {"border", {Border, Square_Size}},
        {"item", {Item, Item_Size}},
        {"creature", {Creature, Square_Size}},
        {"panel", {Panel, 0}},
        {"buttons", {Buttons, 0}},
        {"icons", {Icons, 0}},
        {"tabs", {Tabs, 0}},
    };
    return recipes;
}

} // namespace

TCanvas Draw_Picture(const TEntry& entry, const TLettering& lettering) {
    const auto recipe = Recipes().find(entry.Recipe);
    if (recipe == Recipes().end())
        throw std::runtime_error(entry.Path + ": unknown picture recipe " + entry.Recipe);
    const std::vector<double> size = entry.Numbers("size");
    if (recipe->second.Size == 0 && (size.size() != 2 || size[0] < 1 || size[1] < 1))
        throw std::runtime_error(entry.Path + ": size=width,height needed");
    TCanvas canvas = recipe->second.Size ? TCanvas(recipe->second.Size, recipe->second.Size)
                                         : TCanvas(int(size[0]), int(size[1]));
    TRandom random(Seed_Of(entry.Path));
    recipe->second.Draw(entry, canvas, random, lettering);
    return canvas;
}

TCanvas Draw_Effect_Sheet(const std::vector<const TEntry*>& strips) {
    int width = 1, height = 1;
    for (const TEntry* s : strips) {
        const int frames = s->Integer("frames", 1), per_line = std::max(1, s->Integer("perline", frames));
        const int rows = (frames + per_line - 1) / per_line;
        width = std::max(width, s->Integer("x", 0) + per_line * s->Integer("w", 32));
        height = std::max(height, s->Integer("y", 0) + rows * s->Integer("h", 32));
    }
    TCanvas sheet(width, height);
    for (const TEntry* s : strips) {
        TRandom random(Seed_Of(s->Path + "/" + s->Text("name", "")));
        const int frames = s->Integer("frames", 1), per_line = std::max(1, s->Integer("perline", frames));
        const int w = s->Integer("w", 32), h = s->Integer("h", 32);
        for (int f = 0; f < frames; ++f) {
            TCanvas cell(w, h);
            Effect_Frame(*s, cell, random, f, frames, 0, 0, w, h);
            sheet.Paste(cell, s->Integer("x", 0) + (f % per_line) * w,
                        s->Integer("y", 0) + (f / per_line) * h);
        }
    }
    return sheet;
}

} // namespace murk_media
