// The report saved as rich text: one fixed-pitch paragraph per line. The file is pure ASCII (every character
// beyond ASCII is written as a Unicode control word), so it is also valid UTF-8 and any word processor
// shows the same text the window holds.
#pragma once

#include "core/SaveStream.h"

#include <string>

std::string Report_Rtf(const TString_List& lines);
// Writes Report_Rtf(lines) to the file named exactly so (no extension added); false when the file cannot
// be written completely.
bool Save_Report_Rtf(const std::string& file_name, const TString_List& lines);
