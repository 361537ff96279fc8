// The program folder the build assembles loads into the display object without a message: every
// interface sheet, every display effect's bitmap, the terrain of each shipped map kind with the borders,
// and every creature and item picture.
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "media/DisplayObject.h"
#include "tests/media/GfxFixture.h"

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class Shipped_Graphics : public TGfx_Test, public ::testing::WithParamInterface<int32_t> {
protected:
    void SetUp() override {
        TGfx_Test::SetUp();
        Saved_Base = Base_Folder();
        Set_Base_Folder(MURK_RUNTIME_DIR);
        Install_Path_Settings(std::make_unique<TPath_Settings>());
        Messages = std::make_shared<TRecording_Message_Sink>();
        Install_Message_Sink(Messages);
    }
    void TearDown() override {
        Install_Display_Object(nullptr);
        Install_Current_Map(nullptr);
        Free_Display_Effects();
        Install_Message_Sink(nullptr);
        Install_Path_Settings(nullptr);
        Set_Base_Folder(Saved_Base);
        TGfx_Test::TearDown();
    }
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

    std::shared_ptr<TRecording_Message_Sink> Messages;

private:
    std::string Saved_Base;
};

TEST_P(Shipped_Graphics, EverySheetLoadsWithoutAMessage) {
    Start(GetParam());
    ASSERT_TRUE(Load_Display_Effects());
    Install_Display_Object(std::make_unique<TDisplay_Object>());
    TDisplay_Object& display = *Display_Object();
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
