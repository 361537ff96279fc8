// The one writer of BMP files: uncompressed 24 bits, a 14-byte file header and a 40-byte BITMAPINFOHEADER,
// no colour table, rows bottom-up and each padded to a multiple of 4 bytes. The build's picture maker and
// the frame dumps both write through it, so every picture the game reads has the same layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

// bgr: height rows, top row first, each width x 3 bytes in the order B, G, R, stride bytes apart.
std::vector<uint8_t> Bmp24_File(int32_t width, int32_t height, const uint8_t* bgr, std::size_t stride);

} // namespace plat
