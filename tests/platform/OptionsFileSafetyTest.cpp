// Where the options file lives and how it is written: under the user's own home folder (from the password
// database when HOME is unset, never a shared folder), through a new private temporary file that a planted
// link can not redirect.
#include "platform/RegistryStore.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace plat;

namespace {

const std::vector<std::string> Key = {"Software", "Brannoch", "Murkhollow"};

// Sets or unsets an environment variable for the scope and puts it back afterwards.
class TScoped_Env {
public:
    TScoped_Env(const char* name, std::optional<std::string> value) : Name_(name) {
        if (const char* old = std::getenv(name)) Old_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~TScoped_Env() {
        if (Old_)
            setenv(Name_, Old_->c_str(), 1);
        else
            unsetenv(Name_);
    }

private:
    const char* Name_;
    std::optional<std::string> Old_;
};

std::vector<std::string> Names_In(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                names.push_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

} // namespace

TEST(OptionsFileSafety, HomeFolderComesFromTheEnvironmentOrThePasswordDatabase) {
    const passwd* entry = getpwuid(getuid());
    ASSERT_NE(entry, nullptr);
    const std::string own_home = entry->pw_dir;
    struct TCase {
        std::optional<std::string> Home, Xdg;
        std::string Expected;
    } cases[] = {
        {"/home/someone", std::nullopt, "/home/someone/.config/Brannoch/Murkhollow/options"},
        {"/home/someone", "/cfg", "/cfg/Brannoch/Murkhollow/options"},
        {"/home/someone", "relative/cfg", "/home/someone/.config/Brannoch/Murkhollow/options"},
        {std::nullopt, std::nullopt, own_home + "/.config/Brannoch/Murkhollow/options"},
        {"", std::nullopt, own_home + "/.config/Brannoch/Murkhollow/options"},
        {"relative", std::nullopt, own_home + "/.config/Brannoch/Murkhollow/options"},
        {std::nullopt, "/cfg", "/cfg/Brannoch/Murkhollow/options"},
    };
    for (const TCase& c : cases) {
        TScoped_Env home("HOME", c.Home);
        TScoped_Env xdg("XDG_CONFIG_HOME", c.Xdg);
        EXPECT_EQ(Default_Registry_File(), c.Expected) << c.Home.value_or("(unset)");
        EXPECT_NE(Default_Registry_File().rfind("/tmp/", 0), 0u);
    }
}

TEST(OptionsFileSafety, AStoreWithoutAFileReadsEmptyAndIsNeverWritten) {
    TFile_Registry_Store store("");
    TRegistry_Contents contents;
    EXPECT_TRUE(store.Load(contents));
    EXPECT_TRUE(contents.Keys.empty());
    contents.Keys.insert("Software");
    EXPECT_FALSE(store.Save(contents));
}

TEST(OptionsFileSafety, WritesThroughAPrivateNewFileAndLeavesNothingBehind) {
    TTemp_Folder t;
    t.Make_Folder("cfg");
    const std::string path = t.File("cfg/options");
    // A link where a fixed temporary name would be: writing through it would change the target.
    const std::string target = t.Write("victim", "untouched");
    ASSERT_EQ(symlink(target.c_str(), (path + ".tmp").c_str()), 0);

    TFile_Registry_Store store(path);
    for (int round = 0; round < 2; ++round) { // a new file, then one replaced
        auto key = store.Open_Key(Key, true);
        ASSERT_NE(key, nullptr);
        key->Write_String("Game Path", "/games/" + std::to_string(round) + "/");
        ASSERT_TRUE(key->Close());
    }
    EXPECT_EQ(t.Read("victim"), "untouched");
    EXPECT_EQ(t.Read("cfg/options"), "# Murkhollow machine options\n"
                                     "[Software]\n"
                                     "[Software/Brannoch]\n"
                                     "[Software/Brannoch/Murkhollow]\n"
                                     "s Game Path=/games/1/\n");
    struct stat st {};
    ASSERT_EQ(lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    std::vector<std::string> names = Names_In(t.File("cfg"));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"options", "options.tmp"})); // the planted link stays as it was

    auto again = store.Open_Key(Key, false);
    std::string value;
    ASSERT_TRUE(again && again->Read_String("Game Path", value));
    EXPECT_EQ(value, "/games/1/");
}

TEST(OptionsFileSafety, AFailedReplaceLeavesNoTemporaryFile) {
    TTemp_Folder t;
    const std::string folder = t.Make_Folder("cfg");
    // A folder where the file should be: the new contents are written, but can not replace it.
    t.Write("cfg/options/inside", "x");
    TFile_Registry_Store store(folder + "options");
    TRegistry_Contents contents;
    contents.Keys.insert("Software");
    EXPECT_FALSE(store.Save(contents));
    EXPECT_EQ(Names_In(folder), std::vector<std::string>{"options"});
    EXPECT_EQ(t.Read("cfg/options/inside"), "x");
}
