// The dialog factory over the running headless game: which kinds are made as their real dialogs and which
// are still stand-ins (each of the size its kind names), and that what the controller gives a dialog and
// reads back goes through the factory to the real dialog.
#include "core/Path.h"
#include "platform/DisplayBackend.h"
#include "tests/ui/GameRootFixture.h"
#include "ui/DCDlgChest.h"
#include "ui/DCDlgConversation.h"
#include "ui/DCDlgDead.h"
#include "ui/DCDlgDifficulty.h"
#include "ui/DCDlgGameMenu.h"
#include "ui/DCDlgGiveItem.h"
#include "ui/DCDlgLoadSave.h"
#include "ui/DCDlgProgress.h"
#include "ui/DCDlgSelectModule.h"
#include "ui/DCDlgStore.h"
#include "ui/DCList.h"
#include "ui/DCWinInventory.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

namespace {

class DialogFactory : public TGame_Root_Test {
protected:
    void SetUp() override {
        Real_Dialogs = true;
        TGame_Root_Test::SetUp();
        Start_To_Menu();
        ASSERT_NE(Root, nullptr);
    }
    std::unique_ptr<TDisplay_Class> Make(TDialog_Kind kind) {
        return std::unique_ptr<TDisplay_Class>(Root->Factory().Create(kind));
    }
};

TEST_F(DialogFactory, BuiltKindsAreRealDialogsAndTheRestStandInsOfTheirSize) {
    const std::set<TDialog_Kind> real = {
        TDialog_Kind::Intro,
        TDialog_Kind::Menu,
        TDialog_Kind::Select_Module,
        TDialog_Kind::Difficulty,
        TDialog_Kind::Select_Character,
        TDialog_Kind::Progress,
        TDialog_Kind::Game_Menu,
        TDialog_Kind::Load_Save,
        TDialog_Kind::Options,
        TDialog_Kind::High_Scores,
        TDialog_Kind::Dead,
        TDialog_Kind::Talk,
        TDialog_Kind::Store,
        TDialog_Kind::Conversation,
        TDialog_Kind::Chest,
        TDialog_Kind::Give_Item,
        TDialog_Kind::MapGen,
        TDialog_Kind::TileGen,
        TDialog_Kind::Win_Inventory,
        TDialog_Kind::Win_Stats,
        TDialog_Kind::Statistics,
        TDialog_Kind::Spells_Add,
        TDialog_Kind::Spells_Select,
        TDialog_Kind::Quests,
        TDialog_Kind::Overview_Map,
        TDialog_Kind::Module_Text,
    };
    for (const TDialog_Spec& spec : Dialog_Specs()) {
        SCOPED_TRACE(spec.Name);
        EXPECT_EQ(Root->Factory().Makes_Real(spec.Kind), real.count(spec.Kind) == 1);
        const auto dialog = Make(spec.Kind);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dynamic_cast<TDC_Dlg_Stand_In*>(dialog.get()) == nullptr, real.count(spec.Kind) == 1);
        // The controller places every kind by the size of its dialog.
        EXPECT_EQ(dialog->Get_Width(), spec.Width);
        EXPECT_EQ(dialog->Get_Height(), spec.Height);
    }
    // A test of the screen flow can still answer every dialog itself.
    Root->Factory().Use_Stand_Ins();
    for (const TDialog_Spec& spec : Dialog_Specs())
        EXPECT_NE(dynamic_cast<TDC_Dlg_Stand_In*>(Make(spec.Kind).get()), nullptr) << spec.Name;
    Root->Factory().Set_Maker(TDialog_Kind::Menu, [] { return new TDC_Dlg_Menu(); });
    EXPECT_NE(dynamic_cast<TDC_Dlg_Menu*>(Make(TDialog_Kind::Menu).get()), nullptr);
}

TEST_F(DialogFactory, DataAndResultsReachTheRealDialogs) {
    TDialog_Factory& factory = Root->Factory();
    for (const bool save : {true, false}) {
        const auto box = Make(TDialog_Kind::Load_Save);
        auto& load_save = dynamic_cast<TDC_Dlg_Load_Save&>(*box);
        factory.Set_Save_Mode(*box, save);
        EXPECT_EQ(load_save.Save_Mode, save);
        EXPECT_EQ(load_save.Load_Mode, !save);
        EXPECT_FALSE(factory.Get_Succeeded(*box));
        load_save.Succeeded = true;
        EXPECT_TRUE(factory.Get_Succeeded(*box));
    }

    // Every percent draws one frame, and only one.
    const auto progress = Make(TDialog_Kind::Progress);
    factory.Set_Progress_Caption(*progress, "Loading");
    const int32_t flips = Game->display().Flip_Count;
    factory.Set_Percent(*progress, 250);
    EXPECT_EQ(Game->display().Flip_Count, flips + 1);
    EXPECT_EQ(dynamic_cast<TDC_Dlg_Progress&>(*progress).Get_Caption(), "Loading");
    EXPECT_EQ(dynamic_cast<TDC_Dlg_Progress&>(*progress).Get_Percent(), 100);

    const auto dead = Make(TDialog_Kind::Dead);
    TDeath_Details details;
    details.Player_Name = "Bjorn";
    details.Class_Index = 1;
    details.Cause = "Poison";
    details.Level = 7;
    details.Experience = 4200;
    details.Killer_Name = "Wolf";
    details.Killer_Level = 70000;
    factory.Set_Death(*dead, details);
    const auto& death = dynamic_cast<const TDC_Dlg_Dead&>(*dead);
    EXPECT_EQ(death.Character_Name, "Bjorn");
    EXPECT_EQ(death.Class_Number, 1);
    EXPECT_EQ(death.Level, 7);
    EXPECT_EQ(death.Experience, 4200);
    EXPECT_EQ(death.Killer_Name, "Wolf");
    EXPECT_EQ(death.Killer_Level, 65535);
    EXPECT_EQ(death.Effect_Name, "Poison");
    EXPECT_TRUE(std::filesystem::exists(Path_Settings()->Get_High_Scores_File()));

    const auto menu = Make(TDialog_Kind::Game_Menu);
    EXPECT_EQ(factory.Get_Result(*menu), 0);
    dynamic_cast<TDC_Dlg_Game_Menu&>(*menu).Result = Game_Menu_Export;
    EXPECT_EQ(factory.Get_Result(*menu), Game_Menu_Export);

    const auto difficulty = Make(TDialog_Kind::Difficulty);
    dynamic_cast<TDC_Dlg_Difficulty&>(*difficulty).Button_Click("Button 3");
    EXPECT_EQ(factory.Get_Result(*difficulty), 3);

    const auto modules = Make(TDialog_Kind::Select_Module);
    auto& select = dynamic_cast<TDC_Dlg_Select_Module&>(*modules);
    select.Module_List().Set_Selected_Index(2);
    select.Button_Click("Button 1");
    EXPECT_EQ(factory.Get_Result(*modules), Select_Module_OK);
    EXPECT_EQ(factory.Get_Module_Name(*modules), "TwoMaps");

    // The creature dialogs: what the controller gives reaches them, and the talk's answers come back.
    const auto talk = Make(TDialog_Kind::Talk);
    factory.Set_Monster(*talk, 7);
    EXPECT_EQ(factory.Get_Monster_Id(*talk), 7);
    EXPECT_EQ(factory.Get_Result(*talk), 0);
    const auto store = Make(TDialog_Kind::Store);
    factory.Set_Store(*store, 2, 9);
    EXPECT_EQ(dynamic_cast<const TDC_Dlg_Store&>(*store).Get_Monster_ID(), 9);
    const auto chest = Make(TDialog_Kind::Chest);
    factory.Set_Square(*chest, 12, 34);
    EXPECT_EQ(dynamic_cast<const TDC_Dlg_Chest&>(*chest).Square_X(), 12);
    EXPECT_EQ(dynamic_cast<const TDC_Dlg_Chest&>(*chest).Square_Y(), 34);
    // T turns the inventory window's tab.
    const auto inventory = Make(TDialog_Kind::Win_Inventory);
    factory.Next_Tab(*inventory);
    EXPECT_EQ(dynamic_cast<const TDC_Win_Inventory&>(*inventory).Current_Tab(), 2);
    for (const TDialog_Kind kind : {TDialog_Kind::Conversation, TDialog_Kind::Give_Item}) {
        const auto dialog = Make(kind);
        factory.Set_Monster(*dialog, 5);
        const auto* conversation = dynamic_cast<const TDC_Dlg_Conversation*>(dialog.get());
        const auto* give = dynamic_cast<const TDC_Dlg_GiveItem*>(dialog.get());
        EXPECT_EQ(conversation ? conversation->Get_Monster_ID() : give->Get_Monster_ID(), 5);
    }
}

} // namespace
