// The seed catalog: the shipped module generated in-process must give the committed text byte for byte,
// every map keeping what the text cannot show; the hash, the run list and the map checks the catalog is
// built from.
#include "tools/seedcatalog/SeedCatalog.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Profile.h"
#include "generation/RndClassItem.h"
#include "generation/RndDigTileMap.h"
#include "tests/support/CoreTestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The first lines where the two texts differ, under the header of the block they belong to.
std::string First_Difference(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> want = Lines(expected), got = Lines(actual);
    size_t at = 0;
    while (at < want.size() && at < got.size() && want[at] == got[at]) ++at;
    std::string header = "(before the first block)";
    for (size_t i = 0; i < at && i < got.size(); ++i)
        if (got[i].rfind("== ", 0) == 0) header = got[i];
    std::string report = "first difference at line " + std::to_string(at + 1) + ", in " + header + "\n";
    for (size_t i = at; i < at + 4 && (i < want.size() || i < got.size()); ++i) {
        report += "  expected: " + (i < want.size() ? want[i] : std::string("(end)")) + "\n";
        report += "  actual:   " + (i < got.size() ? got[i] : std::string("(end)")) + "\n";
    }
    return report;
}

std::string Read_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class SeedCatalog : public TProgram_Folder_Test {};

} // namespace

TEST_F(SeedCatalog, MatchesGolden) {
    // The program's profile, so that the text is the program's whatever it holds.
    Set_Run_Profile(TRun_Profile::Tool);
    const TCatalog_Options options{MURK_SHIPPED_DATA_DIR, "Barrowdeep", Built_In_Catalog_Runs()};
    std::vector<TCatalog_Map_Report> reports;
    std::vector<std::string> setup_errors;
    const std::string actual = Generate_Seed_Catalog(options, reports, setup_errors);
    ASSERT_TRUE(setup_errors.empty()) << setup_errors.front();
    EXPECT_TRUE(Messages->Error_Lists.empty())
        << Messages->Error_Lists.front().Heading << Messages->Error_Lists.front().List.front();

    const std::string expected = Read_File(std::string(MURK_GOLDEN_DIR) + "/seed_catalog.txt");
    if (actual != expected) {
        const std::string written = std::string(MURK_BUILD_DIR) + "/seed_catalog.actual.txt";
        std::ofstream(written, std::ios::binary | std::ios::trunc) << actual;
        ADD_FAILURE() << "the catalog differs from tests/golden/seed_catalog.txt; this build's is " << written
                      << " (scripts/update_seed_catalog.sh rewrites the committed one)\n"
                      << First_Difference(expected, actual);
    }

    ASSERT_EQ(reports.size(), Built_In_Catalog_Runs().size() * 2);
    for (const TCatalog_Map_Report& report : reports) {
        SCOPED_TRACE(report.Header);
        EXPECT_TRUE(report.Dug);
        EXPECT_EQ(report.Error_Lines, 0);
        EXPECT_TRUE(report.Problems.empty()) << report.Problems.front();
    }
}

TEST_F(SeedCatalog, HashAndRunListAreAsDocumented) {
    // FNV-1a 64 of the published test strings.
    for (const auto& [text, value] : std::vector<std::pair<std::string, uint64_t>>{
             {"", 0xcbf29ce484222325ULL}, {"a", 0xaf63dc4c8601ec8cULL}, {"foobar", 0x85944171f73967e8ULL}}) {
        TFnv1a_64 hash;
        hash.Add_Bytes(text.data(), text.size());
        EXPECT_EQ(hash.Value(), value) << text;
    }
    // Numbers go in little-endian at their width, texts with a 0 after them.
    const auto same = [](const std::function<void(TFnv1a_64&)>& add, const std::vector<uint8_t>& bytes) {
        TFnv1a_64 a, b;
        add(a);
        b.Add_Bytes(bytes.data(), bytes.size());
        return a.Value() == b.Value();
    };
    EXPECT_TRUE(same([](TFnv1a_64& h) { h.Add_Word(0x0102); }, {2, 1}));
    EXPECT_TRUE(same([](TFnv1a_64& h) { h.Add_Integer(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(same([](TFnv1a_64& h) { h.Add_Integer(0x01020304); }, {4, 3, 2, 1}));
    EXPECT_TRUE(same([](TFnv1a_64& h) { h.Add_Text("ab"); }, {'a', 'b', 0}));
    EXPECT_TRUE(same([](TFnv1a_64& h) { h.Add_Byte(7); }, {7}));

    EXPECT_EQ(Describe_Runs(Built_In_Catalog_Runs()), "1..10 d2 s1, 1..2 d4 s5");
    EXPECT_EQ(Describe_Runs(Seed_Range_Runs(7, 7)), "7 d2 s1");
    EXPECT_EQ(Describe_Runs({{1, 2, 1}, {3, 2, 1}, {4, 2, 1}, {5, 3, 1}, {6, 3, 2}}),
              "1 d2 s1, 3..4 d2 s1, 5 d3 s1, 6 d3 s2");
    EXPECT_TRUE(Seed_Range_Runs(3, 2).empty());
}

TEST_F(SeedCatalog, MapChecksFindWhatTheTextCannotShow) {
    struct TCase {
        const char* Name;
        std::function<void(TMap&)> Break;
        const char* Problem; // "" for none
    };
    const std::vector<TCase> cases = {
        {"a sound map", [](TMap&) {}, ""},
        {"a creature off its square", [](TMap& map) { map.Get_Square(10, 10)->Monster_Id = 0; },
         "creature 1 Rat is not on its square at 10,10"},
        {"two creatures on one square",
         [](TMap& map) {
             TMonster rat;
             rat.Name = "Rat";
             rat.Set_Position(10, 10);
             map.Monster_List.Add_Monster(rat);
         },
         "creature 2 Rat is not on its square at 10,10"},
        {"a square naming nobody", [](TMap& map) { map.Get_Square(200, 200)->Monster_Id = 9; },
         "creature id 9 names nobody at 200,200"},
        {"a pile naming no item",
         [](TMap& map) {
             TItem ghost;
             ghost.Id = 9;
             map.Get_Square(3, 4)->Item_Field = static_cast<uint16_t>(map.New_Item_Pile());
             map.Get_Square(3, 4)->Set_Pile(true);
             map.Get_Item_Pile(map.Get_Square(3, 4)->Item_Field)->Add(&ghost);
         },
         "pile item 9 does not exist at 3,4"},
        {"a square naming no item", [](TMap& map) { map.Get_Square(3, 1)->Item_Field = 9; },
         "item 9 does not exist at 3,1"},
        {"a pile that is not there",
         [](TMap& map) {
             map.Get_Square(3, 4)->Item_Field = 5;
             map.Get_Square(3, 4)->Set_Pile(true);
         },
         "pile 5 does not exist at 3,4"},
        {"a chest holding id 0",
         [](TMap& map) {
             TWordList ids;
             ids.Add(0);
             map.Add_Chest(ids, 6, 7);
         },
         "chest item 0 does not exist at 6,7"},
        {"an item in two places",
         [](TMap& map) {
             TWordList ids;
             ids.Add(1);
             map.Add_Chest(ids, 6, 7);
         },
         "item 1 is in 2 places"},
        {"an item nowhere", [](TMap& map) { map.Get_Square(20, 20)->Item_Field = 0; },
         "item 1 is in 0 places"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Install_Current_Map(std::make_unique<TMap>());
        TMap& map = *Current_Map();
        TMonster rat;
        rat.Name = "Rat";
        rat.Set_Position(10, 10);
        map.Place_Monster(*map.Monster_List.Add_Monster(rat));
        TItem sword;
        sword.Name = "Sword";
        ASSERT_TRUE(map.Get_Square(20, 20)->Drop_Item(map.Item_List.Item(map.Item_List.Add(&sword))));
        c.Break(map);
        const std::vector<std::string> problems = Check_Generated_Map({1, 200}, {200, 1});
        if (*c.Problem == 0) {
            EXPECT_TRUE(problems.empty()) << problems.front();
        } else {
            EXPECT_EQ(problems, std::vector<std::string>({c.Problem}));
        }
    }
    Install_Current_Map(std::make_unique<TMap>());
    EXPECT_EQ(Check_Generated_Map({0, 5}, {5, 201}),
              std::vector<std::string>(
                  {"entrance 1 lies off the map at 0,5", "entrance 2 lies off the map at 5,201"}));
    Install_Current_Map(nullptr);
}

TEST_F(SeedCatalog, ABlockSumsUpTheMapAsDocumented) {
    Install_Current_Map(std::make_unique<TMap>());
    TMap& map = *Current_Map();
    for (const char* name : {"Rock", "Floor", "Ash"}) {
        TTerrain terrain;
        terrain.Name = name;
        map.Terrain_List.Add(terrain);
    }
    for (int32_t x = 1; x <= 200; ++x)
        for (int32_t y = 1; y <= 200; ++y) map.Get_Square(x, y)->Terrain_Id = 1;
    for (int32_t x : {3, 4, 5}) map.Get_Square(x, 9)->Terrain_Id = 2;
    map.Get_Square(5, 5)->Border_Type = 12;
    map.Get_Square(6, 6)->Border_Type = 3;
    map.Get_Square(7, 7)->Border_Type = 3;
    TItem_Class_List classes; // the plain names of the classes the items come from
    TCurrent_Item_Class_List_Guard current(classes);
    for (auto [class_name, name] : {std::pair{"Sword", "Sword"}, {"Gold Stack", "Gold"}}) {
        TItem_Class c;
        c.Class_Name = class_name;
        c.Name = name;
        classes.Add_Class(c);
    }
    const auto add_item = [&map](const std::string& class_name, const std::string& name, uint16_t level) {
        TItem item;
        item.Class_Name = class_name;
        item.Name = name;
        item.Item_Level = level;
        item.Quantity = 2;
        return map.Item_List.Item(map.Item_List.Add(&item));
    };
    // Items on squares at the map's corners, one of them a pile.
    map.Get_Square(1, 200)->Drop_Item(add_item("Sword", "Sword", 1));
    TWordList chest;
    chest.Add(add_item("Sword", "Sharp Sword", 3)->Id);
    map.Add_Chest(chest, 30, 30);
    map.Add_Chest(TWordList(), 31, 30);
    TItem* gold = add_item("Gold Stack", "Gold", 1);
    map.Get_Square(200, 1)->Drop_Item(add_item("Sword", "Sword", 1));
    map.Get_Square(200, 1)->Drop_Item(add_item("Gold Stack", "Gold", 4));
    for (auto [name, x, leader] : {std::tuple{"Rat King", 10, 0}, {"Rat", 11, 1}, {"Rat", 12, 1}}) {
        TMonster creature;
        creature.Name = name;
        creature.Level = static_cast<uint16_t>(x - 8);
        creature.Life = 7.9;
        creature.Set_Position(static_cast<uint8_t>(x), 10);
        creature.Leader_Id = static_cast<int16_t>(leader);
        if (x == 11) creature.Status_Lines = {"Fierce", "Fierce"};
        if (x == 12) creature.Inventory.Put_In_Slot(gold, 20);
        map.Place_Monster(*map.Monster_List.Add_Monster(creature));
    }
    map.Add_Store(std::make_unique<TStore>());
    map.Set_Lock("Brass", 40, 40, true);
    map.Set_Lock("", 41, 40, true);
    map.Set_Trap("Pits", 42, 40, true);
    TDig_Context& dig = Dig_Context();
    dig = TDig_Context();
    dig.Reset_Grid(10, 10);
    dig.X0 = 15;
    dig.Y0 = 16;
    dig.Cell(1, 1).Tile = 4;
    dig.Cell(1, 1).Starting = true;
    dig.Cell(10, 10).Tile = 1;
    dig.Cell(10, 10).Starting = true;
    dig.Cell(6, 3).Tile = 2;
    dig.Cell(5, 3).Starting = true; // not a tile: not counted

    // The hash over the squares in x-major order, then the creatures and items in id order.
    TFnv1a_64 hash;
    for (int32_t x = 1; x <= 200; ++x)
        for (int32_t y = 1; y <= 200; ++y) {
            const TMap_Square& s = *map.Get_Square(x, y);
            hash.Add_Word(s.Terrain_Id);
            hash.Add_Byte(s.Border_Type);
            hash.Add_Word(s.Flags);
            hash.Add_Word(s.Monster_Id);
            hash.Add_Word(s.Item_Field);
        }
    for (auto [name, level, x] : {std::tuple{"Rat King", 2, 10}, {"Rat", 3, 11}, {"Rat", 4, 12}}) {
        hash.Add_Text(name);
        hash.Add_Word(static_cast<uint16_t>(level));
        hash.Add_Integer(7);
        hash.Add_Byte(static_cast<uint8_t>(x));
        hash.Add_Byte(10);
    }
    for (auto [class_name, name, level] : {std::tuple{"Sword", "Sword", 1},
                                           {"Sword", "Sharp Sword", 3},
                                           {"Gold Stack", "Gold", 1},
                                           {"Sword", "Sword", 1},
                                           {"Gold Stack", "Gold", 4}}) {
        hash.Add_Text(class_name);
        hash.Add_Text(name);
        hash.Add_Word(static_cast<uint16_t>(level));
        hash.Add_Word(2);
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash.Value()));

    EXPECT_EQ(Catalog_Block("== seed 3 d2 s1 map 2 Test_Tiles.txt", {"Could not find tile \"X\"."}, {1, 3},
                            {101, 40}, {57, 88}),
              "== seed 3 d2 s1 map 2 Test_Tiles.txt\n"
              "errors: 1\n"
              "  Could not find tile \"X\".\n"
              "cells: 10x10 origin 15,16 occupied 3 starting 2\n"
              "terrain: Floor=3 Rock=39997\n"
              "borders: 3=2 12=1\n"
              "entrances: 1@101,57 3@40,88\n"
              "creatures: 3 Rat=2 Rat King=1 | leaders 1 | modifiers Fierce=2\n"
              "items: ground 3 carried 1 chest 1 | Gold Stack=2 Sword=3 | upgraded 1\n"
              "chests: 2 empty 1 | stores: 1 | locks: (none)=1 Brass=1 | traps: Pits=1\n"
              "hash: " +
                  std::string(hex) + "\n");
    Install_Current_Map(nullptr);
}

TEST_F(SeedCatalog, LayoutChecksFindSidesThatDoNotMeet) {
    TDig_Context dig;
    dig.Reset_Grid(6, 6);
    dig.Cell(1, 1) = {{0, 1, 0, 0}, 1};
    dig.Cell(2, 1) = {{0, 0, 0, 1}, 1};
    bool open = true;
    EXPECT_TRUE(Check_Layout(dig, open).empty());
    EXPECT_FALSE(open);
    dig.Cell(2, 1).Sides = {0, 0, 0, 2}; // another kind faces the east side of (1, 1)
    EXPECT_EQ(Check_Layout(dig, open),
              std::vector<std::string>({"cell 1,1 side E does not match its neighbour",
                                        "cell 2,1 side W does not match its neighbour"}));
    dig.Cell(2, 1).Sides = {0, 0, 1, 1}; // open south towards an empty cell
    dig.Cell(6, 6) = {{0, 1, 1, 0}, 2};  // open off the grid: not counted here
    EXPECT_EQ(Check_Layout(dig, open),
              std::vector<std::string>({"a side is left open though the last sweep missed no pick"}));
    EXPECT_TRUE(open);
    dig.Last_Sweep_Missed_Picks = 1;
    EXPECT_TRUE(Check_Layout(dig, open).empty());
    EXPECT_TRUE(open);
}

TEST_F(SeedCatalog, AMapThatCannotBeDugShowsOnlyItsErrors) {
    // The shipped module with the barrow's tiles file missing.
    const std::filesystem::path shipped = MURK_SHIPPED_DATA_DIR;
    std::filesystem::copy(shipped / "Data", Folder.File("Data"), std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(Folder.File("Modules"));
    std::filesystem::copy(shipped / "Modules/Barrowdeep", Folder.File("Modules/Own"),
                          std::filesystem::copy_options::recursive);
    std::filesystem::remove(Folder.File("Modules/Own/Tiles/Barrow_Tiles.txt"));
    Set_Run_Profile(TRun_Profile::Tool);
    std::vector<TCatalog_Map_Report> reports;
    std::vector<std::string> setup_errors;
    const std::string text =
        Generate_Seed_Catalog({Folder.Path(), "Own", Seed_Range_Runs(4, 4)}, reports, setup_errors);
    ASSERT_TRUE(setup_errors.empty()) << setup_errors.front();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(reports[0].Dug);
    EXPECT_FALSE(reports[1].Dug);
    EXPECT_EQ(reports[1].Error_Lines, 1);
    const std::string path = Folder.File("Modules/Own/Tiles/Barrow_Tiles.txt");
    const std::string tail =
        "== seed 4 d2 s1 map 2 Barrow_Tiles.txt\nerrors: 1\n  Unable to load tiles file \"" + path +
        "\".\nnot dug\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(
        text.rfind(
            "seed catalog format 1 | module Own | runs 4 d2 s1\n== seed 4 d2 s1 map 1 Village_Tiles.txt\n",
            0),
        0u);

    // A module that is not there is a setup error, with no text.
    EXPECT_EQ(Generate_Seed_Catalog({Folder.Path(), "../Own", Seed_Range_Runs(1, 1)}, reports, setup_errors),
              "");
    EXPECT_EQ(setup_errors, std::vector<std::string>({"Not a module folder name: \"../Own\"."}));
}
