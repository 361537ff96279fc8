#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

class PathSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Saved_Base = Base_Folder();
        Set_Base_Folder(Folder.Path());
    }
    void TearDown() override { Set_Base_Folder(Saved_Base); }

    TTemp_Folder Folder;
    std::string Saved_Base;
    TPath_Settings Paths;
};

} // namespace

TEST_F(PathSettingsTest, ModuleOverridesPerFile) {
    Folder.Write("Pictures/Items/sword.bmp", "base");
    Folder.Write("Pictures/Items/axe.bmp", "base");
    Folder.Write("Modules/Barrow/Pictures/Items/sword.bmp", "module");
    Folder.Write("Modules/Barrow/Data/Spells.txt", "module");
    Folder.Write("Data/Spells.txt", "base");

    // No module: the program folder, whatever the module folders hold.
    EXPECT_EQ(Paths.Get_Item_Picture("sword.bmp"), Folder.File("Pictures/Items/sword.bmp"));
    EXPECT_EQ(Paths.Get_Spells_File(), Folder.File("Data/Spells.txt"));

    ASSERT_TRUE(Paths.Set_Module("Barrow/"));
    EXPECT_EQ(Paths.Get_Module_Name(), "Barrow/");
    EXPECT_EQ(Paths.Get_Item_Picture("sword.bmp"), Folder.File("Modules/Barrow/Pictures/Items/sword.bmp"));
    EXPECT_EQ(Paths.Get_Spells_File(), Folder.File("Modules/Barrow/Data/Spells.txt"));
    // Absent from the module: the program folder, although the module's folder exists.
    EXPECT_EQ(Paths.Get_Item_Picture("axe.bmp"), Folder.File("Pictures/Items/axe.bmp"));
    // Absent everywhere: the program folder's path, so the open fails naming it.
    EXPECT_EQ(Paths.Get_Monster_Picture("none.bmp"), Folder.File("Pictures/Monsters/none.bmp"));

    ASSERT_TRUE(Paths.Set_Module(""));
    EXPECT_EQ(Paths.Get_Spells_File(), Folder.File("Data/Spells.txt"));
}

TEST_F(PathSettingsTest, OverrideNeedsARegularFile) {
    Folder.Write("Sounds/door.wav", "base");
    Folder.Make_Folder("Modules/Barrow/Sounds/door.wav"); // a folder of that name is no override
    ASSERT_TRUE(Paths.Set_Module("Barrow"));
    EXPECT_EQ(Paths.Get_Module_Name(), "Barrow/");
    EXPECT_EQ(Paths.Get_Sound_File("door.wav"), Folder.File("Sounds/door.wav"));
}

TEST_F(PathSettingsTest, FindsFilesInOtherLetterCase) {
    Folder.Write("Pictures/Items/Sword.BMP", "base");
    Folder.Write("Modules/Barrow/Tiles/Town_Terrain.txt", "t");
    Folder.Write("Modules/Barrow/Data/Module.mod", "");
    EXPECT_EQ(Paths.Get_Item_Picture("sword.bmp"), Folder.File("Pictures/Items/Sword.BMP"));
    EXPECT_EQ(Paths.Get_File("pictures\\items\\", "SWORD.bmp"), Folder.File("Pictures/Items/Sword.BMP"));
    ASSERT_TRUE(Paths.Set_Module("barrow/"));
    EXPECT_EQ(Paths.Get_Tile_File("town_terrain.txt"), Folder.File("Modules/Barrow/Tiles/Town_Terrain.txt"));
    EXPECT_EQ(Paths.Get_Tile_File("Sub\\..\\..\\x.txt"), Folder.File("Modules/barrow/Tiles/x.txt"));
}

TEST_F(PathSettingsTest, ModuleOnlyAndProgramOnlyPaths) {
    Folder.Write("Data/HighScores.dat", "");
    Folder.Write("Modules/Barrow/Data/HighScores.dat", "");
    Folder.Write("Modules/Barrow/Characters/Hero.dat", "");
    ASSERT_TRUE(Paths.Set_Module("Barrow/"));
    EXPECT_EQ(Paths.Get_ModuleData_File(), Folder.File("Modules/Barrow/Data/ModuleData.txt"));
    EXPECT_EQ(Paths.Get_TrapGroups_File(), Folder.File("Modules/Barrow/Data/TrapGroups.txt"));
    EXPECT_EQ(Paths.Get_Tiles_Folder(), Folder.File("Modules/Barrow/Tiles/"));
    EXPECT_EQ(Paths.Get_High_Scores_File(), Folder.File("Data/HighScores.dat"));
    EXPECT_EQ(Paths.Get_Character_File("Hero.dat"), Folder.File("Characters/Hero.dat"));
    EXPECT_EQ(Paths.Get_Current_Game_Folder(), Folder.File("CurrGame/"));
    EXPECT_EQ(Paths.Get_Modules_Folder(), Folder.File("Modules/"));
    EXPECT_EQ(Paths.Get_Save_Slot_Folder(7), Folder.File("Savegames/slot07/"));
    EXPECT_EQ(Paths.Get_Save_Slot_Folder(10), Folder.File("Savegames/slot10/"));
    // A character name never leaves the characters folder.
    EXPECT_EQ(Paths.Get_Character_File("../../etc/passwd"), Folder.File("Characters/passwd"));
}

TEST_F(PathSettingsTest, UnsafeModuleNamesAreRefused) {
    ASSERT_TRUE(Paths.Set_Module("Barrow/"));
    for (const char* bad : {"../", "..\\Data\\", "Barrow/../../", "/etc/"}) {
        EXPECT_FALSE(Paths.Set_Module(bad)) << bad;
        EXPECT_EQ(Paths.Get_Module_Name(), "Barrow/");
    }
    EXPECT_TRUE(Paths.Set_Module("Barrow\\"));
    EXPECT_EQ(Paths.Get_Module_Name(), "Barrow/");
}

TEST_F(PathSettingsTest, ScreenBitmapsAndGlobalFiles) {
    EXPECT_EQ(Paths.Get_Dlg_Dead_Bitmap(), Folder.File("Pictures/SysPics/Dlg_Dead.bmp"));
    EXPECT_EQ(Paths.Get_Misc_Bitmap(), Folder.File("Pictures/SysPics/misc.bmp"));
    EXPECT_EQ(Paths.Get_MainUI_Bitmap(), Folder.File("Pictures/SysPics/MainUI.bmp"));
    EXPECT_EQ(Paths.Get_Summon_MonsterClasses_File(), Folder.File("Data/Summon_MonsterClasses.txt"));
    int count = 0;
#define MURK_COUNT(stem, file) ++count;
    MURK_SYSPICS_BITMAPS(MURK_COUNT)
#undef MURK_COUNT
    EXPECT_EQ(count, 44);
}
