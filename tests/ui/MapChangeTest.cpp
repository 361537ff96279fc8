#include "platform/PathLayer.h"
#include "tests/ui/TickFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using TConnections = std::vector<TModule_Map_Connection>;

struct TConnection_Case {
    const char* Name;
    TConnections Map_1, Map_2;
    int32_t Map, X, Y; // where the player stands
    std::optional<TConnection_Destination> Expected;
    std::vector<bool> Used_1, Used_2; // the Used flags afterwards
};

class Connections : public TTick_Fixture {};

TEST_F(Connections, ForwardThenBackByTypeAndUse) {
    const auto c = [](uint16_t destination, uint16_t ex, uint16_t ey, uint16_t dx, uint16_t dy, uint8_t type,
                      bool used = false) { return Connection(destination, ex, ey, dx, dy, type, used); };
    const std::vector<TConnection_Case> cases = {
        {"type 1 forward", {c(2, 5, 5, 7, 8, 1)}, {}, 1, 5, 5, TConnection_Destination{2, 7, 8}, {true}, {}},
        {"type 1 back", {}, {c(1, 5, 5, 7, 8, 1)}, 1, 7, 8, TConnection_Destination{2, 5, 5}, {}, {true}},
        {"type 2 forward unused", {c(2, 5, 5, 7, 8, 2)}, {}, 1, 5, 5, std::nullopt, {false}, {}},
        {"type 2 forward used",
         {c(2, 5, 5, 7, 8, 2, true)},
         {},
         1,
         5,
         5,
         TConnection_Destination{2, 7, 8},
         {true},
         {}},
        {"type 2 back", {}, {c(1, 5, 5, 7, 8, 2)}, 1, 7, 8, TConnection_Destination{2, 5, 5}, {}, {true}},
        {"type 3 forward", {c(2, 5, 5, 7, 8, 3)}, {}, 1, 5, 5, TConnection_Destination{2, 7, 8}, {true}, {}},
        {"type 3 back unused", {}, {c(1, 5, 5, 7, 8, 3)}, 1, 7, 8, std::nullopt, {}, {false}},
        {"type 3 back used",
         {},
         {c(1, 5, 5, 7, 8, 3, true)},
         1,
         7,
         8,
         TConnection_Destination{2, 5, 5},
         {},
         {true}},
        {"type 4 forward", {c(2, 5, 5, 7, 8, 4)}, {}, 1, 5, 5, TConnection_Destination{2, 7, 8}, {true}, {}},
        {"type 4 never back", {}, {c(1, 5, 5, 7, 8, 4, true)}, 1, 7, 8, std::nullopt, {}, {true}},
        {"unknown type",
         {c(2, 5, 5, 7, 8, 0)},
         {c(1, 6, 6, 5, 5, 5)},
         1,
         5,
         5,
         std::nullopt,
         {false},
         {false}},
        {"another square", {c(2, 5, 6, 7, 8, 1)}, {}, 1, 5, 5, std::nullopt, {false}, {}},
        {"the later of two wins, both used",
         {c(2, 5, 5, 7, 8, 1), c(2, 5, 5, 9, 9, 3)},
         {},
         1,
         5,
         5,
         TConnection_Destination{2, 9, 9},
         {true, true},
         {}},
        {"a way forward leaves the way back alone",
         {c(2, 5, 5, 7, 8, 1)},
         {c(1, 3, 3, 5, 5, 1)},
         1,
         5,
         5,
         TConnection_Destination{2, 7, 8},
         {true},
         {false}},
        {"back from the second map",
         {c(2, 5, 5, 7, 8, 1)},
         {},
         2,
         7,
         8,
         TConnection_Destination{1, 5, 5},
         {true},
         {}},
        {"destination map beyond the count", {c(3, 5, 5, 7, 8, 1)}, {}, 1, 5, 5, std::nullopt, {true}, {}},
        {"destination map 0", {c(0, 5, 5, 7, 8, 1)}, {}, 1, 5, 5, std::nullopt, {true}, {}},
        {"destination square 0", {c(2, 5, 5, 0, 8, 1)}, {}, 1, 5, 5, std::nullopt, {true}, {}},
        {"destination square 201", {c(2, 5, 5, 7, 201, 1)}, {}, 1, 5, 5, std::nullopt, {true}, {}},
        {"destination square 200",
         {c(2, 5, 5, 200, 200, 1)},
         {},
         1,
         5,
         5,
         TConnection_Destination{2, 200, 200},
         {true},
         {}},
        {"current map beyond the count", {c(2, 5, 5, 7, 8, 1)}, {}, 3, 5, 5, std::nullopt, {false}, {}},
    };
    for (const TConnection_Case& t : cases) {
        SCOPED_TRACE(t.Name);
        Module()->Maps[0].Connections = t.Map_1;
        Module()->Maps[1].Connections = t.Map_2;
        EXPECT_EQ(Find_Connection_Destination(*Module(), t.Map, t.X, t.Y), t.Expected);
        std::vector<bool> used_1, used_2;
        for (const auto& connection : Module()->Maps[0].Connections) used_1.push_back(connection.Used);
        for (const auto& connection : Module()->Maps[1].Connections) used_2.push_back(connection.Used);
        EXPECT_EQ(used_1, t.Used_1);
        EXPECT_EQ(used_2, t.Used_2);
    }
}

class Map_Change : public TTick_Fixture {
protected:
    // The player carries a sword in his hand and a potion in the backpack, holds a gem on the cursor and
    // leads a dog that carries a bone; a rat of his map stays behind. Weapon set 1 names the sword.
    void Furnish() {
        Add_Item("filler"); // item ids on map 1 start above those map 2 gives
        TItem* sword = Add_Item("sword");
        ASSERT_TRUE(Hero->Inventory.Put_In_Slot(sword, 6));
        ASSERT_TRUE(Hero->Inventory.Put_In_Slot(Add_Item("potion"), 40));
        Set_Held_Item(Add_Item("gem"));
        Dog = Add_Creature(11, 10, "dog");
        Dog->Leader_Id = static_cast<int16_t>(Hero->Id);
        ASSERT_TRUE(Dog->Inventory.Put_In_Slot(Add_Item("bone"), 20));
        Add_Creature(30, 30, "rat");
        Game_Options()->Weapon_Sets[0].First_Item_Name = "sword";
        Game_Options()->Weapon_Sets[0].First_Item_Id = sword->Id;
        Map->Get_Square(10, 11)->Set_Entrance(true);
        Module()->Maps[0].Connections = {Connection(2, 10, 11, 50, 60, 1)};
    }
    static std::string Item_Name(uint16_t id) {
        const TItem* item = Find_Item(id);
        return item ? item->Name : "<none>";
    }
    // What a creature of the current map carries, as "slot:name" in inventory order.
    static std::vector<std::string> Carried(const TMonster& creature) {
        std::vector<std::string> carried;
        for (int32_t n = 1; n <= creature.Inventory.Count(); ++n)
            carried.push_back(std::to_string(creature.Inventory.Slot_At(n)) + ":" +
                              Item_Name(creature.Inventory.Contents().Id(n)));
        return carried;
    }
    static const TMonster* Creature_Named(const TMap& map, const std::string& name) {
        for (int id = 1; id <= map.Monster_List.Get_Count(); ++id)
            if (const TMonster* c = map.Monster_List.Get_Monster(static_cast<size_t>(id));
                c && c->Name == name)
                return c;
        return nullptr;
    }
    TMonster* Dog = nullptr;
};

TEST_F(Map_Change, EveryoneArrivesWithWhatTheyCarryUnderNewIds) {
    Furnish();
    Write_Map_2({"junk 1", "junk 2", "junk 3", "junk 4", "junk 5", "junk 6", "junk 7"}, 50, 60);
    Hero->Level = 4;

    // The step onto the entrance is the player's walk command.
    EXPECT_FALSE(Tick.Do_Player_Action(Command_Walk, 10, 11));

    TMap* map = Current_Map();
    ASSERT_NE(map, Map);
    TMonster* player = Player();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->Name, "hero");
    EXPECT_EQ(map->Monster_List.Get_Monster(player->Id), player);
    // The guard keeps the arrival square; the player stands next to it.
    const TMonster* guard = Creature_Named(*map, "guard");
    ASSERT_NE(guard, nullptr);
    EXPECT_EQ(map->Get_Square(50, 60)->Monster_Id, guard->Id);
    EXPECT_EQ(TMap::Get_Range(player->X, player->Y, 50, 60), 1);
    EXPECT_EQ(map->Get_Square(player->X, player->Y)->Monster_Id, player->Id);
    EXPECT_EQ(Module()->Current_Map, 2);
    EXPECT_EQ(Module()->Current_X, player->X);
    EXPECT_EQ(Module()->Current_Y, player->Y);
    EXPECT_EQ(Game_Options()->Entry_Level, 4);

    EXPECT_EQ(Carried(*player), (std::vector<std::string>{"6:sword", "40:potion"}));
    EXPECT_EQ(Item_Name(Game_Options()->Weapon_Sets[0].First_Item_Id), "sword");
    EXPECT_EQ(player->Item_In_Slot(6)->Id, Game_Options()->Weapon_Sets[0].First_Item_Id);
    EXPECT_EQ(Item_Name(Held_Item_Id()), "gem");
    const TMonster* dog = Creature_Named(*map, "dog");
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(dog->Leader_Id, player->Id);
    EXPECT_EQ(TMap::Get_Range(dog->X, dog->Y, player->X, player->Y) <= 10, true);
    EXPECT_EQ(map->Get_Square(dog->X, dog->Y)->Monster_Id, dog->Id);
    EXPECT_EQ(Carried(*dog), (std::vector<std::string>{"20:bone"}));
    EXPECT_EQ(Creature_Named(*map, "rat"), nullptr);
    // The items of map 2 are untouched: every item of the list is named once.
    std::vector<std::string> names;
    for (int id = 1; id <= map->Item_List.Count(); ++id)
        if (const TItem* item = map->Item_List.Item(static_cast<uint16_t>(id))) names.push_back(item->Name);
    EXPECT_EQ(names.size(), 11u);

    // The old map was saved without the travellers and their items; the rat stayed.
    TMap saved;
    std::string bytes;
    ASSERT_TRUE(plat::Read_File(Current + "1.map", bytes));
    TStream_Reader r(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    ASSERT_TRUE(Read_Map_File_Body(r, saved, "1.map"));
    EXPECT_EQ(Creature_Named(saved, "hero"), nullptr);
    EXPECT_EQ(Creature_Named(saved, "dog"), nullptr);
    EXPECT_NE(Creature_Named(saved, "rat"), nullptr);
    std::vector<std::string> left;
    for (int id = 1; id <= saved.Item_List.Count(); ++id)
        if (const TItem* item = saved.Item_List.Item(static_cast<uint16_t>(id))) left.push_back(item->Name);
    EXPECT_EQ(left, std::vector<std::string>{"filler"});

    EXPECT_EQ(Progress->Calls,
              (std::vector<std::string>{"open Загрузка...", "10", "20", "40", "60", "70", "close"}));
    EXPECT_EQ(Display->Calls, (std::vector<std::string>{"bitmaps 2.map"}));
    EXPECT_EQ(Host.Calls, (std::vector<std::string>{"music song2.mid", "spell buttons"}));
}

TEST_F(Map_Change, AFailedLoadLeavesThePlayerWhereHeStood) {
    Furnish();
    // No file for map 2.
    EXPECT_FALSE(Tick.Do_Player_Action(Command_Walk, 10, 11));
    ASSERT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(Messages->Messages[0].Text, "Unable to load map file \"" + Current + "2.map\".");
    TMonster* player = Player();
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(std::pair(int(player->X), int(player->Y)), std::pair(10, 11));
    EXPECT_EQ(Current_Map()->Get_Square(10, 11)->Monster_Id, player->Id);
    EXPECT_EQ(Module()->Current_Map, 1);
    EXPECT_EQ(Carried(*player), (std::vector<std::string>{"6:sword", "40:potion"}));
    EXPECT_EQ(Item_Name(Held_Item_Id()), "gem");
    EXPECT_NE(Creature_Named(*Current_Map(), "rat"), nullptr);
    const TMonster* dog = Creature_Named(*Current_Map(), "dog");
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(Carried(*dog), (std::vector<std::string>{"20:bone"}));
}

TEST_F(Map_Change, NoConnectionChangesNothing) {
    Furnish();
    Module()->Maps[0].Connections = {Connection(2, 10, 11, 50, 60, 2)}; // not yet usable from here
    Write_Map_2({}, 80, 80);
    // He stands on the entrance, which leads nowhere yet.
    EXPECT_FALSE(Tick.Do_Player_Action(Command_Walk, 10, 11));
    EXPECT_EQ(std::pair(int(Hero->X), int(Hero->Y)), std::pair(10, 11));
    EXPECT_EQ(Current_Map(), Map);
    EXPECT_EQ(Player(), Hero);
    EXPECT_TRUE(Progress->Calls.empty());
    EXPECT_FALSE(plat::Is_Regular_File(Current + "1.map"));
}

} // namespace
