#include "core/Damage.h"

#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Installs a display-effect table read from a literal effects file in a temporary program folder.
class DamageTest : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Seed_Random(1234);
    }
    void TearDown() override {
        Free_Display_Effects();
        TProgram_Folder_Test::TearDown();
    }

    void Install_Display_Effects(const std::vector<std::string>& names) {
        Install_Test_Display_Effects(Folder, names);
    }
};

TEST_F(DamageTest, ReadsNumbersAndFiringEffectFromARecord) {
    Install_Display_Effects({"Firebolt", "Frost Nova"});
    const std::string p = "Natural Attack 2 ";
    const std::string fx_key = p + "Damage Firing FX";
    struct Case {
        const char* label;
        bool has_fx_key;
        std::string fx_text;
        uint8_t expected_fx;
        std::vector<std::string> expected_errors;
    };
    const Case cases[] = {
        {"None", true, "None", 0, {}},
        {"second effect", true, "Frost Nova", 2, {}},
        {"letter case counts", true, "frost nova", 0, {"invalid " + fx_key + " = 'frost nova'"}},
        {"unknown name", true, "Meteor", 0, {"invalid " + fx_key + " = 'Meteor'"}},
        {"missing key", false, "", 0, {"missing " + fx_key, "invalid " + fx_key + " = ''"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TFake_Record record;
        record.Fields = {{p + "Damage Amount Min", "3"}, {p + "Damage Amount Max", "9"}};
        if (c.has_fx_key) record.Fields[fx_key] = c.fx_text;
        TDamage damage;
        damage.Set(1, 1, 4, 7);
        damage.Read_From_Data_File(p, record.Reader());
        EXPECT_EQ(damage.Text(), "3 - 9");
        EXPECT_EQ(damage.Range, 4); // its key is missing: the range stays
        EXPECT_EQ(damage.Firing_FX, c.expected_fx);
        std::vector<std::string> expected = {"missing " + p + "Damage Maximum Range"};
        expected.insert(expected.end(), c.expected_errors.begin(), c.expected_errors.end());
        EXPECT_EQ(record.Errors, expected);
    }
}

TEST_F(DamageTest, FiringEffectBeyondAByteIsRefused) {
    // The field holds a byte: effect 256 would otherwise be stored as 0, effect 257 as effect 1.
    std::vector<std::string> names;
    for (int i = 1; i <= 257; ++i) names.push_back("Effect " + std::to_string(i));
    Install_Display_Effects(names);
    const std::pair<const char*, int> cases[] = {{"Effect 255", 255}, {"Effect 256", 0}, {"Effect 257", 0}};
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name);
        TFake_Record record;
        record.Fields = {
            {"Damage Amount Min", "1"}, {"Damage Amount Max", "2"}, {"Damage Maximum Range", "0"}};
        record.Fields["Damage Firing FX"] = name;
        TDamage damage;
        damage.Read_From_Data_File("", record.Reader());
        EXPECT_EQ(damage.Firing_FX, expected);
        EXPECT_EQ(record.Errors.size(), expected == 0 ? 1u : 0u);
    }
}

TEST_F(DamageTest, MinimumFollowsMaximumOnlyWhenSetOrAdded) {
    TDamage damage;
    damage.Set(2, 5, 0, 0);
    EXPECT_EQ(damage.Text(), "2 - 5");
    damage.Add_Min(10);
    EXPECT_EQ(damage.Min, 5);
    damage.Set_Min(3);
    damage.Add_Max(-1);
    EXPECT_EQ(damage.Text(), "3 - 4");
    damage.Set_Min(9);
    EXPECT_EQ(damage.Min, 4);

    // Creation sets the minimum first and the maximum after it; the maximum does not pull the minimum down.
    damage.Set_Max(2);
    EXPECT_EQ(damage.Text(), "4 - 2");
    for (int i = 0; i < 20; ++i) ASSERT_EQ(damage.Roll(), 4);

    // Results stay within 16 bits instead of wrapping round.
    damage.Add_Max(-10);
    EXPECT_EQ(damage.Max, 0);
    damage.Set_Max(70000);
    EXPECT_EQ(damage.Max, 65535);
    damage.Set_Min(-3);
    EXPECT_EQ(damage.Min, 0);
    damage.Add_Min(100000);
    EXPECT_EQ(damage.Min, 65535);
}

TEST_F(DamageTest, AddTakesTheOthersReachEvenWhenNone) {
    TDamage bow;
    bow.Set(3, 6, 8, 2);
    TDamage fist;
    fist.Set(1, 2, 0, 0);
    bow.Add(fist);
    EXPECT_EQ(bow.Text(), "4 - 8");
    EXPECT_EQ(bow.Range, 0);
    EXPECT_EQ(bow.Firing_FX, 0);
    fist.Set(65534, 65530, 1, 1);
    bow.Add(fist);
    EXPECT_EQ(bow.Text(), "65535 - 65535");
}

TEST_F(DamageTest, CopiesCarryTheEffectsAndStreamsDoNot) {
    TDamage damage;
    damage.Set(300, 65535, 200, 9);
    damage.Rolled_Amount = 7;
    damage.Spell_Amount = -5;
    damage.Effects.Add_Effect(13, 2, 6);

    TDamage copy(damage);
    EXPECT_EQ(copy.Text(), "300 - 65535");
    EXPECT_EQ(copy.Range, 200);
    EXPECT_EQ(copy.Firing_FX, 9);
    EXPECT_EQ(copy.Rolled_Amount, 7);
    EXPECT_EQ(copy.Spell_Amount, -5);
    ASSERT_EQ(copy.Effects.Get_Count(), 1);
    copy.Effects.Add_Effect(4, 1, 1);
    EXPECT_EQ(damage.Effects.Get_Count(), 1);

    TStream_Writer writer;
    damage.Save_To_Stream(writer);
    TStream_Writer expected; // the range goes out as a word
    Write_Word(expected, 300);
    Write_Word(expected, 65535);
    Write_Word(expected, 200);
    Write_Byte(expected, 9);
    EXPECT_EQ(writer.Bytes(), expected.Bytes());

    TDamage loaded;
    TStream_Reader reader(writer.Bytes());
    EXPECT_TRUE(loaded.Load_From_Stream(reader));
    EXPECT_TRUE(reader.At_End());
    EXPECT_EQ(loaded.Text(), "300 - 65535");
    EXPECT_EQ(loaded.Range, 200);
    EXPECT_EQ(loaded.Firing_FX, 9);
    EXPECT_EQ(loaded.Rolled_Amount, 0);
    EXPECT_EQ(loaded.Effects.Get_Count(), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Requirements

struct TFake_Creature : TCreature_Statistics {
    int32_t Level = 1000, Class_Index = 0, Strength = 1000, Dexterity = 1000, Intelligence = 1000,
            Constitution = 1000, Max_Mana = 1000, Max_Life = 1000;

    int32_t Current_Level() const override { return Level; }
    int32_t Current_Class_Index() const override { return Class_Index; }
    int32_t Current_Strength() const override { return Strength; }
    int32_t Current_Dexterity() const override { return Dexterity; }
    int32_t Current_Intelligence() const override { return Intelligence; }
    int32_t Current_Constitution() const override { return Constitution; }
    int32_t Current_Max_Mana() const override { return Max_Mana; }
    int32_t Current_Max_Life() const override { return Max_Life; }
};

void Add(TRequirements& r, uint8_t type, int32_t amount, uint8_t kind, uint16_t per_level) {
    r.Types.Add(type);
    r.Amounts.Add(amount);
    r.Per_Level_Kinds.Add(kind);
    r.Per_Level_Amounts.Add(per_level);
}

class RequirementsTest : public ::testing::Test {
protected:
    void TearDown() override { Set_Class_Name_Lookup(nullptr); }
};

TEST_F(RequirementsTest, ReadsRequirementsAndDropsTheBadOnes) {
    const std::string k = "Item Modifier Requirement ";
    TFake_Record record;
    record.Fields = {
        {"Item Modifier Number of Requirements", "5"},
        {k + "1 Type", "Strength Required"},
        {k + "1 Amount", "20"},
        {k + "1 Per Level Modifier Type", "Number"},
        {k + "1 Amt Per Level Modifier", "2"},
        {k + "2 Type", "strength required"}, // letter case counts; nothing more of it is read
        {k + "2 Amount", "5"},
        {k + "3 Type", "Mana Required"},
        {k + "3 Amount", "9"},
        {k + "3 Per Level Modifier Type", "Percentage"},
        {k + "3 Amt Per Level Modifier", "1"},
        // 4 has no type at all.
        {k + "5 Type", "Cannot Be Class"},
        {k + "5 Amount", "3"},
        {k + "5 Per Level Modifier Type", "Percent"},
    };
    TRequirements r;
    Add(r, Requirement_Level, 2, Amount_Number, 0); // reading appends
    r.Read_From_Data_File("Item Modifier ", record.Reader());

    ASSERT_EQ(r.Count(), 3);
    EXPECT_EQ(r.Per_Level_Amounts.Count(), 3);
    TRequirements expected;
    Add(expected, Requirement_Level, 2, Amount_Number, 0);
    Add(expected, Requirement_Strength, 20, Amount_Number, 2);
    Add(expected, Requirement_Not_Class, 3, Amount_Percent, 0);
    EXPECT_EQ(r.Types, expected.Types);
    EXPECT_EQ(r.Amounts, expected.Amounts);
    EXPECT_EQ(r.Per_Level_Kinds, expected.Per_Level_Kinds);
    EXPECT_EQ(r.Per_Level_Amounts, expected.Per_Level_Amounts);
    EXPECT_EQ(record.Errors, (std::vector<std::string>{
                                 "invalid Requirement Type = 'strength required'",
                                 "invalid " + k + "3 Per Level Modifier Type = 'Percentage'",
                                 "missing " + k + "4 Type",
                                 "invalid Requirement Type = ''",
                                 "missing " + k + "5 Amt Per Level Modifier",
                             }));

    TFake_Record no_count;
    r.Read_From_Data_File("", no_count.Reader());
    EXPECT_EQ(r.Count(), 3);
    EXPECT_EQ(no_count.Errors, std::vector<std::string>{"missing Number of Requirements"});
}

TEST_F(RequirementsTest, AmountGrowsWithTheLevel) {
    const int32_t top = std::numeric_limits<int32_t>::max();
    TRequirements r;
    Add(r, Requirement_Strength, 20, Amount_Number, 2);
    Add(r, Requirement_Strength, 20, Amount_Percent, 10);
    Add(r, Requirement_Strength, 20, 0, 10); // a kind this game does not know keeps the amount
    Add(r, Requirement_Strength, top, Amount_Number, 65535);
    Add(r, Requirement_Strength, top, Amount_Percent, 65535);
    Add(r, Requirement_Strength, 7, Amount_Percent, 50);
    struct Case {
        int32_t n, level, expected;
    };
    const Case cases[] = {
        {1, 1, 20},  {1, 10, 38},
        {2, 1, 20},  {2, 10, 38}, // Trunc(1.9 x 20): whole-number division would give 20
        {2, 11, 40}, {3, 10, 20},
        {4, 2, top}, {5, 65535, top}, // held at the 32-bit edge
        {6, 2, 10},  {6, 0, 3},       // Trunc(1.5 x 7), Trunc(0.5 x 7)
        {0, 10, 0},  {7, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(r.Amount_At_Level(c.n, c.level), c.expected) << "n " << c.n << " level " << c.level;
}

TEST_F(RequirementsTest, MetOnlyFromTheAmountAtTheLevel) {
    const std::pair<uint8_t, int32_t TFake_Creature::*> cases[] = {
        {Requirement_Level, &TFake_Creature::Level},
        {Requirement_Strength, &TFake_Creature::Strength},
        {Requirement_Dexterity, &TFake_Creature::Dexterity},
        {Requirement_Intelligence, &TFake_Creature::Intelligence},
        {Requirement_Constitution, &TFake_Creature::Constitution},
        {Requirement_Mana, &TFake_Creature::Max_Mana},
        {Requirement_Health, &TFake_Creature::Max_Life},
    };
    for (const auto& [type, stat] : cases) {
        SCOPED_TRACE(Requirement_Type_Name(type));
        TRequirements r;
        Add(r, type, 10, Amount_Number, 1); // 12 at level 3
        TFake_Creature creature;
        creature.*stat = 12;
        EXPECT_TRUE(r.Is_Met_By(&creature, 3));
        creature.*stat = 11;
        EXPECT_FALSE(r.Is_Met_By(&creature, 3));
        EXPECT_TRUE(r.Is_Met_By(&creature, 2));
        Add(r, Requirement_Level, 1, Amount_Number, 0); // every requirement must hold, not the last
        EXPECT_FALSE(r.Is_Met_By(&creature, 3));
        EXPECT_TRUE(r.Is_Met_By(nullptr, 3));
    }

    TRequirements need_class, bar_class;
    Add(need_class, Requirement_Class, 2, Amount_Number, 0);
    Add(bar_class, Requirement_Not_Class, 2, Amount_Number, 0);
    TFake_Creature creature;
    EXPECT_TRUE(TRequirements().Is_Met_By(&creature, 1));
    creature.Class_Index = 2;
    EXPECT_TRUE(need_class.Is_Met_By(&creature, 5));
    EXPECT_FALSE(bar_class.Is_Met_By(&creature, 5));
    creature.Class_Index = 1;
    EXPECT_FALSE(need_class.Is_Met_By(&creature, 5));
    EXPECT_TRUE(bar_class.Is_Met_By(&creature, 5));
}

TEST_F(RequirementsTest, TextsNameTheAmountOrTheClass) {
    Set_Class_Name_Lookup([](int32_t index) { return index == 3 ? std::string("Воин") : std::string(); });
    TRequirements r;
    for (uint8_t type = Requirement_Level; type <= Requirement_Not_Class; ++type)
        Add(r, type, type == Requirement_Class || type == Requirement_Not_Class ? 2 : 5, Amount_Number, 1);
    Add(r, Requirement_Class, 5, Amount_Number, 0);     // no such class
    Add(r, Requirement_Not_Class, 5, Amount_Number, 0); // no such class
    const std::vector<std::string> expected = {"Уровень6",   "Воин",           "Сила 6",
                                               "Ловкость 6", "Интеллект 6",    "Телосложение 6",
                                               "Мана 6",     "Жизнь 6",        "Недоступно для Воин",
                                               "",           "Недоступно для "};
    ASSERT_EQ(r.Count(), static_cast<int32_t>(expected.size()));
    for (int32_t n = 1; n <= r.Count(); ++n) EXPECT_EQ(r.Requirement_Text(n, 2), expected[n - 1]) << n;
    EXPECT_EQ(r.Requirement_Text(0, 2), "");
    EXPECT_EQ(r.Requirement_Text(r.Count() + 1, 2), "");

    // Before the class table exists.
    Set_Class_Name_Lookup(nullptr);
    EXPECT_EQ(r.Requirement_Text(2, 2), "");
    EXPECT_EQ(r.Requirement_Text(9, 2), "Недоступно для ");
}

TEST_F(RequirementsTest, StreamRoundTripAndUnequalLists) {
    TRequirements r;
    Add(r, Requirement_Strength, 20, Amount_Number, 2);
    Add(r, Requirement_Mana, -4, Amount_Percent, 65535);
    TStream_Writer writer;
    r.Save_To_Stream(writer);
    TRequirements loaded;
    Add(loaded, Requirement_Level, 1, Amount_Number, 1);
    TStream_Reader reader(writer.Bytes());
    EXPECT_TRUE(loaded.Load_From_Stream(reader));
    EXPECT_TRUE(reader.At_End());
    EXPECT_EQ(loaded.Types, r.Types);
    EXPECT_EQ(loaded.Amounts, r.Amounts);
    EXPECT_EQ(loaded.Per_Level_Kinds, r.Per_Level_Kinds);
    EXPECT_EQ(loaded.Per_Level_Amounts, r.Per_Level_Amounts);

    for (int short_list = 0; short_list < 4; ++short_list) {
        SCOPED_TRACE(short_list);
        TRequirements bad;
        Add(bad, Requirement_Level, 1, Amount_Number, 1);
        Add(bad, Requirement_Level, 1, Amount_Number, 1);
        if (short_list == 0) bad.Types.Delete(1);
        if (short_list == 1) bad.Amounts.Delete(1);
        if (short_list == 2) bad.Per_Level_Kinds.Delete(1);
        if (short_list == 3) bad.Per_Level_Amounts.Delete(1);
        TStream_Writer bad_writer;
        bad.Save_To_Stream(bad_writer);
        TStream_Reader bad_reader(bad_writer.Bytes());
        EXPECT_THROW(loaded.Load_From_Stream(bad_reader), EStream_Read_Error);
        EXPECT_EQ(loaded.Amounts, r.Amounts);
        EXPECT_EQ(loaded.Per_Level_Amounts, r.Per_Level_Amounts);
    }
}

TEST_F(RequirementsTest, AssignAndAppend) {
    TRequirements item, modifier, copy;
    Add(item, Requirement_Level, 3, Amount_Number, 1);
    Add(modifier, Requirement_Strength, 20, Amount_Percent, 10);
    copy.Assign(item);
    copy.Append(modifier);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(item.Count(), 1);
    EXPECT_EQ(copy.Amount_At_Level(2, 10), 38);

    copy.Append(copy); // doubles, and stops
    ASSERT_EQ(copy.Count(), 4);
    EXPECT_EQ(copy.Types.Get(4), Requirement_Strength);
    EXPECT_EQ(copy.Per_Level_Amounts.Get(4), 10);
    copy.Assign(copy);
    EXPECT_EQ(copy.Per_Level_Kinds.Count(), 4);
}

// ---------------------------------------------------------------------------------------------------------
// Attributes

TEST(AttributesListTest, HolesSurviveStreamsAndCopies) {
    const TAttribute first{1, -70000, true, 200, 65535, 3};
    const TAttribute third{9, 42, false, 0, 0, 65000};
    TAttributes_List list;
    list.Add(&first);
    list.Add(nullptr);
    list.Add_Copy(&third);

    // The bytes of a list with a hole are pinned by the record layout tests; here the hole survives.
    TStream_Writer writer;
    list.Save_To_Stream(writer);

    TAttributes_List loaded;
    loaded.Add(&third);
    TStream_Reader reader(writer.Bytes());
    EXPECT_TRUE(loaded.Load_From_Stream(reader));
    EXPECT_TRUE(reader.At_End());
    ASSERT_EQ(loaded.Count(), 3);
    ASSERT_NE(loaded.Attribute(1), nullptr);
    EXPECT_EQ(*loaded.Attribute(1), first);
    EXPECT_EQ(loaded.Attribute(2), nullptr);
    ASSERT_NE(loaded.Attribute(3), nullptr);
    EXPECT_EQ(*loaded.Attribute(3), third);
    EXPECT_EQ(loaded.Attribute(0), nullptr);
    EXPECT_EQ(loaded.Attribute(4), nullptr);

    TAttributes_List copy(loaded);
    copy.Assign(copy);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Attribute(2), nullptr);
    copy.Attribute(1)->Long_Value = 99;
    EXPECT_EQ(loaded.Attribute(1)->Long_Value, -70000);

    // A stream cut inside the second position leaves the list as it was.
    TStream_Writer cut;
    Write_Word(cut, 2);
    Write_Boolean(cut, false);
    Write_Boolean(cut, true);
    Write_Word(cut, 1);
    TStream_Reader cut_reader(cut.Bytes());
    EXPECT_THROW(copy.Load_From_Stream(cut_reader), EStream_Read_Error);
    EXPECT_EQ(copy.Count(), 3);
}

} // namespace
