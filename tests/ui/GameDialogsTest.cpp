// The game menu, the options, the high-score table and the death screen, each opened alone as the game
// screen opens it and driven by clicks and keys: results, what the options write and play, the texts at
// their places, and the high-score file the death screen writes.
#include "core/CharClass.h"
#include "core/GameSettings.h"
#include "core/MachineOptions.h"
#include "core/Module.h"
#include "media/Sounds.h"
#include "platform/RegistryStore.h"
#include "tests/core/ModuleLayouts.h"
#include "tests/ui/UiFixture.h"
#include "ui/DCDlgDead.h"
#include "ui/DCDlgGameMenu.h"
#include "ui/DCDlgHighScores.h"
#include "ui/DCDlgOptions.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// Opens one dialog centred and modal, as the game screen does, and records its close.
class TOwner : public TDisplay_Class {
public:
    TOwner() {
        Set_Position("Main Window", 0, 0, 800, 600, false);
        Set_Visible(true);
    }
    template <typename T> T& Open(const std::string& name) {
        auto dialog = std::make_unique<T>();
        T& opened = *dialog;
        dialog->Center_On_Screen(name, true);
        dialog->Set_Visible(true);
        Add_Child_Control(dialog.get());
        Dialog = std::move(dialog);
        return opened;
    }
    void Kill_Child_Control(const std::string& name) override {
        if (auto* menu = dynamic_cast<TDC_Dlg_Game_Menu*>(Dialog.get()))
            Results.push_back(menu->Get_Result());
        Closed.push_back(name);
        Dialog.reset();
    }
    std::unique_ptr<TDisplay_Class> Dialog;
    std::vector<std::string> Closed;
    std::vector<int32_t> Results;
};

// The high-score file's bytes, encoded here by hand: tag 6 strings, integers in the smallest of tags 2, 3
// and 4.
std::string Tagged_String(const std::string& s) {
    return std::string{'\x06', static_cast<char>(s.size())} + s;
}
std::string Tagged_Integer(int32_t v) {
    std::string out;
    const auto put = [&](char tag, int bytes) {
        out.push_back(tag);
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
    };
    if (v >= -128 && v <= 127)
        put(2, 1);
    else if (v >= -32768 && v <= 32767)
        put(3, 2);
    else
        put(4, 4);
    return out;
}
struct TScore {
    std::string Name, Class_Name;
    int32_t Level, Experience;
};
std::string Scores_File(std::vector<TScore> scores) {
    scores.resize(10, {"", "", 0, 0});
    std::string out = Tagged_String("1.06");
    for (const TScore& s : scores)
        out += Tagged_String(s.Name) + Tagged_String(s.Class_Name) + Tagged_Integer(s.Level) +
               Tagged_Integer(s.Experience);
    return out;
}

class Game_Dialogs : public TUi_Test {
protected:
    void SetUp() override {
        TUi_Test::SetUp();
        for (const auto& [file, w, h] :
             std::vector<std::tuple<std::string, int32_t, int32_t>>{{"Dlg_GameMenu.bmp", 307, 410},
                                                                    {"Dlg_HighScores.bmp", 696, 552},
                                                                    {"Dlg_Dead.bmp", 460, 572}})
            Write_Picture("Pictures/SysPics/" + file, w, h, [](int32_t, int32_t) { return 0x203040u; });
        Loaded_Display();
        auto store = std::make_unique<plat::TMemory_Registry_Store>();
        Store = store.get();
        plat::Install_Registry_Store(std::move(store));
        Machine_Options() = TMachine_Options{};
        Audio = std::make_shared<plat::THeadless_Audio_Backend>();
        Install_Sounds(std::make_shared<TSounds>(Audio));
        ::Sounds().Sound_Intialize_Sound_System();
        Create_Game_Settings().Allow_Music = true;
        Game_Settings()->Music_Song_Death = "death.wav";
        Folder.Write("Music/tune2.mid", "music");
        Folder.Write("Music/death.wav", "music");
        Install_Module(std::make_unique<TModule>());
        golden::Fill_Sample_Module(*Module()); // the current map is map 2, with "tune2.mid"
        Messages->Messages.clear();
    }
    void TearDown() override {
        Owner.Dialog.reset();
        Install_Module(nullptr);
        Free_Class_Info();
        Free_Game_Settings();
        Install_Sounds(nullptr);
        plat::Install_Registry_Store(nullptr);
        Machine_Options() = TMachine_Options{};
        TUi_Test::TearDown();
    }
    void Click(int32_t x, int32_t y) {
        Owner.MouseDown(0, 0, x, y);
        Owner.MouseUp(0, 0, x, y, false);
    }
    void Key(uint16_t key) { Owner.KeyDown(key, 0); }
    std::vector<std::string> Music_Calls() {
        std::vector<std::string> calls;
        for (const std::string& c : Audio->Calls)
            if (c.rfind("music", 0) == 0) calls.push_back(c);
        Audio->Calls.clear();
        return calls;
    }

    TOwner Owner;
    plat::TMemory_Registry_Store* Store = nullptr;
    std::shared_ptr<plat::THeadless_Audio_Backend> Audio;
};

TEST_F(Game_Dialogs, TheGameMenuClosesWithTheChosenEntryOrNothing) {
    struct TCase {
        const char* What;
        int32_t X, Y; // a click; 0: the key instead
        uint16_t Key;
        int32_t Result;
    } cases[] = {
        {"Загрузить", 289, 171, 0, 1},    {"Сохранить", 289, 215, 0, 2}, {"Экспортировать", 289, 259, 0, 3},
        {"Опции", 289, 303, 0, 4},        {"Рекорды", 289, 347, 0, 5},   {"Выйти", 289, 391, 0, 6},
        {"close button", 510, 463, 0, 0}, {"Escape", 0, 0, 27, 0},       {"G", 0, 0, 71, 0},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Owner.Results.clear();
        Owner.Open<TDC_Dlg_Game_Menu>("Game Menu");
        if (t.X == 0)
            Key(t.Key);
        else
            Click(t.X, t.Y);
        EXPECT_EQ(Owner.Results, std::vector<int32_t>{t.Result});
        EXPECT_EQ(Owner.Child_Count(), 0);
    }
    // Another key, or a click beside the entries, leaves it open.
    Owner.Results.clear();
    Owner.Open<TDC_Dlg_Game_Menu>("Game Menu");
    Key('H');
    Click(400, 171);
    EXPECT_TRUE(Owner.Results.empty());
}

TEST_F(Game_Dialogs, TheGameMenuDrawsItsTitleAndEachEntryBesideItsButton) {
    TDC_Dlg_Game_Menu& menu = Owner.Open<TDC_Dlg_Game_Menu>("Game Menu");
    EXPECT_EQ(std::vector<int32_t>({menu.Left, menu.Top, menu.Entry(1).Left, menu.Entry(1).Top,
                                    menu.Entry(6).Top, menu.Entry(6).Width, menu.Entry(3).Image_Index}),
              std::vector<int32_t>({246, 95, 270, 152, 372, 38, 6}));
    Shown();
    Owner.Draw(0);
    std::vector<TShown_Text> expected = {At("Меню игры", 399, 128, 2, 2, 6, 0x000000)};
    for (int32_t n = 1; n <= 6; ++n)
        expected.push_back(At(TDC_Dlg_Game_Menu::Entry_Names()[static_cast<size_t>(n - 1)], 320,
                              152 + 44 * (n - 1) + 20, 1, 2, 3, 0xFFFFFF));
    EXPECT_EQ(Shown(), expected);
}

TEST_F(Game_Dialogs, AutosaveTogglesKeepExactlyOneChoiceOn) {
    // Toggle n sits at (264, 124 + 26 n) on screen.
    const auto toggle_y = [](int32_t n) { return 95 + 29 + 26 * n + 10; };
    struct TCase {
        const char* What;
        std::vector<int32_t> Clicks;
        std::vector<bool> On; // toggles 1..7 afterwards
    } cases[] = {
        {"5 minutes over none", {5}, {true, true, false, false, true, false, false}},
        {"5 minutes again gives none", {5, 5}, {true, true, true, false, false, false, false}},
        {"none clicked off comes back on", {3}, {true, true, true, false, false, false, false}},
        {"every minute then 20 minutes", {4, 6}, {true, true, false, false, false, true, false}},
        {"sounds, music and frame rate are their own",
         {1, 2, 7},
         {false, false, true, false, false, false, true}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Machine_Options() = TMachine_Options{};
        TDC_Dlg_Options& options = Owner.Open<TDC_Dlg_Options>("Options Dlg");
        for (const int32_t n : t.Clicks) Click(270, toggle_y(n));
        std::vector<bool> on;
        for (int32_t n = 1; n <= 7; ++n) on.push_back(options.Toggle(n).Is_On());
        EXPECT_EQ(on, t.On);
        Key(27);
    }
}

TEST_F(Game_Dialogs, TheSpeedArrowsStepByTenAndStopAtTheEnds) {
    struct TCase {
        int32_t Stored;
        int32_t Left_Clicks, Right_Clicks;
        int32_t Speed;
        bool Left_Enabled, Right_Enabled;
    } cases[] = {
        {100, 0, 0, 100, true, true},  {10, 0, 0, 10, false, true},    {200, 0, 0, 200, true, false},
        {100, 1, 0, 90, true, true},   {100, 0, 1, 110, true, true},   {20, 1, 0, 10, false, true},
        {190, 0, 1, 200, true, false}, {15, 1, 0, 10, false, true},    {195, 0, 1, 200, true, false},
        {10, 3, 0, 10, false, true},   {100, 0, 15, 200, true, false},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Stored);
        Machine_Options().Game_Speed_Modified_Percent = t.Stored;
        TDC_Dlg_Options& options = Owner.Open<TDC_Dlg_Options>("Options Dlg");
        for (int32_t i = 0; i < t.Left_Clicks; ++i) Click(270, 344);
        for (int32_t i = 0; i < t.Right_Clicks; ++i) Click(446, 344);
        EXPECT_EQ(options.Speed(), t.Speed);
        EXPECT_EQ(options.Left_Arrow.Enabled, t.Left_Enabled);
        EXPECT_EQ(options.Right_Arrow.Enabled, t.Right_Enabled);
        Shown();
        Owner.Draw(0);
        const std::vector<TShown_Text> shown = Shown();
        const std::string speed = "Скорость: " + std::to_string(t.Speed) + "%";
        EXPECT_NE(std::find(shown.begin(), shown.end(), At(speed, 298, 346, 1, 2, 3, 0xFFFFFF)), shown.end());
        Key(27);
        EXPECT_EQ(Machine_Options().Game_Speed_Modified_Percent, t.Speed);
    }
}

TEST_F(Game_Dialogs, ClosingTheOptionsWritesEveryValueAndStartsOrStopsTheMapsMusic) {
    for (const bool music : {true, false}) {
        SCOPED_TRACE(music);
        // Music plays before; the dialog's music toggle is clicked to the case's state.
        Machine_Options() = TMachine_Options{};
        ::Sounds().Sound_Start_Music("death.wav");
        ASSERT_TRUE(Audio->Music_Playing());
        Machine_Options().Play_Music = !music;
        Save_Machine_Options();
        Music_Calls();
        Owner.Open<TDC_Dlg_Options>("Options Dlg");
        Click(270, 95 + 29 + 26 * 2 + 10); // music
        Click(270, 95 + 29 + 26 * 6 + 10); // 20 minutes
        Click(270, 95 + 29 + 26 * 7 + 10); // frame rate
        Click(446, 344);                   // faster
        EXPECT_TRUE(Music_Calls().empty()) << "nothing changes before the close";
        EXPECT_EQ(Machine_Options().Game_Speed_Modified_Percent, 100);
        EXPECT_EQ(Machine_Options().Play_Music, !music);
        Click(510, 463);
        EXPECT_EQ(Owner.Closed.back(), "Options Dlg");
        const std::vector<std::string> calls = Music_Calls();
        EXPECT_EQ(Audio->Music_Playing(), music);
        const std::string opened = "music open " + Folder.File("Music/tune2.mid");
        EXPECT_EQ(std::count(calls.begin(), calls.end(), opened), music ? 1 : 0);
        // What the store holds now, read back into a fresh record.
        Machine_Options() = TMachine_Options{};
        Load_Machine_Options();
        const TMachine_Options& o = Machine_Options();
        EXPECT_EQ(std::vector<bool>({o.Play_Sounds, o.Play_Music, o.Dont_Autosave, o.Autosave_Every_Minute,
                                     o.Autosave_Every_5_Minutes, o.Autosave_Every_20_Minutes,
                                     o.Show_Drawing_Speed}),
                  std::vector<bool>({true, music, false, false, false, true, true}));
        EXPECT_EQ(o.Game_Speed_Modified_Percent, 110);
    }
}

TEST_F(Game_Dialogs, TheHighScoreTableShowsTenNumberedRowsAndOnlyWhatEntriesHold) {
    Folder.Write(
        "Data/HighScores.dat",
        Scores_File({{"Brann", "Fighter", 12, 1234567}, {"Ysolde", "Mage", 0, 950}, {"Kit", "Rogue", 3, 0}}));
    Owner.Open<TDC_Dlg_HighScores>("High Scores Dlg");
    Shown();
    Owner.Draw(0);
    // The table is centred at (52, 24).
    const auto at = [](const std::string& text, int32_t x, int32_t row, int32_t h) {
        return At(text, 52 + x, 24 + 95 + 42 * (row - 1), h, 5, 6, 0xFFFFFF);
    };
    std::vector<TShown_Text> expected = {At("Рекорды", 399, 70, 2, 2, 6, 0x000000),
                                         at("1.", 86, 1, 1),
                                         at("Brann", 148, 1, 1),
                                         at("Fighter", 320, 1, 1),
                                         at("12", 460, 1, 3),
                                         at("1,234,567", 598, 1, 3),
                                         at("2.", 86, 2, 1),
                                         at("Ysolde", 148, 2, 1),
                                         at("Mage", 320, 2, 1),
                                         at("950", 598, 2, 3),
                                         at("3.", 86, 3, 1),
                                         at("Kit", 148, 3, 1),
                                         at("Rogue", 320, 3, 1),
                                         at("3", 460, 3, 3)};
    for (int32_t row = 4; row <= 10; ++row) expected.push_back(at(std::to_string(row) + ".", 86, row, 1));
    EXPECT_EQ(Shown(), expected);
    Click(52 + 641 + 5, 24 + 497 + 5);
    EXPECT_EQ(Owner.Closed, std::vector<std::string>{"High Scores Dlg"});
}

TEST_F(Game_Dialogs, TheDeathScreenEntersTheCharacterAndTellsHowHeDied) {
    Folder.Write("Data/Classes.txt", [] {
        std::ifstream in(std::string(MURK_SHIPPED_DATA_DIR) + "/Data/Classes.txt", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }());
    ASSERT_TRUE(Load_Class_Info());
    ASSERT_EQ(Class_Name_Of(2), "Mage");
    const std::vector<TScore> before = {{"Brann", "Fighter", 12, 50000}, {"Kit", "Rogue", 3, 900}};
    struct TCase {
        const char* What;
        int32_t Class_Number;
        uint16_t Level;
        int32_t Experience;
        std::string Effect;
        std::string Text;
        std::vector<TScore> After;
    } cases[] = {
        {"a creature, a new record",
         2,
         5,
         12345,
         "",
         "Ayla, смерть пришла. Был достигнут уровень 5 и 12,345 опыта заработано специализацией Mage. Вас "
         "убил "
         "противник, уровня 7, Barrow King. Установлен новый рекорд!",
         {before[0], {"Ayla", "Mage", 5, 12345}, before[1]}},
        {"an effect",
         1,
         3,
         900,
         "Poison",
         "Ayla, смерть пришла. Был достигнут уровень 3 и 900 опыта заработано специализацией Fighter. Вас "
         "убил "
         "эффект от Poison. Установлен новый рекорд!",
         {before[0], before[1], {"Ayla", "Fighter", 3, 900}}},
        {"a class out of the table",
         77,
         1,
         0,
         "",
         "Ayla, смерть пришла. Был достигнут уровень 1 и 0 опыта заработано специализацией . Вас убил "
         "противник, уровня 7, Barrow King. Установлен новый рекорд!",
         {before[0], before[1], {"Ayla", "", 1, 0}}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.What);
        Folder.Write("Data/HighScores.dat", Scores_File(before));
        Music_Calls();
        TDC_Dlg_Dead& dead = Owner.Open<TDC_Dlg_Dead>("Dlg Dead");
        // The death song replaces whatever played.
        std::vector<std::string> calls = Music_Calls();
        if (!calls.empty() && calls.front() == "music close") calls.erase(calls.begin());
        EXPECT_EQ(calls,
                  std::vector<std::string>({"music open " + Folder.File("Music/death.wav"), "music play"}));
        dead.Set_Death_Info("Ayla", t.Class_Number, t.Level, t.Experience, "Barrow King", 7, t.Effect);
        EXPECT_TRUE(dead.New_Record);
        EXPECT_EQ(dead.Death_Text(), t.Text);
        EXPECT_EQ(Folder.Read("Data/HighScores.dat"), Scores_File(t.After));
        Key(27);
        EXPECT_EQ(Owner.Closed.back(), "Dlg Dead");
    }
    // A full table the score does not enter stays as it was, and the text says nothing of a record.
    std::vector<TScore> full;
    for (int32_t n = 0; n < 10; ++n) full.push_back({"Old " + std::to_string(n), "Fighter", 20, 90000});
    Folder.Write("Data/HighScores.dat", Scores_File(full));
    TDC_Dlg_Dead& dead = Owner.Open<TDC_Dlg_Dead>("Dlg Dead");
    dead.Set_Death_Info("Ayla", 1, 2, 10, "Rat", 1, "");
    EXPECT_FALSE(dead.New_Record);
    EXPECT_EQ(dead.Death_Text().find("рекорд"), std::string::npos);
    EXPECT_EQ(Folder.Read("Data/HighScores.dat"), Scores_File(full));
}

TEST_F(Game_Dialogs, TheDeathScreenDrawsItsTitleAndTheWrappedTextInItsBox) {
    TDC_Dlg_Dead& dead = Owner.Open<TDC_Dlg_Dead>("Dlg Dead");
    dead.Set_Death_Info("Ayla", 0, 2, 10, "Rat", 1, "");
    Shown();
    Owner.Draw(0);
    const std::vector<TShown_Text> shown = Shown();
    ASSERT_GE(shown.size(), 3u);
    // Centred at (170, 14).
    EXPECT_EQ(shown[0], At("Death", 394, 61, 2, 2, 6, 0x000000));
    EXPECT_EQ(shown[1], At("Ayla, ", 221, 355, 1, 5, 5, 0x000000));
    std::string words;
    for (size_t i = 1; i < shown.size(); ++i) {
        words += shown[i].Text;
        EXPECT_GE(shown[i].X, 221) << shown[i];
        EXPECT_LE(shown[i].X + 8 * static_cast<int32_t>(plat::Utf8_Length(shown[i].Text)), 221 + 342 + 8)
            << shown[i];
        EXPECT_GE(shown[i].Y, 355) << shown[i];
        EXPECT_LT(shown[i].Y, 355 + 136) << shown[i];
    }
    EXPECT_EQ(words, dead.Death_Text());
    EXPECT_GT(shown.back().Y, 355) << "the text is wrapped onto more lines";
}

} // namespace
