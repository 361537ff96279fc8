#include "core/Effects.h"
#include "core/GlobalFuncs.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const char* const Header = "Effects of a test record\r\n*BEGIN*\r\n\r\n\r\n";

// Runs one record of a literal data file through a real loader and reads an effect list from it, the way
// item, spell and monster loaders do.
class TEffect_Record_Loader : public TData_File_Loader {
public:
    TEffect_Record_Loader(const std::string& file_name, TEffect_List& list, std::string prefix)
        : TData_File_Loader(file_name), List_(list), Prefix_(std::move(prefix)) {}

protected:
    void Process_Record(int32_t) override {
        Set_Record_Name("Test Record");
        List_.Read_From_Data_File(Prefix_, Field_Reader());
    }

private:
    TEffect_List& List_;
    std::string Prefix_;
};

class EffectsTest : public ::testing::Test {
protected:
    // Loads the record's lines into the list; returns the loader's error lines.
    TString_List Load(TEffect_List& list, const std::string& lines, const std::string& prefix = "") {
        const std::string path = Folder.Write("Data/Record.txt", Header + lines + "*END*\r\n");
        TEffect_Record_Loader loader(path, list, prefix);
        loader.Execute_Load();
        return loader.Get_Error_List();
    }

    static void Expect_Entry(const TEffect_List& list, int32_t n, uint8_t type, int32_t min, int32_t max,
                             int32_t variance) {
        SCOPED_TRACE("entry " + std::to_string(n));
        EXPECT_EQ(list.Get_Effect_Type(n), type);
        EXPECT_EQ(list.Get_Min_Amount(n), min);
        EXPECT_EQ(list.Get_Max_Amount(n), max);
        EXPECT_EQ(list.Get_Damage_Variance(n), variance);
    }

    TTemp_Folder Folder;
};

TEST_F(EffectsTest, ReadsPrefixedEffectsAndAppends) {
    TEffect_List list;
    list.Add_Effect(17, 9, 9);
    const TString_List errors = Load(list,
                                     "Natural Attack 2 Number of Effects := 2\r\n"
                                     "Natural Attack 2 Effect 1 Type := Fire Damage\r\n"
                                     "natural attack 2 effect 1 min amount := 3\r\n"
                                     "Natural Attack 2 Effect 1 Max Amount := 5\r\n"
                                     "Natural Attack 2 Effect 1 Damage Variance := 2\r\n"
                                     "Natural Attack 2 Effect 2 Type := Strength\r\n"
                                     "Natural Attack 2 Effect 2 Min Amount := 4\r\n"
                                     "Natural Attack 2 Effect 2 Max Amount := 6\r\n",
                                     "Natural Attack 2 ");
    EXPECT_TRUE(errors.empty()) << errors.front();
    ASSERT_EQ(list.Get_Count(), 3);
    Expect_Entry(list, 1, 17, 9, 9, 0); // what the list held before stays first
    Expect_Entry(list, 2, Effect_Fire_Damage, 3, 5, 2);
    Expect_Entry(list, 3, 49, 4, 6, 0);
}

TEST_F(EffectsTest, RejectedTypesAndMissingKeys) {
    struct TCase {
        const char* name;
        std::string lines;
        TString_List errors;
        int32_t count;                                  // entries after the load (the list starts with one)
        std::function<void(const TEffect_List&)> check; // on the appended entries
    };
    const std::string missing = "Не удалось найти поле ";
    const TCase cases[] = {
        {"a known name in other letter case is rejected and the next effect is still read",
         "Number of Effects := 2\r\nEffect 1 Type := fire damage\r\nEffect 1 Min Amount := 1\r\n"
         "Effect 1 Max Amount := 2\r\nEffect 2 Type := Cold Damage\r\nEffect 2 Min Amount := 2\r\n"
         "Effect 2 Max Amount := 6\r\n",
         {"Недопустимое \"fire damage\" для Effect 1 Type в записи \"Test Record\"."},
         2,
         [](const TEffect_List& l) { Expect_Entry(l, 2, Effect_Cold_Damage, 2, 6, 0); }},
        {"a missing count is reported and changes nothing",
         "Effect 1 Type := Fire Damage\r\n",
         {missing + "\"Number of Effects\" в записи \"Test Record\"."},
         1,
         nullptr},
        {"a count of 0 changes nothing",
         "Number of Effects := 0\r\nEffect 1 Type := Fire Damage\r\n",
         {},
         1,
         nullptr},
        {"a missing min amount appends 0 so the lists stay equal",
         "Number of Effects := 1\r\nEffect 1 Type := Mana\r\nEffect 1 Max Amount := 7\r\n",
         {missing + "\"Effect 1 Min Amount\" в записи \"Test Record\"."},
         2,
         [](const TEffect_List& l) { Expect_Entry(l, 2, 27, 0, 7, 0); }},
        {"a missing max amount appends 0",
         "Number of Effects := 1\r\nEffect 1 Type := Mana\r\nEffect 1 Min Amount := 7\r\n",
         {missing + "\"Effect 1 Max Amount\" в записи \"Test Record\"."},
         2,
         [](const TEffect_List& l) { Expect_Entry(l, 2, 27, 7, 0, 0); }},
        {"a missing type is reported as missing and as invalid",
         "Number of Effects := 1\r\nEffect 1 Min Amount := 7\r\nEffect 1 Max Amount := 7\r\n",
         {missing + "\"Effect 1 Type\" в записи \"Test Record\".",
          "Недопустимое \"\" для Effect 1 Type в записи \"Test Record\"."},
         1,
         nullptr},
        {"unusable amounts read as 0",
         "Number of Effects := 1\r\nEffect 1 Type := Poison Damage\r\nEffect 1 Min Amount := -3\r\n"
         "Effect 1 Max Amount := 70000\r\nEffect 1 Damage Variance := x\r\n",
         {},
         2,
         [](const TEffect_List& l) { Expect_Entry(l, 2, Effect_Poison_Damage, 0, 0, 0); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TEffect_List list;
        list.Add_Effect(6, 1, 1);
        EXPECT_EQ(Load(list, c.lines), c.errors);
        ASSERT_EQ(list.Get_Count(), c.count);
        Expect_Entry(list, 1, 6, 1, 1, 0);
        if (c.check) c.check(list);
    }
}

TEST_F(EffectsTest, DamageRollsWithVariance) {
    TEffect_List list;
    ASSERT_TRUE(Load(list, "Number of Effects := 3\r\n"
                           "Effect 1 Type := Fire Damage\r\nEffect 1 Min Amount := 3\r\n"
                           "Effect 1 Max Amount := 5\r\nEffect 1 Damage Variance := 2\r\n"
                           "Effect 2 Type := Lightning Damage\r\nEffect 2 Min Amount := 1\r\n"
                           "Effect 2 Max Amount := 2\r\nEffect 2 Damage Variance := 4\r\n"
                           "Effect 3 Type := Fire Damage\r\nEffect 3 Min Amount := 3\r\n"
                           "Effect 3 Max Amount := 5\r\n")
                    .empty());
    Seed_Random(1234);
    bool first_values[6] = {};
    for (int i = 0; i < 2000; ++i) {
        const TRolled_Amount fire = list.Roll_Amount(1);
        ASSERT_GE(fire.First, 1);
        ASSERT_LE(fire.First, 5);
        ASSERT_GE(fire.Second, 3);
        ASSERT_LE(fire.Second, 7);
        ASSERT_GE(fire.Second, fire.First);
        first_values[fire.First] = true;
        // 1 - 4 may fall to -3: the first value is raised to 1, the second never below it.
        const TRolled_Amount low = list.Roll_Amount(2);
        ASSERT_GE(low.First, 1);
        ASSERT_LE(low.First, 5);
        ASSERT_GE(low.Second, low.First);
        ASSERT_LE(low.Second, 6);
        const TRolled_Amount plain = list.Roll_Amount(3);
        ASSERT_EQ(plain.First, 3);
        ASSERT_EQ(plain.Second, 5);
    }
    for (int v = 1; v <= 5; ++v) EXPECT_TRUE(first_values[v]) << v << " never rolled";
}

TEST_F(EffectsTest, EveryRollDrawsTheAmountFirst) {
    // The amount is drawn even for damage, so the draws after a roll are those after one Random_Range.
    TEffect_List list;
    list.Add_Effect(Effect_Fire_Damage, 3, 50);
    list.Add_Effect(16, 10, 20); // Intelligence
    for (int32_t n : {1, 2}) {
        SCOPED_TRACE(n);
        Seed_Random(77);
        const TRolled_Amount rolled = list.Roll_Amount(n);
        const int32_t next = Random_Range(1, 1000000);
        Seed_Random(77);
        const int32_t amount = Random_Range(list.Get_Min_Amount(n), list.Get_Max_Amount(n));
        EXPECT_EQ(Random_Range(1, 1000000), next);
        if (n == 1) {
            EXPECT_EQ(rolled.First, 3);
            EXPECT_EQ(rolled.Second, 50);
        } else {
            EXPECT_EQ(rolled.First, amount);
            EXPECT_EQ(rolled.Second, 0);
        }
    }
    // A min above the max is not checked: the draw gives the min.
    list.Add_Effect(16, 9, 4);
    EXPECT_EQ(list.Roll_Amount(3).First, 9);
}

TEST_F(EffectsTest, StreamRoundTripResetsVariances) {
    TEffect_List list;
    ASSERT_TRUE(Load(list, "Number of Effects := 2\r\n"
                           "Effect 1 Type := Cold Damage\r\nEffect 1 Min Amount := 2\r\n"
                           "Effect 1 Max Amount := 9\r\nEffect 1 Damage Variance := 3\r\n"
                           "Effect 2 Type := Reduce Damage\r\nEffect 2 Min Amount := 15\r\n"
                           "Effect 2 Max Amount := 15\r\n")
                    .empty());
    list.Add_Effect(200, -7, 2147483647); // whatever a save holds comes back as it was
    TStream_Writer w;
    list.Write(w);
    TStream_Reader r(w.Bytes());
    TEffect_List loaded;
    loaded.Add_Effect(1, 1, 1); // replaced, not appended to
    loaded.Read(r);
    EXPECT_TRUE(r.At_End());
    ASSERT_EQ(loaded.Get_Count(), 3);
    Expect_Entry(loaded, 1, Effect_Cold_Damage, 2, 9, 0);
    Expect_Entry(loaded, 2, 77, 15, 15, 0);
    Expect_Entry(loaded, 3, 200, -7, 2147483647, 0);
    const TRolled_Amount cold = loaded.Roll_Amount(1);
    EXPECT_EQ(cold.First, 2);
    EXPECT_EQ(cold.Second, 9);
}

TEST_F(EffectsTest, ReadRejectsUnequalLists) {
    struct TCase {
        int types, mins, maxes;
    };
    for (const TCase c : {TCase{2, 1, 2}, TCase{2, 2, 3}, TCase{0, 1, 1}}) {
        SCOPED_TRACE(std::to_string(c.types) + "/" + std::to_string(c.mins) + "/" + std::to_string(c.maxes));
        TbyteList types;
        TLongintList mins, maxes;
        for (int i = 0; i < c.types; ++i) types.Add(13);
        for (int i = 0; i < c.mins; ++i) mins.Add(1);
        for (int i = 0; i < c.maxes; ++i) maxes.Add(2);
        TStream_Writer w;
        Write_Byte_List(w, types);
        Write_Longint_List(w, mins);
        Write_Longint_List(w, maxes);
        TStream_Reader r(w.Bytes());
        TEffect_List list;
        list.Add_Effect(6, 4, 4);
        EXPECT_THROW(list.Read(r), EStream_Read_Error);
        ASSERT_EQ(list.Get_Count(), 1); // left as it was
        Expect_Entry(list, 1, 6, 4, 4, 0);
    }
}

TEST_F(EffectsTest, AssignAndAppendWorkWithTheListItself) {
    TEffect_List list;
    ASSERT_TRUE(Load(list, "Number of Effects := 2\r\n"
                           "Effect 1 Type := Magic Damage\r\nEffect 1 Min Amount := 1\r\n"
                           "Effect 1 Max Amount := 4\r\nEffect 1 Damage Variance := 2\r\n"
                           "Effect 2 Type := Life\r\nEffect 2 Min Amount := 5\r\n"
                           "Effect 2 Max Amount := 5\r\n")
                    .empty());
    list.Assign(list);
    ASSERT_EQ(list.Get_Count(), 2);

    TEffect_List copy;
    copy.Add_Effect(1, 1, 1);
    copy.Assign(list);
    ASSERT_EQ(copy.Get_Count(), 2);
    Expect_Entry(copy, 1, Effect_Magic_Damage, 1, 4, 2); // variances are copied

    copy.Append(copy);
    ASSERT_EQ(copy.Get_Count(), 4);
    Expect_Entry(copy, 3, Effect_Magic_Damage, 1, 4, 2);
    Expect_Entry(copy, 4, 17, 5, 5, 0);

    list.Append_To(list);
    ASSERT_EQ(list.Get_Count(), 4);
    Expect_Entry(list, 4, 17, 5, 5, 0);

    TEffect_List target;
    target.Add_Effect(2, 8, 8);
    list.Append_To(target);
    ASSERT_EQ(target.Get_Count(), 5);
    Expect_Entry(target, 1, 2, 8, 8, 0);
    Expect_Entry(target, 2, Effect_Magic_Damage, 1, 4, 2);

    target.Clear();
    EXPECT_EQ(target.Get_Count(), 0);
    EXPECT_FALSE(target.Has_Effect(2));
}

TEST_F(EffectsTest, PositionsAreChecked) {
    TEffect_List list;
    list.Add_Effect(13, 1, 2);
    list.Add_Effect(4, 3, 4);
    list.Add_Effect(27, 5, 6);
    list.Delete_Effect(2);
    ASSERT_EQ(list.Get_Count(), 2);
    Expect_Entry(list, 2, 27, 5, 6, 0);
    EXPECT_FALSE(list.Has_Effect(4));

    // 65537 would wrap to position 1 of the byte list of types.
    for (int32_t n : {0, -1, 3, 65537}) {
        SCOPED_TRACE(n);
        EXPECT_THROW(list.Get_Effect_Type(n), EListError);
        EXPECT_THROW(list.Get_Min_Amount(n), EListError);
        EXPECT_THROW(list.Get_Max_Amount(n), EListError);
        EXPECT_THROW(list.Roll_Amount(n), EListError);
        EXPECT_THROW(list.Get_Description(n, true), EListError);
        EXPECT_THROW(list.Delete_Effect(n), EListError);
        list.Set_Amounts(n, 99, 99); // ignored
    }
    ASSERT_EQ(list.Get_Count(), 2);
    Expect_Entry(list, 1, 13, 1, 2, 0);
    Expect_Entry(list, 2, 27, 5, 6, 0);
    list.Set_Amounts(2, 7, 8);
    Expect_Entry(list, 2, 27, 7, 8, 0);
}

TEST(EffectSummaries, StrongestDamageAndTotals) {
    struct TEntry {
        uint8_t type;
        int32_t min, max;
    };
    struct TCase {
        const char* name;
        std::vector<TEntry> entries;
        uint8_t strongest;
        int32_t max_damage;
    };
    const TCase cases[] = {
        {"a tie goes to the earliest", {{13, 2, 8}, {4, 1, 8}}, 13, 8},
        {"dispel undead is strongest but not damage", {{67, 1, 20}, {13, 1, 10}}, 67, 10},
        {"a later larger max replaces", {{42, 1, 3}, {22, 1, 9}, {24, 1, 9}}, 22, 9},
        {"non-damage types are ignored", {{7, 50, 50}, {31, 60, 60}, {4, 1, 2}}, 4, 2},
        {"no max above 0", {{13, 0, 0}, {67, 0, 0}}, 0, 0},
        {"empty", {}, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TEffect_List list;
        for (const TEntry& e : c.entries) list.Add_Effect(e.type, e.min, e.max);
        EXPECT_EQ(list.Strongest_Damage_Type(), c.strongest);
        EXPECT_EQ(list.Max_Damage_Amount(), c.max_damage);
    }

    TEffect_List list;
    for (uint8_t type = 33; type <= 38; ++type) {
        list.Add_Effect(type, type, 1000);      // min counts, max does not
        list.Add_Effect(type, type * 10, 1000); // every entry of the type counts
    }
    list.Add_Effect(39, 5, 5);
    EXPECT_EQ(list.Monster_Increase_Health_Total(), 33 * 11);
    EXPECT_EQ(list.Monster_Increase_Attack_Ability_Total(), 34 * 11);
    EXPECT_EQ(list.Monster_Increase_Defense_Ability_Total(), 35 * 11);
    EXPECT_EQ(list.Monster_Increase_Min_Damage_Total(), 36 * 11);
    EXPECT_EQ(list.Monster_Increase_Max_Damage_Total(), 37 * 11);
    EXPECT_EQ(list.Monster_Increase_Move_Speed_Total(), 38 * 11);
    EXPECT_EQ(list.Total_Amount(40), 0);
    list.Add_Effect(40, 2147483647, 0);
    list.Add_Effect(40, 5, 0);
    EXPECT_EQ(list.Total_Amount(40), 2147483647); // clamped, not wrapped
}

TEST(EffectDescriptions, TextsByType) {
    struct TCase {
        int32_t type, min, max;
        bool plus;
        std::string text;
    };
    const TCase cases[] = {
        {4, 2, 6, true, "+ 2-6 урон Холодом"},
        {4, 2, 6, false, " 2-6 урон Холодом"},
        {13, 1, 3, true, "+ 1-3 урон Огнём "},
        {19, 5, 99, true, "Регенерация жизни +5%"},
        {19, 5, 99, false, "Регенерация жизни +5%"},
        {2, 5, 9, true, "+5 Атака            "},
        {18, -4, 0, false, "-4 жизни            "},
        {8, 10, 20, true, "10% принятого урона создаёт ману"},
        {29, 3, 3, true, "+3 To Current Mana"},
        {50, 1, 1, true, "Использование оружия в каждой руке     "},
        {60, 7, 7, false, "+7 насыщения"},
        {77, 12, 12, true, "-12% урона "},
        {40, 1, 2, true, ""},
        {0, 1, 2, true, ""},
        {78, 1, 2, true, ""},
        {255, 1, 2, true, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(Effect_Description(c.type, c.min, c.max, c.plus), c.text);
    }

    TEffect_List list;
    list.Add_Effect(22, 4, 11);
    EXPECT_EQ(list.Get_Description(1, true), "+ 4-11 урон Молнией    ");
}

} // namespace
