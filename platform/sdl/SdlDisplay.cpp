// The screen over SDL2: one window, a renderer scaled to the logical screen, and a streaming texture in the
// pixel format of slot 0, so a frame is shown by one upload and one present.
#include "platform/sdl/SdlAudio.h"
#include "platform/sdl/SdlBackends.h"
#include "platform/sdl/SdlInput.h"

#include <SDL.h>

#include <cmath>
#include <deque>
#include <vector>

namespace plat {

namespace {

constexpr int32_t Sdl_Failure = static_cast<int32_t>(0x80004005); // a generic failure code

class TSdl_Display : public TDisplay_Backend {
public:
    explicit TSdl_Display(SDL_Window* window) : Window(window) {}
    ~TSdl_Display() override {
        if (Wait_Cursor) SDL_FreeCursor(Wait_Cursor);
        Close_Mode();
        SDL_DestroyWindow(Window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    int32_t Desktop_Bits() override {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
        return SDL_BYTESPERPIXEL(mode.format) == 4 ? 32 : static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format));
    }

    int32_t Test_Mode(int32_t width, int32_t height, int32_t bits) override {
        return width > 0 && height > 0 && Texture_Format(bits) != SDL_PIXELFORMAT_UNKNOWN ? 0 : -1;
    }

    int32_t Set_Mode(int32_t width, int32_t height, int32_t bits) override {
        Close_Mode();
        const Uint32 format = Texture_Format(bits);
        if (format == SDL_PIXELFORMAT_UNKNOWN || width <= 0 || height <= 0) return Sdl_Failure;
        SDL_SetWindowSize(Window, width, height);
        if (SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return Sdl_Failure;
        Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_PRESENTVSYNC);
        Vsync = Renderer != nullptr;
        if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, 0);
        if (!Renderer) return Sdl_Failure;
        SDL_RendererInfo info;
        if (Vsync && SDL_GetRendererInfo(Renderer, &info) == 0)
            Vsync = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        SDL_RenderSetLogicalSize(Renderer, width, height);
        Texture = SDL_CreateTexture(Renderer, format, SDL_TEXTUREACCESS_STREAMING, width, height);
        if (!Texture) {
            Close_Mode();
            return Sdl_Failure;
        }
        Width = width;
        Height = height;
        Bits = bits;
        SDL_ShowWindow(Window);
        return 0;
    }

    bool Layout_555() override { return false; }

    void Present(const TSurface& page) override {
        if (!Texture || page.Width != Width || page.Height != Height || page.Bits != Bits) return;
        if (Bits == 8) {
            // A palette-indexed page is shown through its palette as of this frame.
            Indexed.resize(static_cast<std::size_t>(Width) * Height);
            for (std::size_t i = 0; i < Indexed.size(); ++i) {
                const TRgb8 c = page.Palette ? (*page.Palette)[page.Pixels[i]] : TRgb8{};
                Indexed[i] = uint32_t{c.R} << 16 | uint32_t{c.G} << 8 | c.B;
            }
            SDL_UpdateTexture(Texture, nullptr, Indexed.data(), Width * 4);
        } else {
            SDL_UpdateTexture(Texture, nullptr, page.Pixels.data(), page.Pitch);
        }
        SDL_RenderClear(Renderer);
        SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
        SDL_RenderPresent(Renderer);
    }

    void Close_Mode() override {
        if (Texture) SDL_DestroyTexture(Texture);
        if (Renderer) SDL_DestroyRenderer(Renderer);
        Texture = nullptr;
        Renderer = nullptr;
        Width = Height = Bits = 0;
    }

    bool Mouse_Present() override { return true; }

    void Show_Cursor(bool visible) override {
        Cursor_Shown = visible;
        if (!Busy) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }

    void Set_Busy_Cursor(bool busy) override {
        Busy = busy;
        if (busy) {
            if (!Wait_Cursor) Wait_Cursor = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
            if (Wait_Cursor) SDL_SetCursor(Wait_Cursor);
            SDL_ShowCursor(SDL_ENABLE);
        } else {
            SDL_SetCursor(SDL_GetDefaultCursor());
            SDL_ShowCursor(Cursor_Shown ? SDL_ENABLE : SDL_DISABLE);
        }
    }

    bool Mouse_Position(int32_t& x, int32_t& y) override {
        int wx = 0, wy = 0;
        SDL_GetMouseState(&wx, &wy);
        float lx = static_cast<float>(wx), ly = static_cast<float>(wy);
        if (Renderer) SDL_RenderWindowToLogical(Renderer, wx, wy, &lx, &ly);
        x = static_cast<int32_t>(std::floor(lx));
        y = static_cast<int32_t>(std::floor(ly));
        return true;
    }

    TClient_Rect Client_Rect() override {
        if (Renderer) return {0, 0, Width, Height};
        int w = 0, h = 0;
        SDL_GetWindowSize(Window, &w, &h);
        return {0, 0, w, h};
    }

    int64_t Video_Memory_Budget() override { return -1; }

    bool Next_Event(TInput_Event& event) override {
        while (Pending.empty()) {
            SDL_Event sdl;
            if (SDL_PollEvent(&sdl) == 0) return false;
            // The end of a music play comes through the same queue; it belongs to the sound device.
            if (auto audio = std::dynamic_pointer_cast<TSdl_Audio_Backend>(Audio_Backend());
                audio && audio->Handle_Event(sdl))
                continue;
            std::vector<TInput_Event> translated;
            Input.Translate(sdl, static_cast<uint16_t>(SDL_GetModState()), translated);
            Pending.insert(Pending.end(), translated.begin(), translated.end());
            // While a button is down the pointer stays ours outside the window too, so the release is heard.
            const bool held = Input.Held_Buttons() != 0;
            if (held != Captured) {
                SDL_CaptureMouse(held ? SDL_TRUE : SDL_FALSE);
                Captured = held;
            }
        }
        event = Pending.front();
        Pending.pop_front();
        return true;
    }

    void Wait_Event(int32_t timeout_ms) override {
        if (!Pending.empty() || timeout_ms <= 0) return;
        SDL_WaitEventTimeout(nullptr, timeout_ms);
    }

    bool Synchronised() override { return Renderer != nullptr && Vsync; }

    void Message_Box(const std::string& caption, const std::string& text) override {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), Window);
    }

private:
    static Uint32 Texture_Format(int32_t bits) {
        switch (bits) {
        case 8: return SDL_PIXELFORMAT_RGB888; // converted at each present
        case 16: return SDL_PIXELFORMAT_RGB565;
        case 24: return SDL_PIXELFORMAT_BGR24;
        case 32: return SDL_PIXELFORMAT_RGB888;
        default: return SDL_PIXELFORMAT_UNKNOWN;
        }
    }

    SDL_Window* Window;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    SDL_Cursor* Wait_Cursor = nullptr;
    bool Busy = false;
    bool Cursor_Shown = true;
    int32_t Width = 0, Height = 0, Bits = 0;
    std::vector<uint32_t> Indexed;
    bool Vsync = false;
    TSdl_Input_Translator Input;
    std::deque<TInput_Event> Pending;
    bool Captured = false;
};

} // namespace

std::unique_ptr<TDisplay_Backend> Make_Sdl_Display(const std::string& title) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          800, 600, SDL_WINDOW_HIDDEN);
    if (!window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    return std::make_unique<TSdl_Display>(window);
}

} // namespace plat
