// A graphics library started on the headless backends at a chosen depth, shut down after each test.
#pragma once

#include "media/GfxDevice.h"
#include "platform/DisplayBackend.h"
#include "platform/TextBackend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

class TGfx_Test : public ::testing::Test {
protected:
    void SetUp() override {
        auto display = std::make_unique<plat::THeadless_Display>();
        Display = display.get();
        plat::Install_Display_Backend(std::move(display));
        auto text = std::make_unique<plat::THeadless_Text>();
        Text = text.get();
        plat::Install_Text_Backend(std::move(text));
    }

    void TearDown() override {
        Gx_Shutdown();
        plat::Install_Display_Backend(nullptr);
        plat::Install_Text_Backend(nullptr);
    }

    // The start-up calls of the main window: set up, init, black first frame, allocation depth.
    void Start(int32_t bits, bool layout_555 = false) {
        Display->Use_555 = layout_555;
        Gx_Dd_Setup(800, 600, bits, Gx_Flag_Flip_Chain);
        ASSERT_EQ(gx_vbinit(), 0);
        ASSERT_EQ(gx_vbopen(0), 0);
        Gx_Set_Color(Gx_Rgb_To_Color(0, 0, 0));
        Gx_Fill_Page();
        Gx_Flip();
        gx_vbdepth(bits);
    }

    // Raw access to a slot's bytes, so tests write and read pixels without the code under test.
    static plat::TSurface& Surface(int32_t handle) {
        return const_cast<plat::TSurface&>(*Gx_Buffer_Surface(handle));
    }
    static uint8_t* At(int32_t handle, int32_t x, int32_t y) {
        plat::TSurface& s = Surface(handle);
        return s.Row(y) + static_cast<std::size_t>(x) * plat::Bytes_Per_Pixel(s.Bits);
    }
    // A pixel's bytes as one little-endian value (1 to 4 bytes).
    static uint32_t Raw(int32_t handle, int32_t x, int32_t y) {
        uint32_t v = 0;
        std::memcpy(&v, At(handle, x, y),
                    static_cast<std::size_t>(plat::Bytes_Per_Pixel(Surface(handle).Bits)));
        return v;
    }
    static void Put_Raw(int32_t handle, int32_t x, int32_t y, uint32_t v) {
        std::memcpy(At(handle, x, y), &v,
                    static_cast<std::size_t>(plat::Bytes_Per_Pixel(Surface(handle).Bits)));
    }

    plat::THeadless_Display* Display = nullptr;
    plat::THeadless_Text* Text = nullptr;
};
