// A shop of a level map. The map generator makes one store per store class of the map's stores file; the
// map owns them and saves them in its file. The stock is not kept between visits: every map load empties it
// and the restocker fills it anew from the store's class.
#pragma once

#include "core/SaveStream.h"
#include "core/TypedLists.h"

#include <cstdint>
#include <string>

class TStore {
public:
    uint16_t Store_Class_Index = 0; // position of its class in the store-class table
    std::string Store_Class_File;   // the map's stores file the class comes from
    std::string Item_Class_File;    // the map's item classes file
    bool Stocked = false;           // true after a restock
    std::string Store_Name;
    uint16_t Buy_Modifier_Min = 0, Buy_Modifier_Max = 0;
    uint16_t Sell_Modifier_Min = 0, Sell_Modifier_Max = 0;
    double Magic_Chance_Per_Level = 0;
    double Unique_Chance_Per_Level = 0;
    int32_t Item_Min_Level_Offset = 0;
    int32_t Item_Max_Level_Offset = 0;
    std::string Item_Grouping_Type; // the group filter used when a class is picked
    uint16_t Buy_Modifier = 0;      // rolled percentages, not saved: every load restocks and rolls again
    uint16_t Sell_Modifier = 0;
    // Per stock entry, parallel: the item group it was made for and the item's id in the map's item list.
    TString_List Stock_Group_Names;
    TWordList Stock_Item_Ids;

    // Used by the map generator: the class and its files, not yet stocked.
    void Init(uint16_t class_index, const std::string& store_class_file, const std::string& item_class_file);
    // Copies every field, the rolled modifiers and the stock included.
    void Assign(const TStore& other);

    // Class index, the two files, Stocked, the name, the four modifier bounds, the two chances, the two
    // level offsets, the grouping type, then the stock's group names and item ids.
    bool Save(TStream_Writer& w) const;
    // Reads the same. Raises EStream_Read_Error when the two stock lists differ in length: they are indexed
    // together, and a short list would name groups or items that are not there.
    bool Load(TStream_Reader& r);

    // Forgets the stock and what the class gave the store (name, bounds, chances, offsets, grouping, the
    // rolled modifiers); the class index and the two files stay. The stock's items are the caller's to
    // delete.
    void Clear_Stock();

    uint16_t Get_Buy_Cost_Modifier() const { return Buy_Modifier; }
    uint16_t Get_Sell_Cost_Modifier() const { return Sell_Modifier; }
};
