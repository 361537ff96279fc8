// The whole files as they land on disk, pinned by golden bytes built from the files' layouts apart from
// the writers: "game.id", the map file, the module file, a character file and "HighScores.dat".
#include "core/HighScores.h"
#include "tests/core/RecordLayouts.h"
#include "tests/core/SavedGameFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace golden;

std::vector<uint8_t> On_Disk(const TTemp_Folder& folder, const std::string& relative) {
    const std::string bytes = folder.Read(relative);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TFields Version() {
    return {{TKind::String, "file version", "1.06"}};
}

TFields Game_Options_Fields(const TGame_Options& o) {
    TFields f{{TKind::Boolean, "Flag_1", o.Flag_1},        {TKind::Boolean, "Flag_2", o.Flag_2},
              {TKind::Boolean, "Flag_3", o.Flag_3},        {TKind::Boolean, "Flag_4", o.Flag_4},
              {TKind::Boolean, "Flag_5", o.Flag_5},        {TKind::Byte, "Difficulty", o.Difficulty},
              {TKind::Word, "Start_Level", o.Start_Level}, {TKind::Word, "Entry_Level", o.Entry_Level}};
    for (size_t n = 0; n < o.Weapon_Sets.size(); ++n) {
        const TWeapon_Set& s = o.Weapon_Sets[n];
        const std::string at = "set " + std::to_string(n + 1) + " ";
        f = Join({f,
                  {{TKind::String, at + "first name", s.First_Item_Name, false},
                   {TKind::Word, at + "first id", s.First_Item_Id, false},
                   {TKind::String, at + "second name", s.Second_Item_Name, false},
                   {TKind::Word, at + "second id", s.Second_Item_Id, false},
                   {TKind::Word, at + "spell slot", s.Spell_Slot, false}}});
    }
    return f;
}

class Save_File_Layout : public TSaved_Game_Fixture {};

TEST_F(Save_File_Layout, AGameIsItsHeaderMapAndModuleFiles) {
    TGame_Options& o = *Game_Options();
    o.Flag_2 = false;
    o.Start_Level = 300;
    o.Entry_Level = 40000;
    o.Weapon_Sets[4] = {"Bow", 513, "Arrows", 514, 9};
    ASSERT_TRUE(Save_Game("Перед курганом", *Map, Hero, Current + "Module.mod", Current + "1.map"));

    const TFields header = Join({{{TKind::String, "description", "Перед курганом"},
                                  {TKind::String, "version", "1.06"},
                                  {TKind::String, "map file", "1.map"},
                                  {TKind::String, "module file", "Module.mod"},
                                  {TKind::Word, "player id", Hero->Id},
                                  {TKind::String, "module name", "Vale/"}},
                                 Game_Options_Fields(o)});
    EXPECT_TRUE(Bytes_Match(On_Disk(Folder, "CurrGame/game.id"), header));
    EXPECT_TRUE(Bytes_Match(On_Disk(Folder, "CurrGame/1.map"), Join({Version(), Map_Fields(*Map)})));
    EXPECT_TRUE(
        Bytes_Match(On_Disk(Folder, "CurrGame/Module.mod"), Join({Version(), Module_Fields(*Module())})));

    // Reading the header back gives every field and keeps the version.
    const std::vector<uint8_t> bytes = On_Disk(Folder, "CurrGame/game.id");
    TStream_Reader r(bytes);
    TGame_Id id;
    Set_Last_File_Version("");
    Read_Game_Id_Body(r, id);
    EXPECT_TRUE(r.At_End());
    EXPECT_EQ(Last_File_Version(), "1.06");
    TStream_Writer w;
    Write_Game_Id_Body(w, id);
    EXPECT_TRUE(Bytes_Match(w.Bytes(), header));
}

TEST_F(Save_File_Layout, ACharacterIsItsCreatureThenItsItemsInSlotOrder) {
    TItem* ring = Add_Item("ring", 8);
    Hero->Inventory.Put_In_Slot(ring, 3); // slot 40 holds the sword already
    TItem* last = Add_Item("last");
    Hero->Inventory.Put_In_Slot(last, 90);
    Hero->Inventory.Put_In_Slot(Add_Item("gone"), 11);
    Map->Item_List.Delete_At(Hero->Inventory.Item_In_Slot(11)->Id); // an entry naming no item is not saved
    const std::string path = *Character_File_Path("hero");
    ASSERT_TRUE(Save_Character(*Hero, path));
    const TFields expected = Join({Version(),
                                   Creature_Fields(*Hero, "creature "),
                                   {{TKind::Word, "item count", 3, false}, {TKind::Word, "slot", 3, false}},
                                   Item_Fields(*ring, "slot 3 "),
                                   {{TKind::Word, "slot", 40, false}},
                                   Item_Fields(*Hero->Inventory.Item_In_Slot(40), "slot 40 "),
                                   {{TKind::Word, "slot", 90, false}},
                                   Item_Fields(*last, "slot 90 ")});
    EXPECT_TRUE(Bytes_Match(On_Disk(Folder, "Characters/hero.dat"), expected));

    TMonster empty;
    ASSERT_TRUE(Save_Character(empty, Folder.File("Characters/empty.dat")));
    EXPECT_TRUE(Bytes_Match(
        On_Disk(Folder, "Characters/empty.dat"),
        Join({Version(), Creature_Fields(empty, "creature "), {{TKind::Word, "item count", 0, false}}})));
}

TEST_F(Save_File_Layout, HighScoresAreTheVersionAndTenEntries) {
    THigh_Scores_List scores;
    scores.Add("Мирослава", "Воин", 70, 100000);
    scores.Add("Bob", "Mage", 300, -5);
    const std::string path = Path_Settings()->Get_High_Scores_File();
    ASSERT_TRUE(scores.Save(path));
    TFields expected = Version();
    const struct {
        const char* Name;
        const char* Class_Name;
        int Level;
        int Experience;
    } entries[] = {{"Bob", "Mage", 300, -5}, {"Мирослава", "Воин", 70, 100000}};
    for (int n = 0; n < THigh_Scores_List::Entry_Count; ++n) {
        const bool filled = n < 2;
        const std::string at = "entry " + std::to_string(n + 1) + " ";
        expected = Join({expected,
                         {{TKind::String, at + "name", filled ? entries[n].Name : "", filled},
                          {TKind::String, at + "class", filled ? entries[n].Class_Name : "", filled},
                          {TKind::Word, at + "level", filled ? entries[n].Level : 0, filled},
                          {TKind::Integer, at + "experience", filled ? entries[n].Experience : 0, filled}}});
    }
    EXPECT_TRUE(Values_Distinct(expected));
    EXPECT_TRUE(Bytes_Match(On_Disk(Folder, "Data/HighScores.dat"), expected));
}

} // namespace
