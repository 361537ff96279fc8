#include "core/GameSettings.h"
#include "core/DebugLog.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

namespace {

const char* const Header = "Settings\r\n*BEGIN*\r\n\r\n\r\n";

class GameSettingsTest : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Free_Game_Settings();
        Folder.Make_Folder("log");
    }
    void TearDown() override {
        Free_Game_Settings();
        TProgram_Folder_Test::TearDown();
    }
};

} // namespace

TEST_F(GameSettingsTest, ReadsTheMainRecord) {
    Folder.Write("Data/Settings.txt",
                 std::string(Header) +
                     "Allow Music := TRUE\r\nAllow Sound := yes\r\nUse DirectSound := no\r\n"
                     "Music Song Intro := intro.ogg\r\nMusic Song Death := death.ogg\r\n"
                     "Generate Debug Log := FALSE\r\n*END*\r\n");
    ASSERT_TRUE(Load_Game_Settings());
    const TGame_Settings& s = *Game_Settings();
    EXPECT_TRUE(s.Allow_Music);
    EXPECT_TRUE(s.Allow_Sound);
    EXPECT_FALSE(s.Use_DirectSound);
    EXPECT_EQ(s.Music_Song_Intro, "intro.ogg");
    EXPECT_EQ(s.Music_Song_Death, "death.ogg");
    EXPECT_FALSE(s.Generate_Debug_Log);
    EXPECT_EQ(s.Color_Depth, 16);
    EXPECT_TRUE(Messages->Messages.empty());

    // Lines logged before the file switched the log off are kept; none after.
    const std::string log = Folder.Read("log/MK_Log.txt");
    EXPECT_NE(log.find("Load_Game_Settings - Start"), std::string::npos);
    EXPECT_NE(log.find("    Allow Music = TRUE"), std::string::npos);
    EXPECT_EQ(log.find("Load_Game_Settings - End"), std::string::npos);
}

TEST_F(GameSettingsTest, MissingKeyShowsHeadingAndLine) {
    const std::string path = Folder.Write(
        "Data/Settings.txt", std::string(Header) +
                                 "Allow Music := TRUE\r\nAllow Sound := TRUE\r\nMusic Song Intro := a\r\n"
                                 "Music Song Death := b\r\nGenerate Debug Log := TRUE\r\n*END*\r\n");
    Create_Game_Settings().Use_DirectSound = true; // a missing key keeps what the field held
    EXPECT_FALSE(Load_Game_Settings());
    EXPECT_TRUE(Game_Settings()->Use_DirectSound);
    EXPECT_TRUE(Game_Settings()->Allow_Music);
    ASSERT_EQ(Messages->Messages.size(), 2u);
    EXPECT_EQ(Messages->Messages[0].Caption, "Data File Error");
    EXPECT_EQ(Messages->Messages[0].Text, "Errors reading file \"" + path + "\".");
    EXPECT_EQ(Messages->Messages[1].Text,
              "Не удалось найти поле \"Use DirectSound\" в записи \"Main Record\".");
}

TEST_F(GameSettingsTest, MissingFileFails) {
    EXPECT_FALSE(Load_Game_Settings());
    ASSERT_EQ(Messages->Messages.size(), 2u);
    EXPECT_NE(Messages->Messages[1].Text.find("Не удаётся загрузить"), std::string::npos);
}
