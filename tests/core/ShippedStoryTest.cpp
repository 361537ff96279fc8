// The Barrowdeep module's story can be played to its end: its quests and events load without an error,
// every id an event names resolves (creatures by the "Event ID" of their classes, topics within that
// creature's topics, items by the "Event ID" of their classes, quests within the quests file), and talking
// to the elder, killing the king and giving the elder the king's relic end the module.
#include "core/Module.h"
#include "core/Path.h"
#include "platform/PathLayer.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

const std::string Module_Folder = std::string(MURK_SHIPPED_DATA_DIR) + "/Modules/Barrowdeep/";

// Event id -> number of talk topics, for every creature class of the module that carries an event id.
std::map<int32_t, int32_t> Creature_Event_Ids() {
    std::map<int32_t, int32_t> ids;
    for (const char* file : {"Tiles/Village_MonsterClasses.txt", "Tiles/Barrow_MonsterClasses.txt"}) {
        TField_Collector collector(Module_Folder + file);
        collector.Execute_Load();
        int32_t event_id = 0;
        for (const TData_Field& f : collector.Fields) {
            if (f.Name == "Event ID") event_id = Str_To_Word(f.Value);
            if (f.Name == "Number of Talk Topics" && event_id != 0) {
                EXPECT_EQ(ids.count(event_id), 0u) << "event id " << event_id << " twice in " << file;
                ids[event_id] = Str_To_Word(f.Value);
            }
        }
    }
    return ids;
}

// The "Event ID"s of the module's item classes.
std::set<int32_t> Item_Event_Ids() {
    std::set<int32_t> ids;
    for (const char* file : {"Tiles/Village_ItemClasses.txt", "Tiles/Barrow_ItemClasses.txt"}) {
        TField_Collector collector(Module_Folder + file);
        collector.Execute_Load();
        for (const TData_Field& f : collector.Fields)
            if (f.Name == "Event ID" && Str_To_Word(f.Value) != 0) ids.insert(Str_To_Word(f.Value));
    }
    return ids;
}

TEST(ShippedStory, QuestsAndEventsLoadAndEveryIdResolves) {
    std::vector<TQuest_Class> quests;
    TQuest_Class_Data_File_Loader quest_loader(Module_Folder + "Data/Quests.txt", quests);
    quest_loader.Execute_Load();
    EXPECT_TRUE(quest_loader.Get_Error_List().empty());
    ASSERT_FALSE(quests.empty());
    for (size_t n = 0; n < quests.size(); ++n) EXPECT_EQ(quests[n].Quest_Id, n + 1);
    EXPECT_FALSE(quests[0].Visible);

    std::vector<TEvent_Class> events;
    TEvent_Class_Data_File_Loader event_loader(Module_Folder + "Data/Events.txt", events);
    event_loader.Execute_Load();
    EXPECT_TRUE(event_loader.Get_Error_List().empty());
    const std::map<int32_t, int32_t> creatures = Creature_Event_Ids();
    const int32_t quest_count = static_cast<int32_t>(quests.size());
    for (const TEvent_Class& e : events) {
        SCOPED_TRACE("event " + std::to_string(e.Event_Id));
        EXPECT_TRUE(e.Enabled);
        for (const TEvent_Trigger_Class& t : e.Triggers) {
            if (t.Trigger_Type == Trigger_Item_Given_To_Monster) {
                EXPECT_EQ(Item_Event_Ids().count(t.Item_Event_Id), 1u) << "item " << t.Item_Event_Id;
            }
            if (t.Trigger_Type == Trigger_Monster_Killed ||
                t.Trigger_Type == Trigger_Monster_Talked_To_About_Topic ||
                t.Trigger_Type == Trigger_Item_Given_To_Monster) {
                ASSERT_EQ(creatures.count(t.Monster_Event_Id), 1u) << "creature " << t.Monster_Event_Id;
            }
            if (t.Trigger_Type == Trigger_Monster_Talked_To_About_Topic) {
                EXPECT_GE(t.Topic_Id, 1);
                EXPECT_LE(t.Topic_Id, creatures.at(t.Monster_Event_Id));
            }
            if (t.Trigger_Type == Trigger_Quest_Completed) {
                EXPECT_GE(t.Quest_Id, 1);
                EXPECT_LE(t.Quest_Id, quest_count);
            }
        }
        for (const TEvent_Result_Class& r : e.Results) {
            if (r.Result_Type >= Result_Quest_Completed && r.Result_Type <= Result_Quest_Visible_False) {
                EXPECT_GE(r.Quest_Id, 1);
                EXPECT_LE(r.Quest_Id, quest_count);
            }
            if (r.Result_Type == Result_Display_Text) {
                EXPECT_FALSE(r.Paragraphs.empty());
            }
        }
    }
}

class Shipped_Story : public TProgram_Folder_Test {};

TEST_F(Shipped_Story, TalkKillAndCompletionEndTheModule) {
    // The module's own data folder, through the path settings.
    for (const char* file : {"Data/Quests.txt", "Data/Events.txt"}) {
        std::string bytes;
        ASSERT_TRUE(plat::Read_File(Module_Folder + file, bytes));
        Folder.Write(std::string("Modules/Barrowdeep/") + file, bytes);
    }
    ASSERT_TRUE(Path_Settings()->Set_Module("Barrowdeep/"));
    TModule module;
    ASSERT_TRUE(module.Quests.Create_From_Classes());
    ASSERT_TRUE(module.Events.Create_From_Classes());
    EXPECT_TRUE(Messages->Error_Lists.empty());
    const std::map<int32_t, int32_t> creatures = Creature_Event_Ids();
    ASSERT_EQ(creatures.size(), 2u);
    const int32_t elder = creatures.begin()->first;
    const int32_t king = creatures.rbegin()->first;

    const auto outcomes = [&module] {
        std::vector<uint8_t> kinds;
        TEvent_Return_Result r;
        while (module.Events.Pop_Return_Result(r)) kinds.push_back(r.Kind);
        return kinds;
    };
    const int32_t relic = *Item_Event_Ids().begin();

    EXPECT_FALSE(module.Quests.Get_Quest(1)->Visible);
    EXPECT_FALSE(module.Quests.Get_Quest(2)->Visible);
    EXPECT_TRUE(module.Events.Fire_Monster_Talked_To_About_Topic(elder, 1));
    EXPECT_TRUE(module.Quests.Get_Quest(1)->Visible);
    EXPECT_EQ(outcomes(), std::vector<uint8_t>{Return_Show_Text});
    EXPECT_FALSE(module.Events.Fire_Monster_Talked_To_About_Topic(elder, 1)); // told once
    EXPECT_TRUE(module.Events.Fire_Monster_Killed(king));
    EXPECT_TRUE(module.Quests.Get_Quest(1)->Completed);
    EXPECT_TRUE(module.Quests.Get_Quest(2)->Visible);
    EXPECT_FALSE(module.Quests.Get_Quest(2)->Completed);
    // The king's death shows the relic's text and does not end the module.
    EXPECT_EQ(outcomes(), std::vector<uint8_t>{Return_Show_Text});
    EXPECT_FALSE(module.Events.Fire_Item_Given_To_Monster(relic, king));
    EXPECT_FALSE(module.Quests.Get_Quest(2)->Completed);
    EXPECT_TRUE(module.Events.Fire_Item_Given_To_Monster(relic, elder));
    EXPECT_TRUE(module.Quests.Get_Quest(2)->Completed);
    EXPECT_EQ(outcomes(), (std::vector<uint8_t>{Return_Show_Text, Return_End_Game}));
}

} // namespace
