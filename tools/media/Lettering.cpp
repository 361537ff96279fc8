#include "tools/media/Lettering.h"

#include <SDL_ttf.h>

#include <cmath>
#include <stdexcept>

namespace murk_media {

struct TLettering::TFace {
    TTF_Font* Font = nullptr;
    ~TFace() {
        if (Font) TTF_CloseFont(Font);
    }
};

TLettering::TLettering(const std::string& font_file) : File(font_file) {
    if (TTF_Init() != 0) // counted: every user starts and stops the renderer once
        throw std::runtime_error(std::string("cannot start the font renderer: ") + TTF_GetError());
    Face(12); // fail here, not in the middle of a picture
}

TLettering::~TLettering() {
    Faces.clear();
    TTF_Quit();
}

TLettering::TFace& TLettering::Face(int size) const {
    std::unique_ptr<TFace>& face = Faces[size];
    if (!face) {
        face = std::make_unique<TFace>();
        face->Font = TTF_OpenFont(File.c_str(), size);
        if (!face->Font) {
            Faces.erase(size);
            throw std::runtime_error("cannot open the font " + File + ": " + TTF_GetError());
        }
        TTF_SetFontHinting(face->Font, TTF_HINTING_LIGHT);
    }
    return *face;
}

int TLettering::Width(const std::string& text, int size) const {
    int w = 0, h = 0;
    if (text.empty() || TTF_SizeUTF8(Face(size).Font, text.c_str(), &w, &h) != 0) return 0;
    return w;
}

int TLettering::Line_Height(int size) const {
    return TTF_FontHeight(Face(size).Font);
}

void TLettering::Draw(TCanvas& canvas, double x, double y, const std::string& text, int size, TRgb ink,
                      TAlign align, TRgb shadow) const {
    if (text.empty()) return;
    TTF_Font* font = Face(size).Font;
    SDL_Surface* glyphs = TTF_RenderUTF8_Solid(font, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (!glyphs) throw std::runtime_error("cannot render \"" + text + "\": " + TTF_GetError());
    // The line box holds the ascent above the baseline and the descent below it; centring the box on y
    // puts capitals a little above y, as the eye expects of a centred label.
    int left = static_cast<int>(std::lround(x));
    if (align == TAlign::Centre) left -= glyphs->w / 2;
    if (align == TAlign::Right) left -= glyphs->w;
    const int top = static_cast<int>(std::lround(y)) - TTF_FontHeight(font) / 2;
    const bool shadowed = !(shadow.R == Key_Color.R && shadow.G == Key_Color.G && shadow.B == Key_Color.B);
    for (const int pass : {0, 1}) {
        if (pass == 0 && !shadowed) continue;
        for (int j = 0; j < glyphs->h; ++j) {
            const auto* row = static_cast<const uint8_t*>(glyphs->pixels) + j * glyphs->pitch;
            for (int i = 0; i < glyphs->w; ++i)
                if (row[i] != 0) canvas.Set(left + i + (1 - pass), top + j + (1 - pass), pass ? ink : shadow);
        }
    }
    SDL_FreeSurface(glyphs);
}

const TLettering& Picture_Lettering() {
    static const TLettering lettering(MURK_MEDIA_FONT_FILE);
    return lettering;
}

} // namespace murk_media
