#include "core/MonsterList.h"

#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// A stand-in for the creature model: an id, a name, a number that changes in play, and the natural
// attacks its record carries. A creature named "corrupt" reads back as unusable.
struct TStub_Creature {
    uint16_t Id = 0;
    std::string Name;
    int32_t Life = 0;
    TNatural_Attacks Natural_Attacks;

    void Assign(const TStub_Creature& other) {
        Id = other.Id;
        Name = other.Name;
        Life = other.Life;
        Natural_Attacks.Assign(other.Natural_Attacks);
    }
    void Save_To_Stream(TStream_Writer& w) const {
        Write_Word(w, Id);
        Write_String(w, Name);
        Write_Longint(w, Life);
        Natural_Attacks.Write(w);
    }
    bool Load_From_Stream(TStream_Reader& r) {
        Id = Read_Word(r);
        Name = Read_String(r);
        Life = Read_Longint(r);
        Natural_Attacks.Read(r);
        return Name != "corrupt";
    }
};

// The class the list stores, as the map's list stores a class derived from the creature model.
struct TStub_Stored_Creature : TStub_Creature {
    bool Released = false;
    void Mark_Released() { Released = true; }
};

using TStub_List = TMonster_List_Of<TStub_Creature, TStub_Stored_Creature>;

TStub_Creature Creature(const std::string& name, int32_t life = 10) {
    TStub_Creature creature;
    creature.Id = 999; // whatever the caller's object says, the list's copy gets its slot
    creature.Name = name;
    creature.Life = life;
    creature.Natural_Attacks.Add_Attack("Bite", 50, 2, 1, 4, 1, 0);
    return creature;
}

void Fill(TStub_List& list, const std::vector<std::string>& names) {
    for (const auto& name : names) ASSERT_NE(list.Put_Monster(Creature(name), 0), nullptr);
}

// Names slot by slot, "-" for an empty slot; a creature whose Id is not its slot is marked.
std::string Layout(const TStub_List& list) {
    std::string out;
    for (int slot = 1; slot <= list.Get_Count(); ++slot) {
        const TStub_Creature* creature = list.Get_Monster(slot);
        if (!out.empty()) out += ",";
        if (!creature) {
            out += "-";
            continue;
        }
        out += creature->Name;
        if (creature->Id != slot) out += "(id " + std::to_string(creature->Id) + ")";
    }
    return out;
}

TEST(MonsterListTest, RemovedSlotIsReusedWithItsIdAndHolesGiveNothing) {
    TStub_List list;
    Fill(list, {"rat", "bat", "cat"});
    list.Remove_Monster(2);
    EXPECT_EQ(Layout(list), "rat,-,cat");

    const TStub_Creature source = Creature("owl");
    TStub_Creature* added = list.Add_Monster(source);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added, list.Get_Monster(2));
    EXPECT_EQ(added->Id, 2);
    EXPECT_NE(added, &source); // the list keeps a copy; the caller's object is untouched
    EXPECT_EQ(source.Id, 999);
    EXPECT_EQ(Layout(list), "rat,owl,cat");

    EXPECT_EQ(list.Add_Monster(Creature("elk"))->Id, 4);
    EXPECT_EQ(list.Put_Monster(Creature("emu"), 6), nullptr); // no slot 6
    EXPECT_EQ(Layout(list), "rat,owl,cat,elk");

    list.Remove_Monster_Id(2);
    for (std::size_t id : {std::size_t{0}, std::size_t{2}, std::size_t{5}, std::size_t{65535}}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(list.Get_Monster(id), nullptr);
    }
}

TEST(MonsterListTest, RemovedCreatureStaysReadableUntilTheRelease) {
    TStub_List list;
    Fill(list, {"rat", "bat", "cat"});
    TStub_Creature* bat = list.Get_Monster(2);
    TStub_Creature* cat = list.Get_Monster(3);
    TStub_Creature* rat = list.Get_Monster(1);

    list.Remove_Monster(2);
    list.Remove_Monster_Id(3);
    const TStub_Creature* hawk = list.Put_Monster(Creature("hawk"), 1); // over the rat
    list.Remove_Monster(2); // already empty: nothing more released
    list.Remove_Monster(7); // beyond the count: nothing

    EXPECT_EQ(Layout(list), "hawk,-,-");
    EXPECT_EQ(list.Released_Count(), 3);
    for (TStub_Creature* gone : {bat, cat, rat}) {
        EXPECT_TRUE(list.Is_Released(gone));
        EXPECT_EQ(gone->Life, 10); // still readable: a creature that dies mid-update finishes its update
        EXPECT_EQ(gone->Natural_Attacks.Get_Name(1), "Bite");
    }
    EXPECT_EQ(bat->Name, "bat");
    EXPECT_EQ(cat->Id, 3);
    EXPECT_FALSE(list.Is_Released(hawk));
#ifdef MURK_DEBUG_CHECKS
    EXPECT_TRUE(static_cast<TStub_Stored_Creature*>(bat)->Released);
    EXPECT_FALSE(static_cast<const TStub_Stored_Creature*>(hawk)->Released);
#endif

    list.Free_Released();
    EXPECT_EQ(list.Released_Count(), 0);
    EXPECT_EQ(Layout(list), "hawk,-,-");

    // Clearing frees the slots at once but leaves creatures released earlier in the tick alone.
    list.Remove_Monster(1);
    list.Clear();
    EXPECT_EQ(list.Get_Count(), 0);
    EXPECT_EQ(list.Released_Count(), 1);
}

#ifdef MURK_DEBUG_CHECKS
TEST(MonsterListDeathTest, ChangingAReleasedCreatureIsCaughtAtTheRelease) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            TStub_List list;
            Fill(list, {"rat"});
            TStub_Creature* rat = list.Get_Monster(1);
            list.Remove_Monster(1);
            rat->Life = 0; // a stale pointer used after the creature left the map
            list.Free_Released();
        },
        "released creature 1 was changed");
}
#endif

TEST(MonsterListTest, RoundTripKeepsHolesAndAnUnreadableRecordKeepsItsSlot) {
    TStub_List list;
    list.Set_Name("Level 3");
    Fill(list, {"rat", "corrupt", "bat", "cat", "owl"});
    list.Get_Monster(3)->Natural_Attacks.Get_Effects(1)->Add_Effect(13, 2, 5);
    list.Remove_Monster(4);
    list.Free_Released();

    TStream_Writer w;
    list.Write(w);
    TStream_Reader r(w.Bytes());
    TStub_List read;
    Fill(read, {"old"});
    EXPECT_FALSE(read.Read(r)); // the corrupt creature's read reported failure
    EXPECT_TRUE(r.At_End());

    EXPECT_EQ(read.Name(), "Level 3");
    EXPECT_EQ(Layout(read), "rat,-,bat,-,owl"); // the owl keeps id 5, which its square holds
    ASSERT_NE(read.Get_Monster(3), nullptr);
    const TEffect_List* effects = read.Get_Monster(3)->Natural_Attacks.Get_Effects(1);
    ASSERT_NE(effects, nullptr);
    ASSERT_EQ(effects->Get_Count(), 1);
    EXPECT_EQ(effects->Get_Max_Amount(1), 5);
    EXPECT_EQ(read.Released_Count(), 0); // reading is not a removal during a tick
}

TEST(MonsterListTest, AssignIsDeepAndKeepsEmptySlots) {
    TStub_List source;
    source.Set_Name("generated");
    Fill(source, {"rat", "bat", "cat"});
    source.Remove_Monster(2);

    TStub_List copy;
    Fill(copy, {"x", "y", "z", "w"});
    copy.Assign(source);
    EXPECT_EQ(copy.Name(), "generated");
    EXPECT_EQ(Layout(copy), "rat,-,cat");

    source.Get_Monster(1)->Life = 1;
    source.Get_Monster(1)->Natural_Attacks.Get_Damage(1)->Set_Max(40);
    source.Get_Monster(1)->Natural_Attacks.Add_Attack("Claw", 10, 0, 2, 3, 1, 0);
    const TStub_Creature* rat = copy.Get_Monster(1);
    EXPECT_EQ(rat->Life, 10);
    EXPECT_EQ(rat->Natural_Attacks.Get_Count(), 1);
    EXPECT_EQ(rat->Natural_Attacks.Get_Damage(1)->Max, 4);

    copy.Assign(copy);
    EXPECT_EQ(copy.Get_Monster(1), rat);
    EXPECT_EQ(Layout(copy), "rat,-,cat");
}

// ---------------------------------------------------------------------------------------------------------
// Natural attacks

// Every key of attack n under the prefix: damage n..n*10, one fire effect of amount n.
void Add_Attack_Keys(TFake_Record& record, const std::string& prefix, int n, const std::string& name) {
    const std::string stem = prefix + "Natural Attack " + std::to_string(n);
    record.Fields[stem + " Name"] = name;
    record.Fields[stem + " Chance To Use"] = std::to_string(10 * n);
    record.Fields[stem + " Recharge Time"] = std::to_string(100 * n);
    record.Fields[stem + " Damage Amount Min"] = std::to_string(n);
    record.Fields[stem + " Damage Amount Max"] = std::to_string(10 * n);
    record.Fields[stem + " Damage Maximum Range"] = "1";
    record.Fields[stem + " Damage Firing FX"] = "None";
    record.Fields[stem + " Number of Effects"] = "1";
    record.Fields[stem + " Effect 1 Type"] = "Fire Damage";
    record.Fields[stem + " Effect 1 Min Amount"] = std::to_string(n);
    record.Fields[stem + " Effect 1 Max Amount"] = std::to_string(n);
}

// "name chance/recharge min-max effect-min" per attack, ";"-separated.
std::string Describe(const TNatural_Attacks& attacks) {
    std::string out;
    for (int32_t n = 1; n <= attacks.Get_Count(); ++n) {
        if (!out.empty()) out += ";";
        const TDamage* damage = attacks.Get_Damage(n);
        const TEffect_List* effects = attacks.Get_Effects(n);
        out += attacks.Get_Name(n) + " " + std::to_string(attacks.Get_Chance(n)) + "/" +
               std::to_string(attacks.Get_Recharge_Time(n)) + " " + std::to_string(damage->Min) + "-" +
               std::to_string(damage->Max) + " fx" + std::to_string(damage->Firing_FX) + " e" +
               (effects->Get_Count() > 0 ? std::to_string(effects->Get_Min_Amount(1)) : "none");
    }
    return out;
}

TEST(NaturalAttacksTest, DataFileKeysCarryThePrefixAndTheAttackNumber) {
    for (const std::string prefix : {"", "Boss "}) {
        SCOPED_TRACE("prefix '" + prefix + "'");
        TFake_Record record;
        record.Fields[prefix + "Number of Natural Attacks"] = "2";
        Add_Attack_Keys(record, prefix, 1, "Bite");
        Add_Attack_Keys(record, prefix, 2, "Claw");
        // The unprefixed keys of another attack must not be picked up under a prefix.
        if (!prefix.empty()) record.Fields["Natural Attack 2 Damage Amount Min"] = "99";

        TNatural_Attacks attacks;
        attacks.Read_From_Data_File(prefix, record.Reader());
        EXPECT_EQ(record.Errors, std::vector<std::string>{});
        EXPECT_EQ(Describe(attacks), "Bite 10/100 1-10 fx0 e1;Claw 20/200 2-20 fx0 e2");
    }
}

TEST(NaturalAttacksTest, MissingKeysKeepTheAttacksWhole) {
    const struct {
        const char* what;
        std::vector<std::string> removed; // keys of attack 2 (after "Natural Attack 2") taken out
        const char* attacks;
        std::vector<std::string> errors;
    } cases[] = {
        {"no chance",
         {" Chance To Use"},
         "A 10/100 1-10 fx0 e1;B 0/200 2-20 fx0 e2;C 30/300 3-30 fx0 e3",
         {"missing Natural Attack 2 Chance To Use"}},
        {"no recharge",
         {" Recharge Time"},
         "A 10/100 1-10 fx0 e1;B 20/0 2-20 fx0 e2;C 30/300 3-30 fx0 e3",
         {"missing Natural Attack 2 Recharge Time"}},
        // Without a name nothing of attack 2 is read; attack 3 still reads its own numbered keys.
        {"no name",
         {" Name"},
         "A 10/100 1-10 fx0 e1;C 30/300 3-30 fx0 e3",
         {"missing Natural Attack 2 Name"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TFake_Record record;
        record.Fields["Number of Natural Attacks"] = "3";
        Add_Attack_Keys(record, "", 1, "A");
        Add_Attack_Keys(record, "", 2, "B");
        Add_Attack_Keys(record, "", 3, "C");
        for (const auto& key : c.removed) record.Fields.erase("Natural Attack 2" + key);

        TNatural_Attacks attacks;
        attacks.Read_From_Data_File("", record.Reader());
        EXPECT_EQ(record.Errors, c.errors);
        EXPECT_EQ(Describe(attacks), c.attacks);

        // The creature carrying them can still be saved, and the attacks come back the same.
        TStream_Writer w;
        ASSERT_NO_THROW(attacks.Write(w));
        TStream_Reader r(w.Bytes());
        TNatural_Attacks read;
        EXPECT_TRUE(read.Read(r));
        EXPECT_EQ(Describe(read), c.attacks);
    }
}

TEST(NaturalAttacksTest, MissingCountMeansNoAttacksAndIsNotAnError) {
    TFake_Record record;
    Add_Attack_Keys(record, "", 1, "Bite");
    TNatural_Attacks attacks;
    attacks.Read_From_Data_File("", record.Reader());
    EXPECT_EQ(attacks.Get_Count(), 0);
    EXPECT_TRUE(record.Errors.empty());
}

TEST(NaturalAttacksTest, RoundTripAssignAndOutOfRangeLookups) {
    TNatural_Attacks attacks;
    attacks.Add_Attack("Hands", 100, 0, 1, 4, 1, 0);
    attacks.Add_Attack("Огненное дыхание", 25, 3000, 5, 12, 4, 2);
    attacks.Get_Effects(2)->Add_Effect(13, 5, 12);
    const std::string expected = "Hands 100/0 1-4 fx0 enone;Огненное дыхание 25/3000 5-12 fx2 e5";
    ASSERT_EQ(Describe(attacks), expected);
    EXPECT_EQ(attacks.Get_Damage(2)->Range, 4);

    for (int32_t n : {0, -1, 3}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(attacks.Get_Damage(n), nullptr);
        EXPECT_EQ(attacks.Get_Effects(n), nullptr);
        EXPECT_EQ(attacks.Get_Name(n), "");
        EXPECT_EQ(attacks.Get_Chance(n), 0);
    }

    TStream_Writer w;
    attacks.Write(w);
    TStream_Reader r(w.Bytes());
    TNatural_Attacks read;
    read.Add_Attack("stale", 1, 1, 1, 1, 1, 1);
    EXPECT_TRUE(read.Read(r));
    EXPECT_TRUE(r.At_End());
    EXPECT_EQ(Describe(read), expected);
    EXPECT_EQ(read.Get_Damage(2)->Range, 4);

    TNatural_Attacks copy;
    copy.Assign(attacks);
    attacks.Get_Damage(1)->Set_Max(9);
    attacks.Get_Effects(2)->Clear();
    copy.Assign(copy);
    EXPECT_EQ(Describe(copy), expected);

    // A stream cut inside the second attack raises and leaves the attacks as they were.
    std::vector<uint8_t> bytes = w.Bytes();
    bytes.resize(bytes.size() - 3);
    TStream_Reader cut(bytes);
    EXPECT_THROW(copy.Read(cut), EStream_Read_Error);
    EXPECT_EQ(Describe(copy), expected);
}

} // namespace
