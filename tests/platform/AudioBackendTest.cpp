// The audio backend's shared rules: hundredths of a decibel as mixer levels, and the music generation that
// tells the end of the current play from the end of one halted or replaced since.
#include "platform/AudioBackend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(AudioBackend, DecibelsBecomeMixerLevels) {
    const std::pair<int32_t, int> volumes[] = {{0, 128},    {100, 128},  {-600, 64},
                                               {-2000, 13}, {-10000, 0}, {-2147483647, 0}};
    for (const auto& [volume, level] : volumes) EXPECT_EQ(plat::Mixer_Volume(volume), level) << volume;

    struct TPan {
        int32_t Pan;
        plat::TMixer_Panning Levels;
    } pans[] = {{0, {255, 255}},   {600, {128, 255}}, {4500, {1, 255}},
                {-4500, {255, 1}}, {10000, {0, 255}}, {-10000, {255, 0}}};
    for (const TPan& p : pans) {
        const plat::TMixer_Panning got = plat::Mixer_Panning(p.Pan);
        EXPECT_EQ(got.Left, p.Levels.Left) << p.Pan;
        EXPECT_EQ(got.Right, p.Levels.Right) << p.Pan;
    }
}

TEST(AudioBackend, TheRecorderRefusesWhatADeviceWould) {
    plat::THeadless_Audio_Backend backend;
    plat::TPcm_Sound sound;
    sound.Samples = {1, 2};
    EXPECT_FALSE(backend.Load_Channel(1, sound, "closed"));
    EXPECT_FALSE(backend.Music_Open("closed.ogg"));
    EXPECT_FALSE(backend.Music_Play());
    backend.Refuse_Open = true;
    EXPECT_FALSE(backend.Open());
    backend.Refuse_Open = false;
    EXPECT_TRUE(backend.Open());
    EXPECT_TRUE(backend.Open()) << "already open";
    EXPECT_FALSE(backend.Music_Play()) << "no music loaded";
    for (int channel : {-1, plat::Audio_Channel_Count})
        EXPECT_FALSE(backend.Load_Channel(channel, sound, "no such channel")) << channel;
    EXPECT_TRUE(backend.Load_Channel(plat::Audio_Channel_Count - 1, sound, "last"));
    EXPECT_EQ(backend.Calls, (std::vector<std::string>{"open", "load 10 last"}));
}

TEST(AudioBackend, OnlyTheEndOfTheCurrentMusicPlayIsSuccessful) {
    plat::THeadless_Audio_Backend backend;
    std::vector<bool> ends;
    backend.Set_Music_Handler([&](bool successful) { ends.push_back(successful); });
    ASSERT_TRUE(backend.Open());
    ASSERT_TRUE(backend.Music_Open("a.ogg"));
    ASSERT_TRUE(backend.Music_Play());

    backend.Finish_Music(); // ends by itself
    backend.Route_Music_Events();
    EXPECT_EQ(ends, std::vector<bool>{true});

    // Playing again halts the play before it: that end is reported, and is stale.
    ends.clear();
    backend.Music_Play();
    backend.Music_Play();
    backend.Route_Music_Events();
    EXPECT_EQ(ends, std::vector<bool>{false});

    // An end taken before a close, or before another file opens, arrives stale.
    for (int round = 0; round < 2; ++round) {
        ends.clear();
        const uint32_t before = backend.Music_Generation();
        if (round == 0)
            backend.Music_Close();
        else
            backend.Music_Open("b.ogg");
        EXPECT_GT(backend.Music_Generation(), before) << round;
        backend.Music_Finished(before);
        EXPECT_EQ(ends, std::vector<bool>{false}) << round;
        backend.Music_Open("b.ogg");
        backend.Music_Play();
    }
    EXPECT_EQ(backend.Calls, (std::vector<std::string>{"open", "music open a.ogg", "music play", "music play",
                                                       "music play", "music close", "music open b.ogg",
                                                       "music play", "music close", "music open b.ogg",
                                                       "music close", "music open b.ogg", "music play"}));
}

} // namespace
