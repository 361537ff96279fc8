// The rules of the character dialog that need no screen: which portraits a class offers and where their
// pictures lie on the monster sheet, the checks a new character must pass, how a new character is made from
// its class, how a stored character is taken up again, and the status line of a stored character.
//
// The character these rules fill is the game screen's one template character, used again for every game of
// a run; each fill starts from a freshly made creature, so nothing of an earlier character (experience,
// points, spells, effects, items of another map, state) carries over.
#pragma once

#include "core/TypedLists.h"

#include <cstdint>
#include <optional>
#include <string>

class TDisplay_Object;
class TMonster;

// Where each class's portraits lie: for class n, positions First(n) .. Last(n) of the picture list hold the
// monster-sheet cells of its portraits in order. A class without portraits (or a hole of the table) has
// Last = First - 1.
class TPortrait_Map {
public:
    // For every class of the table in order, its portrait pictures are added to the monster sheet (names
    // already there are not loaded again) and their cells recorded; then magenta becomes black on the sheet.
    // Without a display object the classes get their positions but no picture.
    void Build(TDisplay_Object* display);

    // The number of portraits of the class (0 for a class the map does not hold).
    int32_t Portrait_Count(int32_t class_index) const;
    // The monster-sheet cell of portrait i (from 1) of the class; -1 when the class has no such portrait or
    // its picture is not on the sheet.
    int32_t Picture_Cell(int32_t class_index, int32_t portrait) const;

    TWordList First_Positions;
    TWordList Last_Positions;
    TWordList Pictures;
};

// The class index a line of the class list stands for: the line itself when the table has that class,
// else 0 (no class).
int32_t Class_Of_Line(int32_t line);

// A refusal shown in the dialog's message box.
struct TChoice_Refusal {
    std::string Caption;
    std::string Text;
    bool operator==(const TChoice_Refusal&) const = default;
};

// The checks of a new character, in order: a class, a portrait, a name, and no character file of that name
// (found ignoring letter case). class_index 0 and portrait 0 mean none chosen.
std::optional<TChoice_Refusal> Check_New_Character(int32_t class_index, int32_t portrait,
                                                   const std::string& name);
// Makes the target the new character: class, portrait, name, description, level 1, the class's base
// statistics and gold, life, mana and food full, the class's starting spells on the quick bar. The game
// options' start level becomes 1.
void Make_New_Character(TMonster& target, int32_t class_index, int32_t portrait, const std::string& name);

// The refusal of a stored character: none loaded, or one that is in a module now.
std::optional<TChoice_Refusal> Check_Existing_Character(const TMonster* preview);
// Makes the target a copy of the stored character, brought back to life when it had died, with life, mana
// and food full; the game options' start level becomes its level.
void Take_Existing_Character(TMonster& target, const TMonster& preview);
// What choosing a stored character does beyond the copy: a dead one gets experience 0, half its gold
// (rounded down) and becomes available; then life, mana and food are filled.
void Apply_Returning_Character(TMonster& character);
// The module start reads the character file again to bring its items into the new map; that read undoes
// the choice, so it is applied once more, with the module's data-set identifier recorded on the character.
void Reapply_Existing_Character(TMonster& player, const std::string& data_set);

// The status line of a stored character: by its state, unless the character was made with another data
// set than the module's (the module's identifier is given), which only informs.
std::string Character_Status_Text(const TMonster& character, const std::string& module_data_set);
