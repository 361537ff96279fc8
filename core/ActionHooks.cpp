#include "core/ActionHooks.h"

namespace {
std::shared_ptr<TAction_Hooks> Installed_Hooks;
}

TAction_Hooks* Action_Hooks() {
    return Installed_Hooks.get();
}

void Install_Action_Hooks(std::shared_ptr<TAction_Hooks> hooks) {
    Installed_Hooks = std::move(hooks);
}
