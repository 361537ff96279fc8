#include "tallymill/TallyCommandLine.h"

#include "tallymill/TallyReports.h"
#include "tallymill/TallySession.h"

#include <ostream>

namespace {

// The presses' answers without dialogs: the class file of the press being run, and the --save file.
class TArgument_Chooser : public TFile_Chooser {
public:
    std::optional<std::string> Choose_Class_File(const std::string&) override { return Class_File; }
    std::optional<std::string> Choose_Save_File(const std::string&) override { return Save_File; }
    std::optional<std::string> Class_File;
    std::optional<std::string> Save_File;
};

class TStream_Message_Sink : public TMessage_Sink {
public:
    explicit TStream_Message_Sink(std::ostream& err) : Err_(err) {}
    void Show_Message(const std::string& caption, const std::string& text) override {
        Err_ << caption << ": " << text << std::endl;
    }
    void Show_Error_List(const TString_List& list, const std::string& heading,
                         const std::string& file_name) override {
        Err_ << heading << file_name << std::endl;
        for (const std::string& line : list) Err_ << line << std::endl;
    }

private:
    std::ostream& Err_;
};

// The stream sink must not outlive the run: the default sink comes back however the run ends.
class TMessage_Sink_Reset {
public:
    TMessage_Sink_Reset() = default;
    ~TMessage_Sink_Reset() { Install_Message_Sink(nullptr); }
    TMessage_Sink_Reset(const TMessage_Sink_Reset&) = delete;
    TMessage_Sink_Reset& operator=(const TMessage_Sink_Reset&) = delete;
};

} // namespace

const char* Command_Line_Usage() {
    return "usage: tallymill [--game-path DIR] [--from N] [--to M] [--difficulty "
           "Easy|Average|Difficult|Hard]\n"
           "                 (--monsters FILE | --items FILE)... [--save OUT.rtf]\n"
           "Each --monsters or --items loads one class file and appends its report, in the order given; the\n"
           "report is printed to standard output and, with --save, written as RTF. Without any of these\n"
           "options and with a display, tallymill opens its window.\n"
           "At most 1000 levels are reported at once.\n"
           "Exit status: 0 done, 1 a data file had errors, 2 a bad argument, 3 the RTF file was not saved.\n";
}

bool Parse_Command_Line(const std::vector<std::string>& args, TCommand_Line& command, std::string& error) {
    command = TCommand_Line();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            command.Help = true;
            continue;
        }
        const bool known = option == "--game-path" || option == "--from" || option == "--to" ||
                           option == "--difficulty" || option == "--monsters" || option == "--items" ||
                           option == "--save";
        if (!known) {
            error = "unknown argument '" + option + "'";
            return false;
        }
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (option == "--game-path") {
            command.Game_Path = value;
        } else if (option == "--from" || option == "--to") {
            if (!Level_Text_To_Int(value)) {
                error = Invalid_Integer_Message(value);
                return false;
            }
            (option == "--from" ? command.From_Text : command.To_Text) = value;
            command.Report_Options = true;
        } else if (option == "--difficulty") {
            const std::vector<std::string>& names = Difficulty_Names();
            int32_t index = -1;
            for (size_t n = 0; n < names.size(); ++n)
                if (names[n] == value) index = static_cast<int32_t>(n);
            if (index < 0) {
                error = "unknown difficulty '" + value + "' (Easy, Average, Difficult or Hard)";
                return false;
            }
            command.Difficulty_Index = index;
            command.Report_Options = true;
        } else if (option == "--save") {
            command.Save_File = value;
        } else {
            command.Presses.push_back({option == "--monsters", value});
        }
    }
    // The range is refused as a whole, as the window refuses it, before any file is read.
    if (const std::optional<std::string> range_error =
            Level_Range_Error(*Level_Text_To_Int(command.From_Text), *Level_Text_To_Int(command.To_Text))) {
        error = *range_error;
        return false;
    }
    return true;
}

int Run_Command_Line(const TCommand_Line& command, std::ostream& out, std::ostream& err) {
    const TMessage_Sink_Reset reset;
    Select_Tool_Base_Folder(command.Game_Path);
    TTally_Session session(std::make_shared<TStream_Message_Sink>(err));
    TArgument_Chooser chooser;
    bool errors_listed = false;
    for (const TCommand_Line::TPress& press : command.Presses) {
        chooser.Class_File = press.File_Name;
        const TPress_Result result =
            press.Monsters
                ? session.Press_Monster(command.From_Text, command.To_Text, command.Difficulty_Index, chooser)
                : session.Press_Item(command.From_Text, command.To_Text, command.Difficulty_Index, chooser);
        if (result == TPress_Result::Data_File_Errors) errors_listed = true;
    }
    for (const std::string& line : session.Lines()) out << line << '\n';
    out.flush();
    if (command.Save_File) {
        chooser.Save_File = command.Save_File;
        if (session.Press_Save(chooser) != TSave_Result::Saved) return Exit_Save_Failed;
    }
    return errors_listed ? Exit_Data_File_Errors : Exit_Success;
}

int Tallymill_Command_Line(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    TCommand_Line command;
    std::string error;
    if (!Parse_Command_Line(args, command, error)) {
        err << "tallymill: " << error << "\n" << Command_Line_Usage();
        return Exit_Bad_Argument;
    }
    if (command.Help) {
        out << Command_Line_Usage();
        return Exit_Success;
    }
    if (command.Presses.empty()) {
        err << "tallymill: nothing to report: give --monsters FILE or --items FILE\n" << Command_Line_Usage();
        return Exit_Bad_Argument;
    }
    return Run_Command_Line(command, out, err);
}
