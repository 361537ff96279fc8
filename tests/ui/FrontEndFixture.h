// The front-end dialogs' tests: the graphics library started headless at 32 bits, a display object, the
// text styles on the recording text backend, the sound system on the recording audio backend, game settings
// and options, and a root control to hand the dialog its input the way the window does. Each dialog picture
// is a plain picture of the dialog's size; tests that dump frames copy the shipped pictures instead.
#pragma once

#include "core/GameOptions.h"
#include "core/GameSettings.h"
#include "core/MachineOptions.h"
#include "media/DisplayFont.h"
#include "media/Sounds.h"
#include "platform/AudioBackend.h"
#include "tests/media/DisplayFixture.h"
#include "tests/media/WaveBytes.h"
#include "tests/support/FrameReference.h"
#include "ui/DisplayClass.h"

#include <filesystem>
#include <string>
#include <vector>

class TFront_End_Test : public TDisplay_Test {
protected:
    void SetUp() override {
        TDisplay_Test::SetUp();
        Start(32);
        Machine_Options() = TMachine_Options{};
        TGame_Settings& settings = Create_Game_Settings();
        settings.Allow_Sound = settings.Allow_Music = true;
        settings.Use_DirectSound = false;
        settings.Music_Song_Intro = "intro.wav";
        Create_Game_Options();
        Audio = std::make_shared<plat::THeadless_Audio_Backend>();
        Install_Sounds(std::make_shared<TSounds>(Audio));
        Sounds().Sound_Intialize_Sound_System();
        Make_Display();
        Load_External_Resources();
        Root.Set_Position("Main Window", 0, 0, Screen_Width, Screen_Height, false);
        Root.Set_Visible(true);
        for (const char* sound : {"button.wav", "item_sel.wav"})
            Folder.Write(std::string("Sounds/") + sound, wave_bytes::Pcm16({0, 100, -100}));
        Folder.Write("Music/intro.wav", wave_bytes::Pcm16({0, 0}));
        for (const auto& [file, w, h] : Dialog_Pictures)
            Write_Picture("Pictures/SysPics/" + file, w, h, [](int32_t, int32_t) { return Picture_Colour; });
    }
    void TearDown() override {
        while (Root.Child_Count() > 0) Root.m_Delete_Child_Control(1);
        Free_External_Resources();
        Install_Sounds(nullptr);
        Free_Game_Options();
        Free_Game_Settings();
        Machine_Options() = TMachine_Options{};
        TDisplay_Test::TearDown();
    }

    // The dialog as the game screen adds it: named, placed, visible, a child of the root.
    template <typename TDialog> void Open(TDialog& dialog, const std::string& name, bool centred = true) {
        if (centred)
            dialog.Center_On_Screen(name, false);
        else
            dialog.Set_Position_At(name, 267, 133, false);
        dialog.Set_Visible(true);
        Root.Add_Child_Control(&dialog);
    }

    // Input as the window hands it to the root control.
    void Click(int32_t x, int32_t y, int32_t button = Mouse_Button_Left) {
        Root.MouseMove(0, x, y);
        Root.MouseDown(button, button == Mouse_Button_Left ? Shift_Left : Shift_Right, x, y);
        Root.MouseUp(button, 0, x, y, false);
    }
    void Key(uint16_t key, int32_t shift = 0) { Root.KeyDown(key, shift); }
    void Type(const std::string& letters) {
        for (char c : letters) Key(static_cast<uint16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    }
    // One frame of the tree onto the page, cleared black first.
    void Frame() {
        Clear_Page();
        Text->Calls.clear();
        Root.Draw(0);
    }

    // The recorded texts and where their anchor lay for the justification the dialogs use: the headless
    // text backend records the top-left corner of the line box.
    const plat::THeadless_Text::TCall* Drawn(const std::string& text) const {
        for (const auto& call : Text->Calls)
            if (call.Text == text) return &call;
        return nullptr;
    }
    std::vector<std::string> Drawn_Texts() const {
        std::vector<std::string> texts;
        for (const auto& call : Text->Calls) texts.push_back(call.Text);
        return texts;
    }
    int32_t Text_Width(const plat::THeadless_Text::TCall& call) const {
        return static_cast<int32_t>(plat::Utf8_Length(call.Text)) * Text->Char_Width;
    }
    int32_t Centre_X(const plat::THeadless_Text::TCall& call) const { return call.X + Text_Width(call) / 2; }
    int32_t Right_X(const plat::THeadless_Text::TCall& call) const { return call.X + Text_Width(call); }
    int32_t Centre_Y(const plat::THeadless_Text::TCall& call) const { return call.Y + Text->Height / 2 + 1; }
    int32_t Bottom_Y(const plat::THeadless_Text::TCall& call) const { return call.Y + Text->Height; }

    // The sounds the device was asked to load since the last look (file names only).
    std::vector<std::string> Sounds_Played() {
        std::vector<std::string> played;
        for (const std::string& call : Audio->Calls)
            if (call.rfind("load ", 0) == 0) played.push_back(call.substr(call.find_last_of('/') + 1));
        Audio->Calls.clear();
        return played;
    }

    // The page compared with its reference, and written under frames/ of the build tree.
    testing::AssertionResult Page_Matches(const std::string& name) {
        TFrame frame;
        if (!Read_Buffer_Frame(0, frame)) return testing::AssertionFailure() << "no page";
        std::filesystem::create_directories(MURK_BUILD_FRAMES_DIR);
        Write_Frame_Bmp(frame, std::string(MURK_BUILD_FRAMES_DIR) + "/" + name + ".bmp");
        return Matches_Reference(frame, name);
    }
    // The shipped pictures, sounds and fonts replace the plain ones (frames for the references).
    void Use_Shipped_Media() {
        for (const char* folder : {"Pictures/SysPics", "Pictures/Monsters", "Sounds", "Music", "Fonts"}) {
            const std::filesystem::path from = std::filesystem::path(MURK_RUNTIME_DIR) / folder;
            if (!std::filesystem::exists(from)) continue;
            std::filesystem::copy(from, std::filesystem::path(Folder.Path()) / folder,
                                  std::filesystem::copy_options::recursive |
                                      std::filesystem::copy_options::overwrite_existing);
        }
        Display_Object()->Load_Graphics();
    }

    static constexpr uint32_t Picture_Colour = 0x203850;
    struct TPicture {
        std::string File;
        int32_t Width, Height;
    };
    inline static const std::vector<TPicture> Dialog_Pictures = {
        {"Dlg_MM.bmp", 266, 200},           {"Dlg_Intro.bmp", 270, 560},
        {"Dlg_SelectModule.bmp", 696, 504}, {"Dlg_Difficulty.bmp", 266, 354},
        {"Dlg_Progress.bmp", 333, 134},     {"Dlg_SelectCharacter.bmp", 696, 504},
        {"Win_Char.bmp", 331, 356},         {"Dlg_Message.bmp", 309, 213},
    };

    TDisplay_Class Root;
    std::shared_ptr<plat::THeadless_Audio_Backend> Audio;
};
