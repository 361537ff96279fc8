// How file work tells the player to wait: the mouse pointer becomes the busy cursor while a file is read or
// written and the normal one afterwards, also after a failure. The screen installs its own sink; without
// one nothing changes. Tests install the recorder.
#pragma once

#include <memory>
#include <vector>

class TBusy_Cursor_Sink {
public:
    virtual ~TBusy_Cursor_Sink() = default;
    virtual void Show_Busy_Cursor() = 0;
    virtual void Show_Normal_Cursor() = 0;
};

class TNo_Busy_Cursor_Sink : public TBusy_Cursor_Sink {
public:
    void Show_Busy_Cursor() override {}
    void Show_Normal_Cursor() override {}
};

// Every call in order: true for busy, false for normal.
class TRecording_Busy_Cursor_Sink : public TBusy_Cursor_Sink {
public:
    void Show_Busy_Cursor() override { Calls.push_back(true); }
    void Show_Normal_Cursor() override { Calls.push_back(false); }
    std::vector<bool> Calls;
};

// The sink in use (TNo_Busy_Cursor_Sink unless one was installed).
TBusy_Cursor_Sink& Busy_Cursor_Sink();
void Install_Busy_Cursor_Sink(std::shared_ptr<TBusy_Cursor_Sink> sink);

// The busy cursor for the life of the object; the normal one comes back however the scope is left.
class TBusy_Cursor_Scope {
public:
    TBusy_Cursor_Scope() { Busy_Cursor_Sink().Show_Busy_Cursor(); }
    ~TBusy_Cursor_Scope() { Busy_Cursor_Sink().Show_Normal_Cursor(); }
    TBusy_Cursor_Scope(const TBusy_Cursor_Scope&) = delete;
    TBusy_Cursor_Scope& operator=(const TBusy_Cursor_Scope&) = delete;
};
