// Widgets and dialogs drawn on the headless graphics library: a program folder of the test's own with coded
// interface sheets (every sheet pixel its own colour, so a probe tells which cell was copied), the six text
// styles on the headless text raster (every character 8 pixels wide, lines 12 high), a recording sound
// sink and a manual clock.
#pragma once

#include "core/Clock.h"
#include "core/SoundSeam.h"
#include "media/DisplayFont.h"
#include "platform/TextBackend.h"
#include "tests/media/DisplayFixture.h"
#include "ui/DisplayClass.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

// One text as the raster got it: the style that drew it, its colour and its line box's top-left corner.
struct TShown_Text {
    std::string Text;
    int32_t X = 0, Y = 0;
    int32_t Style = 0;
    uint32_t Rgb = 0;
    bool operator==(const TShown_Text&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const TShown_Text& t) {
    return out << "\"" << t.Text << "\" at " << t.X << "," << t.Y << " style " << t.Style << " rgb "
               << std::hex << t.Rgb << std::dec;
}

class TUi_Test : public TDisplay_Test {
protected:
    static constexpr int32_t Char_Width = 8;
    static constexpr int32_t Line_Height = 12;

    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(32);
        Text->Char_Width = Char_Width;
        Text->Height = Line_Height;
        Load_External_Resources();
        Sounds = std::make_shared<TRecording_Sound_Sink>();
        Install_Sound_Sink(Sounds);
        Set_Manual_Clock(100000);
        TDisplay_Class::Reset_Display_Ids();
    }
    void TearDown() override {
        Use_System_Clock();
        Install_Sound_Sink(nullptr);
        Free_External_Resources();
        TDisplay_Test::TearDown();
    }

    // A display object with every interface sheet loaded from the coded pictures.
    TDisplay_Object& Loaded_Display() {
        Write_Coded_Interface();
        TDisplay_Object& display = Make_Display();
        display.Load_Interface_Bitmaps();
        return display;
    }

    // The texts drawn since the last look, blanks left out.
    std::vector<TShown_Text> Shown() {
        std::vector<TShown_Text> out;
        for (const auto& call : Text->Calls) {
            if (call.Text.find_first_not_of(' ') == std::string::npos) continue;
            int32_t style = 0;
            for (int32_t s = 1; s <= Text_Style_Count; ++s)
                if (const TFont_Object* font = Style_Font(s); font && font->Handle == call.Font) style = s;
            out.push_back({call.Text, call.X, call.Y, style, call.Rgb});
        }
        Text->Calls.clear();
        return out;
    }
    // The line-box corner of a text of n characters anchored at x, y: horizontally 1 left, 2 centred, 3
    // right; vertically 2 centred, 5 top, anything else bottom.
    static std::pair<int32_t, int32_t> Box(int32_t x, int32_t y, std::size_t n, int32_t h, int32_t v) {
        const int32_t w = static_cast<int32_t>(n) * Char_Width;
        const int32_t bx = h == 2 ? x - w / 2 : h == 3 ? x - w : x;
        const int32_t by = v == 2 ? y - Line_Height / 2 : v == 5 ? y : y - Line_Height;
        return {bx, by};
    }
    static TShown_Text At(const std::string& text, int32_t x, int32_t y, int32_t h, int32_t v, int32_t style,
                          uint32_t rgb) {
        const auto [bx, by] = Box(x, y, plat::Utf8_Length(text), h, v);
        return {text, bx, by, style, rgb};
    }
    std::vector<std::string> Played() {
        std::vector<std::string> names = Sounds->Names();
        Sounds->Played.clear();
        return names;
    }
    // The page pixel as 0xRRGGBB (the page is 32 bits).
    static uint32_t Page_Pixel(int32_t x, int32_t y) { return Raw(0, x, y) & 0xFFFFFF; }

    std::shared_ptr<TRecording_Sound_Sink> Sounds;
};
