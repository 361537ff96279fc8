// Store classes and restocking: the loader's stock rows, the levels, chances and margins of a restock, and
// the restocker every map load runs.
#include "generation/RndClassStore.h"

#include "core/GameOptions.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Path.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassUniqueNames.h"
#include "tests/support/CoreTestSupport.h"

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// "Key=value|Key=value" as a record.
TKeys Record(const std::string& text) {
    TKeys keys;
    std::istringstream in(text);
    for (std::string pair; std::getline(in, pair, '|');)
        keys.emplace_back(pair.substr(0, pair.find('=')), pair.substr(pair.find('=') + 1));
    return keys;
}

// A store class record with every key and the stock groups given as (group, [(class, chance)]).
using TStock = std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>>;
TKeys Store_Keys(const std::string& id, const std::string& name, const TStock& stock) {
    TKeys keys = Record("Store ID=" + id + "|Store Name=" + name +
                        "|Buy Cost Modifier Percentage Min=40|Buy Cost Modifier Percentage Max=60|"
                        "Sell Cost Modifier Percentage Min=110|Sell Cost Modifier Percentage Max=130|"
                        "Chance For Magic Item Per Char Level=2.5|Chance For Unique Item Per Char Level=0.25|"
                        "Item Min Level Character Level Offset=-3|Item Max Level Character Level Offset=2|"
                        "Item Grouping Type=Common|Number of Item Groups=" +
                        std::to_string(stock.size()));
    for (size_t j = 0; j < stock.size(); ++j) {
        const std::string g = "Item Group " + std::to_string(j + 1) + " ";
        keys.insert(keys.end(), {{g + "Name", stock[j].first},
                                 {g + "Number of Item Classes", std::to_string(stock[j].second.size())}});
        for (size_t k = 0; k < stock[j].second.size(); ++k) {
            const std::string c = g + "Item Class " + std::to_string(k + 1) + " ";
            keys.emplace_back(c + "Name", stock[j].second[k].first);
            if (stock[j].second[k].second != "<drop>")
                keys.emplace_back(c + "Appearance Chance", stock[j].second[k].second);
        }
    }
    return keys;
}

// An item class file: the scaling record, then one plain level-1 weapon class per name.
std::string Item_Classes_Text(const std::vector<std::string>& names) {
    std::string general;
    for (const char* what :
         {"Base Gold Value", "Consumption Value", "Defense Rating", "Damage Min", "Damage Max"})
        for (const char* kind : {" Mod Per Level Add Percent", " Mod Per Level Add Amt", " Base Amt Mod"})
            general += std::string("|Item ") + what + kind + "=0";
    std::vector<TKeys> records = {Record(general.substr(1))};
    for (const std::string& name : names)
        records.push_back(Record(
            "Class Name=" + name + "|Name=" + name +
            "|Type=Weapon|Item Group=Common|Item Level Min=1|Random Appearance Chance=TRUE|Damage Firing "
            "FX=None|"
            "Consumption Type=None|Can Have Additional Effects=TRUE|Is Unique Item=FALSE|Base Gold Value=10|"
            "Hands Required=1|Description=|Weapon Type=|Picture Filename=|Is Ammo Type=|Ammo Required=|"
            "Use Sound File=|Key Group=|Event ID=0|Weight=0|Consumption Value=0|Defense Rating=0|"
            "Damage Amount Min=0|Damage Amount Max=0|Damage Maximum Range=0|Light Radius Generated=0|"
            "Light Number of Turns=0|Maximum Number Stacked=0|Random Min Number Found Stacked=0|"
            "Random Max Number Found Stacked=0|Number of Effects=0|Number of Requirements=0|Number of "
            "Spells=0"));
    return Data_File_Text(records);
}

// One weapon prefix for every level, and one unique name entry for every level taking one modifier.
const std::string Item_Modifiers_Text = Data_File_Text(
    {Record("Item Value Amount Multiplier=1"),
     Record("Description=Sharp|Item Gold Value Percent Increase=0|Item Gold Value Amount Increase=0|"
            "Item Level Min=1|Item Level Max=200|Item Types=Weapon|Modifier Type=Prefix|Number of Effects=1|"
            "Effect 1 Type=Damage|Effect 1 Min Amount=1|Effect 1 Max Amount=1|Number of Requirements=0")});
const std::string Unique_Names_Text =
    Data_File_Text({Record("Level Min=1|Level Max=200|Number of Modifiers=1|Number of Names=1|Name 1=Grim")});

class StoreRestock : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Create_Game_Options().Start_Level = 1;
        for (auto [name, level] :
             {std::pair{"Sword", 1}, {"Mace", 2}, {"Axe", 5}, {"Crown", 9}, {"Arrows", 1}}) {
            TItem_Class c;
            c.Class_Name = c.Name = name;
            c.Item_Type = 20;
            c.Item_Level_Min = static_cast<uint16_t>(level);
            c.Can_Be_Magic = true;
            if (c.Name == "Arrows") {
                c.Item_Type = 1;
                c.Maximum_Stacked = 20;
                c.Random_Min_Found = 7;
                c.Random_Max_Found = 9;
            }
            Classes.Add_Class(c);
        }
    }
    void TearDown() override {
        Set_Store_Restocker(nullptr);
        Free_Store_Classes();
        Free_Item_Modifiers();
        Free_Unique_Names();
        Free_Game_Options();
        Install_Current_Map(nullptr);
        TProgram_Folder_Test::TearDown();
    }

    // A class whose rows are (class, chance), each listed under the group "<class> rack".
    static TStore_Class Class_Of(const std::vector<std::pair<std::string, int>>& rows, int32_t min_offset = 0,
                                 int32_t max_offset = 0) {
        TStore_Class c;
        c.Store_Name = "Smithy";
        c.Buy_Cost_Percent_Min = c.Buy_Cost_Percent_Max = 50;
        c.Sell_Cost_Percent_Min = c.Sell_Cost_Percent_Max = 120;
        c.Item_Min_Level_Offset = min_offset;
        c.Item_Max_Level_Offset = max_offset;
        for (const auto& [name, chance] : rows) {
            c.Stock_Group_Names.push_back(name + " rack");
            c.Stock_Item_Class_Names.push_back(name);
            c.Stock_Appearance_Chances.Add(static_cast<uint8_t>(chance));
        }
        return c;
    }
    // Restocks a store of the one class given; the store is left in Store.
    void Restock_With(const TStore_Class& c) {
        Free_Store_Classes();
        Add_Store_Class(c);
        Store = TStore();
        Store.Init(1, "Shop.txt", "Items.txt");
        Restock(Store);
    }
    // Per class name of the stock: (items, lowest level, highest level); each entry under its row's group.
    std::map<std::string, std::tuple<int, int, int>> Stock_Levels() const {
        std::map<std::string, std::tuple<int, int, int>> seen;
        EXPECT_EQ(Store.Stock_Group_Names.size(), static_cast<size_t>(Store.Stock_Item_Ids.Count()));
        for (int32_t n = 1; n <= Store.Stock_Item_Ids.Count(); ++n) {
            const TItem* item = Map->Item_List.Item(Store.Stock_Item_Ids.Get(n));
            if (!item) {
                ADD_FAILURE() << "stock entry " << n << " names no item";
                continue;
            }
            EXPECT_EQ(Store.Stock_Group_Names[static_cast<size_t>(n) - 1], item->Class_Name + " rack");
            auto [entry, added] = seen.try_emplace(item->Class_Name, 0, item->Item_Level, item->Item_Level);
            auto& [count, low, high] = entry->second;
            ++count;
            low = std::min<int>(low, item->Item_Level);
            high = std::max<int>(high, item->Item_Level);
        }
        return seen;
    }

    TMap* Map = nullptr;
    TItem_Class_List Classes;
    TCurrent_Item_Class_List_Guard Current{Classes};
    TStore Store;
};

TEST_F(StoreRestock, LoaderGivesOneRowPerGroupAndClass) {
    const TKeys shop = Store_Keys("1", "Smithy",
                                  {{"Blades", {{"Sword", "100"}, {"Dagger", "300"}, {"Axe", "0"}}},
                                   {"Food", {{"Bread", "50"}, {"Apple", "7"}, {"Pie", "<drop>"}}}});
    TKeys broken = With(Store_Keys("", "Empty", {{"Odd", {{"Lamp", "9"}}}}),
                        {{"Store ID", "<drop>"},
                         {"Store Name", "<drop>"},
                         {"Item Group 1 Name", "<drop>"},
                         {"Item Group 1 Item Class 1 Name", "<drop>"}});
    Folder.Write("Modules/Test/Tiles/Shop.txt", Data_File_Text({shop, broken}));
    ASSERT_FALSE(Load_Store_Classes("Shop.txt"));
    EXPECT_EQ(Store_Class_File_Name(), "Shop.txt");
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Store Class Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].File_Name, Path_Settings()->Get_Tile_File("Shop.txt"));
    EXPECT_EQ(Messages->Error_Lists[0].List,
              TString_List({Missing_Field_Line("Item Group 2 Item Class 3 Appearance Chance", "1", 1),
                            Missing_Field_Line("Store ID", "", 2), Missing_Field_Line("Store Name", "", 2),
                            Missing_Field_Line("Item Group 1 Name", "", 2),
                            Missing_Field_Line("Item Group 1 Item Class 1 Name", "", 2)}));

    ASSERT_EQ(Store_Class_Count(), 2);
    const TStore_Class& c = *Get_Store_Class(1);
    EXPECT_EQ(c.Store_Id, 1);
    EXPECT_EQ(c.Store_Name, "Smithy");
    EXPECT_EQ((std::vector<int>{c.Buy_Cost_Percent_Min, c.Buy_Cost_Percent_Max, c.Sell_Cost_Percent_Min,
                                c.Sell_Cost_Percent_Max, c.Item_Min_Level_Offset, c.Item_Max_Level_Offset}),
              (std::vector<int>{40, 60, 110, 130, 0, 2})); // a negative offset reads 0
    EXPECT_DOUBLE_EQ(c.Magic_Chance_Per_Level, 2.5);
    EXPECT_DOUBLE_EQ(c.Unique_Chance_Per_Level, 0.25);
    EXPECT_EQ(c.Item_Grouping_Type, "Common");
    EXPECT_EQ(c.Stock_Group_Names, TString_List({"Blades", "Blades", "Blades", "Food", "Food", "Food"}));
    EXPECT_EQ(c.Stock_Item_Class_Names, TString_List({"Sword", "Dagger", "Axe", "Bread", "Apple", "Pie"}));
    std::vector<int> chances;
    for (uint16_t n = 1; n <= c.Stock_Appearance_Chances.Count(); ++n)
        chances.push_back(c.Stock_Appearance_Chances.Get(n));
    EXPECT_EQ(chances, std::vector<int>({100, 44, 0, 50, 7, 0})); // chances are bytes: 300 keeps 44
    EXPECT_EQ(Get_Store_Class(2)->Store_Id, 0);
    EXPECT_EQ(Get_Store_Class(2)->Stock_Group_Names, TString_List({""})); // a row is kept whatever it lacks
    EXPECT_EQ(Get_Store_Class(2)->Stock_Item_Class_Names, TString_List({""}));
    EXPECT_EQ(Get_Store_Class(2)->Stock_Appearance_Chances.Count(), 1);
    EXPECT_EQ(Get_Store_Class(3), nullptr);
    EXPECT_EQ(Get_Store_Class(0), nullptr);
}

TEST_F(StoreRestock, ItemLevelsFollowTheStartingLevelAndTheRaisedMinimum) {
    struct TCase {
        uint16_t Start_Level, Entry_Level;
        int32_t Min_Offset, Max_Offset;
        std::vector<std::pair<std::string, int>> Rows;
        // Per class: items, lowest and highest level allowed; with 20 items or more both are reached.
        std::map<std::string, std::tuple<int, int, int>> Expected;
    };
    const auto many = [](const std::string& name, int chance, int times) {
        return std::vector<std::pair<std::string, int>>(static_cast<size_t>(times), {name, chance});
    };
    std::vector<std::pair<std::string, int>> axe_then_maces = {{"Axe", 100}};
    for (const auto& row : many("Mace", 100, 40)) axe_then_maces.push_back(row);
    std::vector<std::pair<std::string, int>> crown_then_swords = {{"Crown", 100}};
    for (const auto& row : many("Sword", 100, 20)) crown_then_swords.push_back(row);
    const std::vector<TCase> cases = {
        {1, 0, -3, 2, many("Sword", 100, 40), {{"Sword", {40, 1, 3}}}},
        {1, 0, 0, 9, axe_then_maces, {{"Axe", {1, 5, 10}}, {"Mace", {40, 5, 10}}}}, // the minimum stays
                                                                                    // raised
        {1, 0, 0, 2, crown_then_swords, {{"Sword", {20, 1, 3}}}}, // a class above the maximum never stocks
        {6, 1, -2, 0, many("Sword", 100, 30), {{"Sword", {30, 4, 6}}}}, // the starting level, not the last
                                                                        // entry
        {0, 0, 0, 0, many("Sword", 100, 5), {{"Sword", {5, 1, 1}}}},    // levels are at least 1
        {1, 0, 0, 0, many("Sword", 0, 30), {}},                         // chance 0 never
        {1, 0, 0, 0, {{"Nothing", 100}, {"Sword", 100}}, {{"Sword", {1, 1, 1}}}}, // a row without its class
    };
    for (const TCase& c : cases) {
        Game_Options()->Start_Level = c.Start_Level;
        Game_Options()->Entry_Level = c.Entry_Level;
        Restock_With(Class_Of(c.Rows, c.Min_Offset, c.Max_Offset));
        EXPECT_TRUE(Store.Stocked);
        const auto seen = Stock_Levels();
        EXPECT_EQ(seen.size(), c.Expected.size())
            << "start " << c.Start_Level << ", " << c.Rows.size() << " rows";
        for (const auto& [name, expected] : c.Expected) {
            const auto [count, low, high] = expected;
            const auto found = seen.find(name);
            ASSERT_NE(found, seen.end()) << name;
            const auto [seen_count, seen_low, seen_high] = found->second;
            EXPECT_EQ(seen_count, count) << name;
            EXPECT_TRUE(seen_low >= low && seen_high <= high) << name << " " << seen_low << ".." << seen_high;
            EXPECT_TRUE(count < 20 || (seen_low == low && seen_high == high)) << name;
        }
    }
}

TEST_F(StoreRestock, ChancesAndMarginsFollowTheClass) {
    // A class above the maximum is skipped before its roll: the rows after it see the same rolls.
    std::vector<std::pair<std::string, int>> rows(30, {"Sword", 50});
    Seed_Random(21);
    Restock_With(Class_Of(rows, 0, 2));
    const auto without = Stock_Levels();
    rows.insert(rows.begin(), {"Crown", 100});
    Seed_Random(21);
    Restock_With(Class_Of(rows, 0, 2));
    EXPECT_EQ(Stock_Levels(), without);
    EXPECT_GT(std::get<0>(without.at("Sword")), 5);
    EXPECT_LT(std::get<0>(without.at("Sword")), 25);

    // Magic and unique chances are the starting level times the class's chances per level.
    ASSERT_TRUE(Load_Item_Modifiers(Folder.Write("mods.txt", Item_Modifiers_Text)));
    ASSERT_TRUE(Load_Unique_Names(Folder.Write("names.txt", Unique_Names_Text)));
    Game_Options()->Start_Level = 4;
    Game_Options()->Entry_Level = 1;
    for (auto [magic, unique, options, name] :
         {std::tuple{25.0, 0.0, true, "Sharp Sword"},
          {0.0, 25.0, true, "Grim Sword"},
          {0.0, 0.0, true, "Sword"},
          {100.0, 100.0, false, "Sword"}}) { // no game options: level 0, no chance
        if (!options) Free_Game_Options();
        TStore_Class c = Class_Of(std::vector<std::pair<std::string, int>>(200, {"Sword", 100}));
        c.Magic_Chance_Per_Level = magic;
        c.Unique_Chance_Per_Level = unique;
        Restock_With(c);
        std::map<std::string, int> names;
        for (int32_t n = 1; n <= Store.Stock_Item_Ids.Count(); ++n)
            ++names[Map->Item_List.Item(Store.Stock_Item_Ids.Get(n))->Name];
        EXPECT_EQ(names, (std::map<std::string, int>{{name, 200}})) << magic << " " << unique;
    }
    Create_Game_Options().Start_Level = 1;

    // A chance of 1 comes up now and then; a class found in stacks keeps its rolled quantity.
    Restock_With(Class_Of(std::vector<std::pair<std::string, int>>(2000, {"Sword", 1})));
    EXPECT_TRUE(Store.Stock_Item_Ids.Count() > 5 && Store.Stock_Item_Ids.Count() < 40);
    Restock_With(Class_Of(std::vector<std::pair<std::string, int>>(30, {"Arrows", 100})));
    std::set<int> quantities;
    for (int32_t n = 1; n <= Store.Stock_Item_Ids.Count(); ++n)
        quantities.insert(Map->Item_List.Item(Store.Stock_Item_Ids.Get(n))->Quantity);
    EXPECT_EQ(quantities, (std::set<int>{7, 8, 9}));

    // Buy and sell percents are rolled in their bounds on every restock; swapped bounds give the lower.
    TStore_Class margins = Class_Of({});
    margins.Buy_Cost_Percent_Min = 120;
    margins.Buy_Cost_Percent_Max = 80;
    margins.Sell_Cost_Percent_Min = 110;
    margins.Sell_Cost_Percent_Max = 130;
    std::map<int, int> sells;
    for (int n = 0; n < 300; ++n) {
        Restock_With(margins);
        EXPECT_EQ(Store.Get_Buy_Cost_Modifier(), 120);
        ++sells[Store.Get_Sell_Cost_Modifier()];
    }
    EXPECT_EQ(sells.size(), 21u);
    EXPECT_EQ(sells.begin()->first, 110);
    EXPECT_EQ(sells.rbegin()->first, 130);
}

TEST_F(StoreRestock, AFullStockListEndsTheRestock) {
    // The stock's id list grows by 16 up to 32752 entries; rows beyond make no item that nothing would list.
    Restock_With(Class_Of(std::vector<std::pair<std::string, int>>(32760, {"Sword", 100})));
    EXPECT_EQ(Store.Stock_Item_Ids.Count(), 32752);
    EXPECT_EQ(Map->Item_List.Count(), 32752);
    EXPECT_TRUE(Store.Stocked);
}

TEST_F(StoreRestock, ClassIndexOutsideTheTableLeavesTheStoreUnstocked) {
    Add_Store_Class(Class_Of({{"Sword", 100}}));
    Add_Store_Class(Class_Of({{"Sword", 100}}));
    for (uint16_t index : {0, 3, 65535}) {
        TStore store;
        store.Init(index, "Shop.txt", "Items.txt");
        Restock(store);
        EXPECT_FALSE(store.Stocked) << index;
        EXPECT_TRUE(store.Store_Name.empty() && store.Stock_Group_Names.empty() &&
                    store.Stock_Item_Ids.Count() == 0);
        EXPECT_EQ(store.Get_Sell_Cost_Modifier(), 0);
    }
    EXPECT_EQ(Map->Item_List.Count(), 0);
    TStore second;
    second.Init(2, "Shop.txt", "Items.txt");
    Restock(second);
    EXPECT_TRUE(second.Stocked);
    EXPECT_EQ(second.Stock_Item_Ids.Count(), 1);
}

TEST_F(StoreRestock, EveryMapLoadRestocksAllStoresAndFreesWhatItLoaded) {
    Folder.Write("Modules/Test/Data/ItemModifiers.txt", Item_Modifiers_Text);
    Folder.Write("Modules/Test/Data/UniqueItemNames.txt", Unique_Names_Text);
    Folder.Write("Modules/Test/Tiles/Items.txt", Item_Classes_Text({"Sword", "Bread"}));
    Folder.Write(
        "Modules/Test/Tiles/Shop.txt",
        Data_File_Text(
            {Store_Keys("1", "Smithy", {{"Blades", {{"Sword", "100"}, {"Sword", "100"}}}}),
             Store_Keys("2", "Baker",
                        {{"Food", {{"Bread", "100"}, {"bread", "100"}}}, {"More", {{"Bread", "100"}}}})}));
    TItem ground;
    ground.Name = "Lost coin";
    Map->Item_List.Add(&ground);
    for (uint16_t n = 1; n <= 2; ++n) {
        auto store = std::make_unique<TStore>();
        store->Init(n, "Shop.txt", n == 1 ? "Items.txt" : "Other.txt"); // store 1 names the files
        Map->Add_Store(std::move(store));
    }
    Install_Store_Restocker();
    TStream_Writer first_save;
    Map->Save(first_save);
    std::vector<uint8_t> saved = first_save.Bytes();

    const auto check = [this](TMap& map, const std::string& when) {
        int live = 0;
        for (int id = 1; id <= map.Item_List.Count(); ++id)
            live += map.Item_List.Item(static_cast<uint16_t>(id)) != nullptr;
        EXPECT_EQ(live, 1 + 2 + 3) << when;
        const TStore& smithy = *map.Get_Store(1);
        const TStore& baker = *map.Get_Store(2);
        EXPECT_TRUE(smithy.Stocked && baker.Stocked) << when;
        EXPECT_EQ(smithy.Store_Name + "/" + baker.Store_Name, "Smithy/Baker") << when;
        EXPECT_EQ(smithy.Stock_Group_Names, TString_List({"Blades", "Blades"})) << when;
        EXPECT_EQ(baker.Stock_Group_Names, TString_List({"Food", "Food", "More"})) << when;
        for (const TStore* store : {&smithy, &baker})
            for (int32_t n = 1; n <= store->Stock_Item_Ids.Count(); ++n)
                EXPECT_NE(map.Item_List.Item(store->Stock_Item_Ids.Get(n)), nullptr) << when;
        // Everything the restock loaded is gone again.
        EXPECT_EQ(Store_Class_Count() + Item_Modifier_Count() + Unique_Names_Count(), 0) << when;
        EXPECT_EQ(Current_Item_Class_List(), nullptr) << when;
        EXPECT_EQ(Current_Item_List(), &Map->Item_List) << when;
    };
    for (int load = 1; load <= 3; ++load) {
        TStream_Reader r(saved);
        ASSERT_TRUE(Map->Load(r, "1.map"));
        check(*Map, "load " + std::to_string(load));
        EXPECT_EQ(Map->Item_List.Item(1)->Name, "Lost coin");
        TStream_Writer again; // the next load empties this stock first
        Map->Save(again);
        saved = again.Bytes();
    }
    EXPECT_TRUE(Messages->Error_Lists.empty());

    // A map that is not the current one is stocked in its own item list.
    TMap other;
    TStream_Reader r(saved);
    ASSERT_TRUE(other.Load(r, "2.map"));
    check(other, "other map");
    EXPECT_EQ(Map->Item_List.Item(Map->Get_Store(2)->Stock_Item_Ids.Get(1))->Class_Name, "Bread");

    // A stores file that cannot be read is reported; the stores stay empty and the tables are freed.
    Map->Get_Store(1)->Store_Class_File = "Missing.txt";
    TStream_Writer broken;
    Map->Save(broken);
    TStream_Reader br(broken.Bytes());
    ASSERT_TRUE(Map->Load(br, "1.map"));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Store Class Data File Errors: ");
    EXPECT_FALSE(Map->Get_Store(1)->Stocked || Map->Get_Store(2)->Stocked);
    EXPECT_EQ(Store_Class_Count() + Item_Modifier_Count() + Unique_Names_Count(), 0);
    EXPECT_EQ(Current_Item_Class_List(), nullptr);

    // Without path settings there is no module to stock from.
    Map->Get_Store(1)->Store_Class_File = "Shop.txt";
    Install_Path_Settings(nullptr);
    Map->Restock_Stores();
    EXPECT_FALSE(Map->Get_Store(1)->Stocked || Map->Get_Store(2)->Stocked);
    EXPECT_FALSE(Load_Store_Classes("Shop.txt"));
    EXPECT_EQ(Store_Class_Count(), 0);
}

} // namespace
