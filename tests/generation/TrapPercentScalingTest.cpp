// A trap effect that grows by a percent per level, swept against the integer reading of its formula:
// Trunc((a x per level + 100) / 100 x amount) with a = level - 1, for the minimum and the maximum.
#include "core/Damage.h"
#include "generation/RndClassTrapGroups.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(TrapPercentScaling, SweepAgainstTheIntegerFormula) {
    TModule_Trap_Group_Spec_Trap read;
    read.Effects.Add_Effect(13, 0, 0);
    read.Per_Level_Modifier_Types.Add(Amount_Percent);
    read.Min_Amounts_Per_Level.Add(0);
    read.Max_Amounts_Per_Level.Add(0);
    int mismatches = 0;
    for (int32_t per_level = 0; per_level <= 50; ++per_level) {
        read.Min_Amounts_Per_Level.Put(1, static_cast<uint16_t>(per_level));
        read.Max_Amounts_Per_Level.Put(1, static_cast<uint16_t>(per_level + 2));
        for (int32_t amount = 0; amount <= 150; ++amount) {
            read.Effects.Set_Amounts(1, amount, amount + 1);
            for (int32_t level = 1; level <= 12; ++level) {
                TModule_Trap_Group_Spec_Trap trap = read;
                Scale_Trap_To_Level(trap, level);
                const int64_t a = level - 1;
                if (trap.Effects.Get_Min_Amount(1) != int64_t{amount} * (a * per_level + 100) / 100 ||
                    trap.Effects.Get_Max_Amount(1) != int64_t{amount + 1} * (a * (per_level + 2) + 100) / 100)
                    ++mismatches;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);

    // 7 % a level at level 3 on 50 is 57; through the real factor 1.14 it was 56.
    TModule_Trap_Group_Spec_Trap trap = read;
    trap.Min_Amounts_Per_Level.Put(1, 7);
    trap.Effects.Set_Amounts(1, 50, 50);
    Scale_Trap_To_Level(trap, 3);
    EXPECT_EQ(trap.Effects.Get_Min_Amount(1), 57);
}
