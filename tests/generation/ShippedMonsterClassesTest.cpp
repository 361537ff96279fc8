// The shipped monster classes load without an error line in both profiles, make sound creatures at every
// level and difficulty, and name only what exists: spells, speeds, summoned creatures and carried item
// classes, those of the maps' random items carried included.
#include "core/DisplayEffects.h"
#include "core/Effects.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/NameTables.h"
#include "core/Profile.h"
#include "core/Spells.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "tests/support/CoreTestSupport.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Every record of a file as its fields, for files whose loaders come later.
class TRecord_Collector : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;
    std::vector<std::map<std::string, std::string>> Records;

protected:
    void Process_Record(int32_t) override {
        Records.emplace_back();
        for (const TData_Field& field : Current_Fields()) Records.back()[field.Name] = field.Value;
    }
};

using ShippedMonsterClasses = TProgram_Folder_Test;

} // namespace

TEST_F(ShippedMonsterClasses, LoadMakeSoundCreaturesAndResolveTheirNames) {
    // The program folder the build assembles: the shipped data and the sounds made for it.
    const std::string shipped = std::string(MURK_RUNTIME_DIR) + "/";
    const std::string module = shipped + "Modules/Barrowdeep/";
    Set_Base_Folder(shipped); // only read; the fixture puts the base back
    ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells());
    Install_Current_Map(std::make_unique<TMap>());
    Create_Game_Options();

    for (const std::string map : {"", "Village", "Barrow"}) {
        const std::string file = map.empty() ? shipped + "Data/Summon_MonsterClasses.txt"
                                             : module + "Tiles/" + map + "_MonsterClasses.txt";
        TMonster_Class_List list;
        const TCurrent_Monster_Class_List_Guard current(list);
        for (TRun_Profile profile : {TRun_Profile::Game, TRun_Profile::Tool}) {
            Set_Run_Profile(profile);
            TMonster_Class_List again;
            TString_List errors;
            EXPECT_TRUE(again.Load_From_File(file, &errors, false)) // every sound named is there
                << file << ": " << (errors.empty() ? "" : errors[0]);
        }
        Set_Run_Profile(TRun_Profile::Game);
        ASSERT_TRUE(list.Load_From_File(file, nullptr, false));
        TItem_Class_List items;
        if (!map.empty()) {
            ASSERT_TRUE(items.Load_From_File(module + "Tiles/" + map + "_ItemClasses.txt"));
        }
        const TCurrent_Item_Class_List_Guard current_items(items);

        std::set<std::string> speeds;
        for (const TMonster_Named_Amount& speed : list.Movement_Speeds) speeds.insert(speed.Name);
        int hostile = 0, casters = 0;
        std::set<std::string> lit; // classes whose creatures give light of their own
        for (int32_t n = 1; n <= list.Get_Count(); ++n) {
            // A creature's light comes from its effects and the items in its hands; the recalculation
            // replaces whatever the class key gave, so a lit class carries a "Light Radius" effect.
            const TMonster_Class& c = *list.Get_Class(n);
            EXPECT_EQ(c.Light_Radius, 0) << c.Name << ": light that every creature of the class loses";
            Game_Options()->Difficulty = 2;
            const TMonster* m = Current_Map()->Monster_List.Get_Monster(
                Create_Monster_From_Class(&c, 20, 20, 1, 1, 1, 1, "all", 0));
            ASSERT_NE(m, nullptr);
            const int32_t light = c.Effects.Total_Amount(Effect_Light_Radius);
            EXPECT_GE(m->Light_Radius, light) << c.Name;
            if (light > 0) lit.insert(c.Name);
        }
        if (map == "Barrow") {
            EXPECT_EQ(lit, (std::set<std::string>{"Barrow Wight", "Barrow Priest", "Barrow King"}));
        }
        for (int32_t n = 1; n <= list.Get_Count(); ++n) {
            const TMonster_Class& c = *list.Get_Class(n);
            EXPECT_FALSE(c.Picture_File.empty() || c.Attack_Picture_File.empty()) << c.Name;
            EXPECT_GT(c.Natural_Attacks.Get_Count(), 0) << c.Name;
            EXPECT_TRUE(speeds.count(c.Movement_Speed)) << c.Name << ": unknown speed " << c.Movement_Speed;
            for (const TMonster_Items_Carried& item : c.Items_Carried)
                EXPECT_NE(items.Pick_Random_Class(item.Item_Class_Name, "all"), nullptr)
                    << c.Name << " carries what " << map << " has not: " << item.Item_Class_Name;
            hostile += c.Does_Attack;
            casters += c.Spells.Count() > 0;
            // Every level the map uses, at every difficulty: living creatures that move and hit.
            for (uint8_t difficulty = 1; difficulty <= 4; ++difficulty) {
                Game_Options()->Difficulty = difficulty;
                for (int level = 1; level <= 10; ++level) {
                    const TMonster* m = Current_Map()->Monster_List.Get_Monster(
                        Create_Monster_From_Class(&c, 20, 20, level, level, level, level, "all", 100));
                    ASSERT_NE(m, nullptr);
                    EXPECT_TRUE(m->Life > 0 && m->Max_Life > 0 && m->Move_Delay > 0 && m->Attack > 0)
                        << c.Name << " at level " << level;
                    for (int32_t a = 1; a <= m->Natural_Attacks.Get_Count(); ++a)
                        EXPECT_LE(m->Natural_Attacks.Get_Damage(a)->Min,
                                  m->Natural_Attacks.Get_Damage(a)->Max);
                }
            }
        }
        if (map.empty()) { // summoning: one class per summoned name, no items, no gold
            for (int32_t s = 1; s <= Master_Spell_Count(); ++s) {
                const std::string& name = Get_Master_Spell(s)->Summon_Name;
                if (!name.empty() && name != "None") {
                    EXPECT_NE(list.Pick_Random_Class(name, "all"), nullptr) << name;
                }
            }
            EXPECT_EQ(list.Constants.Gold_Chance_Per_Level, 0);
            for (int32_t n = 1; n <= list.Get_Count(); ++n)
                EXPECT_EQ(list.Get_Class(n)->Get_Items_Carried_Count(), 0);
        } else if (map == "Village") { // the smith keeps store 1 where he stands; the elder talks
            const TMonster_Class* smith = list.Pick_Random_Class("Village Smith", "all");
            const TMonster_Class* elder = list.Pick_Random_Class("Village Elder", "all");
            ASSERT_TRUE(smith && elder);
            EXPECT_EQ(smith->Store_Id, 1);
            EXPECT_EQ(smith->Movement_Strategy, Strategy_Stay_Put);
            EXPECT_FALSE(elder->Talk_Topics.empty() || elder->Does_Attack);
        } else {
            EXPECT_GE(hostile, 10);
            EXPECT_GE(casters, 2);
        }

        // The random items carried of the map name its item classes.
        if (map.empty()) continue;
        TRecord_Collector carried(module + "Tiles/" + map + "_RandomItemsCarried.txt");
        carried.Execute_Load();
        EXPECT_TRUE(carried.Get_Error_List().empty());
        EXPECT_FALSE(carried.Records.empty());
        for (auto& record : carried.Records) {
            const int count = Str_To_Word(record["Number Of Possible Item Classes"]);
            EXPECT_GT(count, 0);
            EXPECT_TRUE(record.count("Item Base Chance") && record.count("Item Chance Per Monster Level"));
            for (int i = 1; i <= count; ++i) {
                const std::string name = record["Item Class " + std::to_string(i) + " Name"];
                EXPECT_NE(items.Pick_Random_Class(name, "all"), nullptr) << map << ": " << name;
            }
        }
    }

    Free_Game_Options();
    Install_Current_Map(nullptr);
    Free_Master_Spells();
    Free_Display_Effects();
}
