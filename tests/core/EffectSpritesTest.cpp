#include "core/EffectSprites.h"

#include "core/Clock.h"
#include "core/MachineOptions.h"
#include "core/PathFind.h"
#include "tests/core/MapFixture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// A display effect the table does not hold counts as eight frames.
constexpr int32_t Unknown_Effect = 99;

class EffectSprites : public TMap_Fixture {
protected:
    void SetUp() override {
        TMap_Fixture::SetUp();
        Set_Manual_Clock(1000);
    }
    void TearDown() override {
        Use_System_Clock();
        Machine_Options().Game_Speed_Modified_Percent = 100;
        TMap_Fixture::TearDown();
    }
    TMonster* Creature(int x, int y, double life = 50) {
        TMonster* creature = Add_Creature(x, y);
        creature->Max_Life = 100;
        creature->Life = life;
        return creature;
    }
    static TDamage Rolled(int32_t amount) {
        TDamage damage;
        damage.Rolled_Amount = amount;
        return damage;
    }
    uint32_t Static(int x, int y, uint32_t wait_for, int32_t lifetime, int32_t display_kind = 0) {
        return List.Add_Static_Sprite(x, y, TCallback_Set(), "", 0, 0, wait_for, lifetime, display_kind,
                                      Unknown_Effect, 0);
    }
    void Tick(uint64_t ms) {
        Advance_Manual_Clock(ms);
        List.Update();
    }

    TSprites_List List;
};

TEST_F(EffectSprites, Flights) {
    struct TCase {
        const char* What;
        int From_X, From_Y, To_X, To_Y, Speed;
        uint16_t Kind;
        int32_t Display_Kind;
        int Creature_X, Creature_Y, Wall_X, Wall_Y; // 0: none
        int32_t Lifetime;
        int Ends_On_Update;
        bool Strikes, Damage_Lands;
    };
    // 112 pixels are 7 steps of 16 at 100 %; the centre reaches square 12 in the third.
    const TCase cases[] = {
        {"a creature on the way", 10, 10, 14, 10, 100, Sprite_Kind_Missile, 0, 12, 10, 0, 0, 0, 3, true,
         true},
        {"a wall on the way", 10, 10, 14, 10, 100, Sprite_Kind_Missile, 0, 0, 0, 12, 10, 0, 3, true, false},
        {"never its own square (70 steps at 10 %)", 10, 10, 14, 10, 10, Sprite_Kind_Missile, 0, 12, 10, 10,
         10, 0, 27, true, true},
        {"north-west with an 8-frame effect", 14, 14, 10, 10, 100, Sprite_Kind_Missile, Sprite_Display_Effect,
         12, 12, 0, 0, 0, 4, true, true},
        {"off the map only the lifetime ends it", 198, 10, 200, 10, 100, Sprite_Kind_Missile, 0, 0, 0, 0, 0,
         1000, 21, false, false},
        {"a bolt arrives, passing creatures", 10, 10, 14, 10, 100, Sprite_Kind_Moving, 0, 12, 10, 0, 0, 0, 7,
         false, false},
        {"a bolt to the next square arrives at once", 10, 10, 11, 10, 100, Sprite_Kind_Moving, 0, 0, 0, 0, 0,
         0, 1, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Machine_Options().Game_Speed_Modified_Percent = c.Speed;
        Map->Clear(false);
        Fill(Floor);
        const TMonster* attacker = Creature(30, 30);
        TMonster* target = c.Creature_X ? Creature(c.Creature_X, c.Creature_Y) : nullptr;
        if (c.Wall_X) Set_Terrain(c.Wall_X, c.Wall_Y, Wall);
        if (c.Kind == Sprite_Kind_Missile)
            List.Add_Missile_Sprite(attacker->Id, "archer", Rolled(10), c.From_X, c.From_Y, c.To_X, c.To_Y,
                                    "impact.wav", 1, 2, 3, TCallback_Set(), "", 0, 0, 0, c.Lifetime,
                                    c.Display_Kind, Unknown_Effect, 0);
        else
            List.Add_Moving_Sprite(c.From_X, c.From_Y, c.To_X, c.To_Y, TCallback_Set(), "", 0, 0, 0,
                                   c.Lifetime, c.Display_Kind, Unknown_Effect, 0);
        int ended = 0;
        for (int update = 1; update <= 100 && !ended; ++update) {
            Tick(50);
            if (List.Count() == 0 || List.Get_Sprite(1)->Sprite_Kind != c.Kind) ended = update;
        }
        EXPECT_EQ(ended, c.Ends_On_Update);
        if (target) {
            EXPECT_EQ(target->Life, c.Damage_Lands ? 40 : 50);
        }
        ASSERT_EQ(List.Count(), c.Strikes ? 1 : 0) << "only the impact stays";
        if (c.Strikes) {
            const TSprite& impact = *List.Get_Sprite(1);
            EXPECT_EQ(impact.Sprite_Kind, Sprite_Kind_Static);
            EXPECT_EQ(impact.Start_X, 12);
            EXPECT_EQ(impact.Lifetime, 200);
        }
        List.Clear();
    }
}

TEST_F(EffectSprites, EverySpriteRemovedInAnUpdateWakesItsWaiters) {
    TMonster* a = Creature(20, 20);
    TMonster* b = Creature(22, 20);
    // Each hit is followed by its damage, so the second hit is not the one shifted into the first one's
    // place: both go in the same update.
    const uint32_t hit_a = Static(20, 20, 0, 100);
    const uint32_t damage_a = List.Add_Damage_Sprite(0, a->Id, TCallback_Set(), "trap", Rolled(10), hit_a);
    const uint32_t hit_b = Static(22, 20, 0, 100);
    List.Add_Damage_Sprite(0, b->Id, TCallback_Set(), "trap", Rolled(10), hit_b);
    List.Add_Static_Sprite(21, 20, TCallback_Set(), "boom.wav", 0, 0, damage_a, 100, 0, 0, 0);

    Tick(100); // not yet past the lifetime
    EXPECT_EQ(List.Count(), 5);
    EXPECT_EQ(a->Life, 50);
    Tick(1);
    EXPECT_EQ(a->Life, 40);
    EXPECT_EQ(b->Life, 40);
    ASSERT_EQ(List.Count(), 1); // the sprite that waited for a damage sprite
    EXPECT_TRUE(List.Get_Sprite(1)->Active);
    EXPECT_EQ(Sounds->Names(), std::vector<std::string>{"boom.wav"});
}

TEST_F(EffectSprites, LifetimeScalesWithTheSpeedAndFramesDoNot) {
    for (const int speed : {200, 100}) {
        SCOPED_TRACE(speed);
        Machine_Options().Game_Speed_Modified_Percent = speed;
        const uint64_t lifetime = speed == 200 ? 500 : 1000;
        Set_Manual_Clock(1000);
        Static(5, 5, 0, 1000);
        Tick(lifetime);
        EXPECT_EQ(List.Count(), 1);
        Tick(1);
        EXPECT_EQ(List.Count(), 0);

        // An animation ends after its last frame, whatever its lifetime; a frame lasts more than 100 ms.
        Static(5, 5, 0, 1, Sprite_Display_Effect);
        Tick(100);
        EXPECT_EQ(List.Get_Sprite(1)->Frame, 1);
        for (int frame = 2; frame <= 8; ++frame) {
            Tick(101);
            ASSERT_EQ(List.Get_Sprite(1)->Frame, frame);
        }
        Tick(1);
        EXPECT_EQ(List.Count(), 0);
    }
}

TEST_F(EffectSprites, AnAttackerKilledByTheReturnedBlowStealsNothing) {
    TMonster* attacker = Creature(10, 10, 5);
    attacker->Add_Permanent_Effect(20, 50, 50); // Life Stolen
    TMonster* target = Creature(11, 10);
    target->Add_Permanent_Effect(3, 10, 10); // Attacker Takes Damage
    TDamage damage = Rolled(10);
    damage.Spell_Amount = 7;             // the spell's duration
    damage.Effects.Add_Effect(45, 3, 3); // Reduce Target Defense
    const uint32_t hit = Static(11, 10, 0, 200);
    List.Add_Damage_Sprite(attacker->Id, target->Id, TCallback_Set(), "witch", damage, hit);

    Tick(201);
    EXPECT_TRUE(Map->Monster_List.Is_Released(attacker));
    EXPECT_EQ(attacker->Life, 0);
    EXPECT_EQ(target->Life, 40);
    ASSERT_EQ(target->Timed_Effect_Ms.Count(), 1);
    EXPECT_EQ(target->Timed_Effect_Ms.Get(1), 7000);
    Map->End_Tick();
}

TEST_F(EffectSprites, MissilesForPathFindingClearingAndIds) {
    Install_Sprites_List(std::make_unique<TSprites_List>());
    TSprites_List& list = *Sprites_List();
    EXPECT_EQ(Get_Move_Penalty(11, 10, Movement_Land), 0.0);
    std::set<uint32_t> ids;
    const auto missile = [&](int x, uint32_t wait_for) {
        ids.insert(list.Add_Missile_Sprite(0, "", TDamage(), x, 10, x + 4, 10, "", 0, 0, 0, TCallback_Set(),
                                           "", 0, 0, wait_for, 0, 0, 0, 0));
    };
    missile(10, 0);
    missile(50, 999); // waiting: not in flight
    EXPECT_TRUE(list.Is_Missile_At(10, 10));
    EXPECT_FALSE(list.Is_Missile_At(50, 10));
    list.Update();
    EXPECT_FALSE(list.Is_Missile_At(10, 10));
    EXPECT_EQ(Get_Move_Penalty(11, 10, Movement_Land), Blocked_Move_Penalty);
    const std::unique_ptr<TSprites_List> owned = Remove_Sprites_List();
    EXPECT_EQ(Get_Move_Penalty(11, 10, Movement_Land), 0.0);

    // A map change keeps only the pictures on squares.
    ids.insert(list.Add_Static_Sprite(1, 1, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0));
    ids.insert(list.Add_Moving_Sprite(1, 1, 9, 9, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0));
    ids.insert(list.Add_Monster_Sprite(1, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0));
    ids.insert(list.Add_Damage_Sprite(1, 2, TCallback_Set(), "", TDamage(), 0));
    ids.insert(list.Add_Static_Sprite(1, 1, TCallback_Set(), "", 0, 0, *ids.begin(), 0, 0, 0, 0));
    list.Clear_Creature_Sprites();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get_Sprite(1)->Sprite_Kind, Sprite_Kind_Static);
    EXPECT_EQ(list.Get_Sprite(2)->Sprite_Kind, Sprite_Kind_Moving);
    EXPECT_FALSE(list.Is_Missile_At(11, 10));

    // Ids are never given twice, even after the newest sprite is gone.
    list.Remove_Sprite(list.Get_Sprite(2)->Sprite_Id);
    ids.insert(list.Add_Static_Sprite(1, 1, TCallback_Set(), "", 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(ids.size(), 8u);
    EXPECT_EQ(ids.count(0), 0u);
}

TEST_F(EffectSprites, PlacementCountsWholePixelsFromTheSquaresCorner) {
    EXPECT_EQ(Flying_Sprite_Placement(296, 300.5), (TSprite_Placement{10, 10, 16, 20}));
    EXPECT_EQ(Flying_Sprite_Placement(27.9, 28), (TSprite_Placement{0, 1, 27, 0}));
    // Every whole position and every half of one, over the whole map: the square is Trunc(p / 28) and the
    // offset Trunc(fraction of p / 28, times 28), which for a whole p is p mod 28 exactly.
    int mismatches = 0;
    for (int p = 0; p <= 201 * Sprite_Square_Pixels; ++p)
        for (double half : {0.0, 0.5}) {
            const int q = p + 5;
            if (Flying_Sprite_Placement(p + half, q + half) !=
                TSprite_Placement{p / 28, q / 28, p % 28, q % 28})
                ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
