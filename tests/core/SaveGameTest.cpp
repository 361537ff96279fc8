// Saving and loading games through the current-game folder and the save slots: a round trip gives the same
// game; a save that fails at any byte of any file, or a copy that fails midway, leaves the slot, the
// character file and the high scores byte for byte; a load that fails leaves the current-game folder and
// the running game as they were; names that would leave their folder are refused.
#include "core/HighScores.h"
#include "tests/core/SavedGameFixture.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class Saved_Game : public TSaved_Game_Fixture {};

TEST_F(Saved_Game, SaveStoreAndLoadASlotGiveTheSameGame) {
    ASSERT_TRUE(Save_Current_Game());
    EXPECT_EQ(Progress->Calls, (std::vector<std::string>{"open Сохранение... ", "10", "50", "90", "close"}));
    EXPECT_EQ(Display->Calls, (std::vector<std::string>{"hide", "show"}));
    ASSERT_FALSE(Cursor->Calls.empty());
    EXPECT_TRUE(Cursor->Calls.front());
    EXPECT_FALSE(Cursor->Calls.back());
    EXPECT_EQ(Read_Save_Description(Current), "Before the barrow");
    ASSERT_TRUE(Store_Slot(3));
    EXPECT_TRUE(Same_Files(Files("Savegames/slot03"), Files("CurrGame")));
    EXPECT_EQ(Files("Savegames/slot03").size(), 4u); // 1.map, 2.map, Module.mod, game.id
    const std::string saved = Game_In_Memory();

    // Play on: the hero moves, the module and the options change, another module is chosen.
    Hero->Move_To(20, 21);
    Module()->Set_Current_Map(1, 20, 21);
    Game_Options()->Difficulty = 1;
    Path_Settings()->Set_Module("");
    Progress->Calls.clear();
    Display->Calls.clear();
    ASSERT_TRUE(Load_Slot(3));
    EXPECT_TRUE(Same_Bytes(Game_In_Memory(), saved));
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->Name, "hero");
    EXPECT_EQ(Current_Map()->Get_Square(5, 6)->Monster_Id, Player()->Id);
    EXPECT_EQ(Current_Map()->File_Name, "1.map");
    EXPECT_EQ(Module()->File_Name, "Module.mod");
    EXPECT_EQ(Progress->Calls, (std::vector<std::string>{"open   Загрузка...  ", "10", "30", "50", "close"}));
    EXPECT_EQ(Display->Calls, (std::vector<std::string>{"hide", "bitmaps 1.map", "show"}));
    EXPECT_TRUE(Same_Files(Files("CurrGame"), Files("Savegames/slot03")));
    EXPECT_FALSE(fs::exists(Folder.File("CurrGame.tmp")));
    EXPECT_FALSE(fs::exists(Folder.File("CurrGame.old")));
    EXPECT_FALSE(fs::exists(Folder.File("Savegames/slot03.old")));
}

TEST_F(Saved_Game, AFailingWriteOrCopyLeavesTheSlotTheCharacterAndTheHighScores) {
    ASSERT_TRUE(Save_Current_Game() && Store_Slot(3));
    const std::string character_path = *Character_File_Path("hero");
    ASSERT_TRUE(Save_Character(*Hero, character_path));
    THigh_Scores_List scores;
    scores.Add("hero", "Fighter", 3, 900);
    const std::string scores_path = Path_Settings()->Get_High_Scores_File();
    ASSERT_TRUE(scores.Save(scores_path));
    const TFiles slot = Files("Savegames/slot03");
    const std::string character = Folder.Read("Characters/hero.dat");
    const std::string high_scores = Folder.Read("Data/HighScores.dat");

    // The game has changed since: every file would be written anew.
    Hero->Move_To(30, 31);
    Hero->Gold = 4321;
    Module()->Set_Current_Map(1, 30, 31);
    scores.Add("hero", "Fighter", 4, 10);
    const std::string game_id = Folder.Read("CurrGame/game.id");
    const std::string map = Bytes_Of([](TStream_Writer& w) { Write_Map_File_Body(w, *Current_Map()); });
    const std::string module = Bytes_Of([](TStream_Writer& w) { Write_Module_File_Body(w, *Module()); });
    const struct {
        const char* Target;
        size_t Size;
        std::function<bool()> Save;
    } files[] = {
        {"CurrGame/game.id", game_id.size(), [this] { return Save_Current_Game() && Store_Slot(3); }},
        {"CurrGame/1.map", map.size(), [this] { return Save_Current_Game() && Store_Slot(3); }},
        {"CurrGame/Module.mod", module.size(), [this] { return Save_Current_Game() && Store_Slot(3); }},
        {"slot03.tmp/2.map", 13, [this] { return Save_Current_Game() && Store_Slot(3); }},
        {"Characters/hero.dat",
         Bytes_Of([this](TStream_Writer& w) { Write_Character_File_Body(w, *Hero); }).size(),
         [&] { return Save_Character(*Hero, character_path); }},
        {"HighScores.dat", Bytes_Of([&](TStream_Writer& w) { scores.Write(w); }).size(),
         [&] { return scores.Save(scores_path); }},
    };
    for (const auto& f : files) {
        for (size_t at : {size_t{0}, f.Size / 2, f.Size - 1}) {
            SCOPED_TRACE(std::string(f.Target) + " at byte " + std::to_string(at));
            plat::Set_Write_Fault(plat::TWrite_Fault{f.Target, plat::TWrite_Step::Write, at});
            Messages->Messages.clear();
            EXPECT_FALSE(f.Save());
            EXPECT_TRUE(Same_Files(Files("Savegames/slot03"), slot));
            EXPECT_TRUE(Same_Bytes(Folder.Read("Characters/hero.dat"), character));
            EXPECT_TRUE(Same_Bytes(Folder.Read("Data/HighScores.dat"), high_scores));
            EXPECT_FALSE(fs::exists(Folder.File("Savegames/slot03.tmp")));
            // High scores fail silently; everything else says so once.
            EXPECT_EQ(Messages->Messages.size(), std::string(f.Target) == "HighScores.dat" ? 0u : 1u);
        }
    }
    // The messages name the file that failed.
    plat::Set_Write_Fault(plat::TWrite_Fault{"1.map", plat::TWrite_Step::Write, 0});
    Messages->Messages.clear();
    EXPECT_FALSE(Save_Current_Game());
    ASSERT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(Messages->Messages[0].Caption, "Error");
    EXPECT_EQ(Messages->Messages[0].Text, "Unable to save game file \"" + Current + "1.map\".");
    plat::Set_Write_Fault(plat::TWrite_Fault{"slot03.tmp/2.map", plat::TWrite_Step::Write, 0});
    EXPECT_FALSE(Store_Slot(3));
    EXPECT_EQ(Messages->Messages.back().Text, "Unable to copy files from \"" + Folder.File("CurrGame") +
                                                  "\" to \"" + Folder.File("Savegames/slot03.tmp") + "\".");
    plat::Set_Write_Fault(plat::TWrite_Fault{"hero.dat", plat::TWrite_Step::Rename, 0});
    EXPECT_FALSE(Save_Character(*Hero, character_path));
    EXPECT_EQ(Messages->Messages.back().Text, "Unable to save character file \"" + character_path + "\".");
}

TEST_F(Saved_Game, AFailedLoadLeavesTheCurrentGameFolderAndTheGameInPlay) {
    ASSERT_TRUE(Save_Current_Game() && Store_Slot(3));
    const TFiles slot = Files("Savegames/slot03");
    auto make_slot = [&](int n, const std::string& file, const std::string& bytes) {
        const std::string name = "Savegames/slot0" + std::to_string(n) + "/";
        for (const auto& [f, b] : slot) Folder.Write(name + f, b);
        if (!file.empty()) Folder.Write(name + file, bytes);
    };
    TGame_Id id;
    id.Description = "broken";
    id.Map_File_Name = "1.map";
    id.Module_File_Name = "Module.mod";
    id.Module_Name = "Vale/";
    auto game_id = [&](uint16_t player, const std::string& map_name) {
        id.Player_Id = player;
        id.Map_File_Name = map_name;
        return Bytes_Of([&](TStream_Writer& w) { Write_Game_Id_Body(w, id); });
    };
    make_slot(4, "1.map", slot.at("1.map").substr(0, slot.at("1.map").size() / 2));
    make_slot(5, "game.id", game_id(2, "1.map"));    // creature 2 is the rat: fine
    make_slot(6, "game.id", game_id(7, "1.map"));    // no creature 7
    make_slot(7, "game.id", game_id(1, "../1.map")); // a map outside the folder
    make_slot(8, "Module.mod", "1.06");
    Folder.Write("Savegames/slot09/1.map", slot.at("1.map")); // no game.id

    // The game in play differs from the slots: nothing of it may change on a failed load.
    Hero->Move_To(40, 41);
    Folder.Write("CurrGame/1.map", "newer");
    Path_Settings()->Set_Module("");
    const std::string in_memory = Game_In_Memory();
    const TFiles current = Files("CurrGame");
    const TModule* module = Module();
    const struct {
        int Slot;
        std::string Text;
    } cases[] = {{4, "Не удаётся загрузить файл \"1.map\"."},
                 {6, "Не удаётся загрузить файл \"1.map\"."},
                 {7, "Не удаётся загрузить файл \"../1.map\"."},
                 {8, "Не удаётся загрузить файл \"1.map\"."},
                 {9, "Не удаётся загрузить файл \"" + Folder.File("Savegames/slot09/game.id") + "\"."},
                 {1, "Не удаётся загрузить файл \"" + Folder.File("Savegames/slot01/game.id") + "\"."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Slot);
        Messages->Messages.clear();
        EXPECT_FALSE(Load_Slot(c.Slot));
        ASSERT_EQ(Messages->Messages.size(), 1u);
        EXPECT_EQ(Messages->Messages[0].Caption, "Ошибка");
        EXPECT_EQ(Messages->Messages[0].Text, c.Text);
        EXPECT_TRUE(Same_Files(Files("CurrGame"), current));
        EXPECT_TRUE(Same_Bytes(Game_In_Memory(), in_memory));
        EXPECT_EQ(Module(), module);
        EXPECT_EQ(Player(), Hero);
        EXPECT_FALSE(fs::exists(Folder.File("CurrGame.tmp")));
    }
    // Load_Game straight on a folder without "game.id" names that file.
    EXPECT_FALSE(Load_Game(Folder.File("Savegames/slot09/")));
    EXPECT_EQ(Messages->Messages.back().Text,
              "Не удаётся загрузить файл \"" + Folder.File("Savegames/slot09/game.id") + "\".");
    EXPECT_TRUE(Load_Slot(5));
    EXPECT_EQ(Player()->Name, "rat");
    EXPECT_EQ(Path_Settings()->Get_Module_Name(), "Vale/");
}

TEST_F(Saved_Game, SlotsOutsideTheRangeAndFailedRenamesChangeNothing) {
    ASSERT_TRUE(Save_Current_Game() && Store_Slot(3));
    Messages->Messages.clear();
    for (int32_t n : {0, 11, -1}) {
        EXPECT_FALSE(Store_Slot(n)) << n;
        EXPECT_FALSE(Load_Slot(n)) << n;
    }
    EXPECT_TRUE(Messages->Messages.empty());
    EXPECT_TRUE(Store_Slot(1));
    EXPECT_TRUE(Store_Slot(10));

    const TFiles slot = Files("Savegames/slot03");
    Folder.Write("CurrGame/2.map", "changed");
    const TFiles current = Files("CurrGame");
    const struct {
        const char* Path_Part;
        plat::TWrite_Step Step;
        bool Storing;
    } faults[] = {{"/slot03", plat::TWrite_Step::Rename_Folder, true},
                  {"slot03.tmp", plat::TWrite_Step::Rename_Folder, true},
                  {"CurrGame.tmp/2.map", plat::TWrite_Step::Write, false},
                  {"CurrGame.tmp", plat::TWrite_Step::Rename_Folder, false}};
    for (const auto& f : faults) {
        SCOPED_TRACE(f.Path_Part);
        plat::Set_Write_Fault(plat::TWrite_Fault{f.Path_Part, f.Step, 0});
        Messages->Messages.clear();
        EXPECT_FALSE(f.Storing ? Store_Slot(3) : Load_Slot(3));
        EXPECT_EQ(Messages->Messages.size(), 1u);
        EXPECT_TRUE(Same_Files(Files("Savegames/slot03"), slot));
        EXPECT_TRUE(Same_Files(Files("CurrGame"), current));
        for (const char* gone :
             {"Savegames/slot03.tmp", "Savegames/slot03.old", "CurrGame.tmp", "CurrGame.old"})
            EXPECT_FALSE(fs::exists(Folder.File(gone))) << gone;
    }
}

TEST_F(Saved_Game, DeletingTouchesRegularFilesOnlyAndABrokenBodyWritesNothing) {
    const std::string outside = Folder.Write("outside.txt", "kept");
    fs::create_symlink(outside, Folder.File("CurrGame/link.txt"));
    Folder.Write("CurrGame/Sub/inner.txt", "kept");
    EXPECT_TRUE(Delete_Files(Current));
    EXPECT_FALSE(fs::exists(Folder.File("CurrGame/2.map")));
    EXPECT_TRUE(fs::exists(Folder.File("CurrGame/Sub/inner.txt")));
    EXPECT_TRUE(fs::is_symlink(Folder.File("CurrGame/link.txt")));
    EXPECT_EQ(Folder.Read("outside.txt"), "kept");
    EXPECT_TRUE(Delete_Files(Folder.File("Nowhere/")));

    // A body that cannot write its stream (a list beyond its 16-bit count) leaves no file.
    Messages->Messages.clear();
    EXPECT_FALSE(Save_File(
        Current + "big.dat", [](TStream_Writer& w) { Write_String_List(w, TString_List(70000)); }, "Error",
        "Unable to save big"));
    ASSERT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(Messages->Messages[0].Text, "Unable to save big");
    EXPECT_FALSE(fs::exists(Current + "big.dat"));
}

TEST_F(Saved_Game, NamesThatLeaveTheirFolderAreRefused) {
    const struct {
        const char* Name;
        bool Plain, Safe;
    } names[] = {{"1.map", true, true},   {"../x", false, false},    {"/x", false, false},
                 {"a\\b", false, true},   {"..", false, false},      {".", false, true},
                 {"", false, true},       {"a/../b", false, false},  {"Vale/", false, true},
                 {"C:\\x", false, false}, {"a\\..\\b", false, false}};
    for (const auto& n : names) {
        SCOPED_TRACE(n.Name);
        EXPECT_EQ(Is_Plain_File_Name(n.Name), n.Plain);
        EXPECT_EQ(Is_Safe_Data_Name(n.Name), n.Safe);
        EXPECT_EQ(Character_File_Path(n.Name).has_value(), n.Plain);
        TGame_Id id;
        id.Map_File_Name = n.Name;
        id.Module_File_Name = "Module.mod";
        EXPECT_EQ(Game_Id_Names_Allowed(id), n.Plain);
        id.Map_File_Name = "1.map";
        id.Module_File_Name = n.Name;
        EXPECT_EQ(Game_Id_Names_Allowed(id), n.Plain);
        id.Module_File_Name = "Module.mod";
        id.Module_Name = n.Name;
        std::string refused;
        EXPECT_EQ(Game_Id_Names_Allowed(id, &refused), n.Safe);
        EXPECT_EQ(refused, n.Safe ? "" : n.Name);
        // Pictures and music with such names are no file at all.
        EXPECT_EQ(Path_Settings()->Get_Music_File(n.Name).empty(), !n.Safe);
    }
    // A map file whose store would load its classes from outside the module is refused whole.
    auto store = std::make_unique<TStore>();
    store->Init(1, "../../Data/x.txt", "Items.txt");
    Map->Add_Store(std::move(store));
    ASSERT_TRUE(Save_Map(*Map, Current + "1.map"));
    const std::string in_memory = Game_In_Memory();
    EXPECT_FALSE(Load_Map(Current + "1.map", false));
    EXPECT_EQ(Messages->Messages.back().Text, "Unable to load map file \"" + Current + "1.map\".");
    EXPECT_TRUE(Same_Bytes(Game_In_Memory(), in_memory));
}

TEST_F(Saved_Game, FileNamesMatchIgnoringCaseAndInterruptedSwapsAreRepaired) {
    // "Module.mod" reads "module.mod" and the next save overwrites it, leaving one file.
    Folder.Write("CurrGame/module.mod",
                 Bytes_Of([](TStream_Writer& w) { Write_Module_File_Body(w, *Module()); }));
    TModule read;
    ASSERT_TRUE(Load_Module(Current, "Module.mod", read, false, nullptr));
    EXPECT_EQ(read.File_Name, "Module.mod");
    EXPECT_EQ(read.Source_Folder, Current);
    EXPECT_EQ(read.Map_Count(), 2);
    ASSERT_TRUE(Save_Current_Game());
    EXPECT_EQ(Files("CurrGame").count("Module.mod"), 0u);
    EXPECT_EQ(Files("CurrGame").count("module.mod"), 1u);

    // A swap cut short between its two renames: the old slot comes back, the stray copies go.
    ASSERT_TRUE(Store_Slot(3));
    const TFiles slot = Files("Savegames/slot03");
    fs::rename(Folder.File("Savegames/slot03"), Folder.File("Savegames/slot03.old"));
    Folder.Write("Savegames/slot03.tmp/game.id", "half");
    Folder.Write("Savegames/slot05.old/game.id", "stale");
    Folder.Write("Savegames/slot05/game.id", "kept");
    fs::rename(Folder.File("CurrGame"), Folder.File("CurrGame.old"));
    EXPECT_EQ(Read_Save_Description(Folder.File("Savegames/slot03/")), "Before the barrow");
    EXPECT_TRUE(Same_Files(Files("Savegames/slot03"), slot));
    EXPECT_EQ(Folder.Read("Savegames/slot05/game.id"), "kept");
    for (const char* gone :
         {"Savegames/slot03.old", "Savegames/slot03.tmp", "Savegames/slot05.old", "CurrGame.old"})
        EXPECT_FALSE(fs::exists(Folder.File(gone))) << gone;
    EXPECT_TRUE(fs::exists(Folder.File("CurrGame/1.map")));
    EXPECT_EQ(Read_Save_Description(Folder.File("Savegames/slot07/")), "");
    // A save after a load cut short writes into the current game put back, with its other maps.
    fs::rename(Folder.File("CurrGame"), Folder.File("CurrGame.old"));
    ASSERT_TRUE(Save_Current_Game());
    EXPECT_EQ(Folder.Read("CurrGame/2.map"), "the other map");
    EXPECT_FALSE(fs::exists(Folder.File("CurrGame.old")));
}

TEST_F(Saved_Game, ModuleStartLoadsTheStartMapAndPlacesThePlayerOnlyOnTheMap) {
    TModule& m = *Module();
    m.Start_Map = 2;
    m.Start_X = 15;
    m.Start_Y = 16;
    Save_Map(*Map, Current + "2.map");
    ASSERT_TRUE(Save_File(
        Current + "Module.mod", [&m](TStream_Writer& w) { Write_Module_File_Body(w, m); }, "Error", "x"));
    TMonster hero;
    hero.Name = "Traveller";
    TModule target;
    ASSERT_TRUE(Load_Module(Current, "Module.mod", target, true, &hero));
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->Name, "Traveller");
    EXPECT_EQ(Current_Map()->Get_Square(15, 16)->Monster_Id, Player()->Id);
    EXPECT_EQ(Current_Map()->File_Name, "2.map");

    // A map loaded with a player gets the default hero at 12, 12; the map's stores are restocked once,
    // as the current map.
    auto store = std::make_unique<TStore>();
    store->Init(1, "Stores.txt", "Items.txt");
    Current_Map()->Add_Store(std::move(store));
    ASSERT_TRUE(Save_Map(*Current_Map(), Current + "3.map"));
    std::vector<bool> restocked;
    Set_Store_Restocker([&restocked](TMap& map) { restocked.push_back(&map == Current_Map()); });
    ASSERT_TRUE(Load_Map(Current + "3.map", true));
    EXPECT_EQ(restocked, std::vector<bool>{true});
    EXPECT_EQ(Player()->Name, "John Hero");
    EXPECT_EQ(Current_Map()->Get_Square(12, 12)->Monster_Id, Player()->Id);
    EXPECT_EQ(Player()->Level, 1);

    // Without a creature the default hero; a square off the map places nobody.
    ASSERT_TRUE(Place_Player(3, 4, nullptr));
    EXPECT_EQ(Player()->Name, "John Hero");
    EXPECT_EQ(Player()->Gold, 1000);
    EXPECT_EQ(Player()->Base_Strength, 20);
    EXPECT_EQ(Player()->Picture, "HumanFighter5.bmp");
    const int count = Current_Map()->Monster_List.Get_Count();
    for (auto [x, y] : {std::pair{0, 5}, {201, 5}, {5, 0}, {5, 201}, {256, 5}})
        EXPECT_FALSE(Place_Player(x, y, &hero)) << x << "," << y;
    EXPECT_EQ(Current_Map()->Monster_List.Get_Count(), count);

    // The start square off the map, or a missing start map, fails the start.
    m.Start_X = 0;
    Save_File(
        Current + "Module.mod", [&m](TStream_Writer& w) { Write_Module_File_Body(w, m); }, "Error", "x");
    EXPECT_FALSE(Load_Module(Current, "Module.mod", target, true, &hero));
    m.Start_X = 15;
    m.Start_Map = 9;
    Save_File(
        Current + "Module.mod", [&m](TStream_Writer& w) { Write_Module_File_Body(w, m); }, "Error", "x");
    EXPECT_FALSE(Load_Module(Current, "Module.mod", target, true, &hero));
    EXPECT_EQ(Messages->Messages.back().Text, "Unable to load map file \"" + Current + "9.map\".");
    EXPECT_FALSE(Load_Module(Current, "None.mod", target, false, &hero));
    EXPECT_EQ(Messages->Messages.back().Text, "Unable to load module file \"" + Current + "None.mod\".");
}

} // namespace
