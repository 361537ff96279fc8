#include "ui/CharacterChoice.h"

#include "core/CharClass.h"
#include "core/GameOptions.h"
#include "core/Item.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "tests/ui/FrontEndData.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

class TCharacter_Choice_Test : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Folder.Write("Data/Classes.txt", Front_Classes_File());
        Folder.Write("Data/Spells.txt", Front_Spells_File());
        ASSERT_TRUE(Load_Master_Spells());
        ASSERT_TRUE(Load_Class_Info());
        Create_Game_Options();
    }
    void TearDown() override {
        Free_Game_Options();
        Free_Class_Info();
        Free_Master_Spells();
        TProgram_Folder_Test::TearDown();
    }
};

const TChoice_Refusal No_Class{"Класс персонажа", "Выберите класс персонажа из списка."};
const TChoice_Refusal No_Portrait{"Портрет персонажа", "Выберите портрет вашего персонажа."};
const TChoice_Refusal No_Name{"Имя персонажа", "Введите имя вашего персонажа."};
const TChoice_Refusal Name_Taken{"Имя персонажа", "Персонаж с таким именем уже существует."};

TEST_F(TCharacter_Choice_Test, NewCharacterChecksComeInOrder) {
    Folder.Write("Characters/Bob.dat", "x");
    struct TCase {
        int32_t class_index, portrait;
        std::string name;
        std::optional<TChoice_Refusal> expected;
    };
    const std::vector<TCase> cases = {
        {0, 0, "", No_Class},      {3, 1, "Carl", No_Class},  // a line past the table is no class
        {1, 0, "", No_Portrait},   {1, 1, "", No_Name},       // an empty name before the file test
        {1, 1, "bob", Name_Taken}, {2, 2, "BOB", Name_Taken}, // the file is found whatever its case
        {1, 1, "..", No_Name},     {1, 3, "Carl", std::nullopt}, {2, 1, "bob2", std::nullopt},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Check_New_Character(c.class_index, c.portrait, c.name), c.expected)
            << c.class_index << " " << c.portrait << " '" << c.name << "'";
}

TEST_F(TCharacter_Choice_Test, ClassLinesNameOnlyClassesOfTheTable) {
    EXPECT_EQ(Class_Of_Line(0), 0);
    EXPECT_EQ(Class_Of_Line(1), 1);
    EXPECT_EQ(Class_Of_Line(2), 2);
    EXPECT_EQ(Class_Of_Line(3), 0);
    Free_Class_Info();
    EXPECT_EQ(Class_Of_Line(1), 0); // no class table: line 1 is no class
    EXPECT_EQ(Check_New_Character(Class_Of_Line(1), 1, "Carl"), No_Class);
}

TEST_F(TCharacter_Choice_Test, NewCharacterTakesTheClassValues) {
    TMonster hero;
    Game_Options()->Start_Level = 9;
    Make_New_Character(hero, 1, 3, "Carl");
    EXPECT_EQ(hero.Class_Index, 1);
    EXPECT_EQ(hero.Class_Name, "Fighter");
    EXPECT_EQ(hero.Name, "Carl");
    EXPECT_EQ(hero.Picture, "Fighter_3.bmp");
    EXPECT_EQ(hero.Attack_Picture, "Fighter_3.bmp");
    EXPECT_EQ(hero.Description, "Fighter из долины");
    EXPECT_EQ(hero.Level, 1);
    EXPECT_EQ(hero.Base_Strength, 17);
    EXPECT_EQ(hero.Base_Dexterity, 12);
    EXPECT_EQ(hero.Base_Intelligence, 9);
    EXPECT_EQ(hero.Base_Constitution, 14);
    EXPECT_EQ(hero.Gold, 7);
    EXPECT_EQ(hero.Experience, 0);
    EXPECT_GT(hero.Max_Life, 0);
    EXPECT_EQ(hero.Life, hero.Max_Life);
    EXPECT_EQ(hero.Mana, hero.Max_Mana);
    EXPECT_EQ(hero.Food, hero.Max_Food);
    const TSpell* bash = Find_Master_Spell_By_Name("Bash");
    ASSERT_NE(bash, nullptr);
    EXPECT_EQ(hero.Spells.Count(), 1);
    uint8_t kind = 0;
    uint16_t value = 0;
    hero.Spells.Get_Quick_Slot(1, kind, value);
    EXPECT_NE(kind, 0);
    EXPECT_EQ(value, bash->Id);
    EXPECT_EQ(Game_Options()->Start_Level, 1);
}

// The template character is filled again for the next game of the run: nothing of the first may stay.
TEST_F(TCharacter_Choice_Test, SecondCharacterKeepsNothingOfTheFirst) {
    TMonster hero;
    Make_New_Character(hero, 1, 1, "Carl");
    hero.Experience = 250;
    hero.Attribute_Points = 5;
    hero.Skill_Points = 2;
    hero.Character_State = Character_Dead;
    hero.Add_Permanent_Effect(1, 3, 3);
    TItem stale;
    stale.Id = 5; // an item of the first game's map
    ASSERT_TRUE(hero.Inventory.Put_In_Slot(&stale, 20));
    hero.Set_Module_Name("Barrowdeep");
    hero.Talk_Topics = {"old"};
    hero.Talk_Texts = {"old"};

    Make_New_Character(hero, 2, 2, "Dora");
    EXPECT_EQ(hero.Class_Name, "Mage");
    EXPECT_EQ(hero.Gold, 40);
    EXPECT_EQ(hero.Experience, 0);
    EXPECT_EQ(hero.Attribute_Points, 0);
    EXPECT_EQ(hero.Skill_Points, 0);
    EXPECT_EQ(hero.Character_State, Character_Available);
    EXPECT_EQ(hero.Permanent_Effects.Get_Count(), 0);
    EXPECT_EQ(hero.Inventory.Count(), 0);
    EXPECT_EQ(hero.Module_Name, "");
    EXPECT_TRUE(hero.Talk_Topics.empty());
    const TSpell* spark = Find_Master_Spell_By_Name("Spark");
    ASSERT_NE(spark, nullptr);
    ASSERT_EQ(hero.Spells.Count(), 1); // "Bash" is gone
    EXPECT_EQ(hero.Spells.Spell_Id(1), spark->Id);
}

TEST_F(TCharacter_Choice_Test, StoredCharacterRefusals) {
    TMonster stored;
    EXPECT_EQ(Check_Existing_Character(nullptr),
              (TChoice_Refusal{"Select Character", "You must select a character from the list."}));
    const std::vector<std::pair<uint8_t, bool>> states = {
        {Character_Available, true}, {Character_In_Use, false}, {Character_Dead, true}};
    for (const auto& [state, usable] : states) {
        stored.Character_State = state;
        const auto refusal = Check_Existing_Character(&stored);
        EXPECT_EQ(!refusal.has_value(), usable) << int{state};
        if (refusal) {
            EXPECT_EQ(*refusal,
                      (TChoice_Refusal{"Character Unavailable",
                                       "You cannot use a character that is currently in a module."}));
        }
    }
}

TEST_F(TCharacter_Choice_Test, StoredCharacterComesBack) {
    struct TCase {
        uint8_t state;
        int32_t gold, experience;
        int32_t gold_after, experience_after;
    };
    const std::vector<TCase> cases = {
        {Character_Dead, 7, 500, 3, 0}, // dead: half the gold, rounded down, and no experience
        {Character_Dead, 1, 20, 0, 0},
        {Character_Available, 7, 500, 7, 500},
    };
    for (const TCase& c : cases) {
        TMonster stored;
        Make_New_Character(stored, 2, 1, "Dora");
        stored.Level = 4;
        stored.Gold = c.gold;
        stored.Experience = c.experience;
        stored.Character_State = c.state;
        stored.Life = 1;
        stored.Mana = 0;
        stored.Food = 0;
        TMonster target;
        Make_New_Character(target, 1, 1, "Carl");
        target.Attribute_Points = 9;
        Take_Existing_Character(target, stored);
        EXPECT_EQ(target.Name, "Dora");
        EXPECT_EQ(target.Gold, c.gold_after) << int{c.state};
        EXPECT_EQ(target.Experience, c.experience_after);
        EXPECT_EQ(target.Character_State, Character_Available);
        EXPECT_EQ(target.Attribute_Points, 0);
        EXPECT_EQ(target.Life, target.Max_Life);
        EXPECT_EQ(target.Mana, target.Max_Mana);
        EXPECT_EQ(target.Food, target.Max_Food);
        EXPECT_EQ(Game_Options()->Start_Level, 4);
        EXPECT_EQ(stored.Gold, c.gold); // the preview itself is not changed
    }
}

// The module start reads the character file again, which brings the dead state and the full gold back.
TEST_F(TCharacter_Choice_Test, ModuleStartAppliesTheChoiceAgain) {
    TMonster player;
    Make_New_Character(player, 1, 1, "Carl");
    player.Gold = 9;
    player.Experience = 60;
    player.Character_State = Character_Dead;
    player.Life = 2;
    Reapply_Existing_Character(player, "Barrowdeep");
    EXPECT_EQ(player.Module_Name, "Barrowdeep");
    EXPECT_EQ(player.Gold, 4);
    EXPECT_EQ(player.Experience, 0);
    EXPECT_EQ(player.Character_State, Character_Available);
    EXPECT_EQ(player.Life, player.Max_Life);
}

TEST_F(TCharacter_Choice_Test, StatusTextOfAStoredCharacter) {
    const std::string available = "Персонаж доступен для использования.";
    const std::string in_use = "Персонаж используется в модуле и недоступен.               ";
    const std::string dead =
        "Персонаж умер и может быть воскрешён за половину накопленного золота и полученного "
        "опыта.                               ";
    const std::string other_set =
        "Персонаж был создан с использованием набора данных, отличного от используемого "
        "модулем. Персонаж недоступен для этого модуля.";
    struct TCase {
        uint8_t state;
        std::string recorded, module;
        std::string expected;
    };
    const std::vector<TCase> cases = {
        {Character_Available, "Barrow", "Barrow", available},
        {Character_In_Use, "Barrow", "Barrow", in_use},
        {Character_Dead, "Barrow", "Barrow", dead},
        {Character_Available, "  BARROW ", "barrow", available},
        {Character_Available, "КУРГАН", "курган", available},
        {Character_Dead, "Barrow", "Marsh", other_set},
        {Character_Available, "", "Barrow", other_set},
    };
    for (const TCase& c : cases) {
        TMonster character;
        character.Character_State = c.state;
        character.Module_Name = c.recorded;
        EXPECT_EQ(Character_Status_Text(character, c.module), c.expected) << c.recorded << "/" << c.module;
    }
}

TEST_F(TCharacter_Choice_Test, PortraitPositionsWithoutPictures) {
    TPortrait_Map map;
    map.Build(nullptr);
    EXPECT_EQ(map.Portrait_Count(1), 3);
    EXPECT_EQ(map.Portrait_Count(2), 2);
    EXPECT_EQ(map.Portrait_Count(0), 0);
    EXPECT_EQ(map.Portrait_Count(3), 0);
    EXPECT_EQ(map.First_Positions.Get(2), 4);
    EXPECT_EQ(map.Last_Positions.Get(2), 5);
    for (int32_t portrait = 0; portrait <= 4; ++portrait) EXPECT_EQ(map.Picture_Cell(1, portrait), -1);
}

} // namespace
