// The text field: what each key types, Backspace over any script, the caret's blink on the virtual clock,
// and where the text and the caret are drawn.
#include "platform/TextBackend.h"
#include "tests/ui/UiFixture.h"
#include "ui/DCEditText.h"

namespace {

class Edit_Text : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        // Made on the test's clock: the caret counts from the field's creation.
        Field = std::make_unique<TDC_EditText>();
        Field->Set_Position("Edit Box 1", 100, 200, 219, 17);
        Field->Set_Visible(true);
    }
    void Type(uint16_t key, int32_t shift = 0) {
        uint16_t k = key;
        Field->KeyDown(k, shift);
    }
    // Whether the page shows the caret's column right of the drawn text.
    bool Caret_Drawn(int32_t column) { return Page_Pixel(column, 202) == 0xFFFFFF; }

    std::unique_ptr<TDC_EditText> Field;
};

TEST_F(Edit_Text, KeysTypeTheirCharacters) {
    struct TCase {
        const char* What;
        std::string Before;
        uint16_t Key;
        int32_t Shift;
        bool Enabled;
        std::string After;
    } cases[] = {
        {"a letter", "", 'A', 0, true, "a"},
        {"a capital", "", 'A', Shift_Key, true, "A"},
        {"the last letter", "x", 'Z', 0, true, "xz"},
        {"a digit", "", '1', 0, true, "1"},
        {"Shift+1", "", '1', Shift_Key, true, "!"},
        {"Shift+2", "", '2', Shift_Key, true, "@"},
        {"Shift+9", "", '9', Shift_Key, true, "("},
        {"Shift+0", "", '0', Shift_Key, true, ")"},
        {"Ctrl alone is no shift", "", 'B', Shift_Ctrl, true, "b"},
        {"a blank", "a", 32, 0, true, "a "},
        {"a comma, shifted or not", "a", 188, Shift_Key, true, "a,"},
        {"a full stop", "a", 190, 0, true, "a."},
        {"another key", "a", 186, 0, true, "a"},
        {"F1", "a", 112, 0, true, "a"},
        {"disabled", "a", 'B', 0, false, "a"},
        {"Backspace", "ab", 8, 0, true, "a"},
        {"Backspace on one character", "a", 8, 0, true, ""},
        {"Backspace on nothing", "", 8, 0, true, ""},
        {"Backspace disabled", "ab", 8, 0, false, "ab"},
        {"Backspace after Cyrillic", "Имя", 8, 0, true, "Им"},
        {"Backspace after a sign of three bytes", "a\xE2\x82\xAC", 8, 0, true, "a"},
        {"Backspace after a broken byte", "ab\xD0", 8, 0, true, "ab"},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Field->Text = t.Before;
        Field->Enabled = t.Enabled;
        Type(t.Key, t.Shift);
        EXPECT_EQ(Field->Text, t.After);
    }
    // No length limit.
    Field->Enabled = true;
    Field->Text.clear();
    for (int i = 0; i < 300; ++i) Type('A');
    EXPECT_EQ(Field->Text, std::string(300, 'a'));
}

TEST_F(Edit_Text, TheCaretFlipsWhenMoreThan500MillisecondsHavePassed) {
    Field->Text = "ab";
    struct TStep {
        uint64_t Advance;
        bool Shown;
    } steps[] = {{0, false}, {500, false}, {1, true}, {500, true}, {1, false}, {2000, true}};
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Advance);
        Advance_Manual_Clock(s.Advance);
        Clear_Page();
        Field->Draw(0);
        EXPECT_EQ(Field->Caret_Shown, s.Shown);
        // The caret: one white column one pixel after the text's end (103 + 2 x 8), from 202 to 214.
        EXPECT_EQ(Caret_Drawn(120), s.Shown);
        EXPECT_EQ(Page_Pixel(120, 201) == 0xFFFFFF, false);
    }
    // A disabled field keeps its caret's state but does not draw it.
    Field->Caret_Shown = true;
    Field->Enabled = false;
    Clear_Page();
    Field->Draw(0);
    EXPECT_FALSE(Caret_Drawn(120));
}

TEST_F(Edit_Text, TheTextStandsLeftAndCentredInItsStyleAndColour) {
    Field->Text = "hero";
    Field->Set_Text_Color(150, 150, 150);
    Shown();
    Field->Draw(0);
    EXPECT_EQ(Shown(), std::vector<TShown_Text>({At("hero", 103, 209, 1, 2, 3, 0x969696)}));
    Field->Caret_Shown = true;
    Field->Caret_Time = Get_Ticks();
    Clear_Page();
    Field->Draw(0);
    EXPECT_TRUE(Caret_Drawn(136));
    EXPECT_EQ(Page_Pixel(136, 214), 0xFFFFFFu);
    EXPECT_EQ(Page_Pixel(136, 215), 0u);
}

} // namespace
