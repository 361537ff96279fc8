#include "generation/RndClassItem.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/Messages.h"

#include <limits>

namespace {

const char* const Error_Heading = "Item Class Data File Errors: ";

TItem_Class_List*& Current_List() {
    static TItem_Class_List* list = nullptr;
    return list;
}

int64_t Clamp_To_Int64(__int128 value) {
    if (value > std::numeric_limits<int64_t>::max()) return std::numeric_limits<int64_t>::max();
    if (value < std::numeric_limits<int64_t>::min()) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Classes and the list

bool TItem_Class::Group_Matches(const std::string& filter) const {
    if (Item_Group.empty()) return true;
    const std::string group = Ascii_Lower(Item_Group);
    if (group == "any") return true;
    const std::string lower_filter = Ascii_Lower(filter);
    if (lower_filter == "all" || lower_filter == "none") return true;
    return lower_filter.find(group) != std::string::npos;
}

TItem_Class* TItem_Class_List::Get_Class(int32_t index) const {
    if (index < 1 || index > Get_Count()) return nullptr;
    return Classes_[static_cast<size_t>(index) - 1].get();
}

uint16_t TItem_Class_List::Put_Class(const TItem_Class& item_class, uint16_t index) {
    auto copy = std::make_unique<TItem_Class>();
    copy->Assign(item_class);
    if (index == 0) {
        // Class indexes are 16-bit.
        if (Classes_.size() >= 65535) return 0;
        copy->Index = static_cast<uint16_t>(Classes_.size() + 1);
        Classes_.push_back(std::move(copy));
        return static_cast<uint16_t>(Classes_.size());
    }
    if (index > Classes_.size()) return 0;
    copy->Index = index;
    Classes_[index - 1u] = std::move(copy);
    return index;
}

uint16_t TItem_Class_List::Add_Class(const TItem_Class& item_class) {
    for (size_t n = 0; n < Classes_.size(); ++n)
        if (!Classes_[n]) return Put_Class(item_class, static_cast<uint16_t>(n + 1));
    return Put_Class(item_class, 0);
}

bool TItem_Class_List::Load_From_File(const std::string& file_name, TString_List* error_list) {
    // A list that has loaded nothing yet has no name to compare with: an empty name is still read.
    if (!File_Name.empty() && file_name == File_Name) return true;
    Clear();
    File_Name = file_name;
    TItem_Class_Data_File_Loader loader(file_name, *this);
    loader.Execute_Load();
    const TString_List& errors = loader.Get_Error_List();
    if (errors.empty()) return true;
    if (error_list)
        *error_list = errors;
    else
        Show_Data_File_Errors(errors, Error_Heading, file_name);
    return false;
}

const TItem_Class* TItem_Class_List::Pick_Random_Class(const std::string& class_name,
                                                       const std::string& group_filter) const {
    std::vector<const TItem_Class*> candidates;
    for (const auto& item_class : Classes_)
        if (item_class && Ascii_Equal_No_Case(item_class->Class_Name, class_name) &&
            item_class->Group_Matches(group_filter))
            candidates.push_back(item_class.get());
    if (candidates.empty()) return nullptr;
    const int32_t pick = Random_Range(1, static_cast<int32_t>(candidates.size()));
    return candidates[static_cast<size_t>(pick) - 1];
}

TItem_Class_List* Current_Item_Class_List() {
    return Current_List();
}

void Set_Current_Item_Class_List(TItem_Class_List* list) {
    Current_List() = list;
}

// ---------------------------------------------------------------------------------------------------------
// The item classes file

void TItem_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    if (record_number == 1) {
        Read_Constants();
        return;
    }
    TItem_Class item_class;
    Read_Class(item_class);
    List_.Add_Class(item_class);
}

void TItem_Class_Data_File_Loader::Read_Constants() {
    Set_Record_Name("General Item Info");
    TItem_Class_Constants& c = List_.Constants;
    // The constants are signed: a designer may make items cheaper or weaker with each level. Reading them
    // as unsigned would turn a negative constant into 0 without a word.
    Read_Longint_Field("Item Base Gold Value Mod Per Level Add Percent", c.Gold_Value_Per_Level_Percent);
    Read_Longint_Field("Item Consumption Value Mod Per Level Add Percent", c.Consumption_Per_Level_Percent);
    Read_Longint_Field("Item Defense Rating Mod Per Level Add Percent", c.Defense_Per_Level_Percent);
    Read_Longint_Field("Item Damage Min Mod Per Level Add Percent", c.Damage_Min_Per_Level_Percent);
    Read_Longint_Field("Item Damage Max Mod Per Level Add Percent", c.Damage_Max_Per_Level_Percent);
    Read_Longint_Field("Item Base Gold Value Mod Per Level Add Amt", c.Gold_Value_Per_Level_Amount);
    Read_Longint_Field("Item Consumption Value Mod Per Level Add Amt", c.Consumption_Per_Level_Amount);
    Read_Longint_Field("Item Defense Rating Mod Per Level Add Amt", c.Defense_Per_Level_Amount);
    Read_Longint_Field("Item Damage Min Mod Per Level Add Amt", c.Damage_Min_Per_Level_Amount);
    Read_Longint_Field("Item Damage Max Mod Per Level Add Amt", c.Damage_Max_Per_Level_Amount);
    Read_Longint_Field("Item Base Gold Value Base Amt Mod", c.Gold_Value_Base_Amount);
    Read_Longint_Field("Item Consumption Value Base Amt Mod", c.Consumption_Base_Amount);
    Read_Longint_Field("Item Defense Rating Base Amt Mod", c.Defense_Base_Amount);
    Read_Longint_Field("Item Damage Min Base Amt Mod", c.Damage_Min_Base_Amount);
    Read_Longint_Field("Item Damage Max Base Amt Mod", c.Damage_Max_Base_Amount);
}

uint8_t TItem_Class_Data_File_Loader::Read_Name_Code(const std::string& key, const TName_Table& table,
                                                     int first, int last) {
    std::string value;
    Get_Field_Value(key, value, true);
    // A missing key is reported twice, as missing and as the empty value that matches no name.
    const int code = Find_Code(table, value, first, last);
    if (code >= 0) return static_cast<uint8_t>(code);
    Report_Invalid_Value(value, key);
    return 0;
}

void TItem_Class_Data_File_Loader::Read_Class(TItem_Class& c) {
    std::string value;
    // A record without a class name is named by its number in the error lines, not by the previous class.
    Set_Record_Name("");
    Read_Text_Field("Class Name", c.Class_Name);
    Set_Record_Name(c.Class_Name);
    Read_Text_Field("Name", c.Name);
    Read_Text_Field("Description", c.Description);

    // Every type name counts in both profiles, "Glyph" and "Orb" included.
    c.Item_Type = Read_Name_Code("Type", Item_Type_Names, Item_Type_Names.First, Item_Type_Names.Last);

    Read_Text_Field("Weapon Type", c.Weapon_Type);
    Read_Word_Field("Event ID", c.Event_Id);
    Read_Text_Field("Picture Filename", c.Picture_File);
    Read_Word_Field("Item Level Min", c.Item_Level_Min);
    // Read as a flag: only "TRUE" or "YES" make a class a random find; a percent such as "50" does not.
    Read_Bool_Field("Random Appearance Chance", c.Random_Appearance);
    Read_Text_Field("Item Group", c.Item_Group);
    Read_Word_Field("Weight", c.Weight);
    Read_Byte_Field("Hands Required", c.Hands_Required);
    if (Get_Field_Value("Base Gold Value", value, true)) c.Base_Gold_Value = Str_To_Word(value);

    c.Consumption_Type = Read_Name_Code("Consumption Type", Consumption_Type_Names,
                                        Consumption_Type_Names.First, Consumption_Type_Names.Last);

    Read_Word_Field("Consumption Value", c.Consumption_Value);
    if (Get_Field_Value("Defense Rating", value, true)) c.Defense_Rating = Str_To_Word(value);
    Read_Text_Field("Is Ammo Type", c.Ammo_Type);
    Read_Text_Field("Ammo Required", c.Ammo_Required);
    Read_Text_Field("Use Sound File", c.Use_Sound_File);

    c.Damage.Read_From_Data_File("", Field_Reader());

    // A radius beyond a byte is not a radius; it gives 0 rather than wrapping to some small one.
    Read_Byte_Field("Light Radius Generated", c.Light_Radius);
    Read_Word_Field("Light Number of Turns", c.Light_Turns);
    Read_Word_Field("Maximum Number Stacked", c.Maximum_Stacked);
    Read_Word_Field("Random Min Number Found Stacked", c.Random_Min_Found);
    Read_Word_Field("Random Max Number Found Stacked", c.Random_Max_Found);
    Read_Bool_Field("Can Have Additional Effects", c.Can_Be_Magic);
    Read_Bool_Field("Is Unique Item", c.Always_Unique);

    c.Effects.Read_From_Data_File("", Field_Reader());
    c.Requirements.Read_From_Data_File("", Field_Reader());

    uint16_t spells = 0;
    Read_Word_Field("Number of Spells", spells);
    for (int32_t n = 1; n <= spells; ++n) {
        const std::string key = "Spell " + std::to_string(n);
        std::string name;
        Get_Field_Value(key + " Name", name, true);
        uint16_t level = 0;
        Read_Word_Field(key + " Level", level);
        // A scroll names its spells in step with their levels; a pair missing either half is left out.
        if (!name.empty() && level != 0) {
            c.Spell_Names.push_back(name);
            c.Spell_Levels.Add(level);
        }
    }

    Read_Text_Field("Key Group", c.Key_Group);
}

// ---------------------------------------------------------------------------------------------------------
// Formulas

int64_t Calc_Item_Level_Value(int32_t level, int64_t base, int32_t percent, int32_t amount,
                              int32_t base_amount) {
    // Exact integer arithmetic: the product of the amount and the percent factor, divided by 100 and
    // truncated toward zero, is what the real-valued formula means, without the binary rounding of a
    // factor such as 0.29 turning 29 into 28. 128 bits hold every product of these operands.
    const __int128 steps = static_cast<__int128>(level) - 1;
    const __int128 value = static_cast<__int128>(base) + base_amount + steps * amount;
    const __int128 factor = steps * percent + 100;
    return Clamp_To_Int64(value * factor / 100);
}

int64_t Calc_Item_Gold_Value(const TItem_Class& item_class, int32_t level) {
    const TItem_Class_List* list = Current_Item_Class_List();
    const TItem_Class_Constants constants = list ? list->Constants : TItem_Class_Constants{};
    return Calc_Item_Level_Value(level, item_class.Base_Gold_Value, constants.Gold_Value_Per_Level_Percent,
                                 constants.Gold_Value_Per_Level_Amount, constants.Gold_Value_Base_Amount);
}
