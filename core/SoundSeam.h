// How the world model asks for a sound: by file name (a name from data, resolved by the sound layer
// through the path settings), either plainly or heard from a map square by the player at another square.
// The sound layer installs its own sink; without one nothing plays. Tests install the recorder.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TSound_Sink {
public:
    virtual ~TSound_Sink() = default;
    virtual void Sound_Play(const std::string& file_name) = 0;
    // Every signature in the program puts x before y.
    virtual void Sound_Play_At(const std::string& file_name, int source_x, int source_y, int listener_x,
                               int listener_y) = 0;
};

class TSilent_Sound_Sink : public TSound_Sink {
public:
    void Sound_Play(const std::string&) override {}
    void Sound_Play_At(const std::string&, int, int, int, int) override {}
};

class TRecording_Sound_Sink : public TSound_Sink {
public:
    struct TPlayed {
        std::string File_Name;
        bool Positioned = false;
        int Source_X = 0, Source_Y = 0, Listener_X = 0, Listener_Y = 0;
    };
    void Sound_Play(const std::string& file_name) override { Played.push_back({file_name}); }
    void Sound_Play_At(const std::string& file_name, int source_x, int source_y, int listener_x,
                       int listener_y) override {
        Played.push_back({file_name, true, source_x, source_y, listener_x, listener_y});
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const TPlayed& p : Played) names.push_back(p.File_Name);
        return names;
    }
    std::vector<TPlayed> Played;
};

TSound_Sink& Sound_Sink();
void Install_Sound_Sink(std::shared_ptr<TSound_Sink> sink);

inline void Sound_Play(const std::string& file_name) {
    Sound_Sink().Sound_Play(file_name);
}
inline void Sound_Play_At(const std::string& file_name, int source_x, int source_y, int listener_x,
                          int listener_y) {
    Sound_Sink().Sound_Play_At(file_name, source_x, source_y, listener_x, listener_y);
}
