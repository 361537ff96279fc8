#include "core/DisplaySeam.h"

namespace {
std::shared_ptr<TDisplay_Sink> Installed_Sink;
}

TDisplay_Sink& Display_Sink() {
    if (!Installed_Sink) Installed_Sink = std::make_shared<TNo_Display_Sink>();
    return *Installed_Sink;
}

void Install_Display_Sink(std::shared_ptr<TDisplay_Sink> sink) {
    Installed_Sink = std::move(sink);
}
