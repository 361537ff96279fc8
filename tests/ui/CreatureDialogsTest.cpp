// The talk, store, conversation, chest and give-item dialogs driven through the widget dispatch on a map of
// the test's own: the offers a creature makes, buying and selling with the cursor and the player's gold,
// the store's groups and price record, items moved between a chest, the cursor and a saved map, and the
// module events that giving and asking fire.
#include "core/HeldItem.h"
#include "core/Item.h"
#include "core/Module.h"
#include "core/SaveGame.h"
#include "core/SaveStream.h"
#include "core/SoundSeam.h"
#include "core/Store.h"
#include "tests/ui/GameScreenFixture.h"
#include "ui/CursorTarget.h"
#include "ui/DCDlgChest.h"
#include "ui/DCDlgConversation.h"
#include "ui/DCDlgGiveItem.h"
#include "ui/DCDlgStore.h"
#include "ui/DCDlgTalk.h"
#include "ui/DCInfoPanel.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

class Creature_Dialogs : public TGame_Screen_Test {
protected:
    void SetUp() override {
        TGame_Screen_Test::SetUp();
        Sounds = std::make_shared<TRecording_Sound_Sink>();
        Install_Sound_Sink(Sounds);
        Install_Module(std::make_unique<TModule>());
        Set_Held_Item_Id(0);
        Init_Cursor_Target();
        Hero = Add_Player(100, 100);
    }
    void TearDown() override {
        Set_Held_Item_Id(0);
        Done_Cursor_Target();
        Install_Module(nullptr);
        Install_Sound_Sink(nullptr);
        TGame_Screen_Test::TearDown();
    }

    uint16_t New_Item(const std::string& name, int32_t value, uint16_t event_id = 0) {
        TItem item;
        item.Name = name;
        item.Gold_Value = value;
        item.Quantity = 1;
        item.Event_Id = event_id;
        return Map->Item_List.Add(&item);
    }
    // Places the dialog in the middle of the page, shown, as the game screen does.
    template <typename T> T& Open(T& dialog, const std::string& name) {
        dialog.Center_On_Screen(name, false);
        dialog.Set_Visible(true);
        return dialog;
    }
    // A left press and release at the point, through the dialog's dispatch.
    static void Click(TDisplay_Class& dialog, int32_t x, int32_t y, int32_t button = Mouse_Button_Left) {
        dialog.MouseDown(button, Shift_Left, x, y);
        dialog.MouseUp(button, 0, x, y, false);
    }
    static void Escape(TDisplay_Class& dialog) {
        uint16_t key = 27;
        dialog.KeyDown(key, 0);
    }
    std::vector<std::string> Played() {
        std::vector<std::string> names = Sounds->Names();
        Sounds->Played.clear();
        return names;
    }
    std::vector<uint16_t> Ids(const TWordList& list) {
        std::vector<uint16_t> ids;
        for (int32_t n = 1; n <= list.Count(); ++n) ids.push_back(list.Get(n));
        return ids;
    }
    // Quest n of the module becomes visible when the event's trigger matches.
    void Add_Quest_Event(uint8_t trigger_type, uint16_t monster, uint16_t item, uint16_t topic,
                         uint16_t quest) {
        TModule& module = *Module();
        while (module.Quests.Quest_Count() < quest) {
            TModule_Quest q;
            q.Quest_Id = static_cast<uint16_t>(module.Quests.Quest_Count() + 1);
            q.Quest_Name = "Quest " + std::to_string(q.Quest_Id);
            module.Quests.Quests.push_back(q);
        }
        TModule_Event event;
        event.Enabled = true;
        TModule_Event_Trigger trigger;
        trigger.Trigger_Type = trigger_type;
        trigger.Monster_Event_Id = monster;
        trigger.Item_Event_Id = item;
        trigger.Topic_Id = topic;
        event.Triggers.push_back(trigger);
        TModule_Event_Result result;
        result.Result_Type = Result_Quest_Visible_True;
        result.Quest_Id = quest;
        event.Results.push_back(result);
        module.Events.Events.push_back(event);
    }
    std::vector<bool> Quests_Visible() {
        std::vector<bool> visible;
        for (const TModule_Quest& q : Module()->Quests.Quests) visible.push_back(q.Visible);
        return visible;
    }

    std::shared_ptr<TRecording_Sound_Sink> Sounds;
    TMonster* Hero = nullptr;
};

// ---------------------------------------------------------------------------------------------------------
// Talk

TEST_F(Creature_Dialogs, TalkOffersWhatTheCreatureDoesAndClosesWithTheChoice) {
    auto store = std::make_unique<TStore>();
    const int32_t store_number = Map->Add_Store(std::move(store));
    struct TCase {
        const char* Name;
        bool Topics;
        int16_t Store_Id;
        bool Givable;
        std::array<const char*, 4> Captions;
        int32_t Pressed;
        int32_t Choice; // -1: stays open
    };
    const TCase cases[] = {
        {"store only", false, static_cast<int16_t>(store_number), false, {"Торговать", "", "", ""}, 2, -1},
        {"store only, trade",
         false,
         static_cast<int16_t>(store_number),
         false,
         {"Торговать", "", "", ""},
         1,
         1},
        {"everything",
         true,
         static_cast<int16_t>(store_number),
         true,
         {"Общение", "Торговать", "Передать", ""},
         3,
         3},
        {"talks", true, 0, true, {"Общение", "Передать", "", ""}, 1, 2},
        {"store of another map", true, 7, false, {"Общение", "", "", ""}, 4, -1},
        {"cancel", true, 0, false, {"Общение", "", "", ""}, 5, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMonster* creature = Add_Creature(90, 90, "Merchant");
        if (c.Topics) {
            creature->Talk_Topics = {"Work"};
            creature->Talk_Texts = {"None"};
        }
        creature->Store_Id = c.Store_Id;
        creature->Can_Be_Given_Items = c.Givable;
        TDC_Dlg_Talk talk;
        Open(talk, "Dlg Talk");
        talk.Set_Monster(creature->Id);
        for (int32_t n = 1; n <= 4; ++n) EXPECT_EQ(talk.Button(n).Caption, c.Captions[n - 1]) << n;
        EXPECT_EQ(talk.Button(5).Caption, "Отмена");
        // Button n at (16, 27n - 10) from the corner.
        Click(talk, talk.Left + 16 + 4, talk.Top + 27 * c.Pressed - 10 + 4);
        EXPECT_EQ(talk.Kill, c.Choice >= 0);
        EXPECT_EQ(talk.Get_Choice(), c.Choice < 0 ? 0 : c.Choice);
        EXPECT_EQ(talk.Get_Store_Number(), c.Store_Id);
        EXPECT_EQ(talk.Get_Monster_ID(), creature->Id);
        Map->Remove_Monster(creature->Id);
        Map->End_Tick();
        EXPECT_EQ(talk.Get_Store_Number(), 0); // the creature is gone
    }
    // Escape is "Отмена", whatever was chosen before; a creature that is not there offers nothing, not
    // even what the creature shown before offered.
    TMonster* talker = Add_Creature(90, 90, "Talker");
    talker->Talk_Topics = {"Work"};
    talker->Talk_Texts = {"None"};
    TDC_Dlg_Talk talk;
    Open(talk, "Dlg Talk");
    talk.Set_Monster(talker->Id);
    ASSERT_EQ(talk.Button(1).Caption, "Общение");
    for (int32_t n = 1; n <= 5; ++n)
        EXPECT_EQ(std::pair(talk.Button(n).Left - talk.Left, talk.Button(n).Top - talk.Top),
                  std::pair(16, 27 * n - 10))
            << n;
    talk.Set_Monster(999);
    EXPECT_EQ(talk.Button(1).Caption, "");
    Escape(talk);
    EXPECT_TRUE(talk.Kill);
    EXPECT_EQ(talk.Get_Choice(), 0);
}

// ---------------------------------------------------------------------------------------------------------
// Store

class Store_Dialog : public Creature_Dialogs {
protected:
    void SetUp() override {
        Creature_Dialogs::SetUp();
        auto store = std::make_unique<TStore>();
        store->Store_Name = "Лавка";
        store->Sell_Modifier = 150; // the player buys at 150 %
        store->Buy_Modifier = 40;   // and sells at 40 %
        Store = store.get();
        Number = Map->Add_Store(std::move(store));
        Keeper = Add_Creature(101, 100, "Keeper");
    }
    uint16_t Stock(const std::string& group, const std::string& name, int32_t value) {
        const uint16_t id = New_Item(name, value);
        Store->Stock_Group_Names.push_back(group);
        Store->Stock_Item_Ids.Add(id);
        return id;
    }
    // The centre of goods slot s (9 columns from (231, 52) in steps of 40).
    std::pair<int32_t, int32_t> Slot(const TDC_Dlg_Store& d, int32_t s) const {
        return {d.Left + 40 * ((s - 1) % 9) + 231 + 16, d.Top + 40 * ((s - 1) / 9) + 52 + 16};
    }
    void Press_Slot(TDC_Dlg_Store& d, int32_t s) {
        const auto [x, y] = Slot(d, s);
        Click(d, x, y);
    }

    TStore* Store = nullptr;
    int32_t Number = 0;
    TMonster* Keeper = nullptr;
};

TEST_F(Store_Dialog, NineGroupsGiveSevenSortedCaptionsAndGoodsByExactName) {
    const char* const groups[] = {"мечи",   "Броня",   "Зелья", "amulets", "Щиты",
                                  "кольца", "Ёмкости", "Еда",   "луки",    "БРОНЯ"};
    std::vector<uint16_t> ids;
    for (const char* g : groups) ids.push_back(Stock(g, std::string("Goods of ") + g, 10));
    const uint16_t second_armour = Stock("Броня", "Chain", 10);
    TDC_Dlg_Store store;
    Open(store, "Dlg Store");
    store.Set_Store(Number, Keeper->Id);
    const std::array<std::string, 7> expected = {"amulets", "Броня",  "Еда", "Ёмкости",
                                                 "Зелья",   "кольца", "луки"};
    for (int32_t n = 1; n <= 7; ++n)
        EXPECT_EQ(store.Caption(n), expected[static_cast<std::size_t>(n - 1)]) << n;
    EXPECT_EQ(store.Selected_Option(), 1);
    EXPECT_EQ(Ids(store.Shown_Items()), (std::vector<uint16_t>{ids[3]}));
    // The toggles are the small square buttons (type 1, the close button's size), showing picture 8 when
    // on and 9 when off.
    const TDC_Button& close = *store.Close_Button();
    for (int32_t n = 1; n <= 7; ++n) {
        const TDC_Button_Toggle& option = store.Option(n);
        EXPECT_EQ(std::vector<int32_t>({option.Button_Type, option.Width, option.Height, option.Image_Index}),
                  std::vector<int32_t>({1, close.Width, close.Height, n == 1 ? 8 : 9}))
            << n;
    }
    // Toggle n at (18, 29n + 20): one option on at a time, and "БРОНЯ" goods are not "Броня" goods.
    Click(store, store.Left + 18 + 4, store.Top + 29 * 2 + 20 + 4);
    EXPECT_EQ(store.Selected_Option(), 2);
    for (int32_t n = 1; n <= 7; ++n) EXPECT_EQ(store.Option(n).Is_On(), n == 2) << n;
    EXPECT_EQ(Ids(store.Shown_Items()), (std::vector<uint16_t>{ids[1], second_armour}));
}

TEST_F(Store_Dialog, BuyingTakesTheExactPriceAndTheLastStockEntry) {
    const uint16_t ring = Stock("rings", "Ring", 101); // 151.5: the price is 151
    Stock("rings", "Band", 10);
    Store->Stock_Group_Names.push_back("weapons");
    Store->Stock_Item_Ids.Add(ring); // a second entry of the same id, listed last
    struct TCase {
        int32_t Gold;
        bool Bought;
    };
    for (const TCase c : {TCase{150, false}, TCase{151, true}}) {
        SCOPED_TRACE(c.Gold);
        Hero->Gold = c.Gold;
        TDC_Dlg_Store store;
        Open(store, "Dlg Store");
        store.Set_Store(Number, Keeper->Id);
        Played();
        Press_Slot(store, 1);
        EXPECT_EQ(Hero->Gold, c.Bought ? 0 : c.Gold);
        EXPECT_EQ(Held_Item_Id(), c.Bought ? ring : 0);
        EXPECT_EQ(store.Shown_Items().Count(), c.Bought ? 1 : 2);
        EXPECT_EQ(Played(), c.Bought ? (std::vector<std::string>{"pick_up.wav", "money.wav"})
                                     : std::vector<std::string>{});
    }
    EXPECT_EQ(Store->Stock_Group_Names, (TString_List{"rings", "rings"}));
    EXPECT_EQ(Ids(Store->Stock_Item_Ids), (std::vector<uint16_t>{ring, static_cast<uint16_t>(ring + 1)}));
}

TEST_F(Store_Dialog, SellingPaysTheTruncatedPriceAndEmptiesTheCursor) {
    const uint16_t sword = Stock("weapons", "Sword", 50);
    Stock("armour", "Helm", 50);
    struct TCase {
        const char* Name;
        int32_t Value;
        uint16_t Event_Id;
        int32_t Slot;
        bool Sold;
        int32_t Paid;
    };
    const TCase cases[] = {
        {"sold", 333, 0, 9, true, 133}, // 333 x 40 / 100 = 133.2
        {"cheap, into the last slot", 99, 0, 45, true, 39},
        {"quest item", 500, 7, 9, false, 0},
        {"onto shown goods", 80, 0, 1, false, 0},
    };
    TDC_Dlg_Store store;
    Open(store, "Dlg Store");
    store.Set_Store(Number, Keeper->Id);
    // Sold items join the group shown now, whatever they were.
    Click(store, store.Left + 18 + 4, store.Top + 29 * 2 + 20 + 4);
    ASSERT_EQ(store.Caption(2), "weapons");
    std::vector<uint16_t> shown = {sword};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Hero->Gold = 1000;
        const uint16_t id = New_Item(c.Name, c.Value, c.Event_Id);
        Set_Held_Item_Id(id);
        Played();
        Press_Slot(store, c.Slot);
        EXPECT_EQ(Hero->Gold, 1000 + c.Paid);
        EXPECT_EQ(Held_Item_Id(), c.Sold ? 0 : id);
        if (c.Sold) shown.push_back(id);
        EXPECT_EQ(Ids(store.Shown_Items()), shown);
        EXPECT_EQ(Played(), c.Sold ? (std::vector<std::string>{"put_down.wav", "money.wav"})
                                   : std::vector<std::string>{});
        if (c.Sold) {
            EXPECT_EQ(Store->Stock_Item_Ids.Get(Store->Stock_Item_Ids.Count()), id);
            EXPECT_EQ(Store->Stock_Group_Names.back(), "weapons");
        }
    }
    EXPECT_EQ(Store->Stock_Item_Ids.Count(), 4);
    EXPECT_EQ(Store->Stock_Group_Names.size(), 4u);
}

TEST_F(Store_Dialog, AStoreNumberOfNoStoreTradesNothing) {
    Stock("weapons", "Sword", 50);
    const uint16_t held = New_Item("Axe", 100);
    for (int32_t bad : {0, -1, Number + 1}) {
        SCOPED_TRACE(bad);
        Hero->Gold = 500;
        Set_Held_Item_Id(held);
        TDC_Dlg_Store store;
        Open(store, "Dlg Store");
        store.Set_Store(bad, Keeper->Id);
        EXPECT_EQ(store.Caption(1), "");
        EXPECT_EQ(store.Shown_Items().Count(), 0);
        Press_Slot(store, 1);
        EXPECT_EQ(Held_Item_Id(), held);
        EXPECT_EQ(Hero->Gold, 500);
        EXPECT_EQ(Store->Stock_Item_Ids.Count(), 1);
    }
}

TEST_F(Store_Dialog, ThePriceRecordFollowsTheMouseAndEndsWithTheStore) {
    const uint16_t sword = Stock("weapons", "Sword", 50);
    Set_Cursor_Tooltip(true, false, 1, 2); // left from an earlier store
    {
        TDC_Dlg_Store store;
        EXPECT_FALSE(Cursor_Tooltip().Shown);
        EXPECT_EQ(Display_Obj->Item_Window, 1);
        Open(store, "Dlg Store");
        store.Set_Store(Number, Keeper->Id);
        const auto [x, y] = Slot(store, 1);
        store.MouseMove(0, x, y);
        EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_Item);
        EXPECT_EQ(Cursor_Target().Item_Id, sword);
        const TPanel_Price over_goods = Current_Panel_Price();
        EXPECT_TRUE(over_goods.Shown && over_goods.Buying && !over_goods.Selling);
        EXPECT_EQ(over_goods.Buy_Percent, 150);
        EXPECT_EQ(over_goods.Sell_Percent, 40);
        store.MouseMove(0, x + 40, y); // an empty slot
        EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_None);
        const TPanel_Price elsewhere = Current_Panel_Price();
        EXPECT_TRUE(elsewhere.Shown && !elsewhere.Buying && elsewhere.Selling);
        // The hovered goods are framed in the highlight colour before their picture.
        store.MouseMove(0, x, y);
        Clear_Page();
        store.Handle_DrawPage(0);
        EXPECT_EQ(Page(x - 16, y), Rgb(11, 31, 183));
        EXPECT_EQ(Page(x - 16 + 32, y), 0u);
    }
    EXPECT_FALSE(Cursor_Tooltip().Shown);
    EXPECT_FALSE(Current_Panel_Price().Shown);
    EXPECT_EQ(Display_Obj->Item_Window, 0);
}

// ---------------------------------------------------------------------------------------------------------
// Chest

class Chest_Dialog : public Creature_Dialogs {
protected:
    // The centre of chest slot s (5 columns from (56, 103) in steps of 40).
    static std::pair<int32_t, int32_t> Slot(const TDC_Dlg_Chest& d, int32_t s) {
        return {d.Left + 40 * ((s - 1) % 5) + 56 + 16, d.Top + 40 * ((s - 1) / 5) + 103 + 16};
    }
    void Press_Slot(TDC_Dlg_Chest& d, int32_t s) {
        const auto [x, y] = Slot(d, s);
        Click(d, x, y);
    }
    // The map saved and read back into a new one.
    std::unique_ptr<TMap> Saved_And_Loaded() {
        TStream_Writer w;
        Write_Map_File_Body(w, *Map);
        TStream_Reader r(w.Bytes());
        auto back = std::make_unique<TMap>();
        EXPECT_NO_THROW(EXPECT_TRUE(Read_Map_File_Body(r, *back, "chest.map")));
        return back;
    }
};

TEST_F(Chest_Dialog, TakeAndPutKeepTheChestTheCursorAndTheSavedMapInStep) {
    const uint16_t a = New_Item("A", 1), b = New_Item("B", 1), c = New_Item("C", 1), d = New_Item("D", 1);
    TWordList contents;
    for (uint16_t id : {a, b, a}) contents.Add(id);
    ASSERT_TRUE(Map->Add_Chest(contents, 101, 101));
    TDC_Dlg_Chest chest;
    EXPECT_EQ(Display_Obj->Item_Window, 1);
    Open(chest, "Dlg Chest");
    chest.Set_Location(101, 101);
    struct TStep {
        const char* Name;
        uint16_t Held_Before;
        int32_t Slot;
        uint16_t Held_After;
        std::vector<uint16_t> Shown, Chest;
        const char* Sound;
    };
    // A take removes the slot's entry from the dialog and the last equal id from the map's list.
    const TStep steps[] = {
        {"take the first", 0, 1, a, {b, a}, {a, b}, "pick_up.wav"},
        {"held onto an occupied slot", a, 2, a, {b, a}, {a, b}, nullptr},
        {"put into an empty slot", a, 15, 0, {b, a, a}, {a, b, a}, "put_down.wav"},
        {"an empty slot, nothing held", 0, 14, 0, {b, a, a}, {a, b, a}, nullptr},
        {"take the middle", 0, 2, a, {b, a}, {a, b}, "pick_up.wav"},
        {"put another", c, 3, 0, {b, a, c}, {a, b, c}, "put_down.wav"},
        {"take the one the map lists first", 0, 2, a, {b, c}, {b, c}, "pick_up.wav"},
    };
    for (const TStep& s : steps) {
        SCOPED_TRACE(s.Name);
        if (s.Held_Before) Set_Held_Item_Id(s.Held_Before);
        Played();
        Press_Slot(chest, s.Slot);
        EXPECT_EQ(Held_Item_Id(), s.Held_After);
        EXPECT_EQ(Ids(chest.Shown_Items()), s.Shown);
        EXPECT_EQ(Ids(*Map->Get_Chest(101, 101)), s.Chest);
        EXPECT_EQ(Played(), s.Sound ? std::vector<std::string>{s.Sound} : std::vector<std::string>{});
        if (s.Held_After) Set_Held_Item_Id(0);
    }
    // The right button and a missing player do nothing.
    Set_Held_Item_Id(d);
    Click(chest, Slot(chest, 5).first, Slot(chest, 5).second, Mouse_Button_Right);
    EXPECT_EQ(Held_Item_Id(), d);
    Set_Player(nullptr);
    Press_Slot(chest, 5);
    EXPECT_EQ(Held_Item_Id(), d);
    Set_Player(Hero);
    Press_Slot(chest, 5);
    EXPECT_EQ(Held_Item_Id(), 0);
    const std::unique_ptr<TMap> back = Saved_And_Loaded();
    ASSERT_NE(back->Get_Chest(101, 101), nullptr);
    EXPECT_EQ(Ids(*back->Get_Chest(101, 101)), (std::vector<uint16_t>{b, c, d}));
    EXPECT_NE(back->Item_List.Item(d), nullptr);
}

TEST_F(Chest_Dialog, APutOnAChestSquareWithoutARecordMakesOne) {
    const uint16_t gem = New_Item("Gem", 5);
    TDC_Dlg_Chest chest;
    Open(chest, "Dlg Chest");
    chest.Set_Location(103, 104);
    EXPECT_EQ(chest.Shown_Items().Count(), 0);
    Set_Held_Item_Id(gem);
    Press_Slot(chest, 1);
    EXPECT_EQ(Held_Item_Id(), 0);
    ASSERT_NE(Map->Get_Chest(103, 104), nullptr);
    EXPECT_EQ(Map->Chest_Count(), 1);
    const std::unique_ptr<TMap> back = Saved_And_Loaded();
    ASSERT_NE(back->Get_Chest(103, 104), nullptr);
    EXPECT_EQ(Ids(*back->Get_Chest(103, 104)), (std::vector<uint16_t>{gem}));
    // Off the map no record can be made: the item stays on the cursor.
    TDC_Dlg_Chest nowhere;
    Open(nowhere, "Dlg Chest");
    nowhere.Set_Location(0, 300);
    Set_Held_Item_Id(gem);
    Press_Slot(nowhere, 1);
    EXPECT_EQ(Held_Item_Id(), gem);
}

TEST_F(Chest_Dialog, TheSixteenthItemIsDrawnBelowTheGridAndCannotBeTaken) {
    TWordList contents;
    std::vector<uint16_t> ids;
    for (int32_t n = 1; n <= 16; ++n) {
        ids.push_back(New_Item("Item " + std::to_string(n), 1));
        contents.Add(ids.back());
        Map->Item_List.Item(ids.back())->Set_Picture_Index(static_cast<int16_t>(n));
    }
    ASSERT_TRUE(Map->Add_Chest(contents, 101, 101));
    TDC_Dlg_Chest chest;
    Open(chest, "Dlg Chest");
    chest.Set_Location(101, 101);
    const auto [x, y] = Slot(chest, 16); // one row below the grid
    Click(chest, x, y);
    EXPECT_EQ(Held_Item_Id(), 0);
    chest.MouseMove(0, x, y);
    EXPECT_EQ(Cursor_Target().Kind, Cursor_Target_None);
    Take_World();
    chest.Handle_DrawPage(0);
    const std::vector<std::string> drawn = Take_World("Item");
    ASSERT_EQ(drawn.size(), 16u);
    TRecording_Display_Sink expected;
    expected.Draw_Item_Tile(0, x - 16, y - 16, false, 16);
    EXPECT_EQ(drawn.back(), expected.Calls.back());
}

// ---------------------------------------------------------------------------------------------------------
// Layout shared by the store, give-item and conversation dialogs

// Slot s starts at its corner and takes 33 x 33 pixels; the close button sits where the picture shows it.
TEST_F(Creature_Dialogs, SlotsAndCloseButtonsSitOnTheirPictures) {
    TDC_Dlg_Store store;
    TDC_Dlg_GiveItem give;
    TDC_Dlg_Conversation conversation;
    Open(store, "Dlg Store");
    Open(give, "Dlg GiveItem");
    Open(conversation, "Dlg Conversation");
    const struct {
        TDC_Dlg_Item_Slots* Dialog;
        int32_t Slot, X, Y;
    } slots[] = {{&give, 1, 79, 73},   {&give, 4, 199, 73},   {&store, 1, 231, 52},
                 {&store, 9, 551, 52}, {&store, 10, 231, 92}, {&store, 45, 551, 212}};
    for (const auto& c : slots) {
        const TDC_Dlg_Item_Slots& d = *c.Dialog;
        const int32_t x = d.Left + c.X, y = d.Top + c.Y;
        SCOPED_TRACE(d.Name + " slot " + std::to_string(c.Slot));
        EXPECT_EQ(d.Slot_At(x, y), c.Slot);
        EXPECT_EQ(d.Slot_At(x + 32, y + 32), c.Slot);
        EXPECT_NE(d.Slot_At(x - 1, y), c.Slot);
        EXPECT_NE(d.Slot_At(x, y - 1), c.Slot);
        EXPECT_NE(d.Slot_At(x + 33, y), c.Slot);
        EXPECT_NE(d.Slot_At(x, y + 33), c.Slot);
    }
    const struct {
        TDC_Dlg_Picture* Dialog;
        int32_t X, Y;
    } closes[] = {{&store, 563, 251}, {&give, 213, 125}, {&conversation, 455, 255}};
    EXPECT_EQ(std::vector<int32_t>({conversation.Topic_List.Left - conversation.Left,
                                    conversation.Topic_List.Top - conversation.Top,
                                    conversation.Topic_List.Width, conversation.Topic_List.Height}),
              std::vector<int32_t>({21, 87, 163, 195}));
    for (const auto& c : closes)
        EXPECT_EQ(std::pair(c.Dialog->Close_Button()->Left - c.Dialog->Left,
                            c.Dialog->Close_Button()->Top - c.Dialog->Top),
                  std::pair(c.X, c.Y))
            << c.Dialog->Name;
}

// ---------------------------------------------------------------------------------------------------------
// Give item and conversation

TEST_F(Creature_Dialogs, GivingFiresTheEventOnlyWithBothIdsAndTheItemsLeaveTheMap) {
    Add_Quest_Event(Trigger_Item_Given_To_Monster, 4, 3, 0, 1);
    Add_Quest_Event(Trigger_Item_Given_To_Monster, 0, 3, 0, 2);
    Add_Quest_Event(Trigger_Item_Given_To_Monster, 4, 0, 0, 3);
    struct TCase {
        const char* Name;
        uint16_t Item_Event, Creature_Event;
        std::vector<bool> Visible;
    };
    const TCase cases[] = {
        {"no item event", 0, 4, {false, false, false}},
        {"no creature event", 3, 0, {false, false, false}},
        {"both", 3, 4, {true, false, false}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMonster* giver = Add_Creature(90, 91, "Giver");
        giver->Event_Id = static_cast<int16_t>(c.Creature_Event);
        const uint16_t first = New_Item("Letter", 1, c.Item_Event);
        const uint16_t second = New_Item("Seal", 1);
        {
            TDC_Dlg_GiveItem give;
            EXPECT_EQ(Display_Obj->Item_Window, 1);
            Open(give, "Dlg GiveItem");
            give.Set_Monster(giver->Id);
            // Slot i at (40i + 39, 73).
            const auto press = [&](int32_t i) {
                Click(give, give.Left + 40 * i + 39 + 16, give.Top + 73 + 16);
            };
            press(1); // nothing held
            EXPECT_EQ(give.Shown_Items().Count(), 0);
            Set_Held_Item_Id(first);
            press(4);
            Set_Held_Item_Id(second);
            press(1); // shows the first item: nothing given
            EXPECT_EQ(Held_Item_Id(), second);
            press(2);
            EXPECT_EQ(Held_Item_Id(), 0);
            EXPECT_EQ(Ids(give.Shown_Items()), (std::vector<uint16_t>{first, second}));
            // A quest shown by the event sounds before the item is put down.
            std::vector<std::string> sounds = {"put_down.wav", "put_down.wav"};
            if (c.Visible[0]) sounds.insert(sounds.begin(), "new_q.wav");
            EXPECT_EQ(Played(), sounds);
            EXPECT_EQ(Quests_Visible(), c.Visible);
            EXPECT_NE(Find_Item(first), nullptr); // still there while the dialog is
        }
        EXPECT_EQ(Find_Item(first), nullptr);
        EXPECT_EQ(Find_Item(second), nullptr);
        EXPECT_EQ(Display_Obj->Item_Window, 0);
        for (TModule_Quest& q : Module()->Quests.Quests) q.Visible = false;
        for (TModule_Event& e : Module()->Events.Events) e.Enabled = true;
        Map->Remove_Monster(giver->Id);
        Map->End_Tick();
    }
    // A creature that is gone takes nothing.
    const uint16_t kept = New_Item("Kept", 1, 3);
    TDC_Dlg_GiveItem give;
    Open(give, "Dlg GiveItem");
    give.Set_Monster(999);
    Set_Held_Item_Id(kept);
    Click(give, give.Left + 40 + 39 + 16, give.Top + 73 + 16);
    EXPECT_EQ(Held_Item_Id(), kept);
}

TEST_F(Creature_Dialogs, AskingATopicShowsTheAnswerAndFiresOnlyWithAnEventId) {
    Add_Quest_Event(Trigger_Monster_Talked_To_About_Topic, 4, 0, 2, 1);
    Add_Quest_Event(Trigger_Monster_Talked_To_About_Topic, 0, 0, 2, 2);
    for (int16_t event_id : {int16_t{0}, int16_t{4}}) {
        SCOPED_TRACE(event_id);
        TMonster* sage = Add_Creature(90, 92, "Sage");
        sage->Event_Id = event_id;
        sage->Talk_Topics = {"Barrow", "King", "Road"};
        sage->Talk_Texts = {"Cold.", "He sleeps.", "North."};
        TDC_Dlg_Conversation talk;
        Open(talk, "Dlg Conversation");
        talk.Set_Monster(sage->Id);
        ASSERT_EQ(talk.Topic_List.Line_Count(), 3);
        // The list at (21, 87), 16-pixel lines: the second line.
        Click(talk, talk.Left + 21 + 20, talk.Top + 87 + 16 + 8);
        EXPECT_EQ(talk.Answer(), "He sleeps.");
        EXPECT_EQ(Quests_Visible(), (std::vector<bool>{event_id != 0, false}));
        // The first and the last topic answer; numbers past the topics do nothing.
        const std::pair<int32_t, const char*> asked[] = {
            {1, "Cold."}, {3, "North."}, {0, "North."}, {4, "North."}};
        for (const auto& [topic, answer] : asked) {
            talk.Choose_Topic(topic);
            EXPECT_EQ(talk.Answer(), answer) << topic;
        }
        // A topic without its text (not from a file) answers nothing.
        sage->Talk_Texts.pop_back();
        talk.Choose_Topic(3);
        EXPECT_EQ(talk.Answer(), "");
        talk.Choose_Topic(2);
        EXPECT_EQ(talk.Answer(), "He sleeps.");
        Map->Remove_Monster(sage->Id);
        Map->End_Tick();
        talk.Choose_Topic(1); // the creature is gone
        EXPECT_EQ(talk.Answer(), "He sleeps.");
        for (TModule_Quest& q : Module()->Quests.Quests) q.Visible = false;
        for (TModule_Event& e : Module()->Events.Events) e.Enabled = true;
    }
    TDC_Dlg_Conversation talk;
    Open(talk, "Dlg Conversation");
    Escape(talk);
    EXPECT_TRUE(talk.Kill);
}

} // namespace
