#include "core/CharClass.h"

#include "core/Damage.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A complete class record.
TKeys Full_Class(const std::string& name) {
    return {{"Class Name", name},
            {"Short Description", "Воин"},
            {"Long Description", "Мастер меча"},
            {"Number of Portaits", "2"},
            {"Portrait 1 Filename", "HumanFighter1.bmp"},
            {"Portrait 2 Filename", "HumanFighter2.bmp"},
            {"Base Strength", "15"},
            {"Base Dexterity", "12"},
            {"Base Intelligence", "8"},
            {"Base Constitution", "14"},
            {"Base Fire Resistance", "1"},
            {"Base Lightning Resistance", "2"},
            {"Base Cold Resistance", "3"},
            {"Base Magic Resistance", "4"},
            {"Base Poison Resistance", "5"},
            {"Base Physical Resistance", "6"},
            {"Base Maximum Health", "30"},
            {"Base Maximum Mana", "5"},
            {"Base Maximum Hunger", "100"},
            {"Base Maximum Weight", "80"},
            {"Base Movement Speed", "300"},
            {"Starting Gold", "150"},
            {"Characteristic Points Per Level", "5"},
            {"Spell Points Per Level", "1"},
            {"Maximum Health - X Per 1 Level", "2.5"},
            {"Maximum Health - X Per 1 Constitution", "1"},
            {"Maximum Mana - X Per 1 Level", "0.5"},
            {"Maximum Mana - X Per 1 Intelligence", "1"},
            {"Maximum Hunger - X Per 1 Constitution", "1"},
            {"Maximum Weight - X Per 1 Strength", "2"},
            {"Attack Rating - X Per 1 Dexterity", "3"},
            {"Defense Rating - X Per 1 Dexterity", "1.5"},
            {"Minimum Damage Bonus - X Per 1 Strength", "0.1"},
            {"Maximum Damage Bonus - X Per 1 Strength", "0.2"},
            {"Movement Slowdown - Xms Per 1 Over Weight", "25"},
            {"Health Pct Regeneration Rate Per Second", "0.25"},
            {"Mana Pct Regeneration Rate Per Second", "0.75"},
            {"Num Items Carried", "1"},
            {"Item 1 Class", "Short Sword"},
            {"Experience Added Past Last Level", "500"},
            {"Number Of Experience Levels", "3"},
            {"Experience For Level 1", "100"},
            {"Experience For Level 2", "300"},
            {"Experience For Level 3", "600"},
            {"Spell/Skill Group 1 Name", "Бой"},
            {"Spell/Skill Group 2 Name", "  "},
            {"Spell/Skill Group 3 Name", "Магия"},
            {"Spell/Skill Group 4 Name", "Стойкость"},
            {"Spell/Skill Group 5 Name", "Скрытность"},
            {"Spell/Skill Group 6 Name", "Знания"},
            {"Number of Spell/Skills", "3"},
            {"Spell/Skill 1 Name", "Fireball"},
            {"Spell/Skill 1 Group", "2"},
            {"Spell/Skill 1 Available At Level", "0"},
            {"Spell/Skill 1 Starting Level", "0"},
            {"Spell/Skill 2 Name", "  FIREBALL "},
            {"Spell/Skill 2 Group", "3"},
            {"Spell/Skill 2 Available At Level", "4"},
            {"Spell/Skill 2 Starting Level", "1"},
            {"Spell/Skill 3 Name", "Toughness"},
            {"Spell/Skill 3 Group", "1"},
            {"Spell/Skill 3 Available At Level", "1"},
            {"Spell/Skill 3 Starting Level", "2"}};
}

class CharClassTest : public TProgram_Folder_Test {
protected:
    void TearDown() override {
        Free_Class_Info();
        TProgram_Folder_Test::TearDown();
    }

    // Loads the records as the game does; the error list shown, if any, is returned.
    TString_List Load(const std::vector<TKeys>& records) {
        Folder.Write("Data/Classes.txt", Data_File_Text(records, "Classes"));
        Messages->Error_Lists.clear();
        const bool ok = Reload_Class_Info();
        EXPECT_EQ(ok, Messages->Error_Lists.empty());
        return Messages->Error_Lists.empty() ? TString_List{} : Messages->Error_Lists.front().List;
    }
};

TEST_F(CharClassTest, ACompleteRecordFillsEveryField) {
    ASSERT_TRUE(Load({Full_Class("Fighter")}).empty());
    ASSERT_EQ(Class_Count(), 1);
    // Key strings are checked by the shipped file, which holds every key; here, that values land in the
    // right fields.
    const TClass_Info& c = *Get_Class(1);
    EXPECT_EQ(c.Index, 1);
    EXPECT_EQ(c.Portraits, (TString_List{"HumanFighter1.bmp", "HumanFighter2.bmp"}));
    EXPECT_EQ(c.Base_Physical_Resistance, 6);
    EXPECT_EQ(c.Base_Movement_Speed, 300);
    EXPECT_EQ(c.Characteristic_Points_Per_Level, 5);
    EXPECT_DOUBLE_EQ(c.Defense_Per_Dexterity, 1.5);
    EXPECT_DOUBLE_EQ(c.Mana_Regeneration_Pct, 0.75);
    EXPECT_EQ(c.Starting_Items, (TString_List{"Short Sword"}));
    // Group 2 is blank: the later groups move up.
    EXPECT_EQ(c.Group_Names, (TString_List{"Бой", "Магия", "Стойкость", "Скрытность", "Знания"}));
    EXPECT_EQ(c.Get_Group_Name(2), "Магия");
    EXPECT_EQ(c.Get_Group_Name(6), "");
    EXPECT_EQ(c.Spell_Names, (TString_List{"fireball", "fireball", "toughness"}));
    EXPECT_EQ(c.Get_Spell_Name(0), "");
    EXPECT_EQ(c.Spell_Starting_Levels.Get(3), 2);
    EXPECT_EQ(c.Get_Spell_Group_By_Number(2), 3);
    EXPECT_EQ(c.Get_Spell_Group_By_Number(4), 0);

    // Requirement texts name the class through the table.
    EXPECT_EQ(Character_Class_Name(1), "Fighter");
    EXPECT_EQ(Character_Class_Name(2), "");
}

TEST_F(CharClassTest, NamelessRecordsLeaveHoles) {
    const TKeys nameless = With(Full_Class("x"), {{"Class Name", "<drop>"}});
    TString_List errors = Load({Full_Class("Fighter"), nameless, Full_Class("Rogue")});
    ASSERT_EQ(Class_Count(), 3);
    EXPECT_EQ(Get_Class(1)->Name, "Fighter");
    EXPECT_EQ(Get_Class(3)->Name, "Rogue");
    EXPECT_EQ(Get_Class(3)->Index, 3);
    for (int32_t index : {0, 2, 4, -1}) EXPECT_EQ(Get_Class(index), nullptr) << index;
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Class Name"), std::string::npos);
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Class Portrait Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].File_Name, Folder.File("Data/Classes.txt"));
    EXPECT_EQ(Character_Class_Name(2), "");

    // A trailing nameless record does not count.
    Load({Full_Class("Fighter"), Full_Class("Mage"), Full_Class("Rogue"), nameless});
    EXPECT_EQ(Class_Count(), 3);
    EXPECT_EQ(Get_Class(4), nullptr);

    // A smaller file after a larger one leaves nothing of the old table.
    Load({Full_Class("Mage")});
    EXPECT_EQ(Class_Count(), 1);
    EXPECT_EQ(Get_Class(2), nullptr);
    Free_Class_Info();
    EXPECT_EQ(Class_Count(), 0);
    EXPECT_EQ(Get_Class(1), nullptr);
}

TEST_F(CharClassTest, PortraitKeyIsSpeltWithoutTheR) {
    TKeys record =
        With(Full_Class("Fighter"), {{"Number of Portaits", "<drop>"}, {"Number of Portraits", "2"}});
    const TString_List errors = Load({record});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Number of Portaits"), std::string::npos);
    EXPECT_TRUE(Get_Class(1)->Portraits.empty());
}

TEST_F(CharClassTest, ExperienceTable) {
    TClass_Info info;
    EXPECT_EQ(info.Get_Experience_For_Level(0), 0);
    EXPECT_EQ(info.Get_Experience_For_Level(5), 0);
    for (int32_t v : {100, 300, 600}) info.Experience_Table.Add(v);
    info.Experience_Added_Past_Last_Level = 500;
    const std::vector<std::pair<int32_t, int32_t>> cases = {{0, 100},  {1, 300},  {2, 600},
                                                            {3, 1100}, {4, 1600}, {-3, 100}};
    for (const auto& [level, expected] : cases)
        EXPECT_EQ(info.Get_Experience_For_Level(level), expected) << level;

    info.Experience_Added_Past_Last_Level = 2000000000;
    EXPECT_EQ(info.Get_Experience_For_Level(60000), std::numeric_limits<int32_t>::max());
    info.Experience_Added_Past_Last_Level = -2000000000;
    EXPECT_EQ(info.Get_Experience_For_Level(60000), std::numeric_limits<int32_t>::min());
}

TEST_F(CharClassTest, ClassSpellsAreFoundTrimmedWhateverTheCase) {
    ASSERT_TRUE(Load({Full_Class("Mage")}).empty());
    const TClass_Info& c = *Get_Class(1);
    // Entry 1 matches too but its available level is 0: the first non-zero value wins.
    EXPECT_EQ(c.Get_Spell_Available_Level("  FireBall "), 4);
    EXPECT_EQ(c.Get_Spell_Group("  FireBall "), 2);
    EXPECT_EQ(c.Get_Spell_Group("toughness"), 1);
    EXPECT_EQ(c.Get_Spell_Available_Level("Ice"), 0);
}

TEST_F(CharClassTest, AMissingSpellKeyKeepsTheListsAligned) {
    for (const char* dropped : {"Spell/Skill 1 Name", "Spell/Skill 1 Group",
                                "Spell/Skill 1 Available At Level", "Spell/Skill 1 Starting Level"}) {
        const TString_List errors = Load({With(Full_Class("Mage"), {{dropped, "<drop>"}})});
        ASSERT_EQ(errors.size(), 1u) << dropped;
        EXPECT_NE(errors[0].find(dropped), std::string::npos) << errors[0];
        const TClass_Info& c = *Get_Class(1);
        ASSERT_EQ(c.Spell_Names.size(), 3u) << dropped;
        ASSERT_EQ(c.Spell_Groups.Count(), 3) << dropped;
        ASSERT_EQ(c.Spell_Available_Levels.Count(), 3) << dropped;
        ASSERT_EQ(c.Spell_Starting_Levels.Count(), 3) << dropped;
        EXPECT_EQ(c.Get_Spell_Group("toughness"), 1) << dropped;
        EXPECT_EQ(c.Spell_Starting_Levels.Get(3), 2) << dropped;
    }
}

TEST_F(CharClassTest, MissingNumbersKeepTheirDefaultsAndGoldIsSixteenBit) {
    const TString_List errors = Load({With(Full_Class("Fighter"), {{"Base Movement Speed", "<drop>"},
                                                                   {"Starting Gold", "70000"},
                                                                   {"Number Of Experience Levels", "0"}})});
    ASSERT_EQ(errors.size(), 1u);
    const TClass_Info& c = *Get_Class(1);
    EXPECT_EQ(c.Base_Movement_Speed, 100);
    EXPECT_EQ(c.Starting_Gold, 0);
    EXPECT_EQ(c.Experience_Table.Count(), 0);
    EXPECT_EQ(c.Get_Experience_For_Level(1), 0);
}

} // namespace
