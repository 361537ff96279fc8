// The stores as a map file holds them, pinned byte for byte: a restocked store with its stock and an
// unstocked one. The expected bytes are written here from the save stream's tags, not by the stream code.
#include "generation/RndClassStore.h"

#include "core/GameOptions.h"
#include "core/MapMain.h"
#include "core/Store.h"
#include "generation/RndClassItem.h"
#include "tests/support/CoreTestSupport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace {

using TBytes = std::vector<uint8_t>;

// One value of the stream: an integer (smallest of tags 2, 3, 4), a string (tag 6), a boolean (tags 9, 8)
// or raw bytes written as they stand (a real's tag and ten bytes).
struct TRaw {
    TBytes Bytes;
};
using TValue = std::variant<int64_t, std::string, bool, TRaw>;

TBytes Encode(const std::vector<TValue>& values) {
    TBytes out;
    for (const TValue& value : values) {
        if (const auto* n = std::get_if<int64_t>(&value)) {
            const int width = (*n >= -128 && *n <= 127) ? 1 : (*n >= -32768 && *n <= 32767) ? 2 : 4;
            out.push_back(width == 1 ? 2 : width == 2 ? 3 : 4);
            for (int b = 0; b < width; ++b)
                out.push_back(static_cast<uint8_t>((static_cast<uint64_t>(*n) >> (8 * b)) & 0xFF));
        } else if (const auto* s = std::get_if<std::string>(&value)) {
            out.push_back(6);
            out.push_back(static_cast<uint8_t>(s->size()));
            out.insert(out.end(), s->begin(), s->end());
        } else if (const auto* flag = std::get_if<bool>(&value)) {
            out.push_back(*flag ? 9 : 8);
        } else {
            const TBytes& raw = std::get<TRaw>(value).Bytes;
            out.insert(out.end(), raw.begin(), raw.end());
        }
    }
    return out;
}

TValue I(int64_t n) {
    return n;
}
TValue S(const std::string& s) {
    return s;
}
// 0.5 and 0.25 as 80-bit extended reals: significand 8000000000000000, exponents 3FFE and 3FFD.
const TRaw Half{{5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F}};
const TRaw Quarter{{5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFD, 0x3F}};
const TRaw Zero_Real{{5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};

using StoreRecordGolden = TProgram_Folder_Test;

TEST_F(StoreRecordGolden, StoresAndTheirStockInTheMapFile) {
    Install_Current_Map(std::make_unique<TMap>());
    TMap& map = *Current_Map();
    Create_Game_Options().Start_Level = 1;
    TItem_Class_List classes;
    TCurrent_Item_Class_List_Guard current(classes);
    for (const char* name : {"Sword", "Bread"}) {
        TItem_Class c;
        c.Class_Name = c.Name = name;
        c.Item_Level_Min = 1;
        classes.Add_Class(c);
    }
    TStore_Class c;
    c.Store_Name = "Smithy";
    c.Buy_Cost_Percent_Min = c.Buy_Cost_Percent_Max = 40;
    c.Sell_Cost_Percent_Min = 130;
    c.Sell_Cost_Percent_Max = 40000;
    c.Magic_Chance_Per_Level = 0.5;
    c.Unique_Chance_Per_Level = 0.25;
    c.Item_Min_Level_Offset = -3;
    c.Item_Max_Level_Offset = 300;
    c.Item_Grouping_Type = "Common";
    for (const auto& [group, name] :
         {std::pair{"Weapons", "Sword"}, {"Weapons", "Sword"}, {"Food", "Bread"}}) {
        c.Stock_Group_Names.push_back(group);
        c.Stock_Item_Class_Names.push_back(name);
        c.Stock_Appearance_Chances.Add(100);
    }
    Add_Store_Class(c);
    for (uint16_t index : {1, 0}) {
        auto store = std::make_unique<TStore>();
        store->Init(index, "Shop.txt", "Items.txt");
        Restock(*store);
        map.Add_Store(std::move(store));
    }
    ASSERT_EQ(map.Get_Store(1)->Stock_Item_Ids.Count(), 3);

    // The map record's end: no piles, the stores array (length 3 with position 0), no chests, and the eight
    // empty chest, lock and trap lists.
    const TBytes expected =
        Encode({false,                                       // piles
                true, I(3),                                  // stores present, length
                I(1), S("Shop.txt"), S("Items.txt"), true,   // store 1: class, files, stocked
                S("Smithy"), I(40), I(40), I(130), I(40000), // name, buy and sell bounds
                Half, Quarter, I(-3), I(300), S("Common"),   // chances per level,
                                                             // offsets, grouping
                I(3), S("Weapons"), S("Weapons"), S("Food"), // stock group names
                I(3), I(1), I(2), I(3),                      // stock item ids
                I(0), S("Shop.txt"), S("Items.txt"), false,  // store 2: no class, never stocked
                S(""), I(0), I(0), I(0), I(0), Zero_Real, Zero_Real, I(0), I(0), S(""), I(0), I(0),
                false,                                            // chests
                I(0), I(0), I(0), I(0), I(0), I(0), I(0), I(0)}); // chest squares, locks, traps
    TStream_Writer w;
    map.Save(w);
    const TBytes& saved = w.Bytes();
    ASSERT_GT(saved.size(), expected.size());
    EXPECT_EQ(TBytes(saved.end() - static_cast<long>(expected.size()), saved.end()), expected);

    // The rolled margins are not part of the record; reading it back gives the same bytes.
    EXPECT_GE(map.Get_Store(1)->Get_Sell_Cost_Modifier(), 130);
    TStream_Reader r(w.Bytes());
    TMap read;
    ASSERT_TRUE(read.Load(r, "1.map"));
    EXPECT_EQ(read.Get_Store(1)->Get_Sell_Cost_Modifier(), 0);
    read.File_Name = map.File_Name; // the path read from takes the stored one's place
    TStream_Writer again;
    read.Save(again);
    EXPECT_EQ(again.Bytes(), saved);

    Free_Store_Classes();
    Free_Game_Options();
    Install_Current_Map(nullptr);
}

} // namespace
