// The lines of a system log that describe one star, planet, belt or moon:
// every field of its record, named and with its unit, plus the figures that
// follow from them (mass, gravity, escape velocity, year).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "documents/document.h"
#include "records/records.h"

namespace orrimar::logs {

// What a body's lines need beyond its own record.
struct BodyContext {
    std::int64_t id = 0;               // record id in its file
    float starMass = 0.0F;             // solar masses; 0 or less = no year length
    float effectiveLuminosity = 0.0F;  // for the day-night swing
    // The native race in brief, when feature byte 3 bit 3 is set.
    std::optional<std::string> nativeRace;
    // The colonising race as the sector names it ("Vessane (race 4)"), when
    // the planet is colonised and the caller knows the names.
    std::optional<std::string> colonisingRace;
};

documents::KeyValues starDetails(const TSystemRec& system, int star);
documents::KeyValues planetDetails(const TPlanetRec& planet, const BodyContext& context);
documents::KeyValues beltDetails(const TPlanetRec& belt, const BodyContext& context);
// `twin`: the moon is its planet's twin (the planet's twin feature bits).
documents::KeyValues moonDetails(const TMoonRec& moon, std::int64_t moonId, bool twin);

// One line about a race: "Race 4: Humanoid, Carbon-based, living on land;
// development level 7, spatial age 40, 80 kg, 170 cm tall".
std::string raceBrief(const TAlienRec& race, std::int64_t raceId);

// Star letter A, B, C of star 1..3.
char starLetter(int star);

// "Terran planet", "Stony asteroid belt", "Gas Giant"...
std::string bodyTitle(const TPlanetRec& planet);

}  // namespace orrimar::logs
