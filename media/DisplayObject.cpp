#include "media/DisplayObject.h"

#include "core/DataFileParser.h"
#include "core/DebugLog.h"
#include "core/DisplayEffects.h"
#include "core/MapMain.h"
#include "core/Messages.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "media/DisplayEffects.h"
#include "media/DisplayGxFont.h"
#include "media/GfxDevice.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

const char* const Log_Unit = "DisplayObject";

// Flags for map-sheet cells: ignore the file's colour table, place at the current position, keep the
// file's colours.
constexpr int32_t Cell_Bmp_Flags = Gx_Bmp_Ignore_Colour_Table | Gx_Bmp_At_Position | Gx_Bmp_Keep_File_Colours;
// Dialog pictures keep their colours and ignore the colour table.
constexpr int32_t Picture_Bmp_Flags = Gx_Bmp_Ignore_Colour_Table | Gx_Bmp_Keep_File_Colours;

const TPath_Settings& Paths() {
    static const TPath_Settings fallback;
    const TPath_Settings* paths = Path_Settings();
    return paths ? *paths : fallback;
}

struct TInterface_Sheet_File {
    const char* Buffer_Name;
    std::string (TPath_Settings::*Path)() const;
    bool Video;
    bool Convert;
};

const TInterface_Sheet_File Interface_Files[Interface_Sheet_Count] = {
    {"f_Display_Misc_VB", &TPath_Settings::Get_Misc_Bitmap, false, true},
    {"f_Display_General_VB", &TPath_Settings::Get_Gen_Bitmap, true, true},
    {"f_Display_Gen_Tiles_VB", &TPath_Settings::Get_Tilegen_Bitmap, true, true},
    {"f_Display_Damage_FX_VB", &TPath_Settings::Get_DamageFX_Bitmap, false, true},
    {"f_Display_Spells_VB", &TPath_Settings::Get_Spells_Bitmap, false, true},
    {"f_Display_Spells_Containers_VB", &TPath_Settings::Get_SpellContainers_Bitmap, false, true},
    // Its transparent parts are black in the file already.
    {"f_Display_Window_Buttons_VB", &TPath_Settings::Get_ButtonsSmallSquare_Bitmap, false, false},
    {"f_Display_Main_Round_Buttons_VB", &TPath_Settings::Get_ButtonsMainRound_Bitmap, false, true},
    {"f_Display_Small_Arrow_Buttons_VB", &TPath_Settings::Get_ButtonsArrows_Bitmap, false, true},
    {"f_Display_Square_Icon_Buttons_VB", &TPath_Settings::Get_ButtonsSquareIcons_Bitmap, false, true},
    {"f_Display_Square_Frames_Buttons_VB", &TPath_Settings::Get_ButtonsSquareFrames_Bitmap, false, true},
    {"f_Display_Long_Square_Text_Buttons_VB", &TPath_Settings::Get_ButtonsLongSquareText_Bitmap, false, true},
    {"f_Display_Long_Rounded_Text_Buttons_VB", &TPath_Settings::Get_ButtonsLongRoundedText_Bitmap, false,
     true},
    {"f_Display_Named_Square_Buttons_VB", &TPath_Settings::Get_ButtonsSquareNamed_Bitmap, false, true},
    {"f_Display_Blank_Named_Square_Buttons_VB", &TPath_Settings::Get_ButtonsSquareNamedBlank_Bitmap, false,
     true},
};

struct TButton_Type {
    int32_t Width, Height, Sheet;
};
// Types 1..10 at positions 0..9.
constexpr TButton_Type Button_Types[] = {
    {23, 23, Sheet_Window_Buttons},
    {51, 51, Sheet_Main_Round_Buttons},
    {18, 28, Sheet_Small_Arrow_Buttons},
    {38, 38, Sheet_Square_Icon_Buttons},
    {38, 38, Sheet_Square_Frame_Buttons},
    {200, 38, Sheet_Long_Square_Text_Buttons},
    {200, 51, Sheet_Long_Rounded_Text_Buttons},
    {51, 23, Sheet_Named_Square_Buttons},
    {224, 23, Sheet_Blank_Named_Square_Buttons},
    {38, 38, Sheet_Spell_Containers},
};

// The general sheet's direction icons: cell 21 + k for directions 1..10.
constexpr int32_t Direction_Cell_Offsets[10] = {3, 4, 9, 5, 1, 10, 8, 6, 7, 2};

bool Fits_32(int64_t v) {
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

// Copies the w x h rectangle at sx, sy of the sheet to x, y of the target. Nothing from a sheet that was
// never allocated (0 would be the back page) or when a position leaves the 32-bit range; cells and
// positions come from data, and the library clips the rest.
void Copy_Cell(int32_t sheet, int64_t sx, int64_t sy, int64_t w, int64_t h, int32_t target, int64_t x,
               int64_t y, bool transparent = true) {
    if (sheet < 1 || w <= 0 || h <= 0) return;
    const int64_t right = sx + w - 1, bottom = sy + h - 1, target_bottom = y + h - 1;
    if (!Fits_32(sx) || !Fits_32(sy) || !Fits_32(right) || !Fits_32(bottom) || !Fits_32(x) ||
        !Fits_32(target_bottom))
        return;
    const auto copy = transparent ? Gx_Copy_Rect_Transparent : Gx_Copy_Rect;
    copy(static_cast<int32_t>(sx), static_cast<int32_t>(right), static_cast<int32_t>(sy),
         static_cast<int32_t>(bottom), static_cast<int32_t>(x), static_cast<int32_t>(target_bottom), sheet,
         target);
}

// Cell n of a grid of side x side cells, per_row to a row.
void Copy_Grid_Cell(int32_t sheet, int64_t n, int64_t width, int64_t height, int64_t per_row, int32_t target,
                    int64_t x, int64_t y, bool transparent = true) {
    if (n < 0) return;
    Copy_Cell(sheet, width * (n % per_row), height * (n / per_row), width, height, target, x, y, transparent);
}

void Show_Unable_To_Load(const std::string& caption, const std::string& what) {
    Show_Message(caption, "Unable to load bitmap " + what + ".");
}

void Restore_Active(int32_t previous) {
    if (previous >= 0)
        gx_vbopen(previous);
    else
        Gx_Deselect_Buffer();
}

std::unique_ptr<TDisplay_Object> Installed_Display;

} // namespace

// ---- Map sheets ----

struct TDisplay_Object::TMap_Sheet {
    TString_List& Names;
    int32_t Handle;
    int32_t Cell_Side;
    int32_t Per_Row;
    int32_t Limit;
    const char* Too_Many; // the message's beginning
    std::string (TPath_Settings::*Path)(const std::string&) const;
    bool Skip_Present; // append mode leaves out names the sheet holds
};

TDisplay_Object::TMap_Sheet TDisplay_Object::Terrain_Sheet_Of() {
    return {Terrain_Bitmap_Names,
            Terrain_Sheet,
            Map_Cell_Side,
            Map_Cells_Per_Row,
            Terrain_Cell_Limit,
            "Слишком много интерьера на карте ",
            &TPath_Settings::Get_Terrain_Picture,
            false};
}

TDisplay_Object::TMap_Sheet TDisplay_Object::Monster_Sheet_Of() {
    return {Monster_Bitmap_Names,
            Monster_Sheet,
            Map_Cell_Side,
            Map_Cells_Per_Row,
            Monster_Cell_Limit,
            "Слишком много монстров на карте ",
            &TPath_Settings::Get_Monster_Picture,
            true};
}

TDisplay_Object::TMap_Sheet TDisplay_Object::Item_Sheet_Of() {
    return {Item_Bitmap_Names,
            Item_Sheet,
            Item_Cell_Side,
            Item_Cells_Per_Row,
            Item_Cell_Limit,
            "Слишком много вещей на карте ",
            &TPath_Settings::Get_Item_Picture,
            false};
}

TDisplay_Object::TDisplay_Object() = default;

TDisplay_Object::~TDisplay_Object() {
    Free_Map_Buffers();
    Free_Interface_Buffers();
}

void TDisplay_Object::Load_Graphics() {
    // A second load would otherwise leave the first load's buffers taken for the rest of the run.
    Free_Interface_Buffers();
    Alloc_Map_Buffers();
    Clear_Interface_Buffers();
    Load_Interface_Bitmaps();
}

bool TDisplay_Object::Alloc_Map_Buffers() {
    Free_Map_Buffers(); // empty name lists, and no sheets of an earlier call left taken
    Alloc_Virtual_Buffer("f_Display_Terrain_VB", Terrain_Sheet, true, true, 1080, 1080);
    Alloc_Virtual_Buffer("f_Display_Monster_VB", Monster_Sheet, true, true, 540, 1080);
    return Alloc_Virtual_Buffer("f_Display_Item_VB", Item_Sheet, true, true, 960, 960);
}

void TDisplay_Object::Free_Map_Buffers() {
    Terrain_Bitmap_Names.clear();
    Monster_Bitmap_Names.clear();
    Item_Bitmap_Names.clear();
    Release_Buffer(Terrain_Sheet);
    Release_Buffer(Monster_Sheet);
    Release_Buffer(Item_Sheet);
}

void TDisplay_Object::Clear_Interface_Buffers() {
    Tile_Hit_Buffer = 0;
    Interface_Sheets.fill(0);
}

void TDisplay_Object::Free_Interface_Buffers() {
    Release_Buffer(Tile_Hit_Buffer);
    for (int32_t& sheet : Interface_Sheets) Release_Buffer(sheet);
    Free_Extra_Bitmaps();
}

void TDisplay_Object::Free_Extra_Bitmaps() {
    for (int32_t n = 1; n <= Extra_Bitmap_Count; ++n) Release_Buffer(Extra_Bitmaps[n]);
    Extra_Bitmaps.assign(1, 0);
    Extra_Bitmap_Count = 0;
}

int32_t TDisplay_Object::Load_Interface_Bitmaps() {
    try {
        Alloc_Virtual_Buffer("f_Tile_Hit_Workarea_VB", Tile_Hit_Buffer, true, true, Map_Cell_Side,
                             Map_Cell_Side);
        for (int32_t sheet = 0; sheet < Interface_Sheet_Count; ++sheet) {
            Load_Interface_Sheet(sheet);
            // The mask reads the floor diamond once its magenta is black.
            if (sheet == Sheet_Gen_Tiles) Build_Tile_Hit_Mask();
        }
        const TString_List& names = Effect_Bitmap_Names();
        for (std::size_t n = 1; n <= names.size(); ++n)
            Load_Extra_Bitmap(static_cast<int32_t>(n), names[n - 1]);
    } catch (const std::exception&) {
        Gx_Flip_To_GDI();
        Show_Message("Error", "Unable to load Display_Object bitmaps.");
    }
    return 1;
}

void TDisplay_Object::Load_Interface_Sheet(int32_t sheet) {
    const TInterface_Sheet_File& file = Interface_Files[sheet];
    const std::string path = (Paths().*file.Path)();
    int32_t width = 0, height = 0;
    if (!Gx_Read_Bmp_Size(path, width, height)) {
        Show_Unable_To_Load("Error", path);
        return;
    }
    int32_t& handle = Interface_Sheets[static_cast<std::size_t>(sheet)];
    if (!Alloc_Virtual_Buffer(file.Buffer_Name, handle, true, file.Video, height, width)) return;
    gx_vbopen(handle);
    if (gx_showbmp(path, 0) != Gx_Bmp_Ok) Show_Unable_To_Load("Error", path);
    if (file.Convert) Change_All_Pink_To_Black(handle);
}

bool TDisplay_Object::Load_Map_Bitmaps(TMap& map) {
    Terrain_Bitmap_Names.clear();
    Monster_Bitmap_Names.clear();
    Item_Bitmap_Names.clear();

    TString_List names;
    map.Get_Terrain_Bitmap_Names(names);
    Add_Border_Bitmap_Names(names);
    Set_Terrain_Bitmap_Names(names);
    if (Load_Terrain_Bitmaps(names, &map, true) < 0) return false;

    names.clear();
    map.Get_Monster_Bitmap_Names(names);
    Set_Monster_Bitmap_Names(names);
    // Creatures' pictures use magenta for their background like every other sheet.
    if (Load_Monster_Bitmaps(names, &map, true, true) < 0) return false;

    names.clear();
    map.Get_Item_Bitmap_Names(names);
    Set_Item_Bitmap_Names(names);
    return Load_Item_Bitmaps(names, &map, true) >= 0;
}

int32_t TDisplay_Object::Load_Terrain_Bitmaps(const TString_List& names, const TMap* map, bool replace) {
    return Load_Sheet(Terrain_Sheet_Of(), names, map, true, replace);
}

int32_t TDisplay_Object::Load_Monster_Bitmaps(const TString_List& names, const TMap* map, bool convert,
                                              bool replace) {
    return Load_Sheet(Monster_Sheet_Of(), names, map, convert, replace);
}

int32_t TDisplay_Object::Load_Item_Bitmaps(const TString_List& names, const TMap* map, bool replace) {
    return Load_Sheet(Item_Sheet_Of(), names, map, true, replace);
}

int32_t TDisplay_Object::Load_Sheet(const TMap_Sheet& sheet, const TString_List& names, const TMap* map,
                                    bool convert, bool replace) {
    // The cells to load are [first - 1, count) of the list they are named in.
    const TString_List* cell_names = &names;
    int64_t first = 1;
    if (!replace) {
        first = static_cast<int64_t>(sheet.Names.size()) + 1;
        const TString_List incoming = names; // may be the sheet's own list
        for (const std::string& name : incoming) {
            if (sheet.Skip_Present && Find_Monster_Bitmap(name) >= 0) continue;
            sheet.Names.push_back(name);
        }
        cell_names = &sheet.Names;
    }
    const int64_t count = static_cast<int64_t>(cell_names->size());
    if (count > sheet.Limit) {
        Show_Message("Ошибка", sheet.Too_Many + std::string("\"") + (map ? map->Name : std::string()) +
                                   "\". " + std::to_string(count) + " (из возможных " +
                                   std::to_string(sheet.Limit) + ") требуется для этой карты.");
        return -1;
    }
    // A sheet whose allocation failed has no buffer to load into.
    if (sheet.Handle < 1) return -1;

    gx_vbopen(sheet.Handle);
    int32_t result = static_cast<int32_t>(first);
    for (int64_t k = first - 1; k < count; ++k) {
        const std::string& name = (*cell_names)[static_cast<std::size_t>(k)];
        Gx_Move_To(static_cast<int32_t>(sheet.Cell_Side * (k % sheet.Per_Row)),
                   static_cast<int32_t>(sheet.Cell_Side * (k / sheet.Per_Row)));
        if (gx_showbmp((Paths().*sheet.Path)(name), Cell_Bmp_Flags) != Gx_Bmp_Ok) {
            Show_Unable_To_Load("Ошибка", "\"" + name + "\"");
            result = -1;
            break;
        }
    }
    if (convert) Change_All_Pink_To_Black(sheet.Handle);
    return result;
}

int32_t TDisplay_Object::Find_Monster_Bitmap(const std::string& name) const {
    const std::string wanted = Ascii_Lower(name);
    for (std::size_t n = 0; n < Monster_Bitmap_Names.size(); ++n)
        if (Ascii_Lower(Monster_Bitmap_Names[n]) == wanted) return static_cast<int32_t>(n);
    return -1;
}

void TDisplay_Object::Add_Border_Bitmap_Names(TString_List& names) {
    Border_Slots.Clear();
    for (int32_t type = 1; type <= Border_Type_Count; ++type) {
        names.push_back(Get_Border_Bitmap_Name(type));
        Border_Slots.Add(static_cast<uint16_t>(std::min<std::size_t>(names.size(), UINT16_MAX)));
    }
}

std::string TDisplay_Object::Get_Border_Bitmap_Name(int32_t type) {
    static const char* const Names[Border_Type_Count] = {
        "Border_N.bmp",   "Border_E.bmp",    "Border_S.bmp",   "Border_W.bmp",   "Border_ES.bmp",
        "Border_ESW.bmp", "Border_EW.bmp",   "Border_NE.bmp",  "Border_NES.bmp", "Border_NEW.bmp",
        "Border_NS.bmp",  "Border_NSEW.bmp", "Border_NSW.bmp", "Border_NW.bmp",  "Border_SW.bmp"};
    if (type < 1 || type > Border_Type_Count) return {};
    return Names[type - 1];
}

bool TDisplay_Object::Load_Extra_Bitmap(int32_t n, const std::string& name) {
    if (n < 1) return false;
    if (n > Extra_Bitmap_Count) {
        Extra_Bitmaps.resize(static_cast<std::size_t>(n) + 1, 0);
        Extra_Bitmap_Count = n;
    }
    int32_t& handle = Extra_Bitmaps[static_cast<std::size_t>(n)];
    Release_Buffer(handle); // loading again replaces the picture
    const std::string path = Paths().Get_SysPics_Picture(name);
    int32_t width = 0, height = 0;
    if (!Gx_Read_Bmp_Size(path, width, height)) {
        Show_Unable_To_Load("Error", path);
        return false;
    }
    if (!Alloc_Virtual_Buffer(name, handle, true, false, height, width)) return false;
    gx_vbopen(handle);
    const bool loaded = gx_showbmp(path, 0) == Gx_Bmp_Ok;
    if (!loaded) Show_Unable_To_Load("Error", path);
    Change_All_Pink_To_Black(handle);
    return loaded;
}

void TDisplay_Object::Change_All_Pink_To_Black(int32_t handle) {
    Log(Log_Unit, "TDisplay_Object.Change_All_Pink_To_Black - Begin");
    // Handle 0 is the back page, never a picture; an open that fails leaves nothing active.
    if (handle >= 1 && gx_vbopen(handle) == 0) {
        const uint32_t key = Gx_Rgb_To_Color(255, 0, 255);
        Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
        // A 32-bit pixel's top byte is not part of its colour; pictures may leave it set.
        const uint32_t colour_bits = Gx_Buffer_Surface(handle)->Bits == 32 ? 0x00FFFFFFu : 0xFFFFFFFFu;
        const bool locked = Gx_Lock() != nullptr;
        const int32_t max_x = Gx_Max_X(), max_y = Gx_Max_Y();
        for (int32_t y = 0; y <= max_y; ++y)
            for (int32_t x = 0; x <= max_x; ++x)
                if ((Gx_Get_Pixel(x, y) & colour_bits) == key) Gx_Set_Pixel(x, y);
        if (locked) Gx_Unlock();
    }
    Log(Log_Unit, "TDisplay_Object.Change_All_Pink_To_Black - End");
}

bool TDisplay_Object::Alloc_Virtual_Buffer(const std::string& name, int32_t& handle, bool show_error,
                                           bool try_video, int32_t height, int32_t width) {
    Log(Log_Unit, "TDisplay_Object.Alloc_Virtual_Buffer - Start");
    Log(Log_Unit, "  Buffer Name:   " + name);
    Log(Log_Unit, "  Buffer Width:  " + std::to_string(width));
    Log(Log_Unit, "  Buffer Height: " + std::to_string(height));
    bool result = true;
    bool allocated = false;
    if (try_video && !Video_Memory_Exhausted) {
        Log(Log_Unit, "  gx_ddmemory(1)");
        gx_ddmemory(1);
        Log(Log_Unit, "    (DDStatus = " + std::to_string(Gx_Dd_Status()) + ")");
        handle = gx_vballoc(width, height);
        allocated = handle >= 0;
        if (!allocated) {
            Video_Memory_Exhausted = 1;
            Log(Log_Unit, "  VIDMEM - Error allocating virtual buffer: " + name);
            Log(Log_Unit, "  gx_vballoc = " + std::to_string(handle));
        }
    }
    if (!allocated) {
        Log(Log_Unit, "  gx_ddmemory(0)");
        gx_ddmemory(0);
        Log(Log_Unit, "    (DDStatus = " + std::to_string(Gx_Dd_Status()) + ")");
        handle = gx_vballoc(width, height);
        if (handle < 0) {
            Log(Log_Unit, "  SYSMEM - Error allocating virtual buffer: " + name);
            Log(Log_Unit, "  gx_vballoc = " + std::to_string(handle));
            result = false;
            if (show_error) Show_Message("Error", "Error allocating virtual buffer: " + name);
        }
    }
    Log(Log_Unit, "TDisplay_Object.Alloc_Virtual_Buffer - End");
    return result;
}

bool TDisplay_Object::Load_Picture_Buffer(const std::string& name, const std::string& path, int32_t width,
                                          int32_t height, int32_t& handle) {
    if (!Alloc_Virtual_Buffer(name, handle, true, false, height, width)) return false;
    gx_vbopen(handle);
    const bool loaded = gx_showbmp(path, Picture_Bmp_Flags) == Gx_Bmp_Ok;
    Change_All_Pink_To_Black(handle);
    return loaded;
}

void TDisplay_Object::Release_Buffer(int32_t& handle) {
    if (handle >= 1) {
        // The library keeps the active buffer; an owner giving its buffer back means it is done with it.
        if (Gx_Active_Buffer() == handle) Gx_Deselect_Buffer();
        Gx_Free_Buffer(handle);
    }
    handle = 0;
}

// ---- Picking ----

void TDisplay_Object::Build_Tile_Hit_Mask() {
    const int32_t sheet = Interface_Sheets[Sheet_Gen_Tiles];
    const bool open = sheet >= 1 && gx_vbopen(sheet) == 0;
    for (int32_t x = 0; x < Map_Cell_Side; ++x)
        for (int32_t y = 0; y < Map_Cell_Side; ++y)
            Tile_Hit_Mask[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] =
                open && Gx_Get_Pixel(4 * Map_Cell_Side + x, y) != 0 ? 1 : 0;
}

bool TDisplay_Object::Is_Point_In_Tile_Mask(int32_t x, int32_t y) const {
    if (x < 0 || x >= Map_Cell_Side || y < 0 || y >= Map_Cell_Side) return false;
    return Tile_Hit_Mask[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] != 0;
}

bool TDisplay_Object::Is_Point_On_Square(int32_t x, int32_t y, int32_t map_x, int32_t map_y,
                                         const TMap& map) {
    if (x < 0 || x >= Map_Cell_Side || y < 0 || y >= Map_Cell_Side) return false;
    const TMap_Square* square = map.Get_Square(map_x, map_y);
    if (!square || Tile_Hit_Buffer < 1) return false;
    const int32_t previous = Gx_Active_Buffer();
    gx_vbopen(Tile_Hit_Buffer);
    Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
    Gx_Fill_Page();

    // As the map view draws it: hidden layers by the square's place relative to the player and whether
    // the last field of view holds it.
    int32_t dx = 0, dy = 0;
    bool visible = true;
    if (const TMonster* player = Player()) {
        dx = map_x - player->X;
        dy = map_y - player->Y;
        visible = map.Is_Visible(map_x - map.View_X(), map_y - map.View_Y()) != 0;
    }
    // The square draws through the display seam; for this picture the seam is this object, whatever the
    // program installed.
    std::shared_ptr<TDisplay_Sink> installed =
        Install_Display_Sink(std::make_shared<TDisplay_Object_Sink>(*this));
    try {
        square->Draw_As_Seen(Tile_Hit_Buffer, 0, dy, dx, visible, 0);
    } catch (...) {
        Install_Display_Sink(std::move(installed));
        Restore_Active(previous);
        throw;
    }
    Install_Display_Sink(std::move(installed));

    gx_vbopen(Tile_Hit_Buffer);
    const bool covered = Gx_Get_Pixel(x, y) != 0;
    Restore_Active(previous);
    return covered;
}

// ---- Cells ----

void TDisplay_Object::Draw_Terrain_Tile(int32_t target, int32_t x, int32_t y, int32_t n) const {
    if (Drawing_Suppressed) return;
    Copy_Grid_Cell(Terrain_Sheet, n, Map_Cell_Side, Map_Cell_Side, Map_Cells_Per_Row, target, x, y);
}

void TDisplay_Object::Draw_Monster_Tile(int32_t target, int32_t x, int32_t y, int32_t n) const {
    if (Drawing_Suppressed) return;
    Copy_Grid_Cell(Monster_Sheet, n, Map_Cell_Side, Map_Cell_Side, Map_Cells_Per_Row, target, x, y);
}

void TDisplay_Object::Draw_Item_Tile(int32_t target, int32_t x, int32_t y, bool centred, int32_t n) const {
    if (Drawing_Suppressed) return;
    const int64_t at_x = int64_t{x} + (centred ? 11 : 0), at_y = int64_t{y} + (centred ? 16 : 0);
    Copy_Grid_Cell(Item_Sheet, n, Item_Cell_Side, Item_Cell_Side, Item_Cells_Per_Row, target, at_x, at_y);
}

void TDisplay_Object::Draw_Border_Tile(int32_t target, int32_t x, int32_t y, int32_t type) const {
    // Border types come from map files: one outside the table, or before the borders were placed in the
    // terrain sheet, has no picture.
    if (type < 1 || type > Border_Type_Count || type > Border_Slots.Count()) return;
    Draw_Terrain_Tile(target, x, y, int32_t{Border_Slots.Get(type)} - 1);
}

void TDisplay_Object::Draw_General_Icon(int32_t target, int32_t x, int32_t y, bool transparent,
                                        int32_t n) const {
    Copy_Grid_Cell(Interface_Sheets[Sheet_General], n, 32, 32, 11, target, x, y, transparent);
}

void TDisplay_Object::Draw_Mouse_Cursor(int32_t target, int32_t x, int32_t y, int32_t right,
                                        int32_t bottom) const {
    if (!Cursor_Enabled) return;
    const int64_t width = std::min<int64_t>(32, int64_t{right} - x);
    const int64_t height = std::min<int64_t>(32, int64_t{bottom} - y);
    Copy_Cell(Interface_Sheets[Sheet_General], 128, 0, width, height, target, x, y);
}

void TDisplay_Object::Draw_Small_Icon(int32_t target, int32_t x, int32_t y, int32_t n) const {
    if (Drawing_Suppressed || n < 0) return;
    Copy_Cell(Interface_Sheets[Sheet_General], 160 + 32 * int64_t{n}, 0, 17, 17, target, x, y);
}

void TDisplay_Object::Draw_Fixed_Icon_1(int32_t target, int32_t x, int32_t y) const {
    if (Drawing_Suppressed) return;
    Copy_Cell(Interface_Sheets[Sheet_General], 224, 0, 32, 32, target, x, y);
}

void TDisplay_Object::Draw_Secret_Marker(int32_t target, int32_t x, int32_t y, bool centred) const {
    if (Drawing_Suppressed) return;
    Copy_Cell(Interface_Sheets[Sheet_General], 256, 0, 32, 32, target, int64_t{x} + (centred ? 11 : 0),
              int64_t{y} + (centred ? 16 : 0));
}

void TDisplay_Object::Draw_Fixed_Icon_3(int32_t target, int32_t x, int32_t y, bool centred) const {
    if (Drawing_Suppressed) return;
    Copy_Cell(Interface_Sheets[Sheet_General], 288, 0, 32, 32, target, int64_t{x} + (centred ? 11 : 0),
              int64_t{y} + (centred ? 13 : 0));
}

void TDisplay_Object::Draw_Misc_Panel(int32_t target, int32_t x, int32_t y, int32_t kind) const {
    if (Drawing_Suppressed) return;
    const int32_t sheet = Interface_Sheets[Sheet_Misc];
    switch (kind) {
    case 1: Copy_Cell(sheet, 0, 0, 134, 20, target, x, y); break;
    case 2: Copy_Cell(sheet, 0, 20, 111, 23, target, x, y); break;
    case 3: Copy_Cell(sheet, 0, 43, 134, 28, target, x, y); break;
    default: break;
    }
}

void TDisplay_Object::Draw_Misc_Icon_Row(int32_t target, int32_t x, int32_t y, int32_t n) const {
    if (Drawing_Suppressed || n < 0) return;
    Copy_Cell(Interface_Sheets[Sheet_Misc], 23 * int64_t{n}, 71, 23, 23, target, x, y);
}

void TDisplay_Object::Draw_Misc_Icon(int32_t target, int32_t x, int32_t y, int32_t n) const {
    if (Drawing_Suppressed || n < 0) return;
    Copy_Cell(Interface_Sheets[Sheet_Misc], 23 * (n % 8), 94 + 23 * int64_t{n / 8}, 23, 23, target, x, y);
}

void TDisplay_Object::Draw_Gen_Tile_Cell(int32_t target, int32_t x, int32_t y, int32_t n) const {
    if (Drawing_Suppressed) return;
    Copy_Grid_Cell(Interface_Sheets[Sheet_Gen_Tiles], n, Map_Cell_Side, Map_Cell_Side, 6, target, x, y);
}

void TDisplay_Object::Draw_Damage_FX_Cell(int32_t target, int32_t x, int32_t y, int32_t n) const {
    if (Drawing_Suppressed) return;
    Copy_Grid_Cell(Interface_Sheets[Sheet_Damage_FX], n, 32, 32, 3, target, x, y);
}

void TDisplay_Object::Draw_Spell_Container(int32_t target, int32_t x, int32_t y, int32_t row,
                                           int32_t column) const {
    if (Drawing_Suppressed || row < 0 || column < 0) return;
    Copy_Cell(Interface_Sheets[Sheet_Spell_Containers], 38 * int64_t{column}, 38 * int64_t{row}, 38, 38,
              target, x, y);
}

void TDisplay_Object::Draw_Spell_Icon(int32_t target, int32_t x, int32_t y, int32_t state, int32_t n) const {
    if (Drawing_Suppressed) return;
    const int64_t shift = state == 2 ? 2 : 0;
    Copy_Grid_Cell(Interface_Sheets[Sheet_Spells], n, 38, 38, 18, target, x + shift, y + shift);
}

int32_t TDisplay_Object::Button_Sheet(int32_t type) const {
    if (type < 1 || type > 10) return 0;
    return Interface_Sheets[static_cast<std::size_t>(Button_Types[type - 1].Sheet)];
}

void TDisplay_Object::Draw_Button(int32_t target, int32_t x, int32_t y, bool disabled, bool pressed,
                                  bool hover, int32_t type, int32_t index) const {
    if (Drawing_Suppressed || index < 0) return;
    int32_t width = 0, height = 0;
    Get_Button_Size(type, width, height);
    const int64_t state = disabled ? 3 : pressed ? 2 : hover ? 1 : 0;
    Copy_Cell(Button_Sheet(type), int64_t{index} * width, state * height, width, height, target, x, y);
}

void TDisplay_Object::Draw_Direction_Icon(int32_t target, int32_t x, int32_t y, int32_t direction) const {
    if (Drawing_Suppressed) return;
    const int32_t cell = direction >= 1 && direction <= 10 ? 21 + Direction_Cell_Offsets[direction - 1] : 20;
    Draw_General_Icon(target, x, y, false, cell);
}

void TDisplay_Object::Draw_Damage_FX_Frame(int32_t target, int32_t x, int32_t y, bool centred, int32_t kind,
                                           int32_t frame) const {
    const int64_t n = int64_t{kind} * 3 + frame;
    if (Drawing_Suppressed || n < 0 || !Fits_32(n)) return;
    Copy_Grid_Cell(Interface_Sheets[Sheet_Damage_FX], n, 32, 32, 3, target, int64_t{x} + (centred ? 11 : 0),
                   int64_t{y} + (centred ? 9 : 0));
}

void TDisplay_Object::Draw_Gen_Tile(int32_t target, int32_t x, int32_t y, int32_t n) const {
    Draw_Gen_Tile_Cell(target, x, y, n);
}

void TDisplay_Object::Draw_Highlight_Tile(int32_t target, int32_t x, int32_t y) const {
    Draw_Gen_Tile_Cell(target, x, y, 5);
}

void TDisplay_Object::Draw_Extra_Bitmap(int32_t target, int32_t x, int32_t y, int32_t n, int32_t source_x,
                                        int32_t source_y, int32_t width, int32_t height, bool centred) const {
    if (Drawing_Suppressed || n < 1 || n > Extra_Bitmap_Count) return;
    int64_t at_x = x, at_y = y;
    if (centred) {
        at_x += (Map_Cell_Side - int64_t{width}) / 2;
        at_y += (Map_Cell_Side - int64_t{height}) / 2 - 2;
    }
    Copy_Cell(Extra_Bitmaps[static_cast<std::size_t>(n)], source_x, source_y, width, height, target, at_x,
              at_y);
}

// ---- Sizes and colours ----

void TDisplay_Object::Get_Button_Size(int32_t type, int32_t& width, int32_t& height) {
    width = height = 0;
    if (type < 1 || type > 10) return;
    width = Button_Types[type - 1].Width;
    height = Button_Types[type - 1].Height;
}

uint32_t TDisplay_Object::Get_Color_From_RGB(uint32_t packed) {
    return Gx_Rgb_To_Color(packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF);
}
uint32_t TDisplay_Object::Get_Highlight_Color() {
    return Gx_Rgb_To_Color(11, 31, 183);
}
uint32_t TDisplay_Object::Get_Green_Color() {
    return Gx_Rgb_To_Color(0, 255, 0);
}
uint32_t TDisplay_Object::Get_White_Color() {
    return Gx_Rgb_To_Color(255, 255, 255);
}
uint32_t TDisplay_Object::Get_Black_Color() {
    return Gx_Rgb_To_Color(0, 0, 0);
}
uint32_t TDisplay_Object::Get_Pink_Color() {
    return Gx_Rgb_To_Color(255, 0, 255);
}
uint32_t TDisplay_Object::Get_Peach_Color() {
    return Gx_Rgb_To_Color(255, 203, 151);
}
uint32_t TDisplay_Object::Get_Red_Color() {
    return Gx_Rgb_To_Color(255, 0, 0);
}

// ---- The display seam ----

void TDisplay_Object_Sink::Append_Monster_Pictures(const TString_List& names) {
    Display_.Load_Monster_Bitmaps(names, Current_Map(), true, false);
}
int32_t TDisplay_Object_Sink::Monster_Picture_Cell(const std::string& name) const {
    return Display_.Find_Monster_Bitmap(name);
}
void TDisplay_Object_Sink::Draw_Terrain_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) {
    Display_.Draw_Terrain_Tile(target, x, y, cell);
}
void TDisplay_Object_Sink::Draw_Border_Tile(int32_t target, int32_t x, int32_t y, int32_t type) {
    Display_.Draw_Border_Tile(target, x, y, type);
}
void TDisplay_Object_Sink::Draw_Item_Tile(int32_t target, int32_t x, int32_t y, bool centred, int32_t cell) {
    Display_.Draw_Item_Tile(target, x, y, centred, cell);
}
void TDisplay_Object_Sink::Draw_Monster_Tile(int32_t target, int32_t x, int32_t y, int32_t cell) {
    Display_.Draw_Monster_Tile(target, x, y, cell);
}
void TDisplay_Object_Sink::Draw_Secret_Marker(int32_t target, int32_t x, int32_t y, bool centred) {
    Display_.Draw_Secret_Marker(target, x, y, centred);
}
void TDisplay_Object_Sink::Draw_Spell_Icon(int32_t target, int32_t x, int32_t y, int32_t state,
                                           int32_t cell) {
    Display_.Draw_Spell_Icon(target, x, y, state, cell);
}
void TDisplay_Object_Sink::Draw_Spell_Container(int32_t target, int32_t x, int32_t y, int32_t row,
                                                int32_t column) {
    Display_.Draw_Spell_Container(target, x, y, row, column);
}
void TDisplay_Object_Sink::Draw_Damage_FX_Frame(int32_t target, int32_t x, int32_t y, bool centred,
                                                int32_t kind, int32_t frame) {
    Display_.Draw_Damage_FX_Frame(target, x, y, centred, kind, frame);
}
void TDisplay_Object_Sink::Draw_Display_Effect_Frame(int32_t target, int32_t x, int32_t y, int32_t effect,
                                                     int32_t frame) {
    if (const TDisplay_Effect* found = Get_Display_Effect(effect))
        Draw_Frame(Display_, *found, target, x, frame, y);
}
void TDisplay_Object_Sink::Draw_Extra_Bitmap(int32_t target, int32_t x, int32_t y, int32_t n,
                                             int32_t source_x, int32_t source_y, int32_t width,
                                             int32_t height, bool centred) {
    Display_.Draw_Extra_Bitmap(target, x, y, n, source_x, source_y, width, height, centred);
}
void TDisplay_Object_Sink::Set_Text_Style(int32_t style) {
    Set_Font(style);
}
void TDisplay_Object_Sink::Set_Text_Color(int32_t red, int32_t green, int32_t blue) {
    ::Set_Text_Color(red, green, blue);
}
void TDisplay_Object_Sink::Set_Text_Justify(int32_t horizontal, int32_t vertical) {
    ::Set_Text_Justify(horizontal, vertical);
}
void TDisplay_Object_Sink::Draw_Text(int32_t target, int32_t x, int32_t y, const std::string& text) {
    Draw_Text_On(target, x, y, text);
}

TDisplay_Object* Display_Object() {
    return Installed_Display.get();
}

void Install_Display_Object(std::unique_ptr<TDisplay_Object> display) {
    // The seam changes first, so nothing draws through an object that is going away.
    if (display)
        Install_Display_Sink(std::make_shared<TDisplay_Object_Sink>(*display));
    else
        Install_Display_Sink(nullptr);
    Installed_Display = std::move(display);
}
