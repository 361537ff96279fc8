// The module's quests: the tasks of the player's quest log. They come from the module's "Quests.txt" when
// the module is created, are saved with the module, and module events show, hide, complete and fail them.
// Quests are addressed by position (1-based), and events name them by that number, so the records of the
// quests file are numbered in file order and each record's "Quest ID" carries its own number.
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <string>
#include <vector>

class TModule_Events_List;

// A quest as the quests file gives it.
struct TQuest_Class {
    uint16_t Quest_Id = 0;
    std::string Quest_Name;
    std::string Description;
    bool Visible = false;
    int32_t Experience = 0;
    bool Game_Over = false;
    TString_List Completion_Paragraphs;
};

class TModule_Quest {
public:
    uint16_t Quest_Id = 0;
    std::string Quest_Name;
    std::string Description;
    bool Visible = false; // shown in the quest log
    bool Completed = false;
    bool Failed = false;
    int32_t Experience = 0;             // granted to the player on completion
    bool Game_Over = false;             // stored only
    TString_List Completion_Paragraphs; // stored only

    // Completed := true; the events waiting for Quest_Id run (they may complete further quests within
    // this call); the player gains the experience (which may raise his level) and is told his quests
    // changed; "q_comp.wav" plays. Nothing stops a second completion: it runs all of it again. With no
    // player (he has died while the world runs on) the experience and the flag are skipped.
    void Complete(TModule_Events_List* events);
    // Failed := true; the player's flag; "q_fail.wav".
    void Fail();
    // Visible := visible; showing it sets the player's flag and plays "new_q.wav"; hiding it does nothing
    // more.
    void Set_Visible(bool visible);
    void Assign_From_Class(const TQuest_Class& c);
    void Clear() { *this = TModule_Quest(); }
    // Quest_Id, name, description, Visible, Completed, Failed, Experience, Game_Over, the paragraphs.
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);
    bool operator==(const TModule_Quest&) const = default;
};

class TModule_Quests_List {
public:
    std::vector<TModule_Quest> Quests; // quest n at element n - 1; Quest_Count is its size

    uint16_t Quest_Count() const { return static_cast<uint16_t>(Quests.size()); }
    // The quest at position n; null for 0 or beyond the count (positions come from events and files).
    TModule_Quest* Get_Quest(int32_t n);
    const TModule_Quest* Get_Quest(int32_t n) const;
    // Empties the list, loads the quest classes (stops when that fails), copies every class in record
    // order into a new quest and frees the classes again whatever happened. False when the load failed.
    bool Create_From_Classes();
    // The quest operations on position n; a position of 0 or beyond the count changes nothing.
    void Complete_Quest(int32_t n);
    void Fail_Quest(int32_t n);
    void Set_Quest_Visible(int32_t n, bool visible);
    void Clear() { Quests.clear(); }
    // The count (word), then each quest. Load empties the list first; a broken stream raises
    // EStream_Read_Error.
    void Save(TStream_Writer& w) const;
    void Load(TStream_Reader& r);

    // The module's event list, which completing a quest fires; set by the module that owns both.
    void Set_Events(TModule_Events_List* events) { Events_ = events; }

private:
    TModule_Events_List* Events_ = nullptr;
};

// The quest classes read from the module's quests file: element n - 1 is record n.
const std::vector<TQuest_Class>& Quest_Classes();
int32_t Quest_Class_Count();
// Frees the classes, then reads the module's "Quests.txt"; with errors, shows them under
// "Quest Class Data File Errors: " with the file name and returns false (the records read stay).
bool Load_Quest_Classes();
void Free_Quest_Classes();

// Record n becomes element n - 1 of the given table. Every key is required; flags are true for "TRUE"
// or "YES" in any letter case; numbers that are not numbers read 0.
class TQuest_Class_Data_File_Loader : public TData_File_Loader {
public:
    TQuest_Class_Data_File_Loader(const std::string& file_name, std::vector<TQuest_Class>& classes)
        : TData_File_Loader(file_name), Classes_(classes) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    std::vector<TQuest_Class>& Classes_;
};
