// Loading the sheets: the map sheets and their limits, appending creatures' pictures, a picture that does
// not load, the interface sheets and extra bitmaps, the border names, and magenta turned into black.
#include "core/MapMain.h"
#include "core/Monster.h"
#include "tests/media/DisplayFixture.h"
#include "tests/support/CoreTestSupport.h"

#include <cstdio>

#include <string>
#include <vector>

namespace {

class Display_Sheets : public TDisplay_Test {
protected:
    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(32);
        Install_Current_Map(std::make_unique<TMap>());
        Current_Map()->Name = "Test Map";
    }
    // A cell picture of one colour.
    void Write_Plain(const std::string& relative, int32_t side, uint32_t rgb) {
        Write_Picture(relative, side, side, [rgb](int32_t, int32_t) { return rgb; });
    }
    void Write_Borders() {
        for (int32_t type = 1; type <= 15; ++type)
            Write_Plain("Pictures/Terrain/" + TDisplay_Object::Get_Border_Bitmap_Name(type), 54,
                        0x300000u + type);
    }
    TDisplay_Object& Loaded_Display() {
        TDisplay_Object& display = Make_Display();
        display.Alloc_Map_Buffers();
        return display;
    }
};

TEST_F(Display_Sheets, EachMapSheetTakesUpToItsLimit) {
    Write_Plain("Pictures/Terrain/p.bmp", 54, 0x102030);
    Write_Plain("Pictures/Monsters/p.bmp", 54, 0x102030);
    Write_Plain("Pictures/Items/p.bmp", 32, 0x102030);
    struct TCase {
        int32_t Count;
        const char* Too_Many; // the message's beginning when Count is beyond the limit
        int32_t Limit;
    };
    const TCase cases[] = {{400, nullptr, 400}, {401, "Слишком много интерьера на карте ", 400},
                           {200, nullptr, 200}, {201, "Слишком много монстров на карте ", 200},
                           {900, nullptr, 900}, {901, "Слишком много вещей на карте ", 900}};
    for (std::size_t n = 0; n < std::size(cases); ++n) {
        const TCase& c = cases[n];
        SCOPED_TRACE(c.Count);
        Messages->Messages.clear();
        TDisplay_Object& display = Loaded_Display();
        const TString_List names(static_cast<std::size_t>(c.Count), "p.bmp");
        const TMap* map = Current_Map();
        const int32_t sheet = n / 2 == 0   ? display.Terrain_Sheet
                              : n / 2 == 1 ? display.Monster_Sheet
                                           : display.Item_Sheet;
        const int32_t result = n / 2 == 0   ? display.Load_Terrain_Bitmaps(names, map, true)
                               : n / 2 == 1 ? display.Load_Monster_Bitmaps(names, map, true, true)
                                            : display.Load_Item_Bitmaps(names, map, true);
        if (!c.Too_Many) {
            EXPECT_EQ(result, 1);
            EXPECT_TRUE(Messages->Messages.empty());
            // The last cell: 399 at 54 x (19, 19); 199 at (19, 9); 899 at 32 x (29, 29).
            const int32_t side = n / 2 == 2 ? 32 : 54, per_row = n / 2 == 2 ? 30 : 20;
            const int32_t last = c.Count - 1;
            EXPECT_EQ(Raw(sheet, side * (last % per_row) + side - 1, side * (last / per_row) + side - 1),
                      0x102030u);
            continue;
        }
        EXPECT_EQ(result, -1);
        ASSERT_EQ(Messages->Messages.size(), 1u);
        EXPECT_EQ(Messages->Messages[0].Caption, "Ошибка");
        EXPECT_EQ(Messages->Messages[0].Text, std::string(c.Too_Many) + "\"Test Map\". " +
                                                  std::to_string(c.Count) + " (из возможных " +
                                                  std::to_string(c.Limit) + ") требуется для этой карты.");
        EXPECT_EQ(Raw(sheet, 0, 0), 0u) << "nothing is loaded";
    }
}

TEST_F(Display_Sheets, AMapOf385TerrainPicturesAndTheBordersLoadsOneMoreDoesNot) {
    Write_Borders();
    TMap& map = *Current_Map();
    for (int32_t k = 0; k < 386; ++k) {
        const std::string name = "t" + std::to_string(k) + ".bmp";
        Write_Plain("Pictures/Terrain/" + name, 54, 0x010101u * static_cast<uint32_t>(1 + k % 200));
        TTerrain terrain;
        terrain.Picture_L1 = name;
        if (k < 385) map.Terrain_List.Add(terrain);
    }
    TDisplay_Object& display = Loaded_Display();
    ASSERT_TRUE(display.Load_Map_Bitmaps(map));
    EXPECT_TRUE(Messages->Messages.empty());
    ASSERT_EQ(display.Terrain_Bitmap_Names.size(), 400u);
    EXPECT_EQ(display.Terrain_Bitmap_Names[385], "Border_N.bmp");
    // Border type 12 is the terrain cell of "Border_NSEW.bmp", the 12th border picture.
    EXPECT_EQ(display.Terrain_Bitmap_Names[385 + 11], "Border_NSEW.bmp");
    Clear_Page();
    display.Draw_Border_Tile(0, 10, 10, 12);
    EXPECT_EQ(Raw(0, 10, 10), 0x300000u + 12);

    TTerrain extra;
    extra.Picture_L1 = "t385.bmp";
    map.Terrain_List.Add(extra);
    EXPECT_FALSE(display.Load_Map_Bitmaps(map));
    ASSERT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(
        Messages->Messages[0].Text,
        "Слишком много интерьера на карте \"Test Map\". 401 (из возможных 400) требуется для этой карты.");
}

TEST_F(Display_Sheets, AMapsCreaturesAndItemsFillTheirSheetsInTheirOrder) {
    Write_Borders();
    // Each picture with a magenta corner, which every map sheet turns black.
    const auto cornered = [this](const std::string& relative, int32_t side, uint32_t rgb) {
        Write_Picture(relative, side, side,
                      [rgb](int32_t x, int32_t y) { return x + y == 0 ? 0xFF00FFu : rgb; });
    };
    cornered("Pictures/Terrain/floor.bmp", 54, 0x111111);
    cornered("Pictures/Monsters/rat.bmp", 54, 0x222222);
    cornered("Pictures/Monsters/rat_bite.bmp", 54, 0x333333);
    cornered("Pictures/Items/ring.bmp", 32, 0x444444);
    TMap& map = *Current_Map();
    TTerrain floor;
    floor.Picture_L1 = "floor.bmp";
    map.Terrain_List.Add(floor);
    TMonster rat;
    rat.Set_Pictures("rat.bmp", "rat_bite.bmp");
    map.Monster_List.Add_Monster(rat);
    TItem ring;
    ring.Picture = "ring.bmp";
    map.Item_List.Add(&ring);

    TDisplay_Object& display = Loaded_Display();
    ASSERT_TRUE(display.Load_Map_Bitmaps(map));
    EXPECT_EQ(display.Monster_Bitmap_Names, (TString_List{"rat.bmp", "rat_bite.bmp"}));
    EXPECT_EQ(display.Item_Bitmap_Names, (TString_List{"ring.bmp"}));
    EXPECT_EQ(Raw(display.Terrain_Sheet, 1, 0), 0x111111u);
    EXPECT_EQ(Raw(display.Monster_Sheet, 55, 0), 0x333333u);
    EXPECT_EQ(Raw(display.Item_Sheet, 31, 31), 0x444444u);
    for (int32_t sheet : {display.Terrain_Sheet, display.Monster_Sheet, display.Item_Sheet})
        EXPECT_EQ(Raw(sheet, 0, 0), 0u) << sheet;
    // Creatures appended without conversion keep their magenta.
    cornered("Pictures/Monsters/bat.bmp", 54, 0x555555);
    EXPECT_EQ(display.Load_Monster_Bitmaps({"bat.bmp"}, &map, false, false), 3);
    EXPECT_EQ(Raw(display.Monster_Sheet, 108, 0), 0xFF00FFu);
}

TEST_F(Display_Sheets, WithEveryBufferTakenTheSheetsReportAndStayEmpty) {
    Write_Coded_Interface();
    while (gx_vballoc(4, 4) >= 0) {
    }
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    std::vector<std::string> texts;
    for (const auto& m : Messages->Messages) texts.push_back(m.Text);
    ASSERT_EQ(texts.size(), 19u) << "three map sheets, the work area and fifteen sheets";
    EXPECT_EQ(texts[0], "Error allocating virtual buffer: f_Display_Terrain_VB");
    EXPECT_EQ(texts[2], "Error allocating virtual buffer: f_Display_Item_VB");
    EXPECT_EQ(texts[18], "Error allocating virtual buffer: f_Display_Blank_Named_Square_Buttons_VB");
    EXPECT_EQ(display.Terrain_Sheet, -1);
    EXPECT_FALSE(display.Alloc_Map_Buffers());
    EXPECT_EQ(display.Load_Item_Bitmaps({"ring.bmp"}, Current_Map(), true), -1);
    // Giving them back releases nothing: every buffer of the program is still there.
    Install_Display_Object(nullptr);
    for (int32_t handle = 0; handle < 256; ++handle) ASSERT_NE(Gx_Buffer_Surface(handle), nullptr) << handle;
}

TEST_F(Display_Sheets, AppendedCreaturePicturesSkipThoseTheSheetHolds) {
    Write_Plain("Pictures/Monsters/x.bmp", 54, 0x0000A0);
    Write_Plain("Pictures/Monsters/y.bmp", 54, 0x00A000);
    Write_Plain("Pictures/Monsters/z.bmp", 54, 0xA00000);
    TDisplay_Object& display = Loaded_Display();
    display.Set_Monster_Bitmap_Names({"x.bmp", "z.bmp"});
    ASSERT_EQ(display.Load_Monster_Bitmaps(display.Monster_Bitmap_Names, Current_Map(), true, true), 1);

    // X is there (whatever its letter case); only Y joins, in the next free cell, with its own picture.
    EXPECT_EQ(display.Load_Monster_Bitmaps({"X.BMP", "y.bmp"}, Current_Map(), true, false), 3);
    EXPECT_EQ(display.Monster_Bitmap_Names, (TString_List{"x.bmp", "z.bmp", "y.bmp"}));
    EXPECT_EQ(Raw(display.Monster_Sheet, 108, 0), 0x00A000u);
    EXPECT_EQ(Raw(display.Monster_Sheet, 162, 0), 0u);
    EXPECT_EQ(display.Find_Monster_Bitmap("Y.bmp"), 2);
    EXPECT_EQ(display.Find_Monster_Bitmap("w.bmp"), -1);

    // The same through the world model's display seam; the terrain sheet appends whatever it is given.
    Display_Sink().Append_Monster_Pictures({"z.bmp", "x.bmp", "z.bmp"});
    EXPECT_EQ(Display_Sink().Monster_Picture_Cell("z.bmp"), 1);
    EXPECT_EQ(display.Monster_Bitmap_Names.size(), 3u);
    Write_Plain("Pictures/Terrain/x.bmp", 54, 0x0000A0);
    display.Set_Terrain_Bitmap_Names({"x.bmp"});
    EXPECT_EQ(display.Load_Terrain_Bitmaps({"x.bmp"}, Current_Map(), false), 2);
    EXPECT_EQ(display.Terrain_Bitmap_Names.size(), 2u);
}

TEST_F(Display_Sheets, AMissingPictureStopsItsSheetAndTheMapLoad) {
    Write_Borders();
    Write_Plain("Pictures/Terrain/floor.bmp", 54, 0x111111);
    Write_Plain("Pictures/Monsters/a.bmp", 54, 0x222222);
    Write_Plain("Pictures/Monsters/c.bmp", 54, 0x333333);
    Write_Plain("Pictures/Items/ring.bmp", 32, 0x444444);
    TMap& map = *Current_Map();
    TTerrain floor;
    floor.Picture_L1 = "floor.bmp";
    map.Terrain_List.Add(floor);
    for (const char* picture : {"a.bmp", "missing.bmp", "c.bmp"}) {
        TMonster creature;
        creature.Set_Pictures(picture, "");
        map.Monster_List.Add_Monster(creature);
    }
    TItem ring;
    ring.Picture = "ring.bmp";
    map.Item_List.Add(&ring);

    TDisplay_Object& display = Loaded_Display();
    EXPECT_FALSE(display.Load_Map_Bitmaps(map));
    ASSERT_EQ(Messages->Messages.size(), 1u);
    EXPECT_EQ(Messages->Messages[0].Caption, "Ошибка");
    EXPECT_EQ(Messages->Messages[0].Text, "Unable to load bitmap \"missing.bmp\".");
    EXPECT_EQ(Raw(display.Monster_Sheet, 0, 0), 0x222222u);
    EXPECT_EQ(Raw(display.Monster_Sheet, 108, 0), 0u) << "later cells are skipped";
    EXPECT_EQ(Raw(display.Item_Sheet, 0, 0), 0u) << "the item sheet is not loaded";
    EXPECT_EQ(display.Load_Monster_Bitmaps({"also_missing.bmp"}, &map, true, false), -1);
}

TEST_F(Display_Sheets, ASheetWithoutABufferLoadsNothing) {
    Write_Plain("Pictures/Items/ring.bmp", 32, 0x444444);
    TDisplay_Object& display = Make_Display(); // no map buffers allocated
    EXPECT_EQ(display.Load_Item_Bitmaps({"ring.bmp"}, Current_Map(), true), -1);
    EXPECT_EQ(Raw(0, 0, 0), 0u) << "not into the page, handle 0";
    EXPECT_TRUE(Messages->Messages.empty());
}

TEST_F(Display_Sheets, InterfacePicturesThatFailAreReportedAndTheLoadGoesOn) {
    Write_Coded_Interface();
    const std::string misc = Folder.File("Pictures/SysPics/misc.bmp");
    const std::string gen = Folder.File("Pictures/SysPics/gen.bmp");
    const std::string arrows = Folder.File("Pictures/SysPics/ButtonsArrows.bmp");
    std::remove(misc.c_str());
    Folder.Write("Pictures/SysPics/gen.bmp", "not a picture");
    std::string cut = Bmp_File(36, 112, [](int32_t, int32_t) { return 0x102030u; });
    cut.resize(cut.size() - 200); // measured, then found short
    Folder.Write("Pictures/SysPics/ButtonsArrows.bmp", cut);

    Write_Coded("Pictures/SysPics/fx_one.bmp", Coded_Extra);
    Folder.Write("Data/Effects.txt", Data_File_Text({{{"Number Of Effect Bitmaps", "2"},
                                                      {"Bitmap 1 Name", "FX_One.bmp"},
                                                      {"Bitmap 2 Name", "fx_two.bmp"}}}));
    ASSERT_TRUE(Load_Display_Effects());

    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    std::vector<std::string> texts;
    for (const auto& m : Messages->Messages) {
        EXPECT_EQ(m.Caption, "Error");
        texts.push_back(m.Text);
    }
    const std::string missing_fx = Folder.File("Pictures/SysPics/fx_two.bmp");
    EXPECT_EQ(texts, (std::vector<std::string>{"Unable to load bitmap " + misc + ".",
                                               "Unable to load bitmap " + gen + ".",
                                               "Unable to load bitmap " + arrows + ".",
                                               "Unable to load bitmap " + missing_fx + "."}));
    EXPECT_EQ(display.Interface_Sheets[Sheet_Misc], 0);
    EXPECT_EQ(Raw(display.Interface_Sheets[Sheet_Blank_Named_Square_Buttons], 0, 0),
              Code(Sheet_Blank_Named_Square_Buttons, 0, 0));
    EXPECT_EQ(display.Extra_Bitmap_Count, 2);
    EXPECT_EQ(Raw(display.Extra_Bitmaps[1], 5, 6), Code(Coded_Extra, 5, 6));
    EXPECT_FALSE(display.Load_Extra_Bitmap(0, "fx_one.bmp"));
}

TEST_F(Display_Sheets, BorderNamesAndTheirSlots) {
    const char* names[] = {"",
                           "Border_N.bmp",
                           "Border_E.bmp",
                           "Border_S.bmp",
                           "Border_W.bmp",
                           "Border_ES.bmp",
                           "Border_ESW.bmp",
                           "Border_EW.bmp",
                           "Border_NE.bmp",
                           "Border_NES.bmp",
                           "Border_NEW.bmp",
                           "Border_NS.bmp",
                           "Border_NSEW.bmp",
                           "Border_NSW.bmp",
                           "Border_NW.bmp",
                           "Border_SW.bmp",
                           ""};
    for (int32_t type = 0; type <= 16; ++type)
        EXPECT_EQ(TDisplay_Object::Get_Border_Bitmap_Name(type), names[type]) << type;
    EXPECT_EQ(TDisplay_Object::Get_Border_Bitmap_Name(-1), "");

    TDisplay_Object display;
    TString_List list = {"a.bmp", "b.bmp", "c.bmp"};
    display.Add_Border_Bitmap_Names(list);
    display.Add_Border_Bitmap_Names(list); // a second call starts the slots anew
    ASSERT_EQ(display.Border_Slots.Count(), 15);
    EXPECT_EQ(display.Border_Slots.Get(1), 19);
    EXPECT_EQ(display.Border_Slots.Get(15), 33);
    EXPECT_EQ(list[32], "Border_SW.bmp");
}

struct TPink_Case {
    int32_t Bits;
    bool Layout_555;
};

class Display_Pink : public TDisplay_Test, public ::testing::WithParamInterface<TPink_Case> {};

TEST_P(Display_Pink, MagentaBecomesBlackAndNothingElseChanges) {
    Start(GetParam().Bits, GetParam().Layout_555);
    // Magenta, a colour one step of green from it, and grey.
    Write_Picture("Pictures/SysPics/p.bmp", 3, 1, [](int32_t x, int32_t) {
        return x == 0 ? 0xFF00FFu : x == 1 ? 0xFF08FFu : 0x808080u;
    });
    TDisplay_Object display;
    int32_t handle = 0;
    ASSERT_TRUE(display.Load_Picture_Buffer("p", Folder.File("Pictures/SysPics/p.bmp"), 3, 1, handle));
    EXPECT_EQ(Raw(handle, 0, 0), 0u);
    const uint32_t near = Raw(handle, 1, 0), grey = Raw(handle, 2, 0);
    EXPECT_NE(near, 0u);
    EXPECT_NE(grey, 0u);

    // A magenta pixel written with its top byte set, as some 32-bit pictures come.
    const uint32_t key = GetParam().Bits == 16 ? (GetParam().Layout_555 ? 0x7C1Fu : 0xF81Fu) : 0xFF00FFu;
    Put_Raw(handle, 0, 0, GetParam().Bits == 32 ? 0xAB000000u | key : key);
    Log_Lines.clear();
    display.Change_All_Pink_To_Black(handle);
    EXPECT_EQ(Raw(handle, 0, 0), 0u);
    EXPECT_EQ(Raw(handle, 1, 0), near);
    EXPECT_EQ(Raw(handle, 2, 0), grey);
    EXPECT_EQ(Log_Lines, (std::vector<std::string>{"TDisplay_Object.Change_All_Pink_To_Black - Begin",
                                                   "TDisplay_Object.Change_All_Pink_To_Black - End"}));
    TDisplay_Object::Release_Buffer(handle);
}

INSTANTIATE_TEST_SUITE_P(Depths, Display_Pink,
                         ::testing::Values(TPink_Case{16, false}, TPink_Case{16, true}, TPink_Case{24, false},
                                           TPink_Case{32, false}));

TEST_F(Display_Sheets, OnlyTheWindowButtonSheetKeepsItsMagenta) {
    Write_Coded_Interface();
    for (int32_t sheet = 0; sheet < Interface_Sheet_Count; ++sheet)
        Write_Picture(std::string("Pictures/SysPics/") + Interface_File_Names[sheet],
                      Coded_Sizes[sheet].Width, Coded_Sizes[sheet].Height, [sheet](int32_t x, int32_t y) {
                          return x == 0 && y == 0 ? 0xFF00FFu : Code(sheet, x, y);
                      });
    TDisplay_Object& display = Make_Display();
    display.Load_Graphics();
    for (int32_t sheet = 0; sheet < Interface_Sheet_Count; ++sheet)
        EXPECT_EQ(Raw(display.Interface_Sheets[static_cast<std::size_t>(sheet)], 0, 0),
                  sheet == Sheet_Window_Buttons ? 0xFF00FFu : 0u)
            << Interface_File_Names[sheet];
}

} // namespace
