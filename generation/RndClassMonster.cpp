#include "generation/RndClassMonster.h"

#include "core/DataFileParser.h"
#include "core/GlobalFuncs.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "platform/PathLayer.h"

namespace {

const char* const Error_Heading = "Monster Class Data File Errors: ";

TMonster_Class_List*& Current_List() {
    static TMonster_Class_List* list = nullptr;
    return list;
}

uint16_t Last_Amount_Of(const std::vector<TMonster_Named_Amount>& table, const std::string& name,
                        uint16_t fallback) {
    for (auto entry = table.rbegin(); entry != table.rend(); ++entry)
        if (entry->Name == name) return entry->Amount;
    return fallback;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Classes and the list

void TMonster_Class::Assign(const TMonster_Class& o) {
    if (&o == this) return;
    Index = o.Index;
    Name = o.Name;
    Description = o.Description;
    Picture_File = o.Picture_File;
    Attack_Picture_File = o.Attack_Picture_File;
    Monster_Group = o.Monster_Group;
    Event_Id = o.Event_Id;
    Appearance_Chance = o.Appearance_Chance;
    Is_Unique = o.Is_Unique;
    Is_Undead = o.Is_Undead;
    Movement_Flags = o.Movement_Flags;
    Vision_Flags = o.Vision_Flags;
    Light_Radius = o.Light_Radius;
    Intelligence = o.Intelligence;
    Does_Attack = o.Does_Attack;
    When_To_Retreat = o.When_To_Retreat;
    Response_Range = o.Response_Range;
    Movement_Strategy = o.Movement_Strategy;
    Movement_Speed = o.Movement_Speed;
    Sound_Death = o.Sound_Death;
    Sound_Attack = o.Sound_Attack;
    Sound_Growl = o.Sound_Growl;
    Weight = o.Weight;
    Health_Min = o.Health_Min;
    Health_Max = o.Health_Max;
    Attack_Min = o.Attack_Min;
    Attack_Max = o.Attack_Max;
    Defense_Min = o.Defense_Min;
    Defense_Max = o.Defense_Max;
    Corpse_Type = o.Corpse_Type;
    Can_Be_Given_Items = o.Can_Be_Given_Items;
    Items_Carried = o.Items_Carried;
    Store_Id = o.Store_Id;
    Talk_Topics = o.Talk_Topics;
    Talk_Texts = o.Talk_Texts;
    Effects.Assign(o.Effects);
    Spells.Assign(o.Spells);
    Natural_Attacks.Assign(o.Natural_Attacks);
}

bool TMonster_Class::Group_Matches(const std::string& filter) const {
    return Class_Group_Matches(Monster_Group, filter, TGroup_Match::Either_Contains_Other);
}

bool TMonster_Class_List::Load_From_File(const std::string& file_name, TString_List* error_list,
                                         bool no_sound_check) {
    TMonster_Class_Data_File_Loader loader(file_name, *this);
    loader.No_Sound_Check = no_sound_check;
    return Load_Classes(loader, error_list, Error_Heading);
}

uint16_t TMonster_Class_List::Get_Movement_Speed_Ms(const std::string& speed_name) const {
    return Last_Amount_Of(Movement_Speeds, speed_name, Default_Movement_Speed_Ms);
}

uint16_t TMonster_Class_List::Get_Spell_Cast_Chance(const std::string& chance_name) const {
    return Last_Amount_Of(Spell_Cast_Chances, chance_name, Default_Spell_Cast_Chance);
}

TMonster_Class_List* Current_Monster_Class_List() {
    return Current_List();
}

void Set_Current_Monster_Class_List(TMonster_Class_List* list) {
    Current_List() = list;
}

// ---------------------------------------------------------------------------------------------------------
// The monster classes file

void TMonster_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    if (record_number == 1) {
        Read_General_Info();
        return;
    }
    // Every record is kept, those with errors included: callers treat the failed load as the failure.
    TMonster_Class monster_class;
    Read_Class(monster_class);
    List_.Add_Class(monster_class);
}

void TMonster_Class_Data_File_Loader::Read_General_Info() {
    Set_Record_Name("General Monster Info");
    TMonster_Class_Constants& c = List_.Constants;
    // Read as words: a negative text, or one above 65535, gives 0. The fields stay signed for the
    // formulas' arithmetic.
    Read_Word_Field("Monster Base Health Modifier", c.Base_Health_Modifier);
    Read_Word_Field("Monster Base Attack Ability Modifier", c.Base_Attack_Modifier);
    Read_Word_Field("Monster Base Defense Ability Modifier", c.Base_Defense_Modifier);
    Read_Word_Field("Monster Base Health Start", c.Health_Start);
    Read_Word_Field("Monster Base Attack Ability Start", c.Attack_Start);
    Read_Word_Field("Monster Base Defense Ability Start", c.Defense_Start);
    Read_Word_Field("Monster Base Damage Min Start", c.Damage_Min_Start);
    Read_Word_Field("Monster Base Damage Max Start", c.Damage_Max_Start);
    Read_Word_Field("Monster Health Modifier Per Level Added Percent", c.Health_Per_Level_Percent);
    Read_Word_Field("Monster Damage Modifier Per Level Added Percent", c.Damage_Per_Level_Percent);
    Read_Word_Field("Monster Attack Modifier Per Level Added Percent", c.Attack_Per_Level_Percent);
    Read_Word_Field("Monster Defense Modifier Per Level Added Percent", c.Defense_Per_Level_Percent);
    Read_Word_Field("Monster Health Modifier Per Level Added Amount", c.Health_Per_Level_Amount);
    Read_Word_Field("Monster Damage Modifier Per Level Added Amount", c.Damage_Per_Level_Amount);
    Read_Word_Field("Monster Attack Modifier Per Level Added Amount", c.Attack_Per_Level_Amount);
    Read_Word_Field("Monster Defense Modifier Per Level Added Amount", c.Defense_Per_Level_Amount);
    Read_Word_Field("Monster Health Modifier Per Difficulty Level Pct", c.Health_Per_Difficulty_Percent);
    Read_Word_Field("Monster Damage Modifier Per Difficulty Level Pct", c.Damage_Per_Difficulty_Percent);
    Read_Word_Field("Monster Attack Modifier Per Difficulty Level Pct", c.Attack_Per_Difficulty_Percent);
    Read_Word_Field("Monster Defense Modifier Per Difficulty Level Pct", c.Defense_Per_Difficulty_Percent);
    Read_Word_Field("Monster Base Resist All Start", c.Resist_All_Start);
    Read_Word_Field("Monster Resist All Modifier Per Level Added Amount", c.Resist_All_Per_Level_Amount);
    Read_Word_Field("Monster Gold Carried Per Level Chance", c.Gold_Chance_Per_Level);
    Read_Word_Field("Monster Gold Carried Per Level Minimum", c.Gold_Minimum_Per_Level);
    Read_Word_Field("Monster Gold Carried Per Level Maximum", c.Gold_Maximum_Per_Level);
    Read_Real_Field("Spell Level Per Monster Level", c.Spell_Level_Per_Monster_Level);

    Read_Named_Amounts("Number Of Movement Speeds", "Movement Speed ", " Time Interval in Milliseconds",
                       List_.Movement_Speeds);
    Read_Longint_Field("Movement Speed Modifier Per Difficulty Level MS",
                       List_.Movement_Speed_Modifier_Per_Difficulty_Ms);
    Read_Named_Amounts("Number Of Spell Cast Chances", "Spell Cast Chance ", " Percent",
                       List_.Spell_Cast_Chances);
}

void TMonster_Class_Data_File_Loader::Read_Named_Amounts(const std::string& count_key,
                                                         const std::string& prefix,
                                                         const std::string& amount_suffix,
                                                         std::vector<TMonster_Named_Amount>& table) {
    uint16_t count = 0;
    Read_Word_Field(count_key, count);
    for (int32_t i = 1; i <= count; ++i) {
        const std::string key = prefix + std::to_string(i);
        TMonster_Named_Amount entry;
        Read_Text_Field(key + " Name", entry.Name);
        Read_Word_Field(key + amount_suffix, entry.Amount);
        if (entry.Amount != 0) table.push_back(entry);
    }
}

void TMonster_Class_Data_File_Loader::Read_Class(TMonster_Class& c) {
    std::string value;
    // The name key is looked up under the name left from the previous record: a missing name is reported
    // under the class before it, and the record's later lines under its number.
    Read_Text_Field("Name", c.Name);
    Set_Record_Name(c.Name);
    Read_Text_Field("Description", c.Description);
    Read_Text_Field("Picture Filename", c.Picture_File);
    Read_Text_Field("Attack Picture Filename", c.Attack_Picture_File);
    Read_Word_Field("Event ID", c.Event_Id);
    if (Get_Field_Value("Map Appearance Chance", value, true)) c.Appearance_Chance = Str_To_Word(value);
    Read_Text_Field("Monster Group", c.Monster_Group);
    Read_Bool_Field("Is Unique Monster", c.Is_Unique);
    Read_Bool_Field("Is Undead", c.Is_Undead);
    Read_Word_Field("Weight", c.Weight);
    if (Get_Field_Value("Health Min", value, true)) c.Health_Min = Str_To_Word(value);
    if (Get_Field_Value("Health Max", value, true)) c.Health_Max = Str_To_Word(value);
    Read_Word_Field("Attack Ability Min", c.Attack_Min);
    Read_Word_Field("Attack Ability Max", c.Attack_Max);
    Read_Word_Field("Defense Ability Min", c.Defense_Min);
    Read_Word_Field("Defense Ability Max", c.Defense_Max);

    c.Corpse_Type = Read_Name_Code("Corpse Type", Corpse_Type_Names, 0, 8);
    Read_Byte_Field("Light Radius Generated", c.Light_Radius);
    Read_Bool_Field("Can Be Given Items", c.Can_Be_Given_Items);

    // The flags that are set replace the default (land): a class with none set moves nowhere.
    const char* const flag_keys[] = {"Movement Flag Land", "Movement Flag Air", "Movement Flag Water",
                                     "Movement Flag Ethereal"};
    c.Movement_Flags = 0;
    for (int bit = 0; bit < 4; ++bit) {
        bool on = false;
        Read_Bool_Field(flag_keys[bit], on);
        if (on) c.Movement_Flags = static_cast<uint8_t>(c.Movement_Flags | (1u << bit));
    }

    Read_Behaviour(c);
    Read_Sounds(c);
    Read_Items_Carried(c);
    if (Get_Field_Value("Store ID", value, true)) c.Store_Id = Str_To_Word(value);
    c.Effects.Read_From_Data_File("", Field_Reader());
    Read_Spells(c);
    c.Natural_Attacks.Read_From_Data_File("", Field_Reader());
    Read_Talk_Topics(c);
}

void TMonster_Class_Data_File_Loader::Read_Behaviour(TMonster_Class& c) {
    c.Intelligence = Read_Name_Code("Intelligence Category", Intelligence_Category_Names, 1, 4);
    Read_Bool_Field("Does Attack Character", c.Does_Attack);
    c.When_To_Retreat = Read_Name_Code("When To Retreat", When_To_Retreat_Names, 1, 4);
    c.Response_Range = Read_Name_Code("Response Range", Response_Range_Names, 1, 5);
    // Every strategy counts in both profiles, the anchored ones included.
    c.Movement_Strategy = Read_Name_Code("Movement Strategy", Movement_Strategy_Names, 1, 13);
    Read_Text_Field("Movement Speed", c.Movement_Speed);
}

void TMonster_Class_Data_File_Loader::Read_Sounds(TMonster_Class& c) {
    const auto read_sound = [&](const std::string& key, std::string& field) {
        Read_Text_Field(key, field);
        if (field.empty() || No_Sound_Check) return;
        // Found whatever the letter case of the file on disk; a folder of that name is no sound.
        const TPath_Settings* paths = Path_Settings();
        if (!paths || !plat::Is_Regular_File(paths->Get_Sound_File(field))) Report_Invalid_Value(field, key);
    };
    read_sound("Sound File Death", c.Sound_Death);
    read_sound("Sound File Attack", c.Sound_Attack);
    read_sound("Sound File Growl", c.Sound_Growl);
}

void TMonster_Class_Data_File_Loader::Read_Items_Carried(TMonster_Class& c) {
    uint16_t count = 0;
    Read_Word_Field("Num Items Carried", count);
    for (int32_t i = 1; i <= count; ++i) {
        const std::string key = "Item " + std::to_string(i);
        TMonster_Items_Carried item;
        Read_Text_Field(key + " Class", item.Item_Class_Name);
        Read_Word_Field(key + " Chance", item.Chance);
        c.Items_Carried.push_back(item);
    }
}

void TMonster_Class_Data_File_Loader::Read_Spells(TMonster_Class& c) {
    c.Spells.Clear();
    uint16_t count = 0;
    Read_Word_Field("Number of Spells For Use", count);
    for (int32_t i = 1; i <= count; ++i) {
        const std::string key = "Spell " + std::to_string(i);
        std::string name;
        Get_Field_Value(key + " Name", name, true);
        const TSpell* spell = Find_Master_Spell_By_Name(name);
        const uint16_t spell_id = spell ? spell->Id : 0;
        if (spell_id == 0) {
            Report_Invalid_Value(name, key + " Name");
            continue;
        }
        std::string chance;
        Get_Field_Value(key + " Chance To Use", chance, true);
        c.Spells.Set_Spell(spell_id, 1, List_.Get_Spell_Cast_Chance(chance));
    }
}

void TMonster_Class_Data_File_Loader::Read_Talk_Topics(TMonster_Class& c) {
    uint16_t count = 0;
    Read_Word_Field("Number of Talk Topics", count);
    for (int32_t i = 1; i <= count; ++i) {
        const std::string key = "Talk Topic " + std::to_string(i);
        std::string topic, text;
        const bool has_topic = Get_Field_Value(key + " Name", topic, true);
        const bool has_text = Get_Field_Value(key + " Text", text, true);
        // The two lists are read in step by every creature made from the class: a topic whose other half
        // is missing is kept with an empty half, so no topic gets the answer of another.
        if (!has_topic && !has_text) continue;
        c.Talk_Topics.push_back(topic);
        c.Talk_Texts.push_back(text);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Formulas

const TMonster_Class_Constants& Current_Monster_Class_Constants() {
    static const TMonster_Class_Constants defaults;
    const TMonster_Class_List* list = Current_Monster_Class_List();
    return list ? list->Constants : defaults;
}

int64_t Calc_Monster_Health(int32_t level, const TMonster* creature, int64_t base, int32_t difficulty) {
    const TMonster_Class_Constants& k = Current_Monster_Class_Constants();
    const int64_t steps = static_cast<int64_t>(level) - 1;
    const int64_t start =
        Clamp_To_Int64(static_cast<__int128>(base) * k.Base_Health_Modifier + k.Health_Start);
    int64_t h = Scale_By_Percent(start, Percent_Factor(steps, k.Health_Per_Level_Percent));
    h = Clamp_To_Int64(static_cast<__int128>(h) + static_cast<__int128>(steps) * k.Health_Per_Level_Amount);
    if (creature)
        h = Scale_By_Percent(
            h, static_cast<int64_t>(creature->Permanent_Effects.Monster_Increase_Health_Total()) + 100);
    return Scale_By_Percent(h, Percent_Factor(difficulty, k.Health_Per_Difficulty_Percent));
}

int64_t Calc_Monster_Damage(int32_t level, int32_t difficulty, int32_t bonus, int64_t start, int64_t base) {
    const TMonster_Class_Constants& k = Current_Monster_Class_Constants();
    const int64_t steps = static_cast<int64_t>(level) - 1;
    int64_t d = Scale_By_Percent(Clamp_To_Int64(static_cast<__int128>(base) + start),
                                 Percent_Factor(steps, k.Damage_Per_Level_Percent));
    d = Clamp_To_Int64(static_cast<__int128>(d) + static_cast<__int128>(steps) * k.Damage_Per_Level_Amount);
    d = Scale_By_Percent(d, static_cast<int64_t>(bonus) + 100);
    return Scale_By_Percent(d, Percent_Factor(difficulty, k.Damage_Per_Difficulty_Percent));
}
