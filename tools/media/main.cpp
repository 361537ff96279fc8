// murk_media: makes the game's sounds and pictures from the recipe files at build time.
//   murk_media SOUNDS_FILE PICTURES_FILE PROGRAM_FOLDER
//   murk_media --sheet OUT.bmp PICTURES_FILE     (every picture with its name on one contact sheet)
// Every line of the recipe files names one file relative to the program folder; the same recipe file
// always gives the same bytes.
#include "tools/media/Lettering.h"
#include "tools/media/Manifest.h"
#include "tools/media/Pictures.h"
#include "tools/media/Sheet.h"
#include "tools/media/Sounds.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace {

using namespace murk_media;

void Write_File(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Every picture of the recipe file, in the order the file first names it; the strips of one effect
// sheet make one picture.
std::vector<TNamed_Picture> Draw_Pictures(const std::vector<TEntry>& pictures) {
    std::vector<TNamed_Picture> drawn;
    std::map<std::string, std::vector<const TEntry*>> sheets; // effect strips by file
    std::map<std::string, size_t> sheet_place;
    for (const TEntry& entry : pictures) {
        if (entry.Recipe == "effect") {
            if (sheets[entry.Path].empty()) {
                sheet_place[entry.Path] = drawn.size();
                drawn.push_back({entry.Path, TCanvas(1, 1)});
            }
            sheets[entry.Path].push_back(&entry);
            continue;
        }
        drawn.push_back({entry.Path, Draw_Picture(entry, Picture_Lettering())});
    }
    for (const auto& [path, strips] : sheets) drawn[sheet_place[path]].Picture = Draw_Effect_Sheet(strips);
    return drawn;
}

} // namespace

int main(int argc, char** argv) {
    const bool sheet = argc == 4 && std::string(argv[1]) == "--sheet";
    if (argc != 4) {
        std::cerr << "usage: murk_media SOUNDS_FILE PICTURES_FILE PROGRAM_FOLDER\n"
                     "       murk_media --sheet OUT.bmp PICTURES_FILE\n";
        return 2;
    }
    try {
        if (sheet) {
            const std::vector<TNamed_Picture> pictures = Draw_Pictures(Read_Manifest(argv[3]));
            Write_File(argv[2], Contact_Sheet(pictures, Picture_Lettering()).Bmp_File());
            std::cout << "murk_media: " << pictures.size() << " pictures on " << argv[2] << "\n";
            return 0;
        }
        const std::filesystem::path folder = argv[3];
        std::set<std::string> written;
        auto claim = [&written](const std::string& path) {
            if (!written.insert(path).second) throw std::runtime_error("two recipes for " + path);
        };
        for (const TEntry& entry : Read_Manifest(argv[1])) {
            claim(entry.Path);
            Write_File(folder / entry.Path, Wave_File(Synthesise(entry)));
        }
        for (const TNamed_Picture& picture : Draw_Pictures(Read_Manifest(argv[2]))) {
            claim(picture.Path);
            Write_File(folder / picture.Path, picture.Picture.Bmp_File());
        }
        std::cout << "murk_media: " << written.size() << " files in " << folder.string() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "murk_media: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
