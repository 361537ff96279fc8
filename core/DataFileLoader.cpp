#include "core/DataFileLoader.h"

#include "core/Messages.h"
#include "core/NameTables.h"
#include "core/Profile.h"

#include <optional>

namespace {

const char Quote = '"';

// The invalid-value line names the record in quotes even when it is only a number.
std::string Record_Name_Or_Number(const std::string& record_name, int32_t record_number) {
    return record_name.empty() ? std::to_string(record_number) : record_name;
}

} // namespace

std::string Cannot_Load_Line(const std::string& file_name) {
    const std::string text = Is_Tool_Profile() ? "Unable to load data file: " : "Не удаётся загрузить: ";
    return text + Quote + file_name + Quote + ".";
}

std::string Missing_Field_Line(const std::string& field_name, const std::string& record_name,
                               int32_t record_number) {
    std::string line = Is_Tool_Profile() ? "Could not find field " : "Не удалось найти поле ";
    line += Quote + field_name + Quote + (Is_Tool_Profile() ? " in record " : " в записи ");
    // A numbered record is written without quotes here, unlike in the invalid-value line.
    if (record_name.empty())
        line += std::to_string(record_number);
    else
        line += Quote + record_name + Quote;
    return line + ".";
}

std::string Invalid_Value_Line(const std::string& value, const std::string& field_name,
                               const std::string& record_name, int32_t record_number) {
    std::string line = Is_Tool_Profile() ? "Unknown value " : "Недопустимое ";
    line += Quote + value + Quote + (Is_Tool_Profile() ? " for " : " для ") + field_name;
    line += Is_Tool_Profile() ? " in record " : " в записи ";
    return line + Quote + Record_Name_Or_Number(record_name, record_number) + Quote + ".";
}

TData_File_Loader::TData_File_Loader(const std::string& file_name) : File_Name_(file_name) {}

void TData_File_Loader::Execute_Load() {
    Load(nullptr);
}

void TData_File_Loader::Execute_Load_From_Bytes(std::string_view bytes) {
    Load(&bytes);
}

void TData_File_Loader::Load(const std::string_view* bytes) {
    Error_List_.clear();
    try {
        // Opening the file also searches the header; a missing file raises before any hook runs.
        std::optional<TData_File_Parser> opened;
        if (bytes)
            opened.emplace(*bytes, Error_List_);
        else
            opened.emplace(File_Name_, Error_List_);
        TData_File_Parser& parser = *opened;
        Before_Load();
        Record_Number_ = 0;
        bool has_fields = false;
        do {
            ++Record_Number_;
            has_fields = parser.Read_Record(Record_);
            if (has_fields) Process_Record(Record_Number_);
            // A record without fields is the second of two record-ending lines in a row: the data ends
            // there, and whatever follows is ignored without error.
        } while (!parser.End() && has_fields);
        After_Load();
    } catch (...) {
        // Loaders report, they never raise: any failure of a hook ends the load with one line, and
        // the records processed before it stay processed.
        Error_List_.push_back(Cannot_Load_Line(File_Name_));
    }
}

bool TData_File_Loader::Execute_Load_And_Report(const std::string& heading, TString_List* error_list) {
    Execute_Load();
    if (Error_List_.empty()) return true;
    if (error_list)
        *error_list = Error_List_;
    else
        Show_Data_File_Errors(Error_List_, heading, File_Name_);
    return false;
}

bool TData_File_Loader::Get_Field_Value(const std::string& field_name, std::string& value,
                                        bool report_missing) {
    value.clear();
    if (const TData_Field* field = Record_.Find(field_name)) {
        value = field->Value;
        return true;
    }
    if (report_missing) Error_List_.push_back(Missing_Field_Line(field_name, Record_Name_, Record_Number_));
    return false;
}

void TData_File_Loader::Report_Invalid_Value(const std::string& value, const std::string& field_name) {
    Error_List_.push_back(Invalid_Value_Line(value, field_name, Record_Name_, Record_Number_));
}

void TData_File_Loader::Add_Error(const std::string& text) {
    Error_List_.push_back(text);
}

TField_Reader TData_File_Loader::Field_Reader() {
    return TField_Reader{
        [this](const std::string& field_name, std::string& value, bool report_missing) {
            return Get_Field_Value(field_name, value, report_missing);
        },
        [this](const std::string& value, const std::string& field_name) {
            Report_Invalid_Value(value, field_name);
        },
    };
}

namespace {
template <typename TField, typename TConvert>
bool Read_Into(TData_File_Loader& loader, const std::string& field_name, TField& field, TConvert convert) {
    std::string value;
    if (!loader.Get_Field_Value(field_name, value, true)) return false;
    field = convert(value);
    return true;
}
} // namespace

bool TData_File_Loader::Read_Word_Field(const std::string& field_name, uint16_t& field) {
    return Read_Into(*this, field_name, field, Str_To_Word);
}
bool TData_File_Loader::Read_Word_Field(const std::string& field_name, int32_t& field) {
    return Read_Into(*this, field_name, field, Str_To_Word);
}
bool TData_File_Loader::Read_Byte_Field(const std::string& field_name, uint8_t& field) {
    return Read_Into(*this, field_name, field, Str_To_Byte);
}
bool TData_File_Loader::Read_Longint_Field(const std::string& field_name, int32_t& field) {
    return Read_Into(*this, field_name, field, Str_To_Longint);
}
bool TData_File_Loader::Read_Real_Field(const std::string& field_name, double& field) {
    return Read_Into(*this, field_name, field, Str_To_Real);
}
bool TData_File_Loader::Read_Bool_Field(const std::string& field_name, bool& field) {
    return Read_Into(*this, field_name, field, Str_To_Bool);
}
bool TData_File_Loader::Read_Text_Field(const std::string& field_name, std::string& field) {
    return Read_Into(*this, field_name, field, Str_To_Str);
}

uint8_t TData_File_Loader::Read_Name_Code(const std::string& field_name, const TName_Table& table, int first,
                                          int last) {
    std::string value;
    Get_Field_Value(field_name, value, true);
    const int code = Find_Code(table, value, first, last);
    if (code >= 0) return static_cast<uint8_t>(code);
    Report_Invalid_Value(value, field_name);
    return 0;
}
