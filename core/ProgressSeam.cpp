#include "core/ProgressSeam.h"

namespace {
std::shared_ptr<TProgress_Sink> Installed_Sink;
}

TProgress_Sink& Progress_Sink() {
    if (!Installed_Sink) Installed_Sink = std::make_shared<TNo_Progress_Sink>();
    return *Installed_Sink;
}

void Install_Progress_Sink(std::shared_ptr<TProgress_Sink> sink) {
    Installed_Sink = std::move(sink);
}
