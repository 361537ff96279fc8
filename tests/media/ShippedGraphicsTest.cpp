// The program folder the build assembles loads into the display object without a message: every
// interface sheet, every display effect's bitmap, the terrain of each shipped map kind with the borders,
// and every creature and item picture.
#include "tests/media/DisplayFixture.h"

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class Shipped_Graphics : public TDisplay_Test, public ::testing::WithParamInterface<int32_t> {
protected:
    std::string Program_Folder() const override { return MURK_RUNTIME_DIR; }
    static TString_List Pictures_In(const std::string& folder) {
        TString_List names;
        for (const auto& entry : fs::directory_iterator(fs::path(MURK_RUNTIME_DIR) / "Pictures" / folder))
            if (entry.path().extension() == ".bmp") names.push_back(entry.path().filename().string());
        return names;
    }
    std::string Message_Texts() const {
        std::string texts;
        for (const auto& m : Messages->Messages) texts += m.Caption + ": " + m.Text + "\n";
        return texts;
    }
};

TEST_P(Shipped_Graphics, EverySheetLoadsWithoutAMessage) {
    Start(GetParam());
    ASSERT_TRUE(Load_Display_Effects());
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    EXPECT_EQ(Message_Texts(), "");
    for (int32_t sheet : display.Interface_Sheets) EXPECT_GE(sheet, 1);
    EXPECT_GE(display.Tile_Hit_Buffer, 1);
    EXPECT_EQ(display.Extra_Bitmap_Count, static_cast<int32_t>(Effect_Bitmap_Names().size()));
    EXPECT_GT(display.Extra_Bitmap_Count, 0);
    // The reference floor diamond is there to pick squares by.
    EXPECT_TRUE(display.Is_Point_In_Tile_Mask(27, 40));
    EXPECT_FALSE(display.Is_Point_In_Tile_Mask(0, 0));

    const fs::path tiles = fs::path(MURK_RUNTIME_DIR) / "Modules" / "Barrowdeep" / "Tiles";
    int32_t terrain_files = 0;
    for (const auto& entry : fs::directory_iterator(tiles)) {
        if (entry.path().filename().string().find("_Terrain.txt") == std::string::npos) continue;
        ++terrain_files;
        Install_Current_Map(std::make_unique<TMap>());
        TMap& map = *Current_Map();
        ASSERT_TRUE(map.Terrain_List.Load_From_File(entry.path().string())) << entry.path();
        EXPECT_TRUE(display.Load_Map_Bitmaps(map)) << entry.path();
        EXPECT_GT(display.Terrain_Bitmap_Names.size(), 15u);
    }
    EXPECT_GT(terrain_files, 1);
    EXPECT_EQ(display.Load_Monster_Bitmaps(Pictures_In("Monsters"), Current_Map(), true, false), 1);
    EXPECT_EQ(display.Load_Item_Bitmaps(Pictures_In("Items"), Current_Map(), false), 1);
    EXPECT_EQ(Message_Texts(), "");
}

INSTANTIATE_TEST_SUITE_P(Depths, Shipped_Graphics, ::testing::Values(16, 32));

} // namespace
