// What the square actions need from the generator, which the world model does not see: the trap of a trap
// group, and creatures made from the summoning classes. Both come from data files the generator layer
// reads (the module's trap groups, the summoning monster classes), so that layer installs its
// implementation at start-up; tests install their own. Without one every trap is harmless and every
// summoned class is missing, as when the files lack them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class TDamage;

// The summoning classes of one cast, loaded for as long as the summoner lives.
class TSummoner {
public:
    virtual ~TSummoner() = default;
    // Makes a creature of the summoned class on square x, y of the current map at the level and stores it
    // in the map; its id, 0 when none was made.
    virtual uint16_t Create_Monster(int32_t x, int32_t y, int32_t level) = 0;
};

class TAction_Hooks {
public:
    virtual ~TAction_Hooks() = default;
    // The trap that goes off from the group of that exact name: one of its trap types picked at random and
    // scaled to the level. trap gets its damage range (not rolled) and its on-hit effects. False when there
    // is no such group or it has no trap type.
    virtual bool Pick_Trap(const std::string& group_name, int32_t level, TDamage& trap) = 0;
    // Loads the summoning classes and finds the class of the name (trimmed, lower-cased); null when it is
    // not there.
    virtual std::unique_ptr<TSummoner> Open_Summoner(const std::string& class_name) = 0;
};

// The installed hooks; null when none is installed.
TAction_Hooks* Action_Hooks();
// Null removes them.
void Install_Action_Hooks(std::shared_ptr<TAction_Hooks> hooks);
