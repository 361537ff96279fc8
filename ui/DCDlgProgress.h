// The progress box of long work (module creation, loading and saving, changes of map): a caption and a bar.
// Every percent set draws one whole frame at once, so the box moves while the work keeps the one thread.
// While the box exists the frame draws neither the pointer nor the item held at it.
#pragma once

#include "ui/DCDlgPicture.h"

#include <cstdint>
#include <string>

class TDC_Dlg_Progress : public TDC_Dlg_Picture {
public:
    static constexpr int32_t Dialog_Width = 333;
    static constexpr int32_t Dialog_Height = 134;
    // The bar: its left and its top and bottom rows, and its width at 100 %.
    static constexpr int32_t Bar_Left = 24;
    static constexpr int32_t Bar_Top = 87;
    static constexpr int32_t Bar_Bottom = 106;
    static constexpr int32_t Bar_Full_Width = 286;

    TDC_Dlg_Progress();
    ~TDC_Dlg_Progress() override;

    void Handle_DrawPage(int32_t page) override;
    // Takes no keys: Escape does not close it.
    void Handle_KeyDown(uint16_t&, int32_t) override {}

    // Replaces the caption; drawn by the next frame.
    void Set_Caption(const std::string& caption) { Caption = caption; }
    // Holds n to 0..100, then draws a whole frame before returning.
    void Set_Percent(int32_t n);
    // While the box is open and the flag set, the game screen clears the page to black behind it.
    void Set_Draw_Background(bool flag) { Draw_Background = flag; }

    const std::string& Get_Caption() const { return Caption; }
    int32_t Get_Percent() const { return Percent; }
    bool Get_Draw_Background() const { return Draw_Background; }
    // The filled width of the bar in pixels.
    int32_t Bar_Width() const { return Percent * Bar_Full_Width / 100; }

private:
    std::string Caption = "Progress";
    int32_t Percent = 0;
    bool Draw_Background = false;
};

// Opens the progress box as the parent's child the way the game screen keeps it: "Dlg Progress", centred,
// not modal, visible, with the caption at 0 %. draw_background: the page behind it is cleared to black (a
// module start) rather than showing the game screen (loading, saving, a change of map). The parent owns the
// box and frees it when the box has closed itself.
TDC_Dlg_Progress* Open_Progress_Box(TDisplay_Class& parent, const std::string& caption, bool draw_background);
// 100 %, then the box closes itself.
void End_Progress_Box(TDC_Dlg_Progress& box);
