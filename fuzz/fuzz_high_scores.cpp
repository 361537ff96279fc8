// A "HighScores.dat" file: the table read (what was read before a failure stays), then a score added whose
// level and experience are the input's last six bytes. The table is saved, read into a fresh table and
// saved again: both saves must be equal.
#include "core/HighScores.h"
#include "fuzz/FuzzWorld.h"

#include <cstring>

namespace {

uint16_t Level = 0;
int32_t Experience = 0;

std::optional<fuzz::TBytes> Load_Add_And_Save(const fuzz::TBytes& bytes) {
    fuzz::TFuzz_World world;
    THigh_Scores_List table;
    fuzz::Read_Body(bytes, [&](TStream_Reader& r) { table.Read(r); });
    if (table.Add("Fuzz", "Tester", Level, Experience)) {
        bool found = false;
        for (int32_t n = 1; n <= THigh_Scores_List::Entry_Count; ++n)
            found = found || *table.Get(n) == THigh_Score{"Fuzz", "Tester", Level, Experience};
        fuzz::Expect(found);
    }
    return fuzz::Write_Body([&](TStream_Writer& w) { table.Write(w); });
}

std::optional<fuzz::TBytes> Load_And_Save(const fuzz::TBytes& bytes) {
    fuzz::TFuzz_World world;
    THigh_Scores_List table;
    if (!fuzz::Read_Body(bytes, [&](TStream_Reader& r) { table.Read(r); })) return std::nullopt;
    return fuzz::Write_Body([&](TStream_Writer& w) { table.Write(w); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::TBytes input(data, data + size);
    Level = 0;
    Experience = 0;
    if (size >= 6) {
        Level = static_cast<uint16_t>(data[size - 6] | data[size - 5] << 8);
        uint32_t bits = 0;
        for (size_t n = 0; n < 4; ++n) bits |= static_cast<uint32_t>(data[size - 4 + n]) << (8 * n);
        std::memcpy(&Experience, &bits, sizeof(Experience));
    }
    const std::optional<fuzz::TBytes> saved = Load_Add_And_Save(input);
    fuzz::Expect(saved.has_value());
    // A table saved must read back whole and save as the same bytes.
    const std::optional<fuzz::TBytes> again = Load_And_Save(*saved);
    fuzz::Expect(again.has_value() && *again == *saved);
    return 0;
}
