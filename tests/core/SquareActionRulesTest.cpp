// The rules of actions on squares: picking up and shooting, how far each kind of spell reaches, the level
// order of the chance to hit, the chances of a changed allegiance, of curing poison and of lifting a curse,
// and where a teleport may land.
#include "core/ActionHooks.h"
#include "core/Actions.h"
#include "core/DisplaySeam.h"
#include "core/GlobalFuncs.h"
#include "core/Spells.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using TLines = std::vector<std::string>;
using TSquare = std::pair<int, int>;

enum : uint8_t {
    Fx_Cure_Poison = 58,
    Fx_Change_Allegiance = 62,
    Fx_Remove_Curse = 65,
    Fx_Teleport = 72,
};

std::string At(int32_t x, int32_t y) {
    return " @" + std::to_string(x) + "," + std::to_string(y);
}

class SquareActionRules : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Callbacks.On_Attack_Animation = [this](TMonster* a, TMonster* t, const std::string&,
                                               const std::string&, bool hit, const TDamage&, int32_t, uint8_t,
                                               int32_t, int32_t x, int32_t y) {
            Log.push_back("attack " + (a ? a->Name : std::string()) + ">" + (t ? t->Name : "-") +
                          (hit ? " hit" : " miss") + At(x, y));
        };
        Callbacks.On_Missile_Animation = [this](TMonster* c, TMonster* t, const std::string&, bool,
                                                const std::string&, int32_t, const TSpell*, const TDamage&,
                                                int32_t x, int32_t y) {
            Log.push_back("spell " + c->Name + ">" + (t ? t->Name : "-") + At(x, y));
        };
        Callbacks.On_Refresh_Spells = [this] { Log.push_back("refresh"); };
        Place_Hero();
    }
    void Place_Hero() {
        Hero = Add_Creature(40, 40, "hero");
        Hero->Max_Mana = 20;
        Hero->Mana = 20;
        Set_Player(Hero);
    }
    void TearDown() override {
        Set_Player(nullptr);
        Free_Master_Spells();
        TMap_Fixture::TearDown();
    }
    // A bow of range 6 in the first hand, and with arrows the ammunition for it.
    void Arm_With_Bow(bool with_arrows) {
        TItem* bow = Add_Item("bow", 6);
        bow->Damage.Set(2, 2, 6, 0);
        bow->Ammo_Required = "arrow";
        Hero->Put_Item_In_Slot(bow, 6);
        if (!with_arrows) return;
        TItem* arrows = Add_Item("arrows", 1);
        arrows->Ammo_Type = "arrow";
        arrows->Quantity = 10;
        Hero->Put_Item_In_Slot(arrows, 11);
    }
    // Master spell 1, of the kind and reach given, costing 3 mana.
    TSpell& Spell(uint8_t kind, int32_t reach) {
        if (Master_Spell_Count() == 0) {
            Folder.Write("Data/Spells.txt", Data_File_Text({{{"Name", "Spell"}}}, "Spells"));
            Load_Master_Spells(); // the keys it lacks are reported and read as 0
        }
        TSpell& spell = *Get_Master_Spell(1);
        spell.Target_Type = kind;
        if (!spell.Damage) spell.Damage = std::make_unique<TDamage>();
        spell.Damage->Range = reach;
        spell.Mana_Cost_Base = 3;
        return spell;
    }
    TLines Take_Log() { return std::exchange(Log, {}); }

    TMonster* Hero = nullptr;
    TCallback_Set Callbacks;
    TLines Log;
};

TEST_F(SquareActionRules, PickingUpAndShooting) {
    struct TCase {
        const char* What;
        TSquare Click;
        bool Item_There;
        int Bow; // 0 none, 1 without arrows, 2 with arrows
        bool Done;
        bool Picked_Up;
        TLines Log;
    };
    // clang-format off
    const TCase cases[] = {
        {"an item next to him", {41, 41}, true, 0, true, true, {"refresh"}},
        {"an item under him", {40, 40}, true, 0, true, true, {"refresh"}},
        {"an item out of reach", {42, 40}, true, 0, false, false, {}},
        {"an item out of reach, shot at", {42, 40}, true, 2, true, false, {"attack hero>- hit @42,40"}},
        {"an empty square, shot at", {45, 43}, false, 2, true, false, {"attack hero>- hit @45,43"}},
        {"an empty square next to him, shot at", {41, 40}, false, 2, true, false, {"attack hero>- hit @41,40"}},
        {"a bow without arrows is only drawn", {45, 43}, false, 1, true, false, {}},
        {"never at his own square", {40, 40}, false, 2, false, false, {}},
        {"nothing to shoot with", {45, 43}, false, 0, false, false, {}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Map->Clear(false);
        Fill(Floor);
        Place_Hero();
        if (c.Bow) Arm_With_Bow(c.Bow == 2);
        const uint16_t gem = c.Item_There ? Add_Item("gem", 18)->Id : 0;
        if (gem) Map->Get_Square(c.Click.first, c.Click.second)->Drop_Item(Find_Item(gem));
        Sounds->Played.clear();
        Log.clear();
        EXPECT_EQ(Do_Action_At(*Hero, Action_Any, c.Click.first, c.Click.second, Callbacks, 0), c.Done);
        EXPECT_EQ(Take_Log(), c.Log);
        if (gem) {
            EXPECT_EQ(Map->Get_Square(c.Click.first, c.Click.second)->Get_Top_Item() == nullptr, c.Picked_Up);
            EXPECT_EQ(Hero->Inventory.Find_Slot(11) != 0 && Hero->Item_In_Slot(11) == Find_Item(gem),
                      c.Picked_Up);
        }
        // The pick-up is heard from where the hero stands.
        const bool heard = !Sounds->Played.empty() && Sounds->Played.back().File_Name == "itempick.wav";
        EXPECT_EQ(heard, c.Picked_Up);
        if (heard) {
            EXPECT_EQ((TSquare{Sounds->Played.back().Source_X, Sounds->Played.back().Source_Y}),
                      TSquare(40, 40));
        }
    }
}

TEST_F(SquareActionRules, EachSpellKindReachesItsRange) {
    struct TCase {
        uint8_t Kind;
        int Distance; // of the square clicked, where a rat stands
        bool Cast;
    };
    // A creature spell measures to the creature, a place or group spell to the square; 5 is the reach.
    const TCase cases[] = {{2, 5, true},  {2, 6, false}, {4, 5, true},
                           {4, 6, false}, {6, 5, true},  {6, 6, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Kind) + " at " + std::to_string(c.Distance));
        Spell(c.Kind, 5);
        Hero->Spells.Set_Spell(1, 1, 100);
        Hero->Mana = 20;
        const int x = 40 + c.Distance, y = 40 - c.Distance / 2;
        TMonster* rat = Add_Creature(x, y, "rat");
        EXPECT_TRUE(Cast_Spell(*Hero, x, y, Callbacks, 1, 0));
        const TLines cast = {std::string("spell hero>") + (c.Kind == 4 ? "-" : "rat") + At(x, y)};
        EXPECT_EQ(Take_Log(), c.Cast ? cast : TLines{});
        EXPECT_EQ(Hero->Mana, c.Cast ? 17 : 20);
        Map->Remove_Monster(rat->Id);
        Map->End_Tick();
    }
}

// The seed whose draws, after the given ones, roll the wanted number.
template <typename TDraws> uint64_t Seed_For(int32_t roll, TDraws draws_before) {
    for (uint64_t seed = 1;; ++seed) {
        Seed_Random(seed);
        draws_before();
        if (Random_Range(1, 100) == roll) return seed;
    }
}

TEST_F(SquareActionRules, TheChanceToHitWeighsTheAttackersLevelAgainstTheDefenders) {
    struct TCase {
        uint16_t Attack, Defence, Attacker_Level, Defender_Level;
        int32_t Chance;
    };
    // Trunc(attack share x 100 x attacker's level share x 2), held to 5..95.
    const TCase cases[] = {
        {100, 100, 3, 1, 75}, {100, 100, 1, 3, 25}, {60, 40, 2, 3, 48},
        {60, 40, 3, 2, 72},   {30, 70, 1, 3, 15},
    };
    TMonster* target = Add_Creature(41, 41, "target");
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Attacker_Level) + " against " + std::to_string(c.Defender_Level));
        EXPECT_EQ(TMonster::Hit_Chance(c.Attack, c.Defence, c.Defender_Level, c.Attacker_Level), c.Chance);
        Hero->Attack = c.Attack;
        Hero->Level = c.Attacker_Level;
        target->Defense = c.Defence;
        target->Level = c.Defender_Level;
        // The bare hands roll their damage before the roll to hit.
        for (const int32_t roll : {c.Chance, c.Chance + 1}) {
            Seed_Random(Seed_For(roll, [] { Random_Range(1, 4); }));
            Melee_Attack(*Hero, target, 41, 41, Callbacks);
            EXPECT_EQ(Take_Log(), TLines{std::string("attack hero>target ") +
                                         (roll <= c.Chance ? "hit" : "miss") + " @41,41"})
                << roll;
        }
    }
}

TEST_F(SquareActionRules, ChancesOfTurningCuringAndLiftingACurse) {
    Spell(3, 0);
    struct TCase {
        const char* What;
        uint8_t Effect;
        uint16_t Attacker_Level, Target_Level;
        int32_t Min, Max;
        bool Unique, Undead;
        int32_t Chance; // the highest roll that works; 0: none does
    };
    // clang-format off
    const TCase cases[] = {
        {"a weaker attacker loses 10 a level", Fx_Change_Allegiance, 2, 5, 50, 50, false, false, 20},
        {"a stronger attacker gains nothing", Fx_Change_Allegiance, 5, 2, 50, 50, false, false, 50},
        {"with no maximum the minimum counts", Fx_Change_Allegiance, 3, 3, 35, 0, false, false, 35},
        {"a rolled amount", Fx_Change_Allegiance, 3, 3, 40, 40, false, false, 40},
        {"a maximum of 1 counts the roll", Fx_Change_Allegiance, 3, 3, 0, 1, false, false, 1},
        {"never a unique creature", Fx_Change_Allegiance, 9, 1, 100, 100, true, false, 0},
        {"never an undead one", Fx_Change_Allegiance, 9, 1, 100, 100, false, true, 0},
        {"cure poison", Fx_Cure_Poison, 1, 1, 30, 30, false, false, 30},
        {"cure poison, no maximum", Fx_Cure_Poison, 1, 1, 45, 0, false, false, 45},
        {"remove curse", Fx_Remove_Curse, 1, 1, 25, 25, false, false, 25},
    };
    // clang-format on
    TMonster* target = Add_Creature(41, 41, "target");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        for (const int32_t roll : {c.Chance, c.Chance + 1}) {
            if (roll < 1) continue;
            Hero->Level = c.Attacker_Level;
            target->Level = c.Target_Level;
            target->Is_Unique = c.Unique;
            target->Is_Undead = c.Undead;
            target->Leader_Id = 0;
            target->Guard_Range = 0;
            target->Movement_Strategy = Strategy_Hunt;
            const uint8_t before = c.Effect == Fx_Cure_Poison    ? Status_Poisoned
                                   : c.Effect == Fx_Remove_Curse ? Status_Blind
                                                                 : Status_Normal;
            target->Status = before;
            target->Status_Ms = 9000;
            // The amount is drawn first, the roll after it; an amount of 0..1 must have come up 1.
            uint64_t seed = 1;
            for (;; ++seed) {
                Seed_Random(seed);
                const int32_t amount = Random_Range(c.Min, c.Max);
                if (Random_Range(1, 100) == roll && (c.Min != 0 || amount == 1)) break;
            }
            Seed_Random(seed);
            if (c.Effect == Fx_Change_Allegiance)
                Apply_Attack_Effect(c.Effect, c.Min, c.Max, Callbacks, 8, *target, Hero);
            else
                Apply_Spell_Effect(c.Effect, c.Min, c.Max, Callbacks, 1, *Get_Master_Spell(1), 8, *target);
            const bool works = roll <= c.Chance;
            const uint8_t after =
                c.Effect == Fx_Change_Allegiance ? Status_Allegiance_Changed : Status_Normal;
            EXPECT_EQ(target->Status, works ? after : before) << roll;
            if (c.Effect == Fx_Change_Allegiance) {
                const std::vector<int> turned = {Hero->Id, 4, 8000}, kept = {0, 0, 9000};
                EXPECT_EQ((std::vector<int>{target->Leader_Id, target->Guard_Range, target->Status_Ms}),
                          works ? turned : kept)
                    << roll;
            }
        }
    }
}

TEST_F(SquareActionRules, ATeleportLandsOnlyWhereOneCanWalk) {
    TSpell& spell = Spell(3, 0);
    const uint16_t water = Add_Terrain("water", Movement_Water, Vision_Normal);
    const uint16_t chasm = Add_Terrain("chasm", Movement_Air, Vision_Normal);
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        Fill(Wall);
        Hero->Move_To(100, 100);
        Set_Terrain(100, 100, Floor);
        Set_Terrain(101, 99, water);
        Set_Terrain(99, 99, chasm);
        Set_Terrain(101, 101, Floor);
        TMonster* rat = Add_Creature(101, 101, "rat"); // taken
        Set_Terrain(99, 101, Floor);
        Seed_Random(seed);
        Apply_Spell_Effect(Fx_Teleport, 1, 1, Callbacks, 1, spell, 0, *Hero);
        EXPECT_EQ((TSquare{Hero->X, Hero->Y}), TSquare(99, 101));
        EXPECT_EQ(Take_Log(), TLines{"spell hero>- @99,101"});
        Map->Remove_Monster(rat->Id);
        Map->End_Tick();
    }
    // The map's edge rows count: next to the top edge the one free square is in row 1.
    Fill(Wall);
    Hero->Move_To(100, 2);
    Set_Terrain(99, 1, Floor);
    Apply_Spell_Effect(Fx_Teleport, 1, 1, Callbacks, 1, spell, 0, *Hero);
    EXPECT_EQ((TSquare{Hero->X, Hero->Y}), TSquare(99, 1));
    Take_Log();
    // Nowhere to land: it stays, and nothing is shown.
    Fill(Wall);
    Hero->Move_To(100, 100);
    Apply_Spell_Effect(Fx_Teleport, 1, 1, Callbacks, 1, spell, 0, *Hero);
    EXPECT_EQ((TSquare{Hero->X, Hero->Y}), TSquare(100, 100));
    EXPECT_EQ(Take_Log(), TLines{});
}

// A trap group that always has one trap of 3..3.
class TDart_Hooks : public TAction_Hooks {
public:
    bool Pick_Trap(const std::string&, int32_t, TDamage& trap) override {
        trap.Set(3, 3, 1, 0);
        return true;
    }
    std::unique_ptr<TSummoner> Open_Summoner(const std::string&) override { return nullptr; }
};

// The chances of picking a lock, of bashing a door and of seeing a trap, each at its highest working roll
// and one above it.
TEST_F(SquareActionRules, LockPicksBashesAndTrapDetection) {
    Install_Action_Hooks(std::make_shared<TDart_Hooks>());
    TTerrain door;
    door.Data_Id = 51;
    door.Next_Terrain_Action = Action_Open;
    door.Next_Terrain_Id_1 = 53;
    door.Next_Terrain_Id_2 = 55;
    const uint16_t closed = Map->Terrain_List.Add(door);
    for (const uint16_t data_id : {53, 55}) {
        TTerrain after;
        after.Data_Id = data_id;
        Map->Terrain_List.Add(after);
    }
    enum TKind { Pick, Bash, Detect };
    struct TCase {
        const char* What;
        TKind Kind;
        int32_t Effect; // Pick Locks, Bash Doors or Detect Traps on the hero
        int32_t Chance; // the highest roll that works; 0: none does
    };
    // clang-format off
    const TCase cases[] = {
        {"a pick of 1", Pick, 1, 1}, {"a pick of 40", Pick, 40, 40}, {"no pick", Pick, 0, 0},
        {"a bash of 1", Bash, 1, 1}, {"a bash of 40", Bash, 40, 40}, {"no bash", Bash, 0, 0},
        {"traps are seen 10 in 100 times", Detect, 0, 10}, {"and 15 more with the effect", Detect, 15, 25},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        for (const int32_t roll : {c.Chance, c.Chance + 1}) {
            if (roll < 1) continue;
            Hero->Permanent_Effects.Clear();
            const uint8_t effect = c.Kind == Pick ? 54 : c.Kind == Bash ? 51 : 53;
            if (c.Effect) Hero->Add_Permanent_Effect(effect, c.Effect, c.Effect);
            Set_Terrain(41, 41, closed);
            TMap_Square& square = *Map->Get_Square(41, 41);
            if (c.Kind == Detect) {
                Seed_Random(Seed_For(roll, [] {}));
                const bool avoided = !Spring_Trap(*Hero, "Darts", Callbacks);
                EXPECT_EQ(avoided, roll <= c.Chance) << roll;
                EXPECT_EQ(Take_Log(), avoided ? TLines{} : TLines{"attack >hero hit @40,40"}) << roll;
                continue;
            }
            Map->Set_Lock("Doors", 41, 41, true);
            // A bash is tried only after the pick: the pick has already failed on this door.
            square.Set_Pick_Tried(c.Kind == Bash);
            Seed_Random(Seed_For(roll, [] {}));
            Do_Action_At(*Hero, Action_Any, 41, 41, Callbacks, 0);
            const bool works = roll <= c.Chance;
            EXPECT_EQ(square.Is_Locked(), !works) << roll;
            // A picked lock opens the door; a bashed one breaks it.
            const uint16_t after =
                !works ? closed : Map->Terrain_List.Find_By_Data_Id(c.Kind == Pick ? 53 : 55);
            EXPECT_EQ(square.Terrain_Id, after) << roll;
        }
    }
    // Only the player picks and bashes: without one, a roll of 1 opens nothing.
    Set_Player(nullptr);
    for (const bool bash : {false, true}) {
        Set_Terrain(41, 41, closed);
        Map->Set_Lock("Doors", 41, 41, true);
        Map->Get_Square(41, 41)->Set_Pick_Tried(bash);
        Seed_Random(Seed_For(1, [] {}));
        Do_Action_At(*Hero, Action_Any, 41, 41, Callbacks, 0);
        EXPECT_TRUE(Map->Get_Square(41, 41)->Is_Locked()) << bash;
    }
    Set_Player(Hero);
    // No picking or bashing without pick or bash skill, whatever the rolls.
    for (uint64_t seed = 1; seed <= 50; ++seed) {
        Seed_Random(seed);
        Hero->Permanent_Effects.Clear();
        Set_Terrain(41, 41, closed);
        Map->Set_Lock("Doors", 41, 41, true);
        Map->Get_Square(41, 41)->Set_Pick_Tried(false);
        Do_Action_At(*Hero, Action_Any, 41, 41, Callbacks, 0);
        EXPECT_TRUE(Map->Get_Square(41, 41)->Is_Locked()) << seed;
    }
    Install_Action_Hooks(nullptr);
    Take_Log();
}

TEST_F(SquareActionRules, ImpactSounds) {
    struct TCase {
        int32_t Amount;
        uint8_t Effect; // with its amount; 0 none
        int32_t Effect_Amount;
        const char* Severity; // physical: the file's ending; elemental: the whole name
    };
    // A physical blow of 30 or more sounds "min" and one below 10 "maj"; elemental damage the other way.
    // clang-format off
    const TCase cases[] = {
        {9, 0, 0, "maj.wav"}, {10, 0, 0, "med.wav"}, {29, 0, 0, "med.wav"}, {30, 0, 0, "min.wav"},
        {0, 4, 9, "cold_min.wav"}, {0, 4, 10, "cold_med.wav"}, {0, 13, 29, "fire_med.wav"},
        {0, 22, 30, "lit_maj.wav"}, {0, 24, 5, "mag_min.wav"}, {0, 42, 31, "pois_maj.wav"},
        {50, 7, 50, "min.wav"}, // a damage effect that is not elemental changes nothing
        {0, 0, 0, ""},
    };
    // clang-format on
    for (const TCase& c : cases) {
        TDamage damage;
        damage.Rolled_Amount = c.Amount;
        TEffect_List effects;
        if (c.Effect) effects.Add_Effect(c.Effect, c.Effect_Amount, c.Effect_Amount);
        const std::string sound = Damage_Sound_Name(damage, effects);
        if (c.Amount > 0 && !Is_Elemental_Damage_Type(c.Effect))
            EXPECT_TRUE(sound.size() == 12 && sound.ends_with(c.Severity)) << c.Amount << ": " << sound;
        else
            EXPECT_EQ(sound, c.Severity) << c.Amount << " " << int(c.Effect);
    }
    // The five materials come up alike.
    std::map<std::string, int> materials;
    TDamage blow;
    blow.Rolled_Amount = 20;
    for (uint64_t seed = 1; seed <= 1000; ++seed) {
        Seed_Random(seed);
        ++materials[Damage_Sound_Name(blow, TEffect_List()).substr(0, 5)];
    }
    ASSERT_EQ(materials.size(), 5u);
    for (const char* material : {"chain", "plate", "leth_", "wood_", "cloth"}) {
        EXPECT_GE(materials[material], 150) << material;
        EXPECT_LE(materials[material], 250) << material;
    }
}

// What a blow hands to the screen: the rolled amount within the weapon's range, the attack's effects, and
// no spell duration whatever the weapon's damage carries.
TEST_F(SquareActionRules, WhatABlowHandsToTheScreen) {
    TDamage seen;
    Callbacks.On_Attack_Animation = [&](TMonster*, TMonster*, const std::string&, const std::string&, bool,
                                        const TDamage& damage, int32_t, uint8_t, int32_t, int32_t,
                                        int32_t) { seen = damage; };
    TItem* sword = Add_Item("sword", 20);
    sword->Damage.Set(5, 7, 1, 0);
    sword->Damage.Spell_Amount = 9;
    sword->Effects.Add_Effect(13, 2, 2);
    Hero->Put_Item_In_Slot(sword, 6);
    Hero->Attack = 1000;
    TMonster* rat = Add_Creature(41, 40, "rat");
    Melee_Attack(*Hero, rat, 41, 40, Callbacks);
    EXPECT_GE(seen.Rolled_Amount, 5);
    EXPECT_LE(seen.Rolled_Amount, 7);
    EXPECT_EQ(seen.Spell_Amount, 0);
    EXPECT_TRUE(seen.Effects.Has_Effect(13));
    // Without a map there is nothing to act on.
    std::unique_ptr<TMap> map = Remove_Current_Map();
    EXPECT_FALSE(Do_Action_At(*Hero, Action_Any, 41, 40, Callbacks, 0));
    Install_Current_Map(std::move(map));
    Set_Player(Hero);
}

TEST_F(SquareActionRules, AGroupSpellSparesOnlyTheCastersFollowers) {
    Spell(6, 10).Area_Base = 2;
    Hero->Spells.Set_Spell(1, 1, 100);
    TMonster* lord = Add_Creature(60, 60, "lord");
    struct TOther {
        const char* Name;
        TSquare At;
        int Follows; // 0 nobody, 1 the hero, 2 the lord
    };
    const TOther others[] = {{"pet", {44, 40}, 1}, {"squire", {45, 41}, 2}, {"rat", {46, 42}, 0}};
    for (const TOther& o : others) {
        TMonster* m = Add_Creature(o.At.first, o.At.second, o.Name);
        if (o.Follows) m->Leader_Id = static_cast<int16_t>(o.Follows == 1 ? Hero->Id : lord->Id);
    }
    EXPECT_TRUE(Cast_Spell(*Hero, 45, 41, Callbacks, 1, 0));
    EXPECT_EQ(Take_Log(), (TLines{"spell hero>squire @45,41", "spell hero>rat @46,42"}));
    // Nothing chosen, nothing cast.
    EXPECT_FALSE(Cast_Spell(*Hero, 45, 41, Callbacks, 0, 0));
    EXPECT_EQ(Take_Log(), TLines{});
}

TEST_F(SquareActionRules, WhatASpellEffectDoesToItsTarget) {
    TSpell& spell = Spell(3, 0);
    struct TCase {
        const char* What;
        uint8_t Effect;
        int32_t Min, Max, Duration;
        std::set<int> Gains;     // over the seeds: life, mana or food gained
        int Timed_Ms, Permanent; // what stays as an effect
    };
    // clang-format off
    const TCase cases[] = {
        {"life of 2..4", 18, 2, 4, 0, {2, 3, 4}, 0, 0},
        {"life with no maximum: the minimum", 18, 5, 0, 0, {5}, 0, 0},
        {"mana", 29, 3, 3, 0, {3}, 0, 0},
        {"food", 60, 6, 6, 0, {6}, 0, 0},
        {"another effect for a second", 49, 2, 2, 1, {}, 1000, 0},
        {"another effect for good", 49, 2, 2, 0, {}, 0, 1},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        std::set<int> gains;
        for (uint64_t seed = 1; seed <= 40; ++seed) {
            Seed_Random(seed);
            TMonster m;
            m.Max_Life = m.Max_Mana = m.Max_Food = 100;
            Apply_Spell_Effect(c.Effect, c.Min, c.Max, Callbacks, 1, spell, c.Duration, m);
            const int gained = static_cast<int>(m.Life + m.Mana + m.Food);
            if (gained) gains.insert(gained);
            EXPECT_EQ(m.Timed_Effect_Ms.Count() ? m.Timed_Effect_Ms.Get(1) : 0, c.Timed_Ms);
            EXPECT_EQ(m.Permanent_Effects.Get_Count(), c.Permanent);
        }
        EXPECT_EQ(gains, c.Gains);
    }
}

// Summoning makes what is missing of the count, and nothing when the count is reached or nothing is named.
TEST_F(SquareActionRules, Summoning) {
    struct TSummons : TAction_Hooks {
        bool Pick_Trap(const std::string&, int32_t, TDamage&) override { return false; }
        std::unique_ptr<TSummoner> Open_Summoner(const std::string& name) override {
            struct TWolves : TSummoner {
                uint16_t Create_Monster(int32_t x, int32_t y, int32_t) override {
                    TMonster wolf;
                    wolf.Name = "Wolf";
                    wolf.Picture = "wolf.bmp";
                    wolf.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
                    TMonster* stored = Current_Map()->Monster_List.Add_Monster(wolf);
                    Current_Map()->Place_Monster(*stored);
                    return stored->Id;
                }
            };
            return name == "wolf" ? std::make_unique<TWolves>() : nullptr;
        }
    };
    Install_Action_Hooks(std::make_shared<TSummons>());
    auto display = std::make_shared<TRecording_Display_Sink>();
    display->Monster_Sheet = {"wolf.bmp", "rat.bmp"};
    Install_Display_Sink(display);
    struct TCase {
        const char* What;
        const char* Name;
        uint16_t Count;
        int Following; // wolves already following the hero
        int Made;
        bool Paid;
    };
    const TCase cases[] = {
        {"two wanted, none yet", "Wolf", 2, 0, 2, true},   {"two wanted, one there", "wolf", 2, 1, 1, true},
        {"two wanted, two there", "Wolf", 2, 2, 0, false}, {"a name of none", "None", 2, 0, 0, false},
        {"a count of none", "Wolf", 0, 0, 0, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Map->Clear(false);
        Fill(Floor);
        Place_Hero();
        TSpell& spell = Spell(1, 0);
        spell.Summon_Name = c.Name;
        spell.Summon_Base_Count = c.Count;
        Hero->Spells.Set_Spell(1, 1, 100);
        for (int n = 0; n < c.Following; ++n)
            Add_Creature(30 + n, 30, "wolf")->Set_Leader(static_cast<int16_t>(Hero->Id));
        const int before = Map->Monster_List.Get_Count();
        EXPECT_TRUE(Cast_Spell(*Hero, 0, 0, Callbacks, 1, 0));
        EXPECT_EQ(Map->Monster_List.Get_Count() - before, c.Made);
        EXPECT_EQ(Hero->Mana, c.Paid ? 17 : 20);
        for (int id = before + 1; id <= Map->Monster_List.Get_Count(); ++id) {
            const TMonster* wolf = Map->Monster_List.Get_Monster(static_cast<size_t>(id));
            // Following the hero within 3 squares; drawn with the sheet's first cell.
            EXPECT_EQ((std::vector<int>{wolf->Leader_Id, wolf->Guard_Range, wolf->Movement_Strategy,
                                        wolf->Picture_Index}),
                      (std::vector<int>{Hero->Id, 3, Strategy_Guard_Monster, 0}));
        }
    }
    Install_Display_Sink(nullptr);
    Install_Action_Hooks(nullptr);
    Take_Log();
}

} // namespace
