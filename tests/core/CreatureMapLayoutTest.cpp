// The saved layouts of the creature, the creature list and the map record: each, with a distinct value in
// every field, writes the bytes its layout table encodes to, and reads those bytes back into every field.
#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "tests/core/RecordLayouts.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace golden;

template <typename TRecord> std::vector<uint8_t> Saved(const TRecord& record) {
    TStream_Writer w;
    if constexpr (requires { record.Save_To_Stream(w); })
        record.Save_To_Stream(w);
    else if constexpr (requires { record.Save(w); })
        EXPECT_TRUE(record.Save(w));
    else
        record.Write(w);
    return w.Bytes();
}

TWordList Words(std::initializer_list<uint16_t> values) {
    TWordList list;
    for (uint16_t v : values) list.Add(v);
    return list;
}

// A creature whose fields all differ. The statistics the recalculation derives (attributes,
// resistances, light radius, life regeneration, weight, move delay) are made to differ through its
// permanent effects and are recalculated before it is saved, as every read recalculates them.
void Furnish_Creature(TMonster& m) {
    m.Id = 4242;
    m.Name = "Barrow Wight";
    m.Description = "It remembers";
    m.Module_Name = "Barrow";
    m.Picture = "wight.bmp";
    m.Attack_Picture = "wight_attack.bmp";
    m.Monster_Group = "Undead";
    m.Is_Unique = true;
    m.Is_Undead = false;
    m.X = 140;
    m.Y = 141;
    m.Home_X = 142;
    m.Home_Y = 143;
    m.Event_Id = -2;
    m.Movement_Flags = 150;
    m.Vision_Flags = 151;
    m.Does_Attack = false;
    m.When_To_Retreat = 154;
    m.Response_Range = 155;
    m.Movement_Strategy = 156;
    m.Set_Move_Delay(2345);
    m.Intelligence_Category = 157;
    m.Corpse_Type = 158;
    m.Sound_Death = "die.wav";
    m.Sound_Attack = "hit.wav";
    m.Sound_Growl = "growl.wav";
    m.Leader_Id = -300;
    m.Guard_Range = 40404;
    m.Character_State = 159;
    m.Can_Be_Given_Items = true;
    m.Base_Strength = -7;
    m.Base_Dexterity = 1101;
    m.Base_Intelligence = 1202;
    m.Base_Constitution = 1303;
    m.Base_Resist = 17;
    m.Level = 3001;
    m.Gold = 123456;
    m.Experience = 654321;
    m.Experience_Bonus = 250;
    // A class the class table does not hold: the creature is recalculated as a monster.
    m.Class_Index = 201;
    m.Class_Name = "Wight";
    m.Status = Status_Blind;
    m.Status_Ms = 98765;
    m.Status_Source = 4343;
    m.Permanent_Mana = 5151;
    m.Permanent_Life = -6;
    m.Mana = 12.5;
    m.Max_Mana = 40000;
    m.Life = 37.25;
    m.Max_Life = 6161;
    m.Food = 717;
    m.Max_Food = 727;
    m.Max_Weight = 8181;
    m.Mana_Regeneration = 1.75;
    m.Attack = 9191;
    m.Defense = 9292;
    m.Attribute_Points = -9;
    m.Skill_Points = 99;
    TItem carried[2];
    carried[0].Id = 31001;
    carried[1].Id = 31002;
    m.Inventory.Put_In_Slot(&carried[0], 30);
    m.Inventory.Put_In_Slot(&carried[1], 31);
    m.Store_Id = -4;
    m.Talk_Topics = {"Name", "Job"};
    m.Talk_Texts = {"I am the wight.", "I keep the dead."};
    m.Natural_Attacks.Clear();
    m.Natural_Attacks.Add_Attack("Claw", 180, 1600, 2001, 2002, 160, 161);
    m.Natural_Attacks.Add_Attack("Chill Touch", 162, 1700, 2003, 2004, 163, 164);
    m.Natural_Attacks.Get_Effects(2)->Add_Effect(Effect_Cold_Damage, 2005, 2006);
    const struct {
        uint8_t type;
        int32_t min;
    } permanent[] = {
        {Effect_Strength, 1007},       {Effect_Dexterity, 110},    {Effect_Intelligence, 120},
        {Effect_Constitution, 130},    {Effect_Fire_Resist, 61},   {Effect_Cold_Resist, 62},
        {Effect_Lightning_Resist, 63}, {Effect_Magic_Resist, 64},  {Effect_Poison_Resist, 65},
        {Effect_Physical_Resist, 66},  {Effect_Light_Radius, 165}, {Effect_Life_Regeneration, 33}};
    for (const auto& e : permanent) m.Permanent_Effects.Add_Effect(e.type, e.min, e.min + 5000);
    m.Spells.Set_Spell(7001, 7011, 7021);
    m.Spells.Set_Spell(7002, 7012, 7022);
    for (int32_t n = 1; n <= TSpells_List::Quick_Slot_Count; ++n)
        m.Spells.Set_Quick_Slot(n, static_cast<uint8_t>(n % 3 == 0 ? Quick_Slot_Empty : 1 + n % 2),
                                static_cast<uint16_t>(7100 + n));
    m.Spells.Set_Selected_Slot(8);
    m.Add_Timed_Effect(Effect_Fire_Damage, 8801, 8802, 90);
    m.Status_Lines = {"Ancient", "Cursed"};
    m.Recalculate_Stats();
}

class Creature_And_Map_Layout : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Saved_Version = Last_File_Version();
        Set_Last_File_Version("1.06");
        Set_Store_Restocker(nullptr);
    }
    void TearDown() override {
        Set_Last_File_Version(Saved_Version);
        TProgram_Folder_Test::TearDown();
    }
    std::string Saved_Version;
};

TEST_F(Creature_And_Map_Layout, CreatureRecordOfEachFileVersion) {
    TMonster creature;
    Furnish_Creature(creature);
    const TFields layout = Creature_Fields(creature, "");
    EXPECT_TRUE(Values_Distinct(layout));
    EXPECT_TRUE(Bytes_Match(Saved(creature), layout));

    // Older files lack the home square ("1.00") and the experience bonus (before "1.06"); what they lack
    // reads as 0.
    const struct {
        const char* version;
        bool has_home, has_bonus;
    } versions[] = {{"1.06", true, true}, {"1.01", true, false}, {"1.00", false, false}};
    for (const auto& v : versions) {
        SCOPED_TRACE(v.version);
        TMonster expected;
        expected.Assign(creature);
        if (!v.has_home) expected.Home_X = expected.Home_Y = 0;
        if (!v.has_bonus) expected.Experience_Bonus = 0;
        Set_Last_File_Version(v.version);
        TStream_Reader r(Encode(Creature_Fields(creature, "", v.version)));
        TMonster read;
        EXPECT_TRUE(read.Load_From_Stream(r));
        EXPECT_TRUE(r.At_End());
        EXPECT_TRUE(Same_Fields(Creature_Fields(read, ""), Creature_Fields(expected, "")));
    }
}

TEST_F(Creature_And_Map_Layout, CreatureListKeepsItsEmptySlots) {
    TMonster_List list;
    list.Set_Name("Barrow creatures");
    TMonster wight, rat;
    Furnish_Creature(wight);
    rat.Name = "Rat";
    list.Put_Monster(wight, 0);
    list.Put_Monster(rat, 0);
    list.Put_Monster(rat, 0);
    list.Remove_Monster(2);
    const TFields layout = Monster_List_Fields(list, "");
    EXPECT_TRUE(Bytes_Match(Saved(list), layout));
    TMonster_List read;
    read.Put_Monster(rat, 0);
    TStream_Reader r(Encode(layout));
    EXPECT_TRUE(read.Read(r));
    EXPECT_TRUE(r.At_End());
    EXPECT_TRUE(Same_Fields(Monster_List_Fields(read, ""), layout));
    EXPECT_EQ(read.Get_Monster(2), nullptr);
    EXPECT_EQ(read.Get_Monster(3)->Id, 3);
}

// One terrain kind, with every key a terrain record needs.
std::string Terrain_File() {
    TKeys keys = {{"Name", "Golden Floor"},       {"ID", "7"},
                  {"Terrain Category", "floor"},  {"Picture Filename L1", "floor.bmp"},
                  {"Sight Side Hidden", "None"},  {"Sight Hidden Layer", "3"},
                  {"Overview Color", "1,2,3"},    {"Damage Firing FX", "None"},
                  {"Next Terrain Action", "None"}};
    for (const char* key : {"Movement Flag Land", "Movement Flag Air", "Vision Flag Normal"})
        keys.emplace_back(key, "TRUE");
    for (const char* key : {"Movement Flag Water", "Movement Flag Ethereal", "Display Chest Window"})
        keys.emplace_back(key, "FALSE");
    for (const char* key :
         {"Next Animated Terrain ID", "Light Radius Generated", "Style", "Damage Amount Min",
          "Damage Amount Max", "Damage Maximum Range", "Next Terrain ID 1", "Next Terrain ID 2",
          "Next Terrain ID 3", "Next Terrain ID 4", "Number of Duplicate Terrains",
          "Number of Locked Key Groups"})
        keys.emplace_back(key, "0");
    for (const char* key : {"Description", "Picture Filename L2", "Picture Filename L3",
                            "Next Terrain Sound File", "Locked Terrain Group", "Trapped Terrain Group"})
        keys.emplace_back(key, "");
    return Data_File_Text({keys});
}

// Something in every part of the record: squares that tell x and y apart, items and creatures with an
// empty position, piles with a hole, two stores, chests, locks and traps.
void Furnish_Map(TMap& map) {
    map.Set_Name("Barrow, level 2");
    map.File_Name = "CurrGame/2.map";
    map.Set_Universal_Light(true);
    // Files of old versions stored the terrain path with "\"; it is the terrain file the map refers to.
    map.Terrain_List.File_Name = "C:\\Murkhollow\\Modules\\Test\\Tiles\\Golden_Terrain.txt";
    TItem item;
    item.Name = "Grave Dust";
    map.Item_List.Set_List_Name("Barrow_Items.txt");
    map.Item_List.Put(&item, 0);
    map.Item_List.Put(nullptr, 0);
    item.Name = "Bone";
    map.Item_List.Put(&item, 0);
    map.Monster_List.Set_Name("Barrow creatures");
    TMonster wight;
    Furnish_Creature(wight);
    wight.Inventory.Clear();
    map.Monster_List.Put_Monster(wight, 0);
    const uint16_t pile = map.New_Item_Pile();
    map.Get_Item_Pile(pile)->Add(map.Item_List.Item(1));
    map.Get_Item_Pile(pile)->Add(map.Item_List.Item(3));
    map.Delete_Item_Pile(map.New_Item_Pile()); // position 2 stays a hole
    for (uint16_t n = 1; n <= 2; ++n) {
        auto store = std::make_unique<TStore>();
        store->Init(static_cast<uint16_t>(300 + n), "Stores" + std::to_string(n) + ".txt", "Items.txt");
        store->Magic_Chance_Per_Level = 0.5 * n;
        store->Stock_Group_Names = {"Blades"};
        store->Stock_Item_Ids = Words({static_cast<uint16_t>(n + 1)});
        map.Add_Store(std::move(store));
    }
    map.Add_Chest(Words({1, 3}), 40, 41);
    map.Add_Chest(Words({}), 42, 43);
    map.Set_Lock("Crypt Key", 40, 41, true);
    map.Set_Lock("Gate Key", 50, 51, true);
    map.Set_Trap("Darts", 7, 8, true);
    const struct {
        int x, y;
        TMap_Square square;
    } squares[] = {{1, 1, {1, 2, 3, 4, 5}},
                   {1, 2, {6, 7, 8, 9, 10}},
                   {2, 1, {11, 12, 13, 14, 15}},
                   {9, 9, {300, pile, 1, 1u << Square_Flag_Pile, 3}},
                   {200, 199, {40000, 65535, 32768, 0x3EB, 129}},
                   {200, 200, {16, 17, 18, 19, 200}}};
    for (const auto& s : squares) *map.Get_Square(s.x, s.y) = s.square;
}

TEST_F(Creature_And_Map_Layout, MapRecordAndTheTerrainFileItRefersTo) {
    Folder.Write("Modules/Test/Tiles/Golden_Terrain.txt", Terrain_File());
    ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
    TMap map;
    Furnish_Map(map);
    const TFields layout = Map_Fields(map);
    EXPECT_TRUE(Bytes_Match(Saved(map), layout));

    // The stored file name gives way to the file read, and the terrain kinds come from the stored
    // terrain file's name in the module's own folder.
    TFields read_layout = layout;
    Field_Named(read_layout, "File_Name") = TField(String, "File_Name", "CurrGame/7.map");
    const std::string terrain_file = Path_Settings()->Get_Tile_File("Golden_Terrain.txt");
    Field_Named(read_layout, "terrain file") = TField(String, "terrain file", terrain_file);
    TMap read;
    TStream_Reader r(Encode(layout));
    EXPECT_TRUE(read.Load(r, "CurrGame/7.map"));
    EXPECT_TRUE(r.At_End());
    EXPECT_TRUE(Same_Fields(Map_Fields(read), read_layout));
    ASSERT_EQ(read.Terrain_List.Count(), 1);
    EXPECT_EQ(read.Terrain_List.Terrain(1)->Name, "Golden Floor");
    EXPECT_TRUE(Messages->Error_Lists.empty());

    // A map without piles, stores or chests stores false presence flags, and reading it leaves none of
    // those the map held.
    TMap bare;
    const TFields bare_layout = Map_Fields(bare);
    EXPECT_TRUE(Bytes_Match(Saved(bare), bare_layout));
    TStream_Reader bare_reader(Encode(bare_layout));
    EXPECT_TRUE(read.Load(bare_reader, ""));
    EXPECT_TRUE(Same_Fields(Map_Fields(read), bare_layout));
}

} // namespace
