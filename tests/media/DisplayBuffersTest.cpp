// The display object's buffers: the allocation's log lines and its fall-back from video to system memory,
// what a failed allocation leaves behind, and what freeing gives back.
#include "tests/media/DisplayFixture.h"
#include "tests/support/CoreTestSupport.h"

#include <string>
#include <utility>
#include <vector>

namespace {

class Display_Buffers : public TDisplay_Test {
protected:
    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(32);
    }
    static std::vector<std::string> Allocation_Lines(const std::string& name, int32_t width, int32_t height,
                                                     const std::vector<std::string>& middle) {
        std::vector<std::string> lines = {
            "TDisplay_Object.Alloc_Virtual_Buffer - Start", "  Buffer Name:   " + name,
            "  Buffer Width:  " + std::to_string(width), "  Buffer Height: " + std::to_string(height)};
        lines.insert(lines.end(), middle.begin(), middle.end());
        lines.push_back("TDisplay_Object.Alloc_Virtual_Buffer - End");
        return lines;
    }
};

// The status a driver gives when video memory runs out, as the log prints it.
const std::string Out_Of_Video = std::to_string(static_cast<int32_t>(0x8876017C));

TEST_F(Display_Buffers, VideoMemoryFailsOnceThenEveryRequestGoesToSystemMemory) {
    TDisplay_Object display;
    int32_t first = 0, second = 0, third = 0;
    ASSERT_TRUE(display.Alloc_Virtual_Buffer("Fits", first, true, true, 10, 20));
    EXPECT_GE(first, 1);
    EXPECT_EQ(Log_Lines, Allocation_Lines("Fits", 20, 10, {"  gx_ddmemory(1)", "    (DDStatus = 0)"}));

    // Video memory now holds nothing more.
    Display->Video_Budget = 20 * 10 * 4;
    Log_Lines.clear();
    ASSERT_TRUE(display.Alloc_Virtual_Buffer("Video Full", second, true, true, 5, 7));
    EXPECT_GT(second, first);
    EXPECT_EQ(display.Video_Memory_Exhausted, 1);
    EXPECT_EQ(Log_Lines,
              Allocation_Lines("Video Full", 7, 5,
                               {"  gx_ddmemory(1)", "    (DDStatus = 0)",
                                "  VIDMEM - Error allocating virtual buffer: Video Full", "  gx_vballoc = -2",
                                "  gx_ddmemory(0)", "    (DDStatus = " + Out_Of_Video + ")"}));

    // From now on video memory is not even tried.
    Display->Video_Budget = -1;
    Log_Lines.clear();
    ASSERT_TRUE(display.Alloc_Virtual_Buffer("Later", third, true, true, 3, 4));
    EXPECT_EQ(Log_Lines, Allocation_Lines("Later", 4, 3, {"  gx_ddmemory(0)", "    (DDStatus = 0)"}));
    EXPECT_TRUE(Messages->Messages.empty());
}

TEST_F(Display_Buffers, AFailedAllocationReportsAndLeavesEveryOtherBufferAlone) {
    TDisplay_Object display;
    int32_t kept = 0;
    ASSERT_TRUE(display.Alloc_Virtual_Buffer("Kept", kept, true, false, 4, 4));
    Put_Raw(kept, 1, 1, 0x123456);
    Put_Raw(0, 2, 2, 0x654321);

    struct TCase {
        bool Show_Error;
        int32_t Height, Width;
        std::string Status; // of the call before: the first failure's follows a success
    };
    const std::string invalid = std::to_string(static_cast<int32_t>(0x80070057));
    for (const TCase& c : {TCase{true, 0, 10, "0"}, TCase{false, 10, 16385, invalid}}) {
        Log_Lines.clear();
        Messages->Messages.clear();
        int32_t handle = 0;
        EXPECT_FALSE(display.Alloc_Virtual_Buffer("Broken", handle, c.Show_Error, false, c.Height, c.Width));
        EXPECT_EQ(handle, -2);
        EXPECT_EQ(Log_Lines, Allocation_Lines("Broken", c.Width, c.Height,
                                              {"  gx_ddmemory(0)", "    (DDStatus = " + c.Status + ")",
                                               "  SYSMEM - Error allocating virtual buffer: Broken",
                                               "  gx_vballoc = -2"}));
        ASSERT_EQ(Messages->Messages.size(), c.Show_Error ? 1u : 0u);
        if (c.Show_Error) {
            EXPECT_EQ(Messages->Messages[0].Caption, "Error");
            EXPECT_EQ(Messages->Messages[0].Text, "Error allocating virtual buffer: Broken");
        }
        EXPECT_EQ(Raw(kept, 1, 1), 0x123456u);
        EXPECT_EQ(Raw(0, 2, 2), 0x654321u);
    }
}

TEST_F(Display_Buffers, ADialogWhoseBufferFailedClosesWithoutTakingOtherBuffers) {
    Write_Coded_Interface();
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    const int32_t sheet = display.Interface_Sheets[Sheet_General];
    ASSERT_GE(sheet, 1);
    Write_Picture("Pictures/SysPics/Dlg_Message.bmp", 8, 8, [](int32_t, int32_t) { return 0x204060u; });

    // The dialog's buffer cannot be made: nothing is loaded, and the picture lands nowhere.
    gx_vbopen(0);
    Clear_Page();
    int32_t dialog = 0;
    EXPECT_FALSE(display.Load_Picture_Buffer("TDC_Dlg_Message",
                                             Folder.File("Pictures/SysPics/Dlg_Message.bmp"), 0, 8, dialog));
    EXPECT_LT(dialog, 1);
    EXPECT_FALSE(Page_Has_Pixels());

    // Its close with no buffer active must not release every buffer.
    Gx_Deselect_Buffer();
    TDisplay_Object::Release_Buffer(dialog);
    EXPECT_EQ(dialog, 0);
    EXPECT_NE(Gx_Buffer_Surface(0), nullptr);
    EXPECT_NE(Gx_Buffer_Surface(sheet), nullptr);

    // A dialog that works: its picture with magenta turned black, then given back.
    Write_Picture("Pictures/SysPics/Dlg_Message.bmp", 8, 8,
                  [](int32_t x, int32_t) { return x == 0 ? 0xFF00FFu : 0x204060u; });
    ASSERT_TRUE(display.Load_Picture_Buffer("TDC_Dlg_Message",
                                            Folder.File("Pictures/SysPics/Dlg_Message.bmp"), 8, 8, dialog));
    ASSERT_GE(dialog, 1);
    EXPECT_EQ(Raw(dialog, 0, 3), 0u);
    EXPECT_EQ(Raw(dialog, 1, 3), 0x204060u);
    const int32_t freed = dialog;
    TDisplay_Object::Release_Buffer(dialog); // it is still the active buffer
    EXPECT_EQ(Gx_Buffer_Surface(freed), nullptr);
}

TEST_F(Display_Buffers, EachSheetHasItsSizeAndItsMemoryInLoadingOrder) {
    Write_Coded_Interface();
    Write_Coded("Pictures/SysPics/fx.bmp", Coded_Extra);
    Folder.Write("Data/Effects.txt",
                 Data_File_Text({{{"Number Of Effect Bitmaps", "1"}, {"Bitmap 1 Name", "fx.bmp"}}}));
    ASSERT_TRUE(Load_Display_Effects());
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();

    // Each allocation's buffer name and whether video memory was tried for it.
    std::vector<std::pair<std::string, bool>> allocations;
    for (const std::string& line : Log_Lines) {
        if (line.rfind("  Buffer Name:   ", 0) == 0) allocations.emplace_back(line.substr(17), false);
        if (line == "  gx_ddmemory(1)") allocations.back().second = true;
    }
    const std::vector<std::pair<std::string, bool>> expected = {
        {"f_Display_Terrain_VB", true},
        {"f_Display_Monster_VB", true},
        {"f_Display_Item_VB", true},
        {"f_Tile_Hit_Workarea_VB", true},
        {"f_Display_Misc_VB", false},
        {"f_Display_General_VB", true},
        {"f_Display_Gen_Tiles_VB", true},
        {"f_Display_Damage_FX_VB", false},
        {"f_Display_Spells_VB", false},
        {"f_Display_Spells_Containers_VB", false},
        {"f_Display_Window_Buttons_VB", false},
        {"f_Display_Main_Round_Buttons_VB", false},
        {"f_Display_Small_Arrow_Buttons_VB", false},
        {"f_Display_Square_Icon_Buttons_VB", false},
        {"f_Display_Square_Frames_Buttons_VB", false},
        {"f_Display_Long_Square_Text_Buttons_VB", false},
        {"f_Display_Long_Rounded_Text_Buttons_VB", false},
        {"f_Display_Named_Square_Buttons_VB", false},
        {"f_Display_Blank_Named_Square_Buttons_VB", false},
        {"fx.bmp", false},
    };
    EXPECT_EQ(allocations, expected);

    // Sizes: the map sheets' own, the rest from their pictures (widths rounded up to 4).
    const auto size = [](int32_t handle) {
        const plat::TSurface* s = Gx_Buffer_Surface(handle);
        return s ? std::pair{s->Width, s->Height} : std::pair{0, 0};
    };
    EXPECT_EQ(size(display.Terrain_Sheet), std::pair(1080, 1080));
    EXPECT_EQ(size(display.Monster_Sheet), std::pair(1080, 540));
    EXPECT_EQ(size(display.Item_Sheet), std::pair(960, 960));
    EXPECT_EQ(size(display.Tile_Hit_Buffer), std::pair(56, 54));
    EXPECT_EQ(size(display.Interface_Sheets[Sheet_Main_Round_Buttons]), std::pair(460, 204));
    EXPECT_EQ(size(display.Extra_Bitmaps[1]), std::pair(256, 128));
}

TEST_F(Display_Buffers, TheObjectGivesBackEveryBufferItHolds) {
    Write_Coded_Interface();
    Write_Coded("Pictures/SysPics/fx.bmp", Coded_Extra);
    std::vector<int32_t> held;
    {
        TDisplay_Object& display = Make_Display();
        display.Load_Graphics();
        display.Load_Graphics(); // a second load replaces the first one's buffers
        ASSERT_TRUE(display.Load_Extra_Bitmap(3, "fx.bmp"));
        ASSERT_TRUE(display.Load_Extra_Bitmap(3, "fx.bmp"));
        EXPECT_EQ(display.Extra_Bitmap_Count, 3);
        EXPECT_EQ(display.Extra_Bitmaps[2], 0);
        ASSERT_TRUE(display.Load_Extra_Bitmap(1, "fx.bmp"));
        held = {display.Terrain_Sheet,   display.Monster_Sheet,    display.Item_Sheet,
                display.Tile_Hit_Buffer, display.Extra_Bitmaps[1], display.Extra_Bitmaps[3]};
        held.insert(held.end(), display.Interface_Sheets.begin(), display.Interface_Sheets.end());
    }
    // Page, 3 map sheets, the work area, 15 sheets and two extra bitmaps: nothing of the first load stays.
    int32_t taken = 0;
    for (int32_t handle = 0; handle < 256; ++handle) taken += Gx_Buffer_Surface(handle) != nullptr;
    EXPECT_EQ(taken, 22);
    Install_Display_Object(nullptr);
    for (int32_t handle : held) EXPECT_EQ(Gx_Buffer_Surface(handle), nullptr) << handle;
    EXPECT_NE(Gx_Buffer_Surface(0), nullptr);
}

} // namespace
