// Our own drawing surfaces, in place of the video card's: rows top-down, pitch = width x bytes per pixel,
// zero-filled (black) when made. Pixel formats: 8 bits a palette index; 16 bits 5-6-5 (red in bits 11-15)
// or 5-5-5 (red in bits 10-14); 24 bits three bytes B, G, R; 32 bits the value 0x00RRGGBB.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {

struct TRgb8 {
    uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TRgb8&) const = default;
};

using TPalette = std::array<TRgb8, 256>;

struct TSurface {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Bits = 0;
    int32_t Pitch = 0;
    bool Layout_555 = false; // 16 bits only
    // 8 bits only: the colours the indices stand for, owned by whoever made the surface.
    const TPalette* Palette = nullptr;
    std::vector<uint8_t> Pixels;

    uint8_t* Row(int32_t y) { return Pixels.data() + static_cast<std::size_t>(y) * Pitch; }
    const uint8_t* Row(int32_t y) const { return Pixels.data() + static_cast<std::size_t>(y) * Pitch; }
};

// 1, 2, 3 or 4; any depth other than 16, 24 and 32 is the 8-bit palette format.
inline int32_t Bytes_Per_Pixel(int32_t bits) {
    return bits == 16 ? 2 : bits == 24 ? 3 : bits == 32 ? 4 : 1;
}

// Throws std::bad_alloc when the memory cannot be had; the caller reports the failure.
std::unique_ptr<TSurface> Make_Surface(int32_t width, int32_t height, int32_t bits, bool layout_555);

// A 16-bit word from the top bits of each component.
inline uint16_t Pack_16(uint32_t r, uint32_t g, uint32_t b, bool layout_555) {
    return layout_555 ? static_cast<uint16_t>((((r >> 3) << 5 | (g >> 3)) << 5) | (b >> 3))
                      : static_cast<uint16_t>((((r >> 3) << 6 | (g >> 2)) << 5) | (b >> 3));
}

// Each field widened as field x 255 / field maximum, truncated: 31 for five bits, 63 for six.
TRgb8 Unpack_16(uint32_t word, bool layout_555);

// The colour of the pixel at (x, y), which the caller keeps inside the surface.
TRgb8 Pixel_Rgb(const TSurface& surface, int32_t x, int32_t y);

// Writes a colour at (x, y) in the surface's format (8 bits: the nearest palette entry, black without one).
void Put_Rgb(TSurface& surface, int32_t x, int32_t y, TRgb8 colour);

// Index of the palette entry nearest to the colour by squared distance; the lowest index wins a tie.
uint8_t Nearest_Palette_Index(const TPalette& palette, TRgb8 colour);

} // namespace plat
