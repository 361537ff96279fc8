// The game screen controller hands its own mouse, keys and HUD buttons to the game screen's input, through
// the whole headless game: hot keys only over the running world with no modal dialog (and, beside a talk,
// store, chest or give-item dialog, only I), presses on the map only while the world runs, every release
// lets go of the buttons, and the HUD buttons open, toggle and select what they name.
#include "core/MapMain.h"
#include "core/Monster.h"
#include "tests/ui/GameRootFixture.h"
#include "ui/DCDlgGameMenu.h"

namespace {

constexpr uint16_t Vk_Space = 32;

class ScreenInput : public TGame_Root_Test {
protected:
    // A new game on the game screen, the world running; the game menu is the real one.
    void Start_Running() {
        Start_To_Menu();
        Root->Factory().Set_Maker(TDialog_Kind::Game_Menu, [] { return new TDC_Dlg_Game_Menu(); });
        Start_New_Game();
        Game->key(27);
        ASSERT_TRUE(Root->Is_World_Running());
        ASSERT_NE(Player(), nullptr);
    }
    // The page point of the middle of the floor of the square dx, dy from the player (view origin at the
    // player less 7), and that square.
    void Square_Point(int32_t dx, int32_t dy, int32_t& x, int32_t& y) {
        const int32_t ox = Player()->X - 7, oy = Player()->Y - 7;
        for (int32_t n = 1; n <= 31; ++n)
            for (int32_t i = 1; i <= 15; ++i) {
                int32_t map_x = 0, map_y = 0;
                View_Cell_To_Map(i, n, ox, oy, map_x, map_y);
                if (map_x != Player()->X + dx || map_y != Player()->Y + dy) continue;
                View_Cell_Position(i, n, x, y);
                x += 27;
                y += 40;
                return;
            }
        FAIL() << "no view cell for " << dx << ", " << dy;
    }
};

TEST_F(ScreenInput, HotKeysWorkOnlyOverTheRunningWorldWithNoModalDialog) {
    // Each row: what stands over the game; the key; whether the game menu is then open; whether the game is
    // then paused; whether the inventory window is then shown.
    enum class TOver { Nothing, Modal_Message, Chest, Stopped_World };
    struct TRow {
        TOver Over;
        uint16_t Key;
        bool Menu, Paused, Inventory;
    };
    const std::vector<TRow> rows = {
        {TOver::Nothing, 'G', true, true, false},
        {TOver::Nothing, Vk_Space, false, true, false},
        {TOver::Nothing, 'I', false, false, true},
        {TOver::Modal_Message, 'G', false, false, false},
        {TOver::Modal_Message, Vk_Space, false, false, false},
        {TOver::Modal_Message, 'I', false, false, false},
        {TOver::Chest, 'G', false, true, true},
        {TOver::Chest, Vk_Space, false, true, true},
        {TOver::Chest, 'I', false, true, false},
        {TOver::Stopped_World, 'G', false, false, false},
        {TOver::Stopped_World, 'I', false, false, false},
    };
    for (size_t r = 0; r < rows.size(); ++r) {
        const TRow& row = rows[r];
        SCOPED_TRACE(r);
        Prepare();
        Start_Running();
        switch (row.Over) {
        case TOver::Nothing: break;
        case TOver::Modal_Message: Root->Show_Message("Caption", "Text"); break;
        case TOver::Chest: Root->Tick().Open_Chest(Player()->X, Player()->Y); break;
        case TOver::Stopped_World: Root->Stop_World(); break;
        }
        Game->key(row.Key);
        ASSERT_EQ(Count_Of("Game Menu"), row.Menu ? 1 : 0);
        EXPECT_EQ(Root->Is_Paused(), row.Paused);
        EXPECT_EQ(Game->find("Win Inventory")->Visible, row.Inventory);
        // The key that opened the game menu did not reach it: it is still open.
        if (row.Menu) {
            EXPECT_TRUE(Game->find("Game Menu")->Modal);
        }
    }
}

TEST_F(ScreenInput, MapPressesWalkOnlyWhileTheWorldRunsAndEveryReleaseLetsGo) {
    Start_Running();
    int32_t x = 0, y = 0;
    Square_Point(3, 3, x, y);
    // The square the press picks is the one the view's picking gives for the point.
    int32_t target_x = 0, target_y = 0;
    ASSERT_TRUE(Root->Tick().Screen_To_Map(x, y, true, target_x, target_y));
    Game->press(x, y, Mouse_Button_Right);
    EXPECT_EQ(Root->Tick().Pending_Command, Command_Act);
    EXPECT_TRUE(Root->Input().Right_Button_Held);
    // Released off the window: the held button is let go all the same.
    Game->release(-5, -5, Mouse_Button_Right);
    EXPECT_FALSE(Root->Input().Right_Button_Held);
    Root->Tick().Pending_Command = Command_None;
    Game->click(x, y);
    EXPECT_EQ(Root->Tick().Pending_Command, Command_Walk);
    EXPECT_EQ(Root->Tick().Target_X, target_x);
    EXPECT_EQ(Root->Tick().Target_Y, target_y);

    // Over a stopped world a press sets nothing.
    Root->Tick().Pending_Command = Command_None;
    Root->Stop_World();
    Game->click(x, y);
    EXPECT_EQ(Root->Tick().Pending_Command, Command_None);
}

TEST_F(ScreenInput, TheEquipmentPanelWorksBesideTheDialogsThatTradeItems) {
    // Each row: the talk's choice that opens the next dialog (0: a chest instead); whether the dialog then
    // open works with the player's slots; whether it is the store.
    struct TRow {
        int32_t Talk_Choice;
        bool Item_Window, Store;
    };
    const std::vector<TRow> rows = {{0, true, false}, {1, true, true}, {2, false, false}, {3, true, false}};
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Talk_Choice);
        Prepare();
        Start_Running();
        EXPECT_FALSE(Root->Is_Item_Window_Open());
        if (row.Talk_Choice == 0) {
            Root->Open_Chest_Dialog(Player()->X, Player()->Y);
        } else {
            Root->Open_Talk_Dialog(1);
            Close("Dlg Talk", row.Talk_Choice);
        }
        EXPECT_EQ(Root->Is_Item_Window_Open(), row.Item_Window);
        EXPECT_EQ(Root->Is_Store_Dialog_Open(), row.Store);
    }
}

TEST_F(ScreenInput, HudButtonsOpenToggleAndSelect) {
    Start_Running();
    const auto centre = [this](const std::string& name) {
        const TDisplay_Class* control = Game->find(name);
        return std::pair{control->Left + control->Width / 2, control->Top + control->Height / 2};
    };
    auto [sx, sy] = centre("Drop Stats");
    Game->click(sx, sy);
    EXPECT_TRUE(Game->find("Win Stats")->Visible);
    Game->click(sx, sy);
    EXPECT_FALSE(Game->find("Win Stats")->Visible);

    // T turns the inventory window's tab.
    Game->key('T');
    EXPECT_EQ(dynamic_cast<TDC_Dlg_Stand_In*>(Game->find("Win Inventory"))->Tab_Turns, 1);

    // A quick-bar slot holding something is selected by its button, and a second click lets it go.
    const int32_t slot = 7;
    Player()->Spells.Set_Quick_Slot(slot, Quick_Slot_Spell, 1);
    auto [bx, by] = centre("Spell Button " + std::to_string(slot));
    Game->click(bx, by);
    EXPECT_EQ(Player()->Spells.Get_Selected_Slot(), slot);
    Game->click(bx, by);
    EXPECT_EQ(Player()->Spells.Get_Selected_Slot(), 0);

    auto [mx, my] = centre("Main Control Button 1");
    Game->click(mx, my);
    EXPECT_EQ(Count_Of("Game Menu"), 1);
    EXPECT_TRUE(Root->Is_Paused());
}

} // namespace
