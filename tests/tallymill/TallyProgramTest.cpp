// The program itself, run as a designer runs it: standard output holds only the report, a range of more than
// 1000 levels is refused before any file is read, and a display that cannot be reached leaves the command
// line working with one line saying why.
#include "core/GlobalFuncs.h"
#include "tallymill/TallyCommandLine.h"
#include "tests/tallymill/TallyTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct TProgram_Run {
    int Exit = -1; // the exit status, or 128 + the signal that ended the program
    std::string Out;
    std::string Err;
};

// Runs the program with the test's environment less every display variable, plus the given ones.
TProgram_Run Run_Program(const std::vector<std::string>& args, const std::vector<std::string>& extra_env) {
    TTemp_Folder folder;
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        bool display = false;
        for (const char* name : {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "XDG_SESSION_TYPE="})
            display = display || entry.rfind(name, 0) == 0;
        if (!display) env.push_back(entry);
    }
    env.insert(env.end(), extra_env.begin(), extra_env.end());
    std::vector<std::string> argv_text = {MURK_TALLYMILL_PROGRAM};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string out_path = folder.File("out.txt");
    const std::string err_path = folder.File("err.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    TProgram_Run run;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << argv[0];
        return run;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.Out = folder.Read("out.txt");
    run.Err = folder.Read("err.txt");
    return run;
}

const std::string Data = Tally_Data("");

TEST(Tally_Program, Standard_Output_Holds_Only_The_Report) {
    const TProgram_Run run =
        Run_Program({"--game-path", Data, "--from", "1", "--to", "3", "--items", Data + "Items.txt"}, {});
    EXPECT_EQ(run.Exit, Exit_Success) << run.Err;
    EXPECT_EQ(run.Out, Golden("Items_1_3.golden"));
    EXPECT_EQ(run.Err, "");
}

TEST(Tally_Program, A_Range_Of_More_Than_1000_Levels_Is_Refused_Before_Reading) {
    struct TCase {
        std::string From, To;
        int Exit;
        std::string Err_Has;
    };
    // The file does not exist: a range that is accepted reaches it and lists the error (exit 1).
    const TCase cases[] = {
        {"1", "1000", Exit_Data_File_Errors, ""},
        {"-499", "500", Exit_Data_File_Errors, ""},
        {"5", "4", Exit_Data_File_Errors, ""},
        {"1", "1001", Exit_Bad_Argument, "tallymill: Levels 1 to 1001 are 1001 levels; at most 1000"},
        {"-500", "500", Exit_Bad_Argument, "Levels -500 to 500 are 1001 levels"},
        {"-2147483647", "2147483647", Exit_Bad_Argument, "are 4294967295 levels"},
        {"1", "$7FFFFFFF", Exit_Bad_Argument, "Levels 1 to 2147483647 are 2147483647 levels"},
    };
    for (const TCase& c : cases) {
        const TProgram_Run run = Run_Program(
            {"--game-path", Data, "--from", c.From, "--to", c.To, "--items", Data + "Missing.txt"}, {});
        EXPECT_EQ(run.Exit, c.Exit) << c.From << ".." << c.To << "\n" << run.Err;
        if (c.Exit == Exit_Bad_Argument) {
            EXPECT_EQ(run.Out, "");
            EXPECT_NE(run.Err.find(c.Err_Has), std::string::npos) << run.Err;
        } else {
            EXPECT_EQ(run.Out,
                      "--Data File Errors--\nUnable to load data file: \"" + Data + "Missing.txt\".\n");
        }
    }
}

// The window's presses refuse the range the same way, with the message a bad level text gets.
class Tally_Level_Range_Test : public TTally_Test {};

TEST_F(Tally_Level_Range_Test, A_Press_Refuses_The_Range_Like_A_Bad_Level_Text) {
    TTally_Session session(Messages);
    TScripted_Chooser chooser;
    chooser.Class_File = Tally_Data("Items.txt");
    ASSERT_EQ(session.Press_Item("3", "4", 2, chooser), TPress_Result::Reported);
    const TString_List before = session.Lines();
    for (const auto& [from, to] : {std::pair{"1", "1001"}, std::pair{"-2147483647", "2147483647"}}) {
        EXPECT_EQ(session.Press_Monster(from, to, 0, chooser), TPress_Result::Invalid_Level);
        EXPECT_EQ(session.Last_Error(), *Level_Range_Error(*Level_Text_To_Int(from), *Level_Text_To_Int(to)));
    }
    // A bad first level text is refused before the second is looked at.
    EXPECT_EQ(session.Press_Monster("abc", "2", 0, chooser), TPress_Result::Invalid_Level);
    EXPECT_EQ(session.Last_Error(), "'abc' is not a valid integer value");
    // Nothing changed: no dialog, the report, levels and difficulty of the last good press.
    EXPECT_EQ(chooser.Class_Asks, 1);
    EXPECT_EQ(session.Lines(), before);
    EXPECT_EQ((std::vector<int32_t>{session.Level_From(), session.Level_To(), session.Difficulty_Offset()}),
              (std::vector<int32_t>{3, 4, 1}));
    // Exactly 1000 levels: a header of the title and 1000 columns.
    ASSERT_EQ(session.Press_Item("1", "1000", 1, chooser), TPress_Result::Reported);
    EXPECT_EQ(session.Lines()[before.size() + 3].size(), 30u + 1000u * 9u);
    EXPECT_EQ(Level_Range_Error(1, 1001),
              std::optional<std::string>(
                  "Levels 1 to 1001 are 1001 levels; at most 1000 can be generated at once"));
}

// The tool reads the game's folder from the options store but never creates or writes anything there.
TEST_F(Tally_Level_Range_Test, The_Options_Store_Is_Only_Read) {
    std::ostringstream out;
    std::ostringstream err;
    Set_Base_Folder(Folder.Path());
    EXPECT_EQ(Tallymill_Command_Line({"--to", "2", "--items", Data + "Items.txt"}, out, err), Exit_Success)
        << err.str();
    EXPECT_TRUE(Store->Contents.Keys.empty());
    EXPECT_TRUE(Store->Contents.Values.empty());
}

TEST(Tally_Program, An_Unreachable_Display_Falls_Back_To_The_Command_Line) {
    // A display number no X server listens on here.
    std::string display;
    for (int n = 4321; n < 4400 && display.empty(); ++n) {
        struct stat info {};
        if (stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &info) != 0)
            display = ":" + std::to_string(n);
    }
    ASSERT_FALSE(display.empty());
    const TProgram_Run run = Run_Program({"--game-path", Data}, {"DISPLAY=" + display});
    // No abort: the command line runs, and without a report option it has nothing to do.
    EXPECT_EQ(run.Exit, Exit_Bad_Argument) << run.Err;
    EXPECT_EQ(run.Out, "");
    const std::string first_line = run.Err.substr(0, run.Err.find('\n'));
    const std::string rest = run.Err.substr(first_line.size() + 1);
#if TALLYMILL_WITH_WINDOW
    EXPECT_EQ(first_line.rfind("tallymill: no window (", 0), 0u) << run.Err;
    EXPECT_NE(first_line.find("); running on the command line"), std::string::npos) << run.Err;
    EXPECT_EQ(rest.rfind("tallymill: nothing to report", 0), 0u) << run.Err;
#else
    EXPECT_EQ(first_line.rfind("tallymill: nothing to report", 0), 0u) << run.Err;
#endif
    // The same report options give the report, display or not.
    const TProgram_Run report =
        Run_Program({"--game-path", Data, "--from", "1", "--to", "3", "--items", Data + "Items.txt"},
                    {"DISPLAY=" + display});
    EXPECT_EQ(report.Exit, Exit_Success);
    EXPECT_EQ(report.Out, Golden("Items_1_3.golden"));
}

} // namespace
