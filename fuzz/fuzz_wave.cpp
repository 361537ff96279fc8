// The WAVE reader over one file's bytes: open (format), the data chunk, then the samples read in pieces
// of varying size, as the sound layer does. Every input must end in a result code; a sample count the
// file does not hold must be refused before anything is sized from it.
#include "media/DSWaveFiles.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TWave_Handle handle;
    TWave_Format_Record format;
    TMmio_Chunk riff;
    if (Wave_Open_Bytes(std::vector<uint8_t>(data, data + size), handle, format, riff) != 0) {
        if (handle || format) std::abort(); // a failed open leaves nothing open
        return 0;
    }
    if (!handle || !format || format->Extra.size() != format->Extra_Size) std::abort();

    TMmio_Chunk chunk;
    if (Wave_Start_Data_Read(*handle, chunk, riff) == 0) {
        if (chunk.Size > handle->Bytes_Left()) std::abort();
        // Pieces of 1, 2, 4 ... bytes: the reader must count the rest of the chunk down exactly.
        std::vector<uint8_t> buffer(chunk.Size);
        uint32_t done = 0, piece = 1;
        while (done < buffer.size()) {
            uint32_t read = 0;
            if (Wave_Read_File(*handle, piece, buffer.data() + done, read, chunk) != 0) std::abort();
            if (read == 0 || read > piece) std::abort();
            done += read;
            piece = piece < (1u << 16) ? piece * 2 : piece;
        }
        uint32_t read = 1;
        uint8_t past;
        if (Wave_Read_File(*handle, 1, &past, read, chunk) != 0 || read != 0) std::abort();
    }
    Wave_Close_Read_File(handle, format);
    if (handle || format) std::abort();
    return 0;
}
