// Small helpers used everywhere: the program-wide globals, random numbers, geometry on the square grid,
// bit flags and text helpers.
#pragma once

#include "core/SaveStream.h"

#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The program folder ("base"), with a trailing "/", in its real case.
const std::string& Base_Folder();
void Set_Base_Folder(const std::string& folder); // start-up and tests; a missing trailing "/" is added

// The version string of the most recently opened binary file; record readers test it.
const std::string& Last_File_Version();
void Set_Last_File_Version(const std::string& version);

// base := the folder of the running program (or the folder set below); the last file version := empty; in
// the game the machine options' game path is then set to base.
void Setup_Global_Vars();
// A program folder other than the executable's, for the headless driver and its scripts; empty: none.
void Set_Program_Folder_Override(const std::string& folder);

// The program's command-line arguments after its name, as the program entry received them.
const std::vector<std::string>& Program_Arguments();
void Set_Program_Arguments(std::vector<std::string> arguments);

// A uniform integer in low..high (inclusive) from the program's one generator; low when high <= low.
int32_t Random_Range(int32_t low, int32_t high);
// The generator starts from a fixed seed, so the random sequence repeats on every run until the map
// generator seeds it from the clock.
void Seed_Random(uint64_t seed);
void Seed_Random_From_Clock();
// Tests script single rolls: while a source is installed, Random_Range with high > low asks it for the
// number instead of the generator (high <= low still gives low without asking). Null puts the generator
// back.
using TRandom_Range_Source = std::function<int32_t(int32_t low, int32_t high)>;
void Install_Random_Range_Source(TRandom_Range_Source source);

// Conversions that hold a value at the edges of the target's range instead of wrapping or converting out of
// range (undefined): amounts come from data files and saves and may be anything.
inline int32_t Clamp_To_Int32(int64_t value) {
    return value < INT32_MIN ? INT32_MIN : (value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value));
}
inline uint16_t Clamp_To_Word(int64_t value) {
    return value < 0 ? 0 : (value > 65535 ? 65535 : static_cast<uint16_t>(value));
}
// The 128-bit intermediate of an exact integer formula.
inline int64_t Clamp_To_Int64(__int128 value) {
    return value < INT64_MIN ? INT64_MIN : (value > INT64_MAX ? INT64_MAX : static_cast<int64_t>(value));
}
// Trunc(value x factor / 100), computed exactly and held to the 64-bit range: the integer quotient
// truncates toward zero as the real formula does, without the binary rounding of a factor such as 0.29
// turning 29 into 28.
inline int64_t Scale_By_Percent(int64_t value, int64_t factor) {
    return Clamp_To_Int64(static_cast<__int128>(value) * factor / 100);
}
// Trunc(percent / 100 x value) of a real value, such as a creature's current life. The whole part of the
// value goes through the exact integer formula and only its fraction through floating point, so a whole
// value gives the exact result (29 % of 100 is 29, where 0.29 x 100 in binary truncates to 28). Held to
// the 64-bit range; NaN gives 0.
inline int64_t Percent_Of_Real(int64_t percent, double value) {
    if (value != value) return 0;
    const double held = std::clamp(value, -9.0e15, 9.0e15);
    const double whole = std::trunc(held);
    const __int128 exact = static_cast<__int128>(percent) * static_cast<int64_t>(whole);
    // The remainder and the fraction's share have the sign of the quotient, so truncating the two parts
    // apart gives the truncation of their sum.
    const double rest = static_cast<double>(exact % 100) + static_cast<double>(percent) * (held - whole);
    return Clamp_To_Int64(exact / 100 + static_cast<__int128>(std::trunc(rest / 100.0)));
}
// The percent factor of a value grown by percent per step: steps x percent + 100. Steps and percent are
// 32-bit, so the product fits 64 bits.
inline int64_t Percent_Factor(int64_t steps, int32_t percent) {
    return steps * percent + 100;
}
// Truncation toward zero, held to the 32-bit range; NaN gives 0. Computes in the argument's own type, so
// an extended-precision result is not rounded to double before it is truncated.
template <std::floating_point TReal> int32_t Trunc_To_Int32(TReal value) {
    if (value != value) return 0;
    if (value >= TReal(2147483647.0)) return INT32_MAX;
    if (value <= TReal(-2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

inline double Distance_Between(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    return std::sqrt(dx * dx + dy * dy);
}

bool Bit_Is_Set(uint16_t flags, uint8_t n);        // false for n >= 16
void Set_Bit(uint16_t& flags, uint8_t n, bool on); // ignores n >= 16

// Appends the comma-separated pieces of text: blanks before a comma stay with their piece, blanks after a
// comma are dropped, empty middle pieces stay, an empty last piece is dropped. lower: ASCII lower case.
void Split_Comma_List(const std::string& text, TString_List& list, bool lower);

// Direction codes: 0 none, 1 north (y - 1), 2 north-east, 3 east (x + 1), 4 south-east, 5 south, 6
// south-west, 7 west, 8 north-west.
uint8_t Opposite_Direction(uint8_t direction);
uint8_t Direction_To(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
// Compass bearing in whole degrees 0..359, clockwise from north (y grows downward).
int32_t Angle_Between(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Decimal text with "," before every group of three digits counted from the right.
std::string Int_To_Str_Grouped(int64_t n);
std::string Spaces(int32_t n);

// Equipment positions: 1..10 are worn, 11..90 the pack.
uint8_t Item_Type_Equip_Slot(uint8_t item_type);
bool Slot_Accepts_Kind(uint8_t equip_code, int32_t position);
bool Slot_Accepts_Kind_Ex(uint8_t equip_code, int32_t position);
