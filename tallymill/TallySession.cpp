#include "tallymill/TallySession.h"

#include "core/DataFileParser.h"
#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/MachineOptions.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "core/TextCodec.h"
#include "platform/RegistryStore.h"
#include "tallymill/TallyReports.h"
#include "tallymill/TallyRtf.h"

#include <climits>

namespace {

const char* const Data_File_Errors_Line = "--Data File Errors--";

// While a press loads the effect and spell tables, their loaders show errors through the message seam. The
// tool has no error window: the lists are kept for the report, and plain messages go on to the session's
// own sink.
class TError_List_Collector : public TMessage_Sink {
public:
    explicit TError_List_Collector(std::shared_ptr<TMessage_Sink> messages)
        : Messages_(std::move(messages)) {}
    void Show_Message(const std::string& caption, const std::string& text) override {
        if (Messages_) Messages_->Show_Message(caption, text);
    }
    void Show_Error_List(const TString_List& list, const std::string& heading,
                         const std::string& file_name) override {
        Lines.push_back(heading + file_name);
        Lines.insert(Lines.end(), list.begin(), list.end());
    }
    TString_List Lines;

private:
    std::shared_ptr<TMessage_Sink> Messages_;
};

// The collector is installed for one load and the session's sink is put back on every exit path.
class TCollecting_Scope {
public:
    explicit TCollecting_Scope(std::shared_ptr<TMessage_Sink> messages)
        : Messages_(messages), Collector_(std::make_shared<TError_List_Collector>(std::move(messages))) {
        Install_Message_Sink(Collector_);
    }
    ~TCollecting_Scope() { Install_Message_Sink(Messages_); }
    TCollecting_Scope(const TCollecting_Scope&) = delete;
    TCollecting_Scope& operator=(const TCollecting_Scope&) = delete;
    const TString_List& Lines() const { return Collector_->Lines; }

private:
    std::shared_ptr<TMessage_Sink> Messages_;
    std::shared_ptr<TError_List_Collector> Collector_;
};

// The effect and spell tables exist only during one press.
class TPress_Tables {
public:
    TPress_Tables() = default;
    ~TPress_Tables() {
        Free_Master_Spells();
        Free_Display_Effects();
    }
    TPress_Tables(const TPress_Tables&) = delete;
    TPress_Tables& operator=(const TPress_Tables&) = delete;
};

std::string Padding(const std::string& text, int32_t width) {
    const size_t length = Utf8_Length(text);
    if (width <= 0 || length >= static_cast<size_t>(width)) return {};
    return std::string(static_cast<size_t>(width) - length, ' ');
}

} // namespace

std::string Pad_Right(const std::string& text, int32_t width) {
    return text + Padding(text, width);
}

std::string Pad_Left(const std::string& text, int32_t width) {
    return Padding(text, width) + text;
}

std::optional<int32_t> Level_Text_To_Int(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && text[start] == ' ') ++start;
    int64_t value = 0;
    if (!Parse_Data_Integer(text.substr(start), value) || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

std::string Invalid_Integer_Message(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

std::optional<std::string> Level_Range_Error(int32_t from, int32_t to) {
    const int64_t levels = static_cast<int64_t>(to) - from + 1;
    if (levels <= Max_Report_Levels) return std::nullopt;
    return "Levels " + std::to_string(from) + " to " + std::to_string(to) + " are " + std::to_string(levels) +
           " levels; at most " + std::to_string(Max_Report_Levels) + " can be generated at once";
}

const std::vector<std::string>& Difficulty_Names() {
    static const std::vector<std::string> names = {"Easy", "Average", "Difficult", "Hard"};
    return names;
}

std::string Tool_Base_Folder(const std::string& own_folder) {
    // Read straight from the store: the options loader keeps nothing unless the game has also saved a game
    // slot, and on a fresh installation only the game path is there.
    const std::unique_ptr<plat::TRegistry_Key> key =
        plat::Registry_Store().Open_Key(Machine_Options_Key(), false);
    std::string path;
    if (key && key->Read_String("Game Path", path) && !path.empty()) return path;
    return own_folder;
}

void Select_Tool_Base_Folder(const std::optional<std::string>& game_path) {
    Set_Base_Folder(game_path ? *game_path : Tool_Base_Folder(Base_Folder()));
    if (!Path_Settings()) Install_Path_Settings(std::make_unique<TPath_Settings>());
}

TTally_Session::TTally_Session(std::shared_ptr<TMessage_Sink> messages) : Messages_(std::move(messages)) {
    Install_Message_Sink(Messages_);
}

TPress_Result TTally_Session::Press_Monster(const std::string& from_text, const std::string& to_text,
                                            int32_t difficulty_index, TFile_Chooser& chooser) {
    return Press(TClass_Kind::Monster, from_text, to_text, difficulty_index, chooser);
}

TPress_Result TTally_Session::Press_Item(const std::string& from_text, const std::string& to_text,
                                         int32_t difficulty_index, TFile_Chooser& chooser) {
    return Press(TClass_Kind::Item, from_text, to_text, difficulty_index, chooser);
}

bool TTally_Session::Store_Levels(const std::string& from_text, const std::string& to_text,
                                  int32_t difficulty_index) {
    const std::optional<int32_t> from = Level_Text_To_Int(from_text);
    if (!from) {
        Last_Error_ = Invalid_Integer_Message(from_text);
        return false;
    }
    const std::optional<int32_t> to = Level_Text_To_Int(to_text);
    if (!to) {
        Last_Error_ = Invalid_Integer_Message(to_text);
        return false;
    }
    if (const std::optional<std::string> error = Level_Range_Error(*from, *to)) {
        Last_Error_ = *error;
        return false;
    }
    Level_From_ = *from;
    Level_To_ = *to;
    Difficulty_Offset_ = difficulty_index - 1;
    return true;
}

TPress_Result TTally_Session::Press(TClass_Kind kind, const std::string& from_text,
                                    const std::string& to_text, int32_t difficulty_index,
                                    TFile_Chooser& chooser) {
    // The range and difficulty are kept even when the dialog is then cancelled.
    if (!Store_Levels(from_text, to_text, difficulty_index)) return TPress_Result::Invalid_Level;
    const std::optional<std::string> file_name = chooser.Choose_Class_File(Dialog_Folder());
    if (!file_name) return TPress_Result::Cancelled;

    const TPress_Tables tables;
    if (!Load_Tables()) return TPress_Result::Data_File_Errors;
    const TReport_Range range{Level_From_, Level_To_, Difficulty_Offset_};
    TString_List report;
    TString_List errors;
    const bool loaded = kind == TClass_Kind::Monster
                            ? Load_And_Report_Monsters(*file_name, range, report, errors)
                            : Load_And_Report_Items(*file_name, range, report, errors);
    if (!loaded) {
        // The label keeps the file of the last good press.
        List_Data_File_Errors(errors);
        return TPress_Result::Data_File_Errors;
    }
    (kind == TClass_Kind::Monster ? Monster_File_Label_ : Item_File_Label_) = *file_name;
    Lines_.insert(Lines_.end(), report.begin(), report.end());
    return TPress_Result::Reported;
}

bool TTally_Session::Load_Tables() {
    // The class loaders match attack effects and spell names against these two tables.
    const TCollecting_Scope collecting(Messages_);
    bool loaded = Load_Display_Effects();
    if (loaded) loaded = Load_Master_Spells();
    if (loaded) return true;
    List_Data_File_Errors(collecting.Lines());
    return false;
}

void TTally_Session::List_Data_File_Errors(const TString_List& errors) {
    // A failed load replaces the whole report, earlier reports included.
    Lines_.clear();
    Lines_.push_back(Data_File_Errors_Line);
    Lines_.insert(Lines_.end(), errors.begin(), errors.end());
}

TSave_Result TTally_Session::Press_Save(TFile_Chooser& chooser) {
    const std::optional<std::string> file_name = chooser.Choose_Save_File(Dialog_Folder());
    if (!file_name) return TSave_Result::Cancelled;
    if (Save_Report_Rtf(*file_name, Lines_)) return TSave_Result::Saved;
    if (Messages_) Messages_->Show_Message("Error", "Unable to save file \"" + *file_name + "\".");
    return TSave_Result::Failed;
}

std::string TTally_Session::Dialog_Folder() const {
    return Base_Folder() + "Modules";
}
