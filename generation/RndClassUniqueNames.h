// The module's unique item names: for a band of item levels, how many modifiers make an item unique and
// the names ("Grimfang") one of which it then carries in front of its own.
#pragma once

#include "core/DataFileLoader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TUnique_Names_Class {
public:
    int32_t Index = 0; // position in the table, from 1
    uint16_t Level_Min = 0;
    uint16_t Level_Max = 0;
    uint16_t Number_Of_Modifiers = 0; // an entry asking for 0 is never chosen
    TString_List Names;

    void Assign(const TUnique_Names_Class& other) { *this = other; }
};

// The table: entries 1..Unique_Names_Count(). Get_Unique_Names gives null for 0 or an index beyond it.
int32_t Unique_Names_Count();
const TUnique_Names_Class* Get_Unique_Names(int32_t index);

// Frees the old table and reads the file. Errors are shown under "Item Unique Class Data File Errors: " and
// give false; the entries read stay in the table either way.
bool Load_Unique_Names(const std::string& file_name);
void Free_Unique_Names();

// Every record, the first included, is one entry. Fills the table given.
class TUnique_Names_Class_Data_File_Loader : public TData_File_Loader {
public:
    TUnique_Names_Class_Data_File_Loader(const std::string& file_name,
                                         std::vector<std::unique_ptr<TUnique_Names_Class>>& table)
        : TData_File_Loader(file_name), Table_(table) {}

protected:
    void Process_Record(int32_t record_number) override;

private:
    std::vector<std::unique_ptr<TUnique_Names_Class>>& Table_;
};
