// The world played without a screen: a walled arena with a creature of every behaviour, the player driven
// by a simple bot and the screen's least work done by recording callbacks, for thousands of ticks per seed.
// After every tick the bookkeeping the rest of the game relies on is checked: squares and the creature list
// agree both ways, the player reference is live, every item is in exactly one place, and every creature that
// left the map died once, with a killer or a cause, leaving its items on its square. Run under the
// sanitizers this also catches any touch of a creature freed at the end of a tick.
//
// MURK_WORLD_SEEDS ("1-20", "5,9,40", "1-3,7") and MURK_WORLD_TICKS replace the seeds and the run length;
// with MURK_WORLD_DUMP set every run prints its log (callbacks, sounds and events) for a closer look.
#include "core/ActionHooks.h"
#include "core/Actions.h"
#include "core/CharClass.h"
#include "core/Clock.h"
#include "core/DisplayEffects.h"
#include "core/DisplaySeam.h"
#include "core/EffectSprites.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/PathFind.h"
#include "core/SoundSeam.h"
#include "core/Spells.h"
#include "core/Terrain.h"
#include "core/WorldEvents.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double Ticks_Per_Second = 20.0;
constexpr uint64_t Tick_Ms = 50;
constexpr int32_t Arena_Low = 20, Arena_High = 59;
// Display effects of the test's table, both directional: arrows and frost bolts fly as missiles.
constexpr uint8_t Fx_Arrow = 1;
constexpr uint8_t Fx_Ice = 2;
// What the screen gives its sprites.
constexpr int32_t Hit_Lifetime = 200;
constexpr int32_t Missile_Lifetime = 5000;
// Master spells of the test's table.
constexpr uint16_t Spell_Frost = 1, Spell_Summon = 2;
constexpr int16_t Hunter_Event = 7;

using TLines = std::vector<std::string>;

// "1-20", "5,9,40" or a mix; seeds 1..last when the variable is unset or holds nothing usable.
std::vector<uint64_t> Seeds(uint64_t last) {
    std::vector<uint64_t> fallback;
    for (uint64_t seed = 1; seed <= last; ++seed) fallback.push_back(seed);
    const char* text = std::getenv("MURK_WORLD_SEEDS");
    if (!text) return fallback;
    std::vector<uint64_t> seeds;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, ',');) {
        const std::size_t dash = item.find('-');
        const uint64_t low = std::strtoull(item.c_str(), nullptr, 10);
        const uint64_t high =
            dash == std::string::npos ? low : std::strtoull(item.c_str() + dash + 1, nullptr, 10);
        for (uint64_t seed = low; seed <= high && seeds.size() < 100000; ++seed) seeds.push_back(seed);
    }
    return seeds.empty() ? fallback : seeds;
}

int Ticks(int fallback) {
    const char* text = std::getenv("MURK_WORLD_TICKS");
    const long ticks = text ? std::strtol(text, nullptr, 10) : 0;
    return ticks > 0 ? static_cast<int>(ticks) : fallback;
}

std::string At(int32_t x, int32_t y) {
    return " @" + std::to_string(x) + "," + std::to_string(y);
}

// What the tick is doing when a creature dies: a death inside a creature's own turn is poison or hunger, a
// death in the sprite update is a blow, a shot or a spell landing.
enum class TPhase { Idle, Player_Action, Creature_Turn, Sprites };

struct TContext {
    TPhase Phase = TPhase::Idle;
    uint16_t Acting_Id = 0;
};

// A map that tells whose turn it is.
class TWatched_Map : public TMap {
public:
    explicit TWatched_Map(TContext& context) : Context_(context) {}

protected:
    void Update_Creature(TMonster& creature, const TCallback_Set& callbacks, double rate) override {
        Context_.Phase = TPhase::Creature_Turn;
        Context_.Acting_Id = creature.Id;
        TMap::Update_Creature(creature, callbacks, rate);
        Context_.Phase = TPhase::Idle;
        Context_.Acting_Id = 0;
    }

private:
    TContext& Context_;
};

// A sprite as it was before an update, to tell afterwards which ones landed.
struct TSprite_Note {
    uint32_t Id;
    uint16_t Kind, Attacker, Target;
    std::string Attacker_Name;
    int64_t Strike_X, Strike_Y; // a missile's square after its next step
};

struct TDeath {
    std::string Tag;
    uint16_t Id = 0;
    bool Was_Player = false;
    int32_t X = 0, Y = 0;
    std::vector<uint16_t> Items;
    int16_t Event_Id = 0;
    std::set<uint16_t> Killers; // the creatures whose deed may have killed it
    std::string Cause;          // poison, hunger, or a nameless attacker (a trap)
};

class world_headless : public TProgram_Folder_Test {
protected:
    struct TLog_Sounds : TSound_Sink {
        world_headless* World;
        explicit TLog_Sounds(world_headless* world) : World(world) {}
        void Sound_Play(const std::string& name) override { World->Heard(name, "sound " + name); }
        void Sound_Play_At(const std::string& name, int x, int y, int, int) override {
            World->Heard(name, "sound " + name + At(x, y));
        }
    };
    struct TLog_Events : World_Events::THandler {
        world_headless* World;
        explicit TLog_Events(world_headless* world) : World(world) {}
        void Monster_Killed(int32_t event_id) override {
            World->Log.push_back("event " + std::to_string(event_id));
            ++World->Events[event_id];
        }
    };
    // Wolves: the one class the summoning classes hold.
    struct TWolves : TSummoner {
        world_headless* World;
        explicit TWolves(world_headless* world) : World(world) {}
        uint16_t Create_Monster(int32_t x, int32_t y, int32_t level) override {
            TMonster wolf =
                World->Creature("Wolf", x, y, Strategy_Hunt, static_cast<uint16_t>(level), 8, 400);
            wolf.Attack = 15;
            wolf.Defense = 5;
            return World->Place(wolf)->Id;
        }
    };
    struct THooks : TAction_Hooks {
        world_headless* World;
        explicit THooks(world_headless* world) : World(world) {}
        bool Pick_Trap(const std::string&, int32_t, TDamage&) override { return false; }
        std::unique_ptr<TSummoner> Open_Summoner(const std::string& name) override {
            return name == "wolf" ? std::make_unique<TWolves>(World) : nullptr;
        }
    };

    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Install_Sound_Sink(std::make_shared<TLog_Sounds>(this));
        World_Events::Install(std::make_shared<TLog_Events>(this));
        Install_Action_Hooks(std::make_shared<THooks>(this));
        Write_Data_Files();
        Make_Callbacks();
    }
    void TearDown() override {
        Install_Sprites_List(nullptr);
        Set_Player(nullptr);
        Install_Current_Map(nullptr);
        Install_Action_Hooks(nullptr);
        Install_Display_Sink(nullptr);
        World_Events::Install(nullptr);
        Free_Game_Options();
        Free_Master_Spells();
        Free_Class_Info();
        Free_Display_Effects();
        Use_System_Clock();
        Machine_Options().Game_Speed_Modified_Percent = 100;
        TProgram_Folder_Test::TearDown();
    }

    // ---------------------------------------------------------------------------------------------------
    // Data: one class, two display effects, two spells

    void Write_Data_Files() {
        // clang-format off
        Folder.Write("Data/Classes.txt", Data_File_Text({{
            {"Class Name", "Fighter"}, {"Base Maximum Health", "60"}, {"Base Maximum Mana", "10"},
            {"Base Maximum Hunger", "20"}, {"Base Maximum Weight", "100"}, {"Base Movement Speed", "250"},
            {"Maximum Health - X Per 1 Level", "10"}, {"Maximum Health - X Per 1 Constitution", "2"},
            {"Attack Rating - X Per 1 Dexterity", "3"}, {"Defense Rating - X Per 1 Dexterity", "1"},
            {"Minimum Damage Bonus - X Per 1 Strength", "0.1"}, {"Maximum Damage Bonus - X Per 1 Strength", "0.2"},
            {"Health Pct Regeneration Rate Per Second", "1"}, {"Experience Added Past Last Level", "400"},
            {"Number Of Experience Levels", "3"}, {"Experience For Level 1", "20"},
            {"Experience For Level 2", "60"}, {"Experience For Level 3", "150"}}}));
        // clang-format on
        Load_Class_Info(); // the keys the record leaves out read as 0
        ASSERT_NE(Get_Class(1), nullptr);

        std::vector<TKeys> effects = {{{"Number Of Effect Bitmaps", "1"}, {"Bitmap 1 Name", "fx.bmp"}}};
        for (const char* name : {"Arrow", "Ice"}) {
            effects.push_back({{"Name", name}, {"Type", "Directional"}, {"Bitmap Index", "1"}});
            for (const char* key : {"Bitmap Square X Offset", "Bitmap Square Y Offset",
                                    "Bitmap Picture Width", "Bitmap Picture Height"})
                effects.back().push_back({key, "32"});
            for (const char* key : {"Bitmap Start Xpos", "Bitmap Start Ypos", "Bitmap End Xpos",
                                    "Bitmap End Ypos", "Animation Loop Count"})
                effects.back().push_back({key, "0"});
            effects.back().insert(effects.back().end(), {{"Total Number Of Frames", "8"},
                                                         {"Frames Per Line", "8"},
                                                         {"Animation Speed", "100"},
                                                         {"Damage FX At End", "TRUE"}});
        }
        Folder.Write("Data/Effects.txt", Data_File_Text(effects));
        ASSERT_TRUE(Load_Display_Effects());
        ASSERT_EQ(Get_Display_Effect(Fx_Ice)->Type, Display_Effect_Directional);

        const auto spell = [](const TKeys& changes) {
            TKeys keys = {
                {"Damage Firing FX", "None"}, {"Picture Is Maskable", "TRUE"}, {"Number of Effects", "0"}};
            for (const char* key : {"Description", "Requirement Other Spell Name", "Sound File Cast",
                                    "Effects Only Apply to Weapon Type", "Monster Summoned Name"})
                keys.push_back({key, ""});
            for (const char* key :
                 {"Picture ID", "Mana Cost to Cast", "Increase In Mana Cost Per Level", "Maximum Mana Cost",
                  "Duration", "Increase In Duration Per Level", "Maximum Duration",
                  "Requirement Other Spell Minimum Level", "Monster Summoned Base Count",
                  "Monster Summoned Increase Count Per Level", "Monster Summoned Maximum Count",
                  "Area Effect Radius", "Increase In Area Effect Radius Per Level",
                  "Maximum Area Effect Radius", "Damage Amount Min", "Damage Amount Max",
                  "Damage Maximum Range", "Maximum Levels From Start"})
                keys.push_back({key, "0"});
            return With(keys, changes);
        };
        // clang-format off
        // The frost bolt chills (cold damage) and slows its target for its duration.
        TKeys frost = {{"Name", "Frost"}, {"Target Type", "Монстр"}, {"Damage Firing FX", "Ice"},
                       {"Damage Maximum Range", "8"}, {"Duration", "3"}, {"Mana Cost to Cast", "3"},
                       {"Sound File Cast", "cold_cast.wav"}, {"Number of Effects", "2"}};
        const TKeys summon = {{"Name", "Call Wolves"}, {"Target Type", "Нет"}, {"Monster Summoned Name", "Wolf"},
                              {"Monster Summoned Base Count", "2"}, {"Mana Cost to Cast", "5"},
                              {"Sound File Cast", "summon.wav"}};
        // clang-format on
        const std::pair<const char*, const char*> frost_effects[] = {{"Cold Damage", "3"},
                                                                     {"Reduce Target Movement", "200"}};
        for (int n = 1; n <= 2; ++n) {
            const std::string e = "Effect " + std::to_string(n) + " ";
            frost.insert(frost.end(), {{e + "Type", frost_effects[n - 1].first},
                                       {e + "Min Amount", frost_effects[n - 1].second},
                                       {e + "Max Amount", frost_effects[n - 1].second},
                                       {e + "Per Level Modifier Type", "Number"},
                                       {e + "Min Amt Per Level Modifier", "1"},
                                       {e + "Max Amt Per Level Modifier", "1"}});
        }
        Folder.Write("Data/Spells.txt", Data_File_Text({spell(frost), spell(summon)}));
        ASSERT_TRUE(Load_Master_Spells());
        ASSERT_EQ(Get_Master_Spell(Spell_Frost)->Target_Type, Spell_Target_Monster);
        ASSERT_EQ(Get_Master_Spell(Spell_Summon)->Target_Type, Spell_Target_None);
    }

    // ---------------------------------------------------------------------------------------------------
    // The screen's least work, and a log of every call

    static bool Directional(uint8_t fx) {
        const TDisplay_Effect* effect = Get_Display_Effect(fx);
        return effect && effect->Type == Display_Effect_Directional;
    }

    void Callback_Called(const std::string& line) {
        Log.push_back(line);
        if (Player_Deaths > 0) Fault("callback after the player's death: " + line);
    }

    // A blow or a spell on a square: its picture for 200 ms; a hit's damage lands when the picture is
    // gone. A directional firing effect flies as a missile instead, which strikes the first creature or
    // obstacle in its way.
    void Show_Hit(uint16_t attacker_id, const TMonster* target, const std::string& name,
                  const std::string& sound, bool hit, const TDamage& damage, int32_t x, int32_t y) {
        TSprites_List& sprites = *Sprites_List();
        const uint32_t picture = sprites.Add_Static_Sprite(x, y, Callbacks, sound, x, y, 0, Hit_Lifetime,
                                                           Sprite_Display_Damage_FX, 0, 0);
        if (hit && target)
            sprites.Add_Damage_Sprite(attacker_id, target->Id, Callbacks, name, damage, picture);
    }

    void Make_Callbacks() {
        Callbacks.On_Attack_Animation = [this](TMonster* a, TMonster* t, const std::string& name,
                                               const std::string& sound, bool hit, const TDamage& damage,
                                               int32_t, uint8_t fx, int32_t, int32_t x, int32_t y) {
            Callback_Called("attack " + Who(a) + ">" + Who(t) + " '" + name + "' " +
                            (hit ? "hit " : "miss ") + std::to_string(damage.Rolled_Amount) + " " + sound +
                            At(x, y));
            const uint16_t attacker_id = a ? a->Id : 0;
            if (Directional(fx))
                Sprites_List()->Add_Missile_Sprite(attacker_id, name, damage, a ? a->X : x, a ? a->Y : y, x,
                                                   y, sound, Sprite_Display_Damage_FX, 0, 0, Callbacks, "", 0,
                                                   0, 0, Missile_Lifetime, Sprite_Display_Effect, fx, 0);
            else
                Show_Hit(attacker_id, t, name, sound, hit, damage, x, y);
        };
        Callbacks.On_Missile_Animation = [this](TMonster* c, TMonster* t, const std::string& name, bool hit,
                                                const std::string& sound, int32_t level, const TSpell* spell,
                                                const TDamage& damage, int32_t x, int32_t y) {
            Callback_Called("spell " + Who(c) + ">" + Who(t) + " '" + name + "' " + (hit ? "hit " : "- ") +
                            (spell ? spell->Name : "?") + " L" + std::to_string(level) + " " + sound +
                            At(x, y));
            if (hit && Directional(damage.Firing_FX))
                Sprites_List()->Add_Missile_Sprite(
                    c->Id, name, damage, c->X, c->Y, x, y, sound, Sprite_Display_Damage_FX, 0, 0, Callbacks,
                    "", 0, 0, 0, Missile_Lifetime, Sprite_Display_Effect, damage.Firing_FX, 0);
            else if (hit)
                Show_Hit(c->Id, t, name, sound, hit, damage, x, y);
        };
        Callbacks.On_Open_Talk = [this](uint16_t id) { Callback_Called("talk " + std::to_string(id)); };
        Callbacks.On_Open_Chest = [this](int32_t x, int32_t y) { Callback_Called("chest" + At(x, y)); };
        Callbacks.On_Refresh_Spells = [this] { Callback_Called("refresh"); };
        Callbacks.On_Player_Death = [this](const std::string& name, int32_t, const std::string& cause,
                                           int32_t, const std::string& killer, int32_t experience,
                                           int32_t level) {
            Callback_Called("death " + name + " by '" + killer + "' of '" + cause + "' xp " +
                            std::to_string(experience) + " L" + std::to_string(level));
            if (killer.empty() && cause.empty()) Fault("the player's death names neither killer nor cause");
            ++Player_Deaths;
        };
    }

    static std::string Who(const TMonster* creature) {
        return creature ? creature->Name + "#" + std::to_string(creature->Id) : "-";
    }

    // ---------------------------------------------------------------------------------------------------
    // The world

    // A creature not yet on the map; its death sound is its tag, unique in the run.
    TMonster Creature(const std::string& name, int32_t x, int32_t y, uint8_t strategy, uint16_t level,
                      double life, uint16_t move_delay) {
        TMonster c;
        c.Name = name;
        c.Picture = name + ".bmp";
        c.Sound_Death = "die_" + std::to_string(++Tags_Made) + ".wav";
        c.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        c.Home_X = c.X;
        c.Home_Y = c.Y;
        c.Movement_Strategy = strategy;
        c.Level = level;
        c.Max_Life = static_cast<uint16_t>(life);
        c.Life = life;
        c.Max_Mana = 20;
        c.Set_Move_Delay(move_delay);
        c.Natural_Attacks.Clear();
        c.Natural_Attacks.Add_Attack("Bite", 100, 0, 1, static_cast<uint16_t>(2 + level), 1, 0);
        c.Attack = static_cast<uint16_t>(10 + 5 * level);
        c.Defense = static_cast<uint16_t>(5 * level);
        return c;
    }
    TMonster* Place(const TMonster& creature) {
        TMonster* stored = Map->Monster_List.Add_Monster(creature);
        Map->Place_Monster(*stored);
        Created.insert(stored->Sound_Death);
        return stored;
    }
    TItem* Give(TMonster& creature, int32_t slot, const std::string& name, uint8_t type,
                uint16_t quantity = 0) {
        TItem item;
        item.Name = name;
        item.Item_Type = type;
        item.Quantity = quantity;
        item.Max_Stack = quantity;
        TItem* stored = Map->Item_List.Item(Map->Item_List.Add(&item));
        EXPECT_TRUE(creature.Inventory.Put_In_Slot(stored, slot));
        creature.Recalculate_Stats();
        return stored;
    }

    // Monsters shoot only at a creature next to them; the arrows run out.
    void Arm_With_Bow(TMonster& creature, uint16_t arrow_count) {
        TItem* bow = Give(creature, 6, "Bow", Item_Type_Misc);
        bow->Damage.Set(2, 5, 6, Fx_Arrow);
        bow->Ammo_Required = "Arrow";
        bow->Use_Sound = "bow_twang.wav";
        TItem* arrows = Give(creature, 13, "Arrows", Item_Type_Ammo, arrow_count);
        arrows->Ammo_Type = "arrow";
        arrows->Use_Sound = "bow_shot.wav";
        creature.Recalculate_Stats();
    }

    // A 200 x 200 map of rock with a 40 x 40 floor arena at 20..59, a pillar and a wall with a closed door.
    void Build_World(uint64_t seed, int percent, bool flag_4) {
        Install_Sprites_List(nullptr);
        Set_Player(nullptr);
        Install_Current_Map(nullptr);
        Seed = seed;
        Seed_Random(seed);
        Set_Manual_Clock(1000000);
        Machine_Options().Game_Speed_Modified_Percent = percent;
        Create_Game_Options().Flag_4 = flag_4;
        Display = std::make_shared<TRecording_Display_Sink>();
        Install_Display_Sink(Display);
        Install_Sprites_List(std::make_unique<TSprites_List>());
        Install_Current_Map(std::make_unique<TWatched_Map>(Context));
        Map = Current_Map();
        Log.clear();
        Events.clear();
        Deaths.clear();
        Died.clear();
        Created.clear();
        Pending_Deaths.clear();
        Player_Deaths = 0;
        Tags_Made = 0;
        Reinforcements = 0;
        Faults.clear();
        Box_Low = {Map_Width, Map_Height};
        Box_High = {1, 1};

        const auto terrain = [&](uint8_t movement, uint8_t vision, uint16_t data_id) {
            TTerrain t;
            t.Movement_Flags = movement;
            t.Vision_Flags = vision;
            t.Data_Id = data_id;
            return Map->Terrain_List.Add(t);
        };
        const uint16_t floor = terrain(Movement_Land | Movement_Air, Vision_Normal, 1);
        const uint16_t rock = terrain(0, 0, 2);
        const uint16_t door = terrain(Movement_Ethereal, 0, 3);
        for (int32_t x = 1; x <= Map_Width; ++x)
            for (int32_t y = 1; y <= Map_Height; ++y) {
                const bool inside = x >= Arena_Low && x <= Arena_High && y >= Arena_Low && y <= Arena_High;
                Map->Get_Square(x, y)->Terrain_Id = inside ? floor : rock;
            }
        for (int32_t x = 30; x <= 31; ++x)
            for (int32_t y = 44; y <= 45; ++y) Map->Get_Square(x, y)->Terrain_Id = rock;
        for (int32_t y = 26; y <= 36; ++y) Map->Get_Square(46, y)->Terrain_Id = y == 31 ? door : rock;

        TMonster hero = Creature("Hero", 40, 40, Strategy_Stay_Put, 1, 1, 0);
        hero.Set_Class(1);
        hero.Base_Strength = hero.Base_Dexterity = hero.Base_Constitution = 12;
        hero.Natural_Attacks.Clear();
        hero.Natural_Attacks.Add_Attack("Hands", 100, 0, 1, 4, 1, 0);
        hero.Add_Permanent_Effect(Effect_Attacker_Takes_Damage, 2, 2);
        hero.Add_Permanent_Effect(Effect_More_Gold, 50, 50);
        hero.Recalculate_Stats();
        hero.Fill_Life();
        hero.Food = 12;
        TMonster* player = Place(hero);
        Set_Player(player);
        TItem* sword = Give(*player, 6, "Sword", Item_Type_Misc);
        sword->Damage.Set(3, 8, 1, 0);
        // Healing draughts in one stack keep the fight going on long runs, each drink using one; a third of
        // the seeds have none, so the player's death is played too.
        if (const uint16_t count = static_cast<uint16_t>(3 * (Seed % 3))) {
            TItem* draughts = Give(*player, 14, "Healing Draught", Item_Type_Misc, count);
            draughts->Consumption_Type = Consumption_Health;
            draughts->Consumption_Value = 40;
        }
        player->Fill_Life();

        TMonster* hunter = Place(Creature("Orc", 52, 50, Strategy_Hunt, 2, 30, 500));
        hunter->Event_Id = Hunter_Event;
        hunter->Add_Permanent_Effect(Effect_Life_Stolen, 20, 20);
        Give(*hunter, 11, "Gold", Item_Type_Gold, 40)->Max_Stack = 60000;
        Give(*hunter, 12, "Dagger", Item_Type_Misc);
        Arm_With_Bow(*hunter, 20);

        Arm_With_Bow(*Place(Creature("Archer", 24, 24, Strategy_Ranged_Hunt, 2, 20, 500)), 30);

        TMonster* bat = Place(Creature("Bat", 55, 24, Strategy_Wander_Around, 1, 10, 350));
        bat->Movement_Flags = Movement_Land | Movement_Air;
        Place(Creature("Imp", 24, 55, Strategy_Keep_Away, 1, 12, 500));
        Place(Creature("Guardian", 44, 28, Strategy_Anchored_5_Squares, 3, 40, 700));

        TMonster* shaman = Place(Creature("Shaman", 30, 52, Strategy_Hunt, 3, 25, 600));
        shaman->Spells.Set_Spell(Spell_Frost, 2, 40);
        shaman->Spells.Set_Spell(Spell_Summon, 1, 25);

        TMonster* spider = Place(Creature("Spider", 36, 22, Strategy_Hunt, 2, 15, 450));
        spider->Add_Permanent_Effect(Effect_Poison_Damage, 1, 3);

        TMonster* dog = Place(Creature("Dog", 41, 41, Strategy_Guard_Monster, 2, 25, 3000));
        dog->Set_Leader(static_cast<int16_t>(player->Id));
        dog->Set_Guard_Range(3);
        dog->Attack = 25;

        TMonster* rat = Place(Creature("Rat", 50, 36, Strategy_Hunt, 0, 6, 400));
        rat->Attack = 0;
        rat->Defense = 0;

        TMonster* smith = Place(Creature("Smith", 28, 40, Strategy_Stay_Put, 2, 30, 800));
        smith->Store_Id = 1;
        smith->Does_Attack = false;
        Give(*smith, 6, "Hammer", Item_Type_Misc);
        Give(*smith, 11, "Gold", Item_Type_Gold, 100);
        Merchant_Id = smith->Id;
        Merchant_Tag = smith->Sound_Death;

        for (int32_t id = 1; id <= Map->Monster_List.Get_Count(); ++id)
            if (TMonster* c = Map->Monster_List.Get_Monster(static_cast<std::size_t>(id)))
                c->Recalculate_Stats();
        Initial_Item_Count = Map->Item_List.Count();
    }

    // ---------------------------------------------------------------------------------------------------
    // The tick

    // Reinforcements keep the fight going for as long as the player lives: every 10 s, while fewer than
    // four hostile creatures are left, one more enters near a corner of the arena.
    void Reinforce() {
        const TMonster* player = Player();
        if (!player || Tick_Number % 200 != 0) return;
        int hostile = 0;
        for (int32_t id = 1; id <= Map->Monster_List.Get_Count(); ++id) {
            const TMonster* c = Map->Monster_List.Get_Monster(static_cast<std::size_t>(id));
            hostile += c && c != player && c->Does_Attack && c->Leader_Id != player->Id;
        }
        if (hostile >= 4) return;
        const int kind = Reinforcements++ % 3;
        int32_t x = 0, y = 0;
        if (!Map->Find_Free_Square_Near(kind == 1 ? 22 : 57, kind == 2 ? 22 : 57, x, y)) return;
        const uint16_t level = static_cast<uint16_t>(std::min(2 + Reinforcements / 6, 8));
        TMonster c = Creature(kind == 0   ? "Ghoul"
                              : kind == 1 ? "Adept"
                                          : "Viper",
                              x, y, Strategy_Hunt, level, 15 + 5 * level, 450);
        if (kind == 1) {
            c.Spells.Set_Spell(Spell_Frost, level, 40);
            c.Spells.Set_Spell(Spell_Summon, 1, 25);
        }
        if (kind == 2) c.Add_Permanent_Effect(Effect_Poison_Damage, 1, level);
        Place(c);
    }

    // The player's bot: a blow at an adjacent hostile, otherwise a step toward the nearest one.
    void Drive_Player() {
        TMonster* player = Player();
        if (!player || !player->Ready_To_Move()) return;
        if (player->Life * 3 < player->Max_Life) player->Drink_Health_Potion();
        TMonster* target = nullptr;
        int32_t best = 0;
        for (int32_t id = 1; id <= Map->Monster_List.Get_Count(); ++id) {
            TMonster* c = Map->Monster_List.Get_Monster(static_cast<std::size_t>(id));
            if (!c || c == player || !c->Does_Attack || c->Leader_Id == player->Id) continue;
            const int32_t range = TMap::Get_Range(player->X, player->Y, c->X, c->Y);
            if (!target || range < best) {
                target = c;
                best = range;
            }
        }
        if (!target) return;
        Context.Phase = TPhase::Player_Action;
        if (best <= 1) {
            Do_Action_At(*player, Action_Any, target->X, target->Y, Callbacks, 0);
        } else if (const auto next =
                       Find_Path({player->X, player->Y}, {target->X, target->Y}, player->Movement_Flags)) {
            if (const uint8_t direction = Direction_To(player->X, player->Y, next->X, next->Y))
                player->Step(direction);
        }
        Context.Phase = TPhase::Idle;
    }

    void Note_Sprites() {
        Sprite_Notes.clear();
        const TSprites_List& sprites = *Sprites_List();
        for (int32_t n = 1; n <= sprites.Count(); ++n) {
            const TSprite& s = *sprites.Get_Sprite(n);
            const auto square = [](double pos, double vel) {
                return static_cast<int64_t>(std::trunc(pos + vel + Sprite_Square_Pixels / 2.0)) /
                       Sprite_Square_Pixels;
            };
            Sprite_Notes.push_back({s.Sprite_Id, s.Sprite_Kind, s.Attacker_Id, s.Target_Id, s.Attacker_Name,
                                    square(s.Pos_X, s.Vel_X), square(s.Pos_Y, s.Vel_Y)});
        }
    }

    // One tick; false once a fault was found. With creatures_act false only the sprites run (the drain).
    bool Tick(bool creatures_act = true) {
        ++Tick_Number;
        Advance_Manual_Clock(Tick_Ms);
        Before = Live_Tags();
        Created.clear();
        Grow_Box();
        if (creatures_act) {
            Reinforce();
            Drive_Player();
            Map->Update_Monsters(Callbacks, Ticks_Per_Second);
        }
        Note_Sprites();
        Context.Phase = TPhase::Sprites;
        Sprites_List()->Update();
        Context.Phase = TPhase::Idle;
        Map->End_Tick();
        Check_World();
        Check_Deaths();
        return Faults.empty();
    }

    // ---------------------------------------------------------------------------------------------------
    // Deaths

    // Every sound is logged; a death sound (a creature's tag) is the moment it dies, while it still stands
    // on its square with its items.
    void Heard(const std::string& name, const std::string& line) {
        Log.push_back(line);
        if (name.rfind("die_", 0) != 0) return;
        TMonster* dying = nullptr;
        for (int32_t id = 1; id <= Map->Monster_List.Get_Count() && !dying; ++id) {
            TMonster* c = Map->Monster_List.Get_Monster(static_cast<std::size_t>(id));
            if (c && c->Sound_Death == name) dying = c;
        }
        if (!dying) {
            Fault("a creature not on the map died: " + name);
            return;
        }
        TDeath death;
        death.Tag = name;
        death.Id = dying->Id;
        death.Was_Player = dying == Player();
        death.X = dying->X;
        death.Y = dying->Y;
        death.Event_Id = dying->Event_Id;
        for (int32_t n = 1; n <= dying->Inventory.Count(); ++n)
            death.Items.push_back(dying->Inventory.Contents().Id(n));
        Find_Killer(*dying, death);
        Pending_Deaths.push_back(std::move(death));
    }

    void Find_Killer(const TMonster& dying, TDeath& death) const {
        if (Context.Phase == TPhase::Creature_Turn && Context.Acting_Id == dying.Id) {
            // Its own turn: poison (the poisoner is named while it stands) or hunger.
            if (dying.Status == Status_Poisoned) {
                death.Cause = "poison";
                if (Map->Monster_List.Get_Monster(dying.Status_Source))
                    death.Killers.insert(dying.Status_Source);
            } else if (death.Was_Player && dying.Food == 0) {
                death.Cause = "hunger";
            }
            return;
        }
        if (Context.Phase != TPhase::Sprites) return; // damage lands only through sprites
        const TSprites_List& sprites = *Sprites_List();
        std::set<uint32_t> present;
        for (int32_t n = 1; n <= sprites.Count(); ++n) present.insert(sprites.Get_Sprite(n)->Sprite_Id);
        const auto creature_at = [&](int64_t x, int64_t y) -> const TMonster* {
            if (x < 1 || x > Map_Width || y < 1 || y > Map_Height) return nullptr;
            return Map->Get_Square(static_cast<int32_t>(x), static_cast<int32_t>(y))->Get_Monster();
        };
        for (const TSprite_Note& s : Sprite_Notes) {
            if (present.count(s.Id)) continue; // it has not landed
            uint16_t victim = 0;
            if (s.Kind == Sprite_Kind_Damage) {
                victim = s.Target;
            } else if (s.Kind == Sprite_Kind_Missile) {
                const TMonster* struck = creature_at(s.Strike_X, s.Strike_Y);
                if (!struck || struck->Id == s.Attacker) continue;
                victim = struck->Id;
            } else {
                continue;
            }
            if (victim == dying.Id && s.Attacker == 0) death.Cause = s.Attacker_Name;
            if (victim == dying.Id && s.Attacker != 0) death.Killers.insert(s.Attacker);
            // The blow's target gave some of it back ("Attacker Takes Damage").
            if (s.Attacker == dying.Id && victim != 0) death.Killers.insert(victim);
        }
    }

    // ---------------------------------------------------------------------------------------------------
    // The invariants

    void Fault(const std::string& what) {
        if (Faults.size() < 10) Faults.push_back("tick " + std::to_string(Tick_Number) + ": " + what);
    }

    std::set<std::string> Live_Tags() const {
        std::set<std::string> tags;
        for (int32_t id = 1; id <= Map->Monster_List.Get_Count(); ++id)
            if (const TMonster* c = Map->Monster_List.Get_Monster(static_cast<std::size_t>(id)))
                tags.insert(c->Sound_Death);
        return tags;
    }

    // Where the square keeps its items: its single item or its pile's.
    std::vector<uint16_t> Items_On(const TMap_Square& square) {
        if (square.Item_Field == 0) return {};
        if (!square.Is_Pile()) return {square.Item_Field};
        const TItem_Collection* pile = Map->Get_Item_Pile(square.Item_Field);
        if (!pile) {
            Fault("a square names a missing pile");
            return {};
        }
        std::vector<uint16_t> ids;
        for (int32_t n = 1; n <= pile->Count(); ++n) ids.push_back(pile->Id(n));
        return ids;
    }

    // Widens the box of squares a creature may have reached by the reach of a summoning.
    void Grow_Box() {
        constexpr int32_t Reach = 10;
        for (int32_t id = 1; id <= Map->Monster_List.Get_Count(); ++id)
            if (const TMonster* c = Map->Monster_List.Get_Monster(static_cast<std::size_t>(id))) {
                Box_Low = {std::max(1, std::min<int32_t>(Box_Low.X, c->X - Reach)),
                           std::max(1, std::min<int32_t>(Box_Low.Y, c->Y - Reach))};
                Box_High = {std::min(Map_Width, std::max<int32_t>(Box_High.X, c->X + Reach)),
                            std::min(Map_Height, std::max<int32_t>(Box_High.Y, c->Y + Reach))};
            }
    }

    void Check_World(bool whole = false) {
        Grow_Box();
        const TMonster_List& list = Map->Monster_List;
        const TMonster* player = Player();
        bool player_found = player == nullptr;
        std::map<uint16_t, int> item_places;
        int32_t live = 0;
        for (int32_t id = 1; id <= list.Get_Count(); ++id) {
            const TMonster* c = list.Get_Monster(static_cast<std::size_t>(id));
            if (!c) continue;
            ++live;
            player_found = player_found || c == player;
            const TMap_Square* square = Map->Get_Square(c->X, c->Y);
            if (c->Id != id)
                Fault(c->Name + " in slot " + std::to_string(id) + " has id " + std::to_string(c->Id));
            if (!square || square->Monster_Id != id)
                Fault(Who(c) + " is not recorded on its square" + At(c->X, c->Y));
            if (c->Is_Marked_Released()) Fault(Who(c) + " is listed but released");
            if (c != player && player && c->X == player->X && c->Y == player->Y)
                Fault(Who(c) + " shares the player's square");
            for (int32_t n = 1; n <= c->Inventory.Count(); ++n) ++item_places[c->Inventory.Contents().Id(n)];
        }
        if (!player_found) Fault("the player reference names no live creature");
        if (Player_Deaths > 0 && player) Fault("the player reference outlived his death");
        if (Player_Deaths > 1) Fault("the player died twice");
        const TMonster* merchant = list.Get_Monster(Merchant_Id);
        if (!merchant || merchant->Sound_Death != Merchant_Tag) Fault("the merchant is gone");

        // Squares are read in the box every creature has come near; the whole map now and then, and at the
        // end of a run, finds anything left elsewhere.
        const bool whole_map = whole || Tick_Number % 200 == 0;
        int32_t occupied = 0;
        for (int32_t x = whole_map ? 1 : Box_Low.X; x <= (whole_map ? Map_Width : Box_High.X); ++x)
            for (int32_t y = whole_map ? 1 : Box_Low.Y; y <= (whole_map ? Map_Height : Box_High.Y); ++y) {
                const TMap_Square& square = *Map->Get_Square(x, y);
                if (square.Monster_Id != 0) {
                    ++occupied;
                    const TMonster* c = list.Get_Monster(square.Monster_Id);
                    if (!c || c->X != x || c->Y != y)
                        Fault("square" + At(x, y) + " names creature " + std::to_string(square.Monster_Id) +
                              ", which is not there");
                }
                if (square.Item_Field != 0)
                    for (const uint16_t id : Items_On(square)) ++item_places[id];
            }
        if (occupied != live)
            Fault(std::to_string(occupied) + " squares occupied by " + std::to_string(live) + " creatures");

        if (Map->Item_List.Count() > Initial_Item_Count) Fault("the item list grew");
        for (const auto& [id, places] : item_places) {
            if (!Map->Item_List.Item(id)) Fault("item " + std::to_string(id) + " is gone but still named");
            if (places != 1)
                Fault("item " + std::to_string(id) + " is in " + std::to_string(places) + " places");
        }
        for (uint16_t id = 1; id <= Map->Item_List.Count(); ++id)
            if (Map->Item_List.Item(id) && !item_places.count(id))
                Fault("item " + std::to_string(id) + " is nowhere");
    }

    void Check_Deaths() {
        std::set<std::string> left;
        const std::set<std::string> now = Live_Tags();
        for (const std::set<std::string>* tags : {&Before, &Created})
            for (const std::string& tag : *tags)
                if (!now.count(tag)) left.insert(tag);
        std::set<std::string> recorded;
        for (const TDeath& death : Pending_Deaths) {
            recorded.insert(death.Tag);
            if (!Died.insert(death.Tag).second) Fault("creature " + std::to_string(death.Id) + " died twice");
            if (!left.count(death.Tag))
                Fault("creature " + std::to_string(death.Id) + " died but is still listed");
            if (death.Killers.empty() && death.Cause.empty())
                Fault("creature " + std::to_string(death.Id) + " died of nothing");
            const TMap_Square& square = *Map->Get_Square(death.X, death.Y);
            const std::vector<uint16_t> there = Items_On(square);
            for (const uint16_t item : death.Items)
                if (std::find(there.begin(), there.end(), item) == there.end())
                    Fault("item " + std::to_string(item) + " of creature " + std::to_string(death.Id) +
                          " is not where it died");
            if (death.Was_Player && Player_Deaths != 1) Fault("the player died without his death report");
            Deaths.push_back(death);
        }
        for (const std::string& tag : left)
            if (!recorded.count(tag)) Fault("a creature left the map without dying: " + tag);
        Pending_Deaths.clear();
        std::map<int32_t, int> expected_events;
        for (const TDeath& death : Deaths)
            if (death.Event_Id != 0) ++expected_events[death.Event_Id];
        if (expected_events != Events) Fault("the event hook was not told of every death");
    }

    // ---------------------------------------------------------------------------------------------------
    // Runs

    struct TRun_Summary {
        int Deaths = 0, Player_Deaths = 0, Attacks = 0, Spells = 0, Arrows = 0, Summoned = 0;
    };

    // Plays the seed; every fault is reported with the seed.
    TRun_Summary Run(uint64_t seed, int ticks, int percent = 100, bool flag_4 = true) {
        Build_World(seed, percent, flag_4);
        TRun_Summary summary;
        Tick_Number = 0;
        for (int tick = 1; tick <= ticks; ++tick)
            if (!Tick()) break;
        Check_World(true);
        Report(seed);
        if (std::getenv("MURK_WORLD_DUMP"))
            for (const std::string& l : Log) std::cout << l << "\n";
        summary.Deaths = static_cast<int>(Deaths.size());
        summary.Player_Deaths = Player_Deaths;
        for (const std::string& line : Log) {
            summary.Attacks += line.rfind("attack ", 0) == 0;
            summary.Spells += line.rfind("spell ", 0) == 0;
            summary.Arrows += line.rfind("sound bow_shot.wav", 0) == 0;
            summary.Summoned += line.find("Call Wolves") != std::string::npos;
        }
        return summary;
    }

    uint32_t Count_Missiles() const {
        uint32_t missiles = 0;
        const TSprites_List& sprites = *Sprites_List();
        for (int32_t n = 1; n <= sprites.Count(); ++n)
            missiles += sprites.Get_Sprite(n)->Sprite_Kind == Sprite_Kind_Missile;
        return missiles;
    }

    void Report(uint64_t seed) {
        for (const std::string& fault : Faults) ADD_FAILURE() << "seed " << seed << ", " << fault;
    }

    // Several seeds at one setting; the fight must have happened somewhere in them.
    void Run_Seeds(const std::vector<uint64_t>& seeds, int ticks, int percent, bool flag_4) {
        TRun_Summary total;
        for (const uint64_t seed : seeds) {
            const TRun_Summary s = Run(seed, ticks, percent, flag_4);
            total.Deaths += s.Deaths;
            total.Player_Deaths += s.Player_Deaths;
            total.Attacks += s.Attacks;
            total.Spells += s.Spells;
            total.Arrows += s.Arrows;
            total.Summoned += s.Summoned;
            if (HasFailure()) return;
        }
        // The world must have been exercised, not merely left standing.
        if (ticks >= 1000 && seeds.size() >= 5) {
            EXPECT_GT(total.Deaths, 0);
            EXPECT_GT(total.Player_Deaths, 0);
            EXPECT_GT(total.Attacks, 0);
            EXPECT_GT(total.Spells, 0);
            EXPECT_GT(total.Arrows, 0);
            EXPECT_GT(total.Summoned, 0);
        }
        std::cout << "[ world    ] " << seeds.size() << " seeds x " << ticks << " ticks at " << percent
                  << " %: " << total.Deaths << " deaths (" << total.Player_Deaths << " of the player), "
                  << total.Attacks << " blows and shots, " << total.Spells << " spell calls, " << total.Arrows
                  << " arrows, " << total.Summoned << " summoned\n";
    }

    TContext Context;
    TMap* Map = nullptr;
    TCallback_Set Callbacks;
    std::shared_ptr<TRecording_Display_Sink> Display;
    TLines Log;
    std::map<int32_t, int> Events;
    std::vector<TDeath> Deaths, Pending_Deaths;
    std::set<std::string> Died, Created, Before;
    std::vector<TSprite_Note> Sprite_Notes;
    std::vector<std::string> Faults;
    int Player_Deaths = 0;
    TSquare_Position Box_Low, Box_High;
    int Tags_Made = 0;
    int Reinforcements = 0;
    int Tick_Number = 0;
    uint64_t Seed = 0; // the seed being played
    int Initial_Item_Count = 0;
    uint16_t Merchant_Id = 0;
    std::string Merchant_Tag;
};

TEST_F(world_headless, SeedsAtNormalSpeed) {
    Run_Seeds(Seeds(20), Ticks(2000), 100, true);
}

TEST_F(world_headless, SeedsAtDoubleSpeed) {
    Run_Seeds(Seeds(20), Ticks(2000), 200, true);
}

TEST_F(world_headless, SeedsWithoutTheDangerCost) {
    // The player's steps skip the terrain test, never the creature test: he never shares a square.
    Run_Seeds(Seeds(20), Ticks(2000), 100, false);
}

TEST_F(world_headless, DrainEmptiesTheSprites) {
    // Play until arrows fly and hits wait to land, then stop every creature: within 6 s every sprite has
    // landed or run out.
    int drained = 0;
    for (const uint64_t seed : Seeds(5)) {
        Build_World(seed, 100, true);
        Tick_Number = 0;
        bool busy = false;
        while (!busy && Tick_Number < Ticks(2000) && Tick()) {
            const TSprites_List& sprites = *Sprites_List();
            bool waiting = false;
            for (int32_t n = 1; n <= sprites.Count(); ++n)
                waiting = waiting || !sprites.Get_Sprite(n)->Active;
            busy = waiting && Count_Missiles() > 0;
        }
        if (!busy) continue;
        ++drained;
        for (int tick = 0; tick < 6000 / static_cast<int>(Tick_Ms) && Tick(false); ++tick) {
        }
        EXPECT_EQ(Sprites_List()->Count(), 0) << "seed " << seed;
        Report(seed);
    }
    EXPECT_GT(drained, 0) << "no seed had missiles and waiting hits in flight at once";
}

TEST_F(world_headless, TheSameSeedGivesTheSameLog) {
    for (const uint64_t seed : Seeds(2)) {
        Run(seed, Ticks(2000) / 2);
        const TLines first = Log;
        Run(seed, Ticks(2000) / 2);
        EXPECT_EQ(Log, first) << "seed " << seed;
        EXPECT_GT(first.size(), 100u);
    }
}

} // namespace
