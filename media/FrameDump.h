// Frames out of the graphics library: any buffer as a picture, written as a 24-bit BMP, and the block-mean
// comparison that tells whether two frames look alike while forgiving what differs by colour depth, font
// raster or a pixel of placement.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture: rows top-down, three bytes per pixel in the order B, G, R.
struct TFrame {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Bgr;
};

// The buffer of the slot, whatever buffer is active; false when the slot is empty.
bool Read_Buffer_Frame(int32_t handle, TFrame& frame);
std::vector<uint8_t> Frame_Bmp_File(const TFrame& frame);
bool Write_Frame_Bmp(const TFrame& frame, const std::string& path);
// The slot as a 24-bit BMP file; false when the slot is empty or the file cannot be written.
bool Dump_Buffer(int32_t handle, const std::string& path);

// Frames are cut into 8 x 8 blocks (an 800 x 600 frame gives 100 x 75); a block matches when the mean of
// each channel differs by at most 32; frames match when 95 % of the blocks do. Frames of different sizes
// never match.
constexpr int32_t Frame_Block_Side = 8;
constexpr int32_t Frame_Block_Tolerance = 32;
constexpr int32_t Frame_Pass_Percent = 95;

struct TFrame_Comparison {
    int32_t Blocks = 0;
    int32_t Blocks_Matching = 0;
    bool Same_Size = false;
    bool Passed = false;
};

TFrame_Comparison Compare_Frames(const TFrame& actual, const TFrame& expected);
// Per pixel the absolute difference, with every block that does not match painted red in its red channel.
TFrame Difference_Frame(const TFrame& actual, const TFrame& expected);
