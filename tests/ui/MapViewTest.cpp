// The map view: which squares are drawn where, what sight, memory and light let through, the detect-evil
// marks and the pause text. Squares come out of the world model's recorder; the display object's own
// cells (darkness, marks, highlight) are probed on the page through the coded sheets.
#include "core/Effects.h"
#include "tests/ui/GameScreenFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Where the view puts a square: the player's square at 373, 336; a step east moves the cell 26 right and
// 13 up, a step south 26 right and 13 down.
int32_t Cell_Left(int32_t x, int32_t y, int32_t px, int32_t py) {
    return 373 + 26 * (x - px) + 26 * (y - py);
}
int32_t Cell_Top(int32_t x, int32_t y, int32_t px, int32_t py) {
    return 336 - 13 * (x - px) + 13 * (y - py);
}

std::string Terrain_Call(int32_t left, int32_t top, int32_t cell) {
    return "Terrain(0, " + std::to_string(left) + ", " + std::to_string(top) + ", " + std::to_string(cell) +
           ")";
}

class Map_View : public TGame_Screen_Test {};

TEST_F(Map_View, DrawsTheFifteenByFifteenSquaresAroundThePlayerEachOnceInItsCell) {
    // Every square of 90..110 gets its own picture cell, so each draw names its square.
    for (int32_t x = 90; x <= 110; ++x)
        for (int32_t y = 90; y <= 110; ++y)
            Map->Get_Square(x, y)->Terrain_Id =
                Add_Terrain("t", Vision_Normal, static_cast<int16_t>(1000 + 100 * (x - 90) + (y - 90)));
    Add_Player(100, 100);
    Draw_Map_View(0, View);

    std::vector<std::string> expected;
    for (int32_t x = 93; x <= 107; ++x)
        for (int32_t y = 93; y <= 107; ++y) {
            const int32_t left = Cell_Left(x, y, 100, 100), top = Cell_Top(x, y, 100, 100);
            EXPECT_TRUE(left >= 0 && left + 54 <= 800 && top >= 0 && top + 54 <= 600) << x << ", " << y;
            expected.push_back(Terrain_Call(left, top, 1000 + 100 * (x - 90) + (y - 90)));
        }
    std::vector<std::string> drawn = Take_World("Terrain(");
    std::sort(expected.begin(), expected.end());
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(View.Origin_X, 93);
    EXPECT_EQ(View.Origin_Y, 93);
}

TEST_F(Map_View, SightAndMemoryDecideWhatIsDrawnAndHowTheSideRuleHides) {
    // A north-hidden layer 3 on squares north and south of the player; a wall closes a room to the east
    // with one remembered and one never-seen square behind it.
    TTerrain side;
    side.Name = "fence";
    side.Movement_Flags = Movement_Land;
    side.Vision_Flags = Vision_Normal;
    side.Picture_L1 = "fence.bmp";
    side.Picture_Index_L1 = 50;
    side.Picture_L3 = "fence_top.bmp";
    side.Picture_Index_L3 = 51;
    side.Sight_Side_Hidden = Side_North;
    side.Sight_Hidden_Layer = 3;
    const uint16_t fence = Map->Terrain_List.Add(side);
    const uint16_t far_floor = Add_Terrain("far", Vision_Normal, 60);
    Map->Get_Square(100, 98)->Terrain_Id = fence;
    Map->Get_Square(100, 102)->Terrain_Id = fence;
    for (int32_t y = 93; y <= 107; ++y) Map->Get_Square(103, y)->Terrain_Id = Wall;
    Map->Get_Square(105, 99)->Terrain_Id = far_floor;
    Map->Get_Square(105, 99)->Set_Seen(true);
    Map->Get_Square(105, 101)->Terrain_Id = far_floor;
    Add_Creature(105, 99, "Remembered Rat");
    Add_Player(100, 100);
    Draw_Map_View(0, View);
    const std::vector<std::string> drawn = Take_World();
    const auto has = [&](const std::string& call) {
        return std::find(drawn.begin(), drawn.end(), call) != drawn.end();
    };

    struct TCase {
        const char* What;
        std::string Call;
        bool Drawn;
    };
    const TCase cases[] = {
        {"north square, layer 1", Terrain_Call(Cell_Left(100, 98, 100, 100), Cell_Top(100, 98, 100, 100), 50),
         true},
        {"north square hides layer 3",
         Terrain_Call(Cell_Left(100, 98, 100, 100), Cell_Top(100, 98, 100, 100), 51), false},
        {"south square shows layer 3",
         Terrain_Call(Cell_Left(100, 102, 100, 100), Cell_Top(100, 102, 100, 100), 51), true},
        {"remembered square from memory",
         Terrain_Call(Cell_Left(105, 99, 100, 100), Cell_Top(105, 99, 100, 100), 60), true},
        {"never-seen square", Terrain_Call(Cell_Left(105, 101, 100, 100), Cell_Top(105, 101, 100, 100), 60),
         false},
    };
    for (const TCase& c : cases) EXPECT_EQ(has(c.Call), c.Drawn) << c.What;
    // From memory only the terrain: the creature standing there now is not shown (the player is).
    const auto monster_at = [&](int32_t x, int32_t y) {
        const std::string at = "Monster(0, " + std::to_string(Cell_Left(x, y, 100, 100)) + ", " +
                               std::to_string(Cell_Top(x, y, 100, 100)) + ",";
        return std::any_of(drawn.begin(), drawn.end(),
                           [&](const std::string& s) { return s.rfind(at, 0) == 0; });
    };
    EXPECT_FALSE(monster_at(105, 99));
    EXPECT_TRUE(monster_at(100, 100));
    EXPECT_TRUE(Map->Get_Square(100, 98)->Is_Seen());
    EXPECT_TRUE(Map->Get_Square(103, 100)->Is_Seen()); // the wall itself is in sight
    EXPECT_FALSE(Map->Get_Square(105, 101)->Is_Seen());
}

TEST_F(Map_View, OptionsAndSuppressionCanTurnTheWholeViewOff) {
    Add_Player(100, 100);
    struct TCase {
        const char* What;
        bool Line_Of_Sight, Suppressed, Highlight;
        bool Squares, Highlighted;
    };
    const TCase cases[] = {
        {"as usual", true, false, false, true, false},
        {"line of sight off", false, false, false, false, false},
        {"suppressed", true, true, true, false, false},
        {"highlight over every cell", true, false, true, true, true},
    };
    const int32_t left = Cell_Left(100, 100, 100, 100), top = Cell_Top(100, 100, 100, 100);
    for (const TCase& c : cases) {
        Clear_Page();
        Game_Options()->Flag_5 = c.Line_Of_Sight;
        Game_Options()->Flag_3 = c.Highlight;
        Display_Obj->Drawing_Suppressed = c.Suppressed;
        Draw_Map_View(0, View);
        EXPECT_EQ(!Take_World("Terrain(").empty(), c.Squares) << c.What;
        // The highlight tile is gen-tiles cell 5; a later row covers all but the cell's top 13 rows.
        EXPECT_EQ(Page(left + 27, top + 6) == Sheet_Pixel(Sheet_Gen_Tiles, 5 * 54 + 27, 6), c.Highlighted)
            << c.What;
        if (!c.Squares && !c.Highlighted) {
            EXPECT_FALSE(Page_Has_Pixels()) << c.What;
        }
    }
}

TEST_F(Map_View, LightCoversEachSquareWithItsDarknessAndHidesTheDarkest) {
    // A lamp on the player's square: levels 0 at the lamp up to 4 at its edge and beyond.
    const uint16_t lamp = Add_Terrain("lamp", Vision_Normal, 7);
    Map->Terrain_List.Terrain(lamp)->Light_Radius = 3;
    Map->Get_Square(100, 100)->Terrain_Id = lamp;
    Map->Universal_Light = false;
    Add_Player(100, 100);
    Draw_Map_View(0, View);
    const std::vector<std::string> drawn = Take_World("Terrain(");
    int32_t seen_levels[5] = {};
    for (int32_t x = 93; x <= 107; ++x)
        for (int32_t y = 93; y <= 107; ++y) {
            const uint8_t level = Map->Get_Light_Level(x - 93, y - 93);
            ASSERT_LE(level, 4);
            ++seen_levels[level];
            const int32_t left = Cell_Left(x, y, 100, 100), top = Cell_Top(x, y, 100, 100);
            const int16_t cell = x == 100 && y == 100 ? 7 : 1;
            const bool square =
                std::find(drawn.begin(), drawn.end(), Terrain_Call(left, top, cell)) != drawn.end();
            EXPECT_EQ(square, level < 4) << x << ", " << y << " level " << int(level);
            bool dark = false;
            for (int32_t d = 0; d < 4; ++d)
                if (Page(left + 27, top + 6) == Sheet_Pixel(Sheet_Gen_Tiles, 54 * d + 27, 6)) {
                    EXPECT_EQ(d, level - 1) << x << ", " << y;
                    dark = true;
                }
            EXPECT_EQ(dark, level > 0) << x << ", " << y;
        }
    for (int32_t level = 0; level <= 4; ++level) EXPECT_GT(seen_levels[level], 0) << "level " << level;

    // Without the light option every square in sight is drawn and nothing darkens it.
    Clear_Page();
    Game_Options()->Flag_2 = false;
    Draw_Map_View(0, View);
    EXPECT_EQ(Take_World("Terrain(").size(), 225u);
    EXPECT_FALSE(Page_Has_Pixels());
}

TEST_F(Map_View, DetectEvilMarksCreaturesInTheDarkWithinItsRangeOverEveryLaterCell) {
    Map->Universal_Light = false; // no light anywhere: every square at level 4
    TMonster* player = Add_Player(100, 100);
    player->Permanent_Effects.Add_Effect(Effect_Detect_Evil, 3, 3);
    ASSERT_EQ(player->Detect_Evil(), 3);
    Add_Creature(103, 101, "near"); // range 3
    Add_Creature(96, 100, "far");   // range 4
    Add_Creature(100, 97, "north"); // range 3
    struct TCase {
        const char* What;
        int32_t X, Y;
        bool Marked;
    };
    const TCase cases[] = {
        {"creature at range 3", 103, 101, true},
        {"creature at range 4", 96, 100, false},
        {"creature north at range 3", 100, 97, true},
        {"the player's own square", 100, 100, true},
        {"empty square", 101, 101, false},
    };
    // The mark is the gen sheet's icon at 288, 0, placed 11 right and 13 down in the cell; its middle lies
    // where the darkness of the next rows would cover a mark drawn only once.
    const auto marked = [&](int32_t x, int32_t y) {
        return Page(Cell_Left(x, y, 100, 100) + 11 + 16, Cell_Top(x, y, 100, 100) + 13 + 16) ==
               Sheet_Pixel(Sheet_General, 288 + 16, 16);
    };
    Draw_Map_View(0, View);
    for (const TCase& c : cases) EXPECT_EQ(marked(c.X, c.Y), c.Marked) << c.What;

    // A dead player senses nothing, and the view still draws.
    Set_Player(nullptr);
    Clear_Page();
    Draw_Map_View(0, View);
    for (const TCase& c : cases) EXPECT_FALSE(marked(c.X, c.Y)) << c.What;
    EXPECT_TRUE(Page_Has_Pixels());
}

TEST_F(Map_View, PauseTextShowsWhileBothThePauseAndTheBlinkAreOn) {
    Add_Player(100, 100);
    struct TCase {
        bool Pause, Blink, Shown;
    };
    for (const TCase c : {TCase{true, true, true}, TCase{true, false, false}, TCase{false, true, false}}) {
        Text->Calls.clear();
        View.User_Pause = c.Pause;
        View.Blink = c.Blink;
        Draw_Map_View(0, View);
        std::vector<std::pair<uint32_t, std::string>> texts;
        for (const auto& call : Text->Calls) texts.emplace_back(call.Rgb, call.Text);
        if (c.Shown)
            EXPECT_EQ(texts, (std::vector<std::pair<uint32_t, std::string>>{{0x000000, "ПАУЗА"},
                                                                            {0xC80000, "ПАУЗА"}}));
        else
            EXPECT_TRUE(texts.empty());
    }
}

} // namespace
