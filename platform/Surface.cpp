#include "platform/Surface.h"

#include <new>

namespace plat {

std::unique_ptr<TSurface> Make_Surface(int32_t width, int32_t height, int32_t bits, bool layout_555) {
    if (width <= 0 || height <= 0) throw std::bad_alloc();
    auto surface = std::make_unique<TSurface>();
    surface->Width = width;
    surface->Height = height;
    surface->Bits = bits == 16 || bits == 24 || bits == 32 ? bits : 8;
    surface->Pitch = width * Bytes_Per_Pixel(surface->Bits);
    surface->Layout_555 = layout_555;
    surface->Pixels.assign(static_cast<std::size_t>(surface->Pitch) * static_cast<std::size_t>(height), 0);
    return surface;
}

TRgb8 Unpack_16(uint32_t word, bool layout_555) {
    const uint32_t r = layout_555 ? (word >> 10) & 31 : (word >> 11) & 31;
    const uint32_t g = layout_555 ? (word >> 5) & 31 : (word >> 5) & 63;
    const uint32_t b = word & 31;
    return {static_cast<uint8_t>(r * 255 / 31), static_cast<uint8_t>(g * 255 / (layout_555 ? 31 : 63)),
            static_cast<uint8_t>(b * 255 / 31)};
}

TRgb8 Pixel_Rgb(const TSurface& surface, int32_t x, int32_t y) {
    const uint8_t* p = surface.Row(y) + static_cast<std::size_t>(x) * Bytes_Per_Pixel(surface.Bits);
    switch (surface.Bits) {
    case 16: return Unpack_16(static_cast<uint32_t>(p[0] | p[1] << 8), surface.Layout_555);
    case 24:
    case 32: return {p[2], p[1], p[0]};
    default: return surface.Palette ? (*surface.Palette)[p[0]] : TRgb8{p[0], p[0], p[0]};
    }
}

void Put_Rgb(TSurface& surface, int32_t x, int32_t y, TRgb8 c) {
    uint8_t* p = surface.Row(y) + static_cast<std::size_t>(x) * Bytes_Per_Pixel(surface.Bits);
    switch (surface.Bits) {
    case 16: {
        const uint16_t w = Pack_16(c.R, c.G, c.B, surface.Layout_555);
        p[0] = static_cast<uint8_t>(w);
        p[1] = static_cast<uint8_t>(w >> 8);
        break;
    }
    case 24:
        p[0] = c.B;
        p[1] = c.G;
        p[2] = c.R;
        break;
    case 32:
        p[0] = c.B;
        p[1] = c.G;
        p[2] = c.R;
        p[3] = 0;
        break;
    default: p[0] = surface.Palette ? Nearest_Palette_Index(*surface.Palette, c) : 0;
    }
}

uint8_t Nearest_Palette_Index(const TPalette& palette, TRgb8 c) {
    int32_t best = 0;
    int64_t best_distance = -1;
    for (int32_t i = 0; i < 256; ++i) {
        const int64_t dr = palette[i].R - c.R, dg = palette[i].G - c.G, db = palette[i].B - c.B;
        const int64_t d = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return static_cast<uint8_t>(best);
}

} // namespace plat
