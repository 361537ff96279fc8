#include "tools/media/Pictures.h"

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

// ---------------------------------------------------------------------------------------------------------
// Isometric square geometry. A square's floor is the diamond 52 x 26 at the bottom of its 54 x 54 cell, as
// the map view places cells 52 pixels apart in a row and rows 13 pixels apart, every other row shifted by
// 26. In square coordinates a runs west (-0.5) to east (+0.5) and b north (-0.5) to south (+0.5); east is up
// and to the right on the screen, south down and to the right. z is the height above the floor in pixels.

TPoint Iso(double a, double b, double z = 0.0) {
    return {27.0 + 26.0 * (a + b), 40.5 + 13.0 * (b - a) - z};
}

// The square coordinates of a pixel centre on the floor.
void Floor_Of(int x, int y, double& a, double& b) {
    const double s = (x + 0.5 - 27.0) / 26.0, d = (y + 0.5 - 40.5) / 13.0;
    a = (s - d) / 2.0;
    b = (s + d) / 2.0;
}

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
    if (pattern == "stairs") {
        for (int k = 0; k < 4; ++k)
            Draw_Box(c, {-0.5, 0.5, 0.5 - (k + 1) * 0.25, 0.5 - k * 0.25, 0, 3.0 + 4.0 * k,
                         Shade(base, 0.8 + 0.08 * k)});
        c.Grain(r, 0.06);
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

// ---------------------------------------------------------------------------------------------------------
// Items: a silhouette per kind of item in a 32 x 32 cell, lying diagonally when long.

void Item(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
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

// ---------------------------------------------------------------------------------------------------------
// Creatures and portraits: a figure per body kind in a 54 x 54 cell, standing on the floor diamond's middle.
// The attack picture has the same figure striking.

void Creature(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb body = e.Color("color", {120, 110, 100});
    const TRgb skin = e.Color("skin", {220, 180, 140});
    const TRgb accent = e.Color("accent", {80, 60, 40});
    const TRgb eyes = e.Color("eyes", {30, 30, 30});
    const std::string kind = e.Text("body", "humanoid"), weapon = e.Text("weapon", "none");
    const bool attack = e.Text("pose", "stand") == "attack";
    const double scale = e.Number("scale", 1.0);
    const double cx = 27, feet = 47;
    auto X = [&](double dx) { return cx + dx * scale; };
    auto Y = [&](double dy) { return feet - dy * scale; };
    // A shadow on the floor grounds every figure.
    c.Fill_Ellipse(cx, feet, 11 * scale, 4 * scale, {45, 40, 40});
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
        c.Line(X(-6), Y(28), X(-9), Y(16), arm_w, skeletal ? body : Shade(body, 0.85));
        const double hx = attack ? 15 : 9, hy = attack ? 30 : 16;
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
    } else {
        throw std::runtime_error(e.Path + ": unknown body " + kind);
    }
    c.Grain(r, 0.06);
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
        {"paper", {200, 182, 142}},  {"pink", {230, 120, 170}},
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
    } else if (shape == "box") {
        for (const auto& [u0, v0, u1, v1] : std::vector<std::array<double, 4>>{
                 {0.2, 0.2, 0.8, 0.2}, {0.8, 0.2, 0.8, 0.8}, {0.8, 0.8, 0.2, 0.8}, {0.2, 0.8, 0.2, 0.2}})
            line(u0, v0, u1, v1, 0.1, ink);
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
    } else if (shape == "load") {
        line(0.15, 0.6, 0.15, 0.86, 0.1, ink);
        line(0.15, 0.86, 0.85, 0.86, 0.1, ink);
        line(0.85, 0.86, 0.85, 0.6, 0.1, ink);
        poly({{0.5, 0.1}, {0.78, 0.42}, {0.22, 0.42}}, ink);
        line(0.5, 0.4, 0.5, 0.72, 0.14, ink);
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

// Draws a glyph in the cell at (x, y) of size w x h: at its place in the cell, or centred.
void Place_Glyph(TCanvas& c, const TGlyph& g, double x, double y, double w, double h, double size,
                 double shift) {
    const double s = g.Size > 0 ? g.Size : size;
    if (g.Placed)
        Glyph(c, g.Shape, x + g.X + shift, y + g.Y + shift, s, g.Ink);
    else
        Glyph(c, g.Shape, x + (w - s) / 2 + shift, y + (h - s) / 2 + shift, s, g.Ink);
}

// The ring of pixels k inside the rectangle, its top and left edges in one colour, bottom and right in
// another.
void Edge_Ring(TCanvas& c, double x, double y, double w, double h, int k, TRgb top_left, TRgb bottom_right) {
    c.Fill_Rect(x + k, y + h - k - 1, x + w - k, y + h - k, bottom_right);
    c.Fill_Rect(x + w - k - 1, y + k, x + w - k, y + h - k, bottom_right);
    c.Fill_Rect(x + k, y + k, x + w - k, y + k + 1, top_left);
    c.Fill_Rect(x + k, y + k, x + k + 1, y + h - k, top_left);
}

// A recessed area: a list, a text box, a bar or an item slot.
void Inset(TCanvas& c, double x, double y, double w, double h, TRgb fill) {
    c.Fill_Rect(x, y, x + w, y + h, fill);
    Edge_Ring(c, x, y, w, h, 0, Shade(fill, 0.45), Mix(fill, {200, 190, 170}, 0.35));
    Edge_Ring(c, x, y, w, h, 1, Shade(fill, 0.7), fill);
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
                c.Set(x, y, base);
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

// A dialog background, a window or the game screen's frame: raised panels (the whole picture unless
// panels= gives outlines) on the back colour, title bands of parchment for dark captions, dark wells and
// parchment wells where the game draws lists, slots and texts, glyphs and an outline.
void Panel(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb base = e.Color("color", {70, 61, 52}), well = e.Color("well", {28, 26, 25});
    const TRgb paper = Ink("paper");
    if (e.Params.count("back")) c.Fill_Rect(0, 0, c.Width(), c.Height(), e.Color("back", {8, 8, 10}));
    if (e.Params.count("panels")) {
        for (const std::string& outline : Split(e.Text("panels", ""), ';')) {
            const std::vector<double> v = Parse_Numbers(outline, "panels", e.Line);
            std::vector<TPoint> p;
            for (size_t i = 0; i + 1 < v.size(); i += 2) p.push_back({v[i], v[i + 1]});
            Raised(c, p, base);
        }
    } else {
        Raised(c, Rect_Outline(0, 0, c.Width(), c.Height()), base);
        Edge_Ring(c, 0, 0, c.Width(), c.Height(), 5, Shade(base, 0.6), Shade(base, 1.3));
        Edge_Ring(c, 0, 0, c.Width(), c.Height(), 6, Shade(base, 1.3), Shade(base, 0.6));
    }
    c.Grain(r, 0.06);
    for (const auto& t : Groups(e, "title", 3)) {
        Inset(c, t[0] - t[2] / 2, t[1] - 13, t[2], 26, paper);
        for (const double side : {-1.0, 1.0})
            c.Fill_Ellipse(t[0] + side * (t[2] / 2 + 7), t[1], 3, 3, Ink("gold"));
    }
    for (const auto& k : Groups(e, "light", 4)) Inset(c, k[0], k[1], k[2], k[3], paper);
    for (const auto& k : Groups(e, "dark", 4)) Inset(c, k[0], k[1], k[2], k[3], well);
    for (const auto& g : Groups(e, "grid", 8)) // x, y, w, h, columns, rows, dx, dy
        for (int j = 0; j < g[5]; ++j)
            for (int i = 0; i < g[4]; ++i) Inset(c, g[0] + i * g[6], g[1] + j * g[7], g[2], g[3], well);
    for (const std::string& token : Split(e.Text("glyphs", ""), ','))
        Place_Glyph(c, Parse_Glyph(token, Ink("bone")), 0, 0, c.Width(), c.Height(), 24, 0);
    const std::vector<double> o = e.Numbers("outline");
    for (size_t i = 0; i + 1 < o.size(); i += 2)
        c.Line(o[i], o[i + 1], o[(i + 2) % o.size()], o[(i + 3) % o.size()], 1.0, Shade(base, 0.8));
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
        }
    }
    c.Grain(r, 0.03);
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

// The inventory window's tab strips: strip t shows tab t raised in front of the others.
void Tabs(const TEntry& e, TCanvas& c, TRandom& r, const TLettering&) {
    const TRgb base = e.Color("color", {70, 61, 52});
    const int count = e.Integer("count", 4), h = c.Height() / count, w = e.Integer("tab", 45);
    for (int t = 0; t < count; ++t)
        for (int k = 0; k < count; ++k) {
            const bool front = k == t;
            const double x0 = k * w, x1 = std::min(double(c.Width()), x0 + w - 1),
                         top = t * h + (front ? 0 : 6);
            Raised(c, Rect_Outline(x0, top, x1 - x0, t * h + h - top),
                   front ? Shade(base, 1.2) : Shade(base, 0.8));
            for (int pip = 0; pip <= k; ++pip)
                c.Fill_Ellipse((x0 + x1) / 2 + (pip - k / 2.0) * 7, top + (h - top + t * h) / 2, 2.2, 2.2,
                               front ? Ink("gold") : Ink("stone"));
        }
    c.Grain(r, 0.04);
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
