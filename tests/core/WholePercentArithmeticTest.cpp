// Percent and ratio formulas of combat and growth, each swept against its integer reading: a whole result
// must come out whole, never one point short from binary rounding of a factor such as 0.29.
#include "core/Actions.h"
#include "core/Clock.h"
#include "core/Damage.h"
#include "core/EffectSprites.h"
#include "core/Effects.h"
#include "core/GlobalFuncs.h"
#include "core/Spells.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

enum : uint8_t {
    Fx_Damage_Generates_Mana = 8,
    Fx_Life_Stolen = 20,
    Fx_Mana_Stolen = 30,
};

using WholePercents = TMap_Fixture;

} // namespace

// Trunc(percent / 100 x value) of a real such as a creature's life: whole values give the exact quotient;
// a fraction counts toward the next point only when it reaches it.
TEST(PercentOfReal, SweepOfWholeValuesAndFractions) {
    int mismatches = 0;
    for (int64_t percent = 0; percent <= 300; ++percent)
        for (int64_t value = 0; value <= 1000; ++value)
            if (Percent_Of_Real(percent, static_cast<double>(value)) != percent * value / 100 ||
                Percent_Of_Real(-percent, static_cast<double>(value)) != -percent * value / 100)
                ++mismatches;
    EXPECT_EQ(mismatches, 0);

    struct TCase {
        int64_t Percent;
        double Value;
        int64_t Expected;
    } cases[] = {
        {29, 100, 29},
        {50, 100.5, 50},
        {200, 100.5, 201},
        {100, 99.99, 99},
        {30, 56.75, 17},
        {30, 57, 17},
        {1, 0.5, 0},
        {0, 1e9, 0},
        {100, -10.5, -10},
        {150, -10.5, -15},
        {7, 8.0e15, 560000000000000},
        {50, std::nan(""), 0},
        {100, 1.0e300, 9000000000000000},
        {100, -1.0e300, -9000000000000000},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Percent_Of_Real(c.Percent, c.Value), c.Expected) << c.Percent << " " << c.Value;
}

// The defence a melee blow meets: the defence less the ignored percent of it, never below 0.
TEST(DefenceAfterIgnoring, SweepAgainstTheIntegerFormula) {
    int mismatches = 0;
    for (int32_t ignore = 0; ignore <= 250; ++ignore)
        for (int32_t defence = 0; defence <= 1000; ++defence) {
            const int64_t expected = std::max<int64_t>(0, defence - int64_t{ignore} * defence / 100);
            if (Defence_After_Ignoring(ignore, defence) != expected) ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(Defence_After_Ignoring(29, 100), 71); // through 0.29 x 100 the blow met 72
    EXPECT_EQ(Defence_After_Ignoring(50, 100), 50);
}

// Trunc(attack / (attack + defence) x 100 x (attacker level / (both levels) x 2)), held to 5..95; a pair
// that adds up to 0 is an even match.
TEST(HitChance, SweepAgainstTheIntegerFormula) {
    const auto ratio = [](int64_t part, int64_t other, int64_t& num, int64_t& den) {
        num = part + other == 0 ? 1 : part;
        den = part + other == 0 ? 2 : part + other;
    };
    int mismatches = 0;
    for (int32_t attack = 0; attack <= 120; ++attack)
        for (int32_t defence = 0; defence <= 120; ++defence)
            for (int32_t attacker_level = 0; attacker_level <= 6; ++attacker_level)
                for (int32_t defender_level = 0; defender_level <= 6; ++defender_level) {
                    int64_t a_num = 0, a_den = 1, l_num = 0, l_den = 1;
                    ratio(attack, defence, a_num, a_den);
                    ratio(attacker_level, defender_level, l_num, l_den);
                    const int64_t expected =
                        std::clamp<int64_t>(a_num * 100 * l_num * 2 / (a_den * l_den), 5, 95);
                    if (TMonster::Hit_Chance(attack, defence, defender_level, attacker_level) != expected)
                        ++mismatches;
                }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(TMonster::Hit_Chance(29, 71, 3, 3), 29);
    EXPECT_EQ(TMonster::Hit_Chance(100, 100, 1, 3), 75); // the attacker's level counts over both
}

// A requirement that grows by a percent per level: Trunc((p x (level - 1) + 100) / 100 x amount).
TEST(RequirementGrowth, PercentSweepAgainstTheIntegerFormula) {
    int mismatches = 0;
    for (int32_t per_level = 0; per_level <= 60; ++per_level) {
        TRequirements r;
        r.Types.Add(1);
        r.Amounts.Add(0);
        r.Per_Level_Kinds.Add(Amount_Percent);
        r.Per_Level_Amounts.Add(static_cast<uint16_t>(per_level));
        for (int32_t amount = 0; amount <= 300; ++amount) {
            r.Amounts.Put(1, amount);
            for (int32_t level = 1; level <= 12; ++level)
                if (r.Amount_At_Level(1, level) != int64_t{amount} * (per_level * (level - 1) + 100) / 100)
                    ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// A spell effect that grows by a percent per level: Trunc((level x modifier + 100) / 100 x amount).
TEST(SpellEffectGrowth, PercentSweepAgainstTheIntegerFormula) {
    TSpell spell;
    spell.Effects->Add_Effect(17, 0, 0);
    spell.Effect_Modifier_Kinds.Add(Spell_Modifier_Percent);
    spell.Effect_Min_Modifiers.Add(0);
    spell.Effect_Max_Modifiers.Add(0);
    int mismatches = 0;
    for (int32_t modifier = 0; modifier <= 60; ++modifier) {
        spell.Effect_Min_Modifiers.Put(1, static_cast<uint16_t>(modifier));
        spell.Effect_Max_Modifiers.Put(1, static_cast<uint16_t>(modifier + 1));
        for (int32_t amount = 0; amount <= 200; ++amount) {
            spell.Effects->Set_Amounts(1, amount, amount + 3);
            for (int32_t level = 0; level <= 10; ++level) {
                int32_t min = 0, max = 0;
                spell.Effect_Amounts(1, level, min, max);
                if (min != int64_t{amount} * (level * modifier + 100) / 100 ||
                    max != int64_t{amount + 3} * (level * (modifier + 1) + 100) / 100)
                    ++mismatches;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// "Damage Generates Mana": each harm taken gives Trunc(percent / 100 x harm + 0.9) mana.
TEST_F(WholePercents, ManaFromDamageSweep) {
    TMonster* target = Add_Creature(20, 20, "target");
    int mismatches = 0;
    for (int32_t percent = 1; percent <= 100; ++percent) {
        target->Permanent_Effects.Clear();
        target->Add_Permanent_Effect(Fx_Damage_Generates_Mana, percent, percent);
        target->Max_Mana = 60000;
        for (int32_t harm = 1; harm <= 100; ++harm) {
            target->Life = 1000;
            target->Mana = 0;
            TDamage blow;
            blow.Rolled_Amount = harm;
            ASSERT_FALSE(target->Take_Damage(0, blow, TCallback_Set(), "", 0, TEffect_List()));
            if (target->Mana != static_cast<double>((int64_t{percent} * harm + 90) / 100)) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Life and mana regenerated: Life_Regeneration / 100 x Max_Life a second; a whole amount comes out whole,
// so the whole part of the life, which decides death, is never one short.
TEST_F(WholePercents, RegenerationOfWholeAmounts) {
    TMonster* creature = Add_Creature(20, 20);
    int mismatches = 0;
    for (int32_t rate = 0; rate <= 100; ++rate)
        for (int32_t maximum = 1; maximum <= 400; ++maximum) {
            creature->Max_Life = static_cast<uint16_t>(maximum);
            creature->Max_Mana = static_cast<uint16_t>(maximum);
            creature->Life_Regeneration = rate;
            creature->Mana_Regeneration = rate;
            creature->Life = 0;
            creature->Mana = 0;
            creature->Regenerate_Life(); // a monster heals whatever its food
            creature->Regenerate_Mana();
            const int64_t whole = int64_t{rate} * maximum / 100;
            const bool exact = int64_t{rate} * maximum % 100 == 0;
            for (double gained : {creature->Life, creature->Mana})
                if (static_cast<int64_t>(gained) != whole || (exact && gained != static_cast<double>(whole)))
                    ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
}

// Half = Trunc(Max_Life / 10 x 5); base = Trunc(level / killer level x (level x 20 + half)), x 5 for a
// unique; result = Trunc((bonus + 100) / 100 x base).
TEST_F(WholePercents, ExperienceForAKillSweep) {
    TMonster* killer = Add_Creature(10, 10, "killer");
    killer->Set_Class(0);
    TMonster* dead = Add_Creature(11, 10, "dead");
    int mismatches = 0;
    for (int32_t bonus : {0, 13, 29, 50, 71})
        for (int32_t max_life = 0; max_life <= 300; max_life += 3)
            for (int32_t level = 0; level <= 12; ++level)
                for (int32_t killer_level = 1; killer_level <= 12; ++killer_level)
                    for (bool unique : {false, true}) {
                        dead->Max_Life = static_cast<uint16_t>(max_life);
                        dead->Level = static_cast<uint16_t>(level);
                        dead->Experience_Bonus = static_cast<uint16_t>(bonus);
                        dead->Is_Unique = unique;
                        killer->Level = static_cast<uint16_t>(killer_level);
                        const int64_t half = int64_t{max_life} * 5 / 10;
                        const int64_t base =
                            int64_t{level} * (level * 20 + half) / killer_level * (unique ? 5 : 1);
                        if (dead->Experience_For_Kill(killer->Id) != (bonus + 100) * base / 100) ++mismatches;
                    }
    EXPECT_EQ(mismatches, 0);
}

// "Life Stolen" and "Mana Stolen" take their percent of what the target has when the blow lands.
TEST_F(WholePercents, LifeAndManaStolenByTheBlow) {
    Set_Manual_Clock(1000);
    struct TCase {
        int32_t Life_Percent, Mana_Percent;
        double Target_Life, Target_Mana;
        double Life_Gained, Mana_Gained;
    } cases[] = {
        {29, 57, 100, 100, 29, 57}, {30, 30, 57, 67, 17, 20},  {50, 200, 100.5, 100.5, 50, 201},
        {0, 0, 100, 100, 0, 0},     {100, 1, 99.9, 50, 99, 0}, {1, 1, 500, 300, 5, 3},
    };
    for (const TCase& c : cases) {
        TMonster* attacker = Add_Creature(10, 10, "thief");
        attacker->Max_Life = 1000;
        attacker->Max_Mana = 1000;
        attacker->Life = 1;
        attacker->Mana = 0;
        attacker->Add_Permanent_Effect(Fx_Life_Stolen, c.Life_Percent, c.Life_Percent);
        attacker->Add_Permanent_Effect(Fx_Mana_Stolen, c.Mana_Percent, c.Mana_Percent);
        TMonster* target = Add_Creature(11, 10, "victim");
        target->Max_Life = 1000;
        target->Life = c.Target_Life;
        target->Mana = c.Target_Mana;

        TSprites_List sprites;
        const uint32_t hit = sprites.Add_Static_Sprite(11, 10, TCallback_Set(), "", 0, 0, 0, 100, 0, 0, 0);
        sprites.Add_Damage_Sprite(attacker->Id, target->Id, TCallback_Set(), "thief", TDamage(), hit);
        Advance_Manual_Clock(101);
        sprites.Update();
        EXPECT_EQ(attacker->Life - 1, c.Life_Gained) << c.Life_Percent << " of " << c.Target_Life;
        EXPECT_EQ(attacker->Mana, c.Mana_Gained) << c.Mana_Percent << " of " << c.Target_Mana;
        Map->Monster_List.Remove_Monster_Id(attacker->Id);
        Map->Monster_List.Remove_Monster_Id(target->Id);
        Map->End_Tick();
    }
    Use_System_Clock();
}
