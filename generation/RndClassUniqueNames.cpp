#include "generation/RndClassUniqueNames.h"

namespace {

const char* const Error_Heading = "Item Unique Class Data File Errors: ";

std::vector<std::unique_ptr<TUnique_Names_Class>>& Table() {
    static std::vector<std::unique_ptr<TUnique_Names_Class>> table;
    return table;
}

} // namespace

int32_t Unique_Names_Count() {
    return static_cast<int32_t>(Table().size());
}

const TUnique_Names_Class* Get_Unique_Names(int32_t index) {
    if (index < 1 || index > Unique_Names_Count()) return nullptr;
    return Table()[static_cast<size_t>(index) - 1].get();
}

void Free_Unique_Names() {
    Table().clear();
}

bool Load_Unique_Names(const std::string& file_name) {
    Free_Unique_Names();
    TUnique_Names_Class_Data_File_Loader loader(file_name, Table());
    return loader.Execute_Load_And_Report(Error_Heading);
}

void TUnique_Names_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    auto entry = std::make_unique<TUnique_Names_Class>();
    entry->Index = record_number;

    std::string value;
    // The level text names the record; it is looked up under the name left from the previous record.
    if (Get_Field_Value("Level Min", value, true)) entry->Level_Min = Str_To_Word(value);
    Set_Record_Name(value);
    Read_Word_Field("Level Max", entry->Level_Max);
    Read_Word_Field("Number of Modifiers", entry->Number_Of_Modifiers);
    uint16_t count = 0;
    Read_Word_Field("Number of Names", count);
    for (int32_t n = 1; n <= count; ++n)
        if (Get_Field_Value("Name " + std::to_string(n), value, true)) entry->Names.push_back(value);
    Table_.push_back(std::move(entry));
}
