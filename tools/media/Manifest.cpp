#include "tools/media/Manifest.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace murk_media {

namespace {

[[noreturn]] void Fail(const std::string& file, int line, const std::string& what) {
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

double Parse_Number(const std::string& text, const std::string& key, int line) {
    try {
        size_t used = 0;
        const double value = std::stod(text, &used);
        if (used == text.size()) return value;
    } catch (const std::exception&) {
    }
    throw std::runtime_error("line " + std::to_string(line) + ": " + key + " is not a number: " + text);
}

} // namespace

std::vector<std::string> Split(const std::string& text, char by) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, by);) parts.push_back(part);
    return parts;
}

std::vector<double> Parse_Numbers(const std::string& text, const std::string& key, int line) {
    std::vector<double> values;
    for (const std::string& part : Split(text, ',')) values.push_back(Parse_Number(part, key, line));
    return values;
}

double TEntry::Number(const std::string& key, double fallback) const {
    const auto it = Params.find(key);
    return it == Params.end() ? fallback : Parse_Number(it->second, key, Line);
}

std::string TEntry::Text(const std::string& key, const std::string& fallback) const {
    const auto it = Params.find(key);
    return it == Params.end() ? fallback : it->second;
}

std::vector<double> TEntry::Numbers(const std::string& key) const {
    return Parse_Numbers(Text(key, ""), key, Line);
}

TRgb TEntry::Color(const std::string& key, TRgb fallback) const {
    if (!Params.count(key)) return fallback;
    const std::vector<double> parts = Numbers(key);
    if (parts.size() != 3)
        throw std::runtime_error("line " + std::to_string(Line) + ": " + key + " needs r,g,b");
    return {static_cast<int>(parts[0]), static_cast<int>(parts[1]), static_cast<int>(parts[2])};
}

std::vector<TEntry> Read_Manifest(const std::string& file) {
    std::ifstream in(file);
    if (!in) throw std::runtime_error("cannot read " + file);
    std::vector<TEntry> entries;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (const size_t hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        TEntry entry;
        entry.Line = line;
        if (!(words >> entry.Path)) continue;
        if (!(words >> entry.Recipe)) Fail(file, line, "no recipe for " + entry.Path);
        for (std::string word; words >> word;) {
            const size_t equals = word.find('=');
            if (equals == std::string::npos || equals == 0) Fail(file, line, "expected key=value: " + word);
            entry.Params[word.substr(0, equals)] = word.substr(equals + 1);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

uint32_t Seed_Of(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (const unsigned char c : name) hash = (hash ^ c) * 16777619u;
    return hash;
}

} // namespace murk_media
