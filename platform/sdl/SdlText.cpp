// The text raster over SDL2_ttf. Faces are found among the font files the program offered (by the family
// name inside each file), then through fontconfig, then among narrow stand-ins with the Cyrillic letters
// every text of the game needs (the screens are laid out for a narrow face; a wide one runs out of its
// boxes), DejaVu Sans last. Sizes in points become pixels at 96 dots per inch. Text is rendered blended and
// mixed into the surface at its depth.
#include "platform/sdl/SdlBackends.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <utility>

namespace plat {

namespace {

constexpr const char* Fallback_Face = "DejaVu Sans";
// Tried in this order for a face the machine lacks.
constexpr const char* Stand_In_Faces[] = {"Liberation Sans Narrow", "DejaVu Sans Condensed", Fallback_Face};
constexpr const char* Fixed_Face = "DejaVu Sans Mono";
constexpr const char* Fallback_File = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The file of the system's font of exactly that family, through fontconfig.
std::optional<std::string> System_Font_File(const std::string& family, bool bold, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<std::string> file;
    FcChar8* found_family = nullptr;
    FcChar8* found_file = nullptr;
    // fontconfig always answers with something; only the family asked for counts as found.
    if (FcPatternGetString(match, FC_FAMILY, 0, &found_family) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &found_file) == FcResultMatch &&
        Lower(reinterpret_cast<const char*>(found_family)) == Lower(family))
        file = reinterpret_cast<const char*>(found_file);
    FcPatternDestroy(match);
    return file;
}

class TSdl_Text : public TText_Backend {
public:
    ~TSdl_Text() override {
        for (auto& [key, font] : Opened) TTF_CloseFont(font);
        TTF_Quit();
        FcFini();
    }

    bool Add_Font_File(const std::string& path) override {
        TTF_Font* font = TTF_OpenFont(path.c_str(), 12);
        if (!font) return false;
        TFace face;
        face.Path = path;
        if (const char* family = TTF_FontFaceFamilyName(font)) face.Family = Lower(family);
        if (const char* style = TTF_FontFaceStyleName(font)) {
            const std::string s = Lower(style);
            face.Bold = s.find("bold") != std::string::npos;
            face.Italic = s.find("italic") != std::string::npos || s.find("oblique") != std::string::npos;
        }
        TTF_CloseFont(font);
        Faces.push_back(face);
        return true;
    }

    void Remove_Font_File(const std::string& path) override {
        std::erase_if(Faces, [&](const TFace& f) { return f.Path == path; });
    }

    int32_t Open_Font(const TFont_Spec& spec) override {
        const int32_t pixels = std::max(1, Points_To_Pixels(spec.Points));
        TTF_Font* font = Open_File(Face_File(spec), pixels);
        if (!font) font = Open_File(Fallback_File, pixels);
        if (!font) return 0;
        Handles[Next_Handle] = font;
        return Next_Handle++;
    }

    int32_t Stock_Font(int32_t stock_object) override {
        if (auto it = Stock.find(stock_object); it != Stock.end()) return it->second;
        const bool fixed = stock_object == Stock_Oem_Fixed_Font || stock_object == Stock_Ansi_Fixed_Font ||
                           stock_object == Stock_System_Fixed_Font;
        TFont_Spec spec;
        spec.Face = fixed ? Fixed_Face : Fallback_Face;
        spec.Points = fixed ? 9 : 8;
        return Stock[stock_object] = Open_Font(spec);
    }

    void Close_Font(int32_t font) override {
        for (const auto& [number, handle] : Stock)
            if (handle == font) return; // stock fonts live as long as the backend
        Handles.erase(font);
    }

    TFont_Metrics Metrics(int32_t handle) override {
        TFont_Metrics m;
        TTF_Font* font = Find(handle);
        if (!font) return m;
        // Some faces draw accents and descenders outside their ascent and descent: the height is that of
        // the rendered line of such letters when it is taller, so text stays inside the box it is given.
        int probe_w = 0, probe_h = 0;
        TTF_SizeUTF8(font, "\u0419\u0401\u00c9gjpqy\u0443\u0444|", &probe_w, &probe_h);
        m.Height = std::max({1, TTF_FontHeight(font), probe_h});
        m.External_Leading = std::max(0, TTF_FontLineSkip(font) - m.Height);
        int advance = 0;
        if (TTF_GlyphMetrics32(font, 'x', nullptr, nullptr, nullptr, nullptr, &advance) == 0)
            m.Average_Width = advance;
        return m;
    }

    int32_t Measure(int32_t handle, std::string_view utf8) override {
        TTF_Font* font = Find(handle);
        if (!font || utf8.empty()) return 0;
        int w = 0, h = 0;
        return TTF_SizeUTF8(font, std::string(utf8).c_str(), &w, &h) == 0 ? w : 0;
    }

    void Draw(TSurface& surface, int32_t handle, int32_t x, int32_t y, uint32_t rgb,
              std::string_view utf8) override {
        TTF_Font* font = Find(handle);
        if (!font || utf8.empty()) return;
        const SDL_Color colour{static_cast<Uint8>(rgb >> 16), static_cast<Uint8>(rgb >> 8),
                               static_cast<Uint8>(rgb), 255};
        SDL_Surface* text = TTF_RenderUTF8_Blended(font, std::string(utf8).c_str(), colour);
        if (!text) return;
        if (SDL_LockSurface(text) == 0) {
            Blend(surface, *text, x, y, {colour.r, colour.g, colour.b});
            SDL_UnlockSurface(text);
        }
        SDL_FreeSurface(text);
    }

private:
    struct TFace {
        std::string Path, Family;
        bool Bold = false, Italic = false;
    };

    // A face the program offered, by family and then by style; else the system's; else a stand-in.
    std::string Face_File(const TFont_Spec& spec) {
        const std::string family = Lower(spec.Face);
        const TFace* best = nullptr;
        for (const TFace& face : Faces) {
            if (face.Family != family) continue;
            if (!best || (face.Bold == spec.Bold && face.Italic == spec.Italic)) best = &face;
        }
        if (best) return best->Path;
        if (auto file = System_Font_File(spec.Face, spec.Bold, spec.Italic)) return *file;
        for (const char* stand_in : Stand_In_Faces)
            if (auto file = System_Font_File(stand_in, spec.Bold, spec.Italic)) return *file;
        return Fallback_File;
    }

    TTF_Font* Open_File(const std::string& path, int32_t pixels) {
        const auto key = std::make_pair(path, pixels);
        if (auto it = Opened.find(key); it != Opened.end()) return it->second;
        TTF_Font* font = TTF_OpenFont(path.c_str(), pixels);
        if (font) Opened[key] = font;
        return font;
    }

    TTF_Font* Find(int32_t handle) const {
        auto it = Handles.find(handle);
        return it == Handles.end() ? nullptr : it->second;
    }

    // The rendered line's coverage mixes the colour into what the surface holds.
    static void Blend(TSurface& surface, SDL_Surface& text, int32_t x, int32_t y, TRgb8 colour) {
        const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
        const int64_t x1 = std::min<int64_t>(int64_t{x} + text.w, surface.Width);
        const int64_t y1 = std::min<int64_t>(int64_t{y} + text.h, surface.Height);
        const SDL_PixelFormat* format = text.format;
        for (int64_t py = y0; py < y1; ++py) {
            const auto* row = static_cast<const Uint8*>(text.pixels) + (py - y) * text.pitch;
            for (int64_t px = x0; px < x1; ++px) {
                const Uint32 pixel = reinterpret_cast<const Uint32*>(row)[px - x];
                const uint32_t a = (pixel & format->Amask) >> format->Ashift;
                if (a == 0) continue;
                const auto X = static_cast<int32_t>(px), Y = static_cast<int32_t>(py);
                if (a == 255) {
                    Put_Rgb(surface, X, Y, colour);
                    continue;
                }
                const TRgb8 under = Pixel_Rgb(surface, X, Y);
                auto mix = [a](uint8_t over, uint8_t below) {
                    return static_cast<uint8_t>((over * a + below * (255 - a) + 127) / 255);
                };
                Put_Rgb(surface, X, Y,
                        {mix(colour.R, under.R), mix(colour.G, under.G), mix(colour.B, under.B)});
            }
        }
    }

    std::vector<TFace> Faces;
    std::map<std::pair<std::string, int32_t>, TTF_Font*> Opened; // shared by every handle of that size
    std::map<int32_t, TTF_Font*> Handles;
    std::map<int32_t, int32_t> Stock;
    int32_t Next_Handle = 1;
};

} // namespace

std::unique_ptr<TText_Backend> Make_Sdl_Text() {
    if (TTF_Init() != 0) return nullptr;
    if (!FcInit()) {
        TTF_Quit();
        return nullptr;
    }
    return std::make_unique<TSdl_Text>();
}

} // namespace plat
