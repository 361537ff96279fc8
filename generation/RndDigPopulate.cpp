#include "generation/RndDigPopulate.h"

#include "core/MapMain.h"

void Stamp_Dug_Cells(const TDig_Context& dig, const TTerrain_Group_Chances* locks,
                     const TTerrain_Group_Chances* traps) {
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
            const TTile_Class* tile = Tile_Classes().Get(dig.Cell(x, y).Tile);
            if (!tile) continue;
            const int32_t sx = dig.X0 + (x - 1) * Tile_Area_Width(*tile);
            const int32_t sy = dig.Y0 + (y - 1) * Tile_Area_Height(*tile);
            Stamp_Tile(*tile, sx, sy);
            if (locks) Lock_Tile_Squares(*tile, sx, sy, *locks);
            if (traps) Trap_Tile_Squares(*tile, sx, sy, dig.Params.Trap_Group_Name, *traps);
        }
}

void Fill_Outer_Border() {
    const TTile_Class_Info* info = Tile_Classes().Info.get();
    if (!info || info->Fill_Border_Categories.empty()) return;
    const int32_t b = info->Increased_Border_Size;
    const uint16_t terrain = Match_Terrain_Symbols(info->Fill_Border_Categories);
    Fill_Rect_Terrain({1, 1, b + 8, Map_Height}, terrain);
    Fill_Rect_Terrain({1, 1, Map_Width, b + 8}, terrain);
    Fill_Rect_Terrain({192 - b, 1, Map_Width, Map_Height}, terrain);
    Fill_Rect_Terrain({1, 192 - b, Map_Width, Map_Height}, terrain);
}

void Finish_Dug_Map(TDig_Context& dig, TString_List& errors) {
    // Locks and traps need the map's chance group; while none is resolved (index 0) the tiles are only
    // stamped.
    Stamp_Dug_Cells(dig, nullptr, nullptr);

    // The finishing and population steps come here, in this order, each reading the level as the step
    // before left it: black border, generic walls to specific shapes, door directions, placement squares,
    // items, monsters, monster groups, stores, chest contents. They append their problems to errors.
    (void)errors;

    Fill_Outer_Border();
}
