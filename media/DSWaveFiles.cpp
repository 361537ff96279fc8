#include "media/DSWaveFiles.h"

#include "platform/PathLayer.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t Riff_Id = Four_Cc('R', 'I', 'F', 'F');
constexpr uint32_t List_Id = Four_Cc('L', 'I', 'S', 'T');
constexpr uint32_t Wave_Id = Four_Cc('W', 'A', 'V', 'E');
constexpr uint32_t Format_Id = Four_Cc('f', 'm', 't', ' ');
constexpr uint32_t Data_Id = Four_Cc('d', 'a', 't', 'a');
constexpr size_t Pcm_Format_Size = 16;

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// Every failure of the open closes the file and frees the format.
int32_t Fail_Open(int32_t code, TWave_Handle& handle, TWave_Format_Record& format) {
    Wave_Close_Read_File(handle, format);
    return code;
}

int32_t Open_Handle(TWave_Handle& handle, TWave_Format_Record& format, TMmio_Chunk& riff) {
    TMmio_File& file = *handle;
    riff = TMmio_Chunk{};
    if (const int32_t code = file.Descend(riff, nullptr)) return Fail_Open(code, handle, format);
    if (riff.Id != Riff_Id || riff.Form_Type != Wave_Id)
        return Fail_Open(Wave_Error_Not_Valid, handle, format);

    TMmio_Chunk fmt;
    fmt.Id = Format_Id;
    if (const int32_t code = file.Descend(fmt, &riff)) return Fail_Open(code, handle, format);
    if (fmt.Size < Pcm_Format_Size) return Fail_Open(Wave_Error_Not_Valid, handle, format);

    uint8_t pcm[Pcm_Format_Size];
    if (file.Read(pcm, sizeof(pcm)) != sizeof(pcm)) return Fail_Open(Wave_Error_Cannot_Read, handle, format);
    uint16_t extra_size = 0;
    // Only formats other than plain PCM carry the extra-size field.
    if (Le16(pcm) != Wave_Format_Pcm) {
        uint8_t size_bytes[2];
        if (file.Read(size_bytes, 2) != 2) return Fail_Open(Wave_Error_Cannot_Read, handle, format);
        extra_size = Le16(size_bytes);
    }

    try {
        format = std::make_unique<TWave_Format>();
        format->Extra.resize(extra_size);
    } catch (const std::bad_alloc&) {
        return Fail_Open(Wave_Error_No_Memory, handle, format);
    }
    format->Format_Tag = Le16(pcm);
    format->Channels = Le16(pcm + 2);
    format->Samples_Per_Second = Le32(pcm + 4);
    format->Average_Bytes_Per_Second = Le32(pcm + 8);
    format->Block_Align = Le16(pcm + 12);
    format->Bits_Per_Sample = Le16(pcm + 14);
    format->Extra_Size = extra_size;
    if (extra_size > 0 && file.Read(format->Extra.data(), extra_size) != extra_size)
        return Fail_Open(Wave_Error_Not_Valid, handle, format);

    if (const int32_t code = file.Ascend(fmt)) return Fail_Open(code, handle, format);
    return 0;
}

} // namespace

bool TMmio_File::Read_Header(TMmio_Chunk& chunk) {
    uint8_t header[8];
    if (Read(header, sizeof(header)) != sizeof(header)) return false;
    chunk.Id = Le32(header);
    chunk.Size = Le32(header + 4);
    chunk.Data_Offset = Position_;
    chunk.Form_Type = 0;
    return true;
}

int32_t TMmio_File::Descend(TMmio_Chunk& chunk, const TMmio_Chunk* parent_to_search) {
    const uint32_t wanted = chunk.Id;
    // The parent's data starts with its form type; its chunks follow and must start inside its size.
    const uint64_t parent_end =
        parent_to_search ? parent_to_search->Data_Offset + parent_to_search->Size : UINT64_MAX;
    for (;;) {
        if (parent_to_search && Position_ + 8 > parent_end) return Mmio_Error_Chunk_Not_Found;
        TMmio_Chunk found;
        if (!Read_Header(found)) return Mmio_Error_Chunk_Not_Found;
        if (found.Id == Riff_Id || found.Id == List_Id) {
            uint8_t type[4];
            if (Read(type, sizeof(type)) != sizeof(type)) return Mmio_Error_Chunk_Not_Found;
            found.Form_Type = Le32(type);
        }
        if (!parent_to_search || found.Id == wanted) {
            chunk = found;
            return 0;
        }
        Position_ = found.Data_Offset + found.Size + (found.Size & 1u);
    }
}

int32_t TMmio_File::Ascend(const TMmio_Chunk& chunk) {
    Position_ = chunk.Data_Offset + chunk.Size + (chunk.Size & 1u);
    return 0;
}

size_t TMmio_File::Read(void* out, size_t count) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(count, Bytes_Left()));
    if (n > 0) std::memcpy(out, Bytes_.data() + Position_, n);
    Position_ += n;
    return n;
}

int32_t Wave_Open_File(const std::string& file_name, TWave_Handle& handle, TWave_Format_Record& format,
                       TMmio_Chunk& riff) {
    handle.reset();
    format.reset();
    std::string contents;
    if (!plat::Is_Regular_File(file_name) || !plat::Read_File(file_name, contents))
        return Wave_Error_Cannot_Open;
    return Wave_Open_Bytes(std::vector<uint8_t>(contents.begin(), contents.end()), handle, format, riff);
}

int32_t Wave_Open_Bytes(std::vector<uint8_t> bytes, TWave_Handle& handle, TWave_Format_Record& format,
                        TMmio_Chunk& riff) {
    format.reset();
    handle = std::make_unique<TMmio_File>(std::move(bytes));
    return Open_Handle(handle, format, riff);
}

int32_t Wave_Start_Data_Read(TMmio_File& handle, TMmio_Chunk& data, const TMmio_Chunk& riff) {
    // Past the form type.
    handle.Seek(riff.Data_Offset + 4);
    data = TMmio_Chunk{};
    data.Id = Data_Id;
    if (const int32_t code = handle.Descend(data, &riff)) return code;
    if (data.Size > handle.Bytes_Left()) return Wave_Error_Corrupt;
    return 0;
}

int32_t Wave_Read_File(TMmio_File& handle, uint32_t count, uint8_t* buffer, uint32_t& read,
                       TMmio_Chunk& data) {
    read = 0;
    count = std::min(count, data.Size);
    data.Size -= count;
    if (handle.Read(buffer, count) != count) return Wave_Error_Corrupt;
    read = count;
    return 0;
}

void Wave_Close_Read_File(TWave_Handle& handle, TWave_Format_Record& format) {
    format.reset();
    handle.reset();
}
