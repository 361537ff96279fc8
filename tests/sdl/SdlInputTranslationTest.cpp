// SDL's events as the window hands them on: virtual keys by key position, buttons renumbered, the Shift
// bits of modifiers and held buttons, double clicks, and the releases delivered when the focus goes.
#include "platform/sdl/SdlInput.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using plat::TInput_Event;
using plat::TInput_Kind;

SDL_Event Key(SDL_Scancode code, uint16_t mod = 0, uint8_t repeat = 0) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.scancode = code;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat;
    return e;
}

SDL_Event Button(bool down, uint8_t button, int32_t x, int32_t y, uint8_t clicks = 1) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    e.button.clicks = clicks;
    return e;
}

SDL_Event Motion(int32_t x, int32_t y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event Window(uint8_t what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    return e;
}

SDL_Event Of_Type(uint32_t type) {
    SDL_Event e{};
    e.type = type;
    return e;
}

TInput_Event Key_Event(uint16_t vk, int32_t shift = 0) {
    return {TInput_Kind::Key_Down, 0, shift, 0, 0, vk};
}
TInput_Event Mouse(TInput_Kind kind, int32_t button, int32_t shift, int32_t x, int32_t y) {
    return {kind, button, shift, x, y, 0};
}
TInput_Event Only(TInput_Kind kind) {
    return {kind, 0, 0, 0, 0, 0};
}

struct TStep {
    SDL_Event Event;
    uint16_t Modifiers; // SDL's state at the event (key events carry their own)
    std::vector<TInput_Event> Expected;
};

struct TCase {
    std::string Name;
    std::vector<TStep> Steps;
};

constexpr auto Down = TInput_Kind::Mouse_Down;
constexpr auto Up = TInput_Kind::Mouse_Up;
constexpr auto Move = TInput_Kind::Mouse_Move;

TEST(SdlInputTranslation, EventsBecomeTheWindowsKeysButtonsAndShiftBits) {
    const std::vector<TCase> cases = {
        {"letters and digits by position",
         {{Key(SDL_SCANCODE_A), 0, {Key_Event(65)}},
          {Key(SDL_SCANCODE_Z), 0, {Key_Event(90)}},
          {Key(SDL_SCANCODE_1), 0, {Key_Event(49)}},
          {Key(SDL_SCANCODE_9), 0, {Key_Event(57)}},
          {Key(SDL_SCANCODE_0), 0, {Key_Event(48)}}}},
        {"named keys",
         {{Key(SDL_SCANCODE_BACKSPACE), 0, {Key_Event(8)}},
          {Key(SDL_SCANCODE_ESCAPE), 0, {Key_Event(27)}},
          {Key(SDL_SCANCODE_SPACE), 0, {Key_Event(32)}},
          {Key(SDL_SCANCODE_LEFT), 0, {Key_Event(37)}},
          {Key(SDL_SCANCODE_UP), 0, {Key_Event(38)}},
          {Key(SDL_SCANCODE_RIGHT), 0, {Key_Event(39)}},
          {Key(SDL_SCANCODE_DOWN), 0, {Key_Event(40)}},
          {Key(SDL_SCANCODE_F1), 0, {Key_Event(112)}},
          {Key(SDL_SCANCODE_F12), 0, {Key_Event(123)}},
          {Key(SDL_SCANCODE_COMMA), 0, {Key_Event(188)}},
          {Key(SDL_SCANCODE_PERIOD), 0, {Key_Event(190)}}}},
        {"keys the game does not read give nothing",
         {{Key(SDL_SCANCODE_RETURN), 0, {}},
          {Key(SDL_SCANCODE_F13), 0, {}},
          {Key(SDL_SCANCODE_KP_1), 0, {}}}},
        {"modifiers of the key event, and repeats passed on",
         {{Key(SDL_SCANCODE_1, KMOD_LSHIFT), 0, {Key_Event(49, 1)}},
          {Key(SDL_SCANCODE_A, KMOD_RALT), KMOD_LSHIFT, {Key_Event(65, 2)}},
          {Key(SDL_SCANCODE_A, KMOD_LCTRL | KMOD_RSHIFT, 1), 0, {Key_Event(65, 5)}}}},
        {"buttons renumbered; a press has its bit, a release not",
         {{Button(true, SDL_BUTTON_LEFT, 10, 20), 0, {Mouse(Down, 0, 8, 10, 20)}},
          {Motion(11, 21), 0, {Mouse(Move, 0, 8, 11, 21)}},
          {Button(true, SDL_BUTTON_RIGHT, 12, 22), 0, {Mouse(Down, 1, 24, 12, 22)}},
          {Button(false, SDL_BUTTON_LEFT, 13, 23), 0, {Mouse(Up, 0, 16, 13, 23)}},
          {Button(false, SDL_BUTTON_RIGHT, 14, 24), KMOD_LCTRL, {Mouse(Up, 1, 4, 14, 24)}},
          {Button(true, SDL_BUTTON_MIDDLE, 1, 2), KMOD_LALT, {Mouse(Down, 2, 34, 1, 2)}},
          {Key(SDL_SCANCODE_B), 0, {Key_Event(66, 32)}},
          {Button(false, SDL_BUTTON_MIDDLE, 1, 2), 0, {Mouse(Up, 2, 0, 1, 2)}},
          {Button(true, SDL_BUTTON_X1, 1, 2), 0, {}},
          {Motion(5, 6), KMOD_LSHIFT, {Mouse(Move, 0, 1, 5, 6)}}}},
        {"a double click marks the press only",
         {{Button(true, SDL_BUTTON_LEFT, 5, 5, 2), 0, {Mouse(Down, 0, 72, 5, 5)}},
          {Button(false, SDL_BUTTON_LEFT, 5, 5, 2), 0, {Mouse(Up, 0, 0, 5, 5)}},
          {Button(true, SDL_BUTTON_LEFT, 5, 5, 3), 0, {Mouse(Down, 0, 8, 5, 5)}}}},
        {"losing the focus releases the held buttons where the pointer was",
         {{Button(true, SDL_BUTTON_LEFT, 30, 40), 0, {Mouse(Down, 0, 8, 30, 40)}},
          {Button(true, SDL_BUTTON_MIDDLE, 31, 41), 0, {Mouse(Down, 2, 40, 31, 41)}},
          {Window(SDL_WINDOWEVENT_FOCUS_LOST),
           KMOD_LSHIFT,
           {Mouse(Up, 0, 33, 31, 41), Mouse(Up, 2, 1, 31, 41), Only(TInput_Kind::Deactivate)}},
          {Button(false, SDL_BUTTON_LEFT, 31, 41), 0, {Mouse(Up, 0, 0, 31, 41)}},
          {Window(SDL_WINDOWEVENT_FOCUS_LOST), 0, {Only(TInput_Kind::Deactivate)}}}},
        {"window events",
         {{Window(SDL_WINDOWEVENT_FOCUS_GAINED), 0, {Only(TInput_Kind::Activate)}},
          {Window(SDL_WINDOWEVENT_EXPOSED), 0, {Only(TInput_Kind::Paint)}},
          {Window(SDL_WINDOWEVENT_RESIZED), 0, {}},
          {Of_Type(SDL_QUIT), 0, {Only(TInput_Kind::Quit)}},
          {Of_Type(SDL_TEXTINPUT), 0, {}}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        plat::TSdl_Input_Translator translator;
        for (size_t i = 0; i < c.Steps.size(); ++i) {
            SCOPED_TRACE(i);
            std::vector<TInput_Event> out;
            translator.Translate(c.Steps[i].Event, c.Steps[i].Modifiers, out);
            ASSERT_EQ(out.size(), c.Steps[i].Expected.size());
            for (size_t k = 0; k < out.size(); ++k) {
                EXPECT_EQ(static_cast<int>(out[k].Kind), static_cast<int>(c.Steps[i].Expected[k].Kind));
                EXPECT_EQ(out[k].Button, c.Steps[i].Expected[k].Button);
                EXPECT_EQ(out[k].Shift, c.Steps[i].Expected[k].Shift);
                EXPECT_EQ(out[k].X, c.Steps[i].Expected[k].X);
                EXPECT_EQ(out[k].Y, c.Steps[i].Expected[k].Y);
                EXPECT_EQ(out[k].Key, c.Steps[i].Expected[k].Key);
            }
        }
    }
}

} // namespace
