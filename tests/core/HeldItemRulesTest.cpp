// The held item and the player's slots: where an item may go, what putting it down does to stacks and
// swaps, and what a press on a slot does.
#include "core/HeldItem.h"

#include "core/Callbacks.h"
#include "core/Damage.h"
#include "core/Effects.h"
#include "core/Inventory.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SaveStream.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// Item types by their names in data.
enum : uint8_t {
    Ammo = 1,
    Amulet = 2,
    Boots = 5,
    Gloves = 8,
    Helm = 9,
    Misc = 11,
    Potion = 12,
    Ring = 13,
    Shield = 16,
    Staff = 17,
    Weapon = 20,
    Orb = 23,
};

struct TProto {
    const char* Class_Name;
    uint8_t Type;
    uint8_t Hands;
    const char* Ammo_Type;
    uint16_t Quantity;
    uint16_t Max_Stack;
    bool Needs_Strength; // 10 at level 1, 5 more for each level above
};

// Every item the tables use, by the name the rows give. The player has strength 10.
const std::map<std::string, TProto> Protos = {
    {"helm", {"Helm", Helm, 0, "", 1, 0, false}},
    {"amulet", {"Amulet", Amulet, 0, "", 1, 0, false}},
    {"boots", {"Boots", Boots, 0, "", 1, 0, false}},
    {"gloves", {"Gloves", Gloves, 0, "", 1, 0, false}},
    {"ring", {"Ring", Ring, 0, "", 1, 0, false}},
    {"potion", {"Potion", Potion, 0, "", 1, 0, false}},
    {"sword", {"Sword", Weapon, 1, "", 1, 0, false}},
    {"greatsword", {"Greatsword", Weapon, 2, "", 1, 0, false}},
    {"shield", {"Shield", Shield, 1, "", 1, 0, false}},
    {"staff", {"Staff", Staff, 1, "", 1, 0, false}},
    {"orb", {"Orb", Orb, 0, "", 1, 0, false}},
    {"heavy helm", {"Heavy Helm", Helm, 0, "", 1, 0, true}},
    {"heavy orb", {"Heavy Orb", Orb, 0, "", 1, 0, true}},
    {"torch", {"Torch", Misc, 1, "", 2, 5, true}},
    {"arrows", {"Arrows", Ammo, 0, "arrow", 15, 20, false}},
    {"full arrows", {"Arrows", Ammo, 0, "arrow", 20, 20, false}},
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
        Hero->Recalculate_Stats();
        Set_Player(Hero);
    }
    void TearDown() override {
        Set_Held_Item_Id(0);
        Set_Player(nullptr);
        TMap_Fixture::TearDown();
    }

    // A new item of the map from its prototype; every unit weighs 2.
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
    void Fill(const TSlots& slots) {
        for (const auto& [slot, name] : slots) ASSERT_TRUE(Hero->Put_Item_In_Slot(Make(name), slot));
    }
    void Hold(TItem* item) {
        Set_Held_Item(item);
        Hero->Recalculate_Stats();
    }
    // The slot's item as "name quantity"; "-" when empty.
    std::string Slot_Text(int slot) const {
        const TItem* item = Hero->Item_In_Slot(slot);
        return item ? item->Name + " " + std::to_string(item->Quantity) : "-";
    }
    std::string Held_Text() const {
        const TItem* item = Get_Held_Item();
        return item ? item->Name + " " + std::to_string(item->Quantity) : "-";
    }
    int Live_Items() const {
        int n = 0;
        for (uint16_t id = 1; id <= Map->Item_List.Count(); ++id) n += Map->Item_List.Item(id) != nullptr;
        return n;
    }
    // Every live item is in exactly one place (a slot, the cursor or the player's square), and the player's
    // load counts the held item.
    void Expect_Every_Item_Once(const std::string& where) {
        std::multiset<uint16_t> places;
        for (int n = 1; n <= Hero->Inventory.Count(); ++n) places.insert(Hero->Inventory.Contents().Id(n));
        if (Held_Item_Id() != 0) places.insert(Held_Item_Id());
        if (const TItem* floor = Map->Get_Square(100, 100)->Get_Top_Item()) places.insert(floor->Id);
        std::multiset<uint16_t> live;
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
        bool two_weapons;
        bool may;
    };
    const TCase cases[] = {
        // The slot must take the item's kind; the backpack takes every kind.
        {"helm on the head", "helm", 1, 1, {}, false, true},
        {"helm on the neck", "helm", 1, 2, {}, false, false},
        {"amulet on the neck", "amulet", 1, 2, {}, false, true},
        {"boots on the feet", "boots", 1, 5, {}, false, true},
        {"gloves on the hands", "gloves", 1, 10, {}, false, true},
        {"ring on the first finger", "ring", 1, 8, {}, false, true},
        {"ring on the second finger", "ring", 1, 9, {}, false, true},
        {"ring on the hands", "ring", 1, 10, {}, false, false},
        {"sword in the first hand", "sword", 1, 6, {}, false, true},
        {"sword in the second hand", "sword", 1, 7, {}, false, true},
        {"sword on the feet", "sword", 1, 5, {}, false, false},
        {"potion in a hand", "potion", 1, 6, {}, false, false},
        {"potion in the first backpack slot", "potion", 1, 11, {}, false, true},
        {"helm in the last backpack slot", "helm", 1, 90, {}, false, true},
        {"slot past the backpack", "helm", 1, 91, {}, false, false},
        {"slot 0", "helm", 1, 0, {}, false, false},
        {"orb on the head", "orb", 1, 1, {}, false, false},
        {"orb in the backpack", "orb", 1, 50, {}, false, true},
        // Hands.
        {"two-handed beside a shield", "greatsword", 1, 6, {{7, "shield"}}, false, false},
        {"two-handed with the other hand empty", "greatsword", 1, 6, {}, false, true},
        {"two-handed swapping the sword of its own hand", "greatsword", 1, 6, {{6, "sword"}}, false, true},
        {"shield beside a two-handed weapon", "shield", 1, 7, {{6, "greatsword"}}, false, false},
        {"shield beside a sword", "shield", 1, 6, {{7, "sword"}}, false, true},
        {"sword beside a staff", "sword", 1, 6, {{7, "staff"}}, false, true},
        {"second sword without the skill", "sword", 1, 7, {{6, "sword"}}, false, false},
        {"second sword with the skill", "sword", 1, 7, {{6, "sword"}}, true, true},
        {"two-handed beside a sword even with the skill", "greatsword", 1, 7, {{6, "sword"}}, true, false},
        {"backpack beside a two-handed weapon", "sword", 1, 11, {{6, "greatsword"}}, false, true},
        // Requirements where the item acts, at the item's level.
        {"heavy helm met at level 1", "heavy helm", 1, 1, {}, false, true},
        {"heavy helm unmet at level 2", "heavy helm", 2, 1, {}, false, false},
        {"heavy helm unmet in the backpack", "heavy helm", 2, 11, {}, false, true},
        {"heavy orb unmet in the backpack", "heavy orb", 2, 11, {}, false, false},
        {"heavy orb met in the backpack", "heavy orb", 1, 11, {}, false, true},
        // A stack with room overrides everything else.
        {"unmet torch onto a torch stack", "torch", 3, 6, {{6, "torch"}}, false, true},
        {"torch onto a torch stack beside a two-handed weapon",
         "torch",
         1,
         7,
         {{7, "torch"}, {6, "greatsword"}},
         false,
         true},
        {"unmet torch into an empty hand", "torch", 3, 6, {}, false, false},
        {"arrows onto arrows in a hand", "arrows", 1, 6, {{6, "arrows"}}, false, true},
        {"other arrows of the kind onto arrows in a hand",
         "elven arrows",
         1,
         6,
         {{6, "arrows"}},
         false,
         true},
        {"bolts onto arrows in a hand", "bolts", 1, 6, {{6, "arrows"}}, false, false},
        {"unnamed ammo onto other unnamed ammo in a hand", "stones", 1, 6, {{6, "pebbles"}}, false, false},
    };
    for (const TCase& c : cases) {
        Map->Item_List.Clear();
        Hero->Inventory.Clear();
        Hero->Permanent_Effects.Clear();
        if (c.two_weapons) Hero->Permanent_Effects.Add_Effect(Effect_Two_Weapons, 1, 1);
        Fill(c.carried);
        Hero->Recalculate_Stats();
        EXPECT_EQ(Can_Place_Item(Make(c.item, c.level), c.slot), c.may) << c.what;
    }

    // A full stack, and one that does not stack, override nothing.
    Map->Item_List.Clear();
    Hero->Inventory.Clear();
    Fill({{6, "torch"}});
    TItem* in_hand = Hero->Item_In_Slot(6);
    in_hand->Quantity = in_hand->Max_Stack;
    EXPECT_FALSE(Can_Place_Item(Make("torch", 3), 6));
    in_hand->Quantity = 1;
    in_hand->Max_Stack = 0;
    EXPECT_FALSE(Can_Place_Item(Make("torch", 3), 6));
    in_hand->Max_Stack = 5;
    EXPECT_TRUE(Can_Place_Item(Make("torch", 3), 6));
    // An item never stacks onto itself: the torch in the hand is judged as any other torch.
    in_hand->Item_Level = 3;
    EXPECT_FALSE(Can_Place_Item(in_hand, 6));
    EXPECT_FALSE(Can_Place_Item(nullptr, 11));
    Set_Player(nullptr);
    EXPECT_FALSE(Can_Place_Item(Make("helm"), 11));
}

TEST_F(HeldItemRulesTest, PuttingTheHeldItemDown) {
    struct TCase {
        const char* what;
        const char* held;
        uint16_t held_quantity;
        int slot;
        TSlots carried;
        const char* slot_after; // "name quantity" of the slot's item
        const char* held_after;
        bool deleted; // the held item went wholly onto the stack
        std::vector<std::string> sounds;
    };
    const std::vector<std::string> put = {"put_down.wav"}, none = {};
    const TCase cases[] = {
        {"part of a stack fits", "arrows", 8, 11, {{11, "arrows"}}, "arrows 20", "arrows 3", false, none},
        {"all of a stack fits exactly", "arrows", 5, 11, {{11, "arrows"}}, "arrows 20", "-", true, put},
        {"quantity 0 is one unit", "arrows", 0, 11, {{11, "arrows"}}, "arrows 16", "-", true, put},
        {"onto a full stack they swap",
         "arrows",
         8,
         11,
         {{11, "full arrows"}},
         "arrows 8",
         "full arrows 20",
         false,
         put},
        {"a magic variant of the class joins",
         "full arrows",
         2,
         11,
         {{11, "arrows"}},
         "arrows 17",
         "-",
         true,
         put},
        {"ammo of the kind joins", "elven arrows", 3, 11, {{11, "arrows"}}, "arrows 18", "-", true, put},
        {"ammo of another kind swaps", "bolts", 3, 11, {{11, "arrows"}}, "bolts 3", "arrows 15", false, put},
        {"a sword swaps with unnamed ammo",
         "sword",
         1,
         11,
         {{11, "pebbles"}},
         "sword 1",
         "pebbles 10",
         false,
         put},
        {"unnamed ammo swaps with unnamed ammo",
         "stones",
         3,
         11,
         {{11, "pebbles"}},
         "stones 3",
         "pebbles 10",
         false,
         put},
        {"into an empty hand", "sword", 1, 6, {}, "sword 1", "-", false, put},
        {"a two-handed weapon swaps with a sword",
         "greatsword",
         1,
         6,
         {{6, "sword"}},
         "greatsword 1",
         "sword 1",
         false,
         put},
        {"refused", "helm", 1, 2, {{2, "amulet"}}, "amulet 1", "helm 1", false, none},
        {"refused by the other hand", "greatsword", 1, 6, {{7, "shield"}}, "-", "greatsword 1", false, none},
    };
    for (const TCase& c : cases) {
        Map->Item_List.Clear();
        Hero->Inventory.Clear();
        Fill(c.carried);
        TItem* held = Make(c.held);
        held->Quantity = c.held_quantity;
        const uint16_t held_id = held->Id;
        Hold(held);
        const int before = Live_Items();
        Sounds->Played.clear();

        Put_Down_Held_Item(c.slot);
        EXPECT_EQ(Slot_Text(c.slot), c.slot_after) << c.what;
        EXPECT_EQ(Held_Text(), c.held_after) << c.what;
        EXPECT_EQ(Sounds->Names(), c.sounds) << c.what;
        EXPECT_EQ(Live_Items(), before - c.deleted) << c.what;
        EXPECT_EQ(Map->Item_List.Item(held_id) == nullptr, c.deleted) << c.what;
        Expect_Every_Item_Once(c.what);
    }

    // Nothing held: nothing happens.
    Hold(nullptr);
    Sounds->Played.clear();
    Put_Down_Held_Item(11);
    EXPECT_EQ(Slot_Text(11), "-");
    EXPECT_TRUE(Sounds->Played.empty());
}

// The slot's item came out for a swap, but the slot still holds another item (two in one slot, from an
// old file): the held item stays held and the one that came out goes back to the player.
TEST_F(HeldItemRulesTest, SwapThatFailsKeepsBothItems) {
    struct TCase {
        const char* what;
        bool backpack_full;
        bool out_in_backpack;
        bool out_on_floor;
    };
    const TCase cases[] = {
        {"room in the backpack", false, true, false},
        {"backpack full", true, false, true},
    };
    for (const TCase& c : cases) {
        Map->Item_List.Clear();
        Map->Get_Square(100, 100)->Item_Field = 0;
        TItem* under = Make("sword");
        TItem* out = Make("staff");
        TWordList ids;
        TbyteList slots;
        ids.Add(under->Id);
        slots.Add(6);
        ids.Add(out->Id);
        slots.Add(6);
        if (c.backpack_full) {
            for (int slot = 11; slot <= 90; ++slot) {
                ids.Add(Make("potion")->Id);
                slots.Add(static_cast<uint8_t>(slot));
            }
        }
        TStream_Writer w;
        Write_Word_List(w, ids);
        Write_Byte_List(w, slots);
        TStream_Reader r(w.Bytes());
        ASSERT_TRUE(Hero->Inventory.Load_From_Stream(r));
        ASSERT_EQ(Hero->Item_In_Slot(6), out);
        TItem* held = Make("shield");
        Hold(held);
        Sounds->Played.clear();

        Put_Down_Held_Item(6);
        EXPECT_EQ(Get_Held_Item(), held) << c.what;
        EXPECT_EQ(Hero->Item_In_Slot(6), under) << c.what;
        EXPECT_EQ(Hero->Item_In_Slot(11) == out, c.out_in_backpack) << c.what;
        EXPECT_EQ(Map->Get_Square(100, 100)->Get_Top_Item() == out, c.out_on_floor) << c.what;
        EXPECT_TRUE(Sounds->Played.empty()) << c.what;
        Expect_Every_Item_Once(c.what);
    }
}

TEST_F(HeldItemRulesTest, PressOnASlot) {
    constexpr int Left = 1, Right = 2, Shift_Right = 16, Shift_Ctrl = 4;
    struct TCase {
        const char* what;
        int button;
        int shift;
        bool holding;
        bool slot_full;
        const char* slot_after;
        const char* held_after;
        std::vector<std::string> sounds;
    };
    const TCase cases[] = {
        {"left picks up", Left, Shift_Left_Button, false, true, "-", "sword 1", {"pick_up.wav"}},
        {"left with ctrl picks up",
         Left,
         Shift_Left_Button | Shift_Ctrl,
         false,
         true,
         "-",
         "sword 1",
         {"pick_up.wav"}},
        {"left puts down", Left, Shift_Left_Button, true, false, "helm 1", "-", {"put_down.wav"}},
        {"left swaps", Left, Shift_Left_Button, true, true, "helm 1", "sword 1", {"put_down.wav"}},
        {"left on an empty slot", Left, Shift_Left_Button, false, false, "-", "-", {}},
        {"right holding", Right, Shift_Right, true, true, "sword 1", "helm 1", {}},
        {"right not holding", Right, Shift_Right, false, true, "sword 1", "-", {}},
        {"left button without its shift bit", Left, 0, false, true, "sword 1", "-", {}},
    };
    for (const TCase& c : cases) {
        Map->Item_List.Clear();
        Hero->Inventory.Clear();
        if (c.slot_full) Fill({{11, "sword"}});
        Hold(c.holding ? Make("helm") : nullptr);
        Sounds->Played.clear();
        int refreshed = 0;
        TCallback_Set callbacks;
        callbacks.On_Refresh_Spells = [&refreshed] { ++refreshed; };

        Inventory_Slot_Click(c.button, c.shift, 11, callbacks);
        EXPECT_EQ(Slot_Text(11), c.slot_after) << c.what;
        EXPECT_EQ(Held_Text(), c.held_after) << c.what;
        EXPECT_EQ(Sounds->Names(), c.sounds) << c.what;
        EXPECT_EQ(refreshed, 1) << c.what;
        Expect_Every_Item_Once(c.what);
    }

    // An unassigned refresh is skipped; without a player nothing happens, not even the refresh.
    Map->Item_List.Clear();
    Hero->Inventory.Clear();
    Fill({{11, "sword"}});
    Hold(nullptr);
    Inventory_Slot_Click(Left, Shift_Left_Button, 11, TCallback_Set{});
    EXPECT_EQ(Held_Text(), "sword 1");
    Put_Down_Held_Item(11);
    Set_Player(nullptr);
    int refreshed = 0;
    TCallback_Set callbacks;
    callbacks.On_Refresh_Spells = [&refreshed] { ++refreshed; };
    Inventory_Slot_Click(Left, Shift_Left_Button, 11, callbacks);
    EXPECT_EQ(refreshed, 0);
    EXPECT_EQ(Slot_Text(11), "sword 1");
    EXPECT_EQ(Held_Text(), "-");
}

// Any run of presses keeps every item in one place, the load counting the cursor, and no unit of a stack
// gained or lost.
TEST_F(HeldItemRulesTest, PressesKeepEveryItemOnce) {
    Fill({{1, "helm"},
          {6, "sword"},
          {11, "greatsword"},
          {12, "shield"},
          {13, "arrows"},
          {14, "arrows"},
          {15, "elven arrows"},
          {16, "ring"},
          {17, "torch"},
          {7, "torch"}});
    Hero->Recalculate_Stats();
    const int slots[] = {1, 2, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18};
    auto arrow_units = [this] {
        int units = 0;
        for (int n = 1; n <= Hero->Inventory.Count(); ++n)
            if (const TItem* item = Hero->Inventory.Contents().Item(n); item && item->Ammo_Type == "arrow")
                units += item->Quantity;
        const TItem* held = Get_Held_Item();
        return units + (held && held->Ammo_Type == "arrow" ? held->Quantity : 0);
    };
    const int units = arrow_units();
    uint32_t seed = 12345;
    for (int press = 0; press < 400; ++press) {
        seed = seed * 1103515245u + 12345u;
        const int slot = slots[(seed >> 16) % std::size(slots)];
        Inventory_Slot_Click(1, Shift_Left_Button, slot, TCallback_Set{});
        Expect_Every_Item_Once("press " + std::to_string(press) + " on " + std::to_string(slot));
        ASSERT_EQ(arrow_units(), units) << "press " << press;
    }
    EXPECT_LT(Live_Items(), 10); // the run merged stacks, not only swapped them
}

// A stale id on the cursor is nothing held, and taking the item empties the cursor.
TEST_F(HeldItemRulesTest, TheCursor) {
    TItem* helm = Make("helm");
    const uint16_t id = helm->Id;
    EXPECT_FALSE(Is_Holding_Item());
    Set_Held_Item(helm);
    EXPECT_TRUE(Is_Holding_Item());
    EXPECT_EQ(Take_Held_Item(), helm);
    EXPECT_FALSE(Is_Holding_Item());
    EXPECT_EQ(Take_Held_Item(), nullptr);
    Set_Held_Item(helm);
    Map->Item_List.Delete_Id(id);
    EXPECT_FALSE(Is_Holding_Item());
    EXPECT_EQ(Take_Held_Item(), nullptr);
    EXPECT_EQ(Held_Item_Id(), 0);
}
