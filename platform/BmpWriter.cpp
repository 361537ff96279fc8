#include "platform/BmpWriter.h"

#include <cstring>

namespace plat {

namespace {
void Put_16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put_32(std::vector<uint8_t>& out, uint32_t v) {
    Put_16(out, v & 0xFFFF);
    Put_16(out, v >> 16);
}
} // namespace

std::vector<uint8_t> Bmp24_File(int32_t width, int32_t height, const uint8_t* bgr, std::size_t stride) {
    const std::size_t data = static_cast<std::size_t>(width) * 3;
    const std::size_t row = (data + 3) & ~std::size_t{3};
    const std::size_t image = row * static_cast<std::size_t>(height);
    std::vector<uint8_t> out;
    out.reserve(54 + image);
    out.push_back('B');
    out.push_back('M');
    Put_32(out, static_cast<uint32_t>(54 + image)); // file size
    Put_32(out, 0);                                 // reserved
    Put_32(out, 54);                                // offset of the pixels: no colour table
    Put_32(out, 40);                                // BITMAPINFOHEADER
    Put_32(out, static_cast<uint32_t>(width));
    Put_32(out, static_cast<uint32_t>(height)); // positive: bottom row first
    Put_16(out, 1);                             // planes
    Put_16(out, 24);
    Put_32(out, 0); // no compression
    Put_32(out, static_cast<uint32_t>(image));
    Put_32(out, 2835); // 72 dots per inch
    Put_32(out, 2835);
    Put_32(out, 0);
    Put_32(out, 0);
    out.resize(54 + image, 0);
    uint8_t* dst = out.data() + 54;
    for (int32_t y = height - 1; y >= 0; --y, dst += row)
        std::memcpy(dst, bgr + static_cast<std::size_t>(y) * stride, data);
    return out;
}

} // namespace plat
