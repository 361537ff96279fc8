// The square actions, blows and shots, traps and the sounds of impacts. Spells are in ActionsCast.cpp.

#include "core/Actions.h"
#include "core/Effects.h"

#include "core/ActionHooks.h"
#include "core/Damage.h"
#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SoundSeam.h"
#include "core/Terrain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

// A creature turned by "Change Allegiance" guards its new leader within this range.
constexpr uint16_t Converted_Guard_Range = 4;

// The two missile settings On_Attack_Animation passes on to the missile sprite with the firing effect.
constexpr int32_t Missile_Setting_A = 0;
constexpr int32_t Missile_Setting_B = 2;

// The name a trap attacks under; the death report shows it.
const char* const Trap_Attacker_Name = "Ловушка";

// The effect a "Reduce Target ..." effect puts on the creature it hits; 0 for any other type.
uint8_t Effect_On_Target(uint8_t effect_type) {
    switch (effect_type) {
    case Effect_Reduce_Target_Defense: return Effect_Reduce_Defense_Ability;
    case Effect_Reduce_Target_Resist_All: return Effect_Reduce_Resist_All;
    case Effect_Reduce_Target_Attack_Ability: return Effect_Reduce_Attack_Ability;
    case Effect_Reduce_Target_Damage: return Effect_Reduce_Damage;
    case Effect_Reduce_Target_Movement: return Effect_Reduce_Movement;
    default: return 0;
    }
}

// The impact file of a severity: a blow of 30 or more sounds "min" and one below 10 "maj", the other way
// about from elemental damage; the sound files were recorded for it that way round.
std::string Physical_Impact_Sound(int32_t material, int32_t amount) {
    static const char* const materials[] = {"chain", "plate", "leth_", "wood_", "cloth"};
    const char* severity = amount >= 30 ? "min" : (amount < 10 ? "maj" : "med");
    return std::string(materials[std::clamp(material, 1, 5) - 1]) + severity + ".wav";
}

// The prefix of an elemental impact sound; null for any other effect type.
const char* Elemental_Sound_Prefix(uint8_t effect_type) {
    switch (effect_type) {
    case Effect_Cold_Damage: return "cold_";
    case Effect_Fire_Damage: return "fire_";
    case Effect_Lightning_Damage: return "lit_";
    case Effect_Magic_Damage: return "mag_";
    case Effect_Poison_Damage: return "pois_";
    default: return nullptr;
    }
}

// The damage as On_Attack_Animation hands it on: the rolled amount, the attack's effects and extra 0.
TDamage Attack_Damage(const TDamage& damage, int32_t rolled, const TEffect_List& effects) {
    TDamage result = damage;
    result.Rolled_Amount = rolled;
    result.Effects.Assign(effects);
    result.Spell_Amount = 0;
    return result;
}

void Call_Attack_Animation(const TCallback_Set& callbacks, TMonster* attacker, TMonster* target,
                           const std::string& name, const std::string& sound, bool hit, const TDamage& damage,
                           int32_t x, int32_t y) {
    if (callbacks.On_Attack_Animation)
        callbacks.On_Attack_Animation(attacker, target, name, sound, hit, damage, Missile_Setting_A,
                                      damage.Firing_FX, Missile_Setting_B, x, y);
}

// -------------------------------------------------------------------------------------------------------
// The steps of Do_Action_At

bool Is_Near(const TMonster& creature, int32_t x, int32_t y) {
    return TMap::Get_Range(creature.X, creature.Y, x, y) < 2;
}

void Refresh_Spells(const TCallback_Set& callbacks) {
    if (callbacks.On_Refresh_Spells) callbacks.On_Refresh_Spells();
}

// The lock of the square: a key of its group opens it; without one, a lock pick gets one try, and every
// later try only sounds the failure.
void Try_To_Unlock(TMap& map, TMap_Square& square, TMonster& creature, int32_t x, int32_t y) {
    std::string key_group;
    const bool has_entry = map.Get_Lock(x, y, key_group);
    if (has_entry && creature.Inventory.Use_Key(key_group)) {
        map.Set_Lock(key_group, x, y, false);
        Play_Sound_At("use_key.wav", creature.X, creature.Y);
        return;
    }
    if (square.Is_Pick_Tried()) {
        Play_Sound_At("shovel.wav", creature.X, creature.Y);
        return;
    }
    square.Set_Pick_Tried(true);
    const TMonster* player = Player();
    const int32_t pick = player ? player->Pick_Locks() : 0;
    if (pick >= 1 && Random_Range(1, 100) <= pick) {
        map.Set_Lock(key_group, x, y, false);
        Play_Sound_At("unlock.wav", creature.X, creature.Y);
    }
}

// A locked door may still be bashed in; the action then takes the door's bash transition.
void Try_To_Bash(TMap& map, TMap_Square& square, const TTerrain& terrain, int32_t x, int32_t y,
                 uint8_t& action) {
    if (!square.Is_Locked()) return;
    if (terrain.Next_Terrain_Action != Action_Open && terrain.Next_Terrain_Action != Action_Open_Secret)
        return;
    if (terrain.Next_Terrain_Id_2 == 0) return;
    const TMonster* player = Player();
    const int32_t bash = player ? player->Bash_Doors() : 0;
    if (bash < 1 || Random_Range(1, 100) > bash) return;
    Play_Sound_At("doorbash.wav", x, y);
    std::string key_group;
    map.Get_Lock(x, y, key_group);
    map.Set_Lock(key_group, x, y, false);
    action = Action_Bash_Door;
}

// The terrain step of an action on a near square: trap, lock, bash, then the terrain's transition and the
// chest window. True when it did something; a square locked when the step began always counts, so a
// failed try at a door never goes on to cast or shoot at it.
bool Act_On_Terrain(TMap& map, TMap_Square& square, TMonster& creature, uint8_t action, int32_t x, int32_t y,
                    const TCallback_Set& callbacks) {
    const TTerrain* terrain = square.Get_Terrain();
    if (!terrain) return false;

    // A trap is gone once an action finds it, whether it goes off or is avoided.
    std::string trap_group;
    if (square.Is_Trapped() && map.Get_Trap(x, y, trap_group)) {
        map.Set_Trap(trap_group, x, y, false);
        if (Spring_Trap(creature, trap_group, callbacks)) return true;
    }

    const bool was_locked = square.Is_Locked();
    if (was_locked) {
        Try_To_Unlock(map, square, creature, x, y);
        Try_To_Bash(map, square, *terrain, x, y, action);
    }
    if (square.Is_Locked()) return true;

    bool done = was_locked;
    // Read before the transition: an opened chest shows its window as the closed one did.
    const bool shows_chest = square.Shows_Chest_Window();
    if (const uint16_t next = terrain->Do_Action(action)) {
        // A transition to an id the terrain list lacks (a typo in the data) leaves the square as it is
        // rather than turning it into no terrain at all, which would block, draw nothing and be saved.
        if (const uint16_t next_id = map.Terrain_List.Find_By_Data_Id(next)) {
            square.Terrain_Id = next_id;
            done = true;
        }
    }
    if (shows_chest) {
        if (callbacks.On_Open_Chest) callbacks.On_Open_Chest(x, y);
        done = true;
    }
    return done;
}

} // namespace

// -------------------------------------------------------------------------------------------------------
// Square actions

bool Do_Action_At(TMonster& creature, uint8_t action, int32_t x, int32_t y, const TCallback_Set& callbacks,
                  int32_t quick_bar_slot) {
    TMap* map = Current_Map();
    if (!map) return false;
    TMap_Square* square = map->Get_Square(x, y);
    const bool near = Is_Near(creature, x, y);

    if (TMonster* target = square ? square->Get_Monster() : nullptr; target && target != &creature) {
        // Only talk topics and a store make a creature one to talk to: one that can merely be given items
        // is attacked like any other.
        const bool talks = !target->Talk_Topics.empty() || target->Store_Id != 0;
        if (talks && near) {
            if (callbacks.On_Open_Talk) {
                callbacks.On_Open_Talk(target->Id);
                return true;
            }
        } else {
            if (quick_bar_slot == 0) {
                Melee_Attack(creature, target, x, y, callbacks);
            } else {
                Cast_Spell(creature, x, y, callbacks, 0, quick_bar_slot);
                Refresh_Spells(callbacks);
            }
            return true;
        }
    }

    if (square && near && square->Get_Top_Item()) {
        // The pick-up sounds and counts even when the backpack is full and the item stays.
        square->Pick_Up_Item(creature);
        Play_Sound_At("itempick.wav", creature.X, creature.Y);
        Refresh_Spells(callbacks);
        return true;
    }

    if (square && near && Act_On_Terrain(*map, *square, creature, action, x, y, callbacks)) return true;

    const bool own_square = x == creature.X && y == creature.Y;
    if (quick_bar_slot != 0 && !own_square) {
        Cast_Spell(creature, x, y, callbacks, 0, quick_bar_slot);
        Refresh_Spells(callbacks);
        return true;
    }
    const TMonster* player = Player();
    if (player && player->Has_Ranged_Attack() && !own_square) {
        Melee_Attack(creature, nullptr, x, y, callbacks);
        return true;
    }
    return false;
}

// -------------------------------------------------------------------------------------------------------
// Blows and shots

int32_t Defence_After_Ignoring(int32_t ignore_percent, int32_t defence) {
    // "Attack Ignores Targets Defense" above 100 would take the defence below 0, where more ignoring
    // lowers the chance to hit; the defence stops at 0.
    const int64_t left = int64_t{defence} - Scale_By_Percent(defence, ignore_percent);
    return Clamp_To_Int32(std::max<int64_t>(0, left));
}

void Melee_Attack(TMonster& attacker, TMonster* target, int32_t x, int32_t y,
                  const TCallback_Set& callbacks) {
    const int32_t range = TMap::Get_Range(attacker.X, attacker.Y, x, y);
    TDamage damage;
    TEffect_List effects;
    std::string use_sound, ammunition;
    const bool armed = attacker.Get_Attack_Damage(damage, effects, use_sound, ammunition);
    // The weapon's effects are in the list twice from here on (the weapon's own, then the equipped items'):
    // blows have always carried them so.
    attacker.Gather_Effects(effects);

    // Data files leave "Ammo Required" empty or write "none" for a weapon that needs no ammunition.
    const bool missile_weapon = Names_Something(ammunition);
    const bool has_ammunition = missile_weapon && attacker.Inventory.Has_Ammo(ammunition);
    // Noted before the shot: the last arrow leaves the inventory when it is fired.
    const std::string ammunition_sound =
        has_ammunition ? attacker.Inventory.Ammo_Sound_File(ammunition) : std::string();

    const std::string attack_sound = !attacker.Sound_Attack.empty()
                                         ? attacker.Sound_Attack
                                         : (!use_sound.empty() ? use_sound : "punch.wav");
    Play_Sound_At(attack_sound, attacker.X, attacker.Y);
    if (!armed) return;

    if (missile_weapon) {
        if (!has_ammunition || damage.Range < range) return;
        const int32_t rolled = damage.Roll();
        attacker.Inventory.Use_Ammo(ammunition, &effects);
        if (!callbacks.On_Attack_Animation) return;
        Play_Sound_At(ammunition_sound, attacker.X, attacker.Y);
        // A missile always "hits": whether it reaches a creature is decided by its sprite in flight.
        const TDamage shot = Attack_Damage(damage, rolled, effects);
        Call_Attack_Animation(callbacks, &attacker, target, attacker.Name, Damage_Sound_Name(shot, effects),
                              true, shot, x, y);
        return;
    }

    if (range != 1 || !target) return;
    const int32_t rolled = damage.Roll();
    const int32_t defence = Defence_After_Ignoring(attacker.Ignores_Defense(), target->Defense);
    const int32_t chance = TMonster::Hit_Chance(attacker.Attack, defence, target->Level, attacker.Level);
    const TDamage blow = Attack_Damage(damage, rolled, effects);
    if (Random_Range(1, 100) > chance) {
        const std::string miss_sound = "miss_0" + std::to_string(Random_Range(1, 7)) + ".wav";
        Call_Attack_Animation(callbacks, &attacker, target, attacker.Name, miss_sound, false, blow, x, y);
    } else {
        Call_Attack_Animation(callbacks, &attacker, target, attacker.Name, Damage_Sound_Name(blow, effects),
                              true, blow, x, y);
    }
}

// -------------------------------------------------------------------------------------------------------
// On-hit effects

void Apply_Attack_Effects(TMonster* attacker, TMonster& target, const TEffect_List& effects,
                          const TCallback_Set& callbacks, int32_t duration) {
    for (int32_t n = 1; n <= effects.Get_Count(); ++n)
        Apply_Attack_Effect(effects.Get_Effect_Type(n), effects.Get_Min_Amount(n), effects.Get_Max_Amount(n),
                            callbacks, duration, target, attacker);
}

void Apply_Attack_Effect(uint8_t effect_type, int32_t min, int32_t max, const TCallback_Set& /*callbacks*/,
                         int32_t duration, TMonster& target, TMonster* attacker) {
    const int32_t amount = Random_Range(min, max);
    if (const uint8_t on_target = Effect_On_Target(effect_type)) {
        if (duration != 0)
            target.Add_Timed_Effect(on_target, min, max, duration);
        else
            target.Add_Permanent_Effect(on_target, min, max);
        return;
    }
    if (effect_type != Effect_Change_Allegiance || !attacker) return;
    if (target.Is_Unique || target.Is_Undead) return;
    // A weaker attacker loses ten points of chance per level it lacks (levels are unsigned: the difference
    // is taken in int so it can go below zero).
    const int32_t level_difference = int32_t{attacker->Level} - int32_t{target.Level};
    const int64_t chance =
        int64_t{max != 0 ? amount : min} + (level_difference < 0 ? 10 * level_difference : 0);
    if (chance >= Random_Range(1, 100))
        target.Change_Allegiance(duration, static_cast<int16_t>(attacker->Id), Converted_Guard_Range);
}

// -------------------------------------------------------------------------------------------------------
// Traps

bool Spring_Trap(TMonster& creature, const std::string& trap_group_name, const TCallback_Set& callbacks) {
    if (Random_Range(1, 100) <= creature.Detect_Traps()) return false;
    // The groups are read for this one trap: scaling changes the trap type itself, and a fresh read keeps
    // one creature's level from carrying over to the next trap.
    TAction_Hooks* hooks = Action_Hooks();
    TDamage trap;
    if (!hooks || !hooks->Pick_Trap(trap_group_name, creature.Level, trap)) return false;
    const TEffect_List effects = trap.Effects;
    const int32_t rolled = trap.Roll();
    if (callbacks.On_Attack_Animation) {
        const TDamage hit = Attack_Damage(trap, rolled, effects);
        Call_Attack_Animation(callbacks, nullptr, &creature, Trap_Attacker_Name,
                              Damage_Sound_Name(hit, effects), true, hit, creature.X, creature.Y);
    }
    return true;
}

// -------------------------------------------------------------------------------------------------------
// Sounds and the callback set

std::string Damage_Sound_Name(const TDamage& damage, const TEffect_List& effects) {
    std::string sound;
    const int32_t amount = damage.Rolled_Amount;
    if (amount > 0) sound = Physical_Impact_Sound(Random_Range(1, 5), amount);
    // Each elemental effect in turn replaces the choice, drawing its own amount for it.
    for (int32_t n = 1; n <= effects.Get_Count(); ++n) {
        const char* prefix = Elemental_Sound_Prefix(effects.Get_Effect_Type(n));
        if (!prefix) continue;
        const int32_t v = Random_Range(effects.Get_Min_Amount(n), effects.Get_Max_Amount(n));
        sound = std::string(prefix) + (v < 10 ? "min" : (v < 30 ? "med" : "maj")) + ".wav";
    }
    return sound;
}

void Play_Sound_At(const std::string& file_name, int32_t x, int32_t y) {
    if (file_name.empty()) return;
    if (const TMonster* player = Player())
        Sound_Play_At(file_name, x, y, player->X, player->Y);
    else
        Sound_Play(file_name);
}

bool Still_On_Map(const TMonster& creature) {
    return Creature_By_Id(creature.Id) == &creature;
}

void Copy_Callback_Set(const TCallback_Set& source, TCallback_Set& destination) {
    destination = source;
}
