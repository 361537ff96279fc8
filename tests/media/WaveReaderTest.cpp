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
    std::string one_extra_missing = Format(2, 1, 22050, 4);
    Put_16(one_extra_missing, 1);
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
        {"the one extra byte missing", File({{"fmt ", one_extra_missing, 19}}), Wave_Error_Not_Valid},
        {"format outside the RIFF size",
         File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes}}, "RIFF", "WAVE", 4), Mmio_Error_Chunk_Not_Found},
        // The RIFF size ends after the format chunk (4 + 8 + 16): the data that follows is outside it.
        {"data outside the RIFF size",
         File({{"fmt ", Pcm_Format}, {"data", Eight_Bytes}}, "RIFF", "WAVE", 28), Mmio_Error_Chunk_Not_Found},
        {"empty data chunk ending the RIFF data", File({{"fmt ", Pcm_Format}, {"data", ""}}), 0},
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
    // Every 16-bit field above 255, so both of its bytes count: the extensible tag and 258 extra bytes.
    std::string extra_format = Format(0xFFFE, 0x0102, 44100, 0x0110);
    Put_16(extra_format, 258);
    std::string extra(256, 'e');
    extra = "\x02\x04" + extra;
    extra_format += extra;
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
    // Left just past the format chunk: RIFF header 12, "LIST" 8 + 5 + pad, "fmt " 8 + 16 + 2 + 258.
    EXPECT_EQ(handle->Position(), 12u + 14 + 8 + 276);
    const uint16_t align = uint16_t(0x0102 * 0x0110 / 8);
    EXPECT_EQ(format->Format_Tag, 0xFFFE);
    EXPECT_EQ(format->Channels, 0x0102);
    EXPECT_EQ(format->Samples_Per_Second, 44100u);
    EXPECT_EQ(format->Average_Bytes_Per_Second, 44100u * align);
    EXPECT_EQ(format->Block_Align, align);
    EXPECT_EQ(format->Bits_Per_Sample, 0x0110);
    EXPECT_EQ(format->Extra_Size, 258);
    EXPECT_EQ(format->Extra, std::vector<uint8_t>(extra.begin(), extra.end()));

    ASSERT_EQ(Wave_Start_Data_Read(*handle, data, riff), 0);
    EXPECT_EQ(data.Size, 10u);
    // Reads count the chunk down; a read past its end gives what is left.
    uint8_t buffer[16] = {};
    uint32_t read = 0;
    EXPECT_EQ(Wave_Read_File(*handle, 1, buffer, read, data), 0);
    EXPECT_EQ(read, 1u);
    EXPECT_EQ(Wave_Read_File(*handle, 3, buffer + 1, read, data), 0);
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(data.Size, 6u);
    EXPECT_EQ(Wave_Read_File(*handle, 16, buffer + 4, read, data), 0);
    EXPECT_EQ(read, 6u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 10), "0123456789");
    EXPECT_EQ(Wave_Read_File(*handle, 16, buffer, read, data), 0);
    EXPECT_EQ(read, 0u);

    // A chunk that claims more than the file holds (only a caller that skipped the start can have one):
    // corrupt, and nothing counted as read.
    TMmio_Chunk claimed = data;
    claimed.Size = 100;
    read = 7;
    EXPECT_EQ(Wave_Read_File(*handle, 50, buffer, read, claimed), Wave_Error_Corrupt);
    EXPECT_EQ(read, 0u);

    Wave_Close_Read_File(handle, format);
    EXPECT_FALSE(handle);
    EXPECT_FALSE(format);
}

} // namespace
