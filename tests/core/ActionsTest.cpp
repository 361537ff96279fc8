#include "core/Actions.h"
#include "core/ActionHooks.h"
#include "core/DisplaySeam.h"
#include "core/Spells.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using TLines = std::vector<std::string>;

enum : uint8_t {
    Fx_Ignores_Defense = 1,
    Fx_Damage = 7,
    Fx_Bash_Doors = 51,
    Fx_Detect_Traps = 53,
    Fx_Pick_Locks = 54
};

std::string At(int32_t x, int32_t y) {
    return " @" + std::to_string(x) + "," + std::to_string(y);
}
TLines Split(const std::string& text, char separator) {
    TLines pieces;
    std::istringstream in(text);
    for (std::string piece; std::getline(in, piece, separator);) pieces.push_back(piece);
    return pieces;
}
std::string Who(const TMonster* creature) {
    return creature ? creature->Name : "-";
}

// The trap groups file has "Barrow Traps" only; the summoning classes file has "Skeleton" only.
class TFake_Hooks : public TAction_Hooks {
public:
    bool Pick_Trap(const std::string& group_name, int32_t level, TDamage& trap) override {
        Trap_Asks.push_back(group_name + " L" + std::to_string(level));
        if (group_name != "Barrow Traps") return false;
        trap.Set(7, 7, 0, 0);
        trap.Effects.Add_Effect(Effect_Fire_Damage, 3, 3);
        return true;
    }
    std::unique_ptr<TSummoner> Open_Summoner(const std::string& class_name) override {
        struct TSkeletons : TSummoner {
            uint16_t Create_Monster(int32_t x, int32_t y, int32_t level) override {
                TMonster skeleton;
                skeleton.Name = "Skeleton";
                skeleton.Picture = "skeleton.bmp";
                skeleton.Level = static_cast<uint16_t>(level);
                skeleton.Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
                TMonster* stored = Current_Map()->Monster_List.Add_Monster(skeleton);
                Current_Map()->Place_Monster(*stored);
                return stored->Id;
            }
        };
        return class_name == "skeleton" ? std::make_unique<TSkeletons>() : nullptr;
    }
    TLines Trap_Asks;
};

// Every callback and every sound, in the order they came.
class Actions : public TMap_Fixture {
protected:
    struct TLog_Sounds : TSound_Sink {
        TLines* Log;
        explicit TLog_Sounds(TLines* log) : Log(log) {}
        void Sound_Play(const std::string& name) override { Log->push_back("sound " + name); }
        void Sound_Play_At(const std::string& name, int x, int y, int, int) override {
            Log->push_back("sound " + name + At(x, y));
        }
    };
    void SetUp() override {
        TMap_Fixture::SetUp();
        Install_Sound_Sink(std::make_shared<TLog_Sounds>(&Log));
        Install_Action_Hooks(Hooks);
        Install_Display_Sink(Display);
        Display->Monster_Sheet = {"rat.bmp", "bat.bmp"};
        Callbacks.On_Attack_Animation = [this](TMonster* a, TMonster* t, const std::string& name,
                                               const std::string& sound, bool hit, const TDamage& damage,
                                               int32_t, uint8_t, int32_t, int32_t x, int32_t y) {
            Log.push_back("attack " + Who(a) + ">" + Who(t) + " '" + name + "' " + (hit ? "hit" : "miss") +
                          At(x, y));
            Hit_Sounds.push_back(sound);
            Damages.push_back(damage);
        };
        Callbacks.On_Missile_Animation = [this](TMonster* c, TMonster* t, const std::string& name, bool hit,
                                                const std::string& sound, int32_t level, const TSpell*,
                                                const TDamage& damage, int32_t x, int32_t y) {
            Log.push_back("spell " + Who(c) + ">" + Who(t) + " '" + name + "' " + (hit ? "hit " : "- ") +
                          sound + " L" + std::to_string(level) + At(x, y));
            Damages.push_back(damage);
        };
        Callbacks.On_Open_Talk = [this](uint16_t id) { Log.push_back("talk " + std::to_string(id)); };
        Callbacks.On_Open_Chest = [this](int32_t x, int32_t y) { Log.push_back("chest" + At(x, y)); };
        Callbacks.On_Refresh_Spells = [this] { Log.push_back("refresh"); };
    }
    void TearDown() override {
        Free_Master_Spells();
        Install_Action_Hooks(nullptr);
        Install_Display_Sink(nullptr);
        TMap_Fixture::TearDown();
    }

    // Master spells in id order, each "Name|Target|key=value;key=value|effect=amount;...": the keys not
    // given are 0 or empty, each effect keeps its amount at every level.
    void Load_Spells(const TLines& spells) {
        const TLines empty =
            Split("Description;Requirement Other Spell Name;Sound File Cast;Effects Only Apply to "
                  "Weapon Type;Monster Summoned Name",
                  ';');
        const TLines numbers = Split("Picture ID;Mana Cost to Cast;Increase In Mana Cost Per Level;Maximum "
                                     "Mana Cost;Duration;Increase In "
                                     "Duration Per Level;Maximum Duration;Requirement Other Spell Minimum "
                                     "Level;Monster Summoned Base Count;"
                                     "Monster Summoned Increase Count Per Level;Monster Summoned Maximum "
                                     "Count;Area Effect Radius;Increase In "
                                     "Area Effect Radius Per Level;Maximum Area Effect Radius;Damage Amount "
                                     "Min;Damage Amount Max;Damage "
                                     "Maximum Range;Maximum Levels From Start",
                                     ';');
        std::vector<TKeys> records;
        for (const std::string& spell : spells) {
            TLines parts = Split(spell, '|');
            parts.resize(4);
            TKeys record = {{"Name", parts[0]}, {"Target Type", parts[1]}, {"Damage Firing FX", "None"}};
            record.push_back({"Picture Is Maskable", "TRUE"});
            for (const std::string& key : empty) record.push_back({key, ""});
            for (const std::string& key : numbers) record.push_back({key, "0"});
            TKeys changes;
            for (const std::string& pair : Split(parts[2], ';'))
                changes.push_back({pair.substr(0, pair.find('=')), pair.substr(pair.find('=') + 1)});
            int n = 0;
            for (const std::string& pair : Split(parts[3], ';')) {
                const std::string e = "Effect " + std::to_string(++n),
                                  amount = pair.substr(pair.find('=') + 1);
                changes.insert(changes.end(),
                               {{e + " Type", pair.substr(0, pair.find('='))}, {e + " Min Amount", amount}});
                changes.insert(changes.end(),
                               {{e + " Max Amount", amount}, {e + " Per Level Modifier Type", "Number"}});
                changes.insert(changes.end(), {{e + " Min Amt Per Level Modifier", "0"},
                                               {e + " Max Amt Per Level Modifier", "0"}});
            }
            changes.push_back({"Number of Effects", std::to_string(n)});
            records.push_back(With(record, changes));
        }
        Folder.Write("Data/Spells.txt", Data_File_Text(records, "Spells"));
        ASSERT_TRUE(Load_Master_Spells());
    }
    TMonster* Hero(int x, int y) {
        TMonster* hero = Add_Creature(x, y, "hero");
        hero->Max_Mana = hero->Mana = 20;
        hero->Max_Life = 50;
        hero->Life = 10;
        Set_Player(hero);
        return hero;
    }
    TItem* Give(TMonster& creature, TItem* item, int slot) {
        EXPECT_TRUE(creature.Inventory.Put_In_Slot(item, slot));
        creature.Recalculate_Stats();
        return item;
    }
    uint16_t Door(uint16_t data_id, uint16_t open_id, uint16_t bashed_id, bool chest = false) {
        TTerrain terrain;
        terrain.Data_Id = data_id;
        terrain.Next_Terrain_Action = open_id ? Action_Open : Action_None;
        terrain.Next_Terrain_Id_1 = open_id;
        terrain.Next_Terrain_Id_2 = bashed_id;
        terrain.Display_Chest_Window = chest;
        return Map->Terrain_List.Add(terrain);
    }
    TLines Take_Log() { return std::exchange(Log, {}); }

    std::shared_ptr<TFake_Hooks> Hooks = std::make_shared<TFake_Hooks>();
    std::shared_ptr<TRecording_Display_Sink> Display = std::make_shared<TRecording_Display_Sink>();
    TCallback_Set Callbacks;
    TLines Log, Hit_Sounds;
    std::vector<TDamage> Damages;
};

TEST_F(Actions, ClicksOnCreatures) {
    Load_Spells({"Bolt|Монстр|Damage Maximum Range=5;Mana Cost to Cast=3"});
    TMonster* hero = Hero(40, 45);
    Add_Creature(39, 44, "giver")->Can_Be_Given_Items = true;
    TMonster* merchant = Add_Creature(41, 46, "merchant");
    merchant->Store_Id = 1;
    merchant->Does_Attack = false;
    const auto click = [&](int x, int y, int slot) {
        return Do_Action_At(*hero, Action_Any, x, y, Callbacks, slot);
    };

    // One that can only be given items is attacked; a merchant next to the hero is talked to.
    EXPECT_TRUE(click(39, 44, 0));
    EXPECT_EQ(Take_Log().at(1).substr(0, 19), "attack hero>giver '");
    EXPECT_TRUE(click(41, 46, 0));
    EXPECT_EQ(Take_Log(), TLines{"talk " + std::to_string(merchant->Id)});

    // Two squares away: bare hands are only heard; a bow shoots while arrows last, each taking its effects.
    merchant->Move_To(42, 47);
    EXPECT_TRUE(click(42, 47, 0));
    EXPECT_EQ(Take_Log(), TLines{"sound punch.wav @40,45"});
    TItem* bow = Add_Item("bow");
    bow->Damage.Set(2, 2, 5, 0);
    bow->Ammo_Required = " Arrow ";
    bow->Use_Sound = "bow.wav";
    TItem* arrows = Add_Item("arrows", Item_Type_Ammo);
    arrows->Ammo_Type = "arrow";
    arrows->Use_Sound = "arrow.wav";
    arrows->Quantity = 1;
    arrows->Effects.Add_Effect(Fx_Damage, 9, 9);
    Give(*hero, bow, 6);
    const uint16_t arrows_id = Give(*hero, arrows, 11)->Id;
    EXPECT_TRUE(click(42, 47, 0));
    EXPECT_EQ(Take_Log(), (TLines{"sound bow.wav @40,45", "sound arrow.wav @40,45",
                                  "attack hero>merchant 'hero' hit @42,47"}));
    EXPECT_EQ(Damages.back().Rolled_Amount, 2);
    EXPECT_TRUE(Damages.back().Effects.Has_Effect(Fx_Damage));
    EXPECT_EQ(Find_Item(arrows_id), nullptr);
    EXPECT_TRUE(click(42, 47, 0));
    EXPECT_EQ(Take_Log(), TLines{"sound bow.wav @40,45"});

    // With a spell chosen it casts, then the spell buttons refresh; without the mana nothing is cast.
    hero->Spells.Set_Spell(1, 1, 100);
    hero->Spells.Set_Quick_Slot(1, Quick_Slot_Spell, 1);
    EXPECT_TRUE(click(42, 47, 1));
    EXPECT_EQ(Take_Log(), (TLines{"spell hero>merchant 'hero' hit  L1 @42,47", "refresh"}));
    EXPECT_EQ(hero->Mana, 17);
    hero->Mana = 2;
    EXPECT_FALSE(Cast_Spell(*hero, 42, 47, Callbacks, 0, 1));
}

TEST_F(Actions, LockedTrappedDoorOverSeveralClicks) {
    Load_Spells({"Spot|Место|Damage Maximum Range=5"});
    const uint16_t open = Door(53, 0, 0), broken = Door(55, 0, 0), closed = Door(51, 53, 55);
    const uint16_t typo = Door(60, 999, 0), open_chest = Door(41, 0, 0, true), chest = Door(40, 41, 0, true);
    TMonster* hero = Hero(30, 51);
    hero->Level = 4;
    hero->Spells.Set_Spell(1, 1, 100);
    hero->Spells.Set_Quick_Slot(1, Quick_Slot_Spell, 1);
    hero->Add_Permanent_Effect(Fx_Detect_Traps, 100, 100);
    // The door is at 31, 52: a swapped x and y would look at 52, 31, far from the hero.
    Set_Terrain(31, 52, closed);
    Map->Set_Trap("Barrow Traps", 31, 52, true);
    Map->Set_Lock("Village Doors", 31, 52, true);
    const auto click = [&](int x, int y, int slot = 0) {
        return Do_Action_At(*hero, Action_Any, x, y, Callbacks, slot);
    };
    const TMap_Square& door = *Map->Get_Square(31, 52);

    // The trap is seen and gone; the first pick try fails silently and the spell is not cast at the door.
    EXPECT_TRUE(click(31, 52, 1));
    EXPECT_TRUE(!door.Is_Trapped() && door.Is_Locked() && door.Is_Pick_Tried());
    EXPECT_EQ(Take_Log(), TLines{});
    EXPECT_TRUE(click(31, 52, 1));
    EXPECT_EQ(Take_Log(), TLines{"sound shovel.wav @30,51"});
    // A key opens the lock and the door.
    TItem* key = Add_Item("key");
    key->Key_Group = "Village Doors";
    const uint16_t key_id = Give(*hero, key, 12)->Id;
    EXPECT_TRUE(click(31, 52));
    EXPECT_EQ(Take_Log(), TLines{"sound use_key.wav @30,51"});
    EXPECT_EQ(door.Terrain_Id, open);
    EXPECT_EQ(Find_Item(key_id), nullptr);
    // Locked again: the pick stays tried, and a bash breaks the door in instead of opening it.
    Set_Terrain(31, 52, closed);
    Map->Set_Lock("Village Doors", 31, 52, true);
    hero->Add_Permanent_Effect(Fx_Bash_Doors, 100, 100);
    EXPECT_TRUE(click(31, 52));
    EXPECT_EQ(Take_Log(), (TLines{"sound shovel.wav @30,51", "sound doorbash.wav @31,52"}));
    EXPECT_EQ(door.Terrain_Id, broken);
    EXPECT_FALSE(door.Is_Locked());
    // A fresh lock picked at once; a transition to an unknown id keeps the terrain and does nothing.
    Set_Terrain(29, 50, closed);
    Map->Set_Lock("Village Doors", 29, 50, true);
    hero->Add_Permanent_Effect(Fx_Pick_Locks, 100, 100);
    EXPECT_TRUE(click(29, 50));
    EXPECT_EQ(Take_Log(), TLines{"sound unlock.wav @30,51"});
    EXPECT_EQ(Map->Get_Square(29, 50)->Terrain_Id, open);
    Set_Terrain(29, 50, typo);
    EXPECT_FALSE(click(29, 50));
    EXPECT_EQ(Map->Get_Square(29, 50)->Terrain_Id, typo);

    // A trapped chest the hero does not see: the trap strikes him at his level, and the chest stays shut
    // until the next click. A group the file lacks is harmless.
    hero->Permanent_Effects.Clear();
    hero->Add_Permanent_Effect(Fx_Detect_Traps, -10, -10);
    Set_Terrain(31, 50, chest);
    Map->Set_Trap("Barrow Traps", 31, 50, true);
    EXPECT_TRUE(click(31, 50));
    EXPECT_EQ(Take_Log(), TLines{"attack ->hero 'Ловушка' hit @30,51"});
    EXPECT_EQ(Damages.back().Rolled_Amount, 7);
    EXPECT_EQ(Damages.back().Effects.Get_Count(), 1);
    EXPECT_EQ(Hit_Sounds.back(), "fire_min.wav");
    EXPECT_TRUE(click(31, 50));
    Map->Set_Trap("Nowhere", 31, 50, true);
    EXPECT_TRUE(click(31, 50));
    EXPECT_EQ(Take_Log(), (TLines{"chest @31,50", "chest @31,50"}));
    EXPECT_EQ(Map->Get_Square(31, 50)->Terrain_Id, open_chest);
    EXPECT_EQ(Hooks->Trap_Asks, (TLines{"Barrow Traps L4", "Nowhere L4"}));
}

TEST_F(Actions, GroupSpellSelfSpellAndSummons) {
    Load_Spells(
        {"Storm|Группа монстров|Damage Maximum Range=10;Area Effect Radius=2;Duration=6;Mana Cost to Cast=4"
         "|Fire Damage=4",
         "Blink|На себя|Duration=6|Life Current=5;Light Radius=2;Teleport=1",
         "Raise|Нет|Monster Summoned Name= SKELETON ;Monster Summoned Base Count=3;Mana Cost to Cast=5;"
         "Sound File Cast=raise.wav",
         "Call|Нет|Monster Summoned Name=Wraith;Monster Summoned Base Count=1;Mana Cost to Cast=5"});
    TMonster* hero = Hero(60, 70);
    Add_Creature(61, 70, "Skeleton")->Set_Leader(static_cast<int16_t>(hero->Id));
    Add_Creature(59, 72, "a");
    Add_Creature(62, 68, "b");
    Add_Creature(64, 70, "outside");
    for (uint16_t id = 1; id <= 4; ++id) hero->Spells.Set_Spell(id, 1, 100);

    // Every creature of the box but the caster and his follower, each with the whole damage; the master
    // spell keeps its own.
    EXPECT_TRUE(Cast_Spell(*hero, 61, 70, Callbacks, 1, 0));
    EXPECT_EQ(Take_Log(), (TLines{"spell hero>a 'hero' hit fire_min.wav L1 @59,72",
                                  "spell hero>b 'hero' hit fire_min.wav L1 @62,68"}));
    const TDamage& master = *Get_Master_Spell(1)->Damage;
    EXPECT_EQ((std::vector<int>{Damages[0].Effects.Get_Count(), Damages[0].Spell_Amount,
                                Damages[1].Effects.Get_Count(), Damages[1].Spell_Amount,
                                master.Effects.Get_Count(), master.Spell_Amount}),
              (std::vector<int>{1, 6, 1, 6, 0, 0}));
    EXPECT_EQ(hero->Mana, 16);

    // On oneself: life at once, a timed effect for the duration, and a teleport to the one free square.
    hero->Move_To(100, 100);
    for (int x = 99; x <= 101; ++x)
        for (int y = 99; y <= 101; ++y)
            if ((x != 101 || y != 99) && (x != 100 || y != 100)) Set_Terrain(x, y, Wall);
    EXPECT_TRUE(Cast_Spell(*hero, 0, 0, Callbacks, 2, 0));
    EXPECT_EQ(Take_Log(), (TLines{"spell hero>- 'hero' -  L1 @100,100", "spell hero>- '' -  L1 @101,99"}));
    EXPECT_EQ(hero->Life, 15);
    EXPECT_EQ(hero->Timed_Effects.Get_Count(), 1);
    EXPECT_EQ(Map->Get_Square(101, 99)->Monster_Id, hero->Id);

    // Three wanted, two follow (wherever they are): one more, guarding at range 3, its picture's cell set.
    Add_Creature(30, 30, "skeleton")->Set_Leader(static_cast<int16_t>(hero->Id));
    Display->Monster_Sheet.push_back("skeleton.bmp");
    const int before = Map->Monster_List.Get_Count();
    EXPECT_TRUE(Cast_Spell(*hero, 0, 0, Callbacks, 3, 0));
    ASSERT_EQ(Map->Monster_List.Get_Count(), before + 1);
    const TMonster* summoned = Map->Monster_List.Get_Monster(before + 1);
    EXPECT_EQ((std::vector<int>{summoned->Leader_Id, summoned->Guard_Range, summoned->Level,
                                summoned->Picture_Index}),
              (std::vector<int>{hero->Id, 3, 1, 2}));
    EXPECT_EQ(Take_Log(),
              (TLines{"sound raise.wav @101,99", "spell hero>- '' -  L1" + At(summoned->X, summoned->Y)}));
    EXPECT_EQ(hero->Mana, 11);

    // Walled in, or a class the file lacks: nothing is made, and the mana is spent all the same.
    Fill(Wall);
    Set_Terrain(hero->X, hero->Y, Floor);
    Map->Remove_Monster(summoned->Id);
    EXPECT_TRUE(Cast_Spell(*hero, 0, 0, Callbacks, 3, 0));
    EXPECT_TRUE(Cast_Spell(*hero, 0, 0, Callbacks, 4, 0));
    EXPECT_EQ(Map->Monster_List.Get_Monster(before + 1), nullptr);
    EXPECT_EQ(Take_Log(), TLines{});
    EXPECT_EQ(hero->Mana, 1);
}

TEST_F(Actions, MeleeHitChanceWithFixedRolls) {
    struct TCase {
        uint16_t Attack, Defence;
        int32_t Ignore, Chance;
    };
    // Equal levels. Ignoring 150 % of the defence holds it at 0 instead of taking it below.
    const TCase cases[] = {
        {100, 0, 0, 95}, {100, 100, 0, 50}, {100, 100, 50, 66}, {0, 0, 0, 50}, {10, 100, 150, 95}};
    TMonster* hero = Hero(10, 12);
    TMonster* target = Add_Creature(11, 13, "target");
    // The seed whose to-hit draw, after the bare hands' damage roll of 1..4, gives the roll.
    const auto seed_for = [](int32_t roll) {
        for (uint64_t seed = 1;; ++seed) {
            Seed_Random(seed);
            Random_Range(1, 4);
            if (Random_Range(1, 100) == roll) return seed;
        }
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Chance);
        hero->Attack = c.Attack;
        target->Defense = c.Defence;
        hero->Permanent_Effects.Clear();
        hero->Add_Permanent_Effect(Fx_Ignores_Defense, c.Ignore, c.Ignore);
        for (const int32_t roll : {c.Chance, c.Chance + 1}) {
            Seed_Random(seed_for(roll));
            Melee_Attack(*hero, target, 11, 13, Callbacks);
            const bool hit = roll <= c.Chance;
            EXPECT_EQ(Take_Log(),
                      (TLines{"sound punch.wav @10,12", std::string("attack hero>target 'hero' ") +
                                                            (hit ? "hit" : "miss") + " @11,13"}));
            EXPECT_EQ(Hit_Sounds.back().starts_with("miss_0"), !hit);
            EXPECT_TRUE(Damages.back().Effects.Has_Effect(Fx_Ignores_Defense)); // the attacker's own effects
        }
    }
    // A blow at a distance, or at nobody, is only heard.
    Melee_Attack(*hero, target, 12, 14, Callbacks);
    Melee_Attack(*hero, nullptr, 11, 13, Callbacks);
    EXPECT_EQ(Take_Log(), (TLines{"sound punch.wav @10,12", "sound punch.wav @10,12"}));
}

TEST_F(Actions, ScrollStackUsesOneUnit) {
    Load_Spells({"Bolt|Монстр|Damage Maximum Range=5;Maximum Levels From Start=3;Mana Cost to Cast=50"});
    TMonster* hero = Hero(20, 21);
    Add_Creature(22, 23, "rat");
    const auto scroll = [&](const std::string& spell, int slot) {
        TItem* item = Add_Item("scroll", 15);
        item->Spell_Names = {spell};
        item->Spell_Levels.Add(9);
        item->Quantity = 2;
        Give(*hero, item, slot);
        hero->Spells.Set_Quick_Slot(slot - 10, Quick_Slot_Scroll, static_cast<uint16_t>(slot));
        return item->Id;
    };
    const uint16_t bolt = scroll("Bolt", 11), unknown = scroll("Nothing", 12);

    // No mana needed, the level held to the spell's maximum, one unit of the stack used.
    EXPECT_TRUE(Cast_Spell(*hero, 22, 23, Callbacks, 0, 1));
    EXPECT_EQ(Take_Log(), (TLines{"refresh", "spell hero>rat 'hero' hit  L3 @22,23"}));
    ASSERT_NE(Find_Item(bolt), nullptr);
    EXPECT_EQ(Find_Item(bolt)->Quantity, 1);
    // Read before the target is looked for: a cast at nobody still spends it, and the last unit leaves.
    EXPECT_TRUE(Cast_Spell(*hero, 40, 40, Callbacks, 0, 1));
    EXPECT_EQ(Take_Log(), TLines{"refresh"});
    EXPECT_TRUE(Find_Item(bolt) == nullptr && hero->Item_In_Slot(11) == nullptr);
    uint8_t kind = 0;
    uint16_t value = 0;
    hero->Spells.Get_Quick_Slot(1, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Empty);
    // A scroll whose spell is unknown casts nothing and stays whole.
    EXPECT_FALSE(Cast_Spell(*hero, 22, 23, Callbacks, 0, 2));
    EXPECT_EQ(Find_Item(unknown)->Quantity, 2);
    EXPECT_EQ(hero->Mana, 20);
}

TEST_F(Actions, ImpactSounds) {
    // A heavy blow sounds "min", a light one "maj"; each elemental effect replaces what came before.
    const std::vector<std::pair<int32_t, std::vector<std::pair<uint8_t, int32_t>>>> cases = {
        {0, {{Fx_Damage, 50}}},
        {9, {}},
        {10, {}},
        {30, {}},
        {30, {{Effect_Fire_Damage, 5}}},
        {0, {{Effect_Cold_Damage, 10}, {Effect_Poison_Damage, 30}}},
        {0, {{Effect_Lightning_Damage, 29}}}};
    const TLines expected = {"",           "maj.wav", "med.wav", "min.wav", "fire_min.wav", "pois_maj.wav",
                             "lit_med.wav"};
    for (size_t i = 0; i < cases.size(); ++i) {
        TDamage damage;
        damage.Rolled_Amount = cases[i].first;
        TEffect_List effects;
        for (const auto& [type, amount] : cases[i].second) effects.Add_Effect(type, amount, amount);
        const std::string sound = Damage_Sound_Name(damage, effects);
        EXPECT_TRUE(sound.ends_with(expected[i])) << sound;
        if (expected[i].size() == 7) { // a physical blow: one of the five materials
            EXPECT_NE(std::string("chainplateleth_wood_cloth").find(sound.substr(0, 5)), std::string::npos)
                << sound;
        } else {
            EXPECT_EQ(sound, expected[i]);
        }
    }
}

} // namespace
