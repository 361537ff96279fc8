// Trap groups are read from the module the path settings name. Without path settings there is no module:
// the table is emptied and nothing is read, where reading through missing settings would crash, and a trap
// sprung then is harmless.
#include "generation/GeneratorActionHooks.h"
#include "generation/RndClassTrapGroups.h"

#include "core/Damage.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

#include <memory>

namespace {

class TrapGroupsWithoutPaths : public TProgram_Folder_Test {
protected:
    void TearDown() override {
        if (Removed_) Install_Path_Settings(std::move(Removed_));
        Free_Trap_Groups();
        TProgram_Folder_Test::TearDown();
    }
    std::unique_ptr<TPath_Settings> Removed_;
};

TEST_F(TrapGroupsWithoutPaths, NothingIsReadAndNoTrapGoesOff) {
    ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
    Folder.Write("Modules/Test/Data/TrapGroups.txt",
                 Data_File_Text({{{"Trap Group Name", "Darts"},
                                  {"Number Of Trap Types", "1"},
                                  {"Trap Type 1 Damage Amount Min", "3"},
                                  {"Trap Type 1 Damage Amount Max", "3"},
                                  {"Trap Type 1 Damage Maximum Range", "1"},
                                  {"Trap Type 1 Damage Firing FX", "None"},
                                  {"Trap Type 1 Damage Amount Per Level Modifier", "0"},
                                  {"Trap Type 1 Number of Effects", "0"}}}));
    struct TCase {
        const char* What;
        bool Paths;
        bool Loads;
        int32_t Groups;
        bool Trap_Goes_Off;
    };
    const TCase cases[] = {
        {"with path settings", true, true, 1, true},
        {"without them, after a load that read the table", false, false, 0, false},
        {"and with them again", true, true, 1, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        if (c.Paths && Removed_) Install_Path_Settings(std::move(Removed_));
        if (!c.Paths) Removed_ = Remove_Path_Settings();
        ASSERT_EQ(Path_Settings() != nullptr, c.Paths);
        // The table the case before loaded is still there: without settings the load inside the springing
        // must drop it, or a trap of a module no longer in play would go off.
        TGenerator_Action_Hooks hooks;
        TDamage trap;
        EXPECT_EQ(hooks.Pick_Trap("Darts", 1, trap), c.Trap_Goes_Off);
        EXPECT_EQ(trap.Min, c.Trap_Goes_Off ? 3 : 0);
        EXPECT_EQ(Trap_Group_Count(), 0); // springing reads the table for itself and frees it again
        EXPECT_EQ(Load_Trap_Groups(), c.Loads);
        EXPECT_EQ(Trap_Group_Count(), c.Groups);
        EXPECT_EQ(Find_Trap_Group("Darts") != nullptr, c.Trap_Goes_Off);
    }
    EXPECT_TRUE(Messages->Error_Lists.empty());
}

} // namespace
