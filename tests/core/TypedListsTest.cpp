#include "core/TypedLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Per-list facts the suite checks against: the element count at which appending stops (the grow steps of
// 16 from 32 onwards overshoot the largest capacity) and a value that shows the element's width.
template <typename TList> struct List_Facts;
template <> struct List_Facts<TWordList> {
    static constexpr int Add_Limit = 32752;
    static constexpr uint16_t Wide_Value = 65535;
};
template <> struct List_Facts<TbyteList> {
    static constexpr int Add_Limit = 65520;
    static constexpr uint8_t Wide_Value = 255;
};
template <> struct List_Facts<TLongintList> {
    static constexpr int Add_Limit = 16368;
    static constexpr int32_t Wide_Value = -2147483647 - 1;
};

template <typename TList> typename TList::Element Value_At(int i) {
    return static_cast<typename TList::Element>(i * 7 + 1);
}

template <typename TList> std::vector<long long> Contents(const TList& list) {
    std::vector<long long> out;
    for (int p = 1; p <= static_cast<int>(list.Count()); ++p)
        out.push_back(list.Get(static_cast<typename TList::Position>(p)));
    return out;
}

template <typename TList> void Fill(TList& list, int count) {
    for (int i = 0; i < count; ++i) list.Add(Value_At<TList>(i));
}

template <typename TList> void Expect_Invalid_Index(TList& list, auto action) {
    const std::vector<long long> before = Contents(list);
    const int capacity = static_cast<int>(list.Capacity());
    try {
        action(list);
        ADD_FAILURE() << "expected EListError";
    } catch (const EListError& e) {
        EXPECT_STREQ("Invalid Index", e.what());
    }
    EXPECT_EQ(before, Contents(list));
    EXPECT_EQ(capacity, static_cast<int>(list.Capacity()));
}

template <typename TList> class TypedListTest : public ::testing::Test {};
using All_Lists = ::testing::Types<TWordList, TbyteList, TLongintList>;
TYPED_TEST_SUITE(TypedListTest, All_Lists);

TYPED_TEST(TypedListTest, AddGrowsByFourEightSixteenAndReturnsPreviousCount) {
    TypeParam list;
    EXPECT_EQ(0, static_cast<int>(list.Count()));
    EXPECT_EQ(0, static_cast<int>(list.Capacity()));
    // Capacity after the n-th Add (1-based).
    const std::vector<std::pair<int, int>> expected = {{1, 4},   {4, 4},   {5, 8},   {8, 8},   {9, 16},
                                                       {16, 16}, {17, 32}, {32, 32}, {33, 48}, {49, 64}};
    size_t next = 0;
    for (int n = 1; n <= 49; ++n) {
        EXPECT_EQ(n - 1, static_cast<int>(list.Add(Value_At<TypeParam>(n - 1))));
        EXPECT_EQ(n, static_cast<int>(list.Count()));
        if (next < expected.size() && expected[next].first == n) {
            EXPECT_EQ(expected[next].second, static_cast<int>(list.Capacity())) << "after Add number " << n;
            ++next;
        }
    }
    for (int p = 1; p <= 49; ++p) EXPECT_EQ(Value_At<TypeParam>(p - 1), list.Get(p));

    list.Add(List_Facts<TypeParam>::Wide_Value);
    EXPECT_EQ(List_Facts<TypeParam>::Wide_Value, list.Get(50));

    list.Clear();
    EXPECT_EQ(0, static_cast<int>(list.Count()));
    EXPECT_EQ(0, static_cast<int>(list.Capacity()));
}

TYPED_TEST(TypedListTest, BadPositionsRaiseAndChangeNothing) {
    TypeParam list;
    Expect_Invalid_Index(list, [](TypeParam& l) { l.Get(1); });
    Expect_Invalid_Index(list, [](TypeParam& l) { l.Delete(1); });
    Fill(list, 3);
    using Pos = typename TypeParam::Position;
    // 0, Count + 1 and, for 16-bit positions, 0 - 1 wrapped to 65535.
    for (Pos bad : {Pos(0), Pos(4), static_cast<Pos>(-1)}) {
        SCOPED_TRACE(static_cast<long long>(bad));
        Expect_Invalid_Index(list, [bad](TypeParam& l) { l.Get(bad); });
        Expect_Invalid_Index(list, [bad](TypeParam& l) { l.Delete(bad); });
        if constexpr (requires(TypeParam & l) { l.Put(1, 0); })
            Expect_Invalid_Index(list, [bad](TypeParam& l) { l.Put(bad, 9); });
    }
}

TYPED_TEST(TypedListTest, DeleteInTheMiddleAndAtTheEnd) {
    TypeParam list;
    Fill(list, 5);
    const auto v = [](int i) { return static_cast<long long>(Value_At<TypeParam>(i)); };
    list.Delete(2);
    EXPECT_EQ((std::vector<long long>{v(0), v(2), v(3), v(4)}), Contents(list));
    list.Delete(4);
    EXPECT_EQ((std::vector<long long>{v(0), v(2), v(3)}), Contents(list));
    list.Delete(1);
    EXPECT_EQ((std::vector<long long>{v(2), v(3)}), Contents(list));
    EXPECT_EQ(8, static_cast<int>(list.Capacity()));
}

TYPED_TEST(TypedListTest, SetCountFillsWithZerosAndKeepsCapacityWhenShrinking) {
    TypeParam list;
    list.Set_Count(5);
    EXPECT_EQ((std::vector<long long>(5, 0)), Contents(list));
    EXPECT_EQ(5, static_cast<int>(list.Capacity()));

    // Elements dropped by a shrink do not come back as old values when the count grows again.
    for (int p = 1; p <= 5; ++p) {
        list.Delete(1);
        list.Add(Value_At<TypeParam>(p));
    }
    list.Set_Count(2);
    EXPECT_EQ(2, static_cast<int>(list.Count()));
    EXPECT_EQ(5, static_cast<int>(list.Capacity()));
    list.Set_Count(4);
    const long long first = Value_At<TypeParam>(1), second = Value_At<TypeParam>(2);
    EXPECT_EQ((std::vector<long long>{first, second, 0, 0}), Contents(list));

    Expect_Invalid_Index(list, [](TypeParam& l) { l.Set_Count(-1); });
    Expect_Invalid_Index(list, [](TypeParam& l) { l.Set_Capacity(3); }); // below Count
    list.Set_Capacity(4);                                                // equal to Count: allowed
    EXPECT_EQ(4, static_cast<int>(list.Capacity()));
    EXPECT_EQ((std::vector<long long>{first, second, 0, 0}), Contents(list));
}

TYPED_TEST(TypedListTest, LimitsOfCapacityCountAndAppending) {
    constexpr int largest = TypeParam::Largest_Capacity;
    TypeParam list;
    Expect_Invalid_Index(list, [](TypeParam& l) { l.Set_Capacity(largest + 1); });
    Expect_Invalid_Index(list, [](TypeParam& l) { l.Set_Count(largest + 1); });
    list.Set_Count(largest);
    EXPECT_EQ(largest, static_cast<int>(list.Count()));
    Expect_Invalid_Index(list, [](TypeParam& l) { l.Add(1); });

    // Appending one by one stops where the next grow step passes the largest capacity.
    TypeParam grown;
    const int limit = List_Facts<TypeParam>::Add_Limit;
    for (int i = 0; i < limit; ++i) grown.Add(Value_At<TypeParam>(i));
    EXPECT_EQ(limit, static_cast<int>(grown.Count()));
    EXPECT_EQ(limit, static_cast<int>(grown.Capacity()));
    Expect_Invalid_Index(grown, [](TypeParam& l) { l.Add(List_Facts<TypeParam>::Wide_Value); });
    EXPECT_EQ(Value_At<TypeParam>(limit - 1), grown.Get(static_cast<typename TypeParam::Position>(limit)));
}

TYPED_TEST(TypedListTest, CopiesAreIndependent) {
    TypeParam a;
    Fill(a, 6);
    TypeParam b(a);
    TypeParam c;
    Fill(c, 2);
    c = a;
    b.Delete(1);
    c.Clear();
    EXPECT_EQ(6, static_cast<int>(a.Count()));
    EXPECT_EQ(Value_At<TypeParam>(0), a.Get(1));
    EXPECT_EQ(5, static_cast<int>(b.Count()));
    EXPECT_EQ(Value_At<TypeParam>(1), b.Get(1));

    TypeParam moved(std::move(a));
    EXPECT_EQ(6, static_cast<int>(moved.Count()));
    EXPECT_EQ(0, static_cast<int>(a.Count())); // a moved-from list is empty and usable
    a.Add(Value_At<TypeParam>(9));
    EXPECT_EQ(Value_At<TypeParam>(9), a.Get(1));
}

TEST(WordListTest, IndexOfGivesTheFirstMatchingPosition) {
    TWordList list;
    EXPECT_EQ(-1, list.IndexOf(0));
    for (uint16_t v : {5, 9, 5, 65535}) list.Add(v);
    EXPECT_EQ(1, list.IndexOf(5));
    EXPECT_EQ(2, list.IndexOf(9));
    EXPECT_EQ(4, list.IndexOf(65535));
    EXPECT_EQ(-1, list.IndexOf(7));
    list.Put(1, 7);
    EXPECT_EQ(1, list.IndexOf(7));
    EXPECT_EQ(3, list.IndexOf(5));
}

TEST(LongintListTest, PutReplacesOneElement) {
    TLongintList list;
    for (int32_t v : {1, -2, 3}) list.Add(v);
    list.Put(2, -2147483647 - 1);
    list.Put(3, 2147483647);
    EXPECT_EQ(1, list.Get(1));
    EXPECT_EQ(-2147483647 - 1, list.Get(2));
    EXPECT_EQ(2147483647, list.Get(3));
}

} // namespace
