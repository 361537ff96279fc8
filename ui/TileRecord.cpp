#include "ui/TileRecord.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/Terrain.h"
#include "core/TextCodec.h"

#include <algorithm>

namespace {

constexpr size_t Key_Width = 44;

void Add_Line(std::string& text, const std::string& key, const std::string& value) {
    text += key;
    if (key.size() < Key_Width) text.append(Key_Width - key.size(), ' ');
    text += ":= ";
    text += value;
    text += '\n';
}

std::string Categories_Text(const TTerrain_List& terrains, uint16_t id) {
    std::string text;
    if (id == 0) return text;
    const TTerrain* terrain = terrains.Terrain(id);
    if (!terrain) return text;
    for (const std::string& category : terrain->Categories) {
        if (!text.empty()) text += ", ";
        text += category;
    }
    return text;
}

// The text after the first ":=", trimmed; empty when the line has none.
std::string Value_Of(const std::string& line) {
    const size_t assign = line.find(":=");
    return assign == std::string::npos ? std::string() : Trim_Data(line.substr(assign + 2));
}

std::vector<std::string> Lines_Of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

char Tile_Symbol(int32_t k) {
    if (k < 0 || k >= Tile_Symbol_Count) return '\0';
    if (k == 0) return 'N';
    if (k <= 26) return static_cast<char>('a' + k - 1);
    if (k <= 51) {
        const char c = static_cast<char>('A' + k - 27);
        return c < 'N' ? c : static_cast<char>(c + 1);
    }
    if (k <= 83) return static_cast<char>('!' + k - 52);
    return static_cast<char>('{' + k - 84);
}

std::vector<uint16_t> Section_Terrains(const TTile_Section& section) {
    std::vector<uint16_t> ids = {0};
    for (const auto& row : section)
        for (const uint16_t id : row)
            if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    return ids;
}

std::optional<std::string> Tile_Record_Text(const TTile_Section& section, const TTile_Section_Place& place,
                                            const TTerrain_List& terrains) {
    const std::vector<uint16_t> ids = Section_Terrains(section);
    if (static_cast<int32_t>(ids.size()) > Tile_Symbol_Count) return std::nullopt;
    const auto symbol_of = [&ids](uint16_t id) {
        return Tile_Symbol(static_cast<int32_t>(std::find(ids.begin(), ids.end(), id) - ids.begin()));
    };

    std::string text;
    Add_Line(text, "Tile Name", "");
    for (const char* side : {"N", "E", "S", "W"}) Add_Line(text, std::string("Connection Type ") + side, "0");
    Add_Line(text, "Maximum Number Per Dungeon Level", "100");
    Add_Line(text, "Maximum Number Per Module", "100");
    Add_Line(text, "Allow Random Monster Placement in this Tile", "TRUE");
    Add_Line(text, "Allow Wandering Monster Placement", "TRUE");
    Add_Line(text, "Monster Placement Terrain Category", "floor, gravel, plain");
    Add_Line(text, "Allow Random Item Placement in this Tile", "TRUE");
    Add_Line(text, "Item Placement Terrain Category", "floor, gravel, plain");
    Add_Line(text, "Tile Can Be Rotated", "FALSE");
    Add_Line(text, "Tile Percent Chance Per Dungeon Level", "10");

    // A lone section is no group; the pieces of a larger area are one group placed by their positions.
    const bool grouped = place.Across * place.Down > 1;
    Add_Line(text, "Tile Section Width", std::to_string(place.Across));
    Add_Line(text, "Tile Section Height", std::to_string(place.Down));
    Add_Line(text, "Tile Section Position X", grouped ? std::to_string(place.X) : "0");
    Add_Line(text, "Tile Section Position Y", grouped ? std::to_string(place.Y) : "0");
    Add_Line(text, "Tile Section Group ID", grouped ? "1" : "0");

    for (int32_t r = 0; r < Tile_Section_Size; ++r) {
        std::string row;
        for (const uint16_t id : section[static_cast<size_t>(r)]) row += symbol_of(id);
        Add_Line(text, "Tile Row " + std::to_string(r + 1), row);
    }

    Add_Line(text, "Number of Tile Specific Identifiers", std::to_string(ids.size()));
    for (size_t i = 0; i < ids.size(); ++i) {
        const std::string prefix = "Identifier " + std::to_string(i + 1);
        Add_Line(text, prefix + " Symbol", std::string(1, Tile_Symbol(static_cast<int32_t>(i))));
        Add_Line(text, prefix + " Terrain Category", Categories_Text(terrains, ids[i]));
    }

    Add_Line(text, "Number of Specific Monsters", "0");
    Add_Line(text, "Number of Specific Items", "0");
    Add_Line(text, "Locked Terrain Groups", "");
    Add_Line(text, "Trapped Terrain Groups", "");
    text += '\n';
    return text;
}

uint16_t Terrain_With_Categories(const TTerrain_List& terrains, const TString_List& categories) {
    if (categories.empty()) return 0;
    for (int32_t id = terrains.Count(); id >= 1; --id) {
        const TTerrain* terrain = terrains.Terrain(id);
        if (!terrain) continue;
        if (std::all_of(categories.begin(), categories.end(),
                        [terrain](const std::string& c) { return terrain->Has_Category(c); }))
            return static_cast<uint16_t>(id);
    }
    return 0;
}

std::vector<TTile_Square> Read_Tile_Text(const std::string& text, const TTerrain_List& terrains) {
    std::string decoded = text;
    Decode_Data_Text_In_Place(decoded);
    const std::vector<std::string> lines = Lines_Of(decoded);

    struct TSymbol {
        char32_t Symbol;
        uint16_t Terrain;
    };
    std::vector<TSymbol> symbols;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("Identifier") == std::string::npos || lines[i].find("Symbol") == std::string::npos)
            continue;
        const std::string symbol = Value_Of(lines[i]);
        const std::string categories = i + 1 < lines.size() ? Value_Of(lines[i + 1]) : std::string();
        if (symbol.empty() || categories.empty()) continue;
        TString_List pieces;
        Split_Comma_List(categories, pieces, true);
        TString_List wanted;
        for (const std::string& piece : pieces)
            if (std::string c = Trim_Data(piece); !c.empty()) wanted.push_back(std::move(c));
        size_t pos = 0;
        symbols.push_back({Next_Utf8_Code_Point(symbol, pos), Terrain_With_Categories(terrains, wanted)});
    }

    std::vector<TTile_Square> squares;
    int32_t row = 0;
    for (const std::string& line : lines) {
        if (line.find("Tile Row") == std::string::npos) continue;
        const std::string value = Value_Of(line);
        if (value.empty()) continue;
        ++row;
        size_t pos = 0;
        for (int32_t column = 1; pos < value.size(); ++column) {
            const char32_t c = Next_Utf8_Code_Point(value, pos);
            const auto match = std::find_if(symbols.rbegin(), symbols.rend(),
                                            [c](const TSymbol& s) { return s.Symbol == c; });
            if (match != symbols.rend() && match->Terrain > 0)
                squares.push_back({column, row, match->Terrain});
        }
    }
    return squares;
}
