// The backpack and statistics windows at their places on a black page, drawn with the game's own pictures
// and the headless fixed-metric font, compared with their reference pictures by block means; see
// FrameReference.h for looking at a new frame and rebaselining.
#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "media/FrameDump.h"
#include "tests/support/FrameReference.h"
#include "tests/ui/UiFixture.h"
#include "ui/DCWinInventory.h"
#include "ui/DCWinStats.h"

#include <memory>
#include <string>

namespace {

class Game_Window_Frames : public TUi_Test {
protected:
    std::string Program_Folder() const override { return MURK_RUNTIME_DIR; }
    void TearDown() override {
        Set_Held_Item_Id(0);
        TUi_Test::TearDown();
    }

    TItem* New_Item(const std::string& name, const std::string& picture, uint16_t quantity) {
        TItem item;
        item.Name = name;
        item.Class_Name = name;
        item.Picture = picture;
        item.Quantity = quantity;
        return Map->Item_List.Item(Map->Item_List.Add(&item));
    }
    void Build_World() {
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        TMonster creature;
        creature.Name = "Bjorn";
        creature.Set_Position(100, 100);
        Hero = Map->Monster_List.Add_Monster(creature);
        Set_Player(Hero);
        const struct {
            const char *Name, *Picture;
            uint16_t Quantity;
            int32_t Slot;
        } carried[] = {
            {"Long Sword", "Long_Sword.bmp", 1, 11}, {"Healing Potion", "Health_Potion.bmp", 3, 12},
            {"Arrows", "Arrows.bmp", 18, 16},        {"Iron Helm", "Iron_Helm.bmp", 1, 21},
            {"Bread", "Bread.bmp", 2, 27},           {"Copper Ring", "Copper_Ring.bmp", 1, 30},
            {"Dagger", "Dagger.bmp", 1, 31}, // the second tab: not shown
        };
        for (const auto& c : carried)
            ASSERT_TRUE(Hero->Put_Item_In_Slot(New_Item(c.Name, c.Picture, c.Quantity), c.Slot));
        // A glyph the hero is too weak for, held over the empty slot 13.
        TItem* glyph = New_Item("Glyph", "Bone_Charm.bmp", 1);
        glyph->Item_Type = 23;
        glyph->Requirements.Types.Add(Requirement_Strength);
        glyph->Requirements.Amounts.Add(30);
        glyph->Requirements.Per_Level_Kinds.Add(Amount_Number);
        glyph->Requirements.Per_Level_Amounts.Add(0);
        Set_Held_Item(glyph);
        Hero->Strength = 17;
        Hero->Intelligence = 9;
        Hero->Dexterity = 14;
        Hero->Constitution = 12;
        Hero->Level = 3;
        Hero->Attack = 44;
        Hero->Defense = 31;
        Hero->Fire_Resist = 25;
        Hero->Cold_Resist = 10;
        Hero->Lightning_Resist = 5;
        Hero->Magic_Resist = 0;
        Hero->Poison_Resist = 60;
    }
    ::testing::AssertionResult Frame_Matches(TDisplay_Class& window, const std::string& name) {
        Clear_Page();
        window.Draw(0);
        TFrame frame;
        if (!Read_Buffer_Frame(0, frame)) return ::testing::AssertionFailure() << "no page";
        return Matches_Reference(frame, name);
    }

    TMap* Map = nullptr;
    TMonster* Hero = nullptr;
};

TEST_F(Game_Window_Frames, EachWindowMatchesItsReference) {
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    Build_World();
    ASSERT_TRUE(display.Load_Map_Bitmaps(*Map));
    {
        TDC_Win_Inventory inventory;
        inventory.Set_Position_At("Win Inventory", 0, 224, false);
        inventory.Set_Visible(true);
        inventory.Handle_MouseMove(0, 110, 260); // over slot 13
        ASSERT_EQ(inventory.Refused_Slot(), 13);
        EXPECT_TRUE(Frame_Matches(inventory, "win_inventory"));
    }
    {
        TDC_Win_Stats stats;
        stats.Set_Position_At("Win Stats", 195, 147, false);
        stats.Set_Visible(true);
        EXPECT_TRUE(Frame_Matches(stats, "win_stats"));
    }
    EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
}

} // namespace
