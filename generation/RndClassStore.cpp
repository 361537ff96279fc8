#include "generation/RndClassStore.h"

#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Path.h"
#include "core/Store.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassItemModifier.h"
#include "generation/RndClassUniqueNames.h"

namespace {

struct TStore_Class_State {
    TStore_Class_Table Classes;
    std::string File_Name; // as given to the last load
};

TStore_Class_State& State() {
    static TStore_Class_State state;
    return state;
}

// Item levels and chances follow the character's level when the game began.
int64_t Character_Level() {
    const TGame_Options* options = Game_Options();
    return options ? options->Start_Level : 0;
}

// An item level of the store: the character level plus an offset, at least 1.
int32_t Item_Level(int64_t character_level, int32_t offset) {
    const int64_t level = character_level + offset;
    return level <= 0 ? 1 : Clamp_To_Int32(level);
}

// Whether one more id fits the list. A word list grows 16 entries at a time and refuses a capacity beyond
// its largest, so appending fails at the last step that fits (32752 entries), short of the largest itself.
bool Has_Room(const TWordList& list) {
    return list.Count() < list.Capacity() || list.Capacity() + 16 <= TWordList::Largest_Capacity;
}

// What a restock loads, freed again however the restock ends; the map's own item list is the current
// one meanwhile, so the stock is made in the map being loaded whichever map is current.
class TRestock_Scope {
public:
    explicit TRestock_Scope(TMap& map) : Saved_Item_List_(Current_Item_List()) {
        Set_Current_Item_List(&map.Item_List);
    }
    ~TRestock_Scope() {
        Free_Store_Classes();
        Free_Unique_Names();
        Free_Item_Modifiers();
        Set_Current_Item_List(Saved_Item_List_);
    }
    TRestock_Scope(const TRestock_Scope&) = delete;
    TRestock_Scope& operator=(const TRestock_Scope&) = delete;

private:
    TItem_List* Saved_Item_List_;
};

} // namespace

int32_t Store_Class_Count() {
    return static_cast<int32_t>(State().Classes.size());
}

const TStore_Class* Get_Store_Class(int32_t index) {
    if (index < 1 || index > Store_Class_Count()) return nullptr;
    return State().Classes[static_cast<size_t>(index) - 1].get();
}

int32_t Add_Store_Class(const TStore_Class& store_class) {
    State().Classes.push_back(std::make_unique<TStore_Class>(store_class));
    return Store_Class_Count();
}

void Free_Store_Classes() {
    State().Classes.clear();
}

const std::string& Store_Class_File_Name() {
    return State().File_Name;
}

bool Load_Store_Classes(const std::string& file_name) {
    Free_Store_Classes();
    State().File_Name = file_name;
    // Without path settings there is no module folder to read from: no store classes.
    if (!Path_Settings()) return false;
    TStore_Class_Data_File_Loader loader(Path_Settings()->Get_Tile_File(file_name), State().Classes);
    return loader.Execute_Load_And_Report("Store Class Data File Errors: ");
}

void Restock(TStore& store) {
    // The index comes from the map file: an index of no class, 0 included, leaves the store unstocked.
    const TStore_Class* store_class = Get_Store_Class(store.Store_Class_Index);
    if (!store_class) return;
    const TStore_Class& c = *store_class;
    store.Store_Name = c.Store_Name;
    store.Buy_Modifier_Min = c.Buy_Cost_Percent_Min;
    store.Buy_Modifier_Max = c.Buy_Cost_Percent_Max;
    store.Sell_Modifier_Min = c.Sell_Cost_Percent_Min;
    store.Sell_Modifier_Max = c.Sell_Cost_Percent_Max;
    store.Magic_Chance_Per_Level = c.Magic_Chance_Per_Level;
    store.Unique_Chance_Per_Level = c.Unique_Chance_Per_Level;
    store.Item_Min_Level_Offset = c.Item_Min_Level_Offset;
    store.Item_Max_Level_Offset = c.Item_Max_Level_Offset;
    store.Item_Grouping_Type = c.Item_Grouping_Type;

    const int64_t level = Character_Level();
    const int32_t magic_chance = Trunc_To_Int32(static_cast<double>(level) * store.Magic_Chance_Per_Level);
    const int32_t unique_chance = Trunc_To_Int32(static_cast<double>(level) * store.Unique_Chance_Per_Level);
    int32_t level_min = Item_Level(level, store.Item_Min_Level_Offset);
    const int32_t level_max = Item_Level(level, store.Item_Max_Level_Offset);

    const TItem_Class_List* classes = Current_Item_Class_List();
    const size_t rows = std::min({c.Stock_Group_Names.size(), c.Stock_Item_Class_Names.size(),
                                  static_cast<size_t>(c.Stock_Appearance_Chances.Count())});
    for (size_t row = 0; row < rows; ++row) {
        // A full stock list could not record another item, which would then belong to nothing.
        if (!Has_Room(store.Stock_Item_Ids)) break;
        const TItem_Class* item_class =
            classes ? classes->Pick_Random_Class(c.Stock_Item_Class_Names[row], store.Item_Grouping_Type)
                    : nullptr;
        if (!item_class || item_class->Item_Level_Min > level_max) continue;
        // The raised minimum stays for the rows that follow.
        if (level_min < item_class->Item_Level_Min) level_min = item_class->Item_Level_Min;
        const uint8_t chance = c.Stock_Appearance_Chances.Get(static_cast<uint16_t>(row + 1));
        if (chance < Random_Range(1, 100)) continue;
        const uint16_t id = Create_Item_From_Class(item_class, 0, 0, false, level_min, level_max,
                                                   magic_chance, unique_chance, 0, 0, 0);
        if (id == 0) continue;
        store.Stock_Group_Names.push_back(c.Stock_Group_Names[row]);
        store.Stock_Item_Ids.Add(id);
    }

    store.Buy_Modifier = static_cast<uint16_t>(Random_Range(store.Buy_Modifier_Min, store.Buy_Modifier_Max));
    store.Sell_Modifier =
        static_cast<uint16_t>(Random_Range(store.Sell_Modifier_Min, store.Sell_Modifier_Max));
    store.Stocked = true;
}

void Restock_Map_Stores(TMap& map) {
    if (map.Store_Count() == 0 || !Path_Settings()) return;
    // Store 1 names the files for every store of the map.
    const TStore* first = map.Get_Store(1);
    if (!first) return;
    const std::string store_class_file = first->Store_Class_File;
    const std::string item_class_file = first->Item_Class_File;

    TRestock_Scope scope(map);
    TItem_Class_List item_classes;
    TCurrent_Item_Class_List_Guard current(item_classes);
    // Each load shows its own errors; the stores are stocked from whatever was read.
    Load_Item_Modifiers(Path_Settings()->Get_ItemModifiers_File());
    Load_Unique_Names(Path_Settings()->Get_UniqueItemNames_File());
    item_classes.Load_From_File(Path_Settings()->Get_Tile_File(item_class_file));
    Load_Store_Classes(store_class_file);
    for (int32_t n = 1; n <= map.Store_Count(); ++n)
        if (TStore* store = map.Get_Store(n)) Restock(*store);
}

void Install_Store_Restocker() {
    Set_Store_Restocker(Restock_Map_Stores);
}

// ---------------------------------------------------------------------------------------------------------
// Loader

void TStore_Class_Data_File_Loader::Process_Record(int32_t /*record_number*/) {
    Start_Record();
    Table_.push_back(std::make_unique<TStore_Class>());
    TStore_Class& c = *Table_.back();

    std::string value;
    // A record without its id is named by its number in the error lines, not by the previous store.
    Set_Record_Name("");
    if (Get_Field_Value("Store ID", value, true)) c.Store_Id = Str_To_Word(value);
    Set_Record_Name(value);
    Read_Text_Field("Store Name", c.Store_Name);
    c.Buy_Cost_Percent_Min = Read_Word("Buy Cost Modifier Percentage Min");
    c.Buy_Cost_Percent_Max = Read_Word("Buy Cost Modifier Percentage Max");
    c.Sell_Cost_Percent_Min = Read_Word("Sell Cost Modifier Percentage Min");
    c.Sell_Cost_Percent_Max = Read_Word("Sell Cost Modifier Percentage Max");
    Read_Real_Field("Chance For Magic Item Per Char Level", c.Magic_Chance_Per_Level);
    Read_Real_Field("Chance For Unique Item Per Char Level", c.Unique_Chance_Per_Level);
    c.Item_Min_Level_Offset = Read_Word("Item Min Level Character Level Offset");
    c.Item_Max_Level_Offset = Read_Word("Item Max Level Character Level Offset");
    Read_Text_Field("Item Grouping Type", c.Item_Grouping_Type);
    Read_Stock_Rows(c);
}

void TStore_Class_Data_File_Loader::Read_Stock_Rows(TStore_Class& c) {
    const int32_t groups = Read_Row_Count("Number of Item Groups");
    std::string group_name;
    std::string class_name;
    for (int32_t j = 1; j <= groups; ++j) {
        const std::string group_prefix = "Item Group " + std::to_string(j) + " ";
        Get_Field_Value(group_prefix + "Name", group_name, true);
        const int32_t classes = Read_Row_Count(group_prefix + "Number of Item Classes");
        for (int32_t k = 1; k <= classes; ++k) {
            const std::string prefix = group_prefix + "Item Class " + std::to_string(k) + " ";
            Get_Field_Value(prefix + "Name", class_name, true);
            c.Stock_Group_Names.push_back(group_name);
            c.Stock_Item_Class_Names.push_back(class_name);
            c.Stock_Appearance_Chances.Add(static_cast<uint8_t>(Read_Word(prefix + "Appearance Chance")));
        }
    }
}
