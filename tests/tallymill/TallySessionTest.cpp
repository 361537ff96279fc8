#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Spells.h"
#include "tallymill/TallyRtf.h"
#include "tests/tallymill/TallyTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Tally_Pad, Counts_Characters_And_Never_Cuts) {
    struct TCase {
        std::string Text;
        int32_t Width;
        std::string Right;
        std::string Left;
    };
    const TCase cases[] = {
        {"abc", 5, "abc  ", "  abc"},
        {"abcde", 5, "abcde", "abcde"},
        {"abcdefg", 5, "abcdefg", "abcdefg"},
        {"", 3, "   ", "   "},
        {"1", 9, "1        ", "        1"},
        // Six Cyrillic letters are twelve bytes but six characters.
        {"Кольцо", 8, "Кольцо  ", "  Кольцо"},
        {"Кольцо", 6, "Кольцо", "Кольцо"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Pad_Right(c.Text, c.Width), c.Right) << c.Text;
        EXPECT_EQ(Pad_Left(c.Text, c.Width), c.Left) << c.Text;
    }
}

TEST(Tally_Levels, Converted_As_The_Run_Time_Converts_Integers) {
    const std::pair<std::string, std::optional<int32_t>> cases[] = {
        {"1", 1},
        {"  7", 7},
        {"-3", -3},
        {"+4", 4},
        {"$10", 16},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(Level_Text_To_Int(text), value) << "'" << text << "'";
    EXPECT_EQ(Invalid_Integer_Message("abc"), "'abc' is not a valid integer value");
}

using Tally_Session_Test = TTally_Test;

TEST_F(Tally_Session_Test, Presses_Keep_Levels_Replace_Or_Append_And_Free_The_Tables) {
    TTally_Session session(Messages);
    TScripted_Chooser chooser;
    EXPECT_EQ(session.Lines(), TString_List{""});
    EXPECT_EQ(session.Item_File_Label(), "(None)");

    // Cancelled: the range and difficulty are kept all the same.
    EXPECT_EQ(session.Press_Item("3", "7", 3, chooser), TPress_Result::Cancelled);
    EXPECT_EQ(chooser.Last_Folder, Base_Folder() + "Modules");
    EXPECT_EQ(std::make_tuple(session.Level_From(), session.Level_To(), session.Difficulty_Offset()),
              std::make_tuple(3, 7, 2));
    EXPECT_EQ(session.Lines(), TString_List{""});

    // A bad level text stops the press before the dialog and keeps the last range.
    EXPECT_EQ(session.Press_Item("1", "x2", 0, chooser), TPress_Result::Invalid_Level);
    EXPECT_EQ(session.Last_Error(), "'x2' is not a valid integer value");
    EXPECT_EQ(chooser.Class_Asks, 1);
    EXPECT_EQ(session.Level_To(), 7);

    chooser.Class_File = Tally_Data("Items.txt");
    ASSERT_EQ(session.Press_Item("1", "2", 0, chooser), TPress_Result::Reported);
    EXPECT_EQ(session.Difficulty_Offset(), -1);
    ASSERT_GE(session.Lines().size(), 3u);
    EXPECT_EQ(session.Lines()[0], "");
    EXPECT_EQ(session.Lines()[1], "Item Class File: " + Tally_Data("Items.txt"));
    EXPECT_EQ(session.Item_File_Label(), Tally_Data("Items.txt"));
    EXPECT_EQ(session.Monster_File_Label(), "(None)");
    EXPECT_EQ(Display_Effect_Count(), 0);
    EXPECT_EQ(Master_Spell_Count(), 0);

    // After Clear the next report starts on the first line.
    const size_t one_report = session.Lines().size() - 1;
    session.Press_Clear();
    ASSERT_EQ(session.Press_Item("1", "2", 0, chooser), TPress_Result::Reported);
    EXPECT_EQ(session.Lines().size(), one_report);
    EXPECT_EQ(session.Lines()[0], "Item Class File: " + Tally_Data("Items.txt"));

    // A file with errors replaces the whole report with its lines (English in the tool) and leaves the
    // label on the last file that gave a report.
    chooser.Class_File = Tally_Data("Items_Broken.txt");
    EXPECT_EQ(session.Press_Item("1", "2", 0, chooser), TPress_Result::Data_File_Errors);
    const TString_List expected = {
        "--Data File Errors--",
        "Unknown value \"Weapn\" for Type in record \"Axe\".",
        "Could not find field \"Weight\" in record \"Axe\".",
        "Could not find field \"Class Name\" in record \"Axe\".",
    };
    EXPECT_EQ(session.Lines(), expected);
    EXPECT_EQ(session.Item_File_Label(), Tally_Data("Items.txt"));
    EXPECT_TRUE(Messages->Messages.empty());
}

TEST_F(Tally_Session_Test, Effect_Or_Spell_File_Errors_Are_Listed_Without_A_Report) {
    struct TCase {
        std::string File;
        std::string Bytes; // empty: the file is removed
        std::string Heading;
        std::string Error;
    };
    const TCase cases[] = {
        {"Data/Effects.txt", "Broken effects\n*BEGIN*\n\n\nNumber Of Effect Bitmaps := 1\n*END*\n",
         "Display Effect Data File Errors: ", "Could not find field \"Bitmap 1 Name\""},
        {"Data/Spells.txt", "", "Master Spell Data File Errors: ", "Unable to load data file: "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        if (c.Bytes.empty())
            std::remove(Folder.File(c.File).c_str());
        else
            Folder.Write(c.File, c.Bytes);

        TTally_Session session(Messages);
        TScripted_Chooser chooser;
        chooser.Class_File = Tally_Data("Items.txt");
        EXPECT_EQ(session.Press_Item("1", "3", 1, chooser), TPress_Result::Data_File_Errors);
        ASSERT_GE(session.Lines().size(), 3u);
        EXPECT_EQ(session.Lines()[0], "--Data File Errors--");
        EXPECT_EQ(session.Lines()[1], c.Heading + Folder.File(c.File));
        EXPECT_NE(session.Lines()[2].find(c.Error), std::string::npos) << session.Lines()[2];
        EXPECT_EQ(session.Item_File_Label(), "(None)");
        // The lists went into the report, not to the screen, and the session's sink is back in place.
        EXPECT_TRUE(Messages->Error_Lists.empty());
        Show_Message("caption", "text");
        EXPECT_EQ(Messages->Messages.size(), 1u);
        Messages->Messages.clear();
        EXPECT_EQ(Display_Effect_Count(), 0);
        EXPECT_EQ(Master_Spell_Count(), 0);

        Folder.Write(c.File, Read_Bytes(Tally_Data(c.File)));
    }
}

TEST_F(Tally_Session_Test, Save_Writes_Rtf_Or_Shows_Why_Not) {
    TTally_Session session(Messages);
    session.Add_Line("Report {x}");
    TScripted_Chooser chooser;
    EXPECT_EQ(session.Press_Save(chooser), TSave_Result::Cancelled);

    // No extension is added: the name is used exactly as chosen.
    chooser.Save_File = Folder.File("report");
    EXPECT_EQ(session.Press_Save(chooser), TSave_Result::Saved);
    EXPECT_EQ(Folder.Read("report"), Report_Rtf(session.Lines()));

    for (const std::string& bad : {Folder.File("no/such/folder/report.rtf"), Folder.Path()}) {
        chooser.Save_File = bad;
        EXPECT_EQ(session.Press_Save(chooser), TSave_Result::Failed) << bad;
        ASSERT_EQ(Messages->Messages.size(), 1u);
        EXPECT_EQ(Messages->Messages[0].Caption, "Error");
        EXPECT_EQ(Messages->Messages[0].Text, "Unable to save file \"" + bad + "\".");
        Messages->Messages.clear();
    }
}

TEST(Tally_Rtf, Escapes_Braces_Backslashes_And_Every_Character_Beyond_Ascii) {
    const TString_List lines = {"", "a\\b{c}", "Кд ё", "x\xF0\x9F\x98\x80y", "1 digit", " lead", "\t"};
    const std::string expected =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern\\fprq1 Courier New;}}\\uc1\\pard\\f0\\fs16\n"
        "\\par\n"
        "a\\\\b\\{c\\}\\par\n"
        "\\u1050?\\u1076? \\u1105?\\par\n"
        "x\\u-10179?\\u-8704?y\\par\n"
        "1 digit\\par\n"
        " lead\\par\n"
        "\\'09\\par\n"
        "}";
    EXPECT_EQ(Report_Rtf(lines), expected);
    EXPECT_EQ(Report_Rtf({}), std::string(expected.substr(0, expected.find('\n') + 1)) + "}");
    // A stray byte is not copied into the file, which stays pure ASCII.
    EXPECT_EQ(Report_Rtf({"\xC3"}).find('\xC3'), std::string::npos);
    EXPECT_NE(Report_Rtf({"\xC3"}).find("\\u-3?"), std::string::npos);
}

} // namespace
