// Every data file the game ships loads without an error line and holds the records it should: two blank
// lines in a row silently end a load, so a record count that comes up short is a real fault.
#include "core/DataFileLoader.h"
#include "core/GameSettings.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "core/Profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

const std::string Shipped = std::string(MURK_SHIPPED_DATA_DIR) + "/";

class TCounting_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;
    int Records = 0;

protected:
    void Process_Record(int32_t) override { ++Records; }
};

// Each shipped data file (relative to the data folder) and the records it holds.
const std::map<std::string, int> Shipped_Files = {
    {"Data/Classes.txt", 3},
    {"Data/Classes_ItemClasses.txt", 13},
    {"Data/Effects.txt", 12},
    {"Data/Settings.txt", 1},
    {"Data/Spells.txt", 15},
    {"Data/Summon_MonsterClasses.txt", 2},
    {"Modules/Barrowdeep/Data/ChanceGroups.txt", 2},
    {"Modules/Barrowdeep/Data/Events.txt", 4},
    {"Modules/Barrowdeep/Data/ItemModifiers.txt", 15},
    {"Modules/Barrowdeep/Data/ModuleData.txt", 1},
    {"Modules/Barrowdeep/Data/MonsterModifiers.txt", 9},
    {"Modules/Barrowdeep/Data/Quests.txt", 2},
    {"Modules/Barrowdeep/Data/TrapGroups.txt", 6},
    {"Modules/Barrowdeep/Data/UniqueItemNames.txt", 2},
    {"Modules/Barrowdeep/Tiles/Barrow_ItemClasses.txt", 45},
    {"Modules/Barrowdeep/Tiles/Barrow_MonsterClasses.txt", 13},
    {"Modules/Barrowdeep/Tiles/Barrow_MonsterGroups.txt", 4},
    {"Modules/Barrowdeep/Tiles/Barrow_RandomItemsCarried.txt", 5},
    {"Modules/Barrowdeep/Tiles/Barrow_Stores.txt", 0},
    {"Modules/Barrowdeep/Tiles/Barrow_Terrain.txt", 68},
    {"Modules/Barrowdeep/Tiles/Barrow_Tiles.txt", 13},
    {"Modules/Barrowdeep/Tiles/Village_ItemClasses.txt", 31},
    {"Modules/Barrowdeep/Tiles/Village_MonsterClasses.txt", 7},
    {"Modules/Barrowdeep/Tiles/Village_MonsterGroups.txt", 0},
    {"Modules/Barrowdeep/Tiles/Village_RandomItemsCarried.txt", 3},
    {"Modules/Barrowdeep/Tiles/Village_Stores.txt", 1},
    {"Modules/Barrowdeep/Tiles/Village_Terrain.txt", 50},
    {"Modules/Barrowdeep/Tiles/Village_Tiles.txt", 12},
};

} // namespace

TEST(ShippedData, EveryDataFileIsListed) {
    for (const auto& entry : fs::recursive_directory_iterator(Shipped)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".txt") continue;
        const std::string relative = fs::relative(entry.path(), Shipped).generic_string();
        EXPECT_TRUE(Shipped_Files.count(relative)) << relative << " is shipped but not checked here";
    }
}

TEST(ShippedData, RecordCountsWithoutErrors) {
    for (TRun_Profile profile : {TRun_Profile::Game, TRun_Profile::Tool}) {
        Set_Run_Profile(profile);
        for (const auto& [relative, records] : Shipped_Files) {
            TCounting_Loader loader(Shipped + relative);
            loader.Execute_Load();
            EXPECT_TRUE(loader.Get_Error_List().empty())
                << relative << ": " << loader.Get_Error_List().front();
            EXPECT_EQ(loader.Records, records) << relative;
        }
    }
    Set_Run_Profile(TRun_Profile::Game);
}

TEST(ShippedData, SettingsLoadThroughTheirLoader) {
    const std::string saved = Base_Folder();
    Set_Base_Folder(Shipped);
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    auto sink = std::make_shared<TRecording_Message_Sink>();
    Install_Message_Sink(sink);
    Free_Game_Settings();

    TGame_Settings& settings = Create_Game_Settings();
    settings.Generate_Debug_Log = false; // keep the shipped folder free of log lines
    TGame_Settings_Data_File_Loader loader(Path_Settings()->Get_Settings_File(), settings);
    loader.Execute_Load();
    EXPECT_TRUE(loader.Get_Error_List().empty());
    EXPECT_TRUE(settings.Allow_Music);
    EXPECT_TRUE(settings.Allow_Sound);
    EXPECT_TRUE(settings.Use_DirectSound);
    EXPECT_TRUE(settings.Generate_Debug_Log);
    EXPECT_FALSE(settings.Music_Song_Intro.empty());
    EXPECT_FALSE(settings.Music_Song_Death.empty());

    Free_Game_Settings();
    Install_Message_Sink(nullptr);
    Install_Path_Settings(nullptr);
    Set_Base_Folder(saved);
}
