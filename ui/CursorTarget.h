// The cursor target: the one record of what the mouse points at, written by the hover handlers of the
// buttons, the map view and the item and spell windows, and read by the information panel that describes
// it. Each setter first clears the record, so only the newest target's kind and value are there.
#pragma once

#include <cstdint>

enum TCursor_Target_Kind : int32_t {
    Cursor_Target_None = 0,
    Cursor_Target_Item = 1,
    Cursor_Target_Creature = 2,
    Cursor_Target_Square = 3,
    Cursor_Target_Pile = 4,
    Cursor_Target_Spell = 5,
    Cursor_Target_Help = 6,
};

struct TCursor_Target {
    int32_t Kind = Cursor_Target_None;
    uint16_t Item_Id = 0;     // in the map's item list (kind 1)
    uint16_t Creature_Id = 0; // in the map's creature list (kind 2)
    uint16_t Spell_Id = 0;    // in the master spell table (kind 5)
    int32_t X = 0, Y = 0;     // a map square (kinds 3 and 4)
    int32_t Help_Id = 0;      // 1..32 (kind 6)
};

// The program's record.
const TCursor_Target& Cursor_Target();

// Kind, ids, square and help id back to 0. The spell id is kept: the panel reads it only for kind 5.
void Clear_Cursor_Target();
void Set_Cursor_Target_Item(uint16_t item_id);
void Set_Cursor_Target_Monster(uint16_t creature_id);
void Set_Cursor_Target_Cell(int32_t x, int32_t y);
void Set_Cursor_Target_Pile(int32_t x, int32_t y);
void Set_Cursor_Target_Spell(uint16_t spell_id);
void Set_Cursor_Target_Button(int32_t help_id);
// Start-up and shut-down: nothing targeted, and no price record.
void Init_Cursor_Target();
void Done_Cursor_Target();

// The price record beside the target: while a store is open the information panel shows an item's price
// by it. Buying: the goods under the mouse, priced at Buy_Percent of their value; Selling: any other item,
// worth Sell_Percent of its value to the store. The store's hover sets it; opening and closing the store or
// the give-item dialog clears it, so no other window shows a store's price.
struct TCursor_Tooltip {
    bool Shown = false;
    bool Buying = false;
    bool Selling = false;
    uint16_t Buy_Percent = 0;
    uint16_t Sell_Percent = 0;
};

const TCursor_Tooltip& Cursor_Tooltip();
// Sets all five fields; the record is shown from then on.
void Set_Cursor_Tooltip(bool buying, bool selling, uint16_t buy_percent, uint16_t sell_percent);
void Clear_Cursor_Tooltip();
