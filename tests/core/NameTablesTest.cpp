#include "core/NameTables.h"
#include "core/Profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// Every name of every table, in code order, and nothing on either side: a changed word, a swapped pair or a
// shifted code anywhere in a table changes a line here.
TEST(NameTables, EveryNameOfEveryTable) {
    struct Case {
        const TName_Table* table;
        int first;
        std::vector<std::string> names;
    };
    // clang-format off
    const Case cases[] = {
        {&Item_Type_Names, 0, {"None", "Ammo", "Amulet", "Armor", "Belt", "Boots", "Bow", "Food", "Gloves", "Helm", "Key", "Misc", "Potion", "Ring", "Scepter", "Scroll", "Shield", "Staff", "Treasure", "Wand", "Weapon", "Gold", "Glyph", "Orb"}},
        {&When_To_Retreat_Names, 0, {"None", "When lightly hurt", "When moderately hurt", "When severely hurt", "Never Retreat"}},
        {&Response_Range_Names, 0, {"None", "When Seen", "Long Range", "Medium Range", "Short Range", "Point Blank"}},
        {&Movement_Strategy_Names, 0, {"None", "None", "Stay Put", "Wander Around", "Patrol", "Hunt", "Ranged Hunt", "Guard", "Keep Away", "Follow", "Guard Monster", "Anchored 3 Squares", "Anchored 5 Squares", "Anchored 10 Squares"}},
        {&Corpse_Type_Names, 0, {"None", "Small Skeleton", "Medium Skeleton", "Large Skeleton", "Huge Skeleton", "Small Corpse", "Medium Corpse", "Large Corpse", "Huge Corpse"}},
        {&Intelligence_Category_Names, 0, {"None", "Minimal", "Animal", "Novice", "Expert"}},
        {&Status_Names, 0, {"Норма", "Паника", "Отравление", "Слепота", "Паралич", "Сон"}},
        {&Consumption_Type_Names, 0, {"None", "Food", "Health", "Mana", "Cure Poison", "Timed Effect", "Permanent Effect", "Permanent Health", "Permanent Mana", "Permanent Strength", "Permanent Intelligence", "Permanent Dexterity", "Permanent Constitution"}},
        {&Connection_Type_Names, 1, {"Two Way - Always", "Two Way - Destination Initiated", "Two Way - Source Initiated", "One Way Only"}},
        {&Event_Trigger_Type_Names, 0, {"None", "Item Given To Monster", "Monster Killed", "Monster Talked To About Topic", "Quest Completed"}},
        {&Event_Result_Type_Names, 0, {"None", "Quest Completed", "Quest Failed", "Quest Visible True", "Quest Visible False", "Display Text", "End Game", "Play Music"}},
        {&Spell_Target_Names, 1, {"Нет", "Монстр", "На себя", "Место", "Постоянно", "Группа монстров"}},
        {&Effect_Type_Names, 1, {"Attack Ignores Targets Defense", "Attack Ability", "Attacker Takes Damage", "Cold Damage", "Cold Resist", "Constitution", "Damage", "Damage Generates Mana", "Damage Reduction", "Defense Ability", "Dexterity", "Each Kill Regenerates Mana", "Fire Damage", "Fire Resist", "Gold Value", "Intelligence", "Life", "Life Current", "Life Regeneration", "Life Stolen", "Light Radius", "Lightning Damage", "Lightning Resist", "Magic Damage", "Magic Resist", "Make Monsters Flee", "Mana", "Mana Regeneration", "Mana Current", "Mana Stolen", "Maximum Damage", "Minimum Damage", "Monster Increase Health", "Monster Increase Attack Ability", "Monster Increase Defense Ability", "Monster Increase Min Damage", "Monster Increase Max Damage", "Monster Increase Move Speed", "Monster Increase Attack Speed", "Monster Increase Damage Resistance", "More Gold", "Poison Damage", "Poison Length Reduction", "Poison Resist", "Reduce Target Defense", "Reduce Target Resist All", "Resist All", "Skill Levels", "Strength", "Two Weapons", "Bash Doors", "Detect Secret Doors", "Detect Traps", "Pick Locks", "Reduced Detection Chance", "Physical Resist", "Reduce Target Attack Ability", "Cure Poison", "Detect Evil", "Decrease Current Hunger", "Blind Target", "Change Allegiance", "Reduce Target Damage", "Damage All", "Remove Curse", "Cause Sleep", "Dispel Undead", "Reduce Target Movement", "Hunger", "Weight", "Paralyze Target", "Teleport", "Reduce Movement", "Reduce Attack Ability", "Reduce Defense Ability", "Reduce Resist All", "Reduce Damage"}},
        {&Modifier_Type_Names, 1, {"Prefix", "Suffix"}},
        {&Amount_Type_Names, 1, {"Number", "Percent"}},
        {&Display_Effect_Type_Names, 1, {"Directional", "Frames"}},
        {&Action_Names, 0, {"None", "Move", "Open", "Close", "Look", "Examine", "Take", "Eat", "Use", "Cast", "Attack", "Any", "Bash Door", "Open Secret"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        const int last = c.first + static_cast<int>(c.names.size()) - 1;
        SCOPED_TRACE(c.names.back());
        for (int code = c.first; code <= last; ++code) {
            const std::string& name = c.names[static_cast<size_t>(code - c.first)];
            EXPECT_EQ(Name_Of(*c.table, code), name) << code;
            // A name found by its text gives its last code ("None" is both 0 and 1 of the strategies).
            const auto last_of_name = c.names.rend() - std::find(c.names.rbegin(), c.names.rend(), name) - 1;
            EXPECT_EQ(Find_Code(*c.table, name), c.first + last_of_name) << name;
        }
        EXPECT_EQ(Name_Of(*c.table, c.first - 1), "");
        EXPECT_EQ(Name_Of(*c.table, last + 1), "");
    }
    // The name functions read the same tables.
    EXPECT_EQ(Item_Type_Name(21), "Gold");
    EXPECT_EQ(Item_Type_Name(24), "");
    EXPECT_EQ(Effect_Type_Name(48), "Skill Levels");
    EXPECT_EQ(Effect_Type_Name(0), "");
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
