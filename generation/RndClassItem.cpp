#include "generation/RndClassItem.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"

namespace {

const char* const Error_Heading = "Item Class Data File Errors: ";

TItem_Class_List*& Current_List() {
    static TItem_Class_List* list = nullptr;
    return list;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Classes and the list

bool TItem_Class::Group_Matches(const std::string& filter) const {
    return Class_Group_Matches(Item_Group, filter, TGroup_Match::Filter_Contains_Group);
}

bool TItem_Class_List::Load_From_File(const std::string& file_name, TString_List* error_list) {
    TItem_Class_Data_File_Loader loader(file_name, *this);
    return Load_Classes(loader, error_list, Error_Heading);
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
    // Read as words: a negative text, or one above 65535, gives 0, so no file makes items cheaper or
    // weaker with each level. The fields stay signed for the formulas' arithmetic.
    Read_Word_Field("Item Base Gold Value Mod Per Level Add Percent", c.Gold_Value_Per_Level_Percent);
    Read_Word_Field("Item Consumption Value Mod Per Level Add Percent", c.Consumption_Per_Level_Percent);
    Read_Word_Field("Item Defense Rating Mod Per Level Add Percent", c.Defense_Per_Level_Percent);
    Read_Word_Field("Item Damage Min Mod Per Level Add Percent", c.Damage_Min_Per_Level_Percent);
    Read_Word_Field("Item Damage Max Mod Per Level Add Percent", c.Damage_Max_Per_Level_Percent);
    Read_Word_Field("Item Base Gold Value Mod Per Level Add Amt", c.Gold_Value_Per_Level_Amount);
    Read_Word_Field("Item Consumption Value Mod Per Level Add Amt", c.Consumption_Per_Level_Amount);
    Read_Word_Field("Item Defense Rating Mod Per Level Add Amt", c.Defense_Per_Level_Amount);
    Read_Word_Field("Item Damage Min Mod Per Level Add Amt", c.Damage_Min_Per_Level_Amount);
    Read_Word_Field("Item Damage Max Mod Per Level Add Amt", c.Damage_Max_Per_Level_Amount);
    Read_Word_Field("Item Base Gold Value Base Amt Mod", c.Gold_Value_Base_Amount);
    Read_Word_Field("Item Consumption Value Base Amt Mod", c.Consumption_Base_Amount);
    Read_Word_Field("Item Defense Rating Base Amt Mod", c.Defense_Base_Amount);
    Read_Word_Field("Item Damage Min Base Amt Mod", c.Damage_Min_Base_Amount);
    Read_Word_Field("Item Damage Max Base Amt Mod", c.Damage_Max_Base_Amount);
}

void TItem_Class_Data_File_Loader::Read_Class(TItem_Class& c) {
    std::string value;
    // The name key is looked up under the name left from the previous record: a missing class name is
    // reported under the class before it, and the record's later lines under its number.
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

const TItem_Class_Constants& Current_Item_Class_Constants() {
    static const TItem_Class_Constants defaults;
    const TItem_Class_List* list = Current_Item_Class_List();
    return list ? list->Constants : defaults;
}

int64_t Calc_Item_Level_Value(int32_t level, int32_t base, int32_t percent, int32_t amount,
                              int32_t base_amount) {
    // 32-bit operands keep the value within 64 bits: the product of the steps and the amount is below 2^62
    // + 2^31, the two base terms below 2^32 together.
    const int64_t steps = int64_t{level} - 1;
    const int64_t value = int64_t{base} + base_amount + steps * amount;
    return Scale_By_Percent(value, Percent_Factor(steps, percent));
}

int64_t Calc_Item_Gold_Value(const TItem_Class& item_class, int32_t level) {
    const TItem_Class_Constants& k = Current_Item_Class_Constants();
    return Calc_Item_Level_Value(level, item_class.Base_Gold_Value, k.Gold_Value_Per_Level_Percent,
                                 k.Gold_Value_Per_Level_Amount, k.Gold_Value_Base_Amount);
}

int64_t Calc_Item_Damage_Min(const TItem_Class& item_class, int32_t level) {
    const TItem_Class_Constants& k = Current_Item_Class_Constants();
    return Calc_Item_Level_Value(level, item_class.Damage.Min, k.Damage_Min_Per_Level_Percent,
                                 k.Damage_Min_Per_Level_Amount, k.Damage_Min_Base_Amount);
}

int64_t Calc_Item_Damage_Max(const TItem_Class& item_class, int32_t level) {
    const TItem_Class_Constants& k = Current_Item_Class_Constants();
    return Calc_Item_Level_Value(level, item_class.Damage.Max, k.Damage_Max_Per_Level_Percent,
                                 k.Damage_Max_Per_Level_Amount, k.Damage_Max_Base_Amount);
}
