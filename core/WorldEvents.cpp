#include "core/WorldEvents.h"

namespace {
std::shared_ptr<World_Events::THandler> Installed_Handler;
}

namespace World_Events {

void Install(std::shared_ptr<THandler> handler) {
    Installed_Handler = std::move(handler);
}

void Monster_Killed(int32_t event_id) {
    // A copy keeps the handler alive should it replace itself while it runs.
    if (const std::shared_ptr<THandler> handler = Installed_Handler) handler->Monster_Killed(event_id);
}

} // namespace World_Events
