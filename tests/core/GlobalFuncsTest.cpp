#include "core/GlobalFuncs.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

TEST(RandomRange, BoundsAndSwappedPairs) {
    Seed_Random(7);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(Random_Range(5, 5), 5);
        EXPECT_EQ(Random_Range(1, 0), 1); // high below low gives low
        EXPECT_EQ(Random_Range(5, 1), 5);
    }
    std::set<int32_t> seen;
    for (int i = 0; i < 5000; ++i) {
        const int32_t v = Random_Range(1, 100);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 100);
        seen.insert(v);
    }
    EXPECT_TRUE(seen.count(1));
    EXPECT_TRUE(seen.count(100));
    EXPECT_EQ(seen.size(), 100u);

    // The full 32-bit span must not overflow and must reach both halves.
    bool negative = false, positive = false;
    for (int i = 0; i < 200; ++i) {
        const int32_t v = Random_Range(INT_MIN, INT_MAX);
        negative |= v < 0;
        positive |= v > 0;
    }
    EXPECT_TRUE(negative && positive);
}

TEST(RandomRange, SeedRepeatsTheSequence) {
    Seed_Random(42);
    std::vector<int32_t> first;
    for (int i = 0; i < 20; ++i) first.push_back(Random_Range(0, 1000000));
    Seed_Random(42);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(Random_Range(0, 1000000), first[i]);
}

TEST(Geometry, AngleBetween) {
    struct Case {
        int x2, y2, angle;
    } cases[] = {
        {1, 0, 90},  {0, 1, 180},   {-1, 0, 270}, {0, -1, 0},    {1, -1, 45}, {-1, 1, 225},
        {1, 1, 135}, {-1, -1, 315}, {0, 0, 0},    {-1, -200, 0}, {2, -1, 63}, {-1, 2, 207},
    };
    for (const Case& c : cases) EXPECT_EQ(Angle_Between(0, 0, c.x2, c.y2), c.angle) << c.x2 << "," << c.y2;
}

TEST(Geometry, DirectionsOverTheBlock) {
    // Expected direction from the centre of a 3 x 3 block to each cell, row by row (y - 1, y, y + 1).
    const uint8_t expected[3][3] = {{8, 1, 2}, {7, 0, 3}, {6, 5, 4}};
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const uint8_t d = Direction_To(10, 10, 10 + dx * 3, 10 + dy * 3);
            EXPECT_EQ(d, expected[dy + 1][dx + 1]) << dx << "," << dy;
            // The opposite direction points back.
            if (d != 0) {
                EXPECT_EQ(Direction_To(10 + dx, 10 + dy, 10, 10), Opposite_Direction(d));
            }
        }
    EXPECT_EQ(Opposite_Direction(0), 0);
    EXPECT_EQ(Opposite_Direction(9), 0);
    EXPECT_EQ(Opposite_Direction(8), 4);
    EXPECT_DOUBLE_EQ(Distance_Between(1, 1, 4, 5), 5.0);
}

TEST(Bits, SetAndTest) {
    uint16_t flags = 0;
    Set_Bit(flags, 15, true);
    EXPECT_EQ(flags, 0x8000);
    EXPECT_TRUE(Bit_Is_Set(flags, 15));
    EXPECT_FALSE(Bit_Is_Set(0xFFFF, 16));
    Set_Bit(flags, 16, true); // ignored
    EXPECT_EQ(flags, 0x8000);
    Set_Bit(flags, 0, true);
    Set_Bit(flags, 15, false);
    EXPECT_EQ(flags, 1);
}

TEST(Text, SplitCommaList) {
    struct Case {
        std::string text;
        bool lower;
        TString_List pieces;
    } cases[] = {
        {"Sword, Axe ,  Bow", false, {"Sword", "Axe ", "Bow"}},
        {"  Lead, Tail", false, {"  Lead", "Tail"}},
        {"a,,b", false, {"a", "", "b"}},
        {"a, b,", false, {"a", "b"}},
        {"  solo  ", false, {"  solo  "}},
        {"   ", false, {}},
        {"Wall, WALL ,Door", true, {"wall", "wall ", "door"}},
        {"Меч, Щит", true, {"Меч", "Щит"}},
    };
    for (const Case& c : cases) {
        TString_List list = {"kept"};
        Split_Comma_List(c.text, list, c.lower);
        TString_List expected = {"kept"};
        expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(list, expected) << c.text;
    }
}

TEST(Text, GroupedNumbersAndSpaces) {
    EXPECT_EQ(Int_To_Str_Grouped(1234567), "1,234,567");
    EXPECT_EQ(Int_To_Str_Grouped(123), "123");
    EXPECT_EQ(Int_To_Str_Grouped(1000), "1,000");
    EXPECT_EQ(Int_To_Str_Grouped(100000), "100,000");
    EXPECT_EQ(Int_To_Str_Grouped(0), "0");
    EXPECT_EQ(Int_To_Str_Grouped(-1234), "-1,234");
    EXPECT_EQ(Spaces(3), "   ");
    EXPECT_EQ(Spaces(0), "");
    EXPECT_EQ(Spaces(-2), "");
}

TEST(Equipment, SlotMatrix) {
    // For each equip code, the worn positions 1..10 it accepts.
    const std::set<int> accepts[11] = {{}, {1}, {2}, {3}, {4}, {5}, {6, 7}, {}, {8, 9}, {}, {10}};
    for (int code = 0; code <= 10; ++code)
        for (int position = 0; position <= 91; ++position) {
            bool worn = accepts[code].count(position) > 0;
            if (code == 9) worn = position > 10; // glyphs and orbs count anywhere in the pack
            EXPECT_EQ(Slot_Accepts_Kind(static_cast<uint8_t>(code), position), worn)
                << code << " " << position;
            const bool placed = (position >= 11 && position <= 90) || worn;
            EXPECT_EQ(Slot_Accepts_Kind_Ex(static_cast<uint8_t>(code), position), placed)
                << code << " " << position;
        }
    EXPECT_EQ(Item_Type_Equip_Slot(9), 1);  // Helm
    EXPECT_EQ(Item_Type_Equip_Slot(6), 6);  // Bow
    EXPECT_EQ(Item_Type_Equip_Slot(16), 6); // Shield
    EXPECT_EQ(Item_Type_Equip_Slot(13), 8); // Ring
    EXPECT_EQ(Item_Type_Equip_Slot(23), 9); // Orb
    EXPECT_EQ(Item_Type_Equip_Slot(8), 10); // Gloves
    EXPECT_EQ(Item_Type_Equip_Slot(12), 0); // Potion
    EXPECT_EQ(Item_Type_Equip_Slot(200), 0);
}

TEST(Globals, BaseFolderAndFileVersion) {
    const std::string saved = Base_Folder();
    Set_Base_Folder("/opt/murk");
    EXPECT_EQ(Base_Folder(), "/opt/murk/");
    Set_Base_Folder(saved);
    Set_Last_File_Version("1.06");
    EXPECT_EQ(Last_File_Version(), "1.06");
    Set_Last_File_Version("");
}
