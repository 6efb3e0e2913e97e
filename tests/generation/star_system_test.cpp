// One star system into an open file set: whole, or not there at all.
#include "generation/star_system.h"

#include <gtest/gtest.h>

#include <array>

#include "common/errors.h"
#include "common/random.h"
#include "sector_fixture.h"

namespace orrimar {
namespace {

using testing::expectSound;
using testing::freshGenerationDir;

using Counts = std::array<std::int64_t, 4>;  // systems, planets, moons, races

Counts countsOf(SectorFiles& files) {
    return {files.systems().count(), files.planets().count(), files.moons().count(), files.aliens().count()};
}

// The first seed whose system puts a native race on a moon-bearing planet
// that is not the system's first: when that race's record cannot be
// written, planets and moons of the system are already in the files.
std::uint64_t seedOfALateRace() {
    auto scratch = SectorFiles::create((freshGenerationDir("late-race-search") / "scratch").string(), "scratch");
    for (std::uint64_t seed = 1; seed < 100000; ++seed) {
        const Counts before = countsOf(*scratch);
        seedRandom(seed);
        GenerateStarSystem(*scratch, false, 0, 0, 0, false, 100);
        if (scratch->aliens().count() == before[3]) continue;
        const TAlienRec race = scratch->aliens().read(before[3]);
        if (race.worldId <= before[1]) continue;
        if (scratch->planets().read(race.worldId).moonCount > 0) return seed;
    }
    return 0;
}

// A system that fails part-way leaves the open file set as it was before
// the system began: the caller may go on with the next system, or close,
// and either way no planet or moon of the failed system stays behind.
TEST(GenerateStarSystem, AFailurePartWayTakesBackEveryRecordOfTheSystem) {
    const std::uint64_t lateRace = seedOfALateRace();
    ASSERT_NE(lateRace, 0U);

    const std::string base = (freshGenerationDir("rollback") / "sector").string();
    auto files = SectorFiles::create(base, "rollback");
    for (std::uint64_t seed = 500; seed < 520; ++seed) {
        seedRandom(seed);
        GenerateStarSystem(*files, false, static_cast<std::int16_t>(seed - 500), 0, 0, false, 100);
    }
    const Counts before = countsOf(*files);
    ASSERT_GT(before[1], 0);

    // The race file refuses the append, as a file closed under the run would.
    files->aliens().close();
    seedRandom(lateRace);
    EXPECT_THROW(GenerateStarSystem(*files, false, 30, 0, 0, false, 100), IoError);

    // Taken back at once, not only when the file set closes.
    EXPECT_EQ(countsOf(*files), before);
    EXPECT_NO_THROW(files->flush());  // at a system boundary again
    files->close();
    EXPECT_EQ(recordCountOnDisk(base + ".sun", sizeof(TSystemRec)), before[0]);
    EXPECT_EQ(recordCountOnDisk(base + ".pln", sizeof(TPlanetRec)), before[1]);
    EXPECT_EQ(recordCountOnDisk(base + ".mon", sizeof(TMoonRec)), before[2]);
    expectSound(base);
}

}  // namespace
}  // namespace orrimar
