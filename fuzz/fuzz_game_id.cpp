// A "game.id" file: the header body, the check of the names it gives, and its game options taken as a
// loaded game takes them (the running data set kept). The module it names is never set. What was read is
// saved, read back and saved again: both saves must be equal.
#include "core/GameOptions.h"
#include "core/Path.h"
#include "core/SaveGame.h"
#include "fuzz/FuzzWorld.h"

namespace {

std::optional<fuzz::TBytes> Load_And_Save(const fuzz::TBytes& bytes) {
    fuzz::TFuzz_World world;
    TGame_Id id;
    if (!fuzz::Read_Body(bytes, [&](TStream_Reader& r) { Read_Game_Id_Body(r, id); })) return std::nullopt;
    fuzz::Expect(Last_File_Version() == id.Version);
    std::string refused;
    if (Game_Id_Names_Allowed(id, &refused)) {
        // A game is loaded only from names that stay in their folders.
        fuzz::Expect(refused.empty() && Is_Plain_File_Name(id.Map_File_Name) &&
                     Is_Plain_File_Name(id.Module_File_Name) && Is_Safe_Data_Name(id.Module_Name));
    } else {
        fuzz::Expect(refused == id.Map_File_Name || refused == id.Module_File_Name ||
                     refused == id.Module_Name);
    }
    TGame_Options& options = Create_Game_Options();
    options.Character_Data_Set = "Running";
    const std::string data_set = options.Character_Data_Set;
    options = id.Options;
    options.Character_Data_Set = data_set;
    return fuzz::Write_Body([&](TStream_Writer& w) { Write_Game_Id_Body(w, id); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Expect_Stable_Save(fuzz::TBytes(data, data + size), Load_And_Save);
    return 0;
}
