// Whether the tool's window can open here. Qt ends the whole process when its platform plugin cannot
// reach the display (DISPLAY set with no X server behind it), so the plugin is started first in a child
// process; the tool falls back to its command line when the child does not come up.
#pragma once

#include <string>

// True when the window system starts; otherwise false with the reason in one line (Qt's first message).
bool Window_Platform_Starts(std::string& reason);
