// The side of the game screen that runs the game: the game tick (the player's step or action, every
// creature, the sprites, the autosave and the blink), the walk from a screen point to a map square, the
// change of map through a connection, and the outcomes that module events queue for the screen. It works
// on the world model alone; whatever it needs of the screen (dialogs, the pause, the quick bar, the mouse,
// music) it asks of the controller through TGame_Screen_Host, which the game screen implements and tests
// replace with a recorder.
#pragma once

#include "core/Callbacks.h"
#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

class TDamage;
class TModule;
class TMonster;
class TSpell;

// What the death screen shows, as the world reports it.
struct TDeath_Details {
    std::string Player_Name;
    int32_t Class_Index = 0;
    std::string Cause;
    int32_t Killer_Level = 0;
    std::string Killer_Name;
    int32_t Experience = 0;
    int32_t Level = 0;
};

// What the game screen controller does for the running game.
class TGame_Screen_Host {
public:
    virtual ~TGame_Screen_Host() = default;

    // ---- State the controller keeps ----
    // Whether the display object exists (the world does not run before it).
    virtual bool Display_Exists() const;
    // The game's pause: set by the dialogs that stop time and by the player's own pause.
    virtual bool Is_Paused() const = 0;
    virtual bool Is_Tool_Mode() const = 0;
    virtual bool Is_Game_Started() const = 0;
    // False after the module ended or the player's death screen closed: the world no longer runs.
    virtual bool Is_World_Running() const = 0;
    // Whether the module text an event opened is still open.
    virtual bool Is_Module_Text_Open() const = 0;
    // Whether a talk, store, chest or give-item dialog exists.
    virtual bool Is_Creature_Dialog_Open() const = 0;
    // The mouse position; false when it is outside the screen.
    virtual bool Mouse_Position(int32_t& x, int32_t& y) const = 0;

    // ---- Picking (the display object by default) ----
    // Whether the square's drawn picture covers pixel x, y of its 54 x 54 cell.
    virtual bool Is_Point_On_Square(int32_t x, int32_t y, int32_t map_x, int32_t map_y);
    // Whether pixel x, y of a cell lies in the floor diamond.
    virtual bool Is_Point_In_Tile_Mask(int32_t x, int32_t y);

    // ---- Screen flow ----
    virtual void Set_Paused(bool paused) = 0;
    virtual void Show_Game_Controls(bool visible) = 0;
    // The module is over: the world stops running until a game is started or loaded again.
    virtual void Stop_World() = 0;
    virtual void Open_Main_Menu() = 0;
    // "Dlg Module Text", centred and not modal; its close calls Process_Module_Events again.
    virtual void Open_Module_Text(const std::string& title, const TString_List& paragraphs) = 0;
    // "Dlg Talk" told the creature's id; "Dlg Chest" told the square, with the inventory window shown.
    virtual void Open_Talk_Dialog(uint16_t monster_id) = 0;
    virtual void Open_Chest_Dialog(int32_t x, int32_t y) = 0;
    // Frees the open dialogs that do not pause the game (overview map, quests, statistics, spells add and
    // select, module text) without what their closing would open next.
    virtual void Free_Non_Pausing_Dialogs() = 0;
    // Hides the inventory and statistics windows.
    virtual void Hide_Game_Windows() = 0;
    // "Dlg Dead", centred and modal, with the details unchanged.
    virtual void Open_Death_Dialog(const TDeath_Details& details) = 0;
    virtual void Update_Spell_Buttons() = 0;
    virtual void Play_Music(const std::string& file_name) = 0;
    // The local time the autosave's description names (the system's by default).
    virtual std::tm Local_Time() const;

    // ---- What the game screen's mouse and keys open (nothing by default) ----
    // Opens a game-screen dialog by its control name ("Game Menu", "Quests Dlg", "Overview Map",
    // "Statistics Dlg", "Spells Add Dlg", "Spells Select Dlg") unless it is open already; the game menu
    // pauses first.
    virtual void Open_Game_Dialog_Named(const std::string& name);
    // Flips whether "Win Inventory" or "Win Stats" is shown; nothing while the window does not exist.
    virtual void Toggle_Game_Window(const std::string& name);
    // The inventory window's next tab; nothing while the window does not exist.
    virtual void Inventory_Next_Tab();
    // Whether a store dialog exists (false by default).
    virtual bool Is_Store_Dialog_Open() const;
    // Whether a chest, store or give-item dialog exists: the equipment panel then takes presses although
    // the game is paused. By default the display object's item-window flag, which those dialogs set.
    virtual bool Is_Item_Window_Open() const;
};

// Pending commands of the game screen.
enum : int32_t {
    Command_None = 0,
    Command_Walk = 1,
    Command_Act = 11,
};

// The description of an autosave: "Autosave " and the local time as "dd.mm.yyyy hh:mm:ss".
std::string Autosave_Description(const std::tm& time);

// The hit picture of a blow or spell: its row of the damage-effect sheet (style) and its cell (size). Size
// by the rolled amount, raised to the largest maximum of the damage effects: 2 from 30, 1 from 10, else 0.
// Style 1 for a miss; for a hit by the strongest damage effect (cold 2, fire 6, lightning 5, magic 9,
// poison 7, dispel undead 8), else 0.
struct TAnimation_Style {
    int32_t Style = 0;
    int32_t Size = 0;
    bool operator==(const TAnimation_Style&) const = default;
};
TAnimation_Style Get_Animation_Style(const TDamage& damage, bool show);

// Where a connection takes the player from square x, y of map position map.
struct TConnection_Destination {
    int32_t Map = 0; // a map position of the module, 1..its map count
    int32_t X = 0, Y = 0;
    bool operator==(const TConnection_Destination&) const = default;
};
// The connections of the map whose entrance is the square lead forward when they are of type 1, 3 or 4,
// or of type 2 once used; only when none does, the connections of every map that arrive on the square
// lead back when they are of type 1 or 2, or of type 3 once used. In each search every match is marked
// used and the last one decides. Nothing when none matched or the last match names a map or square that
// does not exist.
std::optional<TConnection_Destination> Find_Connection_Destination(TModule& module, int32_t map, int32_t x,
                                                                   int32_t y);

class TDC_Main_Tick {
public:
    explicit TDC_Main_Tick(TGame_Screen_Host& host);
    TDC_Main_Tick(const TDC_Main_Tick&) = delete;
    TDC_Main_Tick& operator=(const TDC_Main_Tick&) = delete;

    // ---- Fields the controller's input handlers set and its drawing reads ----
    int32_t View_X = 0, View_Y = 0; // the view origin: the square of the view's first column and row
    bool Walking = false;           // a walking step is being computed
    int32_t Pending_Command = Command_None;
    int32_t Target_X = 0, Target_Y = 0;
    bool Left_Button_Held = false;
    int32_t Autosave_Clock = 0; // milliseconds since the last autosave
    double Blink_Clock = 0;
    bool Blink = false;

    // The world's notifications bound to this object; the controller hands it to the world model.
    const TCallback_Set& Callbacks() const { return Callbacks_; }

    // ---- The view and walking ----
    // With a player (his x - 7, his y - 7), else the last origin; stored as the view origin.
    void Get_View_Origin(int32_t& x, int32_t& y);
    // The map square of view cell (column i 1..15, row n 1..31); true when it lies on the map.
    bool View_Cell_To_Map(int32_t i, int32_t n, int32_t& map_x, int32_t& map_y);
    // The map square under screen point X, Y: rows from the bottom (drawn in front) up, columns from the
    // left; pixel-exact asks whether the square's picture covers the point, otherwise the floor diamond
    // decides. The square must lie within the 15 x 15 squares from the view origin.
    bool Screen_To_Map(int32_t x, int32_t y, bool pixel_exact, int32_t& map_x, int32_t& map_y);
    // A screen point that Screen_To_Map (pixel-exact) takes back to the square: the middle of its floor
    // diamond, or a point near it when a picture in front covers the middle. False when the square is not in
    // the view or is covered there.
    bool Map_To_Screen(int32_t map_x, int32_t map_y, int32_t& x, int32_t& y);
    // One step of path finding toward the target; true when walking must stop.
    bool Walk_Step_Toward(int32_t target_x, int32_t target_y);
    // Kind 1 steps the player one square toward x, y (changing map on a connection square), any other kind
    // acts on the square. Then the module's outcomes are processed. True only for a step that moved him, or
    // an action that did something.
    bool Do_Player_Action(int32_t kind, int32_t x, int32_t y);

    // ---- The game ----
    // One timer tick at rate ticks per second (20).
    void Process_Tick(int32_t tick_counter, double rate);
    // Moves the player through the connection he stands on. True when he changed map.
    bool Change_Map();
    // Takes queued module outcomes: music at once, then at most one end of module or text.
    void Process_Module_Events();

    // ---- The world's notifications ----
    void Open_Talk(uint16_t monster_id);
    void Open_Chest(int32_t x, int32_t y);
    void Show_Death(const TDeath_Details& details);
    // The sprites of a blow (a trap's has no attacker: its missile starts on the target square) and of a
    // spell; the damage lands when the last picture made before it is gone.
    void Show_Attack_Animation(TMonster* attacker, TMonster* target, const std::string& attacker_name,
                               const std::string& sound_file, bool show, const TDamage& damage,
                               uint8_t firing_fx, int32_t x, int32_t y);
    void Show_Missile_Animation(TMonster* caster, TMonster* target, const std::string& caster_name, bool show,
                                const std::string& sound_file, const TSpell* spell, const TDamage& damage,
                                int32_t x, int32_t y);

private:
    void Autosave_Check(double rate);
    void Player_Turn();

    TGame_Screen_Host& Host_;
    TCallback_Set Callbacks_;
};
