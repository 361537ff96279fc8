#include "core/GameOptions.h"

#include <gtest/gtest.h>

TEST(GameOptions, RoundTripKeepsEveryStoredField) {
    TGame_Options o;
    o.Flag_1 = false;
    o.Flag_3 = true;
    o.Flag_5 = false;
    o.Difficulty = 4;
    o.Start_Level = 300;
    o.Entry_Level = 65535;
    o.Character_Data_Set = "not stored";
    o.Weapon_Sets[0] = {"Меч", 12, "[Empty]", 0, 3};
    o.Weapon_Sets[4] = {"Bow", 40000, "Arrows", 2, 10};

    TStream_Writer w;
    o.Write(w);
    TStream_Reader r(w.Bytes());
    TGame_Options back;
    back.Character_Data_Set = "mine";
    ASSERT_TRUE(back.Read(r));
    EXPECT_TRUE(r.At_End());
    EXPECT_EQ(back.Flag_1, false);
    EXPECT_EQ(back.Flag_2, true);
    EXPECT_EQ(back.Flag_3, true);
    EXPECT_EQ(back.Flag_4, true);
    EXPECT_EQ(back.Flag_5, false);
    EXPECT_EQ(back.Difficulty, 4);
    EXPECT_EQ(back.Start_Level, 300);
    EXPECT_EQ(back.Entry_Level, 65535);
    EXPECT_EQ(back.Weapon_Sets, o.Weapon_Sets);
    EXPECT_EQ(back.Character_Data_Set, "mine"); // the data set is not part of the record
}

TEST(GameOptions, FirstBytesOfTheRecord) {
    TGame_Options o;
    TStream_Writer w;
    o.Write(w);
    // Five flags (true, true, false, true, true), difficulty 2, levels 0 and 0, then the first set.
    const std::vector<uint8_t> head = {9, 9, 8, 9, 9, 2, 2, 2, 0, 2, 0, 6, 0};
    const std::vector<uint8_t> bytes = w.Bytes();
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + head.size()), head);
}

TEST(GameOptions, TruncatedRecordFailsTheRead) {
    TGame_Options o;
    TStream_Writer w;
    o.Write(w);
    std::vector<uint8_t> bytes = w.Bytes();
    bytes.resize(bytes.size() - 1);
    TStream_Reader r(bytes);
    TGame_Options back;
    EXPECT_THROW(back.Read(r), EStream_Read_Error);
}

TEST(GameOptions, RemapLooksEachIdUpOnce) {
    auto list = [](std::initializer_list<uint16_t> ids) {
        TWordList l;
        for (uint16_t id : ids) l.Add(id);
        return l;
    };
    struct Case {
        uint16_t id;
        std::initializer_list<uint16_t> old_ids, new_ids;
        uint16_t expected;
    } cases[] = {
        {5, {5, 7}, {7, 9}, 7},                               // no chaining through the replaced value
        {7, {5, 7}, {7, 9}, 9}, {5, {5, 3, 5}, {1, 2, 3}, 3}, // the last matching position wins
        {8, {5, 7}, {7, 9}, 8},                               // absent: unchanged
        {0, {0}, {9}, 0},                                     // 0 names no item
        {5, {1, 5}, {4}, 5},                                  // only positions both lists have
        {5, {}, {}, 5},
    };
    for (const Case& c : cases) {
        TGame_Options o;
        o.Weapon_Sets[2].First_Item_Id = c.id;
        o.Weapon_Sets[2].Second_Item_Id = c.id;
        o.Weapon_Sets[2].Spell_Slot = c.id;
        o.Remap_Ids(list(c.old_ids), list(c.new_ids));
        EXPECT_EQ(o.Weapon_Sets[2].First_Item_Id, c.expected) << c.id;
        EXPECT_EQ(o.Weapon_Sets[2].Second_Item_Id, c.expected) << c.id;
        EXPECT_EQ(o.Weapon_Sets[2].Spell_Slot, c.id); // never remapped
    }
}
