// Sound output: the stand-in for the platform's sound device, plain sound player and media control
// interface. Eleven channels: 0 plays plain sounds (a new one cuts the last), 1..10 are the ring of
// positioned effects. One music file at a time; the end of its play is notified with a generation number
// so that only the end of the music still current counts as finished.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace plat {

// Samples as a sound file holds them: interleaved, little-endian, unsigned 8-bit or signed 16-bit.
struct TPcm_Sound {
    uint16_t Channels = 0;
    uint32_t Samples_Per_Second = 0;
    uint16_t Bits_Per_Sample = 0;
    std::vector<uint8_t> Samples;
};

constexpr int Audio_Plain_Channel = 0;
constexpr int Audio_Channel_Count = 11;

// Volume in hundredths of a decibel (0 full, -10000 silent) as a mixer volume 0..128: 128 x 10^(v/2000),
// rounded; a volume above 0 is full.
int Mixer_Volume(int32_t volume);
// Pan from -10000 (left) to 10000 (right) as the two sides' levels 0..255: the side away from the pan is
// attenuated by |pan| hundredths of a decibel.
struct TMixer_Panning {
    uint8_t Left = 255;
    uint8_t Right = 255;
    bool operator==(const TMixer_Panning&) const = default;
};
TMixer_Panning Mixer_Panning(int32_t pan);

class TAudio_Backend {
public:
    virtual ~TAudio_Backend() = default;

    // Opens the device with its eleven channels; true when it is open (also when it already was).
    virtual bool Open() = 0;
    // Halts and frees every channel's sound and the music, then closes the device.
    virtual void Close() = 0;
    virtual bool Is_Open() const = 0;

    // Halts the channel, frees its sound and gives it these samples converted to the device's format. False,
    // the channel left empty, without a device or when the samples cannot be converted. path: for the record.
    virtual bool Load_Channel(int channel, const TPcm_Sound& sound, const std::string& path) = 0;
    // Halts the channel and frees its sound.
    virtual void Free_Channel(int channel) = 0;
    // Plays the channel's sound once from its start; nothing when it has none.
    virtual void Play_Channel(int channel, int32_t volume, int32_t pan) = 0;
    // Returns when the channel has stopped sounding.
    virtual void Wait_Channel(int channel) = 0;

    // Loads a music file (WAVE or Ogg Vorbis), halting and freeing the music before it; false when it cannot.
    virtual bool Music_Open(const std::string& path) = 0;
    // Plays the music once from its start; its end is notified.
    virtual bool Music_Play() = 0;
    // Halts and frees the music.
    virtual void Music_Close() = 0;

    // The handler of the music's end: successful when the music that ended is still the current one (not
    // stopped, closed or started again since).
    // owner: who set it; only the same owner's clear removes it, so an old sound system going away after
    // a new one took the backend leaves the new one's handler in place.
    using TMusic_Handler = std::function<void(bool successful)>;
    void Set_Music_Handler(TMusic_Handler handler, const void* owner = nullptr) {
        Music_Handler_ = std::move(handler);
        Music_Handler_Owner_ = owner;
    }
    void Clear_Music_Handler(const void* owner) {
        if (owner == Music_Handler_Owner_) Set_Music_Handler(nullptr);
    }
    // Raised by every start, halt and close of the music.
    uint32_t Music_Generation() const { return Music_Generation_.load(); }
    // Delivers the end of the music play of the generation (taken when it ended) to the handler.
    void Music_Finished(uint32_t generation);
    // Delivers the ends reported since the last call, on the thread that owns the window: the device's own
    // thread only queues them. The frame loop calls it once per pass.
    virtual void Route_Music_Events() {}

protected:
    // After the halt that may report the old play's end, before a new play starts.
    void Next_Music_Generation() { ++Music_Generation_; }

private:
    std::atomic<uint32_t> Music_Generation_{0};
    TMusic_Handler Music_Handler_;
    const void* Music_Handler_Owner_ = nullptr;
};

// Headless: records every call as a line and plays nothing. Lines: "open", "close", "load C PATH",
// "free C", "play C VOLUME PAN", "wait C", "music open PATH", "music play", "music close".
class THeadless_Audio_Backend : public TAudio_Backend {
public:
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

    // The sound of a channel (its samples as given), or nothing.
    const TPcm_Sound* Channel_Sound(int channel) const;
    bool Music_Playing() const { return Music_Playing_; }
    // The music's play ends by itself: its end is queued, as the device reports it.
    void Finish_Music();
    // Delivers the queued ends in order, as the frame loop routes the device's reports.
    void Route_Music_Events() override;

    std::vector<std::string> Calls;
    // Runs after each call is recorded, with its line: tests inject notifications in the middle of commands.
    std::function<void(const std::string& call)> On_Call;
    bool Refuse_Open = false;  // no sound device
    bool Refuse_Music = false; // a music file the device cannot load

private:
    void Record(std::string call);
    // Halting a play reports its end, as the mixer does, with the generation of that moment.
    void Halt_Music();
    bool Open_ = false;
    std::vector<uint32_t> Queued_Ends_;
    bool Music_Loaded_ = false;
    bool Music_Playing_ = false;
    std::unique_ptr<TPcm_Sound> Channels_[Audio_Channel_Count];
};

// The backend the program uses: headless unless one was installed (the game installs the real one at
// start-up).
std::shared_ptr<TAudio_Backend> Audio_Backend();
void Install_Audio_Backend(std::shared_ptr<TAudio_Backend> backend);

} // namespace plat
