#include "tallymill/TallyCommandLine.h"
#include "core/GlobalFuncs.h"
#include "tallymill/TallyReports.h"
#include "tallymill/TallyRtf.h"
#include "tests/tallymill/TallyTestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class Tally_Command_Line_Test : public TTally_Test {
protected:
    struct TRun {
        int Exit = -1;
        std::string Out;
        std::string Err;
    };
    TRun Run(const std::vector<std::string>& args) {
        // Each run starts from the temporary folder, as a fresh start of the program would.
        Set_Base_Folder(Folder.Path());
        std::ostringstream out;
        std::ostringstream err;
        TRun run;
        run.Exit = Tallymill_Command_Line(args, out, err);
        run.Out = out.str();
        run.Err = err.str();
        return run;
    }
    const std::string Data = Tally_Data("");
};

TEST_F(Tally_Command_Line_Test, Item_Reports_Match_The_Golden_Files) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // Negative constants and truncation toward zero, a Cyrillic name, a name longer than its column.
        {{"--game-path", Data, "--from", "1", "--to", "3", "--items", Data + "Items.txt"},
         "Items_1_3.golden"},
        // from > to leaves the names alone; a file without classes gives only the headings; two presses
        // append.
        {{"--game-path", Data, "--from", "5", "--to", "4", "--items", Data + "Items.txt", "--items",
          Data + "Items_Empty.txt"},
         "Items_Twice_5_4.golden"},
    };
    for (const auto& [args, golden] : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Exit, Exit_Success) << golden << run.Err;
        EXPECT_EQ(run.Out, Golden(golden)) << golden;
        EXPECT_EQ(run.Err, "");
    }
}

TEST_F(Tally_Command_Line_Test, Monster_Reports_Match_The_Golden_Files) {
    const std::vector<std::string> press = {"--from", "1", "--to", "3", "--monsters", Data + "Monsters.txt"};
    auto with = [&](std::vector<std::string> args) {
        args.insert(args.end(), press.begin(), press.end());
        return args;
    };
    // D = -1 and D = 2 scale health and damage by their own per-difficulty percents; a class without
    // natural attacks gets nine blanks.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {with({"--game-path", Data, "--difficulty", "Easy"}), "Monsters_Easy_1_3.golden"},
        {with({"--game-path", Data, "--difficulty", "Hard"}), "Monsters_Hard_1_3.golden"},
    };
    for (const auto& [args, golden] : cases) {
        const TRun run = Run(args);
        EXPECT_EQ(run.Exit, Exit_Success) << golden << run.Err;
        EXPECT_EQ(run.Out, Golden(golden)) << golden;
    }
}

// The shipped content as the designers see it: a change to these numbers must be a change of the data.
TEST_F(Tally_Command_Line_Test, Shipped_Files_Match_Their_Golden_Report) {
    const std::string shipped = std::string(MURK_SHIPPED_DATA_DIR);
    const TRun run = Run({"--game-path", shipped + "/", "--from", "1", "--to", "5", "--monsters",
                          shipped + "/Modules/Barrowdeep/Tiles/Barrow_MonsterClasses.txt", "--items",
                          shipped + "/Modules/Barrowdeep/Tiles/Village_ItemClasses.txt"});
    EXPECT_EQ(run.Exit, Exit_Success) << run.Err;
    std::string expected = Golden("Shipped_Barrow_Village_1_5.golden");
    const std::string marker = "@SHIPPED@";
    for (size_t at = expected.find(marker); at != std::string::npos; at = expected.find(marker, at))
        expected.replace(at, marker.size(), shipped);
    EXPECT_EQ(run.Out, expected);
}

TEST_F(Tally_Command_Line_Test, Exit_Codes_And_Messages) {
    const std::string items = Data + "Items.txt";
    struct TCase {
        std::vector<std::string> Args;
        int Exit;
        std::string Out_Starts; // "-" for no output at all
        std::string Err_Has;
    };
    const TCase cases[] = {
        // Arguments are all checked before anything is read, presses given before them included.
        {{"--game-path", Data, "--items", Data + "Items_Broken.txt", "--from", "abc"},
         2,
         "-",
         "tallymill: 'abc' is not a valid integer value"},
        {{"--items", items, "--to", "7x"}, 2, "-", "'7x' is not a valid integer value"},
        {{"--items", items, "--difficulty", "average"}, 2, "-", "unknown difficulty 'average'"},
        {{"--items"}, 2, "-", "--items needs a value"},
        {{"--level", "3"}, 2, "-", "unknown argument '--level'"},
        {{"--game-path", Data}, 2, "-", "nothing to report"},
        {{"--help"}, 0, "usage: tallymill", ""},
        {{"--game-path", Data, "--items", Data + "Missing.txt"},
         1,
         "--Data File Errors--\nUnable to load data file: \"" + Data + "Missing.txt\".\n",
         ""},
        // A failed press replaces the earlier report.
        {{"--game-path", Data, "--items", items, "--items", Data + "Items_Broken.txt"},
         1,
         "--Data File Errors--\nUnknown value \"Weapn\"",
         ""},
        // The temporary folder has no effect table: the effect file's errors are listed, no report.
        {{"--game-path", Folder.File("Elsewhere"), "--items", items},
         1,
         "--Data File Errors--\nDisplay Effect Data File Errors: " +
             Folder.File("Elsewhere/Data/Effects.txt"),
         ""},
        {{"--game-path", Data, "--items", items, "--save", Folder.File("missing/report.rtf")},
         3,
         "\nItem Class File",
         "Error: Unable to save file \"" + Folder.File("missing/report.rtf") + "\"."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Args.back());
        const TRun run = Run(c.Args);
        EXPECT_EQ(run.Exit, c.Exit) << run.Err;
        if (c.Out_Starts == "-") {
            EXPECT_EQ(run.Out, "");
        } else {
            EXPECT_EQ(run.Out.substr(0, c.Out_Starts.size()), c.Out_Starts);
        }
        EXPECT_NE(run.Err.find(c.Err_Has), std::string::npos) << run.Err;
    }
}

TEST_F(Tally_Command_Line_Test, Program_Folder_From_The_Store_Or_The_Argument) {
    const std::vector<std::string> press = {"--from", "2", "--to", "2", "--items", Data + "Items.txt"};
    // Only "Game Path" in the store (no saved game yet): the tool finds the effect and spell tables there.
    Store_Text("Game Path", Data);
    const plat::TRegistry_Contents before = Store->Contents;
    const TRun from_store = Run(press);
    EXPECT_EQ(from_store.Exit, Exit_Success) << from_store.Out;
    // The store is only read.
    EXPECT_EQ(Store->Contents.Values, before.Values);
    EXPECT_EQ(Store->Contents.Keys, before.Keys);
    // The argument wins over the store.
    std::vector<std::string> args = {"--game-path", Folder.File("Elsewhere")};
    args.insert(args.end(), press.begin(), press.end());
    EXPECT_EQ(Run(args).Exit, Exit_Data_File_Errors);

    // --save writes what was printed, as RTF.
    args = {"--save", Folder.File("report.rtf")};
    args.insert(args.end(), press.begin(), press.end());
    const TRun saved = Run(args);
    ASSERT_EQ(saved.Exit, Exit_Success);
    TString_List lines;
    std::istringstream printed(saved.Out);
    for (std::string line; std::getline(printed, line);) lines.push_back(line);
    EXPECT_EQ(lines.front(), "");
    EXPECT_EQ(Folder.Read("report.rtf"), Report_Rtf(lines));
}

} // namespace
