#include "core/DisplaySeam.h"

#include <utility>

namespace {

std::shared_ptr<TDisplay_Sink> Installed_Sink;

std::string Arg(int32_t v) {
    return std::to_string(v);
}
std::string Arg(bool v) {
    return v ? "1" : "0";
}
std::string Arg(const std::string& v) {
    return "\"" + v + "\"";
}

template <typename... TArgs> std::string Call(const char* name, const TArgs&... args) {
    std::string text = name;
    text += '(';
    const char* separator = "";
    ((text += separator, text += Arg(args), separator = ", "), ...);
    return text + ')';
}

} // namespace

void TRecording_Display_Sink::Append_Monster_Pictures(const TString_List& names) {
    for (const std::string& name : names) {
        Appended.push_back(name);
        if (Monster_Picture_Cell(name) < 0) Monster_Sheet.push_back(name);
    }
}

int32_t TRecording_Display_Sink::Monster_Picture_Cell(const std::string& name) const {
    for (std::size_t cell = 0; cell < Monster_Sheet.size(); ++cell)
        if (Monster_Sheet[cell] == name) return static_cast<int32_t>(cell);
    return -1;
}

void TRecording_Display_Sink::Draw_Terrain_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) {
    Calls.push_back(Call("Terrain", target, x, y, cell));
}
void TRecording_Display_Sink::Draw_Border_Tile(int32_t target, int32_t x, int32_t y, int32_t type) {
    Calls.push_back(Call("Border", target, x, y, type));
}
void TRecording_Display_Sink::Draw_Item_Tile(int32_t target, int32_t x, int32_t y, bool centred,
                                             int32_t cell) {
    Calls.push_back(Call("Item", target, x, y, centred, cell));
}
void TRecording_Display_Sink::Draw_Monster_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) {
    Calls.push_back(Call("Monster", target, x, y, cell));
}
void TRecording_Display_Sink::Draw_Secret_Marker(int32_t target, int32_t x, int32_t y, bool centred) {
    Calls.push_back(Call("Secret_Marker", target, x, y, centred));
}
void TRecording_Display_Sink::Draw_Spell_Icon(int32_t target, int32_t x, int32_t y, int32_t state,
                                              int32_t cell) {
    Calls.push_back(Call("Spell_Icon", target, x, y, state, cell));
}
void TRecording_Display_Sink::Draw_Spell_Container(int32_t target, int32_t x, int32_t y, int32_t row,
                                                   int32_t column) {
    Calls.push_back(Call("Spell_Container", target, x, y, row, column));
}
void TRecording_Display_Sink::Draw_Damage_FX_Frame(int32_t target, int32_t x, int32_t y, bool centred,
                                                   int32_t kind, int32_t frame) {
    Calls.push_back(Call("Damage_FX", target, x, y, centred, kind, frame));
}
void TRecording_Display_Sink::Draw_Display_Effect_Frame(int32_t target, int32_t x, int32_t y, int32_t effect,
                                                        int32_t frame) {
    Calls.push_back(Call("Effect_Frame", target, x, y, effect, frame));
}
void TRecording_Display_Sink::Draw_Extra_Bitmap(int32_t target, int32_t x, int32_t y, int32_t n,
                                                int32_t source_x, int32_t source_y, int32_t width,
                                                int32_t height, bool centred) {
    Calls.push_back(Call("Extra_Bitmap", target, x, y, n, source_x, source_y, width, height, centred));
}
void TRecording_Display_Sink::Set_Text_Style(int32_t style) {
    Calls.push_back(Call("Text_Style", style));
}
void TRecording_Display_Sink::Set_Text_Color(int32_t red, int32_t green, int32_t blue) {
    Calls.push_back(Call("Text_Color", red, green, blue));
}
void TRecording_Display_Sink::Set_Text_Justify(int32_t horizontal, int32_t vertical) {
    Calls.push_back(Call("Text_Justify", horizontal, vertical));
}
void TRecording_Display_Sink::Draw_Text(int32_t target, int32_t x, int32_t y, const std::string& text) {
    Calls.push_back(Call("Text", target, x, y, text));
}

TDisplay_Sink& Display_Sink() {
    if (!Installed_Sink) Installed_Sink = std::make_shared<TNo_Display_Sink>();
    return *Installed_Sink;
}

std::shared_ptr<TDisplay_Sink> Install_Display_Sink(std::shared_ptr<TDisplay_Sink> sink) {
    std::swap(Installed_Sink, sink);
    return sink;
}
