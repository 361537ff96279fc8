#include "media/DisplayGxFont.h"
#include "media/DisplayFont.h"
#include "media/GfxDevice.h"
#include "platform/TextBackend.h"

#include <algorithm>

namespace {

int32_t Current_Style = 0;
TGx_DC Page_DC = 0;
uint32_t Current_Colour = 0;
int32_t Current_Justify_H = 0, Current_Justify_V = 0;
TText_Observer Text_Observer;

void Tell_Observer(int64_t x, int64_t y, const std::string& text) {
    if (!Text_Observer) return;
    Text_Observer({Gx_Active_Buffer(), static_cast<int32_t>(x), static_cast<int32_t>(y), Current_Style,
                   Current_Colour, Current_Justify_H, Current_Justify_V, text});
}

// The font the wrapping routines measure with: the current style's (the system's stock font when the
// style names none).
int32_t Measuring_Font() {
    if (const TFont_Object* font = Style_Font(Current_Style)) return font->Handle;
    return plat::Text_Backend().Stock_Font(plat::Stock_Default_Gui_Font);
}

int64_t Width(int32_t font, const std::string& text) {
    return plat::Text_Backend().Measure(font, text);
}

int64_t Text_Height(int32_t font) {
    return std::max(1, plat::Text_Backend().Metrics(font).Height);
}

// The text up to and including its first blank goes to word; without a blank, all of it. False when no
// blank was left.
bool Next_Word(std::string& rest, std::string& word) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string::npos) {
        word = std::move(rest);
        rest.clear();
        return false;
    }
    word = rest.substr(0, blank + 1);
    rest.erase(0, blank + 1);
    return true;
}

std::string Trimmed(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && static_cast<unsigned char>(s[a]) <= ' ') ++a;
    while (b > a && static_cast<unsigned char>(s[b - 1]) <= ' ') --b;
    return s.substr(a, b - a);
}

void Draw_At(int64_t x, int64_t y, const std::string& text) {
    if (text.empty()) return;
    Tell_Observer(x, y, text);
    Gx_Move_To(static_cast<int32_t>(x), static_cast<int32_t>(y));
    Gx_Draw_Text(text);
}

} // namespace

void Set_Font(int32_t style) {
    Current_Style = style;
    if (const TFont_Object* font = Style_Font(style)) Gx_Select_Font(font->Handle);
}

int32_t Get_Font() {
    return Current_Style;
}

void Begin_Text(int32_t buffer) {
    gx_vbopen(buffer);
    Page_DC = Gx_Surface_Get_DC();
    Gx_Select_DC(Page_DC);
}

void End_Text(int32_t) {
    Gx_Surface_Release_DC(Page_DC);
}

void Set_Text_Observer(TText_Observer observer) {
    Text_Observer = std::move(observer);
}

void Set_Text_Color(int32_t red, int32_t green, int32_t blue) {
    Current_Colour = static_cast<uint32_t>((red & 255) << 16 | (green & 255) << 8 | (blue & 255));
    Gx_Set_Color(Gx_Rgb_To_Color(red, green, blue));
}

void Set_Color_Index(uint32_t colour) {
    Current_Colour = colour;
    Gx_Set_Color(colour);
}

void Set_Text_Justify(int32_t horizontal, int32_t vertical) {
    Current_Justify_H = horizontal;
    Current_Justify_V = vertical;
    Gx_Set_Justify(horizontal == 2   ? 0
                   : horizontal == 3 ? 1
                                     : -1,
                   vertical == 2   ? 0
                   : vertical == 5 ? 1
                                   : -1);
}

void Draw_Text(int32_t x, int32_t y, const std::string& text) {
    Tell_Observer(x, y, text);
    Gx_Move_To(x, y);
    Gx_Draw_Text(text);
}

void Draw_Text_On(int32_t buffer, int32_t x, int32_t y, const std::string& text) {
    const int32_t active = Gx_Active_Buffer();
    const TGx_DC selected = Gx_Selected_DC();
    if (gx_vbopen(buffer) == 0) {
        const TGx_DC dc = Gx_Surface_Get_DC();
        Gx_Select_DC(dc);
        Draw_Text(x, y, text);
        Gx_Surface_Release_DC(dc);
    }
    Gx_Select_DC(selected);
    if (active >= 0)
        gx_vbopen(active);
    else
        Gx_Deselect_Buffer();
}

void Split_Long_Word(std::string& word, std::string& rest, int32_t available) {
    const int32_t font = Measuring_Font();
    std::size_t taken = 0;
    while (taken < word.size() && Width(font, word.substr(0, taken)) + 8 < available)
        taken += plat::Utf8_Char_Bytes(word, taken);
    rest.insert(0, word, taken);
    word.resize(taken);
}

int32_t Draw_Text_Wrapped(int32_t x, int32_t y, int32_t width, int32_t max_height, const std::string& text) {
    const int32_t font = Measuring_Font();
    Set_Font(Current_Style);
    Set_Text_Justify(1, 4);
    const int64_t h = Text_Height(font);
    const int64_t right = int64_t{x} + width, bottom = int64_t{y} + max_height;
    int64_t e = x, f = int64_t{y} + h;
    std::string rest = text, word;
    do {
        Next_Word(rest, word);
        if (e == x && !word.empty() && right < e + Width(font, word))
            Split_Long_Word(word, rest, static_cast<int32_t>(right - e));
        if (word.empty() || right < e + Width(font, word)) {
            e = x;
            f += h;
            // A word still wider than the new line is split again; kept whole it could never be drawn, and
            // the rest of a long word, or a long word after others, would be lost.
            if (!word.empty() && right < e + Width(font, word))
                Split_Long_Word(word, rest, static_cast<int32_t>(right - e));
        }
        const int64_t w = Width(font, word);
        if (right >= e + w && f - h - 4 <= bottom) Draw_At(e, f, word);
        e += w;
    } while (!rest.empty() && f <= bottom);
    return static_cast<int32_t>(std::clamp<int64_t>(f - y, INT32_MIN, INT32_MAX));
}

bool Draw_Text_Lines(int32_t x, int32_t y, int32_t width, int32_t offset,
                     const std::vector<std::string>& lines, int32_t visible_height) {
    if (lines.empty()) return true;
    const int32_t font = Measuring_Font();
    Set_Font(Current_Style);
    Set_Text_Justify(1, 4);
    const int64_t h = Text_Height(font), l = h - 2;
    const int64_t right = int64_t{x} + width, s = offset;
    const int64_t window_bottom = int64_t{y} + s + visible_height;
    int64_t e = x, f = int64_t{y} + h + 2;
    std::string rest, word;
    for (const std::string& line : lines) rest += "  " + line + " ***BREAK*** ";
    for (;;) {
        const bool at_end = !Next_Word(rest, word);
        if (Trimmed(word) == "***BREAK***") {
            f += 2 * l;
            e = x;
        } else {
            const int64_t w = Width(font, word);
            if (right < e + w) {
                f += l;
                e = x;
            }
            const bool in_box = e >= x && e + w <= right;
            const bool in_window = f >= y && f - l - 4 <= window_bottom && f >= int64_t{y} + s + l + 4;
            if (in_box && in_window) Draw_At(e, f - s, word);
            e += w;
        }
        if (at_end) return true;
        if (f - l - 4 > window_bottom) return false;
    }
}
