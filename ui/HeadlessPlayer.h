// A scripted player's longer moves, for the headless game's scripts: walking across a map to a creature,
// a chest, an item, a connection or a square, acting on it, and fighting a creature to the end. Every move
// is made of the clicks a player would give on the game screen (a left click on a square of the view walks
// there, a right click acts on it); only the route across the map is planned here, over the terrain, and
// the game's own path finding walks each leg of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class HeadlessGame;

struct TPlay_Target {
    enum TKind { Creature, Chest, Item, Entrance, Square };
    TKind Kind = Square;
    std::string Name; // a creature's or an item's name
    int32_t X = 0, Y = 0;
    int32_t Number = 0; // the connection of the current map; 0: the nearest entrance square of any
};

// "creature NAME...", "item NAME...", "chest", "entrance [N]" or "square X Y"; false for anything else.
bool Parse_Play_Target(const std::vector<std::string>& words, TPlay_Target& target);

class THeadless_Player {
public:
    explicit THeadless_Player(HeadlessGame& game) : Game_(game) {}

    // Walks until the player stands beside the target (on it for a connection or a square; stepping onto a
    // connection's entrance changes the map, which ends the walk). Closed doors on the way are opened and
    // hostile creatures that stand beside the player are fought first. Also true when the player died on
    // the way (the script goes on and shows the death).
    bool Approach(const TPlay_Target& target, std::string& error);
    // A right click on the target's square while it is in the view, then the game runs a moment.
    bool Act(const TPlay_Target& target, std::string& error);
    // Approaches the creature and attacks it until it or the player dies.
    bool Fight(const TPlay_Target& target, std::string& error);

private:
    // The square of the target on the current map (the nearest one of several); false when there is none.
    bool Locate(const TPlay_Target& target, int32_t& x, int32_t& y) const;
    // A hostile creature beside the player is attacked until it dies; true when one was fought.
    bool Fight_Neighbour();
    // Right clicks on the square until the creature there is gone or the player is dead.
    void Attack_Until_Gone(int32_t x, int32_t y, uint16_t id);
    bool Click_Square(int32_t x, int32_t y, int32_t button);
    // Runs the game until the player's walk ended (at most ms).
    void Run_Walk(int64_t ms);
    bool Player_Alive() const;

    HeadlessGame& Game_;
};
