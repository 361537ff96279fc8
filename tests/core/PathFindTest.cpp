#include "core/PathFind.h"
#include "core/GameOptions.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

// Failures show squares as (x, y).
void PrintTo(const TSquare_Position& square, std::ostream* os) {
    *os << "(" << square.X << ", " << square.Y << ")";
}

namespace {

using TSquares = std::vector<TSquare_Position>;

class Path_Find : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Create_Game_Options();
    }
    void TearDown() override {
        Set_Missile_Query(nullptr);
        Free_Game_Options();
        TMap_Fixture::TearDown();
    }
    void Build(const TSquares& walls, const TSquares& creatures, const TSquares& missiles) {
        Map->Clear(false);
        Fill(Floor);
        for (TSquare_Position w : walls) Set_Terrain(w.X, w.Y, Wall);
        for (TSquare_Position c : creatures) Add_Creature(c.X, c.Y);
        Set_Missile_Query([missiles](int32_t x, int32_t y) {
            return std::find(missiles.begin(), missiles.end(), TSquare_Position{x, y}) != missiles.end();
        });
    }
    // The squares a walker passes, asking for a step each time, until it reaches the goal or gets none.
    static TSquares Walk(TSquare_Position from, TSquare_Position to) {
        TSquares walked;
        while (!(from == to) && walked.size() < 12) {
            const std::optional<TSquare_Position> step = Find_Path(from, to, Movement_Land);
            if (!step) break;
            walked.push_back(from = *step);
        }
        return walked;
    }
};

TSquares Ring(int32_t cx, int32_t cy) {
    TSquares ring;
    for (int32_t x = cx - 1; x <= cx + 1; ++x)
        for (int32_t y = cy - 1; y <= cy + 1; ++y)
            if (x != cx || y != cy) ring.push_back({x, y});
    return ring;
}

// Row 73 walled from x first to last, except for a gap at x gap.
TSquares Gap_Wall(int32_t first, int32_t last, int32_t gap) {
    TSquares wall;
    for (int32_t x = first; x <= last; ++x)
        if (x != gap) wall.push_back({x, 73});
    return wall;
}

TEST_F(Path_Find, WalksFollowTheSearch) {
    const TSquares gap = Gap_Wall(30, 50, 38), nook = {{41, 69}, {42, 67}, {42, 68}, {43, 69}},
                   corner = {{43, 73}, {42, 73}, {41, 71}},
                   straight = {{40, 73}, {40, 74}, {40, 75}, {40, 76}};
    struct TCase {
        const char* Name;
        bool Flag_4;
        TSquare_Position From, To;
        TSquares Walls, Creatures, Missiles, Walked;
    } cases[] = {
        {"free neighbour", true, {40, 70}, {41, 70}, {}, {}, {}, {{41, 70}}},
        {"start is goal", true, {40, 70}, {40, 70}, {}, {}, {}, {}},
        // The start is the first closed square with H = 1, and nothing nearer is closed.
        {"occupied neighbour", true, {40, 70}, {41, 70}, {}, {{41, 70}}, {}, {}},
        // (40, 71) and (41, 70) both have F = 3; the one inserted first (column 40) is taken.
        {"occupied diagonal", true, {40, 70}, {41, 71}, {}, {{41, 71}}, {}, {{40, 71}}},
        {"missile", true, {40, 70}, {40, 72}, {}, {}, {{40, 71}}, {{39, 71}, {40, 72}}},
        {"gap", true, {40, 72}, {40, 76}, gap, {}, {}, {{39, 72}, {38, 73}, {39, 74}, {40, 75}, {40, 76}}},
        {"gap, option off", false, {40, 72}, {40, 76}, gap, {{40, 75}}, {}, straight},
        // Blocked squares cost more but are never left out.
        {"walled in", true, {40, 70}, {40, 67}, Ring(40, 70), {}, {}, {{40, 69}, {40, 68}, {40, 67}}},
        // (40, 74) is the first closed square at the smallest distance (2), and from there none is nearer.
        {"enclosed goal", true, {40, 72}, {40, 76}, Ring(40, 76), {}, {}, {{40, 73}, {40, 74}}},
        // (42, 69), first reached from (41, 68) at G 4, gets G 3 through (41, 70) and is taken sooner.
        {"cheaper way", true, {40, 70}, {43, 67}, nook, {}, {}, {{41, 70}, {42, 69}, {43, 68}, {43, 67}}},
        // Improved through (41, 70), (42, 71) keeps its place behind (43, 72), which is closed first (by way
        // of (40, 71)) as the first square next to the walled goal. Moved up, it would lead through (41, 70).
        {"kept place", true, {40, 70}, {43, 73}, corner, {}, {}, {{40, 71}, {41, 72}, {42, 72}, {43, 72}}},
    };
    for (const TCase& c : cases) {
        Build(c.Walls, c.Creatures, c.Missiles);
        Game_Options()->Flag_4 = c.Flag_4;
        EXPECT_EQ(Walk(c.From, c.To), c.Walked) << c.Name;
    }
    // Columns and rows 0 and 201 are never searched, so the start stays the nearest square.
    Build({}, {}, {});
    Game_Options()->Flag_4 = false;
    for (auto [from, to] : {std::pair{TSquare_Position{40, 1}, TSquare_Position{40, 0}},
                            {{40, 200}, {40, 201}},
                            {{1, 70}, {0, 70}},
                            {{200, 70}, {201, 70}}})
        EXPECT_EQ(Find_Path(from, to, Movement_Land), std::nullopt) << from.X << "," << from.Y;
    Free_Game_Options(); // without options the danger cost counts
    Build(gap, {}, {});
    EXPECT_EQ(Find_Path({40, 72}, {40, 76}, Movement_Land), (TSquare_Position{39, 72}));
}

// The goals lie out of reach beyond the gap. At 34 the 99th expansion is the first to close a square on the
// way through it nearer the goal than any before; at 33 that would take a 100th, and the step follows the
// wall.
TEST_F(Path_Find, SearchStopsAfterNinetyNineExpansions) {
    for (auto [at, goal, step] : {std::tuple{34, TSquare_Position{44, 75}, TSquare_Position{39, 72}},
                                  std::tuple{33, TSquare_Position{44, 79}, TSquare_Position{41, 72}}}) {
        Build(Gap_Wall(1, 200, at), {}, {});
        EXPECT_EQ(Find_Path({40, 72}, goal, Movement_Land), step) << at;
    }
}

} // namespace
