// The report's cells: padded in front to nine characters, and never without a blank before them.
#include "tallymill/TallyReports.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Tally_Report_Cell, Pads_To_Nine_Characters_And_Keeps_One_Blank_In_Front) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "         "},
        {"1", "        1"},
        {"2-6", "      2-6"},
        {"12345678", " 12345678"},
        // As wide as the column or wider: one blank, no padding beyond it.
        {"1663-2086", " 1663-2086"},
        {"65544-65553", " 65544-65553"},
        {"-2147483647", " -2147483647"},
        // Characters count, not bytes: eight Cyrillic letters are narrower than the column.
        {"Двадцать", " Двадцать"},
        {"Семь", "     Семь"},
        {"Девятнадц", " Девятнадц"},
    };
    for (const auto& [text, cell] : cases) EXPECT_EQ(Report_Cell(text), cell) << text;
}

} // namespace
