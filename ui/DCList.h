// A scrolling list of text lines with a scroll button pair at its right edge. The page is as many lines as
// the height holds; the buttons move the first visible line by a page. A left click on a line selects it,
// sounds "item_sel.wav" and tells the owner the line (from 1). Lines may be word-wrapped within their
// height or drawn by the owner.
#pragma once

#include "core/SaveStream.h"
#include "ui/DCButton.h"

#include <cstdint>
#include <functional>
#include <string>

struct TRgb_Colour {
    int32_t Red = 0, Green = 0, Blue = 0;
};

using TList_Click_Handler = std::function<void(const std::string& name, int32_t line)>;
// Draws one line: name, line, page, text, selected, line height, width, top, left.
using TList_Draw_Handler =
    std::function<void(const std::string& name, int32_t line, int32_t page, const std::string& text,
                       bool selected, int32_t line_height, int32_t width, int32_t top, int32_t left)>;

class TDC_List : public TDisplay_Class {
public:
    TDC_List();

    // Named and placed, not modal.
    void Set_Position(const std::string& name, int32_t left, int32_t top, int32_t width, int32_t height);
    void Set_Background_Color(int32_t red, int32_t green, int32_t blue) { Background = {red, green, blue}; }
    void Add(const std::string& text);
    void Clear();
    int32_t Line_Count() const { return static_cast<int32_t>(Lines.size()); }
    // 1-based, 0 none; setting takes any number.
    int32_t Get_Selected_Index() const { return Selected_Line; }
    void Set_Selected_Index(int32_t line) { Selected_Line = line; }
    // Empty when nothing or no line is selected.
    std::string Get_Selected_Text() const;
    void Set_Top_Index(int32_t line);
    int32_t Get_Top_Index() const { return Top_Line; }

    // Lines a page holds, and the line count padded to whole pages (always one page more when the lines
    // fill whole pages).
    int32_t Page_Size() const;
    int32_t Padded_Count() const;

    void Kill_Child_Control(const std::string& name) override;
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y) override;
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside) override;
    void Handle_DrawPage(int32_t page) override;
    void Reposition() override;

    TRgb_Colour Background{0, 0, 0};
    TRgb_Colour Text_Colour{255, 255, 255};
    TRgb_Colour Selected_Colour{0, 255, 0};
    TRgb_Colour Hover_Colour{11, 31, 183};
    int32_t Hover_Line = 0; // 0 none
    int32_t Selected_Line = 0;
    int32_t Top_Line = 1;
    TString_List Lines;
    int32_t Line_Height = 16;
    int32_t Wrap_Width = 0; // 0: the width less 8
    TDC_Button Button_Up, Button_Down;
    TList_Click_Handler On_Click;
    TList_Draw_Handler On_Owner_Draw;
    bool Wrap = false;
    bool Show_Selection = true;
    bool Show_Hover = true;
    bool No_Background = false;

private:
    // A line height or top line below 1 counts as 1.
    int32_t Step() const { return Line_Height < 1 ? 1 : Line_Height; }
    int32_t First_Line() const { return Top_Line < 1 ? 1 : Top_Line; }
    // The line at page row y, or 0 when no line is there.
    int32_t Line_At(int32_t y) const;
    void Scroll(const std::string& button);
    void Refresh_Scroll_Buttons();
};
