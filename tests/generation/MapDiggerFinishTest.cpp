// The digger's finishing steps on hand-built maps: black borders along walls facing the ceiling, generic
// walls turned to their shapes, doors turned along their walls, and the styled terrain search they share.
#include "generation/RndDigFinish.h"
#include "generation/RndTileStamp.h"
#include "tests/generation/DiggerTestSupport.h"

#include <map>

namespace {

const char* const Shapes[] = {"nesw", "new", "esw", "nsw", "nes", "ns", "ew", "es",
                              "sw",   "ne",  "nw",  "n",   "e",   "w",  "s",  "ceiling"};

class MapDiggerFinish : public TDigger_Test {
protected:
    void SetUp() override {
        TDigger_Test::SetUp();
        Legend['.'] = Add_Terrain("Floor", "floor");
        Legend['C'] = Add_Terrain("Rock", "ceiling, rock");
        Legend['W'] = Add_Terrain("Wall", "wall, generic, stone");
        Legend['M'] = Add_Terrain("Marble Wall", "wall, generic, marble"); // no shaped marble exists
        Legend['D'] = Add_Terrain("Door", "door, generic, closed, wood");
        Legend['S'] = Add_Terrain("Secret Door", "door, wall, generic, closed, wood");
        Legend['O'] = Add_Terrain("Open Door", "door, generic, open, wood");
        Legend['='] = Add_Terrain("Finished Wall", "wall, finished");
        for (const char* shape : Shapes)
            Add_Terrain(std::string("Wall ") + shape, std::string("wall, stone, ") + shape);
        Add_Terrain("Door NS", "door, ns, closed, wood");
        Add_Terrain("Door EW", "door, ew, closed, wood");
        Add_Terrain("Sealed Door", "wall, ceiling, door, closed, wood");
        Add_Terrain("Door NS of another style", "door, ns, open, wood", 1);
        Tile_Classes().Info = std::make_unique<TTile_Class_Info>();
        Tile_Classes().Info->Black_Border_Ceiling_Categories = {"ceiling"};
        Tile_Classes().Info->Black_Border_Wall_Categories = {"wall"};
        Build_Terrain_Symbol_Tables();
    }
    void TearDown() override {
        Free_Terrain_Symbol_Tables();
        TDigger_Test::TearDown();
    }
    // Paints the rows onto the map from square (x, y); the rest of the map is floor.
    void Paint(const std::vector<std::string>& rows, int32_t x = 50, int32_t y = 50, bool clear = true) {
        if (clear) Fill_Map_Terrain(Legend['.']);
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                Map->Get_Square(x + static_cast<int32_t>(c), y + static_cast<int32_t>(r))->Terrain_Id =
                    Legend.at(rows[r][c]);
    }
    std::string Name_At(int32_t x, int32_t y) const {
        return Map->Terrain_List.Terrain(Map->Get_Square(x, y)->Terrain_Id)->Name;
    }

    std::map<char, uint16_t> Legend;
};

} // namespace

TEST_F(MapDiggerFinish, BorderTypesFollowTheFirstRuleThatHolds) {
    struct TCase {
        uint8_t Ceiling;
        uint8_t Type;
    };
    const std::vector<TCase> cases = {
        {0xFF, 12},
        {Dir_W | Dir_SW | Dir_S, 6},
        {Dir_W | Dir_SW | Dir_S | Dir_N, 6}, // the three-sided rule comes before N alone
        {Dir_NW | Dir_N | Dir_W, 13},
        {Dir_N | Dir_NE | Dir_E, 10},
        {Dir_E | Dir_S | Dir_SE, 9},
        {Dir_NE | Dir_SW, 11},
        {Dir_NW | Dir_SE, 7},
        {Dir_W, 15},
        {Dir_W | Dir_E, 15},
        {Dir_E, 8},
        {Dir_N, 14},
        {Dir_N | Dir_S, 14},
        {Dir_S, 5},
        {Dir_NW, 4},
        {Dir_NE, 1},
        {Dir_SW, 3},
        {Dir_SE, 2},
        {Dir_W | Dir_S, 15},
        {static_cast<uint8_t>(0xFF & ~Dir_N), 6},
        {0, 0},
    };
    for (const TCase& c : cases) EXPECT_EQ(Black_Border_Type(c.Ceiling), c.Type) << int(c.Ceiling);

    // On the map: a wall takes its type from the ceiling around it; floor, a lone wall and ceiling get 0.
    Paint({"CCCC.", "CWWC.", "CWCC.", ".....", "W...."});
    Paint({"CW"}, 1, 1, false);         // the first row and column count
    Paint({"C", "W"}, 200, 199, false); // and so do the last
    for (int32_t x = 1; x <= 200; x += 37) Map->Get_Square(x, 7)->Border_Type = 9; // replaced everywhere
    Add_Black_Border_To_Walls();
    EXPECT_EQ(Map->Get_Square(51, 51)->Border_Type, 13); // NW, N, W ceiling (and more)
    EXPECT_EQ(Map->Get_Square(52, 51)->Border_Type, 10); // N, NE, E
    EXPECT_EQ(Map->Get_Square(51, 52)->Border_Type, 15); // W and NW, E: W comes first
    EXPECT_EQ(Map->Get_Square(50, 50)->Border_Type, 0);  // ceiling itself
    EXPECT_EQ(Map->Get_Square(50, 54)->Border_Type, 0);  // a wall without ceiling around
    EXPECT_EQ(Map->Get_Square(52, 53)->Border_Type, 0);  // floor
    EXPECT_EQ(Map->Get_Square(1, 7)->Border_Type, 0);
    EXPECT_EQ(Map->Get_Square(2, 1)->Border_Type, 15);
    EXPECT_EQ(Map->Get_Square(200, 200)->Border_Type, 14);

    // Without a wall category the step is skipped and borders stay as they are.
    Tile_Classes().Info->Black_Border_Wall_Categories.clear();
    Map->Get_Square(52, 51)->Border_Type = 3;
    Add_Black_Border_To_Walls();
    EXPECT_EQ(Map->Get_Square(52, 51)->Border_Type, 3);
}

TEST_F(MapDiggerFinish, GenericWallsTakeTheShapeOfTheirWallSides) {
    struct TCase {
        std::vector<std::string> Around; // 3 x 3, the examined wall in the middle
        const char* Becomes;
    };
    const std::vector<TCase> cases = {
        {{".W.", "WWW", ".W."}, "Wall nesw"}, // open diagonals
        {{"WWW", "WWW", "WWW"}, "Wall ceiling"},
        {{"WWW", "WWW", "WWC"}, "Wall nesw"}, // a ceiling corner is not wall
        {{".W.", "WWW", "..."}, "Wall new"},
        {{"...", "WWW", ".W."}, "Wall esw"},
        {{".W.", "WW.", ".W."}, "Wall nsw"},
        {{".W.", ".WW", ".W."}, "Wall nes"},
        {{".W.", ".W.", ".W."}, "Wall ns"},
        {{"...", "WWW", "..."}, "Wall ew"},
        {{"...", ".WW", ".W."}, "Wall es"},
        {{"...", "WW.", ".W."}, "Wall sw"},
        {{".W.", ".WW", "..."}, "Wall ne"},
        {{".W.", "WW.", "..."}, "Wall nw"},
        {{"...", ".W.", ".W."}, "Wall n"},
        {{"...", "WW.", "..."}, "Wall e"},
        {{"...", ".WW", "..."}, "Wall w"},
        {{".W.", ".W.", "..."}, "Wall s"},
        {{".C.", "WWW", ".W."}, "Wall esw"},    // ceiling counts as ceiling, not wall
        {{".D.", "WWW", "..."}, "Wall new"},    // a door counts as wall
        {{"...", ".W.", "..."}, "Wall"},        // no wall side: left as it is
        {{"...", "MM.", "..."}, "Marble Wall"}, // no marble wall of that shape: left as it is
        {{"...", "CWC", "..."}, "Wall"},
        {{"...", "=W=", "..."}, "Wall ew"}, // shaped walls count as wall too
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Around[0] + "/" + c.Around[1] + "/" + c.Around[2]);
        Paint(c.Around);
        Change_Generic_Walls_To_Specific();
        EXPECT_EQ(Name_At(51, 51), c.Becomes);
    }

    // The map's first and last rows and columns are examined too.
    Paint({"WWW"}, 1, 1);
    Paint({"W", "W", "W"}, 200, 198, false);
    Change_Generic_Walls_To_Specific();
    EXPECT_EQ(Name_At(2, 1), "Wall ew");
    EXPECT_EQ(Name_At(1, 1), "Wall w");
    EXPECT_EQ(Name_At(200, 199), "Wall ns");
    EXPECT_EQ(Name_At(200, 200), "Wall s");

    // Every decision reads the marks as the step found them: the solid middle of a block turns to the
    // "ceiling" wall, yet its neighbours on the east still count it as wall.
    Paint({"WWWWW", "WWWWW", "WWWWW", "WWWWW", "WWWWW"});
    Change_Generic_Walls_To_Specific();
    const std::vector<std::vector<std::string>> block = {{"es", "esw", "esw", "esw", "sw"},
                                                         {"nes", "ceiling", "ceiling", "ceiling", "nsw"},
                                                         {"nes", "ceiling", "ceiling", "ceiling", "nsw"},
                                                         {"nes", "ceiling", "ceiling", "ceiling", "nsw"},
                                                         {"ne", "new", "new", "new", "nw"}};
    for (int32_t r = 0; r < 5; ++r)
        for (int32_t c = 0; c < 5; ++c)
            EXPECT_EQ(Name_At(50 + c, 50 + r), "Wall " + block[r][c]) << c << "," << r;
}

TEST_F(MapDiggerFinish, DoorsTurnAlongTheirWalls) {
    struct TCase {
        std::vector<std::string> Around;
        const char* Becomes;
    };
    const std::vector<TCase> cases = {
        {{"...", "WDW", "..."}, "Door NS"},
        {{"W.W", "WDW", "W.W"}, "Door NS"}, // diagonals do not count
        {{".W.", ".D.", ".W."}, "Door EW"},
        {{".W.", "WDW", "..."}, "Door"}, // three walls: neither way
        {{"...", ".D.", "..."}, "Door"},
        {{"WWW", "WSW", "WWW"}, "Sealed Door"}, // a door that is itself wall, inside solid wall
        {{"WWW", "WDW", "WWW"}, "Door"},        // eight walls and a plain door: not solid, not one way
        {{"...", "WOW", "..."}, "Open Door"},   // the open door's "ns" twin is of another style
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Around[0] + "/" + c.Around[1] + "/" + c.Around[2]);
        Paint(c.Around);
        Change_Door_Directions();
        EXPECT_EQ(Name_At(51, 51), c.Becomes);
    }
    Paint({"WDW"}, 1, 200);
    Paint({"W", "D", "W"}, 200, 1, false);
    Paint({"W", "D", "W"}, 1, 100, false);
    Paint({"WDW"}, 100, 1, false);
    Change_Door_Directions();
    EXPECT_EQ(Name_At(1, 101), "Door EW");
    EXPECT_EQ(Name_At(101, 1), "Door NS");
    EXPECT_EQ(Name_At(2, 200), "Door NS");
    EXPECT_EQ(Name_At(200, 2), "Door EW");
}

TEST_F(MapDiggerFinish, StyledTerrainKeepsEveryCategoryButTheReplacedOnes) {
    Paint({"W", "D", "M", "."});
    struct TCase {
        int32_t Y;
        TString_List Required, Excluded;
        const char* Found; // "" for none
    };
    const std::vector<TCase> cases = {
        {50, {"WALL", "ns"}, {"Generic"}, "Wall ns"}, // names compare in lower case
        {50, {"wall", "ns"}, {}, ""},                 // generic kept: no such wall
        {50, {"wall", "", "ns"}, {"generic"}, "Wall ns"},
        {51, {"door", "ew"}, {"generic", "ns"}, "Door EW"},
        {51, {"door", "ns", "open"}, {"generic", "closed"}, ""}, // the only open "ns" door is of style 1
        {52, {"wall", "ns"}, {"generic"}, ""},                   // marble stays wanted
        {53, {"wall", "ns"}, {"generic"}, ""},                   // floor stays wanted
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Y);
        const uint16_t found = Find_Styled_Terrain(50, c.Y, c.Required, c.Excluded);
        EXPECT_EQ(found == 0 ? std::string() : Map->Terrain_List.Terrain(found)->Name, c.Found);
    }
    EXPECT_EQ(Find_Styled_Terrain(0, 50, {"wall", "ns"}, {"generic"}), 0);

    // Two candidates: one is drawn for every square, from the same list.
    const uint16_t twin = Add_Terrain("Wall ns twin", "wall, stone, ns");
    Build_Terrain_Symbol_Tables();
    TStyled_Terrain_Finder finder({"wall", "ns"}, {"generic"});
    TScripted_Rolls rolls({2, 1});
    EXPECT_EQ(finder.Find(Legend['W']), twin);
    EXPECT_EQ(Map->Terrain_List.Terrain(finder.Find(Legend['W']))->Name, "Wall ns");
    EXPECT_EQ(rolls.Asked, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}, {1, 2}}));
}
