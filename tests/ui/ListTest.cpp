// The scrolling list: pages and the scroll buttons, which clicks select a line, the hover line, and what
// is drawn for short, long, wrapped and owner-drawn lists.
#include "tests/ui/UiFixture.h"
#include "ui/DCList.h"

namespace {

class List : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        Root.Set_Position("Root", 0, 0, 800, 600, false);
        Root.Set_Visible(true);
    }
    // A list of n lines "Line 1".."Line n" at 100, 100, 200 wide, line height 16, added to the root.
    TDC_List& Make(int32_t n, int32_t height) {
        Lists.push_back(std::make_unique<TDC_List>());
        TDC_List& list = *Lists.back();
        list.Set_Position("Module List", 100, 100, 200, height);
        list.Set_Visible(true);
        for (int32_t k = 1; k <= n; ++k) list.Add("Line " + std::to_string(k));
        list.On_Click = [this](const std::string& name, int32_t line) {
            Clicks.push_back(name + " " + std::to_string(line));
        };
        Root.Add_Child_Control(&list);
        return list;
    }
    void Click(int32_t button, int32_t x, int32_t y) {
        Root.MouseDown(button, 0, x, y);
        Root.MouseUp(button, 0, x, y, false);
    }
    // The lines drawn, without the scroll buttons.
    std::vector<std::string> Drawn_Lines() {
        std::vector<std::string> lines;
        for (const TShown_Text& t : Shown()) lines.push_back(t.Text);
        return lines;
    }

    TDisplay_Class Root;
    std::vector<std::unique_ptr<TDC_List>> Lists;
    std::vector<std::string> Clicks;
};

TEST_F(List, PagesPadTheCountAndTheScrollButtonsStepAPageAtATime) {
    struct TCase {
        int32_t Lines, Height;
        int32_t Page, Padded;
    } sizes[] = {
        {10, 64, 4, 12}, {8, 64, 4, 12}, {0, 64, 4, 4}, {10, 15, 0, 0}, {3, 224, 14, 14},
    };
    for (const TCase& t : sizes) {
        SCOPED_TRACE(testing::Message() << t.Lines << " lines, " << t.Height << " high");
        TDC_List& list = Make(t.Lines, t.Height);
        EXPECT_EQ(list.Page_Size(), t.Page);
        EXPECT_EQ(list.Padded_Count(), t.Padded);
    }

    // Ten lines, four to a page: 1 -> 5 -> 9, where "Button Down" is disabled; back up to 1.
    Lists.clear();
    TDC_List& list = Make(10, 64);
    EXPECT_EQ(list.Button_Up.Left, 280);
    EXPECT_EQ(list.Button_Up.Top, 102);
    EXPECT_EQ(list.Button_Down.Top, 134);
    const int32_t down_x = 290, down_y = 140, up_x = 290, up_y = 110;
    struct TStep {
        bool Down;
        int32_t Top;
        bool Up_Enabled, Down_Enabled;
    } steps[] = {
        {true, 5, true, true},  {true, 9, true, false},  {true, 9, true, false},
        {false, 5, true, true}, {false, 1, false, true}, {false, 1, false, true},
    };
    EXPECT_FALSE(list.Button_Up.Enabled);
    EXPECT_TRUE(list.Button_Down.Enabled);
    for (const TStep& s : steps) {
        Click(0, s.Down ? down_x : up_x, s.Down ? down_y : up_y);
        EXPECT_EQ(list.Get_Top_Index(), s.Top);
        EXPECT_EQ(list.Button_Up.Enabled, s.Up_Enabled);
        EXPECT_EQ(list.Button_Down.Enabled, s.Down_Enabled);
    }
    // The scroll buttons select nothing below them.
    EXPECT_EQ(list.Get_Selected_Index(), 0);
    EXPECT_TRUE(Clicks.empty());
    // A top line set beyond the padded pages is brought back by the next step down.
    list.Set_Top_Index(11);
    EXPECT_FALSE(list.Button_Down.Enabled);
    list.Button_Down.On_Click("Button Down");
    EXPECT_EQ(list.Get_Top_Index(), 9);
}

TEST_F(List, OnlyALeftReleaseOnALineUnderNoBoxSelectsIt) {
    struct TCase {
        const char* What;
        int32_t Button, Y;
        int32_t Top_Line;
        bool Boxed, Hidden, Disabled;
        int32_t Selected; // 0: nothing selected, no sound, no handler
    } cases[] = {
        {"the first line", 0, 100, 1, false, false, false, 1},
        {"the third line's last row", 0, 147, 1, false, false, false, 3},
        {"scrolled by a page", 0, 120, 5, false, false, false, 6},
        {"below the last line", 0, 160, 1, false, false, false, 0},
        {"the right button", 1, 100, 1, false, false, false, 0},
        {"under a modal message box", 0, 100, 1, true, false, false, 0},
        {"a hidden list", 0, 100, 1, false, true, false, 0},
        {"a disabled list", 0, 100, 1, false, false, true, 0},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Lists.clear();
        TDC_List& list = Make(t.Top_Line > 1 ? 10 : 3, 64);
        list.Set_Top_Index(t.Top_Line);
        list.Visible = !t.Hidden;
        list.Enabled = !t.Disabled;
        // The box is added to the same parent after the list, as the game screen opens its messages.
        TDisplay_Class box;
        if (t.Boxed) {
            box.Set_Position("Message Dlg", 90, 90, 100, 50, true);
            box.Set_Visible(true);
            Root.Add_Child_Control(&box);
        }
        Click(t.Button, 150, t.Y);
        EXPECT_EQ(list.Get_Selected_Index(), t.Selected);
        EXPECT_EQ(Played(),
                  t.Selected ? std::vector<std::string>{"item_sel.wav"} : std::vector<std::string>{});
        EXPECT_EQ(Clicks, t.Selected ? std::vector<std::string>{"Module List " + std::to_string(t.Selected)}
                                     : std::vector<std::string>{});
        EXPECT_EQ(list.Get_Selected_Text(), t.Selected ? "Line " + std::to_string(t.Selected) : "");
        Clicks.clear();
        if (t.Boxed) Root.Remove_Child_Control(&box);
    }
}

TEST_F(List, SelectionTakesAnyNumberButTextOnlyForALine) {
    TDC_List& list = Make(3, 64);
    for (const int32_t line : {0, 4, -1, 3}) {
        list.Set_Selected_Index(line);
        EXPECT_EQ(list.Get_Selected_Index(), line);
        EXPECT_EQ(list.Get_Selected_Text(), line == 3 ? "Line 3" : "");
    }
    list.Clear();
    EXPECT_EQ(list.Line_Count(), 0);
    EXPECT_EQ(list.Get_Selected_Text(), "");
}

TEST_F(List, TheHoverLineIsALineUnderThePointerOrNone) {
    TDC_List& list = Make(5, 64);
    struct TCase {
        int32_t Y, Top_Line, Hover;
    } cases[] = {{100, 1, 1}, {131, 1, 2}, {132, 1, 3}, {164, 1, 5}, {120, 3, 4}, {150, 4, 0}};
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Y);
        list.Set_Top_Index(t.Top_Line);
        Root.MouseMove(0, 150, t.Y);
        EXPECT_EQ(list.Hover_Line, t.Hover);
    }
}

TEST_F(List, OnlyLinesThatExistAreDrawnWhileTheyFit) {
    struct TCase {
        const char* What;
        int32_t Lines, Height, Top_Line, Line_Height;
        std::vector<std::string> Drawn;
    } cases[] = {
        {"3 lines in a 14-line box", 3, 224, 1, 16, {"Line 1", "Line 2", "Line 3"}},
        // Baselines stand 4 below their rows: the fourth, at 100 + 16 + 4 + 48 = 168, is below the box.
        {"a full page", 10, 64, 1, 16, {"Line 1", "Line 2", "Line 3"}},
        {"the last page", 10, 64, 9, 16, {"Line 9", "Line 10"}},
        {"a top line below 1", 10, 64, -3, 16, {"Line 1", "Line 2", "Line 3"}},
        {"a line height of 0", 2, 64, 1, 0, {"Line 1", "Line 2"}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Lists.clear();
        TDC_List& list = Make(t.Lines, t.Height);
        list.Line_Height = t.Line_Height;
        list.Set_Top_Index(t.Top_Line);
        Shown();
        list.Draw(0);
        EXPECT_EQ(Drawn_Lines(), t.Drawn);
    }
}

TEST_F(List, LinesStandOnTheirBaselinesInTheirColours) {
    TDC_List& list = Make(3, 64);
    list.Set_Selected_Index(2);
    Shown();
    list.Draw(0);
    EXPECT_EQ(Shown(), std::vector<TShown_Text>({At("Line 1", 104, 120, 1, 4, 1, 0xFFFFFF),
                                                 At("Line 2", 104, 136, 1, 4, 1, 0x00FF00),
                                                 At("Line 3", 104, 152, 1, 4, 1, 0xFFFFFF)}));
    list.Show_Selection = false;
    list.Draw(0);
    EXPECT_EQ(Shown()[1].Rgb, 0xFFFFFFu);
}

TEST_F(List, TheBackgroundAndTheHoverBarFillTheirRows) {
    TDC_List& list = Make(3, 64);
    list.Set_Background_Color(55, 55, 55);
    struct TCase {
        const char* What;
        bool Over, Show_Hover, No_Background;
        uint32_t Row2, Row1; // pixels in line 2's band and in line 1's
    } cases[] = {
        {"hovering line 2", true, true, false, 0x0B1FB7, 0x373737},
        {"the hover bar off", true, false, false, 0x373737, 0x373737},
        {"the pointer elsewhere", false, true, false, 0x373737, 0x373737},
        {"no background", false, true, true, 0, 0},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Root.MouseMove(0, t.Over ? 150 : 500, 120);
        list.Show_Hover = t.Show_Hover;
        list.No_Background = t.No_Background;
        Clear_Page();
        list.Draw(0);
        EXPECT_EQ(Page_Pixel(101, 116), t.Row2);
        EXPECT_EQ(Page_Pixel(101, 131), t.Row2);
        EXPECT_EQ(Page_Pixel(101, 115), t.Row1);
        // Nothing outside the list's rectangle.
        EXPECT_EQ(Page_Pixel(300, 120), 0u);
        EXPECT_EQ(Page_Pixel(150, 164), 0u);
    }
}

TEST_F(List, WrappedAndOwnerDrawnLinesGetTheirBands) {
    TDC_List& list = Make(2, 64);
    list.Lines[0] = "one two three four";
    list.Wrap = true;
    list.Line_Height = 32;
    list.Wrap_Width = 80; // ten characters
    Shown();
    list.Draw(0);
    // Wrapped from the band's top (100), each word on the lines of the band.
    const std::vector<TShown_Text> shown = Shown();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[0].Text, "one ");
    EXPECT_EQ(shown[0].Y, 100);
    EXPECT_EQ(shown[0].X, 104);

    std::vector<std::string> calls;
    list.On_Owner_Draw = [&](const std::string& name, int32_t line, int32_t page, const std::string& text,
                             bool selected, int32_t h, int32_t width, int32_t top, int32_t left) {
        calls.push_back(name + " " + std::to_string(line) + " " + std::to_string(page) + " " + text + " " +
                        std::to_string(selected) + " " + std::to_string(h) + " " + std::to_string(width) +
                        " at " + std::to_string(left) + "," + std::to_string(top));
    };
    list.Wrap_Width = 0;
    list.Line_Height = 16;
    list.Set_Selected_Index(2);
    list.Draw(0);
    EXPECT_EQ(calls, std::vector<std::string>({"Module List 1 0 one two three four 0 16 192 at 100,100",
                                               "Module List 2 0 Line 2 1 16 192 at 100,116"}));
    EXPECT_TRUE(Shown().empty());
}

} // namespace
