// A map file: the body read into a fresh map while the path settings point at the fixture module of two
// maps, so the terrain file the map names is read again from the module's "Tiles/" folder; the map then
// becomes the current one and its stores restock from the class files they name, as a loaded map's do.
// Nothing is written. The fixture's program folder and module come from the build.
#include "core/MapMain.h"
#include "core/Path.h"
#include "core/SaveGame.h"
#include "fuzz/FuzzWorld.h"
#include "generation/RndClassStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TFuzz_World world;
    Set_Base_Folder(MURK_FUZZ_PROGRAM_FOLDER);
    Install_Path_Settings(std::make_unique<TPath_Settings>());
    fuzz::Expect(Path_Settings()->Set_Module(MURK_FUZZ_MODULE));
    Install_Store_Restocker();
    auto map = std::make_unique<TMap>();
    if (!fuzz::Read_Body(fuzz::TBytes(data, data + size),
                         [&](TStream_Reader& r) { Read_Map_File_Body(r, *map, "1.map"); }))
        return 0;
    fuzz::Expect(map->File_Name == "1.map");
    Install_Current_Map(std::move(map));
    Current_Map()->Restock_Stores();
    return 0;
}
