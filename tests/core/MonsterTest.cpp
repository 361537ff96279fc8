#include "core/Monster.h"

#include "core/CharClass.h"
#include "core/GlobalFuncs.h"
#include "core/HeldItem.h"
#include "core/MachineOptions.h"
#include "core/MapMain.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

// Effect types used below.
enum : uint8_t {
    Fx_Fire_Resist = 14,
    Fx_Poison_Length_Reduction = 43,
    Fx_Strength = 49,
    Fx_Reduce_Movement = 73,
};

std::vector<uint8_t> Record_Of(const TMonster& creature) {
    TStream_Writer w;
    creature.Save_To_Stream(w);
    return w.Bytes();
}

// The size of the tagged value at pos.
size_t Value_Size(const std::vector<uint8_t>& b, size_t pos) {
    switch (b.at(pos)) {
    case Tag_Int8: return 2;
    case Tag_Int16: return 3;
    case Tag_Int32: return 5;
    case Tag_Extended: return 11;
    case Tag_False:
    case Tag_True: return 1;
    case Tag_Short_String: return 2 + b.at(pos + 1);
    case Tag_Long_String:
        return 5 + (b.at(pos + 1) | b.at(pos + 2) << 8 | b.at(pos + 3) << 16 | size_t{b.at(pos + 4)} << 24);
    default: ADD_FAILURE() << "unexpected tag " << int(b[pos]); return 1;
    }
}

// The record with the values at the given positions (counted from 0) left out: how an older version of
// the game wrote it.
std::vector<uint8_t> Without_Values(const std::vector<uint8_t>& record, const std::set<int>& drop) {
    std::vector<uint8_t> out;
    size_t pos = 0;
    for (int index = 0; pos < record.size(); ++index) {
        const size_t size = Value_Size(record, pos);
        if (!drop.count(index)) out.insert(out.end(), record.begin() + pos, record.begin() + pos + size);
        pos += size;
        if (index > *drop.rbegin()) {
            out.insert(out.end(), record.begin() + pos, record.end());
            break;
        }
    }
    return out;
}

// Value positions of the fields later versions added.
const std::set<int> Home_Values = {11, 12};
constexpr int Bonus_Value = 49;

class MonsterTest : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Set_Last_File_Version("1.06");
    }
    void TearDown() override {
        Free_Class_Info();
        Set_Held_Item_Id(0);
        Set_Last_File_Version("");
        Machine_Options().Game_Speed_Modified_Percent = 100;
        TMap_Fixture::TearDown();
    }

    // Class 1 of the table, with factors whose products differ when summed before truncation.
    TClass_Info& Load_Fixture_Class() {
        Folder.Write("Data/Classes.txt", Data_File_Text({{{"Class Name", "Fighter"}}}, "Classes"));
        Reload_Class_Info(); // the missing keys are reported; the record is set below
        TClass_Info& c = *Get_Class(1);
        c.Base_Fire_Resistance = 1;
        c.Base_Maximum_Health = 30;
        c.Base_Maximum_Mana = 5;
        c.Base_Maximum_Hunger = 100;
        c.Base_Maximum_Weight = 20;
        c.Base_Movement_Speed = 300;
        c.Health_Per_Level = 2.5;
        c.Health_Per_Constitution = 1.5;
        c.Mana_Per_Level = 0.5;
        c.Mana_Per_Intelligence = 0.5;
        c.Weight_Per_Strength = 1;
        c.Attack_Per_Dexterity = 1.5;
        c.Defense_Per_Dexterity = 0.5;
        c.Slowdown_Ms_Per_Over_Weight = 25.0;
        c.Characteristic_Points_Per_Level = 5;
        c.Spell_Points_Per_Level = 1;
        c.Experience_Table.Clear();
        for (int32_t need : {100, 300, 600}) c.Experience_Table.Add(need);
        c.Experience_Added_Past_Last_Level = 500;
        return c;
    }

    TItem* Add_Weighted_Item(const std::string& name, uint16_t weight, uint16_t quantity = 0) {
        TItem* item = Add_Item(name);
        item->Weight = weight;
        item->Quantity = quantity;
        item->Max_Stack = quantity;
        return item;
    }
    TItem* Add_Potion(const std::string& name, uint8_t kind, uint16_t value, uint16_t quantity) {
        TItem* item = Add_Item(name, 14);
        item->Class_Name = name; // different classes never stack
        item->Consumption_Type = kind;
        item->Consumption_Value = value;
        item->Quantity = quantity;
        item->Max_Stack = 10;
        return item;
    }

    // A monster with every saved field and owned object set to something other than its default.
    TMonster Rich_Creature() {
        TMonster m;
        m.Id = 7;
        m.Name = "Барроу-вайт";
        m.Description = "d";
        m.Module_Name = "Barrowdeep";
        m.Set_Pictures("wight.bmp", "wight_attack.bmp");
        m.Monster_Group = "undead";
        m.Is_Unique = m.Is_Undead = true;
        m.Set_Position(12, 34);
        m.Home_X = 33;
        m.Home_Y = 44;
        m.Event_Id = -3;
        m.Movement_Flags = 3;
        m.Vision_Flags = 2;
        m.Does_Attack = false;
        m.When_To_Retreat = 1;
        m.Response_Range = 4;
        m.Movement_Strategy = 11;
        m.Set_Move_Delay(700);
        m.Intelligence_Category = 2;
        m.Corpse_Type = 5;
        m.Sound_Attack = "hit.wav";
        m.Sound_Growl = "growl.wav";
        m.Leader_Id = 2;
        m.Guard_Range = 4;
        m.Character_State = Character_In_Use;
        m.Can_Be_Given_Items = true;
        m.Base_Strength = -2;
        m.Base_Dexterity = 11;
        m.Base_Intelligence = 12;
        m.Base_Constitution = 13;
        m.Base_Resist = 20;
        m.Level = 9;
        m.Gold = 123456;
        m.Experience = -5;
        m.Experience_Bonus = 777;
        m.Status = Status_Blind;
        m.Status_Ms = 4000;
        m.Status_Source = 3;
        m.Permanent_Mana = 4;
        m.Permanent_Life = -6;
        m.Max_Mana = 70000; // kept in 16 bits by the record
        m.Mana = 17.25;
        m.Max_Life = 90;
        m.Life = 45.5;
        m.Max_Food = 80;
        m.Food = 60;
        m.Max_Weight = 150;
        m.Life_Regeneration = 1.5;
        m.Mana_Regeneration = 0.125;
        m.Attack = 31;
        m.Defense = 32;
        m.Attribute_Points = 2;
        m.Skill_Points = -1;
        m.Put_Item_In_Slot(Add_Weighted_Item("sword", 4), 6);
        m.Put_Item_In_Slot(Add_Weighted_Item("arrows", 1, 20), 11);
        m.Store_Id = 2;
        m.Talk_Topics = {"имя", "work"};
        m.Talk_Texts = {"Я стражник", "guard"};
        m.Natural_Attacks.Add_Attack("Bite", 40, 500, 2, 9, 1, 0);
        m.Natural_Attacks.Get_Effects(2)->Add_Effect(42, 1, 3);
        m.Add_Permanent_Effect(Fx_Strength, 3, 3);
        m.Spells.Set_Spell(4, 2, 60);
        m.Spells.Set_Quick_Slot(3, Quick_Slot_Spell, 4);
        m.Add_Timed_Effect(Fx_Fire_Resist, 10, 10, 30);
        m.Status_Lines = {"Свирепый"};
        m.Recalculate_Stats();
        return m;
    }
};

TEST_F(MonsterTest, RecordReadsEachVersionsLayoutAndWritesTheLatest) {
    const TMonster original = Rich_Creature();
    const std::vector<uint8_t> record = Record_Of(original);

    struct TCase {
        const char* Version;
        std::set<int> Missing_Values;
        bool Has_Home, Has_Bonus;
    };
    const std::set<int> home_and_bonus = {11, 12, Bonus_Value};
    const TCase cases[] = {
        {"1.00", home_and_bonus, false, false},
        {"1.01", {Bonus_Value}, true, false},
        {"1.06", {}, true, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Version);
        Set_Last_File_Version(c.Version);
        TStream_Reader r(c.Missing_Values.empty() ? record : Without_Values(record, c.Missing_Values));
        TMonster read;
        EXPECT_TRUE(read.Load_From_Stream(r));
        EXPECT_TRUE(r.At_End());
        EXPECT_EQ(read.Home_X, c.Has_Home ? 33 : 0);
        EXPECT_EQ(read.Home_Y, c.Has_Home ? 44 : 0);
        EXPECT_EQ(read.Experience_Bonus, c.Has_Bonus ? 777 : 0);
        EXPECT_EQ(read.Base_Move_Delay, 700);

        // Whatever it was read from, the creature is written in the latest layout, and every other field
        // and owned object came through.
        TMonster expected(original);
        if (!c.Has_Home) expected.Home_X = expected.Home_Y = 0;
        if (!c.Has_Bonus) expected.Experience_Bonus = 0;
        EXPECT_EQ(Record_Of(read), Record_Of(expected));
    }
    EXPECT_EQ(Without_Values(record, Home_Values).size() + 4, record.size());
}

TEST_F(MonsterTest, UnequalParallelListsFailTheRead) {
    struct TCase {
        const char* What;
        void (*Break)(TMonster&);
    };
    const TCase cases[] = {
        {"timed effects", [](TMonster& m) { m.Timed_Effect_Ms.Delete(1); }},
        {"talk texts", [](TMonster& m) { m.Talk_Texts.pop_back(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster broken = Rich_Creature();
        c.Break(broken);
        TStream_Reader r(Record_Of(broken));
        TMonster read;
        EXPECT_THROW(read.Load_From_Stream(r), EStream_Read_Error);
    }
}

TEST_F(MonsterTest, AssignAndCopiesFollowTheCopyRules) {
    TMonster source = Rich_Creature();
    source.Regen_Timer = 999;
    // A copy draws its own move timer: exactly one draw per constructed creature.
    Seed_Random(5);
    TMonster copy(source);
    const int32_t next_draw = Random_Range(0, 1000);
    Seed_Random(5);
    EXPECT_EQ(copy.Move_Timer, Random_Range(0, 10) * 50);
    EXPECT_EQ(next_draw, Random_Range(0, 1000));
    EXPECT_EQ(copy.Regen_Timer, 0);
    EXPECT_EQ(Record_Of(copy), Record_Of(source));

    // The talk lists are copied only when the source has topics.
    TMonster talker;
    talker.Talk_Topics = {"a"};
    talker.Talk_Texts = {"b"};
    TMonster silent;
    talker.Assign(silent);
    EXPECT_EQ(talker.Talk_Topics, TString_List{"a"});
    silent.Assign(source);
    EXPECT_EQ(silent.Talk_Texts, source.Talk_Texts);
}

TEST_F(MonsterTest, PlayerRecalculationFollowsTheClass) {
    Load_Fixture_Class();
    TMonster p;
    p.Level = 2;
    p.Base_Constitution = 3;
    p.Base_Intelligence = 3;
    p.Base_Strength = 10;
    p.Base_Dexterity = 3;
    p.Add_Permanent_Effect(Fx_Fire_Resist, 119, 119);
    p.Set_Class(1);
    EXPECT_EQ(p.Class_Name, "Fighter");
    // Each product truncated on its own: 30 + Trunc(2.5) + Trunc(4.5) = 36, not Trunc(36.5 + ...) = 37.
    EXPECT_EQ(p.Max_Life, 36);
    EXPECT_EQ(p.Max_Mana, 6); // Trunc(0.5) + 5 + Trunc(1.5)
    EXPECT_EQ(p.Attack, 4);   // Trunc(4.5)
    EXPECT_EQ(p.Defense, 1);  // Trunc(1.5)
    EXPECT_EQ(p.Fire_Resist, 95);
    EXPECT_EQ(p.Cold_Resist, 0);
    EXPECT_EQ(p.Light_Radius, 1);
    EXPECT_EQ(p.Max_Weight, 30);

    struct TCase {
        uint16_t Carried;
        int32_t Move_Delay;
    };
    // 10 over the limit at 25 ms each; far over, the delay stops at 3000.
    for (const TCase& c : {TCase{30, 300}, TCase{40, 550}, TCase{500, 3000}}) {
        SCOPED_TRACE(c.Carried);
        TMonster loaded(p);
        loaded.Add_Item(Add_Weighted_Item("stone", c.Carried));
        EXPECT_EQ(loaded.Weight, c.Carried);
        EXPECT_EQ(loaded.Move_Delay, c.Move_Delay);
    }
}

TEST_F(MonsterTest, MonsterRecalculationKeepsItsValuesAndDoesNotRatchet) {
    TMonster m;
    m.Base_Resist = -10;
    m.Max_Life = 40;
    m.Life = 55;
    m.Set_Move_Delay(500);
    m.Add_Timed_Effect(Fx_Reduce_Movement, 100, 100, 5);
    m.Recalculate_Stats();
    m.Recalculate_Stats();
    EXPECT_EQ(m.Move_Delay, 600);
    EXPECT_EQ(m.Fire_Resist, 0);
    EXPECT_EQ(m.Physical_Resist, 0);
    EXPECT_EQ(m.Max_Life, 40);
    EXPECT_EQ(m.Life, 40);
    EXPECT_EQ(m.Light_Radius, 0);

    // The record carries the base, so a saved slowed monster is not slowed twice after loading.
    TStream_Reader r(Record_Of(m));
    TMonster read;
    read.Load_From_Stream(r);
    EXPECT_EQ(read.Move_Delay, 600);

    // The effect runs out: no trace is left.
    m.Timed_Effects.Clear();
    m.Timed_Effect_Ms.Clear();
    m.Recalculate_Stats();
    EXPECT_EQ(m.Move_Delay, 500);

    // The held item weighs on every creature, monsters included.
    TItem* held = Add_Weighted_Item("anvil", 7, 3);
    Set_Held_Item_Id(held->Id);
    m.Recalculate_Stats();
    EXPECT_EQ(m.Weight, 21);
    Map->Item_List.Delete_Id(held->Id); // a stale id weighs nothing
    m.Recalculate_Stats();
    EXPECT_EQ(m.Weight, 0);
}

TEST_F(MonsterTest, PlayerWithoutItsClassIsRecalculatedAsAMonster) {
    TMonster p;
    p.Set_Class(4); // the table is empty: a character file from another module
    EXPECT_EQ(p.Class_Name, "");
    p.Max_Life = 50;
    p.Max_Mana = 20;
    p.Base_Strength = 6;
    p.Set_Move_Delay(250);
    p.Recalculate_Stats();
    EXPECT_EQ(p.Max_Life, 50);
    EXPECT_EQ(p.Max_Mana, 20);
    EXPECT_EQ(p.Strength, 6);
    EXPECT_EQ(p.Move_Delay, 250);
    EXPECT_EQ(p.Light_Radius, 1);
    EXPECT_EQ(p.Experience_For_Next_Level(), 0);
    p.Add_Experience(1000000);
    EXPECT_EQ(p.Level, 0);
    EXPECT_EQ(p.Class_Skill_Count(), 0);
    EXPECT_EQ(p.Class_Skill_Name(1), "");
    TWordList ids, groups;
    p.Class_Spells_Of_Skill(ids, groups);
    EXPECT_EQ(ids.Count(), 0);
    p.Learn_Class_Spells();
    EXPECT_EQ(p.Spells.Count(), 0);
}

TEST_F(MonsterTest, ExperienceGainsLevelsAndStopsOnABadTable) {
    TClass_Info& c = Load_Fixture_Class();
    TMonster p;
    p.Set_Class(1);
    p.Add_Experience(100 + 300 + 600 + 50);
    EXPECT_EQ(p.Level, 3);
    EXPECT_EQ(p.Experience, 50);
    EXPECT_EQ(p.Attribute_Points, 15);
    EXPECT_EQ(p.Skill_Points, 3);
    EXPECT_EQ(Sounds->Names(), (std::vector<std::string>(3, "newlevel.wav")));

    // A requirement of 0 or below gains nothing instead of looping.
    for (int32_t need : {0, -5}) {
        SCOPED_TRACE(need);
        c.Experience_Table.Clear();
        c.Experience_Table.Add(need);
        TMonster q;
        q.Set_Class(1);
        q.Add_Experience(10);
        EXPECT_EQ(q.Level, 0);
        EXPECT_EQ(q.Experience, 10);
    }
    // A monster only adds.
    TMonster m;
    m.Add_Experience(5000);
    EXPECT_EQ(m.Level, 0);
    EXPECT_EQ(m.Experience, 5000);
}

TEST_F(MonsterTest, KillExperience) {
    Load_Fixture_Class();
    TMonster* player = Add_Creature(5, 5, "hero");
    player->Set_Class(1);
    TMonster* monster = Add_Creature(6, 6, "orc");

    struct TCase {
        const char* What;
        TMonster* Killer;
        uint16_t Killer_Level;
        bool Does_Attack, Is_Unique;
        uint16_t Bonus;
        int32_t Expected;
    };
    // Victim level 2, 30 life: half = 15, base = Trunc(2 / killer level x 55).
    const TCase cases[] = {
        {"player", player, 4, true, false, 0, 27},
        {"peaceful, player", player, 4, false, false, 0, 0},
        {"peaceful, monster", monster, 4, false, false, 0, 27},
        {"unique", player, 4, true, true, 0, 135},
        {"bonus 50 %", player, 4, true, false, 50, 40},
        {"level-0 killer", player, 0, true, false, 0, 110},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        c.Killer->Level = c.Killer_Level;
        TMonster victim;
        victim.Level = 2;
        victim.Max_Life = 30;
        victim.Does_Attack = c.Does_Attack;
        victim.Is_Unique = c.Is_Unique;
        victim.Experience_Bonus = c.Bonus;
        EXPECT_EQ(victim.Experience_For_Kill(c.Killer->Id), c.Expected);
    }
    TMonster victim;
    EXPECT_EQ(victim.Experience_For_Kill(99), 0);
}

TEST_F(MonsterTest, UsingAnItemUsesOneUnit) {
    TMonster p;
    p.Max_Life = 100;
    p.Life = 10;
    TItem* stack = Add_Potion("big potion", Consumption_Health, 10, 5);
    p.Add_Item(stack);
    const uint16_t stack_id = stack->Id;

    // Drunk where it lies: one unit, applied once.
    p.Drink_Health_Potion();
    EXPECT_EQ(p.Life, 20);
    EXPECT_EQ(p.Inventory.Item_In_Slot(11), stack);
    EXPECT_EQ(stack->Quantity, 4);
    EXPECT_EQ(Sounds->Names(), std::vector<std::string>{"drink.wav"});

    // Used directly: a stack keeps the rest and says so.
    EXPECT_TRUE(p.Use_Item(stack));
    EXPECT_EQ(p.Life, 30);
    EXPECT_EQ(stack->Quantity, 3);

    // The last unit leaves the inventory and the item list.
    TItem* single = Add_Potion("small potion", Consumption_Health, 5, 1);
    p.Add_Item(single);
    const uint16_t single_id = single->Id;
    ASSERT_NE(single_id, stack_id);
    EXPECT_FALSE(p.Use_Item(single));
    EXPECT_EQ(p.Life, 35);
    EXPECT_EQ(Find_Item(single_id), nullptr);
    EXPECT_EQ(p.Inventory.Count(), 1);

    // A mana potion with none carried does nothing.
    p.Drink_Mana_Potion();
    EXPECT_EQ(Sounds->Names().size(), 1u);
}

TEST_F(MonsterTest, StatusesAndTheEffectCap) {
    TMonster m;
    m.Add_Permanent_Effect(Fx_Poison_Length_Reduction, 40, 40);
    m.Poison(0, 7);
    EXPECT_EQ(m.Status, Status_Normal);
    m.Permanent_Effects.Clear();
    m.Poison(0, 7);
    EXPECT_EQ(m.Status, Status_Poisoned);
    EXPECT_EQ(m.Status_Source, 7);
    EXPECT_GE(m.Status_Ms, 20000);
    EXPECT_LE(m.Status_Ms, 40000);

    // Clear_Status ends panic, blindness, paralysis and sleep only.
    for (uint8_t status = Status_Panic; status <= Status_Allegiance_Changed; ++status) {
        SCOPED_TRACE(int(status));
        m.Status = status;
        m.Status_Ms = 1000;
        m.Clear_Status();
        const bool kept = status == Status_Poisoned || status == Status_Allegiance_Changed;
        EXPECT_EQ(m.Status, kept ? status : uint8_t{Status_Normal});
        EXPECT_EQ(m.Status_Ms, kept ? 1000 : 0);
    }
    m.Change_Allegiance(5, 3, 2);
    EXPECT_EQ(m.Movement_Strategy, Strategy_Guard_Monster);
    EXPECT_EQ(m.Status_Ms, 5000);

    for (int n = 0; n < TMonster::Max_Effects + 1; ++n) {
        m.Add_Timed_Effect(Fx_Strength, 1, 1, 1);
        m.Add_Permanent_Effect(Fx_Strength, 1, 1);
    }
    EXPECT_EQ(m.Timed_Effects.Get_Count(), TMonster::Max_Effects);
    EXPECT_EQ(m.Timed_Effect_Ms.Count(), TMonster::Max_Effects);
    EXPECT_EQ(m.Permanent_Effects.Get_Count(), TMonster::Max_Effects);
}

TEST_F(MonsterTest, HitChanceCountsAnEmptyRatioAsAHalf) {
    struct TCase {
        int32_t Attack, Defence, Defender_Level, Attacker_Level, Expected;
    };
    const TCase cases[] = {
        {100, 100, 3, 3, 50}, {1, 1000, 3, 3, 5}, {1000, 0, 3, 3, 95},  {0, 0, 3, 3, 50},
        {100, 100, 0, 0, 50}, {0, 0, 0, 0, 50},   {100, 100, 1, 3, 75},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TMonster::Hit_Chance(c.Attack, c.Defence, c.Defender_Level, c.Attacker_Level), c.Expected)
            << c.Attack << " " << c.Defence << " " << c.Defender_Level << " " << c.Attacker_Level;
    TMonster fresh; // level 0, attack 0, defence 0
    EXPECT_EQ(fresh.Hit_Chance_Text(), "50% удар  ");
    EXPECT_EQ(fresh.Miss_Chance_Text(), "50% мимо   ");
}

TEST_F(MonsterTest, MapAndSpeedInteractions) {
    TMonster* m = Add_Creature(5, 5);
    m->Move_To(6, 7);
    EXPECT_EQ(Map->Get_Square(5, 5)->Monster_Id, 0);
    EXPECT_EQ(Map->Get_Square(6, 7)->Monster_Id, m->Id);
    m->Move_To(0, 201); // outside the map: nothing at all
    EXPECT_EQ(m->X, 6);
    EXPECT_EQ(Map->Get_Square(6, 7)->Monster_Id, m->Id);

    TItem* gold = Add_Item("gold", Item_Type_Gold);
    gold->Gold_Value = 25;
    const uint16_t gold_id = gold->Id;
    EXPECT_TRUE(m->Pick_Up_Item(gold));
    EXPECT_EQ(m->Gold, 25);
    EXPECT_EQ(Find_Item(gold_id), nullptr);

    // Sounds are heard from the creature's square at the player's; plain with no player.
    m->Play_Sound("a.wav");
    TMonster* player = Add_Creature(9, 9, "hero");
    Set_Player(player);
    m->Play_Sound("b.wav");
    ASSERT_EQ(Sounds->Played.size(), 2u);
    EXPECT_FALSE(Sounds->Played[0].Positioned);
    EXPECT_TRUE(Sounds->Played[1].Positioned);
    EXPECT_EQ(Sounds->Played[1].Source_X, 6);
    EXPECT_EQ(Sounds->Played[1].Listener_Y, 9);

    // The game speed is held to 10..200 % before it scales the delay.
    m->Set_Move_Delay(500);
    Machine_Options().Game_Speed_Modified_Percent = 500;
    m->Move_Timer = 249;
    EXPECT_FALSE(m->Ready_To_Move());
    m->Move_Timer = 250;
    EXPECT_TRUE(m->Ready_To_Move());
    EXPECT_EQ(m->Move_Timer, 0);
}

} // namespace
