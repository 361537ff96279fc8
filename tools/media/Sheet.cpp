#include "tools/media/Sheet.h"

#include <algorithm>
#include <cstdint>

namespace murk_media {

namespace {

constexpr int Sheet_Width = 1800, Margin = 8, Label_Size = 10, Heading_Size = 16;
constexpr TRgb Paper{38, 42, 50}, Label_Ink{210, 210, 200}, Heading_Ink{240, 200, 110};

std::string Folder_Of(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string Stem_Of(const std::string& path) {
    const size_t slash = path.rfind('/');
    std::string stem = slash == std::string::npos ? path : path.substr(slash + 1);
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos) stem.erase(dot);
    return stem;
}

// A name too wide for its picture is broken at the underscore nearest its middle.
std::vector<std::string> Label_Lines(const std::string& name, int room, const TLettering& lettering) {
    if (lettering.Width(name, Label_Size) <= room) return {name};
    size_t best = std::string::npos;
    for (size_t at = name.find('_'); at != std::string::npos; at = name.find('_', at + 1))
        if (best == std::string::npos ||
            std::abs(int(at) * 2 - int(name.size())) < std::abs(int(best) * 2 - int(name.size())))
            best = at;
    if (best == std::string::npos) return {name};
    return {name.substr(0, best + 1), name.substr(best + 1)};
}

bool Transparent(TRgb c) {
    return (c.R == Key_Color.R && c.G == Key_Color.G && c.B == Key_Color.B) || (c.R | c.G | c.B) == 0;
}

struct TCell {
    const TNamed_Picture* Source;
    int Scale, Width, Height;
    std::vector<std::string> Label;
};

} // namespace

TCanvas Contact_Sheet(const std::vector<TNamed_Picture>& pictures, const TLettering& lettering) {
    const int line = lettering.Line_Height(Label_Size), heading = lettering.Line_Height(Heading_Size) + 6;
    // Lay the cells out in rows, a heading before each folder; first measure, then draw.
    struct TPlaced {
        TCell Cell;
        int X, Y;
    };
    std::vector<TPlaced> placed;
    std::vector<std::pair<std::string, int>> headings;
    int x = Margin, y = Margin, row_height = 0;
    std::string folder = "\x01";
    for (const TNamed_Picture& p : pictures) {
        TCell cell{&p, std::max(p.Picture.Width(), p.Picture.Height()) <= 160 ? 2 : 1, 0, 0, {}};
        const int w = p.Picture.Width() * cell.Scale, h = p.Picture.Height() * cell.Scale;
        cell.Label = Label_Lines(Stem_Of(p.Path), std::max(w, 120), lettering);
        int label_width = 0;
        for (const std::string& text : cell.Label)
            label_width = std::max(label_width, lettering.Width(text, Label_Size));
        cell.Width = std::max(w, label_width) + Margin;
        cell.Height = h + int(cell.Label.size()) * line + Margin;
        if (Folder_Of(p.Path) != folder) {
            folder = Folder_Of(p.Path);
            y += row_height;
            headings.emplace_back(folder, y);
            x = Margin, y += heading, row_height = 0;
        }
        if (x + cell.Width > Sheet_Width - Margin && x > Margin) x = Margin, y += row_height, row_height = 0;
        placed.push_back({cell, x, y});
        x += cell.Width, row_height = std::max(row_height, cell.Height);
    }
    TCanvas sheet(Sheet_Width, y + row_height + Margin);
    sheet.Fill_Rect(0, 0, sheet.Width(), sheet.Height(), Paper);
    for (const auto& [name, top] : headings)
        lettering.Draw(sheet, Margin, top + heading / 2.0, name, Heading_Size, Heading_Ink);
    for (const TPlaced& p : placed) {
        const TCanvas& picture = p.Cell.Source->Picture;
        const int s = p.Cell.Scale;
        for (int j = 0; j < picture.Height() * s; ++j)
            for (int i = 0; i < picture.Width() * s; ++i) {
                const TRgb c = picture.Get(i / s, j / s);
                const bool light = ((p.X + i) / 6 + (p.Y + j) / 6) % 2 == 0;
                sheet.Set(p.X + i, p.Y + j,
                          Transparent(c) ? (light ? TRgb{96, 96, 100} : TRgb{72, 72, 76}) : c);
            }
        for (size_t k = 0; k < p.Cell.Label.size(); ++k)
            lettering.Draw(sheet, p.X, p.Y + picture.Height() * s + line * (k + 0.5) + 1, p.Cell.Label[k],
                           Label_Size, Label_Ink);
    }
    return sheet;
}

} // namespace murk_media
