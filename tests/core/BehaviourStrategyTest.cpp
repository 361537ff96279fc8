// A monster's behaviour turn, strategy by strategy, and the rules around it: the growl, whom it fights and
// how ties are broken, the end of a changed allegiance, when it may cast, and what its blows deal.
#include "core/CharClass.h"
#include "core/GlobalFuncs.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "core/WorldEvents.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using TSquare = std::pair<int, int>;

enum : uint8_t {
    Fx_Damage = 7,
    Fx_Maximum_Damage = 31,
    Fx_Minimum_Damage = 32,
    Fx_Dispel_Undead = 67,
};

class BehaviourStrategy : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Callbacks.On_Attack_Animation = [this](TMonster* a, TMonster* t, const std::string&,
                                               const std::string&, bool, const TDamage&, int32_t, uint8_t,
                                               int32_t, int32_t, int32_t) {
            Log.push_back("attack " + a->Name + " " + t->Name);
        };
        Player_ = Add_Creature(50, 50, "hero");
        Player_->Set_Class(1); // a class the empty table lacks: a player all the same
        Set_Player(Player_);
    }
    void TearDown() override {
        Set_Player(nullptr);
        Free_Master_Spells();
        Free_Class_Info();
        TMap_Fixture::TearDown();
    }
    TMonster* Monster(int x, int y, uint8_t strategy, const std::string& name = "mob") {
        TMonster* m = Add_Creature(x, y, name);
        m->Movement_Strategy = strategy;
        return m;
    }
    // Takes the creature back to its square for the next turn.
    void Put_Back(TMonster& m, TSquare square) {
        m.Move_To(static_cast<uint8_t>(square.first), static_cast<uint8_t>(square.second));
    }
    static TSquare Where(const TMonster& m) { return {m.X, m.Y}; }

    TMonster* Player_ = nullptr;
    TCallback_Set Callbacks;
    std::vector<std::string> Log;
};

// The turns whose outcome follows from the board alone.
TEST_F(BehaviourStrategy, EveryStrategysTurn) {
    enum TOther { None, Wall_At, Leader_At, Gone_Leader, Player_Leader, Enemy_At };
    struct TCase {
        const char* What;
        uint8_t Strategy;
        TSquare From;
        TOther Other;
        TSquare Other_At;
        TSquare To;
        bool Attacks;
    };
    // The player stands at 50, 50.
    // clang-format off
    const TCase cases[] = {
        {"0 does nothing", 0, {55, 50}, None, {}, {55, 50}, false},
        {"1 does nothing", 1, {55, 50}, None, {}, {55, 50}, false},
        {"an unknown strategy does nothing", 14, {55, 50}, None, {}, {55, 50}, false},
        {"a patrol steps straight at the player", 4, {55, 53}, None, {}, {54, 52}, false},
        {"a patrol is stopped by a wall", 4, {55, 53}, Wall_At, {54, 52}, {55, 53}, false},
        {"a patrol strikes", 4, {51, 51}, None, {}, {51, 51}, true},
        {"a guard steps straight at the player", 7, {47, 46}, None, {}, {48, 47}, false},
        {"a guard is stopped by a wall", 7, {47, 46}, Wall_At, {48, 47}, {47, 46}, false},
        {"a guard strikes", 7, {49, 50}, None, {}, {49, 50}, true},
        {"a hunter walks round the wall", 5, {55, 53}, Wall_At, {54, 52}, {54, 53}, false},
        {"a hunter closes in", 5, {57, 50}, None, {}, {56, 50}, false},
        {"a hunter strikes", 5, {50, 51}, None, {}, {50, 51}, true},
        {"a ranged hunter at 5 closes in", 6, {55, 50}, None, {}, {54, 50}, false},
        {"a ranged hunter at 4 keeps its place", 6, {54, 50}, None, {}, {54, 50}, false},
        {"a ranged hunter strikes", 6, {51, 50}, None, {}, {51, 50}, true},
        {"keeping away from the east", 8, {53, 50}, None, {}, {54, 50}, false},
        {"keeping away from the north-west", 8, {47, 48}, None, {}, {46, 47}, false},
        {"keeping away never strikes", 8, {51, 50}, None, {}, {52, 50}, false},
        {"a follower at 4 comes closer", 9, {54, 50}, None, {}, {53, 50}, false},
        {"a follower at 3 keeps its place", 9, {53, 50}, None, {}, {53, 50}, false},
        {"a follower never strikes", 9, {51, 50}, None, {}, {51, 50}, false},
        {"a guard without its leader hunts", 10, {57, 50}, Gone_Leader, {70, 70}, {56, 50}, false},
        {"a guard too far from its leader goes back", 10, {64, 50}, Leader_At, {60, 50}, {63, 50}, false},
        {"a guard near its leader hunts the player", 10, {60, 50}, Leader_At, {62, 50}, {59, 50}, false},
        {"a guard at its range from its leader hunts", 10, {60, 50}, Leader_At, {63, 50}, {59, 50}, false},
        {"a guard near its leader strikes", 10, {51, 50}, Leader_At, {53, 50}, {51, 50}, true},
        {"the player's guard goes for an enemy", 10, {51, 50}, Enemy_At, {54, 50}, {52, 50}, false},
        {"the player's guard next to him makes room", 10, {49, 49}, Player_Leader, {}, {48, 48}, false},
        {"the player's guard two squares off stays", 10, {48, 48}, Player_Leader, {}, {48, 48}, false},
        {"anchored at 3, four from home, goes home", 11, {64, 60}, None, {}, {63, 60}, false},
        {"anchored at 5, six from home, goes home", 12, {66, 60}, None, {}, {65, 60}, false},
        {"anchored at 10, eleven from home, goes home", 13, {60, 71}, None, {}, {60, 70}, false},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Fill(Floor);
        TMonster* m = Monster(c.From.first, c.From.second, c.Strategy);
        m->Home_X = m->Home_Y = 60; // the anchored ones' home
        m->Set_Guard_Range(3);
        switch (c.Other) {
        case Wall_At: Set_Terrain(c.Other_At.first, c.Other_At.second, Wall); break;
        case Leader_At:
            m->Leader_Id = static_cast<int16_t>(Monster(c.Other_At.first, c.Other_At.second, 0, "lord")->Id);
            break;
        case Gone_Leader: {
            TMonster* lord = Monster(c.Other_At.first, c.Other_At.second, 0, "lord");
            m->Leader_Id = static_cast<int16_t>(lord->Id);
            Map->Remove_Monster(lord->Id);
            break;
        }
        case Player_Leader: m->Leader_Id = static_cast<int16_t>(Player_->Id); break;
        case Enemy_At:
            m->Leader_Id = static_cast<int16_t>(Player_->Id);
            Monster(c.Other_At.first, c.Other_At.second, 0, "orc");
            break;
        case None: break;
        }
        Log.clear();
        m->Run_AI(Callbacks);
        EXPECT_EQ(Where(*m), c.To);
        EXPECT_EQ(Log, c.Attacks ? std::vector<std::string>{"attack mob hero"} : std::vector<std::string>{});
        for (int id = 1; id <= Map->Monster_List.Get_Count(); ++id)
            if (id != Player_->Id) Map->Remove_Monster(static_cast<uint16_t>(id));
        Map->End_Tick();
    }
}

// The turns that step at random: how often they move, and that they can go every way.
TEST_F(BehaviourStrategy, RandomSteps) {
    struct TCase {
        const char* What;
        uint8_t Strategy;
        TSquare From;
        int Turns, Fewest, Most; // moves expected in that many turns
    };
    // 1 in 5 of 5000 is 1000 (one standard deviation about 28); 1 in 3 of 3000 is 1000 (26).
    const TCase cases[] = {
        {"stay put: 1 in 5", 2, {60, 60}, 5000, 920, 1080},
        {"wander around: 1 in 3", 3, {60, 60}, 3000, 920, 1080},
        // At the edge of its ground, an anchored creature wanders like one staying put.
        {"anchored at 3, three from home", 11, {63, 60}, 5000, 920, 1080},
        {"anchored at 5, five from home", 12, {60, 55}, 5000, 920, 1080},
        {"anchored at 10, ten from home", 13, {50, 60}, 5000, 920, 1080},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Seed_Random(7);
        TMonster* m = Monster(c.From.first, c.From.second, c.Strategy);
        m->Home_X = m->Home_Y = 60;
        int moves = 0;
        std::set<TSquare> reached;
        for (int turn = 0; turn < c.Turns; ++turn) {
            m->Run_AI(Callbacks);
            if (Where(*m) != c.From) {
                ++moves;
                reached.insert(Where(*m));
                Put_Back(*m, c.From);
            }
        }
        EXPECT_GE(moves, c.Fewest);
        EXPECT_LE(moves, c.Most);
        EXPECT_EQ(reached.size(), 8u); // every direction
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }
    // A home of 0, 0 is wherever the creature first takes its turn.
    TMonster* settler = Monster(70, 71, 12);
    settler->Run_AI(Callbacks);
    EXPECT_EQ((TSquare{settler->Home_X, settler->Home_Y}), (TSquare{70, 71}));
    // A home with only one coordinate 0 is a home: the creature heads for it.
    TMonster* edge = Monster(70, 60, 11);
    edge->Home_X = 0;
    edge->Home_Y = 60;
    edge->Run_AI(Callbacks);
    EXPECT_EQ((TSquare{edge->Home_X, edge->Home_Y}), (TSquare{0, 60}));
    EXPECT_EQ(Where(*edge), (TSquare{69, 60}));
}

TEST_F(BehaviourStrategy, TheGrowl) {
    struct TCase {
        const char* What;
        TSquare From;
        const char* Growl;
        int Fewest, Most; // growls in 10000 turns: 1 in 10 is 1000 (one standard deviation 30)
    };
    const TCase cases[] = {
        {"six squares away", {56, 50}, "grr.wav", 920, 1080},
        {"seven squares away", {57, 50}, "grr.wav", 0, 0},
        {"no growl to play", {51, 50}, "", 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Seed_Random(3);
        Sounds->Played.clear();
        TMonster* m = Monster(c.From.first, c.From.second, 0);
        m->Sound_Growl = c.Growl;
        for (int turn = 0; turn < 10000; ++turn) m->Run_AI(Callbacks);
        const int growls = static_cast<int>(Sounds->Played.size());
        EXPECT_GE(growls, c.Fewest);
        EXPECT_LE(growls, c.Most);
        for (const std::string& name : Sounds->Names()) EXPECT_EQ(name, "grr.wav");
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }
}

// Whom a creature fights: the nearest box that holds anyone, and in it the last in rows from the top,
// squares from the left.
TEST_F(BehaviourStrategy, TargetsAndTheirTies) {
    struct TCase {
        const char* What;
        bool Players_Follower; // the seeker follows the player (at 50, 50); else it is hostile, at 60, 60
        std::vector<TSquare> Candidates;
        std::vector<TSquare> Others; // creatures that never qualify
        TSquare Target;              // 0, 0: none
    };
    // clang-format off
    const TCase cases[] = {
        {"hostile: the last of a row", false, {{58, 58}, {62, 58}}, {}, {62, 58}},
        {"hostile: a later row wins", false, {{62, 58}, {58, 59}}, {}, {58, 59}},
        {"hostile: the bottom row of the box", false, {{58, 58}, {62, 58}, {58, 62}}, {}, {58, 62}},
        {"hostile: a nearer box first", false, {{58, 62}, {61, 61}}, {}, {61, 61}},
        {"hostile: six squares away", false, {{66, 54}}, {}, {66, 54}},
        {"hostile: the last row of the largest box", false, {{60, 66}}, {}, {60, 66}},
        {"hostile: nobody within six, the player", false, {{67, 60}}, {}, {50, 50}},
        {"hostile: strangers never", false, {}, {{61, 60}}, {50, 50}},
        {"follower: the last of a row", true, {{48, 51}, {52, 51}}, {}, {52, 51}},
        {"follower: a nearer box first", true, {{52, 48}, {49, 49}}, {}, {49, 49}},
        {"follower: four squares from the player", true, {{54, 46}}, {}, {54, 46}},
        {"follower: five is too far", true, {{55, 50}}, {}, {0, 0}},
        {"follower: not a peaceful one, nor a fellow follower", true, {}, {{51, 50}, {49, 50}}, {0, 0}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* seeker = c.Players_Follower ? Monster(70, 70, 10, "seeker") : Monster(60, 60, 5, "seeker");
        if (c.Players_Follower) seeker->Leader_Id = static_cast<int16_t>(Player_->Id);
        for (const TSquare& at : c.Candidates) {
            TMonster* candidate = Monster(at.first, at.second, 0, "candidate");
            // A hostile monster fights the player's followers; a follower fights those who attack.
            if (!c.Players_Follower) candidate->Leader_Id = static_cast<int16_t>(Player_->Id);
        }
        for (size_t n = 0; n < c.Others.size(); ++n) {
            TMonster* other = Monster(c.Others[n].first, c.Others[n].second, 0, "other");
            if (c.Players_Follower) {
                if (n == 0)
                    other->Does_Attack = false;
                else
                    other->Leader_Id = static_cast<int16_t>(Player_->Id);
            }
        }
        const TMonster* target = seeker->Find_Target();
        EXPECT_EQ(target ? Where(*target) : TSquare(0, 0), c.Target);
        for (int id = 1; id <= Map->Monster_List.Get_Count(); ++id)
            if (id != Player_->Id) Map->Remove_Monster(static_cast<uint16_t>(id));
        Map->End_Tick();
    }
}

TEST_F(BehaviourStrategy, TheEndOfAStatus) {
    struct TCase {
        const char* What;
        bool Turned; // a changed allegiance, else blindness
        uint8_t Strategy_After;
        bool Keeps_Leader;
    };
    const TCase cases[] = {
        {"a turned creature hunts again, leaderless", true, Strategy_Hunt, false},
        {"blindness ends and changes nothing else", false, Strategy_Guard_Monster, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* m = Monster(70, 70, 0);
        if (c.Turned) {
            m->Change_Allegiance(1, static_cast<int16_t>(Player_->Id), 4);
        } else {
            m->Set_Leader(static_cast<int16_t>(Player_->Id));
            m->Set_Blind(0, Player_->Id);
            m->Status_Ms = 1000;
        }
        // 1000 ms of status at 50 ms a tick: still on after the 19th tick, over after the 20th.
        for (int tick = 1; tick <= 19; ++tick) EXPECT_FALSE(m->Update_Status(Callbacks, 20.0));
        EXPECT_NE(m->Status, Status_Normal);
        EXPECT_EQ(m->Movement_Strategy, Strategy_Guard_Monster);
        EXPECT_FALSE(m->Update_Status(Callbacks, 20.0));
        EXPECT_EQ(
            (std::vector<int>{m->Status, m->Status_Ms, m->Status_Source, m->Movement_Strategy, m->Leader_Id}),
            (std::vector<int>{Status_Normal, 0, 0, c.Strategy_After, c.Keeps_Leader ? Player_->Id : 0}));
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }
}

// A monster casts only when the spell's kind needs no clear line or the line to its target is clear.
TEST_F(BehaviourStrategy, CastingNeedsAClearLineForSpellsThatFly) {
    Folder.Write("Data/Spells.txt", Data_File_Text({{{"Name", "Spell"}}}, "Spells"));
    Load_Master_Spells(); // the keys it lacks are reported and read as 0: it costs nothing
    TSpell& spell = *Get_Master_Spell(1);
    struct TCase {
        uint8_t Kind;
        bool Wall;
        bool Casts;
    };
    // clang-format off
    const TCase cases[] = {
        {2, false, true}, {2, true, false}, {4, false, true}, {4, true, false}, {6, false, true}, {6, true, false},
        {1, true, true}, {3, true, true}, {5, true, true},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Kind) + (c.Wall ? " behind a wall" : " in the open"));
        Fill(Floor);
        if (c.Wall) Set_Terrain(53, 50, Wall);
        spell.Target_Type = c.Kind;
        TMonster* m = Monster(56, 50, 0);
        m->Spells.Set_Spell(1, 1, 100);
        m->Mana = 5;
        EXPECT_FALSE(m->Try_Attack_Or_Cast(Callbacks));
        // A monster casts with mana of its own: 1000 before every cast.
        EXPECT_EQ(m->Mana, c.Casts ? 1000 : 5);
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }

    // The cast chance: the spell is picked, then a roll above the chance casts nothing.
    spell.Target_Type = 3;
    TMonster* m = Monster(56, 50, 0);
    m->Spells.Set_Spell(1, 1, 40);
    const auto seed_for = [](int32_t roll) {
        for (uint64_t seed = 1;; ++seed) {
            Seed_Random(seed);
            Random_Range(1, 1);
            if (Random_Range(1, 100) == roll) return seed;
        }
    };
    for (const auto& [roll, casts] : {std::pair{40, true}, std::pair{41, false}}) {
        m->Mana = 5;
        Seed_Random(seed_for(roll));
        m->Try_Attack_Or_Cast(Callbacks);
        EXPECT_EQ(m->Mana, casts ? 1000 : 5) << roll;
    }
    // A chance of 100 always casts; 0 never does.
    for (const auto& [chance, casts] : {std::pair{100, 300}, std::pair{0, 0}}) {
        m->Spells.Set_Spell(1, 1, static_cast<uint16_t>(chance));
        int cast = 0;
        for (uint64_t seed = 1; seed <= 300; ++seed) {
            Seed_Random(seed);
            m->Mana = 5;
            m->Try_Attack_Or_Cast(Callbacks);
            cast += m->Mana == 1000;
        }
        EXPECT_EQ(cast, casts) << chance;
    }
}

// Without a player nobody has anywhere to go: the strategies that head for him or away from him stay.
TEST_F(BehaviourStrategy, TurnsWithoutAPlayer) {
    Set_Player(nullptr);
    for (const uint8_t strategy : {4, 5, 6, 7, 8, 9}) {
        TMonster* m = Monster(60, 60, strategy);
        m->Run_AI(Callbacks);
        EXPECT_EQ(Where(*m), (TSquare{60, 60})) << int(strategy);
        EXPECT_EQ(m->Direction_To_Player(), 0);
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }
    Set_Player(Player_);
}

// When each clock of a creature's tick strikes, at 20 ticks a second and 100 % game speed.
TEST_F(BehaviourStrategy, TheClocksOfATick) {
    struct TCase {
        const char* What;
        bool Player;
        double Life;
        uint16_t Food;
        bool Poisoned;
        int First_Change; // the tick on which life or food first changes
        double Life_After;
        uint16_t Food_After;
    };
    // clang-format off
    const TCase cases[] = {
        {"a poison point after more than 5 s", false, 2, 0, true, 101, 1, 0},
        {"hunger takes food after more than 5 s", true, 2, 1, false, 101, 2, 0},
        {"a starving player loses life", true, 2, 0, false, 101, 1, 0},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* m = Monster(70, 70, 0);
        if (c.Player) m->Class_Index = 1; // a class the table lacks: nothing else is recalculated
        m->Max_Life = 100;
        m->Max_Food = 10;
        m->Life = c.Life;
        m->Food = c.Food;
        m->Regen_Timer = m->Hunger_Timer = m->Poison_Timer = m->Light_Timer = 0;
        m->Move_Timer = 0;
        if (c.Poisoned) {
            m->Poison(0, 0);
            m->Status_Ms = 600000;
        }
        int changed = 0;
        for (int tick = 1; tick <= 110 && !changed; ++tick) {
            m->Update(Callbacks, 20.0);
            if (m->Life != c.Life || m->Food != c.Food) changed = tick;
        }
        EXPECT_EQ(changed, c.First_Change);
        // The point taken leaves it alive.
        ASSERT_EQ(Map->Monster_List.Get_Monster(m->Id), m);
        EXPECT_EQ(m->Life, c.Life_After);
        EXPECT_EQ(m->Food, c.Food_After);
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }

    // A monster without regeneration starts its regeneration clock again on every tick.
    for (const double regeneration : {0.0, 10.0}) {
        TMonster* m = Monster(70, 70, 0);
        // A monster's regeneration comes from its effects.
        if (regeneration > 0) m->Add_Permanent_Effect(19, 10, 10);
        m->Recalculate_Stats();
        ASSERT_EQ(m->Life_Regeneration, regeneration);
        m->Regen_Timer = 0;
        m->Update(Callbacks, 20.0);
        m->Update(Callbacks, 20.0);
        EXPECT_EQ(m->Regen_Timer, regeneration > 0 ? 100 : 0) << regeneration;
        // No time passes at a rate of 0.
        const int32_t before = m->Light_Timer;
        m->Update(Callbacks, 0.0);
        EXPECT_EQ(m->Light_Timer, before);
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }

    // A guard of a monster moves at its own pace; only the player's guards keep up with him.
    TMonster* lord = Monster(80, 60, 0, "lord");
    TMonster* guard = Monster(70, 60, 10);
    guard->Set_Leader(static_cast<int16_t>(lord->Id));
    guard->Set_Guard_Range(3);
    guard->Set_Move_Delay(500);
    guard->Move_Timer = 0;
    int first_move = 0;
    for (int tick = 1; tick <= 12 && !first_move; ++tick) {
        guard->Update(Callbacks, 20.0);
        if (Where(*guard) != TSquare{70, 60}) first_move = tick;
    }
    EXPECT_EQ(first_move, 10);

    // A timed effect that runs out leaves the statistics at once.
    TMonster* strong = Monster(75, 75, 0);
    strong->Base_Strength = 4;
    strong->Add_Timed_Effect(49, 3, 3, 1);
    strong->Recalculate_Stats();
    ASSERT_EQ(strong->Strength, 7);
    for (int tick = 1; tick <= 20; ++tick) strong->Update_Timed_Effects(20.0);
    EXPECT_EQ(strong->Timed_Effects.Get_Count(), 0);
    EXPECT_EQ(strong->Strength, 4);
}

// What a blow deals: the class's strength bonus for the player, the passive spells of the wielded weapon's
// type, the damage bonuses; and what "Dispel Undead" does to whom.
TEST_F(BehaviourStrategy, WhatABlowDeals) {
    Folder.Write("Data/Classes.txt", Data_File_Text({{{"Class Name", "Fighter"}}}, "Classes"));
    Reload_Class_Info();
    TClass_Info& fighter = *Get_Class(1);
    fighter.Min_Damage_Per_Strength = 0.5;
    fighter.Max_Damage_Per_Strength = 0.75;
    Folder.Write("Data/Spells.txt", Data_File_Text({{{"Name", "Swordsmanship"}}}, "Spells"));
    Load_Master_Spells();
    TSpell& skill = *Get_Master_Spell(1);
    skill.Target_Type = 5;
    skill.Weapon_Restriction = " SWORD ";
    skill.Effects->Add_Effect(Fx_Damage, 50, 50);
    skill.Effects->Add_Effect(Fx_Maximum_Damage, 2, 2);
    skill.Effects->Add_Effect(Fx_Minimum_Damage, 1, 1);

    struct TCase {
        const char* What;
        bool Player;
        const char* Weapon; // type of a 10..20 weapon in the first hand; null: bare hands (1..4)
        bool Skilled;
        int Min_Bonus, Max_Bonus; // "Minimum Damage" and "Maximum Damage" effects
        const char* Text;
    };
    // clang-format off
    const TCase cases[] = {
        {"a monster's hands", false, nullptr, false, 0, 0, "1 - 4"},
        {"a strong player's hands: + 5 and + 7", true, nullptr, false, 0, 0, "6 - 11"},
        {"bonuses: max first, min held to it", false, nullptr, false, 6, 1, "5 - 5"},
        {"a sword", false, "Sword", false, 0, 0, "10 - 20"},
        {"a sword with its skill: x 1.5, then + 2 and + 1", false, "sword", true, 0, 0, "16 - 32"},
        {"an axe gains nothing from the sword skill", false, "Axe", true, 0, 0, "10 - 20"},
        {"a weapon of 1 at least is a weapon", false, "Dagger", false, 0, 0, "1 - 3"},
        {"a heavy weapon keeps its damage", false, "Maul", false, 0, 0, "100 - 200"},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* m = Monster(70, 70, 0);
        m->Base_Strength = 10;
        if (c.Player) m->Set_Class(1);
        if (c.Weapon) {
            TItem* weapon = Add_Item("weapon", 20);
            const std::string type = c.Weapon;
            if (type == "Dagger")
                weapon->Damage.Set(1, 3, 1, 0);
            else if (type == "Maul")
                weapon->Damage.Set(100, 200, 1, 0);
            else
                weapon->Damage.Set(10, 20, 1, 0);
            weapon->Weapon_Type = c.Weapon;
            m->Put_Item_In_Slot(weapon, 6);
        }
        if (c.Skilled) m->Spells.Set_Spell(1, 1, 100);
        if (c.Min_Bonus) m->Add_Permanent_Effect(Fx_Minimum_Damage, c.Min_Bonus, c.Min_Bonus);
        if (c.Max_Bonus) m->Add_Permanent_Effect(Fx_Maximum_Damage, c.Max_Bonus, c.Max_Bonus);
        m->Recalculate_Stats();
        EXPECT_EQ(m->Damage_Text(), c.Text);
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }

    // "Dispel Undead" hurts the undead alone, by its rolled amount.
    for (const bool undead : {true, false}) {
        SCOPED_TRACE(undead ? "undead" : "living");
        TMonster* m = Monster(70, 70, 0);
        m->Max_Life = 100;
        m->Life = 50;
        m->Is_Undead = undead;
        TEffect_List effects;
        effects.Add_Effect(Fx_Dispel_Undead, 7, 7);
        TDamage blow;
        EXPECT_FALSE(m->Take_Damage(Player_->Id, blow, Callbacks, "", 0, effects));
        EXPECT_EQ(m->Life, undead ? 43 : 50);
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }
}

// A blow reaches farther than the next square with a weapon of range 2 or more; a skill tied to a weapon
// type counts only while that type is in the first hand, or in the second when the first is empty.
TEST_F(BehaviourStrategy, ReachAndTheWeaponInHand) {
    Folder.Write("Data/Spells.txt", Data_File_Text({{{"Name", "Swordsmanship"}}}, "Spells"));
    Load_Master_Spells();
    TSpell& skill = *Get_Master_Spell(1);
    skill.Target_Type = 5;
    skill.Weapon_Restriction = "Sword";
    skill.Effects->Add_Effect(49, 4, 4); // Strength
    struct TCase {
        const char* What;
        const char* First_Hand; // weapon types; empty: nothing
        const char* Second_Hand;
        int32_t Range;
        bool Ranged, Skilled;
    };
    // clang-format off
    const TCase cases[] = {
        {"bare hands", "", "", 1, false, false},
        {"a sword", "Sword", "", 1, false, true},
        {"a sword in the second hand", "", " sword ", 1, false, true},
        {"an axe first, a sword second", "Axe", "Sword", 1, false, false},
        {"a spear of range 2", "Spear", "", 2, true, false},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* m = Monster(70, 70, 0);
        m->Spells.Set_Spell(1, 1, 100);
        int slot = 6;
        for (const char* type : {c.First_Hand, c.Second_Hand}) {
            if (*type) {
                TItem* weapon = Add_Item("weapon", 20);
                weapon->Damage.Set(2, 4, c.Range, 0);
                weapon->Weapon_Type = type;
                m->Put_Item_In_Slot(weapon, slot);
            }
            ++slot;
        }
        m->Recalculate_Stats();
        EXPECT_EQ(m->Has_Ranged_Attack(), c.Ranged);
        EXPECT_EQ(m->Wields_Weapon_Type("SWORD"), c.Skilled);
        EXPECT_EQ(m->Strength, c.Skilled ? 4 : 0);
        Map->Remove_Monster(m->Id);
        Map->End_Tick();
    }
}

// What a blow takes from the creature it lands on.
TEST_F(BehaviourStrategy, WhatABlowTakes) {
    enum : uint8_t {
        Fx_Damage_Reduction = 9,
        Fx_Monster_Increase_Damage_Resistance = 40,
        Fx_Poison_Damage = 42,
        Fx_Fire_Damage = 13,
    };
    struct TCase {
        const char* What;
        std::vector<std::pair<uint8_t, int>> Own; // the target's effects
        uint16_t Physical_Resist;
        bool Peaceful;
        int16_t Event;
        int Amount;
        std::vector<std::pair<uint8_t, int>> Hit;
        bool Attacker_Gone;
        double Life_After; // from 200
        bool Poisoned;
    };
    // The attacker is level 5, the target level 2.
    // clang-format off
    const TCase cases[] = {
        {"a blow of 1", {}, 0, false, 0, 1, {}, false, 199, false},
        {"a heavy blow, nothing taken off", {}, 0, false, 0, 100, {}, false, 100, false},
        {"extra resistance adds to the physical", {{Fx_Monster_Increase_Damage_Resistance, 30}}, 20, false, 0, 10, {}, false, 195, false},
        {"fire of 100", {}, 0, false, 0, 0, {{Fx_Fire_Damage, 100}}, false, 100, false},
        {"fire less the flat reduction", {{Fx_Damage_Reduction, 2}}, 0, false, 0, 0, {{Fx_Fire_Damage, 20}}, false, 182, false},
        {"a poison of 1 poisons", {}, 0, false, 0, 0, {{Fx_Poison_Damage, 1}}, false, 199, true},
        {"poison wholly taken off poisons nobody", {{Fx_Damage_Reduction, 5}}, 0, false, 0, 0, {{Fx_Poison_Damage, 5}}, false, 200, false},
        {"poison of a creature gone", {}, 0, false, 0, 0, {{Fx_Poison_Damage, 3}}, true, 197, true},
        {"a peaceful creature with an event is spared", {}, 0, true, 5, 40, {{Fx_Fire_Damage, 20}}, false, 200, false},
        {"a peaceful creature without one is hurt", {}, 0, true, 0, 40, {}, false, 160, false},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        // The target first: a creature made after the attacker has gone would take its free slot and id.
        TMonster* m = Monster(70, 70, 0);
        TMonster* attacker = Monster(80, 80, 0, "archer");
        attacker->Level = 5;
        const uint16_t attacker_id = attacker->Id;
        if (c.Attacker_Gone) Map->Remove_Monster(attacker_id);
        m->Level = 2;
        m->Max_Life = 100;
        m->Life = 200;
        for (const auto& [type, amount] : c.Own) m->Add_Permanent_Effect(type, amount, amount);
        m->Physical_Resist = c.Physical_Resist;
        m->Does_Attack = !c.Peaceful;
        m->Event_Id = c.Event;
        TEffect_List hit;
        for (const auto& [type, amount] : c.Hit) hit.Add_Effect(type, amount, amount);
        TDamage blow;
        blow.Rolled_Amount = c.Amount;
        EXPECT_FALSE(m->Take_Damage(attacker_id, blow, Callbacks, "", 0, hit));
        EXPECT_EQ(m->Life, c.Life_After);
        EXPECT_EQ(m->Status == Status_Poisoned, c.Poisoned);
        if (c.Poisoned) {
            // The attacker's lead in levels lengthens it, 20 ms a level; a creature gone leads by none.
            EXPECT_EQ(m->Status_Ms % 1000, c.Attacker_Gone ? 0 : 60);
        }
        for (int id = 1; id <= Map->Monster_List.Get_Count(); ++id)
            if (id != Player_->Id) Map->Remove_Monster(static_cast<uint16_t>(id));
        Map->End_Tick();
    }
}

// What a death leaves: a monster's gold grows by the player's "More Gold", the player's own does not, and
// the creature's module event fires, whatever its number.
TEST_F(BehaviourStrategy, WhatADeathLeaves) {
    auto events = std::make_shared<TRecording_World_Events>();
    World_Events::Install(events);
    struct TCase {
        const char* What;
        int More_Gold; // the player's
        bool Victim_Is_Player;
        int16_t Event;
        uint16_t Gold_After; // of a stack of 100
    };
    const TCase cases[] = {
        {"no more gold", 0, false, 0, 100},
        {"one percent more, and event 1", 1, false, 1, 101},
        {"half as much again", 50, false, 0, 150},
        {"the player's own gold stays", 50, true, 7, 100},
    };
    int y = 70;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        events->Killed_Event_Ids.clear();
        TMonster* victim = Monster(70, ++y, 0, "victim");
        victim->Event_Id = c.Event;
        TMonster* rich = c.Victim_Is_Player ? victim : Player_;
        rich->Permanent_Effects.Clear();
        if (c.More_Gold) rich->Add_Permanent_Effect(41, c.More_Gold, c.More_Gold);
        if (c.Victim_Is_Player) Set_Player(victim);
        TItem* gold = Add_Item("gold", 21);
        gold->Quantity = gold->Max_Stack = 100;
        const uint16_t gold_id = gold->Id;
        // In the last slot of the pack, beside a stack that is not gold.
        victim->Put_Item_In_Slot(gold, 90);
        TItem* arrows = Add_Item("arrows", 1);
        arrows->Quantity = arrows->Max_Stack = 100;
        const uint16_t arrows_id = arrows->Id;
        victim->Put_Item_In_Slot(arrows, 11);
        victim->Die(Callbacks, 0, "");
        ASSERT_NE(Find_Item(gold_id), nullptr);
        EXPECT_EQ(Find_Item(gold_id)->Quantity, c.Gold_After);
        EXPECT_EQ(Find_Item(arrows_id)->Quantity, 100);
        const TItem_Collection* pile = Map->Get_Square(70, y)->Get_Pile();
        ASSERT_NE(pile, nullptr);
        EXPECT_EQ(pile->Count(), 2);
        EXPECT_EQ(events->Killed_Event_Ids, c.Event ? std::vector<int32_t>{c.Event} : std::vector<int32_t>{});
        Set_Player(Player_);
        Player_->Permanent_Effects.Clear();
        Map->End_Tick();
    }
    World_Events::Install(nullptr);
}

} // namespace
