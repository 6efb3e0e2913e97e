// Seeded sectors for the atlas tests, and the brute-force answers the
// atlas's indexed and summarised answers are checked against.
#pragma once

#include <string>
#include <vector>

#include "support/test_dir.h"

#include "atlas/atlas_model.h"
#include "generation/create_sector.h"
#include "support/record_bytes.h"
#include "support/sector_maker.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar::atlastest {

// A generated sector of (lastIndex + 1)^3 cells at `density` percent, its
// corner at (x0, y0, z0); the base name of its files.
inline std::string makeSector(const std::string& dirName, std::uint64_t seed, int lastIndex, int density,
                              std::int16_t x0 = 0, std::int16_t y0 = 0, std::int16_t z0 = 0) {
    testing::SeededSector order;
    order.seed = seed;
    order.lastIndex = lastIndex;
    order.density = density;
    order.x = x0;
    order.y = y0;
    order.z = z0;
    order.name = "Test Reach";
    const std::string base = (testing::freshTestDir(dirName) / "sector").string();
    testing::makeSector(base, order);
    return base;
}

using testing::readAll;

// Planets grouped by their system id.
inline std::vector<std::vector<TPlanetRec>> planetsBySystem(const std::string& base, std::size_t systems) {
    std::vector<std::vector<TPlanetRec>> by(systems);
    for (const TPlanetRec& p : readAll<TPlanetRec>(sectorPath(base, ".pln"))) {
        if (p.systemId >= 0 && static_cast<std::size_t>(p.systemId) < systems)
            by[static_cast<std::size_t>(p.systemId)].push_back(p);
    }
    return by;
}

// An in-memory model from bare cells.
inline atlas::AtlasModel modelOf(const std::vector<std::array<int, 3>>& cells) {
    std::vector<atlas::SystemEntry> entries;
    for (const auto& c : cells) {
        atlas::SystemEntry e;
        e.x = static_cast<std::int16_t>(c[0]);
        e.y = static_cast<std::int16_t>(c[1]);
        e.z = static_cast<std::int16_t>(c[2]);
        e.starKind = 5;
        e.starCount = 1;
        entries.push_back(e);
    }
    return atlas::AtlasModel::fromEntries(std::move(entries));
}

}  // namespace orrimar::atlastest
