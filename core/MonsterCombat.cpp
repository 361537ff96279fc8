// The creature's side of combat: the damage it deals, the damage it takes, the reward for a kill and death.

#include "core/Actions.h"
#include "core/Callbacks.h"
#include "core/CharClass.h"
#include "core/Effects.h"
#include "core/GlobalFuncs.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/WorldEvents.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// No resistance keeps off more than this percent of a blow.
constexpr int64_t Max_Effective_Resistance = 95;

// Truncation toward zero of a real, held to the 64-bit range the amounts are added in; NaN gives 0.
int64_t Trunc_Real(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int64_t>(std::clamp(std::trunc(v), -9.0e18, 9.0e18));
}

// The damage bonus in percent applied to a range: min first (never above the max it had), then max.
void Scale_Damage(TDamage& damage, int64_t percent_bonus) {
    damage.Set_Min(Clamp_To_Int32(Scale_By_Percent(damage.Min, percent_bonus + 100)));
    damage.Set_Max(Clamp_To_Int32(Scale_By_Percent(damage.Max, percent_bonus + 100)));
}

// The damage of the weapon in the hand, raised by the passive spells tied to its weapon type. False when the
// hand holds nothing that deals damage.
bool Weapon_Damage(const TMonster& creature, int32_t slot, TDamage& damage, const TItem*& weapon) {
    weapon = creature.Item_In_Slot(slot);
    if (!weapon || weapon->Damage.Min == 0) return false;
    damage.Set(weapon->Damage.Min, weapon->Damage.Max, weapon->Damage.Range, weapon->Damage.Firing_FX);
    const std::string& type = weapon->Weapon_Type;
    Scale_Damage(damage, creature.Weapon_Spell_Effect_Total(Effect_Damage, type));
    damage.Add_Max(creature.Weapon_Spell_Effect_Total(Effect_Maximum_Damage, type));
    damage.Add_Min(creature.Weapon_Spell_Effect_Total(Effect_Minimum_Damage, type));
    return true;
}

// What is left of an amount after a resistance: the creature's resistance plus its extra resistance, held
// to 95 percent. Integer arithmetic, truncated toward zero.
int64_t After_Resistance(int64_t amount, int64_t resistance, int64_t extra_resistance) {
    return Scale_By_Percent(amount, 100 - std::min(resistance + extra_resistance, Max_Effective_Resistance));
}

// The mana a harm generates: Trunc(percent / 100 x amount + 0.9), as the exact quotient
// (percent x amount + 90) / 100 truncated toward zero. Through binary reals a sum that is exactly whole
// (0.1 of a point plus 0.9) can fall just short of it, and the point is lost (30 % of 57 gave 17, not 18).
int64_t Mana_From_Harm(int64_t percent, int64_t amount) {
    return Clamp_To_Int64((static_cast<__int128>(percent) * amount + 90) / 100);
}

} // namespace

// -------------------------------------------------------------------------------------------------------
// The damage dealt

const TDamage* TMonster::Natural_Attack_Damage() const {
    return Natural_Attacks.Get_Damage(1);
}

bool TMonster::Get_Attack_Damage(TDamage& damage, TEffect_List& effects, std::string& use_sound,
                                 std::string& ammunition) const {
    effects.Clear();
    use_sound.clear();
    ammunition.clear();
    damage = TDamage();

    bool armed = false;
    const auto wield = [&](int32_t slot) {
        TDamage weapon_damage;
        const TItem* weapon = nullptr;
        if (!Weapon_Damage(*this, slot, weapon_damage, weapon)) return;
        damage.Add(weapon_damage);
        // With two weapons the second hand's sound, ammunition and effects are the ones used.
        use_sound = weapon->Use_Sound;
        ammunition = weapon->Ammo_Required;
        effects.Assign(weapon->Effects);
        armed = true;
    };
    wield(First_Hand_Slot);
    if (!armed || Has_Two_Weapons()) wield(Second_Hand_Slot);
    if (!armed) {
        const TDamage* natural = Natural_Attack_Damage();
        if (!natural) return false;
        damage.Set(natural->Min, natural->Max, natural->Range, natural->Firing_FX);
    }

    damage.Add_Max(Maximum_Damage_Bonus());
    damage.Add_Min(Minimum_Damage_Bonus());
    if (const TClass_Info* c = Class_Record()) {
        // The class's strength bonus is added to both ends as they are; the minimum is not held below the
        // maximum here.
        damage.Min = Clamp_To_Word(int64_t{damage.Min} + Trunc_Real(Strength * c->Min_Damage_Per_Strength));
        damage.Max = Clamp_To_Word(int64_t{damage.Max} + Trunc_Real(Strength * c->Max_Damage_Per_Strength));
    }
    Scale_Damage(damage, int64_t{Effect_Total(Effect_Damage_All)} + Effect_Total(Effect_Damage));
    return true;
}

std::string TMonster::Damage_Text() const {
    TDamage damage;
    TEffect_List effects;
    std::string use_sound, ammunition;
    if (!Get_Attack_Damage(damage, effects, use_sound, ammunition)) return std::string();
    return damage.Text();
}

bool TMonster::Has_Ranged_Attack() const {
    TDamage damage;
    TEffect_List effects;
    std::string use_sound, ammunition;
    return Get_Attack_Damage(damage, effects, use_sound, ammunition) && damage.Range > 1;
}

// -------------------------------------------------------------------------------------------------------
// The damage taken

bool TMonster::Take_Damage(uint16_t attacker_id, const TDamage& damage, const TCallback_Set& callbacks,
                           const std::string& cause, int32_t extra, const TEffect_List& effects) {
    Check_Not_Released();
    const int64_t damage_all = effects.Total_Amount(Effect_Damage_All);
    const int64_t reduction = Damage_Reduction();
    const int64_t reduction_percent = Damage_Reduction_Percent();
    const int64_t extra_resistance = Damage_Resistance_Bonus();
    const int64_t mana_percent = Damage_Generates_Mana();
    // A quest or merchant NPC that does not fight cannot be hurt, nor touched by on-hit effects.
    const bool is_protected = !Does_Attack && (Event_Id != 0 || Store_Id != 0);

    // Each harm is taken from life while the creature survives it; a harm that reaches the whole part of
    // the life left kills.
    int64_t mana_gain = 0;
    bool dead = false;
    const auto harm = [&](int64_t amount) {
        if (amount <= 0) return;
        if (amount < Trunc_Real(Life)) {
            Life -= static_cast<double>(amount);
            mana_gain += Mana_From_Harm(mana_percent, amount);
        } else {
            dead = true;
        }
    };

    if (!is_protected) {
        const int64_t reduced = Scale_By_Percent(damage.Rolled_Amount, 100 - reduction_percent) - reduction;
        harm(After_Resistance(reduced, Physical_Resist, extra_resistance));
    }
    for (int32_t n = 1; !dead && !is_protected && n <= effects.Get_Count(); ++n) {
        const uint8_t type = effects.Get_Effect_Type(n);
        const auto elemental = [&](int64_t resistance) {
            const int64_t rolled = Scale_By_Percent(
                Random_Range(effects.Get_Min_Amount(n), effects.Get_Max_Amount(n)), damage_all + 100);
            return After_Resistance(rolled, resistance, extra_resistance) - reduction;
        };
        int64_t amount = 0;
        switch (type) {
        case Effect_Cold_Damage: amount = elemental(Cold_Resist); break;
        case Effect_Fire_Damage: amount = elemental(Fire_Resist); break;
        case Effect_Lightning_Damage: amount = elemental(Lightning_Resist); break;
        case Effect_Magic_Damage: amount = elemental(Magic_Resist); break;
        case Effect_Poison_Damage:
            amount = elemental(Poison_Resist);
            if (amount > 0) {
                // Levels are unsigned: the difference is taken in int so a weaker attacker gives a
                // negative one instead of a huge one.
                const TMonster* attacker = Creature_By_Id(attacker_id);
                Poison(attacker ? int32_t{attacker->Level} - int32_t{Level} : 0, attacker_id);
            }
            break;
        case Effect_Dispel_Undead:
            if (Is_Undead) amount = Random_Range(effects.Get_Min_Amount(n), effects.Get_Max_Amount(n));
            break;
        default: break;
        }
        harm(amount);
    }

    if (dead) {
        Award_Kill(attacker_id);
        Life = 0;
        Die(callbacks, attacker_id, cause);
        return true;
    }
    if (mana_gain > 0) Add_Mana(static_cast<double>(mana_gain));
    if (!is_protected) Apply_Attack_Effects(Creature_By_Id(attacker_id), *this, effects, callbacks, extra);
    return false;
}

// -------------------------------------------------------------------------------------------------------
// Kill and death

void TMonster::Award_Kill(uint16_t killer_id) {
    TMonster* killer = Creature_By_Id(killer_id);
    if (!killer) return;
    killer->Add_Mana(killer->Kill_Regenerates_Mana());
    // A summoned or converted creature earns for the one it follows.
    TMonster* leader = Creature_By_Id(killer->Leader_Id);
    (leader ? leader : killer)->Add_Experience(Experience_For_Kill(killer_id));
}

void TMonster::Die(const TCallback_Set& callbacks, uint16_t killer_id, const std::string& cause) {
    Check_Not_Released();
    Play_Sound(Sound_Death);

    TMonster* player = Player();
    const bool is_player = player == this;
    if (player && !is_player) {
        const int32_t more_gold = player->More_Gold();
        if (more_gold > 0) Scale_Gold(Clamp_To_Int32(int64_t{more_gold} + 100));
    }

    Drop_All_Items();

    if (is_player) {
        if (callbacks.On_Player_Death) {
            // A killer still standing is named; otherwise the cause tells how the player died.
            if (const TMonster* killer = Creature_By_Id(killer_id))
                callbacks.On_Player_Death(Name, Class_Index, std::string(), killer->Level, killer->Name,
                                          Experience, Level);
            else
                callbacks.On_Player_Death(Name, Class_Index, cause, 0, std::string(), Experience, Level);
        }
        Set_Player(nullptr);
    }

    if (Event_Id != 0) World_Events::Monster_Killed(Event_Id);

    // Only the map's own entry is taken off the map: a creature that is not in the list (a copy) must not
    // remove whatever creature holds its id. The map clears its square and keeps it until the tick ends.
    if (Still_On_Map(*this)) Current_Map()->Remove_Monster(Id);
}

void TMonster::Drop_All_Items() {
    TMap* map = Current_Map();
    TMap_Square* square = map ? map->Get_Square(X, Y) : nullptr;
    if (!square) return;
    bool dropped = false;
    for (int32_t slot = First_Equipment_Slot; slot <= Last_Backpack_Slot; ++slot) {
        while (Inventory.Find_Slot(slot) != 0) {
            TItem* item = nullptr;
            Inventory.Take_From_Slot(slot, item);
            dropped = true;
            // An item the square cannot take (its pile is missing from a broken file) stays carried
            // rather than being lost from every slot and square.
            if (item && !square->Drop_Item(item)) {
                Inventory.Put_In_Slot(item, slot);
                break;
            }
        }
    }
    if (!dropped) return;
    Spells.Check_Quick_Bar();
    Recalculate_Stats();
}

void TMonster::Scale_Gold(int32_t percent) {
    for (int32_t n = 1; n <= Inventory.Count(); ++n) {
        const uint8_t slot = Inventory.Slot_At(n);
        if (slot < First_Equipment_Slot || slot > Last_Backpack_Slot) continue;
        TItem* item = Inventory.Contents().Item(n);
        if (!item || item->Item_Type != Item_Type_Gold) continue;
        const uint16_t amount = Clamp_To_Word(Scale_By_Percent(item->Quantity, percent));
        item->Max_Stack = amount;
        item->Quantity = amount;
    }
}
