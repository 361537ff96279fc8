#include "generation/RndClassTile.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "core/TextCodec.h"

namespace {

const char* const Error_Heading = "Ошибки файлов данных класса: ";

std::u32string Decode_Row(const std::string& text) {
    std::u32string row;
    size_t pos = 0;
    while (pos < text.size()) row.push_back(Next_Utf8_Code_Point(text, pos));
    return row;
}

// A comma-separated category list: each piece trimmed and lower-cased (ASCII).
TString_List Category_List(const std::string& text) {
    TString_List pieces;
    Split_Comma_List(text, pieces, true);
    for (std::string& piece : pieces) piece = Trim_Data(piece);
    return pieces;
}

// The layout extent a tile size is divided into: the whole map when tiles may lie in the border.
int32_t Layout_Extent(bool tiles_in_border) {
    return tiles_in_border ? 200 : 184;
}

} // namespace

std::string Side_Name(int32_t side) {
    static const char* const names[] = {"N", "E", "S", "W"};
    return side >= 1 && side <= 4 ? names[side - 1] : "";
}

uint8_t Side_Flag(const TSide_Set& sides, int32_t side) {
    return side >= 1 && side <= 4 ? sides[static_cast<size_t>(side) - 1] : 0;
}

bool Sides_All_Set(const TSide_Set& sides) {
    return sides[0] != 0 && sides[1] != 0 && sides[2] != 0 && sides[3] != 0;
}

void Sides_Clear(TSide_Set& sides) {
    sides = {0, 0, 0, 0};
}

void TTile_Class::Assign(const TTile_Class& other) {
    Name = other.Name;
    Connection_Types = other.Connection_Types;
    Max_Per_Level = other.Max_Per_Level;
    Max_Per_Module = other.Max_Per_Module;
    Allow_Random_Monsters = other.Allow_Random_Monsters;
    Allow_Wandering_Monsters = other.Allow_Wandering_Monsters;
    Monster_Placement_Categories = other.Monster_Placement_Categories;
    Allow_Random_Items = other.Allow_Random_Items;
    Item_Placement_Categories = other.Item_Placement_Categories;
    Can_Be_Rotated = other.Can_Be_Rotated;
    Weight = other.Weight;
    Section_Width = other.Section_Width;
    Section_Height = other.Section_Height;
    Section_X = other.Section_X;
    Section_Y = other.Section_Y;
    Section_Group = other.Section_Group;
    Rows = other.Rows;
    Identifiers = other.Identifiers;
}

std::string TTile_Class::Row_Text(int32_t r) const {
    std::string text;
    if (r < 1 || r > static_cast<int32_t>(Rows.size())) return text;
    for (char32_t c : Rows[static_cast<size_t>(r) - 1]) Append_Utf8(text, c);
    return text;
}

TTile_Table& Tile_Classes() {
    static TTile_Table table;
    return table;
}

void Free_Tile_Classes() {
    Tile_Classes().Clear();
}

bool Load_Tile_Classes(const std::string& file_name, TString_List* error_list) {
    Free_Tile_Classes();
    // Without path settings there is no module folder to read from.
    if (!Path_Settings()) return false;
    TTile_Class_Data_File_Loader loader(Path_Settings()->Get_Tile_File(file_name), Tile_Classes());
    return loader.Execute_Load_And_Report(Error_Heading, error_list);
}

// ---------------------------------------------------------------------------------------------------------
// Loader

namespace {

// Reads a required key through the converter; a missing key is reported and leaves the field as it was.
template <typename TField, typename TConvert>
bool Read_Key(TData_File_Loader& loader, const std::string& key, TField& field, TConvert convert) {
    std::string value;
    if (!loader.Get_Field_Value(key, value, true)) return false;
    field = static_cast<TField>(convert(value));
    return true;
}

uint16_t Word_Of(const std::string& text) {
    return Str_To_Word(text);
}
// Coordinates stored in a byte keep the low 8 bits of the number: 300 reads 44.
uint8_t Low_Byte_Of(const std::string& text) {
    return static_cast<uint8_t>(Str_To_Word(text) & 0xFF);
}
// A starting tile's cell: a number above 255 (or "[Random]") reads 0, any cell.
uint8_t Cell_Of(const std::string& text) {
    const uint16_t value = Str_To_Word(text);
    return value > 255 ? 0 : static_cast<uint8_t>(value);
}
TString_List Categories_Of(const std::string& text) {
    return Category_List(text);
}

template <typename TConvert>
void Read_Location(TData_File_Loader& loader, const std::string& prefix, const std::string& x_suffix,
                   const std::string& y_suffix, TTile_Class_Specific_Location& location, TConvert convert) {
    Read_Key(loader, prefix + " Name", location.Name, Str_To_Str);
    Read_Key(loader, prefix + x_suffix, location.X, convert);
    Read_Key(loader, prefix + y_suffix, location.Y, convert);
}

} // namespace

void TTile_Class_Data_File_Loader::Before_Load() {
    Global_Identifiers_.clear();
}

void TTile_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    if (record_number == 1)
        Read_Settings();
    else
        Read_Tile();
}

void TTile_Class_Data_File_Loader::Check_Square(const TTile_Class_Specific_Location& location,
                                                const std::string& prefix) {
    // A square outside the tile would land in a neighbouring tile or off the map: an entrance there is a
    // start or connection nobody can reach.
    const TTile_Class_Info& info = *Table_.Info;
    if (location.X < 1 || location.X > info.Tile_Square_Width)
        Report_Invalid_Value(std::to_string(location.X), prefix + " Xpos");
    if (location.Y < 1 || location.Y > info.Tile_Square_Height)
        Report_Invalid_Value(std::to_string(location.Y), prefix + " Ypos");
}

void TTile_Class_Data_File_Loader::Read_Symbols(const std::string& count_key, const std::string& prefix,
                                                const std::string& symbol_suffix,
                                                const std::string& category_suffix,
                                                std::vector<TTile_Class_Symbol>& symbols) {
    uint16_t count = 0;
    Read_Key(*this, count_key, count, Word_Of);
    for (int32_t k = 1; k <= count; ++k) {
        const std::string p = prefix + std::to_string(k);
        TTile_Class_Symbol symbol;
        Read_Key(*this, p + symbol_suffix, symbol.Symbol, Str_To_Str);
        Read_Key(*this, p + category_suffix, symbol.Categories, Categories_Of);
        symbols.push_back(std::move(symbol));
    }
}

void TTile_Class_Data_File_Loader::Read_Settings() {
    Table_.Info = std::make_unique<TTile_Class_Info>();
    TTile_Class_Info& info = *Table_.Info;
    std::string width_text, height_text;
    if (Get_Field_Value("Tile Square Width", width_text, true))
        info.Tile_Square_Width = Str_To_Word(width_text);
    if (Get_Field_Value("Tile Square Height", height_text, true))
        info.Tile_Square_Height = Str_To_Word(height_text);
    Read_Key(*this, "Fill Level With Terrain Category", info.Fill_Categories, Categories_Of);
    Read_Key(*this, "Fill Level Border With Terrain Category", info.Fill_Border_Categories, Categories_Of);
    Read_Key(*this, "Change Door Directions", info.Change_Door_Directions, Str_To_Bool);
    Read_Key(*this, "Change Generic Walls to Specific", info.Change_Generic_Walls, Str_To_Bool);
    Read_Key(*this, "Add Black Border to Walls", info.Add_Black_Border, Str_To_Bool);
    Read_Key(*this, "Black Border Ceiling Terrain Category", info.Black_Border_Ceiling_Categories,
             Categories_Of);
    Read_Key(*this, "Black Border Wall Terrain Category", info.Black_Border_Wall_Categories, Categories_Of);
    Read_Key(*this, "Set Third Layer Visibility Behind Walls", info.Set_Third_Layer_Visibility, Str_To_Bool);
    Read_Key(*this, "Tiles allowed in the border", info.Tiles_Allowed_In_Border, Str_To_Bool);
    Read_Key(*this, "Allow tile connection off map", info.Allow_Connection_Off_Map, Str_To_Bool);
    Read_Key(*this, "Require connection between starting points", info.Require_Start_Connections,
             Str_To_Bool);
    Read_Key(*this, "Increased Border Size", info.Increased_Border_Size, Word_Of);
    Read_Key(*this, "Percent of map to fill", info.Percent_To_Fill, Word_Of);
    Read_Key(*this, "Number of tiles to change to resize", info.Tiles_To_Resize, Word_Of);

    // The layout divides the map by the tile size: a size of 0 divides by zero, and a grid under 6 cells
    // across or down has no cell (6, 6) and no random cell range for the starting tiles.
    const int32_t extent = Layout_Extent(info.Tiles_Allowed_In_Border);
    if (info.Tile_Square_Width == 0 || extent / info.Tile_Square_Width < Minimum_Layout_Cells)
        Report_Invalid_Value(width_text, "Tile Square Width");
    if (info.Tile_Square_Height == 0 || extent / info.Tile_Square_Height < Minimum_Layout_Cells)
        Report_Invalid_Value(height_text, "Tile Square Height");

    uint16_t count = 0;
    Read_Key(*this, "Number of specific tile locations", count, Word_Of);
    for (int32_t i = 1; i <= count; ++i) {
        info.Specific_Tile_Locations.emplace_back();
        Read_Location(*this, "Tile Location " + std::to_string(i), " Xpos", " Ypos",
                      info.Specific_Tile_Locations.back(), Cell_Of);
    }

    count = 0;
    Read_Key(*this, "Number of group tile locations", count, Word_Of);
    for (int32_t g = 1; g <= count; ++g) {
        const std::string p = "Tile Group " + std::to_string(g);
        info.Tile_Groups.emplace_back();
        TTile_Group_Location& group = info.Tile_Groups.back();
        Read_Key(*this, p + " Chance", group.Chance, Word_Of);
        uint16_t tiles = 0;
        Read_Key(*this, p + " Number of Tiles", tiles, Word_Of);
        for (int32_t t = 1; t <= tiles; ++t) {
            group.Tiles.emplace_back();
            Read_Location(*this, p + " Tile " + std::to_string(t), " Xpos", " Ypos", group.Tiles.back(),
                          Low_Byte_Of);
        }
    }

    count = 0;
    Read_Key(*this, "Number of Tile Entrances", count, Word_Of);
    for (int32_t e = 1; e <= count; ++e) {
        const std::string p = "Tile Entrance " + std::to_string(e);
        info.Tile_Entrances.emplace_back();
        Read_Location(*this, p, " Tile Square Xpos", " Tile Square Ypos", info.Tile_Entrances.back(),
                      Low_Byte_Of);
        Check_Square(info.Tile_Entrances.back(), p + " Tile Square");
    }

    Read_Symbols("Number of Global Tile Identifiers", "Global Identifier ", " Symbol", " Terrain Category",
                 Global_Identifiers_);
}

void TTile_Class_Data_File_Loader::Read_Tile() {
    auto tile = std::make_unique<TTile_Class>();
    TTile_Class& t = *tile;
    // The entry exists before its keys are read: record r is tile r - 1 even when it fails halfway.
    Table_.Tiles.push_back(std::move(tile));
    const TTile_Class_Info& info = *Table_.Info;

    Read_Key(*this, "Tile Name", t.Name, Str_To_Str);
    Set_Record_Name(t.Name);
    static const char* const side_keys[4] = {"Connection Type N", "Connection Type E", "Connection Type S",
                                             "Connection Type W"};
    for (size_t k = 0; k < 4; ++k) Read_Key(*this, side_keys[k], t.Connection_Types[k], Low_Byte_Of);
    Read_Key(*this, "Maximum Number Per Dungeon Level", t.Max_Per_Level, Word_Of);
    Read_Key(*this, "Maximum Number Per Module", t.Max_Per_Module, Word_Of);
    Read_Key(*this, "Allow Random Monster Placement in this Tile", t.Allow_Random_Monsters, Str_To_Bool);
    Read_Key(*this, "Allow Wandering Monster Placement", t.Allow_Wandering_Monsters, Str_To_Bool);
    Read_Key(*this, "Monster Placement Terrain Category", t.Monster_Placement_Categories, Categories_Of);
    Read_Key(*this, "Allow Random Item Placement in this Tile", t.Allow_Random_Items, Str_To_Bool);
    Read_Key(*this, "Item Placement Terrain Category", t.Item_Placement_Categories, Categories_Of);
    std::string rotate_text;
    if (Get_Field_Value("Tile Can Be Rotated", rotate_text, true))
        t.Can_Be_Rotated = Str_To_Bool(rotate_text);
    // Turning is defined on a 17 x 17 grid; the tile editor saves its 15 x 15 tiles unrotatable. A tile
    // refused here makes no turned copies.
    if (t.Can_Be_Rotated &&
        (info.Tile_Square_Width != Rotatable_Tile_Size || info.Tile_Square_Height != Rotatable_Tile_Size)) {
        Report_Invalid_Value(rotate_text, "Tile Can Be Rotated");
        t.Can_Be_Rotated = false;
    }
    Read_Key(*this, "Tile Percent Chance Per Dungeon Level", t.Weight, Word_Of);
    Read_Key(*this, "Tile Section Width", t.Section_Width, Word_Of);
    Read_Key(*this, "Tile Section Height", t.Section_Height, Word_Of);
    Read_Key(*this, "Tile Section Position X", t.Section_X, Word_Of);
    Read_Key(*this, "Tile Section Position Y", t.Section_Y, Word_Of);
    Read_Key(*this, "Tile Section Group ID", t.Section_Group, Word_Of);

    for (int32_t r = 1; r <= info.Tile_Square_Height; ++r) {
        std::string text;
        if (!Get_Field_Value("Tile Row " + std::to_string(r), text, true)) continue;
        // The width counts characters: a row of Cyrillic symbols has more bytes than squares.
        std::u32string row = Decode_Row(text);
        if (row.size() != info.Tile_Square_Width)
            Add_Error("Tile Row " + std::to_string(r) + " not the correct size.");
        else
            t.Rows.push_back(std::move(row));
    }

    Read_Symbols("Number of Tile Specific Identifiers", "Identifier ", " Symbol", " Terrain Category",
                 t.Identifiers);

    static const struct {
        const char* Count_Key;
        const char* Prefix;
        std::vector<TTile_Class_Specific_Location> TTile_Class::*List;
    } placements[] = {{"Number of Specific Monsters", "Monster ", &TTile_Class::Specific_Monsters},
                      {"Number of Specific Items", "Item ", &TTile_Class::Specific_Items}};
    for (const auto& placement : placements) {
        uint16_t count = 0;
        Read_Key(*this, placement.Count_Key, count, Word_Of);
        for (int32_t m = 1; m <= count; ++m) {
            const std::string p = placement.Prefix + std::to_string(m);
            TTile_Class_Specific_Location location;
            Read_Key(*this, p + " Class Name", location.Name, Str_To_Str);
            Read_Key(*this, p + " Xpos", location.X, Low_Byte_Of);
            Read_Key(*this, p + " Ypos", location.Y, Low_Byte_Of);
            Check_Square(location, p);
            (t.*placement.List).push_back(std::move(location));
        }
    }

    Read_Key(*this, "Locked Terrain Groups", t.Locked_Terrain_Groups, Str_To_Str);
    Read_Key(*this, "Trapped Terrain Groups", t.Trapped_Terrain_Groups, Str_To_Str);
}

void TTile_Class_Data_File_Loader::After_Load() {
    // A file without the settings record would leave the digger without a tile size: it fails like one
    // whose settings lack their first key.
    if (!Table_.Info) Add_Error(Missing_Field_Line("Tile Square Width", "", 1));

    if (!Table_.Tiles.empty() && !Global_Identifiers_.empty())
        for (auto& tile : Table_.Tiles)
            tile->Identifiers.insert(tile->Identifiers.end(), Global_Identifiers_.begin(),
                                     Global_Identifiers_.end());
    Global_Identifiers_.clear();

    const size_t read = Table_.Tiles.size();
    for (size_t i = 0; i < read; ++i)
        if (Table_.Tiles[i]->Can_Be_Rotated) Add_Rotated_Tiles(*Table_.Tiles[i]);
}

void TTile_Class_Data_File_Loader::Add_Rotated_Tiles(const TTile_Class& tile) {
    constexpr int32_t n = Rotatable_Tile_Size;
    // The character at column x, row y (from 1); a square the tile lacks (a row the load refused) reads
    // as a blank, which the load has already reported.
    auto at = [&tile](int32_t x, int32_t y) -> char32_t {
        if (y > static_cast<int32_t>(tile.Rows.size())) return U' ';
        const std::u32string& row = tile.Rows[static_cast<size_t>(y) - 1];
        return x <= static_cast<int32_t>(row.size()) ? row[static_cast<size_t>(x) - 1] : U' ';
    };
    const TSide_Set& s = tile.Connection_Types; // N, E, S, W
    for (int32_t k = 1; k <= 3; ++k) {
        TTile_Class copy;
        copy.Assign(tile);
        copy.Rotation = k;
        // Turned clockwise: after a quarter turn the old west side faces north.
        if (k == 1) copy.Connection_Types = {s[3], s[0], s[1], s[2]};
        if (k == 2) copy.Connection_Types = {s[2], s[3], s[0], s[1]};
        if (k == 3) copy.Connection_Types = {s[1], s[2], s[3], s[0]};
        copy.Rows.assign(static_cast<size_t>(n), std::u32string(static_cast<size_t>(n), U' '));
        for (int32_t y = 1; y <= n; ++y)
            for (int32_t x = 1; x <= n; ++x) {
                int32_t nx = x, ny = y;
                if (k == 1) nx = n + 1 - y, ny = x;
                if (k == 2) nx = n + 1 - x, ny = n + 1 - y;
                if (k == 3) nx = y, ny = n + 1 - x;
                copy.Rows[static_cast<size_t>(ny) - 1][static_cast<size_t>(nx) - 1] = at(x, y);
            }
        bool duplicate = false;
        for (const auto& other : Table_.Tiles)
            if (other->Connection_Types == copy.Connection_Types && other->Rows == copy.Rows)
                duplicate = true;
        if (duplicate) continue;
        Table_.Tiles.push_back(std::make_unique<TTile_Class>());
        Table_.Tiles.back()->Assign(copy);
        Table_.Tiles.back()->Rotation = k;
    }
}
