// The module's events: what makes its story react to the player. An event waits for deeds of one kind (an
// item given to a creature, a creature killed, a creature asked about a topic, a quest completed); when all
// its triggers of that kind match, its results run: quests are completed, failed, shown or hidden at once,
// and what the game screen must do (show a text, end the game, play music) is queued for it to take after
// the action. Events come from the module's "Events.txt" when the module is created and are saved with it.
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class TModule_Quests_List;

// Trigger types (the names of Event_Trigger_Type_Names).
enum : uint8_t {
    Trigger_None = 0,
    Trigger_Item_Given_To_Monster = 1,
    Trigger_Monster_Killed = 2,
    Trigger_Monster_Talked_To_About_Topic = 3,
    Trigger_Quest_Completed = 4,
};

// Result types (the names of Event_Result_Type_Names).
enum : uint8_t {
    Result_None = 0,
    Result_Quest_Completed = 1,
    Result_Quest_Failed = 2,
    Result_Quest_Visible_True = 3,
    Result_Quest_Visible_False = 4,
    Result_Display_Text = 5,
    Result_End_Game = 6,
    Result_Play_Music = 7,
};

// What the game screen is asked to do.
enum : uint8_t {
    Return_End_Game = 1,
    Return_Show_Text = 2,
    Return_Play_Music = 3,
};

// Only the two event ids, the topic and the quest act; the square, the action and the spell are kept.
struct TModule_Event_Trigger {
    uint8_t Trigger_Type = Trigger_None;
    uint16_t X_Pos = 0, Y_Pos = 0, Action_Type = 0, Monster_Event_Id = 0, Item_Event_Id = 0, Spell_Id = 0,
             Topic_Id = 0, Quest_Id = 0;
    // The type (byte), then the eight words in declared order.
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);
    bool operator==(const TModule_Event_Trigger&) const = default;
};

// Only the quest, the title, the paragraphs and the music act; the rest is kept.
struct TModule_Event_Result {
    uint8_t Result_Type = Result_None;
    uint16_t X_Pos = 0, Y_Pos = 0, New_Terrain_Id = 0, Item_Event_Id = 0, Monster_Event_Id = 0;
    std::string Music_File;
    std::string Text_Title;
    TString_List Paragraphs;
    uint16_t Disable_Event_From = 0, Disable_Event_To = 0, Enable_Event_From = 0, Enable_Event_To = 0,
             New_Talk_Id = 0, Quest_Id = 0;
    // Not the declared order, as every module file has it: the type, the five words, the music, the six
    // words, the title, the paragraphs.
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);
    bool operator==(const TModule_Event_Result&) const = default;
};

class TModule_Event {
public:
    uint16_t Event_Id = 0;
    bool Enabled = false;
    bool Permanent = false; // fires on every matching deed; otherwise it is disabled once it has fired
    std::vector<TModule_Event_Trigger> Triggers; // Trigger_Count is its size
    std::vector<TModule_Event_Result> Results;   // Result_Count is its size
    // Set while its own results run (not saved): a result that completes the quest this event waits for,
    // or two events that complete each other's quests, must not fire it again inside itself.
    bool Running = false;

    void Clear() { *this = TModule_Event(); }
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);
};

// An outcome queued for the game screen.
struct TEvent_Return_Result {
    uint8_t Kind = 0;      // Return_End_Game, Return_Show_Text, Return_Play_Music; 0 for nothing
    bool End_Game = false; // set for Return_End_Game
    std::string Title;
    TString_List Paragraphs;
    std::string Music_File;
    bool operator==(const TEvent_Return_Result&) const = default;
};

// The events as the data file gives them, in 32-bit fields.
struct TEvent_Trigger_Class {
    int32_t Trigger_Type = 0, X_Pos = 0, Y_Pos = 0, Action_Type = 0, Monster_Event_Id = 0, Item_Event_Id = 0,
            Spell_Id = 0, Topic_Id = 0, Quest_Id = 0;
};
struct TEvent_Result_Class {
    int32_t Result_Type = 0, X_Pos = 0, Y_Pos = 0, New_Terrain_Id = 0, Item_Event_Id = 0,
            Monster_Event_Id = 0;
    std::string Music_File;
    std::string Text_Title;
    TString_List Paragraphs;
    int32_t Disable_Event_From = 0, Disable_Event_To = 0, Enable_Event_From = 0, Enable_Event_To = 0,
            New_Talk_Id = 0, Quest_Id = 0;
};
struct TEvent_Class {
    int32_t Event_Id = 0;
    bool Enabled = false;
    bool Permanent = false;
    std::vector<TEvent_Trigger_Class> Triggers;
    std::vector<TEvent_Result_Class> Results;
};

class TModule_Events_List {
public:
    std::vector<TModule_Event> Events; // event n at element n - 1; Event_Count is its size

    uint16_t Event_Count() const { return static_cast<uint16_t>(Events.size()); }
    // Empties the list, loads the event classes (stops when that fails), copies every class in record
    // order into an event (numbers cut to 16 bits) and frees the classes again whatever happened. False
    // when the load failed.
    bool Create_From_Classes();

    // The four deeds. Ids compare as 16-bit patterns (a creature's event id of -1 matches 65535). Each
    // answers whether an event fired.
    bool Fire_Item_Given_To_Monster(int32_t item_event_id, int32_t monster_event_id);
    bool Fire_Monster_Killed(int32_t monster_event_id);
    bool Fire_Monster_Talked_To_About_Topic(int32_t monster_event_id, int32_t topic_id);
    bool Fire_Quest_Completed(int32_t quest_id);

    // The queue of outcomes, first in first out; it is never saved.
    void Push_Return_Result(const TEvent_Return_Result& result) { Return_Results_.push_back(result); }
    int32_t Get_Return_Result_Count() const { return static_cast<int32_t>(Return_Results_.size()); }
    // Empties out; then, when the queue is not empty, moves its first outcome into it. Whether one was there.
    bool Pop_Return_Result(TEvent_Return_Result& out);

    // Frees every event and every queued outcome.
    void Clear();
    // The count (word), then each event. Load clears the list, the queue included; a broken stream raises
    // EStream_Read_Error.
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);

    // The module's quest list, which results change; set by the module that owns both.
    void Set_Quests(TModule_Quests_List* quests) { Quests_ = quests; }
    // Takes the events of another list (its queue stays there).
    void Take_Events(TModule_Events_List& other) { Events = std::move(other.Events); }

private:
    // The keys of a deed; only those of its type are compared.
    struct TDeed {
        uint16_t Monster_Event_Id = 0, Item_Event_Id = 0, Topic_Id = 0, Quest_Id = 0;
    };
    bool Check_Triggers(uint8_t trigger_type, const TDeed& deed);
    static bool Matches(const TModule_Event_Trigger& trigger, const TDeed& deed);
    void Execute_Result(const TModule_Event_Result& result);

    std::deque<TEvent_Return_Result> Return_Results_;
    TModule_Quests_List* Quests_ = nullptr;
};

// The event classes read from the module's events file: element n - 1 is record n.
const std::vector<TEvent_Class>& Event_Classes();
int32_t Event_Class_Count();
// Frees the classes, then reads the module's "Events.txt"; with errors, shows them under
// "Event Class Data File Errors: " with the file name and returns false (the records read stay).
bool Load_Event_Classes();
void Free_Event_Classes();

// Record n becomes element n - 1 of the given table. Every key is required; numbers are 16-bit (anything
// else reads 0); flags are true for "TRUE" or "YES" in any letter case; trigger types, result types and
// action types must be spelt exactly as their names, or they read 0 and the value is reported.
class TEvent_Class_Data_File_Loader : public TData_File_Loader {
public:
    TEvent_Class_Data_File_Loader(const std::string& file_name, std::vector<TEvent_Class>& classes)
        : TData_File_Loader(file_name), Classes_(classes) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    int32_t Read_Number(const std::string& key);
    TEvent_Trigger_Class Read_Trigger(const std::string& prefix);
    TEvent_Result_Class Read_Result(const std::string& prefix);

    std::vector<TEvent_Class>& Classes_;
};
