#include "core/SlotList.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

// The smallest element the default traits accept. A record whose text is "unreadable" reads back as
// unusable, as a creature or item from a damaged file does.
struct TNote {
    uint16_t Id = 0;
    std::string Text;

    void Assign(const TNote& other) {
        Id = other.Id;
        Text = other.Text;
    }
    void Save_To_Stream(TStream_Writer& w) const {
        Write_Word(w, Id);
        Write_String(w, Text);
    }
    bool Load_From_Stream(TStream_Reader& r) {
        Id = Read_Word(r);
        Text = Read_String(r);
        return Text != "unreadable";
    }
};

using TNote_List = TSlot_List<TNote>;

std::unique_ptr<TNote> Note(const std::string& text) {
    auto note = std::make_unique<TNote>();
    note->Text = text;
    return note;
}

// A list of the texts, "" marking an empty slot.
TNote_List List_Of(const std::vector<std::string>& texts) {
    TNote_List list;
    for (const auto& text : texts) list.Put(text.empty() ? nullptr : Note(text), 0);
    return list;
}

TStream_Reader Written(const TNote_List& list) {
    TStream_Writer w;
    list.Write(w);
    return TStream_Reader(w.Bytes());
}

TEST(SlotListTest, FindIdGivesTheLastSlotCarryingTheId) {
    TNote_List list = List_Of({"a", "b", "c"});
    list.Get(3)->Id = 1; // an element whose Id was changed by hand
    EXPECT_EQ(list.Find_Id(1), 3u);
    EXPECT_EQ(list.Find_Id(2), 2u);
    EXPECT_EQ(list.Find_Id(7), 0u);
}

TEST(SlotListTest, CutStreamRaises) {
    TStream_Writer w;
    List_Of({"a", "b"}).Write(w);
    std::vector<uint8_t> bytes = w.Bytes();
    bytes.resize(bytes.size() - 2);
    TStream_Reader r(bytes);
    TNote_List read;
    EXPECT_THROW(read.Read(r), EStream_Read_Error);
}

TEST(SlotListTest, RefusesToGrowBeyondTheLargestSavableCount) {
    TNote_List list;
    for (int i = 1; i < TNote_List::Max_Slots; ++i) ASSERT_NE(list.Put(nullptr, 0), 0);
    EXPECT_EQ(list.Put(Note("last"), 0), 65535);
    ASSERT_EQ(list.Count(), 65535);

    EXPECT_EQ(list.Put(Note("more"), 0), 0);
    EXPECT_EQ(list.Put(nullptr, 0), 0);
    EXPECT_EQ(list.Count(), 65535);
    EXPECT_EQ(list.Add(Note("hole")), 1); // a hole can still be filled

    for (int slot = 2; slot < 65535; ++slot) ASSERT_NE(list.Put(Note("n"), slot), 0);
    EXPECT_EQ(list.Add(Note("full")), 0);
    EXPECT_EQ(list.Count(), 65535);

    // The largest list reads back whole (a 16-bit slot counter would never end).
    list.Delete(40000);
    TStream_Reader r = Written(list);
    TNote_List read;
    EXPECT_TRUE(read.Read(r));
    ASSERT_EQ(read.Count(), 65535);
    EXPECT_EQ(read.Get(40000), nullptr);
    ASSERT_NE(read.Get(65535), nullptr);
    EXPECT_EQ(read.Get(65535)->Text, "last");
    EXPECT_EQ(read.Get(65535)->Id, 65535);
}

} // namespace
