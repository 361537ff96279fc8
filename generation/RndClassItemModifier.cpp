#include "generation/RndClassItemModifier.h"

#include "core/NameTables.h"
#include "core/TypedLists.h"

namespace {

const char* const Error_Heading = "Item Modifier Class Data File Errors: ";

struct TItem_Modifier_Table {
    std::vector<std::unique_ptr<TItem_Modifier_Class>> Modifiers;
    uint16_t Multiplier = 0;
};

TItem_Modifier_Table& Table() {
    static TItem_Modifier_Table table;
    return table;
}

} // namespace

int32_t Item_Modifier_Count() {
    return static_cast<int32_t>(Table().Modifiers.size());
}

const TItem_Modifier_Class* Get_Item_Modifier(int32_t index) {
    if (index < 1 || index > Item_Modifier_Count()) return nullptr;
    return Table().Modifiers[static_cast<size_t>(index) - 1].get();
}

uint16_t Item_Value_Amount_Multiplier() {
    return Table().Multiplier;
}

void Free_Item_Modifiers() {
    Table().Modifiers.clear();
    Table().Multiplier = 0;
}

bool Load_Item_Modifiers(const std::string& file_name) {
    Free_Item_Modifiers();
    TItem_Modifier_Class_Data_File_Loader loader(file_name, Table().Modifiers, Table().Multiplier);
    return loader.Execute_Load_And_Report(Error_Heading);
}

void TItem_Modifier_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    if (record_number == 1) {
        Read_Word_Field("Item Value Amount Multiplier", Multiplier_);
        return;
    }

    auto modifier = std::make_unique<TItem_Modifier_Class>();
    modifier->Index = static_cast<uint16_t>(record_number - 1);
    // The description is looked up under the name left from the previous record (the first modifier's
    // under the record number).
    Read_Text_Field("Description", modifier->Description);
    Set_Record_Name(modifier->Description);
    Read_Word_Field("Item Gold Value Percent Increase", modifier->Gold_Value_Percent_Increase);
    Read_Word_Field("Item Gold Value Amount Increase", modifier->Gold_Value_Amount_Increase);
    Read_Word_Field("Item Level Min", modifier->Item_Level_Min);
    Read_Word_Field("Item Level Max", modifier->Item_Level_Max);
    Read_Text_Field("Item Types", modifier->Item_Types);

    modifier->Modifier_Type =
        Read_Name_Code("Modifier Type", Modifier_Type_Names, Modifier_Type_Prefix, Modifier_Type_Suffix);

    modifier->Effects.Read_From_Data_File("", Field_Reader());
    modifier->Requirements.Read_From_Data_File("", Field_Reader());
    // The lists of eligible modifiers hold word-list positions; a file with more records than such a list
    // can hold keeps the first ones.
    if (Table_.size() < static_cast<size_t>(TWordList::Largest_Capacity))
        Table_.push_back(std::move(modifier));
}
