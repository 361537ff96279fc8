// The tool without a window: each --monsters or --items is one press of its button, in the order given, and
// the report is printed as the window would hold it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct TCommand_Line {
    struct TPress {
        bool Monsters = false;
        std::string File_Name;
    };
    std::optional<std::string> Game_Path;
    std::string From_Text = "1";
    std::string To_Text = "20";
    int32_t Difficulty_Index = 1; // Average
    std::vector<TPress> Presses;
    std::optional<std::string> Save_File;
    bool Help = false;
    bool Report_Options = false; // --from, --to or --difficulty given

    // Nothing but --game-path: the window's arguments.
    bool Wants_Window() const { return Presses.empty() && !Save_File && !Help && !Report_Options; }
};

// Exit codes of the command line.
enum : int {
    Exit_Success = 0,
    Exit_Data_File_Errors = 1, // a press listed data-file errors
    Exit_Bad_Argument = 2,     // nothing was read
    Exit_Save_Failed = 3,
};

const char* Command_Line_Usage();

// Checks every argument, level texts included, before anything is read: false with the reason otherwise.
// Presses are not required here (the window takes none).
bool Parse_Command_Line(const std::vector<std::string>& args, TCommand_Line& command, std::string& error);

// Selects the program folder (Select_Tool_Base_Folder), runs the presses, prints the report's lines (UTF-8,
// one per line, the leading empty line included) to out and writes the RTF file when asked; messages go to
// err. Returns one of the exit codes.
int Run_Command_Line(const TCommand_Line& command, std::ostream& out, std::ostream& err);

// Parse_Command_Line, then Run_Command_Line; a bad argument, or no press at all, is reported to err with
// the usage.
int Tallymill_Command_Line(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
