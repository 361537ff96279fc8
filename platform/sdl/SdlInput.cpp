#include "platform/sdl/SdlInput.h"

namespace plat {

namespace {

// SDL numbers the buttons left 1, middle 2, right 3.
bool Button_Of(uint8_t sdl_button, int32_t& button, int32_t& bit) {
    switch (sdl_button) {
    case SDL_BUTTON_LEFT: button = Button_Left, bit = Shift_Left; return true;
    case SDL_BUTTON_RIGHT: button = Button_Right, bit = Shift_Right; return true;
    case SDL_BUTTON_MIDDLE: button = Button_Middle, bit = Shift_Middle; return true;
    default: return false;
    }
}

} // namespace

uint16_t Virtual_Key_Of(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<uint16_t>('A' + (scancode - SDL_SCANCODE_A));
    // The digit row runs 1..9 then 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return static_cast<uint16_t>('1' + (scancode - SDL_SCANCODE_1));
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return static_cast<uint16_t>(112 + (scancode - SDL_SCANCODE_F1));
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_PERIOD: return 190;
    default: return 0;
    }
}

int32_t Shift_Of_Modifiers(uint16_t modifiers) {
    int32_t shift = 0;
    if (modifiers & KMOD_SHIFT) shift |= Shift_Key;
    if (modifiers & KMOD_ALT) shift |= Shift_Alt;
    if (modifiers & KMOD_CTRL) shift |= Shift_Ctrl;
    return shift;
}

void TSdl_Input_Translator::Translate(const SDL_Event& event, uint16_t modifiers,
                                      std::vector<TInput_Event>& out) {
    TInput_Event e;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        Last_X_ = event.motion.x;
        Last_Y_ = event.motion.y;
        e.Kind = TInput_Kind::Mouse_Move;
        e.Shift = Shift_Of_Modifiers(modifiers) | Held_;
        e.X = Last_X_;
        e.Y = Last_Y_;
        out.push_back(e);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int32_t bit = 0;
        if (!Button_Of(event.button.button, e.Button, bit)) return;
        const bool down = event.type == SDL_MOUSEBUTTONDOWN;
        // A press carries its own button's bit, a release no longer does.
        if (down)
            Held_ |= bit;
        else
            Held_ &= ~bit;
        Last_X_ = event.button.x;
        Last_Y_ = event.button.y;
        e.Kind = down ? TInput_Kind::Mouse_Down : TInput_Kind::Mouse_Up;
        e.Shift = Shift_Of_Modifiers(modifiers) | Held_;
        if (down && event.button.clicks == 2) e.Shift |= Shift_Double;
        e.X = Last_X_;
        e.Y = Last_Y_;
        out.push_back(e);
        return;
    }
    case SDL_KEYDOWN:
        // Repeats are passed on: a held arrow key scrolls.
        e.Key = Virtual_Key_Of(event.key.keysym.scancode);
        if (e.Key == 0) return;
        e.Kind = TInput_Kind::Key_Down;
        e.Shift = Shift_Of_Modifiers(event.key.keysym.mod) | Held_;
        out.push_back(e);
        return;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED: e.Kind = TInput_Kind::Activate; break;
        case SDL_WINDOWEVENT_FOCUS_LOST: {
            // The releases of the buttons still down would go to another program: deliver them here, so
            // no control stays pressed.
            const int32_t modifier_bits = Shift_Of_Modifiers(modifiers);
            const std::pair<int32_t, int32_t> buttons[] = {
                {Button_Left, Shift_Left}, {Button_Right, Shift_Right}, {Button_Middle, Shift_Middle}};
            for (const auto& [button, bit] : buttons) {
                if (!(Held_ & bit)) continue;
                Held_ &= ~bit;
                TInput_Event up;
                up.Kind = TInput_Kind::Mouse_Up;
                up.Button = button;
                up.Shift = modifier_bits | Held_;
                up.X = Last_X_;
                up.Y = Last_Y_;
                out.push_back(up);
            }
            e.Kind = TInput_Kind::Deactivate;
            break;
        }
        case SDL_WINDOWEVENT_EXPOSED: e.Kind = TInput_Kind::Paint; break;
        default: return;
        }
        out.push_back(e);
        return;
    case SDL_QUIT:
        e.Kind = TInput_Kind::Quit;
        out.push_back(e);
        return;
    default: return;
    }
}

} // namespace plat
