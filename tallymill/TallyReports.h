// The two reports: a class file loaded with the game's own loader into a list of its own, then tables of the
// generator's formulas per class and level. The only part of the tool that knows the class lists.
#pragma once

#include "core/SaveStream.h"

#include <cstdint>
#include <string>

// One cell of a table: the text padded in front to the column's 9 characters; a text of 9 characters or
// more gets one blank in front instead, so it never runs into what stands before it.
std::string Report_Cell(const std::string& text);

struct TReport_Range {
    int32_t From = 1;
    int32_t To = 20;
    int32_t Difficulty_Offset = 0; // D: Easy -1, Average 0, Difficult 1, Hard 2
};

// Both need the display effects and the master spells loaded. On success the report's lines are appended to
// report and the result is true; otherwise errors holds the loader's lines and the result is false. The
// class list is current only during the call.
bool Load_And_Report_Items(const std::string& file_name, const TReport_Range& range, TString_List& report,
                           TString_List& errors);
bool Load_And_Report_Monsters(const std::string& file_name, const TReport_Range& range, TString_List& report,
                              TString_List& errors);
