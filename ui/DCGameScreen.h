// What the game screen draws on the back page every frame: the interface picture, the isometric view of
// the 15 x 15 squares around the player with sight, light, items, creatures and effect sprites, the status
// panel (portrait, bars, face, numbers), the ten equipment slots and the information panel that describes
// whatever the mouse points at. Everything is drawn anew from the current map, player and options; the
// only state kept between frames is the screen controller's (view origin, pause, blink, refused slot) and
// the information panel's once-per-frame extension flag.
//
// The routines work on the program-wide objects (current map, player, game options, sprite list, display
// object); a missing one draws nothing of what needs it.
#pragma once

#include <cstdint>
#include <string>

class TMonster;

// The view window is 15 x 15 squares; the player stands in its middle, 7 squares from its origin.
constexpr int32_t Game_View_Rows = 31;
constexpr int32_t Game_View_Columns = 15;

// What the information panel describes: a copy of the program's cursor target, taken by the screen
// controller each frame. Kind 0 none, 1 item, 2 creature, 3 map square, 4 item pile, 5 spell, 6 help entry.
struct TInfo_Subject {
    int32_t Kind = 0;
    uint16_t Item_Id = 0;
    uint16_t Creature_Id = 0;
    uint16_t Spell_Id = 0;
    int32_t X = 0, Y = 0;
    int32_t Help_Id = 0;
};

// How the price line of an item reads: a copy of the store's price record.
struct TPanel_Price {
    bool Shown = false;
    bool Buying = false;
    bool Selling = false;
    uint16_t Buy_Percent = 0;
    uint16_t Sell_Percent = 0;
};

// The screen controller's fields the drawing reads (and, for the origin and the panel flag, writes).
struct TGame_Screen_View {
    int32_t Origin_X = 0, Origin_Y = 0; // the view window's top-left square
    bool User_Pause = false;            // the player's own pause (space)
    bool Blink = false;                 // the pause text shows only while set
    int32_t Invalid_Slot = 0;           // equipment slot refused to the held item; 0 none
    int32_t Screen_Buffer = 0;          // the 800 x 600 buffer with the interface picture
    bool Panel_Extended = false;        // the information panel's background was extended in this frame
    TInfo_Subject Subject;              // what the mouse points at
    TPanel_Price Price;
};

// With a player: the player's square minus 7 on both axes, stored as the origin. Without one the origin
// kept from before.
void Get_View_Origin(TGame_Screen_View& view, int32_t& x, int32_t& y);
// The square shown by column i (1..15) of row n (1..31) for a window at origin x, y; false when it lies
// off the 200 x 200 map.
bool View_Cell_To_Map(int32_t i, int32_t n, int32_t origin_x, int32_t origin_y, int32_t& map_x,
                      int32_t& map_y);
// The top-left corner of the cell of column i, row n on the page.
void View_Cell_Position(int32_t i, int32_t n, int32_t& left, int32_t& top);

// The equipment slot's top-left corner; 0, 0 for a slot outside 1..10.
void Get_Equipment_Slot_Position(int32_t slot, int32_t& x, int32_t& y);

// Width in pixels (0..101) of a bar showing value of maximum: the ratio held to 0..1; 0 when the maximum
// is not positive (a creature without mana, a broken record) so that no division by zero or negative fill
// reaches the page.
int32_t Bar_Width(double value, double maximum);
// The face cell of the status panel for the status and life.
int32_t Status_Face(uint8_t status, double life, double max_life);

// The pictures of the three HUD buttons that tell the player something is waiting for him.
struct THud_Button_Images {
    int32_t Quests = 1;     // "Main Control Button 2": 7 while the quests changed
    int32_t Statistics = 3; // "Main Control Button 4": 5 while attribute points are left to spend
    int32_t Spells = 4;     // "Main Control Button 5": 6 while skill points are left to spend
};
THud_Button_Images Hud_Button_Images(const TMonster& player);

// The parts of the game screen, in the order Draw_Game_Screen draws them. The map view, status panel and
// equipment draw nothing while the display object suppresses drawing.
void Draw_Map_View(int32_t page, TGame_Screen_View& view);
void Draw_Status_Panel(int32_t page);
void Draw_Equipment(int32_t page, const TGame_Screen_View& view);
// The whole game screen: the interface picture copied from the screen buffer, then the parts above and
// the information panel.
void Draw_Game_Screen(int32_t page, TGame_Screen_View& view);
// The main menu's background: a black page and the translation note at the bottom left of the control.
void Draw_Menu_Background(int32_t page, int32_t top, int32_t height);
// A black page.
void Draw_Black_Page(int32_t page);

// What the root control draws, by the screens that are open; the first that applies wins.
struct TRoot_Screens {
    bool Error_List = false;         // an error-list dialog
    bool Intro_Or_Developer = false; // the intro, the map generator or the tile editor
    bool Main_Menu = false;
    bool Progress = false;              // a progress dialog
    bool Progress_Draws_Own = false;    // ... open and drawing its own background
    bool Front_End_Choice = false;      // module, difficulty or character choice, or the module text
    bool Menu_Dialog_From_Menu = false; // load/save, options or high scores opened from the main menu
};
enum class TRoot_Drawing { Black_Page, Menu_Background, Nothing, Game_Screen };
TRoot_Drawing Choose_Root_Drawing(const TRoot_Screens& screens);
