// The WAVE reader's result codes for broken files, the format and samples of good ones, and the chunk walk
// (chunks skipped with their pad byte, the search kept inside the RIFF chunk).
#include "media/DSWaveFiles.h"
#include "tests/media/WaveBytes.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace wave_bytes;

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Open, then start the data read: the first code that is not 0, or 0.
int32_t Open_And_Start(const std::string& file, TMmio_Chunk* data_out = nullptr) {
    TWave_Handle handle;
    TWave_Format_Record format;
    TMmio_Chunk riff, data;
    int32_t code = Wave_Open_Bytes(Bytes(file), handle, format, riff);
    if (code != 0) {
        EXPECT_FALSE(handle) << "a failed open closes the file";
        EXPECT_FALSE(format) << "a failed open frees the format";
        return code;
    }
    code = Wave_Start_Data_Read(*handle, data, riff);
    if (data_out) *data_out = data;
    return code;
}

const std::string Pcm_Format = Format(1, 1, 22050, 16);
const std::string Eight_Bytes = "\x01\x02\x03\x04\x05\x06\x07\x08";

TEST(WaveReader, BrokenFilesGiveTheirCodes) {
    std::string non_pcm_no_extra_size = Format(2, 1, 22050, 4);
    std::string extra_cut = Format(2, 1, 22050, 4);
    Put_16(extra_cut, 32); // 32 extra bytes announced, 4 follow
    extra_cut += "abcd";
    struct TCase {
        const char* Name;
        std::string File;
        int32_t Code;
    } cases[] = {
        {"shorter than a chunk header", "RIFF\x10\x00", Mmio_Error_Chunk_Not_Found},
        {"RIFF header without its form type", std::string("RIFF\x04\x00\x00\x00", 8),
         Mmio_Error_Chunk_Not_Found},
        {"RIFX", File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes}}, "RIFX"), Wave_Error_Not_Valid},
        {"not WAVE", File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes}}, "RIFF", "AVI "),
         Wave_Error_Not_Valid},
        {"no format chunk", File({{"data", Eight_Bytes}}), Mmio_Error_Chunk_Not_Found},
        {"format of 14 bytes", File({{"fmt ", Pcm_Format.substr(0, 14)}, {"data", Eight_Bytes}}),
         Wave_Error_Not_Valid},
        {"format cut by the end of the file", File({{"fmt ", Pcm_Format}}).substr(0, 30),
         Wave_Error_Cannot_Read},
        {"other format without its extra size",
         File({{"fmt ", non_pcm_no_extra_size, 18}}).substr(0, 20 + 16), Wave_Error_Cannot_Read},
        {"extra bytes cut short", File({{"fmt ", extra_cut, 50}}), Wave_Error_Not_Valid},
        {"format outside the RIFF size",
         File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes}}, "RIFF", "WAVE", 4), Mmio_Error_Chunk_Not_Found},
        {"no data chunk", File({{"fmt ", Pcm_Format}}), Mmio_Error_Chunk_Not_Found},
        {"data header cut", File({{"fmt ", Pcm_Format}}) + "dat", Mmio_Error_Chunk_Not_Found},
        {"data shorter than its size", File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes, 9}}),
         Wave_Error_Corrupt},
        {"huge data size", File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes, 0xFFFFFFF0}}),
         Wave_Error_Corrupt},
        {"whole", File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes}}), 0},
    };
    for (const TCase& c : cases) EXPECT_EQ(Open_And_Start(c.File), c.Code) << c.Name;

    TTemp_Folder folder;
    TWave_Handle handle;
    TWave_Format_Record format;
    TMmio_Chunk riff;
    EXPECT_EQ(Wave_Open_File(folder.File("missing.wav"), handle, format, riff), Wave_Error_Cannot_Open);
    EXPECT_EQ(Wave_Open_File(folder.Make_Folder("Folder.wav"), handle, format, riff), Wave_Error_Cannot_Open);
    EXPECT_FALSE(handle);
}

TEST(WaveReader, ReadsTheFormatAndTheSamplesOfAGoodFile) {
    // A chunk of odd size before the format and one after it: both are skipped with their pad byte.
    std::string extra_format = Format(0x11, 2, 44100, 4);
    Put_16(extra_format, 2);
    extra_format += "\x02\x04";
    const std::string file =
        File({{"LIST", "INFOx"}, {"fmt ", extra_format}, {"fact", "abc"}, {"data", "0123456789"}});
    TTemp_Folder folder;
    const std::string path = folder.Write("Sounds/Odd Name.WAV", file);

    TWave_Handle handle;
    TWave_Format_Record format;
    TMmio_Chunk riff, data;
    ASSERT_EQ(Wave_Open_File(folder.File("sounds/odd name.wav"), handle, format, riff), 0)
        << "found whatever the letter case";
    ASSERT_TRUE(format);
    EXPECT_EQ(format->Format_Tag, 0x11);
    EXPECT_EQ(format->Channels, 2);
    EXPECT_EQ(format->Samples_Per_Second, 44100u);
    EXPECT_EQ(format->Average_Bytes_Per_Second, 44100u);
    EXPECT_EQ(format->Block_Align, 1);
    EXPECT_EQ(format->Bits_Per_Sample, 4);
    EXPECT_EQ(format->Extra_Size, 2);
    EXPECT_EQ(format->Extra, (std::vector<uint8_t>{2, 4}));

    ASSERT_EQ(Wave_Start_Data_Read(*handle, data, riff), 0);
    EXPECT_EQ(data.Size, 10u);
    // Reads count the chunk down; a read past its end gives what is left.
    uint8_t buffer[16] = {};
    uint32_t read = 0;
    EXPECT_EQ(Wave_Read_File(*handle, 4, buffer, read, data), 0);
    EXPECT_EQ(read, 4u);
    EXPECT_EQ(data.Size, 6u);
    EXPECT_EQ(Wave_Read_File(*handle, 16, buffer + 4, read, data), 0);
    EXPECT_EQ(read, 6u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), "0123456789");
    EXPECT_EQ(Wave_Read_File(*handle, 16, buffer, read, data), 0);
    EXPECT_EQ(read, 0u);

    Wave_Close_Read_File(handle, format);
    EXPECT_FALSE(handle);
    EXPECT_FALSE(format);
}

} // namespace
