// The save slots and the current-game folder. The running game lives in "CurrGame/" (its map files, the
// module file and, once saved, "game.id"); a save slot is a copy of that folder in "Savegames/slotNN/".
//
// Slots are replaced whole, never emptied first: storing copies the current game into "slotNN.tmp/", renames
// the old slot to "slotNN.old/" and the new copy into its place, then deletes the old one; loading copies a
// slot into "CurrGame.tmp/", loads the game from there and only then swaps it in for "CurrGame/" the same
// way. A failure at any step leaves the slot, the current-game folder and the running game as they were; a
// crash between the two renames leaves a ".old" folder without its original, which is renamed back before
// any slot or the current game is used again.
#pragma once

#include <cstdint>
#include <string>

// Slots 1..10; slot 10 is the autosave.
inline constexpr int32_t Save_Slot_Count = 10;
inline constexpr int32_t Autosave_Slot = 10;

// Copies every regular file of the from folder into the to folder under the same name, replacing files
// there, each through the atomic writer. Links and folders are skipped; links are never followed. Stops at
// the first file that cannot be copied: "Error", "Unable to copy files from "<from>" to "<to>".".
bool Copy_Files(const std::string& from, const std::string& to);
// Deletes every regular file of the folder (links and folders stay). A missing folder has nothing to
// delete. Failure: "Error", "Unable to delete files from "<folder>".".
bool Delete_Files(const std::string& folder);

// The description of the saved game in the folder: the first string of its "game.id"; empty when there is
// none or it cannot be read.
std::string Read_Save_Description(const std::string& folder);

// Copies the current-game folder into slot n, replacing the slot whole. Called only after Save_Game
// succeeded, so a failed save never reaches a slot. False (the slot unchanged) on any failure, with the
// copy message; false at once for a slot outside 1..10.
bool Store_Slot(int32_t n);
// Loads the game of slot n. A slot without "game.id" fails with the load message ("Ошибка",
// "Не удаётся загрузить файл "<path>".") before anything changes; otherwise the slot is copied aside,
// loaded with Load_Game and only on success becomes the current-game folder. False on any failure, the
// current-game folder and the running game as they were.
bool Load_Slot(int32_t n);

// Puts back what an interrupted slot operation left: a ".old" folder whose original is missing is renamed
// back, one whose original exists is deleted, and ".tmp" folders are deleted. Run by every slot operation,
// by Read_Save_Description and by Save_Game; the "Savegames/" folder is created when missing. Never run
// while a slot operation is under way (it would delete the copy in progress).
void Recover_Save_Folders();
