#include "tools/seedcatalog/SeedCatalog.h"

#include "core/DisplayEffects.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/Path.h"
#include "core/Spells.h"
#include "generation/RndClassItem.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassMonster.h"
#include "generation/RndDigTileMap.h"
#include "generation/RndModuleMap.h"

#include <cinttypes>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace {

constexpr int Format_Version = 1;

// Counts by name, written in byte order of the names.
using TTally = std::map<std::string, int64_t>;

std::string Tally_Text(const TTally& tally) {
    std::string text;
    for (const auto& [name, count] : tally)
        if (count > 0)
            text += " " + (name.empty() ? std::string("(none)") : name) + "=" + std::to_string(count);
    return text;
}

std::string Run_Header(const TCatalog_Run& run, int32_t map, const std::string& tiles_file) {
    return "== seed " + std::to_string(run.Seed) + " d" + std::to_string(run.Difficulty) + " s" +
           std::to_string(run.Start_Level) + " map " + std::to_string(map) + " " + tiles_file;
}

// The item names a class name may give: those of every class of the name in the current list.
std::set<std::string> Plain_Names_Of(const std::string& class_name) {
    std::set<std::string> names;
    if (const TItem_Class_List* classes = Current_Item_Class_List())
        for (int32_t n = 1; n <= classes->Get_Count(); ++n)
            if (classes->Get_Class(n)->Class_Name == class_name) names.insert(classes->Get_Class(n)->Name);
    return names;
}

std::string Cells_Line() {
    const TDig_Context& dig = Dig_Context();
    int32_t starting = 0;
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y)
            starting += dig.Occupied(x, y) && dig.Cell(x, y).Starting;
    return "cells: " + std::to_string(dig.Cells_Across) + "x" + std::to_string(dig.Cells_Down) + " origin " +
           std::to_string(dig.X0) + "," + std::to_string(dig.Y0) + " occupied " +
           std::to_string(dig.Occupied_Count()) + " starting " + std::to_string(starting);
}

// The ids the creatures carry, the chests hold and the squares hold, each with how often it is named.
struct TItem_Places {
    std::map<uint16_t, int32_t> Ground, Carried, Chest;
};

TItem_Places Item_Places(const TMap& map) {
    TItem_Places places;
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            const TMap_Square& square = *map.Get_Square(x, y);
            if (square.Is_Pile()) {
                if (const TItem_Collection* pile = map.Get_Item_Pile(square.Item_Field))
                    for (int32_t n = 1; n <= pile->Count(); ++n) ++places.Ground[pile->Id(n)];
            } else if (square.Item_Field != 0) {
                ++places.Ground[square.Item_Field];
            }
        }
    for (int n = 1; n <= map.Monster_List.Get_Count(); ++n)
        if (const TMonster* creature = map.Monster_List.Get_Monster(static_cast<size_t>(n)))
            for (int32_t k = 1; k <= creature->Inventory.Count(); ++k)
                ++places.Carried[creature->Inventory.Contents().Id(k)];
    for (int32_t n = 1; n <= map.Chest_Count(); ++n)
        if (const TWordList* chest = map.Get_Chest(map.Chest_Xs().Get(n), map.Chest_Ys().Get(n)))
            for (int32_t k = 1; k <= chest->Count(); ++k) ++places.Chest[chest->Get(k)];
    return places;
}

int64_t Total(const std::map<uint16_t, int32_t>& ids) {
    int64_t total = 0;
    for (const auto& [id, count] : ids) total += count;
    return total;
}

uint64_t Map_Hash(const TMap& map) {
    TFnv1a_64 hash;
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            const TMap_Square& square = *map.Get_Square(x, y);
            hash.Add_Word(square.Terrain_Id);
            hash.Add_Byte(square.Border_Type);
            hash.Add_Word(square.Flags);
            hash.Add_Word(square.Monster_Id);
            hash.Add_Word(square.Item_Field);
        }
    for (int n = 1; n <= map.Monster_List.Get_Count(); ++n)
        if (const TMonster* c = map.Monster_List.Get_Monster(static_cast<size_t>(n))) {
            hash.Add_Text(c->Name);
            hash.Add_Word(c->Level);
            hash.Add_Integer(Trunc_To_Int32(c->Life));
            hash.Add_Byte(c->X);
            hash.Add_Byte(c->Y);
        }
    for (int n = 1; n <= map.Item_List.Count(); ++n)
        if (const TItem* item = map.Item_List.Item(static_cast<uint16_t>(n))) {
            hash.Add_Text(item->Class_Name);
            hash.Add_Text(item->Name);
            hash.Add_Word(item->Item_Level);
            hash.Add_Word(item->Quantity);
        }
    return hash.Value();
}

// Sets the program folder, the path settings, the tables the monster classes name, the module class, the
// map and the game options for the catalog, and frees them all again.
class TCatalog_Session {
public:
    bool Open(const TCatalog_Options& options, std::vector<std::string>& errors) {
        Set_Base_Folder(options.Base);
        Install_Path_Settings(std::make_unique<TPath_Settings>());
        if (options.Module.empty() || !Path_Settings()->Set_Module(options.Module + "/")) {
            errors.push_back("Not a module folder name: \"" + options.Module + "\".");
            return false;
        }
        if (!Load_Display_Effects()) errors.push_back("Unable to load the display effects.");
        if (!Load_Master_Spells()) errors.push_back("Unable to load the master spells.");
        TString_List module_errors;
        if (!Load_Module_Class(Path_Settings()->Get_ModuleData_File(), &module_errors)) {
            errors.push_back("Unable to load the module data " + Path_Settings()->Get_ModuleData_File() +
                             ":");
            for (const std::string& line : module_errors) errors.push_back("  " + line);
        }
        Install_Current_Map(std::make_unique<TMap>());
        Create_Game_Options();
        return errors.empty();
    }
    ~TCatalog_Session() {
        Set_Dig_Seed_Source(nullptr);
        Free_Game_Options();
        Install_Current_Map(nullptr);
        Free_Module_Class();
        Free_Master_Spells();
        Free_Display_Effects();
        Install_Path_Settings(nullptr);
    }
};

} // namespace

// -------------------------------------------------------------------------------------------------------
// Runs and hash

std::vector<TCatalog_Run> Built_In_Catalog_Runs() {
    std::vector<TCatalog_Run> runs = Seed_Range_Runs(1, 10);
    for (int32_t seed = 1; seed <= 2; ++seed) runs.push_back({seed, 4, 5});
    return runs;
}

std::vector<TCatalog_Run> Seed_Range_Runs(int32_t first, int32_t last) {
    std::vector<TCatalog_Run> runs;
    for (int32_t seed = first; seed <= last; ++seed) runs.push_back({seed, 2, 1});
    return runs;
}

std::string Describe_Runs(const std::vector<TCatalog_Run>& runs) {
    std::string text;
    for (size_t i = 0; i < runs.size();) {
        size_t j = i;
        while (j + 1 < runs.size() && runs[j + 1].Seed == runs[j].Seed + 1 &&
               runs[j + 1].Difficulty == runs[i].Difficulty && runs[j + 1].Start_Level == runs[i].Start_Level)
            ++j;
        if (!text.empty()) text += ", ";
        text += std::to_string(runs[i].Seed);
        if (j > i) text += ".." + std::to_string(runs[j].Seed);
        text += " d" + std::to_string(runs[i].Difficulty) + " s" + std::to_string(runs[i].Start_Level);
        i = j + 1;
    }
    return text;
}

void TFnv1a_64::Add_Bytes(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) {
        Hash_ ^= bytes[i];
        Hash_ *= 0x100000001b3ULL;
    }
}

void TFnv1a_64::Add_Word(uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    Add_Bytes(bytes, 2);
}

void TFnv1a_64::Add_Integer(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                              static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)};
    Add_Bytes(bytes, 4);
}

void TFnv1a_64::Add_Text(const std::string& text) {
    Add_Bytes(text.data(), text.size());
    Add_Byte(0);
}

// -------------------------------------------------------------------------------------------------------
// One map

std::string Catalog_Block(const std::string& header, const std::vector<std::string>& errors,
                          const std::vector<uint16_t>& entrance_ids, const std::vector<uint16_t>& entrance_xs,
                          const std::vector<uint16_t>& entrance_ys) {
    const TMap& map = *Current_Map();
    std::string block = header + "\n";
    block += "errors: " + std::to_string(errors.size()) + "\n";
    for (const std::string& line : errors) block += "  " + line + "\n";
    block += Cells_Line() + "\n";

    TTally terrain;
    std::map<int32_t, int64_t> borders;
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            const TMap_Square& square = *map.Get_Square(x, y);
            const TTerrain* kind = map.Terrain_Of(square);
            ++terrain[kind ? kind->Name : std::string()];
            if (square.Border_Type != 0) ++borders[square.Border_Type];
        }
    block += "terrain:" + Tally_Text(terrain) + "\n";
    block += "borders:";
    for (const auto& [type, count] : borders)
        block += " " + std::to_string(type) + "=" + std::to_string(count);
    block += "\nentrances:";
    for (size_t e = 0; e < entrance_ids.size() && e < entrance_xs.size() && e < entrance_ys.size(); ++e)
        block += " " + std::to_string(entrance_ids[e]) + "@" + std::to_string(entrance_xs[e]) + "," +
                 std::to_string(entrance_ys[e]);

    TTally creatures, modifiers;
    std::set<int32_t> leaders;
    int64_t creature_count = 0;
    for (int n = 1; n <= map.Monster_List.Get_Count(); ++n)
        if (const TMonster* c = map.Monster_List.Get_Monster(static_cast<size_t>(n))) {
            ++creature_count;
            ++creatures[c->Name];
            for (const std::string& line : c->Status_Lines) ++modifiers[line];
            if (c->Leader_Id > 0) leaders.insert(c->Leader_Id);
        }
    block += "\ncreatures: " + std::to_string(creature_count) + Tally_Text(creatures) + " | leaders " +
             std::to_string(leaders.size()) + " | modifiers" + Tally_Text(modifiers) + "\n";

    const TItem_Places places = Item_Places(map);
    TTally items;
    int64_t upgraded = 0;
    for (int n = 1; n <= map.Item_List.Count(); ++n)
        if (const TItem* item = map.Item_List.Item(static_cast<uint16_t>(n))) {
            ++items[item->Class_Name];
            upgraded += Plain_Names_Of(item->Class_Name).count(item->Name) == 0 ? 1 : 0;
        }
    block += "items: ground " + std::to_string(Total(places.Ground)) + " carried " +
             std::to_string(Total(places.Carried)) + " chest " + std::to_string(Total(places.Chest)) + " |" +
             Tally_Text(items) + " | upgraded " + std::to_string(upgraded) + "\n";

    int64_t empty_chests = 0;
    for (int32_t n = 1; n <= map.Chest_Count(); ++n) {
        const TWordList* chest = map.Get_Chest(map.Chest_Xs().Get(n), map.Chest_Ys().Get(n));
        empty_chests += chest && chest->Count() == 0 ? 1 : 0;
    }
    TTally locks, traps;
    for (const std::string& key : map.Lock_Key_Names()) ++locks[key];
    for (const std::string& trap : map.Trap_Names()) ++traps[trap];
    block += "chests: " + std::to_string(map.Chest_Count()) + " empty " + std::to_string(empty_chests) +
             " | stores: " + std::to_string(map.Store_Count()) + " | locks:" + Tally_Text(locks) +
             " | traps:" + Tally_Text(traps) + "\n";

    char hash[32];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, Map_Hash(map));
    block += std::string("hash: ") + hash + "\n";
    return block;
}

std::vector<std::string> Check_Generated_Map(const std::vector<uint16_t>& entrance_xs,
                                             const std::vector<uint16_t>& entrance_ys) {
    std::vector<std::string> problems;
    const TMap& map = *Current_Map();
    const auto at = [](int32_t x, int32_t y) { return " at " + std::to_string(x) + "," + std::to_string(y); };
    for (int n = 1; n <= map.Monster_List.Get_Count(); ++n)
        if (const TMonster* c = map.Monster_List.Get_Monster(static_cast<size_t>(n))) {
            const TMap_Square* square = map.Get_Square(c->X, c->Y);
            if (!square || square->Monster_Id != c->Id)
                problems.push_back("creature " + std::to_string(c->Id) + " " + c->Name +
                                   " is not on its square" + at(c->X, c->Y));
        }
    for (int32_t x = 1; x <= Map_Width; ++x)
        for (int32_t y = 1; y <= Map_Height; ++y) {
            const TMap_Square& square = *map.Get_Square(x, y);
            if (square.Monster_Id != 0 && !map.Monster_List.Get_Monster(square.Monster_Id))
                problems.push_back("creature id " + std::to_string(square.Monster_Id) + " names nobody" +
                                   at(x, y));
            if (square.Is_Pile()) {
                const TItem_Collection* pile = map.Get_Item_Pile(square.Item_Field);
                if (!pile)
                    problems.push_back("pile " + std::to_string(square.Item_Field) + " does not exist" +
                                       at(x, y));
                for (int32_t k = 1; pile && k <= pile->Count(); ++k)
                    if (!map.Item_List.Item(pile->Id(k)))
                        problems.push_back("pile item " + std::to_string(pile->Id(k)) + " does not exist" +
                                           at(x, y));
            } else if (square.Item_Field != 0 && !map.Item_List.Item(square.Item_Field)) {
                problems.push_back("item " + std::to_string(square.Item_Field) + " does not exist" +
                                   at(x, y));
            }
        }
    for (size_t e = 0; e < entrance_xs.size() && e < entrance_ys.size(); ++e)
        if (!map.Get_Square(entrance_xs[e], entrance_ys[e]))
            problems.push_back("entrance " + std::to_string(e + 1) + " lies off the map" +
                               at(entrance_xs[e], entrance_ys[e]));
    for (int32_t n = 1; n <= map.Chest_Count(); ++n) {
        const TWordList* chest = map.Get_Chest(map.Chest_Xs().Get(n), map.Chest_Ys().Get(n));
        for (int32_t k = 1; chest && k <= chest->Count(); ++k)
            if (chest->Get(k) == 0 || !map.Item_List.Item(chest->Get(k)))
                problems.push_back("chest item " + std::to_string(chest->Get(k)) + " does not exist" +
                                   at(map.Chest_Xs().Get(n), map.Chest_Ys().Get(n)));
    }
    const TItem_Places places = Item_Places(map);
    for (int n = 1; n <= map.Item_List.Count(); ++n) {
        const auto id = static_cast<uint16_t>(n);
        if (!map.Item_List.Item(id)) continue;
        const auto count = [id](const std::map<uint16_t, int32_t>& ids) {
            const auto found = ids.find(id);
            return found == ids.end() ? 0 : found->second;
        };
        const int32_t places_named = count(places.Ground) + count(places.Carried) + count(places.Chest);
        if (places_named != 1)
            problems.push_back("item " + std::to_string(n) + " is in " + std::to_string(places_named) +
                               " places");
    }
    return problems;
}

std::vector<std::string> Check_Layout(const TDig_Context& dig, bool& open_side) {
    std::vector<std::string> problems;
    open_side = false;
    for (int32_t x = 1; x <= dig.Cells_Across; ++x)
        for (int32_t y = 1; y <= dig.Cells_Down; ++y)
            for (int32_t side = 1; side <= 4 && dig.Occupied(x, y); ++side) {
                const TNeighbour_Cell n = Get_Neighbour_Cell(x, y, side);
                const uint8_t type = Side_Flag(dig.Cell(x, y).Sides, side);
                if (dig.Occupied(n.X, n.Y) && type != Side_Flag(dig.Cell(n.X, n.Y).Sides, n.Facing))
                    problems.push_back("cell " + std::to_string(x) + "," + std::to_string(y) + " side " +
                                       Side_Name(side) + " does not match its neighbour");
                else if (!dig.Occupied(n.X, n.Y) && dig.In_Grid(n.X, n.Y) && type != 0)
                    open_side = true;
            }
    if (open_side && dig.Last_Sweep_Missed_Picks == 0)
        problems.push_back("a side is left open though the last sweep missed no pick");
    return problems;
}

// -------------------------------------------------------------------------------------------------------
// The catalog

std::string Generate_Seed_Catalog(const TCatalog_Options& options, std::vector<TCatalog_Map_Report>& reports,
                                  std::vector<std::string>& setup_errors) {
    TCatalog_Session session;
    if (!session.Open(options, setup_errors)) return std::string();
    const TModule_Class& module = *Module_Class();
    std::string text = "seed catalog format " + std::to_string(Format_Version) + " | module " +
                       options.Module + " | runs " + Describe_Runs(options.Runs) + "\n";
    for (const TCatalog_Run& run : options.Runs) {
        TGame_Options& game = *Game_Options();
        game.Difficulty = static_cast<uint8_t>(run.Difficulty);
        game.Start_Level = static_cast<uint16_t>(run.Start_Level);
        // Fresh class lists for every run, as a new game makes them.
        TMonster_Class_List monsters;
        TCurrent_Monster_Class_List_Guard monsters_current(monsters);
        TItem_Class_List items;
        TCurrent_Item_Class_List_Guard items_current(items);
        const auto seed = static_cast<uint64_t>(run.Seed);
        Set_Dig_Seed_Source([seed](int32_t map) { return seed * 1000 + static_cast<uint64_t>(map); });
        for (int32_t m = 1; m <= module.Number_Of_Maps; ++m) {
            const TModule_Map_Class* map_class = module.Get_Map(m);
            if (!map_class) continue;
            TCatalog_Map_Report report;
            report.Header = Run_Header(run, m, map_class->Tiles_File);
            TString_List errors;
            TWordList ids, xs, ys;
            report.Dug = Generate_Module_Map(Generation_Files_Of(*map_class), m, errors, ids, xs, ys, true);
            report.Error_Lines = static_cast<int32_t>(errors.size());
            std::vector<uint16_t> id_list, x_list, y_list;
            for (int32_t e = 1; e <= ids.Count(); ++e) {
                id_list.push_back(ids.Get(e));
                x_list.push_back(xs.Get(e));
                y_list.push_back(ys.Get(e));
            }
            if (!report.Dug) {
                // The map and the dig still hold the previous map: only the errors belong to this one.
                text += report.Header + "\nerrors: " + std::to_string(errors.size()) + "\n";
                for (const std::string& line : errors) text += "  " + line + "\n";
                text += "not dug\n";
            } else {
                text += Catalog_Block(report.Header, errors, id_list, x_list, y_list);
                report.Problems = Check_Generated_Map(x_list, y_list);
                const std::vector<std::string> layout = Check_Layout(Dig_Context(), report.Open_Side);
                report.Problems.insert(report.Problems.end(), layout.begin(), layout.end());
            }
            reports.push_back(std::move(report));
        }
    }
    return text;
}
