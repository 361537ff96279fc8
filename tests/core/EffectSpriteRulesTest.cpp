// The rules effect sprites follow: the picture direction of a velocity, when a moving sprite has arrived,
// and what a delayed blow does before its damage lands (stolen life and mana, and the four status powers).
#include "core/Clock.h"
#include "core/DisplayEffects.h"
#include "core/EffectSprites.h"
#include "core/GlobalFuncs.h"
#include "core/MachineOptions.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum : uint8_t {
    Fx_Life_Stolen = 20,
    Fx_Make_Monsters_Flee = 26,
    Fx_Mana_Stolen = 30,
    Fx_Blind_Target = 61,
    Fx_Cause_Sleep = 66,
    Fx_Paralyze_Target = 71,
};

class EffectSpriteRules : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Set_Manual_Clock(1000);
    }
    void TearDown() override {
        Use_System_Clock();
        Machine_Options().Game_Speed_Modified_Percent = 100;
        TMap_Fixture::TearDown();
    }
    TMonster* Creature(int x, int y, const std::string& name, uint16_t level) {
        TMonster* c = Add_Creature(x, y, name);
        c->Max_Life = 100;
        c->Life = 50;
        c->Max_Mana = 100;
        c->Level = level;
        return c;
    }
    // A blow of nothing from the attacker to the target, dealt at once.
    void Land_Blow(const TMonster& attacker, const TMonster& target) {
        const uint32_t hit =
            List.Add_Static_Sprite(target.X, target.Y, TCallback_Set(), "", 0, 0, 0, 1, 0, 0, 0);
        List.Add_Damage_Sprite(attacker.Id, target.Id, TCallback_Set(), attacker.Name, TDamage(), hit);
        Advance_Manual_Clock(2);
        List.Update();
        ASSERT_EQ(List.Count(), 0);
    }

    TSprites_List List;
};

TEST_F(EffectSpriteRules, TheDirectionOfAVelocity) {
    struct TCase {
        double X, Y;
        int32_t Direction;
    };
    // 1 up-right, then clockwise; y grows downward. A component less than half the other does not count.
    // clang-format off
    const TCase cases[] = {
        {3, 0, 2}, {4, -1, 2}, {4, -2, 1}, {4, -4, 1}, {1, -2, 1}, {1, -3, 8},
        {4, 1, 2}, {4, 2, 3}, {3, 3, 3}, {1, 2, 3}, {1, 3, 4},
        {0, 5, 4}, {0, 0, 8}, {0, -5, 8},
        {-3, 0, 6}, {-4, 1, 6}, {-4, 2, 5}, {-2, 2, 5}, {-1, 2, 5}, {-1, 3, 4},
        {-4, -1, 6}, {-4, -2, 7}, {-3, -3, 7}, {-1, -2, 7}, {-1, -3, 8},
    };
    // clang-format on
    for (const TCase& c : cases) EXPECT_EQ(Get_Sprite_Direction(c.X, c.Y), c.Direction) << c.X << ", " << c.Y;
    // A flying sprite shows the picture of its direction.
    List.Add_Moving_Sprite(10, 10, 6, 11, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(List.Get_Sprite(1)->Frame, 6);
}

// A moving sprite has arrived when both distances of its centre to the target's are below the larger of
// its step and 7 pixels.
TEST_F(EffectSpriteRules, ArrivalWithinAStepOrSevenPixels) {
    struct TCase {
        const char* What;
        int To_X, To_Y, Speed;
        int Ends_On_Update;
    };
    const TCase cases[] = {
        // 28 pixels in 4 steps of 7: 7 short after the third, which is not yet "below 7".
        {"steps of 7 at 25 %", 11, 10, 25, 4},
        // 112 pixels in steps of 24: 16 short after the fourth, within one step.
        {"steps of 24 at 150 %", 14, 10, 150, 4},
        // 11.2 pixels on each axis: 12 short after the ninth step, not below its whole 11.
        {"steps of 11.2 on both axes at 100 %", 14, 14, 100, 10},
        {"steps of 24 and 6 at 150 %", 14, 11, 150, 4},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Machine_Options().Game_Speed_Modified_Percent = c.Speed;
        List.Add_Moving_Sprite(10, 10, c.To_X, c.To_Y, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0);
        int ended = 0;
        for (int update = 1; update <= 30 && !ended; ++update) {
            Advance_Manual_Clock(50);
            List.Update();
            if (List.Count() == 0) ended = update;
        }
        EXPECT_EQ(ended, c.Ends_On_Update);
        List.Clear();
    }
}

TEST_F(EffectSpriteRules, PowersOfTheAttacker) {
    struct TCase {
        uint8_t Effect;
        int32_t Total;
        uint16_t Own_Level, Target_Level;
        int32_t Power;
    };
    // Above 0 the total gains 3 a level the attacker has over the target (or loses 3 a level it lacks).
    const TCase cases[] = {
        {Fx_Make_Monsters_Flee, 10, 5, 2, 19}, {Fx_Make_Monsters_Flee, 10, 2, 5, 1},
        {Fx_Make_Monsters_Flee, 0, 9, 1, 0},   {Fx_Make_Monsters_Flee, -5, 9, 1, -5},
        {Fx_Cause_Sleep, 10, 5, 2, 19},        {Fx_Cause_Sleep, 0, 9, 1, 0},
        {Fx_Blind_Target, 10, 5, 2, 19},       {Fx_Blind_Target, 0, 9, 1, 0},
        {Fx_Paralyze_Target, 10, 5, 2, 19},    {Fx_Paralyze_Target, 0, 9, 1, 0},
    };
    for (const TCase& c : cases) {
        TMonster m;
        m.Level = c.Own_Level;
        if (c.Total) m.Add_Permanent_Effect(c.Effect, c.Total, c.Total);
        const int32_t powers[] = {m.Flee_Power(c.Target_Level), m.Sleep_Power(c.Target_Level),
                                  m.Blind_Power(c.Target_Level), m.Paralyze_Power(c.Target_Level)};
        const uint8_t types[] = {Fx_Make_Monsters_Flee, Fx_Cause_Sleep, Fx_Blind_Target, Fx_Paralyze_Target};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(powers[i], types[i] == c.Effect ? c.Power : 0)
                << int(c.Effect) << " as power " << i << ", total " << c.Total;
    }
}

TEST_F(EffectSpriteRules, ABlowsStatusPowers) {
    struct TCase {
        const char* What;
        std::vector<uint8_t> Powers; // each at 110: above every roll
        uint16_t Attacker_Level;
        uint8_t Status;
    };
    // The target is level 2; each power that strikes sets its status and the last one stays.
    // clang-format off
    const TCase cases[] = {
        {"flee", {Fx_Make_Monsters_Flee}, 5, Status_Panic},
        {"sleep", {Fx_Cause_Sleep}, 5, Status_Asleep},
        {"blind", {Fx_Blind_Target}, 5, Status_Blind},
        {"paralyse", {Fx_Paralyze_Target}, 5, Status_Paralyzed},
        {"sleep comes after flee", {Fx_Cause_Sleep, Fx_Make_Monsters_Flee}, 5, Status_Asleep},
        {"blind comes after sleep", {Fx_Blind_Target, Fx_Cause_Sleep}, 5, Status_Blind},
        {"paralyse comes last", {Fx_Paralyze_Target, Fx_Blind_Target, Fx_Make_Monsters_Flee}, 5, Status_Paralyzed},
        {"no stronger level, no added time", {Fx_Cause_Sleep}, 1, Status_Asleep},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* attacker = Creature(20, 20, "witch", c.Attacker_Level);
        for (const uint8_t power : c.Powers) attacker->Add_Permanent_Effect(power, 110, 110);
        TMonster* target = Creature(21, 20, "rat", 2);
        Land_Blow(*attacker, *target);
        EXPECT_EQ(target->Status, c.Status);
        EXPECT_EQ(target->Status_Source, attacker->Id);
        // The level difference is the amount: ten milliseconds a level over the whole seconds.
        const int32_t difference = int32_t{c.Attacker_Level} - 2;
        EXPECT_EQ(target->Status_Ms % 1000, difference > 0 ? difference * 10 : 0);
        Map->Remove_Monster(attacker->Id);
        Map->Remove_Monster(target->Id);
        Map->End_Tick();
    }

    // A power strikes when it is at least the roll, drawn first for the first power that is above 0.
    TMonster* attacker = Creature(20, 20, "witch", 2);
    attacker->Add_Permanent_Effect(Fx_Make_Monsters_Flee, 40, 40);
    TMonster* target = Creature(21, 20, "rat", 2);
    for (const auto& [power, roll] :
         {std::pair{40, 40}, std::pair{40, 41}, std::pair{1, 1}, std::pair{1, 2}}) {
        attacker->Permanent_Effects.Clear();
        attacker->Add_Permanent_Effect(Fx_Make_Monsters_Flee, power, power);
        uint64_t seed = 1;
        for (;; ++seed) {
            Seed_Random(seed);
            if (Random_Range(1, 100) == roll) break;
        }
        target->Status = Status_Normal;
        Seed_Random(seed);
        Land_Blow(*attacker, *target);
        EXPECT_EQ(target->Status, roll <= power ? Status_Panic : Status_Normal)
            << power << " against " << roll;
    }
}

TEST_F(EffectSpriteRules, ABlowStealsLifeAndMana) {
    struct TCase {
        const char* What;
        int32_t Life_Stolen, Mana_Stolen; // the attacker's percents
        double Target_Life, Target_Mana;
        double Life_After, Mana_After; // the attacker's, from 20 and 10
    };
    // clang-format off
    const TCase cases[] = {
        {"nothing to steal with", 0, 0, 60, 40, 20, 10},
        {"life", 25, 0, 60, 40, 35, 10},
        {"mana", 0, 50, 60, 40, 20, 30},
        {"both", 50, 25, 60, 40, 50, 20},
        {"a target without mana", 0, 50, 60, 0, 20, 10},
        {"never past the maximum", 100, 100, 100, 100, 100, 100},
        {"one percent of life", 1, 0, 100, 40, 21, 10},
        {"one percent of mana", 0, 1, 60, 100, 20, 11},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* attacker = Creature(20, 20, "vampire", 3);
        attacker->Life = 20;
        attacker->Mana = 10;
        if (c.Life_Stolen) attacker->Add_Permanent_Effect(Fx_Life_Stolen, c.Life_Stolen, c.Life_Stolen);
        if (c.Mana_Stolen) attacker->Add_Permanent_Effect(Fx_Mana_Stolen, c.Mana_Stolen, c.Mana_Stolen);
        TMonster* target = Creature(21, 20, "rat", 3);
        target->Life = c.Target_Life;
        target->Mana = c.Target_Mana;
        Land_Blow(*attacker, *target);
        EXPECT_EQ(attacker->Life, c.Life_After);
        EXPECT_EQ(attacker->Mana, c.Mana_After);
        // Stealing takes nothing from the target: only the blow's own damage does.
        EXPECT_EQ(target->Life, c.Target_Life);
        EXPECT_EQ(target->Mana, c.Target_Mana);
        Map->Remove_Monster(attacker->Id);
        Map->Remove_Monster(target->Id);
        Map->End_Tick();
    }
}

// The target's "Attacker Takes Damage" strikes back at the attacker with exactly its amount.
TEST_F(EffectSpriteRules, TheBlowStruckBack) {
    for (const int32_t returned : {0, 1, 5}) {
        SCOPED_TRACE(returned);
        TMonster* attacker = Creature(20, 20, "wasp", 3);
        TMonster* target = Creature(21, 20, "hedgehog", 3);
        if (returned) target->Add_Permanent_Effect(3, returned, returned);
        Land_Blow(*attacker, *target);
        EXPECT_EQ(attacker->Life, 50 - returned);
        EXPECT_EQ(target->Life, 50);
        Map->Remove_Monster(attacker->Id);
        Map->Remove_Monster(target->Id);
        Map->End_Tick();
    }
}

// The map's first and last rows and columns are squares like any other for a missile.
TEST_F(EffectSpriteRules, MissilesAtTheEdgesOfTheMap) {
    struct TCase {
        const char* What;
        int From_X, From_Y, To_X, To_Y, Creature_X, Creature_Y;
    };
    const TCase cases[] = {
        {"down the first column", 1, 10, 1, 14, 1, 12},
        {"along the first row", 10, 1, 14, 1, 12, 1},
        {"up the last column from the last square", 200, 200, 200, 196, 200, 198},
        {"along the last row", 14, 200, 10, 200, 12, 200},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* attacker = Creature(100, 100, "archer", 1);
        TMonster* target = Creature(c.Creature_X, c.Creature_Y, "rat", 1);
        TDamage arrow;
        arrow.Rolled_Amount = 10;
        List.Add_Missile_Sprite(attacker->Id, "archer", arrow, c.From_X, c.From_Y, c.To_X, c.To_Y, "", 0, 0,
                                0, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0);
        // The missile is over its first square before it flies, and over no other.
        EXPECT_TRUE(List.Is_Missile_At(c.From_X, c.From_Y));
        EXPECT_FALSE(List.Is_Missile_At(c.From_X == 200 ? 1 : c.From_X + 1, 1));
        for (int update = 1; update <= 10 && target->Life == 50; ++update) {
            Advance_Manual_Clock(50);
            List.Update();
        }
        EXPECT_EQ(target->Life, 40);
        List.Clear();
        Map->Remove_Monster(attacker->Id);
        Map->Remove_Monster(target->Id);
        Map->End_Tick();
    }
}

TEST_F(EffectSpriteRules, FramesBelongToDisplayEffectsOnly) {
    Install_Test_Display_Effects(Folder, {"Spark"});
    struct TCase {
        int32_t Display_Kind, Display_Index;
        int32_t Frames;
    };
    // The test table's effect 1 has 8 frames; an index the table lacks counts as 8 too.
    const TCase cases[] = {{0, 1, 0}, {1, 1, 0}, {2, 1, 8}, {2, 99, 8}};
    for (const TCase& c : cases) {
        List.Add_Static_Sprite(5, 5, TCallback_Set(), "", 0, 0, 0, 0, c.Display_Kind, c.Display_Index, 0);
        EXPECT_EQ(List.Get_Sprite(List.Count())->Get_Frame_Count(), c.Frames) << c.Display_Kind;
    }
    // Only display effects end with their animation: a static sprite of no lifetime stays.
    List.Clear();
    List.Add_Static_Sprite(5, 5, TCallback_Set(), "", 0, 0, 0, 0, 1, 1, 0);
    for (int update = 0; update < 3; ++update) {
        Advance_Manual_Clock(200);
        List.Update();
    }
    EXPECT_EQ(List.Count(), 1);
}

// A sprite made during an update is first stepped in the next one: the impact of a missile that shows a
// display effect of one frame is still there after the update in which the missile struck.
TEST_F(EffectSpriteRules, SpritesMadeInAnUpdateWaitForTheNext) {
    Folder.Write("Data/Effects.txt",
                 Data_File_Text({{{"Number Of Effect Bitmaps", "1"}, {"Bitmap 1 Name", "fx.bmp"}},
                                 {{"Name", "Flash"},
                                  {"Type", "Frames"},
                                  {"Bitmap Index", "1"},
                                  {"Bitmap Square X Offset", "32"},
                                  {"Bitmap Square Y Offset", "32"},
                                  {"Bitmap Start Xpos", "0"},
                                  {"Bitmap Start Ypos", "0"},
                                  {"Bitmap End Xpos", "0"},
                                  {"Bitmap End Ypos", "0"},
                                  {"Bitmap Picture Width", "32"},
                                  {"Bitmap Picture Height", "32"},
                                  {"Total Number Of Frames", "1"},
                                  {"Frames Per Line", "1"},
                                  {"Animation Loop Count", "0"},
                                  {"Animation Speed", "100"},
                                  {"Damage FX At End", "TRUE"}}},
                                "Display effects"));
    ASSERT_TRUE(Load_Display_Effects());
    Set_Terrain(12, 10, Wall);
    List.Add_Missile_Sprite(0, "", TDamage(), 10, 10, 14, 10, "", Sprite_Display_Effect, 1, 0,
                            TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0);
    // A long flight behind it: the impact then lands at a position the update still reaches.
    List.Add_Moving_Sprite(10, 20, 60, 20, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0);
    const auto impacts = [&] {
        int n = 0;
        for (int32_t i = 1; i <= List.Count(); ++i)
            n += List.Get_Sprite(i)->Sprite_Kind == Sprite_Kind_Static;
        return n;
    };
    int struck = 0;
    for (int update = 1; update <= 5 && !struck; ++update) {
        Advance_Manual_Clock(50);
        List.Update();
        if (List.Count() == 2 && impacts() == 1) struck = update;
    }
    ASSERT_EQ(struck, 3);
    Advance_Manual_Clock(50);
    List.Update();
    EXPECT_EQ(impacts(), 0);
    EXPECT_EQ(List.Count(), 1);
    Free_Display_Effects();
}

} // namespace
