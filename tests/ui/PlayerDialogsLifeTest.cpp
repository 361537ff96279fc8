// What the six player and module dialogs share: each closes on its close button, Escape and its own letter
// and on no other key, and each outlives the player, who may die under it while the world runs on: a frame,
// clicks everywhere, moves and keys still work, and only closing does anything.
#include "tests/ui/PlayerDialogsFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCDlgModuleText.h"
#include "ui/DCDlgOverviewMap.h"
#include "ui/DCDlgQuests.h"
#include "ui/DCDlgSpellsAdd.h"
#include "ui/DCDlgSpellsSelect.h"
#include "ui/DCDlgStatistics.h"

#include <functional>

namespace {

struct TDialog_Case {
    const char* Name;
    std::function<std::unique_ptr<TDC_Dlg_Picture>()> Make;
    uint16_t Letter; // 0: none
    int32_t Close_X, Close_Y;
    const char* Title; // drawn without a player
};

const std::vector<TDialog_Case>& Dialog_Cases() {
    static const std::vector<TDialog_Case> cases = {
        {"Statistics Dlg", [] { return std::make_unique<TDC_Dlg_Statistics>(); }, 'C', 285, 357,
         "Статистика"},
        {"Spells Add Dlg", [] { return std::make_unique<TDC_Dlg_Spells_Add>(); }, 'S', 563, 251,
         "Список умений"},
        {"Spells Select Dlg", [] { return std::make_unique<TDC_Dlg_Spells_Select>(); }, 'B', 256, 393,
         "Выбор умений"},
        {"Quests Dlg", [] { return std::make_unique<TDC_Dlg_Quests>(); }, 'Q', 354, 449, "Задачи"},
        {"Overview Map", [] { return std::make_unique<TDC_Dlg_Overview_Map>(); }, 'M', 406, 462,
         "Barrow Halls"},
        {"Dlg Module Text", [] { return std::make_unique<TDC_Dlg_Module_Text>(); }, 0, 369, 429, nullptr},
    };
    return cases;
}

class Player_Dialogs_Life : public TPlayer_Dialog_Test {
protected:
    TDC_Dlg_Picture& Open(const TDialog_Case& c) {
        auto dialog = c.Make();
        TDC_Dlg_Picture& opened = *dialog;
        Owner.Place(std::move(dialog), c.Name);
        return opened;
    }
};

TEST_F(Player_Dialogs_Life, EachDialogClosesOnItsButtonEscapeAndItsLetterOnly) {
    const uint16_t letters[] = {'C', 'S', 'B', 'Q', 'M', 'G', 'I', 32, 13};
    for (const TDialog_Case& c : Dialog_Cases()) {
        SCOPED_TRACE(c.Name);
        Owner.Closed.clear();
        TDC_Dlg_Picture& dialog = Open(c);
        ASSERT_NE(dialog.Close_Button(), nullptr);
        EXPECT_EQ(dialog.Close_Button()->Left - dialog.Left, c.Close_X);
        EXPECT_EQ(dialog.Close_Button()->Top - dialog.Top, c.Close_Y);
        for (const uint16_t key : letters)
            if (key != c.Letter) Key(key);
        EXPECT_TRUE(Owner.Closed.empty());
        if (c.Letter != 0) {
            Key(c.Letter);
            EXPECT_EQ(Owner.Closed, std::vector<std::string>{c.Name});
            Open(c);
        }
        Key(27);
        Open(c);
        Click_On(*static_cast<TDC_Dlg_Picture&>(*Owner.Dialog).Close_Button());
        EXPECT_EQ(Owner.Closed, std::vector<std::string>(c.Letter != 0 ? 3 : 2, c.Name));
        EXPECT_EQ(Owner.Dialog, nullptr);
    }
}

TEST_F(Player_Dialogs_Life, EachDialogOutlivesThePlayer) {
    TModule_Quest quest;
    quest.Description = "Клинок";
    quest.Visible = true;
    Module()->Quests.Quests.push_back(quest);
    Map->Get_Square(100, 100)->Set_Seen(true);
    for (const TDialog_Case& c : Dialog_Cases()) {
        SCOPED_TRACE(c.Name);
        Renew_Hero();
        Hero->Attribute_Points = 2;
        Hero->Skill_Points = 2;
        Hero->Spells.Set_Spell(Find_Master_Spell_By_Name("Heal")->Id, 1, 100);
        Owner.Closed.clear();
        TDC_Dlg_Picture& dialog = Open(c);
        // Whatever was chosen before, the quick-bar slot among it.
        if (auto* select = dynamic_cast<TDC_Dlg_Spells_Select*>(&dialog)) {
            Click_On(select->Right_Arrow);
            Click_On(select->Right_Arrow);
            Click_On(select->Slot_Button(4));
            ASSERT_EQ(select->Chosen_Slot(), 4);
        }
        Frame();
        Kill_Hero();
        ASSERT_EQ(Player(), nullptr);
        Shown();
        Frame();
        const std::vector<TShown_Text> shown = Shown();
        // The three dialogs about the player keep only their picture and title.
        if (c.Name == std::string("Statistics Dlg") || c.Name == std::string("Spells Add Dlg") ||
            c.Name == std::string("Spells Select Dlg")) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].Text, c.Title);
            for (int32_t n = 1; n <= dialog.Child_Count(); ++n)
                if (dialog.Child(n) != dialog.Close_Button()) {
                    EXPECT_FALSE(dialog.Child(n)->Visible) << n;
                }
        } else if (c.Title) {
            EXPECT_FALSE(shown.empty());
        }
        // Clicks and moves over the whole dialog, with both buttons, and keys that are not its own.
        for (int32_t y = 0; y < dialog.Get_Height(); y += 13)
            for (int32_t x = 0; x < dialog.Get_Width(); x += 13) {
                if (dialog.Close_Button()->Hit_Test(dialog.Left + x, dialog.Top + y)) continue;
                Owner.MouseMove(0, dialog.Left + x, dialog.Top + y);
                Click_In(x, y, (x + y) % 2 ? Mouse_Button_Right : Mouse_Button_Left);
            }
        EXPECT_TRUE(Owner.Closed.empty());
        Key('A');
        Key(13);
        Frame();
        EXPECT_EQ(Cursor_Target().Kind == Cursor_Target_Spell || Cursor_Target().Kind == Cursor_Target_Item,
                  false);
        Key(27);
        EXPECT_EQ(Owner.Closed, std::vector<std::string>{c.Name});
        Frame();
    }
}

} // namespace
