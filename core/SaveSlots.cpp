#include "core/SaveSlots.h"

#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "core/SaveGame.h"
#include "platform/FileOps.h"
#include "platform/PathLayer.h"

#include <cstdio>
#include <exception>
#include <unistd.h>

namespace {

const char* const Old_Suffix = ".old";
const char* const Temporary_Suffix = ".tmp";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Without_Trailing_Separator(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool Ends_With(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void Show_Copy_Failure(const std::string& from, const std::string& to) {
    Show_Message("Error", "Unable to copy files from " + Quoted(from) + " to " + Quoted(to) + ".");
}

std::string Savegames_Folder() {
    return Without_Trailing_Separator(plat::Resolve_Path(Base_Folder() + "Savegames"));
}

std::string Current_Game_Folder() {
    return Without_Trailing_Separator(plat::Resolve_Path(Base_Folder() + "CurrGame"));
}

// The slot's folder without its trailing separator, found ignoring letter case.
std::string Slot_Folder(int32_t n) {
    char name[16];
    std::snprintf(name, sizeof name, "slot%.2d", n);
    return Without_Trailing_Separator(plat::Resolve_Path(plat::Join(Savegames_Folder(), name)));
}

// The folder's ".old" and ".tmp" companions, left by an interrupted swap.
void Recover_Companions(const std::string& folder) {
    const std::string old = folder + Old_Suffix;
    if (plat::Is_Real_Folder(old)) {
        std::string error;
        if (!plat::Is_Real_Folder(folder))
            plat::Rename_Path(old, folder, error);
        else
            plat::Remove_Tree(old);
    }
    plat::Remove_Tree(folder + Temporary_Suffix);
}

// Puts the new folder in place of the old one: the old one is renamed aside, the new one into its place,
// then the old one is deleted. When the second rename fails the old one goes back.
bool Swap_In(const std::string& fresh, const std::string& folder) {
    std::string error;
    const std::string old = folder + Old_Suffix;
    plat::Remove_Tree(old);
    const bool had_folder = plat::Is_Real_Folder(folder);
    if (had_folder && !plat::Rename_Path(folder, old, error)) return false;
    if (!plat::Rename_Path(fresh, folder, error)) {
        if (had_folder) plat::Rename_Path(old, folder, error);
        return false;
    }
    const size_t cut = folder.find_last_of('/');
    plat::Sync_Folder(cut == std::string::npos ? std::string(".") : folder.substr(0, cut + 1), error);
    plat::Remove_Tree(old);
    return true;
}

// A fresh, empty copy of the from folder beside the target, named target + ".tmp"; empty on failure (the
// copy message has been shown).
std::string Copy_Aside(const std::string& from, const std::string& target) {
    const std::string temporary = target + Temporary_Suffix;
    std::string error;
    plat::Remove_Tree(temporary);
    if (!plat::Make_Folders(temporary, error)) {
        Show_Copy_Failure(from, temporary);
        return std::string();
    }
    if (!Copy_Files(from, temporary)) {
        plat::Remove_Tree(temporary);
        return std::string();
    }
    return temporary;
}

} // namespace

bool Copy_Files(const std::string& from, const std::string& to) {
    const std::string source = plat::Resolve_Path(from);
    for (const std::string& name : plat::List_Regular_Files(source)) {
        std::string bytes, error;
        if (!plat::Read_Regular_File(plat::Join(source, name), bytes) ||
            !plat::Write_File_Atomically(plat::Join(to, name), bytes, error)) {
            Show_Copy_Failure(from, to);
            return false;
        }
    }
    return true;
}

bool Delete_Files(const std::string& folder) {
    const std::string resolved = plat::Resolve_Path(folder);
    for (const std::string& name : plat::List_Regular_Files(resolved)) {
        if (::unlink(plat::Join(resolved, name).c_str()) != 0) {
            Show_Message("Error", "Unable to delete files from " + Quoted(folder) + ".");
            return false;
        }
    }
    return true;
}

void Recover_Save_Folders() {
    std::string error;
    const std::string savegames = Savegames_Folder();
    plat::Make_Folders(savegames, error);
    for (const std::string& entry : plat::List_Folder(savegames)) {
        if (Ends_With(entry, Old_Suffix))
            Recover_Companions(plat::Join(savegames, entry.substr(0, entry.size() - 4)));
        else if (Ends_With(entry, Temporary_Suffix) && plat::Is_Real_Folder(plat::Join(savegames, entry)))
            plat::Remove_Tree(plat::Join(savegames, entry));
    }
    Recover_Companions(Current_Game_Folder());
}

std::string Read_Save_Description(const std::string& folder) {
    Recover_Save_Folders();
    try {
        TStream_Reader r = TStream_Reader::Open_File(plat::Join(folder, "game.id"));
        return Read_String(r);
    } catch (const std::exception&) {
        return std::string();
    }
}

bool Store_Slot(int32_t n) {
    if (n < 1 || n > Save_Slot_Count) return false;
    Recover_Save_Folders();
    const std::string current = Current_Game_Folder();
    const std::string slot = Slot_Folder(n);
    const std::string fresh = Copy_Aside(current, slot);
    if (fresh.empty()) return false;
    if (!Swap_In(fresh, slot)) {
        plat::Remove_Tree(fresh);
        Show_Copy_Failure(current, slot);
        return false;
    }
    return true;
}

bool Load_Slot(int32_t n) {
    if (n < 1 || n > Save_Slot_Count) return false;
    Recover_Save_Folders();
    const std::string slot = Slot_Folder(n);
    const std::string id_path = plat::Join(slot, "game.id");
    if (!plat::Is_Regular_File(id_path)) {
        Show_Message("Ошибка", "Не удаётся загрузить файл " + Quoted(id_path) + ".");
        return false;
    }
    const std::string current = Current_Game_Folder();
    const std::string fresh = Copy_Aside(slot, current);
    if (fresh.empty()) return false;
    if (!Load_Game(fresh + "/")) {
        plat::Remove_Tree(fresh);
        return false;
    }
    if (!Swap_In(fresh, current)) {
        // The game is loaded, but the folder the next save writes to still holds the previous game's other
        // maps: the player is told, and should load again.
        plat::Remove_Tree(fresh);
        Show_Copy_Failure(slot, current);
        return false;
    }
    return true;
}
