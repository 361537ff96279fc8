// Base of every data-file loader: runs the parser over a file, hands each record to Process_Record and
// collects error lines instead of raising them.
#pragma once

#include "core/DataFileParser.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TName_Table;

// Looks a field of the current record up; reports it as missing when asked to.
using TGet_Field_Value =
    std::function<bool(const std::string& field_name, std::string& value, bool report_missing)>;
// Reports a value the loader cannot accept.
using TReport_Invalid_Value = std::function<void(const std::string& value, const std::string& field_name)>;

// The two callables sub-record readers (effect lists, damages, requirements, natural attacks) read their
// keys through.
struct TField_Reader {
    TGet_Field_Value Get_Field_Value;
    TReport_Invalid_Value Report_Invalid_Value;
};

class TData_File_Loader {
public:
    explicit TData_File_Loader(const std::string& file_name);
    virtual ~TData_File_Loader() = default;
    TData_File_Loader(const TData_File_Loader&) = delete;
    TData_File_Loader& operator=(const TData_File_Loader&) = delete;

    // The whole load. Never raises: a missing or unreadable file, or any failure inside the hooks, adds the
    // cannot-load line; what was processed before stays processed.
    void Execute_Load();
    // The same over the file's bytes already in memory; the file name only names the file in error lines.
    void Execute_Load_From_Bytes(std::string_view bytes);
    const TString_List& Get_Error_List() const { return Error_List_; }
    // Execute_Load, then what the table loaders do with its errors: with an error_list the error lines
    // replace its contents, without one they are shown under the heading with the file name. True when the
    // load had no errors.
    bool Execute_Load_And_Report(const std::string& heading, TString_List* error_list = nullptr);

    // Kept across records until another name is set.
    void Set_Record_Name(const std::string& name) { Record_Name_ = name; }
    const std::string& Get_Record_Name() const { return Record_Name_; }
    const std::string& Get_File_Name() const { return File_Name_; }

    // value is set to empty first; the look-up ignores ASCII case.
    bool Get_Field_Value(const std::string& field_name, std::string& value, bool report_missing);
    void Report_Invalid_Value(const std::string& value, const std::string& field_name);
    void Add_Error(const std::string& text);
    TField_Reader Field_Reader();

protected:
    // Required fields read straight into their fields: a missing key is reported and leaves the field as
    // it was; the result tells whether the key was there.
    bool Read_Word_Field(const std::string& field_name, uint16_t& field);
    // The same conversion (0..65535, anything else 0) into a wider signed field.
    bool Read_Word_Field(const std::string& field_name, int32_t& field);
    bool Read_Byte_Field(const std::string& field_name, uint8_t& field);
    bool Read_Longint_Field(const std::string& field_name, int32_t& field);
    bool Read_Real_Field(const std::string& field_name, double& field);
    bool Read_Bool_Field(const std::string& field_name, bool& field);
    bool Read_Text_Field(const std::string& field_name, std::string& field);
    // The code in first..last whose name in the table equals the field's text, read as a required field;
    // a text that matches no name is reported and gives 0. A missing key is reported twice, as missing and
    // as the empty value that matches no name.
    uint8_t Read_Name_Code(const std::string& field_name, const TName_Table& table, int first, int last);

    virtual void Before_Load() {}
    virtual void Process_Record(int32_t record_number) = 0;
    virtual void After_Load() {}

    // The fields of the record being processed, in line order.
    const std::vector<TData_Field>& Current_Fields() const { return Record_.Fields(); }

private:
    void Load(const std::string_view* bytes);

    std::string File_Name_;
    int32_t Record_Number_ = 0;
    TString_List Error_List_;
    TData_Record Record_; // built once per record; every look-up goes through its name index
    std::string Record_Name_;
};

// Error lines of the data-file protocol, in the language of the run-time profile.
std::string Cannot_Load_Line(const std::string& file_name);
std::string Missing_Field_Line(const std::string& field_name, const std::string& record_name,
                               int32_t record_number);
std::string Invalid_Value_Line(const std::string& value, const std::string& field_name,
                               const std::string& record_name, int32_t record_number);
