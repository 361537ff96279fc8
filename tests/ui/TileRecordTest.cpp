// The tile editor's record: its exact text for one section, the symbol sequence, the refusal of a section
// with too many terrains, the record read by the tile-class loader, and the reading back of tile files.
#include "ui/TileRecord.h"
#include "core/Terrain.h"
#include "generation/RndClassTile.h"
#include "tests/generation/DiggerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

// Found by argument lookup, so it stays outside the unnamed namespace.
void PrintTo(const TTile_Square& s, std::ostream* out) {
    *out << "(" << s.Column << "," << s.Row << ": " << s.Terrain << ")";
}

namespace {

// Terrains 1..n with the categories given, in id order.
void Fill_Terrains(TTerrain_List& list, const std::vector<std::string>& categories) {
    list.Clear();
    for (size_t i = 0; i < categories.size(); ++i) {
        TTerrain terrain;
        terrain.Name = "T" + std::to_string(i + 1);
        terrain.Set_Categories(categories[i]);
        list.Add(terrain);
    }
}

// Written by hand: keys padded to 44 characters, the 43-character key followed by " := ".
const char* const Golden_Record = "Tile Name                                   := \n"
                                  "Connection Type N                           := 0\n"
                                  "Connection Type E                           := 0\n"
                                  "Connection Type S                           := 0\n"
                                  "Connection Type W                           := 0\n"
                                  "Maximum Number Per Dungeon Level            := 100\n"
                                  "Maximum Number Per Module                   := 100\n"
                                  "Allow Random Monster Placement in this Tile := TRUE\n"
                                  "Allow Wandering Monster Placement           := TRUE\n"
                                  "Monster Placement Terrain Category          := floor, gravel, plain\n"
                                  "Allow Random Item Placement in this Tile    := TRUE\n"
                                  "Item Placement Terrain Category             := floor, gravel, plain\n"
                                  "Tile Can Be Rotated                         := FALSE\n"
                                  "Tile Percent Chance Per Dungeon Level       := 10\n"
                                  "Tile Section Width                          := 1\n"
                                  "Tile Section Height                         := 1\n"
                                  "Tile Section Position X                     := 0\n"
                                  "Tile Section Position Y                     := 0\n"
                                  "Tile Section Group ID                       := 0\n"
                                  "Tile Row 1                                  := abcNNNNNNNNNNNN\n"
                                  "Tile Row 2                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 3                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 4                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 5                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 6                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 7                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 8                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 9                                  := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 10                                 := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 11                                 := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 12                                 := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 13                                 := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 14                                 := NNNNNNNNNNNNNNN\n"
                                  "Tile Row 15                                 := NNNNNNNNNNNNNNa\n"
                                  "Number of Tile Specific Identifiers         := 4\n"
                                  "Identifier 1 Symbol                         := N\n"
                                  "Identifier 1 Terrain Category               := \n"
                                  "Identifier 2 Symbol                         := a\n"
                                  "Identifier 2 Terrain Category               := floor, камень\n"
                                  "Identifier 3 Symbol                         := b\n"
                                  "Identifier 3 Terrain Category               := вода\n"
                                  "Identifier 4 Symbol                         := c\n"
                                  "Identifier 4 Terrain Category               := \n"
                                  "Number of Specific Monsters                 := 0\n"
                                  "Number of Specific Items                    := 0\n"
                                  "Locked Terrain Groups                       := \n"
                                  "Trapped Terrain Groups                      := \n"
                                  "\n";

// Terrain 2 first, then 1, then an id the list does not hold; the last square repeats terrain 2.
TTile_Section Golden_Section() {
    TTile_Section section{};
    section[0][0] = 2;
    section[0][1] = 1;
    section[0][2] = 5;
    section[14][14] = 2;
    return section;
}

TEST(Tile_Record, OneSectionIsWrittenExactly) {
    TTerrain_List terrains;
    Fill_Terrains(terrains, {"вода", "камень, Floor"});
    const std::optional<std::string> text = Tile_Record_Text(Golden_Section(), {}, terrains);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, Golden_Record);
}

TEST(Tile_Record, SectionsOfALargerAreaAreOneGroup) {
    TTerrain_List terrains;
    const std::string text = Tile_Record_Text(TTile_Section{}, {2, 2, 2, 1}, terrains).value();
    for (const char* line : {"Tile Section Width                          := 2\n",
                             "Tile Section Height                         := 2\n",
                             "Tile Section Position X                     := 2\n",
                             "Tile Section Position Y                     := 1\n",
                             "Tile Section Group ID                       := 1\n",
                             "Number of Tile Specific Identifiers         := 1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(Tile_Record, SymbolsRunThroughEightyEightCharacters) {
    const struct {
        int32_t K;
        char Symbol;
    } cases[] = {{-1, '\0'}, {0, 'N'},  {1, 'a'},  {26, 'z'}, {27, 'A'}, {39, 'M'}, {40, 'O'},
                 {51, 'Z'},  {52, '!'}, {83, '@'}, {84, '{'}, {87, '~'}, {88, '\0'}};
    for (const auto& c : cases) EXPECT_EQ(Tile_Symbol(c.K), c.Symbol) << c.K;

    // 87 terrains and the empty one fill every symbol; one more cannot be written.
    TTerrain_List terrains;
    TTile_Section section{};
    for (int32_t i = 0; i < 87; ++i)
        section[static_cast<size_t>(i / 15)][static_cast<size_t>(i % 15)] = static_cast<uint16_t>(i + 1);
    const std::optional<std::string> full = Tile_Record_Text(section, {}, terrains);
    ASSERT_TRUE(full.has_value());
    EXPECT_NE(full->find("Identifier 88 Symbol                        := ~\n"), std::string::npos);
    section[14][14] = 200;
    EXPECT_FALSE(Tile_Record_Text(section, {}, terrains).has_value());
}

TEST(Tile_Record, TheRecordUnderASettingsRecordLoadsWithoutErrors) {
    TTerrain_List terrains;
    Fill_Terrains(terrains, {"вода", "камень, Floor"});
    std::string file = "Tiles\n*BEGIN*\n\n\n";
    for (const auto& [key, value] :
         With(Tile_Settings_Keys(), {{"Tile Square Width", "15"}, {"Tile Square Height", "15"}}))
        file += key + " := " + value + "\n";
    file += "\n" + Tile_Record_Text(Golden_Section(), {}, terrains).value() + "*END*\n";

    TTile_Table table;
    TTile_Class_Data_File_Loader loader("Tile_1.txt", table);
    loader.Execute_Load_From_Bytes(file);
    EXPECT_TRUE(loader.Get_Error_List().empty()) << loader.Get_Error_List().front();
    ASSERT_EQ(table.Count(), 1);
    const TTile_Class& tile = *table.Get(1);
    EXPECT_EQ(tile.Row_Text(1), "abcNNNNNNNNNNNN");
    EXPECT_EQ(tile.Row_Text(15), "NNNNNNNNNNNNNNa");
    ASSERT_EQ(tile.Identifiers.size(), 4u);
    EXPECT_EQ(tile.Identifiers[1].Categories, (TString_List{"floor", "камень"}));
    EXPECT_FALSE(tile.Can_Be_Rotated);
    EXPECT_EQ(tile.Weight, 10);
}

TEST(Tile_Record, ReadingMapsSymbolsToTheHighestTerrainWithEveryCategory) {
    TTerrain_List terrains;
    // 2 and 3 have the same categories; 4 is the last floor.
    Fill_Terrains(terrains, {"floor", "floor, stone", "stone, floor", "floor, wet"});
    const struct {
        const char* Name;
        std::string Text;
        std::vector<TTile_Square> Expected;
    } cases[] = {
        {"equal lists give the higher id",
         "Identifier 1 Symbol := s\nIdentifier 1 Terrain Category := Stone , floor\nTile Row 1 := Ns\n",
         {{2, 1, 3}}},
        {"one category is any terrain holding it",
         "Identifier 1 Symbol := f\r\nIdentifier 1 Terrain Category := floor\r\nTile Row 1 := f\r\n"
         "Tile Row 2 := \r\nTile Row 2 := Nf\r\n",
         {{1, 1, 4}, {2, 2, 4}}},
        {"the last pair of a symbol wins, an empty one is not a pair",
         "Identifier 1 Symbol := a\nIdentifier 1 Terrain Category := wet\nIdentifier 2 Symbol := a\n"
         "Identifier 2 Terrain Category := stone\nIdentifier 3 Symbol := a\nIdentifier 3 Terrain Category "
         ":=\n"
         "Tile Row 1 := a\n",
         {{1, 1, 3}}},
        {"no terrain or an unknown symbol sets nothing",
         "Identifier 1 Symbol := q\nIdentifier 1 Terrain Category := lava\nTile Row 1 := qzN\n",
         {}},
        {"garbage", std::string("\xff\xfe\x00:=\n:=:=\nTile Row\n", 20), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Read_Tile_Text(c.Text, terrains), c.Expected) << c.Name;
    EXPECT_EQ(Terrain_With_Categories(terrains, {}), 0);
}

} // namespace
