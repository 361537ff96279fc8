// Item classes: the file loaders, the scaling formulas, item creation and the unique and magic upgrades.
#include "core/GameOptions.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Profile.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassUniqueNames.h"
#include "tests/support/CoreTestSupport.h"

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// "Key=value|Key=value" as a record, with the changes applied.
TKeys Keys(const std::string& text, const TKeys& changes = {}) {
    TKeys keys;
    std::istringstream in(text);
    for (std::string pair; std::getline(in, pair, '|');) {
        const size_t eq = pair.find('=');
        keys.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
    }
    return With(keys, changes);
}

// A class record with every key.
TKeys Class_Keys(const std::string& name, const TKeys& changes = {}) {
    return Keys(
        "Class Name=" + name + "|Name=" + name +
            "|Description=Клинок.|Type=Weapon|Weapon Type=Sword|Event ID=0|Picture Filename=a.bmp|"
            "Item Level Min=1|Random Appearance Chance=TRUE|Item Group=|Weight=3|Hands Required=1|"
            "Base Gold Value=100|Consumption Type=None|Consumption Value=0|Defense Rating=0|Is Ammo Type=|"
            "Ammo Required=|Use Sound File=|Damage Amount Min=2|Damage Amount Max=5|Damage Maximum Range=0|"
            "Damage Firing FX=None|Light Radius Generated=0|Light Number of Turns=0|"
            "Maximum Number Stacked=0|Random Min Number Found Stacked=0|Random Max Number Found Stacked=0|"
            "Can Have Additional Effects=FALSE|Is Unique Item=FALSE|Number of Effects=0|"
            "Number of Requirements=0|Number of Spells=0|Key Group=",
        changes);
}

// "General Item Info": the fifteen constants in table order.
TKeys General_Keys(const std::vector<int>& c = std::vector<int>(15, 0)) {
    const char* const what[] = {"Base Gold Value", "Consumption Value", "Defense Rating", "Damage Min",
                                "Damage Max"};
    const char* const kind[] = {" Mod Per Level Add Percent", " Mod Per Level Add Amt", " Base Amt Mod"};
    TKeys keys;
    for (int n = 0; n < 15; ++n)
        keys.emplace_back(std::string("Item ") + what[n % 5] + kind[n / 5], std::to_string(c[n]));
    return keys;
}

// A modifier adding Fire Damage 2..2, worth 50 % and 4 x the multiplier.
TKeys Modifier_Keys(const std::string& description, const std::string& kind, const std::string& types,
                    const TKeys& changes = {}) {
    return Keys(
        "Description=" + description +
            "|Item Gold Value Percent Increase=50|Item Gold Value Amount Increase=4|Item Level Min=1|"
            "Item Level Max=20|Item Types=" +
            types + "|Modifier Type=" + kind +
            "|Number of Effects=1|Effect 1 Type=Fire Damage|Effect 1 Min Amount=2|Effect 1 Max Amount=2|"
            "Number of Requirements=0",
        changes);
}

class ItemClasses : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Install_Test_Display_Effects(Folder, {"Arrow"});
        Install_Current_Map(std::make_unique<TMap>());
        Create_Game_Options().Start_Level = 1;
    }
    void TearDown() override {
        Free_Item_Modifiers();
        Free_Unique_Names();
        Free_Game_Options();
        Install_Current_Map(nullptr);
        TProgram_Folder_Test::TearDown();
    }
    bool Load(const std::vector<TKeys>& records, TString_List* errors = nullptr,
              const std::string& name = "i.txt") {
        return List.Load_From_File(Folder.Write(name, Data_File_Text(records)), errors);
    }
    void Load_Modifiers(std::vector<TKeys> records) {
        records.insert(records.begin(), Keys("Item Value Amount Multiplier=5"));
        ASSERT_TRUE(Load_Item_Modifiers(Folder.Write("mods.txt", Data_File_Text(records))));
    }
    const TItem* Create(const std::string& name, int level, int magic = 0, int stack = 0,
                        bool on_square = false) {
        return Find_Item(Create_Item_From_Class(List.Pick_Random_Class(name, "all"), 3, 4, on_square, level,
                                                level, magic, 0, 0.0, 0.0, stack));
    }

    TItem_Class_List List;
    TCurrent_Item_Class_List_Guard Current{List};
};

} // namespace

// Every constant distinct, non-zero and some negative: a swapped key, rounding toward minus infinity or the
// binary rounding of a factor all change a number here.
TEST_F(ItemClasses, FormulasScaleEveryValueByItsOwnConstants) {
    ASSERT_TRUE(Load({General_Keys({-7, 13, 9, -11, 21, 6, -3, 2, 1, -1, -5, 4, -3, 2, 3}),
                      Class_Keys("Blade", Keys("Consumption Value=30|Defense Rating=20|Damage Amount Min=4|"
                                               "Damage Amount Max=9"))}));
    // The file's negative constants read as words, 0; the formulas take the signed fields as they stand.
    TItem_Class_Constants& c = List.Constants;
    ASSERT_EQ((std::vector<int>{c.Gold_Value_Per_Level_Percent, c.Damage_Min_Per_Level_Percent,
                                c.Consumption_Per_Level_Amount, c.Damage_Max_Per_Level_Amount,
                                c.Gold_Value_Base_Amount, c.Defense_Base_Amount}),
              std::vector<int>(6, 0));
    c.Gold_Value_Per_Level_Percent = -7;
    c.Damage_Min_Per_Level_Percent = -11;
    c.Consumption_Per_Level_Amount = -3;
    c.Damage_Max_Per_Level_Amount = -1;
    c.Gold_Value_Base_Amount = -5;
    c.Defense_Base_Amount = -3;
    struct TCase {
        int Level;
        int64_t Gold, Consumption, Defense, Damage_Min, Damage_Max;
    };
    // L = 1: no per-level term. L = 5: gold (100 - 5 + 24) x 0.72 = 85.68; consumption (30 + 4 - 12) x 1.52;
    // defence 25 x 1.36; minimum 10 x 0.56 = 5.6; maximum 8 x 1.84 = 14.72.
    for (const TCase& c : {TCase{1, 95, 34, 17, 6, 12}, TCase{5, 85, 33, 34, 5, 14}}) {
        EXPECT_EQ(Calc_Item_Gold_Value(*List.Get_Class(1), c.Level), c.Gold);
        const TItem* item = Create("blade", c.Level);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Item_Level, c.Level);
        EXPECT_EQ((std::vector<int64_t>{item->Gold_Value, item->Consumption_Value, item->Defense_Rating,
                                        item->Damage.Min, item->Damage.Max}),
                  (std::vector<int64_t>{c.Gold, c.Consumption, c.Defense, c.Damage_Min, c.Damage_Max}))
            << c.Level;
    }
    EXPECT_EQ(Calc_Item_Level_Value(5, 10, -30, 3, 0), -4);  // 22 x -0.2 = -4.4: toward zero
    EXPECT_EQ(Calc_Item_Level_Value(2, 100, -71, 0, 0), 29); // 100 x 0.29 is 29 exactly
    EXPECT_EQ(Calc_Item_Level_Value(65535, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX), INT64_MAX);
    // Stored in the field's width: a negative consumption is no potion of 65 000.
    List.Constants.Consumption_Base_Amount = -40;
    List.Constants.Defense_Base_Amount = 70000;
    EXPECT_EQ(Create("Blade", 1)->Consumption_Value, 0);
    EXPECT_EQ(Create("Blade", 1)->Defense_Rating, 65535);
}

TEST_F(ItemClasses, CreationStacksDamageSpellsAndSquares) {
    std::vector<int> constants(15, 0);
    constants[13] = 8;  // damage min base amount: 2 -> 10
    constants[14] = 15; // damage max base amount: 5 -> 20
    const std::string gold = "Type=Gold|Maximum Number Stacked=100|Random Max Number Found Stacked=20";
    ASSERT_TRUE(Load(
        {General_Keys(constants), Class_Keys("Gold", Keys(gold + "|Random Min Number Found Stacked=5")),
         Class_Keys("Loose Gold", Keys(gold)),
         Class_Keys("Arrows", Keys("Type=Ammo|Maximum Number Stacked=99|"
                                   "Random Min Number Found Stacked=7|Random Max Number Found Stacked=7")),
         Class_Keys("Scroll", Keys("Type=Scroll|Number of Spells=3|Spell 1 Name=Firebolt|Spell 1 Level=2|"
                                   "Spell 2 Name=Heal|Spell 2 Level=0|Spell 3 Name=Heal|Spell 3 Level=1"))}));
    const TItem* stack = Create("Gold", 1, 0, 120);
    EXPECT_EQ(stack->Quantity, 120);
    EXPECT_EQ(stack->Max_Stack, 120);
    const TItem* loose = Create("Loose Gold", 1, 0, 120); // a found bound of 0: the amount is not used
    EXPECT_EQ(loose->Quantity, 0);
    EXPECT_EQ(loose->Max_Stack, 100);
    const TItem* arrows = Create("Arrows", 1);
    EXPECT_EQ(arrows->Quantity, 7);
    // The minimum, scaled to 10, is held at the class's unscaled maximum; the maximum then goes to 20.
    EXPECT_EQ(arrows->Damage.Min, 5);
    EXPECT_EQ(arrows->Damage.Max, 20);
    // A pair without a level is left out; the levels follow the item's.
    const TItem* scroll = Create("Scroll", 4);
    ASSERT_EQ(scroll->Spell_Names, (TString_List{"Firebolt", "Heal"}));
    EXPECT_EQ(scroll->Spell_Levels.Get(1), 5);
    EXPECT_EQ(scroll->Spell_Levels.Get(2), 4);

    // On the square only when asked; a square outside the map makes no item rather than an orphan.
    TMap& map = *Current_Map();
    EXPECT_EQ(map.Get_Square(3, 4)->Item_Field, 0);
    EXPECT_EQ(map.Get_Square(3, 4)->Item_Field, Create("Arrows", 1, 0, 0, true)->Id);
    const int count = map.Item_List.Count();
    EXPECT_EQ(Create_Item_From_Class(List.Get_Class(3), 0, 4, true, 1, 1, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(map.Item_List.Count(), count);
    Install_Current_Map(nullptr);
    EXPECT_EQ(Create_Item_From_Class(List.Get_Class(3), 3, 4, false, 1, 1, 0, 0, 0, 0, 0), 0);
}

TEST_F(ItemClasses, ModifiersSuitTheirTypesRenameAndReprice) {
    Load_Modifiers(
        {Modifier_Keys("Gilded", "Prefix", "Weapon, Shield",
                       Keys("Effect 1 Type=Gold Value|Effect 1 Min Amount=10|Effect 1 Max Amount=10")),
         Modifier_Keys("of the Bear", "Suffix", "Weapon",
                       Keys("Item Gold Value Percent Increase=30|Effect 1 Type=Strength|"
                            "Number of Requirements=1|Requirement 1 Type=Strength Required|"
                            "Requirement 1 Amount=10|Requirement 1 Per Level Modifier Type=Number|"
                            "Requirement 1 Amt Per Level Modifier=0")),
         Modifier_Keys("Glowing", "Prefix", "weapon, shield"), // lower case: suits nothing
         Modifier_Keys("of Dust", "Suffix", "Weapon", Keys("Number of Effects=0")), // no effects
         Modifier_Keys("Ancient", "Prefix", "Weapon", Keys("Item Level Min=5"))});
    auto eligible = [](uint8_t type) {
        TItem item;
        item.Item_Type = type;
        item.Item_Level = 3;
        TWordList list;
        Get_Item_Modifiers_For_Item(item, list);
        std::vector<int> ids;
        for (int n = 1; n <= list.Count(); ++n) ids.push_back(list.Get(n));
        return ids;
    };
    EXPECT_EQ(eligible(20), (std::vector<int>{1, 2, 4})); // Weapon
    EXPECT_EQ(eligible(16), (std::vector<int>{1}));       // Shield
    EXPECT_EQ(eligible(3), (std::vector<int>{}));         // Armor

    TItem item;
    item.Name = "Sword";
    uint16_t percent = 0, amount = 0;
    EXPECT_TRUE(Apply_Item_Modifier(item, *Get_Item_Modifier(1), true, percent, amount));
    EXPECT_TRUE(Apply_Item_Modifier(item, *Get_Item_Modifier(2), true, percent, amount));
    EXPECT_FALSE(Apply_Item_Modifier(item, *Get_Item_Modifier(4), true, percent, amount));
    EXPECT_TRUE(Apply_Item_Modifier(item, *Get_Item_Modifier(2), false, percent, amount));
    EXPECT_EQ(item.Name, "Gilded Sword of the Bear");
    EXPECT_EQ(percent, 110);
    EXPECT_EQ(amount, 3 * 4 * 5);
    EXPECT_EQ(item.Effects.Get_Count(), 3);
    EXPECT_EQ(item.Requirements.Count(), 2);

    // Creation prices through the item's value twice, so the "Gold Value" effect counts in both steps:
    // 100 x 1.1 = 110, x 1.5 = 165; then 165 x 1.1 = 181 (181.5) + 4 x 5.
    Load_Modifiers(
        {Modifier_Keys("Gilded", "Prefix", "Weapon",
                       Keys("Effect 1 Type=Gold Value|Effect 1 Min Amount=10|Effect 1 Max Amount=10"))});
    ASSERT_TRUE(Load({General_Keys(), Class_Keys("Blade", Keys("Can Have Additional Effects=TRUE")),
                      Class_Keys("Plain")}));
    const TItem* magic = Create("Blade", 1, 100);
    EXPECT_EQ(magic->Name, "Gilded Blade");
    EXPECT_EQ(magic->Gold_Value, 201);
    EXPECT_EQ(Create("Plain", 1, 100)->Name, "Plain"); // cannot be magic
}

TEST_F(ItemClasses, UniqueItemsNeedAnEntryAndEnoughModifiers) {
    Load_Modifiers({Modifier_Keys("Flaming", "Prefix", "Weapon"),
                    Modifier_Keys("of the Bear", "Suffix", "Weapon", Keys("Effect 1 Type=Strength"))});
    ASSERT_TRUE(Load(
        {General_Keys(), Class_Keys("Relic", Keys("Is Unique Item=TRUE|Can Have Additional Effects=TRUE"))}));
    struct TCase {
        std::string Entries; // unique names records, "#" between them
        std::string Name;
        int Effects;
    };
    const std::string entry = "Level Min=1|Level Max=10|Number of Modifiers=";
    for (const TCase& c : {
             // Three wanted, two eligible: plain, and no magic roll though the magic chance is 100.
             TCase{entry + "3|Number of Names=1|Name 1=Grimfang", "Relic", 0},
             TCase{entry + "2|Number of Names=1|Name 1=Grimfang", "Grimfang Relic", 2},
             TCase{entry + "2|Number of Names=0", "Relic", 2}, // no names: the name stays
             // An entry of another level band is never chosen.
             TCase{"Level Min=5|Level Max=9|Number of Modifiers=2|Number of Names=1|Name 1=Grimfang", "Relic",
                   0},
         }) {
        std::vector<TKeys> records;
        std::istringstream in(c.Entries);
        for (std::string record; std::getline(in, record, '#');) records.push_back(Keys(record));
        ASSERT_TRUE(Load_Unique_Names(Folder.Write("u.txt", Data_File_Text(records))));
        const TItem* item = Create("Relic", 3, 100);
        EXPECT_EQ(item->Name, c.Name);
        EXPECT_EQ(item->Effects.Get_Count(), c.Effects);
        EXPECT_EQ(item->Gold_Value, c.Effects ? 100 * 200 / 100 + 2 * 4 * 5 : 100) << c.Entries;
    }
}

TEST_F(ItemClasses, LoadersReportInBothProfiles) {
    const std::vector<TKeys> records = {
        With(General_Keys(), {{"Item Damage Max Base Amt Mod", "<drop>"}}),
        Class_Keys("Rusty Sword", Keys("Weight=<drop>|Type=Sword|Consumption Type=health")),
        Class_Keys("Rune", Keys("Type=<drop>|Random Appearance Chance=50")),
        Class_Keys("", Keys("Class Name=<drop>")),
        Class_Keys("Glyph of Warding", Keys("Type=Glyph")),
    };
    const TString_List game = {
        "Не удалось найти поле \"Item Damage Max Base Amt Mod\" в записи \"General Item Info\".",
        "Недопустимое \"Sword\" для Type в записи \"Rusty Sword\".",
        "Не удалось найти поле \"Weight\" в записи \"Rusty Sword\".",
        "Недопустимое \"health\" для Consumption Type в записи \"Rusty Sword\".",
        "Не удалось найти поле \"Type\" в записи \"Rune\".",
        "Недопустимое \"\" для Type в записи \"Rune\".",
        "Не удалось найти поле \"Class Name\" в записи \"Rune\"."};
    const TString_List tool = {
        "Could not find field \"Item Damage Max Base Amt Mod\" in record \"General Item Info\".",
        "Unknown value \"Sword\" for Type in record \"Rusty Sword\".",
        "Could not find field \"Weight\" in record \"Rusty Sword\".",
        "Unknown value \"health\" for Consumption Type in record \"Rusty Sword\".",
        "Could not find field \"Type\" in record \"Rune\".",
        "Unknown value \"\" for Type in record \"Rune\".",
        "Could not find field \"Class Name\" in record \"Rune\"."};
    for (const auto& [profile, expected] :
         {std::pair{TRun_Profile::Game, game}, std::pair{TRun_Profile::Tool, tool}}) {
        Set_Run_Profile(profile);
        TItem_Class_List list;
        TString_List errors = {"an older error"};
        ASSERT_FALSE(list.Load_From_File(Folder.Write("bad.txt", Data_File_Text(records)), &errors));
        EXPECT_EQ(errors, expected);
        // Every record is kept, those with errors included; "50" is no flag; Glyph counts in the tool too.
        ASSERT_EQ(list.Get_Count(), 4);
        EXPECT_EQ((std::vector<int>{list.Get_Class(1)->Item_Type, list.Get_Class(2)->Item_Type,
                                    list.Get_Class(2)->Random_Appearance, list.Get_Class(4)->Item_Type}),
                  (std::vector<int>{0, 0, 0, 22}));
    }
    Set_Run_Profile(TRun_Profile::Game);
    EXPECT_FALSE(TItem_Class_List().Load_From_File(Folder.File("bad.txt")));
    Folder.Write("m.txt", Data_File_Text({Keys("Comment=x"), Modifier_Keys("Odd", "Infix", "Weapon")}));
    EXPECT_FALSE(Load_Item_Modifiers(Folder.File("m.txt")));
    Folder.Write("u.txt",
                 Data_File_Text({Keys("Level Min=2|Level Max=9|Number of Modifiers=1|Number of Names=2|"
                                      "Name 1=Grimfang")}));
    EXPECT_FALSE(Load_Unique_Names(Folder.File("u.txt")));
    ASSERT_EQ(Messages->Error_Lists.size(), 3u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Item Class Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].List, game);
    EXPECT_EQ(Messages->Error_Lists[1].Heading, "Item Modifier Class Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[1].List,
              (TString_List{"Не удалось найти поле \"Item Value Amount Multiplier\" в записи 1.",
                            "Недопустимое \"Infix\" для Modifier Type в записи \"Odd\"."}));
    EXPECT_EQ(Messages->Error_Lists[2].Heading, "Item Unique Class Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[2].List,
              (TString_List{"Не удалось найти поле \"Name 2\" в записи \"2\"."}));
    EXPECT_EQ(Get_Unique_Names(1)->Names, (TString_List{"Grimfang"}));

    // The same name is not read again, even changed; another letter case is another name.
    ASSERT_TRUE(Load({General_Keys(), Class_Keys("Old")}, nullptr, "same.txt"));
    ASSERT_TRUE(Load({General_Keys(), Class_Keys("New"), Class_Keys("Newer")}, nullptr, "same.txt"));
    EXPECT_EQ(List.Get_Class(1)->Class_Name, "Old");
    ASSERT_TRUE(Load({General_Keys(), Class_Keys("New")}, nullptr, "SAME.txt"));
    EXPECT_EQ(List.Get_Class(1)->Class_Name, "New");
}

TEST_F(ItemClasses, GroupFiltersContainTheGroup) {
    struct TCase {
        std::string Group, Filter;
        bool Matches;
    };
    for (const TCase& c :
         {TCase{"", "", true}, TCase{"", "weapons", true}, TCase{"Any", "barrow", true},
          TCase{"Barrow", "All", true}, TCase{"Barrow", "NONE", true},
          TCase{"barrow", "Village, Barrow", true},
          TCase{"Barrow Relics", "barrow", false}, // a filter inside the group does not count
          TCase{"Barrow", "", false}, TCase{"Barrow", "village", false}}) {
        TItem_Class item_class;
        item_class.Item_Group = c.Group;
        EXPECT_EQ(item_class.Group_Matches(c.Filter), c.Matches) << c.Group << " / " << c.Filter;
    }
    ASSERT_TRUE(Load({General_Keys(), Class_Keys("Key", Keys("Item Group=Village")),
                      Class_Keys("KEY", Keys("Item Group=Barrow|Name=Barrow Key")), Class_Keys("Keystone")}));
    const TItem_Class* key = List.Pick_Random_Class("key", "barrow, crypt"); // the whole name, any case
    EXPECT_EQ(key ? key->Name : "", "Barrow Key");
    EXPECT_EQ(List.Pick_Random_Class("key", "crypt"), nullptr);
    EXPECT_EQ(List.Get_Class(4), nullptr);
    { TCurrent_Item_Class_List_Guard guard(List); }
    EXPECT_EQ(Current_Item_Class_List(), nullptr); // the guard leaves none current
}
