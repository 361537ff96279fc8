// The default module played without a screen from start to a loaded saved game: the shipped module is
// created into a temporary program folder, its start map loaded with the player at the start, the world run
// for 2000 ticks, the game saved into slot 1 and loaded back from it. The map, the player, the module and
// the game options then hold exactly what they held when the game was saved.
#include "core/BusyCursorSeam.h"
#include "core/Clock.h"
#include "core/DisplayFlagSeam.h"
#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/GameSettings.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/ProgressSeam.h"
#include "core/SaveGame.h"
#include "core/SaveSlots.h"
#include "core/Struct.h"
#include "generation/RndClassModule.h"
#include "generation/RndCreateModule.h"
#include "generation/RndDigTileMap.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr uint64_t Tick_Ms = 50;
constexpr double Ticks_Per_Second = 20.0;
constexpr int Ticks = 2000;

// The running game's state as the bytes its records write.
struct TGame_State {
    std::string Map, Module, Player, Options;
    uint16_t Player_Id = 0;
    bool operator==(const TGame_State&) const = default;
};

std::string Bytes_Of(const std::function<void(TStream_Writer&)>& body) {
    TStream_Writer w;
    body(w);
    const std::vector<uint8_t> bytes = w.Bytes();
    return std::string(bytes.begin(), bytes.end());
}

TGame_State Game_State() {
    TGame_State state;
    state.Map = Bytes_Of([](TStream_Writer& w) { Current_Map()->Save(w); });
    state.Module = Bytes_Of([](TStream_Writer& w) { Module()->Save(w); });
    state.Player = Bytes_Of([](TStream_Writer& w) { Player()->Save_To_Stream(w); });
    state.Options = Bytes_Of([](TStream_Writer& w) { Game_Options()->Write(w); });
    state.Player_Id = Player()->Id;
    return state;
}

class DefaultModuleGame : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        // The program folder: the data and the module as the build assembles them, the media (only read)
        // through links, and empty game folders of its own.
        const fs::path program = MURK_RUNTIME_DIR;
        Folder.Make_Folder("Modules/Barrowdeep");
        fs::copy(program / "Data", Folder.Make_Folder("Data"), fs::copy_options::recursive);
        fs::copy(program / "Modules/Barrowdeep", Folder.File("Modules/Barrowdeep"),
                 fs::copy_options::recursive);
        for (const char* media : {"Sounds", "Pictures", "Music"})
            fs::create_directory_symlink(program / media, Folder.File(media));
        for (const char* folder : {"CurrGame", "Savegames", "Characters"}) Folder.Make_Folder(folder);

        Create_Primary_Global_Structs();
        Load_Primary_Global_Structs();
        Create_Global_Structs();
        ASSERT_TRUE(Load_Global_Structs());
        // Stores are stocked anew on every load: without a restocker they stay empty, and the loaded map
        // compares byte for byte with the saved one.
        Set_Store_Restocker(nullptr);
        Set_Dig_Seed_Source([](int32_t map_index) { return 7 + static_cast<uint64_t>(map_index); });
        Set_Manual_Clock(1000000);
    }
    void TearDown() override {
        Use_System_Clock();
        Set_Dig_Seed_Source(nullptr);
        Free_Module_Class();
        Set_Player(nullptr);
        Free_Global_Structs();
        Free_Primary_Global_Structs();
        TProgram_Folder_Test::TearDown();
    }
};

} // namespace

TEST_F(DefaultModuleGame, IsCreatedPlayedSavedAndLoadedBackUnchanged) {
    ASSERT_TRUE(Path_Settings()->Set_Module("Barrowdeep/"));
    ASSERT_TRUE(Reload_Global_Data());
    ASSERT_TRUE(Load_Module_Class(Path_Settings()->Get_ModuleData_File()));
    ASSERT_TRUE(Create_Module());
    Free_Module_Class();
    EXPECT_TRUE(Messages->Error_Lists.empty());
    const std::string current = Path_Settings()->Get_Current_Game_Folder();

    ASSERT_TRUE(Load_Module(current, "Module.mod", *Module(), true, nullptr));
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(std::vector<int>({Player()->X, Player()->Y}),
              std::vector<int>({Module()->Start_X, Module()->Start_Y}));
    EXPECT_EQ(Current_Map()->File_Name, std::to_string(Module()->Start_Map) + ".map");

    const std::string started = Game_State().Map;
    const TCallback_Set callbacks;
    for (int tick = 0; tick < Ticks; ++tick) {
        Advance_Manual_Clock(Tick_Ms);
        Current_Map()->Update_Monsters(callbacks, Ticks_Per_Second);
        Sprites_List()->Update();
        Current_Map()->End_Tick();
        ASSERT_NE(Player(), nullptr) << "tick " << tick;
    }

    const TGame_State saved = Game_State();
    // The village's folk have moved in the meantime.
    EXPECT_NE(saved.Map, started);
    ASSERT_TRUE(Save_Game("Headless", *Current_Map(), Player(), current + "Module.mod",
                          current + Current_Map()->File_Name));
    ASSERT_TRUE(Store_Slot(1));
    ASSERT_TRUE(Load_Slot(1));
    EXPECT_TRUE(Messages->Messages.empty());
    const TGame_State loaded = Game_State();
    EXPECT_EQ(loaded.Player_Id, saved.Player_Id);
    EXPECT_TRUE(loaded.Map == saved.Map) << "map differs";
    EXPECT_TRUE(loaded.Module == saved.Module) << "module differs";
    EXPECT_TRUE(loaded.Player == saved.Player) << "player differs";
    EXPECT_TRUE(loaded.Options == saved.Options) << "options differ";
    EXPECT_EQ(Player(), Current_Map()->Monster_List.Get_Monster(saved.Player_Id));
    EXPECT_EQ(Path_Settings()->Get_Module_Name(), "Barrowdeep/");
}
