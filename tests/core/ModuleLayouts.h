// The saved layout of the module record, written from the module file's format: the module's own fields,
// its maps with their connections, the quests and the events, each with the kind it is stored as. The
// tests encode it with the golden encoder, apart from the module's own writer.
#pragma once

#include "core/Module.h"
#include "tests/support/GoldenStream.h"

namespace golden {

inline TFields Module_Quest_Fields(const TModule_Quest& q, const std::string& p) {
    return Join({{{TKind::Word, p + "Quest_Id", q.Quest_Id},
                  {TKind::String, p + "Quest_Name", q.Quest_Name},
                  {TKind::String, p + "Description", q.Description},
                  {TKind::Boolean, p + "Visible", q.Visible},
                  {TKind::Boolean, p + "Completed", q.Completed},
                  {TKind::Boolean, p + "Failed", q.Failed},
                  {TKind::Integer, p + "Experience", q.Experience},
                  {TKind::Boolean, p + "Game_Over", q.Game_Over}},
                 List(TKind::String, p + "completion paragraphs", q.Completion_Paragraphs)});
}

inline TFields Module_Event_Fields(const TModule_Event& e, const std::string& p) {
    TFields f{{TKind::Word, p + "Event_Id", e.Event_Id},
              {TKind::Boolean, p + "Enabled", e.Enabled},
              {TKind::Boolean, p + "Permanent", e.Permanent},
              {TKind::Word, p + "trigger count", e.Triggers.size(), false}};
    for (size_t n = 0; n < e.Triggers.size(); ++n) {
        const TModule_Event_Trigger& t = e.Triggers[n];
        const std::string at = p + "trigger " + std::to_string(n + 1) + " ";
        f = Join({f,
                  {{TKind::Byte, at + "Trigger_Type", t.Trigger_Type, false},
                   {TKind::Word, at + "X_Pos", t.X_Pos},
                   {TKind::Word, at + "Y_Pos", t.Y_Pos},
                   {TKind::Word, at + "Action_Type", t.Action_Type},
                   {TKind::Word, at + "Monster_Event_Id", t.Monster_Event_Id},
                   {TKind::Word, at + "Item_Event_Id", t.Item_Event_Id},
                   {TKind::Word, at + "Spell_Id", t.Spell_Id},
                   {TKind::Word, at + "Topic_Id", t.Topic_Id},
                   {TKind::Word, at + "Quest_Id", t.Quest_Id}}});
    }
    f.emplace_back(TKind::Word, p + "result count", e.Results.size(), false);
    for (size_t n = 0; n < e.Results.size(); ++n) {
        const TModule_Event_Result& s = e.Results[n];
        const std::string at = p + "result " + std::to_string(n + 1) + " ";
        // The music comes after the five words and the title after the six that follow.
        f = Join({f,
                  {{TKind::Byte, at + "Result_Type", s.Result_Type, false},
                   {TKind::Word, at + "X_Pos", s.X_Pos},
                   {TKind::Word, at + "Y_Pos", s.Y_Pos},
                   {TKind::Word, at + "New_Terrain_Id", s.New_Terrain_Id},
                   {TKind::Word, at + "Item_Event_Id", s.Item_Event_Id},
                   {TKind::Word, at + "Monster_Event_Id", s.Monster_Event_Id},
                   {TKind::String, at + "Music_File", s.Music_File},
                   {TKind::Word, at + "Disable_Event_From", s.Disable_Event_From},
                   {TKind::Word, at + "Disable_Event_To", s.Disable_Event_To},
                   {TKind::Word, at + "Enable_Event_From", s.Enable_Event_From},
                   {TKind::Word, at + "Enable_Event_To", s.Enable_Event_To},
                   {TKind::Word, at + "New_Talk_Id", s.New_Talk_Id},
                   {TKind::Word, at + "Quest_Id", s.Quest_Id},
                   {TKind::String, at + "Text_Title", s.Text_Title}},
                  List(TKind::String, at + "paragraphs", s.Paragraphs)});
    }
    return f;
}

inline TFields Module_Map_Fields(const TModule_Map& m, const std::string& p) {
    TFields f{{TKind::Word, p + "Map_Number", m.Map_Number},
              {TKind::String, p + "Display_Name", m.Display_Name},
              {TKind::String, p + "Music_File", m.Music_File},
              {TKind::Word, p + "Item_Level_Min", m.Item_Level_Min},
              {TKind::Word, p + "Item_Level_Max", m.Item_Level_Max},
              {TKind::Word, p + "Monster_Level_Min", m.Monster_Level_Min},
              {TKind::Word, p + "Monster_Level_Max", m.Monster_Level_Max},
              {TKind::Byte, p + "Magic_Item_Chance", m.Magic_Item_Chance},
              {TKind::Byte, p + "Unique_Item_Chance", m.Unique_Item_Chance},
              {TKind::Byte, p + "Monster_Modifier_Chance", m.Monster_Modifier_Chance},
              {TKind::String, p + "Item_Grouping_Type", m.Item_Grouping_Type},
              {TKind::String, p + "Monster_Grouping_Type", m.Monster_Grouping_Type},
              {TKind::Word, p + "connection count", m.Connections.size(), false}};
    for (size_t n = 0; n < m.Connections.size(); ++n) {
        const TModule_Map_Connection& c = m.Connections[n];
        const std::string at = p + "connection " + std::to_string(n + 1) + " ";
        f = Join({f,
                  {{TKind::Word, at + "Connection_Number", c.Connection_Number, false},
                   {TKind::Word, at + "Destination_Map", c.Destination_Map, false},
                   {TKind::Word, at + "Entrance_X", c.Entrance_X},
                   {TKind::Word, at + "Entrance_Y", c.Entrance_Y},
                   {TKind::Word, at + "Destination_X", c.Destination_X},
                   {TKind::Word, at + "Destination_Y", c.Destination_Y},
                   {TKind::Byte, at + "Connection_Type", c.Connection_Type, false},
                   {TKind::Boolean, at + "Used", c.Used}}});
    }
    return f;
}

// The module record (the file routines write the version before it).
inline TFields Module_Fields(const TModule& m) {
    TFields f =
        Join({{{TKind::String, "Module_Name", m.Module_Name}, {TKind::String, "Description", m.Description}},
              List(TKind::String, "paragraphs", m.Paragraphs),
              {{TKind::String, "Character_Data_Set", m.Character_Data_Set},
               {TKind::Word, "Start_Map", m.Start_Map, false},
               {TKind::Word, "Start_X", m.Start_X},
               {TKind::Word, "Start_Y", m.Start_Y},
               {TKind::Word, "Current_Map", m.Current_Map, false},
               {TKind::Word, "Current_X", m.Current_X},
               {TKind::Word, "Current_Y", m.Current_Y},
               {TKind::Word, "map count", m.Maps.size(), false}}});
    for (size_t n = 0; n < m.Maps.size(); ++n)
        f = Join({f, Module_Map_Fields(m.Maps[n], "map " + std::to_string(n + 1) + " ")});
    f.emplace_back(TKind::String, "File_Name", m.File_Name);
    f.emplace_back(TKind::Word, "quest count", m.Quests.Quests.size(), false);
    for (size_t n = 0; n < m.Quests.Quests.size(); ++n)
        f = Join({f, Module_Quest_Fields(m.Quests.Quests[n], "quest " + std::to_string(n + 1) + " ")});
    f.emplace_back(TKind::Word, "event count", m.Events.Events.size(), false);
    for (size_t n = 0; n < m.Events.Events.size(); ++n)
        f = Join({f, Module_Event_Fields(m.Events.Events[n], "event " + std::to_string(n + 1) + " ")});
    return f;
}

// A module of two maps with every connection type, two paragraphs, a quest and an event with a trigger
// and a result, every value different.
inline void Fill_Sample_Module(TModule& m) {
    m.Module_Name = "Barrowdeep";
    m.Description = "Under the hill";
    m.Paragraphs = {"The dead stir.", "Go down."};
    m.Character_Data_Set = "Vale";
    m.Start_Map = 1;
    m.Start_X = 130;
    m.Start_Y = 131;
    m.Current_Map = 2;
    m.Current_X = 132;
    m.Current_Y = 133;
    m.File_Name = "Module.mod";
    for (uint16_t n = 1; n <= 2; ++n) {
        TModule_Map map;
        map.Map_Number = n;
        map.Display_Name = "Map " + std::to_string(n);
        map.Music_File = "tune" + std::to_string(n) + ".mid";
        map.Item_Level_Min = static_cast<uint16_t>(1000 + n);
        map.Item_Level_Max = static_cast<uint16_t>(40000 + n);
        map.Monster_Level_Min = static_cast<uint16_t>(1100 + n);
        map.Monster_Level_Max = static_cast<uint16_t>(1200 + n);
        map.Magic_Item_Chance = static_cast<uint8_t>(60 + n);
        map.Unique_Item_Chance = static_cast<uint8_t>(200 + n);
        map.Monster_Modifier_Chance = static_cast<uint8_t>(70 + n);
        map.Item_Grouping_Type = "items " + std::to_string(n);
        map.Monster_Grouping_Type = "monsters " + std::to_string(n);
        for (uint16_t c = 1; c <= 2; ++c) {
            const uint16_t k = static_cast<uint16_t>(10 * n + c);
            map.Connections.push_back({c, static_cast<uint16_t>(3 - n), static_cast<uint16_t>(300 + k),
                                       static_cast<uint16_t>(400 + k), static_cast<uint16_t>(500 + k),
                                       static_cast<uint16_t>(33000 + k), static_cast<uint8_t>(2 * n + c - 2),
                                       c == 2});
        }
        m.Maps.push_back(map);
    }
    TModule_Quest quest;
    quest.Quest_Id = 9;
    quest.Quest_Name = "The Barrow King";
    quest.Description = "Lay him to rest";
    quest.Visible = true;
    quest.Failed = true;
    quest.Experience = 70001;
    quest.Game_Over = true;
    quest.Completion_Paragraphs = {"Done."};
    m.Quests.Quests.push_back(quest);
    TModule_Event event;
    event.Event_Id = 601;
    event.Enabled = true;
    event.Triggers.push_back({Trigger_Monster_Killed, 602, 603, 604, 605, 606, 607, 608, 609});
    TModule_Event_Result result;
    result.Result_Type = Result_Display_Text;
    result.X_Pos = 701;
    result.Y_Pos = 702;
    result.New_Terrain_Id = 703;
    result.Item_Event_Id = 704;
    result.Monster_Event_Id = 705;
    result.Music_File = "end.mid";
    result.Text_Title = "Victory";
    result.Paragraphs = {"The barrow is quiet."};
    result.Disable_Event_From = 706;
    result.Disable_Event_To = 707;
    result.Enable_Event_From = 708;
    result.Enable_Event_To = 709;
    result.New_Talk_Id = 710;
    result.Quest_Id = 711;
    event.Results.push_back(result);
    m.Events.Events.push_back(event);
}

} // namespace golden
