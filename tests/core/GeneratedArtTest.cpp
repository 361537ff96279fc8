// The pictures the build generates, read back from the program folder as the game will find them: no
// opaque pixel reads as transparent once packed to 16 bits, missiles point the way they fly, walls reach
// the sides their shape names, doors block or free their doorway, the border darkness lies where its name
// says, and a second run of the picture maker writes the same bytes.
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Read_Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

// A 24-bit bottom-up BMP as 0xRRGGBB values, top row first; empty when the file is not one.
struct TPicture {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;
    uint32_t At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
};

TPicture Read_Picture(const fs::path& path) {
    const std::vector<uint8_t> b = Read_Bytes(path);
    TPicture p;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le(b, 28, 2) != 24) return p;
    p.Width = int32_t(Le(b, 18, 4));
    p.Height = int32_t(Le(b, 22, 4));
    const size_t row = (size_t(p.Width) * 3 + 3) & ~size_t{3}, data = Le(b, 10, 4);
    if (p.Width <= 0 || p.Height <= 0 || data + row * p.Height > b.size()) return {};
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            p.Pixels.push_back(Le(b, data + (p.Height - 1 - y) * row + 3 * x, 3));
    return p;
}

// A colour as the game packs it at 16 bits: the top bits of each channel.
uint32_t Pack_565(uint32_t rgb) {
    return ((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 | ((rgb >> 3) & 0x1F);
}
uint32_t Pack_555(uint32_t rgb) {
    return ((rgb >> 19) & 0x1F) << 10 | ((rgb >> 11) & 0x1F) << 5 | ((rgb >> 3) & 0x1F);
}

constexpr uint32_t Magenta = 0xFF00FF, Black = 0x000000;

const fs::path Program = MURK_RUNTIME_DIR;

using GeneratedArt = TProgram_Folder_Test;

} // namespace

// Sheets are turned from magenta to black when the game loads them, then copied skipping black; the
// window buttons are loaded as they are, with black already their transparent colour; the game screen's
// frame is copied whole. A drawn pixel must survive all of that at 16 bits (5-6-5 and 5-5-5): it may pack
// neither to 0 nor to the packed magenta, and the sheets drawn through the black key hold no magenta.
TEST_F(GeneratedArt, NoOpaquePixelReadsAsTransparentAtSixteenBits) {
    int pictures = 0;
    for (const auto& entry : fs::recursive_directory_iterator(Program / "Pictures")) {
        if (entry.path().extension() != ".bmp") continue;
        const std::string name = entry.path().filename().string();
        const TPicture p = Read_Picture(entry.path());
        ASSERT_FALSE(p.Pixels.empty()) << entry.path();
        ++pictures;
        const bool black_key = name == "ButtonsSmallSquare.bmp", no_key = name == "MainUI.bmp";
        int vanishing = 0, magenta = 0, first_x = -1, first_y = -1;
        for (int y = 0; y < p.Height; ++y)
            for (int x = 0; x < p.Width; ++x) {
                const uint32_t c = p.At(x, y);
                magenta += c == Magenta;
                if (!no_key && c == (black_key ? Black : Magenta)) continue;
                const bool lost = Pack_565(c) == 0 || Pack_555(c) == 0 || Pack_565(c) == Pack_565(Magenta) ||
                                  Pack_555(c) == Pack_555(Magenta);
                if (lost && vanishing++ == 0) first_x = x, first_y = y;
            }
        EXPECT_EQ(vanishing, 0) << name << ": the first at " << first_x << ", " << first_y;
        if (black_key || no_key) {
            EXPECT_EQ(magenta, 0) << name;
        }
    }
    EXPECT_GT(pictures, 300);
}

// Frame n of a missile is drawn for flying in direction n: up on the screen for 1, then 45 degrees further
// clockwise for each next one. The drawn pixels' centre of mass lies off the frame's middle in that
// direction.
TEST_F(GeneratedArt, MissileFramesPointUpThenClockwise) {
    Set_Base_Folder(Program.string() + "/"); // only read; the fixture puts the base back
    ASSERT_TRUE(Load_Display_Effects());
    int checked = 0;
    for (int32_t e = 1; e <= Display_Effect_Count(); ++e) {
        const TDisplay_Effect& effect = *Get_Display_Effect(e);
        if (effect.Type != Display_Effect_Directional) continue;
        ASSERT_EQ(effect.Total_Frames, 8) << effect.Name;
        const TPicture sheet =
            Read_Picture(Program / "Pictures/SysPics" / Effect_Bitmap_Names()[effect.Bitmap_Index - 1]);
        ASSERT_FALSE(sheet.Pixels.empty()) << effect.Name;
        for (int n = 1; n <= 8; ++n) {
            const auto source = Display_Effect_Frame_Source(effect, n);
            ASSERT_TRUE(source.has_value());
            double sx = 0, sy = 0, count = 0;
            for (int y = 0; y < effect.Picture_Height; ++y)
                for (int x = 0; x < effect.Picture_Width; ++x)
                    if (sheet.At(int(source->X) + x, int(source->Y) + y) != Magenta)
                        sx += x + 0.5, sy += y + 0.5, ++count;
            ASSERT_GT(count, 20) << effect.Name << " frame " << n;
            // Screen coordinates: x to the right, y downward; direction 1 is (0, -1).
            const double mx = sx / count - effect.Picture_Width / 2.0,
                         my = sy / count - effect.Picture_Height / 2.0;
            const double want = (n - 1) * std::numbers::pi / 4;
            const double got = std::atan2(mx, -my);
            const double off = std::remainder(got - want, 2 * std::numbers::pi) * 180 / std::numbers::pi;
            EXPECT_LT(std::abs(off), 10.0)
                << effect.Name << " frame " << n << " points " << off << " degrees off";
            EXPECT_GT(std::hypot(mx, my), 1.5) << effect.Name << " frame " << n;
            ++checked;
        }
    }
    EXPECT_GE(checked, 5 * 8);
    Free_Display_Effects();
}

// Probes at the outer end of each arm of a wall piece, 6 pixels up (the lower course), and in the middle of
// a doorway at head height. The shape letters are those of the terrain's shape category: several letters
// name the sides the wall goes on to, one letter the open end of a wall going on to the opposite side, no
// letter a lone pillar.
TEST_F(GeneratedArt, WallsReachTheSidesTheirShapeNamesAndDoorsFillTheirDoorway) {
    struct TProbe {
        char Side;
        int X, Y;
    };
    constexpr TProbe Arm_Ends[] = {{'N', 15, 28}, {'E', 38, 28}, {'S', 38, 40}, {'W', 15, 40}};
    struct TCase {
        const char* Suffix; // after "<style>_Wall", before "_Base.bmp"
        const char* Arms;
    };
    constexpr TCase Walls[] = {
        {"", ""},      {"_NESW", "NESW"}, {"_NEW", "NEW"}, {"_ESW", "ESW"}, {"_NSW", "NSW"}, {"_NES", "NES"},
        {"_NS", "NS"}, {"_EW", "EW"},     {"_ES", "ES"},   {"_SW", "SW"},   {"_NE", "NE"},   {"_NW", "NW"},
        {"_N", "S"},   {"_E", "W"},       {"_S", "N"},     {"_W", "E"},
    };
    for (const char* style : {"Barrow_Stone", "Barrow_Earth", "Village_Timber"})
        for (const TCase& wall : Walls) {
            const std::string name = std::string(style) + "_Wall" + wall.Suffix + "_Base.bmp";
            const TPicture p = Read_Picture(Program / "Pictures/Terrain" / name);
            ASSERT_FALSE(p.Pixels.empty()) << name;
            for (const TProbe& probe : Arm_Ends)
                EXPECT_EQ(p.At(probe.X, probe.Y) != Magenta,
                          std::string(wall.Arms).find(probe.Side) != std::string::npos)
                    << name << " arm " << probe.Side;
        }

    // A door stands in a wall: "NS" (a way running north-south) in a wall running east-west, whose
    // posts reach the floor's left corner and not its right one at eye height; "EW" the other way round.
    struct TDoor {
        const char* Name;
        bool Blocks;
    };
    constexpr TDoor Doors[] = {
        {"Barrow_Door_Closed_NS.bmp", true},      {"Barrow_Door_Closed_EW.bmp", true},
        {"Barrow_Door_Open_NS.bmp", false},       {"Barrow_Door_Open_EW.bmp", false},
        {"Barrow_Door_Broken_EW.bmp", false},     {"Barrow_Iron_Door_Closed_NS.bmp", true},
        {"Barrow_Iron_Door_Closed_EW.bmp", true}, {"Barrow_Iron_Door_Open_NS.bmp", false},
        {"Barrow_Iron_Door_Open_EW.bmp", false},  {"Barrow_Secret_Passage_NS.bmp", false},
        {"Barrow_Secret_Passage_EW.bmp", false},  {"Village_Door_Closed_EW.bmp", true},
        {"Village_Door_Open_NS.bmp", false},
    };
    for (const TDoor& door : Doors) {
        const TPicture p = Read_Picture(Program / "Pictures/Terrain" / door.Name);
        ASSERT_FALSE(p.Pixels.empty()) << door.Name;
        EXPECT_EQ(p.At(27, 28) != Magenta, door.Blocks) << door.Name;
        const bool ns = std::string(door.Name).find("_NS.") != std::string::npos;
        EXPECT_EQ(p.At(22, 40) != Magenta, ns) << door.Name;
        EXPECT_EQ(p.At(32, 40) != Magenta, !ns) << door.Name;
    }
    for (const char* gate : {"Village_Gate_Closed_NS.bmp", "Village_Gate_Closed_EW.bmp"}) {
        const TPicture p = Read_Picture(Program / "Pictures/Terrain" / gate);
        ASSERT_FALSE(p.Pixels.empty()) << gate;
        EXPECT_NE(p.At(27, 34), Magenta) << gate; // a low gate, shut
    }
}

// Probes 3 x 3 pixels wide near each corner of the floor diamond (N top, E right, S bottom, W left) and in
// the middle of each edge. A corner is darkened when its letter is in the name, an edge when both its
// corners are.
TEST_F(GeneratedArt, BordersDarkenTheFloorWhereTheirNamesPoint) {
    struct TProbe {
        const char* Corners; // one letter: a corner; two: the edge between them
        int X, Y;
    };
    constexpr TProbe Probes[] = {{"N", 27, 29},  {"E", 49, 40},  {"S", 27, 51},  {"W", 4, 40},
                                 {"NE", 37, 35}, {"ES", 37, 45}, {"SW", 16, 45}, {"NW", 16, 35}};
    for (const char* sides :
         {"N", "E", "S", "W", "ES", "ESW", "EW", "NE", "NES", "NEW", "NS", "NSEW", "NSW", "NW", "SW"}) {
        const std::string name = std::string("Border_") + sides + ".bmp";
        const TPicture p = Read_Picture(Program / "Pictures/Terrain" / name);
        ASSERT_FALSE(p.Pixels.empty()) << name;
        for (const TProbe& probe : Probes) {
            bool dark = true;
            for (const char* c = probe.Corners; *c; ++c)
                dark = dark && std::string(sides).find(*c) != std::string::npos;
            int drawn = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) drawn += p.At(probe.X + dx, probe.Y + dy) != Magenta;
            if (dark) {
                EXPECT_GE(drawn, 3) << name << " at " << probe.Corners;
            } else {
                EXPECT_EQ(drawn, 0) << name << " at " << probe.Corners;
            }
        }
    }
}

// The picture maker run again, into a folder of its own, writes every file exactly as the build did.
TEST_F(GeneratedArt, ASecondRunWritesTheSameBytes) {
    const std::string out = Folder.Make_Folder("again");
    const std::string command = std::string("\"") + MURK_MEDIA_TOOL + "\" \"" + MURK_MEDIA_RECIPES +
                                "/Sounds.txt\" \"" + MURK_MEDIA_RECIPES + "/Pictures.txt\" \"" + out +
                                "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
        if (!entry.is_regular_file()) continue;
        ++files;
        const fs::path relative = fs::relative(entry.path(), out);
        EXPECT_TRUE(Read_Bytes(entry.path()) == Read_Bytes(Program / relative)) << relative;
    }
    EXPECT_GT(files, 400);
}
