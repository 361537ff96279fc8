// The map record of map files and saved games.
#include "core/MapMain.h"

#include "core/Monster.h"
#include "core/Path.h"

namespace {

// The smallest stored positions: a pile is at least its presence flag, a chest its word list's count, a
// store its word, four strings, a flag, four words, two reals (an integer is taken as one), two integers
// and two lists' counts (two bytes a value, one a flag).
constexpr size_t Smallest_Pile = 1;
constexpr size_t Smallest_Chest = 2;
constexpr size_t Smallest_Store = 31;

// The name part of a path written with either separator: files of old versions stored it with "\", and
// only the name may be used so the terrain file is always read from the module's own "Tiles/" folder.
std::string Name_Part(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A 1-based array as a presence flag, the 16-bit length (position 0 included) and the positions from 1.
template <typename T, typename TWrite_Element>
void Write_Array(TStream_Writer& w, const std::vector<std::unique_ptr<T>>& array,
                 TWrite_Element&& write_element) {
    Write_Boolean(w, !array.empty());
    if (array.empty()) return;
    Write_Word(w, static_cast<uint16_t>(array.size()));
    for (size_t n = 1; n < array.size(); ++n) write_element(array[n].get());
}

// Frees the array and reads it back; a false presence flag leaves it empty. Each stored position takes at
// least smallest bytes: a length the bytes left cannot hold is refused before anything is allocated for it.
template <typename T, typename TRead_Element>
void Read_Array(TStream_Reader& r, std::vector<std::unique_ptr<T>>& array, const char* what, size_t smallest,
                TRead_Element&& read_element) {
    array.clear();
    if (!Read_Boolean(r)) return;
    const uint16_t length = Read_Word(r);
    if (length == 0) return;
    const size_t stored = length - 1u; // position 0 is not stored
    if (stored > r.Remaining() / smallest)
        throw EStream_Read_Error(std::string(what) + ": length " + std::to_string(length) +
                                 " exceeds the bytes left in the save stream");
    array.resize(1);
    array.reserve(length);
    for (size_t n = 1; n < length; ++n) array.push_back(read_element());
}

} // namespace

bool TMap::Save(TStream_Writer& w) const {
    Write_String(w, Version);
    Write_String(w, File_Name);
    Write_String(w, Name);
    for (const TMap_Square& square : Squares_) square.Save(w); // x-major, as the squares are held
    Write_Boolean(w, Universal_Light);
    Write_String(w, Terrain_List.File_Name);
    Item_List.Save_To_Stream(w);
    Monster_List.Write(w);

    Write_Array(w, Item_Piles_, [&w](const TItem_Collection* pile) {
        Write_Boolean(w, pile != nullptr);
        if (pile) pile->Save_To_Stream(w);
    });
    // Stores carry no presence flag: every position from 1 holds one.
    Write_Array(w, Stores_, [&w](const TStore* store) { (store ? *store : TStore()).Save(w); });
    Write_Array(w, Chests_,
                [&w](const TWordList* chest) { Write_Word_List(w, chest ? *chest : TWordList()); });

    Write_Word_List(w, Chest_Xs_);
    Write_Word_List(w, Chest_Ys_);
    Locks_.Write(w);
    Traps_.Write(w);
    return true;
}

bool TMap::Load(TStream_Reader& r, const std::string& file_name, bool restock) {
    Clear_Player_Reference();
    Version = Read_String(r);
    Read_String(r); // the path it was saved from; the path read takes its place
    File_Name = file_name;
    Name = Read_String(r);
    for (TMap_Square& square : Squares_) square.Load(r);
    Universal_Light = Read_Boolean(r);
    // Only the name part of the terrain path is used (files store the full path they were made from); a
    // name part that is no file name is refused before the path layer is asked.
    const std::string terrain_path = Read_String(r);
    const std::string terrain_name = Name_Part(terrain_path);
    if (terrain_name == "." || terrain_name == "..")
        throw EStream_Read_Error("refused terrain file name \"" + terrain_path + "\" in the map file");
    Load_Terrain(terrain_path);
    // An item or creature record that reads as unusable leaves its slot empty, so the others keep the ids
    // the squares hold; the map itself is still whole and loads. Only a broken stream fails the load.
    Item_List.Load_From_Stream(r);
    Monster_List.Read(r);

    Read_Array(r, Item_Piles_, "item piles", Smallest_Pile, [&r]() -> std::unique_ptr<TItem_Collection> {
        if (!Read_Boolean(r)) return nullptr;
        auto pile = std::make_unique<TItem_Collection>();
        pile->Load_From_Stream(r);
        return pile;
    });
    Read_Array(r, Stores_, "stores", Smallest_Store, [&r] {
        auto store = std::make_unique<TStore>();
        store->Load(r);
        // The restock loads the store's class files from the module's folder: a name that leaves it is
        // refused with the whole file.
        for (const std::string* name : {&store->Store_Class_File, &store->Item_Class_File})
            if (!Is_Safe_Data_Name(*name))
                throw EStream_Read_Error("refused store file name \"" + *name + "\" in the map file");
        return store;
    });
    Read_Array(r, Chests_, "chests", Smallest_Chest, [&r] {
        auto chest = std::make_unique<TWordList>();
        Read_Word_List(r, *chest);
        return chest;
    });
    Read_Word_List(r, Chest_Xs_);
    Read_Word_List(r, Chest_Ys_);
    // Chest n is found through entry n of the coordinate lists, and locks and traps through their
    // parallel entries: lists of unequal length would hand out another square's contents or read past the
    // end.
    Require_Equal_Lengths("chests and chest squares",
                          {static_cast<size_t>(Chest_Count()), static_cast<size_t>(Chest_Xs_.Count()),
                           static_cast<size_t>(Chest_Ys_.Count())});
    Locks_.Read(r, "lock key names and lock squares");
    Traps_.Read(r, "trap names and trap squares");

    if (restock) Restock_Stores();
    return true;
}

void TMap::Load_Terrain(const std::string& stored_path) {
    const std::string name = Name_Part(stored_path);
    // A map made without a terrain file (a test map, a blank developer map) has nothing to reload.
    if (name.empty() || !Path_Settings()) {
        Terrain_List.Clear();
        Terrain_List.File_Name.clear();
        return;
    }
    // Errors are shown by the terrain list; the map stays loaded with whatever kinds were read.
    Terrain_List.Load_From_File(Path_Settings()->Get_Tile_File(name));
}
