// The data-file reader over one file's bytes (UTF-8, or Windows-1251 converted): the header search, the
// records, and every field of every record through the loader base's typed getters and the name tables,
// under both run-time profiles. Every text the reader hands out must be UTF-8, and a field must read back
// as the parser gave it. Errors are collected, never raised.
#include "core/DataFileLoader.h"
#include "core/GlobalFuncs.h"
#include "core/NameTables.h"
#include "core/Profile.h"
#include "core/TextCodec.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

const TName_Table* const Tables[] = {
    &Item_Type_Names,
    &When_To_Retreat_Names,
    &Response_Range_Names,
    &Movement_Strategy_Names,
    &Corpse_Type_Names,
    &Intelligence_Category_Names,
    &Status_Names,
    &Consumption_Type_Names,
    &Connection_Type_Names,
    &Event_Trigger_Type_Names,
    &Event_Result_Type_Names,
    &Modifier_Type_Names,
    &Amount_Type_Names,
    &Display_Effect_Type_Names,
    &Spell_Target_Names,
    &Spell_Target_Names_English,
    &Effect_Type_Names,
    &Action_Names,
};

void Expect(bool condition) {
    if (!condition) std::abort();
}

class TEvery_Field_Loader : public TData_File_Loader {
public:
    using TData_File_Loader::TData_File_Loader;
    size_t Records = 0;

protected:
    void Process_Record(int32_t) override {
        ++Records;
        // A copy: reading reports errors but must leave the fields as they are.
        const std::vector<TData_Field> fields = Current_Fields();
        for (const TData_Field& field : fields) {
            Expect(Is_Valid_Utf8(field.Name) && Is_Valid_Utf8(field.Value));
            uint16_t word = 0;
            uint8_t byte = 0;
            int32_t longint = 0;
            double real = 0;
            bool flag = false;
            std::string text;
            Expect(Read_Word_Field(field.Name, word) && Read_Byte_Field(field.Name, byte));
            Expect(Read_Longint_Field(field.Name, longint) && Read_Real_Field(field.Name, real));
            Expect(Read_Bool_Field(field.Name, flag) && Read_Text_Field(field.Name, text));
            // Names are unique ignoring case within a record, so the look-up finds this very field.
            Expect(text == field.Value);
            Expect(word == Str_To_Word(text) && byte == Str_To_Byte(text) && longint == Str_To_Longint(text));
            Expect(std::isfinite(real));
            Find_Spell_Target(text); // the tool also tries its own words
            Names_Something(text);
            Set_Record_Name(text);
            // The error lines differ by profile only in their words: the name tables once are enough.
            if (Is_Tool_Profile()) continue;
            for (const TName_Table* table : Tables) {
                const int code = Find_Code(*table, text);
                Expect(code == -1 || (code >= table->First && code <= table->Last));
                const uint8_t read = Read_Name_Code(field.Name, *table, table->First, table->Last);
                Expect(code == -1 ? read == 0 : read == static_cast<uint8_t>(code));
            }
        }
        std::string value;
        Expect(!Get_Field_Value("no field has this name :=", value, true) && value.empty());
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Seed_Random(1);
    for (const TRun_Profile profile : {TRun_Profile::Game, TRun_Profile::Tool}) {
        Set_Run_Profile(profile);
        TEvery_Field_Loader loader("fuzz.txt");
        loader.Execute_Load_From_Bytes(bytes);
        for (const std::string& line : loader.Get_Error_List()) Expect(Is_Valid_Utf8(line));
    }
    Set_Run_Profile(TRun_Profile::Game);
    return 0;
}
