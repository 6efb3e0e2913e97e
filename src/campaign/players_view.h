// What the players know of a sector. Every system, race, colony and empire
// is known to them or not:
//
// - a system is known unless the game master hid it;
// - a race is known when it lives (its home world, or a colony of its
//   people) in a known system that holds a colony of any race: where there
//   are colonies there is traffic, and the players have met who lives there;
// - colonies and empires are unknown until revealed.
//
// The game master's mark (reveal or hide) on a thing overrides its default;
// forgetting the mark returns it to the default. Planets and moons are
// known with their system (which their records name).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "campaign/things.h"

namespace orrimar {

// Who reads what a front end writes about the sector: the game master sees
// everything; players see only what their characters could, in words and
// figures (no record codes or ids), and nothing the game master keeps from
// them (unknown things, secret notes).
enum class Audience : std::uint8_t { GameMaster, Players };

// The whole sector at once, one bit per thing, for front ends that show or
// export the players' view.
class PlayersView {
public:
    // A system, race, colony or empire the sector holds; the sector itself
    // is known. False for an id the sector does not hold, and for planets
    // and moons (ask for their system).
    bool knows(const Thing& thing) const;
    const std::vector<bool>& systems() const { return systems_; }
    const std::vector<bool>& races() const { return races_; }
    const std::vector<bool>& colonies() const { return colonies_; }
    const std::vector<bool>& empires() const { return empires_; }

private:
    friend PlayersView playersView(const std::string& baseName);
    std::vector<bool> systems_;
    std::vector<bool> races_;
    std::vector<bool> colonies_;
    std::vector<bool> empires_;
};

// Computed in one pass over the sector's colonies and, when some colony
// lies in a known system, its races (with their home planets); the system,
// planet and moon files are only counted. Takes the sector's lock for
// reading.
PlayersView playersView(const std::string& baseName);

// One thing's state; the same answer as playersView(...).knows(thing).
// InputError naming the id and its file for a thing the sector does not hold.
bool isKnown(const std::string& baseName, const Thing& thing);

enum class PlayersMark {
    Known,    // revealed to the players
    Unknown,  // hidden from them
    Default,  // no mark: the default above
};

// Marks many things at once, in one transaction: all of them, or (on any
// refusal) none. Only systems, races, colonies and empires are marked;
// InputError naming the first thing that is of another kind or not held by
// the sector.
void markForPlayers(const std::string& baseName, std::span<const Thing> things, PlayersMark mark);

}  // namespace orrimar
