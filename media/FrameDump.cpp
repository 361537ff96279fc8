#include "media/FrameDump.h"
#include "media/GfxDevice.h"
#include "platform/BmpWriter.h"

#include <cstdlib>
#include <fstream>

namespace {

// Sums of each channel over one block, B, G, R.
void Block_Sums(const TFrame& f, int32_t bx, int32_t by, int64_t sums[3]) {
    sums[0] = sums[1] = sums[2] = 0;
    for (int32_t y = by * Frame_Block_Side; y < (by + 1) * Frame_Block_Side; ++y) {
        const uint8_t* p = f.Bgr.data() + (static_cast<std::size_t>(y) * f.Width + bx * Frame_Block_Side) * 3;
        for (int32_t x = 0; x < Frame_Block_Side; ++x, p += 3) {
            sums[0] += p[0];
            sums[1] += p[1];
            sums[2] += p[2];
        }
    }
}

bool Block_Matches(const TFrame& a, const TFrame& b, int32_t bx, int32_t by) {
    int64_t sa[3], sb[3];
    Block_Sums(a, bx, by, sa);
    Block_Sums(b, bx, by, sb);
    // Means within the tolerance, compared as sums so that nothing is rounded.
    constexpr int64_t limit = int64_t{Frame_Block_Tolerance} * Frame_Block_Side * Frame_Block_Side;
    for (int c = 0; c < 3; ++c)
        if (std::llabs(sa[c] - sb[c]) > limit) return false;
    return true;
}

bool Same_Size(const TFrame& a, const TFrame& b) {
    return a.Width == b.Width && a.Height == b.Height &&
           a.Bgr.size() == static_cast<std::size_t>(a.Width) * a.Height * 3 && b.Bgr.size() == a.Bgr.size();
}

} // namespace

bool Read_Buffer_Frame(int32_t handle, TFrame& frame) {
    const plat::TSurface* s = Gx_Buffer_Surface(handle);
    if (!s) return false;
    frame.Width = s->Width;
    frame.Height = s->Height;
    frame.Bgr.resize(static_cast<std::size_t>(s->Width) * s->Height * 3);
    uint8_t* out = frame.Bgr.data();
    // Each 16-bit field widened once: red and blue by their five bits, green by five or six.
    const uint32_t red_shift = s->Layout_555 ? 10 : 11, green_mask = s->Layout_555 ? 31 : 63;
    uint8_t five[32], green[64];
    for (uint32_t v = 0; v < 32; ++v) five[v] = plat::Unpack_16(v, false).B;
    for (uint32_t v = 0; v <= green_mask; ++v) green[v] = plat::Unpack_16(v << 5, s->Layout_555).G;
    for (int32_t y = 0; y < s->Height; ++y) {
        const uint8_t* row = s->Row(y);
        switch (s->Bits) {
        case 24:
            std::copy(row, row + static_cast<std::size_t>(s->Width) * 3, out);
            out += static_cast<std::size_t>(s->Width) * 3;
            break;
        case 32:
            for (int32_t x = 0; x < s->Width; ++x, out += 3) {
                out[0] = row[4 * x];
                out[1] = row[4 * x + 1];
                out[2] = row[4 * x + 2];
            }
            break;
        case 16:
            for (int32_t x = 0; x < s->Width; ++x, out += 3) {
                const uint32_t w = row[2 * x] | row[2 * x + 1] << 8;
                out[0] = five[w & 31];
                out[1] = green[(w >> 5) & green_mask];
                out[2] = five[(w >> red_shift) & 31];
            }
            break;
        default:
            for (int32_t x = 0; x < s->Width; ++x, out += 3) {
                const plat::TRgb8 c = plat::Pixel_Rgb(*s, x, y);
                out[0] = c.B;
                out[1] = c.G;
                out[2] = c.R;
            }
        }
    }
    return true;
}

std::vector<uint8_t> Frame_Bmp_File(const TFrame& frame) {
    return plat::Bmp24_File(frame.Width, frame.Height, frame.Bgr.data(),
                            static_cast<std::size_t>(frame.Width) * 3);
}

bool Write_Frame_Bmp(const TFrame& frame, const std::string& path) {
    const std::vector<uint8_t> bytes = Frame_Bmp_File(frame);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool Dump_Buffer(int32_t handle, const std::string& path) {
    TFrame frame;
    return Read_Buffer_Frame(handle, frame) && Write_Frame_Bmp(frame, path);
}

TFrame_Comparison Compare_Frames(const TFrame& actual, const TFrame& expected) {
    TFrame_Comparison result;
    result.Same_Size = Same_Size(actual, expected);
    if (!result.Same_Size) return result;
    const int32_t columns = actual.Width / Frame_Block_Side, rows = actual.Height / Frame_Block_Side;
    result.Blocks = columns * rows;
    for (int32_t by = 0; by < rows; ++by)
        for (int32_t bx = 0; bx < columns; ++bx)
            if (Block_Matches(actual, expected, bx, by)) result.Blocks_Matching++;
    result.Passed = result.Blocks > 0 &&
                    int64_t{result.Blocks_Matching} * 100 >= int64_t{result.Blocks} * Frame_Pass_Percent;
    return result;
}

TFrame Difference_Frame(const TFrame& actual, const TFrame& expected) {
    TFrame diff;
    if (!Same_Size(actual, expected)) return diff;
    diff = actual;
    for (std::size_t i = 0; i < diff.Bgr.size(); ++i)
        diff.Bgr[i] = static_cast<uint8_t>(std::abs(int32_t{actual.Bgr[i]} - expected.Bgr[i]));
    for (int32_t by = 0; by < actual.Height / Frame_Block_Side; ++by)
        for (int32_t bx = 0; bx < actual.Width / Frame_Block_Side; ++bx) {
            if (Block_Matches(actual, expected, bx, by)) continue;
            for (int32_t y = by * Frame_Block_Side; y < (by + 1) * Frame_Block_Side; ++y)
                for (int32_t x = bx * Frame_Block_Side; x < (bx + 1) * Frame_Block_Side; ++x)
                    diff.Bgr[(static_cast<std::size_t>(y) * diff.Width + x) * 3 + 2] = 255;
        }
    return diff;
}
