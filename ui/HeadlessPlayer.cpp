#include "ui/HeadlessPlayer.h"

#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Terrain.h"
#include "ui/DCMainScreen.h"
#include "ui/DlgMain.h"
#include "ui/HeadlessGame.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

namespace {

// A leg of a walk ends this many squares along the route at the most: further squares may be out of the
// view, and the game's path finding gives up on long detours.
constexpr size_t Leg_Length = 6;
// Limits that turn a script that cannot reach its goal into an error instead of an endless run.
constexpr int32_t Max_Legs = 400;
constexpr int32_t Max_Blows = 300;
constexpr int32_t Max_Stuck_Legs = 30;

std::string Joined(const std::vector<std::string>& words, size_t from) {
    std::string text;
    for (size_t i = from; i < words.size(); ++i) text += (i > from ? " " : "") + words[i];
    return text;
}

bool Whole_Number(const std::string& word, int32_t& value) {
    char* end = nullptr;
    const long n = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || !end || *end != 0 || n < 0 || n > 1000) return false;
    value = static_cast<int32_t>(n);
    return true;
}

TDC_Main_Screen* Screen(HeadlessGame& game) {
    return game.window() ? dynamic_cast<TDC_Main_Screen*>(game.window()->Get_Main_Window()) : nullptr;
}

// A door that an action opens; a locked one is tried with the keys carried, picked or bashed in.
bool Is_Closed_Door(const TMap& map, const TMap_Square& square) {
    const TTerrain* terrain = map.Terrain_Of(square);
    return terrain && !terrain->Allows_Movement(Movement_Land) && terrain->Next_Terrain_Action == Action_Open;
}

// The route from the player's square to the goal over the terrain (creatures are ignored: they move),
// through closed doors (locked ones only when through_locked), around entrances other than the goal. Empty
// when there is none; else the squares after the start, the goal last.
std::vector<std::pair<int32_t, int32_t>> Route(const TMap& map, int32_t from_x, int32_t from_y, int32_t to_x,
                                               int32_t to_y, bool through_locked) {
    const auto index = [](int32_t x, int32_t y) { return (x - 1) * Map_Height + (y - 1); };
    std::vector<int32_t> came_from(Map_Width * Map_Height, -1);
    std::deque<std::pair<int32_t, int32_t>> open{{from_x, from_y}};
    came_from[index(from_x, from_y)] = index(from_x, from_y);
    while (!open.empty()) {
        const auto [x, y] = open.front();
        open.pop_front();
        if (x == to_x && y == to_y) break;
        for (int32_t dx = -1; dx <= 1; ++dx) {
            for (int32_t dy = -1; dy <= 1; ++dy) {
                const int32_t nx = x + dx, ny = y + dy;
                const TMap_Square* square = map.Get_Square(nx, ny);
                if (!square || came_from[index(nx, ny)] >= 0) continue;
                const bool goal = nx == to_x && ny == to_y;
                const TTerrain* terrain = map.Terrain_Of(*square);
                const bool passable =
                    terrain && (terrain->Allows_Movement(Movement_Land) ||
                                (Is_Closed_Door(map, *square) && (through_locked || !square->Is_Locked())));
                if (!goal && (!passable || square->Is_Entrance())) continue;
                came_from[index(nx, ny)] = index(x, y);
                open.emplace_back(nx, ny);
            }
        }
    }
    std::vector<std::pair<int32_t, int32_t>> route;
    if (came_from[index(to_x, to_y)] < 0) return route;
    for (int32_t at = index(to_x, to_y); at != index(from_x, from_y); at = came_from[at])
        route.emplace_back(at / Map_Height + 1, at % Map_Height + 1);
    std::reverse(route.begin(), route.end());
    return route;
}

} // namespace

bool Parse_Play_Target(const std::vector<std::string>& words, TPlay_Target& target) {
    if (words.empty()) return false;
    target = TPlay_Target();
    const std::string& kind = words[0];
    if ((kind == "creature" || kind == "item") && words.size() >= 2) {
        target.Kind = kind == "creature" ? TPlay_Target::Creature : TPlay_Target::Item;
        target.Name = Joined(words, 1);
        return true;
    }
    if (kind == "chest" && words.size() == 1) {
        target.Kind = TPlay_Target::Chest;
        return true;
    }
    if (kind == "entrance" && words.size() <= 2) {
        target.Kind = TPlay_Target::Entrance;
        return words.size() == 1 || (Whole_Number(words[1], target.Number) && target.Number >= 1);
    }
    if (kind == "square" && words.size() == 3) {
        target.Kind = TPlay_Target::Square;
        return Whole_Number(words[1], target.X) && Whole_Number(words[2], target.Y);
    }
    return false;
}

bool THeadless_Player::Player_Alive() const {
    return Player() != nullptr && Current_Map() != nullptr;
}

bool THeadless_Player::Locate(const TPlay_Target& target, int32_t& x, int32_t& y) const {
    TMap* map = Current_Map();
    const TMonster* player = Player();
    if (!map || !player) return false;
    int32_t best = -1;
    const auto consider = [&](int32_t cx, int32_t cy) {
        const int32_t range = TMap::Get_Range(player->X, player->Y, cx, cy);
        if (best >= 0 && range >= best) return;
        best = range;
        x = cx;
        y = cy;
    };
    switch (target.Kind) {
    case TPlay_Target::Creature:
        for (int32_t id = 1; id <= map->Monster_List.Get_Count(); ++id) {
            const TMonster* creature = map->Monster_List.Get_Monster(id);
            if (creature && creature != player && creature->Name == target.Name)
                consider(creature->X, creature->Y);
        }
        break;
    case TPlay_Target::Chest:
        // A chest that holds something, else any square that opens the chest window.
        for (int32_t n = 1; n <= map->Chest_Count(); ++n) {
            const int32_t cx = map->Chest_Xs().Get(n), cy = map->Chest_Ys().Get(n);
            const TWordList* items = map->Get_Chest(cx, cy);
            if (items && items->Count() > 0) consider(cx, cy);
        }
        if (best < 0) {
            for (int32_t cx = 1; cx <= Map_Width; ++cx)
                for (int32_t cy = 1; cy <= Map_Height; ++cy)
                    if (map->Get_Square(cx, cy)->Shows_Chest_Window()) consider(cx, cy);
        }
        break;
    case TPlay_Target::Item:
        for (int32_t cx = 1; cx <= Map_Width; ++cx) {
            for (int32_t cy = 1; cy <= Map_Height; ++cy) {
                const TMap_Square& square = *map->Get_Square(cx, cy);
                bool found = false;
                if (const TItem_Collection* pile = square.Get_Pile()) {
                    for (int32_t i = 1; i <= pile->Count() && !found; ++i)
                        found = pile->Item(i) && pile->Item(i)->Name == target.Name;
                } else if (!square.Is_Pile() && square.Item_Field != 0) {
                    const TItem* item = map->Item_List.Item(square.Item_Field);
                    found = item && item->Name == target.Name;
                }
                if (found) consider(cx, cy);
            }
        }
        break;
    case TPlay_Target::Entrance: {
        if (target.Number == 0) {
            for (int32_t cx = 1; cx <= Map_Width; ++cx)
                for (int32_t cy = 1; cy <= Map_Height; ++cy)
                    if (map->Get_Square(cx, cy)->Is_Entrance() && (cx != player->X || cy != player->Y))
                        consider(cx, cy);
            break;
        }
        TModule* module = Module();
        TModule_Map* module_map = module ? module->Get_Map(module->Current_Map) : nullptr;
        const TModule_Map_Connection* connection =
            module_map ? module_map->Get_Connection(target.Number) : nullptr;
        if (connection) consider(connection->Entrance_X, connection->Entrance_Y);
        break;
    }
    case TPlay_Target::Square:
        if (map->Get_Square(target.X, target.Y)) consider(target.X, target.Y);
        break;
    }
    return best >= 0;
}

bool THeadless_Player::Click_Square(int32_t x, int32_t y, int32_t button) {
    TDC_Main_Screen* screen = Screen(Game_);
    int32_t sx = 0, sy = 0;
    if (!screen || !screen->Tick().Map_To_Screen(x, y, sx, sy)) return false;
    Game_.click(sx, sy, button);
    return true;
}

void THeadless_Player::Run_Walk(int64_t ms) {
    TDC_Main_Screen* screen = Screen(Game_);
    for (int64_t passed = 0; passed < ms && screen && !Game_.closed(); passed += 100) {
        Game_.run(100);
        if (!Player_Alive() || screen->Is_Paused()) return;
        if (screen->Tick().Pending_Command == Command_None) return;
    }
}

void THeadless_Player::Attack_Until_Gone(int32_t x, int32_t y, uint16_t id) {
    for (int32_t blow = 0; blow < Max_Blows && Player_Alive(); ++blow) {
        const TMap_Square* square = Current_Map()->Get_Square(x, y);
        if (!square || square->Monster_Id != id) return;
        if (TDC_Main_Screen* screen = Screen(Game_); !screen || screen->Is_Paused()) return;
        if (!Click_Square(x, y, 1)) return;
        Game_.run(250);
    }
}

bool THeadless_Player::Fight_Neighbour() {
    const TMonster* player = Player();
    TMap* map = Current_Map();
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            const TMap_Square* square = map->Get_Square(player->X + dx, player->Y + dy);
            const TMonster* creature = square ? square->Get_Monster() : nullptr;
            if (!creature || creature == player || !creature->Does_Attack) continue;
            Attack_Until_Gone(creature->X, creature->Y, creature->Id);
            return true;
        }
    }
    return false;
}

bool THeadless_Player::Approach(const TPlay_Target& target, std::string& error) {
    const bool onto = target.Kind == TPlay_Target::Entrance || target.Kind == TPlay_Target::Square;
    TModule* module = Module();
    const uint16_t start_map = module ? module->Current_Map : 0;
    int32_t stuck = 0;
    for (int32_t leg = 0; leg < Max_Legs; ++leg) {
        if (!Player_Alive() || Game_.closed()) return true;
        if (target.Kind == TPlay_Target::Entrance && Module() && Module()->Current_Map != start_map)
            return true;
        int32_t x = 0, y = 0;
        if (!Locate(target, x, y)) {
            error = "nothing of that kind on the map";
            return false;
        }
        const TMonster* player = Player();
        const int32_t range = TMap::Get_Range(player->X, player->Y, x, y);
        if (onto ? range == 0 : range <= 1) return true;
        if (TDC_Main_Screen* screen = Screen(Game_); !screen || screen->Is_Paused()) {
            error = "the game is paused";
            return false;
        }
        if (Fight_Neighbour()) continue;
        const int32_t from_x = player->X, from_y = player->Y;
        // A locked door is tried only when no other way leads there.
        std::vector<std::pair<int32_t, int32_t>> route = Route(*Current_Map(), from_x, from_y, x, y, false);
        if (route.empty()) route = Route(*Current_Map(), from_x, from_y, x, y, true);
        if (route.empty()) {
            error = "no way there";
            return false;
        }
        if (!onto) route.pop_back();
        // The leg ends before the first closed door; a door beside the player is opened.
        size_t last = std::min(route.size(), Leg_Length);
        for (size_t k = 0; k < last; ++k) {
            if (Is_Closed_Door(*Current_Map(), *Current_Map()->Get_Square(route[k].first, route[k].second))) {
                last = k;
                break;
            }
        }
        bool acted = false;
        if (last == 0 && !route.empty()) {
            acted = Click_Square(route[0].first, route[0].second, 1);
            if (acted) Game_.run(300);
        }
        for (size_t k = last; k >= 1 && !acted; --k) {
            const auto [wx, wy] = route[k - 1];
            if (!Current_Map()->Is_Free_Here(*Current_Map()->Get_Square(wx, wy), Movement_Land)) continue;
            acted = Click_Square(wx, wy, 0);
            if (acted) Run_Walk(5000);
        }
        if (!acted) Game_.run(300);
        const TMonster* after = Player();
        if (after && after->X == from_x && after->Y == from_y && ++stuck > Max_Stuck_Legs) {
            error = "stuck on the way";
            return false;
        }
    }
    error = "too far";
    return false;
}

bool THeadless_Player::Act(const TPlay_Target& target, std::string& error) {
    // A creature may step away before the player's turn comes: the player follows it and tries again until
    // the action opened a dialog (a talk, a chest) or took the item.
    const bool follow = target.Kind == TPlay_Target::Creature || target.Kind == TPlay_Target::Chest;
    for (int32_t attempt = 0; attempt < 5; ++attempt) {
        if (follow && !Approach(target, error)) return false;
        int32_t x = 0, y = 0;
        if (!Locate(target, x, y)) {
            if (attempt > 0 && target.Kind == TPlay_Target::Item) return true;
            error = "nothing of that kind on the map";
            return false;
        }
        if (!Click_Square(x, y, 1)) {
            error = "not in the view";
            return false;
        }
        // The action waits for the player's next turn.
        Run_Walk(2000);
        TDC_Main_Screen* screen = Screen(Game_);
        if (!Player_Alive() || !screen || screen->Is_Paused() || target.Kind == TPlay_Target::Square ||
            target.Kind == TPlay_Target::Entrance)
            return true;
    }
    if (target.Kind == TPlay_Target::Item) return true;
    error = "the action did nothing";
    return false;
}

bool THeadless_Player::Fight(const TPlay_Target& target, std::string& error) {
    if (target.Kind != TPlay_Target::Creature) {
        error = "only creatures are fought";
        return false;
    }
    for (int32_t round = 0; round < Max_Legs; ++round) {
        int32_t x = 0, y = 0;
        if (!Player_Alive() || !Locate(target, x, y)) return true;
        if (!Approach(target, error)) return false;
        if (!Player_Alive() || !Locate(target, x, y)) return true;
        const TMap_Square* square = Current_Map()->Get_Square(x, y);
        if (TMap::Get_Range(Player()->X, Player()->Y, x, y) <= 1) Attack_Until_Gone(x, y, square->Monster_Id);
    }
    error = "the fight does not end";
    return false;
}
