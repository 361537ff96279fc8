// The base of the module tables' loaders (monster groups, chance groups, store classes, monster modifiers,
// random items carried): every record is read key by key, and a record's counts say how many rows of
// numbered keys follow.
#pragma once

#include "core/DataFileLoader.h"

#include <cstdint>
#include <string>

class TModule_Table_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;

protected:
    // Called first for every record: the row budget becomes the record's field count.
    void Start_Record() { Rows_Left_ = static_cast<int64_t>(Current_Fields().size()); }

    // A required count of rows ("Number Of ..."), read as a word. Each row needs at least one key of its
    // own, so a record can never hold more rows than it has fields: a count beyond what is left of that
    // budget is reported as an invalid value and gives 0. Without that check a count of 65535 over nested
    // rows would ask for billions of missing keys and fill memory with their error lines.
    int32_t Read_Row_Count(const std::string& field_name) {
        std::string value;
        if (!Get_Field_Value(field_name, value, true)) return 0;
        const int32_t count = Str_To_Word(value);
        if (count > Rows_Left_) {
            Report_Invalid_Value(value, field_name);
            return 0;
        }
        Rows_Left_ -= count;
        return count;
    }

    // A required word; 0 when the key is missing (reported).
    uint16_t Read_Word(const std::string& field_name) {
        std::string value;
        return Get_Field_Value(field_name, value, true) ? Str_To_Word(value) : 0;
    }

private:
    int64_t Rows_Left_ = 0;
};
