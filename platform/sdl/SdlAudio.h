// The real sound output over SDL2_mixer: eleven mixer channels, each holding one converted sound, and
// the mixer's one music stream. The mixer reports the music's end on its own thread; the hook only queues
// an SDL user event with the music generation of that moment, and the thread that owns the window routes it.
#pragma once

#include "platform/AudioBackend.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace plat {

class TSdl_Audio_Backend final : public TAudio_Backend {
public:
    TSdl_Audio_Backend() = default;
    ~TSdl_Audio_Backend() override;
    TSdl_Audio_Backend(const TSdl_Audio_Backend&) = delete;
    TSdl_Audio_Backend& operator=(const TSdl_Audio_Backend&) = delete;

    bool Open() override;
    void Close() override;
    bool Is_Open() const override { return Open_; }
    bool Load_Channel(int channel, const TPcm_Sound& sound, const std::string& path) override;
    void Free_Channel(int channel) override;
    void Play_Channel(int channel, int32_t volume, int32_t pan) override;
    void Wait_Channel(int channel) override;
    bool Music_Open(const std::string& path) override;
    bool Music_Play() override;
    void Music_Close() override;

    // Routes one event: true when it was the end of a music play (the handler has then been called).
    bool Handle_Event(const SDL_Event& event);
    // Takes only the music's end events from the queue and routes them, leaving every other event queued.
    // The frame loop routes them with the rest; this serves the time before it runs.
    void Route_Music_Events() override;

private:
    struct TChannel_Sound {
        Mix_Chunk* Chunk = nullptr;   // points into Samples, which it does not own
        std::vector<uint8_t> Samples; // in the device's format
    };
    bool Open_ = false;
    TChannel_Sound Channels_[Audio_Channel_Count];
    Mix_Music* Music_ = nullptr;
};

} // namespace plat
