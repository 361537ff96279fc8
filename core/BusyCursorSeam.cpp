#include "core/BusyCursorSeam.h"

namespace {
std::shared_ptr<TBusy_Cursor_Sink> Installed_Sink;
}

TBusy_Cursor_Sink& Busy_Cursor_Sink() {
    if (!Installed_Sink) Installed_Sink = std::make_shared<TNo_Busy_Cursor_Sink>();
    return *Installed_Sink;
}

void Install_Busy_Cursor_Sink(std::shared_ptr<TBusy_Cursor_Sink> sink) {
    Installed_Sink = std::move(sink);
}
