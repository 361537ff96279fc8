// Casting: spells from the spell list and from scrolls, by target kind, their effects, and summoning.

#include "core/ActionHooks.h"
#include "core/Actions.h"
#include "core/Damage.h"
#include "core/DataFileParser.h"
#include "core/DisplaySeam.h"
#include "core/Effects.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Spells.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

namespace {

constexpr uint8_t Item_Type_Scroll = 15;
// A summoned creature guards its summoner within this range.
constexpr uint16_t Summoned_Guard_Range = 3;

// Whether the creature follows the leader. Leader ids from files may be negative: they name nobody.
bool Follows(const TMonster& creature, const TMonster& leader) {
    return creature.Leader_Id > 0 && creature.Leader_Id == leader.Id;
}

TMonster* Creature_At(int32_t x, int32_t y) {
    TMap* map = Current_Map();
    const TMap_Square* square = map ? map->Get_Square(x, y) : nullptr;
    return square ? square->Get_Monster() : nullptr;
}

// The box of squares within radius of x, y, cut off at the map's edges. The bounds are 64-bit, so a 32-bit
// radius cannot overflow them.
struct TSquare_Box {
    int64_t X_Lo, X_Hi, Y_Lo, Y_Hi;
};
TSquare_Box Box_Around(int64_t x, int64_t y, int64_t radius) {
    return {std::max<int64_t>(1, x - radius), std::min<int64_t>(Map_Width, x + radius),
            std::max<int64_t>(1, y - radius), std::min<int64_t>(Map_Height, y + radius)};
}

int32_t Spell_Range(const TSpell& spell) {
    return spell.Damage ? spell.Damage->Range : 0;
}

// The damage one cast hands to the screen: a copy of the spell's damage without effects, the duration at
// the level as its extra. Casts work on copies so the master spell never changes: a shared damage would
// carry one cast's effects into the next, or lose them before the sprite of an earlier cast has landed.
TDamage Spell_Damage(const TSpell& spell, int32_t level) {
    TDamage damage = spell.Damage ? *spell.Damage : TDamage();
    damage.Effects.Clear();
    damage.Spell_Amount = spell.Duration(level);
    return damage;
}

// The damage of a cast that hits: the spell's effects at the level; and the impact sound of it.
TDamage Prepare_Spell_Damage(const TSpell& spell, int32_t level, std::string& impact_sound) {
    TEffect_List effects;
    spell.Add_Effects_At_Level(effects, level);
    TDamage damage = Spell_Damage(spell, level);
    impact_sound = Damage_Sound_Name(damage, effects);
    damage.Effects.Assign(effects);
    return damage;
}

void Call_Missile_Animation(const TCallback_Set& callbacks, TMonster* caster, TMonster* target,
                            const std::string& caster_name, bool hit, const std::string& sound, int32_t level,
                            const TSpell& spell, const TDamage& damage, int32_t x, int32_t y) {
    if (callbacks.On_Missile_Animation)
        callbacks.On_Missile_Animation(caster, target, caster_name, hit, sound, level, &spell, damage, x, y);
}

// The spell of the scroll in the inventory slot, at the scroll's level held to the spell's maximum. The
// scroll is read, and so spent, whether the cast then finds a target or not. Reading uses one unit of a
// stack: the scroll leaves its slot and the level's items only with its last unit. Null, the scroll kept,
// when the slot holds no scroll or its spell is not in the master table.
const TSpell* Read_Scroll(TMonster& creature, int32_t slot, const TCallback_Set& callbacks, int32_t& level) {
    TItem* scroll = creature.Item_In_Slot(slot);
    if (!scroll || scroll->Item_Type != Item_Type_Scroll || scroll->Spell_Names.empty()) return nullptr;
    const TSpell* spell = Find_Master_Spell_By_Name(scroll->Spell_Names.front());
    if (!spell) return nullptr;
    const int32_t scroll_level = scroll->Spell_Levels.Count() >= 1 ? scroll->Spell_Levels.Get(1) : 0;
    level = std::min<int32_t>(scroll_level, spell->Maximum_Levels_From_Start);

    // A stack of 0 counts as one unit, as for potions and keys.
    if (scroll->Quantity < 2) {
        const uint16_t id = scroll->Id;
        TItem* taken = nullptr;
        creature.Remove_Item_From_Slot(slot, taken); // also drops the quick-bar slots left without a scroll
        Delete_Current_Item(id);
    } else {
        scroll->Use_Quantity(1);
    }
    if (callbacks.On_Refresh_Spells) callbacks.On_Refresh_Spells();
    return spell;
}

// Teleport: a random square free for walking within the radius around the target, the map's edge rows
// included.
void Teleport(TMonster& target, int32_t radius, const TCallback_Set& callbacks, int32_t level,
              const TSpell& spell) {
    TMap* map = Current_Map();
    if (!map || radius < 0) return;
    const TSquare_Box box = Box_Around(target.X, target.Y, radius);
    const auto free_square = [&](int64_t x, int64_t y) {
        const TMap_Square* square = map->Get_Square(static_cast<int32_t>(x), static_cast<int32_t>(y));
        return square && square->Is_Free(Movement_Land);
    };
    int32_t count = 0;
    for (int64_t x = box.X_Lo; x <= box.X_Hi; ++x)
        for (int64_t y = box.Y_Lo; y <= box.Y_Hi; ++y)
            if (free_square(x, y)) ++count;
    if (count == 0) return;
    int32_t pick = Random_Range(1, count);
    for (int64_t x = box.X_Lo; x <= box.X_Hi; ++x)
        for (int64_t y = box.Y_Lo; y <= box.Y_Hi; ++y)
            if (free_square(x, y) && --pick == 0) {
                target.Move_To(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
                Call_Missile_Animation(callbacks, &target, nullptr, std::string(), false, std::string(),
                                       level, spell, Spell_Damage(spell, level), target.X, target.Y);
                return;
            }
}

// Every creature in the box around the square except the caster and his followers gets the spell.
void Cast_On_Group(const TSpell& spell, int32_t level, TMonster& caster, const TCallback_Set& callbacks,
                   int32_t x, int32_t y, const TDamage& damage, const std::string& impact_sound) {
    TMap* map = Current_Map();
    const int64_t radius = spell.Area_Radius(level);
    if (!map || radius < 0) return;
    const TSquare_Box box = Box_Around(x, y, radius);
    for (int64_t cx = box.X_Lo; cx <= box.X_Hi; ++cx)
        for (int64_t cy = box.Y_Lo; cy <= box.Y_Hi; ++cy) {
            TMonster* target = Creature_At(static_cast<int32_t>(cx), static_cast<int32_t>(cy));
            if (!target || target == &caster || Follows(*target, caster)) continue;
            // Every target gets the whole damage: the screen makes one sprite per call from it.
            Call_Missile_Animation(callbacks, &caster, target, caster.Name, true, impact_sound, level, spell,
                                   damage, static_cast<int32_t>(cx), static_cast<int32_t>(cy));
        }
}

} // namespace

// -------------------------------------------------------------------------------------------------------
// Casting

bool Cast_Spell(TMonster& creature, int32_t x, int32_t y, const TCallback_Set& callbacks, int32_t spell_index,
                int32_t quick_bar_slot) {
    if (spell_index <= 0 && quick_bar_slot <= 0) return false;
    uint8_t kind = Quick_Slot_Spell;
    uint16_t value = 0;
    if (quick_bar_slot > 0)
        creature.Spells.Get_Quick_Slot(quick_bar_slot, kind, value);
    else
        value = creature.Spells.Spell_Id(spell_index);

    const TSpell* spell = nullptr;
    int32_t level = 0;
    int32_t mana_cost = 0; // a scroll costs no mana
    if (kind == Quick_Slot_Scroll) {
        spell = Read_Scroll(creature, value, callbacks, level);
    } else {
        level = creature.Spells.Spell_Level(value);
        spell = Get_Master_Spell(value);
        if (spell) mana_cost = spell->Mana_Cost(level);
    }
    if (!spell || mana_cost > creature.Mana) return false;
    Apply_Spell(*spell, level, creature, callbacks, mana_cost, x, y);
    return true;
}

void Apply_Spell(const TSpell& spell, int32_t level, TMonster& caster, const TCallback_Set& callbacks,
                 int32_t mana_cost, int32_t x, int32_t y) {
    const auto out_of_range = [&](int32_t tx, int32_t ty) {
        return TMap::Get_Range(caster.X, caster.Y, tx, ty) > Spell_Range(spell);
    };
    std::string impact_sound;
    switch (spell.Target_Type) {
    case Spell_Target_None: {
        if (Names_Something(spell.Summon_Name) && spell.Summon_Count(level) != 0)
            Summon_Monsters(spell, level, caster, callbacks, mana_cost);
        return;
    }
    case Spell_Target_Monster: {
        TMonster* target = Creature_At(x, y);
        if (!target || out_of_range(target->X, target->Y)) return;
        const TDamage damage = Prepare_Spell_Damage(spell, level, impact_sound);
        caster.Spend_Mana(mana_cost);
        Play_Sound_At(spell.Cast_Sound, caster.X, caster.Y);
        Call_Missile_Animation(callbacks, &caster, target, caster.Name, true, impact_sound, level, spell,
                               damage, target->X, target->Y);
        return;
    }
    case Spell_Target_Self:
        caster.Spend_Mana(mana_cost);
        Play_Sound_At(spell.Cast_Sound, caster.X, caster.Y);
        Call_Missile_Animation(callbacks, &caster, nullptr, caster.Name, false, std::string(), level, spell,
                               Spell_Damage(spell, level), caster.X, caster.Y);
        Apply_Spell_Effects(spell, level, callbacks, caster);
        return;
    case Spell_Target_Location: {
        if (out_of_range(x, y)) return;
        const TDamage damage = Prepare_Spell_Damage(spell, level, impact_sound);
        caster.Spend_Mana(mana_cost);
        Play_Sound_At(spell.Cast_Sound, caster.X, caster.Y);
        Call_Missile_Animation(callbacks, &caster, nullptr, caster.Name, true, impact_sound, level, spell,
                               damage, x, y);
        return;
    }
    case Spell_Target_Area: {
        if (out_of_range(x, y)) return;
        const TDamage damage = Prepare_Spell_Damage(spell, level, impact_sound);
        caster.Spend_Mana(mana_cost);
        Play_Sound_At(spell.Cast_Sound, caster.X, caster.Y);
        Cast_On_Group(spell, level, caster, callbacks, x, y, damage, impact_sound);
        return;
    }
    default: return; // a passive spell is never cast; an unknown kind does nothing
    }
}

void Apply_Spell_Effects(const TSpell& spell, int32_t level, const TCallback_Set& callbacks,
                         TMonster& target) {
    const int32_t duration = spell.Duration(level);
    for (int32_t n = 1; n <= spell.Effects->Get_Count(); ++n) {
        int32_t min = 0, max = 0;
        spell.Effect_Amounts(n, level, min, max);
        Apply_Spell_Effect(spell.Effects->Get_Effect_Type(n), min, max, callbacks, level, spell, duration,
                           target);
    }
}

void Apply_Spell_Effect(uint8_t effect_type, int32_t min, int32_t max, const TCallback_Set& callbacks,
                        int32_t level, const TSpell& spell, int32_t duration, TMonster& target) {
    // The amount is always drawn first; a maximum of 0 then means the minimum is meant.
    int32_t amount = Random_Range(min, max);
    if (max == 0) amount = min;
    switch (effect_type) {
    case Effect_Life_Current: target.Add_Life(amount); break;
    case Effect_Mana_Current: target.Add_Mana(amount); break;
    case Effect_Cure_Poison:
        if (amount >= Random_Range(1, 100)) target.Cure_Poison();
        break;
    case Effect_Decrease_Current_Hunger: target.Add_Food(amount); break;
    case Effect_Remove_Curse:
        if (amount >= Random_Range(1, 100)) target.Clear_Status();
        break;
    case Effect_Teleport: Teleport(target, amount, callbacks, level, spell); break;
    default:
        if (duration != 0)
            target.Add_Timed_Effect(effect_type, min, max, duration);
        else
            target.Add_Permanent_Effect(effect_type, min, max);
        break;
    }
}

// -------------------------------------------------------------------------------------------------------
// Summoning

void Summon_Monsters(const TSpell& spell, int32_t level, TMonster& caster, const TCallback_Set& callbacks,
                     int32_t mana_cost) {
    TMap* map = Current_Map();
    if (!map) return;
    const std::string class_name = Trimmed_Lower(spell.Summon_Name);
    const int32_t wanted = spell.Summon_Count(level);
    int32_t existing = 0;
    for (int32_t id = 1; id <= map->Monster_List.Get_Count(); ++id) {
        const TMonster* creature = map->Monster_List.Get_Monster(static_cast<std::size_t>(id));
        if (creature && Follows(*creature, caster) && Ascii_Lower(creature->Name) == class_name) ++existing;
    }
    if (existing >= wanted) return;

    // The mana goes even when the class turns out to be missing or there is no room around the caster.
    caster.Spend_Mana(mana_cost);
    TAction_Hooks* hooks = Action_Hooks();
    const std::unique_ptr<TSummoner> summoner = hooks ? hooks->Open_Summoner(class_name) : nullptr;
    if (!summoner) return;

    for (int32_t n = existing; n < wanted; ++n) {
        // A caster walled in has no square for it: the summoning ends rather than putting the creature
        // on square 0, 0 outside the map.
        int32_t x = 0, y = 0;
        if (!map->Find_Free_Square_Near(caster.X, caster.Y, x, y)) break;
        Play_Sound_At(spell.Cast_Sound, caster.X, caster.Y);
        Call_Missile_Animation(callbacks, &caster, nullptr, std::string(), false, std::string(), level, spell,
                               Spell_Damage(spell, level), x, y);
        TMonster* summoned = map->Monster_List.Get_Monster(summoner->Create_Monster(x, y, level));
        if (!summoned) break; // the creature list is full
        summoned->Set_Leader(static_cast<int16_t>(caster.Id));
        summoned->Set_Guard_Range(Summoned_Guard_Range);

        // The monster sheet was made for the creatures the map had; the new one's picture joins it. A
        // picture the sheet could not take draws the sheet's first cell rather than nothing.
        TDisplay_Sink& display = Display_Sink();
        display.Append_Monster_Pictures({summoned->Picture});
        const int32_t cell = display.Monster_Picture_Cell(summoned->Picture);
        const int16_t index =
            static_cast<int16_t>(std::clamp<int32_t>(cell, 0, std::numeric_limits<int16_t>::max()));
        summoned->Set_Picture_Indexes(index, index);
    }
}
