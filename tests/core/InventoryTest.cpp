#include "core/Inventory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr uint8_t Fire_Damage_Effect = 13;
constexpr uint8_t Strength_Effect = 49;

// Item types used below (the names of Item_Type_Name).
constexpr uint8_t Armor = 3, Bow = 6, Helm = 9, Key = 10, Potion = 12, Ring = 13, Weapon = 20, Glyph = 22;

// A bare item list installed as the current one; items are made in it so ids resolve as in a map.
class InventoryFixture : public ::testing::Test {
protected:
    void SetUp() override { Set_Current_Item_List(&List); }
    void TearDown() override { Set_Current_Item_List(nullptr); }

    TItem* Make(const std::string& class_name, uint8_t type = Item_Type_Misc, uint16_t quantity = 1,
                uint16_t max_stack = 0) {
        TItem item;
        item.Name = class_name;
        item.Class_Name = class_name;
        item.Item_Type = type;
        item.Quantity = quantity;
        item.Max_Stack = max_stack;
        return List.Item(List.Add(&item));
    }
    TItem* Arrows(uint16_t quantity, const std::string& class_name = "Arrows",
                  const std::string& kind = "arrow") {
        TItem* item = Make(class_name, Item_Type_Ammo, quantity, 20);
        item->Ammo_Type = kind;
        return item;
    }
    TItem* Torch(uint16_t turns, uint16_t quantity = 1) {
        TItem* item = Make("Torch", Item_Type_Misc, quantity);
        item->Light_Radius = 3;
        item->Light_Turns = turns;
        return item;
    }
    int Live_Items() const {
        int n = 0;
        for (int id = 1; id <= List.Count(); ++id) n += List.Item(static_cast<uint16_t>(id)) != nullptr;
        return n;
    }

    TItem_List List;
    TInventory Inventory;
};

TWordList Words(std::initializer_list<uint16_t> values) {
    TWordList list;
    for (uint16_t v : values) list.Add(v);
    return list;
}

} // namespace

TEST_F(InventoryFixture, ArrowsStackOnlyWhereTheWholeQuantityFits) {
    TItem* first = Arrows(15);
    ASSERT_TRUE(Inventory.Add_To_Backpack(first));
    TItem* ten = Arrows(10);
    ASSERT_TRUE(Inventory.Add_To_Backpack(ten));
    EXPECT_EQ(Inventory.Item_In_Slot(12), ten); // only 5 would fit onto the first stack
    EXPECT_EQ(first->Quantity, 15);

    const uint16_t five_id = Arrows(5)->Id;
    ASSERT_TRUE(Inventory.Add_To_Backpack(List.Item(five_id)));
    EXPECT_EQ(first->Quantity, 20); // the first stack in slot order with room for all five
    EXPECT_EQ(ten->Quantity, 10);
    EXPECT_EQ(List.Item(five_id), nullptr); // merged, so deleted
    EXPECT_EQ(Inventory.Count(), 2);

    // A stack of no units adds one; a full stack takes nothing more.
    TItem* none = Arrows(0);
    ASSERT_TRUE(Inventory.Add_To_Backpack(none));
    EXPECT_EQ(ten->Quantity, 11);
}

TEST_F(InventoryFixture, StackingRules) {
    struct TCase {
        const char* what;
        uint8_t new_type;
        const char* new_class;
        const char* new_kind;
        uint16_t stack_max;
        bool merges;
    };
    // The stack already carried: class "Quiver", ammunition of kind "arrow" unless the case says otherwise.
    const TCase cases[] = {
        {"same class, other type", Item_Type_Misc, "Quiver", "", 20, true},
        {"ammo of the same kind", Item_Type_Ammo, "Elven Arrows", "arrow", 20, true},
        {"ammo kind compares with case", Item_Type_Ammo, "Elven Arrows", "Arrow", 20, false},
        {"class compares with case", Item_Type_Misc, "quiver", "", 20, false},
        {"no stacking", Item_Type_Ammo, "Quiver", "arrow", 0, false},
    };
    for (const TCase& c : cases) {
        List.Clear();
        Inventory.Clear();
        TItem* stack = Arrows(3, "Quiver", "arrow");
        stack->Max_Stack = c.stack_max;
        Inventory.Put_In_Slot(stack, 11);
        TItem* item = Make(c.new_class, c.new_type, 2);
        item->Ammo_Type = c.new_kind;
        const uint16_t id = item->Id;
        EXPECT_TRUE(Inventory.Add_To_Backpack(item)) << c.what;
        EXPECT_EQ(stack->Quantity, c.merges ? 5 : 3) << c.what;
        EXPECT_EQ(List.Item(id) == nullptr, c.merges) << c.what;
        EXPECT_EQ(Inventory.Count(), c.merges ? 1 : 2) << c.what;
    }
}

TEST_F(InventoryFixture, NonAmmoDoesNotMergeIntoAnAmmoStackWithoutAKind) {
    TItem* stack = Arrows(3, "Odd Ammo", "");
    Inventory.Put_In_Slot(stack, 11);
    TItem* sword = Make("Sword", Weapon);
    const uint16_t id = sword->Id;
    ASSERT_TRUE(Inventory.Add_To_Backpack(sword));
    EXPECT_EQ(List.Item(id), sword); // not swallowed
    EXPECT_EQ(Inventory.Item_In_Slot(12), sword);
    EXPECT_EQ(stack->Quantity, 3);

    // Ammunition without a kind is no match either.
    TItem* blank = Make("Blank Ammo", Item_Type_Ammo, 1);
    ASSERT_TRUE(Inventory.Add_To_Backpack(blank));
    EXPECT_EQ(Inventory.Item_In_Slot(13), blank);
}

TEST_F(InventoryFixture, AnItemIsNeverStackedOntoItself) {
    TItem* arrows = Arrows(5);
    ASSERT_TRUE(Inventory.Put_In_Slot(arrows, 11));
    ASSERT_TRUE(Inventory.Add_To_Backpack(arrows));
    EXPECT_EQ(List.Item(arrows->Id), arrows);
    EXPECT_EQ(arrows->Quantity, 5);
}

TEST_F(InventoryFixture, FullBackpackRefuses) {
    for (int slot = First_Backpack_Slot; slot <= Last_Backpack_Slot; ++slot)
        ASSERT_TRUE(Inventory.Add_To_Backpack(Make("Thing " + std::to_string(slot))));
    EXPECT_EQ(Inventory.Count(), 80);
    TItem* one_more = Make("Sword", Weapon);
    EXPECT_FALSE(Inventory.Has_Room_For(one_more));
    EXPECT_FALSE(Inventory.Add_To_Backpack(one_more));
    EXPECT_EQ(Inventory.Count(), 80);
    EXPECT_EQ(List.Item(one_more->Id), one_more);
    // Equipment slots do not count as room in the backpack.
    EXPECT_TRUE(Inventory.Put_In_Slot(one_more, 6));

    // A stack with room still takes a matching item.
    TItem* stack = Inventory.Item_In_Slot(90);
    stack->Max_Stack = 10;
    TItem* same = Make(stack->Class_Name);
    EXPECT_TRUE(Inventory.Has_Room_For(same));
    EXPECT_TRUE(Inventory.Add_To_Backpack(same));
    EXPECT_EQ(stack->Quantity, 2);
}

TEST_F(InventoryFixture, SlotsPutTakeAndFind) {
    TItem* helm = Make("Helm", Helm);
    TItem* ring = Make("Ring", Ring);
    EXPECT_FALSE(Inventory.Put_In_Slot(nullptr, 1));
    EXPECT_FALSE(Inventory.Put_In_Slot(helm, 0));
    EXPECT_FALSE(Inventory.Put_In_Slot(helm, 91));
    EXPECT_FALSE(Inventory.Put_In_Slot(helm, 257)); // would wrap to slot 1 in a byte
    ASSERT_TRUE(Inventory.Put_In_Slot(helm, 1));
    EXPECT_FALSE(Inventory.Put_In_Slot(ring, 1)); // taken
    ASSERT_TRUE(Inventory.Put_In_Slot(ring, 8));
    EXPECT_EQ(Inventory.Find_Slot(8), 2);
    EXPECT_EQ(Inventory.Find_Slot(9), 0);

    TItem* taken = ring;
    EXPECT_FALSE(Inventory.Take_From_Slot(9, taken));
    EXPECT_EQ(taken, nullptr);
    ASSERT_TRUE(Inventory.Take_From_Slot(1, taken));
    EXPECT_EQ(taken, helm);
    EXPECT_EQ(Inventory.Count(), 1);
    EXPECT_EQ(Inventory.Slot_At(1), 8); // the lists stay parallel
    EXPECT_EQ(Inventory.Item_In_Slot(8), ring);
    EXPECT_EQ(List.Item(helm->Id), helm); // taking out deletes nothing
}

TEST_F(InventoryFixture, LightsBurnOnlyWhenEquipped) {
    TItem* torch = Torch(3);
    const uint16_t torch_id = torch->Id;
    TItem* lantern = Torch(0); // never burns down
    TItem* spare = Torch(1);   // in the backpack: does not burn
    Inventory.Put_In_Slot(torch, 6);
    Inventory.Put_In_Slot(lantern, 7);
    Inventory.Put_In_Slot(spare, 11);
    Inventory.Burn_Lights();
    Inventory.Burn_Lights();
    EXPECT_EQ(Inventory.Item_In_Slot(6), torch);
    EXPECT_EQ(torch->Light_Turns, 1);
    Inventory.Burn_Lights();
    EXPECT_EQ(Inventory.Item_In_Slot(6), nullptr);
    EXPECT_EQ(List.Item(torch_id), nullptr);
    EXPECT_EQ(Inventory.Item_In_Slot(7), lantern);
    EXPECT_EQ(spare->Light_Turns, 1);
    EXPECT_EQ(Inventory.Count(), 2);
}

TEST_F(InventoryFixture, TwoLightsGoingOutTogetherBothGo) {
    TItem* left = Torch(1);
    TItem* right = Torch(1);
    TItem* helm = Make("Helm", Helm);
    const uint16_t left_id = left->Id, right_id = right->Id;
    Inventory.Put_In_Slot(left, 6);
    Inventory.Put_In_Slot(right, 7);
    Inventory.Put_In_Slot(helm, 1);
    Inventory.Burn_Lights();
    EXPECT_EQ(List.Item(left_id), nullptr);
    EXPECT_EQ(List.Item(right_id), nullptr);
    ASSERT_EQ(Inventory.Count(), 1);
    EXPECT_EQ(Inventory.Item_In_Slot(1), helm);
}

TEST_F(InventoryFixture, AStackedLightLosesOneUnitAndThenNeverBurns) {
    TItem* torches = Torch(1, 3);
    Inventory.Put_In_Slot(torches, 6);
    Inventory.Burn_Lights();
    EXPECT_EQ(torches->Quantity, 2);
    EXPECT_EQ(torches->Light_Turns, 0);
    Inventory.Burn_Lights();
    EXPECT_EQ(torches->Quantity, 2);
    EXPECT_EQ(Inventory.Item_In_Slot(6), torches);
}

TEST_F(InventoryFixture, RoundTripOfIdsAndSlots) {
    Inventory.Put_In_Slot(Make("Helm", Helm), 1);
    Inventory.Put_In_Slot(Make("Stone"), 45);
    TStream_Writer w;
    Inventory.Save_To_Stream(w);
    TStream_Reader r(w.Bytes());
    TInventory back;
    ASSERT_TRUE(back.Load_From_Stream(r));
    EXPECT_TRUE(r.At_End());
    EXPECT_EQ(back.Contents().Ids(), Inventory.Contents().Ids());
    EXPECT_EQ(back.Slots(), Inventory.Slots());
    EXPECT_EQ(back.Item_In_Slot(45)->Name, "Stone");
}

TEST_F(InventoryFixture, UnequalIdAndSlotListsAreRejected) {
    TStream_Writer w;
    Write_Word_List(w, Words({1, 2}));
    TbyteList slots;
    slots.Add(11);
    Write_Byte_List(w, slots);
    Inventory.Put_In_Slot(Make("Helm", Helm), 1);
    TStream_Reader r(w.Bytes());
    EXPECT_THROW(Inventory.Load_From_Stream(r), EStream_Read_Error);
    // The inventory is left as it was.
    ASSERT_EQ(Inventory.Count(), 1);
    EXPECT_EQ(Inventory.Slot_At(1), 1);
}

TEST_F(InventoryFixture, StaleIdsAreSkipped) {
    TItem* ring = Make("Ring", Ring);
    ring->Weight = 2;
    ring->Defense_Rating = 4;
    ring->Effects.Add_Effect(Strength_Effect, 3, 3);
    TItem* gone = Arrows(5);
    gone->Weight = 100;
    gone->Defense_Rating = 50;
    gone->Consumption_Type = Consumption_Health;
    gone->Key_Group = "Red";
    gone->Light_Radius = 2;
    gone->Light_Turns = 1;
    Inventory.Put_In_Slot(gone, 8);
    Inventory.Put_In_Slot(ring, 9);
    List.Delete_Id(gone->Id);

    EXPECT_EQ(Inventory.Total_Weight(), 2);
    EXPECT_EQ(Inventory.Armor_Total(), 4);
    EXPECT_EQ(Inventory.Equipped_Effect_Total(Strength_Effect), 3);
    EXPECT_FALSE(Inventory.Has_Ammo("arrow"));
    EXPECT_FALSE(Inventory.Use_Ammo("arrow"));
    EXPECT_FALSE(Inventory.Use_Key("Red"));
    EXPECT_EQ(Inventory.Take_First_Of_Use_Kind(Consumption_Health), nullptr);
    Inventory.Burn_Lights();
    EXPECT_EQ(Inventory.Count(), 2);
    EXPECT_EQ(Inventory.Item_In_Slot(8), nullptr);

    // A slot holding a stale id can be emptied and used again.
    TItem* taken = nullptr;
    EXPECT_FALSE(Inventory.Take_From_Slot(8, taken));
    EXPECT_EQ(taken, nullptr);
    EXPECT_EQ(Inventory.Count(), 1);
    EXPECT_TRUE(Inventory.Put_In_Slot(Make("Ring", Ring), 8));
}

TEST_F(InventoryFixture, UseKeySpendsTheLastKeyForGood) {
    TItem* keys = Make("Key", Key, 2);
    keys->Key_Group = "Red";
    TItem* not_a_key = Make("Stone");
    Inventory.Put_In_Slot(not_a_key, 11);
    Inventory.Put_In_Slot(keys, 12);
    const uint16_t id = keys->Id;
    EXPECT_FALSE(Inventory.Use_Key("red")); // letter case counts
    EXPECT_FALSE(Inventory.Use_Key(""));    // an empty group is no key
    EXPECT_TRUE(Inventory.Use_Key("Red"));
    EXPECT_EQ(keys->Quantity, 1);
    EXPECT_TRUE(Inventory.Use_Key("Red"));
    EXPECT_EQ(List.Item(id), nullptr);
    EXPECT_EQ(Inventory.Count(), 1);
    EXPECT_FALSE(Inventory.Use_Key("Red"));
}

TEST_F(InventoryFixture, UseAmmoSpendsTheLastArrowForGood) {
    TItem* arrows = Arrows(2);
    arrows->Effects.Add_Effect(Fire_Damage_Effect, 1, 4);
    arrows->Use_Sound = "bow.wav";
    Inventory.Put_In_Slot(Make("Bow", Bow), 6);
    Inventory.Put_In_Slot(arrows, 11);
    const uint16_t id = arrows->Id;
    EXPECT_TRUE(Inventory.Has_Ammo(" ARROW "));
    EXPECT_EQ(Inventory.Ammo_Sound_File("Arrow"), "bow.wav");

    TEffect_List missile;
    ASSERT_TRUE(Inventory.Use_Ammo("arrow", &missile));
    EXPECT_EQ(arrows->Quantity, 1);
    ASSERT_TRUE(Inventory.Use_Ammo("arrow", &missile));
    // Both shots carried the arrows' effects, the last one read before the item went.
    ASSERT_EQ(missile.Get_Count(), 2);
    EXPECT_EQ(missile.Get_Effect_Type(2), Fire_Damage_Effect);
    EXPECT_EQ(List.Item(id), nullptr);
    EXPECT_EQ(Inventory.Count(), 1);
    EXPECT_FALSE(Inventory.Has_Ammo("arrow"));
    EXPECT_EQ(Inventory.Ammo_Sound_File("arrow"), "");
    EXPECT_FALSE(Inventory.Use_Ammo("arrow", &missile));
    EXPECT_EQ(missile.Get_Count(), 2);
}

TEST_F(InventoryFixture, AStackOfThreePotionsIsDrunkOneAtATime) {
    TItem* potions = Make("Healing Potion", Potion, 3, 10);
    potions->Consumption_Type = Consumption_Health;
    potions->Consumption_Value = 25;
    Inventory.Put_In_Slot(Make("Mana Potion", Potion), 11);
    Inventory.Item_In_Slot(11)->Consumption_Type = Consumption_Mana;
    Inventory.Put_In_Slot(potions, 12);
    const uint16_t id = potions->Id;

    int healed = 0;
    const auto drink = [&](const TItem& item) { healed += item.Consumption_Value; };
    for (int left = 2; left >= 1; --left) {
        ASSERT_TRUE(Inventory.Use_One_Of_Use_Kind(Consumption_Health, drink));
        EXPECT_EQ(potions->Quantity, left);
        EXPECT_EQ(Inventory.Item_In_Slot(12), potions);
    }
    ASSERT_TRUE(Inventory.Use_One_Of_Use_Kind(Consumption_Health, drink));
    EXPECT_EQ(healed, 75);
    EXPECT_EQ(List.Item(id), nullptr);
    EXPECT_EQ(Inventory.Item_In_Slot(12), nullptr);
    EXPECT_FALSE(Inventory.Use_One_Of_Use_Kind(Consumption_Health, drink));
    EXPECT_EQ(healed, 75);
    EXPECT_EQ(Inventory.Count(), 1); // the mana potion stays

    // Taking out the whole item deletes nothing.
    TItem* mana = Inventory.Take_First_Of_Use_Kind(Consumption_Mana);
    ASSERT_NE(mana, nullptr);
    EXPECT_EQ(Inventory.Count(), 0);
    EXPECT_EQ(List.Item(mana->Id), mana);
}

TEST_F(InventoryFixture, EquippedItemsAreThoseTheirSlotAccepts) {
    struct TCase {
        uint8_t type;
        int32_t slot;
        bool equipped;
    };
    const TCase cases[] = {
        {Helm, 1, true},     {Helm, 2, false},  {Armor, 3, true},   {Weapon, 6, true},   {Weapon, 7, true},
        {Weapon, 11, false}, {Ring, 8, true},   {Ring, 9, true},    {Ring, 11, false},   {Glyph, 11, true},
        {Glyph, 90, true},   {Glyph, 9, false}, {Potion, 6, false}, {Potion, 11, false}, {Glyph, 91, false},
        {Helm, 0, false}, // slots a file may hold but no put accepts
    };
    for (const TCase& c : cases) {
        List.Clear();
        Inventory.Clear();
        TItem* item = Make("Thing", c.type);
        item->Defense_Rating = 5;
        item->Effects.Add_Effect(Strength_Effect, 2, 2);
        EXPECT_EQ(Is_Equipped_In_Slot(*item, c.slot), c.equipped) << int(c.type) << " in " << c.slot;
        if (c.slot < First_Equipment_Slot || c.slot > Last_Backpack_Slot) continue;
        ASSERT_TRUE(Inventory.Put_In_Slot(item, c.slot));
        const int32_t expected = c.equipped ? 1 : 0;
        EXPECT_EQ(Inventory.Armor_Total(), 5 * expected) << int(c.type) << " in " << c.slot;
        EXPECT_EQ(Inventory.Effect_Total(Strength_Effect), 2 * expected) << int(c.type) << " in " << c.slot;
        TEffect_List gathered;
        Inventory.Add_Equipped_Effects(gathered);
        EXPECT_EQ(gathered.Get_Count(), expected) << int(c.type) << " in " << c.slot;
    }
}

TEST_F(InventoryFixture, CollectionWalks) {
    TItem_Collection pile;
    TItem* silent = Arrows(4, "Arrows", " Arrow");
    TItem* empty = Arrows(0, "Arrows", "arrow");
    empty->Use_Sound = "empty.wav";
    TItem* loud = Arrows(2, "Bolts", "arrow ");
    loud->Use_Sound = "loud.wav";
    TItem* potion = Make("Potion", Potion);
    potion->Consumption_Type = Consumption_Mana;
    potion->Weight = 3;
    silent->Weight = 1;
    pile.Add(nullptr); // adds nothing
    pile.Add(empty);
    pile.Add(silent);
    pile.Add(loud);
    pile.Add(potion);
    ASSERT_EQ(pile.Count(), 4);
    EXPECT_EQ(pile.Ammo_Sound_File("ARROW"), "loud.wav"); // the first unit-holding item with a sound
    EXPECT_EQ(pile.Find_Use_Kind(Consumption_Mana), 4);
    EXPECT_EQ(pile.Find_Use_Kind(Consumption_Health), 0);
    EXPECT_EQ(pile.Total_Weight(), 4 + 3);
    EXPECT_EQ(pile.Use_Ammo("arrow"), 2); // the empty stack is passed over
    EXPECT_EQ(silent->Quantity, 3);
    EXPECT_EQ(pile.Use_Ammo("bolt"), 0);
    EXPECT_EQ(pile.Item(0), nullptr);
    EXPECT_EQ(pile.Item(5), nullptr);
    pile.Delete(9); // ignored
    pile.Delete(1);
    EXPECT_EQ(pile.Item(1), silent);

    TStream_Writer w;
    pile.Save_To_Stream(w);
    TStream_Reader r(w.Bytes());
    TItem_Collection back;
    ASSERT_TRUE(back.Load_From_Stream(r));
    EXPECT_EQ(back.Ids(), pile.Ids());
}

TEST(ItemCollection, RemapLooksEachIdUpOnce) {
    struct TCase {
        TWordList old_ids, new_ids, ids, expected;
    };
    const TCase cases[] = {
        {Words({5, 7}), Words({7, 9}), Words({5, 7, 3}), Words({7, 9, 3})}, // not chained: 5 -> 7, not 9
        {Words({5, 5}), Words({8, 9}), Words({5}), Words({9})},             // the last match wins
        {Words({5, 6}), Words({8}), Words({5, 6}), Words({8, 6})},          // beyond the shorter list: unused
        {Words({}), Words({}), Words({5}), Words({5})},
    };
    for (const TCase& c : cases) {
        TInventory inventory;
        TStream_Writer w;
        Write_Word_List(w, c.ids);
        TbyteList slots;
        for (int n = 1; n <= c.ids.Count(); ++n) slots.Add(static_cast<uint8_t>(10 + n));
        Write_Byte_List(w, slots);
        TStream_Reader r(w.Bytes());
        ASSERT_TRUE(inventory.Load_From_Stream(r));
        inventory.Remap_Ids(c.old_ids, c.new_ids);
        EXPECT_EQ(inventory.Contents().Ids(), c.expected);
        EXPECT_EQ(inventory.Slots(), slots);
    }
}
