// The display-effect table: the animated pictures of missiles, spells and area effects (which extra bitmap
// holds their frames, where the frames lie in it, how many there are and how they play), read from
// "Data/Effects.txt". The game and the designers' tool share it; drawing a frame belongs to the graphics
// layer, which takes the source position from Display_Effect_Frame_Source.
#pragma once

#include "core/DataFileLoader.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The values of TDisplay_Effect.Type (the names of Display_Effect_Type_Names); 0 for an unknown type.
enum : uint8_t {
    Display_Effect_Directional = 1, // a missile: frame n is the picture for flying in direction n
    Display_Effect_Frames = 2,      // an animation played in one square
};

struct TDisplay_Effect {
    int32_t Index = 0; // its position in the table, from 1
    std::string Name;
    uint8_t Type = 0;
    uint16_t Bitmap_Index = 0; // the extra bitmap (from 1) that holds the frames
    uint16_t Square_X_Offset = 0;
    uint16_t Square_Y_Offset = 0;
    uint16_t Start_Xpos = 0; // in units of Square_X_Offset
    uint16_t Start_Ypos = 0; // in units of Square_Y_Offset
    uint16_t End_Xpos = 0;
    uint16_t End_Ypos = 0;
    uint16_t Picture_Width = 0;
    uint16_t Picture_Height = 0;
    uint16_t Total_Frames = 0;
    uint16_t Frames_Per_Line = 0;
    uint16_t Loop_Count = 0;
    uint16_t Speed = 0;
    bool Damage_FX_At_End = false;
};

// The top-left corner of a frame inside its extra bitmap.
struct TFrame_Source {
    int64_t X = 0;
    int64_t Y = 0;
};

// Frame n (from 1) of an effect lies at Start_Xpos * Square_X_Offset + ((n - 1) mod p) * Picture_Width,
// Start_Ypos * Square_Y_Offset + ((n - 1) div p) * Picture_Height, with p = Frames_Per_Line: the frames of
// one strip run left to right, p per row. Nothing for n < 1 or p = 0. Computed in 64 bits, so any 16-bit
// field values give the exact position; whether it lies inside the bitmap is the drawing code's check.
std::optional<TFrame_Source> Display_Effect_Frame_Source(const TDisplay_Effect& effect, int64_t n);

// The table: effects 1..Display_Effect_Count(). Get_Display_Effect gives nothing for 0 or an index beyond
// the table (indexes come from data and saves).
int32_t Display_Effect_Count();
const TDisplay_Effect* Get_Display_Effect(int32_t index);
// The lower-case bitmap file names (in "Pictures/SysPics/"); position n (from 1) is extra bitmap n, so
// element n - 1 here. Empty before a load and after Free_Display_Effects.
const TString_List& Effect_Bitmap_Names();

// The index of the effect named exactly so (letter case counts; the first such effect when two share a
// name); 0 for "None"; -1 when no effect has that name.
int32_t Find_Display_Effect(const std::string& name);

// Empties the table and the bitmap-name list.
void Free_Display_Effects();
// Empties the table and reads the effects file (the module's copy first, through the path settings).
// Errors are shown as one list under "Display Effect Data File Errors: " and the result is false; the
// records read before an error stay in the table.
bool Read_Display_Effect_File();
// Free_Display_Effects, then Read_Display_Effect_File.
bool Load_Display_Effects();

// Record 1 lists the bitmaps; record k >= 2 is effect k - 1. Fills the given table and bitmap list, so
// the global table is filled by Read_Display_Effect_File and tests or tools may fill their own.
class TDisplay_Effect_Data_File_Loader : public TData_File_Loader {
public:
    TDisplay_Effect_Data_File_Loader(const std::string& file_name, std::vector<TDisplay_Effect>& effects,
                                     TString_List& bitmap_names)
        : TData_File_Loader(file_name), Effects_(effects), Bitmap_Names_(bitmap_names) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_Bitmap_Record();
    void Read_Effect_Record(int32_t record_number);

    std::vector<TDisplay_Effect>& Effects_; // element i holds effect i + 1
    TString_List& Bitmap_Names_;
};
