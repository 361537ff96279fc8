// The high-score table: ten entries, best first, kept in "HighScores.dat" in the program's "Data" folder.
// A score ranks by level, then by experience.
#pragma once

#include "core/SaveStream.h"

#include <array>
#include <cstdint>
#include <string>

struct THigh_Score {
    std::string Name;
    std::string Class_Name;
    uint16_t Level = 0;
    int32_t Experience = 0;
    bool operator==(const THigh_Score&) const = default;
};

class THigh_Scores_List {
public:
    static constexpr int32_t Entry_Count = 10;

    // The file: the version "1.06", then the ten entries in rank order, each the name, the class name, the
    // level (word) and the experience (longint). Saved through the atomic writer, so a failed save leaves the
    // old table; false on any failure, without a message.
    bool Save(const std::string& path) const;
    // Reads the file whatever its version string; false on any failure, without a message, keeping the
    // entries read before it (a missing file leaves the table as it was).
    bool Load(const std::string& path);
    // The bodies of the two on a stream: Read sets the last file version and raises EStream_Read_Error on a
    // broken stream, entries read before it staying in the table.
    void Write(TStream_Writer& w) const;
    void Read(TStream_Reader& r);

    // Puts the score before the first entry with a lower level, or the same level and less experience
    // (levels compare unsigned, experience signed); the entries from there move down one and the tenth
    // drops out. A score no entry ranks below is refused: false, nothing changes (a tie goes after the
    // entry it ties with).
    bool Add(const std::string& name, const std::string& class_name, uint16_t level, int32_t experience);
    // Entry n of 1..10; null otherwise.
    const THigh_Score* Get(int32_t n) const;

private:
    std::array<THigh_Score, Entry_Count> Entries_{};
};
