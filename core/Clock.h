// The program's millisecond clock. Tests replace it with a manual clock they advance themselves, so
// timers, sprites and the log can be driven without waiting.
#pragma once

#include <cstdint>

// Milliseconds since the program started (or the manual clock's value).
uint64_t Get_Ticks_64();
// The same, cut to 32 bits as the log prints it.
inline uint32_t Get_Ticks() {
    return static_cast<uint32_t>(Get_Ticks_64());
}

// Switches to a manual clock that stands at ms until set or advanced again.
void Set_Manual_Clock(uint64_t ms);
void Advance_Manual_Clock(uint64_t ms);
// Back to the system's monotonic clock.
void Use_System_Clock();
