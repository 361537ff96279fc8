// How the world model tells the module's story about a deed. A creature with an event id that dies is
// reported here; the module installs its event list behind it. A handler may change quests, experience and
// the queue of results the game screen takes after the action, never creatures or sprites: the report
// comes from inside a death, while the tick that caused it is still walking the creature and sprite lists.
// Without a handler nothing happens. Tests install the recorder.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace World_Events {

class THandler {
public:
    virtual ~THandler() = default;
    virtual void Monster_Killed(int32_t event_id) = 0;
};

// Null removes the handler.
void Install(std::shared_ptr<THandler> handler);

// A creature carrying the event id has died.
void Monster_Killed(int32_t event_id);

} // namespace World_Events

class TRecording_World_Events : public World_Events::THandler {
public:
    void Monster_Killed(int32_t event_id) override { Killed_Event_Ids.push_back(event_id); }
    std::vector<int32_t> Killed_Event_Ids;
};
