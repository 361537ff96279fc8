// Every sound and picture the shipped data files name is in the program folder the build assembles, in
// the form the game reads: 16-bit mono 22050 Hz PCM WAVE files, and uncompressed 24-bit bottom-up BMP
// files of the sheet-cell size of their folder; every frame of every display effect lies inside its bitmap.
// The interface's own pictures have the sizes the screens copy them at and hold every cell drawn from them.
#include "core/DataFileLoader.h"
#include "core/DataFileParser.h"
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
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

// The size of a BMP in the form the game loads, or a failure naming what is wrong.
::testing::AssertionResult Bmp_Size(const fs::path& path, int& width, int& height) {
    const std::vector<uint8_t> b = Read_Bytes(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return ::testing::AssertionFailure() << path << " is no BMP";
    width = static_cast<int32_t>(Le(b, 18, 4));
    height = static_cast<int32_t>(Le(b, 22, 4));
    const uint32_t row = (uint32_t(width) * 3 + 3) & ~3u;
    if (Le(b, 14, 4) != 40 || Le(b, 28, 2) != 24 || Le(b, 30, 4) != 0 || width <= 0 || height <= 0)
        return ::testing::AssertionFailure() << path << " is not an uncompressed bottom-up 24-bit BMP";
    if (Le(b, 10, 4) + uint64_t(row) * height != b.size() || Le(b, 2, 4) != b.size())
        return ::testing::AssertionFailure() << path << " has sizes that disagree with its length";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Valid_Wave(const fs::path& path, double longest_seconds) {
    const std::vector<uint8_t> b = Read_Bytes(path);
    if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt " || Le(b, 4, 4) + 8 != b.size())
        return ::testing::AssertionFailure() << path << " is no RIFF WAVE file";
    if (Le(b, 16, 4) != 16 || Le(b, 20, 2) != 1 || Le(b, 22, 2) != 1 || Le(b, 24, 4) != 22050 ||
        Le(b, 28, 4) != 44100 || Le(b, 32, 2) != 2 || Le(b, 34, 2) != 16)
        return ::testing::AssertionFailure() << path << " is not 16-bit mono 22050 Hz PCM";
    const double seconds = Le(b, 40, 4) / 44100.0;
    if (std::string(b.begin() + 36, b.begin() + 40) != "data" || Le(b, 40, 4) + 44 != b.size() ||
        seconds < 0.05 || seconds > longest_seconds)
        return ::testing::AssertionFailure() << path << " has a bad data chunk or lasts " << seconds << " s";
    return ::testing::AssertionSuccess();
}

// The folder of the program folder a data key's file lives in, and the cell size of its sheet (0: any).
struct TMedia_Kind {
    std::string Folder;
    int Cell;
};

// Whether text is prefix, a number of at least one digit, then suffix (letter case as given).
bool Numbered(const std::string& text, const std::string& prefix, const std::string& suffix) {
    if (text.size() <= prefix.size() + suffix.size() || text.rfind(prefix, 0) != 0 ||
        text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string number = text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    return std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool Media_Kind(const std::string& file, const std::string& key, TMedia_Kind& kind) {
    std::string k = key;
    std::transform(k.begin(), k.end(), k.begin(), [](unsigned char c) { return std::tolower(c); });
    const bool items = file.find("ItemClasses") != std::string::npos;
    if (k == "picture filename l1" || k == "picture filename l2" || k == "picture filename l3" ||
        Numbered(k, "duplicate terrain ", " filename l2") ||
        Numbered(k, "duplicate terrain ", " filename l3"))
        kind = {"Pictures/Terrain", 54};
    else if (Numbered(k, "portrait ", " filename"))
        kind = {"Pictures/Monsters", 54};
    else if (k == "picture filename" || k == "attack picture filename")
        kind = {items ? "Pictures/Items" : "Pictures/Monsters", items ? 32 : 54};
    else if (Numbered(k, "bitmap ", " name"))
        kind = {"Pictures/SysPics", 0};
    else if (k.rfind("music song ", 0) == 0 || Numbered(k, "map ", " music filename"))
        kind = {"Music", 0};
    else if (k.find("sound file") != std::string::npos)
        kind = {"Sounds", 0};
    else
        return false;
    return true;
}

// The colour of pixel (x, y), counted from the top, of a 24-bit bottom-up BMP that Bmp_Size accepted.
uint32_t Pixel(const std::vector<uint8_t>& b, int width, int height, int x, int y) {
    const size_t row = (size_t(width) * 3 + 3) & ~size_t{3};
    return Le(b, Le(b, 10, 4) + (height - 1 - y) * row + 3 * size_t(x), 3);
}

constexpr uint32_t Key = 0xFF00FF; // magenta, which the game turns into its transparent black

// Sizes of the interface pictures. Exact: dialogs, windows and screens, whose picture is copied whole at
// the control's own width and height. Least: sheets, which must reach the last cell the game draws (the
// mouse pointer and marks of the general sheet, faces and statistic icons of the misc sheet, hit styles
// 0..9 of the damage sheet, the highest picture index of each button type in four state rows).
struct TSys_Size {
    const char* Name;
    int Width, Height;
    bool Exact;
};
constexpr TSys_Size Sys_Sizes[] = {
    {"Dlg_MM.bmp", 266, 200, true},
    {"Dlg_Intro.bmp", 270, 560, true},
    {"Dlg_SelectModule.bmp", 696, 504, true},
    {"Dlg_Difficulty.bmp", 266, 354, true},
    {"Dlg_Progress.bmp", 333, 134, true},
    {"Dlg_SelectCharacter.bmp", 696, 504, true},
    {"Win_Char.bmp", 331, 356, true},
    {"Dlg_Message.bmp", 309, 213, true},
    {"Dlg_ErrorList.bmp", 338, 348, true},
    {"Dlg_GameMenu.bmp", 307, 410, true},
    {"Dlg_LoadSave.bmp", 307, 410, true},
    {"Dlg_HighScores.bmp", 696, 552, true},
    {"Dlg_Dead.bmp", 460, 572, true},
    {"Dlg_Statistics.bmp", 338, 410, true},
    {"Dlg_SpellList.bmp", 619, 307, true},
    {"Dlg_SpellSelection.bmp", 307, 450, true},
    {"Dlg_Quests.bmp", 427, 515, true},
    {"Dlg_OverviewMap.bmp", 459, 515, true},
    {"Dlg_ModuleText.bmp", 448, 504, true},
    {"Dlg_Talk.bmp", 267, 179, true},
    {"Dlg_Store.bmp", 619, 307, true},
    {"Dlg_Conversation.bmp", 507, 307, true},
    {"Dlg_Container.bmp", 313, 299, true},
    {"Dlg_GiveItem.bmp", 267, 179, true},
    {"Win_Inventory.bmp", 189, 281, true},
    {"Win_Inventory_Tabs.bmp", 178, 184, true},
    {"Win_Stats.bmp", 304, 172, true},
    {"Dlg_MapGen.bmp", 800, 600, true},
    {"MainUI.bmp", 800, 600, true},
    {"misc.bmp", 184, 163, false},
    {"gen.bmp", 320, 96, false},
    {"tilegen.bmp", 324, 54, false},
    {"DamageFX.bmp", 96, 320, false},
    {"SpellContainers.bmp", 190, 152, false},
    {"ButtonsSmallSquare.bmp", 276, 92, false},
    {"ButtonsMainRound.bmp", 459, 204, false},
    {"ButtonsArrows.bmp", 36, 112, false},
    {"ButtonsSquareIcons.bmp", 266, 152, false},
    {"ButtonsSquareFrames.bmp", 114, 152, false},
    {"ButtonsLongSquareText.bmp", 200, 152, false},
    {"ButtonsLongRoundedText.bmp", 200, 204, false},
    {"ButtonsSquareNamed.bmp", 102, 92, false},
    {"ButtonsSquareNamedBlank.bmp", 224, 92, false},
};

using ShippedMedia = TProgram_Folder_Test;

} // namespace

TEST_F(ShippedMedia, EveryNamedSoundAndPictureIsMadeInTheFormTheGameReads) {
    const fs::path program = MURK_RUNTIME_DIR;
    // The files in each folder by lower-case name, as the path layer finds them whatever their case.
    std::map<std::string, std::map<std::string, fs::path>> present;
    for (const char* folder :
         {"Sounds", "Music", "Pictures/Terrain", "Pictures/Items", "Pictures/Monsters", "Pictures/SysPics"}) {
        ASSERT_TRUE(fs::is_directory(program / folder)) << folder;
        for (const auto& entry : fs::directory_iterator(program / folder))
            present[folder][Ascii_Lower(entry.path().filename().string())] = entry.path();
    }

    int named = 0;
    for (const auto& entry : fs::recursive_directory_iterator(program)) {
        const std::string file = entry.path().string();
        if (entry.path().extension() != ".txt" || file.find("/log/") != std::string::npos) continue;
        TField_Collector collector(file);
        collector.Execute_Load();
        for (const TData_Field& field : collector.Fields) {
            const std::string value = Ascii_Lower(Trim_Data(field.Value));
            if (!value.ends_with(".wav") && !value.ends_with(".bmp")) continue;
            TMedia_Kind kind;
            ASSERT_TRUE(Media_Kind(entry.path().filename().string(), field.Name, kind))
                << file << ": no folder known for " << field.Name;
            ++named;
            const auto found = present[kind.Folder].find(value);
            if (found == present[kind.Folder].end()) {
                ADD_FAILURE() << kind.Folder << "/" << value << " named by " << field.Name << " in " << file;
                continue;
            }
            if (value.ends_with(".wav")) {
                EXPECT_TRUE(Valid_Wave(found->second, kind.Folder == "Music" ? 12.0 : 1.5));
            } else {
                int width = 0, height = 0;
                ASSERT_TRUE(Bmp_Size(found->second, width, height));
                if (kind.Cell) {
                    EXPECT_TRUE(width == kind.Cell && height == kind.Cell) << found->second;
                }
            }
        }
    }
    EXPECT_GT(named, 300);

    // The effect frames, placed as the effect table places them.
    Set_Base_Folder(program.string() + "/"); // only read; the fixture puts the base back
    ASSERT_TRUE(Load_Display_Effects());
    for (int32_t e = 1; e <= Display_Effect_Count(); ++e) {
        const TDisplay_Effect& effect = *Get_Display_Effect(e);
        ASSERT_GE(effect.Bitmap_Index, 1);
        ASSERT_LE(size_t{effect.Bitmap_Index}, Effect_Bitmap_Names().size());
        int width = 0, height = 0;
        ASSERT_TRUE(Bmp_Size(program / "Pictures/SysPics" / Effect_Bitmap_Names()[effect.Bitmap_Index - 1],
                             width, height));
        for (int n = 1; n <= effect.Total_Frames; ++n) {
            const auto at = Display_Effect_Frame_Source(effect, n);
            ASSERT_TRUE(at.has_value()) << effect.Name;
            EXPECT_LE(at->X + effect.Picture_Width, width) << effect.Name << " frame " << n;
            EXPECT_LE(at->Y + effect.Picture_Height, height) << effect.Name << " frame " << n;
        }
    }
    Free_Display_Effects();
}

TEST_F(ShippedMedia, InterfacePicturesFitTheScreensThatDrawThem) {
    const fs::path folder = fs::path(MURK_RUNTIME_DIR) / "Pictures/SysPics";
    std::map<std::string, std::vector<uint8_t>> bytes;
    std::map<std::string, std::pair<int, int>> sizes;
#define MURK_READ_SYSPIC(stem, file)                                                                         \
    ASSERT_TRUE(Bmp_Size(folder / file, sizes[file].first, sizes[file].second));                             \
    bytes[file] = Read_Bytes(folder / file);
    MURK_SYSPICS_BITMAPS(MURK_READ_SYSPIC)
#undef MURK_READ_SYSPIC
    ASSERT_EQ(bytes.size(), 44u);
    for (const TSys_Size& want : Sys_Sizes) {
        const auto [width, height] = sizes.at(want.Name);
        if (want.Exact) {
            EXPECT_TRUE(width == want.Width && height == want.Height)
                << want.Name << " " << width << "x" << height;
        } else {
            EXPECT_TRUE(width >= want.Width && height >= want.Height)
                << want.Name << " " << width << "x" << height;
        }
    }

    // Loaded without the magenta conversion: no key colour may show.
    for (const char* opaque : {"ButtonsSmallSquare.bmp", "MainUI.bmp"}) {
        const auto [width, height] = sizes.at(opaque);
        int keyed = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) keyed += Pixel(bytes[opaque], width, height, x, y) == Key;
        EXPECT_EQ(keyed, 0) << opaque;
    }

    // The mouse picks squares with cell 4 of the gen tiles: drawn on the floor diamond of a map cell only.
    // Copied out of the binding: lambdas may not capture structured bindings under every compiler.
    const int tile_width = sizes.at("tilegen.bmp").first, tile_height = sizes.at("tilegen.bmp").second;
    auto mask = [&](int x, int y) {
        return Pixel(bytes["tilegen.bmp"], tile_width, tile_height, 216 + x, y) != Key;
    };
    EXPECT_TRUE(mask(27, 40) && mask(3, 40) && mask(50, 40) && mask(27, 29) && mask(27, 52));
    EXPECT_FALSE(mask(0, 0) || mask(27, 20) || mask(2, 30) || mask(51, 52) || mask(53, 53));

    // Every spell's picture id names a drawn 38 x 38 cell of the spell sheet, 18 to a row.
    TField_Collector spells((fs::path(MURK_RUNTIME_DIR) / "Data/Spells.txt").string());
    spells.Execute_Load();
    const auto [spell_width, spell_height] = sizes.at("Spells.bmp");
    int ids = 0;
    for (const TData_Field& field : spells.Fields) {
        if (Ascii_Lower(field.Name) != "picture id") continue;
        const int id = std::stoi(Trim_Data(field.Value));
        ++ids;
        ASSERT_GE(id, 1);
        const int x = 38 * ((id - 1) % 18), y = 38 * ((id - 1) / 18);
        ASSERT_TRUE(x + 38 <= spell_width && y + 38 <= spell_height) << "picture id " << id;
        EXPECT_NE(Pixel(bytes["Spells.bmp"], spell_width, spell_height, x + 19, y + 19), Key)
            << "picture id " << id;
    }
    EXPECT_GE(ids, 15);
}

// The store lists up to seven goods groups, one toggle and caption every 29 pixels from y 49, each toggle
// 22 high: the dark well behind them must reach below the seventh, or the last group is drawn on the
// stone frame. Every pixel from the first toggle's top to the seventh's bottom, across the toggle and
// caption column, is the colour of the well.
TEST_F(ShippedMedia, TheStoreGroupWellHoldsAllSevenGroups) {
    const fs::path file = fs::path(MURK_RUNTIME_DIR) / "Pictures/SysPics/Dlg_Store.bmp";
    int width = 0, height = 0;
    ASSERT_TRUE(Bmp_Size(file, width, height));
    const std::vector<uint8_t> bytes = Read_Bytes(file);
    constexpr int Groups = 7, First_Top = 49, Step = 29, Toggle_Height = 22;
    const uint32_t well = Pixel(bytes, width, height, 100, First_Top);
    int off = 0;
    for (int y = First_Top; y < First_Top + (Groups - 1) * Step + Toggle_Height; ++y)
        for (int x = 18; x < 200; ++x) off += Pixel(bytes, width, height, x, y) != well;
    EXPECT_EQ(off, 0);
}
