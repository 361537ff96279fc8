#include "core/EffectSprites.h"

#include "core/Actions.h"
#include "core/Clock.h"
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/PathFind.h"
#include "core/SoundSeam.h"
#include "core/Terrain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Frames a display effect is taken to have when its index is not in the table.
constexpr int32_t Default_Frame_Count = 8;
// The impact a missile leaves where it strikes lasts this long at 100 % game speed.
constexpr int32_t Impact_Lifetime = 200;
// A sprite flies about this many pixels per update at 100 % game speed.
constexpr double Pixels_Per_Step = 15.0;
// A moving sprite has arrived once its centre is this close to the target's, or closer than one step.
constexpr int64_t Arrival_Distance = 7;
constexpr double Half_Square = Sprite_Square_Pixels / 2.0;

// Truncation toward zero of a pixel value. A missile that never ends keeps flying off the map, so the
// value is held to a range where the square arithmetic cannot overflow; NaN gives 0.
int64_t Trunc_Pixels(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int64_t>(std::clamp(std::trunc(v), -1.0e15, 1.0e15));
}

bool On_Map(int64_t x, int64_t y) {
    return x >= 1 && x <= Map_Width && y >= 1 && y <= Map_Height;
}

// The square under the centre of a flying sprite.
std::pair<int64_t, int64_t> Centre_Square(const TSprite& sprite) {
    return {Trunc_Pixels(sprite.Pos_X + Half_Square) / Sprite_Square_Pixels,
            Trunc_Pixels(sprite.Pos_Y + Half_Square) / Sprite_Square_Pixels};
}

std::size_t Grid_Index(int64_t x, int64_t y) {
    return static_cast<std::size_t>(x * (Map_Height + 1) + y);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// One sprite

int32_t TSprite::Get_Frame_Count() const {
    if (Display_Kind != Sprite_Display_Effect) return 0;
    const TDisplay_Effect* effect = Get_Display_Effect(Display_Index);
    return effect ? effect->Total_Frames : Default_Frame_Count;
}

void TSprite::Play_Sound() const {
    if (!Active || Sound_File.empty()) return;
    // A sprite without a sound square is heard plainly.
    if (Sound_X != 0 && Sound_Y != 0)
        Play_Sound_At(Sound_File, Sound_X, Sound_Y);
    else
        Sound_Play(Sound_File);
}

void TSprite::Apply_Damage() const {
    TMonster* target = Creature_By_Id(Target_Id);
    if (!target) return;

    if (TMonster* attacker = Creature_By_Id(Attacker_Id)) {
        const int32_t returned = target->Attacker_Takes_Damage();
        if (returned > 0) {
            TDamage back;
            back.Set(Clamp_To_Word(returned), Clamp_To_Word(returned), 0, 0);
            back.Rolled_Amount = returned;
            const bool died =
                attacker->Take_Damage(Target_Id, back, Callbacks, target->Name, 0, TEffect_List());
            // The returned blow may have killed the attacker; a dead attacker must not go on to steal
            // life from the target or put it to sleep, so it is looked up again.
            attacker = died ? nullptr : Creature_By_Id(Attacker_Id);
            target = Creature_By_Id(Target_Id);
            if (!target) return;
        }
        if (attacker) {
            // Percents of what the target has now, before this blow lands.
            if (const int32_t stolen = attacker->Life_Stolen(); stolen > 0)
                attacker->Add_Life(static_cast<double>(Percent_Of_Real(stolen, target->Life)));
            if (const int32_t stolen = attacker->Mana_Stolen(); stolen > 0)
                attacker->Add_Mana(static_cast<double>(Percent_Of_Real(stolen, target->Mana)));
            // Each status power may strike, and the last that does wins. Levels are unsigned: the
            // difference is taken in int.
            const int32_t target_level = target->Level;
            const int32_t difference = int32_t{attacker->Level} - target_level;
            const auto strikes = [](int32_t power) { return power > 0 && power >= Random_Range(1, 100); };
            if (strikes(attacker->Flee_Power(target_level))) target->Set_Panic(difference, Attacker_Id);
            if (strikes(attacker->Sleep_Power(target_level))) target->Set_Asleep(difference, Attacker_Id);
            if (strikes(attacker->Blind_Power(target_level))) target->Set_Blind(difference, Attacker_Id);
            if (strikes(attacker->Paralyze_Power(target_level)))
                target->Set_Paralyzed(difference, Attacker_Id);
        }
    }

    // The damage's spell amount is the on-hit duration: 0 for blows and traps, the spell's duration for a
    // spell.
    target->Take_Damage(Attacker_Id, Damage, Callbacks, Attacker_Name, Damage.Spell_Amount, Damage.Effects);
}

TSprite_Placement Flying_Sprite_Placement(double pos_x, double pos_y) {
    TSprite_Placement placement;
    const int64_t square_x = Trunc_Pixels(pos_x / Sprite_Square_Pixels);
    const int64_t square_y = Trunc_Pixels(pos_y / Sprite_Square_Pixels);
    placement.Square_X = static_cast<int32_t>(std::clamp<int64_t>(square_x, INT32_MIN, INT32_MAX));
    placement.Square_Y = static_cast<int32_t>(std::clamp<int64_t>(square_y, INT32_MIN, INT32_MAX));
    // The offset is Trunc(the fraction of Pos / 28, times 28), worked out exactly as what lies beyond the
    // square's corner. Evaluated through the binary fraction the formula loses the last whole pixel at many
    // positions (296 would give 15, not 16, and 5601 would give 0, not 1), so a sprite would jitter.
    placement.Offset_X =
        static_cast<int32_t>(Trunc_Pixels(pos_x - static_cast<double>(square_x) * Sprite_Square_Pixels));
    placement.Offset_Y =
        static_cast<int32_t>(Trunc_Pixels(pos_y - static_cast<double>(square_y) * Sprite_Square_Pixels));
    return placement;
}

int32_t Get_Sprite_Direction(double vel_x, double vel_y) {
    const double ax = std::fabs(vel_x);
    const double ay = std::fabs(vel_y);
    if (vel_x == 0) return vel_y > 0 ? 4 : 8;
    if (vel_x > 0) {
        if (vel_y == 0) return 2;
        if (ay < ax / 2) return 2;
        if (vel_y < 0) return ax < ay / 2 ? 8 : 1;
        return ax < ay / 2 ? 4 : 3;
    }
    if (vel_y == 0) return 6;
    if (ay < ax / 2) return 6;
    if (vel_y > 0) return ax < ay / 2 ? 4 : 5;
    return ax < ay / 2 ? 8 : 7;
}

// ---------------------------------------------------------------------------------------------------------
// Creation

bool TSprites_List::Id_In_Use(uint32_t id) const {
    return std::any_of(Sprites_.begin(), Sprites_.end(),
                       [id](const std::unique_ptr<TSprite>& s) { return s->Sprite_Id == id; });
}

uint32_t TSprites_List::Next_Free_Id() {
    // Ids are never reused while the counter lasts, so a waiter can never mistake a new sprite for the one
    // it waits for; 0 means "waits for nothing" and is never given.
    for (;;) {
        const uint32_t id = Next_Id_++;
        if (Next_Id_ == 0) {
            Next_Id_ = 1;
            Ids_Wrapped_ = true;
        }
        if (!Ids_Wrapped_ || !Id_In_Use(id)) return id;
    }
}

TSprite& TSprites_List::Add_Sprite(uint16_t kind, const TCallback_Set& callbacks, const std::string& sound,
                                   int32_t sound_x, int32_t sound_y, uint32_t wait_for_id, int32_t lifetime,
                                   int32_t display_kind, int32_t display_index, int32_t display_param) {
    auto sprite = std::make_unique<TSprite>();
    sprite->Sprite_Id = Next_Free_Id();
    sprite->Serial_ = Next_Serial_++;
    sprite->Sprite_Kind = kind;
    sprite->Callbacks = callbacks;
    sprite->Sound_File = sound;
    sprite->Sound_X = Clamp_To_Word(sound_x);
    sprite->Sound_Y = Clamp_To_Word(sound_y);
    sprite->Wait_For_Id = wait_for_id;
    sprite->Active = wait_for_id == 0;
    sprite->Start_Tick = Get_Ticks_64();
    sprite->Lifetime = lifetime;
    sprite->Display_Kind = Clamp_To_Word(display_kind);
    sprite->Display_Index = display_index;
    sprite->Display_Param = display_param;
    if (sprite->Display_Kind == Sprite_Display_Effect) {
        sprite->Ends_With_Animation = true;
        sprite->Animated = true;
        sprite->Frame = 1;
    }
    Sprites_.push_back(std::move(sprite));
    Forget_Missile_Squares();
    return *Sprites_.back();
}

void TSprites_List::Launch(TSprite& sprite, int32_t from_x, int32_t from_y, int32_t to_x, int32_t to_y) {
    sprite.Start_X = Clamp_To_Word(from_x);
    sprite.Start_Y = Clamp_To_Word(from_y);
    sprite.Target_X = Clamp_To_Word(to_x);
    sprite.Target_Y = Clamp_To_Word(to_y);
    sprite.Pos_X = static_cast<double>(sprite.Start_X) * Sprite_Square_Pixels;
    sprite.Pos_Y = static_cast<double>(sprite.Start_Y) * Sprite_Square_Pixels;
    const double dx = (static_cast<double>(sprite.Target_X) - sprite.Start_X) * Sprite_Square_Pixels;
    const double dy = (static_cast<double>(sprite.Target_Y) - sprite.Start_Y) * Sprite_Square_Pixels;
    const double length = std::sqrt(dx * dx + dy * dy);
    // The number of updates the flight takes at this game speed, kept as a real so the last step lands on
    // the target; only a flight of length 0 takes "one" step.
    double steps = Game_Speed_Scale_Delay_Real(std::trunc(length / Pixels_Per_Step));
    if (steps == 0) steps = 1;
    sprite.Vel_X = dx / steps;
    sprite.Vel_Y = dy / steps;
    // A flying sprite shows the picture of its direction: its frame is the direction, and it never
    // animates or ends with an animation (a frame count reached by the direction alone would remove a
    // north-west missile before it flew).
    sprite.Frame = Get_Sprite_Direction(sprite.Vel_X, sprite.Vel_Y);
    sprite.Animated = false;
    sprite.Ends_With_Animation = false;
}

uint32_t TSprites_List::Add_Static_Sprite(int32_t x, int32_t y, const TCallback_Set& callbacks,
                                          const std::string& sound, int32_t sound_x, int32_t sound_y,
                                          uint32_t wait_for_id, int32_t lifetime, int32_t display_kind,
                                          int32_t display_index, int32_t display_param) {
    TSprite& sprite = Add_Sprite(Sprite_Kind_Static, callbacks, sound, sound_x, sound_y, wait_for_id,
                                 lifetime, display_kind, display_index, display_param);
    sprite.Start_X = sprite.Target_X = Clamp_To_Word(x);
    sprite.Start_Y = sprite.Target_Y = Clamp_To_Word(y);
    sprite.Play_Sound();
    return sprite.Sprite_Id;
}

uint32_t TSprites_List::Add_Monster_Sprite(uint16_t creature_id, const TCallback_Set& callbacks,
                                           const std::string& sound, int32_t sound_x, int32_t sound_y,
                                           uint32_t wait_for_id, int32_t lifetime, int32_t display_kind,
                                           int32_t display_index, int32_t display_param) {
    TSprite& sprite = Add_Sprite(Sprite_Kind_Monster, callbacks, sound, sound_x, sound_y, wait_for_id,
                                 lifetime, display_kind, display_index, display_param);
    sprite.Target_Id = creature_id;
    sprite.Play_Sound();
    return sprite.Sprite_Id;
}

uint32_t TSprites_List::Add_Moving_Sprite(int32_t from_x, int32_t from_y, int32_t to_x, int32_t to_y,
                                          const TCallback_Set& callbacks, const std::string& sound,
                                          int32_t sound_x, int32_t sound_y, uint32_t wait_for_id,
                                          int32_t lifetime, int32_t display_kind, int32_t display_index,
                                          int32_t display_param) {
    TSprite& sprite = Add_Sprite(Sprite_Kind_Moving, callbacks, sound, sound_x, sound_y, wait_for_id,
                                 lifetime, display_kind, display_index, display_param);
    Launch(sprite, from_x, from_y, to_x, to_y);
    sprite.Play_Sound();
    return sprite.Sprite_Id;
}

uint32_t TSprites_List::Add_Missile_Sprite(uint16_t attacker_id, const std::string& attacker_name,
                                           const TDamage& damage, int32_t from_x, int32_t from_y,
                                           int32_t to_x, int32_t to_y, const std::string& impact_sound,
                                           int32_t impact_display_kind, int32_t impact_display_index,
                                           int32_t impact_display_param, const TCallback_Set& callbacks,
                                           const std::string& sound, int32_t sound_x, int32_t sound_y,
                                           uint32_t wait_for_id, int32_t lifetime, int32_t display_kind,
                                           int32_t display_index, int32_t display_param) {
    TSprite& sprite = Add_Sprite(Sprite_Kind_Missile, callbacks, sound, sound_x, sound_y, wait_for_id,
                                 lifetime, display_kind, display_index, display_param);
    sprite.Attacker_Id = attacker_id;
    sprite.Attacker_Name = attacker_name;
    sprite.Damage = damage;
    sprite.Impact_Sound = impact_sound;
    sprite.Impact_Display_Kind = impact_display_kind;
    sprite.Impact_Display_Index = impact_display_index;
    sprite.Impact_Display_Param = impact_display_param;
    Launch(sprite, from_x, from_y, to_x, to_y);
    sprite.Play_Sound();
    return sprite.Sprite_Id;
}

uint32_t TSprites_List::Add_Damage_Sprite(uint16_t attacker_id, uint16_t target_id,
                                          const TCallback_Set& callbacks, const std::string& attacker_name,
                                          const TDamage& damage, uint32_t wait_for_id) {
    TSprite& sprite = Add_Sprite(Sprite_Kind_Damage, callbacks, std::string(), 0, 0, wait_for_id, 0,
                                 Sprite_Display_None, 0, 0);
    sprite.Attacker_Id = attacker_id;
    sprite.Target_Id = target_id;
    sprite.Attacker_Name = attacker_name;
    sprite.Damage = damage;
    return sprite.Sprite_Id;
}

// ---------------------------------------------------------------------------------------------------------
// The list

const TSprite* TSprites_List::Get_Sprite(int32_t n) const {
    if (n < 1 || n > Count()) return nullptr;
    return Sprites_[static_cast<std::size_t>(n - 1)].get();
}

void TSprites_List::Remove_Sprite(uint32_t id) {
    for (std::size_t i = Sprites_.size(); i-- > 0;)
        if (Sprites_[i]->Sprite_Id == id) {
            Sprites_.erase(Sprites_.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    Forget_Missile_Squares();
}

void TSprites_List::Clear() {
    Sprites_.clear();
    Forget_Missile_Squares();
}

void TSprites_List::Clear_Creature_Sprites() {
    std::erase_if(Sprites_, [](const std::unique_ptr<TSprite>& s) {
        return !s->Active || s->Sprite_Kind == Sprite_Kind_Damage || s->Sprite_Kind == Sprite_Kind_Missile ||
               s->Sprite_Kind == Sprite_Kind_Monster;
    });
    Forget_Missile_Squares();
}

// ---------------------------------------------------------------------------------------------------------
// Update

bool TSprites_List::Strike(const TSprite& missile) {
    const auto [x, y] = Centre_Square(missile);
    TMap* map = Current_Map();
    if (!map || !On_Map(x, y)) return false; // off the map only its lifetime ends it
    const TMap_Square* square = map->Get_Square(static_cast<int32_t>(x), static_cast<int32_t>(y));
    const TMonster* creature = square->Get_Monster();
    // The first creature other than the attacker is struck, friend or foe; an empty square stops the
    // missile when nothing may fly through it, except the square it was launched from.
    const bool hits_creature = creature && creature->Id != missile.Attacker_Id;
    const bool hits_square =
        !creature && !square->Is_Free(Movement_Air) && !(x == missile.Start_X && y == missile.Start_Y);
    if (!hits_creature && !hits_square) return false;
    const int32_t sx = static_cast<int32_t>(x), sy = static_cast<int32_t>(y);
    Add_Static_Sprite(sx, sy, missile.Callbacks, missile.Impact_Sound, sx, sy, 0, Impact_Lifetime,
                      missile.Impact_Display_Kind, missile.Impact_Display_Index,
                      missile.Impact_Display_Param);
    if (hits_creature)
        Add_Damage_Sprite(missile.Attacker_Id, creature->Id, missile.Callbacks, missile.Attacker_Name,
                          missile.Damage, missile.Sprite_Id);
    return true;
}

bool TSprites_List::Step(TSprite& sprite, uint64_t now) {
    if (sprite.Lifetime > 0 && !sprite.Ends_With_Animation) {
        const int64_t lifetime = std::max<int32_t>(Game_Speed_Scale_Delay(sprite.Lifetime), 0);
        if (now > sprite.Start_Tick + static_cast<uint64_t>(lifetime)) return true;
    }
    if (sprite.Ends_With_Animation && sprite.Frame >= sprite.Get_Frame_Count()) return true;

    const bool flying = sprite.Sprite_Kind == Sprite_Kind_Moving || sprite.Sprite_Kind == Sprite_Kind_Missile;
    if (flying) {
        sprite.Pos_X += sprite.Vel_X;
        sprite.Pos_Y += sprite.Vel_Y;
    }
    if (sprite.Sprite_Kind == Sprite_Kind_Moving) {
        const int64_t target_x =
            Trunc_Pixels(static_cast<double>(sprite.Target_X) * Sprite_Square_Pixels + Half_Square);
        const int64_t target_y =
            Trunc_Pixels(static_cast<double>(sprite.Target_Y) * Sprite_Square_Pixels + Half_Square);
        const int64_t near = std::max<int64_t>(
            {std::abs(Trunc_Pixels(sprite.Vel_X)), std::abs(Trunc_Pixels(sprite.Vel_Y)), Arrival_Distance});
        if (std::abs(target_x - Trunc_Pixels(sprite.Pos_X + Half_Square)) < near &&
            std::abs(target_y - Trunc_Pixels(sprite.Pos_Y + Half_Square)) < near)
            return true;
    }
    if (sprite.Sprite_Kind == Sprite_Kind_Missile && Strike(sprite)) return true;

    if (sprite.Frame > 0 && sprite.Animated && now > sprite.Start_Tick + Sprite_Frame_Delay) {
        ++sprite.Frame;
        sprite.Start_Tick = now;
    }
    return false;
}

void TSprites_List::Wake_Waiters(std::vector<uint32_t>& removed_ids, uint64_t now) {
    // Every removed sprite wakes its own waiters, the damage sprites removed here included, so two hits
    // ending in one update both land.
    for (std::size_t i = 0; i < removed_ids.size(); ++i) {
        const uint32_t id = removed_ids[i];
        for (std::size_t pos = 0; pos < Sprites_.size();) {
            TSprite& sprite = *Sprites_[pos];
            if (sprite.Active || sprite.Wait_For_Id != id) {
                ++pos;
                continue;
            }
            sprite.Active = true;
            sprite.Start_Tick = now;
            sprite.Play_Sound();
            if (sprite.Sprite_Kind != Sprite_Kind_Damage) {
                ++pos;
                continue;
            }
            // Out of the list before it deals the damage, so nothing the damage sets off can reach it.
            const std::unique_ptr<TSprite> damage = std::move(Sprites_[pos]);
            Sprites_.erase(Sprites_.begin() + static_cast<std::ptrdiff_t>(pos));
            removed_ids.push_back(damage->Sprite_Id);
            damage->Apply_Damage();
        }
    }
}

void TSprites_List::Update() {
    const uint64_t now = Get_Ticks_64();
    const uint64_t first_new = Next_Serial_;
    const std::size_t count = Sprites_.size();
    std::vector<uint32_t> removed_ids;
    // By position up to the count at the start: the sprite that moves into a removed one's position waits
    // for the next update, as do the sprites made during this one.
    for (std::size_t pos = 0; pos < count && pos < Sprites_.size(); ++pos) {
        TSprite& sprite = *Sprites_[pos];
        if (!sprite.Active || sprite.Serial_ >= first_new) continue;
        if (!Step(sprite, now)) continue;
        removed_ids.push_back(Sprites_[pos]->Sprite_Id);
        Sprites_.erase(Sprites_.begin() + static_cast<std::ptrdiff_t>(pos));
    }
    Wake_Waiters(removed_ids, now);
    Forget_Missile_Squares();
}

// ---------------------------------------------------------------------------------------------------------
// Missiles for path finding

void TSprites_List::Find_Missile_Squares() const {
    for (const auto& [x, y] : Missile_Squares_)
        if (On_Map(x, y)) Missile_Grid_[Grid_Index(x, y)] = 0;
    Missile_Squares_.clear();
    for (const auto& sprite : Sprites_) {
        if (!sprite->Active || sprite->Sprite_Kind != Sprite_Kind_Missile) continue;
        const auto [x, y] = Centre_Square(*sprite);
        const int32_t cx = static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
        const int32_t cy = static_cast<int32_t>(std::clamp<int64_t>(y, INT32_MIN, INT32_MAX));
        Missile_Squares_.emplace_back(cx, cy);
        if (!On_Map(cx, cy)) continue;
        if (Missile_Grid_.empty()) Missile_Grid_.assign(Grid_Index(Map_Width, Map_Height) + 1, 0);
        Missile_Grid_[Grid_Index(cx, cy)] = 1;
    }
    Missile_Squares_Known_ = true;
}

bool TSprites_List::Is_Missile_At(int32_t x, int32_t y) const {
    if (!Missile_Squares_Known_) Find_Missile_Squares();
    if (Missile_Squares_.empty()) return false;
    if (On_Map(x, y)) return !Missile_Grid_.empty() && Missile_Grid_[Grid_Index(x, y)] != 0;
    return std::find(Missile_Squares_.begin(), Missile_Squares_.end(), std::make_pair(x, y)) !=
           Missile_Squares_.end();
}

// ---------------------------------------------------------------------------------------------------------
// The program's list

namespace {
std::unique_ptr<TSprites_List> Installed_List;
} // namespace

TSprites_List* Sprites_List() {
    return Installed_List.get();
}

void Install_Sprites_List(std::unique_ptr<TSprites_List> list) {
    Installed_List = std::move(list);
    if (Installed_List)
        Set_Missile_Query([](int32_t x, int32_t y) {
            const TSprites_List* sprites = Sprites_List();
            return sprites && sprites->Is_Missile_At(x, y);
        });
    else
        Set_Missile_Query(nullptr);
}

std::unique_ptr<TSprites_List> Remove_Sprites_List() {
    Set_Missile_Query(nullptr);
    return std::move(Installed_List);
}
