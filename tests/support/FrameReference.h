// Frames checked against reference pictures kept in tests/reference/, by block means (see FrameDump.h).
//
// Rebaselining: run the tests with MURK_REBASELINE=1 in the environment; every checked frame is then
// written as its reference (tests/reference/NAME.bmp) and the check passes. A failed check writes
// NAME.frame.bmp, NAME.reference.bmp and NAME.diff.bmp beside the test log
// (build/<preset>/Testing/Temporary/).
#pragma once

#include "media/FrameDump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

testing::AssertionResult Matches_Reference(const TFrame& frame, const std::string& name);

// Reads a 24-bit BMP of exactly the layout the program writes (54-byte header, bottom-up rows).
bool Read_Frame_Bmp(const std::vector<uint8_t>& bytes, TFrame& frame);
