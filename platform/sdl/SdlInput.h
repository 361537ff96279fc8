// SDL's window, mouse and keyboard events in the program's terms (see TInput_Event). The translator keeps
// which buttons are down, so a move carries their bits, a press its own button's bit, and losing the focus
// can deliver the releases the window will never hear.
#pragma once

#include "platform/DisplayBackend.h"

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace plat {

// The virtual-key code of a key by its place on the keyboard (so a Cyrillic layout still gives A..Z);
// 0 for a key the game does not use.
uint16_t Virtual_Key_Of(SDL_Scancode scancode);
// Shift, Alt and Ctrl bits of SDL's modifier state.
int32_t Shift_Of_Modifiers(uint16_t modifiers);

class TSdl_Input_Translator {
public:
    // Appends what the event means to out (nothing for events the game does not use). modifiers: SDL's
    // modifier state at the event (a key event carries its own and uses that instead).
    void Translate(const SDL_Event& event, uint16_t modifiers, std::vector<TInput_Event>& out);
    // Shift bits of the buttons held now.
    int32_t Held_Buttons() const { return Held_; }

private:
    int32_t Held_ = 0;
    int32_t Last_X_ = 0, Last_Y_ = 0;
};

} // namespace plat
