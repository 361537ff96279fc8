#include "core/GameOptions.h"
#include "core/MachineOptions.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr uint8_t Fx_Constitution = 6;
constexpr uint8_t Fx_Life_Regeneration = 19;
constexpr double Rate = 20.0;

class MonsterAI : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Callbacks.On_Attack_Animation = [this](TMonster* a, TMonster* t, const std::string&,
                                               const std::string&, bool, const TDamage&, int32_t, uint8_t,
                                               int32_t, int32_t, int32_t) {
            Log.push_back("attack " + a->Name + " " + t->Name);
        };
        Callbacks.On_Missile_Animation = [this](TMonster* c, TMonster*, const std::string&, bool,
                                                const std::string&, int32_t, const TSpell*, const TDamage&,
                                                int32_t x, int32_t y) {
            Log.push_back("cast " + c->Name + " " + std::to_string(x) + "," + std::to_string(y));
        };
        Callbacks.On_Player_Death = [this](const std::string&, int32_t, const std::string& cause, int32_t,
                                           const std::string& killer, int32_t,
                                           int32_t) { Log.push_back("death " + cause + killer); };
    }
    void TearDown() override {
        Machine_Options().Game_Speed_Modified_Percent = 100;
        Free_Game_Options();
        Free_Master_Spells();
        Set_Player(nullptr);
        TMap_Fixture::TearDown();
    }
    TMonster* Creature(int x, int y, const std::string& name, uint8_t strategy, uint16_t move_delay = 500) {
        TMonster* c = Add_Creature(x, y, name);
        c->Max_Life = 100;
        c->Life = 50;
        c->Movement_Strategy = strategy;
        c->Set_Move_Delay(move_delay);
        c->Move_Timer = 0;
        return c;
    }
    // A player of a class the (empty) class table lacks: it keeps the maxima it is given.
    TMonster* Place_Player() {
        TMonster* p = Creature(50, 50, "hero", 0);
        p->Set_Class(1);
        p->Max_Food = 10;
        p->Food = 5;
        Set_Player(p);
        return p;
    }
    void Remove_All() {
        Set_Player(nullptr);
        for (int id = 1; id <= Map->Monster_List.Get_Count(); ++id)
            Map->Remove_Monster(static_cast<uint16_t>(id));
        Map->End_Tick();
    }

    TCallback_Set Callbacks;
    std::vector<std::string> Log;
};

TEST_F(MonsterAI, TimersAtGameSpeed) {
    // The first tick of: the walker's two moves (delay 500), the player's guard's two moves (200 ms
    // whatever its own 3 s), regeneration, hunger, the end of a 1 s status and of a 1 s timed effect.
    const std::vector<int> at_100 = {10, 20, 4, 8, 21, 101, 20, 20}, at_200 = {5, 10, 2, 4, 11, 51, 40, 10};
    for (const auto& [percent, expected] : {std::pair{100, at_100}, std::pair{200, at_200}}) {
        SCOPED_TRACE(percent);
        Machine_Options().Game_Speed_Modified_Percent = percent;
        TMonster* player = Place_Player();
        TMonster* walker = Creature(60, 50, "walker", Strategy_Keep_Away);
        walker->Add_Permanent_Effect(Fx_Life_Regeneration, 10, 10);
        walker->Add_Timed_Effect(Fx_Constitution, 1, 1, 1);
        walker->Recalculate_Stats();
        walker->Set_Asleep(0, 0);
        walker->Status_Ms = 1000;
        TMonster* guard = Creature(50, 60, "guard", 0, 3000);
        guard->Set_Leader(static_cast<int16_t>(player->Id));
        std::vector<int> seen, walker_moves, guard_moves, firsts(4, 0);
        for (int tick = 1; tick <= 110; ++tick) {
            const int walker_x = walker->X, guard_y = guard->Y;
            const double life = walker->Life;
            Map->Update_Monsters(Callbacks, Rate);
            if (walker->X != walker_x) walker_moves.push_back(tick);
            if (guard->Y != guard_y) guard_moves.push_back(tick);
            const bool happened[] = {walker->Life > life, player->Food < 5, walker->Status == Status_Normal,
                                     walker->Timed_Effects.Get_Count() == 0};
            for (int i = 0; i < 4; ++i)
                if (happened[i] && firsts[i] == 0) firsts[i] = tick;
        }
        seen = {walker_moves.at(0), walker_moves.at(1), guard_moves.at(0), guard_moves.at(1)};
        seen.insert(seen.end(), firsts.begin(), firsts.end());
        EXPECT_EQ(seen, expected);
        Remove_All();
    }
}

TEST_F(MonsterAI, DeathByPoisonOrHungerEndsTheUpdate) {
    // poisoned?, does the poisoner still live?, the death report
    const std::tuple<bool, bool, const char*> cases[] = {{true, true, "death snake"},
                                                         {true, false, "death slow poison"},
                                                         {false, false, "death starving to death"}};
    for (const auto& [poisoned, poisoner_lives, death] : cases) {
        SCOPED_TRACE(death);
        TMonster* snake = Creature(70, 70, "snake", 0);
        TMonster* player = Place_Player();
        player->Life = 1;
        player->Add_Timed_Effect(Fx_Constitution, 1, 1, 10);
        player->Food = poisoned ? 5 : 0;
        player->Hunger_Timer = player->Poison_Timer = 5000; // the point falls on the next tick
        if (poisoned) player->Poison(0, snake->Id);
        if (!poisoner_lives) Map->Remove_Monster(snake->Id);
        Log.clear();
        player->Update(Callbacks, Rate);
        EXPECT_EQ(Log, std::vector<std::string>{death});
        EXPECT_EQ(Player(), nullptr);
        EXPECT_EQ(Map->Get_Square(50, 50)->Monster_Id, 0);
        EXPECT_EQ(player->Timed_Effect_Ms.Get(1), 10000); // nothing ran after the death
        Remove_All();
    }
}

TEST_F(MonsterAI, BehaviourTurn) {
    // One master spell: a place spell of range 20. The keys it lacks are reported and read as 0, so it
    // costs nothing.
    Folder.Write(
        "Data/Spells.txt",
        Data_File_Text({{{"Name", "Bolt"}, {"Target Type", "Место"}, {"Damage Maximum Range", "20"}}}));
    Load_Master_Spells();
    ASSERT_EQ(Get_Master_Spell(1)->Target_Type, Spell_Target_Location);

    enum TOther { None, Hostile, Follower };
    struct TCase {
        const char* What;
        uint8_t Strategy; // a guard monster guards the player
        int X, Y;         // the actor; the player stands at 50, 50
        TOther Other;     // one more creature
        int Other_X, Other_Y;
        bool Spell;
        const char* Target; // Find_Target's name
        int To_X, To_Y;     // where the actor is after its turn
        std::vector<std::string> Log;
    };
    // clang-format off
    const TCase cases[] = {
        {"beyond 30 squares nothing", Strategy_Hunt, 81, 50, None, 0, 0, true, "hero", 81, 50, {}},
        {"at 30 it hunts", Strategy_Hunt, 80, 50, None, 0, 0, false, "hero", 79, 50, {}},
        {"nobody within 6: the player", Strategy_Hunt, 60, 50, Follower, 67, 50, false, "hero", 59, 50, {}},
        // A hunter fights the nearest follower but walks toward the player.
        {"a follower within 6", Strategy_Hunt, 60, 50, Follower, 66, 50, false, "pet", 59, 50, {}},
        {"it casts and still moves", Strategy_Hunt, 60, 50, None, 0, 0, true, "hero", 59, 50, {"cast mob 50,50"}},
        {"a peaceful patroller strikes", Strategy_Patrol, 51, 51, None, 0, 0, false, "hero", 51, 51, {"attack mob hero"}},
        {"a guard goes for an enemy near its leader", Strategy_Guard_Monster, 52, 50, Hostile, 50, 53, false, "orc", 51, 51, {}},
        {"a guard strikes an enemy next to it", Strategy_Guard_Monster, 51, 50, Hostile, 52, 51, false, "orc", 51, 50, {"attack mob orc"}},
        {"a guard too far from its leader returns", Strategy_Guard_Monster, 55, 50, Hostile, 54, 51, false, "orc", 54, 50, {}},
        {"a guard with nothing to do makes room", Strategy_Guard_Monster, 51, 50, None, 0, 0, false, "", 52, 50, {}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* player = Place_Player();
        TMonster* actor = Creature(c.X, c.Y, "mob", c.Strategy);
        if (c.Strategy == Strategy_Guard_Monster) actor->Set_Leader(static_cast<int16_t>(player->Id));
        actor->Set_Guard_Range(3);
        actor->Does_Attack = c.Strategy != Strategy_Patrol;
        if (c.Spell) actor->Spells.Set_Spell(1, 1, 100);
        if (c.Other != None) {
            TMonster* other = Creature(c.Other_X, c.Other_Y, c.Other == Hostile ? "orc" : "pet", 0);
            if (c.Other == Follower) other->Set_Leader(static_cast<int16_t>(player->Id));
        }
        const TMonster* target = actor->Find_Target();
        EXPECT_EQ(target ? target->Name : "", c.Target);
        Log.clear();
        actor->Move_Timer = 500;
        actor->Update(Callbacks, Rate);
        EXPECT_EQ(std::pair(int{actor->X}, int{actor->Y}), std::pair(c.To_X, c.To_Y));
        EXPECT_EQ(Log, c.Log);
        Remove_All();
    }
}

TEST_F(MonsterAI, StepResultsAndBand) {
    enum TThere { Floor_Square, Wall_Square, Creature_Square, Entrance_Square };
    struct TCase {
        const char* What;
        bool Player, Flag_4;
        int X, Y;
        uint8_t Direction;
        int Aim_X, Aim_Y; // the square the step aims at, and what it holds
        TThere There;
        int32_t Result;
    };
    // clang-format off
    const TCase cases[] = {
        {"onto floor (north-east)", false, true, 20, 30, 2, 21, 29, Floor_Square, Step_Moved},
        {"onto an entrance (south-west)", false, true, 20, 30, 6, 19, 31, Entrance_Square, Step_Onto_Entrance},
        {"into a wall", false, true, 20, 30, 3, 21, 30, Wall_Square, Step_Blocked},
        {"onto a creature", false, true, 20, 30, 7, 19, 30, Creature_Square, Step_Blocked},
        {"outside the band jumps into it", false, true, 3, 199, 0, 8, 193, Floor_Square, Step_Moved},
        {"never past the band", false, true, 193, 100, 3, 193, 100, Floor_Square, Step_Blocked},
        {"Flag_4 off: the player walks through walls", true, false, 20, 30, 3, 21, 30, Wall_Square, Step_Moved},
        {"Flag_4 off: never onto a creature", true, false, 20, 30, 7, 19, 30, Creature_Square, Step_Blocked},
        {"Flag_4 off: a monster still stops at walls", false, false, 20, 30, 3, 21, 30, Wall_Square, Step_Blocked},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Create_Game_Options().Flag_4 = c.Flag_4;
        TMonster* mover = Creature(c.X, c.Y, "mover", 0);
        if (c.Player) mover->Set_Class(1);
        Set_Terrain(c.Aim_X, c.Aim_Y, c.There == Wall_Square ? Wall : Floor);
        const TMonster* blocker =
            c.There == Creature_Square ? Creature(c.Aim_X, c.Aim_Y, "blocker", 0) : nullptr;
        Map->Get_Square(c.Aim_X, c.Aim_Y)->Set_Entrance(c.There == Entrance_Square);
        EXPECT_EQ(mover->Step(c.Direction), c.Result);
        const bool moved = c.Result != Step_Blocked;
        EXPECT_EQ(std::pair(int{mover->X}, int{mover->Y}),
                  moved ? std::pair(c.Aim_X, c.Aim_Y) : std::pair(c.X, c.Y));
        EXPECT_EQ(Map->Get_Square(mover->X, mover->Y)->Monster_Id, mover->Id);
        EXPECT_EQ(Map->Get_Square(c.X, c.Y)->Monster_Id, moved ? 0 : mover->Id);
        if (blocker) {
            EXPECT_EQ(Map->Get_Square(c.Aim_X, c.Aim_Y)->Monster_Id, blocker->Id);
        }
        Remove_All();
    }
}

} // namespace
