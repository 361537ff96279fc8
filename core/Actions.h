// What a creature's deed does to the world: attacks, spells and the other actions on map squares. The
// world never draws: what the screen must show is reported through the callback set, and damage from blows,
// missiles and spells lands later, when the sprite the screen makes for it arrives.
//
// Creature pointers handed to a callback are valid only during that call (a creature may die before the
// sprite lands); handlers keep ids. Every square is given x first, then y.
#pragma once

#include "core/Callbacks.h"
#include "core/Effects.h"

#include <cstdint>
#include <string>

class TDamage;
class TMonster;
class TSpell;

// The player's (or a creature's) action on square x, y: talk to, attack or cast at a creature there, pick
// up an item, spring a trap, unlock, bash or open a door, open a chest, cast at the square or shoot at it.
// quick_bar_slot is the selected quick-bar slot; 0 means no spell is chosen. True when something was done.
bool Do_Action_At(TMonster& creature, uint8_t action, int32_t x, int32_t y, const TCallback_Set& callbacks,
                  int32_t quick_bar_slot);

// A blow or a shot at square x, y (target may be null: a shot at an empty square). The attack sound always
// plays; a missile weapon with its ammunition fires when the square is within its range (one unit used); a
// melee blow needs a target at range 1 and rolls to hit. Damage lands through On_Attack_Animation's sprite.
void Melee_Attack(TMonster& attacker, TMonster* target, int32_t x, int32_t y, const TCallback_Set& callbacks);
// The defence a melee blow meets: the defence less Trunc(ignore percent / 100 x defence), computed exactly
// in integers and never below 0 (an ignore percent above 100 would otherwise make ignoring more lower the
// chance to hit).
int32_t Defence_After_Ignoring(int32_t ignore_percent, int32_t defence);

// Casts the spell of the quick-bar slot when it is above 0 (a spell or a scroll), else the spell at that
// index (from 1) of the creature's spell list, at square x, y. False when nothing was cast: no such spell,
// or too little mana.
bool Cast_Spell(TMonster& creature, int32_t x, int32_t y, const TCallback_Set& callbacks, int32_t spell_index,
                int32_t quick_bar_slot);

// Casts the spell at its level by its target kind at square x, y; the mana cost is spent when the cast
// goes ahead. The master spell is never changed: each cast works on damage copies of its own.
void Apply_Spell(const TSpell& spell, int32_t level, TMonster& caster, const TCallback_Set& callbacks,
                 int32_t mana_cost, int32_t x, int32_t y);

// Every effect of the spell at the level acts on the target at once.
void Apply_Spell_Effects(const TSpell& spell, int32_t level, const TCallback_Set& callbacks,
                         TMonster& target);
void Apply_Spell_Effect(uint8_t effect_type, int32_t min, int32_t max, const TCallback_Set& callbacks,
                        int32_t level, const TSpell& spell, int32_t duration, TMonster& target);

// The on-hit effects of a blow that landed and did not kill: each effect of the list in order, as
// Apply_Attack_Effect. The attacker may be null (a trap, or a creature that has since died).
void Apply_Attack_Effects(TMonster* attacker, TMonster& target, const TEffect_List& effects,
                          const TCallback_Set& callbacks, int32_t duration);

// One on-hit effect. The "Reduce Target ..." effects become the matching "Reduce ..." effect on the target,
// timed for the duration in seconds (permanent when it is 0); "Change Allegiance" may turn the target to
// the attacker's side for the duration. Every other effect does nothing here: damage is dealt by
// Take_Damage. The amount is drawn first, whatever the type, so the random sequence of a fight does not
// depend on which effects a blow carries.
void Apply_Attack_Effect(uint8_t effect_type, int32_t min, int32_t max, const TCallback_Set& callbacks,
                         int32_t duration, TMonster& target, TMonster* attacker);

// A trap of the named group goes off on the creature, unless it detects it. True when the trap went off.
bool Spring_Trap(TMonster& creature, const std::string& trap_group_name, const TCallback_Set& callbacks);

// Summons the spell's creatures around the caster, up to the level's count of followers of that class.
void Summon_Monsters(const TSpell& spell, int32_t level, TMonster& caster, const TCallback_Set& callbacks,
                     int32_t mana_cost);

// The impact sound of a damage (its rolled amount) and effect list; empty when it does neither.
std::string Damage_Sound_Name(const TDamage& damage, const TEffect_List& effects);

// The sound heard from square x, y at the player's square; played plainly when there is no player.
void Play_Sound_At(const std::string& file_name, int32_t x, int32_t y);

// Whether the creature is the current map's entry for its id. A creature that died during its own turn has
// left the list and must not be touched again; a copy that is not in the list must not act for the
// creature that holds its id.
bool Still_On_Map(const TMonster& creature);

// The callback set is a plain value: copying it copies every entry.
void Copy_Callback_Set(const TCallback_Set& source, TCallback_Set& destination);
