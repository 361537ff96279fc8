// Path finding against a plain reading of its rules: one open list kept by inserting before the first node
// of a greater key, a closed list, nodes found by walking the lists. The search the game runs is built for
// speed; on every board below it must give the same first step as this slow one.
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/PathFind.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace {

using TSquare = std::pair<int32_t, int32_t>;

struct TNode {
    int32_t X, Y;
    TNode* Parent;
    double F, G, H;
};

// The slow search. blocked(x, y) tells the squares that cost the penalty.
template <typename TBlocked>
std::optional<TSquare> Reference_Step(TSquare from, TSquare to, TBlocked blocked) {
    std::vector<std::unique_ptr<TNode>> nodes;
    std::vector<TNode*> open, closed;
    const auto distance = [&](int32_t x, int32_t y) {
        const double dx = x - to.first, dy = y - to.second;
        return std::sqrt(dx * dx + dy * dy);
    };
    const auto find = [](const std::vector<TNode*>& list, int32_t x, int32_t y) -> TNode* {
        for (TNode* n : list)
            if (n->X == x && n->Y == y) return n;
        return nullptr;
    };
    const auto insert = [&](TNode* node) {
        auto at = open.begin();
        while (at != open.end() && !((*at)->F > node->F)) ++at;
        open.insert(at, node);
    };
    const auto make = [&](int32_t x, int32_t y, TNode* parent, double g) {
        nodes.push_back(std::make_unique<TNode>(TNode{x, y, parent, 0, g, distance(x, y)}));
        nodes.back()->F = g + nodes.back()->H;
        return nodes.back().get();
    };
    insert(make(from.first, from.second, nullptr, 1.0));
    TNode* target = nullptr;
    int expanded = 0;
    while (!open.empty() && expanded < 99) {
        TNode* n = open.front();
        open.erase(open.begin());
        ++expanded;
        if (n->X == to.first && n->Y == to.second) {
            closed.push_back(n);
            target = n;
            break;
        }
        for (int32_t x = n->X - 1; x <= n->X + 1; ++x)
            for (int32_t y = n->Y - 1; y <= n->Y + 1; ++y) {
                if ((x == n->X && y == n->Y) || x < 1 || x > 200 || y < 1 || y > 200) continue;
                if (find(closed, x, y)) continue;
                const double g = n->G + 1.0 + (blocked(x, y) ? 1000.0 : 0.0);
                if (TNode* o = find(open, x, y)) {
                    if (o->H + g < o->F) {
                        o->Parent = n;
                        o->G = g;
                        o->H = distance(x, y);
                        o->F = o->G + o->H;
                    }
                } else {
                    insert(make(x, y, n, g));
                }
            }
        closed.push_back(n);
    }
    if (!target) {
        target = closed.front();
        for (TNode* c : closed)
            if (c->H < target->H) target = c;
    }
    for (TNode* n = target; n->Parent; n = n->Parent)
        if (n->Parent->X == from.first && n->Parent->Y == from.second) return TSquare{n->X, n->Y};
    return std::nullopt;
}

class PathFindReference : public TMap_Fixture {
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
};

TEST_F(PathFindReference, TheSameFirstStepOnEveryBoard) {
    constexpr int Boards = 3000;
    // Boards in the open, and against each corner of the map, where the edges bound the search.
    const TSquare centres[] = {{100, 100}, {4, 4}, {197, 197}, {4, 197}, {197, 4}};
    Seed_Random(12345);
    int compared = 0, with_a_step = 0;
    for (int board = 0; board < Boards; ++board) {
        const TSquare centre = centres[board % 5];
        const bool danger = board % 7 != 0;
        Game_Options()->Flag_4 = danger;
        const auto near = [&](int32_t c) { return std::clamp(c + Random_Range(-9, 9), 1, 200); };
        std::set<TSquare> walls, creatures, missiles;
        const int wall_percent = Random_Range(0, 45);
        for (int32_t x = centre.first - 12; x <= centre.first + 12; ++x)
            for (int32_t y = centre.second - 12; y <= centre.second + 12; ++y) {
                if (x < 1 || x > 200 || y < 1 || y > 200) continue;
                const int32_t roll = Random_Range(1, 100);
                if (roll <= wall_percent)
                    walls.insert({x, y});
                else if (roll <= wall_percent + 4)
                    creatures.insert({x, y});
                else if (roll <= wall_percent + 6)
                    missiles.insert({x, y});
            }
        const TSquare from = {near(centre.first), near(centre.second)};
        const TSquare to = Random_Range(1, 4) == 1 ? from : TSquare{near(centre.first), near(centre.second)};
        for (const TSquare& w : walls) Set_Terrain(w.first, w.second, Wall);
        std::vector<uint16_t> placed;
        for (const TSquare& c : creatures) placed.push_back(Add_Creature(c.first, c.second)->Id);
        Set_Missile_Query([&missiles](int32_t x, int32_t y) { return missiles.count({x, y}) > 0; });

        const auto blocked = [&](int32_t x, int32_t y) {
            return danger && (walls.count({x, y}) || creatures.count({x, y}) || missiles.count({x, y}));
        };
        const std::optional<TSquare> expected = Reference_Step(from, to, blocked);
        const std::optional<TSquare_Position> step =
            Find_Path({from.first, from.second}, {to.first, to.second}, Movement_Land);
        const std::optional<TSquare> got =
            step ? std::optional<TSquare>(TSquare{step->X, step->Y}) : std::nullopt;
        EXPECT_EQ(got, expected) << "board " << board << " from " << from.first << "," << from.second
                                 << " to " << to.first << "," << to.second;
        ++compared;
        with_a_step += expected.has_value();

        for (const TSquare& w : walls) Set_Terrain(w.first, w.second, Floor);
        for (const uint16_t id : placed) Map->Remove_Monster(id);
        Map->End_Tick();
    }
    // Most boards give a step; some give none (the start is the goal, or nothing explored is nearer).
    EXPECT_EQ(compared, Boards);
    EXPECT_GT(with_a_step, Boards / 2);
    EXPECT_LT(with_a_step, Boards);
}

} // namespace
