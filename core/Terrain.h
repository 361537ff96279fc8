// Terrain kinds: what a map square is made of. Each map reads its own terrain data file from the module's
// "Tiles/" folder into its terrain list; squares refer to a kind by its position in that list, so the same
// file must always give the same positions.
#pragma once

#include "core/Damage.h"
#include "core/DataFileLoader.h"
#include "core/SaveStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Movement kinds (bits of Movement_Flags, and the kind a creature asks with).
enum : uint8_t {
    Movement_Land = 1,
    Movement_Air = 2,
    Movement_Water = 4,
    Movement_Ethereal = 8,
};

// Vision kinds (bits of Vision_Flags).
enum : uint8_t {
    Vision_Normal = 1,
};

// The side from which a terrain hides its sight-hidden layer (Sight_Side_Hidden).
enum : uint8_t {
    Side_None = 0,
    Side_North = 1,
    Side_East = 2,
    Side_South = 3,
    Side_West = 4,
};

// The square actions a terrain can answer to (the codes of Action_Names).
enum : uint8_t {
    Action_None = 0,
    Action_Move = 1,
    Action_Open = 2,
    Action_Close = 3,
    Action_Look = 4,
    Action_Examine = 5,
    Action_Take = 6,
    Action_Eat = 7,
    Action_Use = 8,
    Action_Cast = 9,
    Action_Attack = 10,
    Action_Any = 11,
    Action_Bash_Door = 12,
    Action_Open_Secret = 13,
};

class TTerrain {
public:
    uint16_t List_Id = 0; // position in the terrain list, set when stored
    uint16_t Data_Id = 0; // "ID": what transitions and the map generator refer to
    std::string Name;
    std::string Description; // shown for a terrain whose action is "Look"
    // Lower-case (ASCII), sorted, each at most once.
    TString_List Categories;
    std::string Picture_L1, Picture_L2, Picture_L3; // empty: the layer is absent
    uint8_t Movement_Flags = 0;                     // Movement_Land | Movement_Air | ...
    uint8_t Vision_Flags = 0;                       // Vision_Normal
    uint16_t Next_Animated_Terrain_Id = 0;
    uint32_t Overview_Color = 0; // red + green * 256 + blue * 65536
    uint8_t Light_Radius = 0;
    TDamage Damage;
    uint8_t Sight_Side_Hidden = Side_None;
    uint8_t Sight_Hidden_Layer = 3; // the layer the side rule hides: 2 or 3
    uint8_t Next_Terrain_Action = Action_None;
    std::string Next_Terrain_Sound;
    uint16_t Next_Terrain_Id_1 = 0; // what "Open", "Close" or "Open Secret" turn this terrain into
    uint16_t Next_Terrain_Id_2 = 0; // what a bashed door becomes
    uint16_t Next_Terrain_Id_3 = 0;
    uint16_t Next_Terrain_Id_4 = 0;
    bool Display_Chest_Window = false;
    std::string Locked_Terrain_Group;
    TString_List Locked_Key_Groups;
    std::string Trapped_Terrain_Group;
    uint8_t Style = 0;
    // Picture variants: duplicate n has the layer-2 name Duplicate_L2[n - 1] and the layer-3 name
    // Duplicate_L3[n - 1] (either may be empty). The two lists always have the same length.
    TString_List Duplicate_L2, Duplicate_L3;
    // Sheet slots of the three layers, set before drawing.
    int16_t Picture_Index_L1 = 0, Picture_Index_L2 = 0, Picture_Index_L3 = 0;

    // Copies every field, List_Id, the lists and the damage included.
    void Assign(const TTerrain& other);

    bool Allows_Movement(uint8_t kind) const { return (Movement_Flags & kind) != 0; }
    bool Allows_Vision(uint8_t kind) const { return (Vision_Flags & kind) != 0; }
    // The name is compared in ASCII lower case.
    bool Has_Category(const std::string& name) const;
    // Sets the categories from a comma-separated text: each piece trimmed and lower-cased.
    void Set_Categories(const std::string& text);

    // Layers 1..3; any other layer number gives "" and changes nothing.
    std::string Picture_File(int32_t layer) const;
    void Set_Picture_File(int32_t layer, const std::string& name);
    void Set_Picture_Index(int32_t layer, int16_t index);
    // Layer 1, the border picture (type 1..15; 0 none), then layers 2 and 3 unless hidden, each layer only
    // when it names a picture.
    void Draw(int32_t surface, int32_t x, int32_t y, bool hide_layer_3, bool hide_layer_2,
              uint8_t border) const;

    // The Data_Id this terrain turns into under the action; 0 for none. "Open", "Close" and "Open Secret"
    // act only when they are the terrain's own action, and then play its sound. "Use" and "Any" stand for
    // the terrain's own action: an own "Open", "Close" or "Open Secret" gives Next_Terrain_Id_1 (its sound
    // played by that action), and the sound is played once more for "Use" or "Any" whatever the result.
    // "Bash Door" gives Next_Terrain_Id_2 silently.
    uint16_t Do_Action(uint8_t action) const;
};

class TTerrain_List {
public:
    TTerrain_List() = default;
    TTerrain_List(const TTerrain_List&) = delete;
    TTerrain_List& operator=(const TTerrain_List&) = delete;

    std::string File_Name; // the data file last loaded

    // The terrain at position id; null for 0, beyond the count and for an empty position. Ids come from map
    // files and data, so none is trusted.
    TTerrain* Terrain(int32_t id);
    const TTerrain* Terrain(int32_t id) const;
    uint16_t Count() const { return static_cast<uint16_t>(Positions_.size()); }

    // Stores a copy. Id 0 appends it; any other id replaces the terrain at that position, which must
    // exist. The copy's List_Id becomes its position, which is returned; 0 when nothing was stored (a
    // position that does not exist, or a list already holding 65535 positions).
    uint16_t Put(const TTerrain& terrain, uint16_t id);
    // Appends a copy, as Put with id 0.
    uint16_t Add(const TTerrain& terrain);
    void Clear();
    void Clear_All() { Clear(); }
    // Copies File_Name and a copy of each of the other's terrains, in position order.
    void Assign(const TTerrain_List& other);

    // The List_Id of the last terrain with that Data_Id; 0 when none. Picture variants keep the Data_Id of
    // their source, so the last variant is found.
    uint16_t Find_By_Data_Id(uint16_t data_id) const;

    // Replaces the list with the terrains of the file and their picture variants. Errors are shown with the
    // heading "Terrain Data File Errors: " and give false; every terrain read stays in the list either way.
    bool Load_From_File(const std::string& path);

private:
    void Expand_Duplicates();

    std::vector<std::unique_ptr<TTerrain>> Positions_; // position id is element id - 1; null: empty
};

// Reads a terrain data file: every record makes one terrain, added to the list given.
class TTerrain_Data_File_Loader : public TData_File_Loader {
public:
    TTerrain_Data_File_Loader(const std::string& file_name, TTerrain_List& list)
        : TData_File_Loader(file_name), List_(list) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    // A flag key's value; a missing key is reported and reads as false.
    bool Read_Flag(const std::string& key);

    TTerrain_List& List_;
};

// The parts of the data-file values, exposed for the tests and for the tools that write terrain files.
// "r,g,b" -> r + g * 256 + b * 65536; missing or unusable parts count as 0.
uint32_t Parse_Overview_Color(const std::string& text);
// "north", "east", "south", "west" (trimmed, any ASCII case) -> 1..4; anything else 0.
uint8_t Parse_Sight_Side(const std::string& text);
// An exact action name of 1..13 -> its code; anything else 0.
uint8_t Parse_Terrain_Action(const std::string& text);
