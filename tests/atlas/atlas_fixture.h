// Seeded sectors for the atlas tests, and the brute-force answers the
// atlas's indexed and summarised answers are checked against.
#pragma once

#include <string>
#include <vector>

#include "test_tmp.h"

#include "atlas/atlas_model.h"
#include "generation/create_sector.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar::atlastest {

// A generated sector of (lastIndex + 1)^3 cells at `density` percent, its
// corner at (x0, y0, z0); the base name of its files.
inline std::string makeSector(const std::string& dirName, std::uint64_t seed, int lastIndex, int density,
                              std::int16_t x0 = 0, std::int16_t y0 = 0, std::int16_t z0 = 0) {
    const auto dir = testing::freshTestDir(dirName);
    CreateSectorParams p;
    p.baseName = (dir / "sector").string();
    p.sectorName = "Test Reach";
    p.seed = seed;
    p.lastIndex = lastIndex;
    p.density = static_cast<std::uint8_t>(density);
    p.x = x0;
    p.y = y0;
    p.z = z0;
    p.settingsPath = (dir / "none.ini").string();  // absent: the default tables
    CreateSector(p);
    return p.baseName;
}

template <typename T>
std::vector<T> readAll(const std::string& path) {
    RecordReader<T> reader(path, IfMissing::Empty);
    std::vector<T> all;
    reader.forEach([&](std::int64_t, const T& r) { all.push_back(r); });
    return all;
}

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
