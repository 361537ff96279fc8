// A list count the save stream refuses leaves the list it was read into as it was: a damaged file must not
// empty what the caller still holds. Counts within what the stream and the list can hold replace it.
#include "core/SaveStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

// The count as the stream writes a word, then `elements` one-byte integers 1, 2, 3, ...
TBytes List_Bytes(uint32_t count, uint32_t elements) {
    TBytes bytes;
    if (count <= 127)
        bytes = {2, static_cast<uint8_t>(count)};
    else if (count <= 32767)
        bytes = {3, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8)};
    else
        bytes = {4, static_cast<uint8_t>(count & 0xFF), static_cast<uint8_t>(count >> 8), 0, 0};
    for (uint32_t n = 1; n <= elements; ++n) bytes.insert(bytes.end(), {2, static_cast<uint8_t>(n % 100)});
    return bytes;
}

// A short string element instead, for the string list: tag 6, length 1, one letter.
TBytes String_List_Bytes(uint32_t count, uint32_t elements) {
    TBytes bytes = List_Bytes(count, 0);
    for (uint32_t n = 1; n <= elements; ++n)
        bytes.insert(bytes.end(), {6, 1, static_cast<uint8_t>('a' + n % 26)});
    return bytes;
}

TEST(SaveStreamRefusal, ARefusedCountLeavesTheTargetAsItWas) {
    struct TCase {
        const char* What;
        int64_t Count, Elements; // below 0: that far from the list's largest capacity plus one
        bool Refused;
    };
    // Every element takes at least two bytes: a count the bytes left cannot hold is refused at once.
    const TCase cases[] = {
        {"as many as there are", 3, 3, false},
        {"one more than the bytes can hold", 4, 3, true},
        {"a count far beyond the stream", 65535, 2, true},
        {"the most the list holds", -1, -1, false},
        {"one more than the list holds", 0, 0, true},
    };
    const auto resolve = [](int64_t n, int32_t capacity) {
        return static_cast<uint32_t>(n > 0 ? n : capacity + 1 + n);
    };
    // Reads the bytes into a list holding 7 and 9; the list's contents afterwards, as numbers.
    using TReader = std::function<std::vector<int64_t>(const TBytes&, bool&)>;
    const auto typed = [](auto list, auto read) -> TReader {
        return [=](const TBytes& bytes, bool& refused) mutable {
            list.Clear();
            list.Add(7);
            list.Add(9);
            TStream_Reader r(bytes);
            refused = false;
            try {
                read(r, list);
            } catch (const EStream_Read_Error&) {
                refused = true;
            }
            std::vector<int64_t> numbers;
            for (int32_t n = 1; n <= static_cast<int32_t>(list.Count()); ++n)
                numbers.push_back(list.Get(static_cast<decltype(list.Count())>(n)));
            return numbers;
        };
    };
    struct TKind {
        const char* Name;
        TReader Read;
        int32_t Capacity;
    };
    const TKind kinds[] = {
        {"word list", typed(TWordList(), [](TStream_Reader& r, TWordList& l) { Read_Word_List(r, l); }),
         TWordList::Largest_Capacity},
        {"byte list", typed(TbyteList(), [](TStream_Reader& r, TbyteList& l) { Read_Byte_List(r, l); }),
         TbyteList::Largest_Capacity},
        {"longint list",
         typed(TLongintList(), [](TStream_Reader& r, TLongintList& l) { Read_Longint_List(r, l); }),
         TLongintList::Largest_Capacity},
    };
    for (const TKind& kind : kinds) {
        for (const TCase& c : cases) {
            SCOPED_TRACE(std::string(kind.Name) + ": " + c.What);
            const uint32_t count = resolve(c.Count, kind.Capacity);
            bool refused = false;
            const std::vector<int64_t> after =
                kind.Read(List_Bytes(count, resolve(c.Elements, kind.Capacity)), refused);
            EXPECT_EQ(refused, c.Refused);
            if (c.Refused) {
                EXPECT_EQ(after, (std::vector<int64_t>{7, 9}));
            } else {
                ASSERT_EQ(after.size(), count);
                EXPECT_EQ(after.front(), 1);
                EXPECT_EQ(after.back(), count % 100);
            }
        }
    }

    // The string list has no capacity of its own; the bytes left decide alone. Three strings take nine
    // bytes: a count of four could still be theirs, five cannot.
    struct TString_Case {
        uint32_t Count, Elements;
        bool Refused;
    };
    for (const TString_Case& c : {TString_Case{3, 3, false}, TString_Case{5, 3, true},
                                  TString_Case{65535, 3, true}, TString_Case{40000, 40000, false}}) {
        SCOPED_TRACE("string list of " + std::to_string(c.Count));
        TString_List list = {"kept", "as is"};
        TStream_Reader r(String_List_Bytes(c.Count, c.Elements));
        if (c.Refused) {
            EXPECT_THROW(Read_String_List(r, list), EStream_Read_Error);
            EXPECT_EQ(list, (TString_List{"kept", "as is"}));
        } else {
            Read_String_List(r, list);
            ASSERT_EQ(list.size(), c.Count);
            EXPECT_EQ(list.front(), "b");
        }
    }
}

} // namespace
