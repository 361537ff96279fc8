// The words for the world model's numeric codes: data-file loaders match field texts against them
// (exactly, letter case counts) and the screens show them.
#pragma once

#include <cstdint>
#include <string>

struct TName_Table {
    const char* const* Names; // Names[code - First]
    int First;
    int Last;
};

// The name of a code; empty for a code outside the table.
std::string Name_Of(const TName_Table& table, int code);
// The code in lo..hi whose name equals the text exactly; where two codes share a name (only "None" of
// the movement strategies) the later code wins. -1 when nothing matches.
int Find_Code(const TName_Table& table, const std::string& text, int lo, int hi);
inline int Find_Code(const TName_Table& table, const std::string& text) {
    return Find_Code(table, text, table.First, table.Last);
}

extern const TName_Table Item_Type_Names;             // 0..23
extern const TName_Table When_To_Retreat_Names;       // 0..4
extern const TName_Table Response_Range_Names;        // 0..5
extern const TName_Table Movement_Strategy_Names;     // 0..13 (0 and 1 are both "None")
extern const TName_Table Corpse_Type_Names;           // 0..8
extern const TName_Table Intelligence_Category_Names; // 0..4
extern const TName_Table Status_Names;                // 0..5
extern const TName_Table Consumption_Type_Names;      // 0..12
extern const TName_Table Connection_Type_Names;       // 1..4
extern const TName_Table Event_Trigger_Type_Names;    // 0..4
extern const TName_Table Event_Result_Type_Names;     // 0..7
extern const TName_Table Modifier_Type_Names;         // 1..2
extern const TName_Table Amount_Type_Names;           // 1..2
extern const TName_Table Display_Effect_Type_Names;   // 1..2
extern const TName_Table Spell_Target_Names;          // 1..6, as the player sees them
extern const TName_Table Spell_Target_Names_English;  // 1..6, the designers' tool's own words
extern const TName_Table Effect_Type_Names;           // 1..77
extern const TName_Table Action_Names;                // 0..13

inline std::string Item_Type_Name(int code) {
    return Name_Of(Item_Type_Names, code);
}
inline std::string Movement_Strategy_Name(int code) {
    return Name_Of(Movement_Strategy_Names, code);
}
inline std::string Effect_Type_Name(int code) {
    return Name_Of(Effect_Type_Names, code);
}

// The spell target of a data-file text: the game matches the player's words; the tool tries its English
// words first and then the game's, so it reads the game's own files. -1 when nothing matches.
int Find_Spell_Target(const std::string& text);
