#include "tests/support/FrameReference.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

uint32_t Read_32(const std::vector<uint8_t>& d, std::size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | uint32_t{d[at + 3]} << 24;
}

bool Rebaselining() {
    const char* value = std::getenv("MURK_REBASELINE");
    return value && std::strcmp(value, "1") == 0;
}

} // namespace

bool Read_Frame_Bmp(const std::vector<uint8_t>& bytes, TFrame& frame) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || Read_32(bytes, 10) != 54 ||
        Read_32(bytes, 14) != 40 || (bytes[28] | bytes[29] << 8) != 24 || Read_32(bytes, 30) != 0)
        return false;
    const auto width = static_cast<int32_t>(Read_32(bytes, 18)),
               height = static_cast<int32_t>(Read_32(bytes, 22));
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
    const std::size_t data = std::size_t(width) * 3, row = (data + 3) & ~std::size_t{3};
    if (bytes.size() < 54 + row * height) return false;
    frame.Width = width;
    frame.Height = height;
    frame.Bgr.resize(data * height);
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(frame.Bgr.data() + data * y, bytes.data() + 54 + row * (height - 1 - y), data);
    return true;
}

testing::AssertionResult Matches_Reference(const TFrame& frame, const std::string& name) {
    const std::filesystem::path reference = std::filesystem::path(MURK_REFERENCE_DIR) / (name + ".bmp");
    if (Rebaselining()) {
        std::filesystem::create_directories(reference.parent_path());
        if (!Write_Frame_Bmp(frame, reference.string()))
            return testing::AssertionFailure() << "cannot write " << reference;
        return testing::AssertionSuccess() << "rebaselined " << reference;
    }
    std::ifstream in(reference, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TFrame expected;
    if (!Read_Frame_Bmp(bytes, expected))
        return testing::AssertionFailure()
               << "no readable reference " << reference << " (run with MURK_REBASELINE=1 to make it)";
    const TFrame_Comparison result = Compare_Frames(frame, expected);
    if (result.Passed) return testing::AssertionSuccess();

    const std::filesystem::path folder = MURK_TEST_LOG_DIR;
    std::filesystem::create_directories(folder);
    Write_Frame_Bmp(frame, (folder / (name + ".frame.bmp")).string());
    Write_Frame_Bmp(expected, (folder / (name + ".reference.bmp")).string());
    if (result.Same_Size)
        Write_Frame_Bmp(Difference_Frame(frame, expected), (folder / (name + ".diff.bmp")).string());
    return testing::AssertionFailure() << name << ": " << result.Blocks_Matching << " of " << result.Blocks
                                       << " blocks match (sizes " << (result.Same_Size ? "equal" : "differ")
                                       << "); the frame, reference and difference are in " << folder;
}
