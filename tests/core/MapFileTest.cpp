#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Path.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<uint8_t> Saved(const TMap& map) {
    TStream_Writer w;
    map.Save(w);
    return w.Bytes();
}

TWordList Words(std::initializer_list<uint16_t> values) {
    TWordList list;
    for (uint16_t v : values) list.Add(v);
    return list;
}

class Map_File : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        // The file routines read the file version before the map record; creature records depend on it.
        Saved_Version = Last_File_Version();
        Set_Last_File_Version("1.06");
        Folder.Write("Modules/Test/Tiles/Test_Terrain.txt", Floor_And_Wall_Terrain_File());
        ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
        ASSERT_TRUE(Map->Terrain_List.Load_From_File(Path_Settings()->Get_Tile_File("Test_Terrain.txt")));
    }
    void TearDown() override {
        Set_Last_File_Version(Saved_Version);
        TMap_Fixture::TearDown();
    }

    // Something in every part of the record: creatures and items with holes, piles with a hole, two stores,
    // chests, locks and traps, and squares with every field.
    void Furnish() {
        Map->Set_Name("Barrow, level 1");
        TMap_Square& square = *Map->Get_Square(9, 9);
        square = TMap_Square{127, 128, 40000, 0x3EB, 15};
        for (const char* name : {"a", "b", "c"}) Add_Creature(20 + name[0] - 'a', 20, name);
        Map->Remove_Monster(2);
        Map->End_Tick();
        std::vector<TItem*> items;
        for (int n = 0; n < 9; ++n) items.push_back(Add_Item("item" + std::to_string(n)));
        Map->Item_List.Delete_At(7);
        for (int n = 0; n < 6; ++n) Map->Get_Square(30 + n / 2, 30)->Drop_Item(items[static_cast<size_t>(n)]);
        Map->Get_Square(31, 30)->Pick_Up_Item(*Map->Monster_List.Get_Monster(1)); // pile 2 becomes a hole
        for (int n = 1; n <= 2; ++n) {
            auto store = std::make_unique<TStore>();
            store->Init(static_cast<uint16_t>(n), "Stores.txt", "Items.txt");
            store->Store_Name = "Store " + std::to_string(n);
            store->Magic_Chance_Per_Level = 0.25 * n;
            store->Item_Min_Level_Offset = -3;
            store->Stock_Group_Names = {"Weapons"};
            store->Stock_Item_Ids = Words({static_cast<uint16_t>(7 + n)});
            Map->Add_Store(std::move(store));
        }
        Map->Add_Chest(Words({1, 2}), 40, 41);
        Map->Add_Chest(Words({}), 42, 43);
        Map->Set_Lock("Crypt Key", 40, 41, true);
        Map->Set_Trap("Darts", 7, 8, true);
    }

    std::string Saved_Version;
};

TEST_F(Map_File, RoundTripAndCopyCompareEqual) {
    Furnish();
    // Files of old versions stored the terrain path with "\"; only its name part is used.
    const std::string terrain_path = Map->Terrain_List.File_Name;
    Map->Terrain_List.File_Name = "C:\\Games\\Murkrun\\Modules\\Test\\Tiles\\Test_Terrain.txt";
    TStream_Reader r(Saved(*Map));
    TMap read;
    ASSERT_TRUE(read.Load(r, "CurrGame/3.map"));
    EXPECT_TRUE(r.At_End());
    EXPECT_TRUE(Messages->Error_Lists.empty());
    EXPECT_EQ(read.Terrain_List.Count(), 2);
    EXPECT_EQ(read.Terrain_List.File_Name, terrain_path);
    EXPECT_EQ(read.File_Name, "CurrGame/3.map");
    EXPECT_EQ(read.Get_Item_Pile(2), nullptr);
    EXPECT_EQ(*read.Get_Chest(40, 41), Words({1, 2}));
    EXPECT_EQ(read.Monster_List.Get_Monster(3)->Name, "c");
    // Everything the record holds, compared through a second save.
    Map->Terrain_List.File_Name = terrain_path;
    Map->File_Name = read.File_Name;
    EXPECT_EQ(Saved(read), Saved(*Map));

    TWriteable_Map copy;
    copy.Assign(*Map);
    Map->Get_Item_Pile(1)->Clear();
    Map->Get_Store(1)->Stock_Item_Ids.Clear();
    Map->Get_Chest(40, 41)->Clear();
    EXPECT_EQ(Saved(copy), Saved(read)); // a deep copy: the changes above did not reach it

    // A record without piles, stores or chests leaves none of the old ones.
    TStream_Reader bare(Saved(TMap()));
    ASSERT_TRUE(Map->Load(bare, "bare.map"));
    EXPECT_EQ(Map->Item_Pile_Length() + Map->Store_Count() + Map->Chest_Count(), 0);
    EXPECT_EQ(Map->Terrain_List.Count(), 0);
}

TEST_F(Map_File, UnequalParallelListsFailTheLoad) {
    // The record ends with eight lists: chest x, chest y, lock names, lock x, lock y, trap names, trap x,
    // trap y. Each case rewrites that tail of an empty map's record, giving one list one entry.
    TStream_Writer empty_tail;
    for (int n = 0; n < 8; ++n) Write_Word(empty_tail, 0);
    const std::vector<uint8_t> whole = Saved(*Map);
    const std::vector<uint8_t> head(whole.begin(),
                                    whole.end() - static_cast<long>(empty_tail.Bytes().size()));
    for (int longer : {-1, 0, 1, 2, 4, 6}) {
        TStream_Writer w;
        w.Put_Bytes(head.data(), head.size());
        for (int n = 0; n < 8; ++n) {
            if (n != longer)
                Write_Word(w, 0);
            else if (n == 2 || n == 5)
                Write_String_List(w, {"name"});
            else
                Write_Word_List(w, Words({3}));
        }
        TStream_Reader r(w.Bytes());
        TMap read;
        if (longer < 0)
            EXPECT_TRUE(read.Load(r, "good.map"));
        else
            EXPECT_THROW(read.Load(r, "bad.map"), EStream_Read_Error) << longer;
    }
    TStore store;
    store.Stock_Group_Names = {"Weapons", "Armour"};
    store.Stock_Item_Ids = Words({4});
    TStream_Writer store_writer;
    store.Save(store_writer);
    TStream_Reader store_reader(store_writer.Bytes());
    EXPECT_THROW(TStore().Load(store_reader), EStream_Read_Error);
}

TEST_F(Map_File, ArrayLengthsTheBytesLeftCannotHoldAreRefusedFirst) {
    // The record ends with three arrays (item piles, stores, chests: a presence flag, then a length that
    // counts an unstored position 0) and eight lists. Each case gives one array a length and nothing
    // else: its positions are read from what follows, two bytes for each of the eight empty lists and one
    // for each later array's absent flag. The smallest stored positions: an absent pile is its flag (1), a
    // chest its empty list (2), a store a word, three strings, a flag, a string, four words, two reals
    // written as integers, two integers and two list counts (31).
    TStream_Writer empty_tail;
    for (int n = 0; n < 3; ++n) Write_Boolean(empty_tail, false);
    for (int n = 0; n < 8; ++n) Write_Word(empty_tail, 0);
    const std::vector<uint8_t> whole = Saved(*Map);
    const size_t tail_size = empty_tail.Bytes().size();
    ASSERT_TRUE(
        std::equal(whole.end() - static_cast<long>(tail_size), whole.end(), empty_tail.Bytes().begin()));
    const std::vector<uint8_t> head(whole.begin(), whole.end() - static_cast<long>(tail_size));
    enum TOutcome { Loads, Fails_Later, Refused };
    const struct TCase {
        int Array;       // 0 piles, 1 stores, 2 chests
        uint32_t Length; // as stored
        TOutcome Outcome;
    } cases[] = {
        // Bytes after the pile length: two absent flags and sixteen list bytes, 18 piles' worth.
        {0, 1, Loads},
        {0, 19, Fails_Later},
        {0, 20, Refused},
        {0, 65535, Refused},
        // After the store length 17 bytes: no store fits.
        {1, 1, Loads},
        {1, 2, Refused},
        {1, 65535, Refused},
        // After the chest length 16 bytes: 8 chests' worth.
        {2, 1, Loads},
        {2, 9, Fails_Later},
        {2, 10, Refused},
        {2, 65535, Refused},
    };
    for (const TCase& c : cases) {
        TStream_Writer w;
        w.Put_Bytes(head.data(), head.size());
        for (int array = 0; array < 3; ++array) {
            Write_Boolean(w, array == c.Array);
            if (array == c.Array) Write_Word(w, static_cast<uint16_t>(c.Length));
        }
        for (int n = 0; n < 8; ++n) Write_Word(w, 0);
        TStream_Reader r(w.Bytes());
        TMap read;
        TOutcome outcome = Loads;
        try {
            read.Load(r, "1.map");
        } catch (const EStream_Read_Error& e) {
            outcome = std::string(e.what()).find("exceeds the bytes left") != std::string::npos ? Refused
                                                                                                : Fails_Later;
        }
        EXPECT_EQ(outcome, c.Outcome) << "array " << c.Array << " length " << c.Length;
    }
}

TEST_F(Map_File, RestockerRunsOncePerLoadAndKeepsTheItemCountStable) {
    Furnish();
    int runs = 0;
    Set_Store_Restocker([&runs](TMap& map) {
        ++runs;
        for (int n = 1; n <= map.Store_Count(); ++n) {
            TStore* store = map.Get_Store(n);
            EXPECT_TRUE(store->Stock_Item_Ids.Count() == 0 && store->Store_Name.empty());
            EXPECT_EQ(store->Item_Class_File, "Items.txt");
            for (int k = 0; k < 3; ++k) {
                TItem item;
                store->Stock_Group_Names.push_back("Weapons");
                store->Stock_Item_Ids.Add(map.Item_List.Add(&item));
            }
        }
    });
    auto live_items = [this] {
        int count = 0;
        for (int id = 1; id <= Map->Item_List.Count(); ++id)
            count += Find_Item(static_cast<uint16_t>(id)) != nullptr;
        return count;
    };
    const int before = live_items(); // 8 items, 2 of them the old stock
    for (int load = 1; load <= 3; ++load) {
        TStream_Reader r(Saved(*Map));
        ASSERT_TRUE(Map->Load(r, "3.map"));
        EXPECT_EQ(runs, load);
        EXPECT_EQ(live_items(), before - 2 + 6);
        EXPECT_EQ(Map->Item_List.Item(1)->Name, "item0"); // items outside the stock stay
    }
    TMap bare; // no stores: the restocker is not called
    TStream_Reader r(Saved(TMap()));
    bare.Load(r, "bare.map");
    EXPECT_EQ(runs, 3);
}

} // namespace
