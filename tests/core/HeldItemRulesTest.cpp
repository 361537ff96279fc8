// The held item and the player's slots: where an item may go, and what a press on a slot does to stacks,
// swaps and the cursor.
#include "core/HeldItem.h"

#include "core/Callbacks.h"
#include "core/GlobalFuncs.h"
#include "core/Inventory.h"
#include "core/SaveStream.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

enum : uint8_t { Ammo = 1, Helm = 9, Misc = 11, Potion = 12, Ring = 13, Shield = 16, Weapon = 20, Orb = 23 };

struct TProto {
    const char* Class_Name;
    uint8_t Type, Hands;
    const char* Ammo_Type;
    uint16_t Quantity, Max_Stack;
    bool Needs_Strength; // 10 at level 1 and 5 more for every level above; the player has 10
};
const std::map<std::string, TProto> Protos = {
    {"helm", {"Helm", Helm, 0, "", 1, 0, false}},
    {"ring", {"Ring", Ring, 0, "", 1, 0, false}},
    {"potion", {"Potion", Potion, 0, "", 1, 0, false}},
    {"sword", {"Sword", Weapon, 1, "", 1, 0, false}},
    {"greatsword", {"Greatsword", Weapon, 2, "", 1, 0, false}},
    {"shield", {"Shield", Shield, 1, "", 1, 0, false}},
    {"staff", {"Staff", 17, 1, "", 1, 0, false}},
    {"orb", {"Orb", Orb, 0, "", 1, 0, true}},
    {"heavy helm", {"Heavy Helm", Helm, 0, "", 1, 0, true}},
    {"torch", {"Torch", Misc, 1, "", 2, 5, true}},
    {"arrows", {"Arrows", Ammo, 0, "arrow", 15, 20, false}},
    {"fire arrows", {"Arrows", Ammo, 0, "arrow", 20, 20, false}}, // a full stack of a magic variant
    {"elven arrows", {"Elven Arrows", Ammo, 0, "arrow", 3, 20, false}},
    {"bolts", {"Bolts", Ammo, 0, "bolt", 3, 20, false}},
    {"pebbles", {"Pebbles", Ammo, 0, "", 10, 20, false}},
    {"stones", {"Stones", Ammo, 0, "", 3, 20, false}},
};
using TSlots = std::vector<std::pair<int, const char*>>;

class HeldItemRulesTest : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Hero = Add_Creature(100, 100, "hero");
        Hero->Base_Strength = 10;
        Set_Player(Hero);
    }
    void TearDown() override {
        Set_Held_Item_Id(0);
        TMap_Fixture::TearDown();
    }

    // Every unit weighs 2, so the load shows where each item is counted.
    TItem* Make(const std::string& name, uint16_t level = 1) {
        const TProto& p = Protos.at(name);
        TItem* item = Add_Item(name, p.Type);
        item->Class_Name = p.Class_Name;
        item->Hands = p.Hands;
        item->Ammo_Type = p.Ammo_Type;
        item->Quantity = p.Quantity;
        item->Max_Stack = p.Max_Stack;
        item->Item_Level = level;
        item->Weight = 2;
        if (p.Needs_Strength) {
            item->Requirements.Types.Add(Requirement_Strength);
            item->Requirements.Amounts.Add(10);
            item->Requirements.Per_Level_Kinds.Add(Amount_Number);
            item->Requirements.Per_Level_Amounts.Add(5);
        }
        return item;
    }
    // A fresh map of items with these in the player's slots, and the item (when named) on the cursor.
    TItem* Start(const TSlots& slots, const char* held = nullptr, uint16_t level = 1) {
        Map->Item_List.Clear();
        Hero->Inventory.Clear();
        for (const auto& [slot, name] : slots) EXPECT_TRUE(Hero->Put_Item_In_Slot(Make(name), slot));
        TItem* item = held ? Make(held, level) : nullptr;
        Set_Held_Item(item);
        Hero->Recalculate_Stats();
        Sounds->Played.clear();
        return item;
    }
    static std::string Text(const TItem* item) {
        return item ? item->Name + " " + std::to_string(item->Quantity) : "-";
    }
    int Live_Items() const {
        int n = 0;
        for (uint16_t id = 1; id <= Map->Item_List.Count(); ++id) n += Map->Item_List.Item(id) != nullptr;
        return n;
    }
    // Every live item is in exactly one place (a slot, the cursor or the player's square), and the load
    // counts the held item.
    void Expect_Every_Item_Once(const std::string& where) {
        std::multiset<uint16_t> places, live;
        for (int n = 1; n <= Hero->Inventory.Count(); ++n) places.insert(Hero->Inventory.Contents().Id(n));
        if (Held_Item_Id() != 0) places.insert(Held_Item_Id());
        if (const TItem* floor = Map->Get_Square(100, 100)->Get_Top_Item()) places.insert(floor->Id);
        for (uint16_t id = 1; id <= Map->Item_List.Count(); ++id)
            if (Map->Item_List.Item(id)) live.insert(id);
        EXPECT_EQ(places, live) << where;
        const TItem* held = Get_Held_Item();
        EXPECT_EQ(Hero->Weight, Hero->Inventory.Total_Weight() + (held ? held->Total_Weight() : 0)) << where;
    }

    TMonster* Hero = nullptr;
};

} // namespace

TEST_F(HeldItemRulesTest, WhereAnItemMayGo) {
    struct TCase {
        const char* what;
        const char* item;
        uint16_t level;
        int slot;
        TSlots carried;
        bool two_weapons, may;
    };
    const TCase cases[] = {
        // The slot's kind; the backpack takes every kind.
        {"helm on the head", "helm", 1, 1, {}, false, true},
        {"helm on the neck", "helm", 1, 2, {}, false, false},
        {"ring on a finger", "ring", 1, 9, {}, false, true},
        {"sword in a hand", "sword", 1, 7, {}, false, true},
        {"potion in a hand", "potion", 1, 6, {}, false, false},
        {"helm in the backpack", "helm", 1, 90, {}, false, true},
        {"past the backpack", "helm", 1, 91, {}, false, false},
        {"slot 0", "helm", 1, 0, {}, false, false},
        {"orb on the head", "orb", 1, 1, {}, false, false},
        // Hands.
        {"two-handed beside a shield", "greatsword", 1, 6, {{7, "shield"}}, false, false},
        {"two-handed swapping its own hand", "greatsword", 1, 6, {{6, "sword"}}, false, true},
        {"shield beside two-handed", "shield", 1, 7, {{6, "greatsword"}}, false, false},
        {"shield beside a sword", "shield", 1, 6, {{7, "sword"}}, false, true},
        {"sword beside a staff", "sword", 1, 6, {{7, "staff"}}, false, true},
        {"second sword, no skill", "sword", 1, 7, {{6, "sword"}}, false, false},
        {"second sword, skill", "sword", 1, 7, {{6, "sword"}}, true, true},
        {"two-handed beside a sword, skill", "greatsword", 1, 7, {{6, "sword"}}, true, false},
        {"backpack beside two-handed", "sword", 1, 11, {{6, "greatsword"}}, false, true},
        {"only the hands count", "sword", 1, 11, {{1, "greatsword"}}, false, true},
        // Requirements where the item acts, at the item's level.
        {"heavy helm met", "heavy helm", 1, 1, {}, false, true},
        {"heavy helm unmet", "heavy helm", 2, 1, {}, false, false},
        {"heavy helm unmet, backpack", "heavy helm", 2, 11, {}, false, true},
        {"orb unmet, backpack", "orb", 2, 11, {}, false, false},
        {"orb met, backpack", "orb", 1, 50, {}, false, true},
        // A stack with room overrides all of it.
        {"unmet torch onto torches", "torch", 3, 6, {{6, "torch"}}, false, true},
        {"torch stack beside two-handed", "torch", 1, 7, {{7, "torch"}, {6, "greatsword"}}, false, true},
        {"unmet torch, empty hand", "torch", 3, 6, {}, false, false},
        {"arrows onto arrows in a hand", "arrows", 1, 6, {{6, "arrows"}}, false, true},
        {"ammo of the kind", "elven arrows", 1, 6, {{6, "arrows"}}, false, true},
        {"ammo of another kind", "bolts", 1, 6, {{6, "arrows"}}, false, false},
        {"unnamed ammo onto unnamed ammo", "stones", 1, 6, {{6, "pebbles"}}, false, false},
        {"onto a full stack", "arrows", 1, 6, {{6, "fire arrows"}}, false, false},
    };
    for (const TCase& c : cases) {
        Hero->Permanent_Effects.Clear();
        if (c.two_weapons) Hero->Permanent_Effects.Add_Effect(Effect_Two_Weapons, 1, 1);
        Start(c.carried);
        EXPECT_EQ(Can_Place_Item(Make(c.item, c.level), c.slot), c.may) << c.what;
    }

    Start({{6, "torch"}});
    TItem* torch = Hero->Item_In_Slot(6);
    torch->Item_Level = 3; // an item is never a stack for itself
    EXPECT_FALSE(Can_Place_Item(torch, 6));
    torch->Max_Stack = 0;
    EXPECT_FALSE(Can_Place_Item(Make("torch", 3), 6));
    EXPECT_FALSE(Can_Place_Item(nullptr, 11));
    Set_Player(nullptr);
    EXPECT_FALSE(Can_Place_Item(Make("helm"), 11));
}

TEST_F(HeldItemRulesTest, PressOnASlot) {
    const std::vector<std::string> put = {"put_down.wav"}, none = {}, pick = {"pick_up.wav"};
    struct TCase {
        const char* what;
        const char* held;
        uint16_t held_quantity;
        int shift, slot;
        TSlots carried;
        const char *slot_after, *held_after;
        bool deleted; // the held item went wholly onto the stack
        std::vector<std::string> sounds;
    };
    constexpr int L = Shift_Left_Button;
    const TCase cases[] = {
        {"part fits", "arrows", 8, L, 11, {{11, "arrows"}}, "arrows 20", "arrows 3", false, none},
        {"one unit does not fit", "arrows", 6, L, 11, {{11, "arrows"}}, "arrows 20", "arrows 1", false, none},
        {"fits exactly", "arrows", 5, L, 11, {{11, "arrows"}}, "arrows 20", "-", true, put},
        {"quantity 0 is one unit", "arrows", 0, L, 11, {{11, "arrows"}}, "arrows 16", "-", true, put},
        {"full: swap", "arrows", 8, L, 11, {{11, "fire arrows"}}, "arrows 8", "fire arrows 20", false, put},
        {"magic variant joins", "fire arrows", 2, L, 11, {{11, "arrows"}}, "arrows 17", "-", true, put},
        {"ammo of the kind joins", "elven arrows", 3, L, 11, {{11, "arrows"}}, "arrows 18", "-", true, put},
        {"other kind swaps", "bolts", 3, L, 11, {{11, "arrows"}}, "bolts 3", "arrows 15", false, put},
        {"sword, unnamed ammo", "sword", 1, L, 11, {{11, "pebbles"}}, "sword 1", "pebbles 10", false, put},
        {"unnamed ammo swaps", "stones", 3, L, 11, {{11, "pebbles"}}, "stones 3", "pebbles 10", false, put},
        {"into an empty hand", "sword", 1, L, 6, {}, "sword 1", "-", false, put},
        {"two-handed swaps", "greatsword", 1, L, 6, {{6, "sword"}}, "greatsword 1", "sword 1", false, put},
        {"refused kind", "helm", 1, L, 2, {{2, "ring"}}, "ring 1", "helm 1", false, none},
        {"other hand refuses", "greatsword", 1, L, 6, {{7, "shield"}}, "-", "greatsword 1", false, none},
        {"picks up", nullptr, 0, L, 11, {{11, "sword"}}, "-", "sword 1", false, pick},
        {"picks up with ctrl", nullptr, 0, L | 4, 11, {{11, "sword"}}, "-", "sword 1", false, pick},
        {"empty slot, empty cursor", nullptr, 0, L, 11, {}, "-", "-", false, none},
        {"right, holding", "helm", 1, 16, 11, {{11, "sword"}}, "sword 1", "helm 1", false, none},
        {"right, empty", nullptr, 0, 16, 11, {{11, "sword"}}, "sword 1", "-", false, none},
    };
    for (const TCase& c : cases) {
        TItem* held = Start(c.carried, c.held);
        const uint16_t held_id = held ? held->Id : 0;
        if (held) held->Quantity = c.held_quantity;
        const int before = Live_Items();
        int refreshed = 0;
        TCallback_Set callbacks;
        callbacks.On_Refresh_Spells = [&refreshed] { ++refreshed; };

        Inventory_Slot_Click(1, c.shift, c.slot, callbacks);
        EXPECT_EQ(Text(Hero->Item_In_Slot(c.slot)), c.slot_after) << c.what;
        EXPECT_EQ(Text(Get_Held_Item()), c.held_after) << c.what;
        EXPECT_EQ(Sounds->Names(), c.sounds) << c.what;
        EXPECT_EQ(refreshed, 1) << c.what;
        EXPECT_EQ(Live_Items(), before - c.deleted) << c.what;
        EXPECT_EQ(held_id != 0 && !Map->Item_List.Item(held_id), c.deleted) << c.what;
        Expect_Every_Item_Once(c.what);
    }

    // Without a player nothing happens, not even the refresh; an unassigned refresh is skipped.
    Start({{11, "sword"}});
    Put_Down_Held_Item(11); // nothing held
    EXPECT_TRUE(Sounds->Played.empty());
    Set_Player(nullptr);
    int refreshed = 0;
    TCallback_Set callbacks;
    callbacks.On_Refresh_Spells = [&refreshed] { ++refreshed; };
    Inventory_Slot_Click(1, Shift_Left_Button, 11, callbacks);
    EXPECT_EQ(refreshed, 0);
    EXPECT_EQ(Text(Get_Held_Item()), "-");
    Set_Player(Hero);
    Inventory_Slot_Click(1, Shift_Left_Button, 11, TCallback_Set{});
    EXPECT_EQ(Text(Get_Held_Item()), "sword 1");
}

// Two items in one slot (an old file): the slot's item comes out for a swap but the slot is still taken.
// The held item stays held, and the other goes to the backpack, or the player's square when that is full.
TEST_F(HeldItemRulesTest, SwapThatFailsLosesNothing) {
    for (const bool full : {false, true}) {
        Start({});
        TItem* under = Make("sword");
        TItem* out = Make("staff");
        TWordList ids;
        TbyteList slots;
        auto put = [&](TItem* item, int slot) {
            ids.Add(item->Id);
            slots.Add(static_cast<uint8_t>(slot));
        };
        put(under, 6);
        put(out, 6);
        for (int slot = 11; full && slot <= 90; ++slot) put(Make("potion"), slot);
        TStream_Writer w;
        Write_Word_List(w, ids);
        Write_Byte_List(w, slots);
        TStream_Reader r(w.Bytes());
        ASSERT_TRUE(Hero->Inventory.Load_From_Stream(r));
        Map->Get_Square(100, 100)->Item_Field = 0;
        TItem* held = Make("shield");
        Set_Held_Item(held);

        Put_Down_Held_Item(6);
        EXPECT_EQ(Get_Held_Item(), held);
        EXPECT_EQ(Hero->Item_In_Slot(6), under);
        EXPECT_EQ(Hero->Item_In_Slot(11) == out, !full);
        EXPECT_EQ(Map->Get_Square(100, 100)->Get_Top_Item() == out, full);
        EXPECT_TRUE(Sounds->Played.empty());
        Expect_Every_Item_Once(full ? "full backpack" : "room in the backpack");
    }
}

// Any run of presses keeps every item in one place, the load counting the cursor, and no unit gained or lost.
TEST_F(HeldItemRulesTest, PressesKeepEveryItemOnce) {
    Start({{1, "helm"},
           {6, "sword"},
           {7, "torch"},
           {11, "greatsword"},
           {12, "shield"},
           {13, "arrows"},
           {14, "arrows"},
           {15, "elven arrows"},
           {16, "ring"},
           {17, "torch"}});
    const int slots[] = {1, 2, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18};
    auto arrows = [this] {
        int units = 0;
        for (int n = 1; n <= Hero->Inventory.Count(); ++n)
            if (const TItem* item = Hero->Inventory.Contents().Item(n); item->Ammo_Type == "arrow")
                units += item->Quantity;
        const TItem* held = Get_Held_Item();
        return units + (held && held->Ammo_Type == "arrow" ? held->Quantity : 0);
    };
    const int units = arrows();
    for (int press = 0; press < 400; ++press) {
        const int slot = slots[Random_Range(0, int32_t(std::size(slots)) - 1)];
        Inventory_Slot_Click(1, Shift_Left_Button, slot, TCallback_Set{});
        Expect_Every_Item_Once("press " + std::to_string(press) + " on " + std::to_string(slot));
        ASSERT_EQ(arrows(), units) << "press " << press;
    }
    EXPECT_LT(Live_Items(), 10); // stacks merged, not only swapped
}

// A stale id on the cursor is nothing held; taking the item empties the cursor.
TEST_F(HeldItemRulesTest, TheCursor) {
    TItem* helm = Start({}, "helm");
    EXPECT_TRUE(Is_Holding_Item());
    EXPECT_EQ(Take_Held_Item(), helm);
    EXPECT_FALSE(Is_Holding_Item());
    EXPECT_EQ(Take_Held_Item(), nullptr);
    Set_Held_Item(helm);
    Map->Item_List.Delete_Id(helm->Id);
    EXPECT_FALSE(Is_Holding_Item());
    EXPECT_EQ(Take_Held_Item(), nullptr);
    EXPECT_EQ(Held_Item_Id(), 0);
}
