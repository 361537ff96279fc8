// The small value classes that items, spells, traps and natural attacks carry: a damage range with its
// reach and firing effect, the requirements a creature must meet to use an item or spell, and the list of
// free-form attributes every item carries.
#pragma once

#include "core/DataFileLoader.h"
#include "core/Effects.h"
#include "core/NameTables.h"
#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------------------
// Damage

class TDamage {
public:
    uint16_t Min = 0;
    uint16_t Max = 0;
    uint8_t Range = 0;     // maximum range in squares; 0 for melee
    uint8_t Firing_FX = 0; // display effect shown when fired (index into the display-effect table); 0: none
    int32_t Rolled_Amount = 0; // the amount rolled for the blow being resolved; never saved
    int32_t Spell_Amount = 0;  // what spell casting puts on the damage before it is applied; never saved
    TEffect_List Effects;      // the effects the blow carries; never saved with the damage

    TDamage() = default;
    TDamage(const TDamage& other) { Assign(other); }
    TDamage& operator=(const TDamage& other) {
        Assign(other);
        return *this;
    }

    // Copies every field, the effects included.
    void Assign(const TDamage& other);

    // Min, Max, Range (as a word) and Firing_FX. The rolled and spell amounts and the effects are not part of
    // the record.
    void Save_To_Stream(TStream_Writer& writer) const;
    bool Load_From_Stream(TStream_Reader& reader);

    // Reads prefix + "Damage Amount Min", "Damage Amount Max", "Damage Maximum Range" and "Damage Firing FX".
    // A missing number leaves its field as it was. The firing effect is "None" or the exact name of a
    // display effect; anything else (a missing key included) gives 0 and is reported.
    void Read_From_Data_File(const std::string& prefix, const TField_Reader& loader);

    void Set(uint16_t min, uint16_t max, uint8_t range, uint8_t firing_fx);

    // Random_Range(Min, Max): Min when Max < Min.
    int32_t Roll() const;
    // "Min - Max".
    std::string Text() const;

    // The results are held to 0..65535. Min is kept at or below Max by Set_Min and Add_Min only: creation
    // sets the minimum first and the maximum after it, so Max < Min can occur (Roll then gives Min).
    void Add_Min(int32_t n);
    void Add_Max(int32_t n);
    void Set_Min(int32_t n);
    void Set_Max(int32_t n);

    // Adds the other's Min and Max; Range and Firing_FX become the other's, even when 0.
    void Add(const TDamage& other);
};

// ---------------------------------------------------------------------------------------------------------
// Requirements

// Requirement types.
enum : uint8_t {
    Requirement_None = 0,
    Requirement_Level = 1,
    Requirement_Class = 2,
    Requirement_Strength = 3,
    Requirement_Dexterity = 4,
    Requirement_Intelligence = 5,
    Requirement_Constitution = 6,
    Requirement_Mana = 7,
    Requirement_Health = 8,
    Requirement_Not_Class = 9,
};

// Per-level kinds (the Amount_Type_Names words).
enum : uint8_t {
    Amount_Number = 1,
    Amount_Percent = 2,
};

// Appends the per-level growth of the effects an effect list has just read from a record to three lists
// kept parallel to them, one entry per number of effect_numbers (the file numbers the effect list reported
// for the effects it appended): prefix + "Effect n Per Level Modifier Type" (Amount_Number or
// Amount_Percent), " Min Amt Per Level Modifier" and " Max Amt Per Level Modifier". The effect list skips an
// effect whose type it rejects, so its entries and the effect numbers of the file part ways after such an
// effect: the modifiers of each appended effect are read under that effect's number in the file; reading
// them by list position would put later modifiers on the wrong effects. An unusable kind is reported and
// gives the effect kind 0 and amounts 0 rather than no entry, so no later effect takes another's growth.
void Read_Effect_Level_Modifiers(const std::string& prefix, const std::vector<int32_t>& effect_numbers,
                                 const TField_Reader& reader, TWordList& kinds, TWordList& min_amounts,
                                 TWordList& max_amounts);

extern const TName_Table Requirement_Type_Names; // 0..9
inline std::string Requirement_Type_Name(int code) {
    return Name_Of(Requirement_Type_Names, code);
}

// What requirements read of a creature: its current (effective) values. The creature model implements it.
class TCreature_Statistics {
public:
    virtual ~TCreature_Statistics() = default;
    virtual int32_t Current_Level() const = 0;
    virtual int32_t Current_Class_Index() const = 0; // 0 for a monster
    virtual int32_t Current_Strength() const = 0;
    virtual int32_t Current_Dexterity() const = 0;
    virtual int32_t Current_Intelligence() const = 0;
    virtual int32_t Current_Constitution() const = 0;
    virtual int32_t Current_Max_Mana() const = 0;
    virtual int32_t Current_Max_Life() const = 0;
};

// The name of a character class by its index, filled in by the class table once it exists. Unset, or for
// an index that names no loaded class, it gives "": a class index in item data is not trusted.
using TClass_Name_Lookup = std::function<std::string(int32_t class_index)>;
void Set_Class_Name_Lookup(TClass_Name_Lookup lookup); // an empty function unsets it
std::string Character_Class_Name(int32_t class_index);

class TRequirements {
public:
    // Four parallel lists; requirement n is the n-th element of each, counted from 1.
    TbyteList Types;             // Requirement_Level .. Requirement_Not_Class
    TLongintList Amounts;        // the amount at level 1; a class index for the class types
    TbyteList Per_Level_Kinds;   // Amount_Number or Amount_Percent
    TWordList Per_Level_Amounts; // what each level above 1 adds

    int32_t Count() const { return Types.Count(); }

    void Assign(const TRequirements& other);
    // Whether n more requirements fit; Append raises EListError, appending nothing, when they do not.
    bool Can_Add(int32_t n = 1) const;
    // Appends every requirement of the other (the requirements themselves included).
    void Append(const TRequirements& other);

    void Save_To_Stream(TStream_Writer& writer) const;
    // Raises EStream_Read_Error when the four lists read differ in length.
    bool Load_From_Stream(TStream_Reader& reader);

    // Appends the requirements of prefix + "Number of Requirements" and prefix + "Requirement n ...". An
    // unknown type is reported as "Requirement Type" and skipped; an unknown per-level kind is reported and
    // drops its requirement. The following requirements are still read.
    void Read_From_Data_File(const std::string& prefix, const TField_Reader& loader);

    // The amount requirement n asks for at the level: Number adds the per-level amount for every level above
    // 1, Percent grows the amount by per-level percent per level. 0 for n outside 1..Count.
    int32_t Amount_At_Level(int32_t n, int32_t level) const;
    // The player's text for requirement n at the level; empty for n outside 1..Count.
    std::string Requirement_Text(int32_t n, int32_t level) const;
    // Whether the creature meets every requirement at the level; true with no creature.
    bool Is_Met_By(const TCreature_Statistics* creature, int32_t level) const;

private:
    void Add_Requirement(uint8_t type, int32_t amount, uint8_t kind, uint16_t per_level_amount);
};

// ---------------------------------------------------------------------------------------------------------
// Attributes

// Values the game gives no meaning of its own: carried, copied, saved and loaded with their item.
struct TAttribute {
    uint16_t First_Word = 0;
    int32_t Long_Value = 0;
    bool Flag = false;
    uint8_t Byte_Value = 0;
    uint16_t Second_Word = 0;
    uint16_t Third_Word = 0;

    void Assign(const TAttribute& other) { *this = other; }
    bool operator==(const TAttribute&) const = default;
    void Save_To_Stream(TStream_Writer& writer) const;
    bool Load_From_Stream(TStream_Reader& reader);
};

// Positions count from 1; a position holds an attribute or a hole, and holes survive copies and saves.
class TAttributes_List {
public:
    TAttributes_List() = default;
    TAttributes_List(const TAttributes_List& other) { Assign(other); }
    TAttributes_List& operator=(const TAttributes_List& other) {
        Assign(other);
        return *this;
    }
    TAttributes_List(TAttributes_List&&) noexcept = default;
    TAttributes_List& operator=(TAttributes_List&&) noexcept = default;

    void Clear() { Entries_.clear(); }
    uint16_t Count() const { return static_cast<uint16_t>(Entries_.size()); }
    // Null for a hole, for 0 and for a position above Count.
    TAttribute* Attribute(int32_t n);
    const TAttribute* Attribute(int32_t n) const;
    // Appends a copy of the attribute, or a hole when given null.
    void Add(const TAttribute* attribute);
    void Add_Copy(const TAttribute* attribute) { Add(attribute); }
    void Assign(const TAttributes_List& other);

    // The count, then per position a flag and the attribute when there is one. Raises EStream_Write_Error
    // beyond 65535 positions, which the count cannot express.
    void Save_To_Stream(TStream_Writer& writer) const;
    bool Load_From_Stream(TStream_Reader& reader);

private:
    std::vector<std::unique_ptr<TAttribute>> Entries_;
};
