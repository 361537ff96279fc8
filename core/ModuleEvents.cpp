#include "core/ModuleEvents.h"

#include "core/ModuleQuests.h"
#include "core/NameTables.h"
#include "core/Path.h"

#include <algorithm>

namespace {

std::vector<TEvent_Class> Classes;

// The smallest records: a trigger is a type and eight words; a result a type, eleven words, two strings
// and a paragraph count; an event its id, two flags and two counts.
constexpr size_t Smallest_Trigger = 18;
constexpr size_t Smallest_Result = 30;
constexpr size_t Smallest_Event = 8;

struct TEvent_Classes_Guard {
    ~TEvent_Classes_Guard() { Free_Event_Classes(); }
};

uint16_t Word_Of(int32_t value) {
    return static_cast<uint16_t>(value);
}

// Marks the event as running for the life of the object.
class TRunning_Scope {
public:
    explicit TRunning_Scope(bool& running) : Running_(running) { Running_ = true; }
    ~TRunning_Scope() { Running_ = false; }
    TRunning_Scope(const TRunning_Scope&) = delete;
    TRunning_Scope& operator=(const TRunning_Scope&) = delete;

private:
    bool& Running_;
};

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Records

void TModule_Event_Trigger::Save(TStream_Writer& w) const {
    Write_Byte(w, Trigger_Type);
    for (uint16_t v :
         {X_Pos, Y_Pos, Action_Type, Monster_Event_Id, Item_Event_Id, Spell_Id, Topic_Id, Quest_Id})
        Write_Word(w, v);
}

void TModule_Event_Trigger::Load(TStream_Reader& r) {
    Trigger_Type = Read_Byte(r);
    for (uint16_t* v :
         {&X_Pos, &Y_Pos, &Action_Type, &Monster_Event_Id, &Item_Event_Id, &Spell_Id, &Topic_Id, &Quest_Id})
        *v = Read_Word(r);
}

void TModule_Event_Result::Save(TStream_Writer& w) const {
    Write_Byte(w, Result_Type);
    for (uint16_t v : {X_Pos, Y_Pos, New_Terrain_Id, Item_Event_Id, Monster_Event_Id}) Write_Word(w, v);
    Write_String(w, Music_File);
    for (uint16_t v :
         {Disable_Event_From, Disable_Event_To, Enable_Event_From, Enable_Event_To, New_Talk_Id, Quest_Id})
        Write_Word(w, v);
    Write_String(w, Text_Title);
    Write_String_List(w, Paragraphs);
}

void TModule_Event_Result::Load(TStream_Reader& r) {
    Result_Type = Read_Byte(r);
    for (uint16_t* v : {&X_Pos, &Y_Pos, &New_Terrain_Id, &Item_Event_Id, &Monster_Event_Id})
        *v = Read_Word(r);
    Music_File = Read_String(r);
    for (uint16_t* v : {&Disable_Event_From, &Disable_Event_To, &Enable_Event_From, &Enable_Event_To,
                        &New_Talk_Id, &Quest_Id})
        *v = Read_Word(r);
    Text_Title = Read_String(r);
    Read_String_List(r, Paragraphs);
}

void TModule_Event::Save(TStream_Writer& w) const {
    Write_Word(w, Event_Id);
    Write_Boolean(w, Enabled);
    Write_Boolean(w, Permanent);
    Write_Count(w, Triggers.size(), "event triggers");
    for (const TModule_Event_Trigger& trigger : Triggers) trigger.Save(w);
    Write_Count(w, Results.size(), "event results");
    for (const TModule_Event_Result& result : Results) result.Save(w);
}

void TModule_Event::Load(TStream_Reader& r) {
    Clear();
    Event_Id = Read_Word(r);
    Enabled = Read_Boolean(r);
    Permanent = Read_Boolean(r);
    Triggers.resize(Read_Count(r, "event triggers", Smallest_Trigger));
    for (TModule_Event_Trigger& trigger : Triggers) trigger.Load(r);
    Results.resize(Read_Count(r, "event results", Smallest_Result));
    for (TModule_Event_Result& result : Results) result.Load(r);
}

// ---------------------------------------------------------------------------------------------------------
// The list

bool TModule_Events_List::Create_From_Classes() {
    Clear();
    TEvent_Classes_Guard guard;
    if (!Load_Event_Classes()) return false;
    for (const TEvent_Class& c : Event_Classes()) {
        TModule_Event event;
        event.Event_Id = Word_Of(c.Event_Id);
        event.Enabled = c.Enabled;
        event.Permanent = c.Permanent;
        for (const TEvent_Trigger_Class& t : c.Triggers)
            event.Triggers.push_back({static_cast<uint8_t>(t.Trigger_Type), Word_Of(t.X_Pos),
                                      Word_Of(t.Y_Pos), Word_Of(t.Action_Type), Word_Of(t.Monster_Event_Id),
                                      Word_Of(t.Item_Event_Id), Word_Of(t.Spell_Id), Word_Of(t.Topic_Id),
                                      Word_Of(t.Quest_Id)});
        for (const TEvent_Result_Class& s : c.Results) {
            TModule_Event_Result result;
            result.Result_Type = static_cast<uint8_t>(s.Result_Type);
            result.X_Pos = Word_Of(s.X_Pos);
            result.Y_Pos = Word_Of(s.Y_Pos);
            result.New_Terrain_Id = Word_Of(s.New_Terrain_Id);
            result.Item_Event_Id = Word_Of(s.Item_Event_Id);
            result.Monster_Event_Id = Word_Of(s.Monster_Event_Id);
            result.Music_File = s.Music_File;
            result.Text_Title = s.Text_Title;
            result.Paragraphs = s.Paragraphs;
            result.Disable_Event_From = Word_Of(s.Disable_Event_From);
            result.Disable_Event_To = Word_Of(s.Disable_Event_To);
            result.Enable_Event_From = Word_Of(s.Enable_Event_From);
            result.Enable_Event_To = Word_Of(s.Enable_Event_To);
            result.New_Talk_Id = Word_Of(s.New_Talk_Id);
            result.Quest_Id = Word_Of(s.Quest_Id);
            event.Results.push_back(std::move(result));
        }
        Events.push_back(std::move(event));
    }
    return true;
}

bool TModule_Events_List::Fire_Item_Given_To_Monster(int32_t item_event_id, int32_t monster_event_id) {
    TDeed deed;
    deed.Item_Event_Id = Word_Of(item_event_id);
    deed.Monster_Event_Id = Word_Of(monster_event_id);
    return Check_Triggers(Trigger_Item_Given_To_Monster, deed);
}

bool TModule_Events_List::Fire_Monster_Killed(int32_t monster_event_id) {
    TDeed deed;
    deed.Monster_Event_Id = Word_Of(monster_event_id);
    return Check_Triggers(Trigger_Monster_Killed, deed);
}

bool TModule_Events_List::Fire_Monster_Talked_To_About_Topic(int32_t monster_event_id, int32_t topic_id) {
    TDeed deed;
    deed.Monster_Event_Id = Word_Of(monster_event_id);
    deed.Topic_Id = Word_Of(topic_id);
    return Check_Triggers(Trigger_Monster_Talked_To_About_Topic, deed);
}

bool TModule_Events_List::Fire_Quest_Completed(int32_t quest_id) {
    TDeed deed;
    deed.Quest_Id = Word_Of(quest_id);
    return Check_Triggers(Trigger_Quest_Completed, deed);
}

bool TModule_Events_List::Matches(const TModule_Event_Trigger& trigger, const TDeed& deed) {
    switch (trigger.Trigger_Type) {
    case Trigger_Item_Given_To_Monster:
        return trigger.Monster_Event_Id == deed.Monster_Event_Id &&
               trigger.Item_Event_Id == deed.Item_Event_Id;
    case Trigger_Monster_Killed: return trigger.Monster_Event_Id == deed.Monster_Event_Id;
    case Trigger_Monster_Talked_To_About_Topic:
        return trigger.Monster_Event_Id == deed.Monster_Event_Id && trigger.Topic_Id == deed.Topic_Id;
    case Trigger_Quest_Completed: return trigger.Quest_Id == deed.Quest_Id;
    default: return false;
    }
}

bool TModule_Events_List::Check_Triggers(uint8_t trigger_type, const TDeed& deed) {
    bool fired = false;
    // By position: results change quests and the queue, never the event list, so the positions hold while
    // a completion fires further events inside this loop.
    for (size_t n = 0; n < Events.size(); ++n) {
        if (!Events[n].Enabled || Events[n].Running) continue;
        bool has_trigger = false;
        bool all_match = true;
        for (const TModule_Event_Trigger& trigger : Events[n].Triggers) {
            if (trigger.Trigger_Type != trigger_type) continue;
            has_trigger = true;
            if (!Matches(trigger, deed)) {
                all_match = false;
                break;
            }
        }
        if (!has_trigger || !all_match) continue;
        {
            TRunning_Scope running(Events[n].Running);
            for (const TModule_Event_Result& result : Events[n].Results) Execute_Result(result);
        }
        if (!Events[n].Permanent) Events[n].Enabled = false;
        fired = true;
    }
    return fired;
}

void TModule_Events_List::Execute_Result(const TModule_Event_Result& result) {
    TEvent_Return_Result outcome;
    switch (result.Result_Type) {
    case Result_Quest_Completed:
        if (Quests_) Quests_->Complete_Quest(result.Quest_Id);
        return;
    case Result_Quest_Failed:
        if (Quests_) Quests_->Fail_Quest(result.Quest_Id);
        return;
    case Result_Quest_Visible_True:
        if (Quests_) Quests_->Set_Quest_Visible(result.Quest_Id, true);
        return;
    case Result_Quest_Visible_False:
        if (Quests_) Quests_->Set_Quest_Visible(result.Quest_Id, false);
        return;
    case Result_Display_Text:
        outcome.Kind = Return_Show_Text;
        outcome.Title = result.Text_Title;
        outcome.Paragraphs = result.Paragraphs;
        break;
    case Result_End_Game:
        outcome.Kind = Return_End_Game;
        outcome.End_Game = true;
        break;
    case Result_Play_Music:
        outcome.Kind = Return_Play_Music;
        outcome.Music_File = result.Music_File;
        break;
    default: return;
    }
    Push_Return_Result(outcome);
}

bool TModule_Events_List::Pop_Return_Result(TEvent_Return_Result& out) {
    out = TEvent_Return_Result();
    if (Return_Results_.empty()) return false;
    out = std::move(Return_Results_.front());
    Return_Results_.pop_front();
    return true;
}

void TModule_Events_List::Clear() {
    Events.clear();
    Return_Results_.clear();
}

void TModule_Events_List::Save(TStream_Writer& w) const {
    Write_Count(w, Events.size(), "event list");
    for (const TModule_Event& event : Events) event.Save(w);
}

void TModule_Events_List::Load(TStream_Reader& r) {
    Clear();
    Events.resize(Read_Count(r, "event list", Smallest_Event));
    for (TModule_Event& event : Events) event.Load(r);
}

// ---------------------------------------------------------------------------------------------------------
// Event classes

const std::vector<TEvent_Class>& Event_Classes() {
    return Classes;
}

int32_t Event_Class_Count() {
    return static_cast<int32_t>(Classes.size());
}

bool Load_Event_Classes() {
    Free_Event_Classes();
    if (!Path_Settings()) return false;
    TEvent_Class_Data_File_Loader loader(Path_Settings()->Get_Events_File(), Classes);
    return loader.Execute_Load_And_Report("Event Class Data File Errors: ");
}

void Free_Event_Classes() {
    Classes.clear();
}

int32_t TEvent_Class_Data_File_Loader::Read_Number(const std::string& key) {
    uint16_t value = 0;
    Read_Word_Field(key, value);
    return value;
}

TEvent_Trigger_Class TEvent_Class_Data_File_Loader::Read_Trigger(const std::string& prefix) {
    TEvent_Trigger_Class t;
    t.Trigger_Type = Read_Name_Code(prefix + " Type", Event_Trigger_Type_Names,
                                    Event_Trigger_Type_Names.First, Event_Trigger_Type_Names.Last);
    t.X_Pos = Read_Number(prefix + " Xpos");
    t.Y_Pos = Read_Number(prefix + " Ypos");
    t.Action_Type =
        Read_Name_Code(prefix + " Action Type", Action_Names, Action_Names.First, Action_Names.Last);
    t.Monster_Event_Id = Read_Number(prefix + " Monster Event ID");
    t.Item_Event_Id = Read_Number(prefix + " Item Event ID");
    t.Spell_Id = Read_Number(prefix + " Spell ID");
    t.Topic_Id = Read_Number(prefix + " Topic ID");
    t.Quest_Id = Read_Number(prefix + " Quest ID");
    return t;
}

TEvent_Result_Class TEvent_Class_Data_File_Loader::Read_Result(const std::string& prefix) {
    TEvent_Result_Class s;
    s.Result_Type = Read_Name_Code(prefix + " Type", Event_Result_Type_Names, Event_Result_Type_Names.First,
                                   Event_Result_Type_Names.Last);
    s.X_Pos = Read_Number(prefix + " Xpos");
    s.Y_Pos = Read_Number(prefix + " Ypos");
    s.New_Terrain_Id = Read_Number(prefix + " New Terrain ID");
    s.Item_Event_Id = Read_Number(prefix + " Item Event ID");
    s.Monster_Event_Id = Read_Number(prefix + " Monster Event ID");
    Read_Text_Field(prefix + " Music Filename", s.Music_File);
    Read_Text_Field(prefix + " Text Title", s.Text_Title);
    const int32_t paragraphs = Read_Number(prefix + " Number of Text Paragraphs");
    std::string value;
    for (int32_t m = 1; m <= paragraphs; ++m)
        if (Get_Field_Value(prefix + " Text Paragraph " + std::to_string(m), value, true))
            s.Paragraphs.push_back(value);
    s.Disable_Event_From = Read_Number(prefix + " Disable Event From");
    s.Disable_Event_To = Read_Number(prefix + " Disable Event To");
    s.Enable_Event_From = Read_Number(prefix + " Enable Event From");
    s.Enable_Event_To = Read_Number(prefix + " Enable Event To");
    s.New_Talk_Id = Read_Number(prefix + " New Talk ID");
    s.Quest_Id = Read_Number(prefix + " Quest ID");
    return s;
}

void TEvent_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    Classes_.resize(std::max(Classes_.size(), static_cast<size_t>(record_number)));
    TEvent_Class& c = Classes_[static_cast<size_t>(record_number - 1)];
    std::string value;
    // A record without its id is named by its number, not by the record before it.
    Set_Record_Name("");
    Get_Field_Value("Event ID", value, true);
    Set_Record_Name(value);
    c.Event_Id = Str_To_Word(value);
    Read_Bool_Field("Event Enabled", c.Enabled);
    Read_Bool_Field("Event Permanent", c.Permanent);
    const int32_t triggers = Read_Number("Number of Triggers");
    for (int32_t n = 1; n <= triggers; ++n)
        c.Triggers.push_back(Read_Trigger("Trigger " + std::to_string(n)));
    const int32_t results = Read_Number("Number of Results");
    for (int32_t n = 1; n <= results; ++n) c.Results.push_back(Read_Result("Result " + std::to_string(n)));
}
