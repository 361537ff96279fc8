// The root control: the whole page, parent of every dialog and window of the game. The main window hands
// it every mouse event, key and frame, calls its tick every 50 ms and closes the program when it sets its
// own Kill. It opens the program-wide message and error-list boxes, and the progress box of long work.
//
// What is here is the frame of the game screen: a black page, an empty tick, the two message boxes and the
// progress hooks. The game screen's controller derives from it and fills in the rest.
#pragma once

#include "core/SaveStream.h"
#include "ui/DisplayClass.h"

#include <cstdint>
#include <string>

class TDC_Dlg_Message;
class TDC_Dlg_ErrorList;

class TDC_Main : public TDisplay_Class {
public:
    TDC_Main();
    ~TDC_Main() override;

    int32_t Get_Width() override { return Screen_Width; }
    int32_t Get_Height() override { return Screen_Height; }
    void Kill_Child_Control(const std::string& name) override;
    // The page is black; the game screen draws its map and panels here.
    void Handle_DrawPage(int32_t page) override;

    // One tick of game time: counter runs 1..20, 0, ...; rate is the ticks per second (20).
    virtual void Process_Tick(int32_t counter, double rate);
    // Pausing the world while a dialog that stops time is open.
    virtual void Set_Paused(bool paused);
    bool Is_Paused() const { return Paused; }

    // A centred modal message box over everything; dropped while one is open.
    void Show_Message(const std::string& caption, const std::string& text);
    // A centred modal box with a data file's errors under the heading and the file name; dropped while one
    // is open. line_spacing selects the list's spacing and is not used by the box.
    void Show_Error_List(const TString_List& list, const std::string& heading, bool line_spacing,
                         const std::string& file_name);

    // The progress box of long work; each percent draws one whole frame before the work goes on. The game
    // screen's controller replaces these with its progress dialog.
    virtual void Open_Progress(const std::string& caption);
    virtual void Set_Progress_Caption(const std::string& caption);
    virtual void Set_Progress(int32_t percent);
    virtual void Close_Progress();

    TDC_Dlg_Message* Message_Dlg = nullptr;      // owned while open
    TDC_Dlg_ErrorList* Error_List_Dlg = nullptr; // owned while open

protected:
    bool Paused = false;
};
