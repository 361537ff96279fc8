// The quest journal, the overview map and the module text over the running world: which quests are listed
// and how, the overview's pixels and the blink of the player's mark on the manual clock, and the module
// text turned a box at a time with the headless font's fixed metrics (8 x 12 pixels a character).
#include "core/Clock.h"
#include "media/GfxDevice.h"
#include "tests/ui/PlayerDialogsFixture.h"
#include "ui/DCDlgModuleText.h"
#include "ui/DCDlgOverviewMap.h"
#include "ui/DCDlgQuests.h"

#include <algorithm>

namespace {

class Journal_Dialogs : public TPlayer_Dialog_Test {
protected:
    void Add_Quest(const std::string& description, bool visible, bool completed, bool failed) {
        TModule_Quest quest;
        quest.Quest_Id = static_cast<uint16_t>(Module()->Quests.Quests.size() + 1);
        quest.Description = description;
        quest.Visible = visible;
        quest.Completed = completed;
        quest.Failed = failed;
        Module()->Quests.Quests.push_back(quest);
    }
};

std::vector<int> Words(const TWordList& list) {
    std::vector<int> out;
    for (int32_t n = 1; n <= list.Count(); ++n) out.push_back(list.Get(n));
    return out;
}

// ---------------------------------------------------------------------------------------------------------
// Quests

TEST_F(Journal_Dialogs, TheJournalListsTheVisibleQuestsInOrderAndClearsTheMark) {
    Add_Quest("Клинок", true, false, false);
    Add_Quest("Тайна", false, false, false);
    Add_Quest("Волки", true, true, false);
    Add_Quest("Курган", true, false, true); // failed, not completed: still under way
    Add_Quest("Колодец", true, true, true); // completed wins
    Hero->Set_Quests_Changed(true);
    auto& dialog = Owner.Open<TDC_Dlg_Quests>("Quests Dlg");
    EXPECT_EQ(Words(dialog.Quest_Numbers()), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(dialog.Quest_List.Line_Count(), 4);
    EXPECT_EQ(Hero->Quests_Changed, 0);
    const TDC_List& list = dialog.Quest_List;
    EXPECT_EQ(std::vector<int>({list.Left - dialog.Left, list.Top - dialog.Top, list.Width, list.Height}),
              std::vector<int>({43, 68, 331, 373}));
    EXPECT_EQ(list.Line_Height, 54);

    Shown();
    Frame();
    const std::vector<TShown_Text> shown = Shown();
    constexpr uint32_t White = 0xFFFFFF, Grey = 0x646464, Green = 0x00FF00;
    const int32_t x = list.Left, y = list.Top;
    // The status column is the line's width less 240: 83 pixels, in which the 8-pixel test font breaks
    // "Выполняется" after ten characters.
    const std::vector<TShown_Text> expected = {
        At("Задачи", dialog.Left + 207, dialog.Top + 47, 2, 2, 6, 0),
        {"Клинок", x + 22, y, 1, White},
        {"Выполняетс", x + 240, y, 1, Green},
        {"я", x + 240, y + 12, 1, Green},
        {"Волки", x + 22, y + 54, 1, Grey},
        {"Завершено", x + 240, y + 54, 1, Grey},
        {"Курган", x + 22, y + 108, 1, White},
        {"Выполняетс", x + 240, y + 108, 1, Green},
        {"я", x + 240, y + 120, 1, Green},
        {"Колодец", x + 22, y + 162, 1, Grey},
        {"Завершено", x + 240, y + 162, 1, Grey},
    };
    EXPECT_EQ(shown, expected);
    // Each line's icon: the first of the two small icons under way, the second when completed.
    for (const auto& [line, icon] : std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 0}, {3, 1}})
        EXPECT_EQ(Page_Pixel(x + 2 + 3, y + 54 * line + 2 + 4), Code(Sheet_General, 160 + 32 * icon + 3, 4))
            << line;
    // The lines are read, not chosen: the mouse over a line and a click on it leave its background plain.
    Owner.MouseMove(0, x + 300, y + 30);
    Click(x + 300, y + 30);
    Frame();
    EXPECT_EQ(Page_Pixel(x + 300, y + 30), 0x373737u);
}

TEST_F(Journal_Dialogs, AJournalWithoutVisibleQuestsIsEmpty) {
    Add_Quest("Тайна", false, false, false);
    auto& dialog = Owner.Open<TDC_Dlg_Quests>("Quests Dlg");
    EXPECT_EQ(dialog.Quest_List.Line_Count(), 0);
    Shown();
    Frame();
    EXPECT_EQ(Shown().size(), 1u);
}

// ---------------------------------------------------------------------------------------------------------
// Overview map

TEST_F(Journal_Dialogs, TheOverviewShowsTheSeenSquaresAndABlinkingMark) {
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 1}, {200, 200}, {57, 3}})
        Map->Get_Square(x, y)->Set_Seen(true);
    auto& dialog = Owner.Open<TDC_Dlg_Overview_Map>("Overview Map");
    const uint32_t floor = 0x5A8C3C, red = 0xFF0000;
    const auto block = [&](int32_t sx, int32_t sy, int32_t size) {
        std::vector<uint32_t> pixels;
        const int32_t px = dialog.Left + 24 + 2 * (sx - 1), py = dialog.Top + 54 + 2 * (sy - 1);
        for (int32_t dy = 0; dy < size; ++dy)
            for (int32_t dx = 0; dx < size; ++dx) pixels.push_back(Page_Pixel(px + dx, py + dy));
        return pixels;
    };
    Shown();
    Frame();
    EXPECT_EQ(Shown(),
              std::vector<TShown_Text>{At("Barrow Halls", dialog.Left + 229, dialog.Top + 33, 2, 2, 6, 0)});
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 1}, {200, 200}, {57, 3}})
        EXPECT_EQ(block(x, y, 2), std::vector<uint32_t>(4, floor)) << x << "," << y;
    // The squares beside them were not seen: the picture shows there.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{2, 1}, {1, 2}, {199, 200}, {58, 3}, {57, 4}})
        for (const uint32_t pixel : block(x, y, 2)) EXPECT_NE(pixel, floor) << x << "," << y;

    // The mark blinks: it flips at the end of the first frame drawn more than 500 ms after the last flip.
    struct TStep {
        uint64_t Advance;
        bool Mark_Drawn, Blink_After;
    };
    const TStep steps[] = {{0, false, false}, {501, false, true}, {0, true, true},   {500, true, true},
                           {1, true, false},  {0, false, false},  {600, false, true}};
    int32_t n = 0;
    for (const TStep& s : steps) {
        SCOPED_TRACE(++n);
        Advance_Manual_Clock(s.Advance);
        Frame();
        const std::vector<uint32_t> mark = block(100, 100, 4);
        if (s.Mark_Drawn)
            EXPECT_EQ(mark, std::vector<uint32_t>(16, red));
        else
            EXPECT_EQ(std::count(mark.begin(), mark.end(), red), 0);
        EXPECT_EQ(dialog.Blink_On(), s.Blink_After);
    }
}

TEST_F(Journal_Dialogs, AnOverviewOfNothingSeenShowsOnlyTheTitle) {
    auto& dialog = Owner.Open<TDC_Dlg_Overview_Map>("Overview Map");
    // The picture's map area, before anything is drawn over it.
    Frame();
    std::vector<uint32_t> before;
    for (int32_t y = 54; y < 454; ++y)
        for (int32_t x = 24; x < 424; ++x) before.push_back(Page_Pixel(dialog.Left + x, dialog.Top + y));
    EXPECT_EQ(std::count(before.begin(), before.end(), 0x5A8C3Cu), 0);
    // Seen squares without a player draw nothing either.
    Map->Get_Square(5, 5)->Set_Seen(true);
    Set_Player(nullptr);
    Advance_Manual_Clock(501);
    Frame();
    Frame();
    std::vector<uint32_t> after;
    for (int32_t y = 54; y < 454; ++y)
        for (int32_t x = 24; x < 424; ++x) after.push_back(Page_Pixel(dialog.Left + x, dialog.Top + y));
    EXPECT_EQ(after, before);
}

// ---------------------------------------------------------------------------------------------------------
// Module text

TEST_F(Journal_Dialogs, TheModuleTextTurnsABoxAtATime) {
    // Each paragraph is one line of 40 characters (320 pixels: one per line of the 335-pixel box) and a gap
    // of two line steps: 30 pixels a paragraph, 12 paragraphs a box.
    TString_List lines(30, std::string(39, 'x'));
    TString_List given = lines;
    auto dialog = std::make_unique<TDC_Dlg_Module_Text>();
    dialog->Set_Text("Курган", given);
    given.clear();
    TDC_Dlg_Module_Text& text = *dialog;
    Owner.Place(std::move(dialog), "Dlg Module Text");
    EXPECT_EQ(text.Lines(), lines);
    Shown();
    Frame();
    const std::vector<TShown_Text> shown = Shown();
    ASSERT_GE(shown.size(), 3u);
    const int32_t middle = text.Left + 448 / 2;
    EXPECT_EQ(shown[0], At("Курган", middle + 1, text.Top + 61, 2, 2, 3, 0xFFFFFF));
    EXPECT_EQ(shown[1], At("Курган", middle, text.Top + 60, 2, 2, 3, 0));
    // The text starts in the box's corner at (60, 80), its first line one line step down.
    EXPECT_EQ(std::vector<int32_t>({shown[2].X, shown[2].Y, shown[2].Style}),
              std::vector<int32_t>({text.Left + 60, text.Top + 80 + 12, 3}));
    struct TStep {
        const char* Click; // nothing: the first frame
        int32_t Offset;
        bool Up_On, Down_On;
    };
    const TStep steps[] = {
        {nullptr, 0, false, true},         {"Down Button", 340, true, true},
        {"Down Button", 680, true, false}, {"Down Button", 680, true, false},
        {"Up Button", 340, true, true},    {"Up Button", 0, false, true},
        {"Up Button", 0, false, true},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Click ? s.Click : "first");
        if (s.Click) Click_On(std::string(s.Click) == "Up Button" ? text.Up_Button : text.Down_Button);
        Frame();
        EXPECT_EQ(text.Scroll_Offset(), s.Offset);
        EXPECT_EQ(text.Up_Button.Enabled, s.Up_On);
        EXPECT_EQ(text.Down_Button.Enabled, s.Down_On);
    }
    // The arrows are window buttons (type 1): up at (319, 429) showing picture 3, down at (344, 429)
    // picture 4.
    for (const TDC_Button* button : {&text.Up_Button, &text.Down_Button}) {
        const bool up = button == &text.Up_Button;
        EXPECT_EQ(std::vector<int32_t>({button->Left - text.Left, button->Top - text.Top, button->Button_Type,
                                        button->Image_Index}),
                  std::vector<int32_t>({up ? 319 : 344, 429, 1, up ? 3 : 4}))
            << button->Name;
    }
}

TEST_F(Journal_Dialogs, AShortModuleTextCannotBeTurned) {
    auto dialog = std::make_unique<TDC_Dlg_Module_Text>();
    dialog->Set_Text("Курган", {"Ветер воет над холмами."});
    TDC_Dlg_Module_Text& text = *dialog;
    Owner.Place(std::move(dialog), "Dlg Module Text");
    Frame();
    EXPECT_TRUE(text.End_Shown());
    EXPECT_FALSE(text.Down_Button.Enabled);
    EXPECT_FALSE(text.Up_Button.Enabled);
    Click_On(text.Down_Button);
    Frame();
    EXPECT_EQ(text.Scroll_Offset(), 0);
}

} // namespace
