#include "core/Monster.h"
#include "core/WorldEvents.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Effect types used below.
enum : uint8_t {
    Fx_Damage = 7,
    Fx_Damage_Generates_Mana = 8,
    Fx_Damage_Reduction = 9,
    Fx_Each_Kill_Regenerates_Mana = 12,
    Fx_More_Gold = 41,
    Fx_Reduce_Target_Defense = 45,
    Fx_Two_Weapons = 50,
    Fx_Change_Allegiance = 62,
    Fx_Damage_All = 64,
    Fx_Reduce_Defense_Ability = 75,
    Fx_Reduce_Damage = 77,
};

struct TEffect {
    uint8_t Type;
    int32_t Min, Max;
};

TEffect_List Effects_Of(const std::vector<TEffect>& effects) {
    TEffect_List list;
    for (const TEffect& e : effects) list.Add_Effect(e.Type, e.Min, e.Max);
    return list;
}

TDamage Rolled(int32_t amount) {
    TDamage damage;
    damage.Rolled_Amount = amount;
    return damage;
}

class MonsterCombat : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Events = std::make_shared<TRecording_World_Events>();
        World_Events::Install(Events);
    }
    void TearDown() override {
        World_Events::Install(nullptr);
        TMap_Fixture::TearDown();
    }
    TMonster* Fighter(int x, int y, const std::string& name, double life, uint16_t level = 1) {
        TMonster* creature = Add_Creature(x, y, name);
        creature->Max_Life = 100;
        creature->Life = life;
        creature->Max_Mana = 10;
        creature->Level = level;
        return creature;
    }
    TItem* Carried(TMonster& creature, const std::string& name, uint8_t type, int32_t slot) {
        TItem* item = Add_Item(name, type);
        EXPECT_TRUE(creature.Inventory.Put_In_Slot(item, slot));
        return item;
    }

    std::shared_ptr<TRecording_World_Events> Events;
};

TEST_F(MonsterCombat, TakeDamage) {
    struct TCase {
        const char* What;
        std::vector<TEffect> Own; // the target's permanent effects
        uint16_t Physical_Resist, Fire_Resist;
        bool Merchant;
        double Life;
        int32_t Amount;
        std::vector<TEffect> Hit;
        double Life_After; // -1: dies
        double Mana_After;
        uint8_t Status_After;
        uint8_t Timed_Effect; // the effect the hit leaves for the extra's 7 seconds; 0 none
    };
    // The attacker is level 5, the target level 2.
    // clang-format off
    const TCase cases[] = {
        {"resistance above 95 keeps off 95 %", {}, 120, 0, false, 50, 10, {}, 50, 0, 0, 0},
        {"percent, then flat reduction; the mana it generates",
         {{Fx_Reduce_Damage, 30, 30}, {Fx_Damage_Reduction, 2, 2}, {Fx_Damage_Generates_Mana, 50, 50}},
         0, 0, false, 50, 10, {}, 45, 3, 0, 0},
        {"elemental raised by Damage All, against its resistance", {}, 0, 50, false, 50, 0,
         {{Effect_Fire_Damage, 20, 20}, {Fx_Damage_All, 50, 50}}, 35, 0, 0, 0},
        {"poison on hit", {}, 0, 0, false, 50, 0, {{Effect_Poison_Damage, 5, 5}}, 45, 0, Status_Poisoned, 0},
        {"on-hit reduction", {}, 0, 0, false, 50, 4, {{Fx_Reduce_Target_Defense, 3, 3}}, 46, 0, 0,
         Fx_Reduce_Defense_Ability},
        {"turned by a stronger attacker", {}, 0, 0, false, 50, 0, {{Fx_Change_Allegiance, 100, 100}}, 50, 0,
         Status_Allegiance_Changed, 0},
        {"a merchant that does not fight takes nothing", {}, 0, 0, true, 50, 40,
         {{Effect_Fire_Damage, 20, 20}, {Fx_Reduce_Target_Defense, 3, 3}}, 50, 0, 0, 0},
        {"damage of the whole part of life kills", {}, 0, 0, false, 10.5, 10, {}, -1, 0, 0, 0},
        {"one below survives", {}, 0, 0, false, 10.5, 9, {}, 1.5, 0, 0, 0},
        {"an effect kills after the blow", {}, 0, 0, false, 10, 5, {{Effect_Cold_Damage, 5, 5}}, -1, 0, 0, 0},
    };
    // clang-format on
    TMonster* attacker = Fighter(10, 10, "archer", 50, 5);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* target = Fighter(20, 20, "target", c.Life, 2);
        const uint16_t id = target->Id;
        for (const TEffect& e : c.Own) target->Add_Permanent_Effect(e.Type, e.Min, e.Max);
        target->Physical_Resist = c.Physical_Resist;
        target->Fire_Resist = c.Fire_Resist;
        if (c.Merchant) {
            target->Does_Attack = false;
            target->Store_Id = 1;
        }
        const bool dies = c.Life_After < 0;
        EXPECT_EQ(
            target->Take_Damage(attacker->Id, Rolled(c.Amount), TCallback_Set(), "", 7, Effects_Of(c.Hit)),
            dies);
        EXPECT_EQ(Map->Monster_List.Get_Monster(id) == nullptr, dies);
        if (!dies) {
            EXPECT_DOUBLE_EQ(target->Life, c.Life_After);
            EXPECT_EQ(target->Mana, c.Mana_After);
            EXPECT_EQ(target->Status, c.Status_After);
            EXPECT_EQ(target->Status_Source, c.Status_After == Status_Poisoned ? attacker->Id : 0);
            if (c.Status_After == Status_Poisoned) {
                EXPECT_EQ(target->Status_Ms % 1000, 3 * 20);
            }
            if (c.Status_After == Status_Allegiance_Changed) {
                EXPECT_EQ(target->Leader_Id, attacker->Id);
                EXPECT_EQ(target->Status_Ms, 7000);
            }
            ASSERT_EQ(target->Timed_Effects.Get_Count(), c.Timed_Effect ? 1 : 0);
            if (c.Timed_Effect) {
                EXPECT_EQ(target->Timed_Effects.Get_Effect_Type(1), c.Timed_Effect);
                EXPECT_EQ(target->Timed_Effect_Ms.Get(1), 7000);
            }
            Map->Remove_Monster(id);
        }
        EXPECT_EQ(Map->Get_Square(20, 20)->Monster_Id, 0);
        Map->End_Tick();
    }
}

TEST_F(MonsterCombat, AFollowersKillPaysThePlayerAndTheBodyLeavesItsItems) {
    TMonster* player = Fighter(10, 10, "hero", 100, 3);
    Set_Player(player);
    player->Add_Permanent_Effect(Fx_More_Gold, 50, 50);
    TMonster* follower = Fighter(11, 10, "wolf", 100, 1);
    follower->Leader_Id = static_cast<int16_t>(player->Id);
    follower->Add_Permanent_Effect(Fx_Each_Kill_Regenerates_Mana, 5, 5);
    TMonster* victim = Fighter(12, 10, "orc", 5, 2);
    victim->Event_Id = 42;
    victim->Sound_Death = "orcdie.wav";
    const uint16_t victim_id = victim->Id;
    TItem* sword = Carried(*victim, "sword", Item_Type_Misc, 6);
    TItem* gold = Carried(*victim, "gold", Item_Type_Gold, 11);
    gold->Quantity = 100;
    const int32_t experience = victim->Experience_For_Kill(follower->Id);
    ASSERT_GT(experience, 0);

    EXPECT_TRUE(victim->Take_Damage(follower->Id, Rolled(50), TCallback_Set(), "", 0, TEffect_List()));

    EXPECT_EQ(player->Experience, experience);
    EXPECT_EQ(follower->Experience, 0);
    EXPECT_EQ(follower->Mana, 5);
    EXPECT_EQ(Events->Killed_Event_Ids, std::vector<int32_t>{42});
    EXPECT_EQ(Sounds->Names(), std::vector<std::string>{"orcdie.wav"});
    EXPECT_EQ(Map->Monster_List.Get_Monster(victim_id), nullptr);
    EXPECT_EQ(Map->Monster_List.Released_Count(), 1);
    const TMap_Square* square = Map->Get_Square(12, 10);
    EXPECT_EQ(square->Monster_Id, 0);
    const TItem_Collection* pile = square->Get_Pile();
    ASSERT_NE(pile, nullptr);
    ASSERT_EQ(pile->Count(), 2);
    EXPECT_EQ(pile->Id(1), sword->Id); // slot order
    EXPECT_EQ(pile->Id(2), gold->Id);
    EXPECT_EQ(gold->Quantity, 150); // the player's "More Gold" 50 %
}

TEST_F(MonsterCombat, ThePlayersDeathNamesTheKillerOrTheCause) {
    struct TCase {
        const char* What;
        bool By_Monster;
        std::string Expected; // cause | killer level | killer name
    };
    const TCase cases[] = {{"killed by a monster", true, "|4|ogre"},
                           {"nobody to blame", false, "slow poison|0|"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        TMonster* player = Fighter(10, 10, "hero", 3, 2);
        player->Class_Index = 1;
        player->Experience = 77;
        Set_Player(player);
        TMonster* ogre = c.By_Monster ? Fighter(11, 10, "ogre", 50, 4) : nullptr;
        TItem* shield = Carried(*player, "shield", Item_Type_Misc, 7);
        std::vector<std::string> reports;
        TCallback_Set callbacks;
        callbacks.On_Player_Death = [&](const std::string& name, int32_t class_index,
                                        const std::string& cause, int32_t killer_level,
                                        const std::string& killer_name, int32_t experience, int32_t level) {
            reports.push_back(name + "," + std::to_string(class_index) + "," + std::to_string(experience) +
                              "," + std::to_string(level) + ":" + cause + "|" + std::to_string(killer_level) +
                              "|" + killer_name);
        };
        EXPECT_TRUE(
            player->Take_Damage(ogre ? ogre->Id : 0, Rolled(5), callbacks, "slow poison", 0, TEffect_List()));
        EXPECT_EQ(reports, std::vector<std::string>{"hero,1,77,2:" + c.Expected});
        EXPECT_EQ(Player(), nullptr);
        EXPECT_EQ(Map->Get_Square(10, 10)->Item_Field, shield->Id);
        Map->End_Tick();
        Map->Clear(false);
    }
}

TEST_F(MonsterCombat, AttackDamageFromWeaponsOrNaturalAttacks) {
    TMonster* fighter = Fighter(10, 10, "fighter", 10);
    TDamage damage;
    TEffect_List effects;
    std::string sound, ammunition;

    TItem* sword = Carried(*fighter, "sword", Item_Type_Misc, 6);
    sword->Damage.Set(10, 20, 1, 0);
    sword->Use_Sound = "swing.wav";
    sword->Effects.Add_Effect(Effect_Fire_Damage, 1, 2);
    fighter->Add_Permanent_Effect(Fx_Damage, 50, 50);
    ASSERT_TRUE(fighter->Get_Attack_Damage(damage, effects, sound, ammunition));
    EXPECT_EQ(damage.Text(), "15 - 30");
    EXPECT_EQ(sound, "swing.wav");

    // A second weapon counts only with "Two Weapons"; then its sound, ammunition and range are used.
    TItem* bow = Carried(*fighter, "bow", Item_Type_Misc, 7);
    bow->Damage.Set(2, 4, 6, 0);
    bow->Ammo_Required = "arrow";
    bow->Use_Sound = "twang.wav";
    EXPECT_EQ(fighter->Damage_Text(), "15 - 30");
    fighter->Add_Permanent_Effect(Fx_Two_Weapons, 1, 1);
    ASSERT_TRUE(fighter->Get_Attack_Damage(damage, effects, sound, ammunition));
    EXPECT_EQ(damage.Text(), "18 - 36");
    EXPECT_EQ(ammunition, "arrow");
    EXPECT_EQ(sound, "twang.wav");
    EXPECT_EQ(effects.Get_Count(), 0);
    EXPECT_TRUE(fighter->Has_Ranged_Attack());

    TMonster unarmed;
    unarmed.Natural_Attacks.Clear();
    EXPECT_FALSE(unarmed.Get_Attack_Damage(damage, effects, sound, ammunition));
    EXPECT_EQ(unarmed.Damage_Text(), "");
}

} // namespace
