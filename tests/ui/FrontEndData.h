// Literal data files of the front-end tests: character classes with their portraits and starting spells,
// the master spells they name, and module data files.
#pragma once

#include "tests/support/CoreTestSupport.h"

#include <string>
#include <vector>

// A class record with every key its loader reads; portraits named "<name>_<n>.bmp".
inline TKeys Front_Class(const std::string& name, int portraits, int strength, int gold,
                         const std::string& spell) {
    TKeys keys = {{"Class Name", name},
                  {"Short Description", name + " из долины"},
                  {"Long Description", "-"},
                  {"Number of Portaits", std::to_string(portraits)}};
    for (int n = 1; n <= portraits; ++n)
        keys.emplace_back("Portrait " + std::to_string(n) + " Filename",
                          name + "_" + std::to_string(n) + ".bmp");
    const TKeys rest = {{"Base Strength", std::to_string(strength)},
                        {"Base Dexterity", "12"},
                        {"Base Intelligence", "9"},
                        {"Base Constitution", "14"},
                        {"Base Fire Resistance", "1"},
                        {"Base Lightning Resistance", "2"},
                        {"Base Cold Resistance", "3"},
                        {"Base Magic Resistance", "4"},
                        {"Base Poison Resistance", "5"},
                        {"Base Physical Resistance", "6"},
                        {"Base Maximum Health", "30"},
                        {"Base Maximum Mana", "5"},
                        {"Base Maximum Hunger", "100"},
                        {"Base Maximum Weight", "80"},
                        {"Base Movement Speed", "300"},
                        {"Starting Gold", std::to_string(gold)},
                        {"Characteristic Points Per Level", "5"},
                        {"Spell Points Per Level", "1"},
                        {"Maximum Health - X Per 1 Level", "2"},
                        {"Maximum Health - X Per 1 Constitution", "1"},
                        {"Maximum Mana - X Per 1 Level", "1"},
                        {"Maximum Mana - X Per 1 Intelligence", "1"},
                        {"Maximum Hunger - X Per 1 Constitution", "1"},
                        {"Maximum Weight - X Per 1 Strength", "2"},
                        {"Attack Rating - X Per 1 Dexterity", "3"},
                        {"Defense Rating - X Per 1 Dexterity", "1"},
                        {"Minimum Damage Bonus - X Per 1 Strength", "0.1"},
                        {"Maximum Damage Bonus - X Per 1 Strength", "0.2"},
                        {"Movement Slowdown - Xms Per 1 Over Weight", "25"},
                        {"Health Pct Regeneration Rate Per Second", "0.25"},
                        {"Mana Pct Regeneration Rate Per Second", "0.75"},
                        {"Num Items Carried", "0"},
                        {"Experience Added Past Last Level", "500"},
                        {"Number Of Experience Levels", "2"},
                        {"Experience For Level 1", "100"},
                        {"Experience For Level 2", "300"},
                        {"Spell/Skill Group 1 Name", "Бой"},
                        {"Spell/Skill Group 2 Name", "Магия"},
                        {"Spell/Skill Group 3 Name", "Стойкость"},
                        {"Spell/Skill Group 4 Name", "Скрытность"},
                        {"Spell/Skill Group 5 Name", "Знания"},
                        {"Spell/Skill Group 6 Name", "Ремесло"},
                        {"Number of Spell/Skills", "1"},
                        {"Spell/Skill 1 Name", spell},
                        {"Spell/Skill 1 Group", "1"},
                        {"Spell/Skill 1 Available At Level", "1"},
                        {"Spell/Skill 1 Starting Level", "1"}};
    keys.insert(keys.end(), rest.begin(), rest.end());
    return keys;
}

// A castable single-target spell.
inline TKeys Front_Spell(const std::string& name) {
    return {{"Maximum Levels From Start", "10"},
            {"Name", name},
            {"Description", "-"},
            {"Picture ID", "3"},
            {"Picture Is Maskable", "FALSE"},
            {"Mana Cost to Cast", "10"},
            {"Increase In Mana Cost Per Level", "1"},
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
            {"Number of Effects", "0"}};
}

// The two classes of most tests: "Fighter" (3 portraits, strength 17, 7 gold, "Bash") and "Mage"
// (2 portraits, strength 8, 40 gold, "Spark").
inline std::string Front_Classes_File() {
    return Data_File_Text({Front_Class("Fighter", 3, 17, 7, "Bash"), Front_Class("Mage", 2, 8, 40, "Spark")},
                          "Classes");
}
inline std::string Front_Spells_File() {
    return Data_File_Text({Front_Spell("Bash"), Front_Spell("Spark")}, "Spells");
}

// A module's data file with the three texts the module choice shows.
inline std::string Module_Data_File(const std::string& description, const std::string& difficulty,
                                    const std::string& data_set) {
    return Data_File_Text({{{"Name", "M"},
                            {"Description", description},
                            {"Module Difficulty Description", difficulty},
                            {"Number of Intro Paragraphs", "0"},
                            {"Character Data Set Identifier", data_set},
                            {"Starting Map Number", "1"},
                            {"Starting Map Entrance ID", "1"},
                            {"Number Of Maps", "0"}}},
                          "Module");
}
