// The recipe files of the media tool: one output file per line, named by its path in the program folder,
// followed by the recipe that makes it and the recipe's parameters as key=value words.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace murk_media {

struct TRgb {
    int R = 0, G = 0, B = 0;
};

struct TEntry {
    std::string Path;   // relative to the program folder, for example "Sounds/punch.wav"
    std::string Recipe; // for example "thud"
    std::map<std::string, std::string> Params;
    int Line = 0;

    double Number(const std::string& key, double fallback) const;
    int Integer(const std::string& key, int fallback) const {
        return static_cast<int>(Number(key, fallback));
    }
    std::string Text(const std::string& key, const std::string& fallback) const;
    TRgb Color(const std::string& key, TRgb fallback) const;
    std::vector<double> Numbers(const std::string& key) const;
};

// The parts of the text between the separators; none for an empty text, and no empty last part after a
// trailing separator.
std::vector<std::string> Split(const std::string& text, char by);
// A comma-separated list of numbers, as a parameter gives points, rectangles or colours. Throws
// std::runtime_error naming the line and the key on a part that is not a number.
std::vector<double> Parse_Numbers(const std::string& text, const std::string& key, int line);

// Reads a recipe file; "#" starts a comment. Throws std::runtime_error naming the file and line on a
// malformed line.
std::vector<TEntry> Read_Manifest(const std::string& file);

// A stable 32-bit seed for a name, so that every file comes out the same on every build.
uint32_t Seed_Of(const std::string& name);

// A small deterministic generator; the standard distributions differ between libraries.
class TRandom {
public:
    explicit TRandom(uint32_t seed) : State(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    double Unit() { return (Next() >> 8) / 16777216.0; } // 0 .. 1
    double Signed() { return Unit() * 2.0 - 1.0; }       // -1 .. 1
    double Range(double low, double high) { return low + (high - low) * Unit(); }

private:
    uint32_t State;
};

} // namespace murk_media
