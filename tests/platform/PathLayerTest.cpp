#include "platform/PathLayer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(PathLayer, JoinAndSeparators) {
    EXPECT_EQ(Join("/a/", "/b"), "/a/b");
    EXPECT_EQ(Join("/a", "b/"), "/a/b/");
    EXPECT_EQ(Collapse_Separators("/base/Savegames//slot07/"), "/base/Savegames/slot07/");
    EXPECT_EQ(Slashes_From_Data("Pictures\\Items\\Sword.bmp"), "Pictures/Items/Sword.bmp");
    EXPECT_EQ(Base_Name("Modules\\Barrow/Tiles\\town.txt"), "town.txt");
    EXPECT_EQ(Base_Name("plain"), "plain");
}

TEST(PathLayer, ResolvesEachComponentIgnoringCase) {
    TTemp_Folder t;
    t.Write("Pictures/Items/Sword.BMP", "x");
    t.Write("Modules/Barrow/Module.mod", "m");

    // The exact path is taken as it is.
    EXPECT_EQ(*Find_Existing(t.File("Pictures/Items/Sword.BMP")), t.File("Pictures/Items/Sword.BMP"));
    // Other letter case, in the file and in folders.
    EXPECT_EQ(*Find_Existing(t.File("pictures/ITEMS/sword.bmp")), t.File("Pictures/Items/Sword.BMP"));
    EXPECT_EQ(*Find_Existing(t.File("Modules/barrow/module.mod")), t.File("Modules/Barrow/Module.mod"));
    // A name from data with "\".
    EXPECT_EQ(*Find_Existing(t.File(Slashes_From_Data("Pictures\\items\\sword.bmp"))),
              t.File("Pictures/Items/Sword.BMP"));
    // Trailing separators of folders are kept.
    EXPECT_EQ(*Find_Existing(t.File("pictures/items/")), t.File("Pictures/Items/"));

    EXPECT_FALSE(Find_Existing(t.File("Pictures/Items/Axe.bmp")).has_value());
    EXPECT_EQ(Resolve_Path(t.File("Pictures/Items/Axe.bmp")), t.File("Pictures/Items/Axe.bmp"));

    EXPECT_TRUE(Is_Regular_File(t.File("PICTURES/items/sword.bmp")));
    EXPECT_FALSE(Is_Regular_File(t.File("Pictures/Items")));
    EXPECT_TRUE(Is_Directory(t.File("pictures/items")));
}

TEST(PathLayer, ExactMatchWinsOverCaseVariants) {
    TTemp_Folder t;
    t.Write("Data/a.txt", "lower");
    t.Write("Data/A.txt", "upper");
    std::string text;
    ASSERT_TRUE(Read_File(t.File("Data/A.txt"), text));
    EXPECT_EQ(text, "upper");
    ASSERT_TRUE(Read_File(t.File("Data/a.txt"), text));
    EXPECT_EQ(text, "lower");
    // Without an exact match the smallest variant is read, whatever order the folder lists them in.
    ASSERT_TRUE(Read_File(t.File("data/a.TXT"), text));
    EXPECT_EQ(text, "upper");
}

TEST(PathLayer, ReadFileAndListFolder) {
    TTemp_Folder t;
    t.Write("Modules/Zeta/x", "");
    t.Write("Modules/alpha.txt", "");
    std::string text = "unchanged";
    EXPECT_FALSE(Read_File(t.File("missing.txt"), text));
    EXPECT_FALSE(Read_File(t.File("Modules"), text)); // a folder is not a file
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(List_Folder(t.File("modules")), (std::vector<std::string>{"Zeta", "alpha.txt"}));
    EXPECT_TRUE(List_Folder(t.File("none")).empty());
}

TEST(PathLayer, ContainedNames) {
    struct Case {
        const char* name;
        bool contained;
    } cases[] = {
        {"Barrowdeep/", true},  {"a/b.txt", true}, {"a\\b.txt", true},   {"", false},
        {"/etc/passwd", false}, {"../x", false},   {"a/../../x", false}, {"..\\x", false},
        {"C:\\x", false},       {"..x/y", true},
    };
    for (const Case& c : cases) EXPECT_EQ(Is_Contained_Name(c.name), c.contained) << c.name;
}

TEST(PathLayer, ExecutableFolderEndsWithSeparator) {
    const std::string folder = Executable_Folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(Executable_Path().rfind(folder, 0), 0u);
}
