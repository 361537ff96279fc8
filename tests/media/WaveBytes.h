// WAVE files laid out byte by byte for the tests, independently of the reader: a RIFF header, then chunks
// (identifier, declared size, body, pad byte after an odd body).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wave_bytes {

inline void Put_16(std::string& out, uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
inline void Put_32(std::string& out, uint32_t v) {
    Put_16(out, v & 0xFFFF);
    Put_16(out, v >> 16);
}

// The 16-byte PCM format record.
inline std::string Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::string f;
    const uint16_t align = uint16_t(channels * bits / 8);
    Put_16(f, tag), Put_16(f, channels), Put_32(f, rate), Put_32(f, rate * align), Put_16(f, align);
    Put_16(f, bits);
    return f;
}

struct TChunk {
    std::string Id;
    std::string Body;
    int64_t Declared_Size = -1; // -1: the body's size
};

inline std::string Chunk(const TChunk& c) {
    std::string out = c.Id;
    Put_32(out, uint32_t(c.Declared_Size < 0 ? int64_t(c.Body.size()) : c.Declared_Size));
    out += c.Body;
    if (c.Body.size() % 2) out += '\0';
    return out;
}

// "RIFF" size "WAVE" and the chunks; riff_size -1 gives the true size.
inline std::string File(const std::vector<TChunk>& chunks, const std::string& riff = "RIFF",
                        const std::string& form = "WAVE", int64_t riff_size = -1) {
    std::string body = form;
    for (const TChunk& c : chunks) body += Chunk(c);
    std::string out = riff;
    Put_32(out, uint32_t(riff_size < 0 ? int64_t(body.size()) : riff_size));
    return out + body;
}

// A plain 16-bit mono file of the samples.
inline std::string Pcm16(const std::vector<int16_t>& samples, uint32_t rate = 22050) {
    std::string data;
    for (int16_t s : samples) Put_16(data, uint16_t(s));
    return File({{"fmt ", Format(1, 1, rate, 16)}, {"data", data}});
}

} // namespace wave_bytes
