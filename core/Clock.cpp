#include "core/Clock.h"

#include <chrono>

namespace {
using Steady = std::chrono::steady_clock;
const Steady::time_point Start_Time = Steady::now();
bool Manual = false;
uint64_t Manual_Ms = 0;
} // namespace

uint64_t Get_Ticks_64() {
    if (Manual) return Manual_Ms;
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - Start_Time).count());
}

void Set_Manual_Clock(uint64_t ms) {
    Manual = true;
    Manual_Ms = ms;
}

void Advance_Manual_Clock(uint64_t ms) {
    if (!Manual) Set_Manual_Clock(Get_Ticks_64());
    Manual_Ms += ms;
}

void Use_System_Clock() {
    Manual = false;
}
