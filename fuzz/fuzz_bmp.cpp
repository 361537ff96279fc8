// libFuzzer target: any bytes as a BMP file, loaded through the game's reader into small buffers of every
// depth, at positions inside, across and outside the buffer, with every flag combination the game passes.
// Run under AddressSanitizer and UndefinedBehaviorSanitizer; a crash or a report is a finding.
#include "media/GfxDevice.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const bool started = [] {
        Gx_Dd_Setup(800, 600, 32, Gx_Flag_Flip_Chain);
        return gx_vbinit() == 0;
    }();
    if (!started) return 0;
    const std::span<const uint8_t> bytes(data, size);
    const int32_t flags[] = {0, 9, 11, 1 | 2 | 8};
    const int32_t depths[] = {8, 16, 24, 32};
    for (int32_t i = 0; i < 4; ++i) {
        gx_vbdepth(depths[i]);
        const int32_t buffer = gx_vballoc(37, 23);
        if (buffer < 0) continue;
        gx_vbopen(buffer);
        Gx_Move_To(static_cast<int32_t>(size % 61) - 30, static_cast<int32_t>(size % 47) - 23);
        gx_showbmp_data(bytes, flags[i]);
        Gx_Deselect_Buffer();
        Gx_Free_Buffer(buffer);
    }
    return 0;
}
