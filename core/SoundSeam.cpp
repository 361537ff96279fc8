#include "core/SoundSeam.h"

namespace {
std::shared_ptr<TSound_Sink> Installed_Sink;
}

TSound_Sink& Sound_Sink() {
    if (!Installed_Sink) Installed_Sink = std::make_shared<TSilent_Sound_Sink>();
    return *Installed_Sink;
}

void Install_Sound_Sink(std::shared_ptr<TSound_Sink> sink) {
    Installed_Sink = std::move(sink);
}
