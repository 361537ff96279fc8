// The pictures the game screen makes for blows and spells. The world only asks for them: the damage rides
// on a damage sprite that waits for the pictures and lands when they are gone.
#include "ui/DCMainTick.h"

#include "core/Actions.h"
#include "core/Damage.h"
#include "core/DisplayEffects.h"
#include "core/EffectSprites.h"
#include "core/Effects.h"
#include "core/Monster.h"
#include "core/Spells.h"

namespace {

// How long a hit picture shows, and a missile flies at most, at 100 % game speed (the sprites scale them).
constexpr int32_t Hit_Display_Time = 200;
constexpr int32_t Missile_Lifetime = 5000;
constexpr int32_t Missile_Display_Param = 10;

uint8_t Firing_Effect_Type(int32_t firing_fx) {
    const TDisplay_Effect* effect = firing_fx > 0 ? Get_Display_Effect(firing_fx) : nullptr;
    return effect ? effect->Type : 0;
}

} // namespace

TAnimation_Style Get_Animation_Style(const TDamage& damage, bool show) {
    int32_t amount = damage.Rolled_Amount;
    const int32_t strongest = damage.Effects.Max_Damage_Amount();
    if (strongest > amount) amount = strongest;
    TAnimation_Style style;
    style.Size = amount >= 30 ? 2 : amount >= 10 ? 1 : 0;
    if (!show) {
        style.Style = 1;
        return style;
    }
    switch (damage.Effects.Strongest_Damage_Type()) {
    case Effect_Cold_Damage: style.Style = 2; break;
    case Effect_Fire_Damage: style.Style = 6; break;
    case Effect_Lightning_Damage: style.Style = 5; break;
    case Effect_Magic_Damage: style.Style = 9; break;
    case Effect_Poison_Damage: style.Style = 7; break;
    case Effect_Dispel_Undead: style.Style = 8; break;
    default: style.Style = 0; break;
    }
    return style;
}

void TDC_Main_Tick::Show_Attack_Animation(TMonster* attacker, TMonster* target,
                                          const std::string& attacker_name, const std::string& sound_file,
                                          bool show, const TDamage& damage, uint8_t firing_fx, int32_t x,
                                          int32_t y) {
    TSprites_List* sprites = Sprites_List();
    if (!sprites) return;
    const TAnimation_Style hit = Get_Animation_Style(damage, show);
    // A trap has no attacker: its missile starts on the square it strikes and names no creature.
    const uint16_t attacker_id = attacker ? attacker->Id : 0;
    const int32_t from_x = attacker ? attacker->X : x;
    const int32_t from_y = attacker ? attacker->Y : y;
    uint32_t picture = 0;
    switch (Firing_Effect_Type(firing_fx)) {
    case Display_Effect_Directional:
        sprites->Add_Missile_Sprite(attacker_id, attacker_name, damage, from_x, from_y, x, y, sound_file,
                                    Sprite_Display_Damage_FX, hit.Size, hit.Style, Callbacks_, "", 0, 0, 0,
                                    Missile_Lifetime, Sprite_Display_Effect, firing_fx,
                                    Missile_Display_Param);
        return;
    case Display_Effect_Frames:
        picture = sprites->Add_Static_Sprite(x, y, Callbacks_, sound_file, x, y, 0, 0, Sprite_Display_Effect,
                                             firing_fx, 0);
        break;
    default:
        picture = sprites->Add_Static_Sprite(x, y, Callbacks_, sound_file, x, y, 0, Hit_Display_Time,
                                             Sprite_Display_Damage_FX, hit.Size, hit.Style);
        break;
    }
    if (show && target)
        sprites->Add_Damage_Sprite(attacker_id, target->Id, Callbacks_, attacker_name, damage, picture);
}

void TDC_Main_Tick::Show_Missile_Animation(TMonster* caster, TMonster* target, const std::string& caster_name,
                                           bool show, const std::string& sound_file, const TSpell* spell,
                                           const TDamage& damage, int32_t x, int32_t y) {
    TSprites_List* sprites = Sprites_List();
    if (!sprites) return;
    const TAnimation_Style hit = Get_Animation_Style(damage, show);
    const std::string hit_sound = Damage_Sound_Name(damage, damage.Effects);
    const uint16_t caster_id = caster ? caster->Id : 0;
    const int32_t from_x = caster ? caster->X : x;
    const int32_t from_y = caster ? caster->Y : y;
    const int32_t fx = damage.Firing_FX;
    const uint8_t fx_type = Firing_Effect_Type(fx);
    const uint8_t target_kind = spell ? spell->Target_Type : 0;
    // The damage waits for the last picture made.
    const auto deal_damage_after = [&](uint32_t last) {
        if (show && target)
            sprites->Add_Damage_Sprite(caster_id, target->Id, Callbacks_, caster_name, damage, last);
    };

    if (target_kind == Spell_Target_Location) {
        sprites->Add_Missile_Sprite(caster_id, caster_name, damage, from_x, from_y, x, y, hit_sound,
                                    Sprite_Display_Damage_FX, hit.Size, hit.Style, Callbacks_, sound_file,
                                    from_x, from_y, 0, Missile_Lifetime, Sprite_Display_Effect, fx,
                                    Missile_Display_Param);
        return;
    }
    if (target_kind == Spell_Target_Area && fx_type != 0) {
        if (fx_type != Display_Effect_Frames || !target) return;
        uint32_t last = sprites->Add_Monster_Sprite(target->Id, Callbacks_, sound_file, x, y, 0, 0,
                                                    Sprite_Display_Effect, fx, 0);
        if (!hit_sound.empty())
            last =
                sprites->Add_Monster_Sprite(target->Id, Callbacks_, hit_sound, x, y, last, Hit_Display_Time,
                                            Sprite_Display_Damage_FX, hit.Size, hit.Style);
        deal_damage_after(last);
        return;
    }
    if (fx_type == Display_Effect_Directional) {
        const uint32_t flight = sprites->Add_Moving_Sprite(
            from_x, from_y, x, y, Callbacks_, sound_file, from_x, from_y, 0, 0, Sprite_Display_Effect, fx, 0);
        const uint32_t impact =
            sprites->Add_Static_Sprite(x, y, Callbacks_, hit_sound, x, y, flight, Hit_Display_Time,
                                       Sprite_Display_Damage_FX, hit.Size, hit.Style);
        deal_damage_after(impact);
    } else if (fx_type == Display_Effect_Frames) {
        uint32_t last = sprites->Add_Static_Sprite(x, y, Callbacks_, sound_file, x, y, 0, 0,
                                                   Sprite_Display_Effect, fx, 0);
        if (!hit_sound.empty())
            last = sprites->Add_Static_Sprite(x, y, Callbacks_, hit_sound, x, y, last, Hit_Display_Time,
                                              Sprite_Display_Damage_FX, hit.Size, hit.Style);
        deal_damage_after(last);
    }
}
