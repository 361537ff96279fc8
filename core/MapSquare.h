// One square of the level map: the terrain kind lying there, the item or item pile on it, the creature
// standing on it, what the player knows about it and the border drawn on it. Everything a square holds is
// an id, resolved through the current map; ids come from map files, so an id that no longer resolves reads
// as "nothing here".
#pragma once

#include "core/GlobalFuncs.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <string>

class TItem;
class TItem_Collection;
class TMonster;
class TTerrain;

// Bits of TMap_Square::Flags. Bits 2, 4 and 10..15 are unused and stay 0.
enum : uint8_t {
    Square_Flag_Seen = 0,            // the player has seen it: drawn from memory, shown on the overview
    Square_Flag_Pile = 1,            // Item_Field is a pile index
    Square_Flag_Entrance = 3,        // the entrance of a map connection
    Square_Flag_Locked = 5,          // its lock is recorded in the map's lock list
    Square_Flag_Trapped = 6,         // its trap is recorded in the map's trap list
    Square_Flag_Secret_Searched = 7, // the one search roll for its secret door has been made
    Square_Flag_Secret_Found = 8,    // that roll succeeded
    Square_Flag_Pick_Tried = 9,      // a lock pick was tried; later tries fail at once
};

// Border pictures 1..15 (north, east, south, west and their combinations); 0 is none.
constexpr uint8_t Max_Border_Type = 15;

// Which terrain layers the map view leaves out when it draws a square.
struct TSquare_Hiding {
    bool Hide_Layer_2 = false;
    bool Hide_Layer_3 = false;
    bool operator==(const TSquare_Hiding&) const = default;
};

class TMap_Square {
public:
    uint16_t Terrain_Id = 0; // position in the map's terrain list; 0 = no terrain
    uint16_t Item_Field = 0; // 0 = nothing; an item id, or a pile index when the Pile flag is set
    uint16_t Monster_Id = 0; // 0 = no creature
    uint16_t Flags = 0;
    uint8_t Border_Type = 0;

    bool Is_Seen() const { return Flag(Square_Flag_Seen); }
    void Set_Seen(bool on) { Set_Flag(Square_Flag_Seen, on); }
    bool Is_Pile() const { return Flag(Square_Flag_Pile); }
    bool Has_Pile() const { return Is_Pile(); }
    void Set_Pile(bool on) { Set_Flag(Square_Flag_Pile, on); }
    bool Is_Entrance() const { return Flag(Square_Flag_Entrance); }
    void Set_Entrance(bool on) { Set_Flag(Square_Flag_Entrance, on); }
    bool Is_Locked() const { return Flag(Square_Flag_Locked); }
    void Set_Locked(bool on) { Set_Flag(Square_Flag_Locked, on); }
    bool Is_Trapped() const { return Flag(Square_Flag_Trapped); }
    void Set_Trapped(bool on) { Set_Flag(Square_Flag_Trapped, on); }
    bool Is_Secret_Searched() const { return Flag(Square_Flag_Secret_Searched); }
    void Set_Secret_Searched(bool on) { Set_Flag(Square_Flag_Secret_Searched, on); }
    bool Is_Secret_Found() const { return Flag(Square_Flag_Secret_Found); }
    void Set_Secret_Found(bool on) { Set_Flag(Square_Flag_Secret_Found, on); }
    bool Is_Pick_Tried() const { return Flag(Square_Flag_Pick_Tried); }
    void Set_Pick_Tried(bool on) { Set_Flag(Square_Flag_Pick_Tried, on); }

    // Terrain queries; with no terrain (or an id the terrain list does not hold) they answer 0, false or
    // empty.
    TTerrain* Get_Terrain() const;
    TTerrain* Get_Terrain_Object() const { return Get_Terrain(); }
    uint32_t Get_Map_Color() const;
    // The larger of the terrain's light radius and that of the creature standing here.
    uint8_t Get_Light_Radius() const;
    bool Lets_Sight_Through(uint8_t vision_kind) const;
    // The terrain allows the movement kind and no creature stands here.
    bool Is_Free(uint8_t movement_kind) const;
    TString_List Get_Terrain_Categories() const;
    // The description of a terrain whose action is "Look"; else empty.
    std::string Get_Terrain_Text() const;
    bool Shows_Chest_Window() const;

    void Set_Monster(const TMonster& creature);
    void Clear_Monster() { Monster_Id = 0; }
    // The creature standing here; null when none, or when the id names no creature.
    TMonster* Get_Monster() const;

    // The pile this square refers to; null without the Pile flag or when the map has no such pile.
    TItem_Collection* Get_Pile() const;
    // The pile's first item whose id resolves, or the single item; null when there is none.
    TItem* Get_Top_Item() const;
    // Puts the item on the square: into its pile, as its single item, or (onto a single item) into a new
    // pile holding the old item and then the new one. False for no item, or a pile the map does not hold.
    bool Drop_Item(TItem* item);
    // Hands the creature the item drawn on top: a pile's last item (unlike Get_Top_Item, which answers
    // the first), or the single item. Ids whose items are gone are dropped first (an emptied pile is
    // freed). False, leaving the square otherwise as it was, when there is nothing or the creature cannot
    // take it; an item the creature refuses after all is dropped back.
    bool Pick_Up_Item(TMonster& creature);

    // The map view's hiding rule. A square drawn from memory hides its terrain's sight-hidden layer; a
    // visible one hides it when the player looks from the far side: dx, dy are the square's position minus
    // the player's (-7..7: the view's cell offset from its window origin, minus 7). The terrain's
    // Sight_Hidden_Layer picks layer 2 or 3; any other value hides nothing.
    TSquare_Hiding Hidden_Layers(bool visible, int32_t dx, int32_t dy) const;
    // Whether the secret-door marker is shown on a square being drawn visible. Only for an "Open Secret"
    // terrain whose layer 3 is shown; the player gets one roll per square (a failed roll is never
    // repeated), made the first time the square is drawn visible, even with no player.
    bool Search_Secret_Door(const TSquare_Hiding& hiding);

    // The square in the map view at x, y of the surface, dx and dy being its position minus the player's:
    // the terrain with the hiding rule; a square drawn from memory (not visible) stops there. Then the
    // items in pile order (the last on top), the creature, and the secret-door marker when the search
    // (made here, once per square) finds the door.
    void Draw(int32_t surface, int32_t x, int32_t dy, int32_t dx, bool visible, int32_t y);
    // The same picture without making the search: a door found earlier shows its marker, one not yet
    // searched does not. For picking squares under the mouse, which must not roll the player's search.
    void Draw_As_Seen(int32_t surface, int32_t x, int32_t dy, int32_t dx, bool visible, int32_t y) const;
    // Every layer, the border, the items and the creature: no hiding, no search (developer screens and the
    // information panel).
    void Draw_Plain(int32_t surface, int32_t x, int32_t y) const;

    // The border picture the view draws over layer 1; 0 (none) for a value outside 1..15 read from a file.
    uint8_t Border_To_Draw() const { return Border_Type <= Max_Border_Type ? Border_Type : 0; }

    // Terrain_Id, Item_Field, Monster_Id and Flags as words, then Border_Type as a byte.
    bool Save(TStream_Writer& w) const;
    bool Load(TStream_Reader& r);
    void Assign(const TMap_Square& other) { *this = other; }
    void Clear() { *this = TMap_Square(); }
    bool operator==(const TMap_Square&) const = default;

private:
    bool Flag(uint8_t bit) const { return Bit_Is_Set(Flags, bit); }
    void Set_Flag(uint8_t bit, bool on) { Set_Bit(Flags, bit, on); }
    // The single item, or the pile's last; null when none.
    TItem* Candidate_For_Pick_Up() const;
    // Removes the ids whose items are gone from the square and its pile; a pile left with one item becomes
    // that single item, an empty one is freed.
    void Drop_Stale_Ids();
};
