// One game tick of a crowded level: 500 hunting creatures within 30 squares of the player on a 200 x 200
// map with one square in ten a wall. Every fifth creature shoots arrows at a creature next to it and every
// tenth casts a bolt at a square, so missiles are in flight; the screen's least work (a hit picture with the
// damage waiting for it, a missile for a shot) is done by the callbacks. A tick is 50 ms of game time: the
// creatures' turns, the sprites' update and the end of the tick. Nobody dies (every creature shrugs off
// 95 % of each blow), so each measured tick sees the same crowd.
#include "core/Clock.h"
#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/Spells.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include <unistd.h>

namespace {

constexpr int32_t Centre = 100;
constexpr int32_t Crowd = 500;
constexpr int32_t Crowd_Range = 30;
constexpr int Warm_Up_Ticks = 100;
constexpr int Measured_Ticks = 1000;
constexpr uint8_t Arrow_Fx = 1;
constexpr int Missiles_Kept = 20;

// A master spell table of one bolt cast at a square, read from a file in a folder of its own.
void Load_Bolt_Spell(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder / "Data");
    std::ofstream file(folder / "Data" / "Spells.txt", std::ios::binary);
    file << "Spells\r\n*BEGIN*\r\n\r\n\r\n";
    const char* const fields[][2] = {{"Name", "Bolt"},
                                     {"Description", ""},
                                     {"Picture ID", "0"},
                                     {"Picture Is Maskable", "TRUE"},
                                     {"Target Type", "Место"},
                                     {"Mana Cost to Cast", "1"},
                                     {"Increase In Mana Cost Per Level", "0"},
                                     {"Maximum Mana Cost", "0"},
                                     {"Duration", "0"},
                                     {"Increase In Duration Per Level", "0"},
                                     {"Maximum Duration", "0"},
                                     {"Requirement Other Spell Name", ""},
                                     {"Requirement Other Spell Minimum Level", "0"},
                                     {"Sound File Cast", ""},
                                     {"Effects Only Apply to Weapon Type", ""},
                                     {"Monster Summoned Name", ""},
                                     {"Monster Summoned Base Count", "0"},
                                     {"Monster Summoned Increase Count Per Level", "0"},
                                     {"Monster Summoned Maximum Count", "0"},
                                     {"Area Effect Radius", "0"},
                                     {"Increase In Area Effect Radius Per Level", "0"},
                                     {"Maximum Area Effect Radius", "0"},
                                     {"Damage Amount Min", "2"},
                                     {"Damage Amount Max", "4"},
                                     {"Damage Maximum Range", "12"},
                                     {"Damage Firing FX", "None"},
                                     {"Maximum Levels From Start", "1"},
                                     {"Number of Effects", "0"}};
    for (const auto& field : fields) file << field[0] << " := " << field[1] << "\r\n";
    file << "*END*\r\n";
    file.close();
    Set_Base_Folder(folder.string());
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    Load_Master_Spells();
}

TMonster* Add_Creature(TMap& map, int32_t x, int32_t y) {
    TMonster creature;
    creature.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
    TMonster* stored = map.Monster_List.Add_Monster(creature);
    map.Place_Monster(*stored);
    return stored;
}

TItem* Give(TMap& map, TMonster& creature, int32_t slot, const std::string& name) {
    TItem item;
    item.Name = name;
    TItem* stored = map.Item_List.Item(map.Item_List.Add(&item));
    creature.Inventory.Put_In_Slot(stored, slot);
    return stored;
}

// The map, the player in its middle and the crowd around him.
void Install_Crowded_Map() {
    auto owned = std::make_unique<TMap>();
    TMap& map = *owned;
    TTerrain floor, wall;
    floor.Movement_Flags = Movement_Land | Movement_Air;
    floor.Vision_Flags = Vision_Normal;
    const uint16_t floor_id = map.Terrain_List.Add(floor);
    const uint16_t wall_id = map.Terrain_List.Add(wall);
    std::mt19937 random(4242);
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y)
            map.Get_Square(x, y)->Terrain_Id = random() % 10 == 0 ? wall_id : floor_id;
    map.Get_Square(Centre, Centre)->Terrain_Id = floor_id;
    Install_Current_Map(std::move(owned));

    TMonster* player = Add_Creature(map, Centre, Centre);
    player->Class_Index = 1; // a player whose class the (empty) table lacks keeps what it is given
    player->Base_Resist = TMonster::Max_Resistance;
    player->Max_Life = 60000;
    player->Recalculate_Stats();
    player->Life = 60000;
    Set_Player(player);

    for (int n = 1; n <= Crowd;) {
        const int32_t x = Centre - Crowd_Range + static_cast<int32_t>(random() % (2 * Crowd_Range + 1));
        const int32_t y = Centre - Crowd_Range + static_cast<int32_t>(random() % (2 * Crowd_Range + 1));
        if (!map.Get_Square(x, y)->Is_Free(Movement_Land)) continue;
        TMonster* c = Add_Creature(map, x, y);
        c->Movement_Strategy = Strategy_Hunt;
        c->Set_Move_Delay(static_cast<uint16_t>(400 + random() % 300));
        c->Max_Life = 50;
        c->Life = 50;
        c->Level = 2;
        c->Attack = 20;
        c->Defense = 10;
        c->Base_Resist = TMonster::Max_Resistance;
        if (n % 5 == 0) {
            TItem* bow = Give(map, *c, 6, "Bow");
            bow->Damage.Set(2, 5, 6, Arrow_Fx);
            bow->Ammo_Required = "Arrow";
            TItem* arrows = Give(map, *c, 11, "Arrows");
            arrows->Item_Type = Item_Type_Ammo;
            arrows->Ammo_Type = "Arrow";
            arrows->Quantity = arrows->Max_Stack = 60000;
        }
        if (n % 10 == 0) c->Spells.Set_Spell(1, 1, 50);
        c->Recalculate_Stats();
        ++n;
    }
}

// The screen's least work: a shot with a firing effect flies as a missile, a spell at a square too, and a
// hit shows its picture for 200 ms, the damage landing after it.
TCallback_Set Screen_Callbacks() {
    TCallback_Set callbacks;
    callbacks.On_Attack_Animation = [](TMonster* a, TMonster* t, const std::string& name,
                                       const std::string& sound, bool hit, const TDamage& damage, int32_t,
                                       uint8_t fx, int32_t, int32_t x, int32_t y) {
        TSprites_List& sprites = *Sprites_List();
        if (fx != 0 && a) {
            sprites.Add_Missile_Sprite(a->Id, name, damage, a->X, a->Y, x, y, sound, Sprite_Display_Damage_FX,
                                       0, 0, TCallback_Set(), "", 0, 0, 0, 5000, Sprite_Display_Effect, fx,
                                       0);
            return;
        }
        const uint32_t picture = sprites.Add_Static_Sprite(x, y, TCallback_Set(), sound, x, y, 0, 200,
                                                           Sprite_Display_Damage_FX, 0, 0);
        if (hit && t) sprites.Add_Damage_Sprite(a ? a->Id : 0, t->Id, TCallback_Set(), name, damage, picture);
    };
    callbacks.On_Missile_Animation = [](TMonster* c, TMonster*, const std::string& name, bool hit,
                                        const std::string& sound, int32_t, const TSpell*,
                                        const TDamage& damage, int32_t x, int32_t y) {
        if (hit)
            Sprites_List()->Add_Missile_Sprite(c->Id, name, damage, c->X, c->Y, x, y, sound,
                                               Sprite_Display_Damage_FX, 0, 0, TCallback_Set(), "", 0, 0, 0,
                                               5000, Sprite_Display_Effect, Arrow_Fx, 0);
    };
    return callbacks;
}

int Missiles_In_Flight() {
    const TSprites_List& sprites = *Sprites_List();
    int missiles = 0;
    for (int32_t n = 1; n <= sprites.Count(); ++n)
        missiles += sprites.Get_Sprite(n)->Sprite_Kind == Sprite_Kind_Missile;
    return missiles;
}

// Shots across the crowd at the player, as the screen launches them for archers and casters further off:
// the missiles strike the first creature in their way, and path finding steers around their squares.
void Keep_Missiles_In_Flight(TMap& map, std::mt19937& random) {
    const TMonster& player = *Player();
    for (int missiles = Missiles_In_Flight(); missiles < Missiles_Kept; ++missiles) {
        const TMonster* shooter = nullptr;
        while (!shooter || shooter == &player)
            shooter = map.Monster_List.Get_Monster(1 + random() % map.Monster_List.Get_Count());
        TDamage damage;
        damage.Set(2, 5, 10, Arrow_Fx);
        damage.Rolled_Amount = 3;
        Sprites_List()->Add_Missile_Sprite(shooter->Id, "archer", damage, shooter->X, shooter->Y, player.X,
                                           player.Y, "", Sprite_Display_Damage_FX, 0, 0, TCallback_Set(), "",
                                           0, 0, 0, 5000, Sprite_Display_Effect, Arrow_Fx, 0);
    }
}

void BM_World_Tick(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("murk_world_bench_" + std::to_string(::getpid()));
    const std::string saved_base = Base_Folder();
    Load_Bolt_Spell(folder);
    Create_Game_Options().Flag_4 = true;
    Set_Manual_Clock(1000);
    const TCallback_Set callbacks = Screen_Callbacks();

    for (auto _ : state) {
        Seed_Random(1);
        Install_Sprites_List(std::make_unique<TSprites_List>());
        Install_Crowded_Map();
        TMap& map = *Current_Map();
        double total_ms = 0, max_ms = 0;
        int64_t missiles = 0, sprites = 0;
        std::mt19937 shooters(99);
        for (int tick = 1; tick <= Warm_Up_Ticks + Measured_Ticks; ++tick) {
            Advance_Manual_Clock(50);
            Keep_Missiles_In_Flight(map, shooters);
            const auto start = std::chrono::steady_clock::now();
            map.Update_Monsters(callbacks, 20.0);
            Sprites_List()->Update();
            map.End_Tick();
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            if (tick <= Warm_Up_Ticks) continue;
            total_ms += ms;
            max_ms = std::max(max_ms, ms);
            missiles += Missiles_In_Flight();
            sprites += Sprites_List()->Count();
        }
        state.counters["mean_ms"] = total_ms / Measured_Ticks;
        state.counters["max_ms"] = max_ms;
        state.counters["missiles"] = static_cast<double>(missiles) / Measured_Ticks;
        state.counters["sprites"] = static_cast<double>(sprites) / Measured_Ticks;
        state.counters["creatures"] = map.Monster_List.Get_Count();
        Set_Player(nullptr);
        Install_Current_Map(nullptr);
        Install_Sprites_List(nullptr);
    }

    Use_System_Clock();
    Free_Game_Options();
    Free_Master_Spells();
    Install_Path_Settings(nullptr);
    Set_Base_Folder(saved_base);
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_World_Tick)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
