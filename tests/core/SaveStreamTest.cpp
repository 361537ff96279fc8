#include "core/SaveStream.h"

#include "platform/PathLayer.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <limits>
#include <random>
#include <unistd.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Written(const std::function<void(TStream_Writer&)>& write) {
    TStream_Writer w;
    write(w);
    return w.Bytes();
}

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

Bytes Of_Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

std::string Hex(const Bytes& bytes) {
    std::string out;
    char piece[4];
    for (uint8_t b : bytes) {
        std::snprintf(piece, sizeof piece, "%02X ", b);
        out += piece;
    }
    return out;
}

uint64_t Bits(double d) {
    return std::bit_cast<uint64_t>(d);
}

Bytes Extended(bool negative, unsigned exponent, uint64_t significand) {
    Bytes out(10);
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(significand >> (8 * i));
    const unsigned se = (negative ? 0x8000u : 0u) | exponent;
    out[8] = static_cast<uint8_t>(se);
    out[9] = static_cast<uint8_t>(se >> 8);
    return out;
}

Bytes Encoded(double d) {
    Bytes out(10);
    Double_To_Extended(d, out.data());
    return out;
}

// ---- Golden bytes ----

TEST(SaveStreamTest, IntegersTakeTheSmallestTag) {
    const struct {
        int32_t value;
        Bytes bytes;
    } cases[] = {
        {0, {2, 0x00}},
        {127, {2, 0x7F}},
        {-128, {2, 0x80}},
        {128, {3, 0x80, 0x00}},
        {-129, {3, 0x7F, 0xFF}},
        {32767, {3, 0xFF, 0x7F}},
        {-32768, {3, 0x00, 0x80}},
        {32768, {4, 0x00, 0x80, 0x00, 0x00}},
        {-32769, {4, 0xFF, 0x7F, 0xFF, 0xFF}},
        {40000, {4, 0x40, 0x9C, 0x00, 0x00}},
        {std::numeric_limits<int32_t>::max(), {4, 0xFF, 0xFF, 0xFF, 0x7F}},
        {std::numeric_limits<int32_t>::min(), {4, 0x00, 0x00, 0x00, 0x80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Hex(c.bytes), Hex(Written([&](TStream_Writer& w) { Write_Integer(w, c.value); })));
        EXPECT_EQ(Hex(c.bytes), Hex(Written([&](TStream_Writer& w) { Write_Longint(w, c.value); })));
        TStream_Reader r1(c.bytes), r2(c.bytes), r3(c.bytes);
        EXPECT_EQ(c.value, Read_Integer(r1));
        EXPECT_EQ(c.value, Read_Longint(r2));
        EXPECT_EQ(static_cast<double>(c.value), Read_Real(r3));
        EXPECT_TRUE(r1.At_End() && r2.At_End() && r3.At_End());
    }
}

TEST(SaveStreamTest, BytesAndWordsAreWrittenUnsigned) {
    const struct {
        bool is_byte;
        uint16_t value;
        Bytes bytes;
    } cases[] = {
        {true, 127, {2, 0x7F}},
        {true, 200, {3, 0xC8, 0x00}},
        {true, 255, {3, 0xFF, 0x00}},
        {false, 128, {3, 0x80, 0x00}},
        {false, 32767, {3, 0xFF, 0x7F}},
        {false, 32768, {4, 0x00, 0x80, 0x00, 0x00}},
        // Also a signed 16-bit field of -1, which goes through Write_Word by its bit pattern.
        {false, 65535, {4, 0xFF, 0xFF, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const Bytes bytes = Written([&](TStream_Writer& w) {
            if (c.is_byte)
                Write_Byte(w, static_cast<uint8_t>(c.value));
            else
                Write_Word(w, c.value);
        });
        EXPECT_EQ(Hex(c.bytes), Hex(bytes));
        TStream_Reader r(bytes);
        EXPECT_EQ(c.value, c.is_byte ? Read_Byte(r) : Read_Word(r));
        EXPECT_TRUE(r.At_End());
    }
}

TEST(SaveStreamTest, ByteAndWordReadsKeepTheLowBits) {
    const struct {
        int32_t stored;
        uint8_t as_byte;
        uint16_t as_word;
    } cases[] = {{0x12345, 0x45, 0x2345}, {300, 44, 300}, {-1, 255, 65535}, {-2, 254, 65534}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const Bytes bytes = Written([&](TStream_Writer& w) { Write_Integer(w, c.stored); });
        TStream_Reader as_byte(bytes), as_word(bytes);
        EXPECT_EQ(c.as_byte, Read_Byte(as_byte));
        EXPECT_EQ(c.as_word, Read_Word(as_word));
    }
}

TEST(SaveStreamTest, StringsBooleansAndRealsHaveTheirTags) {
    const std::string s255(255, 'x'), s256(256, 'y');
    const std::string cyrillic = "Меч"; // three characters, six bytes of UTF-8
    const struct {
        const char* what;
        std::function<void(TStream_Writer&)> write;
        Bytes bytes;
    } cases[] = {
        {"empty string", [](TStream_Writer& w) { Write_String(w, ""); }, {6, 0}},
        {"255 bytes", [&](TStream_Writer& w) { Write_String(w, s255); }, Concat({6, 0xFF}, Of_Text(s255))},
        {"256 bytes", [&](TStream_Writer& w) { Write_String(w, s256); },
         Concat({12, 0x00, 0x01, 0x00, 0x00}, Of_Text(s256))},
        {"cyrillic",
         [&](TStream_Writer& w) { Write_String(w, cyrillic); },
         {6, 6, 0xD0, 0x9C, 0xD0, 0xB5, 0xD1, 0x87}},
        {"true", [](TStream_Writer& w) { Write_Boolean(w, true); }, {9}},
        {"false", [](TStream_Writer& w) { Write_Boolean(w, false); }, {8}},
        {"real 1.0",
         [](TStream_Writer& w) { Write_Real(w, 1.0); },
         {5, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0xFF, 0x3F}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Hex(c.bytes), Hex(Written(c.write)));
    }

    TStream_Reader r(Written([&](TStream_Writer& w) {
        for (const std::string* s : {&s255, &s256, &cyrillic}) Write_String(w, *s);
        Write_String(w, "");
        Write_Boolean(w, true);
        Write_Boolean(w, false);
        Write_Real(w, -2.5);
    }));
    EXPECT_EQ(s255, Read_String(r));
    EXPECT_EQ(s256, Read_String(r));
    EXPECT_EQ(cyrillic, Read_String(r));
    EXPECT_EQ("", Read_String(r));
    EXPECT_TRUE(Read_Boolean(r));
    EXPECT_FALSE(Read_Boolean(r));
    EXPECT_EQ(-2.5, Read_Real(r));
    EXPECT_TRUE(r.At_End());

    // A long-string tag holding a short text is still a valid string.
    TStream_Reader long_tag(Bytes{12, 3, 0, 0, 0, 'a', 'b', 'c'});
    EXPECT_EQ("abc", Read_String(long_tag));
}

// ---- Real codec ----

TEST(SaveStreamTest, ExtendedEncodingOfKnownDoubles) {
    const double denorm_min = std::numeric_limits<double>::denorm_min();
    const struct {
        double value;
        Bytes bytes;
    } cases[] = {
        {1.0, Extended(false, 0x3FFF, 0x8000000000000000)},
        {-2.0, Extended(true, 0x4000, 0x8000000000000000)},
        {0.5, Extended(false, 0x3FFE, 0x8000000000000000)},
        {1.0 / 3.0, Extended(false, 0x3FFD, 0xAAAAAAAAAAAAA800)},
        {0.0, Extended(false, 0, 0)},
        {-0.0, Extended(true, 0, 0)},
        {1e308, Extended(false, 0x43FE, 0x8E679C2F5E450000)},
        {DBL_MAX, Extended(false, 0x43FE, 0xFFFFFFFFFFFFF800)},
        {DBL_MIN, Extended(false, 0x3C01, 0x8000000000000000)},
        // Subnormal doubles become normalised extended values.
        {DBL_MIN - denorm_min, Extended(false, 0x3C00, 0xFFFFFFFFFFFFF000)},
        {denorm_min, Extended(false, 0x3BCD, 0x8000000000000000)},
        {-3 * denorm_min, Extended(true, 0x3BCE, 0xC000000000000000)},
        {std::numeric_limits<double>::infinity(), Extended(false, 0x7FFF, 0x8000000000000000)},
        {-std::numeric_limits<double>::infinity(), Extended(true, 0x7FFF, 0x8000000000000000)},
        {std::numeric_limits<double>::quiet_NaN(), Extended(false, 0x7FFF, 0xC000000000000000)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const Bytes bytes = Encoded(c.value);
        EXPECT_EQ(Hex(c.bytes), Hex(bytes));
        EXPECT_EQ(Bits(c.value), Bits(Extended_To_Double(bytes.data())));
    }
}

TEST(SaveStreamTest, ExtendedToDoubleRoundsToNearestEven) {
    const double inf = std::numeric_limits<double>::infinity();
    const double tiny = std::numeric_limits<double>::denorm_min();
    const struct {
        const char* what;
        Bytes bytes;
        double expected;
    } cases[] = {
        {"below half an ulp", Extended(false, 0x3FFF, 0x80000000000003FF), 1.0},
        {"tie, even stays", Extended(false, 0x3FFF, 0x8000000000000400), 1.0},
        {"above half an ulp", Extended(false, 0x3FFF, 0x8000000000000401), 1.0 + 0x1p-52},
        {"tie, odd rounds up", Extended(false, 0x3FFF, 0x8000000000000C00), 1.0 + 0x1p-51},
        {"carry into the exponent", Extended(false, 0x3FFF, 0xFFFFFFFFFFFFFFFF), 2.0},
        {"negative carry", Extended(true, 0x3FFF, 0xFFFFFFFFFFFFFFFF), -2.0},
        {"largest double", Extended(false, 0x43FE, 0xFFFFFFFFFFFFFBFF), DBL_MAX},
        {"rounds past the largest double", Extended(false, 0x43FE, 0xFFFFFFFFFFFFFC00), inf},
        {"just beyond the range", Extended(false, 0x43FF, 0x8000000000000000), inf},
        {"largest extended", Extended(true, 0x7FFE, 0xFFFFFFFFFFFFFFFF), -inf},
        {"infinity", Extended(false, 0x7FFF, 0x8000000000000000), inf},
        {"negative infinity", Extended(true, 0x7FFF, 0x8000000000000000), -inf},
        {"smallest subnormal", Extended(false, 0x3BCD, 0x8000000000000000), tiny},
        {"half the smallest subnormal, tie to zero", Extended(false, 0x3BCC, 0x8000000000000000), 0.0},
        {"just above half the smallest subnormal", Extended(false, 0x3BCC, 0x8000000000000001), tiny},
        {"1.5 subnormal steps, tie up to 2", Extended(false, 0x3BCD, 0xC000000000000000), 2 * tiny},
        {"2.5 subnormal steps, tie down to 2", Extended(false, 0x3BCE, 0xA000000000000000), 2 * tiny},
        {"subnormal, exact", Extended(false, 0x3C00, 0x8000000000000000), DBL_MIN / 2},
        {"subnormal rounding up to the smallest normal", Extended(false, 0x3C00, 0xFFFFFFFFFFFFFFFF),
         DBL_MIN},
        {"far below the range", Extended(false, 1, 0x8000000000000000), 0.0},
        {"far below the range, negative", Extended(true, 1, 0x8000000000000000), -0.0},
        {"extended denormal", Extended(false, 0, 0x0000000000000001), 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Bits(c.expected), Bits(Extended_To_Double(c.bytes.data())));
    }

    // NaN stays NaN, also when its payload lies only in bits a double cannot hold.
    for (uint64_t significand : {0xC000000000000000, 0x8000000000000001, 0xFFFFFFFFFFFFFFFF}) {
        SCOPED_TRACE(significand);
        EXPECT_TRUE(std::isnan(Extended_To_Double(Extended(false, 0x7FFF, significand).data())));
    }
}

// On x86 the host's long double is the same 80-bit format and its conversions round to nearest even, which
// makes it an independent reference for the codec.
TEST(SaveStreamTest, CodecAgreesWithTheX87Conversions) {
    if constexpr (std::numeric_limits<long double>::digits != 64 || sizeof(long double) < 10) {
        GTEST_SKIP() << "the host has no 80-bit long double";
    } else {
        std::mt19937_64 random(77);
        for (int i = 0; i < 100000; ++i) {
            const double d = std::bit_cast<double>(random());
            if (std::isnan(d)) {
                // The x87 quiets signalling NaNs; the codec keeps every payload bit for bit.
                if (Bits(d) != Bits(Extended_To_Double(Encoded(d).data()))) {
                    ADD_FAILURE() << "NaN 0x" << std::hex << Bits(d) << " lost its payload";
                    break;
                }
                continue;
            }
            const long double wide = d;
            Bytes expected(10);
            std::memcpy(expected.data(), &wide, 10);
            if (Encoded(d) != expected) {
                ADD_FAILURE() << "double 0x" << std::hex << Bits(d);
                break;
            }
        }
        for (int i = 0; i < 300000; ++i) {
            // Half the exponents near the double range, where rounding and subnormals happen; some
            // significands are exact ties.
            unsigned exponent = (i % 2) ? static_cast<unsigned>(random() % 0x7FFF)
                                        : static_cast<unsigned>(0x3BB0 + random() % (0x4410 - 0x3BB0));
            uint64_t significand = random();
            if (i % 3 == 0) significand = (significand & ~uint64_t{0xFFF}) | 0x400;
            if (i % 7 == 0) significand |= 0xFFFFFFFFFFFFF800;
            // Canonical encodings only: the x87 refuses unnormals.
            significand =
                exponent == 0 ? (significand & ~(uint64_t{1} << 63)) : (significand | (uint64_t{1} << 63));
            const Bytes bytes = Extended(i % 5 == 0, exponent, significand);
            long double wide = 0;
            std::memcpy(&wide, bytes.data(), 10);
            const double expected = static_cast<double>(wide);
            if (Bits(expected) != Bits(Extended_To_Double(bytes.data()))) {
                ADD_FAILURE() << "extended " << Hex(bytes) << " gives 0x" << std::hex
                              << Bits(Extended_To_Double(bytes.data())) << ", expected 0x" << Bits(expected);
                break;
            }
        }
    }
}

// ---- Failures ----

TEST(SaveStreamTest, WrongTagsAndCutStreamsRaiseReadErrors) {
    using Read = std::function<void(TStream_Reader&)>;
    const Read integer = [](TStream_Reader& r) { Read_Integer(r); };
    const Read longint = [](TStream_Reader& r) { Read_Longint(r); };
    const Read word = [](TStream_Reader& r) { Read_Word(r); };
    const Read byte = [](TStream_Reader& r) { Read_Byte(r); };
    const Read string = [](TStream_Reader& r) { Read_String(r); };
    const Read real = [](TStream_Reader& r) { Read_Real(r); };
    const Read boolean = [](TStream_Reader& r) { Read_Boolean(r); };
    const Read word_list = [](TStream_Reader& r) {
        TWordList list;
        Read_Word_List(r, list);
    };
    const Read string_list = [](TStream_Reader& r) {
        TString_List list;
        Read_String_List(r, list);
    };
    const struct {
        const char* what;
        Bytes bytes;
        Read read;
    } cases[] = {
        {"integer over a real", {5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}, integer},
        {"integer over a string", {6, 0}, integer},
        {"integer over tag 0", {0, 0, 0, 0, 0}, integer},
        {"longint over a long string", {12, 0, 0, 0, 0}, longint},
        {"word over false", {8}, word},
        {"byte over a string", {6, 1, 'a'}, byte},
        {"string over an integer", {2, 1}, string},
        {"real over a string", {6, 0}, real},
        {"real over tag 7", {7, 0}, real},
        {"empty stream, integer", {}, integer},
        {"empty stream, boolean", {}, boolean},
        {"cut 16-bit integer", {3, 0x80}, integer},
        {"cut 32-bit integer", {4, 1, 2, 3}, word},
        {"cut real", {5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF}, real},
        {"cut short string length", {6}, string},
        {"cut short string", {6, 5, 'a', 'b'}, string},
        {"cut long string length", {12, 4, 0, 0}, string},
        {"cut long string", {12, 5, 0, 0, 0, 'a'}, string},
        {"negative long string length", {12, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, string},
        {"list count beyond the stream", {4, 0xFF, 0xFF, 0, 0, 2, 1}, word_list},
        {"list cut after its count", {2, 2, 2, 1}, word_list},
        {"list element of the wrong kind", {2, 1, 6, 0}, word_list},
        {"string list count beyond the stream", {3, 0x10, 0x27, 6, 0}, string_list},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TStream_Reader r(c.bytes);
        EXPECT_THROW(c.read(r), EStream_Read_Error);
    }
}

// A damaged length is refused by the check made before the string or list is allocated, not by running out
// of bytes while filling a gigabyte buffer.
TEST(SaveStreamTest, HugeLengthsAreRefusedBeforeAllocating) {
    try {
        TStream_Reader r(Bytes{12, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b'});
        Read_String(r);
        ADD_FAILURE() << "a string of 2147483632 bytes was read";
    } catch (const EStream_Read_Error& e) {
        EXPECT_STREQ("string length 2147483632 at byte 5 exceeds the bytes left in the save stream",
                     e.what());
    }
    try {
        TStream_Reader r(Bytes{4, 0xFF, 0xFF, 0, 0, 6, 0});
        TString_List list;
        Read_String_List(r, list);
        ADD_FAILURE() << "a list of 65535 strings was read";
    } catch (const EStream_Read_Error& e) {
        EXPECT_STREQ("string list: count 65535 exceeds the bytes left in the save stream", e.what());
    }
}

TEST(SaveStreamTest, ReadBooleanOnAnotherTagIsFalseAndReadsNoPayload) {
    const struct {
        Bytes bytes;
        bool expected;
    } cases[] = {
        {{9, 2, 5}, true},
        {{8, 2, 5}, false},
        {{2, 5}, false},
        {{12, 0xFF, 0xFF, 0xFF, 0x7F}, false},
        {{6, 3, 'a', 'b', 'c'}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.bytes));
        TStream_Reader r(c.bytes);
        EXPECT_EQ(c.expected, Read_Boolean(r));
        EXPECT_EQ(1u, r.Position());
    }
    TStream_Reader r(Bytes{2, 5, 9});
    EXPECT_FALSE(Read_Boolean(r));
    EXPECT_EQ(5, r.Get_Byte()); // the payload of the unexpected value is next
    EXPECT_TRUE(Read_Boolean(r));
}

TEST(SaveStreamTest, RequireEqualLengthsNamesWhatDiffered) {
    EXPECT_NO_THROW(Require_Equal_Lengths("locks", {}));
    EXPECT_NO_THROW(Require_Equal_Lengths("locks", {3, 3, 3}));
    try {
        Require_Equal_Lengths("chest locks", {3, 3, 2});
        ADD_FAILURE() << "expected EStream_Read_Error";
    } catch (const EStream_Read_Error& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("chest locks"));
        EXPECT_NE(std::string::npos, std::string(e.what()).find("unequal"));
    }
}

// ---- Lists ----

template <typename TList> TList List_Of(std::initializer_list<typename TList::Element> values) {
    TList list;
    for (auto v : values) list.Add(v);
    return list;
}

TEST(SaveStreamTest, ListsAreTheCountThenTheElementsAndReadBackInPlaceOfTheTarget) {
    const TWordList words = List_Of<TWordList>({1, 300, 65535});
    const TbyteList bytes = List_Of<TbyteList>({0, 200});
    const TLongintList longs = List_Of<TLongintList>({-1, 70000});
    const TString_List strings = {"a", ""};
    // Targets holding more than the stream: a read replaces their contents, never appends.
    TWordList words_in;
    TbyteList bytes_in;
    TLongintList longs_in;
    words_in.Set_Count(20);
    bytes_in.Set_Count(20);
    longs_in.Set_Count(20);
    TString_List strings_in = {"old", "older", "oldest"}, empty_in = {"old"};
    const struct {
        const char* what;
        std::function<void(TStream_Writer&)> write;
        Bytes bytes;
        std::function<bool(TStream_Reader&)> read_back;
    } cases[] = {
        {"words",
         [&](TStream_Writer& w) { Write_Word_List(w, words); },
         {2, 3, 2, 1, 3, 0x2C, 0x01, 4, 0xFF, 0xFF, 0, 0},
         [&](TStream_Reader& r) { return Read_Word_List(r, words_in) && words_in == words; }},
        {"bytes",
         [&](TStream_Writer& w) { Write_Byte_List(w, bytes); },
         {2, 2, 2, 0, 3, 0xC8, 0},
         [&](TStream_Reader& r) { return Read_Byte_List(r, bytes_in) && bytes_in == bytes; }},
        {"longints",
         [&](TStream_Writer& w) { Write_Longint_List(w, longs); },
         {2, 2, 2, 0xFF, 4, 0x70, 0x11, 0x01, 0x00},
         [&](TStream_Reader& r) { return Read_Longint_List(r, longs_in) && longs_in == longs; }},
        {"strings",
         [&](TStream_Writer& w) { Write_String_List(w, strings); },
         {2, 2, 6, 1, 'a', 6, 0},
         [&](TStream_Reader& r) { return Read_String_List(r, strings_in) && strings_in == strings; }},
        {"empty",
         [](TStream_Writer& w) { Write_Word_List(w, TWordList()); },
         {2, 0},
         [&](TStream_Reader& r) { return Read_String_List(r, empty_in) && empty_in.empty(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Hex(c.bytes), Hex(Written(c.write)));
        TStream_Reader r(c.bytes);
        EXPECT_TRUE(c.read_back(r));
        EXPECT_TRUE(r.At_End());
    }
}

TEST(SaveStreamTest, ListsAtTheirLargestReadBack) {
    // Set_Count reaches the largest capacity, beyond where appending one by one stops; such a list must
    // still load.
    TWordList words, words_in;
    words.Set_Count(TWordList::Largest_Capacity);
    words.Put(TWordList::Largest_Capacity, 65535);
    TbyteList bytes, bytes_in;
    bytes.Set_Count(TbyteList::Largest_Capacity);
    TLongintList longs, longs_in;
    longs.Set_Count(TLongintList::Largest_Capacity);
    longs.Put(1, -5);
    TStream_Writer w;
    Write_Word_List(w, words);
    Write_Byte_List(w, bytes);
    Write_Longint_List(w, longs);
    TStream_Reader r(w.Bytes());
    Read_Word_List(r, words_in);
    Read_Byte_List(r, bytes_in);
    Read_Longint_List(r, longs_in);
    EXPECT_TRUE(words == words_in);
    EXPECT_TRUE(bytes == bytes_in);
    EXPECT_TRUE(longs == longs_in);

    // One more element than a list may hold is a damaged stream.
    TStream_Writer over;
    Write_Word(over, TWordList::Largest_Capacity + 1);
    for (int i = 0; i <= TWordList::Largest_Capacity; ++i) Write_Word(over, 1);
    TStream_Reader too_many(over.Bytes());
    TWordList target;
    EXPECT_THROW(Read_Word_List(too_many, target), EStream_Read_Error);
}

TEST(SaveStreamTest, ACountBeyondSixteenBitsIsNotWritten) {
    TStream_Writer w;
    EXPECT_THROW(Write_String_List(w, TString_List(65536)), EStream_Write_Error);
    EXPECT_TRUE(w.Bytes().empty());
    EXPECT_NO_THROW(Write_String_List(w, TString_List(65535)));
    TStream_Reader r(w.Bytes());
    TString_List back;
    Read_String_List(r, back);
    EXPECT_EQ(65535u, back.size());
}

TEST(SaveStreamTest, CopiesReplaceTheDestinationAndCopyingOntoItselfChangesNothing) {
    const auto check = [](auto list, auto destination, auto copy) {
        const auto before = list;
        EXPECT_TRUE(copy(list, list));
        EXPECT_TRUE(list == before);
        EXPECT_TRUE(copy(destination, list));
        EXPECT_TRUE(destination == list);
    };
    check(List_Of<TWordList>({3, 1, 2}), List_Of<TWordList>({9, 9, 9, 9, 9}), Copy_Word_List);
    check(List_Of<TbyteList>({3, 1, 2}), List_Of<TbyteList>({9, 9, 9, 9, 9}), Copy_Byte_List);
    check(List_Of<TLongintList>({-3, -1, -2}), List_Of<TLongintList>({9, 9, 9, 9, 9}), Copy_Longint_List);
    check(TString_List{"a", "b", "c"}, TString_List{"x"}, Copy_String_List);
}

// ---- Files ----

void Write_Mixed(TStream_Writer& w) {
    Write_String(w, "1.06");
    Write_String(w, std::string(100000, 'q')); // larger than the writer's buffer
    for (int32_t i = -20000; i < 20000; i += 3) Write_Integer(w, i * 97);
    Write_Real(w, 3.25);
    Write_Boolean(w, true);
    TLongintList longs;
    for (int32_t v : {1, -1, 1 << 30}) longs.Add(v);
    Write_Longint_List(w, longs);
}

TEST(SaveStreamTest, AFileHoldsExactlyTheStreamAndReadsBack) {
    TTemp_Folder folder;
    const std::string path = folder.File("Slot/game.dat");
    folder.Make_Folder("Slot");
    {
        TStream_Writer w(path);
        Write_Mixed(w);
        w.Close();
    }
    TStream_Writer memory;
    Write_Mixed(memory);
    const std::string on_disk = folder.Read("Slot/game.dat");
    ASSERT_EQ(memory.Bytes().size(), on_disk.size());
    EXPECT_TRUE(Bytes(on_disk.begin(), on_disk.end()) == memory.Bytes());

    // Names from saves may differ in letter case from the files on disk.
    TStream_Reader r = TStream_Reader::Open_File(folder.File("SLOT/Game.DAT"));
    EXPECT_EQ("1.06", Read_String(r));
    EXPECT_EQ(std::string(100000, 'q'), Read_String(r));
    for (int32_t i = -20000; i < 20000; i += 3) ASSERT_EQ(i * 97, Read_Integer(r));
    EXPECT_EQ(3.25, Read_Real(r));
    EXPECT_TRUE(Read_Boolean(r));
    TLongintList longs;
    Read_Longint_List(r, longs);
    ASSERT_EQ(3, longs.Count());
    EXPECT_EQ(1 << 30, longs.Get(3));
    EXPECT_TRUE(r.At_End());

    // Writing under another letter case replaces the existing file instead of adding a second one.
    {
        TStream_Writer w(folder.File("slot/GAME.dat"));
        Write_Integer(w, 1);
        w.Close();
    }
    EXPECT_EQ(std::vector<std::string>{"game.dat"}, plat::List_Folder(folder.File("Slot")));
    EXPECT_EQ(std::string("\x02\x01", 2), folder.Read("Slot/game.dat"));

    EXPECT_THROW(TStream_Reader::Open_File(folder.File("Slot/missing.dat")), EStream_Read_Error);
}

TEST(SaveStreamTest, WriteFailuresRaise) {
    TTemp_Folder folder;
    EXPECT_THROW(TStream_Writer(folder.File("no such folder/game.dat")), EStream_Write_Error);

    {
        TStream_Writer w(folder.File("closed.dat"));
        Write_Integer(w, 5);
        w.Close();
        EXPECT_THROW(Write_Integer(w, 6), EStream_Write_Error);
        EXPECT_NO_THROW(w.Close());
    }
    EXPECT_EQ(std::string("\x02\x05", 2), folder.Read("closed.dat"));

    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full to stand for a full disk";
    {
        TStream_Writer w("/dev/full");
        Write_Integer(w, 5); // still in the buffer
        EXPECT_THROW(w.Close(), EStream_Write_Error);
    }
    {
        TStream_Writer w("/dev/full");
        EXPECT_THROW(Write_String(w, std::string(200000, 'f')), EStream_Write_Error);
        EXPECT_THROW(Write_Integer(w, 1), EStream_Write_Error); // the file stays failed
        EXPECT_THROW(w.Close(), EStream_Write_Error);
    }
    // A writer dropped without Close (as when an error unwinds) closes quietly.
    EXPECT_NO_THROW({
        TStream_Writer w("/dev/full");
        Write_Integer(w, 5);
    });
}

} // namespace
