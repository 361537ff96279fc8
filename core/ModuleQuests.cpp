#include "core/ModuleQuests.h"

#include "core/MapMain.h"
#include "core/ModuleEvents.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/SoundSeam.h"

#include <algorithm>

namespace {

std::vector<TQuest_Class> Classes;

// A quest record holds at least its id, two strings, four booleans, the experience, the flag and the
// paragraph count.
constexpr size_t Smallest_Quest_Record = 14;

// Frees the quest classes when the creation leaves, however it leaves.
struct TQuest_Classes_Guard {
    ~TQuest_Classes_Guard() { Free_Quest_Classes(); }
};

} // namespace

// ---------------------------------------------------------------------------------------------------------
// One quest

void TModule_Quest::Complete(TModule_Events_List* events) {
    Completed = true;
    // The waiting events run first: what they queue comes before the level gained and the sound.
    if (events) events->Fire_Quest_Completed(Quest_Id);
    if (TMonster* player = Player()) {
        player->Add_Experience(Experience);
        player->Set_Quests_Changed(true);
    }
    Sound_Play("q_comp.wav");
}

void TModule_Quest::Fail() {
    Failed = true;
    if (TMonster* player = Player()) player->Set_Quests_Changed(true);
    Sound_Play("q_fail.wav");
}

void TModule_Quest::Set_Visible(bool visible) {
    Visible = visible;
    if (!visible) return;
    if (TMonster* player = Player()) player->Set_Quests_Changed(true);
    Sound_Play("new_q.wav");
}

void TModule_Quest::Assign_From_Class(const TQuest_Class& c) {
    Quest_Id = c.Quest_Id;
    Quest_Name = c.Quest_Name;
    Description = c.Description;
    Visible = c.Visible;
    Completed = false;
    Failed = false;
    Experience = c.Experience;
    Game_Over = c.Game_Over;
    Completion_Paragraphs = c.Completion_Paragraphs;
}

void TModule_Quest::Save(TStream_Writer& w) const {
    Write_Word(w, Quest_Id);
    Write_String(w, Quest_Name);
    Write_String(w, Description);
    Write_Boolean(w, Visible);
    Write_Boolean(w, Completed);
    Write_Boolean(w, Failed);
    Write_Integer(w, Experience);
    Write_Boolean(w, Game_Over);
    Write_String_List(w, Completion_Paragraphs);
}

void TModule_Quest::Load(TStream_Reader& r) {
    Quest_Id = Read_Word(r);
    Quest_Name = Read_String(r);
    Description = Read_String(r);
    Visible = Read_Boolean(r);
    Completed = Read_Boolean(r);
    Failed = Read_Boolean(r);
    Experience = Read_Integer(r);
    Game_Over = Read_Boolean(r);
    Read_String_List(r, Completion_Paragraphs);
}

// ---------------------------------------------------------------------------------------------------------
// The list

TModule_Quest* TModule_Quests_List::Get_Quest(int32_t n) {
    if (n < 1 || n > static_cast<int32_t>(Quests.size())) return nullptr;
    return &Quests[static_cast<size_t>(n - 1)];
}

const TModule_Quest* TModule_Quests_List::Get_Quest(int32_t n) const {
    return const_cast<TModule_Quests_List*>(this)->Get_Quest(n);
}

bool TModule_Quests_List::Create_From_Classes() {
    Clear();
    TQuest_Classes_Guard guard;
    if (!Load_Quest_Classes()) return false;
    for (const TQuest_Class& c : Quest_Classes()) {
        TModule_Quest quest;
        quest.Assign_From_Class(c);
        Quests.push_back(std::move(quest));
    }
    return true;
}

void TModule_Quests_List::Complete_Quest(int32_t n) {
    if (TModule_Quest* quest = Get_Quest(n)) quest->Complete(Events_);
}

void TModule_Quests_List::Fail_Quest(int32_t n) {
    if (TModule_Quest* quest = Get_Quest(n)) quest->Fail();
}

void TModule_Quests_List::Set_Quest_Visible(int32_t n, bool visible) {
    if (TModule_Quest* quest = Get_Quest(n)) quest->Set_Visible(visible);
}

void TModule_Quests_List::Save(TStream_Writer& w) const {
    Write_Count(w, Quests.size(), "quest list");
    for (const TModule_Quest& quest : Quests) quest.Save(w);
}

void TModule_Quests_List::Load(TStream_Reader& r) {
    Clear();
    const size_t count = Read_Count(r, "quest list", Smallest_Quest_Record);
    Quests.resize(count);
    for (TModule_Quest& quest : Quests) quest.Load(r);
}

// ---------------------------------------------------------------------------------------------------------
// Quest classes

const std::vector<TQuest_Class>& Quest_Classes() {
    return Classes;
}

int32_t Quest_Class_Count() {
    return static_cast<int32_t>(Classes.size());
}

bool Load_Quest_Classes() {
    Free_Quest_Classes();
    if (!Path_Settings()) return false;
    TQuest_Class_Data_File_Loader loader(Path_Settings()->Get_Quests_File(), Classes);
    return loader.Execute_Load_And_Report("Quest Class Data File Errors: ");
}

void Free_Quest_Classes() {
    Classes.clear();
}

void TQuest_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    Classes_.resize(std::max(Classes_.size(), static_cast<size_t>(record_number)));
    TQuest_Class& c = Classes_[static_cast<size_t>(record_number - 1)];
    std::string value;
    // A record without its id is named by its number, not by the record before it.
    Set_Record_Name("");
    Get_Field_Value("Quest ID", value, true);
    Set_Record_Name(value);
    c.Quest_Id = Str_To_Word(value);
    Read_Text_Field("Name", c.Quest_Name);
    Read_Text_Field("Description", c.Description);
    Read_Bool_Field("Visible", c.Visible);
    Read_Longint_Field("Experience for Completion", c.Experience);
    Read_Bool_Field("Game Over", c.Game_Over);
    uint16_t paragraphs = 0;
    Read_Word_Field("Completion Num Paragraphs", paragraphs);
    for (int32_t n = 1; n <= paragraphs; ++n)
        if (Get_Field_Value("Completion Paragraph " + std::to_string(n), value, true))
            c.Completion_Paragraphs.push_back(value);
}
