// The shipped item classes, modifiers and unique names load without an error line in both profiles, and the
// names other files rely on resolve: starting items, terrain key groups, scroll spells, ammunition, gold.
#include "core/CharClass.h"
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/Path.h"
#include "core/Profile.h"
#include "core/Spells.h"
#include "core/Terrain.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassUniqueNames.h"
#include "tests/support/CoreTestSupport.h"

#include <set>
#include <string>

using ShippedItemClasses = TProgram_Folder_Test;

TEST_F(ShippedItemClasses, LoadAndResolveTheirNames) {
    const std::string shipped = std::string(MURK_SHIPPED_DATA_DIR) + "/";
    const std::string module = shipped + "Modules/Barrowdeep/";
    Set_Base_Folder(shipped); // only read; the fixture puts the base back
    ASSERT_TRUE(Load_Display_Effects() && Load_Master_Spells() && Load_Class_Info());
    std::set<std::string> spells;
    for (int32_t s = 1; s <= Master_Spell_Count(); ++s) spells.insert(Get_Master_Spell(s)->Name);

    for (TRun_Profile profile : {TRun_Profile::Game, TRun_Profile::Tool}) {
        Set_Run_Profile(profile);
        EXPECT_TRUE(Load_Item_Modifiers(module + "Data/ItemModifiers.txt"));
        EXPECT_TRUE(Load_Unique_Names(module + "Data/UniqueItemNames.txt"));
        EXPECT_GT(Item_Modifier_Count() * Unique_Names_Count() * Item_Value_Amount_Multiplier(), 0);
        for (const std::string map : {"", "Village", "Barrow"}) {
            const std::string file = map.empty() ? shipped + "Data/Classes_ItemClasses.txt"
                                                 : module + "Tiles/" + map + "_ItemClasses.txt";
            TItem_Class_List list;
            TString_List errors;
            EXPECT_TRUE(list.Load_From_File(file, &errors))
                << file << ": " << (errors.empty() ? "" : errors[0]);
            std::set<std::string> ammo, keys;
            for (int32_t n = 1; n <= list.Get_Count(); ++n) {
                ammo.insert(list.Get_Class(n)->Ammo_Type);
                keys.insert(list.Get_Class(n)->Key_Group);
            }
            for (int32_t n = 1; n <= list.Get_Count(); ++n) {
                const TItem_Class& c = *list.Get_Class(n);
                for (const std::string& spell : c.Spell_Names) EXPECT_TRUE(spells.count(spell)) << spell;
                EXPECT_TRUE(ammo.count(c.Ammo_Required)) << c.Class_Name << " fires what no class is";
            }
            if (map.empty()) { // a new character's starting items, picked with the filter "None"
                for (int32_t n = 1; n <= Class_Count(); ++n)
                    for (const std::string& name : Get_Class(n)->Starting_Items)
                        EXPECT_NE(list.Pick_Random_Class(name, "None"), nullptr) << name;
                continue;
            }
            // Creatures drop gold by these names, in stacks of whatever size they roll.
            for (const std::string gold : {"Small Gold Stack", "Medium Gold Stack", "Large Gold Stack"}) {
                const TItem_Class* c = list.Pick_Random_Class(gold, "all");
                ASSERT_NE(c, nullptr) << map << " " << gold;
                EXPECT_EQ(c->Item_Type, Item_Type_Gold);
                EXPECT_TRUE(c->Random_Min_Found > 0 && c->Random_Max_Found >= c->Random_Min_Found);
                EXPECT_GE(c->Maximum_Stacked, 10000);
            }
            // Every key group the map's terrain locks with is opened by a key of the map.
            TTerrain_List terrain;
            ASSERT_TRUE(terrain.Load_From_File(module + "Tiles/" + map + "_Terrain.txt"));
            for (int32_t id = 1; id <= terrain.Count(); ++id)
                for (const std::string& key : terrain.Terrain(id)->Locked_Key_Groups)
                    EXPECT_TRUE(keys.count(key)) << map << ": no key for " << key;
        }
    }
    Free_Item_Modifiers();
    Free_Unique_Names();
    Free_Master_Spells();
    Free_Class_Info();
    Free_Display_Effects();
}
