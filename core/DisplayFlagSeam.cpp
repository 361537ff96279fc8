#include "core/DisplayFlagSeam.h"

#include "core/MapMain.h"

namespace {
std::shared_ptr<TDisplay_Flag_Sink> Installed_Sink;
}

bool TRecording_Display_Flag_Sink::Load_Map_Bitmaps(TMap& map) {
    Calls.push_back("bitmaps " + map.File_Name);
    return Answer;
}

TDisplay_Flag_Sink& Display_Flag_Sink() {
    if (!Installed_Sink) Installed_Sink = std::make_shared<TNo_Display_Flag_Sink>();
    return *Installed_Sink;
}

void Install_Display_Flag_Sink(std::shared_ptr<TDisplay_Flag_Sink> sink) {
    Installed_Sink = std::move(sink);
}
