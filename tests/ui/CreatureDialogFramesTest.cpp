// The talk, store, conversation, chest and give-item dialogs drawn over a black page with the game's own
// pictures, items and creatures and the headless fixed-metric font, each compared with its reference
// picture by block means (see FrameReference.h for looking at a new frame and rebaselining).
#include "core/DisplaySeam.h"
#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Store.h"
#include "media/FrameDump.h"
#include "tests/support/FrameReference.h"
#include "tests/ui/UiFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCDlgChest.h"
#include "ui/DCDlgConversation.h"
#include "ui/DCDlgGiveItem.h"
#include "ui/DCDlgStore.h"
#include "ui/DCDlgTalk.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class Creature_Dialog_Frames : public TUi_Test {
protected:
    // The dialogs write nothing: they read the built program folder's pictures in place.
    std::string Program_Folder() const override { return MURK_RUNTIME_DIR; }
    void SetUp() override {
        TUi_Test::SetUp();
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        Set_Held_Item_Id(0);
        Init_Cursor_Target();
    }
    void TearDown() override {
        Done_Cursor_Target();
        Install_Current_Map(nullptr);
        TUi_Test::TearDown();
    }

    uint16_t Item(const std::string& name, const std::string& picture, uint16_t quantity = 1) {
        TItem item;
        item.Name = name;
        item.Picture = picture;
        item.Quantity = quantity;
        return Map->Item_List.Add(&item);
    }
    TMonster* Creature(const std::string& name, const std::string& picture) {
        TMonster creature;
        creature.Name = name;
        creature.Set_Pictures(picture, "");
        creature.Set_Position(120, 120);
        TMonster* stored = Map->Monster_List.Add_Monster(creature);
        Map->Place_Monster(*stored);
        return stored;
    }
    // The pictures of the map's items and creatures loaded, as a map load does.
    void Load_Pictures() {
        TDisplay_Object& display = Make_Display();
        display.Load_Graphics();
        ASSERT_TRUE(display.Load_Map_Bitmaps(*Map));
    }
    ::testing::AssertionResult Frame_Matches(TDisplay_Class& dialog, const std::string& name) {
        Clear_Page();
        dialog.Draw(0);
        TFrame frame;
        if (!Read_Buffer_Frame(0, frame)) return ::testing::AssertionFailure() << "no page";
        return Matches_Reference(frame, name);
    }
    template <typename T> void Open(T& dialog, const std::string& name) {
        dialog.Center_On_Screen(name, false);
        dialog.Set_Visible(true);
    }

    TMap* Map = nullptr;
};

TEST_F(Creature_Dialog_Frames, EachDialogMatchesItsReference) {
    TMonster* smith = Creature("Кузнец Гордей", "Village_Smith.bmp");
    smith->Talk_Topics = {"Работа", "Курган", "Король"};
    smith->Talk_Texts = {"", "В кургане под холмом спят старые короли. Кто туда ходит, тот не возвращается.",
                         ""};
    smith->Can_Be_Given_Items = true;
    auto store = std::make_unique<TStore>();
    store->Store_Name = "Кузница";
    store->Sell_Modifier = 120;
    store->Buy_Modifier = 50;
    const char* const goods[][3] = {
        {"Оружие", "Long Sword", "Long_Sword.bmp"},  {"Оружие", "Battle Axe", "Battle_Axe.bmp"},
        {"Доспехи", "Iron Helm", "Iron_Helm.bmp"},   {"Оружие", "Dagger", "Dagger.bmp"},
        {"Доспехи", "Chain Mail", "Chain_Mail.bmp"}, {"Оружие", "Iron Mace", "Iron_Mace.bmp"},
        {"Стрелы", "Arrows", "Arrows.bmp"}};
    for (const auto& g : goods) {
        store->Stock_Group_Names.push_back(g[0]);
        store->Stock_Item_Ids.Add(Item(g[1], g[2]));
    }
    smith->Store_Id = static_cast<int16_t>(Map->Add_Store(std::move(store)));
    TWordList chest_items;
    for (const char* picture : {"Gold_Medium.bmp", "Health_Potion.bmp", "Silver_Ring.bmp", "Bread.bmp",
                                "Scroll_of_Heal.bmp", "Torch.bmp", "Crypt_Key.bmp"})
        chest_items.Add(Item(picture, picture, picture[0] == 'G' ? 25 : 1));
    ASSERT_TRUE(Map->Add_Chest(chest_items, 121, 120));
    const uint16_t relic = Item("Barrow Relic", "Barrow_Relic.bmp");
    Load_Pictures();

    {
        TDC_Dlg_Talk talk;
        Open(talk, "Dlg Talk");
        talk.Set_Monster(smith->Id);
        talk.MouseMove(0, talk.Left + 16 + 10, talk.Top + 27 * 2 - 10 + 10); // over "Торговать"
        EXPECT_TRUE(Frame_Matches(talk, "talk"));
    }
    {
        TDC_Dlg_Store shop;
        Open(shop, "Dlg Store");
        shop.Set_Store(smith->Store_Id, smith->Id);
        shop.Select_Option(2);
        shop.MouseMove(0, shop.Left + 231 + 40 + 10, shop.Top + 52 + 10); // over the second goods
        EXPECT_TRUE(Frame_Matches(shop, "store"));
    }
    {
        TDC_Dlg_Conversation talk;
        Open(talk, "Dlg Conversation");
        talk.Set_Monster(smith->Id);
        talk.Choose_Topic(2);
        talk.Topic_List.Set_Selected_Index(2);
        EXPECT_TRUE(Frame_Matches(talk, "conversation"));
    }
    {
        TDC_Dlg_Chest chest;
        Open(chest, "Dlg Chest");
        chest.Set_Location(121, 120);
        chest.MouseMove(0, chest.Left + 56 + 40 * 2 + 10, chest.Top + 103 + 10); // over the third item
        EXPECT_TRUE(Frame_Matches(chest, "chest"));
    }
    {
        TDC_Dlg_GiveItem give;
        Open(give, "Dlg GiveItem");
        give.Set_Monster(smith->Id);
        Set_Player(Creature("Hero", "HumanFighter1.bmp"));
        Set_Held_Item_Id(relic);
        give.MouseDown(Mouse_Button_Left, Shift_Left, give.Left + 79 + 10, give.Top + 73 + 10);
        EXPECT_EQ(give.Shown_Items().Count(), 1);
        EXPECT_TRUE(Frame_Matches(give, "give_item"));
        Set_Player(nullptr);
    }
    EXPECT_TRUE(Messages->Messages.empty()) << Messages->Messages[0].Text;
}

// What the dialogs write, in which style, colour and place, and where the creature's picture goes.
TEST_F(Creature_Dialog_Frames, EachDialogWritesItsTextsAndDrawsTheCreatureInPlace) {
    TMonster* sage = Creature("Сивый", "Village_Smith.bmp");
    sage->Talk_Topics = {"Путь"};
    sage->Talk_Texts = {"Север."};
    sage->Can_Be_Given_Items = true;
    sage->Picture_Index = 7;
    auto world = std::make_shared<TRecording_Display_Sink>();
    const std::shared_ptr<TDisplay_Sink> before = Install_Display_Sink(world);
    const auto portrait = [&](const TDisplay_Class& d, int32_t x, int32_t y) {
        TRecording_Display_Sink expected;
        expected.Draw_Monster_Tile(0, d.Left + x, d.Top + y, 7);
        return expected.Calls;
    };
    const auto drawn = [&](TDisplay_Class& d) {
        Shown();
        world->Calls.clear();
        Clear_Page();
        d.Draw(0);
    };
    constexpr uint32_t Grey = 0x9B9B9B, White = 0xFFFFFF;
    {
        // Captions in style 1, centred on their 224 x 23 buttons and 2 pixels low.
        TDC_Dlg_Talk talk;
        Open(talk, "Dlg Talk");
        talk.Set_Monster(sage->Id);
        drawn(talk);
        std::vector<TShown_Text> expected;
        const char* const captions[] = {"Общение", "Передать", "Отмена"};
        const int32_t buttons[] = {1, 2, 5};
        for (int32_t k = 0; k < 3; ++k)
            expected.push_back(At(captions[k], talk.Left + 16 + 112, talk.Top + 27 * buttons[k] - 10 + 11 + 2,
                                  2, 2, 1, Grey));
        EXPECT_EQ(Shown(), expected);
    }
    {
        TDC_Dlg_Conversation conversation;
        Open(conversation, "Dlg Conversation");
        conversation.Set_Monster(sage->Id);
        conversation.Choose_Topic(1);
        drawn(conversation);
        const std::vector<TShown_Text> shown = Shown();
        for (const TShown_Text& text :
             {At("Общение с Сивый", conversation.Left + 255, conversation.Top + 29, 2, 2, 6, 0),
              At("Север.", conversation.Left + 232, conversation.Top + 60, 1, 5, 1, White)})
            EXPECT_NE(std::find(shown.begin(), shown.end(), text), shown.end()) << text;
        EXPECT_EQ(world->Calls, portrait(conversation, 12, 22));
        // The topic list's dark grey ground, below its one line.
        EXPECT_EQ(Page_Pixel(conversation.Left + 21 + 150, conversation.Top + 87 + 180), 0x373737u);
    }
    {
        TDC_Dlg_GiveItem give;
        Open(give, "Dlg GiveItem");
        give.Set_Monster(sage->Id);
        drawn(give);
        EXPECT_EQ(Shown(), std::vector<TShown_Text>{At("Сивый", give.Left + 130, give.Top + 36, 2, 2, 6, 0)});
        EXPECT_EQ(world->Calls, portrait(give, 17, 61));
    }
    Install_Display_Sink(before);
}

} // namespace
