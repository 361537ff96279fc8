// A character file: the body read into a fresh creature of an empty map, its items placed into the map's
// item list and the creature's inventory, the statistics recalculated. The character is saved, read into
// another fresh creature on an emptied map and saved again: both saves must be equal.
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SaveGame.h"
#include "fuzz/FuzzWorld.h"

namespace {

// Making a map of 40000 squares costs far more than reading a character, so one map serves every input:
// the character reaches only the map's item and creature lists, which are emptied before each use.
std::unique_ptr<TMap> Spare_Map;

// Installs the spare map, emptied, as the current map for the life of the object, and keeps it again.
class TEmpty_Map_Scope {
public:
    TEmpty_Map_Scope() {
        std::unique_ptr<TMap> map = Spare_Map ? std::move(Spare_Map) : std::make_unique<TMap>();
        map->Item_List.Clear();
        map->Monster_List.Clear();
        Install_Current_Map(std::move(map));
    }
    ~TEmpty_Map_Scope() { Spare_Map = Remove_Current_Map(); }
    TEmpty_Map_Scope(const TEmpty_Map_Scope&) = delete;
    TEmpty_Map_Scope& operator=(const TEmpty_Map_Scope&) = delete;
};

std::optional<fuzz::TBytes> Load_And_Save(const fuzz::TBytes& bytes) {
    fuzz::TFuzz_World world;
    TEmpty_Map_Scope empty_map;
    TMap& map = *Current_Map();
    TCharacter_File file;
    if (!fuzz::Read_Body(bytes, [&](TStream_Reader& r) { Read_Character_File_Body(r, file); }))
        return std::nullopt;
    TMonster* creature = map.Monster_List.Add_Monster(TMonster());
    fuzz::Expect(creature != nullptr);
    // The creature keeps its place in the map's list, as the player does when a character is loaded.
    const uint16_t id = creature->Id;
    Place_Character(file, *creature);
    creature->Id = id;
    // Every item the creature holds is in the map's item list, and nothing else is.
    int32_t held = 0;
    for (int32_t slot = First_Equipment_Slot; slot <= Last_Backpack_Slot; ++slot)
        if (creature->Inventory.Item_In_Slot(slot)) ++held;
    int32_t listed = 0;
    for (int32_t n = 1; n <= map.Item_List.Count(); ++n)
        if (map.Item_List.Item(static_cast<uint16_t>(n))) ++listed;
    fuzz::Expect(held == listed && held <= static_cast<int32_t>(file.Items.size()));
    return fuzz::Write_Body([&](TStream_Writer& w) { Write_Character_File_Body(w, *creature); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Expect_Stable_Save(fuzz::TBytes(data, data + size), Load_And_Save);
    return 0;
}
