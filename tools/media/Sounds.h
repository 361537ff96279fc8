// Sound effects and the short music loops, synthesised from a handful of recipes and written as RIFF
// WAVE files: PCM, 16 bits, one channel, 22050 samples per second.
#pragma once

#include "tools/media/Manifest.h"

#include <cstdint>
#include <string>
#include <vector>

namespace murk_media {

constexpr int Sample_Rate = 22050;

// The samples of one entry; throws std::runtime_error for an unknown recipe or a bad length.
std::vector<int16_t> Synthesise(const TEntry& entry);

// The whole file: the RIFF header, the 16-byte "fmt " chunk and the "data" chunk.
std::vector<uint8_t> Wave_File(const std::vector<int16_t>& samples);

} // namespace murk_media
