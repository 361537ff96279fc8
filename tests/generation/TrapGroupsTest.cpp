#include "generation/RndClassTrapGroups.h"

#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Path.h"
#include "core/Terrain.h"
#include "tests/support/CoreTestSupport.h"

#include <array>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

// Effect rows: type, min, max, per-level kind, min per level, max per level.
using TEffect_Row = std::array<std::string, 6>;
const std::string Effect_Suffixes[6] = {"Type",
                                        "Min Amount",
                                        "Max Amount",
                                        "Per Level Modifier Type",
                                        "Min Amt Per Level Modifier",
                                        "Max Amt Per Level Modifier"};

// A group whose trap types all deal 5..10, growing 2 a level, with the effects given per type.
TKeys Group(const std::string& name, const std::vector<std::vector<TEffect_Row>>& types) {
    TKeys keys = {{"Trap Group Name", name}, {"Number Of Trap Types", std::to_string(types.size())}};
    for (size_t i = 0; i < types.size(); ++i) {
        const std::string p = "Trap Type " + std::to_string(i + 1) + " ";
        keys.insert(keys.end(), {{p + "Damage Amount Min", "5"},
                                 {p + "Damage Amount Max", "10"},
                                 {p + "Damage Maximum Range", "1"},
                                 {p + "Damage Firing FX", "Spark"},
                                 {p + "Damage Amount Per Level Modifier", "2"},
                                 {p + "Number of Effects", std::to_string(types[i].size())}});
        for (size_t j = 0; j < types[i].size(); ++j)
            for (size_t k = 0; k < 6; ++k)
                keys.emplace_back(p + "Effect " + std::to_string(j + 1) + " " + Effect_Suffixes[k],
                                  types[i][j][k]);
    }
    return keys;
}

// A rejected type, then cold by number, fire by percent, and life with an unusable kind (it never grows).
const std::vector<TEffect_Row> Mixed = {{"fire damage", "1", "1", "Number", "91", "92"},
                                        {"Cold Damage", "3", "6", "Number", "1", "2"},
                                        {"Fire Damage", "10", "20", "Percent", "50", "25"},
                                        {"Life", "7", "7", "Per Cent", "30", "31"}};

// The damage and each effect's min and max, in one row.
std::vector<int32_t> Amounts(const TModule_Trap_Group_Spec_Trap& trap) {
    std::vector<int32_t> row = {trap.Damage.Min, trap.Damage.Max};
    for (int32_t j = 1; j <= trap.Effects.Get_Count(); ++j)
        row.insert(row.end(), {trap.Effects.Get_Min_Amount(j), trap.Effects.Get_Max_Amount(j)});
    return row;
}

class TrapGroupsTest : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Install_Test_Display_Effects(Folder, {"Spark"});
        ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
    }
    bool Load(const std::vector<TKeys>& records) {
        Folder.Write("Modules/Test/Data/TrapGroups.txt", Data_File_Text(records));
        return Load_Trap_Groups();
    }
};

TEST_F(TrapGroupsTest, EveryRecordIsKeptAndWhatCannotBeUsedIsReported) {
    TKeys short_group = Group("Needles", {{}, {}}); // promises two trap types, has the keys of one
    short_group.resize(8);
    ASSERT_FALSE(Load({Group("Needles", {Mixed, {}}), {{"Unrelated", "1"}}, short_group}));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Trap Groups Data File Errors: ");
    // Record 1: effect 1's type and effect 4's kind; record 2: name and count; record 3: the six keys of
    // trap type 2 and its firing effect's value.
    EXPECT_EQ(Messages->Error_Lists[0].List.size(), 2u + 2u + 7u);
    ASSERT_EQ(Trap_Group_Count(), 3);
    EXPECT_EQ(Find_Trap_Group("Needles"), Get_Trap_Group(3)); // the last of that name
    EXPECT_EQ(Find_Trap_Group("needles"), nullptr);
    EXPECT_EQ(Get_Trap_Group(3)->Trap_Types.size(), 2u);
    EXPECT_EQ(Get_Trap_Group(3)->Get_Trap_Type(3), nullptr);

    // The modifiers stay with their effects after a rejected type and an unusable kind.
    const TModule_Trap_Group_Spec_Trap& trap = *Get_Trap_Group(1)->Get_Trap_Type(1);
    EXPECT_EQ(Amounts(trap), std::vector<int32_t>({5, 10, 3, 6, 10, 20, 7, 7}));
    std::vector<uint16_t> modifiers;
    for (int32_t j = 1; j <= trap.Per_Level_Modifier_Types.Count(); ++j)
        modifiers.insert(modifiers.end(),
                         {trap.Per_Level_Modifier_Types.Get(j), trap.Min_Amounts_Per_Level.Get(j),
                          trap.Max_Amounts_Per_Level.Get(j)});
    EXPECT_EQ(modifiers, std::vector<uint16_t>({Amount_Number, 1, 2, Amount_Percent, 50, 25, 0, 0, 0}));

    EXPECT_TRUE(Load({Group("Darts", {{}})})); // a clean file replaces the table
    EXPECT_EQ(Trap_Group_Count(), 1);
}

TEST_F(TrapGroupsTest, PickingDrawsOneTrapTypeOfTheGroupOrNothing) {
    ASSERT_TRUE(Load({Group("Three", {{}, {}, {}}), Group("None", {})}));
    std::vector<TModule_Trap_Group_Spec_Trap*> picks;
    Seed_Random(9);
    for (int n = 0; n < 60; ++n) picks.push_back(Pick_Random_Trap(Get_Trap_Group(1)));
    Seed_Random(9);
    for (auto* pick : picks) EXPECT_EQ(pick, Get_Trap_Group(1)->Get_Trap_Type(Random_Range(1, 3)));
    EXPECT_EQ(std::set(picks.begin(), picks.end()).size(), 3u);

    EXPECT_EQ(Pick_Random_Trap(Get_Trap_Group(2)), nullptr);
    EXPECT_EQ(Pick_Random_Trap(nullptr), nullptr);
    TModule_Trap_Group promising; // a count beyond the types it holds
    promising.Number_Of_Trap_Types = 5;
    EXPECT_EQ(Pick_Random_Trap(&promising), nullptr);
}

TEST_F(TrapGroupsTest, ScalingGrowsDamageAndEffectsFromLevelOne) {
    Load({Group("Runes", {Mixed})});
    const TModule_Trap_Group_Spec_Trap& read = *Get_Trap_Group(1)->Get_Trap_Type(1);
    const std::vector<std::pair<int32_t, std::vector<int32_t>>> rows = {
        {1, {5, 10, 3, 6, 10, 20, 7, 7}},
        {3, {9, 14, 5, 10, 20, 30, 7, 7}},
        {4, {10, 16, 6, 12, 25, 35, 7, 7}}, // the minimum 11 is held at the maximum 10 it had
        {0, {3, 8, 2, 4, 5, 15, 7, 7}}};
    for (const auto& [level, expected] : rows) {
        TModule_Trap_Group_Spec_Trap trap = read;
        Scale_Trap_To_Level(trap, level);
        EXPECT_EQ(Amounts(trap), expected) << level;
    }
    TModule_Trap_Group_Spec_Trap trap = read; // growth past the 32-bit range is held at its edge
    trap.Min_Amounts_Per_Level.Put(1, 65535);
    trap.Effects.Set_Amounts(2, 1000, 1000);
    trap.Max_Amounts_Per_Level.Put(2, 65535);
    Scale_Trap_To_Level(trap, 65535);
    const int32_t top = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(Amounts(trap),
              std::vector<int32_t>({10, 65535, top, 65534 * 2 + 6, 65534 * 500 + 1000, top, 7, 7}));
}

TEST_F(TrapGroupsTest, ShippedGroupsServeEveryTrappedTerrainAtAnyLevel) {
    const std::string shipped = std::string(MURK_SHIPPED_DATA_DIR) + "/";
    Set_Base_Folder(shipped);
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    ASSERT_TRUE(Path_Settings()->Set_Module("Barrowdeep/"));
    ASSERT_TRUE(Load_Display_Effects());
    ASSERT_TRUE(Load_Trap_Groups());
    std::set<std::string> names = {"Village Traps", "Barrow Traps"}; // the maps' own trap groups
    for (const char* file : {"Village_Terrain.txt", "Barrow_Terrain.txt"}) {
        TTerrain_List terrains;
        ASSERT_TRUE(terrains.Load_From_File(shipped + "Modules/Barrowdeep/Tiles/" + file));
        for (uint16_t id = 1; id <= terrains.Count(); ++id)
            if (!terrains.Terrain(id)->Trapped_Terrain_Group.empty())
                names.insert(terrains.Terrain(id)->Trapped_Terrain_Group);
    }
    ASSERT_GE(names.size(), 5u); // the two maps' own groups and at least three trapped terrain groups
    for (const std::string& name : names) {
        const TModule_Trap_Group* group = Find_Trap_Group(name);
        ASSERT_NE(group, nullptr) << name;
        int32_t effects = 0;
        for (const auto& read : group->Trap_Types) {
            effects += read->Effects.Get_Count();
            // A trap has no thrower a missile could fly from: its effect plays on the square.
            const TDisplay_Effect* fx = Get_Display_Effect(read->Damage.Firing_FX);
            EXPECT_TRUE(fx == nullptr || fx->Type == Display_Effect_Frames) << name;
            for (int32_t level : {0, 1, 10, 60}) {
                TModule_Trap_Group_Spec_Trap trap = *read;
                Scale_Trap_To_Level(trap, level);
                const std::vector<int32_t> row = Amounts(trap);
                for (size_t k = 0; k < row.size(); k += 2)
                    EXPECT_TRUE(row[k] >= 0 && row[k] <= row[k + 1]) << name << " level " << level;
            }
        }
        EXPECT_GT(effects, 0) << name;
    }
}

} // namespace
