// One map's generation as module creation runs it: a tiles file that cannot be dug is reported and left
// alone, the class files' errors are all kept, and every table it loads is freed again.
#include "generation/RndClassChanceGroups.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassMonsterGroups.h"
#include "generation/RndClassMonsterModifiers.h"
#include "generation/RndClassStore.h"
#include "generation/RndClassUniqueNames.h"
#include "generation/RndModuleMap.h"
#include "tests/generation/DiggerTestSupport.h"

namespace {

class ModuleMapGeneration : public TDigger_Test {
protected:
    // Every table a map's generation loads is empty again.
    void Expect_Tables_Freed() {
        EXPECT_EQ(Tile_Classes().Count(), 0);
        EXPECT_EQ(Tile_Classes().Info, nullptr);
        EXPECT_EQ(Store_Class_Count(), 0);
        EXPECT_EQ(Chance_Group_Count(), 0);
        EXPECT_EQ(Monster_Group_Count(), 0);
        EXPECT_EQ(Monster_Rand_Items_Carried_Count(), 0);
        EXPECT_EQ(Item_Modifier_Count(), 0);
        EXPECT_EQ(Monster_Modifier_Count(), 0);
        EXPECT_EQ(Monster_Modifier_Header(), nullptr);
        EXPECT_EQ(Unique_Names_Count(), 0);
    }
};

} // namespace

TEST_F(ModuleMapGeneration, AMapThatCannotBeDugIsReportedAndLeftAlone) {
    // Tables that load well, so that their freeing shows.
    Folder.Write("Modules/Test/Data/ChanceGroups.txt",
                 Data_File_Text({{{"Chance Group ID", "1"},
                                  {"Number Of Item Types", "0"},
                                  {"Number Of Locked Terrain Groups", "0"},
                                  {"Number Of Trapped Terrain Groups", "0"}}}));
    Folder.Write("Modules/Test/Data/UniqueItemNames.txt", Data_File_Text({{{"Level Min", "1"},
                                                                           {"Level Max", "9"},
                                                                           {"Number of Modifiers", "1"},
                                                                           {"Number of Names", "1"},
                                                                           {"Name 1", "Grim"}}}));
    Folder.Write("Modules/Test/Tiles/Test_Stores.txt",
                 Data_File_Text({{{"Store ID", "1"},
                                  {"Store Name", "Smithy"},
                                  {"Buy Cost Modifier Percentage Min", "50"},
                                  {"Buy Cost Modifier Percentage Max", "60"},
                                  {"Sell Cost Modifier Percentage Min", "110"},
                                  {"Sell Cost Modifier Percentage Max", "120"},
                                  {"Chance For Magic Item Per Char Level", "0"},
                                  {"Chance For Unique Item Per Char Level", "0"},
                                  {"Item Min Level Character Level Offset", "0"},
                                  {"Item Max Level Character Level Offset", "0"},
                                  {"Item Grouping Type", "all"},
                                  {"Number of Item Groups", "0"}}}));
    const TModule_Map_Generation_Files files = {"Test_Tiles.txt",    "Test_Terrain.txt", "Test_Items.txt",
                                                "Test_Monsters.txt", "Test_Groups.txt",  "Test_Carried.txt",
                                                "Test_Stores.txt"};
    const std::string tiles_path = Path_Settings()->Get_Tile_File("Test_Tiles.txt");
    struct TCase {
        const char* Name;
        std::vector<TKeys> Tiles; // none: no file
    };
    const std::vector<TCase> cases = {
        {"no tiles file", {}},
        {"no settings record", {{}}},
        {"a tile width of 0", {With(Tile_Settings_Keys(), {{"Tile Square Width", "0"}})}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        if (!c.Tiles.empty()) {
            // An empty key list writes a file whose records section holds nothing.
            Folder.Write("Modules/Test/Tiles/Test_Tiles.txt", c.Tiles.front().empty()
                                                                  ? "Tiles\r\n*BEGIN*\r\n\r\n*END*\r\n"
                                                                  : Data_File_Text(c.Tiles));
        }
        Map->Get_Square(5, 5)->Monster_Id = 7;
        Entrance_Ids.Clear();
        Entrance_Ids.Add(9);
        TString_List errors;
        EXPECT_FALSE(Generate_Module_Map(files, 1, errors, Entrance_Ids, Entrance_Xs, Entrance_Ys, true));
        // The tiles line first; both class files' errors after it, the item file's not in place of the
        // monster file's.
        EXPECT_EQ(errors, TString_List({"Unable to load tiles file \"" + tiles_path + "\".",
                                        Cannot_Load_Line(Path_Settings()->Get_Tile_File("Test_Monsters.txt")),
                                        Cannot_Load_Line(Path_Settings()->Get_Tile_File("Test_Items.txt"))}));
        EXPECT_EQ(Map->Get_Square(5, 5)->Monster_Id, 7);
        EXPECT_EQ(Entrance_Ids.Count(), 1);
        Expect_Tables_Freed();
        // Lists made for the call are not left current.
        EXPECT_EQ(Current_Monster_Class_List(), nullptr);
        EXPECT_EQ(Current_Item_Class_List(), nullptr);
    }

    // A caller's own lists stay current and receive the classes.
    TMonster_Class_List monsters;
    TCurrent_Monster_Class_List_Guard monsters_current(monsters);
    TItem_Class_List items;
    TCurrent_Item_Class_List_Guard items_current(items);
    TString_List errors = {"an earlier error"};
    EXPECT_FALSE(Generate_Module_Map(files, 1, errors, Entrance_Ids, Entrance_Xs, Entrance_Ys, true));
    EXPECT_EQ(errors.front(), "an earlier error");
    EXPECT_EQ(errors.size(), 4u);
    EXPECT_EQ(Current_Monster_Class_List(), &monsters);
    EXPECT_EQ(monsters.File_Name, Path_Settings()->Get_Tile_File("Test_Monsters.txt"));
    EXPECT_EQ(Current_Item_Class_List(), &items);
    Expect_Tables_Freed();
}
