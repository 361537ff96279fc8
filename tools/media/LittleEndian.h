// Little-endian integers appended to a byte buffer, as the RIFF headers store them.
#pragma once

#include <cstdint>
#include <vector>

inline void Put_16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

inline void Put_32(std::vector<uint8_t>& out, uint32_t v) {
    Put_16(out, v & 0xFFFF);
    Put_16(out, v >> 16);
}
