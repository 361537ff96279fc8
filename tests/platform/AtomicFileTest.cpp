// Whole files replaced in one step: the target holds the old bytes or all of the new ones, whatever step
// fails; the temporary file never survives a failure and is never an existing file or link; a name that
// differs only in letter case is the same file.
#include "platform/FileOps.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct TFault_Guard {
    ~TFault_Guard() { plat::Set_Write_Fault(std::nullopt); }
};

TEST(AtomicFile, ReplacesWholeOrNotAtAll) {
    TTemp_Folder folder;
    const std::string target = folder.Write("Game/Module.mod", "old bytes");
    std::string error;
    // The name asked for differs in letter case: the existing file is replaced, no second file appears.
    ASSERT_TRUE(plat::Write_File_Atomically(folder.File("game/module.mod"), std::string("new"), error))
        << error;
    EXPECT_EQ(folder.Read("Game/Module.mod"), "new");
    EXPECT_EQ(Entries(folder.File("Game")), std::vector<std::string>{"Module.mod"});
    ASSERT_TRUE(plat::Write_File_Atomically(folder.File("Game/1.map"), std::string(""), error));
    EXPECT_EQ(folder.Read("Game/1.map"), "");

    TFault_Guard guard;
    const std::string bytes(70000, 'x');
    const struct {
        plat::TWrite_Step Step;
        size_t At_Byte;
    } faults[] = {{plat::TWrite_Step::Write, 0},     {plat::TWrite_Step::Write, 35000},
                  {plat::TWrite_Step::Write, 69999}, {plat::TWrite_Step::Sync, 0},
                  {plat::TWrite_Step::Close, 0},     {plat::TWrite_Step::Rename, 0}};
    for (const auto& f : faults) {
        plat::Set_Write_Fault(plat::TWrite_Fault{"Module.mod", f.Step, f.At_Byte});
        error.clear();
        EXPECT_FALSE(plat::Write_File_Atomically(target, bytes, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(folder.Read("Game/Module.mod"), "new");
        EXPECT_EQ(Entries(folder.File("Game")), (std::vector<std::string>{"1.map", "Module.mod"}));
    }
    // A fault for another file leaves this one alone.
    plat::Set_Write_Fault(plat::TWrite_Fault{"other.dat", plat::TWrite_Step::Write, 0});
    EXPECT_TRUE(plat::Write_File_Atomically(target, bytes, error));
    EXPECT_EQ(folder.Read("Game/Module.mod"), bytes);

    // A missing folder is an error, not a new folder.
    EXPECT_FALSE(plat::Write_File_Atomically(folder.File("Nowhere/x.dat"), bytes, error));
    EXPECT_FALSE(fs::exists(folder.File("Nowhere")));
}

TEST(AtomicFile, APlantedTemporaryNameIsNeverWrittenThrough) {
    TTemp_Folder folder;
    const std::string victim = folder.Write("victim.txt", "keep me");
    folder.Make_Folder("Game");
    const std::string target = folder.File("Game/game.id");
    for (int attempt = 0; attempt < 3; ++attempt)
        fs::create_symlink(victim, plat::Temporary_Name(target, attempt));
    std::string error;
    ASSERT_TRUE(plat::Write_File_Atomically(target, std::string("saved"), error)) << error;
    EXPECT_EQ(folder.Read("victim.txt"), "keep me");
    EXPECT_EQ(folder.Read("Game/game.id"), "saved");
    EXPECT_TRUE(fs::is_symlink(plat::Temporary_Name(target, 0)));
}

TEST(AtomicFile, RegularFilesOnlyAndNoLinksFollowed) {
    TTemp_Folder folder;
    folder.Write("Slot/b.map", "b");
    folder.Write("Slot/a.id", "a");
    folder.Write("Slot/Sub/c.txt", "c");
    const std::string outside = folder.Write("outside.txt", "secret");
    fs::create_symlink(outside, folder.File("Slot/link.txt"));
    EXPECT_EQ(plat::List_Regular_Files(folder.File("slot")), (std::vector<std::string>{"a.id", "b.map"}));
    std::string bytes;
    EXPECT_TRUE(plat::Read_Regular_File(folder.File("Slot/a.id"), bytes));
    EXPECT_EQ(bytes, "a");
    EXPECT_FALSE(plat::Read_Regular_File(folder.File("Slot/link.txt"), bytes));
    EXPECT_FALSE(plat::Read_Regular_File(folder.File("Slot/Sub"), bytes));
    EXPECT_FALSE(plat::Is_Real_Folder(folder.File("Slot/link.txt")));

    // Removing a tree removes links inside, never what they point to.
    fs::create_symlink(folder.File("Slot"), folder.File("Slot/Sub/back"));
    EXPECT_TRUE(plat::Remove_Tree(folder.File("Slot/")));
    EXPECT_FALSE(fs::exists(folder.File("Slot")));
    EXPECT_EQ(folder.Read("outside.txt"), "secret");
}

} // namespace
