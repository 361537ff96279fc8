#include "core/Terrain.h"

#include "core/DataFileParser.h"
#include "core/NameTables.h"
#include "core/Profile.h"
#include "core/SoundSeam.h"

#include <algorithm>
#include <limits>

namespace {

const char* const Error_Heading = "Terrain Data File Errors: ";

// Positions are 16-bit ids in the map file, so the list never grows beyond them.
const size_t Max_Positions = std::numeric_limits<uint16_t>::max();

void Insert_Sorted_Unique(TString_List& list, const std::string& text) {
    const auto at = std::lower_bound(list.begin(), list.end(), text);
    if (at == list.end() || *at != text) list.insert(at, text);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Value parsing

uint32_t Parse_Overview_Color(const std::string& text) {
    // Red, green and blue in that order; a value with fewer than three pieces reads the missing ones as 0
    // rather than reading pieces that are not there.
    uint32_t parts[3] = {0, 0, 0};
    size_t start = 0;
    for (int n = 0; n < 3 && start <= text.size(); ++n) {
        const size_t comma = text.find(',', start);
        const size_t end = comma == std::string::npos ? text.size() : comma;
        parts[n] = Str_To_Byte(Trim_Data(text.substr(start, end - start)));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return parts[0] + parts[1] * 256u + parts[2] * 65536u;
}

uint8_t Parse_Sight_Side(const std::string& text) {
    const std::string side = Ascii_Lower(Trim_Data(text));
    if (side == "north") return Side_North;
    if (side == "east") return Side_East;
    if (side == "south") return Side_South;
    if (side == "west") return Side_West;
    return Side_None;
}

uint8_t Parse_Terrain_Action(const std::string& text) {
    const int code = Find_Code(Action_Names, text, Action_Move, Action_Open_Secret);
    return code < 0 ? uint8_t{Action_None} : static_cast<uint8_t>(code);
}

// ---------------------------------------------------------------------------------------------------------
// TTerrain

void TTerrain::Assign(const TTerrain& other) {
    if (&other == this) return;
    List_Id = other.List_Id;
    Data_Id = other.Data_Id;
    Name = other.Name;
    Description = other.Description;
    Categories = other.Categories;
    Picture_L1 = other.Picture_L1;
    Picture_L2 = other.Picture_L2;
    Picture_L3 = other.Picture_L3;
    Movement_Flags = other.Movement_Flags;
    Vision_Flags = other.Vision_Flags;
    Next_Animated_Terrain_Id = other.Next_Animated_Terrain_Id;
    Overview_Color = other.Overview_Color;
    Light_Radius = other.Light_Radius;
    Damage.Assign(other.Damage);
    Sight_Side_Hidden = other.Sight_Side_Hidden;
    Sight_Hidden_Layer = other.Sight_Hidden_Layer;
    Next_Terrain_Action = other.Next_Terrain_Action;
    Next_Terrain_Sound = other.Next_Terrain_Sound;
    Next_Terrain_Id_1 = other.Next_Terrain_Id_1;
    Next_Terrain_Id_2 = other.Next_Terrain_Id_2;
    Next_Terrain_Id_3 = other.Next_Terrain_Id_3;
    Next_Terrain_Id_4 = other.Next_Terrain_Id_4;
    Display_Chest_Window = other.Display_Chest_Window;
    Locked_Terrain_Group = other.Locked_Terrain_Group;
    Locked_Key_Groups = other.Locked_Key_Groups;
    Trapped_Terrain_Group = other.Trapped_Terrain_Group;
    Style = other.Style;
    Duplicate_L2 = other.Duplicate_L2;
    Duplicate_L3 = other.Duplicate_L3;
    Picture_Index_L1 = other.Picture_Index_L1;
    Picture_Index_L2 = other.Picture_Index_L2;
    Picture_Index_L3 = other.Picture_Index_L3;
}

bool TTerrain::Has_Category(const std::string& name) const {
    return std::binary_search(Categories.begin(), Categories.end(), Ascii_Lower(name));
}

void TTerrain::Set_Categories(const std::string& text) {
    Categories.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        const size_t end = comma == std::string::npos ? text.size() : comma;
        Insert_Sorted_Unique(Categories, Ascii_Lower(Trim_Data(text.substr(start, end - start))));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

std::string TTerrain::Picture_File(int32_t layer) const {
    switch (layer) {
    case 1: return Picture_L1;
    case 2: return Picture_L2;
    case 3: return Picture_L3;
    default: return std::string();
    }
}

void TTerrain::Set_Picture_File(int32_t layer, const std::string& name) {
    switch (layer) {
    case 1: Picture_L1 = name; break;
    case 2: Picture_L2 = name; break;
    case 3: Picture_L3 = name; break;
    default: break;
    }
}

void TTerrain::Set_Picture_Index(int32_t layer, int16_t index) {
    switch (layer) {
    case 1: Picture_Index_L1 = index; break;
    case 2: Picture_Index_L2 = index; break;
    case 3: Picture_Index_L3 = index; break;
    default: break;
    }
}

uint16_t TTerrain::Do_Action(uint8_t action) const {
    switch (action) {
    case Action_Open:
    case Action_Close:
    case Action_Open_Secret:
        if (action != Next_Terrain_Action) return 0;
        if (!Next_Terrain_Sound.empty()) Sound_Play(Next_Terrain_Sound);
        return Next_Terrain_Id_1;
    case Action_Use:
    case Action_Any: {
        // "Use" and "Any" stand for the terrain's own action, taken once: an own "Use" or "Any" would
        // otherwise stand for itself without end, so it (like any other own action) changes nothing.
        uint16_t result = 0;
        const uint8_t own = Next_Terrain_Action;
        if (own == Action_Open || own == Action_Close || own == Action_Open_Secret) {
            if (!Next_Terrain_Sound.empty()) Sound_Play(Next_Terrain_Sound);
            result = Next_Terrain_Id_1;
        }
        // The click sounds as well, whatever the result: a door opened by a click is heard twice, and a
        // terrain whose own action is "Use" sounds on every click without changing.
        if (!Next_Terrain_Sound.empty()) Sound_Play(Next_Terrain_Sound);
        return result;
    }
    case Action_Bash_Door: return Next_Terrain_Id_2;
    default: return 0;
    }
}

// ---------------------------------------------------------------------------------------------------------
// TTerrain_List

TTerrain* TTerrain_List::Terrain(int32_t id) {
    if (id < 1 || static_cast<size_t>(id) > Positions_.size()) return nullptr;
    return Positions_[static_cast<size_t>(id) - 1].get();
}

const TTerrain* TTerrain_List::Terrain(int32_t id) const {
    if (id < 1 || static_cast<size_t>(id) > Positions_.size()) return nullptr;
    return Positions_[static_cast<size_t>(id) - 1].get();
}

uint16_t TTerrain_List::Put(const TTerrain& terrain, uint16_t id) {
    auto copy = std::make_unique<TTerrain>();
    copy->Assign(terrain);
    if (id == 0) {
        if (Positions_.size() >= Max_Positions) return 0;
        copy->List_Id = static_cast<uint16_t>(Positions_.size() + 1);
        Positions_.push_back(std::move(copy));
        return Positions_.back()->List_Id;
    }
    if (id > Positions_.size()) return 0;
    copy->List_Id = id;
    Positions_[id - 1u] = std::move(copy);
    return id;
}

uint16_t TTerrain_List::Add(const TTerrain& terrain) {
    return Put(terrain, 0);
}

void TTerrain_List::Clear() {
    Positions_.clear();
}

void TTerrain_List::Assign(const TTerrain_List& other) {
    if (&other == this) return;
    File_Name = other.File_Name;
    Clear();
    for (const auto& terrain : other.Positions_) {
        if (terrain) Add(*terrain);
    }
}

uint16_t TTerrain_List::Find_By_Data_Id(uint16_t data_id) const {
    for (size_t n = Positions_.size(); n > 0; --n) {
        const TTerrain* terrain = Positions_[n - 1].get();
        if (terrain && terrain->Data_Id == data_id) return terrain->List_Id;
    }
    return 0;
}

bool TTerrain_List::Load_From_File(const std::string& path) {
    Clear();
    File_Name = path;
    TTerrain_Data_File_Loader loader(path, *this);
    const bool ok = loader.Execute_Load_And_Report(Error_Heading);
    // A file with errors still gives every terrain it read their picture variants, so that the positions
    // the generator and the squares rely on do not depend on whether some key was missing.
    Expand_Duplicates();
    return ok;
}

void TTerrain_List::Expand_Duplicates() {
    // Only the terrains present now are expanded; the copies added here are not expanded again.
    const size_t loaded = Positions_.size();
    for (size_t n = 0; n < loaded; ++n) {
        // Adding moves the owning pointers, never the terrains, so the source stays valid.
        const TTerrain* source = Positions_[n].get();
        if (!source) continue;
        // The loader keeps both lists the same length; lists filled some other way expand only as far as
        // both reach.
        const size_t count = std::min(source->Duplicate_L2.size(), source->Duplicate_L3.size());
        for (size_t d = 0; d < count; ++d) {
            TTerrain copy;
            copy.Assign(*source);
            copy.Duplicate_L2.clear();
            copy.Duplicate_L3.clear();
            if (!source->Duplicate_L2[d].empty()) copy.Picture_L2 = source->Duplicate_L2[d];
            if (!source->Duplicate_L3[d].empty()) copy.Picture_L3 = source->Duplicate_L3[d];
            if (Add(copy) == 0) return;
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// TTerrain_Data_File_Loader

bool TTerrain_Data_File_Loader::Read_Flag(const std::string& key) {
    bool flag = false;
    Read_Bool_Field(key, flag);
    return flag;
}

void TTerrain_Data_File_Loader::Process_Record(int32_t) {
    // A missing key is reported and leaves the field as a new terrain has it.
    TTerrain t;
    std::string value;

    // A record without a name is named by its number in the error lines, not by the previous record's name.
    Set_Record_Name("");
    Read_Text_Field("Name", t.Name);
    Set_Record_Name(t.Name);
    Read_Word_Field("ID", t.Data_Id);
    Read_Text_Field("Description", t.Description);
    if (Get_Field_Value("Terrain Category", value, true)) t.Set_Categories(value);
    Read_Text_Field("Picture Filename L1", t.Picture_L1);
    Read_Text_Field("Picture Filename L2", t.Picture_L2);
    Read_Text_Field("Picture Filename L3", t.Picture_L3);
    if (Get_Field_Value("Sight Side Hidden", value, true)) t.Sight_Side_Hidden = Parse_Sight_Side(value);
    Read_Byte_Field("Sight Hidden Layer", t.Sight_Hidden_Layer);
    if (Read_Flag("Movement Flag Land")) t.Movement_Flags |= Movement_Land;
    if (Read_Flag("Movement Flag Air")) t.Movement_Flags |= Movement_Air;
    if (Read_Flag("Movement Flag Water")) t.Movement_Flags |= Movement_Water;
    if (Read_Flag("Movement Flag Ethereal")) t.Movement_Flags |= Movement_Ethereal;
    if (Read_Flag("Vision Flag Normal")) t.Vision_Flags |= Vision_Normal;
    Read_Word_Field("Next Animated Terrain ID", t.Next_Animated_Terrain_Id);
    if (Get_Field_Value("Overview Color", value, true)) t.Overview_Color = Parse_Overview_Color(value);
    Read_Byte_Field("Light Radius Generated", t.Light_Radius);
    Read_Byte_Field("Style", t.Style);
    t.Damage.Read_From_Data_File("", Field_Reader());
    if (Get_Field_Value("Next Terrain Action", value, true))
        t.Next_Terrain_Action = Parse_Terrain_Action(value);
    Read_Text_Field("Next Terrain Sound File", t.Next_Terrain_Sound);
    Read_Word_Field("Next Terrain ID 1", t.Next_Terrain_Id_1);
    Read_Word_Field("Next Terrain ID 2", t.Next_Terrain_Id_2);
    Read_Word_Field("Next Terrain ID 3", t.Next_Terrain_Id_3);
    Read_Word_Field("Next Terrain ID 4", t.Next_Terrain_Id_4);

    // Both names of a duplicate are appended even when their key is missing (the gap is still reported):
    // the variants are built from the two lists side by side, and a list that fell behind would pair
    // every later L2 picture with the wrong L3 picture.
    uint16_t duplicates = 0;
    Read_Word_Field("Number of Duplicate Terrains", duplicates);
    for (uint32_t n = 1; n <= duplicates; ++n) {
        const std::string key = "Duplicate Terrain " + std::to_string(n) + " Filename ";
        Get_Field_Value(key + "L2", value, true);
        t.Duplicate_L2.push_back(value);
        Get_Field_Value(key + "L3", value, true);
        t.Duplicate_L3.push_back(value);
    }

    Read_Text_Field("Locked Terrain Group", t.Locked_Terrain_Group);
    Read_Text_Field("Trapped Terrain Group", t.Trapped_Terrain_Group);
    Read_Bool_Field("Display Chest Window", t.Display_Chest_Window);

    // A missing key group still takes its place, so "Locked Key Group n" stays entry n.
    uint16_t key_groups = 0;
    Read_Word_Field("Number of Locked Key Groups", key_groups);
    for (uint32_t n = 1; n <= key_groups; ++n) {
        Get_Field_Value("Locked Key Group " + std::to_string(n) + " Name", value, true);
        t.Locked_Key_Groups.push_back(value);
    }

    if (List_.Add(t) == 0) {
        // Squares hold 16-bit positions; a terrain beyond them could never be referred to.
        Add_Error((Is_Tool_Profile() ? "Too many terrains, not stored: \""
                                     : "Слишком много видов местности, не сохранено: \"") +
                  t.Name + "\".");
    }
}
