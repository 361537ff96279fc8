#include "core/Spells.h"

#include "core/CharClass.h"
#include "core/Damage.h"
#include "core/DataFileParser.h"
#include "core/DisplayEffects.h"
#include "core/Effects.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/Messages.h"
#include "core/Path.h"
#include "core/Profile.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Every key a spell record carries, with a complete single-effect fire spell.
TKeys Full_Spell(const std::string& name) {
    return {{"Maximum Levels From Start", "10"},
            {"Name", name},
            {"Description", "Огненный шар"},
            {"Picture ID", "3"},
            {"Picture Is Maskable", "FALSE"},
            {"Mana Cost to Cast", "10"},
            {"Increase In Mana Cost Per Level", "2.5"},
            {"Maximum Mana Cost", "0"},
            {"Duration", "0"},
            {"Increase In Duration Per Level", "0"},
            {"Maximum Duration", "0"},
            {"Target Type", "Монстр"},
            {"Requirement Other Spell Name", ""},
            {"Requirement Other Spell Minimum Level", "0"},
            {"Effects Only Apply to Weapon Type", "None"},
            {"Monster Summoned Name", "None"},
            {"Monster Summoned Base Count", "0"},
            {"Monster Summoned Increase Count Per Level", "0"},
            {"Monster Summoned Maximum Count", "0"},
            {"Area Effect Radius", "0"},
            {"Increase In Area Effect Radius Per Level", "0"},
            {"Maximum Area Effect Radius", "0"},
            {"Sound File Cast", "fire.wav"},
            {"Damage Amount Min", "2"},
            {"Damage Amount Max", "6"},
            {"Damage Maximum Range", "8"},
            {"Damage Firing FX", "None"},
            {"Number of Effects", "1"},
            {"Effect 1 Type", "Fire Damage"},
            {"Effect 1 Min Amount", "3"},
            {"Effect 1 Max Amount", "5"},
            {"Effect 1 Per Level Modifier Type", "Number"},
            {"Effect 1 Min Amt Per Level Modifier", "1"},
            {"Effect 1 Max Amt Per Level Modifier", "2"}};
}

// A creature stand-in: a skill-level bonus that may sum the list's own passive spells, a wielded weapon
// type and scrolls by inventory slot.
class TFake_Owner : public TSpell_Owner {
public:
    int32_t Own_Skill_Levels = 0;
    const TSpells_List* Spells = nullptr; // when set, its "Skill Levels" passive total joins the bonus
    std::string Weapon;                   // trimmed, lower case
    std::map<int32_t, TItem> Items;
    mutable int32_t Skill_Level_Calls = 0;

    int32_t Owner_Skill_Levels() const override {
        ++Skill_Level_Calls;
        return Own_Skill_Levels + (Spells != nullptr ? Spells->Passive_Effect_Total(Effect_Skill_Levels) : 0);
    }
    bool Owner_Wields_Weapon_Type(const std::string& weapon_type) const override {
        return !Weapon.empty() && weapon_type == Weapon;
    }
    const TItem* Owner_Item_In_Slot(int32_t slot) const override {
        auto it = Items.find(slot);
        return it == Items.end() ? nullptr : &it->second;
    }
    void Put(int32_t slot, uint8_t item_type) { Items[slot].Item_Type = item_type; }

    static constexpr uint8_t Effect_Skill_Levels = 48;
};

constexpr uint8_t Scroll = 15;
constexpr uint8_t Potion = 12;

class SpellsTest : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Seed_Random(77);
    }
    void TearDown() override {
        Free_Master_Spells();
        TProgram_Folder_Test::TearDown();
    }

    // Loads the records as the game does; the error list shown, if any, is returned.
    TString_List Load(const std::vector<TKeys>& records) {
        Folder.Write("Data/Spells.txt", Data_File_Text(records, "Spells"));
        Messages->Error_Lists.clear();
        const bool ok = Load_Master_Spells();
        EXPECT_EQ(ok, Messages->Error_Lists.empty());
        return Messages->Error_Lists.empty() ? TString_List{} : Messages->Error_Lists.front().List;
    }
};

TEST_F(SpellsTest, LevelFormulasTruncateTowardZeroAndCapAtTheMaximum) {
    TSpell spell;
    struct Case {
        double base, per, maximum;
        int32_t level, expected;
    };
    const std::vector<Case> cases = {
        {10, 2.5, 0, 1, 10},    {10, 2.5, 0, 2, 12},          {10, 2.5, 0, 4, 17}, {10, 2.5, 15, 2, 12},
        {10, 2.5, 15, 3, 15},   {10, 2.5, 15, 4, 15},         {10, 2.5, 0, 0, 7},  {1, 2.5, 0, 0, -1},
        {10, 2.5, 15.9, 9, 15}, {1e300, 0, 0, 1, 2147483647},
    };
    for (const Case& c : cases) {
        spell.Mana_Cost_Base = spell.Duration_Base = spell.Area_Base = c.base;
        spell.Mana_Cost_Per_Level = spell.Duration_Per_Level = spell.Area_Per_Level = c.per;
        spell.Mana_Cost_Maximum = spell.Duration_Maximum = spell.Area_Maximum = c.maximum;
        SCOPED_TRACE(testing::Message()
                     << c.base << " + " << c.per << " per level, max " << c.maximum << ", level " << c.level);
        EXPECT_EQ(spell.Mana_Cost(c.level), c.expected);
        EXPECT_EQ(spell.Duration(c.level), c.expected);
        EXPECT_EQ(spell.Area_Radius(c.level), c.expected);
    }

    spell.Summon_Base_Count = 2;
    spell.Summon_Per_Level = 0.5;
    spell.Summon_Maximum = 0;
    EXPECT_EQ(spell.Summon_Count(1), 2);
    EXPECT_EQ(spell.Summon_Count(4), 3);
    EXPECT_EQ(spell.Summon_Count(9), 6);
    EXPECT_EQ(spell.Summon_Count(0), 1);
    spell.Summon_Maximum = 3;
    EXPECT_EQ(spell.Summon_Count(4), 3);
    EXPECT_EQ(spell.Summon_Count(9), 3);
}

TEST_F(SpellsTest, EffectAmountsFollowTheirPerLevelKind) {
    TSpell spell;
    spell.Effects->Add_Effect(Effect_Fire_Damage, 3, 5); // Number: +1 / +2 per level
    spell.Effects->Add_Effect(17, 20, 40);               // Life, Percent: 25 per level
    spell.Effects->Add_Effect(17, 4, 4);                 // no kind: unchanged
    for (auto [kind, min, max] : {std::tuple{1, 1, 2}, std::tuple{2, 25, 50}, std::tuple{0, 9, 9}}) {
        spell.Effect_Modifier_Kinds.Add(static_cast<uint16_t>(kind));
        spell.Effect_Min_Modifiers.Add(static_cast<uint16_t>(min));
        spell.Effect_Max_Modifiers.Add(static_cast<uint16_t>(max));
    }
    struct Case {
        int32_t n, level, min, max;
    };
    for (const Case& c : std::vector<Case>{{1, 3, 6, 11},
                                           {1, 0, 3, 5}, // the modifiers multiply by the level itself
                                           {2, 2, 30, 80},
                                           {2, 0, 20, 40},
                                           {3, 7, 4, 4},
                                           {0, 1, 0, 0},
                                           {4, 1, 0, 0}}) {
        int32_t min = -1;
        int32_t max = -1;
        spell.Effect_Amounts(c.n, c.level, min, max);
        EXPECT_EQ(min, c.min) << "effect " << c.n << " level " << c.level;
        EXPECT_EQ(max, c.max) << "effect " << c.n << " level " << c.level;
    }
    EXPECT_EQ(spell.Effect_Text(1, true, 3), "+ 6-11 урон Огнём ");
    EXPECT_EQ(spell.Effect_Text(4, true, 3), "");
    EXPECT_EQ(spell.Effect_Sum_At_Level(17, 2), 34);

    TEffect_List list;
    list.Add_Effect(6, 1, 1);
    spell.Add_Effects_At_Level(list, 2);
    ASSERT_EQ(list.Get_Count(), 4);
    EXPECT_EQ(list.Get_Effect_Type(2), Effect_Fire_Damage);
    EXPECT_EQ(list.Get_Min_Amount(2), 5);
    EXPECT_EQ(list.Get_Max_Amount(2), 9);
    EXPECT_EQ(list.Get_Min_Amount(3), 30);
}

TEST_F(SpellsTest, EveryRecordBecomesTheSpellOfItsNumber) {
    const TString_List errors = Load(
        {Full_Spell("Firebolt"), {{"Name", "Bare"}}, With(Full_Spell("Heal"), {{"Target Type", "На себя"}})});
    ASSERT_EQ(Master_Spell_Count(), 3);
    for (int32_t id = 1; id <= 3; ++id) {
        ASSERT_NE(Get_Master_Spell(id), nullptr);
        EXPECT_EQ(Get_Master_Spell(id)->Id, id);
    }
    EXPECT_EQ(Get_Master_Spell(1)->Name, "Firebolt");
    EXPECT_EQ(Get_Master_Spell(2)->Name, "Bare");
    EXPECT_EQ(Get_Master_Spell(3)->Name, "Heal");
    for (int32_t id : {0, -1, 4, 65535}) EXPECT_EQ(Get_Master_Spell(id), nullptr) << id;

    // Key strings are checked by the shipped files, which hold every key; here, that values land in the
    // right fields.
    const TSpell& fire = *Get_Master_Spell(1);
    EXPECT_FALSE(fire.Picture_Is_Maskable);
    EXPECT_DOUBLE_EQ(fire.Mana_Cost_Per_Level, 2.5);
    EXPECT_EQ(fire.Damage->Range, 8);
    EXPECT_EQ(fire.Effect_Max_Modifiers.Get(1), 2);
    EXPECT_EQ(Get_Master_Spell(3)->Target_Type, Spell_Target_Self);

    // The bare record keeps its defaults and reports what it lacks; the other two are clean.
    const TSpell& bare = *Get_Master_Spell(2);
    EXPECT_TRUE(bare.Picture_Is_Maskable);
    EXPECT_EQ(bare.Target_Type, 0);
    ASSERT_FALSE(errors.empty());
    for (const std::string& line : errors)
        EXPECT_TRUE(line.find("записи 2.") != std::string::npos ||
                    line.find("записи \"2\".") != std::string::npos)
            << line;
    ASSERT_EQ(Messages->Error_Lists.size(), 1u);
    EXPECT_EQ(Messages->Error_Lists[0].Heading, "Master Spell Data File Errors: ");
    EXPECT_EQ(Messages->Error_Lists[0].File_Name, Folder.File("Data/Spells.txt"));

    // A clean file loads without a message, and a reload replaces the table.
    EXPECT_TRUE(Load({Full_Spell("Only")}).empty());
    EXPECT_EQ(Master_Spell_Count(), 1);
    EXPECT_EQ(Get_Master_Spell(2), nullptr);
    Free_Master_Spells();
    EXPECT_EQ(Master_Spell_Count(), 0);
    EXPECT_EQ(Get_Master_Spell(1), nullptr);
}

TEST_F(SpellsTest, AnUnknownTargetGivesZeroAndOneError) {
    const TString_List errors = Load({With(Full_Spell("Odd"), {{"Target Type", "монстр"}})});
    ASSERT_EQ(Master_Spell_Count(), 1);
    EXPECT_EQ(Get_Master_Spell(1)->Target_Type, 0);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Target Type"), std::string::npos);
}

TEST_F(SpellsTest, TargetNamesByProfile) {
    struct Case {
        TRun_Profile profile;
        const char* text;
        uint8_t target;
    };
    const std::vector<Case> cases = {
        {TRun_Profile::Game, "Группа монстров", Spell_Target_Area},
        {TRun_Profile::Game, "Self", 0},
        {TRun_Profile::Tool, "Self", Spell_Target_Self},
        {TRun_Profile::Tool, "Always On", 5},
        {TRun_Profile::Tool, "Постоянно", Spell_Target_Passive},
        {TRun_Profile::Tool, "self", 0},
    };
    for (const Case& c : cases) {
        Set_Run_Profile(c.profile);
        const TString_List errors = Load({With(Full_Spell("S"), {{"Target Type", c.text}})});
        ASSERT_EQ(Master_Spell_Count(), 1);
        EXPECT_EQ(Get_Master_Spell(1)->Target_Type, c.target) << c.text;
        EXPECT_EQ(errors.size(), c.target == 0 ? 1u : 0u) << c.text;
    }
}

TEST_F(SpellsTest, ModifiersStayWithTheirEffectsAfterABadKindOrARejectedType) {
    const TKeys effects = {
        {"Number of Effects", "4"},
        {"Effect 1 Type", "fire damage"}, // wrong letter case: not appended
        {"Effect 1 Min Amount", "1"},
        {"Effect 1 Max Amount", "1"},
        {"Effect 1 Per Level Modifier Type", "Number"},
        {"Effect 1 Min Amt Per Level Modifier", "91"},
        {"Effect 1 Max Amt Per Level Modifier", "92"},
        {"Effect 2 Type", "Cold Damage"},
        {"Effect 2 Min Amount", "2"},
        {"Effect 2 Max Amount", "4"},
        {"Effect 2 Per Level Modifier Type", "Percent"},
        {"Effect 2 Min Amt Per Level Modifier", "10"},
        {"Effect 2 Max Amt Per Level Modifier", "20"},
        {"Effect 3 Type", "Life"},
        {"Effect 3 Min Amount", "5"},
        {"Effect 3 Max Amount", "5"},
        {"Effect 3 Per Level Modifier Type", "Per Cent"}, // unknown kind
        {"Effect 3 Min Amt Per Level Modifier", "30"},
        {"Effect 3 Max Amt Per Level Modifier", "31"},
        {"Effect 4 Type", "Mana"},
        {"Effect 4 Min Amount", "6"},
        {"Effect 4 Max Amount", "6"},
        {"Effect 4 Per Level Modifier Type", "Number"},
        {"Effect 4 Min Amt Per Level Modifier", "40"},
        {"Effect 4 Max Amt Per Level Modifier", "41"},
    };
    TKeys record = Full_Spell("Mixed");
    for (const char* key : {"Number of Effects", "Effect 1 Type", "Effect 1 Min Amount",
                            "Effect 1 Max Amount", "Effect 1 Per Level Modifier Type",
                            "Effect 1 Min Amt Per Level Modifier", "Effect 1 Max Amt Per Level Modifier"})
        record = With(record, {{key, "<drop>"}});
    const TString_List errors = Load({With(record, effects)});

    const TSpell& spell = *Get_Master_Spell(1);
    ASSERT_EQ(spell.Effects->Get_Count(), 3);
    ASSERT_EQ(spell.Effect_Modifier_Kinds.Count(), 3);
    ASSERT_EQ(spell.Effect_Min_Modifiers.Count(), 3);
    ASSERT_EQ(spell.Effect_Max_Modifiers.Count(), 3);
    const std::vector<std::vector<uint16_t>> expected = {{2, 10, 20}, {0, 0, 0}, {1, 40, 41}};
    for (int32_t n = 1; n <= 3; ++n) {
        EXPECT_EQ(spell.Effect_Modifier_Kinds.Get(n), expected[n - 1][0]) << n;
        EXPECT_EQ(spell.Effect_Min_Modifiers.Get(n), expected[n - 1][1]) << n;
        EXPECT_EQ(spell.Effect_Max_Modifiers.Get(n), expected[n - 1][2]) << n;
    }
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("Effect 1 Type"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("Effect 3 Per Level Modifier Type"), std::string::npos) << errors[1];
}

// Spells of the passive tests: ids 1..5.
std::vector<TKeys> Passive_Spells() {
    auto passive = [](const std::string& name, const std::string& restriction, const std::string& type,
                      const std::string& min) {
        return With(Full_Spell(name), {{"Target Type", "Постоянно"},
                                       {"Effects Only Apply to Weapon Type", restriction},
                                       {"Effect 1 Type", type},
                                       {"Effect 1 Min Amount", min},
                                       {"Effect 1 Max Amount", min},
                                       {"Effect 1 Per Level Modifier Type", "Number"},
                                       {"Effect 1 Min Amt Per Level Modifier", "1"},
                                       {"Effect 1 Max Amt Per Level Modifier", "1"}});
    };
    return {
        passive("Toughness", "None", "Life", "10"),            // 1: unrestricted
        passive("Sword Mastery", " Sword ", "Life", "100"),    // 2: only with a sword
        passive("Brute", "", "Damage", "50"),                  // 3: an excluded type
        passive("Lore", "none", "Skill Levels", "1"),          // 4: adds to every spell level
        With(Full_Spell("Bolt"), {{"Effect 1 Type", "Life"}}), // 5: cast, never passive
    };
}

TEST_F(SpellsTest, PassiveTotalsCountOnlyApplicablePassiveSpells) {
    ASSERT_TRUE(Load(Passive_Spells()).empty());
    TFake_Owner owner;
    TSpells_List list(&owner);
    for (uint16_t id = 1; id <= 5; ++id) list.Set_Spell(id, 2, 100);
    list.Set_Spell(999, 3, 100); // an id the table does not have is skipped

    // Life at level 2: Toughness 10 + 2. Damage, Maximum and Minimum Damage are never passive totals.
    EXPECT_EQ(list.Passive_Effect_Total(17), 12);
    EXPECT_EQ(list.Passive_Effect_Total(7), 0);
    TSpells_List damage_only(&owner);
    damage_only.Set_Spell(3, 1, 100);
    EXPECT_EQ(damage_only.Passive_Effect_Total(7), 0);
    EXPECT_EQ(damage_only.Passive_Effect_Total(31), 0);
    EXPECT_EQ(damage_only.Passive_Effect_Total(32), 0);
    EXPECT_EQ(damage_only.Weapon_Passive_Effect_Total(7, "none"), 0);

    // The sword skill counts while a sword is wielded, and per weapon type always.
    EXPECT_EQ(list.Weapon_Passive_Effect_Total(17, "  SWORD"), 102);
    EXPECT_EQ(list.Weapon_Passive_Effect_Total(17, "axe"), 0);
    owner.Weapon = "sword";
    EXPECT_EQ(list.Passive_Effect_Total(17), 114);
    TEffect_List gathered;
    list.Add_Passive_Effects(gathered);
    std::multiset<int> types;
    for (int32_t n = 1; n <= gathered.Get_Count(); ++n) types.insert(gathered.Get_Effect_Type(n));
    EXPECT_EQ(types, (std::multiset<int>{7, 17, 17, 48}));

    // Without an owner nothing restricted applies and no bonus is added.
    TSpells_List ownerless;
    ownerless.Assign(list);
    EXPECT_EQ(ownerless.Passive_Effect_Total(17), 12);
    EXPECT_EQ(ownerless.Effective_Level(1), 2);
}

TEST_F(SpellsTest, SkillLevelsAreAddedOnce) {
    ASSERT_TRUE(Load(Passive_Spells()).empty());
    TFake_Owner owner;
    TSpells_List list(&owner);
    owner.Spells = &list;
    owner.Own_Skill_Levels = 1;
    list.Set_Spell(4, 2, 100); // Lore: Skill Levels 1 + level
    list.Set_Spell(1, 0, 100); // Toughness known at level 0

    // The owner's bonus asks the list for Lore's total, which is taken at its stored level 2 (1 + 2),
    // plus its own 1: Lore is at 2 + 4.
    EXPECT_EQ(list.Effective_Level(1), 6);
    EXPECT_EQ(owner.Skill_Level_Calls, 1);
    EXPECT_EQ(list.Spell_Level(4), 6);
    EXPECT_EQ(list.Base_Spell_Level(4), 2);
    EXPECT_EQ(list.Passive_Effect_Total(TFake_Owner::Effect_Skill_Levels), 7);
    // A level of 0 stays 0 whatever the bonus.
    EXPECT_EQ(list.Effective_Level(2), 0);
    EXPECT_EQ(list.Spell_Level(1), 0);
    EXPECT_EQ(list.Effective_Level(3), 0);
}

TEST_F(SpellsTest, SpellLevelsByIdAndName) {
    ASSERT_TRUE(Load(Passive_Spells()).empty());
    TSpells_List list;
    list.Set_Spell(5, 1, 10);
    list.Set_Spell(2, 4, 20);
    list.Set_Spell(5, 3, 30); // updates the entry of id 5
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Stored_Level(1), 3);
    EXPECT_EQ(list.Cast_Chance(1), 30);
    EXPECT_EQ(list.Spell_Id(3), 0);
    EXPECT_EQ(list.Spell_Level(7), 0);
    EXPECT_EQ(list.Spell_Level_By_Name("Sword Mastery"), 4);
    EXPECT_EQ(list.Spell_Level_By_Name("sword mastery"), 0);

    list.Scale_Levels(4, 0.5);
    EXPECT_EQ(list.Stored_Level(1), 3);
    EXPECT_EQ(list.Stored_Level(2), 3);
    list.Scale_Levels(0, 0.5);
    EXPECT_EQ(list.Stored_Level(1), 1);
    list.Scale_Levels(5, -2.0);
    EXPECT_EQ(list.Stored_Level(2), 1);
}

TEST_F(SpellsTest, FillQuickBarPutsScrollsFirstThenSpellsInReverseOrder) {
    std::vector<TKeys> records = Passive_Spells();
    for (const char* name : {"A", "B", "C"}) records.push_back(Full_Spell(name)); // ids 6, 7, 8
    ASSERT_TRUE(Load(records).empty());

    TFake_Owner owner;
    owner.Put(12, Scroll);
    owner.Put(20, Scroll);
    owner.Put(14, Potion);
    TSpells_List list(&owner);
    for (uint16_t id : {6, 1, 7, 999, 8}) list.Set_Spell(id, 1, 100); // a passive and an unknown id between
    // Slots 5..10 are taken; slot 5 by a scroll that is gone, and it is the selected one.
    for (int32_t n = 6; n <= 10; ++n)
        list.Set_Quick_Slot(n, Quick_Slot_Spell, static_cast<uint16_t>(900 + n));
    list.Set_Quick_Slot(5, Quick_Slot_Scroll, 30);
    list.Set_Selected_Slot(5);

    list.Fill_Quick_Bar(true, true);
    const std::vector<std::pair<uint8_t, uint16_t>> expected = {
        {Quick_Slot_Scroll, 12}, {Quick_Slot_Scroll, 20}, {Quick_Slot_Spell, 8},
        {Quick_Slot_Spell, 7},   {Quick_Slot_Spell, 6},   {Quick_Slot_Spell, 906}};
    for (int32_t n = 1; n <= 6; ++n) {
        uint8_t kind = 9;
        uint16_t value = 9;
        list.Get_Quick_Slot(n, kind, value);
        EXPECT_EQ(kind, expected[n - 1].first) << "slot " << n;
        EXPECT_EQ(value, expected[n - 1].second) << "slot " << n;
    }
    EXPECT_EQ(list.Get_Selected_Slot(), 0);

    // A scroll used up: the bar check drops its slot.
    owner.Items.erase(20);
    list.Set_Selected_Slot(1);
    list.Check_Quick_Bar();
    uint8_t kind = 9;
    uint16_t value = 9;
    list.Get_Quick_Slot(2, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Empty);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(list.Get_Selected_Slot(), 1);

    // Without an owner scroll slots are left alone, spells still fill.
    TSpells_List ownerless;
    ownerless.Set_Spell(6, 1, 100);
    ownerless.Set_Quick_Slot(1, Quick_Slot_Scroll, 30);
    ownerless.Fill_Quick_Bar(true, true);
    ownerless.Check_Quick_Bar();
    ownerless.Get_Quick_Slot(1, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Scroll);
    EXPECT_EQ(value, 30);
    ownerless.Get_Quick_Slot(2, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Spell);
    EXPECT_EQ(value, 6);
}

TEST_F(SpellsTest, QuickSlotsOutsideTheBarAreIgnored) {
    TSpells_List list;
    for (int32_t n : {0, 11, -1}) {
        list.Set_Quick_Slot(n, Quick_Slot_Spell, 5);
        uint8_t kind = 9;
        uint16_t value = 9;
        list.Get_Quick_Slot(n, kind, value);
        EXPECT_EQ(kind, Quick_Slot_Empty) << n;
        EXPECT_EQ(value, 0) << n;
    }
    list.Set_Selected_Slot(11);
    EXPECT_EQ(list.Get_Selected_Slot(), 0);
}

std::vector<uint8_t> Spell_List_Stream(const std::vector<uint16_t>& ids, const std::vector<uint16_t>& levels,
                                       const std::vector<uint16_t>& chances, uint8_t selected,
                                       const std::vector<std::pair<uint8_t, uint16_t>>& slots) {
    TStream_Writer writer;
    for (const auto* values : {&ids, &levels, &chances}) {
        TWordList list;
        for (uint16_t v : *values) list.Add(v);
        Write_Word_List(writer, list);
    }
    Write_Byte(writer, selected);
    for (const auto& [kind, value] : slots) {
        Write_Byte(writer, kind);
        Write_Word(writer, value);
    }
    return writer.Bytes();
}

TEST_F(SpellsTest, StreamRoundTripAndDamagedBars) {
    TSpells_List list;
    list.Set_Spell(3, 4, 50);
    list.Set_Spell(999, 2, 25); // unknown to the table: kept, and skipped where it is used
    list.Set_Quick_Slot(2, Quick_Slot_Scroll, 44);
    list.Set_Quick_Slot(10, Quick_Slot_Spell, 3);
    list.Set_Selected_Slot(10);
    TStream_Writer writer;
    list.Save_To_Stream(writer);

    TSpells_List copy;
    TStream_Reader reader(writer.Bytes());
    ASSERT_TRUE(copy.Load_From_Stream(reader));
    EXPECT_TRUE(reader.At_End());
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Spell_Id(2), 999);
    EXPECT_EQ(copy.Stored_Level(2), 2);
    EXPECT_EQ(copy.Cast_Chance(1), 50);
    EXPECT_EQ(copy.Get_Selected_Slot(), 10);
    for (int32_t n = 1; n <= 10; ++n) {
        uint8_t k1, k2;
        uint16_t v1, v2;
        list.Get_Quick_Slot(n, k1, v1);
        copy.Get_Quick_Slot(n, k2, v2);
        EXPECT_EQ(k1, k2) << n;
        EXPECT_EQ(v1, v2) << n;
    }
    copy.Fill_Quick_Bar(false, true); // the unknown id never reaches the bar
    uint8_t kind = 9;
    uint16_t value = 9;
    copy.Get_Quick_Slot(1, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Empty);

    // A selected slot of 200 and a slot of kind 7 load as nothing.
    std::vector<std::pair<uint8_t, uint16_t>> slots(10, {0, 0});
    slots[0] = {7, 12};
    slots[1] = {2, 13};
    TStream_Reader damaged(Spell_List_Stream({5}, {1}, {100}, 200, slots));
    ASSERT_TRUE(copy.Load_From_Stream(damaged));
    EXPECT_EQ(copy.Get_Selected_Slot(), 0);
    copy.Get_Quick_Slot(1, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Empty);
    EXPECT_EQ(value, 0);
    copy.Get_Quick_Slot(2, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Scroll);
    EXPECT_EQ(value, 13);

    // Lists of unequal length fail the load and leave the list as it was.
    for (const auto& [ids, levels, chances] :
         std::vector<std::tuple<std::vector<uint16_t>, std::vector<uint16_t>, std::vector<uint16_t>>>{
             {{5, 6}, {1}, {100, 100}}, {{5}, {1}, {}}}) {
        TStream_Reader unequal(Spell_List_Stream(ids, levels, chances, 1, slots));
        EXPECT_THROW(copy.Load_From_Stream(unequal), EStream_Read_Error);
        EXPECT_EQ(copy.Count(), 1);
        EXPECT_EQ(copy.Spell_Id(1), 5);
    }

    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
    copy.Get_Quick_Slot(2, kind, value);
    EXPECT_EQ(kind, Quick_Slot_Empty);
}

TEST_F(SpellsTest, ShippedSpellsAndClassesLoadAndAgree) {
    Set_Base_Folder(std::string(MURK_SHIPPED_DATA_DIR) + "/");
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    for (TRun_Profile profile : {TRun_Profile::Game, TRun_Profile::Tool}) {
        Set_Run_Profile(profile);
        ASSERT_TRUE(Load_Display_Effects());
        ASSERT_TRUE(Load_Master_Spells());
        ASSERT_TRUE(Reload_Class_Info());
        EXPECT_TRUE(Messages->Error_Lists.empty());
        ASSERT_GE(Master_Spell_Count(), 10);
        ASSERT_GE(Class_Count(), 3);

        std::set<std::string> spell_names;
        std::set<uint8_t> targets;
        for (int32_t id = 1; id <= Master_Spell_Count(); ++id) {
            const TSpell& spell = *Get_Master_Spell(id);
            SCOPED_TRACE(spell.Name);
            EXPECT_TRUE(spell_names.insert(Ascii_Lower(spell.Name)).second) << "name used twice";
            EXPECT_GE(spell.Picture_Id, 1);
            EXPECT_GE(spell.Maximum_Levels_From_Start, 1);
            targets.insert(spell.Target_Type);
            EXPECT_EQ(spell.Effect_Modifier_Kinds.Count(), spell.Effects->Get_Count());
            for (int32_t n = 1; n <= spell.Effects->Get_Count(); ++n)
                EXPECT_NE(spell.Effect_Modifier_Kinds.Get(n), 0) << "effect " << n;
            const bool damages = spell.Effects->Strongest_Damage_Type() != 0;
            if (damages) {
                EXPECT_NE(spell.Damage->Firing_FX, 0) << "a damage spell shows a missile or a burst";
                EXPECT_GE(spell.Damage->Range, 1);
            }
            const std::string summon = Ascii_Lower(Trim_Data(spell.Summon_Name));
            EXPECT_EQ(spell.Target_Type == Spell_Target_None, summon != "none" && spell.Summon_Count(1) > 0);
            if (!spell.Required_Spell_Name.empty()) {
                EXPECT_TRUE(spell_names.count(Ascii_Lower(spell.Required_Spell_Name)))
                    << "requires a spell defined before it";
            }
        }
        EXPECT_EQ(targets.size(), 6u) << "every target kind is shipped";

        for (int32_t index = 1; index <= Class_Count(); ++index) {
            const TClass_Info& c = *Get_Class(index);
            SCOPED_TRACE(c.Name);
            EXPECT_FALSE(c.Portraits.empty());
            EXPECT_FALSE(c.Starting_Items.empty());
            EXPECT_GT(c.Get_Experience_For_Level(0), 0);
            EXPECT_GT(c.Get_Experience_For_Level(100), c.Get_Experience_For_Level(99));
            int32_t starting = 0;
            for (int32_t n = 1; n <= c.Get_Spell_Count(); ++n) {
                EXPECT_TRUE(spell_names.count(c.Get_Spell_Name(n))) << c.Get_Spell_Name(n);
                const uint16_t group = c.Get_Spell_Group_By_Number(n);
                EXPECT_TRUE(group >= 1 && group <= c.Get_Group_Count()) << c.Get_Spell_Name(n);
                if (c.Spell_Starting_Levels.Get(n) >= 1) ++starting;
            }
            EXPECT_GE(starting, 1) << "a new character knows something";
        }
        Free_Display_Effects();
    }
}

} // namespace
