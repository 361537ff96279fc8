#include "media/DisplayFont.h"
#include "core/GlobalFuncs.h"
#include "platform/PathLayer.h"

#include <array>
#include <optional>
#include <string>

namespace {

constexpr std::array<const char*, 3> Font_Files = {"goudos.ttf", "goudosb.ttf", "goudosi.ttf"};
constexpr std::array<int32_t, Text_Style_Count> Style_Points = {10, 9, 12, 18, 16, 12};

std::optional<std::array<TFont_Object, Text_Style_Count>> Style_Fonts;

std::string Font_File_Path(const char* name) {
    return plat::Resolve_Path(Base_Folder() + "Fonts/" + name);
}

} // namespace

void Set_Font_Style(int32_t style, TFont_Object& font) {
    if (style < 1 || style > Text_Style_Count) return;
    plat::TFont_Spec spec;
    spec.Face = Text_Style_Face;
    spec.Points = Style_Points[style - 1];
    font.Colour = 0;
    if (font.Handle != 0 && font.Spec == spec) return;
    plat::TText_Backend& backend = plat::Text_Backend();
    if (font.Handle != 0) backend.Close_Font(font.Handle);
    font.Spec = spec;
    font.Handle = backend.Open_Font(spec);
}

void Load_External_Resources() {
    if (Style_Fonts) Free_External_Resources();
    plat::TText_Backend& backend = plat::Text_Backend();
    for (const char* name : Font_Files) backend.Add_Font_File(Font_File_Path(name));
    Style_Fonts.emplace();
    for (int32_t style = 1; style <= Text_Style_Count; ++style)
        Set_Font_Style(style, (*Style_Fonts)[style - 1]);
}

void Free_External_Resources() {
    plat::TText_Backend& backend = plat::Text_Backend();
    if (Style_Fonts)
        for (TFont_Object& font : *Style_Fonts)
            if (font.Handle != 0) backend.Close_Font(font.Handle);
    Style_Fonts.reset();
    for (const char* name : Font_Files) backend.Remove_Font_File(Font_File_Path(name));
}

const TFont_Object* Style_Font(int32_t style) {
    if (!Style_Fonts || style < 1 || style > Text_Style_Count) return nullptr;
    return &(*Style_Fonts)[style - 1];
}
