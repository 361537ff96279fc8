// The information panel at the top right of the game screen: what the mouse points at (an item, a creature,
// a map square, a spell, a HUD button or status label), drawn every frame from the current state. Labels
// stand at x 565 and values at x 680, left-aligned with their bottom on the line; when the lines run past
// the panel's picture its background is continued downward once per frame.
#pragma once

#include "ui/DCGameScreen.h"

#include <cstdint>
#include <string>

class TItem;
class TMonster;
class TSpell;

// Help entries 1..32: the HUD buttons (1..11), the statistics window's labels (12..23) and the status
// labels (24..32).
constexpr int32_t Help_Entry_Count = 32;
struct THelp_Entry {
    const char* Title;
    const char* Key_Hint; // empty: none
    const char* Text;
};
// Entry 1..32; null for any other id.
const THelp_Entry* Help_Entry(int32_t help_id);

// Continues the panel's background down to row 249 (rows 114..193 of the interface picture at rows
// 170..249) when a line's y passes 169, once per frame.
void Extend_Info_Panel(int32_t y, int32_t page, TGame_Screen_View& view);

// The panel's parts, one per kind of thing pointed at; each draws nothing when its object is gone.
void Draw_Item_Info(int32_t page, TGame_Screen_View& view, const TItem& item, const TPanel_Price& price);
void Draw_Creature_Info(int32_t page, TGame_Screen_View& view, const TMonster& creature);
void Draw_Square_Info(int32_t page, int32_t x, int32_t y);
void Draw_Spell_Info(int32_t page, TGame_Screen_View& view, uint16_t spell_id);
void Draw_Button_Help(int32_t page, int32_t help_id);

// The price line's settings from the program's price record (what the store's hover set last).
TPanel_Price Current_Panel_Price();

// The panel for the view's subject. Starts a new frame's panel (the background not yet extended). An
// item, creature or spell that no longer resolves, a pile, and a help id outside 1..32 draw nothing.
void Draw_Info_Panel(int32_t page, TGame_Screen_View& view);
