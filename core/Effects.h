// Effect lists: every magical or numeric property of an item, a spell, a natural attack, a trap, a creature
// or a monster modifier is an entry of an effect list (an effect type 1..77 with a minimum and a maximum
// amount and, for elemental damage, a damage variance).
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <string>
#include <vector>

// The effect types, named after their words in Effect_Type_Name.
enum : uint8_t {
    Effect_Attack_Ignores_Targets_Defense = 1,
    Effect_Attack_Ability = 2,
    Effect_Attacker_Takes_Damage = 3,
    Effect_Cold_Damage = 4,
    Effect_Cold_Resist = 5,
    Effect_Constitution = 6,
    Effect_Damage = 7,
    Effect_Damage_Generates_Mana = 8,
    Effect_Damage_Reduction = 9,
    Effect_Defense_Ability = 10,
    Effect_Dexterity = 11,
    Effect_Each_Kill_Regenerates_Mana = 12,
    Effect_Fire_Damage = 13,
    Effect_Fire_Resist = 14,
    Effect_Gold_Value = 15,
    Effect_Intelligence = 16,
    Effect_Life = 17,
    Effect_Life_Current = 18,
    Effect_Life_Regeneration = 19,
    Effect_Life_Stolen = 20,
    Effect_Light_Radius = 21,
    Effect_Lightning_Damage = 22,
    Effect_Lightning_Resist = 23,
    Effect_Magic_Damage = 24,
    Effect_Magic_Resist = 25,
    Effect_Make_Monsters_Flee = 26,
    Effect_Mana = 27,
    Effect_Mana_Regeneration = 28,
    Effect_Mana_Current = 29,
    Effect_Mana_Stolen = 30,
    Effect_Maximum_Damage = 31,
    Effect_Minimum_Damage = 32,
    Effect_Monster_Increase_Health = 33,
    Effect_Monster_Increase_Attack_Ability = 34,
    Effect_Monster_Increase_Defense_Ability = 35,
    Effect_Monster_Increase_Min_Damage = 36,
    Effect_Monster_Increase_Max_Damage = 37,
    Effect_Monster_Increase_Move_Speed = 38,
    Effect_Monster_Increase_Attack_Speed = 39,
    Effect_Monster_Increase_Damage_Resistance = 40,
    Effect_More_Gold = 41,
    Effect_Poison_Damage = 42,
    Effect_Poison_Length_Reduction = 43,
    Effect_Poison_Resist = 44,
    Effect_Reduce_Target_Defense = 45,
    Effect_Reduce_Target_Resist_All = 46,
    Effect_Resist_All = 47,
    Effect_Skill_Levels = 48,
    Effect_Strength = 49,
    Effect_Two_Weapons = 50,
    Effect_Bash_Doors = 51,
    Effect_Detect_Secret_Doors = 52,
    Effect_Detect_Traps = 53,
    Effect_Pick_Locks = 54,
    Effect_Reduced_Detection_Chance = 55,
    Effect_Physical_Resist = 56,
    Effect_Reduce_Target_Attack_Ability = 57,
    Effect_Cure_Poison = 58,
    Effect_Detect_Evil = 59,
    Effect_Decrease_Current_Hunger = 60,
    Effect_Blind_Target = 61,
    Effect_Change_Allegiance = 62,
    Effect_Reduce_Target_Damage = 63,
    Effect_Damage_All = 64,
    Effect_Remove_Curse = 65,
    Effect_Cause_Sleep = 66,
    Effect_Dispel_Undead = 67,
    Effect_Reduce_Target_Movement = 68,
    Effect_Hunger = 69,
    Effect_Weight = 70,
    Effect_Paralyze_Target = 71,
    Effect_Teleport = 72,
    Effect_Reduce_Movement = 73,
    Effect_Reduce_Attack_Ability = 74,
    Effect_Reduce_Defense_Ability = 75,
    Effect_Reduce_Resist_All = 76,
    Effect_Reduce_Damage = 77,
};
constexpr int Effect_Type_Count = 77;

// Cold, fire, lightning, magic and poison damage: the types that roll a damage range.
bool Is_Elemental_Damage_Type(int32_t type);

// What Roll_Amount gives: a damage effect a rolled range First..Second, any other effect an amount in
// First (Second 0).
struct TRolled_Amount {
    int32_t First = 0;
    int32_t Second = 0;
};

// Four parallel lists of equal length; entry n (from 1) is the n-th element of each. Positions outside
// 1..Get_Count raise EListError unless an operation says otherwise.
class TEffect_List {
public:
    int32_t Get_Count() const { return Types_.Count(); }

    // Each list becomes a copy of the other's (assigning the list to itself changes nothing).
    void Assign(const TEffect_List& other);
    void Clear();
    // Appends every entry of the other list after the existing ones; appending a list to itself doubles it.
    void Append(const TEffect_List& other);
    // The other way about: appends this list's entries to the other list.
    void Append_To(TEffect_List& other) const;

    bool Has_Effect(int32_t type) const;
    // Whether n more entries fit. Add_Effect and Append raise EListError, appending nothing, when they do
    // not.
    bool Can_Add(int32_t n = 1) const;
    // Appends an entry with variance 0.
    void Add_Effect(uint8_t type, int32_t min, int32_t max);
    void Delete_Effect(int32_t n);
    // Does nothing when n is outside 1..Get_Count.
    void Set_Amounts(int32_t n, int32_t min, int32_t max);

    uint8_t Get_Effect_Type(int32_t n) const;
    int32_t Get_Min_Amount(int32_t n) const;
    int32_t Get_Max_Amount(int32_t n) const;
    int32_t Get_Damage_Variance(int32_t n) const;

    // Always draws Random_Range(min, max) first, whatever the type, so the random sequence of a fight does
    // not depend on which effects are damage; an elemental damage type then gives its (varied) range.
    TRolled_Amount Roll_Amount(int32_t n) const;
    // Sum of the min amounts of the entries of that type (clamped to the 32-bit range).
    int32_t Total_Amount(int32_t type) const;
    // Among elemental damage and Dispel Undead entries, the type of the one with the largest max amount
    // (the earliest wins a tie); 0 when there is none or no max is above 0.
    uint8_t Strongest_Damage_Type() const;
    // The largest max amount among elemental damage entries (Dispel Undead is not damage here); 0 when none.
    int32_t Max_Damage_Amount() const;

    int32_t Monster_Increase_Health_Total() const { return Total_Amount(Effect_Monster_Increase_Health); }
    int32_t Monster_Increase_Attack_Ability_Total() const {
        return Total_Amount(Effect_Monster_Increase_Attack_Ability);
    }
    int32_t Monster_Increase_Defense_Ability_Total() const {
        return Total_Amount(Effect_Monster_Increase_Defense_Ability);
    }
    int32_t Monster_Increase_Min_Damage_Total() const {
        return Total_Amount(Effect_Monster_Increase_Min_Damage);
    }
    int32_t Monster_Increase_Max_Damage_Total() const {
        return Total_Amount(Effect_Monster_Increase_Max_Damage);
    }
    int32_t Monster_Increase_Move_Speed_Total() const {
        return Total_Amount(Effect_Monster_Increase_Move_Speed);
    }

    // Types, min amounts and max amounts; variances are not saved.
    void Write(TStream_Writer& w) const;
    // Replaces the list with the stream's; every variance becomes 0. Raises EStream_Read_Error (and leaves
    // the list as it was) when the stream is bad or its three lists differ in length.
    void Read(TStream_Reader& r);

    // Appends the effects of a record: prefix + "Number of Effects", then per effect n the keys
    // prefix + "Effect n Type" / " Min Amount" / " Max Amount" / " Damage Variance". Never clears the list;
    // a type name that does not match exactly is reported and skipped, and the next effect is still read.
    // With appended_numbers, the file numbers n of the effects appended are added to it, in order.
    void Read_From_Data_File(const std::string& prefix, const TField_Reader& reader,
                             std::vector<int32_t>* appended_numbers = nullptr);

    // Effect_Description of entry n.
    std::string Get_Description(int32_t n, bool with_plus) const;

private:
    void Check_Position(int32_t n) const;
    void Check_Room(int32_t n) const;

    TbyteList Types_;
    TLongintList Min_Amounts_;
    TLongintList Max_Amounts_;
    TLongintList Damage_Variances_;
};

// The player's text for an effect; damage types show min-max, every other type the min alone. with_plus
// puts a "+" where the text has a sign. Empty for type 40 and for any type outside 1..77 (a save may hold
// one).
std::string Effect_Description(int32_t type, int32_t min, int32_t max, bool with_plus);
