// The display object as the world model's display seam: display-effect frames from their extra bitmap,
// and texts that land on the buffer they are drawn for.
#include "media/DisplayEffects.h"
#include "media/DisplayFont.h"
#include "media/DisplayGxFont.h"
#include "tests/media/DisplayFixture.h"
#include "tests/support/CoreTestSupport.h"

#include <string>

namespace {

class Display_Seam : public TDisplay_Test {
protected:
    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(32);
        Write_Coded_Interface();
        Write_Coded("Pictures/SysPics/fx.bmp", Coded_Extra);
        // Four frames of 32 x 32 to a line, the strip starting at 2 x 64, 1 x 32.
        Folder.Write("Data/Effects.txt",
                     Data_File_Text({{{"Number Of Effect Bitmaps", "1"}, {"Bitmap 1 Name", "fx.bmp"}},
                                     Effect("Strip", "4", "1"),
                                     Effect("No lines", "0", "1"),
                                     Effect("Other bitmap", "4", "2")}));
        ASSERT_TRUE(Load_Display_Effects());
        Object = &Make_Display();
        Object->Load_Graphics();
        ASSERT_EQ(Object->Extra_Bitmap_Count, 1);
    }
    static TKeys Effect(const std::string& name, const std::string& per_line, const std::string& bitmap) {
        return {{"Name", name},
                {"Type", "Frames"},
                {"Bitmap Index", bitmap},
                {"Bitmap Square X Offset", "64"},
                {"Bitmap Square Y Offset", "32"},
                {"Bitmap Start Xpos", "2"},
                {"Bitmap Start Ypos", "1"},
                {"Bitmap End Xpos", "0"},
                {"Bitmap End Ypos", "0"},
                {"Bitmap Picture Width", "32"},
                {"Bitmap Picture Height", "32"},
                {"Total Number Of Frames", "8"},
                {"Frames Per Line", per_line},
                {"Animation Loop Count", "0"},
                {"Animation Speed", "100"},
                {"Damage FX At End", "FALSE"}};
    }
    TDisplay_Object* Object = nullptr;
};

TEST_F(Display_Seam, EffectFramesComeFromTheirStripCentredInTheSquare) {
    struct TCase {
        int32_t Effect, Frame;
        int32_t Source_X, Source_Y; // -1: nothing drawn
    };
    const TCase cases[] = {
        {1, 1, 128, 32}, {1, 5, 128, 64}, {1, 6, 160, 64}, {1, 4, 224, 32},
        {1, 0, -1, -1},  {2, 1, -1, -1},  {3, 1, -1, -1},  {4, 1, -1, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Effect) + " frame " + std::to_string(c.Frame));
        // Once through the table's own routine, once through the seam the sprites draw through.
        for (int32_t route = 0; route < 2; ++route) {
            Clear_Page();
            if (route == 0) {
                if (const TDisplay_Effect* effect = Get_Display_Effect(c.Effect))
                    Draw_Frame(*Object, *effect, 0, 200, c.Frame, 100);
            } else {
                Display_Sink().Draw_Display_Effect_Frame(0, 200, 100, c.Effect, c.Frame);
            }
            if (c.Source_X < 0) {
                EXPECT_FALSE(Page_Has_Pixels());
                continue;
            }
            // 11 = (54 - 32) / 2 across, 9 = (54 - 32) / 2 - 2 down.
            EXPECT_EQ(Raw(0, 211, 109), Code(Coded_Extra, c.Source_X, c.Source_Y));
            EXPECT_EQ(Raw(0, 242, 140), Code(Coded_Extra, c.Source_X + 31, c.Source_Y + 31));
            EXPECT_EQ(Raw(0, 243, 140), 0u);
            EXPECT_EQ(Raw(0, 211, 108), 0u);
        }
    }
    // Positions past anything a bitmap holds.
    TDisplay_Effect far = *Get_Display_Effect(1);
    far.Start_Xpos = far.Square_X_Offset = 65535;
    Clear_Page();
    Draw_Frame(*Object, far, 0, 200, 1, 100);
    EXPECT_FALSE(Page_Has_Pixels());
}

TEST_F(Display_Seam, TextsLandOnTheirBufferAndLeaveTheOpenPageAlone) {
    Load_External_Resources();
    int32_t card = 0;
    ASSERT_TRUE(Object->Alloc_Virtual_Buffer("card", card, true, false, 40, 60));
    Begin_Text(0);
    TDisplay_Sink& seam = Display_Sink();
    seam.Set_Text_Style(1);
    seam.Set_Text_Color(255, 255, 255);
    seam.Set_Text_Justify(1, 5);
    seam.Draw_Text(card, 2, 3, "7");
    ASSERT_EQ(Text->Calls.size(), 1u);
    EXPECT_EQ(Text->Calls[0].Surface, Gx_Buffer_Surface(card));
    EXPECT_EQ(Text->Calls[0].Text, "7");
    EXPECT_EQ(Text->Calls[0].Rgb, 0xFFFFFFu);
    EXPECT_EQ(Text->Calls[0].X * 100 + Text->Calls[0].Y, 203) << "left and top at the point";
    EXPECT_EQ(Text->Calls[0].Font, Style_Font(1)->Handle);
    EXPECT_EQ(Gx_Active_Buffer(), 0);
    // The page opened before is still where text goes.
    Draw_Text(10, 10, "x");
    ASSERT_EQ(Text->Calls.size(), 2u);
    EXPECT_EQ(Text->Calls[1].Surface, Gx_Buffer_Surface(0));
    End_Text(0);
    Free_External_Resources();
}

} // namespace
