// What the front-end dialogs list and compare: the entries of the modules folder, the character files of
// the characters folder, and the character data-set identifiers. Folder order is arbitrary on this
// platform, so both lists are sorted without regard to letter case, Cyrillic letters included.
#pragma once

#include <string>
#include <vector>

// Lower case for ASCII and Cyrillic letters of UTF-8 text; every other character stays as it is.
std::string Fold_Case(const std::string& text);
// Whether a sorts before b ignoring letter case; names equal that way keep their byte order, so the order
// never depends on the folder.
bool Less_Ignoring_Case(const std::string& a, const std::string& b);

// The names of the modules folder's entries, folders and plain files alike, without the hidden ones (names
// starting with "."), sorted ignoring case. Nothing when the folder cannot be read.
std::vector<std::string> List_Module_Entries(const std::string& folder);

// The character names of the characters folder: every regular file whose name ends in ".dat" in any
// letter case, without that ending, sorted ignoring case. A file named just ".dat" names nobody.
std::vector<std::string> List_Character_Names(const std::string& folder);

// Whether the data-set identifier recorded on a character and the module's are the same, both trimmed and
// compared ignoring case.
bool Same_Data_Set(const std::string& a, const std::string& b);
