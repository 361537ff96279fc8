#include "core/PathFind.h"

#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

TMissile_Query& Missile_Query() {
    static TMissile_Query query;
    return query;
}

bool Danger_Cost_On() {
    const TGame_Options* options = Game_Options();
    return options ? options->Flag_4 : TGame_Options().Flag_4;
}

// Left uninitialised: the arena is as large as a search can grow, and a call fills only what it uses.
struct TSearch_Node {
    int32_t X, Y;
    int32_t Parent; // arena index of the node it was reached from; -1 for the start
    double F;       // G + H, the open list's key
    double G;       // 1 at the start, + 1 + the move penalty per step
    double H;       // straight-line distance to the goal
    bool Closed;
};

constexpr int32_t Max_Search_Nodes = Max_Search_Expansions * 8 + 1;

// One call's search. The nodes live in an arena and the lists hold arena indices. The open list is kept
// by linear insertion before the first greater F, and a node whose cost improves keeps its place, so the
// list is not always sorted and the first open node need not be the cheapest; the steps creatures take
// depend on exactly this order, so no heap or other ordering may stand in for it.
class TPath_Search {
public:
    TPath_Search(TSquare_Position from, TSquare_Position to, uint8_t movement_flags)
        : From_(from), To_(to), Movement_Flags_(movement_flags) {}

    std::optional<TSquare_Position> Run() {
        Insert_Search_Node(New_Node(From_.X, From_.Y, -1, 1.0));
        int32_t target = -1;
        int32_t expanded = 0;
        while (Open_Head_ < Open_Count_ && expanded < Max_Search_Expansions) {
            const int32_t n = Open_[Open_Head_++];
            ++expanded;
            if (Nodes_[n].X == To_.X && Nodes_[n].Y == To_.Y) {
                Close(n);
                target = n;
                break;
            }
            Expand(n);
            Close(n);
        }
        if (target < 0) target = Nearest_Closed_Node();
        return First_Step(target);
    }

private:
    int32_t New_Node(int32_t x, int32_t y, int32_t parent, double g) {
        TSearch_Node& node = Nodes_[Node_Count_];
        node.X = x;
        node.Y = y;
        node.Parent = parent;
        node.G = g;
        node.H = Distance_Between(x, y, To_.X, To_.Y);
        node.F = node.G + node.H;
        node.Closed = false;
        // The start may lie off the map; only squares inside it are ever looked up.
        if (x >= 1 && x <= Map_Width && y >= 1 && y <= Map_Height)
            Node_At_[Grid_Index(x, y)] = static_cast<uint16_t>(Node_Count_ + 1);
        return Node_Count_++;
    }

    void Close(int32_t n) {
        Nodes_[n].Closed = true;
        Closed_[Closed_Count_++] = n;
    }

    // Before the first open node whose F is greater, so among equal keys the newcomer goes last.
    void Insert_Search_Node(int32_t n) {
        const double f = Nodes_[n].F;
        int32_t at = Open_Head_;
        while (at < Open_Count_ && !(Nodes_[Open_[at]].F > f)) ++at;
        std::copy_backward(Open_.begin() + at, Open_.begin() + Open_Count_, Open_.begin() + Open_Count_ + 1);
        Open_[at] = n;
        ++Open_Count_;
    }

    // The arena index of the node at x, y, open or closed; -1 when none. A square is given at most one node:
    // it is only added when it is in neither list, and a node only moves from the open list to the closed
    // one. So this answers what a walk along each list would.
    int32_t Find_Search_Node(int32_t x, int32_t y) const { return Node_At_[Grid_Index(x, y)] - 1; }
    static int32_t Grid_Index(int32_t x, int32_t y) { return (x - 1) * Map_Height + (y - 1); }

    void Expand(int32_t n) {
        const int32_t nx = Nodes_[n].X, ny = Nodes_[n].Y;
        for (int32_t x = nx - 1; x <= nx + 1; ++x)
            for (int32_t y = ny - 1; y <= ny + 1; ++y) {
                if ((x == nx && y == ny) || x < 1 || x > Map_Width || y < 1 || y > Map_Height) continue;
                const int32_t open = Find_Search_Node(x, y);
                if (open >= 0 && Nodes_[open].Closed) continue;
                const double g = Nodes_[n].G + 1.0 + Get_Move_Penalty(x, y, Movement_Flags_);
                if (open < 0) {
                    Insert_Search_Node(New_Node(x, y, n, g));
                    continue;
                }
                TSearch_Node& o = Nodes_[open];
                if (o.H + g < o.F) {
                    o.Parent = n;
                    o.G = g;
                    o.H = Distance_Between(x, y, To_.X, To_.Y);
                    o.F = o.G + o.H;
                }
            }
    }

    // The first closed node with the smallest distance to the goal.
    int32_t Nearest_Closed_Node() const {
        int32_t best = Closed_[0];
        for (int32_t i = 1; i < Closed_Count_; ++i)
            if (Nodes_[Closed_[i]].H < Nodes_[best].H) best = Closed_[i];
        return best;
    }

    // Follows the parents back to the node reached from the start square.
    std::optional<TSquare_Position> First_Step(int32_t target) const {
        for (int32_t n = target; Nodes_[n].Parent >= 0; n = Nodes_[n].Parent) {
            const TSearch_Node& parent = Nodes_[Nodes_[n].Parent];
            if (parent.X == From_.X && parent.Y == From_.Y) return TSquare_Position{Nodes_[n].X, Nodes_[n].Y};
        }
        return std::nullopt;
    }

    TSquare_Position From_, To_;
    uint8_t Movement_Flags_;
    std::array<TSearch_Node, Max_Search_Nodes> Nodes_;
    int32_t Node_Count_ = 0;
    // Every node enters the open list once, so the taken ones stay below Open_Head_ and the array never
    // needs more room than the arena.
    std::array<int32_t, Max_Search_Nodes> Open_;
    int32_t Open_Head_ = 0, Open_Count_ = 0;
    std::array<int32_t, Max_Search_Expansions> Closed_;
    int32_t Closed_Count_ = 0;
    // Which node each square of the map has (arena index + 1; 0 for none), so the lists need not be walked
    // for every neighbour.
    std::array<uint16_t, Map_Width * Map_Height> Node_At_{};
};

} // namespace

void Set_Missile_Query(TMissile_Query query) {
    Missile_Query() = std::move(query);
}

double Get_Move_Penalty(int32_t x, int32_t y, uint8_t movement_flags) {
    if (!Danger_Cost_On()) return 0.0;
    const TMap* map = Current_Map();
    const TMap_Square* square = map ? map->Get_Square(x, y) : nullptr;
    const bool free = square && square->Is_Free(movement_flags);
    const TMissile_Query& missile = Missile_Query();
    return !free || (missile && missile(x, y)) ? Blocked_Move_Penalty : 0.0;
}

std::optional<TSquare_Position> Find_Path(TSquare_Position from, TSquare_Position to,
                                          uint8_t movement_flags) {
    TPath_Search search(from, to, movement_flags);
    return search.Run();
}
