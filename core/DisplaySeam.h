// How the world model asks the display for pictures the current map's sheets do not hold yet: creatures
// summoned during play bring their pictures to the monster sheet. The display layer installs its own
// sink; without one nothing is loaded and every picture answers "no cell". Tests install the recorder.
#pragma once

#include "core/SaveStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TDisplay_Sink {
public:
    virtual ~TDisplay_Sink() = default;
    // Loads the pictures into the monster sheet after its cells; a name the sheet holds is not loaded again.
    virtual void Append_Monster_Pictures(const TString_List& names) = 0;
    // The 0-based cell of the picture in the monster sheet; -1 when the sheet does not hold it.
    virtual int32_t Monster_Picture_Cell(const std::string& name) const = 0;
};

class TNo_Display_Sink : public TDisplay_Sink {
public:
    void Append_Monster_Pictures(const TString_List&) override {}
    int32_t Monster_Picture_Cell(const std::string&) const override { return -1; }
};

// Keeps the monster sheet as a list of names (each once, in the order they came) and records every call.
class TRecording_Display_Sink : public TDisplay_Sink {
public:
    void Append_Monster_Pictures(const TString_List& names) override {
        for (const std::string& name : names) {
            Appended.push_back(name);
            if (Monster_Picture_Cell(name) < 0) Monster_Sheet.push_back(name);
        }
    }
    int32_t Monster_Picture_Cell(const std::string& name) const override {
        for (std::size_t cell = 0; cell < Monster_Sheet.size(); ++cell)
            if (Monster_Sheet[cell] == name) return static_cast<int32_t>(cell);
        return -1;
    }
    std::vector<std::string> Monster_Sheet; // the sheet's names; cell = position
    std::vector<std::string> Appended;      // every name appended, in call order
};

// The sink in use (TNo_Display_Sink unless one was installed).
TDisplay_Sink& Display_Sink();
void Install_Display_Sink(std::shared_ptr<TDisplay_Sink> sink);
