#include "platform/DisplayBackend.h"

#include <cmath>

namespace plat {

namespace {
std::unique_ptr<TDisplay_Backend> Installed_Display;

// A failed mode change, as the video driver reports an unsupported mode.
constexpr int32_t Mode_Refused = -2005532082; // 0x8876024E
} // namespace

bool Window_To_Logical(int32_t window_width, int32_t window_height, int32_t logical_width,
                       int32_t logical_height, double x, double y, double& logical_x, double& logical_y) {
    if (window_width <= 0 || window_height <= 0 || logical_width <= 0 || logical_height <= 0) return false;
    const double scale =
        std::min(double(window_width) / logical_width, double(window_height) / logical_height);
    const double left = (window_width - logical_width * scale) / 2;
    const double top = (window_height - logical_height * scale) / 2;
    logical_x = (x - left) / scale;
    logical_y = (y - top) / scale;
    return true;
}

int32_t THeadless_Display::Test_Mode(int32_t, int32_t, int32_t bits) {
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return -1;
    return Refused_Test_Depths.count(bits) ? -1 : 0;
}

int32_t THeadless_Display::Set_Mode(int32_t width, int32_t height, int32_t bits) {
    Set_Mode_Requests.push_back(bits);
    if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || Refused_Set_Depths.count(bits))
        return Mode_Refused;
    Mode_Set = true;
    Mode_Width = width;
    Mode_Height = height;
    Mode_Bits = bits;
    return 0;
}

void THeadless_Display::Present(const TSurface& page) {
    Flip_Count++;
    Last_Frame = page;
}

void THeadless_Display::Show_Cursor(bool visible) {
    Cursor_Visible = visible;
    Cursor_Changes++;
}

bool THeadless_Display::Mouse_Position(int32_t& x, int32_t& y) {
    double lx = Mouse_X, ly = Mouse_Y;
    if (Mode_Set &&
        !Window_To_Logical(Window_Width, Window_Height, Mode_Width, Mode_Height, Mouse_X, Mouse_Y, lx, ly))
        return false;
    x = static_cast<int32_t>(std::floor(lx));
    y = static_cast<int32_t>(std::floor(ly));
    return true;
}

bool THeadless_Display::Next_Event(TInput_Event& event) {
    if (Events.empty()) return false;
    event = Events.front();
    Events.pop_front();
    return true;
}

void THeadless_Display::Message_Box(const std::string& caption, const std::string& text) {
    Boxes.push_back(caption + ": " + text);
}

TClient_Rect THeadless_Display::Client_Rect() {
    return {Client_Left, Client_Top, Mode_Set ? Mode_Width : Window_Width,
            Mode_Set ? Mode_Height : Window_Height};
}

TDisplay_Backend& Display_Backend() {
    if (!Installed_Display) Installed_Display = std::make_unique<THeadless_Display>();
    return *Installed_Display;
}

void Install_Display_Backend(std::unique_ptr<TDisplay_Backend> backend) {
    Installed_Display = std::move(backend);
}

} // namespace plat
