// The game screen's mouse and keys: presses on the map set the walk or act command the tick carries out,
// presses on the equipment panel move the held item in and out of the player's slots (or feed it to him on
// the portrait), hovering tells the information panel what the mouse points at, and the hot keys, the
// HUD's buttons, the quick bar and the five weapon sets. The screen controller calls these handlers from
// its own mouse and key events and HUD buttons; what they open or toggle they ask of the controller through
// TGame_Screen_Host, and the fields the drawing reads (the user pause and the refused slot) they write into
// the controller's view record.
#pragma once

#include <cstdint>
#include <string>

class TDC_Main_Tick;
class TGame_Screen_Host;
struct TGame_Screen_View;

// Virtual-key codes the game screen reacts to.
enum : uint16_t {
    Key_Space = 32,
    Key_1 = 49,
    Key_5 = 53,
    Key_B = 66,
    Key_C = 67,
    Key_G = 71,
    Key_I = 73,
    Key_M = 77,
    Key_Q = 81,
    Key_R = 82,
    Key_S = 83,
    Key_T = 84,
    Key_F1 = 112,
    Key_F10 = 121,
    Key_F11 = 122,
    Key_F12 = 123,
};

// The name a weapon set stores for a hand that was empty.
inline const std::string Weapon_Set_Empty = "[Empty]";

// Which help entry a status label shows (24..32); 0 off the labels.
int32_t Status_Label_Help_Id(int32_t x, int32_t y);
// The first equipment slot (1..10) whose 32 x 32 box, edges included, holds the point; 0 when none.
int32_t Equipment_Slot_At(int32_t x, int32_t y);

class TDC_Main_Input {
public:
    TDC_Main_Input(TGame_Screen_Host& host, TDC_Main_Tick& tick, TGame_Screen_View& view);
    TDC_Main_Input(const TDC_Main_Input&) = delete;
    TDC_Main_Input& operator=(const TDC_Main_Input&) = delete;

    // ---- The controller's own mouse and key events (those no child took) ----
    void Handle_MouseMove(int32_t shift, int32_t x, int32_t y);
    void Handle_MouseDown(int32_t button, int32_t shift, int32_t x, int32_t y);
    // Any release, inside the window or not, lets go of both buttons.
    void Handle_MouseUp(int32_t button, int32_t shift, int32_t x, int32_t y, bool outside);
    // The hot keys; true when the key is consumed (the controller sets Key_Consumed so that its children
    // do not see it).
    bool Handle_KeyDown(uint16_t key, int32_t shift);

    // ---- The HUD's buttons ----
    // "Main Control Button 1".."5" and "Button Spell Sel": the game menu, quests, overview map,
    // statistics, spells to add and spell selection.
    void Control_Button_Click(const std::string& name);
    // "Drop Inventory" and "Drop Stats": show or hide the inventory or statistics window.
    void Window_Toggle_Click(const std::string& name);
    // "Drink Health Button", "Drink Mana Button" (and F11, F12).
    void Drink_Health();
    void Drink_Mana();
    // "Spell Button 1".."10" (and F1..F10): selects that quick-bar slot, or nothing when it was selected.
    void Spell_Button_Click(const std::string& name);

    // ---- Weapon sets 1..5 (Ctrl + 1..5 stores, 1..5 recalls) ----
    void Store_Weapon_Set(int32_t n);
    void Recall_Weapon_Set(int32_t n);

    bool Right_Button_Held = false;

private:
    void Equipment_Hover(int32_t x, int32_t y);
    void Map_Hover(int32_t x, int32_t y);
    void Equipment_Click(int32_t button, int32_t shift, int32_t x, int32_t y);
    void Feed_Held_Item();
    void Map_Click(int32_t shift, int32_t x, int32_t y);
    void Drop_Held_Item();
    void Toggle_User_Pause();

    TGame_Screen_Host& Host_;
    TDC_Main_Tick& Tick_;
    TGame_Screen_View& View_;
};
