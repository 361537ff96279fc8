// What the world model asks the screen to show. The world never draws: an attack, a spell, a talk, a chest
// or the player's death is reported through this set, which the screen controller fills with its own
// handlers and hands down by value. An entry left empty is skipped by every caller.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TDamage;
class TMonster;
class TSpell;

struct TCallback_Set {
    // attacker (null for a trap), target (or null), the attacker's name, sound file, hit flag, the damage
    // (rolled amount, the attack's effects, extra 0), missile setting A (always 0), the damage's firing
    // display effect, missile setting B (always 2), the target square. The two missile settings are passed
    // on to the missile sprite unchanged.
    std::function<void(TMonster* attacker, TMonster* target, const std::string& attacker_name,
                       const std::string& sound_file, bool hit, const TDamage& damage,
                       int32_t missile_setting_a, uint8_t firing_fx, int32_t missile_setting_b, int32_t x,
                       int32_t y)>
        On_Attack_Animation;
    // caster, target creature (or null), the caster's name (empty for teleport and summon), hit flag,
    // sound file, spell level, the spell, the spell's damage (the level's effects, the duration as extra),
    // the target square.
    std::function<void(TMonster* caster, TMonster* target, const std::string& caster_name, bool hit,
                       const std::string& sound_file, int32_t spell_level, const TSpell* spell,
                       const TDamage& damage, int32_t x, int32_t y)>
        On_Missile_Animation;
    // The id of the creature addressed.
    std::function<void(uint16_t monster_id)> On_Open_Talk;
    // The square whose item pile the chest window shows.
    std::function<void(int32_t x, int32_t y)> On_Open_Chest;
    // The values of the death screen.
    std::function<void(const std::string& player_name, int32_t class_index, const std::string& cause,
                       int32_t killer_level, const std::string& killer_name, int32_t experience,
                       int32_t level)>
        On_Player_Death;
    std::function<void()> On_Refresh_Spells;
};
