// Text raster behind the graphics library: font files offered by the program, fonts by face and size,
// their metrics, the width of a string and drawing it into a surface. Text is UTF-8 throughout. The real
// backend renders with SDL2_ttf and finds faces through fontconfig; the headless one has fixed metrics,
// records every call and paints one solid box per character, so tests and frame dumps need no font.
#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

struct TFont_Spec {
    std::string Face;
    int32_t Points = 0;
    bool Bold = false;
    bool Italic = false;
    bool operator==(const TFont_Spec&) const = default;
};

struct TFont_Metrics {
    int32_t Height = 1;           // of a line of characters, at least 1
    int32_t External_Leading = 0; // extra space between lines
    int32_t Average_Width = 0;
};

// The stock fonts a program may ask for by number.
constexpr int32_t Stock_Oem_Fixed_Font = 10;
constexpr int32_t Stock_Ansi_Fixed_Font = 11;
constexpr int32_t Stock_Ansi_Var_Font = 12;
constexpr int32_t Stock_System_Font = 13;
constexpr int32_t Stock_System_Fixed_Font = 16;
constexpr int32_t Stock_Default_Gui_Font = 17;

class TText_Backend {
public:
    virtual ~TText_Backend() = default;

    // Offers the faces of a font file to this program; false when the file cannot be read.
    virtual bool Add_Font_File(const std::string& path) = 0;
    virtual void Remove_Font_File(const std::string& path) = 0;
    // A font handle (1 or more) for the face at the size; a missing face falls back to another one.
    virtual int32_t Open_Font(const TFont_Spec& spec) = 0;
    virtual int32_t Stock_Font(int32_t stock_object) = 0;
    virtual void Close_Font(int32_t font) = 0;

    // An unknown handle gives the metrics and widths of no font: height 1, width 0.
    virtual TFont_Metrics Metrics(int32_t font) = 0;
    virtual int32_t Measure(int32_t font, std::string_view utf8) = 0;
    // Draws with the top-left corner of the line box at (x, y), transparent background, clipped to the
    // surface; rgb is 0x00RRGGBB.
    virtual void Draw(TSurface& surface, int32_t font, int32_t x, int32_t y, uint32_t rgb,
                      std::string_view utf8) = 0;
};

// Points to pixels on a 96-dot-per-inch screen, rounded to the nearest (halves away from zero).
int32_t Points_To_Pixels(int32_t points);

// Characters in UTF-8 text; a byte that starts no valid sequence counts as one character.
std::size_t Utf8_Length(std::string_view text);
// Byte length of the character that starts at text[at] (1 for a malformed one); at < text.size().
std::size_t Utf8_Char_Bytes(std::string_view text, std::size_t at);

// Headless: every character is Char_Width pixels wide, every line Height high with no leading. A
// character other than a blank paints one box of Char_Width - 1 by Height pixels in the colour.
class THeadless_Text : public TText_Backend {
public:
    struct TCall {
        std::string Text;
        int32_t X = 0, Y = 0;
        uint32_t Rgb = 0;
        int32_t Font = 0;
        TFont_Spec Spec; // of the font (the face "stock N" for stock fonts)
        const TSurface* Surface = nullptr;
    };

    bool Add_Font_File(const std::string& path) override;
    void Remove_Font_File(const std::string& path) override;
    int32_t Open_Font(const TFont_Spec& spec) override;
    int32_t Stock_Font(int32_t stock_object) override;
    void Close_Font(int32_t font) override { Fonts.erase(font); }
    TFont_Metrics Metrics(int32_t font) override;
    int32_t Measure(int32_t font, std::string_view utf8) override;
    void Draw(TSurface& surface, int32_t font, int32_t x, int32_t y, uint32_t rgb,
              std::string_view utf8) override;

    // Set by the test.
    int32_t Char_Width = 7;
    int32_t Height = 13;
    std::vector<std::string> Readable_Files; // the font files Add_Font_File accepts

    // Recorded.
    std::vector<TCall> Calls;
    std::vector<std::string> Added_Files;
    std::map<int32_t, TFont_Spec> Fonts; // open fonts by handle

private:
    int32_t Next_Font = 1;
};

// The backend in use; a headless one unless the program installed its own at start-up.
TText_Backend& Text_Backend();
void Install_Text_Backend(std::unique_ptr<TText_Backend> backend);

} // namespace plat
