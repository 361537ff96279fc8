// Picture buttons, text buttons and toggles: what makes a click, the sound and the handler it runs, the
// cell each state draws, the draw hook, the caption, and the help id the hover leaves for the panel.
#include "tests/ui/UiFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCButton.h"

namespace {

class Buttons : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        Root.Set_Position("Root", 0, 0, 800, 600, false);
        Root.Set_Visible(true);
    }
    // A button of type 1 (23 x 23) at 100, 100 whose clicks are written down.
    template <typename T> T& Add(T& button, const std::string& name = "Button 1") {
        button.Set_Button_Type(1);
        button.Set_Image_Index(2);
        button.Place(name, 100, 100);
        button.Set_Visible(true);
        button.On_Click = [this](const std::string& n) { Clicks.push_back(n); };
        Root.Add_Child_Control(&button);
        return button;
    }
    void Click(int32_t button, int32_t press_x, int32_t press_y, int32_t x, int32_t y) {
        Root.MouseDown(button, 0, press_x, press_y);
        Root.MouseUp(button, 0, x, y, false);
    }

    TDisplay_Class Root;
    std::vector<std::string> Clicks;
};

TEST_F(Buttons, AReleaseOverAnEnabledButtonClicksWhereverThePressWas) {
    struct TCase {
        const char* What;
        int32_t Button, Press_X, Press_Y, X, Y;
        bool Enabled, Handler, Clicked;
    } cases[] = {
        {"pressed and released on it", 0, 110, 110, 110, 110, true, true, true},
        {"pressed outside, released on it", 0, 300, 300, 123, 123, true, true, true},
        {"the right button", 1, 110, 110, 110, 110, true, true, true},
        {"pressed on it, released outside", 0, 110, 110, 124, 110, true, true, false},
        {"disabled", 0, 110, 110, 110, 110, false, true, false},
        {"no handler", 0, 110, 110, 110, 110, true, false, false},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TDC_Button button;
        Add(button);
        button.Enabled = t.Enabled;
        if (!t.Handler) button.On_Click = nullptr;
        Click(t.Button, t.Press_X, t.Press_Y, t.X, t.Y);
        EXPECT_EQ(Clicks, t.Clicked ? std::vector<std::string>{"Button 1"} : std::vector<std::string>{});
        EXPECT_EQ(Played(), t.Clicked ? std::vector<std::string>{"button.wav"} : std::vector<std::string>{});
        EXPECT_FALSE(button.Pressed);
        Clicks.clear();
    }
}

TEST_F(Buttons, AToggleFlipsOnlyWhenClickedEnabledAndReportsItsNewState) {
    struct TCase {
        const char* What;
        bool Enabled, Start_On;
        int32_t X;
        bool Now_On, Clicked;
    } cases[] = {
        {"off to on", true, false, 110, true, true},
        {"on to off", true, true, 110, false, true},
        {"disabled", false, false, 110, false, false},
        {"released beside it", true, false, 200, false, false},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TDC_Button_Toggle toggle;
        Add(toggle, "Opt 1");
        toggle.Set_Frames(8, 9);
        EXPECT_EQ(toggle.Image_Index, 9);
        toggle.Set_On(t.Start_On);
        toggle.Enabled = t.Enabled;
        bool seen = !t.Now_On;
        toggle.On_Click = [&](const std::string& name) {
            Clicks.push_back(name);
            seen = toggle.Is_On();
        };
        Click(0, 110, 110, t.X, 110);
        EXPECT_EQ(toggle.Is_On(), t.Now_On);
        EXPECT_EQ(toggle.Image_Index, t.Now_On ? 8 : 9);
        EXPECT_EQ(Clicks.size(), t.Clicked ? 1u : 0u);
        if (t.Clicked) {
            EXPECT_EQ(seen, t.Now_On);
        }
        Clicks.clear();
    }
}

TEST_F(Buttons, TheHoverGivesTheHelpIdToTheCursorTarget) {
    TDC_Button button;
    Add(button);
    for (const int32_t help : {0, 7}) {
        SCOPED_TRACE(help);
        Set_Cursor_Target_Cell(3, 4);
        button.Set_Help_Id(help);
        Root.MouseMove(0, 110, 110);
        EXPECT_TRUE(button.Mouse_Over);
        EXPECT_EQ(Cursor_Target().Kind, help > 0 ? Cursor_Target_Help : Cursor_Target_Square);
        EXPECT_EQ(Cursor_Target().Help_Id, help);
    }
}

TEST_F(Buttons, EachStateDrawsItsRowOfTheSheetAndAnUnloadedSheetNoFace) {
    struct TCase {
        const char* What;
        bool Enabled, Pressed, Hover;
        int32_t Row;
    } cases[] = {
        {"plain", true, false, false, 0},
        {"hover", true, false, true, 1},
        {"pressed", true, true, true, 2},
        {"disabled", false, true, true, 3},
    };
    Loaded_Display();
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TDC_Button button;
        Add(button);
        button.Enabled = t.Enabled;
        button.Pressed = t.Pressed;
        button.Mouse_Over = t.Hover;
        Clear_Page();
        button.Draw(0);
        // Type 1 is the window-button sheet, 23 x 23 cells: image 2 is column 2.
        EXPECT_EQ(Page_Pixel(100, 100), Code(Sheet_Window_Buttons, 46, 23 * t.Row));
        EXPECT_EQ(Page_Pixel(122, 122), Code(Sheet_Window_Buttons, 68, 23 * t.Row + 22));
    }
    // Before the pictures are loaded (a message at start-up) the sheet's handle is 0, the back page.
    Make_Display();
    TDC_Button early;
    Add(early);
    Clear_Page();
    early.Draw(0);
    EXPECT_FALSE(Page_Has_Pixels());
}

TEST_F(Buttons, TheDrawHookRunsOnAFilledFaceOrAfterThePicture) {
    Loaded_Display();
    const uint32_t highlight = 0x0B1FB7, grey = 0x474747;
    struct TCase {
        const char* What;
        bool Enabled, Hover;
        uint32_t Face; // what the hook finds inside the face
        int32_t Row;   // of the picture drawn over it
    } cases[] = {
        {"under the mouse", true, true, highlight, 1},
        {"plain", true, false, grey, 0},
        {"disabled under the mouse", false, true, grey, 3},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TDC_Button button;
        Add(button);
        button.Set_Button_Type(6); // 200 x 38
        button.Set_Image_Index(0);
        button.Place("Button 1", 100, 100);
        button.Enabled = t.Enabled;
        button.Mouse_Over = t.Hover;
        button.Draw_Hook_First = true;
        std::vector<std::string> calls;
        std::vector<uint32_t> found;
        button.On_Draw = [&](const std::string& name, int32_t page, bool disabled, bool pressed, bool hover,
                             int32_t height, int32_t width, int32_t top, int32_t left) {
            calls.push_back(name + " " + std::to_string(page) + " " + std::to_string(disabled) +
                            std::to_string(pressed) + std::to_string(hover) + " " + std::to_string(height) +
                            "x" + std::to_string(width) + " at " + std::to_string(left) + "," +
                            std::to_string(top));
            // The face is filled two pixels in from every edge.
            for (const auto& [x, y] :
                 std::vector<std::pair<int32_t, int32_t>>{{101, 101}, {102, 102}, {297, 135}, {298, 136}})
                found.push_back(Page_Pixel(x, y));
        };
        Clear_Page();
        button.Draw(0);
        EXPECT_EQ(calls, std::vector<std::string>{"Button 1 0 " + std::to_string(!t.Enabled) + "0" +
                                                  std::to_string(t.Hover) + " 38x200 at 100,100"});
        EXPECT_EQ(found, std::vector<uint32_t>({0, t.Face, t.Face, 0}));
        // Then the picture over it.
        EXPECT_EQ(Page_Pixel(102, 102), Code(Sheet_Long_Square_Text_Buttons, 2, 2 + 38 * t.Row));
    }
    // After the picture: the hook sees the picture already drawn.
    TDC_Button after;
    Add(after);
    uint32_t under = 0;
    after.On_Draw = [&](const std::string&, int32_t, bool, bool, bool, int32_t, int32_t, int32_t, int32_t) {
        under = Page_Pixel(100, 100);
    };
    Clear_Page();
    after.Draw(0);
    EXPECT_EQ(under, Code(Sheet_Window_Buttons, 46, 0));
}

TEST_F(Buttons, ATextButtonCentresItsCaptionInItsStyle) {
    struct TCase {
        const char* What;
        bool Pressed, Hover;
        int32_t Style, Offset;
        int32_t Shift;
        uint32_t Rgb;
    } cases[] = {
        {"plain", false, false, 4, 0, 0, 0x9B9B9B},
        {"under the mouse", false, true, 4, 0, 0, 0xFFFFFF},
        {"pressed", true, true, 4, 0, 1, 0xFFFFFF},
        {"own style and offset", false, false, 3, -5, 0, 0x9B9B9B},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        TDC_Text_Button button;
        Add(button);
        button.Set_Button_Type(7); // 200 x 51
        button.Place("Новая игра", 300, 200);
        button.Set_Text("Новая игра");
        button.Pressed = t.Pressed;
        button.Mouse_Over = t.Hover;
        if (t.Style != 4) button.Font_Style = t.Style;
        button.Caption_Y_Offset = t.Offset;
        Shown();
        button.Draw(0);
        // Ten characters of 8 pixels, centred on 400, 225 + offset.
        EXPECT_EQ(Shown(), std::vector<TShown_Text>({{"Новая игра", 360 + t.Shift,
                                                      225 + t.Offset + t.Shift - 6, t.Style, t.Rgb}}));
    }
}

} // namespace
