#include "core/NameTables.h"

#include "core/Profile.h"

#include <iterator>

namespace {

template <size_t N> constexpr TName_Table Make_Table(const char* const (&names)[N], int first) {
    return TName_Table{names, first, first + static_cast<int>(N) - 1};
}

const char* const Item_Types[] = {"None",     "Ammo", "Amulet",  "Armor",  "Belt",   "Boots",
                                  "Bow",      "Food", "Gloves",  "Helm",   "Key",    "Misc",
                                  "Potion",   "Ring", "Scepter", "Scroll", "Shield", "Staff",
                                  "Treasure", "Wand", "Weapon",  "Gold",   "Glyph",  "Orb"};
const char* const Retreats[] = {"None", "When lightly hurt", "When moderately hurt", "When severely hurt",
                                "Never Retreat"};
const char* const Ranges[] = {"None",         "When Seen",   "Long Range",
                              "Medium Range", "Short Range", "Point Blank"};
const char* const Strategies[] = {"None",
                                  "None",
                                  "Stay Put",
                                  "Wander Around",
                                  "Patrol",
                                  "Hunt",
                                  "Ranged Hunt",
                                  "Guard",
                                  "Keep Away",
                                  "Follow",
                                  "Guard Monster",
                                  "Anchored 3 Squares",
                                  "Anchored 5 Squares",
                                  "Anchored 10 Squares"};
const char* const Corpses[] = {"None",           "Small Skeleton", "Medium Skeleton",
                               "Large Skeleton", "Huge Skeleton",  "Small Corpse",
                               "Medium Corpse",  "Large Corpse",   "Huge Corpse"};
const char* const Intelligences[] = {"None", "Minimal", "Animal", "Novice", "Expert"};
const char* const Statuses[] = {"Норма", "Паника", "Отравление", "Слепота", "Паралич", "Сон"};
const char* const Consumptions[] = {"None",
                                    "Food",
                                    "Health",
                                    "Mana",
                                    "Cure Poison",
                                    "Timed Effect",
                                    "Permanent Effect",
                                    "Permanent Health",
                                    "Permanent Mana",
                                    "Permanent Strength",
                                    "Permanent Intelligence",
                                    "Permanent Dexterity",
                                    "Permanent Constitution"};
const char* const Connections[] = {"Two Way - Always", "Two Way - Destination Initiated",
                                   "Two Way - Source Initiated", "One Way Only"};
const char* const Triggers[] = {"None", "Item Given To Monster", "Monster Killed",
                                "Monster Talked To About Topic", "Quest Completed"};
const char* const Results[] = {
    "None",         "Quest Completed", "Quest Failed", "Quest Visible True", "Quest Visible False",
    "Display Text", "End Game",        "Play Music"};
const char* const Modifier_Types[] = {"Prefix", "Suffix"};
const char* const Amount_Types[] = {"Number", "Percent"};
const char* const Display_Types[] = {"Directional", "Frames"};
const char* const Targets[] = {"Нет", "Монстр", "На себя", "Место", "Постоянно", "Группа монстров"};
const char* const Targets_English[] = {"None", "Monster", "Self", "Location", "Always On", "Monster Area"};
const char* const Effects[] = {"Attack Ignores Targets Defense",
                               "Attack Ability",
                               "Attacker Takes Damage",
                               "Cold Damage",
                               "Cold Resist",
                               "Constitution",
                               "Damage",
                               "Damage Generates Mana",
                               "Damage Reduction",
                               "Defense Ability",
                               "Dexterity",
                               "Each Kill Regenerates Mana",
                               "Fire Damage",
                               "Fire Resist",
                               "Gold Value",
                               "Intelligence",
                               "Life",
                               "Life Current",
                               "Life Regeneration",
                               "Life Stolen",
                               "Light Radius",
                               "Lightning Damage",
                               "Lightning Resist",
                               "Magic Damage",
                               "Magic Resist",
                               "Make Monsters Flee",
                               "Mana",
                               "Mana Regeneration",
                               "Mana Current",
                               "Mana Stolen",
                               "Maximum Damage",
                               "Minimum Damage",
                               "Monster Increase Health",
                               "Monster Increase Attack Ability",
                               "Monster Increase Defense Ability",
                               "Monster Increase Min Damage",
                               "Monster Increase Max Damage",
                               "Monster Increase Move Speed",
                               "Monster Increase Attack Speed",
                               "Monster Increase Damage Resistance",
                               "More Gold",
                               "Poison Damage",
                               "Poison Length Reduction",
                               "Poison Resist",
                               "Reduce Target Defense",
                               "Reduce Target Resist All",
                               "Resist All",
                               "Skill Levels",
                               "Strength",
                               "Two Weapons",
                               "Bash Doors",
                               "Detect Secret Doors",
                               "Detect Traps",
                               "Pick Locks",
                               "Reduced Detection Chance",
                               "Physical Resist",
                               "Reduce Target Attack Ability",
                               "Cure Poison",
                               "Detect Evil",
                               "Decrease Current Hunger",
                               "Blind Target",
                               "Change Allegiance",
                               "Reduce Target Damage",
                               "Damage All",
                               "Remove Curse",
                               "Cause Sleep",
                               "Dispel Undead",
                               "Reduce Target Movement",
                               "Hunger",
                               "Weight",
                               "Paralyze Target",
                               "Teleport",
                               "Reduce Movement",
                               "Reduce Attack Ability",
                               "Reduce Defense Ability",
                               "Reduce Resist All",
                               "Reduce Damage"};
const char* const Actions[] = {"None", "Move", "Open", "Close",  "Look", "Examine",   "Take",
                               "Eat",  "Use",  "Cast", "Attack", "Any",  "Bash Door", "Open Secret"};

} // namespace

const TName_Table Item_Type_Names = Make_Table(Item_Types, 0);
const TName_Table When_To_Retreat_Names = Make_Table(Retreats, 0);
const TName_Table Response_Range_Names = Make_Table(Ranges, 0);
const TName_Table Movement_Strategy_Names = Make_Table(Strategies, 0);
const TName_Table Corpse_Type_Names = Make_Table(Corpses, 0);
const TName_Table Intelligence_Category_Names = Make_Table(Intelligences, 0);
const TName_Table Status_Names = Make_Table(Statuses, 0);
const TName_Table Consumption_Type_Names = Make_Table(Consumptions, 0);
const TName_Table Connection_Type_Names = Make_Table(Connections, 1);
const TName_Table Event_Trigger_Type_Names = Make_Table(Triggers, 0);
const TName_Table Event_Result_Type_Names = Make_Table(Results, 0);
const TName_Table Modifier_Type_Names = Make_Table(Modifier_Types, 1);
const TName_Table Amount_Type_Names = Make_Table(Amount_Types, 1);
const TName_Table Display_Effect_Type_Names = Make_Table(Display_Types, 1);
const TName_Table Spell_Target_Names = Make_Table(Targets, 1);
const TName_Table Spell_Target_Names_English = Make_Table(Targets_English, 1);
const TName_Table Effect_Type_Names = Make_Table(Effects, 1);
const TName_Table Action_Names = Make_Table(Actions, 0);

std::string Name_Of(const TName_Table& table, int code) {
    if (code < table.First || code > table.Last) return {};
    return table.Names[code - table.First];
}

int Find_Code(const TName_Table& table, const std::string& text, int lo, int hi) {
    int found = -1;
    for (int code = lo < table.First ? table.First : lo; code <= hi && code <= table.Last; ++code)
        if (text == table.Names[code - table.First]) found = code;
    return found;
}

int Find_Spell_Target(const std::string& text) {
    if (Is_Tool_Profile()) {
        int code = Find_Code(Spell_Target_Names_English, text);
        if (code >= 0) return code;
    }
    return Find_Code(Spell_Target_Names, text);
}
