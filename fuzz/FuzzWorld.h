// What the fuzz targets of the saved files share: the world each input runs in, and the reading and
// writing of a body on memory streams.
//
// The world is built fresh for each input and taken down after it, so no input sees what an earlier one
// left: the game profile, the generator seeded with 1, no path settings (nothing is read from or written to
// the disk unless a target installs its own), no map, module, player or game options, the headless sinks
// (silent sound, no progress, cursor or display), and a message recorder that keeps at most 1000 messages
// and 1000 error lists, so an input that reports without end cannot grow the harness.
#pragma once

#include "core/BusyCursorSeam.h"
#include "core/DisplayFlagSeam.h"
#include "core/DisplaySeam.h"
#include "core/GameOptions.h"
#include "core/GlobalFuncs.h"
#include "core/Item.h"
#include "core/MapMain.h"
#include "core/Messages.h"
#include "core/Module.h"
#include "core/Path.h"
#include "core/Profile.h"
#include "core/ProgressSeam.h"
#include "core/SaveStream.h"
#include "core/SoundSeam.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fuzz {

using TBytes = std::vector<uint8_t>;

class TCapped_Message_Sink : public TMessage_Sink {
public:
    static constexpr size_t Limit = 1000;
    void Show_Message(const std::string& caption, const std::string& text) override {
        if (Messages.size() < Limit) Messages.push_back({caption, text});
    }
    void Show_Error_List(const TString_List& list, const std::string& heading,
                         const std::string& file_name) override {
        if (Error_Lists.size() < Limit) Error_Lists.push_back({list, heading, file_name});
    }
    std::vector<TRecording_Message_Sink::TMessage> Messages;
    std::vector<TRecording_Message_Sink::TError_List> Error_Lists;
};

class TFuzz_World {
public:
    TFuzz_World() : Messages(std::make_shared<TCapped_Message_Sink>()) {
        Take_Down();
        Install_Message_Sink(Messages);
        Install_Sound_Sink(std::make_shared<TSilent_Sound_Sink>());
    }
    ~TFuzz_World() { Take_Down(); }
    TFuzz_World(const TFuzz_World&) = delete;
    TFuzz_World& operator=(const TFuzz_World&) = delete;

    std::shared_ptr<TCapped_Message_Sink> Messages;

private:
    static void Take_Down() {
        Set_Player(nullptr);
        Install_Current_Map(nullptr);
        Set_Store_Restocker(nullptr);
        Set_Current_Item_List(nullptr);
        Install_Module(nullptr);
        Free_Game_Options();
        Install_Path_Settings(nullptr);
        Install_Message_Sink(nullptr);
        Install_Sound_Sink(nullptr);
        Install_Progress_Sink(nullptr);
        Install_Busy_Cursor_Sink(nullptr);
        Install_Display_Flag_Sink(nullptr);
        Install_Display_Sink(nullptr);
        Set_Last_File_Version("");
        Set_Run_Profile(TRun_Profile::Game);
        Seed_Random(1);
    }
};

// A fault the target exists to find: stop here, so libFuzzer keeps the input.
inline void Expect(bool condition) {
    if (!condition) std::abort();
}

// Runs read over the bytes; false when the stream failed (the one failure a reader may raise). Any other
// exception leaves the target and is a finding.
inline bool Read_Body(const TBytes& bytes, const std::function<void(TStream_Reader&)>& read) {
    TStream_Reader r(bytes);
    try {
        read(r);
        return true;
    } catch (const EStream_Read_Error&) {
        return false;
    }
}

inline TBytes Write_Body(const std::function<void(TStream_Writer&)>& write) {
    TStream_Writer w;
    write(w);
    return w.Bytes();
}

// What a file saves after it was read must read back and save as the same bytes: load_and_save reads the
// bytes into fresh objects in a fresh world and gives what they save, or nothing when the read failed.
inline void Expect_Stable_Save(const TBytes& input,
                               const std::function<std::optional<TBytes>(const TBytes&)>& load_and_save) {
    const std::optional<TBytes> first = load_and_save(input);
    if (!first) return;
    const std::optional<TBytes> second = load_and_save(*first);
    Expect(second.has_value() && *second == *first);
}

} // namespace fuzz
