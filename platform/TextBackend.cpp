#include "platform/TextBackend.h"

#include <algorithm>

namespace plat {

namespace {
std::unique_ptr<TText_Backend> Installed_Text;
}

int32_t Points_To_Pixels(int32_t points) {
    const int64_t magnitude = (static_cast<int64_t>(points < 0 ? -int64_t{points} : points) * 96 + 36) / 72;
    return static_cast<int32_t>(points < 0 ? -magnitude : magnitude);
}

std::size_t Utf8_Char_Bytes(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t n = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (n == 0 || at + n > text.size()) return 1;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 1;
    return n;
}

std::size_t Utf8_Length(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += Utf8_Char_Bytes(text, at)) ++count;
    return count;
}

bool THeadless_Text::Add_Font_File(const std::string& path) {
    Added_Files.push_back(path);
    return std::find(Readable_Files.begin(), Readable_Files.end(), path) != Readable_Files.end();
}

void THeadless_Text::Remove_Font_File(const std::string& path) {
    auto it = std::find(Added_Files.begin(), Added_Files.end(), path);
    if (it != Added_Files.end()) Added_Files.erase(it);
}

int32_t THeadless_Text::Open_Font(const TFont_Spec& spec) {
    Fonts[Next_Font] = spec;
    return Next_Font++;
}

int32_t THeadless_Text::Stock_Font(int32_t stock_object) {
    TFont_Spec spec;
    spec.Face = "stock " + std::to_string(stock_object);
    return Open_Font(spec);
}

TFont_Metrics THeadless_Text::Metrics(int32_t font) {
    TFont_Metrics m;
    if (!Fonts.count(font)) return m;
    m.Height = std::max(1, Height);
    m.Average_Width = Char_Width;
    return m;
}

int32_t THeadless_Text::Measure(int32_t font, std::string_view utf8) {
    if (!Fonts.count(font)) return 0;
    return static_cast<int32_t>(Utf8_Length(utf8)) * Char_Width;
}

void THeadless_Text::Draw(TSurface& surface, int32_t font, int32_t x, int32_t y, uint32_t rgb,
                          std::string_view utf8) {
    TCall call;
    call.Text = std::string(utf8);
    call.X = x;
    call.Y = y;
    call.Rgb = rgb;
    call.Font = font;
    if (auto it = Fonts.find(font); it != Fonts.end()) call.Spec = it->second;
    call.Surface = &surface;
    Calls.push_back(call);
    if (!Fonts.count(font)) return;

    const TRgb8 colour{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                       static_cast<uint8_t>(rgb)};
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + std::max(1, Height), surface.Height);
    int64_t left = x;
    for (std::size_t at = 0; at < utf8.size(); left += Char_Width) {
        const std::size_t n = Utf8_Char_Bytes(utf8, at);
        const bool blank = n == 1 && (utf8[at] == ' ' || utf8[at] == '\t');
        at += n;
        if (blank) continue;
        const int64_t x0 = std::max<int64_t>(left, 0);
        const int64_t x1 = std::min<int64_t>(left + std::max(1, Char_Width - 1), surface.Width);
        for (int64_t py = top; py < bottom; ++py)
            for (int64_t px = x0; px < x1; ++px) Put_Rgb(surface, int32_t(px), int32_t(py), colour);
    }
}

TText_Backend& Text_Backend() {
    if (!Installed_Text) Installed_Text = std::make_unique<THeadless_Text>();
    return *Installed_Text;
}

void Install_Text_Backend(std::unique_ptr<TText_Backend> backend) {
    Installed_Text = std::move(backend);
}

} // namespace plat
