#include "media/DisplayEffects.h"

#include "media/DisplayObject.h"

#include <limits>

void Draw_Frame(const TDisplay_Object& display, const TDisplay_Effect& effect, int32_t target, int32_t x,
                int32_t n, int32_t y) {
    const std::optional<TFrame_Source> source = Display_Effect_Frame_Source(effect, n);
    // Sixteen-bit fields multiply past what a bitmap can be; such a frame lies outside every bitmap.
    if (!source || source->X > std::numeric_limits<int32_t>::max() ||
        source->Y > std::numeric_limits<int32_t>::max())
        return;
    display.Draw_Extra_Bitmap(target, x, y, effect.Bitmap_Index, static_cast<int32_t>(source->X),
                              static_cast<int32_t>(source->Y), effect.Picture_Width, effect.Picture_Height,
                              true);
}
