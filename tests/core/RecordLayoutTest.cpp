// The saved layouts of the small records: each record, with a distinct value in every field, writes the
// bytes its layout table encodes to, and reads those bytes back into every field.
#include "tests/core/RecordLayouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using namespace golden;

std::vector<uint8_t> Saved(const std::function<void(TStream_Writer&)>& save) {
    TStream_Writer w;
    save(w);
    return w.Bytes();
}

template <typename TList> TList List_Of(std::initializer_list<typename TList::Element> values) {
    TList list;
    for (auto v : values) list.Add(v);
    return list;
}

TEffect_List Sample_Effects(int32_t base) {
    TEffect_List e;
    e.Add_Effect(Effect_Cold_Damage, -5 - base, 41 + base);
    e.Add_Effect(Effect_Strength, 300 + base, 301 + base);
    e.Add_Effect(Effect_Reduce_Damage, 70000 + base, -70001 - base);
    return e;
}

TDamage Sample_Damage() {
    TDamage d;
    d.Set(1234, 40000, 201, 150);
    d.Rolled_Amount = 17; // the rolled amounts and the effects are not part of the record
    d.Spell_Amount = 18;
    d.Effects.Add_Effect(Effect_Fire_Damage, 2, 3);
    return d;
}

TRequirements Sample_Requirements(int32_t base) {
    TRequirements r;
    r.Types = List_Of<TbyteList>({Requirement_Strength, Requirement_Intelligence});
    r.Amounts = List_Of<TLongintList>({80001 + base, -12 - base});
    r.Per_Level_Kinds = List_Of<TbyteList>({Amount_Number, Amount_Percent});
    r.Per_Level_Amounts =
        List_Of<TWordList>({static_cast<uint16_t>(50000 + base), static_cast<uint16_t>(260 + base)});
    return r;
}

// A list with a hole at position 2.
TAttributes_List Sample_Attributes(uint16_t base) {
    const TAttribute first{
        static_cast<uint16_t>(60000 + base), -70000 - base, true, static_cast<uint8_t>(200 + base),
        static_cast<uint16_t>(1000 + base),  4003};
    const TAttribute third{7, 123456, false, 130, 33000, static_cast<uint16_t>(9 + base)};
    TAttributes_List list;
    list.Add(&first);
    list.Add(nullptr);
    list.Add(&third);
    return list;
}

TItem Sample_Item() {
    TItem i;
    i.Id = 513;
    i.Name = "Cinder Blade";
    i.Description = "Forged in the barrow";
    i.Class_Name = "Long Sword";
    i.Item_Group = "Blades";
    i.Item_Type = 17;
    i.Item_Level = 4097;
    i.Weapon_Type = "Sword";
    i.Picture = "sword3.bmp";
    i.Damage.Set(11, 40001, 129, 131);
    i.Ammo_Type = "Bolt";
    i.Ammo_Required = "Quarrel";
    i.Use_Sound = "swish.wav";
    i.Weight = 2050;
    i.Hands = 140;
    i.Event_Id = 777;
    i.Consumption_Type = 12;
    i.Consumption_Value = 32800;
    i.Defense_Rating = 1500;
    i.Key_Group = "Crypt";
    i.Gold_Value = 100000;
    i.Light_Radius = 133;
    i.Light_Turns = 3600;
    i.Quantity = 98;
    i.Max_Stack = 99;
    i.Attributes = Sample_Attributes(1);
    i.Requirements = Sample_Requirements(2);
    i.Effects = Sample_Effects(3);
    i.Spell_Names = {"Fireball", "Frost"};
    i.Spell_Levels = List_Of<TWordList>({14, 15});
    i.Picture_Index = 19; // set by the map for drawing, not saved
    return i;
}

TInventory Sample_Inventory(std::vector<TItem>& items) {
    TInventory inv;
    const int slots[] = {6, 11, 90};
    for (int n = 0; n < 3; ++n) {
        items[static_cast<size_t>(n)].Id = static_cast<uint16_t>(30001 + n);
        EXPECT_TRUE(inv.Put_In_Slot(&items[static_cast<size_t>(n)], slots[n]));
    }
    return inv;
}

void Sample_Spells(TSpells_List& s) {
    s.Set_Spell(501, 1200, 90);
    s.Set_Spell(40002, 13, 65);
    s.Set_Spell(503, 140, 33);
    for (int32_t n = 1; n <= TSpells_List::Quick_Slot_Count; ++n)
        s.Set_Quick_Slot(n, n % 2 ? Quick_Slot_Spell : Quick_Slot_Scroll, static_cast<uint16_t>(1000 + n));
    s.Set_Selected_Slot(7);
}

TNatural_Attacks Sample_Attacks() {
    TNatural_Attacks a;
    a.Add_Attack("Bite", 75, 1500, 301, 302, 1, 2);
    a.Add_Attack("Tail Lash", 200, 40100, 303, 304, 129, 180);
    a.Get_Effects(2)->Add_Effect(Effect_Poison_Damage, 305, 306);
    return a;
}

TStore Sample_Store() {
    TStore s;
    s.Init(4001, "Barrow_Stores.txt", "Barrow_Items.txt");
    s.Stocked = true;
    s.Store_Name = "Gravewright";
    s.Buy_Modifier_Min = 1080;
    s.Buy_Modifier_Max = 1120;
    s.Sell_Modifier_Min = 1030;
    s.Sell_Modifier_Max = 1060;
    s.Magic_Chance_Per_Level = 0.25;
    s.Unique_Chance_Per_Level = 1.5;
    s.Item_Min_Level_Offset = -3;
    s.Item_Max_Level_Offset = 70000;
    s.Item_Grouping_Type = "Weapons";
    s.Buy_Modifier = 111; // rolled on every restock, not saved
    s.Sell_Modifier = 112;
    s.Stock_Group_Names = {"Blades", "Bows"};
    s.Stock_Item_Ids = List_Of<TWordList>({601, 602});
    return s;
}

struct TLayout_Case {
    const char* Record;
    std::vector<uint8_t> Written;
    TFields Layout;
    // Reads the bytes into a record that held something else, and gives the layout of what it read.
    std::function<TFields(TStream_Reader&)> Read_Back;
    bool Distinct = true; // whether the layout's values are all different (nested lists may repeat)
};

TEST(RecordLayoutTest, EachRecordWritesItsFieldsInTheFileOrderAndReadsThemBack) {
    const TEffect_List effects = Sample_Effects(0);
    const TDamage damage = Sample_Damage();
    const TRequirements requirements = Sample_Requirements(0);
    const TAttributes_List attributes = Sample_Attributes(0);
    const TItem item = Sample_Item();
    std::vector<TItem> carried(3);
    const TInventory inventory = Sample_Inventory(carried);
    const TItem_Collection pile = inventory.Contents();
    TSpells_List spells;
    Sample_Spells(spells);
    const TNatural_Attacks attacks = Sample_Attacks();
    const TStore store = Sample_Store();
    const TMap_Square square{300, 40000, 129, 0x3EB, 15};
    TItem_List items;
    items.Set_List_Name("Barrow_Items.txt");
    items.Put(&item, 0);
    items.Put(nullptr, 0);
    TItem small;
    small.Name = "Pebble";
    items.Put(&small, 0);

    const TLayout_Case cases[] = {
        {"effect list", Saved([&](TStream_Writer& w) { effects.Write(w); }), Effect_List_Fields(effects, ""),
         [](TStream_Reader& r) {
             TEffect_List e = Sample_Effects(9);
             e.Read(r);
             return Effect_List_Fields(e, "");
         }},
        {"damage", Saved([&](TStream_Writer& w) { damage.Save_To_Stream(w); }), Damage_Fields(damage, ""),
         [](TStream_Reader& r) {
             TDamage d;
             EXPECT_TRUE(d.Load_From_Stream(r));
             return Damage_Fields(d, "");
         }},
        {"requirements", Saved([&](TStream_Writer& w) { requirements.Save_To_Stream(w); }),
         Requirements_Fields(requirements, ""),
         [](TStream_Reader& r) {
             TRequirements q = Sample_Requirements(5);
             EXPECT_TRUE(q.Load_From_Stream(r));
             return Requirements_Fields(q, "");
         }},
        {"attribute", Saved([&](TStream_Writer& w) { attributes.Attribute(1)->Save_To_Stream(w); }),
         Attribute_Fields(*attributes.Attribute(1), ""),
         [](TStream_Reader& r) {
             TAttribute a;
             EXPECT_TRUE(a.Load_From_Stream(r));
             return Attribute_Fields(a, "");
         }},
        {"attribute list", Saved([&](TStream_Writer& w) { attributes.Save_To_Stream(w); }),
         Attributes_Fields(attributes, ""),
         [](TStream_Reader& r) {
             TAttributes_List a = Sample_Attributes(4);
             EXPECT_TRUE(a.Load_From_Stream(r));
             return Attributes_Fields(a, "");
         }},
        {"item", Saved([&](TStream_Writer& w) { item.Save_To_Stream(w); }), Item_Fields(item, ""),
         [](TStream_Reader& r) {
             TItem i;
             EXPECT_TRUE(i.Load_From_Stream(r));
             return Item_Fields(i, "");
         }},
        {"item collection", Saved([&](TStream_Writer& w) { pile.Save_To_Stream(w); }),
         Collection_Fields(pile, ""),
         [](TStream_Reader& r) {
             TItem_Collection c;
             EXPECT_TRUE(c.Load_From_Stream(r));
             return Collection_Fields(c, "");
         }},
        {"inventory", Saved([&](TStream_Writer& w) { inventory.Save_To_Stream(w); }),
         Inventory_Fields(inventory, ""),
         [](TStream_Reader& r) {
             TInventory i;
             EXPECT_TRUE(i.Load_From_Stream(r));
             return Inventory_Fields(i, "");
         }},
        {"item list", Saved([&](TStream_Writer& w) { items.Save_To_Stream(w); }), Item_List_Fields(items, ""),
         [](TStream_Reader& r) {
             TItem_List l;
             EXPECT_TRUE(l.Load_From_Stream(r));
             return Item_List_Fields(l, "");
         },
         false},
        {"spell list", Saved([&](TStream_Writer& w) { spells.Save_To_Stream(w); }), Spells_Fields(spells, ""),
         [](TStream_Reader& r) {
             TSpells_List s;
             s.Set_Spell(9, 9, 9);
             EXPECT_TRUE(s.Load_From_Stream(r));
             return Spells_Fields(s, "");
         }},
        {"natural attacks", Saved([&](TStream_Writer& w) { attacks.Write(w); }),
         Natural_Attacks_Fields(attacks, ""),
         [](TStream_Reader& r) {
             TNatural_Attacks a;
             a.Add_Attack("Hands", 100, 0, 1, 4, 1, 0);
             EXPECT_TRUE(a.Read(r));
             return Natural_Attacks_Fields(a, "");
         }},
        {"store", Saved([&](TStream_Writer& w) { EXPECT_TRUE(store.Save(w)); }), Store_Fields(store, ""),
         [](TStream_Reader& r) {
             TStore s;
             EXPECT_TRUE(s.Load(r));
             EXPECT_EQ(s.Buy_Modifier + s.Sell_Modifier, 0);
             return Store_Fields(s, "");
         }},
        {"map square", Saved([&](TStream_Writer& w) { EXPECT_TRUE(square.Save(w)); }),
         Square_Fields(square, ""),
         [](TStream_Reader& r) {
             TMap_Square s;
             EXPECT_TRUE(s.Load(r));
             return Square_Fields(s, "");
         }},
    };
    for (const TLayout_Case& c : cases) {
        SCOPED_TRACE(c.Record);
        if (c.Distinct) {
            EXPECT_TRUE(Values_Distinct(c.Layout));
        }
        EXPECT_TRUE(Bytes_Match(c.Written, c.Layout));
        TStream_Reader r(Encode(c.Layout));
        EXPECT_TRUE(Same_Fields(c.Read_Back(r), c.Layout));
        EXPECT_TRUE(r.At_End());
    }
}

// Two records spelled out byte by byte, as a reader of the file format would work them out by hand.
TEST(RecordLayoutTest, SquareAndDamageBytesSpelledOut) {
    const TMap_Square square{300, 40000, 129, 0x3EB, 15};
    TDamage damage;
    damage.Set(7, 65535, 200, 128);
    const struct {
        const char* record;
        std::vector<uint8_t> written, bytes;
    } cases[] = {
        {"square",
         Saved([&](TStream_Writer& w) { EXPECT_TRUE(square.Save(w)); }),
         {3, 0x2C, 0x01, 4, 0x40, 0x9C, 0, 0, 3, 0x81, 0, 3, 0xEB, 0x03, 2, 15}},
        {"damage",
         Saved([&](TStream_Writer& w) { damage.Save_To_Stream(w); }),
         {2, 7, 4, 0xFF, 0xFF, 0, 0, 3, 200, 0, 3, 128, 0}},
        {"store chance 0.25", Encode({{Real, "chance", 0.25}}), {5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFD, 0x3F}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        EXPECT_EQ(Hex(c.written, 0, 64), Hex(c.bytes, 0, 64));
    }
}

// The list counts and the stream's own tags at their edges: a count of 128 or more takes a 16-bit tag,
// and a string beyond 255 bytes a 32-bit length. Each record's reader must take those forms too.
TEST(RecordLayoutTest, CountsAndStringsBeyondOneByteKeepTheirLayout) {
    TItem item;
    item.Name = std::string(300, 'n');
    item.Description = std::string(255, 'd');
    for (int n = 1; n <= 130; ++n) {
        item.Spell_Names.push_back("s" + std::to_string(n));
        item.Spell_Levels.Add(static_cast<uint16_t>(n + 1000));
    }
    TItem_Collection pile;
    for (uint16_t n = 1; n <= 200; ++n) {
        TItem carried;
        carried.Id = static_cast<uint16_t>(n * 300);
        pile.Add(&carried);
    }
    const std::vector<uint8_t> written = Saved([&](TStream_Writer& w) {
        item.Save_To_Stream(w);
        pile.Save_To_Stream(w);
    });
    const TFields layout = Join({Item_Fields(item, "item "), Collection_Fields(pile, "pile ")});
    EXPECT_TRUE(Bytes_Match(written, layout));
    // The tags themselves, spelled out: the long name, and the pile's count of 200.
    const std::vector<uint8_t> bytes = Encode(layout);
    const std::vector<uint8_t> long_name_head = {2, 0, 12, 0x2C, 0x01, 0, 0, 'n'};
    EXPECT_TRUE(std::equal(long_name_head.begin(), long_name_head.end(), written.begin()));
    const size_t pile_at = written.size() - Encode(Collection_Fields(pile, "")).size();
    const std::vector<uint8_t> pile_head = {3, 200, 0, 3, 0x2C, 0x01};
    EXPECT_TRUE(std::equal(pile_head.begin(), pile_head.end(), written.begin() + static_cast<long>(pile_at)));

    TStream_Reader r(bytes);
    TItem read;
    TItem_Collection read_pile;
    EXPECT_TRUE(read.Load_From_Stream(r));
    EXPECT_TRUE(read_pile.Load_From_Stream(r));
    EXPECT_TRUE(
        Same_Fields(Join({Item_Fields(read, "item "), Collection_Fields(read_pile, "pile ")}), layout));
    EXPECT_TRUE(r.At_End());
}

} // namespace
