// Numbers with a "," before every group of three digits from the right; a minus sign is not a digit, so it
// never gets a group mark of its own.
#include "core/GlobalFuncs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

TEST(GroupedNumbers, NegativeNumbersGroupOnlyTheirDigits) {
    struct TCase {
        int64_t Number;
        const char* Text;
    } cases[] = {
        {-1, "-1"},
        {-12, "-12"},
        {-123, "-123"},
        {-1234, "-1,234"},
        {-123456, "-123,456"},
        {-1234567, "-1,234,567"},
        {INT64_MIN, "-9,223,372,036,854,775,808"},
        {999, "999"},
        {123456, "123,456"},
        {INT64_MAX, "9,223,372,036,854,775,807"},
    };
    for (const TCase& c : cases) EXPECT_EQ(Int_To_Str_Grouped(c.Number), c.Text) << c.Number;
}
