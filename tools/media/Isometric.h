// The isometric square of the map pictures. A square's floor is the diamond 52 x 26 at the bottom of its
// 54 x 54 cell, as the map view places cells 52 pixels apart in a row and rows 13 pixels apart, every other
// row shifted by 26. In square coordinates a runs west (-0.5) to east (+0.5) and b north (-0.5) to south
// (+0.5); east is up and to the right on the screen, south down and to the right. z is the height above
// the floor in pixels.
#pragma once

#include "tools/media/Canvas.h"

namespace murk_media {

inline TPoint Iso(double a, double b, double z = 0.0) {
    return {27.0 + 26.0 * (a + b), 40.5 + 13.0 * (b - a) - z};
}

// The square coordinates of a pixel centre on the floor.
inline void Floor_Of(int x, int y, double& a, double& b) {
    const double s = (x + 0.5 - 27.0) / 26.0, d = (y + 0.5 - 40.5) / 13.0;
    a = (s - d) / 2.0;
    b = (s + d) / 2.0;
}

} // namespace murk_media
