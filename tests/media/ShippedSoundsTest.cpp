// Every sound and song of the program folder the build assembles reads through the game's own WAVE
// reader and loads into a sound slot.
#include "media/DSWaveFiles.h"
#include "media/Sounds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(ShippedSounds, EveryWaveFileLoadsThroughTheGamesReader) {
    auto backend = std::make_shared<plat::THeadless_Audio_Backend>();
    ASSERT_TRUE(backend->Open());
    TSounds sounds(backend);
    int files = 0;
    for (const char* folder : {"Sounds", "Music"}) {
        const fs::path path = fs::path(MURK_RUNTIME_DIR) / folder;
        ASSERT_TRUE(fs::is_directory(path)) << path;
        for (const auto& entry : fs::directory_iterator(path)) {
            if (entry.path().extension() != ".wav") continue;
            ++files;
            TWave_Handle handle;
            TWave_Format_Record format;
            TMmio_Chunk riff, data;
            ASSERT_EQ(Wave_Open_File(entry.path().string(), handle, format, riff), 0) << entry.path();
            EXPECT_EQ(Wave_Start_Data_Read(*handle, data, riff), 0) << entry.path();
            EXPECT_GT(data.Size, 0u) << entry.path();
            EXPECT_TRUE(sounds.Load_Wave_Buffer(entry.path().string(), 1)) << entry.path();
        }
    }
    EXPECT_GT(files, 56) << "the fixed sounds alone are 56";
}

} // namespace
