// The message and error-list boxes on the picture-dialog base: the picture and where it lands, the texts
// and their places, closing by the close button and by Escape, and a buffer that cannot be had.
#include "tests/ui/UiFixture.h"
#include "ui/DCDlgErrorList.h"
#include "ui/DCDlgMessage.h"

namespace {

// The parent that opens the boxes as the game screen does (centred, modal, on top) and frees a box when
// it closes.
class TOwner : public TDisplay_Class {
public:
    TOwner() {
        Set_Position("Main Window", 0, 0, 800, 600, false);
        Set_Visible(true);
    }
    template <typename T> T& Open(std::unique_ptr<T>& box, const std::string& name) {
        box = std::make_unique<T>();
        box->Center_On_Screen(name, true);
        box->Set_On_Top(true);
        box->Set_Visible(true);
        Add_Child_Control(box.get());
        return *box;
    }
    void Kill_Child_Control(const std::string& name) override {
        Closed.push_back(name);
        if (name == "Message Dlg") Message.reset();
        if (name == "Error List Dlg") Errors.reset();
    }
    std::unique_ptr<TDC_Dlg_Message> Message;
    std::unique_ptr<TDC_Dlg_ErrorList> Errors;
    std::vector<std::string> Closed;
};

class Message_Dialogs : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        // Pictures whose pixels tell where they came from, with a magenta corner to be keyed out.
        for (const auto& [file, w, h] : std::vector<std::tuple<std::string, int32_t, int32_t>>{
                 {"Dlg_Message.bmp", 309, 213}, {"Dlg_ErrorList.bmp", 338, 348}})
            Write_Picture("Pictures/SysPics/" + file, w, h, [](int32_t x, int32_t y) {
                return x < 2 && y < 2 ? 0xFF00FFu : 0x100000u + static_cast<uint32_t>(y * 512 + x);
            });
        Loaded_Display();
        Messages->Messages.clear();
    }
    // The picture's pixel x, y as the test wrote it, magenta turned black.
    static uint32_t Picture(int32_t x, int32_t y) {
        return x < 2 && y < 2 ? 0 : 0x100000u + static_cast<uint32_t>(y * 512 + x);
    }
    void Click(int32_t x, int32_t y) {
        Owner.MouseDown(0, 0, x, y);
        Owner.MouseUp(0, 0, x, y, false);
    }
    void Key(uint16_t key) {
        uint16_t k = key;
        Owner.KeyDown(k, 0);
    }
    // Buffers taken until the table is full, so the next allocation fails.
    static std::vector<int32_t> Take_Every_Buffer() {
        std::vector<int32_t> taken;
        for (int32_t handle = gx_vballoc(4, 4); handle >= 0; handle = gx_vballoc(4, 4))
            taken.push_back(handle);
        return taken;
    }

    TOwner Owner;
};

TEST_F(Message_Dialogs, TheMessageBoxDrawsItsPictureCaptionAndShadowedText) {
    TDC_Dlg_Message& box = Owner.Open(Owner.Message, "Message Dlg");
    EXPECT_EQ(std::vector<int32_t>({box.Left, box.Top, box.Width, box.Height}),
              std::vector<int32_t>({245, 193, 309, 213}));
    box.Set_Text("Ошибка", "Файл не найден.");
    Clear_Page();
    Shown();
    Owner.Draw(0);
    // The picture's lower-left corner at (Left, Top + 212).
    EXPECT_EQ(Page_Pixel(245, 193), Picture(0, 0));
    EXPECT_EQ(Page_Pixel(300, 380), Picture(55, 187));
    EXPECT_EQ(Page_Pixel(553, 405), Picture(308, 212));
    EXPECT_EQ(Page_Pixel(554, 405), 0u);
    EXPECT_EQ(Page_Pixel(553, 406), 0u);
    // Words of the wrapped text each stand where the line has got to.
    EXPECT_EQ(Shown(), std::vector<TShown_Text>({
                           At("Ошибка", 393, 224, 2, 2, 6, 0x000000),
                           At("Файл ", 266, 263, 1, 4, 3, 0x000000),
                           At("не ", 306, 263, 1, 4, 3, 0x000000),
                           At("найден.", 330, 263, 1, 4, 3, 0x000000),
                           At("Файл ", 265, 262, 1, 4, 3, 0xFFFFFF),
                           At("не ", 305, 262, 1, 4, 3, 0xFFFFFF),
                           At("найден.", 329, 262, 1, 4, 3, 0xFFFFFF),
                       }));
}

TEST_F(Message_Dialogs, TheCloseButtonAndEscapeCloseEitherBox) {
    struct TCase {
        const char* What;
        bool Errors;
        int32_t X, Y; // a click; 0: Escape instead
        bool Closed;
    } cases[] = {
        {"message, close button", false, 510, 363, true},
        {"message, Escape", false, 0, 0, true},
        {"message, beside the button", false, 490, 363, false},
        {"error list, close button", true, 531, 436, true},
        {"error list, Escape", true, 0, 0, true},
        {"error list, on its list", true, 300, 200, false},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Owner.Closed.clear();
        const std::string name = t.Errors ? "Error List Dlg" : "Message Dlg";
        if (t.Errors)
            Owner.Open(Owner.Errors, name).Set_Errors({"Line 1: bad"}, "Errors: ", "Terrain.txt");
        else
            Owner.Open(Owner.Message, name);
        if (t.X == 0)
            Key(27);
        else
            Click(t.X, t.Y);
        EXPECT_EQ(Owner.Closed, t.Closed ? std::vector<std::string>{name} : std::vector<std::string>{});
        EXPECT_EQ(Owner.Child_Count(), t.Closed ? 0 : 1);
        EXPECT_EQ(Played(), t.X != 0 && t.Closed    ? std::vector<std::string>{"button.wav"}
                            : t.Errors && !t.Closed ? std::vector<std::string>{"item_sel.wav"}
                                                    : std::vector<std::string>{});
        Owner.Message.reset();
        Owner.Errors.reset();
    }
}

TEST_F(Message_Dialogs, TheErrorListShowsBothHeadingsThenTheLinesWrappedWithoutSelection) {
    TDC_Dlg_ErrorList& box = Owner.Open(Owner.Errors, "Error List Dlg");
    EXPECT_EQ(std::vector<int32_t>({box.Left, box.Top, box.Width, box.Height}),
              std::vector<int32_t>({231, 126, 338, 348}));
    box.Set_Errors({"Line 3: bad value", "Line 9: no such key"}, "Terrain Data File Errors: ", "Terrain.txt");
    const TDC_List& list = box.Error_List;
    EXPECT_EQ(list.Lines, TString_List({"Terrain Data File Errors: ", "Terrain.txt", "Line 3: bad value",
                                        "Line 9: no such key"}));
    EXPECT_EQ(std::vector<int32_t>({list.Left, list.Top, list.Width, list.Height, list.Line_Height}),
              std::vector<int32_t>({251, 190, 288, 227, 32}));
    // A click on a line under the pointer neither highlights it nor paints a hover bar.
    Owner.MouseMove(0, 300, 200);
    Click(300, 200);
    EXPECT_EQ(list.Get_Selected_Index(), 1);
    Clear_Page();
    Shown();
    Owner.Draw(0);
    EXPECT_EQ(Page_Pixel(252, 191), 0x373737u);
    EXPECT_EQ(Page_Pixel(240, 130), Picture(9, 4));
    const std::vector<TShown_Text> shown = Shown();
    std::vector<std::string> words;
    for (const TShown_Text& t : shown) {
        words.push_back(t.Text);
        EXPECT_EQ(t.Style, 1);
        EXPECT_EQ(t.Rgb, 0xFFFFFFu) << t;
    }
    // Each line is wrapped in its own band of 32 rows: the bands start at 190, 222, 254 and 286.
    EXPECT_EQ(words,
              std::vector<std::string>({"Terrain ", "Data ", "File ", "Errors: ", "Terrain.txt", "Line ",
                                        "3: ", "bad ", "value", "Line ", "9: ", "no ", "such ", "key"}));
    EXPECT_EQ(std::vector<int32_t>({shown[0].X, shown[0].Y, shown[4].Y, shown[5].Y, shown[9].Y}),
              std::vector<int32_t>({255, 190, 222, 254, 286}));
}

TEST_F(Message_Dialogs, ABoxWithoutABufferDrawsNoPictureAndOnlyTheErrorListSaysSo) {
    for (const bool errors : {false, true}) {
        SCOPED_TRACE(errors ? "error list" : "message");
        const std::vector<int32_t> taken = Take_Every_Buffer();
        Messages->Messages.clear();
        TDisplay_Class* box = nullptr;
        if (errors)
            box = &Owner.Open(Owner.Errors, "Error List Dlg");
        else
            box = &Owner.Open(Owner.Message, "Message Dlg");
        const TDC_Dlg_Picture& dialog = static_cast<const TDC_Dlg_Picture&>(*box);
        EXPECT_FALSE(dialog.Picture_Loaded());
        EXPECT_LT(dialog.Picture_Buffer(), 1);
        if (errors) {
            ASSERT_EQ(Messages->Messages.size(), 1u);
            EXPECT_EQ(Messages->Messages[0].Text, "Error allocating virtual buffer: TDC_Dlg_ErrorList");
        } else {
            EXPECT_TRUE(Messages->Messages.empty());
        }
        Clear_Page();
        Owner.Draw(0);
        EXPECT_EQ(Page_Pixel(246, 194), 0u);
        EXPECT_EQ(Page_Pixel(246, 400), 0u);
        // Freeing the box frees no buffer of anybody else's.
        Owner.Message.reset();
        Owner.Errors.reset();
        for (const int32_t handle : taken) EXPECT_NE(Gx_Buffer_Surface(handle), nullptr);
        EXPECT_NE(Gx_Buffer_Surface(0), nullptr);
        Gx_Deselect_Buffer();
        for (const int32_t handle : taken) Gx_Free_Buffer(handle);
    }
}

TEST_F(Message_Dialogs, TheBoxGivesItsBufferBack) {
    int32_t handle = 0;
    {
        TDC_Dlg_Message box;
        ASSERT_TRUE(box.Picture_Loaded());
        handle = box.Picture_Buffer();
        ASSERT_GE(handle, 1);
        EXPECT_NE(Gx_Buffer_Surface(handle), nullptr);
    }
    EXPECT_EQ(Gx_Buffer_Surface(handle), nullptr);
}

} // namespace
