// Scaffolding of the map digger's tests: literal tiles files, an in-memory tile table, terrain kinds on a
// current map, and scripted rolls for the single random choices.
#pragma once

#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/MapMain.h"
#include "core/Path.h"
#include "core/Terrain.h"
#include "generation/RndClassModule.h"
#include "generation/RndClassTile.h"
#include "generation/RndDigTileMap.h"
#include "tests/support/CoreTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

// While alive, every Random_Range(low, high) with high > low takes the next number of the script and is
// recorded; a call past the end of the script fails the test and gives low.
class TScripted_Rolls {
public:
    explicit TScripted_Rolls(std::vector<int32_t> rolls) : Rolls_(std::move(rolls)) {
        Install_Random_Range_Source([this](int32_t low, int32_t high) {
            Asked.emplace_back(low, high);
            if (Next_ >= Rolls_.size()) {
                ADD_FAILURE() << "unscripted roll " << low << ".." << high;
                return low;
            }
            return Rolls_[Next_++];
        });
    }
    ~TScripted_Rolls() { Install_Random_Range_Source(nullptr); }
    TScripted_Rolls(const TScripted_Rolls&) = delete;
    TScripted_Rolls& operator=(const TScripted_Rolls&) = delete;

    size_t Left() const { return Rolls_.size() - Next_; }
    std::vector<std::pair<int32_t, int32_t>> Asked;

private:
    std::vector<int32_t> Rolls_;
    size_t Next_ = 0;
};

// n rows of n squares, each the character c.
inline std::vector<std::string> Square_Rows(char c = '.', int n = 17) {
    return std::vector<std::string>(static_cast<size_t>(n), std::string(static_cast<size_t>(n), c));
}

// A settings record with every key: 17-square tiles, nothing placed, no identifiers.
inline TKeys Tile_Settings_Keys() {
    return {{"Tile Square Width", "17"},
            {"Tile Square Height", "17"},
            {"Fill Level With Terrain Category", ""},
            {"Fill Level Border With Terrain Category", ""},
            {"Change Door Directions", "TRUE"},
            {"Change Generic Walls to Specific", "TRUE"},
            {"Add Black Border to Walls", "FALSE"},
            {"Black Border Ceiling Terrain Category", ""},
            {"Black Border Wall Terrain Category", ""},
            {"Set Third Layer Visibility Behind Walls", "FALSE"},
            {"Tiles allowed in the border", "FALSE"},
            {"Allow tile connection off map", "FALSE"},
            {"Require connection between starting points", "TRUE"},
            {"Increased Border Size", "0"},
            {"Percent of map to fill", "85"},
            {"Number of tiles to change to resize", "5"},
            {"Number of specific tile locations", "0"},
            {"Number of group tile locations", "0"},
            {"Number of Tile Entrances", "0"},
            {"Number of Global Tile Identifiers", "0"}};
}

// A tile record with every key: open sides of kind 1 as listed ("NES"), the rows given (17 of '.' by
// default), no identifiers, monsters or items of its own.
inline TKeys Tile_Keys(const std::string& name, const std::string& sides, int weight = 10, bool rotate = true,
                       const std::vector<std::string>& rows = Square_Rows()) {
    auto open = [&sides](char side) { return sides.find(side) != std::string::npos ? "1" : "0"; };
    TKeys keys = {{"Tile Name", name},
                  {"Connection Type N", open('N')},
                  {"Connection Type E", open('E')},
                  {"Connection Type S", open('S')},
                  {"Connection Type W", open('W')},
                  {"Maximum Number Per Dungeon Level", "100"},
                  {"Maximum Number Per Module", "1000"},
                  {"Allow Random Monster Placement in this Tile", "TRUE"},
                  {"Allow Wandering Monster Placement", "FALSE"},
                  {"Monster Placement Terrain Category", "floor"},
                  {"Allow Random Item Placement in this Tile", "TRUE"},
                  {"Item Placement Terrain Category", "floor"},
                  {"Tile Can Be Rotated", rotate ? "TRUE" : "FALSE"},
                  {"Tile Percent Chance Per Dungeon Level", std::to_string(weight)},
                  {"Tile Section Width", "1"},
                  {"Tile Section Height", "1"},
                  {"Tile Section Position X", "1"},
                  {"Tile Section Position Y", "1"},
                  {"Tile Section Group ID", "0"}};
    for (size_t r = 0; r < rows.size(); ++r) keys.emplace_back("Tile Row " + std::to_string(r + 1), rows[r]);
    keys.insert(keys.end(), {{"Number of Tile Specific Identifiers", "0"},
                             {"Number of Specific Monsters", "0"},
                             {"Number of Specific Items", "0"},
                             {"Locked Terrain Groups", ""},
                             {"Trapped Terrain Groups", ""}});
    return keys;
}

// The five growth shapes, each rotatable: together they close or open any side.
inline std::vector<TKeys> Growth_Tile_Keys(int weight = 10) {
    return {Tile_Keys("Cross", "NESW", weight), Tile_Keys("Tee", "NEW", weight),
            Tile_Keys("Corner", "NE", weight), Tile_Keys("Straight", "NS", weight),
            Tile_Keys("End", "N", weight)};
}

// A current map whose terrain kinds are added by the test, with the digger's state put back afterwards.
class TDigger_Test : public TProgram_Folder_Test {
protected:
    void SetUp() override {
        TProgram_Folder_Test::SetUp();
        Install_Current_Map(std::make_unique<TMap>());
        Map = Current_Map();
        ASSERT_TRUE(Path_Settings()->Set_Module("Test/"));
    }
    void TearDown() override {
        Install_Random_Range_Source(nullptr);
        Set_Dig_Seed_Source(nullptr);
        Free_Tile_Classes();
        Free_Module_Class();
        Free_Game_Options();
        Install_Current_Map(nullptr);
        TProgram_Folder_Test::TearDown();
    }

    // A terrain kind with the categories (comma-separated) and style; its id.
    uint16_t Add_Terrain(const std::string& name, const std::string& categories, uint8_t style = 0) {
        TTerrain terrain;
        terrain.Name = name;
        terrain.Set_Categories(categories);
        terrain.Style = style;
        terrain.Movement_Flags = Movement_Land;
        return Map->Terrain_List.Add(terrain);
    }
    // Writes the records as the module's tiles file of that name and loads it into the tile table.
    bool Load_Tiles(const std::vector<TKeys>& records, const std::string& file = "Test_Tiles.txt") {
        Folder.Write("Modules/Test/Tiles/" + file, Data_File_Text(records));
        return Load_Tile_Classes(file);
    }
    // Digs map 1 with the generator seeded by seed.
    TString_List Dig(uint64_t seed, int32_t map_index = 1) {
        Set_Dig_Seed_Source([seed](int32_t) { return seed; });
        TString_List errors;
        Dig_Tile_Map(Entrance_Ids, Entrance_Xs, Entrance_Ys, map_index, "Test_Tiles.txt", errors);
        return errors;
    }

    TMap* Map = nullptr;
    TWordList Entrance_Ids, Entrance_Xs, Entrance_Ys;
};
