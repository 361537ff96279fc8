#include "core/Clock.h"
#include "core/Damage.h"
#include "core/DisplayEffects.h"
#include "core/Effects.h"
#include "tests/ui/TickFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(Animation_Style, SizeByAmountStyleByStrongestEffect) {
    struct TCase {
        int32_t Rolled;
        uint8_t Effect; // 0: none
        int32_t Effect_Max;
        bool Show;
        TAnimation_Style Expected;
    };
    const std::vector<TCase> cases = {
        {9, 0, 0, true, {0, 0}},
        {10, 0, 0, true, {0, 1}},
        {29, 0, 0, true, {0, 1}},
        {30, 0, 0, true, {0, 2}},
        {9, 0, 0, false, {1, 0}},
        {30, Effect_Fire_Damage, 5, false, {1, 2}},
        {5, Effect_Fire_Damage, 10, true, {6, 1}}, // the effect's maximum raises the amount
        {5, Effect_Fire_Damage, 30, true, {6, 2}},
        {40, Effect_Fire_Damage, 5, true, {6, 2}}, // the rolled amount stays when larger
        {1, Effect_Cold_Damage, 1, true, {2, 0}},
        {1, Effect_Lightning_Damage, 1, true, {5, 0}},
        {1, Effect_Magic_Damage, 1, true, {9, 0}},
        {1, Effect_Poison_Damage, 1, true, {7, 0}},
        {1, Effect_Dispel_Undead, 40, true, {8, 0}}, // strongest, but no damage amount
    };
    for (const TCase& t : cases) {
        TDamage damage;
        damage.Rolled_Amount = t.Rolled;
        if (t.Effect) damage.Effects.Add_Effect(t.Effect, 1, t.Effect_Max);
        const TAnimation_Style style = Get_Animation_Style(damage, t.Show);
        EXPECT_EQ(style, t.Expected) << t.Rolled << " effect " << int(t.Effect) << " max " << t.Effect_Max
                                     << " show " << t.Show << ": got " << style.Style << "/" << style.Size;
    }
}

class Animation : public TTick_Fixture {
protected:
    void SetUp() override {
        TTick_Fixture::SetUp();
        // Effect 1 flies (directional), effect 2 plays on a square (frames).
        Install_Test_Display_Effects(Folder, {"bolt", "burst"});
        std::string text = Folder.Read("Data/Effects.txt");
        text.replace(text.find("Type := Frames"), 14, "Type := Directional");
        Folder.Write("Data/Effects.txt", text);
        ASSERT_TRUE(Load_Display_Effects());
        ASSERT_EQ(Get_Display_Effect(1)->Type, Display_Effect_Directional);
        Set_Manual_Clock(1000);
    }
    void TearDown() override {
        Use_System_Clock();
        Free_Display_Effects();
        TTick_Fixture::TearDown();
    }
    // Each sprite as "kind display index/param at x,y wait n attacker a target t".
    static std::vector<std::string> Sprites() {
        std::vector<std::string> lines;
        const TSprites_List& list = *Sprites_List();
        for (int n = 1; n <= list.Count(); ++n) {
            const TSprite& s = *list.Get_Sprite(n);
            uint32_t wait = 0;
            for (int m = 1; m <= list.Count(); ++m)
                if (list.Get_Sprite(m)->Sprite_Id == s.Wait_For_Id) wait = static_cast<uint32_t>(m);
            lines.push_back(std::to_string(s.Sprite_Kind) + " " + std::to_string(s.Display_Kind) + " " +
                            std::to_string(s.Display_Index) + "/" + std::to_string(s.Display_Param) + " at " +
                            std::to_string(s.Start_X) + "," + std::to_string(s.Start_Y) + " wait " +
                            std::to_string(wait) + " attacker " + std::to_string(s.Attacker_Id) + " target " +
                            std::to_string(s.Target_Id));
        }
        return lines;
    }
};

TEST_F(Animation, BlowsByFiringEffect) {
    TMonster* rat = Add_Creature(12, 10, "rat");
    TDamage damage;
    damage.Rolled_Amount = 12;
    struct TCase {
        const char* Name;
        bool Trap;
        uint8_t Fx;
        bool Show;
        std::vector<std::string> Expected;
    };
    const std::string hero = std::to_string(Hero->Id), target = std::to_string(rat->Id);
    const std::vector<TCase> cases = {
        {"a trap's bolt starts on its square and names no attacker",
         true,
         1,
         true,
         {"4 2 1/10 at 12,10 wait 0 attacker 0 target 0"}},
        {"a bolt", false, 1, true, {"4 2 1/10 at 10,10 wait 0 attacker " + hero + " target 0"}},
        {"a burst, then the damage",
         false,
         2,
         true,
         {"1 2 2/0 at 12,10 wait 0 attacker 0 target 0",
          "3 0 0/0 at 0,0 wait 1 attacker " + hero + " target " + target}},
        {"a plain hit, then the damage",
         false,
         0,
         true,
         {"1 1 1/0 at 12,10 wait 0 attacker 0 target 0",
          "3 0 0/0 at 0,0 wait 1 attacker " + hero + " target " + target}},
        {"a miss deals nothing", false, 0, false, {"1 1 1/1 at 12,10 wait 0 attacker 0 target 0"}},
    };
    for (const TCase& t : cases) {
        SCOPED_TRACE(t.Name);
        Sprites_List()->Clear();
        Tick.Callbacks().On_Attack_Animation(t.Trap ? nullptr : Hero, rat, "name", "hit.wav", t.Show, damage,
                                             0, t.Fx, 2, 12, 10);
        EXPECT_EQ(Sprites(), t.Expected);
    }
    // The trap's bolt flies and strikes without an attacker.
    Sprites_List()->Clear();
    Tick.Show_Attack_Animation(nullptr, Hero, "", "dart.wav", true, damage, 1, 10, 10);
    for (int i = 0; i < 20; ++i) {
        Advance_Manual_Clock(50);
        Sprites_List()->Update();
    }
    EXPECT_EQ(Sprites_List()->Count(), 0);
}

} // namespace
