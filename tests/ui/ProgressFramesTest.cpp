// The progress box inside the running window: every percent set draws one whole frame before the work goes
// on, and the pointer is hidden while the box exists.
#include "media/DisplayObject.h"
#include "platform/DisplayBackend.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/DCDlgProgress.h"

#include <gtest/gtest.h>

namespace {

TEST_F(TMain_Window_Test, EachPercentOfTheProgressBoxShowsOneFrame) {
    TRecording_Root* root = Start_Recording();
    ASSERT_NE(root, nullptr);
    const int32_t before = Game->display().Flip_Count;
    TDC_Dlg_Progress* box = Open_Progress_Box(*root, "Создание модуля", false);
    EXPECT_EQ(Game->display().Flip_Count, before + 1); // opened at 0 %
    EXPECT_EQ(Display_Object()->Pointer_Hidden, 1);
    const int32_t frames = root->Frames;
    for (const int32_t percent : {-5, 50, 250}) box->Set_Percent(percent);
    EXPECT_EQ(Game->display().Flip_Count, before + 4);
    EXPECT_EQ(root->Frames, frames + 3);
    End_Progress_Box(*box);
    EXPECT_EQ(Game->display().Flip_Count, before + 5);
    delete box;
    EXPECT_EQ(Display_Object()->Pointer_Hidden, 0);
}

} // namespace
