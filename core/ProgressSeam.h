// How long work of the world model (saving and loading a game, creating a module) shows how far it has
// come: the game screen opens its progress box, the work sets its caption and percent, and every percent
// set draws a whole frame before the work goes on. The screen installs its own sink; without one nothing
// is shown. Tests install the recorder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TProgress_Sink {
public:
    virtual ~TProgress_Sink() = default;
    // Opens the progress box with the caption at 0 %.
    virtual void Open_Progress(const std::string& caption) = 0;
    // Replaces the caption of the open box; nothing is drawn until the next percent.
    virtual void Set_Progress_Caption(const std::string& caption) = 0;
    // The percent, held to 0..100 by the box, then one frame.
    virtual void Set_Progress(int32_t percent) = 0;
    virtual void Close_Progress() = 0;
};

class TNo_Progress_Sink : public TProgress_Sink {
public:
    void Open_Progress(const std::string&) override {}
    void Set_Progress_Caption(const std::string&) override {}
    void Set_Progress(int32_t) override {}
    void Close_Progress() override {}
};

// Every call in order, as "open <caption>", "caption <caption>", "<percent>" and "close".
class TRecording_Progress_Sink : public TProgress_Sink {
public:
    void Open_Progress(const std::string& caption) override { Calls.push_back("open " + caption); }
    void Set_Progress_Caption(const std::string& caption) override { Calls.push_back("caption " + caption); }
    void Set_Progress(int32_t percent) override {
        Calls.push_back(std::to_string(percent));
        Percents.push_back(percent);
    }
    void Close_Progress() override { Calls.push_back("close"); }
    std::vector<std::string> Calls;
    std::vector<int32_t> Percents; // the percents alone
};

// The sink in use (TNo_Progress_Sink unless one was installed).
TProgress_Sink& Progress_Sink();
void Install_Progress_Sink(std::shared_ptr<TProgress_Sink> sink);
