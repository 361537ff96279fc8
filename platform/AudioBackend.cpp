#include "platform/AudioBackend.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

std::shared_ptr<TAudio_Backend> Installed_Backend;

// Hundredths of a decibel as an amplitude factor: -2000 is a tenth.
double Amplitude(int32_t hundredths_db) {
    return std::pow(10.0, hundredths_db / 2000.0);
}

bool Valid_Channel(int channel) {
    return channel >= 0 && channel < Audio_Channel_Count;
}

} // namespace

int Mixer_Volume(int32_t volume) {
    return static_cast<int>(std::lround(128.0 * Amplitude(std::min(volume, 0))));
}

TMixer_Panning Mixer_Panning(int32_t pan) {
    TMixer_Panning p;
    p.Left = static_cast<uint8_t>(std::lround(255.0 * Amplitude(-std::max(pan, 0))));
    p.Right = static_cast<uint8_t>(std::lround(255.0 * Amplitude(std::min(pan, 0))));
    return p;
}

void TAudio_Backend::Music_Finished(uint32_t generation) {
    if (Music_Handler_) Music_Handler_(generation == Music_Generation());
}

void THeadless_Audio_Backend::Record(std::string call) {
    Calls.push_back(call);
    if (On_Call) On_Call(call);
}

bool THeadless_Audio_Backend::Open() {
    if (Open_) return true;
    if (Refuse_Open) return false;
    Open_ = true;
    Record("open");
    return true;
}

void THeadless_Audio_Backend::Close() {
    if (!Open_) return;
    Music_Close();
    for (auto& sound : Channels_) sound.reset();
    Open_ = false;
    Record("close");
}

bool THeadless_Audio_Backend::Load_Channel(int channel, const TPcm_Sound& sound, const std::string& path) {
    if (!Open_ || !Valid_Channel(channel)) return false;
    Channels_[channel] = std::make_unique<TPcm_Sound>(sound);
    Record("load " + std::to_string(channel) + " " + path);
    return true;
}

void THeadless_Audio_Backend::Free_Channel(int channel) {
    if (!Open_ || !Valid_Channel(channel)) return;
    Channels_[channel].reset();
    Record("free " + std::to_string(channel));
}

void THeadless_Audio_Backend::Play_Channel(int channel, int32_t volume, int32_t pan) {
    if (!Open_ || !Valid_Channel(channel) || !Channels_[channel]) return;
    Record("play " + std::to_string(channel) + " " + std::to_string(volume) + " " + std::to_string(pan));
}

void THeadless_Audio_Backend::Wait_Channel(int channel) {
    if (!Open_ || !Valid_Channel(channel)) return;
    Record("wait " + std::to_string(channel));
}

void THeadless_Audio_Backend::Halt_Music() {
    if (Music_Playing_) Queued_Ends_.push_back(Music_Generation());
    Music_Playing_ = false;
}

bool THeadless_Audio_Backend::Music_Open(const std::string& path) {
    if (!Open_) return false;
    Music_Close();
    Music_Loaded_ = !Refuse_Music;
    Record("music open " + path);
    return Music_Loaded_;
}

bool THeadless_Audio_Backend::Music_Play() {
    if (!Open_ || !Music_Loaded_) return false;
    Halt_Music();
    Next_Music_Generation();
    Music_Playing_ = true;
    Record("music play");
    return true;
}

void THeadless_Audio_Backend::Music_Close() {
    if (!Open_) return;
    Halt_Music();
    Next_Music_Generation();
    if (!Music_Loaded_) return;
    Music_Loaded_ = false;
    Record("music close");
}

void THeadless_Audio_Backend::Finish_Music() {
    if (!Music_Playing_) return;
    Music_Playing_ = false;
    Queued_Ends_.push_back(Music_Generation());
}

void THeadless_Audio_Backend::Route_Music_Events() {
    // Taken out first: routing an end may start the music again and queue more.
    std::vector<uint32_t> ends;
    ends.swap(Queued_Ends_);
    for (const uint32_t generation : ends) Music_Finished(generation);
}

const TPcm_Sound* THeadless_Audio_Backend::Channel_Sound(int channel) const {
    return Valid_Channel(channel) ? Channels_[channel].get() : nullptr;
}

std::shared_ptr<TAudio_Backend> Audio_Backend() {
    if (!Installed_Backend) Installed_Backend = std::make_shared<THeadless_Audio_Backend>();
    return Installed_Backend;
}

void Install_Audio_Backend(std::shared_ptr<TAudio_Backend> backend) {
    Installed_Backend = std::move(backend);
}

} // namespace plat
