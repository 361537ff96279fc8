#include "core/GlobalFuncs.h"

#include "core/Clock.h"
#include "core/DataFileParser.h"
#include "core/MachineOptions.h"
#include "core/Profile.h"
#include "platform/PathLayer.h"

#include <chrono>
#include <cmath>
#include <utility>

namespace {

std::string Base;
std::string Folder_Override;
std::vector<std::string> Arguments;
std::string File_Version;

// xoshiro256** seeded through splitmix64: fast, small and the same on every platform, so a seeded test
// sees the same numbers everywhere.
struct TGenerator {
    uint64_t S[4];

    static uint64_t Split_Mix(uint64_t& x) {
        uint64_t z = (x += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    void Seed(uint64_t seed) {
        for (uint64_t& s : S) s = Split_Mix(seed);
    }
    static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    uint64_t Next() {
        const uint64_t result = Rotl(S[1] * 5, 7) * 9;
        const uint64_t t = S[1] << 17;
        S[2] ^= S[0];
        S[3] ^= S[1];
        S[1] ^= S[2];
        S[0] ^= S[3];
        S[2] ^= t;
        S[3] = Rotl(S[3], 45);
        return result;
    }
};

constexpr uint64_t Default_Seed = 0x4D75726B72756E00ull;

TGenerator& Generator() {
    static TGenerator g = [] {
        TGenerator fresh;
        fresh.Seed(Default_Seed);
        return fresh;
    }();
    return g;
}

TRandom_Range_Source& Scripted_Source() {
    static TRandom_Range_Source source;
    return source;
}

} // namespace

const std::string& Base_Folder() {
    return Base;
}

void Set_Base_Folder(const std::string& folder) {
    Base = folder;
    if (!Base.empty() && Base.back() != '/') Base += '/';
}

const std::string& Last_File_Version() {
    return File_Version;
}
void Set_Last_File_Version(const std::string& version) {
    File_Version = version;
}

void Set_Program_Folder_Override(const std::string& folder) {
    Folder_Override = folder;
}

const std::vector<std::string>& Program_Arguments() {
    return Arguments;
}

void Set_Program_Arguments(std::vector<std::string> arguments) {
    Arguments = std::move(arguments);
}

void Setup_Global_Vars() {
    Set_Base_Folder(Folder_Override.empty() ? plat::Executable_Folder() : Folder_Override);
    File_Version.clear();
    // Only the game records where it is installed; the tool reads that record to find the game.
    if (!Is_Tool_Profile()) Set_Game_Path(Base);
}

int32_t Random_Range(int32_t low, int32_t high) {
    if (high <= low) return low;
    if (Scripted_Source()) return Scripted_Source()(low, high);
    const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - static_cast<int64_t>(low)) + 1;
    return static_cast<int32_t>(static_cast<int64_t>(low) + static_cast<int64_t>(Generator().Next() % span));
}

void Seed_Random(uint64_t seed) {
    Generator().Seed(seed);
}

void Install_Random_Range_Source(TRandom_Range_Source source) {
    Scripted_Source() = std::move(source);
}

void Seed_Random_From_Clock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    Generator().Seed(static_cast<uint64_t>(now) ^ Get_Ticks_64());
}

bool Bit_Is_Set(uint16_t flags, uint8_t n) {
    return n < 16 && ((flags >> n) & 1u) != 0;
}

void Set_Bit(uint16_t& flags, uint8_t n, bool on) {
    if (n >= 16) return;
    if (on)
        flags = static_cast<uint16_t>(flags | (1u << n));
    else
        flags = static_cast<uint16_t>(flags & ~(1u << n));
}

void Split_Comma_List(const std::string& text, TString_List& list, bool lower) {
    std::string rest = text;
    size_t comma;
    while ((comma = rest.find(',')) != std::string::npos) {
        std::string piece = rest.substr(0, comma);
        list.push_back(lower ? Ascii_Lower(piece) : piece);
        rest = Trim_Data(rest.substr(comma + 1));
    }
    if (!Trim_Data(rest).empty()) list.push_back(lower ? Ascii_Lower(rest) : rest);
}

uint8_t Opposite_Direction(uint8_t direction) {
    if (direction >= 1 && direction <= 4) return static_cast<uint8_t>(direction + 4);
    if (direction >= 5 && direction <= 8) return static_cast<uint8_t>(direction - 4);
    return 0;
}

uint8_t Direction_To(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t dx = static_cast<int64_t>(x2) - x1;
    const int64_t dy = static_cast<int64_t>(y2) - y1;
    if (dx > 0) return dy < 0 ? 2 : (dy == 0 ? 3 : 4);
    if (dx < 0) return dy > 0 ? 6 : (dy == 0 ? 7 : 8);
    if (dy > 0) return 5;
    if (dy < 0) return 1;
    return 0;
}

int32_t Angle_Between(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const double dx = static_cast<double>(x2) - x1;
    const double ady = std::fabs(static_cast<double>(y2) - y1);
    int32_t angle;
    if (ady == 0) {
        angle = dx > 0 ? 90 : (dx < 0 ? 270 : 0);
    } else {
        // Halves round to even, as the bearing always has.
        angle = static_cast<int32_t>(std::nearbyint(std::atan(std::fabs(dx) / ady) * 180.0 / M_PI));
    }
    if (x2 >= x1 && y1 < y2)
        angle = 180 - angle;
    else if (x2 < x1 && y1 < y2)
        angle = angle + 180;
    else if (x2 < x1 && y2 < y1)
        angle = 360 - angle;
    if (angle == 360) angle = 0;
    return angle;
}

std::string Int_To_Str_Grouped(int64_t n) {
    std::string digits = std::to_string(n);
    std::string sign;
    if (!digits.empty() && digits[0] == '-') {
        sign = "-";
        digits.erase(0, 1);
    }
    std::string out;
    const size_t len = digits.size();
    for (size_t i = 0; i < len; ++i) {
        const size_t from_right = len - i;
        if (i > 0 && from_right % 3 == 0) out += ',';
        out += digits[i];
    }
    return sign + out;
}

std::string Spaces(int32_t n) {
    return n <= 0 ? std::string() : std::string(static_cast<size_t>(n), ' ');
}

uint8_t Item_Type_Equip_Slot(uint8_t item_type) {
    switch (item_type) {
    case 9: return 1;  // Helm
    case 2: return 2;  // Amulet
    case 3: return 3;  // Armor
    case 4: return 4;  // Belt
    case 5: return 5;  // Boots
    case 6:            // Bow
    case 11:           // Misc
    case 14:           // Scepter
    case 16:           // Shield
    case 17:           // Staff
    case 19:           // Wand
    case 20: return 6; // Weapon
    case 13: return 8; // Ring
    case 22:           // Glyph
    case 23: return 9; // Orb
    case 8: return 10; // Gloves
    default: return 0;
    }
}

bool Slot_Accepts_Kind(uint8_t equip_code, int32_t position) {
    switch (equip_code) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: return position == equip_code;
    case 6: return position == 6 || position == 7;
    case 8: return position == 8 || position == 9;
    case 9: return position > 10;
    case 10: return position == 10;
    default: return false;
    }
}

bool Slot_Accepts_Kind_Ex(uint8_t equip_code, int32_t position) {
    if (position >= 11 && position <= 90) return true;
    return Slot_Accepts_Kind(equip_code, position);
}
