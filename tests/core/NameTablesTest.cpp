#include "core/NameTables.h"
#include "core/Profile.h"

#include <gtest/gtest.h>

TEST(NameTables, EdgesOfEveryTable) {
    struct Case {
        const TName_Table* table;
        int first, last;
        const char* first_name;
        const char* last_name;
    } cases[] = {
        {&Item_Type_Names, 0, 23, "None", "Orb"},
        {&When_To_Retreat_Names, 0, 4, "None", "Never Retreat"},
        {&Response_Range_Names, 0, 5, "None", "Point Blank"},
        {&Movement_Strategy_Names, 0, 13, "None", "Anchored 10 Squares"},
        {&Corpse_Type_Names, 0, 8, "None", "Huge Corpse"},
        {&Intelligence_Category_Names, 0, 4, "None", "Expert"},
        {&Status_Names, 0, 5, "Норма", "Сон"},
        {&Consumption_Type_Names, 0, 12, "None", "Permanent Constitution"},
        {&Connection_Type_Names, 1, 4, "Two Way - Always", "One Way Only"},
        {&Event_Trigger_Type_Names, 0, 4, "None", "Quest Completed"},
        {&Event_Result_Type_Names, 0, 7, "None", "Play Music"},
        {&Modifier_Type_Names, 1, 2, "Prefix", "Suffix"},
        {&Amount_Type_Names, 1, 2, "Number", "Percent"},
        {&Display_Effect_Type_Names, 1, 2, "Directional", "Frames"},
        {&Spell_Target_Names, 1, 6, "Нет", "Группа монстров"},
        {&Effect_Type_Names, 1, 77, "Attack Ignores Targets Defense", "Reduce Damage"},
        {&Action_Names, 0, 13, "None", "Open Secret"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Name_Of(*c.table, c.first), c.first_name);
        EXPECT_EQ(Name_Of(*c.table, c.last), c.last_name);
        EXPECT_EQ(Name_Of(*c.table, c.first - 1), "");
        EXPECT_EQ(Name_Of(*c.table, c.last + 1), "");
        EXPECT_EQ(Find_Code(*c.table, c.last_name), c.last);
    }
    EXPECT_EQ(Item_Type_Name(24), "");
    EXPECT_EQ(Effect_Type_Name(0), "");
    EXPECT_EQ(Effect_Type_Name(48), "Skill Levels");
    EXPECT_EQ(Item_Type_Name(21), "Gold");
}

TEST(NameTables, FindCodeMatchesExactly) {
    EXPECT_EQ(Find_Code(Item_Type_Names, "Weapon"), 20);
    EXPECT_EQ(Find_Code(Item_Type_Names, "weapon"), -1);  // letter case counts
    EXPECT_EQ(Find_Code(Item_Type_Names, "Weapon "), -1); // so do blanks
    EXPECT_EQ(Find_Code(Item_Type_Names, "Orb", 0, 21), -1);
    // The creature loader matches strategies from 1, so "None" reads as 1.
    EXPECT_EQ(Find_Code(Movement_Strategy_Names, "None", 1, 13), 1);
    EXPECT_EQ(Movement_Strategy_Name(0), "None");
    EXPECT_EQ(Movement_Strategy_Name(1), "None");
    EXPECT_EQ(Find_Code(Effect_Type_Names, "Fire Damage"), 13);
    EXPECT_EQ(Find_Code(Action_Names, "Bash Door"), 12);
}

TEST(NameTables, SpellTargetsByProfile) {
    EXPECT_EQ(Find_Spell_Target("Монстр"), 2);
    EXPECT_EQ(Find_Spell_Target("Monster"), -1); // the game reads only its own words
    Set_Run_Profile(TRun_Profile::Tool);
    EXPECT_EQ(Find_Spell_Target("Monster Area"), 6);
    EXPECT_EQ(Find_Spell_Target("Группа монстров"), 6); // and the tool reads the game's files too
    EXPECT_EQ(Find_Spell_Target("Always On"), 5);
    EXPECT_EQ(Find_Spell_Target("monster"), -1);
    Set_Run_Profile(TRun_Profile::Game);
}
