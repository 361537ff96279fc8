// The generator's side of the square actions: traps from the module's trap groups file and creatures from
// the summoning monster classes file, each read for one trap or one cast and freed again. The game installs
// them at start-up with the other generator tables.
#pragma once

#include "core/ActionHooks.h"

class TGenerator_Action_Hooks : public TAction_Hooks {
public:
    bool Pick_Trap(const std::string& group_name, int32_t level, TDamage& trap) override;
    std::unique_ptr<TSummoner> Open_Summoner(const std::string& class_name) override;
};

// Installs a TGenerator_Action_Hooks as the action hooks.
void Install_Generator_Action_Hooks();
