#include "core/PathFind.h"

#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Monster.h"

#include <algorithm>
#include <array>
#include <memory>
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

// The missile query when one is set; null otherwise.
const TMissile_Query* Active_Missile_Query() {
    return Missile_Query() ? &Missile_Query() : nullptr;
}

// The move penalty of square x, y of the map: none while the danger cost is off; the blocked penalty for a
// square off the map, one the movement kind cannot enter or a creature holds, and one a missile is flying
// over. A search asks it for every square it reaches, so it is inline, and the square's test is
// TMap::Is_Free_Here's written out here: calling that function in its own unit costs a search about 2 %.
inline double Move_Penalty(bool danger_cost, const TMap* map, const TMissile_Query* missile, int32_t x,
                           int32_t y, uint8_t movement_flags) {
    if (!danger_cost) return 0.0;
    const TMap_Square* square = map ? map->Get_Square(x, y) : nullptr;
    bool free = false;
    if (square) {
        const TTerrain* terrain = map->Terrain_List.Terrain(square->Terrain_Id);
        free = terrain && terrain->Allows_Movement(movement_flags) &&
               (square->Monster_Id == 0 || !map->Monster_List.Get_Monster(square->Monster_Id));
    }
    return !free || (missile && (*missile)(x, y)) ? Blocked_Move_Penalty : 0.0;
}

// Left uninitialised: the arena is as large as a search can grow, and a call fills only what it uses.
struct TSearch_Node {
    int32_t X, Y;
    int32_t Parent; // arena index of the node it was reached from; -1 for the start
    double F;       // G + H, the open list's key
    double G;       // 1 at the start, + 1 + the move penalty per step
    double H;       // straight-line distance to the goal
    double Penalty; // the move penalty of its square, asked once: nothing changes during a search
    bool Closed;
};

constexpr int32_t Max_Search_Nodes = Max_Search_Expansions * 8 + 1;
constexpr int32_t Map_Squares = Map_Width * Map_Height;

// Which node each square of the map has in the current search. Every search runs once per step of every
// moving creature, so instead of clearing 40 000 entries for each one, an entry counts only when its stamp
// is the current search's.
struct TSquare_Marks {
    std::array<uint32_t, Map_Squares> Stamp{};
    std::array<uint16_t, Map_Squares> Node{}; // arena index
    uint32_t Current = 0;

    void Start_Search() {
        if (++Current == 0) { // after 2^32 searches the old stamps could come round again
            Stamp.fill(0);
            Current = 1;
        }
    }
};

TSquare_Marks& Square_Marks() {
    thread_local const std::unique_ptr<TSquare_Marks> marks = std::make_unique<TSquare_Marks>();
    return *marks;
}

// The open list of one search: arena indices in list order, each with its key F. Insertion goes before the
// first node whose key is greater, so among equal keys the newcomer goes last; a node whose key goes down
// keeps its place; the search takes the first node. This is one flat list as far as any caller can tell.
// It is stored in short chunks, each knowing its largest key: an insertion looks at those keys and then
// walks and shifts one chunk, where a flat list of up to 793 nodes would be walked and shifted end to end,
// in a search that runs for every step of every moving creature.
class TOpen_List {
public:
    bool Empty() const { return Order_Count_ == 0; }

    int32_t Take_First() {
        TChunk& chunk = Chunks_[Order_[0]];
        const TEntry first = chunk.Entry[chunk.Start];
        ++chunk.Start;
        if (--chunk.Count == 0) {
            Free_[Free_Count_++] = Order_[0];
            for (int32_t o = 1; o < Order_Count_; ++o) Order_[o - 1] = Order_[o];
            --Order_Count_;
        } else if (first.F == chunk.Max) {
            Find_Max(chunk);
        }
        return first.Node;
    }

    void Insert(int32_t node, double f) {
        // The search mostly reaches squares farther from its start, whose keys are the largest yet: those
        // go behind every node without a look at the chunks.
        if (Order_Count_ > 0 && f < Max_Bound_) {
            for (int32_t o = 0; o < Order_Count_; ++o) {
                const TChunk& chunk = Chunks_[Order_[o]];
                if (!(chunk.Max > f)) continue;
                int32_t at = chunk.Start;
                while (!(chunk.Entry[at].F > f)) ++at;
                Insert_At(o, at - chunk.Start, node, f);
                return;
            }
        }
        Max_Bound_ = Order_Count_ > 0 ? std::max(Max_Bound_, f) : f;
        // Behind every node: at the end of the last chunk, or of a new one when that is full.
        if (Order_Count_ == 0 || Chunks_[Order_[Order_Count_ - 1]].Count == Chunk_Size) {
            const int32_t c = New_Chunk();
            Order_[Order_Count_++] = c;
        }
        Insert_At(Order_Count_ - 1, Chunks_[Order_[Order_Count_ - 1]].Count, node, f);
    }

    void Lower_Key(int32_t node, double f) {
        TChunk& chunk = Chunks_[Chunk_Of_[node]];
        int32_t at = chunk.Start;
        while (chunk.Entry[at].Node != node) ++at;
        const double old = chunk.Entry[at].F;
        chunk.Entry[at].F = f;
        if (old == chunk.Max) Find_Max(chunk);
    }

private:
    static constexpr int32_t Chunk_Size = 16;
    // Every chunk but the first (which the search empties from the front) and the last holds at least half
    // of Chunk_Size nodes, and emptied chunks are used again.
    static constexpr int32_t Max_Chunks = Max_Search_Nodes / (Chunk_Size / 2) + 3;

    struct TEntry {
        double F;
        int32_t Node;
    };
    // Left uninitialised like the arena: only the Count entries from Start mean anything. Taking the
    // first node moves Start instead of the entries.
    struct TChunk {
        int32_t Start;
        int32_t Count;
        double Max; // the largest key; meaningless while Count is 0
        TEntry Entry[Chunk_Size];
    };

    int32_t New_Chunk() {
        const int32_t c = Free_Count_ > 0 ? Free_[--Free_Count_] : Chunks_Used_++;
        Chunks_[c].Start = 0;
        Chunks_[c].Count = 0;
        return c;
    }

    static void Find_Max(TChunk& chunk) {
        chunk.Max = chunk.Entry[chunk.Start].F;
        for (int32_t i = chunk.Start + 1; i < chunk.Start + chunk.Count; ++i)
            chunk.Max = std::max(chunk.Max, chunk.Entry[i].F);
    }

    // Inserts at position at (from the chunk's first node) of the chunk in list position o. A full chunk
    // is split in two halves first; a chunk whose entries reach the end of its room moves them to the front.
    void Insert_At(int32_t o, int32_t at, int32_t node, double f) {
        int32_t c = Order_[o];
        if (Chunks_[c].Count == Chunk_Size) {
            const int32_t upper = New_Chunk();
            TChunk& lower_half = Chunks_[c];
            TChunk& upper_half = Chunks_[upper];
            constexpr int32_t Half = Chunk_Size / 2;
            for (int32_t i = 0; i < Half; ++i) {
                upper_half.Entry[i] = lower_half.Entry[Half + i];
                Chunk_Of_[upper_half.Entry[i].Node] = static_cast<int16_t>(upper);
            }
            lower_half.Count = upper_half.Count = Half;
            Find_Max(lower_half);
            Find_Max(upper_half);
            for (int32_t i = Order_Count_; i > o + 1; --i) Order_[i] = Order_[i - 1];
            Order_[o + 1] = upper;
            ++Order_Count_;
            if (at >= Half) {
                c = upper;
                at -= Half;
            }
        }
        TChunk& chunk = Chunks_[c];
        if (chunk.Start + chunk.Count == Chunk_Size) {
            for (int32_t i = 0; i < chunk.Count; ++i) chunk.Entry[i] = chunk.Entry[chunk.Start + i];
            chunk.Start = 0;
        }
        const int32_t place = chunk.Start + at;
        for (int32_t i = chunk.Start + chunk.Count; i > place; --i) chunk.Entry[i] = chunk.Entry[i - 1];
        chunk.Entry[place] = {f, node};
        chunk.Max = chunk.Count == 0 ? f : std::max(chunk.Max, f);
        ++chunk.Count;
        Chunk_Of_[node] = static_cast<int16_t>(c);
    }

    std::array<TChunk, Max_Chunks> Chunks_;
    int32_t Chunks_Used_ = 0;
    // No key in the list is above it: it rises with every insertion and stays when keys go down or leave.
    double Max_Bound_ = 0;
    std::array<int32_t, Max_Chunks> Order_; // the chunks in list order
    int32_t Order_Count_ = 0;
    std::array<int32_t, Max_Chunks> Free_;
    int32_t Free_Count_ = 0;
    std::array<int16_t, Max_Search_Nodes> Chunk_Of_; // the chunk each open node is in
};

// One call's search. The nodes live in an arena and the lists hold arena indices. The open list is kept
// by linear insertion before the first greater F, and a node whose cost improves keeps its place, so the
// list is not always sorted and the first open node need not be the cheapest; the steps creatures take
// depend on exactly this order, so no heap or other ordering may stand in for it.
class TPath_Search {
public:
    TPath_Search(TSquare_Position from, TSquare_Position to, uint8_t movement_flags)
        : From_(from), To_(to), Movement_Flags_(movement_flags), Marks_(Square_Marks()),
          Danger_Cost_(Danger_Cost_On()), Map_(Current_Map()), Missile_(Active_Missile_Query()) {
        Marks_.Start_Search();
    }

    std::optional<TSquare_Position> Run() {
        Insert_Search_Node(New_Node(From_.X, From_.Y, -1, 1.0, 0.0));
        int32_t target = -1;
        int32_t expanded = 0;
        while (!Open_.Empty() && expanded < Max_Search_Expansions) {
            const int32_t n = Open_.Take_First();
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
    int32_t New_Node(int32_t x, int32_t y, int32_t parent, double g, double penalty) {
        TSearch_Node& node = Nodes_[Node_Count_];
        node.X = x;
        node.Y = y;
        node.Parent = parent;
        node.G = g;
        node.H = Distance_Between(x, y, To_.X, To_.Y);
        node.F = node.G + node.H;
        node.Penalty = penalty;
        node.Closed = false;
        // The start may lie off the map; only squares inside it are ever looked up.
        if (x >= 1 && x <= Map_Width && y >= 1 && y <= Map_Height) {
            const int32_t index = Grid_Index(x, y);
            Marks_.Stamp[index] = Marks_.Current;
            Marks_.Node[index] = static_cast<uint16_t>(Node_Count_);
        }
        return Node_Count_++;
    }

    void Close(int32_t n) {
        Nodes_[n].Closed = true;
        Closed_[Closed_Count_++] = n;
    }

    void Insert_Search_Node(int32_t n) { Open_.Insert(n, Nodes_[n].F); }

    // The arena index of the node at x, y, open or closed; -1 when none. A square is given at most one node:
    // it is only added when it is in neither list, and a node only moves from the open list to the closed
    // one. So this answers what a walk along each list would.
    int32_t Find_Search_Node(int32_t x, int32_t y) const {
        const int32_t index = Grid_Index(x, y);
        return Marks_.Stamp[index] == Marks_.Current ? Marks_.Node[index] : -1;
    }
    static int32_t Grid_Index(int32_t x, int32_t y) { return (x - 1) * Map_Height + (y - 1); }

    // What Get_Move_Penalty answers, with the options, the map and the missile query looked up once.
    double Penalty_At(int32_t x, int32_t y) const {
        return Move_Penalty(Danger_Cost_, Map_, Missile_, x, y, Movement_Flags_);
    }

    void Expand(int32_t n) {
        const int32_t nx = Nodes_[n].X, ny = Nodes_[n].Y;
        for (int32_t x = nx - 1; x <= nx + 1; ++x)
            for (int32_t y = ny - 1; y <= ny + 1; ++y) {
                if ((x == nx && y == ny) || x < 1 || x > Map_Width || y < 1 || y > Map_Height) continue;
                const int32_t open = Find_Search_Node(x, y);
                if (open >= 0 && Nodes_[open].Closed) continue;
                if (open < 0) {
                    const double penalty = Penalty_At(x, y);
                    Insert_Search_Node(New_Node(x, y, n, Nodes_[n].G + 1.0 + penalty, penalty));
                    continue;
                }
                TSearch_Node& o = Nodes_[open];
                const double g = Nodes_[n].G + 1.0 + o.Penalty;
                if (o.H + g < o.F) {
                    o.Parent = n;
                    o.G = g;
                    o.F = o.G + o.H;
                    Open_.Lower_Key(open, o.F);
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
    TSquare_Marks& Marks_;
    const bool Danger_Cost_;
    const TMap* Map_;
    const TMissile_Query* Missile_;
    std::array<TSearch_Node, Max_Search_Nodes> Nodes_;
    int32_t Node_Count_ = 0;
    TOpen_List Open_;
    std::array<int32_t, Max_Search_Expansions> Closed_;
    int32_t Closed_Count_ = 0;
};

} // namespace

void Set_Missile_Query(TMissile_Query query) {
    Missile_Query() = std::move(query);
}

double Get_Move_Penalty(int32_t x, int32_t y, uint8_t movement_flags) {
    return Move_Penalty(Danger_Cost_On(), Current_Map(), Active_Missile_Query(), x, y, movement_flags);
}

std::optional<TSquare_Position> Find_Path(TSquare_Position from, TSquare_Position to,
                                          uint8_t movement_flags) {
    TPath_Search search(from, to, movement_flags);
    return search.Run();
}
