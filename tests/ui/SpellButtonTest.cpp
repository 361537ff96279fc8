// The quick-bar slot: the container and content it draws in each state, the target its hover leaves for
// the information panel, and its click.
#include "core/DisplaySeam.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Spells.h"
#include "tests/support/CoreTestSupport.h"
#include "tests/ui/UiFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCSpellButton.h"

namespace {

class Spell_Button : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        Folder.Write("Data/Spells.txt", Data_File_Text({{{"Name", "Fire"}}, {{"Name", "Ice"}}}, "Spells"));
        Load_Master_Spells();
        Get_Master_Spell(2)->Picture_Id = 5;
        Install_Current_Map(std::make_unique<TMap>());
        TMonster hero;
        hero.Name = "hero";
        Hero = Current_Map()->Monster_List.Add_Monster(hero);
        TItem potion;
        potion.Name = "potion";
        potion.Picture_Index = 7;
        TItem* item = Current_Map()->Item_List.Item(Current_Map()->Item_List.Add(&potion));
        Potion_Id = item->Id;
        ASSERT_TRUE(Hero->Inventory.Put_In_Slot(item, 12));
        Set_Player(Hero);
        Recorder = std::make_shared<TRecording_Display_Sink>();
        Saved_Sink = Install_Display_Sink(Recorder);
        Root.Set_Position("Root", 0, 0, 800, 600, false);
        Root.Set_Visible(true);
        Place_Spell_Button(Button, "Spell Button 3", 100, 500);
        Button.Set_Visible(true);
        Root.Add_Child_Control(&Button);
    }
    void TearDown() override {
        Install_Display_Sink(Saved_Sink);
        Free_Master_Spells();
        TUi_Test::TearDown();
    }
    std::vector<std::string> Drawn() {
        std::vector<std::string> calls;
        calls.swap(Recorder->Calls);
        return calls;
    }

    TMonster* Hero = nullptr;
    uint16_t Potion_Id = 0;
    std::shared_ptr<TRecording_Display_Sink> Recorder;
    std::shared_ptr<TDisplay_Sink> Saved_Sink;
    TDisplay_Class Root;
    TDC_Spell_Button Button;
};

TEST_F(Spell_Button, EachStateDrawsItsContainerRowAndItsContent) {
    struct TCase {
        const char* What;
        int32_t Style, Kind, Content;
        bool Enabled, Pressed, Hover, Player;
        std::vector<std::string> Calls;
    } cases[] = {
        {"a spell",
         1,
         1,
         2,
         true,
         false,
         false,
         true,
         {"Spell_Container(0, 100, 500, 0, 1)", "Spell_Icon(0, 100, 500, 0, 4)"}},
        {"a spell under the mouse, selected",
         2,
         1,
         2,
         true,
         false,
         true,
         true,
         {"Spell_Container(0, 100, 500, 1, 2)", "Spell_Icon(0, 100, 500, 1, 4)"}},
        {"a spell pressed",
         1,
         1,
         2,
         true,
         true,
         true,
         true,
         {"Spell_Container(0, 100, 500, 2, 1)", "Spell_Icon(0, 100, 500, 2, 4)"}},
        {"a spell disabled",
         1,
         1,
         2,
         false,
         true,
         true,
         true,
         {"Spell_Container(0, 100, 500, 3, 1)", "Spell_Icon(0, 100, 500, 3, 4)"}},
        {"a spell without a picture",
         1,
         1,
         1,
         true,
         false,
         false,
         true,
         {"Spell_Container(0, 100, 500, 0, 1)"}},
        {"no spell of that id", 1, 1, 3, true, false, false, true, {"Spell_Container(0, 100, 500, 0, 1)"}},
        {"empty", 1, 1, 0, true, false, false, true, {"Spell_Container(0, 100, 500, 0, 1)"}},
        {"an item",
         1,
         2,
         12,
         true,
         false,
         false,
         true,
         {"Spell_Container(0, 100, 500, 0, 1)", "Item(0, 103, 503, 0, 7)"}},
        {"an item pressed",
         1,
         2,
         12,
         true,
         true,
         false,
         true,
         {"Spell_Container(0, 100, 500, 2, 1)", "Item(0, 105, 505, 0, 7)"}},
        // Under the death screen the quick bar is still drawn after the player is gone.
        {"an item without a player",
         1,
         2,
         12,
         true,
         false,
         false,
         false,
         {"Spell_Container(0, 100, 500, 0, 1)"}},
        {"an empty slot", 1, 2, 13, true, false, false, true, {"Spell_Container(0, 100, 500, 0, 1)"}},
        {"a slot beyond the backpack",
         1,
         2,
         91,
         true,
         false,
         false,
         true,
         {"Spell_Container(0, 100, 500, 0, 1)"}},
        {"slot 0", 1, 2, 0, true, false, false, true, {"Spell_Container(0, 100, 500, 0, 1)"}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Button.Set_Spell(t.Style, t.Kind, t.Content);
        Button.Enabled = t.Enabled;
        Button.Pressed = t.Pressed;
        Button.Mouse_Over = t.Hover;
        Set_Player(t.Player ? Hero : nullptr);
        Button.Draw(0);
        EXPECT_EQ(Drawn(), t.Calls);
    }
}

TEST_F(Spell_Button, TheHoverTargetsTheSpellTheItemOrTheHint) {
    struct TCase {
        const char* What;
        int32_t Kind, Content, Hint;
        bool Player;
        int32_t Target_Kind, Value; // the item, spell or help id
    } cases[] = {
        {"a spell", 1, 2, 9, true, Cursor_Target_Spell, 2},
        {"no spell of that id", 1, 3, 9, true, Cursor_Target_Square, 0},
        {"empty with a hint", 1, 0, 9, true, Cursor_Target_Help, 9},
        {"empty without a hint", 1, 0, 0, true, Cursor_Target_Square, 0},
        {"an item", 2, 12, 9, true, Cursor_Target_Item, 0},
        {"an item without a player", 2, 12, 9, false, Cursor_Target_Square, 0},
        {"an empty slot", 2, 13, 9, true, Cursor_Target_Square, 0},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Set_Cursor_Target_Cell(5, 6);
        Button.Set_Spell(1, t.Kind, t.Content);
        Button.Set_Hint_Value(t.Hint);
        Set_Player(t.Player ? Hero : nullptr);
        Root.MouseMove(0, 119, 519);
        const TCursor_Target& target = Cursor_Target();
        EXPECT_EQ(target.Kind, t.Target_Kind);
        switch (t.Target_Kind) {
        case Cursor_Target_Spell: EXPECT_EQ(target.Spell_Id, t.Value); break;
        case Cursor_Target_Help: EXPECT_EQ(target.Help_Id, t.Value); break;
        case Cursor_Target_Item: EXPECT_EQ(target.Item_Id, Potion_Id); break;
        default: EXPECT_EQ(target.X, 5);
        }
    }
}

TEST_F(Spell_Button, AReleaseOverItClicks) {
    std::vector<std::string> clicks;
    Button.On_Click = [&](const std::string& name) { clicks.push_back(name); };
    for (const auto& [x, enabled, clicked] : std::vector<std::tuple<int32_t, bool, bool>>{
             {138, true, true}, {139, true, false}, {120, false, false}}) {
        SCOPED_TRACE(x);
        Button.Enabled = enabled;
        clicks.clear();
        Root.MouseUp(0, 0, x, 520, false);
        EXPECT_EQ(clicks.size(), clicked ? 1u : 0u);
        EXPECT_EQ(Played(), clicked ? std::vector<std::string>{"button.wav"} : std::vector<std::string>{});
    }
}

TEST_F(Spell_Button, SettingATargetClearsTheOthersButKeepsTheSpell) {
    Set_Cursor_Target_Spell(4);
    Set_Cursor_Target_Cell(10, 20);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_Square);
    EXPECT_EQ(Cursor_Target().X, 10);
    EXPECT_EQ(Cursor_Target().Y, 20);
    Set_Cursor_Target_Monster(3);
    EXPECT_EQ(Cursor_Target().Creature_Id, 3);
    EXPECT_EQ(std::vector<int32_t>({Cursor_Target().X, Cursor_Target().Y}), std::vector<int32_t>({0, 0}));
    Set_Cursor_Target_Pile(7, 8);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_Pile);
    EXPECT_EQ(Cursor_Target().Creature_Id, 0);
    Set_Cursor_Target_Item(9);
    Set_Cursor_Target_Button(11);
    EXPECT_EQ(Cursor_Target().Item_Id, 0);
    EXPECT_EQ(Cursor_Target().Help_Id, 11);
    Init_Cursor_Target();
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_None);
    EXPECT_EQ(Cursor_Target().Help_Id, 0);
    EXPECT_EQ(Cursor_Target().Spell_Id, 4);
}

} // namespace
