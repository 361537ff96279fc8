#include "platform/sdl/SdlAudio.h"

#include <atomic>
#include <climits>
#include <cstring>

namespace plat {

namespace {

// The mixer's hook takes no argument: the backend whose music plays, and the event type, are kept here.
std::atomic<TSdl_Audio_Backend*> Hooked_Backend{nullptr};
std::atomic<Uint32> Music_Event_Type{0};

constexpr Uint32 No_Event_Type = static_cast<Uint32>(-1);

// Runs on the mixer's thread (or inside Mix_HaltMusic): only queues the event.
void Music_Finished_Hook() {
    TSdl_Audio_Backend* backend = Hooked_Backend.load();
    const Uint32 type = Music_Event_Type.load();
    if (!backend || type == 0 || type == No_Event_Type) return;
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    event.user.code = static_cast<Sint32>(backend->Music_Generation());
    SDL_PushEvent(&event);
}

} // namespace

TSdl_Audio_Backend::~TSdl_Audio_Backend() {
    Close();
}

bool TSdl_Audio_Backend::Open() {
    if (Open_) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) return false;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
        return false;
    }
    Mix_Init(MIX_INIT_OGG);
    Mix_AllocateChannels(Audio_Channel_Count);
    if (Music_Event_Type.load() == 0) Music_Event_Type = SDL_RegisterEvents(1);
    Hooked_Backend = this;
    Mix_HookMusicFinished(&Music_Finished_Hook);
    Open_ = true;
    return true;
}

void TSdl_Audio_Backend::Close() {
    if (!Open_) return;
    Music_Close();
    // After this no hook runs: the mixer takes its lock to change the hook.
    Mix_HookMusicFinished(nullptr);
    Hooked_Backend = nullptr;
    for (int channel = 0; channel < Audio_Channel_Count; ++channel) Free_Channel(channel);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
    Open_ = false;
}

bool TSdl_Audio_Backend::Load_Channel(int channel, const TPcm_Sound& sound, const std::string&) {
    if (!Open_ || channel < 0 || channel >= Audio_Channel_Count) return false;
    Free_Channel(channel);
    if (sound.Samples.empty() || sound.Samples.size() > INT_MAX) return false;
    if (sound.Bits_Per_Sample != 8 && sound.Bits_Per_Sample != 16) return false;
    if (sound.Channels == 0 || sound.Channels > 8 || sound.Samples_Per_Second == 0 ||
        sound.Samples_Per_Second > INT_MAX)
        return false;

    int device_rate = 0;
    Uint16 device_format = 0;
    int device_channels = 0;
    if (!Mix_QuerySpec(&device_rate, &device_format, &device_channels)) return false;
    SDL_AudioCVT cvt;
    const SDL_AudioFormat source_format = sound.Bits_Per_Sample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, source_format, static_cast<Uint8>(sound.Channels),
                          static_cast<int>(sound.Samples_Per_Second), device_format,
                          static_cast<Uint8>(device_channels), device_rate) < 0)
        return false;
    // Whole frames only: the converter refuses a partial one.
    const size_t frame = size_t(sound.Channels) * (sound.Bits_Per_Sample / 8);
    const size_t length = sound.Samples.size() / frame * frame;
    if (length == 0 || length > size_t(INT_MAX) / size_t(cvt.len_mult)) return false;

    TChannel_Sound& slot = Channels_[channel];
    slot.Samples.assign(length * size_t(cvt.len_mult), 0);
    std::memcpy(slot.Samples.data(), sound.Samples.data(), length);
    cvt.buf = slot.Samples.data();
    cvt.len = static_cast<int>(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0) {
        slot.Samples.clear();
        return false;
    }
    slot.Samples.resize(cvt.needed ? size_t(cvt.len_cvt) : length);
    slot.Chunk = Mix_QuickLoad_RAW(slot.Samples.data(), static_cast<Uint32>(slot.Samples.size()));
    if (!slot.Chunk) {
        slot.Samples.clear();
        return false;
    }
    return true;
}

void TSdl_Audio_Backend::Free_Channel(int channel) {
    if (!Open_ || channel < 0 || channel >= Audio_Channel_Count) return;
    TChannel_Sound& slot = Channels_[channel];
    // The mixer reads the samples while the channel plays: halt it before they go.
    Mix_HaltChannel(channel);
    if (slot.Chunk) Mix_FreeChunk(slot.Chunk);
    slot.Chunk = nullptr;
    slot.Samples.clear();
}

void TSdl_Audio_Backend::Play_Channel(int channel, int32_t volume, int32_t pan) {
    if (!Open_ || channel < 0 || channel >= Audio_Channel_Count || !Channels_[channel].Chunk) return;
    Mix_Volume(channel, Mixer_Volume(volume));
    const TMixer_Panning panning = Mixer_Panning(pan);
    Mix_SetPanning(channel, panning.Left, panning.Right);
    Mix_PlayChannel(channel, Channels_[channel].Chunk, 0);
}

void TSdl_Audio_Backend::Wait_Channel(int channel) {
    if (!Open_ || channel < 0 || channel >= Audio_Channel_Count) return;
    while (Mix_Playing(channel)) SDL_Delay(5);
}

bool TSdl_Audio_Backend::Music_Open(const std::string& path) {
    if (!Open_) return false;
    Music_Close();
    Music_ = Mix_LoadMUS(path.c_str());
    return Music_ != nullptr;
}

bool TSdl_Audio_Backend::Music_Play() {
    if (!Open_ || !Music_) return false;
    // A halt reports the end of the play it cuts with the old generation, which the new one makes stale.
    Mix_HaltMusic();
    Next_Music_Generation();
    return Mix_PlayMusic(Music_, 0) == 0;
}

void TSdl_Audio_Backend::Music_Close() {
    if (!Open_) return;
    Mix_HaltMusic();
    Next_Music_Generation();
    if (Music_) Mix_FreeMusic(Music_);
    Music_ = nullptr;
}

bool TSdl_Audio_Backend::Handle_Event(const SDL_Event& event) {
    const Uint32 type = Music_Event_Type.load();
    if (type == 0 || type == No_Event_Type || event.type != type) return false;
    Music_Finished(static_cast<uint32_t>(event.user.code));
    return true;
}

void TSdl_Audio_Backend::Route_Music_Events() {
    const Uint32 type = Music_Event_Type.load();
    if (type == 0 || type == No_Event_Type) return;
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, type, type) > 0) Handle_Event(event);
}

} // namespace plat
