#include "tallymill/TallyCommandLine.h"
#include "core/GlobalFuncs.h"
#include "tallymill/TallyReports.h"
#include "tallymill/TallyRtf.h"
#include "tests/tallymill/TallyTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The "General Item Info" and "General Monster Info" constants are words: a negative text or one above
// 65535 reads 0, "+1" and "$19" are integers. The cells are worked out by hand from the formulas.
TEST_F(Tally_Command_Line_Test, Report_Reads_The_Constants_As_Words) {
    const char* const what[] = {"Base Gold Value", "Consumption Value", "Defense Rating", "Damage Min",
                                "Damage Max"};
    const char* const kind[] = {" Mod Per Level Add Percent", " Mod Per Level Add Amt", " Base Amt Mod"};
    TKeys blade;
    const std::string fields =
        "Class Name=Blade|Name=Blade|Description=Клинок.|Type=Weapon|Weapon Type=Sword|Event ID=0|"
        "Picture Filename=a.bmp|Item Level Min=1|Random Appearance Chance=TRUE|Item Group=|Weight=3|"
        "Hands Required=1|Base Gold Value=100|Consumption Type=None|Consumption Value=30|Defense Rating=20|"
        "Is Ammo Type=|Ammo Required=|Use Sound File=|Damage Amount Min=4|Damage Amount Max=9|"
        "Damage Maximum Range=0|Damage Firing FX=None|Light Radius Generated=0|Light Number of Turns=0|"
        "Maximum Number Stacked=0|Random Min Number Found Stacked=0|Random Max Number Found Stacked=0|"
        "Can Have Additional Effects=FALSE|Is Unique Item=FALSE|Number of Effects=0|"
        "Number of Requirements=0|Number of Spells=0|Key Group=";
    for (size_t start = 0; start < fields.size();) {
        const size_t end = std::min(fields.find('|', start), fields.size());
        const std::string field = fields.substr(start, end - start);
        const size_t equals = field.find('=');
        blade.emplace_back(field.substr(0, equals), field.substr(equals + 1));
        start = end + 1;
    }
    struct TItem_Case {
        std::vector<std::string> Constants; // in the order gold, consumption, defence, min, max per kind
        std::vector<std::string> Cells;     // gold and damage at levels 1 and 5
    };
    const TItem_Case item_cases[] = {
        // Read 0, 13, 9, 0, 21 / 6, 0, 2, 1, 0 / 0, 4, 0, 2, 3: gold 100 and 124 x 1.00; damage (4 + 2) and
        // (4 + 2 + 4) x 1.00, (9 + 3) and 12 x 1.84 = 22.08.
        {{"-7", "13", "9", "-11", "21", "6", "-3", "2", "1", "-1", "-5", "4", "-3", "2", "3"},
         {"100", "124", "6-12", "10-22"}},
        // Read 0, 0, 0, 0, 25 / 65535, 0, 0, 1, 0 / 0, 0, 0, 0, 3: gold 100 + 4 x 65535; damage 4 and 8,
        // 12 and 12 x 2.00.
        {{"70000", "0", "0", "-11", "$19", "65535", "0", "0", "+1", "0", "-5", "0", "0", "65536", "3"},
         {"100", "262240", "4-12", "8-24"}},
    };
    // The Blade row of each table of a report, split at blanks.
    const auto rows_of = [](const std::string& out, const std::string& name) {
        std::vector<std::vector<std::string>> rows;
        std::istringstream lines(out);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind(name, 0) != 0) continue;
            std::istringstream words(line.substr(name.size()));
            rows.emplace_back();
            for (std::string word; words >> word;) rows.back().push_back(word);
        }
        return rows;
    };
    for (const TItem_Case& c : item_cases) {
        TKeys general;
        for (int n = 0; n < 15; ++n)
            general.emplace_back(std::string("Item ") + what[n % 5] + kind[n / 5], c.Constants[n]);
        Folder.Write("Blade.txt", Data_File_Text({general, blade}));
        const TRun run =
            Run({"--game-path", Data, "--from", "1", "--to", "5", "--items", Folder.Path() + "Blade.txt"});
        ASSERT_EQ(run.Exit, Exit_Success) << run.Err;
        const auto rows = rows_of(run.Out, "Blade");
        ASSERT_EQ(rows.size(), 2u) << run.Out;
        ASSERT_EQ(rows[0].size(), 5u);
        ASSERT_EQ(rows[1].size(), 5u);
        EXPECT_EQ((std::vector<std::string>{rows[0][0], rows[0][4], rows[1][0], rows[1][4]}), c.Cells)
            << c.Constants[0];
    }

    // The monster file of the golden reports with its health and damage constants replaced; Hard, so the
    // per-difficulty percents count.
    struct TMonster_Case {
        std::vector<std::pair<std::string, std::string>> Constants;
        std::vector<std::string> Cells; // the rat's health and damage at levels 1 and 2
        std::string Health_Line;        // the rat's whole health line
    };
    const TMonster_Case monster_cases[] = {
        // Health 3 x 3 and 6 x 3, + 65535 at level 2, x 1.00 at every level and difficulty; the bite 1-3,
        // x 1.5 at level 2.
        {{{"Monster Base Health Modifier", "$3"},
          {"Monster Base Health Start", "-5"},
          {"Monster Health Modifier Per Level Added Percent", "70000"},
          {"Monster Health Modifier Per Level Added Amount", "65535"},
          {"Monster Health Modifier Per Difficulty Level Pct", "-20"},
          {"Monster Base Damage Min Start", "-1"},
          {"Monster Base Damage Max Start", "65536"},
          {"Monster Damage Modifier Per Level Added Percent", "+50"},
          {"Monster Damage Modifier Per Level Added Amount", "-2"},
          {"Monster Damage Modifier Per Difficulty Level Pct", "100000"}},
         {"9-18", "65544-65553", "1-3", "1-4"},
         // A cell wider than its column keeps one blank in front of it.
         "Barrow Rat                         9-18 65544-65553"},
        // A base modifier of 70000 reads 0: health is the start, "$A", alone: 10 and 10 x 1.1 + 3 at level 2,
        // x 1.40. Starts of 70000 and -2 read 0: the bite 1-3 x 1.5, then (1 + 1) and (3 + 1) x 1.5.
        {{{"Monster Base Health Modifier", "70000"},
          {"Monster Base Health Start", "$A"},
          {"Monster Base Damage Min Start", "70000"},
          {"Monster Base Damage Max Start", "-2"}},
         {"14-14", "19-19", "1-4", "3-6"},
         "Barrow Rat                        14-14    19-19"},
    };
    const std::string monsters = Read_Bytes(Data + "Monsters.txt");
    for (const TMonster_Case& c : monster_cases) {
        std::string text = monsters;
        for (const auto& [key, value] : c.Constants) {
            const size_t at = text.find(key + " := ");
            ASSERT_NE(at, std::string::npos) << key;
            text.replace(at, text.find_first_of("\r\n", at) - at, key + " := " + value);
        }
        Folder.Write("Monsters.txt", text);
        const TRun run = Run({"--game-path", Data, "--difficulty", "Hard", "--from", "1", "--to", "2",
                              "--monsters", Folder.Path() + "Monsters.txt"});
        ASSERT_EQ(run.Exit, Exit_Success) << run.Out;
        const auto rows = rows_of(run.Out, "Barrow Rat");
        ASSERT_EQ(rows.size(), 2u) << run.Out;
        ASSERT_EQ(rows[0].size(), 2u);
        ASSERT_EQ(rows[1].size(), 2u);
        EXPECT_EQ((std::vector<std::string>{rows[0][0], rows[0][1], rows[1][0], rows[1][1]}), c.Cells)
            << c.Constants[0].second;
        EXPECT_NE(run.Out.find("\n" + c.Health_Line + "\n"), std::string::npos) << run.Out;
    }
}

// The monster file of the golden reports cut or changed: without classes only the headings are printed; a
// class with an error lists the errors instead of the report; large starts show the bonus-free formula.
TEST_F(Tally_Command_Line_Test, Monster_Reports_Without_Classes_With_Errors_And_Large_Damage) {
    const std::string monsters = Read_Bytes(Data + "Monsters.txt");
    const std::string general_only = monsters.substr(0, monsters.find("\nName := ")) + "\n\n*END*\n";
    const size_t second_class = monsters.find("\nName := ", monsters.find("\nName := ") + 1);
    const std::string one_class = monsters.substr(0, second_class) + "\n\n*END*\n";
    std::string broken = monsters;
    broken.replace(broken.find("Movement Strategy := Hunt"), 25, "Movement Strategy := Sideways");
    std::string large = monsters;
    for (const auto& [key, value] :
         TKeys{{"Monster Base Damage Min Start", "300"}, {"Monster Base Damage Max Start", "65535"}}) {
        const size_t at = large.find(key + " := ");
        large.replace(at, large.find_first_of("\r\n", at) - at, key + " := " + value);
    }
    struct TCase {
        std::string Name, Text;
        int Exit;
        std::string Out; // "@" stands for the file's path
    };
    const std::string two_blank_lines = "\n\n";
    const TCase cases[] = {
        {"Empty.txt", general_only, Exit_Success,
         "\nMonster Class File: @\n\n--Monster Health--\n" + two_blank_lines + "--Monster Damage--\n"},
        // One class is enough for the tables.
        {"One.txt", one_class, Exit_Success,
         "\nMonster Class File: @\n\n--Monster Health--\n"
         "Monster Name           Lev            1        2\n"
         "Barrow Rat                        15-23    21-29\n" +
             two_blank_lines +
             "--Monster Damage--\n"
             "Monster Name           Lev            1        2\n"
             "Barrow Rat                          3-7     4-10\n"},
        {"Broken.txt", broken, Exit_Data_File_Errors,
         "--Data File Errors--\nUnknown value \"Sideways\" for Movement Strategy in record \"Barrow "
         "Rat\".\n"},
        // Damage (1 + 300) x 1.5 and (3 + 65535) x 1.5; at level 2, 301 x 1.2 + 1 and 65538 x 1.2 + 1, x 1.5.
        // Health as in the golden Hard report.
        {"Large.txt", large, Exit_Success,
         "\nMonster Class File: @\n\n--Monster Health--\n"
         "Monster Name           Lev            1        2\n"
         "Barrow Rat                        15-23    21-29\n"
         "Призрак                           35-63    42-72\n" +
             two_blank_lines +
             "--Monster Damage--\n"
             "Monster Name           Lev            1        2\n"
             "Barrow Rat                     451-98307 543-117969\n" +
             Pad_Right("Призрак", 30) + std::string(18, ' ') + "\n"},
    };
    for (const TCase& c : cases) {
        const std::string path = Folder.Write(c.Name, c.Text);
        const TRun run = Run(
            {"--game-path", Data, "--difficulty", "Hard", "--from", "1", "--to", "2", "--monsters", path});
        EXPECT_EQ(run.Exit, c.Exit) << c.Name << run.Err;
        std::string expected = c.Out;
        if (const size_t at = expected.find('@'); at != std::string::npos) expected.replace(at, 1, path);
        EXPECT_EQ(run.Out, expected) << c.Name;
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

    // Every other shipped class file reports without an error line either.
    const std::string tiles = shipped + "/Modules/Barrowdeep/Tiles/";
    const std::pair<std::string, std::string> others[] = {
        {"--monsters", tiles + "Village_MonsterClasses.txt"},
        {"--monsters", shipped + "/Data/Summon_MonsterClasses.txt"},
        {"--items", tiles + "Barrow_ItemClasses.txt"},
        {"--items", shipped + "/Data/Classes_ItemClasses.txt"},
    };
    for (const auto& [option, file] : others) {
        const TRun other = Run({"--game-path", shipped + "/", "--from", "1", "--to", "10", option, file});
        EXPECT_EQ(other.Exit, Exit_Success) << file << other.Err;
        EXPECT_EQ(other.Err, "") << file;
        EXPECT_EQ(other.Out.find("Error"), std::string::npos) << file;
    }
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
