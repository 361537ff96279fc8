#include "core/MachineOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Profile.h"
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

namespace {

using plat::TRegistry_Value;

TRegistry_Value Text(const std::string& s) {
    TRegistry_Value v;
    v.Text = s;
    return v;
}
TRegistry_Value Number(int32_t n) {
    TRegistry_Value v;
    v.Value_Kind = TRegistry_Value::Kind::Integer;
    v.Number = n;
    return v;
}

class MachineOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto store = std::make_unique<plat::TMemory_Registry_Store>();
        Store = store.get();
        plat::Install_Registry_Store(std::move(store));
        Machine_Options() = TMachine_Options();
        Machine_Options().Game_Path = "/before/";
    }
    void TearDown() override {
        plat::Install_Registry_Store(nullptr);
        Machine_Options() = TMachine_Options();
    }
    // A complete key as the game writes it, with the given values replaced.
    void Fill(std::map<std::string, TRegistry_Value> changes, std::vector<std::string> drop = {}) {
        Store->Contents.Keys = {"Software", "Software/Brannoch", "Software/Brannoch/Murkhollow"};
        std::map<std::string, TRegistry_Value> values = {
            {"Game Path", Text("/games/murk/")},
            {"Last Saved Game Slot", Number(4)},
            {"Play Sounds", Text("false")},
            {"Play Music", Text("false")},
            {"Show Drawing Speed", Text("true")},
            {"Dont Autosave", Text("false")},
            {"Autosave Every Minute", Text("false")},
            {"Autosave Every 5 Minutes", Text("true")},
            {"Autosave Every 20 Minutes", Text("false")},
            {"Game Speed Modified Percent", Number(150)},
        };
        for (auto& [k, v] : changes) values[k] = v;
        for (auto& k : drop) values.erase(k);
        Store->Contents.Values["Software/Brannoch/Murkhollow"] = values;
    }
    plat::TMemory_Registry_Store* Store = nullptr;
};

void Expect_Defaults_But_Path(const std::string& path) {
    const TMachine_Options& o = Machine_Options();
    EXPECT_EQ(o.Game_Path, path);
    EXPECT_EQ(o.Last_Saved_Game_Slot, 0);
    EXPECT_TRUE(o.Play_Sounds);
    EXPECT_TRUE(o.Play_Music);
    EXPECT_FALSE(o.Show_Drawing_Speed);
    EXPECT_TRUE(o.Dont_Autosave);
    EXPECT_FALSE(o.Autosave_Every_Minute || o.Autosave_Every_5_Minutes || o.Autosave_Every_20_Minutes);
    EXPECT_EQ(o.Game_Speed_Modified_Percent, 100);
}

} // namespace

TEST_F(MachineOptionsTest, MissingStoreGivesDefaults) {
    Load_Machine_Options();
    Expect_Defaults_But_Path("/before/");
}

TEST_F(MachineOptionsTest, CompleteKeyIsRead) {
    Fill({});
    Load_Machine_Options();
    const TMachine_Options& o = Machine_Options();
    EXPECT_EQ(o.Game_Path, "/games/murk/");
    EXPECT_EQ(o.Last_Saved_Game_Slot, 4);
    EXPECT_FALSE(o.Play_Sounds);
    EXPECT_FALSE(o.Play_Music);
    EXPECT_TRUE(o.Show_Drawing_Speed);
    EXPECT_FALSE(o.Dont_Autosave);
    EXPECT_TRUE(o.Autosave_Every_5_Minutes);
    EXPECT_EQ(o.Game_Speed_Modified_Percent, 150);
}

TEST_F(MachineOptionsTest, LoadMatrix) {
    // Without "Last Saved Game Slot" nothing is read, not even the path.
    Fill({}, {"Last Saved Game Slot"});
    Load_Machine_Options();
    Expect_Defaults_But_Path("/before/");

    // A percent stored as text is a failure after the path was read: defaults, but the new path.
    Fill({{"Game Speed Modified Percent", Text("150")}});
    Load_Machine_Options();
    Expect_Defaults_But_Path("/games/murk/");

    // Likewise a missing percent.
    Machine_Options().Game_Path = "/before/";
    Fill({}, {"Game Speed Modified Percent"});
    Load_Machine_Options();
    Expect_Defaults_But_Path("/games/murk/");
}

TEST_F(MachineOptionsTest, BooleanTexts) {
    struct Case {
        const char* music;
        const char* speed;
        bool play_music;
        bool show_speed;
    } cases[] = {
        {"FALSE", "True", false, true},
        {"no", "yes", true, false},
        {"", "", true, false},
        {"False", "TRUE", false, true},
    };
    for (const Case& c : cases) {
        Fill({{"Play Music", Text(c.music)}, {"Show Drawing Speed", Text(c.speed)}});
        Load_Machine_Options();
        EXPECT_EQ(Machine_Options().Play_Music, c.play_music) << c.music;
        EXPECT_EQ(Machine_Options().Show_Drawing_Speed, c.show_speed) << c.speed;
    }
}

TEST_F(MachineOptionsTest, AutosaveFlags) {
    Fill({{"Autosave Every 5 Minutes", Text("false")}});
    Load_Machine_Options();
    EXPECT_TRUE(Machine_Options().Dont_Autosave); // none set means no autosave

    Fill({{"Dont Autosave", Text("true")},
          {"Autosave Every Minute", Text("true")},
          {"Autosave Every 5 Minutes", Text("false")}});
    Load_Machine_Options();
    EXPECT_TRUE(Machine_Options().Dont_Autosave);
    EXPECT_TRUE(Machine_Options().Autosave_Every_Minute);
}

TEST_F(MachineOptionsTest, PercentFromTheStoreIsClamped) {
    for (auto [stored, expected] :
         {std::pair{0, 10}, {-5, 10}, {1000, 200}, {10, 10}, {200, 200}, {90, 90}}) {
        Fill({{"Game Speed Modified Percent", Number(stored)}});
        Load_Machine_Options();
        EXPECT_EQ(Machine_Options().Game_Speed_Modified_Percent, expected) << stored;
    }
}

TEST_F(MachineOptionsTest, SaveWritesEveryValueWithItsKind) {
    Machine_Options().Last_Saved_Game_Slot = 7;
    Machine_Options().Play_Music = false;
    Machine_Options().Game_Speed_Modified_Percent = 120;
    Save_Machine_Options();
    const auto& values = Store->Contents.Values["Software/Brannoch/Murkhollow"];
    EXPECT_EQ(values.size(), 10u);
    EXPECT_EQ(values.at("Play Music"), Text("false"));
    EXPECT_EQ(values.at("Play Sounds"), Text("true"));
    EXPECT_EQ(values.at("Last Saved Game Slot"), Number(7));
    EXPECT_EQ(values.at("Game Speed Modified Percent"), Number(120));

    Machine_Options() = TMachine_Options();
    Load_Machine_Options();
    EXPECT_EQ(Machine_Options().Last_Saved_Game_Slot, 7);
    EXPECT_FALSE(Machine_Options().Play_Music);
    EXPECT_EQ(Machine_Options().Game_Path, "/before/");
}

TEST_F(MachineOptionsTest, SetGamePathWritesOnlyThePath) {
    Set_Game_Path("/new/");
    EXPECT_EQ(Machine_Options().Game_Path, "/new/");
    const auto& values = Store->Contents.Values["Software/Brannoch/Murkhollow"];
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values.at("Game Path"), Text("/new/"));
}

// Start-up: the game records the folder it runs from as the game path; the tool only reads it.
TEST_F(MachineOptionsTest, StartUpRecordsTheGamePathOnlyInTheGame) {
    const std::string saved_base = Base_Folder();
    Set_Last_File_Version("1.06");
    Set_Run_Profile(TRun_Profile::Tool);
    Setup_Global_Vars();
    EXPECT_TRUE(Store->Contents.Values["Software/Brannoch/Murkhollow"].empty());
    EXPECT_EQ(Machine_Options().Game_Path, "/before/");
    EXPECT_EQ(Last_File_Version(), "");
    Set_Run_Profile(TRun_Profile::Game);
    Setup_Global_Vars();
    ASSERT_FALSE(Base_Folder().empty());
    EXPECT_EQ(Base_Folder().back(), '/');
    EXPECT_EQ(Store->Contents.Values["Software/Brannoch/Murkhollow"].at("Game Path"), Text(Base_Folder()));
    Set_Base_Folder(saved_base);
}

TEST(GameSpeed, Scaling) {
    TMachine_Options saved = Machine_Options();
    struct Case {
        int32_t percent;
        int32_t delay_in, delay_out;
        int32_t up_in, up_out;
    } cases[] = {
        {100, 1000, 1000, 1000, 1000}, {100, 33, 33, 7, 7},        {150, 1000, 666, 1000, 1500},
        {110, 33, 29, 10, 11},         {130, 100, 76, 1500, 1949}, {200, 500, 250, 500, 1000},
        {0, 100, 1000, 100, 10},       {1000, 100, 50, 100, 200},
    };
    for (const Case& c : cases) {
        Machine_Options().Game_Speed_Modified_Percent = c.percent;
        EXPECT_EQ(Game_Speed_Scale_Delay(c.delay_in), c.delay_out) << c.percent;
        EXPECT_EQ(Game_Speed_Scale_Up(c.up_in), c.up_out) << c.percent;
    }
    Machine_Options().Game_Speed_Modified_Percent = 200;
    EXPECT_DOUBLE_EQ(Game_Speed_Scale_Delay_Real(7.0), 3.5);
    Machine_Options() = saved;
}
