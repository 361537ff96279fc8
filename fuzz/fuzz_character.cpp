// A character file: the body read into a fresh creature of an empty map, its items placed into the map's
// item list and the creature's inventory, the statistics recalculated. The character is saved, read into
// another fresh creature on another empty map and saved again: both saves must be equal.
#include "core/Inventory.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Monster.h"
#include "core/SaveGame.h"
#include "fuzz/FuzzWorld.h"

namespace {

std::optional<fuzz::TBytes> Load_And_Save(const fuzz::TBytes& bytes) {
    fuzz::TFuzz_World world;
    Install_Current_Map(std::make_unique<TMap>());
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
    for (int32_t id = 1; id <= map.Item_List.Count(); ++id)
        if (map.Item_List.Item(static_cast<uint16_t>(id))) ++listed;
    fuzz::Expect(held == listed && held <= static_cast<int32_t>(file.Items.size()));
    return fuzz::Write_Body([&](TStream_Writer& w) { Write_Character_File_Body(w, *creature); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Expect_Stable_Save(fuzz::TBytes(data, data + size), Load_And_Save);
    return 0;
}
