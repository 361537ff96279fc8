// Every creature on a map, the player character included: the player is the creature with a character
// class (Class_Index above 0), every other creature is a monster. The same record is what map files, saved
// games and character files store. Items, leaders and status sources are referred to by id and resolve
// through the current map; everything else the creature owns.
//
// This file holds the creature model (fields, record, derived statistics, levelling, statuses,
// consumables); the per-tick update lives in MonsterAI.cpp, combat in MonsterCombat.cpp.
#pragma once

#include "core/Damage.h"
#include "core/Effects.h"
#include "core/Inventory.h"
#include "core/MonsterList.h"
#include "core/SaveStream.h"
#include "core/Spells.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <string>

struct TCallback_Set;
class TClass_Info;
class TItem;
class TSpell;

// Status codes.
enum : uint8_t {
    Status_Normal = 0,
    Status_Panic = 1,
    Status_Poisoned = 2,
    Status_Blind = 3,
    Status_Paralyzed = 4,
    Status_Asleep = 5,
    Status_Allegiance_Changed = 6,
};

// Movement strategies (the names of Movement_Strategy_Name); 0, 1 and unknown values do nothing.
enum : uint8_t {
    Strategy_Stay_Put = 2,
    Strategy_Wander_Around = 3,
    Strategy_Patrol = 4,
    Strategy_Hunt = 5,
    Strategy_Ranged_Hunt = 6,
    Strategy_Guard = 7,
    Strategy_Keep_Away = 8,
    Strategy_Follow = 9,
    Strategy_Guard_Monster = 10,
    Strategy_Anchored_3_Squares = 11,
    Strategy_Anchored_5_Squares = 12,
    Strategy_Anchored_10_Squares = 13,
};

// What TMonster::Step answers.
enum : int32_t {
    Step_Blocked = 1,
    Step_Moved = 2,
    Step_Onto_Entrance = 3, // moved onto the entrance of a map connection
};

// Character states of a stored character.
enum : uint8_t {
    Character_Available = 0,
    Character_In_Use = 1,
    Character_Dead = 2,
};

class TMonster : public TCreature_Statistics, public TSpell_Owner {
public:
    static constexpr int32_t Max_Move_Delay = 3000;
    static constexpr int32_t Max_Resistance = 95;
    // Each effect list of a creature holds at most this many entries; further ones are ignored.
    static constexpr int32_t Max_Effects = 1000;

    // Gives the creature the natural attack "Hands" (chance 100, damage 1..4, range 1) and draws its first
    // Move_Timer, so creatures made in one tick do not all move in the same tick.
    TMonster();
    // A copy made through construction: Assign plus a Move_Timer of its own (one random draw).
    TMonster(const TMonster& other);
    TMonster& operator=(const TMonster& other);
    ~TMonster() override;

    // Copies every field except the five timers and deep-copies every owned object. The talk lists are
    // copied only when the source has topics: a creature made from a class keeps its own lines then.
    void Assign(const TMonster& other);

    // The creature record. Reading tests the last file version: the home square needs "1.01", the
    // experience bonus "1.06"; writing always gives the "1.06" layout. The read recalculates the
    // statistics unless recalculate is false (a character file's items get new ids first, and life, mana
    // and food must stay as read until then) and answers the inventory's read result. Raises
    // EStream_Read_Error on a broken stream and when Timed_Effects and Timed_Effect_Ms, or Talk_Topics and
    // Talk_Texts, differ in length: those lists are indexed together.
    void Save_To_Stream(TStream_Writer& writer) const;
    bool Load_From_Stream(TStream_Reader& reader, bool recalculate = true);

    void Recalculate_Stats();

    // In builds with release checks the monster list marks a creature it has taken out of its slot, and
    // the creature's mutators stop the program when they are called on it: some code kept a pointer to a
    // creature that has left the map and went on changing it.
    void Mark_Released() { Released_ = true; }
    bool Is_Marked_Released() const { return Released_; }

    // -----------------------------------------------------------------------------------------------
    // Position and looks

    // Sets X and Y only; the squares are not told.
    void Set_Position(uint8_t x, uint8_t y);
    // Clears the creature from its old square of the current map, sets X and Y and records it on the new
    // square. Nothing at all when there is no map or the new square is outside the map.
    void Move_To(uint8_t x, uint8_t y);
    void Set_Pictures(const std::string& picture, const std::string& attack_picture);
    // Sheet cells for drawing; -1 draws nothing (a creature without a picture gets no cell).
    void Set_Picture_Indexes(int16_t picture_index, int16_t attack_picture_index);
    // Its picture cell at x, y of the page.
    void Draw(int32_t page, int32_t x, int32_t y) const;
    void Set_Name(const std::string& name) { Name = name; }
    void Set_Module_Name(const std::string& module_name) { Module_Name = module_name; }
    // Sets the move delay from outside (creation, summoning): the base the recalculation adds the movement
    // penalty to.
    void Set_Move_Delay(uint16_t delay);
    // The sound heard from the creature's square at the player's square; plain when there is no player.
    void Play_Sound(const std::string& file_name) const;

    // -----------------------------------------------------------------------------------------------
    // Inventory (each change recalculates the statistics)

    // Add_To_Backpack; its result.
    bool Add_Item(TItem* item);
    bool Put_Item_In_Slot(TItem* item, int32_t slot);
    // Gold adds its value to Gold and is deleted from the current item list; anything else goes to the
    // backpack. Then the quick bar is refilled with scrolls. False when the backpack had no room.
    bool Pick_Up_Item(TItem* item);
    bool Equip_Item(TItem* item, int32_t slot);
    // Takes the slot's item out and drops quick-bar scroll slots that no longer hold a scroll.
    bool Remove_Item_From_Slot(int32_t slot, TItem*& item);
    TItem* Item_In_Slot(int32_t slot) const;
    // Gold always; anything else when the backpack has room.
    bool Can_Pick_Up(const TItem* item) const;

    // -----------------------------------------------------------------------------------------------
    // Class

    // Sets Class_Index, and Class_Name from the class table (empty when the index names no class).
    void Set_Class(uint8_t index);
    bool Is_Monster() const { return Class_Index == 0; }
    // The class record of a player; null for a monster and for a class the table no longer has.
    const TClass_Info* Class_Record() const;
    // Called after a character is created; does nothing.
    void Empty_Hook() {}

    // -----------------------------------------------------------------------------------------------
    // Life, mana, food

    void Fill_Life();
    void Fill_Mana();
    void Fill_Food();
    void Add_Life(double n);
    void Add_Mana(double n);
    void Add_Food(int32_t n);
    void Spend_Mana(double n);
    void Regenerate_Life();
    void Regenerate_Mana();

    // -----------------------------------------------------------------------------------------------
    // Leader, gold, points

    // Also makes it guard that leader (strategy "Guard Monster").
    void Set_Leader(int16_t id);
    void Set_Guard_Range(uint16_t n) { Guard_Range = n; }
    void Add_Gold(int32_t n);
    void Remove_Gold(int32_t n); // never below 0
    void Add_Experience_Bonus(int32_t n);
    void Use_Attribute_Point();
    void Use_Skill_Point();
    void Raise_Strength();
    void Raise_Intelligence();
    void Raise_Dexterity();
    void Raise_Constitution();
    void Set_Character_State(uint8_t state) { Character_State = state; }
    void Set_Quests_Changed(bool changed) { Quests_Changed = changed ? 1 : 0; }

    // -----------------------------------------------------------------------------------------------
    // Experience

    // The class's experience for leaving the current level; 0 for a monster and a missing class.
    int32_t Experience_For_Next_Level() const;
    // Adds n; a player then gains every level the experience pays for, keeping the remainder. A
    // requirement of 0 or below gains nothing (a bad table would otherwise loop for ever).
    void Add_Experience(int32_t n);
    // The experience the killer (looked up in the current map's creature list) gets for this creature; 0
    // when the killer is gone, and 0 for the player killing a peaceful creature.
    int32_t Experience_For_Kill(uint16_t killer_id) const;

    // -----------------------------------------------------------------------------------------------
    // Statuses (one at a time; each setter overwrites the current one)

    void Set_Panic(int32_t amount, uint16_t source);
    void Set_Blind(int32_t amount, uint16_t source);
    void Set_Paralyzed(int32_t amount, uint16_t source);
    void Set_Asleep(int32_t amount, uint16_t source);
    void Poison(int32_t level_difference, uint16_t source);
    void Change_Allegiance(int32_t seconds, int16_t leader_id, uint16_t range);
    void Cure_Poison();
    // Ends panic, blindness, paralysis and sleep; poison and a changed allegiance stay.
    void Clear_Status();

    // -----------------------------------------------------------------------------------------------
    // Effects

    void Add_Timed_Effect(uint8_t type, int32_t min, int32_t max, int32_t seconds);
    void Add_Permanent_Effect(uint8_t type, int32_t min, int32_t max);
    // The sum over the equipped items, the passive spells, the timed and the permanent effects.
    int32_t Effect_Total(uint8_t type) const;
    int32_t Weapon_Spell_Effect_Total(uint8_t type, const std::string& weapon_type) const;
    // Appends the equipped items', the passive spells', the timed and the permanent effects, in that order.
    void Gather_Effects(TEffect_List& list) const;
    // One line per timed effect, then the status lines.
    void Timed_Effect_Lines(TString_List& lines) const;

    // -----------------------------------------------------------------------------------------------
    // Consumables

    // Applies the item's consumption and uses one unit: the last unit leaves the inventory (when it is
    // still there) and the current item list. True while the item still exists (units are left).
    bool Use_Item(TItem* item);
    bool Eat(TItem* item);
    bool Drink(TItem* item);
    // Drinks one unit of the first backpack potion of the kind where it lies; nothing when there is none.
    void Drink_Health_Potion();
    void Drink_Mana_Potion();

    // -----------------------------------------------------------------------------------------------
    // Class spells (nothing for monsters and for a class the table no longer has)

    // The class's skill groups (the pages of the skill and quick-bar dialogs): group n's name from 1,
    // empty out of range, and how many groups the class has.
    std::string Class_Skill_Name(int32_t n) const;
    int32_t Class_Skill_Count() const;
    // For every spell n of the class, every master spell of that (trimmed, lower-cased) name adds its id
    // to spell_ids and the class's group number of spell n to group_numbers.
    void Class_Spells_Of_Skill(TWordList& spell_ids, TWordList& group_numbers) const;
    int32_t Spell_Maximum_Level(const TSpell& spell) const;
    int32_t Spell_Minimum_Level(const TSpell& spell) const;
    int32_t Spell_Class_Value(const TSpell& spell) const;
    bool Can_Learn_Spell(const TSpell& spell) const;
    // A new character learns every class spell whose starting level is not 0, with cast chance 100.
    void Learn_Class_Spells();

    // -----------------------------------------------------------------------------------------------
    // Texts for the statistics window

    std::string Hit_Chance_Text() const;
    std::string Miss_Chance_Text() const;
    // "min - max" of Get_Attack_Damage; empty without an attack.
    std::string Damage_Text() const;
    bool Has_Ranged_Attack() const;

    // When Move_Timer has reached the move delay at the chosen game speed: Move_Timer := 0 and true.
    bool Ready_To_Move();

    // -----------------------------------------------------------------------------------------------
    // Per-effect accessors

    int32_t Fire_Resist_Bonus() const;
    int32_t Cold_Resist_Bonus() const;
    int32_t Lightning_Resist_Bonus() const;
    int32_t Magic_Resist_Bonus() const;
    int32_t Poison_Resist_Bonus() const;
    int32_t Physical_Resist_Bonus() const;
    int32_t Movement_Penalty() const;
    int32_t Mana_Bonus() const;
    int32_t Life_Bonus() const;
    int32_t Food_Bonus() const;
    int32_t Weight_Bonus() const;
    int32_t Attack_Ability_Bonus() const;
    int32_t Defense_Ability_Bonus() const;
    int32_t Minimum_Damage_Bonus() const;
    int32_t Maximum_Damage_Bonus() const;
    double Life_Regeneration_Bonus() const;
    double Mana_Regeneration_Bonus() const;
    int32_t Attacker_Takes_Damage() const;
    int32_t Damage_Generates_Mana() const;
    int32_t Damage_Reduction() const;
    int32_t Kill_Regenerates_Mana() const;
    int32_t Life_Stolen() const;
    int32_t Mana_Stolen() const;
    int32_t Damage_Resistance_Bonus() const;
    int32_t Damage_Reduction_Percent() const;
    int32_t Ignores_Defense() const;
    int32_t Flee_Power(int32_t target_level) const;
    int32_t Sleep_Power(int32_t target_level) const;
    int32_t Blind_Power(int32_t target_level) const;
    int32_t Paralyze_Power(int32_t target_level) const;
    int32_t Bash_Doors() const;
    int32_t Pick_Locks() const;
    int32_t More_Gold() const;
    int32_t Skill_Levels() const;
    int32_t Poison_Length_Reduction() const;
    int32_t Reduced_Detection_Chance() const;
    int32_t Detect_Evil() const;
    int32_t Detect_Traps() const;        // + 10
    int32_t Detect_Secret_Doors() const; // + 5
    bool Has_Two_Weapons() const;
    // The light the creature gives: 1 for the player, 0 for a monster, plus its "Light Radius" effects and
    // the light of the items in the hands. Recalculation stores it in the Light_Radius field.
    int32_t Compute_Light_Radius() const;

    // -----------------------------------------------------------------------------------------------
    // Update and combat (MonsterAI.cpp, MonsterCombat.cpp)

    // One tick of the creature (rate: ticks per second). A creature that dies in it has left its square
    // and the map's list; the caller must not touch it again.
    virtual void Update(const TCallback_Set& callbacks, double rate);
    // The status clock counts down by the tick at the chosen game speed; a changed allegiance that runs out
    // turns the creature back to hunting with no leader; poison takes a point of life every 5 s. True when
    // the creature died of it (it has then left the map).
    bool Update_Status(const TCallback_Set& callbacks, double rate);
    // The player's hunger, every 5 s: a point of food, or of life when there is none. True when it starved.
    bool Update_Hunger(const TCallback_Set& callbacks);
    // Counts the timed effects down and drops those that ran out.
    void Update_Timed_Effects(double rate);
    // A monster's behaviour turn: nothing without a player or farther than 30 squares from it.
    void Take_Turn(const TCallback_Set& callbacks);
    void Run_AI(const TCallback_Set& callbacks);
    // A blow at an adjacent target (true), or perhaps a spell at a farther one, which leaves the turn to
    // the strategy's movement (false; true only when the caster did not survive its own cast).
    bool Try_Attack_Or_Cast(const TCallback_Set& callbacks);
    // The creature this one fights: for a follower of the player an enemy near the player, for anyone else
    // the player or a follower nearby, else the player. Null when there is none.
    TMonster* Find_Target() const;
    // The direction code toward the player's square; 0 on it or without a player.
    uint8_t Direction_To_Player() const;
    // One square in the direction (other codes stay put), held to 8..193. Step_Blocked when the square
    // refuses the creature's movement kinds or another creature stands there; with the game options'
    // Flag_4 off the player skips the terrain test (never the creature test).
    int32_t Step(uint8_t direction);
    // Uses up one key of the group from the inventory; false when there is none.
    bool Use_Key(const std::string& key_group);
    // The melee or missile damage the creature deals, with the effects, the weapon's use sound and the
    // ammunition it fires. False when the creature has no attack.
    bool Get_Attack_Damage(TDamage& damage, TEffect_List& effects, std::string& use_sound,
                           std::string& ammunition) const;
    // The damage of the first natural attack; null when the creature has none.
    const TDamage* Natural_Attack_Damage() const;
    // The creature is hit by the damage (its Rolled_Amount already rolled) and the effects of the attack.
    // extra is the on-hit duration in seconds (0 for blows and traps). True when the creature died: it has
    // then left its square and the map's list, and the caller must not touch it again.
    bool Take_Damage(uint16_t attacker_id, const TDamage& damage, const TCallback_Set& callbacks,
                     const std::string& cause, int32_t extra, const TEffect_List& effects);
    // Pays the killer (looked up in the current map) for this creature: mana for the kill, and the kill's
    // experience to the killer's leader when it has one, else to the killer.
    void Award_Kill(uint16_t killer_id);
    // Death: the death sound, the gold bonus of the player's "More Gold", the items dropped, the player's
    // death report, the module's event, and the creature leaves its square and the map's list. The caller
    // must not touch the creature afterwards.
    void Die(const TCallback_Set& callbacks, uint16_t killer_id, const std::string& cause);
    // Every item of slots 1..90, in slot order, onto the creature's square.
    void Drop_All_Items();
    // Every gold item carried gets percent of its quantity, as quantity and stack size.
    void Scale_Gold(int32_t percent);
    // Percent to hit, 5..95. A ratio whose two terms add up to 0 counts as one half.
    static int32_t Hit_Chance(int32_t attack, int32_t defence, int32_t defender_level,
                              int32_t attacker_level);
    // Whether the weapon in slot 6, or else in slot 7, is of the type (trimmed, lower-cased).
    bool Wields_Weapon_Type(const std::string& name) const;

    // -----------------------------------------------------------------------------------------------
    // What requirements and spells read of the creature

    int32_t Current_Level() const override { return Level; }
    int32_t Current_Class_Index() const override { return Class_Index; }
    int32_t Current_Strength() const override { return Strength; }
    int32_t Current_Dexterity() const override { return Dexterity; }
    int32_t Current_Intelligence() const override { return Intelligence; }
    int32_t Current_Constitution() const override { return Constitution; }
    int32_t Current_Max_Mana() const override { return Max_Mana; }
    int32_t Current_Max_Life() const override { return Max_Life; }
    int32_t Owner_Skill_Levels() const override { return Skill_Levels(); }
    bool Owner_Wields_Weapon_Type(const std::string& weapon_type) const override {
        return Wields_Weapon_Type(weapon_type);
    }
    const TItem* Owner_Item_In_Slot(int32_t slot) const override { return Item_In_Slot(slot); }

    // -----------------------------------------------------------------------------------------------
    // Fields

    uint16_t Id = 0; // slot in the map's creature list
    std::string Name;
    std::string Description;
    std::string Module_Name; // character data set of the module the character is in
    std::string Picture;
    std::string Attack_Picture;
    std::string Monster_Group;
    bool Is_Unique = false; // five times the kill experience
    bool Is_Undead = false; // hurt by "Dispel Undead"
    uint8_t X = 0, Y = 0;
    uint8_t Home_X = 0, Home_Y = 0; // anchor of the anchored behaviours
    int16_t Event_Id = 0;           // module event fired when it dies
    uint8_t Movement_Flags = 1;
    uint8_t Vision_Flags = 1;
    int16_t Base_Strength = 0, Base_Dexterity = 0, Base_Intelligence = 0, Base_Constitution = 0;
    uint16_t Strength = 0, Dexterity = 0, Intelligence = 0, Constitution = 0;
    uint16_t Fire_Resist = 0, Cold_Resist = 0, Lightning_Resist = 0, Magic_Resist = 0, Poison_Resist = 0,
             Physical_Resist = 0;
    int16_t Base_Resist = 0; // a monster's resistance to everything
    uint16_t Level = 0;
    int32_t Gold = 0;
    int32_t Experience = 0;        // towards the next level
    uint16_t Experience_Bonus = 0; // percent added to the experience a killer gets
    uint8_t Class_Index = 0;       // 0: a monster
    std::string Class_Name;
    uint8_t Status = Status_Normal;
    int32_t Status_Ms = 0;
    uint16_t Status_Source = 0;
    uint16_t Permanent_Mana = 0;
    int16_t Permanent_Life = 0;
    double Mana = 0;
    int32_t Max_Mana = 0; // stored as 16 bits
    double Life = 0;
    uint16_t Max_Life = 0, Food = 0, Max_Food = 0, Weight = 0, Max_Weight = 0;
    double Life_Regeneration = 0, Mana_Regeneration = 0; // percent of the maximum per second
    uint16_t Attack = 0, Defense = 0;
    int16_t Attribute_Points = 0, Skill_Points = 0;
    uint8_t Quests_Changed = 0; // not saved
    TInventory Inventory;
    int16_t Store_Id = 0;
    TString_List Talk_Topics; // parallel to Talk_Texts
    TString_List Talk_Texts;
    uint8_t Light_Radius = 0;
    TNatural_Attacks Natural_Attacks;
    TEffect_List Permanent_Effects;
    TEffect_List Timed_Effects;
    TLongintList Timed_Effect_Ms; // parallel to Timed_Effects
    TSpells_List Spells;
    TString_List Status_Lines; // shown after the timed effect lines
    bool Does_Attack = true;   // hostile to the character
    uint8_t When_To_Retreat = 3;
    uint8_t Response_Range = 2;
    uint8_t Movement_Strategy = Strategy_Stay_Put;
    // ms between moves at 100 % game speed, at most 3000. Rebuilt by every recalculation: set it from
    // outside through Set_Move_Delay, which sets the base too.
    uint16_t Move_Delay = 0;
    // What Move_Delay is rebuilt from: the recalculation adds the movement penalty to it, so a "Reduce
    // Movement" effect slows the creature only while it lasts. The record's move delay carries it.
    uint16_t Base_Move_Delay = 0;
    uint8_t Intelligence_Category = 0;
    uint8_t Corpse_Type = 0;
    std::string Sound_Death = "chardie2.wav";
    std::string Sound_Attack;
    std::string Sound_Growl;
    int16_t Leader_Id = 0;
    uint16_t Guard_Range = 0;
    uint8_t Character_State = Character_Available;
    bool Can_Be_Given_Items = false;
    int16_t Picture_Index = 0; // sheet cells for drawing; not saved
    int16_t Attack_Picture_Index = 0;
    // Millisecond accumulators of the update; not saved, not copied.
    int32_t Regen_Timer = 0, Hunger_Timer = 0, Move_Timer = 0, Poison_Timer = 0, Light_Timer = 0;

private:
    void Check_Not_Released() const {
#ifdef MURK_DEBUG_CHECKS
        if (Released_) Report_Released_Creature_Changed(Id);
#endif
    }
    void Recalculate_Player(const TClass_Info& c);
    void Apply_Consumption(const TItem& item);
    // Drinks one unit of the first potion of the consumption kind (Drink_Health_Potion, Drink_Mana_Potion).
    void Drink_Potion(uint8_t kind);
    void Set_Status(uint8_t status, int32_t ms, uint16_t source);
    int32_t Power_Against(uint8_t type, int32_t target_level) const;

    bool Released_ = false;
};

// The type the map's creature list stores; it adds nothing.
class TWriteable_Monster : public TMonster {
public:
    using TMonster::TMonster;
};
