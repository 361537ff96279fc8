// The shipped content the world's fights rely on: a trap group for every group a terrain, chance group or
// map names, read without an error line; a picture for each of the eight directions of every missile
// effect; bows that shoot farther than a blow, with ammunition their map has; merchants that stay where
// their store is; and a file in the program folder for every sound the engine or the data plays.
#include "core/DataFileParser.h"
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "core/Terrain.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassMonster.h"
#include "generation/RndClassTrapGroups.h"
#include "tests/support/CoreTestSupport.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

bool Ends_With(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Ammunition kinds and weapon types compare trimmed and ignoring letter case, as the inventory does.
std::string Kind(const std::string& text) {
    return Ascii_Lower(Trim_Data(text));
}

using ShippedWorldContent = TProgram_Folder_Test;

} // namespace

TEST_F(ShippedWorldContent, TrapsMissilesBowsMerchantsAndSounds) {
    const std::string shipped = std::string(MURK_RUNTIME_DIR) + "/"; // the program folder the build assembles
    const std::string module = shipped + "Modules/Barrowdeep/";
    Set_Base_Folder(shipped); // only read; the fixture puts the base back
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    ASSERT_TRUE(Path_Settings()->Set_Module("Barrowdeep/"));
    ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells());
    std::set<std::string> sounds = {"chardie2.wav", "itempick.wav", "use_key.wav", "shovel.wav",
                                    "unlock.wav",   "doorbash.wav", "punch.wav",   "eat.wav",
                                    "drink.wav",    "newlevel.wav"};
    for (int miss = 1; miss <= 7; ++miss) sounds.insert("miss_0" + std::to_string(miss) + ".wav");
    for (const char* impact :
         {"chain", "plate", "leth_", "wood_", "cloth", "cold_", "fire_", "lit_", "mag_", "pois_"})
        for (const char* severity : {"min", "med", "maj"})
            sounds.insert(std::string(impact) + severity + ".wav");
    for (int32_t s = 1; s <= Master_Spell_Count(); ++s) sounds.insert(Get_Master_Spell(s)->Cast_Sound);

    // A missile shows frame n when it flies in direction n.
    for (int32_t e = 1; e <= Display_Effect_Count(); ++e) {
        const TDisplay_Effect& effect = *Get_Display_Effect(e);
        if (effect.Type == Display_Effect_Directional) {
            EXPECT_GE(effect.Total_Frames, 8) << effect.Name;
        }
    }

    // Trap groups: every name a terrain, a chance group or a map gives has a group with trap types, and the
    // file reads without an error line (an unusable per-level kind, a firing effect the table lacks).
    EXPECT_TRUE(Load_Trap_Groups());
    EXPECT_TRUE(Messages->Error_Lists.empty()) << Messages->Error_Lists.front().List.front();
    std::set<std::string> groups = {"Village Traps", "Barrow Traps"};
    for (const std::string map : {"Village", "Barrow"}) {
        TTerrain_List terrains;
        ASSERT_TRUE(terrains.Load_From_File(module + "Tiles/" + map + "_Terrain.txt"));
        for (uint16_t id = 1; id <= terrains.Count(); ++id) {
            if (!terrains.Terrain(id)->Trapped_Terrain_Group.empty())
                groups.insert(terrains.Terrain(id)->Trapped_Terrain_Group);
            sounds.insert(terrains.Terrain(id)->Next_Terrain_Sound);
        }
    }
    for (const char* file : {"Data/ChanceGroups.txt", "Data/ModuleData.txt"}) {
        if (!std::filesystem::exists(module + file)) continue;
        TField_Collector collector(module + file);
        collector.Execute_Load();
        for (const TData_Field& field : collector.Fields)
            if (Ends_With(field.Name, "Trap Group Name") ||
                (field.Name.rfind("Trapped Terrain Group", 0) == 0 && Ends_With(field.Name, " Name")))
                if (!Trim_Data(field.Value).empty()) groups.insert(Trim_Data(field.Value));
    }
    for (const std::string& name : groups) {
        const TModule_Trap_Group* group = Find_Trap_Group(name);
        EXPECT_TRUE(group && !group->Trap_Types.empty()) << "no traps for " << name;
    }

    // Bows shoot farther than a blow, ammunition of their map; merchants keep to their store's square.
    for (const std::string map : {"", "Village", "Barrow"}) {
        TItem_Class_List items;
        ASSERT_TRUE(items.Load_From_File(map.empty() ? shipped + "Data/Classes_ItemClasses.txt"
                                                     : module + "Tiles/" + map + "_ItemClasses.txt"));
        std::set<std::string> ammunition;
        for (int32_t n = 1; n <= items.Get_Count(); ++n) {
            ammunition.insert(Kind(items.Get_Class(n)->Ammo_Type));
            sounds.insert(items.Get_Class(n)->Use_Sound_File);
        }
        int bows = 0;
        for (int32_t n = 1; n <= items.Get_Count(); ++n) {
            const TItem_Class& c = *items.Get_Class(n);
            const std::string needs = Kind(c.Ammo_Required);
            const bool shoots = !needs.empty() && needs != "none";
            if (!shoots && Kind(c.Weapon_Type) != "bow") continue;
            ++bows;
            EXPECT_TRUE(shoots) << map << " " << c.Class_Name << " needs no ammunition";
            EXPECT_GT(int{c.Damage.Range}, 1) << map << " " << c.Class_Name;
            EXPECT_TRUE(ammunition.count(needs)) << map << " " << c.Class_Name << " fires what no class is";
        }
        EXPECT_GT(bows, 0) << map;

        TMonster_Class_List monsters;
        ASSERT_TRUE(monsters.Load_From_File(map.empty() ? shipped + "Data/Summon_MonsterClasses.txt"
                                                        : module + "Tiles/" + map + "_MonsterClasses.txt",
                                            nullptr, true));
        for (int32_t n = 1; n <= monsters.Get_Count(); ++n) {
            const TMonster_Class& c = *monsters.Get_Class(n);
            if (c.Store_Id != 0) {
                EXPECT_EQ(int{c.Movement_Strategy}, int{Strategy_Stay_Put}) << c.Name;
            }
            sounds.insert({c.Sound_Death, c.Sound_Attack, c.Sound_Growl});
        }
    }

    // Every one is in the program folder's sounds (the path layer finds them whatever their letter case).
    sounds.erase("");
    EXPECT_GT(sounds.size(), 60u);
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(shipped + "Sounds"))
        present.insert(Ascii_Lower(entry.path().filename().string()));
    for (const std::string& sound : sounds) EXPECT_TRUE(present.count(Ascii_Lower(sound))) << sound;

    Free_Trap_Groups();
    Free_Master_Spells();
    Free_Display_Effects();
}
