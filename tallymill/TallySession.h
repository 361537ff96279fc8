// The designers' tool without its window: the report text, the two file labels, the level range and the
// difficulty of the last press, the four presses and the two reports. The Qt window and the command line
// are thin layers over one TTally_Session; neither holds state of its own.
#pragma once

#include "core/Messages.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The text followed by blanks until it is width characters long (characters, not bytes: names may be
// Cyrillic); a longer text is returned unchanged.
std::string Pad_Right(const std::string& text, int32_t width);
// The same with the blanks in front.
std::string Pad_Left(const std::string& text, int32_t width);

// The level texts are converted as the run-time's integer conversion does: leading blanks, an optional
// sign, decimal digits or "$" and hexadecimal digits, within 32 bits; nothing for anything else.
std::optional<int32_t> Level_Text_To_Int(const std::string& text);
// "'abc' is not a valid integer value"
std::string Invalid_Integer_Message(const std::string& text);

// The widest range of levels one press reports: every level is a column of every table, and a range of
// millions would run until memory is gone.
constexpr int64_t Max_Report_Levels = 1000;
// Nothing when from..to holds at most Max_Report_Levels levels (from > to holds none), else the message
// the press is refused with, as a bad level text is.
std::optional<std::string> Level_Range_Error(int32_t from, int32_t to);

// Easy, Average, Difficult, Hard: the difficulty offset of index i is i - 1, as the game uses it.
const std::vector<std::string>& Difficulty_Names();
constexpr int32_t Average_Difficulty_Index = 1;

// The folder the tool treats as the program folder: the options store's "Game Path" when the store has
// that value (the game records it at every start), else own_folder. The store is only read.
std::string Tool_Base_Folder(const std::string& own_folder);
// Makes the program folder game_path when given, else Tool_Base_Folder(the current program folder), and
// installs the path settings when there are none.
void Select_Tool_Base_Folder(const std::optional<std::string>& game_path);

// The two file dialogs. The window shows real dialogs; the command line and the tests answer directly.
class TFile_Chooser {
public:
    virtual ~TFile_Chooser() = default;
    // The class file to load, or nothing when the dialog is cancelled.
    virtual std::optional<std::string> Choose_Class_File(const std::string& initial_folder) = 0;
    // Where to save the report, or nothing when the dialog is cancelled.
    virtual std::optional<std::string> Choose_Save_File(const std::string& initial_folder) = 0;
};

enum class TPress_Result {
    Reported,         // the report was appended
    Cancelled,        // the dialog was cancelled: nothing changed but the stored levels and difficulty
    Invalid_Level,    // a level text is not an integer, or the range is too wide: nothing changed; see
                      // Last_Error()
    Data_File_Errors, // the report now lists the errors of a data file
};

enum class TSave_Result { Saved, Cancelled, Failed };

class TTally_Session {
public:
    // messages: where plain messages (the failed save) go. The constructor installs it as the message sink,
    // and each press puts it back after collecting the effect and spell tables' error lists.
    explicit TTally_Session(std::shared_ptr<TMessage_Sink> messages);

    // The report, one element per line; it starts with one empty line.
    const TString_List& Lines() const { return Lines_; }
    const std::string& Monster_File_Label() const { return Monster_File_Label_; }
    const std::string& Item_File_Label() const { return Item_File_Label_; }
    int32_t Level_From() const { return Level_From_; }
    int32_t Level_To() const { return Level_To_; }
    int32_t Difficulty_Offset() const { return Difficulty_Offset_; }
    // The message of the last press that gave Invalid_Level.
    const std::string& Last_Error() const { return Last_Error_; }

    // The monster and item buttons: the level texts, the selected difficulty (index into
    // Difficulty_Names) and the dialog. Each press reads the chosen file again into a list of its own.
    TPress_Result Press_Monster(const std::string& from_text, const std::string& to_text,
                                int32_t difficulty_index, TFile_Chooser& chooser);
    TPress_Result Press_Item(const std::string& from_text, const std::string& to_text,
                             int32_t difficulty_index, TFile_Chooser& chooser);
    // Writes the report as RTF under the name exactly as chosen; a failure is shown as the message
    // "Error", "Unable to save file "<path>"."
    TSave_Result Press_Save(TFile_Chooser& chooser);
    // Empties the report (the next report then starts on the first line).
    void Press_Clear() { Lines_.clear(); }

    void Add_Line(const std::string& text) { Lines_.push_back(text); }
    // The window's text after the user edited it: the next press appends below it and Save writes it.
    void Replace_Lines(TString_List lines) { Lines_ = std::move(lines); }

private:
    enum class TClass_Kind { Monster, Item };
    TPress_Result Press(TClass_Kind kind, const std::string& from_text, const std::string& to_text,
                        int32_t difficulty_index, TFile_Chooser& chooser);
    bool Store_Levels(const std::string& from_text, const std::string& to_text, int32_t difficulty_index);
    // Loads the display effects, then the master spells; on an error the report lists it.
    bool Load_Tables();
    void List_Data_File_Errors(const TString_List& errors);
    std::string Dialog_Folder() const;

    std::shared_ptr<TMessage_Sink> Messages_;
    TString_List Lines_{""};
    std::string Monster_File_Label_ = "(None)";
    std::string Item_File_Label_ = "(None)";
    int32_t Level_From_ = 1;
    int32_t Level_To_ = 20;
    int32_t Difficulty_Offset_ = 0;
    std::string Last_Error_;
};
