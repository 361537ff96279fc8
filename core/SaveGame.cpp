#include "core/SaveGame.h"

#include "core/BusyCursorSeam.h"
#include "core/DisplayFlagSeam.h"
#include "core/GlobalFuncs.h"
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Messages.h"
#include "core/Module.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/ProgressSeam.h"
#include "core/SaveSlots.h"
#include "core/Struct.h"
#include "platform/FileOps.h"
#include "platform/PathLayer.h"

#include <algorithm>
#include <exception>

namespace {

// The default hero placed when a game starts without a character.
constexpr const char* Default_Hero_Name = "John Hero";
constexpr const char* Default_Hero_Description = "A hero of incredible presence.";
constexpr const char* Default_Hero_Picture = "HumanFighter5.bmp";
constexpr int16_t Default_Hero_Attribute = 20;
constexpr int32_t Default_Hero_Gold = 1000;
// Where Load_Map puts a default hero.
constexpr int32_t Default_Player_Square = 12;

// The smallest item record of a character file: its slot word and far more than two bytes of item.
constexpr size_t Smallest_Character_Item = 4;

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Folder_Of(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string("./") : path.substr(0, cut + 1);
}

// Reads the version that starts every file and keeps it for the record readers.
void Read_File_Version(TStream_Reader& r) {
    Set_Last_File_Version(Read_String(r));
}

// Creature records resolve their items through the current item list; while a map is read aside, that
// must be its own list.
class TCurrent_Item_List_Scope {
public:
    explicit TCurrent_Item_List_Scope(TItem_List* list) : Previous_(Current_Item_List()) {
        Set_Current_Item_List(list);
    }
    ~TCurrent_Item_List_Scope() { Set_Current_Item_List(Previous_); }
    TCurrent_Item_List_Scope(const TCurrent_Item_List_Scope&) = delete;
    TCurrent_Item_List_Scope& operator=(const TCurrent_Item_List_Scope&) = delete;

private:
    TItem_List* Previous_;
};

// The progress box for the life of the object.
class TProgress_Scope {
public:
    explicit TProgress_Scope(const std::string& caption) { Progress_Sink().Open_Progress(caption); }
    ~TProgress_Scope() { Progress_Sink().Close_Progress(); }
    TProgress_Scope(const TProgress_Scope&) = delete;
    TProgress_Scope& operator=(const TProgress_Scope&) = delete;
    void Set(int32_t percent) { Progress_Sink().Set_Progress(percent); }
};

TStream_Reader Open_Reader(const std::string& path) {
    TStream_Reader r = TStream_Reader::Open_File(path);
    return r;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// "game.id"

void Write_Game_Id_Body(TStream_Writer& w, const TGame_Id& id) {
    Write_String(w, id.Description);
    Write_String(w, Save_File_Version);
    Write_String(w, id.Map_File_Name);
    Write_String(w, id.Module_File_Name);
    Write_Word(w, id.Player_Id);
    Write_String(w, id.Module_Name);
    id.Options.Write(w);
}

void Read_Game_Id_Body(TStream_Reader& r, TGame_Id& id) {
    id.Description = Read_String(r);
    id.Version = Read_String(r);
    Set_Last_File_Version(id.Version);
    id.Map_File_Name = Read_String(r);
    id.Module_File_Name = Read_String(r);
    id.Player_Id = Read_Word(r);
    id.Module_Name = Read_String(r);
    id.Options.Read(r);
}

bool Game_Id_Names_Allowed(const TGame_Id& id, std::string* refused) {
    const std::string* bad = nullptr;
    if (!Is_Plain_File_Name(id.Map_File_Name))
        bad = &id.Map_File_Name;
    else if (!Is_Plain_File_Name(id.Module_File_Name))
        bad = &id.Module_File_Name;
    else if (!Is_Safe_Data_Name(id.Module_Name))
        bad = &id.Module_Name;
    if (bad && refused) *refused = *bad;
    return bad == nullptr;
}

// ---------------------------------------------------------------------------------------------------------
// Map and module files

void Write_Map_File_Body(TStream_Writer& w, const TMap& map) {
    Write_String(w, Save_File_Version);
    map.Save(w);
}

bool Read_Map_File_Body(TStream_Reader& r, TMap& map, const std::string& file_name) {
    Read_File_Version(r);
    TCurrent_Item_List_Scope items(&map.Item_List);
    return map.Load(r, file_name, false);
}

void Write_Module_File_Body(TStream_Writer& w, const TModule& module) {
    Write_String(w, Save_File_Version);
    module.Save(w);
}

void Read_Module_File_Body(TStream_Reader& r, TModule& module, const std::string& file_name) {
    Read_File_Version(r);
    module.Load(r, file_name);
}

// ---------------------------------------------------------------------------------------------------------
// Character files

TCharacter_File::TCharacter_File() : Creature(std::make_unique<TMonster>()) {}
TCharacter_File::~TCharacter_File() = default;

void Write_Character_File_Body(TStream_Writer& w, const TMonster& creature) {
    Write_String(w, Save_File_Version);
    creature.Save_To_Stream(w);
    uint16_t count = 0;
    for (int32_t slot = First_Equipment_Slot; slot <= Last_Backpack_Slot; ++slot)
        if (creature.Inventory.Item_In_Slot(slot)) ++count;
    Write_Word(w, count);
    for (int32_t slot = First_Equipment_Slot; slot <= Last_Backpack_Slot; ++slot) {
        const TItem* item = creature.Inventory.Item_In_Slot(slot);
        if (!item) continue;
        Write_Word(w, static_cast<uint16_t>(slot));
        item->Save_To_Stream(w);
    }
}

void Read_Character_File_Body(TStream_Reader& r, TCharacter_File& file) {
    Read_File_Version(r);
    file.Creature->Load_From_Stream(r, false);
    file.Items.clear();
    const size_t count = Read_Count(r, "character items", Smallest_Character_Item);
    for (size_t n = 0; n < count; ++n) {
        const uint16_t slot = Read_Word(r);
        auto item = std::make_unique<TItem>();
        item->Load_From_Stream(r);
        file.Items.emplace_back(slot, std::move(item));
    }
}

void Place_Character(TCharacter_File& file, TMonster& creature) {
    TMonster& character = *file.Creature;
    // The record's own recalculation would have run on the ids of the map it was saved on; the values are
    // kept as read until the items are in place.
    const double life = character.Life;
    const double mana = character.Mana;
    const uint16_t food = character.Food;
    character.Inventory.Clear();
    // The game writes the items in ascending slot order; a file that lists them otherwise is placed in that
    // order too, so the inventory and the item ids come out as they would from the game's own file (the
    // first of two items for one slot still wins).
    std::stable_sort(file.Items.begin(), file.Items.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    TItem_List* list = Current_Item_List();
    for (auto& [slot, item] : file.Items) {
        // A slot outside the inventory or already taken would lose the item in the list for good.
        if (!list || slot < First_Equipment_Slot || slot > Last_Backpack_Slot ||
            character.Inventory.Item_In_Slot(slot))
            continue;
        const uint16_t id = list->Add(item.get());
        if (id == 0) continue;
        if (!character.Inventory.Put_In_Slot(list->Item(id), slot)) list->Delete_At(id);
    }
    character.Life = life;
    character.Mana = mana;
    character.Food = food;
    character.Recalculate_Stats();
    creature.Assign(character);
}

// ---------------------------------------------------------------------------------------------------------
// Writing whole files

bool Write_Whole_File(const std::string& path, const std::function<void(TStream_Writer&)>& body,
                      std::string& error) {
    try {
        TStream_Writer w;
        body(w);
        const std::vector<uint8_t> bytes = w.Bytes();
        return plat::Write_File_Atomically(path, bytes.data(), bytes.size(), error);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

bool Save_File(const std::string& path, const std::function<void(TStream_Writer&)>& body,
               const std::string& caption, const std::string& failure_text) {
    TBusy_Cursor_Scope busy;
    std::string error;
    if (Write_Whole_File(path, body, error)) return true;
    Show_Message(caption, failure_text);
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Maps and characters

bool Load_Map(const std::string& path, bool place_player) {
    auto map = std::make_unique<TMap>();
    {
        TBusy_Cursor_Scope busy;
        try {
            TStream_Reader r = Open_Reader(path);
            Read_Map_File_Body(r, *map, plat::Base_Name(path));
        } catch (const std::exception&) {
            Show_Message("Error", "Unable to load map file " + Quoted(path) + ".");
            return false;
        }
    }
    Install_Current_Map(std::move(map));
    Current_Map()->Restock_Stores();
    if (place_player) return Place_Player(Default_Player_Square, Default_Player_Square, nullptr);
    return true;
}

bool Save_Map(const TMap& map, const std::string& path) {
    return Save_File(
        path, [&map](TStream_Writer& w) { Write_Map_File_Body(w, map); }, "Error",
        "Unable to save map file " + Quoted(path) + ".");
}

bool Load_Character(TMonster& creature, const std::string& path) {
    TBusy_Cursor_Scope busy;
    TCharacter_File file;
    try {
        TStream_Reader r = Open_Reader(path);
        Read_Character_File_Body(r, file);
    } catch (const std::exception&) {
        Show_Message("Ошибка", "Не удаётся загрузить файл " + Quoted(path) + ".");
        return false;
    }
    Place_Character(file, creature);
    return true;
}

bool Save_Character(const TMonster& creature, const std::string& path) {
    std::string error;
    plat::Make_Folders(Folder_Of(path), error);
    return Save_File(
        path, [&creature](TStream_Writer& w) { Write_Character_File_Body(w, creature); }, "Error",
        "Unable to save character file " + Quoted(path) + ".");
}

std::optional<std::string> Character_File_Path(const std::string& character_name) {
    if (!Is_Plain_File_Name(character_name) || !Path_Settings()) return std::nullopt;
    return Path_Settings()->Get_Character_File(character_name + ".dat");
}

// ---------------------------------------------------------------------------------------------------------
// Saved games

bool Save_Game(const std::string& description, const TMap& map, const TMonster* player,
               const std::string& module_path, const std::string& map_path) {
    TProgress_Scope progress("Сохранение... ");
    THide_Held_Item_Scope hide;
    TBusy_Cursor_Scope busy;
    // A current-game folder set aside by an interrupted load comes back first: a save into a new one would
    // hold none of the module's other maps.
    Recover_Save_Folders();

    const std::string folder = Folder_Of(map_path);
    std::string error;
    plat::Make_Folders(folder, error);

    TGame_Id id;
    id.Description = description;
    id.Map_File_Name = plat::Base_Name(map_path);
    id.Module_File_Name = plat::Base_Name(module_path);
    id.Player_Id = player ? player->Id : 0;
    id.Module_Name = Path_Settings() ? Path_Settings()->Get_Module_Name() : std::string();
    if (const TGame_Options* options = Game_Options()) id.Options = *options;

    const TModule no_module;
    const TModule& module = Module() ? *Module() : no_module;

    bool ok = Write_Whole_File(
        plat::Join(folder, "game.id"), [&id](TStream_Writer& w) { Write_Game_Id_Body(w, id); }, error);
    if (ok) {
        progress.Set(10);
        ok = Write_Whole_File(
            map_path, [&map](TStream_Writer& w) { Write_Map_File_Body(w, map); }, error);
    }
    if (ok) {
        progress.Set(50);
        ok = Write_Whole_File(
            module_path, [&module](TStream_Writer& w) { Write_Module_File_Body(w, module); }, error);
    }
    if (ok) progress.Set(90);
    if (!ok) Show_Message("Error", "Unable to save game file " + Quoted(map_path) + ".");
    return ok;
}

bool Load_Game(const std::string& folder) {
    TProgress_Scope progress("  Загрузка...  ");
    THide_Held_Item_Scope hide;
    TBusy_Cursor_Scope busy;

    const std::string id_path = plat::Join(folder, "game.id");
    if (!plat::Is_Regular_File(id_path) || !Path_Settings()) {
        Show_Message("Ошибка", "Не удаётся загрузить файл " + Quoted(id_path) + ".");
        return false;
    }
    TGame_Id id;
    const std::string previous_module = Path_Settings()->Get_Module_Name();
    bool module_set = false;
    try {
        {
            TStream_Reader r = Open_Reader(id_path);
            Read_Game_Id_Body(r, id);
        }
        std::string refused;
        if (!Game_Id_Names_Allowed(id, &refused))
            throw EStream_Read_Error("refused name \"" + refused + "\" in \"" + id_path + "\"");
        if (!Path_Settings()->Set_Module(id.Module_Name))
            throw EStream_Read_Error("refused module name \"" + id.Module_Name + "\"");
        module_set = true;
        Reload_Global_Data();
        progress.Set(10);

        auto module = std::make_unique<TModule>();
        {
            TStream_Reader r = Open_Reader(plat::Join(folder, id.Module_File_Name));
            Read_Module_File_Body(r, *module, id.Module_File_Name);
        }
        progress.Set(30);

        auto map = std::make_unique<TMap>();
        {
            TStream_Reader r = Open_Reader(plat::Join(folder, id.Map_File_Name));
            Read_Map_File_Body(r, *map, id.Map_File_Name);
        }
        // A game whose player is not on its map cannot be played on.
        TMonster* player = map->Monster_List.Get_Monster(id.Player_Id);
        if (!player) throw EStream_Read_Error("no creature " + std::to_string(id.Player_Id) + " on the map");

        Install_Current_Map(std::move(map));
        Set_Player(player);
        Install_Module(std::move(module));
        TGame_Options& options = Game_Options() ? *Game_Options() : Create_Game_Options();
        const std::string data_set = options.Character_Data_Set; // not saved: the running module's
        options = id.Options;
        options.Character_Data_Set = data_set;
        Current_Map()->Restock_Stores();
        progress.Set(50);
    } catch (const std::exception&) {
        if (module_set) {
            Path_Settings()->Set_Module(previous_module);
            Reload_Global_Data();
        }
        Show_Message("Ошибка", "Не удаётся загрузить файл " + Quoted(id.Map_File_Name) + ".");
        return false;
    }
    Display_Flag_Sink().Load_Map_Bitmaps(*Current_Map());
    return true;
}

bool Load_Module(const std::string& folder, const std::string& file_name, TModule& module,
                 bool load_start_map, const TMonster* player) {
    const std::string path = plat::Join(folder, file_name);
    const std::string failure = "Unable to load module file " + Quoted(path) + ".";
    {
        TBusy_Cursor_Scope busy;
        TModule read;
        try {
            TStream_Reader r = Open_Reader(path);
            Read_Module_File_Body(r, read, plat::Base_Name(file_name));
        } catch (const std::exception&) {
            Show_Message("Error", failure);
            return false;
        }
        module.Take_From(read);
    }
    bool ok = true;
    if (load_start_map) {
        ok = Load_Map(plat::Join(folder, std::to_string(module.Start_Map) + ".map"), false);
        if (ok && !Place_Player(module.Start_X, module.Start_Y, player)) {
            Show_Message("Error", failure);
            ok = false;
        }
    }
    module.Set_Source_Folder(folder);
    return ok;
}

bool Place_Player(int32_t x, int32_t y, const TMonster* creature) {
    TMap* map = Current_Map();
    // A start square off the map would leave a player the map does not show and no square holds.
    if (!map || !map->Get_Square(x, y)) return false;
    TMonster* player = nullptr;
    if (creature) {
        player = map->Monster_List.Add_Monster(*creature);
    } else {
        TMonster hero;
        hero.Set_Name(Default_Hero_Name);
        hero.Description = Default_Hero_Description;
        hero.Set_Pictures(Default_Hero_Picture, Default_Hero_Picture);
        hero.Level = 1;
        hero.Base_Strength = hero.Base_Dexterity = hero.Base_Intelligence = hero.Base_Constitution =
            Default_Hero_Attribute;
        hero.Gold = Default_Hero_Gold;
        player = map->Monster_List.Add_Monster(hero);
        if (player) {
            player->Life = player->Max_Life;
            player->Mana = player->Max_Mana;
        }
    }
    if (!player) return false;
    Set_Player(player);
    player->Recalculate_Stats();
    player->Set_Position(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
    map->Place_Monster(*player);
    return true;
}
