// Parallel lists at their limits: every list is asked for room before any of them appends, so a full list
// refuses whole, never leaves its partners of unequal length, and a map saved full loads back.
#include "core/Damage.h"
#include "core/Effects.h"
#include "core/TypedLists.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

// Adds until the list says it has no room, then checks that the next Add is refused and changes nothing.
template <typename TList> int Fill_Until_Full(TList& list) {
    int guard = 0;
    while (list.Can_Add() && guard++ < 70000) list.Add(1);
    const auto count = list.Count();
    EXPECT_THROW(list.Add(1), EListError);
    EXPECT_EQ(list.Count(), count);
    return static_cast<int>(count);
}

using FullLists = TMap_Fixture;

} // namespace

// A list grows by 4, 4, 8 and then 16 at a time up to its largest capacity, so the last count it reaches is
// the largest capacity reachable in those steps, which depends on where it started.
TEST(TypedListRoom, CanAddAnswersExactlyWhereAddStopsWorking) {
    // The start is the capacity a copy or Set_Capacity gave the list.
    struct TCase {
        int Start_Capacity;
        int Bytes, Words, Longints;
    } cases[] = {
        {0, 65520, 32752, 16368}, {3, 65519, 32751, 16367},     {5, 65517, 32749, 16365},
        {9, 65513, 32745, 16377}, {16380, 65516, 32748, 16380}, // the longints' largest count
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Start_Capacity);
        TbyteList bytes;
        TWordList words;
        TLongintList longints;
        bytes.Set_Capacity(c.Start_Capacity);
        words.Set_Capacity(c.Start_Capacity);
        longints.Set_Capacity(c.Start_Capacity);
        EXPECT_EQ(Fill_Until_Full(bytes), c.Bytes);
        EXPECT_EQ(Fill_Until_Full(words), c.Words);
        EXPECT_EQ(Fill_Until_Full(longints), c.Longints);
    }
    TLongintList l;
    EXPECT_TRUE(l.Can_Add(16368));
    EXPECT_FALSE(l.Can_Add(16369));
    EXPECT_FALSE(l.Can_Add(-1));
}

TEST(EffectListRoom, AFullListRefusesWholeAndStillSavesAndLoads) {
    TEffect_List list;
    while (list.Can_Add()) list.Add_Effect(17, 1, 2);
    const int32_t full = list.Get_Count();
    EXPECT_EQ(full, 16368); // the amount lists are the first to fill
    EXPECT_THROW(list.Add_Effect(17, 1, 2), EListError);
    EXPECT_EQ(list.Get_Count(), full);
    TEffect_List one;
    one.Add_Effect(13, 3, 4);
    EXPECT_THROW(list.Append(one), EListError);
    EXPECT_THROW(one.Append_To(list), EListError);
    EXPECT_EQ(list.Get_Count(), full);

    TStream_Writer w;
    list.Write(w);
    TStream_Reader r(w.Bytes());
    TEffect_List back;
    ASSERT_NO_THROW(back.Read(r));
    EXPECT_EQ(back.Get_Count(), full);
    EXPECT_EQ(back.Get_Max_Amount(full), 2);

    // A data file asking for more effects than fit is reported once, and the loader does not raise.
    TFake_Record record;
    record.Fields["Number of Effects"] = std::to_string(full + 2);
    for (int32_t n = 1; n <= full + 2; ++n) {
        const std::string key = "Effect " + std::to_string(n);
        record.Fields[key + " Type"] = "Fire Damage";
        record.Fields[key + " Min Amount"] = "1";
        record.Fields[key + " Max Amount"] = "2";
    }
    TEffect_List read;
    ASSERT_NO_THROW(read.Read_From_Data_File("", record.Reader()));
    EXPECT_EQ(read.Get_Count(), full);
    EXPECT_EQ(record.Errors,
              (std::vector<std::string>{"invalid Number of Effects = '" + std::to_string(full + 2) + "'"}));
}

TEST(RequirementsRoom, AFullListRefusesWholeAndADataFileDoesNotRaise) {
    TFake_Record record;
    const int32_t asked = 16370;
    record.Fields["Number of Requirements"] = std::to_string(asked);
    for (int32_t n = 1; n <= asked; ++n) {
        const std::string key = "Requirement " + std::to_string(n);
        record.Fields[key + " Type"] = "Strength Required";
        record.Fields[key + " Amount"] = "20";
        record.Fields[key + " Per Level Modifier Type"] = "Number";
        record.Fields[key + " Amt Per Level Modifier"] = "1";
    }
    TRequirements full;
    ASSERT_NO_THROW(full.Read_From_Data_File("", record.Reader()));
    EXPECT_EQ(full.Count(), 16368);
    EXPECT_EQ(record.Errors, (std::vector<std::string>{"invalid Number of Requirements = '16370'"}));
    EXPECT_FALSE(full.Can_Add());

    TRequirements one;
    one.Types.Add(3);
    one.Amounts.Add(20);
    one.Per_Level_Kinds.Add(Amount_Number);
    one.Per_Level_Amounts.Add(1);
    EXPECT_THROW(full.Append(one), EListError);
    for (int32_t count : {int32_t{full.Types.Count()}, full.Amounts.Count(),
                          int32_t{full.Per_Level_Kinds.Count()}, full.Per_Level_Amounts.Count()})
        EXPECT_EQ(count, 16368);
}

// Locks, traps and chests: the entry that does not fit leaves the square unmarked and every list as it
// was; the full map saves and loads back.
TEST_F(FullLists, LocksTrapsAndChestsStopWholeAndTheMapLoadsBack) {
    const int32_t room = 32752;
    const auto square_of = [](int32_t n, int32_t& x, int32_t& y) {
        x = (n - 1) / Map_Height + 1;
        y = (n - 1) % Map_Height + 1;
    };
    TWordList contents;
    contents.Add(1);
    for (int32_t n = 1; n <= room; ++n) {
        int32_t x = 0, y = 0;
        square_of(n, x, y);
        Map->Set_Lock("key", x, y, true);
        Map->Set_Trap("pit", x, y, true);
        ASSERT_TRUE(Map->Add_Chest(contents, x, y)) << n;
    }
    int32_t x = 0, y = 0;
    square_of(room + 1, x, y);
    ASSERT_NO_THROW(Map->Set_Lock("key", x, y, true));
    ASSERT_NO_THROW(Map->Set_Trap("pit", x, y, true));
    EXPECT_FALSE(Map->Add_Chest(contents, x, y));
    EXPECT_FALSE(Map->Get_Square(x, y)->Is_Locked() || Map->Get_Square(x, y)->Is_Trapped());
    EXPECT_EQ(Map->Lock_Key_Names().size(), static_cast<size_t>(room));
    EXPECT_EQ(Map->Trap_Names().size(), static_cast<size_t>(room));
    EXPECT_EQ(Map->Chest_Count(), room);
    EXPECT_EQ(Map->Chest_Xs().Count(), room);
    EXPECT_EQ(Map->Chest_Ys().Count(), room);

    TStream_Writer w;
    ASSERT_TRUE(Map->Save(w));
    TStream_Reader r(w.Bytes());
    TMap back;
    ASSERT_NO_THROW(EXPECT_TRUE(back.Load(r, "full.map")));
    EXPECT_EQ(back.Chest_Count(), room);
    EXPECT_EQ(back.Lock_Key_Names().size(), static_cast<size_t>(room));
    std::string name;
    EXPECT_TRUE(back.Get_Trap(1, 1, name) && name == "pit");
}

// A chest off the map could never be opened: it is not recorded.
TEST_F(FullLists, ChestsOffTheMapAreIgnored) {
    TWordList contents;
    contents.Add(4);
    struct TCase {
        int32_t X, Y;
        bool Kept;
    } cases[] = {{0, 5, false},   {5, 0, false},     {201, 5, false}, {5, 201, false},
                 {-1, -1, false}, {65537, 1, false}, {1, 1, true},    {200, 200, true}};
    int32_t kept = 0;
    for (const TCase& c : cases) {
        EXPECT_EQ(Map->Add_Chest(contents, c.X, c.Y), c.Kept) << c.X << "," << c.Y;
        kept += c.Kept;
        EXPECT_EQ(Map->Chest_Count(), kept);
        EXPECT_EQ(Map->Chest_Xs().Count(), kept);
    }
    EXPECT_EQ(Map->Get_Chest(1, 1)->Get(1), 4);

    // A chest is found by both of its coordinates: later chests sharing one of them do not answer.
    for (auto [x, y, id] : {std::tuple{3, 4, 7}, {3, 9, 8}, {8, 4, 9}}) {
        TWordList one;
        one.Add(static_cast<uint16_t>(id));
        ASSERT_TRUE(Map->Add_Chest(one, x, y));
    }
    EXPECT_EQ(Map->Get_Chest(3, 4)->Get(1), 7);
    EXPECT_EQ(Map->Get_Chest(8, 9), nullptr);
}
