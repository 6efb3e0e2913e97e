// Seeded sectors made through the real sector loop, and their records read
// back whole, for the tests of planets, belts and moons.
#pragma once

#include <filesystem>
#include "support/test_dir.h"
#include "support/file_text.h"
#include "support/record_bytes.h"
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generation/create_sector.h"
#include "records/record_file.h"
#include "records/records.h"
#include "support/sector_maker.h"
#include "tools/sector_check.h"

namespace orrimar::testing {

namespace fs = std::filesystem;

inline fs::path freshGenerationDir(const std::string& name) { return freshTestDir("generation/" + name); }

inline std::string bytesOfMoon(const TMoonRec& m) { return bytesOf(m); }

// Every sector a test makes must be whole.
inline void expectSound(const std::string& base) {
    const SectorCheckReport report = CheckSector(base);
    EXPECT_TRUE(report.sound()) << base << ": " << report.problemCount << " problems, first: "
                                << (report.problems.empty() ? std::string() : report.problems.front());
}

// A seeded sector of size^3 cells, checked whole.
inline CreateSectorResult makeSector(const std::string& base, std::uint64_t seed, int size, int density,
                                     bool newFile = true, std::int16_t x = 0) {
    SeededSector order;
    order.seed = seed;
    order.lastIndex = size - 1;
    order.density = density;
    order.newFile = newFile;
    order.x = x;
    const CreateSectorResult result = makeSector(base, order);
    expectSound(base);
    return result;
}

struct Sector {
    std::vector<TSystemRec> systems;
    std::vector<TPlanetRec> planets;
    std::vector<TMoonRec> moons;
    std::vector<TAlienRec> races;
};

inline Sector readSector(const std::string& base) {
    return {readAll<TSystemRec>(base + ".sun"), readAll<TPlanetRec>(base + ".pln"), readAll<TMoonRec>(base + ".mon"),
            readAll<TAlienRec>(base + ".aln")};
}

// One large seeded sector shared by the distribution tests of a suite.
inline const Sector& sharedSector() {
    static const Sector sector = [] {
        const std::string base = (freshGenerationDir("shared") / "shared").string();
        makeSector(base, 20240601, 30, 40);
        return readSector(base);
    }();
    return sector;
}

}  // namespace orrimar::testing
