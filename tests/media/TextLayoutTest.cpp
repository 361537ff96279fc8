// Where text lands: justification, the position after drawing, the six styles, word wrapping with long
// words split by characters, and scrolled paragraphs; measured with the headless font (every character
// Char_Width pixels, lines 13 high).
#include "tests/media/GfxFixture.h"
#include "tests/support/TempFolder.h"

#include "core/GlobalFuncs.h"
#include "media/DisplayFont.h"
#include "media/DisplayGxFont.h"

#include <set>
#include <string>
#include <vector>

namespace {

struct TDrawn {
    std::string Text;
    int32_t X, Y;
    bool operator==(const TDrawn&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TDrawn& d) {
    return out << "\"" << d.Text << "\" at " << d.X << "," << d.Y;
}

class TText_Layout : public TGfx_Test {
protected:
    void SetUp() override {
        TGfx_Test::SetUp();
        Start(32);
        Set_Base_Folder(Folder.Path());
        Load_External_Resources();
        Page = gx_vballoc(400, 300);
        Begin_Text(Page);
        Set_Font(1);
        Set_Text_Color(255, 255, 255);
    }
    void TearDown() override {
        End_Text(Page);
        Free_External_Resources();
        TGfx_Test::TearDown();
    }
    // What was drawn, blanks left out.
    std::vector<TDrawn> Drawn() const {
        std::vector<TDrawn> out;
        for (const auto& call : Text->Calls)
            if (call.Text.find_first_not_of(' ') != std::string::npos)
                out.push_back({call.Text, call.X, call.Y});
        return out;
    }
    TTemp_Folder Folder;
    int32_t Page = 0;
};

TEST_F(TText_Layout, JustificationMovesTheLineBoxAndThePosition) {
    Text->Char_Width = 8;
    struct TCase {
        int32_t H, V;
        int32_t X, Y;  // where the five characters (40 px) are drawn from (100, 50)
        int32_t After; // the position's X afterwards
    } cases[] = {
        {0, -1, 80, 37, 120},  {-1, -1, 100, 37, 140}, {1, -1, 60, 37, 100},
        {-1, 0, 100, 43, 140}, {-1, 1, 100, 50, 140},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.H << "," << c.V);
        Text->Calls.clear();
        Gx_Set_Justify(c.H, c.V);
        Gx_Move_To(100, 50);
        Gx_Draw_Text("abcde");
        EXPECT_EQ(Drawn(), (std::vector<TDrawn>{{"abcde", c.X, c.Y}}));
        EXPECT_EQ(Gx_Get_X(), c.After);
    }
    // The adjusted Y stays: a second string without a move goes one line box higher again.
    Gx_Set_Justify(-1, -1);
    Gx_Move_To(395, 50);
    Text->Calls.clear();
    Gx_Draw_Text("ab");
    EXPECT_EQ(Gx_Get_X(), 400); // limited to the buffer's width
    Gx_Draw_Text("c");
    EXPECT_EQ(Drawn(), (std::vector<TDrawn>{{"ab", 395, 37}, {"c", 400, 24}}));
}

TEST_F(TText_Layout, JustifyCodesAndTheirDefaults) {
    struct TCase {
        int32_t H, V, X, Y;
    } cases[] = {{2, 2, 83, 43}, {1, 5, 100, 50}, {3, 4, 65, 37}, {0, 7, 100, 37}, {4, 3, 100, 37}};
    for (const TCase& c : cases) {
        Text->Calls.clear();
        Set_Text_Justify(c.H, c.V);
        Draw_Text(100, 50, "abcde"); // 35 px
        EXPECT_EQ(Drawn(), (std::vector<TDrawn>{{"abcde", c.X, c.Y}})) << c.H << "," << c.V;
    }
}

TEST_F(TText_Layout, StylesAreTheSixFontsAndFontFilesComeFromTheProgramFolder) {
    EXPECT_EQ(Text->Added_Files,
              (std::vector<std::string>{Folder.File("Fonts/goudos.ttf"), Folder.File("Fonts/goudosb.ttf"),
                                        Folder.File("Fonts/goudosi.ttf")}));
    const int32_t points[] = {10, 9, 12, 18, 16, 12};
    for (int32_t style = 1; style <= 6; ++style) {
        Set_Font(style);
        EXPECT_EQ(Get_Font(), style);
        Draw_Text(0, 100, "x");
        EXPECT_EQ(Text->Calls.back().Spec,
                  (plat::TFont_Spec{"GOST 2.304 Bold", points[style - 1], false, false}));
    }
    TFont_Object font;
    font.Colour = 0x00FF0000;
    for (int32_t style : {0, 7}) Set_Font_Style(style, font); // no such styles: nothing changes
    EXPECT_EQ(font.Handle, 0);
    EXPECT_EQ(font.Colour, 0x00FF0000u);
    Set_Font_Style(1, font);
    const int32_t first = font.Handle;
    EXPECT_EQ(font.Colour, 0u);
    EXPECT_EQ(Text->Fonts.at(first).Points, 10);
    Set_Font_Style(1, font); // the same style keeps its font
    EXPECT_EQ(font.Handle, first);
    Set_Font_Style(4, font); // another one replaces it
    EXPECT_EQ(Text->Fonts.count(first), 0u);
    EXPECT_EQ(Text->Fonts.at(font.Handle).Points, 18);
    Text->Close_Font(font.Handle);

    Set_Font(7); // no such style: the font stays
    Draw_Text(0, 100, "x");
    EXPECT_EQ(Text->Calls.back().Spec.Points, 12);
    EXPECT_EQ(Get_Font(), 7);
    EXPECT_EQ(Style_Font(0), nullptr);
    EXPECT_EQ(Style_Font(7), nullptr);
    const int32_t style_font = Style_Font(1)->Handle;
    Free_External_Resources(); // the six fonts are closed; only stock fonts stay open
    EXPECT_EQ(Text->Fonts.count(style_font), 0u);
    for (const auto& [handle, spec] : Text->Fonts) EXPECT_EQ(spec.Face.rfind("stock", 0), 0u) << spec.Face;
    Load_External_Resources();
}

TEST_F(TText_Layout, WrappedTextSplitsLongWordsAndGoesOn) {
    struct TCase {
        const char* Name;
        int32_t Width, Max_Height;
        std::string Text;
        int32_t Result;
        std::vector<TDrawn> Drawn; // line k (from 1) has its bottom at 20 + 13 k
    } cases[] = {
        {"one line", 200, 100, "one two six", 13, {{"one ", 10, 20}, {"two ", 38, 20}, {"six", 66, 20}}},
        {"word too wide",
         50,
         100,
         "abcdefghijklmnop",
         39,
         {{"abcdef", 10, 20}, {"ghijkl", 10, 33}, {"mnop", 10, 46}}},
        {"long word after a short one",
         50,
         100,
         "ab abcdefghijklmnop end",
         65,
         {{"ab ", 10, 20}, {"abcdef", 10, 33}, {"ghijkl", 10, 46}, {"mnop ", 10, 59}, {"end", 10, 72}}},
        {"word ending at the edge", 28, 100, "abc abc", 26, {{"abc ", 10, 20}, {"abc", 10, 33}}},
        {"a word that fits its new line stays whole",
         28,
         100,
         "ab abcd",
         26,
         {{"ab ", 10, 20}, {"abcd", 10, 33}}},
        {"a box ending four pixels above the line", 200, -4, "abc", 13, {{"abc", 10, 20}}},
        {"a box ending five pixels above the line", 200, -5, "abc", 13, {}},
        {"a box too narrow for a character", 5, 40, "abc", 52, {}},
        {"below the maximum height", 30, 13, "aaa bbb ccc", 26, {{"aaa ", 10, 20}, {"bbb ", 10, 33}}},
        {"characters, not bytes",
         50,
         100,
         "Приветствую всех",
         39,
         {{"Привет", 10, 20}, {"ствую ", 10, 33}, {"всех", 10, 46}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Text->Calls.clear();
        EXPECT_EQ(Draw_Text_Wrapped(10, 20, c.Width, c.Max_Height, c.Text), c.Result);
        EXPECT_EQ(Drawn(), c.Drawn);
    }
}

TEST_F(TText_Layout, SplitLongWordKeepsEightPixelsSpare) {
    struct TCase {
        std::string Word;
        int32_t Available;
        std::string Taken, Rest;
    } cases[] = {
        {"abcdefgh", 50, "abcdef", "gh|"},
        {"abcdefgh", 51, "abcdefg", "h|"},
        {"abc", 8, "", "abc|"},
        {"abc", 9, "a", "bc|"},
        {"ёжик", 16, "ёж", "ик|"},
        {"ab", 100, "ab", "|"},
    };
    for (const TCase& c : cases) {
        std::string word = c.Word, rest = "|";
        Split_Long_Word(word, rest, c.Available);
        EXPECT_EQ(word, c.Taken) << c.Word << " in " << c.Available;
        EXPECT_EQ(rest, c.Rest) << c.Word << " in " << c.Available;
    }
}

TEST_F(TText_Layout, LinesAreIndentedParagraphsScrolledInAWindow) {
    // Line step 11; the first bottom at y + 15; paragraphs two steps apart; each starts with two blanks.
    Text->Calls.clear();
    EXPECT_TRUE(Draw_Text_Lines(10, 20, 200, 0, {"ab", "cd ef"}, 100));
    EXPECT_EQ(Drawn(), (std::vector<TDrawn>{{"ab ", 24, 22}, {"cd ", 24, 44}, {"ef ", 45, 44}}));

    Text->Calls.clear();
    EXPECT_TRUE(Draw_Text_Lines(10, 20, 200, 1000, {"ab", "cd"}, 100)); // scrolled past the end
    EXPECT_TRUE(Drawn().empty());

    Text->Calls.clear();
    EXPECT_TRUE(Draw_Text_Lines(10, 20, 30, 0, {"abcdefghij xy"}, 100)); // too wide: skipped, never split
    EXPECT_EQ(Drawn(), (std::vector<TDrawn>{{"xy ", 10, 44}}));          // two line steps down

    Text->Calls.clear();
    EXPECT_TRUE(Draw_Text_Lines(10, 20, 42, 0, {"abc"}, 100)); // ends exactly at the box's edge
    EXPECT_EQ(Drawn(), (std::vector<TDrawn>{{"abc ", 24, 22}}));

    Text->Calls.clear();
    EXPECT_TRUE(Draw_Text_Lines(10, 20, 200, 0, {}, 100));
    EXPECT_TRUE(Text->Calls.empty());

    // Scrolled by one paragraph: the first is above the window, the second moves up to where it was.
    Text->Calls.clear();
    EXPECT_TRUE(Draw_Text_Lines(10, 20, 200, 22, {"ab", "cd"}, 100));
    EXPECT_EQ(Drawn(), (std::vector<TDrawn>{{"cd ", 24, 22}}));

    Text->Calls.clear();
    const std::vector<std::string> many(20, "long line of text");
    EXPECT_FALSE(Draw_Text_Lines(10, 20, 200, 0, many, 50));
    // Paragraphs end at 35, 57, 79, 101: a line shows while its bottom - 15 is within the window (to 70).
    std::set<int32_t> tops;
    for (const TDrawn& d : Drawn()) tops.insert(d.Y);
    EXPECT_EQ(tops, (std::set<int32_t>{22, 44, 66}));
}

TEST_F(TText_Layout, NoTextWithoutAnOpenPage) {
    End_Text(Page);
    gx_vbopen(300); // fails: nothing active
    Text->Calls.clear();
    Gx_Move_To(10, 10);
    Draw_Text(10, 30, "abc");
    EXPECT_TRUE(Text->Calls.empty());
    EXPECT_EQ(Gx_Get_X(), 10);
    Begin_Text(300); // a failed page draws nowhere either
    Draw_Text(10, 30, "abc");
    EXPECT_TRUE(Text->Calls.empty());
    Begin_Text(Page);
}

} // namespace
