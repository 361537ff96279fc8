// The saved layouts of the world model's records: for each record, the fields it stores in the order the
// file format gives them, with the kind each is written as, taken from the record's public fields. The
// layout tests encode these tables with the golden encoder and compare the bytes each record writes.
#pragma once

#include "core/Damage.h"
#include "core/Effects.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/MapSquare.h"
#include "core/Monster.h"
#include "core/MonsterList.h"
#include "core/Spells.h"
#include "core/Store.h"
#include "tests/support/GoldenStream.h"

#include <string>

namespace golden {

using enum TKind;

// Type, minimum and maximum of every entry as three parallel lists; variances are not stored.
inline TFields Effect_List_Fields(const TEffect_List& e, const std::string& p) {
    const int64_t count = e.Get_Count();
    auto n32 = [](int64_t n) { return static_cast<int32_t>(n); };
    return Join({List(Byte, p + "types", count, [&](int64_t n) { return e.Get_Effect_Type(n32(n)); }),
                 List(Integer, p + "mins", count, [&](int64_t n) { return e.Get_Min_Amount(n32(n)); }),
                 List(Integer, p + "maxes", count, [&](int64_t n) { return e.Get_Max_Amount(n32(n)); })});
}

// The range is stored as a word although the field holds a byte.
inline TFields Damage_Fields(const TDamage& d, const std::string& p) {
    return {{Word, p + "Min", d.Min},
            {Word, p + "Max", d.Max},
            {Word, p + "Range", d.Range},
            {Byte, p + "Firing_FX", d.Firing_FX}};
}

inline TFields Requirements_Fields(const TRequirements& r, const std::string& p) {
    return Join({List(Byte, p + "types", r.Types), List(Integer, p + "amounts", r.Amounts),
                 List(Byte, p + "per-level kinds", r.Per_Level_Kinds),
                 List(Word, p + "per-level amounts", r.Per_Level_Amounts)});
}

inline TFields Attribute_Fields(const TAttribute& a, const std::string& p) {
    return {{Word, p + "First_Word", a.First_Word},
            {Integer, p + "Long_Value", a.Long_Value},
            {Boolean, p + "Flag", a.Flag},
            {Byte, p + "Byte_Value", a.Byte_Value},
            {Word, p + "Second_Word", a.Second_Word},
            {Word, p + "Third_Word", a.Third_Word}};
}

// The position count, then per position a presence flag and, when present, the attribute.
inline TFields Attributes_Fields(const TAttributes_List& list, const std::string& p) {
    TFields f{{Word, p + "count", list.Count(), false}};
    for (int32_t n = 1; n <= list.Count(); ++n) {
        const std::string at = p + std::to_string(n) + " ";
        const TAttribute* a = list.Attribute(n);
        f.emplace_back(Boolean, at + "present", a != nullptr);
        if (a) f = Join({f, Attribute_Fields(*a, at)});
    }
    return f;
}

inline TFields Item_Fields(const TItem& i, const std::string& p) {
    return Join({{{Word, p + "Id", i.Id},
                  {String, p + "Name", i.Name},
                  {String, p + "Description", i.Description},
                  {String, p + "Class_Name", i.Class_Name},
                  {String, p + "Item_Group", i.Item_Group},
                  {Byte, p + "Item_Type", i.Item_Type},
                  {Word, p + "Item_Level", i.Item_Level},
                  {String, p + "Weapon_Type", i.Weapon_Type},
                  {String, p + "Picture", i.Picture}},
                 Damage_Fields(i.Damage, p + "damage "),
                 {{String, p + "Ammo_Type", i.Ammo_Type},
                  {String, p + "Ammo_Required", i.Ammo_Required},
                  {String, p + "Use_Sound", i.Use_Sound},
                  {Word, p + "Weight", i.Weight},
                  {Byte, p + "Hands", i.Hands},
                  {Word, p + "Event_Id", i.Event_Id},
                  {Byte, p + "Consumption_Type", i.Consumption_Type},
                  {Word, p + "Consumption_Value", i.Consumption_Value},
                  {Word, p + "Defense_Rating", i.Defense_Rating},
                  {String, p + "Key_Group", i.Key_Group},
                  {Integer, p + "Gold_Value", i.Gold_Value},
                  {Byte, p + "Light_Radius", i.Light_Radius},
                  {Word, p + "Light_Turns", i.Light_Turns},
                  {Word, p + "Max_Stack", i.Max_Stack},
                  {Word, p + "Quantity", i.Quantity}},
                 Attributes_Fields(i.Attributes, p + "attributes "),
                 Requirements_Fields(i.Requirements, p + "requirement "),
                 Effect_List_Fields(i.Effects, p + "effect "),
                 List(String, p + "spell names", i.Spell_Names),
                 List(Word, p + "spell levels", i.Spell_Levels)});
}

inline TFields Collection_Fields(const TItem_Collection& c, const std::string& p) {
    return List(Word, p + "ids", c.Ids());
}

// The item ids, then the slot of each.
inline TFields Inventory_Fields(const TInventory& inv, const std::string& p) {
    return Join({List(Word, p + "item ids", inv.Contents().Ids()), List(Byte, p + "slots", inv.Slots())});
}

// The position count, the list's name, then per position a presence flag and, when present, the item.
inline TFields Item_List_Fields(const TItem_List& list, const std::string& p) {
    TFields f{{Word, p + "count", list.Count(), false}, {String, p + "name", list.List_Name()}};
    for (int n = 1; n <= list.Count(); ++n) {
        const std::string at = p + "item " + std::to_string(n) + " ";
        const TItem* item = list.Item(static_cast<uint16_t>(n));
        f.emplace_back(Boolean, at + "present", item != nullptr);
        if (item) f = Join({f, Item_Fields(*item, at)});
    }
    return f;
}

// Ids, levels and cast chances as word lists, the selected slot, then kind and value of slots 1..10.
inline TFields Spells_Fields(const TSpells_List& s, const std::string& p) {
    auto n32 = [](int64_t n) { return static_cast<int32_t>(n); };
    TFields f = Join({List(Word, p + "ids", s.Count(), [&](int64_t n) { return s.Spell_Id(n32(n)); }),
                      List(Word, p + "levels", s.Count(), [&](int64_t n) { return s.Stored_Level(n32(n)); }),
                      List(Word, p + "chances", s.Count(), [&](int64_t n) { return s.Cast_Chance(n32(n)); }),
                      {{Byte, p + "selected slot", s.Get_Selected_Slot()}}});
    for (int32_t n = 1; n <= TSpells_List::Quick_Slot_Count; ++n) {
        uint8_t kind = 0;
        uint16_t value = 0;
        s.Get_Quick_Slot(n, kind, value);
        // Three kinds exist for ten slots.
        f.emplace_back(Byte, p + "slot " + std::to_string(n) + " kind", kind, false);
        f.emplace_back(Word, p + "slot " + std::to_string(n) + " value", value);
    }
    return f;
}

// The count, then per attack its name, chance, recharge time, damage and effects.
inline TFields Natural_Attacks_Fields(const TNatural_Attacks& a, const std::string& p) {
    TFields f{{Word, p + "count", a.Get_Count(), false}};
    for (int32_t n = 1; n <= a.Get_Count(); ++n) {
        const std::string at = p + std::to_string(n) + " ";
        f = Join({f,
                  {{String, at + "name", a.Get_Name(n)},
                   {Byte, at + "chance", a.Get_Chance(n)},
                   {Word, at + "recharge", a.Get_Recharge_Time(n)}},
                  Damage_Fields(*a.Get_Damage(n), at + "damage "),
                  Effect_List_Fields(*a.Get_Effects(n), at + "effect ")});
    }
    return f;
}

// Files of versions before "1.01" lack the home square, before "1.06" the experience bonus. Signed
// 16-bit fields go out as words by their bit pattern.
inline TFields Creature_Fields(const TMonster& m, const std::string& p, const std::string& version = "1.06") {
    TFields f = {{Word, p + "Id", m.Id},
                 {String, p + "Name", m.Name},
                 {String, p + "Description", m.Description},
                 {String, p + "Module_Name", m.Module_Name},
                 {String, p + "Picture", m.Picture},
                 {String, p + "Attack_Picture", m.Attack_Picture},
                 {String, p + "Monster_Group", m.Monster_Group},
                 {Boolean, p + "Is_Unique", m.Is_Unique},
                 {Boolean, p + "Is_Undead", m.Is_Undead},
                 {Byte, p + "X", m.X},
                 {Byte, p + "Y", m.Y}};
    if (version >= "1.01") f = Join({f, {{Byte, p + "Home_X", m.Home_X}, {Byte, p + "Home_Y", m.Home_Y}}});
    f = Join({f,
              {{Word, p + "Event_Id", m.Event_Id},
               {Byte, p + "Movement_Flags", m.Movement_Flags},
               {Byte, p + "Vision_Flags", m.Vision_Flags},
               {Byte, p + "Light_Radius", m.Light_Radius},
               {Boolean, p + "Does_Attack", m.Does_Attack},
               {Byte, p + "When_To_Retreat", m.When_To_Retreat},
               {Byte, p + "Response_Range", m.Response_Range},
               {Byte, p + "Movement_Strategy", m.Movement_Strategy},
               {Word, p + "Move_Delay", m.Move_Delay},
               {Byte, p + "Intelligence_Category", m.Intelligence_Category},
               {Byte, p + "Corpse_Type", m.Corpse_Type},
               {String, p + "Sound_Death", m.Sound_Death},
               {String, p + "Sound_Attack", m.Sound_Attack},
               {String, p + "Sound_Growl", m.Sound_Growl},
               {Word, p + "Leader_Id", m.Leader_Id},
               {Word, p + "Guard_Range", m.Guard_Range},
               {Byte, p + "Character_State", m.Character_State},
               {Boolean, p + "Can_Be_Given_Items", m.Can_Be_Given_Items},
               {Word, p + "Base_Strength", m.Base_Strength},
               {Word, p + "Base_Dexterity", m.Base_Dexterity},
               {Word, p + "Base_Intelligence", m.Base_Intelligence},
               {Word, p + "Base_Constitution", m.Base_Constitution},
               {Word, p + "Strength", m.Strength},
               {Word, p + "Dexterity", m.Dexterity},
               {Word, p + "Intelligence", m.Intelligence},
               {Word, p + "Constitution", m.Constitution},
               {Word, p + "Fire_Resist", m.Fire_Resist},
               {Word, p + "Cold_Resist", m.Cold_Resist},
               {Word, p + "Lightning_Resist", m.Lightning_Resist},
               {Word, p + "Magic_Resist", m.Magic_Resist},
               {Word, p + "Poison_Resist", m.Poison_Resist},
               {Word, p + "Physical_Resist", m.Physical_Resist},
               {Word, p + "Base_Resist", m.Base_Resist},
               {Word, p + "Level", m.Level},
               {Integer, p + "Gold", m.Gold},
               {Integer, p + "Experience", m.Experience}}});
    if (version >= "1.06") f.emplace_back(Word, p + "Experience_Bonus", m.Experience_Bonus);
    return Join({f,
                 {{Byte, p + "Class_Index", m.Class_Index},
                  {String, p + "Class_Name", m.Class_Name},
                  {Byte, p + "Status", m.Status},
                  {Integer, p + "Status_Ms", m.Status_Ms},
                  {Word, p + "Status_Source", m.Status_Source},
                  {Word, p + "Permanent_Mana", m.Permanent_Mana},
                  {Word, p + "Permanent_Life", m.Permanent_Life},
                  {Real, p + "Mana", m.Mana},
                  {Word, p + "Max_Mana", m.Max_Mana},
                  {Real, p + "Life", m.Life},
                  {Word, p + "Max_Life", m.Max_Life},
                  {Word, p + "Food", m.Food},
                  {Word, p + "Max_Food", m.Max_Food},
                  {Word, p + "Weight", m.Weight},
                  {Word, p + "Max_Weight", m.Max_Weight},
                  {Real, p + "Life_Regeneration", m.Life_Regeneration},
                  {Real, p + "Mana_Regeneration", m.Mana_Regeneration},
                  {Word, p + "Attack", m.Attack},
                  {Word, p + "Defense", m.Defense},
                  {Word, p + "Attribute_Points", m.Attribute_Points},
                  {Word, p + "Skill_Points", m.Skill_Points}},
                 Inventory_Fields(m.Inventory, p + "inventory "),
                 {{Word, p + "Store_Id", m.Store_Id}},
                 List(String, p + "talk topics", m.Talk_Topics),
                 List(String, p + "talk texts", m.Talk_Texts),
                 Natural_Attacks_Fields(m.Natural_Attacks, p + "attack "),
                 Effect_List_Fields(m.Permanent_Effects, p + "permanent effect "),
                 Spells_Fields(m.Spells, p + "spell "),
                 Effect_List_Fields(m.Timed_Effects, p + "timed effect "),
                 List(Integer, p + "timed effect ms", m.Timed_Effect_Ms),
                 List(String, p + "status lines", m.Status_Lines)});
}

// The slot count, the list's name, then per slot a presence flag and, when present, the creature.
inline TFields Monster_List_Fields(const TMonster_List& list, const std::string& p) {
    TFields f{{Word, p + "count", list.Get_Count(), false}, {String, p + "name", list.Name()}};
    for (int n = 1; n <= list.Get_Count(); ++n) {
        const std::string at = p + "creature " + std::to_string(n) + " ";
        const TMonster* m = list.Get_Monster(static_cast<uint16_t>(n));
        f.emplace_back(Boolean, at + "present", m != nullptr);
        if (m) f = Join({f, Creature_Fields(*m, at)});
    }
    return f;
}

inline TFields Store_Fields(const TStore& s, const std::string& p) {
    return Join({{{Word, p + "Store_Class_Index", s.Store_Class_Index},
                  {String, p + "Store_Class_File", s.Store_Class_File},
                  {String, p + "Item_Class_File", s.Item_Class_File},
                  {Boolean, p + "Stocked", s.Stocked},
                  {String, p + "Store_Name", s.Store_Name},
                  {Word, p + "Buy_Modifier_Min", s.Buy_Modifier_Min},
                  {Word, p + "Buy_Modifier_Max", s.Buy_Modifier_Max},
                  {Word, p + "Sell_Modifier_Min", s.Sell_Modifier_Min},
                  {Word, p + "Sell_Modifier_Max", s.Sell_Modifier_Max},
                  {Real, p + "Magic_Chance_Per_Level", s.Magic_Chance_Per_Level},
                  {Real, p + "Unique_Chance_Per_Level", s.Unique_Chance_Per_Level},
                  {Integer, p + "Item_Min_Level_Offset", s.Item_Min_Level_Offset},
                  {Integer, p + "Item_Max_Level_Offset", s.Item_Max_Level_Offset},
                  {String, p + "Item_Grouping_Type", s.Item_Grouping_Type}},
                 List(String, p + "stock groups", s.Stock_Group_Names),
                 List(Word, p + "stock item ids", s.Stock_Item_Ids)});
}

inline TFields Square_Fields(const TMap_Square& s, const std::string& p) {
    return {{Word, p + "Terrain_Id", s.Terrain_Id},
            {Word, p + "Item_Field", s.Item_Field},
            {Word, p + "Monster_Id", s.Monster_Id},
            {Word, p + "Flags", s.Flags},
            {Byte, p + "Border_Type", s.Border_Type}};
}

// A growable array: a presence flag, and when present its length (position 0 included) and positions
// 1 .. length - 1, each written by element(n).
template <typename TElement> TFields Array_Fields(const std::string& p, int32_t length, TElement element) {
    TFields f{{Boolean, p + "present", length > 0}};
    if (length == 0) return f;
    f.emplace_back(Word, p + "length", length, false);
    for (int32_t n = 1; n < length; ++n) f = Join({f, element(n, p + std::to_string(n) + " ")});
    return f;
}

// The map record (the file routines write the file version before it). Squares run x outer, y inner.
inline TFields Map_Fields(const TMap& map) {
    TFields f{
        {String, "Version", map.Version}, {String, "File_Name", map.File_Name}, {String, "Name", map.Name}};
    f.reserve(5 * Map_Width * Map_Height + 64);
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y)
            for (TField& square : Square_Fields(*map.Get_Square(x, y), "square " + std::to_string(x) + "," +
                                                                           std::to_string(y) + " "))
                f.push_back(std::move(square));
    f = Join(
        {f,
         {{Boolean, "Universal_Light", map.Universal_Light},
          {String, "terrain file", map.Terrain_List.File_Name}},
         Item_List_Fields(map.Item_List, "item list "),
         Monster_List_Fields(map.Monster_List, "creature list "),
         Array_Fields("piles ", map.Item_Pile_Length(),
                      [&](int32_t n, const std::string& at) {
                          const TItem_Collection* pile = map.Get_Item_Pile(n);
                          TFields g{{Boolean, at + "present", pile != nullptr}};
                          return pile ? Join({g, Collection_Fields(*pile, at)}) : g;
                      }),
         // Stores carry no presence flag of their own.
         Array_Fields("stores ", map.Store_Count() == 0 ? 0 : map.Store_Count() + 1,
                      [&](int32_t n, const std::string& at) { return Store_Fields(*map.Get_Store(n), at); }),
         // Chest n lies on entry n of the chest squares.
         Array_Fields("chests ", map.Chest_Count() == 0 ? 0 : map.Chest_Count() + 1,
                      [&](int32_t n, const std::string& at) {
                          return List(Word, at + "items",
                                      *map.Get_Chest(map.Chest_Xs().Get(n), map.Chest_Ys().Get(n)));
                      }),
         List(Word, "chest xs", map.Chest_Xs()),
         List(Word, "chest ys", map.Chest_Ys()),
         List(String, "lock key names", map.Lock_Key_Names()),
         List(Word, "lock xs", map.Lock_Xs()),
         List(Word, "lock ys", map.Lock_Ys()),
         List(String, "trap names", map.Trap_Names()),
         List(Word, "trap xs", map.Trap_Xs()),
         List(Word, "trap ys", map.Trap_Ys())});
    return f;
}

} // namespace golden
