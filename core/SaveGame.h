// The binary files of the game as whole files: the saved game ("game.id" with its map file and module file),
// the map files of a module, the module file and the character files. Each file has a body, which reads or
// writes the stream alone (memory streams in tests and fuzzing), and a shell, which opens the file, shows
// the busy cursor and the progress, and reports a failure in the player's message box.
//
// Every file is written through the atomic writer: a save that fails leaves the file it would have replaced
// as it was. Every load reads into new objects and hands them over only when the whole file was read: a
// broken file never leaves a half-read map, module or character in play.
#pragma once

#include "core/GameOptions.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class TItem;
class TMap;
class TModule;
class TMonster;

// The version every file written here starts with; readers keep what they read as the last file version
// and refuse no version.
inline constexpr const char* Save_File_Version = "1.06";

// ---------------------------------------------------------------------------------------------------------
// Bodies

// "game.id": the description, the version, the map file name, the module file name, the player's creature
// id, the module name (its folder name with a trailing separator), the game options.
struct TGame_Id {
    std::string Description;
    std::string Version; // as read; the writer always writes Save_File_Version
    std::string Map_File_Name;
    std::string Module_File_Name;
    uint16_t Player_Id = 0;
    std::string Module_Name;
    TGame_Options Options;
};
void Write_Game_Id_Body(TStream_Writer& w, const TGame_Id& id);
// Reads into id field by field (what was read before a failure stays there) and sets the last file version
// as soon as the version is read. A broken stream raises EStream_Read_Error.
void Read_Game_Id_Body(TStream_Reader& r, TGame_Id& id);
// Whether the names a "game.id" gives may be used: the map and module file names are plain names, and the
// module name is empty or stays inside the modules folder. refused, when given, receives the first refused
// name.
bool Game_Id_Names_Allowed(const TGame_Id& id, std::string* refused = nullptr);

// A map file: the version, then the map record.
void Write_Map_File_Body(TStream_Writer& w, const TMap& map);
// Reads the version (kept as the last file version) and the map record into map, whose item list creature
// records resolve their items through while they are read; the stores are not restocked. A broken stream
// or a refused file name inside raises EStream_Read_Error. The answer is the map record's (false when a
// creature or item record was unusable and left its slot empty).
bool Read_Map_File_Body(TStream_Reader& r, TMap& map, const std::string& file_name);

// A module file: the version, then the module record.
void Write_Module_File_Body(TStream_Writer& w, const TModule& module);
// Reads the version (kept as the last file version) and the module into module, which is given file_name.
// A broken stream raises EStream_Read_Error.
void Read_Module_File_Body(TStream_Reader& r, TModule& module, const std::string& file_name);

// A character file: the version, the creature record, the number of occupied inventory slots 1..90 (0 when
// the inventory is empty), then per occupied slot in ascending order its number and the item record.
void Write_Character_File_Body(TStream_Writer& w, const TMonster& creature);
// A character file as read: the creature (not recalculated: its inventory still names the items of the map
// it was saved on) and the items with the slots they were saved in.
struct TCharacter_File {
    std::unique_ptr<TMonster> Creature;
    std::vector<std::pair<uint16_t, std::unique_ptr<TItem>>> Items;
    TCharacter_File();
    ~TCharacter_File();
};
// Reads the version (kept as the last file version), the creature and the items. A broken stream raises
// EStream_Read_Error; a count of items the bytes left cannot hold raises before anything is allocated.
void Read_Character_File_Body(TStream_Reader& r, TCharacter_File& file);
// Makes the creature the character read: copies of the items go into the current map's item list (which
// gives them their ids) and into the creature's emptied inventory at their slots; an item whose slot is
// outside 1..90 or already taken is dropped and leaves nothing in the item list. The statistics are then
// recalculated once, life, mana and food staying as read up to the new maxima. The character's record
// replaces the creature's, its id included (callers that keep the id restore it).
void Place_Character(TCharacter_File& file, TMonster& creature);

// ---------------------------------------------------------------------------------------------------------
// Shells

// Writes a whole file through the atomic writer while the busy cursor shows: body writes the stream into
// memory, then the file replaces the old one in one step. On any failure shows (caption, failure_text) and
// answers false; the old file is unchanged.
bool Save_File(const std::string& path, const std::function<void(TStream_Writer&)>& body,
               const std::string& caption, const std::string& failure_text);
// The same without a message; error receives the reason.
bool Write_Whole_File(const std::string& path, const std::function<void(TStream_Writer&)>& body,
                      std::string& error);

// Reads the map file into a new map that then replaces the current one (given the path's file name) and
// restocks its stores; with place_player, Place_Player(12, 12, none). Failure: "Error", "Unable to load map
// file "<path>"." and the current map stays as it was.
bool Load_Map(const std::string& path, bool place_player);
// Failure: "Error", "Unable to save map file "<path>".".
bool Save_Map(const TMap& map, const std::string& path);
// Reads the character file and puts it into the creature (Place_Character). Failure: "Ошибка",
// "Не удаётся загрузить файл "<path>"." and the creature and the item list stay as they were.
bool Load_Character(TMonster& creature, const std::string& path);
// The folder is created when missing. Failure: "Error", "Unable to save character file "<path>".".
bool Save_Character(const TMonster& creature, const std::string& path);
// The file of a character in the characters folder: the name followed by ".dat". Nothing for a name that is
// not one plain name (it would leave the folder or name no file).
std::optional<std::string> Character_File_Path(const std::string& character_name);

// Writes "game.id" into the folder of map_path, the map at map_path and the running module at module_path,
// under the progress box "Сохранение... " (10, 50, 90) with the held item hidden, after what an interrupted
// slot operation left has been put back (Recover_Save_Folders). True only when all three
// files were written. Failure: "Error", "Unable to save game file "<map path>"."; files already written
// stay, and no file is ever half written.
bool Save_Game(const std::string& description, const TMap& map, const TMonster* player,
               const std::string& module_path, const std::string& map_path);
// Loads the saved game in the folder under the progress box "  Загрузка...  " (10, 30, 50) with the held
// item hidden: "game.id" (its names checked), the module it names becomes current for the path settings and
// the global data is reloaded, then the module file and the map file are read into new objects and the
// player id must name a creature of that map. Only then do the map, the module, the player and the game
// options replace the running ones, the stores are restocked and the map's pictures built. A missing
// "game.id": "Ошибка", "Не удаётся загрузить файл "<game.id path>"."; any other failure: "Ошибка",
// "Не удаётся загрузить файл "<map file name as read>"." (empty before it was read), the previous module is
// set back and the global data reloaded; the running game is untouched.
bool Load_Game(const std::string& folder);
// Reads the module file (folder + file_name) into a new module that then replaces module's contents (it is
// given the file name part); with load_start_map, Load_Map of the start map's file in the folder and
// Place_Player at the start square. The module is given the folder as its source folder. False when any
// step fails. A module file that cannot be read: "Error", "Unable to load module file "<path>"."; a start
// square off the map the same.
bool Load_Module(const std::string& folder, const std::string& file_name, TModule& module,
                 bool load_start_map, const TMonster* player);
// Puts a copy of the creature (or of the default hero "John Hero" when none is given) into the current
// map's creature list at (x, y) as the player, recalculated. False, changing nothing, when there is no map,
// the square is outside 1..200 or the creature list is full.
bool Place_Player(int32_t x, int32_t y, const TMonster* creature);
