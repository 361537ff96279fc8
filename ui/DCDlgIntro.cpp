#include "ui/DCDlgIntro.h"

#include "core/Clock.h"
#include "core/DebugLog.h"
#include "core/GameSettings.h"
#include "media/DisplayObject.h"
#include "media/GfxDevice.h"
#include "media/Sounds.h"
#include "ui/DlgMain.h"

namespace {
const char* const Unit = "DCDlgIntro";

// The intro shows the menu's picture and the menu the intro's: the two files are named the other way round,
// and the shipped pictures follow that.
const char* const Intro_Picture = "Dlg_MM.bmp";
} // namespace

TDC_Dlg_Intro::TDC_Dlg_Intro()
    : TDC_Dlg_Picture("TDC_Dlg_Intro", Intro_Picture, Dialog_Width, Dialog_Height, true) {
    if (!Picture_Loaded()) {
        Log(Unit, "  ERROR: gx_vbopen = " + std::to_string(Picture_Open_Code()));
        Finish_Pending_Work();
        Set_Kill_Object(1);
    }
    Start_Time_ = Get_Ticks_64();
}

void TDC_Dlg_Intro::Handle_DrawPage(int32_t page) {
    TDC_Dlg_Picture::Handle_DrawPage(page);
    const uint64_t elapsed = Get_Ticks_64() - Start_Time_;
    if (elapsed >= Close_After_Ms && !Bitmaps_Pending_ && Music_Started_ && Drawn_Once_ && !Kill)
        Set_Kill_Object(1);
    if (elapsed >= Load_After_Ms && Bitmaps_Pending_ && Music_Started_ && Drawn_Once_) Load_Pictures();
    if (Sound_Start_Pending() && Drawn_Once_) Start_Sound();
    Drawn_Once_ = true;
}

void TDC_Dlg_Intro::Finish_Pending_Work() {
    if (Bitmaps_Pending_) Load_Pictures();
    if (Sound_Start_Pending()) Start_Sound();
}

void TDC_Dlg_Intro::Load_Pictures() {
    if (TDisplay_Object* display = Display_Object()) display->Load_Graphics();
    Bitmaps_Pending_ = false;
}

void TDC_Dlg_Intro::Start_Sound() {
    Sounds().Sound_Intialize_Sound_System();
    Sounds().Sound_Start_Music(Game_Settings() ? Game_Settings()->Music_Song_Intro : std::string());
    Sound_Start_Pending() = false;
    Music_Started_ = true;
}
