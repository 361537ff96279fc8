// The creature's tick: timers, regeneration, hunger, lights, statuses and timed effects, and a monster's
// behaviour turn (its strategy, its blows and spells, its steps).

#include "core/Actions.h"
#include "core/Callbacks.h"
#include "core/DataFileParser.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/PathFind.h"
#include "core/Spells.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Beyond this range from the player a monster does nothing in its turn.
constexpr int32_t Max_Active_Range = 30;
// The range Run_AI works with when there is no player.
constexpr int32_t No_Player_Range = 100;
// A growl is heard only this near the player.
constexpr int32_t Growl_Range = 6;
// Ranged hunters close in only while at least this far away, and followers while at least Follow_Range.
constexpr int32_t Ranged_Hunt_Range = 5;
constexpr int32_t Follow_Range = 4;
// The boxes searched for a target: around the player for his followers, around the monster otherwise.
constexpr int32_t Follower_Search_Radius = 4;
constexpr int32_t Hostile_Search_Radius = 6;
// A monster guarding the player keeps up with him whatever its own speed.
constexpr int32_t Player_Guard_Move_Delay = 200;
// Steps stay inside this band, so no behaviour ever addresses a square off the map.
constexpr int32_t Min_Step_Coordinate = 8;
constexpr int32_t Max_Step_Coordinate = 193;
// A monster casts without a mana limit: its mana is set to this before each cast.
constexpr double Monster_Cast_Mana = 1000.0;

constexpr int32_t Regeneration_Interval_Ms = 1000;
constexpr int32_t Light_Interval_Ms = 1000;
constexpr int32_t Hunger_Interval_Ms = 5000;
constexpr int32_t Poison_Interval_Ms = 5000;

// The milliseconds of one tick at the rate (ticks per second). A rate that is not positive lets no time
// pass instead of dividing by zero.
int32_t Tick_Ms(double rate) {
    return rate > 0 ? Trunc_To_Int32(1000.0 / rate) : 0;
}

// The timers run for as long as a creature lives; a timer nothing resets (the poison timer, the move timer
// of a player who never moves) stops at the top instead of wrapping round to a negative value.
void Advance_Timer(int32_t& timer, int32_t ms) {
    timer = Clamp_To_Int32(int64_t{timer} + ms);
}

int32_t Range_Between(const TMonster& a, const TMonster& b) {
    return TMap::Get_Range(a.X, a.Y, b.X, b.Y);
}

// One step along the path toward the goal; nothing when no path step can be given.
void Path_Step(TMonster& creature, int32_t goal_x, int32_t goal_y) {
    const std::optional<TSquare_Position> next =
        Find_Path({creature.X, creature.Y}, {goal_x, goal_y}, creature.Movement_Flags);
    if (!next) return;
    const uint8_t direction = Direction_To(creature.X, creature.Y, next->X, next->Y);
    if (direction != 0) creature.Step(direction);
}

// With a chance of one in `odds`, a step in a random direction.
void Random_Step(TMonster& creature, int32_t odds) {
    if (Random_Range(1, odds) == 1) creature.Step(static_cast<uint8_t>(Random_Range(1, 8)));
}

// The last creature in scanning order (rows from the top, squares from the left) that qualifies in the
// smallest box around x, y (radius 1, 2, ... up to max_radius) that holds one. Every box holds the smaller
// ones, so this is the last qualifying creature in scanning order among those nearest to x, y in king
// moves (the square x, y itself counting as radius 1); one pass over the largest box finds it.
template <typename TQualifies>
TMonster* Search_Boxes(int32_t x, int32_t y, int32_t max_radius, TQualifies&& qualifies) {
    TMap* map = Current_Map();
    if (!map) return nullptr;
    TMonster* found = nullptr;
    int32_t found_radius = max_radius + 1;
    for (int32_t sy = std::max(y - max_radius, 1); sy <= std::min(y + max_radius, Map_Height); ++sy)
        for (int32_t sx = std::max(x - max_radius, 1); sx <= std::min(x + max_radius, Map_Width); ++sx) {
            const TMap_Square* square = map->Get_Square(sx, sy);
            if (square->Monster_Id == 0) continue;
            const int32_t radius = std::max({std::abs(sx - x), std::abs(sy - y), 1});
            if (radius > found_radius) continue;
            TMonster* creature = square->Get_Monster();
            if (!creature || !qualifies(*creature)) continue;
            found = creature;
            found_radius = radius;
        }
    return found;
}

bool Needs_Clear_Line(uint8_t target_type) {
    return target_type == Spell_Target_Monster || target_type == Spell_Target_Location ||
           target_type == Spell_Target_Area;
}

} // namespace

// -------------------------------------------------------------------------------------------------------
// The tick

void TMonster::Update(const TCallback_Set& callbacks, double rate) {
    Check_Not_Released();
    const int32_t tick = Tick_Ms(rate);
    for (int32_t* timer : {&Regen_Timer, &Hunger_Timer, &Move_Timer, &Poison_Timer, &Light_Timer})
        Advance_Timer(*timer, tick);

    if (Is_Monster()) {
        int32_t delay = Move_Delay;
        if (Movement_Strategy == Strategy_Guard_Monster) {
            const TMonster* leader = Creature_By_Id(Leader_Id);
            if (leader && leader == Player()) delay = Player_Guard_Move_Delay;
        }
        if (Move_Timer >= Game_Speed_Scale_Delay(delay)) {
            Take_Turn(callbacks);
            // Damage normally lands later, through a sprite, but a screen handler may deal it at once.
            if (!Still_On_Map(*this)) return;
            Move_Timer = 0;
        }

        // A monster never hungers and never regains mana.
        Hunger_Timer = 0;
        if (Life_Regeneration > 0) {
            if (Game_Speed_Scale_Delay(Regeneration_Interval_Ms) < Regen_Timer) {
                Regenerate_Life();
                Regen_Timer = 0;
            }
        } else {
            Regen_Timer = 0;
        }
    } else {
        if (Game_Speed_Scale_Delay(Hunger_Interval_Ms) < Hunger_Timer) {
            if (Update_Hunger(callbacks)) return;
            Hunger_Timer = 0;
        }
        if (Game_Speed_Scale_Delay(Regeneration_Interval_Ms) < Regen_Timer) {
            Regenerate_Life();
            Regenerate_Mana();
            Regen_Timer = 0;
        }
    }

    if (Game_Speed_Scale_Delay(Light_Interval_Ms) < Light_Timer) {
        Inventory.Burn_Lights();
        Light_Timer = 0;
    }

    if (Update_Status(callbacks, rate)) return;
    Update_Timed_Effects(rate);
    Recalculate_Stats();
}

bool TMonster::Update_Status(const TCallback_Set& callbacks, double rate) {
    Check_Not_Released();
    // The status clock runs on the scaled delay, so at a game speed above 100 % a status lasts more ticks.
    const int32_t decrement = Game_Speed_Scale_Delay(Tick_Ms(rate));
    if (decrement < Status_Ms)
        Status_Ms -= decrement;
    else
        Status_Ms = 0;

    if (Status_Ms <= 0) {
        const uint8_t before = Status;
        Status = Status_Normal;
        Status_Source = 0;
        if (before == Status_Allegiance_Changed) {
            // The converted creature turns on its former leader's side again.
            Leader_Id = 0;
            Movement_Strategy = Strategy_Hunt;
        }
        return false;
    }

    if (Status != Status_Poisoned) return false;
    // The poison timer runs all the time, so the first point may go on the first tick of a poisoning.
    if (!(Game_Speed_Scale_Delay(Poison_Interval_Ms) < Poison_Timer)) return false;
    Poison_Timer = 0;
    Life -= 1;
    if (Life > 0) return false;

    const uint16_t source = Status_Source;
    // The death report names the poisoner when it still stands; otherwise it needs a cause, also when the
    // poisoner has died since, or the player's death screen would show neither.
    const std::string cause = Creature_By_Id(source) ? std::string() : "slow poison";
    Award_Kill(source);
    Die(callbacks, source, cause);
    return true;
}

bool TMonster::Update_Hunger(const TCallback_Set& callbacks) {
    Check_Not_Released();
    if (Food > 0) {
        --Food;
        return false;
    }
    Life -= 1;
    if (Life > 0) return false;
    // Starving pays nobody.
    Die(callbacks, 0, "starving to death");
    return true;
}

void TMonster::Update_Timed_Effects(double rate) {
    Check_Not_Released();
    // Timed effects count down on the scaled-up tick: at a game speed above 100 % they run out in fewer
    // ticks.
    const int64_t decrement = Game_Speed_Scale_Up(Tick_Ms(rate));
    bool deleted = false;
    int32_t n = 1;
    while (n <= Timed_Effect_Ms.Count() && n <= Timed_Effects.Get_Count()) {
        const int64_t left = int64_t{Timed_Effect_Ms.Get(n)} - decrement;
        if (left <= 0) {
            Timed_Effects.Delete_Effect(n);
            Timed_Effect_Ms.Delete(n);
            deleted = true;
            continue; // the next entry has moved into place n
        }
        Timed_Effect_Ms.Put(n, static_cast<int32_t>(left));
        ++n;
    }
    if (deleted) Recalculate_Stats();
}

// -------------------------------------------------------------------------------------------------------
// The behaviour turn

void TMonster::Take_Turn(const TCallback_Set& callbacks) {
    Check_Not_Released();
    const TMonster* player = Player();
    if (!player || Range_Between(*this, *player) > Max_Active_Range) return;
    Run_AI(callbacks);
}

void TMonster::Run_AI(const TCallback_Set& callbacks) {
    const TMonster* player = Player();
    const int32_t player_range = player ? Range_Between(*this, *player) : No_Player_Range;

    // The growl is drawn first, whether or not there is a growl to play.
    if (Random_Range(1, 10) == 1 && !Sound_Growl.empty() && player_range <= Growl_Range)
        Play_Sound(Sound_Growl);

    const auto toward_player = [&] {
        if (player) Path_Step(*this, player->X, player->Y);
    };

    // The behaviour reads neither the status nor When_To_Retreat nor Response_Range: a panicked, blind,
    // paralysed or sleeping monster acts as usual, and none retreats.
    switch (Movement_Strategy) {
    case Strategy_Stay_Put: Random_Step(*this, 5); break;
    case Strategy_Wander_Around: Random_Step(*this, 3); break;
    case Strategy_Patrol:
    case Strategy_Guard:
        if (!Try_Attack_Or_Cast(callbacks)) Step(Direction_To_Player());
        break;
    case Strategy_Hunt:
        if (!Try_Attack_Or_Cast(callbacks)) toward_player();
        break;
    case Strategy_Ranged_Hunt:
        if (!Try_Attack_Or_Cast(callbacks) && player_range >= Ranged_Hunt_Range) toward_player();
        break;
    case Strategy_Keep_Away: Step(Opposite_Direction(Direction_To_Player())); break;
    case Strategy_Follow:
        if (player_range >= Follow_Range) toward_player();
        break;
    case Strategy_Guard_Monster: {
        const TMonster* leader = Creature_By_Id(Leader_Id);
        if (!leader) {
            // A guard whose leader has gone hunts the player.
            if (!Try_Attack_Or_Cast(callbacks)) toward_player();
            break;
        }
        const int32_t leader_range = Range_Between(*this, *leader);
        if (leader_range > Guard_Range) {
            Path_Step(*this, leader->X, leader->Y);
        } else if (Try_Attack_Or_Cast(callbacks)) {
            // It struck; the turn is over.
        } else if (const TMonster* target = Find_Target()) {
            Path_Step(*this, target->X, target->Y);
        } else if (leader_range < 2) {
            // Nothing to fight: it makes room next to its leader.
            Step(Opposite_Direction(Direction_To_Player()));
        }
        break;
    }
    case Strategy_Anchored_3_Squares:
    case Strategy_Anchored_5_Squares:
    case Strategy_Anchored_10_Squares: {
        const int32_t radius = Movement_Strategy == Strategy_Anchored_3_Squares   ? 3
                               : Movement_Strategy == Strategy_Anchored_5_Squares ? 5
                                                                                  : 10;
        if (Home_X == 0 && Home_Y == 0) {
            Home_X = X;
            Home_Y = Y;
        }
        if (TMap::Get_Range(X, Y, Home_X, Home_Y) > radius)
            Path_Step(*this, Home_X, Home_Y);
        else
            Random_Step(*this, 5);
        break;
    }
    default: break; // 0, 1 ("None") and unknown strategies stand still
    }
}

bool TMonster::Try_Attack_Or_Cast(const TCallback_Set& callbacks) {
    TMonster* target = Find_Target();
    const int32_t range = target ? Range_Between(*this, *target) : No_Player_Range;
    if (range <= 1) {
        Melee_Attack(*this, target, target->X, target->Y, callbacks);
        return true;
    }
    if (Spells.Count() == 0 || !target) return false;

    // The spell is picked first, then its cast chance is rolled.
    const int32_t n = Random_Range(1, Spells.Count());
    if (Random_Range(1, 100) > Spells.Cast_Chance(n)) return false;
    const TSpell* spell = Get_Master_Spell(Spells.Spell_Id(n));
    if (spell && Needs_Clear_Line(spell->Target_Type)) {
        const TMap* map = Current_Map();
        if (!map || !map->Is_Line_Clear(X, Y, target->X, target->Y)) return false;
    }
    Mana = Monster_Cast_Mana;
    Cast_Spell(*this, target->X, target->Y, callbacks, n, 0);
    // A cast does not end the turn: the strategy's movement still follows. Only a caster that did not
    // survive its own cast (a screen handler may deal damage at once) stops here, since a step would put
    // it back on a square.
    return !Still_On_Map(*this);
}

TMonster* TMonster::Find_Target() const {
    TMonster* player = Player();
    if (!player) return nullptr;
    const TMonster* leader = Creature_By_Id(Leader_Id);
    const int32_t player_id = player->Id;
    if (leader && leader == player) {
        // A follower of the player looks for an enemy around him.
        return Search_Boxes(player->X, player->Y, Follower_Search_Radius, [&](const TMonster& c) {
            return &c != player && c.Leader_Id != player_id && c.Does_Attack;
        });
    }
    TMonster* found = Search_Boxes(X, Y, Hostile_Search_Radius, [&](const TMonster& c) {
        return &c == player || c.Leader_Id == player_id;
    });
    return found ? found : player;
}

uint8_t TMonster::Direction_To_Player() const {
    const TMonster* player = Player();
    return player ? Direction_To(X, Y, player->X, player->Y) : 0;
}

int32_t TMonster::Step(uint8_t direction) {
    Check_Not_Released();
    int32_t x = X, y = Y;
    switch (direction) {
    case 1: --y; break;
    case 2:
        ++x;
        --y;
        break;
    case 3: ++x; break;
    case 4:
        ++x;
        ++y;
        break;
    case 5: ++y; break;
    case 6:
        --x;
        ++y;
        break;
    case 7: --x; break;
    case 8:
        --x;
        --y;
        break;
    default: break;
    }
    // A creature outside the band is pulled into it by any step.
    x = std::clamp(x, Min_Step_Coordinate, Max_Step_Coordinate);
    y = std::clamp(y, Min_Step_Coordinate, Max_Step_Coordinate);

    TMap* map = Current_Map();
    TMap_Square* square = map ? map->Get_Square(x, y) : nullptr;
    if (!square) return Step_Blocked;
    const TGame_Options* options = Game_Options();
    const bool terrain_ignored = !Is_Monster() && options && !options->Flag_4;
    // Without Flag_4 the player may walk where the terrain would refuse him, but never onto another
    // creature: recording him there would take that creature off its square.
    const bool allowed = terrain_ignored ? square->Get_Monster() == nullptr : square->Is_Free(Movement_Flags);
    if (!allowed) return Step_Blocked;

    Move_To(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
    return square->Is_Entrance() ? Step_Onto_Entrance : Step_Moved;
}

// -------------------------------------------------------------------------------------------------------
// Small questions

int32_t TMonster::Hit_Chance(int32_t attack, int32_t defence, int32_t defender_level,
                             int32_t attacker_level) {
    // Trunc(attack / (attack + defence) x 100 x (attacker level / (attacker level + defender level) x 2)),
    // computed as one exact quotient: through binary reals 29 against 71 at equal levels gave 28, not 29.
    // A ratio whose terms add up to 0 (attack and defence both 0, or two level-0 creatures) counts as an
    // even match (1 / 2) instead of dividing by zero.
    struct TRatio {
        __int128 Part, Sum;
    };
    const auto ratio = [](int64_t part, int64_t other) {
        const int64_t sum = part + other;
        return sum == 0 ? TRatio{1, 2} : TRatio{part, sum};
    };
    const TRatio hit = ratio(attack, defence);
    const TRatio levels = ratio(attacker_level, defender_level);
    const __int128 chance = hit.Part * 100 * levels.Part * 2 / (hit.Sum * levels.Sum);
    return static_cast<int32_t>(std::clamp<__int128>(chance, 5, 95));
}

bool TMonster::Wields_Weapon_Type(const std::string& name) const {
    const TItem* weapon = Item_In_Slot(First_Hand_Slot);
    if (!weapon) weapon = Item_In_Slot(Second_Hand_Slot);
    return weapon && Ascii_Equal_No_Case(Trim_Data(weapon->Weapon_Type), Trim_Data(name));
}

bool TMonster::Use_Key(const std::string& key_group) {
    return Inventory.Use_Key(key_group);
}
