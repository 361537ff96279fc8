// The world model's progress seam bound to the progress box: saving, loading and module creation report
// how far they have come through the seam, and the game screen shows it in its progress box, which draws a
// whole frame at every percent. The screen that owns the box implements the host; the sink only forwards.
#pragma once

#include "core/ProgressSeam.h"

#include <cstdint>
#include <string>

class TDC_Dlg_Progress;

class TProgress_Host {
public:
    virtual ~TProgress_Host() = default;
    // Opens the progress box with the caption at 0 % (or reuses the one already open).
    virtual void Show_Progress(const std::string& caption) = 0;
    // The open box, or null.
    virtual TDC_Dlg_Progress* Progress_Dialog() = 0;
    // The open box's percent; it draws a frame before returning.
    virtual void Set_Progress(int32_t percent) = 0;
    // 100 %, then the box closes itself.
    virtual void End_Progress() = 0;
};

class TDialog_Progress_Sink : public TProgress_Sink {
public:
    explicit TDialog_Progress_Sink(TProgress_Host& host) : Host_(host) {}
    void Open_Progress(const std::string& caption) override { Host_.Show_Progress(caption); }
    void Set_Progress_Caption(const std::string& caption) override;
    // Nothing while no box is open: a report after the box was closed must not open a new one.
    void Set_Progress(int32_t percent) override;
    void Close_Progress() override;

private:
    TProgress_Host& Host_;
};
