// Path finding: the square a creature steps to next on its way to a goal square of the current map. A
// bounded best-first search with eight-way moves; only the first step is returned, so every move asks
// again and the path follows creatures and missiles that move meanwhile. The search stops after a fixed
// number of expansions and then heads for the explored square nearest to the goal.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// A square of the map, x before y.
struct TSquare_Position {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TSquare_Position&) const = default;
};

// Nodes taken off the open list in one search; with eight neighbours each this bounds the nodes of a
// call to 99 x 8 + 1.
constexpr int32_t Max_Search_Expansions = 99;
// Added to a step onto a square that is blocked or under a missile. Such a square stays in the search:
// the goal usually holds the creature that is sought, and a creature walled in must still be given a way.
constexpr double Blocked_Move_Penalty = 1000.0;

// Whether a missile in flight is over the square. The effect-sprite list installs it; while none is
// installed (or it is emptied) no square holds a missile.
using TMissile_Query = std::function<bool(int32_t x, int32_t y)>;
void Set_Missile_Query(TMissile_Query query);

// Blocked_Move_Penalty when the game options' Flag_4 is set (it is while no options exist) and the square
// is not free for any of the movement flags (its terrain refuses them all, it has no terrain or lies off
// the map, or a creature stands on it) or a missile is over it; else 0. With Flag_4 off every square costs
// the same, so creatures walk into walls and their step is refused.
double Get_Move_Penalty(int32_t x, int32_t y, uint8_t movement_flags);

// The first step from one square toward the other for a creature with the movement flags, on the current
// map. Every step costs 1, diagonals too, and corners can be cut. Nothing when no step can be given: the
// start is the goal, or the search ended with no explored square nearer the goal than the start (an
// occupied goal orthogonally next to the start, with Flag_4 on, gives nothing this way).
std::optional<TSquare_Position> Find_Path(TSquare_Position from, TSquare_Position to, uint8_t movement_flags);
