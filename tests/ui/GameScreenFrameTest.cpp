// The whole game screen with the game's own pictures: the interface picture, a room of the barrow around
// the hero with items and creatures, the status panel of a wounded, poisoned hero with a potion in his
// left hand, a creature described in the information panel and the pause text. Compared with its
// reference by block means; see FrameReference.h for looking at a new frame and rebaselining.
#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/Item.h"
#include "core/Monster.h"
#include "media/DisplayFont.h"
#include "tests/media/DisplayFixture.h"
#include "tests/support/FrameReference.h"
#include "ui/DCGameScreen.h"

#include <string>

namespace {

class Game_Screen_Frame : public TDisplay_Test {
protected:
    std::string Program_Folder() const override { return MURK_RUNTIME_DIR; }
    void TearDown() override {
        TDisplay_Object::Release_Buffer(View.Screen_Buffer);
        Free_Game_Options();
        Free_External_Resources();
        TDisplay_Test::TearDown();
    }

    uint16_t Kind(const std::string& name) {
        for (int32_t id = 1; id <= Map->Terrain_List.Count(); ++id)
            if (const TTerrain* t = Map->Terrain_List.Terrain(id); t && t->Name == name)
                return static_cast<uint16_t>(id);
        ADD_FAILURE() << "no terrain " << name;
        return 0;
    }
    TItem* New_Item(const std::string& name, const std::string& picture, uint16_t quantity) {
        TItem item;
        item.Name = name;
        item.Picture = picture;
        item.Quantity = quantity;
        return Map->Item_List.Item(Map->Item_List.Add(&item));
    }
    TMonster* Creature(int32_t x, int32_t y, const std::string& name, const std::string& picture) {
        TMonster creature;
        creature.Name = name;
        creature.Set_Pictures(picture, "");
        creature.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        TMonster* stored = Map->Monster_List.Add_Monster(creature);
        Map->Place_Monster(*stored);
        return stored;
    }

    void Build_Map() {
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Map->Universal_Light = true;
        ASSERT_TRUE(Map->Terrain_List.Load_From_File(std::string(MURK_RUNTIME_DIR) +
                                                     "/Modules/Barrowdeep/Tiles/Barrow_Terrain.txt"));
        for (int32_t x = 86; x <= 114; ++x)
            for (int32_t y = 86; y <= 114; ++y)
                Map->Get_Square(x, y)->Terrain_Id =
                    Kind((x * y) % 7 == 0 ? "Mossy Flagstones" : "Flagstone Floor");
        for (int32_t k = 96; k <= 104; ++k) {
            Map->Get_Square(k, 96)->Terrain_Id = Kind("Dressed Stone Wall (East-West)");
            Map->Get_Square(96, k)->Terrain_Id = Kind("Dressed Stone Wall (North-South)");
        }
        Map->Get_Square(96, 96)->Terrain_Id = Kind("Dressed Stone Wall (Corner East-South)");
        Map->Get_Square(100, 96)->Terrain_Id = Kind("Wooden Door (NS, Open)");
        Map->Get_Square(101, 102)->Drop_Item(New_Item("Gold", "Gold_Medium.bmp", 40));
        Map->Get_Square(98, 101)->Drop_Item(New_Item("Sword", "Long_Sword.bmp", 1));

        Hero = Creature(100, 100, "Bjorn", "HumanFighter1.bmp");
        Set_Player(Hero);
        Hero->Class_Name = "Fighter";
        Hero->Level = 4;
        Hero->Experience = 5230;
        Hero->Gold = 1250;
        Hero->Life = 27;
        Hero->Max_Life = 40;
        Hero->Mana = 8;
        Hero->Max_Mana = 20;
        Hero->Food = 700;
        Hero->Max_Food = 1000;
        Hero->Weight = 35;
        Hero->Max_Weight = 120;
        Hero->Status = Status_Poisoned;
        ASSERT_TRUE(Hero->Inventory.Put_In_Slot(New_Item("Healing Potion", "Health_Potion.bmp", 3), 6));
        TMonster* skeleton = Creature(102, 101, "Скелет", "Skeleton.bmp");
        skeleton->Description = "Древние кости покрыты инеем.";
        skeleton->Level = 6;
        skeleton->Life = 14;
        skeleton->Max_Life = 22;
        Creature(99, 98, "Крыса", "Barrow_Rat.bmp");
        View.Subject.Kind = 2;
        View.Subject.Creature_Id = skeleton->Id;
    }

    TMap* Map = nullptr;
    TMonster* Hero = nullptr;
    TGame_Screen_View View;
};

TEST_F(Game_Screen_Frame, MatchesItsReference) {
    Start(32);
    ASSERT_TRUE(Load_Display_Effects());
    Load_External_Resources();
    Create_Game_Options();
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    Build_Map();
    ASSERT_TRUE(display.Load_Map_Bitmaps(*Map));
    ASSERT_TRUE(display.Load_Picture_Buffer("TDC_Main", Path_Settings()->Get_MainUI_Bitmap(), 800, 600,
                                            View.Screen_Buffer));
    View.User_Pause = View.Blink = true;
    Draw_Game_Screen(0, View);
    EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
    TFrame frame;
    ASSERT_TRUE(Read_Buffer_Frame(0, frame));
    EXPECT_TRUE(Matches_Reference(frame, "game_screen"));
}

// The held item over an equipment slot that refuses it: the slot's refused marker, the item hanging on the
// pointer as the main window draws it, and the information panel describing it with its unmet requirement.
TEST_F(Game_Screen_Frame, AHeldItemOverARefusedSlotMatchesItsReference) {
    Start(32);
    ASSERT_TRUE(Load_Display_Effects());
    Load_External_Resources();
    Create_Game_Options();
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    Build_Map();
    TItem* sword = New_Item("Двуручный меч", "Long_Sword.bmp", 1);
    sword->Damage.Min = 9;
    sword->Damage.Max = 21;
    sword->Requirements.Types.Add(Requirement_Strength);
    sword->Requirements.Amounts.Add(60);
    sword->Requirements.Per_Level_Kinds.Add(Amount_Number);
    sword->Requirements.Per_Level_Amounts.Add(0);
    // In the map's item list before its pictures are loaded, as every held item is.
    ASSERT_TRUE(display.Load_Map_Bitmaps(*Map));
    ASSERT_TRUE(display.Load_Picture_Buffer("TDC_Main", Path_Settings()->Get_MainUI_Bitmap(), 800, 600,
                                            View.Screen_Buffer));
    const int32_t slot = 3;
    View.Invalid_Slot = slot;
    View.Subject.Kind = 1;
    View.Subject.Item_Id = sword->Id;
    Draw_Game_Screen(0, View);
    int32_t x = 0, y = 0;
    Get_Equipment_Slot_Position(slot, x, y);
    sword->Draw(0, x + 4, false, y + 4);
    EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
    TFrame frame;
    ASSERT_TRUE(Read_Buffer_Frame(0, frame));
    EXPECT_TRUE(Matches_Reference(frame, "game_input"));
}

} // namespace
