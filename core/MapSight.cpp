// What the player sees around him and how dark each square of the view is.
#include "core/MapMain.h"

#include "core/Monster.h"

#include <algorithm>

namespace {

// The sight rule below is written for 1-based cells with the viewer at [8][8].
constexpr int32_t Centre = 8;

// Each cell of ring r looks at the cell one step closer to the centre line in ring r - 1: it stays visible
// only when that cell is visible and lets sight through. The rows of every ring are done first, then the
// columns; corner cells are set by both passes, and the column pass reads values the row pass has already
// lowered. A wall is itself seen; only what lies behind it is hidden. The innermost ring and the viewer's
// own cell always stay visible. allows(i, j) tells whether the 0-based cell lets sight through.
template <typename TAllows> void Sight_Passes(const TAllows& allows, TView_Grid& grid) {
    for (auto& column : grid) column.fill(1);
    auto cell = [&grid](int32_t i, int32_t j) -> uint8_t& { return grid[i - 1][j - 1]; };
    auto passes = [&](int32_t i, int32_t j) { return cell(i, j) == 1 && allows(i - 1, j - 1); };
    for (int32_t r = 2; r <= 7; ++r)
        for (int32_t d = -r; d <= r; ++d) {
            const int32_t e = d + Centre;
            const int32_t s = d < 0 ? 1 : (d == 0 ? 0 : -1);
            if (!passes(e + s, Centre + 1 - r)) cell(e, Centre - r) = 0;
            if (!passes(e + s, Centre - 1 + r)) cell(e, Centre + r) = 0;
        }
    for (int32_t r = 2; r <= 7; ++r)
        for (int32_t d = -r; d <= r; ++d) {
            const int32_t e = d + Centre;
            const int32_t s = d < 0 ? 1 : (d == 0 ? 0 : -1);
            if (!passes(Centre + 1 - r, e + s)) cell(Centre - r, e) = 0;
            if (!passes(Centre - 1 + r, e + s)) cell(Centre + r, e) = 0;
        }
}

// Get_Distance for offsets -7..7, which is all a light's window holds.
struct TDistance_Table {
    int32_t Value[View_Size][View_Size];
    TDistance_Table() {
        for (int32_t i = 0; i < View_Size; ++i)
            for (int32_t j = 0; j < View_Size; ++j)
                Value[i][j] = TMap::Get_Distance(i, j, View_Centre_Offset, View_Centre_Offset);
    }
};

} // namespace

void TMap::Compute_Line_Of_Sight(int32_t x0, int32_t y0, TView_Grid& grid, uint8_t vision_kind) const {
    // Looked up once: every cell is read by up to four cells of the next ring.
    bool allows[View_Size][View_Size];
    for (int32_t i = 0; i < View_Size; ++i)
        for (int32_t j = 0; j < View_Size; ++j) allows[i][j] = Square_Allows(x0 + i, y0 + j, vision_kind);
    Sight_Passes([&allows](int32_t i, int32_t j) { return allows[i][j]; }, grid);
}

void TMap::Update_Field_Of_View(int32_t x0, int32_t y0, uint8_t vision_kind) {
    View_X_ = x0;
    View_Y_ = y0;
    View_Mode_ = vision_kind;
    Compute_Line_Of_Sight(x0, y0, View_Grid_, vision_kind);
}

uint8_t TMap::Is_Visible(int32_t i, int32_t j) const {
    // Callers pass creature positions minus the window origin; positions come from files, so anything
    // outside the window (negatives included) is simply not visible.
    if (i < 0 || i >= View_Size || j < 0 || j >= View_Size) return 0;
    return View_Grid_[i][j];
}

uint8_t TMap::Get_Light_Level(int32_t i, int32_t j) const {
    if (i < 0 || i >= View_Size || j < 0 || j >= View_Size) return 0;
    return Light_Grid_[i][j];
}

void TMap::Update_Lighting(int32_t x0, int32_t y0, uint8_t vision_kind) {
    Light_X_ = x0;
    Light_Y_ = y0;
    Light_Mode_ = vision_kind;
    for (auto& column : Light_Grid_) column.fill(Universal_Light ? 0 : Light_Level_Dark);
    if (Universal_Light) return;

    // Every light whose own 15 x 15 view overlaps the window: within 7 squares of it. (A light 8 squares
    // past the window's far edge can see no cell of it, so the scan stops at 7.)
    const int32_t first_x = Clamp_X(x0 - View_Centre_Offset), last_x = Clamp_X(x0 + View_Size - 1 + 7);
    const int32_t first_y = Clamp_Y(y0 - View_Centre_Offset), last_y = Clamp_Y(y0 + View_Size - 1 + 7);

    // Whether sight passes, for the union of all those lights' windows (at most 44 x 44 squares), looked
    // up once instead of once per light.
    constexpr int32_t Area_Size = 2 * View_Size + 14;
    bool allows[Area_Size][Area_Size];
    const int32_t area_x = first_x - View_Centre_Offset, area_y = first_y - View_Centre_Offset;
    const int32_t area_width = last_x - first_x + View_Size, area_height = last_y - first_y + View_Size;
    for (int32_t i = 0; i < area_width; ++i)
        for (int32_t j = 0; j < area_height; ++j)
            allows[i][j] = Square_Allows(area_x + i, area_y + j, vision_kind);

    static const TDistance_Table distance;
    TView_Grid seen;
    for (int32_t lx = first_x; lx <= last_x; ++lx)
        for (int32_t ly = first_y; ly <= last_y; ++ly) {
            const uint8_t radius = Light_Radius_Of(Squares_[Square_Index(lx, ly)]);
            if (radius == 0) continue;
            const int32_t reach = radius + 2;
            const int32_t wx = lx - View_Centre_Offset, wy = ly - View_Centre_Offset;
            const int32_t ox = wx - area_x, oy = wy - area_y;
            Sight_Passes([&](int32_t i, int32_t j) { return allows[ox + i][oy + j]; }, seen);
            // The cells of the light's window that are also cells of the view window.
            const int32_t i_first = std::max(0, x0 - wx),
                          i_last = std::min(View_Size - 1, x0 + View_Size - 1 - wx);
            const int32_t j_first = std::max(0, y0 - wy),
                          j_last = std::min(View_Size - 1, y0 + View_Size - 1 - wy);
            for (int32_t i = i_first; i <= i_last; ++i)
                for (int32_t j = j_first; j <= j_last; ++j) {
                    if (!seen[i][j]) continue;
                    const int32_t m = distance.Value[i][j];
                    if (m > reach) continue;
                    // At the edge of the reach the level is 5, which never lowers the dark 4.
                    const auto level = static_cast<int32_t>(static_cast<double>(m) / reach * 5);
                    uint8_t& cell = Light_Grid_[wx + i - x0][wy + j - y0];
                    if (level < cell) cell = static_cast<uint8_t>(level);
                }
        }
}
