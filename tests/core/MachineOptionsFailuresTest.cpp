// Machine options that cannot be read or written: a value of the wrong kind fails the whole load like a
// missing integer (defaults, the path kept as far as it was read), and a path the store refuses is not
// taken either.
#include "core/MachineOptions.h"
#include "platform/RegistryStore.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

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

// Options that differ from the defaults in every field, so a load that gives the defaults is seen to.
TMachine_Options Not_Defaults(const std::string& path) {
    TMachine_Options o;
    o.Game_Path = path;
    o.Last_Saved_Game_Slot = 9;
    o.Play_Sounds = false;
    o.Play_Music = false;
    o.Show_Drawing_Speed = true;
    o.Dont_Autosave = false;
    o.Autosave_Every_Minute = true;
    o.Game_Speed_Modified_Percent = 170;
    return o;
}

class MachineOptionsFailures : public ::testing::Test {
protected:
    void SetUp() override {
        auto store = std::make_unique<plat::TMemory_Registry_Store>();
        Store = store.get();
        plat::Install_Registry_Store(std::move(store));
        Machine_Options() = TMachine_Options();
    }
    void TearDown() override {
        plat::Install_Registry_Store(nullptr);
        Machine_Options() = TMachine_Options();
    }
    plat::TMemory_Registry_Store* Store = nullptr;
};

} // namespace

TEST_F(MachineOptionsFailures, AValueOfTheWrongKindGivesTheDefaults) {
    const std::map<std::string, TRegistry_Value> stored = {
        {"Game Path", Text("/games/murk/")},
        {"Last Saved Game Slot", Number(4)},
        {"Play Sounds", Text("false")},
        {"Play Music", Text("false")},
        {"Show Drawing Speed", Text("true")},
        {"Dont Autosave", Text("false")},
        {"Autosave Every Minute", Text("true")},
        {"Autosave Every 5 Minutes", Text("false")},
        {"Autosave Every 20 Minutes", Text("false")},
        {"Game Speed Modified Percent", Number(150)},
    };
    struct TCase {
        const char* Key;
        TRegistry_Value Value;
        const char* Path_After; // the path is read first: a failure after it keeps the stored one
    } cases[] = {
        {"Game Path", Number(3), "/before/"},
        {"Last Saved Game Slot", Text("4"), "/games/murk/"},
        {"Play Sounds", Number(0), "/games/murk/"},
        {"Play Music", Number(0), "/games/murk/"},
        {"Show Drawing Speed", Number(1), "/games/murk/"},
        {"Dont Autosave", Number(1), "/games/murk/"},
        {"Autosave Every Minute", Number(1), "/games/murk/"},
        {"Autosave Every 5 Minutes", Number(1), "/games/murk/"},
        {"Autosave Every 20 Minutes", Number(1), "/games/murk/"},
        {"Game Speed Modified Percent", Text("150"), "/games/murk/"},
    };
    Store->Contents.Keys = {"Software", "Software/Brannoch", "Software/Brannoch/Murkhollow"};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Key);
        std::map<std::string, TRegistry_Value> values = stored;
        values[c.Key] = c.Value;
        Store->Contents.Values["Software/Brannoch/Murkhollow"] = values;
        Machine_Options() = Not_Defaults("/before/");
        Load_Machine_Options();
        TMachine_Options defaults;
        defaults.Game_Path = c.Path_After;
        const TMachine_Options& o = Machine_Options();
        EXPECT_EQ(o.Game_Path, defaults.Game_Path);
        EXPECT_EQ(o.Last_Saved_Game_Slot, defaults.Last_Saved_Game_Slot);
        EXPECT_EQ(o.Play_Sounds, defaults.Play_Sounds);
        EXPECT_EQ(o.Play_Music, defaults.Play_Music);
        EXPECT_EQ(o.Show_Drawing_Speed, defaults.Show_Drawing_Speed);
        EXPECT_EQ(o.Dont_Autosave, defaults.Dont_Autosave);
        EXPECT_EQ(o.Autosave_Every_Minute, defaults.Autosave_Every_Minute);
        EXPECT_EQ(o.Game_Speed_Modified_Percent, defaults.Game_Speed_Modified_Percent);
    }

    // The same values, all of the right kind, are read; a missing text reads as empty, which leaves sounds
    // and music on.
    for (const char* missing : {"Play Music", "Play Sounds"}) {
        std::map<std::string, TRegistry_Value> values = stored;
        values.erase(missing);
        Store->Contents.Values["Software/Brannoch/Murkhollow"] = values;
        Machine_Options() = Not_Defaults("/before/");
        Load_Machine_Options();
        EXPECT_EQ(Machine_Options().Play_Music, std::string(missing) == "Play Music") << missing;
        EXPECT_EQ(Machine_Options().Play_Sounds, std::string(missing) == "Play Sounds") << missing;
    }
    EXPECT_EQ(Machine_Options().Game_Path, "/games/murk/");
    EXPECT_EQ(Machine_Options().Last_Saved_Game_Slot, 4);
    EXPECT_TRUE(Machine_Options().Autosave_Every_Minute);
    EXPECT_EQ(Machine_Options().Game_Speed_Modified_Percent, 150);
}

// Without the key (or without "Last Saved Game Slot") nothing is read and nothing is created.
TEST_F(MachineOptionsFailures, AMissingKeyGivesTheDefaultsAndCreatesNothing) {
    for (bool with_key : {false, true}) {
        Store->Contents = {};
        if (with_key) {
            Store->Contents.Keys = {"Software", "Software/Brannoch", "Software/Brannoch/Murkhollow"};
            Store->Contents.Values["Software/Brannoch/Murkhollow"]["Game Path"] = Text("/games/murk/");
        }
        const plat::TRegistry_Contents before = Store->Contents;
        Machine_Options() = Not_Defaults("/before/");
        Load_Machine_Options();
        EXPECT_EQ(Machine_Options().Game_Path, "/before/");
        EXPECT_EQ(Machine_Options().Last_Saved_Game_Slot, 0);
        EXPECT_TRUE(Machine_Options().Play_Sounds && Machine_Options().Play_Music);
        EXPECT_EQ(Machine_Options().Game_Speed_Modified_Percent, 100);
        EXPECT_EQ(Store->Contents.Keys, before.Keys);
        EXPECT_EQ(Store->Contents.Values, before.Values);
    }
}

TEST_F(MachineOptionsFailures, APathTheStoreRefusesIsNotTaken) {
    Machine_Options().Game_Path = "/old/";
    Store->Fail_Saves = true;
    Set_Game_Path("/new/");
    EXPECT_EQ(Machine_Options().Game_Path, "/old/");
    EXPECT_TRUE(Store->Contents.Values.empty());

    Store->Fail_Saves = false;
    Set_Game_Path("/new/");
    EXPECT_EQ(Machine_Options().Game_Path, "/new/");
    EXPECT_EQ(Store->Contents.Values["Software/Brannoch/Murkhollow"].at("Game Path"), Text("/new/"));
}
