#include "ui/CursorTarget.h"

namespace {
TCursor_Target Target;
TCursor_Tooltip Tooltip;
} // namespace

const TCursor_Target& Cursor_Target() {
    return Target;
}

void Clear_Cursor_Target() {
    Target.Kind = Cursor_Target_None;
    Target.Item_Id = 0;
    Target.Creature_Id = 0;
    Target.X = 0;
    Target.Y = 0;
    Target.Help_Id = 0;
}

void Set_Cursor_Target_Item(uint16_t item_id) {
    Clear_Cursor_Target();
    Target.Kind = Cursor_Target_Item;
    Target.Item_Id = item_id;
}

void Set_Cursor_Target_Monster(uint16_t creature_id) {
    Clear_Cursor_Target();
    Target.Kind = Cursor_Target_Creature;
    Target.Creature_Id = creature_id;
}

void Set_Cursor_Target_Cell(int32_t x, int32_t y) {
    Clear_Cursor_Target();
    Target.Kind = Cursor_Target_Square;
    Target.X = x;
    Target.Y = y;
}

void Set_Cursor_Target_Pile(int32_t x, int32_t y) {
    Clear_Cursor_Target();
    Target.Kind = Cursor_Target_Pile;
    Target.X = x;
    Target.Y = y;
}

void Set_Cursor_Target_Spell(uint16_t spell_id) {
    Clear_Cursor_Target();
    Target.Kind = Cursor_Target_Spell;
    Target.Spell_Id = spell_id;
}

void Set_Cursor_Target_Button(int32_t help_id) {
    Clear_Cursor_Target();
    Target.Kind = Cursor_Target_Help;
    Target.Help_Id = help_id;
}

void Init_Cursor_Target() {
    Clear_Cursor_Target();
    Clear_Cursor_Tooltip();
}

void Done_Cursor_Target() {
    Clear_Cursor_Target();
    Clear_Cursor_Tooltip();
}

const TCursor_Tooltip& Cursor_Tooltip() {
    return Tooltip;
}

void Set_Cursor_Tooltip(bool buying, bool selling, uint16_t buy_percent, uint16_t sell_percent) {
    Tooltip = {true, buying, selling, buy_percent, sell_percent};
}

void Clear_Cursor_Tooltip() {
    Tooltip = TCursor_Tooltip{};
}
