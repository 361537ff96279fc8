// Summoning without path settings has no class file to read: nothing is summoned, and nothing raises.
#include "core/MapMain.h"
#include "core/Path.h"
#include "generation/GeneratorActionHooks.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using SummonWithoutPathSettings = TProgram_Folder_Test;

} // namespace

TEST_F(SummonWithoutPathSettings, SummonsNothing) {
    // The same folder with path settings finds the class, so only the missing settings make the difference.
    Folder.Write("Data/Summon_MonsterClasses.txt",
                 Data_File_Text({{{"Monster Base Health Modifier", "1"}}, {{"Name", "ghoul"}}}));
    Install_Current_Map(std::make_unique<TMap>());
    TGenerator_Action_Hooks hooks;
    EXPECT_NE(hooks.Open_Summoner("ghoul"), nullptr);
    Install_Path_Settings(nullptr);
    std::unique_ptr<TSummoner> summoner;
    ASSERT_NO_THROW(summoner = hooks.Open_Summoner("ghoul"));
    EXPECT_EQ(summoner, nullptr);
    Install_Current_Map(nullptr);
}
