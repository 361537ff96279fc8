// The intro box: the first thing on screen. Its first frame shows the box only; the next one starts the
// sound system and the intro music; the first frame 2 s after it opened (and after the music) loads every
// game picture, which may take long; the first frame 5 s after it opened (and after the pictures) closes it.
// With no frames drawn it waits for ever.
#pragma once

#include "ui/DCDlgPicture.h"

#include <cstdint>

class TDC_Dlg_Intro : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 266;
    static constexpr int32_t Dialog_Height = 200;
    static constexpr uint64_t Load_After_Ms = 2000;
    static constexpr uint64_t Close_After_Ms = 5000;

    TDC_Dlg_Intro();

    void Handle_DrawPage(int32_t page) override;
    // Takes no keys: Escape does not close it.
    void Handle_KeyDown(uint16_t&, int32_t) override {}

    bool Bitmaps_Pending() const { return Bitmaps_Pending_; }
    bool Music_Started() const { return Music_Started_; }

private:
    // What the intro's frames would have done: the pictures and the sound with its music. A box that closes
    // before its frames ran (its buffer failed) does it on the way out, or the game would run without them.
    void Finish_Pending_Work();
    void Load_Pictures();
    void Start_Sound();

    uint64_t Start_Time_ = 0;
    bool Bitmaps_Pending_ = true;
    bool Music_Started_ = false;
    bool Drawn_Once_ = false;
};
