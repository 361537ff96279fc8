// The sound system over the headless audio backend: the gates, the ring of ten, sounds heard from the map
// (distance, walls, direction) through the world model's sound seam, music that starts again only when the
// current play ends, and the "Sounds" log lines.
#include "media/Sounds.h"
#include "core/DebugLog.h"
#include "core/GameSettings.h"
#include "core/MachineOptions.h"
#include "tests/core/MapFixture.h"
#include "tests/media/WaveBytes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class SoundsTest : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        // Most tests hear no walls; those that do put the map back.
        Saved_Map = Remove_Current_Map();
        Machine_Options() = TMachine_Options{};
        TGame_Settings& settings = Create_Game_Settings();
        settings.Allow_Sound = settings.Allow_Music = settings.Use_DirectSound = true;
        Backend = std::make_shared<plat::THeadless_Audio_Backend>();
        System = std::make_shared<TSounds>(Backend);
        Install_Sounds(System);
        Set_Log_Observer([this](const std::string& unit, const std::string& message) {
            if (unit == "Sounds") Log_Lines.push_back(message);
        });
        for (const char* name : {"hit.wav", "s1.wav", "s2.wav", "s3.wav", "s4.wav", "s5.wav", "s6.wav",
                                 "s7.wav", "s8.wav", "s9.wav", "s10.wav", "s11.wav"})
            Folder.Write(std::string("Sounds/") + name, wave_bytes::Pcm16({0, 1000, -1000, 2000}));
        Folder.Write("Music/intro.wav", wave_bytes::Pcm16({0, 0}));
        Folder.Write("Music/death.ogg", "not read by the sound layer");
    }
    void TearDown() override {
        Set_Log_Observer(nullptr);
        Install_Sounds(nullptr);
        Free_Game_Settings();
        Machine_Options() = TMachine_Options{};
        Install_Current_Map(std::move(Saved_Map));
        TMap_Fixture::TearDown();
    }
    void Hear_Walls() { Install_Current_Map(std::move(Saved_Map)); }

    // What the backend was asked since the last look.
    Lines Calls() {
        Lines calls;
        calls.swap(Backend->Calls);
        return calls;
    }
    Lines Logged() {
        Lines lines;
        lines.swap(Log_Lines);
        return lines;
    }
    std::string Sound(const std::string& name) const { return Folder.File("Sounds/" + name); }
    std::string Music(const std::string& name) const { return Folder.File("Music/" + name); }

    std::shared_ptr<plat::THeadless_Audio_Backend> Backend;
    std::shared_ptr<TSounds> System;
    Lines Log_Lines;
    std::unique_ptr<TMap> Saved_Map;
};

TEST_F(SoundsTest, EffectsSoundOnlyWhenThePlayerAndTheSettingsBothAllowThem) {
    struct TCase {
        bool Play_Sounds, Allow_Sound, Use_DirectSound;
        Lines Play, Play_At;
    };
    const std::string hit = Sound("hit.wav");
    const TCase cases[] = {
        {true,
         true,
         true,
         {"free 1", "load 1 " + hit, "play 1 0 0"},
         {"free 2", "load 2 " + hit, "play 2 -100 2250"}},
        {false, true, true, {}, {}},
        {true, false, true, {}, {}},
        {false, false, true, {}, {}},
        // Plain sounds: no volume, no pan, one channel.
        {true,
         true,
         false,
         {"free 0", "load 0 " + hit, "play 0 0 0"},
         {"free 0", "load 0 " + hit, "play 0 0 0"}},
        {false, true, false, {}, {}},
        {true, false, false, {}, {}},
    };
    for (const TCase& c : cases) {
        Machine_Options().Play_Sounds = c.Play_Sounds;
        Game_Settings()->Allow_Sound = c.Allow_Sound;
        Game_Settings()->Use_DirectSound = c.Use_DirectSound;
        System->Sound_Intialize_Sound_System();
        Calls();
        Sound_Play("hit.wav");
        EXPECT_EQ(Calls(), c.Play) << c.Play_Sounds << c.Allow_Sound << c.Use_DirectSound;
        Sound_Play_At("hit.wav", 12, 10, 10, 10);
        EXPECT_EQ(Calls(), c.Play_At) << c.Play_Sounds << c.Allow_Sound << c.Use_DirectSound;
        System->Sound_Free_Sound_System();
    }
    Machine_Options().Play_Sounds = Game_Settings()->Allow_Sound = true;
    Game_Settings()->Use_DirectSound = false;
    System->Sound_Intialize_Sound_System();
    Calls();
    System->Sound_Play_Wave("hit.wav", false);
    EXPECT_EQ(Calls(), (Lines{"free 0", "load 0 " + hit, "play 0 0 0", "wait 0"}))
        << "a plain play that waits";
}

TEST_F(SoundsTest, TheEleventhEffectCutsSlotOneAndABadFileLeavesItsSlotEmpty) {
    System->Sound_Intialize_Sound_System();
    EXPECT_EQ(System->Ring_Position(), 0);
    for (int n = 1; n <= 10; ++n) Sound_Play("s" + std::to_string(n) + ".wav");
    EXPECT_EQ(System->Ring_Position(), 10);
    for (int slot = 1; slot <= 10; ++slot) EXPECT_NE(Backend->Channel_Sound(slot), nullptr) << slot;
    Calls();
    Sound_Play("s11.wav");
    EXPECT_EQ(Calls(), (Lines{"free 1", "load 1 " + Sound("s11.wav"), "play 1 0 0"}));

    // Each refused file still takes its turn of the ring and empties its slot.
    std::string float_format = wave_bytes::Format(3, 1, 22050, 32);
    std::string pcm24 = wave_bytes::Format(1, 1, 22050, 24);
    std::string wrong_align = wave_bytes::Format(1, 2, 22050, 16);
    wrong_align[12] = 1;
    Folder.Write("Sounds/bad.wav", "RIFF garbage");
    Folder.Write("Sounds/float.wav", wave_bytes::File({{"fmt ", float_format + std::string(2, '\0')},
                                                       {"data", std::string(8, '\1')}}));
    Folder.Write("Sounds/pcm24.wav", wave_bytes::File({{"fmt ", pcm24}, {"data", std::string(9, '\1')}}));
    Folder.Write("Sounds/align.wav",
                 wave_bytes::File({{"fmt ", wrong_align}, {"data", std::string(8, '\1')}}));
    Folder.Write("Sounds/silence.wav",
                 wave_bytes::File({{"fmt ", wave_bytes::Format(1, 1, 22050, 8)}, {"data", ""}}));
    const char* refused[] = {"bad.wav", "float.wav", "pcm24.wav", "align.wav", "silence.wav", "missing.wav"};
    int slot = 2;
    for (const char* name : refused) {
        Sound_Play(name);
        EXPECT_EQ(Calls(), (Lines{"free " + std::to_string(slot)})) << name;
        EXPECT_EQ(Backend->Channel_Sound(slot), nullptr) << name;
        ++slot;
    }
    // 8-bit stereo PCM plays, its samples handed over as the file holds them.
    Folder.Write("Sounds/pcm8.wav", wave_bytes::File({{"fmt ", wave_bytes::Format(1, 2, 11025, 8)},
                                                      {"data", std::string("\x80\x90\x70\x60", 4)}}));
    Sound_Play("pcm8.wav");
    const plat::TPcm_Sound* sound = Backend->Channel_Sound(slot);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->Channels, 2);
    EXPECT_EQ(sound->Samples_Per_Second, 11025u);
    EXPECT_EQ(sound->Bits_Per_Sample, 8);
    EXPECT_EQ(sound->Samples, (std::vector<uint8_t>{0x80, 0x90, 0x70, 0x60}));
}

TEST_F(SoundsTest, WithoutADeviceEffectsAndMusicAreSilent) {
    Backend->Refuse_Open = true;
    System->Sound_Intialize_Sound_System();
    Sound_Play("hit.wav");
    Sound_Play_At("hit.wav", 3, 3, 4, 4);
    System->Sound_Start_Music("intro.wav");
    EXPECT_EQ(Calls(), Lines{});
    EXPECT_EQ(System->Music_Device(), 0u);
    EXPECT_EQ(Backend->Channel_Sound(1), nullptr);
}

// Sounds heard from the map, called the way the world model calls them: source x, y, then listener x, y.
TEST_F(SoundsTest, ASoundFromTheMapIsQuieterWithDistanceAndWallsAndPannedByDirection) {
    struct TCase {
        const char* Name;
        int Source_X, Source_Y, Listener_X, Listener_Y;
        int32_t Volume, Pan;
    } cases[] = {
        {"same square", 10, 10, 10, 10, 0, 0},
        {"next square down-right (135 degrees)", 11, 21, 10, 20, 0, 4500},
        {"next square up-right (45)", 11, 19, 10, 20, 0, 0},
        {"two east (90)", 12, 20, 10, 20, -100, 2250},
        {"three north (0)", 10, 17, 10, 20, -200, -2250},
        {"three up-left (315)", 7, 17, 10, 20, -200, -4500},
        {"down-left (225)", 9, 21, 10, 20, 0, 0},
        {"two south (180)", 10, 22, 10, 20, -100, 2250},
        {"three west (270)", 7, 20, 10, 20, -200, -2250},
        {"far away", 200, 200, 1, 1, -10000, 4500},
        {"steep, north of north-east", 11, 10, 10, 20, -900, -1950},
    };
    System->Sound_Intialize_Sound_System();
    for (const TCase& c : cases) {
        Calls();
        Sound_Play_At("hit.wav", c.Source_X, c.Source_Y, c.Listener_X, c.Listener_Y);
        const Lines calls = Calls();
        ASSERT_EQ(calls.size(), 3u) << c.Name;
        EXPECT_EQ(calls[2].substr(calls[2].find(' ', 5) + 1),
                  std::to_string(c.Volume) + " " + std::to_string(c.Pan))
            << c.Name;
    }

    // Three walls on the line: 1500 lower each; far with walls stays at silent.
    Hear_Walls();
    for (int x = 11; x <= 13; ++x) Set_Terrain(x, 10, Wall);
    struct TWall_Case {
        int Source_X;
        int32_t Volume;
    } walls[] = {{14, -300 - 4500}, {100, -10000}};
    for (const TWall_Case& c : walls) {
        Calls();
        Sound_Play_At("hit.wav", c.Source_X, 10, 10, 10);
        const Lines calls = Calls();
        ASSERT_EQ(calls.size(), 3u);
        EXPECT_EQ(calls[2].substr(calls[2].find(' ', 5) + 1), std::to_string(c.Volume) + " 2250")
            << c.Source_X;
    }
}

TEST(SoundPan, FollowsTheBearingAroundTheListener) {
    const std::pair<int32_t, int32_t> cases[] = {{0, -2250},   {1, -2200},   {45, 0},     {46, 50},
                                                 {90, 2250},   {134, 4450},  {135, 4500}, {180, 2250},
                                                 {224, 50},    {225, 0},     {226, -50},  {270, -2250},
                                                 {315, -4500}, {316, -4450}, {359, -2300}};
    for (const auto& [angle, pan] : cases) EXPECT_EQ(Sound_Pan_For_Angle(angle), pan) << angle;
}

TEST_F(SoundsTest, MusicStartsAgainOnlyWhenTheCurrentPlayEnds) {
    System->Sound_Intialize_Sound_System();
    Calls();
    Logged();
    System->Sound_Start_Music("intro.wav");
    EXPECT_EQ(Calls(), (Lines{"music open " + Music("intro.wav"), "music play"}));
    EXPECT_EQ(Logged(),
              (Lines{"Sound_Start_Music(intro.wav) - Start", "  MCISendCommand(MCI_OPEN)",
                     "  MCISendCommand(MCI_SET)", "  MCISendCommand(MCI_PLAY)", "Sound_Start_Music - End"}));
    EXPECT_NE(System->Music_Device(), 0u);

    // The end of the current play starts it again, from the start, each time.
    for (int round = 0; round < 2; ++round) {
        Backend->Finish_Music();
        Backend->Route_Music_Events();
        EXPECT_EQ(Calls(), (Lines{"music play"})) << round;
    }
    // Other notifications are ignored.
    System->Sound_Music_Notify(MCI_NOTIFY_ABORTED);
    System->Sound_Music_Notify(MCI_NOTIFY_SUPERSEDED);
    EXPECT_EQ(Calls(), Lines{});

    // An end that arrives after a newer start is stale: the newer play goes on alone.
    Backend->Finish_Music();
    System->Sound_Start_Music("intro.wav");
    Backend->Route_Music_Events();
    EXPECT_EQ(Calls(), (Lines{"music close", "music open " + Music("intro.wav"), "music play"}));

    // Nor does an end that arrives after a stop.
    Backend->Finish_Music();
    Logged();
    System->Sound_Stop_Music();
    Backend->Route_Music_Events();
    EXPECT_EQ(Calls(), (Lines{"music close"}));
    EXPECT_EQ(Logged(), (Lines{"Sound_Stop_Music - Start"}));
    EXPECT_EQ(System->Music_Device(), 0u);
}

TEST_F(SoundsTest, AReplacedSoundSystemLeavesTheMusicEndsToItsSuccessor) {
    auto successor = std::make_shared<TSounds>(Backend);
    Install_Sounds(successor); // the first system goes away after the second took the backend
    System.reset();
    successor->Sound_Intialize_Sound_System();
    successor->Sound_Start_Music("intro.wav");
    Calls();
    Backend->Finish_Music();
    Backend->Route_Music_Events();
    EXPECT_EQ(Calls(), (Lines{"music play"}));
}

TEST_F(SoundsTest, NotificationsWhileAMusicCommandRunsAreIgnored) {
    System->Sound_Intialize_Sound_System();
    int injected = 0;
    // A successful end arrives in the middle of each "music play": inside Sound_Start_Music and inside the
    // restart of Sound_Music_Notify itself. Neither may start the music a second time.
    Backend->On_Call = [&](const std::string& call) {
        if (call != "music play") return;
        ++injected;
        EXPECT_TRUE(System->Music_Busy());
        System->Sound_Music_Notify(MCI_NOTIFY_SUCCESSFUL);
    };
    Calls();
    System->Sound_Start_Music("intro.wav");
    EXPECT_EQ(Calls(), (Lines{"music open " + Music("intro.wav"), "music play"}));
    System->Sound_Music_Notify(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(Calls(), (Lines{"music play"}));
    EXPECT_EQ(injected, 2);
    EXPECT_FALSE(System->Music_Busy());
}

TEST_F(SoundsTest, MusicOffOnlyLogsAndAMissingFileLeavesSilence) {
    System->Sound_Intialize_Sound_System();
    System->Sound_Start_Music("intro.wav");
    Calls();
    Logged();
    struct TGate {
        bool Play_Music, Allow_Music;
    } off[] = {{false, true}, {true, false}, {false, false}};
    for (const TGate& gate : off) {
        Machine_Options().Play_Music = gate.Play_Music;
        Game_Settings()->Allow_Music = gate.Allow_Music;
        System->Sound_Start_Music("other.wav");
        EXPECT_EQ(Calls(), Lines{}) << "what plays goes on";
        EXPECT_EQ(Logged(), (Lines{"Sound_Start_Music(other.wav) - Start", "Sound_Start_Music - End"}));
        EXPECT_TRUE(Backend->Music_Playing());
    }
    Machine_Options().Play_Music = true;
    Game_Settings()->Allow_Music = true;
    // A missing file (or a folder of that name): the old music is closed and nothing plays.
    Folder.Make_Folder("Music/folder.ogg");
    for (const char* name : {"missing.ogg", "folder.ogg"}) {
        System->Sound_Start_Music("intro.wav");
        Calls();
        System->Sound_Start_Music(name);
        EXPECT_EQ(Calls(), (Lines{"music close"})) << name;
        EXPECT_EQ(System->Music_Device(), 0u);
        EXPECT_FALSE(Backend->Music_Playing());
    }
    // A file the device cannot load: no device, so its end never comes and nothing starts again.
    Backend->Refuse_Music = true;
    System->Sound_Start_Music("death.ogg");
    EXPECT_EQ(Calls(), (Lines{"music open " + Music("death.ogg")}));
    EXPECT_EQ(System->Music_Device(), 0u);
    System->Sound_Music_Notify(MCI_NOTIFY_SUCCESSFUL);
    EXPECT_EQ(Calls(), Lines{});
}

TEST_F(SoundsTest, StartUpAndShutDownLogTheirLinesAndAlwaysCloseMusicAndDevice) {
    struct TCase {
        bool Use_DirectSound;
        Lines Start_Log, Free_Log;
    } cases[] = {
        {true,
         {"Sound_Intialize_Sound_System - Start", "  SoundBase_Initialize_DirectSound",
          "Sound_Intialize_Sound_System - End"},
         {"Sound_Free_Sound_System - Start", "  SoundBase_Free_DirectSound", "  MCISendCommand(MCI_CLOSE)"}},
        {false,
         {"Sound_Intialize_Sound_System - Start", "Sound_Intialize_Sound_System - End"},
         {"Sound_Free_Sound_System - Start", "  MCISendCommand(MCI_CLOSE)"}},
    };
    for (const TCase& c : cases) {
        Game_Settings()->Use_DirectSound = c.Use_DirectSound;
        System->Sound_Intialize_Sound_System();
        EXPECT_EQ(Logged(), c.Start_Log);
        EXPECT_TRUE(Backend->Is_Open());
        Sound_Play("hit.wav");
        System->Sound_Start_Music("intro.wav");
        Calls();
        Logged();
        System->Sound_Free_Sound_System();
        EXPECT_EQ(Logged(), c.Free_Log);
        const Lines calls = Calls();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(Lines(calls.end() - 2, calls.end()), (Lines{"music close", "close"}));
        EXPECT_FALSE(Backend->Is_Open());
        EXPECT_EQ(System->Music_Device(), 0u);
        // Nothing sounds after shut-down.
        Sound_Play("hit.wav");
        EXPECT_EQ(Calls(), Lines{});
    }
    // Starting again with "Use DirectSound" begins the ring anew.
    Game_Settings()->Use_DirectSound = true;
    System->Sound_Intialize_Sound_System();
    Sound_Play("hit.wav");
    Sound_Play("hit.wav");
    System->Sound_Intialize_Sound_System();
    EXPECT_EQ(System->Ring_Position(), 0);
    for (int slot = 1; slot <= 10; ++slot) EXPECT_EQ(Backend->Channel_Sound(slot), nullptr) << slot;
}

} // namespace
