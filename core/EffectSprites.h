// Effect sprites: the short-lived pictures of the map view, and the carriers of late combat results. A hit
// or spell effect on a square, an effect that follows a creature, a bolt flying to a square, a missile that
// strikes the first creature or obstacle in its way, and the invisible sprite that deals a missile's or a
// blow's damage when the sprite it waits for is gone. The screen's attack and missile handlers create
// them, the game tick updates them, the map view draws them and path finding asks where missiles fly.
//
// A sprite can wait for another: it stays inactive and silent until that sprite is removed in an update,
// which chains a missile, its impact and its damage. Times are milliseconds of the program clock, and
// lifetimes are given at 100 % game speed.
#pragma once

#include "core/Callbacks.h"
#include "core/Damage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Sprite kinds.
enum : uint16_t {
    Sprite_Kind_Static = 1,  // stays on a square
    Sprite_Kind_Moving = 2,  // flies to a square and ends there
    Sprite_Kind_Damage = 3,  // no picture: deals its damage when it becomes active
    Sprite_Kind_Missile = 4, // flies until it strikes a creature or an obstacle
    Sprite_Kind_Monster = 5, // follows a creature
};

// Display kinds: what a sprite shows.
enum : uint16_t {
    Sprite_Display_None = 0,
    Sprite_Display_Damage_FX =
        1,                     // a cell of the damage-effect sheet: Display_Param is the row (3 cells each)
    Sprite_Display_Effect = 2, // a display effect (Display_Index), frame Frame
};

// Pixels per square side along each axis of the map.
constexpr int32_t Sprite_Square_Pixels = 28;
// An animated sprite shows each frame for more than this many milliseconds, whatever the game speed.
constexpr int32_t Sprite_Frame_Delay = 100;

class TSprite {
public:
    uint32_t Sprite_Id = 0; // never given twice by its list, never 0
    bool Active = false;    // false while it waits for another sprite
    uint16_t Sprite_Kind = 0;
    uint16_t Display_Kind = Sprite_Display_None;
    int32_t Display_Index = 0; // the cell within its row, or the display effect
    int32_t Display_Param = 0; // the row of the damage-effect sheet
    uint16_t Attacker_Id = 0;  // the creature that launched a missile or deals the damage
    uint16_t Target_Id = 0;    // the creature followed, or hit by the damage
    uint16_t Start_X = 0, Start_Y = 0;
    uint16_t Target_X = 0, Target_Y = 0;
    double Pos_X = 0, Pos_Y = 0;       // map pixels (square x 28) of a flying sprite
    double Vel_X = 0, Vel_Y = 0;       // pixels per update
    uint32_t Wait_For_Id = 0;          // the sprite whose removal activates this one; 0 none
    uint64_t Start_Tick = 0;           // created or activated; then the time of the last frame change
    int32_t Lifetime = 0;              // ms at 100 % game speed; 0 no limit
    std::string Sound_File;            // played when it becomes active
    uint16_t Sound_X = 0, Sound_Y = 0; // square the sound comes from; 0 not positioned
    // The animation frame from 1 (display effects), or for a flying sprite the direction it flies in,
    // which picks the picture of a directional effect.
    int32_t Frame = 0;
    bool Ends_With_Animation = false; // removed after its last frame instead of by Lifetime
    bool Animated = false;            // the frame advances
    TDamage Damage;                   // what a missile or damage sprite deals
    std::string Attacker_Name;        // named in the death report
    int32_t Impact_Display_Kind = 0, Impact_Display_Index = 0, Impact_Display_Param = 0;
    std::string Impact_Sound;
    TCallback_Set Callbacks;

    // The frames of its display effect (8 for an index the table does not hold); 0 for other display kinds.
    int32_t Get_Frame_Count() const;
    // Nothing while inactive or without a sound; heard from its square by the player when it has one and
    // there is a player, else plainly.
    void Play_Sound() const;
    // Deals the carried damage from the attacker to the target (both looked up on the current map).
    void Apply_Damage() const;
    // Its picture in the square whose cell is at x, y: a damage-effect cell (row Display_Param, cell
    // Display_Index) or frame Frame of its display effect when the table holds it; other kinds nothing.
    void Draw(int32_t surface, int32_t x, int32_t y) const;

private:
    friend class TSprites_List;
    uint64_t Serial_ = 0; // creation order: sprites made during an update wait for the next one
};

// The square under a flying sprite and its pixel offset within it (0..27 each), as the map view places
// its picture: the square is Trunc(Pos / 28), unlike the centre (Pos + 14) that strikes and path finding
// use.
struct TSprite_Placement {
    int32_t Square_X = 0, Square_Y = 0;
    int32_t Offset_X = 0, Offset_Y = 0;
    bool operator==(const TSprite_Placement&) const = default;
};
TSprite_Placement Flying_Sprite_Placement(double pos_x, double pos_y);

// The picture direction of a velocity, 1..8 clockwise from up-right (2 right, 4 down, 6 left, 8 up), with
// y growing downward. A velocity of 0 gives 8.
int32_t Get_Sprite_Direction(double vel_x, double vel_y);

// The sprites in play, in creation order (positions from 1; removal closes the gap).
class TSprites_List {
public:
    TSprites_List() = default;
    TSprites_List(const TSprites_List&) = delete;
    TSprites_List& operator=(const TSprites_List&) = delete;

    // Each Add_ returns the new sprite's id. The sprite is active unless wait_for_id is not 0; an active
    // one plays its sound at once. A display effect (display kind 2) ends with its animation; flying
    // sprites show their direction instead and end by arrival, strike or lifetime.
    uint32_t Add_Static_Sprite(int32_t x, int32_t y, const TCallback_Set& callbacks, const std::string& sound,
                               int32_t sound_x, int32_t sound_y, uint32_t wait_for_id, int32_t lifetime,
                               int32_t display_kind, int32_t display_index, int32_t display_param);
    uint32_t Add_Monster_Sprite(uint16_t creature_id, const TCallback_Set& callbacks,
                                const std::string& sound, int32_t sound_x, int32_t sound_y,
                                uint32_t wait_for_id, int32_t lifetime, int32_t display_kind,
                                int32_t display_index, int32_t display_param);
    uint32_t Add_Moving_Sprite(int32_t from_x, int32_t from_y, int32_t to_x, int32_t to_y,
                               const TCallback_Set& callbacks, const std::string& sound, int32_t sound_x,
                               int32_t sound_y, uint32_t wait_for_id, int32_t lifetime, int32_t display_kind,
                               int32_t display_index, int32_t display_param);
    uint32_t Add_Missile_Sprite(uint16_t attacker_id, const std::string& attacker_name, const TDamage& damage,
                                int32_t from_x, int32_t from_y, int32_t to_x, int32_t to_y,
                                const std::string& impact_sound, int32_t impact_display_kind,
                                int32_t impact_display_index, int32_t impact_display_param,
                                const TCallback_Set& callbacks, const std::string& sound, int32_t sound_x,
                                int32_t sound_y, uint32_t wait_for_id, int32_t lifetime, int32_t display_kind,
                                int32_t display_index, int32_t display_param);
    // No picture, no sound, no lifetime: it deals the damage when the sprite it waits for is removed. One
    // created with wait_for_id 0 never deals it.
    uint32_t Add_Damage_Sprite(uint16_t attacker_id, uint16_t target_id, const TCallback_Set& callbacks,
                               const std::string& attacker_name, const TDamage& damage, uint32_t wait_for_id);

    int32_t Count() const { return static_cast<int32_t>(Sprites_.size()); }
    // The sprite at position n (from 1); null for 0 and beyond the count. Read-only: sprites change only
    // through the list, which keeps what Is_Missile_At answers from.
    const TSprite* Get_Sprite(int32_t n) const;
    // Frees the last sprite with the id. Its waiters are not woken: only an update wakes them.
    void Remove_Sprite(uint32_t id);
    void Clear();
    // Drops the sprites that hold creature ids (delayed damage, missiles, sprites that follow a creature)
    // and every waiting sprite; pictures on squares run out. Called when the map changes or a game is
    // loaded: there the ids would name other creatures, and delayed damage could hit the player.
    void Clear_Creature_Sprites();

    // One game tick: every active sprite at positions 1 .. the count at the start (sprites made during the
    // update start in the next one) expires, ends its animation, moves, arrives or strikes, and animates;
    // then the waiters of every sprite removed in this update become active, and a damage sprite so woken
    // deals its damage and is removed (waking its own waiters).
    void Update();

    // Draws the active sprites on square x, y whose cell is at screen_x, screen_y, in list order: a static
    // sprite on its square, a flying one on the square under its corner moved by its offset within it,
    // one following a creature where that creature stands.
    void Draw_At_Square(int32_t surface, int32_t x, int32_t y, int32_t screen_x, int32_t screen_y) const;

    // Whether an active missile's centre is over the square. False at once while no missile is active.
    bool Is_Missile_At(int32_t x, int32_t y) const;

private:
    TSprite& Add_Sprite(uint16_t kind, const TCallback_Set& callbacks, const std::string& sound,
                        int32_t sound_x, int32_t sound_y, uint32_t wait_for_id, int32_t lifetime,
                        int32_t display_kind, int32_t display_index, int32_t display_param);
    // Sets position and velocity of a flying sprite, and its direction as frame.
    static void Launch(TSprite& sprite, int32_t from_x, int32_t from_y, int32_t to_x, int32_t to_y);
    uint32_t Next_Free_Id();
    bool Id_In_Use(uint32_t id) const;
    // One sprite's step of the update; true when it is to be removed.
    bool Step(TSprite& sprite, uint64_t now);
    // Whether the missile strikes something on the square under its centre; a strike adds the impact and,
    // for a creature, the damage sprite waiting for the missile.
    bool Strike(const TSprite& missile);
    // Activates the waiters of each removed id in turn; a damage sprite among them deals its damage and is
    // removed, and its id joins the list.
    void Wake_Waiters(std::vector<uint32_t>& removed_ids, uint64_t now);
    // Every operation that changes sprites forgets the squares Is_Missile_At answers from.
    void Forget_Missile_Squares() { Missile_Squares_Known_ = false; }
    void Find_Missile_Squares() const;

    std::vector<std::unique_ptr<TSprite>> Sprites_;
    uint32_t Next_Id_ = 1;
    bool Ids_Wrapped_ = false; // after 2^32 - 1 ids a new id must be checked against those in use
    uint64_t Next_Serial_ = 1;

    mutable bool Missile_Squares_Known_ = false;
    // The squares under the centres of the active missiles, and the same as a grid over the map for the
    // path search, which asks for every square it considers.
    mutable std::vector<std::pair<int32_t, int32_t>> Missile_Squares_;
    mutable std::vector<uint8_t> Missile_Grid_;
};

// The program's sprite list, created with the other game objects at start-up. Installing one also lets
// path finding see its missiles; removing it (or installing null) leaves path finding with none. Null
// when none is installed.
TSprites_List* Sprites_List();
void Install_Sprites_List(std::unique_ptr<TSprites_List> list);
std::unique_ptr<TSprites_List> Remove_Sprites_List();
