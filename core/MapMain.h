// The level in play: 200 x 200 squares with the terrain kinds, items and creatures that live on it, its item
// piles, stores, chests, locks and traps, and the two 15 x 15 working grids the game screen reads when it
// draws the view around the player (what is visible, how dark each square is). One map is current; every
// other map of the module lives in its map file and is loaded into that same object on a change of map.
#pragma once

#include "core/Callbacks.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapSquare.h"
#include "core/MonsterList.h"
#include "core/SaveStream.h"
#include "core/Store.h"
#include "core/Terrain.h"
#include "core/TypedLists.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

constexpr int32_t Map_Width = 200;
constexpr int32_t Map_Height = 200;
// The view window around the player: 15 x 15 squares, the player in the middle cell (7, 7 counted from 0).
constexpr int32_t View_Size = 15;
constexpr int32_t View_Centre_Offset = 7;

// A view window's cells, [i][j] with i along x and j along y, both 0-based: cell [i][j] shows the square
// (window x + i, window y + j).
using TView_Grid = std::array<std::array<uint8_t, View_Size>, View_Size>;

// Light levels of the light grid: 0 bright .. 4 dark.
constexpr uint8_t Light_Level_Dark = 4;

class TMap;

// Fills the stores of a map that has just been loaded: loads the class lists named by store 1, restocks
// every store and frees what it loaded, also when it fails. Installed by the game once the class lists
// exist; the map has already deleted the old stock's items and emptied every stock when it is called.
using TStore_Restocker = std::function<void(TMap& map)>;
void Set_Store_Restocker(TStore_Restocker restocker);
const TStore_Restocker& Store_Restocker();

class TMap {
public:
    TMap();
    virtual ~TMap();
    TMap(const TMap&) = delete;
    TMap& operator=(const TMap&) = delete;

    std::string Name;
    bool Universal_Light = false; // the whole map is lit; no darkness is computed
    std::string Version = "1.00";
    std::string File_Name; // the file the map was last loaded from
    TTerrain_List Terrain_List;
    TItem_List Item_List;       // every item of the level, wherever it is; id = position
    TMonster_List Monster_List; // every creature of the level, the player included; id = position

    // Empties every square, the creature and item lists, the locks and traps, and frees every pile, store
    // and chest; the terrain list too when with_terrain. Name, File_Name, Version and Universal_Light stay.
    void Clear(bool with_terrain);
    // A deep copy of everything but the view and light grids.
    void Assign(const TMap& other);
    void Set_Name(const std::string& name) { Name = name; }
    void Set_Universal_Light(bool on) { Universal_Light = on; }

    // The map record (after the file version the file routines write): version, file name, name, the
    // squares (x outer, y inner), Universal_Light, the terrain file's path, the item list, the creature
    // list, the piles, stores and chests with presence flags, then the chest squares, locks and traps.
    bool Save(TStream_Writer& w) const;
    // Reads the record into this map. The terrain list is reloaded from the stored file's name in the
    // module's "Tiles/" folder; File_Name becomes file_name. After reading, the stores are restocked unless
    // restock is false (a map read aside is restocked once it has become the current map). Raises
    // EStream_Read_Error on a broken stream, when the chest, lock or trap lists differ in length, and when
    // the terrain name or a store's class file names would leave their folder, leaving the map partly read
    // (the file routines read into a new map and drop it). Otherwise true: a creature or item record that
    // reads as unusable leaves its slot empty and the map loads.
    bool Load(TStream_Reader& r, const std::string& file_name, bool restock = true);

    // The square at x, y; null outside 1..200 (positions come from files and creature records).
    // Inline: path finding and the creatures' searches ask for thousands of squares in every tick.
    TMap_Square* Get_Square(int32_t x, int32_t y) {
        return Inside(x, y) ? &Squares_[Square_Index(x, y)] : nullptr;
    }
    const TMap_Square* Get_Square(int32_t x, int32_t y) const {
        return Inside(x, y) ? &Squares_[Square_Index(x, y)] : nullptr;
    }
    // Whether sight of the kind passes the square; outside the map counts as open.
    bool Square_Allows(int32_t x, int32_t y, uint8_t vision_kind) const;
    // Records the creature on the square at its own X, Y; nothing when that is outside the map.
    void Place_Monster(const TMonster& creature);
    // Takes the creature with the id off its square and out of the creature list at once. It stays alive
    // on the list's release list until End_Tick, since the tick that removed it may still hold it.
    void Remove_Monster(uint16_t id);
    // The end of a game tick: frees the creatures removed during it.
    void End_Tick();

    static int32_t Clamp_X(int32_t v);
    static int32_t Clamp_Y(int32_t v);
    // The Euclidean distance rounded to the nearest integer.
    static int32_t Get_Distance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // King moves: max(|dx|, |dy|).
    static int32_t Get_Range(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

    // A random square that land movement may enter and no creature holds, in the block of radius 1, then
    // 2, ... up to 10 around x, y (the origin included). False with fx = fy = 0 when none.
    bool Find_Free_Square_Near(int32_t x, int32_t y, int32_t& fx, int32_t& fy) const;
    // The squares between the two (not counting them) that block normal sight; for sound loudness.
    int32_t Count_Blocking_On_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const;
    // Whether every square between the two lets normal sight through, lets flying things pass and holds no
    // creature; a creature asks it before it casts at a target.
    bool Is_Line_Clear(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const;

    // What a viewer in the middle of the window at x0, y0 (its top-left square) sees: 1 visible, 0 hidden.
    void Compute_Line_Of_Sight(int32_t x0, int32_t y0, TView_Grid& grid, uint8_t vision_kind) const;
    // Called by the game screen every frame with the view window's top-left square and the player's vision
    // kind: first the field of view, then the lighting.
    void Update_Field_Of_View(int32_t x0, int32_t y0, uint8_t vision_kind);
    void Update_Lighting(int32_t x0, int32_t y0, uint8_t vision_kind);
    // Cells of the last window, 0-based; 0 outside 0..14.
    uint8_t Is_Visible(int32_t i, int32_t j) const;
    uint8_t Get_Light_Level(int32_t i, int32_t j) const;
    int32_t View_X() const { return View_X_; }
    int32_t View_Y() const { return View_Y_; }
    uint8_t View_Mode() const { return View_Mode_; }
    int32_t Light_X() const { return Light_X_; }
    int32_t Light_Y() const { return Light_Y_; }
    uint8_t Light_Mode() const { return Light_Mode_; }

    // Gives every creature, in id order up to the count at the start, its update for this tick. A creature
    // added during the pass waits for the next tick; one removed is skipped. The tick ends with End_Tick.
    void Update_Monsters(const TCallback_Set& callbacks, double rate);

    // Item piles are numbered from 1; a freed pile leaves a hole that a new pile fills again.
    // A new empty pile in the highest hole, or appended; its index.
    uint16_t New_Item_Pile();
    // Null for a hole or an index outside the array.
    TItem_Collection* Get_Item_Pile(int32_t index) const;
    // False for an index outside the array.
    bool Delete_Item_Pile(int32_t index);
    // The array length, position 0 included (0 when no pile was ever made).
    int32_t Item_Pile_Length() const { return static_cast<int32_t>(Item_Piles_.size()); }

    // Stores are numbered from 1. Add_Store returns the new store's number.
    int32_t Add_Store(std::unique_ptr<TStore> store);
    // Null outside 1..Store_Count.
    TStore* Get_Store(int32_t index) const;
    int32_t Store_Count() const;
    // Run after every load: deletes the items still listed in each store's stock, empties the stocks and
    // lets the installed restocker fill them. Nothing without stores or without a restocker (the stores
    // then stay as loaded).
    void Restock_Stores();

    // Chests are numbered from 1, each a list of item ids on a square.
    // False, adding nothing, when the chest lists are full or the square is off the map.
    bool Add_Chest(const TWordList& item_ids, int32_t x, int32_t y);
    // The items of the last chest recorded at x, y; null when none.
    TWordList* Get_Chest(int32_t x, int32_t y) const;
    int32_t Chest_Count() const;
    const TWordList& Chest_Xs() const { return Chest_Xs_; }
    const TWordList& Chest_Ys() const { return Chest_Ys_; }

    // On: marks the square and records the entry. Off: unmarks the square and drops the last entry
    // recorded at x, y. Several entries may name one square; the last one counts. Nothing happens off the
    // map, nor for on when the lists are full.
    void Set_Lock(const std::string& key_name, int32_t x, int32_t y, bool on);
    bool Get_Lock(int32_t x, int32_t y, std::string& key_name) const;
    void Set_Trap(const std::string& trap_name, int32_t x, int32_t y, bool on);
    bool Get_Trap(int32_t x, int32_t y, std::string& trap_name) const;
    const TString_List& Lock_Key_Names() const { return Locks_.Names; }
    const TString_List& Trap_Names() const { return Traps_.Names; }
    const TWordList& Lock_Xs() const { return Locks_.Xs; }
    const TWordList& Lock_Ys() const { return Locks_.Ys; }
    const TWordList& Trap_Xs() const { return Traps_.Xs; }
    const TWordList& Trap_Ys() const { return Traps_.Ys; }

    // The picture sheets of the map: each fills the list with distinct file names, a name's position being
    // its sheet slot, and gives every object the slots of its pictures. An empty name gets no slot (the
    // object's slot becomes -1 and it draws nothing), so one nameless object cannot stop the sheets from
    // loading.
    void Get_Terrain_Bitmap_Names(TString_List& names);
    void Get_Monster_Bitmap_Names(TString_List& names);
    void Get_Item_Bitmap_Names(TString_List& names);

    // The map's own lookups of a square of it: a map that is not the current one (a copy being saved, a
    // map a path search was given) answers for itself. The square's own queries ask the current map.
    const TTerrain* Terrain_Of(const TMap_Square& square) const;
    TMonster* Monster_On(const TMap_Square& square) const;
    bool Is_Free_Here(const TMap_Square& square, uint8_t movement_kind) const;
    uint8_t Light_Radius_Of(const TMap_Square& square) const;

protected:
    // One creature's turn in Update_Monsters. Virtual so a map can watch the pass (tests record the order
    // and remove or add creatures during it).
    virtual void Update_Creature(TMonster& creature, const TCallback_Set& callbacks, double rate);

private:
    friend std::unique_ptr<TMap> Remove_Current_Map();

    // Entry n of the names belongs to entry n of the x and y lists.
    struct TMarked_Squares {
        TString_List Names;
        TWordList Xs, Ys;
        void Clear();
        bool Can_Add() const;
        // Callers ask Can_Add first.
        void Add(const std::string& name, int32_t x, int32_t y);
        // The last entry at x, y (1-based); 0 when none.
        int32_t Find_Last(int32_t x, int32_t y) const;
        void Delete(int32_t entry);
        void Write(TStream_Writer& w) const;
        void Read(TStream_Reader& r, const char* what);
    };
    void Set_Marked(TMarked_Squares& marks, uint8_t flag, const std::string& name, int32_t x, int32_t y,
                    bool on);

    static int32_t Square_Index(int32_t x, int32_t y) { return (x - 1) * Map_Height + (y - 1); }
    static bool Inside(int32_t x, int32_t y) { return x >= 1 && x <= Map_Width && y >= 1 && y <= Map_Height; }
    // Clears the player reference when it points at one of this map's creatures.
    void Clear_Player_Reference();
    void Load_Terrain(const std::string& stored_path);
    // Walks from square 1 toward square 2 and calls visit(square) for each square inside the map passed
    // on the way, the two ends excepted, until visit answers false.
    template <typename TVisit>
    void Walk_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TVisit&& visit) const;

    std::vector<TMap_Square> Squares_; // Map_Width * Map_Height, x-major
    // Position 0 of each array holds nothing; a null position is free (piles) or unused.
    std::vector<std::unique_ptr<TItem_Collection>> Item_Piles_;
    std::vector<std::unique_ptr<TStore>> Stores_;
    std::vector<std::unique_ptr<TWordList>> Chests_;
    TWordList Chest_Xs_, Chest_Ys_;
    TMarked_Squares Locks_, Traps_;

    TView_Grid View_Grid_{};
    int32_t View_X_ = 0, View_Y_ = 0;
    uint8_t View_Mode_ = 0;
    TView_Grid Light_Grid_{};
    int32_t Light_X_ = 0, Light_Y_ = 0;
    uint8_t Light_Mode_ = 0;
};

// The copy module creation saves; it adds nothing to the map.
class TWriteable_Map : public TMap {};

// The current map: created at start-up, replaced by tests. Installing a map makes its item list the current
// item list; removing it (or installing another) clears that and the player reference when they belong to
// it. Null when none is installed.
TMap* Current_Map();
void Install_Current_Map(std::unique_ptr<TMap> map);
std::unique_ptr<TMap> Remove_Current_Map();

// The player: a creature of the current map's list, owned by it. Null before a game and after the
// player's death. A map that frees or replaces its creatures clears the reference when it points at one.
// The current map's creature of that id; null for 0, an id beyond the list, an empty position or no map.
TMonster* Creature_By_Id(int64_t id);

TMonster* Player();
void Set_Player(TMonster* player);
