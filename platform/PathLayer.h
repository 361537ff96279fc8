// File-system paths for a program whose data names come from another platform: names may use "\",
// letter case in data may differ from the files on disk, and names read from saves must stay inside
// their folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plat {

// "\" in a name from a data file or a save becomes "/".
std::string Slashes_From_Data(const std::string& name);

// Joins two pieces with exactly one "/" between them (the first may end with "/", the second may start
// with one); repeated separators inside the result are collapsed ("Savegames//slot07/" ->
// "Savegames/slot07/").
std::string Join(const std::string& a, const std::string& b);
std::string Collapse_Separators(const std::string& path);

// The path as written when it exists; otherwise the path found by matching each missing component
// against the folder's entries ignoring ASCII letter case (the first component that already exists
// is taken as is). Returns nothing when no such path exists.
std::optional<std::string> Find_Existing(const std::string& path);
// Find_Existing, or the path unchanged when nothing matches (so an open fails naming the path asked for).
std::string Resolve_Path(const std::string& path);

// Find_Existing when that names a regular file; nothing otherwise.
std::optional<std::string> Find_Regular_File(const std::string& path);
bool Is_Regular_File(const std::string& path); // after resolution
bool Is_Directory(const std::string& path);    // after resolution

// A relative name that stays inside its folder: not empty, not absolute, no ".." component.
bool Is_Contained_Name(const std::string& name);

// The last component of a path, splitting on both "/" and "\".
std::string Base_Name(const std::string& path);

// Folder of the running executable, with a trailing "/".
std::string Executable_Folder();
std::string Executable_Path();

// Reads a whole file (resolved); false when it cannot be read.
bool Read_File(const std::string& path, std::string& contents);

// Names of the entries of a folder (resolved), sorted; empty when it cannot be read.
std::vector<std::string> List_Folder(const std::string& path);

} // namespace plat
