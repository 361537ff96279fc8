// The game's entry: the log's banner, then either the window on the screen (SDL) or a scripted headless
// run:  murkrun --headless --base DIR --script FILE [--dump-dir D]
#include "murkrun/Entry.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    return Murkrun_Main(std::vector<std::string>(argv + 1, argv + argc));
}
