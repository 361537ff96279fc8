#include "core/Item.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace {

constexpr int32_t Gold_Value_Effect = 15;
constexpr int32_t Fire_Damage_Effect = 13;

// Installs a bare item list as the current one for the test and removes it afterwards.
class ItemListFixture : public ::testing::Test {
protected:
    void SetUp() override { Set_Current_Item_List(&List); }
    void TearDown() override { Set_Current_Item_List(nullptr); }
    TItem_List List;
};

TItem Named(const std::string& name) {
    TItem item;
    item.Name = name;
    item.Class_Name = name;
    return item;
}

TItem Full_Item() {
    TItem item;
    item.Id = 4;
    item.Name = "Огненный меч";
    item.Description = "Старый клинок";
    item.Class_Name = "Long Sword";
    item.Item_Group = "Swords";
    item.Item_Type = 20;
    item.Item_Level = 700;
    item.Weapon_Type = "Sword";
    item.Picture = "sword.bmp";
    item.Damage.Set(3, 9, 1, 2);
    item.Use_Sound = "swing.wav";
    item.Event_Id = 40000;
    item.Ammo_Type = "bolt";
    item.Ammo_Required = "arrow";
    item.Weight = 65535;
    item.Hands = 2;
    item.Consumption_Type = 5;
    item.Consumption_Value = 300;
    item.Defense_Rating = 1234;
    item.Key_Group = "Red";
    item.Gold_Value = -70000;
    item.Light_Radius = 3;
    item.Light_Turns = 900;
    item.Quantity = 7;
    item.Max_Stack = 20;
    TAttribute attribute;
    attribute.First_Word = 1;
    attribute.Long_Value = -5;
    attribute.Flag = true;
    attribute.Byte_Value = 200;
    attribute.Second_Word = 2;
    attribute.Third_Word = 3;
    item.Attributes.Add(&attribute);
    item.Attributes.Add(nullptr);
    item.Requirements.Types.Add(3);
    item.Requirements.Amounts.Add(20);
    item.Requirements.Per_Level_Kinds.Add(2);
    item.Requirements.Per_Level_Amounts.Add(10);
    item.Effects.Add_Effect(Fire_Damage_Effect, 2, 8);
    item.Effects.Add_Effect(Gold_Value_Effect, 50, 60);
    item.Spell_Names = {"fireball", "heal"};
    item.Spell_Levels.Add(3);
    item.Spell_Levels.Add(1);
    item.Picture_Index = 17;
    return item;
}

std::vector<uint8_t> Saved(const TItem& item) {
    TStream_Writer w;
    item.Save_To_Stream(w);
    return w.Bytes();
}

} // namespace

TEST(Item, ValueCountsUnitsAndGoldValueEffect) {
    constexpr int32_t int_max = std::numeric_limits<int32_t>::max();
    constexpr int32_t int_min = std::numeric_limits<int32_t>::min();
    struct TCase {
        int32_t gold_value;
        uint16_t quantity;
        std::vector<int32_t> gold_effects;
        int32_t expected;
    };
    const TCase cases[] = {
        {10, 3, {50}, 45},                // Trunc(30 x 1.5)
        {10, 3, {20, 30}, 45},            // effects of the type add up
        {10, 0, {}, 10},                  // no units count as one
        {10, 1, {}, 10},                  //
        {10, 3, {-50}, 30},               // only a positive percent changes the value
        {7, 3, {10}, 23},                 // 23.1 truncates
        {-10, 3, {50}, -45},              // truncation toward zero
        {2000000000, 60000, {}, int_max}, // held to 32 bits instead of wrapping
        {-2000000000, 2, {}, int_min},    //
        {2000000000, 1, {int_max}, int_max},
    };
    for (const TCase& c : cases) {
        TItem item;
        item.Gold_Value = c.gold_value;
        item.Quantity = c.quantity;
        for (int32_t amount : c.gold_effects) item.Effects.Add_Effect(Gold_Value_Effect, amount, amount);
        EXPECT_EQ(item.Value(), c.expected) << c.gold_value << " x " << c.quantity;
    }
}

TEST(Item, StackWeightCountsOneUnitBelowTwoAndWrapsAt16Bits) {
    struct TCase {
        uint16_t weight;
        uint16_t quantity;
        uint16_t expected;
    };
    const TCase cases[] = {
        {5, 0, 5}, {5, 1, 5}, {5, 4, 20}, {1000, 70, static_cast<uint16_t>(70000 - 65536)}};
    for (const TCase& c : cases) {
        TItem item;
        item.Weight = c.weight;
        item.Quantity = c.quantity;
        EXPECT_EQ(item.Total_Weight(), c.expected) << c.weight << " x " << c.quantity;
    }
}

TEST(Item, QuantityChangesAreHeldToZeroAndMaxStack) {
    TItem item;
    item.Quantity = 15;
    item.Max_Stack = 20;
    item.Add_Quantity(10);
    EXPECT_EQ(item.Quantity, 20);
    item.Use_Quantity(3);
    EXPECT_EQ(item.Quantity, 17);
    item.Use_Quantity(100);
    EXPECT_EQ(item.Quantity, 0);
    item.Quantity = 65535;
    item.Use_Quantity(-1); // a negative use adds, but never past 16 bits
    EXPECT_EQ(item.Quantity, 65535);
}

TEST(Item, BurnLightCountsDownOnlyALitLight) {
    TItem unlit;
    unlit.Light_Turns = 5;
    EXPECT_FALSE(unlit.Burn_Light());
    EXPECT_EQ(unlit.Light_Turns, 5);

    TItem everlasting;
    everlasting.Light_Radius = 2;
    EXPECT_FALSE(everlasting.Burn_Light());
    EXPECT_EQ(everlasting.Light_Turns, 0);

    TItem torch;
    torch.Light_Radius = 2;
    torch.Light_Turns = 2;
    EXPECT_FALSE(torch.Burn_Light());
    EXPECT_TRUE(torch.Burn_Light());
    EXPECT_EQ(torch.Light_Turns, 0);
    EXPECT_FALSE(torch.Burn_Light()); // burnt out: it never reports going out twice
}

TEST(Item, FullRecordRoundTrip) {
    const TItem item = Full_Item();
    const std::vector<uint8_t> bytes = Saved(item);
    TStream_Reader r(bytes);
    TItem back;
    ASSERT_TRUE(back.Load_From_Stream(r));
    EXPECT_TRUE(r.At_End());

    EXPECT_EQ(back.Id, 4);
    EXPECT_EQ(back.Name, item.Name);
    EXPECT_EQ(back.Description, item.Description);
    EXPECT_EQ(back.Class_Name, item.Class_Name);
    EXPECT_EQ(back.Item_Group, item.Item_Group);
    EXPECT_EQ(back.Item_Type, 20);
    EXPECT_EQ(back.Item_Level, 700);
    EXPECT_EQ(back.Weapon_Type, item.Weapon_Type);
    EXPECT_EQ(back.Picture, item.Picture);
    EXPECT_EQ(back.Damage.Min, 3);
    EXPECT_EQ(back.Damage.Max, 9);
    EXPECT_EQ(back.Damage.Range, 1);
    EXPECT_EQ(back.Damage.Firing_FX, 2);
    EXPECT_EQ(back.Use_Sound, item.Use_Sound);
    EXPECT_EQ(back.Event_Id, 40000);
    EXPECT_EQ(back.Ammo_Type, "bolt");
    EXPECT_EQ(back.Ammo_Required, "arrow");
    EXPECT_EQ(back.Weight, 65535);
    EXPECT_EQ(back.Hands, 2);
    EXPECT_EQ(back.Consumption_Type, 5);
    EXPECT_EQ(back.Consumption_Value, 300);
    EXPECT_EQ(back.Defense_Rating, 1234);
    EXPECT_EQ(back.Key_Group, "Red");
    EXPECT_EQ(back.Gold_Value, -70000);
    EXPECT_EQ(back.Light_Radius, 3);
    EXPECT_EQ(back.Light_Turns, 900);
    EXPECT_EQ(back.Quantity, 7);
    EXPECT_EQ(back.Max_Stack, 20);
    ASSERT_EQ(back.Attributes.Count(), 2);
    ASSERT_NE(back.Attributes.Attribute(1), nullptr);
    EXPECT_EQ(back.Attributes.Attribute(1)->Long_Value, -5);
    EXPECT_EQ(back.Attributes.Attribute(1)->Byte_Value, 200);
    EXPECT_EQ(back.Attributes.Attribute(2), nullptr);
    EXPECT_EQ(back.Requirements.Types, item.Requirements.Types);
    EXPECT_EQ(back.Requirements.Amounts, item.Requirements.Amounts);
    EXPECT_EQ(back.Requirements.Per_Level_Kinds, item.Requirements.Per_Level_Kinds);
    EXPECT_EQ(back.Requirements.Per_Level_Amounts, item.Requirements.Per_Level_Amounts);
    ASSERT_EQ(back.Effects.Get_Count(), 2);
    EXPECT_EQ(back.Effects.Get_Effect_Type(1), Fire_Damage_Effect);
    EXPECT_EQ(back.Effects.Get_Max_Amount(1), 8);
    EXPECT_EQ(back.Effects.Get_Min_Amount(2), 50);
    EXPECT_EQ(back.Spell_Names, item.Spell_Names);
    EXPECT_EQ(back.Spell_Levels, item.Spell_Levels);
    EXPECT_EQ(back.Picture_Index, 0); // the map assigns it again; it is not part of the record
}

TEST(Item, LoadFailsWhenSpellNamesAndLevelsDiffer) {
    TItem item = Full_Item();
    item.Spell_Levels.Delete(2);
    const std::vector<uint8_t> bytes = Saved(item);
    TStream_Reader r(bytes);
    TItem back;
    EXPECT_THROW(back.Load_From_Stream(r), EStream_Read_Error);
}

TEST(Item, AssignCopiesDeeply) {
    TItem item = Full_Item();
    TItem copy;
    copy.Assign(item);
    item.Effects.Clear();
    item.Attributes.Attribute(1)->Long_Value = 99;
    item.Spell_Levels.Put(1, 50);
    EXPECT_EQ(copy.Id, 4);
    EXPECT_EQ(copy.Picture_Index, 17);
    EXPECT_EQ(copy.Effects.Get_Count(), 2);
    EXPECT_EQ(copy.Attributes.Attribute(1)->Long_Value, -5);
    EXPECT_EQ(copy.Spell_Levels.Get(1), 3);
    copy.Assign(copy);
    EXPECT_EQ(copy.Effects.Get_Count(), 2);
}

TEST_F(ItemListFixture, PutAddAndDeleteKeepPositionsAsIds) {
    TItem sword = Named("Sword");
    sword.Id = 99;
    EXPECT_EQ(List.Put(&sword, 0), 1);
    EXPECT_EQ(List.Put(&sword, 0), 2);
    EXPECT_EQ(List.Put(nullptr, 0), 3); // an empty position appended
    EXPECT_EQ(List.Count(), 3);
    ASSERT_NE(List.Item(2), nullptr);
    EXPECT_EQ(List.Item(2)->Id, 2);
    EXPECT_EQ(sword.Id, 99); // the list stores a copy
    sword.Name = "changed";
    EXPECT_EQ(List.Item(1)->Name, "Sword");

    EXPECT_EQ(List.Put(&sword, 7), 0); // no such position: nothing stored
    EXPECT_EQ(List.Count(), 3);

    const TItem axe = Named("Axe");
    EXPECT_EQ(List.Add(&axe), 3); // the empty position is reused
    List.Delete_At(1);
    List.Delete_At(40); // ignored
    EXPECT_EQ(List.Item(1), nullptr);
    EXPECT_EQ(List.Add(&axe), 1); // the lowest empty position first
    EXPECT_EQ(List.Count(), 3);

    List.Put(nullptr, 2);
    EXPECT_EQ(List.Item(2), nullptr);
    EXPECT_EQ(List.Item(0), nullptr);
    EXPECT_EQ(List.Item(4), nullptr);

    // Delete_Id goes by the Id the item carries.
    List.Item(3)->Id = 1;
    List.Delete_Id(1);
    EXPECT_EQ(List.Item(3), nullptr);
    EXPECT_NE(List.Item(1), nullptr);
}

TEST_F(ItemListFixture, RoundTripKeepsHolesIdsAndName) {
    const TItem sword = Named("Sword");
    const TItem axe = Named("Axe");
    List.Set_List_Name("Items_Level1.txt");
    List.Put(&sword, 0);
    List.Put(nullptr, 0);
    List.Put(&axe, 0);
    List.Item(3)->Id = 77; // a record whose id disagrees with its position

    TStream_Writer w;
    List.Save_To_Stream(w);
    TStream_Reader r(w.Bytes());
    TItem_List back;
    back.Put(&axe, 0); // replaced by the read
    ASSERT_TRUE(back.Load_From_Stream(r));
    EXPECT_TRUE(r.At_End());
    EXPECT_EQ(back.List_Name(), "Items_Level1.txt");
    ASSERT_EQ(back.Count(), 3);
    ASSERT_NE(back.Item(1), nullptr);
    EXPECT_EQ(back.Item(1)->Id, 1);
    EXPECT_EQ(back.Item(1)->Name, "Sword");
    EXPECT_EQ(back.Item(2), nullptr);
    ASSERT_NE(back.Item(3), nullptr);
    EXPECT_EQ(back.Item(3)->Id, 3); // a loaded item's id is its position
    EXPECT_EQ(back.Item(3)->Name, "Axe");
}
