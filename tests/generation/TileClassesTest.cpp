// Tiles files as the digger needs them: what the loader refuses, how numbers and lists are read, the turned
// copies of rotatable tiles, and the stamping of symbols into terrain with its locks and traps.
#include "core/DataFileLoader.h"
#include "core/TextCodec.h"
#include "generation/RndTileStamp.h"
#include "tests/generation/DiggerTestSupport.h"

#include <map>
#include <set>

namespace {

using TileClasses = TDigger_Test;

std::u32string Codes(const std::string& text) {
    std::u32string codes;
    size_t pos = 0;
    while (pos < text.size()) codes.push_back(Next_Utf8_Code_Point(text, pos));
    return codes;
}

std::vector<std::string> Rows_Of(const TTile_Class& tile) {
    std::vector<std::string> rows;
    for (int32_t r = 1; r <= static_cast<int32_t>(tile.Rows.size()); ++r) rows.push_back(tile.Row_Text(r));
    return rows;
}

TEST_F(TileClasses, LoaderRefusesWhatTheDiggerCannotUse) {
    const std::string cyrillic_row = "жжжжжжжжжжжжжжжжж"; // 17 characters, 34 bytes
    std::vector<std::string> rows = Square_Rows();
    rows[2].pop_back();
    std::vector<std::string> wide_rows = rows;
    wide_rows[2] = cyrillic_row;
    struct TCase {
        const char* Name;
        TKeys Settings;           // changes to the full settings record
        std::vector<TKeys> Tiles; // records after the settings
        std::vector<std::string> Errors;
        int Count; // tiles in the table
    };
    const std::string no = "";
    const std::vector<TCase> cases = {
        {"settings only", {}, {}, {}, 0},
        {"width 0",
         {{"Tile Square Width", "0"}},
         {},
         {Invalid_Value_Line("0", "Tile Square Width", no, 1)},
         0},
        {"31 squares give 5 cells inside the border",
         {{"Tile Square Width", "31"}},
         {},
         {Invalid_Value_Line("31", "Tile Square Width", no, 1)},
         0},
        {"33 squares give 6 cells with the border",
         {{"Tile Square Width", "33"}, {"Tiles allowed in the border", "TRUE"}},
         {},
         {},
         0},
        {"34 rows give 5 cells with the border",
         {{"Tile Square Height", "34"}, {"Tiles allowed in the border", "TRUE"}},
         {},
         {Invalid_Value_Line("34", "Tile Square Height", no, 1)},
         0},
        {"a rotatable tile of 15 squares",
         {{"Tile Square Width", "15"}, {"Tile Square Height", "15"}},
         {Tile_Keys("T", "N", 10, true, Square_Rows('.', 15))},
         {Invalid_Value_Line("TRUE", "Tile Can Be Rotated", "T", 2)},
         1},
        {"an unrotatable tile of 15 squares",
         {{"Tile Square Width", "15"}, {"Tile Square Height", "15"}},
         {Tile_Keys("T", "N", 10, false, Square_Rows('.', 15))},
         {},
         1},
        {"an entrance at x 18",
         {{"Number of Tile Entrances", "1"},
          {"Tile Entrance 1 Name", "T"},
          {"Tile Entrance 1 Tile Square Xpos", "18"},
          {"Tile Entrance 1 Tile Square Ypos", "17"}},
         {},
         {Invalid_Value_Line("18", "Tile Entrance 1 Tile Square Xpos", no, 1)},
         0},
        {"an entrance at x 273 keeps 17 in its byte, one at y 0 is outside",
         {{"Number of Tile Entrances", "1"},
          {"Tile Entrance 1 Name", "T"},
          {"Tile Entrance 1 Tile Square Xpos", "273"},
          {"Tile Entrance 1 Tile Square Ypos", "0"}},
         {},
         {Invalid_Value_Line("0", "Tile Entrance 1 Tile Square Ypos", no, 1)},
         0},
        {"a specific monster below the tile",
         {},
         {With(Tile_Keys("T", "N", 10, false), {{"Number of Specific Monsters", "1"},
                                                {"Monster 1 Class Name", "Rat"},
                                                {"Monster 1 Xpos", "1"},
                                                {"Monster 1 Ypos", "18"}})},
         {Invalid_Value_Line("18", "Monster 1 Ypos", "T", 2)},
         1},
        {"a specific item beside the tile",
         {},
         {With(Tile_Keys("T", "N", 10, false), {{"Number of Specific Items", "1"},
                                                {"Item 1 Class Name", "Key"},
                                                {"Item 1 Xpos", "0"},
                                                {"Item 1 Ypos", "17"}})},
         {Invalid_Value_Line("0", "Item 1 Xpos", "T", 2)},
         1},
        {"a short row", {}, {Tile_Keys("T", "N", 10, false, rows)}, {"Tile Row 3 not the correct size."}, 1},
        {"a missing row",
         {},
         {With(Tile_Keys("T", "N", 10, false), {{"Tile Row 5", "<drop>"}})},
         {Missing_Field_Line("Tile Row 5", "T", 2)},
         1},
        {"a row of 17 Cyrillic characters", {}, {Tile_Keys("T", "N", 10, false, wide_rows)}, {}, 1},
        {"a missing key",
         {{"Percent of map to fill", "<drop>"}},
         {},
         {Missing_Field_Line("Percent of map to fill", no, 1)},
         0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Messages->Error_Lists.clear();
        std::vector<TKeys> records = {With(Tile_Settings_Keys(), c.Settings)};
        records.insert(records.end(), c.Tiles.begin(), c.Tiles.end());
        EXPECT_EQ(Load_Tiles(records), c.Errors.empty());
        const std::vector<std::string> shown =
            Messages->Error_Lists.empty() ? std::vector<std::string>() : Messages->Error_Lists[0].List;
        EXPECT_EQ(shown, c.Errors);
        EXPECT_EQ(Tile_Classes().Count(), c.Count);
        EXPECT_NE(Tile_Classes().Info, nullptr);
    }
    EXPECT_EQ(Messages->Error_Lists.back().Heading, "Ошибки файлов данных класса: ");
    EXPECT_EQ(Messages->Error_Lists.back().File_Name, Folder.File("Modules/Test/Tiles/Test_Tiles.txt"));

    // A file without its settings record fails as if the record lacked its first key, with no settings.
    Messages->Error_Lists.clear();
    TString_List errors;
    Folder.Write("Modules/Test/Tiles/Empty.txt", Data_File_Text({}));
    EXPECT_FALSE(Load_Tile_Classes("Empty.txt", &errors));
    EXPECT_EQ(errors, TString_List({Missing_Field_Line("Tile Square Width", no, 1)}));
    EXPECT_TRUE(Messages->Error_Lists.empty());
    EXPECT_EQ(Tile_Classes().Info, nullptr);
}

TEST_F(TileClasses, NumbersListsAndIdentifiersReadAsTheDiggerUsesThem) {
    TKeys settings = With(Tile_Settings_Keys(), {{"Fill Level With Terrain Category", " Rock ,CEILING"},
                                                 {"Black Border Wall Terrain Category", "wall,,stone,"},
                                                 {"Change Door Directions", "no"},
                                                 {"Allow tile connection off map", "yes"},
                                                 {"Percent of map to fill", "-5"},
                                                 {"Number of specific tile locations", "3"},
                                                 {"Tile Location 1 Name", "Start"},
                                                 {"Tile Location 1 Xpos", "[Random]"},
                                                 {"Tile Location 1 Ypos", "255"},
                                                 {"Tile Location 2 Name", "Start"},
                                                 {"Tile Location 2 Xpos", "300"},
                                                 {"Tile Location 2 Ypos", "7"},
                                                 {"Tile Location 3 Name", "Start"},
                                                 {"Tile Location 3 Xpos", "3"},
                                                 {"Tile Location 3 Ypos", "4"},
                                                 {"Number of group tile locations", "2"},
                                                 {"Tile Group 1 Chance", "40"},
                                                 {"Tile Group 1 Number of Tiles", "1"},
                                                 {"Tile Group 1 Tile 1 Name", "Vault"},
                                                 {"Tile Group 1 Tile 1 Xpos", "300"},
                                                 {"Tile Group 1 Tile 1 Ypos", "[Random]"},
                                                 {"Tile Group 2 Chance", "60"},
                                                 {"Tile Group 2 Number of Tiles", "0"},
                                                 {"Number of Global Tile Identifiers", "1"},
                                                 {"Global Identifier 1 Symbol", "#"},
                                                 {"Global Identifier 1 Terrain Category", "Ceiling"}});
    TKeys tile = With(Tile_Keys("Start", "NESW", 10, false),
                      {{"Connection Type E", "258"},
                       {"Number of Tile Specific Identifiers", "1"},
                       {"Identifier 1 Symbol", "#x"},
                       {"Identifier 1 Terrain Category", "Wall"},
                       {"Monster Placement Terrain Category", "Floor, Earth "}});
    ASSERT_TRUE(Load_Tiles({settings, tile, Tile_Keys("Other", "N", 10, false)}));
    const TTile_Class_Info& info = *Tile_Classes().Info;
    EXPECT_EQ(info.Fill_Categories, TString_List({"rock", "ceiling"}));
    EXPECT_EQ(info.Black_Border_Wall_Categories, TString_List({"wall", "", "stone"}));
    EXPECT_FALSE(info.Change_Door_Directions);
    EXPECT_TRUE(info.Allow_Connection_Off_Map);
    EXPECT_EQ(info.Percent_To_Fill, 0);
    std::vector<std::pair<int, int>> starts;
    for (const auto& location : info.Specific_Tile_Locations) starts.emplace_back(location.X, location.Y);
    EXPECT_EQ(starts, (std::vector<std::pair<int, int>>{{0, 255}, {0, 7}, {3, 4}})); // above 255: any cell
    ASSERT_EQ(info.Tile_Groups.size(), 2u);
    EXPECT_EQ(info.Tile_Groups[0].Chance, 40);
    EXPECT_EQ(info.Tile_Groups[0].Tiles[0].X, 44); // group cells keep the low 8 bits
    EXPECT_EQ(info.Tile_Groups[1].Tiles.size(), 0u);

    const TTile_Class& start = *Tile_Classes().Get(1);
    EXPECT_EQ(start.Connection_Types, (TSide_Set{1, 2, 1, 1}));
    EXPECT_EQ(start.Monster_Placement_Categories, TString_List({"floor", "earth"}));
    // The tile's own identifiers come first, the file's global ones after, on every tile.
    ASSERT_EQ(start.Identifiers.size(), 2u);
    EXPECT_EQ(start.Identifiers[0].Symbol, "#x");
    EXPECT_EQ(start.Identifiers[0].Categories, TString_List({"wall"}));
    EXPECT_EQ(start.Identifiers[1].Categories, TString_List({"ceiling"}));
    EXPECT_EQ(Tile_Classes().Get(2)->Identifiers.size(), 1u);
}

TEST_F(TileClasses, RotatableTilesGainTheirTurnedCopies) {
    // An asymmetric tile: "ab" in the top-left corner, each side of its own kind.
    std::vector<std::string> rows = Square_Rows();
    rows[0] = "ab" + std::string(15, '.');
    TKeys tile = With(Tile_Keys("Odd", "", 7, true, rows), {{"Connection Type N", "1"},
                                                            {"Connection Type E", "2"},
                                                            {"Connection Type S", "3"},
                                                            {"Connection Type W", "4"},
                                                            {"Number of Specific Monsters", "1"},
                                                            {"Monster 1 Class Name", "Rat"},
                                                            {"Monster 1 Xpos", "2"},
                                                            {"Monster 1 Ypos", "2"},
                                                            {"Locked Terrain Groups", "Doors"},
                                                            {"Maximum Number Per Dungeon Level", "3"}});
    // Symmetric under a half turn: the half turn is the tile itself, the three-quarter turn the quarter's.
    std::vector<std::string> even = Square_Rows();
    even[0][0] = 'a';
    even[16][16] = 'a';
    TKeys global = {{"Number of Global Tile Identifiers", "1"},
                    {"Global Identifier 1 Symbol", "a"},
                    {"Global Identifier 1 Terrain Category", "floor"}};
    ASSERT_TRUE(
        Load_Tiles({With(Tile_Settings_Keys(), global), tile, Tile_Keys("Even", "NS", 5, true, even)}));

    const std::string dots(15, '.');
    auto with_rows = [&](std::map<int, std::string> changed) {
        std::vector<std::string> expected = Square_Rows();
        for (const auto& [r, text] : changed) expected[static_cast<size_t>(r) - 1] = text;
        return expected;
    };
    struct TCopy {
        const char* Name;
        int Rotation;
        TSide_Set Sides;
        std::vector<std::string> Rows;
    };
    const std::vector<TCopy> expected = {
        {"Odd", 0, {1, 2, 3, 4}, rows},
        {"Even", 0, {1, 0, 1, 0}, even},
        {"Odd", 1, {4, 1, 2, 3}, with_rows({{1, dots + ".a"}, {2, dots + ".b"}})},
        {"Odd", 2, {3, 4, 1, 2}, with_rows({{17, dots + "ba"}})},
        {"Odd", 3, {2, 3, 4, 1}, with_rows({{16, "b." + dots}, {17, "a." + dots}})},
        {"Even", 1, {0, 1, 0, 1}, with_rows({{1, dots + ".a"}, {17, "a." + dots}})},
    };
    ASSERT_EQ(Tile_Classes().Count(), static_cast<int32_t>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const TTile_Class& copy = *Tile_Classes().Get(static_cast<int32_t>(i) + 1);
        SCOPED_TRACE(i);
        EXPECT_EQ(copy.Name, expected[i].Name);
        EXPECT_EQ(copy.Rotation, expected[i].Rotation);
        EXPECT_EQ(copy.Connection_Types, expected[i].Sides);
        EXPECT_EQ(Rows_Of(copy), expected[i].Rows);
        EXPECT_EQ(copy.Identifiers.size(), 1u); // the global identifier travels with the copies
        // Copies share the weight and maxima but not the tile's own monsters, items and lock texts.
        if (copy.Name == "Odd") {
            EXPECT_EQ(copy.Weight, 7);
            EXPECT_EQ(copy.Max_Per_Level, 3);
            EXPECT_EQ(copy.Specific_Monsters.size(), copy.Rotation == 0 ? 1u : 0u);
            EXPECT_EQ(copy.Locked_Terrain_Groups, copy.Rotation == 0 ? "Doors" : "");
        }
    }
}

TEST_F(TileClasses, MatchingFindsTerrainsCarryingEveryCategoryOfTheStyle) {
    const uint16_t flags = Add_Terrain("Flags", "floor, stone");
    const uint16_t cracked = Add_Terrain("Cracked", "stone, floor, cracked");
    const uint16_t wall = Add_Terrain("Wall", "wall, generic, stone");
    const uint16_t styled = Add_Terrain("Styled wall", "wall, generic, stone", 1);
    const uint16_t ice = Add_Terrain("Ice", "лёд, floor");
    Add_Terrain("Bare", "");
    Build_Terrain_Symbol_Tables();
    struct TCase {
        TString_List Categories;
        std::vector<uint16_t> Candidates;
    };
    const std::vector<TCase> cases = {
        {{"floor", "stone"}, {flags, cracked}},
        {{"WALL", "Generic"}, {wall}}, // ASCII case folds; the style-1 wall never counts
        {{"stone"}, {flags, cracked, wall}},
        {{"лёд"}, {ice}},
        {{"ЛЁД"}, {}}, // only ASCII letters fold
        {{}, {}},
        {{"floor", ""}, {}},
        {{"floor", "wood"}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Categories));
        EXPECT_EQ(Terrain_Symbol_Candidates(c.Categories), c.Candidates);
        // One roll of 1..count picks among them; none is drawn when there is nothing to pick.
        TScripted_Rolls rolls(std::vector<int32_t>(c.Candidates.size() > 1 ? 1 : 0, 2));
        bool single = true;
        const uint16_t picked = Match_Terrain_Symbols(c.Categories, single);
        EXPECT_EQ(single, c.Candidates.size() == 1);
        EXPECT_EQ(picked, c.Candidates.empty() ? 0 : c.Candidates[c.Candidates.size() > 1 ? 1 : 0]);
        if (c.Candidates.size() > 1) {
            EXPECT_EQ(rolls.Asked, (std::vector<std::pair<int32_t, int32_t>>{{1, int(c.Candidates.size())}}));
        }
    }
    // A new dig's tables forget the candidates found before: a style filter of 1 finds only the styled wall.
    Set_Terrain_Style_Filter(1);
    Build_Terrain_Symbol_Tables();
    EXPECT_EQ(Terrain_Symbol_Candidates({"wall"}), std::vector<uint16_t>({styled}));
    Set_Terrain_Style_Filter(0);
    Free_Terrain_Symbol_Tables();
    EXPECT_TRUE(Terrain_Symbol_Candidates({"wall"}).empty());
}

TEST_F(TileClasses, StampingWritesEachSymbolsTerrain) {
    const uint16_t grass = Add_Terrain("Grass", "grass");
    const uint16_t flags = Add_Terrain("Flags", "floor, stone");
    const uint16_t cracked = Add_Terrain("Cracked", "floor, stone, cracked");
    const uint16_t wall = Add_Terrain("Wall", "wall");
    const uint16_t ice = Add_Terrain("Ice", "ice");
    Fill_Map_Terrain(grass);
    Build_Terrain_Symbol_Tables();

    TTile_Class tile;
    for (const char* row : {"#.ж?", "##..", "x#.ж", "#"}) tile.Rows.push_back(Codes(row));
    tile.Identifiers = {{"#", {"wall"}},           // one candidate
                        {".", {"floor", "stone"}}, // two: drawn again on every square
                        {"ж", {"ice"}},
                        {"#b", {"ice"}}, // the character is already claimed
                        {"x", {"lava"}}, // matches nothing: the square keeps its terrain
                        {"", {"wall"}}};
    TScripted_Rolls rolls({2, 2, 1, 2, 1});
    Stamp_Tile(tile, 199, 1); // squares of the last column and beyond are cut off at the map's edge
    Stamp_Tile(tile, 10, 20);
    auto at = [this](int x, int y) { return Map->Get_Square(x, y)->Terrain_Id; };
    const std::vector<std::vector<uint16_t>> expected = {{wall, cracked, ice, grass},
                                                         {wall, wall, flags, cracked},
                                                         {grass, wall, flags, ice},
                                                         {wall, grass, grass, grass}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(at(10 + c, 20 + r), expected[r][c]) << c << "," << r;
    // At the edge only two columns land, holding one "." between them: the cut-off stamp drew once, the
    // full one four times, row by row.
    EXPECT_EQ(at(199, 1), wall);
    EXPECT_EQ(at(200, 1), cracked);
    EXPECT_EQ(at(199, 3), grass);
    EXPECT_EQ(rolls.Left(), 0u);
    EXPECT_EQ(rolls.Asked.size(), 5u);
}

TEST_F(TileClasses, LocksAndTrapsFollowTheTileTextsAndTheChanceGroupsPercents) {
    TTerrain door;
    door.Name = "Door";
    door.Set_Categories("door");
    door.Locked_Terrain_Group = "Oak Doors";
    door.Locked_Key_Groups = {"Bronze Key", "Iron Key"};
    door.Trapped_Terrain_Group = "Door Traps";
    const uint16_t door_id = Map->Terrain_List.Add(door);
    door.Name = "Keyless Door";
    door.Locked_Terrain_Group = "Old Doors";
    door.Locked_Key_Groups.clear();
    door.Trapped_Terrain_Group.clear();
    const uint16_t keyless_id = Map->Terrain_List.Add(door);
    const uint16_t floor_id = Add_Terrain("Floor", "floor");
    TTile_Class tile;
    tile.Rows = {Codes("DKF"), Codes("FDD")};
    tile.Locked_Terrain_Groups = "Oak Doors, Old Doors";
    tile.Trapped_Terrain_Groups = "Door Traps";
    const std::vector<uint16_t> squares = {door_id, keyless_id, floor_id, floor_id, door_id, door_id};
    for (int i = 0; i < 6; ++i) Map->Get_Square(5 + i % 3, 5 + i / 3)->Terrain_Id = squares[i];
    // Doors just beside and below the tile's area are not the tile's.
    Map->Get_Square(8, 5)->Terrain_Id = door_id;
    Map->Get_Square(5, 7)->Terrain_Id = door_id;

    const TTerrain_Group_Chances locks = {{"Chest Locks", "Oak Doors", "Old Doors"}, {100, 40, 100}};
    {
        // Row by row: the oak door at 5,5 rolls 40 and wins a key; the keyless door rolls and locks with
        // no key; the doors at 6,6 and 7,6 roll 41 (lost) and 40 (won).
        TScripted_Rolls rolls({40, 2, 100, 41, 40, 1});
        Lock_Tile_Squares(tile, 5, 5, locks);
        EXPECT_EQ(rolls.Left(), 0u);
        EXPECT_EQ(rolls.Asked, (std::vector<std::pair<int32_t, int32_t>>{
                                   {1, 100}, {1, 2}, {1, 100}, {1, 100}, {1, 100}, {1, 2}}));
    }
    std::vector<std::string> keys;
    for (int i = 0; i < 6; ++i) {
        std::string key = "-";
        if (!Map->Get_Lock(5 + i % 3, 5 + i / 3, key)) key = "none";
        keys.push_back(key);
    }
    EXPECT_EQ(keys, std::vector<std::string>({"Iron Key", "", "none", "none", "none", "Bronze Key"}));
    EXPECT_TRUE(Map->Get_Square(6, 5)->Is_Locked());

    // Traps: every door square wins at 100 and records the map's trap group, not the terrain's.
    Trap_Tile_Squares(tile, 5, 5, "Barrow Traps", {{"Door Traps"}, {100}});
    std::string trap;
    EXPECT_TRUE(Map->Get_Trap(7, 6, trap));
    EXPECT_EQ(trap, "Barrow Traps");
    EXPECT_EQ(Map->Trap_Names().size(), 3u); // the oak doors; the keyless door has no trap group
    // A tile whose text names no group, or a group the chance group lacks, rolls nothing.
    TScripted_Rolls none({});
    tile.Locked_Terrain_Groups = "  ";
    Lock_Tile_Squares(tile, 5, 5, locks);
    tile.Locked_Terrain_Groups = "Oak Doors";
    Lock_Tile_Squares(tile, 5, 5, {{"Old Doors"}, {100}});
    EXPECT_TRUE(none.Asked.empty());
}

TEST_F(TileClasses, MarksAndFillsCoverTheMapAndNoMore) {
    const uint16_t rock = Add_Terrain("Rock", "ceiling, wall");
    const uint16_t floor = Add_Terrain("Floor", "floor");
    Fill_Map_Terrain(rock);
    Fill_Rect_Terrain({-5, 190, 3, 260}, floor);
    Fill_Rect_Terrain({50, 50, 49, 60}, floor); // right before left: nothing
    Build_Terrain_Symbol_Tables();
    Map->Get_Square(60, 60)->Terrain_Id = 0; // no terrain carries no category
    std::array<TTerrain_Mark_Grid, 4> grids;
    grids[3].Set(100, 100, 7); // the grid of an empty name is left alone
    Mark_Terrain_Grids({"Ceiling", "floor", "door", ""}, grids);
    std::vector<int> marks;
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{1, 1}, {1, 190}, {3, 200}, {4, 200}, {50, 50}, {60, 60}})
        marks.push_back(grids[0].Get(x, y) * 100 + grids[1].Get(x, y) * 10 + grids[2].Get(x, y));
    EXPECT_EQ(marks, std::vector<int>({100, 10, 10, 100, 100, 0}));
    EXPECT_EQ(grids[3].Get(100, 100), 7);
    int floors = 0;
    for (int x = 1; x <= 200; ++x)
        for (int y = 1; y <= 200; ++y) floors += Map->Get_Square(x, y)->Terrain_Id == floor ? 1 : 0;
    EXPECT_EQ(floors, 3 * 11);
}

TEST(TileSides, NamesFlagsAndSets) {
    const TSide_Set sides = {1, 0, 3, 4};
    std::vector<std::string> names;
    std::vector<int> flags;
    for (int32_t side = 0; side <= 5; ++side) {
        names.push_back(Side_Name(side));
        flags.push_back(Side_Flag(sides, side));
    }
    EXPECT_EQ(names, std::vector<std::string>({"", "N", "E", "S", "W", ""}));
    EXPECT_EQ(flags, std::vector<int>({0, 1, 0, 3, 4, 0}));
    for (size_t closed = 0; closed < 4; ++closed) {
        TSide_Set one_closed = {1, 1, 1, 1};
        one_closed[closed] = 0;
        EXPECT_FALSE(Sides_All_Set(one_closed)) << closed;
    }
    TSide_Set all = {1, 2, 3, 4};
    EXPECT_TRUE(Sides_All_Set(all));
    Sides_Clear(all);
    EXPECT_EQ(all, TSide_Set({0, 0, 0, 0}));
}

} // namespace
