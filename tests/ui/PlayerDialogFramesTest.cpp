// The six player and module dialogs drawn over a black page with the shipped pictures, button and spell
// sheets and the headless fixed-metric font, each compared with its reference picture by block means and
// written to the build's frames folder for a person to look at.
#include "core/Clock.h"
#include "media/FrameDump.h"
#include "tests/support/FrameReference.h"
#include "tests/ui/PlayerDialogsFixture.h"
#include "ui/DCDlgModuleText.h"
#include "ui/DCDlgOverviewMap.h"
#include "ui/DCDlgQuests.h"
#include "ui/DCDlgSpellsAdd.h"
#include "ui/DCDlgSpellsSelect.h"
#include "ui/DCDlgStatistics.h"

#include <filesystem>

namespace {

class Player_Dialog_Frames : public TPlayer_Dialog_Test {
protected:
    bool Shipped_Sheets() const override { return true; }

    ::testing::AssertionResult Frame_Matches(const std::string& name) {
        Frame();
        TFrame frame;
        if (!Read_Buffer_Frame(0, frame)) return ::testing::AssertionFailure() << "no page";
        std::filesystem::create_directories(MURK_BUILD_FRAMES_DIR);
        Write_Frame_Bmp(frame, std::string(MURK_BUILD_FRAMES_DIR) + "/" + name + ".bmp");
        return Matches_Reference(frame, name);
    }
};

TEST_F(Player_Dialog_Frames, EachDialogMatchesItsReference) {
    Hero->Attribute_Points = 3;
    Hero->Skill_Points = 2;
    Hero->Spells.Set_Spell(Find_Master_Spell_By_Name("Heal")->Id, 2, 100);
    Hero->Spells.Set_Spell(Find_Master_Spell_By_Name("Cure Poison")->Id, 1, 100);
    Hero->Spells.Set_Quick_Slot(1, Quick_Slot_Spell, Find_Master_Spell_By_Name("Heal")->Id);
    {
        Owner.Open<TDC_Dlg_Statistics>("Statistics Dlg");
        EXPECT_TRUE(Frame_Matches("statistics"));
        Key(27);
    }
    {
        auto& dialog = Owner.Open<TDC_Dlg_Spells_Add>("Spells Add Dlg");
        Click_On(dialog.Toggle(3));
        EXPECT_TRUE(Frame_Matches("spells_add"));
        Key(27);
    }
    {
        auto& dialog = Owner.Open<TDC_Dlg_Spells_Select>("Spells Select Dlg");
        Click_On(dialog.Right_Arrow);
        Click_On(dialog.Right_Arrow);
        Click_On(dialog.Slot_Button(2));
        EXPECT_TRUE(Frame_Matches("spells_select"));
        Key(27);
    }
    {
        for (const auto& [text, completed] : std::vector<std::pair<std::string, bool>>{
                 {"Найти пропавший клинок кузнеца в старом кургане.", false},
                 {"Прогнать волков с северной дороги.", true}}) {
            TModule_Quest quest;
            quest.Description = text;
            quest.Visible = true;
            quest.Completed = completed;
            Module()->Quests.Quests.push_back(quest);
        }
        Owner.Open<TDC_Dlg_Quests>("Quests Dlg");
        EXPECT_TRUE(Frame_Matches("quests"));
        Key(27);
    }
    {
        for (int32_t x = 70; x <= 130; ++x)
            for (int32_t y = 80; y <= 115; ++y) Map->Get_Square(x, y)->Set_Seen(true);
        Owner.Open<TDC_Dlg_Overview_Map>("Overview Map");
        // The mark is on after the first half second.
        Frame();
        Advance_Manual_Clock(501);
        Frame();
        EXPECT_TRUE(Frame_Matches("overview_map"));
        Key(27);
    }
    {
        auto dialog = std::make_unique<TDC_Dlg_Module_Text>();
        dialog->Set_Text("Курган у реки",
                         {"Давным-давно над рекой стоял курган, и люди обходили его стороной.",
                          "Теперь из кургана по ночам выходят мертвецы, и деревня просит о помощи."});
        Owner.Place(std::move(dialog), "Dlg Module Text");
        EXPECT_TRUE(Frame_Matches("module_text"));
        Key(27);
    }
    EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
}

} // namespace
