// The per-level growth keys of effects read from a record: each missing key is reported under its full
// name, and an unusable kind leaves the effect without growth.
#include "core/Damage.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(EffectLevelModifiers, MissingKeysAreReportedByName) {
    const std::string base = "Trap 1 Effect 2";
    struct TCase {
        const char* Dropped; // the key left out; "" for none
        uint16_t Kind, Min, Max;
        std::vector<std::string> Errors;
    } cases[] = {
        {"", Amount_Percent, 5, 9, {}},
        {" Per Level Modifier Type",
         0,
         0,
         0,
         {"missing " + base + " Per Level Modifier Type",
          "invalid " + base + " Per Level Modifier Type = ''"}},
        {" Min Amt Per Level Modifier",
         Amount_Percent,
         0,
         9,
         {"missing " + base + " Min Amt Per Level Modifier"}},
        {" Max Amt Per Level Modifier",
         Amount_Percent,
         5,
         0,
         {"missing " + base + " Max Amt Per Level Modifier"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Dropped);
        TFake_Record record;
        record.Fields = {{base + " Per Level Modifier Type", "Percent"},
                         {base + " Min Amt Per Level Modifier", "5"},
                         {base + " Max Amt Per Level Modifier", "9"}};
        record.Fields.erase(base + c.Dropped);
        TWordList kinds, mins, maxes;
        Read_Effect_Level_Modifiers("Trap 1 ", {2}, record.Reader(), kinds, mins, maxes);
        ASSERT_EQ(kinds.Count(), 1);
        EXPECT_EQ(kinds.Get(1), c.Kind);
        EXPECT_EQ(mins.Get(1), c.Min);
        EXPECT_EQ(maxes.Get(1), c.Max);
        EXPECT_EQ(record.Errors, c.Errors);
    }
}
