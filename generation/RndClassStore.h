// Store classes: the stores of a map with their price margins and stock lists, read from the map's stores
// file; and the restocking of stores from them, which runs after every load of a map.
#pragma once

#include "core/SaveStream.h"
#include "core/TypedLists.h"
#include "generation/ModuleTableLoader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TMap;
class TStore;

struct TStore_Class {
    uint16_t Store_Id = 0; // "Store ID"
    std::string Store_Name;
    uint16_t Buy_Cost_Percent_Min = 0, Buy_Cost_Percent_Max = 0;
    uint16_t Sell_Cost_Percent_Min = 0, Sell_Cost_Percent_Max = 0;
    double Magic_Chance_Per_Level = 0;  // "Chance For Magic Item Per Char Level"
    double Unique_Chance_Per_Level = 0; // "Chance For Unique Item Per Char Level"
    // Read as words, so a negative offset in the file reads 0; a class made in memory may hold any.
    int32_t Item_Min_Level_Offset = 0;
    int32_t Item_Max_Level_Offset = 0;
    std::string Item_Grouping_Type; // the group filter the stock's classes are picked with
    // One stock row per (item group, item class) of the file, in file order, parallel: the item group the
    // item is listed under, the item class name and the appearance chance (a byte: 300 reads 44).
    TString_List Stock_Group_Names;
    TString_List Stock_Item_Class_Names;
    TbyteList Stock_Appearance_Chances;
};

using TStore_Class_Table = std::vector<std::unique_ptr<TStore_Class>>;

// Classes 1..Store_Class_Count(), class r read from record r; Get_Store_Class gives null outside.
int32_t Store_Class_Count();
const TStore_Class* Get_Store_Class(int32_t index);
// Appends a copy as the next class (what a load does with each record); returns its index.
int32_t Add_Store_Class(const TStore_Class& store_class);

// Frees the table and reads the file of that name from the module's "Tiles/" folder, remembering the name
// as given. Errors are shown under "Store Class Data File Errors: " with the full path and give false;
// what was read stays.
bool Load_Store_Classes(const std::string& file_name);
// Empties the table; the remembered name stays until the next load.
void Free_Store_Classes();
// The name given to the last Load_Store_Classes.
const std::string& Store_Class_File_Name();

// Fills an emptied store from its class (the class index into the store-class table): the class's name,
// margins, chances, offsets and grouping; then, at the character level C the game began with (its
// Start_Level; 0 without game options), an item per stock row whose class exists at those levels and whose
// appearance chance reaches the roll, made in the current item list at levels C + the offsets (at least
// 1), the lower level raised for good to each stocked class's minimum level; finally the buy and sell
// percents are rolled in their bounds and the store is Stocked. A class index outside the table leaves the
// store as it is: empty and not stocked. Needs the current item class list, the item modifiers and the
// unique names loaded.
void Restock(TStore& store);

// The map's restocker: loads, for the stores' files named by store 1, the module's item modifiers and
// unique names, an item class list made current and the store classes; restocks every store into the map's
// own item list; and frees all it loaded on every way out. Nothing without path settings.
void Restock_Map_Stores(TMap& map);
// Installs Restock_Map_Stores as the map's store restocker.
void Install_Store_Restocker();

// Appends record r as class r.
class TStore_Class_Data_File_Loader : public TModule_Table_Loader {
public:
    TStore_Class_Data_File_Loader(const std::string& file_name, TStore_Class_Table& table)
        : TModule_Table_Loader(file_name), Table_(table) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    void Read_Stock_Rows(TStore_Class& store_class);

    TStore_Class_Table& Table_;
};
