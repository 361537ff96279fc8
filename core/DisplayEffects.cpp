#include "core/DisplayEffects.h"

#include "core/DebugLog.h"
#include "core/NameTables.h"
#include "core/Path.h"

namespace {

const char* const Log_Unit = "DisplayEffects";
const char* const Error_Heading = "Display Effect Data File Errors: ";

// The global table (element i is effect i + 1) and the extra-bitmap names.
std::vector<TDisplay_Effect> Effects;
TString_List Bitmap_Names;

} // namespace

std::optional<TFrame_Source> Display_Effect_Frame_Source(const TDisplay_Effect& effect, int64_t n) {
    // Frames Per Line 0 gives no row length to lay the frames out by; frame 0 does not exist.
    const int64_t per_line = effect.Frames_Per_Line;
    if (n < 1 || per_line == 0) return std::nullopt;
    const int64_t frame = n - 1;
    TFrame_Source source;
    source.X =
        int64_t{effect.Start_Xpos} * effect.Square_X_Offset + (frame % per_line) * effect.Picture_Width;
    source.Y =
        int64_t{effect.Start_Ypos} * effect.Square_Y_Offset + (frame / per_line) * effect.Picture_Height;
    return source;
}

int32_t Display_Effect_Count() {
    return static_cast<int32_t>(Effects.size());
}

const TDisplay_Effect* Get_Display_Effect(int32_t index) {
    if (index < 1 || index > Display_Effect_Count()) return nullptr;
    return &Effects[static_cast<size_t>(index) - 1];
}

const TString_List& Effect_Bitmap_Names() {
    return Bitmap_Names;
}

int32_t Find_Display_Effect(const std::string& name) {
    if (name == "None") return 0;
    for (const TDisplay_Effect& effect : Effects)
        if (effect.Name == name) return effect.Index;
    return -1;
}

void Free_Display_Effects() {
    Effects.clear();
    Effects.shrink_to_fit();
    Bitmap_Names.clear();
    Bitmap_Names.shrink_to_fit();
}

bool Read_Display_Effect_File() {
    Log(Log_Unit, "Read_Display_Effect_File - Start");
    const std::string path = Path_Settings() ? Path_Settings()->Get_Effects_File() : std::string();
    Free_Display_Effects();
    TDisplay_Effect_Data_File_Loader loader(path, Effects, Bitmap_Names);
    const bool result = loader.Execute_Load_And_Report(Error_Heading);
    Log(Log_Unit, "Read_Display_Effect_File - End");
    return result;
}

bool Load_Display_Effects() {
    // Reading empties the table first.
    return Read_Display_Effect_File();
}

void TDisplay_Effect_Data_File_Loader::Process_Record(int32_t record_number) {
    if (record_number == 1)
        Read_Bitmap_Record();
    else
        Read_Effect_Record(record_number);
}

void TDisplay_Effect_Data_File_Loader::Read_Bitmap_Record() {
    Bitmap_Names_.clear();
    std::string value;
    Get_Field_Value("Number Of Effect Bitmaps", value, true);
    const int32_t count = Str_To_Word(value);
    for (int32_t n = 1; n <= count; ++n)
        if (Get_Field_Value("Bitmap " + std::to_string(n) + " Name", value, true))
            Bitmap_Names_.push_back(Ascii_Lower(value));
}

void TDisplay_Effect_Data_File_Loader::Read_Effect_Record(int32_t record_number) {
    // Record r is effect r - 1; records are numbered without gaps, so the table grows by one each time.
    const int32_t index = record_number - 1;
    Effects_.resize(static_cast<size_t>(index));
    TDisplay_Effect& effect = Effects_.back();
    effect = TDisplay_Effect{};
    effect.Index = index;

    std::string value;
    if (Get_Field_Value("Name", value, true)) {
        effect.Name = value;
        Set_Record_Name(value);
    }
    // A missing type is reported twice, as missing and as the empty value that names no type.
    Get_Field_Value("Type", value, true);
    const int code = Find_Code(Display_Effect_Type_Names, value);
    if (code < 1)
        Report_Invalid_Value(value, "Type");
    else
        effect.Type = static_cast<uint8_t>(code);
    Read_Word_Field("Bitmap Index", effect.Bitmap_Index);
    Read_Word_Field("Bitmap Square X Offset", effect.Square_X_Offset);
    Read_Word_Field("Bitmap Square Y Offset", effect.Square_Y_Offset);
    Read_Word_Field("Bitmap Start Xpos", effect.Start_Xpos);
    Read_Word_Field("Bitmap Start Ypos", effect.Start_Ypos);
    Read_Word_Field("Bitmap End Xpos", effect.End_Xpos);
    Read_Word_Field("Bitmap End Ypos", effect.End_Ypos);
    Read_Word_Field("Bitmap Picture Width", effect.Picture_Width);
    Read_Word_Field("Bitmap Picture Height", effect.Picture_Height);
    Read_Word_Field("Total Number Of Frames", effect.Total_Frames);
    Read_Word_Field("Frames Per Line", effect.Frames_Per_Line);
    Read_Word_Field("Animation Loop Count", effect.Loop_Count);
    Read_Word_Field("Animation Speed", effect.Speed);
    Read_Bool_Field("Damage FX At End", effect.Damage_FX_At_End);
}
