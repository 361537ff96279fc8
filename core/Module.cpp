#include "core/Module.h"

#include "core/WorldEvents.h"

namespace {

std::unique_ptr<TModule> Running_Module;

// The smallest records: a connection is six words, a byte and a boolean; a map its number, two strings,
// four words, three bytes, two strings and a count.
constexpr size_t Smallest_Connection = 15;
constexpr size_t Smallest_Map = 26;

// What the world tells about a death goes to the module running when it happens.
class TModule_Death_Hook : public World_Events::THandler {
public:
    void Monster_Killed(int32_t event_id) override {
        if (TModule* module = Module()) module->Events.Fire_Monster_Killed(event_id);
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Connections and maps

void TModule_Map_Connection::Save(TStream_Writer& w) const {
    for (uint16_t v :
         {Connection_Number, Destination_Map, Entrance_X, Entrance_Y, Destination_X, Destination_Y})
        Write_Word(w, v);
    Write_Byte(w, Connection_Type);
    Write_Boolean(w, Used);
}

void TModule_Map_Connection::Load(TStream_Reader& r) {
    for (uint16_t* v :
         {&Connection_Number, &Destination_Map, &Entrance_X, &Entrance_Y, &Destination_X, &Destination_Y})
        *v = Read_Word(r);
    Connection_Type = Read_Byte(r);
    Used = Read_Boolean(r);
}

TModule_Map_Connection* TModule_Map::Get_Connection(int32_t n) {
    if (n < 1 || n > static_cast<int32_t>(Connections.size())) return nullptr;
    return &Connections[static_cast<size_t>(n - 1)];
}

void TModule_Map::Save(TStream_Writer& w) const {
    Write_Word(w, Map_Number);
    Write_String(w, Display_Name);
    Write_String(w, Music_File);
    for (uint16_t v : {Item_Level_Min, Item_Level_Max, Monster_Level_Min, Monster_Level_Max})
        Write_Word(w, v);
    for (uint8_t v : {Magic_Item_Chance, Unique_Item_Chance, Monster_Modifier_Chance}) Write_Byte(w, v);
    Write_String(w, Item_Grouping_Type);
    Write_String(w, Monster_Grouping_Type);
    Write_Count(w, Connections.size(), "map connections");
    for (const TModule_Map_Connection& connection : Connections) connection.Save(w);
}

void TModule_Map::Load(TStream_Reader& r) {
    Map_Number = Read_Word(r);
    Display_Name = Read_String(r);
    Music_File = Read_String(r);
    for (uint16_t* v : {&Item_Level_Min, &Item_Level_Max, &Monster_Level_Min, &Monster_Level_Max})
        *v = Read_Word(r);
    for (uint8_t* v : {&Magic_Item_Chance, &Unique_Item_Chance, &Monster_Modifier_Chance}) *v = Read_Byte(r);
    Item_Grouping_Type = Read_String(r);
    Monster_Grouping_Type = Read_String(r);
    Clear_Connections();
    Connections.resize(Read_Count(r, "map connections", Smallest_Connection));
    for (TModule_Map_Connection& connection : Connections) connection.Load(r);
}

// ---------------------------------------------------------------------------------------------------------
// The module

TModule::TModule() {
    Quests.Set_Events(&Events);
    Events.Set_Quests(&Quests);
}

TModule_Map* TModule::Get_Map(int32_t n) {
    if (n < 1 || n > static_cast<int32_t>(Maps.size())) return nullptr;
    return &Maps[static_cast<size_t>(n - 1)];
}

const TModule_Map* TModule::Get_Map(int32_t n) const {
    return const_cast<TModule*>(this)->Get_Map(n);
}

void TModule::Save(TStream_Writer& w) const {
    Write_String(w, Module_Name);
    Write_String(w, Description);
    Write_String_List(w, Paragraphs);
    Write_String(w, Character_Data_Set);
    for (uint16_t v : {Start_Map, Start_X, Start_Y, Current_Map, Current_X, Current_Y}) Write_Word(w, v);
    Write_Count(w, Maps.size(), "module maps");
    for (const TModule_Map& map : Maps) map.Save(w);
    Write_String(w, File_Name);
    Quests.Save(w);
    Events.Save(w);
}

bool TModule::Load(TStream_Reader& r, const std::string& file_name) {
    Module_Name = Read_String(r);
    Description = Read_String(r);
    Read_String_List(r, Paragraphs);
    Character_Data_Set = Read_String(r);
    for (uint16_t* v : {&Start_Map, &Start_X, &Start_Y, &Current_Map, &Current_X, &Current_Y})
        *v = Read_Word(r);
    Free_Maps();
    Maps.resize(Read_Count(r, "module maps", Smallest_Map));
    for (TModule_Map& map : Maps) map.Load(r);
    Read_String(r); // the name it was saved under; the name it is read under takes its place
    File_Name = file_name;
    Quests.Load(r);
    Events.Load(r);
    return true;
}

void TModule::Set_Current_Map(uint16_t map_position, uint16_t x, uint16_t y) {
    Current_Map = map_position;
    Current_X = x;
    Current_Y = y;
}

std::string TModule::Get_Current_Map_Music() const {
    const TModule_Map* map = Get_Map(Current_Map);
    return map ? map->Music_File : std::string();
}

void TModule::Take_From(TModule& other) {
    if (this == &other) return;
    Module_Name = std::move(other.Module_Name);
    Description = std::move(other.Description);
    Paragraphs = std::move(other.Paragraphs);
    Character_Data_Set = std::move(other.Character_Data_Set);
    Start_Map = other.Start_Map;
    Start_X = other.Start_X;
    Start_Y = other.Start_Y;
    Current_Map = other.Current_Map;
    Current_X = other.Current_X;
    Current_Y = other.Current_Y;
    Source_Folder = std::move(other.Source_Folder);
    File_Name = std::move(other.File_Name);
    Quests.Quests = std::move(other.Quests.Quests);
    Events.Clear(); // a module read anew starts with no queued outcomes
    Events.Take_Events(other.Events);
    Maps = std::move(other.Maps);
}

// ---------------------------------------------------------------------------------------------------------
// The running module

TModule* Module() {
    return Running_Module.get();
}

void Install_Module(std::unique_ptr<TModule> module) {
    Running_Module = std::move(module);
}

std::unique_ptr<TModule> Remove_Module() {
    return std::move(Running_Module);
}

void Connect_Module_Events() {
    World_Events::Install(std::make_shared<TModule_Death_Hook>());
}
