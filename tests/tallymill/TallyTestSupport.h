// Shared by the tool's tests: the tool profile over a temporary program folder that holds the small effect
// and spell tables of tests/data/tallymill, an options store in memory, and dialogs that answer from the
// test.
#pragma once

#include "core/Profile.h"
#include "platform/RegistryStore.h"
#include "tallymill/TallySession.h"
#include "tests/support/CoreTestSupport.h"

#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

inline std::string Tally_Data(const std::string& name) {
    return std::string(MURK_TEST_DATA_DIR) + "/tallymill/" + name;
}

inline std::string Read_Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A golden report: "@DATA@" stands for the test data folder, so the files hold no machine's path.
inline std::string Golden(const std::string& name) {
    std::string text = Read_Bytes(Tally_Data(name));
    const std::string marker = "@DATA@";
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at))
        text.replace(at, marker.size(), std::string(MURK_TEST_DATA_DIR) + "/tallymill");
    return text;
}

class TTally_Test : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Set_Run_Profile(TRun_Profile::Tool);
        auto store = std::make_unique<plat::TMemory_Registry_Store>();
        Store = store.get();
        plat::Install_Registry_Store(std::move(store));
        Folder.Write("Data/Effects.txt", Read_Bytes(Tally_Data("Data/Effects.txt")));
        Folder.Write("Data/Spells.txt", Read_Bytes(Tally_Data("Data/Spells.txt")));
    }
    void TearDown() override {
        plat::Install_Registry_Store(nullptr);
        TProgram_Folder_Test::TearDown();
    }
    // Puts the value into the store's options key, as the game would have written it.
    void Store_Text(const std::string& name, const std::string& text) {
        Store->Contents.Keys.insert({"Software", "Software/Brannoch", "Software/Brannoch/Murkhollow"});
        plat::TRegistry_Value value;
        value.Text = text;
        Store->Contents.Values["Software/Brannoch/Murkhollow"][name] = value;
    }

    plat::TMemory_Registry_Store* Store = nullptr;
};

class TScripted_Chooser : public TFile_Chooser {
public:
    std::optional<std::string> Choose_Class_File(const std::string& initial_folder) override {
        ++Class_Asks;
        Last_Folder = initial_folder;
        return Class_File;
    }
    std::optional<std::string> Choose_Save_File(const std::string& initial_folder) override {
        Last_Folder = initial_folder;
        return Save_File;
    }
    std::optional<std::string> Class_File;
    std::optional<std::string> Save_File;
    int Class_Asks = 0;
    std::string Last_Folder;
};
