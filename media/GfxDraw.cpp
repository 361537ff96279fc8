// The drawing half of the graphics library: colours, pixels, fills, rectangle copies and text.
#include "media/GfxDevice.h"
#include "media/GfxState.h"

#include <algorithm>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

inline uint16_t Load_16(const uint8_t* p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline uint32_t Load_32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void Store_16(uint8_t* p, uint16_t v) {
    std::memcpy(p, &v, 2);
}
inline void Store_32(uint8_t* p, uint32_t v) {
    std::memcpy(p, &v, 4);
}

bool Inside(const plat::TSurface& s, int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < s.Width && y < s.Height;
}

// Fills count pixels from p with the current colour in the surface's depth.
void Fill_Pixels(uint8_t* p, int64_t count, int32_t bits, uint32_t colour) {
    switch (bits) {
    case 16:
        for (int64_t i = 0; i < count; ++i) Store_16(p + 2 * i, static_cast<uint16_t>(colour));
        break;
    case 24:
        for (int64_t i = 0; i < count; ++i) {
            p[3 * i] = static_cast<uint8_t>(colour);
            p[3 * i + 1] = static_cast<uint8_t>(colour >> 8);
            p[3 * i + 2] = static_cast<uint8_t>(colour >> 16);
        }
        break;
    case 32:
        for (int64_t i = 0; i < count; ++i) Store_32(p + 4 * i, colour);
        break;
    default: std::memset(p, static_cast<uint8_t>(colour), static_cast<std::size_t>(count));
    }
}

// One row of a keyed copy: a tight loop per pixel size. Black (32 bits: the low 24 bits) is skipped; a
// 32-bit pixel is written with its top byte cleared. This is the frame's hot loop (about a thousand map
// cells a frame), so 16- and 32-bit rows take several pixels at a time: each target pixel is rewritten
// with either itself or the source pixel, which gives the same result as skipping the key.
void Keyed_Row(uint8_t* d, const uint8_t* s, int64_t count, int32_t bytes) {
    int64_t i = 0;
    switch (bytes) {
    case 2:
#ifdef __SSE2__
        for (; i + 8 <= count; i += 8) {
            const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 2 * i));
            const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 2 * i));
            const __m128i key = _mm_cmpeq_epi16(src, _mm_setzero_si128());
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 2 * i),
                             _mm_or_si128(_mm_and_si128(key, dst), _mm_andnot_si128(key, src)));
        }
#endif
        for (; i < count; ++i) {
            const uint16_t v = Load_16(s + 2 * i);
            if (v) Store_16(d + 2 * i, v);
        }
        break;
    case 3:
        for (; i < count; ++i) {
            const uint8_t* sp = s + 3 * i;
            if (sp[0] | sp[1] | sp[2]) std::memcpy(d + 3 * i, sp, 3);
        }
        break;
    case 4:
#ifdef __SSE2__
        for (; i + 4 <= count; i += 4) {
            const __m128i low = _mm_set1_epi32(0x00FFFFFF);
            const __m128i src =
                _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * i)), low);
            const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 4 * i));
            const __m128i key = _mm_cmpeq_epi32(src, _mm_setzero_si128());
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4 * i),
                             _mm_or_si128(_mm_and_si128(key, dst), _mm_andnot_si128(key, src)));
        }
#endif
        for (; i < count; ++i) {
            const uint32_t v = Load_32(s + 4 * i) & 0x00FFFFFF;
            if (v) Store_32(d + 4 * i, v);
        }
        break;
    default:
        for (; i < count; ++i)
            if (s[i]) d[i] = s[i];
    }
}

// Copies the source rectangle (x1..x2, y1..y2) with its left column at x and its bottom row at y of the
// target, clipped to both buffers with every pixel still landing where it would unclipped.
int32_t Copy_Rect(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y, int32_t source,
                  int32_t target, bool keyed) {
    plat::TSurface* src = Gx_Slot_Surface(source);
    plat::TSurface* dst = Gx_Slot_Surface(target);
    if (!src || !dst || x1 > x2 || y1 > y2) return 0;
    const int32_t bytes = plat::Bytes_Per_Pixel(dst->Bits);
    // The source is addressed in the target's pixel size: its width in such pixels is what its rows hold.
    const int64_t src_width = src->Pitch / bytes;
    int64_t w = int64_t{x2} - x1 + 1, h = int64_t{y2} - y1 + 1;
    int64_t sx = x1, sy = y1, tx = x, ty = int64_t{y} - (h - 1);
    if (sx < 0) tx -= sx, w += sx, sx = 0;
    if (sy < 0) ty -= sy, h += sy, sy = 0;
    if (tx < 0) sx -= tx, w += tx, tx = 0;
    if (ty < 0) sy -= ty, h += ty, ty = 0;
    w = std::min({w, src_width - sx, int64_t{dst->Width} - tx});
    h = std::min({h, int64_t{src->Height} - sy, int64_t{dst->Height} - ty});
    if (w <= 0 || h <= 0) return 0;

    const int64_t row_bytes = w * bytes;
    auto src_at = [&](int64_t j) { return src->Row(static_cast<int32_t>(sy + j)) + sx * bytes; };
    auto dst_at = [&](int64_t j) { return dst->Row(static_cast<int32_t>(ty + j)) + tx * bytes; };
    if (!keyed) {
        // memmove keeps a row right when it overlaps itself; rows go bottom-up when the target lies lower.
        const bool upwards = src == dst && ty > sy;
        for (int64_t k = 0; k < h; ++k) {
            const int64_t j = upwards ? h - 1 - k : k;
            std::memmove(dst_at(j), src_at(j), static_cast<std::size_t>(row_bytes));
        }
        return 0;
    }
    const bool overlap = src == dst && sx < tx + w && tx < sx + w && sy < ty + h && ty < sy + h;
    if (overlap) {
        // Within one buffer a keyed copy would read pixels it has just written: copy from a snapshot.
        std::vector<uint8_t> snapshot(static_cast<std::size_t>(row_bytes * h));
        for (int64_t j = 0; j < h; ++j)
            std::memcpy(snapshot.data() + j * row_bytes, src_at(j), static_cast<std::size_t>(row_bytes));
        for (int64_t j = 0; j < h; ++j) Keyed_Row(dst_at(j), snapshot.data() + j * row_bytes, w, bytes);
        return 0;
    }
    for (int64_t j = 0; j < h; ++j) Keyed_Row(dst_at(j), src_at(j), w, bytes);
    return 0;
}

plat::TRgb8 Text_Colour(const TGx_State& g) {
    switch (g.Active_Bits) {
    case 16: return plat::Unpack_16(g.Colour & 0xFFFF, g.Layout_555);
    case 24:
    case 32:
        return {static_cast<uint8_t>(g.Colour >> 16), static_cast<uint8_t>(g.Colour >> 8),
                static_cast<uint8_t>(g.Colour)};
    default: return g.Palette[g.Colour & 0xFF];
    }
}

// The surface the library context draws on, or nullptr (the memory context, a released or unknown one, or
// one whose buffer has been freed since).
plat::TSurface* Context_Surface(const TGx_State& g) {
    auto it = g.Contexts.find(g.Library_DC);
    if (it == g.Contexts.end() || it->second.Handle < 0) return nullptr;
    const TGx_Slot& slot = g.Slots[it->second.Handle];
    return slot.Generation == it->second.Generation ? slot.Surface.get() : nullptr;
}

void Record_Font(TGx_State& g, int32_t font) {
    g.Font = font;
    g.Font_Metrics = plat::Text_Backend().Metrics(font);
    g.Font_Metrics.Height = std::max(1, g.Font_Metrics.Height);
}

} // namespace

void Gx_Rebuild_Lookups() {
    TGx_State& g = Gx();
    for (int32_t i = 0; i < 256; ++i) {
        const plat::TRgb8 c = g.Palette[i];
        g.Lookup_16[i] = plat::Pack_16(c.R, c.G, c.B, g.Layout_555);
        g.Lookup_32[i] = uint32_t{c.R} << 16 | uint32_t{c.G} << 8 | c.B;
    }
}

uint32_t Gx_Rgb_To_Color(int32_t r, int32_t g, int32_t b) {
    const TGx_State& s = Gx();
    const uint32_t R = r & 0xFF, G = g & 0xFF, B = b & 0xFF;
    switch (s.Active_Bits) {
    case 16: return plat::Pack_16(R, G, B, s.Layout_555);
    case 24:
    case 32: return R << 16 | G << 8 | B;
    default: return static_cast<uint32_t>(Gx_Nearest_Palette_Index(r, g, b));
    }
}

int32_t Gx_Nearest_Palette_Index(int32_t r, int32_t g, int32_t b) {
    return plat::Nearest_Palette_Index(
        Gx().Palette, {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)});
}

void Gx_Set_Color(uint32_t colour) {
    TGx_State& g = Gx();
    switch (g.Active_Bits) {
    case 16: g.Colour = (colour & 0xFFFF) * 0x10001u; break;
    case 24:
    case 32: g.Colour = colour; break;
    default: g.Colour = g.Remap[colour & 0xFF] * 0x01010101u;
    }
}

void Gx_Move_To(int32_t x, int32_t y) {
    Gx().X = x;
    Gx().Y = y;
}

int32_t Gx_Get_X() {
    return Gx().X;
}

void Gx_Set_Pixel(int32_t x, int32_t y) {
    plat::TSurface* s = Gx_Active_Surface();
    if (!s || !Inside(*s, x, y)) return;
    Fill_Pixels(s->Row(y) + static_cast<std::size_t>(x) * plat::Bytes_Per_Pixel(s->Bits), 1, s->Bits,
                Gx().Colour);
}

uint32_t Gx_Get_Pixel(int32_t x, int32_t y) {
    const plat::TSurface* s = Gx_Active_Surface();
    if (!s || !Inside(*s, x, y)) return 0;
    const uint8_t* p = s->Row(y) + static_cast<std::size_t>(x) * plat::Bytes_Per_Pixel(s->Bits);
    switch (s->Bits) {
    case 16: return Load_16(p);
    case 24: return p[0] + p[1] * 256u + p[2] * 65536u;
    case 32: return Load_32(p);
    default: return p[0];
    }
}

void Gx_Fill_Rect(int32_t x1, int32_t x2, int32_t y1, int32_t y2) {
    plat::TSurface* s = Gx_Active_Surface();
    if (!s) return;
    const int32_t left = std::max(x1, 0), right = std::min(x2, s->Width - 1);
    const int32_t top = std::max(y1, 0), bottom = std::min(y2, s->Height - 1);
    if (left > right || top > bottom) return;
    const int32_t bytes = plat::Bytes_Per_Pixel(s->Bits);
    for (int32_t y = top; y <= bottom; ++y)
        Fill_Pixels(s->Row(y) + static_cast<std::size_t>(left) * bytes, right - left + 1, s->Bits,
                    Gx().Colour);
}

void Gx_Fill_Page() {
    plat::TSurface* s = Gx_Active_Surface();
    if (!s) return;
    Fill_Pixels(s->Pixels.data(), int64_t{s->Width} * s->Height, s->Bits, Gx().Colour);
}

int32_t Gx_Copy_Rect(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y, int32_t source,
                     int32_t target) {
    return Copy_Rect(x1, x2, y1, y2, x, y, source, target, false);
}

int32_t Gx_Copy_Rect_Transparent(int32_t x1, int32_t x2, int32_t y1, int32_t y2, int32_t x, int32_t y,
                                 int32_t source, int32_t target) {
    return Copy_Rect(x1, x2, y1, y2, x, y, source, target, true);
}

int32_t Gx_Copy_Buffer(int32_t source, int32_t target) {
    const plat::TSurface* src = Gx_Slot_Surface(source);
    plat::TSurface* dst = Gx_Slot_Surface(target);
    if (!src || !dst || src == dst || src->Pitch != dst->Pitch || src->Height != dst->Height) return 0;
    std::memcpy(dst->Pixels.data(), src->Pixels.data(), src->Pixels.size());
    return 0;
}

void Gx_Select_Stock_Font(int32_t stock_object) {
    Record_Font(Gx(), plat::Text_Backend().Stock_Font(stock_object));
}

void Gx_Select_Font(int32_t font) {
    Record_Font(Gx(), font);
}

void Gx_Set_Justify(int32_t horizontal, int32_t vertical) {
    Gx().Justify_H = static_cast<int8_t>(horizontal);
    Gx().Justify_V = static_cast<int8_t>(vertical);
}

void Gx_Draw_Text(std::string_view text) {
    TGx_State& g = Gx();
    if (g.Active < 0) return;
    plat::TText_Backend& backend = plat::Text_Backend();
    const int64_t w = backend.Measure(g.Font, text);
    const int64_t line = int64_t{g.Font_Metrics.Height} + g.Font_Metrics.External_Leading;
    int64_t x = g.X, y = g.Y;
    if (g.Justify_H >= 0) x -= ((g.Justify_H + 1) * w) / 2;
    if (g.Justify_V >= 0) y += ((g.Justify_V + 1) * (line - g.Font_Metrics.External_Leading)) / 2;
    y -= line;
    x = std::clamp<int64_t>(x, INT32_MIN, INT32_MAX);
    y = std::clamp<int64_t>(y, INT32_MIN, INT32_MAX);
    if (plat::TSurface* surface = Context_Surface(g); surface && !text.empty()) {
        const plat::TRgb8 c = Text_Colour(g);
        backend.Draw(*surface, g.Font, static_cast<int32_t>(x), static_cast<int32_t>(y),
                     uint32_t{c.R} << 16 | uint32_t{c.G} << 8 | c.B, text);
    }
    g.X = static_cast<int32_t>(std::min<int64_t>(x + w, g.Active_Width));
    g.Y = static_cast<int32_t>(y);
}
