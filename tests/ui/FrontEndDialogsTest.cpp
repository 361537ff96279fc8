// The intro, the main menu, the difficulty choice and the progress box, each alone under a root control.
#include "core/Clock.h"
#include "core/GameOptions.h"
#include "media/GfxDevice.h"
#include "tests/ui/FrontEndFixture.h"
#include "ui/DCButton.h"
#include "ui/DCDlgDifficulty.h"
#include "ui/DCDlgIntro.h"
#include "ui/DCDlgMenu.h"
#include "ui/DCDlgProgress.h"
#include "ui/DlgMain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using TNames = std::vector<std::string>;

bool Has(const TNames& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

class TFront_End_Dialogs_Test : public TFront_End_Test {
protected:
    void SetUp() override {
        TFront_End_Test::SetUp();
        Set_Manual_Clock(0);
        Sound_Start_Pending() = true;
    }
    void TearDown() override {
        Sound_Start_Pending() = false;
        Use_System_Clock();
        TFront_End_Test::TearDown();
    }
    bool Music_Opened() {
        return std::any_of(Audio->Calls.begin(), Audio->Calls.end(), [](const std::string& call) {
            return call.find("intro.wav") != std::string::npos;
        });
    }
};

// Frames at the given times: the frame (from 1) that started the music, the one that loaded the pictures and
// the one that closed the box; 0 for none.
TEST_F(TFront_End_Dialogs_Test, IntroRunsOnItsFrames) {
    struct TCase {
        std::vector<uint64_t> frames;
        int music, pictures, closed;
    };
    const std::vector<TCase> cases = {
        {{0, 5000, 5050, 5100}, 2, 3, 4},            // the steps need frames after each other
        {{0, 100, 1999, 2000, 4999, 5000}, 2, 4, 6}, // 2 s and 5 s from the opening
        {{0, 0, 0, 0, 0}, 2, 0, 0},
        {{10000}, 0, 0, 0}, // one late frame only shows the box
        {{}, 0, 0, 0},      // no frames: nothing however long it waits
    };
    for (const TCase& c : cases) {
        Set_Manual_Clock(0);
        Sound_Start_Pending() = true;
        Audio->Calls.clear();
        TDC_Dlg_Intro intro;
        Open(intro, "Dlg Intro", false);
        EXPECT_EQ(intro.Left, 267);
        EXPECT_EQ(intro.Top, 133);
        int music = 0, pictures = 0, closed = 0;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            Set_Manual_Clock(c.frames[i]);
            Root.Draw(0);
            const int frame = static_cast<int>(i) + 1;
            if (!music && intro.Music_Started()) music = frame;
            if (!pictures && !intro.Bitmaps_Pending()) pictures = frame;
            if (!closed && intro.Kill) closed = frame;
        }
        Set_Manual_Clock(20000);
        EXPECT_EQ(music, c.music) << c.frames.size();
        EXPECT_EQ(pictures, c.pictures) << c.frames.size();
        EXPECT_EQ(closed, c.closed) << c.frames.size();
        EXPECT_EQ(Music_Opened(), c.music != 0);
        EXPECT_EQ(Sound_Start_Pending(), c.music == 0);
        if (intro.Parent) intro.Parent->Remove_Child_Control(&intro);
    }
}

TEST_F(TFront_End_Dialogs_Test, IntroWithoutItsBufferStillStartsPicturesAndSound) {
    std::vector<int32_t> taken;
    for (int32_t handle = gx_vballoc(8, 8); handle >= 1; handle = gx_vballoc(8, 8)) taken.push_back(handle);
    TDC_Dlg_Intro intro;
    EXPECT_TRUE(intro.Kill);
    EXPECT_FALSE(intro.Bitmaps_Pending());
    EXPECT_TRUE(intro.Music_Started());
    EXPECT_TRUE(Music_Opened());
    EXPECT_FALSE(Sound_Start_Pending());
    for (int32_t handle : taken) Gx_Free_Buffer(handle);
}

// Button n of the menu lies at (35, 151 + 51 n) of the dialog; a click just inside its top-left corner
// chooses it, one pixel to the left of it nothing.
TEST_F(TFront_End_Dialogs_Test, MenuButtonsAndResults) {
    for (int32_t n = 1; n <= 6; ++n) {
        for (const int32_t dx : {0, -1}) {
            TDC_Dlg_Menu menu;
            Open(menu, "Dlg Menu");
            Click(menu.Left + 35 + dx, menu.Top + 151 + 51 * n + 1);
            const bool hit = dx == 0;
            const int32_t expected = !hit || n == 5 ? 0 : n;
            EXPECT_EQ(menu.Get_Menu_Result(), expected) << n << " " << dx;
            EXPECT_EQ(menu.Kill, expected != 0) << n;
            EXPECT_EQ(menu.Credits_Shown(), hit && n == 5);
            EXPECT_EQ(Has(Sounds_Played(), "button.wav"), hit) << n;
            if (menu.Parent) menu.Parent->Remove_Child_Control(&menu);
        }
    }
}

TEST_F(TFront_End_Dialogs_Test, MenuCaptionsAndCredits) {
    TDC_Dlg_Menu menu;
    Open(menu, "Dlg Menu");
    EXPECT_EQ(menu.Left, 265);
    EXPECT_EQ(menu.Top, 20);
    Frame();
    const TNames captions = {"Новая игра", "Продолжить ", "Загрузить", "  Рекорды  ", "Авторы ", "Выход"};
    for (const std::string& caption : captions) EXPECT_NE(Drawn(caption), nullptr) << caption;
    EXPECT_EQ(Drawn("Дизайн"), nullptr);

    Click(menu.Left + 100, menu.Top + 151 + 51 * 5 + 10); // "Авторы "
    Frame();
    EXPECT_EQ(Drawn("Новая игра"), nullptr);
    ASSERT_NE(Drawn("Назад"), nullptr);
    EXPECT_EQ(Drawn("Выход"), nullptr);
    const auto* title = Drawn("Murkhollow");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(Centre_X(*title), menu.Left + 129);
    EXPECT_EQ(Centre_Y(*title), menu.Top + 199);
    for (std::size_t i = 0; i < Credits.size(); ++i) {
        const auto* heading = Drawn(Credits[i].Heading);
        const auto* name = Drawn(Credits[i].Name);
        ASSERT_NE(heading, nullptr) << i;
        ASSERT_NE(name, nullptr) << i;
        EXPECT_EQ(Centre_X(*heading), menu.Left + 129);
        EXPECT_EQ(Centre_Y(*heading), menu.Top + 229 + 42 * static_cast<int32_t>(i));
        EXPECT_EQ(Centre_Y(*name), Centre_Y(*heading) + 14);
    }
    // Clicks where the hidden buttons were do nothing; "Назад" returns to the menu without a result.
    Click(menu.Left + 100, menu.Top + 151 + 51 + 10);
    EXPECT_EQ(menu.Get_Menu_Result(), 0);
    Click(menu.Left + 100, menu.Top + 151 + 51 * 6 + 10);
    EXPECT_FALSE(menu.Credits_Shown());
    EXPECT_FALSE(menu.Kill);
    EXPECT_EQ(menu.Get_Menu_Result(), 0);
    Frame();
    EXPECT_NE(Drawn("Новая игра"), nullptr);
    EXPECT_NE(Drawn("Выход"), nullptr);
    Click(menu.Left + 100, menu.Top + 151 + 51 * 6 + 10);
    EXPECT_EQ(menu.Get_Menu_Result(), Menu_Quit);
}

TEST_F(TFront_End_Dialogs_Test, DifficultyChoices) {
    struct TCase {
        int32_t button; // 0: Escape
        int32_t result, difficulty;
    };
    const std::vector<TCase> cases = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}, {4, 4, 4}, {5, 5, 3}, {0, 5, 3}};
    for (const TCase& c : cases) {
        Game_Options()->Difficulty = 3;
        TDC_Dlg_Difficulty dialog;
        Open(dialog, "Dlg Difficulty");
        if (c.button == 0)
            Key(27);
        else
            Click(dialog.Left + 28 + 1, dialog.Top + (c.button == 5 ? 282 : 22 + 45 * c.button) + 1);
        EXPECT_EQ(dialog.Get_Result(), c.result) << c.button;
        EXPECT_EQ(Game_Options()->Difficulty, c.difficulty) << c.button;
        EXPECT_TRUE(dialog.Kill);
        if (dialog.Parent) dialog.Parent->Remove_Child_Control(&dialog);
    }
}

TEST_F(TFront_End_Dialogs_Test, DifficultyTitle) {
    TDC_Dlg_Difficulty dialog;
    Open(dialog, "Dlg Difficulty");
    Frame();
    const auto* title = Drawn("Сложность");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(Centre_X(*title), dialog.Left + 131);
    EXPECT_EQ(Centre_Y(*title), dialog.Top + 33);
    for (const char* caption : {"Лёгкий", "Средний", "Сложно", "Мастер", "Отмена"})
        EXPECT_NE(Drawn(caption), nullptr) << caption;
}

TEST_F(TFront_End_Dialogs_Test, ProgressBarWidths) {
    struct TCase {
        int32_t percent, width;
    };
    const std::vector<TCase> cases = {{-5, 0}, {0, 0}, {1, 2}, {50, 143}, {99, 283}, {100, 286}, {250, 286}};
    const uint32_t blue = Gx_Rgb_To_Color(0, 0, 200);
    for (const TCase& c : cases) {
        TDC_Dlg_Progress box;
        Open(box, "Dlg Progress");
        box.Set_Percent(c.percent);
        EXPECT_EQ(box.Get_Percent(), std::clamp(c.percent, 0, 100));
        EXPECT_EQ(box.Bar_Width(), c.width);
        Frame();
        const int32_t left = box.Left + 24;
        for (const int32_t y : {box.Top + 87, box.Top + 106}) {
            if (c.width > 0) {
                EXPECT_EQ(Raw(0, left, y), blue) << c.percent;
                EXPECT_EQ(Raw(0, left + c.width - 1, y), blue) << c.percent;
            }
            EXPECT_NE(Raw(0, left + c.width, y), blue) << c.percent;
        }
        EXPECT_NE(Raw(0, left, box.Top + 86), blue);
        EXPECT_NE(Raw(0, left, box.Top + 107), blue);
        if (box.Parent) box.Parent->Remove_Child_Control(&box);
    }
}

TEST_F(TFront_End_Dialogs_Test, ProgressCaptionAndPointerFlag) {
    EXPECT_EQ(Display_Object()->Pointer_Hidden, 0);
    {
        TDC_Dlg_Progress* box = Open_Progress_Box(Root, "  Загрузка...  ", true);
        EXPECT_EQ(box->Name, "Dlg Progress");
        EXPECT_EQ(box->Left, 233);
        EXPECT_EQ(box->Top, 233);
        EXPECT_TRUE(box->Get_Draw_Background());
        EXPECT_EQ(Display_Object()->Pointer_Hidden, 1);
        Frame();
        const auto* caption = Drawn("  Загрузка...  ");
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(Centre_X(*caption), box->Left + 168);
        EXPECT_EQ(Centre_Y(*caption), box->Top + 48);
        EXPECT_EQ(caption->Rgb, 0x0A0A0Au);
        box->Set_Caption("Сохранение... ");
        End_Progress_Box(*box);
        EXPECT_EQ(box->Get_Percent(), 100);
        EXPECT_TRUE(box->Kill);
        EXPECT_EQ(box->Get_Caption(), "Сохранение... ");
        delete box;
    }
    EXPECT_EQ(Display_Object()->Pointer_Hidden, 0);
}

} // namespace
