// What saving, loading and module creation ask of the display object: the flag that keeps the frame from
// drawing the item held at the mouse pointer while a progress box is up, and the building of a map's
// picture sheets once a map has been loaded. The display layer installs its own sink; without one the flag
// goes nowhere and every map's sheets count as built. Tests install the recorder.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TMap;

class TDisplay_Flag_Sink {
public:
    virtual ~TDisplay_Flag_Sink() = default;
    virtual void Set_Hide_Held_Item(bool hide) = 0;
    // Rebuilds the terrain, creature and item sheets for the map; true when every picture loaded.
    virtual bool Load_Map_Bitmaps(TMap& map) = 0;
};

class TNo_Display_Flag_Sink : public TDisplay_Flag_Sink {
public:
    void Set_Hide_Held_Item(bool) override {}
    bool Load_Map_Bitmaps(TMap&) override { return true; }
};

// Every call in order, as "hide", "show" and "bitmaps <map file name>"; Load_Map_Bitmaps answers Answer.
class TRecording_Display_Flag_Sink : public TDisplay_Flag_Sink {
public:
    void Set_Hide_Held_Item(bool hide) override { Calls.push_back(hide ? "hide" : "show"); }
    bool Load_Map_Bitmaps(TMap& map) override;
    std::vector<std::string> Calls;
    bool Answer = true;
};

// The sink in use (TNo_Display_Flag_Sink unless one was installed).
TDisplay_Flag_Sink& Display_Flag_Sink();
void Install_Display_Flag_Sink(std::shared_ptr<TDisplay_Flag_Sink> sink);

// Hides the held item for the life of the object, shows it again however the scope is left.
class THide_Held_Item_Scope {
public:
    THide_Held_Item_Scope() { Display_Flag_Sink().Set_Hide_Held_Item(true); }
    ~THide_Held_Item_Scope() { Display_Flag_Sink().Set_Hide_Held_Item(false); }
    THide_Held_Item_Scope(const THide_Held_Item_Scope&) = delete;
    THide_Held_Item_Scope& operator=(const THide_Held_Item_Scope&) = delete;
};
