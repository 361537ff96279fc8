// The list machinery the item and monster class lists share: classes owned by position (from 1), read from
// one data file at a time, picked at random by name and group filter, and a guard that makes one list of a
// kind current for a scope.
#pragma once

#include "core/DataFileLoader.h"
#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// How a class's group is matched against a caller's group filter beyond the cases every kind admits.
enum class TGroup_Match {
    Filter_Contains_Group, // the filter contains the group: "weapons, armour" admits "armour"
    Either_Contains_Other, // that, or the group contains the (non-empty) filter: "arm" admits "armour"
};

// Whether a caller's group filter admits a class's group: an empty or "any" group always, the filters "all"
// and "none" always, otherwise as the match says (letter case ignored). An empty filter is contained in
// every text, so it is not counted as contained in the group: it admits only the empty and "any" groups.
inline bool Class_Group_Matches(const std::string& group, const std::string& filter, TGroup_Match match) {
    if (group.empty()) return true;
    const std::string lower_group = Ascii_Lower(group);
    if (lower_group == "any") return true;
    const std::string lower_filter = Ascii_Lower(filter);
    if (lower_filter == "all" || lower_filter == "none") return true;
    if (lower_filter.find(lower_group) != std::string::npos) return true;
    return match == TGroup_Match::Either_Contains_Other && !lower_filter.empty() &&
           lower_group.find(lower_filter) != std::string::npos;
}

// TClass has an Index (its position), Assign(other) and Group_Matches(filter); Name is the member
// Pick_Random_Class compares names with.
template <class TClass, std::string TClass::*Name> class TClass_List {
public:
    TClass_List() = default;
    TClass_List(const TClass_List&) = delete;
    TClass_List& operator=(const TClass_List&) = delete;

    std::string File_Name; // the name given to the last load

    // The class at the position; null for 0 or beyond the count.
    TClass* Get_Class(int32_t index) const {
        if (index < 1 || index > Get_Count()) return nullptr;
        return Classes_[static_cast<size_t>(index) - 1].get();
    }
    int32_t Get_Count() const { return static_cast<int32_t>(Classes_.size()); }
    // Appends a copy whose Index becomes its position, which is returned; 0 when nothing was stored (a
    // list already holding 65535 classes: class indexes are 16-bit).
    uint16_t Add_Class(const TClass& new_class) {
        if (Classes_.size() >= 65535) return 0;
        auto copy = std::make_unique<TClass>();
        copy->Assign(new_class);
        copy->Index = static_cast<uint16_t>(Classes_.size() + 1);
        Classes_.push_back(std::move(copy));
        return static_cast<uint16_t>(Classes_.size());
    }
    // Frees every class; the file name stays, and so does what a kind's list holds besides its classes.
    void Clear() { Classes_.clear(); }

    // One of the classes whose name (the Name member) equals the name (letter case ignored) and whose group
    // the filter admits, chosen at random; null when none.
    const TClass* Pick_Random_Class(const std::string& name, const std::string& group_filter) const {
        std::vector<const TClass*> candidates;
        for (const auto& candidate : Classes_)
            if (Ascii_Equal_No_Case((*candidate).*Name, name) && candidate->Group_Matches(group_filter))
                candidates.push_back(candidate.get());
        if (candidates.empty()) return nullptr;
        const int32_t pick = Random_Range(1, static_cast<int32_t>(candidates.size()));
        return candidates[static_cast<size_t>(pick) - 1];
    }

protected:
    // The shared part of Load_From_File, given the loader of the kind's file set up for this list: a file
    // of the last load's name (letter case counts) is not read again and gives true; otherwise the classes
    // are cleared and the loader run, its errors going to error_list or shown under the heading.
    bool Load_Classes(TData_File_Loader& loader, TString_List* error_list, const std::string& heading) {
        const std::string& file_name = loader.Get_File_Name();
        // A list that has loaded nothing yet has no name to compare with: an empty name is still read.
        if (!File_Name.empty() && file_name == File_Name) return true;
        Clear();
        File_Name = file_name;
        return loader.Execute_Load_And_Report(heading, error_list);
    }

private:
    std::vector<std::unique_ptr<TClass>> Classes_; // position n is element n - 1; never null
};

// Makes a list current for a scope (through the kind's setter) and leaves none current when the scope ends,
// however it ends, so a failed load, restock or module creation never leaves a freed list behind as the
// current one.
template <class TList, void (*Set_Current)(TList*)> class TCurrent_Class_List_Guard {
public:
    explicit TCurrent_Class_List_Guard(TList& list) { Set_Current(&list); }
    ~TCurrent_Class_List_Guard() { Set_Current(nullptr); }
    TCurrent_Class_List_Guard(const TCurrent_Class_List_Guard&) = delete;
    TCurrent_Class_List_Guard& operator=(const TCurrent_Class_List_Guard&) = delete;
};
