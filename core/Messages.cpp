#include "core/Messages.h"

#include <iostream>

namespace {
std::shared_ptr<TMessage_Sink> Installed_Sink;
}

void TStderr_Message_Sink::Show_Message(const std::string& caption, const std::string& text) {
    std::cerr << caption << ": " << text << std::endl;
}

void TStderr_Message_Sink::Show_Error_List(const TString_List& list, const std::string& heading,
                                           const std::string& file_name) {
    std::cerr << heading << file_name << std::endl;
    for (const std::string& line : list) std::cerr << "  " << line << std::endl;
}

TMessage_Sink& Message_Sink() {
    if (!Installed_Sink) Installed_Sink = std::make_shared<TStderr_Message_Sink>();
    return *Installed_Sink;
}

void Install_Message_Sink(std::shared_ptr<TMessage_Sink> sink) {
    Installed_Sink = std::move(sink);
}
