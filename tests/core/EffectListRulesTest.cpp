// How an effect list reads its types and changes its amounts: every type name of the data files is read as
// its own type, the first and the last included, and amounts change only for entries the list has.
#include "core/Effects.h"
#include "core/GlobalFuncs.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// The data-file name of each effect type, from 1.
// clang-format off
const char* const Type_Names[] = {
    "Attack Ignores Targets Defense",
    "Attack Ability",
    "Attacker Takes Damage",
    "Cold Damage",
    "Cold Resist",
    "Constitution",
    "Damage",
    "Damage Generates Mana",
    "Damage Reduction",
    "Defense Ability",
    "Dexterity",
    "Each Kill Regenerates Mana",
    "Fire Damage",
    "Fire Resist",
    "Gold Value",
    "Intelligence",
    "Life",
    "Life Current",
    "Life Regeneration",
    "Life Stolen",
    "Light Radius",
    "Lightning Damage",
    "Lightning Resist",
    "Magic Damage",
    "Magic Resist",
    "Make Monsters Flee",
    "Mana",
    "Mana Regeneration",
    "Mana Current",
    "Mana Stolen",
    "Maximum Damage",
    "Minimum Damage",
    "Monster Increase Health",
    "Monster Increase Attack Ability",
    "Monster Increase Defense Ability",
    "Monster Increase Min Damage",
    "Monster Increase Max Damage",
    "Monster Increase Move Speed",
    "Monster Increase Attack Speed",
    "Monster Increase Damage Resistance",
    "More Gold",
    "Poison Damage",
    "Poison Length Reduction",
    "Poison Resist",
    "Reduce Target Defense",
    "Reduce Target Resist All",
    "Resist All",
    "Skill Levels",
    "Strength",
    "Two Weapons",
    "Bash Doors",
    "Detect Secret Doors",
    "Detect Traps",
    "Pick Locks",
    "Reduced Detection Chance",
    "Physical Resist",
    "Reduce Target Attack Ability",
    "Cure Poison",
    "Detect Evil",
    "Decrease Current Hunger",
    "Blind Target",
    "Change Allegiance",
    "Reduce Target Damage",
    "Damage All",
    "Remove Curse",
    "Cause Sleep",
    "Dispel Undead",
    "Reduce Target Movement",
    "Hunger",
    "Weight",
    "Paralyze Target",
    "Teleport",
    "Reduce Movement",
    "Reduce Attack Ability",
    "Reduce Defense Ability",
    "Reduce Resist All",
    "Reduce Damage",
};
// clang-format on

TEST(EffectListRules, EveryTypeIsReadByItsName) {
    ASSERT_EQ(std::size(Type_Names), 77u);
    TFake_Record record;
    record.Fields["Number of Effects"] = "77";
    for (int n = 1; n <= 77; ++n) {
        const std::string key = "Effect " + std::to_string(n);
        record.Fields[key + " Type"] = Type_Names[n - 1];
        record.Fields[key + " Min Amount"] = std::to_string(n);
        record.Fields[key + " Max Amount"] = std::to_string(n + 100);
    }
    TEffect_List list;
    list.Read_From_Data_File("", record.Reader());
    EXPECT_EQ(record.Errors, std::vector<std::string>{});
    ASSERT_EQ(list.Get_Count(), 77);
    for (int n = 1; n <= 77; ++n) {
        EXPECT_EQ((std::vector<int>{list.Get_Effect_Type(n), list.Get_Min_Amount(n), list.Get_Max_Amount(n)}),
                  (std::vector<int>{n, n, n + 100}))
            << Type_Names[n - 1];
    }
}

TEST(EffectListRules, AmountsChangeOnlyForEntriesTheListHas) {
    struct TCase {
        int32_t Entry;
        std::vector<int> Mins; // of the three entries afterwards
    };
    const TCase cases[] = {{0, {1, 2, 3}}, {1, {50, 2, 3}}, {3, {1, 2, 50}}, {4, {1, 2, 3}}, {-1, {1, 2, 3}}};
    for (const TCase& c : cases) {
        TEffect_List list;
        for (int n = 1; n <= 3; ++n) list.Add_Effect(17, n, n + 10);
        list.Set_Amounts(c.Entry, 50, 60);
        std::vector<int> mins, maxes;
        for (int n = 1; n <= 3; ++n) {
            mins.push_back(list.Get_Min_Amount(n));
            maxes.push_back(list.Get_Max_Amount(n));
        }
        EXPECT_EQ(mins, c.Mins) << c.Entry;
        for (int n = 0; n < 3; ++n) EXPECT_EQ(maxes[n], c.Mins[n] == 50 ? 60 : n + 11) << c.Entry;
    }
}

// Rolling an entry: any type draws an amount between its minimum and maximum; elemental damage instead gives
// its range, each end moved by up to its variance either way, the first never below 1 and the second never
// below the first.
TEST(EffectListRules, RollingWithAVariance) {
    struct TCase {
        const char* What;
        uint8_t Type;
        int32_t Variance;
        std::set<int32_t> Firsts, Seconds; // every value seen over the seeds
    };
    // clang-format off
    const TCase cases[] = {
        {"fire without variance", 13, 0, {3}, {5}},
        {"fire varying by 1", 13, 1, {2, 3, 4}, {4, 5, 6}},
        {"fire varying by 2", 13, 2, {1, 2, 3, 4, 5}, {3, 4, 5, 6, 7}},
        {"cold varying by 4: never below 1", 4, 4, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"strength is an amount", 49, 2, {3, 4, 5}, {0}},
    };
    // clang-format on
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TFake_Record record;
        record.Fields = {{"Number of Effects", "1"},
                         {"Effect 1 Type", Type_Names[c.Type - 1]},
                         {"Effect 1 Min Amount", "3"},
                         {"Effect 1 Max Amount", "5"},
                         {"Effect 1 Damage Variance", std::to_string(c.Variance)}};
        TEffect_List list;
        list.Read_From_Data_File("", record.Reader());
        ASSERT_EQ(list.Get_Count(), 1);
        std::set<int32_t> firsts, seconds;
        for (uint64_t seed = 1; seed <= 400; ++seed) {
            Seed_Random(seed);
            const TRolled_Amount rolled = list.Roll_Amount(1);
            firsts.insert(rolled.First);
            seconds.insert(rolled.Second);
            if (c.Type != 49) {
                EXPECT_GE(rolled.Second, rolled.First);
            }
        }
        EXPECT_EQ(firsts, c.Firsts);
        EXPECT_EQ(seconds, c.Seconds);
    }
}

} // namespace
