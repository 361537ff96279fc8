// The real audio backend on SDL's dummy driver: sounds convert and play on their channels, and the end of
// the music travels from the mixer's thread through the event queue to the sound system, which starts it
// again. Skipped when the dummy driver cannot open.
#include "core/GameSettings.h"
#include "core/MachineOptions.h"
#include "media/Sounds.h"
#include "platform/sdl/SdlAudio.h"
#include "tests/media/WaveBytes.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Routes the music's events until the condition holds or five seconds pass.
bool Route_Until(plat::TSdl_Audio_Backend& backend, const std::function<bool()>& done) {
    for (int waited = 0; waited < 5000 && !done(); waited += 10) {
        backend.Route_Music_Events();
        SDL_Delay(10);
    }
    return done();
}

class SdlAudioSmoke : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        // Never a real sound card in tests.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Backend = std::make_shared<plat::TSdl_Audio_Backend>();
        if (!Backend->Open()) GTEST_SKIP() << "the dummy audio driver cannot open: " << SDL_GetError();
    }
    void TearDown() override {
        Install_Sounds(nullptr);
        Backend.reset();
        Free_Game_Settings();
        Machine_Options() = TMachine_Options{};
        TProgram_Folder_Test::TearDown();
    }
    std::shared_ptr<plat::TSdl_Audio_Backend> Backend;
};

TEST_F(SdlAudioSmoke, SoundsPlayOnTheirChannelsAndMusicEndsAreRouted) {
    plat::TPcm_Sound sound;
    sound.Channels = 1;
    sound.Samples_Per_Second = 22050;
    sound.Bits_Per_Sample = 16;
    sound.Samples.assign(2 * 1100, 0x10); // 50 ms
    ASSERT_TRUE(Backend->Load_Channel(3, sound, "short"));
    Backend->Play_Channel(3, -600, 4500);
    EXPECT_TRUE(Mix_Playing(3));
    Backend->Wait_Channel(3);
    EXPECT_FALSE(Mix_Playing(3));

    plat::TPcm_Sound stereo8 = sound;
    stereo8.Channels = 2;
    stereo8.Bits_Per_Sample = 8;
    EXPECT_TRUE(Backend->Load_Channel(10, stereo8, "8-bit stereo"));
    plat::TPcm_Sound bits24 = sound;
    bits24.Bits_Per_Sample = 24;
    EXPECT_FALSE(Backend->Load_Channel(4, bits24, "24-bit"));
    EXPECT_FALSE(Backend->Load_Channel(11, sound, "no such channel"));

    // Music: the end of the current play is successful; the end of a halted one is not.
    const std::string path =
        Folder.Write("Music/short.wav", wave_bytes::Pcm16(std::vector<int16_t>(2205, 100)));
    std::vector<bool> ends;
    Backend->Set_Music_Handler([&](bool successful) { ends.push_back(successful); });
    ASSERT_TRUE(Backend->Music_Open(path)) << Mix_GetError();
    ASSERT_TRUE(Backend->Music_Play()) << Mix_GetError();
    ASSERT_TRUE(Route_Until(*Backend, [&] { return !ends.empty(); }));
    EXPECT_EQ(ends, std::vector<bool>{true});

    ends.clear();
    ASSERT_TRUE(Backend->Music_Play());
    Backend->Music_Close();
    ASSERT_TRUE(Route_Until(*Backend, [&] { return !ends.empty(); }));
    EXPECT_EQ(ends, std::vector<bool>{false});
    EXPECT_FALSE(Backend->Music_Open(Folder.Write("Music/bad.ogg", "not music")));
    Backend->Set_Music_Handler(nullptr);
}

TEST_F(SdlAudioSmoke, TheSoundSystemLoopsItsMusicOverTheRealMixer) {
    TGame_Settings& settings = Create_Game_Settings();
    settings.Allow_Sound = settings.Allow_Music = settings.Use_DirectSound = true;
    Folder.Write("Music/intro.wav", wave_bytes::Pcm16(std::vector<int16_t>(2205, 100)));
    Folder.Write("Sounds/hit.wav", wave_bytes::Pcm16(std::vector<int16_t>(220, -100)));
    auto sounds = std::make_shared<TSounds>(Backend);
    Install_Sounds(sounds);
    sounds->Sound_Intialize_Sound_System();
    Sound_Play_At("hit.wav", 11, 21, 10, 20);
    EXPECT_TRUE(Mix_Playing(1));
    sounds->Sound_Start_Music("intro.wav");
    ASSERT_TRUE(Mix_PlayingMusic());
    // The play ends after 100 ms and starts again: the generation moves on with the restart.
    const uint32_t first = Backend->Music_Generation();
    ASSERT_TRUE(Route_Until(*Backend, [&] { return Backend->Music_Generation() != first; }));
    EXPECT_TRUE(Mix_PlayingMusic());
    sounds->Sound_Free_Sound_System();
    EXPECT_FALSE(Backend->Is_Open());
}

} // namespace
