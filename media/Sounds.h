// Sound effects and music for the whole game. Effects play plainly on one channel (a new sound cuts the
// last) or, with the settings' "Use DirectSound", through a ring of ten channels with volume and pan, so
// sounds heard from the map are quieter with distance and walls and placed left or right by direction.
// Music plays once and starts again from its beginning each time its play ends, until it is stopped or
// replaced. Every call reads the gates afresh: the player's options (Play_Sounds, Play_Music) and the
// settings ("Allow Sound", "Allow Music"); effects sound only when both of theirs are on, music likewise.
#pragma once

#include "core/SoundSeam.h"
#include "platform/AudioBackend.h"

#include <cstdint>
#include <memory>
#include <string>

// How a music play ended, as the main window is told.
constexpr uint32_t MCI_NOTIFY_SUCCESSFUL = 0x0001;
constexpr uint32_t MCI_NOTIFY_SUPERSEDED = 0x0002;
constexpr uint32_t MCI_NOTIFY_ABORTED = 0x0004;
constexpr uint32_t MCI_NOTIFY_FAILURE = 0x0008;

constexpr int Sound_Ring_Slots = 10;
// Volumes in hundredths of a decibel: 0 full, -10000 silent.
constexpr int32_t Sound_Volume_Silent = -10000;

// The pan of a sound whose source lies at the bearing (degrees 0..359 clockwise from map north) from the
// listener: 0 at 45 and 225 degrees (straight up and down the screen), +4500 at 135, -4500 at 315.
int32_t Sound_Pan_For_Angle(int32_t angle);

// The sound system: the world model's sound sink, so creatures, actions and quests play through it.
class TSounds final : public TSound_Sink {
public:
    explicit TSounds(std::shared_ptr<plat::TAudio_Backend> backend);
    ~TSounds() override;
    TSounds(const TSounds&) = delete;
    TSounds& operator=(const TSounds&) = delete;

    // Opens the sound device whatever "Use DirectSound" says (plain sounds and music need it too); with it,
    // resets the ring and the music state.
    void Sound_Intialize_Sound_System();
    // With "Use DirectSound" releases the ring; always closes the music and the device.
    void Sound_Free_Sound_System();

    // The usual effect call: through the ring at the default volume with "Use DirectSound", else plainly.
    void Sound_Play(const std::string& file_name) override;
    // Plays the sound file plainly (a new sound cuts the last); not asynchronous: returns when it has ended.
    void Sound_Play_Wave(const std::string& file_name, bool asynchronous);
    // Plays through the next ring slot, cutting whatever that slot still played.
    void Sound_Play_Buffer(const std::string& file_name, int32_t volume, int32_t pan);
    // An effect at the source square heard by the player at the listener square: -100 per square beyond
    // the first, -1500 per square between them that blocks sight, never below silent; panned by direction.
    void Sound_Play_At(const std::string& file_name, int source_x, int source_y, int listener_x,
                       int listener_y) override;

    // Closes the music and opens and plays the music file when music is on; with music off nothing
    // changes (what plays goes on). A missing file leaves no music and no message.
    void Sound_Start_Music(const std::string& file_name);
    void Sound_Stop_Music();
    // The end of a music play: a successful one starts the music again from its beginning; others, and any
    // that arrive while a music command is being issued, are ignored.
    void Sound_Music_Notify(uint32_t notification);

    // Releases the ring's sounds and opens the device; true.
    bool SoundBase_Initialize_DirectSound();
    // Closes the device; true.
    bool SoundBase_Free_DirectSound();
    // Reads the WAVE file into the slot (0 plain, 1..10 ring); false, the slot left empty and silent, when
    // the file cannot be read, is not 8- or 16-bit PCM, or the device cannot take it.
    bool Load_Wave_Buffer(const std::string& path, int slot);

    int Ring_Position() const { return Ring_Position_; }
    int32_t Default_Volume() const { return Default_Volume_; }
    uint32_t Music_Device() const { return Music_Device_; }
    bool Music_Busy() const { return Music_Busy_ != 0; }

private:
    void Close_Music_Device();
    std::shared_ptr<plat::TAudio_Backend> Backend_;
    int Ring_Position_ = 0;
    int32_t Default_Volume_ = 0;
    uint32_t Music_Device_ = 0; // 0: no music open
    uint32_t Last_Device_ = 0;
    uint8_t Music_Busy_ = 0;
};

// The one sound system: created on the installed audio backend at its first use and made the world model's
// sound sink. Installing another (tests, start-up) replaces it and the sink; null removes both.
TSounds& Sounds();
// Whether the sound system exists, without creating it (shut-down frees only what start-up made).
bool Sounds_Installed();
void Install_Sounds(std::shared_ptr<TSounds> sounds);
