// The program folder the build assembles holds the message and error-list pictures at the boxes' sizes,
// and both boxes load them.
#include "media/GfxDevice.h"
#include "tests/ui/UiFixture.h"
#include "ui/DCDlgErrorList.h"
#include "ui/DCDlgMessage.h"

namespace {

class Shipped_Dialog_Pictures : public TUi_Test {
protected:
    std::string Program_Folder() const override { return MURK_RUNTIME_DIR; }
};

TEST_F(Shipped_Dialog_Pictures, EachBoxFindsItsPictureAtItsOwnSize) {
    Make_Display();
    TDC_Dlg_Message message;
    TDC_Dlg_ErrorList errors;
    for (TDC_Dlg_Picture* box : std::initializer_list<TDC_Dlg_Picture*>{&message, &errors}) {
        SCOPED_TRACE(box->Get_Width());
        EXPECT_TRUE(box->Picture_Loaded());
        const plat::TSurface* surface = Gx_Buffer_Surface(box->Picture_Buffer());
        ASSERT_NE(surface, nullptr);
        EXPECT_GE(surface->Width, box->Get_Width());
        EXPECT_EQ(surface->Height, box->Get_Height());
    }
    for (const auto& [file, w, h] : std::vector<std::tuple<std::string, int32_t, int32_t>>{
             {"Dlg_Message.bmp", 309, 213}, {"Dlg_ErrorList.bmp", 338, 348}}) {
        int32_t width = 0, height = 0;
        ASSERT_TRUE(Gx_Read_Bmp_Size(Path_Settings()->Get_SysPics_Picture(file), width, height)) << file;
        EXPECT_EQ(width, w) << file;
        EXPECT_EQ(height, h) << file;
    }
    EXPECT_TRUE(Messages->Messages.empty());
}

} // namespace
