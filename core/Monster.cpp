#include "core/Monster.h"
#include "core/Effects.h"

#include "core/Actions.h"
#include "core/CharClass.h"
#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// "Resist All" less "Reduce Resist All": the part the five elemental resist bonuses share.
int64_t Resist_All_Bonus(const TMonster& creature) {
    return int64_t{creature.Effect_Total(Effect_Resist_All)} -
           creature.Effect_Total(Effect_Reduce_Resist_All);
}

// The elemental resist bonus of the type, given the shared part.
int32_t Elemental_Resist_Bonus(const TMonster& creature, uint8_t type, int64_t all) {
    return Clamp_To_Int32(creature.Effect_Total(type) + all);
}

// What Fire_Resist_Bonus and the other four elemental bonuses answer. Every recalculation (on every tick,
// for every creature) asks for all five, so the shared part is asked for once here.
struct TResist_Bonuses {
    int32_t Fire, Cold, Lightning, Magic, Poison;
};
TResist_Bonuses Elemental_Resist_Bonuses(const TMonster& creature) {
    const int64_t all = Resist_All_Bonus(creature);
    const auto bonus = [&](uint8_t type) { return Elemental_Resist_Bonus(creature, type, all); };
    return {bonus(Effect_Fire_Resist), bonus(Effect_Cold_Resist), bonus(Effect_Lightning_Resist),
            bonus(Effect_Magic_Resist), bonus(Effect_Poison_Resist)};
}

// Consumption types of Use_Item.
enum : uint8_t {
    Consume_Food = 1,
    Consume_Health = 2,
    Consume_Mana = 3,
    Consume_Cure_Poison = 4,
    Consume_Timed_Effect = 5,
    Consume_Permanent_Effect = 6,
    Consume_Permanent_Health = 7,
    Consume_Permanent_Mana = 8,
    Consume_Permanent_Strength = 9,
    Consume_Permanent_Intelligence = 10,
    Consume_Permanent_Dexterity = 11,
    Consume_Permanent_Constitution = 12,
};

int16_t Clamp_I16(int64_t v) {
    return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767));
}

uint16_t Clamp_Resistance(int64_t v) {
    return static_cast<uint16_t>(std::clamp<int64_t>(v, 0, TMonster::Max_Resistance));
}

} // namespace

// -------------------------------------------------------------------------------------------------------
// Construction, copy, record

TMonster::TMonster() : Spells(this) {
    Natural_Attacks.Add_Attack("Hands", 100, 0, 1, 4, 1, 0);
    Move_Timer = Random_Range(0, 10) * 50;
}

TMonster::TMonster(const TMonster& other) : TMonster() {
    Assign(other);
}

TMonster& TMonster::operator=(const TMonster& other) {
    Assign(other);
    return *this;
}

TMonster::~TMonster() = default;

void TMonster::Assign(const TMonster& other) {
    if (this == &other) return;
    Id = other.Id;
    Name = other.Name;
    Description = other.Description;
    Module_Name = other.Module_Name;
    Picture = other.Picture;
    Attack_Picture = other.Attack_Picture;
    Monster_Group = other.Monster_Group;
    Is_Unique = other.Is_Unique;
    Is_Undead = other.Is_Undead;
    X = other.X;
    Y = other.Y;
    Home_X = other.Home_X;
    Home_Y = other.Home_Y;
    Event_Id = other.Event_Id;
    Movement_Flags = other.Movement_Flags;
    Vision_Flags = other.Vision_Flags;
    Base_Strength = other.Base_Strength;
    Base_Dexterity = other.Base_Dexterity;
    Base_Intelligence = other.Base_Intelligence;
    Base_Constitution = other.Base_Constitution;
    Strength = other.Strength;
    Dexterity = other.Dexterity;
    Intelligence = other.Intelligence;
    Constitution = other.Constitution;
    Fire_Resist = other.Fire_Resist;
    Cold_Resist = other.Cold_Resist;
    Lightning_Resist = other.Lightning_Resist;
    Magic_Resist = other.Magic_Resist;
    Poison_Resist = other.Poison_Resist;
    Physical_Resist = other.Physical_Resist;
    Base_Resist = other.Base_Resist;
    Level = other.Level;
    Gold = other.Gold;
    Experience = other.Experience;
    Experience_Bonus = other.Experience_Bonus;
    Class_Index = other.Class_Index;
    Class_Name = other.Class_Name;
    Status = other.Status;
    Status_Ms = other.Status_Ms;
    Status_Source = other.Status_Source;
    Permanent_Mana = other.Permanent_Mana;
    Permanent_Life = other.Permanent_Life;
    Mana = other.Mana;
    Max_Mana = other.Max_Mana;
    Life = other.Life;
    Max_Life = other.Max_Life;
    Food = other.Food;
    Max_Food = other.Max_Food;
    Weight = other.Weight;
    Max_Weight = other.Max_Weight;
    Life_Regeneration = other.Life_Regeneration;
    Mana_Regeneration = other.Mana_Regeneration;
    Attack = other.Attack;
    Defense = other.Defense;
    Attribute_Points = other.Attribute_Points;
    Skill_Points = other.Skill_Points;
    Quests_Changed = other.Quests_Changed;
    Inventory.Assign(other.Inventory);
    Store_Id = other.Store_Id;
    if (!other.Talk_Topics.empty()) {
        Talk_Topics = other.Talk_Topics;
        Talk_Texts = other.Talk_Texts;
    }
    Light_Radius = other.Light_Radius;
    Natural_Attacks.Assign(other.Natural_Attacks);
    Permanent_Effects.Assign(other.Permanent_Effects);
    Timed_Effects.Assign(other.Timed_Effects);
    Timed_Effect_Ms = other.Timed_Effect_Ms;
    Spells.Assign(other.Spells);
    Status_Lines = other.Status_Lines;
    Does_Attack = other.Does_Attack;
    When_To_Retreat = other.When_To_Retreat;
    Response_Range = other.Response_Range;
    Movement_Strategy = other.Movement_Strategy;
    Move_Delay = other.Move_Delay;
    Base_Move_Delay = other.Base_Move_Delay;
    Intelligence_Category = other.Intelligence_Category;
    Corpse_Type = other.Corpse_Type;
    Sound_Death = other.Sound_Death;
    Sound_Attack = other.Sound_Attack;
    Sound_Growl = other.Sound_Growl;
    Leader_Id = other.Leader_Id;
    Guard_Range = other.Guard_Range;
    Character_State = other.Character_State;
    Can_Be_Given_Items = other.Can_Be_Given_Items;
    Picture_Index = other.Picture_Index;
    Attack_Picture_Index = other.Attack_Picture_Index;
}

void TMonster::Save_To_Stream(TStream_Writer& w) const {
    Write_Word(w, Id);
    for (const std::string* s :
         {&Name, &Description, &Module_Name, &Picture, &Attack_Picture, &Monster_Group})
        Write_String(w, *s);
    Write_Boolean(w, Is_Unique);
    Write_Boolean(w, Is_Undead);
    for (uint8_t b : {X, Y, Home_X, Home_Y}) Write_Byte(w, b);
    Write_Word(w, static_cast<uint16_t>(Event_Id));
    for (uint8_t b : {Movement_Flags, Vision_Flags, Light_Radius}) Write_Byte(w, b);
    Write_Boolean(w, Does_Attack);
    for (uint8_t b : {When_To_Retreat, Response_Range, Movement_Strategy}) Write_Byte(w, b);
    // The base delay: the movement penalty is added again after reading.
    Write_Word(w, Base_Move_Delay);
    Write_Byte(w, Intelligence_Category);
    Write_Byte(w, Corpse_Type);
    for (const std::string* s : {&Sound_Death, &Sound_Attack, &Sound_Growl}) Write_String(w, *s);
    Write_Word(w, static_cast<uint16_t>(Leader_Id));
    Write_Word(w, Guard_Range);
    Write_Byte(w, Character_State);
    Write_Boolean(w, Can_Be_Given_Items);
    for (int16_t v : {Base_Strength, Base_Dexterity, Base_Intelligence, Base_Constitution})
        Write_Word(w, static_cast<uint16_t>(v));
    for (uint16_t v : {Strength, Dexterity, Intelligence, Constitution, Fire_Resist, Cold_Resist,
                       Lightning_Resist, Magic_Resist, Poison_Resist, Physical_Resist})
        Write_Word(w, v);
    Write_Word(w, static_cast<uint16_t>(Base_Resist));
    Write_Word(w, Level);
    Write_Longint(w, Gold);
    Write_Longint(w, Experience);
    Write_Word(w, Experience_Bonus);
    Write_Byte(w, Class_Index);
    Write_String(w, Class_Name);
    Write_Byte(w, Status);
    Write_Longint(w, Status_Ms);
    Write_Word(w, Status_Source);
    Write_Word(w, Permanent_Mana);
    Write_Word(w, static_cast<uint16_t>(Permanent_Life));
    Write_Real(w, Mana);
    // Stored in 16 bits; the file layout has no room for more.
    Write_Word(w, static_cast<uint16_t>(Max_Mana));
    Write_Real(w, Life);
    for (uint16_t v : {Max_Life, Food, Max_Food, Weight, Max_Weight}) Write_Word(w, v);
    Write_Real(w, Life_Regeneration);
    Write_Real(w, Mana_Regeneration);
    Write_Word(w, Attack);
    Write_Word(w, Defense);
    Write_Word(w, static_cast<uint16_t>(Attribute_Points));
    Write_Word(w, static_cast<uint16_t>(Skill_Points));
    Inventory.Save_To_Stream(w);
    Write_Word(w, static_cast<uint16_t>(Store_Id));
    Write_String_List(w, Talk_Topics);
    Write_String_List(w, Talk_Texts);
    Natural_Attacks.Write(w);
    Permanent_Effects.Write(w);
    Spells.Save_To_Stream(w);
    Timed_Effects.Write(w);
    Write_Longint_List(w, Timed_Effect_Ms);
    Write_String_List(w, Status_Lines);
}

bool TMonster::Load_From_Stream(TStream_Reader& r, bool recalculate) {
    // Versions are compared as plain strings, as every file of the game has always done.
    const bool has_home = Last_File_Version() >= "1.01";
    const bool has_bonus = Last_File_Version() >= "1.06";

    Id = Read_Word(r);
    for (std::string* s : {&Name, &Description, &Module_Name, &Picture, &Attack_Picture, &Monster_Group})
        *s = Read_String(r);
    Is_Unique = Read_Boolean(r);
    Is_Undead = Read_Boolean(r);
    X = Read_Byte(r);
    Y = Read_Byte(r);
    Home_X = has_home ? Read_Byte(r) : 0;
    Home_Y = has_home ? Read_Byte(r) : 0;
    Event_Id = static_cast<int16_t>(Read_Word(r));
    Movement_Flags = Read_Byte(r);
    Vision_Flags = Read_Byte(r);
    Light_Radius = Read_Byte(r);
    Does_Attack = Read_Boolean(r);
    When_To_Retreat = Read_Byte(r);
    Response_Range = Read_Byte(r);
    Movement_Strategy = Read_Byte(r);
    Set_Move_Delay(Read_Word(r));
    Intelligence_Category = Read_Byte(r);
    Corpse_Type = Read_Byte(r);
    for (std::string* s : {&Sound_Death, &Sound_Attack, &Sound_Growl}) *s = Read_String(r);
    Leader_Id = static_cast<int16_t>(Read_Word(r));
    Guard_Range = Read_Word(r);
    Character_State = Read_Byte(r);
    Can_Be_Given_Items = Read_Boolean(r);
    for (int16_t* v : {&Base_Strength, &Base_Dexterity, &Base_Intelligence, &Base_Constitution})
        *v = static_cast<int16_t>(Read_Word(r));
    for (uint16_t* v : {&Strength, &Dexterity, &Intelligence, &Constitution, &Fire_Resist, &Cold_Resist,
                        &Lightning_Resist, &Magic_Resist, &Poison_Resist, &Physical_Resist})
        *v = Read_Word(r);
    Base_Resist = static_cast<int16_t>(Read_Word(r));
    Level = Read_Word(r);
    Gold = Read_Longint(r);
    Experience = Read_Longint(r);
    Experience_Bonus = has_bonus ? Read_Word(r) : 0;
    Class_Index = Read_Byte(r);
    Class_Name = Read_String(r);
    Status = Read_Byte(r);
    Status_Ms = Read_Longint(r);
    Status_Source = Read_Word(r);
    Permanent_Mana = Read_Word(r);
    Permanent_Life = static_cast<int16_t>(Read_Word(r));
    Mana = Read_Real(r);
    Max_Mana = Read_Word(r);
    Life = Read_Real(r);
    for (uint16_t* v : {&Max_Life, &Food, &Max_Food, &Weight, &Max_Weight}) *v = Read_Word(r);
    Life_Regeneration = Read_Real(r);
    Mana_Regeneration = Read_Real(r);
    Attack = Read_Word(r);
    Defense = Read_Word(r);
    Attribute_Points = static_cast<int16_t>(Read_Word(r));
    Skill_Points = static_cast<int16_t>(Read_Word(r));
    const bool inventory_read = Inventory.Load_From_Stream(r);
    Store_Id = static_cast<int16_t>(Read_Word(r));
    Read_String_List(r, Talk_Topics);
    Read_String_List(r, Talk_Texts);
    // Topic n is answered by text n: a short list would answer from past its end.
    Require_Equal_Lengths("creature talk topics and talk texts", {Talk_Topics.size(), Talk_Texts.size()});
    Natural_Attacks.Read(r);
    Permanent_Effects.Read(r);
    Spells.Load_From_Stream(r);
    Timed_Effects.Read(r);
    Read_Longint_List(r, Timed_Effect_Ms);
    // Effect n runs out after time n: a short time list would count down past its end.
    Require_Equal_Lengths(
        "creature timed effects and their times",
        {static_cast<size_t>(Timed_Effects.Get_Count()), static_cast<size_t>(Timed_Effect_Ms.Count())});
    Read_String_List(r, Status_Lines);
    if (recalculate) Recalculate_Stats();
    return inventory_read;
}

// -------------------------------------------------------------------------------------------------------
// Derived statistics

const TClass_Info* TMonster::Class_Record() const {
    return Class_Index == 0 ? nullptr : Get_Class(Class_Index);
}

void TMonster::Recalculate_Stats() {
    Check_Not_Released();
    Strength = Clamp_To_Word(int64_t{Base_Strength} + Effect_Total(Effect_Strength));
    Dexterity = Clamp_To_Word(int64_t{Base_Dexterity} + Effect_Total(Effect_Dexterity));
    Intelligence = Clamp_To_Word(int64_t{Base_Intelligence} + Effect_Total(Effect_Intelligence));
    Constitution = Clamp_To_Word(int64_t{Base_Constitution} + Effect_Total(Effect_Constitution));

    // A character file can outlive its module's class table: such a player keeps the maxima it was saved
    // with and is otherwise recalculated as a monster.
    const TClass_Info* c = Class_Record();
    if (c) {
        Recalculate_Player(*c);
    } else {
        const TResist_Bonuses bonus = Elemental_Resist_Bonuses(*this);
        Fire_Resist = Clamp_Resistance(int64_t{bonus.Fire} + Base_Resist);
        Cold_Resist = Clamp_Resistance(int64_t{bonus.Cold} + Base_Resist);
        Lightning_Resist = Clamp_Resistance(int64_t{bonus.Lightning} + Base_Resist);
        Magic_Resist = Clamp_Resistance(int64_t{bonus.Magic} + Base_Resist);
        Poison_Resist = Clamp_Resistance(int64_t{bonus.Poison} + Base_Resist);
        Physical_Resist = Clamp_Resistance(int64_t{Physical_Resist_Bonus()} + Base_Resist);
        Light_Radius = static_cast<uint8_t>(std::clamp(Compute_Light_Radius(), 0, 255));
        Life_Regeneration = Life_Regeneration_Bonus();
    }

    int64_t weight = Inventory.Total_Weight();
    if (const TItem* held = Get_Held_Item()) weight += held->Total_Weight();
    Weight = Clamp_To_Word(weight);

    // Rebuilt from the base every time: adding the penalty to the last result would slow the creature a
    // little more on every update and never let it recover.
    int64_t delay = Base_Move_Delay;
    if (c && Weight > Max_Weight)
        delay += Trunc_To_Int32(static_cast<double>(int64_t{Weight} - Max_Weight) *
                                c->Slowdown_Ms_Per_Over_Weight);
    delay += Movement_Penalty();
    Move_Delay = static_cast<uint16_t>(std::clamp<int64_t>(delay, 0, Max_Move_Delay));

    if (Mana > Max_Mana) Mana = Max_Mana;
    if (Life > Max_Life) Life = Max_Life;
    if (Food > Max_Food) Food = Max_Food;
}

void TMonster::Recalculate_Player(const TClass_Info& c) {
    // Computed signed and held to 0..95 before storing: a 16-bit field would turn -10 into 65526, read
    // as 95.
    const TResist_Bonuses bonus = Elemental_Resist_Bonuses(*this);
    Fire_Resist = Clamp_Resistance(int64_t{bonus.Fire} + c.Base_Fire_Resistance);
    Cold_Resist = Clamp_Resistance(int64_t{bonus.Cold} + c.Base_Cold_Resistance);
    Lightning_Resist = Clamp_Resistance(int64_t{bonus.Lightning} + c.Base_Lightning_Resistance);
    Magic_Resist = Clamp_Resistance(int64_t{bonus.Magic} + c.Base_Magic_Resistance);
    Poison_Resist = Clamp_Resistance(int64_t{bonus.Poison} + c.Base_Poison_Resistance);
    Physical_Resist = Clamp_Resistance(int64_t{Physical_Resist_Bonus()} + c.Base_Physical_Resistance);

    // Every product with a class factor is truncated on its own (held to the 32-bit range) before the
    // sum, which is taken in 64 bits.
    const double levels_above_first = static_cast<double>(Level) - 1;
    Max_Mana = Clamp_To_Int32(int64_t{Trunc_To_Int32(levels_above_first * c.Mana_Per_Level)} +
                              c.Base_Maximum_Mana + Permanent_Mana +
                              Trunc_To_Int32(Intelligence * c.Mana_Per_Intelligence) + Mana_Bonus());
    Max_Life = Clamp_To_Word(int64_t{c.Base_Maximum_Health} + Permanent_Life +
                             Trunc_To_Int32(levels_above_first * c.Health_Per_Level) +
                             Trunc_To_Int32(Constitution * c.Health_Per_Constitution) + Life_Bonus());
    Max_Food = Clamp_To_Word(int64_t{Trunc_To_Int32(Constitution * c.Hunger_Per_Constitution)} +
                             c.Base_Maximum_Hunger + Food_Bonus());
    Max_Weight = Clamp_To_Word(int64_t{Trunc_To_Int32(Strength * c.Weight_Per_Strength)} +
                               c.Base_Maximum_Weight + Weight_Bonus());
    Attack =
        Clamp_To_Word(int64_t{Attack_Ability_Bonus()} + Trunc_To_Int32(Dexterity * c.Attack_Per_Dexterity));
    Defense = Clamp_To_Word(int64_t{Inventory.Armor_Total()} +
                            Trunc_To_Int32(Dexterity * c.Defense_Per_Dexterity) + Defense_Ability_Bonus());
    // The class speed is the player's base: should the class vanish later, the monster rule keeps it.
    Base_Move_Delay = c.Base_Movement_Speed;
    Life_Regeneration = Life_Regeneration_Bonus() + c.Health_Regeneration_Pct;
    Mana_Regeneration = Mana_Regeneration_Bonus() + c.Mana_Regeneration_Pct;
    Light_Radius = static_cast<uint8_t>(std::clamp(Compute_Light_Radius(), 0, 255));
}

int32_t TMonster::Effect_Total(uint8_t type) const {
    // Most monsters carry nothing, know no spells and are under no effect. Every creature is recalculated
    // on every tick, each time asking for some twenty totals: those are 0 without a walk of four lists.
    if (Inventory.Count() == 0 && Spells.Count() == 0 && Timed_Effects.Get_Count() == 0 &&
        Permanent_Effects.Get_Count() == 0)
        return 0;
    const int64_t total = int64_t{Inventory.Effect_Total(type)} + Spells.Passive_Effect_Total(type) +
                          Timed_Effects.Total_Amount(type) + Permanent_Effects.Total_Amount(type);
    return Clamp_To_Int32(total);
}

int32_t TMonster::Weapon_Spell_Effect_Total(uint8_t type, const std::string& weapon_type) const {
    return Spells.Weapon_Passive_Effect_Total(type, weapon_type);
}

void TMonster::Gather_Effects(TEffect_List& list) const {
    Inventory.Add_Equipped_Effects(list);
    Spells.Add_Passive_Effects(list);
    list.Append(Timed_Effects);
    list.Append(Permanent_Effects);
}

void TMonster::Timed_Effect_Lines(TString_List& lines) const {
    for (int32_t n = 1; n <= Timed_Effects.Get_Count(); ++n)
        lines.push_back(Timed_Effects.Get_Description(n, true));
    lines.insert(lines.end(), Status_Lines.begin(), Status_Lines.end());
}

void TMonster::Add_Timed_Effect(uint8_t type, int32_t min, int32_t max, int32_t seconds) {
    Check_Not_Released();
    if (Timed_Effects.Get_Count() >= Max_Effects) return;
    Timed_Effects.Add_Effect(type, min, max);
    Timed_Effect_Ms.Add(Clamp_To_Int32(int64_t{seconds} * 1000));
}

void TMonster::Add_Permanent_Effect(uint8_t type, int32_t min, int32_t max) {
    Check_Not_Released();
    if (Permanent_Effects.Get_Count() >= Max_Effects) return;
    Permanent_Effects.Add_Effect(type, min, max);
}

// -------------------------------------------------------------------------------------------------------
// Per-effect accessors

int32_t TMonster::Fire_Resist_Bonus() const {
    return Elemental_Resist_Bonus(*this, Effect_Fire_Resist, Resist_All_Bonus(*this));
}
int32_t TMonster::Cold_Resist_Bonus() const {
    return Elemental_Resist_Bonus(*this, Effect_Cold_Resist, Resist_All_Bonus(*this));
}
int32_t TMonster::Lightning_Resist_Bonus() const {
    return Elemental_Resist_Bonus(*this, Effect_Lightning_Resist, Resist_All_Bonus(*this));
}
int32_t TMonster::Magic_Resist_Bonus() const {
    return Elemental_Resist_Bonus(*this, Effect_Magic_Resist, Resist_All_Bonus(*this));
}
int32_t TMonster::Poison_Resist_Bonus() const {
    return Elemental_Resist_Bonus(*this, Effect_Poison_Resist, Resist_All_Bonus(*this));
}
int32_t TMonster::Physical_Resist_Bonus() const {
    return Effect_Total(Effect_Physical_Resist);
}
int32_t TMonster::Movement_Penalty() const {
    return Effect_Total(Effect_Reduce_Movement);
}
int32_t TMonster::Mana_Bonus() const {
    return Effect_Total(Effect_Mana);
}
int32_t TMonster::Life_Bonus() const {
    return Effect_Total(Effect_Life);
}
int32_t TMonster::Food_Bonus() const {
    return Effect_Total(Effect_Hunger);
}
int32_t TMonster::Weight_Bonus() const {
    return Effect_Total(Effect_Weight);
}
int32_t TMonster::Attack_Ability_Bonus() const {
    return Clamp_To_Int32(int64_t{Effect_Total(Effect_Attack_Ability)} -
                          Effect_Total(Effect_Reduce_Attack_Ability));
}
int32_t TMonster::Defense_Ability_Bonus() const {
    return Clamp_To_Int32(int64_t{Effect_Total(Effect_Defense_Ability)} -
                          Effect_Total(Effect_Reduce_Defense_Ability));
}
int32_t TMonster::Minimum_Damage_Bonus() const {
    return Effect_Total(Effect_Minimum_Damage);
}
int32_t TMonster::Maximum_Damage_Bonus() const {
    return Effect_Total(Effect_Maximum_Damage);
}
double TMonster::Life_Regeneration_Bonus() const {
    return Effect_Total(Effect_Life_Regeneration);
}
double TMonster::Mana_Regeneration_Bonus() const {
    return Effect_Total(Effect_Mana_Regeneration);
}
int32_t TMonster::Attacker_Takes_Damage() const {
    return Effect_Total(Effect_Attacker_Takes_Damage);
}
int32_t TMonster::Damage_Generates_Mana() const {
    return Effect_Total(Effect_Damage_Generates_Mana);
}
int32_t TMonster::Damage_Reduction() const {
    return Effect_Total(Effect_Damage_Reduction);
}
int32_t TMonster::Kill_Regenerates_Mana() const {
    return Effect_Total(Effect_Each_Kill_Regenerates_Mana);
}
int32_t TMonster::Life_Stolen() const {
    return Effect_Total(Effect_Life_Stolen);
}
int32_t TMonster::Mana_Stolen() const {
    return Effect_Total(Effect_Mana_Stolen);
}
int32_t TMonster::Damage_Resistance_Bonus() const {
    return Effect_Total(Effect_Monster_Increase_Damage_Resistance);
}
int32_t TMonster::Damage_Reduction_Percent() const {
    return Effect_Total(Effect_Reduce_Damage);
}
int32_t TMonster::Ignores_Defense() const {
    return Effect_Total(Effect_Attack_Ignores_Targets_Defense);
}

int32_t TMonster::Power_Against(uint8_t type, int32_t target_level) const {
    const int64_t total = Effect_Total(type);
    if (total <= 0) return static_cast<int32_t>(total);
    return Clamp_To_Int32(total + 3 * (int64_t{Level} - target_level));
}
int32_t TMonster::Flee_Power(int32_t target_level) const {
    return Power_Against(Effect_Make_Monsters_Flee, target_level);
}
int32_t TMonster::Sleep_Power(int32_t target_level) const {
    return Power_Against(Effect_Cause_Sleep, target_level);
}
int32_t TMonster::Blind_Power(int32_t target_level) const {
    return Power_Against(Effect_Blind_Target, target_level);
}
int32_t TMonster::Paralyze_Power(int32_t target_level) const {
    return Power_Against(Effect_Paralyze_Target, target_level);
}

int32_t TMonster::Bash_Doors() const {
    return Effect_Total(Effect_Bash_Doors);
}
int32_t TMonster::Pick_Locks() const {
    return Effect_Total(Effect_Pick_Locks);
}
int32_t TMonster::More_Gold() const {
    return Effect_Total(Effect_More_Gold);
}
int32_t TMonster::Skill_Levels() const {
    return Effect_Total(Effect_Skill_Levels);
}
int32_t TMonster::Poison_Length_Reduction() const {
    return Effect_Total(Effect_Poison_Length_Reduction);
}
int32_t TMonster::Reduced_Detection_Chance() const {
    return Effect_Total(Effect_Reduced_Detection_Chance);
}
int32_t TMonster::Detect_Evil() const {
    return Effect_Total(Effect_Detect_Evil);
}
int32_t TMonster::Detect_Traps() const {
    return Clamp_To_Int32(int64_t{Effect_Total(Effect_Detect_Traps)} + 10);
}
int32_t TMonster::Detect_Secret_Doors() const {
    return Clamp_To_Int32(int64_t{Effect_Total(Effect_Detect_Secret_Doors)} + 5);
}

bool TMonster::Has_Two_Weapons() const {
    TEffect_List effects;
    Gather_Effects(effects);
    return effects.Has_Effect(Effect_Two_Weapons);
}

int32_t TMonster::Compute_Light_Radius() const {
    int64_t radius = Is_Monster() ? 0 : 1;
    radius += Effect_Total(Effect_Light_Radius);
    for (uint8_t slot : {First_Hand_Slot, Second_Hand_Slot})
        if (const TItem* item = Inventory.Item_In_Slot(slot)) radius += item->Light_Radius;
    return Clamp_To_Int32(radius);
}

// -------------------------------------------------------------------------------------------------------
// Position, looks, sound

void TMonster::Set_Position(uint8_t x, uint8_t y) {
    X = x;
    Y = y;
}

void TMonster::Move_To(uint8_t x, uint8_t y) {
    Check_Not_Released();
    TMap* map = Current_Map();
    if (!map) return;
    TMap_Square* target = map->Get_Square(x, y);
    if (!target) return;
    // Only this creature's own mark is cleared: a position read from a file may name a square another
    // creature stands on.
    if (TMap_Square* old = map->Get_Square(X, Y); old && old->Monster_Id == Id) old->Clear_Monster();
    Set_Position(x, y);
    target->Set_Monster(*this);
}

void TMonster::Set_Pictures(const std::string& picture, const std::string& attack_picture) {
    Picture = picture;
    Attack_Picture = attack_picture;
}

void TMonster::Set_Picture_Indexes(int16_t picture_index, int16_t attack_picture_index) {
    Picture_Index = picture_index;
    Attack_Picture_Index = attack_picture_index;
}

void TMonster::Set_Move_Delay(uint16_t delay) {
    Base_Move_Delay = delay;
    Move_Delay = static_cast<uint16_t>(std::min<int32_t>(delay, Max_Move_Delay));
}

void TMonster::Play_Sound(const std::string& file_name) const {
    Play_Sound_At(file_name, X, Y);
}

bool TMonster::Ready_To_Move() {
    if (Move_Timer < Game_Speed_Scale_Delay(Move_Delay)) return false;
    Move_Timer = 0;
    return true;
}

// -------------------------------------------------------------------------------------------------------
// Inventory

bool TMonster::Add_Item(TItem* item) {
    const bool added = Inventory.Add_To_Backpack(item);
    Recalculate_Stats();
    return added;
}

bool TMonster::Put_Item_In_Slot(TItem* item, int32_t slot) {
    const bool put = Inventory.Put_In_Slot(item, slot);
    Recalculate_Stats();
    return put;
}

bool TMonster::Pick_Up_Item(TItem* item) {
    if (!item) return false;
    bool taken = true;
    if (item->Item_Type == Item_Type_Gold) {
        Add_Gold(item->Value());
        Delete_Current_Item(item->Id);
    } else {
        taken = Inventory.Add_To_Backpack(item);
    }
    Spells.Fill_Quick_Bar(true, false);
    Recalculate_Stats();
    return taken;
}

bool TMonster::Equip_Item(TItem* item, int32_t slot) {
    const bool put = Put_Item_In_Slot(item, slot);
    Spells.Fill_Quick_Bar(true, false);
    return put;
}

bool TMonster::Remove_Item_From_Slot(int32_t slot, TItem*& item) {
    const bool taken = Inventory.Take_From_Slot(slot, item);
    Spells.Check_Quick_Bar();
    Recalculate_Stats();
    return taken;
}

TItem* TMonster::Item_In_Slot(int32_t slot) const {
    return Inventory.Item_In_Slot(slot);
}

bool TMonster::Can_Pick_Up(const TItem* item) const {
    if (!item) return false;
    return item->Item_Type == Item_Type_Gold || Inventory.Has_Room_For(item);
}

// -------------------------------------------------------------------------------------------------------
// Class

void TMonster::Set_Class(uint8_t index) {
    Class_Index = index;
    const TClass_Info* c = Get_Class(index);
    Class_Name = c ? c->Name : std::string();
    Recalculate_Stats();
}

// -------------------------------------------------------------------------------------------------------
// Life, mana, food

void TMonster::Fill_Life() {
    Life = Max_Life;
}
void TMonster::Fill_Mana() {
    Mana = Max_Mana;
}
void TMonster::Fill_Food() {
    Food = Max_Food;
}

void TMonster::Add_Life(double n) {
    Check_Not_Released();
    Life = std::min(Life + n, static_cast<double>(Max_Life));
}
void TMonster::Add_Mana(double n) {
    Check_Not_Released();
    Mana = std::min(Mana + n, static_cast<double>(Max_Mana));
}
void TMonster::Add_Food(int32_t n) {
    Food = static_cast<uint16_t>(std::clamp<int64_t>(int64_t{Food} + n, 0, Max_Food));
}

void TMonster::Spend_Mana(double n) {
    Check_Not_Released();
    if (n >= Mana)
        Mana = 0;
    else
        Mana -= n;
}

void TMonster::Regenerate_Life() {
    if (Status == Status_Poisoned) return;
    // A starving character does not heal; monsters never hunger.
    // The rate times the maximum, then the division: a whole result comes out whole (29 % of 100 adds 29,
    // where 0.29 x 100 in binary adds a shade less and the life's whole part, which decides death, is one
    // short).
    if (Is_Monster() || (Food > 0 && Life < Max_Life)) Add_Life(Life_Regeneration * Max_Life / 100.0);
}

void TMonster::Regenerate_Mana() {
    if (Mana < Max_Mana) Add_Mana(Mana_Regeneration * Max_Mana / 100.0);
}

// -------------------------------------------------------------------------------------------------------
// Leader, gold, points

void TMonster::Set_Leader(int16_t id) {
    Leader_Id = id;
    Movement_Strategy = Strategy_Guard_Monster;
}

void TMonster::Add_Gold(int32_t n) {
    Gold = Clamp_To_Int32(int64_t{Gold} + n);
}

void TMonster::Remove_Gold(int32_t n) {
    Gold = Clamp_To_Int32(std::max<int64_t>(int64_t{Gold} - n, 0));
}

void TMonster::Add_Experience_Bonus(int32_t n) {
    Experience_Bonus = Clamp_To_Word(int64_t{Experience_Bonus} + n);
}

void TMonster::Use_Attribute_Point() {
    if (Attribute_Points > 0) --Attribute_Points;
}

void TMonster::Use_Skill_Point() {
    if (Skill_Points > 0) --Skill_Points;
}

void TMonster::Raise_Strength() {
    Base_Strength = Clamp_I16(int64_t{Base_Strength} + 1);
    Recalculate_Stats();
}
void TMonster::Raise_Intelligence() {
    Base_Intelligence = Clamp_I16(int64_t{Base_Intelligence} + 1);
    Recalculate_Stats();
}
void TMonster::Raise_Dexterity() {
    Base_Dexterity = Clamp_I16(int64_t{Base_Dexterity} + 1);
    Recalculate_Stats();
}
void TMonster::Raise_Constitution() {
    Base_Constitution = Clamp_I16(int64_t{Base_Constitution} + 1);
    Recalculate_Stats();
}

// -------------------------------------------------------------------------------------------------------
// Experience

int32_t TMonster::Experience_For_Next_Level() const {
    const TClass_Info* c = Class_Record();
    return c ? c->Get_Experience_For_Level(Level) : 0;
}

void TMonster::Add_Experience(int32_t n) {
    Check_Not_Released();
    Experience = Clamp_To_Int32(int64_t{Experience} + n);
    const TClass_Info* c = Class_Record();
    if (!c) return;
    while (Level < 65535) {
        const int32_t need = Experience_For_Next_Level();
        // A table without values (0) or with a negative entry would otherwise give levels for ever.
        if (need <= 0 || Experience < need) break;
        Experience -= need;
        ++Level;
        Attribute_Points = Clamp_I16(int64_t{Attribute_Points} + c->Characteristic_Points_Per_Level);
        Skill_Points = Clamp_I16(int64_t{Skill_Points} + c->Spell_Points_Per_Level);
        Play_Sound("newlevel.wav");
    }
}

int32_t TMonster::Experience_For_Kill(uint16_t killer_id) const {
    const TMap* map = Current_Map();
    const TMonster* killer = map ? map->Monster_List.Get_Monster(killer_id) : nullptr;
    if (!killer) return 0;
    // A peaceful creature gives the player nothing; a monster killer is paid anyway.
    if (!killer->Is_Monster() && !Does_Attack) return 0;
    // Each Trunc of a ratio times a whole number is one exact integer quotient: through binary reals a
    // ratio such as 1.29 loses the last point where the product is whole.
    const int64_t half = int64_t{Max_Life} * 5 / 10;
    // A level-0 killer counts as level 1: the ratio would divide by zero.
    const int64_t killer_level = std::max<int64_t>(killer->Level, 1);
    int64_t base = int64_t{Level} * (int64_t{Level} * 20 + half) / killer_level;
    if (Is_Unique) base *= 5;
    const int64_t result = Scale_By_Percent(base, int64_t{Experience_Bonus} + 100);
    return static_cast<int32_t>(std::clamp<int64_t>(result, 0, INT32_MAX));
}

// -------------------------------------------------------------------------------------------------------
// Statuses

void TMonster::Set_Status(uint8_t status, int32_t ms, uint16_t source) {
    Check_Not_Released();
    Status = status;
    Status_Ms = ms;
    Status_Source = source;
}

namespace {
int32_t Status_Length(int32_t low_seconds, int32_t high_seconds, int32_t amount) {
    int64_t ms = int64_t{Random_Range(low_seconds, high_seconds)} * 1000;
    if (amount > 0) ms += int64_t{amount} * 10;
    return Clamp_To_Int32(ms);
}
} // namespace

void TMonster::Set_Panic(int32_t amount, uint16_t source) {
    Set_Status(Status_Panic, Status_Length(10, 30, amount), source);
}
void TMonster::Set_Blind(int32_t amount, uint16_t source) {
    Set_Status(Status_Blind, Status_Length(10, 30, amount), source);
}
void TMonster::Set_Paralyzed(int32_t amount, uint16_t source) {
    Set_Status(Status_Paralyzed, Status_Length(10, 20, amount), source);
}
void TMonster::Set_Asleep(int32_t amount, uint16_t source) {
    Set_Status(Status_Asleep, Status_Length(10, 30, amount), source);
}

void TMonster::Poison(int32_t level_difference, uint16_t source) {
    Check_Not_Released();
    int64_t ms = int64_t{Random_Range(20, 40)} * 1000;
    if (level_difference > 0) ms += int64_t{level_difference} * 20;
    ms -= int64_t{Poison_Length_Reduction()} * 1000;
    if (ms <= 0) return;
    Set_Status(Status_Poisoned, Clamp_To_Int32(ms), source);
}

void TMonster::Change_Allegiance(int32_t seconds, int16_t leader_id, uint16_t range) {
    Check_Not_Released();
    Status = Status_Allegiance_Changed;
    Status_Ms = Clamp_To_Int32(int64_t{seconds} * 1000);
    Set_Leader(leader_id);
    Set_Guard_Range(range);
}

void TMonster::Cure_Poison() {
    if (Status == Status_Poisoned) Set_Status(Status_Normal, 0, 0);
}

void TMonster::Clear_Status() {
    if (Status == Status_Panic || Status == Status_Blind || Status == Status_Paralyzed ||
        Status == Status_Asleep)
        Set_Status(Status_Normal, 0, 0);
}

// -------------------------------------------------------------------------------------------------------
// Consumables

void TMonster::Apply_Consumption(const TItem& item) {
    const int32_t v = item.Consumption_Value;
    switch (item.Consumption_Type) {
    case Consume_Food: Add_Food(v); break;
    case Consume_Health: Add_Life(v); break;
    case Consume_Mana: Add_Mana(v); break;
    case Consume_Cure_Poison: Cure_Poison(); break;
    case Consume_Timed_Effect:
        if (v != 0)
            for (int32_t n = 1; n <= item.Effects.Get_Count(); ++n)
                Add_Timed_Effect(item.Effects.Get_Effect_Type(n), item.Effects.Get_Min_Amount(n),
                                 item.Effects.Get_Max_Amount(n), v);
        break;
    case Consume_Permanent_Effect:
        for (int32_t n = 1; n <= item.Effects.Get_Count(); ++n)
            Add_Permanent_Effect(item.Effects.Get_Effect_Type(n), item.Effects.Get_Min_Amount(n),
                                 item.Effects.Get_Max_Amount(n));
        break;
    case Consume_Permanent_Health: Permanent_Life = Clamp_I16(int64_t{Permanent_Life} + v); break;
    case Consume_Permanent_Mana: Permanent_Mana = Clamp_To_Word(int64_t{Permanent_Mana} + v); break;
    case Consume_Permanent_Strength: Base_Strength = Clamp_I16(int64_t{Base_Strength} + v); break;
    case Consume_Permanent_Intelligence: Base_Intelligence = Clamp_I16(int64_t{Base_Intelligence} + v); break;
    case Consume_Permanent_Dexterity: Base_Dexterity = Clamp_I16(int64_t{Base_Dexterity} + v); break;
    case Consume_Permanent_Constitution: Base_Constitution = Clamp_I16(int64_t{Base_Constitution} + v); break;
    default: break;
    }
}

bool TMonster::Use_Item(TItem* item) {
    if (!item) return false;
    Apply_Consumption(*item);
    // One unit is used, as with keys and potions drunk from the backpack: a stack of five leaves four.
    bool still_exists = true;
    if (item->Quantity < 2) {
        const uint16_t id = item->Id;
        for (int32_t n = Inventory.Count(); n >= 1; --n) {
            if (Inventory.Contents().Id(n) != id) continue;
            TItem* taken = nullptr;
            Inventory.Take_From_Slot(Inventory.Slot_At(n), taken);
            break;
        }
        Spells.Check_Quick_Bar();
        Delete_Current_Item(id);
        still_exists = false;
    } else {
        item->Use_Quantity(1);
    }
    Recalculate_Stats();
    return still_exists;
}

bool TMonster::Eat(TItem* item) {
    if (!item) return false;
    const bool left = Use_Item(item);
    Play_Sound("eat.wav");
    return left;
}

bool TMonster::Drink(TItem* item) {
    if (!item) return false;
    const bool left = Use_Item(item);
    Play_Sound("drink.wav");
    return left;
}

void TMonster::Drink_Health_Potion() {
    Drink_Potion(Consumption_Health);
}

void TMonster::Drink_Mana_Potion() {
    Drink_Potion(Consumption_Mana);
}

void TMonster::Drink_Potion(uint8_t kind) {
    if (!Inventory.Use_One_Of_Use_Kind(kind, [this](const TItem& item) { Apply_Consumption(item); })) return;
    Spells.Check_Quick_Bar();
    Recalculate_Stats();
    Play_Sound("drink.wav");
}

// -------------------------------------------------------------------------------------------------------
// Class spells

std::string TMonster::Class_Skill_Name(int32_t n) const {
    const TClass_Info* c = Class_Record();
    return c ? c->Get_Group_Name(n) : std::string();
}

int32_t TMonster::Class_Skill_Count() const {
    const TClass_Info* c = Class_Record();
    return c ? c->Get_Group_Count() : 0;
}

void TMonster::Class_Spells_Of_Skill(TWordList& spell_ids, TWordList& group_numbers) const {
    spell_ids.Clear();
    group_numbers.Clear();
    const TClass_Info* c = Class_Record();
    if (!c) return;
    for (int32_t n = 1; n <= c->Get_Spell_Count(); ++n) {
        const std::string name = c->Get_Spell_Name(n);
        for (int32_t id = 1; id <= Master_Spell_Count(); ++id) {
            const TSpell* spell = Get_Master_Spell(id);
            if (!spell || Trimmed_Lower(spell->Name) != name) continue;
            spell_ids.Add(static_cast<uint16_t>(id));
            group_numbers.Add(c->Get_Spell_Group_By_Number(n));
        }
    }
}

int32_t TMonster::Spell_Maximum_Level(const TSpell& spell) const {
    return spell.Maximum_Levels_From_Start;
}

int32_t TMonster::Spell_Minimum_Level(const TSpell& spell) const {
    const TClass_Info* c = Class_Record();
    return c ? c->Get_Spell_Available_Level(spell.Name) : 0;
}

int32_t TMonster::Spell_Class_Value(const TSpell& spell) const {
    const TClass_Info* c = Class_Record();
    return c ? c->Get_Spell_Group(spell.Name) : 0;
}

bool TMonster::Can_Learn_Spell(const TSpell& spell) const {
    // A spell the class does not list (available level 0) passes; so does every spell for a monster.
    const int32_t available = Spell_Minimum_Level(spell);
    if (available >= 2 && Level < available) return false;
    if (Spells.Base_Spell_Level(spell.Id) >= spell.Maximum_Levels_From_Start) return false;
    if (!spell.Required_Spell_Name.empty() &&
        Spells.Spell_Level_By_Name(spell.Required_Spell_Name) < spell.Required_Spell_Level)
        return false;
    return true;
}

void TMonster::Learn_Class_Spells() {
    const TClass_Info* c = Class_Record();
    if (!c) return;
    using TPos = TWordList::Position;
    for (int32_t n = 1;
         n <= c->Get_Spell_Count() && n <= static_cast<int32_t>(c->Spell_Starting_Levels.Count()); ++n) {
        const uint16_t start = c->Spell_Starting_Levels.Get(static_cast<TPos>(n));
        if (start == 0) continue;
        const std::string name = c->Get_Spell_Name(n);
        uint16_t found = 0;
        for (int32_t id = 1; id <= Master_Spell_Count(); ++id) {
            const TSpell* spell = Get_Master_Spell(id);
            if (spell && Trimmed_Lower(spell->Name) == name) found = static_cast<uint16_t>(id);
        }
        if (found != 0) Spells.Set_Spell(found, start, 100);
    }
}

// -------------------------------------------------------------------------------------------------------
// Texts

std::string TMonster::Hit_Chance_Text() const {
    return std::to_string(Hit_Chance(Attack, Level * 50, Level, Level)) + "% удар  ";
}

std::string TMonster::Miss_Chance_Text() const {
    return std::to_string(100 - Hit_Chance(Level * 50, Defense, Level, Level)) + "% мимо   ";
}
