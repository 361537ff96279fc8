// BMP loading into the active buffer, and the palette its indexed pictures use.
#include "media/GfxDevice.h"
#include "media/GfxState.h"
#include "platform/PathLayer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int64_t Max_Side = 16384;
constexpr int32_t File_Header_Size = 14;

uint32_t Read_16(std::span<const uint8_t> d, std::size_t at) {
    return d[at] | uint32_t{d[at + 1]} << 8;
}
uint32_t Read_32(std::span<const uint8_t> d, std::size_t at) {
    return Read_16(d, at) | Read_16(d, at + 2) << 16;
}

struct TBmp_Header {
    uint32_t Data_Offset = 0;
    uint32_t Header_Size = 0;
    int64_t Width = 0;
    int64_t Height = 0; // negative: the top row comes first
    uint32_t Bit_Count = 0;
    uint32_t Compression = 0;
};

// The two headers, checked: 0 or the load's result code.
int32_t Read_Header(std::span<const uint8_t> d, TBmp_Header& h) {
    if (d.size() < 2 || d[0] != 'B' || d[1] != 'M') return Gx_Bmp_Not_Bmp;
    if (d.size() < File_Header_Size + 4) return Gx_Bmp_Not_Bmp;
    h.Data_Offset = Read_32(d, 10);
    h.Header_Size = Read_32(d, 14);
    if (h.Header_Size == 12) {
        if (d.size() < 26) return Gx_Bmp_Not_Bmp;
        h.Width = Read_16(d, 18);
        h.Height = Read_16(d, 20);
        h.Bit_Count = d[24]; // the low byte of the bit-count word
    } else {
        if (d.size() < 34) return Gx_Bmp_Not_Bmp;
        h.Width = static_cast<int32_t>(Read_32(d, 18));
        h.Height = static_cast<int32_t>(Read_32(d, 22));
        h.Bit_Count = Read_16(d, 28);
        h.Compression = Read_32(d, 30);
    }
    // The pixels cannot start inside the headers.
    if (int64_t{h.Data_Offset} < int64_t{File_Header_Size} + h.Header_Size) return Gx_Bmp_Not_Bmp;
    if (h.Compression != 0) return Gx_Bmp_Compressed;
    const int64_t height = h.Height < 0 ? -h.Height : h.Height;
    if (h.Width <= 0 || height == 0 || h.Width > Max_Side || height > Max_Side) return Gx_Bmp_Unsupported;
    if (h.Bit_Count != 1 && h.Bit_Count != 4 && h.Bit_Count != 8 && h.Bit_Count != 24)
        return Gx_Bmp_Unsupported;
    return Gx_Bmp_Ok;
}

// The file's colour table as it applies from palette entry first: limited to what the bit count can
// address and to the palette's end. False when the file ends inside it.
bool Read_Colour_Table(std::span<const uint8_t> d, const TBmp_Header& h, int32_t first,
                       std::vector<plat::TRgb8>& entries) {
    const int64_t entry_size = h.Header_Size == 12 ? 3 : 4;
    const int64_t table_bytes = int64_t{h.Data_Offset} - (h.Header_Size + File_Header_Size);
    int64_t count = table_bytes / entry_size;
    count = std::min<int64_t>(count, h.Bit_Count >= 8 ? 256 : int64_t{1} << h.Bit_Count);
    count = std::min<int64_t>(count, 256 - first);
    const std::size_t start = File_Header_Size + h.Header_Size;
    if (start + count * entry_size > d.size()) return false;
    entries.resize(static_cast<std::size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        const std::size_t at = start + static_cast<std::size_t>(i * entry_size);
        entries[i] = {d[at + 2], d[at + 1], d[at]};
    }
    return true;
}

// Squeezes the colours the 8-bit buffer uses into count palette entries from first: while more indices
// occur than fit, the two nearest colours are merged (the one with fewer pixels into the other); the
// survivors are packed in index order, moved up to first, and every pixel renumbered.
void Reduce_Palette(plat::TSurface& s, int32_t first, int32_t count, plat::TPalette& table) {
    std::array<int64_t, 256> pixels{};
    for (uint8_t p : s.Pixels) pixels[p]++;
    std::array<uint8_t, 256> merged_into{};
    for (int32_t i = 0; i < 256; ++i) merged_into[i] = static_cast<uint8_t>(i);
    auto distance = [&](int32_t i, int32_t j) {
        const int64_t dr = table[i].R - table[j].R, dg = table[i].G - table[j].G,
                      db = table[i].B - table[j].B;
        return dr * dr + dg * dg + db * db;
    };
    int32_t used =
        static_cast<int32_t>(std::count_if(pixels.begin(), pixels.end(), [](int64_t n) { return n > 0; }));
    while (used > count) {
        int32_t best_i = -1, best_j = -1;
        int64_t best = 0;
        for (int32_t i = 0; i < 256; ++i) {
            if (pixels[i] == 0) continue;
            for (int32_t j = i + 1; j < 256; ++j) {
                if (pixels[j] == 0) continue;
                const int64_t d = distance(i, j);
                if (best_i < 0 || d < best ||
                    (d == best && pixels[j] < std::min(pixels[best_i], pixels[best_j]))) {
                    best_i = i;
                    best_j = j;
                    best = d;
                }
            }
        }
        const int32_t loser = pixels[best_j] < pixels[best_i] ? best_j : best_i;
        const int32_t winner = loser == best_i ? best_j : best_i;
        for (uint8_t& m : merged_into)
            if (m == loser) m = static_cast<uint8_t>(winner);
        pixels[winner] += pixels[loser];
        pixels[loser] = 0;
        --used;
    }
    std::array<uint8_t, 256> number{};
    plat::TPalette packed{};
    int32_t n = 0;
    for (int32_t i = 0; i < 256; ++i)
        if (pixels[i] > 0) {
            number[i] = static_cast<uint8_t>(n);
            packed[n++] = table[i];
        }
    table = plat::TPalette{};
    for (int32_t i = 0; i < n; ++i) table[first + i] = packed[i];
    std::array<uint8_t, 256> renumber{};
    for (int32_t i = 0; i < 256; ++i) renumber[i] = static_cast<uint8_t>(number[merged_into[i]] + first);
    for (uint8_t& p : s.Pixels) p = renumber[p];
}

// An 8-bit buffer takes the file's colours after its rows are in: an 8-bit picture's are squeezed into
// entries 10..245 (or installed as they are with Gx_Bmp_Keep_File_Colours), a 4- or 1-bit picture's go in
// from entry 10; entries 0..9 and 246..255 stay.
void Install_Into_Indexed_Buffer(plat::TSurface& target, const TBmp_Header& h, int32_t flags,
                                 const std::vector<plat::TRgb8>& entries) {
    if (h.Bit_Count != 8) {
        Gx_Set_Palette_Entries(10, static_cast<int32_t>(entries.size()), entries.data());
        return;
    }
    plat::TPalette table{};
    std::copy(entries.begin(), entries.end(), table.begin());
    if (!(flags & Gx_Bmp_Keep_File_Colours)) Reduce_Palette(target, 10, 236, table);
    Gx_Set_Palette_Entries(10, 236, table.data() + 10);
}

// One source row into the target row from column skip on, count pixels.
void Convert_Row(const uint8_t* row, const TBmp_Header& h, int64_t skip, int64_t count, uint8_t* out,
                 const plat::TSurface& target, const TGx_State& g) {
    if (h.Bit_Count == 24) {
        const uint8_t* s = row + skip * 3;
        switch (target.Bits) {
        case 32:
            // The fourth byte of each pixel is left as it was.
            for (int64_t i = 0; i < count; ++i) std::memcpy(out + 4 * i, s + 3 * i, 3);
            break;
        case 24: std::memcpy(out, s, static_cast<std::size_t>(count * 3)); break;
        case 16:
            for (int64_t i = 0; i < count; ++i) {
                const uint16_t w = plat::Pack_16(s[3 * i + 2], s[3 * i + 1], s[3 * i], g.Layout_555);
                std::memcpy(out + 2 * i, &w, 2);
            }
            break;
        default: break; // refused before any row is read
        }
        return;
    }
    for (int64_t i = 0; i < count; ++i) {
        const int64_t px = skip + i;
        uint32_t index;
        if (h.Bit_Count == 8)
            index = row[px];
        else if (h.Bit_Count == 4)
            index = ((row[px / 2] >> (px % 2 ? 0 : 4)) & 0x0F) + 10;
        else
            index = ((row[px / 8] >> (7 - px % 8)) & 1) + 10;
        switch (target.Bits) {
        case 16: std::memcpy(out + 2 * i, &g.Lookup_16[index], 2); break;
        case 24: {
            const uint32_t v = g.Lookup_32[index];
            out[3 * i] = static_cast<uint8_t>(v);
            out[3 * i + 1] = static_cast<uint8_t>(v >> 8);
            out[3 * i + 2] = static_cast<uint8_t>(v >> 16);
            break;
        }
        case 32: std::memcpy(out + 4 * i, &g.Lookup_32[index], 4); break;
        default: out[i] = static_cast<uint8_t>(index);
        }
    }
}

int32_t Show_Bmp(std::span<const uint8_t> d, int32_t flags) {
    TGx_State& g = Gx();
    plat::TSurface* target = Gx_Active_Surface();
    TBmp_Header h;
    if (const int32_t code = Read_Header(d, h); code != Gx_Bmp_Ok) return code;
    if (h.Bit_Count == 24 && target->Bits <= 8) return Gx_Bmp_Unsupported;

    const bool top_down = h.Height < 0;
    const int64_t height = top_down ? -h.Height : h.Height;
    const int64_t x = flags & Gx_Bmp_At_Position ? g.X : 0;
    const int64_t y = flags & Gx_Bmp_At_Position ? g.Y : 0;
    // Visible columns and image rows: a picture partly outside the buffer draws only the part inside.
    const int64_t skip = std::max<int64_t>(0, -x);
    const int64_t count = std::min<int64_t>(h.Width, target->Width - x) - skip;
    const int64_t first_row = std::max<int64_t>(0, -y);
    const int64_t last_row = std::min<int64_t>(height, target->Height - y) - 1;
    if (count <= 0 || first_row > last_row) return Gx_Bmp_Ok;

    const int64_t row_bytes = (h.Width * h.Bit_Count + 31) / 32 * 4;
    std::vector<uint8_t> converted;
    try {
        converted.resize(static_cast<std::size_t>(count) * plat::Bytes_Per_Pixel(target->Bits));
    } catch (const std::bad_alloc&) {
        return Gx_Bmp_No_Memory;
    }

    const int64_t table_bytes = int64_t{h.Data_Offset} - (h.Header_Size + File_Header_Size);
    const bool use_table = table_bytes != 0 && !(flags & Gx_Bmp_Ignore_Colour_Table) && h.Bit_Count <= 8;
    std::vector<plat::TRgb8> entries;
    if (use_table && !Read_Colour_Table(d, h, h.Bit_Count == 8 ? 0 : 10, entries)) return Gx_Bmp_Not_Bmp;
    if (use_table && target->Bits > 8 && !entries.empty())
        Gx_Set_Palette_Entries(h.Bit_Count == 8 ? 0 : 10, static_cast<int32_t>(entries.size()),
                               entries.data());

    const int32_t bytes = plat::Bytes_Per_Pixel(target->Bits);
    // Rows in file order, so a file that ends early keeps the rows already drawn.
    for (int64_t k = 0; k < height; ++k) {
        const int64_t image_row = top_down ? k : height - 1 - k;
        if (image_row < first_row || image_row > last_row) continue;
        const int64_t at = int64_t{h.Data_Offset} + k * row_bytes;
        if (at + row_bytes > static_cast<int64_t>(d.size())) return Gx_Bmp_Not_Bmp;
        uint8_t* out = target->Row(static_cast<int32_t>(y + image_row)) + (x + skip) * bytes;
        Convert_Row(d.data() + at, h, skip, count, out, *target, g);
    }
    if (use_table && target->Bits == 8) Install_Into_Indexed_Buffer(*target, h, flags, entries);
    return Gx_Bmp_Ok;
}

} // namespace

int32_t gx_showbmp_data(std::span<const uint8_t> data, int32_t flags) {
    if (!Gx_Active_Surface()) return Gx_Bmp_Ok;
    return Show_Bmp(data, flags);
}

int32_t gx_showbmp(const std::string& file_name, int32_t flags) {
    if (!Gx_Active_Surface()) return Gx_Bmp_Ok;
    std::string contents;
    if (!plat::Find_Regular_File(file_name) || !plat::Read_File(file_name, contents))
        return Gx_Bmp_Cannot_Open;
    return Show_Bmp({reinterpret_cast<const uint8_t*>(contents.data()), contents.size()}, flags);
}

bool Gx_Read_Bmp_Size(const std::string& file_name, int32_t& width, int32_t& height) {
    std::string contents;
    if (!plat::Find_Regular_File(file_name) || !plat::Read_File(file_name, contents)) return false;
    // Any picture with a readable size is measured; whether it can be loaded is the load's answer.
    TBmp_Header h;
    if (Read_Header({reinterpret_cast<const uint8_t*>(contents.data()), contents.size()}, h) ==
        Gx_Bmp_Not_Bmp)
        return false;
    const int64_t h_abs = h.Height < 0 ? -h.Height : h.Height;
    if (h.Width <= 0 || h.Width > Max_Side || h_abs == 0 || h_abs > Max_Side) return false;
    width = static_cast<int32_t>(h.Width);
    height = static_cast<int32_t>(h_abs);
    return true;
}

void Gx_Set_Palette_Entries(int32_t first, int32_t count, const plat::TRgb8* triples) {
    TGx_State& g = Gx();
    if (g.Active < 0 || count <= 0 || first < 0 || first > 255) return;
    count = std::min(count, 256 - first);
    for (int32_t i = 0; i < count; ++i) g.Palette[first + i] = triples[i];
    Gx_Rebuild_Lookups();
}
