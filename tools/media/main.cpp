// murk_media: makes the game's sounds and pictures from the recipe files at build time.
//   murk_media SOUNDS_FILE PICTURES_FILE PROGRAM_FOLDER
// Every line of the recipe files names one file relative to the program folder; the same recipe file
// always gives the same bytes.
#include "tools/media/Manifest.h"
#include "tools/media/Pictures.h"
#include "tools/media/Sounds.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <stdexcept>

namespace {

void Write_File(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv) {
    using namespace murk_media;
    if (argc != 4) {
        std::cerr << "usage: murk_media SOUNDS_FILE PICTURES_FILE PROGRAM_FOLDER\n";
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[3];
        std::set<std::string> written;
        auto claim = [&written](const std::string& path) {
            if (!written.insert(path).second) throw std::runtime_error("two recipes for " + path);
        };
        for (const TEntry& entry : Read_Manifest(argv[1])) {
            claim(entry.Path);
            Write_File(folder / entry.Path, Wave_File(Synthesise(entry)));
        }
        std::map<std::string, std::vector<const TEntry*>> sheets; // effect strips by file
        const std::vector<TEntry> pictures = Read_Manifest(argv[2]);
        for (const TEntry& entry : pictures) {
            if (entry.Recipe == "effect") {
                sheets[entry.Path].push_back(&entry);
                continue;
            }
            claim(entry.Path);
            Write_File(folder / entry.Path, Draw_Picture(entry).Bmp_File());
        }
        for (const auto& [path, strips] : sheets) {
            claim(path);
            Write_File(folder / path, Draw_Effect_Sheet(strips).Bmp_File());
        }
        std::cout << "murk_media: " << written.size() << " files in " << folder.string() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "murk_media: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
