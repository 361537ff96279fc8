// The module data file: the module, its maps' files and parameters and their connections, read into the
// current module class, and the look-up of a map by its tiles file.
#include "generation/RndClassModule.h"

#include "core/NameTables.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

namespace {

// Every key of map m but the connections, with values that tell the fields apart.
TKeys Map_Keys(int m, const std::string& tiles) {
    const std::string p = "Map " + std::to_string(m);
    TKeys keys = {{p + " Name", "Map" + std::to_string(m)},
                  {p + " Display Name", "Карта " + std::to_string(m)},
                  {p + " Tiles Filename", tiles},
                  {p + " Terrain Filename", "T" + std::to_string(m)},
                  {p + " Item Classes Filename", "I" + std::to_string(m)},
                  {p + " Monster Classes Filename", "M" + std::to_string(m)},
                  {p + " Monster Groups Filename", "G" + std::to_string(m)},
                  {p + " Monster Random Items Carried Filename", "R" + std::to_string(m)},
                  {p + " Stores Filename", "S" + std::to_string(m)},
                  {p + " Music Filename", "song.wav"},
                  {p + " Universal Light", "FALSE"},
                  {p + " Chance Group", "3"},
                  {p + " Trap Group Name", "Traps"},
                  {p + " Place Random Items", "yes"},
                  {p + " Item Grouping Type", "Common"}};
    int n = 1;
    for (const char* key :
         {" Minimum Number of Items", " Maximum Number of Items", " Item Level Min", " Item Level Max",
          " Chance for Magic Item Percent", " Chance for Unique Item Percent"})
        keys.emplace_back(p + key, std::to_string(n++));
    keys.insert(keys.end(), {{p + " Increase Magic Item Pct Per Char Start Lvl", "1.5"},
                             {p + " Increase Unique Item Pct Per Char Start Lvl", "0.25"}});
    for (const char* key : {" Chance for Items in Chest", " Minimum Number of Items Per Chest",
                            " Maximum Number of Items Per Chest"})
        keys.emplace_back(p + key, std::to_string(n++));
    keys.insert(keys.end(),
                {{p + " Place Random Monsters", "TRUE"}, {p + " Monster Grouping Type", "Undead"}});
    for (const char* key :
         {" Minimum Number of Monsters", " Maximum Number of Monsters", " Minimum Number of Monster Groups",
          " Maximum Number of Monster Groups", " Increase In Monsters Per Difficulty",
          " Increase In Monster Groups Per Difficulty", " Monster Level Min", " Monster Level Max",
          " Chance for Monster Modifier Percent", " Diff Level Incr Monst Mod Percent"})
        keys.emplace_back(p + key, std::to_string(n++));
    keys.emplace_back(p + " Number of Connections", "0");
    return keys;
}

TKeys Connection_Keys(int m, int c, const std::string& type) {
    const std::string p = "Map " + std::to_string(m) + " Conn " + std::to_string(c);
    return {{p + " Entrance ID", std::to_string(c)},
            {p + " Destination Map Number", "2"},
            {p + " Dest Entrance ID", "7"},
            {p + " Connection Type", type}};
}

// A module of two maps, the first with two connections.
TKeys Module_Keys() {
    TKeys keys = {{"Name", "Barrow"},
                  {"Description", "Down below"},
                  {"Number of Intro Paragraphs", "2"},
                  {"Intro Paragraph 1", "One"},
                  {"Intro Paragraph 2", "Two"},
                  {"Character Data Set Identifier", "Heroes"},
                  {"Starting Map Number", "1"},
                  {"Starting Map Entrance ID", "3"},
                  {"Number Of Maps", "2"}};
    TKeys map1 = With(Map_Keys(1, "Village_Tiles.txt"), {{"Map 1 Number of Connections", "2"}});
    keys.insert(keys.end(), map1.begin(), map1.end());
    for (const TKeys& c : {Connection_Keys(1, 1, "Two Way - Always"), Connection_Keys(1, 2, "One Way Only")})
        keys.insert(keys.end(), c.begin(), c.end());
    TKeys map2 = Map_Keys(2, "Barrow_Tiles.txt");
    keys.insert(keys.end(), map2.begin(), map2.end());
    return keys;
}

class ModuleClass : public TProgram_Folder_Test {
protected:
    void TearDown() override {
        Free_Module_Class();
        TProgram_Folder_Test::TearDown();
    }
    bool Load(const std::vector<TKeys>& records) {
        return Load_Module_Class(Folder.Write("ModuleData.txt", Data_File_Text(records)));
    }
    std::vector<std::string> Errors() const {
        return Messages->Error_Lists.empty() ? std::vector<std::string>() : Messages->Error_Lists.back().List;
    }
};

TEST_F(ModuleClass, EveryFieldOfTheModuleItsMapsAndConnectionsIsRead) {
    ASSERT_TRUE(Load({Module_Keys()}));
    const TModule_Class& m = *Module_Class();
    EXPECT_EQ(m.Name, "Barrow");
    EXPECT_EQ(m.Difficulty_Description, ""); // optional: absent is no error
    EXPECT_EQ(m.Intro_Paragraphs, TString_List({"One", "Two"}));
    EXPECT_EQ(std::vector<int32_t>({m.Starting_Map_Number, m.Starting_Map_Entrance_Id, m.Number_Of_Maps}),
              std::vector<int32_t>({1, 3, 2}));
    EXPECT_EQ(m.Character_Data_Set, "Heroes");
    const TModule_Map_Class& map = *m.Get_Map(2);
    EXPECT_EQ(map.Map_Number, 2);
    EXPECT_EQ(
        std::vector<std::string>({map.Name, map.Display_Name, map.Tiles_File, map.Terrain_File,
                                  map.Item_Classes_File, map.Monster_Classes_File, map.Monster_Groups_File,
                                  map.Random_Items_Carried_File, map.Stores_File, map.Music_File,
                                  map.Trap_Group_Name, map.Item_Group_Filter, map.Monster_Group_Filter}),
        std::vector<std::string>({"Map2", "Карта 2", "Barrow_Tiles.txt", "T2", "I2", "M2", "G2", "R2", "S2",
                                  "song.wav", "Traps", "Common", "Undead"}));
    EXPECT_FALSE(map.Universal_Light);
    EXPECT_TRUE(map.Place_Random_Items && map.Place_Random_Monsters);
    EXPECT_EQ(std::vector<int32_t>({map.Chance_Group,
                                    map.Items_Min,
                                    map.Items_Max,
                                    map.Item_Level_Min,
                                    map.Item_Level_Max,
                                    map.Magic_Item_Chance,
                                    map.Unique_Item_Chance,
                                    map.Chest_Item_Chance,
                                    map.Chest_Items_Min,
                                    map.Chest_Items_Max,
                                    map.Monsters_Min,
                                    map.Monsters_Max,
                                    map.Monster_Groups_Min,
                                    map.Monster_Groups_Max,
                                    map.Monsters_Per_Difficulty,
                                    map.Monster_Groups_Per_Difficulty,
                                    map.Monster_Level_Min,
                                    map.Monster_Level_Max,
                                    map.Monster_Modifier_Chance,
                                    map.Modifier_Chance_Per_Difficulty}),
              std::vector<int32_t>({3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}));
    EXPECT_EQ(map.Magic_Chance_Per_Start_Level, 1.5);
    EXPECT_EQ(map.Unique_Chance_Per_Start_Level, 0.25);
    EXPECT_EQ(map.Number_Of_Connections, 0);
    ASSERT_EQ(m.Get_Map(1)->Connections.size(), 2u);
    const TModule_Map_Connections_Class& c = *m.Get_Map(1)->Get_Connection(2);
    EXPECT_EQ(std::vector<int32_t>({c.Source_Map_Number, c.Entrance_Id, c.Destination_Map_Number,
                                    c.Destination_Entrance_Id, c.Connection_Type}),
              std::vector<int32_t>({1, 2, 2, 7, 4}));
    EXPECT_EQ(m.Get_Map(1)->Get_Connection(1)->Connection_Type, 1);
    EXPECT_EQ(m.Get_Map(1)->Get_Connection(3), nullptr);
    EXPECT_EQ(m.Get_Map(0), nullptr);
    EXPECT_EQ(m.Get_Map(3), nullptr);
}

TEST_F(ModuleClass, ErrorsAreReportedAndTheRestIsStillRead) {
    struct TCase {
        const char* Name;
        TKeys Changes;
        std::vector<std::string> Errors;
    };
    const std::vector<TCase> cases = {
        {"a difficulty description", {{"Module Difficulty Description", "Hard"}}, {}},
        {"no universal light on map 1",
         {{"Map 1 Universal Light", "<drop>"}},
         {Missing_Field_Line("Map 1 Universal Light", "Barrow", 1)}},
        {"a lower-case connection type on map 1",
         {{"Map 1 Conn 1 Connection Type", "two way - always"}},
         {Invalid_Value_Line("two way - always", "Map 1 Conn 1 Connection Type", "Barrow", 1)}},
        {"a missing paragraph",
         {{"Intro Paragraph 1", "<drop>"}},
         {Missing_Field_Line("Intro Paragraph 1", "Barrow", 1)}},
        {"a missing connection type",
         {{"Map 1 Conn 2 Connection Type", "<drop>"}},
         {Missing_Field_Line("Map 1 Conn 2 Connection Type", "Barrow", 1)}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Messages->Error_Lists.clear();
        // A second record is not read: its values change nothing, its lack of keys reports nothing.
        EXPECT_EQ(Load({With(Module_Keys(), c.Changes), {{"Name", "Other"}, {"Number Of Maps", "9"}}}),
                  c.Errors.empty());
        EXPECT_EQ(Errors(), c.Errors);
        // The partly filled class stays current; map 2 is read after an error in map 1.
        const TModule_Class& m = *Module_Class();
        EXPECT_EQ(m.Name, "Barrow");
        EXPECT_EQ(m.Number_Of_Maps, 2);
        EXPECT_EQ(m.Get_Map(2)->Terrain_File, "T2");
        EXPECT_EQ(m.Get_Map(2)->Monster_Level_Max, 17);
        // The file says FALSE; without the key the light stays on.
        EXPECT_EQ(m.Get_Map(1)->Universal_Light, c.Changes[0].first == "Map 1 Universal Light");
    }
    EXPECT_EQ(Module_Class()->Get_Map(1)->Get_Connection(2)->Connection_Type, 0);
    EXPECT_EQ(Messages->Error_Lists.back().Heading, "Ошибки модуля в файлах данных: ");
    EXPECT_EQ(Messages->Error_Lists.back().File_Name, Folder.File("ModuleData.txt"));

    Messages->Error_Lists.clear();
    TString_List errors;
    EXPECT_FALSE(Load_Module_Class(Folder.File("Missing.txt"), &errors));
    EXPECT_EQ(errors, TString_List({Cannot_Load_Line(Folder.File("Missing.txt"))}));
    EXPECT_NE(Module_Class(), nullptr);
    Free_Module_Class();
    EXPECT_EQ(Module_Class(), nullptr);
}

TEST_F(ModuleClass, AMapIsFoundByItsTilesFileInAnyCase) {
    TKeys keys = Module_Keys();
    keys = With(keys, {{"Number Of Maps", "3"}});
    for (const auto& key : Map_Keys(3, "village_TILES.txt")) keys.push_back(key);
    ASSERT_TRUE(Load({keys}));
    const TModule_Class& m = *Module_Class();
    const TModule_Map_Files village = m.Find_Map_By_Tiles_File("VILLAGE_tiles.txt");
    EXPECT_EQ(village.Map_Number, 3); // the last of the two maps naming it
    EXPECT_EQ(std::vector<std::string>({village.Terrain_File, village.Item_Classes_File,
                                        village.Monster_Classes_File, village.Monster_Groups_File,
                                        village.Random_Items_Carried_File}),
              std::vector<std::string>({"T3", "I3", "M3", "G3", "R3"}));
    EXPECT_EQ(m.Find_Map_By_Tiles_File("Barrow_Tiles.txt").Map_Number, 2);
    const TModule_Map_Files none = m.Find_Map_By_Tiles_File("Barrow_Tiles");
    EXPECT_EQ(none.Map_Number, 0);
    EXPECT_EQ(none.Terrain_File + none.Item_Classes_File + none.Monster_Classes_File +
                  none.Monster_Groups_File + none.Random_Items_Carried_File,
              "");
}

} // namespace
