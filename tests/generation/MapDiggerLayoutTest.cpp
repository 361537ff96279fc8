// The digger's layout: the grid and where it lies on the map, the weighted growth pick, starting and group
// tiles, the repair of cut-off starting tiles, the generation parameters, entrances, and the invariants of
// layouts grown over many seeds.
#include "generation/RndDigPopulate.h"
#include "generation/RndTileStamp.h"
#include "tests/generation/DiggerTestSupport.h"

#include <algorithm>
#include <set>

namespace {

class MapDiggerLayout : public TDigger_Test {
protected:
    // An in-memory table of plain tiles (sides as bytes N, E, S, W) on a grid of across x down cells.
    void Install_Grid(int32_t across, int32_t down, bool off_map) {
        Tile_Classes().Info = std::make_unique<TTile_Class_Info>();
        Tile_Classes().Info->Tile_Square_Width = 17;
        Tile_Classes().Info->Tile_Square_Height = 17;
        Tile_Classes().Info->Allow_Connection_Off_Map = off_map;
        Dig_Context() = TDig_Context();
        Dig_Context().Reset_Grid(across, down);
    }
    TTile_Class& Add_Tile(const std::string& name, TSide_Set sides, int32_t weight = 1, int32_t max = 100) {
        Tile_Classes().Tiles.push_back(std::make_unique<TTile_Class>());
        TTile_Class& tile = *Tile_Classes().Tiles.back();
        tile.Name = name;
        tile.Connection_Types = sides;
        tile.Weight = weight;
        tile.Max_Per_Level = max;
        tile.Max_Per_Module = max;
        return tile;
    }
    int32_t Tile_At(int32_t x, int32_t y) const { return Dig_Context().Cell(x, y).Tile; }
    // The names of the tiles on the grid, column by column, as "name@x,y".
    std::vector<std::string> Layout() const {
        std::vector<std::string> cells;
        const TDig_Context& dig = Dig_Context();
        for (int32_t x = 1; x <= dig.Cells_Across; ++x)
            for (int32_t y = 1; y <= dig.Cells_Down; ++y)
                if (dig.Occupied(x, y))
                    cells.push_back(Tile_Classes().Get(dig.Cell(x, y).Tile)->Name + "@" + std::to_string(x) +
                                    "," + std::to_string(y));
        return cells;
    }
};

// The cells reached from the cell through open sides that lead into occupied cells.
std::set<std::pair<int32_t, int32_t>> Reached(int32_t x, int32_t y) {
    const TDig_Context& dig = Dig_Context();
    std::set<std::pair<int32_t, int32_t>> reached = {{x, y}};
    std::vector<std::pair<int32_t, int32_t>> todo = {{x, y}};
    while (!todo.empty()) {
        const auto [cx, cy] = todo.back();
        todo.pop_back();
        for (int32_t side = 1; side <= 4; ++side) {
            const TNeighbour_Cell n = Get_Neighbour_Cell(cx, cy, side);
            if (Side_Flag(dig.Cell(cx, cy).Sides, side) != 0 && dig.Occupied(n.X, n.Y) &&
                reached.insert({n.X, n.Y}).second)
                todo.push_back({n.X, n.Y});
        }
    }
    return reached;
}

TEST_F(MapDiggerLayout, TheGridIsCentredOnTheMapFromSquareOneAtLeast) {
    struct TCase {
        int Width;
        bool Border;
        int Cells;
        int Origin;
    };
    const std::vector<TCase> cases = {{17, false, 10, 15}, {17, true, 11, 6}, {20, true, 10, 1},
                                      {30, false, 6, 10},  {33, true, 6, 1},  {23, false, 8, 8},
                                      {1, false, 184, 8}};
    const uint16_t rock = Add_Terrain("Rock", "rock");
    const uint16_t floor = Add_Terrain("Floor", "floor");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Width);
        const std::string w = std::to_string(c.Width);
        TKeys settings =
            With(Tile_Settings_Keys(), {{"Tile Square Width", w},
                                        {"Tile Square Height", w},
                                        {"Tiles allowed in the border", c.Border ? "TRUE" : "FALSE"},
                                        {"Fill Level With Terrain Category", "rock"},
                                        {"Number of specific tile locations", "1"},
                                        {"Tile Location 1 Name", "Start"},
                                        {"Tile Location 1 Xpos", "6"},
                                        {"Tile Location 1 Ypos", "6"},
                                        {"Number of Tile Entrances", "1"},
                                        {"Tile Entrance 1 Name", "Start"},
                                        {"Tile Entrance 1 Tile Square Xpos", "1"},
                                        {"Tile Entrance 1 Tile Square Ypos", w},
                                        {"Number of Global Tile Identifiers", "1"},
                                        {"Global Identifier 1 Symbol", "."},
                                        {"Global Identifier 1 Terrain Category", "floor"}});
        ASSERT_TRUE(Load_Tiles({settings, Tile_Keys("Start", "", 0, false, Square_Rows('.', c.Width))}));
        EXPECT_TRUE(Dig(5).empty());
        const TDig_Context& dig = Dig_Context();
        EXPECT_EQ(std::vector<int>({dig.Cells_Across, dig.Cells_Down, dig.X0, dig.Y0}),
                  std::vector<int>({c.Cells, c.Cells, c.Origin, c.Origin}));
        // Cell (6, 6) starts five tiles in; its entrance is its bottom-left square.
        const int left = c.Origin + 5 * c.Width, bottom = c.Origin + 6 * c.Width - 1;
        ASSERT_EQ(Entrance_Ids.Count(), 1);
        EXPECT_EQ(std::vector<int>({Entrance_Ids.Get(1), Entrance_Xs.Get(1), Entrance_Ys.Get(1)}),
                  std::vector<int>({1, left, bottom}));
        EXPECT_EQ(Map->Get_Square(left, bottom)->Terrain_Id, floor);
        EXPECT_EQ(Map->Get_Square(left - 1, bottom)->Terrain_Id, rock);
        EXPECT_EQ(Map->Get_Square(left, bottom + 1)->Terrain_Id, rock);
        EXPECT_EQ(Map->Get_Square(left + c.Width - 1, bottom - c.Width + 1)->Terrain_Id, floor);
    }

    // Without usable settings there is nothing to lay out: the map is cleared and the dig says so.
    Free_Tile_Classes();
    Map->Get_Square(3, 3)->Monster_Id = 9;
    EXPECT_EQ(Dig(5, 2), TString_List({"Could not lay out tiles on Map 2: Test_Tiles.txt."}));
    EXPECT_EQ(Map->Get_Square(3, 3)->Monster_Id, 0);
    EXPECT_EQ(Map->Get_Square(100, 100)->Terrain_Id, 0);
    EXPECT_EQ(Map->Terrain_List.Count(), 2);
    EXPECT_EQ(Entrance_Ids.Count(), 0);
}

TEST_F(MapDiggerLayout, TheWeightedPickWalksARunningSumInDoublePrecision) {
    struct TCase {
        const char* Name;
        std::vector<int32_t> Weights;
        std::vector<int32_t> Maxima; // per level; 0 takes a tile out
        std::vector<int32_t> Rolls;  // empty: no roll is asked
        int32_t Placed;              // tile index, 0 for none
    };
    const std::vector<TCase> cases = {
        {"below the first sum", {30, 0, 70}, {}, {29}, 1},
        {"on the first sum: strictly below counts", {30, 0, 70}, {}, {30}, 3},
        {"a weight of 0 never wins", {0, 30, 70}, {}, {1}, 2},
        {"100 reaches a sum of exactly 100", {30, 0, 70}, {}, {100}, 0},
        {"thirds sum to exactly 100", {1, 1, 1}, {}, {100}, 0},
        {"thirds: 67 passes 66.67", {1, 1, 1}, {}, {67}, 3},
        {"sevenths sum to just above 100", {1, 1, 1, 1, 1, 1, 1}, {}, {100}, 7},
        {"no weight at all: no roll", {0, 0}, {}, {}, 0},
        {"a used-up tile is no candidate", {100, 1}, {0, 100}, {1}, 2},
        {"no candidate at all: no roll", {5}, {0}, {}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Free_Tile_Classes();
        Install_Grid(6, 6, true);
        for (size_t i = 0; i < c.Weights.size(); ++i)
            Add_Tile("T" + std::to_string(i + 1), {}, c.Weights[i], c.Maxima.empty() ? 100 : c.Maxima[i]);
        TScripted_Rolls rolls(c.Rolls);
        EXPECT_EQ(Add_Tile_To_Location(3, 3, {}), c.Placed != 0);
        EXPECT_EQ(Tile_At(3, 3), c.Placed);
        EXPECT_EQ(rolls.Left(), 0u);
        if (!c.Rolls.empty()) {
            EXPECT_EQ(rolls.Asked, (std::vector<std::pair<int32_t, int32_t>>{{1, 100}}));
        }
        EXPECT_EQ(Dig_Context().Serial, c.Placed != 0 ? 1 : 0);
        if (c.Placed != 0) {
            EXPECT_EQ(Tile_Classes().Get(c.Placed)->Max_Per_Level, 99);
            EXPECT_EQ(Tile_Classes().Get(c.Placed)->Max_Per_Module, 99);
        }
    }
}

TEST_F(MapDiggerLayout, ANewTileMatchesItsNeighboursAndTheEdge) {
    struct TCase {
        const char* Name;
        bool Off_Map;
        TSide_Set Required;
        int32_t Roll;
        int32_t Placed;
    };
    // At cell (3, 6) of a 6 x 6 grid: the north neighbour shows kind 2 on its south side, the west
    // neighbour a closed east side, the east cell is empty and south lies off the grid.
    const std::vector<TCase> cases = {
        {"two fit; on the first sum the roll takes the second", false, {}, 50, 2},
        {"two fit; below it the first", false, {}, 49, 1},
        {"a required east side leaves one", false, {0, 1, 0, 0}, 1, 2},
        {"a required south side leaves none", false, {0, 0, 1, 0}, 0, 0},
        {"off the map may stay open", true, {0, 0, 1, 0}, 1, 5},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Free_Tile_Classes();
        Install_Grid(6, 6, c.Off_Map);
        Add_Tile("Fits", {2, 0, 0, 0});
        Add_Tile("Fits with an open east", {2, 1, 0, 0});
        Add_Tile("Wrong kind north", {1, 0, 0, 0});
        Add_Tile("Open west", {2, 0, 0, 1});
        Add_Tile("Open south", {2, 0, 3, 0});
        Add_Tile("Closed north", {0, 0, 0, 0});
        Set_Tile_At_Location(3, 5, Tile_Classes().Count(), false, false, 0);
        Dig_Context().Cell(3, 5).Sides = {0, 0, 2, 0};
        Set_Tile_At_Location(2, 6, Tile_Classes().Count(), false, false, 0);
        Dig_Context().Cell(2, 6).Sides = {1, 0, 1, 1};
        TScripted_Rolls rolls(c.Roll != 0 ? std::vector<int32_t>{c.Roll} : std::vector<int32_t>{});
        Add_Tile_To_Location(3, 6, c.Required);
        EXPECT_EQ(Tile_At(3, 6), c.Placed);
        EXPECT_EQ(rolls.Left(), 0u);
    }
}

TEST_F(MapDiggerLayout, ASectionIsPlacedWholeAwayFromTheGridEdge) {
    Install_Grid(6, 6, true);
    for (int32_t i = 1; i <= 2; ++i) {
        TTile_Class& piece = Add_Tile(
            "Hall", {1, static_cast<uint8_t>(i == 1 ? 1 : 0), 0, static_cast<uint8_t>(i == 2 ? 1 : 0)},
            i == 1 ? 1 : 0);
        piece.Section_Width = 2;
        piece.Section_Height = 1;
        piece.Section_X = i;
        piece.Section_Y = 1;
        piece.Section_Group = 4;
    }
    EXPECT_EQ(Find_Section_Tile(4, 2, 1), 2);
    EXPECT_EQ(Find_Section_Tile(4, 1, 2), 0);
    // Column 1 touches the west edge, column 5 would put piece 2 on the east edge: never placed there.
    for (const std::pair<int, int>& edge : std::vector<std::pair<int, int>>{{1, 3}, {5, 3}, {3, 1}}) {
        TScripted_Rolls none({});
        EXPECT_FALSE(Add_Tile_To_Location(edge.first, edge.second, {}));
    }
    // Both pieces land together, with one serial, whichever piece won the pick.
    Set_Tile_At_Location(4, 2, 1, true, false, 0);
    Dig_Context().Cell(4, 2).Sides = {0, 0, 1, 0}; // the piece at (4, 3) must be open north: it is
    TScripted_Rolls roll({1});
    EXPECT_TRUE(Add_Tile_To_Location(3, 3, {}));
    EXPECT_EQ(Layout(), std::vector<std::string>({"Hall@3,3", "Hall@4,2", "Hall@4,3"}));
    EXPECT_EQ(Tile_At(4, 3), 2);
    EXPECT_EQ(Dig_Context().Cell(3, 3).Serial, Dig_Context().Cell(4, 3).Serial);
    // A section of no rows would fill no cell: never a candidate.
    Install_Grid(6, 6, true);
    TTile_Class& flat = Add_Tile("Flat", {}, 1);
    flat.Section_Group = 5;
    flat.Section_Width = 2;
    flat.Section_X = flat.Section_Y = 1;
    Tile_Classes().Get(1)->Max_Per_Level = 0;
    EXPECT_FALSE(Add_Tile_To_Location(3, 3, {}));
    flat.Section_Width = 1; // one cell is a section too
    flat.Section_Height = 1;
    {
        TScripted_Rolls one({1});
        EXPECT_TRUE(Add_Tile_To_Location(3, 3, {}));
    }
    EXPECT_EQ(Tile_At(3, 3), 3);
    Tile_Classes().Get(1)->Max_Per_Level = 100;
    Tile_Classes().Tiles.pop_back();
    // A neighbour closed where a piece is open keeps the section out.
    Install_Grid(6, 6, true);
    Set_Tile_At_Location(4, 2, 1, true, false, 0);
    Dig_Context().Cell(4, 2).Sides = {0, 0, 0, 0};
    TScripted_Rolls none({});
    EXPECT_FALSE(Add_Tile_To_Location(3, 3, {}));
}

TEST_F(MapDiggerLayout, StartingAndGroupTilesAreNamedPlacedAndReported) {
    Install_Grid(6, 6, false);
    Add_Tile("Start", {1, 1, 1, 1}, 1, 100);
    Add_Tile("Vault", {0, 0, 1, 0}, 1, 0); // used up: found only when any tile will do
    Set_Tile_At_Location(3, 3, 1, true, false, 0);
    struct TCase {
        const char* Name;
        std::string Tile;
        int32_t X, Y;
        bool Any;
        std::vector<int32_t> Rolls;
        std::string Placed; // "" for none
        TString_List Errors;
    };
    const std::vector<TCase> cases = {
        {"a given cell; names trimmed, any case", "  sTART ", 2, 5, false, {}, "Start@2,5", {}},
        {"an occupied cell is left alone", "Start", 3, 3, false, {}, "", {}},
        {"a cell beyond the grid", "Start", 7, 2, false, {}, "", {}},
        {"x 0 with y given is beyond the grid too", "Start", 0, 2, false, {}, "", {}},
        {"a used-up tile is not found", "Vault", 2, 2, false, {}, "", {"Could not find tile \"Vault\"."}},
        {"unless any tile will do", "Vault", 2, 2, true, {}, "Vault@2,2", {}},
        {"a random cell: occupied, beside a tile, then free",
         "Start",
         0,
         0,
         false,
         {3, 3, 3, 4, 4, 2},
         "Start@4,2",
         {}},
        {"101 random cells that all fail",
         "Start",
         0,
         0,
         false,
         std::vector<int32_t>(202, 3),
         "",
         {"Could not place starting tile \"Start\"."}},
        {"no such tile", "Nope", 2, 2, true, {}, "", {"Could not find tile \"Nope\"."}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Install_Grid(6, 6, false);
        Set_Tile_At_Location(3, 3, 1, true, false, 0);
        Tile_Classes().Get(1)->Max_Per_Level = 100;
        TScripted_Rolls rolls(c.Rolls);
        TString_List errors;
        Place_Named_Tile(c.Tile, c.X, c.Y, c.Any, errors);
        EXPECT_EQ(errors, c.Errors);
        EXPECT_EQ(rolls.Left(), 0u);
        // Random cells keep one cell away from the grid's edges: 2 .. count - 2.
        for (const auto& asked : rolls.Asked) EXPECT_EQ(asked, std::make_pair(2, 4));
        std::vector<std::string> expected = {"Start@3,3"};
        if (!c.Placed.empty()) expected.push_back(c.Placed);
        std::vector<std::string> layout = Layout();
        std::sort(layout.begin(), layout.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(layout, expected);
        for (int32_t x = 1; x <= 6; ++x)
            for (int32_t y = 1; y <= 6; ++y) {
                const TDig_Cell& cell = Dig_Context().Cell(x, y);
                if (cell.Tile == 0 || (x == 3 && y == 3)) continue;
                EXPECT_FALSE(cell.Can_Be_Changed);
                EXPECT_TRUE(cell.Starting);
                EXPECT_EQ(cell.Serial, 1);
            }
    }
}

TEST_F(MapDiggerLayout, OneTileGroupAtMostIsChosenByASingleRoll) {
    struct TCase {
        int32_t Roll;
        std::vector<std::string> Placed;
    };
    // Groups of 30, 0 and 50 percent: 1..30, never, 31..80; above 80 none.
    const std::vector<TCase> cases = {{1, {"G1@2,2", "Cross@6,6"}},  {30, {"G1@2,2", "Cross@6,6"}},
                                      {31, {"G3@4,4", "Cross@6,6"}}, {80, {"G3@4,4", "Cross@6,6"}},
                                      {81, {"Cross@6,6"}},           {100, {"Cross@6,6"}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Roll);
        Free_Tile_Classes();
        Install_Grid(8, 8, false);
        Add_Tile("Cross", {1, 1, 1, 1});
        for (int32_t g = 1; g <= 3; ++g) Add_Tile("G" + std::to_string(g), {});
        TTile_Class_Info& info = *Tile_Classes().Info;
        info.Tile_Groups = {{30, {{"G1", 2, 2}}}, {0, {{"G2", 3, 3}}}, {50, {{"G3", 4, 4}}}};
        // The one four-way tile goes to (6, 6) without a roll; the group roll follows.
        TScripted_Rolls rolls({c.Roll});
        TString_List errors;
        Place_Starting_Tiles(errors);
        EXPECT_TRUE(errors.empty());
        EXPECT_EQ(Layout(), c.Placed);
        EXPECT_EQ(Dig_Context().Cell(6, 6).Can_Be_Changed, true);
        EXPECT_EQ(Dig_Context().Cell(6, 6).Starting, false);
    }
    // With specific locations the group's tiles are still placed.
    Free_Tile_Classes();
    Install_Grid(8, 8, false);
    Add_Tile("Start", {});
    Add_Tile("G1", {});
    Tile_Classes().Info->Specific_Tile_Locations.push_back({"Start", 7, 7});
    Tile_Classes().Info->Tile_Groups.push_back({100, {{"G1", 2, 3}}});
    TScripted_Rolls rolls({55});
    TString_List errors;
    Place_Starting_Tiles(errors);
    EXPECT_EQ(Layout(), std::vector<std::string>({"G1@2,3", "Start@7,7"}));
}

// Layout invariants over many seeds, on a fixture of the five growth shapes, a 2 x 2 section and a
// starting tile, inside the grid and with connections off the map allowed.
TEST_F(MapDiggerLayout, GrownLayoutsAreClosedConsistentAndWithinTheirMaxima) {
    Add_Terrain("Floor", "floor");
    std::vector<TKeys> records = {With(Tile_Settings_Keys(), {{"Number of specific tile locations", "1"},
                                                              {"Tile Location 1 Name", "Start"},
                                                              {"Tile Location 1 Xpos", "[Random]"},
                                                              {"Tile Location 1 Ypos", "[Random]"},
                                                              {"Percent of map to fill", "90"}})};
    for (const TKeys& tile : Growth_Tile_Keys()) records.push_back(tile);
    records.push_back(Tile_Keys("Start", "NESW", 0, false));
    // The hall's pieces open into each other and to the outside on one side each. Their rows are their
    // own: a turned growth tile with a piece's sides and rows would be dropped as a copy of it.
    const char* hall[4][3] = {{"1", "1", "NES"}, {"2", "1", "ESW"}, {"1", "2", "NEW"}, {"2", "2", "NSW"}};
    for (const auto& piece : hall)
        records.push_back(With(Tile_Keys("Hall", piece[2], 6, false, Square_Rows('h')),
                               {{"Tile Section Width", "2"},
                                {"Tile Section Height", "2"},
                                {"Tile Section Position X", piece[0]},
                                {"Tile Section Position Y", piece[1]},
                                {"Tile Section Group ID", "3"},
                                {"Maximum Number Per Dungeon Level", "2"}}));
    for (const bool off_map : {false, true}) {
        SCOPED_TRACE(off_map ? "off the map allowed" : "inside the grid");
        records[0] = With(records[0], {{"Allow tile connection off map", off_map ? "TRUE" : "FALSE"}});
        int open_ends = 0, sections = 0, full = 0;
        for (uint64_t seed = 1; seed <= 200; ++seed) {
            ASSERT_TRUE(Load_Tiles(records)); // a table serves one dig: its maxima count down
            const TString_List errors = Dig(seed);
            ASSERT_TRUE(errors.empty()) << seed << ": " << errors.front();
            const TDig_Context& dig = Dig_Context();
            bool open_end = false;
            for (int32_t x = 1; x <= dig.Cells_Across; ++x)
                for (int32_t y = 1; y <= dig.Cells_Down; ++y) {
                    if (!dig.Occupied(x, y)) continue;
                    const TDig_Cell& cell = dig.Cell(x, y);
                    const TTile_Class& tile = *Tile_Classes().Get(cell.Tile);
                    EXPECT_EQ(cell.Sides, tile.Connection_Types);
                    for (int32_t side = 1; side <= 4; ++side) {
                        const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
                        const uint8_t type = Side_Flag(cell.Sides, side);
                        if (!dig.In_Grid(n.X, n.Y)) {
                            EXPECT_TRUE(type == 0 || off_map) << seed << " " << x << "," << y;
                        } else if (dig.Occupied(n.X, n.Y)) {
                            EXPECT_EQ(type, Side_Flag(dig.Cell(n.X, n.Y).Sides, n.Facing)) << seed;
                        } else if (type != 0) {
                            open_end = true;
                        }
                    }
                    if (tile.Section_Group > 0) {
                        ++sections;
                        EXPECT_TRUE(x > 1 && x < dig.Cells_Across && y > 1 && y < dig.Cells_Down) << seed;
                        const TDig_Cell& first = dig.Cell(x - tile.Section_X + 1, y - tile.Section_Y + 1);
                        EXPECT_EQ(first.Serial, cell.Serial) << seed;
                        EXPECT_EQ(Tile_Classes().Get(first.Tile)->Section_X, 1) << seed;
                    }
                }
            // A cell left open is only the mark of a last sweep whose rolls of 100 chose nothing.
            open_ends += open_end ? 1 : 0;
            EXPECT_EQ(open_end, dig.Last_Sweep_Missed_Picks > 0) << seed;
            full += dig.Occupied_Count() >= 90 ? 1 : 0;
            for (int32_t i = 1; i <= Tile_Classes().Count(); ++i) {
                EXPECT_GE(Tile_Classes().Get(i)->Max_Per_Level, 0);
                EXPECT_GE(Tile_Classes().Get(i)->Max_Per_Module, 0);
            }
        }
        EXPECT_LE(open_ends, 10);
        EXPECT_GT(sections, 0);
        EXPECT_GT(full, 150);
    }
}

TEST_F(MapDiggerLayout, CutOffStartingTilesAreJoinedOrReported) {
    Add_Terrain("Floor", "floor");
    auto settings = [](const std::string& a_cell, const std::string& b_cell) {
        return With(Tile_Settings_Keys(), {{"Number of specific tile locations", "2"},
                                           {"Tile Location 1 Name", "A"},
                                           {"Tile Location 1 Xpos", a_cell},
                                           {"Tile Location 1 Ypos", a_cell},
                                           {"Tile Location 2 Name", "B"},
                                           {"Tile Location 2 Xpos", b_cell},
                                           {"Tile Location 2 Ypos", "5"},
                                           {"Percent of map to fill", "1"}});
    };
    // Only ends and straights grow: A and B often stay apart until the repair joins them.
    std::vector<TKeys> records = {settings("2", "9"), Tile_Keys("A", "E", 0, false),
                                  Tile_Keys("B", "W", 0, false), Tile_Keys("End", "N", 10),
                                  Tile_Keys("Straight", "NS", 10)};
    records[0] = With(records[0], {{"Tile Location 1 Ypos", "5"}});
    int joined = 0;
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        ASSERT_TRUE(Load_Tiles(records));
        const TString_List errors = Dig(seed, 4);
        const bool reached = Reached(2, 5).count({9, 5}) == 1;
        joined += reached ? 1 : 0;
        EXPECT_EQ(errors, reached ? TString_List()
                                  : TString_List({"Could not ensure starting point connections on Map 4: "
                                                  "Test_Tiles.txt."}))
            << seed;
    }
    EXPECT_GT(joined, 30);

    // A closed starting tile reaches nothing it could change: reported at once.
    records[1] = Tile_Keys("A", "", 0, false);
    ASSERT_TRUE(Load_Tiles(records));
    EXPECT_EQ(Dig(3, 4),
              TString_List({"Could not ensure starting point connections on Map 4: Test_Tiles.txt."}));

    // B opens only to a kind no tile has: the repair never joins it, runs out of rounds and says nothing
    // (with tiles enough for a thousand rounds of repair; a table that runs dry is reported as above).
    records[1] = Tile_Keys("A", "E", 0, false);
    records[2] = With(Tile_Keys("B", "", 0, false), {{"Connection Type W", "2"}});
    records.push_back(Tile_Keys("Cross", "NESW", 10));
    for (size_t i = 3; i < records.size(); ++i)
        records[i] = With(records[i], {{"Maximum Number Per Dungeon Level", "65535"},
                                       {"Maximum Number Per Module", "65535"}});
    ASSERT_TRUE(Load_Tiles(records));
    const TString_List errors = Dig(3, 4);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(Reached(2, 5).count({9, 5}), 0u);
    EXPECT_FALSE(Dig_Context().Occupied(8, 5));
}

TEST_F(MapDiggerLayout, TheRepairSeesEveryStartAndEveryEdgeOfTheGrid) {
    // Hand-built cut-offs on a 6 x 6 grid: A opens into a dead end next to it, B waits two cells away.
    // The one pair to change is the dead end and the empty cell towards B, in the first row or in the
    // last column; a corner and a straight (one candidate each) then join them.
    struct TCase {
        const char* Name;
        std::pair<int32_t, int32_t> A, B, End;
        TSide_Set A_Sides, B_Sides;
        int32_t End_Tile;
        std::vector<std::string> Layout;
    };
    const std::vector<TCase> cases = {
        {"across the first row",
         {1, 2},
         {3, 1},
         {1, 1},
         {1, 0, 0, 0},
         {0, 0, 0, 1},
         3,
         {"Corner ES@1,1", "A@1,2", "Straight EW@2,1", "B@3,1"}},
        {"down the last column",
         {5, 1},
         {6, 3},
         {6, 1},
         {0, 1, 0, 0},
         {1, 0, 0, 0},
         4,
         {"A@5,1", "Corner SW@6,1", "Straight NS@6,2", "B@6,3"}},
    };
    auto build = [this](const TCase& c) {
        Free_Tile_Classes();
        Install_Grid(6, 6, false);
        Add_Tile("A", c.A_Sides);
        Add_Tile("B", c.B_Sides);
        Add_Tile("End S", {0, 0, 1, 0});
        Add_Tile("End W", {0, 0, 0, 1});
        Add_Tile("Corner ES", {0, 1, 1, 0});
        Add_Tile("Corner SW", {0, 0, 1, 1});
        Add_Tile("Straight EW", {0, 1, 0, 1});
        Add_Tile("Straight NS", {1, 0, 1, 0});
        Set_Tile_At_Location(c.A.first, c.A.second, 1, false, true, 1);
        Set_Tile_At_Location(c.B.first, c.B.second, 2, false, true, 2);
        Set_Tile_At_Location(c.End.first, c.End.second, c.End_Tile, true, false, 3);
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        build(c);
        TScripted_Rolls rolls({1, 1});
        TString_List errors;
        Ensure_Starting_Point_Connections(errors, "Cave.txt", 2);
        EXPECT_TRUE(errors.empty());
        EXPECT_EQ(Layout(), c.Layout);
        EXPECT_EQ(rolls.Left(), 0u);
    }
    // Without the straight the corner is laid again in every round, one roll each: 1001 rounds, silent.
    build(cases[0]);
    Tile_Classes().Get(7)->Max_Per_Level = 0;
    Tile_Classes().Get(5)->Max_Per_Level = Tile_Classes().Get(5)->Max_Per_Module = 5000;
    {
        TScripted_Rolls rolls(std::vector<int32_t>(1001, 1));
        TString_List errors;
        Ensure_Starting_Point_Connections(errors, "Cave.txt", 2);
        EXPECT_TRUE(errors.empty());
        EXPECT_EQ(rolls.Left(), 0u);
    }
    // A closed first start reaches nothing it may change: every other start, in the first row or the
    // last, is then reported unreached.
    for (const int32_t row : {1, 6}) {
        Install_Grid(6, 6, false);
        Set_Tile_At_Location(2, 3, 3, false, true, 1);
        Dig_Context().Cell(2, 3).Sides = {};
        Set_Tile_At_Location(3, row, 2, false, true, 2);
        TString_List errors;
        Ensure_Starting_Point_Connections(errors, "Cave.txt", 2);
        EXPECT_EQ(errors, TString_List({"Could not ensure starting point connections on Map 2: Cave.txt."}))
            << row;
    }
}

TEST_F(MapDiggerLayout, ResizingReplacesChangeableTilesOnTheFrontier) {
    Install_Grid(6, 6, true);
    Tile_Classes().Info->Tiles_To_Resize = 3;
    Add_Tile("Old", {}, 0);
    Add_Tile("New", {}, 1);
    Set_Tile_At_Location(1, 1, 1, true, false, 1); // candidate 1
    Set_Tile_At_Location(3, 3, 1, true, false, 2); // candidate 2
    Set_Tile_At_Location(5, 5, 1, false, true, 3); // a starting tile stays
    TTile_Class& piece = Add_Tile("Piece", {});    // so does a section piece
    piece.Section_Group = 1;
    Set_Tile_At_Location(2, 5, 3, true, false, 4);
    // The second candidate, then the only one left (no roll); with none left the third change asks nothing.
    TScripted_Rolls rolls({2, 1, 1});
    Resize_Tile_Map();
    EXPECT_EQ(Layout(), std::vector<std::string>({"New@1,1", "Piece@2,5", "New@3,3", "Old@5,5"}));
    EXPECT_EQ(rolls.Left(), 0u);
    EXPECT_EQ(rolls.Asked, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}, {1, 100}, {1, 100}}));
}

TEST_F(MapDiggerLayout, ParametersComeFromTheModuleDifficultyAndStartingLevel) {
    const std::string p = "Map 1";
    Folder.Write("ModuleData.txt", Data_File_Text({{{"Number Of Maps", "1"},
                                                    {p + " Tiles Filename", "Cave_Tiles.txt"},
                                                    {p + " Stores Filename", "Cave_Stores.txt"},
                                                    {p + " Chance Group", "0"},
                                                    {p + " Place Random Items", "FALSE"},
                                                    {p + " Item Level Min", "1"},
                                                    {p + " Item Level Max", "2"},
                                                    {p + " Minimum Number of Monsters", "10"},
                                                    {p + " Maximum Number of Monsters", "12"},
                                                    {p + " Minimum Number of Monster Groups", "1"},
                                                    {p + " Maximum Number of Monster Groups", "2"},
                                                    {p + " Increase In Monsters Per Difficulty", "3"},
                                                    {p + " Increase In Monster Groups Per Difficulty", "1"},
                                                    {p + " Monster Level Min", "2"},
                                                    {p + " Monster Level Max", "3"},
                                                    {p + " Chance for Monster Modifier Percent", "5"},
                                                    {p + " Diff Level Incr Monst Mod Percent", "7"}}}));
    struct TCase {
        bool Module;
        int Difficulty;
        int Start_Level;
        int Map;
        // Monsters min, max, groups min, max, modifier chance, item levels min, max, monster levels min, max.
        std::vector<int32_t> Expected;
    };
    const std::vector<TCase> cases = {
        {false, 4, 0, 1, {20, 60, 2, 4, 0, 1, 1, 1, 1}}, {false, 2, 5, 1, {20, 60, 2, 4, 0, 5, 5, 5, 5}},
        {true, 1, 0, 1, {10, 12, 1, 2, 5, 1, 2, 2, 3}},  {true, 2, 0, 1, {10, 12, 1, 2, 5, 1, 2, 2, 3}},
        {true, 3, 0, 1, {13, 15, 2, 3, 12, 1, 2, 2, 3}}, {true, 4, 1, 1, {16, 18, 3, 4, 19, 1, 2, 2, 3}},
        {true, 4, 3, 1, {16, 18, 3, 4, 19, 3, 4, 4, 5}}, {true, 4, 3, 2, {20, 60, 2, 4, 0, 3, 3, 3, 3}},
        {true, 4, 3, 0, {20, 60, 2, 4, 0, 3, 3, 3, 3}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.Module << " d" << c.Difficulty << " s" << c.Start_Level << " m" << c.Map);
        Free_Module_Class();
        if (c.Module) Load_Module_Class(Folder.File("ModuleData.txt"), nullptr);
        TGame_Options& options = Create_Game_Options();
        options.Difficulty = static_cast<uint8_t>(c.Difficulty);
        options.Start_Level = static_cast<uint16_t>(c.Start_Level);
        Set_Dig_Parameters(c.Map);
        const TDig_Parameters& d = Dig_Context().Params;
        EXPECT_EQ(std::vector<int32_t>({d.Monsters_Min, d.Monsters_Max, d.Monster_Groups_Min,
                                        d.Monster_Groups_Max, d.Monster_Modifier_Chance, d.Item_Level_Min,
                                        d.Item_Level_Max, d.Monster_Level_Min, d.Monster_Level_Max}),
                  c.Expected);
        const bool from_module = c.Module && c.Map == 1;
        EXPECT_EQ(d.Tiles_File, from_module ? "Cave_Tiles.txt" : "");
        EXPECT_EQ(d.Stores_File, from_module ? "Cave_Stores.txt" : "");
        EXPECT_EQ(d.Chance_Group_Id, from_module ? 0 : 1);
        EXPECT_EQ(d.Place_Random_Items, !from_module);
        EXPECT_EQ(d.Items_Max, from_module ? 0 : 40);
    }
    // Without game options nothing grows.
    Free_Game_Options();
    Set_Dig_Parameters(1);
    EXPECT_EQ(Dig_Context().Params.Monsters_Max, 12);
    EXPECT_EQ(Dig_Context().Params.Monster_Level_Max, 3);
}

TEST_F(MapDiggerLayout, EntrancesFollowTheirTileWhenItIsTurned) {
    Install_Grid(4, 4, false);
    TTile_Class_Info& info = *Tile_Classes().Info;
    info.Tile_Entrances = {{"Gate", 5, 2}, {"gate", 1, 1}, {"Other", 3, 3}, {"Gate", 17, 17}};
    for (int32_t rotation = 0; rotation <= 3; ++rotation) Add_Tile("Gate", {}).Rotation = rotation;
    Add_Tile("Other", {});
    Set_Tile_At_Location(2, 3, 1, true, false, 1);
    Set_Tile_At_Location(2, 4, 2, true, false, 2);
    Set_Tile_At_Location(3, 3, 3, true, false, 3);
    Set_Tile_At_Location(4, 1, 4, true, false, 4);
    EXPECT_EQ(Dig_Context().Occupied_Count(), 4);
    TWordList ids, xs, ys;
    Collect_Tile_Entrances(15, 15, ids, xs, ys);
    std::vector<std::vector<int>> found;
    for (int32_t i = 1; i <= ids.Count(); ++i) found.push_back({ids.Get(i), xs.Get(i), ys.Get(i)});
    // (5, 2) and (17, 17) of each turned tile, cell by cell, column by column; "gate" is not "Gate".
    const std::vector<std::vector<int>> expected = {
        {1, 36, 50}, {4, 48, 65},  // cell (2, 3), as drawn
        {1, 47, 70}, {4, 32, 82},  // cell (2, 4), a quarter turn: (x, y) to (18 - y, x)
        {1, 61, 64}, {4, 49, 49},  // cell (3, 3), a half turn: (18 - x, 18 - y)
        {1, 67, 27}, {4, 82, 15}}; // cell (4, 1), three quarters: (y, 18 - x)
    EXPECT_EQ(found, expected);
    int32_t mx = 0, my = 0;
    Rotate_Tile_Position(1, 1, 1, 1, 0, 1, 1, mx, my);
    EXPECT_EQ(std::make_pair(mx, my), std::make_pair(1, 1));
}

TEST_F(MapDiggerLayout, EveryOccupiedCellIsStampedWithItsLocksAndTraps) {
    const uint16_t rock = Add_Terrain("Rock", "rock");
    const uint16_t floor = Add_Terrain("Floor", "floor");
    TTerrain door;
    door.Set_Categories("door");
    door.Locked_Terrain_Group = "Doors";
    door.Locked_Key_Groups = {"Key"};
    door.Trapped_Terrain_Group = "Door Traps";
    const uint16_t door_id = Map->Terrain_List.Add(door);
    Fill_Map_Terrain(rock);
    Build_Terrain_Symbol_Tables();
    Install_Grid(10, 10, false);
    TTile_Class& room = Add_Tile("Room", {});
    room.Rows.assign(17, std::u32string(17, U'.'));
    room.Rows[0][0] = U'D';
    room.Identifiers = {{".", {"floor"}}, {"D", {"door"}}};
    room.Locked_Terrain_Groups = room.Trapped_Terrain_Groups = "Doors, Door Traps";
    TDig_Context& dig = Dig_Context();
    dig.X0 = dig.Y0 = 15;
    dig.Params.Trap_Group_Name = "Cave Traps";
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 1}, {10, 10}, {1, 10}})
        Set_Tile_At_Location(x, y, 1, true, false, 1);
    Stamp_Dug_Cells(dig, nullptr, nullptr); // no chance group: stamped only
    EXPECT_TRUE(Map->Lock_Key_Names().empty());
    const TTerrain_Group_Chances locks = {{"Doors"}, {100}}, traps = {{"Door Traps"}, {100}};
    Stamp_Dug_Cells(dig, &locks, &traps);
    // Cells (1, 1), (10, 10) and (1, 10) begin at squares (15, 15), (168, 168) and (15, 168).
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{15, 15}, {168, 168}, {15, 168}}) {
        EXPECT_EQ(Map->Get_Square(x, y)->Terrain_Id, door_id) << x << "," << y;
        EXPECT_EQ(Map->Get_Square(x + 16, y + 16)->Terrain_Id, floor);
        std::string key, trap;
        EXPECT_TRUE(Map->Get_Lock(x, y, key) && key == "Key");
        EXPECT_TRUE(Map->Get_Trap(x, y, trap) && trap == "Cave Traps");
    }
    EXPECT_EQ(Map->Lock_Key_Names().size(), 3u);
    EXPECT_EQ(Map->Get_Square(14, 15)->Terrain_Id, rock);
    EXPECT_EQ(Map->Get_Square(185, 184)->Terrain_Id, rock);
    EXPECT_EQ(Map->Get_Square(100, 100)->Terrain_Id, rock);
}

TEST_F(MapDiggerLayout, TheOuterBorderBandsStayOnTheMap) {
    const uint16_t inside = Add_Terrain("Inside", "floor");
    const uint16_t edge = Add_Terrain("Edge", "ceiling, rock");
    Install_Grid(10, 10, false);
    Build_Terrain_Symbol_Tables();
    struct TCase {
        int Border;
        std::vector<int> Band_Ends; // the last square of the left band, the first of the right band
    };
    for (const TCase& c :
         std::vector<TCase>{{0, {8, 192}}, {3, {11, 189}}, {90, {98, 102}}, {500, {200, 1}}}) {
        SCOPED_TRACE(c.Border);
        Fill_Map_Terrain(inside);
        Tile_Classes().Info->Fill_Border_Categories = {"rock", "ceiling"};
        Tile_Classes().Info->Increased_Border_Size = static_cast<uint16_t>(c.Border);
        Fill_Outer_Border();
        std::vector<int> ends;
        int left = 0, right = 201;
        while (left < 200 && Map->Get_Square(left + 1, 100)->Terrain_Id == edge) ++left;
        while (right > 1 && Map->Get_Square(right - 1, 100)->Terrain_Id == edge) --right;
        EXPECT_EQ(std::vector<int>({left, right}), c.Band_Ends);
        int top = 0, bottom = 201;
        while (top < 200 && Map->Get_Square(100, top + 1)->Terrain_Id == edge) ++top;
        while (bottom > 1 && Map->Get_Square(100, bottom - 1)->Terrain_Id == edge) --bottom;
        EXPECT_EQ(std::vector<int>({top, bottom}), c.Band_Ends);
        EXPECT_EQ(Map->Get_Square(200, 200)->Terrain_Id, edge);
    }
    // No border categories: nothing is filled.
    Fill_Map_Terrain(inside);
    Tile_Classes().Info->Fill_Border_Categories.clear();
    Fill_Outer_Border();
    EXPECT_EQ(Map->Get_Square(1, 1)->Terrain_Id, inside);
}

} // namespace
