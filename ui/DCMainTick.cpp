#include "ui/DCMainTick.h"

#include "core/Actions.h"
#include "core/EffectSprites.h"
#include "core/GlobalFuncs.h"
#include "core/HeldItem.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/PathFind.h"
#include "core/SaveGame.h"
#include "core/SaveSlots.h"
#include "media/DisplayObject.h"
#include "platform/PathLayer.h"

#include <chrono>
#include <cstdio>
#include <optional>

// ---------------------------------------------------------------------------------------------------------
// The host's defaults

bool TGame_Screen_Host::Display_Exists() const {
    return Display_Object() != nullptr;
}

bool TGame_Screen_Host::Is_Point_On_Square(int32_t x, int32_t y, int32_t map_x, int32_t map_y) {
    TDisplay_Object* display = Display_Object();
    const TMap* map = Current_Map();
    return display && map && display->Is_Point_On_Square(x, y, map_x, map_y, *map);
}

bool TGame_Screen_Host::Is_Point_In_Tile_Mask(int32_t x, int32_t y) {
    const TDisplay_Object* display = Display_Object();
    return display && display->Is_Point_In_Tile_Mask(x, y);
}

void TGame_Screen_Host::Open_Game_Dialog_Named(const std::string&) {}

void TGame_Screen_Host::Toggle_Game_Window(const std::string&) {}

void TGame_Screen_Host::Inventory_Next_Tab() {}

bool TGame_Screen_Host::Is_Store_Dialog_Open() const {
    return false;
}

bool TGame_Screen_Host::Is_Item_Window_Open() const {
    const TDisplay_Object* display = Display_Object();
    return display && display->Item_Window != 0;
}

std::tm TGame_Screen_Host::Local_Time() const {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string Autosave_Description(const std::tm& time) {
    char text[64];
    std::snprintf(text, sizeof(text), "Autosave %02d.%02d.%04d %02d:%02d:%02d", time.tm_mday, time.tm_mon + 1,
                  time.tm_year + 1900, time.tm_hour, time.tm_min, time.tm_sec);
    return text;
}

// ---------------------------------------------------------------------------------------------------------
// Creation

namespace {

// Sets a flag for the life of the object and clears it however the scope is left: a step that throws
// must not leave the screen believing a walking step is still being computed.
class TFlag_Scope {
public:
    explicit TFlag_Scope(bool& flag) : Flag_(flag) { Flag_ = true; }
    ~TFlag_Scope() { Flag_ = false; }
    TFlag_Scope(const TFlag_Scope&) = delete;
    TFlag_Scope& operator=(const TFlag_Scope&) = delete;

private:
    bool& Flag_;
};

// The view: 15 columns by 31 rows of diamond cells, each in a 54 x 54 picture box.
constexpr int32_t View_Columns = 15;
constexpr int32_t View_Rows = 31;
constexpr int32_t Cell_Box_Size = 54;

int32_t Cell_Left(int32_t i, int32_t n) {
    return 52 * i + (n % 2 == 0 ? 26 : 0) - 43;
}
int32_t Cell_Top(int32_t n) {
    return 13 * n + 115;
}

// The blink changes when its clock passes this many (rate units are added per tick).
constexpr double Blink_Period = 250;

} // namespace

TDC_Main_Tick::TDC_Main_Tick(TGame_Screen_Host& host) : Host_(host) {
    Callbacks_.On_Attack_Animation = [this](TMonster* attacker, TMonster* target, const std::string& name,
                                            const std::string& sound, bool hit, const TDamage& damage,
                                            int32_t, uint8_t firing_fx, int32_t, int32_t x, int32_t y) {
        Show_Attack_Animation(attacker, target, name, sound, hit, damage, firing_fx, x, y);
    };
    Callbacks_.On_Missile_Animation = [this](TMonster* caster, TMonster* target, const std::string& name,
                                             bool hit, const std::string& sound, int32_t, const TSpell* spell,
                                             const TDamage& damage, int32_t x, int32_t y) {
        Show_Missile_Animation(caster, target, name, hit, sound, spell, damage, x, y);
    };
    Callbacks_.On_Open_Talk = [this](uint16_t monster_id) { Open_Talk(monster_id); };
    Callbacks_.On_Open_Chest = [this](int32_t x, int32_t y) { Open_Chest(x, y); };
    Callbacks_.On_Player_Death = [this](const std::string& player_name, int32_t class_index,
                                        const std::string& cause, int32_t killer_level,
                                        const std::string& killer_name, int32_t experience, int32_t level) {
        Show_Death({player_name, class_index, cause, killer_level, killer_name, experience, level});
    };
    Callbacks_.On_Refresh_Spells = [this] { Host_.Update_Spell_Buttons(); };
}

// ---------------------------------------------------------------------------------------------------------
// The view and walking

void TDC_Main_Tick::Get_View_Origin(int32_t& x, int32_t& y) {
    if (const TMonster* player = Player()) {
        View_X = player->X - View_Centre_Offset;
        View_Y = player->Y - View_Centre_Offset;
    }
    x = View_X;
    y = View_Y;
}

bool TDC_Main_Tick::View_Cell_To_Map(int32_t i, int32_t n, int32_t& map_x, int32_t& map_y) {
    int32_t origin_x = 0, origin_y = 0;
    Get_View_Origin(origin_x, origin_y);
    map_x = i + origin_x - (n - 1) / 2 + 7;
    map_y = i + origin_y + n / 2 - 9;
    return map_x >= 1 && map_x <= Map_Width && map_y >= 1 && map_y <= Map_Height;
}

bool TDC_Main_Tick::Screen_To_Map(int32_t x, int32_t y, bool pixel_exact, int32_t& map_x, int32_t& map_y) {
    // Lower rows are drawn in front, so they are asked first.
    for (int32_t n = View_Rows; n >= 1; --n) {
        const int32_t top = Cell_Top(n);
        if (y < top || y > top + Cell_Box_Size) continue;
        for (int32_t i = 1; i <= View_Columns; ++i) {
            const int32_t left = Cell_Left(i, n);
            if (x < left || x > left + Cell_Box_Size) continue;
            int32_t cell_x = 0, cell_y = 0;
            if (!View_Cell_To_Map(i, n, cell_x, cell_y)) continue;
            const bool covered = pixel_exact ? Host_.Is_Point_On_Square(x - left, y - top, cell_x, cell_y)
                                             : Host_.Is_Point_In_Tile_Mask(x - left, y - top);
            if (!covered) continue;
            if (cell_x < View_X || cell_x > View_X + View_Size - 1) continue;
            if (cell_y < View_Y || cell_y > View_Y + View_Size - 1) continue;
            map_x = cell_x;
            map_y = cell_y;
            return true;
        }
    }
    return false;
}

bool TDC_Main_Tick::Map_To_Screen(int32_t map_x, int32_t map_y, int32_t& x, int32_t& y) {
    const auto maps_back = [&](int32_t px, int32_t py) {
        int32_t back_x = 0, back_y = 0;
        if (!Screen_To_Map(px, py, true, back_x, back_y) || back_x != map_x || back_y != map_y) return false;
        x = px;
        y = py;
        return true;
    };
    for (int32_t n = 1; n <= View_Rows; ++n) {
        for (int32_t i = 1; i <= View_Columns; ++i) {
            int32_t cell_x = 0, cell_y = 0;
            if (!View_Cell_To_Map(i, n, cell_x, cell_y) || cell_x != map_x || cell_y != map_y) continue;
            // The floor diamond of a cell's picture box has its middle at (27, 40); failing that, any point
            // of the box that the square's own picture covers.
            const int32_t left = Cell_Left(i, n), top = Cell_Top(n);
            if (maps_back(left + 27, top + 40)) return true;
            for (int32_t dy = Cell_Box_Size - 1; dy >= 0; dy -= 3)
                for (int32_t dx = 3; dx < Cell_Box_Size; dx += 3)
                    if (maps_back(left + dx, top + dy)) return true;
        }
    }
    return false;
}

bool TDC_Main_Tick::Walk_Step_Toward(int32_t target_x, int32_t target_y) {
    TMonster* player = Player();
    if (!player) return true;
    const int32_t from_x = player->X, from_y = player->Y;
    std::optional<TSquare_Position> step;
    bool moved = false;
    {
        TFlag_Scope walking(Walking);
        step = Find_Path({from_x, from_y}, {target_x, target_y}, player->Movement_Flags);
        if (step) moved = Do_Player_Action(Command_Walk, step->X, step->Y);
    }
    // The step may have changed the map: the player is looked up again.
    player = Player();
    if (!player || !step || !moved) return true;
    if (player->X == target_x && player->Y == target_y) return true;
    return player->X == from_x && player->Y == from_y;
}

bool TDC_Main_Tick::Do_Player_Action(int32_t kind, int32_t x, int32_t y) {
    TMonster* player = Player();
    if (!player) return false;
    bool result = false;
    if (kind == Command_Walk) {
        const int32_t outcome = player->Step(Direction_To(player->X, player->Y, x, y));
        // A change of map frees the creature stepped with; it is not touched again.
        if (outcome == Step_Onto_Entrance) Change_Map();
        result = outcome == Step_Moved;
    } else {
        result = Do_Action_At(*player, static_cast<uint8_t>(kind), x, y, Callbacks_,
                              player->Spells.Get_Selected_Slot());
    }
    Process_Module_Events();
    return result;
}

// ---------------------------------------------------------------------------------------------------------
// The game tick

void TDC_Main_Tick::Process_Tick(int32_t /*tick_counter*/, double rate) {
    if (Host_.Display_Exists() && !Host_.Is_Paused() && Host_.Is_World_Running()) {
        Player_Turn();
        if (TMap* map = Current_Map()) map->Update_Monsters(Callbacks_, rate);
        if (TSprites_List* sprites = Sprites_List()) sprites->Update();
        Autosave_Check(rate);
    }
    // The blink runs while paused too: the pause notice blinks with it.
    Blink_Clock += rate;
    if (Blink_Clock > Blink_Period) {
        Blink = !Blink;
        Blink_Clock = 0;
    }
}

void TDC_Main_Tick::Player_Turn() {
    TMonster* player = Player();
    if (!player || !player->Ready_To_Move()) return;
    const auto clear_command = [this] {
        Pending_Command = Command_None;
        Target_X = 0;
        Target_Y = 0;
    };
    if (Pending_Command == Command_Walk) {
        if (Walk_Step_Toward(Target_X, Target_Y)) clear_command();
    } else if (Pending_Command == Command_Act) {
        Do_Player_Action(Command_Act, Target_X, Target_Y);
        clear_command();
    } else if (Pending_Command == Command_None && Left_Button_Held && !Walking) {
        // Holding the button on the map keeps walking toward the square under the mouse.
        int32_t mouse_x = 0, mouse_y = 0, map_x = 0, map_y = 0;
        if (!Host_.Mouse_Position(mouse_x, mouse_y) || !Screen_To_Map(mouse_x, mouse_y, true, map_x, map_y))
            return;
        Pending_Command = Command_Walk;
        Target_X = map_x;
        Target_Y = map_y;
        if (Walk_Step_Toward(map_x, map_y)) clear_command();
    }
}

void TDC_Main_Tick::Autosave_Check(double rate) {
    if (Host_.Is_Tool_Mode() || !Host_.Is_Game_Started() || rate <= 0) return;
    Autosave_Clock += static_cast<int32_t>(1000 / rate);
    const TMachine_Options& options = Machine_Options();
    if (options.Dont_Autosave) {
        Autosave_Clock = 0;
        return;
    }
    // The first choice that is set decides; with none set the clock runs on and nothing is saved.
    bool due = false;
    if (options.Autosave_Every_Minute)
        due = Autosave_Clock > 60000;
    else if (options.Autosave_Every_5_Minutes)
        due = Autosave_Clock > 300000;
    else if (options.Autosave_Every_20_Minutes)
        due = Autosave_Clock > 1200000;
    if (!due) return;
    Autosave_Clock = 0;

    TMonster* player = Player();
    TMap* map = Current_Map();
    const TModule* module = Module();
    const TPath_Settings* paths = Path_Settings();
    if (!player || !map || !module || !paths) return;
    // The item on the cursor is in no slot and on no square: the save would leave it out.
    Release_Held_Item();
    const std::string folder = paths->Get_Current_Game_Folder();
    // The slot is replaced only by a game that was saved whole, so a failed save keeps the last autosave.
    if (Save_Game(Autosave_Description(Host_.Local_Time()), *map, player,
                  folder + plat::Base_Name(module->File_Name), folder + plat::Base_Name(map->File_Name)))
        Store_Slot(Autosave_Slot);
}

// ---------------------------------------------------------------------------------------------------------
// Module events

void TDC_Main_Tick::Process_Module_Events() {
    TModule* module = Module();
    // The event's text does not pause the game: its close asks again, so an outcome queued meanwhile
    // waits for it instead of replacing it. After the module ended or the player died nothing is taken.
    if (!module || !Player() || !Host_.Is_World_Running() || Host_.Is_Module_Text_Open()) return;
    TEvent_Return_Result outcome;
    while (module->Events.Pop_Return_Result(outcome)) {
        switch (outcome.Kind) {
        case Return_Play_Music: Host_.Play_Music(outcome.Music_File); break;
        case Return_End_Game: {
            TMonster* player = Player();
            player->Set_Character_State(Character_Available);
            // The item on the cursor would not be in the character file.
            Release_Held_Item();
            if (const auto path = Character_File_Path(player->Name)) Save_Character(*player, *path);
            Host_.Show_Game_Controls(false);
            Host_.Stop_World();
            Host_.Open_Main_Menu();
            return;
        }
        case Return_Show_Text:
            Host_.Show_Game_Controls(false);
            Host_.Open_Module_Text(outcome.Title, outcome.Paragraphs);
            return;
        default: break;
        }
    }
}

// ---------------------------------------------------------------------------------------------------------
// The world's notifications

void TDC_Main_Tick::Open_Talk(uint16_t monster_id) {
    if (Host_.Is_Creature_Dialog_Open()) return;
    Host_.Set_Paused(true);
    Host_.Open_Talk_Dialog(monster_id);
}

void TDC_Main_Tick::Open_Chest(int32_t x, int32_t y) {
    if (Host_.Is_Creature_Dialog_Open()) return;
    Host_.Set_Paused(true);
    Host_.Open_Chest_Dialog(x, y);
}

void TDC_Main_Tick::Show_Death(const TDeath_Details& details) {
    // Dialogs that do not pause would stay over the death screen and the menu after it, reading the
    // player the death has cleared.
    Host_.Free_Non_Pausing_Dialogs();
    Host_.Hide_Game_Windows();
    Host_.Open_Death_Dialog(details);
}
