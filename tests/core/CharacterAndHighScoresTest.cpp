// Characters come back with new item ids, life as it was saved, and nothing left behind by an item that
// cannot be placed; the high-score table ranks by level, then experience.
#include "core/CharClass.h"
#include "core/HighScores.h"
#include "core/SaveGame.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

namespace {

class Character_File : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Folder.Write("Data/Classes.txt", Data_File_Text({{{"Class Name", "Fighter"}}}, "Classes"));
        Reload_Class_Info(); // the missing keys are reported; the record is set here
        Get_Class(1)->Base_Maximum_Health = 30;
        Get_Class(1)->Base_Maximum_Hunger = 40;
        Hero = Add_Creature(4, 4, "hero");
        Hero->Set_Class(1);
        Hero->Level = 1;
        TItem* armour = Add_Item("mail", 3);
        armour->Effects.Add_Effect(Effect_Life, 50, 50);
        Hero->Inventory.Put_In_Slot(armour, 3);
        Hero->Inventory.Put_In_Slot(Add_Item("bread"), 40);
        Hero->Recalculate_Stats();
        Hero->Life = 75;
        Hero->Food = 35;
        Path = Folder.File("Characters/hero.dat");
    }
    void TearDown() override {
        Free_Class_Info();
        TMap_Fixture::TearDown();
    }
    // A map of its own whose item list already holds three items without effects at the ids the file
    // names.
    void Enter_New_Map() {
        Install_Current_Map(std::make_unique<TMap>());
        for (const char* name : {"stone", "stick", "leaf"}) {
            TItem item;
            item.Name = name;
            Current_Map()->Item_List.Add(&item);
        }
    }
    TMonster* Hero = nullptr;
    std::string Path;
};

TEST_F(Character_File, ItemsGetNewIdsAndLifeStaysAsSaved) {
    ASSERT_EQ(Hero->Max_Life, 80);
    ASSERT_TRUE(Save_Character(*Hero, Path));
    Enter_New_Map();
    TMonster target;
    ASSERT_TRUE(Load_Character(target, Path));
    ASSERT_NE(target.Item_In_Slot(3), nullptr);
    EXPECT_EQ(target.Item_In_Slot(3)->Name, "mail");
    EXPECT_EQ(target.Item_In_Slot(3)->Id, 4);
    EXPECT_EQ(target.Item_In_Slot(40)->Name, "bread");
    EXPECT_EQ(target.Item_In_Slot(40)->Id, 5);
    EXPECT_EQ(target.Inventory.Count(), 2);
    EXPECT_EQ(target.Max_Life, 80);
    EXPECT_EQ(target.Life, 75);
    EXPECT_EQ(target.Food, 35);
    EXPECT_EQ(target.Name, "hero");

    // Values above the maxima the items give come down to them.
    TItem armour = *target.Item_In_Slot(3);
    Install_Current_Map(std::make_unique<TMap>());
    Map = Current_Map();
    target.Inventory.Clear();
    target.Inventory.Put_In_Slot(Map->Item_List.Item(Map->Item_List.Add(&armour)), 3);
    target.Life = 500;
    target.Food = 500;
    ASSERT_TRUE(Save_Character(target, Path));
    Enter_New_Map();
    TMonster again;
    ASSERT_TRUE(Load_Character(again, Path));
    EXPECT_EQ(again.Life, 80);
    EXPECT_EQ(again.Food, 40);
}

TEST_F(Character_File, ItemsThatCannotBePlacedLeaveNothingBehindAndABrokenFileChangesNothing) {
    // Seven items out of slot order: slots 91, 90, 40, 3 twice, 1 and 0. The items for the first and last
    // slots 1 and 90, for slot 40 and the first for slot 3 are placed, in ascending slot order as the game
    // writes them.
    TStream_Writer w;
    Write_String(w, "1.06");
    Hero->Save_To_Stream(w);
    Write_Word(w, 7);
    for (auto [slot, name] : {std::pair{91, "beyond"},
                              {90, "last"},
                              {40, "bread"},
                              {3, "first"},
                              {3, "second"},
                              {1, "one"},
                              {0, "zero"}}) {
        Write_Word(w, static_cast<uint16_t>(slot));
        TItem item;
        item.Name = name;
        item.Save_To_Stream(w);
    }
    const std::vector<uint8_t> bytes = w.Bytes();
    Folder.Write("Characters/odd.dat", std::string(bytes.begin(), bytes.end()));
    Install_Current_Map(std::make_unique<TMap>());
    TMonster target;
    ASSERT_TRUE(Load_Character(target, Folder.File("Characters/odd.dat")));
    ASSERT_EQ(target.Inventory.Count(), 4);
    EXPECT_EQ(target.Item_In_Slot(3)->Name, "first");
    for (auto [n, slot] : {std::pair{1, 1}, {2, 3}, {3, 40}, {4, 90}}) {
        EXPECT_EQ(target.Inventory.Slot_At(n), slot);
        EXPECT_EQ(target.Item_In_Slot(slot)->Id, n);
    }
    EXPECT_EQ(Current_Map()->Item_List.Count(), 4);

    // Every cut of the file fails and adds nothing anywhere.
    for (size_t cut : {size_t{0}, size_t{6}, bytes.size() / 2, bytes.size() - 1}) {
        Folder.Write("Characters/cut.dat",
                     std::string(bytes.begin(), bytes.begin() + static_cast<long>(cut)));
        Messages->Messages.clear();
        EXPECT_FALSE(Load_Character(target, Folder.File("Characters/cut.dat"))) << cut;
        EXPECT_EQ(target.Inventory.Count(), 4);
        EXPECT_EQ(Current_Map()->Item_List.Count(), 4);
        ASSERT_EQ(Messages->Messages.size(), 1u);
        EXPECT_EQ(Messages->Messages[0].Caption, "Ошибка");
        EXPECT_EQ(Messages->Messages[0].Text,
                  "Не удаётся загрузить файл \"" + Folder.File("Characters/cut.dat") + "\".");
    }
}

TEST(HighScores, RankByLevelThenExperience) {
    struct TStep {
        const char* Name;
        uint16_t Level;
        int32_t Experience;
        bool Accepted;
    };
    const struct {
        const char* Case;
        std::vector<TStep> Steps;
        std::vector<const char*> Order; // names by rank after the steps ("" for an empty entry)
    } cases[] = {
        {"an empty table takes level 1 first", {{"a", 1, 0, true}}, {"a", ""}},
        {"a score equal to an empty entry is refused", {{"zero", 0, 0, false}}, {""}},
        {"5/900 goes between 5/1000 and 5/800",
         {{"b", 5, 800, true}, {"a", 5, 1000, true}, {"m", 5, 900, true}},
         {"a", "m", "b", ""}},
        {"a tie goes after the entry it ties with",
         {{"first", 3, 50, true}, {"second", 3, 50, true}},
         {"first", "second", ""}},
        {"levels compare unsigned, experience signed",
         {{"low", 1, 0, true}, {"high", 65535, -5, true}, {"negative", 1, -1, true}},
         {"high", "low", "negative", ""}},
    };
    for (const auto& c : cases) {
        THigh_Scores_List list;
        for (const TStep& s : c.Steps)
            EXPECT_EQ(list.Add(s.Name, "Class", s.Level, s.Experience), s.Accepted) << c.Case;
        for (size_t n = 0; n < c.Order.size(); ++n)
            EXPECT_EQ(list.Get(static_cast<int32_t>(n + 1))->Name, c.Order[n])
                << c.Case << ", rank " << n + 1;
    }
    // A full table drops its tenth; a score below all ten is refused.
    THigh_Scores_List full;
    for (uint16_t level = 10; level <= 19; ++level) full.Add("L" + std::to_string(level), "C", level, 0);
    EXPECT_TRUE(full.Add("new", "C", 15, 1));
    EXPECT_EQ(full.Get(5)->Name, "new");
    EXPECT_EQ(full.Get(10)->Name, "L11");
    EXPECT_FALSE(full.Add("lowest", "C", 11, 0));
    EXPECT_EQ(full.Get(10)->Name, "L11");
    EXPECT_EQ(full.Get(0), nullptr);
    EXPECT_EQ(full.Get(11), nullptr);
}

TEST(HighScores, AnyVersionLoadsAndAFailedLoadKeepsWhatWasRead) {
    THigh_Scores_List written;
    written.Add("a", "Fighter", 9, 90);
    written.Add("b", "Mage", 8, 80);
    TStream_Writer w;
    written.Write(w);
    std::vector<uint8_t> bytes = w.Bytes();
    bytes[4] = '0'; // "1.06" becomes "1.00"
    THigh_Scores_List read;
    TStream_Reader r(bytes);
    read.Read(r);
    EXPECT_EQ(*read.Get(1), (THigh_Score{"a", "Fighter", 9, 90}));
    EXPECT_EQ(*read.Get(2), (THigh_Score{"b", "Mage", 8, 80}));

    // Cut inside the second entry: the first is read, the rest stays as the table held it.
    THigh_Scores_List partial;
    partial.Add("old", "Old", 1, 1);
    partial.Add("older", "Old", 1, 0);
    TStream_Reader cut(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 30));
    EXPECT_THROW(partial.Read(cut), EStream_Read_Error);
    EXPECT_EQ(partial.Get(1)->Name, "a");
    EXPECT_EQ(partial.Get(2)->Class_Name, "Old");
    EXPECT_FALSE(partial.Load("/nonexistent/HighScores.dat"));
    EXPECT_EQ(partial.Get(1)->Name, "a");
    EXPECT_FALSE(written.Save("/nonexistent/HighScores.dat"));
    TTemp_Folder folder;
    ASSERT_TRUE(written.Save(folder.File("HighScores.dat")));
    ASSERT_TRUE(partial.Load(folder.File("HighScores.dat")));
    EXPECT_EQ(*partial.Get(2), *written.Get(2));
    EXPECT_EQ(*partial.Get(3), THigh_Score());
}

} // namespace
