#include "core/Store.h"

void TStore::Init(uint16_t class_index, const std::string& store_class_file,
                  const std::string& item_class_file) {
    Store_Class_Index = class_index;
    Store_Class_File = store_class_file;
    Item_Class_File = item_class_file;
    Stocked = false;
}

void TStore::Assign(const TStore& other) {
    if (this == &other) return;
    *this = other;
}

bool TStore::Save(TStream_Writer& w) const {
    Write_Word(w, Store_Class_Index);
    Write_String(w, Store_Class_File);
    Write_String(w, Item_Class_File);
    Write_Boolean(w, Stocked);
    Write_String(w, Store_Name);
    Write_Word(w, Buy_Modifier_Min);
    Write_Word(w, Buy_Modifier_Max);
    Write_Word(w, Sell_Modifier_Min);
    Write_Word(w, Sell_Modifier_Max);
    Write_Real(w, Magic_Chance_Per_Level);
    Write_Real(w, Unique_Chance_Per_Level);
    Write_Integer(w, Item_Min_Level_Offset);
    Write_Integer(w, Item_Max_Level_Offset);
    Write_String(w, Item_Grouping_Type);
    Write_String_List(w, Stock_Group_Names);
    Write_Word_List(w, Stock_Item_Ids);
    return true;
}

bool TStore::Load(TStream_Reader& r) {
    Store_Class_Index = Read_Word(r);
    Store_Class_File = Read_String(r);
    Item_Class_File = Read_String(r);
    Stocked = Read_Boolean(r);
    Store_Name = Read_String(r);
    Buy_Modifier_Min = Read_Word(r);
    Buy_Modifier_Max = Read_Word(r);
    Sell_Modifier_Min = Read_Word(r);
    Sell_Modifier_Max = Read_Word(r);
    Magic_Chance_Per_Level = Read_Real(r);
    Unique_Chance_Per_Level = Read_Real(r);
    Item_Min_Level_Offset = Read_Integer(r);
    Item_Max_Level_Offset = Read_Integer(r);
    Item_Grouping_Type = Read_String(r);
    Read_String_List(r, Stock_Group_Names);
    Read_Word_List(r, Stock_Item_Ids);
    Require_Equal_Lengths("store stock group names and item ids",
                          {Stock_Group_Names.size(), static_cast<size_t>(Stock_Item_Ids.Count())});
    return true;
}

void TStore::Clear_Stock() {
    Stocked = false;
    Store_Name.clear();
    Buy_Modifier_Min = Buy_Modifier_Max = Sell_Modifier_Min = Sell_Modifier_Max = 0;
    Buy_Modifier = Sell_Modifier = 0;
    Magic_Chance_Per_Level = Unique_Chance_Per_Level = 0;
    Item_Min_Level_Offset = Item_Max_Level_Offset = 0;
    Item_Grouping_Type.clear();
    Stock_Group_Names.clear();
    Stock_Item_Ids.Clear();
}
