// The display object's tests: a graphics library started headless, a program folder of the test's own
// with path settings, the recording message sink and the log lines the display object offers.
//
// Pictures are written by the test, byte by byte. Coded sheets give every pixel of every sheet its own
// colour, Code(sheet, x, y), so a probe of the page tells which sheet and which source pixel a cell routine
// copied; the codes are never black (the key) nor magenta (turned black on loading).
#pragma once

#include "core/DebugLog.h"
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "media/DisplayObject.h"
#include "tests/media/GfxFixture.h"
#include "tests/support/TempFolder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A 24-bit bottom-up BMP of w x h whose pixel x, y (from the top) has the colour rgb(x, y) = 0xRRGGBB.
inline std::string Bmp_File(int32_t w, int32_t h, const std::function<uint32_t(int32_t, int32_t)>& rgb) {
    const uint32_t row = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    const uint32_t size = 54 + row * static_cast<uint32_t>(h);
    std::string b;
    const auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
    };
    b += "BM";
    put(size, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(static_cast<uint32_t>(w), 4);
    put(static_cast<uint32_t>(h), 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    for (int32_t y = h - 1; y >= 0; --y) {
        for (int32_t x = 0; x < w; ++x) put(rgb(x, y), 3);
        for (uint32_t pad = static_cast<uint32_t>(w) * 3; pad < row; ++pad) b.push_back(0);
    }
    return b;
}

// Sheets of the coded pictures: the fifteen interface sheets, then the map sheets and one extra bitmap.
enum TCoded_Sheet : int32_t {
    Coded_Terrain = Interface_Sheet_Count,
    Coded_Monster,
    Coded_Item,
    Coded_Extra,
    Coded_Sheet_Count
};

struct TCoded_Size {
    int32_t Width, Height;
};
// Sizes that hold every cell the routines reach in tests.
inline const TCoded_Size Coded_Sizes[Coded_Sheet_Count] = {
    {184, 163}, {352, 96},    {324, 54},   {96, 320},  {684, 76},  {190, 152}, {276, 92},
    {459, 204}, {36, 112},    {266, 152},  {114, 152}, {200, 152}, {200, 204}, {102, 92},
    {224, 92},  {1080, 1080}, {1080, 540}, {960, 960}, {256, 128}};

inline const char* const Interface_File_Names[Interface_Sheet_Count] = {"misc.bmp",
                                                                        "gen.bmp",
                                                                        "tilegen.bmp",
                                                                        "DamageFX.bmp",
                                                                        "Spells.bmp",
                                                                        "SpellContainers.bmp",
                                                                        "ButtonsSmallSquare.bmp",
                                                                        "ButtonsMainRound.bmp",
                                                                        "ButtonsArrows.bmp",
                                                                        "ButtonsSquareIcons.bmp",
                                                                        "ButtonsSquareFrames.bmp",
                                                                        "ButtonsLongSquareText.bmp",
                                                                        "ButtonsLongRoundedText.bmp",
                                                                        "ButtonsSquareNamed.bmp",
                                                                        "ButtonsSquareNamedBlank.bmp"};

// Every sheet's pixels numbered one after the other, above 0x400000: never 0, never 0xFF00FF.
inline uint32_t Code(int32_t sheet, int32_t x, int32_t y) {
    uint32_t base = 0x400000;
    for (int32_t s = 0; s < sheet; ++s)
        base += static_cast<uint32_t>(Coded_Sizes[s].Width) * static_cast<uint32_t>(Coded_Sizes[s].Height);
    return base + static_cast<uint32_t>(y) * static_cast<uint32_t>(Coded_Sizes[sheet].Width) +
           static_cast<uint32_t>(x);
}

class TDisplay_Test : public TGfx_Test {
protected:
    void SetUp() override {
        TGfx_Test::SetUp();
        Saved_Base = Base_Folder();
        Set_Base_Folder(Program_Folder());
        Install_Path_Settings(std::make_unique<TPath_Settings>());
        Messages = std::make_shared<TRecording_Message_Sink>();
        Install_Message_Sink(Messages);
        Set_Log_Observer([this](const std::string& unit, const std::string& line) {
            if (unit == "DisplayObject") Log_Lines.push_back(line);
        });
    }
    void TearDown() override {
        Install_Display_Object(nullptr);
        Set_Player(nullptr);
        Install_Current_Map(nullptr);
        Free_Display_Effects();
        Set_Log_Observer(nullptr);
        Install_Message_Sink(nullptr);
        Install_Path_Settings(nullptr);
        Set_Base_Folder(Saved_Base);
        TGfx_Test::TearDown();
    }

    // The test's own folder; tests of the shipped content use the program folder the build assembles.
    virtual std::string Program_Folder() const { return Folder.Path(); }

    void Write_Picture(const std::string& relative, int32_t w, int32_t h,
                       const std::function<uint32_t(int32_t, int32_t)>& rgb) {
        Folder.Write(relative, Bmp_File(w, h, rgb));
    }
    // The coded picture of a sheet at path (its whole size, or one cell's part of it).
    void Write_Coded(const std::string& relative, int32_t sheet, int32_t left = 0, int32_t top = 0,
                     int32_t w = 0, int32_t h = 0) {
        if (w == 0) w = Coded_Sizes[sheet].Width;
        if (h == 0) h = Coded_Sizes[sheet].Height;
        Write_Picture(relative, w, h, [=](int32_t x, int32_t y) { return Code(sheet, left + x, top + y); });
    }
    void Write_Coded_Interface() {
        for (int32_t sheet = 0; sheet < Interface_Sheet_Count; ++sheet)
            Write_Coded(std::string("Pictures/SysPics/") + Interface_File_Names[sheet], sheet);
    }
    // A new display object, installed as the program's (and so as the world model's display seam).
    TDisplay_Object& Make_Display() {
        Install_Display_Object(std::make_unique<TDisplay_Object>());
        return *Display_Object();
    }
    // The page cleared to black and made active.
    void Clear_Page() {
        gx_vbopen(0);
        Gx_Set_Color(0);
        Gx_Fill_Page();
    }
    // Whether any pixel of the page is not black.
    bool Page_Has_Pixels() {
        const plat::TSurface& s = Surface(0);
        for (int32_t y = 0; y < s.Height; ++y)
            for (int32_t x = 0; x < s.Width; ++x)
                if (Raw(0, x, y) != 0) return true;
        return false;
    }

    TTemp_Folder Folder;
    std::shared_ptr<TRecording_Message_Sink> Messages;
    std::vector<std::string> Log_Lines;

private:
    std::string Saved_Base;
};
