// What every body round one star shares while its planets and belts are
// rolled, and the files they are appended to.
#pragma once

#include <cstdint>

#include "generation/physics.h"
#include "records/record_list.h"
#include "records/records.h"

namespace orrimar {

struct StarSurroundings {
    ZoneRadii zones;                  // from the effective luminosity
    float luminosity = 0.0F;          // effective luminosity: the star's light and its companions'
    float starMass = 0.0F;            // solar masses
    std::int32_t systemId = 0;        // the id the system record will get
    bool totalAlienDisable = false;   // handed on to race generation
    std::uint8_t maxSpatialAge = 50;  // handed on to race generation
};

// The lists a body's records go to while its system is built. A body's id
// is the planet list's count when it is rolled; its moons and race precede
// it in theirs.
struct BodyRecords {
    RecordList<TPlanetRec>& planets;
    RecordList<TMoonRec>& moons;
    RecordList<TAlienRec>& aliens;
};

}  // namespace orrimar
