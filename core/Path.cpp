#include "core/Path.h"

#include "core/GlobalFuncs.h"
#include "platform/PathLayer.h"

#include <cstdio>

namespace {
std::unique_ptr<TPath_Settings> Current_Path_Settings;

// Names from data and saves may carry "\"; the path is then found on disk whatever its letter case.
std::string Resolved(const std::string& path) {
    return plat::Resolve_Path(plat::Collapse_Separators(path));
}

// A file name that must stay inside its folder: one that would leave it keeps only its last component.
std::string Contained(const std::string& name) {
    const std::string n = plat::Slashes_From_Data(name);
    if (plat::Is_Contained_Name(n)) return n;
    const std::string last = plat::Base_Name(n);
    return (last == "." || last == "..") ? std::string() : last;
}
} // namespace

bool TPath_Settings::Set_Module(const std::string& name) {
    std::string module = plat::Slashes_From_Data(name);
    if (!module.empty() && !plat::Is_Contained_Name(module)) return false;
    if (!module.empty() && module.back() != '/') module += '/';
    Module_Name_ = module;
    Module_Folder_ = module.empty() ? std::string() : Base_Folder() + "Modules/" + module;
    return true;
}

std::string TPath_Settings::Get_File(const std::string& subfolder, const std::string& file_name) const {
    // Picture and music names come from maps, saves and data files; none may reach outside the program.
    if (!Is_Safe_Data_Name(file_name)) return std::string();
    const std::string relative = plat::Slashes_From_Data(subfolder + file_name);
    if (!Module_Name_.empty()) {
        const std::string module_copy = plat::Collapse_Separators(Module_Folder_ + relative);
        if (std::optional<std::string> found = plat::Find_Regular_File(module_copy)) return *found;
    }
    return Resolved(Base_Folder() + relative);
}

std::string TPath_Settings::Module_Path(const std::string& relative) const {
    return Resolved(Module_Folder_.empty() ? Base_Folder() + "Modules/" + relative
                                           : Module_Folder_ + relative);
}

std::string TPath_Settings::Get_Tile_File(const std::string& name) const {
    return Module_Path("Tiles/" + Contained(name));
}

std::string TPath_Settings::Get_High_Scores_File() const {
    return Resolved(Base_Folder() + "Data/HighScores.dat");
}
std::string TPath_Settings::Get_Character_File(const std::string& name) const {
    return Resolved(Base_Folder() + "Characters/" + Contained(name));
}
std::string TPath_Settings::Get_Characters_Folder() const {
    return Resolved(Base_Folder() + "Characters/");
}
std::string TPath_Settings::Get_Modules_Folder() const {
    return Resolved(Base_Folder() + "Modules/");
}
std::string TPath_Settings::Get_Current_Game_Folder() const {
    return Resolved(Base_Folder() + "CurrGame/");
}

std::string TPath_Settings::Get_Save_Slot_Folder(int32_t slot) const {
    char name[32];
    std::snprintf(name, sizeof(name), "slot%.2d/", slot);
    return Resolved(Base_Folder() + "Savegames/" + name);
}

bool Is_Plain_File_Name(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

bool Is_Safe_Data_Name(const std::string& name) {
    return name.empty() || plat::Is_Contained_Name(name);
}

TPath_Settings* Path_Settings() {
    return Current_Path_Settings.get();
}

void Install_Path_Settings(std::unique_ptr<TPath_Settings> settings) {
    Current_Path_Settings = std::move(settings);
}

std::unique_ptr<TPath_Settings> Remove_Path_Settings() {
    return std::move(Current_Path_Settings);
}
