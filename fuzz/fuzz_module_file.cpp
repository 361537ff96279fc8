// A "Module.mod" file: the module body with its maps, connections, quests and events, read into a fresh
// module. What loaded is saved, read into another fresh module and saved again: both saves must be equal.
#include "core/Module.h"
#include "core/SaveGame.h"
#include "fuzz/FuzzWorld.h"

namespace {

std::optional<fuzz::TBytes> Load_And_Save(const fuzz::TBytes& bytes) {
    fuzz::TFuzz_World world;
    TModule module;
    if (!fuzz::Read_Body(bytes, [&](TStream_Reader& r) { Read_Module_File_Body(r, module, "Module.mod"); }))
        return std::nullopt;
    fuzz::Expect(module.File_Name == "Module.mod");
    return fuzz::Write_Body([&](TStream_Writer& w) { Write_Module_File_Body(w, module); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Expect_Stable_Save(fuzz::TBytes(data, data + size), Load_And_Save);
    return 0;
}
