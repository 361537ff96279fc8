// A control that writes every handler call it gets into a journal shared by a whole test tree, owns the
// children it makes and frees a killed child when told, as every parent of closing controls does.
#pragma once

#include "ui/DisplayClass.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using TJournal = std::vector<std::string>;

class TProbe : public TDisplay_Class {
public:
    TProbe(TJournal& journal, const std::string& name, int32_t left, int32_t top, int32_t width,
           int32_t height, bool modal = false)
        : Journal(journal) {
        Set_Position(name, left, top, width, height, modal);
        Set_Visible(true);
    }

    // A child of this control, owned by it.
    TProbe& Make(const std::string& name, int32_t left, int32_t top, int32_t width, int32_t height,
                 bool modal = false) {
        Owned.push_back(std::make_unique<TProbe>(Journal, name, left, top, width, height, modal));
        Add_Child_Control(Owned.back().get());
        return *Owned.back();
    }
    // Frees the owned child of that name that has closed; false when there is none.
    bool Free_Killed(const std::string& name) {
        const auto it = std::find_if(Owned.begin(), Owned.end(),
                                     [&](const auto& c) { return c->Name == name && c->Kill; });
        if (it == Owned.end()) return false;
        Owned.erase(it);
        return true;
    }
    bool Owns(const TDisplay_Class* control) const {
        return std::any_of(Owned.begin(), Owned.end(), [&](const auto& c) { return c.get() == control; });
    }
    // The names of the children in array order.
    std::vector<std::string> Child_Names() const {
        std::vector<std::string> names;
        for (int32_t n = 1; n <= Child_Count(); ++n) names.push_back(Child(n)->Name);
        return names;
    }

    void Kill_Child_Control(const std::string& name) override {
        Journal.push_back(Name + " told " + name);
        if (On_Killed)
            On_Killed(name);
        else
            Free_Killed(name);
    }
    void Handle_MouseMove(int32_t, int32_t, int32_t) override { Journal.push_back(Name + " move"); }
    void Handle_MouseDown(int32_t, int32_t, int32_t, int32_t) override {
        Journal.push_back(Name + " down");
        if (On_Down) On_Down();
    }
    void Handle_MouseUp(int32_t, int32_t, int32_t, int32_t, bool outside) override {
        Journal.push_back(Name + (outside ? " up out" : " up in"));
        if (On_Up) On_Up(outside);
    }
    void Handle_KeyDown(uint16_t& key, int32_t) override {
        Journal.push_back(Name + " key " + std::to_string(key));
        if (On_Key) On_Key(key);
    }
    void Handle_DrawPage(int32_t) override {
        Journal.push_back(Name + " draw");
        if (On_Draw) On_Draw();
    }
    void Reposition() override {
        for (auto& child : Owned)
            if (child->Follows_Parent)
                child->Set_Position(child->Name, Left + child->Offset_X, Top + child->Offset_Y, child->Width,
                                    child->Height, child->Modal);
    }

    TJournal& Journal;
    std::vector<std::unique_ptr<TProbe>> Owned;
    std::function<void(const std::string&)> On_Killed; // instead of Free_Killed
    std::function<void()> On_Down, On_Draw;
    std::function<void(bool)> On_Up;
    std::function<void(uint16_t&)> On_Key;
    // Placed by the parent's Reposition at this offset from the parent's corner.
    bool Follows_Parent = false;
    int32_t Offset_X = 0, Offset_Y = 0;
};

// The journal's lines since the last look.
inline TJournal Take(TJournal& journal) {
    TJournal lines;
    lines.swap(journal);
    return lines;
}
