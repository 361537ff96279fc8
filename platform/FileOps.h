// File operations of saved games: whole files replaced in one step, folders created, renamed and removed,
// and the regular files of a folder. A save that fails part-way must leave the file it replaces as it was,
// and a crash must never leave half a file under the real name.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace plat {

// Writes the bytes to the path so that the path holds either its old contents or all of the new ones: a
// temporary file is created in the same folder (never an existing one: it is opened exclusively, so a file
// or link planted under the temporary name is not written through), filled, flushed to the disk and closed,
// then renamed over the target, and the folder itself is flushed. An existing file whose name differs only
// in letter case is the target, so a folder never holds both "module.mod" and "Module.mod"; a new file goes
// into the existing folder whose name matches ignoring case. On failure the temporary file is removed, the
// old file stays, error names the step and the result is false.
bool Write_File_Atomically(const std::string& path, const void* data, size_t size, std::string& error);
inline bool Write_File_Atomically(const std::string& path, const std::string& bytes, std::string& error) {
    return Write_File_Atomically(path, bytes.data(), bytes.size(), error);
}

// The name of the temporary file for a target on the given attempt: ".<name>.<process id>.<attempt>.tmp"
// in the target's folder.
std::string Temporary_Name(const std::string& target, int attempt);

// The steps of a write a test can make fail; Rename_Folder is Rename_Path's.
enum class TWrite_Step { Write, Sync, Close, Rename, Rename_Folder };
// Makes every write whose target path contains Path_Part fail at the step; at Write, after At_Byte bytes
// of the file have gone out (so 0 fails before the first byte). At Rename_Folder, every Rename_Path whose
// from path contains Path_Part fails. Kept until replaced or cleared.
struct TWrite_Fault {
    std::string Path_Part;
    TWrite_Step Step = TWrite_Step::Write;
    size_t At_Byte = 0;
};
void Set_Write_Fault(std::optional<TWrite_Fault> fault);

// The names of the regular files of a folder (resolved ignoring case), sorted. Links are not followed and
// not listed, nor are folders. Nothing when the folder cannot be read.
std::vector<std::string> List_Regular_Files(const std::string& folder);
// Reads a regular file that is not a link; false otherwise.
bool Read_Regular_File(const std::string& path, std::string& contents);

// Creates the folder and its missing parents; true when it exists as a folder afterwards.
bool Make_Folders(const std::string& path, std::string& error);
// Renames a file or folder (the names as given); false with error when that fails.
bool Rename_Path(const std::string& from, const std::string& to, std::string& error);
// Removes a folder with everything in it; links inside are removed, never followed. True when nothing is
// left under the name.
bool Remove_Tree(const std::string& path);
// Flushes a folder's entries (new, renamed and removed names) to the disk.
bool Sync_Folder(const std::string& path, std::string& error);
// Whether the exact path names a folder (links are not followed).
bool Is_Real_Folder(const std::string& path);

} // namespace plat
