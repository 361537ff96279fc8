#include "core/MapSquare.h"

#include "core/GlobalFuncs.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Terrain.h"

// ---- Terrain ----

TTerrain* TMap_Square::Get_Terrain() const {
    TMap* map = Current_Map();
    return map ? map->Terrain_List.Terrain(Terrain_Id) : nullptr;
}

uint32_t TMap_Square::Get_Map_Color() const {
    const TTerrain* terrain = Get_Terrain();
    return terrain ? terrain->Overview_Color : 0;
}

uint8_t TMap_Square::Get_Light_Radius() const {
    const TMap* map = Current_Map();
    return map ? map->Light_Radius_Of(*this) : 0;
}

bool TMap_Square::Lets_Sight_Through(uint8_t vision_kind) const {
    const TTerrain* terrain = Get_Terrain();
    return terrain && terrain->Allows_Vision(vision_kind);
}

bool TMap_Square::Is_Free(uint8_t movement_kind) const {
    const TMap* map = Current_Map();
    return map && map->Is_Free_Here(*this, movement_kind);
}

TString_List TMap_Square::Get_Terrain_Categories() const {
    const TTerrain* terrain = Get_Terrain();
    return terrain ? terrain->Categories : TString_List();
}

std::string TMap_Square::Get_Terrain_Text() const {
    const TTerrain* terrain = Get_Terrain();
    if (!terrain || terrain->Next_Terrain_Action != Action_Look) return std::string();
    return terrain->Description;
}

bool TMap_Square::Shows_Chest_Window() const {
    const TTerrain* terrain = Get_Terrain();
    return terrain && terrain->Display_Chest_Window;
}

// ---- Creatures ----

void TMap_Square::Set_Monster(const TMonster& creature) {
    Monster_Id = creature.Id;
}

TMonster* TMap_Square::Get_Monster() const {
    const TMap* map = Current_Map();
    return map ? map->Monster_On(*this) : nullptr;
}

// ---- Items ----

TItem_Collection* TMap_Square::Get_Pile() const {
    if (!Is_Pile()) return nullptr;
    TMap* map = Current_Map();
    return map ? map->Get_Item_Pile(Item_Field) : nullptr;
}

TItem* TMap_Square::Get_Top_Item() const {
    if (Item_Field == 0) return nullptr;
    if (Is_Pile()) {
        const TItem_Collection* pile = Get_Pile();
        if (!pile) return nullptr;
        // An id whose item is gone (a stale id from a map file) is skipped, so the square shows an item
        // that can be picked up or nothing at all.
        for (int32_t n = 1; n <= pile->Count(); ++n)
            if (TItem* item = pile->Item(n)) return item;
        return nullptr;
    }
    return Find_Item(Item_Field);
}

void TMap_Square::Drop_Stale_Ids() {
    if (Item_Field == 0 || !Current_Item_List()) return;
    if (!Is_Pile()) {
        if (!Find_Item(Item_Field)) Item_Field = 0;
        return;
    }
    TMap* map = Current_Map();
    if (!map) return;
    TItem_Collection* pile = map->Get_Item_Pile(Item_Field);
    if (pile)
        for (int32_t n = pile->Count(); n >= 1; --n)
            if (!pile->Item(n)) pile->Delete(n);
    const int32_t left = pile ? pile->Count() : 0;
    if (left >= 2) return;
    // A pile of one is a single item again and an empty one is no pile, as picking up leaves them.
    const uint16_t remaining = left == 1 ? pile->Id(1) : 0;
    if (pile) map->Delete_Item_Pile(Item_Field);
    Set_Pile(false);
    Item_Field = remaining;
}

TItem* TMap_Square::Candidate_For_Pick_Up() const {
    if (Item_Field == 0) return nullptr;
    if (Is_Pile()) {
        const TItem_Collection* pile = Get_Pile();
        return pile ? pile->Item(pile->Count()) : nullptr;
    }
    return Find_Item(Item_Field);
}

bool TMap_Square::Drop_Item(TItem* item) {
    if (!item) return false;
    if (Is_Pile()) {
        TItem_Collection* pile = Get_Pile();
        if (pile) {
            pile->Add(item);
            return true;
        }
        // A pile index the map does not have (a stale index from a map file) is nothing here: the square
        // takes the item as its single item rather than refusing every item for good.
        if (!Current_Map()) return false;
        Set_Pile(false);
        Item_Field = item->Id;
        return true;
    }
    // A single item whose id no longer names an item (a stale id from a map file) is nothing: the new
    // item takes its place instead of making a pile around an item that does not exist.
    TItem* lying = Item_Field != 0 ? Find_Item(Item_Field) : nullptr;
    if (!lying) {
        Item_Field = item->Id;
        return true;
    }
    TMap* map = Current_Map();
    if (!map) return false;
    const uint16_t index = map->New_Item_Pile();
    TItem_Collection* pile = map->Get_Item_Pile(index);
    if (!pile) return false;
    pile->Add(lying);
    pile->Add(item);
    Set_Pile(true);
    Item_Field = index;
    return true;
}

bool TMap_Square::Pick_Up_Item(TMonster& creature) {
    Drop_Stale_Ids();
    TItem* item = Candidate_For_Pick_Up();
    if (!item || !creature.Can_Pick_Up(item)) return false;
    if (Is_Pile()) {
        TItem_Collection* pile = Get_Pile();
        pile->Delete(pile->Count());
        if (pile->Count() == 1) {
            const uint16_t remaining = pile->Id(1);
            if (TMap* map = Current_Map()) map->Delete_Item_Pile(Item_Field);
            Set_Pile(false);
            Item_Field = remaining;
        }
    } else {
        Item_Field = 0;
    }
    if (creature.Pick_Up_Item(item)) return true;
    Drop_Item(item);
    return false;
}

// ---- The map view's rules ----

TSquare_Hiding TMap_Square::Hidden_Layers(bool visible, int32_t dx, int32_t dy) const {
    TSquare_Hiding hiding;
    const TTerrain* terrain = Get_Terrain();
    if (!terrain) return hiding;
    bool hidden = !visible;
    if (visible) {
        switch (terrain->Sight_Side_Hidden) {
        case Side_North: hidden = dy < 0; break;
        case Side_East: hidden = dx >= 1; break;
        case Side_South: hidden = dy >= 1; break;
        case Side_West: hidden = dx < 0; break;
        default: hidden = false; break;
        }
    }
    if (terrain->Sight_Hidden_Layer == 2) hiding.Hide_Layer_2 = hidden;
    if (terrain->Sight_Hidden_Layer == 3) hiding.Hide_Layer_3 = hidden;
    return hiding;
}

bool TMap_Square::Search_Secret_Door(const TSquare_Hiding& hiding) {
    if (hiding.Hide_Layer_3) return false;
    const TTerrain* terrain = Get_Terrain();
    if (!terrain || terrain->Next_Terrain_Action != Action_Open_Secret) return false;
    if (Is_Secret_Searched()) return Is_Secret_Found();
    Set_Secret_Searched(true);
    // The roll is drawn even without a player, so the random sequence does not depend on whether one
    // exists.
    const int32_t roll = Random_Range(1, 100);
    const TMonster* player = Player();
    if (player && player->Detect_Secret_Doors() >= roll) Set_Secret_Found(true);
    return Is_Secret_Found();
}

// ---- Stream ----

bool TMap_Square::Save(TStream_Writer& w) const {
    Write_Word(w, Terrain_Id);
    Write_Word(w, Item_Field);
    Write_Word(w, Monster_Id);
    Write_Word(w, Flags);
    Write_Byte(w, Border_Type);
    return true;
}

bool TMap_Square::Load(TStream_Reader& r) {
    Terrain_Id = Read_Word(r);
    Item_Field = Read_Word(r);
    Monster_Id = Read_Word(r);
    Flags = Read_Word(r);
    Border_Type = Read_Byte(r);
    return true;
}
