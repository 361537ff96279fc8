// Text in the windows: a text page on a buffer, the style, colour and justification of what is drawn next,
// single strings, word-wrapped paragraphs and a scrolled list of paragraphs. Texts are UTF-8; where widths
// are built character by character, a character is a whole UTF-8 sequence.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

void Set_Font(int32_t style);
int32_t Get_Font();

// Text is drawn only between Begin_Text and End_Text on the same buffer.
void Begin_Text(int32_t buffer);
void End_Text(int32_t buffer);
void Set_Text_Color(int32_t red, int32_t green, int32_t blue);
void Set_Color_Index(uint32_t colour);
// Horizontal 2 centred, 3 right-aligned, else left-aligned; vertical 2 centred on y, 5 top at y, else bottom
// at y.
void Set_Text_Justify(int32_t horizontal, int32_t vertical);
void Draw_Text(int32_t x, int32_t y, const std::string& text);
// Draw_Text onto the buffer, whatever page is open: for pictures that carry their own text (a stack's
// quantity) and are drawn onto any buffer. The active buffer and the open page stay as they were.
void Draw_Text_On(int32_t buffer, int32_t x, int32_t y, const std::string& text);

// Draws the text word-wrapped in the box (x, y, width, at most max_height); returns the height used. A
// word wider than a line is split over as many lines as it needs.
int32_t Draw_Text_Wrapped(int32_t x, int32_t y, int32_t width, int32_t max_height, const std::string& text);
// Cuts word to its longest prefix, built character by character while the prefix's width + 8 is less
// than the available width; the characters not taken go back in front of rest.
void Split_Long_Word(std::string& word, std::string& rest, int32_t available);
// Draws the lines as paragraphs (two blanks of indent, a gap of two line steps between them), scrolled
// up by offset and shown in a window visible_height high; true when the end of the text was reached.
bool Draw_Text_Lines(int32_t x, int32_t y, int32_t width, int32_t offset,
                     const std::vector<std::string>& lines, int32_t visible_height);

// One string as it was drawn: the buffer, the position asked for, the style, the colour (0x00RRGGBB from
// Set_Text_Color, or the colour value given to Set_Color_Index), the justification codes as given, the text.
struct TText_Drawn {
    int32_t Buffer = 0;
    int32_t X = 0, Y = 0;
    int32_t Style = 0;
    uint32_t Colour = 0;
    int32_t Justify_H = 0, Justify_V = 0;
    std::string Text;
};
// Sees every string drawn (single strings and each line of wrapped ones); the headless driver records them,
// so screen tests assert on what the player reads. Empty stops.
using TText_Observer = std::function<void(const TText_Drawn&)>;
void Set_Text_Observer(TText_Observer observer);
