#include "ui/FrontEndLists.h"

#include "core/DataFileParser.h"
#include "platform/FileOps.h"
#include "platform/PathLayer.h"

#include <algorithm>

std::string Fold_Case(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'A' && c <= 'Z') {
            out.push_back(static_cast<char>(c + ('a' - 'A')));
            continue;
        }
        // Capital Cyrillic letters are the two-byte sequences D0 80 .. D0 AF (U+0400 .. U+042F).
        if (c == 0xD0 && i + 1 < text.size()) {
            const auto d = static_cast<unsigned char>(text[i + 1]);
            if (d >= 0x80 && d <= 0x8F) { // Ѐ .. Џ -> ѐ .. џ (U+0450 ..)
                out.push_back(static_cast<char>(0xD1));
                out.push_back(static_cast<char>(d + 0x10));
                ++i;
                continue;
            }
            if (d >= 0x90 && d <= 0x9F) { // А .. П -> а .. п (U+0430 ..)
                out.push_back(static_cast<char>(0xD0));
                out.push_back(static_cast<char>(d + 0x20));
                ++i;
                continue;
            }
            if (d >= 0xA0 && d <= 0xAF) { // Р .. Я -> р .. я (U+0440 ..)
                out.push_back(static_cast<char>(0xD1));
                out.push_back(static_cast<char>(d - 0x20));
                ++i;
                continue;
            }
        }
        out.push_back(static_cast<char>(c));
    }
    return out;
}

bool Less_Ignoring_Case(const std::string& a, const std::string& b) {
    const std::string fa = Fold_Case(a), fb = Fold_Case(b);
    if (fa != fb) return fa < fb;
    return a < b;
}

std::vector<std::string> List_Module_Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::string& name : plat::List_Folder(folder))
        if (!name.empty() && name[0] != '.') names.push_back(name);
    std::sort(names.begin(), names.end(), Less_Ignoring_Case);
    return names;
}

std::vector<std::string> List_Character_Names(const std::string& folder) {
    static const std::string ending = ".dat";
    std::vector<std::string> names;
    for (const std::string& file : plat::List_Regular_Files(folder)) {
        if (file.size() <= ending.size()) continue;
        const std::string stem = file.substr(0, file.size() - ending.size());
        if (Ascii_Equal_No_Case(std::string_view(file).substr(stem.size()), ending)) names.push_back(stem);
    }
    std::sort(names.begin(), names.end(), Less_Ignoring_Case);
    return names;
}

bool Same_Data_Set(const std::string& a, const std::string& b) {
    return Fold_Case(Trim_Data(a)) == Fold_Case(Trim_Data(b));
}
