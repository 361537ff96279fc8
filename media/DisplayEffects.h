// Drawing the display effects' frames: the table and its frame positions belong to the world model
// (core/DisplayEffects.h); the frames live in the display object's extra bitmaps.
#pragma once

#include "core/DisplayEffects.h"

#include <cstdint>

class TDisplay_Object;

// Frame n (from 1) of the effect, centred in the 54 x 54 map square whose top-left corner is x, y of the
// target, keyed. Nothing for frame 0, an effect without frames per line, a frame position beyond any
// bitmap, or a bitmap the display object does not hold.
void Draw_Frame(const TDisplay_Object& display, const TDisplay_Effect& effect, int32_t target, int32_t x,
                int32_t n, int32_t y);
