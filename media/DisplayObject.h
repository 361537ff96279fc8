// The display object: every picture sheet of the game held in a virtual buffer, loaded from BMP files with
// magenta (255, 0, 255) turned into black, the transparent colour of keyed copies; single cells of the
// sheets drawn for the map, the creatures, the items, the effects and the interface; named buffers for the
// dialogs with a fallback from video to system memory; and the hit mask of one map square for picking.
//
// Buffer handles: 0 is the back page, so a sheet or dialog buffer is real only when its handle is 1 or
// more. A failed allocation leaves a negative handle (or 0 when nothing was tried); nothing is loaded into
// it, no cell is drawn from it, and it is never freed - freeing a negative handle would release every
// buffer of the program. Release_Buffer is the one way owners give a buffer back.
#pragma once

#include "core/DisplaySeam.h"
#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TMap;

// The interface sheets, in the order they are loaded.
enum TInterface_Sheet : int32_t {
    Sheet_Misc,
    Sheet_General,
    Sheet_Gen_Tiles,
    Sheet_Damage_FX,
    Sheet_Spells,
    Sheet_Spell_Containers,
    Sheet_Window_Buttons,
    Sheet_Main_Round_Buttons,
    Sheet_Small_Arrow_Buttons,
    Sheet_Square_Icon_Buttons,
    Sheet_Square_Frame_Buttons,
    Sheet_Long_Square_Text_Buttons,
    Sheet_Long_Rounded_Text_Buttons,
    Sheet_Named_Square_Buttons,
    Sheet_Blank_Named_Square_Buttons,
    Interface_Sheet_Count
};

// Cells of the map sheets: side, cells per row and the most cells a map may need.
constexpr int32_t Map_Cell_Side = 54;
constexpr int32_t Map_Cells_Per_Row = 20;
constexpr int32_t Item_Cell_Side = 32;
constexpr int32_t Item_Cells_Per_Row = 30;
constexpr int32_t Terrain_Cell_Limit = 400;
constexpr int32_t Monster_Cell_Limit = 200;
constexpr int32_t Item_Cell_Limit = 900;
constexpr int32_t Border_Type_Count = 15;

class TDisplay_Object {
public:
    TDisplay_Object();
    ~TDisplay_Object();
    TDisplay_Object(const TDisplay_Object&) = delete;
    TDisplay_Object& operator=(const TDisplay_Object&) = delete;

    // ---- Fields, in their declared order ----

    // While set, every cell routine but the general icon and the mouse cursor draws nothing (start-up
    // loading, a change of map, developer screens building a map: the frame then shows black).
    uint8_t Drawing_Suppressed = 0;
    // Set while a store, chest or give-item dialog exists; the game screen then lets equipment clicks
    // through while paused. Not used here.
    uint8_t Item_Window = 0;
    // Set by the progress dialog while it exists: the frame then draws neither the mouse cursor nor the
    // held item at the pointer.
    uint8_t Pointer_Hidden = 0;
    TString_List Terrain_Bitmap_Names; // cell k holds the picture named at position k (0-based)
    int32_t Terrain_Sheet = 0;
    TString_List Monster_Bitmap_Names;
    int32_t Monster_Sheet = 0;
    TString_List Item_Bitmap_Names;
    int32_t Item_Sheet = 0;
    std::array<int32_t, Interface_Sheet_Count> Interface_Sheets{};
    std::vector<int32_t> Extra_Bitmaps = {0}; // 1..Extra_Bitmap_Count; entry 0 is not used
    int32_t Extra_Bitmap_Count = 0;
    // [x][y]: 1 where the reference floor diamond covers the pixel.
    std::array<std::array<uint8_t, Map_Cell_Side>, Map_Cell_Side> Tile_Hit_Mask{};
    int32_t Tile_Hit_Buffer = 0;
    TWordList Border_Slots; // border type 1..15 -> position (from 1) of its picture in the terrain names
    // Set once a video-memory allocation has failed; every later allocation goes to system memory.
    uint8_t Video_Memory_Exhausted = 0;
    uint8_t Cursor_Enabled = 1; // the software mouse cursor is drawn only while set

    // ---- Life and loading ----

    // Every game picture: the map sheets, then the interface sheets and the display effects' bitmaps.
    // Whatever an earlier load left is given back first.
    void Load_Graphics();
    // The name lists emptied and the three map sheets allocated anew (video memory tried first, errors
    // shown); the result is that of the item sheet.
    bool Alloc_Map_Buffers();
    void Free_Map_Buffers();
    void Clear_Interface_Buffers();
    void Free_Interface_Buffers();
    void Free_Extra_Bitmaps();
    // The interface sheets and the extra bitmaps 1..count of the display effects. A picture that cannot be
    // measured or loaded is reported ("Unable to load bitmap <path>.") and the load goes on. Always 1.
    int32_t Load_Interface_Bitmaps();

    // Rebuilds the three map sheets for the map: its terrain pictures followed by the 15 borders, its
    // creatures' pictures, its items' pictures. False at the first sheet that fails; the later ones are
    // not loaded.
    bool Load_Map_Bitmaps(TMap& map);
    // Sheet loaders. Replace: the names (set by the caller as the sheet's list) fill cells from the first.
    // Append: the names join the sheet's list (the monster sheet skips names it holds) and fill the cells
    // after the old ones. The first cell used (from 1), or -1: too many cells for the sheet (reported with
    // the map's name), a sheet without a buffer, or a picture that did not load (later cells are skipped).
    int32_t Load_Terrain_Bitmaps(const TString_List& names, const TMap* map, bool replace);
    int32_t Load_Monster_Bitmaps(const TString_List& names, const TMap* map, bool convert, bool replace);
    int32_t Load_Item_Bitmaps(const TString_List& names, const TMap* map, bool replace);
    void Set_Terrain_Bitmap_Names(const TString_List& names) { Terrain_Bitmap_Names = names; }
    void Set_Monster_Bitmap_Names(const TString_List& names) { Monster_Bitmap_Names = names; }
    void Set_Item_Bitmap_Names(const TString_List& names) { Item_Bitmap_Names = names; }
    // The 0-based position in the monster names, ignoring letter case; -1 when absent.
    int32_t Find_Monster_Bitmap(const std::string& name) const;
    // Appends the 15 border pictures to the list, recording where each type's picture went.
    void Add_Border_Bitmap_Names(TString_List& names);
    // "Border_N.bmp" .. "Border_SW.bmp" for types 1..15; empty for any other type.
    static std::string Get_Border_Bitmap_Name(int32_t type);

    // Extra bitmap n (from 1) from "Pictures/SysPics/"; the table grows to hold n. False when the picture
    // cannot be measured, allocated or loaded (reported).
    bool Load_Extra_Bitmap(int32_t n, const std::string& name);
    // Every pixel of the buffer that is magenta becomes black (32 bits: whatever the top byte). The buffer
    // is left active.
    void Change_All_Pink_To_Black(int32_t handle);
    void Convert_Monster_Sheet() { Change_All_Pink_To_Black(Monster_Sheet); }

    // A buffer of width x height (note the order) named for the log. Video memory is tried first when asked
    // and not yet exhausted. False, with a negative handle, when system memory fails too; then the message
    // "Error allocating virtual buffer: <name>" is shown when asked.
    bool Alloc_Virtual_Buffer(const std::string& name, int32_t& handle, bool show_error, bool try_video,
                              int32_t height, int32_t width);
    // A dialog's picture: a buffer of the dialog's size in system memory (error shown), the picture loaded
    // into it keeping its colours, magenta turned black. After a failed allocation nothing else is done.
    // False when the buffer or the picture failed; handle is then not a buffer to draw from or free.
    bool Load_Picture_Buffer(const std::string& name, const std::string& path, int32_t width, int32_t height,
                             int32_t& handle);
    // Gives a buffer back and sets the handle to 0; only handles 1 and more are buffers an owner holds.
    static void Release_Buffer(int32_t& handle);

    // ---- Picking ----

    // The mask from the floor diamond of the gen-tiles sheet (cell 4, at x 216).
    void Build_Tile_Hit_Mask();
    bool Is_Point_In_Tile_Mask(int32_t x, int32_t y) const;
    // Whether the square's picture, drawn as the map view shows it (hidden layers by its place relative
    // to the player and whether it is in sight; no secret-door search), covers pixel x, y of its 54 x 54
    // cell. The buffer active before stays active.
    bool Is_Point_On_Square(int32_t x, int32_t y, int32_t map_x, int32_t map_y, const TMap& map);

    // ---- Cells ----
    // Each draws at x, y (the cell's top-left corner) of the target buffer, skipping black pixels.

    void Draw_Terrain_Tile(int32_t target, int32_t x, int32_t y, int32_t n) const;
    void Draw_Monster_Tile(int32_t target, int32_t x, int32_t y, int32_t n) const;
    // Centred: in the middle of a map square's floor (x + 11, y + 16).
    void Draw_Item_Tile(int32_t target, int32_t x, int32_t y, bool centred, int32_t n) const;
    // The terrain cell of the border type's picture; nothing for a type outside 1..15 or not yet placed.
    void Draw_Border_Tile(int32_t target, int32_t x, int32_t y, int32_t type) const;
    // Drawn even while drawing is suppressed; opaque when not transparent.
    void Draw_General_Icon(int32_t target, int32_t x, int32_t y, bool transparent, int32_t n) const;
    // Drawn even while drawing is suppressed, but only while the cursor is enabled; cut at right, bottom.
    void Draw_Mouse_Cursor(int32_t target, int32_t x, int32_t y, int32_t right, int32_t bottom) const;
    void Draw_Small_Icon(int32_t target, int32_t x, int32_t y, int32_t n) const;
    void Draw_Fixed_Icon_1(int32_t target, int32_t x, int32_t y) const;
    void Draw_Secret_Marker(int32_t target, int32_t x, int32_t y, bool centred) const;
    void Draw_Fixed_Icon_3(int32_t target, int32_t x, int32_t y, bool centred) const;
    // Kinds 1..3; any other draws nothing.
    void Draw_Misc_Panel(int32_t target, int32_t x, int32_t y, int32_t kind) const;
    void Draw_Misc_Icon_Row(int32_t target, int32_t x, int32_t y, int32_t n) const;
    void Draw_Misc_Icon(int32_t target, int32_t x, int32_t y, int32_t n) const;
    void Draw_Gen_Tile_Cell(int32_t target, int32_t x, int32_t y, int32_t n) const;
    void Draw_Damage_FX_Cell(int32_t target, int32_t x, int32_t y, int32_t n) const;
    void Draw_Spell_Container(int32_t target, int32_t x, int32_t y, int32_t row, int32_t column) const;
    // State 2 (pressed) draws 2 pixels right and down.
    void Draw_Spell_Icon(int32_t target, int32_t x, int32_t y, int32_t state, int32_t n) const;
    // Picture index of the button type's sheet in the row of its state: disabled, else pressed, else hover.
    void Draw_Button(int32_t target, int32_t x, int32_t y, bool disabled, bool pressed, bool hover,
                     int32_t type, int32_t index) const;
    // Directions 1..10 of the direction icons; any other the blank one.
    void Draw_Direction_Icon(int32_t target, int32_t x, int32_t y, int32_t direction) const;
    // Cell kind * 3 + frame of the damage-effect sheet; centred: x + 11, y + 9.
    void Draw_Damage_FX_Frame(int32_t target, int32_t x, int32_t y, bool centred, int32_t kind,
                              int32_t frame) const;
    void Draw_Gen_Tile(int32_t target, int32_t x, int32_t y, int32_t n) const;
    void Draw_Highlight_Tile(int32_t target, int32_t x, int32_t y) const;
    // A rectangle of extra bitmap n (1..count); centred in a 54 x 54 square: x + (54 - width) / 2,
    // y + (54 - height) / 2 - 2.
    void Draw_Extra_Bitmap(int32_t target, int32_t x, int32_t y, int32_t n, int32_t source_x,
                           int32_t source_y, int32_t width, int32_t height, bool centred) const;

    // ---- Sizes and colours ----

    // Button types 1..10; 0 x 0 for any other.
    static void Get_Button_Size(int32_t type, int32_t& width, int32_t& height);
    // Colour values of the active buffer. Packed: red in bits 0-7, green 8-15, blue 16-23.
    static uint32_t Get_Color_From_RGB(uint32_t packed);
    static uint32_t Get_Highlight_Color();
    static uint32_t Get_Green_Color();
    static uint32_t Get_White_Color();
    static uint32_t Get_Black_Color();
    static uint32_t Get_Pink_Color();
    static uint32_t Get_Peach_Color();
    static uint32_t Get_Red_Color();
    static void Get_Default_Offset(int32_t& x, int32_t& y) {
        x = 7;
        y = 7;
    }

private:
    struct TMap_Sheet;
    TMap_Sheet Terrain_Sheet_Of();
    TMap_Sheet Monster_Sheet_Of();
    TMap_Sheet Item_Sheet_Of();
    int32_t Load_Sheet(const TMap_Sheet& sheet, const TString_List& names, const TMap* map, bool convert,
                       bool replace);
    void Load_Interface_Sheet(int32_t sheet);
    int32_t Button_Sheet(int32_t type) const;
};

// The display object as the world model's display seam: cells through the object, texts through the text
// unit, display-effect frames through their table.
class TDisplay_Object_Sink : public TDisplay_Sink {
public:
    explicit TDisplay_Object_Sink(TDisplay_Object& display) : Display_(display) {}
    void Append_Monster_Pictures(const TString_List& names) override;
    int32_t Monster_Picture_Cell(const std::string& name) const override;
    void Draw_Terrain_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) override;
    void Draw_Border_Tile(int32_t target, int32_t x, int32_t y, int32_t type) override;
    void Draw_Item_Tile(int32_t target, int32_t x, int32_t y, bool centred, int32_t cell) override;
    void Draw_Monster_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) override;
    void Draw_Secret_Marker(int32_t target, int32_t x, int32_t y, bool centred) override;
    void Draw_Spell_Icon(int32_t target, int32_t x, int32_t y, int32_t state, int32_t cell) override;
    void Draw_Spell_Container(int32_t target, int32_t x, int32_t y, int32_t row, int32_t column) override;
    void Draw_Damage_FX_Frame(int32_t target, int32_t x, int32_t y, bool centred, int32_t kind,
                              int32_t frame) override;
    void Draw_Display_Effect_Frame(int32_t target, int32_t x, int32_t y, int32_t effect,
                                   int32_t frame) override;
    void Draw_Extra_Bitmap(int32_t target, int32_t x, int32_t y, int32_t n, int32_t source_x,
                           int32_t source_y, int32_t width, int32_t height, bool centred) override;
    void Set_Text_Style(int32_t style) override;
    void Set_Text_Color(int32_t red, int32_t green, int32_t blue) override;
    void Set_Text_Justify(int32_t horizontal, int32_t vertical) override;
    void Draw_Text(int32_t target, int32_t x, int32_t y, const std::string& text) override;

private:
    TDisplay_Object& Display_;
};

// The program's display object: created by the main window after the graphics device and freed at
// shut-down; tests install their own. Installing one makes it the world model's display seam too;
// installing null removes both (the seam then draws nothing).
TDisplay_Object* Display_Object();
void Install_Display_Object(std::unique_ptr<TDisplay_Object> display);
