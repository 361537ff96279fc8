#include "core/HighScores.h"

#include "core/BusyCursorSeam.h"
#include "core/GlobalFuncs.h"
#include "core/SaveGame.h"

#include <algorithm>
#include <exception>

bool THigh_Scores_List::Save(const std::string& path) const {
    TBusy_Cursor_Scope busy;
    std::string error;
    return Write_Whole_File(
        path, [this](TStream_Writer& w) { Write(w); }, error);
}

bool THigh_Scores_List::Load(const std::string& path) {
    TBusy_Cursor_Scope busy;
    try {
        TStream_Reader r = TStream_Reader::Open_File(path);
        Read(r);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void THigh_Scores_List::Write(TStream_Writer& w) const {
    Write_String(w, Save_File_Version);
    for (const THigh_Score& entry : Entries_) {
        Write_String(w, entry.Name);
        Write_String(w, entry.Class_Name);
        Write_Word(w, entry.Level);
        Write_Longint(w, entry.Experience);
    }
}

void THigh_Scores_List::Read(TStream_Reader& r) {
    Set_Last_File_Version(Read_String(r));
    for (THigh_Score& entry : Entries_) {
        entry.Name = Read_String(r);
        entry.Class_Name = Read_String(r);
        entry.Level = Read_Word(r);
        entry.Experience = Read_Longint(r);
    }
}

bool THigh_Scores_List::Add(const std::string& name, const std::string& class_name, uint16_t level,
                            int32_t experience) {
    const auto ranks_below = [&](const THigh_Score& entry) {
        return entry.Level < level || (entry.Level == level && entry.Experience < experience);
    };
    const auto at = std::find_if(Entries_.begin(), Entries_.end(), ranks_below);
    if (at == Entries_.end()) return false;
    std::move_backward(at, Entries_.end() - 1, Entries_.end());
    *at = {name, class_name, level, experience};
    return true;
}

const THigh_Score* THigh_Scores_List::Get(int32_t n) const {
    if (n < 1 || n > Entry_Count) return nullptr;
    return &Entries_[static_cast<size_t>(n - 1)];
}
