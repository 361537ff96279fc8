#include "core/DisplayEffects.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "core/Profile.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char* const Header = "Display effects\r\n*BEGIN*\r\n\r\n\r\n";
const char* const Heading = "Display Effect Data File Errors: ";

// Every key of an effect record, with the given name and type.
std::string Effect_Record(const std::string& name, const std::string& type) {
    return "Name := " + name + "\r\nType := " + type +
           "\r\nBitmap Index := 2\r\nBitmap Square X Offset := 64\r\nBitmap Square Y Offset := 32\r\n"
           "Bitmap Start Xpos := 2\r\nBitmap Start Ypos := 1\r\nBitmap End Xpos := 3\r\n"
           "Bitmap End Ypos := 4\r\nBitmap Picture Width := 32\r\nBitmap Picture Height := 30\r\n"
           "Total Number Of Frames := 8\r\nFrames Per Line := 4\r\nAnimation Loop Count := 2\r\n"
           "Animation Speed := 100\r\nDamage FX At End := yes\r\n";
}

const std::string Bitmap_Record =
    "Number Of Effect Bitmaps := 2\r\nBitmap 1 Name := Fire.BMP\r\nBitmap 2 Name := sparks.bmp\r\n";

class DisplayEffectsTest : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Free_Display_Effects();
    }
    void TearDown() override {
        Free_Display_Effects();
        TProgram_Folder_Test::TearDown();
    }

    // Writes the records (separated by one blank line) as the program folder's effects file.
    std::string Write_File(const std::vector<std::string>& records,
                           const std::string& relative = "Data/Effects.txt") {
        std::string text = Header;
        for (size_t i = 0; i < records.size(); ++i) text += (i ? "\r\n" : "") + records[i];
        return Folder.Write(relative, text + "*END*\r\n");
    }
};

TEST(DisplayEffectFrames, FrameSources) {
    TDisplay_Effect effect;
    effect.Frames_Per_Line = 4;
    effect.Picture_Width = 32;
    effect.Picture_Height = 32;
    effect.Start_Xpos = 2;
    effect.Square_X_Offset = 64;
    effect.Start_Ypos = 1;
    effect.Square_Y_Offset = 32;
    struct TCase {
        int64_t n, x, y;
    };
    for (const TCase c :
         {TCase{1, 128, 32}, TCase{4, 224, 32}, TCase{5, 128, 64}, TCase{6, 160, 64}, TCase{9, 128, 96}}) {
        SCOPED_TRACE(c.n);
        const std::optional<TFrame_Source> source = Display_Effect_Frame_Source(effect, c.n);
        ASSERT_TRUE(source.has_value());
        EXPECT_EQ(source->X, c.x);
        EXPECT_EQ(source->Y, c.y);
    }
    EXPECT_FALSE(Display_Effect_Frame_Source(effect, 0).has_value());
    EXPECT_FALSE(Display_Effect_Frame_Source(effect, -3).has_value());
    effect.Frames_Per_Line = 0;
    EXPECT_FALSE(Display_Effect_Frame_Source(effect, 1).has_value());

    // The largest fields overflow 32 bits; the position must still be exact.
    TDisplay_Effect large;
    large.Frames_Per_Line = 1;
    large.Start_Xpos = large.Square_X_Offset = 65535;
    large.Start_Ypos = large.Square_Y_Offset = 65535;
    large.Picture_Width = large.Picture_Height = 65535;
    const std::optional<TFrame_Source> far = Display_Effect_Frame_Source(large, 65535);
    ASSERT_TRUE(far.has_value());
    EXPECT_EQ(far->X, int64_t{65535} * 65535);
    EXPECT_EQ(far->Y, int64_t{65535} * 65535 + int64_t{65534} * 65535);
}

TEST_F(DisplayEffectsTest, LoadsEveryField) {
    Write_File(
        {Bitmap_Record, Effect_Record("Firebolt", "Directional"), Effect_Record("Fire Burst", "Frames")});
    ASSERT_TRUE(Load_Display_Effects());
    EXPECT_TRUE(Messages->Error_Lists.empty());
    EXPECT_EQ(Effect_Bitmap_Names(), (TString_List{"fire.bmp", "sparks.bmp"}));
    ASSERT_EQ(Display_Effect_Count(), 2);

    const TDisplay_Effect* e = Get_Display_Effect(2);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Index, 2);
    EXPECT_EQ(e->Name, "Fire Burst");
    EXPECT_EQ(e->Type, Display_Effect_Frames);
    EXPECT_EQ(e->Bitmap_Index, 2);
    EXPECT_EQ(e->Square_X_Offset, 64);
    EXPECT_EQ(e->Square_Y_Offset, 32);
    EXPECT_EQ(e->Start_Xpos, 2);
    EXPECT_EQ(e->Start_Ypos, 1);
    EXPECT_EQ(e->End_Xpos, 3);
    EXPECT_EQ(e->End_Ypos, 4);
    EXPECT_EQ(e->Picture_Width, 32);
    EXPECT_EQ(e->Picture_Height, 30);
    EXPECT_EQ(e->Total_Frames, 8);
    EXPECT_EQ(e->Frames_Per_Line, 4);
    EXPECT_EQ(e->Loop_Count, 2);
    EXPECT_EQ(e->Speed, 100);
    EXPECT_TRUE(e->Damage_FX_At_End);
    EXPECT_EQ(Get_Display_Effect(1)->Type, Display_Effect_Directional);
    EXPECT_EQ(Get_Display_Effect(1)->Index, 1);

    EXPECT_EQ(Get_Display_Effect(0), nullptr);
    EXPECT_EQ(Get_Display_Effect(3), nullptr);
    EXPECT_EQ(Get_Display_Effect(-1), nullptr);

    // A second load replaces the table rather than adding to it.
    Write_File({"Number Of Effect Bitmaps := 0\r\n", Effect_Record("Arrow", "Directional")});
    ASSERT_TRUE(Load_Display_Effects());
    ASSERT_EQ(Display_Effect_Count(), 1);
    EXPECT_EQ(Get_Display_Effect(1)->Name, "Arrow");
    EXPECT_TRUE(Effect_Bitmap_Names().empty());

    Free_Display_Effects();
    EXPECT_EQ(Display_Effect_Count(), 0);
    EXPECT_EQ(Get_Display_Effect(1), nullptr);
    EXPECT_TRUE(Effect_Bitmap_Names().empty());
}

TEST_F(DisplayEffectsTest, FindsEffectsByExactName) {
    Write_File({Bitmap_Record, Effect_Record("Firebolt", "Directional"),
                Effect_Record("Ice Shard", "Directional"), Effect_Record("Firebolt", "Frames")});
    ASSERT_TRUE(Load_Display_Effects());
    struct TCase {
        const char* name;
        int32_t index;
    };
    for (const TCase c : {TCase{"Ice Shard", 2}, TCase{"Firebolt", 1}, TCase{"None", 0},
                          TCase{"firebolt", -1}, TCase{"none", -1}, TCase{"Ice Shard ", -1}, TCase{"", -1}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Find_Display_Effect(c.name), c.index);
    }
}

TEST_F(DisplayEffectsTest, BadValuesAreReportedAndReadAsZero) {
    std::string bad_numbers = Effect_Record("Frost Nova", "Frames");
    for (const char* from : {"Bitmap Index := 2", "Frames Per Line := 4", "Animation Speed := 100"}) {
        const size_t at = bad_numbers.find(from);
        ASSERT_NE(at, std::string::npos);
        const std::string key = std::string(from).substr(0, std::string(from).find(" :="));
        const std::string bad = key == "Bitmap Index" ? "-2" : (key == "Frames Per Line" ? "70000" : "fast");
        bad_numbers.replace(at, std::string(from).size(), key + " := " + bad);
    }
    std::string missing = Effect_Record("Poison Cloud", "Frames");
    missing.erase(missing.find("Animation Speed"), std::string("Animation Speed := 100\r\n").size());
    missing.erase(missing.find("Type"), std::string("Type := Frames\r\n").size());
    const std::string path = Write_File({Bitmap_Record, Effect_Record("Firebolt", "frames"), bad_numbers,
                                         missing, Effect_Record("Heal Glow", "Frames")});

    EXPECT_FALSE(Load_Display_Effects());
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, Heading);
    EXPECT_EQ(Messages->Error_Lists[0].File_Name, path);
    EXPECT_EQ(Messages->Error_Lists[0].List,
              (TString_List{"Недопустимое \"frames\" для Type в записи \"Firebolt\".",
                            // A missing type is missing and, as the empty text, no type's name.
                            "Не удалось найти поле \"Type\" в записи \"Poison Cloud\".",
                            "Недопустимое \"\" для Type в записи \"Poison Cloud\".",
                            "Не удалось найти поле \"Animation Speed\" в записи \"Poison Cloud\"."}));

    // Every record stays in the table, the faulty ones included.
    ASSERT_EQ(Display_Effect_Count(), 4);
    EXPECT_EQ(Get_Display_Effect(1)->Type, 0);
    EXPECT_EQ(Get_Display_Effect(1)->Total_Frames, 8);
    EXPECT_EQ(Get_Display_Effect(2)->Type, Display_Effect_Frames);
    EXPECT_EQ(Get_Display_Effect(2)->Bitmap_Index, 0);
    EXPECT_EQ(Get_Display_Effect(2)->Frames_Per_Line, 0);
    EXPECT_EQ(Get_Display_Effect(2)->Speed, 0);
    EXPECT_EQ(Get_Display_Effect(3)->Speed, 0);
    EXPECT_EQ(Get_Display_Effect(3)->Loop_Count, 2);
    EXPECT_EQ(Get_Display_Effect(3)->Type, 0);
    EXPECT_EQ(Get_Display_Effect(4)->Name, "Heal Glow");
}

TEST_F(DisplayEffectsTest, BitmapRecordOnly) {
    Write_File({"Number Of Effect Bitmaps := 3\r\nBitmap 1 Name := A.bmp\r\nBitmap 3 Name := C.BMP\r\n"});
    Set_Run_Profile(TRun_Profile::Tool);
    EXPECT_FALSE(Load_Display_Effects());
    EXPECT_EQ(Display_Effect_Count(), 0);
    // The missing name adds nothing, so the third bitmap moves up to position 2.
    EXPECT_EQ(Effect_Bitmap_Names(), (TString_List{"a.bmp", "c.bmp"}));
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].List,
              TString_List{"Could not find field \"Bitmap 2 Name\" in record 1."});

    Write_File({"Number Of Effect Bitmaps := 1\r\nBitmap 1 Name := Fire.BMP\r\n"});
    EXPECT_TRUE(Load_Display_Effects());
    EXPECT_EQ(Display_Effect_Count(), 0);
    EXPECT_EQ(Effect_Bitmap_Names(), TString_List{"fire.bmp"});
}

TEST_F(DisplayEffectsTest, ModuleCopyFirstAndAnyLetterCase) {
    Write_File({Bitmap_Record, Effect_Record("Shipped", "Frames")}, "data/EFFECTS.txt");
    ASSERT_TRUE(Load_Display_Effects());
    ASSERT_EQ(Display_Effect_Count(), 1);
    EXPECT_EQ(Get_Display_Effect(1)->Name, "Shipped");

    Write_File({Bitmap_Record, Effect_Record("Module One", "Frames"), Effect_Record("Module Two", "Frames")},
               "Modules/Dark/Data/Effects.txt");
    ASSERT_TRUE(Path_Settings()->Set_Module("Dark\\"));
    ASSERT_TRUE(Load_Display_Effects());
    ASSERT_EQ(Display_Effect_Count(), 2);
    EXPECT_EQ(Get_Display_Effect(2)->Name, "Module Two");
}

TEST_F(DisplayEffectsTest, MissingFileFails) {
    Write_File({Bitmap_Record, Effect_Record("Old", "Frames")});
    ASSERT_TRUE(Load_Display_Effects());
    std::filesystem::remove(Folder.File("Data/Effects.txt"));
    // Reading the file on its own also empties what an earlier load left.
    EXPECT_FALSE(Read_Display_Effect_File());
    EXPECT_EQ(Display_Effect_Count(), 0);
    EXPECT_TRUE(Effect_Bitmap_Names().empty());
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, Heading);
    ASSERT_EQ(Messages->Error_Lists[0].List.size(), 1u);
    EXPECT_NE(Messages->Error_Lists[0].List[0].find("Не удаётся загрузить"), std::string::npos);
}

// The shipped file loads through its own loader in both profiles, and what the spells and the sprites
// rely on holds: missiles have one frame per direction, every effect has a row length and a loaded bitmap.
TEST_F(DisplayEffectsTest, ShippedEffectsLoadCleanly) {
    Set_Base_Folder(std::string(MURK_SHIPPED_DATA_DIR) + "/");
    for (TRun_Profile profile : {TRun_Profile::Game, TRun_Profile::Tool}) {
        Set_Run_Profile(profile);
        Messages->Error_Lists.clear();
        ASSERT_TRUE(Load_Display_Effects());
        EXPECT_TRUE(Messages->Error_Lists.empty());
        ASSERT_GE(Display_Effect_Count(), 2);
        ASSERT_FALSE(Effect_Bitmap_Names().empty());
        int directional = 0, frames = 0;
        for (int32_t i = 1; i <= Display_Effect_Count(); ++i) {
            const TDisplay_Effect& e = *Get_Display_Effect(i);
            SCOPED_TRACE(e.Name);
            EXPECT_EQ(Find_Display_Effect(e.Name), i) << "names must be unique";
            EXPECT_GE(e.Frames_Per_Line, 1);
            EXPECT_GE(e.Bitmap_Index, 1);
            EXPECT_LE(e.Bitmap_Index, static_cast<int>(Effect_Bitmap_Names().size()));
            EXPECT_GE(e.Picture_Width, 1);
            EXPECT_GE(e.Picture_Height, 1);
            EXPECT_GE(e.Total_Frames, 1);
            if (e.Type == Display_Effect_Directional) {
                ++directional;
                EXPECT_EQ(e.Total_Frames, 8);
            } else {
                ASSERT_EQ(e.Type, Display_Effect_Frames);
                ++frames;
            }
        }
        EXPECT_GE(directional, 1);
        EXPECT_GE(frames, 1);
        for (const std::string& name : Effect_Bitmap_Names()) EXPECT_EQ(name, Ascii_Lower(name));
    }
}

} // namespace
