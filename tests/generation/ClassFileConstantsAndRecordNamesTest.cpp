// The first record of the item and monster class files holds words: every constant reads through
// Str_To_Word. And the record name a loader sets is kept into the next record until that record's own name
// key has been read, so a record without its name key is reported under the name before it.
#include "core/Profile.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassUniqueNames.h"
#include "tests/support/CoreTestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The texts every constant is read from in turn, with the value a word read gives.
struct TWord_Case {
    std::string Text;
    int32_t Value; // -1: the key's own number n + 1, so a key read into another field shows
};
const TWord_Case Word_Cases[] = {
    {"-3", 0},        {"70000", 0}, {"65536", 0}, {"-2147483647", 0},
    {"65535", 65535}, {"$1F", 31},  {"+7", 7},    {"n", -1},
};

std::string Text_For(const TWord_Case& c, size_t n) {
    return c.Value < 0 ? std::to_string(n + 1) : c.Text;
}
int32_t Value_For(const TWord_Case& c, size_t n) {
    return c.Value < 0 ? static_cast<int32_t>(n + 1) : c.Value;
}

class Class_File_Constants : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Set_Run_Profile(TRun_Profile::Tool);
    }
    void TearDown() override {
        Free_Item_Modifiers();
        Free_Unique_Names();
        TProgram_Folder_Test::TearDown();
    }
    int File_Number = 0;
    // Each load gets a file name of its own: a list does not read the name it read last again.
    std::string Write(const std::vector<TKeys>& records) {
        return Folder.Write("f" + std::to_string(++File_Number) + ".txt", Data_File_Text(records));
    }
};

using TItem_Constant = int32_t TItem_Class_Constants::*;
using TMonster_Constant = int32_t TMonster_Class_Constants::*;

} // namespace

TEST_F(Class_File_Constants, Item_Constants_Are_Words) {
    const std::vector<std::pair<std::string, TItem_Constant>> keys = {
        {"Item Base Gold Value Mod Per Level Add Percent",
         &TItem_Class_Constants::Gold_Value_Per_Level_Percent},
        {"Item Consumption Value Mod Per Level Add Percent",
         &TItem_Class_Constants::Consumption_Per_Level_Percent},
        {"Item Defense Rating Mod Per Level Add Percent", &TItem_Class_Constants::Defense_Per_Level_Percent},
        {"Item Damage Min Mod Per Level Add Percent", &TItem_Class_Constants::Damage_Min_Per_Level_Percent},
        {"Item Damage Max Mod Per Level Add Percent", &TItem_Class_Constants::Damage_Max_Per_Level_Percent},
        {"Item Base Gold Value Mod Per Level Add Amt", &TItem_Class_Constants::Gold_Value_Per_Level_Amount},
        {"Item Consumption Value Mod Per Level Add Amt",
         &TItem_Class_Constants::Consumption_Per_Level_Amount},
        {"Item Defense Rating Mod Per Level Add Amt", &TItem_Class_Constants::Defense_Per_Level_Amount},
        {"Item Damage Min Mod Per Level Add Amt", &TItem_Class_Constants::Damage_Min_Per_Level_Amount},
        {"Item Damage Max Mod Per Level Add Amt", &TItem_Class_Constants::Damage_Max_Per_Level_Amount},
        {"Item Base Gold Value Base Amt Mod", &TItem_Class_Constants::Gold_Value_Base_Amount},
        {"Item Consumption Value Base Amt Mod", &TItem_Class_Constants::Consumption_Base_Amount},
        {"Item Defense Rating Base Amt Mod", &TItem_Class_Constants::Defense_Base_Amount},
        {"Item Damage Min Base Amt Mod", &TItem_Class_Constants::Damage_Min_Base_Amount},
        {"Item Damage Max Base Amt Mod", &TItem_Class_Constants::Damage_Max_Base_Amount},
    };
    for (const TWord_Case& c : Word_Cases) {
        TKeys general;
        for (size_t n = 0; n < keys.size(); ++n) general.emplace_back(keys[n].first, Text_For(c, n));
        TItem_Class_List list;
        // A negative constant left over from earlier must not survive a read of 0.
        for (const auto& key : keys) list.Constants.*key.second = -9;
        const TCurrent_Item_Class_List_Guard current(list);
        TString_List errors;
        ASSERT_TRUE(list.Load_From_File(Write({general}), &errors)) << errors.front();
        for (size_t n = 0; n < keys.size(); ++n)
            EXPECT_EQ(list.Constants.*keys[n].second, Value_For(c, n)) << keys[n].first << " := " << c.Text;
    }
}

TEST_F(Class_File_Constants, Monster_Constants_Are_Words_And_The_Spell_Level_A_Real) {
    const std::vector<std::pair<std::string, TMonster_Constant>> keys = {
        {"Monster Base Health Modifier", &TMonster_Class_Constants::Base_Health_Modifier},
        {"Monster Base Attack Ability Modifier", &TMonster_Class_Constants::Base_Attack_Modifier},
        {"Monster Base Defense Ability Modifier", &TMonster_Class_Constants::Base_Defense_Modifier},
        {"Monster Base Health Start", &TMonster_Class_Constants::Health_Start},
        {"Monster Base Attack Ability Start", &TMonster_Class_Constants::Attack_Start},
        {"Monster Base Defense Ability Start", &TMonster_Class_Constants::Defense_Start},
        {"Monster Base Damage Min Start", &TMonster_Class_Constants::Damage_Min_Start},
        {"Monster Base Damage Max Start", &TMonster_Class_Constants::Damage_Max_Start},
        {"Monster Health Modifier Per Level Added Percent",
         &TMonster_Class_Constants::Health_Per_Level_Percent},
        {"Monster Damage Modifier Per Level Added Percent",
         &TMonster_Class_Constants::Damage_Per_Level_Percent},
        {"Monster Attack Modifier Per Level Added Percent",
         &TMonster_Class_Constants::Attack_Per_Level_Percent},
        {"Monster Defense Modifier Per Level Added Percent",
         &TMonster_Class_Constants::Defense_Per_Level_Percent},
        {"Monster Health Modifier Per Level Added Amount",
         &TMonster_Class_Constants::Health_Per_Level_Amount},
        {"Monster Damage Modifier Per Level Added Amount",
         &TMonster_Class_Constants::Damage_Per_Level_Amount},
        {"Monster Attack Modifier Per Level Added Amount",
         &TMonster_Class_Constants::Attack_Per_Level_Amount},
        {"Monster Defense Modifier Per Level Added Amount",
         &TMonster_Class_Constants::Defense_Per_Level_Amount},
        {"Monster Health Modifier Per Difficulty Level Pct",
         &TMonster_Class_Constants::Health_Per_Difficulty_Percent},
        {"Monster Damage Modifier Per Difficulty Level Pct",
         &TMonster_Class_Constants::Damage_Per_Difficulty_Percent},
        {"Monster Attack Modifier Per Difficulty Level Pct",
         &TMonster_Class_Constants::Attack_Per_Difficulty_Percent},
        {"Monster Defense Modifier Per Difficulty Level Pct",
         &TMonster_Class_Constants::Defense_Per_Difficulty_Percent},
        {"Monster Base Resist All Start", &TMonster_Class_Constants::Resist_All_Start},
        {"Monster Resist All Modifier Per Level Added Amount",
         &TMonster_Class_Constants::Resist_All_Per_Level_Amount},
        {"Monster Gold Carried Per Level Chance", &TMonster_Class_Constants::Gold_Chance_Per_Level},
        {"Monster Gold Carried Per Level Minimum", &TMonster_Class_Constants::Gold_Minimum_Per_Level},
        {"Monster Gold Carried Per Level Maximum", &TMonster_Class_Constants::Gold_Maximum_Per_Level},
    };
    for (const TWord_Case& c : Word_Cases) {
        TKeys general;
        for (size_t n = 0; n < keys.size(); ++n) general.emplace_back(keys[n].first, Text_For(c, n));
        // The spell level is a real, and the speed modifier a longint: both keep their sign.
        for (const auto& key : TKeys{{"Spell Level Per Monster Level", "-0.25"},
                                     {"Number Of Movement Speeds", "0"},
                                     {"Movement Speed Modifier Per Difficulty Level MS", "-70000"},
                                     {"Number Of Spell Cast Chances", "0"}})
            general.push_back(key);
        TMonster_Class_List list; // the base modifiers start at 1: a read of 0 must replace them
        const TCurrent_Monster_Class_List_Guard current(list);
        TString_List errors;
        ASSERT_TRUE(list.Load_From_File(Write({general}), &errors, true)) << errors.front();
        for (size_t n = 0; n < keys.size(); ++n)
            EXPECT_EQ(list.Constants.*keys[n].second, Value_For(c, n)) << keys[n].first << " := " << c.Text;
        EXPECT_EQ(list.Constants.Spell_Level_Per_Monster_Level, -0.25);
        EXPECT_EQ(list.Movement_Speed_Modifier_Per_Difficulty_Ms, -70000);
    }
}

// Each loader's name key is read while the previous record's name still stands; the record is then named
// by what that key held, so its later lines name it by number when the key was missing.
TEST_F(Class_File_Constants, A_Missing_Name_Key_Is_Reported_Under_The_Previous_Name) {
    const TKeys item_class = {{"Class Name", "Rune"},
                              {"Name", "Rune"},
                              {"Description", "x"},
                              {"Type", "Misc"},
                              {"Weapon Type", ""},
                              {"Event ID", "0"},
                              {"Picture Filename", "a.bmp"},
                              {"Item Level Min", "1"},
                              {"Random Appearance Chance", "TRUE"},
                              {"Item Group", ""},
                              {"Weight", "1"},
                              {"Hands Required", "1"},
                              {"Base Gold Value", "5"},
                              {"Consumption Type", "None"},
                              {"Consumption Value", "0"},
                              {"Defense Rating", "0"},
                              {"Is Ammo Type", ""},
                              {"Ammo Required", ""},
                              {"Use Sound File", ""},
                              {"Damage Amount Min", "0"},
                              {"Damage Amount Max", "0"},
                              {"Damage Maximum Range", "0"},
                              {"Damage Firing FX", "None"},
                              {"Light Radius Generated", "0"},
                              {"Light Number of Turns", "0"},
                              {"Maximum Number Stacked", "1"},
                              {"Random Min Number Found Stacked", "0"},
                              {"Random Max Number Found Stacked", "0"},
                              {"Can Have Additional Effects", "FALSE"},
                              {"Is Unique Item", "FALSE"},
                              {"Number of Effects", "0"},
                              {"Number of Requirements", "0"},
                              {"Number of Spells", "0"},
                              {"Key Group", ""}};
    const TKeys modifier = {{"Description", "Keen"},
                            {"Item Gold Value Percent Increase", "10"},
                            {"Item Gold Value Amount Increase", "1"},
                            {"Item Level Min", "1"},
                            {"Item Level Max", "9"},
                            {"Item Types", "Weapon"},
                            {"Modifier Type", "Prefix"},
                            {"Number of Effects", "0"},
                            {"Number of Requirements", "0"}};
    const TKeys names = {{"Level Min", "7"},
                         {"Level Max", "9"},
                         {"Number of Modifiers", "1"},
                         {"Number of Names", "1"},
                         {"Name 1", "Grimfang"}};

    // Items: no class name, and a type that is no type's name; then a good class again.
    {
        TItem_Class_List list;
        const TCurrent_Item_Class_List_Guard current(list);
        TString_List errors;
        TKeys general;
        for (const char* key : {"Item Base Gold Value Mod Per Level Add Percent",
                                "Item Consumption Value Mod Per Level Add Percent"})
            general.emplace_back(key, "0");
        EXPECT_FALSE(list.Load_From_File(
            Write({general, item_class, With(item_class, {{"Class Name", "<drop>"}, {"Type", "Rock"}}),
                   item_class}),
            &errors));
        // The first record lacks thirteen constants; only the last two lines concern the names.
        ASSERT_EQ(errors.size(), 15u);
        EXPECT_EQ(errors[0],
                  "Could not find field \"Item Defense Rating Mod Per Level Add Percent\" in record "
                  "\"General Item Info\".");
        EXPECT_EQ(TString_List(errors.end() - 2, errors.end()),
                  (TString_List{"Could not find field \"Class Name\" in record \"Rune\".",
                                "Unknown value \"Rock\" for Type in record \"3\"."}));
    }
    // Item modifiers: the first modifier's missing description falls back on the record number; the second
    // on "Keen".
    EXPECT_FALSE(Load_Item_Modifiers(
        Write({{{"Item Value Amount Multiplier", "2"}},
               With(modifier, {{"Description", "<drop>"}}),
               modifier,
               With(modifier, {{"Description", "<drop>"}, {"Modifier Type", "Infix"}})})));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].List,
              (TString_List{"Could not find field \"Description\" in record 2.",
                            "Could not find field \"Description\" in record \"Keen\".",
                            "Unknown value \"Infix\" for Modifier Type in record \"4\"."}));
    // Unique names: named by the level text "7" of the record before.
    EXPECT_FALSE(
        Load_Unique_Names(Write({names, With(names, {{"Level Min", "<drop>"}, {"Name 1", "<drop>"}})})));
    ASSERT_EQ(Messages->Error_Lists.size(), 2u);
    EXPECT_EQ(Messages->Error_Lists[1].List,
              (TString_List{"Could not find field \"Level Min\" in record \"7\".",
                            "Could not find field \"Name 1\" in record 2."}));
}
