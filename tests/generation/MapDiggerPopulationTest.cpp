// The digger's population of a stamped layout: placement squares and their cursor, the tiles' own and the
// random items and creatures, monster groups around their leaders, stores, chests and the outer border.
#include "core/DebugLog.h"
#include "core/Item.h"
#include "core/Monster.h"
#include "core/NameTables.h"
#include "core/Path.h"
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterGroups.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassStore.h"
#include "generation/RndDigPopulate.h"
#include "tests/generation/DiggerTestSupport.h"

#include <set>

namespace {

using TSquares = std::vector<TSquare_Position>;
const uint8_t Weapon = static_cast<uint8_t>(Find_Code(Item_Type_Names, "Weapon"));
using TAsked = std::vector<std::pair<int32_t, int32_t>>;

class MapDiggerPopulation : public TDigger_Test {
protected:
    void SetUp() override {
        TDigger_Test::SetUp();
        Floor = Add_Terrain("Floor", "floor, stone");
        Grass = Add_Terrain("Grass", "floor, grass");
        Rock = Add_Terrain("Rock", "ceiling, rock");
        Chest = Add_Terrain("Chest", "chest");
        Map->Terrain_List.Terrain(Chest)->Display_Chest_Window = true;
        Map->Terrain_List.Terrain(Rock)->Movement_Flags = 0;
        Create_Game_Options();
        Tile_Classes().Info = std::make_unique<TTile_Class_Info>();
        Tile_Classes().Info->Tile_Square_Width = 17;
        Tile_Classes().Info->Tile_Square_Height = 17;
        Build_Terrain_Symbol_Tables();
        TDig_Context& dig = Dig_Context();
        dig = TDig_Context();
        dig.Reset_Grid(10, 10);
        dig.X0 = dig.Y0 = 15;
        dig.Map_Index = 1;
        dig.Map_File_Name = "Test_Tiles.txt";
        dig.Params.Place_Random_Items = dig.Params.Place_Random_Monsters = false;
        dig.Params.Monster_Groups_Min = dig.Params.Monster_Groups_Max = 0;
    }
    void TearDown() override {
        Set_Log_Observer(nullptr);
        Free_Terrain_Symbol_Tables();
        Free_Monster_Groups();
        Free_Monster_Modifiers();
        Free_Store_Classes();
        TDigger_Test::TearDown();
    }
    // A tile of rock with the given squares ('.' stone floor, 'g' grass, 'C' chest) at (column, row) from 0.
    int32_t Add_Tile(const std::vector<std::tuple<int, int, char>>& squares,
                     TString_List monsters = {"stone"}, TString_List items = {"grass"}) {
        auto tile = std::make_unique<TTile_Class>();
        tile->Rows.assign(17, std::u32string(17, U'#'));
        for (const auto& [c, r, symbol] : squares)
            tile->Rows[static_cast<size_t>(r)][static_cast<size_t>(c)] = symbol;
        tile->Identifiers = {{".", {"stone"}}, {"g", {"grass"}}, {"#", {"rock"}}, {"C", {"chest"}}};
        tile->Allow_Random_Monsters = !monsters.empty();
        tile->Monster_Placement_Categories = monsters;
        tile->Allow_Random_Items = !items.empty();
        tile->Item_Placement_Categories = items;
        Tile_Classes().Tiles.push_back(std::move(tile));
        return Tile_Classes().Count();
    }
    TTile_Class& Tile(int32_t i) { return *Tile_Classes().Get(i); }
    // Puts the tile into the cell and stamps every cell.
    void Place(int32_t x, int32_t y, int32_t tile) {
        Dig_Context().Cell(x, y).Tile = tile;
        Stamp_Dug_Cells(Dig_Context(), nullptr, nullptr);
    }
    TDig_Parameters& Params() { return Dig_Context().Params; }
    const TMonster_Class& Add_Monster_Class(const std::string& name, int32_t chance = 10,
                                            const std::string& group = "Vermin") {
        TMonster_Class c;
        c.Name = name;
        c.Health_Min = c.Health_Max = 5;
        c.Appearance_Chance = chance;
        c.Monster_Group = group;
        return *Monsters.Get_Class(Monsters.Add_Class(c));
    }
    void Add_Item_Class(const std::string& name, uint8_t type, bool random = true, uint16_t level = 1,
                        const std::string& group = "") {
        TItem_Class c;
        c.Class_Name = c.Name = name;
        c.Item_Type = type;
        c.Random_Appearance = random;
        c.Item_Level_Min = level;
        c.Item_Group = group;
        Items.Add_Class(c);
    }
    std::vector<std::string> Creatures() const {
        std::vector<std::string> names;
        for (int n = 1; n <= Map->Monster_List.Get_Count(); ++n)
            if (const TMonster* c = Map->Monster_List.Get_Monster(static_cast<size_t>(n)))
                names.push_back(c->Name);
        return names;
    }
    const TMonster* Creature_At(int32_t x, int32_t y) const {
        return Map->Monster_List.Get_Monster(Map->Get_Square(x, y)->Monster_Id);
    }
    std::string Item_Name(uint16_t id) const {
        return Map->Item_List.Item(id) ? Map->Item_List.Item(id)->Name : "";
    }

    uint16_t Floor = 0, Grass = 0, Rock = 0, Chest = 0;
    TMonster_Class_List Monsters;
    TCurrent_Monster_Class_List_Guard Monsters_Current{Monsters};
    TItem_Class_List Items;
    TCurrent_Item_Class_List_Guard Items_Current{Items};
    TString_List Errors;
};

} // namespace

TEST_F(MapDiggerPopulation, PlacementSquaresComeFromTheDrawnTerrainAndAreShuffledThreeTimes) {
    const int32_t both = Add_Tile({{0, 1, '.'}, {2, 0, '.'}, {1, 1, 'g'}});
    const int32_t items_only = Add_Tile({{0, 0, 'g'}, {3, 3, '.'}}, {});
    // "floor" fits stone and grass: grass is drawn for the cell. Lava fits nothing: not the rock around it
    // either, nor squares without terrain.
    const int32_t drawn = Add_Tile({{0, 0, '.'}, {0, 1, 'g'}, {5, 5, 'x'}}, {"floor"}, {"lava"});
    // Random placement allowed without categories: no terrain is drawn, no square offered.
    const int32_t no_categories = Add_Tile({{0, 0, '.'}, {1, 0, 'g'}}, {"stone"}, {"grass"});
    Tile(no_categories).Monster_Placement_Categories.clear();
    Tile(no_categories).Item_Placement_Categories.clear();
    Dig_Context().Cell(5, 5).Tile = no_categories;
    Dig_Context().Cell(1, 1).Tile = both;
    Dig_Context().Cell(1, 2).Tile = items_only;
    Place(2, 1, drawn);

    TScripted_Rolls rolls({2, 1, 2, 3, 1, 2, 3, 1, 2, 3, 2, 2, 1, 1, 1, 1});
    Collect_Placement_Squares(Dig_Context());
    // Cells column by column, each tile's columns outer. The item list's passes swap 0 with 1, then back and
    // forth: (2, 2), (1, 1), (1, 1) leaves the two swapped.
    EXPECT_EQ(Dig_Context().Monster_Squares, (TSquares{{15, 16}, {17, 15}, {32, 16}}));
    EXPECT_EQ(Dig_Context().Item_Squares, (TSquares{{15, 32}, {16, 16}}));
    TAsked asked = {{1, 2}};
    for (int pass = 0; pass < 9; ++pass) asked.emplace_back(1, 3);
    for (int pass = 0; pass < 6; ++pass) asked.emplace_back(1, 2);
    EXPECT_EQ(rolls.Asked, asked);
}

TEST_F(MapDiggerPopulation, TheCursorNeverLooksAtASquareTwice) {
    const TSquares list = {{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}};
    Map->Get_Square(11, 10)->Monster_Id = 3;
    Map->Get_Square(12, 10)->Item_Field = 4;
    size_t cursor = 0;
    TSquare_Position square;
    ASSERT_TRUE(Pick_Free_Placement_Square(list, cursor, square));
    EXPECT_EQ(square, (TSquare_Position{10, 10}));
    Map->Get_Square(10, 10)->Monster_Id = 5; // taken now, and behind the cursor
    Map->Get_Square(11, 10)->Monster_Id = 0; // freed, but already passed over next
    ASSERT_TRUE(Pick_Free_Placement_Square(list, cursor, square));
    EXPECT_EQ(square, (TSquare_Position{11, 10}));
    ASSERT_TRUE(Pick_Free_Placement_Square(list, cursor, square));
    EXPECT_EQ(square, (TSquare_Position{13, 10}));
    EXPECT_EQ(cursor, 4u);
    Map->Get_Square(14, 10)->Item_Field = 1;
    EXPECT_FALSE(Pick_Free_Placement_Square(list, cursor, square));
    EXPECT_EQ(cursor, 5u);
    EXPECT_FALSE(Pick_Free_Placement_Square(list, cursor, square));
}

TEST_F(MapDiggerPopulation, TheTilesOwnItemsComeEvenWithoutRandomItems) {
    Add_Item_Class("Sword", Weapon);
    const int32_t tile = Add_Tile({{2, 3, 'g'}});
    Tile(tile).Specific_Items = {{"sword", 3, 4}, {"Sword", 3, 4}, {"Axe", 1, 1}};
    Place(2, 2, tile);
    Collect_Placement_Squares(Dig_Context());
    Params().Items_Min = Params().Items_Max = 5;
    Place_Map_Items(Dig_Context(), Errors);
    EXPECT_EQ(Errors, TString_List({"Could not locate item \"Axe\" on Map 1: Test_Tiles.txt."}));
    // Two items on one square make a pile; nothing random came.
    const TMap_Square& square = *Map->Get_Square(32 + 2, 32 + 3);
    ASSERT_TRUE(square.Is_Pile());
    EXPECT_EQ(Map->Get_Item_Pile(square.Item_Field)->Count(), 2);
    EXPECT_EQ(Map->Item_List.Count(), 2);
    EXPECT_EQ(Map->Item_List.List_Name(), "");
}

TEST_F(MapDiggerPopulation, RandomItemsComeFromTheEligibleClassesOntoFreeItemSquares) {
    Add_Item_Class("Sword", Weapon, true, 1, "Common");
    Add_Item_Class("Relic", Weapon, false);              // never at random
    Add_Item_Class("Great Sword", Weapon, true, 3);      // above the map's lowest level
    Add_Item_Class("Elf Bow", Weapon, true, 1, "Elven"); // another grouping
    Add_Item_Class("Oddity", 0);                         // no type
    Add_Item_Class("Coins", Item_Type_Gold, true, 2);
    Params().Item_Group_Filter = "Common";
    Params().Item_Level_Min = 2;
    const TItem_Type_Classes classes = Build_Random_Item_Classes(Params());
    for (int32_t type = 1; type <= 23; ++type) {
        std::vector<std::string> names;
        for (const TItem_Class* c : classes[static_cast<size_t>(type)]) names.push_back(c->Name);
        const std::vector<std::string> expected =
            type == Weapon
                ? std::vector<std::string>{"Sword"}
                : (type == Item_Type_Gold ? std::vector<std::string>{"Coins"} : std::vector<std::string>{});
        EXPECT_EQ(names, expected) << type;
    }

    // Nine grass squares, one already holding an item; ask for twelve items of a grouping every type has.
    for (uint8_t type = 1; type <= 23; ++type)
        Add_Item_Class("Thing " + std::to_string(type), type, true, 1, "Thing");
    Params().Item_Group_Filter = "Thing";
    Params().Item_Level_Min = 1; // the coins of level 2 drop out
    std::vector<std::tuple<int, int, char>> grass;
    for (int c = 0; c < 9; ++c) grass.emplace_back(c, 0, 'g');
    Place(1, 1, Add_Tile(grass));
    Map->Get_Square(15, 15)->Item_Field = 99;
    Collect_Placement_Squares(Dig_Context());
    Params().Place_Random_Items = true;
    Params().Items_Min = Params().Items_Max = 12;
    Place_Map_Items(Dig_Context(), Errors);
    EXPECT_TRUE(Errors.empty());
    EXPECT_EQ(Map->Item_List.List_Name(), Items.File_Name);
    EXPECT_EQ(Map->Item_List.Count(), 8);
    EXPECT_EQ(Map->Get_Square(15, 15)->Item_Field, 99);
    for (int c = 1; c < 9; ++c) {
        const TItem* item = Map->Get_Square(15 + c, 15)->Get_Top_Item();
        ASSERT_NE(item, nullptr) << c;
        EXPECT_EQ(item->Name.substr(0, 6), "Thing ");
    }
}

TEST_F(MapDiggerPopulation, ItemTypesFollowTheChanceGroupOrAnEvenDraw) {
    TModule_Chance_Group group;
    // Slots 0..29 Weapon, 30..49 Gold, 50..59 the last type; the rest none.
    group.Item_Type_Names = {"Gold", "Weapon", Item_Type_Name(23)};
    group.Item_Type_Percents.Add(20);
    group.Item_Type_Percents.Add(30);
    group.Item_Type_Percents.Add(10);
    Build_Item_Type_Table(group);
    struct TCase {
        bool With_Group;
        std::vector<int32_t> Rolls;
        int32_t Type;
    };
    const std::vector<TCase> cases = {
        {true, {30}, Weapon}, {true, {31}, Item_Type_Gold}, {true, {50}, Item_Type_Gold},
        {true, {60}, 23},     {true, {61, 23}, 23},         {true, {100, 1}, 1},
        {false, {7}, 7},
    };
    for (const TCase& c : cases) {
        TScripted_Rolls rolls(c.Rolls);
        EXPECT_EQ(Roll_Random_Item_Type(c.With_Group ? &group : nullptr), c.Type);
        EXPECT_EQ(rolls.Left(), 0u);
        EXPECT_EQ(rolls.Asked.back(),
                  (c.Rolls.size() == 2 || !c.With_Group ? std::pair(1, 23) : std::pair(1, 100)));
    }
}

TEST_F(MapDiggerPopulation, TheTilesOwnCreaturesAndRandomOnesOfTheMapsGrouping) {
    Add_Monster_Class("Rat");
    Add_Monster_Class("Bat", 1);
    Add_Monster_Class("Merchant", 0);      // never at random
    Add_Monster_Class("Wolf", 10, "Wild"); // another grouping
    const int32_t tile = Add_Tile({{1, 1, '.'}, {2, 1, '.'}, {3, 1, '.'}, {4, 1, '.'}});
    Tile(tile).Specific_Monsters = {{"merchant", 2, 2}, {"Rat", 2, 2}, {"Ghost", 5, 5}};
    Place(1, 1, tile);
    Collect_Placement_Squares(Dig_Context());
    std::vector<std::string> logged;
    Set_Log_Observer([&logged](const std::string& unit, const std::string& line) {
        logged.push_back(unit + ": " + line);
    });
    Params().Monster_Group_Filter = "Vermin";
    Place_Map_Monsters(Dig_Context(), Errors);
    // The second creature for one square is left out with a log line; a missing class is an error line.
    EXPECT_EQ(Errors, TString_List({"Could not locate monster \"Ghost\" on Map 1: Test_Tiles.txt."}));
    EXPECT_EQ(logged, std::vector<std::string>(
                          {"General: Skipped monster \"Rat\" at 16,16: the square holds a creature "
                           "on Map 1: Test_Tiles.txt."}));
    EXPECT_EQ(Creatures(), std::vector<std::string>({"Merchant"}));
    EXPECT_EQ(Creature_At(16, 16)->Name, "Merchant");

    // Random creatures: as many as asked while free squares last, of the grouping's classes that appear.
    Params().Place_Random_Monsters = true;
    Params().Monsters_Min = Params().Monsters_Max = 9;
    std::set<std::string> kinds;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        Seed_Random(seed);
        Map->Clear(false);
        Place_Map_Monsters(Dig_Context(), Errors);
        ASSERT_EQ(Map->Monster_List.Get_Count(),
                  4); // the merchant, then three of the four squares (one is his)
        for (int x = 17; x <= 19; ++x) kinds.insert(Creature_At(x, 16)->Name);
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"Rat", "Bat"}));

    // No candidate: the count is still drawn, and nobody comes.
    Params().Monster_Group_Filter = "Nobody";
    Map->Clear(false);
    Tile(tile).Specific_Monsters.clear();
    Params().Monsters_Min = 2;
    TScripted_Rolls rolls({2});
    Place_Map_Monsters(Dig_Context(), Errors);
    EXPECT_EQ(rolls.Asked, (TAsked{{2, 9}}));
    EXPECT_TRUE(Creatures().empty());
}

TEST_F(MapDiggerPopulation, GroupsGatherAroundTheirLeader) {
    Add_Monster_Class("Rat");
    Add_Monster_Class("King", 0);
    TMonster_Modifier_Class fierce;
    fierce.Name = "Fierce";
    fierce.Monster_Level_Min = 1;
    fierce.Monster_Level_Max = 10;
    Add_Monster_Modifier(fierce);
    const auto member = [](int n, const std::string& name, const std::string& leader, const std::string& plus,
                           const TString_List& modifiers) {
        const std::string p = "Group Monster " + std::to_string(n) + " ";
        TKeys keys = {{p + "Class Name", name},
                      {p + "Is Leader", leader},
                      {p + "Monster Level Min Plus", plus},
                      {p + "Number of Modifiers", std::to_string(modifiers.size())}};
        for (size_t j = 0; j < modifiers.size(); ++j)
            keys.emplace_back(p + "Modifier " + std::to_string(j + 1) + " Type", modifiers[j]);
        return keys;
    };
    const auto group = [&](const std::string& name, const std::string& kind, std::vector<TKeys> members) {
        TKeys keys = {{"Group Name", name},
                      {"Follow Distance", "4"},
                      {"Monster Group", kind},
                      {"Leader Name Prefix", "Old"},
                      {"Leader Name Suffix", "the Grey"},
                      {"Number In Group", std::to_string(members.size())}};
        for (const TKeys& m : members) keys.insert(keys.end(), m.begin(), m.end());
        return keys;
    };
    const std::string file = Folder.Write(
        "Modules/Test/Tiles/Groups.txt",
        Data_File_Text(
            {group("Court", "Vermin",
                   {member(1, "Rat", "FALSE", "0", {}), member(2, "King", "TRUE", "2", {"fierce", "Meek"}),
                    member(3, "Rat", "FALSE", "0", {}), member(4, "Ghost", "FALSE", "0", {})}),
             group("Pack", "Wild", {member(1, "Rat", "TRUE", "0", {})})}));
    ASSERT_TRUE(Load_Monster_Groups(file));
    std::vector<std::tuple<int, int, char>> floor;
    for (int c = 0; c < 17; ++c)
        for (int r = 0; r < 17; ++r) floor.emplace_back(c, r, '.');
    Place(3, 3, Add_Tile(floor));
    Collect_Placement_Squares(Dig_Context());
    Params().Monster_Group_Filter = "Vermin";
    Params().Monster_Groups_Min = Params().Monster_Groups_Max = 1;

    Place_Monster_Groups(Dig_Context(), Errors);
    EXPECT_EQ(Errors, TString_List({"Could not locate monster class \"Ghost\" on Map 1: Test_Tiles.txt."}));
    // The rat listed before the leader never comes; the leader is named, raised and modified.
    ASSERT_EQ(Creatures(), std::vector<std::string>({"Old King the Grey", "Rat"}));
    const TMonster& king = *Map->Monster_List.Get_Monster(1);
    const TMonster& rat = *Map->Monster_List.Get_Monster(2);
    EXPECT_EQ(king.Level, 3);
    EXPECT_EQ(king.Status_Lines, TString_List({"Fierce"}));
    EXPECT_EQ(king.Leader_Id, 0);
    EXPECT_EQ(rat.Leader_Id, king.Id);
    EXPECT_EQ(rat.Guard_Range, 4);
    EXPECT_EQ(rat.Movement_Strategy, Strategy_Guard_Monster);
    EXPECT_TRUE(rat.Status_Lines.empty());
    EXPECT_LE(TMap::Get_Range(king.X, king.Y, rat.X, rat.Y), 11);
    EXPECT_GE(TMap::Get_Range(king.X, king.Y, rat.X, rat.Y), 1);

    // A grouping no group fits: the count is drawn and every pass is skipped.
    Map->Clear(false);
    Params().Monster_Group_Filter = "Birds";
    Params().Monster_Groups_Max = 2;
    TScripted_Rolls rolls({2});
    Place_Monster_Groups(Dig_Context(), Errors);
    EXPECT_EQ(rolls.Asked, (TAsked{{1, 2}}));
    EXPECT_TRUE(Creatures().empty());
}

TEST_F(MapDiggerPopulation, AFollowerTakesTheLastSquareAcceptedInTheFirstBlockThatGivesOne) {
    Fill_Map_Terrain(Rock);
    for (auto [x, y] : {std::pair{48, 47}, {52, 49}, {50, 53}, {40, 50}, {162, 50}, {161, 100}})
        Map->Get_Square(x, y)->Terrain_Id = Floor;
    const TSquares list = {{10, 10}, {11, 10}, {12, 10}, {13, 10}};
    struct TCase {
        const char* Name;
        TSquare_Position Leader;
        std::vector<int32_t> Rolls;
        bool Found;
        TSquare_Position Square;
    };
    std::vector<int32_t> no_one(101, 2);
    // Blocks of 3 to 9 hold three floor squares each, the block of 10 a fourth (in its row order, third).
    std::vector<int32_t> far(23, 2);
    far.insert(far.end(), {1, 2});
    const std::vector<TCase> cases = {
        {"two of three accepted: the last", {50, 50}, {1, 2, 1}, true, {50, 53}},
        {"none of the first block, then the next", {50, 50}, {2, 2, 2, 2, 1, 2}, true, {52, 49}},
        {"a larger block reaches further", {50, 50}, far, true, {40, 50}},
        {"as far as eleven squares", {150, 100}, {1}, true, {161, 100}},
        {"no further than eleven squares", {150, 50}, {}, false, {}},
        {"without a leader: draws until a square without a creature", {0, 0}, {1, 2, 3}, true, {12, 10}},
        {"a leader square needs both coordinates", {50, 0}, {1, 2, 3}, true, {12, 10}},
        {"without a leader: 101 draws at most", {0, 0}, no_one, false, {}},
    };
    Map->Get_Square(10, 10)->Monster_Id = 1;
    Map->Get_Square(11, 10)->Monster_Id = 2;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TScripted_Rolls rolls(c.Rolls);
        TSquare_Position square;
        EXPECT_EQ(Find_Free_Square_Near_Leader(c.Leader.X, c.Leader.Y, list, square), c.Found);
        if (c.Found) {
            EXPECT_EQ(square, c.Square);
        }
        EXPECT_EQ(rolls.Left(), 0u);
        const bool leader = c.Leader.X != 0 && c.Leader.Y != 0;
        for (const auto& asked : rolls.Asked) EXPECT_EQ(asked, leader ? std::pair(1, 3) : std::pair(1, 4));
    }
    TSquare_Position square;
    EXPECT_FALSE(Find_Free_Square_Near_Leader(50, 50, {}, square));
    Fill_Map_Terrain(Rock);
    EXPECT_FALSE(Find_Free_Square_Near_Leader(50, 50, list, square)); // nothing free anywhere: no roll
}

TEST_F(MapDiggerPopulation, StoresFollowTheirClassesAndChestsTheirChance) {
    for (uint16_t id : {2, 1}) {
        TStore_Class c;
        c.Store_Id = id;
        Add_Store_Class(c);
    }
    Create_Map_Stores("Test_Stores.txt", "Test_Items.txt");
    ASSERT_EQ(Map->Store_Count(), 2);
    for (int32_t n = 1; n <= 2; ++n) {
        const TStore& store = *Map->Get_Store(n);
        EXPECT_EQ(store.Store_Class_Index, 3 - n);
        EXPECT_EQ(store.Store_Class_File, "Test_Stores.txt");
        EXPECT_EQ(store.Item_Class_File, "Test_Items.txt");
        EXPECT_FALSE(store.Stocked);
        EXPECT_EQ(store.Stock_Item_Ids.Count(), 0);
    }

    for (uint8_t type = 1; type <= 23; ++type) Add_Item_Class("Thing " + std::to_string(type), type);
    Place(4, 2, Add_Tile({{0, 0, 'C'}, {5, 9, 'C'}, {16, 16, 'C'}, {3, 3, 'g'}}));
    struct TCase {
        int32_t Chance, Min, Max;
        std::vector<int32_t> Rolls; // empty: the generator
        int32_t Items_Each;
    };
    const std::vector<TCase> cases = {{0, 1, 2, {1, 1, 1}, 0}, {100, 2, 2, {}, 2}, {100, 1, 1, {}, 1},
                                      {50, 1, 3, {}, -1},      {100, 0, 3, {}, 0}, // no count: no roll
                                      {100, 2, 0, {}, 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Chance * 100 + c.Min * 10 + c.Max);
        Map->Clear(false);
        Stamp_Dug_Cells(Dig_Context(), nullptr, nullptr);
        Params().Chest_Item_Chance = c.Chance;
        Params().Chest_Items_Min = c.Min;
        Params().Chest_Items_Max = c.Max;
        std::unique_ptr<TScripted_Rolls> rolls;
        if (c.Items_Each == 0) rolls = std::make_unique<TScripted_Rolls>(c.Rolls);
        Fill_Map_Chests(Dig_Context());
        if (rolls) {
            EXPECT_EQ(rolls->Left(), 0u);
        }
        // A chest for every chest square, even an empty one; its items on no square.
        ASSERT_EQ(Map->Chest_Count(), 3);
        int32_t items = 0;
        for (auto [x, y] : {std::pair{66, 32}, {71, 41}, {82, 48}}) {
            const TWordList* chest = Map->Get_Chest(x, y);
            ASSERT_NE(chest, nullptr) << x << "," << y;
            if (c.Items_Each >= 0) {
                EXPECT_EQ(chest->Count(), c.Items_Each);
            }
            EXPECT_LE(chest->Count(), c.Max);
            for (int32_t k = 1; k <= chest->Count(); ++k) {
                EXPECT_EQ(Item_Name(chest->Get(k)).substr(0, 6), "Thing ");
                ++items;
            }
        }
        EXPECT_EQ(Map->Item_List.Count(), items);
        EXPECT_EQ(Map->Get_Square(66, 32)->Item_Field, 0);
    }
}

TEST_F(MapDiggerPopulation, TheOuterBorderStaysInsideTheMap) {
    Tile_Classes().Info->Fill_Border_Categories = {"rock"};
    struct TCase {
        uint16_t Size;
        int32_t Left_Band; // the last rock column from the left; the right band starts at 192 - b
    };
    for (const TCase& c : std::vector<TCase>{{0, 8}, {3, 11}, {91, 99}, {500, 200}}) {
        SCOPED_TRACE(c.Size);
        Fill_Map_Terrain(Floor);
        Tile_Classes().Info->Increased_Border_Size = c.Size;
        Fill_Outer_Border();
        const int32_t right = std::max(192 - c.Size, 1);
        for (int32_t v = 1; v <= 200; ++v) {
            const bool band = v <= c.Left_Band || v >= right;
            EXPECT_EQ(Map->Get_Square(v, 100)->Terrain_Id, band ? Rock : Floor) << v;
            EXPECT_EQ(Map->Get_Square(100, v)->Terrain_Id, band ? Rock : Floor) << v;
        }
    }
    Tile_Classes().Info->Fill_Border_Categories.clear();
    Fill_Map_Terrain(Floor);
    Fill_Outer_Border();
    EXPECT_EQ(Map->Get_Square(1, 1)->Terrain_Id, Floor);
}

TEST_F(MapDiggerPopulation, TheMapsChanceGroupLocksAndTrapsItsTiles) {
    TTerrain& door = *Map->Terrain_List.Terrain(Add_Terrain("Door", "door"));
    door.Locked_Terrain_Group = "Oak Doors";
    door.Locked_Key_Groups = {"Brass"};
    Map->Terrain_List.Terrain(Grass)->Trapped_Terrain_Group = "Pits";
    Free_Tile_Classes();
    std::vector<std::string> rows = Square_Rows('.');
    rows[3] = "..D.....D....ggg.";
    ASSERT_TRUE(
        Load_Tiles({With(Tile_Settings_Keys(), {{"Number of specific tile locations", "1"},
                                                {"Tile Location 1 Name", "Room"},
                                                {"Tile Location 1 Xpos", "6"},
                                                {"Tile Location 1 Ypos", "6"},
                                                {"Number of Global Tile Identifiers", "3"},
                                                {"Global Identifier 1 Symbol", "."},
                                                {"Global Identifier 1 Terrain Category", "stone"},
                                                {"Global Identifier 2 Symbol", "D"},
                                                {"Global Identifier 2 Terrain Category", "door"},
                                                {"Global Identifier 3 Symbol", "g"},
                                                {"Global Identifier 3 Terrain Category", "grass"}}),
                    With(Tile_Keys("Room", "", 0, false, rows),
                         {{"Locked Terrain Groups", "Oak Doors"}, {"Trapped Terrain Groups", "Pits"}})}));
    const auto group = [](const std::string& id, const std::string& lock, const std::string& trap) {
        return TKeys{{"Chance Group ID", id},
                     {"Number Of Item Types", "0"},
                     {"Number Of Locked Terrain Groups", "1"},
                     {"Locked Terrain Group 1 Name", "Oak Doors"},
                     {"Locked Terrain Group 1 Percent Chance", lock},
                     {"Number Of Trapped Terrain Groups", "1"},
                     {"Trapped Terrain Group 1 Name", "Pits"},
                     {"Trapped Terrain Group 1 Percent Chance", trap}};
    };
    // Without a module class the map's group is ID 1: the last group of that ID counts.
    Folder.Write("Modules/Test/Data/ChanceGroups.txt",
                 Data_File_Text({group("1", "0", "0"), group("2", "100", "100"), group("1", "100", "100")}));
    ASSERT_TRUE(Load_Chance_Groups());
    EXPECT_TRUE(Dig(3).empty());
    EXPECT_EQ(Dig_Context().Params.Chance_Group_Index, 3);
    EXPECT_EQ(Map->Lock_Key_Names(), TString_List({"Brass", "Brass"}));
    EXPECT_EQ(Map->Trap_Names().size(), 3u);
    std::string key;
    EXPECT_TRUE(Map->Get_Lock(Dig_Context().X0 + 5 * 17 + 2, Dig_Context().Y0 + 5 * 17 + 3, key));

    // A map of chance group 0 has none, even when a group of ID 0 is listed.
    Folder.Write("Modules/Test/Data/ChanceGroups.txt", Data_File_Text({group("0", "100", "100")}));
    ASSERT_TRUE(Load_Chance_Groups());
    Folder.Write("Modules/Test/Data/ModuleData.txt",
                 Data_File_Text({{{"Number Of Maps", "1"}, {"Map 1 Chance Group", "0"}}}));
    TString_List module_errors; // every other key is missing
    Load_Module_Class(Path_Settings()->Get_ModuleData_File(), &module_errors);
    ASSERT_NE(Module_Class()->Get_Map(1), nullptr);
    EXPECT_TRUE(Dig(3).empty());
    EXPECT_EQ(Dig_Context().Params.Chance_Group_Index, 0);
    EXPECT_TRUE(Map->Lock_Key_Names().empty());
    Free_Module_Class();

    // Without chance groups nothing is locked or trapped.
    Free_Chance_Groups();
    Tile_Classes().Clear();
    ASSERT_TRUE(Load_Tile_Classes("Test_Tiles.txt"));
    EXPECT_TRUE(Dig(3).empty());
    EXPECT_EQ(Dig_Context().Params.Chance_Group_Index, 0);
    EXPECT_TRUE(Map->Lock_Key_Names().empty());
    EXPECT_TRUE(Map->Trap_Names().empty());
    Free_Chance_Groups();
}
