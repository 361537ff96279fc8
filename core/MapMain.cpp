#include "core/MapMain.h"

#include "core/GlobalFuncs.h"
#include "core/Monster.h"
#include "core/Path.h"

#include <cmath>
#include <unordered_map>
#include <utility>

namespace {

std::unique_ptr<TMap> Current_Map_;
TMonster* Player_ = nullptr;
TStore_Restocker Restocker_;

// The arrays of piles, stores and chests are written with a 16-bit length that counts position 0.
constexpr size_t Max_Array_Length = 65535;

template <typename T> std::unique_ptr<T> Copy_Of(const std::unique_ptr<T>& source) {
    if (!source) return nullptr;
    return std::make_unique<T>(*source);
}

template <typename T>
void Copy_Array(std::vector<std::unique_ptr<T>>& dest, const std::vector<std::unique_ptr<T>>& source) {
    std::vector<std::unique_ptr<T>> copy;
    copy.reserve(source.size());
    for (const auto& element : source) copy.push_back(Copy_Of(element));
    dest = std::move(copy);
}

// Appends a new element to a 1-based array, making position 0 on the first append; its index, 0 when the
// array cannot be written any longer.
template <typename T>
int32_t Append_To_Array(std::vector<std::unique_ptr<T>>& array, std::unique_ptr<T> element) {
    if (array.empty()) array.resize(1);
    if (array.size() >= Max_Array_Length) return 0;
    array.push_back(std::move(element));
    return static_cast<int32_t>(array.size() - 1);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Program-wide objects

TMap* Current_Map() {
    return Current_Map_.get();
}

void Install_Current_Map(std::unique_ptr<TMap> map) {
    Remove_Current_Map();
    Current_Map_ = std::move(map);
    if (Current_Map_) Set_Current_Item_List(&Current_Map_->Item_List);
}

std::unique_ptr<TMap> Remove_Current_Map() {
    if (!Current_Map_) return nullptr;
    if (Current_Item_List() == &Current_Map_->Item_List) Set_Current_Item_List(nullptr);
    Current_Map_->Clear_Player_Reference();
    return std::move(Current_Map_);
}

TMonster* Creature_By_Id(int64_t id) {
    if (id <= 0) return nullptr;
    TMap* map = Current_Map();
    return map ? map->Monster_List.Get_Monster(static_cast<std::size_t>(id)) : nullptr;
}

TMonster* Player() {
    return Player_;
}

void Set_Player(TMonster* player) {
    Player_ = player;
}

void Set_Store_Restocker(TStore_Restocker restocker) {
    Restocker_ = std::move(restocker);
}

const TStore_Restocker& Store_Restocker() {
    return Restocker_;
}

// ---------------------------------------------------------------------------------------------------------
// Whole map

TMap::TMap() : Squares_(static_cast<size_t>(Map_Width) * Map_Height) {
    for (auto& row : Light_Grid_) row.fill(Light_Level_Dark);
}

TMap::~TMap() {
    Clear_Player_Reference();
    if (Current_Item_List() == &Item_List) Set_Current_Item_List(nullptr);
}

void TMap::Clear_Player_Reference() {
    // Compared by address only: the reference may point into another map's list.
    TMonster* player = Player();
    if (!player) return;
    for (int id = 1; id <= Monster_List.Get_Count(); ++id)
        if (Monster_List.Get_Monster(id) == player) {
            Set_Player(nullptr);
            return;
        }
    if (Monster_List.Is_Released(player)) Set_Player(nullptr);
}

void TMap::Clear(bool with_terrain) {
    for (auto& square : Squares_) square.Clear();
    Clear_Player_Reference();
    Monster_List.Clear();
    Item_List.Clear();
    if (with_terrain) Terrain_List.Clear();
    Locks_.Clear();
    Traps_.Clear();
    Item_Piles_.clear();
    Stores_.clear();
    Chests_.clear();
    Chest_Xs_.Clear();
    Chest_Ys_.Clear();
}

void TMap::Assign(const TMap& other) {
    if (this == &other) return;
    Name = other.Name;
    Squares_ = other.Squares_;
    Universal_Light = other.Universal_Light;
    Version = other.Version;
    File_Name = other.File_Name;
    Copy_Array(Item_Piles_, other.Item_Piles_);
    Copy_Array(Stores_, other.Stores_);
    Copy_Array(Chests_, other.Chests_);
    Chest_Xs_ = other.Chest_Xs_;
    Chest_Ys_ = other.Chest_Ys_;
    Terrain_List.Assign(other.Terrain_List);
    Item_List.Assign(other.Item_List);
    Clear_Player_Reference();
    Monster_List.Assign(other.Monster_List);
    Locks_ = other.Locks_;
    Traps_ = other.Traps_;
}

// ---------------------------------------------------------------------------------------------------------
// Squares and creatures

const TTerrain* TMap::Terrain_Of(const TMap_Square& square) const {
    return Terrain_List.Terrain(square.Terrain_Id);
}

TMonster* TMap::Monster_On(const TMap_Square& square) const {
    return square.Monster_Id != 0 ? Monster_List.Get_Monster(square.Monster_Id) : nullptr;
}

bool TMap::Square_Allows(int32_t x, int32_t y, uint8_t vision_kind) const {
    const TMap_Square* square = Get_Square(x, y);
    if (!square) return true;
    const TTerrain* terrain = Terrain_Of(*square);
    return terrain && terrain->Allows_Vision(vision_kind);
}

bool TMap::Is_Free_Here(const TMap_Square& square, uint8_t movement_kind) const {
    const TTerrain* terrain = Terrain_Of(square);
    return terrain && terrain->Allows_Movement(movement_kind) && !Monster_On(square);
}

uint8_t TMap::Light_Radius_Of(const TMap_Square& square) const {
    const TTerrain* terrain = Terrain_Of(square);
    const uint8_t own = terrain ? terrain->Light_Radius : 0;
    const TMonster* creature = Monster_On(square);
    return creature ? std::max(own, creature->Light_Radius) : own;
}

void TMap::Place_Monster(const TMonster& creature) {
    if (TMap_Square* square = Get_Square(creature.X, creature.Y)) square->Set_Monster(creature);
}

void TMap::Remove_Monster(uint16_t id) {
    const TMonster* creature = Monster_List.Get_Monster(id);
    if (!creature) return;
    TMap_Square* square = Get_Square(creature->X, creature->Y);
    if (square && square->Monster_Id == id) square->Clear_Monster();
    Monster_List.Remove_Monster(id);
}

void TMap::End_Tick() {
    // The player reference must not outlive a player removed during the tick.
    if (Player() && Monster_List.Is_Released(Player())) Set_Player(nullptr);
    Monster_List.Free_Released();
}

void TMap::Update_Monsters(const TCallback_Set& callbacks, double rate) {
    // The count is taken once: a creature added during the pass (a summoned one) waits for the next tick,
    // while a slot emptied and filled again during the pass is updated with its new occupant.
    const int count = Monster_List.Get_Count();
    for (int id = 1; id <= count; ++id)
        if (TMonster* creature = Monster_List.Get_Monster(id)) Update_Creature(*creature, callbacks, rate);
}

void TMap::Update_Creature(TMonster& creature, const TCallback_Set& callbacks, double rate) {
    creature.Update(callbacks, rate);
}

// ---------------------------------------------------------------------------------------------------------
// Geometry

int32_t TMap::Clamp_X(int32_t v) {
    return v <= 0 ? 1 : (v > Map_Width ? Map_Width : v);
}

int32_t TMap::Clamp_Y(int32_t v) {
    return v <= 0 ? 1 : (v > Map_Height ? Map_Height : v);
}

int32_t TMap::Get_Distance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // The square root of a whole number is never exactly halfway between two integers, so the rounding
    // mode of ties never matters.
    return static_cast<int32_t>(std::lround(Distance_Between(x1, y1, x2, y2)));
}

int32_t TMap::Get_Range(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    return std::max(std::abs(x1 - x2), std::abs(y1 - y2));
}

bool TMap::Find_Free_Square_Near(int32_t x, int32_t y, int32_t& fx, int32_t& fy) const {
    std::vector<std::pair<int32_t, int32_t>> found;
    for (int32_t c = 1; c <= 10; ++c) {
        // The whole block is searched at every radius, so nearer squares (the origin too) stay candidates
        // and the pick is spread over the block.
        found.clear();
        for (int32_t sy = y - c; sy <= y + c; ++sy)
            for (int32_t sx = x - c; sx <= x + c; ++sx) {
                const TMap_Square* square = Get_Square(sx, sy);
                if (square && Is_Free_Here(*square, Movement_Land)) found.emplace_back(sx, sy);
            }
        if (!found.empty()) {
            const auto& pick =
                found[static_cast<size_t>(Random_Range(1, static_cast<int32_t>(found.size())) - 1)];
            fx = pick.first;
            fy = pick.second;
            return true;
        }
    }
    fx = 0;
    fy = 0;
    return false;
}

template <typename TVisit>
void TMap::Walk_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TVisit&& visit) const {
    const double length = Distance_Between(x1, y1, x2, y2);
    if (!(length > 0)) return;
    const double step_x = (x2 - x1) / length;
    const double step_y = (y2 - y1) / length;
    double x = x1, y = y1;
    // The end test comes before the first step, so two neighbouring squares have nothing between them.
    // A coordinate within 1 of its target stops moving; the step limit ends any walk that would not.
    for (int steps = 0; steps < 101; ++steps) {
        const bool x_done = std::abs(x - x2) <= 1;
        const bool y_done = std::abs(y - y2) <= 1;
        if (x_done && y_done) return;
        if (!x_done) x += step_x;
        if (!y_done) y += step_y;
        const int32_t sx = static_cast<int32_t>(std::trunc(x));
        const int32_t sy = static_cast<int32_t>(std::trunc(y));
        const TMap_Square* square = Get_Square(sx, sy);
        if (!square || (sx == x1 && sy == y1) || (sx == x2 && sy == y2)) continue;
        if (!visit(*square)) return;
    }
}

int32_t TMap::Count_Blocking_On_Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const {
    int32_t count = 0;
    Walk_Line(x1, y1, x2, y2, [&](const TMap_Square& square) {
        const TTerrain* terrain = Terrain_Of(square);
        if (!terrain || !terrain->Allows_Vision(Vision_Normal)) ++count;
        return true;
    });
    return count;
}

bool TMap::Is_Line_Clear(int32_t x1, int32_t y1, int32_t x2, int32_t y2) const {
    bool clear = true;
    Walk_Line(x1, y1, x2, y2, [&](const TMap_Square& square) {
        const TTerrain* terrain = Terrain_Of(square);
        clear = terrain && terrain->Allows_Vision(Vision_Normal) && Is_Free_Here(square, Movement_Air);
        return clear;
    });
    return clear;
}

// ---------------------------------------------------------------------------------------------------------
// Item piles

uint16_t TMap::New_Item_Pile() {
    // The highest free position is reused first.
    for (size_t i = Item_Piles_.size(); i-- > 1;)
        if (!Item_Piles_[i]) {
            Item_Piles_[i] = std::make_unique<TItem_Collection>();
            return static_cast<uint16_t>(i);
        }
    return static_cast<uint16_t>(Append_To_Array(Item_Piles_, std::make_unique<TItem_Collection>()));
}

TItem_Collection* TMap::Get_Item_Pile(int32_t index) const {
    if (index < 1 || static_cast<size_t>(index) >= Item_Piles_.size()) return nullptr;
    return Item_Piles_[static_cast<size_t>(index)].get();
}

bool TMap::Delete_Item_Pile(int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= Item_Piles_.size()) return false;
    Item_Piles_[static_cast<size_t>(index)].reset();
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Stores

int32_t TMap::Add_Store(std::unique_ptr<TStore> store) {
    if (!store) return 0;
    return Append_To_Array(Stores_, std::move(store));
}

TStore* TMap::Get_Store(int32_t index) const {
    if (index < 1 || static_cast<size_t>(index) >= Stores_.size()) return nullptr;
    return Stores_[static_cast<size_t>(index)].get();
}

int32_t TMap::Store_Count() const {
    return Stores_.empty() ? 0 : static_cast<int32_t>(Stores_.size() - 1);
}

void TMap::Restock_Stores() {
    if (Store_Count() == 0 || !Restocker_) return;
    for (int32_t n = 1; n <= Store_Count(); ++n) {
        TStore* store = Get_Store(n);
        if (!store) continue;
        // What is still listed was neither bought nor carried off: its items belong to nobody else. Left in
        // the item list, every visit would add a stock's worth of items until the 16-bit ids ran out.
        for (int32_t k = 1; k <= store->Stock_Item_Ids.Count(); ++k)
            Item_List.Delete_At(store->Stock_Item_Ids.Get(k));
        store->Clear_Stock();
    }
    Restocker_(*this);
}

// ---------------------------------------------------------------------------------------------------------
// Chests

bool TMap::Add_Chest(const TWordList& item_ids, int32_t x, int32_t y) {
    // A chest off the map could never be opened, and its square would not fit the 16-bit lists.
    if (!Inside(x, y)) return false;
    // Room is checked in the coordinate lists before anything appends: chest n is found through entry n of
    // them, and a map whose lists differ in length does not load back. They fill long before the chest
    // array's 16-bit length could.
    if (!Chest_Xs_.Can_Add() || !Chest_Ys_.Can_Add()) return false;
    auto chest = std::make_unique<TWordList>(item_ids);
    if (Append_To_Array(Chests_, std::move(chest)) == 0) return false;
    Chest_Xs_.Add(static_cast<uint16_t>(x));
    Chest_Ys_.Add(static_cast<uint16_t>(y));
    return true;
}

TWordList* TMap::Get_Chest(int32_t x, int32_t y) const {
    for (int32_t n = Chest_Xs_.Count(); n >= 1; --n)
        if (Chest_Xs_.Get(n) == x && Chest_Ys_.Get(n) == y)
            return static_cast<size_t>(n) < Chests_.size() ? Chests_[static_cast<size_t>(n)].get() : nullptr;
    return nullptr;
}

int32_t TMap::Chest_Count() const {
    return Chests_.empty() ? 0 : static_cast<int32_t>(Chests_.size() - 1);
}

// ---------------------------------------------------------------------------------------------------------
// Locks and traps

void TMap::TMarked_Squares::Clear() {
    Names.clear();
    Xs.Clear();
    Ys.Clear();
}

bool TMap::TMarked_Squares::Can_Add() const {
    return Xs.Can_Add() && Ys.Can_Add();
}

void TMap::TMarked_Squares::Add(const std::string& name, int32_t x, int32_t y) {
    Names.push_back(name);
    Xs.Add(static_cast<uint16_t>(x));
    Ys.Add(static_cast<uint16_t>(y));
}

int32_t TMap::TMarked_Squares::Find_Last(int32_t x, int32_t y) const {
    for (int32_t n = Xs.Count(); n >= 1; --n)
        if (Xs.Get(n) == x && Ys.Get(n) == y) return n;
    return 0;
}

void TMap::TMarked_Squares::Delete(int32_t entry) {
    Names.erase(Names.begin() + (entry - 1));
    Xs.Delete(entry);
    Ys.Delete(entry);
}

void TMap::TMarked_Squares::Write(TStream_Writer& w) const {
    Write_String_List(w, Names);
    Write_Word_List(w, Xs);
    Write_Word_List(w, Ys);
}

void TMap::TMarked_Squares::Read(TStream_Reader& r, const char* what) {
    Read_String_List(r, Names);
    Read_Word_List(r, Xs);
    Read_Word_List(r, Ys);
    Require_Equal_Lengths(what,
                          {Names.size(), static_cast<size_t>(Xs.Count()), static_cast<size_t>(Ys.Count())});
}

void TMap::Set_Marked(TMarked_Squares& marks, uint8_t flag, const std::string& name, int32_t x, int32_t y,
                      bool on) {
    TMap_Square* square = Get_Square(x, y);
    if (!square) return;
    // Full lists leave the square as it was: a marked square without its entry would be locked or trapped
    // with no key or trap named.
    if (on && !marks.Can_Add()) return;
    uint16_t flags = square->Flags;
    Set_Bit(flags, flag, on);
    square->Flags = flags;
    if (on) {
        marks.Add(name, x, y);
    } else if (const int32_t entry = marks.Find_Last(x, y)) {
        marks.Delete(entry);
    }
}

void TMap::Set_Lock(const std::string& key_name, int32_t x, int32_t y, bool on) {
    Set_Marked(Locks_, Square_Flag_Locked, key_name, x, y, on);
}

bool TMap::Get_Lock(int32_t x, int32_t y, std::string& key_name) const {
    const int32_t entry = Locks_.Find_Last(x, y);
    key_name = entry ? Locks_.Names[static_cast<size_t>(entry - 1)] : std::string();
    return entry != 0;
}

void TMap::Set_Trap(const std::string& trap_name, int32_t x, int32_t y, bool on) {
    Set_Marked(Traps_, Square_Flag_Trapped, trap_name, x, y, on);
}

bool TMap::Get_Trap(int32_t x, int32_t y, std::string& trap_name) const {
    const int32_t entry = Traps_.Find_Last(x, y);
    trap_name = entry ? Traps_.Names[static_cast<size_t>(entry - 1)] : std::string();
    return entry != 0;
}

// ---------------------------------------------------------------------------------------------------------
// Picture sheets

namespace {

// Distinct names in first-seen order; a name's position is its sheet slot.
class TSheet_Names {
public:
    explicit TSheet_Names(TString_List& names) : Names_(names) { Names_.clear(); }
    // The name's slot, added when new; -1 for an empty name, which gets no slot.
    int16_t Slot(const std::string& name) {
        if (name.empty()) return -1;
        const auto found = Slots_.find(name);
        if (found != Slots_.end()) return found->second;
        const auto slot = static_cast<int16_t>(Names_.size());
        Names_.push_back(name);
        Slots_.emplace(name, slot);
        return slot;
    }

private:
    TString_List& Names_;
    std::unordered_map<std::string, int16_t> Slots_;
};

} // namespace

void TMap::Get_Terrain_Bitmap_Names(TString_List& names) {
    TSheet_Names sheet(names);
    for (int32_t id = 1; id <= Terrain_List.Count(); ++id) {
        TTerrain* terrain = Terrain_List.Terrain(id);
        if (!terrain) continue;
        for (int32_t layer = 1; layer <= 3; ++layer) {
            const std::string name = terrain->Picture_File(layer);
            if (!name.empty()) terrain->Set_Picture_Index(layer, sheet.Slot(name));
        }
    }
}

void TMap::Get_Monster_Bitmap_Names(TString_List& names) {
    TSheet_Names sheet(names);
    for (int id = 1; id <= Monster_List.Get_Count(); ++id) {
        TMonster* creature = Monster_List.Get_Monster(id);
        if (!creature) continue;
        const int16_t picture = sheet.Slot(creature->Picture);
        const int16_t attack_picture = sheet.Slot(creature->Attack_Picture);
        creature->Set_Picture_Indexes(picture, attack_picture);
    }
}

void TMap::Get_Item_Bitmap_Names(TString_List& names) {
    TSheet_Names sheet(names);
    for (int id = 1; id <= Item_List.Count(); ++id)
        if (TItem* item = Item_List.Item(static_cast<uint16_t>(id)))
            item->Set_Picture_Index(sheet.Slot(item->Picture));
}
