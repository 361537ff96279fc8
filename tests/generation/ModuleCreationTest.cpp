// Module creation on the two-map fixture module (tests/data/modules/TwoMaps): the files it writes read back
// with the maps joined where their tiles put the entrances, and every error stops it before the next map
// without a module file.
#include "core/BusyCursorSeam.h"
#include "core/CharClass.h"
#include "core/DisplayEffects.h"
#include "core/MapMain.h"
#include "core/MapSquare.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/ProgressSeam.h"
#include "core/SaveGame.h"
#include "core/Spells.h"
#include "generation/RndClassModule.h"
#include "generation/RndCreateModule.h"
#include "generation/RndDigTileMap.h"
#include "platform/FileOps.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The fixture's terrain ids (Tiles/TwoMaps_Terrain.txt).
constexpr uint16_t Grass = 1, Trapdoor = 4, Ladder = 5;

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

class ModuleCreation : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Folder.Make_Folder("Modules/TwoMaps");
        Folder.Make_Folder("Data");
        fs::copy(fs::path(MURK_TEST_DATA_DIR) / "modules/TwoMaps", Folder.File("Modules/TwoMaps"),
                 fs::copy_options::recursive);
        for (const char* file :
             {"Data/Settings.txt", "Data/Effects.txt", "Data/Spells.txt", "Data/Classes.txt"})
            fs::copy(fs::path(MURK_SHIPPED_DATA_DIR) / file, Folder.File(file));
        ASSERT_TRUE(Path_Settings()->Set_Module("TwoMaps/"));
        // Monster classes name display effects and spells.
        ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells());
        Install_Current_Map(std::make_unique<TMap>());
        Set_Dig_Seed_Source([](int32_t map_index) { return 40 + static_cast<uint64_t>(map_index); });
        Progress = std::make_shared<TRecording_Progress_Sink>();
        Install_Progress_Sink(Progress);
        Cursor = std::make_shared<TRecording_Busy_Cursor_Sink>();
        Install_Busy_Cursor_Sink(Cursor);
        Current = Path_Settings()->Get_Current_Game_Folder();
    }
    void TearDown() override {
        plat::Set_Write_Fault(std::nullopt);
        Install_Busy_Cursor_Sink(nullptr);
        Install_Progress_Sink(nullptr);
        Set_Dig_Seed_Source(nullptr);
        Install_Current_Map(nullptr);
        Free_Module_Class();
        Free_Master_Spells();
        Free_Display_Effects();
        TProgram_Folder_Test::TearDown();
    }

    // Replaces the whole line of the key in the fixture's module data, or appends the line before "*END*".
    void Set_Module_Key(const std::string& key, const std::string& value) {
        const std::string relative = "Modules/TwoMaps/Data/ModuleData.txt";
        std::string text = Folder.Read(relative);
        const std::string line = key + " := " + value + "\n";
        const size_t at = text.find("\n" + key + " := ");
        if (at == std::string::npos) {
            text.insert(text.find("*END*"), line);
        } else {
            const size_t end = text.find('\n', at + 1);
            text.replace(at + 1, end - at, line);
        }
        Folder.Write(relative, text);
    }
    bool Load_Class() { return Load_Module_Class(Path_Settings()->Get_ModuleData_File()); }
    std::vector<std::string> Files_Written() const { return plat::List_Regular_Files(Current); }
    std::unique_ptr<TMap> Read_Map(const std::string& name) const {
        auto map = std::make_unique<TMap>();
        TStream_Reader r(Bytes(Folder.Read("CurrGame/" + name)));
        Read_Map_File_Body(r, *map, name);
        return map;
    }

    std::shared_ptr<TRecording_Progress_Sink> Progress;
    std::shared_ptr<TRecording_Busy_Cursor_Sink> Cursor;
    std::string Current;
};

} // namespace

TEST_F(ModuleCreation, TheFixtureModuleIsWrittenWithItsMapsJoinedAtTheirEntrances) {
    // A chance above 255 keeps its low byte in the module file.
    Set_Module_Key("Map 2 Chance for Magic Item Percent", "300");
    ASSERT_TRUE(Load_Class());
    ASSERT_TRUE(Create_Module());
    EXPECT_TRUE(Messages->Messages.empty());
    EXPECT_TRUE(Messages->Error_Lists.empty());
    EXPECT_EQ(Files_Written(), std::vector<std::string>({"1.map", "2.map", "Module.mod"}));
    EXPECT_EQ(Progress->Calls,
              std::vector<std::string>({"caption Формирование модуля", "0", "10",
                                        "caption Карта 1 - создание области", "50",
                                        "caption Карта 2 - создание области", "90", "90", "100"}));
    // Three files, each under the busy cursor.
    EXPECT_EQ(Cursor->Calls, std::vector<bool>({true, false, true, false, true, false}));

    TModule module;
    TStream_Reader r(Bytes(Folder.Read("CurrGame/Module.mod")));
    Read_Module_File_Body(r, module, "Module.mod");
    EXPECT_EQ(module.Module_Name, "TwoMaps");
    EXPECT_EQ(module.Paragraphs, TString_List({"Под полем есть погреб."}));
    EXPECT_EQ(module.Character_Data_Set, "TwoMaps");
    ASSERT_EQ(module.Map_Count(), 2);
    EXPECT_EQ(module.Quests.Quest_Count(), 1);
    EXPECT_EQ(module.Events.Event_Count(), 1);
    const TModule_Map& field = *module.Get_Map(1);
    const TModule_Map& cellar = *module.Get_Map(2);
    EXPECT_EQ(std::vector<std::string>(
                  {field.Display_Name, field.Music_File, cellar.Display_Name, cellar.Music_File}),
              std::vector<std::string>({"Поле", "field.wav", "Погреб", "cellar.wav"}));
    EXPECT_EQ(std::vector<int>({cellar.Map_Number, cellar.Item_Level_Max, cellar.Monster_Level_Max,
                                cellar.Magic_Item_Chance, field.Magic_Item_Chance}),
              std::vector<int>({2, 2, 2, 44, 10}));
    EXPECT_EQ(cellar.Monster_Grouping_Type, "Cellar Vermin");
    EXPECT_EQ(cellar.Connection_Count(), 0);
    ASSERT_EQ(field.Connection_Count(), 1);
    const TModule_Map_Connection& way_down = field.Connections[0];
    EXPECT_EQ(
        std::vector<int>({way_down.Connection_Number, way_down.Destination_Map, way_down.Connection_Type}),
        std::vector<int>({1, 2, Connection_Two_Way_Always}));

    // The squares come from the maps as written: the trapdoor and the ladder are the only squares of their
    // terrain, the start is on the green's grass, and each is marked as an entrance.
    const auto map1 = Read_Map("1.map");
    const auto map2 = Read_Map("2.map");
    EXPECT_EQ(map1->Name, "Поле");
    EXPECT_TRUE(map1->Universal_Light);
    EXPECT_EQ(map2->Name, "Погреб");
    EXPECT_FALSE(map2->Universal_Light);
    auto only_square = [](const TMap& map, uint16_t terrain) {
        std::vector<std::pair<int, int>> found;
        for (int x = 1; x <= 200; ++x)
            for (int y = 1; y <= 200; ++y)
                if (map.Get_Square(x, y)->Terrain_Id == terrain) found.emplace_back(x, y);
        EXPECT_EQ(found.size(), 1u);
        return found.empty() ? std::pair<int, int>() : found.front();
    };
    EXPECT_EQ(std::make_pair(int(way_down.Entrance_X), int(way_down.Entrance_Y)),
              only_square(*map1, Trapdoor));
    EXPECT_EQ(std::make_pair(int(way_down.Destination_X), int(way_down.Destination_Y)),
              only_square(*map2, Ladder));
    EXPECT_TRUE(map1->Get_Square(way_down.Entrance_X, way_down.Entrance_Y)->Is_Entrance());
    EXPECT_TRUE(map2->Get_Square(way_down.Destination_X, way_down.Destination_Y)->Is_Entrance());
    EXPECT_EQ(module.Start_Map, 1);
    const TMap_Square* start = map1->Get_Square(module.Start_X, module.Start_Y);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->Terrain_Id, Grass);
    EXPECT_FALSE(start->Is_Entrance());
    // The keeper stands one square up and left of the green's middle.
    const TMap_Square* keeper = map1->Get_Square(module.Start_X - 1, module.Start_Y - 1);
    ASSERT_NE(keeper, nullptr);
    ASSERT_NE(map1->Monster_List.Get_Monster(keeper->Monster_Id), nullptr);
    EXPECT_EQ(map1->Monster_List.Get_Monster(keeper->Monster_Id)->Name, "Keeper");
    EXPECT_EQ(std::vector<int>({module.Current_Map, module.Current_X, module.Current_Y}),
              std::vector<int>({module.Start_Map, module.Start_X, module.Start_Y}));
    int entrances = 0;
    for (int x = 1; x <= 200; ++x)
        for (int y = 1; y <= 200; ++y) entrances += map1->Get_Square(x, y)->Is_Entrance() ? 1 : 0;
    EXPECT_EQ(entrances, 1);
}

TEST_F(ModuleCreation, EveryErrorStopsBeforeTheNextMapAndWritesNoModuleFile) {
    const std::string tiles_path = Path_Settings()->Get_Tile_File("Missing_Tiles.txt");
    struct TCase {
        const char* Name;
        std::vector<std::pair<std::string, std::string>> Keys;
        std::optional<std::string> Failing_File; // a write that fails
        std::vector<std::string> Files;          // written into the current-game folder
        std::vector<std::string> Errors;         // the list shown; none when nothing is shown
        std::vector<int32_t> Percents;
    };
    const std::vector<TCase> cases = {
        {"source entrance missing",
         {{"Map 1 Conn 1 Entrance ID", "5"}},
         {},
         {"1.map"},
         {"Error Entrance Not Found - For Map 1: Connection 1 has entrance 5."},
         {0, 10, 50, 90, 100}},
        {"destination entrance missing",
         {{"Map 2 Number of Connections", "1"},
          {"Map 2 Conn 1 Entrance ID", "1"},
          {"Map 2 Conn 1 Destination Map Number", "1"},
          {"Map 2 Conn 1 Dest Entrance ID", "9"},
          {"Map 2 Conn 1 Connection Type", "One Way Only"}},
         {},
         {"1.map"},
         {"Error Entrance Not Found  - For Map 1: Map 2 Connection 1 has destination entrance 9."},
         {0, 10, 50, 90, 100}},
        {"destination map out of range",
         {{"Map 1 Conn 1 Destination Map Number", "3"}},
         {},
         {"1.map"},
         {"Error Destination Map Not Found - Map 1 Connection 1 has destination map 3."},
         {0, 10, 50, 90, 100}},
        {"start entrance missing",
         {{"Starting Map Entrance ID", "4"}},
         {},
         {"1.map"},
         {"Не удается найти позицию начала модуля."},
         {0, 10, 50, 90, 100}},
        {"start map out of range",
         {{"Starting Map Number", "3"}},
         {},
         {"1.map", "2.map"},
         {"Не удается найти позицию начала модуля."},
         {0, 10, 50, 90, 90, 100}},
        {"no maps",
         {{"Number Of Maps", "0"}},
         {},
         {},
         {"Не удается найти позицию начала модуля."},
         {0, 10, 90, 100}},
        {"tiles file missing",
         {{"Map 1 Tiles Filename", "Missing_Tiles.txt"}},
         {},
         {"1.map"},
         {"Unable to load tiles file \"" + tiles_path + "\".",
          "Error Entrance Not Found - For Map 1: Connection 1 has entrance 2.",
          "Не удается найти позицию начала модуля."},
         {0, 10, 50, 90, 100}},
        {"first map not written", {}, "1.map", {}, {}, {0, 10, 50, 90, 100}},
        {"module file not written", {}, "Module.mod", {"1.map", "2.map"}, {}, {0, 10, 50, 90, 90, 100}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove_all(Current);
        fs::remove(Folder.File("Modules/TwoMaps/Data/ModuleData.txt"));
        fs::copy(fs::path(MURK_TEST_DATA_DIR) / "modules/TwoMaps/Data/ModuleData.txt",
                 Folder.File("Modules/TwoMaps/Data/ModuleData.txt"));
        for (const auto& [key, value] : c.Keys) Set_Module_Key(key, value);
        Messages->Messages.clear();
        Messages->Error_Lists.clear();
        Progress->Percents.clear();
        ASSERT_TRUE(Load_Class());
        if (c.Failing_File)
            plat::Set_Write_Fault(plat::TWrite_Fault{*c.Failing_File, plat::TWrite_Step::Write, 0});

        EXPECT_FALSE(Create_Module());
        plat::Set_Write_Fault(std::nullopt);
        EXPECT_EQ(Files_Written(), c.Files);
        EXPECT_EQ(Progress->Percents, c.Percents);
        // Loaders that fail show their own lists first; creation's list is the last.
        const auto& lists = Messages->Error_Lists;
        if (c.Errors.empty()) {
            EXPECT_TRUE(lists.empty());
            ASSERT_EQ(Messages->Messages.size(), 1u);
            EXPECT_EQ(Messages->Messages[0].Caption, "Error");
            EXPECT_EQ(Messages->Messages[0].Text,
                      "Unable to save module file \"" + Current + *c.Failing_File + "\".");
        } else {
            ASSERT_FALSE(lists.empty());
            EXPECT_EQ(lists.back().List, TString_List(c.Errors.begin(), c.Errors.end()));
            EXPECT_EQ(lists.back().Heading, "Ошибки создания модуля: ");
            EXPECT_EQ(lists.back().File_Name, "TwoMaps");
        }
    }

    // Whatever throws is reported the same way: here there is no module class to create from.
    Free_Module_Class();
    Messages->Error_Lists.clear();
    EXPECT_FALSE(Create_Module());
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].List.size(), 1u);
}

TEST_F(ModuleCreation, AnEntranceCodeFindsItsFirstEntry) {
    TWordList ids, xs, ys;
    for (auto [id, x, y] : {std::tuple{3, 10, 11}, {5, 20, 21}, {3, 30, 31}}) {
        ids.Add(static_cast<uint16_t>(id));
        xs.Add(static_cast<uint16_t>(x));
        ys.Add(static_cast<uint16_t>(y));
    }
    struct TCase {
        int32_t Code;
        bool Found;
        int32_t X, Y;
    };
    for (const TCase& c : std::vector<TCase>{{3, true, 10, 11}, {5, true, 20, 21}, {4, false, 0, 0}}) {
        int32_t x = -1, y = -1;
        EXPECT_EQ(Find_Location_By_Code(ids, xs, ys, c.Code, x, y), c.Found) << c.Code;
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.X, c.Y)) << c.Code;
    }
    int32_t x = -1, y = -1;
    EXPECT_FALSE(Find_Location_By_Code(TWordList(), TWordList(), TWordList(), 3, x, y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));
}
