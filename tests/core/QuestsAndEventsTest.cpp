// Quests and module events: completing a quest runs its waiting events before the experience and the
// sound; events fire only when all their triggers of the deed's kind match; outcomes queue in order; events
// that complete their own or each other's quests end; both data files load as the keys say.
#include "core/CharClass.h"
#include "core/Module.h"
#include "core/NameTables.h"
#include "core/Path.h"
#include "core/WorldEvents.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

TModule_Event_Result Result_Of(uint8_t type, uint16_t quest = 0, const std::string& text = "") {
    TModule_Event_Result r;
    r.Result_Type = type;
    r.Quest_Id = quest;
    r.Text_Title = text;
    r.Music_File = text;
    r.Paragraphs = {text + " 1", text + " 2"};
    return r;
}

TModule_Event_Trigger Trigger_Of(uint8_t type, uint16_t monster, uint16_t item, uint16_t topic,
                                 uint16_t quest) {
    TModule_Event_Trigger t;
    t.Trigger_Type = type;
    t.Monster_Event_Id = monster;
    t.Item_Event_Id = item;
    t.Topic_Id = topic;
    t.Quest_Id = quest;
    return t;
}

TModule_Event Event_Of(std::vector<TModule_Event_Trigger> triggers, std::vector<TModule_Event_Result> results,
                       bool permanent = false) {
    TModule_Event e;
    e.Enabled = true;
    e.Permanent = permanent;
    e.Triggers = std::move(triggers);
    e.Results = std::move(results);
    return e;
}

TModule_Quest Quest_Of(uint16_t id, int32_t experience, bool visible = false) {
    TModule_Quest q;
    q.Quest_Id = id;
    q.Quest_Name = "Quest " + std::to_string(id);
    q.Experience = experience;
    q.Visible = visible;
    return q;
}

class Quests_And_Events : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Folder.Write("Data/Classes.txt", Data_File_Text({{{"Class Name", "Fighter"}}}, "Classes"));
        Reload_Class_Info(); // the missing keys are reported; the experience table is set here
        Get_Class(1)->Experience_Table.Clear();
        for (int32_t need : {100, 120, 500}) Get_Class(1)->Experience_Table.Add(need);
        Hero = Add_Creature(5, 5, "hero");
        Hero->Set_Class(1);
        Hero->Level = 1;
        Set_Player(Hero);
        Sounds->Played.clear();
        Messages->Error_Lists.clear();
        Install_Module(std::make_unique<TModule>());
        M = Module();
        for (uint16_t n = 1; n <= 2; ++n) M->Quests.Quests.push_back(Quest_Of(n, 150 * n));
    }
    void TearDown() override {
        World_Events::Install(nullptr);
        Install_Module(nullptr);
        Free_Class_Info();
        TMap_Fixture::TearDown();
    }
    std::vector<TEvent_Return_Result> Pop_All() {
        std::vector<TEvent_Return_Result> all;
        TEvent_Return_Result r;
        while (M->Events.Pop_Return_Result(r)) all.push_back(r);
        return all;
    }
    // Writes the module's data file and selects the module for the path settings.
    void Write_Module_Data(const std::string& file, const std::vector<TKeys>& records) {
        Folder.Write("Modules/Test/Data/" + file, Data_File_Text(records));
        ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
    }

    TMonster* Hero = nullptr;
    TModule* M = nullptr;
};

TEST_F(Quests_And_Events, CompletingRunsTheWaitingEventsThenExperienceFlagAndSoundEveryTime) {
    // The waiting event queues a text and shows quest 2, which plays its own sound first.
    M->Events.Events.push_back(
        Event_Of({Trigger_Of(Trigger_Quest_Completed, 0, 0, 0, 1)},
                 {Result_Of(Result_Display_Text, 0, "Done"), Result_Of(Result_Quest_Visible_True, 2)}, true));
    M->Quests.Complete_Quest(1);
    EXPECT_TRUE(M->Quests.Get_Quest(1)->Completed);
    EXPECT_EQ(Sounds->Names(), (std::vector<std::string>{"new_q.wav", "newlevel.wav", "q_comp.wav"}));
    EXPECT_EQ(Hero->Level, 2);
    EXPECT_EQ(Hero->Experience, 30);
    EXPECT_EQ(Hero->Quests_Changed, 1);
    ASSERT_EQ(M->Events.Get_Return_Result_Count(), 1);

    // A second completion runs all of it again.
    Sounds->Played.clear();
    Hero->Set_Quests_Changed(false);
    M->Quests.Complete_Quest(1);
    EXPECT_EQ(Sounds->Names(), (std::vector<std::string>{"new_q.wav", "q_comp.wav"}));
    EXPECT_EQ(Hero->Experience, 180);
    EXPECT_EQ(Hero->Quests_Changed, 1);
    EXPECT_EQ(M->Events.Get_Return_Result_Count(), 2);

    // The player has died while the world runs on: the quest still completes, nobody gains anything.
    Set_Player(nullptr);
    Sounds->Played.clear();
    M->Quests.Complete_Quest(1);
    EXPECT_EQ(Sounds->Names(), (std::vector<std::string>{"new_q.wav", "q_comp.wav"}));
    EXPECT_EQ(Hero->Experience, 180);
    EXPECT_EQ(M->Events.Get_Return_Result_Count(), 3);
}

TEST_F(Quests_And_Events, ShowingHidingAndFailingByPosition) {
    const struct {
        std::function<void(TModule_Quests_List&)> Act;
        const char* Sound; // "" for none
        bool Flag;         // the player's flag afterwards (it starts clear)
        bool Visible_2, Failed_2;
    } cases[] = {
        {[](TModule_Quests_List& q) { q.Set_Quest_Visible(2, true); }, "new_q.wav", true, true, false},
        {[](TModule_Quests_List& q) { q.Set_Quest_Visible(2, false); }, "", false, false, false},
        {[](TModule_Quests_List& q) { q.Fail_Quest(2); }, "q_fail.wav", true, false, true},
        {[](TModule_Quests_List& q) { q.Set_Quest_Visible(0, true); }, "", false, false, false},
        {[](TModule_Quests_List& q) { q.Set_Quest_Visible(3, true); }, "", false, false, false},
        {[](TModule_Quests_List& q) { q.Fail_Quest(3); }, "", false, false, false},
        {[](TModule_Quests_List& q) { q.Complete_Quest(0); }, "", false, false, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n++);
        M->Quests.Quests = {Quest_Of(1, 0, true), Quest_Of(2, 0, false)};
        Sounds->Played.clear();
        Hero->Set_Quests_Changed(false);
        c.Act(M->Quests);
        EXPECT_EQ(Sounds->Names(),
                  c.Sound[0] ? std::vector<std::string>{c.Sound} : std::vector<std::string>{});
        EXPECT_EQ(Hero->Quests_Changed != 0, c.Flag);
        EXPECT_EQ(M->Quests.Get_Quest(2)->Visible, c.Visible_2);
        EXPECT_EQ(M->Quests.Get_Quest(2)->Failed, c.Failed_2);
        EXPECT_TRUE(M->Quests.Get_Quest(1)->Visible);
        EXPECT_FALSE(M->Quests.Get_Quest(1)->Completed);
    }
    // Hiding leaves a flag that was set.
    Hero->Set_Quests_Changed(true);
    M->Quests.Set_Quest_Visible(1, false);
    EXPECT_EQ(Hero->Quests_Changed, 1);
}

TEST_F(Quests_And_Events, TriggersFireOnlyWhenAllOfTheDeedsKindMatch) {
    using TFire = std::function<bool(TModule_Events_List&)>;
    const TFire kill_5 = [](TModule_Events_List& e) { return e.Fire_Monster_Killed(5); };
    const struct {
        const char* Name;
        std::vector<TModule_Event_Trigger> Triggers;
        TFire Fire;
        bool Fires;
    } cases[] = {
        {"two kill triggers, first", {Trigger_Of(2, 5, 0, 0, 0), Trigger_Of(2, 6, 0, 0, 0)}, kill_5, false},
        {"two kill triggers, second",
         {Trigger_Of(2, 5, 0, 0, 0), Trigger_Of(2, 6, 0, 0, 0)},
         [](TModule_Events_List& e) { return e.Fire_Monster_Killed(6); },
         false},
        {"kill and quest, on the kill", {Trigger_Of(2, 5, 0, 0, 0), Trigger_Of(4, 0, 0, 0, 9)}, kill_5, true},
        {"kill and quest, on the quest",
         {Trigger_Of(2, 5, 0, 0, 0), Trigger_Of(4, 0, 0, 0, 9)},
         [](TModule_Events_List& e) { return e.Fire_Quest_Completed(9); },
         true},
        {"other creature", {Trigger_Of(2, 4, 0, 0, 0)}, kill_5, false},
        {"id -1 is 65535",
         {Trigger_Of(2, 65535, 0, 0, 0)},
         [](TModule_Events_List& e) { return e.Fire_Monster_Killed(-1); },
         true},
        {"no trigger of the kind", {Trigger_Of(4, 5, 0, 0, 5)}, kill_5, false},
        {"the kill's other keys are not compared", {Trigger_Of(2, 5, 1, 2, 3)}, kill_5, true},
        {"item given",
         {Trigger_Of(1, 4, 3, 0, 0)},
         [](TModule_Events_List& e) { return e.Fire_Item_Given_To_Monster(3, 4); },
         true},
        {"item given to another creature",
         {Trigger_Of(1, 4, 3, 0, 0)},
         [](TModule_Events_List& e) { return e.Fire_Item_Given_To_Monster(3, 5); },
         false},
        {"another item given",
         {Trigger_Of(1, 4, 3, 0, 0)},
         [](TModule_Events_List& e) { return e.Fire_Item_Given_To_Monster(2, 4); },
         false},
        {"topic",
         {Trigger_Of(3, 4, 0, 2, 0)},
         [](TModule_Events_List& e) { return e.Fire_Monster_Talked_To_About_Topic(4, 2); },
         true},
        {"another topic",
         {Trigger_Of(3, 4, 0, 2, 0)},
         [](TModule_Events_List& e) { return e.Fire_Monster_Talked_To_About_Topic(4, 1); },
         false},
        {"another creature's topic",
         {Trigger_Of(3, 4, 0, 2, 0)},
         [](TModule_Events_List& e) { return e.Fire_Monster_Talked_To_About_Topic(3, 2); },
         false},
        {"another quest",
         {Trigger_Of(4, 0, 0, 0, 9)},
         [](TModule_Events_List& e) { return e.Fire_Quest_Completed(8); },
         false},
    };
    for (const auto& c : cases) {
        TModule_Events_List events;
        events.Events.push_back(Event_Of(c.Triggers, {Result_Of(Result_End_Game)}));
        EXPECT_EQ(c.Fire(events), c.Fires) << c.Name;
        EXPECT_EQ(events.Get_Return_Result_Count(), c.Fires ? 1 : 0) << c.Name;
        EXPECT_EQ(events.Events[0].Enabled, !c.Fires) << c.Name;
        // A disabled event never fires.
        events.Events[0].Enabled = false;
        EXPECT_FALSE(c.Fire(events)) << c.Name;
    }
}

TEST_F(Quests_And_Events, OneShotAndPermanentEventsAndTheQueueInOrder) {
    M->Events.Events = {Event_Of({Trigger_Of(2, 7, 0, 0, 0)}, {Result_Of(Result_Display_Text, 0, "Text"),
                                                               Result_Of(Result_Play_Music, 0, "tune.mid"),
                                                               Result_Of(Result_None), Result_Of(200)}),
                        Event_Of({Trigger_Of(2, 7, 0, 0, 0)}, {Result_Of(Result_End_Game)}, true)};
    EXPECT_TRUE(M->Events.Fire_Monster_Killed(7));
    EXPECT_TRUE(M->Events.Fire_Monster_Killed(7)); // the permanent one alone
    EXPECT_FALSE(M->Events.Events[0].Enabled);
    EXPECT_TRUE(M->Events.Events[1].Enabled);
    const std::vector<TEvent_Return_Result> queued = Pop_All();
    ASSERT_EQ(queued.size(), 4u);
    EXPECT_EQ(queued[0], (TEvent_Return_Result{Return_Show_Text, false, "Text", {"Text 1", "Text 2"}, ""}));
    EXPECT_EQ(queued[1], (TEvent_Return_Result{Return_Play_Music, false, "", {}, "tune.mid"}));
    EXPECT_EQ(queued[2], (TEvent_Return_Result{Return_End_Game, true, "", {}, ""}));
    EXPECT_EQ(queued[3], queued[2]);
    // An empty queue empties what it is given.
    TEvent_Return_Result out = queued[0];
    EXPECT_FALSE(M->Events.Pop_Return_Result(out));
    EXPECT_EQ(out, TEvent_Return_Result());
}

// Without the running mark these recurse until the stack overflows.
TEST_F(Quests_And_Events, EventsCompletingTheirOwnOrEachOthersQuestsEnd) {
    for (bool permanent : {false, true}) {
        SCOPED_TRACE(permanent ? "permanent" : "one-shot");
        M->Quests.Quests = {Quest_Of(1, 0), Quest_Of(2, 0)};
        M->Events.Events = {
            Event_Of({Trigger_Of(4, 0, 0, 0, 1)}, {Result_Of(Result_Quest_Completed, 1)}, permanent)};
        Sounds->Played.clear();
        EXPECT_TRUE(M->Events.Fire_Quest_Completed(1));
        EXPECT_EQ(Sounds->Names(), std::vector<std::string>{"q_comp.wav"});
        EXPECT_EQ(M->Events.Events[0].Enabled, permanent);
        EXPECT_FALSE(M->Events.Events[0].Running);

        M->Events.Events = {
            Event_Of({Trigger_Of(4, 0, 0, 0, 1)}, {Result_Of(Result_Quest_Completed, 2)}, permanent),
            Event_Of({Trigger_Of(4, 0, 0, 0, 2)}, {Result_Of(Result_Quest_Completed, 1)}, permanent)};
        Sounds->Played.clear();
        M->Quests.Complete_Quest(1);
        EXPECT_EQ(Sounds->Names(), (std::vector<std::string>{"q_comp.wav", "q_comp.wav", "q_comp.wav"}));
        EXPECT_TRUE(M->Quests.Get_Quest(2)->Completed);
        EXPECT_EQ(M->Events.Events[1].Enabled, permanent);
    }
}

TEST_F(Quests_And_Events, ACreaturesDeathFiresTheRunningModulesKillEvents) {
    Connect_Module_Events();
    M->Events.Events = {Event_Of({Trigger_Of(2, 65535, 0, 0, 0)}, {Result_Of(Result_Quest_Completed, 1)})};
    TMonster* boss = Add_Creature(9, 9, "boss");
    boss->Event_Id = -1;
    // The player dies first: the completion that follows gives nobody experience.
    Hero->Die(TCallback_Set(), 0, "test");
    boss->Die(TCallback_Set(), 0, "test");
    Map->End_Tick();
    EXPECT_TRUE(M->Quests.Get_Quest(1)->Completed);
    EXPECT_FALSE(M->Events.Events[0].Enabled);
}

TEST_F(Quests_And_Events, QuestsFileRecordsBecomeQuestsInFileOrder) {
    const TKeys full = {{"Quest ID", "1"},
                        {"Name", "Курганный король"},
                        {"Description", "Упокой короля"},
                        {"Visible", "yes"},
                        {"Experience for Completion", "many"},
                        {"Game Over", "TRUE"},
                        {"Completion Num Paragraphs", "2"},
                        {"Completion Paragraph 1", "Первый"},
                        {"Completion Paragraph 2", "Второй"}};
    const TKeys bare = With(full, {{"Visible", "no"},
                                   {"Experience for Completion", "-70000"},
                                   {"Completion Num Paragraphs", "0"},
                                   {"Completion Paragraph 1", "<drop>"},
                                   {"Completion Paragraph 2", "<drop>"}});
    Write_Module_Data("Quests.txt", {full, With(bare, {{"Quest ID", "2"}}), With(bare, {{"Quest ID", "3"}})});
    ASSERT_TRUE(M->Quests.Create_From_Classes());
    EXPECT_TRUE(Messages->Error_Lists.empty());
    EXPECT_EQ(Quest_Class_Count(), 0); // freed again
    ASSERT_EQ(M->Quests.Quest_Count(), 3);
    const TModule_Quest& first = *M->Quests.Get_Quest(1);
    EXPECT_EQ(first.Quest_Name, "Курганный король");
    EXPECT_EQ(first.Description, "Упокой короля");
    EXPECT_TRUE(first.Visible);
    EXPECT_EQ(first.Experience, 0); // not a number
    EXPECT_TRUE(first.Game_Over);
    EXPECT_EQ(first.Completion_Paragraphs, (TString_List{"Первый", "Второй"}));
    for (int32_t n = 2; n <= 3; ++n) {
        EXPECT_EQ(M->Quests.Get_Quest(n)->Quest_Id, n);
        EXPECT_FALSE(M->Quests.Get_Quest(n)->Visible);
        EXPECT_EQ(M->Quests.Get_Quest(n)->Experience, -70000);
        EXPECT_TRUE(M->Quests.Get_Quest(n)->Completion_Paragraphs.empty());
    }
    // An event naming quest 4 changes nothing.
    M->Quests.Complete_Quest(4);
    EXPECT_TRUE(Sounds->Played.empty());

    // Missing keys fail the load: the list stays empty and the errors are shown; the numbers read 0.
    Write_Module_Data("Quests.txt",
                      {With(full, {{"Game Over", "<drop>"}, {"Completion Paragraph 2", "<drop>"}}),
                       With(bare, {{"Quest ID", "<drop>"}, {"Completion Num Paragraphs", "<drop>"}})});
    EXPECT_FALSE(M->Quests.Create_From_Classes());
    EXPECT_EQ(M->Quests.Quest_Count(), 0);
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Quest Class Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].List,
              (TString_List{Missing_Field_Line("Game Over", "1", 1),
                            Missing_Field_Line("Completion Paragraph 2", "1", 1),
                            Missing_Field_Line("Quest ID", "", 2),
                            Missing_Field_Line("Completion Num Paragraphs", "", 2)}));
    std::vector<TQuest_Class> classes;
    TQuest_Class_Data_File_Loader loader(Path_Settings()->Get_Quests_File(), classes);
    loader.Execute_Load();
    ASSERT_EQ(classes.size(), 2u);
    EXPECT_EQ(classes[0].Completion_Paragraphs, TString_List{"Первый"});
    EXPECT_EQ(classes[1].Quest_Id, 0);
    EXPECT_TRUE(classes[1].Completion_Paragraphs.empty());

    // A quest made anew from its class starts neither completed nor failed.
    TModule_Quest reused;
    reused.Completed = reused.Failed = true;
    reused.Assign_From_Class(classes[0]);
    EXPECT_FALSE(reused.Completed);
    EXPECT_FALSE(reused.Failed);

    // Without path settings there is no module file to read.
    std::unique_ptr<TPath_Settings> paths = Remove_Path_Settings();
    EXPECT_FALSE(M->Quests.Create_From_Classes());
    EXPECT_FALSE(M->Events.Create_From_Classes());
    Install_Path_Settings(std::move(paths));
}

TEST_F(Quests_And_Events, EventsFileRecordsCopyEveryKeyAndRefuseNamesInAnotherCase) {
    TKeys record = {{"Event ID", "12"},
                    {"Event Enabled", "True"},
                    {"Event Permanent", "no"},
                    {"Number of Triggers", "1"},
                    {"Number of Results", "1"}};
    const std::vector<std::pair<std::string, std::string>> trigger = {
        {"Type", "Monster Talked To About Topic"},
        {"Xpos", "11"},
        {"Ypos", "12"},
        {"Action Type", "Bash Door"},
        {"Monster Event ID", "13"},
        {"Item Event ID", "14"},
        {"Spell ID", "15"},
        {"Topic ID", "16"},
        {"Quest ID", "70000"}}; // beyond 16 bits: reads 0
    const std::vector<std::pair<std::string, std::string>> result = {{"Type", "Display Text"},
                                                                     {"Xpos", "21"},
                                                                     {"Ypos", "22"},
                                                                     {"New Terrain ID", "23"},
                                                                     {"Item Event ID", "24"},
                                                                     {"Monster Event ID", "25"},
                                                                     {"Music Filename", "m.mid"},
                                                                     {"Text Title", "Заголовок"},
                                                                     {"Number of Text Paragraphs", "1"},
                                                                     {"Text Paragraph 1", "Абзац"},
                                                                     {"Disable Event From", "26"},
                                                                     {"Disable Event To", "27"},
                                                                     {"Enable Event From", "28"},
                                                                     {"Enable Event To", "29"},
                                                                     {"New Talk ID", "30"},
                                                                     {"Quest ID", "31"}};
    for (const auto& [key, value] : trigger) record.emplace_back("Trigger 1 " + key, value);
    for (const auto& [key, value] : result) record.emplace_back("Result 1 " + key, value);
    Write_Module_Data("Events.txt", {record});
    ASSERT_TRUE(M->Events.Create_From_Classes());
    EXPECT_EQ(Event_Class_Count(), 0);
    ASSERT_EQ(M->Events.Event_Count(), 1);
    const TModule_Event& e = M->Events.Events[0];
    EXPECT_EQ(e.Event_Id, 12);
    EXPECT_TRUE(e.Enabled);
    EXPECT_FALSE(e.Permanent);
    ASSERT_EQ(e.Triggers.size(), 1u);
    EXPECT_EQ(e.Triggers[0], (TModule_Event_Trigger{3, 11, 12, 12, 13, 14, 15, 16, 0}));
    const TModule_Event_Result expected = {5,         21, 22, 23, 24, 25, "m.mid", "Заголовок",
                                           {"Абзац"}, 26, 27, 28, 29, 30, 31};
    ASSERT_EQ(e.Results.size(), 1u);
    EXPECT_EQ(e.Results[0], expected);

    // Names match exactly: another letter case reads 0 with the invalid-value line.
    record = With(record, {{"Trigger 1 Type", "monster talked to about topic"},
                           {"Trigger 1 Action Type", "bash door"},
                           {"Result 1 Type", "DISPLAY TEXT"}});
    Write_Module_Data("Events.txt", {record});
    EXPECT_FALSE(M->Events.Create_From_Classes());
    EXPECT_EQ(M->Events.Event_Count(), 0);
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Event Class Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].List,
              (TString_List{Invalid_Value_Line("monster talked to about topic", "Trigger 1 Type", "12", 1),
                            Invalid_Value_Line("bash door", "Trigger 1 Action Type", "12", 1),
                            Invalid_Value_Line("DISPLAY TEXT", "Result 1 Type", "12", 1)}));
    std::vector<TEvent_Class> classes;
    TEvent_Class_Data_File_Loader loader(Path_Settings()->Get_Events_File(), classes);
    loader.Execute_Load();
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0].Triggers[0].Trigger_Type, 0);
    EXPECT_EQ(classes[0].Triggers[0].Action_Type, 0);
    EXPECT_EQ(classes[0].Results[0].Result_Type, 0);

    // A missing key is reported and its number reads 0; a record without its id is named by its number.
    Write_Module_Data("Events.txt",
                      {record, With(record, {{"Event ID", "<drop>"}, {"Trigger 1 Xpos", "<drop>"}})});
    classes.clear();
    loader.Execute_Load();
    ASSERT_EQ(classes.size(), 2u);
    EXPECT_EQ(classes[1].Triggers[0].X_Pos, 0);
    const TString_List& errors = loader.Get_Error_List();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), Missing_Field_Line("Event ID", "", 2)), 1);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), Missing_Field_Line("Trigger 1 Xpos", "", 2)), 1);
}

} // namespace
