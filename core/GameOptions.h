// Options of one game in progress, saved with it.
#pragma once

#include "core/SaveStream.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

struct TWeapon_Set {
    std::string First_Item_Name;
    uint16_t First_Item_Id = 0;
    std::string Second_Item_Name;
    uint16_t Second_Item_Id = 0;
    uint16_t Spell_Slot = 0;
    bool operator==(const TWeapon_Set&) const = default;
};

class TGame_Options {
public:
    static constexpr int Weapon_Set_Count = 5;

    bool Flag_1 = true;     // stored only
    bool Flag_2 = true;     // the map view hides what stands on the darkest squares
    bool Flag_3 = false;    // the map view draws one more overlay per square
    bool Flag_4 = true;     // path finding adds the danger cost; creature moves check the terrain
    bool Flag_5 = true;     // the map view applies the line-of-sight grid
    uint8_t Difficulty = 2; // 1 easy, 2 medium, 3 hard, 4 master
    uint16_t Start_Level = 0;
    uint16_t Entry_Level = 0;
    std::string Character_Data_Set; // not stored
    std::array<TWeapon_Set, Weapon_Set_Count> Weapon_Sets{};

    void Write(TStream_Writer& w) const;
    bool Read(TStream_Reader& r);
    // The character's items got new ids in a new map: each weapon-set id is looked up once, at the last
    // position of the old ids that holds it, and replaced by the new id at that position. Replaced ids are
    // not looked up again, so (5, 7) -> (7, 9) turns 5 into 7, not 9.
    void Remap_Ids(const TWordList& old_ids, const TWordList& new_ids);
};

// The one program-wide game options object; null until created.
TGame_Options* Game_Options();
TGame_Options& Create_Game_Options();
void Free_Game_Options();
