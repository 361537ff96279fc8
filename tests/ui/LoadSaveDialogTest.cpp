// The load/save box over a game in play, driven by clicks and keys as the player does: choosing a slot,
// typing its description, OK and Cancel; what lands in the slot folders, the last saved slot in the options
// store, and the running game after a load, a failed save and a load of an empty slot.
#include "core/HeldItem.h"
#include "core/MachineOptions.h"
#include "media/Sounds.h"
#include "platform/RegistryStore.h"
#include "tests/core/SavedGameFixture.h"
#include "ui/DCDlgLoadSave.h"

#include <gtest/gtest.h>

namespace {

class TOwner : public TDisplay_Class {
public:
    TOwner() {
        Set_Position("Main Window", 0, 0, 800, 600, false);
        Set_Visible(true);
    }
    TDC_Dlg_Load_Save& Open(bool save) {
        Box = std::make_unique<TDC_Dlg_Load_Save>();
        if (save)
            Box->Set_Save_Mode();
        else
            Box->Set_Load_Mode();
        Box->Center_On_Screen("Save Game Dlg", true);
        Box->Set_Visible(true);
        Add_Child_Control(Box.get());
        return *Box;
    }
    void Kill_Child_Control(const std::string& name) override {
        if (name != "Save Game Dlg" || !Box) return;
        Succeeded.push_back(Box->Get_Succeeded());
        Box.reset();
    }
    std::unique_ptr<TDC_Dlg_Load_Save> Box;
    std::vector<bool> Succeeded; // one per close
};

class Load_Save_Box : public TSaved_Game_Fixture {
protected:
    void SetUp() override {
        TSaved_Game_Fixture::SetUp();
        auto store = std::make_unique<plat::TMemory_Registry_Store>();
        Store = store.get();
        plat::Install_Registry_Store(std::move(store));
        Audio = std::make_shared<plat::THeadless_Audio_Backend>();
        Install_Sounds(std::make_shared<TSounds>(Audio));
        Machine_Options() = TMachine_Options{};
        Machine_Options().Last_Saved_Game_Slot = 7;
        Save_Machine_Options();
    }
    void TearDown() override {
        Owner.Box.reset();
        Install_Sounds(nullptr);
        plat::Install_Registry_Store(nullptr);
        Machine_Options() = TMachine_Options{};
        TSaved_Game_Fixture::TearDown();
    }
    void Click(int32_t x, int32_t y) {
        Owner.MouseDown(0, 0, x, y);
        Owner.MouseUp(0, 0, x, y, false);
    }
    void Type(const std::string& keys) {
        for (const char c : keys) {
            uint16_t key = static_cast<uint16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            Owner.KeyDown(key, 0);
        }
    }
    // Slot n's toggle, on screen (the box is centred at 246, 95).
    static int32_t Slot_Y(int32_t n) { return 95 + 41 + 29 * n + 11; }
    void Choose(int32_t n) { Click(275, Slot_Y(n)); }
    void OK() { Click(443, 465); }
    // The last saved slot as the options store now holds it.
    int32_t Stored_Last_Slot() {
        Machine_Options() = TMachine_Options{};
        Load_Machine_Options();
        return Machine_Options().Last_Saved_Game_Slot;
    }
    static bool Carries(const TMonster& creature, const std::string& name) {
        for (int32_t slot = 1; slot <= 90; ++slot)
            if (const TItem* item = creature.Inventory.Item_In_Slot(slot); item && item->Name == name)
                return true;
        return false;
    }
    // A slot holding the game as it is now, under that description.
    void Prepare_Slot(int32_t n, const std::string& description) {
        ASSERT_TRUE(Save_Current_Game(description) && Store_Slot(n));
    }

    TOwner Owner;
    plat::TMemory_Registry_Store* Store = nullptr;
    std::shared_ptr<plat::THeadless_Audio_Backend> Audio;
};

TEST_F(Load_Save_Box, SlotsShowTheirDescriptionsAndOneIsChosenAtATime) {
    Prepare_Slot(2, "At the gate");
    for (const bool save : {true, false}) {
        SCOPED_TRACE(save ? "save" : "load");
        TDC_Dlg_Load_Save& box = Owner.Open(save);
        EXPECT_EQ(
            std::vector<int32_t>({box.Left, box.Top, box.Slot_Toggle(1).Left, box.Slot_Toggle(1).Top,
                                  box.Slot_Field(10).Left, box.Slot_Field(10).Top, box.Slot_Field(10).Width,
                                  box.Slot_Field(10).Height, box.OK_Button.Left, box.Cancel_Button.Left}),
            std::vector<int32_t>({246, 95, 264, 165, 300, 430, 219, 17, 418, 471}));
        EXPECT_EQ(box.Slot_Field(2).Text, "At the gate");
        EXPECT_EQ(box.Slot_Field(3).Text, "");
        for (const int32_t chosen : {3, 2, 2}) {
            Choose(chosen);
            for (int32_t n = 1; n <= 10; ++n) {
                SCOPED_TRACE(n);
                const bool on = n == chosen;
                EXPECT_EQ(box.Slot_Toggle(n).Is_On(), on);
                // Only the chosen slot of a save may be typed into; in load mode every field stays shut.
                EXPECT_EQ(box.Slot_Field(n).Enabled, on && save);
                EXPECT_EQ(box.Slot_Field(n).Text_Red, on ? 255 : 150);
            }
        }
        uint16_t escape = 27;
        Owner.KeyDown(escape, 0);
    }
    EXPECT_EQ(Owner.Succeeded, std::vector<bool>({false, false}));
}

TEST_F(Load_Save_Box, ASaveWritesTheTypedDescriptionIntoTheSlotAndRemembersTheSlot) {
    TDC_Dlg_Load_Save& box = Owner.Open(true);
    // The held item goes back to the player before the save, so the slot's game has it.
    Set_Held_Item(Add_Item("ring"));
    Choose(4);
    box.Slot_Field(4).Text.clear();
    Type("gate 2");
    OK();
    EXPECT_EQ(Owner.Succeeded, std::vector<bool>({true}));
    EXPECT_EQ(Read_Save_Description(Folder.File("Savegames/slot04")), "gate 2");
    EXPECT_TRUE(Same_Files(Files("Savegames/slot04"), Files("CurrGame")));
    EXPECT_EQ(Files("Savegames/slot04").size(), 4u);
    EXPECT_EQ(Machine_Options().Last_Saved_Game_Slot, 4);
    EXPECT_EQ(Stored_Last_Slot(), 4);
    EXPECT_FALSE(Is_Holding_Item());
    EXPECT_TRUE(Carries(*Hero, "ring"));
    EXPECT_TRUE(Messages->Messages.empty());
}

TEST_F(Load_Save_Box, AFailedSaveKeepsTheSlotTheLastSlotAndTheBoxOpen) {
    Prepare_Slot(4, "Older game");
    const TFiles slot = Files("Savegames/slot04");
    struct TCase {
        const char* What;
        plat::TWrite_Fault Fault;
    } cases[] = {
        {"the map file", {"CurrGame/1.map", plat::TWrite_Step::Write, 10}},
        {"the game file", {"CurrGame/game.id", plat::TWrite_Step::Rename, 0}},
        {"the copy into the slot", {"slot04.tmp/2.map", plat::TWrite_Step::Write, 0}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Owner.Succeeded.clear();
        Messages->Messages.clear();
        TDC_Dlg_Load_Save& box = Owner.Open(true);
        Hero->Move_To(30, 31);
        Choose(4);
        box.Slot_Field(4).Text = "Newer game";
        plat::Set_Write_Fault(t.Fault);
        OK();
        plat::Set_Write_Fault(std::nullopt);
        EXPECT_TRUE(Owner.Succeeded.empty());
        ASSERT_TRUE(Owner.Box);
        EXPECT_FALSE(box.Succeeded);
        EXPECT_TRUE(Same_Files(Files("Savegames/slot04"), slot));
        EXPECT_EQ(Stored_Last_Slot(), 7);
        EXPECT_FALSE(Messages->Messages.empty());
        Click(490, 465); // Cancel
        EXPECT_EQ(Owner.Succeeded, std::vector<bool>({false}));
    }
}

TEST_F(Load_Save_Box, ALoadRestoresTheSlotsGameAndAnEmptySlotKeepsTheRunningOne) {
    Prepare_Slot(3, "Start");
    const std::string saved = Game_In_Memory();
    Hero->Move_To(40, 41);
    Set_Held_Item(Add_Item("ring"));

    Create_Game_Settings().Allow_Music = true;
    ::Sounds().Sound_Intialize_Sound_System();
    Folder.Write("Music/tune2.mid", "music");
    const auto music_opened = [this] {
        std::vector<std::string> opened;
        for (const std::string& call : Audio->Calls)
            if (call.rfind("music open", 0) == 0) opened.push_back(call);
        return opened;
    };
    TDC_Dlg_Load_Save& box = Owner.Open(false);
    // OK without a chosen slot does nothing; an empty slot fails and leaves everything as it was.
    OK();
    EXPECT_TRUE(Owner.Box);
    EXPECT_TRUE(Messages->Messages.empty());
    Choose(5);
    OK();
    ASSERT_TRUE(Owner.Box);
    EXPECT_FALSE(box.Succeeded);
    ASSERT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(Messages->Messages[0].Caption, "Ошибка");
    EXPECT_EQ(Player(), Hero);
    EXPECT_EQ(Hero->X, 40);
    // The ring went back to the hero before the load was tried, and stays his.
    EXPECT_FALSE(Is_Holding_Item());
    EXPECT_TRUE(Carries(*Hero, "ring"));
    EXPECT_TRUE(music_opened().empty());

    Choose(3);
    OK();
    EXPECT_EQ(Owner.Succeeded, std::vector<bool>({true}));
    EXPECT_TRUE(Same_Bytes(Game_In_Memory(), saved));
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->X, 5);
    // The loaded game's current map is map 2, and its music plays.
    EXPECT_EQ(music_opened(), std::vector<std::string>{"music open " + Folder.File("Music/tune2.mid")});
    EXPECT_EQ(Stored_Last_Slot(), 7) << "a load is not a save";
}

} // namespace
