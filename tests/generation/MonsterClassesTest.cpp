// Monster classes: the file loader, the scaling formulas, monster creation with its items, gold and
// modifiers. The classes come from tests/data/generation/Monster_Classes.txt, whose records also carry the
// errors the loader test lists.
#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Profile.h"
#include "core/Spells.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterModifiers.h"
#include "tests/support/CoreTestSupport.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string Classes_File = std::string(MURK_TEST_DATA_DIR) + "/generation/Monster_Classes.txt";

class MonsterClasses : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Install_Test_Display_Effects(Folder, {"Arrow"});
        // Two spells named alike: a class's spell name finds the last one.
        Folder.Write("Data/Spells.txt",
                     Data_File_Text({{{"Name", "Firebolt"}}, {{"Name", "Heal"}}, {{"Name", "Firebolt"}}}));
        Load_Master_Spells(); // the records lack most keys; only the names matter here
        Folder.Write("Sounds/ghoul_death.wav", "RIFF");
        Folder.Make_Folder("Sounds/bite.wav"); // a folder is no sound
        Install_Current_Map(std::make_unique<TMap>());
        Create_Game_Options();
        List.Load_From_File(Classes_File, &Errors);
        Messages->Error_Lists.clear();
    }
    void TearDown() override {
        Free_Monster_Modifiers();
        Free_Game_Options();
        Install_Current_Map(nullptr);
        Free_Master_Spells();
        Free_Display_Effects();
        TProgram_Folder_Test::TearDown();
    }
    TMonster* Create(const TMonster_Class& c, int level, int modifier_chance = 0) {
        return Current_Map()->Monster_List.Get_Monster(
            Create_Monster_From_Class(&c, 10, 12, level, level, 1, 1, "all", modifier_chance));
    }
    const TMonster_Class& Ghoul() const { return *List.Get_Class(1); }
    // The ghoul carrying each item class with chance 100.
    TMonster_Class Carrying(const std::vector<std::string>& names) const {
        TMonster_Class c = Ghoul();
        for (const std::string& name : names) c.Items_Carried.push_back({name, 100});
        return c;
    }
    void Add_Item_Class(const std::string& name, uint8_t type) {
        TItem_Class c;
        c.Class_Name = c.Name = name;
        c.Item_Type = type;
        c.Random_Min_Found = c.Random_Max_Found = type == Item_Type_Gold ? 9 : 0;
        Items.Add_Class(c);
    }

    TMonster_Class_List List;
    TCurrent_Monster_Class_List_Guard Current{List};
    TString_List Errors;
    TItem_Class_List Items;
};

} // namespace

TEST_F(MonsterClasses, LoaderReportsAndKeepsEveryRecord) {
    for (TRun_Profile profile : {TRun_Profile::Game, TRun_Profile::Tool}) {
        Set_Run_Profile(profile);
        for (bool no_sound_check : {false, true}) {
            TString_List expected = {
                Missing_Field_Line("Monster Gold Carried Per Level Maximum", "General Monster Info", 1),
                Missing_Field_Line("Movement Strategy", "Ghoul", 2),
                Invalid_Value_Line("", "Movement Strategy", "Ghoul", 2)};
            // The death sound is found in another letter case; a folder or a missing file is reported.
            if (!no_sound_check) {
                expected.push_back(Invalid_Value_Line("bite.wav", "Sound File Attack", "Ghoul", 2));
                expected.push_back(Invalid_Value_Line("growl.wav", "Sound File Growl", "Ghoul", 2));
            }
            for (const std::string& line :
                 {Invalid_Value_Line("Fire Bolt", "Spell 1 Name", "Ghoul", 2),
                  Missing_Field_Line("Talk Topic 1 Text", "Ghoul", 2),
                  // A record without its name key is named by the name left from the record before.
                  Missing_Field_Line("Name", "Ghoul", 3),
                  Invalid_Value_Line("none", "Corpse Type", "Shade", 4)})
                expected.push_back(line);
            TMonster_Class_List list;
            TString_List errors = {"an older error"};
            EXPECT_FALSE(list.Load_From_File(Classes_File, &errors, no_sound_check));
            EXPECT_EQ(errors, expected);
            // Every record is kept, with 0 where a value was unusable; "None" is a corpse type.
            ASSERT_EQ(list.Get_Count(), 3);
            const TMonster_Class& ghoul = *list.Get_Class(1);
            EXPECT_EQ((std::vector<int>{ghoul.Corpse_Type, ghoul.Movement_Strategy, ghoul.Spells.Count(),
                                        list.Get_Class(3)->Movement_Strategy}),
                      (std::vector<int>{0, 0, 2, 13}));
        }
    }
    // Without a list the errors are shown; the same name is not read again.
    Set_Run_Profile(TRun_Profile::Game);
    TMonster_Class_List shown;
    EXPECT_FALSE(shown.Load_From_File(Classes_File));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Monster Class Data File Errors: ");
    shown.Clear();
    EXPECT_TRUE(shown.Load_From_File(Classes_File));
    EXPECT_EQ(shown.Get_Count(), 0);
}

// Distinct constants for health and damage, per level and per difficulty: a swapped key, a missed Trunc
// between steps or rounding toward minus infinity changes a number here.
TEST_F(MonsterClasses, FormulasScaleHealthAndDamageByTheirOwnConstants) {
    struct THealth {
        int L, D, Base;
        int64_t Expected;
    };
    // L = 1, D = 0: start + base x modifier. L = 3: 19 x 1.2 = 22.8, + 2 x 2; then x 1.3 or x 0.85.
    for (const THealth& c : {THealth{1, 0, 5, 19}, THealth{1, 0, 9, 31}, THealth{3, 0, 5, 26},
                             THealth{3, 2, 5, 33}, THealth{3, -1, 5, 22}})
        EXPECT_EQ(Calc_Monster_Health(c.L, nullptr, c.Base, c.D), c.Expected) << c.L << " " << c.D;
    struct TDamage_Case {
        int L, D, Bonus, Start, Base;
        int64_t Expected;
    };
    // L = 3: 3 x 1.4 = 4.2, + 2 x 5 = 14; x 0.75 = 10.5, x 1.5 = 21; a 10 % bonus is truncated on its own
    // (15.4 -> 15, x 1.5 = 22, not 23); -2.5 goes toward zero.
    for (const TDamage_Case& c :
         {TDamage_Case{1, 0, 0, 1, 2, 3}, TDamage_Case{3, -1, 0, 1, 2, 10}, TDamage_Case{3, 2, 0, 1, 2, 21},
          TDamage_Case{3, 2, 10, 1, 2, 22}, TDamage_Case{1, 0, -150, 1, 4, -2}})
        EXPECT_EQ(Calc_Monster_Damage(c.L, c.D, c.Bonus, c.Start, c.Base), c.Expected) << c.L << " " << c.D;

    // The ghoul's own "Monster Increase Health" doubles it; every creature gets the bonus of 30. Its claw of
    // 2..5 scales to 10..20: the minimum is held at the unscaled maximum.
    const TMonster* ghoul = Create(Ghoul(), 1);
    ASSERT_NE(ghoul, nullptr);
    EXPECT_EQ((std::vector<int>{ghoul->Max_Life, static_cast<int>(ghoul->Life), ghoul->Experience_Bonus,
                                ghoul->Natural_Attacks.Get_Damage(1)->Min,
                                ghoul->Natural_Attacks.Get_Damage(1)->Max}),
              (std::vector<int>{38, 38, 30, 5, 20}));
    Set_Current_Monster_Class_List(nullptr); // no list: the default constants
    EXPECT_EQ(Calc_Monster_Health(4, nullptr, 7, 2), 7);
}

TEST_F(MonsterClasses, CreationScalesAbilitiesSpellsAndTalk) {
    Game_Options()->Difficulty = 4;
    const TMonster* ghoul = Create(Ghoul(), 3);
    ASSERT_NE(ghoul, nullptr);
    // Life 26 x 2 = 52, x 1.3. Attack: 10 x 2 + 5 = 25, x 1.2 = 30, + 6 = 36, x 1.2 = 43.2. Defence: 13,
    // x 1.4 = 18, + 2 = 20; the file's per-difficulty percent of -60 reads as a word, 0, so it stays 20.
    // Claw maximum: 20 x 1.4 + 10, x 1.5.
    EXPECT_EQ((std::vector<int>{ghoul->Level, ghoul->Max_Life, ghoul->Attack, ghoul->Defense,
                                ghoul->Base_Resist, ghoul->Natural_Attacks.Get_Damage(1)->Min,
                                ghoul->Natural_Attacks.Get_Damage(1)->Max}),
              (std::vector<int>{3, 67, 43, 20, 9, 5, 57}));
    // The last "Firebolt" of the master table, at Trunc(3 x 0.5 + 1); a 0 % table entry is no entry.
    EXPECT_EQ((std::vector<int>{ghoul->Spells.Count(), ghoul->Spells.Spell_Id(1),
                                ghoul->Spells.Stored_Level(1), ghoul->Spells.Cast_Chance(1),
                                ghoul->Spells.Spell_Id(2), ghoul->Spells.Cast_Chance(2)}),
              (std::vector<int>{2, 3, 2, 40, 2, 20}));
    // A topic whose text was missing keeps its place, with an empty text.
    EXPECT_EQ(ghoul->Talk_Topics, (TString_List{"Quest", "Village"}));
    EXPECT_EQ(ghoul->Talk_Texts, (TString_List{"", "Hello"}));
    // Recorded on its square, at home there; none is made off the map.
    EXPECT_EQ(Current_Map()->Get_Square(10, 12)->Get_Monster(), ghoul);
    EXPECT_EQ((std::vector<int>{ghoul->Home_X, ghoul->Home_Y}), (std::vector<int>{10, 12}));
    EXPECT_EQ(Create_Monster_From_Class(&Ghoul(), 201, 12, 1, 1, 1, 1, "all", 0), 0);
}

TEST_F(MonsterClasses, MoveDelayFollowsDifficultyAndNeverWraps) {
    struct TCase {
        uint8_t Difficulty;
        std::string Speed;
        int Effect; // Monster Increase Move Speed
        int Expected;
    };
    for (const TCase& c :
         {TCase{1, "Walk", 0, 400}, TCase{2, "Walk", 0, 400}, TCase{3, "Walk", 0, 340},
          TCase{4, "Walk", 0, 280}, TCase{4, "Quick", 0, 0}, // 100 - 2 x 60: held at 0, not wrapped to 65 516
          TCase{2, "Slow", 0, 700},                          // the last entry of a name wins
          TCase{2, "walk", 0, 500},                          // names match exactly; none gives 500
          TCase{2, "Frozen", 0, 500},                        // an entry of 0 ms is never entered
          TCase{2, "Walk", 50, 600}}) {
        TMonster_Class k = Ghoul();
        k.Movement_Speed = c.Speed;
        k.Effects.Clear();
        k.Effects.Add_Effect(Effect_Monster_Increase_Move_Speed, c.Effect, c.Effect);
        Game_Options()->Difficulty = c.Difficulty;
        const TMonster* m = Create(k, 1);
        EXPECT_EQ((std::vector<int>{m->Base_Move_Delay, m->Move_Delay}),
                  (std::vector<int>{c.Expected, c.Expected}))
            << c.Speed << " " << int{c.Difficulty};
    }
}

TEST_F(MonsterClasses, GoldAndItemsFindTheirPlaces) {
    for (const auto& [name, type] : {std::pair{"Sword", 20},
                                     {"Helm", 9},
                                     {"Potion", 12},
                                     {"Gem", 18},
                                     {"Small Gold Stack", 21},
                                     {"Medium Gold Stack", 21},
                                     {"Large Gold Stack", 21}})
        Add_Item_Class(name, static_cast<uint8_t>(type));
    const TCurrent_Item_Class_List_Guard current_items(Items);
    const auto contents = [](const TMonster& m) {
        std::vector<std::string> names;
        for (int32_t n = 1; n <= m.Inventory.Count(); ++n)
            names.push_back(std::to_string(m.Inventory.Slot_At(n)) + ":" +
                            m.Inventory.Contents().Item(n)->Name + "*" +
                            std::to_string(m.Inventory.Contents().Item(n)->Quantity));
        return names;
    };
    // Chance x level of 1 never passes the roll; 101 always does, the amount naming the stack.
    List.Constants.Gold_Chance_Per_Level = 1;
    for (int n = 0; n < 30; ++n) EXPECT_EQ(Create(Ghoul(), 1)->Inventory.Count(), 0);
    List.Constants.Gold_Chance_Per_Level = 101;
    for (const auto& [amount, stack] :
         {std::pair{50, "Small"}, {51, "Medium"}, {500, "Medium"}, {501, "Large"}}) {
        List.Constants.Gold_Minimum_Per_Level = List.Constants.Gold_Maximum_Per_Level = amount;
        EXPECT_EQ(
            contents(*Create(Ghoul(), 1)),
            (std::vector<std::string>{"11:" + std::string(stack) + " Gold Stack*" + std::to_string(amount)}));
    }
    List.Constants.Gold_Chance_Per_Level = 0;

    // The first free slot that takes the item, the backpack when the hands are full, and the backpack for
    // what is never worn.
    EXPECT_EQ(contents(*Create(Carrying({"Sword", "Sword", "Helm", "Potion", "Sword"}), 1)),
              (std::vector<std::string>{"6:Sword*0", "7:Sword*0", "1:Helm*0", "11:Potion*0", "12:Sword*0"}));
    // The 81st gem finds no room: it is not left behind in the item list.
    TItem_List& items = Current_Map()->Item_List;
    items.Clear();
    EXPECT_EQ(Create(Carrying(std::vector<std::string>(81, "Gem")), 1)->Inventory.Count(), 80);
    int live = 0;
    for (int id = 1; id <= items.Count(); ++id) live += items.Item(static_cast<uint16_t>(id)) != nullptr;
    EXPECT_EQ(live, 80);
}

TEST_F(MonsterClasses, SummonedCreaturesAndModifiers) {
    // Summoning makes creatures with no item class list loaded: items and gold are skipped.
    List.Constants.Gold_Chance_Per_Level = 101;
    const TMonster* wolf = Create(Carrying({"Sword"}), 2, 100);
    ASSERT_NE(wolf, nullptr);
    EXPECT_EQ(wolf->Inventory.Count() + Current_Map()->Item_List.Count(), 0);
    EXPECT_TRUE(wolf->Status_Lines.empty()); // no modifiers in the table

    const auto add_modifier = [](const char* name, uint16_t level_min, uint16_t level_max) {
        TMonster_Modifier_Class modifier;
        modifier.Name = name;
        modifier.Monster_Level_Min = level_min;
        modifier.Monster_Level_Max = level_max;
        modifier.Experience_Bonus_Percent = 20;
        modifier.Effects.Add_Effect(Effect_Monster_Increase_Health, 10, 10);
        Add_Monster_Modifier(modifier);
    };
    for (const char* name : {"Fierce", "Swift", "Tough"}) add_modifier(name, 1, 10);
    add_modifier("Ancient", 20, 30);
    // Without a header: one modifier, its effect and bonus added. Never for a unique class or a chance of 0.
    const TMonster* one = Create(Ghoul(), 5, 100);
    EXPECT_EQ((std::vector<int>{static_cast<int>(one->Status_Lines.size()), one->Experience_Bonus,
                                one->Permanent_Effects.Get_Count()}),
              (std::vector<int>{1, 50, 2}));
    TMonster_Class king = Ghoul();
    king.Is_Unique = true;
    EXPECT_TRUE(Create(king, 5, 100)->Status_Lines.empty());
    EXPECT_TRUE(Create(Ghoul(), 5, 0)->Status_Lines.empty());
    // Five asked for, three of the level: each applied once.
    Create_Monster_Modifier_Header().Rows = {{1, 10, 100, 5}};
    const TMonster* all = Create(Ghoul(), 5, 100);
    EXPECT_EQ(all->Status_Lines.size(), 3u);
    EXPECT_EQ(std::set<std::string>(all->Status_Lines.begin(), all->Status_Lines.end()),
              (std::set<std::string>{"Fierce", "Swift", "Tough"}));

    // A row whose running sum equals the roll is the chosen one; rows of other levels do not count.
    Seed_Random(11);
    const int roll = Random_Range(1, 100);
    ASSERT_GT(roll, 1);
    Monster_Modifier_Header()->Rows = {
        {20, 30, 100, 1}, {1, 10, static_cast<uint16_t>(roll - 1), 1}, {1, 10, 1, 2}};
    TWriteable_Monster direct;
    direct.Level = 5;
    Seed_Random(11);
    Apply_Random_Monster_Modifiers(direct);
    EXPECT_EQ(direct.Status_Lines.size(), 2u);
}

TEST_F(MonsterClasses, GroupFiltersMatchEitherWay) {
    struct TCase {
        std::string Group, Filter;
        bool Matches;
    };
    for (const TCase& c : {TCase{"", "", true}, TCase{"", "undead", true}, TCase{"Any", "barrow", true},
                           TCase{"Barrow", "All", true}, TCase{"Barrow", "NONE", true},
                           TCase{"barrow", "Village, Barrow", true},
                           TCase{"Barrow Undead", "undead", true}, // either text may hold the other
                           TCase{"Barrow", "", false},             // an empty filter is inside nothing
                           TCase{"Barrow", "village", false}}) {
        TMonster_Class monster_class;
        monster_class.Monster_Group = c.Group;
        EXPECT_EQ(monster_class.Group_Matches(c.Filter), c.Matches) << c.Group << " / " << c.Filter;
    }
    // The whole name in any letter case, among the classes the filter admits.
    EXPECT_EQ(List.Pick_Random_Class("SHADE", "the village"), List.Get_Class(3));
    EXPECT_EQ(List.Pick_Random_Class("Shade", "barrow"), nullptr);
    EXPECT_EQ(List.Pick_Random_Class("Gh", "all"), nullptr);
    EXPECT_EQ(List.Get_Class(4), nullptr);
    { TCurrent_Monster_Class_List_Guard guard(List); }
    EXPECT_EQ(Current_Monster_Class_List(), nullptr); // the guard leaves none current
}
