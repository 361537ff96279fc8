// The seed catalog: every map of a module generated from fixed seeds and summed up as text, one block per
// map, so that any change to the generator or to the module's content shows as a reviewable difference of a
// committed file. Used by the seedcatalog program and, in-process, by its golden test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One generation of the whole module: the seed, the game's difficulty and the character's starting level.
// Map m of the run is dug from the generator seeded with seed x 1000 + m.
struct TCatalog_Run {
    int32_t Seed = 0;
    int32_t Difficulty = 2;
    int32_t Start_Level = 1;
};

// The runs the committed catalog holds.
std::vector<TCatalog_Run> Built_In_Catalog_Runs();
// Seeds first..last at difficulty 2, starting level 1.
std::vector<TCatalog_Run> Seed_Range_Runs(int32_t first, int32_t last);
// "1..10 d2 s1, 1..2 d4 s5": consecutive seeds of one difficulty and level are joined.
std::string Describe_Runs(const std::vector<TCatalog_Run>& runs);

// FNV-1a over 64 bits.
class TFnv1a_64 {
public:
    void Add_Bytes(const void* data, size_t size);
    void Add_Byte(uint8_t value) { Add_Bytes(&value, 1); }
    void Add_Word(uint16_t value);
    void Add_Integer(int32_t value);
    // The bytes of the text, then a 0 byte, so that "ab" + "c" and "a" + "bc" differ.
    void Add_Text(const std::string& text);
    uint64_t Value() const { return Hash_; }

private:
    uint64_t Hash_ = 0xcbf29ce484222325ULL;
};

// What the catalog found wrong with one map beyond what its text shows.
struct TCatalog_Map_Report {
    std::string Header;                // the block's first line
    std::vector<std::string> Problems; // broken invariants, one line each
    bool Open_Side = false;            // a tile side left open towards an empty cell
    bool Dug = false;
    int32_t Error_Lines = 0;
};

// The block of the current map as the last dig left it, header line first, every line ending in "\n".
std::string Catalog_Block(const std::string& header, const std::vector<std::string>& errors,
                          const std::vector<uint16_t>& entrance_ids, const std::vector<uint16_t>& entrance_xs,
                          const std::vector<uint16_t>& entrance_ys);
// What the text cannot show: every creature stands on the square that records it and no two share one;
// every creature, item and pile a square names exists; every item is in exactly one place; entrances lie
// on the map; no chest holds id 0 or an item that does not exist. One line per problem.
std::vector<std::string> Check_Generated_Map(const std::vector<uint16_t>& entrance_xs,
                                             const std::vector<uint16_t>& entrance_ys);

// The layout's sides: every open side facing an occupied cell must meet the same kind there (one line per
// side that does not); open_side tells whether a side stays open towards an empty cell of the grid, which
// only a last sweep whose rolls missed may leave (a line when it did not miss).
struct TDig_Context;
std::vector<std::string> Check_Layout(const TDig_Context& dig, bool& open_side);

struct TCatalog_Options {
    std::string Base;   // the program folder the data is read from
    std::string Module; // the module's folder name
    std::vector<TCatalog_Run> Runs;
};

// Generates every map of every run and returns the catalog text: a first line with the format version, the
// module and the runs, then one block per map. The program folder, path settings, current map, game options,
// module class, display effects and master spells are the catalog's while it runs and are freed after it
// (the base folder stays as set). Problems with the setup itself go to setup_errors, and the text is then
// empty.
std::string Generate_Seed_Catalog(const TCatalog_Options& options, std::vector<TCatalog_Map_Report>& reports,
                                  std::vector<std::string>& setup_errors);
