#include "core/Terrain.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "core/SoundSeam.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

const char* const Header = "Terrain\r\n*BEGIN*\r\n\r\n\r\n";

// Every key a terrain record must carry, with plain values.
TKeys Full_Record(const std::string& name, const std::string& id) {
    return {
        {"Name", name},
        {"ID", id},
        {"Description", "A " + name},
        {"Terrain Category", "floor"},
        {"Picture Filename L1", name + "_1.bmp"},
        {"Picture Filename L2", ""},
        {"Picture Filename L3", name + "_3.bmp"},
        {"Sight Side Hidden", "None"},
        {"Sight Hidden Layer", "3"},
        {"Movement Flag Land", "TRUE"},
        {"Movement Flag Air", "TRUE"},
        {"Movement Flag Water", "FALSE"},
        {"Movement Flag Ethereal", "TRUE"},
        {"Vision Flag Normal", "TRUE"},
        {"Next Animated Terrain ID", "0"},
        {"Overview Color", "10,20,30"},
        {"Light Radius Generated", "0"},
        {"Style", "0"},
        {"Damage Amount Min", "0"},
        {"Damage Amount Max", "0"},
        {"Damage Maximum Range", "0"},
        {"Damage Firing FX", "None"},
        {"Next Terrain Action", "None"},
        {"Next Terrain Sound File", ""},
        {"Next Terrain ID 1", "0"},
        {"Next Terrain ID 2", "0"},
        {"Next Terrain ID 3", "0"},
        {"Next Terrain ID 4", "0"},
        {"Number of Duplicate Terrains", "0"},
        {"Locked Terrain Group", ""},
        {"Trapped Terrain Group", ""},
        {"Display Chest Window", "FALSE"},
        {"Number of Locked Key Groups", "0"},
    };
}

TKeys& Set(TKeys& keys, const std::string& key, const std::string& value) {
    for (auto& [k, v] : keys) {
        if (k == key) {
            v = value;
            return keys;
        }
    }
    keys.emplace_back(key, value);
    return keys;
}

TKeys& Remove(TKeys& keys, const std::string& key) {
    std::erase_if(keys, [&](const auto& kv) { return kv.first == key; });
    return keys;
}

std::string File_Text(const std::vector<TKeys>& records) {
    std::string text = Header;
    for (size_t r = 0; r < records.size(); ++r) {
        if (r > 0) text += "\r\n";
        for (const auto& [key, value] : records[r]) text += key + " := " + value + "\r\n";
    }
    return text + "*END*\r\n";
}

class TerrainTest : public TProgram_Folder_Test {
protected:
    std::string Write(const std::vector<TKeys>& records, const std::string& name = "Test_Terrain.txt") {
        return Folder.Write(name, File_Text(records));
    }
};

// A source terrain with two picture variants, one of which names only its layer-2 picture.
std::vector<TKeys> Records_With_Duplicates() {
    TKeys grave = Full_Record("Grave", "10");
    Set(grave, "Picture Filename L2", "grave_2.bmp");
    Set(grave, "Terrain Category", "floor, grave");
    Set(grave, "Number of Locked Key Groups", "1");
    Set(grave, "Locked Key Group 1 Name", "Crypt Key");
    Set(grave, "Number of Duplicate Terrains", "2");
    Set(grave, "Duplicate Terrain 1 Filename L2", "grave_moss_2.bmp");
    Set(grave, "Duplicate Terrain 1 Filename L3", "");
    Set(grave, "Duplicate Terrain 2 Filename L2", "grave_cracked_2.bmp");
    Set(grave, "Duplicate Terrain 2 Filename L3", "grave_cracked_3.bmp");
    return {grave, Full_Record("Floor", "20")};
}

} // namespace

TEST_F(TerrainTest, DuplicatesBecomeVariantsAfterTheLoadedTerrains) {
    const std::string path = Write(Records_With_Duplicates());
    TTerrain_List list;
    ASSERT_TRUE(list.Load_From_File(path));
    EXPECT_TRUE(Messages->Error_Lists.empty());
    EXPECT_EQ(list.File_Name, path);
    ASSERT_EQ(list.Count(), 4);

    const TTerrain* grave = list.Terrain(1);
    ASSERT_NE(grave, nullptr);
    EXPECT_EQ(grave->Name, "Grave");
    EXPECT_EQ(grave->Duplicate_L2.size(), 2u);
    EXPECT_EQ(list.Terrain(2)->Name, "Floor");

    struct TExpected {
        uint16_t Id;
        const char* L2;
        const char* L3;
    };
    for (const TExpected& e : {TExpected{3, "grave_moss_2.bmp", "Grave_3.bmp"},
                               TExpected{4, "grave_cracked_2.bmp", "grave_cracked_3.bmp"}}) {
        SCOPED_TRACE(e.Id);
        const TTerrain* copy = list.Terrain(e.Id);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->List_Id, e.Id);
        EXPECT_EQ(copy->Picture_L2, e.L2);
        EXPECT_EQ(copy->Picture_L3, e.L3);
        // Everything else is the source's, and a copy has no variants of its own to expand again.
        EXPECT_EQ(copy->Data_Id, 10);
        EXPECT_EQ(copy->Name, "Grave");
        EXPECT_EQ(copy->Picture_L1, "Grave_1.bmp");
        EXPECT_EQ(copy->Categories, (TString_List{"floor", "grave"}));
        EXPECT_EQ(copy->Locked_Key_Groups, TString_List{"Crypt Key"});
        EXPECT_EQ(copy->Overview_Color, grave->Overview_Color);
        EXPECT_TRUE(copy->Duplicate_L2.empty());
        EXPECT_TRUE(copy->Duplicate_L3.empty());
    }

    // The last variant answers for the source's data id.
    EXPECT_EQ(list.Find_By_Data_Id(10), 4);
    EXPECT_EQ(list.Find_By_Data_Id(20), 2);
    EXPECT_EQ(list.Find_By_Data_Id(99), 0);

    // Squares keep positions across map loads: loading again, into a list holding something else, gives
    // the same positions.
    TTerrain_List again;
    TTerrain stray;
    stray.Name = "Stray";
    again.Add(stray);
    ASSERT_TRUE(again.Load_From_File(path));
    ASSERT_EQ(again.Count(), list.Count());
    for (uint16_t id = 1; id <= list.Count(); ++id) {
        EXPECT_EQ(again.Terrain(id)->Name, list.Terrain(id)->Name);
        EXPECT_EQ(again.Terrain(id)->Picture_L2, list.Terrain(id)->Picture_L2);
        EXPECT_EQ(again.Terrain(id)->Picture_L3, list.Terrain(id)->Picture_L3);
    }
}

TEST_F(TerrainTest, MissingStyleIsReportedPerRecordAndEverythingStillLoads) {
    std::vector<TKeys> records = Records_With_Duplicates();
    for (TKeys& record : records) Remove(record, "Style");
    const std::string path = Write(records);

    TTerrain_List list;
    EXPECT_FALSE(list.Load_From_File(path));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    const auto& shown = Messages->Error_Lists[0];
    EXPECT_EQ(shown.Heading, "Terrain Data File Errors: ");
    EXPECT_EQ(shown.File_Name, path);
    ASSERT_EQ(shown.List.size(), 2u);
    EXPECT_EQ(shown.List[0], Missing_Field_Line("Style", "Grave", 1));
    EXPECT_EQ(shown.List[1], Missing_Field_Line("Style", "Floor", 2));

    // Both terrains and the two variants are there.
    ASSERT_EQ(list.Count(), 4);
    for (uint16_t id = 1; id <= 4; ++id) EXPECT_EQ(list.Terrain(id)->Style, 0);
    EXPECT_EQ(list.Terrain(4)->Picture_L3, "grave_cracked_3.bmp");
}

TEST_F(TerrainTest, MissingListKeysKeepTheirPlaces) {
    TKeys gate = Full_Record("Gate", "5");
    Set(gate, "Number of Duplicate Terrains", "2");
    Set(gate, "Duplicate Terrain 1 Filename L3", "gate_a_3.bmp"); // its L2 key is missing
    Set(gate, "Duplicate Terrain 2 Filename L2", "gate_b_2.bmp");
    Set(gate, "Duplicate Terrain 2 Filename L3", "gate_b_3.bmp");
    Set(gate, "Number of Locked Key Groups", "2");
    Set(gate, "Locked Key Group 2 Name", "Iron Key"); // key group 1 is missing
    TKeys nameless = Full_Record("", "6");
    Remove(nameless, "Name");
    const std::string path = Write({gate, nameless});

    TTerrain_List list;
    EXPECT_FALSE(list.Load_From_File(path));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].List,
              (TString_List{Missing_Field_Line("Duplicate Terrain 1 Filename L2", "Gate", 1),
                            Missing_Field_Line("Locked Key Group 1 Name", "Gate", 1),
                            // A record without a name is named by its number, not by the record before.
                            Missing_Field_Line("Name", "", 2)}));

    const TTerrain* source = list.Terrain(1);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->Duplicate_L2, (TString_List{"", "gate_b_2.bmp"}));
    EXPECT_EQ(source->Duplicate_L3, (TString_List{"gate_a_3.bmp", "gate_b_3.bmp"}));
    EXPECT_EQ(source->Locked_Key_Groups, (TString_List{"", "Iron Key"}));

    // The first variant keeps the source's layer 2 and changes only layer 3; the second takes both.
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Terrain(3)->Picture_L2, "");
    EXPECT_EQ(list.Terrain(3)->Picture_L3, "gate_a_3.bmp");
    EXPECT_EQ(list.Terrain(4)->Picture_L2, "gate_b_2.bmp");
    EXPECT_EQ(list.Terrain(4)->Picture_L3, "gate_b_3.bmp");
}

TEST_F(TerrainTest, EveryKeyReachesItsField) {
    TKeys door = Full_Record("Door", "7");
    Set(door, "Description", "Старая дубовая дверь");
    Set(door, "Terrain Category", "Wall, wall ,Door");
    Set(door, "Picture Filename L2", "door_2.bmp");
    Set(door, "Sight Side Hidden", " West ");
    Set(door, "Sight Hidden Layer", "2");
    Set(door, "Movement Flag Land", "yes");
    Set(door, "Movement Flag Air", "no");
    Set(door, "Movement Flag Water", "True");
    Set(door, "Movement Flag Ethereal", "FALSE");
    Set(door, "Vision Flag Normal", "FALSE");
    Set(door, "Next Animated Terrain ID", "9");
    Set(door, "Overview Color", "0,0,255");
    Set(door, "Light Radius Generated", "4");
    Set(door, "Style", "2");
    Set(door, "Damage Amount Min", "3");
    Set(door, "Damage Amount Max", "8");
    Set(door, "Damage Maximum Range", "1");
    Set(door, "Next Terrain Action", "Open Secret");
    Set(door, "Next Terrain Sound File", "door_open.wav");
    Set(door, "Next Terrain ID 1", "8");
    Set(door, "Next Terrain ID 2", "11");
    Set(door, "Next Terrain ID 3", "12");
    Set(door, "Next Terrain ID 4", "65535");
    Set(door, "Locked Terrain Group", "Barrow Doors");
    Set(door, "Trapped Terrain Group", "Barrow Traps");
    Set(door, "Display Chest Window", "TRUE");
    Set(door, "Number of Locked Key Groups", "2");
    Set(door, "Locked Key Group 1 Name", "Barrow Key");
    Set(door, "Locked Key Group 2 Name", "Iron Key");
    TTerrain_List list;
    ASSERT_TRUE(list.Load_From_File(Write({door})));
    ASSERT_EQ(list.Count(), 1);
    const TTerrain& t = *list.Terrain(1);

    EXPECT_EQ(t.List_Id, 1);
    EXPECT_EQ(t.Data_Id, 7);
    EXPECT_EQ(t.Name, "Door");
    EXPECT_EQ(t.Description, "Старая дубовая дверь");
    EXPECT_EQ(t.Categories, (TString_List{"door", "wall"}));
    EXPECT_TRUE(t.Has_Category("DOOR"));
    EXPECT_FALSE(t.Has_Category("floor"));
    EXPECT_EQ(t.Picture_File(1), "Door_1.bmp");
    EXPECT_EQ(t.Picture_File(2), "door_2.bmp");
    EXPECT_EQ(t.Picture_File(3), "Door_3.bmp");
    EXPECT_EQ(t.Sight_Side_Hidden, Side_West);
    EXPECT_EQ(t.Sight_Hidden_Layer, 2);
    EXPECT_EQ(t.Movement_Flags, Movement_Land | Movement_Water);
    EXPECT_TRUE(t.Allows_Movement(Movement_Water));
    EXPECT_FALSE(t.Allows_Movement(Movement_Air | Movement_Ethereal));
    EXPECT_FALSE(t.Allows_Vision(Vision_Normal));
    EXPECT_EQ(t.Next_Animated_Terrain_Id, 9);
    EXPECT_EQ(t.Overview_Color, 16711680u);
    EXPECT_EQ(t.Light_Radius, 4);
    EXPECT_EQ(t.Style, 2);
    EXPECT_EQ(t.Damage.Min, 3);
    EXPECT_EQ(t.Damage.Max, 8);
    EXPECT_EQ(t.Damage.Range, 1);
    EXPECT_EQ(t.Damage.Firing_FX, 0);
    EXPECT_EQ(t.Next_Terrain_Action, Action_Open_Secret);
    EXPECT_EQ(t.Next_Terrain_Sound, "door_open.wav");
    EXPECT_EQ(t.Next_Terrain_Id_1, 8);
    EXPECT_EQ(t.Next_Terrain_Id_2, 11);
    EXPECT_EQ(t.Next_Terrain_Id_3, 12);
    EXPECT_EQ(t.Next_Terrain_Id_4, 65535);
    EXPECT_EQ(t.Locked_Terrain_Group, "Barrow Doors");
    EXPECT_EQ(t.Trapped_Terrain_Group, "Barrow Traps");
    EXPECT_TRUE(t.Display_Chest_Window);
    EXPECT_EQ(t.Locked_Key_Groups, (TString_List{"Barrow Key", "Iron Key"}));
}

TEST_F(TerrainTest, ValueParsing) {
    const std::vector<std::pair<std::string, uint32_t>> colors = {
        {"255,0,0", 255u},
        {"0,0,255", 16711680u},
        {"0,255,0", 65280u},
        {"12, 34 ,56", 3678732u},
        {"255,0", 255u},
        {"0,7", 1792u},
        {"", 0u},
        {"red,1,1", 65792u},
        {"300,1,0", 256u},
        {"1,2,3,4", 197121u},
        {",,9", 589824u},
    };
    for (const auto& [text, value] : colors) EXPECT_EQ(Parse_Overview_Color(text), value) << text;

    const std::vector<std::pair<std::string, uint8_t>> sides = {
        {" West ", 4}, {"north", 1}, {"EAST", 2}, {"South", 3}, {"up", 0}, {"", 0}, {"None", 0}, {"we st", 0},
    };
    for (const auto& [text, side] : sides) EXPECT_EQ(Parse_Sight_Side(text), side) << text;

    // Action names are matched exactly; "None" and anything unknown give 0 without complaint.
    const std::vector<std::pair<std::string, uint8_t>> actions = {
        {"Move", 1},         {"Open", 2}, {"Close", 3}, {"Look", 4},  {"Any", 11},        {"Bash Door", 12},
        {"Open Secret", 13}, {"open", 0}, {"None", 0},  {" Open", 0}, {"Open secret", 0}, {"", 0},
    };
    for (const auto& [text, action] : actions) EXPECT_EQ(Parse_Terrain_Action(text), action) << text;

    TTerrain t;
    t.Set_Categories("Wall, wall ,Door");
    EXPECT_EQ(t.Categories, (TString_List{"door", "wall"}));
    // Only ASCII letters are lower-cased; other text stays as written.
    t.Set_Categories("Стена, WALL");
    EXPECT_EQ(t.Categories, (TString_List{"wall", "Стена"}));
    EXPECT_TRUE(t.Has_Category("Стена"));
    EXPECT_FALSE(t.Has_Category("стена"));
}

TEST_F(TerrainTest, DoActionMatrix) {
    struct TCase {
        uint8_t Own;
        uint8_t Action;
        uint16_t Result;
        size_t Sounds;
    };
    const uint16_t Id_1 = 31, Id_2 = 32;
    const std::vector<TCase> cases = {
        {Action_Open, Action_Open, Id_1, 1},
        {Action_Close, Action_Close, Id_1, 1},
        {Action_Open_Secret, Action_Open_Secret, Id_1, 1},
        {Action_Close, Action_Open, 0, 0},
        {Action_Open, Action_Close, 0, 0},
        {Action_Open, Action_Open_Secret, 0, 0},
        // "Use" and "Any" take the terrain's own action, and the click sounds once more.
        {Action_Open, Action_Any, Id_1, 2},
        {Action_Close, Action_Use, Id_1, 2},
        {Action_Open_Secret, Action_Any, Id_1, 2},
        {Action_Use, Action_Any, 0, 1},
        {Action_Any, Action_Any, 0, 1},
        {Action_None, Action_Any, 0, 1},
        {Action_Look, Action_Use, 0, 1},
        // Bashing ignores the own action and is silent.
        {Action_Close, Action_Bash_Door, Id_2, 0},
        {Action_None, Action_Bash_Door, Id_2, 0},
        {Action_Open, Action_Look, 0, 0},
        {Action_Open, 14, 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "own " << int(c.Own) << ", action " << int(c.Action));
        TTerrain t;
        t.Next_Terrain_Action = c.Own;
        t.Next_Terrain_Id_1 = Id_1;
        t.Next_Terrain_Id_2 = Id_2;
        t.Next_Terrain_Sound = "door.wav";
        Sounds->Played.clear();
        EXPECT_EQ(t.Do_Action(c.Action), c.Result);
        EXPECT_EQ(Sounds->Names(), std::vector<std::string>(c.Sounds, "door.wav"));

        // Without a sound nothing is played, and the result is the same.
        t.Next_Terrain_Sound.clear();
        Sounds->Played.clear();
        EXPECT_EQ(t.Do_Action(c.Action), c.Result);
        EXPECT_TRUE(Sounds->Played.empty());
    }
}

TEST_F(TerrainTest, ListPositionsAreCheckedAndCopiesAreDeep) {
    TTerrain_List list;
    EXPECT_EQ(list.Terrain(0), nullptr);
    EXPECT_EQ(list.Terrain(1), nullptr);
    EXPECT_EQ(list.Find_By_Data_Id(0), 0);

    TTerrain a;
    a.Name = "A";
    a.Data_Id = 5;
    a.List_Id = 77; // replaced by the position
    a.Categories = {"floor"};
    a.Damage.Set(1, 2, 3, 0);
    EXPECT_EQ(list.Put(a, 0), 1);
    a.Name = "B";
    EXPECT_EQ(list.Add(a), 2);
    EXPECT_EQ(list.Terrain(2)->List_Id, 2);
    EXPECT_EQ(list.Terrain(3), nullptr);
    EXPECT_EQ(list.Find_By_Data_Id(5), 2);

    // A position that does not exist is refused; an existing one is replaced.
    EXPECT_EQ(list.Put(a, 3), 0);
    EXPECT_EQ(list.Count(), 2);
    a.Name = "C";
    a.Data_Id = 6;
    EXPECT_EQ(list.Put(a, 1), 1);
    EXPECT_EQ(list.Terrain(1)->Name, "C");
    EXPECT_EQ(list.Terrain(1)->List_Id, 1);
    EXPECT_EQ(list.Find_By_Data_Id(5), 2);

    list.File_Name = "x_Terrain.txt";
    TTerrain_List copy;
    copy.Assign(list);
    list.Terrain(1)->Damage.Min = 40;
    list.Terrain(1)->Categories.push_back("wall");
    EXPECT_EQ(copy.File_Name, "x_Terrain.txt");
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Terrain(1)->Name, "C");
    EXPECT_EQ(copy.Terrain(1)->Damage.Min, 1);
    EXPECT_EQ(copy.Terrain(1)->Damage.Range, 3);
    EXPECT_EQ(copy.Terrain(1)->Categories, TString_List{"floor"});
    EXPECT_EQ(copy.Terrain(2)->Name, "B");

    // Picture names and sheet slots exist for layers 1..3 only.
    TTerrain t;
    for (int32_t layer : {0, 2, 4}) {
        t.Set_Picture_File(layer, "p");
        t.Set_Picture_Index(layer, 7);
    }
    EXPECT_EQ(t.Picture_L1 + "|" + t.Picture_L2 + "|" + t.Picture_L3 + "|" + t.Picture_File(4), "|p||");
    EXPECT_EQ(t.Picture_Index_L1 + t.Picture_Index_L2 * 10 + t.Picture_Index_L3 * 100, 70);
}

TEST_F(TerrainTest, FoundInTheModuleTilesFolderWhateverTheCaseAndCodePage) {
    // "Камень" (stone) written in Windows-1251.
    const std::string cp1251_stone = "\xCA\xE0\xEC\xE5\xED\xFC";
    TKeys stone = Full_Record("Stone", "1");
    Set(stone, "Description", cp1251_stone);
    Folder.Write("modules/barrowdeep/TILES/barrow_terrain.TXT", File_Text({stone}));
    ASSERT_TRUE(Path_Settings()->Set_Module("Barrowdeep/"));

    TTerrain_List list;
    ASSERT_TRUE(list.Load_From_File(Path_Settings()->Get_Tile_File("Barrow_Terrain.txt")));
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Terrain(1)->Description, "Камень");
    EXPECT_TRUE(Messages->Error_Lists.empty());

    // A file that is not there is an error shown like any other, and leaves an empty list.
    EXPECT_FALSE(list.Load_From_File(Path_Settings()->Get_Tile_File("Missing_Terrain.txt")));
    EXPECT_EQ(list.Count(), 0);
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Terrain Data File Errors: ");
}

namespace {

// What the map generator's terrain matching does: the terrains carrying every one of the categories.
std::vector<const TTerrain*> Matching(const TTerrain_List& list, const TString_List& wanted) {
    std::vector<const TTerrain*> found;
    for (uint16_t id = 1; id <= list.Count(); ++id) {
        const TTerrain* t = list.Terrain(id);
        if (t && std::all_of(wanted.begin(), wanted.end(),
                             [&](const std::string& c) { return t->Has_Category(c); }))
            found.push_back(t);
    }
    return found;
}

// The generator's restyling of a terrain: the required categories, plus the terrain's own except the
// required and the excluded ones.
TString_List Styled(const TTerrain& t, const TString_List& required, const TString_List& excluded) {
    TString_List wanted = required;
    for (const std::string& c : t.Categories) {
        if (std::find(required.begin(), required.end(), c) == required.end() &&
            std::find(excluded.begin(), excluded.end(), c) == excluded.end())
            wanted.push_back(c);
    }
    return wanted;
}

} // namespace

TEST_F(TerrainTest, ShippedTerrainFilesFitTheGame) {
    const std::string tiles = std::string(MURK_SHIPPED_DATA_DIR) + "/Modules/Barrowdeep/Tiles/";
    const TString_List shapes = {"nesw", "new", "esw", "nsw", "nes", "ns", "ew", "es",
                                 "sw",   "ne",  "nw",  "n",   "e",   "w",  "s",  "ceiling"};
    for (const char* file : {"Village_Terrain.txt", "Barrow_Terrain.txt"}) {
        SCOPED_TRACE(file);
        TTerrain_List list;
        ASSERT_TRUE(list.Load_From_File(tiles + file));
        ASSERT_TRUE(Messages->Error_Lists.empty());

        size_t variants = 0;
        for (uint16_t id = 1; id <= list.Count(); ++id) variants += list.Terrain(id)->Duplicate_L2.size();
        const size_t records = list.Count() - variants;
        std::set<uint16_t> data_ids;
        bool floor = false, wall = false, door = false, chest = false, light = false;
        for (uint16_t id = 1; id <= list.Count(); ++id) {
            const TTerrain& t = *list.Terrain(id);
            SCOPED_TRACE(t.Name);
            if (id <= records) {
                EXPECT_TRUE(data_ids.insert(t.Data_Id).second) << "ID used twice";
            }
            EXPECT_NE(t.Data_Id, 0);
            EXPECT_EQ(t.Style, 0);
            EXPECT_FALSE(t.Picture_L1.empty());
            EXPECT_FALSE(t.Categories.empty());
            EXPECT_LE(t.Categories.size(), 10u); // the generator keeps ten per terrain
            for (const std::string& c : t.Categories) EXPECT_FALSE(c.empty());
            for (uint16_t next :
                 {t.Next_Terrain_Id_1, t.Next_Terrain_Id_2, t.Next_Terrain_Id_3, t.Next_Terrain_Id_4})
                EXPECT_TRUE(next == 0 || list.Find_By_Data_Id(next) != 0) << next;
            if (!t.Locked_Terrain_Group.empty()) {
                EXPECT_FALSE(t.Locked_Key_Groups.empty());
            }
            for (const std::string& key : t.Locked_Key_Groups) EXPECT_FALSE(key.empty());

            const bool transition = t.Next_Terrain_Action == Action_Open ||
                                    t.Next_Terrain_Action == Action_Close ||
                                    t.Next_Terrain_Action == Action_Open_Secret;
            if (transition) {
                EXPECT_FALSE(t.Next_Terrain_Sound.empty());
                const TTerrain* next = list.Terrain(list.Find_By_Data_Id(t.Next_Terrain_Id_1));
                ASSERT_NE(next, nullptr);
                // A door that opens closes again into itself.
                if (t.Next_Terrain_Action == Action_Open && next->Next_Terrain_Action == Action_Close &&
                    !t.Has_Category("generic")) {
                    EXPECT_EQ(next->Next_Terrain_Id_1, t.Data_Id);
                    door = door || t.Has_Category("door");
                }
            }
            floor = floor || (t.Has_Category("floor") && t.Allows_Movement(Movement_Land) &&
                              t.Allows_Vision(Vision_Normal));
            wall = wall || (t.Has_Category("wall") && t.Movement_Flags == 0 && t.Vision_Flags == 0);
            chest = chest || t.Display_Chest_Window;
            light = light || t.Light_Radius > 0;

            // Every generic wall can take each shape the generator gives it, and every door each direction.
            if (t.Has_Category("wall") && t.Has_Category("generic")) {
                for (const std::string& shape : shapes) {
                    // Without a "ceiling" shape a solid block of wall simply stays generic.
                    const size_t found = Matching(list, Styled(t, {"wall", shape}, {"generic"})).size();
                    if (shape == "ceiling")
                        EXPECT_LE(found, 1u);
                    else
                        EXPECT_EQ(found, 1u) << shape;
                }
            }
            if (t.Has_Category("door")) {
                EXPECT_EQ(Matching(list, Styled(t, {"door", "ns"}, {"generic", "ew"})).size(), 1u);
                EXPECT_EQ(Matching(list, Styled(t, {"door", "ew"}, {"generic", "ns"})).size(), 1u);
            }
        }
        EXPECT_TRUE(floor && wall && door && chest && light);
    }
}
