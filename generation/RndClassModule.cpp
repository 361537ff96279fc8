#include "generation/RndClassModule.h"

#include "core/DataFileParser.h"
#include "core/NameTables.h"

namespace {

const char* const Error_Heading = "Ошибки модуля в файлах данных: ";

std::unique_ptr<TModule_Class>& Current() {
    static std::unique_ptr<TModule_Class> module_class;
    return module_class;
}

} // namespace

const TModule_Map_Connections_Class* TModule_Map_Class::Get_Connection(int32_t c) const {
    if (c < 1 || c > static_cast<int32_t>(Connections.size())) return nullptr;
    return Connections[static_cast<size_t>(c) - 1].get();
}

const TModule_Map_Class* TModule_Class::Get_Map(int32_t m) const {
    if (m < 1 || m > static_cast<int32_t>(Maps.size())) return nullptr;
    return Maps[static_cast<size_t>(m) - 1].get();
}

TModule_Map_Files TModule_Class::Find_Map_By_Tiles_File(const std::string& tiles_file) const {
    TModule_Map_Files found;
    for (const auto& map : Maps) {
        if (!Ascii_Equal_No_Case(map->Tiles_File, tiles_file)) continue;
        found = {map->Map_Number,           map->Terrain_File,        map->Item_Classes_File,
                 map->Monster_Classes_File, map->Monster_Groups_File, map->Random_Items_Carried_File};
    }
    return found;
}

TModule_Class* Module_Class() {
    return Current().get();
}

void Free_Module_Class() {
    Current().reset();
}

bool Load_Module_Class(const std::string& file_name, TString_List* error_list) {
    Current() = std::make_unique<TModule_Class>();
    TModule_Class_Data_File_Loader loader(file_name, *Current());
    return loader.Execute_Load_And_Report(Error_Heading, error_list);
}

// ---------------------------------------------------------------------------------------------------------
// Loader

namespace {

// Every key of the file is required but the difficulty description: a missing one is reported and leaves
// the field as it was (its default).
template <typename TField, typename TConvert>
void Read_Key(TData_File_Loader& loader, const std::string& key, TField& field, TConvert convert) {
    std::string value;
    if (loader.Get_Field_Value(key, value, true)) field = static_cast<TField>(convert(value));
}

void Read_Text(TData_File_Loader& loader, const std::string& key, std::string& field) {
    Read_Key(loader, key, field, Str_To_Str);
}
template <typename TField>
void Read_Number(TData_File_Loader& loader, const std::string& key, TField& field) {
    Read_Key(loader, key, field, Str_To_Word);
}
void Read_Flag(TData_File_Loader& loader, const std::string& key, bool& field) {
    Read_Key(loader, key, field, Str_To_Bool);
}
void Read_Real(TData_File_Loader& loader, const std::string& key, double& field) {
    Read_Key(loader, key, field, Str_To_Real);
}

} // namespace

void TModule_Class_Data_File_Loader::Process_Record(int32_t record_number) {
    // The file describes one module; a stray later record must not overwrite what the first one said.
    if (record_number != 1) return;
    TModule_Class& m = Module_;
    Read_Text(*this, "Name", m.Name);
    Set_Record_Name(m.Name);
    Read_Text(*this, "Description", m.Description);
    Get_Field_Value("Module Difficulty Description", m.Difficulty_Description, false);

    Read_Number(*this, "Number of Intro Paragraphs", m.Number_Of_Intro_Paragraphs);
    for (int32_t n = 1; n <= m.Number_Of_Intro_Paragraphs; ++n) {
        std::string paragraph;
        if (Get_Field_Value("Intro Paragraph " + std::to_string(n), paragraph, true))
            m.Intro_Paragraphs.push_back(paragraph);
    }

    Read_Text(*this, "Character Data Set Identifier", m.Character_Data_Set);
    Read_Number(*this, "Starting Map Number", m.Starting_Map_Number);
    Read_Number(*this, "Starting Map Entrance ID", m.Starting_Map_Entrance_Id);
    Read_Number(*this, "Number Of Maps", m.Number_Of_Maps);
    for (int32_t n = 1; n <= m.Number_Of_Maps; ++n) {
        // The map holds its place before its keys are read, so an error in one map leaves the others
        // at their own positions.
        m.Maps.push_back(std::make_unique<TModule_Map_Class>());
        m.Maps.back()->Map_Number = n;
        Read_Map(*m.Maps.back());
    }
}

void TModule_Class_Data_File_Loader::Read_Map(TModule_Map_Class& map) {
    const std::string p = "Map " + std::to_string(map.Map_Number);
    Read_Text(*this, p + " Name", map.Name);
    Read_Text(*this, p + " Display Name", map.Display_Name);
    Read_Text(*this, p + " Tiles Filename", map.Tiles_File);
    Read_Text(*this, p + " Terrain Filename", map.Terrain_File);
    Read_Text(*this, p + " Item Classes Filename", map.Item_Classes_File);
    Read_Text(*this, p + " Monster Classes Filename", map.Monster_Classes_File);
    Read_Text(*this, p + " Monster Groups Filename", map.Monster_Groups_File);
    Read_Text(*this, p + " Monster Random Items Carried Filename", map.Random_Items_Carried_File);
    Read_Text(*this, p + " Stores Filename", map.Stores_File);
    Read_Text(*this, p + " Music Filename", map.Music_File);
    Read_Flag(*this, p + " Universal Light", map.Universal_Light);
    Read_Number(*this, p + " Chance Group", map.Chance_Group);
    Read_Text(*this, p + " Trap Group Name", map.Trap_Group_Name);
    Read_Flag(*this, p + " Place Random Items", map.Place_Random_Items);
    Read_Text(*this, p + " Item Grouping Type", map.Item_Group_Filter);
    Read_Number(*this, p + " Minimum Number of Items", map.Items_Min);
    Read_Number(*this, p + " Maximum Number of Items", map.Items_Max);
    Read_Number(*this, p + " Item Level Min", map.Item_Level_Min);
    Read_Number(*this, p + " Item Level Max", map.Item_Level_Max);
    Read_Number(*this, p + " Chance for Magic Item Percent", map.Magic_Item_Chance);
    Read_Number(*this, p + " Chance for Unique Item Percent", map.Unique_Item_Chance);
    Read_Real(*this, p + " Increase Magic Item Pct Per Char Start Lvl", map.Magic_Chance_Per_Start_Level);
    Read_Real(*this, p + " Increase Unique Item Pct Per Char Start Lvl", map.Unique_Chance_Per_Start_Level);
    Read_Number(*this, p + " Chance for Items in Chest", map.Chest_Item_Chance);
    Read_Number(*this, p + " Minimum Number of Items Per Chest", map.Chest_Items_Min);
    Read_Number(*this, p + " Maximum Number of Items Per Chest", map.Chest_Items_Max);
    Read_Flag(*this, p + " Place Random Monsters", map.Place_Random_Monsters);
    Read_Text(*this, p + " Monster Grouping Type", map.Monster_Group_Filter);
    Read_Number(*this, p + " Minimum Number of Monsters", map.Monsters_Min);
    Read_Number(*this, p + " Maximum Number of Monsters", map.Monsters_Max);
    Read_Number(*this, p + " Minimum Number of Monster Groups", map.Monster_Groups_Min);
    Read_Number(*this, p + " Maximum Number of Monster Groups", map.Monster_Groups_Max);
    Read_Number(*this, p + " Increase In Monsters Per Difficulty", map.Monsters_Per_Difficulty);
    Read_Number(*this, p + " Increase In Monster Groups Per Difficulty", map.Monster_Groups_Per_Difficulty);
    Read_Number(*this, p + " Monster Level Min", map.Monster_Level_Min);
    Read_Number(*this, p + " Monster Level Max", map.Monster_Level_Max);
    Read_Number(*this, p + " Chance for Monster Modifier Percent", map.Monster_Modifier_Chance);
    Read_Number(*this, p + " Diff Level Incr Monst Mod Percent", map.Modifier_Chance_Per_Difficulty);
    Read_Number(*this, p + " Number of Connections", map.Number_Of_Connections);
    for (int32_t c = 1; c <= map.Number_Of_Connections; ++c) {
        map.Connections.push_back(std::make_unique<TModule_Map_Connections_Class>());
        map.Connections.back()->Source_Map_Number = map.Map_Number;
        Read_Connection(*map.Connections.back(), p + " Conn " + std::to_string(c));
    }
}

void TModule_Class_Data_File_Loader::Read_Connection(TModule_Map_Connections_Class& connection,
                                                     const std::string& prefix) {
    Read_Number(*this, prefix + " Entrance ID", connection.Entrance_Id);
    Read_Number(*this, prefix + " Destination Map Number", connection.Destination_Map_Number);
    Read_Number(*this, prefix + " Dest Entrance ID", connection.Destination_Entrance_Id);
    // The type names are matched exactly: "two way - always" is reported and leaves the type 0.
    const std::string key = prefix + " Connection Type";
    std::string value;
    if (!Get_Field_Value(key, value, true)) return;
    const int code = Find_Code(Connection_Type_Names, value);
    if (code >= 1)
        connection.Connection_Type = static_cast<uint8_t>(code);
    else
        Report_Invalid_Value(value, key);
}
