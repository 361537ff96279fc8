// Creation, loading, reloading and freeing of the program-wide objects of the world model, in a fixed
// order: the primary ones (path settings and game settings) first, then the map, the module, the game
// options and the sprite list, and the three data tables (display effects, character classes, master
// spells). Each object keeps its own accessor, so a test can install its own instead.
#pragma once

// Path settings, then game settings; logged under "Struct".
void Create_Primary_Global_Structs();
// Reads the game settings file; logged under "Struct".
void Load_Primary_Global_Structs();
// Path settings, then game settings.
void Free_Primary_Global_Structs();
// The map, the module (with the creature death hook connected to its events), the game options, the sprite
// list.
void Create_Global_Structs();
// Display effects, character classes, master spells; the answer is the master spells' load. A table whose
// file fails stays as far as it was filled.
bool Load_Global_Structs();
// The map, the module, the game options; then the master spells, character classes and display effects
// are emptied; last the sprite list.
void Free_Global_Structs();
// After a module is chosen or a game is loaded, so the module's own data files take over: display effects,
// character classes, master spells, then the game settings; the answer is the game settings' load.
bool Reload_Global_Data();
