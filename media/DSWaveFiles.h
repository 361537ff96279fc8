// Reader of RIFF WAVE sound files. It walks the chunks the way the platform's multimedia file functions
// did (descend into a chunk, find a chunk by its identifier inside a parent, ascend past a chunk), over the
// whole file held in memory, and reports the result codes the sound layer has always used.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Result codes: 0 is success.
constexpr int32_t Wave_Error_Cannot_Open = 0xE100; // "Cannot open wave file"
constexpr int32_t Wave_Error_Not_Valid = 0xE101;   // "Not a valid wave file"
constexpr int32_t Wave_Error_Cannot_Read = 0xE102; // "Cannot read the wave file"
constexpr int32_t Wave_Error_Corrupt = 0xE103;     // "Corrupt wave file"
constexpr int32_t Wave_Error_No_Memory = 0xE000;   // "Error allocating memory for the wave file"
// The chunk walk's own failure: the chunk asked for is not there (or its header is cut short).
constexpr int32_t Mmio_Error_Chunk_Not_Found = 265;

constexpr uint16_t Wave_Format_Pcm = 1;

// Four-character chunk identifiers as they lie in the file, read as a little-endian number.
constexpr uint32_t Four_Cc(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 |
           uint32_t(uint8_t(d)) << 24;
}

// The format record: the 16-byte PCM format, the extra size and the extra bytes.
struct TWave_Format {
    uint16_t Format_Tag = 0;
    uint16_t Channels = 0;
    uint32_t Samples_Per_Second = 0;
    uint32_t Average_Bytes_Per_Second = 0;
    uint16_t Block_Align = 0;
    uint16_t Bits_Per_Sample = 0;
    uint16_t Extra_Size = 0;
    std::vector<uint8_t> Extra;
};

struct TMmio_Chunk {
    uint32_t Id = 0;
    uint32_t Size = 0;        // while reading the data chunk: the bytes not read yet
    uint32_t Form_Type = 0;   // "RIFF" and "LIST" chunks only
    uint64_t Data_Offset = 0; // the byte after the size field
};

// An open sound file: its bytes and a read position, which may lie past the end as a file's may.
class TMmio_File {
public:
    explicit TMmio_File(std::vector<uint8_t> bytes) : Bytes_(std::move(bytes)) {}

    // Without a parent: reads the chunk header at the position. With one: searches from the position for
    // the first chunk with the chunk's Id that starts inside the parent, skipping others (word-aligned).
    // Leaves the position at the chunk's data (past the form type of "RIFF" and "LIST").
    int32_t Descend(TMmio_Chunk& chunk, const TMmio_Chunk* parent_to_search);
    // Moves to the byte after the chunk's data and its pad byte.
    int32_t Ascend(const TMmio_Chunk& chunk);
    // Reads up to count bytes; the number read.
    size_t Read(void* out, size_t count);
    void Seek(uint64_t position) { Position_ = position; }
    uint64_t Position() const { return Position_; }
    uint64_t Size() const { return Bytes_.size(); }
    uint64_t Bytes_Left() const { return Position_ < Bytes_.size() ? Bytes_.size() - Position_ : 0; }

private:
    bool Read_Header(TMmio_Chunk& chunk);
    std::vector<uint8_t> Bytes_;
    uint64_t Position_ = 0;
};

using TWave_Handle = std::unique_ptr<TMmio_File>;
using TWave_Format_Record = std::unique_ptr<TWave_Format>;

// Opens the file and reads its format. On success the handle is left just past the "fmt " chunk; on any
// failure the handle and the format are empty.
int32_t Wave_Open_File(const std::string& file_name, TWave_Handle& handle, TWave_Format_Record& format,
                       TMmio_Chunk& riff);
// The same over a file's bytes already in memory.
int32_t Wave_Open_Bytes(std::vector<uint8_t> bytes, TWave_Handle& handle, TWave_Format_Record& format,
                        TMmio_Chunk& riff);
// Goes to the start of the RIFF data and into the "data" chunk. A "data" chunk that claims more bytes than
// the file has left is corrupt, so no caller sizes a buffer from it.
int32_t Wave_Start_Data_Read(TMmio_File& handle, TMmio_Chunk& data, const TMmio_Chunk& riff);
// Reads min(count, bytes left in the chunk) sample bytes into the buffer; read is that count, or 0 on
// failure.
int32_t Wave_Read_File(TMmio_File& handle, uint32_t count, uint8_t* buffer, uint32_t& read,
                       TMmio_Chunk& data);
// Frees the format and closes the file.
void Wave_Close_Read_File(TWave_Handle& handle, TWave_Format_Record& format);
