// Spells and skills: the master spell table read once from "Data/Spells.txt", and the spells a creature
// knows with its 10-slot quick bar. A passive spell (a skill) is never cast: its effects apply to its owner.
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class TDamage;
class TEffect_List;
class TItem;

// Spell target kinds, as "Target Type" names them.
enum : uint8_t {
    Spell_Target_None = 1,     // summoning
    Spell_Target_Monster = 2,  // one creature
    Spell_Target_Self = 3,     // the caster
    Spell_Target_Location = 4, // a square
    Spell_Target_Passive = 5,  // a skill: never cast, its effects always apply
    Spell_Target_Area = 6,     // every creature around a square
};

// Per-level modifier kinds of a spell's effects.
enum : uint16_t {
    Spell_Modifier_Number = 1,  // adds level x modifier
    Spell_Modifier_Percent = 2, // multiplies by (level x modifier + 100) / 100
};

class TSpell {
public:
    TSpell();
    ~TSpell();
    TSpell(const TSpell&) = delete;
    TSpell& operator=(const TSpell&) = delete;

    // Level formulas. Levels count from 1, so level 1 gives the base and level 0 gives base - per level.
    // Mana_Cost, Duration and Area_Radius: Trunc((level - 1) x per level + base), held to Trunc(maximum)
    // when the maximum is above 0.
    int32_t Mana_Cost(int32_t level) const;
    int32_t Duration(int32_t level) const;
    int32_t Area_Radius(int32_t level) const;
    // Trunc((level - 1) x per level + base count), held to Summon_Maximum when that is above 0.
    int32_t Summon_Count(int32_t level) const;

    // Effect n (from 1) with its amounts at the level; both 0 for an n that is not an effect.
    void Effect_Amounts(int32_t n, int32_t level, int32_t& min, int32_t& max) const;
    // The description of effect n with its amounts at the level; empty for an n that is not an effect.
    std::string Effect_Text(int32_t n, bool with_plus, int32_t level) const;
    // Appends every effect (type, min, max) with its amounts at the level.
    void Add_Effects_At_Level(TEffect_List& list, int32_t level) const;
    // The sum of the minimum amounts at the level of the effects of that type.
    int32_t Effect_Sum_At_Level(uint8_t effect_type, int32_t level) const;
    bool Is_Passive() const { return Target_Type == Spell_Target_Passive; }

    // Cell Picture_Id - 1 of the spell sheet (Picture_Id 0 draws nothing); state 2 is the pressed look.
    void Draw_Icon(int32_t surface, int32_t x, int32_t state, int32_t y) const;
    // A maskable picture stands on the spell-container cell (row state, column container) first.
    void Draw_Icon_Masked(int32_t surface, int32_t x, int32_t state, int32_t container, int32_t y) const;
    // The icon with the number written at its bottom right corner.
    void Draw_Icon_With_Number(int32_t surface, int32_t x, int32_t number, int32_t state, int32_t y) const;

    uint16_t Id = 0;
    uint16_t Maximum_Levels_From_Start = 0;
    std::string Name;
    std::string Description;
    uint16_t Picture_Id = 0; // cell Picture_Id - 1 of the spell sheet; 0 draws nothing
    bool Picture_Is_Maskable = true;
    double Mana_Cost_Base = 0, Mana_Cost_Per_Level = 0, Mana_Cost_Maximum = 0;
    double Duration_Base = 0, Duration_Per_Level = 0, Duration_Maximum = 0;
    uint8_t Target_Type = Spell_Target_None; // 0 when the file names no known target
    std::string Required_Spell_Name;
    uint16_t Required_Spell_Level = 0;
    std::string Weapon_Restriction; // "None" or empty: applies whatever is wielded
    std::string Summon_Name;
    uint16_t Summon_Base_Count = 0;
    double Summon_Per_Level = 0;
    uint16_t Summon_Maximum = 0;
    double Area_Base = 0, Area_Per_Level = 0, Area_Maximum = 0;
    std::string Cast_Sound;
    std::unique_ptr<TDamage> Damage;
    std::unique_ptr<TEffect_List> Effects;
    // One entry per effect, always as many as Effects has: kind (0 = none, 1 Number, 2 Percent) and the
    // per-level amounts.
    TWordList Effect_Modifier_Kinds;
    TWordList Effect_Min_Modifiers;
    TWordList Effect_Max_Modifiers;
};

// The master spell table: positions 1..Master_Spell_Count(), position = spell id = record number.
// Spell ids come from saves and from replaced data files, so every look-up is checked: an unknown id gives
// null and callers skip it.
TSpell* Get_Master_Spell(int32_t id);
int32_t Master_Spell_Count();
// The master spell of that exact name (letter case counts); the last of several wins. Null when none.
const TSpell* Find_Master_Spell_By_Name(const std::string& name);
// Free_Master_Spells, then Read_Master_Spell_File; its result.
bool Load_Master_Spells();
void Free_Master_Spells();
// Reads the spells file of the path settings into the table; with errors, shows them under
// "Master Spell Data File Errors: " and returns false (the spells read stay in the table).
bool Read_Master_Spell_File();

// Fills the master table: record n becomes spell n, whatever keys it lacks.
class TMaster_Spell_Data_File_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;

protected:
    void Process_Record(int32_t record_number) override;
};

// What a spells list needs from the creature that knows the spells. The creature implements it; a list
// without an owner gets no skill-level bonus, counts only unrestricted passive spells, and leaves the
// scroll slots of its quick bar alone.
class TSpell_Owner {
public:
    virtual ~TSpell_Owner() = default;
    // The owner's "Skill Levels" effect total. It may ask this list's Passive_Effect_Total again; the
    // list answers that inner call without the bonus.
    virtual int32_t Owner_Skill_Levels() const = 0;
    // Whether the owner wields a weapon of that type (compared trimmed and lower-cased).
    virtual bool Owner_Wields_Weapon_Type(const std::string& weapon_type) const = 0;
    // The item in inventory slot 1..90, or null.
    virtual const TItem* Owner_Item_In_Slot(int32_t slot) const = 0;
};

// Quick-bar slot kinds.
enum : uint8_t {
    Quick_Slot_Empty = 0,
    Quick_Slot_Spell = 1,  // value: a spell id
    Quick_Slot_Scroll = 2, // value: the inventory slot of the scroll
};

class TSpells_List {
public:
    static constexpr int32_t Quick_Slot_Count = 10;

    explicit TSpells_List(TSpell_Owner* owner = nullptr);
    TSpells_List(const TSpells_List&) = delete;
    TSpells_List& operator=(const TSpells_List&) = delete;

    // Copies the spells and the quick bar; the owner stays.
    void Assign(const TSpells_List& other);
    // Forgets every spell, empties the bar, selects no slot.
    void Clear();
    int32_t Count() const { return Spell_Ids_.Count(); }
    TSpell_Owner* Get_Owner() const { return Owner_; }

    void Save_To_Stream(TStream_Writer& writer) const;
    // Raises EStream_Read_Error when the ids, levels and chances differ in length (the list is then left
    // as it was). A selected slot outside 0..10 loads as 0, a slot of an unknown kind loads empty.
    bool Load_From_Stream(TStream_Reader& reader);

    // By list index from 1; 0 for an index outside the list.
    uint16_t Spell_Id(int32_t index) const;
    uint16_t Stored_Level(int32_t index) const;
    uint16_t Cast_Chance(int32_t index) const;
    // The stored level plus the owner's "Skill Levels" total; a stored level of 0 stays 0.
    int32_t Effective_Level(int32_t index) const;

    // By spell id, from the last entry with that id; 0 when unknown.
    int32_t Spell_Level(uint16_t id) const;
    int32_t Base_Spell_Level(uint16_t id) const;
    // The effective level of the last known spell of that master-table name (letter case counts).
    int32_t Spell_Level_By_Name(const std::string& name) const;
    // Updates the last entry with that id, else appends one. Returns true.
    bool Set_Spell(uint16_t id, uint16_t level, uint16_t chance);

    // Slots 1..10. Get gives an empty slot for any other n; Set ignores it.
    void Get_Quick_Slot(int32_t n, uint8_t& kind, uint16_t& value) const;
    void Set_Quick_Slot(int32_t n, uint8_t kind, uint16_t value);
    uint8_t Get_Selected_Slot() const { return Selected_Slot_; }
    // 0 selects nothing; anything outside 0..10 selects nothing too.
    void Set_Selected_Slot(int32_t n);
    // Empties every scroll slot whose inventory slot no longer holds a scroll.
    void Check_Quick_Bar();
    // Fills the empty slots: scrolls from the inventory first, then castable spells in reverse list order.
    void Fill_Quick_Bar(bool with_scrolls, bool with_spells);

    // Sums over the passive spells that apply (unrestricted, or tied to the weapon the owner wields), at
    // their effective levels. Damage, Maximum Damage and Minimum Damage give 0: weapon damage bonuses of
    // skills are asked per weapon type instead.
    int32_t Passive_Effect_Total(uint8_t effect_type) const;
    // The same sum over the passive spells tied to that weapon type.
    int32_t Weapon_Passive_Effect_Total(uint8_t effect_type, const std::string& weapon_type) const;
    // Appends the effects of every passive spell that applies.
    void Add_Passive_Effects(TEffect_List& list) const;

    // Monsters' spells: every stored level becomes Trunc(creature level x levels per level + 1), at least 1.
    void Scale_Levels(int32_t creature_level, double levels_per_creature_level);

private:
    int32_t Last_Index_Of(uint16_t id) const;
    // The stored level plus the owner's skill-level bonus, as Effective_Level gives it. The bonus is asked
    // of the owner at the first level that needs it and kept in bonus for the later levels of one sum.
    int32_t Level_With_Bonus(int32_t stored, std::optional<int32_t>& bonus) const;
    bool Passive_Applies(const TSpell& spell) const;
    bool Holds_Scroll(uint16_t inventory_slot) const;
    bool Is_On_Bar(uint8_t kind, uint16_t value) const;
    void Empty_Quick_Slot(int32_t n);

    TSpell_Owner* Owner_;
    // Three parallel lists: known spell ids, their stored levels and cast chances (creatures' spells).
    TWordList Spell_Ids_;
    TWordList Spell_Levels_;
    TWordList Cast_Chances_;
    uint8_t Selected_Slot_ = 0;
    uint8_t Slot_Kinds_[Quick_Slot_Count + 1] = {};   // [1..10]; [0] unused
    uint16_t Slot_Values_[Quick_Slot_Count + 1] = {}; // [1..10]; [0] unused
    // Set while Effective_Level asks the owner for its skill-level bonus, whose total sums this list's
    // passive spells again: the inner levels are taken without the bonus instead of recursing for ever.
    mutable bool In_Level_Bonus_ = false;
};
