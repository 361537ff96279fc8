// The generator's hooks of the square actions: a trap read for one springing, summoning classes loaded for
// one cast.
#include "generation/GeneratorActionHooks.h"

#include "core/Damage.h"
#include "core/GameOptions.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "generation/RndClassMonster.h"
#include "tests/support/CoreTestSupport.h"

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

class GeneratorActionHooks : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
        Install_Current_Map(std::make_unique<TMap>());
        Create_Game_Options();
    }
    void TearDown() override {
        Free_Game_Options();
        Install_Current_Map(nullptr);
        TProgram_Folder_Test::TearDown();
    }
    TGenerator_Action_Hooks Hooks;
};

TEST_F(GeneratorActionHooks, TrapsAndSummonsAreReadForOneCallEach) {
    // One trap type of 5..10, 2 more a level, with fire 3..6 growing 1 and 2 a level; and a broken record,
    // whose errors show at every trap while the group still works.
    TKeys group = {{"Trap Group Name", "Barrow Traps"}, {"Number Of Trap Types", "1"}};
    const std::string p = "Trap Type 1 ";
    for (const auto& [key, value] : TKeys{{"Damage Amount Min", "5"},
                                          {"Damage Amount Max", "10"},
                                          {"Damage Maximum Range", "1"},
                                          {"Damage Firing FX", "None"},
                                          {"Damage Amount Per Level Modifier", "2"},
                                          {"Number of Effects", "1"},
                                          {"Effect 1 Type", "Fire Damage"},
                                          {"Effect 1 Min Amount", "3"},
                                          {"Effect 1 Max Amount", "6"},
                                          {"Effect 1 Per Level Modifier Type", "Number"},
                                          {"Effect 1 Min Amt Per Level Modifier", "1"},
                                          {"Effect 1 Max Amt Per Level Modifier", "2"}})
        group.push_back({p + key, value});
    Folder.Write("Modules/Test/Data/TrapGroups.txt", Data_File_Text({group, {{"Unrelated", "1"}}}));
    for (size_t springing = 1; springing <= 2; ++springing) {
        TDamage trap;
        ASSERT_TRUE(Hooks.Pick_Trap("Barrow Traps", 4, trap));
        // Three levels up (the minimum held at the old maximum), and never scaled twice.
        EXPECT_EQ((std::vector<int>{trap.Min, trap.Max, trap.Effects.Get_Min_Amount(1),
                                    trap.Effects.Get_Max_Amount(1)}),
                  (std::vector<int>{10, 16, 6, 12}));
        EXPECT_EQ(Messages->Error_Lists.size(), springing);
    }
    TDamage none;
    EXPECT_FALSE(Hooks.Pick_Trap("barrow traps", 4, none)); // names match exactly

    std::ifstream in(std::string(MURK_TEST_DATA_DIR) + "/generation/Monster_Classes.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    Folder.Write("Data/Summon_MonsterClasses.txt", text.str());
    Messages->Error_Lists.clear();
    std::unique_ptr<TSummoner> summoner = Hooks.Open_Summoner("ghoul");
    ASSERT_NE(summoner, nullptr);
    EXPECT_NE(Current_Monster_Class_List(), nullptr);
    const TMonster* ghoul = Current_Map()->Monster_List.Get_Monster(summoner->Create_Monster(10, 12, 3));
    ASSERT_NE(ghoul, nullptr);
    EXPECT_EQ((std::pair{ghoul->Name, int{ghoul->Level}}), (std::pair{std::string("Ghoul"), 3}));
    EXPECT_EQ(Current_Map()->Get_Square(10, 12)->Monster_Id, ghoul->Id);
    summoner.reset();
    EXPECT_EQ(Current_Monster_Class_List(), nullptr);
    // A class the file lacks; the file's errors are never shown.
    EXPECT_EQ(Hooks.Open_Summoner("wraith"), nullptr);
    EXPECT_EQ(Current_Monster_Class_List(), nullptr);
    EXPECT_TRUE(Messages->Error_Lists.empty());
}

} // namespace
