#include "platform/RegistryStore.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {
const std::vector<std::string> Key = {"Software", "Brannoch", "Murkhollow"};
}

TEST(RegistryStore, OpensOneLevelAtATime) {
    TMemory_Registry_Store store;
    EXPECT_EQ(store.Open_Key(Key, false), nullptr);
    store.Contents.Keys = {"Software", "Software/Brannoch"};
    EXPECT_EQ(store.Open_Key(Key, false), nullptr); // the last level is missing

    auto key = store.Open_Key(Key, true);
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->Close()); // creating the level is a change that is stored
    EXPECT_TRUE(store.Contents.Keys.count("Software/Brannoch/Murkhollow"));
    EXPECT_NE(store.Open_Key(Key, false), nullptr);
}

TEST(RegistryStore, ValuesKeepTheirKind) {
    TMemory_Registry_Store store;
    auto key = store.Open_Key(Key, true);
    key->Write_String("Play Music", "false");
    key->Write_Integer("Last Saved Game Slot", 3);
    ASSERT_TRUE(key->Close());

    auto again = store.Open_Key(Key, false);
    std::string text;
    int32_t number = 0;
    EXPECT_TRUE(again->Read_Integer("Last Saved Game Slot", number));
    EXPECT_EQ(number, 3);
    EXPECT_FALSE(again->Read_String("Last Saved Game Slot", text)); // an integer is not a text
    EXPECT_FALSE(again->Read_Integer("Play Music", number));        // nor a text an integer
    EXPECT_TRUE(again->Read_String("Play Music", text));
    EXPECT_EQ(text, "false");
    EXPECT_FALSE(again->Has_Value("Game Path"));
}

TEST(RegistryStore, FileRoundTripKeepsKindsAndOddTexts) {
    TTemp_Folder t;
    TFile_Registry_Store store(t.File("config/Brannoch/Murkhollow/options"));
    {
        auto key = store.Open_Key(Key, false);
        EXPECT_EQ(key, nullptr); // a missing file is a missing key
    }
    auto key = store.Open_Key(Key, true);
    ASSERT_NE(key, nullptr);
    key->Write_String("Game Path", "/games/Murk hollow/=odd\\name]\nsecond line/");
    key->Write_String("Number As Text", "100");
    key->Write_Integer("Game Speed Modified Percent", -150);
    key->Write_String("Имя", "Значение");
    ASSERT_TRUE(key->Close());

    TFile_Registry_Store reader(store.Path());
    TRegistry_Contents contents;
    ASSERT_TRUE(reader.Load(contents));
    EXPECT_TRUE(contents.Keys.count("Software"));
    EXPECT_TRUE(contents.Keys.count("Software/Brannoch"));
    const auto& values = contents.Values["Software/Brannoch/Murkhollow"];
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values.at("Game Path").Text, "/games/Murk hollow/=odd\\name]\nsecond line/");
    EXPECT_EQ(values.at("Number As Text").Value_Kind, TRegistry_Value::Kind::String);
    EXPECT_EQ(values.at("Game Speed Modified Percent").Value_Kind, TRegistry_Value::Kind::Integer);
    EXPECT_EQ(values.at("Game Speed Modified Percent").Number, -150);
    EXPECT_EQ(values.at("Имя").Text, "Значение");
    // No temporary file is left behind.
    EXPECT_EQ(t.Read("config/Brannoch/Murkhollow/options.tmp"), "");
}

TEST(RegistryStore, WritesMergeWithWhatAnotherProgramStored) {
    TTemp_Folder t;
    TFile_Registry_Store game(t.File("options"));
    TFile_Registry_Store tool(t.File("options"));
    auto from_game = game.Open_Key(Key, true);
    auto from_tool = tool.Open_Key(Key, true);
    from_game->Write_String("Game Path", "/g/");
    ASSERT_TRUE(from_game->Close());
    from_tool->Write_Integer("Last Saved Game Slot", 2);
    ASSERT_TRUE(from_tool->Close());

    auto check = game.Open_Key(Key, false);
    std::string path;
    int32_t slot = 0;
    EXPECT_TRUE(check->Read_String("Game Path", path));
    EXPECT_TRUE(check->Read_Integer("Last Saved Game Slot", slot));
    EXPECT_EQ(slot, 2);
}

TEST(RegistryStore, UnwritableFileFailsTheClose) {
    TTemp_Folder t;
    t.Write("blocker", "a file where a folder should be");
    TFile_Registry_Store store(t.File("blocker/options"));
    auto key = store.Open_Key(Key, true);
    ASSERT_NE(key, nullptr);
    key->Write_Integer("Last Saved Game Slot", 1);
    EXPECT_FALSE(key->Close());
}

TEST(RegistryStore, DefaultFileFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(Default_Registry_File(), "/tmp/cfg/Brannoch/Murkhollow/options");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}
