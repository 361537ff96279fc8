#include "core/SaveSlots.h"
#include "tests/ui/TickFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Game_Tick : public TTick_Fixture {
protected:
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) Tick.Process_Tick(i, 20.0);
    }
};

TEST_F(Game_Tick, TheWorldRunsOnlyWhenShownUnpausedAndRunningButTheBlinkAlways) {
    struct TCase {
        const char* Name;
        bool Display, Paused, Running, Walks;
    };
    const std::vector<TCase> cases = {
        {"running", true, false, true, true},
        {"paused", true, true, true, false},
        {"no display", false, false, true, false},
        {"world stopped", true, false, false, false},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Hero->Move_To(10, 10);
        Host.Display = t.Display;
        Host.Paused = t.Paused;
        Host.Running = t.Running;
        Tick.Blink = false;
        Tick.Blink_Clock = 0;
        Tick.Pending_Command = Command_Walk;
        Tick.Target_X = 13;
        Tick.Target_Y = 10;
        std::vector<int> blinks;
        for (int i = 1; i <= 40; ++i) {
            const bool before = Tick.Blink;
            Tick.Process_Tick(i, 20.0);
            if (Tick.Blink != before) blinks.push_back(i);
        }
        EXPECT_EQ(blinks, (std::vector<int>{13, 26, 39}));
        EXPECT_EQ(Hero->X, t.Walks ? 13 : 10);
        EXPECT_EQ(Tick.Pending_Command, t.Walks ? Command_None : Command_Walk);
        EXPECT_EQ(Tick.Target_X, t.Walks ? 0 : 13);
    }
}

TEST_F(Game_Tick, CommandsAndTheHeldButton) {
    // An act command is carried out once, whatever it did.
    Tick.Pending_Command = Command_Act;
    Tick.Target_X = Tick.Target_Y = 12;
    Ticks(1);
    EXPECT_EQ(Tick.Pending_Command, Command_None);
    EXPECT_EQ(Tick.Target_X + Tick.Target_Y, 0);

    // A held button walks toward the square under the mouse: the centre of view cell (8, 16). The cell in
    // front of it, (8, 17), is the player's own square, whose picture does not cover the point.
    Host.On_Square = [](int32_t, int32_t, int32_t x, int32_t y) { return x == 11 && y == 10; };
    Host.Mouse_X = 426;
    Host.Mouse_Y = 350;
    Tick.Left_Button_Held = true;
    Host.Mouse_Inside = false;
    Ticks(1);
    EXPECT_EQ(Hero->X, 10);
    Host.Mouse_Inside = true;
    Tick.Walking = true; // a step being computed takes no new target
    Ticks(1);
    EXPECT_EQ(Hero->X, 10);
    Tick.Walking = false;
    Ticks(1);
    EXPECT_EQ(std::pair(int(Hero->X), int(Hero->Y)), std::pair(11, 10));
    EXPECT_EQ(Tick.Pending_Command, Command_None);
    EXPECT_FALSE(Tick.Walking);
}

TEST_F(Game_Tick, ViewCellsAndScreenPoints) {
    Hero->Move_To(100, 100);
    int32_t x = 0, y = 0;
    Tick.Get_View_Origin(x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(93, 93));
    struct TCell {
        int32_t I, N;
        bool On_Map;
        int32_t X, Y;
    };
    for (const TCell& c :
         {TCell{1, 1, true, 101, 85}, TCell{8, 16, true, 101, 100}, TCell{15, 31, true, 100, 114},
          TCell{8, 15, true, 101, 99}, TCell{2, 1, true, 102, 86}, TCell{1, 2, true, 101, 86}}) {
        EXPECT_EQ(Tick.View_Cell_To_Map(c.I, c.N, x, y), c.On_Map) << c.I << "," << c.N;
        EXPECT_EQ(std::pair(x, y), std::pair(c.X, c.Y)) << c.I << "," << c.N;
    }
    // Near the corner of the map cells fall off it; without a player the last origin stays.
    Hero->Move_To(8, 8);
    EXPECT_FALSE(Tick.View_Cell_To_Map(1, 31, x, y)); // x = 1 + 1 - 15 + 7
    EXPECT_TRUE(Tick.View_Cell_To_Map(8, 16, x, y));
    Set_Player(nullptr);
    Tick.Get_View_Origin(x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(1, 1));
    Set_Player(Hero);
    Hero->Move_To(100, 100);

    struct TPoint {
        const char* Name;
        int32_t X, Y;
        bool Exact;
        bool Found;
        int32_t Map_X, Map_Y;
    };
    // Exact picking: only square (101, 99), the cell behind the point's own, draws over it.
    Host.On_Square = [](int32_t, int32_t, int32_t x, int32_t y) { return x == 101 && y == 99; };
    const std::vector<TPoint> points = {
        {"centre of cell 8,16", 426, 350, false, true, 101, 100},
        {"centre of cell 8,15", 400, 337, false, true, 101, 99},
        {"centre of corner cell 1,1 lies outside the 15 x 15 squares", 36, 155, false, false, 0, 0},
        {"above the view", 400, 100, false, false, 0, 0},
        {"exact: the front cells do not cover, the one behind does", 426, 350, true, true, 101, 99},
        {"exact: nothing covers", 36, 155, true, false, 0, 0},
    };
    for (const TPoint& p : points) {
        SCOPED_TRACE(p.Name);
        x = y = 0;
        EXPECT_EQ(Tick.Screen_To_Map(p.X, p.Y, p.Exact, x, y), p.Found);
        if (p.Found) {
            EXPECT_EQ(std::pair(x, y), std::pair(p.Map_X, p.Map_Y));
        }
    }
}

TEST_F(Game_Tick, AutosaveTiming) {
    struct TCase {
        const char* Name;
        bool Dont, Every_1, Every_5, Every_20;
        bool Tool, Started, With_Player;
        int32_t Clock;
        int Ticks;
        bool Saved;
        int32_t Clock_After;
    };
    const std::vector<TCase> cases = {
        {"five minutes: not on tick 6000", false, false, true, false, false, true, true, 0, 6000, false,
         300000},
        {"five minutes: on tick 6001", false, false, true, false, false, true, true, 0, 6001, true, 0},
        {"every minute decides first", false, true, true, true, false, true, true, 0, 1201, true, 0},
        {"every minute: not on tick 1200", false, true, false, false, false, true, true, 0, 1200, false,
         60000},
        {"twenty minutes", false, false, false, true, false, true, true, 1199950, 1, false, 1200000},
        {"twenty minutes: over", false, false, false, true, false, true, true, 1200000, 1, true, 0},
        {"don't autosave resets the clock", true, true, false, false, false, true, true, 50000, 1, false, 0},
        {"none chosen: the clock runs on", false, false, false, false, false, true, true, 2000000, 2, false,
         2000100},
        {"tool mode", false, true, false, false, true, true, true, 70000, 1, false, 70000},
        {"not started", false, true, false, false, false, false, true, 70000, 1, false, 70000},
        {"no player: no save", false, true, false, false, false, true, false, 60000, 1, false, 0},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Delete_Files(Path_Settings()->Get_Save_Slot_Folder(Autosave_Slot));
        TMachine_Options& o = Machine_Options();
        o.Dont_Autosave = t.Dont;
        o.Autosave_Every_Minute = t.Every_1;
        o.Autosave_Every_5_Minutes = t.Every_5;
        o.Autosave_Every_20_Minutes = t.Every_20;
        Host.Tool = t.Tool;
        Host.Started = t.Started;
        Set_Player(t.With_Player ? Hero : nullptr);
        Tick.Autosave_Clock = t.Clock;
        Ticks(t.Ticks);
        EXPECT_EQ(Tick.Autosave_Clock, t.Clock_After);
        EXPECT_EQ(Read_Save_Description(Path_Settings()->Get_Save_Slot_Folder(Autosave_Slot)),
                  t.Saved ? "Autosave 09.12.2026 14:05:03" : "");
    }
    EXPECT_TRUE(Messages->Messages.empty());
}

TEST_F(Game_Tick, AutosaveReleasesTheHeldItemAndAFailedSaveKeepsTheSlot) {
    Machine_Options().Dont_Autosave = false;
    Machine_Options().Autosave_Every_Minute = true;
    Set_Held_Item(Add_Item("gem"));
    Tick.Autosave_Clock = 60000;
    Ticks(1);
    EXPECT_EQ(Held_Item_Id(), 0);
    ASSERT_NE(Hero->Inventory.Count(), 0);
    EXPECT_EQ(Find_Item(Hero->Inventory.Contents().Id(1))->Name, "gem");
    const std::string slot = Path_Settings()->Get_Save_Slot_Folder(Autosave_Slot);
    const std::string first = Folder.Read("Savegames/slot10/1.map");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(Folder.Read("CurrGame/1.map"), first);

    Add_Item("dropped later");
    plat::Set_Write_Fault(plat::TWrite_Fault{"CurrGame/1.map", plat::TWrite_Step::Write, 0});
    Tick.Autosave_Clock = 60000;
    Ticks(1);
    EXPECT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(Folder.Read("Savegames/slot10/1.map"), first);
    EXPECT_EQ(Read_Save_Description(slot), "Autosave 09.12.2026 14:05:03");
}

TEST_F(Game_Tick, AutosaveDescription) {
    std::tm t{};
    t.tm_mday = 1;
    t.tm_mon = 0;
    t.tm_year = 99;
    t.tm_hour = 0;
    t.tm_min = 7;
    t.tm_sec = 59;
    EXPECT_EQ(Autosave_Description(t), "Autosave 01.01.1999 00:07:59");
}

TEST_F(Game_Tick, ModuleOutcomes) {
    const auto outcome = [](uint8_t kind, const std::string& text) {
        TEvent_Return_Result r;
        r.Kind = kind;
        r.End_Game = kind == Return_End_Game;
        if (kind == Return_Play_Music)
            r.Music_File = text;
        else
            r.Title = text;
        r.Paragraphs = {"one", "two"};
        return r;
    };
    struct TCase {
        const char* Name;
        std::vector<TEvent_Return_Result> Queue;
        bool Text_Open, Running, With_Player;
        std::vector<std::string> Calls;
        int Left;
    };
    const std::vector<TCase> cases = {
        {"music chains, then one text",
         {outcome(3, "a.mid"), outcome(2, "Gate"), outcome(3, "b.mid"), outcome(2, "Hall")},
         false,
         true,
         true,
         {"music a.mid", "controls off", "text Gate (2)"},
         2},
        {"one end per call",
         {outcome(1, ""), outcome(2, "After")},
         false,
         true,
         true,
         {"controls off", "stop world", "menu"},
         1},
        {"an unknown kind is dropped",
         {outcome(0, "x"), outcome(3, "c.mid")},
         false,
         true,
         true,
         {"music c.mid"},
         0},
        {"an open text makes the next outcome wait", {outcome(2, "Later")}, true, true, true, {}, 1},
        {"the world stopped", {outcome(3, "d.mid")}, false, false, true, {}, 1},
        {"no player", {outcome(1, "")}, false, true, false, {}, 1},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        TEvent_Return_Result drop;
        while (Module()->Events.Pop_Return_Result(drop)) {
        }
        for (const auto& r : t.Queue) Module()->Events.Push_Return_Result(r);
        Host.Calls.clear();
        Host.Text_Open = t.Text_Open;
        Host.Running = t.Running;
        Set_Player(t.With_Player ? Hero : nullptr);
        Tick.Process_Module_Events();
        EXPECT_EQ(Host.Calls, t.Calls);
        EXPECT_EQ(Module()->Events.Get_Return_Result_Count(), t.Left);
    }

    // A text shown, the next waits until the text closes.
    Set_Player(Hero);
    Host.Running = true;
    Host.Text_Open = false;
    TEvent_Return_Result drop;
    while (Module()->Events.Pop_Return_Result(drop)) {
    }
    for (const char* title : {"First", "Second"}) Module()->Events.Push_Return_Result(outcome(2, title));
    Host.Calls.clear();
    Tick.Process_Module_Events();
    Tick.Process_Module_Events();
    Host.Text_Open = false;
    Tick.Process_Module_Events();
    EXPECT_EQ(Host.Calls, (std::vector<std::string>{"controls off", "text First (2)", "controls off",
                                                    "text Second (2)"}));
}

TEST_F(Game_Tick, TheEndOfTheModuleStoresTheCharacterWithTheHeldItem) {
    Hero->Set_Character_State(Character_In_Use);
    Set_Held_Item(Add_Item("gem"));
    TEvent_Return_Result end;
    end.Kind = Return_End_Game;
    Module()->Events.Push_Return_Result(end);
    Tick.Process_Module_Events();
    EXPECT_EQ(Hero->Character_State, Character_Available);
    EXPECT_EQ(Held_Item_Id(), 0);
    TMonster stored;
    ASSERT_TRUE(Load_Character(stored, Folder.File("Characters/hero.dat")));
    EXPECT_EQ(stored.Character_State, Character_Available);
    ASSERT_EQ(stored.Inventory.Count(), 1);
    EXPECT_EQ(Find_Item(stored.Inventory.Contents().Id(1))->Name, "gem");
    EXPECT_FALSE(Host.Running);
}

TEST_F(Game_Tick, TalkChestAndDeath) {
    struct TCase {
        const char* Name;
        bool Creature_Dialog;
        std::function<void(const TCallback_Set&)> Call;
        std::vector<std::string> Calls;
    };
    const std::vector<TCase> cases = {
        {"talk", false, [](const TCallback_Set& c) { c.On_Open_Talk(5); }, {"pause", "talk 5"}},
        {"talk over a creature dialog", true, [](const TCallback_Set& c) { c.On_Open_Talk(5); }, {}},
        {"chest", false, [](const TCallback_Set& c) { c.On_Open_Chest(7, 8); }, {"pause", "chest 7,8"}},
        {"chest over a creature dialog", true, [](const TCallback_Set& c) { c.On_Open_Chest(7, 8); }, {}},
        {"death does not pause",
         true,
         [](const TCallback_Set& c) { c.On_Player_Death("hero", 1, "bite", 3, "rat", 100, 2); },
         {"free non-pausing", "hide windows", "dead hero by rat L2"}},
        {"spell buttons", false, [](const TCallback_Set& c) { c.On_Refresh_Spells(); }, {"spell buttons"}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Host.Calls.clear();
        Host.Creature_Dialog = t.Creature_Dialog;
        t.Call(Tick.Callbacks());
        EXPECT_EQ(Host.Calls, t.Calls);
    }
}

} // namespace
